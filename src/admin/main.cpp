#include "admintool.h"
#include "clock.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    Clock::pinLocalZone();
    // Printing lays out text in fonts, which needs the GUI application (without a window).
    bool printing = false;
    for (int i = 1; i < argc; ++i)
        printing = printing || std::strcmp(argv[i], "print") == 0;
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (printing)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int code = AdminTool(out, err).run(arguments);
    out.flush();
    err.flush();
    return code;
}
