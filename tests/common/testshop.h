#pragma once

#include "apppaths.h"
#include "clock.h"
#include "rpx2data.h"
#include "simpleresources.h"

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

// A test shop with its data module open.
struct DataShop
{
    TestShop shop;
    TRpx2Data data { nullptr, QStringLiteral("RPX2"), nullptr };

    DataShop() { data.OpenFile(AppPaths::databaseFile()); }
};

// The first column of every row the query gives, as text.
inline QStringList column(TRpx2Data &data, const QString &sql)
{
    QSqlQuery query = data.OpenQuery(sql);
    QStringList values;
    while (query.next())
        values.append(query.value(0).toString());
    return values;
}

// Compares a text line by line with the expected one in the file at tests/<path>;
// REPAXO_UPDATE_GOLDEN=1 writes the text as the expected one instead.
inline void compareWithGoldenFile(const QString &written, const QString &path)
{
    QFile file(qEnvironmentVariable("REPAXO_SOURCE_DIR") + QStringLiteral("/tests/") + path);
    if (qEnvironmentVariableIntValue("REPAXO_UPDATE_GOLDEN")) {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(written.toUtf8());
        qWarning("updated %s", qPrintable(file.fileName()));
        return;
    }
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QCOMPARE(written.split(QLatin1Char('\n')),
             QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')));
}
