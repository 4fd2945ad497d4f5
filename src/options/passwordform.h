#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the shop's password before a protected action. Only collects the text; the
// caller compares it (see PasswordCheck).
class TPasswordForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TPasswordForm(QWidget *owner = nullptr);

    QString password() const;

private:
    QLabel *m_description;
    QLabel *m_passwordLabel;
    QLineEdit *m_passwordEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
