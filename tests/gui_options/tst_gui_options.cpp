// The options dialog and the password: every setting through its control and back, the rules
// for odd input, the buttons that act at once, and the password prompt and change.

#include "fakeui.h"
#include "testshop.h"

#include "config.h"
#include "options/optionsform.h"
#include "options/passwordcheck.h"
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

template <class T> T *child(QWidget &parent, const QByteArray &name)
{
    T *widget = parent.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("control %s not found", name.constData());
    return widget;
}

void click(QWidget &parent, const char *name)
{
    child<QAbstractButton>(parent, name)->click();
}

// Presses OK the way the user does, so that the dialog's own accept runs.
int pressOk(QDialog &dialog)
{
    click(dialog, "OkButton");
    return dialog.result();
}

QStringList texts(const QString &text)
{
    return text.isEmpty() ? QStringList {} : QStringList {text};
}

const QString restartMessage = QStringLiteral("Změna nastavení vyžaduje restart aplikace.");

// Every setting the dialog edits: its key, its control and two values as the store keeps
// them. Each value differs between the sets, and every flag is the opposite of its default
// in one of them. A control that is no widget stands for the radio pair <name>One/<name>Two.
struct Setting
{
    const char *key, *control, *first, *second;
};
const Setting settings[] = {
    {"AgreementText1", "AgreementMemo", "Záruka 24 měsíců.\nZa data neručíme.", "Jiné"},
    {"TSAgreement", "AgreementTextSizeEdit", "10", "7"},
    {"LogoOptions", "LogoStretchCheckBox", "S", ""},
    {"LogoFileName", "LogoPathEdit", "a.png", "b.png"},
    {"EasyCustomer", "CheckBoxEasyCustomer", "1", "0"},
    {"CustomerSelect", "CheckBoxCustomerSelect", "0", "1"},
    {"EngineerMandatory", "CheckBoxEngineerMandatory", "1", "0"},
    {"DeleteOrder", "CheckBoxDeleteOrder", "0", "1"},
    {"ShowOrders", "CheckBoxShowOrders", "1", "0"},
    {"ResetCounter", "CheckBoxResetOrder", "0", "1"},
    {"PrintReceipt", "CheckBoxPrintReceipt", "0", "1"},
    {"PrintIssue", "CheckBoxPrintIssue", "1", "0"},
    {"JoinExistingOrder", "CheckBoxJoinOrders", "0", "1"},
    {"NullImei", "NullImeiEdit", "000000000000000", "bez IMEI"},
    {"DaysToDeadline", "DaysToDeadlineEdit", "14", "0"},
    {"CashName", "CashNameEdit", "Pokladna Žižkov", "Kasa 2"},
    {"DefaultEngineer", "DefaultEngineerEdit", "Řehoř", "Novák"},
    {"DBFileName", "DBFileNameEdit", "jina.db", "dalsi.db"},
    {"ReceiptPrintMode", "RadioButtonReceipt", "1", "2"},
    {"IssuePrintMode", "RadioButtonIssue", "2", "1"},
    {"UseSecondaryCurrency", "CheckBoxUseSecondaryCurrency", "1", "0"},
    {"MainCurrency", "EditMainCurrency", "zł", "Kč"},
    {"SecondaryCurrency", "EditSecondaryCurrency", "USD", "€"},
    {"ExchangeRate", "EditExchangeRate", "24.315", "0.5"},
    {"OrderWwwUrl", "OrderWwwUrlEdit", "https://servis.example/stav", ""},
    {"PcrImeiCheckUrl", "PcrImeiCheckEdit", "https://registr.example/imei", "x"},
    {"ShopName", "ShopNameEdit", "Mobil servis s.r.o.", "GSM Opravna"},
    {"ShopAddress", "ShopAddressMemo", "Hlavní 12\n110 00 Praha 1", "Náměstí 3"},
    {"ShopIdentification", "ShopIdentificationEdit", "IČ: 12345678, DIČ: CZ12345678", "IČ 1"},
    {"Language", "LanguageSelectComboBox", "sk", "pl"},
};

QByteArray controlOf(const QByteArray &key)
{
    for (const Setting &s : settings)
        if (key == s.key)
            return s.control;
    qFatal("no setting %s", key.constData());
}

// The store's text for a key; the two file names are per-user values.
QString stored(CConfig &c, const QByteArray &key)
{
    return key == "LogoFileName" ? c.GetLogoFileName()
        : key == "DBFileName"    ? c.GetDBFileName()
                                 : c.GetConfigValue(QString::fromLatin1(key));
}

void store(CConfig &c, const QByteArray &key, const QString &value)
{
    if (key == "LogoFileName")
        c.SetLogoFileName(value);
    else if (key == "DBFileName")
        c.SetDBFileName(value);
    else
        c.SetConfigValue(QString::fromLatin1(key), value);
}

// What a control shows, in the form the store keeps it.
QString shown(QDialog &f, const QByteArray &name)
{
    QWidget *w = f.findChild<QWidget *>(QLatin1String(name));
    if (!w)
        return child<QRadioButton>(f, name + "One")->isChecked() ? QStringLiteral("1")
            : child<QRadioButton>(f, name + "Two")->isChecked()  ? QStringLiteral("2")
                                                                  : QString();
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
        return memo->toPlainText();
    if (auto *spin = qobject_cast<QSpinBox *>(w))
        return spin->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentData().toString();
    const bool on = qobject_cast<QCheckBox *>(w)->isChecked();
    if (name == "LogoStretchCheckBox")
        return on ? QStringLiteral("S") : QString();
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// Enters a value as the user would: the logo and the database file through their choosers
// (the fake answers them), everything else typed, ticked or picked.
void enter(QDialog &f, FakeUi &ui, const QByteArray &name, const QString &value)
{
    QWidget *w = f.findChild<QWidget *>(QLatin1String(name));
    if (!w) {
        child<QRadioButton>(f, name + (value == QLatin1String("1") ? "One" : "Two"))
            ->setChecked(true);
    } else if (name == "LogoPathEdit" || name == "DBFileNameEdit") {
        ui.fileNames.push_back(value);
        click(f, name == "LogoPathEdit" ? "LogoSelectButton" : "DBFileNameSelectButton");
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->setText(value);
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(w)) {
        memo->setPlainText(value);
    } else if (qobject_cast<QSpinBox *>(w)) {
        child<QLineEdit>(*w, "qt_spinbox_lineedit")->setText(value);
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        combo->setCurrentIndex(combo->findData(value));
    } else {
        const bool on = value == QLatin1String("1") || value == QLatin1String("S");
        qobject_cast<QCheckBox *>(w)->setChecked(on);
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
    QString makeLogo(const QString &name);

private slots:
    void init();
    void cleanup();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void oddInput_data();
    void oddInput();
    void agreementLimitedToWhatCanBeStored();
    void logo();
    void buttonsThatActAtOnce_data();
    void buttonsThatActAtOnce();
    void databaseFileChoice_data();
    void databaseFileChoice();
    void language_data();
    void language();
    void passwordChange_data();
    void passwordChange();
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

QString TestGuiOptions::makeLogo(const QString &name)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString path = m_shop->path(name);
    image.save(path);
    return path;
}

void TestGuiOptions::settingsRoundTrip_data()
{
    QTest::addColumn<bool>("firstStored"); // else the second set is stored, the first typed
    QTest::addColumn<bool>("ok");
    QTest::newRow("first, then second") << true << true;
    QTest::newRow("second, then first") << false << true;
    QTest::newRow("cancel stores nothing") << true << false;
}

void TestGuiOptions::settingsRoundTrip()
{
    QFETCH(bool, firstStored);
    QFETCH(bool, ok);
    FakeUi ui;
    makeLogo(QStringLiteral("a.png"));
    makeLogo(QStringLiteral("b.png"));
    // The file names stand for files in the shop's folder.
    auto value = [&](const Setting &s, bool first) {
        const QString v = QString::fromUtf8(first ? s.first : s.second);
        return QByteArray(s.key).endsWith("FileName") ? m_shop->path(v) : v;
    };
    // "key=value" per setting, so that a failure names the setting.
    auto list = [](const std::function<QString(const Setting &)> &f) {
        QStringList l;
        for (const Setting &s : settings)
            l.append(QLatin1String(s.key) + QLatin1Char('=') + f(s));
        return l;
    };

    for (const Setting &s : settings)
        store(config(), s.key, value(s, firstStored));
    TOptionsForm form;
    QCOMPARE(list([&](const Setting &s) { return shown(form, s.control); }),
        list([&](const Setting &s) { return value(s, firstStored); }));
    QVERIFY(!child<QLabel>(form, "Image")->pixmap().isNull());
    // The secondary-currency boxes follow the tick, at once too.
    auto *rate = child<QLineEdit>(form, "EditExchangeRate");
    QCOMPARE(rate->isEnabled(), firstStored);

    for (const Setting &s : settings)
        enter(form, ui, s.control, value(s, !firstStored));
    QCOMPARE(rate->isEnabled(), !firstStored);
    QCOMPARE(child<QLineEdit>(form, "EditSecondaryCurrency")->isEnabled(), !firstStored);
    if (ok)
        QCOMPARE(pressOk(form), int(QDialog::Accepted));
    else
        click(form, "CancelButton");
    QCOMPARE(list([&](const Setting &s) { return stored(config(), s.key); }),
        list([&](const Setting &s) { return value(s, firstStored != ok); }));
    // The chosen logo loaded quietly; only the changed language is mentioned.
    QCOMPARE(ui.messageTexts(), texts(ok ? restartMessage : QString()));
}

void TestGuiOptions::oddInput_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("before"); // as stored
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted"); // else OK is refused and the text turns red
    QTest::addColumn<QString>("after"); // as stored
    auto row = [](const char *name, const char *key, const char *before, const char *typed,
                   bool accepted, const char *after) {
        QTest::newRow(name) << QByteArray(key) << QString::fromUtf8(before)
                            << QString::fromUtf8(typed) << accepted << QString::fromUtf8(after);
    };
    row("days: letters", "DaysToDeadline", "30", "abc", true, "7");
    row("days: empty", "DaysToDeadline", "30", "", true, "7");
    row("days: negative", "DaysToDeadline", "30", "-3", true, "7");
    row("days: zero is today", "DaysToDeadline", "30", "0", true, "0");
    row("text size: empty", "TSAgreement", "20", "", true, "8");
    row("rate: zero", "ExchangeRate", "30", "0", false, "30");
    row("rate: zero with decimals", "ExchangeRate", "30", "0.000", false, "30");
    row("rate: letters", "ExchangeRate", "30", "x", false, "30");
    row("rate: empty", "ExchangeRate", "30", "", false, "30");
    row("rate: decimal comma", "ExchangeRate", "30", "25,5", false, "30");
    row("rate: negative", "ExchangeRate", "30", "-25", false, "30");
    row("rate: decimal point", "ExchangeRate", "30", "25.5", true, "25.5");
    row("rate: blanks around", "ExchangeRate", "30", " 26.1 ", true, "26.1");
    // Reading a stored rate that is not a number used to throw; it is shown for correction.
    row("rate: stored unreadable", "ExchangeRate", "25,3", "25.3", true, "25.3");
}

void TestGuiOptions::oddInput()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    FakeUi ui;
    config().SetConfigValue(QString::fromLatin1(key), before);
    TOptionsForm form;
    QWidget *control = child<QWidget>(form, controlOf(key));
    auto *ok = child<QPushButton>(form, "OkButton");
    auto isRed = [&] { return control->palette().color(QPalette::Text) == QColor(Qt::red); };
    QCOMPARE(shown(form, controlOf(key)), before);
    QCOMPARE(ok->isEnabled(), CConfig::IsNumber(before)); // refused at once for an unreadable rate

    enter(form, ui, controlOf(key), typed);
    QCOMPARE(ok->isEnabled(), accepted);
    QCOMPARE(isRed(), !accepted);
    form.accept(); // OK cannot be forced through either
    QCOMPARE(form.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QTEST(config().GetConfigValue(QString::fromLatin1(key)), "after");
    if (!accepted) {
        enter(form, ui, controlOf(key), QStringLiteral("24.5"));
        QVERIFY(ok->isEnabled() && !isRed());
    }
}

// The settings keep 1530 characters; the memo takes no more, so nothing typed is lost
// silently on OK. What is typed beyond the limit is dropped, the text after it stays.
void TestGuiOptions::agreementLimitedToWhatCanBeStored()
{
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

void TestGuiOptions::logo()
{
    FakeUi ui;
    config().SetLogoFileName(makeLogo(QStringLiteral("logo.png")));
    config().SetLogoOptions(QStringLiteral("S"));
    TOptionsForm form;
    auto *image = child<QLabel>(form, "Image");
    QCOMPARE(image->pixmap().size(), image->contentsRect().size()); // stretched to the box
    child<QCheckBox>(form, "LogoStretchCheckBox")->setChecked(false);
    QCOMPARE(image->pixmap().size(), QSize(40, 20)); // at its own size at once

    // A picture that cannot be loaded: the message with its reason, once; the path is kept.
    auto *path = child<QLineEdit>(form, "LogoPathEdit");
    const QString missing = m_shop->path(QStringLiteral("chybi.png"));
    path->setText(missing);
    emit path->editingFinished();
    emit path->editingFinished();
    const QString prefix = rpxText("Options.LogoFileNotFound");
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(ui.messages[0].text.startsWith(prefix) && ui.messages[0].text.size() > prefix.size());
    QVERIFY(image->pixmap().isNull());
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QCOMPARE(config().GetLogoFileName(), missing);

    // Opening the dialog with the missing logo is quiet; the logo can be removed.
    TOptionsForm again;
    QCOMPARE(child<QLineEdit>(again, "LogoPathEdit")->text(), missing);
    click(again, "LogoRemoveButton");
    QVERIFY(child<QLineEdit>(again, "LogoPathEdit")->text().isEmpty());
    QCOMPARE(pressOk(again), int(QDialog::Accepted));
    QVERIFY(config().GetLogoFileName().isEmpty());
    QCOMPARE(ui.messages.size(), 1);
}

void TestGuiOptions::buttonsThatActAtOnce_data()
{
    QTest::addColumn<bool>("withOrder");
    QTest::newRow("empty order table") << false;
    QTest::newRow("an order of an earlier year") << true;
}

// The counter reset (only on an empty order table) and the password change act at once:
// Cancel on the options afterwards keeps them, and the guarded actions ask from then on.
void TestGuiOptions::buttonsThatActAtOnce()
{
    QFETCH(bool, withOrder);
    FakeUi ui;
    if (withOrder) {
        COrder order;
        order.OrderID = QStringLiteral("2015-00003");
        m_data->StoreOrder(order);
    }
    config().SetMaxOrderID(41);
    ui.dialogHandlers.push_back([](QDialog &dialog) {
        child<QLineEdit>(dialog, "NewPasswordEdit1")->setText(QStringLiteral("tajne"));
        child<QLineEdit>(dialog, "NewPasswordEdit2")->setText(QStringLiteral("tajne"));
        return QDialog::Accepted;
    });
    TOptionsForm form;
    click(form, "ButtonReset");
    QCOMPARE(config().GetMaxOrderID(), withOrder ? 41 : 0);
    click(form, "ButtonChangePassword");
    click(form, "CancelButton");

    QCOMPARE(config().GetMaxOrderID(), withOrder ? 41 : 0);
    QCOMPARE(config().GetPassword(), QStringLiteral("tajne"));
    QStringList messages {QStringLiteral("Nové heslo bylo nastaveno!")};
    if (withOrder)
        messages.prepend(QStringLiteral("Funkce je dostupná pouze nad prázdnou databází zakázek!"));
    QCOMPARE(ui.messageTexts(), messages);
    QVERIFY(!PasswordCheck::allowed(nullptr, "Options.InvalidPassword"));
    QCOMPARE(ui.dialogsShown.last(), QStringLiteral("TPasswordForm"));
}

// The password check guards the database file choice (the main window's guarded actions
// have their own tests).
void TestGuiOptions::databaseFileChoice_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("promptOk");
    QTest::addColumn<QString>("chosen"); // empty: the chooser is cancelled
    QTest::addColumn<bool>("refused"); // with the invalid-password message
    QTest::newRow("no password, no prompt") << "" << "" << true << "nova.db" << false;
    QTest::newRow("right password") << "Řeka7" << "Řeka7" << true << "nova.db" << false;
    QTest::newRow("other letter case") << "Řeka7" << "řeka7" << true << "nova.db" << true;
    QTest::newRow("only a beginning") << "Řeka7" << "Řeka" << true << "nova.db" << true;
    QTest::newRow("nothing typed") << "Řeka7" << "" << true << "nova.db" << true;
    QTest::newRow("prompt cancelled") << "Řeka7" << "Řeka7" << false << "nova.db" << false;
    QTest::newRow("chooser cancelled") << "Řeka7" << "Řeka7" << true << "" << false;
}

void TestGuiOptions::databaseFileChoice()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(bool, promptOk);
    QFETCH(QString, chosen);
    QFETCH(bool, refused);
    FakeUi ui;
    const QString old = m_shop->path(QStringLiteral("stara.db"));
    config().SetDBFileName(old);
    config().SetPassword(password);
    const QString file = chosen.isEmpty() ? QString() : m_shop->path(chosen);
    ui.fileNames.push_back(file);
    bool masked = false;
    ui.dialogHandlers.push_back([&](QDialog &dialog) {
        auto *edit = child<QLineEdit>(dialog, "PasswordEdit");
        masked = edit->echoMode() == QLineEdit::Password;
        edit->setText(typed);
        return promptOk ? QDialog::Accepted : QDialog::Rejected;
    });

    TOptionsForm form;
    auto *edit = child<QLineEdit>(form, "DBFileNameEdit");
    click(form, "DBFileNameSelectButton");
    QCOMPARE(ui.dialogsShown.contains(QStringLiteral("TPasswordForm")), !password.isEmpty());
    QCOMPARE(masked, !password.isEmpty());
    QCOMPARE(ui.messageTexts(), texts(refused ? rpxText("Options.InvalidPassword") : QString()));
    // Only an allowed choice reaches the chooser.
    const bool allowed = password.isEmpty() || (promptOk && !refused);
    QCOMPARE(ui.fileNames.empty(), allowed);
    const QString expected = allowed && !chosen.isEmpty() ? file : old;
    QCOMPARE(edit->text(), expected);
    QCOMPARE(config().GetDBFileName(), old); // stored only with OK
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QCOMPARE(config().GetDBFileName(), expected);
}

void TestGuiOptions::language_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("shownIndex");
    QTest::addColumn<int>("chosenIndex"); // -1: leave the choice alone
    QTest::addColumn<QString>("storedAfter");
    QTest::newRow("unset reads Czech") << "" << 0 << -1 << "cs";
    QTest::newRow("Czech to Polish") << "cs" << 0 << 1 << "pl";
    QTest::newRow("unknown code kept") << "de" << -1 << -1 << "de";
    QTest::newRow("unknown code replaced") << "de" << -1 << 0 << "cs";
}

void TestGuiOptions::language()
{
    QFETCH(QString, stored);
    QFETCH(int, chosenIndex);
    FakeUi ui;
    config().SetLanguage(stored);
    TOptionsForm form;
    auto *combo = child<QComboBox>(form, "LanguageSelectComboBox");
    QTEST(combo->currentIndex(), "shownIndex");
    if (chosenIndex >= 0)
        combo->setCurrentIndex(chosenIndex);
    QCOMPARE(pressOk(form), int(QDialog::Accepted));
    QTEST(config().GetLanguage(), "storedAfter");
    QCOMPARE(ui.messageTexts(), texts(chosenIndex >= 0 ? restartMessage : QString()));
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
    QTest::newRow("wrong old password")
        << "abc" << "abC" << "x" << "x" << true << "Nesouhlasí staré heslo!" << "abc";
    QTest::newRow("confirmation differs") << "abc" << "abc" << "nové" << "nove" << true
                                          << "Nesouhlasí povrzení nového hesla!" << "abc";
    QTest::newRow("removed")
        << "abc" << "abc" << "" << "" << true << "Staré heslo bylo odstraněno!" << "";
    QTest::newRow("replaced") << "abc" << "abc" << "Žluť 9" << "Žluť 9" << true
                              << "Nové heslo bylo nastaveno!" << "Žluť 9";
    QTest::newRow("first password")
        << "" << "" << "abc" << "abc" << true << "Nové heslo bylo nastaveno!" << "abc";
    QTest::newRow("cancelled") << "abc" << "abc" << "x" << "x" << false << "" << "abc";
    // Characters outside the shop's code page could never be typed back correctly.
    QTest::newRow("character that cannot be stored") << "" << "" << "пароль" << "пароль" << true
        << "Heslo obsahuje znaky, které nelze uložit!" << "";
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
        oldEnabled = old->isEnabled();
        if (oldEnabled)
            old->setText(oldTyped);
        child<QLineEdit>(dialog, "NewPasswordEdit1")->setText(new1);
        child<QLineEdit>(dialog, "NewPasswordEdit2")->setText(new2);
        return pressOk ? QDialog::Accepted : QDialog::Rejected;
    });

    PasswordCheck::changePassword(nullptr);
    QCOMPARE(ui.dialogsShown, QStringList {QStringLiteral("TChangePasswordForm")});
    QCOMPARE(oldEnabled, !password.isEmpty());
    QCOMPARE(ui.messageTexts(), texts(message));
    QTEST(config().GetPassword(), "passwordAfter");
}

QTEST_MAIN(TestGuiOptions)
#include "tst_gui_options.moc"
