#pragma once

#include "summaryreports.h"

#include <QDate>
#include <QString>

class TRpx2Data;

// Runs the summaries and the order list export for the dialog and the admin tool: reads the
// orders, has the report written and stores the file. Shows nothing and opens nothing.
class SummaryRunner
{
public:
    // texts: the language-file lookup; empty means the process-wide language file.
    explicit SummaryRunner(TRpx2Data &data, ReportTexts texts = {});

    // Each writes the whole report into fileName (missing folders created, an earlier file
    // replaced) and returns the number of orders it covers. Throws ReportFileError when the
    // file cannot be written, which leaves an earlier file as it was, and RpxError on a
    // database error or a year outside 1 to 9999.
    //
    // Takings of the days [from, to] (a "to" before "from" selects nothing); range chooses
    // the title "from - to" over the one of a single day.
    int day(const QString &fileName, const QDate &from, const QDate &to, bool range);
    // The same for the shop's own sales (repair type 5), always titled with "from".
    int shop(const QString &fileName, const QDate &from, const QDate &to);
    int month(const QString &fileName, int year, int month);
    int year(const QString &fileName, const QString &yearText);
    int engineers(const QString &fileName, const QDate &from, const QDate &to);
    // Orders of any state issued in [from, to]; of the repair type with this name, or of
    // every type when the name is empty or no type has it (*typeFound tells the latter apart).
    int orderList(const QString &fileName, const QDate &from, const QDate &to,
                  const QString &typeName, bool *typeFound = nullptr);

    // The messages the dialog shows.
    static QString noOrdersMessage();
    static QString errorTitle();

private:
    QList<COrder> handedBack(const QDate &first, const QDate &end, const QStringList &columns,
                             std::optional<int> typeId = {});

    TRpx2Data &m_data;
    ReportTexts m_texts;
};
