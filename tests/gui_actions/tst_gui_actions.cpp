// The main window's order actions (the password guard, delete, hold, clear, navigation, bulk
// rename), its suggestion boxes and accessory tick boxes, and the repair photos, driven through
// the window's actions and controls on the offscreen platform.

#include "fakeui.h"
#include "testshop.h"

#include "app/rpx2form.h"
#include "orders/suggestcombobox.h"

#include "config.h"
#include "orderlist.h"
#include "rpx2data.h"
#include "textformat.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
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
using State = TRpx2Form::OrderFormState;
using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2026, 3, 10), QTime(10, 30));

// A password prompt handler; an empty text cancels the prompt.
std::function<int(QDialog &)> typePassword(const QString &text)
{
    return [text](QDialog &dialog) {
        auto *edit = dialog.findChild<QLineEdit *>(u"PasswordEdit"_s);
        if (!edit || text.isEmpty())
            return int(QDialog::Rejected);
        edit->setText(text);
        return int(QDialog::Accepted);
    };
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString photoPath(const QString &name)
{
    return AppPaths::photoDir() + QLatin1Char('/') + name;
}

QStringList photoFiles()
{
    return QDir(AppPaths::photoDir()).entryList(QDir::Files);
}

QStringList items(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

} // namespace

// An order prepared directly in the database, with a customer of its own.
struct Wanted
{
    QString customer = u"Novák"_s;
    int state = OrderStates::InRepair;
    QString engineer, phoneType, battery, imei, batterySN;
    double finalPrice = 0.0;
};

class TestGuiActions : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_shop = std::make_unique<TestShop>();
        Clock::setFixed(Now);
        m_ui = std::make_unique<FakeUi>();
        m_camera = std::make_unique<QTemporaryDir>();
        m_w = std::make_unique<TRpx2Form>();
        QVERIFY(m_w->start());
        m_w->show();
    }

    void cleanup()
    {
        m_w.reset();
        m_ui.reset();
        m_camera.reset();
        m_shop.reset();
    }

    void passwordGuardsActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed"); // empty: the prompt is cancelled
        QTest::addColumn<int>("answer"); // to the question before deleting or renaming
        QTest::addColumn<bool>("done");
        QTest::addColumn<bool>("refused"); // "Rpx2.InvalidPassword" shown

        const QString del = u"ActionOrderDelete"_s, change = u"ActionOrderChange"_s,
                      rename = u"ActionOrderEngineerUpdate"_s, pw = u"Tajné1"_s, none;
        const int yes = int(Answer::Yes), ok = int(Answer::Ok);
        QTest::newRow("delete, no password") << del << none << none << yes << true << false;
        QTest::newRow("delete, answered No")
            << del << none << none << int(Answer::No) << false << false;
        QTest::newRow("delete, right password") << del << pw << pw << yes << true << false;
        QTest::newRow("delete, other letter case")
            << del << pw << u"tajné1"_s << yes << false << true;
        QTest::newRow("delete, prompt cancelled") << del << pw << none << yes << false << false;
        QTest::newRow("change, right password") << change << pw << pw << yes << true << false;
        QTest::newRow("change, wrong password") << change << pw << u"xyz"_s << yes << false << true;
        QTest::newRow("rename, right password") << rename << pw << pw << ok << true << false;
        QTest::newRow("rename, wrong password")
            << rename << pw << u"Tajné"_s << ok << false << true;
    }

    void passwordGuardsActions()
    {
        QFETCH(QString, action);
        QFETCH(QString, password);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(bool, done);
        QFETCH(bool, refused);

        addOrder(
            { .customer = u"Svoboda"_s, .state = OrderStates::HandedBack, .engineer = u"Petr"_s });
        const QString shown = addOrder({ .state = OrderStates::HandedBack, .engineer = u"Petr"_s });
        m_w->data().config().SetDeleteOrder(true);
        m_w->data().config().SetPassword(password);
        startWindow();
        QCOMPARE(m_w->OrderIDEdit->text(), shown);
        m_w->OrderEngineerComboBoxFilter->setEditText(u"Petr"_s);
        QTRY_VERIFY(!m_w->Timer->isActive());

        if (!password.isEmpty())
            m_ui->dialogHandlers.push_back(typePassword(typed));
        m_ui->dialogHandlers.push_back([](QDialog &dialog) { // the rename dialog
            if (auto *editTo = dialog.findChild<QLineEdit *>(u"EditTo"_s))
                editTo->setText(u"Pavel"_s);
            return int(QDialog::Accepted);
        });
        m_ui->answers.push_back(Answer(answer));
        m_w->findChild<QAction *>(action)->trigger();

        QCOMPARE(m_ui->messageTexts(),
                 refused ? QStringList { rpxText("Rpx2.InvalidPassword") } : QStringList());
        if (action == u"ActionOrderDelete"_s) {
            QCOMPARE(m_w->data().GetOrder(shown).has_value(), !done);
            QCOMPARE(m_w->data().orderList().rowCount(), done ? 1 : 2);
            QCOMPARE(m_w->OrderIDEdit->text(), m_w->data().orderList().currentOrderId());
            if (!m_ui->questions.isEmpty())
                QCOMPARE(m_ui->questions[0].text, rpxText("Rpx2.OrderDeleteConfirm"));
        } else if (action == u"ActionOrderChange"_s) {
            QCOMPARE(m_w->orderFormState(), done ? State::Edit : State::Browse);
            QCOMPARE(m_w->OrderIssuePriceEdit->isEnabled(), done);
        } else {
            QCOMPARE(m_w->data().GetOrder(shown)->OrderEngineerName, done ? u"Pavel"_s : u"Petr"_s);
        }
    }

    void deleteShowsFollowingRow_data()
    {
        QTest::addColumn<int>("orders");
        QTest::addColumn<int>("row");
        // The row (before the delete) of the order shown afterwards; -1: none is left.
        QTest::addColumn<int>("shownRow");

        QTest::newRow("first") << 4 << 0 << 1;
        QTest::newRow("middle") << 4 << 1 << 2;
        QTest::newRow("last") << 4 << 3 << 2;
        QTest::newRow("only") << 1 << 0 << -1;
    }

    void deleteShowsFollowingRow()
    {
        QFETCH(int, orders);
        QFETCH(int, row);
        QFETCH(int, shownRow);

        for (int i = 0; i < orders; ++i)
            addOrder({ .customer = u"Zákazník %1"_s.arg(i) });
        m_w->data().config().SetDeleteOrder(true);
        startWindow();
        OrderList &list = m_w->data().orderList();
        QVERIFY(list.moveTo(row) || row == 0);
        const QString expected = shownRow < 0 ? QString() : list.orderIdAt(shownRow);
        const QString customer = shownRow < 0 ? QString() : list.customerNameAt(shownRow);

        m_w->ActionOrderDelete->trigger();

        QCOMPARE(list.rowCount(), orders - 1);
        QCOMPARE(m_w->OrderIDEdit->text(), expected);
        QCOMPARE(m_w->OrderCustomerNameEdit->text(), customer);
        QCOMPARE(m_w->orderFormState(), State::Browse);
        QVERIFY(m_ui->messages.isEmpty());
        if (shownRow < 0) {
            QVERIFY(!m_w->ActionOrderDelete->isEnabled() && m_w->ActionOrderNew->isEnabled());
            return;
        }
        QCOMPARE(list.currentOrderId(), expected);
        QCOMPARE(m_w->StatusPanel0->text(),
                 formatText(rpxText("Rpx2.OrderSelectedCount"), { list.currentRow() + 1, 3 }));
        QCOMPARE(m_w->ActionOrderNext->isEnabled(), !list.isLast());
    }

    void deleteRefreshesCountsAndTotals()
    {
        const QString cheap = addOrder({ .state = OrderStates::HandedBack, .finalPrice = 100 });
        const QString expensive = addOrder({ .state = OrderStates::HandedBack, .finalPrice = 250 });
        addOrder({ .customer = u"Svoboda"_s });
        m_w->data().config().SetDeleteOrder(true);
        startWindow();
        QCOMPARE(m_w->StatusPanel1->text(), u"V opravě: 1; Vydaná: 2"_s);
        QCOMPARE(m_w->OrderSumValueLabel->text(), u"350.00"_s);
        QCOMPARE(m_w->OrderSumTodayValueLabel->text(), u"350.00"_s);

        OrderList &list = m_w->data().orderList();
        QVERIFY(list.moveTo(list.rowOf(expensive)));
        m_w->ActionOrderDelete->trigger();
        QCOMPARE(m_w->StatusPanel1->text(), u"V opravě: 1; Vydaná: 1"_s);
        QCOMPARE(m_w->OrderSumValueLabel->text(), u"100.00"_s);
        QCOMPARE(m_w->OrderSumTodayValueLabel->text(), u"100.00"_s);

        // The order shown now was removed at another counter meanwhile: reported, list reopened.
        QCOMPARE(m_w->OrderIDEdit->text(), cheap);
        QVERIFY(m_w->data().DeleteOrder(cheap));
        m_w->ActionOrderDelete->trigger();
        QCOMPARE(m_ui->messageTexts(),
                 QStringList { u"CHYBA: Zakázku se nepodařilo odstranit."_s });
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(m_w->OrderIDEdit->text(), list.currentOrderId());
    }

    void holdTogglesAndNarrowsList_data()
    {
        QTest::addColumn<bool>("noFilter");
        QTest::newRow("filtering") << false;
        QTest::newRow("no filter") << true;
    }

    void holdTogglesAndNarrowsList()
    {
        QFETCH(bool, noFilter);
        addOrder({ .customer = u"Dvořák"_s });
        addOrder({ .customer = u"Svoboda"_s });
        const QString held = addOrder({ .customer = u"Dvořák"_s });
        startWindow();
        m_w->NoFilterCheckBox->setChecked(noFilter);
        auto labelShows = [this](int count) {
            return m_w->OrderHoldCountLabel->text()
                == formatText(rpxText("Rpx2.OrderHoldCount"), { count })
                && m_w->OrderHoldCountLabel->font().bold() == (count > 0);
        };
        QVERIFY(labelShows(0));

        // Held: the list narrows to the customer's orders half a second later, unless "no filter".
        m_w->ActionOrderHold->trigger();
        QCOMPARE(m_w->heldOrders(), QStringList { held });
        QVERIFY(labelShows(1));
        QCOMPARE(m_w->CustomerNameEditFilter->text(), noFilter ? QString() : u"Dvořák"_s);
        QCOMPARE(m_w->data().orderList().rowCount(), 3);
        QTest::qWait(700);
        QCOMPARE(m_w->data().orderList().rowCount(), noFilter ? 3 : 2);
        QCOMPARE(m_w->OrderIDEdit->text(), held);

        // Held again: released. Two orders held, then cleared.
        m_w->ActionOrderHold->trigger();
        QVERIFY(m_w->heldOrders().isEmpty());
        QVERIFY(labelShows(0));
        m_w->ActionOrderHold->trigger();
        m_w->ActionOrderNext->trigger();
        m_w->ActionOrderHold->trigger();
        QCOMPARE(m_w->heldOrders().size(), 2);
        QVERIFY(labelShows(2));
        m_w->ActionOrderClear->trigger();
        QVERIFY(m_w->heldOrders().isEmpty());
        QVERIFY(labelShows(0));
    }

    void holdStoresNewOrderFirst()
    {
        addOrder({ .customer = u"Svoboda"_s });
        startWindow();
        m_w->NoFilterCheckBox->setChecked(true);

        m_w->ActionOrderNew->trigger();
        m_w->ActionOrderHold->trigger();
        QCOMPARE(m_ui->messageTexts(), QStringList { rpxText("Rpx2.CustomerNotFilled") });
        QVERIFY(m_w->heldOrders().isEmpty());
        QCOMPARE(m_w->orderFormState(), State::Insert);

        m_w->OrderCustomerNameEdit->setText(u"Nová Zákaznice"_s);
        m_w->ActionOrderHold->trigger();
        QCOMPARE(m_w->data().GetOrderCount(), 2);
        QCOMPARE(m_w->orderFormState(), State::Browse);
        QCOMPARE(m_w->heldOrders(), QStringList { m_w->OrderIDEdit->text() });
    }

    void navigationRefusedWhileEditing()
    {
        QStringList ids;
        for (int i = 0; i < 3; ++i)
            ids.prepend(addOrder({ .customer = u"Zákazník %1"_s.arg(i) }));
        startWindow();
        auto enabled = [this] {
            return QList<bool> { m_w->ActionOrderFirst->isEnabled(),
                                 m_w->ActionOrderPrevious->isEnabled(),
                                 m_w->ActionOrderNext->isEnabled(),
                                 m_w->ActionOrderLast->isEnabled() };
        };
        QCOMPARE(enabled(), (QList<bool> { false, false, true, true }));
        m_w->ActionOrderLast->trigger();
        QCOMPARE(m_w->OrderIDEdit->text(), ids.at(2));
        QCOMPARE(enabled(), (QList<bool> { true, true, false, false }));
        m_w->ActionOrderPrevious->trigger();
        QCOMPARE(m_w->OrderIDEdit->text(), ids.at(1));
        QCOMPARE(enabled(), (QList<bool> { true, true, true, true }));

        // While the order is being changed, neither the actions nor a click into the list leave it.
        m_w->OrderNoteMemo->setPlainText(u"rozpracováno"_s);
        QCOMPARE(enabled(), (QList<bool> { false, false, false, false }));
        QVERIFY(!m_w->data().orderList().next());
        QTableView *grid = m_w->OrderListDBGrid;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(2, 0)).center());
        QCOMPARE(m_w->data().orderList().currentRow(), 1);
        QCOMPARE(m_w->OrderIDEdit->text(), ids.at(1));
        QCOMPARE(m_w->OrderNoteMemo->toPlainText(), u"rozpracováno"_s);

        m_w->ActionOrderCancel->trigger();
        m_w->ActionOrderFirst->trigger();
        QCOMPARE(m_w->OrderIDEdit->text(), ids.at(0));
        QCOMPARE(m_w->OrderCustomerNameEdit->text(), u"Zákazník 2"_s);
    }

    void renameFromFilterBoxMenu_data()
    {
        QTest::addColumn<bool>("engineer");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("expected");

        // Only the exact value changes, in handed-back orders too; the rules of the rename itself
        // are tested with the rename dialog.
        QTest::newRow("engineer") << true << QStringList { u"Petr"_s, u"Petra"_s, u"Petr"_s }
                                  << u"D'Arcy"_s
                                  << QStringList { u"D'Arcy"_s, u"Petra"_s, u"D'Arcy"_s };
        QTest::newRow("device type") << false << QStringList { u"Petr"_s, u"Petr 2"_s }
                                     << u"Petr 3"_s << QStringList { u"Petr 3"_s, u"Petr 2"_s };
    }

    void renameFromFilterBoxMenu()
    {
        QFETCH(bool, engineer);
        QFETCH(QStringList, values);
        QFETCH(QString, to);
        QFETCH(QStringList, expected);

        QStringList ids;
        for (int i = 0; i < values.size(); ++i) {
            Wanted wanted { .state = i % 2 ? OrderStates::HandedBack : OrderStates::InRepair };
            (engineer ? wanted.engineer : wanted.phoneType) = values.at(i);
            ids.append(addOrder(wanted));
        }
        startWindow();
        SuggestComboBox *box
            = engineer ? m_w->OrderEngineerComboBoxFilter : m_w->OrderPhoneTypeComboBoxFilter;
        QAction *action = engineer ? m_w->ActionOrderEngineerUpdate : m_w->ActionOrderPhoneUpdate;
        QVERIFY(box->actions().contains(action)); // the box's pop-up menu
        box->setEditText(u"Petr"_s);
        QTRY_VERIFY(!m_w->Timer->isActive());

        QString shownFrom;
        m_ui->dialogHandlers.push_back([&](QDialog &dialog) {
            auto *editFrom = dialog.findChild<QLineEdit *>(u"EditFrom"_s);
            auto *editTo = dialog.findChild<QLineEdit *>(u"EditTo"_s);
            if (!editFrom || !editTo)
                return int(QDialog::Rejected);
            shownFrom = editFrom->text();
            editTo->setText(to);
            return int(QDialog::Accepted);
        });
        action->trigger();

        QCOMPARE(shownFrom, u"Petr"_s);
        QCOMPARE(m_ui->questions.size(), 1);
        QStringList stored;
        for (const QString &id : ids) {
            const COrder order = m_w->data().GetOrder(id).value_or(COrder {});
            stored.append(engineer ? order.OrderEngineerName : order.OrderPhoneType);
        }
        QCOMPARE(stored, expected);
        // The filter box shows the new name, lists its orders and offers it from now on.
        QCOMPARE(box->currentText(), to);
        QTRY_COMPARE_WITH_TIMEOUT(m_w->data().orderList().rowCount(), int(expected.count(to)),
                                  2000);
        box->refill();
        QVERIFY(items(box).contains(to) && !items(box).contains(u"Petr"_s));
    }

    void suggestionSources_data()
    {
        // The lists of engineers and devices: 1 offers the engineers, 2 the devices, 0 neither;
        // a list not offered filters the names taken from the orders.
        QTest::addColumn<int>("lm");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("notOffered");
        QTest::addColumn<QString>("shown"); // the box's text before the refill
        QTest::addColumn<QString>("selected"); // afterwards; empty: no entry

        const QString engineer = u"OrderEngineerComboBox"_s, device = u"OrderPhoneTypeComboBox"_s;
        const QStringList janaKarel { u"Jana"_s, u"Karel"_s }, petr { u"Petr"_s },
            siemens { u"Siemens C35"_s },
            known { u"Google Pixel 7"_s, u"Nokia 3310"_s, u"Jen Seznam Z"_s };
        QTest::newRow("engineer, list filters")
            << 0 << engineer << petr << janaKarel << u"pETR"_s << u"Petr"_s;
        QTest::newRow("engineer, list offered")
            << 1 << engineer << janaKarel << petr << u"Petr"_s << QString();
        QTest::newRow("engineer filter box")
            << 1 << u"OrderEngineerComboBoxFilter"_s << petr << janaKarel << QString() << QString();
        QTest::newRow("device, list filters")
            << 0 << device << QStringList { u"Siemens C35"_s, u"Google Pixel 7"_s } << known.mid(1)
            << u"siemens c35"_s << u"Siemens C35"_s;
        QTest::newRow("device, list offered")
            << 2 << device << known << siemens << u"GOOGLE PIXEL 7"_s << u"Google Pixel 7"_s;
        QTest::newRow("device filter box")
            << 2 << u"OrderPhoneTypeComboBoxFilter"_s << known << siemens << QString() << QString();
        QTest::newRow("battery") << 0 << u"OrderBatteryTypeComboBox"_s
                                 << QStringList { u"Li-ion"_s, u"NiMH"_s } << QStringList {}
                                 << u"LI-ION"_s << u"Li-ion"_s;
    }

    void suggestionSources()
    {
        QFETCH(int, lm);
        QFETCH(QString, box);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, notOffered);
        QFETCH(QString, shown);
        QFETCH(QString, selected);

        const QStringList engineers { u"Petr"_s, u"Jana"_s, u"   "_s, u"Petr"_s };
        const QStringList phones { u"Siemens C35"_s, u"Nokia 3310"_s, u"  "_s, u"Siemens C35"_s };
        const QStringList batteries { u"Li-ion"_s, u" "_s, u"NiMH"_s, u"Li-ion"_s };
        for (int i = 0; i < engineers.size(); ++i)
            addOrder({ .engineer = engineers.at(i),
                       .phoneType = phones.at(i),
                       .battery = batteries.at(i) });
        const QStringList engineerList { u"Jana"_s, u"Karel"_s, u"  "_s };
        const QStringList phoneList { u"Nokia 3310"_s, u"Jen Seznam Z"_s, u" "_s };
        for (int i = 0; i < 3; ++i) {
            addListRow(false, i + 1, engineerList.at(i));
            addListRow(true, i + 1, phoneList.at(i));
        }
        m_w->data().config().SetLMEngineer(lm == 1 ? 1 : 0);
        m_w->data().config().SetLMPhone(lm == 2 ? 1 : 0);
        startWindow();

        auto *combo = m_w->findChild<SuggestComboBox *>(box);
        QVERIFY(combo);
        if (!shown.isEmpty())
            combo->setSingleEntry(shown); // as showing an order does
        combo->refill();
        const QStringList list = items(combo);
        for (const QString &name : offered)
            QVERIFY2(list.contains(name), qPrintable(name + u" missing in "_s + list.join(u'|')));
        for (const QString &name : notOffered)
            QVERIFY2(!list.contains(name), qPrintable(name + u" offered in "_s + list.join(u'|')));
        // No blank entries, no blanks around, no duplicates.
        for (const QString &entry : list)
            QVERIFY2(!entry.isEmpty() && entry == entry.trimmed(), qPrintable(list.join(u'|')));
        QCOMPARE(QSet<QString>(list.begin(), list.end()).size(), list.size());
        // The shown text is selected again, whatever its letter case, while the list holds it.
        if (!shown.isEmpty())
            QCOMPARE(combo->currentIndex() < 0 ? QString() : combo->currentText(), selected);
    }

    void leavingUnknownDeviceType_data()
    {
        QTest::addColumn<bool>("inserting");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("focusBack");
        QTest::addColumn<QString>("kept");

        const QString unknown = u"Neznamy XY"_s;
        QTest::newRow("unknown, No")
            << true << unknown << int(Answer::No) << true << true << unknown;
        QTest::newRow("unknown, Yes")
            << true << unknown << int(Answer::Yes) << true << false << unknown;
        QTest::newRow("known, other case") << true << u"google pixel 7"_s << int(Answer::No)
                                           << false << false << u"Google Pixel 7"_s;
        QTest::newRow("browsing") << false << unknown << int(Answer::No) << false << false
                                  << unknown;
    }

    void leavingUnknownDeviceType()
    {
        QFETCH(bool, inserting);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, focusBack);
        QFETCH(QString, kept);

        if (!inserting)
            addOrder({ .phoneType = u"Neznamy XY"_s });
        startWindow();
        QApplication::setActiveWindow(m_w.get());
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        if (inserting)
            m_w->ActionOrderNew->trigger();
        SuggestComboBox *box = m_w->OrderPhoneTypeComboBox;
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
        QCOMPARE(m_w->orderFormState(), inserting ? State::Insert : State::Browse);
    }

    void accessoryTickBoxesEmptyAndRestore()
    {
        const QString id = addOrder({ .phoneType = u"Nokia 3310"_s,
                                      .battery = u"BL-5C"_s,
                                      .imei = u"356938035643809"_s,
                                      .batterySN = u"SN-0042"_s });
        startWindow();
        TRpx2Form &w = *m_w;
        auto details = [&] {
            return QStringList { w.OrderPhoneTypeComboBox->value(), w.OrderPhoneIMEIEdit->text(),
                                 w.OrderBatteryTypeComboBox->value(),
                                 w.OrderBatterySNEdit->text() };
        };
        auto enabled = [&] {
            return QList<bool> { w.OrderPhoneTypeComboBox->isEnabled(),
                                 w.OrderPhoneIMEIEdit->isEnabled(),
                                 w.OrderBatteryTypeComboBox->isEnabled(),
                                 w.OrderBatterySNEdit->isEnabled() };
        };
        const QStringList shown = details();
        QCOMPARE(shown.join(u'|'), u"Nokia 3310|356938035643809|BL-5C|SN-0042"_s);

        // Unticked, the details empty and lock; ticked again, they come back.
        w.OrderPhoneCheckBox->click();
        QCOMPARE(details(), (QStringList { QString(), QString(), shown[2], shown[3] }));
        QCOMPARE(enabled(), (QList<bool> { false, false, true, true }));
        QCOMPARE(w.orderFormState(), State::Edit);
        w.OrderBatteryCheckBox->click();
        QCOMPARE(details().join(QString()), QString());
        QCOMPARE(enabled(), (QList<bool> { false, false, false, false }));
        w.OrderPhoneCheckBox->click();
        w.OrderBatteryCheckBox->click();
        QCOMPARE(details(), shown);
        QCOMPARE(enabled(), (QList<bool> { true, true, true, true }));
        w.ActionOrderStore->trigger();
        QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
        const COrder after = *w.data().GetOrder(id);
        QCOMPARE((QStringList { after.OrderPhoneType, after.OrderPhoneIMEI, after.OrderBatteryType,
                                after.OrderBatterySN }),
                 shown);

        // Unticked and stored, the order keeps neither the flags nor the texts.
        w.OrderPhoneCheckBox->click();
        w.OrderBatteryCheckBox->click();
        w.ActionOrderStore->trigger();
        const COrder unticked = *w.data().GetOrder(id);
        QVERIFY(!unticked.OrderPhone && !unticked.OrderBattery);
        QCOMPARE(unticked.OrderPhoneType + unticked.OrderPhoneIMEI + unticked.OrderBatteryType
                     + unticked.OrderBatterySN,
                 QString());
    }

    void freeTypingFollowsListsDialog_data()
    {
        QTest::addColumn<bool>("engineerFree");
        QTest::addColumn<bool>("phoneFree");
        // A new database allows free typing of both: each row proves one box follows its setting.
        QTest::newRow("engineer free") << true << false;
        QTest::newRow("device free") << false << true;
    }

    void freeTypingFollowsListsDialog()
    {
        QFETCH(bool, engineerFree);
        QFETCH(bool, phoneFree);

        addOrder({ .engineer = u"Petr"_s, .phoneType = u"Nokia 3310"_s });
        startWindow();
        m_ui->dialogHandlers.push_back([&](QDialog &dialog) {
            auto *engineer = dialog.findChild<QCheckBox *>(u"EngineerFullEditCheckBox"_s);
            auto *phone = dialog.findChild<QCheckBox *>(u"PhoneFullEditCheckBox"_s);
            auto *button = dialog.findChild<QAbstractButton *>(u"ButtonOk"_s);
            if (!engineer || !phone || !button)
                return int(QDialog::Rejected);
            engineer->setChecked(engineerFree);
            phone->setChecked(phoneFree);
            button->click();
            return dialog.result();
        });
        m_w->ActionFilters->trigger();

        QCOMPARE(m_w->OrderEngineerComboBox->isEditable(), engineerFree);
        QCOMPARE(m_w->OrderPhoneTypeComboBox->isEditable(), phoneFree);
        // The shown order keeps its values whichever way the boxes changed.
        QCOMPARE(m_w->OrderEngineerComboBox->value(), u"Petr"_s);
        QCOMPARE(m_w->OrderPhoneTypeComboBox->value(), u"Nokia 3310"_s);
        QCOMPARE(m_w->orderFormState(), State::Browse);
    }

    void photoAssignedShownAndRemoved()
    {
        const QString id = addOrder();
        startWindow();
        QVERIFY(!QFileInfo::exists(AppPaths::photoDir()));
        QVERIFY(photoMenuOffers("ActionOrderImageLoad"));
        QVERIFY(!photoMenuOffers("ActionOrderImageShow")
                && !photoMenuOffers("ActionOrderImageClear"));
        const QImage noPhoto = m_w->OrderRepairImage->icon().pixmap(22, 22).toImage();

        // Copied into the photo folder under the order's number at once, referenced when stored.
        const QString name = id + u"-IMG_0001.JPG"_s;
        const QString source = sourcePhoto(u"dcim"_s, u"IMG_0001.JPG"_s, "first");
        m_ui->fileNames.push_back(source);
        m_w->ActionOrderImageLoad->trigger();
        QCOMPARE(contents(photoPath(name)), QByteArray("first"));
        QCOMPARE(m_w->orderFormState(), State::Edit);
        QVERIFY(photoMenuOffers("ActionOrderImageShow")
                && photoMenuOffers("ActionOrderImagePrint"));
        QVERIFY(m_w->OrderRepairImage->icon().pixmap(22, 22).toImage() != noPhoto);
        QVERIFY(storedPhoto(id).isEmpty());
        // The same file again replaces the copy without asking.
        sourcePhoto(u"dcim"_s, u"IMG_0001.JPG"_s, "second");
        m_ui->fileNames.push_back(source);
        m_w->ActionOrderImageLoad->trigger();
        QCOMPARE(contents(photoPath(name)), QByteArray("second"));
        m_w->ActionOrderStore->trigger();
        QVERIFY2(m_ui->messages.isEmpty() && m_ui->questions.isEmpty(),
                 qPrintable(m_ui->messageTexts().join(u'|')));
        QCOMPARE(storedPhoto(id), name);
        QCOMPARE(photoFiles(), QStringList { name });
        // The same name again, but the file cannot be read: the stored photo stays whole.
        QVERIFY(QFile::remove(source));
        m_ui->fileNames.push_back(source);
        m_w->ActionOrderImageLoad->trigger();
        QCOMPARE(m_ui->messages.size(), 1);
        QCOMPARE(contents(photoPath(name)), QByteArray("second"));
        QCOMPARE(m_w->orderFormState(), State::Browse);

        // Shown through the desktop, by the action or a double click.
        const QUrl url = QUrl::fromLocalFile(photoPath(name));
        m_w->ActionOrderImageShow->trigger();
        QTest::mouseDClick(m_w->OrderRepairImage, Qt::LeftButton);
        QCOMPARE(m_ui->openedUrls, (QList<QUrl> { url, url }));
        QCOMPARE(m_w->orderFormState(), State::Browse);

        // Removed: the reference goes when stored, the file stays.
        m_w->ActionOrderImageClear->trigger();
        QCOMPARE(m_w->orderFormState(), State::Edit);
        QVERIFY(!photoMenuOffers("ActionOrderImageShow")
                && photoMenuOffers("ActionOrderImageLoad"));
        QCOMPARE(storedPhoto(id), name);
        m_w->ActionOrderStore->trigger();
        QVERIFY(storedPhoto(id).isEmpty());
        QVERIFY(QFileInfo::exists(photoPath(name)));

        // Without a photo a double click asks for one.
        m_ui->fileNames.push_back(sourcePhoto(u"dcim"_s, u"IMG_0007.JPG"_s, "q"));
        QTest::mouseDClick(m_w->OrderRepairImage, Qt::LeftButton);
        QVERIFY(m_ui->fileNames.empty());
        QCOMPARE(m_ui->openedUrls.size(), 2);
        QVERIFY(QFileInfo::exists(photoPath(id + u"-IMG_0007.JPG"_s)));
    }

    void photoOfNewOrderCopiedWhenStored()
    {
        addOrder({ .customer = u"Svoboda"_s });
        startWindow();

        // A cancelled new order leaves no copy, and its photo does not come along with the next.
        m_w->ActionOrderNew->trigger();
        m_ui->fileNames.push_back(sourcePhoto(u"dcim"_s, u"IMG_0002.JPG"_s, "x"));
        m_w->ActionOrderImageLoad->trigger();
        m_w->ActionOrderCancel->trigger();
        QVERIFY(!photoMenuOffers("ActionOrderImageShow"));
        m_w->ActionOrderNew->trigger();
        m_w->OrderCustomerNameEdit->setText(u"Bez fotky"_s);
        m_w->ActionOrderStore->trigger();
        QVERIFY(storedPhoto(m_w->OrderIDEdit->text()).isEmpty());
        QVERIFY(photoFiles().isEmpty());

        // Two new orders with photos of the same name from different cards: each copied under
        // its own number once stored, nothing before.
        for (const QString card : { u"card0"_s, u"card1"_s }) {
            m_w->ActionOrderNew->trigger();
            m_w->OrderCustomerNameEdit->setText(card);
            const QString source = sourcePhoto(card, u"IMG_0001.JPG"_s, card.toLatin1());
            m_ui->fileNames.push_back(source);
            m_w->ActionOrderImageLoad->trigger();
            QVERIFY(photoMenuOffers("ActionOrderImageShow"));
            m_w->ActionOrderImageShow->trigger();
            QCOMPARE(m_ui->openedUrls.last(), QUrl::fromLocalFile(source));
            QCOMPARE(photoFiles().size(), card == u"card0"_s ? 0 : 1);

            m_w->ActionOrderStore->trigger();
            QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
            const QString id = m_w->OrderIDEdit->text();
            QCOMPARE(storedPhoto(id), id + u"-IMG_0001.JPG"_s);
            QCOMPARE(contents(photoPath(storedPhoto(id))), card.toLatin1());
        }
        QCOMPARE(photoFiles().size(), 2);
    }

    void photoCopyFailureShown_data()
    {
        QTest::addColumn<bool>("newOrder");
        QTest::addColumn<bool>("folderOccupied"); // else the source is gone before it is copied
        QTest::newRow("shown order, folder path is a file") << false << true;
        QTest::newRow("shown order, source gone") << false << false;
        QTest::newRow("new order, folder path is a file") << true << true;
        QTest::newRow("new order, source gone") << true << false;
    }

    void photoCopyFailureShown()
    {
        QFETCH(bool, newOrder);
        QFETCH(bool, folderOccupied);

        const QString id = addOrder();
        startWindow();
        if (folderOccupied) {
            QFile blocker(AppPaths::photoDir());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        const QString source = sourcePhoto(u"dcim"_s, u"IMG_0004.JPG"_s, "z");
        m_ui->fileNames.push_back(source);
        if (newOrder) {
            m_w->ActionOrderNew->trigger();
            m_w->OrderCustomerNameEdit->setText(u"Nový"_s);
            m_w->ActionOrderImageLoad->trigger();
        }
        if (!folderOccupied)
            QVERIFY(QFile::remove(source));
        QVERIFY(m_ui->messages.isEmpty());
        (newOrder ? m_w->ActionOrderStore : m_w->ActionOrderImageLoad)->trigger();

        QCOMPARE(m_ui->messages.size(), 1);
        QCOMPARE(m_ui->messages.at(0).title, rpxText("Rpx2.CantSaveFile"));
        QCOMPARE(m_w->orderFormState(), State::Browse);
        // A new order is stored all the same, without the photo.
        QCOMPARE(m_w->OrderIDEdit->text() != id, newOrder);
        QVERIFY(storedPhoto(m_w->OrderIDEdit->text()).isEmpty());
        QVERIFY(!photoMenuOffers("ActionOrderImageShow"));
    }

private:
    QString addOrder(const Wanted &wanted = {})
    {
        TRpx2Data &data = m_w->data();
        CCustomer customer;
        customer.CustomerCode = u"12345678"_s;
        customer.CustomerName = wanted.customer;
        data.StoreCustomer(customer);
        COrder order;
        order.OrderTypeID = OrderTypes::Paid;
        order.OrderStateID = wanted.state;
        order.OrderCustomerID = customer.CustomerID;
        order.OrderReceiptDate = Now.addDays(-3);
        order.OrderDeadlineDate = Now.addDays(4);
        order.OrderEngineerName = wanted.engineer;
        order.OrderPhone = order.OrderBattery = true;
        order.OrderPhoneType = wanted.phoneType;
        order.OrderPhoneIMEI = wanted.imei;
        order.OrderBatteryType = wanted.battery;
        order.OrderBatterySN = wanted.batterySN;
        order.OrderFinalPricePrimary = wanted.finalPrice;
        if (wanted.state == OrderStates::HandedBack) {
            order.OrderRepairDescription = u"Výměna displeje"_s;
            order.OrderIssueDate = Now.addSecs(-3600);
        }
        data.StoreNewOrder(order);
        return order.OrderID;
    }

    // Reads the prepared orders and settings as a running window would after a reload.
    void startWindow()
    {
        m_w->ReloadOrderList();
        m_w->ShowOrderTotals();
    }
    void addListRow(bool phone, int id, const QString &name)
    {
        m_w->data().ExecuteCommand(phone ? u"INSERT INTO t_filter_phone_01 VALUES (?, ?)"_s
                                         : u"INSERT INTO t_filter_engineer_01 VALUES (?, ?)"_s,
                                   { id, name });
    }
    // A picture in a folder of the "camera", another folder than the shop's.
    QString sourcePhoto(const QString &folder, const QString &name, const QByteArray &content)
    {
        QDir(m_camera->path()).mkpath(folder);
        const QString path = m_camera->filePath(folder + QLatin1Char('/') + name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
        return path;
    }
    QString storedPhoto(const QString &orderId)
    {
        return m_w->data().GetOrder(orderId).value_or(COrder {}).OrderRepairImage;
    }

    // Whether the indicator's pop-up menu, as it is about to open, offers the action.
    bool photoMenuOffers(const char *actionName)
    {
        auto *menu = m_w->findChild<QMenu *>(u"PopupMenu3"_s);
        if (!menu)
            return false;
        emit menu->aboutToShow();
        auto *action = m_w->findChild<QAction *>(QLatin1String(actionName));
        return action && menu->actions().contains(action) && action->isEnabled();
    }

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<FakeUi> m_ui;
    std::unique_ptr<TRpx2Form> m_w;
    std::unique_ptr<QTemporaryDir> m_camera;
};

QTEST_MAIN(TestGuiActions)
#include "tst_gui_actions.moc"
