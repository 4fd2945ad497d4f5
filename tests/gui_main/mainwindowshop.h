#pragma once

// A shop at the counter for the main-window tests (tests/gui_main*): a fresh program folder with
// its database, the scripted Ui, a fixed clock and the main window, which can be closed and
// started again on the same shop.

#include "app/rpx2form.h"

#include "config.h"
#include "fakeui.h"
#include "orderlist.h"
#include "testshop.h"

#include <QApplication>
#include <QtTest>

#include <functional>
#include <memory>

// "Now" in every test: a Monday morning in June.
inline const QDateTime TestNow(QDate(2025, 6, 16), QTime(10, 30));

// An order prepared directly in the database; numbered like a new order.
struct OrderSpec
{
    int state = OrderStates::InRepair;
    QDateTime received = TestNow;
    int customerId = 0;
    QString fault;
    QString repair;
    QString imei;
    double finalPrice = 0.0;
    QDateTime issued;
    QString engineer;
    QString phoneType;
};

inline QString addOrder(TRpx2Data &data, const OrderSpec &wanted)
{
    COrder o;
    o.OrderTypeID = OrderTypes::Paid;
    o.OrderStateID = wanted.state;
    o.OrderReceiptDate = wanted.received;
    o.OrderDeadlineDate = wanted.received.addDays(7);
    o.OrderCustomerID = wanted.customerId;
    o.OrderFaultDescription = wanted.fault;
    o.OrderRepairDescription = wanted.repair;
    o.OrderPhone = true;
    o.OrderPhoneIMEI = wanted.imei;
    o.OrderPhoneType = wanted.phoneType;
    o.OrderFinalPricePrimary = wanted.finalPrice;
    o.OrderIssueDate = wanted.issued;
    o.OrderEngineerName = wanted.engineer;
    data.StoreNewOrder(o);
    return o.OrderID;
}

inline int addCustomer(TRpx2Data &data, const QString &name, const QString &city = {},
                       const QString &email = {})
{
    CCustomer c;
    c.CustomerShowCode = true;
    c.CustomerCode = QStringLiteral("12345678");
    c.CustomerName = name;
    c.CustomerCity = city;
    c.CustomerEMail = email;
    data.StoreCustomer(c);
    return c.CustomerID;
}

// The order numbers the list shows, top to bottom.
inline QStringList listedOrders(TRpx2Form &w)
{
    QStringList ids;
    OrderList &list = w.data().orderList();
    for (int row = 0; row < list.rowCount(); ++row)
        ids.append(list.orderIdAt(row));
    return ids;
}

struct MainWindowShop
{
    TestShop shop;
    FakeUi ui;
    std::unique_ptr<TRpx2Form> window;

    // The change prepares the shop's database (settings, orders) before the window first starts.
    explicit MainWindowShop(const std::function<void(TRpx2Data &)> &change = {})
    {
        Clock::setFixed(TestNow);
        QGuiApplication::setQuitOnLastWindowClosed(false);
        TRpx2Data data(nullptr, QStringLiteral("RPX2"), nullptr);
        data.OpenFile(AppPaths::databaseFile());
        data.config().SetShowOrders(true);
        if (change)
            change(data);
    }

    bool start()
    {
        window = std::make_unique<TRpx2Form>();
        if (!window->start())
            return false;
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }

    // Closes the window as the clerk does and forgets it.
    void close()
    {
        window->close();
        window.reset();
    }

    TRpx2Form &w() { return *window; }
    TRpx2Data &data() { return window->data(); }
};
