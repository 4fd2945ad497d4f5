#pragma once

#include <QDateTime>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <functional>
#include <map>

#include "records.h"

class TRpx2Data;

struct DemoDataOptions
{
    int orders = 0;
    int customers = 0; // 0: a third of the orders, at least one
    quint32 seed = 1;
};

// Fills a shop database with realistic demo customers and orders of about the last three
// years (more years for more than 240 000 orders, about 80 000 a year), through the data module's
// own operations, as the counter would have stored them: each customer is stored when they first
// come in, each order is stored new with the clock set to its intake time (so it is numbered in the
// year of intake), and orders that were finished or handed back are stored again at that later
// time. Numbering restarts in every year. The same seed on the same day gives the same data.
class DemoDataGenerator
{
public:
    using Progress = std::function<void(int stored, int total)>;

    DemoDataGenerator(TRpx2Data &data, const DemoDataOptions &options);

    // Called after every twentieth part of the orders, and with all of them stored before the
    // run finishes.
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Stores everything, a thousand orders per write transaction (a two-hundredth of more
    // than 200 000). Throws RpxError; the transaction in progress is then rolled back,
    // earlier ones stay. The program's clock runs freely again afterwards.
    void run();

    int customersStored() const { return m_customers.size(); }

private:
    enum class Kind { Paid, Warranty, Software, Counter, Diagnostics };

    // When an order comes in, what it is, and when it is finished and handed back
    // (invalid when that has not happened by now).
    struct Plan
    {
        QDateTime receipt;
        QDateTime done;
        QDateTime issue;
        int state = 0;
        Kind kind = Kind::Paid;
    };

    struct Device
    {
        int model = 0;
        QString imei;
        int customer = 0; // index into m_customers
        QDateTime lastIssue; // when it was last handed back
        int lastRepair = -1; // index into the hardware repairs
    };

    // The repair an order gets: the fault, the work and the prices.
    struct Job
    {
        QString fault;
        QString work;
        int price = 0;
        int parts = 0;
        bool software = false;
        int repairIndex = -1; // hardware repair, for claims
    };

    struct Pending
    {
        COrder order;
        int device = 0;
        int repair = -1; // hardware repair done, for a later claim
    };

    QList<Plan> planOrders();
    Plan planOne(const QDateTime &receipt);
    void ensureEveryState(QList<Plan> &plans);
    QDateTime intakeTime();

    void storeIntake(const Plan &plan, int remainingOrders);
    void flushUntil(const QDateTime &time);
    int introduceCustomer();
    int newDevice(int customer, const QDateTime &when);
    CCustomer makeCustomer();
    QString engineerAt(const QDateTime &when);
    void complete(COrder &order, const Job &job, const Plan &plan, int customer);

    // Random helpers.
    int between(int low, int high); // both inclusive
    bool chance(double probability);
    template<typename T> const T &pick(const QList<T> &list);
    template<typename T> const T &pickWeighted(const QList<T> &list);
    QString digits(int count);
    int roundPrice(int value) const;

    TRpx2Data &m_data;
    DemoDataOptions m_options;
    QRandomGenerator m_random;
    Progress m_progress;
    QDateTime m_now;
    QDateTime m_start;

    // Settings read once: what the counter would put into every new order.
    int m_daysToDeadline = 7;
    double m_exchangeRate = 25.0;
    QString m_mainCurrency;
    QString m_secondaryCurrency;
    QString m_defaultEngineer;

    QList<int> m_customers; // stored customer ids, in order of their first visit
    QList<bool> m_customerHasMail;
    QList<Device> m_devices;
    QList<int> m_returnable; // devices that were handed back and may come again
    std::multimap<QDateTime, Pending> m_pending; // later stores, by their time
    int m_lastIntakeYear = 0;
    int m_highestThisYear = 0; // the highest counter given out in the current year
};
