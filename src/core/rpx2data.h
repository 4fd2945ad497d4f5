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

#include <memory>
#include <optional>

class CConfig;
class CStolenPhoneRegister;
class OrderList;
class OrderListListener;
class Prompts;
class QSqlError;
class QSqlQueryModel;
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

    // --- general query and command (bound values only) ---
    QSqlQuery OpenQuery(const QString &sql, const QVariantList &values = {});
    int ExecuteCommand(const QString &sql, const QVariantList &values = {});

    // --- configuration rows (t_config_01) ---
    std::optional<QString> ConfigRow(const QString &key); // nullopt when the row is missing
    void SetConfigValue(const QString &key, const QString &value);

    // --- lists of states and types ---
    QList<IdName> GetOrderTypes();  // OrderTypeOrder > 0, in that order
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
    QList<COrder> GetIssuedOrders(const QDate &firstDay, const QDate &endDay,
                                  std::optional<int> stateId, std::optional<int> typeId = {});

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
    // A query model over the customer register, filtered by name and phone substrings.
    QSqlQueryModel *customerSearchModel();
    void ReloadCustomerSearch(const QString &name, const QString &phoneNo);
    CCustomer customerSearchRow(int row) const;

    // --- suggestion lists ---
    QStringList GetEngineerNames();     // used in orders, minus the engineer list
    QStringList GetPhoneTypeNames();    // used in orders or known, minus the device list
    QStringList GetBatteryTypeNames();  // used in orders
    QStringList GetKnownPhoneNames();   // known device types plus the device list
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
    QSqlQuery prepare(const QString &sql, const QVariantList &values = {}, bool forwardOnly = true);
    void exec(QSqlQuery &query);
    RpxError statementError(const QSqlError &error) const;
    COrder orderFromQuery(const QSqlQuery &query) const;
    QList<IdName> idNames(const QString &sql);
    void writeOrder(const COrder &order, bool exists);
    void appendToLog(const char *operation, const COrder &order);
    void ensureOpen() const;

    QString m_keyName;
    QString m_connectionName;
    OrderListListener *m_listener;
    const SqlDialect *m_dialect;
    std::unique_ptr<CConfig> m_config;
    std::unique_ptr<CStolenPhoneRegister> m_pcrImeiDb;
    OrderList *m_orderList = nullptr;
    QSqlQueryModel *m_customerSearch = nullptr;
    QString m_fileName;
    QHash<QString, QSqlQuery> m_statements; // prepared statements of this connection
    int m_transactionDepth = 0;
    bool m_transactionDoomed = false;
};
