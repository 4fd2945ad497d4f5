#include "customereditform.h"

#include "customercode.h"
#include "simpleresources.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TCustomerEditForm::TCustomerEditForm(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("TCustomerEditForm"));
    setWindowTitle(rpxTextOr("CustomerEdit.Window", QStringLiteral("Zákazník")));

    auto lineEdit = [this](const char *name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        return edit;
    };
    m_code = lineEdit("CustomerCodeEdit");
    m_code->setReadOnly(true);
    m_printCode = new QCheckBox(
        rpxTextOr("CustomerEdit.CustomerPrintCode", QStringLiteral("Tisknout kód")), this);
    m_printCode->setObjectName(QStringLiteral("CustomerPrintCodeCheckBox"));
    m_name = lineEdit("CustomerNameEdit");
    m_street = lineEdit("CustomerStreetEdit");
    m_city = lineEdit("CustomerCityEdit");
    m_psc = lineEdit("CustomerPscEdit");
    m_phone = lineEdit("CustomerPhoneEdit");
    m_email = lineEdit("CustomerEmailEdit");

    // The code box holds eight digits; the text boxes get room for a full name or address.
    m_code->setMaximumWidth(
        m_code->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 42);

    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto addRow = [this, form](const char *key, const QString &builtIn, QWidget *field) {
        auto *label = new QLabel(rpxTextOr(key, builtIn), this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow("CustomerEdit.CustomerCode", QStringLiteral("Kód"), m_code);
    form->addRow(QString(), m_printCode);
    addRow("CustomerEdit.CustomerName", QStringLiteral("Jméno"), m_name);
    addRow("CustomerEdit.CustomerStreet", QStringLiteral("Ulice"), m_street);
    addRow("CustomerEdit.CustomerCity", QStringLiteral("Město"), m_city);
    addRow("CustomerEdit.CustomerPsc", QStringLiteral("PSČ"), m_psc);
    addRow("CustomerEdit.CustomerPhone", QStringLiteral("Telefon"), m_phone);
    addRow("CustomerEdit.CustomerEmail", QStringLiteral("E-mail"), m_email);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(rpxTextOr("CustomerEdit.Ok", QStringLiteral("Ok")),
                              QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("ButtonOk"));
    m_ok->setDefault(true);
    m_cancel = buttons->addButton(rpxTextOr("CustomerEdit.Cancel", QStringLiteral("Storno")),
                                  QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The clerk types the customer first; the code and its print flag come last.
    QWidget::setTabOrder(m_name, m_street);
    QWidget::setTabOrder(m_street, m_city);
    QWidget::setTabOrder(m_city, m_psc);
    QWidget::setTabOrder(m_psc, m_phone);
    QWidget::setTabOrder(m_phone, m_email);
    QWidget::setTabOrder(m_email, m_ok);
    QWidget::setTabOrder(m_ok, m_cancel);
    QWidget::setTabOrder(m_cancel, m_code);
    QWidget::setTabOrder(m_code, m_printCode);
    m_name->setFocus();

    m_code->installEventFilter(this);
}

void TCustomerEditForm::setCustomer(const CCustomer &customer)
{
    m_customerId = customer.CustomerID;
    m_code->setText(customer.CustomerCode);
    m_printCode->setChecked(customer.CustomerShowCode);
    m_name->setText(customer.CustomerName);
    m_street->setText(customer.CustomerStreet);
    m_city->setText(customer.CustomerCity);
    m_psc->setText(customer.CustomerPSC);
    m_phone->setText(customer.CustomerPhoneNo);
    m_email->setText(customer.CustomerEMail);
}

CCustomer TCustomerEditForm::customer() const
{
    CCustomer c;
    c.CustomerID = m_customerId;
    c.CustomerShowCode = m_printCode->isChecked();
    c.CustomerCode = m_code->text();
    c.CustomerName = m_name->text();
    c.CustomerStreet = m_street->text();
    c.CustomerCity = m_city->text();
    c.CustomerPSC = m_psc->text();
    c.CustomerPhoneNo = m_phone->text();
    c.CustomerEMail = m_email->text();
    return c;
}

bool TCustomerEditForm::eventFilter(QObject *watched, QEvent *event)
{
    // A double click on the read-only code box draws a new code; it reaches the database
    // only when the caller stores the dialog's result.
    if (watched == m_code && event->type() == QEvent::MouseButtonDblClick) {
        m_code->setText(CustomerCode::draw());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
