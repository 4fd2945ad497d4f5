// The main window's order actions (the password guard, delete, moving through the list, bulk
// rename), its suggestion boxes and the repair photos, driven through the window's actions and
// controls on the offscreen platform.

#include "../gui_main/mainwindowshop.h"

#include "orders/suggestcombobox.h"
#include "textformat.h"

#include <QtWidgets>

using Answer = Prompts::Answer;
using State = TRpx2Form::OrderFormState;
using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2026, 3, 10), QTime(10, 30));

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A picture (a PNG file, whatever its name says) that carries the marker after its end.
QByteArray picture(const QByteArray &marker)
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data() + marker;
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
    QString engineer, phoneType, battery;
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

    // Delete, change and both bulk renames ask for the password when one is set.
    void passwordGuardsActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // to the question before deleting or renaming

        const QString del = u"ActionOrderDelete"_s, engineer = u"ActionOrderEngineerUpdate"_s,
                      pw = u"Tajné1"_s, none;
        const int yes = int(Answer::Yes), ok = int(Answer::Ok);
        QTest::newRow("delete, answered No") << del << none << none << int(Answer::No);
        QTest::newRow("delete, other letter case") << del << pw << u"tajné1"_s << yes;
        QTest::newRow("change, wrong password") << u"ActionOrderChange"_s << pw << u"xyz"_s << yes;
        QTest::newRow("rename engineer, right password") << engineer << pw << pw << ok;
        QTest::newRow("rename device, no password")
            << u"ActionOrderPhoneUpdate"_s << none << none << ok;
    }

    void passwordGuardsActions()
    {
        QFETCH(QString, action);
        QFETCH(QString, password);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        const bool refused = !password.isEmpty() && typed != password;
        const bool done = !refused && answer != int(Answer::No);

        QString shown; // the later order, shown first
        for (const QString &customer : { u"Svoboda"_s, u"Novák"_s })
            shown = addOrder({ .customer = customer,
                               .state = OrderStates::HandedBack,
                               .engineer = u"Petr"_s,
                               .phoneType = u"Nokia 3310"_s });
        m_w->data().config().SetDeleteOrder(true);
        m_w->data().config().SetPassword(password);
        startWindow();
        const bool device = action == u"ActionOrderPhoneUpdate"_s;
        SuggestComboBox *box
            = device ? m_w->OrderPhoneTypeComboBoxFilter : m_w->OrderEngineerComboBoxFilter;
        const QString from = device ? u"Nokia 3310"_s : u"Petr"_s, to = from + u" 2"_s;
        box->setEditText(from);
        QTRY_VERIFY(!m_w->Timer->isActive());

        // The password prompt, when there is one, then the rename dialog.
        for (int i = 0; i < 2; ++i)
            m_ui->dialogHandlers.push_back([typed](QDialog &dialog) {
                if (auto *edit = dialog.findChild<QLineEdit *>(u"PasswordEdit"_s))
                    edit->setText(typed);
                else if (auto *editTo = dialog.findChild<QLineEdit *>(u"EditTo"_s))
                    editTo->setText(editTo->text() + u" 2"_s);
                return int(QDialog::Accepted);
            });
        m_ui->answers.push_back(Answer(answer));
        m_w->findChild<QAction *>(action)->trigger();

        QCOMPARE(m_ui->messageTexts(),
                 refused ? QStringList { u"Neplatné heslo!"_s } : QStringList());
        OrderList &list = m_w->data().orderList();
        if (action == u"ActionOrderDelete"_s) {
            QCOMPARE(m_w->data().GetOrder(shown).has_value(), !done);
            QCOMPARE(list.rowCount(), done ? 1 : 2);
            QCOMPARE(m_w->OrderIDEdit->text(), list.currentOrderId());
        } else if (action == u"ActionOrderChange"_s) {
            QCOMPARE(m_w->orderFormState(), done ? State::Edit : State::Browse);
        } else {
            // Renamed from the filter box's pop-up menu, which then shows the new name and
            // lists its orders.
            QVERIFY(box->actions().contains(m_w->findChild<QAction *>(action)));
            const COrder order = *m_w->data().GetOrder(shown);
            QCOMPARE(device ? order.OrderPhoneType : order.OrderEngineerName, done ? to : from);
            QCOMPARE(box->currentText(), done ? to : from);
            QTRY_VERIFY(!m_w->Timer->isActive());
            QCOMPARE(list.rowCount(), 2);
        }
    }

    void deleteShowsFollowingRow_data()
    {
        QTest::addColumn<int>("orders");
        QTest::addColumn<int>("row");
        // The row (before the delete) of the order shown afterwards; -1: none is left.
        QTest::addColumn<int>("shownRow");
        QTest::addColumn<bool>("gone"); // removed at another counter meanwhile

        QTest::newRow("middle") << 4 << 1 << 2 << false;
        QTest::newRow("last") << 4 << 3 << 2 << false;
        QTest::newRow("only") << 1 << 0 << -1 << false;
        QTest::newRow("removed meanwhile: reported") << 4 << 1 << 2 << true;
    }

    void deleteShowsFollowingRow()
    {
        QFETCH(int, orders);
        QFETCH(int, row);
        QFETCH(int, shownRow);
        QFETCH(bool, gone);

        for (int i = 0; i < orders; ++i)
            addOrder({ .customer = u"Zákazník %1"_s.arg(i),
                       .state = OrderStates::HandedBack,
                       .finalPrice = 100 });
        m_w->data().config().SetDeleteOrder(true);
        startWindow();
        OrderList &list = m_w->data().orderList();
        QVERIFY(list.moveTo(row) || row == 0);
        const QString expected = shownRow < 0 ? QString() : list.orderIdAt(shownRow);
        const QString customer = shownRow < 0 ? QString() : list.customerNameAt(shownRow);
        // Held before: a deleted order leaves the held set.
        m_w->NoFilterCheckBox->setChecked(true);
        m_w->ActionOrderHold->trigger();
        QCOMPARE(m_w->heldOrders().size(), 1);
        if (gone)
            QVERIFY(m_w->data().DeleteOrder(list.orderIdAt(row)));

        m_w->ActionOrderDelete->trigger();
        QVERIFY(m_w->heldOrders().isEmpty());
        QCOMPARE(m_w->OrderHoldCountLabel->text(), u"Vybráno: 0"_s);

        QCOMPARE(m_ui->messageTexts(),
                 gone ? QStringList { u"CHYBA: Zakázku se nepodařilo odstranit."_s }
                      : QStringList());
        QCOMPARE(list.rowCount(), orders - 1);
        QCOMPARE(list.currentOrderId(), expected);
        QCOMPARE(m_w->OrderIDEdit->text(), expected);
        QCOMPARE(m_w->OrderCustomerNameEdit->text(), customer);
        QCOMPARE(m_w->orderFormState(), State::Browse);
        QCOMPARE(m_w->ActionOrderDelete->isEnabled(), shownRow >= 0);
        // The counts and both totals follow at once.
        const QString sum = u"%1.00"_s.arg((orders - 1) * 100);
        QCOMPARE((QStringList { m_w->StatusPanel1->text(), m_w->OrderSumValueLabel->text(),
                                m_w->OrderSumTodayValueLabel->text() }),
                 (QStringList { shownRow < 0 ? QString() : u"Vydaná: 3"_s, sum, sum }));
    }

    // Entering and leaving a price box is no change: a click on another row moves on without
    // a question. A row whose order another counter deleted reads the list again and shows the
    // order that takes its place.
    void movingThroughTheList()
    {
        QStringList ids;
        for (int i = 0; i < 3; ++i)
            ids.prepend(addOrder({ .customer = u"Zákazník %1"_s.arg(i), .finalPrice = 12 }));
        startWindow();
        QTableView *grid = m_w->OrderListDBGrid;
        auto clickRow = [grid](int row) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(row, 0)).center());
        };
        QTest::mouseClick(m_w->OrderIssuePriceEdit, Qt::LeftButton);
        QVERIFY(m_w->OrderIssuePriceEdit->hasFocus());
        clickRow(2);
        QCOMPARE(m_w->OrderIDEdit->text(), ids.at(2));
        QCOMPARE(m_w->orderFormState(), State::Browse);
        QVERIFY(m_ui->questions.isEmpty());
        // Keys show the order they highlight: what is stored, deleted or held is what is seen.
        for (const auto &[key, row] : { std::pair(Qt::Key_Up, 1), std::pair(Qt::Key_Home, 0),
                                        std::pair(Qt::Key_End, 2) }) {
            QTest::keyClick(grid, key);
            QTRY_COMPARE(m_w->OrderIDEdit->text(), ids.at(row));
            QCOMPARE(grid->currentIndex().row(), row);
        }

        QVERIFY(m_w->data().DeleteOrder(ids.at(0)));
        clickRow(0);
        QTRY_COMPARE(m_w->data().orderList().rowCount(), 2);
        QCOMPARE(m_w->OrderIDEdit->text(), ids.at(1));
        QCOMPARE(m_w->data().orderList().currentOrderId(), ids.at(1));
    }

    // The lists of engineers and devices: 1 offers the engineers, 2 the devices, 0 neither;
    // a list not offered filters the names taken from the orders. No blank entries, no blanks
    // around, no duplicates; the shown text is selected again, whatever its letter case.
    void suggestionSources_data()
    {
        QTest::addColumn<int>("lm");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown"); // the box's text before the refill
        QTest::addColumn<QString>("listed"); // entries separated by "|"
        QTest::addColumn<QString>("selected"); // afterwards; empty: no entry

        const QString engineer = u"OrderEngineerComboBox"_s, device = u"OrderPhoneTypeComboBox"_s;
        QTest::newRow("engineer, list filters")
            << 0 << engineer << u"pETR"_s << u"Ota|Petr"_s << u"Petr"_s;
        // The shown order's engineer stays selectable although the list does not offer it.
        QTest::newRow("engineer, list offered")
            << 1 << engineer << u"Petr"_s << u"Petr|Jana|Karel"_s << u"Petr"_s;
        QTest::newRow("device, list offered")
            << 2 << device << u"GOOGLE PIXEL 7"_s << u"Google Pixel 7|Jen Seznam Z|Nokia 3310"_s
            << u"Google Pixel 7"_s;
        QTest::newRow("battery") << 0 << u"OrderBatteryTypeComboBox"_s << u"LI-ION"_s
                                 << u"Li-ion|NiMH"_s << u"Li-ion"_s;
    }

    void suggestionSources()
    {
        QFETCH(int, lm);
        QFETCH(QString, box);
        QFETCH(QString, shown);
        const QStringList engineers { u"Petr"_s, u"Jana"_s, u"   "_s, u"Ota"_s };
        const QStringList phones { u"Siemens C35"_s, u"Nokia 3310"_s, u"  "_s, u"Siemens C35"_s };
        const QStringList batteries { u"Li-ion"_s, u" "_s, u"NiMH"_s, u"Li-ion"_s };
        for (int i = 0; i < engineers.size(); ++i)
            addOrder({ .engineer = engineers.at(i),
                       .phoneType = phones.at(i),
                       .battery = batteries.at(i) });
        const QStringList engineerList { u"Jana"_s, u"Karel"_s, u"  "_s };
        const QStringList phoneList { u"Nokia 3310"_s, u"Jen Seznam Z"_s, u" "_s };
        for (int i = 0; i < 3; ++i) {
            addListRow(u"t_filter_engineer_01"_s, i + 1, engineerList.at(i));
            addListRow(u"t_filter_phone_01"_s, i + 1, phoneList.at(i));
        }
        m_w->data().ExecuteCommand(u"DELETE FROM t_phone_01 WHERE PhoneName <> 'Google Pixel 7'"_s);
        m_w->data().config().SetLMEngineer(lm == 1 ? 1 : 0);
        m_w->data().config().SetLMPhone(lm == 2 ? 1 : 0);
        startWindow();

        auto *combo = m_w->findChild<SuggestComboBox *>(box);
        if (!shown.isEmpty())
            combo->setSingleEntry(shown); // as showing an order does
        combo->refill();
        QTEST(items(combo).join(u'|'), "listed");
        QTEST(combo->currentIndex() < 0 ? QString() : combo->currentText(), "selected");
    }

    void leavingUnknownDeviceType_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("leave"); // 0: Tab, 1: the store button, 2: Ctrl+S, 3: a window
        QTest::addColumn<bool>("yes"); // the answer to the question, when asked
        QTest::addColumn<QString>("kept"); // the device type afterwards; empty: asked

        const QString unknown = u"Neznamy XY"_s;
        QTest::newRow("Tab, No: back to the box") << unknown << 0 << false << QString();
        // Leaving by storing asks too; No stores nothing.
        QTest::newRow("store button, No") << unknown << 1 << false << QString();
        QTest::newRow("Ctrl+S, Yes: stored as typed") << unknown << 2 << true << QString();
        // No letters are added to a beginning of a known type: it stays unknown.
        QTest::newRow("Tab, beginning of a known type")
            << u"Samsung Galaxy A5"_s << 0 << true << QString();
        // Another letter case takes the list's spelling, without a question.
        QTest::newRow("Ctrl+S, other letter case")
            << u"apple iphone 11"_s << 2 << true << u"Apple iPhone 11"_s;
        // Another window (a message box, Escape's question) takes the focus for a while: the
        // box is not left, nothing is asked on top of it.
        QTest::newRow("another window") << unknown << 3 << true << unknown;
    }

    void leavingUnknownDeviceType()
    {
        QFETCH(QString, typed);
        QFETCH(int, leave);
        QFETCH(bool, yes);
        QFETCH(QString, kept);
        const bool asked = kept.isEmpty();
        startWindow();
        m_w->ActionOrderNew->trigger();
        m_w->OrderCustomerNameEdit->setText(u"Jana"_s);
        SuggestComboBox *box = m_w->OrderPhoneTypeComboBox;
        QTest::mouseClick(box, Qt::LeftButton);
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClicks(box, typed);
        QCOMPARE(box->value(), typed);
        m_ui->answers.push_back(yes ? Answer::Yes : Answer::No);
        // Keys through the window system, which hands them to an open pop-up first.
        if (leave == 0)
            QTest::keyClick(m_w->windowHandle(), Qt::Key_Tab);
        else if (leave == 1)
            QTest::mouseClick(m_w->findChild<QPushButton *>(u"OrderStoreButton"_s), Qt::LeftButton);
        else if (leave == 2)
            QTest::keyClick(m_w->windowHandle(), Qt::Key_S, Qt::ControlModifier);
        QWidget other;
        if (leave == 3) {
            other.show();
            QApplication::setActiveWindow(&other);
            QTRY_VERIFY(!box->hasFocus());
        }
        QTest::qWait(20);

        // Storing may go on to offer the receipt; only the device question counts here.
        const auto deviceQuestions = std::count_if(
            m_ui->questions.cbegin(), m_ui->questions.cend(),
            [](const auto &q) { return q.text == rpxText("Rpx2.DeviceNotExist"); });
        QCOMPARE(deviceQuestions, asked ? 1 : 0);
        QCOMPARE(m_ui->questions.isEmpty(), !asked && (leave == 0 || leave == 3));
        const bool stored = (leave == 1 || leave == 2) && (yes || !asked);
        QCOMPARE(m_w->orderFormState(), stored ? State::Browse : State::Insert);
        QCOMPARE(m_w->data().GetOrderCount(), stored ? 1 : 0);
        const QString value = asked ? typed : kept;
        QCOMPARE(box->value(), value);
        if (stored)
            QCOMPARE(m_w->data().GetOrder(m_w->OrderIDEdit->text())->OrderPhoneType, value);
        else if (asked && !yes)
            QTRY_VERIFY(box->hasFocus());
        else if (leave == 0)
            QVERIFY(!box->hasFocus());
    }

    // The filter boxes and the order's boxes keep what was typed, letter for letter; a pop-up
    // offers the entries containing it, whatever the letter case and diacritics.
    void typedTextIsNotCompleted_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<int>("listed"); // orders the list shows; -1: not a filter, -2: not checked

        const QString device = u"OrderPhoneTypeComboBoxFilter"_s;
        const QString engineer = u"OrderEngineerComboBoxFilter"_s;
        QTest::newRow("device filter")
            << device << u"Apple iPhone 1"_s
            << QStringList { u"Apple iPhone 11"_s, u"Apple iPhone 12"_s, u"Apple iPhone 12 mini"_s,
                             u"Apple iPhone 13"_s, u"Apple iPhone 14"_s, u"Apple iPhone 15"_s }
            << 2;
        QTest::newRow("engineer filter, without diacritics")
            << engineer << u"DVORAK"_s << QStringList { u"Petr Dvořák"_s } << -2;
        QTest::newRow("order's engineer")
            << u"OrderEngineerComboBox"_s << u"Pet"_s << QStringList { u"Petr Dvořák"_s } << -1;
    }

    void typedTextIsNotCompleted()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, listed);
        addOrder({ .engineer = u"Petr Dvořák"_s, .phoneType = u"Apple iPhone 11"_s });
        addOrder({ .engineer = u"Petr Dvořák"_s, .phoneType = u"Apple iPhone 12 mini"_s });
        addOrder({ .engineer = u"Jana"_s, .phoneType = u"Nokia 3310"_s });
        startWindow();
        auto *combo = m_w->findChild<SuggestComboBox *>(box);
        if (listed < 0)
            m_w->ActionOrderNew->trigger();
        QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
        QTRY_VERIFY(combo->hasFocus());
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, typed);
        QCOMPARE(combo->currentText(), typed);

        QAbstractItemView *popup = combo->completer()->popup();
        QTRY_VERIFY(popup->isVisible());
        QStringList shown;
        for (int row = 0; row < popup->model()->rowCount(); ++row)
            shown.append(popup->model()->index(row, 0).data().toString());
        QTEST(shown, "offered");
        // The pop-up closes on Escape; the text stays as typed.
        QTest::keyClick(popup, Qt::Key_Escape);
        QTRY_VERIFY(!popup->isVisible());
        QCOMPARE(combo->currentText(), typed);
        QVERIFY(m_ui->questions.isEmpty());
        if (listed >= 0) {
            QTRY_VERIFY(!m_w->Timer->isActive());
            QCOMPARE(m_w->data().orderList().rowCount(), listed);
        } else if (listed == -1) {
            QCOMPARE(m_w->orderFormState(), State::Insert);
        }
    }

    // A pick-only engineer box keeps the shown order's engineer that the list lacks (offer
    // mode) or hides (filter mode); dropping the list down changes nothing, Escape closes only
    // the list, and storing keeps the engineer. The list is as wide as its longest entry.
    void pickOnlyBoxKeepsShownEngineer_data()
    {
        QTest::addColumn<int>("mode"); // LMEngineer
        QTest::newRow("list offered") << 1;
        QTest::newRow("list filters") << 0;
    }

    void pickOnlyBoxKeepsShownEngineer()
    {
        QFETCH(int, mode);
        const QString longName = u"Bohuslav Ondřejovský z Vlčnova a Horní Lhoty"_s;
        addOrder({ .engineer = longName });
        const QString id = addOrder({ .engineer = u"Petr"_s });
        addListRow(u"t_filter_engineer_01"_s, 1, mode == 1 ? longName : u"Petr"_s);
        m_w->data().config().SetLMEngineer(mode);
        m_w->data().config().SetFEEngineer(false);
        m_w->ActionFilters->trigger(); // closed: the box follows the settings
        startWindow();
        SuggestComboBox *box = m_w->OrderEngineerComboBox;
        QVERIFY(!box->isEditable());
        QCOMPARE(box->value(), u"Petr"_s);

        for (const bool changed : { false, true }) {
            if (changed) {
                m_w->OrderNoteMemo->setFocus();
                QTest::keyClicks(m_w->OrderNoteMemo, u"pozn"_s);
            }
            QTest::mouseClick(box, Qt::LeftButton);
            QTRY_VERIFY(box->view()->isVisible());
            QCOMPARE(items(box), (QStringList { u"Petr"_s, longName }));
            QCOMPARE(box->value(), u"Petr"_s);
            const QFontMetrics metrics(box->view()->font());
            QVERIFY(box->view()->viewport()->width() >= metrics.horizontalAdvance(longName));
            QTest::keyClick(box->view(), Qt::Key_Escape);
            QTRY_VERIFY(!box->view()->isVisible());
            QVERIFY(m_ui->questions.isEmpty());
            QCOMPARE(m_w->orderFormState(), changed ? State::Edit : State::Browse);
            QCOMPARE(m_w->OrderNoteMemo->toPlainText(), changed ? u"pozn"_s : QString());
        }
        QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
        QCOMPARE(m_w->data().GetOrder(id)->OrderEngineerName, u"Petr"_s);
        QCOMPARE(m_w->data().GetOrder(id)->OrderNote, u"pozn"_s);
    }

    void photoAssignedShownAndRemoved()
    {
        const QString id = addOrder();
        startWindow();

        // Copied into the photo folder under the order's number at once, referenced when stored.
        const QString name = id + u"-IMG_0001.JPG"_s;
        const QString source = sourcePhoto(u"dcim"_s, u"IMG_0001.JPG"_s, "first");
        m_ui->fileNames.push_back(source);
        m_w->ActionOrderImageLoad->trigger();
        QCOMPARE(contents(photoPath(name)), picture("first"));
        QCOMPARE(m_w->orderFormState(), State::Edit);
        QVERIFY(storedPhoto(id).isEmpty());
        m_w->ActionOrderStore->trigger();
        QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
        QCOMPARE(m_ui->questions.size(), 1); // only whether to print the receipt
        QCOMPARE(storedPhoto(id), name);
        QCOMPARE(photoFiles(), QStringList { name });
        // The same name again, but the file cannot be read: the stored photo stays whole.
        QVERIFY(QFile::remove(source));
        m_ui->fileNames.push_back(source);
        m_w->ActionOrderImageLoad->trigger();
        QCOMPARE(m_ui->messages.takeFirst().title, u"Soubor nelze uložit"_s);
        QCOMPARE(contents(photoPath(name)), picture("first"));
        QCOMPARE(m_w->orderFormState(), State::Browse);

        // Removed: the reference goes when stored, the file stays.
        m_w->ActionOrderImageClear->trigger();
        QCOMPARE(m_w->orderFormState(), State::Edit);
        m_w->ActionOrderStore->trigger();
        QVERIFY(storedPhoto(id).isEmpty());
        QVERIFY(QFileInfo::exists(photoPath(name)));
    }

    void photoOfNewOrderCopiedWhenStored()
    {
        addOrder({ .customer = u"Svoboda"_s });
        startWindow();

        // No photo folder can be made: the new order is stored all the same, without the photo.
        QFile blocker(AppPaths::photoDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_w->ActionOrderNew->trigger();
        m_w->OrderCustomerNameEdit->setText(u"Nový"_s);
        m_ui->fileNames.push_back(sourcePhoto(u"dcim"_s, u"IMG_0004.JPG"_s, "z"));
        m_w->ActionOrderImageLoad->trigger();
        m_w->ActionOrderStore->trigger();
        QCOMPARE(m_ui->messages.takeFirst().title, u"Soubor nelze uložit"_s);
        QCOMPARE(m_w->orderFormState(), State::Browse);
        QCOMPARE(m_w->data().GetOrderCount(), 2);
        QVERIFY(storedPhoto(m_w->OrderIDEdit->text()).isEmpty());
        QVERIFY(blocker.remove());

        // Two new orders with photos of the same name from different cards: each copied under
        // its own number once stored, nothing before; shown from the card until then.
        for (const QString card : { u"card0"_s, u"card1"_s }) {
            m_w->ActionOrderNew->trigger();
            m_w->OrderCustomerNameEdit->setText(card);
            const QString source = sourcePhoto(card, u"IMG_0001.JPG"_s, card.toLatin1());
            m_ui->fileNames.push_back(source);
            m_w->ActionOrderImageLoad->trigger();
            m_w->ActionOrderImageShow->trigger();
            QCOMPARE(m_ui->openedUrls.last(), QUrl::fromLocalFile(source));
            QCOMPARE(photoFiles().size(), card == u"card0"_s ? 0 : 1);
            m_w->ActionOrderStore->trigger();
            QVERIFY2(m_ui->messages.isEmpty(), qPrintable(m_ui->messageTexts().join(u'|')));
            const QString id = m_w->OrderIDEdit->text();
            QCOMPARE(storedPhoto(id), id + u"-IMG_0001.JPG"_s);
            QCOMPARE(contents(photoPath(storedPhoto(id))), picture(card.toLatin1()));
        }
        QCOMPARE(photoFiles().size(), 2);
    }

    void photoNamesFromTheDatabaseAreNotTrusted_data()
    {
        QTest::addColumn<QString>("stored"); // OrderRepairImage as another program left it
        QTest::addColumn<bool>("opened");
        QTest::newRow("a picture in the photo folder") << u"2026-00001-IMG.JPG"_s << true;
        QTest::newRow("a path up and out") << u"../../../../usr/bin/xterm"_s << false;
        QTest::newRow("an absolute path") << u"/usr/bin/xterm"_s << false;
        QTest::newRow("a Windows path") << u"..\\..\\Windows\\notepad.exe"_s << false;
        QTest::newRow("a program named as a picture") << u"xterm.jpg"_s << false;
        QTest::newRow("a link to a picture elsewhere") << u"out.jpg"_s << false;
        QTest::newRow("a vanished file") << u"gone.jpg"_s << false;
    }
    // Showing and printing hand a file to the desktop (on Windows, an .exe runs): only a
    // picture inside the photo folder goes, anything else gets a message.
    void photoNamesFromTheDatabaseAreNotTrusted()
    {
        QFETCH(QString, stored);
        QFETCH(bool, opened);
        QVERIFY(QDir().mkpath(AppPaths::photoDir()));
        QFile::copy(sourcePhoto(u"dcim"_s, u"a.png"_s, "a"), photoPath(u"2026-00001-IMG.JPG"_s));
        QFile program(photoPath(u"xterm.jpg"_s));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("\x7f"
                      "ELF\x02\x01\x01");
        program.close();
        QFile::link(sourcePhoto(u"elsewhere"_s, u"b.png"_s, "b"), photoPath(u"out.jpg"_s));
        const QString id = addOrder();
        m_w->data().SetOrderRepairImage(id, stored);
        startWindow();
        m_w->ActionOrderImageShow->trigger();
        m_w->ActionOrderImagePrint->trigger(); // the print dialog is cancelled
        QCOMPARE(m_ui->openedUrls,
                 opened ? QList<QUrl> { QUrl::fromLocalFile(photoPath(stored)) } : QList<QUrl> {});
        QCOMPARE(m_ui->messageTexts(),
                 opened ? QStringList {}
                        : QStringList(2, formatText(rpxText("Rpx2.PhotoNotUsable"), { stored })));
    }

    // A Polish shop reads Polish where the program chose the words, in the window and the
    // about box (with the build date in the program's date format).
    void polishShopSeesPolishWords()
    {
        CSimpleResources::instance().load(AppPaths::languageFile(u"pl"_s));
        const auto czech = qScopeGuard(
            [] { CSimpleResources::instance().load(AppPaths::languageFile(u"cs"_s)); });
        m_w.reset();
        m_w = std::make_unique<TRpx2Form>();
        QVERIFY(m_w->start());
        QString about;
        m_ui->dialogHandlers.push_back([&](QDialog &dialog) {
            about = dialog.findChild<QLabel *>(u"VersionLabel"_s)->text();
            return int(QDialog::Accepted);
        });
        m_w->ActionAbout->trigger();
        QCOMPARE(m_w->ActionOrderHold->text() + u'|' + m_w->ActionOrderClear->text() + u'|'
                     + m_w->CustomerNameEditFilter->toolTip(),
                 u"Zaznacz|Wyczyść|Filtr listy zleceń"_s);
        QVERIFY2(QRegularExpression(
                     u"^Wersja 1\\.\\d+\\.\\d+<br>Zbudowano \\d\\d\\.\\d\\d\\.20\\d\\d$"_s)
                     .match(about)
                     .hasMatch(),
                 qPrintable(about));
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
        order.OrderBatteryType = wanted.battery;
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
        QApplication::setActiveWindow(m_w.get());
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    }
    void addListRow(const QString &table, int id, const QString &name)
    {
        m_w->data().ExecuteCommand(u"INSERT INTO %1 VALUES (?, ?)"_s.arg(table), { id, name });
    }
    // A picture in a folder of the "camera", another folder than the shop's.
    QString sourcePhoto(const QString &folder, const QString &name, const QByteArray &content)
    {
        QDir(m_camera->path()).mkpath(folder);
        const QString path = m_camera->filePath(folder + QLatin1Char('/') + name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(picture(content));
        return path;
    }
    QString storedPhoto(const QString &orderId)
    {
        return m_w->data().GetOrder(orderId).value_or(COrder {}).OrderRepairImage;
    }

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<FakeUi> m_ui;
    std::unique_ptr<TRpx2Form> m_w;
    std::unique_ptr<QTemporaryDir> m_camera;
};

QTEST_MAIN(TestGuiActions)
#include "tst_gui_actions.moc"
