// The layouts of the intake receipt and the issue document. Positions are layout pixels
// (96 dpi inside the printable area, see PrintCanvas), measured from the top of the band
// that holds them.
#include "orderprint.h"

#include "simpleresources.h"

namespace {

constexpr qreal FullWidth = 733.0; // the printable width, 194 mm
constexpr qreal RowStep = 15.5; // rows of the held-orders list
constexpr qreal TitleBand = 91.0; // held-orders documents
constexpr qreal DetailBand = 76.0;
constexpr qreal PageFooterBand = 19.0;

const PrintCanvas::Style Caption { 10.0, true, Qt::AlignRight };
const PrintCanvas::Style Value { 10.0, false, Qt::AlignLeft };
const PrintCanvas::Style Centred { 10.0, false, Qt::AlignHCenter };
const PrintCanvas::Style Footer { 8.0, false, Qt::AlignHCenter };

QString dots(int count)
{
    return QString(count, QLatin1Char('.'));
}

// The captions of one kind of document. Receipts take theirs from the language file; the
// issue documents print their Czech captions as they stand.
struct Captions
{
    QString title, company, address, date, customer, customerCode;
    QString orderNo, orderType, engineer, deadline, price, fault, repair, note;
    QString street, city, postCode, phoneNo, email, phoneType, imei, battery, batterySn;
    QString sign1, sign2, total, count, tracking;
};

Captions receiptCaptions()
{
    Captions c;
    c.title = rpxText("OrderPrintReceipt.TitleMain");
    c.company = rpxText("OrderPrintReceipt.TitleCompany");
    c.address = rpxText("OrderPrintReceipt.TitleAddress");
    c.date = rpxText("OrderPrintReceipt.TitleDate");
    c.customer = rpxText("OrderPrintReceipt.DetailOrderCustomerName");
    c.customerCode = rpxText("OrderPrintReceipt.DetailOrderCustomerCode");
    c.orderNo = rpxText("OrderPrintReceipt.DetailOrderNo");
    c.orderType = rpxText("OrderPrintReceipt.DetailOrderType");
    c.engineer = rpxText("OrderPrintReceipt.DetailOrderEngineer");
    c.deadline = rpxText("OrderPrintReceipt.DetailOrderDeadlineDate");
    c.price = rpxText("OrderPrintReceipt.DetailOrderExpectPrice");
    c.fault = rpxText("OrderPrintReceipt.DetailOrderFaultDescription");
    c.note = rpxText("OrderPrintReceipt.DetailOrderNote");
    c.street = rpxText("OrderPrintReceipt.DetailOrderCustomerStreet");
    c.city = rpxText("OrderPrintReceipt.DetailOrderCustomerCity");
    c.postCode = rpxText("OrderPrintReceipt.DetailOrderCustomerPostCode");
    c.phoneNo = rpxText("OrderPrintReceipt.DetailOrderCustomerPhoneNo");
    c.email = QStringLiteral("E-mail:");
    c.phoneType = rpxText("OrderPrintReceipt.DetailOrderPhoneType");
    c.imei = rpxText("OrderPrintReceipt.DetailOrderPhoneImei");
    c.battery = rpxText("OrderPrintReceipt.DetailOrderBatteryType");
    c.batterySn = rpxText("OrderPrintReceipt.DetailOrderBatterySn");
    c.sign1 = rpxText("OrderPrintReceipt.DetailSign1");
    c.sign2 = rpxText("OrderPrintReceipt.DetailSign2");
    c.total = QStringLiteral("Celkem:");
    c.count = QStringLiteral("Kusů:");
    c.tracking = rpxText("OrderPrintReceipt.TrackingUrl");
    return c;
}

Captions issueCaptions()
{
    Captions c;
    c.title = QStringLiteral("Výdejka");
    c.company = QStringLiteral("Firma:");
    c.address = QStringLiteral("Adresa:");
    c.date = QStringLiteral("Datum:");
    c.customer = QStringLiteral("Zákazník:");
    c.customerCode = QStringLiteral("Zákaznické číslo:");
    c.orderNo = QStringLiteral("Zakázka č.:");
    c.orderType = QStringLiteral("Typ opravy:");
    c.engineer = QStringLiteral("Technik:");
    c.deadline = QStringLiteral("Termín:");
    c.price = QStringLiteral("Cena:");
    c.fault = QStringLiteral("Závada:");
    c.repair = QStringLiteral("Oprava:");
    c.note = QStringLiteral("Poznámka:");
    c.phoneNo = QStringLiteral("Tel. č.:");
    c.phoneType = QStringLiteral("Telefon:");
    c.imei = QStringLiteral("IMEI:");
    c.battery = QStringLiteral("Baterie:");
    c.batterySn = QStringLiteral("SN:");
    c.sign1 = QStringLiteral("Vydal:");
    c.sign2 = QStringLiteral("Převzal:");
    c.total = QStringLiteral("Celkem:");
    c.count = QStringLiteral("Kusů:");
    // The tracking line is filled as on the receipt.
    c.tracking = rpxText("OrderPrintReceipt.TrackingUrl");
    return c;
}

class OrderDocumentBuilder
{
public:
    OrderDocumentBuilder(OrderPrintForm form, const OrderPrintData &data)
        : m_form(form)
        , m_data(data)
        , m_issue(form == OrderPrintForm::TOrderPrintIssueSingleForm
                  || form == OrderPrintForm::TOrderPrintIssueForm
                  || form == OrderPrintForm::TOrderPrintIssueFormMulti)
        , m_text(m_issue ? issueCaptions() : receiptCaptions())
    {
        m_document.name = orderPrintFormName(form);
        m_document.title = m_text.title;
        if (!m_data.orders.isEmpty() && m_form != OrderPrintForm::TOrderPrintReceiptFormMulti
            && m_form != OrderPrintForm::TOrderPrintIssueFormMulti)
            m_document.title += QLatin1Char(' ') + m_data.orders.first().order.OrderID;
    }

    PrintDocument build()
    {
        switch (m_form) {
        case OrderPrintForm::TOrderPrintReceiptSingleForm:
        case OrderPrintForm::TOrderPrintIssueSingleForm:
            singleCopy();
            break;
        case OrderPrintForm::TOrderPrintReceiptForm:
        case OrderPrintForm::TOrderPrintIssueForm:
            twoCopies();
            break;
        case OrderPrintForm::TOrderPrintReceiptFormMulti:
        case OrderPrintForm::TOrderPrintIssueFormMulti:
            heldOrders();
            break;
        }
        return m_document;
    }

private:
    // --- shared parts ---

    // Title, shop, date, logo and the customer above the first rule.
    void header(PrintCanvas &c, const CCustomer &customer)
    {
        c.text(8, 8, 200, m_text.title, { 25.0, true, Qt::AlignLeft }, 14.0);
        c.text(208, 8, 64, m_text.company, Caption);
        c.text(280, 8, 288, m_data.shopName, Value);
        c.text(208, 32, 64, m_text.address, Caption);
        // A shop address typed on several lines is printed on one.
        QStringList addressLines = m_data.shopAddress.split(QLatin1Char('\n'));
        for (QString &line : addressLines)
            line = line.trimmed();
        addressLines.removeAll(QString());
        c.text(280, 32, 288, addressLines.join(QStringLiteral(", ")), Value);
        c.text(280, 56, 288, m_data.shopIdentification, Value);
        c.text(576, 16, 100, m_text.date, { 10.0, true, Qt::AlignLeft });
        c.text(576, 40, 100, m_data.dateText, Value);
        c.image(680, 8, 50, 50, m_data.logo, m_data.logoStretch);
        c.text(8, 56, 89, m_text.customer, Caption);
        c.text(104, 56, 170, customer.CustomerName, Value);
        c.rule(0, FullWidth, 76);
    }

    void left(PrintCanvas &c, qreal y, const QString &caption, const QString &value)
    {
        c.text(8, y, 89, caption, Caption);
        c.text(104, y, 244, value, Value);
    }

    void right(PrintCanvas &c, qreal y, const QString &caption, const QString &value)
    {
        c.text(376, y, 89, caption, Caption);
        c.text(472, y, FullWidth - 472, value, Value);
    }

    // The customer code is printed only for customers who want it shown.
    void customerCode(PrintCanvas &c, qreal y, const CCustomer &customer)
    {
        if (!customer.CustomerShowCode)
            return;
        c.text(352, y, 113, m_text.customerCode, Caption);
        c.text(472, y, FullWidth - 472, customer.CustomerCode, Value);
    }

    // A caption with its block of text, the block's first line on the caption's baseline.
    static void block(PrintCanvas &c, qreal captionX, qreal y, const QString &caption, qreal x,
                      qreal width, qreal height, const QString &text, qreal pointSize)
    {
        c.text(captionX, y, x - 7 - captionX, caption, Caption);
        const qreal shift = PrintCanvas::ascent(Caption.pointSize) - PrintCanvas::ascent(pointSize);
        c.memo(x, y + shift, width, height - shift, text, pointSize);
    }

    void signatures(PrintCanvas &c, qreal y, int dotCount)
    {
        c.text(8, y, 89, m_text.sign1, Caption);
        c.text(104, y, 264, dots(dotCount), Value);
        c.text(376, y, 89, m_text.sign2, Caption);
        c.text(472, y, FullWidth - 472, dots(dotCount), Value);
    }

    // The tracking line, the terms and the line naming the program. Without a tracking
    // address the tracking line is left out rather than printed as a bare caption.
    void terms(PrintCanvas &c, qreal trackingY, qreal agreementY, qreal agreementHeight,
               qreal agreementPoints, qreal footerY)
    {
        if (!m_data.trackingUrl.isEmpty())
            c.text(0, trackingY, FullWidth, m_text.tracking + m_data.trackingUrl, Centred);
        c.memo(8, agreementY, 717, agreementHeight, m_data.agreement, agreementPoints, 5.5);
        c.text(0, footerY, FullWidth, m_data.footer, Footer);
    }

    const TRpx2Data::PrintRow &row() const
    {
        static const TRpx2Data::PrintRow none;
        return m_data.orders.isEmpty() ? none : m_data.orders.first();
    }

    QString orderNumber(const COrder &order) const { return m_data.cashName + order.OrderID; }

    static QString deadline(const COrder &order)
    {
        const QDate date = order.OrderDeadlineDate.date();
        return date.isValid() && date.year() >= 1900 ? date.toString(QStringLiteral("d.M.yyyy"))
                                                     : QString();
    }

    // The expected price as stored, with the order's currency or the configured one; with
    // the secondary currency in use also the secondary price ("1500 Kč / 60 Eur"). A price
    // that is not filled in prints as nothing.
    QString expectedPrice(const COrder &order, bool withSecondary) const
    {
        const auto part = [](const QString &price, const QString &currency) {
            return price.trimmed().isEmpty() ? QString() : price + QLatin1Char(' ') + currency;
        };
        QStringList parts;
        parts << part(order.OrderExpectedPricePrimary,
                      currencyOr(order.OrderExpectedCurrencyPrimary, m_data.mainCurrency));
        if (withSecondary && m_data.useSecondaryCurrency)
            parts << part(
                order.OrderExpectedPriceSecondary,
                currencyOr(order.OrderExpectedCurrencySecondary, m_data.secondaryCurrency));
        parts.removeAll(QString());
        return parts.join(QStringLiteral(" / "));
    }

    // The final price with two decimals and its currency, the secondary price beside it
    // when the secondary currency is in use.
    QString finalPrice(const COrder &order, bool withSecondary) const
    {
        QString text = money(order.OrderFinalPricePrimary,
                             currencyOr(order.OrderFinalCurrencyPrimary, m_data.mainCurrency));
        if (withSecondary && m_data.useSecondaryCurrency)
            text += QStringLiteral(" / ")
                + money(order.OrderFinalPriceSecondary,
                        currencyOr(order.OrderFinalCurrencySecondary, m_data.secondaryCurrency));
        return text;
    }

    static QString money(double value, const QString &currency)
    {
        return QString::asprintf("%.2f", value) + QLatin1Char(' ') + currency;
    }

    static QString currencyOr(const QString &stored, const QString &configured)
    {
        return stored.isEmpty() ? configured : stored;
    }

    static QString accessories(const COrder &order)
    {
        QStringList parts;
        if (order.OrderSIM)
            parts << rpxText("OrderPrintIssue.DetailOrderListSim");
        if (order.OrderCharger)
            parts << rpxText("OrderPrintIssue.DetailOrderListCharger");
        if (order.OrderCover)
            parts << rpxText("OrderPrintIssue.DetailOrderListCover");
        return parts.join(QStringLiteral(", "));
    }

    // --- one order ---

    // The rows of the receipt: order on the left, customer and device on the right. The
    // fault and the note are full-width blocks on the one-per-page receipt.
    void receiptRows(PrintCanvas &c, bool onePerPage)
    {
        const TRpx2Data::PrintRow &r = row();
        const COrder &o = r.order;
        const bool exists = !m_data.orders.isEmpty();
        left(c, 88, m_text.orderNo, orderNumber(o));
        left(c, 104, m_text.orderType, r.typeName);
        left(c, 120, m_text.engineer, o.OrderEngineerName);
        left(c, 136, m_text.deadline, deadline(o));
        left(c, 152, m_text.price, exists ? expectedPrice(o, true) : QString());
        if (onePerPage) {
            block(c, 8, 312, m_text.fault, 104, 625, 113, o.OrderFaultDescription, 10.0);
            block(c, 8, 440, m_text.note, 104, 625, 113, o.OrderNote, 10.0);
        } else {
            block(c, 8, 168, m_text.fault, 104, 265, 137, o.OrderFaultDescription, 7.0);
            block(c, 8, 312, m_text.note, 104, 265, 57, o.OrderNote, 7.0);
        }
        right(c, 88, m_text.customer, r.customer.CustomerName);
        customerCode(c, 104, r.customer);
        right(c, 120, m_text.street, r.customer.CustomerStreet);
        right(c, 136, m_text.city, r.customer.CustomerCity);
        right(c, 152, m_text.postCode, r.customer.CustomerPSC);
        right(c, 168, m_text.phoneNo, r.customer.CustomerPhoneNo);
        right(c, 184, m_text.email, r.customer.CustomerEMail);
        right(c, 200, m_text.phoneType, o.OrderPhoneType);
        right(c, 216, m_text.imei, o.OrderPhoneIMEI);
        right(c, 232, m_text.battery, o.OrderBatteryType);
        right(c, 248, m_text.batterySn, o.OrderBatterySN);
        c.text(472, 264, FullWidth - 472, accessories(o), Value);
    }

    // The rows of the issue document. Two per page: rows 24 px apart, the repair and the
    // note as small blocks. One per page: rows 16 px apart and three full-width blocks.
    void issueRows(PrintCanvas &c, bool onePerPage)
    {
        const TRpx2Data::PrintRow &r = row();
        const COrder &o = r.order;
        const bool exists = !m_data.orders.isEmpty();
        const qreal step = onePerPage ? 16 : 24;
        left(c, 88, m_text.orderNo, orderNumber(o));
        left(c, 88 + step, m_text.orderType, r.typeName);
        left(c, 88 + 2 * step, m_text.engineer, o.OrderEngineerName);
        left(c, 88 + 3 * step, m_text.deadline, deadline(o));
        left(c, 88 + 4 * step, m_text.price, exists ? finalPrice(o, true) : QString());
        right(c, 88, m_text.customer, r.customer.CustomerName);
        customerCode(c, 88 + step, r.customer);
        right(c, 88 + 2 * step, m_text.phoneNo, r.customer.CustomerPhoneNo);
        right(c, 88 + 3 * step, m_text.phoneType, o.OrderPhoneType);
        right(c, 88 + 4 * step, m_text.imei, o.OrderPhoneIMEI);
        right(c, 88 + 5 * step, m_text.battery, o.OrderBatteryType);
        right(c, 88 + 6 * step, m_text.batterySn, o.OrderBatterySN);
        c.text(472, 88 + 7 * step, FullWidth - 472, accessories(o), Value);
        if (onePerPage) {
            block(c, 8, 224, m_text.fault, 104, 625, 169, o.OrderFaultDescription, 10.0);
            block(c, 8, 408, m_text.repair, 104, 625, 169, o.OrderRepairDescription, 10.0);
            block(c, 8, 600, m_text.note, 104, 625, 169, o.OrderNote, 10.0);
        } else {
            block(c, 8, 208, m_text.repair, 104, 265, 153, o.OrderRepairDescription, 7.0);
            block(c, 376, 280, m_text.note, 472, FullWidth - 472, 81, o.OrderNote, 8.0);
            c.rule(0, FullWidth, 368);
        }
    }

    void rows(PrintCanvas &c, bool onePerPage)
    {
        if (m_issue)
            issueRows(c, onePerPage);
        else
            receiptRows(c, onePerPage);
    }

    void singleCopy()
    {
        QList<PrintItem> &page = m_document.pages.emplace_back();
        PrintCanvas c(page, 0);
        header(c, row().customer);
        rows(c, true);
        terms(c, 824, 848, m_issue ? 145 : 153, 8.0, 1032);
        signatures(c, 1008, 50);
    }

    // The shop's copy at the top, the customer's copy with the terms at the bottom.
    void twoCopies()
    {
        QList<PrintItem> &page = m_document.pages.emplace_back();
        PrintCanvas upper(page, 0);
        header(upper, row().customer);
        rows(upper, false);
        if (m_issue) {
            signatures(upper, 400, 50);
        } else {
            upper.rule(0, FullWidth, 376);
            signatures(upper, 408, 50);
        }
        upper.rule(0, FullWidth, 440);

        const qreal lowerHeight = m_issue ? 588 : 586;
        PrintCanvas lower(page, PrintCanvas::printableHeight() - lowerHeight);
        header(lower, row().customer);
        rows(lower, false);
        terms(lower, 376, m_issue ? 400 : 408, 129, 7.0, 568);
        signatures(lower, 544, m_issue ? 62 : 50);
    }

    // --- held orders ---

    void heldOrders()
    {
        const qreal bottom = PrintCanvas::printableHeight() - PageFooterBand;
        QList<PrintItem> *page = &m_document.pages.emplace_back();
        PrintCanvas title(*page, 0);
        header(title, m_data.heldCustomer);
        qreal top = TitleBand;
        const auto room = [&](qreal height) {
            if (top + height <= bottom)
                return;
            page = &m_document.pages.emplace_back();
            top = 0;
        };
        double total = 0.0;
        for (const TRpx2Data::PrintRow &r : m_data.orders) {
            room(DetailBand);
            PrintCanvas c(*page, top);
            detail(c, r.order);
            total += r.order.OrderFinalPricePrimary;
            top += DetailBand;
        }
        const qreal summaryHeight = m_issue ? 268 : 260;
        room(summaryHeight);
        PrintCanvas c(*page, top);
        summary(c, total);

        for (int i = 0; i < m_document.pages.size(); ++i) {
            PrintCanvas footer(m_document.pages[i], bottom);
            footer.text(0, 2, FullWidth, QStringLiteral("Strana: %1").arg(i + 1), Centred);
        }
    }

    void detail(PrintCanvas &c, const COrder &o)
    {
        const QString price = m_issue
            ? money(o.OrderFinalPricePrimary,
                    currencyOr(o.OrderFinalCurrencyPrimary, m_data.mainCurrency))
            : expectedPrice(o, false);
        const QString rows[][2] = { { m_text.orderNo, o.OrderID },
                                    { m_text.phoneType, o.OrderPhoneType },
                                    { m_text.imei, o.OrderPhoneIMEI },
                                    { m_text.price, price } };
        for (int i = 0; i < 4; ++i) {
            c.text(8, i * RowStep, 89, rows[i][0], Caption);
            c.text(104, i * RowStep, 160, rows[i][1], Value);
        }
        block(c, 264, 0, m_issue ? m_text.repair : m_text.fault, 360, 369, 62,
              m_issue ? o.OrderRepairDescription : o.OrderFaultDescription, 7.0);
        c.rule(0, FullWidth, 64);
    }

    // The count (and on the issue document the total), the customer code, the tracking
    // lines, the terms and the signatures after the last order.
    void summary(PrintCanvas &c, double total)
    {
        qreal y = 2;
        if (m_issue) {
            c.text(8, y, 89, m_text.total, Caption);
            c.text(104, y, 160, money(total, m_data.mainCurrency), Value);
            y += 16;
        }
        c.text(8, y, 89, m_text.count, Caption);
        c.text(104, y, 160, QString::number(m_data.orders.size()), Value);
        customerCode(c, 2, m_data.heldCustomer);
        if (!m_data.trackingUrl.isEmpty())
            c.text(376, 18, FullWidth - 376,
                   QStringLiteral("Sledování zakázek: ") + m_data.trackingUrl, Value);
        c.rule(0, FullWidth, 37);
        terms(c, 40, 56, 145, 7.0, 242);
        signatures(c, 216, 50);
    }

    OrderPrintForm m_form;
    const OrderPrintData &m_data;
    bool m_issue;
    Captions m_text;
    PrintDocument m_document;
};

} // namespace

PrintDocument buildOrderPrint(OrderPrintForm form, const OrderPrintData &data)
{
    return OrderDocumentBuilder(form, data).build();
}
