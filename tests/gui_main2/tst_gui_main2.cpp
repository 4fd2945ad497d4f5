// The main window's list and shell: filters and their delayed reload, the age choice, totals,
// the simplified-customer mode, the caption, column widths and the first start.
#include "../gui_main/mainwindowshop.h"

#include <QAction>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTimer>

namespace {

QSet<QString> setOf(const QStringList &list)
{
    return QSet<QString>(list.begin(), list.end());
}

} // namespace

class TestGuiMain2 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useOwnSettingsFolder(); }
    void quickTypingReloadsOnce();
    void reloadWaitsWhileOrderIsEntered_data();
    void reloadWaitsWhileOrderIsEntered();
    void storingBeforeTheReloadIsDue();
    void filterBoxes_data();
    void filterBoxes();
    void comboFilters_data();
    void comboFilters();
    void stateFilter();
    void ageChoiceSurvivesRestart();
    void totals();
    void simplifiedCustomerMode_data();
    void simplifiedCustomerMode();
    void caption_data();
    void caption();
    void columnWidthsSurviveRestart();
    void firstStartWithoutDatabase_data();
    void firstStartWithoutDatabase();
};

// ---------------------------------------------------------------------------------------
// Delayed reload

void TestGuiMain2::quickTypingReloadsOnce()
{
    MainWindowShop s;
    QStringList ids;
    s.configure([&](TRpx2Data &data) {
        for (int i = 0; i < 12; ++i)
            ids.append(addOrder(data, {}));
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);

    // Five keystrokes at once: one reload, half a second after the last.
    w.OrderIDEditFilter->setFocus();
    QTest::keyClicks(w.OrderIDEditFilter, QStringLiteral("00011"));
    QCOMPARE(reloaded.count(), 0);
    QVERIFY(w.Timer->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(reloaded.count(), 1, 3000);
    QTest::qWait(700);
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(listedOrders(w), QStringList{ids[10]});

    // Keystrokes less than half a second apart keep postponing the reload.
    reloaded.clear();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(w.OrderIDEditFilter, Qt::Key_Backspace);
        QTest::qWait(200);
    }
    QCOMPARE(reloaded.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(reloaded.count(), 1, 3000);
    QTest::qWait(700);
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(setOf(listedOrders(w)), setOf(ids));
}

void TestGuiMain2::reloadWaitsWhileOrderIsEntered_data()
{
    QTest::addColumn<bool>("newOrder");
    QTest::addColumn<bool>("store");
    QTest::newRow("new order, stored") << true << true;
    QTest::newRow("new order, cancelled") << true << false;
    QTest::newRow("changed order, stored") << false << true;
    QTest::newRow("changed order, cancelled") << false << false;
}

void TestGuiMain2::reloadWaitsWhileOrderIsEntered()
{
    QFETCH(bool, newOrder);
    QFETCH(bool, store);

    MainWindowShop s;
    QString alenas, bedrichs;
    s.configure([&](TRpx2Data &data) {
        alenas = addOrder(data, {.customerId = addCustomer(data, QStringLiteral("Alena Veselá"))});
        bedrichs = addOrder(data, {.customerId = addCustomer(data, QStringLiteral("Bedřich Novotný"))});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QCOMPARE(w.OrderIDEdit->text(), bedrichs);
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);

    const QString typed = QStringLiteral("Kamera nefunguje");
    if (newOrder) {
        w.ActionOrderNew->trigger();
        QTest::keyClicks(w.OrderCustomerNameEdit, QStringLiteral("Alena Mala"));
    }
    w.OrderFaultDescriptionMemo->setFocus();
    QTest::keyClicks(w.OrderFaultDescriptionMemo, typed);
    const auto entering = newOrder ? TRpx2Form::OrderFormState::Insert : TRpx2Form::OrderFormState::Edit;
    QCOMPARE(w.orderFormState(), entering);

    // The filter's reload falls due while the clerk is typing: it waits.
    w.CustomerNameEditFilter->setFocus();
    QTest::keyClicks(w.CustomerNameEditFilter, QStringLiteral("Alena"));
    QVERIFY(w.Timer->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!w.Timer->isActive(), 3000);
    QTest::qWait(100);
    QCOMPARE(reloaded.count(), 0);
    QCOMPARE(w.orderFormState(), entering);
    QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), newOrder ? typed : typed);
    QCOMPARE(w.OrderIDEdit->text(), newOrder ? QString() : bedrichs);
    if (newOrder)
        QCOMPARE(w.StatusPanel0->text(), QStringLiteral("Zakázka: nová"));

    if (store)
        w.ActionOrderStore->trigger();
    else
        w.ActionOrderCancel->trigger();
    QCOMPARE(s.ui.messageTexts(), QStringList());
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    // Now the list follows the filter, once.
    QCOMPARE(reloaded.count(), 1);
    QTest::qWait(700);
    QCOMPARE(reloaded.count(), 1);

    if (newOrder && store) {
        const QString stored = w.OrderIDEdit->text();
        QCOMPARE(s.data().GetOrder(stored)->OrderFaultDescription, typed);
        QCOMPARE(listedOrders(w), (QStringList{stored, alenas}));
        QCOMPARE(s.data().orderList().currentOrderId(), stored);
    } else {
        QCOMPARE(listedOrders(w), QStringList{alenas});
        QCOMPARE(w.OrderIDEdit->text(), alenas);
        QCOMPARE(w.OrderCustomerNameEdit->text(), QStringLiteral("Alena Veselá"));
    }
    if (!newOrder)
        QCOMPARE(s.data().GetOrder(bedrichs)->OrderFaultDescription, store ? typed : QString());
    QCOMPARE(w.StatusPanel0->text(), QStringLiteral("Zakázka 1 z %1").arg(listedOrders(w).size()));
}

void TestGuiMain2::storingBeforeTheReloadIsDue()
{
    MainWindowShop s;
    QString waiting;
    s.configure([&](TRpx2Data &data) {
        // A new (state 1) order of the same customer sorts above the one about to be stored.
        waiting = addOrder(data, {.state = OrderStates::New, .customerId = addCustomer(data, QStringLiteral("Alena Veselá"))});
        addOrder(data, {.customerId = addCustomer(data, QStringLiteral("Bedřich Novotný"))});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);

    w.ActionOrderNew->trigger();
    QTest::keyClicks(w.OrderCustomerNameEdit, QStringLiteral("Alena Mala"));
    w.CustomerNameEditFilter->setFocus();
    QTest::keyClicks(w.CustomerNameEditFilter, QStringLiteral("Alena"));
    // Stored within the half second: the store's reload already follows the filter.
    w.ActionOrderStore->trigger();
    const QString stored = w.OrderIDEdit->text();
    QCOMPARE(listedOrders(w), (QStringList{waiting, stored}));
    QCOMPARE(s.data().orderList().currentOrderId(), stored);

    QTest::qWait(800);
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(s.data().orderList().currentOrderId(), stored);
    QCOMPARE(w.OrderIDEdit->text(), stored);
}

// ---------------------------------------------------------------------------------------
// Filter boxes

void TestGuiMain2::filterBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("listed"); // indexes of the prepared orders

    QTest::newRow("number") << QStringLiteral("OrderIDEditFilter") << QStringLiteral("2025-00002") << QList<int>{1};
    QTest::newRow("year and hyphen") << QStringLiteral("OrderIDEditFilter") << QStringLiteral("2025-") << QList<int>{0, 1, 2};
    QTest::newRow("name at the start") << QStringLiteral("CustomerNameEditFilter") << QStringLiteral("Jan") << QList<int>{0};
    QTest::newRow("name inside") << QStringLiteral("CustomerNameEditFilter") << QStringLiteral("a M") << QList<int>{0};
    QTest::newRow("name at the end, other case") << QStringLiteral("CustomerNameEditFilter") << QStringLiteral("VÁK") << QList<int>{1};
    QTest::newRow("blanks around") << QStringLiteral("CustomerNameEditFilter") << QStringLiteral("  Malá ") << QList<int>{0};
    QTest::newRow("city") << QStringLiteral("CustomerCityEditFilter") << QStringLiteral("strav") << QList<int>{1};
    QTest::newRow("phone") << QStringLiteral("CustomerPhoneNoEditFilter") << QStringLiteral("123") << QList<int>{0};
    QTest::newRow("e-mail") << QStringLiteral("CustomerEMailEditFilter") << QStringLiteral("@example") << QList<int>{0};
    QTest::newRow("IMEI") << QStringLiteral("OrderPhoneIMEIEditFilter") << QStringLiteral("2032") << QList<int>{1};
    QTest::newRow("nothing matches") << QStringLiteral("CustomerNameEditFilter") << QStringLiteral("Zdeněk") << QList<int>{};
}

void TestGuiMain2::filterBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QList<int>, listed);

    MainWindowShop s;
    QStringList ids;
    s.configure([&](TRpx2Data &data) {
        const int jana = addCustomer(data, QStringLiteral("Jana Malá"), QStringLiteral("Brno"),
                                     QStringLiteral("777 123 456"), QStringLiteral("jana@example.cz"));
        const int petr = addCustomer(data, QStringLiteral("Petr Novák"), QStringLiteral("Ostrava"));
        ids.append(addOrder(data, {.customerId = jana, .imei = QStringLiteral("356938035643809")}));
        ids.append(addOrder(data, {.customerId = petr, .imei = QStringLiteral("490154203237518")}));
        ids.append(addOrder(data, {})); // no customer, no IMEI
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    const QString shownBefore = w.OrderIDEdit->text();
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);

    auto *filter = w.findChild<QLineEdit *>(box);
    QVERIFY(filter && filter->isVisible());
    filter->setText(text);
    QVERIFY(reloaded.wait(3000));
    QStringList expected;
    for (int index : listed)
        expected.append(ids[index]);
    QCOMPARE(setOf(listedOrders(w)), setOf(expected));
    if (expected.isEmpty()) {
        // Nothing listed: the shown order stays, and nothing can be changed.
        QCOMPARE(w.OrderIDEdit->text(), shownBefore);
        QCOMPARE(w.StatusPanel1->text(), QString());
        QVERIFY(!w.ActionOrderNext->isEnabled());
    } else {
        QCOMPARE(w.OrderIDEdit->text(), listedOrders(w).first());
    }

    // Cleared, the filter lists every order again, those without customer or IMEI too.
    filter->clear();
    QVERIFY(reloaded.wait(3000));
    QCOMPARE(setOf(listedOrders(w)), setOf(ids));
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("V opravě: 3"));
}

void TestGuiMain2::comboFilters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("listed");
    QTest::newRow("engineer") << QStringLiteral("OrderEngineerComboBoxFilter") << QStringLiteral("petr") << 0;
    QTest::newRow("device model") << QStringLiteral("OrderPhoneTypeComboBoxFilter") << QStringLiteral("iPhone 1") << 1;
}

void TestGuiMain2::comboFilters()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, listed);

    MainWindowShop s;
    QStringList ids;
    s.configure([&](TRpx2Data &data) {
        ids.append(addOrder(data, {.engineer = QStringLiteral("Petr Dvořák"), .phoneType = QStringLiteral("Nokia 3310")}));
        ids.append(addOrder(data, {.engineer = QStringLiteral("Jan Král"), .phoneType = QStringLiteral("Apple iPhone 13")}));
        ids.append(addOrder(data, {}));
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);
    auto *filter = w.findChild<SuggestComboBox *>(box);
    QVERIFY(filter && filter->isEditable());

    // Entering the box fills its suggestions; that alone reloads nothing.
    filter->setFocus();
    QTRY_VERIFY(filter->hasFocus());
    QVERIFY(filter->count() > 0);
    QTest::qWait(700);
    QCOMPARE(reloaded.count(), 0);
    QCOMPARE(filter->currentText(), QString());

    QTest::keyClicks(filter->lineEdit(), typed);
    QTRY_COMPARE_WITH_TIMEOUT(reloaded.count(), 1, 3000);
    QCOMPARE(listedOrders(w), QStringList{ids[listed]});

    filter->lineEdit()->clear();
    QTRY_COMPARE_WITH_TIMEOUT(reloaded.count(), 2, 3000);
    QCOMPARE(setOf(listedOrders(w)), setOf(ids));
}

void TestGuiMain2::stateFilter()
{
    MainWindowShop s;
    QMap<int, QString> byState;
    s.configure([&](TRpx2Data &data) {
        for (int state : {OrderStates::New, OrderStates::InRepair, OrderStates::Done, OrderStates::HandedBack})
            byState[state] = addOrder(data, {.state = state});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);
    QComboBox *filter = w.OrderStateComboBoxFilter;
    QCOMPARE(filter->currentIndex(), 0);
    QCOMPARE(filter->itemText(0), QStringLiteral("Vše"));
    QCOMPARE(filter->count(), 5);

    pick(filter, filter->findData(OrderStates::Done));
    QVERIFY(reloaded.wait(3000));
    QCOMPARE(listedOrders(w), QStringList{byState[OrderStates::Done]});
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Hotová: 1"));
    // Showing an order rebuilds the filter's entries and keeps the choice.
    QCOMPARE(filter->currentData().toInt(), OrderStates::Done);

    pick(filter, 0);
    QVERIFY(reloaded.wait(3000));
    QCOMPARE(listedOrders(w), (QStringList{byState[1], byState[2], byState[3], byState[4]}));
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Nová: 1; V opravě: 1; Hotová: 1; Vydaná: 1"));
}

// ---------------------------------------------------------------------------------------
// Age choice

void TestGuiMain2::ageChoiceSurvivesRestart()
{
    MainWindowShop s;
    QString today, weekAgo, eightDaysAgo;
    s.configure([&](TRpx2Data &data) {
        today = addOrder(data, {});
        weekAgo = addOrder(data, {.received = QDateTime(TestNow.date().addDays(-7), QTime(0, 5))});
        eightDaysAgo = addOrder(data, {.received = QDateTime(TestNow.date().addDays(-8), QTime(23, 59))});
    });
    QVERIFY(s.start());
    QCOMPARE(s.w().OrderAgeComboBox->currentIndex(), 3);
    QCOMPARE(s.w().OrderAgeComboBox->count(), 6);
    QCOMPARE(listedOrders(s.w()).size(), 3);

    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);
    pick(s.w().OrderAgeComboBox, 0);
    QVERIFY(reloaded.wait(3000));
    QCOMPARE(listedOrders(s.w()), (QStringList{weekAgo, today}));
    QCOMPARE(s.w().StatusPanel1->text(), QStringLiteral("V opravě: 3")); // counts cover all ages

    s.close();
    QVERIFY(s.start());
    QCOMPARE(s.w().OrderAgeComboBox->currentIndex(), 0);
    QCOMPARE(s.w().OrderAgeComboBox->currentText(), QStringLiteral("Posledních 7 dnů"));
    QCOMPARE(listedOrders(s.w()), (QStringList{weekAgo, today}));
    QCOMPARE(s.w().StatusPanel1->text(), QStringLiteral("V opravě: 3"));
    QCOMPARE(s.w().OrderIDEdit->text(), weekAgo);

    // Choosing "all" shows the old order again, and is kept as well.
    QSignalSpy again(&s.data().orderList(), &OrderList::reloaded);
    pick(s.w().OrderAgeComboBox, 5);
    QVERIFY(again.wait(3000));
    QCOMPARE(listedOrders(s.w()), (QStringList{eightDaysAgo, weekAgo, today}));
    s.close();
    QVERIFY(s.start());
    QCOMPARE(s.w().OrderAgeComboBox->currentIndex(), 5);
}

// ---------------------------------------------------------------------------------------
// Totals

void TestGuiMain2::totals()
{
    MainWindowShop s;
    QVERIFY(s.start());
    QCOMPARE(s.w().OrderSumValueLabel->text(), QStringLiteral("0.00"));
    QCOMPARE(s.w().OrderSumTodayValueLabel->text(), QStringLiteral("0.00"));
    s.close();

    QString done;
    s.configure([&](TRpx2Data &data) {
        addOrder(data, {.state = OrderStates::HandedBack, .received = TestNow.addDays(-3),
                        .repair = QStringLiteral("Baterie"), .finalPrice = 100.0, .issued = TestNow.addDays(-1)});
        // Not handed back: not counted, whatever its price.
        addOrder(data, {.state = OrderStates::Done, .finalPrice = 999.0, .issued = TestNow});
        done = addOrder(data, {.state = OrderStates::Done, .received = TestNow.addDays(-2),
                               .repair = QStringLiteral("Konektor")});
    });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();
    QCOMPARE(w.OrderSumValueLabel->text(), QStringLiteral("100.00"));
    QCOMPARE(w.OrderSumTodayValueLabel->text(), QStringLiteral("0.00"));

    // The order is handed back now: both totals take it in at once.
    QCOMPARE(w.OrderIDEdit->text(), done); // the newest of the done orders comes first
    w.OrderStateComboBox->setCurrentIndex(w.OrderStateComboBox->findData(OrderStates::HandedBack));
    w.OrderIssuePriceEdit->setText(QStringLiteral("250.5"));
    w.ActionOrderStore->trigger();
    QCOMPARE(s.ui.messageTexts(), QStringList());
    QCOMPARE(w.OrderSumValueLabel->text(), QStringLiteral("350.50"));
    QCOMPARE(w.OrderSumTodayValueLabel->text(), QStringLiteral("250.50"));
}

// ---------------------------------------------------------------------------------------
// Simplified customer, caption, column widths

void TestGuiMain2::simplifiedCustomerMode_data()
{
    QTest::addColumn<bool>("easy");
    QTest::newRow("full customer") << false;
    QTest::newRow("simplified customer") << true;
}

void TestGuiMain2::simplifiedCustomerMode()
{
    QFETCH(bool, easy);
    MainWindowShop s;
    s.configure([&](TRpx2Data &data) { data.config().SetEasyCustomer(easy); });
    QVERIFY(s.start());
    TRpx2Form &w = s.w();

    for (QWidget *hidden : std::initializer_list<QWidget *>{
             w.OrderCustomerStreetEdit, w.OrderCustomerCityEdit, w.OrderCustomerPSCEdit, w.OrderCustomerEMailEdit,
             w.CustomerStreetLabel, w.CustomerCityLabel, w.CustomerPSCLabel, w.CustomerEMailLabel,
             w.CustomerCityEditFilter, w.CustomerEMailEditFilter})
        QVERIFY2(hidden->isVisible() == !easy, qPrintable(hidden->objectName()));
    for (QWidget *shown : std::initializer_list<QWidget *>{
             w.OrderCustomerNameEdit, w.OrderCustomerPhoneNoEdit, w.CustomerNameLabel, w.CustomerPhoneLabel,
             w.OrderCustomerCodeEdit, w.CustomerNameEditFilter, w.CustomerPhoneNoEditFilter, w.OrderIDEditFilter,
             w.OrderStateComboBoxFilter, w.OrderEngineerComboBoxFilter, w.OrderPhoneTypeComboBoxFilter,
             w.OrderPhoneIMEIEditFilter})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
}

void TestGuiMain2::caption_data()
{
    QTest::addColumn<QString>("cashName");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no cash desk") << QString() << QStringLiteral("Repaxo");
    QTest::newRow("cash desk") << QStringLiteral("2") << QStringLiteral("Repaxo - Pokladna 2");
    QTest::newRow("blanks kept") << QStringLiteral(" Přízemí ") << QStringLiteral("Repaxo - Pokladna  Přízemí ");
}

void TestGuiMain2::caption()
{
    QFETCH(QString, cashName);
    QFETCH(QString, caption);
    MainWindowShop s;
    s.configure([&](TRpx2Data &data) { data.config().SetCashName(cashName); });
    QVERIFY(s.start());
    QCOMPARE(s.w().windowTitle(), caption);

    // Changed while the program runs: the caption follows when it is applied again.
    s.data().config().SetCashName(QString());
    s.w().ApplyWindowTitle();
    QCOMPARE(s.w().windowTitle(), QStringLiteral("Repaxo"));
}

void TestGuiMain2::columnWidthsSurviveRestart()
{
    MainWindowShop s;
    s.configure([](TRpx2Data &data) {
        addOrder(data, {});
        addOrder(data, {});
    });
    QVERIFY(s.start());
    QTableView *grid = s.w().OrderListDBGrid;
    QVERIFY(grid->columnWidth(0) >= 75);
    QVERIFY(grid->columnWidth(1) >= 110);
    const int second = grid->columnWidth(1);
    grid->horizontalHeader()->resizeSection(0, 120);

    // A reload of the list keeps the width the clerk chose.
    QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);
    s.w().OrderIDEditFilter->setText(QStringLiteral("2025"));
    QVERIFY(reloaded.wait(3000));
    QCOMPARE(grid->columnWidth(0), 120);

    s.close();
    QVERIFY(s.start());
    QCOMPARE(s.w().OrderListDBGrid->columnWidth(0), 120);
    QCOMPARE(s.w().OrderListDBGrid->columnWidth(1), second);
    QCOMPARE(s.data().config().GetColumnWidth(QStringLiteral("OrderList"), 0, 0), 120);
}

// ---------------------------------------------------------------------------------------
// First start

void TestGuiMain2::firstStartWithoutDatabase_data()
{
    QTest::addColumn<bool>("create");
    QTest::newRow("new database") << true;
    QTest::newRow("quit") << false;
}

void TestGuiMain2::firstStartWithoutDatabase()
{
    QFETCH(bool, create);
    MainWindowShop s;
    QVERIFY(QFile::remove(AppPaths::databaseFile()));
    if (create)
        s.ui.databaseChoices.push_back(Prompts::MissingDatabase::CreateNew);

    QCOMPARE(s.start(), create);
    QCOMPARE(s.ui.messages.size(), 1); // the question about the missing database
    QCOMPARE(QFile::exists(AppPaths::databaseFile()), create);
    if (!create)
        return;

    // The newcomer can take a device in at once.
    TRpx2Form &w = s.w();
    QVERIFY(w.isVisible());
    QCOMPARE(listedOrders(w), QStringList());
    QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
    w.ActionOrderNew->trigger();
    w.OrderCustomerNameEdit->setText(QStringLiteral("Jana Malá"));
    w.ActionOrderStore->trigger();
    QCOMPARE(s.ui.messages.size(), 1);
    QCOMPARE(listedOrders(w), QStringList{QStringLiteral("2025-00001")});
    QCOMPARE(w.OrderIDEdit->text(), QStringLiteral("2025-00001"));
}

QTEST_MAIN(TestGuiMain2)
#include "tst_gui_main2.moc"
