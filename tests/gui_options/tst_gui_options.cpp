// The options dialog and the password: every setting through its control and back, the rules
// for odd input, the buttons that act at once, and the password prompt and change.

#include "fakeui.h"
#include "testshop.h"

#include "config.h"
#include "options/optionsform.h"
#include "options/passwordcheck.h"

#include <QtWidgets>

#include "widgettools.h"

using namespace Qt::StringLiterals;

namespace {

// Presses OK the way the user does, so that the dialog's own accept runs.
int pressOk(QDialog &dialog)
{
    click(dialog, "OkButton");
    return dialog.result();
}

// Every setting the dialog edits: its key, its control and two values as the store keeps
// them. Each value differs between the sets, and every flag is the opposite of its default
// in one of them. A control that is no widget stands for the radio pair <name>One/<name>Two.
struct Setting
{
    const char *key, *control, *first, *second;
};
const Setting settings[] = {
    { "AgreementText1", "AgreementMemo", "Záruka 24 měsíců.\nZa data neručíme.", "Jiné" },
    { "TSAgreement", "AgreementTextSizeEdit", "10", "7" },
    { "LogoOptions", "LogoStretchCheckBox", "S", "" },
    { "LogoFileName", "LogoPathEdit", "a.png", "" },
    { "EasyCustomer", "CheckBoxEasyCustomer", "1", "0" },
    { "CustomerSelect", "CheckBoxCustomerSelect", "0", "1" },
    { "EngineerMandatory", "CheckBoxEngineerMandatory", "1", "0" },
    { "DeleteOrder", "CheckBoxDeleteOrder", "0", "1" },
    { "ShowOrders", "CheckBoxShowOrders", "1", "0" },
    { "ResetCounter", "CheckBoxResetOrder", "0", "1" },
    { "PrintReceipt", "CheckBoxPrintReceipt", "0", "1" },
    { "PrintIssue", "CheckBoxPrintIssue", "1", "0" },
    { "JoinExistingOrder", "CheckBoxJoinOrders", "0", "1" },
    { "NullImei", "NullImeiEdit", "000000000000000", "bez IMEI" },
    { "DaysToDeadline", "DaysToDeadlineEdit", "14", "0" },
    { "CashName", "CashNameEdit", "Pokladna Žižkov", "Kasa 2" },
    { "DefaultEngineer", "DefaultEngineerEdit", "Řehoř", "Novák" },
    { "DBFileName", "DBFileNameEdit", "jina.db", "dalsi.db" },
    { "ReceiptPrintMode", "RadioButtonReceipt", "1", "2" },
    { "IssuePrintMode", "RadioButtonIssue", "2", "1" },
    { "UseSecondaryCurrency", "CheckBoxUseSecondaryCurrency", "1", "0" },
    { "MainCurrency", "EditMainCurrency", "zł", "Kč" },
    { "SecondaryCurrency", "EditSecondaryCurrency", "USD", "€" },
    { "ExchangeRate", "EditExchangeRate", "24.315", "0.5" },
    { "OrderWwwUrl", "OrderWwwUrlEdit", "https://servis.example/stav", "" },
    { "PcrImeiCheckUrl", "PcrImeiCheckEdit", "https://registr.example/imei",
      "http://imei.example/" },
    { "ShopName", "ShopNameEdit", "Mobil servis s.r.o.", "GSM Opravna" },
    { "ShopAddress", "ShopAddressMemo", "Hlavní 12\n110 00 Praha 1", "Náměstí 3" },
    { "ShopIdentification", "ShopIdentificationEdit", "IČ: 12345678, DIČ: CZ12345678", "IČ 1" },
    { "Language", "LanguageSelectComboBox", "sk", "pl" },
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

// What a control shows, in the form the store keeps it.
QString shown(QDialog &f, const QByteArray &name)
{
    QWidget *w = f.findChild<QWidget *>(QLatin1String(name));
    if (!w)
        return child<QRadioButton>(f, name + "One")->isChecked() ? u"1"_s
            : child<QRadioButton>(f, name + "Two")->isChecked()  ? u"2"_s
                                                                 : QString();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentData().toString();
    const QVariant value = w->metaObject()->userProperty().read(w); // text, number or tick
    if (value.typeId() != QMetaType::Bool)
        return value.toString();
    if (name == "LogoStretchCheckBox")
        return value.toBool() ? u"S"_s : QString();
    return value.toBool() ? u"1"_s : u"0"_s;
}

// Enters a value as the user would: the logo and the database file through their choosers
// (the fake answers them) or the logo's remove button, everything else typed, ticked or picked.
void enter(QDialog &f, FakeUi &ui, const QByteArray &name, const QString &value)
{
    QWidget *w = f.findChild<QWidget *>(QLatin1String(name));
    if (!w) {
        child<QRadioButton>(f, name + (value == u"1"_s ? "One" : "Two"))->setChecked(true);
    } else if (name == "LogoPathEdit" && value.isEmpty()) {
        click(f, "LogoRemoveButton");
    } else if (name == "LogoPathEdit" || name == "DBFileNameEdit") {
        ui.fileNames.push_back(value);
        click(f, name == "LogoPathEdit" ? "LogoSelectButton" : "DBFileNameSelectButton");
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        combo->setCurrentIndex(combo->findData(value));
    } else { // "S" and "1" tick a box
        QVERIFY(w->metaObject()->userProperty().write(w, value));
    }
}

} // namespace

class TestGuiOptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<DataShop> m_s;
    CConfig &config() { return m_s->data.config(); }

private slots:
    void init() { m_s = std::make_unique<DataShop>(); }
    void cleanup() { m_s.reset(); }

    // Three dialogs: the first set typed over the defaults and OK, the second typed over the
    // first and OK, the first typed again and Cancel. Each dialog shows what is stored.
    void settingsRoundTrip()
    {
        FakeUi ui;
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        QVERIFY(logo.save(m_s->shop.path(u"a.png"_s)));
        // The file names stand for files in the shop's folder.
        auto value = [&](const Setting &s, bool first) {
            const QString v = QString::fromUtf8(first ? s.first : s.second);
            return QByteArray(s.key).endsWith("FileName") && !v.isEmpty() ? m_s->shop.path(v) : v;
        };
        // "key=value" per setting, so that a failure names the setting.
        auto list = [](const std::function<QString(const Setting &)> &f) {
            QStringList l;
            for (const Setting &s : settings)
                l.append(QLatin1String(s.key) + u'=' + f(s));
            return l;
        };
        auto set
            = [&](bool first) { return list([&](const Setting &s) { return value(s, first); }); };

        for (int round = 0; round < 3; ++round) {
            const bool typeFirst = round != 1;
            TOptionsForm form;
            auto *rate = child<QLineEdit>(form, "EditExchangeRate");
            if (round > 0) {
                QCOMPARE(list([&](const Setting &s) { return shown(form, s.control); }),
                         set(round == 1));
                QCOMPARE(child<QLabel>(form, "Image")->pixmap().isNull(), round == 2);
                QCOMPARE(rate->isEnabled(), round == 1);
            }
            for (const Setting &s : settings)
                enter(form, ui, s.control, value(s, typeFirst));
            // The secondary-currency boxes follow the tick at once.
            QCOMPARE(rate->isEnabled(), typeFirst);
            QCOMPARE(child<QLineEdit>(form, "EditSecondaryCurrency")->isEnabled(), typeFirst);
            if (round < 2)
                QCOMPARE(pressOk(form), int(QDialog::Accepted));
            else
                click(form, "CancelButton");
            QCOMPARE(list([&](const Setting &s) { return stored(config(), s.key); }),
                     set(round == 0));
        }
        // The chosen logo loaded quietly; only the changed language is mentioned.
        QCOMPARE(ui.messageTexts(),
                 QStringList(2, u"Změna nastavení vyžaduje restart aplikace."_s));
    }

    void oddInput_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("before"); // as stored
        QTest::addColumn<bool>("beforeAccepted"); // OK is offered at once
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted"); // else OK is refused and the text turns red
        QTest::addColumn<QString>("after"); // as stored
        auto row = [](const char *name, const char *key, const char *before, const char *typed,
                      bool accepted, const char *after) {
            QTest::newRow(name) << QByteArray(key) << QString::fromUtf8(before) << true
                                << QString::fromUtf8(typed) << accepted << QString::fromUtf8(after);
        };
        row("days: letters", "DaysToDeadline", "30", "abc", true, "7");
        row("days: zero is today", "DaysToDeadline", "30", "0", true, "0");
        row("text size: empty", "TSAgreement", "20", "", true, "8");
        row("rate: empty", "ExchangeRate", "30", "", false, "30");
        row("rate: decimal comma", "ExchangeRate", "30", "25,5", false, "30");
        row("rate: blanks around", "ExchangeRate", "30", " 26.1 ", true, "26.1");
        // Prices divided by these would show "inf" or lose every digit.
        row("rate: too small", "ExchangeRate", "30", "1e-320", false, "30");
        row("rate: too large", "ExchangeRate", "30", "1000000", false, "30");
        // Only web pages are opened from these addresses.
        row("tracking: a program", "OrderWwwUrl", "", "file:///usr/bin/xterm", false, "");
        row("register: no scheme", "PcrImeiCheckUrl", "", "registr.example.cz", false, "");
        // Reading a stored rate that is not a number used to throw; it is shown for correction.
        QTest::newRow("rate: stored unreadable")
            << QByteArray("ExchangeRate") << u"25,3"_s << false << u"25.3"_s << true << u"25.3"_s;
    }
    void oddInput()
    {
        QFETCH(QByteArray, key);
        QFETCH(QString, before);
        QFETCH(bool, beforeAccepted);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        FakeUi ui;
        config().SetConfigValue(QString::fromLatin1(key), before);
        TOptionsForm form;
        QWidget *control = child<QWidget>(form, controlOf(key));
        auto *ok = child<QPushButton>(form, "OkButton");
        auto isRed = [&] { return control->palette().color(QPalette::Text) == QColor(Qt::red); };
        QCOMPARE(shown(form, controlOf(key)), before);
        QCOMPARE(ok->isEnabled(), beforeAccepted);
        QCOMPARE(isRed(), !beforeAccepted);

        auto *spin = qobject_cast<QSpinBox *>(control);
        if (spin) { // typed over and left by clicking OK, as the clerk does
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            spin->setFocus();
            auto *edit = child<QLineEdit>(*spin, "qt_spinbox_lineedit");
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, typed);
        } else {
            enter(form, ui, controlOf(key), typed);
        }
        QCOMPARE(ok->isEnabled(), accepted);
        QCOMPARE(isRed(), !accepted);
        if (key.endsWith("Url")) // a refused address says what is accepted
            QCOMPARE(control->toolTip(),
                     accepted ? QString()
                              : u"Lze zadat jen adresu začínající http:// nebo https://."_s);
        if (spin)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            form.accept(); // OK cannot be forced through either
        QCOMPARE(form.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QTEST(config().GetConfigValue(QString::fromLatin1(key)), "after");
    }

    // The settings keep 1530 characters; the memo takes no more, so nothing typed is lost
    // silently on OK. What is typed beyond the limit is dropped, the text after it stays.
    void agreementLimitedToWhatCanBeStored()
    {
        FakeUi ui;
        TOptionsForm form;
        auto *memo = child<QPlainTextEdit>(form, "AgreementMemo");
        memo->setPlainText(QString(1520, u'a') + u"END"_s);
        memo->moveCursor(QTextCursor::Start);
        memo->insertPlainText(QString(20, u'b'));
        QCOMPARE(memo->toPlainText(), QString(7, u'b') + QString(1520, u'a') + u"END"_s);
        QCOMPARE(pressOk(form), int(QDialog::Accepted));
        QCOMPARE(config().GetAgreementText(), memo->toPlainText());
    }

    // The counter reset acts at once, and only on an empty order table: Cancel keeps it.
    void counterReset()
    {
        FakeUi ui;
        COrder order;
        order.OrderID = u"2015-00003"_s;
        m_s->data.StoreOrder(order);
        config().SetMaxOrderID(41);
        TOptionsForm form;
        click(form, "ButtonReset");
        QCOMPARE(config().GetMaxOrderID(), 41);
        QCOMPARE(ui.messageTexts(),
                 QStringList { u"Funkce je dostupná pouze nad prázdnou databází zakázek!"_s });
        QVERIFY(m_s->data.DeleteOrder(order.OrderID));
        click(form, "ButtonReset");
        click(form, "CancelButton");
        QCOMPARE(config().GetMaxOrderID(), 0);
        QCOMPARE(ui.messages.size(), 1);
    }

    // The password guards the database file choice (the main window's guarded actions have
    // their own tests): other letter case is refused before the chooser opens, a cancelled
    // chooser keeps the name, and the name chosen is stored only with OK.
    void databaseFileChoice()
    {
        FakeUi ui;
        const QString old = m_s->shop.path(u"stara.db"_s), chosen = m_s->shop.path(u"nova.db"_s);
        config().SetDBFileName(old);
        config().SetPassword(u"Řeka7"_s);
        bool masked = true;
        for (const QString &typed : { u"řeka7"_s, u"Řeka7"_s, u"Řeka7"_s })
            ui.dialogHandlers.push_back([&masked, typed](QDialog &dialog) {
                auto *edit = child<QLineEdit>(dialog, "PasswordEdit");
                masked = masked && edit->echoMode() == QLineEdit::Password;
                edit->setText(typed);
                return QDialog::Accepted;
            });
        ui.fileNames = { QString(), chosen };
        TOptionsForm form;
        auto *name = child<QLineEdit>(form, "DBFileNameEdit");
        click(form, "DBFileNameSelectButton");
        QCOMPARE(ui.messageTexts(), QStringList { u"Neplatné heslo!"_s });
        QCOMPARE(ui.fileNames.size(), 2);
        click(form, "DBFileNameSelectButton");
        QCOMPARE(name->text(), old);
        click(form, "DBFileNameSelectButton");
        QCOMPARE(name->text(), chosen);
        QVERIFY(masked);
        QCOMPARE(config().GetDBFileName(), old);
        QCOMPARE(pressOk(form), int(QDialog::Accepted));
        QCOMPARE(config().GetDBFileName(), chosen);
    }

    // A code outside the list selects no entry and is kept on OK; picking an entry replaces it,
    // unless the entry's language file is missing.
    void unknownLanguageCode()
    {
        FakeUi ui;
        config().SetLanguage(u"de"_s);
        QVERIFY(QFile::remove(AppPaths::languageFile(u"pl"_s)));
        for (int pick : { -1, 1, 0 }) {
            TOptionsForm form;
            auto *combo = child<QComboBox>(form, "LanguageSelectComboBox");
            QCOMPARE(combo->currentIndex(), -1);
            combo->setCurrentIndex(pick);
            QCOMPARE(pressOk(form), pick == 1 ? int(QDialog::Rejected) : int(QDialog::Accepted));
            QCOMPARE(config().GetLanguage(), pick == 0 ? u"cs"_s : u"de"_s);
        }
        // The missing file is said, then the restart the new language needs.
        QCOMPARE(ui.messageTexts().size(), 2);
        QCOMPARE(ui.messageTexts().first(),
                 u"Soubor s texty tohoto jazyka („%1“) chybí, jazyk proto nelze zvolit."_s.arg(
                     AppPaths::languageFile(u"pl"_s)));
    }

    void passwordChange_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed"); // old, new and again, separated by "|"
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("passwordAfter");
        auto row = [](const char *name, const char *password, const char *typed,
                      const char *message, const char *after) {
            QTest::newRow(name) << QString::fromUtf8(password) << QString::fromUtf8(typed)
                                << QString::fromUtf8(message) << QString::fromUtf8(after);
        };
        row("wrong old password", "abc", "abC|x|x", "Nesouhlasí staré heslo!", "abc");
        row("confirmation differs", "abc", "abc|nové|nove", "Nesouhlasí potvrzení nového hesla!",
            "abc");
        row("removed", "abc", "abc||", "Staré heslo bylo odstraněno!", "");
        row("replaced", "abc", "abc|Žluť 9|Žluť 9", "Nové heslo bylo nastaveno!", "Žluť 9");
        row("first password", "", "|abc|abc", "Nové heslo bylo nastaveno!", "abc");
        // Characters outside the shop's code page could never be typed back correctly.
        row("character that cannot be stored", "", "|пароль|пароль",
            "Heslo obsahuje znaky, které nelze uložit.", "");
    }
    // The change acts at once: Cancel on the options afterwards keeps it, and the guarded
    // actions ask for the new password from then on.
    void passwordChange()
    {
        QFETCH(QString, password);
        QFETCH(QString, typed);
        QFETCH(QString, passwordAfter);
        FakeUi ui;
        config().SetPassword(password);
        bool oldEnabled = false;
        ui.dialogHandlers.push_back([&](QDialog &dialog) {
            auto *old = child<QLineEdit>(dialog, "OldPasswordEdit");
            oldEnabled = old->isEnabled();
            if (oldEnabled)
                old->setText(typed.section(u'|', 0, 0));
            child<QLineEdit>(dialog, "NewPasswordEdit1")->setText(typed.section(u'|', 1, 1));
            child<QLineEdit>(dialog, "NewPasswordEdit2")->setText(typed.section(u'|', 2, 2));
            return QDialog::Accepted;
        });

        TOptionsForm form;
        click(form, "ButtonChangePassword");
        click(form, "CancelButton");
        QCOMPARE(ui.dialogsShown, QStringList { u"TChangePasswordForm"_s });
        QCOMPARE(oldEnabled, !password.isEmpty());
        QTEST(ui.messageTexts().join(u'|'), "message");
        QCOMPARE(config().GetPassword(), passwordAfter);
        QCOMPARE(PasswordCheck::allowed(nullptr, "Options.InvalidPassword"),
                 passwordAfter.isEmpty());
    }
};

QTEST_MAIN(TestGuiOptions)
#include "tst_gui_options.moc"
