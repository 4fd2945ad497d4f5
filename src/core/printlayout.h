#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

class QFont;
class QPagedPaintDevice;
class QPainter;

// One thing printed on a page: a line of text, a rule or a picture. Rectangles are in
// millimetres from the top-left corner of the A4 sheet. Texts are single lines: wrapping
// and fitting happen when the item is made (PrintCanvas), so that the preview, the printer
// and a PDF all print exactly the same lines.
struct PrintItem
{
    enum class Kind { Text, Line, Image };
    Kind kind = Kind::Text;
    QRectF rect; // a rule runs from rect.topLeft() to rect.bottomRight()
    QString text;
    qreal pointSize = 10.0;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    QImage image;
};

// A printed document: A4 portrait pages of items. Paints onto any paged device (a printer,
// the print preview, a PDF writer).
class PrintDocument
{
public:
    static constexpr qreal PageWidth = 210.0; // mm
    static constexpr qreal PageHeight = 297.0;

    QString name; // the kind of document ("TOrderPrintReceiptForm")
    QString title; // the print job's and the PDF's title
    QString warning; // a problem met while building that did not stop it (a logo file)
    QList<QList<PrintItem>> pages;

    // An A4 portrait page without margins, so that the painter's origin is the sheet's
    // corner (a QPrinter also needs setFullPage(true)).
    static void preparePage(QPagedPaintDevice &device);
    // Paints every page, starting a new page between them. Throws RpxError when the
    // device cannot be painted on.
    void print(QPagedPaintDevice &device) const;
    void paintPage(QPainter &painter, int index) const;
    // Writes the document as a PDF file; an existing file is replaced only once the new
    // one is complete. Throws RpxError naming the file when it cannot be written.
    void writePdf(const QString &fileName) const;

    // Every item of every page as text, one line each, for tests and comparisons.
    QString dump() const;
};

// Places items on a page in the units of the document layouts: pixels at 96 dpi inside
// the printable area (8 mm from the left edge, 10 mm from the top), counted from the top
// of a band. Texts are measured in the documents' font at printer resolution.
class PrintCanvas
{
public:
    static constexpr qreal LeftMargin = 8.0; // mm
    static constexpr qreal TopMargin = 10.0;
    static constexpr qreal BottomMargin = 8.0;
    // The height of the printable area in layout pixels.
    static qreal printableHeight();
    static qreal toMm(qreal px) { return px * 25.4 / 96.0; }

    struct Style
    {
        qreal pointSize = 10.0;
        bool bold = false;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    PrintCanvas(QList<PrintItem> &page, qreal bandTop);

    // One line in a box of the given width. A text that does not fit is set smaller, down
    // to minPointSize, and then cut with "…". Line breaks become blanks.
    void text(qreal x, qreal y, qreal width, const QString &text, const Style &style,
              qreal minPointSize = 7.0);
    // A text wrapped into its block: set smaller while it does not fit, down to
    // minPointSize; what still does not fit is cut with "…" on the block's last line.
    // Nothing is printed below the block.
    void memo(qreal x, qreal y, qreal width, qreal height, const QString &text, qreal pointSize,
              qreal minPointSize = 6.0);
    void rule(qreal x1, qreal x2, qreal y);
    // A picture in its frame: stretched to the frame, or at its natural size (96 dpi) and
    // made smaller, keeping its proportions, when it is larger than the frame.
    void image(qreal x, qreal y, qreal width, qreal height, const QImage &image, bool stretch);

    // The documents' font: Arial, or a font with its metrics (Liberation Sans).
    static QFont font(qreal pointSize, bool bold);
    // The height of one line of the font and its height above the baseline, in layout
    // pixels.
    static qreal lineHeight(qreal pointSize, bool bold = false);
    static qreal ascent(qreal pointSize);

private:
    QRectF rectMm(qreal x, qreal y, qreal width, qreal height) const;
    QList<PrintItem> &m_page;
    qreal m_bandTop;
};
