#include "ordercolumns.h"

#include "sqldialect.h"

#include <array>

namespace {

// Overloaded lambdas for std::visit.
template<class... Ts> struct Overloaded : Ts...
{
    using Ts::operator()...;
};
template<class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

// In the order of the table's columns (and of COrder's fields).
constexpr std::array<OrderColumns::Column, OrderColumns::Count> Columns = { {
    { "OrderID", &COrder::OrderID },
    { "OrderTypeID", &COrder::OrderTypeID },
    { "OrderReceiptDate", &COrder::OrderReceiptDate },
    { "OrderDeadlineDate", &COrder::OrderDeadlineDate },
    { "OrderFaultDescription", &COrder::OrderFaultDescription },
    { "OrderExpectedPricePrimary", &COrder::OrderExpectedPricePrimary },
    { "OrderExpectedCurrencyPrimary", &COrder::OrderExpectedCurrencyPrimary },
    { "OrderExpectedPriceSecondary", &COrder::OrderExpectedPriceSecondary },
    { "OrderExpectedCurrencySecondary", &COrder::OrderExpectedCurrencySecondary },
    { "OrderCustomerID", &COrder::OrderCustomerID },
    { "OrderStateID", &COrder::OrderStateID },
    { "OrderEngineerName", &COrder::OrderEngineerName },
    { "OrderRepairDescription", &COrder::OrderRepairDescription },
    { "OrderSoftware", &COrder::OrderSoftware },
    { "OrderIssueDate", &COrder::OrderIssueDate },
    { "OrderFinalPricePrimary", &COrder::OrderFinalPricePrimary },
    { "OrderFinalCurrencyPrimary", &COrder::OrderFinalCurrencyPrimary },
    { "OrderFinalPriceSecondary", &COrder::OrderFinalPriceSecondary },
    { "OrderFinalCurrencySecondary", &COrder::OrderFinalCurrencySecondary },
    { "OrderComponentsPricePrimary", &COrder::OrderComponentsPricePrimary },
    { "OrderComponentsCurrencyPrimary", &COrder::OrderComponentsCurrencyPrimary },
    { "OrderComponentsPriceSecondary", &COrder::OrderComponentsPriceSecondary },
    { "OrderComponentsCurrencySecondary", &COrder::OrderComponentsCurrencySecondary },
    { "OrderRepairNote", &COrder::OrderRepairNote },
    { "OrderRepairImage", &COrder::OrderRepairImage },
    { "OrderPhone", &COrder::OrderPhone },
    { "OrderPhoneType", &COrder::OrderPhoneType },
    { "OrderPhoneIMEI", &COrder::OrderPhoneIMEI },
    { "OrderBattery", &COrder::OrderBattery },
    { "OrderBatteryType", &COrder::OrderBatteryType },
    { "OrderBatterySN", &COrder::OrderBatterySN },
    { "OrderCharger", &COrder::OrderCharger },
    { "OrderCover", &COrder::OrderCover },
    { "OrderSIM", &COrder::OrderSIM },
    { "OrderWarrantyCert", &COrder::OrderWarrantyCert },
    { "OrderNote", &COrder::OrderNote },
    { "OrderEmailSent", &COrder::OrderEmailSent },
} };

} // namespace

std::span<const OrderColumns::Column> OrderColumns::all()
{
    return Columns;
}

OrderColumns::Choice OrderColumns::choose(const QStringList &names)
{
    if (names.isEmpty())
        return every();
    Choice choice;
    for (size_t i = 0; i < Columns.size(); ++i)
        choice[i] = names.contains(QLatin1String(Columns[i].name));
    return choice;
}

QString OrderColumns::selectList(const QString &alias, const Choice &choice)
{
    const QString prefix = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList names;
    names.reserve(qsizetype(Columns.size()));
    for (size_t i = 0; i < Columns.size(); ++i)
        if (choice[i])
            names.append(prefix + QLatin1String(Columns[i].name));
    return names.join(QStringLiteral(", "));
}

COrder OrderColumns::read(const QSqlQuery &query, const SqlDialect &dialect, int firstColumn,
                          const Choice &choice)
{
    COrder order;
    int index = firstColumn;
    for (size_t i = 0; i < Columns.size(); ++i) {
        if (!choice[i])
            continue;
        const Column &column = Columns[i];
        const QVariant value = query.value(index++);
        std::visit(Overloaded {
                       [&](QString COrder::*f) { order.*f = value.toString(); },
                       [&](int COrder::*f) { order.*f = value.toInt(); },
                       [&](double COrder::*f) { order.*f = value.toDouble(); },
                       [&](bool COrder::*f) { order.*f = value.toInt() != 0; },
                       [&](QDateTime COrder::*f) { order.*f = dialect.dateFromValue(value); },
                   },
                   column.field);
    }
    return order;
}

QVariantList OrderColumns::values(const COrder &order, const SqlDialect &dialect)
{
    QVariantList values;
    values.reserve(qsizetype(Columns.size()));
    for (const Column &column : Columns) {
        std::visit(Overloaded {
                       // A null QString would be bound as NULL: an empty one is bound instead.
                       [&](QString COrder::*f) {
                           const QString &text = order.*f;
                           values.append(text.isNull() ? QString(QLatin1String("")) : text);
                       },
                       [&](int COrder::*f) { values.append(order.*f); },
                       [&](double COrder::*f) { values.append(order.*f); },
                       [&](bool COrder::*f) { values.append(int(order.*f)); },
                       [&](QDateTime COrder::*f) { values.append(dialect.dateValue(order.*f)); },
                   },
                   column.field);
    }
    return values;
}

QStringList OrderColumns::missingFrom(const QStringList &presentColumns)
{
    QStringList missing;
    for (const Column &column : Columns)
        if (!presentColumns.contains(QLatin1String(column.name), Qt::CaseInsensitive))
            missing.append(QLatin1String(column.name));
    return missing;
}
