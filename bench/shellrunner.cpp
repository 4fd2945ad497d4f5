#include "shellrunner.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

QString inlineValues(const TracedStatement &statement)
{
    // The program's collation lives on its connection only; the shell compares names
    // without letter case by its own.
    QString sql = statement.sql;
    sql.replace(QStringLiteral(" COLLATE rpx_text"), QStringLiteral(" COLLATE NOCASE"));
    QString text;
    qsizetype next = 0;
    bool quoted = false;
    for (QChar c : std::as_const(sql)) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (c != QLatin1Char('?') || quoted) {
            text += c;
            continue;
        }
        const QVariant value = statement.values.value(next++);
        if (value.isNull()) {
            text += QStringLiteral("NULL");
        } else if (value.typeId() == QMetaType::QString) {
            QString literal = value.toString();
            literal.replace(QLatin1Char('\''), QStringLiteral("''"));
            text += QLatin1Char('\'') + literal + QLatin1Char('\'');
        } else {
            text += value.toString();
        }
    }
    return text;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double shellMedianMs(const QString &databaseFile, const QList<TracedStatement> &statements,
                     int runs)
{
    if (statements.isEmpty())
        return -1;
    QString script = QStringLiteral(".timer on\n.output /dev/null\n");
    for (int run = 0; run < runs; ++run)
        for (const TracedStatement &statement : statements)
            script += inlineValues(statement) + QStringLiteral(";\n");
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), { QStringLiteral("-bail"), databaseFile });
    if (!shell.waitForStarted())
        return -1;
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    if (shell.exitCode() != 0)
        return -1;
    static const QRegularExpression timeLine(QStringLiteral("Run Time: real ([0-9.]+)"));
    QList<double> times;
    auto match = timeLine.globalMatch(QString::fromUtf8(shell.readAllStandardOutput()));
    while (match.hasNext())
        times.append(match.next().captured(1).toDouble() * 1000.0);
    if (times.size() != qsizetype(runs) * statements.size())
        return -1;
    QList<double> perRun;
    for (int run = 0; run < runs; ++run) {
        double sum = 0;
        for (qsizetype i = 0; i < statements.size(); ++i)
            sum += times[run * statements.size() + i];
        perRun.append(sum);
    }
    return median(perRun);
}
