#pragma once

#include "orderfilter.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QVariant>

#include <optional>

class QAbstractItemModel;
class TRpx2Data;
class OrderListListener;
class OrderListModel;

// The order list: the orders passing the current filter, ordered by the state's list
// order and then by descending number, with a current row like a database cursor.
//
// The list never holds all its rows: it reads them in pages of a few hundred as they are
// shown, along the indexes (the states one after another, each by number). The number of
// rows and the per-state counts come from a counting statement of their own; in a large
// shop that runs once the first page is on the screen (from the event loop, or at once when
// something needs the number). Positions, "last" and the counts are always exact.
class OrderList final : public QObject
{
    Q_OBJECT
public:
    enum Column { ColOrderID, ColPhoneIMEI, ColStateColor, ColStateID, ColCustomerName, ColCount };

    OrderList(TRpx2Data &data, OrderListListener *listener, QObject *parent = nullptr);
    ~OrderList() override;

    // A table model for a Qt item view, columns as above; it reads its pages on demand.
    QAbstractItemModel *model();

    const OrderFilter &filter() const { return m_filter; }

    // Re-reads the list with the filter; the first row becomes current and, when there is
    // one, the listener is told. The per-state counts follow (see the class comment); the
    // listener is told of them too.
    void reload(const OrderFilter &filter);
    void reload() { reload(m_filter); }

    // The number of rows (counts them first if need be).
    int rowCount() const;
    // Whether the rows have been counted since the last reload.
    bool isCounted() const { return m_counted; }
    // Counts the rows now, if that has not happened since the last reload. Throws RpxError.
    void count() const;
    // Lists of a file with at least this many orders count after the first page (default
    // 100 000); 0 always defers, INT_MAX never does.
    void setDeferredCountFrom(int orders) { m_deferFrom = orders; }

    bool isEmpty() const { return m_current < 0; }
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
    bool last();
    bool isFirst() const { return m_current <= 0; }
    bool isLast() const;

    // The per-state counts text of the current filter (orders of any age): "name: n; ...".
    QString stateCountsText() const;

    // A statement the list runs, with its bound values.
    struct Statement
    {
        QString sql;
        QVariantList values;
    };
    // Reloads with the filter and returns the statements the list runs for it (for checking
    // their query plans): the first page, a page further on, the last page, with a text
    // filter the first page's rest from the first group to the last, the count, and the
    // place of one order.
    QList<Statement> statementsFor(const OrderFilter &filter);

signals:
    void currentRowChanged(int row);
    void reloaded();
    // The rows have been counted: rowCount() and the state counts are known.
    void counted();

private:
    friend class OrderListModel;

    struct Row
    {
        QString orderId;
        QString imei;
        QVariant stateColor;
        int stateId = 0;
        QString customerName;
    };
    // Orders of the states that share one list order, by descending number.
    struct Group
    {
        QList<QVariant> stateIds; // a null variant: orders without a state
        int rows = -1; // listed rows (within the age limit), -1 while not counted
        int start = -1;
    };
    struct StateInfo
    {
        QString name;
        QVariant listOrder;
    };
    struct StateCount
    {
        QVariant listOrder;
        QVariant stateId;
        QString name;
        int all = 0;
    };

    void readGroups() const;
    QString groupCondition(int group, const QString &column, QVariantList &values) const;
    bool hasTextFilter() const;
    Statement pageStatement(int group, int limit, const QString &before, int offset, bool fromEnd,
                            bool filtered, int budget, int lastGroup = -1) const;
    Statement countStatement(int group, const QString &above) const;
    QList<Row> readRows(const Statement &statement) const;
    QList<Row> fetchRows(int group, int limit, const QString &before, int offset, bool fromEnd,
                         bool *tookLaterGroups = nullptr) const;
    void fillFirstPage();
    int groupCount(int group) const;
    int groupStart(int group) const;
    const Row *rowAt(int row) const;
    const Row *loadRow(int row) const;
    void loadPage(int page) const;
    void scheduleCount();
    int knownRows() const;

    TRpx2Data &m_data;
    OrderListListener *m_listener;
    OrderListModel *m_model;
    OrderFilter m_filter;
    mutable QVariant m_cutoff; // the age limit's first day, as bound
    mutable bool m_loaded = false; // the states have been read for the filter
    mutable int m_current = -1;
    int m_generation = 0;
    int m_deferFrom = 100000;

    mutable QHash<qint64, StateInfo> m_states;
    mutable QList<Group> m_groups;
    mutable bool m_counted = false;
    mutable int m_total = 0; // rows, once counted
    mutable QList<StateCount> m_stateCounts;
    // Before counting: the rows read from the top, and whether they are all there are.
    bool m_prefixComplete = false;
    int m_prefixRows = 0;
    mutable QHash<int, QList<Row>> m_pages; // page number -> its rows
    mutable QList<int> m_pageUse; // pages, least recently read first
};
