// The summaries and the order list export as files: each report of a small fixed shop against
// its expected text, under a Czech locale (whose decimal separator is ","), the bytes on disk,
// and files that cannot be written.
#include "reportfile.h"
#include "summaryrunner.h"
#include "summaryshop.h"
#include "testshop.h"

#include <QtTest>

#include <clocale>

using namespace Qt::StringLiterals;

class TestSummary : public QObject
{
    Q_OBJECT

    std::unique_ptr<DataShop> m_s;
    int m_runs = 0;

    static QDate date(const QString &text) { return QDate::fromString(text, u"yyyy-MM-dd"_s); }

    // Runs the report named in a table row; extra is the year, "year-month" or repair type.
    int run(const QString &report, const QString &file, const QString &from, const QString &to,
            const QString &extra, bool *typeFound = nullptr)
    {
        SummaryRunner runner(m_s->data);
        if (report == u"day"_s || report == u"range"_s)
            return runner.day(file, date(from), date(to), report == u"range"_s);
        if (report == u"shop"_s)
            return runner.shop(file, date(from), date(to));
        if (report == u"month"_s)
            return runner.month(file, extra.left(4).toInt(), extra.mid(5).toInt());
        if (report == u"year"_s)
            return runner.year(file, extra);
        if (report == u"engineers"_s)
            return runner.engineers(file, date(from), date(to));
        return runner.orderList(file, date(from), date(to), extra, typeFound);
    }

private slots:
    void initTestCase()
    {
        // A Czech system: dates as "28.02.25", numbers with a decimal comma in QLocale and,
        // where the locale is installed, in the C library.
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8");
        m_s = std::make_unique<DataShop>();
        addSummaryOrders(m_s->data);
    }
    void cleanupTestCase()
    {
        m_s.reset();
        std::setlocale(LC_NUMERIC, "C");
    }

    void reports_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<int>("orders");
        QTest::addColumn<QString>("golden");
        auto row = [](const char *name, const char *report, const char *from, const char *to,
                      const char *extra, int orders, const char *golden) {
            QTest::newRow(name) << QString::fromUtf8(report) << QString::fromUtf8(from)
                                << QString::fromUtf8(to) << QString::fromUtf8(extra) << orders
                                << QString::fromUtf8(golden);
        };
        // 28 February: a free claim, a charged claim at the same minute (one heading), a
        // software job with a negative parts cost at 14:30, a sale at 23:59:59; the order
        // issued at midnight of 1 March and the one in another state stay out.
        row("one day", "day", "2025-02-28", "", "", 4, "day");
        row("days from-to, both ends whole", "range", "2025-02-27", "2025-03-01", "", 7,
            "day-range");
        row("to before from", "range", "2025-02-28", "2025-02-27", "", 0, "day-empty");
        row("shop sales of a range, titled with its first day", "shop", "2025-02-28", "2025-12-31",
            "", 2, "shop");
        row("February: 31 rows, 1 March at midnight out", "month", "", "", "2025-02", 6, "month");
        row("the year by months", "year", "", "", "2025", 8, "year");
        // Hidden "Skrytý" and "Svoboda " (trailing blank) count nowhere; Dvořák has no order.
        row("engineers of February", "engineers", "2025-02-01", "2025-02-28", "", 6, "engineers");
        row("export of every type and state", "export", "2025-02-28", "2025-02-28", "", 5,
            "export");
        row("export of one type, named in capitals", "export", "2025-02-28", "2025-02-28",
            "REKLAMACE", 2, "export-claims");
        row("export of an unknown type: every type", "export", "2025-02-28", "2025-02-28",
            "Nic takového", 5, "export");
    }
    void reports()
    {
        QFETCH(QString, report);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, extra);
        QFETCH(QString, golden);
        // Missing folders are created.
        const QString file = m_s->shop.path(u"reports/%1/%2.xls"_s.arg(++m_runs).arg(golden));
        bool typeFound = true;
        QTEST(run(report, file, from, to, extra, &typeFound), "orders");
        QCOMPARE(typeFound, extra != u"Nic takového"_s);
        compareWithGolden(file, golden);
    }

    // Windows-1250 without a byte-order mark; a character the code page lacks as a character
    // reference; an earlier, longer file replaced whole.
    void bytesOnDisk()
    {
        const QString file = m_s->shop.path(u"bytes.xls"_s);
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        QCOMPARE(run(u"export"_s, file, u"2025-02-28"_s, u"2025-02-28"_s, {}), 5);
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray bytes = old.readAll();
        QVERIFY(bytes.startsWith("<html>\n  <head><META http-equiv=\"Content-Type\" "));
        QVERIFY(bytes.endsWith("    </table>\n  </body>\n</html>\n"));
        QVERIFY(bytes.contains("<td align=\"left\">Nenab\xed\x6a\xed &#10003; kontrola</td>"));
        QVERIFY(!bytes.contains(QByteArray(20, 'x')));
    }

    void unwritableFiles_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("file");
        QTest::newRow("day, folder path through a file") << u"day"_s << u"plain.txt/report.xls"_s;
        QTest::newRow("export, a folder of that name") << u"export"_s << u"folder"_s;
        QTest::newRow("export, no name") << u"export"_s << QString();
    }
    void unwritableFiles()
    {
        QFETCH(QString, report);
        QFETCH(QString, file);
        QFile plain(m_s->shop.path(u"plain.txt"_s));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("notes\n");
        plain.close();
        QVERIFY(QDir().mkpath(m_s->shop.path(u"folder"_s)));
        const QString path = file.isEmpty() ? QString() : m_s->shop.path(file);
        try {
            run(report, path, u"2025-02-01"_s, u"2025-02-28"_s, u"2025-02"_s);
            QFAIL("no error");
        } catch (const ReportFileError &e) {
            QCOMPARE(e.message(),
                     u"Nezdařilo se vytvořit soubor s tiskem.\nZkontrolujte, zda se "
                     "souborem již nepracuje jiná aplikace."_s);
        }
        QCOMPARE(plain.size(), 6);
        QVERIFY(QDir(m_s->shop.path(u"folder"_s)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSummary)
#include "tst_summary.moc"
