// The customer search (filters, picking, new and edit, merging) and the customer dialog
// with its drawn codes.

#include "customers/customereditform.h"
#include "customers/customersearchform.h"

#include "customercode.h"
#include "fakeui.h"
#include "testshop.h"

#include <QtSql>
#include <QtWidgets>

#include "widgettools.h"

using namespace Qt::StringLiterals;

namespace {

// A fresh shop with its data module open, a scripted Ui and, once opened, the search dialog.
struct Shop : DataShop
{
    FakeUi ui;
    std::unique_ptr<TCustomerSearchForm> form;

    int add(const QString &name, const QString &phone = {})
    {
        CCustomer c;
        c.CustomerCode = CustomerCode::draw();
        c.CustomerName = name;
        c.CustomerPhoneNo = phone;
        data.StoreCustomer(c);
        return c.CustomerID;
    }
    static QString orderId(int n) { return u"2024-%1"_s.arg(n, 5, 10, QLatin1Char('0')); }
    void addOrder(int n, int customerId)
    {
        COrder o;
        o.OrderID = orderId(n);
        o.OrderCustomerID = customerId;
        data.StoreOrder(o);
    }
    int ownerOf(int n) { return data.GetOrder(orderId(n)).value().OrderCustomerID; }
    bool exists(int id) { return data.GetCustomer(id).has_value(); }

    void open() { form = std::make_unique<TCustomerSearchForm>(); }
    QTableView *grid() const { return child<QTableView>(*form, "DBGrid1"); }
    CCustomer current() const { return form->currentCustomer(); }
    void trigger(const QString &action) { child<QAction>(*form, qPrintable(action))->trigger(); }
    void pressOk() { child<QPushButton>(*form, "ButtonOk")->click(); }
    QModelIndex cell(int row) const
    {
        return grid()->model()->index(row, grid()->horizontalHeader()->logicalIndex(0));
    }
    // The names the grid shows, top to bottom ("" for a customer without a name).
    QStringList names() const
    {
        QStringList names;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            names.append(cell(row).data().toString());
        return names;
    }
    void cursorTo(const QString &name,
                  QItemSelectionModel::SelectionFlags flags
                  = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows)
    {
        grid()->selectionModel()->setCurrentIndex(cell(names().indexOf(name)), flags);
    }
    // Applies the filter boxes and waits for the one reload the timer makes.
    void filter(const QString &name, const QString &phone = {})
    {
        QSignalSpy reset(grid()->model(), &QAbstractItemModel::modelReset);
        child<QLineEdit>(*form, "EditFilterName")->setText(name);
        child<QLineEdit>(*form, "EditFilterPhoneNo")->setText(phone);
        QVERIFY(reset.wait(3000));
        QCOMPARE(reset.count(), 1);
    }
};

// Eight digits from 10000000 to 99999999.
bool isCustomerCode(const QString &code)
{
    static const QRegularExpression pattern(u"^[1-9][0-9]{7}$"_s);
    return pattern.match(code).hasMatch();
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// Quotes, a percent sign, blanks and a character beyond the code page: stored, shown and
// filtered as typed, never taken for SQL.
CCustomer oddCustomer()
{
    CCustomer c;
    c.CustomerShowCode = true;
    c.CustomerCode = u"12345678"_s;
    c.CustomerName = u"O'Brien \"Bob\" 😀"_s;
    c.CustomerStreet = u"Dlouhá 5'; DROP TABLE t_customer_02; --"_s;
    c.CustomerCity = u"Žďár nad Sázavou"_s;
    c.CustomerPSC = u" 591 01 "_s;
    c.CustomerPhoneNo = u"+420 777' 123"_s;
    c.CustomerEMail = u"bob+%_@example.cz"_s;
    return c;
}

} // namespace

class TestGuiCustomers : public QObject
{
    Q_OBJECT

private slots:
    // The filters (blanks around ignored; case folding and characters like % or _ are the
    // shared filter's, tested with the order list), then picking: the customer under the
    // cursor comes back with every field as stored, and the customer dialog gives back what it
    // was given. With nobody found, picking chooses nobody: the dialog closes as with Storno
    // and the caller gets no empty customer.
    void searchAndPick_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("listed"); // sorted, separated by "|"
        QTest::addColumn<QString>("how"); // ok, doubleclick, pending, enter or an action
        QTest::addColumn<int>("closed"); // 1: accepted, 0: rejected, -1: left open
        auto row = [](const char *name, const char *nameFilter, const char *phoneFilter,
                      const char *listed, const char *how, int closed) {
            QTest::newRow(name) << QString::fromUtf8(nameFilter) << QString::fromUtf8(phoneFilter)
                                << QString::fromUtf8(listed) << QString::fromLatin1(how) << closed;
        };
        const char *everyone
            = "|Dvořák Antonín|NOVÁČEK Petr|Novák Jan|O'Brien \"Bob\" 😀|Čapek Karel";
        row("name part, also without phone", "  nov  ", "", "NOVÁČEK Petr|Novák Jan", "", -1);
        row("phone part, also without name", "", "60", "|Dvořák Antonín|Novák Jan", "", -1);
        row("quotes and emoji", "o'brien \"bob\" 😀", "' 1", "O'Brien \"Bob\" 😀", "ok", 1);
        row("double click on the row", "", "", everyone, "doubleclick", 1);
        // Typing a name and pressing Enter at once must not pick the first customer of the
        // unfiltered list: the first OK shows the filtered list, the second picks.
        row("OK with the filter still pending", "", "", everyone, "pending", 1);
        row("nobody: Select", "xyz", "", "", "Select", 0);
        row("nobody: OK button", "xyz", "", "", "ok", 0);
        row("nobody: Enter in the name box", "xyz", "", "", "enter", 0);
        row("nobody: Edit and JoinAll do nothing", "xyz", "", "", "Edit+JoinAll", -1);
    }
    void searchAndPick()
    {
        QFETCH(QString, name);
        QFETCH(QString, phone);
        QFETCH(QString, how);
        QFETCH(int, closed);
        Shop s;
        s.add(u"Novák Jan"_s, u"602 111 222"_s);
        s.add(u"NOVÁČEK Petr"_s);
        s.add(u"Čapek Karel"_s, u"777000111"_s);
        s.add(u"Dvořák Antonín"_s, u"603123456"_s);
        s.add(QString(), u"605555555"_s);
        CCustomer odd = oddCustomer();
        s.data.StoreCustomer(odd);
        // An earlier search left the shared list filtered: opening shows everyone again.
        s.data.ReloadCustomerSearch(u"Novák"_s, u"9"_s);
        s.open();
        s.form->show();
        QVERIFY(QTest::qWaitForWindowActive(s.form.get()));
        QCOMPARE(s.names().size(), 6);
        if (!name.isEmpty() || !phone.isEmpty())
            s.filter(name, phone);
        QTEST(sorted(s.names()).join(u'|'), "listed");
        // Reloading must not bring back the hidden key and code columns.
        QHeaderView *header = s.grid()->horizontalHeader();
        QCOMPARE(header->count() - header->hiddenSectionCount(), 4);
        if (how.isEmpty())
            return;

        if (s.names().contains(odd.CustomerName))
            s.cursorTo(odd.CustomerName);
        QSignalSpy finished(s.form.get(), &QDialog::finished);
        if (how == "doubleclick"_L1) {
            const QPoint cell = s.grid()->visualRect(s.grid()->currentIndex()).center();
            QTest::mouseClick(s.grid()->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(s.grid()->viewport(), Qt::LeftButton, {}, cell);
        } else if (how == "pending"_L1) {
            child<QLineEdit>(*s.form, "EditFilterName")->setText(u"brien"_s);
            s.pressOk();
            QCOMPARE(s.names(), QStringList { odd.CustomerName });
            QCOMPARE(finished.count(), 0);
            s.pressOk();
        } else if (how == "ok"_L1) {
            QTest::mouseClick(child<QPushButton>(*s.form, "ButtonOk"), Qt::LeftButton);
        } else if (how == "enter"_L1) {
            QTest::keyClick(child<QLineEdit>(*s.form, "EditFilterName"), Qt::Key_Return);
        } else {
            for (const QString &action : how.split(u'+'))
                s.trigger(action);
        }
        QCOMPARE(finished.count(), closed >= 0 ? 1 : 0);
        QCOMPARE(s.form->result(), closed > 0 ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(s.current(), closed > 0 ? odd : CCustomer());
        QVERIFY(s.ui.dialogsShown.isEmpty() && s.ui.questions.isEmpty() && s.ui.messages.isEmpty());
        QCOMPARE(s.data.GetCustomer(odd.CustomerID), odd);
        TCustomerEditForm edit;
        edit.setCustomer(odd);
        QCOMPARE(edit.customer(), odd);
    }

    // The list reads its rows as it scrolls: End and Ctrl+End go to the filter's last
    // customer, not to the last one read, and Home back to the first.
    void endReachesTheLastCustomer()
    {
        Shop s;
        for (int i = 0; i < 300; ++i)
            s.add(u"Zákazník %1"_s.arg(i, 3, 10, QLatin1Char('0')));
        s.add(u"Žák Zdeněk"_s);
        s.open();
        QVERIFY(s.grid()->model()->rowCount() < 301);
        for (const auto &[key, mods, name] :
             { std::tuple(Qt::Key_End, Qt::NoModifier, "Žák Zdeněk"),
               std::tuple(Qt::Key_Home, Qt::NoModifier, "Zákazník 000"),
               std::tuple(Qt::Key_End, Qt::ControlModifier, "Žák Zdeněk") }) {
            QTest::keyClick(s.grid(), key, mods);
            QCOMPARE(s.current().CustomerName, QString::fromUtf8(name));
        }
    }

    void newAndEdit_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("accept");
        QTest::newRow("new: stored, cursor on it") << u"New"_s << true;
        QTest::newRow("edit: last drawn code stored, cursor follows") << u"Edit"_s << true;
        QTest::newRow("edit: cancelled, also the drawn code") << u"Edit"_s << false;
    }
    void newAndEdit()
    {
        QFETCH(QString, action);
        QFETCH(bool, accept);
        const bool isNew = action == "New"_L1;
        Shop s;
        s.add(u"Adam"_s);
        const int id = s.add(u"Zdeněk"_s, u"111"_s);
        const CCustomer zdenek = *s.data.GetCustomer(id);
        s.open();
        s.cursorTo(u"Zdeněk"_s);
        const int rows = s.names().size();

        // The clerk draws two codes and types a name that sorts first: a new customer does not
        // land on the last row, an edited one leaves its row.
        CCustomer offered;
        QStringList drawn;
        s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
            offered = static_cast<TCustomerEditForm &>(dialog).customer();
            auto *code = child<QLineEdit>(dialog, "CustomerCodeEdit");
            for (int i = 0; i < 2; ++i) {
                QTest::mouseDClick(code, Qt::LeftButton);
                drawn.append(code->text());
            }
            child<QLineEdit>(dialog, "CustomerNameEdit")->setText(u"Aaron"_s);
            return accept ? QDialog::Accepted : QDialog::Rejected;
        });
        s.trigger(action);
        QCOMPARE(s.ui.dialogsShown, QStringList { u"TCustomerEditForm"_s });

        // A new customer is offered with a fresh code to be printed, an edited one as stored.
        CCustomer expected = isNew ? CCustomer() : zdenek;
        if (isNew) {
            expected.CustomerShowCode = true;
            expected.CustomerCode = offered.CustomerCode;
        }
        QCOMPARE(offered, expected);
        for (const QString &code : QStringList { offered.CustomerCode, drawn[0], drawn[1] })
            QVERIFY2(isCustomerCode(code), qPrintable(code));
        QVERIFY(drawn[0] != drawn[1] && drawn[0] != offered.CustomerCode);
        if (accept) { // a new customer takes the next id
            expected.CustomerCode = drawn[1];
            expected.CustomerName = u"Aaron"_s;
            expected.CustomerID = isNew ? id + 1 : id;
        }
        QCOMPARE(s.names().size(), rows + (isNew && accept ? 1 : 0));
        if (accept)
            QCOMPARE(s.current().CustomerName, u"Aaron"_s);
        QCOMPARE(s.data.GetCustomer(isNew ? id + 1 : id).value_or(CCustomer()), expected);
        if (isNew)
            QCOMPARE(*s.data.GetCustomer(id), zdenek);
    }

    void merging_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("filter"); // typed into the name box
        QTest::addColumn<bool>("pending"); // the reload of that filter is still due
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QString>("cursor");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("remaining");
        // The question names the customer who stays, the new owner of the orders of those
        // merged away, and how many orders move to it.
        QTest::addColumn<QString>("stays");
        QTest::addColumn<int>("moving");
        const QString adam = u"Adam"_s, bara = u"Bára"_s, cyril = u"Cyril"_s, dana = u"Dana"_s,
                      emil = u"Emil"_s;
        const QStringList everyone { adam, bara, cyril, dana, emil };
        auto row = [](const char *name, const char *action, const char *filter, bool pending,
                      const QStringList &marked, const QString &cursor, bool confirm,
                      const QStringList &remaining, const QString &stays, int moving) {
            QTest::newRow(name) << QString::fromLatin1(action) << QString::fromUtf8(filter)
                                << pending << marked << cursor << confirm << remaining << stays
                                << moving;
        };
        // Dana never had an order and is not merged: she must survive every merge.
        row("selected: fewer than two", "JoinSelected", "", false, { bara }, adam, true, everyone,
            {}, 0);
        row("selected: cursor outside the marked rows", "JoinSelected", "", false,
            { bara, cyril, emil }, adam, true, { adam, dana }, adam, 3);
        row("selected: cursor on a marked row", "JoinSelected", "", false, { bara, cyril }, cyril,
            true, { adam, cyril, dana, emil }, cyril, 2);
        row("selected: not confirmed", "JoinSelected", "", false, { bara, cyril }, adam, false,
            everyone, adam, 3);
        row("selected: none of them has an order", "JoinSelected", "", false, { dana, emil }, dana,
            true, { adam, bara, cyril, dana }, dana, 0);
        row("all: the filtered list", "JoinAll", "r", false, {}, cyril, true,
            { adam, cyril, dana, emil }, cyril, 2);
        // The whole register is still shown when JoinAll comes; only the typed filter counts,
        // and after its reload the cursor is on the first row.
        row("all: filter typed just before", "JoinAll", "r", true, {}, {}, true,
            { adam, bara, dana, emil }, bara, 1);
    }
    void merging()
    {
        QFETCH(QString, action);
        QFETCH(QString, filter);
        QFETCH(bool, pending);
        QFETCH(QStringList, marked);
        QFETCH(QString, cursor);
        QFETCH(bool, confirm);
        QFETCH(QStringList, remaining);
        QFETCH(QString, stays);
        QFETCH(int, moving);
        Shop s;
        QMap<QString, int> ids;
        for (const QString &name : { u"Adam"_s, u"Bára"_s, u"Cyril"_s, u"Dana"_s, u"Emil"_s })
            ids[name] = s.add(name);
        // The owners of orders 1 to 4.
        const QStringList orderOwners { u"Adam"_s, u"Bára"_s, u"Bára"_s, u"Cyril"_s };
        for (int n = 1; n <= 4; ++n)
            s.addOrder(n, ids[orderOwners[n - 1]]);
        s.open();
        if (pending) {
            child<QLineEdit>(*s.form, "EditFilterName")->setText(filter);
            QVERIFY(child<QTimer>(*s.form, "Timer")->isActive());
        } else if (!filter.isEmpty()) {
            s.filter(filter);
        }
        QItemSelectionModel *selection = s.grid()->selectionModel();
        selection->clearSelection();
        for (const QString &name : marked)
            selection->select(s.cell(s.names().indexOf(name)),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (!cursor.isEmpty())
            s.cursorTo(cursor, QItemSelectionModel::NoUpdate);
        s.ui.answers.push_back(confirm ? Prompts::Answer::Ok : Prompts::Answer::Cancel);
        s.trigger(action);

        const bool all = action == "JoinAll"_L1, asked = all || marked.size() >= 2;
        QCOMPARE(s.ui.messageTexts(),
                 asked ? QStringList {} : QStringList { u"Vyberte alespoň dva zákazníky."_s });
        QCOMPARE(s.ui.questions.size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(s.ui.questions[0].text,
                     (all ? u"Přejete si sloučit všechny aktuálně zobrazené zákazníky v jednoho?"_s
                          : u"Přejete si sloučit tohoto zákazníka s vybraným?"_s)
                         + u"\nZůstane zákazník %1 %2, převede se na něj zakázek: %3."_s
                               .arg(s.data.GetCustomer(ids[stays])->CustomerCode, stays)
                               .arg(moving));
        for (auto it = ids.cbegin(); it != ids.cend(); ++it)
            QVERIFY2(s.exists(it.value()) == remaining.contains(it.key()), qPrintable(it.key()));
        QCOMPARE(sorted(s.names()), sorted(remaining.filter(filter, Qt::CaseInsensitive)));
        if (asked && confirm) // the cursor stays on the customer who stays
            QCOMPARE(s.current().CustomerName, stays);
        for (int n = 1; n <= 4; ++n) {
            const QString &was = orderOwners[n - 1];
            QCOMPARE(s.ownerOf(n), ids[remaining.contains(was) ? was : stays]);
        }
    }

    // Another counter changes or deletes the customer while the dialog is open: nothing of
    // it is overwritten; a change is shown with the clerk's edit on top, for OK again.
    void editedMeanwhileAtAnotherCounter_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::newRow("changed") << u"UPDATE t_customer_02 SET CustomerPhoneNo = '222'"_s;
        QTest::newRow("deleted") << u"DELETE FROM t_customer_02"_s;
    }
    void editedMeanwhileAtAnotherCounter()
    {
        QFETCH(QString, meanwhile);
        const bool changed = meanwhile.startsWith(u"UPDATE"_s);
        Shop s;
        const int id = s.add(u"Zdeněk"_s, u"111"_s);
        QSqlDatabase other = QSqlDatabase::addDatabase(
            u"QSQLITE"_s, QString::fromLatin1(QTest::currentDataTag())); // another counter
        other.setDatabaseName(AppPaths::databaseFile());
        QVERIFY(other.open());
        s.open();
        s.cursorTo(u"Zdeněk"_s);

        QStringList shownAgain;
        s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
            child<QLineEdit>(dialog, "CustomerNameEdit")->setText(u"Zdeněk Nový"_s);
            QSqlQuery(other).exec(meanwhile);
            return int(QDialog::Accepted);
        });
        s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
            for (const char *box : { "CustomerNameEdit", "CustomerPhoneEdit" })
                shownAgain.append(child<QLineEdit>(dialog, box)->text());
            return int(QDialog::Accepted);
        });
        s.trigger(u"Edit"_s);

        QCOMPARE(s.ui.messageTexts(),
                 QStringList { rpxText(changed ? "CustomerSearch.CustomerChangedMeanwhile"
                                               : "CustomerSearch.CustomerDeletedMeanwhile") });
        if (changed) {
            QCOMPARE(shownAgain, (QStringList { u"Zdeněk Nový"_s, u"222"_s }));
            QCOMPARE(s.data.GetCustomer(id)->CustomerName, u"Zdeněk Nový"_s);
            QCOMPARE(s.data.GetCustomer(id)->CustomerPhoneNo, u"222"_s);
        } else {
            QCOMPARE(s.ui.dialogsShown.size(), 1);
            QVERIFY(!s.exists(id));
        }
        other.close();
    }
};

QTEST_MAIN(TestGuiCustomers)
#include "tst_gui_customers.moc"
