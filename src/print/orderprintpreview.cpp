#include "orderprintpreview.h"

#include "app/ui.h"

#include "printlayout.h"
#include "simpleresources.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

namespace {

void savePdf(const PrintDocument &document)
{
    QString name = document.title;
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        name.replace(c, QLatin1Char('-'));
    const QString suggested
        = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
              .filePath(name + QStringLiteral(".pdf"));
    QString fileName = Ui::instance().saveFileName(rpxText("Global.SavePdf"), suggested,
                                                   QStringLiteral("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    runGuarded([&] { document.writePdf(fileName); });
}

} // namespace

void showOrderPrintPreview(const PrintDocument &document, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    PrintDocument::preparePage(printer);
    printer.setDocName(document.title);
    printer.setCreator(QStringLiteral("Repaxo"));

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("OrderPrintPreview"));
    dialog.setProperty("documentName", document.name);
    dialog.setWindowTitle(document.title);
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&document](QPrinter *target) { runGuarded([&] { document.print(*target); }); });

    auto *save = new QAction(rpxText("Global.SavePdf"), &dialog);
    save->setObjectName(QStringLiteral("SavePdfAction"));
    QObject::connect(save, &QAction::triggered, &dialog, [&document] { savePdf(document); });
    auto *toolBar = dialog.findChild<QToolBar *>();
    if (toolBar) {
        toolBar->addSeparator();
        toolBar->addAction(save);
    } else {
        dialog.addAction(save);
    }

    // A whole page in view on most of the screen's height, and the whole tool bar.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int height = area.height() * 9 / 10;
        const int width
            = qMax(height * 210 / 297 + 120, toolBar ? toolBar->sizeHint().width() + 24 : 0);
        dialog.resize(qMin(area.width(), width), height);
    }
    Ui::instance().exec(dialog);
}
