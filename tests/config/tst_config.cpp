// The shop's settings in t_config_01 and the per-user values: defaults, conversions and the
// way long or scrambled values are kept.
#include "config.h"
#include "testshop.h"

#include <QtTest>

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

    std::unique_ptr<DataShop> m_s;

    CConfig &config() { return m_s->data.config(); }

private slots:
    void initTestCase()
    {
        // Every conversion uses "." whatever the user's regional settings say.
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    }
    void init()
    {
        m_s = std::make_unique<DataShop>();
        // A new database comes with a few rows; these tests start from an empty table.
        m_s->data.ExecuteCommand(u"DELETE FROM t_config_01"_s);
    }
    void cleanup() { m_s.reset(); }

    void storedTextReads_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored"); // null: no row
        QTest::addColumn<Getter>("get");
        QTest::addColumn<QVariant>("expected"); // invalid: reading raises an error naming the text

        const Getter printReceipt = [](CConfig &c) { return c.GetPrintReceipt(); };
        const Getter days = [](CConfig &c) { return c.GetDaysToDeadline(); };
        const Getter rate = [](CConfig &c) { return c.GetExchangeRate(); };
        const QString none;
        // The default of a flag applies only when the row is missing, not when it is empty.
        QTest::newRow("flag missing") << "PrintReceipt" << none << printReceipt << QVariant(true);
        QTest::newRow("flag empty") << "PrintReceipt" << u""_s << printReceipt << QVariant(false);
        QTest::newRow("flag true") << "PrintReceipt" << "true" << printReceipt << QVariant(false);
        QTest::newRow("integer word") << "DaysToDeadline" << "týden" << days << QVariant(7);
        QTest::newRow("integer fraction") << "DaysToDeadline"
                                          << "7.5" << days << QVariant(7);
        QTest::newRow("currency empty")
            << "MainCurrency" << u""_s << Getter([](CConfig &c) { return c.GetMainCurrency(); })
            << QVariant(u"Kč"_s);
        QTest::newRow("rate empty") << "ExchangeRate" << "" << rate << QVariant(25.0);
        QTest::newRow("rate 1e2") << "ExchangeRate" << "1e2" << rate << QVariant(100.0);
        QTest::newRow("rate word") << "ExchangeRate" << "abc" << rate << QVariant();
        QTest::newRow("rate with a decimal comma")
            << "ExchangeRate" << u"27,5"_s << rate << QVariant();
    }
    // Reading never writes a row.
    void storedTextReads()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(Getter, get);
        QFETCH(QVariant, expected);
        if (!stored.isNull())
            config().SetConfigValue(key, stored);
        if (expected.isValid())
            QCOMPARE(get(config()), expected);
        else
            QVERIFY_THROWS_EXCEPTION(RpxError, get(config()));
        QCOMPARE(m_s->data.ConfigRow(key).has_value(), !stored.isNull());
    }

    // Fifteen significant digits, no exponent for a million.
    void exchangeRateWrittenInGeneralFormat()
    {
        for (const auto &[rate, stored] :
             { std::pair(1.0 / 3, u"0.333333333333333"_s), std::pair(1e6, u"1000000"_s) }) {
            config().SetExchangeRate(rate);
            QCOMPARE(m_s->data.ConfigRow(u"ExchangeRate"_s).value_or(QString()), stored);
        }
    }

    void agreementTextPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("pieces");
        QTest::addColumn<int>("readBack");
        QTest::newRow("600") << czechText(600) << QList<int> { 255, 255, 90, 0, 0, 0 } << 600;
        QTest::newRow("1600 truncated") << czechText(1600) << QList<int>(6, 255) << 1530;
        // A character of two UTF-16 units at the end of a piece is not cut in half.
        QTest::newRow("emoji across a piece boundary")
            << QString(254, u'a') + u"😀 podmínky ✔"_s << QList<int> { 254, 13, 0, 0, 0, 0 } << 267;
    }
    // A shorter text stored over a longer one clears the old tail.
    void agreementTextPieces()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, pieces);
        QFETCH(int, readBack);
        config().SetAgreementText(czechText(1000));
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
        m_s->data.ExecuteCommand(u"CREATE TRIGGER full_disk BEFORE UPDATE ON t_config_01 "
                                 "WHEN NEW.ConfigKey = 'AgreementText4' "
                                 "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"_s);
        QVERIFY_THROWS_EXCEPTION(RpxError, config().SetAgreementText(QString(1200, u'x')));
        QCOMPARE(config().GetAgreementText(), old);
    }

    void passwordScrambling_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << u""_s << u""_s;
        // Windows-1250: Ř = D8, ř = F8, í = ED.
        QTest::newRow("Czech") << "Řeřicha" << "279A07969C979E";
        QTest::newRow("Czech ending í") << "kí" << "9412";
        // The byte form cannot hold these: stored, they would read back as other text and lock
        // the shop out of its own protected actions.
        QTest::newRow("Cyrillic") << u"Пароль"_s << u"refused"_s;
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
        QTest::newRow("comma") << "12,5" << false;
        QTest::newRow("blanks around") << " 3 " << true;
        QTest::newRow("exponent, negative") << "-1e3" << true;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("infinity") << "inf" << false;
        QTest::newRow("not a number") << "nan" << false;
    }
    void isNumber()
    {
        QFETCH(QString, text);
        QTEST(CConfig::IsNumber(text), "number");
    }

    // A width that cannot be read gives the default. Two programs on one database: a change
    // made by one is read by the other at once.
    void columnWidthsAndSettingsAreNotCached()
    {
        TRpx2Data other(nullptr, u"RPX2"_s, nullptr);
        other.OpenFile(AppPaths::databaseFile());
        QCOMPARE(config().GetColumnWidth(u"OrderList"_s, 1, 110), 110);
        other.config().SetColumnWidth(u"OrderList"_s, 1, 140);
        QCOMPARE(m_s->data.ConfigRow(u"CWOrderList1"_s).value_or(QString()), u"140"_s);
        QCOMPARE(config().GetColumnWidth(u"OrderList"_s, 1, 110), 140);
        config().SetConfigValue(u"CWOrderList0"_s, u"široký"_s);
        QCOMPARE(config().GetColumnWidth(u"OrderList"_s, 0, 75), 75);
    }

    // The per-user values live under KVL/RPX2, not in the shop's table; 0 is a real age
    // choice, not "unreadable".
    void perUserValues()
    {
        QSettings settings(u"KVL"_s, u"RPX2"_s);
        settings.setValue(u"OrderAgeFilter"_s, u"hodně"_s);
        QCOMPARE(config().GetOrderAgeFilter(), 3);
        config().SetOrderAgeFilter(0);
        QCOMPARE(config().GetOrderAgeFilter(), 0);
        config().SetDBFileName(u"D:/Data/rpx3.db"_s);
        settings.sync();
        QCOMPARE(settings.value(u"DBFileName"_s).toString(), u"D:/Data/rpx3.db"_s);
        QVERIFY(!m_s->data.ConfigRow(u"DBFileName"_s));
    }
};

QTEST_GUILESS_MAIN(TstConfig)
#include "tst_config.moc"
