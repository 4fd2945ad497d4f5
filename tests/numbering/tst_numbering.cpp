// Order numbers: the counter of the year, the yearly restart, the end of the five digits,
// and two programs drawing numbers from one database at the same time.
//
// The executable doubles as the worker of the two-process test: with REPAXO_STORE_WORKER
// set it stores new orders into the database named there and exits.
#include "config.h"
#include "ordernumbering.h"
#include "prompts.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "testshop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <QtTest>

#include <deque>
#include <memory>

namespace {

const QDateTime Today(QDate(2015, 6, 15), QTime(10, 30));

// Records what the core shows; answers from a script.
class ScriptedPrompts final : public Prompts
{
public:
    QStringList messages;
    void message(const QString &text, const QString &, Icon) override { messages.append(text); }
    Answer ask(const QString &text, const QString &, Buttons, Icon) override
    {
        messages.append(text);
        return Answer::Yes;
    }
    MissingDatabase missingDatabase(const QString &text) override
    {
        messages.append(text);
        return MissingDatabase::Quit;
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
};

COrder orderNumbered(const QString &id)
{
    COrder o;
    o.OrderID = id;
    o.OrderTypeID = OrderTypes::Paid;
    o.OrderStateID = OrderStates::InRepair;
    o.OrderReceiptDate = Clock::now();
    o.OrderPhoneType = QStringLiteral("Nokia 3310");
    return o;
}

QStringList ids(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *id : list)
        result.append(QString::fromUtf8(id));
    return result;
}

int orderCount(TRpx2Data &data)
{
    return data.GetOrderCount();
}

// --- the worker of the two-process test ---------------------------------------------

constexpr char WorkerVariable[] = "REPAXO_STORE_WORKER"; // the database file
constexpr char WorkerNameVariable[] = "REPAXO_STORE_WORKER_NAME";
constexpr char WorkerCountVariable[] = "REPAXO_STORE_WORKER_COUNT";
constexpr char WorkerGoVariable[] = "REPAXO_STORE_WORKER_GO"; // start when this file exists

int runStoreWorker(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QString dbFile = qEnvironmentVariable(WorkerVariable);
    const QString name = qEnvironmentVariable(WorkerNameVariable);
    const int count = qEnvironmentVariableIntValue(WorkerCountVariable);
    const QString goFile = qEnvironmentVariable(WorkerGoVariable);
    AppPaths::setProgramDir(QFileInfo(dbFile).absolutePath());
    Clock::setFixed(Today);
    QTextStream out(stdout);
    try {
        TRpx2Data data(nullptr, QStringLiteral("RPX2"), nullptr);
        data.OpenFile(dbFile);
        QElapsedTimer waiting;
        waiting.start();
        while (!QFileInfo::exists(goFile)) {
            if (waiting.elapsed() > 30000) {
                QTextStream(stderr) << "no start signal\n";
                return 3;
            }
            QThread::msleep(1);
        }
        for (int i = 0; i < count; ++i) {
            COrder order = orderNumbered(QString());
            order.OrderNote = QStringLiteral("%1 #%2").arg(name).arg(i);
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

private slots:
    void init();
    void cleanup();

    void firstNumbersOfAYear();
    void nextNumber_data();
    void nextNumber();
    void storeNewOrderRaisesCounter();
    void editingLastYearsOrderDoesNotRaiseCounter();
    void storeNewOrderNeverOverwritesATakenNumber();
    void yearlyRestart_data();
    void yearlyRestart();
    void exhaustedYearIsRefused_data();
    void exhaustedYearIsRefused();
    void numberingPastFiveDigits();
    void counterOf_data();
    void counterOf();
    void twoProgramsStoringAtOnceNeverShareANumber();

private:
    TRpx2Data &data() { return *m_data; }
    void storeAll(const QStringList &ids)
    {
        for (const QString &id : ids)
            data().StoreOrder(orderNumbered(id));
    }

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;
};

void TstNumbering::init()
{
    m_shop = std::make_unique<TestShop>();
    Clock::setFixed(Today);
    m_data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
    m_data->OpenFile(AppPaths::databaseFile());
}

void TstNumbering::cleanup()
{
    m_data.reset();
    m_shop.reset();
}

void TstNumbering::firstNumbersOfAYear()
{
    QVERIFY(!data().ConfigRow(QStringLiteral("MaxOrderID")));
    QCOMPARE(OrderNumbering::NewOrderID(data()), QStringLiteral("2015-00001"));
    // Drawing a number changes nothing: asking again gives the same number.
    QCOMPARE(OrderNumbering::NewOrderID(data()), QStringLiteral("2015-00001"));

    // The main window's way: number, store, raise the counter.
    COrder first = orderNumbered(OrderNumbering::NewOrderID(data()));
    data().StoreOrder(first);
    OrderNumbering::UpdateCounter(data(), first.OrderID);
    QCOMPARE(data().config().GetMaxOrderID(), 1);
    QCOMPARE(OrderNumbering::NewOrderID(data()), QStringLiteral("2015-00002"));

    COrder second = orderNumbered(QString());
    data().StoreNewOrder(second);
    QCOMPARE(second.OrderID, QStringLiteral("2015-00002"));
    QCOMPARE(data().config().GetMaxOrderID(), 2);
    QVERIFY(data().GetOrder(QStringLiteral("2015-00002")).has_value());
}

void TstNumbering::nextNumber_data()
{
    QTest::addColumn<QString>("maxOrderId"); // empty: no row
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("next");
    QTest::addColumn<int>("maxAfterStore");

    QTest::newRow("stored numbers above MaxOrderID")
        << "41" << ids({"2015-00003", "2015-00057", "2015-00050"}) << "2015-00058" << 58;
    QTest::newRow("MaxOrderID above stored numbers")
        << "120" << ids({"2015-00007"}) << "2015-00121" << 121;
    QTest::newRow("counter written with five digits") << "1233" << QStringList{} << "2015-01234" << 1234;
    QTest::newRow("last year's orders do not count")
        << "" << ids({"2014-00500", "2014-99999"}) << "2015-00001" << 1;
    QTest::newRow("next year's number does not count")
        << "" << ids({"2016-00500"}) << "2015-00001" << 1;
    QTest::newRow("MaxOrderID not a number") << "abc" << ids({"2015-00004"}) << "2015-00005" << 5;
    QTest::newRow("MaxOrderID negative") << "-5" << QStringList{} << "2015-00001" << 1;
}

void TstNumbering::nextNumber()
{
    QFETCH(QString, maxOrderId);
    QFETCH(QStringList, stored);
    QFETCH(QString, next);
    QFETCH(int, maxAfterStore);
    if (!maxOrderId.isEmpty())
        data().SetConfigValue(QStringLiteral("MaxOrderID"), maxOrderId);
    storeAll(stored);

    QCOMPARE(OrderNumbering::NewOrderID(data()), next);
    const COrder order = orderNumbered(next);
    data().StoreOrder(order);
    OrderNumbering::UpdateCounter(data(), order.OrderID);
    QCOMPARE(data().config().GetMaxOrderID(), maxAfterStore);
}

void TstNumbering::storeNewOrderRaisesCounter()
{
    data().config().SetMaxOrderID(41);
    storeAll({QStringLiteral("2015-00057")});
    COrder order = orderNumbered(QString());
    data().StoreNewOrder(order);
    QCOMPARE(order.OrderID, QStringLiteral("2015-00058"));
    QCOMPARE(data().config().GetMaxOrderID(), 58);
    QCOMPARE(orderCount(data()), 2);
}

void TstNumbering::editingLastYearsOrderDoesNotRaiseCounter()
{
    // The main window raises the counter after every store, edits included. Storing a
    // last year's order with a high counter must not make this year's numbers jump.
    data().config().SetMaxOrderID(5);
    storeAll({QStringLiteral("2015-00005"), QStringLiteral("2014-00800")});
    COrder old = *data().GetOrder(QStringLiteral("2014-00800"));
    old.OrderStateID = OrderStates::HandedBack;
    data().StoreOrder(old);
    OrderNumbering::UpdateCounter(data(), old.OrderID);
    QCOMPARE(data().config().GetMaxOrderID(), 5);
    QCOMPARE(OrderNumbering::NewOrderID(data()), QStringLiteral("2015-00006"));
}

void TstNumbering::storeNewOrderNeverOverwritesATakenNumber()
{
    // A hand-made number of the year sorts above the real ones and hides them from the
    // counter; the next free number is taken instead of overwriting an order.
    COrder existing = orderNumbered(QStringLiteral("2015-00001"));
    existing.OrderNote = QStringLiteral("keep me");
    data().StoreOrder(existing);
    data().StoreOrder(orderNumbered(QStringLiteral("2015-X")));
    QCOMPARE(OrderNumbering::GetCounterBase(data()), 0);

    COrder order = orderNumbered(QString());
    data().StoreNewOrder(order);
    QCOMPARE(order.OrderID, QStringLiteral("2015-00002"));
    QCOMPARE(data().GetOrder(QStringLiteral("2015-00001"))->OrderNote, QStringLiteral("keep me"));
    QCOMPARE(orderCount(data()), 3);
}

void TstNumbering::yearlyRestart_data()
{
    QTest::addColumn<bool>("resetCounter");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("next");

    const QStringList restart{QStringLiteral("Resetuji čítač zakázek v novém roce.")};
    QTest::newRow("restart off, no order this year")
        << false << ids({"2014-00120"}) << QStringList{} << "2015-00121";
    QTest::newRow("restart on, no order this year")
        << true << ids({"2014-00120"}) << restart << "2015-00001";
    QTest::newRow("restart on, empty database") << true << QStringList{} << restart << "2015-00001";
    QTest::newRow("restart on, an order this year")
        << true << ids({"2014-00120", "2015-00003"}) << QStringList{} << "2015-00121";
}

void TstNumbering::yearlyRestart()
{
    QFETCH(bool, resetCounter);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, messages);
    QFETCH(QString, next);
    data().config().SetMaxOrderID(120);
    data().config().SetResetCounter(resetCounter);
    storeAll(stored);
    m_data.reset();

    // The next start of the program.
    ScriptedPrompts prompts;
    m_data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
    QVERIFY(m_data->Connect(prompts));
    QCOMPARE(prompts.messages, messages);
    QCOMPARE(OrderNumbering::NewOrderID(data()), next);
}

void TstNumbering::exhaustedYearIsRefused_data()
{
    QTest::addColumn<int>("maxOrderId");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("MaxOrderID at the limit") << OrderNumbering::MaxCounter << QStringList{};
}

void TstNumbering::exhaustedYearIsRefused()
{
    QFETCH(int, maxOrderId);
    QFETCH(QStringList, stored);
    data().config().SetMaxOrderID(maxOrderId);
    storeAll(stored);
    const int before = orderCount(data());
    QFile::remove(AppPaths::operationsLog());

    QVERIFY_THROWS_EXCEPTION(RpxError, OrderNumbering::NewOrderID(data()));
    COrder order = orderNumbered(QString());
    QVERIFY_THROWS_EXCEPTION(RpxError, data().StoreNewOrder(order));
    QCOMPARE(order.OrderID, QString());
    QCOMPARE(orderCount(data()), before);
    QCOMPARE(data().config().GetMaxOrderID(), maxOrderId);
    QVERIFY(!QFile::exists(AppPaths::operationsLog()));
    // A refused store leaves no transaction open: the next write works.
    data().config().SetCashName(QStringLiteral("Pokladna"));
    QCOMPARE(data().config().GetCashName(), QStringLiteral("Pokladna"));
}

// Past 99999 the counter is written and read in full: numbers keep rising and never
// repeat (read back from five characters, "2015-100000" would count as 10000).
void TstNumbering::numberingPastFiveDigits()
{
    data().config().SetMaxOrderID(99998);
    COrder order = orderNumbered(QString());
    data().StoreNewOrder(order);
    QCOMPARE(order.OrderID, QStringLiteral("2015-99999"));
    COrder sixDigits = orderNumbered(QString());
    data().StoreNewOrder(sixDigits);
    QCOMPARE(sixDigits.OrderID, QStringLiteral("2015-100000"));
    // Even with the stored counter lost, the taken numbers are skipped, never overwritten.
    data().config().SetMaxOrderID(0);
    COrder next = orderNumbered(QString());
    data().StoreNewOrder(next);
    QCOMPARE(next.OrderID, QStringLiteral("2015-100001"));
    QCOMPARE(data().config().GetMaxOrderID(), 100001);
    QCOMPARE(orderCount(data()), 3);
}

void TstNumbering::counterOf_data()
{
    QTest::addColumn<QString>("orderId");
    QTest::addColumn<int>("counter");
    QTest::newRow("regular") << "2015-00042" << 42;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letters") << "2015-abcde" << 0;
    QTest::newRow("six digits read in full") << "2015-123456" << 123456;
    QTest::newRow("digits up to a letter") << "2015-00042b" << 42;
    QTest::newRow("no dash") << "12345678" << 12345;
    QTest::newRow("short counter") << "2015-7" << 7;
}

void TstNumbering::counterOf()
{
    QFETCH(QString, orderId);
    QFETCH(int, counter);
    QCOMPARE(OrderNumbering::CounterOf(orderId), counter);
}

void TstNumbering::twoProgramsStoringAtOnceNeverShareANumber()
{
    constexpr int PerWorker = 200;
    m_data.reset(); // the workers are the only writers
    const QString goFile = m_shop->path(QStringLiteral("go"));

    QList<QProcess *> workers;
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B")}) {
        auto *worker = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(WorkerVariable), AppPaths::databaseFile());
        env.insert(QLatin1String(WorkerNameVariable), name);
        env.insert(QLatin1String(WorkerCountVariable), QString::number(PerWorker));
        env.insert(QLatin1String(WorkerGoVariable), goFile);
        worker->setProcessEnvironment(env);
        worker->start(QCoreApplication::applicationFilePath(), {});
        QVERIFY2(worker->waitForStarted(), qPrintable(worker->errorString()));
        workers.append(worker);
    }
    // Both workers have opened the database and wait; start them together.
    QThread::msleep(200);
    QFile go(goFile);
    QVERIFY(go.open(QIODevice::WriteOnly));
    go.close();

    QSet<QString> reported;
    int reportedLines = 0;
    for (QProcess *worker : workers) {
        QVERIFY(worker->waitForFinished(240000));
        QVERIFY2(worker->exitStatus() == QProcess::NormalExit && worker->exitCode() == 0,
                 worker->readAllStandardError().constData());
        const QList<QByteArray> lines = worker->readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), PerWorker);
        for (const QByteArray &line : lines)
            reported.insert(QString::fromLatin1(line.trimmed()));
        reportedLines += lines.size();
    }
    qDeleteAll(workers);
    QCOMPARE(reportedLines, 2 * PerWorker);
    QCOMPARE(reported.size(), 2 * PerWorker); // no number given out twice

    m_data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
    m_data->OpenFile(AppPaths::databaseFile());
    QCOMPARE(orderCount(data()), 2 * PerWorker); // no order lost or overwritten
    QSet<QString> expected;
    for (int i = 1; i <= 2 * PerWorker; ++i)
        expected.insert(OrderNumbering::Format(2015, i));
    QCOMPARE(reported, expected);
    QSqlQuery notes = data().OpenQuery(QStringLiteral("SELECT count(DISTINCT OrderNote) FROM t_order_02"));
    QVERIFY(notes.next());
    QCOMPARE(notes.value(0).toInt(), 2 * PerWorker);
    QCOMPARE(data().config().GetMaxOrderID(), 2 * PerWorker);
    // The two programs really took turns: in number order, the worker changes often.
    QSqlQuery byNumber = data().OpenQuery(
        QStringLiteral("SELECT substr(OrderNote, 1, 1) FROM t_order_02 ORDER BY OrderID"));
    QString sequence;
    while (byNumber.next())
        sequence += byNumber.value(0).toString();
    int turns = 0;
    for (qsizetype i = 1; i < sequence.size(); ++i)
        turns += sequence.at(i) != sequence.at(i - 1);
    QVERIFY2(turns >= 10, qPrintable(sequence));
    // Every store left its line in the operations log.
    QFile log(AppPaths::operationsLog());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count("\r\n"), 2 * PerWorker);
}

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
