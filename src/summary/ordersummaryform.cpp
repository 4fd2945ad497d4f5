#include "ordersummaryform.h"

#include "app/ui.h"
#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "reportfile.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "summaryrunner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

TRpx2Data &dataModule()
{
    TRpx2Data *d = TRpx2Data::instance();
    if (!d)
        throw RpxError(QStringLiteral("Databáze není otevřena."));
    return *d;
}

const char *const MonthNames[12]
    = { "Leden",    "Únor",  "Březen", "Duben", "Květen",   "Červen",
        "Červenec", "Srpen", "Září",   "Říjen", "Listopad", "Prosinec" };

} // namespace

TOrderSummaryForm::TOrderSummaryForm(QWidget *owner, const QString &keyName)
    : QDialog(owner)
    , m_data(dataModule())
    , m_config(std::make_unique<CConfig>(m_data, keyName))
{
    setObjectName(QStringLiteral("TOrderSummaryForm"));
    setWindowTitle(QStringLiteral("Uzávěrky"));
    m_texts.push_back([this] { setWindowTitle(rpxText("OrderSummary.Window")); });

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setUsesScrollButtons(false);

    // Daily summary
    SummaryDayTabSheet
        = addPage("SummaryDayTabSheet", QStringLiteral("Uzávěrka dne"), "OrderSummary.SummaryDay");
    SummaryDayFileEdit = fileEdit(SummaryDayTabSheet, "SummaryDayFileEdit");
    SummaryDayFromDateTimePicker = datePicker(SummaryDayTabSheet, "SummaryDayFromDateTimePicker");
    SummaryDayToDateTimePicker = datePicker(SummaryDayTabSheet, "SummaryDayToDateTimePicker");
    SummaryDayFromToCheckBox = new QCheckBox(QStringLiteral("Rozsah od-do"), SummaryDayTabSheet);
    SummaryDayFromToCheckBox->setObjectName(QStringLiteral("SummaryDayFromToCheckBox"));
    m_texts.push_back(
        [this] { SummaryDayFromToCheckBox->setText(rpxText("OrderSummary.SummaryDayFromTo")); });
    SummaryDayButton
        = runButton(SummaryDayTabSheet, "SummaryDayButton", "OrderSummary.SummaryDayDo");
    {
        QGridLayout *grid = pageLayout(SummaryDayTabSheet, SummaryDayFileEdit,
                                       "OrderSummary.SummaryDayFile", SummaryDayButton);
        grid->addWidget(label(SummaryDayTabSheet, "SummaryDayFromLabel",
                              QStringLiteral("Den uzávěrky:"), "OrderSummary.SummaryDayFrom",
                              SummaryDayFromDateTimePicker),
                        1, 0);
        grid->addWidget(SummaryDayFromDateTimePicker, 1, 1);
        grid->addWidget(SummaryDayToDateTimePicker, 1, 2);
        grid->addWidget(SummaryDayFromToCheckBox, 2, 1, 1, 2);
    }

    // Monthly summary
    SummaryMonthTabSheet = addPage("SummaryMonthTabSheet", QStringLiteral("Uzávěrka měsíce"),
                                   "OrderSummary.SummaryMonth");
    SummaryMonthFileEdit = fileEdit(SummaryMonthTabSheet, "SummaryMonthFileEdit");
    SummaryMonthMonthComboBox = new QComboBox(SummaryMonthTabSheet);
    SummaryMonthMonthComboBox->setObjectName(QStringLiteral("SummaryMonthMonthComboBox"));
    for (const char *name : MonthNames)
        SummaryMonthMonthComboBox->addItem(QString::fromUtf8(name));
    m_texts.push_back([this] {
        for (int i = 0; i < 12; ++i) {
            const QByteArray key = "OrderSummary.Month." + QByteArray::number(i);
            SummaryMonthMonthComboBox->setItemText(i, rpxText(key.constData()));
        }
    });
    SummaryMonthYearEdit = new QLineEdit(SummaryMonthTabSheet);
    SummaryMonthYearEdit->setObjectName(QStringLiteral("SummaryMonthYearEdit"));
    SummaryMonthButton
        = runButton(SummaryMonthTabSheet, "SummaryMonthButton", "OrderSummary.SummaryMonthDo");
    {
        QGridLayout *grid = pageLayout(SummaryMonthTabSheet, SummaryMonthFileEdit,
                                       "OrderSummary.SummaryMonthFile", SummaryMonthButton);
        grid->addWidget(label(SummaryMonthTabSheet, "SummaryMonthMonthLabel",
                              QStringLiteral("Měsíc:"), "OrderSummary.SummaryMonthMonth",
                              SummaryMonthMonthComboBox),
                        1, 0);
        grid->addWidget(SummaryMonthMonthComboBox, 1, 1);
        grid->addWidget(label(SummaryMonthTabSheet, "SummaryMonthYearLabel", QStringLiteral("Rok:"),
                              "OrderSummary.SummaryMonthYear", SummaryMonthYearEdit),
                        2, 0);
        grid->addWidget(SummaryMonthYearEdit, 2, 1);
    }

    // Yearly summary
    SummaryYearTabSheet = addPage("SummaryYearTabSheet", QStringLiteral("Uzávěrka roku"),
                                  "OrderSummary.SummaryYear");
    SummaryYearFileEdit = fileEdit(SummaryYearTabSheet, "SummaryYearFileEdit");
    SummaryYearYearEdit = new QLineEdit(SummaryYearTabSheet);
    SummaryYearYearEdit->setObjectName(QStringLiteral("SummaryYearYearEdit"));
    SummaryYearButton
        = runButton(SummaryYearTabSheet, "SummaryYearButton", "OrderSummary.SummaryYearDo");
    {
        QGridLayout *grid = pageLayout(SummaryYearTabSheet, SummaryYearFileEdit,
                                       "OrderSummary.SummaryYearFile", SummaryYearButton);
        grid->addWidget(label(SummaryYearTabSheet, "SummaryYearYearLabel", QStringLiteral("Rok:"),
                              "OrderSummary.SummaryYearYear", SummaryYearYearEdit),
                        1, 0);
        grid->addWidget(SummaryYearYearEdit, 1, 1);
    }

    // Engineer summary
    SummaryEngineerTabSheet = addPage("SummaryEngineerTabSheet", QStringLiteral("Přehled techniků"),
                                      "OrderSummary.SummaryEngineer");
    SummaryEngineerFileEdit = fileEdit(SummaryEngineerTabSheet, "SummaryEngineerFileEdit");
    SummaryEngineerFromDateTimePicker
        = datePicker(SummaryEngineerTabSheet, "SummaryEngineerFromDateTimePicker");
    SummaryEngineerToDateTimePicker
        = datePicker(SummaryEngineerTabSheet, "SummaryEngineerToDateTimePicker");
    SummaryEngineerButton = runButton(SummaryEngineerTabSheet, "SummaryEngineerButton",
                                      "OrderSummary.SummaryEngineerDo");
    {
        QGridLayout *grid = pageLayout(SummaryEngineerTabSheet, SummaryEngineerFileEdit,
                                       "OrderSummary.SummaryEngineerFile", SummaryEngineerButton);
        grid->addWidget(label(SummaryEngineerTabSheet, "SummaryEngineerFromLabel",
                              QStringLiteral("Od:"), "OrderSummary.SummaryEngineerFrom",
                              SummaryEngineerFromDateTimePicker),
                        1, 0);
        grid->addWidget(SummaryEngineerFromDateTimePicker, 1, 1);
        grid->addWidget(label(SummaryEngineerTabSheet, "SummaryEngineerToLabel",
                              QStringLiteral("Do:"), "OrderSummary.SummaryEngineerTo",
                              SummaryEngineerToDateTimePicker),
                        2, 0);
        grid->addWidget(SummaryEngineerToDateTimePicker, 2, 1);
    }

    // Shop summary
    SummaryShopTabSheet
        = addPage("SummaryShopTabSheet", QStringLiteral("Prodejna"), "OrderSummary.SummaryShop");
    SummaryShopFileEdit = fileEdit(SummaryShopTabSheet, "SummaryShopFileEdit");
    SummaryShopFromDateTimePicker
        = datePicker(SummaryShopTabSheet, "SummaryShopFromDateTimePicker");
    SummaryShopToDateTimePicker = datePicker(SummaryShopTabSheet, "SummaryShopToDateTimePicker");
    SummaryShopFromToCheckBox = new QCheckBox(QStringLiteral("Rozsah od-do"), SummaryShopTabSheet);
    SummaryShopFromToCheckBox->setObjectName(QStringLiteral("SummaryShopFromToCheckBox"));
    m_texts.push_back(
        [this] { SummaryShopFromToCheckBox->setText(rpxText("OrderSummary.SummaryShopFromTo")); });
    SummaryShopButton
        = runButton(SummaryShopTabSheet, "SummaryShopButton", "OrderSummary.SummaryShopDo");
    {
        QGridLayout *grid = pageLayout(SummaryShopTabSheet, SummaryShopFileEdit,
                                       "OrderSummary.SummaryShopFile", SummaryShopButton);
        grid->addWidget(label(SummaryShopTabSheet, "SummaryShopFromLabel",
                              QStringLiteral("Den uzávěrky:"), "OrderSummary.SummaryShopFrom",
                              SummaryShopFromDateTimePicker),
                        1, 0);
        grid->addWidget(SummaryShopFromDateTimePicker, 1, 1);
        grid->addWidget(SummaryShopToDateTimePicker, 1, 2);
        grid->addWidget(SummaryShopFromToCheckBox, 2, 1, 1, 2);
    }

    // Order list export
    SummaryExportTabSheet
        = addPage("SummaryExportTabSheet", QStringLiteral("Export"), "OrderSummary.SummaryExport");
    SummaryExportFileEdit = fileEdit(SummaryExportTabSheet, "SummaryExportFileEdit");
    SummaryExportRepairTypeComboBox = new QComboBox(SummaryExportTabSheet);
    SummaryExportRepairTypeComboBox->setObjectName(
        QStringLiteral("SummaryExportRepairTypeComboBox"));
    SummaryExportFromDateTimePicker
        = datePicker(SummaryExportTabSheet, "SummaryExportFromDateTimePicker");
    SummaryExportToDateTimePicker
        = datePicker(SummaryExportTabSheet, "SummaryExportToDateTimePicker");
    SummaryExportButton
        = runButton(SummaryExportTabSheet, "SummaryExportButton", "OrderSummary.SummaryExportDo");
    {
        QGridLayout *grid = pageLayout(SummaryExportTabSheet, SummaryExportFileEdit,
                                       "OrderSummary.SummaryExportFile", SummaryExportButton);
        grid->addWidget(label(SummaryExportTabSheet, "SummaryExportRepairTypeLabel",
                              QStringLiteral("Typ opravy:"), "OrderSummary.SummaryExportRepairType",
                              SummaryExportRepairTypeComboBox),
                        1, 0);
        grid->addWidget(SummaryExportRepairTypeComboBox, 1, 1, 1, 2);
        grid->addWidget(label(SummaryExportTabSheet, "SummaryExportFromLabel",
                              QStringLiteral("Od:"), "OrderSummary.SummaryExportFrom",
                              SummaryExportFromDateTimePicker),
                        2, 0);
        grid->addWidget(SummaryExportFromDateTimePicker, 2, 1);
        grid->addWidget(label(SummaryExportTabSheet, "SummaryExportToLabel", QStringLiteral("Do:"),
                              "OrderSummary.SummaryExportTo", SummaryExportToDateTimePicker),
                        3, 0);
        grid->addWidget(SummaryExportToDateTimePicker, 3, 1);
    }

    CloseButton = new QPushButton(QStringLiteral("Zavřít"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);
    m_texts.push_back([this] { CloseButton->setText(rpxText("OrderSummary.Close")); });
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(CloseButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addWidget(buttons);

    // The language file's texts; without a readable file the built-in Czech ones stay.
    try {
        for (const auto &apply : m_texts)
            apply();
    } catch (const RpxError &) { }

    // Today's date, the proposed folder and the default file names.
    const QDate today = Clock::today();
    const int m = today.month(), y = today.year();
    m_folder = QDir::fromNativeSeparators(m_config->GetSummaryFilePath());
    if (m_folder.isEmpty())
        m_folder = AppPaths::programDir() + QStringLiteral("/export/");
    else if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
    proposeFileName(SummaryShopFileEdit, QStringLiteral("rpx_print.xls"));
    proposeFileName(SummaryExportFileEdit, QStringLiteral("rpx_print.xls"));

    for (QDateEdit *picker : { SummaryDayFromDateTimePicker, SummaryDayToDateTimePicker,
                               SummaryShopFromDateTimePicker, SummaryShopToDateTimePicker,
                               SummaryExportFromDateTimePicker, SummaryExportToDateTimePicker })
        picker->setDate(today);
    const QDate firstOfMonth(y, m, 1);
    SummaryEngineerFromDateTimePicker->setDate(firstOfMonth);
    SummaryEngineerToDateTimePicker->setDate(firstOfMonth.addMonths(1).addDays(-1));
    SummaryDayToDateTimePicker->setEnabled(false);
    SummaryShopToDateTimePicker->setEnabled(false);

    SummaryMonthMonthComboBox->setCurrentIndex(m - 1);
    SummaryMonthYearEdit->setText(QString::number(y));
    SummaryYearYearEdit->setText(QString::number(y));
    proposeFileNames();

    SummaryExportRepairTypeComboBox->addItem(QString());
    for (const IdName &type : m_data.GetAllOrderTypes())
        SummaryExportRepairTypeComboBox->addItem(type.name);

    auto guarded = [this](void (TOrderSummaryForm::*handler)()) {
        return [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(SummaryDayButton, &QPushButton::clicked, this,
            guarded(&TOrderSummaryForm::SummaryDayButtonClick));
    connect(SummaryShopButton, &QPushButton::clicked, this,
            guarded(&TOrderSummaryForm::SummaryShopButtonClick));
    connect(SummaryMonthButton, &QPushButton::clicked, this,
            guarded(&TOrderSummaryForm::SummaryMonthButtonClick));
    connect(SummaryYearButton, &QPushButton::clicked, this,
            guarded(&TOrderSummaryForm::SummaryYearButtonClick));
    connect(SummaryEngineerButton, &QPushButton::clicked, this,
            guarded(&TOrderSummaryForm::SummaryEngineerButtonClick));
    connect(SummaryExportButton, &QPushButton::clicked, this,
            guarded(&TOrderSummaryForm::SummaryExportButtonClick));
    connect(SummaryDayFromToCheckBox, &QCheckBox::toggled, this,
            &TOrderSummaryForm::SummaryDayFromToCheckBoxClick);
    connect(SummaryShopFromToCheckBox, &QCheckBox::toggled, this,
            &TOrderSummaryForm::SummaryShopFromToCheckBoxClick);
    connect(SummaryMonthYearEdit, &QLineEdit::textChanged, this,
            &TOrderSummaryForm::SummaryMonthYearEditChange);
    connect(SummaryYearYearEdit, &QLineEdit::textChanged, this,
            &TOrderSummaryForm::SummaryYearYearEditChange);
    for (QDateEdit *picker : { SummaryDayFromDateTimePicker, SummaryEngineerFromDateTimePicker })
        connect(picker, &QDateEdit::dateChanged, this, &TOrderSummaryForm::proposeFileNames);
    connect(SummaryMonthMonthComboBox, &QComboBox::currentIndexChanged, this,
            &TOrderSummaryForm::proposeFileNames);
    for (QLineEdit *year : { SummaryMonthYearEdit, SummaryYearYearEdit })
        connect(year, &QLineEdit::textChanged, this, &TOrderSummaryForm::proposeFileNames);
}

TOrderSummaryForm::~TOrderSummaryForm() = default;

// --- building -----------------------------------------------------------------------------

QWidget *TOrderSummaryForm::addPage(const char *name, const QString &caption, const char *key)
{
    auto *page = new QWidget(PageControl);
    page->setObjectName(QLatin1String(name));
    const int index = PageControl->addTab(page, caption);
    m_texts.push_back([this, index, key] { PageControl->setTabText(index, rpxText(key)); });
    return page;
}

QLabel *TOrderSummaryForm::label(QWidget *page, const char *name, const QString &text,
                                 const char *key, QWidget *buddy)
{
    auto *l = new QLabel(text, page);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    m_texts.push_back([l, key] { l->setText(rpxText(key)); });
    return l;
}

QLineEdit *TOrderSummaryForm::fileEdit(QWidget *page, const char *name)
{
    auto *edit = new QLineEdit(page);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
    return edit;
}

QDateEdit *TOrderSummaryForm::datePicker(QWidget *page, const char *name)
{
    auto *picker = new QDateEdit(page);
    picker->setObjectName(QLatin1String(name));
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    picker->setCalendarPopup(true);
    return picker;
}

QPushButton *TOrderSummaryForm::runButton(QWidget *page, const char *name, const char *key)
{
    auto *button = new QPushButton(QStringLiteral("Proveď"), page);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    m_texts.push_back([button, key] { button->setText(rpxText(key)); });
    return button;
}

QGridLayout *TOrderSummaryForm::pageLayout(QWidget *page, QLineEdit *file, const char *fileKey,
                                           QPushButton *run)
{
    auto *grid = new QGridLayout;
    grid->addWidget(
        label(page,
              (file->objectName().chopped(4) + QStringLiteral("Label")).toLatin1().constData(),
              QStringLiteral("Soubor uzávěrky:"), fileKey, file),
        0, 0);
    grid->addWidget(file, 0, 1, 1, 3);
    grid->setColumnStretch(3, 1);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch();
    auto *runRow = new QHBoxLayout;
    runRow->addStretch();
    runRow->addWidget(run);
    layout->addLayout(runRow);
    return grid;
}

// --- handlers -------------------------------------------------------------------------------

void TOrderSummaryForm::SummaryDayFromToCheckBoxClick()
{
    SummaryDayToDateTimePicker->setEnabled(SummaryDayFromToCheckBox->isChecked());
}

void TOrderSummaryForm::SummaryShopFromToCheckBoxClick()
{
    SummaryShopToDateTimePicker->setEnabled(SummaryShopFromToCheckBox->isChecked());
}

void TOrderSummaryForm::SummaryMonthYearEditChange()
{
    yearEditChange(SummaryMonthYearEdit, SummaryMonthButton);
}

void TOrderSummaryForm::SummaryYearYearEditChange()
{
    yearEditChange(SummaryYearYearEdit, SummaryYearButton);
}

void TOrderSummaryForm::proposeFileNames()
{
    const QDate day = SummaryDayFromDateTimePicker->date();
    proposeFileName(
        SummaryDayFileEdit,
        QString::asprintf("rpx_print_%02d_%02d_%04d.xls", day.day(), day.month(), day.year()));
    const QDate engineers = SummaryEngineerFromDateTimePicker->date();
    proposeFileName(
        SummaryEngineerFileEdit,
        QString::asprintf("rpx_print_tech_%02d_%04d.xls", engineers.month(), engineers.year()));
    // (A year that is no number keeps the name: the report cannot run until it is one.)
    bool ok = false;
    const int monthYear = SummaryMonthYearEdit->text().toInt(&ok);
    if (ok)
        proposeFileName(SummaryMonthFileEdit,
                        QString::asprintf("rpx_print_%02d_%04d.xls",
                                          SummaryMonthMonthComboBox->currentIndex() + 1,
                                          monthYear));
    const int year = SummaryYearYearEdit->text().toInt(&ok);
    if (ok)
        proposeFileName(SummaryYearFileEdit, QString::asprintf("rpx_print_%04d.xls", year));
}

void TOrderSummaryForm::proposeFileName(QLineEdit *edit, const QString &name)
{
    const auto earlier = m_proposedNames.constFind(edit);
    if (earlier != m_proposedNames.cend() && edit->text() != *earlier)
        return; // the clerk's own name
    const QString proposed = QDir::toNativeSeparators(m_folder + name);
    m_proposedNames.insert(edit, proposed);
    edit->setText(proposed);
}

void TOrderSummaryForm::yearEditChange(QLineEdit *edit, QPushButton *run)
{
    bool ok = false;
    edit->text().toInt(&ok);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text,
                     ok ? QApplication::palette().color(QPalette::Text) : QColor(Qt::red));
    edit->setPalette(palette);
    run->setEnabled(ok);
}

void TOrderSummaryForm::runReport(
    QLineEdit *file, bool tellWhenEmpty,
    const std::function<int(SummaryRunner &, const QString &)> &report)
{
    const QString fileName = QDir::fromNativeSeparators(file->text().trimmed());
    int orders = 0;
    try {
        SummaryRunner runner(m_data);
        orders = report(runner, fileName);
    } catch (const ReportFileError &e) {
        Ui::instance().message(e.message(), SummaryRunner::errorTitle(), Prompts::Icon::Error);
        return;
    }
    m_config->SetSummaryFilePath(ReportFile::folderOf(fileName));
    if (orders == 0 && tellWhenEmpty) {
        Ui::instance().message(SummaryRunner::noOrdersMessage(), SummaryRunner::errorTitle(),
                               Prompts::Icon::Error);
        return;
    }
    Ui::instance().openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
}

void TOrderSummaryForm::SummaryDayButtonClick()
{
    const bool range = SummaryDayFromToCheckBox->isChecked();
    const QDate from = SummaryDayFromDateTimePicker->date();
    const QDate to = range ? SummaryDayToDateTimePicker->date() : from;
    runReport(SummaryDayFileEdit, true, [&](SummaryRunner &runner, const QString &file) {
        return runner.day(file, from, to, range);
    });
}

void TOrderSummaryForm::SummaryShopButtonClick()
{
    const QDate from = SummaryShopFromDateTimePicker->date();
    const QDate to
        = SummaryShopFromToCheckBox->isChecked() ? SummaryShopToDateTimePicker->date() : from;
    runReport(SummaryShopFileEdit, true, [&](SummaryRunner &runner, const QString &file) {
        return runner.shop(file, from, to);
    });
}

void TOrderSummaryForm::SummaryMonthButtonClick()
{
    const int year = SummaryMonthYearEdit->text().toInt();
    const int month = SummaryMonthMonthComboBox->currentIndex() + 1;
    runReport(SummaryMonthFileEdit, false, [&](SummaryRunner &runner, const QString &file) {
        return runner.month(file, year, month);
    });
}

void TOrderSummaryForm::SummaryYearButtonClick()
{
    const QString year = SummaryYearYearEdit->text();
    runReport(SummaryYearFileEdit, false,
              [&](SummaryRunner &runner, const QString &file) { return runner.year(file, year); });
}

void TOrderSummaryForm::SummaryEngineerButtonClick()
{
    const QDate from = SummaryEngineerFromDateTimePicker->date();
    const QDate to = SummaryEngineerToDateTimePicker->date();
    runReport(SummaryEngineerFileEdit, false, [&](SummaryRunner &runner, const QString &file) {
        return runner.engineers(file, from, to);
    });
}

void TOrderSummaryForm::SummaryExportButtonClick()
{
    const QDate from = SummaryExportFromDateTimePicker->date();
    const QDate to = SummaryExportToDateTimePicker->date();
    const QString type = SummaryExportRepairTypeComboBox->currentText();
    runReport(SummaryExportFileEdit, false, [&](SummaryRunner &runner, const QString &file) {
        return runner.orderList(file, from, to, type);
    });
}
