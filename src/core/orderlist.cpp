#include "orderlist.h"

#include "clock.h"
#include "orderlistlistener.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "sqldialect.h"

#include <QAbstractTableModel>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

// Rows read at a time, and pages kept (the least recently read go first).
constexpr int PageSize = 128;
constexpr int MaxPages = 64;
// A text filter reads this many orders in list order before the filter itself leads
// (through its index): a filter that most orders pass fills a page among the first of
// them, one that few pass is quicker to look up by itself.
constexpr int Budget = 2048;

const QString OutColumns = QStringLiteral(
    "o.OrderID, o.OrderPhoneIMEI, os.OrderStateColor, o.OrderStateID, c.CustomerName");
const QString OutJoins
    = QStringLiteral(" LEFT JOIN t_customer_02 c ON o.OrderCustomerID = c.CustomerID"
                     " LEFT JOIN t_order_state_02 os ON o.OrderStateID = os.OrderStateID");

// One text filter: the column it tests and how selective it usually is (the most selective
// one present leads the statements).
struct TextFilter
{
    bool customer; // a column of t_customer_02, else of t_order_02
    const char *column;
    QString text;
    int rank; // lower: fewer orders pass
};

// Filters that few orders pass read the column's own narrow index and look the few orders
// up; the others read an index that holds what the list needs besides.
bool readsNarrowIndex(const TextFilter &filter)
{
    return filter.rank <= 1;
}

QList<TextFilter> textFilters(const OrderFilter &f)
{
    QList<TextFilter> filters;
    auto add = [&](bool customer, const char *column, const QString &text, int rank) {
        if (!text.isEmpty())
            filters.append({ customer, column, text, rank });
    };
    add(false, "OrderPhoneIMEI", f.phoneImei, 0);
    add(false, "OrderID", f.orderId, 1);
    add(true, "CustomerName", f.customerName, 2);
    add(true, "CustomerCity", f.customerCity, 2);
    add(true, "CustomerPhoneNo", f.customerPhoneNo, 2);
    add(true, "CustomerEMail", f.customerEMail, 2);
    add(false, "OrderPhoneType", f.phoneType, 3);
    add(false, "OrderEngineerName", f.engineerName, 4);
    std::stable_sort(filters.begin(), filters.end(),
                     [](const TextFilter &a, const TextFilter &b) { return a.rank < b.rank; });
    return filters;
}

QString where(const QStringList &conditions)
{
    return conditions.isEmpty()
        ? QString()
        : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

// A state id as a hash key; orders without a state have their own.
constexpr qint64 NoState = std::numeric_limits<qint64>::min();
qint64 keyOf(const QVariant &stateId)
{
    return stateId.isNull() ? NoState : stateId.toLongLong();
}

// NULL first, as the database sorts an ascending column.
bool lessNullFirst(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    return a.toLongLong() < b.toLongLong();
}

} // namespace

// The item model over the list's pages.
class OrderListModel final : public QAbstractTableModel
{
public:
    explicit OrderListModel(OrderList &list)
        : QAbstractTableModel(&list)
        , m_list(list)
    { }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_list.knownRows();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : OrderList::ColCount;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        const OrderList::Row *row = nullptr;
        // Painting must not meet an exception: a page that cannot be read shows empty.
        try {
            row = m_list.loadRow(index.row());
        } catch (const RpxError &) {
            return {};
        }
        if (!row)
            return {};
        switch (index.column()) {
        case OrderList::ColOrderID:
            return row->orderId;
        case OrderList::ColPhoneIMEI:
            return row->imei;
        case OrderList::ColStateColor:
            return row->stateColor;
        case OrderList::ColStateID:
            return row->stateId;
        case OrderList::ColCustomerName:
            return row->customerName;
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_titles.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override
    {
        if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole)
            || section < 0 || section >= OrderList::ColCount)
            return false;
        m_titles[section] = value.toString();
        emit headerDataChanged(orientation, section, section);
        return true;
    }

    // Before the rows are counted the view sees those read so far; scrolling past them
    // counts the rest.
    bool canFetchMore(const QModelIndex &parent) const override
    {
        return !parent.isValid() && !m_list.m_counted;
    }
    void fetchMore(const QModelIndex &parent) override
    {
        if (parent.isValid())
            return;
        try {
            m_list.count();
        } catch (const RpxError &) { }
    }

    void reset(const std::function<void()> &change)
    {
        beginResetModel();
        try {
            change();
        } catch (...) {
            endResetModel();
            throw;
        }
        endResetModel();
    }
    void resize(int from, int to)
    {
        if (to > from) {
            beginInsertRows({}, from, to - 1);
            endInsertRows();
        } else if (to < from) {
            beginRemoveRows({}, to, from - 1);
            endRemoveRows();
        }
    }

private:
    OrderList &m_list;
    QHash<int, QString> m_titles;
};

OrderList::OrderList(TRpx2Data &data, OrderListListener *listener, QObject *parent)
    : QObject(parent)
    , m_data(data)
    , m_listener(listener)
    , m_model(new OrderListModel(*this))
{ }

OrderList::~OrderList() = default;

QAbstractItemModel *OrderList::model()
{
    return m_model;
}

// ---------------------------------------------------------------------------------------
// Reloading and counting

void OrderList::reload(const OrderFilter &filter)
{
    ++m_generation;
    m_model->reset([&] {
        m_filter = filter;
        m_cutoff
            = m_data.dialect().dayValue(Clock::today().addDays(-qint64(qMax(0, filter.ageDays))));
        m_loaded = false;
        m_groups.clear();
        m_stateCounts.clear();
        m_pages.clear();
        m_pageUse.clear();
        m_counted = false;
        m_total = 0;
        m_prefixRows = 0;
        m_prefixComplete = true;
        m_current = -1;
        try {
            readGroups();
            fillFirstPage();
        } catch (...) {
            m_groups.clear();
            m_pages.clear();
            m_prefixRows = 0;
            m_counted = true;
            throw;
        }
        m_current = m_prefixRows > 0 ? 0 : -1;
    });
    emit reloaded();
    if (m_current >= 0) {
        emit currentRowChanged(m_current);
        if (m_listener)
            m_listener->OrderEntered(*this);
    }
    scheduleCount();
}

// A small shop counts at once; a large one once the first page is on the screen.
void OrderList::scheduleCount()
{
    bool later = m_deferFrom <= 0;
    if (!later && m_deferFrom < std::numeric_limits<int>::max()) {
        TRpx2Data::Rows rows
            = m_data.read(m_data.dialect().rowCountEstimate(QStringLiteral("t_order_02")));
        later = rows.next() && rows.value(0).toLongLong() >= m_deferFrom;
    }
    if (!later) {
        count();
        return;
    }
    QTimer::singleShot(0, this, [this, generation = m_generation] {
        if (generation != m_generation || m_counted)
            return;
        // Nothing may escape into the event loop; whoever needs the count next counts
        // again and is told the reason.
        try {
            count();
        } catch (const RpxError &) { }
    });
}

void OrderList::count() const
{
    if (m_counted)
        return;
    // Counted before the first reload (the admin tool's summary): the states first.
    if (!m_loaded) {
        m_cutoff
            = m_data.dialect().dayValue(Clock::today().addDays(-qint64(qMax(0, m_filter.ageDays))));
        readGroups();
    }
    const Statement statement = countStatement(-1, QString());
    QHash<qint64, int> listed;
    QList<StateCount> counts;
    {
        TRpx2Data::Rows rows = m_data.read(statement.sql, statement.values);
        while (rows.next()) {
            StateCount count;
            count.stateId = rows.value(0);
            count.all = rows.value(1).toInt();
            listed[keyOf(count.stateId)] += rows.value(2).toInt();
            const auto state = m_states.constFind(keyOf(count.stateId));
            if (state != m_states.cend()) {
                count.name = state->name;
                count.listOrder = state->listOrder;
            }
            counts.append(count);
        }
    }
    // In the states' list order (NULL first, as the database sorts), then by state.
    std::sort(counts.begin(), counts.end(), [](const StateCount &a, const StateCount &b) {
        if (lessNullFirst(a.listOrder, b.listOrder) || lessNullFirst(b.listOrder, a.listOrder))
            return lessNullFirst(a.listOrder, b.listOrder);
        return lessNullFirst(a.stateId, b.stateId);
    });
    int start = 0;
    for (Group &group : m_groups) {
        group.rows = 0;
        for (const QVariant &id : group.stateIds)
            group.rows += listed.value(keyOf(id));
        group.start = start;
        start += group.rows;
    }
    const int before = knownRows();
    m_stateCounts = counts;
    m_total = start;
    m_counted = true;
    // Another counter may have stored or deleted orders since the first page was read.
    if (m_total < m_prefixRows)
        m_pages.clear();
    m_model->resize(before, knownRows());
    if (m_current >= m_total)
        m_current = m_total - 1;
    auto *self = const_cast<OrderList *>(this);
    emit self->counted();
    if (m_listener)
        m_listener->ShowStateCounts(stateCountsText());
}

int OrderList::rowCount() const
{
    count();
    return m_total;
}

int OrderList::knownRows() const
{
    return m_counted ? m_total : m_prefixRows;
}

QString OrderList::stateCountsText() const
{
    count();
    QStringList parts;
    for (const StateCount &count : m_stateCounts)
        parts.append(QStringLiteral("%1: %2").arg(count.name).arg(count.all));
    return parts.join(QStringLiteral("; "));
}

// ---------------------------------------------------------------------------------------
// Groups: the states in list order

void OrderList::readGroups() const
{
    m_loaded = true;
    m_states.clear();
    {
        TRpx2Data::Rows rows = m_data.read(QStringLiteral(
            "SELECT OrderStateID, OrderStateName, OrderStateListOrder FROM t_order_state_02"));
        while (rows.next()) {
            if (rows.value(0).isNull())
                continue;
            m_states.insert(rows.value(0).toLongLong(),
                            { rows.value(1).toString(), rows.value(2) });
        }
    }
    // The states that orders have: one step down the index for each.
    QList<QVariant> present;
    if (m_filter.stateId != 0) {
        present.append(m_filter.stateId);
    } else {
        if (m_data
                .read(QStringLiteral("SELECT 1 FROM t_order_02 WHERE OrderStateID IS NULL LIMIT 1"))
                .next())
            present.append(QVariant());
        QVariant last;
        for (;;) {
            TRpx2Data::Rows rows = last.isNull()
                ? m_data.read(QStringLiteral("SELECT min(OrderStateID) FROM t_order_02"))
                : m_data.read(
                    QStringLiteral(
                        "SELECT min(OrderStateID) FROM t_order_02 WHERE OrderStateID > ?"),
                    { last });
            if (!rows.next() || rows.value(0).isNull())
                break;
            last = rows.value(0);
            present.append(last);
        }
    }
    auto listOrderOf = [&](const QVariant &id) -> QVariant {
        if (id.isNull())
            return {};
        const auto state = m_states.constFind(keyOf(id));
        return state == m_states.cend() ? QVariant() : state->listOrder;
    };
    std::stable_sort(present.begin(), present.end(), [&](const QVariant &a, const QVariant &b) {
        return lessNullFirst(listOrderOf(a), listOrderOf(b));
    });
    for (const QVariant &id : present) {
        const QVariant order = listOrderOf(id);
        if (!m_groups.isEmpty()) {
            const QVariant previous = listOrderOf(m_groups.last().stateIds.first());
            if (previous.isNull() == order.isNull()
                && (order.isNull() || previous.toLongLong() == order.toLongLong())) {
                m_groups.last().stateIds.append(id);
                continue;
            }
        }
        m_groups.append(Group { { id } });
    }
}

// The group's states as a condition on the column (alias.OrderStateID, or the given column).
QString OrderList::groupCondition(int group, const QString &column, QVariantList &values) const
{
    QStringList ids;
    bool withNull = false;
    for (const QVariant &id : m_groups.at(group).stateIds) {
        if (id.isNull()) {
            withNull = true;
        } else {
            ids.append(QStringLiteral("?"));
            values.append(id);
        }
    }
    QString condition;
    if (ids.size() == 1)
        condition = column + QStringLiteral(" = ?");
    else if (!ids.isEmpty())
        condition
            = column + QStringLiteral(" IN (") + ids.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (!withNull)
        return condition;
    const QString isNull = column + QStringLiteral(" IS NULL");
    return condition.isEmpty()
        ? isNull
        : QLatin1Char('(') + isNull + QStringLiteral(" OR ") + condition + QLatin1Char(')');
}

bool OrderList::hasTextFilter() const
{
    return !textFilters(m_filter).isEmpty();
}

// ---------------------------------------------------------------------------------------
// Statements

namespace {

// The text filters as conditions on the order table (alias o) and the customer table
// (alias c); the leading filter (when given) is left out.
void appendTextConditions(const SqlDialect &dialect, const QList<TextFilter> &filters,
                          const QString &orderAlias, const QString &customerAlias,
                          QStringList &conditions, QVariantList &values, int skipFirst = 0)
{
    for (qsizetype i = skipFirst; i < filters.size(); ++i) {
        const TextFilter &f = filters.at(i);
        const QString column = (f.customer ? customerAlias : orderAlias) + QLatin1Char('.')
            + QLatin1String(f.column);
        const SqlDialect::TextFilter condition = dialect.containsFilter(column, f.text);
        conditions.append(condition.condition);
        values += condition.values;
    }
}

// The orders that the leading filter lets through, as (k: number, s: state, r: receipt
// date), read along that column's index; returns how many filters it covers.
int driver(const SqlDialect &dialect, const QList<TextFilter> &filters, QString &sql,
           QVariantList &values)
{
    if (filters.first().customer) {
        QStringList conditions;
        int covered = 0;
        while (covered < filters.size() && filters.at(covered).customer) {
            const SqlDialect::TextFilter condition = dialect.containsFilter(
                QStringLiteral("x.") + QLatin1String(filters.at(covered).column),
                filters.at(covered).text);
            conditions.append(condition.condition);
            values += condition.values;
            ++covered;
        }
        sql = QStringLiteral("SELECT i.OrderID AS k, i.OrderStateID AS s, i.OrderReceiptDate AS r "
                             "FROM t_customer_02 x CROSS JOIN t_order_02 i "
                             "WHERE i.OrderCustomerID = x.CustomerID AND ")
            + conditions.join(QStringLiteral(" AND "));
        return covered;
    }
    const SqlDialect::TextFilter condition
        = dialect.containsFilter(QLatin1String(filters.first().column), filters.first().text);
    values += condition.values;
    if (readsNarrowIndex(filters.first())) {
        const QString key = dialect.rowKey();
        sql = QStringLiteral("SELECT OrderID AS k, OrderStateID AS s, OrderReceiptDate AS r "
                             "FROM t_order_02 WHERE %1 IN (SELECT %1 FROM t_order_02 WHERE ")
                  .arg(key)
            + condition.condition + QLatin1Char(')');
        return 1;
    }
    sql = QStringLiteral("SELECT OrderID AS k, OrderStateID AS s, OrderReceiptDate AS r "
                         "FROM t_order_02 WHERE ")
        + condition.condition;
    return 1;
}

} // namespace

// Rows of one group in list order: `limit` rows after the order `before` (none: from the
// group's start), or after skipping `offset` rows, or (fromEnd) the group's last rows but
// `offset`. filtered: led by the most selective text filter rather than in list order;
// budget: with text filters in list order, how many orders are looked at.
OrderList::Statement OrderList::pageStatement(int group, int limit, const QString &before,
                                              int offset, bool fromEnd, bool filtered, int budget,
                                              int lastGroup) const
{
    const SqlDialect &dialect = m_data.dialect();
    const QList<TextFilter> filters = textFilters(m_filter);
    const QString direction = fromEnd ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    Statement s;
    if (!filtered || filters.isEmpty()) {
        // The group along the list's index, then the text filters row by row.
        const bool checked = !filters.isEmpty();
        QStringList inner;
        inner.append(groupCondition(group, QStringLiteral("OrderStateID"), s.values));
        inner.append(QStringLiteral("OrderReceiptDate >= ?"));
        s.values.append(m_cutoff);
        if (!before.isEmpty()) {
            inner.append(QStringLiteral("OrderID < ?"));
            s.values.append(before);
        }
        s.sql = QStringLiteral("SELECT ") + OutColumns
            + QStringLiteral(" FROM (SELECT OrderID AS k FROM t_order_02") + where(inner)
            + QStringLiteral(" ORDER BY OrderID") + direction + QStringLiteral(" LIMIT ?");
        s.values.append(checked ? budget : limit);
        if (offset > 0) {
            s.sql += QStringLiteral(" OFFSET ?");
            s.values.append(offset);
        }
        QStringList outer { QStringLiteral("o.OrderID = p.k") };
        appendTextConditions(dialect, filters, QStringLiteral("o"), QStringLiteral("c"), outer,
                             s.values);
        s.sql += QStringLiteral(") p CROSS JOIN t_order_02 o") + OutJoins + where(outer)
            + QStringLiteral(" ORDER BY o.OrderID DESC");
        if (checked) {
            s.sql += QStringLiteral(" LIMIT ?");
            s.values.append(limit);
        }
        return s;
    }
    // The leading filter's orders, computed first; the group, the age and the other filters
    // narrow them, and only the page's rows are joined to their customers. With later
    // groups too (lastGroup): the rest of this group and every later one, in list order.
    QString driving;
    const int covered = driver(dialect, filters, driving, s.values);
    s.sql = dialect.materializedWith(QStringLiteral("d"), driving);
    const int last = qMax(group, lastGroup);
    QString rank;
    if (last > group) {
        rank = QStringLiteral(", CASE");
        for (int g = group; g < last; ++g)
            rank += QStringLiteral(" WHEN ") + groupCondition(g, QStringLiteral("d.s"), s.values)
                + QStringLiteral(" THEN %1").arg(g);
        rank += QStringLiteral(" ELSE %1 END AS g").arg(last);
    }
    QStringList inner;
    QString groups = groupCondition(group, QStringLiteral("d.s"), s.values);
    if (!before.isEmpty()) {
        groups = QLatin1Char('(') + groups + QStringLiteral(" AND d.k < ?)");
        s.values.append(before);
    }
    for (int g = group + 1; g <= last; ++g)
        groups += QStringLiteral(" OR ") + groupCondition(g, QStringLiteral("d.s"), s.values);
    inner.append(last > group ? QLatin1Char('(') + groups + QLatin1Char(')') : groups);
    inner.append(QStringLiteral("d.r >= ?"));
    s.values.append(m_cutoff);
    QString from = QStringLiteral(" FROM d");
    if (covered < filters.size()) {
        from += QStringLiteral(" CROSS JOIN t_order_02 f LEFT JOIN t_customer_02 g"
                               " ON f.OrderCustomerID = g.CustomerID");
        inner.append(QStringLiteral("f.OrderID = d.k"));
        appendTextConditions(dialect, filters, QStringLiteral("f"), QStringLiteral("g"), inner,
                             s.values, covered);
    }
    const QString order
        = (rank.isEmpty() ? QString() : QStringLiteral("g, ")) + QStringLiteral("d.k") + direction;
    s.sql += QStringLiteral("SELECT ") + OutColumns + QStringLiteral(" FROM (SELECT d.k") + rank
        + from + where(inner) + QStringLiteral(" ORDER BY ") + order + QStringLiteral(" LIMIT ?");
    s.values.append(limit);
    if (offset > 0) {
        s.sql += QStringLiteral(" OFFSET ?");
        s.values.append(offset);
    }
    s.sql += QStringLiteral(") p CROSS JOIN t_order_02 o") + OutJoins
        + QStringLiteral(" WHERE o.OrderID = p.k ORDER BY ")
        + (rank.isEmpty() ? QString() : QStringLiteral("p.g, ")) + QStringLiteral("o.OrderID DESC");
    return s;
}

// Per state: the orders of any age and those within the age limit, of every group or of
// one, optionally only numbers above `above` (the rows before that order in its group).
OrderList::Statement OrderList::countStatement(int group, const QString &above) const
{
    const SqlDialect &dialect = m_data.dialect();
    const QList<TextFilter> filters = textFilters(m_filter);
    Statement s;
    QStringList conditions;
    // The state group or the chosen state, and the rows after the given number.
    const auto addStateAndKey = [&](const QString &state, const QString &key) {
        if (group >= 0)
            conditions.append(groupCondition(group, state, s.values));
        else if (m_filter.stateId != 0) {
            conditions.append(state + QStringLiteral(" = ?"));
            s.values.append(m_filter.stateId);
        }
        if (!above.isEmpty()) {
            conditions.append(key + QStringLiteral(" > ?"));
            s.values.append(above);
        }
    };
    if (filters.isEmpty()) {
        s.sql = QStringLiteral("SELECT OrderStateID, count(*), "
                               "sum(CASE WHEN OrderReceiptDate >= ? THEN 1 ELSE 0 END) "
                               "FROM t_order_02");
        s.values.append(m_cutoff);
        addStateAndKey(QStringLiteral("OrderStateID"), QStringLiteral("OrderID"));
        s.sql += where(conditions) + QStringLiteral(" GROUP BY OrderStateID");
        return s;
    }
    QString driving;
    const int covered = driver(dialect, filters, driving, s.values);
    s.sql = dialect.materializedWith(QStringLiteral("d"), driving)
        + QStringLiteral("SELECT d.s, count(*), sum(CASE WHEN d.r >= ? THEN 1 ELSE 0 END) FROM d");
    s.values.append(m_cutoff);
    if (covered < filters.size()) {
        s.sql += QStringLiteral(" CROSS JOIN t_order_02 f LEFT JOIN t_customer_02 g"
                                " ON f.OrderCustomerID = g.CustomerID");
        conditions.append(QStringLiteral("f.OrderID = d.k"));
        appendTextConditions(dialect, filters, QStringLiteral("f"), QStringLiteral("g"), conditions,
                             s.values, covered);
    }
    addStateAndKey(QStringLiteral("d.s"), QStringLiteral("d.k"));
    s.sql += where(conditions) + QStringLiteral(" GROUP BY d.s");
    return s;
}

QList<OrderList::Statement> OrderList::statementsFor(const OrderFilter &filter)
{
    reload(filter);
    count();
    QList<Statement> statements;
    const int group = int(m_groups.size()) - 1;
    if (group < 0)
        return statements;
    const bool filtered = hasTextFilter();
    statements.append(pageStatement(0, PageSize, QString(), 0, false, false, Budget));
    statements.append(pageStatement(group, PageSize, QString(), PageSize, false, filtered, Budget));
    statements.append(pageStatement(group, PageSize, QString(), 0, true, filtered, Budget));
    if (filtered)
        statements.append(
            pageStatement(0, PageSize, QStringLiteral("0"), 0, false, true, Budget, group));
    statements.append(countStatement(-1, QString()));
    statements.append(countStatement(group, QStringLiteral("0")));
    return statements;
}

// ---------------------------------------------------------------------------------------
// Reading rows

QList<OrderList::Row> OrderList::readRows(const Statement &statement) const
{
    QList<Row> rows;
    TRpx2Data::Rows found = m_data.read(statement.sql, statement.values);
    while (found.next()) {
        Row row;
        row.orderId = found.value(0).toString();
        row.imei = found.value(1).toString();
        row.stateColor = found.value(2);
        row.stateId = found.value(3).toInt();
        row.customerName = found.value(4).toString();
        rows.append(row);
    }
    return rows;
}

QList<OrderList::Row> OrderList::fetchRows(int group, int limit, const QString &before, int offset,
                                           bool fromEnd, bool *tookLaterGroups) const
{
    if (limit <= 0)
        return {};
    if (!hasTextFilter() || offset > 0 || fromEnd)
        return readRows(
            pageStatement(group, limit, before, offset, fromEnd, hasTextFilter(), Budget));
    // The next rows in list order among the next orders of the group; when the filter lets
    // too few of those through, it leads for the rest.
    QList<Row> rows = readRows(pageStatement(group, limit, before, 0, false, false, Budget));
    if (rows.size() >= limit)
        return rows;
    QVariantList values;
    QStringList conditions { groupCondition(group, QStringLiteral("OrderStateID"), values),
                             QStringLiteral("OrderReceiptDate >= ?") };
    values.append(m_cutoff);
    if (!before.isEmpty()) {
        conditions.append(QStringLiteral("OrderID < ?"));
        values.append(before);
    }
    values.append(Budget - 1);
    TRpx2Data::Rows lastLooked
        = m_data.read(QStringLiteral("SELECT OrderID FROM t_order_02") + where(conditions)
                          + QStringLiteral(" ORDER BY OrderID DESC LIMIT 1 OFFSET ?"),
                      values);
    if (!lastLooked.next())
        return rows; // the group had no more orders
    const QString after = lastLooked.value(0).toString();
    // The first page takes the later groups in the same reading: the filter's orders are
    // looked up once.
    const int lastGroup = tookLaterGroups ? int(m_groups.size()) - 1 : group;
    if (tookLaterGroups)
        *tookLaterGroups = true;
    rows += readRows(
        pageStatement(group, limit - int(rows.size()), after, 0, false, true, Budget, lastGroup));
    return rows;
}

void OrderList::fillFirstPage()
{
    QList<Row> rows;
    bool tookLaterGroups = false;
    for (int group = 0; group < m_groups.size() && rows.size() < PageSize && !tookLaterGroups;
         ++group)
        rows
            += fetchRows(group, PageSize - int(rows.size()), QString(), 0, false, &tookLaterGroups);
    m_prefixRows = int(rows.size());
    m_prefixComplete = rows.size() < PageSize;
    if (!rows.isEmpty()) {
        m_pages.insert(0, rows);
        m_pageUse.append(0);
    }
}

int OrderList::groupCount(int group) const
{
    if (m_groups.at(group).rows >= 0)
        return m_groups.at(group).rows;
    const Statement statement = countStatement(group, QString());
    int rows = 0;
    TRpx2Data::Rows found = m_data.read(statement.sql, statement.values);
    while (found.next())
        rows += found.value(2).toInt();
    m_groups[group].rows = rows;
    return rows;
}

int OrderList::groupStart(int group) const
{
    int start = 0;
    for (int g = 0; g < group; ++g)
        start += groupCount(g);
    return start;
}

const OrderList::Row *OrderList::rowAt(int row) const
{
    const auto page = m_pages.constFind(row / PageSize);
    if (page == m_pages.cend() || row % PageSize >= page->size())
        return nullptr;
    return &page->at(row % PageSize);
}

const OrderList::Row *OrderList::loadRow(int row) const
{
    if (row < 0 || row >= knownRows())
        return nullptr;
    if (const Row *found = rowAt(row)) {
        const int page = row / PageSize;
        if (m_pageUse.isEmpty() || m_pageUse.last() != page) {
            m_pageUse.removeOne(page);
            m_pageUse.append(page);
        }
        return found;
    }
    loadPage(row / PageSize);
    return rowAt(row);
}

void OrderList::loadPage(int page) const
{
    count();
    const int first = page * PageSize;
    const int end = qMin(first + PageSize, m_total);
    QList<Row> rows;
    for (int group = 0; group < m_groups.size(); ++group) {
        const Group &g = m_groups.at(group);
        const int lo = qMax(first + int(rows.size()), g.start);
        const int hi = qMin(end, g.start + g.rows);
        if (lo >= hi)
            continue;
        const int offset = lo - g.start;
        const int tail = g.rows - (hi - g.start);
        const Row *previous = lo > g.start ? rowAt(lo - 1) : nullptr;
        if (previous)
            rows += fetchRows(group, hi - lo, previous->orderId, 0, false);
        else if (offset == 0)
            rows += fetchRows(group, hi - lo, QString(), 0, false);
        else if (tail < offset)
            rows += fetchRows(group, hi - lo, QString(), tail, true);
        else
            rows += fetchRows(group, hi - lo, QString(), offset, false);
    }
    m_pages.insert(page, rows);
    m_pageUse.removeOne(page);
    m_pageUse.append(page);
    // The oldest pages go, but never the current row's.
    while (m_pages.size() > MaxPages) {
        const int old = m_pageUse.takeFirst();
        if (m_current >= 0 && old == m_current / PageSize) {
            m_pageUse.append(old);
            continue;
        }
        m_pages.remove(old);
    }
}

// ---------------------------------------------------------------------------------------
// Cursor

QString OrderList::orderIdAt(int row) const
{
    const Row *found = loadRow(row);
    return found ? found->orderId : QString();
}

QString OrderList::customerNameAt(int row) const
{
    const Row *found = loadRow(row);
    return found ? found->customerName : QString();
}

QString OrderList::currentOrderId() const
{
    return orderIdAt(m_current);
}

int OrderList::rowOf(const QString &orderId) const
{
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
        for (qsizetype i = 0; i < page->size(); ++i)
            if (page->at(i).orderId == orderId)
                return page.key() * PageSize + int(i);
    }
    if (orderId.isEmpty() || m_groups.isEmpty())
        return -1;
    // Is the order listed, and in which state?
    QStringList conditions { QStringLiteral("o.OrderID = ?"),
                             QStringLiteral("o.OrderReceiptDate >= ?") };
    QVariantList values { orderId, m_cutoff };
    if (m_filter.stateId != 0) {
        conditions.append(QStringLiteral("o.OrderStateID = ?"));
        values.append(m_filter.stateId);
    }
    appendTextConditions(m_data.dialect(), textFilters(m_filter), QStringLiteral("o"),
                         QStringLiteral("c"), conditions, values);
    QVariant state;
    {
        TRpx2Data::Rows found = m_data.read(
            QStringLiteral("SELECT o.OrderStateID FROM t_order_02 o "
                           "LEFT JOIN t_customer_02 c ON o.OrderCustomerID = c.CustomerID")
                + where(conditions),
            values);
        if (!found.next())
            return -1;
        state = found.value(0);
    }
    int group = -1;
    for (int g = 0; g < m_groups.size() && group < 0; ++g) {
        for (const QVariant &id : m_groups.at(g).stateIds)
            if (keyOf(id) == keyOf(state))
                group = g;
    }
    if (group < 0)
        return -1; // a state that came up after the list was read
    // Its place: the rows of the groups before it, and those of its group above it.
    const Statement statement = countStatement(group, orderId);
    int above = 0;
    {
        TRpx2Data::Rows found = m_data.read(statement.sql, statement.values);
        while (found.next())
            above += found.value(2).toInt();
    }
    const int row = groupStart(group) + above;
    return row < knownRows() || !m_counted ? row : -1;
}

bool OrderList::moveTo(int row)
{
    if (row < 0 || row == m_current)
        return false;
    if (row >= knownRows() && !m_counted)
        count();
    if (row >= knownRows() || !loadRow(row))
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

bool OrderList::last()
{
    return moveTo(rowCount() - 1);
}

bool OrderList::isLast() const
{
    if (m_current < 0)
        return true;
    if (m_counted)
        return m_current >= m_total - 1;
    return m_current >= m_prefixRows - 1 && m_prefixComplete;
}
