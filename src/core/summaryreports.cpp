#include "summaryreports.h"

#include "textformat.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

namespace SummaryReports {

namespace {

const QString Head
    = QStringLiteral("<html>\n  <head><META http-equiv=\"Content-Type\" content=\"text/html; "
                     "charset=windows-1250\"></head>");
const QString Tail = QStringLiteral("    </table>\n  </body>\n</html>\n");

// An amount as "%.2f" prints it, except that an amount that rounds to zero never shows as
// "-0.00" (a sum such as 0.1 + 0.2 - 0.3 is a hair below zero).
QVariant amount(double value)
{
    return std::round(value * 100.0) == 0.0 ? 0.0 : value;
}

QString shortDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

// A language-file text, escaped like every other text the reports show.
QVariant label(const ReportTexts &text, const char *key)
{
    return escaped(text(key));
}

QString monthName(const ReportTexts &text, int monthIndex)
{
    const QByteArray key = "OrderSummary.Month." + QByteArray::number(monthIndex);
    return escaped(text(key.constData()));
}

// Sums of one day or month: prices of software jobs and of repairs, and parts.
struct Sums
{
    double software = 0.0;
    double repair = 0.0;
    double parts = 0.0;

    void add(const COrder &o)
    {
        (o.OrderSoftware ? software : repair) += o.OrderFinalPricePrimary;
        parts += o.OrderComponentsPricePrimary;
    }
    QVariantList cells(const QVariant &first) const
    {
        return { first, amount(software), amount(repair), amount(software + repair),
                 amount(parts) };
    }
};

// The rows of the monthly and yearly reports: one line per period, then the totals.
QString periodRows(const QList<Sums> &periods, const std::function<QVariant(int)> &name,
                   const ReportTexts &text)
{
    QString html;
    Sums total;
    for (int i = 0; i < periods.size(); ++i) {
        html += formatText(QStringLiteral("<tr><td align=\"left\">%s</td><td align=\"right\">%.2f "
                                          "Kč</td><td align=\"right\">%.2f Kč</td><td "
                                          "align=\"right\">%.2f Kč</td><td align=\"right\">%.2f "
                                          "Kč</td></tr>\n"),
                           periods[i].cells(name(i)));
        total.software += periods[i].software;
        total.repair += periods[i].repair;
        total.parts += periods[i].parts;
    }
    html += formatText(QStringLiteral("<tr></tr>\n<tr><th align=\"left\">%s</th><th "
                                      "align=\"right\">%.2f Kč</th><th align=\"right\">%.2f "
                                      "Kč</th><th align=\"right\">%.2f Kč</th><th "
                                      "align=\"right\">%.2f Kč</th></tr>\n"),
                       total.cells(label(text, "OrderSummary.SummarySumLabel")));
    return html;
}

QString periodHeader(const ReportTexts &text, const char *firstColumn)
{
    return formatText(QStringLiteral("<tr><th align=\"left\">%s</th><th>%s</th><th>%s</th><th>%s</"
                                     "th><th>%s</th></tr>\n"),
                      { label(text, firstColumn), label(text, "OrderSummary.SummaryColSoftware"),
                        label(text, "OrderSummary.SummaryColRepairs"),
                        label(text, "OrderSummary.SummaryColSumLabel"),
                        label(text, "OrderSummary.SummaryColParts") });
}

} // namespace

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString writeDay(const DayReport &report, const ReportTexts &text)
{
    QString html = Head + QStringLiteral("  <body>\n    <table>\n");
    const QString from = shortDate(report.from);
    if (report.title == DayReport::Title::Range) {
        html += formatText(QStringLiteral("<tr><th colspan=\"4\"><font size=\"+3\">%s - "
                                          "%s</font></th><th colspan=\"2\"><font "
                                          "size=\"+3\">%s</font></th></tr>\n"),
                           { from, shortDate(report.to), QStringLiteral("Uzávěrka dnů") });
    } else {
        const char *caption = report.title == DayReport::Title::Shop ? "OrderSummary.SummaryShop"
                                                                     : "OrderSummary.SummaryDay";
        html += formatText(QStringLiteral("<tr><th colspan=\"2\"><font size=\"+3\">%s</font></"
                                          "th><th colspan=\"4\"><font "
                                          "size=\"+3\">%s</font></th></tr>\n<tr></tr>\n"),
                           { from, label(text, caption) });
    }

    const QVariantList columns = {
        label(text, "OrderSummary.SummaryColOrderID"),
        label(text, "OrderSummary.SummaryColPhoneType"),
        label(text, "OrderSummary.SummaryColSWHW"),
        label(text, "OrderSummary.SummaryColEngineer"),
        label(text, "OrderSummary.SummaryColRepairDescription"),
        label(text, "OrderSummary.SummaryColIssuePrice"),
        label(text, "OrderSummary.SummaryColParts"),
    };
    Sums software, repair;
    std::optional<QDateTime> lastHeading;
    for (const COrder &o : report.orders) {
        // A new heading for every later issue time, not only for a new day.
        if (!lastHeading || o.OrderIssueDate > *lastHeading) {
            html += formatText(QStringLiteral("<tr></tr><tr><th valign=\"top\" align=\"left\" "
                                              "colspan=\"4\">%s %s</th></tr>\n"),
                               { label(text, "OrderSummary.SummaryDateLabel"),
                                 shortDate(o.OrderIssueDate.date()) });
            html += formatText(QStringLiteral("<tr><th>%s</th><th>%s</th><th>%s</th><th>%s</"
                                              "th><th>%s</th><th>%s</th><th>%s</th></tr>\n"),
                               columns);
            lastHeading = o.OrderIssueDate;
        }
        const bool claim = o.OrderTypeID == OrderTypes::Warranty && o.OrderFinalPricePrimary == 0.0;
        const QString price = claim
            ? QStringLiteral("Reklamace")
            : formatText(QStringLiteral("%.2f Kč"), { amount(o.OrderFinalPricePrimary) });
        html += formatText(
            QStringLiteral("<tr><td valign=\"top\">%s</td><td valign=\"top\">%s</td><td "
                           "valign=\"top\">%s</td><td valign=\"top\">%s</td><td "
                           "valign=\"top\">%s</td><td valign=\"top\" align=\"right\">%s</td><td "
                           "valign=\"top\" align=\"right\">%s</td></tr>\n"),
            { escaped(o.OrderID), escaped(o.OrderPhoneType),
              o.OrderSoftware ? QStringLiteral("Software") : QStringLiteral("Oprava"),
              escaped(o.OrderEngineerName), escaped(o.OrderRepairDescription), price,
              formatText(QStringLiteral("%.2f Kč"), { amount(o.OrderComponentsPricePrimary) }) });
        (o.OrderSoftware ? software : repair).add(o);
    }

    const QString totalRow = QStringLiteral(
        "<tr></tr>\n<tr><th colspan=\"5\" align=\"left\">%s</th><th align=\"right\">%.2f "
        "Kč</th><th align=\"right\">%.2f Kč</th></tr>\n");
    html += formatText(
        totalRow + totalRow + totalRow,
        { label(text, "OrderSummary.SummarySoftwareLabel"), amount(software.software),
          amount(software.parts), label(text, "OrderSummary.SummaryHardwareLabel"),
          amount(repair.repair), amount(repair.parts), label(text, "OrderSummary.SummarySumLabel"),
          amount(software.software + repair.repair), amount(software.parts + repair.parts) });
    return html + Tail;
}

QString writeMonth(const MonthReport &report, const ReportTexts &text)
{
    QString html = Head + QStringLiteral("  <body>\n    <table width=\"60%\">\n");
    html += formatText(
        QStringLiteral("<tr><th colspan=\"1\"><font size=\"+3\">%s</font></th><th "
                       "colspan=\"3\"><font size=\"+3\">%s</font></th></tr><tr></"
                       "tr>\n"),
        { monthName(text, report.month - 1), label(text, "OrderSummary.SummaryMonth") });
    html += periodHeader(text, "OrderSummary.SummaryColDay");
    QList<Sums> days(31);
    for (const COrder &o : report.orders) {
        const int day = o.OrderIssueDate.date().day();
        if (day >= 1 && day <= 31)
            days[day - 1].add(o);
    }
    html += periodRows(
        days, [](int i) { return QVariant(i + 1); }, text);
    return html + Tail;
}

QString writeYear(const YearReport &report, const ReportTexts &text)
{
    QString html = Head + QStringLiteral("  <body>\n    <table width=\"60%\">\n");
    html += formatText(QStringLiteral("<tr><th colspan=\"1\"><font size=\"+3\">%s</font></th><th "
                                      "colspan=\"3\"><font size=\"+3\">%s</font></th></tr>\n<tr></"
                                      "tr>\n"),
                       { escaped(report.yearText), label(text, "OrderSummary.SummaryYear") });
    html += periodHeader(text, "OrderSummary.SummaryColMonthMonth");
    QList<Sums> months(12);
    for (const COrder &o : report.orders) {
        const int month = o.OrderIssueDate.date().month();
        if (month >= 1 && month <= 12)
            months[month - 1].add(o);
    }
    html += periodRows(
        months, [&](int i) { return QVariant(monthName(text, i)); }, text);
    return html + Tail;
}

QString writeEngineers(const EngineerReport &report, const ReportTexts &text)
{
    struct Entry
    {
        QString name;
        int repairs = 0, software = 0, parts = 0;
        double repairSum = 0.0, softwareSum = 0.0, partsSum = 0.0;

        QVariantList cells() const
        {
            return { escaped(name),
                     repairs,
                     amount(repairSum),
                     software,
                     amount(softwareSum),
                     parts,
                     amount(partsSum),
                     repairs + software,
                     amount(repairSum + softwareSum) };
        }
    };
    QList<Entry> entries;
    for (const QString &name : report.engineers)
        entries.append({ name });
    for (const COrder &o : report.orders) {
        // The order's name as stored: case and blanks matter, an unlisted name counts nowhere.
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry &e) { return e.name == o.OrderEngineerName; });
        if (it == entries.end())
            continue;
        if (o.OrderSoftware) {
            ++it->software;
            it->softwareSum += o.OrderFinalPricePrimary;
        } else {
            ++it->repairs;
            it->repairSum += o.OrderFinalPricePrimary;
        }
        if (o.OrderComponentsPricePrimary > 0)
            ++it->parts;
        it->partsSum += o.OrderComponentsPricePrimary;
    }

    QString html = Head + QStringLiteral("  <body>\n    <table width=\"80%\">\n");
    html += formatText(
        QStringLiteral("<tr><th></th><th colspan=\"6\" align=\"left\"><font "
                       "size=\"+3\">%s</font></th></tr>\n<tr><th></th><th colspan=\"6\" "
                       "align=\"left\"><font size=\"+1\">%s %s - %s</font></th></tr>\n<tr></tr>\n"),
        { label(text, "OrderSummary.SummaryColEngineer"),
          label(text, "OrderSummary.SummaryDateRangeLabel"), shortDate(report.from),
          shortDate(report.to) });
    html += formatText(QStringLiteral("<tr><th align=\"left\">%s</th><th colspan=\"2\">%s</th><th "
                                      "colspan=\"2\">%s</th><th colspan=\"2\">%s</th><th "
                                      "colspan=\"2\">%s</th></tr>\n"),
                       { label(text, "OrderSummary.SummaryColEngineer"),
                         label(text, "OrderSummary.SummaryColRepairs"),
                         label(text, "OrderSummary.SummaryColSoftware"),
                         label(text, "OrderSummary.SummaryColParts"),
                         label(text, "OrderSummary.SummaryColSumLabel") });
    Entry total { text("OrderSummary.SummarySumLabel") };
    for (const Entry &e : entries) {
        html += formatText(QStringLiteral("<tr><td align=\"left\">%s</td><td align=\"right\">%d "
                                          "Ks</td><td align=\"right\">%.2f Kč</td><td "
                                          "align=\"right\">%d Ks</td><td align=\"right\">%.2f "
                                          "Kč</td><td align=\"right\">%d Ks</td><td "
                                          "align=\"right\">%.2f Kč</td><td align=\"right\">%d "
                                          "Ks</td><td align=\"right\">%.2f Kč</td></tr>\n"),
                           e.cells());
        total.repairs += e.repairs;
        total.repairSum += e.repairSum;
        total.software += e.software;
        total.softwareSum += e.softwareSum;
        total.parts += e.parts;
        total.partsSum += e.partsSum;
    }
    html += formatText(QStringLiteral("<tr></tr>\n<tr><th align=\"left\">%s</th><th "
                                      "align=\"right\">%d Ks</th><th align=\"right\">%.2f "
                                      "Kč</th><th align=\"right\">%d Ks</th><th "
                                      "align=\"right\">%.2f Kč</th><th align=\"right\">%d "
                                      "Ks</th><th align=\"right\">%.2f Kč</th><th "
                                      "align=\"right\">%d Ks</th><th align=\"right\">%.2f "
                                      "Kč</th></tr>\n"),
                       total.cells());
    return html + Tail;
}

QStringList dayColumns()
{
    return { QStringLiteral("OrderID"),
             QStringLiteral("OrderTypeID"),
             QStringLiteral("OrderIssueDate"),
             QStringLiteral("OrderEngineerName"),
             QStringLiteral("OrderRepairDescription"),
             QStringLiteral("OrderSoftware"),
             QStringLiteral("OrderFinalPricePrimary"),
             QStringLiteral("OrderComponentsPricePrimary"),
             QStringLiteral("OrderPhoneType") };
}

QStringList periodColumns()
{
    return { QStringLiteral("OrderIssueDate"), QStringLiteral("OrderSoftware"),
             QStringLiteral("OrderFinalPricePrimary"),
             QStringLiteral("OrderComponentsPricePrimary") };
}

QStringList engineerColumns()
{
    return { QStringLiteral("OrderEngineerName"), QStringLiteral("OrderSoftware"),
             QStringLiteral("OrderFinalPricePrimary"),
             QStringLiteral("OrderComponentsPricePrimary") };
}

QStringList orderListColumns()
{
    return { QStringLiteral("OrderReceiptDate"), QStringLiteral("OrderPhoneIMEI"),
             QStringLiteral("OrderPhoneType"), QStringLiteral("OrderFaultDescription"),
             QStringLiteral("OrderRepairDescription") };
}

QString writeOrderList(const OrderListReport &report, const ReportTexts &text)
{
    QString html = Head + QStringLiteral("  <body>\n    <table width=\"80%\">\n");
    html += formatText(
        QStringLiteral("<tr><th></th><th colspan=\"4\" align=\"left\"><font "
                       "size=\"+3\">%s</font></th></tr>\n<tr><th></th><th colspan=\"4\" "
                       "align=\"left\"><font size=\"+1\">%s %s - %s</font></th></tr>\n<tr></tr>\n"),
        { QStringLiteral("Seznam zakázek"), label(text, "OrderSummary.SummaryDateRangeLabel"),
          shortDate(report.from), shortDate(report.to) });
    html += formatText(QStringLiteral("<tr><th align=\"left\">%s</th><th>%s</th><th>%s</th><th>%s</"
                                      "th><th>%s</th></tr>\n"),
                       { label(text, "OrderSummary.SummaryColDate"),
                         label(text, "OrderSummary.SummaryColPhoneIMEI"),
                         label(text, "OrderSummary.SummaryColPhoneType"),
                         label(text, "OrderSummary.SummaryColFaultDescription"),
                         label(text, "OrderSummary.SummaryColRepairDescription") });
    for (const COrder &o : report.orders) {
        const QString received = o.OrderReceiptDate.isValid()
            ? QLocale().toString(o.OrderReceiptDate, QLocale::ShortFormat)
            : QString();
        html
            += formatText(QStringLiteral("<tr><td align=\"left\">%s</td><td "
                                         "align=\"left\">%s</td><td align=\"left\">%s</td><td "
                                         "align=\"left\">%s</td><td align=\"left\">%s</td></tr>\n"),
                          { received, escaped(o.OrderPhoneIMEI), escaped(o.OrderPhoneType),
                            escaped(o.OrderFaultDescription), escaped(o.OrderRepairDescription) });
    }
    return html + Tail;
}

} // namespace SummaryReports
