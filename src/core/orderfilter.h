#pragma once

#include <QString>

// The order list's filter: substring texts (empty matches everything, NULL columns
// included), a state id (0 = all states) and a maximum age in days of the receipt date.
struct OrderFilter
{
    QString orderId;
    int stateId = 0;
    QString engineerName;
    QString customerName;
    QString customerCity;
    QString customerPhoneNo;
    QString customerEMail;
    QString phoneType;
    QString phoneImei;
    int ageDays = 92;

    bool operator==(const OrderFilter &) const = default;
};
