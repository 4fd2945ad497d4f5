#include "demodata.h"

#include "clock.h"
#include "config.h"
#include "demosamples.h"
#include "ordernumbering.h"
#include "rpx2data.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace DemoSamples;

namespace {

// Orders per write transaction: a thousand, or a two-hundredth of a larger run, so that a
// million orders are not slowed by a thousand commits, each waiting for the disk.
int ordersPerTransaction(int orders)
{
    return qMax(1000, orders / 200);
}
constexpr qint64 Day = 24 * 3600;

// Repair types of a new database (t_order_type_02).
constexpr int TypeClaim = 1; // the customer claims an earlier repair
constexpr int TypeWarranty = 2; // the maker's warranty pays
constexpr int TypePaid = OrderTypes::Paid;
constexpr int TypeSoftware = 4;
constexpr int TypeShop = OrderTypes::Shop;
constexpr int TypeDiagnostics = 6;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// The check digit of an IMEI from its first 14 digits (Luhn: every second digit doubled).
QChar imeiCheckDigit(const QString &first14)
{
    int sum = 0;
    for (int i = 0; i < 14; ++i) {
        int digit = first14.at(i).digitValue();
        if (i % 2 == 1) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    return QChar(u'0' + (10 - sum % 10) % 10);
}

double round2(double value)
{
    return std::round(value * 100.0) / 100.0;
}

// Three years of orders, more for a shop so large that a year would run out of five-digit
// numbers: every year keeps to about 80 000 orders.
int yearsOfOrders(int orders)
{
    constexpr int OrdersPerYear = 80000;
    return qMax(3, (orders + OrdersPerYear - 1) / OrdersPerYear);
}

QDateTime wholeSeconds(const QDateTime &time)
{
    const QTime t = time.time();
    return QDateTime(time.date(), QTime(t.hour(), t.minute(), t.second()));
}

// The program's clock runs freely again however the generation ends.
struct ClockRestorer
{
    ~ClockRestorer() { Clock::setFixed({}); }
};

} // namespace

DemoDataGenerator::DemoDataGenerator(TRpx2Data &data, const DemoDataOptions &options)
    : m_data(data)
    , m_options(options)
    , m_random(options.seed)
{
    if (m_options.customers <= 0)
        m_options.customers = qMax(1, m_options.orders / 3);
}

// ---------------------------------------------------------------------------------------
// Random helpers

int DemoDataGenerator::between(int low, int high)
{
    return m_random.bounded(low, high + 1);
}

bool DemoDataGenerator::chance(double probability)
{
    return m_random.generateDouble() < probability;
}

template<typename T> const T &DemoDataGenerator::pick(const QList<T> &list)
{
    return list.at(m_random.bounded(int(list.size())));
}

template<typename T> const T &DemoDataGenerator::pickWeighted(const QList<T> &list)
{
    int total = 0;
    for (const T &item : list)
        total += item.weight;
    int draw = m_random.bounded(total);
    for (const T &item : list) {
        if (draw < item.weight)
            return item;
        draw -= item.weight;
    }
    return list.last();
}

QString DemoDataGenerator::digits(int count)
{
    QString result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result.append(QChar(u'0' + m_random.bounded(10)));
    return result;
}

// Shop prices end in 90: 1490, 2990.
int DemoDataGenerator::roundPrice(int value) const
{
    return qMax(90, (value + 50) / 100 * 100 - 10);
}

// ---------------------------------------------------------------------------------------
// Planning: when orders come in and how far each one has got by now

QDateTime DemoDataGenerator::intakeTime()
{
    const int days = int(m_start.date().daysTo(m_now.date()));
    QDate day = m_start.date().addDays(m_random.bounded(days + 1));
    if (day.dayOfWeek() == Qt::Sunday) // closed on Sundays
        day = day.addDays(-1);
    const bool saturday = day.dayOfWeek() == Qt::Saturday;
    const int open = 9 * 3600;
    const int hoursOpen = saturday ? 3 * 3600 : 8 * 3600 + 1800;
    QDateTime time(day, QTime(0, 0).addSecs(open + m_random.bounded(hoursOpen)));
    if (time > m_now)
        time = m_now.addSecs(-between(60, 3 * 3600));
    return time;
}

DemoDataGenerator::Plan DemoDataGenerator::planOne(const QDateTime &receipt)
{
    // A time during opening hours on the given day (Sundays move to Monday).
    auto shopTime = [this](QDate day) {
        if (day.dayOfWeek() == Qt::Sunday)
            day = day.addDays(1);
        return QDateTime(day, QTime(0, 0).addSecs(10 * 3600 + m_random.bounded(7 * 3600 + 1800)));
    };

    Plan plan;
    plan.receipt = receipt;
    const int kind = between(1, 100);
    plan.kind = kind <= 70 ? Kind::Paid
        : kind <= 80       ? Kind::Warranty
        : kind <= 89       ? Kind::Software
        : kind <= 95       ? Kind::Counter
                           : Kind::Diagnostics;

    bool neverCollected = false;
    if (plan.kind == Kind::Counter) {
        // Done while the customer waits.
        plan.done = receipt.addSecs(between(10, 60) * 60);
        plan.issue = plan.done.addSecs(between(1, 30) * 60);
    } else {
        int days = between(1, 3) + (chance(0.3) ? between(1, 7) : 0);
        if (plan.kind == Kind::Warranty)
            days += between(5, 20); // sent to the maker's service
        else if (plan.kind == Kind::Software)
            days = between(0, 2);
        plan.done = shopTime(receipt.date().addDays(days));
        if (plan.done <= receipt)
            plan.done = receipt.addSecs(between(30, 240) * 60);

        const int pickup = between(1, 100);
        int pickupDays = 0;
        if (pickup <= 40)
            pickupDays = 0;
        else if (pickup <= 85)
            pickupDays = between(1, 6);
        else if (pickup <= 98)
            pickupDays = between(7, 30);
        else
            neverCollected = true;
        plan.issue = pickupDays == 0 ? plan.done.addSecs(between(15, 180) * 60)
                                     : shopTime(plan.done.date().addDays(pickupDays));
    }

    if (plan.done > m_now) {
        plan.state = receipt.secsTo(m_now) < 2 * Day && chance(0.5) ? OrderStates::New
                                                                    : OrderStates::InRepair;
        plan.done = {};
        plan.issue = {};
    } else if (neverCollected || plan.issue > m_now) {
        plan.state = OrderStates::Done;
        plan.issue = {};
    } else {
        plan.state = OrderStates::HandedBack;
    }
    return plan;
}

// A shop always has something on the counter: when chance left a state empty, the latest
// orders are moved into it (each state keeps at least one order).
void DemoDataGenerator::ensureEveryState(QList<Plan> &plans)
{
    const QList<int> states
        = { OrderStates::New, OrderStates::InRepair, OrderStates::Done, OrderStates::HandedBack };
    if (plans.size() < states.size())
        return;
    std::map<int, int> counts;
    for (const Plan &plan : plans)
        ++counts[plan.state];
    qsizetype candidate = plans.size() - 1;
    for (int state : states) {
        if (counts[state] > 0)
            continue;
        while (counts[plans[candidate].state] <= 1)
            --candidate;
        Plan &plan = plans[candidate--];
        --counts[plan.state];
        ++counts[state];
        plan = Plan();
        plan.state = state;
        switch (state) {
        case OrderStates::New:
            plan.receipt = m_now.addSecs(-between(10, 300) * 60);
            break;
        case OrderStates::InRepair:
            plan.receipt = m_now.addSecs(-between(1, 4) * Day - between(10, 300) * 60);
            break;
        case OrderStates::Done:
            plan.receipt = m_now.addSecs(-between(8, 14) * Day);
            plan.done = plan.receipt.addSecs(3 * Day);
            break;
        default:
            plan.receipt = m_now.addSecs(-between(40, 80) * Day);
            plan.done = plan.receipt.addSecs(2 * Day);
            plan.issue = plan.done.addSecs(Day);
            break;
        }
    }
}

QList<DemoDataGenerator::Plan> DemoDataGenerator::planOrders()
{
    QList<Plan> plans;
    plans.reserve(m_options.orders);
    for (int i = 0; i < m_options.orders; ++i)
        plans.append(planOne(intakeTime()));
    ensureEveryState(plans);
    std::stable_sort(plans.begin(), plans.end(),
                     [](const Plan &a, const Plan &b) { return a.receipt < b.receipt; });
    return plans;
}

// ---------------------------------------------------------------------------------------
// Customers, devices, engineers

CCustomer DemoDataGenerator::makeCustomer()
{
    CCustomer c;
    c.CustomerCode = QString::number(between(10000000, 99999999));
    c.CustomerShowCode = chance(0.3);

    QString first;
    QString last;
    const bool company = chance(0.04);
    if (company) {
        c.CustomerName = text(pick(companies()));
    } else {
        const bool female = chance(0.5);
        const Surname &surname = pick(surnames());
        last = text(female ? surname.female : surname.male);
        first = text(female ? pick(femaleFirstNames()) : pick(maleFirstNames()));
        c.CustomerName = last + QLatin1Char(' ') + first;
    }

    // Some clerks take only the name and the phone number.
    if (!chance(0.2)) {
        const City &city = pickWeighted(cities());
        c.CustomerCity = text(city.name);
        c.CustomerPSC = text(city.postalCode);
        const QString number = chance(0.5)
            ? QString::number(between(1, 120))
            : QStringLiteral("%1/%2").arg(between(100, 2500)).arg(between(1, 60));
        c.CustomerStreet = text(pick(streets())) + QLatin1Char(' ') + number;
    }

    if (chance(0.94)) {
        c.CustomerPhoneNo = (chance(0.15) ? QStringLiteral("+420 ") : QString())
            + text(pick(mobilePrefixes())) + QLatin1Char(' ') + digits(3) + QLatin1Char(' ')
            + digits(3);
    }

    if (chance(0.6)) {
        const QString domain = text(pick(mailDomains()));
        QString local;
        if (company) {
            local = QStringLiteral("info");
            const QString word = asciiFolded(c.CustomerName.section(QLatin1Char(' '), 0, 0));
            c.CustomerEMail = local + QLatin1Char('@') + word + QStringLiteral(".cz");
        } else {
            const QString f = asciiFolded(first);
            const QString l = asciiFolded(last);
            switch (between(0, 3)) {
            case 0:
                local = f + QLatin1Char('.') + l;
                break;
            case 1:
                local = l + QLatin1Char('.') + f;
                break;
            case 2:
                local = l + QString::number(between(60, 99));
                break;
            default:
                local = f.left(1) + l + QString::number(between(1, 999));
                break;
            }
            c.CustomerEMail = local + QLatin1Char('@') + domain;
        }
    }
    return c;
}

int DemoDataGenerator::introduceCustomer()
{
    CCustomer customer = makeCustomer();
    m_data.StoreCustomer(customer);
    m_customers.append(customer.CustomerID);
    m_customerHasMail.append(!customer.CustomerEMail.isEmpty());
    return int(m_customers.size()) - 1;
}

int DemoDataGenerator::newDevice(int customer, const QDateTime &when)
{
    // Only models already sold at that time.
    const QList<PhoneModel> &models = phoneModels();
    int total = 0;
    for (const PhoneModel &model : models)
        if (model.releaseYear <= when.date().year())
            total += model.weight;
    int draw = m_random.bounded(total);
    int chosen = 0;
    for (int i = 0; i < models.size(); ++i) {
        if (models[i].releaseYear > when.date().year())
            continue;
        if (draw < models[i].weight) {
            chosen = i;
            break;
        }
        draw -= models[i].weight;
    }

    Device device;
    device.model = chosen;
    device.customer = customer;
    const QString tac = QString::fromLatin1(models[chosen].tacPrefix);
    const QString first14 = tac + digits(14 - int(tac.size()));
    device.imei = first14 + imeiCheckDigit(first14);
    m_devices.append(device);
    return int(m_devices.size()) - 1;
}

QString DemoDataGenerator::engineerAt(const QDateTime &when)
{
    const double span = double(m_start.secsTo(m_now));
    const double position = span > 0 ? double(m_start.secsTo(when)) / span : 1.0;
    QList<const Engineer *> working;
    for (const Engineer &engineer : engineers())
        if (engineer.from <= position && position <= engineer.to)
            working.append(&engineer);
    if (working.isEmpty())
        return text(engineers().first().name);
    return text(working.at(m_random.bounded(int(working.size())))->name);
}

// ---------------------------------------------------------------------------------------
// Storing

void DemoDataGenerator::complete(COrder &order, const Job &job, const Plan &plan, int customer)
{
    order.OrderStateID = plan.state;
    if (order.OrderEngineerName.isEmpty())
        order.OrderEngineerName = engineerAt(plan.done);
    order.OrderRepairDescription = job.work;
    order.OrderFinalPricePrimary = job.price;
    order.OrderFinalCurrencyPrimary = m_mainCurrency;
    order.OrderFinalPriceSecondary = round2(job.price / m_exchangeRate);
    order.OrderFinalCurrencySecondary = m_secondaryCurrency;
    order.OrderComponentsPricePrimary = job.parts;
    order.OrderComponentsCurrencyPrimary = m_mainCurrency;
    order.OrderComponentsPriceSecondary = round2(job.parts / m_exchangeRate);
    order.OrderComponentsCurrencySecondary = m_secondaryCurrency;
    if (plan.kind != Kind::Counter && chance(0.15))
        order.OrderRepairNote = text(pick(repairNotes()));
    // The customer was told by e-mail that the device is ready.
    order.OrderEmailSent
        = plan.kind != Kind::Counter && m_customerHasMail.at(customer) && chance(0.5);
    if (plan.state == OrderStates::HandedBack)
        order.OrderIssueDate = plan.issue;
}

void DemoDataGenerator::storeIntake(const Plan &plan, int remainingOrders)
{
    // Who comes, with which device: a device that was here before, a device of a known
    // customer, or a new customer. Every customer asked for comes at least once.
    const int remainingNew = m_options.customers - int(m_customers.size());
    const bool mustIntroduce = remainingNew >= remainingOrders;
    int deviceIndex = -1;
    if (!mustIntroduce && !m_returnable.isEmpty() && plan.kind != Kind::Counter && chance(0.1)) {
        const int slot = m_random.bounded(int(m_returnable.size()));
        deviceIndex = m_returnable.at(slot);
        m_returnable.swapItemsAt(slot, m_returnable.size() - 1);
        m_returnable.removeLast();
    } else {
        int customer = 0;
        if (m_customers.isEmpty() || mustIntroduce
            || (remainingNew > 0 && between(1, remainingOrders) <= remainingNew))
            customer = introduceCustomer();
        else
            customer = m_random.bounded(int(m_customers.size()));
        deviceIndex = newDevice(customer, plan.receipt);
    }
    const Device &device = m_devices[deviceIndex];
    const int customer = device.customer;
    const PhoneModel &model = phoneModels().at(device.model);

    // What is wrong and what the repair will be.
    Job job;
    int type = TypePaid;
    auto fromRepair = [&](const Repair &repair, int index) {
        job.fault = text(repair.fault);
        job.work = text(repair.work);
        job.price = roundPrice(between(repair.minPrice, repair.maxPrice));
        job.parts = job.price * repair.partsPercent / 100 * between(80, 120) / 100 / 10 * 10;
        job.software = repair.software;
        job.repairIndex = index;
    };
    auto weightedIndex = [&](const QList<Repair> &list) {
        const Repair &repair = pickWeighted(list);
        return int(&repair - list.constData());
    };
    const bool claim = device.lastIssue.isValid() && device.lastRepair >= 0
        && device.lastIssue.daysTo(plan.receipt) <= 90 && chance(0.6);
    if (claim) {
        type = TypeClaim;
        fromRepair(hardwareRepairs().at(device.lastRepair), device.lastRepair);
        job.fault = QStringLiteral("Reklamace opravy: ") + job.fault;
        job.work = QStringLiteral("Reklamace uznána. ") + job.work;
        job.price = 0;
    } else {
        switch (plan.kind) {
        case Kind::Paid: {
            const int index = weightedIndex(hardwareRepairs());
            fromRepair(hardwareRepairs().at(index), index);
            if (chance(0.03)) {
                job.work = QStringLiteral("Oprava nerentabilní, vráceno bez opravy");
                job.price = 200;
                job.parts = 0;
            }
            break;
        }
        case Kind::Warranty: {
            type = TypeWarranty;
            const int index = weightedIndex(hardwareRepairs());
            fromRepair(hardwareRepairs().at(index), index);
            job.price = 0; // the maker pays; the parts still cost the shop
            break;
        }
        case Kind::Software:
            type = TypeSoftware;
            fromRepair(pickWeighted(softwareRepairs()), -1);
            break;
        case Kind::Counter:
            type = TypeShop;
            fromRepair(pickWeighted(counterJobs()), -1);
            break;
        case Kind::Diagnostics:
            type = TypeDiagnostics;
            fromRepair(pickWeighted(hardwareRepairs()), -1);
            job.work = QStringLiteral("Diagnostika provedena, oprava zamítnuta zákazníkem");
            job.price = roundPrice(between(200, 350));
            job.parts = 0;
            break;
        }
    }

    COrder order;
    order.OrderTypeID = type;
    order.OrderReceiptDate = plan.receipt;
    order.OrderDeadlineDate = plan.receipt.addDays(m_daysToDeadline);
    order.OrderFaultDescription = job.fault;
    if (job.price > 0 && chance(0.75)) {
        const int estimate = qMax(100, (job.price * between(85, 115) / 100 + 50) / 100 * 100);
        order.OrderExpectedPricePrimary = QString::number(estimate);
        order.OrderExpectedPriceSecondary
            = QString::number(round2(estimate / m_exchangeRate), 'f', 2);
    }
    order.OrderExpectedCurrencyPrimary = m_mainCurrency;
    order.OrderExpectedCurrencySecondary = m_secondaryCurrency;
    order.OrderFinalCurrencyPrimary = m_mainCurrency;
    order.OrderFinalCurrencySecondary = m_secondaryCurrency;
    order.OrderComponentsCurrencyPrimary = m_mainCurrency;
    order.OrderComponentsCurrencySecondary = m_secondaryCurrency;
    order.OrderCustomerID = m_customers.at(customer);
    order.OrderStateID = plan.state == OrderStates::New ? OrderStates::New : OrderStates::InRepair;
    if (!m_defaultEngineer.isEmpty())
        order.OrderEngineerName = m_defaultEngineer;
    else if (plan.state != OrderStates::New)
        order.OrderEngineerName = engineerAt(plan.receipt);
    order.OrderSoftware = job.software;
    order.OrderPhone = chance(0.97);
    order.OrderPhoneType = text(model.name);
    order.OrderPhoneIMEI = device.imei;
    order.OrderBattery = model.removableBattery && chance(0.6);
    if (order.OrderBattery || job.work.contains(QStringLiteral("baterie")))
        order.OrderBatteryType = text(model.batteryType);
    if (order.OrderBattery)
        order.OrderBatterySN = QString(QChar(u'A' + m_random.bounded(26)))
            + QChar(u'A' + m_random.bounded(26)) + digits(10);
    order.OrderCharger = chance(0.15);
    order.OrderCover = chance(0.35);
    order.OrderSIM = chance(0.45);
    order.OrderWarrantyCert = type == TypeWarranty || chance(0.03);
    if (chance(0.25))
        order.OrderNote = text(pick(intakeNotes()));

    Clock::setFixed(plan.receipt);
    // The counter restarts with the first order of every year.
    if (plan.receipt.date().year() != m_lastIntakeYear) {
        m_lastIntakeYear = plan.receipt.date().year();
        OrderNumbering::ResetOrderCounter(m_data);
    }
    m_data.StoreNewOrder(order);
    if (plan.receipt.date().year() == m_now.date().year())
        m_highestThisYear = qMax(m_highestThisYear, OrderNumbering::CounterOf(order.OrderID));

    if (plan.state == OrderStates::Done || plan.state == OrderStates::HandedBack) {
        Pending pending { order, deviceIndex, job.repairIndex };
        complete(pending.order, job, plan, customer);
        m_pending.emplace(plan.state == OrderStates::Done ? plan.done : plan.issue, pending);
    }
}

void DemoDataGenerator::flushUntil(const QDateTime &time)
{
    while (!m_pending.empty() && m_pending.begin()->first <= time) {
        auto node = m_pending.extract(m_pending.begin());
        const Pending &pending = node.mapped();
        Clock::setFixed(node.key());
        m_data.StoreOrder(pending.order);
        if (pending.order.OrderStateID == OrderStates::HandedBack) {
            Device &device = m_devices[pending.device];
            device.lastIssue = node.key();
            device.lastRepair = pending.repair;
            m_returnable.append(pending.device);
        }
    }
}

void DemoDataGenerator::run()
{
    ClockRestorer restoreClock;
    CConfig &config = m_data.config();
    m_daysToDeadline = config.GetDaysToDeadline();
    m_exchangeRate = config.GetExchangeRate();
    if (!(m_exchangeRate > 0))
        m_exchangeRate = 25.0;
    m_mainCurrency = config.GetMainCurrency();
    m_secondaryCurrency = config.GetSecondaryCurrency();
    m_defaultEngineer = config.GetDefaultEngineer();
    const int originalMaxOrderID = config.GetMaxOrderID();

    m_now = wholeSeconds(Clock::now());
    m_start = Clock::startOfDay(m_now.date().addYears(-yearsOfOrders(m_options.orders)));
    const QList<Plan> plans = planOrders();

    // While the orders of earlier years are numbered, MaxOrderID holds the counter of the year
    // being filled. Every batch is committed with the shop's own counter instead: the larger
    // of the counter it had before and this year's highest number, so that a run that ends
    // part-way (killed, disk full) never leaves the next real order thousands of numbers on.
    auto commitWithShopCounter = [&](TRpx2Data::WriteTransaction &transaction) {
        const int drawing = config.GetMaxOrderID();
        const int shop = qMax(originalMaxOrderID, m_highestThisYear);
        if (drawing != shop)
            config.SetMaxOrderID(shop);
        transaction.commit();
        return drawing;
    };

    const int total = int(plans.size());
    const int step = qMax(1, total / 20);
    const int batch = ordersPerTransaction(total);
    // Every order would go into a dozen indexes at places all over them: a large run drops
    // the indexes that only serve reading and makes them again at the end, in one pass
    // each (opening the file makes them too, should the run end early). The file's pages
    // stay in memory meanwhile (about a kilobyte an order). A demo shop can be made again:
    // its commits do not wait for the disk.
    m_data.SetPageCache(qBound(32, total / 1000, 1024));
    m_data.SetDurableCommits(false);
    const bool suspendIndexes = total >= 50000;
    if (suspendIndexes)
        m_data.SuspendIndexes();
    std::optional<TRpx2Data::WriteTransaction> transaction;
    transaction.emplace(m_data);
    for (int i = 0; i < total; ++i) {
        flushUntil(plans[i].receipt);
        storeIntake(plans[i], total - i);
        if ((i + 1) % batch == 0) {
            const int drawing = commitWithShopCounter(*transaction);
            transaction.reset();
            transaction.emplace(m_data);
            if (config.GetMaxOrderID() != drawing)
                config.SetMaxOrderID(drawing);
        }
        if (m_progress && (i + 1) % step == 0)
            m_progress(i + 1, total);
    }
    if (m_progress && total % step != 0)
        m_progress(total, total);
    flushUntil(m_now);
    while (m_customers.size() < m_options.customers)
        introduceCustomer();
    commitWithShopCounter(*transaction);
    transaction.reset();
    if (suspendIndexes)
        m_data.RestoreIndexes();
    m_data.SetDurableCommits(true);
}
