#include "rpx2data.h"
#include "rpx2data_p.h"

#include "rpxerror.h"
#include "simpleresources.h"
#include "sqldialect.h"

#include <QSqlQueryModel>
#include <QSqlRecord>

using namespace Rpx2DataDetail;

QVariant Rpx2DataDetail::textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

CCustomer Rpx2DataDetail::customerFromQuery(const QSqlQuery &query)
{
    const QSqlRecord record = query.record();
    auto text = [&](const char *name) {
        return query.value(record.indexOf(QLatin1String(name))).toString();
    };
    CCustomer c;
    c.CustomerID = query.value(record.indexOf(QLatin1String("CustomerID"))).toInt();
    c.CustomerShowCode
        = query.value(record.indexOf(QLatin1String("CustomerShowCode"))).toInt() != 0;
    c.CustomerCode = text("CustomerCode");
    c.CustomerName = text("CustomerName");
    c.CustomerStreet = text("CustomerStreet");
    c.CustomerCity = text("CustomerCity");
    c.CustomerPSC = text("CustomerPSC");
    c.CustomerPhoneNo = text("CustomerPhoneNo");
    c.CustomerEMail = text("CustomerEMail");
    return c;
}

std::optional<CCustomer> TRpx2Data::GetCustomer(int customerId)
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT * FROM t_customer_02 WHERE CustomerID = ?"),
                                { customerId });
    if (!query.next())
        return std::nullopt;
    return customerFromQuery(query);
}

void TRpx2Data::StoreCustomer(CCustomer &customer, const CCustomer *asLoaded)
{
    const QVariantList values = {
        int(customer.CustomerShowCode),       textOrNull(customer.CustomerCode),
        textOrNull(customer.CustomerName),    textOrNull(customer.CustomerStreet),
        textOrNull(customer.CustomerCity),    textOrNull(customer.CustomerPSC),
        textOrNull(customer.CustomerPhoneNo), textOrNull(customer.CustomerEMail),
    };
    WriteTransaction transaction(*this);
    int id = customer.CustomerID;
    if (asLoaded && id != 0) {
        const std::optional<CCustomer> stored = GetCustomer(id);
        if (!stored)
            throw RpxError(QStringLiteral("Zákazníka mezitím odstranil jiný uživatel."),
                           RpxError::Kind::Deleted);
        if (*stored != *asLoaded)
            throw RpxError(QStringLiteral("Zákazníka mezitím změnil jiný uživatel."),
                           RpxError::Kind::Changed);
    }
    bool updated = false;
    if (id != 0) {
        QVariantList updateValues = values;
        updateValues.append(id);
        updated
            = ExecuteCommand(
                  QStringLiteral("UPDATE t_customer_02 SET CustomerShowCode = ?, CustomerCode = ?, "
                                 "CustomerName = ?, CustomerStreet = ?, CustomerCity = ?, "
                                 "CustomerPSC = ?, CustomerPhoneNo = ?, CustomerEMail = ? "
                                 "WHERE CustomerID = ?"),
                  updateValues)
            > 0;
    }
    if (!updated) {
        QSqlQuery insert = prepare(
            QStringLiteral(
                "INSERT INTO t_customer_02 (CustomerShowCode, CustomerCode, CustomerName, "
                "CustomerStreet, CustomerCity, CustomerPSC, CustomerPhoneNo, CustomerEMail) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
        exec(insert);
        id = insert.lastInsertId().toInt();
        if (id == 0)
            throw RpxError(rpxTextOr("Global.CustomerWithoutNumber",
                                     QStringLiteral("Databáze nevrátila číslo nového zákazníka.")));
    }
    transaction.commit();
    customer.CustomerID = id;
}

void TRpx2Data::MergeCustomers(int survivorId, const QList<int> &customerIds)
{
    QList<int> merged;
    for (int id : customerIds)
        if (id != survivorId && !merged.contains(id))
            merged.append(id);
    if (merged.isEmpty())
        return;
    WriteTransaction transaction(*this);
    constexpr qsizetype chunk = 400;
    for (qsizetype start = 0; start < merged.size(); start += chunk) {
        const QList<int> part = merged.mid(start, chunk);
        const QString marks = QStringList(part.size(), QStringLiteral("?")).join(QLatin1Char(','));
        QVariantList values { survivorId };
        QVariantList ids;
        for (int id : part)
            ids.append(id);
        ExecuteCommand(
            QStringLiteral("UPDATE t_order_02 SET OrderCustomerID = ? WHERE OrderCustomerID IN (")
                + marks + QLatin1Char(')'),
            values + ids);
        ExecuteCommand(
            QStringLiteral("DELETE FROM t_customer_02 WHERE CustomerID IN (") + marks
                + QStringLiteral(") AND NOT EXISTS (SELECT 1 FROM t_order_02 "
                                 "WHERE t_order_02.OrderCustomerID = t_customer_02.CustomerID)"),
            ids);
    }
    transaction.commit();
}

int TRpx2Data::GetOrderCountOfCustomers(const QList<int> &customerIds)
{
    int total = 0;
    constexpr qsizetype chunk = 400;
    for (qsizetype start = 0; start < customerIds.size(); start += chunk) {
        const QList<int> part = customerIds.mid(start, chunk);
        QVariantList ids;
        for (int id : part)
            ids.append(id);
        QSqlQuery query
            = OpenQuery(QStringLiteral("SELECT count(*) FROM t_order_02 WHERE OrderCustomerID IN (")
                            + QStringList(part.size(), QStringLiteral("?")).join(QLatin1Char(','))
                            + QLatin1Char(')'),
                        ids);
        total += query.next() ? query.value(0).toInt() : 0;
    }
    return total;
}

QSqlQueryModel *TRpx2Data::customerSearchModel()
{
    if (!m_customerSearch)
        m_customerSearch = new QSqlQueryModel(this);
    return m_customerSearch;
}

void TRpx2Data::ReloadCustomerSearch(const QString &name, const QString &phoneNo)
{
    QStringList conditions;
    QVariantList values;
    if (!name.isEmpty()) {
        conditions.append(
            m_dialect->containsCondition(QStringLiteral("CustomerName"), QStringLiteral("?")));
        values.append(name);
    }
    if (!phoneNo.isEmpty()) {
        conditions.append(
            m_dialect->containsCondition(QStringLiteral("CustomerPhoneNo"), QStringLiteral("?")));
        values.append(phoneNo);
    }
    QString sql = QStringLiteral(
        "SELECT CustomerName, CustomerCity, CustomerPhoneNo, CustomerEMail, CustomerID, "
        "CustomerCode, CustomerShowCode, CustomerStreet, CustomerPSC FROM t_customer_02");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + m_dialect->collate(QStringLiteral("CustomerName"))
        + QStringLiteral(", ") + m_dialect->collate(QStringLiteral("CustomerCity"))
        + QStringLiteral(", CustomerPhoneNo, ")
        + m_dialect->collate(QStringLiteral("CustomerEMail")) + QStringLiteral(", CustomerID");
    QSqlQuery query = prepare(sql, values, false);
    exec(query);
    QSqlQueryModel *model = customerSearchModel();
    model->setQuery(std::move(query));
    while (model->canFetchMore())
        model->fetchMore();
}

CCustomer TRpx2Data::customerSearchRow(int row) const
{
    CCustomer c;
    if (!m_customerSearch || row < 0 || row >= m_customerSearch->rowCount())
        return c;
    const QSqlRecord r = m_customerSearch->record(row);
    auto text = [&](const char *name) { return r.value(QLatin1String(name)).toString(); };
    c.CustomerID = r.value(QLatin1String("CustomerID")).toInt();
    c.CustomerShowCode = r.value(QLatin1String("CustomerShowCode")).toInt() != 0;
    c.CustomerCode = text("CustomerCode");
    c.CustomerName = text("CustomerName");
    c.CustomerStreet = text("CustomerStreet");
    c.CustomerCity = text("CustomerCity");
    c.CustomerPSC = text("CustomerPSC");
    c.CustomerPhoneNo = text("CustomerPhoneNo");
    c.CustomerEMail = text("CustomerEMail");
    return c;
}
