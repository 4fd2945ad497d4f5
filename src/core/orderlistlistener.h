#pragma once

#include <QString>

class OrderList;

// What the data module tells the main window about the order list.
class OrderListListener
{
public:
    virtual ~OrderListListener() = default;
    // Asked before the list moves to another row; false keeps the current row.
    virtual bool CanLeaveOrder() = 0;
    // The current row changed, or the list was reopened with at least one row.
    virtual void OrderEntered(const OrderList &list) = 0;
    // The per-state counts were read: "name: n; name: n".
    virtual void ShowStateCounts(const QString &counts) = 0;
};
