// Language files: the line reader, the dictionary built from a file, Windows-1250 text,
// the lazily loaded process-wide texts, and the check of the shipped files.

#include "apppaths.h"
#include "config.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "textcheck.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<QByteArray> readAllLines(const QByteArray &bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    CLineReader reader(buffer);
    QList<QByteArray> lines;
    for (;;) {
        try {
            lines.append(reader.ReadLine());
        } catch (const EEndOfStream &) {
            return lines;
        }
    }
}

QStringList strings(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

CSymbols symbolsOf(const QByteArray &bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return CSymbols(buffer);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(bytes);
}

// A complete, consistent set of language files: every required key, plain texts "x",
// formatted texts carrying exactly the placeholders the program passes. Each test row then
// spoils one thing.
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

private slots:
    void initTestCase();

    // Runs first: the process-wide texts are read at the first lookup.
    void firstLookupReadsLanguageFileOnce();

    void lineReader_data();
    void lineReader();
    void endOfStreamMessage();

    void symbols_data();
    void symbols();
    void crlfGivesSameValuesAsLf();

    void lookupGivesNullMarker();
    void decodesCzechPolishSlovakLetters();
    void encodeReplacesMissingCharacters_data();
    void encodeReplacesMissingCharacters();
    void builtInTableAgreesWithQtConverter();

    void languageCodeFromOpenDatabase();

    void placeholders_data();
    void placeholders();
    void samePlaceholders_data();
    void samePlaceholders();
    void textCheckReportsProblems_data();
    void textCheckReportsProblems();
    void shippedLanguageFilesAreComplete();

private:
    QTemporaryDir m_dir;
};

void TestResources::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void TestResources::firstLookupReadsLanguageFileOnce()
{
    QTemporaryDir programDir;
    AppPaths::setProgramDir(programDir.path());
    CSimpleResources &texts = CSimpleResources::instance();
    QVERIFY(!texts.isLoaded());

    // No data module: the Czech file is read, and its absence names the file.
    QVERIFY(TRpx2Data::instance() == nullptr);
    QCOMPARE(CSimpleResources::currentLanguageCode(), QStringLiteral("cs"));
    try {
        texts.text("Rpx2.ActionAbout");
        QFAIL("a missing language file must be reported");
    } catch (const RpxError &error) {
        QVERIFY2(error.message().contains(QStringLiteral("Rpx_cs.txt")),
                 qPrintable(error.message()));
    }

    // A failed first lookup leaves nothing half-loaded: the next lookup tries again.
    writeFile(programDir.filePath(QStringLiteral("Rpx_cs.txt")),
              "Rpx2.ActionAbout = \"&O aplikaci...\"\r\n");
    QCOMPARE(texts.text("Rpx2.ActionAbout"), QStringLiteral("&O aplikaci..."));
    QVERIFY(texts.isLoaded());

    // Read once: a later change of the file shows only at the next start.
    writeFile(programDir.filePath(QStringLiteral("Rpx_cs.txt")), "Rpx2.ActionAbout = \"jiný\"\r\n");
    QCOMPARE(texts.text("Rpx2.ActionAbout"), QStringLiteral("&O aplikaci..."));
    AppPaths::setProgramDir(QString());
}

void TestResources::lineReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines");

    const QByteArray x99(99, 'x');
    const QByteArray y250(250, 'y');
    QByteArray high;
    for (int b = 128; b < 256; ++b)
        high.append(char(b));

    QTest::newRow("empty stream") << QByteArray() << QList<QByteArray> {};
    QTest::newRow("last line without line end")
        << QByteArray("a\nb") << QList<QByteArray> {"a", "b"};
    QTest::newRow("line end at the end") << QByteArray("a\nb\n") << QList<QByteArray> {"a", "b"};
    QTest::newRow("empty lines are lines")
        << QByteArray("\n\na\n\n") << QList<QByteArray> {"", "", "a", ""};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QList<QByteArray> {"a", "b"};
    QTest::newRow("CR anywhere is skipped")
        << QByteArray("a\rb\r\r\nc\r") << QList<QByteArray> {"ab", "c"};
    QTest::newRow("only a CR at the end") << QByteArray("a\n\r") << QList<QByteArray> {"a"};
    QTest::newRow("CR LF across the buffer edge")
        << QByteArray(x99 + "\r\nb") << QList<QByteArray> {x99, "b"};
    QTest::newRow("line longer than the buffer")
        << QByteArray(y250 + "\n" + y250) << QList<QByteArray> {y250, y250};
    QTest::newRow("NUL is an ordinary byte")
        << QByteArray("a\0b\n", 4) << QList<QByteArray> {QByteArray("a\0b", 3)};
    QTest::newRow("bytes above 127 are kept") << high << QList<QByteArray> {high};
}

void TestResources::lineReader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(readAllLines(bytes), lines);
}

void TestResources::endOfStreamMessage()
{
    QByteArray data("a");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    CLineReader reader(buffer);
    QCOMPARE(reader.ReadLine(), QByteArray("a"));
    try {
        reader.ReadLine();
        QFAIL("the second line must not exist");
    } catch (const EEndOfStream &end) {
        QCOMPARE(QByteArray(end.what()), QByteArray("End of stream"));
    }
    // Asking again after the end keeps raising rather than inventing lines.
    QVERIFY_THROWS_EXCEPTION(EEndOfStream, reader.ReadLine());
}

void TestResources::symbols_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<bool>("defined");
    QTest::addColumn<QByteArray>("value");

    const QByteArray longValue(230, 'v');

    QTest::newRow("plain key line")
        << QByteArray("a = \"text\"") << QByteArray("a") << true << QByteArray("text");
    QTest::newRow("last line without line end")
        << QByteArray("a = \"1\"\nb = \"2\"") << QByteArray("b") << true << QByteArray("2");
    QTest::newRow("blanks around key and value") << QByteArray("  \t\na.b  =   \"v w\"  \t")
                                                 << QByteArray("a.b") << true << QByteArray("v w");
    QTest::newRow("indented first line is no key line")
        << QByteArray(" a.b = \"v\"") << QByteArray("a.b") << false << QByteArray();
    QTest::newRow("trailing control characters trimmed")
        << QByteArray("a.b=\"v w\"\t\x01 ") << QByteArray("a.b") << true << QByteArray("v w");
    QTest::newRow("continuation lines concatenated")
        << QByteArray("a = \"one \"\n    \"two\"\n\t\"three\"\nb = \"x\"") << QByteArray("a")
        << true << QByteArray("one twothree");
    QTest::newRow("backslash-n is a line feed")
        << QByteArray("a = \"line 1\\nline 2\\n\"") << QByteArray("a") << true
        << QByteArray("line 1\nline 2\n");
    QTest::newRow("backslash-n in a continuation")
        << QByteArray("a = \"x\"\n  \"\\ny\"") << QByteArray("a") << true << QByteArray("x\ny");
    QTest::newRow("unquoted value then indented quoted line")
        << QByteArray("a = unquoted\n   \"only this\"") << QByteArray("a") << true
        << QByteArray("only this");
    QTest::newRow("unquoted value stores nothing")
        << QByteArray("a = unquoted\nb = \"x\"") << QByteArray("a") << false << QByteArray();
    QTest::newRow("value quoted on one side only")
        << QByteArray("a = \"open") << QByteArray("a") << false << QByteArray();
    QTest::newRow("inner quotes kept") << QByteArray("a = \"say \"hi\" = ok\"") << QByteArray("a")
                                       << true << QByteArray("say \"hi\" = ok");
    QTest::newRow("comment with an equals sign")
        << QByteArray("#a = \"x\"\n# b = \"y\"") << QByteArray("a") << false << QByteArray();
    QTest::newRow("comment does not end the current key")
        << QByteArray("a = \"x\"\n# note\n  \"y\"") << QByteArray("a") << true << QByteArray("xy");
    QTest::newRow("unquoted continuation ignored")
        << QByteArray("a = \"x\"\n  y\n  \"z\"") << QByteArray("a") << true << QByteArray("xz");
    QTest::newRow("indented key line is a continuation")
        << QByteArray("a = \"x\"\n  b = \"y\"") << QByteArray("b") << false << QByteArray();
    QTest::newRow("line without equals ignored")
        << QByteArray("garbage\na = \"x\"") << QByteArray("garbage") << false << QByteArray();
    QTest::newRow("key never written")
        << QByteArray("a = \"x\"") << QByteArray("zzz") << false << QByteArray();
    QTest::newRow("keys are case-sensitive")
        << QByteArray("Key = \"x\"") << QByteArray("key") << false << QByteArray();
    QTest::newRow("duplicate key keeps the second value")
        << QByteArray("a = \"first\"\na = \"second\"") << QByteArray("a") << true
        << QByteArray("second");
    QTest::newRow("continuation after a duplicate extends the second value")
        << QByteArray("a = \"first\"\n  \"+\"\na = \"second\"\n  \"+\"") << QByteArray("a") << true
        << QByteArray("second+");
    QTest::newRow("continuation before any key ignored")
        << QByteArray("  \"orphan\"\na = \"x\"") << QByteArray("") << false << QByteArray();
    QTest::newRow("line longer than 100 bytes")
        << QByteArray("a = \"" + longValue + "\"\nb = \"after\"") << QByteArray("a") << true
        << longValue;
    QTest::newRow("line after a long line")
        << QByteArray("a = \"" + longValue + "\"\nb = \"after\"") << QByteArray("b") << true
        << QByteArray("after");
    QTest::newRow("Windows-1250 bytes kept as they are")
        << QByteArray("Rpx2.CustomerPSC = \"PS\xC8:\"") << QByteArray("Rpx2.CustomerPSC") << true
        << QByteArray("PS\xC8:");
}

void TestResources::symbols()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, key);
    QFETCH(bool, defined);
    QFETCH(QByteArray, value);

    const CSymbols symbols = symbolsOf(file);
    QCOMPARE(symbols.entries().count(key) == 1, defined);
    QCOMPARE(symbols.value(key), value);
}

void TestResources::crlfGivesSameValuesAsLf()
{
    const QByteArray lf = "# texty\n"
                          "Rpx2.OrderHoldCount = \"Vybr\xE1no: %d\"\n"
                          "Rpx2.NotifyEmailText = \"V\xE1\x9E"
                          "en\xFD z\xE1kazn\xEDku,\\n\"\n"
                          "    \"\\n\"\n"
                          "    \"Telefon: %s\"\n"
                          "Options.Reset = nic\n"
                          "\t\"Inicializuj\"\n"
                          "\n"
                          "Global.AppError = \"Chyba\"";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");

    const CSymbols fromLf = symbolsOf(lf);
    QCOMPARE(fromLf.entries().size(), size_t(4));
    QVERIFY(symbolsOf(crlf).entries() == fromLf.entries());
    QVERIFY(symbolsOf(crlf + "\r\n").entries() == fromLf.entries());
    QCOMPARE(fromLf.value("Rpx2.NotifyEmailText"),
             QByteArray("V\xE1\x9E"
                        "en\xFD z\xE1kazn\xEDku,\n\nTelefon: %s"));
}

void TestResources::lookupGivesNullMarker()
{
    const QString path = m_dir.filePath(QStringLiteral("lookup.txt"));
    writeFile(path,
              "Global.AppError = \"Chyba\"\r\n"
              "Rpx2.Empty = \"\"\r\n"
              "Rpx2.Unquoted = Chyba\r\n"
              "Rpx2.OrderSelectedCount = \"Zak\xE1zka %d z %d\"\r\n");
    CSimpleResources &texts = CSimpleResources::instance();
    texts.load(path);
    QCOMPARE(texts.text("Global.AppError"), QStringLiteral("Chyba"));
    QCOMPARE(texts.text(QStringLiteral("Rpx2.OrderSelectedCount")),
             QStringLiteral("Zakázka %d z %d"));
    QCOMPARE(texts.text("Rpx2.Missing"), QStringLiteral("{NULL}"));
    QCOMPARE(texts.text("Rpx2.Empty"), QStringLiteral("{NULL}"));
    QCOMPARE(texts.text("Rpx2.Unquoted"), QStringLiteral("{NULL}"));
    QCOMPARE(rpxText("global.apperror"), QStringLiteral("{NULL}"));

    // A file that cannot be opened keeps the texts already loaded.
    QVERIFY_THROWS_EXCEPTION(RpxError, texts.load(m_dir.filePath(QStringLiteral("none.txt"))));
    QCOMPARE(texts.text("Global.AppError"), QStringLiteral("Chyba"));
}

void TestResources::decodesCzechPolishSlovakLetters()
{
    // The pangrams as a Windows-1250 editor writes them.
    const QByteArray czech = "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl "
                             "\xEF\xE1\x62\x65lsk\xE9 \xF3\x64y";
    const QByteArray polish = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";
    const QByteArray slovak = "\xBE\xE5\xE0\xF4\xE4 \xA3\x8E\xC8\xD8\xD9";
    QCOMPARE(CSimpleResources::decode(czech),
             QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"));
    QCOMPARE(CSimpleResources::decode(polish), QStringLiteral("Zażółć gęślą jaźń"));
    QCOMPARE(CSimpleResources::decode(slovak), QStringLiteral("ľĺŕôä ŁŽČŘŮ"));
    QCOMPARE(CSimpleResources::encode(QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy")),
             czech);

    // Through the file reader and the lookup, not only the converter.
    const QString path = m_dir.filePath(QStringLiteral("letters.txt"));
    writeFile(path, "Options.LanguageSelect = \"" + slovak + "\\n" + polish + "\"");
    CSimpleResources::instance().load(path);
    QCOMPARE(rpxText("Options.LanguageSelect"), QStringLiteral("ľĺŕôä ŁŽČŘŮ\nZażółć gęślą jaźń"));
}

void TestResources::encodeReplacesMissingCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("typographic quotes and dash exist")
        << QStringLiteral("„a“ – €") << QByteArray("\x84\x61\x93 \x96 \x80");
    QTest::newRow("letters from elsewhere") << QStringLiteral("ř日本ž") << QByteArray("\xF8??\x9E");
    QTest::newRow("one question mark per emoji") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
}

void TestResources::encodeReplacesMissingCharacters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(CSimpleResources::encode(text), bytes);
    QCOMPARE(Cp1250::fromUnicode(text), bytes);
}

void TestResources::builtInTableAgreesWithQtConverter()
{
    QStringDecoder qtDecoder("windows-1250");
    if (!qtDecoder.isValid())
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

void TestResources::languageCodeFromOpenDatabase()
{
    const QString path = m_dir.filePath(QStringLiteral("shop.db"));
    TRpx2Data::CreateDatabase(path);
    {
        TRpx2Data data(nullptr, QStringLiteral("RPX2-test"), nullptr);
        QCOMPARE(CSimpleResources::currentLanguageCode(), QStringLiteral("cs")); // not open yet
        data.OpenFile(path);
        QCOMPARE(CSimpleResources::currentLanguageCode(), QStringLiteral("cs")); // setting unset
        data.config().SetLanguage(QStringLiteral("sk"));
        QCOMPARE(CSimpleResources::currentLanguageCode(), QStringLiteral("sk"));
        data.config().SetLanguage(QStringLiteral("de"));
        QCOMPARE(CSimpleResources::currentLanguageCode(), QStringLiteral("de"));
        // The code becomes part of a file name and must not leave the program folder.
        data.config().SetLanguage(QStringLiteral("../../etc/x"));
        QCOMPARE(CSimpleResources::currentLanguageCode(), QStringLiteral("cs"));
    }
    QCOMPARE(CSimpleResources::currentLanguageCode(), QStringLiteral("cs"));
}

void TestResources::placeholders_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("none") << QStringLiteral("Uložit") << QStringList();
    QTest::newRow("in order") << QStringLiteral("Zakázka %d z %d, %s")
                              << strings({"%d", "%d", "%s"});
    QTest::newRow("precision and flags")
        << QStringLiteral("%.2f Kč %0.2f %-5d %ld") << strings({"%.2f", "%0.2f", "%-5d", "%ld"});
    QTest::newRow("percent sign escaped") << QStringLiteral("100%% jistě") << QStringList();
    QTest::newRow("stray percent sign")
        << QStringLiteral("sleva 50 % dnes %") << strings({"%", "%"});
    QTest::newRow("template fields are no placeholders")
        << QStringLiteral("${DATE} ${AMOUNT}") << QStringList();
}

void TestResources::placeholders()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    QCOMPARE(TextCheck::placeholders(text), found);
}

void TestResources::samePlaceholders_data()
{
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("precision written differently")
        << strings({"%.2f"}) << strings({"%0.2f"}) << true;
    QTest::newRow("%d and %i") << strings({"%d", "%s"}) << strings({"%i", "%s"}) << true;
    QTest::newRow("order differs") << strings({"%s", "%d"}) << strings({"%d", "%s"}) << false;
    QTest::newRow("one missing") << strings({"%s", "%s"}) << strings({"%s"}) << false;
    QTest::newRow("text for a number") << strings({"%s"}) << strings({"%.2f"}) << false;
}

void TestResources::samePlaceholders()
{
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(bool, same);
    QCOMPARE(TextCheck::samePlaceholders(a, b), same);
}

void TestResources::textCheckReportsProblems_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("file"); // replaces the complete file of that language
    QTest::addColumn<QString>("expected"); // a reported line contains this text

    auto spoiled = [](const QByteArray &code, const QByteArray &from, const QByteArray &to) {
        QByteArray bytes = completeFile(code);
        if (!bytes.contains(from))
            qFatal("test data: %s not found", from.constData());
        return bytes.replace(from, to);
    };
    const auto pl = QStringLiteral("pl");
    const auto sk = QStringLiteral("sk");
    const auto cs = QStringLiteral("cs");

    QTest::newRow("missing key") << pl << spoiled("pl", "Filters.Title.2.1 = \"x\"\r\n", "")
                                 << QStringLiteral("Rpx_pl.txt: klíč „Filters.Title.2.1“ chybí");
    QTest::newRow("empty value")
        << sk << spoiled("sk", "OrderSummary.Month.11 = \"x\"", "OrderSummary.Month.11 = \"\"")
        << QStringLiteral("Rpx_sk.txt: klíč „OrderSummary.Month.11“ nemá text");
    QTest::newRow("unquoted value")
        << sk << spoiled("sk", "Global.AppError = \"x\"", "Global.AppError = x")
        << QStringLiteral("Rpx_sk.txt: klíč „Global.AppError“ chybí");
    QTest::newRow("placeholders swapped")
        << pl << spoiled("pl", "\"%d %s %s %s %s %s %s\"", "\"%s %d %s %s %s %s %s\"")
        << QStringLiteral(
               "Rpx_pl.txt: klíč „OrderMulti.OrderAlreadyExists“ má zástupné symboly %s %d");
    QTest::newRow("Czech text lacks a placeholder")
        << cs
        << spoiled("cs", "Rpx2.NotifyEmailSubject = \"%s\"",
                   "Rpx2.NotifyEmailSubject = \"Zak\xE1zka\"")
        << QStringLiteral("Rpx_cs.txt: klíč „Rpx2.NotifyEmailSubject“ má zástupné symboly žádné, "
                          "program předává %s");
    QTest::newRow("placeholder in a plain text")
        << sk << spoiled("sk", "Rpx2.CantSaveFile = \"x\"", "Rpx2.CantSaveFile = \"x %s\"")
        << QStringLiteral(
               "Rpx_sk.txt: klíč „Rpx2.CantSaveFile“ má zástupné symboly %s, čeština má žádné");
    QTest::newRow("unknown key") << pl
                                 << QByteArray(completeFile("pl") + "Rpx2.ActionAbuot = \"x\"\r\n")
                                 << QStringLiteral("Rpx_pl.txt: neznámý klíč „Rpx2.ActionAbuot“");
    QTest::newRow("byte the code page leaves unused")
        << cs << spoiled("cs", "Global.AppName = \"x\"", "Global.AppName = \"x\x81\"")
        << QStringLiteral("Rpx_cs.txt: klíč „Global.AppName“ obsahuje znak");
    QTest::newRow("byte-order mark") << sk << QByteArray("\xEF\xBB\xBF" + completeFile("sk"))
                                     << QStringLiteral("Rpx_sk.txt: soubor začíná značkou BOM");
    QTest::newRow("UTF-8 file") << pl
                                << spoiled("pl", "Global.AppError = \"x\"",
                                           "Global.AppError = \"B\xC5\x82\xC4\x85\x64\"")
                                << QStringLiteral("Rpx_pl.txt: soubor je v kódování UTF-8");
    QTest::newRow("missing file") << sk << QByteArray()
                                  << QStringLiteral("Rpx_sk.txt: soubor nelze otevřít");
}

void TestResources::textCheckReportsProblems()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    for (const QString &lang : {QStringLiteral("cs"), QStringLiteral("pl"), QStringLiteral("sk")})
        writeFile(dir.filePath(QStringLiteral("Rpx_%1.txt").arg(lang)),
                  completeFile(lang.toLatin1()));
    QCOMPARE(TextCheck::checkFolder(dir.path()), QStringList()); // the complete set passes

    const QString path = dir.filePath(QStringLiteral("Rpx_%1.txt").arg(code));
    if (file.isEmpty())
        QVERIFY(QFile::remove(path));
    else
        writeFile(path, file);
    const QStringList problems = TextCheck::checkFolder(dir.path());
    QVERIFY2(problems.size() == 1 && problems.first().startsWith(expected),
             qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestResources::shippedLanguageFilesAreComplete()
{
    const QString sourceDir = qEnvironmentVariable("REPAXO_SOURCE_DIR");
    if (sourceDir.isEmpty())
        QSKIP("REPAXO_SOURCE_DIR is not set (CTest sets it)");
    const QString langDir = QDir(sourceDir).filePath(QStringLiteral("lang"));
    const QStringList problems = TextCheck::checkFolder(langDir);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

    // The Czech file carries the windows' design texts; two that need the file format's
    // escapes and code page to come through intact.
    CSimpleResources::instance().load(QDir(langDir).filePath(QStringLiteral("Rpx_cs.txt")));
    QCOMPARE(rpxText("Rpx2.ActionAbout"), QStringLiteral("&O aplikaci..."));
    QCOMPARE(rpxText("Filters.ListItems"), QStringLiteral("jako filtr\njako nabídku"));
    QCOMPARE(QString::asprintf(rpxText("Rpx2.OrderHoldCount").toUtf8().constData(), 0),
             QStringLiteral("Vybráno: 0"));
}

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
