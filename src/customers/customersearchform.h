#pragma once

#include "records.h"

class CustomerSearchModel;

#include <QDialog>
#include <QList>

#include <optional>

class QAction;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

// The customer search: finds customers by part of the name and/or phone number, picks one
// for the caller, adds or corrects customers through the customer dialog and merges
// duplicates. The list is the data module's customer search model; opening the dialog
// resets it to every customer.
class TCustomerSearchForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TCustomerSearchForm(QWidget *owner = nullptr);

    // The customer under the grid's cursor; an empty record (id 0) when the list is empty.
    CCustomer currentCustomer() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void select();
    void applyFilter();
    bool reload(const QString &name, const QString &phoneNo);
    void setupColumns();
    int currentRow() const;
    void setCurrentRow(int row);
    int rowOfCustomer(int customerId) const;
    void newCustomer();
    void editCustomer();
    void editAndStore(CCustomer record, int fallbackRow, std::optional<CCustomer> asLoaded);
    void joinSelected();
    void joinAll();
    bool confirmMerge(const QString &question, int survivorRow, const QList<int> &customerIds);
    void merge(int survivorId, const QList<int> &customerIds);

    CustomerSearchModel *m_model;
    QLineEdit *m_filterName;
    QLineEdit *m_filterPhoneNo;
    QTimer *m_timer;
    QTableView *m_grid;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    // The filter the list was last loaded with.
    QString m_nameFilter;
    QString m_phoneFilter;
};
