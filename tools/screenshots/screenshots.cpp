// Opens the program's windows on a given shop folder and saves a picture of each one.
// Usage: repaxo-screenshots SHOP_DIR OUT_DIR   (SHOP_DIR holds rpx3.db and the language files)
#include "app/rpx2form.h"
#include "app/ui.h"
#include "customers/customereditform.h"
#include "customers/customersearchform.h"
#include "intake/ordermultiform.h"
#include "notify/notifyform.h"
#include "options/optionsform.h"
#include "orders/filtersform.h"
#include "orders/orderupdateform.h"
#include "orders/suggestcombobox.h"
#include "summary/ordersummaryform.h"

#include "apppaths.h"
#include "config.h"
#include "rpx2data.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {
QString g_out;

void save(QWidget *widget, const QString &name)
{
    widget->show();
    QApplication::processEvents();
    QTest::qWait(150);
    widget->grab().save(g_out + QLatin1Char('/') + name + QStringLiteral(".png"));
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        qWarning("usage: repaxo-screenshots SHOP_DIR OUT_DIR");
        return 2;
    }
    AppPaths::setProgramDir(QString::fromLocal8Bit(argv[1]));
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);

    TRpx2Form window;
    if (!runGuarded([&] { window.start(); }))
        return 1;
    window.data().config().SetShowOrders(true);
    window.ShowOrderList(true);
    save(&window, QStringLiteral("main-window"));

    window.ActionOrderNew->trigger();
    window.OrderCustomerNameEdit->setText(QStringLiteral("Jana Dvořáková"));
    window.OrderCustomerPhoneNoEdit->setText(QStringLiteral("+420 605 112 334"));
    window.OrderFaultDescriptionMemo->setPlainText(QStringLiteral("Prasklý displej, nereaguje dotyk v dolní části."));
    window.OrderPhoneIMEIEdit->setText(QStringLiteral("356938035643809"));
    save(&window, QStringLiteral("main-window-new-order"));
    window.ActionOrderCancel->trigger();

    {
        TOptionsForm options(&window);
        auto *tabs = options.findChild<QTabWidget *>();
        for (int i = 0; tabs && i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            save(&options, QStringLiteral("options-%1").arg(i + 1));
        }
    }
    {
        TFiltersForm lists(&window);
        save(&lists, QStringLiteral("lists"));
    }
    {
        TOrderUpdateForm rename(&window);
        rename.setValue(QStringLiteral("Petr Novák"));
        save(&rename, QStringLiteral("rename"));
    }
    {
        TCustomerSearchForm search(&window);
        save(&search, QStringLiteral("customer-search"));
    }
    {
        TCustomerEditForm edit(&window);
        CCustomer c;
        c.CustomerCode = QStringLiteral("48213977");
        c.CustomerShowCode = true;
        c.CustomerName = QStringLiteral("Jana Dvořáková");
        c.CustomerStreet = QStringLiteral("Husova 12");
        c.CustomerCity = QStringLiteral("Brno");
        c.CustomerPSC = QStringLiteral("602 00");
        c.CustomerPhoneNo = QStringLiteral("+420 605 112 334");
        c.CustomerEMail = QStringLiteral("jana.dvorakova@example.cz");
        edit.setCustomer(c);
        save(&edit, QStringLiteral("customer-edit"));
    }
    {
        window.data().config().SetSummaryFilePath(QStringLiteral("/home/prodejna/uzaverky/"));
        TOrderSummaryForm summaries(&window);
        save(&summaries, QStringLiteral("summaries"));
    }
    {
        TNotifyForm notify(&window,
                           { { QStringLiteral("COM1"), QStringLiteral("Komunikační port") },
                             { QStringLiteral("COM3"), QStringLiteral("GSM modem (USB)") } });
        save(&notify, QStringLiteral("notify-email"));
        notify.findChild<QTabWidget *>()->setCurrentIndex(1);
        notify.findChild<QComboBox *>(QStringLiteral("ComboPort"))->setCurrentIndex(1);
        save(&notify, QStringLiteral("notify-sms"));
    }
    {
        TOrderMultiForm multi(&window);
        multi.resize(multi.width(), 620);
        multi.show();
        QApplication::processEvents();
        multi.findChild<QLineEdit *>(QStringLiteral("CustomerNameEdit"))
            ->setText(QStringLiteral("Jana Dvořáková"));
        multi.findChild<QLineEdit *>(QStringLiteral("CustomerPhoneEdit"))
            ->setText(QStringLiteral("+420 605 112 334"));
        multi.findChild<QLineEdit *>(QStringLiteral("CustomerEmailEdit"))
            ->setText(QStringLiteral("jana.dvorakova@example.cz"));
        const char *faults[] = { "Prasklý displej", "Nenabíjí, konektor volný" };
        const char *imeis[] = { "356938035643809", "490154203237518" };
        const char *types[] = { "Apple iPhone 12", "Samsung Galaxy A34" };
        for (int n = 1; n <= 2; ++n) {
            auto *row = multi.findChild<QWidget *>(QStringLiteral("MultiPanelRecord%1").arg(n));
            row->findChild<SuggestComboBox *>(QStringLiteral("MultiComboBoxPhoneType"))
                ->setSingleEntry(QLatin1String(types[n - 1]));
            row->findChild<QLineEdit *>(QStringLiteral("MultiEditPhoneIMEI"))
                ->setText(QLatin1String(imeis[n - 1]));
            row->findChild<QPlainTextEdit *>(QStringLiteral("MultiMemoNote"))
                ->setPlainText(QString::fromUtf8(faults[n - 1]));
            row->findChild<QLineEdit *>(QStringLiteral("MultiEditPrice"))
                ->setText(n == 1 ? QStringLiteral("1890") : QStringLiteral("450"));
        }
        save(&multi, QStringLiteral("multi-intake"));
        multi.hide();
    }
    return 0;
}
