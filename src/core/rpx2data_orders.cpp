#include "rpx2data.h"
#include "rpx2data_p.h"

#include "apppaths.h"
#include "clock.h"
#include "ordernumbering.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "sqldialect.h"

#include <QFile>
#include <QLocale>
#include <QSqlRecord>

using namespace Rpx2DataDetail;

namespace {

const QStringList &orderColumns()
{
    static const QStringList columns = {
        QStringLiteral("OrderID"),
        QStringLiteral("OrderTypeID"),
        QStringLiteral("OrderReceiptDate"),
        QStringLiteral("OrderDeadlineDate"),
        QStringLiteral("OrderFaultDescription"),
        QStringLiteral("OrderExpectedPricePrimary"),
        QStringLiteral("OrderExpectedCurrencyPrimary"),
        QStringLiteral("OrderExpectedPriceSecondary"),
        QStringLiteral("OrderExpectedCurrencySecondary"),
        QStringLiteral("OrderCustomerID"),
        QStringLiteral("OrderStateID"),
        QStringLiteral("OrderEngineerName"),
        QStringLiteral("OrderRepairDescription"),
        QStringLiteral("OrderSoftware"),
        QStringLiteral("OrderIssueDate"),
        QStringLiteral("OrderFinalPricePrimary"),
        QStringLiteral("OrderFinalCurrencyPrimary"),
        QStringLiteral("OrderFinalPriceSecondary"),
        QStringLiteral("OrderFinalCurrencySecondary"),
        QStringLiteral("OrderComponentsPricePrimary"),
        QStringLiteral("OrderComponentsCurrencyPrimary"),
        QStringLiteral("OrderComponentsPriceSecondary"),
        QStringLiteral("OrderComponentsCurrencySecondary"),
        QStringLiteral("OrderRepairNote"),
        QStringLiteral("OrderRepairImage"),
        QStringLiteral("OrderPhone"),
        QStringLiteral("OrderPhoneType"),
        QStringLiteral("OrderPhoneIMEI"),
        QStringLiteral("OrderBattery"),
        QStringLiteral("OrderBatteryType"),
        QStringLiteral("OrderBatterySN"),
        QStringLiteral("OrderCharger"),
        QStringLiteral("OrderCover"),
        QStringLiteral("OrderSIM"),
        QStringLiteral("OrderWarrantyCert"),
        QStringLiteral("OrderNote"),
        QStringLiteral("OrderEmailSent"),
    };
    return columns;
}

} // namespace

COrder TRpx2Data::orderFromQuery(const QSqlQuery &query) const
{
    const QSqlRecord record = query.record();
    auto v = [&](const char *name) { return query.value(record.indexOf(QLatin1String(name))); };
    auto text = [&](const char *name) { return v(name).toString(); };
    auto date = [&](const char *name) { return m_dialect->dateFromValue(v(name)); };
    auto flag = [&](const char *name) { return v(name).toInt() != 0; };
    auto real = [&](const char *name) { return v(name).toDouble(); };
    auto integer = [&](const char *name) { return v(name).toInt(); };

    COrder o;
    o.OrderID = text("OrderID");
    o.OrderTypeID = integer("OrderTypeID");
    o.OrderReceiptDate = date("OrderReceiptDate");
    o.OrderDeadlineDate = date("OrderDeadlineDate");
    o.OrderFaultDescription = text("OrderFaultDescription");
    o.OrderExpectedPricePrimary = text("OrderExpectedPricePrimary");
    o.OrderExpectedCurrencyPrimary = text("OrderExpectedCurrencyPrimary");
    o.OrderExpectedPriceSecondary = text("OrderExpectedPriceSecondary");
    o.OrderExpectedCurrencySecondary = text("OrderExpectedCurrencySecondary");
    o.OrderCustomerID = integer("OrderCustomerID");
    o.OrderStateID = integer("OrderStateID");
    o.OrderEngineerName = text("OrderEngineerName");
    o.OrderRepairDescription = text("OrderRepairDescription");
    o.OrderSoftware = flag("OrderSoftware");
    o.OrderIssueDate = date("OrderIssueDate");
    o.OrderFinalPricePrimary = real("OrderFinalPricePrimary");
    o.OrderFinalCurrencyPrimary = text("OrderFinalCurrencyPrimary");
    o.OrderFinalPriceSecondary = real("OrderFinalPriceSecondary");
    o.OrderFinalCurrencySecondary = text("OrderFinalCurrencySecondary");
    o.OrderComponentsPricePrimary = real("OrderComponentsPricePrimary");
    o.OrderComponentsCurrencyPrimary = text("OrderComponentsCurrencyPrimary");
    o.OrderComponentsPriceSecondary = real("OrderComponentsPriceSecondary");
    o.OrderComponentsCurrencySecondary = text("OrderComponentsCurrencySecondary");
    o.OrderRepairNote = text("OrderRepairNote");
    o.OrderRepairImage = text("OrderRepairImage");
    o.OrderPhone = flag("OrderPhone");
    o.OrderPhoneType = text("OrderPhoneType");
    o.OrderPhoneIMEI = text("OrderPhoneIMEI");
    o.OrderBattery = flag("OrderBattery");
    o.OrderBatteryType = text("OrderBatteryType");
    o.OrderBatterySN = text("OrderBatterySN");
    o.OrderCharger = flag("OrderCharger");
    o.OrderCover = flag("OrderCover");
    o.OrderSIM = flag("OrderSIM");
    o.OrderWarrantyCert = flag("OrderWarrantyCert");
    o.OrderNote = text("OrderNote");
    o.OrderEmailSent = flag("OrderEmailSent");
    return o;
}

std::optional<COrder> TRpx2Data::GetOrder(const QString &orderId)
{
    QSqlQuery query
        = OpenQuery(QStringLiteral("SELECT * FROM t_order_02 WHERE OrderID = ?"), { orderId });
    if (!query.next())
        return std::nullopt;
    return orderFromQuery(query);
}

QList<COrder> TRpx2Data::GetOrdersByImei(const QString &imei)
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT * FROM t_order_02 WHERE OrderPhoneIMEI = ? "
                                               "ORDER BY OrderIssueDate DESC, OrderID DESC"),
                                { imei });
    QList<COrder> orders;
    while (query.next())
        orders.append(orderFromQuery(query));
    return orders;
}

std::optional<COrder> TRpx2Data::GetLastOrderByImei(const QString &imei)
{
    QSqlQuery query
        = OpenQuery(QStringLiteral("SELECT * FROM t_order_02 WHERE OrderPhoneIMEI = ? "
                                   "ORDER BY OrderIssueDate DESC, OrderID DESC LIMIT 1"),
                    { imei });
    if (!query.next())
        return std::nullopt;
    return orderFromQuery(query);
}

int TRpx2Data::GetOrderCount()
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT count(*) FROM t_order_02"));
    return query.next() ? query.value(0).toInt() : 0;
}

void TRpx2Data::appendToLog(const char *operation, const COrder &order)
{
    QFile file(AppPaths::operationsLog());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // the log is a convenience: an unwritable file never stops a store
    const QString time = QLocale::system().toString(Clock::now(), QLocale::ShortFormat);
    const QString line = time + QLatin1Char(';') + QLatin1String(operation) + QLatin1Char(';')
        + order.OrderID + QLatin1Char(';') + order.OrderPhoneType + QLatin1String(";'")
        + order.OrderPhoneIMEI + QLatin1Char(';') + order.OrderExpectedPricePrimary
        + order.OrderExpectedCurrencyPrimary + QLatin1Char(';')
        + QString::asprintf("%0.2f", order.OrderFinalPricePrimary) + order.OrderFinalCurrencyPrimary
        + QLatin1String("\r\n");
    file.write(CSimpleResources::encode(line));
}

void TRpx2Data::writeOrder(const COrder &o, bool exists)
{
    const QVariantList values = {
        o.OrderID,
        o.OrderTypeID,
        m_dialect->dateValue(o.OrderReceiptDate),
        m_dialect->dateValue(o.OrderDeadlineDate),
        o.OrderFaultDescription,
        o.OrderExpectedPricePrimary,
        o.OrderExpectedCurrencyPrimary,
        o.OrderExpectedPriceSecondary,
        o.OrderExpectedCurrencySecondary,
        o.OrderCustomerID,
        o.OrderStateID,
        o.OrderEngineerName,
        o.OrderRepairDescription,
        int(o.OrderSoftware),
        m_dialect->dateValue(o.OrderIssueDate),
        o.OrderFinalPricePrimary,
        o.OrderFinalCurrencyPrimary,
        o.OrderFinalPriceSecondary,
        o.OrderFinalCurrencySecondary,
        o.OrderComponentsPricePrimary,
        o.OrderComponentsCurrencyPrimary,
        o.OrderComponentsPriceSecondary,
        o.OrderComponentsCurrencySecondary,
        o.OrderRepairNote,
        o.OrderRepairImage,
        int(o.OrderPhone),
        o.OrderPhoneType,
        o.OrderPhoneIMEI,
        int(o.OrderBattery),
        o.OrderBatteryType,
        o.OrderBatterySN,
        int(o.OrderCharger),
        int(o.OrderCover),
        int(o.OrderSIM),
        int(o.OrderWarrantyCert),
        o.OrderNote,
        int(o.OrderEmailSent),
    };
    // Texts are written as texts: an empty box is stored as an empty text, not NULL.
    QVariantList bound;
    bound.reserve(values.size());
    // (A null QString would be bound as NULL: write an empty one instead. Unset dates are
    // variants without a value and stay NULL.)
    for (const QVariant &v : values) {
        if (v.typeId() == QMetaType::QString && !v.isNull()) {
            const QString text = v.toString();
            bound.append(text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text));
        } else {
            bound.append(v);
        }
    }

    const QStringList &columns = orderColumns();
    if (exists) {
        QStringList assignments;
        for (qsizetype i = 1; i < columns.size(); ++i)
            assignments.append(columns[i] + QLatin1String(" = ?"));
        QVariantList updateValues = bound.mid(1);
        updateValues.append(o.OrderID);
        ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET ")
                           + assignments.join(QLatin1String(", "))
                           + QStringLiteral(" WHERE OrderID = ?"),
                       updateValues);
    } else {
        QStringList marks(columns.size(), QStringLiteral("?"));
        ExecuteCommand(QStringLiteral("INSERT INTO t_order_02 (")
                           + columns.join(QLatin1String(", ")) + QStringLiteral(") VALUES (")
                           + marks.join(QLatin1String(", ")) + QLatin1Char(')'),
                       bound);
    }
}

void TRpx2Data::StoreOrder(const COrder &order, const COrder *asLoaded)
{
    if (order.OrderID.isEmpty())
        throw RpxError(rpxTextOr("Global.OrderWithoutNumber",
                                 QStringLiteral("Zakázka nemá číslo a nelze ji uložit.")));
    WriteTransaction transaction(*this);
    QSqlQuery found = OpenQuery(QStringLiteral("SELECT * FROM t_order_02 WHERE OrderID = ?"),
                                { order.OrderID });
    const bool exists = found.next();
    // Checked inside the write transaction: no other program can change the row between
    // this comparison and the update.
    if (asLoaded && !exists)
        throw RpxError(
            QStringLiteral("Zakázku %1 mezitím smazal jiný uživatel.").arg(order.OrderID),
            RpxError::Kind::Deleted);
    if (asLoaded && orderFromQuery(found) != *asLoaded)
        throw RpxError(
            QStringLiteral("Zakázku %1 mezitím změnil jiný uživatel.").arg(order.OrderID),
            RpxError::Kind::Changed);
    found.finish();
    appendToLog(exists ? "edit" : "insert", order);
    writeOrder(order, exists);
    transaction.commit();
}

void TRpx2Data::StoreNewOrder(COrder &order)
{
    WriteTransaction transaction(*this);
    COrder stored = order;
    stored.OrderID = OrderNumbering::NewOrderID(*this);
    // The counter base already lies above every number of the year; a number that is
    // taken anyway (a hand-made row) is skipped rather than overwritten.
    for (;;) {
        QSqlQuery found = OpenQuery(QStringLiteral("SELECT 1 FROM t_order_02 WHERE OrderID = ?"),
                                    { stored.OrderID });
        if (!found.next())
            break;
        const int next = OrderNumbering::CounterOf(stored.OrderID) + 1;
        if (next > OrderNumbering::MaxCounter)
            OrderNumbering::RefuseExhausted(Clock::today().year(), next - 1);
        stored.OrderID = OrderNumbering::Format(Clock::today().year(), next);
    }
    appendToLog("insert", stored);
    writeOrder(stored, false);
    OrderNumbering::UpdateCounter(*this, stored.OrderID);
    transaction.commit();
    order.OrderID = stored.OrderID;
}

bool TRpx2Data::DeleteOrder(const QString &orderId)
{
    WriteTransaction transaction(*this);
    const int deleted
        = ExecuteCommand(QStringLiteral("DELETE FROM t_order_02 WHERE OrderID = ?"), { orderId });
    transaction.commit();
    return deleted > 0;
}

int TRpx2Data::RenameEngineer(const QString &from, const QString &to)
{
    return ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderEngineerName = ? WHERE ")
                              + m_dialect->collate(QStringLiteral("OrderEngineerName"))
                              + QStringLiteral(" = ?"),
                          { to, from });
}

int TRpx2Data::RenamePhoneType(const QString &from, const QString &to)
{
    return ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderPhoneType = ? WHERE ")
                              + m_dialect->collate(QStringLiteral("OrderPhoneType"))
                              + QStringLiteral(" = ?"),
                          { to, from });
}

void TRpx2Data::SetOrderEmailSent(const QString &orderId)
{
    ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderEmailSent = 1 WHERE OrderID = ?"),
                   { orderId });
}

void TRpx2Data::SetOrderRepairImage(const QString &orderId, const QString &fileName)
{
    ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderRepairImage = ? WHERE OrderID = ?"),
                   { fileName, orderId });
}

double TRpx2Data::GetRevenueTotal()
{
    QSqlQuery query = OpenQuery(QStringLiteral(
        "SELECT sum(OrderFinalPricePrimary) FROM t_order_02 WHERE OrderStateID = 4"));
    return query.next() ? query.value(0).toDouble() : 0.0;
}

double TRpx2Data::GetRevenueBetween(const QDateTime &from, const QDateTime &to)
{
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT sum(OrderFinalPricePrimary) FROM t_order_02 WHERE OrderStateID = 4 "
                       "AND OrderIssueDate >= ? AND OrderIssueDate < ?"),
        { m_dialect->dateValue(from), m_dialect->dateValue(to) });
    return query.next() ? query.value(0).toDouble() : 0.0;
}

QList<COrder> TRpx2Data::GetIssuedOrders(const QDate &firstDay, const QDate &endDay,
                                         std::optional<int> stateId, std::optional<int> typeId)
{
    QString sql = QStringLiteral(
        "SELECT * FROM t_order_02 WHERE OrderIssueDate >= ? AND OrderIssueDate < ?");
    QVariantList values = { m_dialect->dayStartValue(firstDay), m_dialect->dayStartValue(endDay) };
    if (stateId) {
        sql += QStringLiteral(" AND OrderStateID = ?");
        values.append(*stateId);
    }
    if (typeId) {
        sql += QStringLiteral(" AND OrderTypeID = ?");
        values.append(*typeId);
    }
    sql += QStringLiteral(" ORDER BY OrderIssueDate, OrderID");
    QSqlQuery query = OpenQuery(sql, values);
    QList<COrder> orders;
    while (query.next())
        orders.append(orderFromQuery(query));
    return orders;
}

QList<TRpx2Data::PrintRow> TRpx2Data::GetOrdersForPrint(const QStringList &orderIds)
{
    QList<PrintRow> rows;
    for (const QString &id : orderIds) {
        QSqlQuery query = OpenQuery(
            QStringLiteral(
                "SELECT o.*, c.CustomerID, c.CustomerCode, c.CustomerShowCode, c.CustomerName, "
                "c.CustomerStreet, c.CustomerCity, c.CustomerPSC, c.CustomerPhoneNo, "
                "c.CustomerEMail, "
                "ot.OrderTypeName, os.OrderStateName FROM t_order_02 o "
                "LEFT JOIN t_customer_02 c ON o.OrderCustomerID = c.CustomerID "
                "LEFT JOIN t_order_type_02 ot ON o.OrderTypeID = ot.OrderTypeID "
                "LEFT JOIN t_order_state_02 os ON o.OrderStateID = os.OrderStateID "
                "WHERE o.OrderID = ?"),
            { id });
        if (!query.next())
            continue;
        PrintRow row;
        row.order = orderFromQuery(query);
        row.customer = customerFromQuery(query);
        row.typeName = query.value(QStringLiteral("OrderTypeName")).toString();
        row.stateName = query.value(QStringLiteral("OrderStateName")).toString();
        rows.append(row);
    }
    return rows;
}
