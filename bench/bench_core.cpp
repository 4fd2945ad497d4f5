// Benchmarks of what a clerk waits for: opening and filtering the order list, showing an
// order, storing a new one, searching customers - on a database with years of orders.
#include "apppaths.h"
#include "clock.h"
#include "orderlist.h"
#include "orderlistlistener.h"
#include "rpx2data.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Shop
{
    QTemporaryDir dir;
    std::unique_ptr<TRpx2Data> data;
    int orders = 0;

    explicit Shop(int orderCount) : orders(orderCount)
    {
        AppPaths::setProgramDir(dir.path());
        TRpx2Data::CreateDatabase(AppPaths::databaseFile());
        data = std::make_unique<TRpx2Data>(nullptr, QStringLiteral("RPX2"), nullptr);
        data->OpenFile(AppPaths::databaseFile());
        QRandomGenerator random(42);
        const QStringList names = {QStringLiteral("Novák"), QStringLiteral("Svobodová"), QStringLiteral("Dvořák"),
                                   QStringLiteral("Černá"), QStringLiteral("Procházka"), QStringLiteral("Kučerová")};
        const QStringList models = {QStringLiteral("Samsung Galaxy A54"), QStringLiteral("Apple iPhone 13"),
                                    QStringLiteral("Xiaomi Redmi Note 12"), QStringLiteral("Motorola Moto G54")};
        const QDateTime start = QDateTime::currentDateTime().addDays(-3 * 365);
        const int customers = qMax(1, orderCount / 3);
        QList<int> ids;
        {
            TRpx2Data::WriteTransaction t(*data);
            for (int i = 0; i < customers; ++i) {
                CCustomer c;
                c.CustomerName = names[i % names.size()] + QStringLiteral(" %1").arg(i);
                c.CustomerPhoneNo = QStringLiteral("+420 6%1").arg(10000000 + i);
                data->StoreCustomer(c);
                ids.append(c.CustomerID);
            }
            t.commit();
        }
        for (int i = 0; i < orderCount;) {
            TRpx2Data::WriteTransaction t(*data);
            for (int k = 0; k < 2000 && i < orderCount; ++k, ++i) {
                const QDateTime when = start.addSecs(qint64(i) * 3 * 365 * 86400 / orderCount);
                Clock::setFixed(when);
                COrder o;
                o.OrderTypeID = 3;
                o.OrderStateID = when.daysTo(QDateTime::currentDateTime()) > 20 ? 4 : 1 + i % 3;
                o.OrderReceiptDate = when;
                o.OrderIssueDate = when.addDays(3);
                o.OrderCustomerID = ids[random.bounded(int(ids.size()))];
                o.OrderPhoneType = models[i % models.size()];
                o.OrderPhoneIMEI = QString::number(350000000000000LL + random.bounded(9000000) * 1000LL + i);
                o.OrderEngineerName = QStringLiteral("Technik %1").arg(i % 5);
                o.OrderFinalPricePrimary = 500 + i % 1500;
                data->StoreNewOrder(o);
            }
            t.commit();
        }
        Clock::setFixed({});
    }
};

Shop &shop()
{
    static Shop instance(qEnvironmentVariableIntValue("REPAXO_BENCH_ORDERS") > 0
                             ? qEnvironmentVariableIntValue("REPAXO_BENCH_ORDERS")
                             : 100000);
    return instance;
}

void reloadList(benchmark::State &state, OrderFilter filter)
{
    TRpx2Data &data = *shop().data;
    for (auto _ : state) {
        data.orderList().reload(filter);
        benchmark::DoNotOptimize(data.orderList().rowCount());
    }
    state.counters["rows"] = data.orderList().rowCount();
}

void BM_OrderListDefaultAge(benchmark::State &state) { reloadList(state, OrderFilter{}); }

void BM_OrderListAllOrders(benchmark::State &state)
{
    OrderFilter f;
    f.ageDays = 99999;
    reloadList(state, f);
}

void BM_OrderListCustomerFilter(benchmark::State &state)
{
    OrderFilter f;
    f.ageDays = 99999;
    f.customerName = QStringLiteral("dvořák 12");
    reloadList(state, f);
}

void BM_StateCounts(benchmark::State &state)
{
    TRpx2Data &data = *shop().data;
    data.orderList().reload(OrderFilter{});
    for (auto _ : state)
        benchmark::DoNotOptimize(data.orderList().stateCountsText());
}

void BM_ShowOrder(benchmark::State &state)
{
    TRpx2Data &data = *shop().data;
    int i = 0;
    for (auto _ : state) {
        const auto order = data.GetOrder(QStringLiteral("%1-%2").arg(QDate::currentDate().year() - 1).arg(1 + (i++ % 5000), 5, 10, QLatin1Char('0')));
        if (order)
            benchmark::DoNotOptimize(data.GetCustomer(order->OrderCustomerID));
    }
}

void BM_StoreNewOrder(benchmark::State &state)
{
    TRpx2Data &data = *shop().data;
    for (auto _ : state) {
        COrder o;
        o.OrderTypeID = 3;
        o.OrderStateID = 2;
        o.OrderReceiptDate = QDateTime::currentDateTime();
        o.OrderPhoneType = QStringLiteral("Apple iPhone 13");
        data.StoreNewOrder(o);
    }
}

void BM_Totals(benchmark::State &state)
{
    TRpx2Data &data = *shop().data;
    const QDate today = QDate::currentDate();
    for (auto _ : state) {
        benchmark::DoNotOptimize(data.GetRevenueTotal());
        benchmark::DoNotOptimize(data.GetRevenueBetween(QDateTime(today, QTime(0, 0)), QDateTime(today.addDays(1), QTime(0, 0))));
    }
}

void BM_CustomerSearch(benchmark::State &state)
{
    TRpx2Data &data = *shop().data;
    for (auto _ : state)
        data.ReloadCustomerSearch(QStringLiteral("ková"), QString());
}

// The whole register in the order of the shop's language, and the suggestion lists, whose
// names are compared with the language's collation.
void BM_CustomerRegister(benchmark::State &state)
{
    TRpx2Data &data = *shop().data;
    for (auto _ : state)
        data.ReloadCustomerSearch(QString(), QString());
}

void BM_SuggestionLists(benchmark::State &state)
{
    TRpx2Data &data = *shop().data;
    for (auto _ : state) {
        benchmark::DoNotOptimize(data.GetEngineerNames());
        benchmark::DoNotOptimize(data.GetPhoneTypeNames());
    }
}

BENCHMARK(BM_OrderListDefaultAge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderListAllOrders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderListCustomerFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StateCounts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreNewOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Totals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerRegister)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SuggestionLists)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
