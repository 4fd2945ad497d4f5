#include "ui.h"

#include "rpxerror.h"
#include "simpleresources.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
Ui *g_ui = nullptr;

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    case Prompts::Icon::Error: return QMessageBox::Critical;
    case Prompts::Icon::Question: return QMessageBox::Question;
    case Prompts::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Ui &Ui::instance()
{
    static WidgetUi widgetUi;
    return g_ui ? *g_ui : widgetUi;
}

void Ui::setInstance(Ui *ui)
{
    g_ui = ui;
}

void WidgetUi::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? QApplication::applicationDisplayName() : title,
                    text, QMessageBox::Ok, parentWindow());
    box.exec();
}

Prompts::Answer WidgetUi::ask(const QString &text, const QString &title, Buttons buttons, Icon icon,
                              Answer defaultButton)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? QApplication::applicationDisplayName() : title,
                    text, QMessageBox::NoButton, parentWindow());
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    if (buttons == Buttons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(defaultButton == Answer::Cancel ? QMessageBox::Cancel
                                                             : QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

Prompts::MissingDatabase WidgetUi::missingDatabase(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Repaxo"), text, QMessageBox::NoButton,
                    parentWindow());
    QPushButton *choose = box.addButton(QStringLiteral("Vybrat soubor..."), QMessageBox::AcceptRole);
    QPushButton *create = box.addButton(QStringLiteral("Založit novou databázi"), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("Ukončit"), QMessageBox::RejectRole);
    box.setDefaultButton(choose);
    box.exec();
    if (box.clickedButton() == choose)
        return MissingDatabase::ChooseFile;
    if (box.clickedButton() == create)
        return MissingDatabase::CreateNew;
    return MissingDatabase::Quit;
}

QString WidgetUi::openFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), caption, dir, filter);
}

QString WidgetUi::saveFileName(const QString &caption, const QString &path, const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWindow(), caption, path, filter);
}

int WidgetUi::exec(QDialog &dialog)
{
    return dialog.exec();
}

bool WidgetUi::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

bool WidgetUi::inputText(const QString &title, const QString &label, QString &text)
{
    bool ok = false;
    const QString value = QInputDialog::getText(parentWindow(), title, label, QLineEdit::Normal, text, &ok);
    if (ok)
        text = value;
    return ok;
}

QString appErrorTitle()
{
    try {
        return rpxText("Global.AppError");
    } catch (...) {
        return QStringLiteral("Chyba");
    }
}

bool runGuarded(const std::function<void()> &action)
{
    QString error;
    try {
        action();
        return true;
    } catch (const RpxError &e) {
        error = e.message();
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error = rpxTextOr("Global.UnknownError", QStringLiteral("Neznámá chyba."));
    }
    Ui::instance().message(error, appErrorTitle(), Prompts::Icon::Error);
    return false;
}
