#pragma once

#include "printlayout.h"
#include "rpx2data.h"

#include <QImage>
#include <QStringList>

// The printed documents of an order: the intake receipt and the issue document, each
// one per page, two per page, or one list of the held orders.
enum class OrderPrintForm {
    TOrderPrintReceiptSingleForm,
    TOrderPrintReceiptForm,
    TOrderPrintReceiptFormMulti,
    TOrderPrintIssueSingleForm,
    TOrderPrintIssueForm,
    TOrderPrintIssueFormMulti,
};

enum class OrderPrintKind { Receipt, Issue };

QString orderPrintFormName(OrderPrintForm form);

// The document to print: the held-orders list when orders are held; otherwise the print
// mode decides: 1 one per page, any other value two per page.
OrderPrintForm chooseOrderPrintForm(OrderPrintKind kind, bool held, int printMode);

// Everything a document prints, read from the database and the settings when it is built.
struct OrderPrintData
{
    // The order to print (none when its number is unknown), or the held orders that still
    // exist, by ascending number.
    QList<TRpx2Data::PrintRow> orders;
    // Held-orders documents: the customer whose name and code head the list.
    CCustomer heldCustomer;

    QString dateText; // today in the system's short date format
    QString cashName;
    QString trackingUrl; // OrderWwwUrl
    QString agreement;
    QString mainCurrency;
    QString secondaryCurrency;
    bool useSecondaryCurrency = false;
    QString footer; // names the program that made the document, by language
    QString shopName;
    QString shopAddress;
    QString shopIdentification;
    QImage logo;
    bool logoStretch = false;
    QString logoError; // the message when the logo file could not be read
};

// Reads what the document needs. With held orders the order is the one current in the
// main window: its customer heads the list when it owns one of the held orders, otherwise
// the customer of the first held order does. Throws RpxError on database errors.
OrderPrintData loadOrderPrintData(TRpx2Data &data, const QString &orderId,
                                  const QStringList &heldOrderIds);

// Lays out the document's pages. Captions come from the language file (receipts) or are
// the fixed Czech texts (issue documents).
PrintDocument buildOrderPrint(OrderPrintForm form, const OrderPrintData &data);

// What the receipt or issue action prints: chooses the document by the held orders and the
// print mode, reads the data and lays it out. A logo that cannot be read is reported in
// the document's warning.
PrintDocument makeOrderPrint(TRpx2Data &data, OrderPrintKind kind, const QString &orderId,
                             const QStringList &heldOrderIds);
