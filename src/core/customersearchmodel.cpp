#include "customersearchmodel.h"

#include "rpx2data.h"
#include "rpxerror.h"
#include "sqldialect.h"

namespace {

constexpr int PageSize = 128;

const char *const FieldNames[CustomerSearchModel::ColCount]
    = { "CustomerName", "CustomerCity",     "CustomerPhoneNo", "CustomerEMail", "CustomerID",
        "CustomerCode", "CustomerShowCode", "CustomerStreet",  "CustomerPSC" };

// The list's order: name, city, phone and e-mail (names in the shop's language, a missing
// value first), then the id, so that every customer has a place of its own.
QStringList orderKeys(const SqlDialect &d)
{
    auto text = [](const char *column) {
        return QStringLiteral("COALESCE(%1, '')").arg(QLatin1String(column));
    };
    return { d.collate(text("CustomerName")), d.collate(text("CustomerCity")),
             text("CustomerPhoneNo"), d.collate(text("CustomerEMail")),
             QStringLiteral("CustomerID") };
}

} // namespace

CustomerSearchModel::CustomerSearchModel(TRpx2Data &data, QObject *parent)
    : QAbstractTableModel(parent)
    , m_data(data)
{ }

QString CustomerSearchModel::conditions(QVariantList &values) const
{
    QStringList conditions;
    auto add = [&](const char *column, const QString &text) {
        if (text.isEmpty())
            return;
        const SqlDialect::TextFilter filter
            = m_data.dialect().containsFilter(QLatin1String(column), text);
        conditions.append(filter.condition);
        values += filter.values;
    };
    add("CustomerName", m_name);
    add("CustomerPhoneNo", m_phoneNo);
    return conditions.join(QStringLiteral(" AND "));
}

// The next rows of the list after those read (its order holds every customer apart).
QList<CCustomer> CustomerSearchModel::readPage(int limit) const
{
    const QStringList keys = orderKeys(m_data.dialect());
    QVariantList values;
    QString where = conditions(values);
    if (!m_rows.isEmpty()) {
        const CCustomer &last = m_rows.last();
        const QString after = QLatin1Char('(') + keys.join(QStringLiteral(", "))
            + QStringLiteral(") > (?, ?, ?, ?, ?)");
        where = where.isEmpty() ? after : where + QStringLiteral(" AND ") + after;
        values += { last.CustomerName, last.CustomerCity, last.CustomerPhoneNo, last.CustomerEMail,
                    last.CustomerID };
    }
    QString sql = QStringLiteral("SELECT CustomerID, CustomerShowCode, CustomerCode, CustomerName, "
                                 "CustomerStreet, CustomerCity, CustomerPSC, CustomerPhoneNo, "
                                 "CustomerEMail FROM t_customer_02");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    sql += QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "))
        + QStringLiteral(" LIMIT ?");
    values.append(limit);
    QList<CCustomer> rows;
    TRpx2Data::Rows found = m_data.read(sql, values);
    while (found.next()) {
        const QSqlQuery &q = found.query();
        CCustomer c;
        c.CustomerID = q.value(0).toInt();
        c.CustomerShowCode = q.value(1).toInt() != 0;
        c.CustomerCode = q.value(2).toString();
        c.CustomerName = q.value(3).toString();
        c.CustomerStreet = q.value(4).toString();
        c.CustomerCity = q.value(5).toString();
        c.CustomerPSC = q.value(6).toString();
        c.CustomerPhoneNo = q.value(7).toString();
        c.CustomerEMail = q.value(8).toString();
        rows.append(c);
    }
    return rows;
}

void CustomerSearchModel::reload(const QString &name, const QString &phoneNo)
{
    beginResetModel();
    m_name = name;
    m_phoneNo = phoneNo;
    m_rows.clear();
    m_complete = true;
    try {
        m_rows = readPage(PageSize);
        m_complete = m_rows.size() < PageSize;
    } catch (...) {
        m_rows.clear();
        endResetModel();
        throw;
    }
    endResetModel();
}

bool CustomerSearchModel::fetchUntil(int row)
{
    while (row >= m_rows.size() && !m_complete) {
        // Far down the list in one reading rather than page by page.
        const int wanted = qMax(PageSize, row + 1 - int(m_rows.size()));
        const QList<CCustomer> more = readPage(wanted);
        m_complete = more.size() < wanted;
        if (more.isEmpty())
            break;
        beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + more.size()) - 1);
        m_rows += more;
        endInsertRows();
    }
    return row >= 0 && row < m_rows.size();
}

int CustomerSearchModel::rowOfCustomer(int customerId)
{
    for (qsizetype row = 0; row < m_rows.size(); ++row)
        if (m_rows.at(row).CustomerID == customerId)
            return int(row);
    if (m_complete)
        return -1;
    // Its place: the rows of the filter that come before it in the list's order.
    const std::optional<CCustomer> customer = m_data.GetCustomer(customerId);
    if (!customer)
        return -1;
    QVariantList values;
    QString where = conditions(values);
    where += QString(where.isEmpty() ? QString() : QStringLiteral(" AND "))
        + QStringLiteral("CustomerID = ?");
    values.append(customerId);
    if (!m_data.read(QStringLiteral("SELECT 1 FROM t_customer_02 WHERE ") + where, values).next())
        return -1;
    values.clear();
    where = conditions(values);
    const QString before = QLatin1Char('(') + orderKeys(m_data.dialect()).join(QStringLiteral(", "))
        + QStringLiteral(") < (?, ?, ?, ?, ?)");
    where = where.isEmpty() ? before : where + QStringLiteral(" AND ") + before;
    values += { customer->CustomerName, customer->CustomerCity, customer->CustomerPhoneNo,
                customer->CustomerEMail, customer->CustomerID };
    TRpx2Data::Rows count
        = m_data.read(QStringLiteral("SELECT count(*) FROM t_customer_02 WHERE ") + where, values);
    const int row = count.next() ? count.value(0).toInt() : -1;
    if (row < 0 || !fetchUntil(row))
        return -1;
    return m_rows.at(row).CustomerID == customerId ? row : -1;
}

QList<int> CustomerSearchModel::allIds() const
{
    QVariantList values;
    const QString where = conditions(values);
    QList<int> ids;
    TRpx2Data::Rows found
        = m_data.read(QStringLiteral("SELECT CustomerID FROM t_customer_02")
                          + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
                      values);
    while (found.next())
        ids.append(found.value(0).toInt());
    return ids;
}

CCustomer CustomerSearchModel::customerAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : CCustomer();
}

int CustomerSearchModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CustomerSearchModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColCount;
}

QVariant CustomerSearchModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const CCustomer &c = m_rows.at(index.row());
    switch (index.column()) {
    case ColName:
        return c.CustomerName;
    case ColCity:
        return c.CustomerCity;
    case ColPhoneNo:
        return c.CustomerPhoneNo;
    case ColEMail:
        return c.CustomerEMail;
    case ColID:
        return c.CustomerID;
    case ColCode:
        return c.CustomerCode;
    case ColShowCode:
        return int(c.CustomerShowCode);
    case ColStreet:
        return c.CustomerStreet;
    case ColPSC:
        return c.CustomerPSC;
    default:
        return {};
    }
}

QVariant CustomerSearchModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < ColCount) {
        if (role == Qt::DisplayRole)
            return m_titles.value(section, QLatin1String(FieldNames[section]));
        if (role == Qt::UserRole)
            return QLatin1String(FieldNames[section]);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool CustomerSearchModel::setHeaderData(int section, Qt::Orientation orientation,
                                        const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole)
        || section < 0 || section >= ColCount)
        return false;
    m_titles[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool CustomerSearchModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_complete;
}

void CustomerSearchModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_complete)
        return;
    // The view asks while painting: a reading that fails leaves the list as it is.
    try {
        fetchUntil(int(m_rows.size()));
    } catch (const RpxError &) {
        m_complete = true;
    }
}
