#include "changepasswordform.h"

#include "simpleresources.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *passwordEdit(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMinimumWidth(160);
    return edit;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setBuddy(buddy);
    return l;
}
} // namespace

TChangePasswordForm::TChangePasswordForm(QWidget *owner)
    : QDialog(owner)
    , m_oldEdit(passwordEdit(this, QStringLiteral("OldPasswordEdit")))
    , m_new1Edit(passwordEdit(this, QStringLiteral("NewPasswordEdit1")))
    , m_new2Edit(passwordEdit(this, QStringLiteral("NewPasswordEdit2")))
    , m_okButton(new QPushButton(QStringLiteral("OK"), this))
    , m_cancelButton(new QPushButton(QStringLiteral("Storno"), this))
{
    setObjectName(QStringLiteral("TChangePasswordForm"));
    setWindowTitle(QStringLiteral("Změna hesla"));

    m_oldLabel = label(
        this, QStringLiteral("OldPasswordLabel"), QStringLiteral("Staré heslo:"), m_oldEdit);
    m_new1Label = label(
        this, QStringLiteral("NewPassword1Label"), QStringLiteral("Nové heslo:"), m_new1Edit);
    m_new2Label = label(this, QStringLiteral("NewPassword2Label"),
        QStringLiteral("Nové heslo (potvrzení):"), m_new2Edit);

    m_okButton->setObjectName(QStringLiteral("OkButton"));
    m_okButton->setDefault(true);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_okButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancelButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(m_oldLabel, m_oldEdit);
    form->addRow(m_new1Label, m_new1Edit);
    form->addRow(m_new2Label, m_new2Edit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(4);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_oldEdit, m_new1Edit);
    setTabOrder(m_new1Edit, m_new2Edit);
    setTabOrder(m_new2Edit, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);

    setWindowTitle(rpxText("ChangePassword.Window"));
    m_oldLabel->setText(rpxText("ChangePassword.OldPassword"));
    m_new1Label->setText(rpxText("ChangePassword.NewPassword1"));
    m_new2Label->setText(rpxText("ChangePassword.NewPassword2"));
    m_okButton->setText(rpxText("ChangePassword.Ok"));
    m_cancelButton->setText(rpxText("ChangePassword.Cancel"));

    m_oldEdit->setFocus();
}

void TChangePasswordForm::setOldPasswordEnabled(bool enabled)
{
    m_oldLabel->setEnabled(enabled);
    m_oldEdit->setEnabled(enabled);
    if (!enabled)
        m_oldEdit->clear();
    (enabled ? m_oldEdit : m_new1Edit)->setFocus();
}

QString TChangePasswordForm::oldPassword() const
{
    return m_oldEdit->text();
}

QString TChangePasswordForm::newPassword1() const
{
    return m_new1Edit->text();
}

QString TChangePasswordForm::newPassword2() const
{
    return m_new2Edit->text();
}
