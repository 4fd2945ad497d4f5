#include "config.h"

#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QSettings>
#include <QUrl>

#include <cmath>

namespace {

constexpr int AgreementPieces = 6;
constexpr int AgreementPieceLength = 255;

bool parseNumber(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok); // C number format: "." only, no grouping
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

} // namespace

const QList<CConfig::KeyInfo> &CConfig::keys()
{
    static const QList<KeyInfo> list = {
        {"MaxOrderID", Type::Integer, "0"},
        {"ResetCounter", Type::Flag, "0"},
        {"Language", Type::Text, "cs"},
        {"AgreementText", Type::Agreement, ""},
        {"TSAgreement", Type::Integer, "8"},
        {"LogoOptions", Type::Text, ""},
        {"EasyCustomer", Type::Flag, "0"},
        {"CustomerSelect", Type::Flag, "0"},
        {"FEPhone", Type::Flag, "0"},
        {"FEEngineer", Type::Flag, "0"},
        {"LMPhone", Type::Integer, "0"},
        {"LMEngineer", Type::Integer, "0"},
        {"DeleteOrder", Type::Flag, "0"},
        {"ShowOrders", Type::Flag, "0"},
        {"CashName", Type::Text, ""},
        {"JoinExistingOrder", Type::Flag, "1"},
        {"NullImei", Type::Text, ""},
        {"DefaultEngineer", Type::Text, ""},
        {"PrintReceipt", Type::Flag, "1"},
        {"PrintIssue", Type::Flag, "1"},
        {"EngineerMandatory", Type::Flag, "0"},
        {"OrderWwwUrl", Type::Text, ""},
        {"PcrImeiCheckUrl", Type::Text, ""},
        {"Password", Type::Password, ""},
        {"ReceiptPrintMode", Type::Integer, "2"},
        {"IssuePrintMode", Type::Integer, "2"},
        {"SmsNotificationPort", Type::Text, ""},
        {"DaysToDeadline", Type::Integer, "7"},
        {"MainCurrency", Type::Text, "Kč"},
        {"SecondaryCurrency", Type::Text, "Eur"},
        {"UseSecondaryCurrency", Type::Flag, "0"},
        {"ExchangeRate", Type::Real, "25"},
        {"ShopName", Type::Text, ""},
        {"ShopAddress", Type::Text, ""},
        {"ShopIdentification", Type::Text, ""},
    };
    return list;
}

const CConfig::KeyInfo *CConfig::findKey(const QString &name)
{
    for (const KeyInfo &info : keys())
        if (name == QLatin1String(info.name))
            return &info;
    return nullptr;
}

CConfig::CConfig(TRpx2Data &data, QString keyName) : m_data(data), m_keyName(std::move(keyName)) {}

QString CConfig::GetConfigValue(const QString &key)
{
    if (const auto row = m_data.ConfigRow(key))
        return *row;
    if (key == QLatin1String("MaxOrderID"))
        return QStringLiteral("0");
    if (key == QLatin1String("PrintReceipt") || key == QLatin1String("PrintIssue")
        || key == QLatin1String("JoinExistingOrder"))
        return QStringLiteral("1");
    return {};
}

void CConfig::SetConfigValue(const QString &key, const QString &value)
{
    m_data.SetConfigValue(key, value);
}

bool CConfig::getFlag(const char *key)
{
    return GetConfigValue(QLatin1String(key)) == QLatin1String("1");
}

void CConfig::setFlag(const char *key, bool value)
{
    SetConfigValue(QLatin1String(key), value ? QStringLiteral("1") : QStringLiteral("0"));
}

int CConfig::getInt(const char *key, int fallback)
{
    bool ok = false;
    const int value = GetConfigValue(QLatin1String(key)).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

void CConfig::setInt(const char *key, int value)
{
    SetConfigValue(QLatin1String(key), QString::number(value));
}

#define RPX_FLAG(Name) \
    bool CConfig::Get##Name() { return getFlag(#Name); } \
    void CConfig::Set##Name(bool v) { setFlag(#Name, v); }
#define RPX_INT(Name, Default) \
    int CConfig::Get##Name() { return getInt(#Name, Default); } \
    void CConfig::Set##Name(int v) { setInt(#Name, v); }
#define RPX_TEXT(Name) \
    QString CConfig::Get##Name() { return GetConfigValue(QStringLiteral(#Name)); } \
    void CConfig::Set##Name(const QString &v) { SetConfigValue(QStringLiteral(#Name), v); }

RPX_INT(MaxOrderID, 0)
RPX_FLAG(ResetCounter)
RPX_INT(TSAgreement, 8)
RPX_TEXT(LogoOptions)
RPX_FLAG(EasyCustomer)
RPX_FLAG(CustomerSelect)
RPX_FLAG(FEPhone)
RPX_FLAG(FEEngineer)
RPX_INT(LMPhone, 0)
RPX_INT(LMEngineer, 0)
RPX_FLAG(DeleteOrder)
RPX_FLAG(ShowOrders)
RPX_TEXT(CashName)
RPX_FLAG(JoinExistingOrder)
RPX_TEXT(NullImei)
RPX_TEXT(DefaultEngineer)
RPX_FLAG(PrintReceipt)
RPX_FLAG(PrintIssue)
RPX_FLAG(EngineerMandatory)
RPX_TEXT(OrderWwwUrl)
RPX_TEXT(PcrImeiCheckUrl)
RPX_INT(ReceiptPrintMode, 2)
RPX_INT(IssuePrintMode, 2)
RPX_TEXT(SmsNotificationPort)
RPX_INT(DaysToDeadline, 7)
RPX_FLAG(UseSecondaryCurrency)
RPX_TEXT(ShopName)
RPX_TEXT(ShopAddress)
RPX_TEXT(ShopIdentification)

#undef RPX_FLAG
#undef RPX_INT
#undef RPX_TEXT

QString CConfig::GetLanguage()
{
    const QString value = GetConfigValue(QStringLiteral("Language"));
    return value.isEmpty() ? QStringLiteral("cs") : value;
}

void CConfig::SetLanguage(const QString &v)
{
    SetConfigValue(QStringLiteral("Language"), v);
}

QString CConfig::GetMainCurrency()
{
    const QString value = GetConfigValue(QStringLiteral("MainCurrency"));
    return value.isEmpty() ? QStringLiteral("Kč") : value;
}

void CConfig::SetMainCurrency(const QString &v)
{
    SetConfigValue(QStringLiteral("MainCurrency"), v);
}

QString CConfig::GetSecondaryCurrency()
{
    const QString value = GetConfigValue(QStringLiteral("SecondaryCurrency"));
    return value.isEmpty() ? QStringLiteral("Eur") : value;
}

void CConfig::SetSecondaryCurrency(const QString &v)
{
    SetConfigValue(QStringLiteral("SecondaryCurrency"), v);
}

double CConfig::GetExchangeRate()
{
    const QString text = GetConfigValue(QStringLiteral("ExchangeRate"));
    if (text.isEmpty())
        return 25.0;
    double value = 0;
    if (!parseNumber(text, &value))
        throw RpxError(formatText(rpxTextOr("Global.ExchangeRateNotNumber",
                                            QStringLiteral("„%s“ není platné číslo (kurz měny).")),
                                  { text }));
    return value;
}

void CConfig::SetExchangeRate(double v)
{
    SetConfigValue(QStringLiteral("ExchangeRate"), formatGeneral(v));
}

QString CConfig::GetAgreementText()
{
    QString text;
    for (int i = 1; i <= AgreementPieces; ++i)
        text += GetConfigValue(QStringLiteral("AgreementText%1").arg(i));
    return text;
}

void CConfig::SetAgreementText(const QString &v)
{
    // The six pieces change together or not at all: a failure part-way must not leave the
    // contract half old, half new.
    TRpx2Data::WriteTransaction transaction(m_data);
    qsizetype pos = 0;
    for (int i = 0; i < AgreementPieces; ++i) {
        qsizetype length = qBound<qsizetype>(0, v.size() - pos, qsizetype(AgreementPieceLength));
        // A character of two UTF-16 units is never cut in half: a half cannot be stored.
        if (length > 0 && v.at(pos + length - 1).isHighSurrogate())
            --length;
        SetConfigValue(QStringLiteral("AgreementText%1").arg(i + 1), v.mid(pos, length));
        pos += length;
    }
    transaction.commit();
}

QString CConfig::GetPassword()
{
    return UnscramblePassword(GetConfigValue(QStringLiteral("Password")));
}

void CConfig::SetPassword(const QString &v)
{
    // A character outside the code page would be stored as a substitute that nobody can
    // type: the shop would be locked out of its protected actions.
    const QString scrambled = ScramblePassword(v);
    if (UnscramblePassword(scrambled) != v)
        throw RpxError(rpxTextOr("Global.PasswordNotStorable",
                                 QStringLiteral("Heslo obsahuje znaky, které nelze uložit.")));
    SetConfigValue(QStringLiteral("Password"), scrambled);
}

const QList<CConfig::GridColumns> &CConfig::columnWidthGrids()
{
    static const QList<GridColumns> grids = { { "OrderList", 2 } };
    return grids;
}

int CConfig::GetColumnWidth(const QString &grid, int column, int defaultWidth)
{
    bool ok = false;
    const int width = GetConfigValue(QStringLiteral("CW%1%2").arg(grid).arg(column)).trimmed().toInt(&ok);
    return ok ? width : defaultWidth;
}

void CConfig::SetColumnWidth(const QString &grid, int column, int width)
{
    SetConfigValue(QStringLiteral("CW%1%2").arg(grid).arg(column), QString::number(width));
}

QString CConfig::userValue(const char *name)
{
    QSettings settings(QStringLiteral("KVL"), m_keyName);
    return settings.value(QLatin1String(name)).toString();
}

void CConfig::setUserValue(const char *name, const QVariant &value)
{
    QSettings settings(QStringLiteral("KVL"), m_keyName);
    settings.setValue(QLatin1String(name), value);
}

QString CConfig::GetLogoFileName() { return userValue("LogoFileName"); }
void CConfig::SetLogoFileName(const QString &v) { setUserValue("LogoFileName", v); }
QString CConfig::GetDBFileName() { return userValue("DBFileName"); }
void CConfig::SetDBFileName(const QString &v) { setUserValue("DBFileName", v); }
QString CConfig::GetSummaryFilePath() { return userValue("SummaryFilePath"); }
void CConfig::SetSummaryFilePath(const QString &v) { setUserValue("SummaryFilePath", v); }

int CConfig::GetOrderAgeFilter()
{
    QSettings settings(QStringLiteral("KVL"), m_keyName);
    bool ok = false;
    const int value = settings.value(QStringLiteral("OrderAgeFilter")).toInt(&ok);
    return ok ? value : 3;
}

void CConfig::SetOrderAgeFilter(int v)
{
    setUserValue("OrderAgeFilter", v);
}

QString CConfig::GetCreatedInProgramText()
{
    return GetLanguage() == QLatin1String("pl") ? QStringLiteral("Utworzono w programie Repaxo")
                                                : QStringLiteral("Vytvořeno v programu Repaxo");
}

bool CConfig::IsExchangeRate(double rate)
{
    return std::isfinite(rate) && rate >= MinExchangeRate && rate < MaxExchangeRate;
}

bool CConfig::IsWebAddress(const QString &text)
{
    if (text.isEmpty())
        return true;
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool CConfig::IsLanguageCode(const QString &code)
{
    if (code.isEmpty() || code.size() > 16)
        return false;
    for (const QChar c : code) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-')
            && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

bool CConfig::IsNumber(const QString &text)
{
    return text.isEmpty() || parseNumber(text, nullptr);
}

QString CConfig::formatGeneral(double value)
{
    return QString::number(value, 'g', 15);
}

QString CConfig::ScramblePassword(const QString &plain)
{
    const QByteArray bytes = Cp1250::fromUnicode(plain);
    QString hex;
    hex.reserve(bytes.size() * 2);
    for (char byte : bytes)
        hex += QStringLiteral("%1").arg(uchar(~uchar(byte)), 2, 16, QLatin1Char('0')).toUpper();
    return hex;
}

QString CConfig::UnscramblePassword(const QString &stored)
{
    QByteArray bytes;
    for (qsizetype i = 0; i + 1 < stored.size(); i += 2) {
        bool ok = false;
        const uint value = stored.mid(i, 2).toUInt(&ok, 16);
        if (!ok)
            break;
        const char byte = char(~uchar(value));
        if (byte == 0)
            break;
        bytes.append(byte);
    }
    return Cp1250::toUnicode(bytes);
}
