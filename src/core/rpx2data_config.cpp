#include "rpx2data.h"

#include <QSqlQuery>

std::optional<QString> TRpx2Data::ConfigRow(const QString &key)
{
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT ConfigValue FROM t_config_01 WHERE ConfigKey = ?"), { key });
    if (!query.next())
        return std::nullopt;
    return query.value(0).isNull() ? QString() : query.value(0).toString();
}

void TRpx2Data::SetConfigValue(const QString &key, const QString &value)
{
    WriteTransaction transaction(*this);
    const int changed = ExecuteCommand(
        QStringLiteral("UPDATE t_config_01 SET ConfigValue = ? WHERE ConfigKey = ?"),
        { value, key });
    if (changed == 0)
        ExecuteCommand(
            QStringLiteral("INSERT INTO t_config_01 (ConfigKey, ConfigValue) VALUES (?, ?)"),
            { key, value });
    transaction.commit();
}
