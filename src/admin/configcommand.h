#pragma once

#include <QList>
#include <QString>

#include <utility>

class CConfig;

// One setting by its name, read and written through CConfig's typed accessors: the shop's
// keys of CConfig::keys(), the per-user values (LogoFileName, DBFileName, OrderAgeFilter,
// SummaryFilePath) and the column widths CW<grid><column> of CConfig::columnWidthGrids().
// Values are texts as typed on the command line: flags 1/0/true/false/yes/no (read back as
// 1 or 0), whole numbers, numbers with "." as the decimal separator. An unknown name or a
// value the program would refuse (a web address that is not http or https, a language code
// that is no file name, an exchange rate out of range) throws UsageError (without the usage
// text); database failures throw RpxError. The password is never shown: it reads as "(set)"
// or "(not set)".
class ConfigCommand
{
public:
    explicit ConfigCommand(CConfig &config)
        : m_config(config)
    {
    }

    static bool isKnown(const QString &name);
    // Per-user values live outside the database: reading or writing them needs no file.
    static bool isUserValue(const QString &name);

    QString get(const QString &name);
    // Returns a note for the user (a text that was cut to fit), usually empty.
    QString set(const QString &name, const QString &value);

    // Every shop key, the column widths, then every per-user value, with its current value as
    // `get` prints it. A value that cannot be read shows "(unreadable)"; its name and the
    // reason are added to `problems`.
    QList<std::pair<QString, QString>> list(QList<std::pair<QString, QString>> *problems);

private:
    CConfig &m_config;
};
