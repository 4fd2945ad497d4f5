#pragma once

#include "records.h"
#include "rpxerror.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

class CConfig;
class CStolenPhoneRegister;
class CustomerSearchModel;
class OrderList;
class OrderListListener;
class Prompts;
class QFile;
class QSqlError;
class QSqlTableModel;
class SqlDialect;

// An entry of the repair-type or state lists: a name with its id.
struct IdName
{
    int id = 0;
    QString name;
    bool operator==(const IdName &) const = default;
};

// The data module: the one connection to the shop's database, its named queries and the
// record operations. Only this class issues SQL. Every failure is thrown as RpxError.
class TRpx2Data final : public QObject
{
    Q_OBJECT
public:
    // keyName names the per-user settings ("RPX2"); the listener may be null (admin tool).
    TRpx2Data(QObject *owner, const QString &keyName, OrderListListener *listener);
    ~TRpx2Data() override;

    // The process-wide data module (the last one constructed and not yet destroyed).
    static TRpx2Data *instance();

    // Start-up: finds the database (beside the program, else the DBFileName setting, else
    // asks), opens it, runs the yearly counter check and opens the order list with its
    // starting filter (ageDays). A file that cannot be used is reported and the clerk asked
    // again; a file chosen or created at the question is remembered in DBFileName. Returns
    // false when the user chose to quit.
    bool Connect(Prompts &prompts, int ageDays = 92);

    // Opens the given file, which must be a Repaxo database. Throws RpxError naming the file
    // when it is not a SQLite database or lacks the tables, and of kind Damaged when SQLite
    // finds the file damaged. Does not touch the order list.
    void OpenFile(const QString &path);
    bool isOpen() const;
    QString fileName() const;

    // Creates a new, empty shop database with the default states and types. Refuses an
    // existing file. Throws RpxError.
    static void CreateDatabase(const QString &path);

    const QString &keyName() const { return m_keyName; }
    CConfig &config() { return *m_config; }
    OrderList &orderList() { return *m_orderList; }
    const SqlDialect &dialect() const { return *m_dialect; }
    QSqlDatabase database() const;
    // Keeps up to this many megabytes of the file in memory (bulk writes). Throws RpxError.
    void SetPageCache(int megabytes);
    // Whether a commit waits for the disk (the default); see SqlDialect. Throws RpxError.
    void SetDurableCommits(bool durable);
    // For storing very many orders at once: drops the indexes that only serve reading (the
    // order list, its filters, the totals), and makes them again in one pass each. Opening
    // the file also makes any that are missing. Throws RpxError.
    void SuspendIndexes();
    void RestoreIndexes();

    // --- general query and command (bound values only) ---
    QSqlQuery OpenQuery(const QString &sql, const QVariantList &values = {});
    int ExecuteCommand(const QString &sql, const QVariantList &values = {});

private:
    struct CachedStatement
    {
        explicit CachedStatement(const QSqlDatabase &db)
            : query(db)
        { }
        QSqlQuery query;
        bool inUse = false;
    };

public:
    // The rows of a reading statement that the connection prepares once and keeps for the
    // next reading of the same text. Read the rows while this object lives: it finishes the
    // statement when it goes, so that no read lock outlives the reading.
    class Rows
    {
    public:
        Rows(Rows &&other) noexcept;
        ~Rows();
        Rows(const Rows &) = delete;
        Rows &operator=(const Rows &) = delete;
        Rows &operator=(Rows &&) = delete;

        bool next() { return m_statement->query.next(); }
        QVariant value(int column) const { return m_statement->query.value(column); }
        const QSqlQuery &query() const { return m_statement->query; }

    private:
        friend class TRpx2Data;
        explicit Rows(CachedStatement *statement);
        CachedStatement *m_statement;
    };
    // Runs a SELECT with bound values; throws RpxError.
    Rows read(const QString &sql, const QVariantList &values = {});

    // Every reading statement (its text and bound values) is handed to this function before
    // it runs; the benchmarks run the same statements in the sqlite3 shell. Empty: none.
    using StatementTrace = std::function<void(const QString &sql, const QVariantList &values)>;
    void setStatementTrace(StatementTrace trace) { m_trace = std::move(trace); }

    // --- configuration rows (t_config_01) ---
    std::optional<QString> ConfigRow(const QString &key); // nullopt when the row is missing
    void SetConfigValue(const QString &key, const QString &value);

    // --- lists of states and types ---
    QList<IdName> GetOrderTypes(); // OrderTypeOrder > 0, in that order
    QList<IdName> GetOrderStates(); // OrderStateOrder > 0, in that order
    QList<IdName> GetAllOrderTypes(); // every type, hidden ones too, by OrderTypeOrder
    // The id of the first type of this name, letter case aside; nullopt when there is none.
    std::optional<int> FindOrderTypeId(const QString &name);

    // --- orders ---
    std::optional<COrder> GetOrder(const QString &orderId);
    QList<COrder> GetOrdersByImei(const QString &imei); // latest issue date first
    std::optional<COrder> GetLastOrderByImei(const QString &imei);
    int GetOrderCount();
    // Inserts or updates the row with order.OrderID; writes a line to the operations log.
    // With asLoaded (the row as it was read when the order was shown) nothing is stored
    // when another program has changed the row since (RpxError of kind Changed) or deleted
    // it (kind Deleted).
    void StoreOrder(const COrder &order, const COrder *asLoaded = nullptr);
    // Stores a new order: draws the next number, writes it into order.OrderID, inserts the
    // row and raises the counter, all in one write transaction, so that two programs on one
    // database never draw the same number. Throws RpxError when the year's numbers are used up.
    void StoreNewOrder(COrder &order);
    // Deletes the order with exactly this number; false when there is none.
    bool DeleteOrder(const QString &orderId);
    // Renames an engineer or a device type in every order whose value equals `from`
    // exactly; returns the number of orders changed.
    int RenameEngineer(const QString &from, const QString &to);
    int RenamePhoneType(const QString &from, const QString &to);
    void SetOrderEmailSent(const QString &orderId);
    // Stores one multi-device intake in one write transaction: the customer first when it
    // is new (CustomerID 0), then every order linked to it; an order without a number gets
    // the next number of the year, one with a number is updated - only when its row is still
    // as in asLoaded (the earlier orders as read), else RpxError of kind Changed or Deleted.
    // Either everything is stored and the new ids and numbers are written back, or nothing
    // is stored, the records are left as they were and RpxError is thrown.
    void StoreIntake(CCustomer &customer, QList<COrder> &orders,
                     const QList<COrder> &asLoaded = {});
    void SetOrderRepairImage(const QString &orderId, const QString &fileName);

    // --- stolen-phone register ---
    // Asks the register at PcrImeiCheckUrl about the IMEI; false at once when the address
    // or the IMEI is empty. Throws RpxError when the check could not be made.
    bool CheckStolenImei(const QString &imei);
    CStolenPhoneRegister &PcrImeiDb();

    // --- revenue (handed-back orders) ---
    double GetRevenueTotal();
    double GetRevenueBetween(const QDateTime &from, const QDateTime &to); // [from, to)
    // Orders whose issue date lies in the whole days [firstDay, endDay), optionally only of
    // one state and one type, by issue date (then number). Nothing when endDay <= firstDay.
    // With columns (names of t_order_02), only those are read; the other fields stay empty.
    QList<COrder> GetIssuedOrders(const QDate &firstDay, const QDate &endDay,
                                  std::optional<int> stateId, std::optional<int> typeId = {},
                                  const QStringList &columns = {});

    // --- customers ---
    std::optional<CCustomer> GetCustomer(int customerId);
    // Inserts when CustomerID is 0, else updates that row (inserting if it is gone); the
    // stored id is written back. Empty texts are stored as NULL. With asLoaded (the row as
    // read before editing) an update stores nothing when another program has changed the
    // row since (RpxError of kind Changed) or deleted it (kind Deleted).
    void StoreCustomer(CCustomer &customer, const CCustomer *asLoaded = nullptr);
    // The number of orders that belong to these customers.
    int GetOrderCountOfCustomers(const QList<int> &customerIds);
    // Moves every order of the merged customers to the survivor and deletes those merged
    // customers that have no orders left, in one transaction.
    void MergeCustomers(int survivorId, const QList<int> &customerIds);
    // The customer register filtered by name and phone substrings, read a page at a time
    // (see CustomerSearchModel); the data module owns it.
    CustomerSearchModel *customerSearchModel();
    void ReloadCustomerSearch(const QString &name, const QString &phoneNo);
    CCustomer customerSearchRow(int row) const; // an empty record for a row not read
    int GetCustomerCount();

    // --- suggestion lists ---
    QStringList GetEngineerNames(); // used in orders, minus the engineer list
    QStringList GetPhoneTypeNames(); // used in orders or known, minus the device list
    QStringList GetBatteryTypeNames(); // used in orders
    QStringList GetKnownPhoneNames(); // known device types plus the device list
    QStringList GetEngineerListNames(); // the engineer list itself, sorted
    void AddKnownPhone(const QString &name);
    // Editable models of the two lists (parent owns them).
    QSqlTableModel *createPhoneListModel(QObject *parent);
    QSqlTableModel *createEngineerListModel(QObject *parent);
    int NextFilterPhoneID();
    int NextFilterEngineerID();
    void ClearPhoneList();
    void ClearEngineerList();

    // One order with what a printed document needs besides it.
    struct PrintRow
    {
        COrder order;
        CCustomer customer;
        QString typeName;
        QString stateName;
    };
    // The orders with these numbers, in the order of the numbers given; unknown numbers are
    // left out.
    QList<PrintRow> GetOrdersForPrint(const QStringList &orderIds);

    // RAII write transaction: begun with the write lock, rolled back unless committed.
    class WriteTransaction
    {
    public:
        explicit WriteTransaction(TRpx2Data &data);
        ~WriteTransaction();
        void commit();
        WriteTransaction(const WriteTransaction &) = delete;
        WriteTransaction &operator=(const WriteTransaction &) = delete;

    private:
        TRpx2Data &m_data;
        bool m_done = false;
    };

private:
    friend class OrderList;
    // A statement of its own, not kept (item models hold theirs).
    QSqlQuery prepare(const QString &sql, const QVariantList &values = {}, bool forwardOnly = true);
    CachedStatement &cachedStatement(const QString &sql);
    // Runs a kept statement; the reference is valid until the same text runs again.
    QSqlQuery &run(const QString &sql, const QVariantList &values = {});
    void exec(QSqlQuery &query);
    RpxError statementError(const QSqlError &error) const;
    QList<IdName> idNames(const QString &sql);
    void writeOrder(const COrder &order, bool exists);
    void appendToLog(const char *operation, const COrder &order);
    void ensureOpen() const;
    void upgradeIndexes(bool throwing = false);

    QString m_keyName;
    QString m_connectionName;
    OrderListListener *m_listener;
    const SqlDialect *m_dialect;
    std::unique_ptr<CConfig> m_config;
    std::unique_ptr<CStolenPhoneRegister> m_pcrImeiDb;
    OrderList *m_orderList = nullptr;
    CustomerSearchModel *m_customerSearch = nullptr;
    QString m_fileName;
    // Prepared statements of this connection, by their text.
    std::unordered_map<QString, std::unique_ptr<CachedStatement>> m_statements;
    StatementTrace m_trace;
    std::unique_ptr<QFile> m_log; // the operations log, open during a write transaction
    int m_transactionDepth = 0;
    bool m_transactionDoomed = false;
};
