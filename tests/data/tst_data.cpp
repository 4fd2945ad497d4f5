// The data module: storing orders and customers, the operations log, the order list with
// its filters and counts, merging customers, and finding and opening the database.
#include "config.h"
#include "orderlist.h"
#include "orderlistlistener.h"
#include "prompts.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "testshop.h"

#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QStringDecoder>
#include <QtTest>

#include <deque>
#include <memory>

namespace {

const QDateTime Now(QDate(2015, 6, 15), QTime(10, 30, 5));

class ScriptedPrompts final : public Prompts
{
public:
    QStringList messages;
    std::deque<MissingDatabase> choices; // empty: Quit
    std::deque<QString> files;           // empty: cancelled
    int fileDialogs = 0;

    void message(const QString &text, const QString &, Icon) override { messages.append(text); }
    Answer ask(const QString &text, const QString &, Buttons, Icon) override
    {
        messages.append(text);
        return Answer::Yes;
    }
    MissingDatabase missingDatabase(const QString &text) override
    {
        messages.append(text);
        if (choices.empty())
            return MissingDatabase::Quit;
        const MissingDatabase choice = choices.front();
        choices.pop_front();
        return choice;
    }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        ++fileDialogs;
        if (files.empty())
            return {};
        const QString file = files.front();
        files.pop_front();
        return file;
    }
};

class RecordingListener final : public OrderListListener
{
public:
    bool canLeave = true;
    int leaveQuestions = 0;
    QStringList entered; // the current order id at each call
    QStringList counts;

    bool CanLeaveOrder() override
    {
        ++leaveQuestions;
        return canLeave;
    }
    void OrderEntered(const OrderList &list) override { entered.append(list.currentOrderId()); }
    void ShowStateCounts(const QString &text) override { counts.append(text); }
};

COrder makeOrder(const QString &id, int state = OrderStates::New, int customerId = 0,
                 const QDateTime &received = Now)
{
    COrder o;
    o.OrderID = id;
    o.OrderTypeID = OrderTypes::Paid;
    o.OrderStateID = state;
    o.OrderCustomerID = customerId;
    o.OrderReceiptDate = received;
    o.OrderDeadlineDate = received.addDays(7);
    o.OrderPhone = true;
    o.OrderPhoneType = QStringLiteral("Nokia 3310");
    o.OrderPhoneIMEI = QStringLiteral("356938035643809");
    o.OrderFaultDescription = QStringLiteral("Nenabíjí");
    o.OrderExpectedPricePrimary = QStringLiteral("500");
    o.OrderExpectedCurrencyPrimary = QStringLiteral("Kč");
    return o;
}

CCustomer makeCustomer(const QString &name, const QString &city = {}, const QString &phone = {},
                       const QString &email = {})
{
    CCustomer c;
    c.CustomerCode = QStringLiteral("12345678");
    c.CustomerName = name;
    c.CustomerCity = city;
    c.CustomerPhoneNo = phone;
    c.CustomerEMail = email;
    return c;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QList<QByteArray> logLines()
{
    QList<QByteArray> lines = fileBytes(AppPaths::operationsLog()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList listedIds(const OrderList &list)
{
    QStringList ids;
    for (int row = 0; row < list.rowCount(); ++row)
        ids.append(list.orderIdAt(row));
    return ids;
}

QStringList ids(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *id : list)
        result.append(QString::fromUtf8(id));
    return result;
}

} // namespace

Q_DECLARE_METATYPE(OrderFilter)

class TstData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // orders and the operations log
    void storeOrderInsertsThenUpdates();
    void operationsLogLine_data();
    void operationsLogLine();
    void unwritableLogDoesNotStopStore();
    void textsRoundTripUnchanged_data();
    void textsRoundTripUnchanged();
    void emptyOrderTextsStoredAsEmptyNotNull();
    void deleteOrder();
    void ordersByImei();
    void ordersForPrintKeepTheGivenOrder();

    // customers
    void customerEmptyTextsStoredAsNull();
    void customerLookups();
    void storeCustomerWithVanishedIdInserts();
    void mergeCustomers();

    // the order list
    void orderListFilters_data();
    void orderListFilters();
    void ageFilterHidesOldOrdersButCountsKeepThem();
    void stateCountsText();
    void listenerCalls();
    void canLeaveOrderFalseKeepsCurrentRow();

    // finding and opening the database
    void foreignFileIsRefusedUntouched_data();
    void foreignFileIsRefusedUntouched();
    void refusedFileKeepsOpenDatabase();
    void createDatabaseRefusesExistingFile();
    void startUp_data();
    void startUp();
    void startUpListShowsLast92Days();

private:
    TRpx2Data &data() { return *m_data; }
    void openData(OrderListListener *listener = nullptr)
    {
        m_data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), listener);
        m_data->OpenFile(AppPaths::databaseFile());
    }
    int count(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery query = data().OpenQuery(sql, values);
        return query.next() ? query.value(0).toInt() : -1;
    }
    void fillListData();

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;
};

void TstData::init()
{
    m_shop = std::make_unique<TestShop>();
    Clock::setFixed(Now);
    openData();
}

void TstData::cleanup()
{
    m_data.reset();
    m_shop.reset();
}

// ---------------------------------------------------------------------------------------
// Orders and the operations log

void TstData::storeOrderInsertsThenUpdates()
{
    COrder order = makeOrder(QStringLiteral("2015-00001"));
    data().StoreOrder(order);
    QCOMPARE(data().GetOrderCount(), 1);
    QCOMPARE(*data().GetOrder(order.OrderID), order);

    order.OrderStateID = OrderStates::HandedBack;
    order.OrderRepairDescription = QStringLiteral("Vyměněn konektor");
    order.OrderFinalPricePrimary = 650;
    order.OrderIssueDate = Now.addDays(2);
    data().StoreOrder(order);
    QCOMPARE(data().GetOrderCount(), 1);
    QCOMPARE(*data().GetOrder(order.OrderID), order);

    const QList<QByteArray> lines = logLines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).split(';').value(1), QByteArray("insert"));
    QCOMPARE(lines.at(1).split(';').value(1), QByteArray("edit"));
}

void TstData::operationsLogLine_data()
{
    QTest::addColumn<QString>("phoneType");
    QTest::addColumn<QString>("imei");
    QTest::addColumn<QString>("expectedPrice");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<double>("finalPrice");
    QTest::addColumn<QByteArray>("fields"); // the line after the time field

    QTest::newRow("Czech text in Windows-1250")
        << "Nokia modrá č.2" << "356938035643809" << "1500" << "Kč" << 1234.5
        << QByteArray("insert;2015-00001;Nokia modr\xe1 \xe8.2;'356938035643809;1500K\xe8;1234.50K\xe8\r\n");
    QTest::newRow("empty texts") << "" << "" << "" << "" << 0.0
                                 << QByteArray("insert;2015-00001;;';;0.00\r\n");
    QTest::newRow("price rounded to two decimals")
        << "Ž" << "1" << "~300" << "Eur" << 99.999
        << QByteArray("insert;2015-00001;\x8e;'1;~300Eur;100.00Eur\r\n");
    QTest::newRow("character outside the code page")
        << "Xiaomi 📱" << "2" << "" << "zł" << 1e6
        << QByteArray("insert;2015-00001;Xiaomi ?;'2;z\xb3;1000000.00z\xb3\r\n");
}

void TstData::operationsLogLine()
{
    QFETCH(QString, phoneType);
    QFETCH(QString, imei);
    QFETCH(QString, expectedPrice);
    QFETCH(QString, currency);
    QFETCH(double, finalPrice);
    QFETCH(QByteArray, fields);
    COrder order = makeOrder(QStringLiteral("2015-00001"));
    order.OrderPhoneType = phoneType;
    order.OrderPhoneIMEI = imei;
    order.OrderExpectedPricePrimary = expectedPrice;
    order.OrderExpectedCurrencyPrimary = currency;
    order.OrderFinalPricePrimary = finalPrice;
    order.OrderFinalCurrencyPrimary = currency;
    data().StoreOrder(order);

    const QByteArray line = fileBytes(AppPaths::operationsLog());
    const qsizetype firstField = line.indexOf(';');
    QVERIFY(firstField > 0);
    QStringDecoder decoder("windows-1250");
    QCOMPARE(decoder(line.left(firstField)).operator QString(),
             QLocale::system().toString(Now, QLocale::ShortFormat));
    QCOMPARE(line.mid(firstField + 1), fields);
}

void TstData::unwritableLogDoesNotStopStore()
{
    QVERIFY(QDir().mkpath(AppPaths::operationsLog())); // a folder where the file should be
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001")));
    COrder order = makeOrder(QString());
    data().StoreNewOrder(order);
    QCOMPARE(data().GetOrderCount(), 2);
    QVERIFY(QFileInfo(AppPaths::operationsLog()).isDir());
}

void TstData::textsRoundTripUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << "O'Brien's phone";
    QTest::newRow("quotes") << "\"Rychlá\" oprava, „česky“";
    QTest::newRow("percent and underscore") << "sleva 50 % na_kryt";
    QTest::newRow("line breaks") << "první\r\ndruhý\ntřetí\r\n";
    QTest::newRow("emoji") << "Displej 📱 prasklý 💥";
    QTest::newRow("Polish and Slovak") << "Łódź, Ľubomír, Ůžasné ŕ";
    QTest::newRow("backslash and semicolon") << "C:\\foto\\a.jpg; ---";
    QTest::newRow("SQL text") << "x'); DROP TABLE t_order_02; --";
    QTest::newRow("long") << QString(5000, QChar(0x0159));
}

void TstData::textsRoundTripUnchanged()
{
    QFETCH(QString, text);
    CCustomer customer = makeCustomer(text, text, text, text);
    customer.CustomerStreet = text;
    data().StoreCustomer(customer);
    QCOMPARE(*data().GetCustomer(customer.CustomerID), customer);

    COrder order = makeOrder(QStringLiteral("2015-00001"), OrderStates::New, customer.CustomerID);
    order.OrderFaultDescription = text;
    order.OrderNote = text;
    order.OrderRepairNote = text;
    order.OrderEngineerName = text;
    order.OrderPhoneType = text;
    order.OrderPhoneIMEI = text;
    order.OrderExpectedPricePrimary = text;
    data().StoreOrder(order);
    QCOMPARE(*data().GetOrder(order.OrderID), order);
    QCOMPARE(data().GetLastOrderByImei(text)->OrderID, order.OrderID);
    QCOMPARE(data().GetOrderCount(), 1);
}

void TstData::emptyOrderTextsStoredAsEmptyNotNull()
{
    // Texts of an order are stored as texts, an empty one as an empty text: a summary that
    // groups by engineer must not show two groups of orders without an engineer.
    COrder order; // every text empty, as a record fresh from code rather than from a form
    order.OrderID = QStringLiteral("2015-00001");
    data().StoreOrder(order);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_order_02 WHERE OrderEngineerName IS NULL "
                                  "OR OrderPhoneIMEI IS NULL OR OrderNote IS NULL "
                                  "OR OrderFinalCurrencyPrimary IS NULL")),
             0);
    QCOMPARE(data().GetOrdersByImei(QStringLiteral("")).size(), 1);
    // Dates that are not set stay unset.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_order_02 WHERE OrderIssueDate IS NULL")), 1);
    QCOMPARE(*data().GetOrder(order.OrderID), order);
}

void TstData::deleteOrder()
{
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001")));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00010")));
    QCOMPARE(data().DeleteOrder(QStringLiteral("2015-00099")), false);
    QCOMPARE(data().DeleteOrder(QStringLiteral("2015-0001")), false); // a prefix is not a match
    QCOMPARE(data().DeleteOrder(QStringLiteral("2015-0000_")), false);
    QCOMPARE(data().DeleteOrder(QString()), false);
    QCOMPARE(data().GetOrderCount(), 2);
    QCOMPARE(data().DeleteOrder(QStringLiteral("2015-00001")), true);
    QCOMPARE(data().GetOrderCount(), 1);
    QVERIFY(data().GetOrder(QStringLiteral("2015-00010")).has_value());
}

void TstData::ordersByImei()
{
    COrder first = makeOrder(QStringLiteral("2015-00001"), OrderStates::HandedBack);
    first.OrderIssueDate = Now.addDays(-30);
    COrder second = makeOrder(QStringLiteral("2015-00002"), OrderStates::HandedBack);
    second.OrderIssueDate = Now.addDays(-2);
    COrder other = makeOrder(QStringLiteral("2015-00003"));
    other.OrderPhoneIMEI = QStringLiteral("35693803564380"); // a prefix of the first IMEI
    for (const COrder &o : {first, second, other})
        data().StoreOrder(o);
    QCOMPARE(data().GetLastOrderByImei(first.OrderPhoneIMEI)->OrderID, second.OrderID);
    QCOMPARE(data().GetOrdersByImei(first.OrderPhoneIMEI).size(), 2);
    QVERIFY(!data().GetLastOrderByImei(QStringLiteral("000000000000000")).has_value());
    QVERIFY(!data().GetLastOrderByImei(QStringLiteral("3569380356438%")).has_value());
}

// Printing several held orders gives them in the order held, with customer and names;
// a number deleted meanwhile is left out rather than failing the whole document.
void TstData::ordersForPrintKeepTheGivenOrder()
{
    CCustomer customer = makeCustomer(QStringLiteral("Eva Černá"), QStringLiteral("Brno"));
    data().StoreCustomer(customer);
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001"), OrderStates::New, customer.CustomerID));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00002"), OrderStates::HandedBack));
    const auto rows = data().GetOrdersForPrint(
        {QStringLiteral("2015-00002"), QStringLiteral("2015-00099"), QStringLiteral("2015-00001")});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].order.OrderID, QStringLiteral("2015-00002"));
    QCOMPARE(rows[0].customer.CustomerID, 0);
    QCOMPARE(rows[0].stateName, QStringLiteral("Vydaná"));
    QCOMPARE(rows[1].customer.CustomerName, QStringLiteral("Eva Černá"));
    QCOMPARE(rows[1].customer.CustomerCity, QStringLiteral("Brno"));
    QCOMPARE(rows[1].typeName, QStringLiteral("Placená oprava"));
    QCOMPARE(rows[1].order.OrderFaultDescription, QStringLiteral("Nenabíjí"));
}

// ---------------------------------------------------------------------------------------
// Customers

void TstData::customerEmptyTextsStoredAsNull()
{
    CCustomer customer = makeCustomer(QStringLiteral("Jan Novák"), {}, QStringLiteral("777 123 456"));
    data().StoreCustomer(customer);
    QVERIFY(customer.CustomerID != 0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_customer_02 WHERE CustomerEMail IS NULL "
                                  "AND CustomerCity IS NULL AND CustomerStreet IS NULL "
                                  "AND CustomerPSC IS NULL AND CustomerID = ?"),
                   {customer.CustomerID}),
             1);
    QCOMPARE(data().GetCustomer(customer.CustomerID)->CustomerEMail, QString());

    // A text cleared later is NULL again.
    customer.CustomerEMail = QStringLiteral("jan@example.cz");
    data().StoreCustomer(customer);
    customer.CustomerEMail.clear();
    data().StoreCustomer(customer);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_customer_02 WHERE CustomerEMail IS NULL")), 1);

    // Found by a search with empty filters and by the list with an empty e-mail filter.
    data().ReloadCustomerSearch(QString(), QString());
    QCOMPARE(data().customerSearchModel()->rowCount(), 1);
    QCOMPARE(data().customerSearchRow(0), customer);
    data().ReloadCustomerSearch(QStringLiteral("NOVÁK"), QStringLiteral("123"));
    QCOMPARE(data().customerSearchModel()->rowCount(), 1);
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001"), OrderStates::New, customer.CustomerID));
    OrderFilter filter;
    filter.customerEMail.clear();
    data().orderList().reload(filter);
    QCOMPARE(listedIds(data().orderList()), ids({"2015-00001"}));
}

void TstData::customerLookups()
{
    QVERIFY(!data().GetCustomer(1).has_value());
    QVERIFY(!data().GetCustomer(0).has_value());
    CCustomer customer = makeCustomer(QStringLiteral("Eva"));
    customer.CustomerShowCode = true;
    data().StoreCustomer(customer);
    const int id = customer.CustomerID;
    customer.CustomerCity = QStringLiteral("Brno");
    data().StoreCustomer(customer);
    QCOMPARE(customer.CustomerID, id); // an update keeps the id
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_customer_02")), 1);
    QCOMPARE(*data().GetCustomer(id), customer);
    QVERIFY(!data().GetCustomer(id + 1).has_value());
}

void TstData::storeCustomerWithVanishedIdInserts()
{
    CCustomer customer = makeCustomer(QStringLiteral("Petr"));
    data().StoreCustomer(customer);
    const int oldId = customer.CustomerID;
    // Another program merged the customer away meanwhile.
    data().ExecuteCommand(QStringLiteral("DELETE FROM t_customer_02 WHERE CustomerID = ?"), {oldId});
    customer.CustomerPhoneNo = QStringLiteral("608 000 111");
    data().StoreCustomer(customer);
    QVERIFY(customer.CustomerID != 0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_customer_02")), 1);
    QCOMPARE(*data().GetCustomer(customer.CustomerID), customer);
}

void TstData::mergeCustomers()
{
    CCustomer survivor = makeCustomer(QStringLiteral("Jan Novák"));
    CCustomer twin = makeCustomer(QStringLiteral("Novák Jan"));
    CCustomer typo = makeCustomer(QStringLiteral("Jan Nowák"));
    CCustomer emptyTwin = makeCustomer(QStringLiteral("J. Novák"));
    CCustomer unrelated = makeCustomer(QStringLiteral("Eva Malá"));
    for (CCustomer *c : {&survivor, &twin, &typo, &emptyTwin, &unrelated})
        data().StoreCustomer(*c);
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001"), OrderStates::New, twin.CustomerID));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00002"), OrderStates::New, twin.CustomerID));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00003"), OrderStates::New, typo.CustomerID));

    // The survivor has no order of its own yet and is named among the merged ones too.
    data().MergeCustomers(survivor.CustomerID,
                          {twin.CustomerID, typo.CustomerID, emptyTwin.CustomerID, survivor.CustomerID});

    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_order_02 WHERE OrderCustomerID = ?"),
                   {survivor.CustomerID}),
             3);
    QVERIFY(data().GetCustomer(survivor.CustomerID).has_value());
    QVERIFY(!data().GetCustomer(twin.CustomerID).has_value());
    QVERIFY(!data().GetCustomer(typo.CustomerID).has_value());
    QVERIFY(!data().GetCustomer(emptyTwin.CustomerID).has_value());
    QVERIFY(data().GetCustomer(unrelated.CustomerID).has_value()); // has no order, not merged
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM t_customer_02")), 2);
}

// ---------------------------------------------------------------------------------------
// The order list

// Four orders; the list shows them by the state's list order, then by descending number.
void TstData::fillListData()
{
    CCustomer novak = makeCustomer(QStringLiteral("Novák Jiří"), QStringLiteral("Brno"),
                                   QStringLiteral("777 123 456"));
    CCustomer cermak = makeCustomer(QStringLiteral("ŁUKASZ Čermák"), QStringLiteral("Ústí"),
                                    QStringLiteral("608 222"), QStringLiteral("Lukasz@Example.pl"));
    CCustomer obrien = makeCustomer(QStringLiteral("O'Brien 50% a_b"), QStringLiteral("Žďár"), {},
                                    QStringLiteral("ob@x.cz"));
    for (CCustomer *c : {&novak, &cermak, &obrien})
        data().StoreCustomer(*c);

    COrder o1 = makeOrder(QStringLiteral("2015-00001"), OrderStates::New, novak.CustomerID);
    o1.OrderEngineerName = QStringLiteral("Petr");
    o1.OrderPhoneType = QStringLiteral("Nokia Lumia");
    o1.OrderPhoneIMEI = QStringLiteral("1010101");
    COrder o2 = makeOrder(QStringLiteral("2015-00002"), OrderStates::New, cermak.CustomerID);
    o2.OrderEngineerName = QStringLiteral("Ľubo");
    o2.OrderPhoneType = QStringLiteral("Xiaomi Ůnik");
    o2.OrderPhoneIMEI = QStringLiteral("222222");
    COrder o3 = makeOrder(QStringLiteral("2015-00003"), OrderStates::HandedBack, obrien.CustomerID);
    o3.OrderEngineerName.clear();
    o3.OrderPhoneType = QStringLiteral("Samsung");
    o3.OrderPhoneIMEI.clear();
    COrder o4 = makeOrder(QStringLiteral("2015-00004"), OrderStates::InRepair); // no customer
    o4.OrderEngineerName = QStringLiteral("petr");
    o4.OrderPhoneType = QStringLiteral("nokia");
    o4.OrderPhoneIMEI = QStringLiteral("50%");
    for (const COrder &o : {o1, o2, o3, o4})
        data().StoreOrder(o);
    // An order stored with a NULL engineer, as an older database may hold.
    data().ExecuteCommand(
        QStringLiteral("UPDATE t_order_02 SET OrderEngineerName = NULL WHERE OrderID = '2015-00003'"));
}

void TstData::orderListFilters_data()
{
    QTest::addColumn<OrderFilter>("filter");
    QTest::addColumn<QStringList>("listed");

    auto with = [](auto set) {
        OrderFilter f;
        set(f);
        return f;
    };
    QTest::newRow("no filter") << OrderFilter() << ids({"2015-00002", "2015-00001", "2015-00004", "2015-00003"});
    QTest::newRow("name, other case of Á")
        << with([](OrderFilter &f) { f.customerName = QStringLiteral("NOVÁK"); }) << ids({"2015-00001"});
    QTest::newRow("name, č finds Č") << with([](OrderFilter &f) { f.customerName = QStringLiteral("čeRMÁK"); })
                                      << ids({"2015-00002"});
    QTest::newRow("name, ł finds Ł") << with([](OrderFilter &f) { f.customerName = QStringLiteral("łukasz"); })
                                      << ids({"2015-00002"});
    QTest::newRow("engineer, ľ finds Ľ") << with([](OrderFilter &f) { f.engineerName = QStringLiteral("ľUBO"); })
                                          << ids({"2015-00002"});
    QTest::newRow("phone type, ů finds Ů") << with([](OrderFilter &f) { f.phoneType = QStringLiteral("ůNIK"); })
                                            << ids({"2015-00002"});
    QTest::newRow("city, Ú finds ú") << with([](OrderFilter &f) { f.customerCity = QStringLiteral("ÚSTÍ"); })
                                      << ids({"2015-00002"});
    QTest::newRow("engineer, either case") << with([](OrderFilter &f) { f.engineerName = QStringLiteral("PETR"); })
                                            << ids({"2015-00001", "2015-00004"});
    QTest::newRow("typed % matches itself") << with([](OrderFilter &f) { f.customerName = QStringLiteral("%"); })
                                             << ids({"2015-00003"});
    QTest::newRow("typed _ matches itself") << with([](OrderFilter &f) { f.customerName = QStringLiteral("a_b"); })
                                             << ids({"2015-00003"});
    QTest::newRow("_ is not a wildcard") << with([](OrderFilter &f) { f.customerName = QStringLiteral("k_"); })
                                          << QStringList();
    QTest::newRow("typed apostrophe") << with([](OrderFilter &f) { f.customerName = QStringLiteral("o'b"); })
                                       << ids({"2015-00003"});
    QTest::newRow("IMEI with %") << with([](OrderFilter &f) { f.phoneImei = QStringLiteral("0%"); })
                                  << ids({"2015-00004"});
    QTest::newRow("IMEI substring") << with([](OrderFilter &f) { f.phoneImei = QStringLiteral("22"); })
                                     << ids({"2015-00002"});
    QTest::newRow("an order without customer fails a customer filter")
        << with([](OrderFilter &f) { f.customerCity = QStringLiteral("r"); }) << ids({"2015-00001", "2015-00003"});
    QTest::newRow("NULL e-mails pass an empty filter")
        << with([](OrderFilter &f) { f.customerEMail = QString(); })
        << ids({"2015-00002", "2015-00001", "2015-00004", "2015-00003"});
    QTest::newRow("e-mail") << with([](OrderFilter &f) { f.customerEMail = QStringLiteral("example"); })
                             << ids({"2015-00002"});
    QTest::newRow("NULL engineer fails an engineer filter")
        << with([](OrderFilter &f) { f.engineerName = QStringLiteral("e"); }) << ids({"2015-00001", "2015-00004"});
    QTest::newRow("phone number") << with([](OrderFilter &f) { f.customerPhoneNo = QStringLiteral("123 4"); })
                                   << ids({"2015-00001"});
    QTest::newRow("order number") << with([](OrderFilter &f) { f.orderId = QStringLiteral("-00003"); })
                                   << ids({"2015-00003"});
    QTest::newRow("state") << with([](OrderFilter &f) { f.stateId = OrderStates::New; })
                            << ids({"2015-00002", "2015-00001"});
    QTest::newRow("state and engineer")
        << with([](OrderFilter &f) {
               f.stateId = OrderStates::New;
               f.engineerName = QStringLiteral("petr");
           })
        << ids({"2015-00001"});
    QTest::newRow("nothing matches") << with([](OrderFilter &f) { f.phoneType = QStringLiteral("Motorola"); })
                                      << QStringList();
}

void TstData::orderListFilters()
{
    QFETCH(OrderFilter, filter);
    QFETCH(QStringList, listed);
    fillListData();
    data().orderList().reload(filter);
    QCOMPARE(listedIds(data().orderList()), listed);
    QCOMPARE(data().orderList().currentRow(), listed.isEmpty() ? -1 : 0);
}

void TstData::ageFilterHidesOldOrdersButCountsKeepThem()
{
    const QDate today = Now.date();
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001"), OrderStates::New, 0,
                                QDateTime(today.addDays(-8), QTime(23, 59, 59))));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00002"), OrderStates::New, 0,
                                QDateTime(today.addDays(-7), QTime(0, 0))));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00003"), OrderStates::New, 0,
                                QDateTime(today, QTime(0, 0, 1))));
    OrderFilter filter;
    filter.ageDays = 7;
    data().orderList().reload(filter);
    QCOMPARE(listedIds(data().orderList()), ids({"2015-00003", "2015-00002"}));
    QCOMPARE(data().orderList().stateCountsText(), QStringLiteral("Nová: 3"));
    filter.ageDays = 0;
    data().orderList().reload(filter);
    QCOMPARE(listedIds(data().orderList()), ids({"2015-00003"}));
    filter.ageDays = 8;
    data().orderList().reload(filter);
    QCOMPARE(data().orderList().rowCount(), 3);
}

void TstData::stateCountsText()
{
    QCOMPARE(data().orderList().stateCountsText(), QString());
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001"), OrderStates::HandedBack));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00002"), OrderStates::New));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00003"), OrderStates::New));
    data().orderList().reload(OrderFilter());
    QCOMPARE(data().orderList().stateCountsText(), QStringLiteral("Nová: 2; Vydaná: 1"));
    // The counts follow the text and state filters.
    OrderFilter filter;
    filter.orderId = QStringLiteral("0001");
    data().orderList().reload(filter);
    QCOMPARE(data().orderList().stateCountsText(), QStringLiteral("Vydaná: 1"));
    filter = OrderFilter();
    filter.stateId = OrderStates::New;
    data().orderList().reload(filter);
    QCOMPARE(data().orderList().stateCountsText(), QStringLiteral("Nová: 2"));
}

void TstData::listenerCalls()
{
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001"), OrderStates::New));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00002"), OrderStates::HandedBack));
    RecordingListener listener;
    openData(&listener);

    data().orderList().reload(OrderFilter());
    QCOMPARE(listener.entered, ids({"2015-00001"}));
    QCOMPARE(listener.counts, QStringList{QStringLiteral("Nová: 1; Vydaná: 1")});

    OrderFilter nothing;
    nothing.phoneType = QStringLiteral("Motorola");
    data().orderList().reload(nothing);
    QCOMPARE(listener.entered.size(), 1); // an empty list enters no order
    QCOMPARE(listener.counts.size(), 2);
    QCOMPARE(listener.counts.last(), QString());
    QCOMPARE(data().orderList().currentOrderId(), QString());
    QVERIFY(!data().orderList().next());

    data().orderList().reload(OrderFilter());
    QCOMPARE(listener.entered.size(), 2);
    QVERIFY(data().orderList().next());
    QCOMPARE(listener.entered.last(), QStringLiteral("2015-00002"));
    QVERIFY(!data().orderList().next()); // past the end: no move, no question
    QCOMPARE(listener.entered.size(), 3);
}

void TstData::canLeaveOrderFalseKeepsCurrentRow()
{
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001")));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00002")));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00003")));
    RecordingListener listener;
    openData(&listener);
    data().orderList().reload(OrderFilter());
    QCOMPARE(data().orderList().currentOrderId(), QStringLiteral("2015-00003"));

    listener.canLeave = false;
    const int entered = listener.entered.size();
    QVERIFY(!data().orderList().moveTo(2));
    QVERIFY(!data().orderList().last());
    QCOMPARE(listener.leaveQuestions, 2);
    QCOMPARE(data().orderList().currentRow(), 0);
    QCOMPARE(listener.entered.size(), entered);

    listener.canLeave = true;
    QVERIFY(data().orderList().moveTo(2));
    QCOMPARE(data().orderList().currentOrderId(), QStringLiteral("2015-00001"));
    QCOMPARE(listener.entered.last(), QStringLiteral("2015-00001"));
}

// ---------------------------------------------------------------------------------------
// Finding and opening the database

void TstData::foreignFileIsRefusedUntouched_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: made by SQLite from the statements
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("text file") << QByteArray("Zakázky;2015\r\n") << QStringList();
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("old Access file")
        << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) << QStringList();
    QTest::newRow("SQLite without the tables")
        << QByteArray() << QStringList{QStringLiteral("CREATE TABLE notes (x TEXT)")};
    QTest::newRow("SQLite with some tables")
        << QByteArray()
        << QStringList{QStringLiteral("CREATE TABLE t_order_02 (OrderID TEXT)"),
                       QStringLiteral("CREATE TABLE t_config_01 (ConfigKey TEXT, ConfigValue TEXT)")};
}

void TstData::foreignFileIsRefusedUntouched()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, statements);
    const QString path = m_shop->path(QStringLiteral("cizí soubor.db"));
    if (statements.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    } else {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            for (const QString &sql : statements)
                QVERIFY(QSqlQuery(db).exec(sql));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    }
    const QByteArray before = fileBytes(path);
    const QDateTime modified = QFileInfo(path).lastModified();

    TRpx2Data other(nullptr, QStringLiteral("RPX2"), nullptr);
    try {
        other.OpenFile(path);
        QFAIL("no RpxError");
    } catch (const RpxError &e) {
        QVERIFY2(e.message().contains(QFileInfo(path).absoluteFilePath()), qPrintable(e.message()));
    }
    QVERIFY(!other.isOpen());
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
}

void TstData::refusedFileKeepsOpenDatabase()
{
    // Choosing a wrong file for the running program must leave it working on its database.
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001")));
    const QString wrong = m_shop->path(QStringLiteral("wrong.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(wrong);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE notes (x TEXT)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    QVERIFY_THROWS_EXCEPTION(RpxError, data().OpenFile(wrong));
    QVERIFY(data().isOpen());
    QCOMPARE(data().fileName(), QFileInfo(AppPaths::databaseFile()).absoluteFilePath());
    QCOMPARE(data().GetOrderCount(), 1);
    QVERIFY_THROWS_EXCEPTION(RpxError, data().OpenFile(m_shop->path(QStringLiteral("missing.db"))));
    QVERIFY(!QFile::exists(m_shop->path(QStringLiteral("missing.db"))));
    QCOMPARE(data().GetOrderCount(), 1);
}

void TstData::createDatabaseRefusesExistingFile()
{
    const QString path = m_shop->path(QStringLiteral("notes.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QVERIFY_THROWS_EXCEPTION(RpxError, TRpx2Data::CreateDatabase(path));
    QCOMPARE(fileBytes(path), QByteArray("keep me"));

    data().StoreOrder(makeOrder(QStringLiteral("2015-00001")));
    QVERIFY_THROWS_EXCEPTION(RpxError, TRpx2Data::CreateDatabase(AppPaths::databaseFile()));
    QCOMPARE(data().GetOrderCount(), 1);
}

using Choice = Prompts::MissingDatabase;

void TstData::startUp_data()
{
    QTest::addColumn<bool>("besideProgram");   // rpx3.db stays beside the program
    QTest::addColumn<QString>("dbFileName");   // the DBFileName setting ("elsewhere" = the moved file)
    QTest::addColumn<QList<int>>("choices");   // answers to the missing-database question
    QTest::addColumn<QStringList>("files");    // file dialog answers ("elsewhere" = the moved file)
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("opened");       // "beside", "elsewhere" or empty
    QTest::addColumn<int>("questions");

    const int choose = int(Choice::ChooseFile);
    const int create = int(Choice::CreateNew);
    const int quit = int(Choice::Quit);
    QTest::newRow("file beside the program") << true << "" << QList<int>{} << QStringList() << true << "beside" << 0;
    QTest::newRow("beside wins over DBFileName")
        << true << "elsewhere" << QList<int>{} << QStringList() << true << "beside" << 0;
    QTest::newRow("missing, DBFileName names a file")
        << false << "elsewhere" << QList<int>{} << QStringList() << true << "elsewhere" << 0;
    QTest::newRow("missing, DBFileName names nothing, quit")
        << false << "gone.db" << QList<int>{quit} << QStringList() << false << "" << 1;
    QTest::newRow("missing, quit") << false << "" << QList<int>{quit} << QStringList() << false << "" << 1;
    QTest::newRow("missing, create new") << false << "" << QList<int>{create} << QStringList() << true
                                         << "beside" << 1;
    QTest::newRow("missing, choose a file")
        << false << "" << QList<int>{choose} << ids({"elsewhere"}) << true << "elsewhere" << 1;
    QTest::newRow("missing, choice cancelled, then quit")
        << false << "" << QList<int>{choose, quit} << QStringList() << false << "" << 2;
}

void TstData::startUp()
{
    QFETCH(bool, besideProgram);
    QFETCH(QString, dbFileName);
    QFETCH(QList<int>, choices);
    QFETCH(QStringList, files);
    QFETCH(bool, connected);
    QFETCH(QString, opened);
    QFETCH(int, questions);

    data().StoreOrder(makeOrder(QStringLiteral("2015-00001")));
    m_data.reset();
    const QString beside = QFileInfo(AppPaths::databaseFile()).absoluteFilePath();
    const QString elsewhere = m_shop->path(QStringLiteral("jinde/obchod.db"));
    QVERIFY(QDir().mkpath(QFileInfo(elsewhere).path()));
    if (besideProgram) {
        QVERIFY(QFile::copy(beside, elsewhere));
    } else {
        QVERIFY(QFile::rename(beside, elsewhere));
    }
    auto resolve = [&](const QString &name) { return name == QLatin1String("elsewhere") ? elsewhere : name; };

    TRpx2Data module(nullptr, QStringLiteral("RPX2"), nullptr);
    if (!dbFileName.isEmpty())
        module.config().SetDBFileName(resolve(dbFileName == QLatin1String("gone.db")
                                                  ? m_shop->path(dbFileName)
                                                  : dbFileName));
    ScriptedPrompts prompts;
    for (int c : choices)
        prompts.choices.push_back(Choice(c));
    for (const QString &f : files)
        prompts.files.push_back(resolve(f));

    QCOMPARE(module.Connect(prompts), connected);
    QCOMPARE(prompts.messages.size(), questions);
    for (const QString &m : prompts.messages)
        QCOMPARE(m, QStringLiteral("Soubor databáze nenalezen.\nZadejte umístění databáze."));
    QCOMPARE(module.isOpen(), connected);
    if (!connected) {
        QVERIFY(!QFile::exists(beside));
        return;
    }
    QCOMPARE(module.fileName(), opened == QLatin1String("beside") ? beside : QFileInfo(elsewhere).absoluteFilePath());
    // A new database is empty; the others hold the stored order, listed at once.
    const int orders = choices.contains(int(Choice::CreateNew)) ? 0 : 1;
    QCOMPARE(module.GetOrderCount(), orders);
    QCOMPARE(module.orderList().rowCount(), orders);
}

void TstData::startUpListShowsLast92Days()
{
    const QDate today = Now.date();
    data().StoreOrder(makeOrder(QStringLiteral("2015-00001"), OrderStates::HandedBack, 0,
                                QDateTime(today.addDays(-92), QTime(8, 0))));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00002"), OrderStates::New, 0,
                                QDateTime(today.addDays(-93), QTime(18, 0))));
    data().StoreOrder(makeOrder(QStringLiteral("2015-00003"), OrderStates::InRepair, 0, Now));
    m_data.reset();
    RecordingListener listener;
    TRpx2Data module(nullptr, QStringLiteral("RPX2"), &listener);
    ScriptedPrompts prompts;
    QVERIFY(module.Connect(prompts));
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(listedIds(module.orderList()), ids({"2015-00003", "2015-00001"}));
    QCOMPARE(listener.entered, ids({"2015-00003"}));
    QCOMPARE(listener.counts, QStringList{QStringLiteral("Nová: 1; V opravě: 1; Vydaná: 1")});
}

QTEST_GUILESS_MAIN(TstData)
#include "tst_data.moc"
