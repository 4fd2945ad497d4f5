#pragma once

#include <QString>

#include <exception>

// The one exception type of the core. Every failure the user should read (a database that
// cannot be opened, a statement that fails, an exhausted order counter) arrives as an
// RpxError whose text is ready to be shown in a message box.
class RpxError : public std::exception
{
public:
    explicit RpxError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
