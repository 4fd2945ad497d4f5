#include "summaryrunner.h"

#include "reportfile.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"

namespace {

void checkYear(int year)
{
    if (year < 1 || year > 9999)
        throw RpxError(QStringLiteral("Rok %1 není platný.").arg(year));
}

} // namespace

SummaryRunner::SummaryRunner(TRpx2Data &data, ReportTexts texts)
    : m_data(data)
    , m_texts(texts ? std::move(texts) : [](const char *key) { return rpxText(key); })
{ }

QString SummaryRunner::noOrdersMessage()
{
    return QStringLiteral("Pro zadané kritérium nebyly nalezeny žádné zakázky.");
}

QString SummaryRunner::errorTitle()
{
    return QStringLiteral("Chyba");
}

// The handed-back orders of the days, with only the columns the report shows.
QList<COrder> SummaryRunner::handedBack(const QDate &first, const QDate &end,
                                        const QStringList &columns, std::optional<int> typeId)
{
    return m_data.GetIssuedOrders(first, end, OrderStates::HandedBack, typeId, columns);
}

int SummaryRunner::day(const QString &fileName, const QDate &from, const QDate &to, bool range)
{
    ReportFile file(fileName);
    file.open();
    SummaryReports::DayReport report;
    report.title
        = range ? SummaryReports::DayReport::Title::Range : SummaryReports::DayReport::Title::Day;
    report.from = from;
    report.to = range ? to : from;
    report.orders = handedBack(report.from, report.to.addDays(1), SummaryReports::dayColumns());
    file.write(SummaryReports::writeDay(report, m_texts));
    return int(report.orders.size());
}

int SummaryRunner::shop(const QString &fileName, const QDate &from, const QDate &to)
{
    ReportFile file(fileName);
    file.open();
    SummaryReports::DayReport report;
    report.title = SummaryReports::DayReport::Title::Shop;
    report.from = from;
    report.to = to;
    report.orders = handedBack(from, to.addDays(1), SummaryReports::dayColumns(), OrderTypes::Shop);
    file.write(SummaryReports::writeDay(report, m_texts));
    return int(report.orders.size());
}

int SummaryRunner::month(const QString &fileName, int year, int month)
{
    checkYear(year);
    if (month < 1 || month > 12)
        throw RpxError(QStringLiteral("Měsíc %1 není platný.").arg(month));
    ReportFile file(fileName);
    file.open();
    const QDate first(year, month, 1);
    SummaryReports::MonthReport report;
    report.month = month;
    report.orders = handedBack(first, first.addMonths(1), SummaryReports::periodColumns());
    file.write(SummaryReports::writeMonth(report, m_texts));
    return int(report.orders.size());
}

int SummaryRunner::year(const QString &fileName, const QString &yearText)
{
    bool ok = false;
    const int year = yearText.toInt(&ok);
    if (!ok)
        throw RpxError(QStringLiteral("„%1“ není platný rok.").arg(yearText));
    checkYear(year);
    ReportFile file(fileName);
    file.open();
    SummaryReports::YearReport report;
    report.yearText = yearText;
    report.orders
        = handedBack(QDate(year, 1, 1), QDate(year + 1, 1, 1), SummaryReports::periodColumns());
    file.write(SummaryReports::writeYear(report, m_texts));
    return int(report.orders.size());
}

int SummaryRunner::engineers(const QString &fileName, const QDate &from, const QDate &to)
{
    // The list's names come trimmed; a name that trims to one already listed would only
    // add a row of zeros, since an order counts for the first equal name.
    SummaryReports::EngineerReport report;
    for (const QString &name : m_data.GetEngineerNames())
        if (!report.engineers.contains(name))
            report.engineers.append(name);
    report.from = from;
    report.to = to;
    report.orders = handedBack(from, to.addDays(1), SummaryReports::engineerColumns());
    ReportFile file(fileName);
    file.write(SummaryReports::writeEngineers(report, m_texts));
    return int(report.orders.size());
}

int SummaryRunner::orderList(const QString &fileName, const QDate &from, const QDate &to,
                             const QString &typeName, bool *typeFound)
{
    const std::optional<int> typeId
        = typeName.isEmpty() ? std::nullopt : m_data.FindOrderTypeId(typeName);
    if (typeFound)
        *typeFound = typeName.isEmpty() || typeId.has_value();
    SummaryReports::OrderListReport report;
    report.from = from;
    report.to = to;
    report.orders = m_data.GetIssuedOrders(from, to.addDays(1), std::nullopt, typeId,
                                           SummaryReports::orderListColumns());
    ReportFile file(fileName);
    file.write(SummaryReports::writeOrderList(report, m_texts));
    return int(report.orders.size());
}
