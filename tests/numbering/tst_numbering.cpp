// Order numbers: the counter of the year, the yearly restart, the end of the five digits,
// and two programs drawing numbers from one database at the same time.
//
// The executable doubles as the worker of the two-process test: with REPAXO_STORE_WORKER
// set it stores new orders into the database named there and exits.
#include "config.h"
#include "ordernumbering.h"
#include "scriptedprompts.h"
#include "testshop.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Today(QDate(2015, 6, 15), QTime(10, 30));

COrder orderNumbered(const QString &id)
{
    COrder o;
    o.OrderID = id;
    o.OrderTypeID = OrderTypes::Paid;
    o.OrderStateID = OrderStates::InRepair;
    o.OrderReceiptDate = Clock::now();
    o.OrderPhoneType = u"Nokia 3310"_s;
    return o;
}

// --- the worker of the two-process test ---------------------------------------------

constexpr char WorkerVariable[] = "REPAXO_STORE_WORKER"; // the database file

// Arguments: the worker's name, the number of orders, and a file whose existence starts it.
int runStoreWorker(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QString dbFile = qEnvironmentVariable(WorkerVariable);
    const QStringList args = app.arguments();
    AppPaths::setProgramDir(QFileInfo(dbFile).absolutePath());
    Clock::setFixed(Today);
    QTextStream out(stdout);
    try {
        TRpx2Data data(nullptr, u"RPX2"_s, nullptr);
        data.OpenFile(dbFile);
        QElapsedTimer waiting;
        waiting.start();
        while (!QFileInfo::exists(args.value(3)) && waiting.elapsed() < 30000)
            QThread::msleep(1);
        for (int i = 0; i < args.value(2).toInt(); ++i) {
            COrder order = orderNumbered(QString());
            order.OrderNote = u"%1 #%2"_s.arg(args.value(1)).arg(i);
            data.StoreNewOrder(order);
            out << order.OrderID << '\n';
            // A short pause between two orders, as between two clerks' clicks, gives the
            // other program its turn at the lock.
            QThread::msleep(QRandomGenerator::global()->bounded(2, 12));
        }
    } catch (const RpxError &e) {
        QTextStream(stderr) << e.message() << '\n';
        return 2;
    }
    return 0;
}

} // namespace

class TstNumbering : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;

    TRpx2Data &data() { return *m_data; }
    void openData()
    {
        m_data = std::make_unique<TRpx2Data>(nullptr, u"RPX2"_s, nullptr);
        m_data->OpenFile(AppPaths::databaseFile());
    }
    void storeAll(const QStringList &ids)
    {
        for (const QString &id : ids)
            data().StoreOrder(orderNumbered(id));
    }
    // A new order stored by the multi-device intake's way: the store draws the number.
    QString storeNew()
    {
        COrder order = orderNumbered(QString());
        data().StoreNewOrder(order);
        return order.OrderID;
    }

private slots:
    void init()
    {
        m_shop = std::make_unique<TestShop>();
        Clock::setFixed(Today);
        openData();
    }
    void cleanup()
    {
        m_data.reset();
        m_shop.reset();
    }

    void nextNumber_data()
    {
        QTest::addColumn<QString>("maxOrderId"); // empty: no row
        QTest::addColumn<QString>("stored"); // numbers separated by blanks
        QTest::addColumn<QString>("next");
        auto row = [](const char *name, const char *max, const char *stored, const char *next) {
            QTest::newRow(name) << QString::fromLatin1(max) << QString::fromLatin1(stored)
                                << QString::fromLatin1(next);
        };
        row("empty database", "", "", "2015-00001");
        row("stored numbers above MaxOrderID", "41", "2015-00003 2015-00057 2015-00050",
            "2015-00058");
        row("MaxOrderID above stored numbers", "1232", "2015-00007", "2015-01233");
        row("other years' orders and a negative MaxOrderID do not count", "-5",
            "2014-00500 2014-99999 2016-00500", "2015-00001");
        row("MaxOrderID not a number", "abc", "2015-00004", "2015-00005");
        row("a number ending in a letter counts its digits", "", "2015-00042b", "2015-00043");
    }
    // The main window's way: draw a number (drawing changes nothing), store, raise the
    // counter; a store that draws the number itself continues from there.
    void nextNumber()
    {
        QFETCH(QString, maxOrderId);
        QFETCH(QString, stored);
        QFETCH(QString, next);
        if (!maxOrderId.isEmpty())
            data().SetConfigValue(u"MaxOrderID"_s, maxOrderId);
        storeAll(stored.split(u' ', Qt::SkipEmptyParts));

        QCOMPARE(OrderNumbering::NewOrderID(data()), next);
        QCOMPARE(OrderNumbering::NewOrderID(data()), next);
        data().StoreOrder(orderNumbered(next));
        OrderNumbering::UpdateCounter(data(), next);
        const int counter = next.mid(5).toInt();
        QCOMPARE(data().config().GetMaxOrderID(), counter);
        QCOMPARE(storeNew(), u"2015-%1"_s.arg(counter + 1, 5, 10, QLatin1Char('0')));
        QCOMPARE(data().config().GetMaxOrderID(), counter + 1);
        QCOMPARE(data().GetOrderCount(), stored.count(u'-') + 2);
    }

    // The main window raises the counter after every store, edits included. Storing a last
    // year's order with a high counter must not make this year's numbers jump. A hand-made
    // number of the year sorts above the real ones and hides them from the counter: the next
    // free number is taken instead of overwriting an order.
    void counterAfterOddNumbers()
    {
        data().config().SetMaxOrderID(1);
        storeAll({ u"2015-00001"_s, u"2014-00800"_s, u"2015-X"_s });
        OrderNumbering::UpdateCounter(data(), u"2014-00800"_s);
        QCOMPARE(data().config().GetMaxOrderID(), 1);
        data().config().SetMaxOrderID(0);
        QCOMPARE(OrderNumbering::GetCounterBase(data()), 0);
        COrder existing = *data().GetOrder(u"2015-00001"_s);
        QCOMPARE(storeNew(), u"2015-00002"_s);
        QCOMPARE(*data().GetOrder(u"2015-00001"_s), existing);
        QCOMPARE(data().GetOrderCount(), 4);
    }

    void yearlyRestart_data()
    {
        QTest::addColumn<bool>("resetCounter");
        QTest::addColumn<QString>("stored"); // numbers separated by blanks
        QTest::addColumn<bool>("restarted"); // the restart is announced
        QTest::addColumn<QString>("next");
        QTest::newRow("off, no order this year") << false << "2014-00120" << false << "2015-00121";
        QTest::newRow("on, no order this year") << true << "2014-00120" << true << "2015-00001";
        QTest::newRow("on, an order this year")
            << true << "2014-00120 2015-00003" << false << "2015-00121";
    }
    void yearlyRestart()
    {
        QFETCH(bool, resetCounter);
        QFETCH(QString, stored);
        QFETCH(bool, restarted);
        data().config().SetMaxOrderID(120);
        data().config().SetResetCounter(resetCounter);
        storeAll(stored.split(u' ', Qt::SkipEmptyParts));
        m_data = std::make_unique<TRpx2Data>(nullptr, u"RPX2"_s, nullptr); // the next start
        ScriptedPrompts prompts;
        QVERIFY(m_data->Connect(prompts));
        QCOMPARE(prompts.messages,
                 restarted ? QStringList { u"Resetuji čítač zakázek v novém roce."_s }
                           : QStringList());
        QTEST(OrderNumbering::NewOrderID(data()), "next");
    }

    void exhaustedYearIsRefused_data()
    {
        QTest::addColumn<QString>("maxOrderId");
        QTest::newRow("at the limit") << "999999999";
        // A hand-edited file: one more would turn negative ("2015--2147483648").
        QTest::newRow("largest integer") << "2147483647";
    }
    // With the counter at its limit no number is drawn and nothing is stored or logged.
    void exhaustedYearIsRefused()
    {
        QFETCH(QString, maxOrderId);
        data().SetConfigValue(u"MaxOrderID"_s, maxOrderId);
        QVERIFY_THROWS_EXCEPTION(RpxError, OrderNumbering::NewOrderID(data()));
        COrder order = orderNumbered(QString());
        QVERIFY_THROWS_EXCEPTION(RpxError, data().StoreNewOrder(order));
        QVERIFY(order.OrderID.isEmpty() && data().GetOrderCount() == 0);
        QVERIFY(!QFile::exists(AppPaths::operationsLog()));
        // A refused store leaves no transaction open: the next write works.
        data().config().SetCashName(u"Pokladna"_s);
        QCOMPARE(data().config().GetConfigValue(u"MaxOrderID"_s), maxOrderId);
    }

    // Past 99999 the counter is written and read in full: numbers keep rising and never
    // repeat (read back from five characters, "2015-100000" would count as 10000).
    void numberingPastFiveDigits()
    {
        data().config().SetMaxOrderID(99998);
        QCOMPARE(storeNew(), u"2015-99999"_s);
        QCOMPARE(storeNew(), u"2015-100000"_s);
        // Even with the stored counter lost, the taken numbers are skipped, never overwritten.
        data().config().SetMaxOrderID(0);
        QCOMPARE(storeNew(), u"2015-100001"_s);
        QCOMPARE(data().config().GetMaxOrderID(), 100001);
        QCOMPARE(data().GetOrderCount(), 3);
    }

    void twoProgramsStoringAtOnceNeverShareANumber()
    {
        constexpr int PerWorker = 200;
        m_data.reset(); // the workers are the only writers
        const QString goFile = m_shop->path(u"go"_s);
        QList<QProcess *> workers;
        for (const QString &name : { u"A"_s, u"B"_s }) {
            auto *worker = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QLatin1String(WorkerVariable), AppPaths::databaseFile());
            worker->setProcessEnvironment(env);
            worker->start(QCoreApplication::applicationFilePath(),
                          { name, QString::number(PerWorker), goFile });
            QVERIFY2(worker->waitForStarted(), qPrintable(worker->errorString()));
            workers.append(worker);
        }
        // Both workers have opened the database and wait; start them together.
        QThread::msleep(200);
        QFile go(goFile);
        QVERIFY(go.open(QIODevice::WriteOnly));
        go.close();

        QSet<QString> reported, expected;
        for (QProcess *worker : workers) {
            QVERIFY(worker->waitForFinished(240000));
            QVERIFY2(worker->exitStatus() == QProcess::NormalExit && worker->exitCode() == 0,
                     worker->readAllStandardError().constData());
            for (const QByteArray &line : worker->readAllStandardOutput().trimmed().split('\n'))
                reported.insert(QString::fromLatin1(line.trimmed()));
        }
        qDeleteAll(workers);
        // No number given out twice, none skipped.
        for (int i = 1; i <= 2 * PerWorker; ++i)
            expected.insert(u"2015-%1"_s.arg(i, 5, 10, QLatin1Char('0')));
        QCOMPARE(reported, expected);

        openData();
        QCOMPARE(data().GetOrderCount(), 2 * PerWorker); // no order lost or overwritten
        QCOMPARE(data().config().GetMaxOrderID(), 2 * PerWorker);
        // The two programs really took turns: in number order, the worker changes often.
        QSqlQuery byNumber = data().OpenQuery(
            u"SELECT substr(OrderNote, 1, 1) FROM t_order_02 ORDER BY OrderID"_s);
        int turns = 0;
        for (QString last; byNumber.next(); last = byNumber.value(0).toString())
            turns += !last.isEmpty() && byNumber.value(0).toString() != last;
        QVERIFY2(turns >= 10, qPrintable(QString::number(turns)));
        // Every store left its line in the operations log.
        QFile log(AppPaths::operationsLog());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count("\r\n"), 2 * PerWorker);
    }
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(WorkerVariable))
        return runStoreWorker(argc, argv);
    QCoreApplication app(argc, argv);
    TstNumbering test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_numbering.moc"
