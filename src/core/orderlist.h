#pragma once

#include "orderfilter.h"

#include <QObject>
#include <QSqlQueryModel>

class TRpx2Data;
class OrderListListener;

// The order list: the orders passing the current filter, ordered by the state's list
// order and then by descending number, with a current row like a database cursor.
// The model has the columns below and is meant to be shown by a Qt item view.
class OrderList final : public QObject
{
    Q_OBJECT
public:
    enum Column { ColOrderID, ColPhoneIMEI, ColStateColor, ColStateID, ColCustomerName, ColCount };

    OrderList(TRpx2Data &data, OrderListListener *listener, QObject *parent = nullptr);

    QSqlQueryModel *model() { return &m_model; }
    const QSqlQueryModel *model() const { return &m_model; }

    const OrderFilter &filter() const { return m_filter; }

    // Re-reads the list with the filter; the first row becomes current and, when there is
    // one, the listener is told. Then re-reads the per-state counts.
    void reload(const OrderFilter &filter);
    void reload() { reload(m_filter); }

    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }
    int currentRow() const { return m_current; } // -1 when empty
    QString currentOrderId() const;
    QString orderIdAt(int row) const;
    QString customerNameAt(int row) const;
    int rowOf(const QString &orderId) const; // -1 when not listed

    // Moves the cursor (asking the listener first); returns whether it moved. When the
    // listener fails to show the new row, the cursor goes back and the error is rethrown.
    bool moveTo(int row);
    bool first() { return moveTo(0); }
    bool prior() { return moveTo(m_current - 1); }
    bool next() { return moveTo(m_current + 1); }
    bool last() { return moveTo(rowCount() - 1); }
    bool isFirst() const { return m_current <= 0; }
    bool isLast() const { return m_current >= rowCount() - 1; }

    // The per-state counts text of the current filter (orders of any age).
    QString stateCountsText() const;

signals:
    void currentRowChanged(int row);
    void reloaded();

private:
    TRpx2Data &m_data;
    OrderListListener *m_listener;
    QSqlQueryModel m_model;
    OrderFilter m_filter;
    int m_current = -1;
};
