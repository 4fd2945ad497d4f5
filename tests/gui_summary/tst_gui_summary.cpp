// The summaries dialog: what it proposes when it opens and each run
// button with the file it writes and what the clerk sees then.
#include "../gui_main/mainwindowshop.h"
#include "summaryshop.h"
#include "widgettools.h"

#include "summary/ordersummaryform.h"

#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {
const QString CannotWrite
    = u"Nezdařilo se vytvořit soubor s tiskem.\nZkontrolujte, zda se souborem "
      "již nepracuje jiná aplikace."_s;
const QString NoOrders = u"Pro zadané kritérium nebyly nalezeny žádné zakázky."_s;

QString lineText(const QDialog &form, const char *name)
{
    return child<QLineEdit>(form, name)->text();
}
QDate pickerDate(const QDialog &form, const char *name)
{
    return child<QDateEdit>(form, name)->date();
}
} // namespace

class TestGuiSummary : public QObject
{
    Q_OBJECT

    std::unique_ptr<DataShop> m_s;
    std::unique_ptr<FakeUi> m_ui;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        m_s = std::make_unique<DataShop>();
        m_ui = std::make_unique<FakeUi>();
        addSummaryOrders(m_s->data);
        // A type the order form no longer offers is still in the export's list.
        m_s->data.ExecuteCommand(u"INSERT INTO t_order_type_02 VALUES (?, ?, ?)"_s,
                                 { 7, u"Stará řada"_s, 0 });
    }
    void cleanupTestCase()
    {
        m_ui.reset();
        m_s.reset();
    }
    void init()
    {
        m_ui->messages.clear();
        m_ui->openedUrls.clear();
        m_s->data.config().SetSummaryFilePath({});
    }

    void proposals_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("folder"); // SummaryFilePath
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QDate>("engineerTo");
        QTest::newRow("February, nothing stored")
            << QDate(2025, 2, 7) << QString() << u"<shop>/export/"_s << QDate(2025, 2, 28);
        QTest::newRow("stored without the separator, leap year")
            << QDate(2024, 2, 29) << u"/srv/u"_s << u"/srv/u/"_s << QDate(2024, 2, 29);
    }
    void proposals()
    {
        QFETCH(QDate, today);
        QFETCH(QString, folder);
        QFETCH(QString, proposed);
        Clock::setFixed(QDateTime(today, QTime(9, 0)));
        m_s->data.config().SetSummaryFilePath(folder);
        proposed.replace(u"<shop>"_s, AppPaths::programDir());
        TOrderSummaryForm form;
        QCOMPARE(lineText(form, "SummaryDayFileEdit"),
                 proposed + today.toString(u"'rpx_print_'dd_MM_yyyy'.xls'"_s));
        QCOMPARE(lineText(form, "SummaryEngineerFileEdit"),
                 proposed + today.toString(u"'rpx_print_tech_'MM_yyyy'.xls'"_s));
        QCOMPARE(pickerDate(form, "SummaryDayFromDateTimePicker"), today);
        QCOMPARE(pickerDate(form, "SummaryEngineerFromDateTimePicker"),
                 QDate(today.year(), today.month(), 1));
        QTEST(pickerDate(form, "SummaryEngineerToDateTimePicker"), "engineerTo");
        QCOMPARE(child<QComboBox>(form, "SummaryMonthMonthComboBox")->currentIndex(),
                 today.month() - 1);
        // A type the order form no longer offers is still in the export's list.
        auto *types = child<QComboBox>(form, "SummaryExportRepairTypeComboBox");
        QCOMPARE(types->itemText(0) + u'|' + types->itemText(1), u"|Stará řada"_s);

        // The default names follow the day, month and year chosen; a name typed stays.
        child<QDateEdit>(form, "SummaryDayFromDateTimePicker")->setDate(QDate(2023, 1, 5));
        child<QComboBox>(form, "SummaryMonthMonthComboBox")->setCurrentIndex(10);
        child<QLineEdit>(form, "SummaryYearFileEdit")->setText(u"vlastni.xls"_s);
        child<QLineEdit>(form, "SummaryYearYearEdit")->setText(u"2020"_s);
        QCOMPARE(lineText(form, "SummaryDayFileEdit"), proposed + u"rpx_print_05_01_2023.xls"_s);
        QCOMPARE(lineText(form, "SummaryMonthFileEdit"),
                 proposed + today.toString(u"'rpx_print_11_'yyyy'.xls'"_s));
        QCOMPARE(lineText(form, "SummaryYearFileEdit"), u"vlastni.xls"_s);
    }

    void runs_data()
    {
        QTest::addColumn<QByteArray>("tab");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("golden"); // the file as expected; empty: none written
        QTest::addColumn<QString>("message");
        QTest::newRow("day") << "SummaryDay"_ba << u"a/day.xls"_s << u"day"_s << QString();
        QTest::newRow("days without orders")
            << "SummaryDay"_ba << u"a/none.xls"_s << u"day-empty"_s << NoOrders;
        QTest::newRow("shop over a range")
            << "SummaryShop"_ba << u"b/shop.xls"_s << u"shop"_s << QString();
        QTest::newRow("month") << "SummaryMonth"_ba << u"c/m.xls"_s << u"month"_s << QString();
        QTest::newRow("export of claims")
            << "SummaryExport"_ba << u"e/x.xls"_s << u"export-claims"_s << QString();
        QTest::newRow("unwritable")
            << "SummaryExport"_ba << u"plain.txt/x.xls"_s << QString() << CannotWrite;
    }
    void runs()
    {
        QFETCH(QByteArray, tab);
        QFETCH(QString, file);
        QFETCH(QString, golden);
        QFETCH(QString, message);
        QFile plain(m_s->shop.path(u"plain.txt"_s));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        Clock::setFixed(QDateTime(QDate(2025, 2, 28), QTime(18, 0)));
        TOrderSummaryForm form;
        const QString path = m_s->shop.path(file);
        child<QLineEdit>(form, tab + "FileEdit")->setText(QDir::toNativeSeparators(path));
        if (golden == u"day-empty"_s) { // to before from
            click(form, "SummaryDayFromToCheckBox");
            child<QDateEdit>(form, "SummaryDayToDateTimePicker")->setDate(QDate(2025, 2, 27));
        }
        if (tab == "SummaryShop") {
            click(form, "SummaryShopFromToCheckBox");
            child<QDateEdit>(form, "SummaryShopToDateTimePicker")->setDate(QDate(2025, 12, 31));
        }
        if (tab == "SummaryMonth")
            child<QLineEdit>(form, "SummaryMonthYearEdit")->setText(u"2025"_s);
        if (tab == "SummaryExport")
            child<QComboBox>(form, "SummaryExportRepairTypeComboBox")
                ->setCurrentText(u"Reklamace"_s);
        click(form, tab + "Button");

        QCOMPARE(m_ui->messageTexts(), message.isEmpty() ? QStringList() : QStringList { message });
        if (!message.isEmpty()) {
            QCOMPARE(m_ui->messages.first().title, u"Chyba"_s);
            QCOMPARE(m_ui->messages.first().icon, Prompts::Icon::Error);
        }
        const bool opened = message.isEmpty();
        QCOMPARE(m_ui->openedUrls,
                 opened ? QList<QUrl> { QUrl::fromLocalFile(path) } : QList<QUrl>());
        const bool written = !golden.isEmpty();
        QCOMPARE(m_s->data.config().GetSummaryFilePath(),
                 written ? QDir::toNativeSeparators(QFileInfo(path).absolutePath() + u"/"_s)
                         : QString());
        if (written)
            compareWithGolden(path, golden);
    }
};

QTEST_MAIN(TestGuiSummary)
#include "tst_gui_summary.moc"
