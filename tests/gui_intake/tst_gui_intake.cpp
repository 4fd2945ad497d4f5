// Taking devices in: leaving the IMEI box of the main window (the stolen-phone register, the
// shop's history and the reopened earlier order) and the multi-device intake dialog, stored
// by the main window.
#include "../gui_main/mainwindowshop.h"
#include "fakeregister.h"
#include "widgettools.h"

#include "intake/ordermultiform.h"
#include "orders/suggestcombobox.h"
#include "stolenphoneregister.h"

#include <QtWidgets>

using namespace Qt::StringLiterals;
using State = TRpx2Form::OrderFormState;

namespace {

const QString Imei = u"356938035643809"_s;
const QString Stolen = u"IMEI telefonu je evidováno jako odcizené policií ČR!"_s;

// Types into a box as the clerk does and leaves it for `next`.
void typeAndLeave(QLineEdit *box, const QString &ascii, QWidget *next)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, ascii);
    next->setFocus();
}

QWidget *row(QDialog &dialog, int n)
{
    return child<QWidget>(dialog, "MultiPanelRecord" + QByteArray::number(n));
}

template<typename T> T *inRow(QDialog &dialog, int n, const QByteArray &name)
{
    return child<T>(*row(dialog, n), name);
}

void showActive(QWidget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

int countRows(TRpx2Data &data, const QString &table)
{
    return column(data, u"SELECT count(*) FROM "_s + table).value(0).toInt();
}

} // namespace

class TestGuiIntake : public QObject
{
    Q_OBJECT

private slots:
    void imeiLeave_data()
    {
        QTest::addColumn<QString>("imei");
        QTest::addColumn<bool>("join");
        QTest::addColumn<bool>("newOrder"); // else the shown order is changed
        QTest::addColumn<QString>("pcrState"); // the register's state: found, not, down
        QTest::addColumn<QStringList>("messages"); // the start of each message shown
        QTest::addColumn<bool>("reopened");

        const QString history = u"Telefon s tímto IMEI už byl v servisu."_s;
        const QString down = u"Registr odcizených telefonů nelze ověřit"_s;
        QTest::newRow("placeholder: no check")
            << u"neni"_s << true << true << u"found"_s << QStringList() << false;
        QTest::newRow("stolen and returning")
            << Imei << true << true << u"found"_s << QStringList { Stolen, history } << true;
        QTest::newRow("register down, history still searched")
            << Imei << true << true << u"down"_s << QStringList { down, history } << true;
        QTest::newRow("joining switched off")
            << Imei << false << true << u"found"_s << QStringList { Stolen } << false;
        QTest::newRow("changing an order: register only")
            << Imei << true << false << u"found"_s << QStringList { Stolen } << false;
        QTest::newRow("unknown device, check digit mistyped")
            << u"490154203237517"_s << true << true << u"not"_s << QStringList() << false;
    }

    void imeiLeave()
    {
        QFETCH(QString, imei);
        QFETCH(bool, join);
        QFETCH(bool, newOrder);
        QFETCH(QString, pcrState);
        QFETCH(QStringList, messages);
        QFETCH(bool, reopened);

        FakeRegister pcr;
        pcr.silent = pcrState == u"down"_s;
        pcr.answer = pcrState == u"found"_s ? "<td>byl nalezen</td>" : "<td>nebyl nalezen</td>";
        QString earlier;
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetPcrImeiCheckUrl(pcr.url());
            data.config().SetNullImei(u"neni"_s);
            data.config().SetJoinExistingOrder(join);
            const int owner = addCustomer(data, u"Eva Černá"_s, u"Brno"_s, u"eva@example.cz"_s);
            earlier = addOrder(data,
                               { .state = OrderStates::HandedBack,
                                 .customerId = owner,
                                 .fault = u"Nenabíjí"_s,
                                 .repair = u"Konektor"_s,
                                 .imei = Imei,
                                 .finalPrice = 450,
                                 .issued = TestNow });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        w.data().PcrImeiDb().setTimeout(300);
        if (newOrder) {
            w.ActionOrderNew->trigger();
            w.OrderCustomerNameEdit->setText(u"Někdo jiný"_s);
            w.OrderFaultDescriptionMemo->setPlainText(u"Zase"_s);
        } else {
            w.ActionOrderChange->trigger();
        }
        typeAndLeave(w.OrderPhoneIMEIEdit, imei, w.OrderNoteMemo);

        QCOMPARE(s.ui.messages.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            QVERIFY2(s.ui.messages[i].text.startsWith(messages[i]),
                     qPrintable(s.ui.messages[i].text));
        QCOMPARE(pcr.requests.size(), imei == u"neni"_s ? 0 : pcrState == u"down"_s ? 1 : 2);
        QCOMPARE(w.orderFormState(), newOrder && !reopened ? State::Insert : State::Edit);
        QCOMPARE(w.OrderIDEdit->text(), reopened || !newOrder ? earlier : QString());
        // A wrong check digit is shown, not refused.
        QCOMPARE(w.OrderPhoneIMEIEdit->toolTip().isEmpty(), imei != u"490154203237517"_s);
        if (!reopened)
            return;

        // The earlier order and its customer are on screen with the visit marks; storing
        // updates it under its own number, and the next return counts on.
        QVERIFY(s.ui.messages.last().text.contains(u"Eva Černá"_s));
        QCOMPARE(w.OrderCustomerNameEdit->text(), u"Eva Černá"_s);
        const QString fault = w.OrderFaultDescriptionMemo->toPlainText();
        QVERIFY(fault.startsWith(u"Nenabíjí\n"_s) && fault.endsWith(u"\n1/Zase"_s));
        QVERIFY(w.OrderRepairDescriptionMemo->toPlainText().contains(u"; 450.00\n1/"_s));
        // Another counter changes the earlier order meanwhile: its change is kept.
        s.data().ExecuteCommand(u"UPDATE t_order_02 SET OrderNote = ? WHERE OrderID = ?"_s,
                                { u"z druhé pokladny"_s, earlier });
        w.ActionOrderStore->trigger();
        QCOMPARE(s.ui.messages.last().text, rpxText("Rpx2.OrderChangedMeanwhile"));
        w.ActionOrderStore->trigger();
        QCOMPARE(s.data().GetOrderCount() + countRows(s.data(), u"t_customer_02"_s), 2);
        const COrder stored = *s.data().GetOrder(earlier);
        QVERIFY(stored.OrderFaultDescription.endsWith(u"\n1/Zase"_s));
        QCOMPARE(stored.OrderNote, u"z druhé pokladny"_s);
        w.ActionOrderNew->trigger();
        typeAndLeave(w.OrderPhoneIMEIEdit, imei, w.OrderNoteMemo);
        QVERIFY(w.OrderFaultDescriptionMemo->toPlainText().endsWith(u"\n2/"_s));
    }

    // A whole intake through the main window: two rows on showing, fifteen at most, a row
    // e-mail, a new device type, a device that was here before bound to its row, an unticked
    // row left out. Another counter changes the earlier order meanwhile: the first OK stores
    // nothing and keeps the dialog open, the second stores everything once and keeps that
    // change.
    void multiIntake()
    {
        QString earlier;
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetFEPhone(true);
            data.config().SetOrderWwwUrl(u"https://servis.example/zakazky.php"_s);
            earlier = addOrder(data,
                               { .state = OrderStates::HandedBack,
                                 .customerId = addCustomer(data, u"Eva Černá"_s),
                                 .fault = u"Nenabíjí"_s,
                                 .imei = Imei,
                                 .issued = TestNow });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        int oks = 0;
        auto intake = [&](QDialog &dialog) {
            auto &form = static_cast<TOrderMultiForm &>(dialog);
            showActive(dialog);
            QVERIFY(row(dialog, 2)->isVisible()
                    && !dialog.findChild<QWidget *>(u"MultiPanelRecord3"_s));
            for (int n = 3; n <= 15; ++n) {
                QVERIFY(form.addRow());
                if (n > 3)
                    inRow<QCheckBox>(dialog, n, "MultiPhoneCheckBox")->click();
            }
            QVERIFY(!form.addRow());
            QCOMPARE(s.ui.messages.last().text, rpxText("OrderMulti.CantAddMore"));

            child<QLineEdit>(dialog, "CustomerNameEdit")->setText(u"Jan Dvořák"_s);
            child<QLineEdit>(dialog, "CustomerEmailEdit")->setText(u"jan@example.cz"_s);
            child<QDateEdit>(dialog, "ReceiptDateDateTimePicker")->setDate(QDate(2025, 6, 5));
            child<QTimeEdit>(dialog, "ReceiptTimeDateTimePicker")->setTime(QTime(14, 30));
            s.ui.inputs.push_back(u"Phone O'Neil"_s);
            click(dialog, "ButtonNewPhone");

            // Row 1: a new device, e-mailed; row 2: the earlier order; row 3: not ticked.
            auto *type = inRow<SuggestComboBox>(dialog, 1, "MultiComboBoxPhoneType");
            type->setFocus(); // typed in other letter case, written as the list has it
            type->setEditText(u"apple iphone 12"_s);
            typeAndLeave(inRow<QLineEdit>(dialog, 1, "MultiEditPhoneIMEI"), u"490154203237518"_s,
                         inRow<QPlainTextEdit>(dialog, 1, "MultiMemoNote"));
            inRow<QPlainTextEdit>(dialog, 1, "MultiMemoNote")->setPlainText(u"Displej"_s);
            inRow<QLineEdit>(dialog, 1, "MultiEditPrice")->setText(u"1250.50"_s);
            inRow<QToolButton>(dialog, 1, "MultiButtonEmail")->click();
            typeAndLeave(inRow<QLineEdit>(dialog, 2, "MultiEditPhoneIMEI"), Imei,
                         inRow<QPlainTextEdit>(dialog, 2, "MultiMemoNote"));
            QVERIFY(s.ui.messages.last().text.startsWith(u"Telefon v řádku 2 už byl v servisu."_s));
            QVERIFY(inRow<QPlainTextEdit>(dialog, 2, "MultiMemoNote")
                        ->toPlainText()
                        .endsWith(u"\n1/"_s));
            inRow<QLineEdit>(dialog, 2, "MultiEditPrice")->setText(u"300"_s);
            inRow<QPlainTextEdit>(dialog, 3, "MultiMemoNote")->setPlainText(u"nic"_s);
            inRow<QCheckBox>(dialog, 3, "MultiPhoneCheckBox")->click();

            s.data().ExecuteCommand(u"UPDATE t_order_02 SET OrderNote = ? WHERE OrderID = ?"_s,
                                    { u"z druhé pokladny"_s, earlier });
            for (oks = 1; oks <= 2 && dialog.isVisible(); ++oks) {
                click(dialog, "ButtonOk");
                if (oks == 1) { // nothing of the intake stored
                    QVERIFY(dialog.isVisible());
                    QVERIFY(s.ui.messages.last().text.contains(u"mezitím změnil"_s));
                    QCOMPARE(s.data().GetOrderCount() + countRows(s.data(), u"t_customer_02"_s), 2);
                }
            }
        };
        s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
            intake(dialog);
            return dialog.result();
        });
        w.ActionOrderNewMulti->trigger();

        QCOMPARE(oks, 3);
        QCOMPARE(s.ui.questions.last().text,
                 u"Počet přidávaných zakázek: 2.\nPřejete si pokračovat?"_s);
        const QUrlQuery mailQuery(s.ui.openedUrls.value(0));
        QCOMPARE(mailQuery.queryItemValue(u"subject"_s, QUrl::FullyDecoded),
                 u"Zakázka Apple iPhone 12"_s);
        QVERIFY(mailQuery.queryItemValue(u"body"_s, QUrl::FullyDecoded)
                    .contains(u"Popis závady: Displej\nPopis opravy: \nPředběžná cena: 1250.50\n"
                              u"Cena opravy: \n\nStav zakázky můžete sledovat zde:\n"
                              u"https://servis.example/zakazky.php?imei=490154203237518\n"_s));
        QVERIFY(s.data().GetKnownPhoneNames().contains(u"Phone O'Neil"_s));

        QCOMPARE(s.data().GetOrderCount(), 2);
        const COrder fresh = s.data().GetOrdersByImei(u"490154203237518"_s).value(0);
        const COrder reopened = *s.data().GetOrder(earlier);
        const CCustomer customer = *s.data().GetCustomer(fresh.OrderCustomerID);
        QCOMPARE(customer.CustomerName, u"Jan Dvořák"_s);
        QCOMPARE(reopened.OrderCustomerID, customer.CustomerID);
        QCOMPARE(fresh.OrderReceiptDate, QDateTime(QDate(2025, 6, 5), QTime(14, 30)));
        QCOMPARE(fresh.OrderDeadlineDate, QDateTime(QDate(2025, 6, 23), QTime(0, 0)));
        // Not handed back: no day of hand-back; the earlier order keeps its own.
        QVERIFY(!fresh.OrderIssueDate.isValid());
        QCOMPARE(reopened.OrderIssueDate, TestNow);
        QCOMPARE(fresh.OrderExpectedPricePrimary, u"1250.5"_s);
        QCOMPARE(fresh.OrderPhoneType, u"Apple iPhone 12"_s);
        QVERIFY(fresh.OrderEmailSent && !reopened.OrderEmailSent);
        QCOMPARE(reopened.OrderStateID, OrderStates::New);
        QCOMPARE(reopened.OrderNote, u"z druhé pokladny"_s);
        QCOMPARE(w.OrderIDEdit->text(), listedOrders(w).value(0));
    }

    // What OK refuses, the question before the entries are dropped, and the customer: one
    // chosen in the search is linked as it is, typing into a box afterwards makes the boxes a
    // new customer with a code of its own.
    void multiIntakeChecks_data()
    {
        QTest::addColumn<bool>("customerSelect");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("message"); // key of the refusal, empty when OK passes
        QTest::newRow("customer must be chosen")
            << true << u"100"_s << u"OrderMulti.CustomerNotChosen"_s;
        QTest::newRow("price is no number") << false << u"12,5"_s << u"OrderMulti.PriceNotFilled"_s;
        QTest::newRow("empty price") << false << QString() << u"OrderMulti.PriceNotFilled"_s;
        QTest::newRow("chosen customer edited") << false << u"12.5"_s << QString();
    }

    void multiIntakeChecks()
    {
        QFETCH(bool, customerSelect);
        QFETCH(QString, price);
        QFETCH(QString, message);

        int chosen = 0;
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetCustomerSelect(customerSelect);
            chosen = addCustomer(data, u"Eva Černá"_s);
        });
        QVERIFY(s.start());
        TOrderMultiForm form(&s.w());
        showActive(form);
        inRow<QLineEdit>(form, 1, "MultiEditPrice")->setText(u"10"_s);
        inRow<QLineEdit>(form, 2, "MultiEditPrice")->setText(price);
        // Escape asks first; Cancel keeps the entries.
        s.ui.answers.push_back(Prompts::Answer::Cancel);
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(form.isVisible());
        QCOMPARE(s.ui.questions.last().text, rpxText("OrderMulti.CancelInput"));
        auto chooseFirstCustomer = [&] {
            s.ui.dialogHandlers.push_back([](QDialog &search) {
                auto *grid = child<QTableView>(search, "DBGrid1");
                grid->setCurrentIndex(grid->model()->index(0, 0));
                return int(QDialog::Accepted);
            });
            click(form, "CustomerSelectButton");
        };
        if (message.isEmpty()) {
            chooseFirstCustomer();
            QTest::keyClicks(child<QLineEdit>(form, "CustomerNameEdit"), u"ova"_s);
        }

        click(form, "ButtonOk");
        if (message.isEmpty()) {
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QCOMPARE(form.record(2)->OrderExpectedPricePrimary, u"12.5"_s);
            const CCustomer customer = *form.customer();
            QCOMPARE(customer.CustomerID, 0);
            QCOMPARE(customer.CustomerName, u"Eva Černáova"_s);
            QVERIFY(customer.CustomerCode != u"12345678"_s);
            return;
        }
        QCOMPARE(s.ui.messageTexts(), QStringList { rpxText(message.toLatin1().constData()) });
        QVERIFY(form.isVisible() && !form.record(1) && !form.record(2));
        if (message.endsWith(u"PriceNotFilled"_s)) {
            QTRY_VERIFY(inRow<QLineEdit>(form, 2, "MultiEditPrice")->hasFocus());
            return;
        }
        chooseFirstCustomer();
        click(form, "ButtonOk");
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.customer()->CustomerID, chosen);
    }
};

QTEST_MAIN(TestGuiIntake)
#include "tst_gui_intake.moc"
