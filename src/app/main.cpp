#include "app/rpx2form.h"
#include "app/ui.h"

#include "clock.h"
#include "rpxerror.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    Clock::pinLocalZone();
    QApplication app(argc, argv);
    // No display name: Qt would append it to every caption ("Chyba — Repaxo"); captions
    // are exactly the texts the program sets. Qt's own buttons and dialogs take the shop's
    // language with the language file (CSimpleResources), not the system's.
    app.setApplicationName(QStringLiteral("Repaxo"));
    app.setOrganizationName(QStringLiteral("KVL"));

    TRpx2Form window;
    bool started = false;
    // An error while the window comes alive (an unusable database, a missing language
    // file) is shown and ends the program.
    if (!runGuarded([&] { started = window.start(); }) || !started)
        return started ? 0 : 1;
    window.show();
    return app.exec();
}
