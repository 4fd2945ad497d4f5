#pragma once

#include "orderlistlistener.h"
#include "records.h"
#include "rpx2data.h"

#include <QMainWindow>
#include <QSet>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

class OrderList;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTimeEdit;
class QTimer;
class QToolButton;
class SuggestComboBox;
class OrderListDelegate;

// The main window: the order list on the left, the shown order with its customer, repair
// and accessories on the right, the buttons and totals beside them.
class TRpx2Form final : public QMainWindow, public OrderListListener
{
    Q_OBJECT
public:
    enum class OrderFormState { Browse = 0, Insert = 1, Edit = 2, Loading = 3 };

    explicit TRpx2Form(QWidget *parent = nullptr);
    ~TRpx2Form() override;

    // Finds and opens the database and shows the first order. Returns false when the user
    // chose to quit; throws RpxError when the database cannot be used.
    bool start();

    static TRpx2Form *instance();

    OrderFormState orderFormState() const { return m_state; }
    const QStringList &heldOrders() const { return m_held; }
    TRpx2Data &data() { return *m_data; }

    // Runs after every successful store with the stored number and its state id; the
    // printing offers hook in here.
    void addStoreCompletion(std::function<void(const QString &orderId, int stateId)> hook);

    // OrderListListener
    bool CanLeaveOrder() override;
    void OrderEntered(const OrderList &list) override;
    void ShowStateCounts(const QString &counts) override;

    // Operations used by the order actions.
    void SetOrderFormState(OrderFormState state);
    // Shows the list's current row; false (nothing changed) when another program has
    // deleted it meanwhile.
    bool ShowCurrentOrder();
    COrder ReadOrderControls() const;
    CCustomer &GetOrderCustomer();
    void LockIssuedOrder(bool locked);
    void UpdateAccessoryControls();
    void ShowOrderTotals();
    void ShowFilters(bool visible);
    void ShowOrderList(bool visible);
    void ApplyWindowTitle();
    void ReloadOrderList();

    // Printing (src/print): the receipt or the issue document of the order, or of every
    // held order, in the modal print preview.
    void PrintOrderReceipt(const QString &orderId);
    void PrintOrderIssue(const QString &orderId);

    // True while an order is taken in or changed and the controls differ from what was
    // shown (or from a new order's defaults).
    bool hasUnsavedChanges() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // construction
    void createActions();
    void createMenus();
    QWidget *createOrderBox();
    QWidget *createCustomerBox();
    QWidget *createRepairBox();
    QWidget *createAccessoriesBox();
    QWidget *createButtonColumn();
    QWidget *createListPanel();
    void connectChangeHandlers();
    void setTabOrders();
    void applyTexts();
    void restoreSettings();
    void applyComboStyles();
    void setupListColumns();
    void updateActions();
    void connectPrinting();

    // showing and building orders
    // Everything a shown order needs from the database, read before any control changes,
    // so that a busy database leaves the shown order whole.
    struct OrderView
    {
        COrder order;
        std::optional<CCustomer> customer;
        QList<IdName> types, states;
        QString mainCurrency, secondaryCurrency, wwwUrl;
    };
    OrderView readOrderView(const COrder &order);
    void fillOrderControls(const OrderView &view);
    void clearOrderControls();
    void showNoOrder();
    void fillTypeCombo(int typeId, const QList<IdName> &types);
    void fillStateLists(int stateId, const QString &filterFirstEntry, const QList<IdName> &states);

    // The controls the clerk edits, read and written as values: what was shown is kept
    // and compared to find the clerk's changes.
    struct FormField
    {
        std::function<QVariant()> get;
        std::function<void(const QVariant &)> set;
    };
    void defineFormFields();
    QVariantList formValues() const;
    void takeFormSnapshot();
    bool confirmDiscard();
    void discardEdits();
    void reapplyChangesToStoredOrder();
    void customerChangedMeanwhile(bool deleted);
    void setLinkLook(QLabel *label, bool link);
    void setPhotoFile(const QString &fileName);
    QString shownPhotoPath() const; // empty, after a message, when it must not be opened
    void setImeiBackground();

    // change tracking
    void OrderChange();
    void CustomerChange();
    void PriceChange(QLineEdit *edit);
    void PriceEditExit(QLineEdit *primary, QLineEdit *secondary);
    void FilterChange();
    void TimerTimer();
    void OrderStateChanged();

    // actions
    void ActionOrderNewExecute();
    void ActionOrderStoreExecute();
    bool storeOrder();
    void ActionOrderCancelExecute();
    void ActionCustomerSelectExecute();
    void ActionOrderDeleteExecute();
    void ActionOrderChangeExecute();
    void ActionOrderHoldExecute();
    void ActionOrderClearExecute();
    void ActionOrderUpdateExecute(bool engineer);
    void ActionOptionsExecute();
    void ActionFiltersExecute();
    void ActionAboutExecute();
    void ActionOrderSumaryExecute();
    void ActionOrderImageLoadExecute();
    void ActionOrderImageShowExecute();
    void ActionOrderImagePrintExecute();
    void ActionOrderImageClearExecute();
    void OrderPhoneCheckBoxClick();
    void OrderBatteryCheckBoxClick();
    bool OrderPhoneTypeComboBoxExit();
    void showCustomerStart();
    void linkLabelClicked(QLabel *label);
    void refreshHoldLabel();
    void syncListSelection();
    void showListPosition();
    CCustomer customerFromBoxes(CCustomer base) const;
    void showListCursorOrder();
    void listRowActivated(int row);
    void runPendingReload();

    // IMEI checks, customer e-mail and multi-device intake (orders/rpx2form_imei.cpp,
    // notify/rpx2form_notify.cpp, intake/rpx2form_multi.cpp)
    void connectImeiAndNotify();
    void OrderPhoneIMEIEditExit();
    void ActionNotifyExecute();
    void ActionNotifyEmailExecute();
    void ActionOrderNewMultiExecute();

    TRpx2Data *m_data = nullptr;
    OrderFormState m_state = OrderFormState::Browse;
    std::optional<CCustomer> m_customer; // the current customer record
    std::optional<COrder> m_loadedOrder; // the shown order's row as it was read
    std::vector<FormField> m_formFields;
    QVariantList m_formSnapshot; // the form's values when the order was shown or begun
    QString m_acceptedPhoneType; // a device type not in the list that the clerk confirmed
    bool m_emailSent = false;
    QString m_photoFile;
    QString m_pendingPhotoSource; // a photo chosen for a new order, copied once it has a number
    bool m_easyCustomer = false;
    bool m_filtersVisible = true;
    bool m_locked = false;
    bool m_reloadPending = false;
    bool m_syncingSelection = false;
    QStringList m_held;
    QString m_columnTitles[2] = {QStringLiteral("Zakázka"), QStringLiteral("IMEI")};
    int m_columnWidths[2] = {75, 110};
    QSet<QLineEdit *> m_invalidPrices;
    QString m_savedPhoneType, m_savedImei, m_savedBatteryType, m_savedBatterySN;
    std::vector<std::function<void(const QString &, int)>> m_storeCompletions;

public:
    // Controls, named as the tests find them (objectName equals the member name).
    QAction *ActionAbout, *ActionClose, *ActionCustomerSelect, *ActionFilters, *ActionNotify,
        *ActionOptions, *ActionOrderChange, *ActionOrderNext, *ActionOrderPrevious, *ActionOrderFirst,
        *ActionOrderLast, *ActionOrderNew, *ActionOrderNewMulti, *ActionOrderStore, *ActionOrderSumary,
        *ActionOrderCancel, *ActionOrderDelete, *ActionOrderEngineerUpdate, *ActionOrderPhoneUpdate,
        *ActionPrintIssue, *ActionPrintReceipt, *ActionOrderImageShow, *ActionOrderImageLoad,
        *ActionOrderImageClear, *ActionOrderImagePrint, *ActionNotifyEmail, *ActionOrderHold,
        *ActionOrderClear;
    QMenu *MenuOrder, *MenuTools, *MenuHelp;

    QWidget *Panel1, *OrdersPanel, *PanelOrderStore;
    QGroupBox *OrderBox, *CustomerBox, *RepairBox, *AccessoriesBox;

    QLabel *OrderIDLabel, *OrderTypeIDLabel, *OrderReceiptDateLabel, *OrderDeadlineDateLabel,
        *OrderFaultDescriptionLabel, *OrderPriceLabel, *OrderCurrencyLabel, *OrderCurrencySecondaryLabel;
    QLineEdit *OrderIDEdit, *OrderPriceEdit, *OrderPriceSecondaryEdit;
    QComboBox *OrderTypeIDComboBox;
    QDateEdit *OrderReceiptDateDateTimePicker, *OrderDeadlineDateDateTimePicker;
    QTimeEdit *OrderReceiptTimeDateTimePicker;
    QPlainTextEdit *OrderFaultDescriptionMemo;

    QLabel *CustomerCodeLabel, *CustomerNameLabel, *CustomerPhoneLabel, *CustomerEMailLabel,
        *CustomerStreetLabel, *CustomerCityLabel, *CustomerPSCLabel;
    QLineEdit *OrderCustomerCodeEdit, *OrderCustomerNameEdit, *OrderCustomerStreetEdit,
        *OrderCustomerCityEdit, *OrderCustomerPSCEdit, *OrderCustomerPhoneNoEdit, *OrderCustomerEMailEdit;
    QToolButton *NotifyEmailButton;
    QPushButton *CustomerSelectButton;

    QLabel *OrderStateLabel, *OrderEngineerLabel, *OrderRepairDescriptionLabel, *OrderIssueDateLabel,
        *OrderIssuePriceLabel, *OrderIssueComponentPriceLabel, *OrderRepairNoteLabel,
        *OrderIssueCurrencyLabel, *OrderIssueCurrencySecondaryLabel, *OrderIssueComponentCurrencyLabel,
        *OrderIssueComponentCurrencySecondaryLabel;
    QComboBox *OrderStateComboBox;
    SuggestComboBox *OrderEngineerComboBox;
    QPlainTextEdit *OrderRepairDescriptionMemo, *OrderRepairNoteMemo;
    QToolButton *OrderRepairImage;
    QDateEdit *OrderIssueDateDateTimePicker;
    QTimeEdit *OrderIssueTimeDateTimePicker;
    QCheckBox *OrderSoftwareCheckBox;
    QLineEdit *OrderIssuePriceEdit, *OrderIssuePriceSecondaryEdit, *OrderIssueComponentPriceEdit,
        *OrderIssueComponentPriceSecondaryEdit;

    QCheckBox *OrderPhoneCheckBox, *OrderBatteryCheckBox, *OrderSimCheckBox, *OrderChargerCheckBox,
        *OrderWarrantyCertCheckBox, *OrderCoverCheckBox;
    QLabel *OrderPhoneTypeLabel, *OrderPhoneIMEILabel, *OrderBatteryTypeLabel, *OrderBatterySNLabel,
        *OrderNoteLabel;
    SuggestComboBox *OrderPhoneTypeComboBox, *OrderBatteryTypeComboBox;
    QLineEdit *OrderPhoneIMEIEdit, *OrderBatterySNEdit;
    QPlainTextEdit *OrderNoteMemo;

    // filters
    QLineEdit *OrderIDEditFilter, *CustomerNameEditFilter, *CustomerCityEditFilter,
        *CustomerPhoneNoEditFilter, *CustomerEMailEditFilter, *OrderPhoneIMEIEditFilter;
    QComboBox *OrderStateComboBoxFilter;
    SuggestComboBox *OrderEngineerComboBoxFilter, *OrderPhoneTypeComboBoxFilter;
    QComboBox *OrderAgeComboBox;
    QTimer *Timer;

    // list panel and totals
    QTableView *OrderListDBGrid;
    QLabel *OrderHoldCountLabel;
    QCheckBox *NoFilterCheckBox;
    QLabel *OrderSumLabel, *OrderSumValueLabel, *OrderSumTodayLabel, *OrderSumTodayValueLabel;
    QLabel *StatusPanel0, *StatusPanel1;

private:
    OrderListDelegate *m_listDelegate = nullptr;
};
