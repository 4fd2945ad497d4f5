// The main window's entry to the summaries.
#include "app/rpx2form.h"
#include "app/ui.h"
#include "summary/ordersummaryform.h"

void TRpx2Form::ActionOrderSumaryExecute()
{
    TOrderSummaryForm form(this, QStringLiteral("RPX2"));
    Ui::instance().exec(form);
}
