// The main window's printing: the receipt and issue actions and the offers to print after
// an order is stored.
#include "app/rpx2form.h"

#include "app/ui.h"
#include "print/orderprintpreview.h"

#include "config.h"
#include "orderlist.h"
#include "orderprint.h"
#include "records.h"
#include "rpx2data.h"
#include "simpleresources.h"

#include <QAction>

namespace {

void showDocument(TRpx2Form &form, OrderPrintKind kind, const QString &orderId)
{
    const PrintDocument document = makeOrderPrint(form.data(), kind, orderId, form.heldOrders());
    if (!document.warning.isEmpty())
        Ui::instance().message(document.warning, appErrorTitle(), Prompts::Icon::Warning);
    showOrderPrintPreview(document, &form);
}

} // namespace

void TRpx2Form::PrintOrderReceipt(const QString &orderId)
{
    showDocument(*this, OrderPrintKind::Receipt, orderId);
}

void TRpx2Form::PrintOrderIssue(const QString &orderId)
{
    showDocument(*this, OrderPrintKind::Issue, orderId);
}

void TRpx2Form::connectPrinting()
{
    connect(ActionPrintReceipt, &QAction::triggered, this, [this] {
        runGuarded([this] { PrintOrderReceipt(m_data->orderList().currentOrderId()); });
    });
    connect(ActionPrintIssue, &QAction::triggered, this, [this] {
        runGuarded([this] { PrintOrderIssue(m_data->orderList().currentOrderId()); });
    });
    // After a store: the receipt for a device taken in, the issue document for one that is
    // done or handed back, each when the shop wants to be asked.
    addStoreCompletion([this](const QString &orderId, int stateId) {
        CConfig &config = m_data->config();
        const auto wanted = [](const char *question) {
            return Ui::instance().ask(rpxText(question), rpxText("Global.AppPrint"),
                                      Prompts::Buttons::YesNo, Prompts::Icon::Question)
                == Prompts::Answer::Yes;
        };
        if ((stateId == OrderStates::New || stateId == OrderStates::InRepair)
            && config.GetPrintReceipt() && wanted("Rpx2.OrderSavedPrintReceipt"))
            PrintOrderReceipt(orderId);
        if ((stateId == OrderStates::Done || stateId == OrderStates::HandedBack)
            && config.GetPrintIssue() && wanted("Rpx2.OrderSavedPrintIssue"))
            PrintOrderIssue(orderId);
    });
}
