// The main window's order editor: the checks before storing, handing back with its lock, a new
// order's defaults, cancel, numbering and position after storing, the customer of an order and
// secondary amounts.
#include "mainwindowshop.h"

#include "orders/suggestcombobox.h"

#include <QtSql>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {

using State = TRpx2Form::OrderFormState;

int countCustomers(TRpx2Data &data)
{
    QSqlQuery q = data.OpenQuery(u"SELECT count(*) FROM t_customer_02"_s);
    return q.next() ? q.value(0).toInt() : -1;
}

void setState(TRpx2Form &w, int state)
{
    w.OrderStateComboBox->setCurrentIndex(w.OrderStateComboBox->findData(state));
}

// The stored record of the order the window shows.
COrder shownOrder(MainWindowShop &s)
{
    return s.data().GetOrder(s.w().OrderIDEdit->text()).value_or(COrder {});
}

} // namespace

class TestGuiMain : public QObject
{
    Q_OBJECT

private slots:
    void storeChecks_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("options"); // CustomerSelect, EngineerMandatory
        QTest::addColumn<QString>("finalPrice");
        QTest::addColumn<QString>("key"); // the refusal's text; empty when the order is stored

        const int inRepair = OrderStates::InRepair, handedBack = OrderStates::HandedBack;
        const QString bob = u"O'Brien \"Bob\" 100% 😀"_s, none;
        const QString both = u"select engineer"_s, engineer = u"engineer"_s;
        // Several faults at once: the first check in order speaks.
        QTest::newRow("repair first")
            << handedBack << none << both << u"x"_s << u"RepairNotFilled"_s;
        QTest::newRow("not chosen before empty name")
            << inRepair << none << both << u"x"_s << u"CustomerNotChosen"_s;
        QTest::newRow("empty name before engineer")
            << inRepair << none << engineer << u"x"_s << u"CustomerNotFilled"_s;
        QTest::newRow("engineer before prices")
            << inRepair << bob << engineer << u"x"_s << u"EngineerNotFilled"_s;
        // An empty price cannot be stored as a number: refused like any other non-number.
        QTest::newRow("empty final price")
            << inRepair << bob << none << none << u"PriceNotFilled"_s;
        QTest::newRow("handed back") << handedBack << bob << none << u"1250.50"_s << none;
    }

    void storeChecks()
    {
        QFETCH(int, state);
        QFETCH(QString, name);
        QFETCH(QString, options);
        QFETCH(QString, finalPrice);
        QFETCH(QString, key);
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetCustomerSelect(options.contains(u"select"_s));
            data.config().SetEngineerMandatory(options.contains(u"engineer"_s));
            addCustomer(data, u"Bedřich Novotný"_s);
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        // Odd texts go to the database and back unchanged.
        const QString fault = u"Displej \"praskl\" – 50%\n%1 %s ' ; DROP TABLE t_order_02; --\t😀"_s;
        w.ActionOrderNew->trigger();
        setState(w, state);
        w.OrderRepairDescriptionMemo->setPlainText(key.isEmpty() ? u"Výměna displeje"_s
                                                                 : QString());
        w.OrderCustomerNameEdit->setText(name);
        w.OrderFaultDescriptionMemo->setPlainText(fault);
        w.OrderPriceEdit->setText(u"dohodou"_s); // the expected price is free text
        w.OrderIssuePriceEdit->setText(finalPrice);
        w.OrderIssueComponentPriceEdit->setText(u"-3"_s);
        w.ActionOrderStore->trigger();

        if (key.isEmpty()) {
            QCOMPARE(s.ui.messageTexts(), QStringList());
            const COrder stored = shownOrder(s);
            QCOMPARE(stored.OrderStateID, state);
            QCOMPARE(stored.OrderExpectedPricePrimary, u"dohodou"_s);
            QCOMPARE(stored.OrderFinalPricePrimary + stored.OrderComponentsPricePrimary, 1247.5);
            QCOMPARE(stored.OrderFaultDescription, fault);
            QCOMPARE(stored.OrderIssueDate, QDateTime(TestNow.date(), QTime(0, 0))); // today
            QCOMPARE(s.data().GetCustomer(stored.OrderCustomerID)->CustomerName, name);
            QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), fault); // shown as stored
            // An order handed back at intake is locked at once.
            QVERIFY(!w.OrderFaultDescriptionMemo->isEnabled());
            return;
        }
        QCOMPARE(s.ui.messageTexts(),
                 QStringList { rpxText((u"Rpx2."_s + key).toLatin1().constData()) });
        // Nothing written, every entry kept, still taking the order in; a price that is no
        // number is marked.
        QCOMPARE(w.orderFormState(), State::Insert);
        QCOMPARE(s.data().GetOrderCount() + countCustomers(s.data()), 1);
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText() + w.OrderCustomerNameEdit->text()
                     + w.OrderIssuePriceEdit->text(),
                 fault + name + finalPrice);
        QVERIFY(w.OrderIssuePriceEdit->palette().color(QPalette::Base)
                != QApplication::palette().color(QPalette::Base));
    }

    // Handing back locks the order; a change, a cancel or a new order begun and dropped leave it
    // locked again.
    void handingBackLocksAndCancelRestores()
    {
        QString id;
        MainWindowShop s([&](TRpx2Data &data) {
            id = addOrder(data,
                          { .state = OrderStates::Done,
                            .received = TestNow.addDays(-3),
                            .fault = u"Prasklé sklo"_s,
                            .imei = u"356938035643809"_s,
                            .issued = TestNow.addDays(-2) });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        // Locked, no input of the order takes anything: every box, tick box, date and the
        // photo (the filters beside them and the read-only number and code are no inputs).
        // Unlocked, most of them do; the secondary amounts never.
        auto checkLocked = [&](bool locked) {
            QStringList inputs, open;
            for (QWidget *c : w.Panel1->findChildren<QWidget *>()) {
                const QString name = c->objectName();
                auto *edit = qobject_cast<QLineEdit *>(c);
                if ((edit || qobject_cast<QPlainTextEdit *>(c) || qobject_cast<QComboBox *>(c)
                     || qobject_cast<QDateTimeEdit *>(c) || qobject_cast<QCheckBox *>(c)
                     || c == w.OrderRepairImage)
                    && !name.isEmpty() && !name.startsWith(u"qt_"_s) && !name.endsWith(u"Filter"_s)
                    && !(edit && edit->isReadOnly())) {
                    inputs.append(name);
                    if (c->isEnabled())
                        open.append(name);
                }
            }
            QVERIFY2(inputs.size() >= 30, qPrintable(inputs.join(u' ')));
            QVERIFY2(locked ? open.isEmpty() : open.size() >= inputs.size() - 5,
                     qPrintable(open.join(u' ')));
            QVERIFY(!w.OrderIssuePriceSecondaryEdit->isEnabled());
            QCOMPARE(w.ActionOrderChange->isEnabled(), locked);
        };
        checkLocked(false);

        // Choosing "handed back" starts a change and sets the issue date to now; another date
        // set meanwhile: storing the hand-back dates it today, at the time shown.
        setState(w, OrderStates::HandedBack);
        QCOMPARE(w.orderFormState(), State::Edit);
        QCOMPARE(QDateTime(w.OrderIssueDateDateTimePicker->date(),
                           w.OrderIssueTimeDateTimePicker->time()),
                 TestNow);
        w.OrderIssueDateDateTimePicker->setDate(TestNow.date().addDays(-5));
        w.OrderIssueTimeDateTimePicker->setTime(QTime(9, 15));
        w.OrderRepairDescriptionMemo->setPlainText(u"Nové sklo"_s);
        w.ActionOrderStore->trigger();
        QCOMPARE(s.data().GetOrder(id)->OrderIssueDate, QDateTime(TestNow.date(), QTime(9, 15)));
        checkLocked(true);

        // Unlocked for a change, then cancelled: locked again.
        w.ActionOrderChange->trigger();
        checkLocked(false);
        w.OrderFaultDescriptionMemo->setPlainText(u"přepsáno"_s);
        w.ActionOrderCancel->trigger();
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), u"Prasklé sklo"_s);
        checkLocked(true);

        // Unlocked, changed and stored the next day: locked again, and the takings stay on
        // the day of the hand-back.
        Clock::setFixed(TestNow.addDays(1));
        w.ActionOrderChange->trigger();
        w.OrderRepairNoteMemo->setPlainText(u"Doplněna poznámka"_s);
        w.ActionOrderStore->trigger();
        Clock::setFixed(TestNow);
        QCOMPARE(s.data().GetOrder(id)->OrderRepairNote, u"Doplněna poznámka"_s);
        QCOMPARE(s.data().GetOrder(id)->OrderIssueDate, QDateTime(TestNow.date(), QTime(9, 15)));
        checkLocked(true);

        // A new order begun: cleared and unlocked. Dropped: the handed-back order is shown,
        // locked, as before.
        w.ActionOrderNew->trigger();
        QCOMPARE(w.OrderIDEdit->text() + w.OrderFaultDescriptionMemo->toPlainText()
                     + w.OrderPhoneIMEIEdit->text(),
                 QString());
        checkLocked(false);
        w.OrderFaultDescriptionMemo->setPlainText(u"rozepsáno"_s);
        w.OrderCustomerNameEdit->setText(u"Jana"_s);
        w.ActionOrderCancel->trigger();
        QCOMPARE(w.OrderIDEdit->text(), id);
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText() + w.OrderCustomerNameEdit->text(),
                 u"Prasklé sklo"_s);
        checkLocked(true);
        QCOMPARE(s.data().GetOrderCount() + countCustomers(s.data()), 2); // and its customer
        QCOMPARE(s.ui.messageTexts(), QStringList());
    }

    // Escape, Storno, closing the window and moving to another order ask before unsaved
    // changes are dropped; without changes nothing is asked.
    void leavingAnEnteredOrder_data()
    {
        QTest::addColumn<QString>("how"); // "escape", "storno", "close" or "row"
        QTest::addColumn<bool>("newOrder");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<bool>("yes"); // the answer to the question

        for (const char *how : { "escape", "storno", "close", "row" }) {
            QTest::addRow("%s, changed, No", how)
                << QString::fromLatin1(how) << false << true << false;
            QTest::addRow("%s, new order, Yes", how)
                << QString::fromLatin1(how) << true << true << true;
        }
        QTest::newRow("escape, new order untouched") << u"escape"_s << true << false << true;
        QTest::newRow("row, new order untouched") << u"row"_s << true << false << true;
    }

    void leavingAnEnteredOrder()
    {
        QFETCH(QString, how);
        QFETCH(bool, newOrder);
        QFETCH(bool, typed);
        QFETCH(bool, yes);
        QString first, second;
        MainWindowShop s([&](TRpx2Data &data) {
            first = addOrder(data, { .fault = u"Nenabíjí"_s });
            second = addOrder(data, { .fault = u"Prasklé sklo"_s });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        QCOMPARE(w.OrderIDEdit->text(), second);
        if (newOrder)
            QTest::mouseClick(w.findChild<QPushButton *>(u"OrderNewButton"_s), Qt::LeftButton);
        w.OrderFaultDescriptionMemo->setFocus();
        if (typed)
            QTest::keyClicks(w.OrderFaultDescriptionMemo, u" a hluci"_s);
        const State entering = w.orderFormState();
        const QString entered = w.OrderFaultDescriptionMemo->toPlainText();
        s.ui.answers.push_back(yes ? Prompts::Answer::Yes : Prompts::Answer::No);

        if (how == u"escape"_s) {
            QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
        } else if (how == u"storno"_s) {
            QTest::mouseClick(w.findChild<QPushButton *>(u"OrderCancelButton"_s), Qt::LeftButton);
        } else if (how == u"close"_s) {
            w.close();
        } else {
            QTableView *grid = w.OrderListDBGrid;
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(1, 0)).center());
        }

        QCOMPARE(s.ui.questions.size(), typed ? 1 : 0);
        if (typed) { // Enter pressed on keeps the entries
            QCOMPARE(s.ui.questions[0].text, u"Zahodit neuložené změny zakázky?"_s);
            QCOMPARE(s.ui.questions[0].defaultButton, Prompts::Answer::No);
        }
        const bool dropped = !typed || yes;
        QCOMPARE(w.isVisible(), !(how == u"close"_s && dropped));
        if (dropped && how != u"close"_s) {
            QCOMPARE(w.orderFormState(), State::Browse);
            QCOMPARE(w.OrderIDEdit->text(), how == u"row"_s ? first : second);
        } else if (!dropped) { // the list stays on the order shown
            QCOMPARE(w.orderFormState(), entering);
            QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), entered);
            QCOMPARE(s.data().orderList().currentOrderId(), second);
            QCOMPARE(w.OrderListDBGrid->currentIndex().row(), s.data().orderList().currentRow());
        }
        QCOMPARE(s.data().GetOrderCount(), 2);
        QCOMPARE(s.data().GetOrder(second)->OrderFaultDescription, u"Prasklé sklo"_s);
    }

    // Two counters on one database: what the other counter stored meanwhile is never
    // overwritten. A change is shown with this clerk's changes on top, to be stored again.
    // Another program holding the database: the window waits about five seconds, says so in
    // the program's language, and keeps the shown order, its list row and the typed entry.
    void twoCountersOnOneOrder_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("password"); // set, and its prompt cancelled
        QTest::addColumn<QString>("said");
        const QString handBack = u"UPDATE t_order_02 SET OrderStateID = 4, OrderRepairDescription "
                                 "= 'Nový konektor', OrderFinalPricePrimary = 450"_s;
        const QString changed = rpxText("Rpx2.OrderChangedMeanwhile");
        QTest::newRow("handed back meanwhile") << handBack << false << changed;
        // A handed-back order is changed only with the password, as with Změnit.
        QTest::newRow("handed back meanwhile, no password") << handBack << true << changed;
        QTest::newRow("deleted meanwhile")
            << u"DELETE FROM t_order_02"_s << false << rpxText("Rpx2.OrderDeletedMeanwhile");
        QTest::newRow("locked database")
            << u"BEGIN EXCLUSIVE"_s << false
            << u"Databázi právě používá jiný program, zkuste to znovu."_s;
    }

    void twoCountersOnOneOrder()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, password);
        QFETCH(QString, said);
        const bool deleted = meanwhile.startsWith(u"DELETE"_s);
        const bool locked = meanwhile.startsWith(u"BEGIN"_s);
        QString id;
        MainWindowShop s([&](TRpx2Data &data) {
            addOrder(data, {});
            id = addOrder(data, { .fault = u"Nenabíjí"_s });
            if (password)
                data.config().SetPassword(u"tajne"_s);
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"counter B"_s);
        other.setDatabaseName(AppPaths::databaseFile());
        QVERIFY(other.open());
        const auto closeOther = qScopeGuard([&] {
            other.close();
            other = QSqlDatabase();
            QSqlDatabase::removeDatabase(u"counter B"_s);
        });
        if (locked) {
            QVERIFY(QSqlQuery(other).exec(meanwhile));
            QElapsedTimer waited;
            waited.start();
            QTableView *grid = w.OrderListDBGrid;
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(1, 0)).center());
            QVERIFY2(waited.elapsed() >= 4000 && waited.elapsed() < 9000,
                     qPrintable(QString::number(waited.elapsed())));
            QCOMPARE(s.ui.messageTexts(), QStringList { said });
            QCOMPARE(s.data().orderList().currentRow(), 0);
            QCOMPARE(grid->currentIndex().row(), 0);
            QCOMPARE(w.OrderIDEdit->text(), id);
            s.ui.messages.clear();
        }
        w.OrderFaultDescriptionMemo->setFocus();
        QTest::keyClick(w.OrderFaultDescriptionMemo, Qt::Key_End);
        QTest::keyClicks(w.OrderFaultDescriptionMemo, u" a hluci"_s);
        QVERIFY(locked || QSqlQuery(other).exec(meanwhile));
        QTest::keyClick(w.windowHandle(), Qt::Key_S, Qt::ControlModifier);

        QCOMPARE(s.ui.messageTexts(), QStringList { said });
        QVERIFY(!locked || QSqlQuery(other).exec(u"ROLLBACK"_s)); // free again
        QCOMPARE(s.data().GetOrder(id).value_or(COrder {}).OrderFaultDescription,
                 deleted ? QString() : u"Nenabíjí"_s);
        QCOMPARE(w.orderFormState(), password ? State::Browse : State::Edit);
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(),
                 password ? u"Nenabíjí"_s : u"Nenabíjí a hluci"_s);
        if (deleted || password)
            return;
        // The other counter's hand-back is shown with this clerk's fault, to be stored; a
        // database free again stores the entry.
        const QString handedBack = locked ? u"|0|2"_s : u"Nový konektor|450|4"_s;
        QCOMPARE(w.OrderRepairDescriptionMemo->toPlainText() + u'|' + w.OrderIssuePriceEdit->text(),
                 handedBack.section(u'|', 0, 1));
        QTest::keyClick(w.windowHandle(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(s.ui.messages.size(), 1);
        const COrder stored = *s.data().GetOrder(id);
        QCOMPARE(u"%1|%2|%3|%4"_s.arg(stored.OrderFaultDescription, stored.OrderRepairDescription)
                     .arg(stored.OrderFinalPricePrimary)
                     .arg(stored.OrderStateID),
                 u"Nenabíjí a hluci|"_s + handedBack);
    }

    // New orders in repair sort below the state "new": each is current all the same, as is a
    // changed order that moves in the list.
    void storedOrderIsNumberedAndCurrent()
    {
        QString fresh, done;
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetMaxOrderID(41);
            fresh = addOrder(data, { .state = OrderStates::New });
            done = addOrder(data, { .state = OrderStates::Done });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        w.ActionOrderNew->trigger();
        QTest::keyClicks(w.OrderCustomerNameEdit, u"Alena"_s);
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messageTexts(), QStringList());
        const QString stored = u"2025-00044"_s;
        QCOMPARE(w.OrderIDEdit->text() + w.OrderCustomerNameEdit->text(), stored + u"Alena"_s);
        QCOMPARE(w.data().orderList().currentOrderId(), stored);
        QCOMPARE(listedOrders(w), (QStringList { fresh, stored, done }));
        QCOMPARE(w.StatusPanel0->text(), u"Zakázka 2 z 3"_s);

        QVERIFY(w.data().orderList().last());
        setState(w, OrderStates::New);
        w.ActionOrderStore->trigger();
        QCOMPARE(listedOrders(w), (QStringList { done, fresh, stored }));
        QCOMPARE(w.data().orderList().currentOrderId(), done);
        QCOMPARE(w.OrderIDEdit->text(), done);
        QCOMPARE(w.StatusPanel0->text(), u"Zakázka 1 z 3"_s);
    }

    // A hand edit of a shown order's customer makes a new customer; a chosen customer stays
    // linked, in a new order even when its name is edited afterwards (the clerk is asked whether
    // the register takes the edit). Filled or left, a customer box shows the start of its text.
    void customerOfOrder_data()
    {
        QTest::addColumn<bool>("newOrder"); // with the customer chosen through the search
        QTest::addColumn<bool>("storeChanges"); // the answer to the question about the edit
        QTest::addColumn<QString>("linked"); // name|city|e-mail of the order's customer
        QTest::newRow("shown order, typed") << false << false << u"Alena Veselá ml.|Brno|"_s;
        QTest::newRow("new order, chosen, typed, kept")
            << true << false << u"Bedřich Novotný|Praha|bedrich@example.cz"_s;
        QTest::newRow("new order, chosen, typed, stored")
            << true << true << u"Bedřich Novotný ml.|Praha|bedrich@example.cz"_s;
    }

    void customerOfOrder()
    {
        QFETCH(bool, newOrder);
        QFETCH(bool, storeChanges);
        int alena = 0;
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetEngineerMandatory(true); // checked only when an order is taken in
            alena = addCustomer(data, u"Alena Veselá"_s, u"Brno"_s);
            addCustomer(data, u"Bedřich Novotný"_s, u"Praha"_s, u"bedrich@example.cz"_s);
            addOrder(data, { .customerId = alena });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        if (newOrder) {
            w.ActionOrderNew->trigger();
            w.OrderEngineerComboBox->setSingleEntry(u"Petr"_s);
            w.ActionCustomerSelect->trigger(); // cancelled: nothing changes
            QCOMPARE(w.OrderCustomerNameEdit->text(), QString());
            s.ui.dialogHandlers.push_back([](QDialog &dialog) { // Bedřich, second by name
                auto *grid = dialog.findChild<QTableView *>(u"DBGrid1"_s);
                grid->setCurrentIndex(grid->model()->index(1, 0));
                return int(QDialog::Accepted);
            });
            w.ActionCustomerSelect->trigger();
            QCOMPARE(w.OrderCustomerEMailEdit->text(), u"bedrich@example.cz"_s);
        }
        QCOMPARE(w.OrderCustomerNameEdit->cursorPosition(), 0);
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.OrderCustomerNameEdit->setFocus();
        QTest::keyClick(w.OrderCustomerNameEdit, Qt::Key_End);
        QTest::keyClicks(w.OrderCustomerNameEdit, u" ml."_s);
        QTest::keyClick(w.OrderCustomerNameEdit, Qt::Key_Tab);
        QCOMPARE(w.OrderCustomerNameEdit->cursorPosition(), 0);
        // Tab goes on to the phone, not into the filter beside the name.
        QCOMPARE(QApplication::focusWidget(), w.OrderCustomerPhoneNoEdit);
        // No holding while an order is taken in or changed: the list's row is another order.
        QVERIFY(!w.ActionOrderHold->isEnabled());
        s.ui.answers.push_back(storeChanges ? Prompts::Answer::Yes : Prompts::Answer::No);
        w.ActionOrderStore->trigger();

        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(s.ui.questions.value(0).text
                     == u"Uložit změněné údaje zákazníka Bedřich Novotný?"_s,
                 newOrder);
        const CCustomer linked
            = s.data().GetCustomer(shownOrder(s).OrderCustomerID).value_or(CCustomer {});
        // A chosen customer's register entry takes the edit only when the clerk says so; else a
        // new customer from the boxes, the old one as it was.
        QTEST(QStringList({ linked.CustomerName, linked.CustomerCity, linked.CustomerEMail })
                  .join(u'|'),
              "linked");
        QCOMPARE(s.data().GetCustomer(alena)->CustomerName, u"Alena Veselá"_s);
        QCOMPARE(countCustomers(s.data()), newOrder ? 2 : 3);
        QCOMPARE(w.OrderCustomerNameEdit->text(), linked.CustomerName);
        // Dates nobody touched keep their stored values (the deadline its time); an order in
        // repair has no day of hand-back, not even the one its box proposes.
        if (!newOrder)
            QCOMPARE(shownOrder(s).OrderDeadlineDate, TestNow.addDays(7));
        QCOMPARE(shownOrder(s).OrderIssueDate, QDateTime());
    }

    void secondaryAmountOnLeavingPriceBox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("secondary"); // "7.00": left as it was
        QTest::addColumn<int>("leave"); // 0: focus moves on; 1: store button; 2: Ctrl+S
        QTest::addColumn<bool>("handBack"); // stored as handed back, which locks the box

        const QString expected = u"OrderPriceEdit"_s, final = u"OrderIssuePriceEdit"_s,
                      parts = u"OrderIssueComponentPriceEdit"_s, unchanged = u"7.00"_s;
        QTest::newRow("expected price")
            << expected << 25.0 << u"1000"_s << u"40.00"_s << 0 << false;
        QTest::newRow("decimal comma") << expected << 25.0 << u"12,5"_s << unchanged << 0 << false;
        QTest::newRow("half cent to even below")
            << final << 25.0 << u"3.125"_s << u"0.12"_s << 0 << false;
        QTest::newRow("half cent to even above")
            << parts << 25.0 << u"9.375"_s << u"0.38"_s << 0 << false;
        QTest::newRow("no exchange rate") << parts << 0.0 << u"100"_s << unchanged << 0 << false;
        // Neither the store button nor Ctrl+S takes the focus from the box: storing counts as
        // leaving it.
        QTest::newRow("stored by the button")
            << final << 25.0 << u"-50"_s << u"-2.00"_s << 1 << false;
        QTest::newRow("stored by Ctrl+S") << parts << 25.0 << u"1.5"_s << u"0.06"_s << 2 << false;
        // The locked box loses the focus after the store: that is no change, nothing is stored
        // a second time.
        QTest::newRow("handed back by Ctrl+S")
            << final << 25.0 << u"12.5"_s << u"0.50"_s << 2 << true;
    }

    void secondaryAmountOnLeavingPriceBox()
    {
        QFETCH(QString, box);
        QFETCH(double, rate);
        QFETCH(QString, typed);
        QFETCH(QString, secondary);
        QFETCH(int, leave);
        QFETCH(bool, handBack);
        // Under a locale with a decimal comma: the point holds all the same.
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        MainWindowShop s([&](TRpx2Data &data) { data.config().SetExchangeRate(rate); });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        w.ActionOrderNew->trigger();
        w.OrderCustomerNameEdit->setText(u"Jana"_s);
        if (handBack) {
            setState(w, OrderStates::HandedBack);
            w.OrderRepairDescriptionMemo->setPlainText(u"Výměna konektoru"_s);
        }
        auto *primary = w.findChild<QLineEdit *>(box);
        auto *pair = w.findChild<QLineEdit *>(
            QString(box).replace(QLatin1String("Edit"), QLatin1String("SecondaryEdit")));
        pair->setText(u"7.00"_s);
        primary->setFocus(); // typed over, as the clerk does
        primary->selectAll();
        QTest::keyClicks(primary, typed);
        QCOMPARE(pair->text(), u"7.00"_s); // nothing happens before the box is left
        if (leave == 0)
            w.OrderFaultDescriptionMemo->setFocus();
        else if (leave == 1)
            QTest::mouseClick(w.findChild<QPushButton *>(u"OrderStoreButton"_s), Qt::LeftButton);
        else
            QTest::keyClick(primary, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(w.orderFormState(), leave ? State::Browse : State::Insert);
        if (!leave) {
            QCOMPARE(pair->text(), secondary);
        } else {
            const COrder stored = shownOrder(s);
            QCOMPARE(QString::asprintf("%.2f",
                                       primary == w.OrderIssuePriceEdit
                                           ? stored.OrderFinalPriceSecondary
                                           : stored.OrderComponentsPriceSecondary),
                     secondary);
            QCOMPARE(primary->isEnabled(), !handBack);
            QFile log(AppPaths::operationsLog());
            QVERIFY(log.open(QIODevice::ReadOnly));
            QCOMPARE(log.readAll().count('\n'), 1);
        }
    }
};

QTEST_MAIN(TestGuiMain)
#include "tst_gui_main.moc"
