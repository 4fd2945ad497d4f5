#include "rpx2form.h"

#include "app/aboutform.h"
#include "app/orderlistdelegate.h"
#include "app/ui.h"
#include "orders/suggestcombobox.h"

#include "clock.h"
#include "config.h"
#include "orderlist.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QStatusBar>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TRpx2Form *g_mainWindow = nullptr;

const int AgeDays[] = {7, 14, 31, 92, 365, 99999};
const char *const AgeTexts[] = {"Posledních 7 dnů", "Posledních 14 dnů", "Poslední měsíc",
                                "Poslední tři měsíce", "Poslední rok", "Vše"};

template <typename T>
T *named(T *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

QLabel *label(const char *name, const char *text, QWidget *buddy = nullptr)
{
    auto *l = named(new QLabel(QString::fromUtf8(text)), name);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

// A push button that mirrors an action: its text, enabled state and visibility.
QPushButton *actionButton(QAction *action, const char *name)
{
    auto *button = named(new QPushButton(action->text()), name);
    button->setEnabled(action->isEnabled());
    button->setVisible(action->isVisible());
    button->setFocusPolicy(Qt::TabFocus);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] {
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
        button->setToolTip(action->toolTip());
    });
    return button;
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color.isValid() ? color : QApplication::palette().color(QPalette::Base));
    widget->setPalette(palette);
}

} // namespace

TRpx2Form *TRpx2Form::instance()
{
    return g_mainWindow;
}

TRpx2Form::TRpx2Form(QWidget *parent) : QMainWindow(parent)
{
    g_mainWindow = this;
    setObjectName(QStringLiteral("TRpx2Form"));
    setWindowTitle(QStringLiteral("Repaxo"));
    Ui::instance().setParentWindow(this);

    createActions();
    connectPrinting();
    createMenus();

    auto *central = new QWidget(this);
    auto *mainLayout = new QHBoxLayout(central);
    mainLayout->setContentsMargins(6, 6, 6, 6);
    mainLayout->setSpacing(8);
    mainLayout->addWidget(createListPanel());

    Panel1 = named(new QWidget, "Panel1");
    auto *panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    auto *boxes = new QGridLayout;
    boxes->setSpacing(8);
    boxes->addWidget(createOrderBox(), 0, 0);
    boxes->addWidget(createCustomerBox(), 0, 1);
    boxes->addWidget(createRepairBox(), 1, 0);
    boxes->addWidget(createAccessoriesBox(), 1, 1);
    boxes->setColumnStretch(0, 46);
    boxes->setColumnStretch(1, 54);
    panelLayout->addLayout(boxes, 1);
    panelLayout->addWidget(createButtonColumn());
    mainLayout->addWidget(Panel1, 1);
    setCentralWidget(central);

    statusBar()->setObjectName(QStringLiteral("RpxStatusBar"));
    StatusPanel0 = named(new QLabel, "StatusPanel0");
    StatusPanel0->setFixedWidth(200);
    StatusPanel1 = named(new QLabel, "StatusPanel1");
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
    statusBar()->setSizeGripEnabled(false);

    Timer = named(new QTimer(this), "Timer");
    Timer->setInterval(500);
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, [this] { runGuarded([this] { TimerTimer(); }); });

    for (QDateTimeEdit *edit : findChildren<QDateTimeEdit *>()) {
        if (qobject_cast<QTimeEdit *>(edit)) {
            edit->setDisplayFormat(QStringLiteral("HH:mm"));
        } else {
            edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
            edit->setCalendarPopup(true);
            // An order without the date (30.12.1899, the zero date) shows an empty box.
            edit->setMinimumDate(QDate(1899, 12, 30));
            edit->setSpecialValueText(QStringLiteral(" "));
        }
    }
    auto memoLines = [](QPlainTextEdit *memo, int lines) {
        const QFontMetrics metrics(memo->font());
        memo->setFixedHeight(lines * metrics.lineSpacing() + 2 * memo->frameWidth() + 8);
        memo->setTabChangesFocus(true);
    };
    memoLines(OrderFaultDescriptionMemo, 6);
    memoLines(OrderRepairDescriptionMemo, 5);
    memoLines(OrderRepairNoteMemo, 3);
    memoLines(OrderNoteMemo, 4);
    OrderListDBGrid->setMinimumHeight(300);

    connectChangeHandlers();
    setTabOrders();
    defineFormFields();
    connectImeiAndNotify();
    // The window has a fixed size given by its contents (it narrows when the list is hidden).
    centralWidget()->layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    SetOrderFormState(OrderFormState::Browse);
}

TRpx2Form::~TRpx2Form()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
    Ui::instance().setParentWindow(nullptr);
}

// ----------------------------------------------------------------------------------------
// Construction

void TRpx2Form::createActions()
{
    auto make = [this](const char *name, const char *text, auto slot) {
        auto *action = new QAction(QString::fromUtf8(text), this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, slot] { runGuarded([this, slot] { (this->*slot)(); }); });
        return action;
    };
    ActionAbout = make("ActionAbout", "&O aplikaci...", &TRpx2Form::ActionAboutExecute);
    ActionClose = new QAction(QStringLiteral("&Konec"), this);
    ActionClose->setObjectName(QStringLiteral("ActionClose"));
    connect(ActionClose, &QAction::triggered, this, &QWidget::close);
    ActionCustomerSelect = make("ActionCustomerSelect", "Vybrat...", &TRpx2Form::ActionCustomerSelectExecute);
    ActionFilters = make("ActionFilters", "Seznamy...", &TRpx2Form::ActionFiltersExecute);
    ActionNotify = make("ActionNotify", "Oznamování...", &TRpx2Form::ActionNotifyExecute);
    ActionOptions = make("ActionOptions", "Možnosti...", &TRpx2Form::ActionOptionsExecute);
    ActionOrderChange = make("ActionOrderChange", "Změnit", &TRpx2Form::ActionOrderChangeExecute);
    ActionOrderNext = named(new QAction(QStringLiteral("Další"), this), "ActionOrderNext");
    ActionOrderPrevious = named(new QAction(QStringLiteral("Předchozí"), this), "ActionOrderPrevious");
    ActionOrderFirst = named(new QAction(QStringLiteral("První"), this), "ActionOrderFirst");
    ActionOrderLast = named(new QAction(QStringLiteral("Poslední"), this), "ActionOrderLast");
    ActionOrderNew = make("ActionOrderNew", "&Nová", &TRpx2Form::ActionOrderNewExecute);
    ActionOrderNewMulti
        = make("ActionOrderNewMulti", "Nová &hromadně", &TRpx2Form::ActionOrderNewMultiExecute);
    ActionOrderStore = make("ActionOrderStore", "Uložit", &TRpx2Form::ActionOrderStoreExecute);
    ActionOrderSumary
        = make("ActionOrderSumary", "Uzávěrky...", &TRpx2Form::ActionOrderSumaryExecute);
    ActionOrderCancel = make("ActionOrderCancel", "Storno", &TRpx2Form::ActionOrderCancelExecute);
    ActionOrderDelete = make("ActionOrderDelete", "Smazat", &TRpx2Form::ActionOrderDeleteExecute);
    ActionOrderEngineerUpdate = named(new QAction(QStringLiteral("Opravit..."), this), "ActionOrderEngineerUpdate");
    connect(ActionOrderEngineerUpdate, &QAction::triggered, this,
            [this] { runGuarded([this] { ActionOrderUpdateExecute(true); }); });
    ActionOrderPhoneUpdate = named(new QAction(QStringLiteral("Opravit..."), this), "ActionOrderPhoneUpdate");
    connect(ActionOrderPhoneUpdate, &QAction::triggered, this,
            [this] { runGuarded([this] { ActionOrderUpdateExecute(false); }); });
    ActionPrintIssue = named(new QAction(QStringLiteral("Výdejka"), this), "ActionPrintIssue");
    ActionPrintReceipt = named(new QAction(QStringLiteral("Příjemka"), this), "ActionPrintReceipt");
    ActionOrderImageShow = make("ActionOrderImageShow", "Zobrazit...", &TRpx2Form::ActionOrderImageShowExecute);
    ActionOrderImageLoad = make("ActionOrderImageLoad", "Přiřadit...", &TRpx2Form::ActionOrderImageLoadExecute);
    ActionOrderImageClear = make("ActionOrderImageClear", "Odstranit", &TRpx2Form::ActionOrderImageClearExecute);
    ActionOrderImagePrint = make("ActionOrderImagePrint", "Tisknout...", &TRpx2Form::ActionOrderImagePrintExecute);
    ActionNotifyEmail = make("ActionNotifyEmail", "*", &TRpx2Form::ActionNotifyEmailExecute);
    ActionOrderHold = make("ActionOrderHold", "Podržet", &TRpx2Form::ActionOrderHoldExecute);
    ActionOrderHold->setToolTip(QStringLiteral("Podržet"));
    ActionOrderClear = make("ActionOrderClear", "Vyčistit", &TRpx2Form::ActionOrderClearExecute);
    ActionOrderClear->setToolTip(QStringLiteral("Vyčistit"));

    // Navigation moves the list; the list asks CanLeaveOrder before it moves.
    connect(ActionOrderFirst, &QAction::triggered, this, [this] { runGuarded([this] { m_data->orderList().first(); }); });
    connect(ActionOrderPrevious, &QAction::triggered, this, [this] { runGuarded([this] { m_data->orderList().prior(); }); });
    connect(ActionOrderNext, &QAction::triggered, this, [this] { runGuarded([this] { m_data->orderList().next(); }); });
    connect(ActionOrderLast, &QAction::triggered, this, [this] { runGuarded([this] { m_data->orderList().last(); }); });

    ActionOrderNew->setShortcut(QKeySequence::New);
    ActionOrderStore->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ActionClose->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    addAction(ActionOrderStore);
    // Escape is no shortcut: a shortcut would take the key from an open drop-down or
    // completion list. It reaches the window (keyPressEvent) only when no control used it.
}

void TRpx2Form::createMenus()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu"));
    MenuOrder = named(menuBar()->addMenu(QStringLiteral("&Zakázka")), "MenuOrder");
    MenuOrder->addAction(ActionOrderNew);
    MenuOrder->addAction(ActionOrderNewMulti);
    MenuOrder->addSeparator();
    MenuOrder->addAction(ActionOrderStore);
    MenuOrder->addAction(ActionOrderCancel);
    MenuOrder->addAction(ActionOrderChange);
    MenuOrder->addAction(ActionOrderDelete);
    MenuOrder->addSeparator();
    MenuOrder->addAction(ActionCustomerSelect);
    MenuOrder->addAction(ActionOrderHold);
    MenuOrder->addAction(ActionOrderClear);
    MenuOrder->addSeparator();
    MenuOrder->addAction(ActionPrintReceipt);
    MenuOrder->addAction(ActionPrintIssue);
    MenuOrder->addSeparator();
    MenuOrder->addAction(ActionClose);

    MenuTools = named(menuBar()->addMenu(QStringLiteral("&Nástroje")), "MenuTools");
    MenuTools->addAction(ActionOrderSumary);
    MenuTools->addAction(ActionFilters);
    MenuTools->addAction(ActionNotify);
    MenuTools->addSeparator();
    MenuTools->addAction(ActionOptions);

    MenuHelp = named(menuBar()->addMenu(QStringLiteral("Nápo&věda")), "MenuHelp");
    MenuHelp->addAction(ActionAbout);
}

QWidget *TRpx2Form::createOrderBox()
{
    OrderBox = named(new QGroupBox(QStringLiteral("Zakázka")), "OrderBox");
    auto *grid = new QGridLayout(OrderBox);

    OrderIDEdit = named(new QLineEdit, "OrderIDEdit");
    OrderIDEdit->setReadOnly(true);
    setBackground(OrderIDEdit, QApplication::palette().color(QPalette::Window));
    OrderIDEditFilter = named(new QLineEdit, "OrderIDEditFilter");
    OrderTypeIDComboBox = named(new QComboBox, "OrderTypeIDComboBox");
    OrderReceiptDateDateTimePicker = named(new QDateEdit, "OrderReceiptDateDateTimePicker");
    OrderReceiptTimeDateTimePicker = named(new QTimeEdit, "OrderReceiptTimeDateTimePicker");
    OrderDeadlineDateDateTimePicker = named(new QDateEdit, "OrderDeadlineDateDateTimePicker");
    OrderFaultDescriptionMemo = named(new QPlainTextEdit, "OrderFaultDescriptionMemo");
    OrderPriceEdit = named(new QLineEdit, "OrderPriceEdit");
    OrderCurrencyLabel = named(new QLabel, "OrderCurrencyLabel");
    OrderPriceSecondaryEdit = named(new QLineEdit, "OrderPriceSecondaryEdit");
    OrderCurrencySecondaryLabel = named(new QLabel, "OrderCurrencySecondaryLabel");

    OrderIDLabel = label("OrderIDLabel", "Č. zakázky:", OrderIDEdit);
    OrderTypeIDLabel = label("OrderTypeIDLabel", "Typ opravy:", OrderTypeIDComboBox);
    OrderReceiptDateLabel = label("OrderReceiptDateLabel", "Přijato dne:", OrderReceiptDateDateTimePicker);
    OrderDeadlineDateLabel = label("OrderDeadlineDateLabel", "Termín:", OrderDeadlineDateDateTimePicker);
    OrderFaultDescriptionLabel = label("OrderFaultDescriptionLabel", "Popis závady:", OrderFaultDescriptionMemo);
    OrderPriceLabel = label("OrderPriceLabel", "Předb. cena:", OrderPriceEdit);

    auto *receipt = new QHBoxLayout;
    receipt->addWidget(OrderReceiptDateDateTimePicker, 1);
    receipt->addWidget(OrderReceiptTimeDateTimePicker);
    auto *price = new QHBoxLayout;
    price->addWidget(OrderPriceEdit, 1);
    price->addWidget(OrderCurrencyLabel);
    price->addSpacing(8);
    price->addWidget(OrderPriceSecondaryEdit, 1);
    price->addWidget(OrderCurrencySecondaryLabel);

    grid->addWidget(OrderIDLabel, 0, 0);
    grid->addWidget(OrderIDEdit, 0, 1);
    grid->addWidget(OrderIDEditFilter, 0, 2);
    grid->addWidget(OrderTypeIDLabel, 1, 0);
    grid->addWidget(OrderTypeIDComboBox, 1, 1, 1, 2);
    grid->addWidget(OrderReceiptDateLabel, 2, 0);
    grid->addLayout(receipt, 2, 1);
    grid->addWidget(OrderDeadlineDateLabel, 3, 0);
    grid->addWidget(OrderDeadlineDateDateTimePicker, 3, 1);
    grid->addWidget(OrderFaultDescriptionLabel, 4, 0, Qt::AlignTop);
    grid->addWidget(OrderFaultDescriptionMemo, 4, 1, 1, 2);
    grid->addWidget(OrderPriceLabel, 5, 0);
    grid->addLayout(price, 5, 1, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    return OrderBox;
}

QWidget *TRpx2Form::createCustomerBox()
{
    CustomerBox = named(new QGroupBox(QStringLiteral("Zákazník")), "CustomerBox");
    auto *grid = new QGridLayout(CustomerBox);

    OrderCustomerCodeEdit = named(new QLineEdit, "OrderCustomerCodeEdit");
    OrderCustomerCodeEdit->setReadOnly(true);
    setBackground(OrderCustomerCodeEdit, QApplication::palette().color(QPalette::Window));
    OrderCustomerNameEdit = named(new QLineEdit, "OrderCustomerNameEdit");
    OrderCustomerPhoneNoEdit = named(new QLineEdit, "OrderCustomerPhoneNoEdit");
    OrderCustomerEMailEdit = named(new QLineEdit, "OrderCustomerEMailEdit");
    OrderCustomerStreetEdit = named(new QLineEdit, "OrderCustomerStreetEdit");
    OrderCustomerCityEdit = named(new QLineEdit, "OrderCustomerCityEdit");
    OrderCustomerPSCEdit = named(new QLineEdit, "OrderCustomerPSCEdit");
    CustomerNameEditFilter = named(new QLineEdit, "CustomerNameEditFilter");
    CustomerPhoneNoEditFilter = named(new QLineEdit, "CustomerPhoneNoEditFilter");
    CustomerEMailEditFilter = named(new QLineEdit, "CustomerEMailEditFilter");
    CustomerCityEditFilter = named(new QLineEdit, "CustomerCityEditFilter");
    NotifyEmailButton = named(new QToolButton, "NotifyEmailButton");
    NotifyEmailButton->setDefaultAction(ActionNotifyEmail);
    CustomerSelectButton = actionButton(ActionCustomerSelect, "CustomerSelectButton");

    CustomerCodeLabel = label("CustomerCodeLabel", "Kód:");
    CustomerCodeLabel->installEventFilter(this);
    CustomerNameLabel = label("CustomerNameLabel", "Jméno:", OrderCustomerNameEdit);
    CustomerPhoneLabel = label("CustomerPhoneLabel", "Telefon:", OrderCustomerPhoneNoEdit);
    CustomerEMailLabel = label("CustomerEMailLabel", "E-mail:", OrderCustomerEMailEdit);
    CustomerStreetLabel = label("CustomerStreetLabel", "Ulice:", OrderCustomerStreetEdit);
    CustomerCityLabel = label("CustomerCityLabel", "Město:", OrderCustomerCityEdit);
    CustomerPSCLabel = label("CustomerPSCLabel", "PSČ:", OrderCustomerPSCEdit);

    auto *email = new QHBoxLayout;
    email->addWidget(NotifyEmailButton);
    email->addWidget(OrderCustomerEMailEdit, 1);

    grid->addWidget(CustomerCodeLabel, 0, 0);
    grid->addWidget(OrderCustomerCodeEdit, 0, 1);
    grid->addWidget(CustomerNameLabel, 1, 0);
    grid->addWidget(OrderCustomerNameEdit, 1, 1);
    grid->addWidget(CustomerNameEditFilter, 1, 2);
    grid->addWidget(CustomerPhoneLabel, 2, 0);
    grid->addWidget(OrderCustomerPhoneNoEdit, 2, 1);
    grid->addWidget(CustomerPhoneNoEditFilter, 2, 2);
    grid->addWidget(CustomerEMailLabel, 3, 0);
    grid->addLayout(email, 3, 1);
    grid->addWidget(CustomerEMailEditFilter, 3, 2);
    grid->addWidget(CustomerStreetLabel, 4, 0);
    grid->addWidget(OrderCustomerStreetEdit, 4, 1);
    grid->addWidget(CustomerCityLabel, 5, 0);
    grid->addWidget(OrderCustomerCityEdit, 5, 1);
    grid->addWidget(CustomerCityEditFilter, 5, 2);
    grid->addWidget(CustomerPSCLabel, 6, 0);
    grid->addWidget(OrderCustomerPSCEdit, 6, 1);
    grid->setRowStretch(7, 1);
    grid->addWidget(CustomerSelectButton, 8, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    return CustomerBox;
}

QWidget *TRpx2Form::createRepairBox()
{
    RepairBox = named(new QGroupBox(QStringLiteral("Oprava")), "RepairBox");
    auto *grid = new QGridLayout(RepairBox);

    OrderStateComboBox = named(new QComboBox, "OrderStateComboBox");
    OrderStateComboBoxFilter = named(new QComboBox, "OrderStateComboBoxFilter");
    for (const char *state : {"Vše", "Nová", "V opravě", "Hotová", "Vydaná"})
        OrderStateComboBoxFilter->addItem(QString::fromUtf8(state), 0);
    OrderEngineerComboBox = named(new SuggestComboBox, "OrderEngineerComboBox");
    OrderEngineerComboBoxFilter = named(new SuggestComboBox, "OrderEngineerComboBoxFilter");
    OrderEngineerComboBoxFilter->setFreeTyping(true);
    OrderRepairDescriptionMemo = named(new QPlainTextEdit, "OrderRepairDescriptionMemo");
    OrderRepairImage = named(new QToolButton, "OrderRepairImage");
    OrderRepairImage->setAutoRaise(true);
    OrderRepairImage->setIconSize(QSize(22, 22));
    OrderRepairImage->setFixedSize(28, 28);
    OrderIssueDateDateTimePicker = named(new QDateEdit, "OrderIssueDateDateTimePicker");
    OrderIssueTimeDateTimePicker = named(new QTimeEdit, "OrderIssueTimeDateTimePicker");
    OrderSoftwareCheckBox = named(new QCheckBox(QStringLiteral("odblok/flash")), "OrderSoftwareCheckBox");
    OrderIssuePriceEdit = named(new QLineEdit, "OrderIssuePriceEdit");
    OrderIssueCurrencyLabel = named(new QLabel, "OrderIssueCurrencyLabel");
    OrderIssuePriceSecondaryEdit = named(new QLineEdit, "OrderIssuePriceSecondaryEdit");
    OrderIssueCurrencySecondaryLabel = named(new QLabel, "OrderIssueCurrencySecondaryLabel");
    OrderIssueComponentPriceEdit = named(new QLineEdit, "OrderIssueComponentPriceEdit");
    OrderIssueComponentCurrencyLabel = named(new QLabel, "OrderIssueComponentCurrencyLabel");
    OrderIssueComponentPriceSecondaryEdit = named(new QLineEdit, "OrderIssueComponentPriceSecondaryEdit");
    OrderIssueComponentCurrencySecondaryLabel = named(new QLabel, "OrderIssueComponentCurrencySecondaryLabel");
    OrderRepairNoteMemo = named(new QPlainTextEdit, "OrderRepairNoteMemo");

    OrderStateLabel = label("OrderStateLabel", "Stav:", OrderStateComboBox);
    OrderEngineerLabel = label("OrderEngineerLabel", "Technik:", OrderEngineerComboBox);
    OrderRepairDescriptionLabel = label("OrderRepairDescriptionLabel", "Popis opravy:", OrderRepairDescriptionMemo);
    OrderIssueDateLabel = label("OrderIssueDateLabel", "Vydáno:", OrderIssueDateDateTimePicker);
    OrderIssuePriceLabel = label("OrderIssuePriceLabel", "Cena:", OrderIssuePriceEdit);
    OrderIssueComponentPriceLabel = label("OrderIssueComponentPriceLabel", "Cena dílů:", OrderIssueComponentPriceEdit);
    OrderRepairNoteLabel = label("OrderRepairNoteLabel", "Poznámka:", OrderRepairNoteMemo);

    auto *repairLabel = new QVBoxLayout;
    repairLabel->addWidget(OrderRepairDescriptionLabel);
    repairLabel->addWidget(OrderRepairImage);
    repairLabel->addStretch();
    auto *issue = new QHBoxLayout;
    issue->addWidget(OrderIssueDateDateTimePicker, 1);
    issue->addWidget(OrderIssueTimeDateTimePicker);
    issue->addSpacing(8);
    issue->addWidget(OrderSoftwareCheckBox);
    auto priceRow = [](QLineEdit *p, QLabel *c, QLineEdit *s, QLabel *sc) {
        auto *row = new QHBoxLayout;
        row->addWidget(p, 1);
        row->addWidget(c);
        row->addSpacing(8);
        row->addWidget(s, 1);
        row->addWidget(sc);
        return row;
    };

    grid->addWidget(OrderStateLabel, 0, 0);
    grid->addWidget(OrderStateComboBox, 0, 1);
    grid->addWidget(OrderStateComboBoxFilter, 0, 2);
    grid->addWidget(OrderEngineerLabel, 1, 0);
    grid->addWidget(OrderEngineerComboBox, 1, 1);
    grid->addWidget(OrderEngineerComboBoxFilter, 1, 2);
    grid->addLayout(repairLabel, 2, 0);
    grid->addWidget(OrderRepairDescriptionMemo, 2, 1, 1, 2);
    grid->addWidget(OrderIssueDateLabel, 3, 0);
    grid->addLayout(issue, 3, 1, 1, 2);
    grid->addWidget(OrderIssuePriceLabel, 4, 0);
    grid->addLayout(priceRow(OrderIssuePriceEdit, OrderIssueCurrencyLabel, OrderIssuePriceSecondaryEdit,
                             OrderIssueCurrencySecondaryLabel), 4, 1, 1, 2);
    grid->addWidget(OrderIssueComponentPriceLabel, 5, 0);
    grid->addLayout(priceRow(OrderIssueComponentPriceEdit, OrderIssueComponentCurrencyLabel,
                             OrderIssueComponentPriceSecondaryEdit, OrderIssueComponentCurrencySecondaryLabel),
                    5, 1, 1, 2);
    grid->addWidget(OrderRepairNoteLabel, 6, 0, Qt::AlignTop);
    grid->addWidget(OrderRepairNoteMemo, 6, 1, 1, 2);
    grid->setRowStretch(2, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);

    auto *photoMenu = new QMenu(OrderRepairImage);
    photoMenu->setObjectName(QStringLiteral("PopupMenu3"));
    photoMenu->addAction(ActionOrderImageShow);
    photoMenu->addAction(ActionOrderImageLoad);
    photoMenu->addAction(ActionOrderImageClear);
    photoMenu->addAction(ActionOrderImagePrint);
    connect(photoMenu, &QMenu::aboutToShow, this, [this] {
        const bool has = !m_photoFile.isEmpty();
        ActionOrderImageShow->setEnabled(has);
        ActionOrderImageClear->setEnabled(has);
        ActionOrderImagePrint->setEnabled(has);
        ActionOrderImageLoad->setEnabled(true);
    });
    // The photo menu opens with a click or a right click; a double click assigns or shows.
    OrderRepairImage->setContextMenuPolicy(Qt::CustomContextMenu);
    auto popup = [this, photoMenu] { photoMenu->popup(QCursor::pos()); };
    connect(OrderRepairImage, &QToolButton::customContextMenuRequested, this, popup);
    OrderRepairImage->installEventFilter(this);
    setPhotoFile(QString());
    return RepairBox;
}

QWidget *TRpx2Form::createAccessoriesBox()
{
    AccessoriesBox = named(new QGroupBox(QStringLiteral("Příslušenství")), "AccessoriesBox");
    auto *grid = new QGridLayout(AccessoriesBox);

    OrderPhoneCheckBox = named(new QCheckBox(QStringLiteral("Telefon")), "OrderPhoneCheckBox");
    OrderPhoneTypeComboBox = named(new SuggestComboBox, "OrderPhoneTypeComboBox");
    OrderPhoneTypeComboBoxFilter = named(new SuggestComboBox, "OrderPhoneTypeComboBoxFilter");
    OrderPhoneTypeComboBoxFilter->setFreeTyping(true);
    OrderPhoneIMEIEdit = named(new QLineEdit, "OrderPhoneIMEIEdit");
    OrderPhoneIMEIEditFilter = named(new QLineEdit, "OrderPhoneIMEIEditFilter");
    OrderBatteryCheckBox = named(new QCheckBox(QStringLiteral("Baterie")), "OrderBatteryCheckBox");
    OrderBatteryTypeComboBox = named(new SuggestComboBox, "OrderBatteryTypeComboBox");
    OrderBatteryTypeComboBox->setFreeTyping(true);
    OrderBatterySNEdit = named(new QLineEdit, "OrderBatterySNEdit");
    OrderSimCheckBox = named(new QCheckBox(QStringLiteral("Karta SIM")), "OrderSimCheckBox");
    OrderChargerCheckBox = named(new QCheckBox(QStringLiteral("Nabíječka")), "OrderChargerCheckBox");
    OrderWarrantyCertCheckBox = named(new QCheckBox(QStringLiteral("Záruční l.")), "OrderWarrantyCertCheckBox");
    OrderCoverCheckBox = named(new QCheckBox(QStringLiteral("Obal")), "OrderCoverCheckBox");
    OrderNoteMemo = named(new QPlainTextEdit, "OrderNoteMemo");

    OrderPhoneTypeLabel = label("OrderPhoneTypeLabel", "Typ:", OrderPhoneTypeComboBox);
    OrderPhoneIMEILabel = label("OrderPhoneIMEILabel", "IMEI:", OrderPhoneIMEIEdit);
    OrderPhoneIMEILabel->installEventFilter(this);
    OrderBatteryTypeLabel = label("OrderBatteryTypeLabel", "Typ:", OrderBatteryTypeComboBox);
    OrderBatterySNLabel = label("OrderBatterySNLabel", "SN:", OrderBatterySNEdit);
    OrderNoteLabel = label("OrderNoteLabel", "Poznámka:", OrderNoteMemo);

    auto *flags = new QHBoxLayout;
    flags->addWidget(OrderSimCheckBox);
    flags->addWidget(OrderChargerCheckBox);
    flags->addWidget(OrderWarrantyCertCheckBox);
    flags->addWidget(OrderCoverCheckBox);
    flags->addStretch();

    grid->addWidget(OrderPhoneCheckBox, 0, 0, 1, 2);
    grid->addWidget(OrderPhoneTypeLabel, 1, 0);
    grid->addWidget(OrderPhoneTypeComboBox, 1, 1);
    grid->addWidget(OrderPhoneTypeComboBoxFilter, 1, 2);
    grid->addWidget(OrderPhoneIMEILabel, 2, 0);
    grid->addWidget(OrderPhoneIMEIEdit, 2, 1);
    grid->addWidget(OrderPhoneIMEIEditFilter, 2, 2);
    grid->addWidget(OrderBatteryCheckBox, 3, 0, 1, 2);
    grid->addWidget(OrderBatteryTypeLabel, 4, 0);
    grid->addWidget(OrderBatteryTypeComboBox, 4, 1);
    grid->addWidget(OrderBatterySNLabel, 5, 0);
    grid->addWidget(OrderBatterySNEdit, 5, 1);
    grid->addLayout(flags, 6, 0, 1, 3);
    grid->addWidget(OrderNoteLabel, 7, 0, Qt::AlignTop);
    grid->addWidget(OrderNoteMemo, 7, 1, 1, 2);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    return AccessoriesBox;
}

QWidget *TRpx2Form::createButtonColumn()
{
    auto *column = named(new QWidget, "ButtonPanel");
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 6, 0, 0);
    // As narrow as the buttons need, wider when a large shop's takings need the room.
    column->setMinimumWidth(104);
    column->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    auto *totals = named(new QFrame, "TotalsPanel");
    totals->setFrameShape(QFrame::StyledPanel);
    auto *totalsLayout = new QVBoxLayout(totals);
    totalsLayout->setContentsMargins(6, 4, 6, 4);
    totalsLayout->setSpacing(1);
    OrderSumLabel = label("OrderSumLabel", "Celkem:");
    OrderSumValueLabel = named(new QLabel(QStringLiteral("0.00")), "OrderSumValueLabel");
    OrderSumTodayLabel = label("OrderSumTodayLabel", "Dnes:");
    OrderSumTodayValueLabel = named(new QLabel(QStringLiteral("0.00")), "OrderSumTodayValueLabel");
    for (QLabel *value : {OrderSumValueLabel, OrderSumTodayValueLabel}) {
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
    }
    totalsLayout->addWidget(OrderSumLabel);
    totalsLayout->addWidget(OrderSumValueLabel);
    totalsLayout->addWidget(OrderSumTodayLabel);
    totalsLayout->addWidget(OrderSumTodayValueLabel);
    layout->addWidget(totals);
    layout->addSpacing(6);

    layout->addWidget(actionButton(ActionPrintReceipt, "PrintReceiptButton"));
    layout->addWidget(actionButton(ActionPrintIssue, "PrintIssueButton"));
    layout->addSpacing(6);
    layout->addWidget(actionButton(ActionOrderFirst, "OrderFirstButton"));
    layout->addWidget(actionButton(ActionOrderPrevious, "OrderPreviousButton"));
    layout->addWidget(actionButton(ActionOrderNext, "OrderNextButton"));
    layout->addWidget(actionButton(ActionOrderLast, "OrderLastButton"));
    layout->addSpacing(6);
    layout->addWidget(actionButton(ActionOrderNew, "OrderNewButton"));

    PanelOrderStore = named(new QFrame, "PanelOrderStore");
    PanelOrderStore->setAutoFillBackground(true);
    auto *storeLayout = new QVBoxLayout(PanelOrderStore);
    storeLayout->setContentsMargins(3, 3, 3, 3);
    storeLayout->addWidget(actionButton(ActionOrderStore, "OrderStoreButton"));
    storeLayout->addWidget(actionButton(ActionOrderCancel, "OrderCancelButton"));
    layout->addWidget(PanelOrderStore);
    layout->addSpacing(6);
    layout->addWidget(actionButton(ActionOrderDelete, "OrderDeleteButton"));
    layout->addWidget(actionButton(ActionOrderChange, "IssueOrderChangeButton"));
    layout->addStretch();
    return column;
}

QWidget *TRpx2Form::createListPanel()
{
    OrdersPanel = named(new QWidget, "OrdersPanel");
    // Wide enough for the two columns at their default widths and the scroll bar; held
    // orders are drawn in bold.
    QFont bold = OrdersPanel->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    OrdersPanel->setFixedWidth(
        qMax(75, metrics.horizontalAdvance(QStringLiteral("2026-00000")) + 16)
        + qMax(110, metrics.horizontalAdvance(QStringLiteral("000000000000000")) + 16)
        + OrdersPanel->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
    auto *layout = new QVBoxLayout(OrdersPanel);
    layout->setContentsMargins(0, 0, 0, 0);

    OrderAgeComboBox = named(new QComboBox, "OrderAgeComboBox");
    for (int i = 0; i < 6; ++i)
        OrderAgeComboBox->addItem(QString::fromUtf8(AgeTexts[i]), AgeDays[i]);
    OrderAgeComboBox->setCurrentIndex(3);
    layout->addWidget(OrderAgeComboBox);

    OrderListDBGrid = named(new QTableView, "OrderListDBGrid");
    OrderListDBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    OrderListDBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    OrderListDBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    OrderListDBGrid->verticalHeader()->hide();
    OrderListDBGrid->verticalHeader()->setDefaultSectionSize(OrderListDBGrid->fontMetrics().height() + 6);
    OrderListDBGrid->horizontalHeader()->setHighlightSections(false);
    OrderListDBGrid->setAlternatingRowColors(false);
    OrderListDBGrid->setWordWrap(false);
    
    m_listDelegate = new OrderListDelegate(this, OrderListDBGrid);
    OrderListDBGrid->setItemDelegate(m_listDelegate);
    layout->addWidget(OrderListDBGrid, 1);

    auto *bottom = new QHBoxLayout;
    OrderHoldCountLabel = named(new QLabel(QStringLiteral("Vybráno: 0")), "OrderHoldCountLabel");
    NoFilterCheckBox = named(new QCheckBox(QStringLiteral("Nefiltrovat")), "NoFilterCheckBox");
    auto *hold = named(new QToolButton, "OrderHoldButton");
    hold->setDefaultAction(ActionOrderHold);
    hold->setAutoRaise(true);
    hold->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    auto *clear = named(new QToolButton, "OrderClearButton");
    clear->setDefaultAction(ActionOrderClear);
    clear->setAutoRaise(true);
    clear->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    bottom->addWidget(OrderHoldCountLabel, 1);
    bottom->addWidget(hold);
    bottom->addWidget(clear);
    layout->addLayout(bottom);
    layout->addWidget(NoFilterCheckBox);
    return OrdersPanel;
}

// Tab walks the order's entries in reading order - order, customer, repair, accessories -
// and then the filter boxes beside them in a chain of their own, so that a clerk typing
// name, Tab, phone never lands in a filter. The list and the buttons come last.
void TRpx2Form::setTabOrders()
{
    QList<QWidget *> chain { OrderTypeIDComboBox,
                             OrderReceiptDateDateTimePicker,
                             OrderReceiptTimeDateTimePicker,
                             OrderDeadlineDateDateTimePicker,
                             OrderFaultDescriptionMemo,
                             OrderPriceEdit,
                             OrderPriceSecondaryEdit,
                             OrderCustomerNameEdit,
                             OrderCustomerPhoneNoEdit,
                             OrderCustomerEMailEdit,
                             OrderCustomerStreetEdit,
                             OrderCustomerCityEdit,
                             OrderCustomerPSCEdit,
                             CustomerSelectButton,
                             NotifyEmailButton,
                             OrderStateComboBox,
                             OrderEngineerComboBox,
                             OrderRepairDescriptionMemo,
                             OrderIssueDateDateTimePicker,
                             OrderIssueTimeDateTimePicker,
                             OrderSoftwareCheckBox,
                             OrderIssuePriceEdit,
                             OrderIssuePriceSecondaryEdit,
                             OrderIssueComponentPriceEdit,
                             OrderIssueComponentPriceSecondaryEdit,
                             OrderRepairNoteMemo,
                             OrderRepairImage,
                             OrderPhoneCheckBox,
                             OrderPhoneTypeComboBox,
                             OrderPhoneIMEIEdit,
                             OrderBatteryCheckBox,
                             OrderBatteryTypeComboBox,
                             OrderBatterySNEdit,
                             OrderSimCheckBox,
                             OrderChargerCheckBox,
                             OrderWarrantyCertCheckBox,
                             OrderCoverCheckBox,
                             OrderNoteMemo,
                             OrderIDEditFilter,
                             CustomerNameEditFilter,
                             CustomerPhoneNoEditFilter,
                             CustomerEMailEditFilter,
                             CustomerCityEditFilter,
                             OrderStateComboBoxFilter,
                             OrderEngineerComboBoxFilter,
                             OrderPhoneTypeComboBoxFilter,
                             OrderPhoneIMEIEditFilter,
                             OrderAgeComboBox,
                             OrderListDBGrid,
                             NoFilterCheckBox };
    for (const char *name :
         { "OrderHoldButton", "OrderClearButton", "PrintReceiptButton", "PrintIssueButton",
           "OrderFirstButton", "OrderPreviousButton", "OrderNextButton", "OrderLastButton",
           "OrderNewButton", "OrderStoreButton", "OrderCancelButton", "OrderDeleteButton",
           "IssueOrderChangeButton" })
        if (auto *button = findChild<QWidget *>(QLatin1String(name)))
            chain.append(button);
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void TRpx2Form::connectChangeHandlers()
{
    auto order = [this] { runGuarded([this] { OrderChange(); }); };
    connect(OrderTypeIDComboBox, &QComboBox::currentIndexChanged, this, order);
    connect(OrderReceiptDateDateTimePicker, &QDateEdit::dateChanged, this, order);
    connect(OrderReceiptTimeDateTimePicker, &QTimeEdit::timeChanged, this, order);
    connect(OrderDeadlineDateDateTimePicker, &QDateEdit::dateChanged, this, order);
    connect(OrderFaultDescriptionMemo, &QPlainTextEdit::textChanged, this, order);
    connect(OrderPriceEdit, &QLineEdit::textChanged, this, order);
    connect(OrderPriceSecondaryEdit, &QLineEdit::textChanged, this, order);
    connect(OrderStateComboBox, &QComboBox::currentIndexChanged, this, [this] { runGuarded([this] { OrderStateChanged(); }); });
    connect(OrderEngineerComboBox, &QComboBox::currentTextChanged, this, order);
    connect(OrderRepairDescriptionMemo, &QPlainTextEdit::textChanged, this, order);
    connect(OrderSoftwareCheckBox, &QCheckBox::toggled, this, order);
    connect(OrderIssueDateDateTimePicker, &QDateEdit::dateChanged, this, order);
    connect(OrderIssueTimeDateTimePicker, &QTimeEdit::timeChanged, this, order);
    connect(OrderIssuePriceSecondaryEdit, &QLineEdit::textChanged, this, order);
    connect(OrderIssueComponentPriceSecondaryEdit, &QLineEdit::textChanged, this, order);
    connect(OrderRepairNoteMemo, &QPlainTextEdit::textChanged, this, order);
    connect(OrderPhoneTypeComboBox, &QComboBox::currentTextChanged, this, order);
    connect(OrderPhoneIMEIEdit, &QLineEdit::textChanged, this, order);
    connect(OrderBatteryTypeComboBox, &QComboBox::currentTextChanged, this, order);
    connect(OrderBatterySNEdit, &QLineEdit::textChanged, this, order);
    for (QCheckBox *box : {OrderSimCheckBox, OrderChargerCheckBox, OrderWarrantyCertCheckBox, OrderCoverCheckBox})
        connect(box, &QCheckBox::toggled, this, order);
    connect(OrderNoteMemo, &QPlainTextEdit::textChanged, this, order);
    connect(OrderPhoneCheckBox, &QCheckBox::clicked, this, [this] { runGuarded([this] { OrderPhoneCheckBoxClick(); }); });
    connect(OrderBatteryCheckBox, &QCheckBox::clicked, this, [this] { runGuarded([this] { OrderBatteryCheckBoxClick(); }); });

    for (QLineEdit *price : {OrderIssuePriceEdit, OrderIssueComponentPriceEdit})
        connect(price, &QLineEdit::textChanged, this, [this, price] { runGuarded([this, price] { PriceChange(price); }); });
    connect(OrderPriceEdit, &QLineEdit::editingFinished, this,
            [this] { runGuarded([this] { PriceEditExit(OrderPriceEdit, OrderPriceSecondaryEdit); }); });
    connect(OrderIssuePriceEdit, &QLineEdit::editingFinished, this,
            [this] { runGuarded([this] { PriceEditExit(OrderIssuePriceEdit, OrderIssuePriceSecondaryEdit); }); });
    connect(OrderIssueComponentPriceEdit, &QLineEdit::editingFinished, this, [this] {
        runGuarded([this] { PriceEditExit(OrderIssueComponentPriceEdit, OrderIssueComponentPriceSecondaryEdit); });
    });

    for (QLineEdit *customer :
         { OrderCustomerNameEdit, OrderCustomerStreetEdit, OrderCustomerCityEdit,
           OrderCustomerPSCEdit, OrderCustomerPhoneNoEdit, OrderCustomerEMailEdit }) {
        connect(customer, &QLineEdit::textEdited, this, [this] { runGuarded([this] { CustomerChange(); }); });
        customer->installEventFilter(this); // shows the start of a long text when left
    }

    auto filter = [this] { runGuarded([this] { FilterChange(); }); };
    for (QLineEdit *edit : {OrderIDEditFilter, CustomerNameEditFilter, CustomerCityEditFilter,
                            CustomerPhoneNoEditFilter, CustomerEMailEditFilter, OrderPhoneIMEIEditFilter})
        connect(edit, &QLineEdit::textChanged, this, filter);
    connect(OrderStateComboBoxFilter, &QComboBox::activated, this, filter);
    connect(OrderEngineerComboBoxFilter, &QComboBox::currentTextChanged, this, filter);
    connect(OrderPhoneTypeComboBoxFilter, &QComboBox::currentTextChanged, this, filter);
    connect(OrderAgeComboBox, &QComboBox::activated, this, filter);

    // Teal text marks the filter boxes.
    for (QWidget *w : std::initializer_list<QWidget *>{OrderIDEditFilter, CustomerNameEditFilter, CustomerCityEditFilter,
                           CustomerPhoneNoEditFilter, CustomerEMailEditFilter, OrderPhoneIMEIEditFilter,
                           OrderStateComboBoxFilter, OrderEngineerComboBoxFilter, OrderPhoneTypeComboBoxFilter}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Text, QColor(0, 128, 128));
        palette.setColor(QPalette::ButtonText, QColor(0, 128, 128));
        w->setPalette(palette);
    }
    OrderPhoneTypeComboBox->installEventFilter(this);

    // Suggestion sources.
    OrderEngineerComboBox->setSource([this] {
        return m_data->config().GetLMEngineer() == 1 ? m_data->GetEngineerListNames() : m_data->GetEngineerNames();
    }, true);
    OrderPhoneTypeComboBox->setSource([this] {
        return m_data->config().GetLMPhone() == 1 ? m_data->GetKnownPhoneNames() : m_data->GetPhoneTypeNames();
    }, true);
    OrderBatteryTypeComboBox->setSource([this] { return m_data->GetBatteryTypeNames(); }, true);
    OrderEngineerComboBoxFilter->setSource([this] { return m_data->GetEngineerNames(); }, false);
    OrderPhoneTypeComboBoxFilter->setSource([this] {
        return m_data->config().GetLMPhone() == 1 ? m_data->GetKnownPhoneNames() : m_data->GetPhoneTypeNames();
    }, false);
    for (auto [box, action] : {std::pair{OrderEngineerComboBoxFilter, ActionOrderEngineerUpdate},
                               std::pair{OrderPhoneTypeComboBoxFilter, ActionOrderPhoneUpdate}}) {
        box->setContextMenuPolicy(Qt::ActionsContextMenu);
        box->addAction(action);
        box->lineEdit()->setContextMenuPolicy(Qt::ActionsContextMenu);
        box->lineEdit()->addAction(action);
    }

    OrderListDBGrid->installEventFilter(this); // keys move the shown order too
    connect(OrderListDBGrid, &QTableView::pressed, this, [this](const QModelIndex &index) {
        runGuarded([this, index] { listRowActivated(index.row()); });
    });
}
