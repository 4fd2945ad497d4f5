#include "optionsform.h"

#include "app/ui.h"
#include "apppaths.h"
#include "config.h"
#include "ordernumbering.h"
#include "passwordcheck.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "textformat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

constexpr int LogoSize = 100; // the logo is printed in a 100 x 100 box when stretched
constexpr int DefaultTextSize = 8;
constexpr int DefaultDaysToDeadline = 7;

struct Language
{
    const char *name;
    const char *code;
};
// The entries are the languages' own names and stay the same in every language.
const Language Languages[] = {
    {"Čeština", "cs"},
    {"Polski", "pl"},
    {"Slovenčina", "sk"},
};

TRpx2Data &dataModule()
{
    TRpx2Data *d = TRpx2Data::instance();
    if (!d)
        throw RpxError(QStringLiteral("Databáze není otevřena."));
    return *d;
}

// A number with "." as the decimal separator that prices can be divided by without
// becoming infinite (CConfig::IsExchangeRate).
bool parseRate(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !CConfig::IsExchangeRate(v))
        return false;
    *value = v;
    return true;
}

// Red text marks a box whose value OK would refuse.
void markInvalid(QLineEdit *edit, bool invalid)
{
    QPalette palette;
    if (invalid)
        palette.setColor(QPalette::Text, Qt::red);
    edit->setPalette(palette);
}

// The whole number typed into a box, or the fallback for any other text (empty, letters, out
// of range: a deadline before the intake or a font of size 0 makes no sense).
// The text size box: a box emptied by the clerk takes the default size when it is left,
// instead of going back to the size it had.
class TextSizeSpinBox final : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;
    void fixup(QString &input) const override
    {
        if (input.trimmed().isEmpty())
            input = QString::number(DefaultTextSize);
        else
            QSpinBox::fixup(input);
    }
};

int typedNumber(const QString &text, int minimum, int maximum, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= minimum && value <= maximum ? value : fallback;
}

QFormLayout *formLayout()
{
    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return form;
}

} // namespace

TOptionsForm::TOptionsForm(QWidget *owner)
    : QDialog(owner)
    , m_config(dataModule().config())
    , m_pages(new QTabWidget(this))
{
    setObjectName(QStringLiteral("TOptionsForm"));
    setWindowTitle(QStringLiteral("Možnosti"));
    m_texts.push_back([this] { setWindowTitle(rpxText("Options.Window")); });

    buildAgreementPage();
    buildCompanyPage();
    buildSettingsPage();
    buildDatabasePage();
    buildPrintPage();
    buildCurrencyPage();
    buildWebPage();
    buildLanguagePage();

    m_okButton = button(QStringLiteral("OkButton"), QStringLiteral("OK"), "Options.Ok");
    m_okButton->setDefault(true);
    m_cancelButton
        = button(QStringLiteral("CancelButton"), QStringLiteral("Storno"), "Options.Cancel");
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_okButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancelButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TOptionsForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Every page caption stays visible: the dialog grows to the tab row rather than scrolling it.
    m_pages->setUsesScrollButtons(false);
    m_pages->setMinimumSize(430, 320);

    applyTexts();
    load();

    // Word-wrapped descriptions make some pages' heights depend on the width, and the tab
    // widget sizes itself by its current page: measure every page and fix the size that
    // suits them all, so the dialog does not jump between pages.
    QSize size;
    for (int i = 0; i < m_pages->count(); ++i) {
        m_pages->setCurrentIndex(i);
        layout->activate();
        size = size.expandedTo(sizeHint());
    }
    m_pages->setCurrentIndex(0);
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    setFixedSize(size);
}

// --- building -----------------------------------------------------------------------------

QWidget *TOptionsForm::addPage(const QString &name, const QString &caption, const char *key)
{
    auto *page = new QWidget(m_pages);
    page->setObjectName(name);
    const int index = m_pages->addTab(page, caption);
    m_texts.push_back([this, index, key] { m_pages->setTabText(index, rpxText(key)); });
    return page;
}

QGroupBox *TOptionsForm::group(
    QWidget *page, const QString &name, const QString &title, const char *key)
{
    auto *box = new QGroupBox(title, page);
    box->setObjectName(name);
    m_texts.push_back([box, key] { box->setTitle(rpxText(key)); });
    return box;
}

QLabel *TOptionsForm::label(
    const QString &name, const QString &text, const char *key, QWidget *buddy)
{
    auto *l = new QLabel(text, this);
    l->setObjectName(name);
    l->setBuddy(buddy);
    m_texts.push_back([l, key] { l->setText(rpxText(key)); });
    return l;
}

QLabel *TOptionsForm::description(const QString &name, const QString &text, const char *key)
{
    auto *l = new QLabel(text, this);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_texts.push_back([l, key] { l->setText(rpxText(key)); });
    return l;
}

QCheckBox *TOptionsForm::checkBox(const QString &name, const QString &text, const char *key)
{
    auto *box = new QCheckBox(text, this);
    box->setObjectName(name);
    m_texts.push_back([box, key] { box->setText(rpxText(key)); });
    return box;
}

QRadioButton *TOptionsForm::radioButton(const QString &name, const QString &text, const char *key)
{
    auto *radio = new QRadioButton(text, this);
    radio->setObjectName(name);
    m_texts.push_back([radio, key] { radio->setText(rpxText(key)); });
    return radio;
}

QPushButton *TOptionsForm::button(const QString &name, const QString &text, const char *key)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    m_texts.push_back([b, key] { b->setText(rpxText(key)); });
    return b;
}

QLineEdit *TOptionsForm::lineEdit(const QString &name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    return edit;
}

void TOptionsForm::applyTexts()
{
    for (const auto &apply : m_texts)
        apply();
}

void TOptionsForm::buildAgreementPage()
{
    QWidget *page
        = addPage(QStringLiteral("AgreementPage"), QStringLiteral("Ujednání"), "Options.Agreement");

    m_agreementMemo = new QPlainTextEdit(page);
    m_agreementMemo->setObjectName(QStringLiteral("AgreementMemo"));
    m_agreementMemo->setTabChangesFocus(true);
    connect(
        m_agreementMemo, &QPlainTextEdit::textChanged, this, &TOptionsForm::limitAgreementLength);

    m_agreementTextSizeEdit = new TextSizeSpinBox(page);
    m_agreementTextSizeEdit->setObjectName(QStringLiteral("AgreementTextSizeEdit"));
    m_agreementTextSizeEdit->setRange(1, 72);
    QLabel *sizeLabel = label(QStringLiteral("AgreementTextSizeLabel"),
        QStringLiteral("Velikost písma:"), "Options.AgreementTextSize", m_agreementTextSizeEdit);

    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(m_agreementTextSizeEdit);
    sizeRow->addStretch();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_agreementMemo);
    layout->addLayout(sizeRow);
}

void TOptionsForm::buildCompanyPage()
{
    QWidget *page
        = addPage(QStringLiteral("CompanyPage"), QStringLiteral("Firma"), "Options.Company");

    // The shop's identity as printed on receipts and issue documents.
    QGroupBox *shopGroup
        = group(page, QStringLiteral("ShopGroup"), QStringLiteral("Prodejna"), "Options.ShopGroup");
    m_shopNameEdit = lineEdit(QStringLiteral("ShopNameEdit"));
    m_shopAddressMemo = new QPlainTextEdit(shopGroup);
    m_shopAddressMemo->setObjectName(QStringLiteral("ShopAddressMemo"));
    m_shopAddressMemo->setTabChangesFocus(true);
    m_shopAddressMemo->setFixedHeight(m_shopAddressMemo->fontMetrics().lineSpacing() * 3
        + 2 * m_shopAddressMemo->frameWidth()
        + int(2 * m_shopAddressMemo->document()->documentMargin()));
    m_shopIdentificationEdit = lineEdit(QStringLiteral("ShopIdentificationEdit"));
    auto *shopForm = formLayout();
    shopForm->addRow(label(QStringLiteral("ShopNameLabel"), QStringLiteral("Název:"),
                         "Options.ShopName", m_shopNameEdit),
        m_shopNameEdit);
    shopForm->addRow(label(QStringLiteral("ShopAddressLabel"), QStringLiteral("Adresa:"),
                         "Options.ShopAddress", m_shopAddressMemo),
        m_shopAddressMemo);
    shopForm->addRow(label(QStringLiteral("ShopIdentificationLabel"), QStringLiteral("IČ / DIČ:"),
                         "Options.ShopIdentification", m_shopIdentificationEdit),
        m_shopIdentificationEdit);
    shopGroup->setLayout(shopForm);

    // Cash desk and engineer side by side, each label above its box.
    QGroupBox *cashGroup
        = group(page, QStringLiteral("CashGroup"), QStringLiteral("Pokladna"), "Options.CashGroup");
    m_cashNameEdit = lineEdit(QStringLiteral("CashNameEdit"));
    auto *cashLayout = new QVBoxLayout(cashGroup);
    cashLayout->addWidget(label(QStringLiteral("CashNameLabel"), QStringLiteral("Název pokladny:"),
        "Options.CashName", m_cashNameEdit));
    cashLayout->addWidget(m_cashNameEdit);

    QGroupBox *engineerGroup = group(
        page, QStringLiteral("EngineerGroup"), QStringLiteral("Technik"), "Options.EngineerGroup");
    m_defaultEngineerEdit = lineEdit(QStringLiteral("DefaultEngineerEdit"));
    auto *engineerLayout = new QVBoxLayout(engineerGroup);
    engineerLayout->addWidget(label(QStringLiteral("DefaultEngineerLabel"),
        QStringLiteral("Výchozí technik:"), "Options.DefaultEngineer", m_defaultEngineerEdit));
    engineerLayout->addWidget(m_defaultEngineerEdit);

    auto *cashRow = new QHBoxLayout;
    cashRow->addWidget(cashGroup, 1);
    cashRow->addWidget(engineerGroup, 1);

    QGroupBox *logoGroup
        = group(page, QStringLiteral("LogoGroup"), QStringLiteral("Logo"), "Options.LogoGroup");
    m_image = new QLabel(logoGroup);
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setFrameShape(QFrame::StyledPanel);
    m_image->setFrameShadow(QFrame::Sunken);
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setFixedSize(
        LogoSize + 2 * m_image->frameWidth(), LogoSize + 2 * m_image->frameWidth());
    m_logoPathEdit = lineEdit(QStringLiteral("LogoPathEdit"));
    connect(m_logoPathEdit, &QLineEdit::editingFinished, this, &TOptionsForm::logoPathEdited);
    QPushButton *select = button(
        QStringLiteral("LogoSelectButton"), QStringLiteral("Vybrat..."), "Options.LogoSelect");
    connect(select, &QPushButton::clicked, this, &TOptionsForm::selectLogo);
    QPushButton *remove = button(
        QStringLiteral("LogoRemoveButton"), QStringLiteral("Odstranit"), "Options.LogoRemove");
    connect(remove, &QPushButton::clicked, this, &TOptionsForm::removeLogo);
    m_logoStretchCheckBox = checkBox(QStringLiteral("LogoStretchCheckBox"),
        QStringLiteral("Přizpůsobit (100x100)"), "Options.LogoStretch");
    connect(m_logoStretchCheckBox, &QCheckBox::toggled, this, &TOptionsForm::showLogo);

    auto *logoButtons = new QHBoxLayout;
    logoButtons->addWidget(select);
    logoButtons->addWidget(remove);
    logoButtons->addStretch();
    auto *logoControls = new QVBoxLayout;
    logoControls->addWidget(m_logoPathEdit);
    logoControls->addLayout(logoButtons);
    logoControls->addWidget(m_logoStretchCheckBox);
    logoControls->addStretch();
    auto *logoLayout = new QHBoxLayout(logoGroup);
    logoLayout->addWidget(m_image, 0, Qt::AlignTop);
    logoLayout->addLayout(logoControls, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(shopGroup);
    layout->addLayout(cashRow);
    layout->addWidget(logoGroup);
    layout->addStretch();
}

void TOptionsForm::buildSettingsPage()
{
    QWidget *page
        = addPage(QStringLiteral("SettingsPage"), QStringLiteral("Nastavení"), "Options.Settings");

    QGroupBox *optionsGroup = group(
        page, QStringLiteral("OptionsGroup"), QStringLiteral("Možnosti"), "Options.OptionsGroup");
    m_easyCustomer = checkBox(QStringLiteral("CheckBoxEasyCustomer"),
        QStringLiteral("Zjednodušená evidence zákazníků."), "Options.EasyCustomer");
    m_customerSelect = checkBox(QStringLiteral("CheckBoxCustomerSelect"),
        QStringLiteral("Evidence zákazníků výběrem."), "Options.CustomerSelect");
    m_engineerMandatory = checkBox(QStringLiteral("CheckBoxEngineerMandatory"),
        QStringLiteral("Povinně zadaný technik"), "Options.EngineerMandatory");
    m_deleteOrder = checkBox(QStringLiteral("CheckBoxDeleteOrder"),
        QStringLiteral("Povolit mazání zakázek"), "Options.DeleteOrders");
    m_showOrders = checkBox(QStringLiteral("CheckBoxShowOrders"),
        QStringLiteral("Zobrazit seznam zakázek"), "Options.ShowOrders");
    m_resetOrder = checkBox(QStringLiteral("CheckBoxResetOrder"),
        QStringLiteral("Resetovat čítač zakázek v novém roce"), "Options.ResetOrders");
    m_printReceipt = checkBox(QStringLiteral("CheckBoxPrintReceipt"),
        QStringLiteral("Automatický tisk příjemky po uložení zakázky"), "Options.PrintReceipt");
    m_printIssue = checkBox(QStringLiteral("CheckBoxPrintIssue"),
        QStringLiteral("Automatický tisk výdejky po uložení zakázky"), "Options.PrintIssue");
    auto *optionsLayout = new QVBoxLayout(optionsGroup);
    for (QCheckBox *box : {m_easyCustomer, m_customerSelect, m_engineerMandatory, m_deleteOrder,
             m_showOrders, m_resetOrder, m_printReceipt, m_printIssue})
        optionsLayout->addWidget(box);

    QGroupBox *orderGroup = group(
        page, QStringLiteral("OrderGroup"), QStringLiteral("Zakázka"), "Options.OrderGroup");
    m_joinOrders = checkBox(QStringLiteral("CheckBoxJoinOrders"),
        QStringLiteral("Propojovat s existující zakázkou"), "Options.JoinOrders");
    m_nullImeiEdit = lineEdit(QStringLiteral("NullImeiEdit"));
    m_daysToDeadlineEdit = lineEdit(QStringLiteral("DaysToDeadlineEdit"));
    m_daysToDeadlineEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,3}")), m_daysToDeadlineEdit));
    m_daysToDeadlineEdit->setMaximumWidth(
        m_daysToDeadlineEdit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 6 + 16);
    auto *orderForm = formLayout();
    orderForm->addRow(m_joinOrders);
    orderForm->addRow(label(QStringLiteral("NullImeiLabel"), QStringLiteral("Prázdné IMEI:"),
                          "Options.NullImei", m_nullImeiEdit),
        m_nullImeiEdit);
    orderForm->addRow(description(QStringLiteral("NullImeiDescriptionMemo"),
        QStringLiteral("Text zadávaný místo IMEI u přístroje, který IMEI nemá; "
                       "takové IMEI se nikde nekontroluje."),
        "Options.NullImeiDescription"));
    orderForm->addRow(
        label(QStringLiteral("DaysToDeadlineLabel"), QStringLiteral("Dnů do termínu:"),
            "Options.DaysToDeadline", m_daysToDeadlineEdit),
        m_daysToDeadlineEdit);
    orderGroup->setLayout(orderForm);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(optionsGroup);
    layout->addWidget(orderGroup);
    layout->addStretch();
}

void TOptionsForm::buildDatabasePage()
{
    QWidget *page
        = addPage(QStringLiteral("DatabasePage"), QStringLiteral("Databáze"), "Options.Database");

    QGroupBox *databaseGroup = group(
        page, QStringLiteral("DatabaseGroup"), QStringLiteral("Databáze"), "Options.DatabaseGroup");
    m_dbFileNameEdit = lineEdit(QStringLiteral("DBFileNameEdit"));
    m_dbFileNameEdit->setReadOnly(true);
    QPushButton *select = button(QStringLiteral("DBFileNameSelectButton"),
        QStringLiteral("Procházet"), "Options.DBFileNameSelect");
    connect(select, &QPushButton::clicked, this, &TOptionsForm::selectDatabaseFile);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(label(QStringLiteral("DBFileNameLabel"), QStringLiteral("Soubor databáze:"),
        "Options.DBFileName", m_dbFileNameEdit));
    fileRow->addWidget(m_dbFileNameEdit, 1);
    fileRow->addWidget(select);
    auto *databaseLayout = new QVBoxLayout(databaseGroup);
    databaseLayout->addWidget(description(QStringLiteral("DatabaseDescriptionMemo"),
        QStringLiteral("Soubor databáze, který program otevře při příštím spuštění, "
                       "pokud vedle programu žádná databáze není."),
        "Options.DatabaseDescription"));
    databaseLayout->addLayout(fileRow);

    QGroupBox *passwordGroup = group(
        page, QStringLiteral("PasswordGroup"), QStringLiteral("Heslo"), "Options.PasswordGroup");
    QPushButton *changePassword = button(QStringLiteral("ButtonChangePassword"),
        QStringLiteral("Nastav heslo"), "Options.ChangePassword");
    connect(changePassword, &QPushButton::clicked, this, &TOptionsForm::changePassword);
    auto *passwordLayout = new QHBoxLayout(passwordGroup);
    passwordLayout->addWidget(
        description(QStringLiteral("PasswordDescriptionMemo"),
            QStringLiteral(
                "Funkce umožní kontrolovat mazání zakázek a změnu konečné ceny zakázky.\n"
                "Po zadání hesla, nebude možné bez jeho znalosti provádět změny "
                "uvedených položek zakázky."),
            "Options.PasswordDescription"),
        1);
    passwordLayout->addWidget(changePassword, 0, Qt::AlignTop);

    QGroupBox *resetGroup = group(
        page, QStringLiteral("ResetGroup"), QStringLiteral("Čítač zakázek"), "Options.ResetGroup");
    QPushButton *reset
        = button(QStringLiteral("ButtonReset"), QStringLiteral("Inicializuj"), "Options.Reset");
    connect(reset, &QPushButton::clicked, this, &TOptionsForm::resetCounter);
    auto *resetLayout = new QHBoxLayout(resetGroup);
    resetLayout->addWidget(description(QStringLiteral("ResetDescriptionMemo"),
                               QStringLiteral("Nastaví čítač zakázek na nulu. Funkce je dostupná "
                                              "pouze nad prázdnou databází zakázek."),
                               "Options.ResetDescription"),
        1);
    resetLayout->addWidget(reset, 0, Qt::AlignTop);

    // The two action buttons line up in one column.
    const int width = qMax(changePassword->sizeHint().width(), reset->sizeHint().width());
    changePassword->setMinimumWidth(width);
    reset->setMinimumWidth(width);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(databaseGroup);
    layout->addWidget(passwordGroup);
    layout->addWidget(resetGroup);
    layout->addStretch();
}

void TOptionsForm::buildPrintPage()
{
    QWidget *page = addPage(QStringLiteral("PrintPage"), QStringLiteral("Tisk"), "Options.Print");

    QGroupBox *receiptGroup = group(
        page, QStringLiteral("ReceiptGroup"), QStringLiteral("Příjemka"), "Options.ReceiptGroup");
    m_receiptOne = radioButton(QStringLiteral("RadioButtonReceiptOne"),
        QStringLiteral("Jedna příjemka na stránce"), "Options.ReceiptOne");
    m_receiptTwo = radioButton(QStringLiteral("RadioButtonReceiptTwo"),
        QStringLiteral("Dvě příjemky na stránce"), "Options.ReceiptTwo");
    auto *receiptLayout = new QVBoxLayout(receiptGroup);
    receiptLayout->addWidget(description(QStringLiteral("ReceiptDescriptionMemo"),
        QStringLiteral("Počet příjemek vytištěných na jednu stránku A4."),
        "Options.ReceiptDescription"));
    receiptLayout->addWidget(m_receiptOne);
    receiptLayout->addWidget(m_receiptTwo);

    QGroupBox *issueGroup = group(
        page, QStringLiteral("IssueGroup"), QStringLiteral("Výdejka"), "Options.IssueGroup");
    m_issueOne = radioButton(QStringLiteral("RadioButtonIssueOne"),
        QStringLiteral("Jedna výdejka na stránce"), "Options.IssueOne");
    m_issueTwo = radioButton(QStringLiteral("RadioButtonIssueTwo"),
        QStringLiteral("Dvě výdejky na stránce"), "Options.IssueTwo");
    auto *issueLayout = new QVBoxLayout(issueGroup);
    issueLayout->addWidget(description(QStringLiteral("IssueDescriptionMemo"),
        QStringLiteral("Počet výdejek vytištěných na jednu stránku A4."),
        "Options.IssueDescription"));
    issueLayout->addWidget(m_issueOne);
    issueLayout->addWidget(m_issueTwo);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(receiptGroup);
    layout->addWidget(issueGroup);
    layout->addStretch();
}

void TOptionsForm::buildCurrencyPage()
{
    QWidget *page
        = addPage(QStringLiteral("CurrencyPage"), QStringLiteral("Měna"), "Options.Currency");

    QGroupBox *currencyGroup = group(
        page, QStringLiteral("CurrencyGroup"), QStringLiteral("Měny"), "Options.CurrencyGroup");
    m_mainCurrencyEdit = lineEdit(QStringLiteral("EditMainCurrency"));
    m_useSecondaryCurrency = checkBox(QStringLiteral("CheckBoxUseSecondaryCurrency"),
        QStringLiteral("Používat vedlejší měnu"), "Options.UseSecondaryCurrency");
    connect(m_useSecondaryCurrency, &QCheckBox::toggled, this,
        &TOptionsForm::useSecondaryCurrencyChanged);
    m_secondaryCurrencyEdit = lineEdit(QStringLiteral("EditSecondaryCurrency"));
    m_exchangeRateEdit = lineEdit(QStringLiteral("EditExchangeRate"));
    connect(m_exchangeRateEdit, &QLineEdit::textChanged, this, &TOptionsForm::validateInputs);
    m_secondaryCurrencyLabel
        = label(QStringLiteral("SecondaryCurrencyLabel"), QStringLiteral("Vedlejší měna:"),
                "Options.SecondaryCurrency", m_secondaryCurrencyEdit);
    m_exchangeRateLabel = label(QStringLiteral("ExchangeRateLabel"), QStringLiteral("Kurz:"),
        "Options.ExchangeRate", m_exchangeRateEdit);
    for (QLineEdit *edit : {m_mainCurrencyEdit, m_secondaryCurrencyEdit, m_exchangeRateEdit})
        edit->setMaximumWidth(120);

    auto *form = formLayout();
    form->addRow(label(QStringLiteral("MainCurrencyLabel"), QStringLiteral("Hlavní měna:"),
                     "Options.MainCurrency", m_mainCurrencyEdit),
        m_mainCurrencyEdit);
    form->addRow(m_useSecondaryCurrency);
    form->addRow(m_secondaryCurrencyLabel, m_secondaryCurrencyEdit);
    form->addRow(m_exchangeRateLabel, m_exchangeRateEdit);
    currencyGroup->setLayout(form);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(currencyGroup);
    layout->addStretch();
}

void TOptionsForm::buildWebPage()
{
    QWidget *page = addPage(QStringLiteral("WebPage"), QStringLiteral("WWW"), "Options.Web");

    QGroupBox *internetGroup = group(
        page, QStringLiteral("InternetGroup"), QStringLiteral("Internet"), "Options.InternetGroup");
    m_orderWwwUrlEdit = lineEdit(QStringLiteral("OrderWwwUrlEdit"));
    m_pcrImeiCheckEdit = lineEdit(QStringLiteral("PcrImeiCheckEdit"));
    for (QLineEdit *edit : { m_orderWwwUrlEdit, m_pcrImeiCheckEdit })
        connect(edit, &QLineEdit::textChanged, this, &TOptionsForm::validateInputs);
    // The addresses get the whole width, below their labels.
    auto *form = formLayout();
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->addRow(label(QStringLiteral("WwwUrlLabel"), QStringLiteral("Sledování zakázek:"),
                     "Options.WwwUrl", m_orderWwwUrlEdit),
        m_orderWwwUrlEdit);
    form->addRow(
        label(QStringLiteral("PcrImeiCheckLabel"), QStringLiteral("Registr odcizených telefonů:"),
            "Options.PcrImeiCheck", m_pcrImeiCheckEdit),
        m_pcrImeiCheckEdit);
    internetGroup->setLayout(form);
    // Why OK is refused, while an address is: shown below the addresses and on them.
    m_webAddressHint = new QLabel(page);
    m_webAddressHint->setObjectName(QStringLiteral("WebAddressHintLabel"));
    m_webAddressHint->setWordWrap(true);
    m_texts.push_back([this] { m_webAddressHintText = rpxText("Options.WebAddressHint"); });

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(internetGroup);
    layout->addWidget(m_webAddressHint);
    layout->addStretch();
}

void TOptionsForm::buildLanguagePage()
{
    QWidget *page
        = addPage(QStringLiteral("LanguagePage"), QStringLiteral("Jazyk"), "Options.Language");

    QGroupBox *languageGroup = group(
        page, QStringLiteral("LanguageGroup"), QStringLiteral("Jazyk"), "Options.LanguageGroup");
    m_languageCombo = new QComboBox(languageGroup);
    m_languageCombo->setObjectName(QStringLiteral("LanguageSelectComboBox"));
    for (const Language &language : Languages)
        m_languageCombo->addItem(
            QString::fromUtf8(language.name), QString::fromLatin1(language.code));

    auto *form = formLayout();
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(description(QStringLiteral("LanguageDescriptionMemo"),
        QStringLiteral("Změna nastavení vyžaduje restart aplikace."),
        "Options.LanguageDescription"));
    form->addRow(label(QStringLiteral("LanguageSelectLabel"), QStringLiteral("Jazyk aplikace:"),
                     "Options.LanguageSelect", m_languageCombo),
        m_languageCombo);
    languageGroup->setLayout(form);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(languageGroup);
    layout->addStretch();
}

// --- reading and writing the settings -------------------------------------------------------

void TOptionsForm::load()
{
    CConfig &c = m_config;

    m_agreementMemo->setPlainText(c.GetAgreementText());
    m_agreementTextSizeEdit->setValue(c.GetTSAgreement());

    m_shopNameEdit->setText(c.GetShopName());
    m_shopAddressMemo->setPlainText(c.GetShopAddress());
    m_shopIdentificationEdit->setText(c.GetShopIdentification());
    m_cashNameEdit->setText(c.GetCashName());
    m_defaultEngineerEdit->setText(c.GetDefaultEngineer());
    m_logoPath = c.GetLogoFileName();
    m_logoPathEdit->setText(m_logoPath);
    m_logoStretchCheckBox->setChecked(c.GetLogoOptions().contains(QLatin1Char('S')));
    // A logo that has gone missing shows as an empty picture; the message is kept for a path
    // the user enters.
    loadLogo(false);

    m_easyCustomer->setChecked(c.GetEasyCustomer());
    m_customerSelect->setChecked(c.GetCustomerSelect());
    m_engineerMandatory->setChecked(c.GetEngineerMandatory());
    m_deleteOrder->setChecked(c.GetDeleteOrder());
    m_showOrders->setChecked(c.GetShowOrders());
    m_resetOrder->setChecked(c.GetResetCounter());
    m_printReceipt->setChecked(c.GetPrintReceipt());
    m_printIssue->setChecked(c.GetPrintIssue());
    m_joinOrders->setChecked(c.GetJoinExistingOrder());
    m_nullImeiEdit->setText(c.GetNullImei());
    m_daysToDeadlineEdit->setText(QString::number(c.GetDaysToDeadline()));

    m_dbFileNameEdit->setText(c.GetDBFileName());
    m_dbFileNameEdit->setPlaceholderText(dataModule().fileName());

    const int receiptMode = c.GetReceiptPrintMode();
    m_receiptOne->setChecked(receiptMode == 1);
    m_receiptTwo->setChecked(receiptMode == 2);
    const int issueMode = c.GetIssuePrintMode();
    m_issueOne->setChecked(issueMode == 1);
    m_issueTwo->setChecked(issueMode == 2);

    m_mainCurrencyEdit->setText(c.GetMainCurrency());
    m_useSecondaryCurrency->setChecked(c.GetUseSecondaryCurrency());
    m_secondaryCurrencyEdit->setText(c.GetSecondaryCurrency());
    QString rate;
    try {
        rate = CConfig::formatGeneral(c.GetExchangeRate());
    } catch (const RpxError &) {
        // A stored rate that is not a number is shown as it is, so that it can be corrected.
        rate = c.GetConfigValue(QStringLiteral("ExchangeRate"));
    }
    m_exchangeRateEdit->setText(rate);
    useSecondaryCurrencyChanged();

    m_orderWwwUrlEdit->setText(c.GetOrderWwwUrl());
    m_pcrImeiCheckEdit->setText(c.GetPcrImeiCheckUrl());
    validateInputs();

    m_storedLanguage = c.GetLanguage();
    m_languageCombo->setCurrentIndex(m_languageCombo->findData(m_storedLanguage));
}

void TOptionsForm::store()
{
    CConfig &c = m_config;
    TRpx2Data::WriteTransaction transaction(dataModule());

    c.SetLogoOptions(m_logoStretchCheckBox->isChecked() ? QStringLiteral("S") : QString());
    c.SetTSAgreement(typedNumber(m_agreementTextSizeEdit->cleanText(),
        m_agreementTextSizeEdit->minimum(), m_agreementTextSizeEdit->maximum(), DefaultTextSize));
    c.SetAgreementText(m_agreementMemo->toPlainText());
    c.SetLogoFileName(m_logoPathEdit->text());
    c.SetEasyCustomer(m_easyCustomer->isChecked());
    c.SetCustomerSelect(m_customerSelect->isChecked());
    c.SetEngineerMandatory(m_engineerMandatory->isChecked());
    c.SetDeleteOrder(m_deleteOrder->isChecked());
    c.SetShowOrders(m_showOrders->isChecked());
    c.SetResetCounter(m_resetOrder->isChecked());
    c.SetPrintReceipt(m_printReceipt->isChecked());
    c.SetPrintIssue(m_printIssue->isChecked());
    c.SetJoinExistingOrder(m_joinOrders->isChecked());
    c.SetNullImei(m_nullImeiEdit->text());
    c.SetDaysToDeadline(typedNumber(m_daysToDeadlineEdit->text(), 0, 999, DefaultDaysToDeadline));
    c.SetCashName(m_cashNameEdit->text());
    c.SetDefaultEngineer(m_defaultEngineerEdit->text());
    c.SetDBFileName(m_dbFileNameEdit->text());
    if (m_receiptOne->isChecked())
        c.SetReceiptPrintMode(1);
    else if (m_receiptTwo->isChecked())
        c.SetReceiptPrintMode(2);
    if (m_issueOne->isChecked())
        c.SetIssuePrintMode(1);
    else if (m_issueTwo->isChecked())
        c.SetIssuePrintMode(2);
    c.SetUseSecondaryCurrency(m_useSecondaryCurrency->isChecked());
    c.SetMainCurrency(m_mainCurrencyEdit->text());
    c.SetSecondaryCurrency(m_secondaryCurrencyEdit->text());
    c.SetExchangeRate(m_exchangeRate);
    c.SetOrderWwwUrl(m_orderWwwUrlEdit->text());
    c.SetPcrImeiCheckUrl(m_pcrImeiCheckEdit->text());
    c.SetShopName(m_shopNameEdit->text());
    c.SetShopAddress(m_shopAddressMemo->toPlainText());
    c.SetShopIdentification(m_shopIdentificationEdit->text());
    // With no entry chosen (an unknown code was stored) the stored code stays.
    if (m_languageCombo->currentIndex() >= 0)
        c.SetLanguage(m_languageCombo->currentData().toString());

    transaction.commit();
}

void TOptionsForm::accept()
{
    if (!m_inputsValid)
        return;
    const QString language = m_languageCombo->currentIndex() >= 0
        ? m_languageCombo->currentData().toString()
        : m_storedLanguage;
    // A language without its file would start the program without texts.
    if (language != m_storedLanguage && !QFileInfo::exists(AppPaths::languageFile(language))) {
        Ui::instance().message(
            formatText(rpxText("Options.LanguageFileMissing"),
                       { QDir::toNativeSeparators(AppPaths::languageFile(language)) }),
            appErrorTitle(), Prompts::Icon::Warning);
        return;
    }
    if (!runGuarded([this] { store(); }))
        return;
    if (language != m_storedLanguage)
        Ui::instance().message(QStringLiteral("Změna nastavení vyžaduje restart aplikace."), {},
            Prompts::Icon::Information);
    QDialog::accept();
}

// --- logo ---------------------------------------------------------------------------------

void TOptionsForm::loadLogo(bool reportFailure)
{
    m_logo = QPixmap();
    if (!m_logoPath.isEmpty()) {
        QImageReader reader(m_logoPath);
        const QImage image = reader.read();
        if (image.isNull()) {
            if (reportFailure)
                Ui::instance().message(rpxText("Options.LogoFileNotFound") + reader.errorString(),
                    appErrorTitle(), Prompts::Icon::Error);
        } else {
            m_logo = QPixmap::fromImage(image);
        }
    }
    showLogo();
}

void TOptionsForm::showLogo()
{
    if (m_logo.isNull()) {
        m_image->clear();
        return;
    }
    const QSize box = m_image->contentsRect().size();
    if (m_logoStretchCheckBox->isChecked())
        m_image->setPixmap(m_logo.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    else if (m_logo.width() > box.width() || m_logo.height() > box.height())
        m_image->setPixmap(m_logo.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        m_image->setPixmap(m_logo);
}

void TOptionsForm::logoPathEdited()
{
    // Leaving the box without a change must not load (and complain) again.
    if (m_logoPathEdit->text() == m_logoPath)
        return;
    m_logoPath = m_logoPathEdit->text();
    loadLogo(true);
}

void TOptionsForm::selectLogo()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    const QString filter = rpxText("Options.LogoGroup") + QStringLiteral(" (")
        + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    const QString file = Ui::instance().openFileName(
        rpxText("Options.LogoGroup"), QFileInfo(m_logoPath).absolutePath(), filter);
    if (file.isEmpty())
        return;
    m_logoPath = file;
    m_logoPathEdit->setText(file);
    loadLogo(true);
}

void TOptionsForm::removeLogo()
{
    m_logoPath.clear();
    m_logoPathEdit->clear();
    loadLogo(false);
}

// --- other controls -------------------------------------------------------------------------

void TOptionsForm::limitAgreementLength()
{
    const int excess = m_agreementMemo->document()->characterCount() - 1 - MaxAgreementLength;
    if (excess <= 0)
        return;
    // Drop what was just typed or pasted beyond the limit, i.e. the characters before the
    // cursor; the text after it stays.
    QTextCursor cursor = m_agreementMemo->textCursor();
    const int end = cursor.position();
    if (end >= excess) {
        cursor.setPosition(end - excess);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
    } else {
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, excess);
    }
    cursor.removeSelectedText();
}

void TOptionsForm::validateInputs()
{
    // Prices are divided by the rate, so 0, a negative rate and one so small that prices
    // overflow are refused like a non-number. Only web pages are opened from the addresses.
    double rate = 0;
    const bool rateValid = parseRate(m_exchangeRateEdit->text(), &rate);
    if (rateValid)
        m_exchangeRate = rate;
    markInvalid(m_exchangeRateEdit, !rateValid);
    bool addressesValid = true;
    for (QLineEdit *edit : { m_orderWwwUrlEdit, m_pcrImeiCheckEdit }) {
        const bool valid = CConfig::IsWebAddress(edit->text());
        markInvalid(edit, !valid);
        edit->setToolTip(valid ? QString() : m_webAddressHintText);
        addressesValid = addressesValid && valid;
    }
    m_webAddressHint->setText(addressesValid ? QString() : m_webAddressHintText);
    m_inputsValid = rateValid && addressesValid;
    m_okButton->setEnabled(m_inputsValid);
}

void TOptionsForm::useSecondaryCurrencyChanged()
{
    const bool on = m_useSecondaryCurrency->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *> {m_secondaryCurrencyLabel,
             m_secondaryCurrencyEdit, m_exchangeRateLabel, m_exchangeRateEdit})
        w->setEnabled(on);
}

void TOptionsForm::selectDatabaseFile()
{
    runGuarded([this] {
        if (!PasswordCheck::allowed(this, "Options.InvalidPassword"))
            return;
        QString start = m_dbFileNameEdit->text();
        if (start.isEmpty())
            start = dataModule().fileName().isEmpty() ? AppPaths::programDir()
                                                      : dataModule().fileName();
        const QString file = Ui::instance().openFileName(rpxText("Options.DatabaseGroup"), start,
            QStringLiteral("Datové soubory Repaxo (*.db)"));
        if (!file.isEmpty())
            m_dbFileNameEdit->setText(file);
    });
}

void TOptionsForm::resetCounter()
{
    runGuarded([] {
        TRpx2Data &d = dataModule();
        if (d.GetOrderCount() > 0) {
            Ui::instance().message(
                QStringLiteral("Funkce je dostupná pouze nad prázdnou databází zakázek!"), {},
                Prompts::Icon::Warning);
            return;
        }
        OrderNumbering::ResetOrderCounter(d);
    });
}

void TOptionsForm::changePassword()
{
    runGuarded([this] { PasswordCheck::changePassword(this); });
}
