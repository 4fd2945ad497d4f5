// Notifying the customer: the SMS port choice of the notification dialog, the e-mail of the
// order on screen and the links to the shop's tracking page.
#include "../gui_main/mainwindowshop.h"
#include "widgettools.h"

#include "notify/notifyform.h"
#include "textformat.h"

#include <QtWidgets>

using namespace Qt::StringLiterals;
using State = TRpx2Form::OrderFormState;

namespace {

const QString Imei = u"356938035643809"_s;

bool isGreen(QLineEdit *box)
{
    return box->palette().color(QPalette::Base) == QColor(0x7f, 0xff, 0x7f);
}

int emailedOrders(TRpx2Data &data)
{
    QSqlQuery q = data.OpenQuery(u"SELECT count(*) FROM t_order_02 WHERE OrderEmailSent = 1"_s);
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

class TestGuiNotify : public QObject
{
    Q_OBJECT

private slots:
    void portChoice_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<int>("choose"); // entry chosen by the clerk, -1: none
        QTest::addColumn<int>("shown"); // entry selected when the dialog opened
        QTest::addColumn<QString>("stored");
        QTest::newRow("two entries name the port: the last") << u"COM1"_s << -1 << 2 << u"COM1"_s;
        QTest::newRow("letter case matters, none chosen") << u"com1"_s << -1 << -1 << u"com1"_s;
        QTest::newRow("another port") << u"COM1"_s << 1 << 2 << u"COM3"_s;
    }

    void portChoice()
    {
        QFETCH(QString, configured);
        QFETCH(int, choose);

        MainWindowShop s(
            [&](TRpx2Data &data) { data.config().SetSmsNotificationPort(configured); });
        QVERIFY(s.start());
        TNotifyForm form(&s.w(),
                         { { u"COM1"_s, u"Komunikační port"_s },
                           { u"COM3"_s, u"GSM modem"_s },
                           { u"COM1"_s, u"Bluetooth"_s } });
        auto *ports = child<QComboBox>(form, "ComboPort");
        QCOMPARE(ports->itemText(0), u"COM1 (Komunikační port)"_s);
        QTEST(ports->currentIndex(), "shown");
        if (choose >= 0)
            ports->setCurrentIndex(choose);
        // The settings of the port are shown and kept nowhere.
        click(form, "ButtonPortSettings");
        QCOMPARE(s.ui.dialogsShown, QStringList { u"TPortSettingsForm"_s });
        click(form, "ButtonOk");
        QTEST(s.data().config().GetSmsNotificationPort(), "stored");
    }

    void emailOrder_data()
    {
        QTest::addColumn<QString>("state"); // browse, edit or new
        QTest::addColumn<bool>("mailProgram");
        QTest::newRow("shown order") << u"browse"_s << true;
        QTest::newRow("order being changed") << u"edit"_s << true;
        QTest::newRow("new order: marked when stored") << u"new"_s << true;
        QTest::newRow("no mail program") << u"browse"_s << false;
    }

    void emailOrder()
    {
        QFETCH(QString, state);
        QFETCH(bool, mailProgram);

        QString second;
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetOrderWwwUrl(u"https://servis.example/zakazky.php"_s);
            const int eva = addCustomer(data, u"Eva Černá"_s, {}, u"eva@example.cz"_s);
            addOrder(data, { .customerId = eva });
            second = addOrder(data, { .customerId = eva, .fault = u"Displej"_s, .imei = Imei });
            addOrder(data, { .customerId = addCustomer(data, u"Bez adresy"_s) });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        s.ui.openUrlResult = mailProgram;
        OrderList &list = s.data().orderList();
        QVERIFY(list.moveTo(list.rowOf(second)));
        const int row = list.currentRow();
        if (state == u"edit"_s)
            w.OrderNoteMemo->setPlainText(u"změna"_s);
        if (state == u"new"_s) {
            w.ActionOrderNew->trigger();
            QVERIFY(!w.NotifyEmailButton->isEnabled());
            w.OrderCustomerNameEdit->setText(u"Jan"_s);
            w.OrderCustomerEMailEdit->setText(u"jan@example.cz"_s);
            w.OrderPhoneIMEIEdit->setText(Imei);
        }
        QVERIFY(w.NotifyEmailButton->isVisible() && w.NotifyEmailButton->isEnabled());
        w.NotifyEmailButton->click();

        QCOMPARE(s.ui.openedUrls.size(), 1);
        const QUrlQuery mail(s.ui.openedUrls[0]);
        QCOMPARE(mail.queryItemValue(u"subject"_s, QUrl::FullyDecoded),
                 u"Zakázka "_s + (state == u"new"_s ? QString() : second));
        QVERIFY(mail.queryItemValue(u"body"_s, QUrl::FullyDecoded)
                    .contains(u"\nhttps://servis.example/zakazky.php?imei=356938035643809\n"_s));
        if (!mailProgram) {
            QCOMPARE(s.ui.messageTexts(), QStringList { rpxText("Rpx2.NotifyEmailFailed") });
            QVERIFY(!isGreen(w.OrderPhoneIMEIEdit));
            QCOMPARE(emailedOrders(s.data()), 0);
            return;
        }
        QVERIFY(s.ui.messages.isEmpty());
        QVERIFY(isGreen(w.OrderPhoneIMEIEdit));
        QCOMPARE(emailedOrders(s.data()), state == u"new"_s ? 0 : 1);
        QCOMPARE(s.data().GetOrder(second)->OrderEmailSent, state != u"new"_s);
        if (state == u"browse"_s) {
            QCOMPARE(list.currentRow(), row);
            QCOMPARE(w.orderFormState(), State::Browse);
        } else {
            QCOMPARE(w.orderFormState(), state == u"new"_s ? State::Insert : State::Edit);
            w.ActionOrderStore->trigger();
            QCOMPARE(emailedOrders(s.data()), 1);
            QVERIFY(s.data().GetOrder(w.OrderIDEdit->text())->OrderEmailSent);
        }
    }

    // The labels link to the shop's tracking page, and only to a web page: an address from
    // the shared database could name a program. Without an address there is no link.
    void trackingLinks()
    {
        MainWindowShop s([](TRpx2Data &data) {
            addOrder(data, { .customerId = addCustomer(data, u"Eva"_s), .imei = Imei });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        const QString program = u"file:///usr/bin/xterm"_s,
                      page = u"https://servis.example/z.php"_s;
        for (const QString &address : { QString(), program, page }) {
            s.data().SetConfigValue(u"OrderWwwUrl"_s, address);
            QTest::mouseClick(w.OrderPhoneIMEILabel, Qt::LeftButton);
        }
        QTest::mouseClick(w.CustomerCodeLabel, Qt::LeftButton);
        QCOMPARE(s.ui.messageTexts(),
                 QStringList { formatText(rpxText("Rpx2.WebAddressRefused"), { program }) });
        QCOMPARE(s.ui.openedUrls,
                 (QList<QUrl> { QUrl(page + u"?imei=356938035643809"_s),
                                QUrl(page + u"?customer=12345678"_s) }));
    }
};

QTEST_MAIN(TestGuiNotify)
#include "tst_gui_notify.moc"
