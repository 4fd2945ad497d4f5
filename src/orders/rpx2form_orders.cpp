// The main window's order editor and list: showing, building, tracking changes, storing,
// cancelling, filtering, totals, holding, deleting and photos.
#include "app/rpx2form.h"

#include "app/aboutform.h"
#include "app/ui.h"
#include "customers/customersearchform.h"
#include "options/optionsform.h"
#include "options/passwordcheck.h"
#include "orders/filtersform.h"
#include "orders/imeichecks.h"
#include "orders/orderrename.h"
#include "orders/suggestcombobox.h"

#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "customercode.h"
#include "orderlist.h"
#include "ordernumbering.h"
#include "photofiles.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

const int AgeDays[] = {7, 14, 31, 92, 365, 99999};
const QDate ZeroDate(1899, 12, 30);

QDateTime shownDate(const QDateTime &value)
{
    return value.isValid() ? value : QDateTime(ZeroDate, QTime(0, 0));
}

// A date box (with its time box, when it has one) as a date to store. What the clerk left
// as it was shown keeps the stored value, time included (the boxes hold whole days or
// minutes); the empty box, the zero date, is no date at all (NULL).
QDateTime pickedDate(const QDate &date, const std::optional<QTime> &time,
                     const std::optional<QDateTime> &stored)
{
    if (stored) {
        const QDateTime shown = shownDate(*stored);
        if (date == shown.date()
            && (!time
                || (time->hour() == shown.time().hour()
                    && time->minute() == shown.time().minute())))
            return *stored;
    }
    if (date == ZeroDate)
        return {};
    return time ? Clock::localTime(date, *time) : Clock::startOfDay(date);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color.isValid() ? color : QApplication::palette().color(QPalette::Base));
    widget->setPalette(palette);
}

bool isValidFinalPrice(const QString &text)
{
    return !text.trimmed().isEmpty() && CConfig::IsNumber(text);
}

double readPrice(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw RpxError(formatText(rpxText("Rpx2.NotANumber"), { text }));
    return value;
}

QPixmap photoPicture(bool present)
{
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = present ? QColor(0x20, 0x60, 0xb0) : QColor(0xa8, 0xa8, 0xa8);
    p.setPen(QPen(body, 1.5));
    p.setBrush(present ? QColor(0xd8, 0xe8, 0xff) : QColor(0xf4, 0xf4, 0xf4));
    p.drawRoundedRect(QRectF(2, 6, 18, 13), 2, 2);
    p.drawRect(QRectF(7, 3.5, 8, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(11, 12.5), 4, 4);
    if (present) {
        p.setBrush(body);
        p.drawEllipse(QPointF(11, 12.5), 2, 2);
    }
    return pixmap;
}

// Copies a photo into the photo folder, replacing a file of the target's name only once the
// copy is complete, so that a failed copy leaves an earlier photo whole. Returns the
// reason of a failure, empty on success.
QString copyPhoto(const QString &source, const QString &target)
{
    if (!QDir().mkpath(AppPaths::photoDir()))
        return formatText(rpxText("Rpx2.PhotoFolderNotCreated"),
                          { QDir::toNativeSeparators(AppPaths::photoDir()) });
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QFile file(source);
    if (!file.copy(part))
        return file.errorString();
    QFile::remove(target);
    QFile copied(part);
    if (!copied.rename(target)) {
        const QString error = copied.errorString();
        QFile::remove(part);
        return error;
    }
    return {};
}

} // namespace

// ----------------------------------------------------------------------------------------
// Start-up, texts, settings, shutdown

bool TRpx2Form::start()
{
    m_data = new TRpx2Data(this, QStringLiteral("RPX2"), this);
    OrderListDBGrid->setModel(m_data->orderList().model());
    // Reopening the list resets the view's columns: hide the helper columns again and give
    // the two shown ones their titles and widths.
    connect(&m_data->orderList(), &OrderList::reloaded, this, &TRpx2Form::setupListColumns);
    connect(&m_data->orderList(), &OrderList::currentRowChanged, this, [this] { syncListSelection(); });
    // A large shop's list is counted once its first page is shown: the position and the
    // buttons follow then.
    connect(&m_data->orderList(), &OrderList::counted, this, [this] {
        showListPosition();
        updateActions();
    });
    connect(OrderListDBGrid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (section < 2 && size > 0 && OrderListDBGrid->model()->columnCount() > section)
                    m_columnWidths[section] = size;
            });

    int ageIndex = m_data->config().GetOrderAgeFilter();
    if (ageIndex < 0 || ageIndex > 5)
        ageIndex = 3;
    OrderAgeComboBox->setCurrentIndex(ageIndex);
    m_columnWidths[0] = 75;
    m_columnWidths[1] = 110;

    if (!m_data->Connect(Ui::instance(), AgeDays[ageIndex]))
        return false;

    // The columns fit a whole number and IMEI in the bold font of held orders; a narrower
    // stored width would cut them.
    QFont bold = OrderListDBGrid->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // (The cell loses its text margins and the grid line.)
    const int fit0 = qMax(75, metrics.horizontalAdvance(QStringLiteral("2026-00000")) + 16);
    const int fit1 = qMax(110, metrics.horizontalAdvance(QStringLiteral("000000000000000")) + 16);
    m_columnWidths[0]
        = qMax(fit0, m_data->config().GetColumnWidth(QStringLiteral("OrderList"), 0, fit0));
    m_columnWidths[1]
        = qMax(fit1, m_data->config().GetColumnWidth(QStringLiteral("OrderList"), 1, fit1));
    applyTexts();
    // The shop's language without its file: the program speaks Czech and says why.
    const QString textsNotice = CSimpleResources::instance().takeNotice();
    if (!textsNotice.isEmpty())
        Ui::instance().message(textsNotice, QStringLiteral("Repaxo"), Prompts::Icon::Warning);
    OrderStateComboBoxFilter->setCurrentIndex(0);
    m_easyCustomer = m_data->config().GetEasyCustomer();
    ShowOrderList(m_data->config().GetShowOrders());
    ShowFilters(true);
    ShowOrderTotals();
    ApplyWindowTitle();
    applyComboStyles();
    // Connect opened the list and showed its first order before the titles and widths were
    // known: apply them now, and the enabling that depends on the settings just read.
    setupListColumns();
    SetOrderFormState(m_state);
    syncListSelection();
    return true;
}

void TRpx2Form::setupListColumns()
{
    OrderListDBGrid->setColumnHidden(OrderList::ColStateColor, true);
    OrderListDBGrid->setColumnHidden(OrderList::ColStateID, true);
    OrderListDBGrid->setColumnHidden(OrderList::ColCustomerName, true);
    QAbstractItemModel *model = m_data->orderList().model();
    model->setHeaderData(0, Qt::Horizontal, m_columnTitles[0]);
    model->setHeaderData(1, Qt::Horizontal, m_columnTitles[1]);
    OrderListDBGrid->setColumnWidth(0, m_columnWidths[0]);
    OrderListDBGrid->setColumnWidth(1, m_columnWidths[1]);
}

void TRpx2Form::applyTexts()
{
    auto set = [](auto *control, const char *key) { control->setText(rpxText(key)); };
    set(ActionAbout, "Rpx2.ActionAbout");
    set(ActionClose, "Rpx2.ActionClose");
    set(ActionCustomerSelect, "Rpx2.ActionCustomerSelect");
    set(ActionFilters, "Rpx2.ActionFilters");
    set(ActionNotify, "Rpx2.ActionNotify");
    set(ActionOptions, "Rpx2.ActionOptions");
    set(ActionOrderChange, "Rpx2.ActionOrderChange");
    set(ActionOrderNext, "Rpx2.ActionOrderNext");
    set(ActionOrderPrevious, "Rpx2.ActionOrderPrevious");
    set(ActionOrderFirst, "Rpx2.ActionOrderFirst");
    set(ActionOrderLast, "Rpx2.ActionOrderLast");
    set(ActionOrderNew, "Rpx2.ActionOrderNew");
    set(ActionOrderNewMulti, "Rpx2.ActionOrderNewMulti");
    set(ActionOrderStore, "Rpx2.ActionOrderStore");
    set(ActionOrderSumary, "Rpx2.ActionOrderSumary");
    set(ActionOrderCancel, "Rpx2.ActionOrderCancel");
    set(ActionOrderDelete, "Rpx2.ActionOrderDelete");
    set(ActionOrderEngineerUpdate, "Rpx2.ActionOrderEngineerUpdate");
    set(ActionOrderPhoneUpdate, "Rpx2.ActionOrderPhoneUpdate");
    set(ActionPrintIssue, "Rpx2.ActionPrintIssue");
    set(ActionPrintReceipt, "Rpx2.ActionPrintReceipt");
    set(ActionOrderImageShow, "Rpx2.ActionOrderImageShow");
    set(ActionOrderImageLoad, "Rpx2.ActionOrderImageLoad");
    set(ActionOrderImageClear, "Rpx2.ActionOrderImageClear");
    set(ActionOrderImagePrint, "Rpx2.ActionOrderImagePrint");
    set(ActionNotifyEmail, "Rpx2.ActionNotifyEmail");
    // The menu entries and buttons of holding; their hints keep the fixed texts.
    set(ActionOrderHold, "Rpx2.ActionOrderHold");
    set(ActionOrderClear, "Rpx2.ActionOrderClear");
    MenuOrder->setTitle(rpxText("Rpx2.MenuOrder"));
    MenuTools->setTitle(rpxText("Rpx2.MenuTools"));
    MenuHelp->setTitle(rpxText("Rpx2.MenuHelp"));
    OrderBox->setTitle(rpxText("Rpx2.OrderBox"));
    RepairBox->setTitle(rpxText("Rpx2.RepairBox"));
    CustomerBox->setTitle(rpxText("Rpx2.CustomerBox"));
    AccessoriesBox->setTitle(rpxText("Rpx2.AccessoriesBox"));
    set(OrderIDLabel, "Rpx2.OrderID");
    set(OrderTypeIDLabel, "Rpx2.OrderTypeID");
    set(OrderReceiptDateLabel, "Rpx2.OrderReceiptDate");
    set(OrderDeadlineDateLabel, "Rpx2.OrderDeadlineDate");
    set(OrderFaultDescriptionLabel, "Rpx2.OrderFaultDescription");
    set(OrderPriceLabel, "Rpx2.OrderPrice");
    set(OrderStateLabel, "Rpx2.OrderState");
    set(OrderEngineerLabel, "Rpx2.OrderEngineer");
    set(OrderRepairDescriptionLabel, "Rpx2.OrderRepairDescription");
    set(OrderIssueDateLabel, "Rpx2.OrderIssueDate");
    set(OrderSoftwareCheckBox, "Rpx2.OrderSoftware");
    set(OrderIssuePriceLabel, "Rpx2.OrderIssuePrice");
    set(OrderIssueComponentPriceLabel, "Rpx2.OrderIssueComponentPrice");
    set(OrderRepairNoteLabel, "Rpx2.OrderRepairNote");
    set(CustomerCodeLabel, "Rpx2.CustomerCode");
    set(CustomerNameLabel, "Rpx2.CustomerName");
    set(CustomerPhoneLabel, "Rpx2.CustomerPhone");
    set(CustomerEMailLabel, "Rpx2.CustomerEMail");
    set(CustomerStreetLabel, "Rpx2.CustomerStreet");
    set(CustomerCityLabel, "Rpx2.CustomerCity");
    set(CustomerPSCLabel, "Rpx2.CustomerPSC");
    set(OrderPhoneCheckBox, "Rpx2.OrderPhone");
    set(OrderPhoneTypeLabel, "Rpx2.OrderPhoneType");
    set(OrderPhoneIMEILabel, "Rpx2.OrderPhoneIMEI");
    set(OrderBatteryCheckBox, "Rpx2.OrderBattery");
    set(OrderBatteryTypeLabel, "Rpx2.OrderBatteryType");
    set(OrderBatterySNLabel, "Rpx2.OrderBatterySN");
    set(OrderSimCheckBox, "Rpx2.OrderSim");
    set(OrderChargerCheckBox, "Rpx2.OrderCharger");
    set(OrderWarrantyCertCheckBox, "Rpx2.OrderWarrantyCert");
    set(OrderCoverCheckBox, "Rpx2.OrderCover");
    set(OrderNoteLabel, "Rpx2.OrderNote");
    set(OrderSumLabel, "Rpx2.OrderSumLabel");
    set(OrderSumTodayLabel, "Rpx2.OrderSumTodayLabel");
    for (int i = 0; i < 6; ++i)
        OrderAgeComboBox->setItemText(i, rpxText(QStringLiteral("Rpx2.OrderAge.%1").arg(i).toLatin1().constData()));
    m_columnTitles[0] = rpxText("Rpx2.Title.0");
    m_columnTitles[1] = rpxText("Rpx2.Title.1");
    set(NoFilterCheckBox, "Rpx2.NoFilter");
    for (QWidget *w : std::initializer_list<QWidget *> {
             OrderIDEditFilter, CustomerNameEditFilter, CustomerCityEditFilter,
             CustomerPhoneNoEditFilter, CustomerEMailEditFilter, OrderPhoneIMEIEditFilter,
             OrderStateComboBoxFilter, OrderEngineerComboBoxFilter,
             OrderPhoneTypeComboBoxFilter }) {
        w->setToolTip(rpxText("Rpx2.FilterHint"));
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            edit->setPlaceholderText(rpxText("Rpx2.FilterPlaceholder"));
    }
    setPhotoFile(m_photoFile);
    refreshHoldLabel();
}

void TRpx2Form::applyComboStyles()
{
    OrderEngineerComboBox->setFreeTyping(m_data->config().GetFEEngineer());
    OrderPhoneTypeComboBox->setFreeTyping(m_data->config().GetFEPhone());
}

void TRpx2Form::ApplyWindowTitle()
{
    const QString cash = m_data->config().GetCashName();
    setWindowTitle(cash.isEmpty() ? QStringLiteral("Repaxo") : QStringLiteral("Repaxo - Pokladna ") + cash);
}

void TRpx2Form::closeEvent(QCloseEvent *event)
{
    if (!confirmDiscard()) {
        event->ignore();
        return;
    }
    if (m_data && m_data->isOpen()) {
        runGuarded([this] {
            m_data->config().SetColumnWidth(QStringLiteral("OrderList"), 0, OrderListDBGrid->columnWidth(0));
            m_data->config().SetColumnWidth(QStringLiteral("OrderList"), 1, OrderListDBGrid->columnWidth(1));
        });
    }
    event->accept();
}

// ----------------------------------------------------------------------------------------
// Form state

void TRpx2Form::SetOrderFormState(OrderFormState state)
{
    m_state = state;
    updateActions();
}

void TRpx2Form::updateActions()
{
    const bool editing = m_state == OrderFormState::Insert || m_state == OrderFormState::Edit;
    const bool hasRows = m_data && !m_data->orderList().isEmpty();
    ActionPrintReceipt->setEnabled(!editing && hasRows);
    ActionPrintIssue->setEnabled(!editing && hasRows);
    const bool first = !hasRows || m_data->orderList().isFirst();
    const bool last = !hasRows || m_data->orderList().isLast();
    ActionOrderFirst->setEnabled(!editing && !first);
    ActionOrderPrevious->setEnabled(!editing && !first);
    ActionOrderNext->setEnabled(!editing && !last);
    ActionOrderLast->setEnabled(!editing && !last);
    ActionOrderNew->setEnabled(!editing);
    ActionOrderNewMulti->setEnabled(!editing);
    ActionOrderStore->setEnabled(editing);
    ActionOrderCancel->setEnabled(editing);
    bool deleteAllowed = false;
    if (!editing && hasRows && m_data && m_data->isOpen())
        runGuarded([&] { deleteAllowed = m_data->config().GetDeleteOrder(); });
    ActionOrderDelete->setEnabled(deleteAllowed);
    ActionOrderChange->setEnabled(!editing && hasRows && m_locked);
    ActionOrderHold->setEnabled(hasRows && !editing);
    QPalette palette = PanelOrderStore->palette();
    palette.setColor(QPalette::Window, editing ? QColor(0xd0, 0x20, 0x20) : QApplication::palette().color(QPalette::Window));
    PanelOrderStore->setPalette(palette);
}

bool TRpx2Form::CanLeaveOrder()
{
    if (m_state == OrderFormState::Loading)
        return false;
    return confirmDiscard();
}

bool TRpx2Form::hasUnsavedChanges() const
{
    return (m_state == OrderFormState::Insert || m_state == OrderFormState::Edit)
        && formValues() != m_formSnapshot;
}

// Asks before unsaved changes are dropped; true when there are none or the clerk agrees.
bool TRpx2Form::confirmDiscard()
{
    if (!hasUnsavedChanges())
        return true;
    // No is the default: Enter pressed on into the question keeps the entries.
    return Ui::instance().ask(rpxText("Rpx2.DiscardChanges"), QString(), Prompts::Buttons::YesNo,
                              Prompts::Icon::Question, Prompts::Answer::No)
        == Prompts::Answer::Yes;
}

void TRpx2Form::keyPressEvent(QKeyEvent *event)
{
    // Reaches the window only when the focused control had no use for the key: an open
    // drop-down or completion list closes on Escape and the order stays.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (ActionOrderCancel->isEnabled())
            ActionOrderCancel->trigger();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TRpx2Form::OrderEntered(const OrderList &list)
{
    if (ShowCurrentOrder())
        return;
    // Another program deleted the order of this row: the list is read again (once the move
    // is over), on the row that now takes its place, so that list and shown order agree.
    const int row = list.currentRow();
    QTimer::singleShot(0, this, [this, row] {
        runGuarded([this, row] {
            if (m_state != OrderFormState::Browse)
                return;
            ReloadOrderList();
            OrderList &reloaded = m_data->orderList();
            if (!reloaded.isEmpty())
                reloaded.moveTo(qMin(row, reloaded.rowCount() - 1));
        });
    });
}

void TRpx2Form::ShowStateCounts(const QString &counts)
{
    StatusPanel1->setText(counts);
}

// "Zakázka N z M" for the list's current order, once the list has been counted (a new order
// being taken in keeps its own text).
void TRpx2Form::showListPosition()
{
    const OrderList &list = m_data->orderList();
    if (m_state == OrderFormState::Insert || list.isEmpty())
        return;
    if (!list.isCounted()) {
        StatusPanel0->clear();
        return;
    }
    StatusPanel0->setText(formatText(rpxText("Rpx2.OrderSelectedCount"),
                                     { list.currentRow() + 1, list.rowCount() }));
}

bool TRpx2Form::ShowCurrentOrder()
{
    OrderList &list = m_data->orderList();
    const QString id = list.currentOrderId();
    std::optional<COrder> order = m_data->GetOrder(id);
    if (!order)
        return false; // removed by another counter meanwhile; the next reload drops it
    const OrderView view = readOrderView(*order);
    SetOrderFormState(OrderFormState::Loading);
    fillOrderControls(view);
    m_customer = CCustomer{};
    m_customer->CustomerID = order->OrderCustomerID;
    m_loadedOrder = order;
    m_pendingPhotoSource.clear();
    m_acceptedPhoneType.clear();
    m_locked = false;
    SetOrderFormState(OrderFormState::Browse);
    LockIssuedOrder(order->OrderStateID == OrderStates::HandedBack);
    showListPosition();
    UpdateAccessoryControls();
    takeFormSnapshot();
    syncListSelection();
    return true;
}

// ----------------------------------------------------------------------------------------
// Filling and reading the controls

void TRpx2Form::fillTypeCombo(int typeId, const QList<IdName> &types)
{
    OrderTypeIDComboBox->clear();
    for (const IdName &type : types)
        OrderTypeIDComboBox->addItem(type.name, type.id);
    OrderTypeIDComboBox->setCurrentIndex(OrderTypeIDComboBox->findData(typeId));
}

// The state box with the order's state selected, and the state filter rebuilt from the same
// list (its selected index kept): both come from one reading of the states.
void TRpx2Form::fillStateLists(int stateId, const QString &filterFirstEntry,
                               const QList<IdName> &states)
{
    OrderStateComboBox->clear();
    for (const IdName &state : states)
        OrderStateComboBox->addItem(state.name, state.id);
    OrderStateComboBox->setCurrentIndex(OrderStateComboBox->findData(stateId));

    const int index = OrderStateComboBoxFilter->currentIndex();
    const QSignalBlocker blocker(OrderStateComboBoxFilter);
    OrderStateComboBoxFilter->clear();
    OrderStateComboBoxFilter->addItem(filterFirstEntry, 0);
    for (const IdName &state : states)
        OrderStateComboBoxFilter->addItem(state.name, state.id);
    OrderStateComboBoxFilter->setCurrentIndex(qBound(0, index, OrderStateComboBoxFilter->count() - 1));
}

void TRpx2Form::setLinkLook(QLabel *label, bool link)
{
    QFont font = label->font();
    font.setUnderline(link);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, link ? QApplication::palette().color(QPalette::Link)
                                                : QApplication::palette().color(QPalette::WindowText));
    label->setPalette(palette);
    label->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TRpx2Form::setPhotoFile(const QString &fileName)
{
    m_photoFile = fileName;
    OrderRepairImage->setIcon(QIcon(photoPicture(!fileName.isEmpty())));
    // (Before the texts are read, while the window is built, the hint stays empty: an early
    // lookup would fix the language before the database names it.)
    if (!fileName.isEmpty())
        OrderRepairImage->setToolTip(fileName);
    else if (CSimpleResources::instance().isLoaded())
        OrderRepairImage->setToolTip(rpxText("Rpx2.NoPhoto"));
}

void TRpx2Form::setImeiBackground()
{
    ImeiChecks::styleImeiBox(OrderPhoneIMEIEdit, m_emailSent);
}

TRpx2Form::OrderView TRpx2Form::readOrderView(const COrder &order)
{
    CConfig &config = m_data->config();
    OrderView view;
    view.order = order;
    if (order.OrderCustomerID != 0)
        view.customer = m_data->GetCustomer(order.OrderCustomerID);
    view.types = m_data->GetOrderTypes();
    view.states = m_data->GetOrderStates();
    view.mainCurrency = config.GetMainCurrency();
    view.secondaryCurrency = config.GetSecondaryCurrency();
    view.wwwUrl = config.GetOrderWwwUrl();
    return view;
}

void TRpx2Form::fillOrderControls(const OrderView &view)
{
    const COrder &o = view.order;
    const QString &mainCurrency = view.mainCurrency;
    const QString &secondaryCurrency = view.secondaryCurrency;
    auto currency = [](const QString &stored, const QString &setting) { return stored.isEmpty() ? setting : stored; };

    OrderIDEdit->setText(o.OrderID);
    fillTypeCombo(o.OrderTypeID, view.types);
    OrderReceiptDateDateTimePicker->setDate(shownDate(o.OrderReceiptDate).date());
    OrderReceiptTimeDateTimePicker->setTime(shownDate(o.OrderReceiptDate).time());
    OrderDeadlineDateDateTimePicker->setDate(shownDate(o.OrderDeadlineDate).date());
    OrderFaultDescriptionMemo->setPlainText(o.OrderFaultDescription);
    OrderPriceEdit->setText(o.OrderExpectedPricePrimary);
    OrderCurrencyLabel->setText(currency(o.OrderExpectedCurrencyPrimary, mainCurrency));
    OrderPriceSecondaryEdit->setText(o.OrderExpectedPriceSecondary);
    OrderCurrencySecondaryLabel->setText(currency(o.OrderExpectedCurrencySecondary, secondaryCurrency));

    fillStateLists(o.OrderStateID, rpxText("Rpx2.OrderStateComboBoxFilterAll"), view.states);

    OrderEngineerComboBox->setSingleEntry(o.OrderEngineerName);
    OrderRepairDescriptionMemo->setPlainText(o.OrderRepairDescription);
    OrderSoftwareCheckBox->setChecked(o.OrderSoftware);
    OrderIssueDateDateTimePicker->setDate(shownDate(o.OrderIssueDate).date());
    OrderIssueTimeDateTimePicker->setTime(shownDate(o.OrderIssueDate).time());
    OrderIssuePriceEdit->setText(CConfig::formatGeneral(o.OrderFinalPricePrimary));
    OrderIssuePriceSecondaryEdit->setText(CConfig::formatGeneral(o.OrderFinalPriceSecondary));
    OrderIssueComponentPriceEdit->setText(CConfig::formatGeneral(o.OrderComponentsPricePrimary));
    OrderIssueComponentPriceSecondaryEdit->setText(CConfig::formatGeneral(o.OrderComponentsPriceSecondary));
    OrderIssueCurrencyLabel->setText(currency(o.OrderFinalCurrencyPrimary, mainCurrency));
    OrderIssueCurrencySecondaryLabel->setText(currency(o.OrderFinalCurrencySecondary, secondaryCurrency));
    OrderIssueComponentCurrencyLabel->setText(currency(o.OrderComponentsCurrencyPrimary, mainCurrency));
    OrderIssueComponentCurrencySecondaryLabel->setText(currency(o.OrderComponentsCurrencySecondary, secondaryCurrency));
    OrderRepairNoteMemo->setPlainText(o.OrderRepairNote);

    setPhotoFile(o.OrderRepairImage);

    const QString &url = view.wwwUrl;
    const CCustomer c = view.customer.value_or(CCustomer {});
    setLinkLook(CustomerCodeLabel, !url.isEmpty() && !c.CustomerCode.isEmpty());
    OrderCustomerCodeEdit->setText(c.CustomerCode);
    OrderCustomerNameEdit->setText(c.CustomerName);
    OrderCustomerStreetEdit->setText(c.CustomerStreet);
    OrderCustomerCityEdit->setText(c.CustomerCity);
    OrderCustomerPSCEdit->setText(c.CustomerPSC);
    OrderCustomerPhoneNoEdit->setText(c.CustomerPhoneNo);
    OrderCustomerEMailEdit->setText(c.CustomerEMail);
    showCustomerStart();
    NotifyEmailButton->setEnabled(!c.CustomerEMail.isEmpty());
    setLinkLook(OrderPhoneIMEILabel, !url.isEmpty() && !o.OrderPhoneIMEI.isEmpty());

    OrderPhoneCheckBox->setChecked(o.OrderPhone);
    OrderPhoneIMEIEdit->setText(o.OrderPhoneIMEI);
    OrderBatteryCheckBox->setChecked(o.OrderBattery);
    OrderBatterySNEdit->setText(o.OrderBatterySN);
    OrderSimCheckBox->setChecked(o.OrderSIM);
    OrderChargerCheckBox->setChecked(o.OrderCharger);
    OrderWarrantyCertCheckBox->setChecked(o.OrderWarrantyCert);
    OrderCoverCheckBox->setChecked(o.OrderCover);
    OrderNoteMemo->setPlainText(o.OrderNote);
    OrderPhoneTypeComboBox->setSingleEntry(o.OrderPhoneType);
    OrderBatteryTypeComboBox->setSingleEntry(o.OrderBatteryType);

    m_emailSent = o.OrderEmailSent;
    setImeiBackground();
    m_invalidPrices.clear();
    for (QLineEdit *price : {OrderIssuePriceEdit, OrderIssueComponentPriceEdit})
        setBackground(price, QColor());
}

void TRpx2Form::clearOrderControls()
{
    const OrderView view = readOrderView(COrder {});
    const OrderFormState previous = m_state;
    m_state = OrderFormState::Loading;
    fillOrderControls(view);
    m_customer.reset();
    m_loadedOrder.reset();
    m_state = previous;
    takeFormSnapshot();
}

void TRpx2Form::showCustomerStart()
{
    for (QLineEdit *box : { OrderCustomerCodeEdit, OrderCustomerNameEdit, OrderCustomerStreetEdit,
                            OrderCustomerCityEdit, OrderCustomerPSCEdit, OrderCustomerPhoneNoEdit,
                            OrderCustomerEMailEdit })
        box->setCursorPosition(0);
}

COrder TRpx2Form::ReadOrderControls() const
{
    CConfig &config = m_data->config();
    COrder o;
    o.OrderID = OrderIDEdit->text();
    o.OrderTypeID = OrderTypeIDComboBox->currentData().toInt();
    auto stored = [this](QDateTime COrder::*date) -> std::optional<QDateTime> {
        if (!m_loadedOrder)
            return std::nullopt;
        return (*m_loadedOrder).*date;
    };
    o.OrderReceiptDate
        = pickedDate(OrderReceiptDateDateTimePicker->date(), OrderReceiptTimeDateTimePicker->time(),
                     stored(&COrder::OrderReceiptDate));
    o.OrderDeadlineDate = pickedDate(OrderDeadlineDateDateTimePicker->date(), std::nullopt,
                                     stored(&COrder::OrderDeadlineDate));
    o.OrderFaultDescription = OrderFaultDescriptionMemo->toPlainText();
    o.OrderExpectedPricePrimary = OrderPriceEdit->text();
    o.OrderExpectedCurrencyPrimary = config.GetMainCurrency();
    o.OrderExpectedPriceSecondary = OrderPriceSecondaryEdit->text();
    o.OrderExpectedCurrencySecondary = config.GetSecondaryCurrency();
    o.OrderCustomerID = m_customer ? m_customer->CustomerID : 0;
    o.OrderStateID = OrderStateComboBox->currentData().toInt();
    o.OrderEngineerName = OrderEngineerComboBox->value();
    o.OrderRepairDescription = OrderRepairDescriptionMemo->toPlainText();
    o.OrderSoftware = OrderSoftwareCheckBox->isChecked();
    o.OrderIssueDate
        = pickedDate(OrderIssueDateDateTimePicker->date(), OrderIssueTimeDateTimePicker->time(),
                     stored(&COrder::OrderIssueDate));
    // An order is handed back on its day of hand-back; one not handed back has none (the
    // box shows a proposal only), unless it was handed back before and keeps that day.
    if (o.OrderStateID != OrderStates::HandedBack
        && !(m_loadedOrder && m_loadedOrder->OrderIssueDate.isValid()))
        o.OrderIssueDate = QDateTime();
    o.OrderFinalPricePrimary = readPrice(OrderIssuePriceEdit->text());
    o.OrderFinalCurrencyPrimary = o.OrderExpectedCurrencyPrimary;
    o.OrderFinalPriceSecondary = readPrice(OrderIssuePriceSecondaryEdit->text());
    o.OrderFinalCurrencySecondary = o.OrderExpectedCurrencySecondary;
    o.OrderComponentsPricePrimary = readPrice(OrderIssueComponentPriceEdit->text());
    o.OrderComponentsCurrencyPrimary = o.OrderExpectedCurrencyPrimary;
    o.OrderComponentsPriceSecondary = readPrice(OrderIssueComponentPriceSecondaryEdit->text());
    o.OrderComponentsCurrencySecondary = o.OrderExpectedCurrencySecondary;
    o.OrderRepairNote = OrderRepairNoteMemo->toPlainText();
    o.OrderRepairImage = m_photoFile;
    o.OrderPhone = OrderPhoneCheckBox->isChecked();
    o.OrderPhoneType = OrderPhoneTypeComboBox->value();
    o.OrderPhoneIMEI = OrderPhoneIMEIEdit->text();
    o.OrderBattery = OrderBatteryCheckBox->isChecked();
    o.OrderBatteryType = OrderBatteryTypeComboBox->value();
    o.OrderBatterySN = OrderBatterySNEdit->text();
    o.OrderCharger = OrderChargerCheckBox->isChecked();
    o.OrderCover = OrderCoverCheckBox->isChecked();
    o.OrderSIM = OrderSimCheckBox->isChecked();
    o.OrderWarrantyCert = OrderWarrantyCertCheckBox->isChecked();
    o.OrderNote = OrderNoteMemo->toPlainText();
    o.OrderEmailSent = m_emailSent;
    return o;
}

// The customer's boxes (name to e-mail) over the given record's other fields.
CCustomer TRpx2Form::customerFromBoxes(CCustomer c) const
{
    c.CustomerName = OrderCustomerNameEdit->text();
    c.CustomerStreet = OrderCustomerStreetEdit->text();
    c.CustomerCity = OrderCustomerCityEdit->text();
    c.CustomerPSC = OrderCustomerPSCEdit->text();
    c.CustomerPhoneNo = OrderCustomerPhoneNoEdit->text();
    c.CustomerEMail = OrderCustomerEMailEdit->text();
    return c;
}

CCustomer &TRpx2Form::GetOrderCustomer()
{
    if (!m_customer) {
        CCustomer c;
        c.CustomerShowCode = true;
        c.CustomerCode = OrderCustomerCodeEdit->text();
        m_customer = customerFromBoxes(c);
    }
    return *m_customer;
}

void TRpx2Form::LockIssuedOrder(bool locked)
{
    m_locked = locked;
    ActionCustomerSelect->setEnabled(!locked);
    ActionOrderChange->setEnabled(locked && m_state == OrderFormState::Browse);
    for (QWidget *w : std::initializer_list<QWidget *>{
             OrderTypeIDComboBox, OrderReceiptDateDateTimePicker, OrderReceiptTimeDateTimePicker,
             OrderDeadlineDateDateTimePicker, OrderFaultDescriptionMemo, OrderPriceEdit, OrderStateComboBox,
             OrderEngineerComboBox, OrderRepairDescriptionMemo, OrderSoftwareCheckBox,
             OrderIssueDateDateTimePicker, OrderIssueTimeDateTimePicker, OrderIssuePriceEdit,
             OrderIssueComponentPriceEdit, OrderRepairNoteMemo, OrderRepairImage, OrderPhoneCheckBox,
             OrderBatteryCheckBox, OrderPhoneTypeComboBox, OrderPhoneIMEIEdit, OrderBatteryTypeComboBox,
             OrderBatterySNEdit, OrderSimCheckBox, OrderChargerCheckBox, OrderWarrantyCertCheckBox,
             OrderCoverCheckBox, OrderNoteMemo})
        w->setEnabled(!locked);
    for (QWidget *w : {OrderPriceSecondaryEdit, OrderIssuePriceSecondaryEdit, OrderIssueComponentPriceSecondaryEdit})
        w->setEnabled(false);
    bool customerSelect = false;
    runGuarded([&] { customerSelect = m_data->config().GetCustomerSelect(); });
    for (QWidget *w : {OrderCustomerNameEdit, OrderCustomerStreetEdit, OrderCustomerCityEdit,
                       OrderCustomerPSCEdit, OrderCustomerPhoneNoEdit, OrderCustomerEMailEdit})
        w->setEnabled(!locked && !customerSelect);
    if (!locked)
        UpdateAccessoryControls();
}

void TRpx2Form::UpdateAccessoryControls()
{
    const bool phone = OrderPhoneCheckBox->isEnabled() && OrderPhoneCheckBox->isChecked();
    const bool battery = OrderBatteryCheckBox->isEnabled() && OrderBatteryCheckBox->isChecked();
    OrderPhoneTypeComboBox->setEnabled(phone);
    OrderPhoneIMEIEdit->setEnabled(phone);
    OrderBatteryTypeComboBox->setEnabled(battery);
    OrderBatterySNEdit->setEnabled(battery);
}

// ----------------------------------------------------------------------------------------
// Change tracking

void TRpx2Form::defineFormFields()
{
    auto text = [](QLineEdit *edit) {
        return FormField { [edit] { return QVariant(edit->text()); },
                           [edit](const QVariant &v) { edit->setText(v.toString()); } };
    };
    auto memo = [](QPlainTextEdit *edit) {
        return FormField { [edit] { return QVariant(edit->toPlainText()); },
                           [edit](const QVariant &v) { edit->setPlainText(v.toString()); } };
    };
    auto flag = [](QCheckBox *box) {
        return FormField { [box] { return QVariant(box->isChecked()); },
                           [box](const QVariant &v) { box->setChecked(v.toBool()); } };
    };
    auto date = [](QDateEdit *edit) {
        return FormField { [edit] { return QVariant(edit->date()); },
                           [edit](const QVariant &v) { edit->setDate(v.toDate()); } };
    };
    auto time = [](QTimeEdit *edit) {
        return FormField { [edit] { return QVariant(edit->time()); },
                           [edit](const QVariant &v) { edit->setTime(v.toTime()); } };
    };
    auto idList = [](QComboBox *box) {
        return FormField { [box] {
                              return box->currentIndex() < 0 ? QVariant() : box->currentData();
                          },
                           [box](const QVariant &v) { box->setCurrentIndex(box->findData(v)); } };
    };
    auto suggestion = [](SuggestComboBox *box) {
        return FormField { [box] { return QVariant(box->value()); },
                           [box](const QVariant &v) { box->setSingleEntry(v.toString()); } };
    };
    // The secondary amounts are left out: they follow from the prices and are never typed.
    m_formFields = {
        idList(OrderTypeIDComboBox),
        date(OrderReceiptDateDateTimePicker),
        time(OrderReceiptTimeDateTimePicker),
        date(OrderDeadlineDateDateTimePicker),
        memo(OrderFaultDescriptionMemo),
        text(OrderPriceEdit),
        idList(OrderStateComboBox),
        suggestion(OrderEngineerComboBox),
        memo(OrderRepairDescriptionMemo),
        flag(OrderSoftwareCheckBox),
        date(OrderIssueDateDateTimePicker),
        time(OrderIssueTimeDateTimePicker),
        text(OrderIssuePriceEdit),
        text(OrderIssueComponentPriceEdit),
        memo(OrderRepairNoteMemo),
        flag(OrderPhoneCheckBox),
        suggestion(OrderPhoneTypeComboBox),
        text(OrderPhoneIMEIEdit),
        flag(OrderBatteryCheckBox),
        suggestion(OrderBatteryTypeComboBox),
        text(OrderBatterySNEdit),
        flag(OrderSimCheckBox),
        flag(OrderChargerCheckBox),
        flag(OrderWarrantyCertCheckBox),
        flag(OrderCoverCheckBox),
        memo(OrderNoteMemo),
    };
    // The photo: its name and, for a new order, the picture still to be copied.
    m_formFields.push_back({ [this] {
                                return QVariant(QStringList { m_photoFile, m_pendingPhotoSource });
                            },
                             [this](const QVariant &v) {
                                 const QStringList photo = v.toStringList();
                                 setPhotoFile(photo.value(0));
                                 m_pendingPhotoSource = photo.value(1);
                             } });
    // The customer as one: the boxes and the record the order is linked to.
    m_formFields.push_back(
        { [this] {
             QStringList values;
             for (QLineEdit *box :
                  { OrderCustomerCodeEdit, OrderCustomerNameEdit, OrderCustomerStreetEdit,
                    OrderCustomerCityEdit, OrderCustomerPSCEdit, OrderCustomerPhoneNoEdit,
                    OrderCustomerEMailEdit })
                 values.append(box->text());
             values.append(m_customer ? QString::number(m_customer->CustomerID) : QString());
             return QVariant(values);
         },
          [this](const QVariant &v) {
              const QStringList values = v.toStringList();
              int i = 0;
              for (QLineEdit *box :
                   { OrderCustomerCodeEdit, OrderCustomerNameEdit, OrderCustomerStreetEdit,
                     OrderCustomerCityEdit, OrderCustomerPSCEdit, OrderCustomerPhoneNoEdit,
                     OrderCustomerEMailEdit })
                  box->setText(values.value(i++));
              showCustomerStart();
              m_customer.reset();
              if (!values.value(i).isEmpty()) {
                  m_customer = CCustomer {};
                  m_customer->CustomerID = values.value(i).toInt();
              }
          } });
}

QVariantList TRpx2Form::formValues() const
{
    QVariantList values;
    values.reserve(qsizetype(m_formFields.size()));
    for (const FormField &field : m_formFields)
        values.append(field.get());
    return values;
}

void TRpx2Form::takeFormSnapshot()
{
    m_formSnapshot = formValues();
}

void TRpx2Form::OrderChange()
{
    if (!m_data || m_data->orderList().isEmpty())
        return;
    if (m_state != OrderFormState::Browse)
        return;
    // Only what the clerk changed counts: a value written back unchanged (a derived amount,
    // a refilled suggestion list) leaves the order shown as it is.
    if (formValues() == m_formSnapshot)
        return;
    SetOrderFormState(OrderFormState::Edit);
    if (OrderStateComboBox->currentIndex() >= 0
        && OrderStateComboBox->currentData().toInt() == OrderStates::HandedBack) {
        const QDateTime now = Clock::now();
        OrderIssueDateDateTimePicker->setDate(now.date());
        OrderIssueTimeDateTimePicker->setTime(now.time());
    }
}

void TRpx2Form::OrderStateChanged()
{
    OrderChange();
}

void TRpx2Form::CustomerChange()
{
    if (m_state == OrderFormState::Loading)
        return;
    // With no order shown there is nothing to change (as for the order's own boxes): the
    // clerk begins a new order with Nová.
    if (m_state == OrderFormState::Browse && m_data->orderList().isEmpty())
        return;
    if (m_state == OrderFormState::Browse)
        SetOrderFormState(OrderFormState::Edit);
    // A hand-changed customer of an existing order becomes a new customer when stored;
    // the customer chosen for a new order stays linked.
    if (m_state != OrderFormState::Insert)
        m_customer.reset();
}

void TRpx2Form::PriceChange(QLineEdit *edit)
{
    OrderChange();
    if (isValidFinalPrice(edit->text())) {
        setBackground(edit, QColor());
        m_invalidPrices.remove(edit);
    } else {
        setBackground(edit, QColor(0xff, 0x80, 0x80));
        m_invalidPrices.insert(edit);
    }
}

void TRpx2Form::PriceEditExit(QLineEdit *primary, QLineEdit *secondary)
{
    // Leaving a price box of a shown order changes nothing: its amounts are as stored.
    if (!m_data || !m_data->isOpen()
        || (m_state != OrderFormState::Insert && m_state != OrderFormState::Edit))
        return;
    const double rate = m_data->config().GetExchangeRate();
    bool ok = false;
    const double price = primary->text().trimmed().toDouble(&ok);
    if (!ok || rate == 0.0)
        return;
    // Hundredths rounded to the nearest whole number, a half to the even neighbour.
    const double value = std::nearbyint(price / rate * 100.0) / 100.0;
    bool shownOk = false;
    const double shown = secondary->text().trimmed().toDouble(&shownOk);
    if (shownOk && std::nearbyint(shown * 100.0) == std::nearbyint(value * 100.0))
        return; // the same amount: nothing to write
    secondary->setText(QString::asprintf("%.2f", value));
}

// ----------------------------------------------------------------------------------------
// The list, its filters and totals

void TRpx2Form::FilterChange()
{
    Timer->start();
    if (m_data)
        m_data->config().SetOrderAgeFilter(OrderAgeComboBox->currentIndex());
}

void TRpx2Form::TimerTimer()
{
    Timer->stop();
    // A reload would show the list's first row and drop an order being typed in: it waits
    // until the order is stored or cancelled.
    if (m_state == OrderFormState::Insert || m_state == OrderFormState::Edit) {
        m_reloadPending = true;
        return;
    }
    ReloadOrderList();
}

void TRpx2Form::runPendingReload()
{
    if (m_reloadPending) {
        m_reloadPending = false;
        ReloadOrderList();
    }
}

void TRpx2Form::ReloadOrderList()
{
    // This reload reads every filter as it is now, so a filter reload still due would only
    // repeat it and move the list away from the order just stored.
    Timer->stop();
    m_reloadPending = false;
    OrderFilter filter;
    filter.orderId = OrderIDEditFilter->text().trimmed();
    filter.stateId = OrderStateComboBoxFilter->currentData().toInt();
    filter.engineerName = OrderEngineerComboBoxFilter->currentText().trimmed();
    filter.customerName = CustomerNameEditFilter->text().trimmed();
    filter.customerCity = CustomerCityEditFilter->text().trimmed();
    filter.customerPhoneNo = CustomerPhoneNoEditFilter->text().trimmed();
    filter.customerEMail = CustomerEMailEditFilter->text().trimmed();
    filter.phoneType = OrderPhoneTypeComboBoxFilter->currentText().trimmed();
    filter.phoneImei = OrderPhoneIMEIEditFilter->text().trimmed();
    filter.ageDays = OrderAgeComboBox->currentData().toInt();
    m_data->orderList().reload(filter);
    // A filter that matches nothing leaves no order to show (a reopened list that has rows
    // shows its first one).
    if (m_state == OrderFormState::Browse && m_data->orderList().isEmpty())
        showNoOrder();
    updateActions();
    syncListSelection();
}

void TRpx2Form::syncListSelection()
{
    if (!m_data || m_syncingSelection)
        return;
    m_syncingSelection = true;
    const int row = m_data->orderList().currentRow();
    if (row >= 0) {
        const QModelIndex index = OrderListDBGrid->model()->index(row, 0);
        OrderListDBGrid->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        OrderListDBGrid->scrollTo(index);
    } else if (OrderListDBGrid->selectionModel()) {
        OrderListDBGrid->selectionModel()->clearSelection();
    }
    OrderListDBGrid->viewport()->update();
    m_syncingSelection = false;
}

void TRpx2Form::showListCursorOrder()
{
    const QModelIndex index = OrderListDBGrid->currentIndex();
    if (m_data && index.isValid() && index.row() != m_data->orderList().currentRow())
        runGuarded([this, row = index.row()] { listRowActivated(row); });
}

void TRpx2Form::listRowActivated(int row)
{
    if (!m_data->orderList().moveTo(row))
        syncListSelection(); // refused (an order is being edited) or the same row
}

void TRpx2Form::ShowOrderTotals()
{
    const QDate today = Clock::today();
    OrderSumValueLabel->setText(QString::asprintf("%.2f", m_data->GetRevenueTotal()));
    OrderSumTodayValueLabel->setText(QString::asprintf(
        "%.2f",
        m_data->GetRevenueBetween(Clock::startOfDay(today), Clock::startOfDay(today.addDays(1)))));
}

void TRpx2Form::ShowFilters(bool visible)
{
    m_filtersVisible = visible;
    for (QWidget *w : std::initializer_list<QWidget *>{OrderIDEditFilter, OrderStateComboBoxFilter,
                           OrderEngineerComboBoxFilter, CustomerNameEditFilter, CustomerPhoneNoEditFilter,
                           OrderPhoneTypeComboBoxFilter, OrderPhoneIMEIEditFilter})
        w->setVisible(visible);
    CustomerCityEditFilter->setVisible(visible && !m_easyCustomer);
    CustomerEMailEditFilter->setVisible(visible && !m_easyCustomer);
    for (QWidget *w : std::initializer_list<QWidget *>{OrderCustomerStreetEdit, OrderCustomerCityEdit,
                           OrderCustomerPSCEdit, OrderCustomerEMailEdit, CustomerStreetLabel, CustomerCityLabel,
                           CustomerPSCLabel, CustomerEMailLabel})
        w->setVisible(!m_easyCustomer);
}

void TRpx2Form::ShowOrderList(bool visible)
{
    OrdersPanel->setVisible(visible);
}

// ----------------------------------------------------------------------------------------
// New, store, cancel

void TRpx2Form::ActionOrderNewExecute()
{
    CConfig &config = m_data->config();
    const QList<IdName> types = m_data->GetOrderTypes();
    const QList<IdName> states = m_data->GetOrderStates();
    LockIssuedOrder(false);
    m_customer.reset();
    SetOrderFormState(OrderFormState::Loading);
    const QDateTime now = Clock::now();
    const QDate deadline = now.date().addDays(config.GetDaysToDeadline());
    const QString mainCurrency = config.GetMainCurrency();
    const QString secondaryCurrency = config.GetSecondaryCurrency();

    OrderIDEdit->clear();
    fillTypeCombo(OrderTypes::Paid, types);
    OrderReceiptDateDateTimePicker->setDate(now.date());
    OrderReceiptTimeDateTimePicker->setTime(now.time());
    OrderDeadlineDateDateTimePicker->setDate(deadline);
    OrderFaultDescriptionMemo->clear();
    OrderPriceEdit->setText(QStringLiteral("0"));
    OrderPriceSecondaryEdit->setText(QStringLiteral("0"));
    for (QLabel *l : {OrderCurrencyLabel, OrderIssueCurrencyLabel, OrderIssueComponentCurrencyLabel})
        l->setText(mainCurrency);
    for (QLabel *l : {OrderCurrencySecondaryLabel, OrderIssueCurrencySecondaryLabel,
                      OrderIssueComponentCurrencySecondaryLabel})
        l->setText(secondaryCurrency);
    fillStateLists(OrderStates::InRepair, QStringLiteral("Vše"), states);
    OrderEngineerComboBox->setSingleEntry(config.GetDefaultEngineer());
    OrderRepairDescriptionMemo->clear();
    OrderSoftwareCheckBox->setChecked(false);
    OrderIssueDateDateTimePicker->setDate(deadline);
    OrderIssueTimeDateTimePicker->setTime(QTime(0, 0));
    for (QLineEdit *e : {OrderIssuePriceEdit, OrderIssuePriceSecondaryEdit, OrderIssueComponentPriceEdit,
                         OrderIssueComponentPriceSecondaryEdit})
        e->setText(QStringLiteral("0"));
    OrderRepairNoteMemo->clear();
    setPhotoFile(QString());
    m_pendingPhotoSource.clear();
    m_emailSent = false;
    OrderCustomerCodeEdit->setText(CustomerCode::draw());
    for (QLineEdit *e : {OrderCustomerNameEdit, OrderCustomerStreetEdit, OrderCustomerCityEdit,
                         OrderCustomerPSCEdit, OrderCustomerPhoneNoEdit, OrderCustomerEMailEdit})
        e->clear();
    NotifyEmailButton->setEnabled(false);
    OrderPhoneCheckBox->setChecked(true);
    OrderBatteryCheckBox->setChecked(true);
    OrderPhoneTypeComboBox->setSingleEntry(QString());
    OrderPhoneIMEIEdit->clear();
    setImeiBackground();
    OrderBatteryTypeComboBox->setSingleEntry(QStringLiteral("Li-ion"));
    OrderBatterySNEdit->clear();
    for (QCheckBox *c : {OrderSimCheckBox, OrderChargerCheckBox, OrderWarrantyCertCheckBox, OrderCoverCheckBox})
        c->setChecked(false);
    OrderNoteMemo->clear();
    m_invalidPrices.clear();
    for (QLineEdit *price : {OrderIssuePriceEdit, OrderIssueComponentPriceEdit})
        setBackground(price, QColor());
    setLinkLook(CustomerCodeLabel, false);
    setLinkLook(OrderPhoneIMEILabel, false);

    m_loadedOrder.reset();
    m_acceptedPhoneType.clear();
    SetOrderFormState(OrderFormState::Insert);
    UpdateAccessoryControls();
    takeFormSnapshot();
    StatusPanel0->setText(QStringLiteral("Zakázka: nová"));
    if (config.GetCustomerSelect())
        CustomerSelectButton->setFocus();
    else
        OrderCustomerNameEdit->setFocus();
}

void TRpx2Form::ActionOrderStoreExecute()
{
    storeOrder();
}

bool TRpx2Form::storeOrder()
{
    CConfig &config = m_data->config();
    auto refuse = [](const char *key) {
        Ui::instance().message(rpxText(key), appErrorTitle(), Prompts::Icon::Error);
        return false;
    };
    // Storing straight from the device type box leaves it: the same check as leaving it
    // any other way (the store button takes no focus, Ctrl+S leaves it where it is).
    if (OrderPhoneTypeComboBox->hasFocus() && !OrderPhoneTypeComboBoxExit())
        return false;
    // Storing from inside a price box counts as leaving it, so its secondary amount is
    // derived before the record.
    for (auto [primary, secondary] : {std::pair{OrderPriceEdit, OrderPriceSecondaryEdit},
                                      std::pair{OrderIssuePriceEdit, OrderIssuePriceSecondaryEdit},
                                      std::pair{OrderIssueComponentPriceEdit, OrderIssueComponentPriceSecondaryEdit}})
        if (primary->hasFocus())
            PriceEditExit(primary, secondary);
    // Likewise from inside the IMEI box: a device that was here before reopens its earlier
    // order, which the clerk then sees before storing.
    if (OrderPhoneIMEIEdit->hasFocus() && m_state == OrderFormState::Insert) {
        OrderPhoneIMEIEditExit();
        if (m_state != OrderFormState::Insert)
            return false;
    }
    if (OrderStateComboBox->currentIndex() < 0 || OrderTypeIDComboBox->currentIndex() < 0) {
        Ui::instance().message(rpxText("Rpx2.TypeOrStateMissing"), appErrorTitle(),
                               Prompts::Icon::Error);
        return false;
    }
    const int stateId = OrderStateComboBox->currentData().toInt();
    const bool inserting = m_state == OrderFormState::Insert;
    if (stateId == OrderStates::HandedBack) {
        if (OrderRepairDescriptionMemo->toPlainText().isEmpty())
            return refuse("Rpx2.RepairNotFilled");
        // The day of the hand-back: an order that was handed back already (stored again to
        // correct it, or reopened for a returning device) keeps its day, so that past takings
        // do not move to today.
        const bool handedBackBefore = !inserting && m_loadedOrder
                                      && m_loadedOrder->OrderStateID == OrderStates::HandedBack;
        if (!handedBackBefore)
            OrderIssueDateDateTimePicker->setDate(Clock::today());
    }
    if (inserting) {
        if (config.GetCustomerSelect() && !m_customer)
            return refuse("Rpx2.CustomerNotChosen");
        if (OrderCustomerNameEdit->text().isEmpty())
            return refuse("Rpx2.CustomerNotFilled");
        if (config.GetEngineerMandatory() && OrderEngineerComboBox->value().isEmpty())
            return refuse("Rpx2.EngineerNotFilled");
    }
    // An empty final or parts price cannot be stored either: it is refused here, before
    // anything is written, like any other invalid price.
    for (QLineEdit *price : {OrderIssuePriceEdit, OrderIssueComponentPriceEdit}) {
        if (!isValidFinalPrice(price->text())) {
            setBackground(price, QColor(0xff, 0x80, 0x80));
            m_invalidPrices.insert(price);
        }
    }
    if (!m_invalidPrices.isEmpty())
        return refuse("Rpx2.PriceNotFilled");

    // A customer chosen for a new order and then changed in the boxes: the clerk says whether
    // the register takes the changes; either way the order goes to that customer.
    std::optional<CCustomer> customerChanges;
    if (inserting && m_customer && m_customer->CustomerID != 0) {
        const CCustomer typed = customerFromBoxes(*m_customer);
        if (typed != *m_customer
            && Ui::instance().ask(
                   formatText(rpxText("Rpx2.CustomerStoreChanges"), { m_customer->CustomerName }),
                   rpxText("Global.AppName"), Prompts::Buttons::YesNo)
                == Prompts::Answer::Yes)
            customerChanges = typed;
    }

    const int position = m_data->orderList().currentRow();
    COrder order = ReadOrderControls();
    // A new order's photo is referenced only once its copy exists (below).
    if (inserting && !m_pendingPhotoSource.isEmpty())
        order.OrderRepairImage.clear();
    const bool newCustomer = !m_customer || m_customer->CustomerID == 0;
    CCustomer &customer = GetOrderCustomer();
    std::optional<COrder> stored;
    try {
        TRpx2Data::WriteTransaction transaction(*m_data);
        if (newCustomer)
            m_data->StoreCustomer(customer);
        else if (customerChanges)
            // Only when no other program changed the customer since it was chosen.
            m_data->StoreCustomer(*customerChanges, &customer);
        order.OrderCustomerID = customer.CustomerID;
        if (inserting) {
            m_data->StoreNewOrder(order);
        } else {
            // Stored only when no other program changed the order since it was shown.
            m_data->StoreOrder(order, m_loadedOrder ? &*m_loadedOrder : nullptr);
            OrderNumbering::UpdateCounter(*m_data, order.OrderID);
        }
        stored = m_data->GetOrder(order.OrderID);
        transaction.commit();
    } catch (const RpxError &e) {
        // Nothing was written: the customer typed for this order is still to be stored.
        if (newCustomer)
            m_customer.reset();
        // (A new order conflicts with nobody: only the chosen customer can have changed.)
        if (customerChanges
            && (e.kind() == RpxError::Kind::Changed || e.kind() == RpxError::Kind::Deleted)) {
            customerChangedMeanwhile(e.kind() == RpxError::Kind::Deleted);
            return false;
        }
        if (e.kind() == RpxError::Kind::Changed) {
            Ui::instance().message(rpxText("Rpx2.OrderChangedMeanwhile"), appErrorTitle(),
                                   Prompts::Icon::Warning);
            reapplyChangesToStoredOrder();
            return false;
        }
        if (e.kind() == RpxError::Kind::Deleted) {
            // The typed values stay for the clerk to read; Storno shows the list as it is.
            Ui::instance().message(rpxText("Rpx2.OrderDeletedMeanwhile"), appErrorTitle(),
                                   Prompts::Icon::Warning);
            return false;
        }
        throw;
    } catch (...) {
        if (newCustomer)
            m_customer.reset();
        throw;
    }
    // The row as stored is what the next change is compared with, even should showing it
    // fail below.
    m_loadedOrder = stored;
    if (customerChanges)
        m_customer = customerChanges;

    if (inserting && !m_pendingPhotoSource.isEmpty()) {
        const QString name = order.OrderID + QLatin1Char('-') + QFileInfo(m_pendingPhotoSource).fileName();
        const QString error = copyPhoto(m_pendingPhotoSource, AppPaths::photoDir() + QLatin1Char('/') + name);
        if (error.isEmpty())
            m_data->SetOrderRepairImage(order.OrderID, name);
        m_pendingPhotoSource.clear();
        if (!error.isEmpty())
            Ui::instance().message(error, rpxText("Rpx2.CantSaveFile"), Prompts::Icon::Information);
    }

    m_state = OrderFormState::Browse;
    ReloadOrderList();
    OrderList &list = m_data->orderList();
    if (list.isEmpty()) {
        SetOrderFormState(OrderFormState::Browse);
    } else {
        // Show the order just stored; when the filter hides it, the row it came from.
        const int row = list.rowOf(order.OrderID);
        if (row >= 0)
            list.moveTo(row);
        else if (!inserting)
            list.moveTo(qMin(position, list.rowCount() - 1));
    }
    ShowOrderTotals();
    for (const auto &hook : m_storeCompletions)
        hook(order.OrderID, stateId);
    return true;
}

// Another program changed the order since it was shown: the stored row is shown again
// with every change the clerk made on top, still to be stored. What the clerk did not touch
// shows the other program's values.
void TRpx2Form::reapplyChangesToStoredOrder()
{
    const QVariantList mine = formValues();
    const QVariantList shownBefore = m_formSnapshot;
    std::optional<COrder> current = m_data->GetOrder(OrderIDEdit->text());
    if (!current)
        return;
    // Handed back by the other program meanwhile: changing it now is changing a handed-back
    // order, which takes the password as Změnit does. Without it the order is shown locked.
    const bool handedBackMeanwhile = current->OrderStateID == OrderStates::HandedBack
                                     && (!m_loadedOrder
                                         || m_loadedOrder->OrderStateID != OrderStates::HandedBack);
    if (handedBackMeanwhile && !PasswordCheck::allowed(this, "Rpx2.InvalidPassword")) {
        ShowCurrentOrder();
        return;
    }
    const OrderView view = readOrderView(*current);
    m_state = OrderFormState::Loading;
    fillOrderControls(view);
    m_customer = CCustomer {};
    m_customer->CustomerID = current->OrderCustomerID;
    m_loadedOrder = current;
    takeFormSnapshot();
    for (qsizetype i = 0; i < mine.size() && i < qsizetype(m_formFields.size()); ++i)
        if (mine[i] != shownBefore.value(i))
            m_formFields[size_t(i)].set(mine[i]);
    m_locked = false;
    SetOrderFormState(OrderFormState::Edit);
    LockIssuedOrder(false);
    UpdateAccessoryControls();
}

// The customer chosen for a new order was changed or deleted by another program before the
// clerk's changes to it were stored: nothing is stored. The boxes show the customer as stored
// now with the clerk's changes on top, for the next store to ask about again; a deleted
// customer becomes a new one from the boxes.
void TRpx2Form::customerChangedMeanwhile(bool deleted)
{
    const CCustomer chosen = *m_customer;
    const std::optional<CCustomer> now
        = deleted ? std::nullopt : m_data->GetCustomer(chosen.CustomerID);
    Ui::instance().message(rpxText(now ? "CustomerSearch.CustomerChangedMeanwhile"
                                       : "CustomerSearch.CustomerDeletedMeanwhile"),
                           appErrorTitle(), Prompts::Icon::Warning);
    if (!now) {
        m_customer.reset();
        return;
    }
    for (auto [box, field] : { std::pair { OrderCustomerNameEdit, &CCustomer::CustomerName },
                               std::pair { OrderCustomerStreetEdit, &CCustomer::CustomerStreet },
                               std::pair { OrderCustomerCityEdit, &CCustomer::CustomerCity },
                               std::pair { OrderCustomerPSCEdit, &CCustomer::CustomerPSC },
                               std::pair { OrderCustomerPhoneNoEdit, &CCustomer::CustomerPhoneNo },
                               std::pair { OrderCustomerEMailEdit, &CCustomer::CustomerEMail } })
        if (box->text() == chosen.*field)
            box->setText((*now).*field);
    OrderCustomerCodeEdit->setText(now->CustomerCode);
    showCustomerStart();
    m_customer = now;
}

void TRpx2Form::addStoreCompletion(std::function<void(const QString &, int)> hook)
{
    m_storeCompletions.push_back(std::move(hook));
}

void TRpx2Form::ActionOrderCancelExecute()
{
    if (m_state != OrderFormState::Insert && m_state != OrderFormState::Edit) {
        Ui::instance().message(QStringLiteral("Invalid OrderFormState!"));
        return;
    }
    if (!confirmDiscard())
        return;
    discardEdits();
    runPendingReload();
}

// Shows the list's current order again in place of the entries; an order deleted meanwhile
// by another program gives way to the list as it is now.
void TRpx2Form::discardEdits()
{
    m_pendingPhotoSource.clear();
    if (!m_data->orderList().isEmpty() && ShowCurrentOrder())
        return;
    if (!m_data->orderList().isEmpty()) {
        m_state = OrderFormState::Browse;
        ReloadOrderList();
        if (!m_data->orderList().isEmpty())
            return;
    }
    showNoOrder();
}

// The list is empty: no order is shown, so nothing is left that printing, holding, changing,
// deleting, e-mailing or a photo could act on.
void TRpx2Form::showNoOrder()
{
    clearOrderControls();
    m_locked = false;
    SetOrderFormState(OrderFormState::Browse);
    LockIssuedOrder(false);
    ActionCustomerSelect->setEnabled(false);
    OrderRepairImage->setEnabled(false);
    StatusPanel0->clear();
}

void TRpx2Form::ActionCustomerSelectExecute()
{
    TCustomerSearchForm form(this);
    if (Ui::instance().exec(form) != QDialog::Accepted)
        return;
    const CCustomer chosen = form.currentCustomer();
    if (chosen.CustomerID == 0)
        return; // nobody was chosen
    if (m_state == OrderFormState::Browse)
        SetOrderFormState(OrderFormState::Edit);
    OrderCustomerCodeEdit->setText(chosen.CustomerCode);
    OrderCustomerNameEdit->setText(chosen.CustomerName);
    OrderCustomerStreetEdit->setText(chosen.CustomerStreet);
    OrderCustomerCityEdit->setText(chosen.CustomerCity);
    OrderCustomerPSCEdit->setText(chosen.CustomerPSC);
    OrderCustomerPhoneNoEdit->setText(chosen.CustomerPhoneNo);
    OrderCustomerEMailEdit->setText(chosen.CustomerEMail);
    showCustomerStart();
    m_customer = chosen;
}

// ----------------------------------------------------------------------------------------
// Accessories and the device type box

void TRpx2Form::OrderPhoneCheckBoxClick()
{
    const bool editing = m_state == OrderFormState::Insert || m_state == OrderFormState::Edit;
    if (!OrderPhoneCheckBox->isChecked()) {
        m_savedPhoneType = OrderPhoneTypeComboBox->value();
        m_savedImei = OrderPhoneIMEIEdit->text();
        OrderPhoneTypeComboBox->setSingleEntry(QString());
        OrderPhoneIMEIEdit->clear();
    } else if (editing) {
        OrderPhoneTypeComboBox->setSingleEntry(m_savedPhoneType);
        OrderPhoneIMEIEdit->setText(m_savedImei);
    }
    UpdateAccessoryControls();
    OrderChange();
}

void TRpx2Form::OrderBatteryCheckBoxClick()
{
    const bool editing = m_state == OrderFormState::Insert || m_state == OrderFormState::Edit;
    if (!OrderBatteryCheckBox->isChecked()) {
        m_savedBatteryType = OrderBatteryTypeComboBox->value();
        m_savedBatterySN = OrderBatterySNEdit->text();
        OrderBatteryTypeComboBox->setSingleEntry(QString());
        OrderBatterySNEdit->clear();
    } else if (editing) {
        OrderBatteryTypeComboBox->setSingleEntry(m_savedBatteryType);
        OrderBatterySNEdit->setText(m_savedBatterySN);
    }
    UpdateAccessoryControls();
    OrderChange();
}

bool TRpx2Form::OrderPhoneTypeComboBoxExit()
{
    if (m_state != OrderFormState::Insert && m_state != OrderFormState::Edit)
        return true;
    SuggestComboBox *box = OrderPhoneTypeComboBox;
    const QString text = box->value();
    if (text.trimmed().isEmpty() || text == m_acceptedPhoneType)
        return true;
    for (int i = 0; i < box->count(); ++i) {
        const QString entry = box->itemText(i);
        if (entry.compare(text, Qt::CaseInsensitive) == 0) {
            // The list's spelling is taken.
            box->setCurrentIndex(i);
            if (box->isEditable() && box->currentText() != entry)
                box->setEditText(entry);
            return true;
        }
    }
    if (Ui::instance().ask(rpxText("Rpx2.DeviceNotExist"), QString(), Prompts::Buttons::YesNo)
        == Prompts::Answer::No) {
        QTimer::singleShot(0, box, [box] { box->setFocus(); });
        return false;
    }
    m_acceptedPhoneType = text;
    return true;
}

void TRpx2Form::linkLabelClicked(QLabel *label)
{
    const QString url = m_data->config().GetOrderWwwUrl();
    if (url.isEmpty())
        return;
    // Only a web page is opened: "file:///usr/bin/xterm" from a shared database would run
    // a program.
    if (!CConfig::IsWebAddress(url)) {
        Ui::instance().message(formatText(rpxText("Rpx2.WebAddressRefused"), { url }),
                               appErrorTitle(), Prompts::Icon::Warning);
        return;
    }
    const QString value
        = label == CustomerCodeLabel ? OrderCustomerCodeEdit->text() : OrderPhoneIMEIEdit->text();
    const QString key
        = label == CustomerCodeLabel ? QStringLiteral("customer") : QStringLiteral("imei");
    Ui::instance().openUrl(QUrl(url + QLatin1Char('?') + key + QLatin1Char('=')
                                + QString::fromLatin1(QUrl::toPercentEncoding(value))));
}

bool TRpx2Form::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == CustomerCodeLabel || watched == OrderPhoneIMEILabel)
        && event->type() == QEvent::MouseButtonRelease) {
        auto *label = static_cast<QLabel *>(watched);
        runGuarded([this, label] { linkLabelClicked(label); });
        return true;
    }
    if (event->type() == QEvent::FocusOut && qobject_cast<QLineEdit *>(watched)
        && static_cast<QWidget *>(watched)->parentWidget() == CustomerBox) {
        // A long name or address shows its start once the box is left.
        static_cast<QLineEdit *>(watched)->setCursorPosition(0);
    }
    if (watched == OrderPhoneTypeComboBox && event->type() == QEvent::FocusOut) {
        // Only a move within the window leaves the box: its own pop-up, a menu, a message
        // box or a dialog (the question of Escape) take the focus for a while and give it
        // back, and a question of the device on top of them would answer theirs.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            runGuarded([this] { OrderPhoneTypeComboBoxExit(); });
    }
    if (watched == OrderListDBGrid && event->type() == QEvent::KeyPress) {
        // Keys move the list's cursor as a click does, and the form shows the order they reach
        // (once the view has moved), so that storing, deleting and holding act on the order
        // the clerk sees highlighted. Home and End go to the first and the last order.
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End)
            && key->modifiers() == Qt::NoModifier) {
            QKeyEvent toEnd(QEvent::KeyPress, key->key(), Qt::ControlModifier);
            QCoreApplication::sendEvent(OrderListDBGrid, &toEnd);
            showListCursorOrder();
            return true;
        }
        QMetaObject::invokeMethod(this, [this] { showListCursorOrder(); }, Qt::QueuedConnection);
    }
    if (watched == OrderRepairImage && event->type() == QEvent::MouseButtonDblClick) {
        runGuarded([this] {
            if (m_photoFile.isEmpty())
                ActionOrderImageLoadExecute();
            else
                ActionOrderImageShowExecute();
        });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ----------------------------------------------------------------------------------------
// Holding, deleting, unlocking, renaming

void TRpx2Form::refreshHoldLabel()
{
    OrderHoldCountLabel->setText(formatText(rpxText("Rpx2.OrderHoldCount"), {int(m_held.size())}));
    QFont font = OrderHoldCountLabel->font();
    font.setBold(!m_held.isEmpty());
    OrderHoldCountLabel->setFont(font);
    OrderListDBGrid->viewport()->update();
}

void TRpx2Form::ActionOrderHoldExecute()
{
    // (Disabled while an order is taken in or changed: the list's row is not the order on
    // the screen then.)
    if (m_state != OrderFormState::Browse)
        return;
    OrderList &list = m_data->orderList();
    const QString id = list.currentOrderId();
    if (id.isEmpty())
        return;
    if (m_held.contains(id))
        m_held.removeAll(id);
    else
        m_held.append(id);
    if (!NoFilterCheckBox->isChecked())
        CustomerNameEditFilter->setText(list.customerNameAt(list.currentRow()));
    refreshHoldLabel();
}

void TRpx2Form::ActionOrderClearExecute()
{
    m_held.clear();
    refreshHoldLabel();
}

void TRpx2Form::ActionOrderDeleteExecute()
{
    if (!PasswordCheck::allowed(this, "Rpx2.InvalidPassword"))
        return;
    if (Ui::instance().ask(rpxText("Rpx2.OrderDeleteConfirm"), rpxText("Rpx2.OrderDeleteTitle"),
                           Prompts::Buttons::YesNo)
        != Prompts::Answer::Yes)
        return;
    OrderList &list = m_data->orderList();
    const int position = list.currentRow();
    const QString id = OrderIDEdit->text();
    if (!m_data->DeleteOrder(id))
        Ui::instance().message(QStringLiteral("CHYBA: Zakázku se nepodařilo odstranit."));
    // A deleted order is no longer held, whoever deleted it.
    if (m_held.removeAll(id) > 0)
        refreshHoldLabel();
    ReloadOrderList();
    if (!list.isEmpty())
        list.moveTo(qMin(position, list.rowCount() - 1));
    ShowOrderTotals();
}

void TRpx2Form::ActionOrderChangeExecute()
{
    if (!PasswordCheck::allowed(this, "Rpx2.InvalidPassword"))
        return;
    LockIssuedOrder(false);
    SetOrderFormState(OrderFormState::Edit);
}

void TRpx2Form::ActionOrderUpdateExecute(bool engineer)
{
    if (!PasswordCheck::allowed(this, "Rpx2.InvalidPassword"))
        return;
    SuggestComboBox *box = engineer ? OrderEngineerComboBoxFilter : OrderPhoneTypeComboBoxFilter;
    QString to;
    if (!OrderRename::run(this, engineer ? OrderRename::Kind::Engineer : OrderRename::Kind::PhoneType,
                          box->currentText(), &to))
        return;
    box->setEditText(to);
    FilterChange();
}

// ----------------------------------------------------------------------------------------
// Dialogs of the tools menu

void TRpx2Form::ActionOptionsExecute()
{
    {
        TOptionsForm form(this);
        Ui::instance().exec(form);
    }
    m_easyCustomer = m_data->config().GetEasyCustomer();
    ShowOrderList(m_data->config().GetShowOrders());
    ShowFilters(m_filtersVisible);
    ApplyWindowTitle();
    if (m_state == OrderFormState::Browse && !m_data->orderList().isEmpty())
        ShowCurrentOrder();
    else
        SetOrderFormState(m_state);
}

void TRpx2Form::ActionFiltersExecute()
{
    {
        TFiltersForm form(this);
        Ui::instance().exec(form);
    }
    applyComboStyles();
}

void TRpx2Form::ActionAboutExecute()
{
    TRpxAboutForm form(this);
    Ui::instance().exec(form);
}

// ----------------------------------------------------------------------------------------
// Repair photos

void TRpx2Form::ActionOrderImageLoadExecute()
{
    const QString chosen = Ui::instance().openFileName(rpxText("Rpx2.ActionOrderImageLoad").remove(QLatin1Char('.')),
                                                       QString(), QStringLiteral("Image files (*.jpg *.JPG *.jpeg *.JPEG)"));
    if (chosen.isEmpty())
        return;
    const QString orderId = OrderIDEdit->text();
    if (orderId.isEmpty()) {
        // A new order has no number yet: the copy is made, under its final name, once the
        // order is stored, so that two new orders never share one copy.
        m_pendingPhotoSource = chosen;
        setPhotoFile(QFileInfo(chosen).fileName());
        OrderChange();
        return;
    }
    const QString name = orderId + QLatin1Char('-') + QFileInfo(chosen).fileName();
    // A number from the database that holds a folder part would put the copy elsewhere.
    if (!PhotoFiles::isPlainFileName(name)) {
        Ui::instance().message(formatText(rpxText("Rpx2.PhotoNotUsable"), { name }),
                               rpxText("Rpx2.CantSaveFile"), Prompts::Icon::Information);
        return;
    }
    const QString target = AppPaths::photoDir() + QLatin1Char('/') + name;
    QString error;
    if (!QFileInfo::exists(chosen) || QFileInfo(target) != QFileInfo(chosen)) {
        // (QFileInfo finds two missing files equal: a vanished source must still fail.)
        error = copyPhoto(chosen, target);
    }
    if (!error.isEmpty()) {
        Ui::instance().message(error, rpxText("Rpx2.CantSaveFile"), Prompts::Icon::Information);
        return;
    }
    setPhotoFile(name);
    OrderChange();
}

QString TRpx2Form::shownPhotoPath() const
{
    if (!m_pendingPhotoSource.isEmpty())
        return m_pendingPhotoSource; // the file the clerk has just chosen
    // The stored name comes from the shared database: only a picture inside the photo folder
    // is handed to the desktop or the printer.
    const QString path = PhotoFiles::usablePhoto(m_photoFile);
    if (path.isEmpty())
        Ui::instance().message(formatText(rpxText("Rpx2.PhotoNotUsable"), { m_photoFile }),
                               appErrorTitle(), Prompts::Icon::Warning);
    return path;
}

void TRpx2Form::ActionOrderImageShowExecute()
{
    if (m_photoFile.isEmpty())
        return;
    const QString path = shownPhotoPath();
    if (!path.isEmpty())
        Ui::instance().openUrl(QUrl::fromLocalFile(path));
}

void TRpx2Form::ActionOrderImagePrintExecute()
{
    if (m_photoFile.isEmpty())
        return;
    const QString path = shownPhotoPath();
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        Ui::instance().message(reader.errorString(), rpxText("Rpx2.CantSaveFile"), Prompts::Icon::Information);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_photoFile);
    QPrintDialog dialog(&printer, this);
    if (Ui::instance().exec(dialog) != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
}

void TRpx2Form::ActionOrderImageClearExecute()
{
    m_pendingPhotoSource.clear();
    setPhotoFile(QString());
    OrderChange();
}
