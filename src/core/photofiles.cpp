#include "photofiles.h"

#include "apppaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

bool PhotoFiles::isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')
            || c.unicode() < 32)
            return false;
    }
    return true;
}

QString PhotoFiles::usablePhoto(const QString &name)
{
    if (!isPlainFileName(name))
        return {};
    const QString folder = QFileInfo(AppPaths::photoDir()).canonicalFilePath();
    const QFileInfo file(AppPaths::photoDir() + QLatin1Char('/') + name);
    if (folder.isEmpty() || !file.isFile()
        || QFileInfo(file.canonicalFilePath()).absolutePath() != folder)
        return {};
    // By what the file holds, not by its name: a program renamed to .jpg is no photo.
    QImageReader reader(file.filePath());
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return {};
    return file.filePath();
}
