#include "admintool.h"

#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "configcommand.h"
#include "demodata.h"
#include "orderfilter.h"
#include "orderlist.h"
#include "ordernumbering.h"
#include "printcommand.h"
#include "reportcommand.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "textcheck.h"
#include "usageerror.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <exception>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Years of a large shop; the orders are spread over enough years to keep every year's
// numbers within five digits.
constexpr int MaxDemoOrders = 2000000;

const QString KeyName = QStringLiteral("RPX2");

int positiveNumber(const QString &option, const QString &value, int highest)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < 1 || number > highest)
        throw UsageError(QStringLiteral("%1 needs a whole number from 1 to %2, not \"%3\"")
                             .arg(option)
                             .arg(highest)
                             .arg(value));
    return number;
}

} // namespace

AdminTool::AdminTool(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{ }

QString AdminTool::usage()
{
    return QStringLiteral(
        "Usage: repaxo-admin [--db PATH] COMMAND [ARGUMENTS]\n"
        "\n"
        "Commands:\n"
        "  init-db [PATH]            create a new, empty shop database (default: the\n"
        "                            --db file)\n"
        "  config get KEY            print a setting\n"
        "  config set KEY VALUE      change a setting (flags: 1/0, true/false, yes/no)\n"
        "  config list               print every setting with its value\n"
        "  check-texts [DIR]         check the language files in DIR (default: the\n"
        "                            program's folder)\n"
        "  info                      print what the database holds\n"
        "  summary day|shop --from DATE [--to DATE] --out FILE\n"
        "                            the takings of a day (or of the days from-to), all\n"
        "                            orders or the shop's own sales; DATE is YYYY-MM-DD\n"
        "  summary month --year Y --month M --out FILE\n"
        "  summary year --year Y --out FILE\n"
        "  summary engineer --from DATE --to DATE --out FILE\n"
        "                            the takings of a month, a year, or per engineer\n"
        "  export --from DATE --to DATE [--type NAME] --out FILE\n"
        "                            the orders handed back in the days from-to, all or of\n"
        "                            one repair type\n"
        "                            Reports are written as the summaries dialog writes\n"
        "                            them, in the shop's language; a day or shop report\n"
        "                            without orders is written all the same\n"
        "  demo-data --orders N [--customers M] [--seed S]\n"
        "                            add N demo orders of the last three years (of more\n"
        "                            years above 240000 orders, about 80000 a year) and M\n"
        "                            customers (default N/3); the same seed gives the same\n"
        "                            data on the same day\n"
        "  print receipt|issue ORDERID [--held ID,ID,...] --pdf FILE\n"
        "                            write the intake receipt or the issue document of\n"
        "                            the order (with --held: of the held orders) as PDF\n"
        "\n"
        "Options:\n"
        "  --db PATH                 the database file (default: rpx3.db beside the program);\n"
        "                            the operations log is then written beside it\n"
        "  -h, --help                show this text\n"
        "\n"
        "Exit codes: 0 success, 1 failure, 2 wrong usage.\n");
}

int AdminTool::run(const QStringList &arguments)
{
    try {
        return dispatch(arguments);
    } catch (const UsageError &error) {
        m_err << "repaxo-admin: " << error.message() << '\n';
        if (error.showUsage())
            m_err << '\n' << usage();
        return WrongUsage;
    } catch (const RpxError &error) {
        m_err << "repaxo-admin: " << error.message() << '\n';
        return Failure;
    } catch (const std::exception &error) {
        m_err << "repaxo-admin: " << QString::fromLocal8Bit(error.what()) << '\n';
        return Failure;
    }
}

int AdminTool::dispatch(QStringList args)
{
    while (!args.isEmpty() && args.first().startsWith(QLatin1Char('-'))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--db")) {
            if (args.isEmpty())
                throw UsageError(QStringLiteral("--db needs the path of a database file"));
            m_dbPath = args.takeFirst();
        } else if (option.startsWith(QLatin1String("--db="))) {
            m_dbPath = option.mid(5);
        } else if (option == QLatin1String("-h") || option == QLatin1String("--help")) {
            m_out << usage();
            return Success;
        } else {
            throw UsageError(QStringLiteral("unknown option %1").arg(option));
        }
        if (m_dbPath.isEmpty())
            throw UsageError(QStringLiteral("--db needs the path of a database file"));
    }
    if (args.isEmpty())
        throw UsageError(QStringLiteral("no command given"));

    const QString command = args.takeFirst();
    if (command == QLatin1String("init-db"))
        return initDb(args);
    if (command == QLatin1String("config"))
        return config(args);
    if (command == QLatin1String("check-texts"))
        return checkTexts(args);
    if (command == QLatin1String("info"))
        return info(args);
    if (command == QLatin1String("summary") || command == QLatin1String("export"))
        return report(command, args);
    if (command == QLatin1String("demo-data"))
        return demoData(args);
    if (command == QLatin1String("print")) {
        const PrintCommand print(args);
        print.run(*dataModule(true), m_out, m_err);
        return Success;
    }
    if (command == QLatin1String("help")) {
        m_out << usage();
        return Success;
    }
    throw UsageError(QStringLiteral("unknown command \"%1\"").arg(command));
}

QString AdminTool::databasePath() const
{
    return m_dbPath.isEmpty() ? AppPaths::databaseFile() : m_dbPath;
}

std::unique_ptr<TRpx2Data> AdminTool::dataModule(bool open)
{
    auto data = std::make_unique<TRpx2Data>(nullptr, KeyName, nullptr);
    if (open) {
        const QString path = databasePath();
        // A database named on the command line keeps its own operations log: demo or test
        // orders must not end up in the log of the shop's database beside the program.
        if (!m_dbPath.isEmpty())
            AppPaths::setProgramDir(QFileInfo(path).absolutePath());
        data->OpenFile(path);
    }
    return data;
}

int AdminTool::initDb(const QStringList &args)
{
    if (args.size() > 1 || (args.isEmpty() && m_dbPath.isEmpty()))
        throw UsageError(QStringLiteral("init-db needs the path of the new database file"));
    const QString given = args.isEmpty() ? m_dbPath : args.first();
    // An empty path would name the current folder: never a file that could be created.
    if (given.trimmed().isEmpty())
        throw UsageError(QStringLiteral("init-db needs the path of the new database file, not an "
                                        "empty text"));
    const QString path = QFileInfo(given).absoluteFilePath();
    if (QFileInfo(path).isDir())
        throw RpxError(
            QStringLiteral("%1 is a folder, not the path of a new database file").arg(path));
    TRpx2Data::CreateDatabase(path);
    // Say "created" only for a file that is there and opens as a shop database.
    if (!QFileInfo(path).isFile())
        throw RpxError(QStringLiteral("the shop database %1 was not created").arg(path));
    dataModule(false)->OpenFile(path);
    m_out << "Created the shop database " << path << '\n';
    return Success;
}

int AdminTool::config(QStringList args)
{
    const QString action = args.isEmpty() ? QString() : args.takeFirst();
    if (action == QLatin1String("get")) {
        if (args.size() != 1)
            throw UsageError(QStringLiteral("config get needs one key"));
        const QString key = args.first();
        if (!ConfigCommand::isKnown(key))
            throw UsageError(
                QStringLiteral("unknown setting \"%1\" (\"config list\" shows them all)").arg(key),
                false);
        auto data = dataModule(!ConfigCommand::isUserValue(key));
        m_out << ConfigCommand(data->config()).get(key) << '\n';
        return Success;
    }
    if (action == QLatin1String("set")) {
        if (args.size() != 2)
            throw UsageError(QStringLiteral("config set needs a key and a value"));
        const QString key = args.at(0);
        if (!ConfigCommand::isKnown(key))
            throw UsageError(
                QStringLiteral("unknown setting \"%1\" (\"config list\" shows them all)").arg(key),
                false);
        auto data = dataModule(!ConfigCommand::isUserValue(key));
        const QString note = ConfigCommand(data->config()).set(key, args.at(1));
        if (!note.isEmpty())
            m_err << note << '\n';
        return Success;
    }
    if (action == QLatin1String("list")) {
        if (!args.isEmpty())
            throw UsageError(QStringLiteral("config list takes no arguments"));
        auto data = dataModule(true);
        QList<std::pair<QString, QString>> problems;
        const auto rows = ConfigCommand(data->config()).list(&problems);
        qsizetype width = 0;
        for (const auto &row : rows)
            width = qMax(width, row.first.size());
        for (const auto &row : rows) {
            QString value = row.second;
            value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
            m_out << row.first.leftJustified(width + 2) << value << '\n';
        }
        // A value that could not be read (a damaged file, a rate that is no number) is a
        // failure, with its reason; a damaged file gives one reason for all of them.
        QList<std::pair<QString, QStringList>> reasons;
        for (const auto &[name, reason] : problems) {
            auto it = std::find_if(reasons.begin(), reasons.end(),
                                   [&](const auto &r) { return r.first == reason; });
            if (it == reasons.end())
                reasons.append({ reason, { name } });
            else
                it->second.append(name);
        }
        for (const auto &[reason, names] : reasons) {
            m_err << "repaxo-admin: cannot read "
                  << (names.size() > 3 ? QStringLiteral("%1 settings").arg(names.size())
                                       : names.join(QStringLiteral(", ")))
                  << ": " << reason << '\n';
        }
        return problems.isEmpty() ? Success : Failure;
    }
    throw UsageError(QStringLiteral("config needs get, set or list"));
}

int AdminTool::checkTexts(const QStringList &args)
{
    if (args.size() > 1)
        throw UsageError(QStringLiteral("check-texts takes at most one folder"));
    const QString dir = args.isEmpty() ? QCoreApplication::applicationDirPath() : args.first();
    if (!QFileInfo(dir).isDir())
        throw RpxError(QStringLiteral("there is no folder %1").arg(dir));
    const QStringList problems = TextCheck::checkFolder(dir);
    for (const QString &problem : problems)
        m_out << problem << '\n';
    if (problems.isEmpty()) {
        m_out << "OK\n";
        return Success;
    }
    m_err << problems.size() << " problem(s) in the language files in "
          << QFileInfo(dir).absoluteFilePath() << '\n';
    return Failure;
}

int AdminTool::report(const QString &command, const QStringList &args)
{
    const ReportCommand report(command, args);
    auto data = dataModule(true);
    return report.run(*data, m_out, m_err);
}

int AdminTool::info(const QStringList &args)
{
    if (!args.isEmpty())
        throw UsageError(QStringLiteral("info takes no arguments"));
    auto data = dataModule(true);
    CConfig &config = data->config();

    // The counts of the order list without a filter come as "name: n; name: n". Every
    // state of the shop is shown, also one without orders.
    QList<std::pair<QString, int>> states;
    for (const IdName &state : data->GetOrderStates())
        states.append({ state.name, 0 });
    const QString counts = data->orderList().stateCountsText();
    for (const QString &part : counts.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const qsizetype colon = part.lastIndexOf(QStringLiteral(": "));
        const QString name = colon >= 0 ? part.left(colon) : part;
        const int count = colon >= 0 ? part.mid(colon + 2).toInt() : 0;
        auto it = std::find_if(states.begin(), states.end(),
                               [&](const auto &s) { return s.first == name; });
        if (it != states.end())
            it->second = count;
        else
            states.append({ name.isEmpty() ? QStringLiteral("(no state)") : name, count });
    }

    const int customers = data->GetCustomerCount();

    // The highest number of this year: the list of this year's numbers, of any age.
    const int year = Clock::today().year();
    const QString prefix = QString::number(year) + QLatin1Char('-');
    OrderFilter filter;
    filter.orderId = prefix;
    filter.ageDays = int(QDate(1900, 1, 1).daysTo(Clock::today()));
    OrderList &list = data->orderList();
    list.reload(filter);
    // By the counter's value: as text, "2026-99999" would come after "2026-100001".
    QString lastNumber;
    int lastCounter = -1;
    for (int row = 0; row < list.rowCount(); ++row) {
        const QString id = list.orderIdAt(row);
        const int counter = OrderNumbering::CounterOf(id);
        if (id.startsWith(prefix) && counter > lastCounter) {
            lastNumber = id;
            lastCounter = counter;
        }
    }

    const QString currency = config.GetMainCurrency();
    const int width = 22;
    auto line = [&](const QString &label, const QString &value) {
        m_out << QString(label + QLatin1Char(':')).leftJustified(width) << value << '\n';
    };
    line(QStringLiteral("Database"), data->fileName());
    line(QStringLiteral("Orders"), QString::number(data->GetOrderCount()));
    for (const auto &[name, count] : states)
        m_out << QStringLiteral("  ") << name.leftJustified(width - 2) << count << '\n';
    line(QStringLiteral("Customers"), QString::number(customers));
    line(QStringLiteral("Last number of %1").arg(year),
         lastNumber.isEmpty() ? QStringLiteral("(none yet)") : lastNumber);
    line(QStringLiteral("MaxOrderID"), QString::number(config.GetMaxOrderID()));
    line(QStringLiteral("Revenue total"),
         QString::number(data->GetRevenueTotal(), 'f', 2) + QLatin1Char(' ') + currency);
    return Success;
}

int AdminTool::demoData(QStringList args)
{
    DemoDataOptions options;
    bool haveOrders = false;
    while (!args.isEmpty()) {
        QString option = args.takeFirst();
        QString value;
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option.truncate(equals);
        } else if (option == QLatin1String("--orders") || option == QLatin1String("--customers")
                   || option == QLatin1String("--seed")) {
            if (args.isEmpty())
                throw UsageError(QStringLiteral("%1 needs a value").arg(option));
            value = args.takeFirst();
        }
        if (option == QLatin1String("--orders")) {
            options.orders = positiveNumber(option, value, MaxDemoOrders);
            haveOrders = true;
        } else if (option == QLatin1String("--customers")) {
            options.customers = positiveNumber(option, value, 1000000);
        } else if (option == QLatin1String("--seed")) {
            bool ok = false;
            options.seed = value.toUInt(&ok);
            if (!ok)
                throw UsageError(QStringLiteral("--seed needs a whole number from 0 to 4294967295, "
                                                "not \"%1\"")
                                     .arg(value));
        } else {
            throw UsageError(QStringLiteral("unknown demo-data option %1").arg(option));
        }
    }
    if (!haveOrders)
        throw UsageError(QStringLiteral("demo-data needs --orders N"));

    auto data = dataModule(true);
    DemoDataGenerator generator(*data, options);
    // On a terminal the progress is one line, written over; elsewhere a line each time.
#ifdef Q_OS_WIN
    const bool terminal = _isatty(_fileno(stderr));
#else
    const bool terminal = isatty(fileno(stderr));
#endif
    if (options.orders >= 2000) {
        generator.setProgress([this, terminal](int stored, int total) {
            m_err << (terminal ? "\r" : "") << "demo-data: " << qint64(stored) * 100 / total
                  << "% (" << stored << " of " << total << " orders)"
                  << (stored == total ? ", finishing" : "") << (terminal ? "" : "\n");
            m_err.flush();
        });
    }
    QElapsedTimer timer;
    timer.start();
    // The progress line ends before whatever follows it, a failure included.
    const auto endProgressLine = [&] {
        if (terminal && options.orders >= 2000) {
            m_err << '\n';
            m_err.flush();
        }
    };
    try {
        generator.run();
    } catch (...) {
        endProgressLine();
        throw;
    }
    endProgressLine();
    m_out << "Stored " << options.orders << " orders and " << generator.customersStored()
          << " customers in " << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s.\n";
    return Success;
}
