#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <map>
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

// The dictionary of one language file: key -> value bytes (Windows-1250).
class CSymbols
{
public:
    CSymbols() = default;
    explicit CSymbols(QIODevice &stream); // reads the whole stream
    void read(QIODevice &stream);
    QByteArray value(const QByteArray &key) const; // empty when missing
    const std::map<QByteArray, QByteArray> &entries() const { return m_map; }

private:
    void processLine(const QByteArray &line);
    QByteArray m_currentKey;
    std::map<QByteArray, QByteArray> m_map;
};

// The process-wide texts: the language file chosen by the Language setting, read at the
// first lookup. A missing key or an empty value reads "{NULL}". A language file that
// cannot be opened throws RpxError from the first lookup.
class CSimpleResources
{
public:
    static CSimpleResources &instance();
    // Tests and the admin tool load a file directly; replaces the current dictionary.
    void load(const QString &fileName);
    QString text(const QString &key);
    QString text(const char *key) { return text(QString::fromLatin1(key)); }
    bool isLoaded() const { return m_loaded; }
    // The code whose file the first lookup reads: the Language setting of the open data
    // module, "cs" without one.
    static QString currentLanguageCode();

    // Decodes Windows-1250 bytes.
    static QString decode(const QByteArray &bytes);
    static QByteArray encode(const QString &text); // unmappable characters become '?'

private:
    CSimpleResources() = default;
    void ensureLoaded();
    CSymbols m_symbols;
    bool m_loaded = false;
};

// Shorthand used by every window: the text of a key.
inline QString rpxText(const char *key)
{
    return CSimpleResources::instance().text(key);
}
