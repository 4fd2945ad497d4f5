#include "app/ui.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Repaxo"));
    app.setApplicationDisplayName(QStringLiteral("Repaxo"));
    return 0;
}
