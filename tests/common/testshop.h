#pragma once

#include "apppaths.h"
#include "clock.h"
#include "rpx2data.h"
#include "simpleresources.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// A shop on a fresh temporary folder: the folder stands in for the program's own folder
// (database, language files, operations log, photos), user settings are redirected to the
// test location, and the Czech texts are loaded.
struct TestShop
{
    QTemporaryDir dir;

    TestShop()
    {
        // Per-user settings go to this shop's own folder, so tests running side by side
        // never see each other's values (nor the user's).
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
        QSettings(QStringLiteral("KVL"), QStringLiteral("RPX2")).clear();
        AppPaths::setProgramDir(dir.path());
        TRpx2Data::CreateDatabase(AppPaths::databaseFile());
        const QString langDir = qEnvironmentVariable("REPAXO_SOURCE_DIR") + QStringLiteral("/lang");
        for (const QString &name : QDir(langDir).entryList({QStringLiteral("Rpx_*.txt")}))
            QFile::copy(langDir + QLatin1Char('/') + name, dir.filePath(name));
        if (QFile::exists(AppPaths::languageFile(QStringLiteral("cs"))))
            CSimpleResources::instance().load(AppPaths::languageFile(QStringLiteral("cs")));
    }
    ~TestShop()
    {
        Clock::setFixed({});
        AppPaths::setProgramDir({});
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};
