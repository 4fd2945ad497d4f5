// The printed documents without a window: each layout against its golden file (a text dump
// of every item with its rectangle, regenerated with REPAXO_UPDATE_GOLDEN=1), nothing
// overlapping or outside the printable area, the choice of document, the logo, the customer
// heading a held list, and the Czech texts of a PDF read back with pdftotext.
#include "orderprint.h"

#include "config.h"
#include "testshop.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString goldenPath(const QString &name)
{
    return qEnvironmentVariable("REPAXO_SOURCE_DIR") + u"/tests/print/golden/"_s + name + u".txt"_s;
}

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

    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;
    QString m_full; // an order with everything filled in, handed back
    QString m_sparse; // code hidden, only the charger, no currencies, a very long fault
    QStringList m_held;
    int m_otherCustomer = 0;

    CConfig &config() { return m_data->config(); }

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
        m_data->StoreNewOrder(o);
        return o.OrderID;
    }

private slots:
    void initTestCase()
    {
        m_shop = std::make_unique<TestShop>();
        Clock::setFixed(QDateTime(QDate(2025, 6, 16), QTime(10, 30)));
        m_data = std::make_unique<TRpx2Data>(nullptr, u"RPX2"_s, nullptr);
        m_data->OpenFile(AppPaths::databaseFile());
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
        QVERIFY(logo.save(m_shop->path(u"logo.png"_s)));
        config().SetLogoFileName(m_shop->path(u"logo.png"_s));

        CCustomer shown;
        shown.CustomerShowCode = true;
        shown.CustomerCode = u"48213377"_s;
        shown.CustomerName = u"Čestmír Řehoř"_s;
        shown.CustomerStreet = u"Údolní 5"_s;
        shown.CustomerCity = u"Brno"_s;
        shown.CustomerPSC = u"602 00"_s;
        shown.CustomerPhoneNo = u"+420 603 123 456"_s;
        shown.CustomerEMail = u"rehor@example.cz"_s;
        m_data->StoreCustomer(shown);
        CCustomer hidden;
        hidden.CustomerCode = u"11112222"_s;
        hidden.CustomerName = u"Žofie Šťastná"_s;
        m_data->StoreCustomer(hidden);
        m_otherCustomer = hidden.CustomerID;

        m_full = addOrder(shown.CustomerID, u"Nefunguje dotyk, prasklý displej."_s, true);
        QString fault;
        while (fault.size() < 1500)
            fault += u"Telefon se po pádu do vody sám restartuje a nenabíjí se. "_s;
        fault.truncate(1500);
        m_sparse = addOrder(hidden.CustomerID, fault, false);
        for (int i = 0; i < 14; ++i)
            m_held.append(addOrder(shown.CustomerID, u"Vadný konektor %1"_s.arg(i + 1), i % 2));
    }

    void cleanupTestCase()
    {
        m_data.reset();
        m_shop.reset();
    }

    // Each document against its golden file; every text within the printable area and
    // apart from every other.
    void layouts_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<bool>("issue");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("order"); // "full", "sparse" or a number
        QTest::addColumn<int>("held");
        QTest::addColumn<QString>("options");

        // Secondary prices, every accessory, code shown, stretched logo.
        QTest::newRow("receipt one per page")
            << u"receipt-single"_s << false << 1 << u"full"_s << 0 << u"secondary stretch"_s;
        // Code hidden, only the charger, configured currency, a 1 500-character fault.
        QTest::newRow("receipt two per page")
            << u"receipt-two"_s << false << 2 << u"sparse"_s << 0 << u""_s;
        QTest::newRow("receipt held over two pages")
            << u"receipt-held"_s << false << 1 << u"full"_s << 14 << u"stretch"_s;
        QTest::newRow("receipt of no order")
            << u"receipt-empty"_s << false << 2 << u"2025-99999"_s << 0 << u""_s;
        QTest::newRow("issue one per page")
            << u"issue-single"_s << true << 1 << u"full"_s << 0 << u"secondary"_s;
        QTest::newRow("issue two per page")
            << u"issue-two"_s << true << 2 << u"full"_s << 0 << u"stretch"_s;
        QTest::newRow("issue held, no tracking")
            << u"issue-held"_s << true << 2 << u"sparse"_s << 3 << u"nourl"_s;
    }

    void layouts()
    {
        QFETCH(QString, golden);
        QFETCH(bool, issue);
        QFETCH(int, mode);
        QFETCH(QString, order);
        QFETCH(int, held);
        QFETCH(QString, options);
        config().SetReceiptPrintMode(mode);
        config().SetIssuePrintMode(mode);
        config().SetUseSecondaryCurrency(options.contains(u"secondary"_s));
        config().SetLogoOptions(options.contains(u"stretch"_s) ? u"S"_s : QString());
        config().SetOrderWwwUrl(
            options.contains(u"nourl"_s) ? QString() : u"https://servis.example.cz/zakazky.php"_s);
        const QString id = order == u"full"_s ? m_full : order == u"sparse"_s ? m_sparse : order;

        const PrintDocument document
            = makeOrderPrint(*m_data, issue ? OrderPrintKind::Issue : OrderPrintKind::Receipt, id,
                             m_held.mid(0, held));
        QCOMPARE(document.warning, QString());

        for (const QList<PrintItem> &page : document.pages) {
            for (qsizetype i = 0; i < page.size(); ++i) {
                const PrintItem &a = page.at(i);
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

        const QString dump = document.dump();
        QFile file(goldenPath(golden));
        if (qEnvironmentVariableIsSet("REPAXO_UPDATE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(dump.toUtf8());
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QCOMPARE(dump.split(u'\n'), QString::fromUtf8(file.readAll()).split(u'\n'));
    }

    // Held orders choose the list; otherwise the mode: exactly 1 one per page, anything
    // else (also a missing or broken value) two per page.
    void choice_data()
    {
        QTest::addColumn<bool>("issue");
        QTest::addColumn<QString>("mode"); // stored text; "-" leaves the row out
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("expected");

        QTest::newRow("receipt 1") << false << u"1"_s << false << u"TOrderPrintReceiptSingleForm"_s;
        QTest::newRow("receipt 2") << false << u"2"_s << false << u"TOrderPrintReceiptForm"_s;
        QTest::newRow("receipt 0") << false << u"0"_s << false << u"TOrderPrintReceiptForm"_s;
        QTest::newRow("receipt missing") << false << u"-"_s << false << u"TOrderPrintReceiptForm"_s;
        QTest::newRow("receipt not a number")
            << false << u"jedna"_s << false << u"TOrderPrintReceiptForm"_s;
        QTest::newRow("receipt held, mode 1")
            << false << u"1"_s << true << u"TOrderPrintReceiptFormMulti"_s;
        QTest::newRow("issue 1") << true << u"1"_s << false << u"TOrderPrintIssueSingleForm"_s;
        QTest::newRow("issue 2") << true << u"2"_s << false << u"TOrderPrintIssueForm"_s;
        QTest::newRow("issue held") << true << u"2"_s << true << u"TOrderPrintIssueFormMulti"_s;
    }

    void choice()
    {
        QFETCH(bool, issue);
        QFETCH(QString, mode);
        QFETCH(bool, held);
        QFETCH(QString, expected);
        const QString key = issue ? u"IssuePrintMode"_s : u"ReceiptPrintMode"_s;
        if (mode == u"-"_s)
            m_data->ExecuteCommand(u"DELETE FROM t_config_01 WHERE ConfigKey = ?"_s, { key });
        else
            config().SetConfigValue(key, mode);
        const PrintDocument document
            = makeOrderPrint(*m_data, issue ? OrderPrintKind::Issue : OrderPrintKind::Receipt,
                             m_sparse, held ? QStringList { m_full } : QStringList());
        QCOMPARE(document.name, expected);
    }

    // A logo that is not set or whose file is gone is skipped silently; one that cannot be
    // read is reported and left out.
    void logo_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("warningStart");
        QTest::addColumn<int>("images");

        QTest::newRow("readable") << u"logo.png"_s << QString() << 1;
        QTest::newRow("not set") << QString() << QString() << 0;
        QTest::newRow("missing file") << u"gone.png"_s << QString() << 0;
        QTest::newRow("not a picture")
            << u"rpx3.db"_s << u"Soubor s logem nelze otevřít!\n\n"_s << 0;
    }

    void logo()
    {
        QFETCH(QString, file);
        QFETCH(QString, warningStart);
        QFETCH(int, images);
        config().SetLogoFileName(file.isEmpty() ? QString() : m_shop->path(file));
        const PrintDocument document = makeOrderPrint(*m_data, OrderPrintKind::Receipt, m_full, {});
        config().SetLogoFileName(m_shop->path(u"logo.png"_s));
        QCOMPARE(document.warning.left(warningStart.size()), warningStart);
        QCOMPARE(document.warning.isEmpty(), warningStart.isEmpty());
        int count = 0;
        for (const PrintItem &item : document.pages.first())
            count += item.kind == PrintItem::Kind::Image;
        QCOMPARE(count, images);
    }

    // The held list is headed by the customer of the order shown in the main window when
    // one of the held orders is theirs, otherwise by the first held order's customer.
    void heldCustomer_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("sparseHeld");
        QTest::addColumn<QString>("expected");

        QTest::newRow("current owns a held order") << u"full"_s << true << u"Čestmír Řehoř"_s;
        QTest::newRow("current owns none") << u"sparse"_s << false << u"Čestmír Řehoř"_s;
        QTest::newRow("no current order") << u""_s << false << u"Čestmír Řehoř"_s;
        QTest::newRow("current owns the only one") << u"sparse"_s << true << u"Žofie Šťastná"_s;
    }

    void heldCustomer()
    {
        QFETCH(QString, current);
        QFETCH(bool, sparseHeld);
        QFETCH(QString, expected);
        QStringList held = m_held.mid(0, 2);
        if (sparseHeld && current == u"sparse"_s)
            held = { m_sparse };
        else if (sparseHeld)
            held.prepend(m_sparse);
        const QString id = current == u"full"_s ? m_full
            : current == u"sparse"_s            ? m_sparse
                                                : QString();
        const OrderPrintData data = loadOrderPrintData(*m_data, id, held);
        QCOMPARE(data.heldCustomer.CustomerName, expected);
    }

    // The PDF carries the receipt's Czech texts as text.
    void pdfCzechTexts()
    {
        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        config().SetReceiptPrintMode(1);
        config().SetOrderWwwUrl(u"https://servis.example.cz/zakazky.php"_s);
        const QString pdf = m_shop->path(u"receipt.pdf"_s);
        makeOrderPrint(*m_data, OrderPrintKind::Receipt, m_full, {}).writePdf(pdf);
        QProcess process;
        process.start(pdftotext, { u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s });
        QVERIFY(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString &expected :
             { u"Příjemka"_s, u"GSM Servis Řehoř s.r.o."_s, u"Husova 12, 602 00 Brno"_s,
               u"Zákazník:"_s, u"Čestmír Řehoř"_s, u"Zakázka č.:"_s, u"A2025-00001"_s,
               u"Zákaznické číslo:"_s, u"Karta SIM, Nabíječka, Obal"_s, u"Předb. cena:"_s,
               u"1500 Kč"_s, u"Nefunguje dotyk, prasklý displej."_s, u"23.6.2025"_s,
               u"Zakazku muzete sledovat zde: https://servis.example.cz/zakazky.php"_s,
               u"Vytvořeno v programu Repaxo"_s })
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
