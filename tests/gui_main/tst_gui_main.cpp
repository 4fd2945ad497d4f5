// The main window's order editor: a new order's defaults, the checks before storing, handing
// back with its lock, cancel, numbering and position after storing, the customer of an order,
// secondary amounts and odd texts.
#include "mainwindowshop.h"

#include "orders/suggestcombobox.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QToolButton>

namespace {

using State = TRpx2Form::OrderFormState;

bool isMarkedInvalid(const QWidget *box)
{
    return box->palette().color(QPalette::Base) != QApplication::palette().color(QPalette::Base);
}

QString selectedCount(int row, int count)
{
    return QStringLiteral("Zakázka %1 z %2").arg(row).arg(count);
}

int countCustomers(TRpx2Data &data)
{
    QSqlQuery q = data.OpenQuery(QStringLiteral("SELECT count(*) FROM t_customer_02"));
    return q.next() ? q.value(0).toInt() : -1;
}

void setState(TRpx2Form &w, int state)
{
    w.OrderStateComboBox->setCurrentIndex(w.OrderStateComboBox->findData(state));
}

// The stored record of the order the window shows.
COrder shownOrder(MainWindowShop &s)
{
    return s.data().GetOrder(s.w().OrderIDEdit->text()).value_or(COrder{});
}

// Replaces the text of a box by typing (ASCII only), as the clerk does.
void retype(QLineEdit *edit, const QString &ascii)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, ascii);
}

// A customer search handler: puts the grid's cursor on the customer with this id and confirms.
std::function<int(QDialog &)> pickCustomer(int customerId)
{
    return [customerId](QDialog &dialog) {
        auto *grid = dialog.findChild<QTableView *>(QStringLiteral("DBGrid1"));
        auto *model = grid ? qobject_cast<QSqlQueryModel *>(grid->model()) : nullptr;
        for (int row = 0; model && row < model->rowCount(); ++row) {
            if (model->record(row).value(QStringLiteral("CustomerID")).toInt() == customerId) {
                grid->setCurrentIndex(model->index(row, model->record().indexOf(QStringLiteral("CustomerName"))));
                return int(QDialog::Accepted);
            }
        }
        return int(QDialog::Rejected);
    };
}

} // namespace

class TestGuiMain : public QObject
{
    Q_OBJECT

private slots:
    void newOrderDefaults_data()
    {
        QTest::addColumn<int>("days"); // -1: the default setting
        QTest::addColumn<QString>("engineer");
        QTest::addColumn<bool>("customerSelect");
        QTest::newRow("default settings") << -1 << QString() << false;
        QTest::newRow("deadline the same day") << 0 << QStringLiteral("Petr Dvořák") << false;
        QTest::newRow("customer from search") << 30 << QString() << true;
    }

    void newOrderDefaults()
    {
        QFETCH(int, days);
        QFETCH(QString, engineer);
        QFETCH(bool, customerSelect);
        MainWindowShop s;
        s.configure([&](TRpx2Data &data) {
            if (days >= 0)
                data.config().SetDaysToDeadline(days);
            data.config().SetDefaultEngineer(engineer);
            data.config().SetCustomerSelect(customerSelect);
            // A handed-back order is shown first: the new order must be cleared and unlocked.
            addOrder(data, {.state = OrderStates::HandedBack, .fault = QStringLiteral("stará"),
                            .repair = QStringLiteral("hotovo"), .imei = QStringLiteral("356938035643809")});
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        w.ActionOrderNew->trigger();

        const QDate deadline = TestNow.date().addDays(days >= 0 ? days : 7);
        QCOMPARE(w.orderFormState(), State::Insert);
        QCOMPARE(w.OrderStateComboBox->currentData().toInt(), OrderStates::InRepair);
        QCOMPARE(QDateTime(w.OrderReceiptDateDateTimePicker->date(), w.OrderReceiptTimeDateTimePicker->time()), TestNow);
        QCOMPARE(w.OrderDeadlineDateDateTimePicker->date(), deadline);
        QCOMPARE(QDateTime(w.OrderIssueDateDateTimePicker->date(), w.OrderIssueTimeDateTimePicker->time()),
                 QDateTime(deadline, QTime(0, 0)));
        QCOMPARE(w.OrderIDEdit->text() + w.OrderFaultDescriptionMemo->toPlainText() + w.OrderPhoneIMEIEdit->text(), QString());
        QCOMPARE(w.OrderEngineerComboBox->value(), engineer);
        QVERIFY(QRegularExpression(QStringLiteral("^[1-9][0-9]{7}$")).match(w.OrderCustomerCodeEdit->text()).hasMatch());
        QCOMPARE(w.StatusPanel0->text(), QStringLiteral("Zakázka: nová"));
        QVERIFY(w.OrderFaultDescriptionMemo->isEnabled() && w.OrderPhoneIMEIEdit->isEnabled());
        QCOMPARE(w.OrderCustomerNameEdit->isEnabled(), !customerSelect);
        QCOMPARE(QApplication::focusWidget(),
                 customerSelect ? static_cast<QWidget *>(w.CustomerSelectButton) : w.OrderCustomerNameEdit);
    }

    void storeChecks_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("customerSelect");
        QTest::addColumn<bool>("engineerMandatory");
        QTest::addColumn<QString>("finalPrice");
        QTest::addColumn<QString>("partsPrice");
        QTest::addColumn<QString>("key");    // the refusal; empty when the order is stored
        QTest::addColumn<QString>("redBox"); // the price box marked invalid

        const int inRepair = OrderStates::InRepair, handedBack = OrderStates::HandedBack;
        const QString jana = QStringLiteral("Jana Malá"), zero = QStringLiteral("0"), x = QStringLiteral("x"), none;
        const QString finalBox = QStringLiteral("OrderIssuePriceEdit");

        // Several faults at once: the first check in order speaks.
        QTest::newRow("repair first") << handedBack << none << true << true << x << zero
                                      << QStringLiteral("Rpx2.RepairNotFilled") << finalBox;
        QTest::newRow("not chosen before empty name") << inRepair << none << true << true << x << zero
                                                      << QStringLiteral("Rpx2.CustomerNotChosen") << finalBox;
        QTest::newRow("typed name is not chosen") << inRepair << jana << true << false << zero << zero
                                                  << QStringLiteral("Rpx2.CustomerNotChosen") << none;
        QTest::newRow("empty name before engineer") << inRepair << none << false << true << x << zero
                                                    << QStringLiteral("Rpx2.CustomerNotFilled") << finalBox;
        QTest::newRow("engineer before prices") << inRepair << jana << false << true << x << zero
                                                << QStringLiteral("Rpx2.EngineerNotFilled") << finalBox;
        QTest::newRow("decimal comma") << inRepair << jana << false << false << QStringLiteral("12,5") << zero
                                       << QStringLiteral("Rpx2.PriceNotFilled") << finalBox;
        // An empty price cannot be stored as a number: refused like any other non-number.
        QTest::newRow("empty final price") << inRepair << jana << false << false << none << zero
                                           << QStringLiteral("Rpx2.PriceNotFilled") << finalBox;
        QTest::newRow("blank parts price") << inRepair << jana << false << false << zero << QStringLiteral("  ")
                                           << QStringLiteral("Rpx2.PriceNotFilled") << QStringLiteral("OrderIssueComponentPriceEdit");
        QTest::newRow("in repair") << inRepair << jana << false << false << zero << zero << none << none;
        QTest::newRow("handed back") << handedBack << jana << false << false << QStringLiteral("1250.50")
                                     << QStringLiteral("-3") << none << none;
    }

    void storeChecks()
    {
        QFETCH(int, state);
        QFETCH(QString, name);
        QFETCH(bool, customerSelect);
        QFETCH(bool, engineerMandatory);
        QFETCH(QString, finalPrice);
        QFETCH(QString, partsPrice);
        QFETCH(QString, key);
        QFETCH(QString, redBox);

        MainWindowShop s;
        int registered = 0;
        s.configure([&](TRpx2Data &data) {
            data.config().SetCustomerSelect(customerSelect);
            data.config().SetEngineerMandatory(engineerMandatory);
            registered = addCustomer(data, QStringLiteral("Bedřich Novotný"));
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        const QString fault = QStringLiteral("Nejde nabíjet");
        w.ActionOrderNew->trigger();
        setState(w, state);
        w.OrderRepairDescriptionMemo->setPlainText(key.isEmpty() ? QStringLiteral("Výměna displeje") : QString());
        w.OrderCustomerNameEdit->setText(name);
        w.OrderFaultDescriptionMemo->setPlainText(fault);
        w.OrderPriceEdit->setText(QStringLiteral("dohodou")); // the expected price is free text
        w.OrderIssuePriceEdit->setText(finalPrice);
        w.OrderIssueComponentPriceEdit->setText(partsPrice);
        w.ActionOrderStore->trigger();

        if (key.isEmpty()) {
            QCOMPARE(s.ui.messageTexts(), QStringList());
            const COrder stored = shownOrder(s);
            QCOMPARE(stored.OrderStateID, state);
            QCOMPARE(stored.OrderExpectedPricePrimary, QStringLiteral("dohodou"));
            QCOMPARE(stored.OrderFinalPricePrimary, finalPrice.toDouble());
            QCOMPARE(stored.OrderComponentsPricePrimary, partsPrice.toDouble());
            QCOMPARE(s.data().GetCustomer(stored.OrderCustomerID)->CustomerName, name);
            // An order handed back at intake is locked at once.
            QCOMPARE(w.OrderFaultDescriptionMemo->isEnabled(), state != OrderStates::HandedBack);
            return;
        }

        QCOMPARE(s.ui.messageTexts(), QStringList{rpxText(key.toLatin1().constData())});
        QCOMPARE(s.ui.messages[0].icon, Prompts::Icon::Error);
        // Nothing written, every entry kept, still taking the order in.
        QCOMPARE(w.orderFormState(), State::Insert);
        QCOMPARE(s.data().GetOrderCount(), 0);
        QCOMPARE(countCustomers(s.data()), 1);
        QCOMPARE(s.data().config().GetMaxOrderID(), 0);
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), fault);
        QCOMPARE(w.OrderCustomerNameEdit->text(), name);
        QCOMPARE(w.OrderIssuePriceEdit->text(), finalPrice);
        if (!redBox.isEmpty())
            QVERIFY2(isMarkedInvalid(w.findChild<QLineEdit *>(redBox)), qPrintable(redBox));

        // Corrected, the same entry is stored.
        w.OrderRepairDescriptionMemo->setPlainText(QStringLiteral("Vyčištěn konektor"));
        w.OrderEngineerComboBox->setSingleEntry(QStringLiteral("Petr"));
        w.OrderIssuePriceEdit->setText(QStringLiteral("0"));
        w.OrderIssueComponentPriceEdit->setText(QStringLiteral("0"));
        w.OrderCustomerNameEdit->setText(QStringLiteral("Jana Malá"));
        if (customerSelect) {
            s.ui.dialogHandlers.push_back(pickCustomer(registered));
            w.ActionCustomerSelect->trigger();
        }
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messages.size(), 1);
        QCOMPARE(shownOrder(s).OrderFaultDescription, fault);
        QVERIFY(!isMarkedInvalid(w.OrderIssuePriceEdit) && !isMarkedInvalid(w.OrderIssueComponentPriceEdit));
    }

    void handingBackLocksAndCancelRestores()
    {
        MainWindowShop s;
        QString id;
        s.configure([&](TRpx2Data &data) {
            id = addOrder(data, {.state = OrderStates::Done, .received = TestNow.addDays(-3),
                                 .fault = QStringLiteral("Prasklé sklo"), .issued = TestNow.addDays(-2)});
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        // Controls of every group box; the secondary amounts are never enabled.
        auto checkLocked = [&](bool locked) {
            for (QWidget *control : std::initializer_list<QWidget *>{
                     w.OrderReceiptDateDateTimePicker, w.OrderFaultDescriptionMemo, w.OrderStateComboBox,
                     w.OrderEngineerComboBox, w.OrderIssuePriceEdit, w.OrderRepairImage, w.OrderPhoneCheckBox,
                     w.OrderPhoneIMEIEdit, w.OrderCoverCheckBox, w.OrderNoteMemo, w.OrderCustomerNameEdit})
                QVERIFY2(control->isEnabled() == !locked, qPrintable(control->objectName()));
            QVERIFY(!w.OrderIssuePriceSecondaryEdit->isEnabled());
            QCOMPARE(w.ActionOrderChange->isEnabled(), locked);
            QCOMPARE(w.ActionCustomerSelect->isEnabled(), !locked);
        };
        checkLocked(false);

        // Choosing "handed back" starts a change and sets the issue date to now.
        setState(w, OrderStates::HandedBack);
        QCOMPARE(w.orderFormState(), State::Edit);
        QCOMPARE(QDateTime(w.OrderIssueDateDateTimePicker->date(), w.OrderIssueTimeDateTimePicker->time()), TestNow);
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messageTexts(), QStringList{rpxText("Rpx2.RepairNotFilled")});
        QCOMPARE(s.data().GetOrder(id)->OrderStateID, OrderStates::Done);

        // Another date set meanwhile: storing the hand-back dates it today, at the time shown.
        w.OrderIssueDateDateTimePicker->setDate(TestNow.date().addDays(-5));
        w.OrderIssueTimeDateTimePicker->setTime(QTime(9, 15));
        w.OrderRepairDescriptionMemo->setPlainText(QStringLiteral("Nové sklo"));
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messages.size(), 1);
        QCOMPARE(s.data().GetOrder(id)->OrderStateID, OrderStates::HandedBack);
        QCOMPARE(s.data().GetOrder(id)->OrderIssueDate, QDateTime(TestNow.date(), QTime(9, 15)));
        checkLocked(true);

        // Unlocked for a change, then cancelled: locked again.
        w.ActionOrderChange->trigger();
        QCOMPARE(w.orderFormState(), State::Edit);
        checkLocked(false);
        w.OrderFaultDescriptionMemo->setPlainText(QStringLiteral("přepsáno"));
        w.ActionOrderCancel->trigger();
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), QStringLiteral("Prasklé sklo"));
        checkLocked(true);

        // Unlocked, changed and stored: locked again.
        w.ActionOrderChange->trigger();
        w.OrderRepairNoteMemo->setPlainText(QStringLiteral("Doplněna poznámka"));
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messages.size(), 1);
        QCOMPARE(s.data().GetOrder(id)->OrderRepairNote, QStringLiteral("Doplněna poznámka"));
        checkLocked(true);

        // A new order begun and dropped: the handed-back order is shown, locked, as before.
        const int customers = countCustomers(s.data());
        w.ActionOrderNew->trigger();
        w.OrderFaultDescriptionMemo->setPlainText(QStringLiteral("rozepsáno"));
        w.OrderCustomerNameEdit->setText(QStringLiteral("Jana"));
        w.ActionOrderCancel->trigger();
        QCOMPARE(w.orderFormState(), State::Browse);
        QCOMPARE(w.OrderIDEdit->text(), id);
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText() + w.OrderCustomerNameEdit->text(), QStringLiteral("Prasklé sklo"));
        QCOMPARE(w.StatusPanel0->text(), selectedCount(1, 1));
        checkLocked(true);
        QCOMPARE(s.data().GetOrderCount(), 1);
        QCOMPARE(countCustomers(s.data()), customers);

        // Cancel cannot be reached in browse; should its handler run all the same, it refuses.
        QVERIFY(!w.ActionOrderCancel->isEnabled());
        w.ActionOrderCancel->setEnabled(true);
        w.ActionOrderCancel->trigger();
        QCOMPARE(s.ui.messages.last().text, QStringLiteral("Invalid OrderFormState!"));
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), QStringLiteral("Prasklé sklo"));
    }

    void storedOrderIsNumberedAndCurrent()
    {
        MainWindowShop s;
        QString fresh, done;
        s.configure([&](TRpx2Data &data) {
            data.config().SetMaxOrderID(41);
            fresh = addOrder(data, {.state = OrderStates::New});
            done = addOrder(data, {.state = OrderStates::Done});
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        QList<QPair<QString, int>> completions;
        w.addStoreCompletion([&](const QString &id, int state) { completions.append({id, state}); });

        // New orders in repair sort below the state "new": each is current all the same.
        QStringList stored;
        for (const char *name : {"Alena", "Bohumil"}) {
            w.ActionOrderNew->trigger();
            QTest::keyClicks(w.OrderCustomerNameEdit, QLatin1String(name));
            w.ActionOrderStore->trigger();
            stored.append(w.OrderIDEdit->text());
            QCOMPARE(w.data().orderList().currentOrderId(), stored.last());
            QCOMPARE(w.OrderCustomerNameEdit->text(), QLatin1String(name));
        }
        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(stored, (QStringList{QStringLiteral("2025-00044"), QStringLiteral("2025-00045")}));
        QCOMPARE(s.data().config().GetMaxOrderID(), 45);
        QCOMPARE(listedOrders(w), (QStringList{fresh, stored[1], stored[0], done}));
        QCOMPARE(w.StatusPanel0->text(), selectedCount(2, 4));
        QVERIFY(w.ActionOrderPrevious->isEnabled() && w.ActionOrderNext->isEnabled());
        QCOMPARE(completions, (QList<QPair<QString, int>>{{stored[0], OrderStates::InRepair},
                                                          {stored[1], OrderStates::InRepair}}));

        // A changed order that moves in the list stays current.
        QVERIFY(w.data().orderList().last());
        setState(w, OrderStates::New);
        w.ActionOrderStore->trigger();
        QCOMPARE(listedOrders(w), (QStringList{done, fresh, stored[1], stored[0]}));
        QCOMPARE(w.data().orderList().currentOrderId(), done);
        QCOMPARE(w.OrderIDEdit->text(), done);
        QCOMPARE(w.StatusPanel0->text(), selectedCount(1, 4));
    }

    void customerOfOrder_data()
    {
        QTest::addColumn<bool>("newOrder");
        QTest::addColumn<bool>("choose");    // through the customer search
        QTest::addColumn<bool>("typeAfter"); // then the name edited by hand

        // A hand edit of a shown order's customer makes a new customer; a chosen customer stays
        // linked, in a new order even when its name is edited afterwards.
        QTest::newRow("shown order, typed") << false << false << true;
        QTest::newRow("shown order, chosen") << false << true << false;
        QTest::newRow("new order, chosen, typed") << true << true << true;
    }

    void customerOfOrder()
    {
        QFETCH(bool, newOrder);
        QFETCH(bool, choose);
        QFETCH(bool, typeAfter);
        MainWindowShop s;
        int alena = 0, bedrich = 0;
        s.configure([&](TRpx2Data &data) {
            data.config().SetEngineerMandatory(true); // checked only when an order is taken in
            alena = addCustomer(data, QStringLiteral("Alena Veselá"), QStringLiteral("Brno"));
            bedrich = addCustomer(data, QStringLiteral("Bedřich Novotný"), QStringLiteral("Praha"), {},
                                  QStringLiteral("bedrich@example.cz"));
            addOrder(data, {.customerId = alena});
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        if (newOrder) {
            w.ActionOrderNew->trigger();
            w.OrderEngineerComboBox->setSingleEntry(QStringLiteral("Petr"));
        }
        if (choose) {
            const QString before = w.OrderCustomerNameEdit->text();
            w.ActionCustomerSelect->trigger(); // cancelled: nothing changes
            QCOMPARE(w.OrderCustomerNameEdit->text(), before);
            s.ui.dialogHandlers.push_back(pickCustomer(bedrich));
            w.ActionCustomerSelect->trigger();
            QCOMPARE(w.OrderCustomerEMailEdit->text(), QStringLiteral("bedrich@example.cz"));
        }
        if (typeAfter) {
            w.OrderCustomerNameEdit->setFocus();
            QTest::keyClick(w.OrderCustomerNameEdit, Qt::Key_End);
            QTest::keyClicks(w.OrderCustomerNameEdit, QStringLiteral(" ml."));
        }
        QCOMPARE(w.orderFormState(), newOrder ? State::Insert : State::Edit);
        w.ActionOrderStore->trigger();

        QCOMPARE(s.ui.messageTexts(), QStringList());
        const CCustomer linked = s.data().GetCustomer(shownOrder(s).OrderCustomerID).value_or(CCustomer{});
        if (choose) { // the register is not changed
            QCOMPARE(linked.CustomerID, bedrich);
            QCOMPARE(linked.CustomerName, QStringLiteral("Bedřich Novotný"));
            QCOMPARE(countCustomers(s.data()), 2);
        } else { // a new customer from the boxes; the old one stays as it was
            QVERIFY(linked.CustomerID != alena);
            QCOMPARE(linked.CustomerName + linked.CustomerCity, QStringLiteral("Alena Veselá ml.Brno"));
            QCOMPARE(s.data().GetCustomer(alena)->CustomerName, QStringLiteral("Alena Veselá"));
            QCOMPARE(countCustomers(s.data()), 3);
        }
        QCOMPARE(w.OrderCustomerNameEdit->text(), linked.CustomerName);
    }

    void secondaryAmountOnLeavingPriceBox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("secondary"); // "7": left as it was

        const QString expected = QStringLiteral("OrderPriceEdit"), final = QStringLiteral("OrderIssuePriceEdit"),
                      parts = QStringLiteral("OrderIssueComponentPriceEdit"), unchanged = QStringLiteral("7");
        QTest::newRow("expected price") << expected << 25.0 << QStringLiteral("1000") << QStringLiteral("40.00");
        QTest::newRow("final price") << final << 25.0 << QStringLiteral("-50") << QStringLiteral("-2.00");
        QTest::newRow("parts price") << parts << 25.0 << QStringLiteral("12.5") << QStringLiteral("0.50");
        QTest::newRow("decimal comma") << expected << 25.0 << QStringLiteral("12,5") << unchanged;
        QTest::newRow("half cent to even below") << final << 25.0 << QStringLiteral("3.125") << QStringLiteral("0.12");
        QTest::newRow("half cent to even above") << parts << 25.0 << QStringLiteral("9.375") << QStringLiteral("0.38");
        QTest::newRow("other rate") << expected << 24.5 << QStringLiteral("1000") << QStringLiteral("40.82");
        QTest::newRow("no exchange rate") << parts << 0.0 << QStringLiteral("100") << unchanged;
    }

    void secondaryAmountOnLeavingPriceBox()
    {
        QFETCH(QString, box);
        QFETCH(double, rate);
        QFETCH(QString, typed);
        QFETCH(QString, secondary);
        MainWindowShop s;
        s.configure([&](TRpx2Data &data) { data.config().SetExchangeRate(rate); });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        w.ActionOrderNew->trigger();

        auto *primary = w.findChild<QLineEdit *>(box);
        auto *pair = w.findChild<QLineEdit *>(QString(box).replace(QLatin1String("Edit"), QLatin1String("SecondaryEdit")));
        QVERIFY(primary && pair);
        pair->setText(QStringLiteral("7"));
        retype(primary, typed);
        QCOMPARE(pair->text(), QStringLiteral("7")); // nothing happens before the box is left
        w.OrderFaultDescriptionMemo->setFocus();
        QTRY_VERIFY(!primary->hasFocus());
        QCOMPARE(pair->text(), secondary);
        QCOMPARE(s.ui.messageTexts(), QStringList());
    }

    void storingFromPriceBoxUnderCommaLocale_data()
    {
        QTest::addColumn<bool>("shortcut");
        QTest::newRow("store button") << false;
        QTest::newRow("Ctrl+S") << true;
    }

    void storingFromPriceBoxUnderCommaLocale()
    {
        // The decimal point holds whatever the locale says.
        QFETCH(bool, shortcut);
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        MainWindowShop s;
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        w.ActionOrderNew->trigger();
        w.OrderCustomerNameEdit->setText(QStringLiteral("Jana"));
        retype(w.OrderIssueComponentPriceEdit, QStringLiteral("1,5"));
        QVERIFY(isMarkedInvalid(w.OrderIssueComponentPriceEdit));
        retype(w.OrderIssueComponentPriceEdit, QStringLiteral("1.5"));
        QVERIFY(!isMarkedInvalid(w.OrderIssueComponentPriceEdit));

        // The price is typed and stored straight away: its secondary amount is derived all the same.
        retype(w.OrderIssuePriceEdit, QStringLiteral("12.50"));
        if (shortcut)
            QTest::keyClick(w.OrderIssuePriceEdit, Qt::Key_S, Qt::ControlModifier);
        else
            QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("OrderStoreButton")), Qt::LeftButton);

        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(w.orderFormState(), State::Browse);
        const COrder stored = shownOrder(s);
        QCOMPARE(stored.OrderFinalPricePrimary, 12.5);
        QCOMPARE(stored.OrderFinalPriceSecondary, 0.5);
        QCOMPARE(stored.OrderComponentsPricePrimary, 1.5);
        QCOMPARE(w.OrderIssuePriceEdit->text() + QLatin1Char('/') + w.OrderIssuePriceSecondaryEdit->text(),
                 QStringLiteral("12.5/0.5"));
    }

    void oddTextsRoundTrip()
    {
        MainWindowShop s;
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        const QString fault = QStringLiteral("Displej \"praskl\" – 50% plochy\nřádek 3\t😀");
        const QString name = QStringLiteral("O'Brien \"Bob\" 100% 😀");
        const QString repair = QStringLiteral("%1 %s %% \\n ' ; DROP TABLE t_order_02; --");
        const QString imei = QStringLiteral("35'69\"38%");

        w.ActionOrderNew->trigger();
        w.OrderFaultDescriptionMemo->setPlainText(fault);
        w.OrderCustomerNameEdit->setText(name);
        w.OrderRepairDescriptionMemo->setPlainText(repair);
        w.OrderPhoneIMEIEdit->setText(imei);
        w.OrderEngineerComboBox->setSingleEntry(QStringLiteral("D'Artagnan"));
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messageTexts(), QStringList());
        const QString id = w.OrderIDEdit->text();

        // Shown again from the database after a new order was begun and dropped.
        w.ActionOrderNew->trigger();
        w.ActionOrderCancel->trigger();
        QCOMPARE(w.OrderIDEdit->text(), id);
        QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), fault);
        QCOMPARE(w.OrderCustomerNameEdit->text(), name);
        QCOMPARE(w.OrderRepairDescriptionMemo->toPlainText(), repair);
        QCOMPARE(w.OrderPhoneIMEIEdit->text(), imei);
        QCOMPARE(w.OrderEngineerComboBox->value(), QStringLiteral("D'Artagnan"));

        // The odd name finds its order in the list filter; an injection attempt finds nothing.
        QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);
        w.CustomerNameEditFilter->setText(QStringLiteral("\"Bob\" 100%"));
        QVERIFY(reloaded.wait(3000));
        QCOMPARE(listedOrders(w), QStringList{id});
        w.CustomerNameEditFilter->setText(QStringLiteral("Bob' OR '1'='1"));
        QVERIFY(reloaded.wait(3000));
        QCOMPARE(listedOrders(w), QStringList());
        QCOMPARE(s.data().GetOrderCount(), 1);
    }
};

QTEST_MAIN(TestGuiMain)
#include "tst_gui_main.moc"
