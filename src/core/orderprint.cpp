#include "orderprint.h"

#include "clock.h"
#include "config.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLocale>

#include <algorithm>

QString orderPrintFormName(OrderPrintForm form)
{
    switch (form) {
    case OrderPrintForm::TOrderPrintReceiptSingleForm:
        return QStringLiteral("TOrderPrintReceiptSingleForm");
    case OrderPrintForm::TOrderPrintReceiptForm:
        return QStringLiteral("TOrderPrintReceiptForm");
    case OrderPrintForm::TOrderPrintReceiptFormMulti:
        return QStringLiteral("TOrderPrintReceiptFormMulti");
    case OrderPrintForm::TOrderPrintIssueSingleForm:
        return QStringLiteral("TOrderPrintIssueSingleForm");
    case OrderPrintForm::TOrderPrintIssueForm:
        return QStringLiteral("TOrderPrintIssueForm");
    case OrderPrintForm::TOrderPrintIssueFormMulti:
        return QStringLiteral("TOrderPrintIssueFormMulti");
    }
    return {};
}

OrderPrintForm chooseOrderPrintForm(OrderPrintKind kind, bool held, int printMode)
{
    if (kind == OrderPrintKind::Receipt) {
        if (held)
            return OrderPrintForm::TOrderPrintReceiptFormMulti;
        return printMode == 1 ? OrderPrintForm::TOrderPrintReceiptSingleForm
                              : OrderPrintForm::TOrderPrintReceiptForm;
    }
    if (held)
        return OrderPrintForm::TOrderPrintIssueFormMulti;
    return printMode == 1 ? OrderPrintForm::TOrderPrintIssueSingleForm
                          : OrderPrintForm::TOrderPrintIssueForm;
}

OrderPrintData loadOrderPrintData(TRpx2Data &data, const QString &orderId,
                                  const QStringList &heldOrderIds)
{
    OrderPrintData d;
    const QList<TRpx2Data::PrintRow> current = data.GetOrdersForPrint({ orderId });
    if (heldOrderIds.isEmpty()) {
        d.orders = current;
    } else {
        QStringList ids = heldOrderIds;
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        d.orders = data.GetOrdersForPrint(ids);
        // The list is headed by the customer shown in the main window, unless none of the
        // held orders is theirs: then a receipt would name someone else's devices.
        const bool currentOwnsOne = !current.isEmpty() && current.first().customer.CustomerID != 0
            && std::any_of(d.orders.cbegin(), d.orders.cend(), [&](const auto &row) {
                   return row.customer.CustomerID == current.first().customer.CustomerID;
               });
        if (currentOwnsOne || d.orders.isEmpty())
            d.heldCustomer = current.isEmpty() ? CCustomer() : current.first().customer;
        else
            d.heldCustomer = d.orders.first().customer;
    }

    CConfig &config = data.config();
    // The system's short date, with the year in full: a receipt is kept for years.
    QString dateFormat = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!dateFormat.contains(QLatin1String("yyyy")))
        dateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    d.dateText = QLocale::system().toString(Clock::today(), dateFormat);
    d.cashName = config.GetCashName();
    d.trackingUrl = config.GetOrderWwwUrl();
    d.agreement = config.GetAgreementText();
    d.mainCurrency = config.GetMainCurrency();
    d.secondaryCurrency = config.GetSecondaryCurrency();
    d.useSecondaryCurrency = config.GetUseSecondaryCurrency();
    d.footer = config.GetCreatedInProgramText();
    d.shopName = config.GetShopName();
    d.shopAddress = config.GetShopAddress();
    d.shopIdentification = config.GetShopIdentification();

    // A logo that is not set or whose file is gone is left out silently; one that cannot
    // be read is reported, and the document is printed without it.
    const QString logoFile = config.GetLogoFileName();
    if (!logoFile.isEmpty() && QFileInfo(logoFile).isFile()) {
        QImageReader reader(logoFile);
        reader.setAutoTransform(true);
        d.logo = reader.read();
        if (d.logo.isNull())
            d.logoError
                = QStringLiteral("Soubor s logem nelze otevřít!\n\n") + reader.errorString();
    }
    d.logoStretch = config.GetLogoOptions().contains(QLatin1Char('S'));
    return d;
}

PrintDocument makeOrderPrint(TRpx2Data &data, OrderPrintKind kind, const QString &orderId,
                             const QStringList &heldOrderIds)
{
    const int mode = kind == OrderPrintKind::Receipt ? data.config().GetReceiptPrintMode()
                                                     : data.config().GetIssuePrintMode();
    const OrderPrintForm form = chooseOrderPrintForm(kind, !heldOrderIds.isEmpty(), mode);
    const OrderPrintData printData = loadOrderPrintData(data, orderId, heldOrderIds);
    PrintDocument document = buildOrderPrint(form, printData);
    document.warning = printData.logoError;
    return document;
}
