// Printing from the main window: the offers after storing, the two print actions with the
// held orders and the print modes, the preview with its pages and the PDF saved from it.
#include "../gui_main/mainwindowshop.h"

#include "widgettools.h"

#include <QPrintPreviewWidget>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {

// Records the preview the window shows as "document: pages painted"; with a file name also
// saves the PDF from the preview.
std::function<int(QDialog &)> watchPreview(QString &seen, FakeUi &ui, const QString &pdf = {})
{
    return [&seen, &ui, pdf](QDialog &dialog) {
        auto *view = dialog.findChild<QPrintPreviewWidget *>();
        view->updatePreview();
        seen = dialog.property("documentName").toString() + u": "_s
            + QString::number(view->pageCount());
        if (!pdf.isEmpty()) {
            ui.fileNames.push_back(pdf);
            child<QAction>(dialog, "SavePdfAction")->trigger();
        }
        return int(QDialog::Rejected);
    };
}

} // namespace

class TestGuiPrint : public QObject
{
    Q_OBJECT

private slots:
    // Receipts are offered for new orders and orders in repair, issue documents for done
    // and handed-back ones, each only when its setting is on; Yes shows the preview.
    void offersAfterStoring_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("offered"); // PrintReceipt and PrintIssue
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("document");

        const QString receipt = u"Zakázka byla uložena.\nChcete vytisknout příjemku?"_s;
        const QString issue = u"Zakázka byla uložena.\nChcete vytisknout výdejku?"_s;
        QTest::newRow("new, yes") << 1 << true << true << receipt << u"TOrderPrintReceiptForm: 1"_s;
        QTest::newRow("in repair, no") << 2 << true << false << receipt << QString();
        QTest::newRow("in repair, off") << 2 << false << true << QString() << QString();
        QTest::newRow("done, yes") << 3 << true << true << issue << u"TOrderPrintIssueForm: 1"_s;
        QTest::newRow("handed back, off") << 4 << false << true << QString() << QString();
    }

    void offersAfterStoring()
    {
        QFETCH(int, state);
        QFETCH(bool, offered);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetPrintReceipt(offered);
            data.config().SetPrintIssue(offered);
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        w.ActionOrderNew->trigger();
        w.OrderStateComboBox->setCurrentIndex(w.OrderStateComboBox->findData(state));
        w.OrderCustomerNameEdit->setText(u"Čestmír Řehoř"_s);
        w.OrderRepairDescriptionMemo->setPlainText(u"Výměna displeje"_s);
        s.ui.answers.push_back(yes ? Prompts::Answer::Yes : Prompts::Answer::No);
        QString seen;
        s.ui.dialogHandlers.push_back(watchPreview(seen, s.ui));
        w.ActionOrderStore->trigger();

        QCOMPARE(s.ui.messageTexts(), QStringList());
        QCOMPARE(s.data().GetOrderCount(), 1);
        QCOMPARE(s.ui.questions.size(), question.isEmpty() ? 0 : 1);
        QCOMPARE(s.ui.questions.value(0).text, question);
        QTEST(seen, "document");
    }

    // The actions print the shown order by the print mode, or every held order; the PDF is
    // saved from the preview. Not while an order is being edited.
    void actions_data()
    {
        QTest::addColumn<bool>("issue");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("hold");
        QTest::addColumn<QString>("document");
        QTest::newRow("receipt, one per page")
            << false << 1 << false << u"TOrderPrintReceiptSingleForm: 1"_s;
        QTest::newRow("receipt, held") << false << 1 << true << u"TOrderPrintReceiptFormMulti: 1"_s;
        QTest::newRow("issue, two per page") << true << 2 << false << u"TOrderPrintIssueForm: 1"_s;
    }

    void actions()
    {
        QFETCH(bool, issue);
        QFETCH(int, mode);
        QFETCH(bool, hold);
        MainWindowShop s([&](TRpx2Data &data) {
            data.config().SetReceiptPrintMode(mode);
            data.config().SetIssuePrintMode(mode);
            addOrder(data,
                     { OrderStates::HandedBack, TestNow, addCustomer(data, u"Žofie Šťastná"_s) });
        });
        QVERIFY(s.start());
        TRpx2Form &w = s.w();
        if (hold)
            w.ActionOrderHold->trigger();
        QAction *action = issue ? w.ActionPrintIssue : w.ActionPrintReceipt;
        QString seen;
        const QString pdf = s.shop.path(u"saved.pdf"_s);
        s.ui.dialogHandlers.push_back(watchPreview(seen, s.ui, pdf));
        action->trigger();
        QTEST(seen, "document");
        QFile saved(pdf);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.read(5), QByteArray("%PDF-"));
        QCOMPARE(s.ui.messageTexts(), QStringList());
        w.ActionOrderNew->trigger();
        QVERIFY(!action->isEnabled());
    }
};

QTEST_MAIN(TestGuiPrint)
#include "tst_gui_print.moc"
