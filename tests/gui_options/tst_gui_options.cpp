// The options dialog and the password: settings through the dialog's controls and back,
// the rules for odd input, the buttons that act at once, and the password prompt and change.

#include "fakeui.h"
#include "testshop.h"

#include "config.h"
#include "options/changepasswordform.h"
#include "options/optionsform.h"
#include "options/passwordcheck.h"
#include "options/passwordform.h"
#include "rpx2data.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

template <class T> T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("control %s not found", name);
    return widget;
}

// Presses OK the way the user does, so that the dialog's own accept runs.
int pressOk(QDialog &dialog)
{
    child<QPushButton>(dialog, "OkButton")->click();
    return dialog.result();
}

// A handler for the password prompt: types the text and presses OK, or cancels.
std::function<int(QDialog &)> typePassword(const QString &text, bool ok = true)
{
    return [text, ok](QDialog &dialog) {
        child<QLineEdit>(dialog, "PasswordEdit")->setText(text);
        return ok ? QDialog::Accepted : QDialog::Rejected;
    };
}

// Every setting the dialog edits, by name; the same names are used on both sides.
using Settings = QMap<QByteArray, QVariant>;

Settings readConfig(CConfig &c)
{
    return {
        {"Agreement", c.GetAgreementText()},
        {"TSAgreement", c.GetTSAgreement()},
        {"LogoStretch", c.GetLogoOptions() == QLatin1String("S")},
        {"LogoFileName", c.GetLogoFileName()},
        {"EasyCustomer", c.GetEasyCustomer()},
        {"CustomerSelect", c.GetCustomerSelect()},
        {"EngineerMandatory", c.GetEngineerMandatory()},
        {"DeleteOrder", c.GetDeleteOrder()},
        {"ShowOrders", c.GetShowOrders()},
        {"ResetCounter", c.GetResetCounter()},
        {"PrintReceipt", c.GetPrintReceipt()},
        {"PrintIssue", c.GetPrintIssue()},
        {"JoinExistingOrder", c.GetJoinExistingOrder()},
        {"NullImei", c.GetNullImei()},
        {"DaysToDeadline", c.GetDaysToDeadline()},
        {"CashName", c.GetCashName()},
        {"DefaultEngineer", c.GetDefaultEngineer()},
        {"DBFileName", c.GetDBFileName()},
        {"ReceiptPrintMode", c.GetReceiptPrintMode()},
        {"IssuePrintMode", c.GetIssuePrintMode()},
        {"UseSecondaryCurrency", c.GetUseSecondaryCurrency()},
        {"MainCurrency", c.GetMainCurrency()},
        {"SecondaryCurrency", c.GetSecondaryCurrency()},
        {"ExchangeRate", c.GetExchangeRate()},
        {"OrderWwwUrl", c.GetOrderWwwUrl()},
        {"PcrImeiCheckUrl", c.GetPcrImeiCheckUrl()},
        {"ShopName", c.GetShopName()},
        {"ShopAddress", c.GetShopAddress()},
        {"ShopIdentification", c.GetShopIdentification()},
        {"Language", c.GetLanguage()},
    };
}

void writeConfig(CConfig &c, const Settings &s)
{
    c.SetAgreementText(s["Agreement"].toString());
    c.SetTSAgreement(s["TSAgreement"].toInt());
    c.SetLogoOptions(s["LogoStretch"].toBool() ? QStringLiteral("S") : QString());
    c.SetLogoFileName(s["LogoFileName"].toString());
    c.SetEasyCustomer(s["EasyCustomer"].toBool());
    c.SetCustomerSelect(s["CustomerSelect"].toBool());
    c.SetEngineerMandatory(s["EngineerMandatory"].toBool());
    c.SetDeleteOrder(s["DeleteOrder"].toBool());
    c.SetShowOrders(s["ShowOrders"].toBool());
    c.SetResetCounter(s["ResetCounter"].toBool());
    c.SetPrintReceipt(s["PrintReceipt"].toBool());
    c.SetPrintIssue(s["PrintIssue"].toBool());
    c.SetJoinExistingOrder(s["JoinExistingOrder"].toBool());
    c.SetNullImei(s["NullImei"].toString());
    c.SetDaysToDeadline(s["DaysToDeadline"].toInt());
    c.SetCashName(s["CashName"].toString());
    c.SetDefaultEngineer(s["DefaultEngineer"].toString());
    c.SetDBFileName(s["DBFileName"].toString());
    c.SetReceiptPrintMode(s["ReceiptPrintMode"].toInt());
    c.SetIssuePrintMode(s["IssuePrintMode"].toInt());
    c.SetUseSecondaryCurrency(s["UseSecondaryCurrency"].toBool());
    c.SetMainCurrency(s["MainCurrency"].toString());
    c.SetSecondaryCurrency(s["SecondaryCurrency"].toString());
    c.SetExchangeRate(s["ExchangeRate"].toDouble());
    c.SetOrderWwwUrl(s["OrderWwwUrl"].toString());
    c.SetPcrImeiCheckUrl(s["PcrImeiCheckUrl"].toString());
    c.SetShopName(s["ShopName"].toString());
    c.SetShopAddress(s["ShopAddress"].toString());
    c.SetShopIdentification(s["ShopIdentification"].toString());
    c.SetLanguage(s["Language"].toString());
}

bool checked(QDialog &f, const char *name)
{
    return child<QAbstractButton>(f, name)->isChecked();
}

int printMode(QDialog &f, const char *one, const char *two)
{
    return checked(f, one) ? 1 : checked(f, two) ? 2 : 0;
}

Settings readForm(QDialog &f)
{
    return {
        {"Agreement", child<QPlainTextEdit>(f, "AgreementMemo")->toPlainText()},
        {"TSAgreement", child<QSpinBox>(f, "AgreementTextSizeEdit")->value()},
        {"LogoStretch", checked(f, "LogoStretchCheckBox")},
        {"LogoFileName", child<QLineEdit>(f, "LogoPathEdit")->text()},
        {"EasyCustomer", checked(f, "CheckBoxEasyCustomer")},
        {"CustomerSelect", checked(f, "CheckBoxCustomerSelect")},
        {"EngineerMandatory", checked(f, "CheckBoxEngineerMandatory")},
        {"DeleteOrder", checked(f, "CheckBoxDeleteOrder")},
        {"ShowOrders", checked(f, "CheckBoxShowOrders")},
        {"ResetCounter", checked(f, "CheckBoxResetOrder")},
        {"PrintReceipt", checked(f, "CheckBoxPrintReceipt")},
        {"PrintIssue", checked(f, "CheckBoxPrintIssue")},
        {"JoinExistingOrder", checked(f, "CheckBoxJoinOrders")},
        {"NullImei", child<QLineEdit>(f, "NullImeiEdit")->text()},
        {"DaysToDeadline", child<QLineEdit>(f, "DaysToDeadlineEdit")->text().toInt()},
        {"CashName", child<QLineEdit>(f, "CashNameEdit")->text()},
        {"DefaultEngineer", child<QLineEdit>(f, "DefaultEngineerEdit")->text()},
        {"DBFileName", child<QLineEdit>(f, "DBFileNameEdit")->text()},
        {"ReceiptPrintMode", printMode(f, "RadioButtonReceiptOne", "RadioButtonReceiptTwo")},
        {"IssuePrintMode", printMode(f, "RadioButtonIssueOne", "RadioButtonIssueTwo")},
        {"UseSecondaryCurrency", checked(f, "CheckBoxUseSecondaryCurrency")},
        {"MainCurrency", child<QLineEdit>(f, "EditMainCurrency")->text()},
        {"SecondaryCurrency", child<QLineEdit>(f, "EditSecondaryCurrency")->text()},
        {"ExchangeRate", child<QLineEdit>(f, "EditExchangeRate")->text().toDouble()},
        {"OrderWwwUrl", child<QLineEdit>(f, "OrderWwwUrlEdit")->text()},
        {"PcrImeiCheckUrl", child<QLineEdit>(f, "PcrImeiCheckEdit")->text()},
        {"ShopName", child<QLineEdit>(f, "ShopNameEdit")->text()},
        {"ShopAddress", child<QPlainTextEdit>(f, "ShopAddressMemo")->toPlainText()},
        {"ShopIdentification", child<QLineEdit>(f, "ShopIdentificationEdit")->text()},
        {"Language", child<QComboBox>(f, "LanguageSelectComboBox")->currentData().toString()},
    };
}

// Fills the controls as the user would: the logo and the database file through their
// choosers (the fake answers them), everything else typed or ticked.
void writeForm(QDialog &f, FakeUi &ui, const Settings &s)
{
    child<QPlainTextEdit>(f, "AgreementMemo")->setPlainText(s["Agreement"].toString());
    child<QSpinBox>(f, "AgreementTextSizeEdit")->setValue(s["TSAgreement"].toInt());
    child<QCheckBox>(f, "LogoStretchCheckBox")->setChecked(s["LogoStretch"].toBool());
    ui.fileNames.push_back(s["LogoFileName"].toString());
    child<QPushButton>(f, "LogoSelectButton")->click();
    for (const char *name : {"EasyCustomer", "CustomerSelect", "EngineerMandatory", "DeleteOrder",
             "ShowOrders", "PrintReceipt", "PrintIssue"})
        child<QCheckBox>(f, QByteArray(QByteArray("CheckBox") + name).constData())
            ->setChecked(s[name].toBool());
    child<QCheckBox>(f, "CheckBoxResetOrder")->setChecked(s["ResetCounter"].toBool());
    child<QCheckBox>(f, "CheckBoxJoinOrders")->setChecked(s["JoinExistingOrder"].toBool());
    child<QLineEdit>(f, "NullImeiEdit")->setText(s["NullImei"].toString());
    child<QLineEdit>(f, "DaysToDeadlineEdit")->setText(s["DaysToDeadline"].toString());
    child<QLineEdit>(f, "CashNameEdit")->setText(s["CashName"].toString());
    child<QLineEdit>(f, "DefaultEngineerEdit")->setText(s["DefaultEngineer"].toString());
    ui.fileNames.push_back(s["DBFileName"].toString());
    child<QPushButton>(f, "DBFileNameSelectButton")->click();
    const bool receiptOne = s["ReceiptPrintMode"].toInt() == 1;
    child<QRadioButton>(f, receiptOne ? "RadioButtonReceiptOne" : "RadioButtonReceiptTwo")
        ->setChecked(true);
    const bool issueOne = s["IssuePrintMode"].toInt() == 1;
    child<QRadioButton>(f, issueOne ? "RadioButtonIssueOne" : "RadioButtonIssueTwo")
        ->setChecked(true);
    child<QCheckBox>(f, "CheckBoxUseSecondaryCurrency")
        ->setChecked(s["UseSecondaryCurrency"].toBool());
    child<QLineEdit>(f, "EditMainCurrency")->setText(s["MainCurrency"].toString());
    child<QLineEdit>(f, "EditSecondaryCurrency")->setText(s["SecondaryCurrency"].toString());
    child<QLineEdit>(f, "EditExchangeRate")->setText(s["ExchangeRate"].toString());
    child<QLineEdit>(f, "OrderWwwUrlEdit")->setText(s["OrderWwwUrl"].toString());
    child<QLineEdit>(f, "PcrImeiCheckEdit")->setText(s["PcrImeiCheckUrl"].toString());
    child<QLineEdit>(f, "ShopNameEdit")->setText(s["ShopName"].toString());
    child<QPlainTextEdit>(f, "ShopAddressMemo")->setPlainText(s["ShopAddress"].toString());
    child<QLineEdit>(f, "ShopIdentificationEdit")->setText(s["ShopIdentification"].toString());
    auto *language = child<QComboBox>(f, "LanguageSelectComboBox");
    language->setCurrentIndex(language->findData(s["Language"]));
}

void compareSettings(const Settings &actual, const Settings &expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QVERIFY2(actual.contains(it.key()), it.key().constData());
        QVERIFY2(actual[it.key()] == it.value(),
            qPrintable(QStringLiteral("%1: %2 instead of %3")
                           .arg(QString::fromLatin1(it.key()), actual[it.key()].toString(),
                               it.value().toString())));
    }
}

} // namespace

class TestGuiOptions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestShop> m_shop;
    std::unique_ptr<TRpx2Data> m_data;
    CConfig &config() { return m_data->config(); }
    QString makeLogo(const QString &name, QColor colour);
    Settings settingsSet(bool first);

private slots:
    void init();
    void cleanup();

    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void cancelStoresNothing();
    void numbersThatAreNotNumbers_data();
    void numbersThatAreNotNumbers();
    void exchangeRateGuardsOk_data();
    void exchangeRateGuardsOk();
    void storedRateThatIsNotANumberCanBeCorrected();
    void agreementSplitIntoPieces();
    void agreementLimitedToWhatCanBeStored();
    void logoThatCannotBeLoaded();
    void logoRemoveAndStretch();
    void counterReset_data();
    void counterReset();
    void databaseFileChoice_data();
    void databaseFileChoice();
    void language_data();
    void language();
    void secondaryCurrencyBoxesFollowTheTick();

    void passwordCheck_data();
    void passwordCheck();
    void passwordChange_data();
    void passwordChange();
    void passwordChangeFromOptionsSurvivesCancel();
};

void TestGuiOptions::init()
{
    m_shop = std::make_unique<TestShop>();
    // Per-user values go to this shop's folder: other test programs running at the same time
    // share (and clear) the common test settings file.
    QSettings::setPath(
        QSettings::NativeFormat, QSettings::UserScope, m_shop->path(QStringLiteral("user")));
    m_data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
    m_data->OpenFile(AppPaths::databaseFile());
}

void TestGuiOptions::cleanup()
{
    m_data.reset();
    m_shop.reset();
}

QString TestGuiOptions::makeLogo(const QString &name, QColor colour)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = m_shop->path(name);
    image.save(path);
    return path;
}

Settings TestGuiOptions::settingsSet(bool first)
{
    // Two sets in which every value differs, and every flag is the opposite of its default
    // in one of them.
    return {
        {"Agreement",
            first ? QStringLiteral("Záruka 24 měsíců.\nZa data neručíme.")
                  : QStringLiteral("Jiné")},
        {"TSAgreement", first ? 10 : 7},
        {"LogoStretch", first},
        {"LogoFileName",
            makeLogo(first ? QStringLiteral("a.png") : QStringLiteral("b.png"), Qt::red)},
        {"EasyCustomer", first},
        {"CustomerSelect", !first},
        {"EngineerMandatory", first},
        {"DeleteOrder", !first},
        {"ShowOrders", first},
        {"ResetCounter", !first},
        {"PrintReceipt", !first},
        {"PrintIssue", first},
        {"JoinExistingOrder", !first},
        {"NullImei", first ? QStringLiteral("000000000000000") : QStringLiteral("bez IMEI")},
        {"DaysToDeadline", first ? 14 : 0},
        {"CashName", first ? QStringLiteral("Pokladna Žižkov") : QStringLiteral("Kasa 2")},
        {"DefaultEngineer", first ? QStringLiteral("Řehoř") : QStringLiteral("Novák")},
        {"DBFileName",
            m_shop->path(first ? QStringLiteral("jina.db") : QStringLiteral("dalsi.db"))},
        {"ReceiptPrintMode", first ? 1 : 2},
        {"IssuePrintMode", first ? 2 : 1},
        {"UseSecondaryCurrency", first},
        {"MainCurrency", first ? QStringLiteral("zł") : QStringLiteral("Kč")},
        {"SecondaryCurrency", first ? QStringLiteral("USD") : QStringLiteral("€")},
        {"ExchangeRate", first ? 24.315 : 0.5},
        {"OrderWwwUrl", first ? QStringLiteral("https://servis.example/stav") : QString()},
        {"PcrImeiCheckUrl",
            first ? QStringLiteral("https://registr.example/imei") : QStringLiteral("x")},
        {"ShopName", first ? QStringLiteral("Mobil servis s.r.o.") : QStringLiteral("GSM Opravna")},
        {"ShopAddress",
            first ? QStringLiteral("Hlavní 12\n110 00 Praha 1") : QStringLiteral("Náměstí 3")},
        {"ShopIdentification",
            first ? QStringLiteral("IČ: 12345678, DIČ: CZ12345678") : QStringLiteral("IČ 1")},
        {"Language", first ? QStringLiteral("sk") : QStringLiteral("pl")},
    };
}

void TestGuiOptions::settingsRoundTrip_data()
{
    QTest::addColumn<bool>("first");
    QTest::newRow("first set, then second") << true;
    QTest::newRow("second set, then first") << false;
}

void TestGuiOptions::settingsRoundTrip()
{
    QFETCH(bool, first);
    FakeUi ui;
    const Settings stored = settingsSet(first);
    const Settings typed = settingsSet(!first);
    writeConfig(config(), stored);

    TOptionsForm form;
    compareSettings(readForm(form), stored);
    QVERIFY(!child<QLabel>(form, "Image")->pixmap().isNull());

    writeForm(form, ui, typed);
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    compareSettings(readConfig(config()), typed);
    // The language changed; nothing else was said.
    QCOMPARE(ui.messageTexts(),
        QStringList {QStringLiteral("Změna nastavení vyžaduje restart aplikace.")});
}

void TestGuiOptions::cancelStoresNothing()
{
    FakeUi ui;
    writeConfig(config(), settingsSet(true));
    const Settings before = readConfig(config());
    TOptionsForm form;
    writeForm(form, ui, settingsSet(false));
    child<QPushButton>(form, "CancelButton")->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    compareSettings(readConfig(config()), before);
}

void TestGuiOptions::numbersThatAreNotNumbers_data()
{
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("textSize");
    QTest::addColumn<int>("storedDays");
    QTest::addColumn<int>("storedTextSize");
    QTest::newRow("letters in days") << "abc"
                                     << "9" << 7 << 9;
    QTest::newRow("empty days") << ""
                                << "9" << 7 << 9;
    QTest::newRow("negative days") << "-3"
                                   << "9" << 7 << 9;
    QTest::newRow("empty text size") << "3"
                                     << "" << 3 << 8;
    QTest::newRow("zero days is today") << "0"
                                        << "12" << 0 << 12;
}

void TestGuiOptions::numbersThatAreNotNumbers()
{
    QFETCH(QString, days);
    QFETCH(QString, textSize);
    FakeUi ui;
    config().SetDaysToDeadline(30);
    config().SetTSAgreement(20);
    TOptionsForm form;
    child<QLineEdit>(form, "DaysToDeadlineEdit")->setText(days);
    child<QLineEdit>(*child<QSpinBox>(form, "AgreementTextSizeEdit"), "qt_spinbox_lineedit")
        ->setText(textSize);
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QTEST(config().GetDaysToDeadline(), "storedDays");
    QTEST(config().GetTSAgreement(), "storedTextSize");
}

void TestGuiOptions::exchangeRateGuardsOk_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("valid");
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("zero with decimals") << "0.000" << false;
    QTest::newRow("letters") << "x" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("decimal comma") << "25,5" << false;
    QTest::newRow("negative") << "-25" << false;
    QTest::newRow("decimal point") << "25.5" << true;
    QTest::newRow("whole number") << "27" << true;
    QTest::newRow("blanks around") << " 26.1 " << true;
}

void TestGuiOptions::exchangeRateGuardsOk()
{
    QFETCH(QString, rate);
    QFETCH(bool, valid);
    FakeUi ui;
    config().SetExchangeRate(30);
    TOptionsForm form;
    auto *edit = child<QLineEdit>(form, "EditExchangeRate");
    auto *ok = child<QPushButton>(form, "OkButton");
    const QColor normal = edit->palette().color(QPalette::Text);
    QVERIFY(ok->isEnabled());

    edit->setText(rate);
    QCOMPARE(ok->isEnabled(), valid);
    QCOMPARE(edit->palette().color(QPalette::Text) == QColor(Qt::red), !valid);
    // OK cannot be forced through while the rate is wrong.
    form.accept();
    QCOMPARE(form.result(), valid ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(config().GetExchangeRate(), valid ? rate.trimmed().toDouble() : 30.0);

    // A valid rate afterwards restores the colour and OK.
    edit->setText(QStringLiteral("24.5"));
    QVERIFY(ok->isEnabled());
    QCOMPARE(edit->palette().color(QPalette::Text), normal);
}

void TestGuiOptions::storedRateThatIsNotANumberCanBeCorrected()
{
    FakeUi ui;
    config().SetConfigValue(QStringLiteral("ExchangeRate"), QStringLiteral("25,3"));
    TOptionsForm form;
    auto *edit = child<QLineEdit>(form, "EditExchangeRate");
    QCOMPARE(edit->text(), QStringLiteral("25,3"));
    QVERIFY(!child<QPushButton>(form, "OkButton")->isEnabled());
    edit->setText(QStringLiteral("25.3"));
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QCOMPARE(config().GetExchangeRate(), 25.3);
}

void TestGuiOptions::agreementSplitIntoPieces()
{
    FakeUi ui;
    QString text;
    for (int i = 0; i < 600; ++i)
        text += QChar(u"abcčdďeéěfghijklmnňoópqrřsštťuúůvwxyýzž\n"[i % 40]);
    TOptionsForm form;
    child<QPlainTextEdit>(form, "AgreementMemo")->setPlainText(text);
    QCOMPARE(pressOk(form), int(QDialog::Accepted));

    const int expected[] = {255, 255, 90, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(config().GetConfigValue(QStringLiteral("AgreementText%1").arg(i + 1)).size(),
            expected[i]);
    QCOMPARE(config().GetAgreementText(), text);

    TOptionsForm again;
    QCOMPARE(child<QPlainTextEdit>(again, "AgreementMemo")->toPlainText(), text);
}

void TestGuiOptions::agreementLimitedToWhatCanBeStored()
{
    // The settings keep 1530 characters; the memo takes no more, so nothing typed is lost
    // silently on OK.
    FakeUi ui;
    TOptionsForm form;
    auto *memo = child<QPlainTextEdit>(form, "AgreementMemo");
    memo->setPlainText(QString(1520, QLatin1Char('a')) + QStringLiteral("END"));
    memo->moveCursor(QTextCursor::Start);
    memo->insertPlainText(QString(20, QLatin1Char('b')));
    QCOMPARE(memo->toPlainText().size(), TOptionsForm::MaxAgreementLength);
    QVERIFY(memo->toPlainText().endsWith(QStringLiteral("aEND")));
    QVERIFY(memo->toPlainText().startsWith(QString(7, QLatin1Char('b')) + QLatin1Char('a')));
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QCOMPARE(config().GetAgreementText(), memo->toPlainText());
}

void TestGuiOptions::logoThatCannotBeLoaded()
{
    FakeUi ui;
    const QString good = makeLogo(QStringLiteral("logo.png"), Qt::blue);
    config().SetLogoFileName(good);
    TOptionsForm form;
    auto *path = child<QLineEdit>(form, "LogoPathEdit");
    auto *image = child<QLabel>(form, "Image");
    QVERIFY(!image->pixmap().isNull());

    const QString missing = m_shop->path(QStringLiteral("chybi.png"));
    path->setText(missing);
    emit path->editingFinished();
    QCOMPARE(ui.messages.size(), 1);
    const QString prefix = rpxText("Options.LogoFileNotFound");
    QVERIFY(ui.messages[0].text.startsWith(prefix));
    QVERIFY(ui.messages[0].text.size() > prefix.size()); // the reason follows
    QVERIFY(image->pixmap().isNull());
    QCOMPARE(path->text(), missing);
    // Leaving the box again without a change does not repeat the message.
    emit path->editingFinished();
    QCOMPARE(ui.messages.size(), 1);

    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QCOMPARE(config().GetLogoFileName(), missing);

    // Opening the dialog with the missing logo is quiet.
    TOptionsForm again;
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(child<QLineEdit>(again, "LogoPathEdit")->text(), missing);
}

void TestGuiOptions::logoRemoveAndStretch()
{
    FakeUi ui;
    config().SetLogoFileName(makeLogo(QStringLiteral("logo.png"), Qt::blue));
    config().SetLogoOptions(QStringLiteral("S"));
    TOptionsForm form;
    auto *image = child<QLabel>(form, "Image");
    QVERIFY(checked(form, "LogoStretchCheckBox"));
    QCOMPARE(image->pixmap().size(), image->contentsRect().size()); // stretched to the box
    child<QCheckBox>(form, "LogoStretchCheckBox")->setChecked(false);
    QCOMPARE(image->pixmap().size(), QSize(40, 20)); // at its own size at once

    child<QPushButton>(form, "LogoRemoveButton")->click();
    QVERIFY(image->pixmap().isNull());
    QVERIFY(child<QLineEdit>(form, "LogoPathEdit")->text().isEmpty());
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QVERIFY(config().GetLogoFileName().isEmpty());
    QVERIFY(config().GetLogoOptions().isEmpty());
    QVERIFY(ui.messages.isEmpty());
}

void TestGuiOptions::counterReset_data()
{
    QTest::addColumn<bool>("withOrder");
    QTest::newRow("empty order table") << false;
    QTest::newRow("an order of an earlier year") << true;
}

void TestGuiOptions::counterReset()
{
    QFETCH(bool, withOrder);
    FakeUi ui;
    if (withOrder) {
        COrder order;
        order.OrderID = QStringLiteral("2015-00003");
        m_data->StoreOrder(order);
    }
    config().SetMaxOrderID(41);
    TOptionsForm form;
    child<QPushButton>(form, "ButtonReset")->click();
    if (withOrder) {
        QCOMPARE(ui.messageTexts(),
            QStringList {
                QStringLiteral("Funkce je dostupná pouze nad prázdnou databází zakázek!")});
        QCOMPARE(config().GetMaxOrderID(), 41);
    } else {
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(config().GetMaxOrderID(), 0); // at once, before OK
    }
    child<QPushButton>(form, "CancelButton")->click();
    QCOMPARE(config().GetMaxOrderID(), withOrder ? 41 : 0);
}

void TestGuiOptions::databaseFileChoice_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed"); // empty: the prompt is cancelled
    QTest::addColumn<QString>("chosen"); // empty: the chooser is cancelled
    QTest::addColumn<bool>("promptShown");
    QTest::addColumn<bool>("refusedMessage");
    QTest::addColumn<bool>("changed");
    QTest::newRow("no password") << ""
                                 << ""
                                 << "nova.db" << false << false << true;
    QTest::newRow("right password") << "Heslo1"
                                    << "Heslo1"
                                    << "nova.db" << true << false << true;
    QTest::newRow("wrong password") << "Heslo1"
                                    << "heslo1"
                                    << "nova.db" << true << true << false;
    QTest::newRow("prompt cancelled") << "Heslo1"
                                      << ""
                                      << "nova.db" << true << false << false;
    QTest::newRow("chooser cancelled") << "Heslo1"
                                       << "Heslo1"
                                       << "" << true << false << false;
}

void TestGuiOptions::databaseFileChoice()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QFETCH(bool, promptShown);
    QFETCH(bool, refusedMessage);
    QFETCH(bool, changed);
    FakeUi ui;
    const QString old = m_shop->path(QStringLiteral("stara.db"));
    config().SetDBFileName(old);
    config().SetPassword(password);
    const QString file = chosen.isEmpty() ? QString() : m_shop->path(chosen);
    ui.fileNames.push_back(file);
    if (promptShown)
        ui.dialogHandlers.push_back(typePassword(typed, !typed.isEmpty()));

    TOptionsForm form;
    auto *edit = child<QLineEdit>(form, "DBFileNameEdit");
    QCOMPARE(edit->text(), old);
    child<QPushButton>(form, "DBFileNameSelectButton")->click();

    QCOMPARE(ui.dialogsShown.contains(QStringLiteral("TPasswordForm")), promptShown);
    QCOMPARE(ui.messageTexts(),
        refusedMessage ? QStringList {rpxText("Options.InvalidPassword")} : QStringList {});
    // A refused password never reaches the chooser.
    QCOMPARE(ui.fileNames.empty(), !refusedMessage && !(promptShown && typed.isEmpty()));
    QCOMPARE(edit->text(), changed ? file : old);
    // Stored only with OK.
    QCOMPARE(config().GetDBFileName(), old);
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QCOMPARE(config().GetDBFileName(), changed ? file : old);
}

void TestGuiOptions::language_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("shownIndex");
    QTest::addColumn<int>("chosenIndex"); // -1: leave the choice alone
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<bool>("restartMessage");
    QTest::newRow("Czech kept") << "cs" << 0 << -1 << "cs" << false;
    QTest::newRow("Czech to Polish") << "cs" << 0 << 1 << "pl" << true;
    QTest::newRow("Slovak shown") << "sk" << 2 << -1 << "sk" << false;
    QTest::newRow("unset reads Czech") << "" << 0 << -1 << "cs" << false;
    QTest::newRow("unknown code kept") << "de" << -1 << -1 << "de" << false;
    QTest::newRow("unknown code replaced") << "de" << -1 << 0 << "cs" << true;
}

void TestGuiOptions::language()
{
    QFETCH(QString, stored);
    QFETCH(int, chosenIndex);
    QFETCH(bool, restartMessage);
    FakeUi ui;
    config().SetLanguage(stored);
    TOptionsForm form;
    auto *combo = child<QComboBox>(form, "LanguageSelectComboBox");
    QCOMPARE(combo->count(), 3);
    QTEST(combo->currentIndex(), "shownIndex");
    if (chosenIndex >= 0)
        combo->setCurrentIndex(chosenIndex);
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QTEST(config().GetLanguage(), "storedAfter");
    QCOMPARE(ui.messageTexts(),
        restartMessage ? QStringList {QStringLiteral("Změna nastavení vyžaduje restart aplikace.")}
                       : QStringList {});
}

void TestGuiOptions::secondaryCurrencyBoxesFollowTheTick()
{
    FakeUi ui;
    config().SetUseSecondaryCurrency(false);
    TOptionsForm form;
    auto *tick = child<QCheckBox>(form, "CheckBoxUseSecondaryCurrency");
    auto *currency = child<QLineEdit>(form, "EditSecondaryCurrency");
    auto *rate = child<QLineEdit>(form, "EditExchangeRate");
    QVERIFY(!currency->isEnabled() && !rate->isEnabled());
    tick->setChecked(true);
    QVERIFY(currency->isEnabled() && rate->isEnabled());
}

// --- password ---------------------------------------------------------------------------

void TestGuiOptions::passwordCheck_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pressOk");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<bool>("message");
    QTest::newRow("no password, no prompt") << ""
                                            << "" << true << true << false;
    QTest::newRow("right password") << "Řeka7"
                                    << "Řeka7" << true << true << false;
    QTest::newRow("wrong password") << "Řeka7"
                                    << "Reka7" << true << false << true;
    QTest::newRow("other letter case") << "Řeka7"
                                       << "řeka7" << true << false << true;
    QTest::newRow("only a beginning") << "Řeka7"
                                      << "Řeka" << true << false << true;
    QTest::newRow("nothing typed") << "Řeka7"
                                   << "" << true << false << true;
    QTest::newRow("cancel with the right text") << "Řeka7"
                                                << "Řeka7" << false << false << false;
}

void TestGuiOptions::passwordCheck()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(bool, pressOk);
    QFETCH(bool, message);
    FakeUi ui;
    config().SetPassword(password);
    bool masked = false;
    ui.dialogHandlers.push_back([&](QDialog &dialog) {
        masked = child<QLineEdit>(dialog, "PasswordEdit")->echoMode() == QLineEdit::Password;
        return typePassword(typed, pressOk)(dialog);
    });

    QTEST(PasswordCheck::allowed(nullptr, "Rpx2.InvalidPassword"), "allowed");
    QCOMPARE(ui.dialogsShown.size(), password.isEmpty() ? 0 : 1);
    QCOMPARE(masked, !password.isEmpty());
    QCOMPARE(ui.messageTexts(),
        message ? QStringList {rpxText("Rpx2.InvalidPassword")} : QStringList {});
}

void TestGuiOptions::passwordChange_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("oldTyped");
    QTest::addColumn<QString>("new1");
    QTest::addColumn<QString>("new2");
    QTest::addColumn<bool>("pressOk");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QString>("passwordAfter");
    QTest::newRow("wrong old password") << "abc"
                                        << "abC"
                                        << "x"
                                        << "x" << true << "Nesouhlasí staré heslo!"
                                        << "abc";
    QTest::newRow("confirmation differs") << "abc"
                                          << "abc"
                                          << "nové"
                                          << "nove" << true << "Nesouhlasí povrzení nového hesla!"
                                          << "abc";
    QTest::newRow("removed") << "abc"
                             << "abc"
                             << ""
                             << "" << true << "Staré heslo bylo odstraněno!"
                             << "";
    QTest::newRow("replaced") << "abc"
                              << "abc"
                              << "Žluť 9"
                              << "Žluť 9" << true << "Nové heslo bylo nastaveno!"
                              << "Žluť 9";
    QTest::newRow("first password") << ""
                                    << ""
                                    << "abc"
                                    << "abc" << true << "Nové heslo bylo nastaveno!"
                                    << "abc";
    QTest::newRow("cancelled") << "abc"
                               << "abc"
                               << "x"
                               << "x" << false << ""
                               << "abc";
    // Characters outside the shop's code page could never be typed back correctly.
    QTest::newRow("character that cannot be stored")
        << ""
        << ""
        << "пароль"
        << "пароль" << true << "Heslo obsahuje znaky, které nelze uložit!"
        << "";
}

void TestGuiOptions::passwordChange()
{
    QFETCH(QString, password);
    QFETCH(QString, oldTyped);
    QFETCH(QString, new1);
    QFETCH(QString, new2);
    QFETCH(bool, pressOk);
    QFETCH(QString, message);
    FakeUi ui;
    config().SetPassword(password);
    bool oldEnabled = false;
    ui.dialogHandlers.push_back([&](QDialog &dialog) {
        auto *old = child<QLineEdit>(dialog, "OldPasswordEdit");
        oldEnabled = old->isEnabled() && child<QLabel>(dialog, "OldPasswordLabel")->isEnabled();
        if (oldEnabled)
            old->setText(oldTyped);
        child<QLineEdit>(dialog, "NewPasswordEdit1")->setText(new1);
        child<QLineEdit>(dialog, "NewPasswordEdit2")->setText(new2);
        return pressOk ? QDialog::Accepted : QDialog::Rejected;
    });

    PasswordCheck::changePassword(nullptr);
    QCOMPARE(ui.dialogsShown, QStringList {QStringLiteral("TChangePasswordForm")});
    QCOMPARE(oldEnabled, !password.isEmpty());
    QCOMPARE(ui.messageTexts(), message.isEmpty() ? QStringList {} : QStringList {message});
    QTEST(config().GetPassword(), "passwordAfter");
}

void TestGuiOptions::passwordChangeFromOptionsSurvivesCancel()
{
    FakeUi ui;
    ui.dialogHandlers.push_back([](QDialog &dialog) {
        child<QLineEdit>(dialog, "NewPasswordEdit1")->setText(QStringLiteral("tajne"));
        child<QLineEdit>(dialog, "NewPasswordEdit2")->setText(QStringLiteral("tajne"));
        return QDialog::Accepted;
    });
    TOptionsForm form;
    child<QPushButton>(form, "ButtonChangePassword")->click();
    child<QPushButton>(form, "CancelButton")->click();
    QCOMPARE(config().GetPassword(), QStringLiteral("tajne"));
    // From now on the database file choice asks for it.
    QVERIFY(!PasswordCheck::allowed(nullptr, "Options.InvalidPassword"));
    QCOMPARE(ui.dialogsShown.last(), QStringLiteral("TPasswordForm"));
}

QTEST_MAIN(TestGuiOptions)
#include "tst_gui_options.moc"
