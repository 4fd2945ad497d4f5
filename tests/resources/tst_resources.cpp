// Language files: the line reader, the dictionary built from a file, Windows-1250 text,
// the lazily loaded process-wide texts, and the check of the shipped files.

#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "orderlistlistener.h"
#include "rpx2data.h"
#include "scriptedprompts.h"
#include "simpleresources.h"
#include "textcheck.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

CSymbols symbolsOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return CSymbols(buffer);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(bytes);
}

// A complete, consistent language file: every required key, plain texts "x", formatted
// texts carrying exactly the placeholders the program passes.
QByteArray completeFile(const QByteArray &code)
{
    QByteArray bytes = "# " + code + "\r\n";
    for (const QString &key : TextCheck::requiredKeys()) {
        const QString format = TextCheck::formatOf(key);
        bytes += key.toLatin1() + " = \"" + (format.isEmpty() ? QByteArray("x") : format.toLatin1())
            + "\"\r\n";
    }
    return bytes;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    // Runs first: the process-wide texts are read at the first lookup.
    void firstLookupReadsLanguageFileOnce()
    {
        QTemporaryDir programDir;
        AppPaths::setProgramDir(programDir.path());
        CSimpleResources &texts = CSimpleResources::instance();
        QVERIFY(!texts.isLoaded());
        // No data module: the Czech file is read, and its absence is an error.
        QCOMPARE(CSimpleResources::currentLanguageCode(), u"cs"_s);
        QVERIFY_THROWS_EXCEPTION(RpxError, texts.text("Rpx2.ActionAbout"));
        // The shop's language without its file, nor any other: the start-up ends with that
        // reason instead of asking for another database again and again.
        TRpx2Data::CreateDatabase(AppPaths::databaseFile());
        struct : OrderListListener
        {
            bool CanLeaveOrder() override { return true; }
            void OrderEntered(const OrderList &) override { rpxText("Rpx2.ActionAbout"); }
            void ShowStateCounts(const QString &) override { }
        } showing;
        auto data = std::make_unique<TRpx2Data>(nullptr, u"RPX2-test"_s, &showing);
        data->OpenFile(AppPaths::databaseFile());
        data->config().SetLanguage(u"xx"_s);
        COrder order;
        order.OrderReceiptDate = Clock::now();
        data->StoreNewOrder(order);
        ScriptedPrompts prompts;
        QVERIFY_THROWS_EXCEPTION(RpxError, data->Connect(prompts));
        QCOMPARE(prompts.messages, QStringList());
        // A failed first lookup leaves nothing half-loaded: the next lookup tries again, and
        // falls back to the Czech texts, saying why once.
        writeFile(programDir.filePath(u"Rpx_cs.txt"_s),
                  "Rpx2.ActionAbout = \"&O aplikaci...\"\r\n");
        QCOMPARE(texts.text("Rpx2.ActionAbout"), u"&O aplikaci..."_s);
        QCOMPARE(
            texts.takeNotice(),
            u"Soubor s texty aplikace „%1“ nebyl nalezen.\nProgram proto používá české texty."_s
                .arg(QDir::toNativeSeparators(programDir.filePath(u"Rpx_xx.txt"_s))));
        QCOMPARE(texts.takeNotice(), QString());
        data.reset();
        // Read once: a later change of the file shows only at the next start.
        writeFile(programDir.filePath(u"Rpx_cs.txt"_s), "Rpx2.ActionAbout = \"jiný\"\r\n");
        QCOMPARE(texts.text("Rpx2.ActionAbout"), u"&O aplikaci..."_s);
        AppPaths::setProgramDir(QString());
    }

    void symbols_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("defined");
        QTest::addColumn<QByteArray>("value");
        auto row = [](const char *name, const QByteArray &file, const char *key,
                      const QByteArray &value) {
            QTest::newRow(name) << file << QByteArray(key) << !value.isNull() << value;
        };
        row("plain key line", "a = \"text\"", "a", "text");
        row("blanks around key and value", "  \t\na.b  =   \"v w\"  \t", "a.b", "v w");
        row("indented first line is no key line", " a.b = \"v\"", "a.b", nullptr);
        row("continuations and backslash-n", "a = \"one \"\n    \"two\\n\"\n\t\"three\"\nb = \"x\"",
            "a", "one two\nthree");
        row("unquoted value then indented quoted line", "a = unquoted\n   \"only this\"", "a",
            "only this");
        row("unquoted value stores nothing", "a = unquoted\nb = \"x\"", "a", nullptr);
        row("inner quotes kept", "a = \"say \"hi\" = ok\"", "a", "say \"hi\" = ok");
        row("comment does not end the current key", "a = \"x\"\n# note\n  \"y\"", "a", "xy");
        row("indented key line is a continuation", "a = \"x\"\n  b = \"y\"", "b", nullptr);
        row("duplicate key keeps the second value", "a = \"first\"\na = \"second\"", "a", "second");
        // The reader's buffer holds 100 bytes: with CR LF line ends the first line's CR is its
        // last byte; a line longer than the buffer is read whole.
        row("line end across the buffer edge", "a = \"" + QByteArray(93, 'x') + "\"\nb = \"y\"",
            "b", "y");
        row("line longer than the buffer", "a = \"" + QByteArray(250, 'y') + '"', "a",
            QByteArray(250, 'y'));
        row("NUL is an ordinary byte", QByteArray("a = \"x\0y\"", 9), "a", QByteArray("x\0y", 3));
    }
    void symbols()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, key);
        // CR LF line ends, and an empty last line, give the same.
        QByteArray crlf = file;
        crlf.replace("\n", "\r\n").append("\r\n");
        for (const QByteArray &bytes : { file, crlf }) {
            const CSymbols symbols = symbolsOf(bytes);
            QTEST(symbols.entries().count(key) == 1, "defined");
            QTEST(symbols.value(key), "value");
        }
    }

    // Czech, Polish and Slovak letters as a Windows-1250 editor writes them, through the file
    // reader and the lookup; missing, empty and unquoted texts read as the null marker.
    void lookup()
    {
        const QByteArray czech = "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 "
                                 "\xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y";
        QCOMPARE(CSimpleResources::decode(czech), u"Příliš žluťoučký kůň úpěl ďábelské ódy"_s);
        QCOMPARE(CSimpleResources::encode(u"Příliš žluťoučký kůň úpěl ďábelské ódy"_s), czech);
        // A character the code page lacks becomes one question mark, an emoji too.
        QCOMPARE(CSimpleResources::encode(u"ř日本😀ž"_s), QByteArray("\xF8???\x9E"));
        QCOMPARE(Cp1250::fromUnicode(u"ř日本😀ž"_s), QByteArray("\xF8???\x9E"));
        const QString path = m_dir.filePath(u"lookup.txt"_s);
        writeFile(path,
                  "Global.AppError = \"Chyba\"\r\nRpx2.Empty = \"\"\r\nRpx2.Unquoted = Chyba\r\n"
                  "Options.LanguageSelect = \"\xBE\xE5\xE0\xF4\xE4 \xA3\x8E\xC8\xD8\xD9\\n"
                  "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1\"\r\n");
        CSimpleResources &texts = CSimpleResources::instance();
        texts.load(path);
        QCOMPARE(rpxText("Options.LanguageSelect"), u"ľĺŕôä ŁŽČŘŮ\nZażółć gęślą jaźń"_s);
        for (const char *key : { "Rpx2.Missing", "Rpx2.Empty", "Rpx2.Unquoted", "global.apperror" })
            QCOMPARE(rpxText(key), u"{NULL}"_s);
        // A file that cannot be opened keeps the texts already loaded.
        QVERIFY_THROWS_EXCEPTION(RpxError, texts.load(m_dir.filePath(u"none.txt"_s)));
        QCOMPARE(texts.text("Global.AppError"), u"Chyba"_s);
    }

    // The built-in table serves Qt builds without a Windows-1250 converter.
    void builtInTableAgreesWithQtConverter()
    {
        if (!QStringDecoder("windows-1250").isValid())
            QSKIP("this Qt has no Windows-1250 converter to compare with");
        for (int b = 0; b < 256; ++b) {
            const QByteArray byte(1, char(b));
            const QString table = Cp1250::toUnicode(byte);
            if (table == QString(QChar(0xFFFD)))
                continue; // one of the five bytes the code page leaves unused
            QCOMPARE(table, CSimpleResources::decode(byte));
            QCOMPARE(Cp1250::fromUnicode(table), byte);
        }
    }

    // Qt's own buttons and dialogs speak the language of the texts, not the system's.
    void qtTextsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("open");
        QTest::newRow("pl") << u"pl"_s << u"&Tak"_s << u"&Otwórz"_s;
        // Qt has no Slovak buttons: Czech ones rather than English.
        QTest::newRow("sk") << u"sk"_s << u"&Ano"_s << u"&Otvoriť"_s;
    }
    void qtTextsFollowTheLanguage()
    {
        QFETCH(QString, code);
        QTemporaryDir programDir;
        AppPaths::setProgramDir(programDir.path());
        writeFile(AppPaths::languageFile(code), "Global.AppError = \"x\"\r\n");
        CSimpleResources::instance().loadLanguage(code);
        AppPaths::setProgramDir(QString());
        QTEST(QCoreApplication::translate("QPlatformTheme", "&Yes"), "yes");
        QTEST(QCoreApplication::translate("QFileDialog", "&Open"), "open");
    }

    void languageCodeFromOpenDatabase()
    {
        const QString path = m_dir.filePath(u"shop.db"_s);
        TRpx2Data::CreateDatabase(path);
        {
            TRpx2Data data(nullptr, u"RPX2-test"_s, nullptr);
            data.OpenFile(path);
            QCOMPARE(CSimpleResources::currentLanguageCode(), u"cs"_s); // setting unset
            data.config().SetLanguage(u"de"_s); // any code whose file exists
            QCOMPARE(CSimpleResources::currentLanguageCode(), u"de"_s);
            // The code becomes part of a file name and must not leave the program folder.
            data.config().SetLanguage(u"../../etc/x"_s);
            QCOMPARE(CSimpleResources::currentLanguageCode(), u"cs"_s);
        }
        QCOMPARE(CSimpleResources::currentLanguageCode(), u"cs"_s);
    }

    // Two texts carry the same printf-style placeholders: same kinds, same order.
    void samePlaceholders_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        auto row = [](const char *name, const QString &a, const QString &b, bool same) {
            QTest::newRow(name) << a << b << same;
        };
        row("precision written differently", u"%.2f Kč"_s, u"%0.2f EUR"_s, true);
        row("%d, %i and %u, flags", u"Zakázka %-5d z %u, %s"_s, u"%i / %d: %s"_s, true);
        row("percent sign escaped", u"100%% jistě"_s, u"jistě"_s, true);
        row("stray percent sign counts", u"sleva 50 % dnes"_s, u"sleva dnes"_s, false);
    }
    void samePlaceholders()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        const bool same
            = TextCheck::samePlaceholders(TextCheck::placeholders(a), TextCheck::placeholders(b));
        QTEST(same, "same");
    }

    void textCheckReportsProblems_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("file"); // replaces the complete file of that language
        QTest::addColumn<QString>("expected"); // the one reported line starts with this text
        // The complete file of the language with one text replaced.
        auto row = [](const char *name, const char *code, const QByteArray &from,
                      const QByteArray &to, const QString &expected) {
            QByteArray bytes = completeFile(code);
            if (!bytes.contains(from))
                qFatal("test data: %s not found", from.constData());
            QTest::newRow(name) << QString::fromLatin1(code) << bytes.replace(from, to) << expected;
        };
        row("missing key", "pl", "Filters.Title.2.1 = \"x\"\r\n", "",
            u"Rpx_pl.txt: klíč „Filters.Title.2.1“ chybí"_s);
        row("placeholders swapped", "pl", "\"%d %s %s %s %s %s %s\"", "\"%s %d %s %s %s %s %s\"",
            u"Rpx_pl.txt: klíč „OrderMulti.OrderAlreadyExists“ má zástupné symboly %s %d"_s);
        row("Czech text lacks a placeholder", "cs", "Rpx2.NotifyEmailSubject = \"%s\"",
            "Rpx2.NotifyEmailSubject = \"Zak\xE1zka\"",
            u"Rpx_cs.txt: klíč „Rpx2.NotifyEmailSubject“ má zástupné symboly žádné, "
            "program předává %s"_s);
        row("unknown key", "pl", "# pl\r\n", "# pl\r\nRpx2.ActionAbuot = \"x\"\r\n",
            u"Rpx_pl.txt: neznámý klíč „Rpx2.ActionAbuot“"_s);
        row("byte-order mark", "sk", "# sk", "\xEF\xBB\xBF# sk",
            u"Rpx_sk.txt: soubor začíná značkou BOM"_s);
        row("UTF-8 file with one Windows-1250 letter", "pl", "Global.AppError = \"x\"",
            "Global.AppError = \"B\xC5\x82\xC4\x85\x64 \x9A\"",
            u"Rpx_pl.txt: soubor je v kódování UTF-8"_s);
        row("repeated key", "sk", "Global.AppName = \"x\"",
            "Global.AppName = \"x\"\r\nGlobal.AppName = \"y\"",
            u"Rpx_sk.txt: klíč „Global.AppName“ je v souboru vícekrát"_s);
        for (const char *unfilled : { "%ld", "%x", "%c" })
            row(unfilled, "cs", "Rpx2.OrderHoldCount = \"%d\"",
                QByteArray("Rpx2.OrderHoldCount = \"") + unfilled + '"',
                u"Rpx_cs.txt: klíč „Rpx2.OrderHoldCount“ má zástupný symbol %1, který program "
                "neumí vyplnit"_s.arg(QLatin1String(unfilled)));
        QTest::newRow("missing file")
            << u"sk"_s << QByteArray() << u"Rpx_sk.txt: soubor nelze otevřít"_s;
    }
    void textCheckReportsProblems()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const char *lang : { "cs", "pl", "sk" })
            writeFile(dir.filePath(u"Rpx_%1.txt"_s.arg(QLatin1String(lang))), completeFile(lang));
        QCOMPARE(TextCheck::checkFolder(dir.path()), QStringList()); // the complete set passes

        const QString path = dir.filePath(u"Rpx_%1.txt"_s.arg(code));
        if (file.isEmpty())
            QVERIFY(QFile::remove(path));
        else
            writeFile(path, file);
        const QStringList problems = TextCheck::checkFolder(dir.path());
        QVERIFY2(problems.size() == 1 && problems.first().startsWith(expected),
                 qPrintable(problems.join(u'\n')));
    }

    void shippedLanguageFilesAreComplete()
    {
        const QString sourceDir = qEnvironmentVariable("REPAXO_SOURCE_DIR");
        if (sourceDir.isEmpty())
            QSKIP("REPAXO_SOURCE_DIR is not set (CTest sets it)");
        const QString langDir = QDir(sourceDir).filePath(u"lang"_s);
        const QStringList problems = TextCheck::checkFolder(langDir);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        // Two Czech texts that need the file format's escapes and code page to come through.
        CSimpleResources::instance().load(QDir(langDir).filePath(u"Rpx_cs.txt"_s));
        QCOMPARE(rpxText("Filters.ListItems"), u"jako filtr\njako nabídku"_s);
        QCOMPARE(QString::asprintf(rpxText("Rpx2.OrderHoldCount").toUtf8().constData(), 0),
                 u"Vybráno: 0"_s);
    }
};

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
