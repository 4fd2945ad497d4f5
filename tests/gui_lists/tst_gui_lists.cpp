// The lists dialog (device-type and engineer lists) and the bulk rename of an engineer or a
// device type in every order.

#include "fakeui.h"
#include "testshop.h"

#include "config.h"
#include "orders/filtersform.h"
#include "orders/orderrename.h"

#include <QtWidgets>

#include "widgettools.h"

using namespace Qt::StringLiterals;
enum class List { Phone, Engineer };
Q_DECLARE_METATYPE(List)

namespace {

// A control of one list's page: "Phone…" or "Engineer…".
QByteArray control(List list, const char *name)
{
    return (list == List::Phone ? "Phone" : "Engineer") + QByteArray(name);
}

// A fresh shop with its data module open and a scripted Ui installed.
struct Shop : DataShop
{
    FakeUi ui;

    static QString table(List list)
    {
        return list == List::Phone ? u"t_filter_phone_01"_s : u"t_filter_engineer_01"_s;
    }
    void addRow(List list, int id, const QString &name)
    {
        data.ExecuteCommand(u"INSERT INTO %1 VALUES (?, ?)"_s.arg(table(list)), { id, name });
    }
    // The rows of a list as "id name", separated by "|".
    QString rows(List list)
    {
        const QString kind = list == List::Phone ? u"Phone"_s : u"Engineer"_s;
        return column(data,
                      u"SELECT Filter%1ID || ' ' || %1Name FROM %2 ORDER BY Filter%1ID"_s.arg(
                          kind, table(list)))
            .join(u'|');
    }
    // One order per entry; every second order is handed back, so that the rename is seen to
    // reach locked orders too.
    void storeOrders(const QStringList &engineers, const QStringList &phoneTypes)
    {
        for (int i = 0; i < engineers.size(); ++i) {
            COrder order;
            order.OrderID = u"2026-%1"_s.arg(i + 1, 5, 10, QLatin1Char('0'));
            order.OrderStateID = i % 2 ? OrderStates::HandedBack : OrderStates::InRepair;
            order.OrderEngineerName = engineers.at(i);
            order.OrderPhoneType = phoneTypes.value(i);
            data.StoreOrder(order);
        }
    }
    QStringList orderColumn(const char *name)
    {
        return column(data,
                      u"SELECT %1 FROM t_order_02 ORDER BY OrderID"_s.arg(QLatin1String(name)));
    }
};

} // namespace

class TestGuiLists : public QObject
{
    Q_OBJECT

private slots:
    void editingTheLists_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<QString>("existing"); // rows as "id name", separated by "|"
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *name, List list, const char *existing, const char *steps,
                      const char *expected) {
            QTest::newRow(name) << list << QString::fromUtf8(existing)
                                << QString::fromUtf8(steps).split(u'|')
                                << QString::fromUtf8(expected);
        };
        const List phone = List::Phone, engineer = List::Engineer;
        // Two inserts in a row: the second posts the first, so the ids must not collide.
        row("phone: new rows after the largest id", phone, "3 Alcatel|7 Zte",
            "+Nokia 3310|+Sony J1|post", "3 Alcatel|7 Zte|8 Nokia 3310|9 Sony J1");
        // Every post of an engineer row, an edited one too, gives it an id above all others.
        row("engineer: posted rows get new larger ids", engineer, "1 Novák|5 Svoboda|2 Dvořák",
            "Novák=Novák Jan|post|?Novák Jan|+Horák|ok", "2 Dvořák|5 Svoboda|6 Novák Jan|7 Horák");
        // Deleting posts a pending edit elsewhere first; a new row never posted just goes.
        row("engineer: delete removes only that row", engineer, "1 Novák|2 Svoboda",
            "Novák=Nováková|-Svoboda|+Horák|-|ok", "3 Nováková");
        row("phone: delete not confirmed keeps the row", phone, "1 Nokia|2 Sony", "-Sony:no|ok",
            "1 Nokia|2 Sony");
        // Blanks are no name: an entry blanked keeps its name, a new row of blanks is dropped.
        row("engineer: blanks", engineer, "1 Kovář", "Kovář=  |post|+   |post|+  Beneš |post",
            "1 Kovář|2 Beneš");
        // Clearing a list asks first and clears only that list.
        // A cleared list numbers new rows from 1 again.
        row("phone: cleared", phone, "1 Kovář", "clear|+Nokia 3310|+Sony J1|post",
            "1 Nokia 3310|2 Sony J1");
        row("engineer: clearing not confirmed", engineer, "1 Kovář", "clear:no", "1 Kovář");
    }

    // Steps as the clerk takes them: "+name" inserts a row and types the name, "old=new" types
    // into the row of old, "-name" deletes the stored row of name after the question, answered
    // Yes ("-name:no": No), "-" deletes the current row never posted, "post" posts,
    // "?name" checks that the cursor is on name, "clear" clears the list after the question
    // ("clear:no": No), and "ok" closes the dialog. Typed text stays in the open cell editor, as
    // with the clerk. The other list is never touched.
    void editingTheLists()
    {
        QFETCH(List, list);
        QFETCH(QString, existing);
        QFETCH(QStringList, steps);
        Shop s;
        for (const QString &row : existing.split(u'|', Qt::SkipEmptyParts))
            s.addRow(list, row.section(u' ', 0, 0).toInt(), row.section(u' ', 1));
        const List other = list == List::Phone ? List::Engineer : List::Phone;
        s.addRow(other, 1, u"Jiný"_s);
        TFiltersForm form;
        form.show();
        auto *grid = child<QTableView>(form, control(list, "Grid"));
        QAbstractItemModel *model = grid->model();
        const int nameColumn = model->columnCount() - 1; // the name follows the id
        auto rowOf = [&](const QString &name) {
            for (int row = 0; row < model->rowCount(); ++row)
                if (model->index(row, nameColumn).data().toString() == name)
                    return row;
            return -1;
        };
        auto type = [&](int row, const QString &text) {
            const QModelIndex index = model->index(row, nameColumn);
            grid->setCurrentIndex(index);
            if (!grid->indexWidget(index)) // inserting opens the editor already
                grid->edit(index);
            auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(index));
            QVERIFY(editor);
            editor->setText(text);
        };
        for (const QString &step : steps) {
            if (step.startsWith(u'+')) {
                click(form, control(list, "InsertButton"));
                type(grid->currentIndex().row(), step.mid(1));
            } else if (step.startsWith(u'-')) {
                const QString name = step.mid(1).section(u':', 0, 0);
                const qsizetype asked = s.ui.questions.size();
                if (!name.isEmpty())
                    grid->setCurrentIndex(model->index(rowOf(name), nameColumn));
                if (step.endsWith(u":no"_s))
                    s.ui.answers.push_back(Prompts::Answer::No);
                click(form, control(list, "DeleteButton"));
                QCOMPARE(s.ui.questions.size(), asked + (name.isEmpty() ? 0 : 1));
                if (!name.isEmpty())
                    QCOMPARE(s.ui.questions.last().text, u"Smazat ze seznamu „%1“?"_s.arg(name));
            } else if (step.startsWith(u"clear"_s)) {
                s.ui.answers.push_back(step.endsWith(u":no"_s) ? Prompts::Answer::No
                                                               : Prompts::Answer::Yes);
                click(form, list == List::Phone ? "Delete1Button" : "Delete2Button");
                QCOMPARE(s.ui.questions.last().text,
                         list == List::Phone ? u"Vymazat seznam telefonů?"_s
                                             : u"Vymazat seznam techniků?"_s);
            } else if (step.startsWith(u'?')) {
                QCOMPARE(grid->currentIndex().data().toString(), step.mid(1));
            } else if (step.contains(u'=')) {
                type(rowOf(step.section(u'=', 0, 0)), step.section(u'=', 1));
            } else {
                click(form, step == "ok"_L1 ? "ButtonOk" : control(list, "PostButton"));
            }
        }
        QTEST(s.rows(list), "expected");
        QCOMPARE(s.rows(other), u"1 Jiný"_s);
        if (steps.last() != "ok"_L1)
            QCOMPARE(model->rowCount(), s.rows(list).split(u'|', Qt::SkipEmptyParts).size());
        QVERIFY(s.ui.messages.isEmpty());
    }

    // --- bulk rename ----------------------------------------------------------------------------

    void rename_data()
    {
        QTest::addColumn<bool>("engineer");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to"); // typed into the dialog
        QTest::addColumn<QByteArray>("button"); // clicked in the dialog; empty: no dialog
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("expected");
        const QByteArray ok("OkButton");
        QTest::newRow("engineer: prefix and longer names untouched, handed-back renamed")
            << true
            << QStringList { u"Novák"_s, u"Novák"_s, u"Nováková"_s, u"Novák Jan"_s, u" Novák"_s }
            << u"Novák"_s << u"Dvořák"_s << ok << true
            << QStringList { u"Dvořák"_s, u"Dvořák"_s, u"Nováková"_s, u"Novák Jan"_s, u" Novák"_s };
        QTest::newRow("device type: apostrophe, handed-back renamed, similar names untouched")
            << false
            << QStringList { u"Nokia 'blue'"_s, u"Nokia 'blue'"_s, u"Nokia"_s, u"Nokia 'blue' 2"_s }
            << u"Nokia 'blue'"_s << u"Nokia 'm'; DELETE FROM t_order_02; --"_s << ok << true
            << QStringList { u"Nokia 'm'; DELETE FROM t_order_02; --"_s,
                             u"Nokia 'm'; DELETE FROM t_order_02; --"_s, u"Nokia"_s,
                             u"Nokia 'blue' 2"_s };
        const QStringList novak { u"Novák"_s, u"Novák"_s, QString() };
        QTest::newRow("cancelled in the dialog") << true << novak << u"Novák"_s << u"Dvořák"_s
                                                 << QByteArray("CancelButton") << true << novak;
        QTest::newRow("cancelled in the confirmation")
            << true << novak << u"Novák"_s << u"Dvořák"_s << ok << false << novak;
        QTest::newRow("new value only blanks: OK refused")
            << true << novak << u"Novák"_s << u"   "_s << ok << true << novak;
        QTest::newRow("empty filter box")
            << true << novak << QString() << QString() << QByteArray() << true << novak;
    }

    // The dialog shows the old value (read-only) and starts the new one from it; after the
    // confirmation only exact matches change, in the chosen column only.
    void rename()
    {
        QFETCH(bool, engineer);
        QFETCH(QStringList, values);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QByteArray, button);
        QFETCH(bool, confirmed);
        QFETCH(QStringList, expected);
        const bool done = values != expected;
        Shop s;
        QStringList others;
        for (int i = 0; i < values.size(); ++i)
            others.append(u"other %1"_s.arg(i));
        s.storeOrders(engineer ? values : others, engineer ? others : values);
        QStringList shown;
        bool fromReadOnly = false;
        s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
            auto *editFrom = child<QLineEdit>(dialog, "EditFrom");
            auto *editTo = child<QLineEdit>(dialog, "EditTo");
            shown = QStringList { editFrom->text(), editTo->text() };
            fromReadOnly = editFrom->isReadOnly();
            editTo->setText(to);
            click(dialog, button);
            return dialog.result();
        });
        s.ui.answers.push_back(confirmed ? Prompts::Answer::Ok : Prompts::Answer::Cancel);
        QString renamedTo = u"unchanged"_s;
        const auto kind = engineer ? OrderRename::Kind::Engineer : OrderRename::Kind::PhoneType;
        QCOMPARE(OrderRename::run(nullptr, kind, from, &renamedTo), done);
        QCOMPARE(renamedTo, done ? to : u"unchanged"_s);
        QCOMPARE(shown, (button.isEmpty() ? QStringList() : QStringList { from, from }));
        QCOMPARE(fromReadOnly, !button.isEmpty());
        QCOMPARE(s.ui.questions.size(), done || !confirmed ? 1 : 0);
        if (done)
            QVERIFY(s.ui.questions[0].text.contains(from) && s.ui.questions[0].text.contains(to));
        QVERIFY(s.ui.messages.isEmpty());
        QTEST(s.orderColumn(engineer ? "OrderEngineerName" : "OrderPhoneType"), "expected");
        QCOMPARE(s.orderColumn(engineer ? "OrderPhoneType" : "OrderEngineerName"), others);
    }
};

QTEST_MAIN(TestGuiLists)
#include "tst_gui_lists.moc"
