#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_programDir;
}

QString AppPaths::programDir()
{
    if (!g_programDir.isEmpty())
        return g_programDir;
    return QCoreApplication::applicationDirPath();
}

void AppPaths::setProgramDir(const QString &dir)
{
    g_programDir = dir.isEmpty() ? QString() : QDir::cleanPath(dir);
}

QString AppPaths::databaseFile()
{
    return programDir() + QLatin1Char('/') + QLatin1String(DatabaseFileName);
}

QString AppPaths::operationsLog()
{
    return programDir() + QLatin1String("/rpx-operations.csv");
}

QString AppPaths::photoDir()
{
    return programDir() + QLatin1String("/foto");
}

QString AppPaths::languageFile(const QString &code)
{
    return programDir() + QLatin1String("/Rpx_") + code + QLatin1String(".txt");
}
