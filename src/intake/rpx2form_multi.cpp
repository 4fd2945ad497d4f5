// The main window's multi-device intake: the dialog builds the customer and the orders, the
// main window stores them in one transaction and shows the list from its first row.
#include "app/rpx2form.h"

#include "app/ui.h"
#include "intake/ordermultiform.h"

#include "rpx2data.h"

void TRpx2Form::ActionOrderNewMultiExecute()
{
    // An order being taken in or changed would be dropped by the reload below.
    if (m_state == OrderFormState::Insert || m_state == OrderFormState::Edit)
        return;
    TOrderMultiForm form(this);
    form.setStore(
        [this](CCustomer &customer, QList<COrder> &orders, const QList<COrder> &asLoaded) {
            m_data->StoreIntake(customer, orders, asLoaded);
        });
    if (Ui::instance().exec(form) != QDialog::Accepted)
        return;
    ReloadOrderList();
    ShowOrderTotals();
}
