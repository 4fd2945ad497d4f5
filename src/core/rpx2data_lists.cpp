#include "rpx2data.h"

#include "sqldialect.h"

#include <QSqlQuery>
#include <QSqlTableModel>

namespace {

// A table model sorted by names in the shop's language rather than by bytes.
class CollatedTableModel final : public QSqlTableModel
{
public:
    CollatedTableModel(QObject *parent, const QSqlDatabase &db, QString orderBy)
        : QSqlTableModel(parent, db)
        , m_orderBy(std::move(orderBy))
    { }

protected:
    QString orderByClause() const override { return m_orderBy; }

private:
    QString m_orderBy;
};

QStringList valuesOf(TRpx2Data::Rows &query)
{
    QStringList list;
    while (query.next()) {
        const QString value = query.value(0).toString().trimmed();
        if (!value.isEmpty())
            list.append(value);
    }
    return list;
}

} // namespace

QList<IdName> TRpx2Data::idNames(const QString &sql)
{
    TRpx2Data::Rows query = read(sql);
    QList<IdName> list;
    while (query.next())
        list.append({ query.value(0).toInt(), query.value(1).toString() });
    return list;
}

QList<IdName> TRpx2Data::GetOrderTypes()
{
    return idNames(QStringLiteral("SELECT OrderTypeID, OrderTypeName FROM t_order_type_02 "
                                  "WHERE OrderTypeOrder > 0 ORDER BY OrderTypeOrder"));
}

QList<IdName> TRpx2Data::GetOrderStates()
{
    return idNames(QStringLiteral("SELECT OrderStateID, OrderStateName FROM t_order_state_02 "
                                  "WHERE OrderStateOrder > 0 ORDER BY OrderStateOrder"));
}

QList<IdName> TRpx2Data::GetAllOrderTypes()
{
    return idNames(QStringLiteral("SELECT OrderTypeID, OrderTypeName FROM t_order_type_02 "
                                  "ORDER BY OrderTypeOrder, OrderTypeID"));
}

std::optional<int> TRpx2Data::FindOrderTypeId(const QString &name)
{
    // Compared as every name is: "placená oprava" names "Placená oprava".
    TRpx2Data::Rows query = read(QStringLiteral("SELECT OrderTypeID FROM t_order_type_02 WHERE ")
                                     + m_dialect->collate(QStringLiteral("OrderTypeName"))
                                     + QStringLiteral(" = ? ORDER BY OrderTypeID"),
                                 { name });
    if (!query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

// ---------------------------------------------------------------------------------------
// Suggestion lists

namespace {

// "WITH RECURSIVE v(name) AS (...)": the distinct values of an indexed order column, each
// found by one step down the column's index from the one before - a few dozen steps for
// the engineers or device models of a million orders, where reading every order to make
// them distinct would take a third of a second. NULL ends the walk and is not among them.
QString distinctValues(const char *column)
{
    return QStringLiteral("WITH RECURSIVE v(name) AS (SELECT min(%1) FROM t_order_02 UNION ALL "
                          "SELECT (SELECT min(%1) FROM t_order_02 WHERE %1 > v.name) FROM v "
                          "WHERE v.name IS NOT NULL) ")
        .arg(QLatin1String(column));
}

} // namespace

// The lists compare and sort names with the text collation: "Novák" and "NOVÁK" are one
// entry, hiding "zikmund" hides "Zikmund", and "Čermák" comes before "Dvořák". The names are
// first made distinct as they are stored, along the column's index, so that the collation
// compares a few names rather than every order.
QStringList TRpx2Data::GetEngineerNames()
{
    const SqlDialect &d = *m_dialect;
    TRpx2Data::Rows query
        = read(distinctValues("OrderEngineerName") + QStringLiteral("SELECT DISTINCT ")
               + d.collate(QStringLiteral("o.name"))
               + QStringLiteral(" FROM v o LEFT JOIN t_filter_engineer_01 f ON ")
               + d.collate(QStringLiteral("o.name"))
               + QStringLiteral(" = f.EngineerName WHERE o.name IS NOT NULL "
                                "AND f.EngineerName IS NULL ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetPhoneTypeNames()
{
    const SqlDialect &d = *m_dialect;
    TRpx2Data::Rows query
        = read(distinctValues("OrderPhoneType") + QStringLiteral("SELECT ")
               + d.collate(QStringLiteral("o.name"))
               + QStringLiteral(" FROM (SELECT name FROM v WHERE name IS NOT NULL "
                                "UNION SELECT PhoneName FROM t_phone_01) o "
                                "LEFT JOIN t_filter_phone_01 f ON ")
               + d.collate(QStringLiteral("o.name"))
               + QStringLiteral(" = f.PhoneName WHERE f.PhoneName IS NULL GROUP BY 1 ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetBatteryTypeNames()
{
    TRpx2Data::Rows query
        = read(distinctValues("OrderBatteryType") + QStringLiteral("SELECT DISTINCT ")
               + m_dialect->collate(QStringLiteral("name"))
               + QStringLiteral(" FROM v WHERE name IS NOT NULL ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetKnownPhoneNames()
{
    TRpx2Data::Rows query
        = read(QStringLiteral("SELECT DISTINCT ") + m_dialect->collate(QStringLiteral("name"))
               + QStringLiteral(" FROM (SELECT PhoneName AS name FROM t_phone_01 "
                                "UNION SELECT PhoneName FROM t_filter_phone_01) "
                                "ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetEngineerListNames()
{
    // In the shop's language, as the other suggestion lists.
    TRpx2Data::Rows query
        = read(QStringLiteral("SELECT EngineerName FROM t_filter_engineer_01 ORDER BY ")
               + m_dialect->collate(QStringLiteral("EngineerName"))
               + QStringLiteral(", FilterEngineerID"));
    return valuesOf(query);
}

void TRpx2Data::AddKnownPhone(const QString &name)
{
    ExecuteCommand(QStringLiteral("INSERT INTO t_phone_01 (PhoneName) VALUES (?)"), { name });
}

QSqlTableModel *TRpx2Data::createPhoneListModel(QObject *parent)
{
    ensureOpen();
    auto *model = new CollatedTableModel(parent, database(),
                                         QStringLiteral("ORDER BY ")
                                             + m_dialect->collate(QStringLiteral("PhoneName"))
                                             + QStringLiteral(", FilterPhoneID"));
    model->setTable(QStringLiteral("t_filter_phone_01"));
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model->select();
    return model;
}

QSqlTableModel *TRpx2Data::createEngineerListModel(QObject *parent)
{
    ensureOpen();
    auto *model = new QSqlTableModel(parent, database());
    model->setTable(QStringLiteral("t_filter_engineer_01"));
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model->select();
    return model;
}

int TRpx2Data::NextFilterPhoneID()
{
    TRpx2Data::Rows query
        = read(QStringLiteral("SELECT max(FilterPhoneID) FROM t_filter_phone_01"));
    return (query.next() ? query.value(0).toInt() : 0) + 1;
}

int TRpx2Data::NextFilterEngineerID()
{
    TRpx2Data::Rows query
        = read(QStringLiteral("SELECT max(FilterEngineerID) FROM t_filter_engineer_01"));
    return (query.next() ? query.value(0).toInt() : 0) + 1;
}

void TRpx2Data::ClearPhoneList()
{
    ExecuteCommand(QStringLiteral("DELETE FROM t_filter_phone_01"));
}

void TRpx2Data::ClearEngineerList()
{
    ExecuteCommand(QStringLiteral("DELETE FROM t_filter_engineer_01"));
}
