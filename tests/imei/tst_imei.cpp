// The core of taking a device in and notifying its owner: the IMEI check digit, the visit
// marks of a returning device, the stolen-phone register's web client against a local
// stand-in of the register, and the mailto: link of a customer e-mail.
#include "fakeregister.h"

#include "imei.h"
#include "maillink.h"
#include "records.h"
#include "rpxerror.h"
#include "stolenphoneregister.h"

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
        QTest::newRow("last digit mistyped") << u"490154203237517"_s << true;
        QTest::newRow("first two swapped") << u"940154203237518"_s << true;
        // Only a 15-digit text is judged: anything else may be a placeholder or a serial.
        QTest::newRow("14 digits") << u"35693803564380"_s << false;
        QTest::newRow("letter") << u"35693803564380x"_s << false;
    }

    void checkDigit()
    {
        QFETCH(QString, imei);
        QTEST(Imei::checkDigitWrong(imei), "wrong");
    }

    void visitMark_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("number");
        QTest::newRow("first return") << u"Nenabíjí"_s << u"1"_s;
        QTest::newRow("second return") << u"Nenabíjí\r\n1.1.24\r\n1/"_s << u"2"_s;
        QTest::newRow("1/ already there") << u"Baterie 1/2 kapacity"_s << u"2"_s;
        QTest::newRow("backslash counts") << u"1\\ 2/"_s << u"3"_s;
        QTest::newRow("10/ is not 1/") << u"10/"_s << u"1"_s;
    }

    void visitMark()
    {
        QFETCH(QString, fault);
        QFETCH(QString, number);
        COrder order;
        order.OrderReceiptDate = QDateTime(QDate(2025, 3, 5), QTime(14, 30));
        order.OrderIssueDate = QDateTime(QDate(2025, 3, 12), QTime(9, 0));
        order.OrderFaultDescription = fault;
        order.OrderRepairDescription = u"Výměna konektoru"_s;
        order.OrderFinalPricePrimary = 1250.5;
        order.AppendVisitMark();
        const QLocale system = QLocale::system();
        QCOMPARE(order.OrderFaultDescription,
                 fault + u"\r\n"_s + system.toString(QDate(2025, 3, 5), QLocale::ShortFormat)
                     + u"\r\n"_s + number + u'/');
        QCOMPARE(order.OrderRepairDescription,
                 u"Výměna konektoru\r\n"_s
                     + system.toString(QDate(2025, 3, 12), QLocale::ShortFormat)
                     + u"; 1250.50\r\n"_s + number + u'/');
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
        for (const QByteArray &request : server.requests)
            QVERIFY(request.contains("\r\nAccept: text/html, */*")
                    && request.contains("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)"));
        // Whatever a clerk types reaches the register as one value of the form.
        client.isStolen(server.url(), u"12&x=1 #"_s);
        QVERIFY(server.requestLine(3).endsWith("tbImei=12%26x%3D1%20%23 HTTP/1.1"));
    }

    // The verdict, and a check that could not be made (no page state, an error, no answer
    // within the time limit, no register at all), which is never "not stolen".
    void registerVerdict_data()
    {
        QTest::addColumn<QByteArray>("formPage"); // empty: the stand-in's form page
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("status"); // HTTP status; 0: no answer, -1: no register
        QTest::addColumn<QString>("verdict"); // "stolen", "not stolen" or the failure's text

        const QByteArray page, found(">byl nalezen");
        QTest::newRow("found") << page << QByteArray("<td><b>IMEI</b></td><td>byl nalezen") << 200
                               << u"stolen"_s;
        QTest::newRow("words after a letter")
            << page << QByteArray("<p>IMEI nebyl nalezen</p><p>xbyl nalezen</p>") << 200
            << u"not stolen"_s;
        QTest::newRow("form page without page state")
            << QByteArray("<form><input name=\"ctl00$Application$tbImei\"></form>") << found << 200
            << u"nemá očekávaný formulář"_s;
        QTest::newRow("server error") << page << found << 500 << u"registr odpověděl chybou 500."_s;
        QTest::newRow("no answer") << page << found << 0 << u"neodpověděl do 1 s."_s;
        QTest::newRow("no register") << page << found << -1 << u"registr není dostupný"_s;
    }

    void registerVerdict()
    {
        QFETCH(QByteArray, formPage);
        QFETCH(QByteArray, answer);
        QFETCH(int, status);
        QFETCH(QString, verdict);

        auto server = std::make_unique<FakeRegister>();
        if (!formPage.isEmpty())
            server->formPage = formPage;
        server->answer = answer;
        server->status = status;
        server->silent = status == 0;
        const QString url = server->url();
        if (status < 0)
            server.reset();
        CStolenPhoneRegister client;
        client.setTimeout(400);
        QElapsedTimer clock;
        clock.start();
        QString result;
        try {
            result = client.isStolen(url, u"356938035643809"_s) ? u"stolen"_s : u"not stolen"_s;
        } catch (const RpxError &e) {
            result = e.message();
        }
        QVERIFY2(result.contains(verdict), qPrintable(result));
        QVERIFY(clock.elapsed() < 3000);
    }

    // The mailto: link: subject and body encoded, a link too long for the hand-off cut.
    void mailLink_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("end"); // how the link ends

        // "mailto:a@b.cz?subject=" and "&body=" take 28 bytes, the subject "S" one more.
        QTest::newRow("encoded") << u"Zakázka 2024-00001"_s << u"a+b&c=d?\r\n%"_s << 80
                                 << u"?subject=Zak%c3%a1zka%202024%2d00001"
                                    u"&body=a%2bb%26c%3dd%3f%0d%0a%25"_s;
        QTest::newRow("exactly the limit") << u"S"_s << QString(1971, u'a') << 2000 << u"aaa"_s;
        QTest::newRow("one byte over") << u"S"_s << QString(1972, u'a') << 2000 << u"aaa"_s;
        // Six bytes per letter: 328 whole letters fit, the 329th would split its sequence.
        QTest::newRow("two-byte letters")
            << u"S"_s << QString(400, u'ž') << 1997 << u"%c5%be%c5%be"_s;
        QTest::newRow("surrogate pairs")
            << u"S"_s << u"😀"_s.repeated(200) << 1997 << u"%98%80%f0%9f%98%80"_s;
        QTest::newRow("subject alone too long")
            << u"ž"_s.repeated(400) << u"tělo"_s << 1996 << u"%c5%be&body="_s;
    }

    void mailLink()
    {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(QString, end);

        const QString link = MailLink::build(u"a@b.cz"_s, subject, body);
        QTEST(int(link.toUtf8().size()), "length");
        QVERIFY(link.startsWith(u"mailto:a@b.cz?subject="_s));
        QVERIFY2(link.endsWith(end), qPrintable(link.right(40)));
    }
};

QTEST_GUILESS_MAIN(TestImei)
#include "tst_imei.moc"
