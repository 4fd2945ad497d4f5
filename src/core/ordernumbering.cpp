#include "ordernumbering.h"

#include "clock.h"
#include "config.h"
#include "prompts.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QSqlQuery>

namespace {

// This year's numbers are the texts from "2026" up to, not including, "2027": a range the
// OrderID index answers directly.
QVariantList yearRange(int year)
{
    return {QString::number(year), QString::number(year + 1)};
}

} // namespace

int OrderNumbering::CounterOf(const QString &orderId)
{
    // The whole run of digits after the dash: a year with more than 99999 orders goes on
    // with six-digit counters instead of reading them back cut to five digits.
    const qsizetype dash = orderId.indexOf(QLatin1Char('-'));
    QString digits;
    if (dash >= 0) {
        for (qsizetype i = dash + 1; i < orderId.size() && orderId[i].isDigit() && digits.size() < 9; ++i)
            digits += orderId[i];
    } else {
        digits = orderId.left(5);
    }
    bool ok = false;
    const int counter = digits.toInt(&ok);
    return ok && counter >= 0 ? counter : 0;
}

QString OrderNumbering::Format(int year, int counter)
{
    return QString::asprintf("%d-%05d", year, counter);
}

int OrderNumbering::GetCounterBase(TRpx2Data &data)
{
    int m = data.config().GetMaxOrderID();
    if (m < 0)
        m = 0;
    // The greatest number of the year as text: one step down the OrderID index. A counter
    // past 99999 sorts below "…-99999" as text, but MaxOrderID, raised with every new
    // order in the same transaction, carries it; a number found taken is skipped anyway.
    TRpx2Data::Rows query = data.read(
        QStringLiteral("SELECT max(OrderID) FROM t_order_02 WHERE OrderID >= ? AND OrderID < ?"),
        yearRange(Clock::today().year()));
    if (query.next()) {
        const int counter = CounterOf(query.value(0).toString());
        if (counter >= m)
            m = counter;
    }
    return m;
}

QString OrderNumbering::NewOrderID(TRpx2Data &data)
{
    const int year = Clock::today().year();
    const int base = GetCounterBase(data);
    // A counter that no longer fits the number would be drawn again and again (or, past the
    // largest integer, turn negative): refuse rather than overwrite an order.
    if (base >= MaxCounter)
        RefuseExhausted(year, base);
    return Format(year, base + 1);
}

void OrderNumbering::RefuseExhausted(int year, int counter)
{
    throw RpxError(formatText(
        rpxTextOr("Global.OrderCounterExhausted",
                  QStringLiteral("Číselná řada zakázek roku %d je vyčerpána: čítač zakázek stojí "
                                 "na %d, nejvýše smí být %d. Novou zakázku nelze očíslovat.")),
        { year, counter, MaxCounter }));
}

void OrderNumbering::UpdateCounter(TRpx2Data &data, const QString &storedOrderId)
{
    // Only a number of this year counts: storing an edited order of an earlier year must
    // not make this year's numbers jump.
    const QString thisYear = QString::number(Clock::today().year()) + QLatin1Char('-');
    const int own = storedOrderId.startsWith(thisYear) ? CounterOf(storedOrderId) : 0;
    const int counter = qMax(own, GetCounterBase(data));
    if (counter != data.config().GetMaxOrderID())
        data.config().SetMaxOrderID(counter);
}

void OrderNumbering::ResetOrderCounter(TRpx2Data &data)
{
    data.config().SetMaxOrderID(0);
}

void OrderNumbering::CheckCounterReset(TRpx2Data &data, Prompts &prompts)
{
    if (!data.config().GetResetCounter())
        return;
    const int count = [&] {
        TRpx2Data::Rows query = data.read(
            QStringLiteral("SELECT count(*) FROM t_order_02 WHERE OrderID >= ? AND OrderID < ?"),
            yearRange(Clock::today().year()));
        return query.next() ? query.value(0).toInt() : 0;
    }();
    if (count != 0)
        return;
    prompts.message(QStringLiteral("Resetuji čítač zakázek v novém roce."));
    ResetOrderCounter(data);
}
