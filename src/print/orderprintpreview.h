#pragma once

class PrintDocument;
class QWidget;

// Shows a document in the modal print preview (through the Ui seam), from which the clerk
// prints it or saves it as a PDF file ("Uložit jako PDF"). The dialog's objectName is
// "OrderPrintPreview", its property "documentName" the document's kind, and its action
// "SavePdfAction" saves the PDF.
void showOrderPrintPreview(const PrintDocument &document, QWidget *parent);
