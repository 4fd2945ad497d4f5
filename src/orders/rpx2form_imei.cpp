// The main window's IMEI box: the stolen-phone register, the shop's history of the device
// (a returning device reopens its earlier order) and the box's look.
#include "app/rpx2form.h"

#include "app/ui.h"
#include "notify/mailhandoff.h"
#include "orders/imeichecks.h"
#include "orders/suggestcombobox.h"

#include "config.h"
#include "rpx2data.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QToolButton>

void TRpx2Form::connectImeiAndNotify()
{
    ImeiChecks::onFocusLeave(OrderPhoneIMEIEdit, [this] { OrderPhoneIMEIEditExit(); });
    // The look follows the text: a mistyped check digit shows while the clerk types.
    connect(OrderPhoneIMEIEdit, &QLineEdit::textChanged, this, [this] { setImeiBackground(); });
    ActionNotifyEmail->setIcon(MailHandOff::envelopeIcon());
    ActionNotifyEmail->setToolTip(QStringLiteral("E-mail zákazníkovi"));
    ActionNotifyEmail->setEnabled(false); // until an order with an address is shown
    connect(OrderCustomerEMailEdit, &QLineEdit::textChanged, this,
            [this](const QString &address) { ActionNotifyEmail->setEnabled(!address.isEmpty()); });
}

// Runs when the focus leaves the IMEI box after the clerk has changed it (tabbing through
// or a click elsewhere does not ask the register again).
void TRpx2Form::OrderPhoneIMEIEditExit()
{
    if (!OrderPhoneIMEIEdit->isModified())
        return;
    OrderPhoneIMEIEdit->setModified(false);
    CConfig &config = m_data->config();
    const QString imei = OrderPhoneIMEIEdit->text();
    if (imei.isEmpty() || imei == config.GetNullImei())
        return;
    ImeiChecks::checkRegister(*m_data, imei, StatusPanel0);
    if (!config.GetJoinExistingOrder() || m_state != OrderFormState::Insert)
        return;

    const std::optional<COrder> earlier = m_data->GetLastOrderByImei(imei);
    if (!earlier)
        return;
    OrderView view = readOrderView(*earlier);
    const std::optional<CCustomer> owner = view.customer;
    Ui::instance().message(formatText(
        rpxText("Rpx2.OrderAlreadyExists"),
        { earlier->OrderID, earlier->OrderPhoneType,
          QLocale::system().toString(earlier->OrderIssueDate.date(), QLocale::ShortFormat),
          earlier->OrderPhoneIMEI, earlier->OrderFaultDescription, earlier->OrderRepairDescription,
          owner ? owner->CustomerName : QString() }));
    view.order.AppendVisitMark();
    // A fault typed before the IMEI belongs to this visit: it follows the mark.
    view.order.OrderFaultDescription += OrderFaultDescriptionMemo->toPlainText();

    // The earlier order goes on with its customer. When that customer is gone, the boxes
    // keep what the clerk typed and storing makes it a new customer.
    if (!owner) {
        CCustomer typed;
        typed.CustomerCode = OrderCustomerCodeEdit->text();
        view.customer = customerFromBoxes(typed);
    }
    // A photo chosen for the new order is not copied: the earlier order keeps its own.
    m_pendingPhotoSource.clear();
    // Still in insert: the change handlers stay quiet while the controls are filled.
    fillOrderControls(view);
    if (owner)
        m_customer = owner;
    // Storing now updates the earlier order under its own number, provided no other program
    // changed it since it was read here. The form keeps counting as changed (the visit mark
    // is not stored yet), so that cancelling asks first. (Insert and edit enable the same
    // controls, so the state is set directly.)
    m_loadedOrder = earlier;
    m_state = OrderFormState::Edit;
    UpdateAccessoryControls();
}
