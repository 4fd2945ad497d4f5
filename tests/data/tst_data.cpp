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
#include <QStringEncoder>
#include <QtTest>

#include <ctime>

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
        order.OrderTypeID = OrderTypes::Warranty;
        order.OrderCustomerID = 7;
        order.OrderDeadlineDate = Now.addDays(7);
        order.OrderExpectedPriceSecondary = u"20"_s;
        order.OrderExpectedCurrencySecondary = order.OrderFinalCurrencySecondary = u"Eur"_s;
        order.OrderFinalCurrencyPrimary = u"zł"_s;
        order.OrderComponentsCurrencyPrimary = u"Kč"_s;
        order.OrderComponentsCurrencySecondary = u"€"_s;
        order.OrderFinalPricePrimary = 99.999;
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
        QTest::newRow("empty") << u""_s;
        QTest::newRow("quotes, line breaks") << "O'Brien's \"Rychlá\"\r\ndruhý\ntřetí „česky“";
        QTest::newRow("outside the code page") << "Łódź, Ľubomír, Displej 📱 prasklý";
        QTest::newRow("SQL text") << "x'); DROP TABLE t_order_02; --";
        QTest::newRow("long") << QString(5000, QChar(0x0159));
    }
    // Empty texts of a customer are stored as NULL, also when cleared later (such a customer's
    // orders pass the list's empty e-mail filter); those of an order as empty texts, so a
    // summary grouping by engineer does not show two groups without one.
    void textsRoundTripUnchanged()
    {
        QFETCH(QString, text);
        CCustomer customer = makeCustomer(text, text, text, u"jan@example.cz"_s);
        customer.CustomerStreet = text;
        customer.CustomerShowCode = true;
        data().StoreCustomer(customer);
        const int firstId = customer.CustomerID;
        customer.CustomerEMail = text;
        data().StoreCustomer(customer);
        QCOMPARE(*data().GetCustomer(firstId), customer); // an update keeps the id

        COrder order = makeOrder(1, OrderStates::New, customer.CustomerID);
        order.OrderFaultDescription = order.OrderNote = order.OrderRepairNote = text;
        order.OrderEngineerName = order.OrderPhoneType = order.OrderPhoneIMEI = text;
        order.OrderExpectedPricePrimary = text;
        data().StoreOrder(order);
        QCOMPARE(*data().GetOrder(order.OrderID), order);
        QCOMPARE(column(data(),
                        u"SELECT (SELECT count(*) FROM t_customer_02 WHERE CustomerEMail IS NULL "
                        "AND CustomerCity IS NULL AND CustomerStreet IS NULL) || '/' || "
                        "(SELECT count(*) FROM t_order_02 WHERE OrderEngineerName IS NULL "
                        "OR OrderPhoneIMEI IS NULL OR OrderFinalCurrencyPrimary IS NULL)"_s),
                 QStringList { text.isEmpty() ? u"1/0"_s : u"0/0"_s }); // customers, orders
        // Another program merged the customer away meanwhile: storing it again inserts it.
        data().ExecuteCommand(u"DELETE FROM t_customer_02"_s);
        data().StoreCustomer(customer);
        QCOMPARE(*data().GetCustomer(customer.CustomerID), customer);
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
    // Suggestion lists, the engineer list the order form offers and the customer search sort
    // as the shop's language does, not by bytes (Čermák used to come after every Z).
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
        for (const QString &name : names) // the list the order form offers instead
            data().ExecuteCommand(u"INSERT INTO t_filter_engineer_01 VALUES (?, ?)"_s,
                                  { counter--, name });
        QTEST(data().GetEngineerListNames(), "sorted");
        data().ReloadCustomerSearch({}, {});
        QStringList customers;
        for (int row = 0; row < data().customerSearchModel()->rowCount(); ++row)
            customers.append(data().customerSearchRow(row).CustomerName);
        QTEST(customers, "sorted");
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
        QCOMPARE(data().GetEngineerNames(), (QStringList { u"Jan Novák"_s, u"Novak"_s }));
        QCOMPARE(data().GetPhoneTypeNames(), (QStringList { u"Nokia"_s, u"Novak"_s }));
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
        const QStringList again
            = column(data(), u"SELECT OrderReceiptDate || '|' || OrderIssueDate FROM t_order_02"_s);
        oldZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", oldZone);
        tzset();
        QCOMPARE(shown, read);
        QCOMPARE(picked, read); // a time picked in the window
        QCOMPARE(listed, ids({ 1 }));
        QCOMPARE(again, QStringList { read + u'|' + read });
    }

    // An IMEI, a number to delete and the numbers to print match whole values, never as
    // patterns. Printing several held orders gives them in the order held, with customer and
    // names; a number deleted meanwhile is left out rather than failing the whole document.
    void lookupsMatchWholeValues()
    {
        CCustomer customer = makeCustomer(u"Eva Černá"_s, u"Brno"_s);
        data().StoreCustomer(customer);
        COrder first = makeOrder(1, OrderStates::HandedBack, customer.CustomerID);
        first.OrderIssueDate = Now.addDays(-30);
        COrder second = makeOrder(2, OrderStates::HandedBack);
        second.OrderIssueDate = Now.addDays(-2);
        COrder other = makeOrder(10);
        other.OrderPhoneIMEI = u"35693803564380"_s; // a prefix of the others' IMEI
        for (const COrder &o : { first, second, other })
            data().StoreOrder(o);
        QCOMPARE(data().GetLastOrderByImei(first.OrderPhoneIMEI)->OrderID, id(2));
        QCOMPARE(data().GetOrdersByImei(first.OrderPhoneIMEI).size(), 2);
        QVERIFY(!data().GetLastOrderByImei(u"3569380356438%"_s).has_value());

        const auto rows = data().GetOrdersForPrint({ id(10), id(99), id(1) });
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].order.OrderID, id(10));
        QCOMPARE(rows[0].stateName, u"Nová"_s);
        QCOMPARE(rows[1].customer.CustomerCity, u"Brno"_s);
        QCOMPARE(rows[1].typeName, u"Placená oprava"_s);

        for (const QString &number : { id(99), u"2015-0001"_s, u"2015-0000_"_s, QString() })
            QVERIFY2(!data().DeleteOrder(number), qPrintable(number));
        QVERIFY(data().DeleteOrder(id(1)));
        QCOMPARE(column(data(), u"SELECT OrderID FROM t_order_02 ORDER BY OrderID"_s),
                 ids({ 2, 10 }));
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
        row("_ is not a wildcard", &OrderFilter::customerName, "k_", {});
        row("IMEI with %", &OrderFilter::phoneImei, "0%", { 4 });
        row("no customer fails a customer filter", &OrderFilter::customerCity, "r", { 1, 3 });
        row("e-mail", &OrderFilter::customerEMail, "example", { 2 });
        row("NULL engineer fails an engineer filter", &OrderFilter::engineerName, "e", { 1, 4 });
        row("phone number", &OrderFilter::customerPhoneNo, "123 4", { 1 });
        row("order number", &OrderFilter::orderId, "-00003", { 3 });
        OrderFilter state;
        state.stateId = OrderStates::New;
        state.ageDays = 0;
        QTest::newRow("one state, every age") << state << QList<int> { 2, 1 };
        state.engineerName = u"petr"_s;
        QTest::newRow("state and engineer") << state << QList<int> { 1 };
        state.customerCity = u"brno"_s;
        QTest::newRow("state, engineer and city") << state << QList<int> { 1 };
    }
    // Four orders; the list shows them by the state's list order, then by descending number,
    // and the per-state counts follow the same filter. Every statement of the list reads
    // orders along an index: a step without one only reads the page or the filter's orders
    // already found (p, d), or the customers a customer filter looks through (x).
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
            const char *engineer, *phoneType, *imei;
        } orders[] = { { OrderStates::New, c[0].CustomerID, "Petr", "Nokia Lumia", "1010101" },
                       { OrderStates::New, c[1].CustomerID, "Ľubo", "Xiaomi Ůnik", "222222" },
                       { OrderStates::HandedBack, c[2].CustomerID, "", "Samsung", "" },
                       { OrderStates::InRepair, 0, "petr", "nokia", "50%" } };
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
        int counted = 0; // the counts per state follow the same filter
        for (const QString &state : list().stateCountsText().split(u"; "_s, Qt::SkipEmptyParts))
            counted += state.section(u": "_s, 1).toInt();
        QCOMPARE(counted, listed.size());

        const QList<OrderList::Statement> statements = list().statementsFor(filter);
        QVERIFY(statements.size() >= 5);
        const QRegularExpression fullScan(u"^SCAN (?![pdx]$)\\w+$"_s);
        for (const OrderList::Statement &statement : statements) {
            QSqlQuery plan
                = data().OpenQuery(u"EXPLAIN QUERY PLAN "_s + statement.sql, statement.values);
            while (plan.next()) {
                const QString step = plan.value(3).toString();
                QVERIFY2(!fullScan.match(step).hasMatch(),
                         qPrintable(step + u" in "_s + statement.sql));
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

    void foreignFileIsRefusedUntouched_data()
    {
        // Null: no file, or one made by SQLite from the statements (the path bound to "?").
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("missing file") << QByteArray() << QStringList();
        QTest::newRow("empty file") << QByteArray("") << QStringList();
        QTest::newRow("old Access file")
            << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) << QStringList();
        QTest::newRow("SQLite with some tables")
            << QByteArray()
            << QStringList { u"ATTACH DATABASE ? AS f"_s,
                             u"CREATE TABLE f.t_order_02 (OrderID TEXT)"_s,
                             u"CREATE TABLE f.t_config_01 (ConfigKey TEXT, ConfigValue TEXT)"_s,
                             u"DETACH DATABASE f"_s };
    }
    // The running program keeps working on its own database, and no file is created. Creating
    // a database refuses an existing file, the program's own one too.
    void foreignFileIsRefusedUntouched()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, statements);
        data().StoreOrder(makeOrder(1));
        const QString path = m_shop->path(u"cizí soubor.db"_s);
        QFile file(path);
        if (!content.isNull())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        for (const QString &sql : statements)
            data().ExecuteCommand(sql,
                                  sql.contains(u'?') ? QVariantList { path } : QVariantList {});
        file.close();
        const QByteArray before = fileBytes(path);
        try {
            data().OpenFile(path);
            QFAIL("no RpxError");
        } catch (const RpxError &e) {
            QVERIFY2(e.message().contains(QFileInfo(path).absoluteFilePath()),
                     qPrintable(e.message()));
        }
        if (QFile::exists(path))
            QVERIFY_THROWS_EXCEPTION(RpxError, TRpx2Data::CreateDatabase(path));
        QVERIFY_THROWS_EXCEPTION(RpxError, TRpx2Data::CreateDatabase(AppPaths::databaseFile()));
        QCOMPARE(data().fileName(), QFileInfo(AppPaths::databaseFile()).absoluteFilePath());
        QCOMPARE(data().GetOrderCount(), 1);
        QCOMPARE(fileBytes(path), before);
    }

    void startUp_data()
    {
        // "elsewhere": a copy of the database (moved away unless it opens beside the program)
        QTest::addColumn<QString>("dbFileName");
        // Answers to the missing-database question, in turn; choosing a file gives the moved
        // one when the start-up ends connected.
        QTest::addColumn<QList<Prompts::MissingDatabase>>("choices");
        QTest::addColumn<QString>("opened"); // "beside", "elsewhere" or empty: not connected
        auto row = [](const char *name, const char *dbFileName,
                      const QList<Prompts::MissingDatabase> &choices, const char *opened) {
            QTest::newRow(name) << QString::fromLatin1(dbFileName) << choices
                                << QString::fromLatin1(opened);
        };
        using enum Prompts::MissingDatabase;
        row("beside wins over DBFileName", "elsewhere", {}, "beside");
        row("missing, DBFileName names a file", "elsewhere", {}, "elsewhere");
        row("missing, DBFileName names nothing", "gone.db", { Quit }, "");
        row("missing, create new", "", { CreateNew }, "beside");
        row("missing, choose a file", "", { ChooseFile }, "elsewhere");
        row("missing, choice cancelled, then quit", "", { ChooseFile, Quit }, "");
    }
    // The list opens at once, showing the orders received within the last 92 whole days; the
    // counts include the older ones. The listener is told of each order entered.
    void startUp()
    {
        QFETCH(QString, dbFileName);
        QFETCH(QList<Prompts::MissingDatabase>, choices);
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
        const bool besideProgram = opened == QLatin1String("beside") && choices.isEmpty();
        QVERIFY(besideProgram ? QFile::copy(beside, elsewhere) : QFile::rename(beside, elsewhere));

        RecordingListener listener;
        TRpx2Data module(nullptr, u"RPX2"_s, &listener);
        if (!dbFileName.isEmpty())
            module.config().SetDBFileName(
                dbFileName == QLatin1String("elsewhere") ? elsewhere : m_shop->path(dbFileName));
        ScriptedPrompts prompts;
        prompts.choices.assign(choices.begin(), choices.end());
        if (choices.contains(Prompts::MissingDatabase::ChooseFile) && !opened.isEmpty())
            prompts.files.push_back(elsewhere);

        QCOMPARE(module.Connect(prompts), !opened.isEmpty());
        QCOMPARE(prompts.messages,
                 QStringList(choices.size(),
                             u"Soubor databáze nenalezen.\nZadejte umístění databáze."_s));
        if (opened.isEmpty()) {
            QVERIFY(!QFile::exists(beside));
        } else if (choices.contains(Prompts::MissingDatabase::CreateNew)) {
            QCOMPARE(module.fileName(), beside);
            QCOMPARE(module.GetOrderCount(), 0);
        } else {
            QCOMPARE(module.fileName(), opened == QLatin1String("beside") ? beside : elsewhere);
            OrderList &list = module.orderList();
            QCOMPARE(listedIds(list), ids({ 3, 1 }));
            QCOMPARE(listener.counts, QStringList { u"Nová: 1; V opravě: 1; Vydaná: 1"_s });
            // The listener is asked before every move: an order kept being edited stays.
            listener.canLeave = false;
            QVERIFY(!list.moveTo(1));
            QCOMPARE(list.currentRow(), 0);
            listener.canLeave = true;
            QVERIFY(list.last());
            QVERIFY(!list.next()); // past the end: no move, no question
            OrderFilter nothing; // an empty list enters no order and counts nothing
            nothing.phoneType = u"Motorola"_s;
            list.reload(nothing);
            QVERIFY(!list.next());
            QCOMPARE(listener.leaveQuestions, 2);
            QCOMPARE(listener.entered, ids({ 3, 1 }));
            QCOMPARE(listener.counts.last(), QString());
        }
    }
};

QTEST_GUILESS_MAIN(TstData)
#include "tst_data.moc"
