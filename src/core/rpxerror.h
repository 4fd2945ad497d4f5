#pragma once

#include <QString>

#include <exception>

// The one exception type of the core. Every failure the user should read (a database that
// cannot be opened, a statement that fails, an exhausted order counter) arrives as an
// RpxError whose text is ready to be shown in a message box. The kind tells the failures
// apart that a window answers in a way of its own.
class RpxError : public std::exception
{
public:
    enum class Kind {
        General,
        Changed, // the row was changed by another program since it was read; nothing stored
        Deleted, // the row was deleted by another program since it was read; nothing stored
        Busy, // another program holds the database longer than the program waits
        Damaged, // the database file is damaged
        Texts, // no language file can be read
    };

    explicit RpxError(QString message, Kind kind = Kind::General)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
        , m_kind(kind)
    { }
    const QString &message() const noexcept { return m_message; }
    Kind kind() const noexcept { return m_kind; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
    Kind m_kind;
};
