#pragma once

#include <QDateTime>
#include <QString>

// One row of t_order_02, fields in column order. A default-constructed record is a new,
// empty order: empty texts, zero numbers, null dates, cleared flags.
struct COrder
{
    QString OrderID;
    int OrderTypeID = 0;
    QDateTime OrderReceiptDate;
    QDateTime OrderDeadlineDate;
    QString OrderFaultDescription;
    QString OrderExpectedPricePrimary;
    QString OrderExpectedCurrencyPrimary;
    QString OrderExpectedPriceSecondary;
    QString OrderExpectedCurrencySecondary;
    int OrderCustomerID = 0;
    int OrderStateID = 0;
    QString OrderEngineerName;
    QString OrderRepairDescription;
    bool OrderSoftware = false;
    QDateTime OrderIssueDate;
    double OrderFinalPricePrimary = 0.0;
    QString OrderFinalCurrencyPrimary;
    double OrderFinalPriceSecondary = 0.0;
    QString OrderFinalCurrencySecondary;
    double OrderComponentsPricePrimary = 0.0;
    QString OrderComponentsCurrencyPrimary;
    double OrderComponentsPriceSecondary = 0.0;
    QString OrderComponentsCurrencySecondary;
    QString OrderRepairNote;
    QString OrderRepairImage;
    bool OrderPhone = false;
    QString OrderPhoneType;
    QString OrderPhoneIMEI;
    bool OrderBattery = false;
    QString OrderBatteryType;
    QString OrderBatterySN;
    bool OrderCharger = false;
    bool OrderCover = false;
    bool OrderSIM = false;
    bool OrderWarrantyCert = false;
    QString OrderNote;
    bool OrderEmailSent = false;

    // Closes the device's previous visit before it is reopened: appends a numbered mark
    // ("n/") with the intake date to the fault description and one with the issue date
    // and final price to the repair description.
    void AppendVisitMark();

    bool operator==(const COrder &) const = default;
};

// One row of t_customer_02. CustomerID 0 marks a customer that is not stored yet.
struct CCustomer
{
    int CustomerID = 0;
    bool CustomerShowCode = false;
    QString CustomerCode;
    QString CustomerName;
    QString CustomerStreet;
    QString CustomerCity;
    QString CustomerPSC;
    QString CustomerPhoneNo;
    QString CustomerEMail;

    bool operator==(const CCustomer &) const = default;
};

// Order state and type ids the program relies on.
namespace OrderStates {
constexpr int New = 1;
constexpr int InRepair = 2;
constexpr int Done = 3;
constexpr int HandedBack = 4;
} // namespace OrderStates

namespace OrderTypes {
constexpr int Warranty = 1;
constexpr int Paid = 3;
constexpr int Shop = 5;
} // namespace OrderTypes
