#include "reportcommand.h"

#include "reportfile.h"
#include "rpx2data.h"
#include "simpleresources.h"
#include "summaryrunner.h"
#include "usageerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>

#include <optional>

namespace {

QDate dateOption(const QString &option, const QString &value)
{
    const QDate date = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw UsageError(
            QStringLiteral("%1 needs a date as YYYY-MM-DD, not \"%2\"").arg(option, value));
    return date;
}

int numberOption(const QString &option, const QString &value, int lowest, int highest)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < lowest || number > highest)
        throw UsageError(QStringLiteral("%1 needs a whole number from %2 to %3, not \"%4\"")
                             .arg(option)
                             .arg(lowest)
                             .arg(highest)
                             .arg(value));
    return number;
}

} // namespace

ReportCommand::ReportCommand(const QString &command, QStringList args)
{
    QString name = command;
    if (command == QLatin1String("summary")) {
        if (args.isEmpty() || args.first().startsWith(QLatin1Char('-')))
            throw UsageError(
                QStringLiteral("summary needs a report: day, shop, month, year or engineer"));
        name = args.takeFirst();
    }
    const QMap<QString, Kind> kinds = {
        { QStringLiteral("day"), Kind::Day },           { QStringLiteral("shop"), Kind::Shop },
        { QStringLiteral("month"), Kind::Month },       { QStringLiteral("year"), Kind::Year },
        { QStringLiteral("engineer"), Kind::Engineer }, { QStringLiteral("export"), Kind::Export },
    };
    if (!kinds.contains(name)
        || (command == QLatin1String("summary") && name == QLatin1String("export")))
        throw UsageError(QStringLiteral("unknown summary \"%1\"").arg(name));
    m_kind = kinds.value(name);

    // The options each report takes; the required ones are marked with "!".
    QStringList allowed;
    switch (m_kind) {
    case Kind::Day:
    case Kind::Shop:
        allowed = { QStringLiteral("!--from"), QStringLiteral("--to") };
        break;
    case Kind::Month:
        allowed = { QStringLiteral("!--year"), QStringLiteral("!--month") };
        break;
    case Kind::Year:
        allowed = { QStringLiteral("!--year") };
        break;
    case Kind::Engineer:
        allowed = { QStringLiteral("!--from"), QStringLiteral("!--to") };
        break;
    case Kind::Export:
        allowed = { QStringLiteral("!--from"), QStringLiteral("!--to"), QStringLiteral("--type") };
        break;
    }
    allowed.append(QStringLiteral("!--out"));

    QMap<QString, QString> values;
    while (!args.isEmpty()) {
        QString option = args.takeFirst();
        std::optional<QString> value;
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option.truncate(equals);
        }
        if (!allowed.contains(option) && !allowed.contains(QLatin1Char('!') + option))
            throw UsageError(QStringLiteral("unknown %1 option %2").arg(name, option));
        if (!value) {
            if (args.isEmpty())
                throw UsageError(QStringLiteral("%1 needs a value").arg(option));
            value = args.takeFirst();
        }
        if (values.contains(option))
            throw UsageError(QStringLiteral("%1 is given twice").arg(option));
        values.insert(option, *value);
    }
    for (const QString &option : allowed)
        if (option.startsWith(QLatin1Char('!')) && !values.contains(option.mid(1)))
            throw UsageError(QStringLiteral("%1 needs %2").arg(name, option.mid(1)));

    m_out = values.value(QStringLiteral("--out"));
    if (m_out.trimmed().isEmpty())
        throw UsageError(QStringLiteral("--out needs the name of the report file"));
    if (values.contains(QStringLiteral("--from")))
        m_from = dateOption(QStringLiteral("--from"), values.value(QStringLiteral("--from")));
    m_range = values.contains(QStringLiteral("--to"));
    m_to = m_range ? dateOption(QStringLiteral("--to"), values.value(QStringLiteral("--to")))
                   : m_from;
    if (values.contains(QStringLiteral("--year"))) {
        m_year = values.value(QStringLiteral("--year"));
        numberOption(QStringLiteral("--year"), m_year, 1, 9999);
    }
    if (values.contains(QStringLiteral("--month")))
        m_month = numberOption(QStringLiteral("--month"), values.value(QStringLiteral("--month")),
                               1, 12);
    m_type = values.value(QStringLiteral("--type"));
}

int ReportCommand::run(TRpx2Data &data, QTextStream &out, QTextStream &err) const
{
    // The texts of the shop's language, from the language file beside this tool.
    CSimpleResources::instance().load(
        QCoreApplication::applicationDirPath() + QStringLiteral("/Rpx_")
        + CSimpleResources::currentLanguageCode() + QStringLiteral(".txt"));
    SummaryRunner runner(data);
    int orders = 0;
    bool typeFound = true;
    try {
        switch (m_kind) {
        case Kind::Day:
            orders = runner.day(m_out, m_from, m_to, m_range);
            break;
        case Kind::Shop:
            orders = runner.shop(m_out, m_from, m_to);
            break;
        case Kind::Month:
            orders = runner.month(m_out, m_year.toInt(), m_month);
            break;
        case Kind::Year:
            orders = runner.year(m_out, m_year);
            break;
        case Kind::Engineer:
            orders = runner.engineers(m_out, m_from, m_to);
            break;
        case Kind::Export:
            orders = runner.orderList(m_out, m_from, m_to, m_type, &typeFound);
            break;
        }
    } catch (const ReportFileError &error) {
        err << "repaxo-admin: " << error.message() << '\n' << error.detail() << '\n';
        return 1;
    }
    if (!typeFound)
        err << "No repair type is named \"" << m_type
            << "\": orders of every type were exported.\n";
    out << "Wrote " << QDir::toNativeSeparators(ReportFile(m_out).path()) << " (" << orders
        << (orders == 1 ? " order" : " orders") << ").\n";
    if (orders == 0 && (m_kind == Kind::Day || m_kind == Kind::Shop))
        err << SummaryRunner::noOrdersMessage() << '\n';
    return 0;
}
