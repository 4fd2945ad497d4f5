#include "printlayout.h"

#include "rpxerror.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

namespace {

// Texts are measured at the resolution the printer and the PDF are painted at, so that a
// line that fits when it is laid out also fits when it is printed.
constexpr int MeasureDpi = 1200;
// A little room at the end of each line for rounding on devices of other resolutions.
constexpr qreal WidthReserveMm = 0.4;

QPaintDevice *measureDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        const int dotsPerMeter = qRound(MeasureDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

qreal mmToDevice(qreal mm)
{
    return mm / 25.4 * MeasureDpi;
}

qreal deviceToMm(qreal px)
{
    return px * 25.4 / MeasureDpi;
}

// One paragraph per hard line break, tabs as blanks, no line breaks at the ends.
QString plainText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    while (text.startsWith(QLatin1Char('\n')))
        text.remove(0, 1);
    return text;
}

struct WrappedLine
{
    QString text;
    qsizetype start = 0; // where the line begins in the text
};

QList<WrappedLine> wrap(const QString &text, const QFont &font, qreal widthMm)
{
    QString laid = text;
    laid.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(laid, font, measureDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QList<WrappedLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(mmToDevice(widthMm));
        QString part = laid.mid(line.textStart(), line.textLength());
        part.remove(QChar::LineSeparator);
        while (part.endsWith(QLatin1Char(' ')))
            part.chop(1);
        lines.append({ part, line.textStart() });
    }
    layout.endLayout();
    return lines;
}

QString formatMm(qreal value)
{
    return QString::number(value, 'f', 1);
}

} // namespace

// ---------------------------------------------------------------------------------------
// PrintDocument

void PrintDocument::preparePage(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

void PrintDocument::print(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        throw RpxError(QStringLiteral("Dokument „%1“ nelze vytisknout.").arg(title));
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, i);
    }
    painter.end();
}

void PrintDocument::paintPage(QPainter &painter, int index) const
{
    if (index < 0 || index >= pages.size())
        return;
    const qreal sx = painter.device()->logicalDpiX() / 25.4;
    const qreal sy = painter.device()->logicalDpiY() / 25.4;
    auto toDevice = [&](const QRectF &r) {
        return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
    };
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);
    for (const PrintItem &item : pages.at(index)) {
        switch (item.kind) {
        case PrintItem::Kind::Text:
            painter.setFont(PrintCanvas::font(item.pointSize, item.bold));
            painter.setPen(Qt::black);
            painter.drawText(toDevice(item.rect),
                             int(item.alignment | Qt::AlignTop) | Qt::TextSingleLine
                                 | Qt::TextDontClip,
                             item.text);
            break;
        case PrintItem::Kind::Line: {
            QPen pen(Qt::black);
            pen.setWidthF(0.25 * sx);
            painter.setPen(pen);
            const QRectF r = toDevice(item.rect);
            painter.drawLine(r.topLeft(), r.bottomRight());
            break;
        }
        case PrintItem::Kind::Image:
            painter.drawImage(toDevice(item.rect), item.image);
            break;
        }
    }
    painter.restore();
}

void PrintDocument::writePdf(const QString &fileName) const
{
    QSaveFile file(fileName);
    const auto fail = [&](const QString &reason) {
        throw RpxError(QStringLiteral("Soubor „%1“ nelze uložit; zkontrolujte, zda složka "
                                      "existuje a lze do ní zapisovat (%2).")
                           .arg(QDir::toNativeSeparators(fileName), reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(MeasureDpi);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Repaxo"));
        preparePage(writer);
        print(writer);
    }
    if (!file.commit())
        fail(file.errorString());
}

QString PrintDocument::dump() const
{
    QString out = name + QLatin1Char('\n');
    for (int i = 0; i < pages.size(); ++i) {
        out += QStringLiteral("page %1\n").arg(i + 1);
        for (const PrintItem &item : pages.at(i)) {
            const QRectF &r = item.rect;
            switch (item.kind) {
            case PrintItem::Kind::Text: {
                const char align = item.alignment & Qt::AlignRight ? 'R'
                    : item.alignment & Qt::AlignHCenter            ? 'C'
                                                                   : 'L';
                out += QStringLiteral("  text  %1,%2 %3x%4 %5%6 %7 \"%8\"\n")
                           .arg(formatMm(r.x()), formatMm(r.y()), formatMm(r.width()),
                                formatMm(r.height()), QString::number(item.pointSize),
                                item.bold ? QStringLiteral("b") : QString(),
                                QChar::fromLatin1(align), item.text);
                break;
            }
            case PrintItem::Kind::Line:
                out += QStringLiteral("  line  %1,%2 - %3,%4\n")
                           .arg(formatMm(r.left()), formatMm(r.top()), formatMm(r.right()),
                                formatMm(r.bottom()));
                break;
            case PrintItem::Kind::Image:
                out += QStringLiteral("  image %1,%2 %3x%4 from %5x%6 px\n")
                           .arg(formatMm(r.x()), formatMm(r.y()), formatMm(r.width()),
                                formatMm(r.height()))
                           .arg(item.image.width())
                           .arg(item.image.height());
                break;
            }
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------
// PrintCanvas

qreal PrintCanvas::printableHeight()
{
    return (PrintDocument::PageHeight - TopMargin - BottomMargin) * 96.0 / 25.4;
}

PrintCanvas::PrintCanvas(QList<PrintItem> &page, qreal bandTop)
    : m_page(page)
    , m_bandTop(bandTop)
{ }

QFont PrintCanvas::font(qreal pointSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setFamilies({ QStringLiteral("Arial"), QStringLiteral("Liberation Sans") });
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // Unhinted outlines scale evenly from the measuring resolution to any printer's.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

qreal PrintCanvas::lineHeight(qreal pointSize, bool bold)
{
    const QFontMetricsF metrics(font(pointSize, bold), measureDevice());
    return deviceToMm(metrics.lineSpacing()) * 96.0 / 25.4;
}

qreal PrintCanvas::ascent(qreal pointSize)
{
    const QFontMetricsF metrics(font(pointSize, false), measureDevice());
    return deviceToMm(metrics.ascent()) * 96.0 / 25.4;
}

QRectF PrintCanvas::rectMm(qreal x, qreal y, qreal width, qreal height) const
{
    return QRectF(LeftMargin + toMm(x), TopMargin + toMm(m_bandTop + y), toMm(width), toMm(height));
}

void PrintCanvas::text(qreal x, qreal y, qreal width, const QString &text, const Style &style,
                       qreal minPointSize)
{
    QString line = plainText(text);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (line.isEmpty())
        return;
    const qreal widthMm = toMm(width) - WidthReserveMm;
    qreal size = style.pointSize;
    while (size > minPointSize
           && deviceToMm(
                  QFontMetricsF(font(size, style.bold), measureDevice()).horizontalAdvance(line))
               > widthMm)
        size = qMax(minPointSize, size - 0.5);
    const QFontMetricsF metrics(font(size, style.bold), measureDevice());
    if (deviceToMm(metrics.horizontalAdvance(line)) > widthMm)
        line = metrics.elidedText(line, Qt::ElideRight, mmToDevice(widthMm));
    PrintItem item;
    item.rect = rectMm(x, y, width, lineHeight(size, style.bold));
    item.text = line;
    item.pointSize = size;
    item.bold = style.bold;
    item.alignment = style.alignment;
    m_page.append(item);
}

void PrintCanvas::memo(qreal x, qreal y, qreal width, qreal height, const QString &text,
                       qreal pointSize, qreal minPointSize)
{
    const QString content = plainText(text);
    if (content.isEmpty())
        return;
    const qreal widthMm = toMm(width) - WidthReserveMm;
    qreal size = pointSize;
    QList<WrappedLine> lines;
    for (;;) {
        lines = wrap(content, font(size, false), widthMm);
        if (lines.size() * lineHeight(size) <= height || size <= minPointSize)
            break;
        size = qMax(minPointSize, size - 0.5);
    }
    const qreal step = lineHeight(size);
    const int fitting = qMax(1, int(height / step));
    if (lines.size() > fitting) {
        // The last line that fits takes the rest of the text, cut with "…".
        QString rest = content.mid(lines.at(fitting - 1).start);
        rest.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QFontMetricsF metrics(font(size, false), measureDevice());
        lines.resize(fitting);
        lines.last().text
            = metrics.elidedText(rest + QChar(0x2026), Qt::ElideRight, mmToDevice(widthMm));
    }
    for (int i = 0; i < lines.size(); ++i) {
        PrintItem item;
        item.rect = rectMm(x, y + i * step, width, step);
        item.text = lines.at(i).text;
        item.pointSize = size;
        m_page.append(item);
    }
}

void PrintCanvas::rule(qreal x1, qreal x2, qreal y)
{
    PrintItem item;
    item.kind = PrintItem::Kind::Line;
    item.rect = rectMm(x1, y, x2 - x1, 0);
    m_page.append(item);
}

void PrintCanvas::image(qreal x, qreal y, qreal width, qreal height, const QImage &picture,
                        bool stretch)
{
    if (picture.isNull())
        return;
    qreal w = width;
    qreal h = height;
    if (!stretch) {
        w = picture.width();
        h = picture.height();
        const qreal scale = qMin(1.0, qMin(width / w, height / h));
        w *= scale;
        h *= scale;
    }
    PrintItem item;
    item.kind = PrintItem::Kind::Image;
    item.rect = rectMm(x, y, w, h);
    item.image = picture;
    m_page.append(item);
}
