// The main window's notification: the settings dialog and the e-mail to the customer of the
// order on screen.
#include "app/rpx2form.h"

#include "app/ui.h"
#include "notify/mailhandoff.h"
#include "notify/notifyform.h"
#include "orders/suggestcombobox.h"

#include "config.h"
#include "orderlist.h"
#include "rpx2data.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTimeEdit>

namespace {

// The date with the time of day, the time left out at midnight.
QString dateTimeText(const QDate &date, const QTime &time)
{
    const QLocale locale = QLocale::system();
    QString text = locale.toString(date, QLocale::ShortFormat);
    if (time != QTime(0, 0))
        text += QLatin1Char(' ') + locale.toString(time, QLocale::ShortFormat);
    return text;
}

} // namespace

void TRpx2Form::ActionNotifyExecute()
{
    TNotifyForm form(this);
    Ui::instance().exec(form);
}

void TRpx2Form::ActionNotifyEmailExecute()
{
    const QString imei = OrderPhoneIMEIEdit->text();
    const QString subject = formatText(rpxText("Rpx2.NotifyEmailSubject"), { OrderIDEdit->text() });
    const QString body = formatText(rpxText("Rpx2.NotifyEmailText"),
                                    { OrderPhoneTypeComboBox->value(), imei,
                                      dateTimeText(OrderReceiptDateDateTimePicker->date(),
                                                   OrderReceiptTimeDateTimePicker->time()),
                                      OrderFaultDescriptionMemo->toPlainText(),
                                      OrderRepairDescriptionMemo->toPlainText(),
                                      OrderPriceEdit->text(), OrderIssuePriceEdit->text(),
                                      MailHandOff::trackingLink(m_data->config(), imei) });
    // Without a mail program nothing was prepared: the order is not marked.
    if (!MailHandOff::open(OrderCustomerEMailEdit->text(), subject, body))
        return;

    OrderList &list = m_data->orderList();
    const int position = list.currentRow();
    m_emailSent = true;
    setImeiBackground();
    // A new order carries the mark into the database when it is stored.
    if (m_state == OrderFormState::Browse || m_state == OrderFormState::Edit) {
        m_data->SetOrderEmailSent(OrderIDEdit->text());
        // The mark is ours, not another program's change of the order being edited.
        if (m_loadedOrder && m_loadedOrder->OrderID == OrderIDEdit->text())
            m_loadedOrder->OrderEmailSent = true;
    }
    if (m_state == OrderFormState::Browse) {
        ReloadOrderList();
        if (!list.isEmpty())
            list.moveTo(qMin(position, list.rowCount() - 1));
    }
}
