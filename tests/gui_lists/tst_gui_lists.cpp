// The lists dialog (device-type and engineer lists, their modes and free typing) and the
// bulk rename of an engineer or a device type in every order.

#include "fakeui.h"
#include "testshop.h"

#include "config.h"
#include "orders/filtersform.h"
#include "orders/orderrename.h"
#include "orders/orderupdateform.h"
#include "records.h"
#include "rpx2data.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlTableModel>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Row = QPair<int, QString>;
using Rows = QList<Row>;

class TestGuiLists : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newPhoneRowGetsNextId_data();
    void newPhoneRowGetsNextId();
    void postedEngineerRowGetsNewLargerId();
    void blankEntriesAreNotStored_data();
    void blankEntriesAreNotStored();
    void deleteRemovesOnlyThatRow();
    void cancelKeepsListEditsButNotSettings();
    void okStoresModesAndFreeTyping_data();
    void okStoresModesAndFreeTyping();
    void clearingAListAsksFirst_data();
    void clearingAListAsksFirst();

    void renameChangesExactMatchesOnly_data();
    void renameChangesExactMatchesOnly();
    void renameNotDone_data();
    void renameNotDone();

private:
    enum class List { Phone, Engineer };
    Rows listRows(List list);
    void addListRow(List list, int id, const QString &name);
    void storeOrders(const QStringList &engineers, const QStringList &phoneTypes);
    QStringList orderColumn(const char *column);

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;
    std::unique_ptr<FakeUi> m_ui;
};

namespace {

template<typename T>
T *child(QObject &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("missing control %s", name);
    return widget;
}

// Types into the cell editor of the grid's name column in the given row (opening it unless
// inserting already did), as the clerk would; the editor stays open.
void typeIntoRow(QTableView *grid, int row, const QString &text)
{
    auto *model = static_cast<QSqlTableModel *>(grid->model());
    const int column = model->columnCount() - 1; // the name column follows the id
    const QModelIndex index = model->index(row, column);
    grid->setCurrentIndex(index);
    if (!grid->indexWidget(index))
        grid->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(index));
    QVERIFY(editor);
    editor->setText(text);
}

int rowOf(QTableView *grid, const QString &name)
{
    QAbstractItemModel *model = grid->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, model->columnCount() - 1).data().toString() == name)
            return row;
    }
    return -1;
}

void click(QObject &parent, const char *name)
{
    child<QAbstractButton>(parent, name)->click();
}

} // namespace

void TestGuiLists::init()
{
    m_shop = std::make_unique<TestShop>();
    m_data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
    m_data->OpenFile(AppPaths::databaseFile());
    m_ui = std::make_unique<FakeUi>();
}

void TestGuiLists::cleanup()
{
    m_ui.reset();
    m_data.reset();
    m_shop.reset();
}

Rows TestGuiLists::listRows(List list)
{
    QSqlQuery query = m_data->OpenQuery(
        list == List::Phone
            ? QStringLiteral("SELECT FilterPhoneID, PhoneName FROM t_filter_phone_01 ORDER BY 1, 2")
            : QStringLiteral(
                "SELECT FilterEngineerID, EngineerName FROM t_filter_engineer_01 ORDER BY 1, 2"));
    Rows rows;
    while (query.next())
        rows.append({query.value(0).toInt(), query.value(1).toString()});
    return rows;
}

void TestGuiLists::addListRow(List list, int id, const QString &name)
{
    m_data->ExecuteCommand(list == List::Phone
                               ? QStringLiteral("INSERT INTO t_filter_phone_01 VALUES (?, ?)")
                               : QStringLiteral("INSERT INTO t_filter_engineer_01 VALUES (?, ?)"),
                           {id, name});
}

// One order per entry; every second order is handed back, so the rename is seen to reach
// locked orders too.
void TestGuiLists::storeOrders(const QStringList &engineers, const QStringList &phoneTypes)
{
    for (int i = 0; i < engineers.size(); ++i) {
        COrder order;
        order.OrderID = QStringLiteral("2026-%1").arg(i + 1, 5, 10, QLatin1Char('0'));
        order.OrderTypeID = OrderTypes::Paid;
        order.OrderStateID = i % 2 ? OrderStates::HandedBack : OrderStates::InRepair;
        order.OrderReceiptDate = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
        order.OrderEngineerName = engineers.at(i);
        order.OrderPhoneType = phoneTypes.value(i);
        m_data->StoreOrder(order);
    }
}

QStringList TestGuiLists::orderColumn(const char *column)
{
    QSqlQuery query = m_data->OpenQuery(
        QStringLiteral("SELECT %1 FROM t_order_02 ORDER BY OrderID").arg(QLatin1String(column)));
    QStringList values;
    while (query.next())
        values.append(query.value(0).toString());
    return values;
}

// ---------------------------------------------------------------------------------------
// Lists dialog

void TestGuiLists::newPhoneRowGetsNextId_data()
{
    QTest::addColumn<Rows>("existing");
    QTest::addColumn<Rows>("expected");

    QTest::newRow("empty table") << Rows{}
                                 << Rows{{1, QStringLiteral("Nokia 3310")},
                                         {2, QStringLiteral("Sony J1")}};
    QTest::newRow("ids with gaps")
        << Rows{{3, QStringLiteral("Alcatel")}, {7, QStringLiteral("Zte")}}
        << Rows{{3, QStringLiteral("Alcatel")},
                {7, QStringLiteral("Zte")},
                {8, QStringLiteral("Nokia 3310")},
                {9, QStringLiteral("Sony J1")}};
}

// Two inserts in a row: the second insert posts the first, so the ids do not collide.
void TestGuiLists::newPhoneRowGetsNextId()
{
    QFETCH(Rows, existing);
    QFETCH(Rows, expected);
    for (const Row &row : existing)
        addListRow(List::Phone, row.first, row.second);

    TFiltersForm form;
    form.show();
    auto *grid = child<QTableView>(form, "PhoneGrid");
    click(form, "PhoneInsertButton");
    typeIntoRow(grid, grid->currentIndex().row(), QStringLiteral("Nokia 3310"));
    click(form, "PhoneInsertButton");
    typeIntoRow(grid, grid->currentIndex().row(), QStringLiteral("Sony J1"));
    click(form, "PhonePostButton");

    QCOMPARE(listRows(List::Phone), expected);
    QVERIFY(m_ui->messages.isEmpty());
}

void TestGuiLists::postedEngineerRowGetsNewLargerId()
{
    addListRow(List::Engineer, 1, QStringLiteral("Novák"));
    addListRow(List::Engineer, 5, QStringLiteral("Svoboda"));
    addListRow(List::Engineer, 2, QStringLiteral("Dvořák"));

    TFiltersForm form;
    form.show();
    auto *grid = child<QTableView>(form, "EngineerGrid");

    // Editing an existing entry gives it an id above all others.
    typeIntoRow(grid, rowOf(grid, QStringLiteral("Novák")), QStringLiteral("Novák Jan"));
    click(form, "EngineerPostButton");
    QCOMPARE(listRows(List::Engineer),
             (Rows{{2, QStringLiteral("Dvořák")},
                   {5, QStringLiteral("Svoboda")},
                   {6, QStringLiteral("Novák Jan")}}));
    QCOMPARE(grid->currentIndex().data().toString(), QStringLiteral("Novák Jan"));

    // A new entry is numbered when it is posted, here by closing with OK.
    click(form, "EngineerInsertButton");
    typeIntoRow(grid, grid->currentIndex().row(), QStringLiteral("Horák"));
    click(form, "ButtonOk");
    QCOMPARE(listRows(List::Engineer).last(), Row(7, QStringLiteral("Horák")));
    QVERIFY(m_ui->messages.isEmpty());
}

void TestGuiLists::blankEntriesAreNotStored_data()
{
    QTest::addColumn<bool>("engineer");
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("stored");

    const QString kept = QStringLiteral("Kovář");
    for (const bool engineer : {false, true}) {
        const char *list = engineer ? "engineer" : "phone";
        QTest::addRow("%s: new row of blanks", list)
            << engineer << true << QStringLiteral("   ") << QStringList{kept};
        QTest::addRow("%s: new row left empty", list)
            << engineer << true << QString() << QStringList{kept};
        QTest::addRow("%s: new row trimmed", list) << engineer << true << QStringLiteral("  Beneš ")
                                                   << QStringList{QStringLiteral("Beneš"), kept};
        QTest::addRow("%s: entry blanked keeps its name", list)
            << engineer << false << QStringLiteral("  ") << QStringList{kept};
    }
}

void TestGuiLists::blankEntriesAreNotStored()
{
    QFETCH(bool, engineer);
    QFETCH(bool, newRow);
    QFETCH(QString, typed);
    QFETCH(QStringList, stored);
    const List list = engineer ? List::Engineer : List::Phone;
    addListRow(list, 1, QStringLiteral("Kovář"));

    TFiltersForm form;
    form.show();
    const char *prefix = engineer ? "Engineer" : "Phone";
    auto *grid = child<QTableView>(form, qPrintable(QLatin1String(prefix) + QLatin1String("Grid")));
    if (newRow)
        click(form, qPrintable(QLatin1String(prefix) + QLatin1String("InsertButton")));
    typeIntoRow(grid, newRow ? grid->currentIndex().row() : 0, typed);
    click(form, qPrintable(QLatin1String(prefix) + QLatin1String("PostButton")));

    QStringList names;
    for (const Row &row : listRows(list))
        names.append(row.second);
    names.sort();
    QCOMPARE(names, stored);
    QCOMPARE(grid->model()->rowCount(), stored.size());
}

void TestGuiLists::deleteRemovesOnlyThatRow()
{
    addListRow(List::Engineer, 1, QStringLiteral("Novák"));
    addListRow(List::Engineer, 2, QStringLiteral("Svoboda"));

    TFiltersForm form;
    form.show();
    auto *grid = child<QTableView>(form, "EngineerGrid");
    // A pending edit elsewhere is posted, the deleted row goes.
    typeIntoRow(grid, rowOf(grid, QStringLiteral("Novák")), QStringLiteral("Nováková"));
    grid->setCurrentIndex(grid->model()->index(rowOf(grid, QStringLiteral("Svoboda")), 1));
    click(form, "EngineerDeleteButton");
    QCOMPARE(listRows(List::Engineer), (Rows{{3, QStringLiteral("Nováková")}}));

    // A new row that was never posted just disappears.
    click(form, "EngineerInsertButton");
    typeIntoRow(grid, grid->currentIndex().row(), QStringLiteral("Horák"));
    click(form, "EngineerDeleteButton");
    click(form, "ButtonOk");
    QCOMPARE(listRows(List::Engineer), (Rows{{3, QStringLiteral("Nováková")}}));
}

void TestGuiLists::cancelKeepsListEditsButNotSettings()
{
    CConfig &config = m_data->config();
    config.SetLMPhone(0);
    config.SetLMEngineer(0);
    config.SetFEPhone(true);
    config.SetFEEngineer(false);

    TFiltersForm form;
    form.show();
    QVERIFY(child<QRadioButton>(form, "PhoneListModeFilterItem")->isChecked());
    QVERIFY(child<QCheckBox>(form, "PhoneFullEditCheckBox")->isChecked());
    QVERIFY(!child<QCheckBox>(form, "EngineerFullEditCheckBox")->isChecked());

    click(form, "EngineerInsertButton");
    auto *grid = child<QTableView>(form, "EngineerGrid");
    typeIntoRow(grid, grid->currentIndex().row(), QStringLiteral("Horák")); // editor still open
    click(form, "EngineerListModeOfferItem");
    click(form, "PhoneListModeOfferItem");
    click(form, "PhoneFullEditCheckBox");
    click(form, "EngineerFullEditCheckBox");
    click(form, "ButtonCancel");

    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(listRows(List::Engineer), (Rows{{1, QStringLiteral("Horák")}}));
    QCOMPARE(config.GetLMPhone(), 0);
    QCOMPARE(config.GetLMEngineer(), 0);
    QCOMPARE(config.GetFEPhone(), true);
    QCOMPARE(config.GetFEEngineer(), false);
}

void TestGuiLists::okStoresModesAndFreeTyping_data()
{
    QTest::addColumn<int>("phoneMode");
    QTest::addColumn<int>("engineerMode");
    QTest::addColumn<bool>("phoneFree");
    QTest::addColumn<bool>("engineerFree");

    QTest::newRow("phone offer, engineer filter") << 1 << 0 << false << true;
    QTest::newRow("phone filter, engineer offer") << 0 << 1 << true << false;
}

void TestGuiLists::okStoresModesAndFreeTyping()
{
    QFETCH(int, phoneMode);
    QFETCH(int, engineerMode);
    QFETCH(bool, phoneFree);
    QFETCH(bool, engineerFree);
    CConfig &config = m_data->config();
    config.SetLMPhone(1 - phoneMode);
    config.SetLMEngineer(1 - engineerMode);
    config.SetFEPhone(!phoneFree);
    config.SetFEEngineer(!engineerFree);

    TFiltersForm form;
    const char *items[] = {"FilterItem", "OfferItem"};
    child<QRadioButton>(
        form, qPrintable(QStringLiteral("PhoneListMode%1").arg(QLatin1String(items[phoneMode]))))
        ->setChecked(true);
    child<QRadioButton>(
        form,
        qPrintable(QStringLiteral("EngineerListMode%1").arg(QLatin1String(items[engineerMode]))))
        ->setChecked(true);
    child<QCheckBox>(form, "PhoneFullEditCheckBox")->setChecked(phoneFree);
    child<QCheckBox>(form, "EngineerFullEditCheckBox")->setChecked(engineerFree);
    click(form, "ButtonOk");

    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(config.GetLMPhone(), phoneMode);
    QCOMPARE(config.GetLMEngineer(), engineerMode);
    QCOMPARE(config.GetFEPhone(), phoneFree);
    QCOMPARE(config.GetFEEngineer(), engineerFree);
}

void TestGuiLists::clearingAListAsksFirst_data()
{
    QTest::addColumn<bool>("engineer");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");

    const QString phones = QStringLiteral("Vymazat seznam telefonů?");
    const QString engineers = QStringLiteral("Vymazat seznam techniků?");
    QTest::newRow("phones, yes") << false << true << phones;
    QTest::newRow("phones, no") << false << false << phones;
    QTest::newRow("engineers, yes") << true << true << engineers;
    QTest::newRow("engineers, no") << true << false << engineers;
}

void TestGuiLists::clearingAListAsksFirst()
{
    QFETCH(bool, engineer);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    for (const List list : {List::Phone, List::Engineer}) {
        addListRow(list, 1, QStringLiteral("Alfa"));
        addListRow(list, 2, QStringLiteral("Beta"));
    }
    const List cleared = engineer ? List::Engineer : List::Phone;
    const List other = engineer ? List::Phone : List::Engineer;

    TFiltersForm form;
    m_ui->answers.push_back(yes ? Prompts::Answer::Yes : Prompts::Answer::No);
    click(form, engineer ? "Delete2Button" : "Delete1Button");

    QCOMPARE(m_ui->questions.size(), 1);
    QCOMPARE(m_ui->questions.first().text, question);
    QCOMPARE(m_ui->questions.first().title, QStringLiteral("?"));
    QCOMPARE(listRows(cleared).size(), yes ? 0 : 2);
    QCOMPARE(listRows(other).size(), 2);
    auto *grid = child<QTableView>(form, engineer ? "EngineerGrid" : "PhoneGrid");
    QCOMPARE(grid->model()->rowCount(), yes ? 0 : 2);
}

// ---------------------------------------------------------------------------------------
// Bulk rename

void TestGuiLists::renameChangesExactMatchesOnly_data()
{
    QTest::addColumn<bool>("engineer");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("engineer: prefix and longer names untouched, handed-back renamed")
        << true << QStringList{QStringLiteral("Novák"),    QStringLiteral("Novák"),
                               QStringLiteral("Nováková"), QStringLiteral("Novák Jan"),
                               QStringLiteral("Svoboda"),  QStringLiteral(" Novák")}
        << QStringLiteral("Novák") << QStringLiteral("Dvořák")
        << QStringList{QStringLiteral("Dvořák"),   QStringLiteral("Dvořák"),
                       QStringLiteral("Nováková"), QStringLiteral("Novák Jan"),
                       QStringLiteral("Svoboda"),  QStringLiteral(" Novák")};
    QTest::newRow("engineer: apostrophes in both values")
        << true
        << QStringList{QStringLiteral("O'Brien"), QStringLiteral("O'Brien"),
                       QStringLiteral("O''Brien"), QStringLiteral("Brien"), QStringLiteral("O")}
        << QStringLiteral("O'Brien") << QStringLiteral("D'Arcy")
        << QStringList{QStringLiteral("D'Arcy"), QStringLiteral("D'Arcy"),
                       QStringLiteral("O''Brien"), QStringLiteral("Brien"), QStringLiteral("O")};
    QTest::newRow("engineer: quote trick matches nothing else")
        << true
        << QStringList{QStringLiteral("x' OR '1'='1"), QStringLiteral("Novák"), QStringLiteral("x")}
        << QStringLiteral("x' OR '1'='1") << QStringLiteral("Y'; DELETE FROM t_order_02; --")
        << QStringList{QStringLiteral("Y'; DELETE FROM t_order_02; --"), QStringLiteral("Novák"),
                       QStringLiteral("x")};
    QTest::newRow("device type: apostrophe, handed-back renamed, similar names untouched")
        << false
        << QStringList{QStringLiteral("Nokia 3310 'blue'"), QStringLiteral("Nokia 3310 'blue'"),
                       QStringLiteral("Nokia 3310"), QStringLiteral("Nokia 3310 'blue' 2")}
        << QStringLiteral("Nokia 3310 'blue'") << QStringLiteral("Nokia 3310 'modrá'")
        << QStringList{QStringLiteral("Nokia 3310 'modrá'"), QStringLiteral("Nokia 3310 'modrá'"),
                       QStringLiteral("Nokia 3310"), QStringLiteral("Nokia 3310 'blue' 2")};
}

void TestGuiLists::renameChangesExactMatchesOnly()
{
    QFETCH(bool, engineer);
    QFETCH(QStringList, values);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, expected);

    // The other column keeps its values whatever is renamed.
    QStringList others;
    for (int i = 0; i < values.size(); ++i)
        others.append(QStringLiteral("other %1").arg(i));
    if (engineer)
        storeOrders(values, others);
    else
        storeOrders(others, values);

    QString shownFrom;
    QString shownTo;
    bool fromReadOnly = false;
    m_ui->dialogHandlers.push_back([&](QDialog &dialog) {
        auto *editFrom = child<QLineEdit>(dialog, "EditFrom");
        auto *editTo = child<QLineEdit>(dialog, "EditTo");
        shownFrom = editFrom->text();
        shownTo = editTo->text();
        fromReadOnly = editFrom->isReadOnly();
        editTo->setText(to);
        click(dialog, "OkButton");
        return dialog.result();
    });
    QString renamedTo;
    const bool renamed = OrderRename::run(
        nullptr, engineer ? OrderRename::Kind::Engineer : OrderRename::Kind::PhoneType, from,
        &renamedTo);

    QVERIFY(renamed);
    QCOMPARE(renamedTo, to);
    QCOMPARE(m_ui->dialogsShown, QStringList{QStringLiteral("TOrderUpdateForm")});
    QCOMPARE(shownFrom, from);
    QCOMPARE(shownTo, from);
    QVERIFY(fromReadOnly);
    QCOMPARE(m_ui->questions.size(), 1);
    QCOMPARE(m_ui->questions.first().title, QStringLiteral("Otázka"));
    QVERIFY2(m_ui->questions.first().text.contains(from)
                 && m_ui->questions.first().text.contains(to),
             qPrintable(m_ui->questions.first().text));
    QVERIFY(m_ui->messages.isEmpty());
    QCOMPARE(orderColumn(engineer ? "OrderEngineerName" : "OrderPhoneType"), expected);
    QCOMPARE(orderColumn(engineer ? "OrderPhoneType" : "OrderEngineerName"), others);
}

void TestGuiLists::renameNotDone_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button"); // clicked in the dialog; empty: no dialog expected
    QTest::addColumn<int>("answer"); // to the confirmation; -1: not asked
    QTest::addColumn<int>("questions");

    const QString from = QStringLiteral("Novák");
    QTest::newRow("cancelled in the dialog")
        << from << QStringLiteral("Dvořák") << QStringLiteral("CancelButton") << -1 << 0;
    QTest::newRow("cancelled in the confirmation")
        << from << QStringLiteral("Dvořák") << QStringLiteral("OkButton")
        << int(Prompts::Answer::Cancel) << 1;
    QTest::newRow("new value only blanks: OK refused")
        << from << QStringLiteral("   ") << QStringLiteral("OkButton") << -1 << 0;
    QTest::newRow("same value again")
        << from << QStringLiteral(" Novák ") << QStringLiteral("OkButton") << -1 << 0;
    QTest::newRow("empty filter box") << QString() << QString() << QString() << -1 << 0;
}

void TestGuiLists::renameNotDone()
{
    QFETCH(QString, from);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(int, questions);
    const QStringList engineers{QStringLiteral("Novák"), QStringLiteral("Novák"), QString()};
    storeOrders(engineers, {});

    if (!button.isEmpty()) {
        m_ui->dialogHandlers.push_back([&](QDialog &dialog) {
            child<QLineEdit>(dialog, "EditTo")->setText(typed);
            click(dialog, qPrintable(button));
            return dialog.result();
        });
    }
    if (answer >= 0)
        m_ui->answers.push_back(Prompts::Answer(answer));

    QString to = QStringLiteral("unchanged");
    QVERIFY(!OrderRename::run(nullptr, OrderRename::Kind::Engineer, from, &to));
    QCOMPARE(to, QStringLiteral("unchanged"));
    QCOMPARE(m_ui->dialogsShown.size(), button.isEmpty() ? 0 : 1);
    QCOMPARE(m_ui->questions.size(), questions);
    QCOMPARE(orderColumn("OrderEngineerName"), engineers);
}

QTEST_MAIN(TestGuiLists)
#include "tst_gui_lists.moc"
