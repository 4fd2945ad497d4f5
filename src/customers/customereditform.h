#pragma once

#include "records.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The customer dialog: one customer's code, print-code flag, name, address, phone and
// e-mail for entry or correction. The caller fills it, runs it and, on OK, reads the record
// back and stores it; the dialog itself never touches the database.
class TCustomerEditForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TCustomerEditForm(QWidget *owner = nullptr);

    // Shows the customer; its id is kept and returned by customer().
    void setCustomer(const CCustomer &customer);
    // The kept id and the controls' contents exactly as typed (no trimming, no checks).
    CCustomer customer() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_customerId = 0;
    QLineEdit *m_code;
    QCheckBox *m_printCode;
    QLineEdit *m_name;
    QLineEdit *m_street;
    QLineEdit *m_city;
    QLineEdit *m_psc;
    QLineEdit *m_phone;
    QLineEdit *m_email;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
