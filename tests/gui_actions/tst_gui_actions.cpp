// The main window's order actions (delete, unlock, hold, clear, navigation, bulk rename),
// its suggestion boxes and accessory tick boxes, and the repair photos, driven through the
// window's actions and controls on the offscreen platform.

#include "fakeui.h"
#include "testshop.h"

#include "app/rpx2form.h"
#include "app/ui.h"
#include "orders/suggestcombobox.h"

#include "config.h"
#include "orderlist.h"
#include "records.h"
#include "rpx2data.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Answer = Prompts::Answer;
using namespace Qt::StringLiterals;

class TestGuiActions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deleteAskedAndGuarded_data();
    void deleteAskedAndGuarded();
    void deleteShowsFollowingRow_data();
    void deleteShowsFollowingRow();
    void deleteOfOnlyOrderEmptiesForm();
    void deleteOfVanishedOrderReported();
    void deleteRefreshesCountsAndTotals();
    void unlockHandedBackOrder_data();
    void unlockHandedBackOrder();

    void holdTogglesAndLabelFollows();
    void holdNarrowsListToCustomer_data();
    void holdNarrowsListToCustomer();
    void holdStoresNewOrderFirst();
    void navigationByPosition();
    void navigationRefusedWhileEditing();

    void renameExactValueOnly_data();
    void renameExactValueOnly();
    void renameRefused_data();
    void renameRefused();

    void suggestionSources_data();
    void suggestionSources();
    void orderBoxReselectsIgnoringCase_data();
    void orderBoxReselectsIgnoringCase();
    void leavingUnknownDeviceType_data();
    void leavingUnknownDeviceType();
    void accessoryTickBoxesEmptyAndRestore_data();
    void accessoryTickBoxesEmptyAndRestore();
    void freeTypingFollowsListsDialog_data();
    void freeTypingFollowsListsDialog();

    void photoAssignedToStoredOrder();
    void photoOfNewOrderCopiedWhenStored();
    void photoOfCancelledNewOrderNotCopied();
    void photoRemovedKeepsFile();
    void photoCopyFailureShown_data();
    void photoCopyFailureShown();
    void photoFailedReplaceKeepsOldCopy();
    void photoShownThroughDesktop();

private:
    struct Wanted
    {
        QString customer = QStringLiteral("Novák");
        int state = OrderStates::InRepair;
        QString engineer;
        QString phoneType;
        QString battery;
        double finalPrice = 0.0;
        QString imei;
        QString batterySN;
    };
    QString addOrder(const Wanted &wanted);
    QString addOrder(const QString &customer = QStringLiteral("Novák"),
                     int state = OrderStates::InRepair);
    void startWindow();
    void addListRow(bool phone, int id, const QString &name);
    QString sourcePhoto(const QString &folder, const QString &name, const QByteArray &content);
    QString storedPhoto(const QString &orderId)
    {
        return m_w->data().GetOrder(orderId).value_or(COrder{}).OrderRepairImage;
    }
    bool photoMenuOffers(const char *actionName);
    QString photoPath(const QString &name) const
    {
        return AppPaths::photoDir() + QLatin1Char('/') + name;
    }

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<FakeUi> m_ui;
    std::unique_ptr<TRpx2Form> m_w;
    std::unique_ptr<QTemporaryDir> m_camera; // "another folder" the photos are chosen from
};

namespace {

const QDateTime Now(QDate(2026, 3, 10), QTime(10, 30));

std::function<int(QDialog &)> typePassword(const QString &text, int result = QDialog::Accepted)
{
    return [text, result](QDialog &dialog) {
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("PasswordEdit"));
        if (!edit)
            return int(QDialog::Rejected);
        edit->setText(text);
        return result;
    };
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList items(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

QString stateName(TRpx2Data &data, int stateId)
{
    for (const IdName &state : data.GetOrderStates())
        if (state.id == stateId)
            return state.name;
    return {};
}

} // namespace

void TestGuiActions::init()
{
    m_shop = std::make_unique<TestShop>();
    Clock::setFixed(Now);
    m_ui = std::make_unique<FakeUi>();
    m_camera = std::make_unique<QTemporaryDir>();
    m_w = std::make_unique<TRpx2Form>();
    QVERIFY(m_w->start());
    m_w->show();
}

void TestGuiActions::cleanup()
{
    m_w.reset();
    m_ui.reset();
    m_camera.reset();
    m_shop.reset();
}

QString TestGuiActions::addOrder(const Wanted &wanted)
{
    TRpx2Data &data = m_w->data();
    CCustomer customer;
    customer.CustomerCode = QStringLiteral("12345678");
    customer.CustomerName = wanted.customer;
    data.StoreCustomer(customer);
    COrder order;
    order.OrderTypeID = OrderTypes::Paid;
    order.OrderStateID = wanted.state;
    order.OrderCustomerID = customer.CustomerID;
    order.OrderReceiptDate = Now.addDays(-3);
    order.OrderDeadlineDate = Now.addDays(4);
    order.OrderEngineerName = wanted.engineer;
    order.OrderPhone = true;
    order.OrderPhoneType = wanted.phoneType;
    order.OrderPhoneIMEI = wanted.imei;
    order.OrderBattery = true;
    order.OrderBatteryType = wanted.battery;
    order.OrderBatterySN = wanted.batterySN;
    order.OrderFinalPricePrimary = wanted.finalPrice;
    if (wanted.state == OrderStates::HandedBack) {
        order.OrderRepairDescription = QStringLiteral("Výměna displeje");
        order.OrderIssueDate = Now.addSecs(-3600);
    }
    data.StoreNewOrder(order);
    return order.OrderID;
}

QString TestGuiActions::addOrder(const QString &customer, int state)
{
    Wanted wanted;
    wanted.customer = customer;
    wanted.state = state;
    return addOrder(wanted);
}

// Reads the prepared orders and settings as a running window would after a reload.
void TestGuiActions::startWindow()
{
    m_w->ReloadOrderList();
    m_w->ShowOrderTotals();
}

void TestGuiActions::addListRow(bool phone, int id, const QString &name)
{
    m_w->data().ExecuteCommand(
        phone ? QStringLiteral("INSERT INTO t_filter_phone_01 VALUES (?, ?)")
              : QStringLiteral("INSERT INTO t_filter_engineer_01 VALUES (?, ?)"),
        {id, name});
}

QString TestGuiActions::sourcePhoto(const QString &folder, const QString &name,
                                    const QByteArray &content)
{
    QDir(m_camera->path()).mkpath(folder);
    const QString path = m_camera->filePath(folder + QLatin1Char('/') + name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

// Whether the indicator's pop-up menu, as it is about to open, offers the action.
bool TestGuiActions::photoMenuOffers(const char *actionName)
{
    auto *menu = m_w->findChild<QMenu *>(QStringLiteral("PopupMenu3"));
    if (!menu)
        return false;
    emit menu->aboutToShow();
    auto *action = m_w->findChild<QAction *>(QLatin1String(actionName));
    return action && menu->actions().contains(action) && action->isEnabled();
}

// ----------------------------------------------------------------------------------------
// Deleting

void TestGuiActions::deleteAskedAndGuarded_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("promptResult");
    QTest::addColumn<int>("confirm");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QStringList>("messageKeys");
    QTest::addColumn<bool>("deleted");

    const int yes = int(Answer::Yes), no = int(Answer::No);
    const int ok = QDialog::Accepted, cancel = QDialog::Rejected;
    QTest::newRow("no password, yes")
        << QString() << QString() << ok << yes << true << QStringList() << true;
    QTest::newRow("no password, no")
        << QString() << QString() << ok << no << true << QStringList() << false;
    QTest::newRow("right password")
        << u"Tajné1"_s << u"Tajné1"_s << ok << yes << true << QStringList() << true;
    QTest::newRow("wrong password") << u"Tajné1"_s << u"xyz"_s << ok << yes << false
                                    << QStringList{QStringLiteral("Rpx2.InvalidPassword")} << false;
    QTest::newRow("other letter case")
        << u"Tajné1"_s << u"tajné1"_s << ok << yes << false
        << QStringList{QStringLiteral("Rpx2.InvalidPassword")} << false;
    QTest::newRow("prompt cancelled")
        << u"Tajné1"_s << u"Tajné1"_s << cancel << yes << false << QStringList() << false;
}

void TestGuiActions::deleteAskedAndGuarded()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(int, promptResult);
    QFETCH(int, confirm);
    QFETCH(bool, asked);
    QFETCH(QStringList, messageKeys);
    QFETCH(bool, deleted);

    TRpx2Data &data = m_w->data();
    addOrder(QStringLiteral("Svoboda"));
    const QString shown = addOrder(QStringLiteral("Novák"));
    data.config().SetDeleteOrder(true);
    data.config().SetPassword(password);
    startWindow();
    QCOMPARE(m_w->OrderIDEdit->text(), shown);
    QVERIFY(m_w->ActionOrderDelete->isEnabled());

    if (!password.isEmpty())
        m_ui->dialogHandlers.push_back(typePassword(typed, promptResult));
    m_ui->answers.push_back(Answer(confirm));
    m_w->ActionOrderDelete->trigger();

    QCOMPARE(m_ui->dialogsShown,
             password.isEmpty() ? QStringList() : QStringList{QStringLiteral("TPasswordForm")});
    QCOMPARE(m_ui->questions.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(m_ui->questions.at(0).text, rpxText("Rpx2.OrderDeleteConfirm"));
        QCOMPARE(m_ui->questions.at(0).title, rpxText("Rpx2.OrderDeleteTitle"));
    }
    QStringList expectedMessages;
    for (const QString &key : messageKeys)
        expectedMessages.append(rpxText(key.toLatin1().constData()));
    QCOMPARE(m_ui->messageTexts(), expectedMessages);
    QCOMPARE(data.GetOrder(shown).has_value(), !deleted);
    QCOMPARE(data.orderList().rowCount(), deleted ? 1 : 2);
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(m_w->OrderIDEdit->text(), data.orderList().currentOrderId());
}

void TestGuiActions::deleteShowsFollowingRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("shownRow"); // row of the shown order in the list before the delete

    QTest::newRow("first") << 0 << 1;
    QTest::newRow("middle") << 1 << 2;
    QTest::newRow("last") << 3 << 2;
}

void TestGuiActions::deleteShowsFollowingRow()
{
    QFETCH(int, row);
    QFETCH(int, shownRow);

    TRpx2Data &data = m_w->data();
    for (int i = 0; i < 4; ++i)
        addOrder(QStringLiteral("Zákazník %1").arg(i));
    data.config().SetDeleteOrder(true);
    startWindow();
    OrderList &list = data.orderList();
    QVERIFY(list.moveTo(row) || row == 0);
    const QString expected = list.orderIdAt(shownRow);
    const QString customer = list.customerNameAt(shownRow);

    m_w->ActionOrderDelete->trigger();

    QCOMPARE(list.rowCount(), 3);
    QCOMPARE(list.currentOrderId(), expected);
    QCOMPARE(m_w->OrderIDEdit->text(), expected);
    QCOMPARE(m_w->OrderCustomerNameEdit->text(), customer);
    QCOMPARE(m_w->StatusPanel0->text(),
             formatText(rpxText("Rpx2.OrderSelectedCount"), {list.currentRow() + 1, 3}));
    QCOMPARE(m_w->ActionOrderNext->isEnabled(), !list.isLast());
}

void TestGuiActions::deleteOfOnlyOrderEmptiesForm()
{
    TRpx2Data &data = m_w->data();
    const QString id = addOrder(QStringLiteral("Novák"));
    data.config().SetDeleteOrder(true);
    startWindow();
    QCOMPARE(m_w->OrderIDEdit->text(), id);

    m_w->ActionOrderDelete->trigger();

    QVERIFY(data.orderList().isEmpty());
    QVERIFY(m_w->OrderIDEdit->text().isEmpty());
    QVERIFY(m_w->OrderCustomerNameEdit->text().isEmpty());
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    QVERIFY(!m_w->ActionOrderDelete->isEnabled());
    QVERIFY(m_w->ActionOrderNew->isEnabled());
    QVERIFY(m_ui->messages.isEmpty());
}

void TestGuiActions::deleteOfVanishedOrderReported()
{
    TRpx2Data &data = m_w->data();
    const QString other = addOrder(QStringLiteral("Svoboda"));
    const QString shown = addOrder(QStringLiteral("Novák"));
    data.config().SetDeleteOrder(true);
    startWindow();
    QCOMPARE(m_w->OrderIDEdit->text(), shown);
    QVERIFY(data.DeleteOrder(shown)); // removed at another counter meanwhile

    m_w->ActionOrderDelete->trigger();

    QCOMPARE(m_ui->messageTexts(),
             QStringList{QStringLiteral("CHYBA: Zakázku se nepodařilo odstranit.")});
    QVERIFY(data.GetOrder(other));
    QCOMPARE(data.orderList().rowCount(), 1);
    QCOMPARE(m_w->OrderIDEdit->text(), other);
}

void TestGuiActions::deleteRefreshesCountsAndTotals()
{
    TRpx2Data &data = m_w->data();
    Wanted wanted;
    wanted.state = OrderStates::HandedBack;
    wanted.finalPrice = 100;
    addOrder(wanted);
    wanted.finalPrice = 250;
    const QString expensive = addOrder(wanted);
    addOrder(QStringLiteral("Svoboda"), OrderStates::InRepair);
    data.config().SetDeleteOrder(true);
    startWindow();

    const QString handedBack = stateName(data, OrderStates::HandedBack);
    QVERIFY(!handedBack.isEmpty());
    QVERIFY2(m_w->StatusPanel1->text().contains(handedBack + QStringLiteral(": 2")),
             qPrintable(m_w->StatusPanel1->text()));
    QCOMPARE(m_w->OrderSumValueLabel->text(), QStringLiteral("350.00"));
    QCOMPARE(m_w->OrderSumTodayValueLabel->text(), QStringLiteral("350.00"));

    OrderList &list = data.orderList();
    QVERIFY(list.moveTo(list.rowOf(expensive)) || list.currentOrderId() == expensive);
    m_w->ActionOrderDelete->trigger();

    QVERIFY(!data.GetOrder(expensive));
    QVERIFY2(m_w->StatusPanel1->text().contains(handedBack + QStringLiteral(": 1")),
             qPrintable(m_w->StatusPanel1->text()));
    QCOMPARE(m_w->OrderSumValueLabel->text(), QStringLiteral("100.00"));
    QCOMPARE(m_w->OrderSumTodayValueLabel->text(), QStringLiteral("100.00"));
}

// ----------------------------------------------------------------------------------------
// Unlocking a handed-back order

void TestGuiActions::unlockHandedBackOrder_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("promptResult");
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<bool>("invalidMessage");

    QTest::newRow("no password") << QString() << QString() << int(QDialog::Accepted) << true
                                 << false;
    QTest::newRow("right password")
        << u"heslo"_s << u"heslo"_s << int(QDialog::Accepted) << true << false;
    QTest::newRow("wrong password")
        << u"heslo"_s << u"Heslo"_s << int(QDialog::Accepted) << false << true;
    QTest::newRow("cancelled") << u"heslo"_s << u"heslo"_s << int(QDialog::Rejected) << false
                               << false;
}

void TestGuiActions::unlockHandedBackOrder()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(int, promptResult);
    QFETCH(bool, unlocked);
    QFETCH(bool, invalidMessage);

    Wanted wanted;
    wanted.state = OrderStates::HandedBack;
    wanted.finalPrice = 500;
    addOrder(wanted);
    m_w->data().config().SetPassword(password);
    startWindow();

    QVERIFY(m_w->ActionOrderChange->isEnabled());
    QVERIFY(!m_w->OrderIssuePriceEdit->isEnabled());
    QVERIFY(!m_w->OrderRepairImage->isEnabled());

    if (!password.isEmpty())
        m_ui->dialogHandlers.push_back(typePassword(typed, promptResult));
    m_w->ActionOrderChange->trigger();

    QCOMPARE(m_w->orderFormState(),
             unlocked ? TRpx2Form::OrderFormState::Edit : TRpx2Form::OrderFormState::Browse);
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_w->OrderIssuePriceEdit, m_w->OrderStateComboBox, m_w->OrderRepairDescriptionMemo,
             m_w->OrderEngineerComboBox, m_w->OrderRepairImage, m_w->OrderPhoneCheckBox,
             m_w->OrderNoteMemo})
        QVERIFY2(control->isEnabled() == unlocked, qPrintable(control->objectName()));
    QCOMPARE(m_w->ActionOrderStore->isEnabled(), unlocked);
    QCOMPARE(m_ui->messageTexts(),
             invalidMessage ? QStringList{rpxText("Rpx2.InvalidPassword")} : QStringList());
}

// ----------------------------------------------------------------------------------------
// Holding, clearing and navigating

void TestGuiActions::holdTogglesAndLabelFollows()
{
    const QString older = addOrder(QStringLiteral("Novák"));
    const QString newer = addOrder(QStringLiteral("Svoboda"));
    startWindow();
    m_w->NoFilterCheckBox->setChecked(true);
    auto label = [this](int count) { return formatText(rpxText("Rpx2.OrderHoldCount"), {count}); };
    QCOMPARE(m_w->OrderHoldCountLabel->text(), label(0));
    QVERIFY(!m_w->OrderHoldCountLabel->font().bold());

    m_w->ActionOrderHold->trigger();
    QCOMPARE(m_w->heldOrders(), QStringList{newer});
    QCOMPARE(m_w->OrderHoldCountLabel->text(), label(1));
    QVERIFY(m_w->OrderHoldCountLabel->font().bold());

    // Holding the same order again releases it.
    m_w->ActionOrderHold->trigger();
    QVERIFY(m_w->heldOrders().isEmpty());
    QCOMPARE(m_w->OrderHoldCountLabel->text(), label(0));
    QVERIFY(!m_w->OrderHoldCountLabel->font().bold());

    m_w->ActionOrderHold->trigger();
    m_w->ActionOrderNext->trigger();
    m_w->ActionOrderHold->trigger();
    QCOMPARE(m_w->heldOrders(), (QStringList{newer, older}));
    QCOMPARE(m_w->OrderHoldCountLabel->text(), label(2));
    QVERIFY(m_w->CustomerNameEditFilter->text().isEmpty());
    QVERIFY(!m_w->Timer->isActive());

    m_w->ActionOrderClear->trigger();
    QVERIFY(m_w->heldOrders().isEmpty());
    QCOMPARE(m_w->OrderHoldCountLabel->text(), label(0));
    QVERIFY(!m_w->OrderHoldCountLabel->font().bold());
    m_w->ActionOrderClear->trigger();
    QCOMPARE(m_w->OrderHoldCountLabel->text(), label(0));
}

void TestGuiActions::holdNarrowsListToCustomer_data()
{
    QTest::addColumn<bool>("noFilter");
    QTest::newRow("filtering") << false;
    QTest::newRow("no filter") << true;
}

void TestGuiActions::holdNarrowsListToCustomer()
{
    QFETCH(bool, noFilter);

    addOrder(QStringLiteral("Dvořák"));
    addOrder(QStringLiteral("Svoboda"));
    const QString held = addOrder(QStringLiteral("Dvořák"));
    startWindow();
    QCOMPARE(m_w->data().orderList().rowCount(), 3);
    QCOMPARE(m_w->OrderIDEdit->text(), held);
    m_w->NoFilterCheckBox->setChecked(noFilter);

    m_w->ActionOrderHold->trigger();
    QCOMPARE(m_w->heldOrders(), QStringList{held});
    if (noFilter) {
        QVERIFY(m_w->CustomerNameEditFilter->text().isEmpty());
        QVERIFY(!m_w->Timer->isActive());
        QTest::qWait(600);
        QCOMPARE(m_w->data().orderList().rowCount(), 3);
    } else {
        QCOMPARE(m_w->CustomerNameEditFilter->text(), QStringLiteral("Dvořák"));
        QCOMPARE(m_w->data().orderList().rowCount(), 3); // not before the delay
        QTRY_COMPARE_WITH_TIMEOUT(m_w->data().orderList().rowCount(), 2, 2000);
        QCOMPARE(m_w->heldOrders(), QStringList{held});
    }
}

void TestGuiActions::holdStoresNewOrderFirst()
{
    addOrder(QStringLiteral("Svoboda"));
    startWindow();
    m_w->NoFilterCheckBox->setChecked(true);

    m_w->ActionOrderNew->trigger();
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Insert);
    m_w->ActionOrderHold->trigger();
    QCOMPARE(m_ui->messageTexts(), QStringList{rpxText("Rpx2.CustomerNotFilled")});
    QVERIFY(m_w->heldOrders().isEmpty());
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Insert);
    QCOMPARE(m_w->data().GetOrderCount(), 1);

    m_w->OrderCustomerNameEdit->setText(QStringLiteral("Nová Zákaznice"));
    m_w->ActionOrderHold->trigger();
    QCOMPARE(m_w->data().GetOrderCount(), 2);
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    const QString stored = m_w->OrderIDEdit->text();
    QVERIFY(!stored.isEmpty());
    QCOMPARE(m_w->heldOrders(), QStringList{stored});
    QCOMPARE(m_w->data().GetOrder(stored)->OrderCustomerID > 0, true);
}

void TestGuiActions::navigationByPosition()
{
    QStringList ids;
    for (int i = 0; i < 3; ++i)
        ids.prepend(addOrder(QStringLiteral("Zákazník %1").arg(i)));
    startWindow();
    auto enabled = [this] {
        return QList<bool>{m_w->ActionOrderFirst->isEnabled(),
                           m_w->ActionOrderPrevious->isEnabled(), m_w->ActionOrderNext->isEnabled(),
                           m_w->ActionOrderLast->isEnabled()};
    };
    QCOMPARE(m_w->OrderIDEdit->text(), ids.at(0));
    QCOMPARE(enabled(), (QList<bool>{false, false, true, true}));

    m_w->ActionOrderNext->trigger();
    QCOMPARE(m_w->OrderIDEdit->text(), ids.at(1));
    QCOMPARE(enabled(), (QList<bool>{true, true, true, true}));

    m_w->ActionOrderLast->trigger();
    QCOMPARE(m_w->OrderIDEdit->text(), ids.at(2));
    QCOMPARE(enabled(), (QList<bool>{true, true, false, false}));

    m_w->ActionOrderPrevious->trigger();
    QCOMPARE(m_w->OrderIDEdit->text(), ids.at(1));
    m_w->ActionOrderFirst->trigger();
    QCOMPARE(m_w->OrderIDEdit->text(), ids.at(0));
    QCOMPARE(m_w->OrderCustomerNameEdit->text(), QStringLiteral("Zákazník 2"));
}

void TestGuiActions::navigationRefusedWhileEditing()
{
    QStringList ids;
    for (int i = 0; i < 3; ++i)
        ids.prepend(addOrder(QStringLiteral("Zákazník %1").arg(i)));
    startWindow();
    m_w->ActionOrderNext->trigger();
    QCOMPARE(m_w->OrderIDEdit->text(), ids.at(1));

    m_w->OrderNoteMemo->setPlainText(QStringLiteral("rozpracováno"));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Edit);
    for (QAction *action : {m_w->ActionOrderFirst, m_w->ActionOrderPrevious, m_w->ActionOrderNext,
                            m_w->ActionOrderLast})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));

    QVERIFY(!m_w->data().orderList().next());
    // A click into the list does not leave the order either.
    QTableView *grid = m_w->OrderListDBGrid;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 0)).center());
    QCOMPARE(m_w->data().orderList().currentRow(), 1);
    QCOMPARE(m_w->OrderIDEdit->text(), ids.at(1));
    QCOMPARE(m_w->OrderNoteMemo->toPlainText(), QStringLiteral("rozpracováno"));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Edit);

    m_w->ActionOrderCancel->trigger();
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    QVERIFY(m_w->ActionOrderNext->isEnabled());
    QVERIFY(m_w->OrderNoteMemo->toPlainText().isEmpty());
}

// ----------------------------------------------------------------------------------------
// Bulk rename through the filter boxes' pop-up menus

void TestGuiActions::renameExactValueOnly_data()
{
    QTest::addColumn<bool>("engineer");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("listedAfter"); // orders listed under the new name

    QTest::newRow("engineer, longer names untouched")
        << true << QStringList{u"Petr"_s, u"Petra"_s, u"Petr Novák"_s, u"Petr"_s} << u"Petr"_s
        << u"Pavel"_s << QStringList{u"Pavel"_s, u"Petra"_s, u"Petr Novák"_s, u"Pavel"_s} << 2;
    QTest::newRow("engineer, other letter case untouched")
        << true << QStringList{u"Petr"_s, u"petr"_s} << u"Petr"_s << u"Pavel"_s
        << QStringList{u"Pavel"_s, u"petr"_s} << 1;
    QTest::newRow("engineer with apostrophes")
        << true << QStringList{u"O'Brien"_s, u"O'Briena"_s, u"Petr"_s} << u"O'Brien"_s
        << u"D'Arcy"_s << QStringList{u"D'Arcy"_s, u"O'Briena"_s, u"Petr"_s} << 1;
    QTest::newRow("device type") << false
                                 << QStringList{u"Nokia 3310"_s, u"Nokia 3310i"_s, u"Nokia 3310"_s}
                                 << u"Nokia 3310"_s << u"Nokia 3310 (2000)"_s
                                 << QStringList{u"Nokia 3310 (2000)"_s, u"Nokia 3310i"_s,
                                                u"Nokia 3310 (2000)"_s}
                                 << 2;
    QTest::newRow("device type with apostrophes")
        << false << QStringList{u"Moto"_s, u"Moto 'X'"_s} << u"Moto"_s << u"Moto 'G' ; --"_s
        << QStringList{u"Moto 'G' ; --"_s, u"Moto 'X'"_s} << 1;
}

void TestGuiActions::renameExactValueOnly()
{
    QFETCH(bool, engineer);
    QFETCH(QStringList, values);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, expected);
    QFETCH(int, listedAfter);

    QStringList ids;
    for (int i = 0; i < values.size(); ++i) {
        Wanted wanted;
        wanted.state = i % 2 ? OrderStates::HandedBack : OrderStates::InRepair; // locked ones too
        (engineer ? wanted.engineer : wanted.phoneType) = values.at(i);
        ids.append(addOrder(wanted));
    }
    startWindow();

    SuggestComboBox *box =
        engineer ? m_w->OrderEngineerComboBoxFilter : m_w->OrderPhoneTypeComboBoxFilter;
    QAction *action = engineer ? m_w->ActionOrderEngineerUpdate : m_w->ActionOrderPhoneUpdate;
    QCOMPARE(box->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(box->actions().contains(action));
    box->setEditText(from);
    QTRY_VERIFY(!m_w->Timer->isActive());

    QString shownFrom;
    m_ui->dialogHandlers.push_back([&](QDialog &dialog) {
        auto *editFrom = dialog.findChild<QLineEdit *>(QStringLiteral("EditFrom"));
        auto *editTo = dialog.findChild<QLineEdit *>(QStringLiteral("EditTo"));
        if (!editFrom || !editTo)
            return int(QDialog::Rejected);
        shownFrom = editFrom->text();
        editTo->setText(to);
        return int(QDialog::Accepted);
    });
    action->trigger();

    QCOMPARE(m_ui->dialogsShown, QStringList{QStringLiteral("TOrderUpdateForm")});
    QCOMPARE(shownFrom, from);
    QCOMPARE(m_ui->questions.size(), 1);
    QCOMPARE(m_ui->questions.at(0).title, QStringLiteral("Otázka"));
    QVERIFY(m_ui->questions.at(0).text.contains(from));
    QVERIFY(m_ui->questions.at(0).text.contains(to));
    QVERIFY(m_ui->messages.isEmpty());

    QStringList stored;
    for (const QString &id : ids) {
        const COrder order = m_w->data().GetOrder(id).value_or(COrder{});
        stored.append(engineer ? order.OrderEngineerName : order.OrderPhoneType);
    }
    QCOMPARE(stored, expected);
    QCOMPARE(box->currentText(), to);
    QTRY_COMPARE_WITH_TIMEOUT(m_w->data().orderList().rowCount(), listedAfter, 2000);

    // The suggestions offer the new name from now on.
    box->refill();
    QVERIFY(items(box).contains(to));
    QVERIFY(!items(box).contains(from));
}

void TestGuiActions::renameRefused_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("promptResult");
    QTest::addColumn<int>("dialogResult");
    QTest::addColumn<int>("confirm");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<bool>("invalidMessage");
    QTest::addColumn<bool>("renamed");

    const QString prompt = QStringLiteral("TPasswordForm"),
                  rename = QStringLiteral("TOrderUpdateForm");
    const int ok = QDialog::Accepted, cancel = QDialog::Rejected;
    QTest::newRow("right password") << u"heslo"_s << u"heslo"_s << ok << ok << int(Answer::Ok)
                                    << QStringList{prompt, rename} << false << true;
    QTest::newRow("wrong password") << u"heslo"_s << u"hesl"_s << ok << ok << int(Answer::Ok)
                                    << QStringList{prompt} << true << false;
    QTest::newRow("prompt cancelled") << u"heslo"_s << u"heslo"_s << cancel << ok << int(Answer::Ok)
                                      << QStringList{prompt} << false << false;
    QTest::newRow("dialog cancelled") << QString() << QString() << ok << cancel << int(Answer::Ok)
                                      << QStringList{rename} << false << false;
    QTest::newRow("confirmation cancelled")
        << QString() << QString() << ok << ok << int(Answer::Cancel) << QStringList{rename} << false
        << false;
}

void TestGuiActions::renameRefused()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(int, promptResult);
    QFETCH(int, dialogResult);
    QFETCH(int, confirm);
    QFETCH(QStringList, dialogs);
    QFETCH(bool, invalidMessage);
    QFETCH(bool, renamed);

    Wanted wanted;
    wanted.engineer = QStringLiteral("Petr");
    const QString id = addOrder(wanted);
    m_w->data().config().SetPassword(password);
    startWindow();
    m_w->OrderEngineerComboBoxFilter->setEditText(QStringLiteral("Petr"));

    if (!password.isEmpty())
        m_ui->dialogHandlers.push_back(typePassword(typed, promptResult));
    m_ui->dialogHandlers.push_back([dialogResult](QDialog &dialog) {
        if (auto *editTo = dialog.findChild<QLineEdit *>(QStringLiteral("EditTo")))
            editTo->setText(QStringLiteral("Pavel"));
        return dialogResult;
    });
    m_ui->answers.push_back(Answer(confirm));
    m_w->ActionOrderEngineerUpdate->trigger();

    QCOMPARE(m_ui->dialogsShown, dialogs);
    QCOMPARE(m_ui->messageTexts(),
             invalidMessage ? QStringList{rpxText("Rpx2.InvalidPassword")} : QStringList());
    QCOMPARE(m_w->data().GetOrder(id)->OrderEngineerName,
             renamed ? QStringLiteral("Pavel") : QStringLiteral("Petr"));
    QCOMPARE(m_w->OrderEngineerComboBoxFilter->currentText(),
             renamed ? QStringLiteral("Pavel") : QStringLiteral("Petr"));
}

// ----------------------------------------------------------------------------------------
// Suggestion lists

void TestGuiActions::suggestionSources_data()
{
    QTest::addColumn<int>("lmEngineer");
    QTest::addColumn<int>("lmPhone");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QStringList>("notOffered");

    const QString known = QStringLiteral("Google Pixel 7"); // one of the known device types
    QTest::newRow("engineer box, list as filter")
        << 0 << 0 << u"OrderEngineerComboBox"_s << QStringList{u"Petr"_s}
        << QStringList{u"Jana"_s, u"Karel"_s};
    QTest::newRow("engineer box, list as offer")
        << 1 << 0 << u"OrderEngineerComboBox"_s << QStringList{u"Jana"_s, u"Karel"_s}
        << QStringList{u"Petr"_s};
    QTest::newRow("engineer filter box, list as filter")
        << 0 << 0 << u"OrderEngineerComboBoxFilter"_s << QStringList{u"Petr"_s}
        << QStringList{u"Jana"_s, u"Karel"_s};
    QTest::newRow("engineer filter box, list as offer")
        << 1 << 0 << u"OrderEngineerComboBoxFilter"_s << QStringList{u"Petr"_s}
        << QStringList{u"Jana"_s, u"Karel"_s};
    QTest::newRow("device box, list as filter")
        << 0 << 0 << u"OrderPhoneTypeComboBox"_s << QStringList{u"Siemens C35"_s, known}
        << QStringList{u"Nokia 3310"_s, u"Jen Seznam Z"_s};
    QTest::newRow("device box, list as offer")
        << 0 << 1 << u"OrderPhoneTypeComboBox"_s
        << QStringList{known, u"Nokia 3310"_s, u"Jen Seznam Z"_s} << QStringList{u"Siemens C35"_s};
    QTest::newRow("device filter box, list as filter")
        << 0 << 0 << u"OrderPhoneTypeComboBoxFilter"_s << QStringList{u"Siemens C35"_s, known}
        << QStringList{u"Nokia 3310"_s, u"Jen Seznam Z"_s};
    QTest::newRow("device filter box, list as offer")
        << 0 << 1 << u"OrderPhoneTypeComboBoxFilter"_s
        << QStringList{known, u"Nokia 3310"_s, u"Jen Seznam Z"_s} << QStringList{u"Siemens C35"_s};
    QTest::newRow("battery box") << 1 << 1 << u"OrderBatteryTypeComboBox"_s
                                 << QStringList{u"Li-ion"_s, u"NiMH"_s} << QStringList{};
}

void TestGuiActions::suggestionSources()
{
    QFETCH(int, lmEngineer);
    QFETCH(int, lmPhone);
    QFETCH(QString, box);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, notOffered);

    const QStringList engineers{u"Petr"_s, u"Jana"_s, u"   "_s, u"Petr"_s};
    const QStringList phones{u"Siemens C35"_s, u"Nokia 3310"_s, u"  "_s, u"Siemens C35"_s};
    const QStringList batteries{u"Li-ion"_s, u" "_s, u"NiMH"_s, u"Li-ion"_s};
    for (int i = 0; i < engineers.size(); ++i) {
        Wanted wanted;
        wanted.engineer = engineers.at(i);
        wanted.phoneType = phones.at(i);
        wanted.battery = batteries.at(i);
        addOrder(wanted);
    }
    addListRow(false, 1, QStringLiteral("Jana"));
    addListRow(false, 2, QStringLiteral("Karel"));
    addListRow(false, 3, QStringLiteral("  "));
    addListRow(true, 1, QStringLiteral("Nokia 3310"));
    addListRow(true, 2, QStringLiteral("Jen Seznam Z"));
    addListRow(true, 3, QStringLiteral(" "));
    m_w->data().config().SetLMEngineer(lmEngineer);
    m_w->data().config().SetLMPhone(lmPhone);
    startWindow();

    auto *combo = m_w->findChild<SuggestComboBox *>(box);
    QVERIFY(combo);
    combo->refill();
    const QStringList list = items(combo);
    for (const QString &name : offered)
        QVERIFY2(list.contains(name),
                 qPrintable(name + QStringLiteral(" missing in ") + list.join(u'|')));
    for (const QString &name : notOffered)
        QVERIFY2(!list.contains(name),
                 qPrintable(name + QStringLiteral(" offered in ") + list.join(u'|')));
    for (const QString &entry : list)
        QVERIFY2(!entry.trimmed().isEmpty() && entry == entry.trimmed(),
                 qPrintable(list.join(u'|')));
    QCOMPARE(QSet<QString>(list.begin(), list.end()).size(), list.size());
    if (box == QLatin1String("OrderEngineerComboBox") && lmEngineer == 1)
        QCOMPARE(list, (QStringList{u"Jana"_s, u"Karel"_s}));
}

void TestGuiActions::orderBoxReselectsIgnoringCase_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("freeTyping");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("selected"); // empty: no entry selected

    QTest::newRow("engineer typed") << u"OrderEngineerComboBox"_s << true << u"jANA"_s << u"Jana"_s;
    QTest::newRow("engineer picked")
        << u"OrderEngineerComboBox"_s << false << u"JANA"_s << u"Jana"_s;
    QTest::newRow("engineer unknown")
        << u"OrderEngineerComboBox"_s << true << u"Zdeněk"_s << QString();
    QTest::newRow("device typed") << u"OrderPhoneTypeComboBox"_s << true << u"google pixel 7"_s
                                  << u"Google Pixel 7"_s;
    QTest::newRow("device picked")
        << u"OrderPhoneTypeComboBox"_s << false << u"GOOGLE PIXEL 7"_s << u"Google Pixel 7"_s;
    QTest::newRow("battery") << u"OrderBatteryTypeComboBox"_s << true << u"LI-ION"_s << u"Li-ion"_s;
}

void TestGuiActions::orderBoxReselectsIgnoringCase()
{
    QFETCH(QString, box);
    QFETCH(bool, freeTyping);
    QFETCH(QString, shown);
    QFETCH(QString, selected);

    Wanted wanted;
    wanted.battery = QStringLiteral("Li-ion");
    addOrder(wanted);
    addListRow(false, 1, QStringLiteral("Jana"));
    m_w->data().config().SetLMEngineer(1);
    startWindow();
    m_w->ActionOrderNew->trigger();

    auto *combo = m_w->findChild<SuggestComboBox *>(box);
    QVERIFY(combo);
    combo->setFreeTyping(freeTyping);
    if (freeTyping)
        combo->setEditText(shown);
    else
        combo->setSingleEntry(shown);
    combo->refill();

    QVERIFY(combo->count() > 0);
    if (selected.isEmpty()) {
        QCOMPARE(combo->currentIndex(), -1);
    } else {
        QVERIFY(combo->currentIndex() >= 0);
        QCOMPARE(combo->itemText(combo->currentIndex()), selected);
        QCOMPARE(combo->value(), selected);
    }
}

void TestGuiActions::leavingUnknownDeviceType_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("focusBack");
    QTest::addColumn<QString>("kept");

    QTest::newRow("unknown, No") << true << u"Neznamy XY"_s << int(Answer::No) << true << true
                                 << u"Neznamy XY"_s;
    QTest::newRow("unknown, Yes") << true << u"Neznamy XY"_s << int(Answer::Yes) << true << false
                                  << u"Neznamy XY"_s;
    QTest::newRow("known, other case")
        << true << u"google pixel 7"_s << int(Answer::No) << false << false << u"Google Pixel 7"_s;
    QTest::newRow("browsing") << false << u"Neznamy XY"_s << int(Answer::No) << false << false
                              << u"Neznamy XY"_s;
}

void TestGuiActions::leavingUnknownDeviceType()
{
    QFETCH(bool, inserting);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, focusBack);
    QFETCH(QString, kept);

    Wanted wanted;
    wanted.phoneType = QStringLiteral("Neznamy XY");
    if (!inserting)
        addOrder(wanted);
    startWindow();
    QApplication::setActiveWindow(m_w.get());
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    if (inserting)
        m_w->ActionOrderNew->trigger();
    SuggestComboBox *box = m_w->OrderPhoneTypeComboBox;
    QVERIFY(box->isEditable()); // a new database allows typing device types
    QVERIFY(box->isEnabled());

    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    if (inserting)
        box->setEditText(typed);
    m_ui->answers.push_back(Answer(answer));
    m_w->OrderPhoneIMEIEdit->setFocus();
    QTest::qWait(20);

    QCOMPARE(m_ui->questions.size(), asked ? 1 : 0);
    if (asked)
        QCOMPARE(m_ui->questions.at(0).text, rpxText("Rpx2.DeviceNotExist"));
    QCOMPARE(box->value(), kept);
    if (focusBack)
        QTRY_VERIFY(box->hasFocus());
    else
        QVERIFY(m_w->OrderPhoneIMEIEdit->hasFocus());
    QCOMPARE(m_w->orderFormState(),
             inserting ? TRpx2Form::OrderFormState::Insert : TRpx2Form::OrderFormState::Browse);
}

void TestGuiActions::accessoryTickBoxesEmptyAndRestore_data()
{
    QTest::addColumn<QString>("tickBox");
    QTest::addColumn<QString>("typeBox");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("device") << u"OrderPhoneCheckBox"_s << u"OrderPhoneTypeComboBox"_s
                            << u"OrderPhoneIMEIEdit"_s << u"Nokia 3310"_s << u"356938035643809"_s;
    QTest::newRow("battery") << u"OrderBatteryCheckBox"_s << u"OrderBatteryTypeComboBox"_s
                             << u"OrderBatterySNEdit"_s << u"BL-5C"_s << u"SN-0042"_s;
}

void TestGuiActions::accessoryTickBoxesEmptyAndRestore()
{
    QFETCH(QString, tickBox);
    QFETCH(QString, typeBox);
    QFETCH(QString, edit);
    QFETCH(QString, type);
    QFETCH(QString, text);

    Wanted wanted;
    wanted.phoneType = QStringLiteral("Nokia 3310");
    wanted.imei = QStringLiteral("356938035643809");
    wanted.battery = QStringLiteral("BL-5C");
    wanted.batterySN = QStringLiteral("SN-0042");
    const QString id = addOrder(wanted);
    startWindow();
    const COrder before = *m_w->data().GetOrder(id);

    auto *tick = m_w->findChild<QCheckBox *>(tickBox);
    auto *combo = m_w->findChild<SuggestComboBox *>(typeBox);
    auto *line = m_w->findChild<QLineEdit *>(edit);
    QVERIFY(tick && combo && line);
    QCOMPARE(combo->value(), type);
    QCOMPARE(line->text(), text);

    tick->click();
    QVERIFY(!tick->isChecked());
    QVERIFY(combo->value().isEmpty());
    QVERIFY(line->text().isEmpty());
    QVERIFY(!combo->isEnabled());
    QVERIFY(!line->isEnabled());
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Edit);

    tick->click();
    QVERIFY(tick->isChecked());
    QCOMPARE(combo->value(), type);
    QCOMPARE(line->text(), text);
    QVERIFY(combo->isEnabled());
    QVERIFY(line->isEnabled());

    m_w->ActionOrderStore->trigger();
    QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    const COrder after = *m_w->data().GetOrder(id);
    QCOMPARE(after.OrderPhoneType, before.OrderPhoneType);
    QCOMPARE(after.OrderPhoneIMEI, before.OrderPhoneIMEI);
    QCOMPARE(after.OrderBatteryType, before.OrderBatteryType);
    QCOMPARE(after.OrderBatterySN, before.OrderBatterySN);
    QCOMPARE(after.OrderPhone, true);
    QCOMPARE(after.OrderBattery, true);

    // Unticked and stored, the order keeps neither the flag nor the texts.
    tick->click();
    m_w->ActionOrderStore->trigger();
    const COrder unticked = *m_w->data().GetOrder(id);
    const bool device = tickBox == QLatin1String("OrderPhoneCheckBox");
    QCOMPARE(device ? unticked.OrderPhone : unticked.OrderBattery, false);
    QVERIFY((device ? unticked.OrderPhoneType : unticked.OrderBatteryType).isEmpty());
    QVERIFY((device ? unticked.OrderPhoneIMEI : unticked.OrderBatterySN).isEmpty());
}

void TestGuiActions::freeTypingFollowsListsDialog_data()
{
    QTest::addColumn<bool>("engineerFree");
    QTest::addColumn<bool>("phoneFree");
    QTest::addColumn<bool>("accept");

    QTest::newRow("both pick only") << false << false << true;
    QTest::newRow("engineer free") << true << false << true;
    QTest::newRow("device free") << false << true << true;
    QTest::newRow("cancelled") << false << false << false;
}

void TestGuiActions::freeTypingFollowsListsDialog()
{
    QFETCH(bool, engineerFree);
    QFETCH(bool, phoneFree);
    QFETCH(bool, accept);

    Wanted wanted;
    wanted.engineer = QStringLiteral("Petr");
    wanted.phoneType = QStringLiteral("Nokia 3310");
    addOrder(wanted);
    startWindow();
    QVERIFY(m_w->OrderEngineerComboBox->isEditable());
    QVERIFY(m_w->OrderPhoneTypeComboBox->isEditable());

    m_ui->dialogHandlers.push_back([&](QDialog &dialog) {
        auto *engineer = dialog.findChild<QCheckBox *>(QStringLiteral("EngineerFullEditCheckBox"));
        auto *phone = dialog.findChild<QCheckBox *>(QStringLiteral("PhoneFullEditCheckBox"));
        auto *button = dialog.findChild<QAbstractButton *>(accept ? QStringLiteral("ButtonOk")
                                                                  : QStringLiteral("ButtonCancel"));
        if (!engineer || !phone || !button)
            return int(QDialog::Rejected);
        engineer->setChecked(engineerFree);
        phone->setChecked(phoneFree);
        button->click();
        return dialog.result();
    });
    m_w->ActionFilters->trigger();

    QCOMPARE(m_ui->dialogsShown, QStringList{QStringLiteral("TFiltersForm")});
    QCOMPARE(m_w->OrderEngineerComboBox->isEditable(), accept ? engineerFree : true);
    QCOMPARE(m_w->OrderPhoneTypeComboBox->isEditable(), accept ? phoneFree : true);
    // The shown order keeps its values whichever way the boxes changed.
    QCOMPARE(m_w->OrderEngineerComboBox->value(), QStringLiteral("Petr"));
    QCOMPARE(m_w->OrderPhoneTypeComboBox->value(), QStringLiteral("Nokia 3310"));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
}

// ----------------------------------------------------------------------------------------
// Repair photos

void TestGuiActions::photoAssignedToStoredOrder()
{
    const QString id = addOrder(QStringLiteral("Novák"));
    startWindow();
    QVERIFY(!QFileInfo::exists(AppPaths::photoDir()));
    QVERIFY(photoMenuOffers("ActionOrderImageLoad"));
    QVERIFY(!photoMenuOffers("ActionOrderImageShow"));
    QVERIFY(!photoMenuOffers("ActionOrderImageClear"));
    const QImage noPhoto = m_w->OrderRepairImage->icon().pixmap(22, 22).toImage();

    const QString name = id + QStringLiteral("-IMG_0001.JPG");
    m_ui->fileNames.push_back(
        sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0001.JPG"), "first"));
    m_w->ActionOrderImageLoad->trigger();

    QVERIFY(m_ui->messages.isEmpty());
    QCOMPARE(contents(photoPath(name)), QByteArray("first"));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Edit);
    QVERIFY(photoMenuOffers("ActionOrderImageShow"));
    QVERIFY(photoMenuOffers("ActionOrderImageClear"));
    QVERIFY(photoMenuOffers("ActionOrderImagePrint"));
    QVERIFY(m_w->OrderRepairImage->icon().pixmap(22, 22).toImage() != noPhoto);
    QVERIFY(storedPhoto(id).isEmpty()); // not before the order is stored

    // The same file again replaces the copy without asking.
    sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0001.JPG"), "second");
    m_ui->fileNames.push_back(m_camera->filePath(QStringLiteral("dcim/IMG_0001.JPG")));
    m_w->ActionOrderImageLoad->trigger();
    QVERIFY(m_ui->questions.isEmpty());
    QVERIFY(m_ui->messages.isEmpty());
    QCOMPARE(contents(photoPath(name)), QByteArray("second"));

    m_w->ActionOrderStore->trigger();
    QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    QCOMPARE(storedPhoto(id), name);
    QVERIFY(photoMenuOffers("ActionOrderImageShow"));
    QCOMPARE(QDir(AppPaths::photoDir()).entryList(QDir::Files), QStringList{name});
}

void TestGuiActions::photoOfNewOrderCopiedWhenStored()
{
    addOrder(QStringLiteral("Svoboda"));
    startWindow();
    QStringList ids;
    const QList<QByteArray> pictures{"from the first phone", "from the second phone"};
    for (int i = 0; i < 2; ++i) {
        m_w->ActionOrderNew->trigger();
        m_w->OrderCustomerNameEdit->setText(QStringLiteral("Zákazník %1").arg(i));
        const QString source = sourcePhoto(QStringLiteral("card%1").arg(i),
                                           QStringLiteral("IMG_0001.JPG"), pictures.at(i));
        m_ui->fileNames.push_back(source);
        m_w->ActionOrderImageLoad->trigger();

        QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Insert);
        QVERIFY(photoMenuOffers("ActionOrderImageShow"));
        // Nothing is copied while the order has no number.
        QCOMPARE(QDir(AppPaths::photoDir()).entryList(QDir::Files).size(), i);
        m_w->ActionOrderImageShow->trigger();
        QCOMPARE(m_ui->openedUrls.value(i), QUrl::fromLocalFile(source));

        m_w->ActionOrderStore->trigger();
        QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
        const QString id = m_w->OrderIDEdit->text();
        QVERIFY(!id.isEmpty());
        ids.append(id);
        QCOMPARE(storedPhoto(id), id + QStringLiteral("-IMG_0001.JPG"));
        QVERIFY(photoMenuOffers("ActionOrderImageShow"));
    }
    QVERIFY(ids.at(0) != ids.at(1));
    QCOMPARE(contents(photoPath(ids.at(0) + QStringLiteral("-IMG_0001.JPG"))), pictures.at(0));
    QCOMPARE(contents(photoPath(ids.at(1) + QStringLiteral("-IMG_0001.JPG"))), pictures.at(1));
    QCOMPARE(QDir(AppPaths::photoDir()).entryList(QDir::Files).size(), 2);
}

void TestGuiActions::photoOfCancelledNewOrderNotCopied()
{
    addOrder(QStringLiteral("Svoboda"));
    startWindow();
    m_w->ActionOrderNew->trigger();
    m_ui->fileNames.push_back(
        sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0002.JPG"), "x"));
    m_w->ActionOrderImageLoad->trigger();
    m_w->ActionOrderCancel->trigger();

    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    QVERIFY(!photoMenuOffers("ActionOrderImageShow"));
    QVERIFY(QDir(AppPaths::photoDir()).entryList(QDir::Files).isEmpty());

    // Stored afterwards with another order, the cancelled photo does not come along.
    m_w->ActionOrderNew->trigger();
    m_w->OrderCustomerNameEdit->setText(QStringLiteral("Bez fotky"));
    m_w->ActionOrderStore->trigger();
    QVERIFY(storedPhoto(m_w->OrderIDEdit->text()).isEmpty());
    QVERIFY(QDir(AppPaths::photoDir()).entryList(QDir::Files).isEmpty());
}

void TestGuiActions::photoRemovedKeepsFile()
{
    const QString id = addOrder(QStringLiteral("Novák"));
    startWindow();
    m_ui->fileNames.push_back(
        sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0003.JPG"), "y"));
    m_w->ActionOrderImageLoad->trigger();
    m_w->ActionOrderStore->trigger();
    const QString name = storedPhoto(id);
    QCOMPARE(name, id + QStringLiteral("-IMG_0003.JPG"));

    m_w->ActionOrderImageClear->trigger();
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Edit);
    QVERIFY(!photoMenuOffers("ActionOrderImageShow"));
    QVERIFY(photoMenuOffers("ActionOrderImageLoad"));
    QCOMPARE(storedPhoto(id), name); // until stored

    m_w->ActionOrderStore->trigger();
    QVERIFY(storedPhoto(id).isEmpty());
    QVERIFY(QFileInfo::exists(photoPath(name)));
}

void TestGuiActions::photoCopyFailureShown_data()
{
    QTest::addColumn<bool>("newOrder");
    QTest::addColumn<bool>("folderOccupied");

    QTest::newRow("shown order, folder path is a file") << false << true;
    QTest::newRow("shown order, source gone") << false << false;
    QTest::newRow("new order, folder path is a file") << true << true;
    QTest::newRow("new order, source gone") << true << false;
}

void TestGuiActions::photoCopyFailureShown()
{
    QFETCH(bool, newOrder);
    QFETCH(bool, folderOccupied);

    const QString id = addOrder(QStringLiteral("Novák"));
    startWindow();
    if (folderOccupied) {
        QFile blocker(AppPaths::photoDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    const QString source = sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0004.JPG"), "z");
    m_ui->fileNames.push_back(source);
    if (newOrder) {
        m_w->ActionOrderNew->trigger();
        m_w->OrderCustomerNameEdit->setText(QStringLiteral("Nový"));
        m_w->ActionOrderImageLoad->trigger();
        if (!folderOccupied)
            QVERIFY(QFile::remove(source));
        QVERIFY(m_ui->messages.isEmpty());
        m_w->ActionOrderStore->trigger();
    } else {
        if (!folderOccupied)
            QVERIFY(QFile::remove(source));
        m_w->ActionOrderImageLoad->trigger();
    }

    QCOMPARE(m_ui->messages.size(), 1);
    QCOMPARE(m_ui->messages.at(0).title, rpxText("Rpx2.CantSaveFile"));
    QVERIFY(!m_ui->messages.at(0).text.trimmed().isEmpty());
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
    if (newOrder) {
        // The order itself is stored, without the photo.
        const QString stored = m_w->OrderIDEdit->text();
        QVERIFY(stored != id && !stored.isEmpty());
        QVERIFY(storedPhoto(stored).isEmpty());
    } else {
        QCOMPARE(m_w->OrderIDEdit->text(), id);
    }
    QVERIFY(!photoMenuOffers("ActionOrderImageShow"));
}

void TestGuiActions::photoFailedReplaceKeepsOldCopy()
{
    const QString id = addOrder(QStringLiteral("Novák"));
    startWindow();
    const QString source =
        sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0005.JPG"), "kept");
    m_ui->fileNames.push_back(source);
    m_w->ActionOrderImageLoad->trigger();
    m_w->ActionOrderStore->trigger();
    const QString name = id + QStringLiteral("-IMG_0005.JPG");
    QCOMPARE(storedPhoto(id), name);

    // A later choice of a same-named file that cannot be read leaves the stored photo whole.
    QVERIFY(QFile::remove(source));
    m_ui->fileNames.push_back(source);
    m_w->ActionOrderImageLoad->trigger();
    QCOMPARE(m_ui->messages.size(), 1);
    QCOMPARE(m_ui->messages.at(0).title, rpxText("Rpx2.CantSaveFile"));
    QCOMPARE(contents(photoPath(name)), QByteArray("kept"));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);
}

void TestGuiActions::photoShownThroughDesktop()
{
    const QString withPhoto = addOrder(QStringLiteral("Novák"));
    startWindow();
    m_ui->fileNames.push_back(
        sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0006.JPG"), "p"));
    m_w->ActionOrderImageLoad->trigger();
    m_w->ActionOrderStore->trigger();
    const QUrl expected =
        QUrl::fromLocalFile(photoPath(withPhoto + QStringLiteral("-IMG_0006.JPG")));

    m_w->ActionOrderImageShow->trigger();
    QCOMPARE(m_ui->openedUrls, QList<QUrl>{expected});

    // A double click shows an assigned photo ...
    QTest::mouseDClick(m_w->OrderRepairImage, Qt::LeftButton);
    QCOMPARE(m_ui->openedUrls, (QList<QUrl>{expected, expected}));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Browse);

    // ... and asks for a file when there is none.
    m_w->ActionOrderImageClear->trigger();
    m_w->ActionOrderStore->trigger();
    m_ui->fileNames.push_back(
        sourcePhoto(QStringLiteral("dcim"), QStringLiteral("IMG_0007.JPG"), "q"));
    QTest::mouseDClick(m_w->OrderRepairImage, Qt::LeftButton);
    QVERIFY(m_ui->fileNames.empty());
    QCOMPARE(m_ui->openedUrls.size(), 2);
    QVERIFY(QFileInfo::exists(photoPath(withPhoto + QStringLiteral("-IMG_0007.JPG"))));
    QCOMPARE(m_w->orderFormState(), TRpx2Form::OrderFormState::Edit);
}

QTEST_MAIN(TestGuiActions)
#include "tst_gui_actions.moc"
