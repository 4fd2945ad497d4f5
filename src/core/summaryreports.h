#pragma once

#include "records.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The text of a language-file key ("OrderSummary.SummaryDay") as a report shows it.
using ReportTexts = std::function<QString(const char *key)>;

// The report writers of the summaries dialog: each turns its orders into the HTML table that
// the shop's spreadsheet program opens from an ".xls" file. Amounts are written "1234.50 Kč"
// with a point whatever the locale, dates in the locale's short format (QLocale(), which is
// the system's unless a test sets another), and every text from the database HTML-escaped.
// The writers only format: they read nothing and write no file.
namespace SummaryReports {

// Takings of one day or a range of days, order by order (handed-back orders by issue date).
struct DayReport
{
    // Day: "from" and the daily caption; Range: "from - to" and "Uzávěrka dnů"; Shop: "from"
    // and the shop caption, also for a range.
    enum class Title { Day, Range, Shop };
    Title title = Title::Day;
    QDate from;
    QDate to;
    QList<COrder> orders;
};
QString writeDay(const DayReport &report, const ReportTexts &text);

// Takings of one month, one row for each day 1 to 31 whatever the month's length.
struct MonthReport
{
    int month = 1; // 1 to 12
    QList<COrder> orders;
};
QString writeMonth(const MonthReport &report, const ReportTexts &text);

// Takings of one year, one row for each month.
struct YearReport
{
    QString yearText; // the year as typed, shown in the title
    QList<COrder> orders;
};
QString writeYear(const YearReport &report, const ReportTexts &text);

// Work of each engineer: counts and sums of repairs, software jobs and parts.
struct EngineerReport
{
    QDate from;
    QDate to;
    QStringList engineers; // the rows, in this order; an order counts for the first equal name
    QList<COrder> orders;
};
QString writeEngineers(const EngineerReport &report, const ReportTexts &text);

// The orders issued in a range, one row each: intake date, IMEI, model, fault, repair.
struct OrderListReport
{
    QDate from;
    QDate to;
    QList<COrder> orders;
};
QString writeOrderList(const OrderListReport &report, const ReportTexts &text);

// The order columns that each writer prints or counts; the runner reads only these.
QStringList dayColumns(); // writeDay
QStringList periodColumns(); // writeMonth, writeYear
QStringList engineerColumns(); // writeEngineers
QStringList orderListColumns(); // writeOrderList

// Text safe inside an HTML element: & < > " become entities.
QString escaped(const QString &text);

} // namespace SummaryReports
