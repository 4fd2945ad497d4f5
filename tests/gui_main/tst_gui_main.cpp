// The main window's order editor: a new order's defaults, the checks before storing, numbering,
// the lock of handed-back orders, linking customers, secondary amounts, odd texts and cancel.
#include "mainwindowshop.h"

#include "ordernumbering.h"

#include <QAction>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

namespace {

bool isMarkedInvalid(const QWidget *box)
{
    return box->palette().color(QPalette::Base) != QApplication::palette().color(QPalette::Base);
}

// The controls a handed-back order locks (the accessory details follow their check boxes).
QList<QWidget *> lockedControls(TRpx2Form &w)
{
    return {w.OrderTypeIDComboBox, w.OrderReceiptDateDateTimePicker, w.OrderReceiptTimeDateTimePicker,
            w.OrderDeadlineDateDateTimePicker, w.OrderFaultDescriptionMemo, w.OrderPriceEdit,
            w.OrderStateComboBox, w.OrderEngineerComboBox, w.OrderRepairDescriptionMemo,
            w.OrderSoftwareCheckBox, w.OrderIssueDateDateTimePicker, w.OrderIssueTimeDateTimePicker,
            w.OrderIssuePriceEdit, w.OrderIssueComponentPriceEdit, w.OrderRepairNoteMemo, w.OrderRepairImage,
            w.OrderPhoneCheckBox, w.OrderBatteryCheckBox, w.OrderSimCheckBox, w.OrderChargerCheckBox,
            w.OrderWarrantyCertCheckBox, w.OrderCoverCheckBox, w.OrderNoteMemo, w.OrderCustomerNameEdit,
            w.OrderCustomerStreetEdit, w.OrderCustomerCityEdit, w.OrderCustomerPSCEdit,
            w.OrderCustomerPhoneNoEdit, w.OrderCustomerEMailEdit};
}

QString selectedCount(int row, int count)
{
    return QStringLiteral("Zakázka %1 z %2").arg(row).arg(count);
}

} // namespace

class TestGuiMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useOwnSettingsFolder(); }
    void newOrderDefaults_data();
    void newOrderDefaults();
    void storeChecks_data();
    void storeChecks();
    void changingAnOrderSkipsIntakeChecks();
    void handingBackStampsTodayAsIssueDate();
    void twoNewOrdersAreNumberedInSequence();
    void storedOrderBecomesCurrent();
    void handedBackOrderIsLocked_data();
    void handedBackOrderIsLocked();
    void typedCustomerOfShownOrderBecomesNewCustomer();
    void chosenCustomerStaysLinkedInInsert();
    void customerChosenForShownOrder();
    void secondaryAmountOnLeavingPriceBox_data();
    void secondaryAmountOnLeavingPriceBox();
    void decimalPointWhateverTheLocale();
    void storingFromPriceBoxDerivesSecondary_data();
    void storingFromPriceBoxDerivesSecondary();
    void oddTextsRoundTrip();
    void cancelRestoresShownOrder();
    void cancelInBrowseIsRefused();
};

// ---------------------------------------------------------------------------------------
// New order

void TestGuiMain::newOrderDefaults_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("engineer");
    QTest::addColumn<bool>("customerSelect");

    QTest::newRow("default settings") << -1 << QString() << false;
    QTest::newRow("deadline the same day") << 0 << QStringLiteral("Petr Dvořák") << false;
    QTest::newRow("deadline next month, customer from search") << 30 << QString() << true;
}

void TestGuiMain::newOrderDefaults()
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
        data.config().SetMainCurrency(QStringLiteral("CZK"));
        data.config().SetSecondaryCurrency(QStringLiteral("EUR"));
        // A handed-back order is shown first: beginning a new order must unlock the controls.
        addOrder(data, {.state = OrderStates::HandedBack, .fault = QStringLiteral("stará"),
                        .repair = QStringLiteral("hotovo"), .imei = QStringLiteral("356938035643809")});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QVERIFY(!w.OrderFaultDescriptionMemo->isEnabled());

    w.ActionOrderNew->trigger();

    const QDate deadline = TestNow.date().addDays(days >= 0 ? days : 7);
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Insert);
    QCOMPARE(w.OrderIDEdit->text(), QString());
    QCOMPARE(w.OrderTypeIDComboBox->currentData().toInt(), OrderTypes::Paid);
    QCOMPARE(w.OrderStateComboBox->currentData().toInt(), OrderStates::InRepair);
    QCOMPARE(w.OrderReceiptDateDateTimePicker->date(), TestNow.date());
    QCOMPARE(w.OrderReceiptTimeDateTimePicker->time(), TestNow.time());
    QCOMPARE(w.OrderDeadlineDateDateTimePicker->date(), deadline);
    QCOMPARE(w.OrderIssueDateDateTimePicker->date(), deadline);
    QCOMPARE(w.OrderIssueTimeDateTimePicker->time(), QTime(0, 0));
    QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), QString());
    QCOMPARE(w.OrderRepairDescriptionMemo->toPlainText(), QString());
    QCOMPARE(w.OrderEngineerComboBox->value(), engineer);
    for (QLineEdit *price : {w.OrderPriceEdit, w.OrderPriceSecondaryEdit, w.OrderIssuePriceEdit,
                             w.OrderIssuePriceSecondaryEdit, w.OrderIssueComponentPriceEdit,
                             w.OrderIssueComponentPriceSecondaryEdit})
        QCOMPARE(price->text(), QStringLiteral("0"));
    for (QLabel *currency : {w.OrderCurrencyLabel, w.OrderIssueCurrencyLabel, w.OrderIssueComponentCurrencyLabel})
        QCOMPARE(currency->text(), QStringLiteral("CZK"));
    for (QLabel *currency : {w.OrderCurrencySecondaryLabel, w.OrderIssueCurrencySecondaryLabel,
                             w.OrderIssueComponentCurrencySecondaryLabel})
        QCOMPARE(currency->text(), QStringLiteral("EUR"));
    QVERIFY(w.OrderPhoneCheckBox->isChecked());
    QVERIFY(w.OrderBatteryCheckBox->isChecked());
    QCOMPARE(w.OrderPhoneTypeComboBox->value(), QString());
    QCOMPARE(w.OrderPhoneIMEIEdit->text(), QString());
    QCOMPARE(w.OrderBatteryTypeComboBox->value(), QStringLiteral("Li-ion"));
    for (QCheckBox *flag : {w.OrderSoftwareCheckBox, w.OrderSimCheckBox, w.OrderChargerCheckBox,
                            w.OrderWarrantyCertCheckBox, w.OrderCoverCheckBox})
        QVERIFY2(!flag->isChecked(), qPrintable(flag->objectName()));
    QVERIFY(QRegularExpression(QStringLiteral("^[1-9][0-9]{7}$")).match(w.OrderCustomerCodeEdit->text()).hasMatch());
    for (QLineEdit *box : {w.OrderCustomerNameEdit, w.OrderCustomerStreetEdit, w.OrderCustomerCityEdit,
                           w.OrderCustomerPSCEdit, w.OrderCustomerPhoneNoEdit, w.OrderCustomerEMailEdit})
        QCOMPARE(box->text(), QString());
    QCOMPARE(w.StatusPanel0->text(), QStringLiteral("Zakázka: nová"));

    // The shown order was handed back; the new one is open for entry.
    QVERIFY(w.OrderFaultDescriptionMemo->isEnabled());
    QVERIFY(w.OrderPhoneTypeComboBox->isEnabled());
    QVERIFY(w.OrderPhoneIMEIEdit->isEnabled());
    QVERIFY(w.OrderBatterySNEdit->isEnabled());
    QVERIFY(w.ActionCustomerSelect->isEnabled());
    QVERIFY(!w.ActionOrderChange->isEnabled());
    QCOMPARE(w.OrderCustomerNameEdit->isEnabled(), !customerSelect);
    QVERIFY(w.ActionOrderStore->isEnabled());
    QVERIFY(w.ActionOrderCancel->isEnabled());
    QVERIFY(!w.ActionOrderNew->isEnabled());
    QCOMPARE(QApplication::focusWidget(),
             customerSelect ? static_cast<QWidget *>(w.CustomerSelectButton) : w.OrderCustomerNameEdit);
    QVERIFY(s.ui.messages.isEmpty());
}

// ---------------------------------------------------------------------------------------
// Checks before storing

void TestGuiMain::storeChecks_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("repair");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("customerSelect");
    QTest::addColumn<bool>("engineerMandatory");
    QTest::addColumn<QString>("expectedPrice");
    QTest::addColumn<QString>("finalPrice");
    QTest::addColumn<QString>("partsPrice");
    QTest::addColumn<QString>("key");      // the refusal; empty when the order is stored
    QTest::addColumn<QString>("redBox");   // the price box marked invalid

    const int inRepair = OrderStates::InRepair;
    const int handedBack = OrderStates::HandedBack;
    const QString jana = QStringLiteral("Jana Malá");
    const QString zero = QStringLiteral("0");
    const QString none;

    // Several faults at once: the first check in order speaks.
    QTest::newRow("repair description before everything")
        << handedBack << none << none << true << true << zero << QStringLiteral("x") << zero
        << QStringLiteral("Rpx2.RepairNotFilled") << QStringLiteral("OrderIssuePriceEdit");
    QTest::newRow("customer not chosen before an empty name")
        << inRepair << none << none << true << true << zero << QStringLiteral("x") << zero
        << QStringLiteral("Rpx2.CustomerNotChosen") << QStringLiteral("OrderIssuePriceEdit");
    QTest::newRow("a typed name is not a chosen customer")
        << inRepair << none << jana << true << false << zero << zero << zero
        << QStringLiteral("Rpx2.CustomerNotChosen") << none;
    QTest::newRow("empty name before the engineer")
        << inRepair << none << none << false << true << zero << QStringLiteral("x") << zero
        << QStringLiteral("Rpx2.CustomerNotFilled") << QStringLiteral("OrderIssuePriceEdit");
    QTest::newRow("engineer before the prices")
        << inRepair << none << jana << false << true << zero << QStringLiteral("x") << zero
        << QStringLiteral("Rpx2.EngineerNotFilled") << QStringLiteral("OrderIssuePriceEdit");
    QTest::newRow("final price with a decimal comma")
        << inRepair << none << jana << false << false << zero << QStringLiteral("12,5") << zero
        << QStringLiteral("Rpx2.PriceNotFilled") << QStringLiteral("OrderIssuePriceEdit");
    QTest::newRow("empty final price")
        << inRepair << none << jana << false << false << zero << none << zero
        << QStringLiteral("Rpx2.PriceNotFilled") << QStringLiteral("OrderIssuePriceEdit");
    QTest::newRow("empty parts price")
        << inRepair << none << jana << false << false << zero << zero << none
        << QStringLiteral("Rpx2.PriceNotFilled") << QStringLiteral("OrderIssueComponentPriceEdit");
    QTest::newRow("blank parts price")
        << inRepair << none << jana << false << false << zero << zero << QStringLiteral("  ")
        << QStringLiteral("Rpx2.PriceNotFilled") << QStringLiteral("OrderIssueComponentPriceEdit");
    QTest::newRow("parts price in letters")
        << inRepair << none << jana << false << false << zero << zero << QStringLiteral("sto")
        << QStringLiteral("Rpx2.PriceNotFilled") << QStringLiteral("OrderIssueComponentPriceEdit");

    QTest::newRow("engineer not required") << inRepair << none << jana << false << false << zero << zero
                                           << zero << none << none;
    QTest::newRow("decimal point") << inRepair << none << jana << false << false << zero
                                   << QStringLiteral("1250.50") << QStringLiteral("-3") << none << none;
    QTest::newRow("expected price is free text")
        << inRepair << none << jana << false << false << QStringLiteral("dohodou") << zero << zero << none << none;
    QTest::newRow("handed back with a repair description")
        << handedBack << QStringLiteral("Výměna displeje") << jana << false << false << zero
        << QStringLiteral("990") << QStringLiteral("400") << none << none;
}

void TestGuiMain::storeChecks()
{
    QFETCH(int, state);
    QFETCH(QString, repair);
    QFETCH(QString, name);
    QFETCH(bool, customerSelect);
    QFETCH(bool, engineerMandatory);
    QFETCH(QString, expectedPrice);
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
    w.OrderStateComboBox->setCurrentIndex(w.OrderStateComboBox->findData(state));
    w.OrderRepairDescriptionMemo->setPlainText(repair);
    w.OrderCustomerNameEdit->setText(name);
    w.OrderFaultDescriptionMemo->setPlainText(fault);
    w.OrderPriceEdit->setText(expectedPrice);
    w.OrderIssuePriceEdit->setText(finalPrice);
    w.OrderIssueComponentPriceEdit->setText(partsPrice);
    w.ActionOrderStore->trigger();

    if (key.isEmpty()) {
        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
        const std::optional<COrder> stored = s.data().GetOrder(w.OrderIDEdit->text());
        QVERIFY(stored);
        QCOMPARE(stored->OrderStateID, state);
        QCOMPARE(stored->OrderExpectedPricePrimary, expectedPrice);
        QCOMPARE(stored->OrderFinalPricePrimary, finalPrice.toDouble());
        QCOMPARE(stored->OrderComponentsPricePrimary, partsPrice.toDouble());
        QCOMPARE(s.data().GetCustomer(stored->OrderCustomerID)->CustomerName, name);
        // An order handed back at intake is locked at once.
        QCOMPARE(w.ActionOrderChange->isEnabled(), state == OrderStates::HandedBack);
        QCOMPARE(w.OrderFaultDescriptionMemo->isEnabled(), state != OrderStates::HandedBack);
        return;
    }

    QCOMPARE(s.ui.messages.size(), 1);
    QCOMPARE(s.ui.messages[0].text, rpxText(key.toLatin1().constData()));
    QCOMPARE(s.ui.messages[0].title, appErrorTitle());
    QCOMPARE(s.ui.messages[0].icon, Prompts::Icon::Error);
    // Nothing written, every entry kept, still taking the order in.
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Insert);
    QCOMPARE(countRows(s.data(), "t_order_02"), 0);
    QCOMPARE(countRows(s.data(), "t_customer_02"), 1);
    QCOMPARE(s.data().config().GetMaxOrderID(), 0);
    QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), fault);
    QCOMPARE(w.OrderCustomerNameEdit->text(), name);
    QCOMPARE(w.OrderIssuePriceEdit->text(), finalPrice);
    QCOMPARE(w.OrderIssueComponentPriceEdit->text(), partsPrice);
    QCOMPARE(w.StatusPanel0->text(), QStringLiteral("Zakázka: nová"));
    if (!redBox.isEmpty())
        QVERIFY2(isMarkedInvalid(w.findChild<QLineEdit *>(redBox)), qPrintable(redBox));
    QVERIFY(!isMarkedInvalid(w.OrderPriceEdit));

    // Corrected, the same entry is stored.
    w.OrderRepairDescriptionMemo->setPlainText(QStringLiteral("Vyčištěn konektor"));
    w.OrderEngineerComboBox->setSingleEntry(QStringLiteral("Petr"));
    w.OrderIssuePriceEdit->setText(QStringLiteral("0"));
    w.OrderIssueComponentPriceEdit->setText(QStringLiteral("0"));
    if (customerSelect) {
        s.ui.dialogHandlers.push_back(pickCustomer(registered));
        w.ActionCustomerSelect->trigger();
    } else {
        w.OrderCustomerNameEdit->setText(QStringLiteral("Jana Malá"));
    }
    w.ActionOrderStore->trigger();
    QCOMPARE(s.ui.messages.size(), 1);
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(countRows(s.data(), "t_order_02"), 1);
    QCOMPARE(s.data().GetOrder(w.OrderIDEdit->text())->OrderFaultDescription, fault);
    QVERIFY(!isMarkedInvalid(w.OrderIssuePriceEdit));
    QVERIFY(!isMarkedInvalid(w.OrderIssueComponentPriceEdit));
}

void TestGuiMain::changingAnOrderSkipsIntakeChecks()
{
    MainWindowShop s;
    QString id;
    s.configure([&](TRpx2Data &data) {
        data.config().SetEngineerMandatory(true);
        id = addOrder(data, {.customerId = addCustomer(data, QStringLiteral("Jana Malá"))});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();

    // The customer's name is cleared by hand and no engineer is given: an order that was
    // already taken in is stored all the same.
    w.OrderCustomerNameEdit->setFocus();
    w.OrderCustomerNameEdit->selectAll();
    QTest::keyClick(w.OrderCustomerNameEdit, Qt::Key_Delete);
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Edit);
    w.ActionOrderStore->trigger();

    QCOMPARE(s.ui.messageTexts(), QStringList());
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(countRows(s.data(), "t_order_02"), 1);
    QCOMPARE(w.OrderIDEdit->text(), id);
}

void TestGuiMain::handingBackStampsTodayAsIssueDate()
{
    MainWindowShop s;
    QString id;
    s.configure([&](TRpx2Data &data) {
        id = addOrder(data, {.state = OrderStates::Done, .received = TestNow.addDays(-3),
                             .issued = TestNow.addDays(-2)});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();

    // Choosing "handed back" on a shown order starts a change and sets the issue date to now.
    w.OrderStateComboBox->setCurrentIndex(w.OrderStateComboBox->findData(OrderStates::HandedBack));
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Edit);
    QCOMPARE(w.OrderIssueDateDateTimePicker->date(), TestNow.date());
    QCOMPARE(w.OrderIssueTimeDateTimePicker->time(), TestNow.time());

    w.ActionOrderStore->trigger();
    QCOMPARE(s.ui.messageTexts(), QStringList{rpxText("Rpx2.RepairNotFilled")});
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Edit);
    QCOMPARE(s.data().GetOrder(id)->OrderStateID, OrderStates::Done);

    // The clerk set another date meanwhile; storing the hand-back dates it today.
    w.OrderIssueDateDateTimePicker->setDate(TestNow.date().addDays(-5));
    w.OrderIssueTimeDateTimePicker->setTime(QTime(9, 15));
    w.OrderRepairDescriptionMemo->setPlainText(QStringLiteral("Výměna konektoru"));
    w.ActionOrderStore->trigger();
    QCOMPARE(s.ui.messages.size(), 1);
    const std::optional<COrder> stored = s.data().GetOrder(id);
    QCOMPARE(stored->OrderStateID, OrderStates::HandedBack);
    QCOMPARE(stored->OrderIssueDate, QDateTime(TestNow.date(), QTime(9, 15)));
    QCOMPARE(stored->OrderRepairDescription, QStringLiteral("Výměna konektoru"));
}

// ---------------------------------------------------------------------------------------
// Numbering and position after storing

void TestGuiMain::twoNewOrdersAreNumberedInSequence()
{
    MainWindowShop s;
    s.configure([](TRpx2Data &data) { data.config().SetMaxOrderID(41); });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QList<QPair<QString, int>> completions;
    w.addStoreCompletion([&](const QString &id, int state) { completions.append({id, state}); });

    QStringList numbers;
    for (const char *name : {"Alena", "Bohumil"}) {
        w.ActionOrderNew->trigger();
        QTest::keyClicks(w.OrderCustomerNameEdit, QLatin1String(name));
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messageTexts(), QStringList());
        numbers.append(w.OrderIDEdit->text());
        // The order just stored is shown and current.
        QCOMPARE(w.data().orderList().currentOrderId(), numbers.last());
        QCOMPARE(w.OrderCustomerNameEdit->text(), QLatin1String(name));
        QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
        QVERIFY(w.ActionOrderNew->isEnabled());
        QVERIFY(!w.ActionOrderStore->isEnabled());
    }
    QCOMPARE(numbers, (QStringList{QStringLiteral("2025-00042"), QStringLiteral("2025-00043")}));
    QCOMPARE(s.data().config().GetMaxOrderID(), 43);
    QCOMPARE(listedOrders(w), (QStringList{numbers[1], numbers[0]}));
    QCOMPARE(w.StatusPanel0->text(), selectedCount(1, 2));
    QCOMPARE(completions, (QList<QPair<QString, int>>{{numbers[0], OrderStates::InRepair},
                                                      {numbers[1], OrderStates::InRepair}}));
}

void TestGuiMain::storedOrderBecomesCurrent()
{
    MainWindowShop s;
    QString fresh, doneA, doneB;
    s.configure([&](TRpx2Data &data) {
        fresh = addOrder(data, {.state = OrderStates::New});
        doneA = addOrder(data, {.state = OrderStates::Done});
        doneB = addOrder(data, {.state = OrderStates::Done});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QCOMPARE(listedOrders(w), (QStringList{fresh, doneB, doneA}));

    // A new order in repair sorts after the state "new": it is current all the same.
    w.ActionOrderNew->trigger();
    w.OrderCustomerNameEdit->setText(QStringLiteral("Jana"));
    w.ActionOrderStore->trigger();
    const QString stored = w.OrderIDEdit->text();
    QCOMPARE(listedOrders(w), (QStringList{fresh, stored, doneB, doneA}));
    QCOMPARE(w.data().orderList().currentOrderId(), stored);
    QCOMPARE(w.StatusPanel0->text(), selectedCount(2, 4));
    QVERIFY(w.ActionOrderPrevious->isEnabled());
    QVERIFY(w.ActionOrderNext->isEnabled());

    // A changed order that moves in the list stays current.
    QVERIFY(w.data().orderList().last());
    QCOMPARE(w.OrderIDEdit->text(), doneA);
    w.OrderStateComboBox->setCurrentIndex(w.OrderStateComboBox->findData(OrderStates::New));
    w.ActionOrderStore->trigger();
    QCOMPARE(listedOrders(w), (QStringList{doneA, fresh, stored, doneB}));
    QCOMPARE(w.data().orderList().currentOrderId(), doneA);
    QCOMPARE(w.OrderIDEdit->text(), doneA);
    QCOMPARE(w.StatusPanel0->text(), selectedCount(1, 4));
    QCOMPARE(s.ui.messageTexts(), QStringList());
}

// ---------------------------------------------------------------------------------------
// Lock of handed-back orders

void TestGuiMain::handedBackOrderIsLocked_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("new") << OrderStates::New;
    QTest::newRow("in repair") << OrderStates::InRepair;
    QTest::newRow("done") << OrderStates::Done;
    QTest::newRow("handed back") << OrderStates::HandedBack;
}

void TestGuiMain::handedBackOrderIsLocked()
{
    QFETCH(int, state);
    const bool locked = state == OrderStates::HandedBack;

    MainWindowShop s;
    s.configure([&](TRpx2Data &data) {
        addOrder(data, {.state = state, .fault = QStringLiteral("Prasklé sklo"), .repair = QStringLiteral("Nové sklo")});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();

    auto checkLocked = [&](bool expected) {
        for (QWidget *control : lockedControls(w))
            QVERIFY2(control->isEnabled() == !expected, qPrintable(control->objectName()));
        QCOMPARE(w.ActionOrderChange->isEnabled(), expected);
        QCOMPARE(w.ActionCustomerSelect->isEnabled(), !expected);
        QCOMPARE(w.CustomerSelectButton->isEnabled(), !expected);
        for (QLineEdit *secondary : {w.OrderPriceSecondaryEdit, w.OrderIssuePriceSecondaryEdit,
                                     w.OrderIssueComponentPriceSecondaryEdit})
            QVERIFY(!secondary->isEnabled());
    };
    checkLocked(locked);
    QCOMPARE(w.OrderPhoneIMEIEdit->isEnabled(), !locked);
    if (!locked)
        return;

    // Unlocked for a change, then cancelled: the order shows locked again.
    w.ActionOrderChange->trigger();
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Edit);
    for (QWidget *control : lockedControls(w))
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    QVERIFY(w.ActionCustomerSelect->isEnabled());
    QVERIFY(!w.ActionOrderChange->isEnabled());
    w.OrderFaultDescriptionMemo->setPlainText(QStringLiteral("přepsáno"));
    w.ActionOrderCancel->trigger();
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), QStringLiteral("Prasklé sklo"));
    checkLocked(true);
    QCOMPARE(w.StatusPanel0->text(), selectedCount(1, 1));

    // Unlocked, changed and stored: locked again.
    w.ActionOrderChange->trigger();
    w.OrderRepairNoteMemo->setPlainText(QStringLiteral("Doplněna poznámka"));
    w.ActionOrderStore->trigger();
    QCOMPARE(s.ui.messageTexts(), QStringList());
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(s.data().GetOrder(w.OrderIDEdit->text())->OrderRepairNote, QStringLiteral("Doplněna poznámka"));
    checkLocked(true);
}

// ---------------------------------------------------------------------------------------
// Customers of an order

void TestGuiMain::typedCustomerOfShownOrderBecomesNewCustomer()
{
    MainWindowShop s;
    int alena = 0;
    QString id;
    s.configure([&](TRpx2Data &data) {
        alena = addCustomer(data, QStringLiteral("Alena Veselá"), QStringLiteral("Brno"), QStringLiteral("777111222"));
        id = addOrder(data, {.customerId = alena});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QCOMPARE(w.OrderCustomerNameEdit->text(), QStringLiteral("Alena Veselá"));

    w.OrderCustomerNameEdit->setFocus();
    QTest::keyClick(w.OrderCustomerNameEdit, Qt::Key_End);
    QTest::keyClicks(w.OrderCustomerNameEdit, QStringLiteral(" ml."));
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Edit);
    w.ActionOrderStore->trigger();

    QCOMPARE(s.ui.messageTexts(), QStringList());
    const int linked = s.data().GetOrder(id)->OrderCustomerID;
    QVERIFY(linked != alena);
    const std::optional<CCustomer> created = s.data().GetCustomer(linked);
    QVERIFY(created);
    QCOMPARE(created->CustomerName, QStringLiteral("Alena Veselá ml."));
    QCOMPARE(created->CustomerCity, QStringLiteral("Brno"));
    QCOMPARE(created->CustomerPhoneNo, QStringLiteral("777111222"));
    QCOMPARE(s.data().GetCustomer(alena)->CustomerName, QStringLiteral("Alena Veselá"));
    QCOMPARE(countRows(s.data(), "t_customer_02"), 2);
    QCOMPARE(w.OrderCustomerNameEdit->text(), QStringLiteral("Alena Veselá ml."));
}

void TestGuiMain::chosenCustomerStaysLinkedInInsert()
{
    MainWindowShop s;
    int bedrich = 0;
    s.configure([&](TRpx2Data &data) {
        addCustomer(data, QStringLiteral("Alena Veselá"));
        bedrich = addCustomer(data, QStringLiteral("Bedřich Novotný"), QStringLiteral("Praha"),
                              QStringLiteral("602000111"), QStringLiteral("bedrich@example.cz"));
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    w.ActionOrderNew->trigger();
    const QString drawnCode = w.OrderCustomerCodeEdit->text();

    // Cancelling the search changes nothing.
    s.ui.dialogHandlers.push_back([](QDialog &) { return int(QDialog::Rejected); });
    w.ActionCustomerSelect->trigger();
    QCOMPARE(w.OrderCustomerNameEdit->text(), QString());
    QCOMPARE(w.OrderCustomerCodeEdit->text(), drawnCode);

    s.ui.dialogHandlers.push_back(pickCustomer(bedrich));
    w.ActionCustomerSelect->trigger();
    QCOMPARE(s.ui.dialogsShown, (QStringList{QStringLiteral("TCustomerSearchForm"), QStringLiteral("TCustomerSearchForm")}));
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Insert);
    QCOMPARE(w.OrderCustomerCodeEdit->text(), QStringLiteral("12345678"));
    QCOMPARE(w.OrderCustomerNameEdit->text(), QStringLiteral("Bedřich Novotný"));
    QCOMPARE(w.OrderCustomerCityEdit->text(), QStringLiteral("Praha"));
    QCOMPARE(w.OrderCustomerPhoneNoEdit->text(), QStringLiteral("602000111"));
    QCOMPARE(w.OrderCustomerEMailEdit->text(), QStringLiteral("bedrich@example.cz"));

    // A hand edit after the choice keeps the link; the register is not changed.
    w.OrderCustomerNameEdit->setFocus();
    QTest::keyClick(w.OrderCustomerNameEdit, Qt::Key_End);
    QTest::keyClicks(w.OrderCustomerNameEdit, QStringLiteral(" st."));
    w.ActionOrderStore->trigger();

    QCOMPARE(s.ui.messageTexts(), QStringList());
    QCOMPARE(s.data().GetOrder(w.OrderIDEdit->text())->OrderCustomerID, bedrich);
    QCOMPARE(s.data().GetCustomer(bedrich)->CustomerName, QStringLiteral("Bedřich Novotný"));
    QCOMPARE(countRows(s.data(), "t_customer_02"), 2);
    QCOMPARE(w.OrderCustomerNameEdit->text(), QStringLiteral("Bedřich Novotný"));
}

void TestGuiMain::customerChosenForShownOrder()
{
    MainWindowShop s;
    int alena = 0, bedrich = 0;
    QString id;
    s.configure([&](TRpx2Data &data) {
        alena = addCustomer(data, QStringLiteral("Alena Veselá"));
        bedrich = addCustomer(data, QStringLiteral("Bedřich Novotný"));
        id = addOrder(data, {.customerId = alena});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();

    s.ui.dialogHandlers.push_back(pickCustomer(bedrich));
    w.ActionCustomerSelect->trigger();
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Edit);
    w.ActionOrderStore->trigger();

    QCOMPARE(s.ui.messageTexts(), QStringList());
    QCOMPARE(s.data().GetOrder(id)->OrderCustomerID, bedrich);
    QCOMPARE(countRows(s.data(), "t_customer_02"), 2);
    QCOMPARE(w.OrderCustomerNameEdit->text(), QStringLiteral("Bedřich Novotný"));
}

// ---------------------------------------------------------------------------------------
// Secondary amounts

void TestGuiMain::secondaryAmountOnLeavingPriceBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("secondary");

    const QString expected = QStringLiteral("OrderPriceEdit");
    const QString final = QStringLiteral("OrderIssuePriceEdit");
    const QString parts = QStringLiteral("OrderIssueComponentPriceEdit");
    const QString unchanged = QStringLiteral("7");

    QTest::newRow("expected price") << expected << 25.0 << QStringLiteral("1000") << QStringLiteral("40.00");
    QTest::newRow("final price") << final << 25.0 << QStringLiteral("1000") << QStringLiteral("40.00");
    QTest::newRow("parts price") << parts << 25.0 << QStringLiteral("12.5") << QStringLiteral("0.50");
    QTest::newRow("decimal comma is not a number") << expected << 25.0 << QStringLiteral("12,5") << unchanged;
    QTest::newRow("letters in the final price") << final << 25.0 << QStringLiteral("dohodou") << unchanged;
    QTest::newRow("half a cent to the even cent below") << final << 25.0 << QStringLiteral("3.125") << QStringLiteral("0.12");
    QTest::newRow("half a cent to the even cent above") << parts << 25.0 << QStringLiteral("9.375") << QStringLiteral("0.38");
    QTest::newRow("other rate") << expected << 24.5 << QStringLiteral("1000") << QStringLiteral("40.82");
    QTest::newRow("no exchange rate") << parts << 0.0 << QStringLiteral("100") << unchanged;
    QTest::newRow("negative") << final << 25.0 << QStringLiteral("-50") << QStringLiteral("-2.00");
}

void TestGuiMain::secondaryAmountOnLeavingPriceBox()
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
    QLineEdit *pair = primary == w.OrderPriceEdit  ? w.OrderPriceSecondaryEdit
                      : primary == w.OrderIssuePriceEdit ? w.OrderIssuePriceSecondaryEdit
                                                         : w.OrderIssueComponentPriceSecondaryEdit;
    pair->setText(QStringLiteral("7"));
    retype(primary, typed);
    QCOMPARE(pair->text(), QStringLiteral("7")); // nothing happens before the box is left
    w.OrderFaultDescriptionMemo->setFocus();
    QTRY_VERIFY(!primary->hasFocus());

    QCOMPARE(pair->text(), secondary);
    QCOMPARE(s.ui.messageTexts(), QStringList());
}

void TestGuiMain::decimalPointWhateverTheLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });

    MainWindowShop s;
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    w.ActionOrderNew->trigger();
    w.OrderCustomerNameEdit->setText(QStringLiteral("Jana"));
    retype(w.OrderIssuePriceEdit, QStringLiteral("12.50"));
    w.OrderIssueComponentPriceEdit->setFocus();
    QTRY_COMPARE(w.OrderIssuePriceSecondaryEdit->text(), QStringLiteral("0.50"));
    retype(w.OrderIssueComponentPriceEdit, QStringLiteral("1,5"));
    QVERIFY(isMarkedInvalid(w.OrderIssueComponentPriceEdit));
    retype(w.OrderIssueComponentPriceEdit, QStringLiteral("1.5"));
    QVERIFY(!isMarkedInvalid(w.OrderIssueComponentPriceEdit));
    w.ActionOrderStore->trigger();

    QCOMPARE(s.ui.messageTexts(), QStringList());
    const std::optional<COrder> stored = s.data().GetOrder(w.OrderIDEdit->text());
    QCOMPARE(stored->OrderFinalPricePrimary, 12.5);
    QCOMPARE(stored->OrderFinalPriceSecondary, 0.5);
    QCOMPARE(stored->OrderComponentsPricePrimary, 1.5);
    QCOMPARE(w.OrderIssuePriceEdit->text(), QStringLiteral("12.5"));
    QCOMPARE(w.OrderIssuePriceSecondaryEdit->text(), QStringLiteral("0.5"));
}

void TestGuiMain::storingFromPriceBoxDerivesSecondary_data()
{
    QTest::addColumn<bool>("shortcut");
    QTest::newRow("store button") << false;
    QTest::newRow("Ctrl+S") << true;
}

void TestGuiMain::storingFromPriceBoxDerivesSecondary()
{
    QFETCH(bool, shortcut);
    MainWindowShop s;
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    w.ActionOrderNew->trigger();
    w.OrderCustomerNameEdit->setText(QStringLiteral("Jana"));

    // The clerk types the price and stores straight away, without leaving the box first.
    retype(w.OrderIssuePriceEdit, QStringLiteral("1000"));
    QVERIFY(w.OrderIssuePriceEdit->hasFocus());
    if (shortcut)
        QTest::keyClick(w.OrderIssuePriceEdit, Qt::Key_S, Qt::ControlModifier);
    else
        QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("OrderStoreButton")), Qt::LeftButton);

    QCOMPARE(s.ui.messageTexts(), QStringList());
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    const std::optional<COrder> stored = s.data().GetOrder(w.OrderIDEdit->text());
    QVERIFY(stored);
    QCOMPARE(stored->OrderFinalPricePrimary, 1000.0);
    QCOMPARE(stored->OrderFinalPriceSecondary, 40.0);
}

// ---------------------------------------------------------------------------------------
// Odd texts, cancel

void TestGuiMain::oddTextsRoundTrip()
{
    MainWindowShop s;
    QVERIFY(s.start());
    TRpx2Form &w = s.w();

    const QString fault = QStringLiteral("Displej \"praskl\" – 50% plochy\nzákazník říká: it's 'dead' 😀");
    const QString name = QStringLiteral("O'Brien \"Bob\" 100% 😀");
    const QString repair = QStringLiteral("%1 %s %% \\n ' ; DROP TABLE t_order_02; --");
    const QString note = QStringLiteral("řádek 1\n\nřádek 3\t👍");
    const QString imei = QStringLiteral("35'69\"38%");

    w.ActionOrderNew->trigger();
    w.OrderFaultDescriptionMemo->setPlainText(fault);
    w.OrderCustomerNameEdit->setText(name);
    w.OrderCustomerStreetEdit->setText(name);
    w.OrderRepairDescriptionMemo->setPlainText(repair);
    w.OrderRepairNoteMemo->setPlainText(note);
    w.OrderNoteMemo->setPlainText(note);
    w.OrderPhoneIMEIEdit->setText(imei);
    w.OrderPriceEdit->setText(QStringLiteral("100% 'jistě'"));
    w.OrderEngineerComboBox->setSingleEntry(QStringLiteral("D'Artagnan"));
    w.ActionOrderStore->trigger();
    QCOMPARE(s.ui.messageTexts(), QStringList());

    const QString id = w.OrderIDEdit->text();
    const std::optional<COrder> stored = s.data().GetOrder(id);
    QVERIFY(stored);
    QCOMPARE(stored->OrderFaultDescription, fault);
    QCOMPARE(stored->OrderRepairDescription, repair);
    QCOMPARE(stored->OrderRepairNote, note);
    QCOMPARE(stored->OrderNote, note);
    QCOMPARE(stored->OrderPhoneIMEI, imei);
    QCOMPARE(stored->OrderExpectedPricePrimary, QStringLiteral("100% 'jistě'"));
    QCOMPARE(stored->OrderEngineerName, QStringLiteral("D'Artagnan"));
    QCOMPARE(s.data().GetCustomer(stored->OrderCustomerID)->CustomerName, name);
    QCOMPARE(s.data().GetCustomer(stored->OrderCustomerID)->CustomerStreet, name);

    // Shown again from the database after a new order was begun and dropped.
    w.ActionOrderNew->trigger();
    QCOMPARE(w.OrderCustomerNameEdit->text(), QString());
    w.ActionOrderCancel->trigger();
    QCOMPARE(w.OrderIDEdit->text(), id);
    QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), fault);
    QCOMPARE(w.OrderCustomerNameEdit->text(), name);
    QCOMPARE(w.OrderCustomerStreetEdit->text(), name);
    QCOMPARE(w.OrderRepairDescriptionMemo->toPlainText(), repair);
    QCOMPARE(w.OrderRepairNoteMemo->toPlainText(), note);
    QCOMPARE(w.OrderNoteMemo->toPlainText(), note);
    QCOMPARE(w.OrderPhoneIMEIEdit->text(), imei);
    QCOMPARE(w.OrderEngineerComboBox->value(), QStringLiteral("D'Artagnan"));

    // The odd name finds its order in the list filter.
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);
    w.CustomerNameEditFilter->setText(QStringLiteral("\"Bob\" 100%"));
    QVERIFY(reloaded.wait(3000));
    QCOMPARE(listedOrders(w), QStringList{id});
    w.CustomerNameEditFilter->setText(QStringLiteral("Bob' OR '1'='1"));
    QVERIFY(reloaded.wait(3000));
    QCOMPARE(listedOrders(w), QStringList());
    QCOMPARE(countRows(s.data(), "t_order_02"), 1);
}

void TestGuiMain::cancelRestoresShownOrder()
{
    MainWindowShop s;
    QString older, newer;
    s.configure([&](TRpx2Data &data) {
        older = addOrder(data, {.fault = QStringLiteral("Nenabíjí")});
        newer = addOrder(data, {.state = OrderStates::HandedBack, .fault = QStringLiteral("Bez signálu"),
                                .repair = QStringLiteral("Anténa")});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QVERIFY(w.data().orderList().last());
    QCOMPARE(w.OrderIDEdit->text(), newer);
    QCOMPARE(w.StatusPanel0->text(), selectedCount(2, 2));

    w.ActionOrderNew->trigger();
    w.OrderFaultDescriptionMemo->setPlainText(QStringLiteral("rozepsáno"));
    w.OrderCustomerNameEdit->setText(QStringLiteral("Jana"));
    w.ActionOrderCancel->trigger();

    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(w.OrderIDEdit->text(), newer);
    QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), QStringLiteral("Bez signálu"));
    QCOMPARE(w.OrderCustomerNameEdit->text(), QString());
    QCOMPARE(w.StatusPanel0->text(), selectedCount(2, 2));
    QVERIFY(!w.OrderFaultDescriptionMemo->isEnabled()); // handed back: locked again
    QVERIFY(w.ActionOrderChange->isEnabled());
    QVERIFY(w.ActionOrderNew->isEnabled());
    QVERIFY(!w.ActionOrderCancel->isEnabled());
    QCOMPARE(countRows(s.data(), "t_order_02"), 2);
    QCOMPARE(countRows(s.data(), "t_customer_02"), 0);
    QCOMPARE(s.ui.messageTexts(), QStringList());
}

void TestGuiMain::cancelInBrowseIsRefused()
{
    MainWindowShop s;
    s.configure([](TRpx2Data &data) { addOrder(data, {.fault = QStringLiteral("Nenabíjí")}); });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    // The clerk cannot reach cancel in browse (action, button and Esc are disabled); should
    // the handler run all the same, it refuses without touching the shown order.
    QVERIFY(!w.ActionOrderCancel->isEnabled());
    w.ActionOrderCancel->trigger();
    QCOMPARE(s.ui.messageTexts(), QStringList());
    w.ActionOrderCancel->setEnabled(true);
    w.ActionOrderCancel->trigger();
    QCOMPARE(s.ui.messageTexts(), QStringList{QStringLiteral("Invalid OrderFormState!")});
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), QStringLiteral("Nenabíjí"));
}

QTEST_MAIN(TestGuiMain)
#include "tst_gui_main.moc"
