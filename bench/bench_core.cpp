// What a clerk waits for, on shop databases of years of orders made by
// `repaxo-admin demo-data`: opening the file, the order list's first screen and its counts
// with the filters a clerk uses, going to the last order, storing and showing an order, the
// totals, the customer search, the summaries and a receipt.
//
//   repaxo-bench [--runs N] [--only TEXT] FILE...
//
// Each figure is the median of N runs (default 7). Where the program needs the whole result
// of its statements (counts, totals, summaries), the same statements also run in the sqlite3
// shell on the same file, as they are and with the shell's own settings, and the table
// shows the ratio. Several files give one column each, side by side.
//
// The files are used as they are (opening one made by an earlier version adds its indexes
// once); the orders stored are deleted again and the counter put back.
#include "shellrunner.h"

#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "customersearchmodel.h"
#include "orderlist.h"
#include "orderprint.h"
#include "rpx2data.h"
#include "sqldialect.h"
#include "summaryrunner.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace {

QTextStream out(stdout);
QTextStream err(stderr);

// One shop database and what the figures need from it.
struct Shop
{
    QString file;
    std::unique_ptr<TRpx2Data> data;
    QString middleOrder; // an order in the middle of the file
    QString imeiPart; // six digits of that order's IMEI
    QDate lastIssueDay; // the last day with handed-back orders before today
    QList<QString> stored; // orders the benchmarks stored, deleted at the end
    int maxOrderId = 0;

    explicit Shop(const QString &path)
        : file(QFileInfo(path).absoluteFilePath())
    {
        data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
        data->OpenFile(file);
        data->orderList().setDeferredCountFrom(0); // counts are timed on their own
        QSqlQuery orders = data->OpenQuery(
            QStringLiteral("SELECT OrderID, OrderPhoneIMEI FROM t_order_02 ORDER BY OrderID "
                           "LIMIT 1 OFFSET (SELECT count(*) / 2 FROM t_order_02)"));
        if (orders.next()) {
            middleOrder = orders.value(0).toString();
            imeiPart = orders.value(1).toString().mid(6, 6);
        }
        QSqlQuery issued = data->OpenQuery(
            QStringLiteral("SELECT max(OrderIssueDate) FROM t_order_02 WHERE OrderStateID = 4 "
                           "AND OrderIssueDate < ?"),
            { data->dialect().dayStartValue(Clock::today()) });
        if (issued.next())
            lastIssueDay = data->dialect().dateFromValue(issued.value(0)).date();
        maxOrderId = data->config().GetMaxOrderID();
    }

    ~Shop()
    {
        for (const QString &id : std::as_const(stored))
            data->DeleteOrder(id);
        if (!stored.isEmpty())
            data->config().SetMaxOrderID(maxOrderId);
    }
};

struct Figure
{
    QString name;
    QString target;
    std::function<void(Shop &)> prepare; // before each run, not timed
    std::function<void(Shop &)> run;
    bool compareWithShell = false;
};

OrderFilter everything()
{
    OrderFilter f;
    f.ageDays = 99999;
    return f;
}

// The list as a view shows it: the first screen's rows, both shown columns.
void readFirstScreen(QAbstractItemModel *model)
{
    const int rows = qMin(40, model->rowCount());
    for (int row = 0; row < rows; ++row) {
        benchmark::DoNotOptimize(model->index(row, OrderList::ColOrderID).data());
        benchmark::DoNotOptimize(model->index(row, OrderList::ColPhoneIMEI).data());
    }
}

QList<Figure> figures(const QString &reportDir)
{
    QList<Figure> list;
    auto listFigures = [&](const QString &label, std::function<OrderFilter(Shop &)> filter) {
        list.append({ QStringLiteral("List, %1: first screen").arg(label),
                      QStringLiteral("< 50 ms"),
                      {},
                      [filter](Shop &s) {
                          s.data->orderList().reload(filter(s));
                          readFirstScreen(s.data->orderList().model());
                      } });
        list.append({ QStringLiteral("List, %1: counts").arg(label), QStringLiteral("≤ 1.5× shell"),
                      [filter](Shop &s) { s.data->orderList().reload(filter(s)); },
                      [](Shop &s) { s.data->orderList().count(); }, true });
    };
    listFigures(QStringLiteral("\"Vše\""), [](Shop &) { return everything(); });
    listFigures(QStringLiteral("92 days"), [](Shop &) { return OrderFilter(); });
    listFigures(QStringLiteral("one state (3)"), [](Shop &) {
        OrderFilter f = everything();
        f.stateId = 3;
        return f;
    });
    listFigures(QStringLiteral("customer \"nov\""), [](Shop &) {
        OrderFilter f = everything();
        f.customerName = QStringLiteral("nov");
        return f;
    });
    listFigures(QStringLiteral("customer \"Nováková\""), [](Shop &) {
        OrderFilter f = everything();
        f.customerName = QStringLiteral("Nováková");
        return f;
    });
    listFigures(QStringLiteral("part of an IMEI"), [](Shop &s) {
        OrderFilter f = everything();
        f.phoneImei = s.imeiPart;
        return f;
    });
    listFigures(QStringLiteral("engineer \"pet\""), [](Shop &) {
        OrderFilter f = everything();
        f.engineerName = QStringLiteral("pet");
        return f;
    });

    list.append({ QStringLiteral("List \"Vše\": last order"), QString(),
                  [](Shop &s) {
                      s.data->orderList().reload(everything());
                      s.data->orderList().count();
                  },
                  [](Shop &s) { s.data->orderList().last(); } });
    list.append({ QStringLiteral("List \"Vše\": a page in the middle"), QString(),
                  [](Shop &s) {
                      s.data->orderList().reload(everything());
                      s.data->orderList().count();
                  },
                  [](Shop &s) {
                      OrderList &l = s.data->orderList();
                      l.moveTo(l.rowCount() / 2);
                  } });
    list.append(
        { QStringLiteral("List \"Vše\": place of a stored order"), QString(),
          [](Shop &s) { s.data->orderList().reload(everything()); },
          [](Shop &s) { benchmark::DoNotOptimize(s.data->orderList().rowOf(s.middleOrder)); } });
    list.append({ QStringLiteral("Showing an order with its customer"), QString(), {}, [](Shop &s) {
                     const auto order = s.data->GetOrder(s.middleOrder);
                     if (order)
                         benchmark::DoNotOptimize(s.data->GetCustomer(order->OrderCustomerID));
                 } });
    list.append({ QStringLiteral("Storing a new order (number, log line)"),
                  QStringLiteral("< 20 ms"),
                  {},
                  [](Shop &s) {
                      COrder o;
                      o.OrderTypeID = 3;
                      o.OrderStateID = 2;
                      o.OrderReceiptDate = Clock::now();
                      o.OrderPhoneType = QStringLiteral("Apple iPhone 13");
                      s.data->StoreNewOrder(o);
                      s.stored.append(o.OrderID);
                  } });
    list.append({ QStringLiteral("Totals (all time, today)"),
                  QStringLiteral("≤ 1.5× shell"),
                  {},
                  [](Shop &s) {
                      const QDate today = Clock::today();
                      benchmark::DoNotOptimize(s.data->GetRevenueTotal());
                      benchmark::DoNotOptimize(s.data->GetRevenueBetween(
                          Clock::startOfDay(today), Clock::startOfDay(today.addDays(1))));
                  },
                  true });
    auto customerSearch = [&](const QString &label, const QString &name) {
        list.append({ QStringLiteral("Customer search, %1: first screen").arg(label),
                      QStringLiteral("< 50 ms"),
                      {},
                      [name](Shop &s) {
                          s.data->ReloadCustomerSearch(name, QString());
                          readFirstScreen(s.data->customerSearchModel());
                      } });
    };
    customerSearch(QStringLiteral("\"nov\""), QStringLiteral("nov"));
    customerSearch(QStringLiteral("\"n\""), QStringLiteral("n"));
    customerSearch(QStringLiteral("everyone"), QString());

    auto summary = [&](const QString &label, const QString &target,
                       std::function<void(SummaryRunner &, Shop &, const QString &)> write) {
        list.append({ label,
                      target,
                      {},
                      [write, reportDir](Shop &s) {
                          SummaryRunner runner(
                              *s.data, [](const char *key) { return QString::fromLatin1(key); });
                          write(runner, s, reportDir + QStringLiteral("/report.xls"));
                      },
                      true });
    };
    summary(QStringLiteral("Daily summary"), QStringLiteral("< 100 ms"),
            [](SummaryRunner &r, Shop &s, const QString &file) {
                r.day(file, s.lastIssueDay, s.lastIssueDay, false);
            });
    summary(QStringLiteral("Monthly summary"), QStringLiteral("< 300 ms"),
            [](SummaryRunner &r, Shop &, const QString &file) {
                const QDate month = Clock::today().addMonths(-1);
                r.month(file, month.year(), month.month());
            });
    summary(QStringLiteral("Yearly summary"), QStringLiteral("< 1 s"),
            [](SummaryRunner &r, Shop &, const QString &file) {
                r.year(file, QString::number(Clock::today().year() - 1));
            });
    summary(QStringLiteral("Engineers' summary of a year"), QStringLiteral("< 1 s"),
            [](SummaryRunner &r, Shop &, const QString &file) {
                const int year = Clock::today().year() - 1;
                r.engineers(file, QDate(year, 1, 1), QDate(year, 12, 31));
            });
    summary(QStringLiteral("Export of a month"), QStringLiteral("< 300 ms"),
            [](SummaryRunner &r, Shop &, const QString &file) {
                const QDate month = Clock::today().addMonths(-1);
                const QDate first(month.year(), month.month(), 1);
                r.orderList(file, first, first.addMonths(1).addDays(-1), QString());
            });
    list.append(
        { QStringLiteral("Receipt document built"), QStringLiteral("< 50 ms"), {}, [](Shop &s) {
             benchmark::DoNotOptimize(
                 makeOrderPrint(*s.data, OrderPrintKind::Receipt, s.middleOrder, {}));
         } });
    list.append(
        { QStringLiteral("Suggestion lists (engineers, devices)"), QString(), {}, [](Shop &s) {
             benchmark::DoNotOptimize(s.data->GetEngineerNames());
             benchmark::DoNotOptimize(s.data->GetPhoneTypeNames());
         } });
    return list;
}

// Keeps the median of every benchmark's repetitions.
class MedianReporter final : public benchmark::BenchmarkReporter
{
public:
    std::map<std::string, double> medians; // name -> milliseconds

    bool ReportContext(const Context &) override { return true; }
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // One repetition has no aggregates: its own time is the figure.
        for (const Run &run : runs) {
            if ((run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                || (run.run_type == Run::RT_Iteration && run.repetitions <= 1))
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }
};

QString format(double ms)
{
    if (ms < 0)
        return QStringLiteral("–");
    if (ms < 1)
        return QString::number(ms, 'f', 2);
    if (ms < 10)
        return QString::number(ms, 'f', 1);
    return QString::number(ms, 'f', 0);
}

} // namespace

int main(int argc, char **argv)
{
    Clock::pinLocalZone();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    int runs = 7;
    QString only; // figures whose name contains this text (all when empty)
    QStringList files;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = qMax(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            only = args[++i];
        else if (!args[i].startsWith(QLatin1String("--benchmark")))
            files.append(args[i]);
    }
    if (files.isEmpty()) {
        err << "usage: repaxo-bench [--runs N] [--only TEXT] FILE... (shop databases made by "
               "repaxo-admin demo-data; --only: the figures whose name contains TEXT)\n";
        return 2;
    }
    // The operations log of the stored orders goes to a folder of its own, with the
    // language files that the receipt's captions come from.
    QTemporaryDir scratch;
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString &name : programDir.entryList({ QStringLiteral("Rpx_*.txt") }, QDir::Files))
        QFile::copy(programDir.filePath(name), scratch.filePath(name));
    AppPaths::setProgramDir(scratch.path());

    benchmark::Initialize(&argc, argv);

    QList<Figure> list = figures(scratch.path());
    list.removeIf([&](const Figure &f) { return !f.name.contains(only, Qt::CaseInsensitive); });
    std::vector<std::unique_ptr<Shop>> shops;
    QList<QStringList> columns; // per file: time, shell ratio
    QStringList headers;
    for (const QString &file : files) {
        err << "Opening " << file << " ...\n";
        err.flush();
        auto shop = std::make_unique<Shop>(file);
        const int orders = shop->data->GetOrderCount();
        Shop *s = shop.get();
        MedianReporter reporter;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const Figure &figure = list[i];
            benchmark::RegisterBenchmark(QString::number(i).toStdString().c_str(),
                                         [s, figure](benchmark::State &state) {
                                             for (auto _ : state) {
                                                 state.PauseTiming();
                                                 if (figure.prepare)
                                                     figure.prepare(*s);
                                                 state.ResumeTiming();
                                                 figure.run(*s);
                                             }
                                         })
                ->Iterations(1)
                ->Repetitions(runs)
                ->ReportAggregatesOnly(runs > 1)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::ClearRegisteredBenchmarks();

        QStringList times;
        QStringList ratios;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const Figure &figure = list[i];
            const double ms = reporter.medians[QString::number(i).toStdString()];
            times.append(format(ms));
            QString ratio;
            if (figure.compareWithShell) {
                QList<TracedStatement> statements;
                if (figure.prepare)
                    figure.prepare(*s);
                s->data->setStatementTrace([&](const QString &sql, const QVariantList &values) {
                    statements.append({ sql, values });
                });
                figure.run(*s);
                s->data->setStatementTrace({});
                const double shell = shellMedianMs(s->file, statements, runs);
                if (shell < 0) {
                    err << "The shell could not run the statements of \"" << figure.name << "\":\n";
                    for (const TracedStatement &statement : std::as_const(statements))
                        err << "  " << inlineValues(statement) << '\n';
                    err.flush();
                }
                // The shell's timer counts whole milliseconds.
                ratio = shell > 0 ? QStringLiteral("%1 (%2)").arg(
                            QString::number(ms / shell, 'f', 2), format(shell))
                    : shell == 0 ? QStringLiteral("– (< 1)")
                                 : QStringLiteral("–");
            }
            ratios.append(ratio);
        }
        columns.append(times);
        columns.append(ratios);
        headers.append(QStringLiteral("%1 orders: ms").arg(QLocale::c().toString(orders)));
        headers.append(QStringLiteral("× shell (shell ms)"));
        shops.push_back(std::move(shop));
    }
    shops.clear(); // stored orders deleted

    out << "| Figure | Target | " << headers.join(QStringLiteral(" | ")) << " |\n";
    out << "|---|---|" << QString(QStringLiteral("---:|")).repeated(headers.size()) << '\n';
    for (qsizetype i = 0; i < list.size(); ++i) {
        out << "| " << list[i].name << " | " << list[i].target << " |";
        for (const QStringList &column : std::as_const(columns))
            out << ' ' << column[i] << " |";
        out << '\n';
    }
    out << "\nMedians of " << runs << " runs.\n";
    return 0;
}
