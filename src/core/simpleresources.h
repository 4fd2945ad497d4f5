#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

#include <map>
#include <set>
#include <stdexcept>

// Raised by CLineReader when a line is asked for and the stream has no more bytes.
class EEndOfStream : public std::runtime_error
{
public:
    EEndOfStream() : std::runtime_error("End of stream") {}
};

// Reads a byte stream line by line through a 100-byte buffer. A line feed ends a line,
// carriage returns are skipped, every other byte is part of the line.
class CLineReader
{
public:
    explicit CLineReader(QIODevice &stream);
    QByteArray ReadLine(); // throws EEndOfStream at the end of the data

private:
    QIODevice &m_stream;
    char m_buffer[100];
    qint64 m_count = 0;
    qint64 m_pos = 0;
};

// The dictionary of one language file: key -> value bytes (Windows-1250). Lines are
// `key = "value"`, "#" starts a comment, an indented quoted line continues the value of the
// last key line, backslash-n stands for a line feed; malformed lines are skipped.
class CSymbols
{
public:
    CSymbols() = default;
    explicit CSymbols(QIODevice &stream); // reads the whole stream
    // Reads the stream to its end and adds its keys; a key read again replaces its value.
    void read(QIODevice &stream);
    QByteArray value(const QByteArray &key) const; // empty when missing
    const std::map<QByteArray, QByteArray> &entries() const { return m_map; }
    // Keys that stand on more than one key line, in the order their repetition was read.
    const QList<QByteArray> &repeatedKeys() const { return m_repeated; }

private:
    void processLine(const QByteArray &line);
    QByteArray m_currentKey;
    std::map<QByteArray, QByteArray> m_map;
    std::set<QByteArray> m_keyLines;
    QList<QByteArray> m_repeated;
};

// The process-wide texts: the language file chosen by the Language setting, read at the
// first lookup. A missing key or an empty value reads "{NULL}". When the chosen language's
// file cannot be read, the Czech file is read instead (takeNotice() tells why); when that
// cannot be read either, the first lookup throws RpxError of kind Texts.
class CSimpleResources
{
public:
    static CSimpleResources &instance();
    // Tests and the admin tool load a file directly; replaces the current dictionary.
    // Throws RpxError naming the file when it cannot be opened.
    void load(const QString &fileName);
    // Reads the language file of the code and makes Qt's own buttons and dialogs speak the
    // same language (Qt's translation "qtbase_<code>", when Qt has one). Throws RpxError
    // naming the file when it cannot be opened.
    void loadLanguage(const QString &code);
    QString text(const QString &key);
    QString text(const char *key) { return text(QString::fromLatin1(key)); }
    bool isLoaded() const { return m_loaded; }
    // Why the texts are not those of the shop's language (once; empty when they are).
    QString takeNotice();
    // The code whose file the first lookup reads: the Language setting of the open data
    // module, "cs" without one (or when it cannot be read).
    static QString currentLanguageCode();

    // Windows-1250, the code page of the language files, the password and the operations log.
    static QString decode(const QByteArray &bytes);
    static QByteArray encode(const QString &text); // unmappable characters become '?'

private:
    CSimpleResources() = default;
    void ensureLoaded();
    static void installQtTranslations(const QString &code);
    CSymbols m_symbols;
    bool m_loaded = false;
    bool m_loading = false;
    QString m_notice;
};

// Windows-1250 by a built-in table, so that no Qt build lacks it. Unused bytes decode to
// U+FFFD; each character the code page lacks (a whole surrogate pair, a lone surrogate)
// encodes as one '?'.
namespace Cp1250 {
QString toUnicode(const QByteArray &bytes);
QByteArray fromUnicode(const QString &text);
} // namespace Cp1250

// Shorthand used by every window: the text of a key.
inline QString rpxText(const char *key)
{
    return CSimpleResources::instance().text(key);
}

// The text of a key for a dialog's captions: when the language file cannot be read at all,
// the dialog keeps its built-in Czech text instead of failing to open. A missing key still
// reads "{NULL}".
QString rpxTextOr(const char *key, const QString &builtIn);
