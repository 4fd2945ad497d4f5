#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// A statement as the program ran it: its text with '?' placeholders and the bound values.
struct TracedStatement
{
    QString sql;
    QVariantList values;
};

// The text with every '?' replaced by its value as an SQL literal, for the sqlite3 shell
// (which also compares names with its own NOCASE instead of the program's collation).
QString inlineValues(const TracedStatement &statement);

// Runs the statements in the sqlite3 shell on the file, as they are and with the shell's own
// settings, `runs` times in one shell process, and returns the median of the runs'
// times in milliseconds (each run the sum of its statements' "real" times); -1 when the
// shell cannot be started or reports an error.
double shellMedianMs(const QString &databaseFile, const QList<TracedStatement> &statements,
                     int runs);

double median(QList<double> values);
