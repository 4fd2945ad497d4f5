// The mailto: link of a customer e-mail: the encoding of subject and body and the cut of a
// link that is too long for the desktop's mail hand-off.
#include "maillink.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestNotify : public QObject
{
    Q_OBJECT

private slots:
    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("subject") << u"Zakázka 2024-00001"_s << u"Zak%c3%a1zka%202024%2d00001"_s;
        QTest::newRow("line breaks and signs")
            << u"a+b&c=d?\r\n%"_s << u"a%2bb%26c%3dd%3f%0d%0a%25"_s;
        QTest::newRow("beyond the basic plane") << u"😀"_s << u"%f0%9f%98%80"_s;
    }

    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        QCOMPARE(MailLink::encode(text), encoded);
    }

    void build_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("end"); // how the link ends

        // "mailto:a@b.cz?subject=" + "&body=" take 28 bytes, the subject "S" one more.
        QTest::newRow("short, untouched")
            << u"S"_s << u"Dobrý den"_s << 45 << u"?subject=S&body=Dobr%c3%bd%20den"_s;
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

    void build()
    {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(int, length);
        QFETCH(QString, end);

        const QString link = MailLink::build(u"a@b.cz"_s, subject, body);
        QCOMPARE(link.toUtf8().size(), length);
        QVERIFY(link.startsWith(u"mailto:a@b.cz?subject="_s));
        QVERIFY2(link.endsWith(end), qPrintable(link.right(40)));
    }
};

QTEST_GUILESS_MAIN(TestNotify)
#include "tst_notify.moc"
