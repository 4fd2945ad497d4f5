// The main window's list and shell: filters and their delayed reload, the age choice and column
// widths across a restart, totals, the simplified-customer mode, the caption and the first start.
#include "../gui_main/mainwindowshop.h"

#include "orders/suggestcombobox.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QSet<QString> setOf(const QStringList &list)
{
    return QSet<QString>(list.begin(), list.end());
}

// What a user's pick in a combo box does: the entry becomes current and `activated` fires.
void pick(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

class TestGuiMain2 : public QObject
{
    Q_OBJECT

private slots:
    void reloadWaitsWhileOrderIsEntered_data()
    {
        QTest::addColumn<bool>("newOrder");
        QTest::addColumn<bool>("store");
        QTest::addColumn<bool>("atOnce"); // stored before the reload falls due
        QTest::newRow("new order, stored") << true << true << false;
        QTest::newRow("new order, cancelled") << true << false << false;
        QTest::newRow("changed order, stored") << false << true << false;
        QTest::newRow("changed order, cancelled") << false << false << false;
        QTest::newRow("new order, stored at once") << true << true << true;
    }

    void reloadWaitsWhileOrderIsEntered()
    {
        QFETCH(bool, newOrder);
        QFETCH(bool, store);
        QFETCH(bool, atOnce);
        QString alenas, bedrichs;
        MainWindowShop s([&](TRpx2Data &data) {
            // A new (state 1) order: it sorts above the stored one, so a late reload would show it.
            alenas = addOrder(
                data,
                { .state = OrderStates::New, .customerId = addCustomer(data, u"Alena Veselá"_s) });
            bedrichs = addOrder(data, { .customerId = addCustomer(data, u"Bedřich Novotný"_s) });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        QVERIFY(s.data().orderList().last()); // Bedřich's order
        QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);

        const QString typed = u"Kamera nefunguje"_s;
        if (newOrder) {
            w.ActionOrderNew->trigger();
            QTest::keyClicks(w.OrderCustomerNameEdit, u"Alena Mala"_s);
        }
        w.OrderFaultDescriptionMemo->setFocus();
        QTest::keyClicks(w.OrderFaultDescriptionMemo, typed);
        const auto entering = w.orderFormState();
        w.CustomerNameEditFilter->setFocus();
        QTest::keyClicks(w.CustomerNameEditFilter, u"Alena"_s);
        if (!atOnce) {
            // The filter's reload falls due while the order is being entered: it waits, and the
            // entry is not lost.
            QTRY_VERIFY_WITH_TIMEOUT(!w.Timer->isActive(), 3000);
            QTest::qWait(100);
            QCOMPARE(reloaded.count(), 0);
            QCOMPARE(w.orderFormState(), entering);
            QCOMPARE(w.OrderFaultDescriptionMemo->toPlainText(), typed);
            QCOMPARE(w.OrderIDEdit->text(), newOrder ? QString() : bedrichs);
        }

        // Stored or cancelled, the list follows the filter, once, and stays on the stored order.
        (store ? w.ActionOrderStore : w.ActionOrderCancel)->trigger();
        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
        const QString stored = w.OrderIDEdit->text();
        QTest::qWait(800);
        QCOMPARE(reloaded.count(), 1);
        if (newOrder && store) {
            QCOMPARE(s.data().GetOrder(stored)->OrderFaultDescription, typed);
            QCOMPARE(listedOrders(w), (QStringList { alenas, stored }));
            QCOMPARE(s.data().orderList().currentOrderId(), stored);
            QCOMPARE(w.OrderIDEdit->text(), stored);
        } else {
            QCOMPARE(listedOrders(w), QStringList { alenas });
            QCOMPARE(w.OrderIDEdit->text(), alenas);
            QCOMPARE(w.OrderCustomerNameEdit->text(), u"Alena Veselá"_s);
        }
        if (!newOrder)
            QCOMPARE(s.data().GetOrder(bedrichs)->OrderFaultDescription, store ? typed : QString());
    }

    void filterBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("listed"); // indexes of the prepared orders

        const QString name = u"CustomerNameEditFilter"_s;
        QTest::newRow("blanks around") << name << u"  Jana "_s << QList<int> { 0 };
        QTest::newRow("engineer") << u"OrderEngineerComboBoxFilter"_s << u"petr"_s
                                  << QList<int> { 0 };
        // The state filter's choice outlives the rebuild of its entries when an order is shown.
        QTest::newRow("state") << u"OrderStateComboBoxFilter"_s << u"Hotová"_s << QList<int> { 1 };
        QTest::newRow("nothing matches") << name << u"Zdenek"_s << QList<int> {};
    }

    void filterBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QList<int>, listed);
        QStringList ids;
        MainWindowShop s([&](TRpx2Data &data) {
            ids.append(addOrder(
                data,
                { .customerId = addCustomer(data, u"Jana Malá"_s), .engineer = u"Petr Dvořák"_s }));
            ids.append(addOrder(data,
                                { .state = OrderStates::Done,
                                  .customerId = addCustomer(data, u"Petr Novák"_s),
                                  .engineer = u"Jan Král"_s }));
            ids.append(addOrder(data, {})); // no customer
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);

        auto *filter = w.findChild<QLineEdit *>(box);
        QComboBox *states
            = box == u"OrderStateComboBoxFilter"_s ? w.OrderStateComboBoxFilter : nullptr;
        if (auto *combo = w.findChild<SuggestComboBox *>(box)) {
            // Entering the box fills its suggestions; that alone reloads nothing.
            combo->setFocus();
            QTRY_VERIFY(combo->count() > 0);
            QTest::qWait(700);
            QCOMPARE(reloaded.count(), 0);
            filter = combo->lineEdit();
        }
        if (filter)
            filter->setFocus();
        // Typed a key every 150 ms: one reload, half a second after the last key; the box
        // holds just what was typed.
        if (states)
            pick(states, states->findText(text));
        else
            QTest::keyClicks(filter, text, {}, 150);
        QCOMPARE(reloaded.count(), 0);
        QVERIFY(reloaded.wait(3000));
        QTest::qWait(700);
        QCOMPARE(reloaded.count(), 1);
        QCOMPARE(states ? states->currentText() : filter->text(), text);
        QStringList expected;
        for (int index : listed)
            expected.append(ids[index]);
        QCOMPARE(setOf(listedOrders(w)), setOf(expected));
        // Nothing listed: no order shown, none to print, hold, change or add a photo to, and
        // the counts are empty.
        QCOMPARE(w.OrderIDEdit->text(), expected.isEmpty() ? QString() : listedOrders(w).first());
        QCOMPARE(w.StatusPanel0->text().isEmpty(), expected.isEmpty());
        QCOMPARE(w.StatusPanel1->text().isEmpty(), expected.isEmpty());
        for (QAction *action : { w.ActionPrintReceipt, w.ActionPrintIssue, w.ActionOrderHold,
                                 w.ActionCustomerSelect })
            QVERIFY2(action->isEnabled() == !expected.isEmpty(), qPrintable(action->objectName()));
        QCOMPARE(w.OrderRepairImage->isEnabled(), !expected.isEmpty());
        if (expected.isEmpty()) { // typing into a customer box starts no change of no order
            QTest::keyClicks(w.OrderCustomerPhoneNoEdit, u"1"_s);
            QCOMPARE(w.orderFormState(), TRpx2Form::OrderFormState::Browse);
            w.OrderCustomerPhoneNoEdit->clear();
        }

        // Cleared, the filter lists every order again, the one without a customer too.
        states ? pick(states, 0) : filter->clear();
        QVERIFY(reloaded.wait(3000));
        QCOMPARE(setOf(listedOrders(w)), setOf(ids));
        QCOMPARE(w.StatusPanel1->text(), u"V opravě: 2; Hotová: 1"_s);
        QVERIFY(w.ActionPrintReceipt->isEnabled() && w.OrderRepairImage->isEnabled());
    }

    // The age choice and column widths survive a restart; the caption and the simplified-customer
    // mode follow their settings.
    void ageAndColumnWidthsSurviveRestart()
    {
        QString today, weekAgo;
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetCashName(u" 2"_s);
            data.config().SetEasyCustomer(true);
            today = addOrder(data, {});
            weekAgo = addOrder(data,
                               { .received = QDateTime(TestNow.date().addDays(-7), QTime(0, 5)) });
            addOrder(data, { .received = QDateTime(TestNow.date().addDays(-8), QTime(23, 59)) });
        });
        QVERIFY(s.start());
        QCOMPARE(s.w().windowTitle(), u"Repaxo - Pokladna  2"_s);
        QVERIFY(!s.w().OrderCustomerEMailEdit->isVisible()
                && !s.w().CustomerCityEditFilter->isVisible());
        QVERIFY(s.w().OrderCustomerPhoneNoEdit->isVisible());
        QTableView *grid = s.w().OrderListDBGrid;
        const int second = grid->columnWidth(1);
        grid->horizontalHeader()->resizeSection(0, 120);

        // Seven days: the oldest order is hidden. A reload keeps the width the clerk chose.
        QSignalSpy reloaded(&s.data().orderList(), &OrderList::reloaded);
        pick(s.w().OrderAgeComboBox, 0);
        QVERIFY(reloaded.wait(3000));
        QCOMPARE(grid->columnWidth(0), 120);
        s.close();
        QVERIFY(s.start());
        QCOMPARE(s.w().OrderAgeComboBox->currentIndex(), 0);
        QCOMPARE(listedOrders(s.w()), (QStringList { weekAgo, today }));
        QCOMPARE(s.w().OrderListDBGrid->columnWidth(0), 120);
        QCOMPARE(s.w().OrderListDBGrid->columnWidth(1), second);

        // Narrowed below a held order's bold number, the column is widened again at the next
        // start, so that held orders are not cut.
        s.w().OrderListDBGrid->horizontalHeader()->resizeSection(0, 60);
        s.close();
        QVERIFY(s.start());
        s.w().ActionOrderHold->trigger();
        QCOMPARE(s.w().heldOrders(), QStringList { weekAgo });
        grid = s.w().OrderListDBGrid;
        QFont bold = grid->font();
        bold.setBold(true);
        // The cell's text loses a margin on either side and the grid line.
        const int margins
            = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
        QVERIFY(QFontMetrics(bold).horizontalAdvance(weekAgo) <= grid->columnWidth(0) - margins);
    }

    // Today's takings are those handed back from 00:00:00 today up to, not including,
    // 00:00:00 tomorrow.
    void totalsFollowHandingBack()
    {
        QString done;
        MainWindowShop s([&](TRpx2Data &data) {
            const QDate today = TestNow.date();
            for (const auto &[price, issued] :
                 { std::pair(1609415500.0, QDateTime(today.addDays(-1), QTime(23, 59, 59))),
                   std::pair(1.0, QDateTime(today, QTime(0, 0))),
                   std::pair(20.0, QDateTime(today.addDays(1), QTime(0, 0))) })
                addOrder(
                    data,
                    { .state = OrderStates::HandedBack, .finalPrice = price, .issued = issued });
            // Not handed back: not counted, whatever its price.
            addOrder(data, { .state = OrderStates::Done, .finalPrice = 999.0, .issued = TestNow });
            done = addOrder(data,
                            { .state = OrderStates::Done,
                              .received = TestNow.addDays(-2),
                              .repair = u"Konektor"_s,
                              .phoneType = u"Samsung Galaxy Z Fold5 Enterprise Edition"_s });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        QCOMPARE(w.OrderSumValueLabel->text(), u"1609415521.00"_s);
        QCOMPARE(w.OrderSumTodayValueLabel->text(), u"1.00"_s);
        // A large shop's takings and a long model name show whole, from their start.
        QTRY_VERIFY(w.OrderSumValueLabel->width() >= w.OrderSumValueLabel->sizeHint().width());
        QCOMPARE(w.OrderPhoneTypeComboBox->lineEdit()->cursorPosition(), 0);

        // Handed back now: both totals take it in at once.
        QCOMPARE(w.OrderIDEdit->text(), done);
        pick(w.OrderStateComboBox, w.OrderStateComboBox->findData(OrderStates::HandedBack));
        w.OrderIssuePriceEdit->setText(u"250.5"_s);
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(w.OrderSumValueLabel->text(), u"1609415771.50"_s);
        QCOMPARE(w.OrderSumTodayValueLabel->text(), u"251.50"_s);
    }

    // A file that cannot be used is named with what is wrong with it, and the clerk is asked
    // again; the file chosen then is the one the next start opens. At the first start, without
    // a file, the newcomer makes one and sees the order list at once.
    void unusableDatabaseAtStartUp_data()
    {
        QTest::addColumn<QString>("beside"); // "schema", "pages": damaged there; empty: no file
        QTest::addColumn<bool>("rememberedForeign"); // DBFileName names a file of another kind
        QTest::addColumn<QStringList>("chosen"); // what the file dialog gives, in turn; none: new
        QTest::addColumn<QStringList>("shown"); // the messages, in turn
        const QString foreign = u"foreign"_s, good = u"good"_s, damaged = u"damaged"_s,
                      missing = u"missing"_s, unusable = u"unusable"_s;
        // The question after a file that is there says so, not that it is missing.
        QTest::newRow("damaged list of tables")
            << u"schema"_s << false << QStringList { good } << QStringList { damaged, unusable };
        QTest::newRow("damaged orders")
            << u"pages"_s << false << QStringList { good } << QStringList { damaged, unusable };
        QTest::newRow("DBFileName names another kind of file")
            << QString() << true << QStringList { good } << QStringList { foreign, unusable };
        QTest::newRow("another kind of file chosen")
            << QString() << false << QStringList { foreign, good }
            << QStringList { missing, foreign, unusable };
        QTest::newRow("first start")
            << QString() << false << QStringList() << QStringList { missing };
    }

    void unusableDatabaseAtStartUp()
    {
        QFETCH(QString, beside);
        QFETCH(bool, rememberedForeign);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, shown);
        MainWindowShop s;
        const QString besidePath = QFileInfo(AppPaths::databaseFile()).absoluteFilePath();
        const QString good = QFileInfo(s.shop.path(u"jinde/obchod.db"_s)).absoluteFilePath();
        const QString opened = chosen.isEmpty() ? besidePath : good;
        const QString foreign = QFileInfo(s.shop.path(u"poznamky.txt"_s)).absoluteFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(good).path()));
        QVERIFY(QFile::copy(besidePath, good));
        QFile notes(foreign);
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("Seznam dílů k objednání") > 0);
        notes.close();
        if (beside.isEmpty()) {
            QVERIFY(QFile::remove(besidePath));
        } else {
            // Garbage over the list of tables (the first page) or over the pages after it.
            QFile file(besidePath);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const qint64 from = beside == u"schema"_s ? 100 : 4096;
            file.seek(from);
            file.write(QByteArray(int(file.size() - from), '\x5a'));
        }
        if (rememberedForeign)
            QSettings(u"KVL"_s, u"RPX2"_s).setValue(u"DBFileName"_s, foreign);
        if (chosen.isEmpty())
            s.ui.databaseChoices.push_back(Prompts::MissingDatabase::CreateNew);
        for (const QString &file : chosen) {
            s.ui.databaseChoices.push_back(Prompts::MissingDatabase::ChooseFile);
            s.ui.fileNames.push_back(file == u"good"_s ? good : foreign);
        }
        const QMap<QString, QString> texts {
            { u"damaged"_s,
              u"Soubor databáze „%1“ je poškozený; program s ním nemůže pracovat."_s.arg(
                  besidePath) },
            { u"foreign"_s, u"Soubor „%1“ není databází programu Repaxo."_s.arg(foreign) },
            { u"missing"_s, u"Soubor databáze nenalezen.\nZadejte umístění databáze."_s },
            { u"unusable"_s, u"Soubor databáze nelze použít.\nZadejte umístění databáze."_s },
        };
        QStringList expected;
        for (const QString &kind : shown)
            expected.append(texts.value(kind));

        QVERIFY(s.start());
        QCOMPARE(s.ui.messageTexts(), expected);
        QCOMPARE(s.data().fileName(), opened);
        QCOMPARE(QSettings(u"KVL"_s, u"RPX2"_s).value(u"DBFileName"_s).toString(), opened);
        if (chosen.isEmpty()) { // a new shop lists its orders and takes a device in at once
            QVERIFY(s.w().OrdersPanel->isVisible());
            s.w().ActionOrderNew->trigger();
            s.w().OrderCustomerNameEdit->setText(u"Jana Malá"_s);
            s.w().ActionOrderStore->trigger();
            QCOMPARE(listedOrders(s.w()), QStringList { u"2025-00001"_s });
        }
        // The next start opens the chosen file without asking; a damaged file beside the
        // program is still reported.
        s.close();
        s.ui.messages.clear();
        QVERIFY(s.start());
        QCOMPARE(s.data().fileName(), opened);
        QCOMPARE(s.ui.messageTexts(),
                 beside.isEmpty() ? QStringList() : QStringList { texts[u"damaged"_s] });
    }
};

QTEST_MAIN(TestGuiMain2)
#include "tst_gui_main2.moc"
