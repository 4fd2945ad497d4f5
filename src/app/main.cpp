#include "app/rpx2form.h"
#include "app/ui.h"

#include "rpxerror.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Repaxo"));
    app.setApplicationDisplayName(QStringLiteral("Repaxo"));
    app.setOrganizationName(QStringLiteral("KVL"));

    // Qt's own dialogs (file chooser, print preview) in the user's language when available.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    TRpx2Form window;
    bool started = false;
    // An error while the window comes alive (an unusable database, a missing language
    // file) is shown and ends the program.
    if (!runGuarded([&] { started = window.start(); }) || !started)
        return started ? 0 : 1;
    window.show();
    return app.exec();
}
