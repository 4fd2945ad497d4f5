#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>

class TRpx2Data;

// `summary day|shop|month|year|engineer` and `export`: the reports of the summaries dialog
// written from the command line, with the same writers and the texts of the configured
// language, so that a shop can schedule its nightly takings. The file is not opened.
class ReportCommand
{
public:
    enum class Kind { Day, Shop, Month, Year, Engineer, Export };

    // Reads the command's options; a wrong command line throws UsageError, before any file
    // is touched. command is "summary" or "export"; for summary the first argument names
    // the report.
    ReportCommand(const QString &command, QStringList args);

    // Writes the report. Returns the exit code: 1 with the message when the file cannot be
    // written; 0 otherwise, also when a daily or shop report found no order (the message then
    // goes to err).
    int run(TRpx2Data &data, QTextStream &out, QTextStream &err) const;

private:
    Kind m_kind = Kind::Day;
    QDate m_from;
    QDate m_to;
    bool m_range = false;
    QString m_year;
    int m_month = 0;
    QString m_type;
    QString m_out;
};
