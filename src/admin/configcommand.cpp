#include "configcommand.h"

#include "apppaths.h"
#include "config.h"
#include "ordernumbering.h"
#include "rpxerror.h"
#include "usageerror.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <climits>
#include <cmath>
#include <optional>

namespace {

constexpr int AgreementLimit = 6 * 255; // six pieces of 255 characters
constexpr int NoWidth = INT_MIN;

const QStringList &userValues()
{
    static const QStringList names
        = {QStringLiteral("LogoFileName"), QStringLiteral("DBFileName"),
           QStringLiteral("OrderAgeFilter"), QStringLiteral("SummaryFilePath")};
    return names;
}

struct ColumnKey
{
    QString grid;
    int column = 0;
};

QString columnKeyName(const CConfig::GridColumns &grid, int column)
{
    return QStringLiteral("CW") + QLatin1String(grid.grid) + QString::number(column);
}

// "CWOrderList1" -> grid "OrderList", column 1; only the columns the program keeps.
std::optional<ColumnKey> columnKey(const QString &name)
{
    for (const CConfig::GridColumns &grid : CConfig::columnWidthGrids()) {
        for (int column = 0; column < grid.columns; ++column) {
            if (name == columnKeyName(grid, column))
                return ColumnKey { QLatin1String(grid.grid), column };
        }
    }
    return std::nullopt;
}

// Whole numbers some settings must keep to; the rest take any 32-bit value.
std::pair<int, int> integerRange(const QString &name)
{
    if (name == QLatin1String("MaxOrderID"))
        return {0, OrderNumbering::MaxCounter};
    if (name == QLatin1String("TSAgreement"))
        return {1, 72};
    if (name == QLatin1String("DaysToDeadline"))
        return {0, 3650};
    if (name == QLatin1String("OrderAgeFilter"))
        return {0, 5}; // index of the list's age choice
    if (name.startsWith(QLatin1String("CW")))
        return {0, 10000};
    return {INT_MIN, INT_MAX};
}

bool parseFlag(const QString &name, const QString &value)
{
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("yes"))
        return true;
    if (v == QLatin1String("0") || v == QLatin1String("false") || v == QLatin1String("no"))
        return false;
    throw UsageError(
        QStringLiteral("%1 is a flag: use 1/0, true/false or yes/no, not \"%2\"").arg(name, value),
        false);
}

int parseInteger(const QString &name, const QString &value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    if (!ok)
        throw UsageError(QStringLiteral("%1 is a whole number, not \"%2\"").arg(name, value),
                         false);
    const auto [low, high] = integerRange(name);
    if (number < low || number > high)
        throw UsageError(QStringLiteral("%1 must lie between %2 and %3, not %4")
                             .arg(name)
                             .arg(low)
                             .arg(high)
                             .arg(number),
                         false);
    return number;
}

double parseReal(const QString &name, const QString &value)
{
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok); // "." only, whatever the locale
    if (!ok || !std::isfinite(number))
        throw UsageError(QStringLiteral("%1 is a number with \".\" as the decimal separator, not "
                                        "\"%2\"")
                             .arg(name, value),
                         false);
    // Prices are divided and multiplied by the rate: a tiny rate makes them infinite.
    if (name == QLatin1String("ExchangeRate") && !CConfig::IsExchangeRate(number))
        throw UsageError(QStringLiteral("ExchangeRate must be at least %1 and less than %2, not "
                                        "\"%3\"")
                             .arg(QString::number(CConfig::MinExchangeRate),
                                  QString::number(CConfig::MaxExchangeRate, 'f', 0), value),
                         false);
    return number;
}

QString flagText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

const CConfig::KeyInfo &keyInfo(const QString &name)
{
    const CConfig::KeyInfo *info = CConfig::findKey(name);
    if (!info)
        throw UsageError(
            QStringLiteral("unknown setting \"%1\" (\"config list\" shows them all)").arg(name),
            false);
    return *info;
}

} // namespace

bool ConfigCommand::isKnown(const QString &name)
{
    return CConfig::findKey(name) || isUserValue(name) || columnKey(name).has_value();
}

bool ConfigCommand::isUserValue(const QString &name)
{
    return userValues().contains(name);
}

QString ConfigCommand::get(const QString &name)
{
    if (name == QLatin1String("LogoFileName"))
        return m_config.GetLogoFileName();
    if (name == QLatin1String("DBFileName"))
        return m_config.GetDBFileName();
    if (name == QLatin1String("OrderAgeFilter"))
        return QString::number(m_config.GetOrderAgeFilter());
    if (name == QLatin1String("SummaryFilePath"))
        return m_config.GetSummaryFilePath();
    if (const auto column = columnKey(name)) {
        const int width = m_config.GetColumnWidth(column->grid, column->column, NoWidth);
        return width == NoWidth ? QString() : QString::number(width);
    }

    const CConfig::KeyInfo &info = keyInfo(name);
    switch (info.type) {
    case CConfig::Type::Flag:
        return flagText(m_config.getFlag(info.name));
    case CConfig::Type::Integer:
        return QString::number(m_config.getInt(info.name, QByteArray(info.defaultValue).toInt()));
    case CConfig::Type::Real:
        if (name == QLatin1String("ExchangeRate"))
            return CConfig::formatGeneral(m_config.GetExchangeRate());
        break;
    case CConfig::Type::Agreement:
        return m_config.GetAgreementText();
    case CConfig::Type::Password:
        // Only whether there is one: the tool must not print the shop's password.
        return m_config.GetPassword().isEmpty() ? QStringLiteral("(not set)")
                                                : QStringLiteral("(set)");
    case CConfig::Type::Text:
        break;
    }
    // Texts (and any other number): an empty stored text reads as the key's default.
    const QString value = m_config.GetConfigValue(name);
    return value.isEmpty() ? QString::fromUtf8(info.defaultValue) : value;
}

QString ConfigCommand::set(const QString &name, const QString &value)
{
    if (name == QLatin1String("LogoFileName")) {
        m_config.SetLogoFileName(value);
        return {};
    }
    if (name == QLatin1String("DBFileName")) {
        m_config.SetDBFileName(value);
        return {};
    }
    if (name == QLatin1String("OrderAgeFilter")) {
        m_config.SetOrderAgeFilter(parseInteger(name, value));
        return {};
    }
    if (name == QLatin1String("SummaryFilePath")) {
        m_config.SetSummaryFilePath(value);
        return {};
    }
    if (const auto column = columnKey(name)) {
        m_config.SetColumnWidth(column->grid, column->column, parseInteger(name, value));
        return {};
    }

    const CConfig::KeyInfo &info = keyInfo(name);
    switch (info.type) {
    case CConfig::Type::Flag:
        m_config.setFlag(info.name, parseFlag(name, value));
        return {};
    case CConfig::Type::Integer:
        m_config.setInt(info.name, parseInteger(name, value));
        return {};
    case CConfig::Type::Real: {
        const double number = parseReal(name, value);
        if (name == QLatin1String("ExchangeRate"))
            m_config.SetExchangeRate(number);
        else
            m_config.SetConfigValue(name, CConfig::formatGeneral(number));
        return {};
    }
    case CConfig::Type::Agreement:
        m_config.SetAgreementText(value);
        if (value.size() > AgreementLimit)
            return QStringLiteral("The agreement text was cut to its first %1 characters.")
                .arg(AgreementLimit);
        return {};
    case CConfig::Type::Password:
        // The password is kept as Windows-1250 bytes; a character outside that code page
        // could never be typed back correctly.
        if (CConfig::UnscramblePassword(CConfig::ScramblePassword(value)) != value)
            throw UsageError(QStringLiteral("the password may contain only characters of the "
                                            "Windows-1250 code page"),
                             false);
        m_config.SetPassword(value);
        return {};
    case CConfig::Type::Text:
        break;
    }
    // What the program would refuse to use is refused here too.
    if (name == QLatin1String("Language")) {
        if (!CConfig::IsLanguageCode(value))
            throw UsageError(
                QStringLiteral("Language is the code of a language file (letters, digits, "
                               "\"-\" or \"_\", e.g. cs, pl, sk), not \"%1\"")
                    .arg(value),
                false);
        // A language without its file would leave the program without texts; the files are
        // named in lower case.
        const QString code = value.toLower();
        const QString file = QStringLiteral("Rpx_%1.txt").arg(code);
        if (!QFileInfo::exists(AppPaths::languageFile(code))
            && !QFileInfo::exists(QCoreApplication::applicationDirPath() + QLatin1Char('/') + file))
            throw UsageError(QStringLiteral("there is no language file %1 beside the program, so "
                                            "Language cannot be \"%2\"")
                                 .arg(file, value),
                             false);
        m_config.SetLanguage(code);
        return {};
    }
    if ((name == QLatin1String("OrderWwwUrl") || name == QLatin1String("PcrImeiCheckUrl"))
        && !CConfig::IsWebAddress(value))
        throw UsageError(QStringLiteral("%1 is empty or an http:// or https:// address, not \"%2\"")
                             .arg(name, value),
                         false);
    m_config.SetConfigValue(name, value);
    return {};
}

QList<std::pair<QString, QString>> ConfigCommand::list(QList<std::pair<QString, QString>> *problems)
{
    QList<std::pair<QString, QString>> rows;
    auto add = [&](const QString &name) {
        QString value;
        try {
            value = get(name);
        } catch (const RpxError &error) {
            value = QStringLiteral("(unreadable)");
            if (problems)
                problems->append({ name, error.message() });
        }
        rows.append({ name, value });
    };
    for (const CConfig::KeyInfo &info : CConfig::keys())
        add(QString::fromLatin1(info.name));
    for (const CConfig::GridColumns &grid : CConfig::columnWidthGrids())
        for (int column = 0; column < grid.columns; ++column)
            add(columnKeyName(grid, column));
    for (const QString &name : userValues())
        add(name);
    return rows;
}
