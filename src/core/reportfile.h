#pragma once

#include "rpxerror.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <memory>

// A report file could not be written. message() is the text the clerk sees; detail() names
// the file and the system's reason, for the admin tool's output.
class ReportFileError : public RpxError
{
public:
    explicit ReportFileError(QString detail);
    const QString &detail() const { return m_detail; }

private:
    QString m_detail;
};

// One report file: begun with open(), which creates the missing folders, and written whole by
// write(), which replaces any earlier file only when every byte has been written. The text is
// stored in Windows-1250 without a byte-order mark; a character the code page lacks becomes an
// HTML character reference, so that the spreadsheet still shows it.
class ReportFile
{
public:
    explicit ReportFile(const QString &fileName);
    ~ReportFile();

    void open(); // throws ReportFileError
    void write(const QString &html); // throws ReportFileError; opens first when needed
    // The absolute path the file is written to.
    QString path() const;
    // The folder of a file name with a trailing separator, as the dialog proposes it next time.
    static QString folderOf(const QString &fileName);

    static QByteArray encode(const QString &html);

private:
    [[noreturn]] void fail(const QString &reason);

    QString m_fileName;
    std::unique_ptr<QSaveFile> m_file;
};
