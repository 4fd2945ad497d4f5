#include "rpx2data.h"

#include <QSqlQuery>

std::optional<QString> TRpx2Data::ConfigRow(const QString &key)
{
    Rows rows
        = read(QStringLiteral("SELECT ConfigValue FROM t_config_01 WHERE ConfigKey = ?"), { key });
    if (!rows.next())
        return std::nullopt;
    const QVariant value = rows.value(0);
    return value.isNull() ? QString() : value.toString();
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
