#include "records.h"

#include <QLocale>

namespace {
QString shortDate(const QDateTime &value)
{
    return QLocale::system().toString(value.date(), QLocale::ShortFormat);
}
} // namespace

void COrder::AppendVisitMark()
{
    int n = 1;
    while (OrderFaultDescription.contains(QString::number(n) + QLatin1Char('/'))
           || OrderFaultDescription.contains(QString::number(n) + QLatin1Char('\\')))
        ++n;
    OrderFaultDescription += QStringLiteral("\r\n%1\r\n%2/").arg(shortDate(OrderReceiptDate)).arg(n);
    OrderRepairDescription += QStringLiteral("\r\n%1; %2\r\n%3/")
                                  .arg(shortDate(OrderIssueDate),
                                       QString::asprintf("%.2f", OrderFinalPricePrimary))
                                  .arg(n);
}
