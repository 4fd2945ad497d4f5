#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

class TRpx2Data;

// The shop owner's command-line tool: `[--db PATH] COMMAND ARGS`. Results go to `out`,
// messages, problems and progress to `err`.
class AdminTool
{
public:
    enum ExitCode { Success = 0, Failure = 1, WrongUsage = 2 };

    AdminTool(QTextStream &out, QTextStream &err);

    // Runs the command line (without the program's name) and returns the exit code.
    int run(const QStringList &arguments);

    static QString usage();

private:
    int dispatch(QStringList arguments);
    int initDb(const QStringList &args);
    int config(QStringList args);
    int checkTexts(const QStringList &args);
    int info(const QStringList &args);
    int report(const QString &command, const QStringList &args);
    int demoData(QStringList args);

    QString databasePath() const;
    // The data module; with `open` on the database file (which must exist).
    std::unique_ptr<TRpx2Data> dataModule(bool open);

    QTextStream &m_out;
    QTextStream &m_err;
    QString m_dbPath; // from --db; empty: the database beside the program
};
