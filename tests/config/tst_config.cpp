// The shop's settings in t_config_01 and the per-user values: defaults, conversions and the
// way long or scrambled values are kept.
#include "config.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "testshop.h"

#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

#include <functional>
#include <memory>

using Getter = std::function<QVariant(CConfig &)>;
Q_DECLARE_METATYPE(Getter)

class TstConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyTableDefaults_data();
    void emptyTableDefaults();
    void storedTextReads_data();
    void storedTextReads();
    void exchangeRateNotANumberThrows_data();
    void exchangeRateNotANumberThrows();
    void exchangeRateWrittenInGeneralFormat_data();
    void exchangeRateWrittenInGeneralFormat();
    void agreementTextPieces_data();
    void agreementTextPieces();
    void shorterAgreementTextClearsOldTail();
    void agreementTextKeepsCharacterAcrossPieceBoundary();
    void passwordScrambling_data();
    void passwordScrambling();
    void passwordOutsideCodePageIsRefusedNotLost();
    void isNumber_data();
    void isNumber();
    void columnWidths();
    void perUserValuesWithoutSettings();
    void perUserValuesRoundTrip();
    void settingsAreNotCached();
    void createdInProgramText_data();
    void createdInProgramText();

private:
    CConfig &config() { return m_data->config(); }
    QString row(const QString &key)
    {
        const auto value = m_data->ConfigRow(key);
        return value ? *value : QStringLiteral("<missing>");
    }

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;
};

void TstConfig::initTestCase()
{
    // Every conversion uses "." whatever the user's regional settings say.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
}

void TstConfig::init()
{
    m_shop = std::make_unique<TestShop>();
    m_data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
    m_data->OpenFile(AppPaths::databaseFile());
    // A new database comes with a few rows; these tests start from an empty table.
    m_data->ExecuteCommand(QStringLiteral("DELETE FROM t_config_01"));
}

void TstConfig::cleanup()
{
    m_data.reset();
    m_shop.reset();
}

void TstConfig::emptyTableDefaults_data()
{
    QTest::addColumn<Getter>("get");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("PrintReceipt") << Getter([](CConfig &c) { return c.GetPrintReceipt(); }) << QVariant(true);
    QTest::newRow("PrintIssue") << Getter([](CConfig &c) { return c.GetPrintIssue(); }) << QVariant(true);
    QTest::newRow("JoinExistingOrder")
        << Getter([](CConfig &c) { return c.GetJoinExistingOrder(); }) << QVariant(true);
    QTest::newRow("ResetCounter") << Getter([](CConfig &c) { return c.GetResetCounter(); }) << QVariant(false);
    QTest::newRow("EasyCustomer") << Getter([](CConfig &c) { return c.GetEasyCustomer(); }) << QVariant(false);
    QTest::newRow("CustomerSelect")
        << Getter([](CConfig &c) { return c.GetCustomerSelect(); }) << QVariant(false);
    QTest::newRow("FEPhone") << Getter([](CConfig &c) { return c.GetFEPhone(); }) << QVariant(false);
    QTest::newRow("FEEngineer") << Getter([](CConfig &c) { return c.GetFEEngineer(); }) << QVariant(false);
    QTest::newRow("DeleteOrder") << Getter([](CConfig &c) { return c.GetDeleteOrder(); }) << QVariant(false);
    QTest::newRow("ShowOrders") << Getter([](CConfig &c) { return c.GetShowOrders(); }) << QVariant(false);
    QTest::newRow("EngineerMandatory")
        << Getter([](CConfig &c) { return c.GetEngineerMandatory(); }) << QVariant(false);
    QTest::newRow("UseSecondaryCurrency")
        << Getter([](CConfig &c) { return c.GetUseSecondaryCurrency(); }) << QVariant(false);
    QTest::newRow("MaxOrderID") << Getter([](CConfig &c) { return c.GetMaxOrderID(); }) << QVariant(0);
    QTest::newRow("DaysToDeadline") << Getter([](CConfig &c) { return c.GetDaysToDeadline(); }) << QVariant(7);
    QTest::newRow("ReceiptPrintMode")
        << Getter([](CConfig &c) { return c.GetReceiptPrintMode(); }) << QVariant(2);
    QTest::newRow("IssuePrintMode") << Getter([](CConfig &c) { return c.GetIssuePrintMode(); }) << QVariant(2);
    QTest::newRow("TSAgreement") << Getter([](CConfig &c) { return c.GetTSAgreement(); }) << QVariant(8);
    QTest::newRow("LMPhone") << Getter([](CConfig &c) { return c.GetLMPhone(); }) << QVariant(0);
    QTest::newRow("MainCurrency")
        << Getter([](CConfig &c) { return c.GetMainCurrency(); }) << QVariant(QStringLiteral("Kč"));
    QTest::newRow("SecondaryCurrency")
        << Getter([](CConfig &c) { return c.GetSecondaryCurrency(); }) << QVariant(QStringLiteral("Eur"));
    QTest::newRow("ExchangeRate") << Getter([](CConfig &c) { return c.GetExchangeRate(); }) << QVariant(25.0);
    QTest::newRow("Language") << Getter([](CConfig &c) { return c.GetLanguage(); }) << QVariant(QStringLiteral("cs"));
    QTest::newRow("CashName") << Getter([](CConfig &c) { return c.GetCashName(); }) << QVariant(QString());
    QTest::newRow("Password") << Getter([](CConfig &c) { return c.GetPassword(); }) << QVariant(QString());
    QTest::newRow("AgreementText")
        << Getter([](CConfig &c) { return c.GetAgreementText(); }) << QVariant(QString());
    QTest::newRow("generic MaxOrderID")
        << Getter([](CConfig &c) { return c.GetConfigValue(QStringLiteral("MaxOrderID")); })
        << QVariant(QStringLiteral("0"));
    QTest::newRow("generic PrintIssue")
        << Getter([](CConfig &c) { return c.GetConfigValue(QStringLiteral("PrintIssue")); })
        << QVariant(QStringLiteral("1"));
    QTest::newRow("generic unknown key")
        << Getter([](CConfig &c) { return c.GetConfigValue(QStringLiteral("NoSuchKey")); })
        << QVariant(QString());
}

void TstConfig::emptyTableDefaults()
{
    QFETCH(Getter, get);
    QFETCH(QVariant, expected);
    QCOMPARE(get(config()), expected);
    // Reading never writes a row.
    QSqlQuery count = m_data->OpenQuery(QStringLiteral("SELECT count(*) FROM t_config_01"));
    QVERIFY(count.next());
    QCOMPARE(count.value(0).toInt(), 0);
}

void TstConfig::storedTextReads_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<Getter>("get");
    QTest::addColumn<QVariant>("expected");

    const Getter printReceipt = [](CConfig &c) { return c.GetPrintReceipt(); };
    const Getter days = [](CConfig &c) { return c.GetDaysToDeadline(); };
    const Getter rate = [](CConfig &c) { return c.GetExchangeRate(); };
    // The default of a flag applies only when the row is missing, not when it is empty.
    QTest::newRow("PrintReceipt empty") << "PrintReceipt" << "" << printReceipt << QVariant(false);
    QTest::newRow("PrintReceipt 0") << "PrintReceipt" << "0" << printReceipt << QVariant(false);
    QTest::newRow("PrintReceipt 1") << "PrintReceipt" << "1" << printReceipt << QVariant(true);
    QTest::newRow("PrintReceipt true") << "PrintReceipt" << "true" << printReceipt << QVariant(false);
    QTest::newRow("EasyCustomer 1")
        << "EasyCustomer" << "1" << Getter([](CConfig &c) { return c.GetEasyCustomer(); }) << QVariant(true);
    QTest::newRow("DaysToDeadline word") << "DaysToDeadline" << "týden" << days << QVariant(7);
    QTest::newRow("DaysToDeadline fraction") << "DaysToDeadline" << "7.5" << days << QVariant(7);
    QTest::newRow("DaysToDeadline empty") << "DaysToDeadline" << "" << days << QVariant(7);
    QTest::newRow("DaysToDeadline 14") << "DaysToDeadline" << "14" << days << QVariant(14);
    QTest::newRow("DaysToDeadline 0") << "DaysToDeadline" << "0" << days << QVariant(0);
    QTest::newRow("ReceiptPrintMode word")
        << "ReceiptPrintMode" << "one" << Getter([](CConfig &c) { return c.GetReceiptPrintMode(); })
        << QVariant(2);
    QTest::newRow("MaxOrderID word")
        << "MaxOrderID" << "x" << Getter([](CConfig &c) { return c.GetMaxOrderID(); }) << QVariant(0);
    QTest::newRow("MainCurrency empty")
        << "MainCurrency" << "" << Getter([](CConfig &c) { return c.GetMainCurrency(); })
        << QVariant(QStringLiteral("Kč"));
    QTest::newRow("MainCurrency zł")
        << "MainCurrency" << "zł" << Getter([](CConfig &c) { return c.GetMainCurrency(); })
        << QVariant(QStringLiteral("zł"));
    QTest::newRow("SecondaryCurrency empty")
        << "SecondaryCurrency" << "" << Getter([](CConfig &c) { return c.GetSecondaryCurrency(); })
        << QVariant(QStringLiteral("Eur"));
    QTest::newRow("Language empty")
        << "Language" << "" << Getter([](CConfig &c) { return c.GetLanguage(); }) << QVariant(QStringLiteral("cs"));
    QTest::newRow("ExchangeRate empty") << "ExchangeRate" << "" << rate << QVariant(25.0);
    QTest::newRow("ExchangeRate 27.5") << "ExchangeRate" << "27.5" << rate << QVariant(27.5);
    QTest::newRow("ExchangeRate 1e2") << "ExchangeRate" << "1e2" << rate << QVariant(100.0);
}

void TstConfig::storedTextReads()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(Getter, get);
    QFETCH(QVariant, expected);
    config().SetConfigValue(key, stored);
    QCOMPARE(get(config()), expected);
}

void TstConfig::exchangeRateNotANumberThrows_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("word") << "abc";
    QTest::newRow("decimal comma") << "27,5";
    QTest::newRow("two points") << "1.2.3";
}

void TstConfig::exchangeRateNotANumberThrows()
{
    QFETCH(QString, stored);
    config().SetConfigValue(QStringLiteral("ExchangeRate"), stored);
    try {
        config().GetExchangeRate();
        QFAIL("no RpxError");
    } catch (const RpxError &e) {
        QVERIFY2(e.message().contains(stored), qPrintable(e.message()));
    }
}

void TstConfig::exchangeRateWrittenInGeneralFormat_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("stored");
    QTest::newRow("whole") << 25.0 << "25";
    QTest::newRow("fraction") << 25.5 << "25.5";
    QTest::newRow("small") << 0.1 << "0.1";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("large") << 1234567.125 << "1234567.125";
    QTest::newRow("million") << 1e6 << "1000000";
}

void TstConfig::exchangeRateWrittenInGeneralFormat()
{
    QFETCH(double, rate);
    QFETCH(QString, stored);
    config().SetExchangeRate(rate);
    QCOMPARE(row(QStringLiteral("ExchangeRate")), stored);
    QCOMPARE(config().GetExchangeRate(), stored.toDouble());
}

// A text of the given length, made of Czech words so that characters and bytes differ.
static QString czechText(int length)
{
    const QString words = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy. ");
    QString text;
    while (text.size() < length)
        text += words;
    return text.left(length);
}

void TstConfig::agreementTextPieces_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("pieces");
    QTest::addColumn<int>("readBack");
    QTest::newRow("empty") << 0 << QList<int>{0, 0, 0, 0, 0, 0} << 0;
    QTest::newRow("one piece") << 255 << QList<int>{255, 0, 0, 0, 0, 0} << 255;
    QTest::newRow("600") << 600 << QList<int>{255, 255, 90, 0, 0, 0} << 600;
    QTest::newRow("full") << 1530 << QList<int>{255, 255, 255, 255, 255, 255} << 1530;
    QTest::newRow("1600 truncated") << 1600 << QList<int>{255, 255, 255, 255, 255, 255} << 1530;
}

void TstConfig::agreementTextPieces()
{
    QFETCH(int, length);
    QFETCH(QList<int>, pieces);
    QFETCH(int, readBack);
    const QString text = czechText(length);
    config().SetAgreementText(text);
    for (int i = 0; i < pieces.size(); ++i) {
        const QString key = QStringLiteral("AgreementText%1").arg(i + 1);
        QCOMPARE(config().GetConfigValue(key).size(), pieces.at(i));
    }
    QCOMPARE(config().GetAgreementText(), text.left(readBack));
}

void TstConfig::shorterAgreementTextClearsOldTail()
{
    config().SetAgreementText(czechText(1000));
    config().SetAgreementText(QStringLiteral("Krátké podmínky."));
    QCOMPARE(config().GetAgreementText(), QStringLiteral("Krátké podmínky."));
}

void TstConfig::agreementTextKeepsCharacterAcrossPieceBoundary()
{
    // A character outside the basic plane (two UTF-16 units) right at the end of a piece
    // must not be cut in half: half a character cannot be stored and is lost.
    const QString text = QString(254, QLatin1Char('a')) + QStringLiteral("😀 podmínky ✔");
    config().SetAgreementText(text);
    QCOMPARE(config().GetAgreementText(), text);
}

void TstConfig::passwordScrambling_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("three bytes") << "abc" << "9E9D9C";
    QTest::newRow("digits") << "1234" << "CECDCCCB";
    // Windows-1250: Ř = D8, ř = F8, í = ED.
    QTest::newRow("Czech") << "Řeřicha" << "279A07969C979E";
    QTest::newRow("Czech ending í") << "kí" << "9412";
}

void TstConfig::passwordScrambling()
{
    QFETCH(QString, password);
    QFETCH(QString, stored);
    config().SetPassword(password);
    const QString raw = config().GetConfigValue(QStringLiteral("Password"));
    QCOMPARE(raw, stored);
    QVERIFY(QRegularExpression(QStringLiteral("^([0-9A-F]{2})*$")).match(raw).hasMatch());
    QCOMPARE(config().GetPassword(), password);
}

void TstConfig::passwordOutsideCodePageIsRefusedNotLost()
{
    // A password the stored byte form cannot hold would read back as different text and
    // lock the shop out of its own protected actions: it is refused, the old one stays.
    config().SetPassword(QStringLiteral("staré"));
    for (const QString &password : {QStringLiteral("Пароль"), QStringLiteral("klíč🔑")}) {
        try {
            config().SetPassword(password);
            QCOMPARE(config().GetPassword(), password);
        } catch (const RpxError &) {
            QCOMPARE(config().GetPassword(), QStringLiteral("staré"));
        }
    }
}

void TstConfig::isNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("point") << "12.5" << true;
    QTest::newRow("comma") << "12,5" << false;
    QTest::newRow("word") << "abc" << false;
    QTest::newRow("blanks around") << " 3 " << true;
    QTest::newRow("exponent") << "1e3" << true;
    QTest::newRow("negative") << "-4" << true;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("blank inside") << "12 5" << false;
    QTest::newRow("infinity") << "inf" << false;
    QTest::newRow("not a number") << "nan" << false;
    QTest::newRow("currency") << "150 Kč" << false;
}

void TstConfig::isNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QCOMPARE(CConfig::IsNumber(text), number);
}

void TstConfig::columnWidths()
{
    QCOMPARE(config().GetColumnWidth(QStringLiteral("OrderList"), 0, 75), 75);
    QCOMPARE(config().GetColumnWidth(QStringLiteral("OrderList"), 1, 110), 110);
    config().SetColumnWidth(QStringLiteral("OrderList"), 1, 140);
    QCOMPARE(row(QStringLiteral("CWOrderList1")), QStringLiteral("140"));
    QCOMPARE(config().GetColumnWidth(QStringLiteral("OrderList"), 1, 110), 140);
    QCOMPARE(config().GetColumnWidth(QStringLiteral("OrderList"), 0, 75), 75);
    config().SetConfigValue(QStringLiteral("CWOrderList0"), QStringLiteral("široký"));
    QCOMPARE(config().GetColumnWidth(QStringLiteral("OrderList"), 0, 75), 75);
}

void TstConfig::perUserValuesWithoutSettings()
{
    QCOMPARE(config().GetLogoFileName(), QString());
    QCOMPARE(config().GetDBFileName(), QString());
    QCOMPARE(config().GetSummaryFilePath(), QString());
    QCOMPARE(config().GetOrderAgeFilter(), 3);
    QSettings(QStringLiteral("KVL"), QStringLiteral("RPX2"))
        .setValue(QStringLiteral("OrderAgeFilter"), QStringLiteral("hodně"));
    QCOMPARE(config().GetOrderAgeFilter(), 3);
}

void TstConfig::perUserValuesRoundTrip()
{
    config().SetLogoFileName(QStringLiteral("C:/Obrázky/logo.png"));
    config().SetDBFileName(QStringLiteral("D:/Data/rpx3.db"));
    config().SetSummaryFilePath(QStringLiteral("C:/Přehledy/"));
    config().SetOrderAgeFilter(0); // 0 is a real choice, not "unreadable"
    QCOMPARE(config().GetLogoFileName(), QStringLiteral("C:/Obrázky/logo.png"));
    QCOMPARE(config().GetDBFileName(), QStringLiteral("D:/Data/rpx3.db"));
    QCOMPARE(config().GetSummaryFilePath(), QStringLiteral("C:/Přehledy/"));
    QCOMPARE(config().GetOrderAgeFilter(), 0);
    // The values live per user under KVL/RPX2 with their own names, not in the shop's table.
    QSettings settings(QStringLiteral("KVL"), QStringLiteral("RPX2"));
    QCOMPARE(settings.value(QStringLiteral("DBFileName")).toString(), QStringLiteral("D:/Data/rpx3.db"));
    QCOMPARE(settings.value(QStringLiteral("OrderAgeFilter")).toInt(), 0);
    QCOMPARE(row(QStringLiteral("DBFileName")), QStringLiteral("<missing>"));
}

void TstConfig::settingsAreNotCached()
{
    // Two programs on one database: a change made by one is read by the other at once.
    TRpx2Data other(nullptr, QStringLiteral("RPX2"), nullptr);
    other.OpenFile(AppPaths::databaseFile());
    QCOMPARE(config().GetDaysToDeadline(), 7);
    other.config().SetDaysToDeadline(10);
    QCOMPARE(config().GetDaysToDeadline(), 10);
    config().SetCashName(QStringLiteral("Pokladna 2"));
    QCOMPARE(other.config().GetCashName(), QStringLiteral("Pokladna 2"));
}

void TstConfig::createdInProgramText_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");
    QTest::newRow("pl") << "pl" << "Utworzono w programie Repaxo";
    QTest::newRow("cs") << "cs" << "Vytvořeno v programu Repaxo";
    QTest::newRow("sk") << "sk" << "Vytvořeno v programu Repaxo";
    QTest::newRow("empty") << "" << "Vytvořeno v programu Repaxo";
}

void TstConfig::createdInProgramText()
{
    QFETCH(QString, language);
    QFETCH(QString, text);
    config().SetLanguage(language);
    QCOMPARE(config().GetCreatedInProgramText(), text);
}

QTEST_GUILESS_MAIN(TstConfig)
#include "tst_config.moc"
