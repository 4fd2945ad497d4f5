// The owner's command-line tool, run as its own process against temporary folders: exit
// codes, the settings by type, the demo data as the core reads it back, the text check and
// the summary. The children get their own HOME, so no test touches the user's settings.
#include "config.h"
#include "ordernumbering.h"
#include "rpx2data.h"
#include "textcheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

// Every order of the database, found by walking each year's numbers from 00001 up to the
// first gap. Callers compare the count with GetOrderCount(): a gap or a number outside
// the years walked leaves orders unvisited.
QList<COrder> ordersByNumber(TRpx2Data &data, int firstYear, int lastYear)
{
    QList<COrder> orders;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int counter = 1; counter <= OrderNumbering::MaxCounter; ++counter) {
            const auto order = data.GetOrder(OrderNumbering::Format(year, counter));
            if (!order)
                break;
            orders.append(*order);
        }
    }
    return orders;
}

COrder withoutDates(COrder order)
{
    order.OrderReceiptDate = {};
    order.OrderDeadlineDate = {};
    order.OrderIssueDate = {};
    return order;
}

} // namespace

class TestAdmin : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home; // HOME of the child processes
    std::unique_ptr<QTemporaryDir> m_dir; // databases of one test, new for each

    QString dbPath(const QString &name = QStringLiteral("shop.db")) const
    {
        return m_dir->filePath(name);
    }

    Run admin(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral(".config")));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir->path());
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/repaxo-admin"),
                      arguments);
        Run run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    Run onDb(const QStringList &arguments, const QString &db = {})
    {
        return admin(QStringList {QStringLiteral("--db"), db.isEmpty() ? dbPath() : db}
                     + arguments);
    }

    void createDb(const QString &path)
    {
        const Run run = admin({QStringLiteral("init-db"), path});
        QVERIFY2(run.code == 0, qPrintable(run.err));
    }

    // The value `config get` prints, without the line end.
    QString get(const QString &key)
    {
        const Run run = onDb({QStringLiteral("config"), QStringLiteral("get"), key});
        if (run.code != 0)
            return QStringLiteral("<exit %1: %2>").arg(run.code).arg(run.err);
        return run.out.chopped(run.out.endsWith(QLatin1Char('\n')) ? 1 : 0);
    }

    std::unique_ptr<TRpx2Data> open(const QString &path)
    {
        auto data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
        data->OpenFile(path);
        return data;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_home.isValid());
        QVERIFY2(
            QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/repaxo-admin")),
            "repaxo-admin is built beside the tests");
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void initDbCreatesOnceAndRefusesAnExistingFile()
    {
        Run run = admin({QStringLiteral("init-db"), dbPath()});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(dbPath()));
        const auto data = open(dbPath());
        QCOMPARE(data->GetOrderCount(), 0);
        QCOMPARE(data->GetOrderStates().size(), 4);

        run = admin({QStringLiteral("init-db"), dbPath()});
        QCOMPARE(run.code, 1);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(run.out.isEmpty());

        // Without a path the file named by --db is created.
        const QString named = dbPath(QStringLiteral("named.db"));
        QCOMPARE(onDb({QStringLiteral("init-db")}, named).code, 0);
        QCOMPARE(open(named)->GetOrderCount(), 0);

        // Any existing file is refused, and left as it was.
        const QString other = dbPath(QStringLiteral("notes.txt"));
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();
        QCOMPARE(admin({QStringLiteral("init-db"), other}).code, 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // Arguments separated by "|"; an empty one stands between two bars.
        auto row = [](const char *name, const char *line) {
            const QString text = QString::fromUtf8(line);
            QTest::newRow(name) << (text.isEmpty() ? QStringList() : text.split(QLatin1Char('|')));
        };
        row("nothing", "");
        row("unknown command", "frobnicate");
        row("unknown option", "--bogus|summary");
        row("--db without a path", "--db");
        row("--db with an empty path", "--db||summary");
        row("--db= with an empty path", "--db=|summary");
        row("init-db without a path", "init-db");
        row("init-db with two paths", "init-db|a.db|b.db");
        row("config alone", "config");
        row("config drop", "config|drop|CashName");
        row("config get without key", "config|get");
        row("config get with two keys", "config|get|CashName|Language");
        row("config set without value", "config|set|CashName");
        row("config list with a key", "config|list|CashName");
        row("summary with an argument", "summary|all");
        row("check-texts with two folders", "check-texts|a|b");
        row("demo-data without orders", "demo-data|--seed|3");
        row("demo-data zero orders", "demo-data|--orders|0");
        row("demo-data orders not a number", "demo-data|--orders=ten");
        row("demo-data orders without value", "demo-data|--orders");
        row("demo-data too many orders", "demo-data|--orders|5000000");
        row("demo-data negative customers", "demo-data|--orders|5|--customers|-2");
        row("demo-data bad seed", "demo-data|--orders|5|--seed|x");
        row("demo-data unknown option", "demo-data|--orders|5|--colour|red");
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const Run run = admin(arguments);
        QCOMPARE(run.code, 2);
        QVERIFY2(run.err.contains(QStringLiteral("Usage:")), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY2(QDir(m_dir->path()).isEmpty(), "a usage error creates nothing");
    }

    void helpIsNoError()
    {
        const Run run = admin({QStringLiteral("--help")});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(QStringLiteral("Usage:")));
        QVERIFY(run.err.isEmpty());
    }

    void failuresOnTheDatabase_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("arguments");
        const QStringList commands[] = {
            {QStringLiteral("summary")},
            {QStringLiteral("config"), QStringLiteral("get"), QStringLiteral("CashName")},
            {QStringLiteral("config"), QStringLiteral("set"), QStringLiteral("CashName"),
             QStringLiteral("X")},
            {QStringLiteral("config"), QStringLiteral("list")},
            {QStringLiteral("demo-data"), QStringLiteral("--orders"), QStringLiteral("5")},
        };
        for (const QStringList &command : commands) {
            QTest::addRow("missing file, %s", qPrintable(command.join(QLatin1Char(' '))))
                << QStringLiteral("missing.db") << command;
            QTest::addRow("not a database, %s", qPrintable(command.join(QLatin1Char(' '))))
                << QStringLiteral("notes.txt") << command;
        }
    }

    void failuresOnTheDatabase()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, arguments);
        const QByteArray text("Not a shop database, just notes.\n");
        if (file == QLatin1String("notes.txt")) {
            QFile f(dbPath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        const Run run = onDb(arguments, dbPath(file));
        QCOMPARE(run.code, 1);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!run.err.contains(QStringLiteral("Usage:")));
        if (file == QLatin1String("notes.txt")) {
            QFile f(dbPath(file));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), text);
        } else {
            QVERIFY2(!QFile::exists(dbPath(file)), "no database appears by itself");
        }
    }

    void configRoundTrip_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        auto row
            = [](const char *name, const char *key, const QString &value, const QString &expected) {
                  QTest::newRow(name) << QString::fromLatin1(key) << value << expected;
              };
        row("flag yes", "ResetCounter", QStringLiteral("yes"), QStringLiteral("1"));
        row("flag FALSE", "PrintReceipt", QStringLiteral("FALSE"), QStringLiteral("0"));
        row("flag true", "EasyCustomer", QStringLiteral("true"), QStringLiteral("1"));
        row("flag no", "JoinExistingOrder", QStringLiteral("no"), QStringLiteral("0"));
        row("flag 1", "UseSecondaryCurrency", QStringLiteral("1"), QStringLiteral("1"));
        row("integer", "DaysToDeadline", QStringLiteral("14"), QStringLiteral("14"));
        row("integer with blanks", "ReceiptPrintMode", QStringLiteral(" 1 "), QStringLiteral("1"));
        row("negative integer", "LMPhone", QStringLiteral("-1"), QStringLiteral("-1"));
        row("counter", "MaxOrderID", QStringLiteral("41"), QStringLiteral("41"));
        row("real", "ExchangeRate", QStringLiteral("24.35"), QStringLiteral("24.35"));
        row("real with exponent", "ExchangeRate", QStringLiteral("2.5e1"), QStringLiteral("25"));
        row("text", "CashName", QStringLiteral("Pokladna 2 – Žluťoučký kůň"),
            QStringLiteral("Pokladna 2 – Žluťoučký kůň"));
        row("empty text reads its default", "MainCurrency", QString(), QStringLiteral("Kč"));
        row("language", "Language", QStringLiteral("sk"), QStringLiteral("sk"));
        const QString agreement
            = QStringLiteral("Záruka 6 měsíců. ").repeated(35); // 595 characters
        row("agreement over three pieces", "AgreementText", agreement, agreement);
        row("password", "Password", QStringLiteral("Tajné1"), QStringLiteral("Tajné1"));
        row("logo file", "LogoFileName", QStringLiteral("/srv/logo ř.png"),
            QStringLiteral("/srv/logo ř.png"));
        row("database file", "DBFileName", QStringLiteral("/srv/rpx3.db"),
            QStringLiteral("/srv/rpx3.db"));
        row("age filter", "OrderAgeFilter", QStringLiteral("5"), QStringLiteral("5"));
        row("summary folder", "SummaryFilePath", QStringLiteral("/srv/tisk/"),
            QStringLiteral("/srv/tisk/"));
        row("column width", "CWOrderList1", QStringLiteral("140"), QStringLiteral("140"));
        row("column width, two digits", "CWCustomerSearch12", QStringLiteral("75"),
            QStringLiteral("75"));
    }

    void configRoundTrip()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        createDb(dbPath());
        const Run run = onDb({QStringLiteral("config"), QStringLiteral("set"), key, value});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(get(key), expected);

        // The database holds what the typed setters store.
        const auto data = open(dbPath());
        CConfig &config = data->config();
        if (key == QLatin1String("Password")) {
            QCOMPARE(data->ConfigRow(key).value_or(QString()), CConfig::ScramblePassword(value));
            QVERIFY(data->ConfigRow(key).value_or(QString()) != value);
        } else if (key == QLatin1String("AgreementText")) {
            QCOMPARE(data->ConfigRow(QStringLiteral("AgreementText1"))->size(), 255);
            QCOMPARE(data->ConfigRow(QStringLiteral("AgreementText3"))->size(), 85);
            QCOMPARE(
                data->ConfigRow(QStringLiteral("AgreementText4")).value_or(QStringLiteral("x")),
                QString());
        } else if (key == QLatin1String("ResetCounter")) {
            QCOMPARE(config.GetResetCounter(), true);
            QCOMPARE(data->ConfigRow(key), std::optional<QString>(QStringLiteral("1")));
        } else if (key == QLatin1String("ExchangeRate")) {
            QCOMPARE(config.GetExchangeRate(), expected.toDouble());
        }
    }

    void userValuesStayInTheChildsHome()
    {
        // Per-user values need no database and land in the HOME given to the child.
        const Run run = admin({QStringLiteral("config"), QStringLiteral("set"),
                               QStringLiteral("SummaryFilePath"), QStringLiteral("/srv/souhrny/")});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QSettings stored(m_home.filePath(QStringLiteral(".config/KVL/RPX2.conf")),
                         QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("SummaryFilePath")).toString(),
                 QStringLiteral("/srv/souhrny/"));
        QCOMPARE(admin({QStringLiteral("config"), QStringLiteral("get"),
                        QStringLiteral("SummaryFilePath")})
                     .out,
                 QStringLiteral("/srv/souhrny/\n"));
    }

    void configRejects_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        auto row = [](const char *name, const char *key, const QString &value) {
            QTest::newRow(name) << QString::fromLatin1(key) << value;
        };
        row("flag maybe", "ResetCounter", QStringLiteral("maybe"));
        row("flag empty", "PrintIssue", QString());
        row("integer with a fraction", "DaysToDeadline", QStringLiteral("7.5"));
        row("integer word", "TSAgreement", QStringLiteral("eight"));
        row("integer beyond 32 bits", "LMEngineer", QStringLiteral("4294967296"));
        row("counter below zero", "MaxOrderID", QStringLiteral("-1"));
        row("counter beyond nine digits", "MaxOrderID", QStringLiteral("1000000000"));
        row("real with a comma", "ExchangeRate", QStringLiteral("25,5"));
        row("real zero", "ExchangeRate", QStringLiteral("0"));
        row("real not a number", "ExchangeRate", QStringLiteral("nan"));
        row("password outside the code page", "Password", QStringLiteral("密码"));
        row("age filter out of range", "OrderAgeFilter", QStringLiteral("9"));
        row("column width word", "CWOrderList0", QStringLiteral("wide"));
        row("unknown key", "NoSuchSetting", QStringLiteral("1"));
        row("piece of the agreement", "AgreementText2", QStringLiteral("x"));
        row("key in lower case", "cashname", QStringLiteral("x"));
    }

    void configRejects()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        createDb(dbPath());
        const QString before = get(key);
        const Run run = onDb({QStringLiteral("config"), QStringLiteral("set"), key, value});
        QCOMPARE(run.code, 2);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(run.out.isEmpty());
        QCOMPARE(get(key), before);
    }

    void unknownKeyOnGet()
    {
        createDb(dbPath());
        const Run run = onDb(
            {QStringLiteral("config"), QStringLiteral("get"), QStringLiteral("NoSuchSetting")});
        QCOMPARE(run.code, 2);
        QVERIFY(run.err.contains(QStringLiteral("NoSuchSetting")));
    }

    void configListShowsEveryKey()
    {
        createDb(dbPath());
        QCOMPARE(onDb({QStringLiteral("config"), QStringLiteral("set"),
                       QStringLiteral("DaysToDeadline"), QStringLiteral("10")})
                     .code,
                 0);
        QCOMPARE(onDb({QStringLiteral("config"), QStringLiteral("set"), QStringLiteral("Password"),
                       QStringLiteral("heslo")})
                     .code,
                 0);
        const Run run = onDb({QStringLiteral("config"), QStringLiteral("list")});
        QCOMPARE(run.code, 0);
        QMap<QString, QString> listed;
        for (const QString &line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString key = line.section(QLatin1Char(' '), 0, 0);
            listed.insert(key, line.mid(key.size()).trimmed());
        }
        for (const CConfig::KeyInfo &info : CConfig::keys())
            QVERIFY2(listed.contains(QString::fromLatin1(info.name)), info.name);
        for (const char *user : {"LogoFileName", "DBFileName", "OrderAgeFilter", "SummaryFilePath"})
            QVERIFY2(listed.contains(QString::fromLatin1(user)), user);
        QCOMPARE(listed.value(QStringLiteral("DaysToDeadline")), QStringLiteral("10"));
        QCOMPARE(listed.value(QStringLiteral("MainCurrency")), QStringLiteral("Kč"));
        QCOMPARE(listed.value(QStringLiteral("PrintReceipt")), QStringLiteral("1"));
        QVERIFY2(!run.out.contains(QStringLiteral("heslo")), "the list does not show the password");
    }

    void demoData()
    {
        createDb(dbPath());
        const QDate today = QDate::currentDate();
        const Run run
            = onDb({QStringLiteral("demo-data"), QStringLiteral("--orders"), QStringLiteral("300"),
                    QStringLiteral("--seed"), QStringLiteral("11")});
        QVERIFY2(run.code == 0, qPrintable(run.err));

        const auto data = open(dbPath());
        QCOMPARE(data->GetOrderCount(), 300);
        // Numbers run 00001, 00002, ... in every year, without gaps, and carry the year of
        // intake.
        const QList<COrder> orders = ordersByNumber(*data, today.year() - 3, today.year());
        QCOMPARE(orders.size(), 300);

        QSet<int> states;
        QSet<int> types;
        QSet<QString> engineers;
        QSet<QString> models;
        QSet<int> customers;
        QMap<QString, int> imeis;
        int withBattery = 0;
        int withoutPhoneNo = 0;
        int withoutMail = 0;
        for (const COrder &o : orders) {
            const QString context = o.OrderID;
            QVERIFY2(o.OrderReceiptDate.isValid(), qPrintable(context));
            QCOMPARE(o.OrderID.left(4).toInt(), o.OrderReceiptDate.date().year());
            QVERIFY2(o.OrderReceiptDate.date() >= today.addYears(-3).addDays(-1),
                     qPrintable(context));
            QVERIFY2(o.OrderReceiptDate.date() <= today, qPrintable(context));
            QVERIFY2(o.OrderDeadlineDate > o.OrderReceiptDate, qPrintable(context));
            QCOMPARE(o.OrderPhoneIMEI.size(), 15);
            QVERIFY(!o.OrderPhoneType.isEmpty());
            QVERIFY(!o.OrderFaultDescription.isEmpty());
            QVERIFY(o.OrderExpectedPricePrimary.isEmpty()
                    || CConfig::IsNumber(o.OrderExpectedPricePrimary));
            states.insert(o.OrderStateID);
            types.insert(o.OrderTypeID);
            models.insert(o.OrderPhoneType);
            customers.insert(o.OrderCustomerID);
            if (!o.OrderEngineerName.isEmpty())
                engineers.insert(o.OrderEngineerName);
            ++imeis[o.OrderPhoneIMEI];
            withBattery += o.OrderBattery && !o.OrderBatteryType.isEmpty() ? 1 : 0;

            switch (o.OrderStateID) {
            case OrderStates::HandedBack:
                QVERIFY2(o.OrderIssueDate.isValid(), qPrintable(context));
                QVERIFY2(o.OrderIssueDate > o.OrderReceiptDate, qPrintable(context));
                QVERIFY2(o.OrderIssueDate.date() <= today, qPrintable(context));
                QVERIFY2(!o.OrderRepairDescription.isEmpty(), qPrintable(context));
                QVERIFY2(!o.OrderEngineerName.isEmpty(), qPrintable(context));
                QVERIFY2(!o.OrderFinalCurrencyPrimary.isEmpty(), qPrintable(context));
                QVERIFY2(o.OrderComponentsPricePrimary >= 0, qPrintable(context));
                // Only the maker's warranty and a claim of an earlier repair are free.
                if (o.OrderTypeID != 1 && o.OrderTypeID != 2)
                    QVERIFY2(o.OrderFinalPricePrimary > 0, qPrintable(context));
                break;
            case OrderStates::Done:
                QVERIFY2(!o.OrderIssueDate.isValid(), qPrintable(context));
                QVERIFY2(!o.OrderRepairDescription.isEmpty(), qPrintable(context));
                break;
            default:
                QVERIFY2(!o.OrderIssueDate.isValid(), qPrintable(context));
                QVERIFY2(o.OrderRepairDescription.isEmpty(), qPrintable(context));
                QCOMPARE(o.OrderFinalPricePrimary, 0.0);
                break;
            }
        }
        QCOMPARE(states, (QSet<int> {1, 2, 3, 4}));
        QVERIFY(types.size() >= 4);
        QVERIFY(engineers.size() >= 3);
        QVERIFY(models.size() >= 10);
        QVERIFY(withBattery > 0);

        // Devices come back: the same IMEI in several orders, with the same customer.
        int returning = 0;
        for (auto it = imeis.cbegin(); it != imeis.cend(); ++it) {
            if (it.value() < 2)
                continue;
            ++returning;
            QSet<int> owners;
            for (const COrder &o : data->GetOrdersByImei(it.key()))
                owners.insert(o.OrderCustomerID);
            QCOMPARE(owners.size(), 1);
        }
        QVERIFY(returning > 0);

        // A hundred customers, every one with an order, some without e-mail or phone.
        QCOMPARE(customers.size(), 100);
        for (int id : customers) {
            const auto customer = data->GetCustomer(id);
            QVERIFY(customer.has_value());
            QVERIFY(!customer->CustomerName.isEmpty());
            QCOMPARE(customer->CustomerCode.size(), 8);
            withoutPhoneNo += customer->CustomerPhoneNo.isEmpty() ? 1 : 0;
            withoutMail += customer->CustomerEMail.isEmpty() ? 1 : 0;
        }
        QVERIFY(withoutMail > 0 && withoutMail < 100);
        QVERIFY(withoutPhoneNo < 100);

        // The counter stands at this year's last number: the next order follows it.
        int thisYear = 0;
        for (const COrder &o : orders)
            thisYear += o.OrderID.startsWith(QString::number(today.year())) ? 1 : 0;
        if (thisYear > 0)
            QCOMPARE(data->config().GetMaxOrderID(), thisYear);

        // The operations log lies beside the database named on the command line.
        QFile log(m_dir->filePath(QStringLiteral("rpx-operations.csv")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().count("\r\n") >= 300);
    }

    void demoDataWithMoreCustomersThanOrders()
    {
        createDb(dbPath());
        const Run run
            = onDb({QStringLiteral("demo-data"), QStringLiteral("--orders"), QStringLiteral("5"),
                    QStringLiteral("--customers"), QStringLiteral("12")});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        const auto data = open(dbPath());
        QCOMPARE(data->GetOrderCount(), 5);
        for (int id = 1; id <= 12; ++id)
            QVERIFY2(data->GetCustomer(id).has_value(), qPrintable(QString::number(id)));
        QVERIFY(!data->GetCustomer(13).has_value());
    }

    void demoDataIsDeterministicForASeed()
    {
        const QString first = dbPath(QStringLiteral("a.db"));
        const QString second = dbPath(QStringLiteral("b.db"));
        const QString third = dbPath(QStringLiteral("c.db"));
        for (const QString &path : {first, second, third})
            createDb(path);
        const QStringList demo
            = {QStringLiteral("demo-data"), QStringLiteral("--orders"), QStringLiteral("80"),
               QStringLiteral("--seed"), QStringLiteral("5")};
        QCOMPARE(onDb(demo, first).code, 0);
        QCOMPARE(onDb(demo, second).code, 0);
        QCOMPARE(onDb(QStringList(demo.mid(0, 4)) << QStringLiteral("6"), third).code, 0);

        const QDate today = QDate::currentDate();
        const auto a = open(first);
        const QList<COrder> ordersA = ordersByNumber(*a, today.year() - 3, today.year());
        const auto b = open(second);
        const QList<COrder> ordersB = ordersByNumber(*b, today.year() - 3, today.year());
        QCOMPARE(ordersA.size(), 80);
        QCOMPARE(ordersB.size(), 80);
        for (int i = 0; i < ordersA.size(); ++i) {
            // "Now" moves on between the runs: a few latest orders are dated relative to it.
            QVERIFY2(withoutDates(ordersA[i]) == withoutDates(ordersB[i]),
                     qPrintable(ordersA[i].OrderID));
            QVERIFY(qAbs(ordersA[i].OrderReceiptDate.secsTo(ordersB[i].OrderReceiptDate)) <= 120);
        }
        for (int id = 1; id <= 26; ++id)
            QCOMPARE(a->GetCustomer(id), b->GetCustomer(id));

        const auto c = open(third);
        const QList<COrder> ordersC = ordersByNumber(*c, today.year() - 3, today.year());
        int same = 0;
        for (int i = 0; i < qMin(ordersA.size(), ordersC.size()); ++i)
            same += ordersA[i].OrderPhoneIMEI == ordersC[i].OrderPhoneIMEI ? 1 : 0;
        QVERIFY2(same < 10, "another seed gives other data");
    }

    void demoDataKeepsAHigherCounter()
    {
        // A shop whose counter stands above the demo's numbers keeps it: new numbers never
        // fall back to ones it may have given out.
        createDb(dbPath());
        QCOMPARE(onDb({QStringLiteral("config"), QStringLiteral("set"),
                       QStringLiteral("MaxOrderID"), QStringLiteral("5000")})
                     .code,
                 0);
        QCOMPARE(
            onDb({QStringLiteral("demo-data"), QStringLiteral("--orders"), QStringLiteral("20")})
                .code,
            0);
        QCOMPARE(get(QStringLiteral("MaxOrderID")), QStringLiteral("5000"));
    }

    void summary()
    {
        createDb(dbPath());
        QCOMPARE(onDb({QStringLiteral("demo-data"), QStringLiteral("--orders"),
                       QStringLiteral("90"), QStringLiteral("--customers"), QStringLiteral("40")})
                     .code,
                 0);
        const Run run = onDb({QStringLiteral("summary")});
        QVERIFY2(run.code == 0, qPrintable(run.err));

        QMap<QString, QString> lines;
        for (const QString &line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype colon = line.indexOf(QLatin1Char(':'));
            if (colon > 0 && !line.startsWith(QLatin1Char(' ')))
                lines.insert(line.left(colon), line.mid(colon + 1).trimmed());
        }
        const auto data = open(dbPath());
        const int year = QDate::currentDate().year();
        QCOMPARE(lines.value(QStringLiteral("Database")), QFileInfo(dbPath()).absoluteFilePath());
        QCOMPARE(lines.value(QStringLiteral("Orders")), QStringLiteral("90"));
        QCOMPARE(lines.value(QStringLiteral("Customers")), QStringLiteral("40"));
        const int maxOrderId = data->config().GetMaxOrderID();
        QCOMPARE(lines.value(QStringLiteral("MaxOrderID")), QString::number(maxOrderId));
        const QString last = OrderNumbering::Format(year, maxOrderId);
        QCOMPARE(lines.value(QStringLiteral("Last number of %1").arg(year)),
                 data->GetOrder(last) ? last : QStringLiteral("(none yet)"));
        QCOMPARE(lines.value(QStringLiteral("Revenue total")),
                 QString::number(data->GetRevenueTotal(), 'f', 2) + QStringLiteral(" Kč"));

        // One indented line per state, adding up to all orders.
        int counted = 0;
        QStringList stateLines;
        for (const QString &line : run.out.split(QLatin1Char('\n')))
            if (line.startsWith(QStringLiteral("  ")))
                stateLines.append(line.trimmed());
        QCOMPARE(stateLines.size(), 4);
        for (const QString &line : stateLines)
            counted += line.section(QLatin1Char(' '), -1).toInt();
        QCOMPARE(counted, 90);
        QVERIFY(stateLines.first().startsWith(data->GetOrderStates().first().name));
    }

    void checkTexts()
    {
        // The shipped files: the tool reports exactly what the check finds.
        const QString shipped = QCoreApplication::applicationDirPath();
        const QStringList files = QDir(shipped).entryList({QStringLiteral("Rpx_*.txt")});
        QVERIFY2(!files.isEmpty(), "the language files are copied beside the programs");
        for (const QString &name : files)
            QVERIFY(QFile::copy(shipped + QLatin1Char('/') + name, m_dir->filePath(name)));
        const QStringList expected = TextCheck::checkFolder(m_dir->path());
        Run run = admin({QStringLiteral("check-texts"), m_dir->path()});
        QCOMPARE(run.code, expected.isEmpty() ? 0 : 1);
        QCOMPARE(run.out, expected.isEmpty()
                              ? QStringLiteral("OK\n")
                              : expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));

        // A key the program does not know, added to the Polish file, is a problem.
        QFile polish(m_dir->filePath(QStringLiteral("Rpx_pl.txt")));
        QVERIFY(polish.open(QIODevice::Append));
        polish.write("\r\nRpx2.NoSuchCaption = \"Nic\"\r\n");
        polish.close();
        run = admin({QStringLiteral("check-texts"), m_dir->path()});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.contains(QStringLiteral("Rpx2.NoSuchCaption")), qPrintable(run.out));
        QVERIFY(!run.out.contains(QStringLiteral("OK\n")));
        QVERIFY(!run.err.isEmpty());
    }

    void checkTextsOfAFolderWithoutFiles()
    {
        const Run run = admin({QStringLiteral("check-texts"), m_dir->path()});
        QCOMPARE(run.code, 1);
        for (const char *code : {"cs", "pl", "sk"})
            QVERIFY2(run.out.contains(QStringLiteral("Rpx_%1.txt").arg(QLatin1String(code))), code);
        QCOMPARE(
            admin({QStringLiteral("check-texts"), m_dir->filePath(QStringLiteral("none"))}).code,
            1);
    }
};

QTEST_GUILESS_MAIN(TestAdmin)
#include "tst_admin.moc"
