#include "rpx2data.h"
#include "rpx2data_p.h"

#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "ordercolumns.h"
#include "ordernumbering.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "sqldialect.h"
#include "stolenphoneregister.h"

#include <QFile>
#include <QLocale>

#include <algorithm>

using namespace Rpx2DataDetail;

namespace {

// SELECT and the whole order, by position.
QString selectOrder(const char *rest)
{
    return QStringLiteral("SELECT ") + OrderColumns::selectList() + QLatin1Char(' ')
        + QLatin1String(rest);
}

} // namespace

std::optional<COrder> TRpx2Data::GetOrder(const QString &orderId)
{
    static const QString sql = selectOrder("FROM t_order_02 WHERE OrderID = ?");
    Rows rows = read(sql, { orderId });
    if (!rows.next())
        return std::nullopt;
    return OrderColumns::read(rows.query(), *m_dialect);
}

QList<COrder> TRpx2Data::GetOrdersByImei(const QString &imei)
{
    static const QString sql = selectOrder(
        "FROM t_order_02 WHERE OrderPhoneIMEI = ? ORDER BY OrderIssueDate DESC, OrderID DESC");
    Rows rows = read(sql, { imei });
    QList<COrder> orders;
    while (rows.next())
        orders.append(OrderColumns::read(rows.query(), *m_dialect));
    return orders;
}

std::optional<COrder> TRpx2Data::GetLastOrderByImei(const QString &imei)
{
    static const QString sql = selectOrder("FROM t_order_02 WHERE OrderPhoneIMEI = ? "
                                           "ORDER BY OrderIssueDate DESC, OrderID DESC LIMIT 1");
    Rows rows = read(sql, { imei });
    if (!rows.next())
        return std::nullopt;
    return OrderColumns::read(rows.query(), *m_dialect);
}

int TRpx2Data::GetOrderCount()
{
    Rows rows = read(QStringLiteral("SELECT count(*) FROM t_order_02"));
    return rows.next() ? rows.value(0).toInt() : 0;
}

void TRpx2Data::appendToLog(const char *operation, const COrder &order)
{
    // The file stays open until the write transaction ends: a run of stores in one
    // transaction (the demo data) opens it once, and its lines are written out together.
    if (!m_log || m_log->fileName() != AppPaths::operationsLog()) {
        m_log = std::make_unique<QFile>(AppPaths::operationsLog());
        if (!m_log->open(QIODevice::WriteOnly | QIODevice::Append)) {
            m_log.reset();
            return; // the log is a convenience: an unwritable file never stops a store
        }
    }
    static const QLocale system = QLocale::system();
    const QString time = system.toString(Clock::now(), QLocale::ShortFormat);
    const QString line = time + QLatin1Char(';') + QLatin1String(operation) + QLatin1Char(';')
        + order.OrderID + QLatin1Char(';') + order.OrderPhoneType + QLatin1String(";'")
        + order.OrderPhoneIMEI + QLatin1Char(';') + order.OrderExpectedPricePrimary
        + order.OrderExpectedCurrencyPrimary + QLatin1Char(';')
        + QString::asprintf("%0.2f", order.OrderFinalPricePrimary) + order.OrderFinalCurrencyPrimary
        + QLatin1String("\r\n");
    m_log->write(CSimpleResources::encode(line));
    if (m_transactionDepth == 0)
        m_log.reset();
}

void TRpx2Data::writeOrder(const COrder &o, bool exists)
{
    // The statements are built once from the column table.
    static const QString insert = []() -> QString {
        QStringList names;
        for (const OrderColumns::Column &column : OrderColumns::all())
            names.append(QLatin1String(column.name));
        return QStringLiteral("INSERT INTO t_order_02 (") + names.join(QStringLiteral(", "))
            + QStringLiteral(") VALUES (")
            + QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "))
            + QLatin1Char(')');
    }();
    static const QString update = []() -> QString {
        QStringList assignments;
        for (const OrderColumns::Column &column : OrderColumns::all().subspan(1))
            assignments.append(QLatin1String(column.name) + QLatin1String(" = ?"));
        return QStringLiteral("UPDATE t_order_02 SET ") + assignments.join(QStringLiteral(", "))
            + QStringLiteral(" WHERE OrderID = ?");
    }();
    QVariantList values = OrderColumns::values(o, *m_dialect);
    if (exists) {
        values.removeFirst(); // the number is the key
        values.append(o.OrderID);
        ExecuteCommand(update, values);
    } else {
        ExecuteCommand(insert, values);
    }
}

void TRpx2Data::StoreOrder(const COrder &order, const COrder *asLoaded)
{
    if (order.OrderID.isEmpty())
        throw RpxError(rpxTextOr("Global.OrderWithoutNumber",
                                 QStringLiteral("Zakázka nemá číslo a nelze ji uložit.")));
    WriteTransaction transaction(*this);
    // Checked inside the write transaction: no other program can change the row between
    // this comparison and the update.
    std::optional<COrder> found;
    bool exists = false;
    if (asLoaded) {
        found = GetOrder(order.OrderID);
        exists = found.has_value();
    } else {
        exists
            = read(QStringLiteral("SELECT 1 FROM t_order_02 WHERE OrderID = ?"), { order.OrderID })
                  .next();
    }
    if (asLoaded && !exists)
        throw RpxError(
            QStringLiteral("Zakázku %1 mezitím smazal jiný uživatel.").arg(order.OrderID),
            RpxError::Kind::Deleted);
    if (asLoaded && *found != *asLoaded)
        throw RpxError(
            QStringLiteral("Zakázku %1 mezitím změnil jiný uživatel.").arg(order.OrderID),
            RpxError::Kind::Changed);
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
        if (!read(QStringLiteral("SELECT 1 FROM t_order_02 WHERE OrderID = ?"), { stored.OrderID })
                 .next())
            break;
        const int next = OrderNumbering::CounterOf(stored.OrderID) + 1;
        if (next > OrderNumbering::MaxCounter)
            OrderNumbering::RefuseExhausted(Clock::today().year(), next - 1);
        stored.OrderID = OrderNumbering::Format(Clock::today().year(), next);
    }
    appendToLog("insert", stored);
    writeOrder(stored, false);
    // The number drawn lies above the counter and above every number of the year: it is
    // the counter now (what UpdateCounter would find, without looking again).
    m_config->SetMaxOrderID(OrderNumbering::CounterOf(stored.OrderID));
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

void TRpx2Data::StoreIntake(CCustomer &customer, QList<COrder> &orders,
                            const QList<COrder> &asLoaded)
{
    CCustomer storedCustomer = customer;
    QList<COrder> stored = orders;
    WriteTransaction transaction(*this);
    if (storedCustomer.CustomerID == 0)
        StoreCustomer(storedCustomer);
    for (COrder &order : stored) {
        order.OrderCustomerID = storedCustomer.CustomerID;
        if (order.OrderID.isEmpty()) {
            StoreNewOrder(order);
            continue;
        }
        const auto loaded = std::find_if(asLoaded.begin(), asLoaded.end(), [&](const COrder &o) {
            return o.OrderID == order.OrderID;
        });
        StoreOrder(order, loaded != asLoaded.end() ? &*loaded : nullptr);
    }
    transaction.commit();
    customer = storedCustomer;
    orders = stored;
}

void TRpx2Data::SetOrderRepairImage(const QString &orderId, const QString &fileName)
{
    ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderRepairImage = ? WHERE OrderID = ?"),
                   { fileName, orderId });
}

CStolenPhoneRegister &TRpx2Data::PcrImeiDb()
{
    if (!m_pcrImeiDb)
        m_pcrImeiDb = std::make_unique<CStolenPhoneRegister>();
    return *m_pcrImeiDb;
}

bool TRpx2Data::CheckStolenImei(const QString &imei)
{
    const QString url = m_config->GetPcrImeiCheckUrl().trimmed();
    if (url.isEmpty() || imei.isEmpty())
        return false;
    return PcrImeiDb().isStolen(url, imei);
}

double TRpx2Data::GetRevenueTotal()
{
    Rows rows = read(QStringLiteral(
        "SELECT sum(OrderFinalPricePrimary) FROM t_order_02 WHERE OrderStateID = 4"));
    return rows.next() ? rows.value(0).toDouble() : 0.0;
}

double TRpx2Data::GetRevenueBetween(const QDateTime &from, const QDateTime &to)
{
    Rows rows = read(
        QStringLiteral("SELECT sum(OrderFinalPricePrimary) FROM t_order_02 WHERE OrderStateID = 4 "
                       "AND OrderIssueDate >= ? AND OrderIssueDate < ?"),
        { m_dialect->dateValue(from), m_dialect->dateValue(to) });
    return rows.next() ? rows.value(0).toDouble() : 0.0;
}

QList<COrder> TRpx2Data::GetIssuedOrders(const QDate &firstDay, const QDate &endDay,
                                         std::optional<int> stateId, std::optional<int> typeId,
                                         const QStringList &columns)
{
    QString where
        = QStringLiteral("FROM t_order_02 WHERE OrderIssueDate >= ? AND OrderIssueDate < ?");
    QVariantList values = { m_dialect->dayStartValue(firstDay), m_dialect->dayStartValue(endDay) };
    if (stateId) {
        where += QStringLiteral(" AND OrderStateID = ?");
        values.append(*stateId);
    }
    // A year holds tens of thousands of orders: the list is made as large as the dates
    // (and state) allow once, counted along the index, rather than grown order by order.
    QList<COrder> orders;
    {
        Rows count = read(QStringLiteral("SELECT count(*) ") + where, values);
        if (count.next())
            orders.reserve(count.value(0).toInt());
    }
    const OrderColumns::Choice choice = OrderColumns::choose(columns);
    QString sql = QStringLiteral("SELECT ") + OrderColumns::selectList(QString(), choice)
        + QLatin1Char(' ') + where;
    if (typeId) {
        sql += QStringLiteral(" AND OrderTypeID = ?");
        values.append(*typeId);
    }
    sql += QStringLiteral(" ORDER BY OrderIssueDate, OrderID");
    Rows rows = read(sql, values);
    while (rows.next())
        orders.append(OrderColumns::read(rows.query(), *m_dialect, 0, choice));
    return orders;
}

QList<TRpx2Data::PrintRow> TRpx2Data::GetOrdersForPrint(const QStringList &orderIds)
{
    static const QString sql = QStringLiteral("SELECT ")
        + OrderColumns::selectList(QStringLiteral("o"))
        + QStringLiteral(", ot.OrderTypeName, os.OrderStateName, ")
        + customerSelectList(QStringLiteral("c"))
        + QStringLiteral(" FROM t_order_02 o "
                         "LEFT JOIN t_customer_02 c ON o.OrderCustomerID = c.CustomerID "
                         "LEFT JOIN t_order_type_02 ot ON o.OrderTypeID = ot.OrderTypeID "
                         "LEFT JOIN t_order_state_02 os ON o.OrderStateID = os.OrderStateID "
                         "WHERE o.OrderID = ?");
    const int typeColumn = int(OrderColumns::all().size());
    QList<PrintRow> rows;
    for (const QString &id : orderIds) {
        Rows found = read(sql, { id });
        if (!found.next())
            continue;
        PrintRow row;
        row.order = OrderColumns::read(found.query(), *m_dialect);
        row.typeName = found.value(typeColumn).toString();
        row.stateName = found.value(typeColumn + 1).toString();
        row.customer = readCustomer(found.query(), typeColumn + 2);
        rows.append(row);
    }
    return rows;
}
