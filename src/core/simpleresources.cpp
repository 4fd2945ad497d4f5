#include "simpleresources.h"

#include "apppaths.h"
#include "config.h"
#include "rpx2data.h"
#include "rpxerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <utility>

namespace {

// Windows-1250 bytes 0x80 to 0xFF; U+FFFD marks the five bytes the code page leaves unused.
// clang-format off
const char16_t HighHalf[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Removes every leading and trailing byte with a code up to 32.
QByteArray trimControl(const QByteArray &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// A quoted text loses its two quotes and has every backslash-n turned into a line feed.
// Returns false when the text is not enclosed in double quotes.
bool unquote(const QByteArray &text, QByteArray &value)
{
    if (text.size() < 2 || !text.startsWith('"') || !text.endsWith('"'))
        return false;
    value = text.mid(1, text.size() - 2);
    value.replace("\\n", "\n");
    return true;
}

} // namespace

// --- CLineReader ---

CLineReader::CLineReader(QIODevice &stream)
    : m_stream(stream)
{
}

QByteArray CLineReader::ReadLine()
{
    QByteArray line;
    for (;;) {
        if (m_pos >= m_count) {
            m_pos = 0;
            m_count = m_stream.read(m_buffer, sizeof m_buffer);
            if (m_count <= 0) {
                m_count = 0;
                if (line.isEmpty())
                    throw EEndOfStream();
                return line;
            }
        }
        const char c = m_buffer[m_pos++];
        if (c == '\n')
            return line;
        if (c != '\r')
            line.append(c);
    }
}

// --- CSymbols ---

CSymbols::CSymbols(QIODevice &stream)
{
    read(stream);
}

void CSymbols::read(QIODevice &stream)
{
    m_currentKey.clear();
    CLineReader reader(stream);
    for (;;) {
        QByteArray line;
        try {
            line = reader.ReadLine();
        } catch (const EEndOfStream &) {
            break;
        }
        processLine(line);
    }
}

QByteArray CSymbols::value(const QByteArray &key) const
{
    const auto it = m_map.find(key);
    return it == m_map.end() ? QByteArray() : it->second;
}

void CSymbols::processLine(const QByteArray &line)
{
    const QByteArray text = trimControl(line);
    if (text.isEmpty())
        return;

    // A line indented with a blank or a tab continues the value of the current key.
    if (line.front() == ' ' || line.front() == '\t') {
        QByteArray part;
        if (!m_currentKey.isEmpty() && unquote(text, part))
            m_map[m_currentKey].append(part);
        return;
    }

    if (text.front() == '#')
        return;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return;

    // The key becomes current even when its value is not quoted, so that indented
    // quoted lines below it give the key its value.
    m_currentKey = trimControl(text.left(eq));
    if (m_currentKey.isEmpty())
        return;
    if (!m_keyLines.insert(m_currentKey).second && !m_repeated.contains(m_currentKey))
        m_repeated.append(m_currentKey);
    QByteArray value;
    if (unquote(trimControl(text.mid(eq + 1)), value))
        m_map[m_currentKey] = value;
}

// --- CSimpleResources ---

CSimpleResources &CSimpleResources::instance()
{
    static CSimpleResources resources;
    return resources;
}

void CSimpleResources::load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString path = QDir::toNativeSeparators(fileName);
        throw RpxError(
            file.exists() ? QStringLiteral("Soubor s texty aplikace „%1“ nelze přečíst.").arg(path)
                          : QStringLiteral("Soubor s texty aplikace „%1“ nebyl nalezen.").arg(path),
            RpxError::Kind::Texts);
    }
    CSymbols symbols(file);
    m_symbols = std::move(symbols);
    m_loaded = true;
}

void CSimpleResources::ensureLoaded()
{
    if (m_loaded)
        return;
    // Reading the language setting can fail, and the failure's message asks for a text
    // again: that lookup gets no file (rpxTextOr then keeps its built-in text).
    if (m_loading)
        throw RpxError(QStringLiteral("Soubor s texty aplikace se právě čte."));
    m_loading = true;
    try {
        const QString code = currentLanguageCode();
        try {
            loadLanguage(code);
        } catch (const RpxError &error) {
            if (code == QLatin1String("cs"))
                throw;
            // The shop's language without its file: the Czech texts, said once.
            loadLanguage(QStringLiteral("cs"));
            m_notice = error.message() + QStringLiteral("\nProgram proto používá české texty.");
        }
    } catch (...) {
        m_loading = false;
        throw;
    }
    m_loading = false;
}

void CSimpleResources::loadLanguage(const QString &code)
{
    load(AppPaths::languageFile(code));
    installQtTranslations(code);
}

void CSimpleResources::installQtTranslations(const QString &code)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    // (Guarded: the application owns them and may have gone with them.)
    static QList<QPointer<QTranslator>> installed;
    for (const QPointer<QTranslator> &translator : std::as_const(installed)) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    installed.clear();
    // Qt's Slovak texts lack the standard buttons (Yes, No, Cancel): the Czech ones fill
    // the gaps, the translator installed last being asked first.
    QStringList codes { code };
    if (code == QLatin1String("sk"))
        codes.prepend(QStringLiteral("cs"));
    for (const QString &each : std::as_const(codes)) {
        // Qt's files lie in Qt's own folder, or in "translations" beside a deployed program.
        auto *translator = new QTranslator(app);
        const QString name = QStringLiteral("qtbase_") + each;
        if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
            || translator->load(name, AppPaths::programDir() + QStringLiteral("/translations"))) {
            QCoreApplication::installTranslator(translator);
            installed.append(translator);
        } else {
            delete translator;
        }
    }
}

QString CSimpleResources::takeNotice()
{
    return std::exchange(m_notice, QString());
}

QString CSimpleResources::text(const QString &key)
{
    ensureLoaded();
    const QByteArray value = m_symbols.value(encode(key));
    if (value.isEmpty())
        return QStringLiteral("{NULL}");
    return decode(value);
}

QString CSimpleResources::currentLanguageCode()
{
    TRpx2Data *data = TRpx2Data::instance();
    if (data && data->isOpen()) {
        try {
            // (The files are named in lower case: "CS" is Czech.)
            const QString code = data->config().GetLanguage().trimmed().toLower();
            if (CConfig::IsLanguageCode(code))
                return code;
        } catch (const RpxError &) {
            // An unreadable database cannot name its language: the Czech texts it is.
        }
    }
    return QStringLiteral("cs");
}

// The built-in table, not a converter of the Qt build: the same bytes on every platform,
// also where Qt has no converter for the code page.
QString CSimpleResources::decode(const QByteArray &bytes)
{
    return Cp1250::toUnicode(bytes);
}

QByteArray CSimpleResources::encode(const QString &text)
{
    return Cp1250::fromUnicode(text);
}

// --- Cp1250 ---

QString Cp1250::toUnicode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text.append(QChar(b < 0x80 ? char16_t(b) : HighHalf[b - 0x80]));
    }
    return text;
}

QByteArray Cp1250::fromUnicode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one '?' for the whole code point
        char byte = '?';
        if (c < 0x80) {
            byte = static_cast<char>(c);
        } else if (c != 0xFFFD) {
            for (int k = 0; k < 128; ++k) {
                if (HighHalf[k] == c) {
                    byte = static_cast<char>(0x80 + k);
                    break;
                }
            }
        }
        bytes.append(byte);
    }
    return bytes;
}

QString rpxTextOr(const char *key, const QString &builtIn)
{
    try {
        return rpxText(key);
    } catch (const RpxError &) {
        return builtIn;
    }
}
