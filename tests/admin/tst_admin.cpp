// The owner's command-line tool, run as its own process against temporary folders: exit
// codes, the settings by type, the demo data as the core reads it back, the text check, the
// overview and the reports. The children get their own HOME, so no test touches the user's
// settings.
#include "apppaths.h"
#include "config.h"
#include "rpx2data.h"
#include "summaryshop.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

// Arguments separated by blanks.
QStringList words(const char *line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every order of the database, found by walking each year's numbers from 00001 up to the
// first gap. Callers compare the count with what was made: a gap or a number outside the
// years walked leaves orders unvisited.
QList<COrder> ordersByNumber(TRpx2Data &data)
{
    QList<COrder> orders;
    const int thisYear = QDate::currentDate().year();
    for (int year = thisYear - 3; year <= thisYear; ++year) {
        for (int counter = 1;; ++counter) {
            const auto order
                = data.GetOrder(u"%1-%2"_s.arg(year).arg(counter, 5, 10, QLatin1Char('0')));
            if (!order)
                break;
            orders.append(*order);
        }
    }
    return orders;
}

const QByteArray NotesText("Not a shop database, just notes.\n");

} // namespace

class TestAdmin : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home; // HOME of the child processes
    std::unique_ptr<QTemporaryDir> m_dir; // databases of one test, new for each

    QString dbPath(const QString &name = u"shop.db"_s) const { return m_dir->filePath(name); }

    Run admin(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u".config"_s));
        env.insert(u"LC_ALL"_s, u"cs_CZ.UTF-8"_s); // dates in reports as on a Czech system
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir->path());
        process.start(QCoreApplication::applicationDirPath() + u"/repaxo-admin"_s, arguments);
        Run run; // a child still running after two minutes is killed with the QProcess
        if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
            run.code = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }
    Run onDb(const QStringList &arguments, const QString &db = {})
    {
        return admin(QStringList { u"--db"_s, db.isEmpty() ? dbPath() : db } + arguments);
    }
    void createDb(const QString &path)
    {
        const Run run = admin({ u"init-db"_s, path });
        QVERIFY2(run.code == 0, qPrintable(run.err));
    }
    void demo(const char *arguments, const QString &db = {})
    {
        const Run run = onDb(words("demo-data") + words(arguments), db);
        QVERIFY2(run.code == 0, qPrintable(run.err));
    }
    // The value `config get` prints, without the line end.
    QString get(const QString &key)
    {
        const Run run = onDb({ u"config"_s, u"get"_s, key });
        if (run.code != 0)
            return u"<exit %1: %2>"_s.arg(run.code).arg(run.err);
        return run.out.chopped(run.out.endsWith(QLatin1Char('\n')) ? 1 : 0);
    }
    std::unique_ptr<TRpx2Data> open(const QString &path)
    {
        auto data = std::make_unique<TRpx2Data>(nullptr, u"RPX2"_s, nullptr);
        data->OpenFile(path);
        return data;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_home.isValid());
        QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + u"/repaxo-admin"_s),
                 "repaxo-admin is built beside the tests");
    }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile notes(dbPath(u"notes.txt"_s)); // a file that is no database
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write(NotesText) > 0);
    }

    // Created with the default states; without a path the file named by --db is created.
    void initDbCreatesOnceAndRefusesAnExistingFile()
    {
        const Run run = admin({ u"init-db"_s, dbPath() });
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(dbPath()));
        QCOMPARE(open(dbPath())->GetOrderStates().size(), 4);
        QCOMPARE(onDb(words("init-db"), dbPath(u"named.db"_s)).code, 0);
        QCOMPARE(admin({ u"init-db"_s, dbPath() }).code, 1);
    }

    void refusedCommandsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code"); // 2: a usage error; 1: a failure
        // Arguments separated by "|"; an empty one stands between two bars.
        auto row = [](const char *name, const char *line, int code = 2) {
            const QString text = QString::fromUtf8(line);
            QTest::newRow(name) << (text.isEmpty() ? QStringList() : text.split(QLatin1Char('|')))
                                << code;
        };
        row("nothing", "");
        row("unknown command", "frobnicate");
        row("unknown option", "--bogus|summary");
        row("--db with an empty path", "--db||summary");
        row("init-db with two paths", "init-db|a.db|b.db");
        row("init-db with an empty path", "init-db|");
        row("config set without value", "config|set|CashName");
        row("demo-data zero orders", "demo-data|--orders|0");
        row("demo-data orders not a number", "demo-data|--orders=ten");
        row("demo-data negative customers", "demo-data|--orders|5|--customers|-2");
        row("summary of no such report", "summary|week|--from|2025-02-28|--out|r.xls");
        row("summary day of a date not as YYYY-MM-DD", "summary|day|--from|28.2.2025|--out|r.xls");
        row("summary month 13", "summary|month|--year|2025|--month|13|--out|r.xls");
        row("print without a file", "print|receipt|2025-00001");
        row("print with an empty held list", "print|issue|2025-00001|--held|,|--pdf|a.pdf");
        // A missing database is not created by itself; a file that is none is left as it was.
        row("info on a missing file", "--db|missing.db|info", 1);
        row("config set on a missing file", "--db|missing.db|config|set|CashName|X", 1);
        row("info on no database", "--db|notes.txt|info", 1);
        row("config set on no database", "--db|notes.txt|config|set|CashName|X", 1);
        row("init-db over an existing file", "init-db|notes.txt", 1);
        row("init-db on a folder", "init-db|.", 1);
        row("init-db in no folder", "init-db|chybí/obchod.db", 1);
    }
    void refusedCommandsChangeNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        const Run run = admin(arguments);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.contains(u"Usage:"_s) == (code == 2), qPrintable(run.err));
        QVERIFY2(!run.err.contains(u"Error opening database"_s), qPrintable(run.err));
        QVERIFY(run.out.isEmpty() && !run.err.isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList { u"notes.txt"_s });
        QCOMPARE(fileBytes(dbPath(u"notes.txt"_s)), NotesText);
    }

    void printWritesThePdf_data()
    {
        QTest::addColumn<QString>("arguments"); // %1 and %2 stand for two stored orders
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said"); // on standard output, or on error output when failing

        // A missing folder is made, as for the summaries.
        QTest::newRow("receipt into a new folder")
            << u"print receipt %1 --pdf new/out.pdf"_s << 0 << u"Wrote the receipt (1 page) to "_s;
        QTest::newRow("held issue") << u"print issue %2 --held %2,%1 --pdf=out.pdf"_s << 0
                                    << u"Wrote the issue document (1 page) to "_s;
        QTest::newRow("unknown held order")
            << u"print issue %1 --held %1,2001-00001 --pdf out.pdf"_s << 1
            << u"there is no order 2001-00001"_s;
        QTest::newRow("a file where the folder should be")
            << u"print receipt %1 --pdf shop.db/out.pdf"_s << 1 << u"cannot be created"_s;
    }
    // The document the preview shows, written as PDF; a failure writes no file.
    void printWritesThePdf()
    {
        QFETCH(QString, arguments);
        QFETCH(int, code);
        QFETCH(QString, said);
        createDb(dbPath());
        QStringList ids;
        for (int i = 0; i < 2; ++i) {
            COrder order;
            order.OrderStateID = OrderStates::HandedBack;
            open(dbPath())->StoreNewOrder(order);
            ids.append(order.OrderID);
        }
        const Run run = onDb(arguments.arg(ids.at(0), ids.at(1)).split(u' '));
        QCOMPARE(run.code, code);
        QVERIFY2((code == 0 ? run.out : run.err).contains(said), qPrintable(run.out + run.err));
        const QString pdf = arguments.section(u' ', -1).section(u'=', -1);
        QCOMPARE(fileBytes(m_dir->filePath(pdf)).left(5),
                 code == 0 ? QByteArray("%PDF-") : QByteArray("<unre"));
    }

    void configSet_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected"); // what `config get` prints then; empty: refused
        auto row
            = [](const char *name, const char *key, const QString &value, const QString &expected) {
                  QTest::newRow(name) << QString::fromLatin1(key) << value << expected;
              };
        row("flag Yes", "ResetCounter", u"Yes"_s, u"1"_s);
        row("integer with blanks", "ReceiptPrintMode", u" 1 "_s, u"1"_s);
        row("real with exponent", "ExchangeRate", u"2.5e1"_s, u"25"_s);
        row("text", "CashName", u"Pokladna 2 – Žluťoučký kůň"_s, u"Pokladna 2 – Žluťoučký kůň"_s);
        const QString agreement = u"Záruka 6 měsíců. "_s.repeated(35); // 595 characters
        row("agreement over three pieces", "AgreementText", agreement, agreement);
        row("password, never shown", "Password", u"Tajné1"_s, u"(set)"_s);
        row("column width", "CWOrderList1", u"75"_s, u"75"_s);
        row("language in capitals", "Language", u"SK"_s, u"sk"_s);
        row("web address", "OrderWwwUrl", u"https://servis.example.cz/stav"_s,
            u"https://servis.example.cz/stav"_s);
        row("largest exchange rate", "ExchangeRate", u"999999.5"_s, u"999999.5"_s);

        row("flag maybe", "ResetCounter", u"maybe"_s, {});
        row("integer with a fraction", "DaysToDeadline", u"7.5"_s, {});
        row("counter beyond nine digits", "MaxOrderID", u"1000000000"_s, {});
        row("real with a comma", "ExchangeRate", u"25,5"_s, {});
        // Prices divided by these become infinite or meaningless.
        row("rate too small", "ExchangeRate", u"1e-320"_s, {});
        row("rate too large", "ExchangeRate", u"1000000"_s, {});
        // What the program would refuse to use: a program to run, a file outside its folder,
        // junk rows nobody reads.
        row("address of a program", "OrderWwwUrl", u"file:///usr/bin/xterm"_s, {});
        row("address without a scheme", "PcrImeiCheckUrl", u"imei.example.cz"_s, {});
        row("language outside the folder", "Language", u"../../x"_s, {});
        row("language without its file", "Language", u"xx"_s, {});
        row("column of no list", "CWCustomerSearch12", u"75"_s, {});
        QTest::newRow("long column key")
            << u"CW"_s + QString(5000, u'x') + u"1"_s << u"75"_s << QString();
        row("password outside the code page", "Password", u"密码"_s, {});
        row("unknown key", "NoSuchSetting", u"1"_s, {});
        row("piece of the agreement", "AgreementText2", u"x"_s, {});
    }
    void configSet()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        createDb(dbPath());
        const QString before = get(key);
        if (key == u"NoSuchSetting"_s) // an unknown key is a usage error for get, too
            QVERIFY2(before.startsWith(u"<exit 2"_s), qPrintable(before));
        const Run run = onDb({ u"config"_s, u"set"_s, key, value });
        QVERIFY2(run.code == (expected.isEmpty() ? 2 : 0), qPrintable(run.err));
        QVERIFY(run.out.isEmpty() && run.err.isEmpty() != expected.isEmpty());
        QCOMPARE(get(key), expected.isEmpty() ? before : expected);
        // The database holds what the typed setters store.
        if (expected == u"(set)"_s)
            QCOMPARE(open(dbPath())->ConfigRow(key).value_or(QString()), u"AB9E959116CE"_s);
        else if (key == u"AgreementText"_s)
            QCOMPARE(open(dbPath())->ConfigRow(u"AgreementText3"_s)->size(), 85);
    }

    void configListShowsEveryKeyButNotThePassword()
    {
        createDb(dbPath());
        QCOMPARE(onDb(words("config set Password heslo")).code, 0);
        const Run run = onDb(words("config list"));
        QCOMPARE(run.code, 0);
        const QString listed = u'\n' + run.out.simplified().replace(u' ', u'\n') + u'\n';
        for (const CConfig::KeyInfo &info : CConfig::keys())
            QVERIFY2(listed.contains(u'\n' + QString::fromLatin1(info.name) + u'\n'), info.name);
        QVERIFY(listed.contains(u"\nDBFileName\n"_s));
        QVERIFY(listed.contains(u"\nMainCurrency\nKč\n"_s)
                && listed.contains(u"\nPassword\n(set)\n"_s));
        QVERIFY2(!run.out.contains(u"heslo"_s), "the list does not show the password");

        // A damaged file: nothing can be read, which is a failure, not a list of defaults
        // with a password "(set)". The settings' own page is overwritten.
        qint64 page = 0;
        {
            TRpx2Data data(nullptr, u"RPX2"_s, nullptr);
            data.OpenFile(dbPath());
            QSqlQuery root = data.OpenQuery(
                u"SELECT rootpage FROM sqlite_master WHERE name = 't_config_01'"_s);
            QVERIFY(root.next());
            page = root.value(0).toLongLong();
        }
        QFile file(dbPath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek((page - 1) * 4096);
        file.write(QByteArray(4096, 'U'));
        file.close();
        const Run damaged = onDb(words("config list"));
        QCOMPARE(damaged.code, 1);
        QVERIFY2(damaged.err.contains(u"cannot read"_s), qPrintable(damaged.err));
        QVERIFY(!damaged.out.contains(u"(set)"_s));
    }

    // Numbers run 00001, 00002, ... in the year of intake without gaps, every state occurs,
    // handed-back orders are complete, and devices come back (of the same customer).
    void demoData()
    {
        createDb(dbPath());
        demo("--orders 300 --seed 11");
        const auto data = open(dbPath());
        const QList<COrder> orders = ordersByNumber(*data);
        QCOMPARE(orders.size(), 300);
        QCOMPARE(data->GetOrderCount(), 300);
        QSet<int> states;
        QHash<QString, int> ownerOfImei;
        int returning = 0, thisYear = 0;
        for (const COrder &o : orders) {
            QCOMPARE(o.OrderID.left(4).toInt(), o.OrderReceiptDate.date().year());
            states.insert(o.OrderStateID);
            if (o.OrderStateID == OrderStates::HandedBack)
                QVERIFY2(o.OrderIssueDate > o.OrderReceiptDate
                             && !o.OrderRepairDescription.isEmpty()
                             && !o.OrderEngineerName.isEmpty(),
                         qPrintable(o.OrderID));
            const auto owner = ownerOfImei.constFind(o.OrderPhoneIMEI);
            if (owner != ownerOfImei.cend()) {
                QCOMPARE(*owner, o.OrderCustomerID);
                ++returning;
            }
            ownerOfImei.insert(o.OrderPhoneIMEI, o.OrderCustomerID);
            thisYear += o.OrderID.startsWith(QString::number(QDate::currentDate().year())) ? 1 : 0;
        }
        QCOMPARE(states, (QSet<int> { 1, 2, 3, 4 }));
        QVERIFY(returning > 0);
        // The counter stands at this year's last number: the next order follows it.
        if (thisYear > 0)
            QCOMPARE(data->config().GetMaxOrderID(), thisYear);
        // The operations log lies beside the database named on the command line.
        QVERIFY(fileBytes(m_dir->filePath(u"rpx-operations.csv"_s)).count("\r\n") >= 300);
    }

    // A run that fails part-way (disk full at the 1500th order) keeps the batches stored so
    // far, and the shop's counter where the next real order continues from it.
    void demoDataFailingPartWayKeepsTheCounter()
    {
        createDb(dbPath());
        QCOMPARE(onDb(words("config set MaxOrderID 7")).code, 0);
        open(dbPath())->ExecuteCommand(
            u"CREATE TRIGGER full_disk BEFORE INSERT ON t_order_02 "
            "WHEN (SELECT count(*) FROM t_order_02) >= 1500 "
            "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"_s);
        const Run run = onDb(words("demo-data --orders 2000"));
        QCOMPARE(run.code, 1);
        QCOMPARE(open(dbPath())->GetOrderCount(), 1000); // the first batch
        QCOMPARE(get(u"MaxOrderID"_s), u"7"_s); // the first half of three years: none of this year
    }

    // A shop whose counter stands above the demo's numbers keeps it, and more customers than
    // orders are made all the same. The last number is found by the counter, not as text:
    // "2026-100001" comes after "2026-99999".
    void info()
    {
        createDb(dbPath());
        QCOMPARE(onDb(words("config set MaxOrderID 5000")).code, 0);
        demo("--orders 30 --customers 40");
        auto info = [this] {
            const Run run = onDb(words("info"));
            QMap<QString, QString> lines;
            for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
                const qsizetype colon = line.indexOf(u':');
                if (line.startsWith(u' ')) // one line per state, adding up to all orders
                    lines[u"counted"_s] = QString::number(lines.value(u"counted"_s).toInt()
                                                          + line.section(u' ', -1).toInt());
                else if (colon > 0)
                    lines.insert(line.left(colon), line.mid(colon + 1).trimmed());
            }
            return lines;
        };
        QMap<QString, QString> lines = info();
        QCOMPARE(lines.value(u"Database"_s), QFileInfo(dbPath()).absoluteFilePath());
        QCOMPARE(lines.value(u"Orders"_s) + u'/' + lines.value(u"counted"_s) + u'/'
                     + lines.value(u"Customers"_s) + u'/' + lines.value(u"MaxOrderID"_s),
                 u"30/30/40/5000"_s);
        const QString year = QString::number(QDate::currentDate().year());
        for (const QString &counter : { u"99999"_s, u"100001"_s }) {
            COrder order;
            order.OrderID = year + u'-' + counter;
            order.OrderReceiptDate = QDateTime::currentDateTime();
            open(dbPath())->StoreOrder(order);
        }
        QCOMPARE(info().value(u"Last number of "_s + year), year + u"-100001"_s);
    }

    void reports_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("golden"); // the file as expected; empty: none written
        QTest::addColumn<QString>("err"); // what standard error says
        auto row = [](const char *name, const char *line, int code, const char *golden,
                      const QString &err) {
            QTest::newRow(name) << QString::fromUtf8(line).split(QLatin1Char('|')) << code
                                << QString::fromUtf8(golden) << err;
        };
        row("days from-to into a new folder",
            "summary|day|--from|2025-02-27|--to|2025-03-01|--out|new/day.xls", 0, "day-range", {});
        row("year", "summary|year|--year=2025|--out=y.xls", 0, "year", {});
        row("engineers", "summary|engineer|--from|2025-02-01|--to|2025-02-28|--out|e.xls", 0,
            "engineers", {});
        row("export of an unknown type",
            "export|--from|2025-02-28|--to|2025-02-28|--type|Nic takového|--out|x.xls", 0, "export",
            u"No repair type is named \"Nic takového\": orders of every type were exported.\n"_s);
        row("a day without orders", "summary|day|--from|2025-02-28|--to|2025-02-27|--out|n.xls", 0,
            "day-empty", u"Pro zadané kritérium nebyly nalezeny žádné zakázky.\n"_s);
        row("a file that cannot be written", "summary|month|--year|2025|--month|2|--out|db/m.xls",
            1, "",
            u"repaxo-admin: Nezdařilo se vytvořit soubor s tiskem.\nZkontrolujte, zda se souborem "
            "již nepracuje jiná aplikace.\n"_s);
    }
    // The dialog's reports from the command line, on a Czech system.
    void reports()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, golden);
        QFETCH(QString, err);
        createDb(dbPath(u"db"_s)); // a file where the unwritable row wants a folder
        AppPaths::setProgramDir(m_dir->path()); // the operations log of the orders stored here
        addSummaryOrders(*open(dbPath(u"db"_s)));
        AppPaths::setProgramDir({});
        const Run run = onDb(arguments, dbPath(u"db"_s));
        QCOMPARE(run.code, code);
        QVERIFY2(code == 0 ? run.err == err : run.err.startsWith(err), qPrintable(run.err));
        if (code == 0) {
            const QString file = m_dir->filePath(arguments.last().section(u'=', -1));
            QVERIFY2(run.out.startsWith(u"Wrote "_s + file), qPrintable(run.out));
            compareWithGolden(file, golden);
        } else {
            QVERIFY(run.out.isEmpty());
        }
    }

    // The shipped files pass; a key the program does not know, added to one file, fails.
    void checkTexts()
    {
        const QString shipped = QCoreApplication::applicationDirPath();
        for (const QString &name : QDir(shipped).entryList({ u"Rpx_*.txt"_s }))
            QVERIFY(QFile::copy(shipped + QLatin1Char('/') + name, m_dir->filePath(name)));
        QCOMPARE(admin({ u"check-texts"_s, m_dir->path() }).out, u"OK\n"_s);
        QFile polish(m_dir->filePath(u"Rpx_pl.txt"_s));
        QVERIFY(polish.open(QIODevice::Append));
        polish.write("\r\nRpx2.NoSuchCaption = \"Nic\"\r\n");
        polish.close();
        const Run run = admin({ u"check-texts"_s, m_dir->path() });
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.contains(u"Rpx2.NoSuchCaption"_s), qPrintable(run.out));
        QVERIFY(!run.out.contains(u"OK\n"_s) && !run.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAdmin)
#include "tst_admin.moc"
