// IMEI checks of the core: the check digit, the visit marks of a returning device and the
// stolen-phone register's web client against a local stand-in of the register.
#include "fakeregister.h"

#include "imei.h"
#include "records.h"
#include "rpxerror.h"
#include "stolenphoneregister.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestImei : public QObject
{
    Q_OBJECT

private slots:
    void checkDigit_data()
    {
        QTest::addColumn<QString>("imei");
        QTest::addColumn<bool>("wrong");
        QTest::newRow("real") << u"490154203237518"_s << false;
        QTest::newRow("real too") << u"356938035643809"_s << false;
        QTest::newRow("last digit mistyped") << u"490154203237517"_s << true;
        QTest::newRow("middle digit mistyped") << u"356938036643809"_s << true;
        QTest::newRow("first two swapped") << u"940154203237518"_s << true;
        // Only a 15-digit text is judged: anything else may be a placeholder or a serial.
        QTest::newRow("14 digits") << u"35693803564380"_s << false;
        QTest::newRow("16 digits") << u"3569380356438090"_s << false;
        QTest::newRow("blank inside") << u"3569380356 3809"_s << false;
        QTest::newRow("letter") << u"35693803564380x"_s << false;
        QTest::newRow("Arabic-Indic digits") << u"٣٥٦٩٣٨٠٣٥٦٤٣٨٠٩"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void checkDigit()
    {
        QFETCH(QString, imei);
        QFETCH(bool, wrong);
        QCOMPARE(Imei::checkDigitWrong(imei), wrong);
    }

    void visitMark_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("visits"); // AppendVisitMark calls
        QTest::addColumn<QString>("lastNumber");

        QTest::newRow("first return") << u"Nenabíjí"_s << 1 << u"1"_s;
        QTest::newRow("second return") << u"Nenabíjí"_s << 2 << u"2"_s;
        QTest::newRow("1/ already there") << u"Baterie 1/2 kapacity"_s << 1 << u"2"_s;
        QTest::newRow("backslash counts") << u"1\\ 2/"_s << 1 << u"3"_s;
        QTest::newRow("10/ is not 1/") << u"10/"_s << 1 << u"1"_s;
    }

    void visitMark()
    {
        QFETCH(QString, fault);
        QFETCH(int, visits);
        QFETCH(QString, lastNumber);

        COrder order;
        order.OrderReceiptDate = QDateTime(QDate(2025, 3, 5), QTime(14, 30));
        order.OrderIssueDate = QDateTime(QDate(2025, 3, 12), QTime(9, 0));
        order.OrderFaultDescription = fault;
        order.OrderRepairDescription = u"Výměna konektoru"_s;
        order.OrderFinalPricePrimary = 1250.5;
        const QString received
            = QLocale::system().toString(QDate(2025, 3, 5), QLocale::ShortFormat);
        const QString issued = QLocale::system().toString(QDate(2025, 3, 12), QLocale::ShortFormat);
        for (int i = 0; i < visits; ++i)
            order.AppendVisitMark();
        QVERIFY2(order.OrderFaultDescription.endsWith(u"\r\n"_s + received + u"\r\n"_s + lastNumber
                                                      + u'/'),
                 qPrintable(order.OrderFaultDescription));
        QVERIFY2(order.OrderRepairDescription.endsWith(u"\r\n"_s + issued + u"; 1250.50\r\n"_s
                                                       + lastNumber + u'/'),
                 qPrintable(order.OrderRepairDescription));
        QVERIFY(order.OrderFaultDescription.startsWith(fault + u"\r\n"_s));
        QVERIFY(order.OrderRepairDescription.startsWith(u"Výměna konektoru\r\n"_s));
    }

    // Page state read from the form page right before the check, every value URL-encoded,
    // the IMEI cut to 14 characters, the register's headers on both requests.
    void registerRequest()
    {
        FakeRegister server;
        CStolenPhoneRegister client;
        QCOMPARE(client.isStolen(server.url(), u"3569380356438090"_s), false);
        QCOMPARE(server.requests.size(), 2);
        QCOMPARE(server.requestLine(0), QByteArray("GET /pcr/imei.aspx HTTP/1.1"));
        QCOMPARE(server.requestLine(1),
                 QByteArray("GET /pcr/imei.aspx?__VIEWSTATE=%2FwEPDwUK%2BMTY%3D"
                            "&__EVENTVALIDATION=%2FwEW%26Ag%3D%3D"
                            "&ctl00%24Application%24tbImei=35693803564380 HTTP/1.1"));
        for (int n : { 0, 1 }) {
            QCOMPARE(server.header(n, "Accept"), QByteArray("text/html, */*"));
            QCOMPARE(server.header(n, "User-Agent"),
                     QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
        }
        // Whatever a clerk types reaches the register as one value of the form.
        client.isStolen(server.url(), u"12&x=1 #"_s);
        QVERIFY(server.requestLine(3).endsWith("tbImei=12%26x%3D1%20%23 HTTP/1.1"));
    }

    void registerVerdict_data()
    {
        QTest::addColumn<QByteArray>("formPage"); // empty: the stand-in's form page
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("verdict"); // "stolen", "not stolen" or the failure's text

        const QByteArray page;
        QTest::newRow("found") << page << QByteArray("<td><b>IMEI</b></td><td>byl nalezen") << 200
                               << u"stolen"_s;
        QTest::newRow("words after a letter")
            << page << QByteArray("<p>IMEI nebyl nalezen</p><p>xbyl nalezen</p>") << 200
            << u"not stolen"_s;
        QTest::newRow("words after a blank")
            << page << QByteArray("<b>IMEI</b> byl nalezen") << 200 << u"not stolen"_s;
        QTest::newRow("page without verdict")
            << page << QByteArray("<h1>Údržba</h1>") << 200 << u"not stolen"_s;
        QTest::newRow("form page without page state")
            << QByteArray("<form><input name=\"ctl00$Application$tbImei\"></form>")
            << QByteArray(">byl nalezen") << 200 << u"nemá očekávaný formulář"_s;
        QTest::newRow("server error") << page << QByteArray(">byl nalezen") << 500
                                      << u"registr odpověděl chybou 500."_s;
    }

    void registerVerdict()
    {
        QFETCH(QByteArray, formPage);
        QFETCH(QByteArray, answer);
        QFETCH(int, status);
        QFETCH(QString, verdict);

        FakeRegister server;
        if (!formPage.isEmpty())
            server.formPage = formPage;
        server.answer = answer;
        server.status = status;
        CStolenPhoneRegister client;
        QString result;
        try {
            result = client.isStolen(server.url(), u"356938035643809"_s) ? u"stolen"_s
                                                                         : u"not stolen"_s;
        } catch (const RpxError &e) {
            result = e.message();
        }
        QVERIFY2(result.contains(verdict), qPrintable(result));
    }

    // A register that never answers, or is not there at all, fails the check within the
    // time limit instead of reporting the phone as not stolen.
    void registerUnreachable()
    {
        FakeRegister silent;
        silent.silent = true;
        QString closedUrl;
        {
            FakeRegister closed;
            closedUrl = closed.url();
        }
        for (const QString &url : { silent.url(), closedUrl }) {
            CStolenPhoneRegister client;
            client.setTimeout(400);
            QElapsedTimer clock;
            clock.start();
            QVERIFY_THROWS_EXCEPTION(RpxError, client.isStolen(url, u"356938035643809"_s));
            QVERIFY(clock.elapsed() < 3000);
        }
        QCOMPARE(silent.requests.size(), 1); // no check sent without the page state
    }
};

QTEST_GUILESS_MAIN(TestImei)
#include "tst_imei.moc"
