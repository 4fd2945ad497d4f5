#include "passwordform.h"

#include "simpleresources.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TPasswordForm::TPasswordForm(QWidget *owner)
    : QDialog(owner)
    , m_description(new QLabel(this))
    , m_passwordLabel(new QLabel(this))
    , m_passwordEdit(new QLineEdit(this))
    , m_okButton(new QPushButton(this))
    , m_cancelButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("TPasswordForm"));
    setWindowTitle(QStringLiteral("Zadání hesla"));

    m_description->setObjectName(QStringLiteral("DescriptionMemo"));
    m_description->setText(QStringLiteral("Požadovaná akce je chráněná heslem.\n"
                                          "Zadejte heslo pro pokračování akce."));
    m_description->setWordWrap(true);
    m_description->setMinimumWidth(280);

    m_passwordLabel->setObjectName(QStringLiteral("PasswordLabel"));
    m_passwordLabel->setText(QStringLiteral("Heslo:"));
    m_passwordLabel->setBuddy(m_passwordEdit);
    m_passwordEdit->setObjectName(QStringLiteral("PasswordEdit"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);

    m_okButton->setObjectName(QStringLiteral("OkButton"));
    m_okButton->setText(QStringLiteral("OK"));
    m_okButton->setDefault(true);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    m_cancelButton->setText(QStringLiteral("Storno"));

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_okButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancelButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(m_passwordLabel, m_passwordEdit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_description);
    layout->addLayout(form);
    layout->addSpacing(4);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setWindowTitle(rpxText("Password.Window"));
    m_description->setText(rpxText("Password.Description"));
    m_passwordLabel->setText(rpxText("Password.Password"));
    m_okButton->setText(rpxText("Password.Ok"));
    m_cancelButton->setText(rpxText("Password.Cancel"));

    m_passwordEdit->setFocus();
}

QString TPasswordForm::password() const
{
    return m_passwordEdit->text();
}
