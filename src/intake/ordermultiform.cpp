#include "ordermultiform.h"

#include "app/ui.h"
#include "customers/customersearchform.h"
#include "notify/mailhandoff.h"
#include "orders/imeichecks.h"
#include "orders/suggestcombobox.h"

#include "clock.h"
#include "config.h"
#include "customercode.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

struct TOrderMultiForm::Row
{
    int slot = 0;
    QFrame *panel = nullptr;
    QLabel *number = nullptr;
    QCheckBox *phone = nullptr;
    SuggestComboBox *phoneType = nullptr;
    QLineEdit *imei = nullptr;
    QCheckBox *battery = nullptr;
    SuggestComboBox *batteryType = nullptr;
    QLineEdit *batterySN = nullptr;
    QPlainTextEdit *note = nullptr;
    QComboBox *state = nullptr;
    QCheckBox *sim = nullptr, *charger = nullptr, *warranty = nullptr, *cover = nullptr;
    QLineEdit *price = nullptr;
    QDateEdit *deadline = nullptr;
    QToolButton *email = nullptr;
    bool emailed = false;
    bool invalidPrice = false;
    std::optional<COrder> order; // built by OK, or an earlier order of the IMEI
    std::optional<COrder> loaded; // that earlier order as read, before its visit mark
};

namespace {

template<typename T> T *named(T *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

QString text(const char *key, const char *builtIn)
{
    return rpxTextOr(key, QString::fromUtf8(builtIn));
}

// The process-wide data module.
TRpx2Data &shop()
{
    return *TRpx2Data::instance();
}

QString shortDate(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

void setDateFormat(QDateEdit *edit)
{
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
}

void setPriceLook(QLineEdit *price, bool invalid)
{
    QPalette palette = price->palette();
    palette.setColor(QPalette::Base,
                     invalid ? QColor(0xff, 0x80, 0x80)
                             : QApplication::palette().color(QPalette::Base));
    price->setPalette(palette);
}

const QString NewDeviceQuestion
    = QStringLiteral("Telefon daného typu v databázi dosud neexistuje.\nChcete jej přidat?");

} // namespace

TOrderMultiForm::TOrderMultiForm(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("TOrderMultiForm"));
    CConfig &config = shop().config();

    m_name = named(new QLineEdit, "CustomerNameEdit");
    m_street = named(new QLineEdit, "CustomerStreetEdit");
    m_city = named(new QLineEdit, "CustomerCityEdit");
    m_psc = named(new QLineEdit, "CustomerPSCEdit");
    m_phone = named(new QLineEdit, "CustomerPhoneEdit");
    m_email = named(new QLineEdit, "CustomerEmailEdit");
    m_customerSelect = named(new QPushButton, "CustomerSelectButton");
    m_receiptDate = named(new QDateEdit, "ReceiptDateDateTimePicker");
    m_receiptTime = named(new QTimeEdit, "ReceiptTimeDateTimePicker");
    m_deadline = named(new QDateEdit, "DeadlineDateDateTimePicker");
    m_newOrder = named(new QPushButton, "ButtonNewOrder");
    m_newPhone = named(new QPushButton, "ButtonNewPhone");
    m_ok = named(new QPushButton, "ButtonOk");
    m_cancel = named(new QPushButton, "ButtonCancel");
    m_ok->setDefault(true);
    setDateFormat(m_receiptDate);
    setDateFormat(m_deadline);
    m_receiptTime->setDisplayFormat(QStringLiteral("HH:mm"));

    // The texts.
    setWindowTitle(text("OrderMulti.Window", "Hromadná zakázka"));
    auto *customer = new QGridLayout;
    auto addField = [customer](int row, int column, const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption);
        label->setBuddy(field);
        customer->addWidget(label, row, column * 2);
        customer->addWidget(field, row, column * 2 + 1);
        return label;
    };
    addField(0, 0, text("OrderMulti.CustomerName", "Jméno:"), m_name);
    addField(1, 0, text("OrderMulti.CustomerStreet", "Ulice:"), m_street);
    addField(2, 0, text("OrderMulti.CustomerCity", "Město:"), m_city);
    addField(0, 1, text("OrderMulti.CustomerPSC", "PSČ:"), m_psc);
    addField(1, 1, text("OrderMulti.CustomerPhone", "Telefon:"), m_phone);
    addField(2, 1, text("OrderMulti.CustomerEMail", "E-mail:"), m_email);
    auto *receipt = new QHBoxLayout;
    receipt->addWidget(m_receiptDate);
    receipt->addWidget(m_receiptTime);
    auto *receiptLabel = new QLabel(text("OrderMulti.ReceiptDate", "Přijato:"));
    receiptLabel->setBuddy(m_receiptDate);
    customer->addWidget(receiptLabel, 0, 4);
    customer->addLayout(receipt, 0, 5);
    addField(1, 2, text("OrderMulti.DeadlineDate", "Termín:"), m_deadline);
    m_customerSelect->setText(text("OrderMulti.CustomerSelect", "Vybrat..."));
    customer->addWidget(m_customerSelect, 2, 5, Qt::AlignLeft);
    customer->setColumnStretch(1, 3);
    customer->setColumnStretch(3, 2);
    m_newOrder->setText(text("OrderMulti.MultiNewOrder", "Další"));
    m_newPhone->setText(text("OrderMulti.MultiNewPhone", "Nový telefon"));
    m_ok->setText(text("OrderMulti.Ok", "Ok"));
    m_cancel->setText(text("OrderMulti.Cancel", "Storno"));

    auto *rows = new QWidget;
    m_rowLayout = new QVBoxLayout(rows);
    m_rowLayout->setContentsMargins(4, 0, 4, 4);
    m_rowLayout->setSpacing(0);
    m_rowLayout->addStretch();
    m_scroll = named(new QScrollArea, "ScrollBox");
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(rows);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_newOrder);
    buttons->addWidget(m_newPhone);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(customer);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(buttons);

    // 85 % of the screen's height, at least 650 × 400; the owner centres the dialog.
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int height = screen ? int(screen->geometry().height() * 0.85) : 600;
    setMinimumSize(650, 400);
    resize(qMax(980, minimumSizeHint().width()), qMax(400, height));

    // The template row: never shown; every row is made like it and takes its lists.
    m_rows[0] = createRow(this, 0);
    m_rows[0]->panel->hide();
    m_rows[0]->phoneType->setFreeTyping(config.GetFEPhone());
    for (const IdName &state : shop().GetOrderStates())
        m_rows[0]->state->addItem(state.name, state.id);
    m_rows[0]->state->setCurrentIndex(m_rows[0]->state->count() > 0 ? 0 : -1);

    const QDateTime now = Clock::now();
    m_receiptDate->setDate(now.date());
    m_receiptTime->setTime(now.time());
    m_deadline->setDate(now.date().addDays(config.GetDaysToDeadline()));

    connect(m_customerSelect, &QPushButton::clicked, this,
            [this] { runGuarded([this] { selectCustomer(); }); });
    for (QLineEdit *box : { m_name, m_street, m_city, m_psc, m_phone, m_email })
        connect(box, &QLineEdit::textEdited, this, &TOrderMultiForm::customerEdited);
    connect(m_newOrder, &QPushButton::clicked, this, [this] { runGuarded([this] { addRow(); }); });
    connect(m_newPhone, &QPushButton::clicked, this,
            [this] { runGuarded([this] { newPhone(); }); });
    connect(m_ok, &QPushButton::clicked, this, [this] { runGuarded([this] { ok(); }); });
    connect(m_cancel, &QPushButton::clicked, this, &TOrderMultiForm::reject);
}

TOrderMultiForm::~TOrderMultiForm() = default;

std::unique_ptr<TOrderMultiForm::Row> TOrderMultiForm::createRow(QWidget *parent, int slot)
{
    auto row = std::make_unique<Row>();
    Row *r = row.get();
    r->slot = slot;
    r->panel = new QFrame(parent);
    r->panel->setObjectName(slot == 0 ? QStringLiteral("MultiPanelRecord")
                                      : QStringLiteral("MultiPanelRecord%1").arg(slot));
    auto *separator = named(new QFrame, "MultiSeparator");
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    r->number = named(new QLabel, "MultiLabelNumber");
    QFont bold = r->number->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    r->number->setFont(bold);
    r->number->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("15")) + 6);
    r->number->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    r->phone = named(new QCheckBox(text("OrderMulti.MultiPhone", "Telefon")), "MultiPhoneCheckBox");
    r->phone->setChecked(true);
    r->phoneType = named(new SuggestComboBox, "MultiComboBoxPhoneType");
    r->imei = named(new QLineEdit, "MultiEditPhoneIMEI");
    r->battery
        = named(new QCheckBox(text("OrderMulti.MultiBattery", "Baterie")), "MultiBatteryCheckBox");
    r->battery->setChecked(true);
    r->batteryType = named(new SuggestComboBox, "MultiComboBoxBatteryType");
    r->batteryType->setFreeTyping(true);
    r->batterySN = named(new QLineEdit, "MultiEditBatterySN");
    r->note = named(new QPlainTextEdit, "MultiMemoNote");
    r->note->setTabChangesFocus(true);
    r->state = named(new QComboBox, "MultiComboBoxOrderState");
    r->sim = named(new QCheckBox(text("OrderMulti.MultiSIM", "Karta SIM")), "MultiSIMCheckBox");
    r->charger = named(new QCheckBox(text("OrderMulti.MultiCharger", "Nabíječka")),
                       "MultiChargerCheckBox");
    r->warranty = named(new QCheckBox(text("OrderMulti.MultiWarrantyCert", "Záruční l.")),
                        "MultiWarrantyCertCheckBox");
    r->cover = named(new QCheckBox(text("OrderMulti.MultiCover", "Obal")), "MultiCoverCheckBox");
    r->price = named(new QLineEdit, "MultiEditPrice");
    r->deadline = named(new QDateEdit, "MultiDateTimePickerDeadline");
    setDateFormat(r->deadline);
    r->email = named(new QToolButton, "MultiButtonEmail");
    r->email->setIcon(MailHandOff::envelopeIcon());
    r->email->setToolTip(QStringLiteral("E-mail zákazníkovi"));

    // Copies of the template: its device type box style and its state list.
    if (const Row *tmpl = m_rows[0].get()) {
        r->phoneType->setFreeTyping(tmpl->phoneType->isEditable());
        for (int i = 0; i < tmpl->state->count(); ++i)
            r->state->addItem(tmpl->state->itemText(i), tmpl->state->itemData(i));
        r->state->setCurrentIndex(tmpl->state->currentIndex());
    }

    const QFontMetrics metrics(font());
    const int x = metrics.horizontalAdvance(QLatin1Char('0'));
    r->imei->setMinimumWidth(x * 17);
    r->batterySN->setMinimumWidth(x * 17);
    r->price->setFixedWidth(x * 11);
    r->phoneType->setMinimumContentsLength(16);
    r->batteryType->setMinimumContentsLength(8);
    r->note->setFixedHeight(metrics.lineSpacing() * 4 + 10);

    auto caption = [](const QString &t, QWidget *buddy) {
        auto *label = new QLabel(t);
        label->setBuddy(buddy);
        return label;
    };
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    grid->addWidget(r->phone, 0, 0);
    grid->addWidget(caption(text("OrderMulti.MultiPhoneType", "Typ:"), r->phoneType), 0, 1);
    grid->addWidget(r->phoneType, 0, 2);
    grid->addWidget(caption(text("OrderMulti.MultiPhoneIMEI", "IMEI:"), r->imei), 0, 3);
    grid->addWidget(r->imei, 0, 4);
    grid->addWidget(r->battery, 1, 0);
    grid->addWidget(caption(text("OrderMulti.MultiBatteryType", "Typ:"), r->batteryType), 1, 1);
    grid->addWidget(r->batteryType, 1, 2);
    grid->addWidget(caption(text("OrderMulti.MultiBatterySN", "SN:"), r->batterySN), 1, 3);
    grid->addWidget(r->batterySN, 1, 4);
    grid->addWidget(caption(text("OrderMulti.MultiOrderState", "Stav:"), r->state), 2, 1);
    grid->addWidget(r->state, 2, 2);
    grid->addWidget(caption(text("OrderMulti.MultiPrice", "Cena:"), r->price), 2, 3);
    auto *priceRow = new QHBoxLayout;
    priceRow->addWidget(r->price);
    priceRow->addSpacing(8);
    priceRow->addWidget(caption(text("OrderMulti.MultiDeadline", "Termín:"), r->deadline));
    priceRow->addWidget(r->deadline);
    priceRow->addWidget(r->email);
    grid->addLayout(priceRow, 2, 4);
    auto *ticks = new QHBoxLayout;
    for (QCheckBox *tick : { r->sim, r->charger, r->warranty, r->cover })
        ticks->addWidget(tick);
    ticks->addStretch();
    grid->addLayout(ticks, 3, 0, 1, 5);
    grid->setColumnStretch(2, 1);
    auto *note = new QVBoxLayout;
    note->addWidget(caption(text("OrderMulti.MultiNote", "Popis závady:"), r->note));
    note->addWidget(r->note);
    note->addStretch();
    auto *line = new QHBoxLayout;
    line->addWidget(r->number);
    line->addLayout(grid, 3);
    line->addLayout(note, 2);
    auto *panel = new QVBoxLayout(r->panel);
    panel->setContentsMargins(0, 2, 0, 4);
    panel->addWidget(separator);
    panel->addLayout(line);

    // The row's handlers.
    connect(r->phone, &QCheckBox::clicked, this, [this, r] { rowPhoneClicked(*r); });
    connect(r->battery, &QCheckBox::clicked, this, [this, r] { rowBatteryClicked(*r); });
    r->phoneType->setSource(
        [] {
            return shop().config().GetLMPhone() == 1 ? shop().GetKnownPhoneNames()
                                                     : shop().GetPhoneTypeNames();
        },
        true);
    r->batteryType->setSource([] { return shop().GetBatteryTypeNames(); }, true);
    ImeiChecks::onFocusLeave(r->phoneType, [this, r] { rowPhoneTypeLeft(*r); });
    ImeiChecks::onFocusLeave(r->imei, [this, r] { rowImeiLeft(*r); });
    connect(r->imei, &QLineEdit::textChanged, this,
            [r] { ImeiChecks::styleImeiBox(r->imei, r->emailed); });
    connect(r->price, &QLineEdit::textChanged, this, [this, r] { rowPriceChanged(*r); });
    connect(r->email, &QToolButton::clicked, this,
            [this, r] { runGuarded([this, r] { rowEmail(*r); }); });
    return row;
}

void TOrderMultiForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_rowsAdded) {
        m_rowsAdded = true;
        runGuarded([this] {
            addRow();
            addRow();
        });
    }
}

bool TOrderMultiForm::addRow()
{
    int slot = 1;
    while (slot <= MaxRows && m_rows[slot])
        ++slot;
    if (slot > MaxRows) {
        Ui::instance().message(rpxText("OrderMulti.CantAddMore"));
        return false;
    }
    m_rows[slot] = createRow(m_scroll->widget(), slot);
    Row &row = *m_rows[slot];
    row.deadline->setDate(m_deadline->date());
    row.price->setText(QStringLiteral("0"));
    m_rowLayout->insertWidget(m_rowLayout->count() - 1, row.panel);
    row.panel->show();
    renumber();
    if (isVisible())
        QTimer::singleShot(0, this,
                           [this, panel = row.panel] { m_scroll->ensureWidgetVisible(panel); });
    return true;
}

void TOrderMultiForm::renumber()
{
    for (int slot = 1; slot <= MaxRows; ++slot)
        if (m_rows[slot])
            m_rows[slot]->number->setText(QString::number(slot));
}

std::optional<COrder> TOrderMultiForm::record(int n) const
{
    if (n < 1 || n > MaxRows || !m_rows[n])
        return std::nullopt;
    return m_rows[n]->order;
}

std::optional<CCustomer> TOrderMultiForm::customer() const
{
    return m_customer ? m_customer : m_builtCustomer;
}

// ----------------------------------------------------------------------------------------
// The customer block

void TOrderMultiForm::selectCustomer()
{
    TCustomerSearchForm search(this);
    if (Ui::instance().exec(search) != QDialog::Accepted)
        return;
    const CCustomer chosen = search.currentCustomer();
    if (chosen.CustomerID == 0)
        return; // an empty list offers nobody to choose
    m_name->setText(chosen.CustomerName);
    m_street->setText(chosen.CustomerStreet);
    m_city->setText(chosen.CustomerCity);
    m_psc->setText(chosen.CustomerPSC);
    m_phone->setText(chosen.CustomerPhoneNo);
    m_email->setText(chosen.CustomerEMail);
    m_customer = chosen;
}

// Typed changes make the boxes a new customer: the chosen one is never changed from here.
void TOrderMultiForm::customerEdited()
{
    m_customer.reset();
}

// ----------------------------------------------------------------------------------------
// Rows

void TOrderMultiForm::rowPhoneClicked(Row &row)
{
    row.phoneType->setEnabled(row.phone->isChecked());
    row.imei->setEnabled(row.phone->isChecked());
}

void TOrderMultiForm::rowBatteryClicked(Row &row)
{
    row.batteryType->setEnabled(row.battery->isChecked());
    row.batterySN->setEnabled(row.battery->isChecked());
}

void TOrderMultiForm::rowPhoneTypeLeft(Row &row)
{
    const QString typed = row.phoneType->value();
    if (!row.phoneType->isEditable() || typed.trimmed().isEmpty())
        return;
    for (int i = 0; i < row.phoneType->count(); ++i) {
        if (row.phoneType->itemText(i).compare(typed, Qt::CaseInsensitive) == 0) {
            row.phoneType->setCurrentIndex(i);
            row.phoneType->setEditText(row.phoneType->itemText(i));
            return;
        }
    }
    if (Ui::instance().ask(NewDeviceQuestion, QString(), Prompts::Buttons::YesNo)
        == Prompts::Answer::No)
        QTimer::singleShot(0, row.phoneType, [box = row.phoneType] { box->setFocus(); });
}

// Runs when the focus leaves a row's IMEI box after the clerk has changed it.
void TOrderMultiForm::rowImeiLeft(Row &row)
{
    if (!row.imei->isModified())
        return;
    row.imei->setModified(false);
    CConfig &config = shop().config();
    const QString imei = row.imei->text();
    const bool real = !imei.isEmpty() && imei != config.GetNullImei();
    if (real)
        ImeiChecks::checkRegister(shop(), imei);
    if (real && config.GetJoinExistingOrder()) {
        // The row shows this device's earlier order already: leaving the box again keeps
        // what has been typed since.
        if (row.order && !row.order->OrderID.isEmpty() && row.order->OrderPhoneIMEI == imei)
            return;
        if (std::optional<COrder> earlier = shop().GetLastOrderByImei(imei)) {
            const std::optional<CCustomer> owner = shop().GetCustomer(earlier->OrderCustomerID);
            Ui::instance().message(formatText(
                rpxText("OrderMulti.OrderAlreadyExists"),
                { row.slot, earlier->OrderPhoneType, shortDate(earlier->OrderIssueDate.date()),
                  earlier->OrderPhoneIMEI, earlier->OrderFaultDescription,
                  earlier->OrderRepairDescription, owner ? owner->CustomerName : QString() }));
            row.loaded = *earlier;
            earlier->AppendVisitMark();
            row.order = *earlier;
            row.phone->setChecked(earlier->OrderPhone);
            row.imei->setText(earlier->OrderPhoneIMEI);
            row.price->setText(earlier->OrderExpectedPricePrimary);
            row.battery->setChecked(earlier->OrderBattery);
            row.batteryType->setSingleEntry(earlier->OrderBatteryType);
            row.batterySN->setText(earlier->OrderBatterySN);
            row.note->setPlainText(earlier->OrderFaultDescription);
            row.sim->setChecked(earlier->OrderSIM);
            row.charger->setChecked(earlier->OrderCharger);
            row.warranty->setChecked(earlier->OrderWarrantyCert);
            row.cover->setChecked(earlier->OrderCover);
            row.phoneType->setSingleEntry(earlier->OrderPhoneType);
            rowPhoneClicked(row);
            rowBatteryClicked(row);
            return;
        }
    }
    row.order.reset();
    row.loaded.reset();
}

void TOrderMultiForm::rowPriceChanged(Row &row)
{
    row.invalidPrice = !CConfig::IsNumber(row.price->text());
    setPriceLook(row.price, row.invalidPrice);
}

void TOrderMultiForm::rowEmail(Row &row)
{
    const QString type = row.phoneType->value();
    const QString imei = row.imei->text();
    const QString subject = formatText(rpxText("Rpx2.NotifyEmailSubject"), { type, imei });
    // The body template is the main window's: a device just taken in has no repair and no
    // final price yet, so those two positions stay empty and the others keep their meaning.
    const QString body = formatText(
        rpxText("Rpx2.NotifyEmailText"),
        { type, imei, shortDate(Clock::today()), row.note->toPlainText(), QString(),
          row.price->text(), QString(), MailHandOff::trackingLink(shop().config(), imei) });
    if (!MailHandOff::open(m_email->text(), subject, body))
        return;
    row.emailed = true;
    ImeiChecks::styleImeiBox(row.imei, true);
}

void TOrderMultiForm::newPhone()
{
    QString name;
    if (!Ui::instance().inputText(rpxText("OrderMulti.NewPhoneInputTitle"),
                                  rpxText("OrderMulti.NewPhoneInput"), name)
        || name.trimmed().isEmpty())
        return;
    shop().AddKnownPhone(name);
}

// ----------------------------------------------------------------------------------------
// OK and cancel

void TOrderMultiForm::ok()
{
    CConfig &config = shop().config();
    if (config.GetCustomerSelect() && !m_customer) {
        Ui::instance().message(rpxText("OrderMulti.CustomerNotChosen"), appErrorTitle());
        return;
    }
    int count = 0;
    for (int slot = 1; slot <= MaxRows; ++slot) {
        Row *row = m_rows[slot].get();
        if (!row || !row->phone->isChecked())
            continue;
        // An empty price passes the look of the box but is no number to store.
        if (row->invalidPrice || row->price->text().trimmed().isEmpty()) {
            setPriceLook(row->price, true);
            Ui::instance().message(rpxText("OrderMulti.PriceNotFilled"), appErrorTitle(),
                                   Prompts::Icon::Error);
            m_scroll->ensureWidgetVisible(row->price);
            row->price->setFocus();
            return;
        }
        ++count;
    }
    if (Ui::instance().ask(formatText(rpxText("OrderMulti.AddAllPhones"), { count }),
                           rpxText("Global.AppAdd"), Prompts::Buttons::OkCancel)
        != Prompts::Answer::Ok)
        return;

    const QDateTime received(m_receiptDate->date(), m_receiptTime->time());
    QList<COrder> orders;
    for (int slot = 1; slot <= MaxRows; ++slot) {
        Row *row = m_rows[slot].get();
        if (!row)
            continue;
        if (!row->phone->isChecked()) {
            row->order.reset();
            row->loaded.reset();
            continue;
        }
        if (!row->order) {
            COrder fresh;
            fresh.OrderEngineerName = config.GetDefaultEngineer();
            fresh.OrderFinalCurrencyPrimary = config.GetMainCurrency();
            fresh.OrderComponentsCurrencyPrimary = fresh.OrderFinalCurrencyPrimary;
            fresh.OrderFinalCurrencySecondary = config.GetSecondaryCurrency();
            fresh.OrderComponentsCurrencySecondary = fresh.OrderFinalCurrencySecondary;
            row->order = fresh;
        }
        COrder &o = *row->order;
        const QDateTime deadline(row->deadline->date(), QTime(0, 0));
        o.OrderTypeID = OrderTypes::Paid;
        o.OrderReceiptDate = received;
        o.OrderDeadlineDate = deadline;
        o.OrderFaultDescription = row->note->toPlainText();
        o.OrderExpectedPricePrimary
            = CConfig::formatGeneral(row->price->text().trimmed().toDouble());
        o.OrderExpectedCurrencyPrimary = config.GetMainCurrency();
        o.OrderExpectedPriceSecondary = QStringLiteral("0");
        o.OrderExpectedCurrencySecondary = config.GetSecondaryCurrency();
        o.OrderStateID = row->state->currentData().toInt();
        // The day of hand-back: an earlier order keeps the one it has; otherwise only a
        // device handed back at once has one, today.
        if (!(row->loaded && row->loaded->OrderIssueDate.isValid()))
            o.OrderIssueDate
                = o.OrderStateID == OrderStates::HandedBack ? Clock::now() : QDateTime();
        o.OrderPhone = true;
        o.OrderPhoneType = row->phoneType->value();
        o.OrderPhoneIMEI = row->imei->text();
        o.OrderBattery = row->battery->isChecked();
        o.OrderBatteryType = row->batteryType->value();
        o.OrderBatterySN = row->batterySN->text();
        o.OrderCharger = row->charger->isChecked();
        o.OrderCover = row->cover->isChecked();
        o.OrderSIM = row->sim->isChecked();
        o.OrderWarrantyCert = row->warranty->isChecked();
        o.OrderEmailSent = row->emailed;
        orders.append(o);
    }

    CCustomer customer;
    if (m_customer) {
        customer = *m_customer;
    } else {
        customer.CustomerShowCode = true;
        customer.CustomerCode = CustomerCode::draw();
        customer.CustomerName = m_name->text();
        customer.CustomerStreet = m_street->text();
        customer.CustomerCity = m_city->text();
        customer.CustomerPSC = m_psc->text();
        customer.CustomerPhoneNo = m_phone->text();
        customer.CustomerEMail = m_email->text();
    }
    // A failing store throws: the dialog stays open with every entry, nothing stored.
    QList<COrder> loaded;
    for (int slot = 1; slot <= MaxRows; ++slot)
        if (m_rows[slot] && m_rows[slot]->loaded)
            loaded.append(*m_rows[slot]->loaded);
    try {
        if (m_store)
            m_store(customer, orders, loaded);
    } catch (const RpxError &e) {
        if (e.kind() == RpxError::Kind::Changed || e.kind() == RpxError::Kind::Deleted)
            rereadEarlierOrders();
        throw;
    }
    if (!m_customer)
        m_builtCustomer = customer;
    QDialog::accept();
}

// Another program changed or deleted an earlier order bound to a row: the rows take the
// orders as they are now (a deleted one becomes a new order), so that the next OK keeps the
// other program's changes under this visit.
void TOrderMultiForm::rereadEarlierOrders()
{
    for (int slot = 1; slot <= MaxRows; ++slot) {
        Row *row = m_rows[slot].get();
        if (!row || !row->loaded)
            continue;
        row->loaded = shop().GetOrder(row->loaded->OrderID);
        row->order = row->loaded;
        if (row->order)
            row->order->AppendVisitMark();
    }
}

void TOrderMultiForm::reject()
{
    if (Ui::instance().ask(rpxText("OrderMulti.CancelInput"), rpxText("Global.AppAdd"),
                           Prompts::Buttons::OkCancel)
        == Prompts::Answer::Ok)
        QDialog::reject();
}
