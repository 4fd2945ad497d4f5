#include "rpx2data.h"
#include "rpx2data_p.h"

#include "rpxerror.h"
#include "simpleresources.h"
#include "sqldialect.h"

#include "customersearchmodel.h"

using namespace Rpx2DataDetail;

QVariant Rpx2DataDetail::textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QString Rpx2DataDetail::customerSelectList(const QString &alias)
{
    static const char *const names[]
        = { "CustomerID",   "CustomerShowCode", "CustomerCode",    "CustomerName", "CustomerStreet",
            "CustomerCity", "CustomerPSC",      "CustomerPhoneNo", "CustomerEMail" };
    const QString prefix = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList list;
    for (const char *name : names)
        list.append(prefix + QLatin1String(name));
    return list.join(QStringLiteral(", "));
}

CCustomer Rpx2DataDetail::readCustomer(const QSqlQuery &query, int firstColumn)
{
    auto text = [&](int i) { return query.value(firstColumn + i).toString(); };
    CCustomer c;
    c.CustomerID = query.value(firstColumn).toInt();
    c.CustomerShowCode = query.value(firstColumn + 1).toInt() != 0;
    c.CustomerCode = text(2);
    c.CustomerName = text(3);
    c.CustomerStreet = text(4);
    c.CustomerCity = text(5);
    c.CustomerPSC = text(6);
    c.CustomerPhoneNo = text(7);
    c.CustomerEMail = text(8);
    return c;
}

std::optional<CCustomer> TRpx2Data::GetCustomer(int customerId)
{
    static const QString sql = QStringLiteral("SELECT ") + customerSelectList()
        + QStringLiteral(" FROM t_customer_02 WHERE CustomerID = ?");
    Rows rows = read(sql, { customerId });
    if (!rows.next())
        return std::nullopt;
    return readCustomer(rows.query());
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
        QSqlQuery &insert
            = run(QStringLiteral(
                      "INSERT INTO t_customer_02 (CustomerShowCode, CustomerCode, CustomerName, "
                      "CustomerStreet, CustomerCity, CustomerPSC, CustomerPhoneNo, CustomerEMail) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                  values);
        id = insert.lastInsertId().toInt();
        insert.finish();
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

CustomerSearchModel *TRpx2Data::customerSearchModel()
{
    if (!m_customerSearch)
        m_customerSearch = new CustomerSearchModel(*this, this);
    return m_customerSearch;
}

void TRpx2Data::ReloadCustomerSearch(const QString &name, const QString &phoneNo)
{
    customerSearchModel()->reload(name, phoneNo);
}

CCustomer TRpx2Data::customerSearchRow(int row) const
{
    return m_customerSearch ? m_customerSearch->customerAt(row) : CCustomer();
}

int TRpx2Data::GetCustomerCount()
{
    Rows rows = read(QStringLiteral("SELECT count(*) FROM t_customer_02"));
    return rows.next() ? rows.value(0).toInt() : 0;
}
