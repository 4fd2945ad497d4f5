// The printed documents without a window: each layout against its golden file (a text dump
// of every item with its rectangle, regenerated with REPAXO_UPDATE_GOLDEN=1), nothing
// overlapping or outside the printable area, the logo, the customer heading a held list, the
// choice of document, and the Czech texts of a PDF read back with pdftotext.
#include "orderprint.h"

#include "config.h"
#include "testshop.h"

#include <QGuiApplication>
#include <QImage>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Rectangles of two texts may touch but not overlap.
bool overlap(const QRectF &a, const QRectF &b)
{
    const QRectF common = a.intersected(b);
    return common.width() > 0.05 && common.height() > 0.05;
}

} // namespace

class TstPrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<DataShop> m_s;
    QString m_full; // an order with everything filled in, handed back
    QString m_sparse; // code hidden, only the charger, no currencies, a very long fault
    QStringList m_held; // orders of the customer of m_full

    CConfig &config() { return m_s->data.config(); }

    QString addOrder(int customerId, const QString &fault, bool everything)
    {
        COrder o;
        o.OrderTypeID = OrderTypes::Paid;
        o.OrderStateID = everything ? OrderStates::HandedBack : OrderStates::InRepair;
        o.OrderReceiptDate = QDateTime(QDate(2025, 6, 16), QTime(9, 15));
        o.OrderDeadlineDate = QDateTime(QDate(2025, 6, 23), QTime(0, 0));
        o.OrderCustomerID = customerId;
        o.OrderFaultDescription = fault;
        o.OrderExpectedPricePrimary = u"800"_s;
        o.OrderPhone = true;
        o.OrderPhoneType = u"Samsung Galaxy A52"_s;
        o.OrderPhoneIMEI = u"356938035643809"_s;
        o.OrderCharger = true;
        if (everything) {
            o.OrderExpectedPricePrimary = u"1500"_s;
            o.OrderExpectedCurrencyPrimary = u"Kč"_s;
            o.OrderExpectedPriceSecondary = u"60"_s;
            o.OrderExpectedCurrencySecondary = u"Eur"_s;
            o.OrderEngineerName = u"Tomáš Krejčí"_s;
            o.OrderRepairDescription = u"Výměna displeje a rámečku, test dotyku."_s;
            o.OrderIssueDate = QDateTime(QDate(2025, 6, 16), QTime(10, 0));
            o.OrderFinalPricePrimary = 1490.0;
            o.OrderFinalCurrencyPrimary = u"Kč"_s;
            o.OrderFinalPriceSecondary = 59.6;
            o.OrderFinalCurrencySecondary = u"Eur"_s;
            o.OrderBattery = true;
            o.OrderBatteryType = u"EB-BA525ABY"_s;
            o.OrderBatterySN = u"GH43-05060A"_s;
            o.OrderSIM = true;
            o.OrderCover = true;
            o.OrderNote = u"Na zadní straně škrábanec, zákazník ví."_s;
        }
        m_s->data.StoreNewOrder(o);
        return o.OrderID;
    }

private slots:
    void initTestCase()
    {
        m_s = std::make_unique<DataShop>();
        Clock::setFixed(QDateTime(QDate(2025, 6, 16), QTime(10, 30)));
        config().SetShopName(u"GSM Servis Řehoř s.r.o."_s);
        config().SetShopAddress(u"Husova 12\n602 00 Brno"_s);
        config().SetShopIdentification(u"IČ: 12345678, DIČ: CZ12345678"_s);
        config().SetCashName(u"A"_s);
        config().SetAgreementText(
            u"Zákazník souhlasí s provedením opravy do výše předběžné ceny. Zařízení "
            "nevyzvednuté do 90 dnů od termínu opravy bude zlikvidováno. Záruka na opravu "
            "je 3 měsíce a nevztahuje se na mechanické poškození ani vniknutí tekutiny. "
            "Servis neodpovídá za data v zařízení; zálohu si zákazník pořídí sám."_s);
        QImage logo(120, 60, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        QVERIFY(logo.save(m_s->shop.path(u"logo.png"_s)));
        config().SetLogoFileName(m_s->shop.path(u"logo.png"_s));

        CCustomer shown {
            0,         true,        u"48213377"_s,         u"Čestmír Řehoř"_s,   u"Údolní 5"_s,
            u"Brno"_s, u"602 00"_s, u"+420 603 123 456"_s, u"rehor@example.cz"_s
        };
        m_s->data.StoreCustomer(shown);
        CCustomer hidden { 0, false, u"11112222"_s, u"Žofie Šťastná"_s };
        m_s->data.StoreCustomer(hidden);

        m_full = addOrder(shown.CustomerID, u"Nefunguje dotyk, prasklý displej."_s, true);
        QString fault;
        while (fault.size() < 1500)
            fault += u"Telefon se po pádu do vody sám restartuje a nenabíjí se. "_s;
        fault.truncate(1500);
        m_sparse = addOrder(hidden.CustomerID, fault, false);
        for (int i = 0; i < 14; ++i)
            m_held.append(addOrder(shown.CustomerID, u"Vadný konektor %1"_s.arg(i + 1), i % 2));
    }

    void cleanupTestCase() { m_s.reset(); }

    // Each document against its golden file; every text within the printable area and
    // apart from every other; the logo left out, with a warning when it cannot be read.
    void layouts_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<bool>("issue");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("order"); // "full", "sparse" or a number
        QTest::addColumn<int>("held");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("heading"); // the customer heading a held list

        // Secondary prices, every accessory, code shown, stretched logo.
        QTest::newRow("receipt one per page") << u"receipt-single"_s << false << 1 << u"full"_s << 0
                                              << u"secondary stretch"_s << QString();
        // Code hidden, only the charger, configured currency, a 1 500-character fault.
        QTest::newRow("receipt two per page")
            << u"receipt-two"_s << false << 2 << u"sparse"_s << 0 << u""_s << QString();
        QTest::newRow("receipt held over two pages") << u"receipt-held"_s << false << 1 << u"full"_s
                                                     << 14 << u"stretch"_s << u"Čestmír Řehoř"_s;
        QTest::newRow("receipt of no order, unreadable logo")
            << u"receipt-empty"_s << false << 2 << u"2025-99999"_s << 0 << u"badlogo"_s
            << QString();
        QTest::newRow("issue one per page, logo file gone")
            << u"issue-single"_s << true << 1 << u"full"_s << 0 << u"secondary gonelogo"_s
            << QString();
        QTest::newRow("issue two per page")
            << u"issue-two"_s << true << 2 << u"full"_s << 0 << u"stretch"_s << QString();
        // The order shown belongs to someone else: the held orders' customer heads the list.
        QTest::newRow("issue held, no tracking")
            << u"issue-held"_s << true << 2 << u"sparse"_s << 3 << u"nourl"_s << u"Čestmír Řehoř"_s;
    }

    void layouts()
    {
        QFETCH(QString, golden);
        QFETCH(bool, issue);
        QFETCH(int, mode);
        QFETCH(QString, order);
        QFETCH(int, held);
        QFETCH(QString, options);
        QFETCH(QString, heading);
        config().SetReceiptPrintMode(mode);
        config().SetIssuePrintMode(mode);
        config().SetUseSecondaryCurrency(options.contains(u"secondary"_s));
        config().SetLogoOptions(options.contains(u"stretch"_s) ? u"S"_s : QString());
        config().SetOrderWwwUrl(
            options.contains(u"nourl"_s) ? QString() : u"https://servis.example.cz/zakazky.php"_s);
        const QString logo = options.contains(u"badlogo"_s) ? u"rpx3.db"_s
            : options.contains(u"gonelogo"_s)               ? u"gone.png"_s
                                                            : u"logo.png"_s;
        config().SetLogoFileName(m_s->shop.path(logo));
        const QString id = order == u"full"_s ? m_full : order == u"sparse"_s ? m_sparse : order;

        const PrintDocument document
            = makeOrderPrint(m_s->data, issue ? OrderPrintKind::Issue : OrderPrintKind::Receipt, id,
                             m_held.mid(0, held));
        QCOMPARE(document.warning.section(u'\n', 0, 0),
                 logo == u"rpx3.db"_s ? u"Soubor s logem nelze otevřít!"_s : QString());

        QStringList texts;
        for (const QList<PrintItem> &page : document.pages) {
            for (qsizetype i = 0; i < page.size(); ++i) {
                const PrintItem &a = page.at(i);
                texts.append(a.text);
                QVERIFY2(a.rect.left() >= 8.0 && a.rect.right() <= 202.0 && a.rect.top() >= 10.0
                             && a.rect.bottom() <= 289.0,
                         qPrintable(a.text));
                for (qsizetype j = i + 1; j < page.size(); ++j) {
                    const PrintItem &b = page.at(j);
                    if (a.kind == PrintItem::Kind::Text && b.kind == PrintItem::Kind::Text)
                        QVERIFY2(!overlap(a.rect, b.rect), qPrintable(a.text + u" | "_s + b.text));
                }
            }
        }
        if (!heading.isEmpty())
            QCOMPARE(texts.count(heading), 1);

        compareWithGoldenFile(document.dump(), u"print/golden/"_s + golden + u".txt"_s);
    }

    // The documents name their layout, which the golden files show; a print mode that is
    // missing or cannot be read prints two per page.
    void unreadablePrintMode()
    {
        m_s->data.ExecuteCommand(u"DELETE FROM t_config_01 WHERE ConfigKey = ?"_s,
                                 { u"ReceiptPrintMode"_s });
        QCOMPARE(makeOrderPrint(m_s->data, OrderPrintKind::Receipt, m_sparse, {}).name,
                 u"TOrderPrintReceiptForm"_s);
        config().SetConfigValue(u"ReceiptPrintMode"_s, u"jedna"_s);
        QCOMPARE(makeOrderPrint(m_s->data, OrderPrintKind::Receipt, m_sparse, {}).name,
                 u"TOrderPrintReceiptForm"_s);
    }

    // The PDF carries the receipt's Czech texts as text.
    void pdfCzechTexts()
    {
        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        config().SetReceiptPrintMode(1);
        config().SetOrderWwwUrl(u"https://servis.example.cz/zakazky.php"_s);
        const QString pdf = m_s->shop.path(u"receipt.pdf"_s);
        makeOrderPrint(m_s->data, OrderPrintKind::Receipt, m_full, {}).writePdf(pdf);
        QProcess process;
        process.start(pdftotext, { u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s });
        QVERIFY(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString &expected :
             { u"Příjemka"_s, u"GSM Servis Řehoř s.r.o."_s, u"Čestmír Řehoř"_s,
               u"Karta SIM, Nabíječka, Obal"_s, u"1500 Kč"_s,
               u"Zakázku můžete sledovat zde: https://servis.example.cz/zakazky.php"_s })
            QVERIFY2(text.contains(expected), qPrintable(expected + u" missing in:\n"_s + text));
    }
};

int main(int argc, char *argv[])
{
    // The date of printing is written in the system's short format: Czech here.
    qputenv("LC_ALL", "cs_CZ.UTF-8");
    QGuiApplication app(argc, argv);
    TstPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_print.moc"
