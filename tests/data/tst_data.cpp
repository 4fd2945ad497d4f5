// The data module: storing orders and customers, the operations log, the order list with
// its filters and counts, and finding and opening the database.
#include "config.h"
#include "customersearchmodel.h"
#include "orderlist.h"
#include "orderlistlistener.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "scriptedprompts.h"
#include "testshop.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QStringEncoder>
#include <QtTest>

#include <ctime>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2015, 6, 15), QTime(10, 30, 5));

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

QString id(int counter)
{
    return u"2015-%1"_s.arg(counter, 5, 10, QLatin1Char('0'));
}

QStringList ids(const QList<int> &counters)
{
    QStringList result;
    for (int counter : counters)
        result.append(id(counter));
    return result;
}

COrder makeOrder(int counter, int state = OrderStates::New, int customerId = 0,
                 const QDateTime &received = Now)
{
    COrder o;
    o.OrderID = id(counter);
    o.OrderTypeID = OrderTypes::Paid;
    o.OrderStateID = state;
    o.OrderCustomerID = customerId;
    o.OrderReceiptDate = received;
    o.OrderPhoneType = u"Nokia 3310"_s;
    o.OrderPhoneIMEI = u"356938035643809"_s;
    o.OrderFaultDescription = u"Nenabíjí"_s;
    o.OrderExpectedPricePrimary = u"500"_s;
    o.OrderExpectedCurrencyPrimary = u"Kč"_s;
    return o;
}

CCustomer makeCustomer(const QString &name, const QString &city = {}, const QString &phone = {},
                       const QString &email = {})
{
    return CCustomer { 0, false, u"12345678"_s, name, {}, city, {}, phone, email };
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An SQLite file made by the statements, on a connection of its own.
void makeSqlite(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"maker"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &sql : statements)
            QVERIFY(QSqlQuery(db).exec(sql));
    }
    QSqlDatabase::removeDatabase(u"maker"_s);
}

QStringList listedIds(const OrderList &list)
{
    QStringList result;
    for (int row = 0; row < list.rowCount(); ++row)
        result.append(list.orderIdAt(row));
    return result;
}

} // namespace

Q_DECLARE_METATYPE(OrderFilter)
Q_DECLARE_METATYPE(Prompts::MissingDatabase)

class TstData : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;

    TRpx2Data &data() { return *m_data; }
    OrderList &list() { return m_data->orderList(); }
    void openData(OrderListListener *listener = nullptr)
    {
        m_data = std::make_unique<TRpx2Data>(nullptr, u"RPX2"_s, listener);
        m_data->OpenFile(AppPaths::databaseFile());
    }
    int count(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery query = data().OpenQuery(sql, values);
        return query.next() ? query.value(0).toInt() : -1;
    }

private slots:
    void init()
    {
        m_shop = std::make_unique<TestShop>();
        Clock::setFixed(Now);
        openData();
    }
    void cleanup()
    {
        m_data.reset();
        m_shop.reset();
    }

    // Each store also appends a Windows-1250 line to the operations log: time, insert or edit,
    // number, phone, IMEI kept as text by an apostrophe, expected and final price. A log that
    // cannot be written does not stop storing.
    // Every field survives: each flag set, each amount non-zero, each date set.
    void storeOrderInsertsThenUpdatesAndLogs()
    {
        COrder order = makeOrder(1);
        order.OrderPhoneType = u"Nokia modrá č.2 📱"_s;
        order.OrderFinalPricePrimary = 99.999;
        order.OrderFinalCurrencyPrimary = u"zł"_s;
        order.OrderTypeID = OrderTypes::Warranty;
        order.OrderCustomerID = 7;
        order.OrderDeadlineDate = Now.addDays(7);
        order.OrderExpectedPriceSecondary = u"20"_s;
        order.OrderExpectedCurrencySecondary = order.OrderFinalCurrencySecondary = u"Eur"_s;
        order.OrderComponentsCurrencyPrimary = u"Kč"_s;
        order.OrderComponentsCurrencySecondary = u"€"_s;
        order.OrderFinalPriceSecondary = 4.25;
        order.OrderComponentsPricePrimary = 312.5;
        order.OrderComponentsPriceSecondary = 12.5;
        order.OrderEngineerName = u"Řehoř"_s;
        order.OrderRepairNote = u"Záruka 3 měsíce"_s;
        order.OrderRepairImage = u"2015-00001-IMG_0001.JPG"_s;
        order.OrderBatteryType = u"BL-5C"_s;
        order.OrderBatterySN = u"AB0123456789"_s;
        order.OrderNote = u"Poškrábaný kryt"_s;
        order.OrderSoftware = order.OrderPhone = order.OrderBattery = order.OrderCharger = true;
        order.OrderCover = order.OrderSIM = order.OrderWarrantyCert = order.OrderEmailSent = true;
        data().StoreOrder(order);
        QCOMPARE(*data().GetOrder(order.OrderID), order);
        order.OrderStateID = OrderStates::HandedBack;
        order.OrderRepairDescription = u"Vyměněn konektor"_s;
        order.OrderIssueDate = Now.addDays(2);
        order.OrderPhoneIMEI.clear();
        order.OrderFinalPricePrimary = 1e6;
        data().StoreOrder(order);
        QCOMPARE(data().GetOrderCount(), 1);
        QCOMPARE(*data().GetOrder(order.OrderID), order);

        const QByteArray time = QStringEncoder("windows-1250")
                                    .encode(QLocale::system().toString(Now, QLocale::ShortFormat));
        QCOMPARE(fileBytes(AppPaths::operationsLog()),
                 time
                     + ";insert;2015-00001;Nokia modr\xe1 \xe8.2 "
                       "?;'356938035643809;500K\xe8;100.00z\xb3\r\n"
                     + time
                     + ";edit;2015-00001;Nokia modr\xe1 \xe8.2 ?;';500K\xe8;1000000.00z\xb3\r\n");

        QVERIFY(QFile::remove(AppPaths::operationsLog()));
        QVERIFY(QDir().mkpath(AppPaths::operationsLog())); // a folder where the file should be
        COrder fresh; // without a number: the store draws one
        data().StoreNewOrder(fresh);
        QCOMPARE(data().GetOrderCount(), 2);
    }

    void textsRoundTripUnchanged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << "O'Brien's \"Rychlá\" oprava, „česky“";
        QTest::newRow("line breaks") << "první\r\ndruhý\ntřetí\r\n";
        QTest::newRow("outside the code page") << "Łódź, Ľubomír, Displej 📱 prasklý";
        QTest::newRow("SQL text") << "x'); DROP TABLE t_order_02; --";
        QTest::newRow("long") << QString(5000, QChar(0x0159));
    }
    void textsRoundTripUnchanged()
    {
        QFETCH(QString, text);
        CCustomer customer = makeCustomer(text, text, text, text);
        customer.CustomerStreet = text;
        data().StoreCustomer(customer);
        QCOMPARE(*data().GetCustomer(customer.CustomerID), customer);

        COrder order = makeOrder(1, OrderStates::New, customer.CustomerID);
        order.OrderFaultDescription = order.OrderNote = order.OrderRepairNote = text;
        order.OrderEngineerName = order.OrderPhoneType = order.OrderPhoneIMEI = text;
        order.OrderExpectedPricePrimary = text;
        data().StoreOrder(order);
        QCOMPARE(*data().GetOrder(order.OrderID), order);
        QCOMPARE(data().GetLastOrderByImei(text)->OrderID, order.OrderID);
    }

    // An empty text of an order is stored as an empty text, not NULL: a summary grouping by
    // engineer must not show two groups of orders without an engineer.
    void emptyOrderTextsStoredAsEmptyNotNull()
    {
        COrder order; // every text empty, as a record fresh from code rather than from a form
        order.OrderID = id(1);
        data().StoreOrder(order);
        QCOMPARE(
            count(QStringLiteral("SELECT count(*) FROM t_order_02 WHERE OrderEngineerName IS NULL "
                                 "OR OrderPhoneIMEI IS NULL OR OrderNote IS NULL "
                                 "OR OrderFinalCurrencyPrimary IS NULL")),
            0);
        QCOMPARE(data().GetOrdersByImei(u""_s).size(), 1);
        // Dates that are not set stay unset.
        QCOMPARE(count(u"SELECT count(*) FROM t_order_02 WHERE OrderIssueDate IS NULL"_s), 1);
        QCOMPARE(*data().GetOrder(order.OrderID), order);
    }

    void namesInTheShopsLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("names"); // stored in this order
        QTest::addColumn<QStringList>("sorted");
        auto row
            = [](const char *name, const char *language, const char *names, const char *sorted) {
                  QTest::newRow(name)
                      << QString::fromLatin1(language) << QString::fromUtf8(names).split(u',')
                      << QString::fromUtf8(sorted).split(u',');
              };
        row("cs: háčky, ch after h, case ignored", "cs",
            "Žák,zeman,Řezník,Šťastný,Chmel,Hora,cibulka,Čermák,Rybář,Adámek,Ivan,Sýkora",
            "Adámek,cibulka,Čermák,Hora,Chmel,Ivan,Rybář,Řezník,Sýkora,Šťastný,zeman,Žák");
        row("pl: ą ć ł ś ź ż after their letters", "pl",
            "Żak,Zieliński,Źródło,Łukasz,Lis,mazur,Ślusarz,Sowa,Ćwik,Czarnecki,Ąbek,adamczyk",
            "adamczyk,Ąbek,Czarnecki,Ćwik,Lis,Łukasz,mazur,Sowa,Ślusarz,Zieliński,Źródło,Żak");
        row("sk: ä, ô and ch", "sk", "Ôsmy,Oravec,Chovan,Hudák,Äbel,adam,čierny,Cibula,Ihnát",
            "adam,Äbel,Cibula,čierny,Hudák,Chovan,Ihnát,Oravec,Ôsmy");
    }
    // Suggestion lists and the customer search sort as the shop's language does, not by
    // bytes (Čermák used to come after every Z, lower case after upper case).
    void namesInTheShopsLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, names);
        data().config().SetLanguage(language);
        openData(); // the language applies from the next opening on
        data().ExecuteCommand(u"DELETE FROM t_phone_01"_s);
        int counter = 0;
        for (const QString &name : names) {
            COrder order = makeOrder(++counter);
            order.OrderEngineerName = order.OrderPhoneType = order.OrderBatteryType = name;
            data().StoreOrder(order);
            CCustomer customer = makeCustomer(name);
            data().StoreCustomer(customer);
        }
        QTEST(data().GetEngineerNames(), "sorted");
        QTEST(data().GetPhoneTypeNames(), "sorted");
        QTEST(data().GetBatteryTypeNames(), "sorted");
        data().ReloadCustomerSearch({}, {});
        QStringList customers;
        for (int row = 0; row < data().customerSearchModel()->rowCount(); ++row)
            customers.append(data().customerSearchRow(row).CustomerName);
        QTEST(customers, "sorted");
        // The engineer list, when it is what the order form offers, is sorted too.
        int id = 0;
        for (const QString &name : names)
            data().ExecuteCommand(u"INSERT INTO t_filter_engineer_01 VALUES (?, ?)"_s,
                                  { ++id, name });
        QTEST(data().GetEngineerListNames(), "sorted");
    }

    // Names equal but for letter case are one name: one suggestion, hidden together,
    // renamed together. Accents still count.
    void namesCompareIgnoringCase()
    {
        int counter = 0;
        for (const char *name : { "Novák", "NOVÁK", "novák", "Novak", "Zikmund" }) {
            COrder order = makeOrder(++counter);
            order.OrderEngineerName = order.OrderPhoneType = QString::fromUtf8(name);
            data().StoreOrder(order);
        }
        data().ExecuteCommand(u"DELETE FROM t_phone_01"_s);
        data().ExecuteCommand(u"INSERT INTO t_filter_engineer_01 VALUES (1, 'zikmund')"_s);
        data().ExecuteCommand(u"INSERT INTO t_filter_phone_01 VALUES (1, 'ZIKMUND')"_s);
        for (const QStringList &names : { data().GetEngineerNames(), data().GetPhoneTypeNames() }) {
            QCOMPARE(names.size(), 2);
            QCOMPARE(names[0], u"Novak"_s);
            QCOMPARE(names[1].toLower(), u"novák"_s);
        }
        QCOMPARE(data().RenameEngineer(u"Novák"_s, u"Jan Novák"_s), 3);
        QCOMPARE(data().RenamePhoneType(u"NOVÁK"_s, u"Nokia"_s), 3);
        QCOMPARE(count(u"SELECT count(*) FROM t_order_02 WHERE OrderEngineerName = 'Jan Novák' "
                       "AND OrderPhoneType = 'Nokia'"_s),
                 3);
        QCOMPARE(data().GetEngineerNames(), (QStringList { u"Jan Novák"_s, u"Novak"_s }));
    }

    void wallClockTimesThroughDaylightSaving_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("stored"); // as another counter or an older version left it
        QTest::addColumn<QString>("read"); // shown, and stored again
        QTest::newRow("Prague, spring: a skipped time")
            << QByteArray("Europe/Prague") << "2026-03-29 02:30:00"
            << "2026-03-29 03:00:00";
        QTest::newRow("Prague, autumn: the hour that comes twice")
            << QByteArray("Europe/Prague") << "2026-10-25 02:30:00"
            << "2026-10-25 02:30:00";
        QTest::newRow("Santiago: a skipped midnight")
            << QByteArray("America/Santiago") << "2026-09-06 00:00:00"
            << "2026-09-06 01:00:00";
    }
    // A time in the gap of the spring change used to read as no date and was stored back as
    // NULL: the order vanished from the list. A skipped midnight made the age cut-off NULL.
    void wallClockTimesThroughDaylightSaving()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, stored);
        QFETCH(QString, read);
        const QByteArray oldZone = qgetenv("TZ");
        qputenv("TZ", zone);
        tzset();
        const QDate day = QDate::fromString(stored.left(10), Qt::ISODate);
        Clock::setFixed(QDateTime(day.addDays(7), QTime(12, 0)));
        data().StoreOrder(makeOrder(1, OrderStates::HandedBack));
        data().ExecuteCommand(u"UPDATE t_order_02 SET OrderReceiptDate = ?, OrderIssueDate = ?"_s,
                              { stored, stored });
        COrder order = data().GetOrder(id(1)).value_or(COrder {});
        const QString shown = order.OrderReceiptDate.toString(u"yyyy-MM-dd HH:mm:ss"_s);
        const QString picked = Clock::localTime(day, QTime::fromString(stored.mid(11), Qt::ISODate))
                                   .toString(u"yyyy-MM-dd HH:mm:ss"_s);
        OrderFilter lastWeek;
        lastWeek.ageDays = 7;
        list().reload(lastWeek);
        const QStringList listed = listedIds(list());
        data().StoreOrder(order);
        QSqlQuery query = data().OpenQuery(
            u"SELECT OrderReceiptDate || '|' || OrderIssueDate FROM t_order_02"_s);
        const QString again = query.next() ? query.value(0).toString() : u"<NULL>"_s;
        oldZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", oldZone);
        tzset();
        QCOMPARE(shown, read);
        QCOMPARE(picked, read); // a time picked in the window
        QCOMPARE(listed, ids({ 1 }));
        QCOMPARE(again, read + u'|' + read);
    }

    void deleteOrderMatchesTheWholeNumber()
    {
        data().StoreOrder(makeOrder(1));
        data().StoreOrder(makeOrder(10));
        for (const QString &other : { id(99), u"2015-0001"_s, u"2015-0000_"_s, QString() })
            QVERIFY2(!data().DeleteOrder(other), qPrintable(other));
        QCOMPARE(data().GetOrderCount(), 2);
        QVERIFY(data().DeleteOrder(id(1)));
        QCOMPARE(data().GetOrderCount(), 1);
        QVERIFY(data().GetOrder(id(10)).has_value());
    }

    void ordersByImei()
    {
        COrder first = makeOrder(1, OrderStates::HandedBack);
        first.OrderIssueDate = Now.addDays(-30);
        COrder second = makeOrder(2, OrderStates::HandedBack);
        second.OrderIssueDate = Now.addDays(-2);
        COrder other = makeOrder(3);
        other.OrderPhoneIMEI = u"35693803564380"_s; // a prefix of the first IMEI
        for (const COrder &o : { first, second, other })
            data().StoreOrder(o);
        QCOMPARE(data().GetLastOrderByImei(first.OrderPhoneIMEI)->OrderID, second.OrderID);
        QCOMPARE(data().GetOrdersByImei(first.OrderPhoneIMEI).size(), 2);
        QVERIFY(!data().GetLastOrderByImei(u"000000000000000"_s).has_value());
        QVERIFY(!data().GetLastOrderByImei(u"3569380356438%"_s).has_value());
    }

    // Printing several held orders gives them in the order held, with customer and names;
    // a number deleted meanwhile is left out rather than failing the whole document.
    void ordersForPrintKeepTheGivenOrder()
    {
        CCustomer customer = makeCustomer(u"Eva Černá"_s, u"Brno"_s);
        data().StoreCustomer(customer);
        data().StoreOrder(makeOrder(1, OrderStates::New, customer.CustomerID));
        data().StoreOrder(makeOrder(2, OrderStates::HandedBack));
        const auto rows = data().GetOrdersForPrint({ id(2), id(99), id(1) });
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].order.OrderID, id(2));
        QCOMPARE(rows[0].stateName, u"Vydaná"_s);
        QCOMPARE(rows[1].customer.CustomerCity, u"Brno"_s);
        QCOMPARE(rows[1].typeName, u"Placená oprava"_s);
    }

    void storeCustomer()
    {
        CCustomer customer
            = makeCustomer(u"Jan Novák"_s, {}, u"777 123 456"_s, u"jan@example.cz"_s);
        customer.CustomerShowCode = true;
        data().StoreCustomer(customer);
        const int oldId = customer.CustomerID;
        customer.CustomerEMail.clear(); // empty texts are stored as NULL, also when cleared later
        data().StoreCustomer(customer);
        QCOMPARE(customer.CustomerID, oldId); // an update keeps the id
        QCOMPARE(*data().GetCustomer(oldId), customer);
        QCOMPARE(
            count(QStringLiteral(
                "SELECT count(*) FROM t_customer_02 WHERE CustomerEMail IS NULL "
                "AND CustomerCity IS NULL AND CustomerStreet IS NULL AND CustomerPSC IS NULL")),
            1);
        // Such a customer's orders pass the list's empty e-mail filter.
        data().StoreOrder(makeOrder(1, OrderStates::New, oldId));
        list().reload(OrderFilter());
        QCOMPARE(listedIds(list()), ids({ 1 }));

        // Another program merged the customer away meanwhile: storing it again inserts it.
        data().ExecuteCommand(u"DELETE FROM t_customer_02 WHERE CustomerID = ?"_s, { oldId });
        customer.CustomerPhoneNo = u"608 000 111"_s;
        data().StoreCustomer(customer);
        QVERIFY(customer.CustomerID != 0);
        QCOMPARE(count(u"SELECT count(*) FROM t_customer_02"_s), 1);
        QCOMPARE(*data().GetCustomer(customer.CustomerID), customer);
    }

    void orderListFilters_data()
    {
        QTest::addColumn<OrderFilter>("filter");
        QTest::addColumn<QList<int>>("listed"); // counters of the listed numbers, in list order

        auto row = [](const char *name, QString OrderFilter::*field, const char *value,
                      const QList<int> &listed) {
            OrderFilter filter;
            filter.*field = QString::fromUtf8(value);
            QTest::newRow(name) << filter << listed;
        };
        QTest::newRow("no filter") << OrderFilter() << QList<int> { 2, 1, 4, 3 };
        row("name, other case of Á", &OrderFilter::customerName, "NOVÁK", { 1 });
        row("engineer, ľ finds Ľ", &OrderFilter::engineerName, "ľUBO", { 2 });
        row("phone type, ů finds Ů", &OrderFilter::phoneType, "ůNIK", { 2 });
        row("city, Ú finds ú", &OrderFilter::customerCity, "ÚSTÍ", { 2 });
        row("typed % matches itself", &OrderFilter::customerName, "%", { 3 });
        row("typed _ matches itself", &OrderFilter::customerName, "a_b", { 3 });
        row("_ is not a wildcard", &OrderFilter::customerName, "k_", {});
        row("typed apostrophe", &OrderFilter::customerName, "o'b", { 3 });
        row("IMEI with %", &OrderFilter::phoneImei, "0%", { 4 });
        row("no customer fails a customer filter", &OrderFilter::customerCity, "r", { 1, 3 });
        row("e-mail", &OrderFilter::customerEMail, "example", { 2 });
        row("NULL engineer fails an engineer filter", &OrderFilter::engineerName, "e", { 1, 4 });
        row("phone number", &OrderFilter::customerPhoneNo, "123 4", { 1 });
        row("order number", &OrderFilter::orderId, "-00003", { 3 });
        OrderFilter state;
        state.stateId = OrderStates::New;
        QTest::newRow("state") << state << QList<int> { 2, 1 };
        state.engineerName = u"petr"_s;
        QTest::newRow("state and engineer") << state << QList<int> { 1 };
    }
    // Four orders; the list shows them by the state's list order, then by descending number,
    // and the per-state counts follow the same filter.
    void orderListFilters()
    {
        QFETCH(OrderFilter, filter);
        QFETCH(QList<int>, listed);
        QList<CCustomer> c
            = { makeCustomer(u"Novák Jiří"_s, u"Brno"_s, u"777 123 456"_s),
                makeCustomer(u"ŁUKASZ Čermák"_s, u"Ústí"_s, u"608 222"_s, u"Lukasz@Example.pl"_s),
                makeCustomer(u"O'Brien 50% a_b"_s, u"Žďár"_s, {}, u"ob@x.cz"_s) };
        for (CCustomer &customer : c)
            data().StoreCustomer(customer);
        const struct
        {
            int state, customer;
            const char *engineer, *phoneType, *imei, *stateName;
        } orders[]
            = { { OrderStates::New, c[0].CustomerID, "Petr", "Nokia Lumia", "1010101", "Nová" },
                { OrderStates::New, c[1].CustomerID, "Ľubo", "Xiaomi Ůnik", "222222", "Nová" },
                { OrderStates::HandedBack, c[2].CustomerID, "", "Samsung", "", "Vydaná" },
                { OrderStates::InRepair, 0, "petr", "nokia", "50%", "V opravě" } };
        int counter = 0;
        for (const auto &o : orders) {
            COrder order = makeOrder(++counter, o.state, o.customer);
            order.OrderEngineerName = QString::fromUtf8(o.engineer);
            order.OrderPhoneType = QString::fromUtf8(o.phoneType);
            order.OrderPhoneIMEI = QString::fromUtf8(o.imei);
            data().StoreOrder(order);
        }
        // An order stored with a NULL engineer, as an older database may hold.
        data().ExecuteCommand(u"UPDATE t_order_02 SET OrderEngineerName = NULL WHERE OrderID = ?"_s,
                              { id(3) });

        list().reload(filter);
        QCOMPARE(listedIds(list()), ids(listed));
        QCOMPARE(list().currentRow(), listed.isEmpty() ? -1 : 0);
        QStringList counts; // the listed orders per state, in the states' list order
        for (const char *state : { "Nová", "V opravě", "Vydaná" }) {
            const auto n = std::count_if(listed.begin(), listed.end(), [&](int counter) {
                return qstrcmp(orders[counter - 1].stateName, state) == 0;
            });
            if (n > 0)
                counts.append(u"%1: %2"_s.arg(QString::fromUtf8(state)).arg(n));
        }
        QCOMPARE(list().stateCountsText(), counts.join(u"; "_s));
    }

    void listReadsAlongIndexes_data()
    {
        QTest::addColumn<OrderFilter>("filter");
        auto row = [](const char *name, QString OrderFilter::*field, const char *value) {
            OrderFilter filter;
            if (field)
                filter.*field = QString::fromUtf8(value);
            QTest::newRow(name) << filter;
        };
        row("no filter", nullptr, "");
        row("IMEI", &OrderFilter::phoneImei, "3569");
        row("order number", &OrderFilter::orderId, "-001");
        row("customer", &OrderFilter::customerName, "nov");
        row("engineer", &OrderFilter::engineerName, "pet");
        row("phone type", &OrderFilter::phoneType, "nok");
        OrderFilter state;
        state.stateId = OrderStates::New;
        state.ageDays = 0;
        QTest::newRow("one state, every age") << state;
        state.customerCity = u"brno"_s;
        QTest::newRow("state and city") << state;
    }
    // Every statement of the list reads orders along an index: a step without one only reads
    // the page or the filter's orders already found (p, d), or the customers a customer
    // filter looks through (x).
    void listReadsAlongIndexes()
    {
        QFETCH(OrderFilter, filter);
        data().StoreOrder(makeOrder(1));
        data().StoreOrder(makeOrder(2, OrderStates::HandedBack));
        const QList<OrderList::Statement> statements = list().statementsFor(filter);
        QVERIFY(statements.size() >= 5);
        const QRegularExpression bareScan(u"^SCAN (\\w+)$"_s);
        for (const OrderList::Statement &statement : statements) {
            QSqlQuery plan
                = data().OpenQuery(u"EXPLAIN QUERY PLAN "_s + statement.sql, statement.values);
            while (plan.next()) {
                const QString step = plan.value(3).toString();
                const QRegularExpressionMatch scan = bareScan.match(step);
                if (scan.hasMatch()
                    && !QStringList { u"p"_s, u"d"_s, u"x"_s }.contains(scan.captured(1)))
                    QFAIL(qPrintable(step + u" in "_s + statement.sql));
            }
        }
    }

    // A filter that few of the newest orders pass: the list goes on past the orders it looks
    // at first and through the later states, in list order, with exact counts.
    void filterPastTheOrdersLookedAtFirst()
    {
        {
            TRpx2Data::WriteTransaction transaction(data());
            for (int counter = 1; counter <= 3000; ++counter) {
                COrder order = makeOrder(counter,
                                         counter <= 2500       ? OrderStates::New
                                             : counter <= 2900 ? OrderStates::InRepair
                                                               : OrderStates::HandedBack);
                if (counter % 400 == 7 || counter == 2950)
                    order.OrderPhoneIMEI = u"86%1"_s.arg(counter);
                data().StoreOrder(order);
            }
            transaction.commit();
        }
        OrderFilter filter;
        filter.phoneImei = u"86"_s;
        list().reload(filter);
        QCOMPARE(listedIds(list()), ids({ 2407, 2007, 1607, 1207, 807, 407, 7, 2807, 2950 }));
        QCOMPARE(list().stateCountsText(), u"Nová: 7; V opravě: 1; Vydaná: 1"_s);
        QVERIFY(list().last());
        QCOMPARE(list().currentOrderId(), id(2950));
    }

    void listenerIsToldAndAskedBeforeEveryMove()
    {
        for (int counter = 1; counter <= 3; ++counter)
            data().StoreOrder(
                makeOrder(counter, counter == 1 ? OrderStates::HandedBack : OrderStates::New));
        RecordingListener listener;
        openData(&listener);
        list().reload(OrderFilter());
        QCOMPARE(listener.entered, ids({ 3 }));
        QCOMPARE(listener.counts, QStringList { u"Nová: 2; Vydaná: 1"_s });

        OrderFilter nothing;
        nothing.phoneType = u"Motorola"_s;
        list().reload(nothing);
        QCOMPARE(listener.entered.size(), 1); // an empty list enters no order
        QCOMPARE(listener.counts.last(), QString());
        QCOMPARE(list().currentOrderId(), QString());
        QVERIFY(!list().next());

        list().reload(OrderFilter());
        listener.canLeave = false;
        QVERIFY(!list().moveTo(2));
        QVERIFY(!list().last());
        QCOMPARE(listener.leaveQuestions, 2);
        QCOMPARE(list().currentRow(), 0);
        QCOMPARE(listener.entered, ids({ 3, 3 }));

        listener.canLeave = true;
        QVERIFY(list().moveTo(2));
        QVERIFY(!list().next()); // past the end: no move, no question
        QCOMPARE(listener.leaveQuestions, 3);
        QCOMPARE(listener.entered, ids({ 3, 3, 1 }));
    }

    void foreignFileIsRefusedUntouched_data()
    {
        // Null: no file, or one made by SQLite from the statements.
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("missing file") << QByteArray() << QStringList();
        QTest::newRow("empty file") << QByteArray("") << QStringList();
        QTest::newRow("old Access file")
            << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) << QStringList();
        QTest::newRow("SQLite with some tables")
            << QByteArray()
            << QStringList { u"CREATE TABLE t_order_02 (OrderID TEXT)"_s,
                             u"CREATE TABLE t_config_01 (ConfigKey TEXT, ConfigValue TEXT)"_s };
    }
    // The running program keeps working on its own database, and no file is created.
    void foreignFileIsRefusedUntouched()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, statements);
        data().StoreOrder(makeOrder(1));
        const QString path = m_shop->path(u"cizí soubor.db"_s);
        if (!content.isNull())
            writeFile(path, content);
        else if (!statements.isEmpty())
            makeSqlite(path, statements);
        const QByteArray before = fileBytes(path);
        const QDateTime modified = QFileInfo(path).lastModified();
        try {
            data().OpenFile(path);
            QFAIL("no RpxError");
        } catch (const RpxError &e) {
            QVERIFY2(e.message().contains(QFileInfo(path).absoluteFilePath()),
                     qPrintable(e.message()));
        }
        QCOMPARE(data().fileName(), QFileInfo(AppPaths::databaseFile()).absoluteFilePath());
        QCOMPARE(data().GetOrderCount(), 1);
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QVERIFY(!QFile::exists(path + u"-journal"_s));
        QVERIFY(!QFile::exists(path + u"-wal"_s));
    }

    void createDatabaseRefusesAnExistingFile()
    {
        data().StoreOrder(makeOrder(1));
        const QString notes = m_shop->path(u"notes.txt"_s);
        writeFile(notes, "keep me");
        QVERIFY_THROWS_EXCEPTION(RpxError, TRpx2Data::CreateDatabase(notes));
        QCOMPARE(fileBytes(notes), QByteArray("keep me"));
        QVERIFY_THROWS_EXCEPTION(RpxError, TRpx2Data::CreateDatabase(AppPaths::databaseFile()));
        QCOMPARE(data().GetOrderCount(), 1);
    }

    void startUp_data()
    {
        QTest::addColumn<bool>("besideProgram"); // else the database is moved elsewhere
        QTest::addColumn<QString>("dbFileName"); // "elsewhere": the moved file
        // Answers to the missing-database question, in turn.
        QTest::addColumn<QList<Prompts::MissingDatabase>>("choices");
        QTest::addColumn<bool>("fileChosen"); // the file dialog gives the moved file
        QTest::addColumn<QString>("opened"); // "beside", "elsewhere" or empty: not connected
        auto row = [](const char *name, bool beside, const char *dbFileName,
                      const QList<Prompts::MissingDatabase> &choices, bool fileChosen,
                      const char *opened) {
            QTest::newRow(name) << beside << QString::fromLatin1(dbFileName) << choices
                                << fileChosen << QString::fromLatin1(opened);
        };
        using enum Prompts::MissingDatabase;
        row("beside wins over DBFileName", true, "elsewhere", {}, false, "beside");
        row("missing, DBFileName names a file", false, "elsewhere", {}, false, "elsewhere");
        row("missing, DBFileName names nothing", false, "gone.db", { Quit }, false, "");
        row("missing, create new", false, "", { CreateNew }, false, "beside");
        row("missing, choose a file", false, "", { ChooseFile }, true, "elsewhere");
        row("missing, choice cancelled, then quit", false, "", { ChooseFile, Quit }, false, "");
    }
    // The list opens at once, showing the orders received within the last 92 whole days; the
    // counts include the older ones.
    void startUp()
    {
        QFETCH(bool, besideProgram);
        QFETCH(QString, dbFileName);
        QFETCH(QList<Prompts::MissingDatabase>, choices);
        QFETCH(bool, fileChosen);
        QFETCH(QString, opened);
        data().StoreOrder(makeOrder(1, OrderStates::HandedBack, 0,
                                    QDateTime(Now.date().addDays(-92), QTime(8, 0))));
        data().StoreOrder(
            makeOrder(2, OrderStates::New, 0, QDateTime(Now.date().addDays(-93), QTime(18, 0))));
        data().StoreOrder(makeOrder(3, OrderStates::InRepair));
        m_data.reset();
        const QString beside = QFileInfo(AppPaths::databaseFile()).absoluteFilePath();
        const QString elsewhere = QFileInfo(m_shop->path(u"jinde/obchod.db"_s)).absoluteFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(elsewhere).path()));
        QVERIFY(besideProgram ? QFile::copy(beside, elsewhere) : QFile::rename(beside, elsewhere));

        RecordingListener listener;
        TRpx2Data module(nullptr, u"RPX2"_s, &listener);
        if (!dbFileName.isEmpty())
            module.config().SetDBFileName(
                dbFileName == QLatin1String("elsewhere") ? elsewhere : m_shop->path(dbFileName));
        ScriptedPrompts prompts;
        prompts.choices.assign(choices.begin(), choices.end());
        if (fileChosen)
            prompts.files.push_back(elsewhere);

        QCOMPARE(module.Connect(prompts), !opened.isEmpty());
        QCOMPARE(module.isOpen(), !opened.isEmpty());
        QCOMPARE(prompts.messages,
                 QStringList(choices.size(),
                             u"Soubor databáze nenalezen.\nZadejte umístění databáze."_s));
        if (!opened.isEmpty())
            QCOMPARE(module.fileName(), opened == QLatin1String("beside") ? beside : elsewhere);
        if (opened.isEmpty()) {
            QVERIFY(!QFile::exists(beside));
        } else if (choices.contains(Prompts::MissingDatabase::CreateNew)) {
            QCOMPARE(module.GetOrderCount(), 0);
        } else {
            QCOMPARE(listedIds(module.orderList()), ids({ 3, 1 }));
            QCOMPARE(listener.entered, ids({ 3 }));
            QCOMPARE(listener.counts, QStringList { u"Nová: 1; V opravě: 1; Vydaná: 1"_s });
        }
    }
};

QTEST_GUILESS_MAIN(TstData)
#include "tst_data.moc"
