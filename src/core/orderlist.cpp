#include "orderlist.h"

#include "clock.h"
#include "orderlistlistener.h"
#include "rpx2data.h"
#include "sqldialect.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The WHERE clause shared by the list and the per-state counts. Only the conditions of
// non-empty filters are written, so an unfiltered list costs nothing per row.
void addConditions(const SqlDialect &dialect, const OrderFilter &f, QStringList &conditions,
                   QVariantList &values)
{
    auto text = [&](const char *column, const QString &value) {
        if (value.isEmpty())
            return;
        conditions.append(dialect.containsCondition(QLatin1String(column), QStringLiteral("?")));
        values.append(value);
    };
    text("o.OrderID", f.orderId);
    if (f.stateId != 0) {
        conditions.append(QStringLiteral("o.OrderStateID = ?"));
        values.append(f.stateId);
    }
    text("o.OrderEngineerName", f.engineerName);
    text("c.CustomerName", f.customerName);
    text("c.CustomerCity", f.customerCity);
    text("c.CustomerPhoneNo", f.customerPhoneNo);
    text("c.CustomerEMail", f.customerEMail);
    text("o.OrderPhoneType", f.phoneType);
    text("o.OrderPhoneIMEI", f.phoneImei);
}

const QString joins = QStringLiteral(
    " FROM t_order_02 o LEFT JOIN t_customer_02 c ON o.OrderCustomerID = c.CustomerID"
    " LEFT JOIN t_order_state_02 os ON o.OrderStateID = os.OrderStateID");

QString whereClause(const QStringList &conditions)
{
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

} // namespace

OrderList::OrderList(TRpx2Data &data, OrderListListener *listener, QObject *parent)
    : QObject(parent), m_data(data), m_listener(listener)
{
}

void OrderList::reload(const OrderFilter &filter)
{
    m_filter = filter;
    QStringList conditions;
    QVariantList values;
    addConditions(m_data.dialect(), filter, conditions, values);
    // The age limit keeps orders received on or after the cut-off day.
    const QDate cutoffDay = Clock::today().addDays(-qint64(qMax(0, filter.ageDays)));
    conditions.append(QStringLiteral("o.OrderReceiptDate >= ?"));
    values.append(m_data.dialect().dayValue(cutoffDay));

    const QString sql = QStringLiteral("SELECT o.OrderID, o.OrderPhoneIMEI, os.OrderStateColor, "
                                       "o.OrderStateID, c.CustomerName")
                        + joins + whereClause(conditions)
                        + QStringLiteral(" ORDER BY os.OrderStateListOrder, o.OrderID DESC");
    QSqlQuery query = m_data.prepare(sql, values, false);
    m_data.exec(query);
    m_model.setQuery(std::move(query));
    while (m_model.canFetchMore())
        m_model.fetchMore();

    m_current = m_model.rowCount() > 0 ? 0 : -1;
    emit reloaded();
    if (m_current >= 0) {
        emit currentRowChanged(m_current);
        if (m_listener)
            m_listener->OrderEntered(*this);
    }
    if (m_listener)
        m_listener->ShowStateCounts(stateCountsText());
}

QString OrderList::stateCountsText() const
{
    QStringList conditions;
    QVariantList values;
    addConditions(m_data.dialect(), m_filter, conditions, values);
    // The customer table is joined only when a customer filter needs it.
    const bool customerFilter = !m_filter.customerName.isEmpty() || !m_filter.customerCity.isEmpty()
                                || !m_filter.customerPhoneNo.isEmpty() || !m_filter.customerEMail.isEmpty();
    const QString from = customerFilter ? joins
                                        : QStringLiteral(" FROM t_order_02 o LEFT JOIN t_order_state_02 os"
                                                         " ON o.OrderStateID = os.OrderStateID");
    const QString sql = QStringLiteral("SELECT os.OrderStateName, count(*)") + from
                        + whereClause(conditions)
                        + QStringLiteral(" GROUP BY os.OrderStateListOrder, o.OrderStateID, "
                                         "os.OrderStateName ORDER BY os.OrderStateListOrder");
    QSqlQuery query = const_cast<TRpx2Data &>(m_data).OpenQuery(sql, values);
    QStringList parts;
    while (query.next())
        parts.append(QStringLiteral("%1: %2").arg(query.value(0).toString()).arg(query.value(1).toInt()));
    return parts.join(QStringLiteral("; "));
}

int OrderList::rowCount() const
{
    return m_model.rowCount();
}

QString OrderList::orderIdAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_model.data(m_model.index(row, ColOrderID)).toString();
}

QString OrderList::customerNameAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_model.data(m_model.index(row, ColCustomerName)).toString();
}

QString OrderList::currentOrderId() const
{
    return orderIdAt(m_current);
}

int OrderList::rowOf(const QString &orderId) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (orderIdAt(row) == orderId)
            return row;
    return -1;
}

bool OrderList::moveTo(int row)
{
    if (row < 0 || row >= rowCount() || row == m_current)
        return false;
    if (m_listener && !m_listener->CanLeaveOrder())
        return false;
    const int previous = m_current;
    m_current = row;
    try {
        emit currentRowChanged(m_current);
        if (m_listener)
            m_listener->OrderEntered(*this);
    } catch (...) {
        // The row could not be shown (a busy database): the cursor stays on the row that
        // is still shown.
        m_current = previous;
        emit currentRowChanged(m_current);
        throw;
    }
    return true;
}
