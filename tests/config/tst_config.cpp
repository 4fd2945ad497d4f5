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

using namespace Qt::StringLiterals;

using Getter = std::function<QVariant(CConfig &)>;
Q_DECLARE_METATYPE(Getter)

namespace {

// A text of the given length, made of Czech words so that characters and bytes differ.
QString czechText(int length)
{
    return u"Příliš žluťoučký kůň úpěl ďábelské ódy. "_s.repeated(length / 40 + 1).left(length);
}

} // namespace

class TstConfig : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;

    CConfig &config() { return m_data->config(); }
    QString row(const QString &key)
    {
        const auto value = m_data->ConfigRow(key);
        return value ? *value : u"<missing>"_s;
    }

private slots:
    void initTestCase()
    {
        // Every conversion uses "." whatever the user's regional settings say.
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    }
    void init()
    {
        m_shop = std::make_unique<TestShop>();
        m_data = std::make_unique<TRpx2Data>(nullptr, u"RPX2"_s, nullptr);
        m_data->OpenFile(AppPaths::databaseFile());
        // A new database comes with a few rows; these tests start from an empty table.
        m_data->ExecuteCommand(u"DELETE FROM t_config_01"_s);
    }
    void cleanup()
    {
        m_data.reset();
        m_shop.reset();
    }

    void emptyTableDefaults()
    {
        QVERIFY(config().GetPrintReceipt() && config().GetPrintIssue() && config().GetJoinExistingOrder());
        QVERIFY(!config().GetResetCounter() && !config().GetEasyCustomer() && !config().GetDeleteOrder());
        QCOMPARE(config().GetDaysToDeadline(), 7);
        QCOMPARE(config().GetReceiptPrintMode(), 2);
        QCOMPARE(config().GetTSAgreement(), 8);
        QCOMPARE(config().GetMainCurrency(), u"Kč"_s);
        QCOMPARE(config().GetSecondaryCurrency(), u"Eur"_s);
        QCOMPARE(config().GetExchangeRate(), 25.0);
        QCOMPARE(config().GetLanguage(), u"cs"_s);
        // The generic access has defaults of its own for a few keys.
        QCOMPARE(config().GetConfigValue(u"MaxOrderID"_s), u"0"_s);
        QCOMPARE(config().GetConfigValue(u"PrintIssue"_s), u"1"_s);
        QCOMPARE(config().GetConfigValue(u"NoSuchKey"_s), QString());
        // Reading never writes a row.
        QSqlQuery count = m_data->OpenQuery(u"SELECT count(*) FROM t_config_01"_s);
        QVERIFY(count.next());
        QCOMPARE(count.value(0).toInt(), 0);
    }

    void storedTextReads_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Getter>("get");
        QTest::addColumn<QVariant>("expected"); // invalid: reading raises an error naming the text

        const Getter printReceipt = [](CConfig &c) { return c.GetPrintReceipt(); };
        const Getter days = [](CConfig &c) { return c.GetDaysToDeadline(); };
        const Getter rate = [](CConfig &c) { return c.GetExchangeRate(); };
        const Getter currency = [](CConfig &c) { return c.GetMainCurrency(); };
        // The default of a flag applies only when the row is missing, not when it is empty.
        QTest::newRow("flag empty") << "PrintReceipt" << "" << printReceipt << QVariant(false);
        QTest::newRow("flag 1") << "PrintReceipt" << "1" << printReceipt << QVariant(true);
        QTest::newRow("flag true") << "PrintReceipt" << "true" << printReceipt << QVariant(false);
        QTest::newRow("integer word") << "DaysToDeadline" << "týden" << days << QVariant(7);
        QTest::newRow("integer fraction") << "DaysToDeadline" << "7.5" << days << QVariant(7);
        QTest::newRow("integer 0") << "DaysToDeadline" << "0" << days << QVariant(0);
        QTest::newRow("currency empty") << "MainCurrency" << "" << currency << QVariant(u"Kč"_s);
        QTest::newRow("Language empty") << "Language" << "" << Getter([](CConfig &c) { return c.GetLanguage(); })
                                        << QVariant(u"cs"_s);
        QTest::newRow("rate empty") << "ExchangeRate" << "" << rate << QVariant(25.0);
        QTest::newRow("rate 1e2") << "ExchangeRate" << "1e2" << rate << QVariant(100.0);
        QTest::newRow("rate word") << "ExchangeRate" << "abc" << rate << QVariant();
        QTest::newRow("rate with a decimal comma") << "ExchangeRate" << "27,5" << rate << QVariant();
        QTest::newRow("rate with two points") << "ExchangeRate" << "1.2.3" << rate << QVariant();
    }
    void storedTextReads()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(Getter, get);
        QFETCH(QVariant, expected);
        config().SetConfigValue(key, stored);
        if (expected.isValid()) {
            QCOMPARE(get(config()), expected);
            return;
        }
        try {
            get(config());
            QFAIL("no RpxError");
        } catch (const RpxError &e) {
            QVERIFY2(e.message().contains(stored), qPrintable(e.message()));
        }
    }

    void exchangeRateWrittenInGeneralFormat_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("stored");
        QTest::newRow("whole") << 25.0 << "25";
        QTest::newRow("fraction") << 25.5 << "25.5";
        QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("large") << 1234567.125 << "1234567.125";
        QTest::newRow("million") << 1e6 << "1000000";
    }
    void exchangeRateWrittenInGeneralFormat()
    {
        QFETCH(double, rate);
        QFETCH(QString, stored);
        config().SetExchangeRate(rate);
        QCOMPARE(row(u"ExchangeRate"_s), stored);
        QCOMPARE(config().GetExchangeRate(), stored.toDouble());
    }

    void agreementTextPieces_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("pieces");
        QTest::addColumn<int>("readBack");
        QTest::newRow("empty") << 0 << QList<int>{0, 0, 0, 0, 0, 0} << 0;
        QTest::newRow("600") << 600 << QList<int>{255, 255, 90, 0, 0, 0} << 600;
        QTest::newRow("full") << 1530 << QList<int>{255, 255, 255, 255, 255, 255} << 1530;
        QTest::newRow("1600 truncated") << 1600 << QList<int>{255, 255, 255, 255, 255, 255} << 1530;
    }
    // A shorter text stored over a longer one clears the old tail.
    void agreementTextPieces()
    {
        QFETCH(int, length);
        QFETCH(QList<int>, pieces);
        QFETCH(int, readBack);
        config().SetAgreementText(czechText(1000));
        const QString text = czechText(length);
        config().SetAgreementText(text);
        for (int i = 0; i < pieces.size(); ++i)
            QCOMPARE(config().GetConfigValue(u"AgreementText%1"_s.arg(i + 1)).size(), pieces.at(i));
        QCOMPARE(config().GetAgreementText(), text.left(readBack));
    }

    // The six pieces change together: a failure part-way (a full disk) keeps the old text
    // whole rather than half old, half new.
    void agreementTextChangesWholeOrNotAtAll()
    {
        const QString old = czechText(1000);
        config().SetAgreementText(old);
        m_data->ExecuteCommand(u"CREATE TRIGGER full_disk BEFORE UPDATE ON t_config_01 "
                               "WHEN NEW.ConfigKey = 'AgreementText4' "
                               "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"_s);
        QVERIFY_THROWS_EXCEPTION(RpxError, config().SetAgreementText(QString(1200, u'x')));
        QCOMPARE(config().GetAgreementText(), old);
    }

    // A character outside the basic plane (two UTF-16 units) right at the end of a piece
    // must not be cut in half: half a character cannot be stored and is lost.
    void agreementTextKeepsCharacterAcrossPieceBoundary()
    {
        const QString text = QString(254, u'a') + u"😀 podmínky ✔"_s;
        config().SetAgreementText(text);
        QCOMPARE(config().GetAgreementText(), text);
    }

    void passwordScrambling_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("three bytes") << "abc" << "9E9D9C";
        // Windows-1250: Ř = D8, ř = F8, í = ED.
        QTest::newRow("Czech") << "Řeřicha" << "279A07969C979E";
        QTest::newRow("Czech ending í") << "kí" << "9412";
        // The byte form cannot hold these: stored, they would read back as other text and lock
        // the shop out of its own protected actions.
        QTest::newRow("Cyrillic") << "Пароль" << "refused";
        QTest::newRow("emoji") << "klíč🔑" << "refused";
    }
    // A refused password leaves the old one in place.
    void passwordScrambling()
    {
        QFETCH(QString, password);
        QFETCH(QString, stored);
        config().SetPassword(u"staré"_s);
        if (stored == u"refused"_s) {
            QVERIFY_THROWS_EXCEPTION(RpxError, config().SetPassword(password));
            QCOMPARE(config().GetPassword(), u"staré"_s);
            return;
        }
        config().SetPassword(password);
        QCOMPARE(config().GetConfigValue(u"Password"_s), stored);
        QCOMPARE(config().GetPassword(), password);
    }

    void isNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("point") << "12.5" << true;
        QTest::newRow("comma") << "12,5" << false;
        QTest::newRow("blanks around") << " 3 " << true;
        QTest::newRow("exponent, negative") << "-1e3" << true;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("infinity") << "inf" << false;
        QTest::newRow("not a number") << "nan" << false;
        QTest::newRow("currency") << "150 Kč" << false;
    }
    void isNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QCOMPARE(CConfig::IsNumber(text), number);
    }

    void columnWidths()
    {
        QCOMPARE(config().GetColumnWidth(u"OrderList"_s, 1, 110), 110);
        config().SetColumnWidth(u"OrderList"_s, 1, 140);
        QCOMPARE(row(u"CWOrderList1"_s), u"140"_s);
        QCOMPARE(config().GetColumnWidth(u"OrderList"_s, 1, 110), 140);
        QCOMPARE(config().GetColumnWidth(u"OrderList"_s, 0, 75), 75);
        config().SetConfigValue(u"CWOrderList0"_s, u"široký"_s);
        QCOMPARE(config().GetColumnWidth(u"OrderList"_s, 0, 75), 75);
    }

    // The per-user values live under KVL/RPX2 with their own names, not in the shop's table.
    void perUserValues()
    {
        QCOMPARE(config().GetDBFileName(), QString());
        QCOMPARE(config().GetOrderAgeFilter(), 3);
        QSettings settings(u"KVL"_s, u"RPX2"_s);
        settings.setValue(u"OrderAgeFilter"_s, u"hodně"_s);
        QCOMPARE(config().GetOrderAgeFilter(), 3);

        config().SetLogoFileName(u"C:/Obrázky/logo.png"_s);
        config().SetDBFileName(u"D:/Data/rpx3.db"_s);
        config().SetSummaryFilePath(u"C:/Přehledy/"_s);
        config().SetOrderAgeFilter(0); // 0 is a real choice, not "unreadable"
        QCOMPARE(config().GetLogoFileName(), u"C:/Obrázky/logo.png"_s);
        QCOMPARE(config().GetSummaryFilePath(), u"C:/Přehledy/"_s);
        QCOMPARE(config().GetOrderAgeFilter(), 0);
        settings.sync();
        QCOMPARE(settings.value(u"DBFileName"_s).toString(), u"D:/Data/rpx3.db"_s);
        QCOMPARE(row(u"DBFileName"_s), u"<missing>"_s);
    }

    // Two programs on one database: a change made by one is read by the other at once.
    void settingsAreNotCached()
    {
        TRpx2Data other(nullptr, u"RPX2"_s, nullptr);
        other.OpenFile(AppPaths::databaseFile());
        QCOMPARE(config().GetDaysToDeadline(), 7);
        other.config().SetDaysToDeadline(10);
        QCOMPARE(config().GetDaysToDeadline(), 10);
    }

    void createdInProgramText()
    {
        config().SetLanguage(u"pl"_s);
        QCOMPARE(config().GetCreatedInProgramText(), u"Utworzono w programie Repaxo"_s);
        config().SetLanguage(u"sk"_s);
        QCOMPARE(config().GetCreatedInProgramText(), u"Vytvořeno v programu Repaxo"_s);
    }
};

QTEST_GUILESS_MAIN(TstConfig)
#include "tst_config.moc"
