#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Collects the old password and the new one twice; PasswordCheck::changePassword checks
// and stores them.
class TChangePasswordForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TChangePasswordForm(QWidget *owner = nullptr);

    // With no password set there is nothing to confirm: the old-password box is disabled.
    void setOldPasswordEnabled(bool enabled);

    QString oldPassword() const;
    QString newPassword1() const;
    QString newPassword2() const;

private:
    QLabel *m_oldLabel;
    QLineEdit *m_oldEdit;
    QLabel *m_new1Label;
    QLineEdit *m_new1Edit;
    QLabel *m_new2Label;
    QLineEdit *m_new2Edit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
