#pragma once

#include "records.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTimeEdit;
class QToolButton;
class QVBoxLayout;
class SuggestComboBox;

// The multi-device intake: one customer and up to 15 devices, one order each. Every row is
// a copy of the hidden template row `MultiPanelRecord`; a row whose phone box is ticked
// becomes an order. The dialog checks the entries and builds the records; storing them is
// the caller's (setStore), and the dialog closes only once that has succeeded, so that a
// failed store leaves every entry on the screen for a second OK.
class TOrderMultiForm final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MaxRows = 15;

    explicit TOrderMultiForm(QWidget *owner = nullptr);
    ~TOrderMultiForm() override;

    // Stores the customer and the orders that OK built; asLoaded holds the earlier orders
    // bound to rows as they were read. Throws RpxError on failure.
    using Store = std::function<void(CCustomer &customer, QList<COrder> &orders,
                                     const QList<COrder> &asLoaded)>;
    void setStore(Store store) { m_store = std::move(store); }

    // The record of row n (1 to 15): none outside that range, for a free slot or for a row
    // without a record.
    std::optional<COrder> record(int n) const;
    // The customer chosen in the search; after OK without one, the new customer built from
    // the boxes.
    std::optional<CCustomer> customer() const;

    // Adds a row in the lowest free slot (the button "Další"); false, after telling the
    // clerk, when all 15 are taken.
    bool addRow();

    // Cancel, Escape and closing the window ask before the entries are dropped.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Row;
    std::unique_ptr<Row> createRow(QWidget *parent, int slot);
    void renumber();
    void selectCustomer();
    void customerEdited();
    void rowPhoneClicked(Row &row);
    void rowBatteryClicked(Row &row);
    void rowPhoneTypeLeft(Row &row);
    void rowImeiLeft(Row &row);
    void rowPriceChanged(Row &row);
    void rowEmail(Row &row);
    void newPhone();
    void ok();
    void rereadEarlierOrders();

    std::array<std::unique_ptr<Row>, MaxRows + 1> m_rows; // slot 0: the template
    std::optional<CCustomer> m_customer; // chosen in the search
    std::optional<CCustomer> m_builtCustomer; // made by OK when none was chosen
    Store m_store;
    bool m_rowsAdded = false;

    QLineEdit *m_name, *m_street, *m_city, *m_psc, *m_phone, *m_email;
    QPushButton *m_customerSelect;
    QDateEdit *m_receiptDate;
    QTimeEdit *m_receiptTime;
    QDateEdit *m_deadline;
    QScrollArea *m_scroll;
    QVBoxLayout *m_rowLayout;
    QPushButton *m_newOrder, *m_newPhone, *m_ok, *m_cancel;
};
