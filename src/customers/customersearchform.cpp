#include "customersearchform.h"

#include "app/ui.h"
#include "customercode.h"
#include "customereditform.h"
#include "customersearchmodel.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// The grid's columns, in this order; every other column of the list stays hidden.
struct GridColumn
{
    int column;
    const char *titleKey;
    const char *builtInTitle;
};
constexpr GridColumn GridColumns[] = {
    { CustomerSearchModel::ColName, "CustomerSearch.Title.0", "Jméno" },
    { CustomerSearchModel::ColCity, "CustomerSearch.Title.1", "Město" },
    { CustomerSearchModel::ColPhoneNo, "CustomerSearch.Title.2", "Telefon" },
    { CustomerSearchModel::ColEMail, "CustomerSearch.Title.3", "EMail" },
};
constexpr int ColumnWidth = 120;

} // namespace

TCustomerSearchForm::TCustomerSearchForm(QWidget *owner)
    : QDialog(owner), m_model(TRpx2Data::instance()->customerSearchModel())
{
    setObjectName(QStringLiteral("TCustomerSearchForm"));
    setWindowTitle(rpxTextOr("CustomerSearch.Window", QStringLiteral("Hledej...")));

    m_filterName = new QLineEdit(this);
    m_filterName->setObjectName(QStringLiteral("EditFilterName"));
    m_filterPhoneNo = new QLineEdit(this);
    m_filterPhoneNo->setObjectName(QStringLiteral("EditFilterPhoneNo"));
    auto *nameLabel
        = new QLabel(rpxTextOr("CustomerSearch.FilterName", QStringLiteral("Jméno:")), this);
    nameLabel->setBuddy(m_filterName);
    auto *phoneLabel = new QLabel(
        rpxTextOr("CustomerSearch.FilterPhoneNo", QStringLiteral("Telefon:")), this);
    phoneLabel->setBuddy(m_filterPhoneNo);

    // Typing restarts the count, so the list is reloaded once, half a second after the
    // last keystroke.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(500);
    connect(m_timer, &QTimer::timeout, this, &TCustomerSearchForm::applyFilter);
    connect(m_filterName, &QLineEdit::textChanged, m_timer, qOverload<>(&QTimer::start));
    connect(m_filterPhoneNo, &QLineEdit::textChanged, m_timer, qOverload<>(&QTimer::start));

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->installEventFilter(this); // End reaches the last customer the filter finds
    // The header forgets hidden sections whenever the list is reloaded.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TCustomerSearchForm::setupColumns);

    m_ok = new QPushButton(rpxTextOr("CustomerSearch.Ok", QStringLiteral("Ok")), this);
    m_ok->setObjectName(QStringLiteral("ButtonOk"));
    m_ok->setDefault(true);
    // Enter in a filter box presses OK. While the typed filter is not applied yet, the list
    // still shows the old result: apply the filter and let the clerk pick from what it finds,
    // rather than hand back a customer that was never on the screen for this filter.
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (m_timer->isActive())
            applyFilter();
        else
            select();
    });
    m_cancel
        = new QPushButton(rpxTextOr("CustomerSearch.Cancel", QStringLiteral("Storno")), this);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto addAction
        = [this](const char *name, const char *key, const QString &builtIn, auto handler) {
              auto *action = new QAction(rpxTextOr(key, builtIn), this);
              action->setObjectName(QLatin1String(name));
              connect(action, &QAction::triggered, this, handler);
              m_grid->addAction(action);
              return action;
          };
    QAction *select = addAction("Select", "CustomerSearch.Popup.Select", QStringLiteral("Vybrat"),
                                &TCustomerSearchForm::select);
    addAction("JoinSelected", "CustomerSearch.Popup.JoinSelected",
              QStringLiteral("Sloučit označené"), &TCustomerSearchForm::joinSelected);
    addAction("JoinAll", "CustomerSearch.Popup.JoinAll", QStringLiteral("Sloučit vyfiltrované"),
              &TCustomerSearchForm::joinAll);
    addAction("Edit", "CustomerSearch.Popup.Edit", QStringLiteral("Upravit..."),
              &TCustomerSearchForm::editCustomer);
    addAction("New", "CustomerSearch.Popup.New", QStringLiteral("Nový..."),
              &TCustomerSearchForm::newCustomer);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_grid, &QAbstractItemView::doubleClicked, select, [select](const QModelIndex &index) {
        if (index.isValid())
            select->trigger();
    });

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(nameLabel);
    filterRow->addWidget(m_filterName, 3);
    filterRow->addSpacing(12);
    filterRow->addWidget(phoneLabel);
    filterRow->addWidget(m_filterPhoneNo, 2);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow);

    setMinimumSize(560, 280);
    resize(600, 360);
    setSizeGripEnabled(true);

    QWidget::setTabOrder(m_filterName, m_filterPhoneNo);
    QWidget::setTabOrder(m_filterPhoneNo, m_grid);
    QWidget::setTabOrder(m_grid, m_ok);
    QWidget::setTabOrder(m_ok, m_cancel);
    m_filterName->setFocus();

    // The list keeps the last filter of an earlier search: start again from every customer.
    setupColumns();
    if (reload(QString(), QString()))
        setCurrentRow(0);
}

CCustomer TCustomerSearchForm::currentCustomer() const
{
    return TRpx2Data::instance()->customerSearchRow(currentRow());
}

// OK, Enter and a double click: with no customer under the cursor (an empty list) nobody
// is chosen, as with Storno.
void TCustomerSearchForm::select()
{
    if (currentRow() < 0)
        reject();
    else
        accept();
}

void TCustomerSearchForm::applyFilter()
{
    m_timer->stop();
    if (reload(m_filterName->text().trimmed(), m_filterPhoneNo->text().trimmed()))
        setCurrentRow(0);
}

bool TCustomerSearchForm::reload(const QString &name, const QString &phoneNo)
{
    const bool ok = runGuarded([&] { TRpx2Data::instance()->ReloadCustomerSearch(name, phoneNo); });
    if (ok) {
        m_nameFilter = name;
        m_phoneFilter = phoneNo;
    }
    return ok;
}

void TCustomerSearchForm::setupColumns()
{
    QHeaderView *header = m_grid->horizontalHeader();
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_grid->setColumnHidden(column, true);
    int visual = 0;
    for (const GridColumn &c : GridColumns) {
        const int column = c.column;
        m_model->setHeaderData(column, Qt::Horizontal,
                               rpxTextOr(c.titleKey, QString::fromUtf8(c.builtInTitle)));
        m_grid->setColumnHidden(column, false);
        m_grid->setColumnWidth(column, ColumnWidth);
        header->moveSection(header->visualIndex(column), visual++);
    }
}

int TCustomerSearchForm::currentRow() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void TCustomerSearchForm::setCurrentRow(int row)
{
    if (row < 0 || !runGuarded([&] { m_model->fetchUntil(row); }) || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, GridColumns[0].column);
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
}

bool TCustomerSearchForm::eventFilter(QObject *watched, QEvent *event)
{
    // The list reads its rows as it scrolls; End (with or without Ctrl) reads the rest of the
    // filter's customers first, so that it lands on the last one rather than the last read.
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_End && (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor); // a whole register takes seconds
            runGuarded([&] { m_model->fetchUntil(std::numeric_limits<int>::max() - 1); });
            QGuiApplication::restoreOverrideCursor();
            setCurrentRow(m_model->rowCount() - 1);
            return true;
        }
        if (key->key() == Qt::Key_Home && (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
            setCurrentRow(0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int TCustomerSearchForm::rowOfCustomer(int customerId) const
{
    int row = -1;
    runGuarded([&] { row = m_model->rowOfCustomer(customerId); });
    return row;
}

void TCustomerSearchForm::newCustomer()
{
    CCustomer fresh;
    fresh.CustomerShowCode = true;
    fresh.CustomerCode = CustomerCode::draw();
    // The cursor goes to the new customer, so that OK picks it; when the filter hides it,
    // to the last row.
    editAndStore(fresh, -1, std::nullopt);
}

namespace {
// The stored customer with every field the clerk changed (mine against asLoaded) on top.
CCustomer withChanges(const CCustomer &asLoaded, const CCustomer &mine, const CCustomer &stored)
{
    CCustomer merged = stored;
    auto keep = [&](auto CCustomer::*field) {
        if (mine.*field != asLoaded.*field)
            merged.*field = mine.*field;
    };
    keep(&CCustomer::CustomerShowCode);
    keep(&CCustomer::CustomerCode);
    keep(&CCustomer::CustomerName);
    keep(&CCustomer::CustomerStreet);
    keep(&CCustomer::CustomerCity);
    keep(&CCustomer::CustomerPSC);
    keep(&CCustomer::CustomerPhoneNo);
    keep(&CCustomer::CustomerEMail);
    return merged;
}
} // namespace

// Runs the customer dialog on the record and stores it on OK; the reopened list's cursor
// follows the stored customer, or goes to fallbackRow (-1: the last row) when the filter
// no longer shows it. An edited customer (asLoaded: the row as read) is stored only when
// no other program changed it meanwhile; otherwise the dialog opens again on the stored
// row with the clerk's changes on top.
void TCustomerSearchForm::editAndStore(CCustomer record, int fallbackRow,
                                       std::optional<CCustomer> asLoaded)
{
    TRpx2Data *data = TRpx2Data::instance();
    CCustomer customer;
    for (;;) {
        TCustomerEditForm form(this);
        form.setCustomer(record);
        if (Ui::instance().exec(form) != QDialog::Accepted)
            return;
        customer = form.customer();
        RpxError::Kind conflict = RpxError::Kind::General;
        std::optional<CCustomer> stored;
        const bool done = runGuarded([&] {
            try {
                data->StoreCustomer(customer, asLoaded ? &*asLoaded : nullptr);
            } catch (const RpxError &e) {
                if (e.kind() != RpxError::Kind::Changed && e.kind() != RpxError::Kind::Deleted)
                    throw;
                conflict = e.kind();
                if (conflict == RpxError::Kind::Changed)
                    stored = data->GetCustomer(customer.CustomerID);
            }
        });
        if (!done)
            return;
        if (conflict == RpxError::Kind::General)
            break;
        if (conflict == RpxError::Kind::Changed && stored) {
            Ui::instance().message(rpxText("CustomerSearch.CustomerChangedMeanwhile"),
                                   appErrorTitle(), Prompts::Icon::Warning);
            record = withChanges(*asLoaded, customer, *stored);
            asLoaded = stored;
            continue;
        }
        Ui::instance().message(rpxText("CustomerSearch.CustomerDeletedMeanwhile"), appErrorTitle(),
                               Prompts::Icon::Warning);
        if (reload(m_nameFilter, m_phoneFilter))
            setCurrentRow(std::min(std::max(fallbackRow, 0), m_model->rowCount() - 1));
        return;
    }
    if (!reload(m_nameFilter, m_phoneFilter))
        return;
    const int row = rowOfCustomer(customer.CustomerID);
    if (row >= 0) {
        setCurrentRow(row);
        return;
    }
    // Hidden by the filter: the row it had, or the list's last row (the whole list read).
    if (fallbackRow < 0 || !runGuarded([&] { m_model->fetchUntil(fallbackRow); }))
        runGuarded([&] { m_model->fetchUntil(std::numeric_limits<int>::max() - 1); });
    const int last = m_model->rowCount() - 1;
    setCurrentRow(fallbackRow < 0 ? last : std::min(fallbackRow, last));
}

void TCustomerSearchForm::editCustomer()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const int customerId = TRpx2Data::instance()->customerSearchRow(row).CustomerID;
    std::optional<CCustomer> stored;
    if (!runGuarded([&] { stored = TRpx2Data::instance()->GetCustomer(customerId); }))
        return;
    if (!stored) {
        // Gone since the list was loaded: show the register as it is now.
        if (reload(m_nameFilter, m_phoneFilter))
            setCurrentRow(std::min(row, m_model->rowCount() - 1));
        return;
    }
    // A changed name may move the customer elsewhere in the sorted list: follow it, and keep
    // the old row number only when the filter no longer shows it.
    editAndStore(*stored, row, stored);
}

void TCustomerSearchForm::joinSelected()
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedIndexes())
        if (!rows.contains(index.row()))
            rows.append(index.row());
    if (rows.size() < 2) {
        Ui::instance().message(QStringLiteral("Vyberte alespoň dva zákazníky."));
        return;
    }
    std::sort(rows.begin(), rows.end());
    TRpx2Data *data = TRpx2Data::instance();
    // The customer under the cursor survives, whether or not it is marked itself.
    const int survivorRow = currentRow() >= 0 ? currentRow() : rows.first();
    const int survivorId = data->customerSearchRow(survivorRow).CustomerID;
    QList<int> ids;
    for (int row : rows)
        ids.append(data->customerSearchRow(row).CustomerID);
    if (!confirmMerge(QStringLiteral("Přejete si sloučit tohoto zákazníka s vybraným?"),
                      survivorRow, ids))
        return;
    merge(survivorId, ids);
}

void TCustomerSearchForm::joinAll()
{
    // Merge what the filter boxes say, not a list that a pending reload is about to replace.
    if (m_timer->isActive())
        applyFilter();
    // Every customer the filter shows, also those further down than the list has read.
    QList<int> ids;
    if (!runGuarded([&] { ids = m_model->allIds(); }) || ids.size() < 2)
        return;
    TRpx2Data *data = TRpx2Data::instance();
    const int survivorRow = std::max(0, currentRow());
    const int survivorId = data->customerSearchRow(survivorRow).CustomerID;
    if (!confirmMerge(
            QStringLiteral("Přejete si sloučit všechny aktuálně zobrazené zákazníky v jednoho?"),
            survivorRow, ids))
        return;
    merge(survivorId, ids);
}

// The merge question names the customer who stays and how many orders move to it.
bool TCustomerSearchForm::confirmMerge(const QString &question, int survivorRow,
                                       const QList<int> &customerIds)
{
    TRpx2Data *data = TRpx2Data::instance();
    const CCustomer survivor = data->customerSearchRow(survivorRow);
    QList<int> moving;
    for (int id : customerIds)
        if (id != survivor.CustomerID)
            moving.append(id);
    int orders = 0;
    if (!runGuarded([&] { orders = data->GetOrderCountOfCustomers(moving); }))
        return false;
    const QString who = QStringList { survivor.CustomerCode, survivor.CustomerName }
                            .join(QLatin1Char(' '))
                            .trimmed();
    const QString text = question
        + QStringLiteral("\nZůstane zákazník %1, převede se na něj zakázek: %2.")
              .arg(who)
              .arg(orders);
    return Ui::instance().ask(text, QString(), Prompts::Buttons::OkCancel, Prompts::Icon::Question)
        == Prompts::Answer::Ok;
}

void TCustomerSearchForm::merge(int survivorId, const QList<int> &customerIds)
{
    if (!runGuarded([&] { TRpx2Data::instance()->MergeCustomers(survivorId, customerIds); }))
        return;
    if (!reload(m_nameFilter, m_phoneFilter))
        return;
    // The cursor stays on the customer who took the others in, ready for OK.
    const int row = rowOfCustomer(survivorId);
    setCurrentRow(row >= 0 ? row : 0);
}
