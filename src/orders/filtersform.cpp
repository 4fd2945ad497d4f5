#include "filtersform.h"

#include "app/ui.h"
#include "config.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QAbstractItemDelegate>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlTableModel>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {


enum class Glyph { Insert, Delete, Edit, Post, Cancel };

// Small navigator glyphs drawn here, so that they look the same with or without an icon
// theme: plus, minus, pencil, tick and cross.
QIcon navigatorIcon(Glyph glyph)
{
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        const QColor green(0x2e, 0x7d, 0x32);
        const QColor red(0xc6, 0x28, 0x28);
        const QColor blue(0x15, 0x65, 0xc0);
        switch (glyph) {
        case Glyph::Insert:
            p.setPen(QPen(green, 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 3), QPointF(8, 13));
            p.drawLine(QPointF(3, 8), QPointF(13, 8));
            break;
        case Glyph::Delete:
            p.setPen(QPen(red, 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3, 8), QPointF(13, 8));
            break;
        case Glyph::Edit: {
            QPainterPath pencil;
            pencil.moveTo(3, 13);
            pencil.lineTo(3.6, 10.2);
            pencil.lineTo(10.8, 3);
            pencil.lineTo(13, 5.2);
            pencil.lineTo(5.8, 12.4);
            pencil.closeSubpath();
            p.setPen(QPen(blue.darker(130), 1.0));
            p.setBrush(blue);
            p.drawPath(pencil);
            break;
        }
        case Glyph::Post:
            p.setPen(QPen(green, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
            break;
        case Glyph::Cancel:
            p.setPen(QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(4, 4), QPointF(12, 12));
            p.drawLine(QPointF(12, 4), QPointF(4, 12));
            break;
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

TRpx2Data &dataModule()
{
    TRpx2Data *data = TRpx2Data::instance();
    if (!data)
        throw RpxError(QStringLiteral("Databáze není otevřena."));
    return *data;
}

QString databaseError(const QSqlTableModel *model)
{
    return formatText(rpxText("Global.DatabaseError"), { model->lastError().text() });
}

// Reads the whole list: SQLite results arrive in blocks of 256 rows.
void fetchAll(QSqlTableModel *model)
{
    while (model->canFetchMore())
        model->fetchMore();
}

} // namespace

TFiltersForm::TFiltersForm(QWidget *owner)
    : QDialog(owner), m_data(dataModule())
{
    setObjectName(QStringLiteral("TFiltersForm"));
    setWindowTitle(QStringLiteral("Seznamy"));

    m_phones.model = m_data.createPhoneListModel(this);
    m_engineers.model = m_data.createEngineerListModel(this);
    fetchAll(m_phones.model);
    fetchAll(m_engineers.model);

    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl"));
    const QStringList modeItems{QStringLiteral("jako filtr"), QStringLiteral("jako nabídku")};
    QWidget *phonePage
        = createPage(m_phones, QStringLiteral("Phone"), QStringLiteral("Typ Telefonu"), modeItems);
    phonePage->setObjectName(QStringLiteral("PhonesPage"));
    pages->addTab(phonePage, QStringLiteral("Telefony"));
    QWidget *engineerPage = createPage(m_engineers, QStringLiteral("Engineer"),
                                       QStringLiteral("Jméno technika"), modeItems);
    engineerPage->setObjectName(QStringLiteral("EngineersPage"));
    pages->addTab(engineerPage, QStringLiteral("Technici"));

    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("ButtonOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Storno"));
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);

    applyTexts();
    loadSettings();
    updateNavigator(m_phones);
    updateNavigator(m_engineers);
    resize(minimumSizeHint().expandedTo(QSize(520, 360)));
}

TFiltersForm::~TFiltersForm() = default;

QWidget *TFiltersForm::createPage(ListPage &page, const QString &prefix, const QString &title,
                                  const QStringList &modeItems)
{
    auto *widget = new QWidget;

    page.idColumn
        = page.model->fieldIndex(page.kind == ListKind::Phone ? QStringLiteral("FilterPhoneID")
                                                              : QStringLiteral("FilterEngineerID"));
    page.nameColumn
        = page.model->fieldIndex(page.kind == ListKind::Phone ? QStringLiteral("PhoneName")
                                                              : QStringLiteral("EngineerName"));
    page.model->setHeaderData(page.nameColumn, Qt::Horizontal, title);

    page.grid = new QTableView;
    page.grid->setObjectName(prefix + QStringLiteral("Grid"));
    page.grid->setModel(page.model);
    page.grid->setColumnHidden(page.idColumn, true);
    page.grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    page.grid->setSelectionMode(QAbstractItemView::SingleSelection);
    page.grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                               | QAbstractItemView::AnyKeyPressed);
    page.grid->horizontalHeader()->setStretchLastSection(true);
    page.grid->horizontalHeader()->setHighlightSections(false);
    page.grid->verticalHeader()->hide();
    page.grid->verticalHeader()->setDefaultSectionSize(page.grid->fontMetrics().height() + 8);
    page.grid->setAlternatingRowColors(true);
    page.grid->setTabKeyNavigation(false);
    connect(page.grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, &page] { updateNavigator(page); });
    connect(page.model, &QAbstractItemModel::modelReset, this,
            [this, &page] { updateNavigator(page); });
    connect(page.model, &QAbstractItemModel::rowsInserted, this,
            [this, &page] { updateNavigator(page); });
    connect(page.model, &QAbstractItemModel::rowsRemoved, this,
            [this, &page] { updateNavigator(page); });

    auto *left = new QVBoxLayout;
    left->addWidget(createNavigator(page, prefix));
    left->addWidget(page.grid, 1);

    auto *modeBox = new QGroupBox(QStringLiteral("Použití seznamu"));
    modeBox->setObjectName(prefix + QStringLiteral("ListModeRadio"));
    page.mode = new QButtonGroup(modeBox);
    auto *modeLayout = new QVBoxLayout(modeBox);
    const QStringList itemNames{QStringLiteral("FilterItem"), QStringLiteral("OfferItem")};
    for (int i = 0; i < modeItems.size(); ++i) {
        auto *radio = new QRadioButton(modeItems.at(i));
        radio->setObjectName(prefix + QStringLiteral("ListMode") + itemNames.at(i));
        page.mode->addButton(radio, i);
        modeLayout->addWidget(radio);
    }

    page.fullEdit = new QCheckBox(QStringLiteral("Editace v zakázce"));
    page.fullEdit->setObjectName(prefix + QStringLiteral("FullEditCheckBox"));

    page.deleteButton = new QPushButton(QStringLiteral("Vymazat"));
    page.deleteButton->setObjectName(page.kind == ListKind::Phone
                                         ? QStringLiteral("Delete1Button")
                                         : QStringLiteral("Delete2Button"));
    page.deleteButton->setAutoDefault(false);
    connect(page.deleteButton, &QPushButton::clicked, this, [this, &page] { clearList(page); });

    auto *right = new QVBoxLayout;
    right->addWidget(modeBox);
    right->addWidget(page.fullEdit);
    right->addStretch(1);
    right->addWidget(page.deleteButton, 0, Qt::AlignLeft);

    auto *layout = new QHBoxLayout(widget);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    if (page.model->rowCount() > 0)
        page.grid->setCurrentIndex(page.model->index(0, page.nameColumn));
    return widget;
}

QWidget *TFiltersForm::createNavigator(ListPage &page, const QString &prefix)
{
    auto *navigator = new QWidget;
    navigator->setObjectName(prefix + QStringLiteral("Navigator"));
    auto *layout = new QHBoxLayout(navigator);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    struct Entry
    {
        Glyph glyph;
        const char *name;
        QString tip;
        void (TFiltersForm::*action)(ListPage &);
    };
    const Entry entries[] = {
        { Glyph::Insert, "InsertButton", rpxText("Filters.Hint.Insert"), &TFiltersForm::insertRow },
        { Glyph::Delete, "DeleteButton", rpxText("Filters.Hint.Delete"), &TFiltersForm::deleteRow },
        { Glyph::Edit, "EditButton", rpxText("Filters.Hint.Edit"), &TFiltersForm::editRow },
        { Glyph::Post, "PostButton", rpxText("Filters.Hint.Post"), &TFiltersForm::postRows },
        { Glyph::Cancel, "CancelButton", rpxText("Filters.Hint.Cancel"),
          &TFiltersForm::cancelRows },
    };
    for (const Entry &entry : entries) {
        auto *button = new QToolButton;
        button->setObjectName(prefix + QLatin1String(entry.name));
        button->setIcon(navigatorIcon(entry.glyph));
        button->setIconSize(QSize(16, 16));
        button->setToolTip(entry.tip);
        button->setAutoRaise(true);
        const auto action = entry.action;
        connect(button, &QToolButton::clicked, this,
                [this, &page, action] { runGuarded([&] { (this->*action)(page); }); });
        layout->addWidget(button);
        if (entry.glyph == Glyph::Delete)
            page.deleteRowButton = button;
        else if (entry.glyph == Glyph::Edit)
            page.editRowButton = button;
    }
    layout->addStretch(1);
    return navigator;
}

void TFiltersForm::applyTexts()
{
    setWindowTitle(rpxTextOr("Filters.Window", windowTitle()));
    auto apply = [this](const char *name, const char *key) {
        const auto buttons = findChildren<QAbstractButton *>(QLatin1String(name));
        for (QAbstractButton *button : buttons)
            button->setText(rpxTextOr(key, button->text()));
    };
    apply("ButtonOk", "Filters.Ok");
    apply("ButtonCancel", "Filters.Cancel");
    apply("Delete1Button", "Filters.Delete");
    apply("Delete2Button", "Filters.Delete");
    apply("PhoneFullEditCheckBox", "Filters.FullEdit");
    apply("EngineerFullEditCheckBox", "Filters.FullEdit");

    auto *pages = findChild<QTabWidget *>(QStringLiteral("PageControl"));
    pages->setTabText(0, rpxTextOr("Filters.Phones", pages->tabText(0)));
    pages->setTabText(1, rpxTextOr("Filters.Engineers", pages->tabText(1)));

    for (ListPage *page : {&m_phones, &m_engineers}) {
        auto *box = static_cast<QGroupBox *>(page->mode->parent());
        box->setTitle(rpxTextOr("Filters.ListMode", box->title()));
    }
    m_phones.model->setHeaderData(
        m_phones.nameColumn, Qt::Horizontal,
        rpxTextOr("Filters.Title.1.1",
               m_phones.model->headerData(m_phones.nameColumn, Qt::Horizontal).toString()));
    m_engineers.model->setHeaderData(
        m_engineers.nameColumn, Qt::Horizontal,
        rpxTextOr("Filters.Title.2.1",
               m_engineers.model->headerData(m_engineers.nameColumn, Qt::Horizontal).toString()));

    // The device-type mode entries come one per line; the engineer one keeps its own.
    const QString items = rpxTextOr("Filters.ListItems", QString());
    if (!items.isEmpty()) {
        const QStringList lines = items.split(QLatin1Char('\n'));
        const auto buttons = m_phones.mode->buttons();
        for (int i = 0; i < buttons.size() && i < lines.size(); ++i) {
            const QString line = lines.at(i).trimmed();
            if (!line.isEmpty())
                m_phones.mode->button(i)->setText(line);
        }
    }
}

void TFiltersForm::loadSettings()
{
    CConfig &config = m_data.config();
    m_phones.mode->button(config.GetLMPhone() == 1 ? 1 : 0)->setChecked(true);
    m_engineers.mode->button(config.GetLMEngineer() == 1 ? 1 : 0)->setChecked(true);
    m_phones.fullEdit->setChecked(config.GetFEPhone());
    m_engineers.fullEdit->setChecked(config.GetFEEngineer());
}

void TFiltersForm::storeSettings()
{
    CConfig &config = m_data.config();
    config.SetLMPhone(m_phones.mode->checkedId() == 1 ? 1 : 0);
    config.SetLMEngineer(m_engineers.mode->checkedId() == 1 ? 1 : 0);
    config.SetFEPhone(m_phones.fullEdit->isChecked());
    config.SetFEEngineer(m_engineers.fullEdit->isChecked());
}

void TFiltersForm::done(int result)
{
    const bool posted = runGuarded([this, result] {
        postRows(m_phones);
        postRows(m_engineers);
        if (result == QDialog::Accepted)
            storeSettings();
    });
    if (posted)
        QDialog::done(result);
}

// A row with a change not yet written: every cell of an inserted row counts as changed.
bool TFiltersForm::rowPending(const ListPage &page, int row) const
{
    return page.model->isDirty(page.model->index(row, page.idColumn))
        || page.model->isDirty(page.model->index(row, page.nameColumn));
}

void TFiltersForm::insertRow(ListPage &page)
{
    // Like leaving a row, inserting posts what is pending first, so that the next
    // identifier is counted from what the table really holds.
    postRows(page);
    const int row = page.model->rowCount();
    if (!page.model->insertRow(row))
        throw RpxError(databaseError(page.model));
    if (page.kind == ListKind::Phone)
        page.model->setData(page.model->index(row, page.idColumn), m_data.NextFilterPhoneID());
    const QModelIndex index = page.model->index(row, page.nameColumn);
    page.grid->setCurrentIndex(index);
    page.grid->scrollTo(index);
    page.grid->setFocus();
    page.grid->edit(index);
}

void TFiltersForm::deleteRow(ListPage &page)
{
    discardEditor(page);
    const QModelIndex current = page.grid->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    // An inserted row that was never posted only has to disappear; an inserted row has its
    // identifier cell changed, an edited one never does.
    if (page.model->isDirty(page.model->index(row, page.idColumn))) {
        page.model->revertRow(row);
        return;
    }
    page.model->revertRow(row);
    const QVariant id = page.model->data(page.model->index(row, page.idColumn));
    const QString name = page.model->data(page.model->index(row, page.nameColumn)).toString();
    // A stored row is deleted at once: only after the clerk confirmed it.
    if (Ui::instance().ask(formatText(rpxTextOr("Filters.DeleteRowConfirm",
                                                QStringLiteral("Smazat ze seznamu „%s“?")),
                                      { name }),
                           QStringLiteral("?"), Prompts::Buttons::YesNo, Prompts::Icon::Question)
        != Prompts::Answer::Yes)
        return;

    // Post the other rows' changes, then find the row again: posting reloads the list.
    postRows(page);
    for (int r = 0; r < page.model->rowCount(); ++r) {
        if (page.model->data(page.model->index(r, page.idColumn)) == id
            && page.model->data(page.model->index(r, page.nameColumn)).toString() == name) {
            page.model->removeRow(r);
            if (!page.model->submitAll()) {
                const QString error = databaseError(page.model);
                page.model->revertAll();
                throw RpxError(error);
            }
            fetchAll(page.model);
            const int next = qMin(r, page.model->rowCount() - 1);
            if (next >= 0)
                page.grid->setCurrentIndex(page.model->index(next, page.nameColumn));
            return;
        }
    }
}

void TFiltersForm::editRow(ListPage &page)
{
    QModelIndex current = page.grid->currentIndex();
    if (!current.isValid())
        return;
    current = page.model->index(current.row(), page.nameColumn);
    page.grid->setCurrentIndex(current);
    page.grid->setFocus();
    page.grid->edit(current);
}

void TFiltersForm::postRows(ListPage &page)
{
    commitEditor(page);
    QString currentName;
    if (page.grid->currentIndex().isValid())
        currentName
            = page.model->data(page.model->index(page.grid->currentIndex().row(), page.nameColumn))
                  .toString()
                  .trimmed();

    // Names are stored without surrounding blanks; a name made only of blanks is no entry,
    // so such a row is dropped (inserted) or keeps its stored name (edited).
    for (int row = page.model->rowCount() - 1; row >= 0; --row) {
        if (!rowPending(page, row))
            continue;
        const QModelIndex nameIndex = page.model->index(row, page.nameColumn);
        const QString name = page.model->data(nameIndex).toString();
        const QString trimmed = name.trimmed();
        if (trimmed.isEmpty())
            page.model->revertRow(row);
        else if (trimmed != name)
            page.model->setData(nameIndex, trimmed);
    }
    if (!page.model->isDirty())
        return;

    // Every posted engineer row, new or edited, gets the next identifier.
    if (page.kind == ListKind::Engineer) {
        int next = m_data.NextFilterEngineerID();
        for (int row = 0; row < page.model->rowCount(); ++row) {
            if (rowPending(page, row))
                page.model->setData(page.model->index(row, page.idColumn), next++);
        }
    }
    if (!page.model->submitAll())
        throw RpxError(databaseError(page.model));
    reselect(page, currentName);
}

void TFiltersForm::cancelRows(ListPage &page)
{
    discardEditor(page);
    page.model->revertAll();
}

void TFiltersForm::clearList(ListPage &page)
{
    const QString question = page.kind == ListKind::Phone
        ? QStringLiteral("Vymazat seznam telefonů?")
        : QStringLiteral("Vymazat seznam techniků?");
    if (Ui::instance().ask(question, QStringLiteral("?"), Prompts::Buttons::YesNo,
                           Prompts::Icon::Question)
        != Prompts::Answer::Yes)
        return;
    runGuarded([this, &page] {
        discardEditor(page);
        page.model->revertAll();
        if (page.kind == ListKind::Phone)
            m_data.ClearPhoneList();
        else
            m_data.ClearEngineerList();
        page.model->select();
        fetchAll(page.model);
    });
}

// Writes what is typed in an open cell editor into the model, as leaving the cell would.
void TFiltersForm::commitEditor(ListPage &page)
{
    const QModelIndex index = page.grid->currentIndex();
    QWidget *editor = page.grid->indexWidget(index);
    QAbstractItemDelegate *delegate = page.grid->itemDelegateForIndex(index);
    if (!editor || !delegate)
        return;
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TFiltersForm::discardEditor(ListPage &page)
{
    const QModelIndex index = page.grid->currentIndex();
    QWidget *editor = page.grid->indexWidget(index);
    QAbstractItemDelegate *delegate = page.grid->itemDelegateForIndex(index);
    if (editor && delegate)
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// After posting the list is read again; the row that was current stays current.
void TFiltersForm::reselect(ListPage &page, const QString &currentName)
{
    fetchAll(page.model);
    if (currentName.isEmpty())
        return;
    for (int row = 0; row < page.model->rowCount(); ++row) {
        const QModelIndex index = page.model->index(row, page.nameColumn);
        if (page.model->data(index).toString() == currentName) {
            page.grid->setCurrentIndex(index);
            return;
        }
    }
}

void TFiltersForm::updateNavigator(ListPage &page)
{
    const bool hasRow = page.grid->currentIndex().isValid();
    page.deleteRowButton->setEnabled(hasRow);
    page.editRowButton->setEnabled(hasRow);
}
