#include "reportfile.h"

#include "simpleresources.h"

#include <QDir>
#include <QFileInfo>

ReportFileError::ReportFileError(QString detail)
    : RpxError(QStringLiteral("Nezdařilo se vytvořit soubor s tiskem.\nZkontrolujte, zda se "
                              "souborem již nepracuje jiná aplikace."))
    , m_detail(std::move(detail))
{ }

ReportFile::ReportFile(const QString &fileName)
    : m_fileName(fileName.trimmed())
{ }

ReportFile::~ReportFile() = default; // an unwritten file is discarded, any earlier one stays

void ReportFile::fail(const QString &reason)
{
    m_file.reset();
    throw ReportFileError(
        QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_fileName), reason));
}

void ReportFile::open()
{
    if (m_fileName.isEmpty())
        fail(QStringLiteral("no file name"));
    const QFileInfo info(m_fileName);
    if (info.isDir())
        fail(QStringLiteral("is a folder"));
    if (!QDir().mkpath(info.absolutePath()))
        fail(QStringLiteral("the folder cannot be created"));
    m_file = std::make_unique<QSaveFile>(info.absoluteFilePath());
    if (!m_file->open(QIODevice::WriteOnly))
        fail(m_file->errorString());
}

void ReportFile::write(const QString &html)
{
    if (!m_file)
        open();
    const QByteArray bytes = encode(html);
    if (m_file->write(bytes) != bytes.size() || !m_file->commit())
        fail(m_file->errorString());
    m_file.reset();
}

QString ReportFile::path() const
{
    return QFileInfo(m_fileName).absoluteFilePath();
}

QString ReportFile::folderOf(const QString &fileName)
{
    return QDir::toNativeSeparators(QFileInfo(fileName.trimmed()).absolutePath()
                                    + QLatin1Char('/'));
}

QByteArray ReportFile::encode(const QString &html)
{
    QByteArray bytes;
    bytes.reserve(html.size());
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html.at(i);
        if (c.unicode() < 0x80) {
            bytes.append(char(c.unicode()));
            continue;
        }
        qsizetype length = 1;
        if (c.isHighSurrogate() && i + 1 < html.size() && html.at(i + 1).isLowSurrogate())
            length = 2;
        const QString character = html.mid(i, length);
        const QByteArray encoded = Cp1250::fromUnicode(character);
        if (encoded == "?")
            bytes.append("&#" + QByteArray::number(character.toUcs4().value(0)) + ';');
        else
            bytes.append(encoded);
        i += length - 1;
    }
    return bytes;
}
