#pragma once

#include <QString>

// A command line the tool will not run: an unknown command or option, a missing argument,
// an unknown setting or a value of the wrong type. The tool prints the message (with the
// usage text when that helps) and ends with exit code 2.
class UsageError
{
public:
    explicit UsageError(QString message, bool showUsage = true)
        : m_message(std::move(message))
        , m_showUsage(showUsage)
    {
    }
    const QString &message() const { return m_message; }
    bool showUsage() const { return m_showUsage; }

private:
    QString m_message;
    bool m_showUsage;
};
