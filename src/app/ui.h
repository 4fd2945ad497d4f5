#pragma once

#include "prompts.h"

#include <QString>
#include <QUrl>

#include <functional>

class QDialog;
class QWidget;

// The widgets' seam to everything modal or external: message boxes, questions, file
// choosers, running a dialog modally, and opening files or addresses with the desktop's
// programs. The program uses WidgetUi; tests install a scripted implementation.
class Ui : public Prompts
{
public:
    static Ui &instance();
    // Installs the implementation (not owned); nullptr restores the widget one.
    static void setInstance(Ui *ui);

    // Runs the dialog modally and returns its result (QDialog::Accepted / Rejected).
    virtual int exec(QDialog &dialog) = 0;
    // Opens a file or an address with the desktop's program; false when that failed.
    virtual bool openUrl(const QUrl &url) = 0;
    virtual QString saveFileName(const QString &caption, const QString &path, const QString &filter) = 0;
    // A one-line text input; returns false when cancelled.
    virtual bool inputText(const QString &title, const QString &label, QString &text) = 0;
    // The parent window for message boxes and file dialogs.
    void setParentWindow(QWidget *window) { m_parent = window; }
    QWidget *parentWindow() const { return m_parent; }

private:
    QWidget *m_parent = nullptr;
};

class WidgetUi final : public Ui
{
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    Answer ask(const QString &text, const QString &title, Buttons buttons, Icon icon,
               Answer defaultButton) override;
    MissingDatabase missingDatabase(const QString &text) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    int exec(QDialog &dialog) override;
    bool openUrl(const QUrl &url) override;
    QString saveFileName(const QString &caption, const QString &path, const QString &filter) override;
    bool inputText(const QString &title, const QString &label, QString &text) override;
};

// Runs one user action. A failure (RpxError or any other exception) is shown in an error
// box titled with the "Global.AppError" text and the program goes on; returns whether the
// action finished without an error.
bool runGuarded(const std::function<void()> &action);
// The title of error boxes.
QString appErrorTitle();
