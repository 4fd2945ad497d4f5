#include "rpx2data.h"

#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "orderlist.h"
#include "ordernumbering.h"
#include "prompts.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "sqldialect.h"
#include "stolenphoneregister.h"
#include "textformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QSqlTableModel>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>

namespace {

TRpx2Data *g_instance = nullptr;
std::atomic<int> g_connectionCounter{0};

const QStringList &orderColumns()
{
    static const QStringList columns = {
        QStringLiteral("OrderID"),
        QStringLiteral("OrderTypeID"),
        QStringLiteral("OrderReceiptDate"),
        QStringLiteral("OrderDeadlineDate"),
        QStringLiteral("OrderFaultDescription"),
        QStringLiteral("OrderExpectedPricePrimary"),
        QStringLiteral("OrderExpectedCurrencyPrimary"),
        QStringLiteral("OrderExpectedPriceSecondary"),
        QStringLiteral("OrderExpectedCurrencySecondary"),
        QStringLiteral("OrderCustomerID"),
        QStringLiteral("OrderStateID"),
        QStringLiteral("OrderEngineerName"),
        QStringLiteral("OrderRepairDescription"),
        QStringLiteral("OrderSoftware"),
        QStringLiteral("OrderIssueDate"),
        QStringLiteral("OrderFinalPricePrimary"),
        QStringLiteral("OrderFinalCurrencyPrimary"),
        QStringLiteral("OrderFinalPriceSecondary"),
        QStringLiteral("OrderFinalCurrencySecondary"),
        QStringLiteral("OrderComponentsPricePrimary"),
        QStringLiteral("OrderComponentsCurrencyPrimary"),
        QStringLiteral("OrderComponentsPriceSecondary"),
        QStringLiteral("OrderComponentsCurrencySecondary"),
        QStringLiteral("OrderRepairNote"),
        QStringLiteral("OrderRepairImage"),
        QStringLiteral("OrderPhone"),
        QStringLiteral("OrderPhoneType"),
        QStringLiteral("OrderPhoneIMEI"),
        QStringLiteral("OrderBattery"),
        QStringLiteral("OrderBatteryType"),
        QStringLiteral("OrderBatterySN"),
        QStringLiteral("OrderCharger"),
        QStringLiteral("OrderCover"),
        QStringLiteral("OrderSIM"),
        QStringLiteral("OrderWarrantyCert"),
        QStringLiteral("OrderNote"),
        QStringLiteral("OrderEmailSent"),
    };
    return columns;
}

const QStringList &requiredTables()
{
    static const QStringList tables = {
        QStringLiteral("t_order_02"),        QStringLiteral("t_customer_02"),
        QStringLiteral("t_order_type_02"),   QStringLiteral("t_order_state_02"),
        QStringLiteral("t_phone_01"),        QStringLiteral("t_filter_phone_01"),
        QStringLiteral("t_filter_engineer_01"), QStringLiteral("t_config_01"),
    };
    return tables;
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// A table model sorted by names in the shop's language rather than by bytes.
class CollatedTableModel final : public QSqlTableModel
{
public:
    CollatedTableModel(QObject *parent, const QSqlDatabase &db, QString orderBy)
        : QSqlTableModel(parent, db)
        , m_orderBy(std::move(orderBy))
    { }

protected:
    QString orderByClause() const override { return m_orderBy; }

private:
    QString m_orderBy;
};

// A failed statement in the shop's language: SQLite's own texts are English.
QString databaseError(const QSqlError &error)
{
    const char *key = nullptr;
    QString czech;
    switch (error.nativeErrorCode().toInt() & 0xff) { // the primary result code
    case SQLITE_READONLY:
        key = "Global.DatabaseReadOnly";
        czech = QStringLiteral("do souboru databáze nelze zapisovat (je jen pro čtení).");
        break;
    case SQLITE_IOERR:
        key = "Global.DatabaseIoError";
        czech = QStringLiteral("soubor databáze nelze přečíst nebo zapsat.");
        break;
    case SQLITE_FULL:
        key = "Global.DatabaseFull";
        czech = QStringLiteral("disk je plný, do databáze nelze zapisovat.");
        break;
    case SQLITE_CANTOPEN:
        key = "Global.DatabaseCantOpen";
        czech = QStringLiteral("soubor databáze nelze otevřít.");
        break;
    case SQLITE_CONSTRAINT:
        key = "Global.DatabaseConstraint";
        czech = QStringLiteral("záznam by porušil pravidla databáze (například by byl zdvojený).");
        break;
    default:
        break;
    }
    // Other failures keep the engine's own text: it names what went wrong.
    const QString reason = key ? rpxTextOr(key, czech) : error.text();
    return formatText(rpxTextOr("Global.DatabaseError", QStringLiteral("Chyba databáze: %s")),
                      { reason });
}

// SQLite's primary result codes that get a message of their own.
enum class SqliteTrouble { None, Busy, Damaged };

SqliteTrouble troubleOf(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff; // extended codes keep it low
    if (ok && (code == 5 || code == 6)) // SQLITE_BUSY, SQLITE_LOCKED
        return SqliteTrouble::Busy;
    if (ok && (code == 11 || code == 26)) // SQLITE_CORRUPT, SQLITE_NOTADB
        return SqliteTrouble::Damaged;
    const QString text = error.databaseText();
    if (text.contains(QLatin1String("database is locked"))
        || text.contains(QLatin1String("is busy")))
        return SqliteTrouble::Busy;
    if (text.contains(QLatin1String("malformed")) || text.contains(QLatin1String("not a database")))
        return SqliteTrouble::Damaged;
    return SqliteTrouble::None;
}

QString busyText()
{
    const QString czech = QStringLiteral("Databázi právě používá jiný program, zkuste to znovu.");
    // The language file is read through the database: before it is loaded, the Czech text.
    return CSimpleResources::instance().isLoaded() ? rpxTextOr("Rpx2.DatabaseBusy", czech) : czech;
}

QString damagedText(const QString &path)
{
    return QStringLiteral("Soubor databáze „%1“ je poškozený; program s ním nemůže pracovat.")
        .arg(path);
}

QStringList valuesOf(QSqlQuery &query)
{
    QStringList list;
    while (query.next()) {
        const QString value = query.value(0).toString().trimmed();
        if (!value.isEmpty())
            list.append(value);
    }
    return list;
}

} // namespace

// The schema is a resource of this static library. Nothing references its registration
// object, so the linker drops it from the programs: register it explicitly before use.
// (Q_INIT_RESOURCE must stand outside any namespace.)
static void initCoreResources()
{
    Q_INIT_RESOURCE(core);
}

TRpx2Data::TRpx2Data(QObject *owner, const QString &keyName, OrderListListener *listener)
    : QObject(owner)
    , m_keyName(keyName)
    , m_connectionName(QStringLiteral("repaxo-%1").arg(++g_connectionCounter))
    , m_listener(listener)
    , m_dialect(&SqlDialect::sqlite())
{
    g_instance = this;
    m_config = std::make_unique<CConfig>(*this, keyName);
    m_orderList = new OrderList(*this, listener, this);
}

TRpx2Data::~TRpx2Data()
{
    m_statements.clear();
    delete m_orderList;
    m_orderList = nullptr;
    delete m_customerSearch;
    m_customerSearch = nullptr;
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    if (g_instance == this)
        g_instance = nullptr;
}

TRpx2Data *TRpx2Data::instance()
{
    return g_instance;
}

bool TRpx2Data::Connect(Prompts &prompts, int ageDays)
{
    // Opens the file, runs the counter check and opens the list; false (the reason shown)
    // when the file cannot be used, so that the clerk can choose another.
    auto tryOpen = [&](const QString &path) {
        try {
            OpenFile(path);
            OrderNumbering::CheckCounterReset(*this, prompts);
            OrderFilter filter;
            filter.ageDays = ageDays;
            m_orderList->reload(filter);
            return true;
        } catch (const RpxError &e) {
            // No texts to show the program in: no other database would help.
            if (e.kind() == RpxError::Kind::Texts)
                throw;
            prompts.message(e.message(), QStringLiteral("Repaxo"), Prompts::Icon::Error);
            return false;
        }
    };

    const QString beside = AppPaths::databaseFile();
    const QString remembered = m_config->GetDBFileName();
    bool unusable = false; // a file was there, but it could not be used
    if (QFileInfo::exists(beside)) {
        if (tryOpen(beside))
            return true;
        unusable = true;
    }
    if (!remembered.isEmpty() && QFileInfo(remembered).isFile()
        && QFileInfo(remembered) != QFileInfo(beside)) {
        if (tryOpen(remembered))
            return true;
        unusable = true;
    }
    for (;;) {
        QString path;
        switch (prompts.missingDatabase(
            unusable ? QStringLiteral("Soubor databáze nelze použít.\nZadejte umístění databáze.")
                     : QStringLiteral("Soubor databáze nenalezen.\nZadejte umístění databáze."))) {
        case Prompts::MissingDatabase::ChooseFile:
            path = prompts.openFileName(QStringLiteral("Databáze"), AppPaths::programDir(),
                                        QStringLiteral("Datové soubory Repaxo (*.db)"));
            break;
        case Prompts::MissingDatabase::CreateNew:
            try {
                CreateDatabase(beside);
                path = beside;
            } catch (const RpxError &e) {
                prompts.message(e.message(), QStringLiteral("Repaxo"), Prompts::Icon::Error);
            }
            break;
        case Prompts::MissingDatabase::Quit:
            return false;
        }
        // A file chosen or created here is the one the next start opens too.
        if (path.isEmpty())
            continue;
        if (tryOpen(path)) {
            m_config->SetDBFileName(QFileInfo(path).absoluteFilePath());
            return true;
        }
        unusable = true;
    }
}

void TRpx2Data::OpenFile(const QString &path)
{
    const QString nativePath = QFileInfo(path).absoluteFilePath();
    const QString notRepaxo =
        QStringLiteral("Soubor „%1“ není databází programu Repaxo.").arg(nativePath);
    QFile file(nativePath);
    if (!file.exists())
        throw RpxError(QStringLiteral("Soubor databáze „%1“ neexistuje.").arg(nativePath));
    if (QFileInfo(nativePath).isDir())
        throw RpxError(QStringLiteral("„%1“ je složka, ne soubor databáze.").arg(nativePath));
    if (!file.open(QIODevice::ReadOnly))
        throw RpxError(QStringLiteral("Soubor databáze „%1“ nelze přečíst (%2).")
                           .arg(nativePath, file.errorString()));
    // Only a SQLite file is opened: SQLite would otherwise treat an empty or foreign file
    // as a new database and the program could write into it.
    const QByteArray header = file.read(16);
    file.close();
    if (header != QByteArray("SQLite format 3\0", 16))
        throw RpxError(notRepaxo);

    // The file is opened on a connection of its own and checked before the open one is
    // given up: choosing a wrong file leaves the program working on its database.
    const QString name = QStringLiteral("repaxo-%1").arg(++g_connectionCounter);
    QString error;
    RpxError::Kind kind = RpxError::Kind::General;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(nativePath);
        if (!db.open()) {
            error = QStringLiteral("Databázi „%1“ nelze otevřít (%2).")
                        .arg(nativePath, db.lastError().text());
        } else {
            try {
                m_dialect->prepareConnection(db);
            } catch (const RpxError &e) {
                error = e.message();
            }
            // The list of tables is read with its errors: a damaged file must not pass for
            // a foreign one.
            QSqlQuery tables(db);
            if (error.isEmpty()
                && !tables.exec(
                    QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
                switch (troubleOf(tables.lastError())) {
                case SqliteTrouble::Damaged:
                    error = damagedText(nativePath);
                    kind = RpxError::Kind::Damaged;
                    break;
                case SqliteTrouble::Busy:
                    error = busyText();
                    kind = RpxError::Kind::Busy;
                    break;
                case SqliteTrouble::None:
                    error = QStringLiteral("Databázi „%1“ nelze otevřít (%2).")
                                .arg(nativePath, tables.lastError().text());
                    break;
                }
            }
            if (error.isEmpty()) {
                QStringList present;
                while (tables.next())
                    present.append(tables.value(0).toString());
                for (const QString &table : requiredTables()) {
                    if (!present.contains(table, Qt::CaseInsensitive)) {
                        error = notRepaxo + QStringLiteral("\nChybí tabulka %1.").arg(table);
                        break;
                    }
                }
            }
            tables = QSqlQuery();
            if (!error.isEmpty())
                db.close();
        }
    }
    if (!error.isEmpty()) {
        QSqlDatabase::removeDatabase(name);
        throw RpxError(error, kind);
    }
    m_statements.clear();
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase old = QSqlDatabase::database(m_connectionName, false);
            old.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    m_connectionName = name;
    m_fileName = nativePath;
    // Names compare and sort as the shop's language does from now on; a language that
    // cannot be read leaves the Czech order.
    try {
        QSqlDatabase db = database();
        m_dialect->setTextLanguage(db, m_config->GetLanguage());
    } catch (const RpxError &) { }
}

bool TRpx2Data::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName)
           && QSqlDatabase::database(m_connectionName, false).isOpen();
}

QString TRpx2Data::fileName() const
{
    return m_fileName;
}

QSqlDatabase TRpx2Data::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void TRpx2Data::ensureOpen() const
{
    if (!isOpen())
        throw RpxError(QStringLiteral("Databáze není otevřena."));
}

void TRpx2Data::CreateDatabase(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(absolute))
        throw RpxError(QStringLiteral("Soubor „%1“ již existuje; novou databázi do něj nelze "
                                      "založit.").arg(absolute));
    const QString folder = QFileInfo(absolute).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw RpxError(QStringLiteral("Databázi „%1“ nelze založit: složka „%2“ neexistuje.")
                           .arg(absolute, QDir::toNativeSeparators(folder)));
    initCoreResources();
    QFile schemaFile(QStringLiteral(":/repaxo/sql/sqlite_schema.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        throw RpxError(QStringLiteral("Chybí popis databáze v programu."));
    const QString schema = QString::fromUtf8(schemaFile.readAll());

    const QString name = QStringLiteral("repaxo-create-%1").arg(++g_connectionCounter);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(absolute);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            db.transaction();
            QSqlQuery query(db);
            // Drop the comment lines first: a comment may itself contain a semicolon.
            QStringList lines = schema.split(QLatin1Char('\n'));
            lines.removeIf([](const QString &l) { return l.trimmed().startsWith(QLatin1String("--")); });
            const QStringList statements = lines.join(QLatin1Char('\n')).split(QLatin1Char(';'));
            for (QString statement : statements) {
                statement = statement.trimmed();
                if (statement.isEmpty())
                    continue;
                if (!query.exec(statement)) {
                    error = query.lastError().text() + QStringLiteral("\n") + statement;
                    break;
                }
            }
            if (error.isEmpty())
                db.commit();
            else
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!error.isEmpty()) {
        QFile::remove(absolute);
        throw RpxError(QStringLiteral("Databázi „%1“ nelze založit; zkontrolujte, zda lze do "
                                      "složky zapisovat (%2).")
                           .arg(absolute, error));
    }
}

// ---------------------------------------------------------------------------------------
// General query and command

QSqlQuery TRpx2Data::prepare(const QString &sql, const QVariantList &values, bool forwardOnly)
{
    ensureOpen();
    // Writing statements are prepared once per connection and reused: storing an order runs
    // the same few statements every time. Reading statements are not kept: a kept, unfinished
    // SELECT would hold the database's read lock and stall the other counter's writes.
    const bool reusable = forwardOnly && !sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
    QSqlQuery query;
    auto cached = reusable ? m_statements.find(sql) : m_statements.end();
    if (cached != m_statements.end()) {
        query = cached.value();
        query.finish();
    } else {
        query = QSqlQuery(database());
        // Item models move freely through their rows; every other reader walks forward once.
        query.setForwardOnly(forwardOnly);
        if (!query.prepare(sql))
            throw statementError(query.lastError());
        if (reusable)
            m_statements.insert(sql, query);
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    return query;
}

void TRpx2Data::exec(QSqlQuery &query)
{
    if (!query.exec())
        throw statementError(query.lastError());
}

RpxError TRpx2Data::statementError(const QSqlError &error) const
{
    switch (troubleOf(error)) {
    case SqliteTrouble::Busy:
        return RpxError(busyText(), RpxError::Kind::Busy);
    case SqliteTrouble::Damaged:
        return RpxError(damagedText(m_fileName), RpxError::Kind::Damaged);
    case SqliteTrouble::None:
        break;
    }
    return RpxError(databaseError(error));
}

QSqlQuery TRpx2Data::OpenQuery(const QString &sql, const QVariantList &values)
{
    QSqlQuery query = prepare(sql, values);
    exec(query);
    return query;
}

int TRpx2Data::ExecuteCommand(const QString &sql, const QVariantList &values)
{
    QSqlQuery query = prepare(sql, values);
    exec(query);
    return query.numRowsAffected();
}

// Transactions nest: only the outermost one talks to the database. An inner one that ends
// without commit() dooms the outer one, so a half-done write is never committed.
TRpx2Data::WriteTransaction::WriteTransaction(TRpx2Data &data) : m_data(data)
{
    if (m_data.m_transactionDepth == 0) {
        m_data.ExecuteCommand(m_data.dialect().beginWriteStatement());
        m_data.m_transactionDoomed = false;
    }
    ++m_data.m_transactionDepth;
}

TRpx2Data::WriteTransaction::~WriteTransaction()
{
    if (m_done)
        return;
    --m_data.m_transactionDepth;
    if (m_data.m_transactionDepth > 0) {
        m_data.m_transactionDoomed = true;
        return;
    }
    QSqlQuery rollback(m_data.database());
    rollback.exec(QStringLiteral("ROLLBACK"));
}

void TRpx2Data::WriteTransaction::commit()
{
    if (m_data.m_transactionDepth == 1) {
        if (m_data.m_transactionDoomed)
            throw RpxError(
                rpxTextOr("Global.WriteRolledBack",
                          QStringLiteral("Zápis do databáze se nezdařil a byl vrácen.")));
        m_data.ExecuteCommand(QStringLiteral("COMMIT"));
    }
    --m_data.m_transactionDepth;
    m_done = true;
}

// ---------------------------------------------------------------------------------------
// Configuration rows

std::optional<QString> TRpx2Data::ConfigRow(const QString &key)
{
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT ConfigValue FROM t_config_01 WHERE ConfigKey = ?"), {key});
    if (!query.next())
        return std::nullopt;
    return query.value(0).isNull() ? QString() : query.value(0).toString();
}

void TRpx2Data::SetConfigValue(const QString &key, const QString &value)
{
    WriteTransaction transaction(*this);
    const int changed = ExecuteCommand(
        QStringLiteral("UPDATE t_config_01 SET ConfigValue = ? WHERE ConfigKey = ?"), {value, key});
    if (changed == 0)
        ExecuteCommand(QStringLiteral("INSERT INTO t_config_01 (ConfigKey, ConfigValue) VALUES (?, ?)"),
                       {key, value});
    transaction.commit();
}

// ---------------------------------------------------------------------------------------
// States and types

QList<IdName> TRpx2Data::idNames(const QString &sql)
{
    QSqlQuery query = OpenQuery(sql);
    QList<IdName> list;
    while (query.next())
        list.append({query.value(0).toInt(), query.value(1).toString()});
    return list;
}

QList<IdName> TRpx2Data::GetOrderTypes()
{
    return idNames(QStringLiteral("SELECT OrderTypeID, OrderTypeName FROM t_order_type_02 "
                                  "WHERE OrderTypeOrder > 0 ORDER BY OrderTypeOrder"));
}

QList<IdName> TRpx2Data::GetOrderStates()
{
    return idNames(QStringLiteral("SELECT OrderStateID, OrderStateName FROM t_order_state_02 "
                                  "WHERE OrderStateOrder > 0 ORDER BY OrderStateOrder"));
}

QList<IdName> TRpx2Data::GetAllOrderTypes()
{
    return idNames(QStringLiteral("SELECT OrderTypeID, OrderTypeName FROM t_order_type_02 "
                                  "ORDER BY OrderTypeOrder, OrderTypeID"));
}

std::optional<int> TRpx2Data::FindOrderTypeId(const QString &name)
{
    // Compared as every name is: "placená oprava" names "Placená oprava".
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT OrderTypeID FROM t_order_type_02 WHERE ")
                                    + m_dialect->collate(QStringLiteral("OrderTypeName"))
                                    + QStringLiteral(" = ? ORDER BY OrderTypeID"),
                                { name });
    if (!query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

// ---------------------------------------------------------------------------------------
// Orders

COrder TRpx2Data::orderFromQuery(const QSqlQuery &query) const
{
    const QSqlRecord record = query.record();
    auto v = [&](const char *name) { return query.value(record.indexOf(QLatin1String(name))); };
    auto text = [&](const char *name) { return v(name).toString(); };
    auto date = [&](const char *name) { return m_dialect->dateFromValue(v(name)); };
    auto flag = [&](const char *name) { return v(name).toInt() != 0; };
    auto real = [&](const char *name) { return v(name).toDouble(); };
    auto integer = [&](const char *name) { return v(name).toInt(); };

    COrder o;
    o.OrderID = text("OrderID");
    o.OrderTypeID = integer("OrderTypeID");
    o.OrderReceiptDate = date("OrderReceiptDate");
    o.OrderDeadlineDate = date("OrderDeadlineDate");
    o.OrderFaultDescription = text("OrderFaultDescription");
    o.OrderExpectedPricePrimary = text("OrderExpectedPricePrimary");
    o.OrderExpectedCurrencyPrimary = text("OrderExpectedCurrencyPrimary");
    o.OrderExpectedPriceSecondary = text("OrderExpectedPriceSecondary");
    o.OrderExpectedCurrencySecondary = text("OrderExpectedCurrencySecondary");
    o.OrderCustomerID = integer("OrderCustomerID");
    o.OrderStateID = integer("OrderStateID");
    o.OrderEngineerName = text("OrderEngineerName");
    o.OrderRepairDescription = text("OrderRepairDescription");
    o.OrderSoftware = flag("OrderSoftware");
    o.OrderIssueDate = date("OrderIssueDate");
    o.OrderFinalPricePrimary = real("OrderFinalPricePrimary");
    o.OrderFinalCurrencyPrimary = text("OrderFinalCurrencyPrimary");
    o.OrderFinalPriceSecondary = real("OrderFinalPriceSecondary");
    o.OrderFinalCurrencySecondary = text("OrderFinalCurrencySecondary");
    o.OrderComponentsPricePrimary = real("OrderComponentsPricePrimary");
    o.OrderComponentsCurrencyPrimary = text("OrderComponentsCurrencyPrimary");
    o.OrderComponentsPriceSecondary = real("OrderComponentsPriceSecondary");
    o.OrderComponentsCurrencySecondary = text("OrderComponentsCurrencySecondary");
    o.OrderRepairNote = text("OrderRepairNote");
    o.OrderRepairImage = text("OrderRepairImage");
    o.OrderPhone = flag("OrderPhone");
    o.OrderPhoneType = text("OrderPhoneType");
    o.OrderPhoneIMEI = text("OrderPhoneIMEI");
    o.OrderBattery = flag("OrderBattery");
    o.OrderBatteryType = text("OrderBatteryType");
    o.OrderBatterySN = text("OrderBatterySN");
    o.OrderCharger = flag("OrderCharger");
    o.OrderCover = flag("OrderCover");
    o.OrderSIM = flag("OrderSIM");
    o.OrderWarrantyCert = flag("OrderWarrantyCert");
    o.OrderNote = text("OrderNote");
    o.OrderEmailSent = flag("OrderEmailSent");
    return o;
}

std::optional<COrder> TRpx2Data::GetOrder(const QString &orderId)
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT * FROM t_order_02 WHERE OrderID = ?"), {orderId});
    if (!query.next())
        return std::nullopt;
    return orderFromQuery(query);
}

QList<COrder> TRpx2Data::GetOrdersByImei(const QString &imei)
{
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT * FROM t_order_02 WHERE OrderPhoneIMEI = ? "
                       "ORDER BY OrderIssueDate DESC, OrderID DESC"),
        {imei});
    QList<COrder> orders;
    while (query.next())
        orders.append(orderFromQuery(query));
    return orders;
}

std::optional<COrder> TRpx2Data::GetLastOrderByImei(const QString &imei)
{
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT * FROM t_order_02 WHERE OrderPhoneIMEI = ? "
                       "ORDER BY OrderIssueDate DESC, OrderID DESC LIMIT 1"),
        {imei});
    if (!query.next())
        return std::nullopt;
    return orderFromQuery(query);
}

int TRpx2Data::GetOrderCount()
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT count(*) FROM t_order_02"));
    return query.next() ? query.value(0).toInt() : 0;
}

void TRpx2Data::appendToLog(const char *operation, const COrder &order)
{
    QFile file(AppPaths::operationsLog());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // the log is a convenience: an unwritable file never stops a store
    const QString time = QLocale::system().toString(Clock::now(), QLocale::ShortFormat);
    const QString line = time + QLatin1Char(';') + QLatin1String(operation) + QLatin1Char(';')
        + order.OrderID + QLatin1Char(';') + order.OrderPhoneType + QLatin1String(";'")
        + order.OrderPhoneIMEI + QLatin1Char(';') + order.OrderExpectedPricePrimary
        + order.OrderExpectedCurrencyPrimary + QLatin1Char(';')
        + QString::asprintf("%0.2f", order.OrderFinalPricePrimary) + order.OrderFinalCurrencyPrimary
        + QLatin1String("\r\n");
    file.write(CSimpleResources::encode(line));
}

void TRpx2Data::writeOrder(const COrder &o, bool exists)
{
    const QVariantList values = {
        o.OrderID,
        o.OrderTypeID,
        m_dialect->dateValue(o.OrderReceiptDate),
        m_dialect->dateValue(o.OrderDeadlineDate),
        o.OrderFaultDescription,
        o.OrderExpectedPricePrimary,
        o.OrderExpectedCurrencyPrimary,
        o.OrderExpectedPriceSecondary,
        o.OrderExpectedCurrencySecondary,
        o.OrderCustomerID,
        o.OrderStateID,
        o.OrderEngineerName,
        o.OrderRepairDescription,
        int(o.OrderSoftware),
        m_dialect->dateValue(o.OrderIssueDate),
        o.OrderFinalPricePrimary,
        o.OrderFinalCurrencyPrimary,
        o.OrderFinalPriceSecondary,
        o.OrderFinalCurrencySecondary,
        o.OrderComponentsPricePrimary,
        o.OrderComponentsCurrencyPrimary,
        o.OrderComponentsPriceSecondary,
        o.OrderComponentsCurrencySecondary,
        o.OrderRepairNote,
        o.OrderRepairImage,
        int(o.OrderPhone),
        o.OrderPhoneType,
        o.OrderPhoneIMEI,
        int(o.OrderBattery),
        o.OrderBatteryType,
        o.OrderBatterySN,
        int(o.OrderCharger),
        int(o.OrderCover),
        int(o.OrderSIM),
        int(o.OrderWarrantyCert),
        o.OrderNote,
        int(o.OrderEmailSent),
    };
    // Texts are written as texts: an empty box is stored as an empty text, not NULL.
    QVariantList bound;
    bound.reserve(values.size());
    // (A null QString would be bound as NULL: write an empty one instead. Unset dates are
    // variants without a value and stay NULL.)
    for (const QVariant &v : values) {
        if (v.typeId() == QMetaType::QString && !v.isNull()) {
            const QString text = v.toString();
            bound.append(text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text));
        } else {
            bound.append(v);
        }
    }

    const QStringList &columns = orderColumns();
    if (exists) {
        QStringList assignments;
        for (qsizetype i = 1; i < columns.size(); ++i)
            assignments.append(columns[i] + QLatin1String(" = ?"));
        QVariantList updateValues = bound.mid(1);
        updateValues.append(o.OrderID);
        ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET ") + assignments.join(QLatin1String(", "))
                           + QStringLiteral(" WHERE OrderID = ?"),
                       updateValues);
    } else {
        QStringList marks(columns.size(), QStringLiteral("?"));
        ExecuteCommand(QStringLiteral("INSERT INTO t_order_02 (") + columns.join(QLatin1String(", "))
                           + QStringLiteral(") VALUES (") + marks.join(QLatin1String(", "))
                           + QLatin1Char(')'),
                       bound);
    }
}

void TRpx2Data::StoreOrder(const COrder &order, const COrder *asLoaded)
{
    if (order.OrderID.isEmpty())
        throw RpxError(rpxTextOr("Global.OrderWithoutNumber",
                                 QStringLiteral("Zakázka nemá číslo a nelze ji uložit.")));
    WriteTransaction transaction(*this);
    QSqlQuery found = OpenQuery(QStringLiteral("SELECT * FROM t_order_02 WHERE OrderID = ?"),
                                { order.OrderID });
    const bool exists = found.next();
    // Checked inside the write transaction: no other program can change the row between
    // this comparison and the update.
    if (asLoaded && !exists)
        throw RpxError(
            QStringLiteral("Zakázku %1 mezitím smazal jiný uživatel.").arg(order.OrderID),
            RpxError::Kind::Deleted);
    if (asLoaded && orderFromQuery(found) != *asLoaded)
        throw RpxError(
            QStringLiteral("Zakázku %1 mezitím změnil jiný uživatel.").arg(order.OrderID),
            RpxError::Kind::Changed);
    found.finish();
    appendToLog(exists ? "edit" : "insert", order);
    writeOrder(order, exists);
    transaction.commit();
}

void TRpx2Data::StoreNewOrder(COrder &order)
{
    WriteTransaction transaction(*this);
    COrder stored = order;
    stored.OrderID = OrderNumbering::NewOrderID(*this);
    // The counter base already lies above every number of the year; a number that is
    // taken anyway (a hand-made row) is skipped rather than overwritten.
    for (;;) {
        QSqlQuery found = OpenQuery(QStringLiteral("SELECT 1 FROM t_order_02 WHERE OrderID = ?"),
                                    {stored.OrderID});
        if (!found.next())
            break;
        const int next = OrderNumbering::CounterOf(stored.OrderID) + 1;
        if (next > OrderNumbering::MaxCounter)
            OrderNumbering::RefuseExhausted(Clock::today().year(), next - 1);
        stored.OrderID = OrderNumbering::Format(Clock::today().year(), next);
    }
    appendToLog("insert", stored);
    writeOrder(stored, false);
    OrderNumbering::UpdateCounter(*this, stored.OrderID);
    transaction.commit();
    order.OrderID = stored.OrderID;
}

bool TRpx2Data::DeleteOrder(const QString &orderId)
{
    WriteTransaction transaction(*this);
    const int deleted = ExecuteCommand(QStringLiteral("DELETE FROM t_order_02 WHERE OrderID = ?"),
                                       {orderId});
    transaction.commit();
    return deleted > 0;
}

int TRpx2Data::RenameEngineer(const QString &from, const QString &to)
{
    return ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderEngineerName = ? WHERE ")
                              + m_dialect->collate(QStringLiteral("OrderEngineerName"))
                              + QStringLiteral(" = ?"),
                          { to, from });
}

int TRpx2Data::RenamePhoneType(const QString &from, const QString &to)
{
    return ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderPhoneType = ? WHERE ")
                              + m_dialect->collate(QStringLiteral("OrderPhoneType"))
                              + QStringLiteral(" = ?"),
                          { to, from });
}

void TRpx2Data::SetOrderEmailSent(const QString &orderId)
{
    ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderEmailSent = 1 WHERE OrderID = ?"),
                   {orderId});
}

void TRpx2Data::StoreIntake(CCustomer &customer, QList<COrder> &orders,
                            const QList<COrder> &asLoaded)
{
    CCustomer storedCustomer = customer;
    QList<COrder> stored = orders;
    WriteTransaction transaction(*this);
    if (storedCustomer.CustomerID == 0)
        StoreCustomer(storedCustomer);
    for (COrder &order : stored) {
        order.OrderCustomerID = storedCustomer.CustomerID;
        if (order.OrderID.isEmpty()) {
            StoreNewOrder(order);
            continue;
        }
        const auto loaded = std::find_if(asLoaded.begin(), asLoaded.end(), [&](const COrder &o) {
            return o.OrderID == order.OrderID;
        });
        StoreOrder(order, loaded != asLoaded.end() ? &*loaded : nullptr);
    }
    transaction.commit();
    customer = storedCustomer;
    orders = stored;
}

void TRpx2Data::SetOrderRepairImage(const QString &orderId, const QString &fileName)
{
    ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderRepairImage = ? WHERE OrderID = ?"),
                   {fileName, orderId});
}

CStolenPhoneRegister &TRpx2Data::PcrImeiDb()
{
    if (!m_pcrImeiDb)
        m_pcrImeiDb = std::make_unique<CStolenPhoneRegister>();
    return *m_pcrImeiDb;
}

bool TRpx2Data::CheckStolenImei(const QString &imei)
{
    const QString url = m_config->GetPcrImeiCheckUrl().trimmed();
    if (url.isEmpty() || imei.isEmpty())
        return false;
    return PcrImeiDb().isStolen(url, imei);
}

double TRpx2Data::GetRevenueTotal()
{
    QSqlQuery query = OpenQuery(QStringLiteral(
        "SELECT sum(OrderFinalPricePrimary) FROM t_order_02 WHERE OrderStateID = 4"));
    return query.next() ? query.value(0).toDouble() : 0.0;
}

double TRpx2Data::GetRevenueBetween(const QDateTime &from, const QDateTime &to)
{
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT sum(OrderFinalPricePrimary) FROM t_order_02 WHERE OrderStateID = 4 "
                       "AND OrderIssueDate >= ? AND OrderIssueDate < ?"),
        {m_dialect->dateValue(from), m_dialect->dateValue(to)});
    return query.next() ? query.value(0).toDouble() : 0.0;
}

QList<COrder> TRpx2Data::GetIssuedOrders(const QDate &firstDay, const QDate &endDay,
                                         std::optional<int> stateId, std::optional<int> typeId)
{
    QString sql = QStringLiteral(
        "SELECT * FROM t_order_02 WHERE OrderIssueDate >= ? AND OrderIssueDate < ?");
    QVariantList values = { m_dialect->dayStartValue(firstDay), m_dialect->dayStartValue(endDay) };
    if (stateId) {
        sql += QStringLiteral(" AND OrderStateID = ?");
        values.append(*stateId);
    }
    if (typeId) {
        sql += QStringLiteral(" AND OrderTypeID = ?");
        values.append(*typeId);
    }
    sql += QStringLiteral(" ORDER BY OrderIssueDate, OrderID");
    QSqlQuery query = OpenQuery(sql, values);
    QList<COrder> orders;
    while (query.next())
        orders.append(orderFromQuery(query));
    return orders;
}

// ---------------------------------------------------------------------------------------
// Customers

namespace {
CCustomer customerFromQuery(const QSqlQuery &query)
{
    const QSqlRecord record = query.record();
    auto text = [&](const char *name) { return query.value(record.indexOf(QLatin1String(name))).toString(); };
    CCustomer c;
    c.CustomerID = query.value(record.indexOf(QLatin1String("CustomerID"))).toInt();
    c.CustomerShowCode = query.value(record.indexOf(QLatin1String("CustomerShowCode"))).toInt() != 0;
    c.CustomerCode = text("CustomerCode");
    c.CustomerName = text("CustomerName");
    c.CustomerStreet = text("CustomerStreet");
    c.CustomerCity = text("CustomerCity");
    c.CustomerPSC = text("CustomerPSC");
    c.CustomerPhoneNo = text("CustomerPhoneNo");
    c.CustomerEMail = text("CustomerEMail");
    return c;
}
} // namespace

std::optional<CCustomer> TRpx2Data::GetCustomer(int customerId)
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT * FROM t_customer_02 WHERE CustomerID = ?"),
                                {customerId});
    if (!query.next())
        return std::nullopt;
    return customerFromQuery(query);
}

void TRpx2Data::StoreCustomer(CCustomer &customer, const CCustomer *asLoaded)
{
    const QVariantList values = {
        int(customer.CustomerShowCode),     textOrNull(customer.CustomerCode),
        textOrNull(customer.CustomerName),  textOrNull(customer.CustomerStreet),
        textOrNull(customer.CustomerCity),  textOrNull(customer.CustomerPSC),
        textOrNull(customer.CustomerPhoneNo), textOrNull(customer.CustomerEMail),
    };
    WriteTransaction transaction(*this);
    int id = customer.CustomerID;
    if (asLoaded && id != 0) {
        const std::optional<CCustomer> stored = GetCustomer(id);
        if (!stored)
            throw RpxError(QStringLiteral("Zákazníka mezitím odstranil jiný uživatel."),
                           RpxError::Kind::Deleted);
        if (*stored != *asLoaded)
            throw RpxError(QStringLiteral("Zákazníka mezitím změnil jiný uživatel."),
                           RpxError::Kind::Changed);
    }
    bool updated = false;
    if (id != 0) {
        QVariantList updateValues = values;
        updateValues.append(id);
        updated = ExecuteCommand(
                      QStringLiteral("UPDATE t_customer_02 SET CustomerShowCode = ?, CustomerCode = ?, "
                                     "CustomerName = ?, CustomerStreet = ?, CustomerCity = ?, "
                                     "CustomerPSC = ?, CustomerPhoneNo = ?, CustomerEMail = ? "
                                     "WHERE CustomerID = ?"),
                      updateValues)
                  > 0;
    }
    if (!updated) {
        QSqlQuery insert = prepare(
            QStringLiteral("INSERT INTO t_customer_02 (CustomerShowCode, CustomerCode, CustomerName, "
                           "CustomerStreet, CustomerCity, CustomerPSC, CustomerPhoneNo, CustomerEMail) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
        exec(insert);
        id = insert.lastInsertId().toInt();
        if (id == 0)
            throw RpxError(rpxTextOr("Global.CustomerWithoutNumber",
                                     QStringLiteral("Databáze nevrátila číslo nového zákazníka.")));
    }
    transaction.commit();
    customer.CustomerID = id;
}

void TRpx2Data::MergeCustomers(int survivorId, const QList<int> &customerIds)
{
    QList<int> merged;
    for (int id : customerIds)
        if (id != survivorId && !merged.contains(id))
            merged.append(id);
    if (merged.isEmpty())
        return;
    WriteTransaction transaction(*this);
    constexpr qsizetype chunk = 400;
    for (qsizetype start = 0; start < merged.size(); start += chunk) {
        const QList<int> part = merged.mid(start, chunk);
        const QString marks = QStringList(part.size(), QStringLiteral("?")).join(QLatin1Char(','));
        QVariantList values{survivorId};
        QVariantList ids;
        for (int id : part)
            ids.append(id);
        ExecuteCommand(QStringLiteral("UPDATE t_order_02 SET OrderCustomerID = ? WHERE OrderCustomerID IN (")
                           + marks + QLatin1Char(')'),
                       values + ids);
        ExecuteCommand(QStringLiteral("DELETE FROM t_customer_02 WHERE CustomerID IN (") + marks
                           + QStringLiteral(") AND NOT EXISTS (SELECT 1 FROM t_order_02 "
                                            "WHERE t_order_02.OrderCustomerID = t_customer_02.CustomerID)"),
                       ids);
    }
    transaction.commit();
}

int TRpx2Data::GetOrderCountOfCustomers(const QList<int> &customerIds)
{
    int total = 0;
    constexpr qsizetype chunk = 400;
    for (qsizetype start = 0; start < customerIds.size(); start += chunk) {
        const QList<int> part = customerIds.mid(start, chunk);
        QVariantList ids;
        for (int id : part)
            ids.append(id);
        QSqlQuery query
            = OpenQuery(QStringLiteral("SELECT count(*) FROM t_order_02 WHERE OrderCustomerID IN (")
                            + QStringList(part.size(), QStringLiteral("?")).join(QLatin1Char(','))
                            + QLatin1Char(')'),
                        ids);
        total += query.next() ? query.value(0).toInt() : 0;
    }
    return total;
}

QSqlQueryModel *TRpx2Data::customerSearchModel()
{
    if (!m_customerSearch)
        m_customerSearch = new QSqlQueryModel(this);
    return m_customerSearch;
}

void TRpx2Data::ReloadCustomerSearch(const QString &name, const QString &phoneNo)
{
    QStringList conditions;
    QVariantList values;
    if (!name.isEmpty()) {
        conditions.append(m_dialect->containsCondition(QStringLiteral("CustomerName"), QStringLiteral("?")));
        values.append(name);
    }
    if (!phoneNo.isEmpty()) {
        conditions.append(m_dialect->containsCondition(QStringLiteral("CustomerPhoneNo"), QStringLiteral("?")));
        values.append(phoneNo);
    }
    QString sql = QStringLiteral(
        "SELECT CustomerName, CustomerCity, CustomerPhoneNo, CustomerEMail, CustomerID, "
        "CustomerCode, CustomerShowCode, CustomerStreet, CustomerPSC FROM t_customer_02");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + m_dialect->collate(QStringLiteral("CustomerName"))
        + QStringLiteral(", ") + m_dialect->collate(QStringLiteral("CustomerCity"))
        + QStringLiteral(", CustomerPhoneNo, ")
        + m_dialect->collate(QStringLiteral("CustomerEMail")) + QStringLiteral(", CustomerID");
    QSqlQuery query = prepare(sql, values, false);
    exec(query);
    QSqlQueryModel *model = customerSearchModel();
    model->setQuery(std::move(query));
    while (model->canFetchMore())
        model->fetchMore();
}

CCustomer TRpx2Data::customerSearchRow(int row) const
{
    CCustomer c;
    if (!m_customerSearch || row < 0 || row >= m_customerSearch->rowCount())
        return c;
    const QSqlRecord r = m_customerSearch->record(row);
    auto text = [&](const char *name) { return r.value(QLatin1String(name)).toString(); };
    c.CustomerID = r.value(QLatin1String("CustomerID")).toInt();
    c.CustomerShowCode = r.value(QLatin1String("CustomerShowCode")).toInt() != 0;
    c.CustomerCode = text("CustomerCode");
    c.CustomerName = text("CustomerName");
    c.CustomerStreet = text("CustomerStreet");
    c.CustomerCity = text("CustomerCity");
    c.CustomerPSC = text("CustomerPSC");
    c.CustomerPhoneNo = text("CustomerPhoneNo");
    c.CustomerEMail = text("CustomerEMail");
    return c;
}

QList<TRpx2Data::PrintRow> TRpx2Data::GetOrdersForPrint(const QStringList &orderIds)
{
    QList<PrintRow> rows;
    for (const QString &id : orderIds) {
        QSqlQuery query = OpenQuery(
            QStringLiteral("SELECT o.*, c.CustomerID, c.CustomerCode, c.CustomerShowCode, c.CustomerName, "
                           "c.CustomerStreet, c.CustomerCity, c.CustomerPSC, c.CustomerPhoneNo, c.CustomerEMail, "
                           "ot.OrderTypeName, os.OrderStateName FROM t_order_02 o "
                           "LEFT JOIN t_customer_02 c ON o.OrderCustomerID = c.CustomerID "
                           "LEFT JOIN t_order_type_02 ot ON o.OrderTypeID = ot.OrderTypeID "
                           "LEFT JOIN t_order_state_02 os ON o.OrderStateID = os.OrderStateID "
                           "WHERE o.OrderID = ?"),
            {id});
        if (!query.next())
            continue;
        PrintRow row;
        row.order = orderFromQuery(query);
        row.customer = customerFromQuery(query);
        row.typeName = query.value(QStringLiteral("OrderTypeName")).toString();
        row.stateName = query.value(QStringLiteral("OrderStateName")).toString();
        rows.append(row);
    }
    return rows;
}

// ---------------------------------------------------------------------------------------
// Suggestion lists

// The lists compare and sort names with the text collation: "Novák" and "NOVÁK" are one
// entry, hiding "zikmund" hides "Zikmund", and "Čermák" comes before "Dvořák". The names are
// first made distinct as they are stored, along the column's index, so that the collation
// compares a few names rather than every order.
QStringList TRpx2Data::GetEngineerNames()
{
    const SqlDialect &d = *m_dialect;
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT DISTINCT ") + d.collate(QStringLiteral("o.name"))
        + QStringLiteral(" FROM (SELECT DISTINCT OrderEngineerName AS name FROM t_order_02) o "
                         "LEFT JOIN t_filter_engineer_01 f ON ")
        + d.collate(QStringLiteral("o.name"))
        + QStringLiteral(" = f.EngineerName WHERE f.EngineerName IS NULL ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetPhoneTypeNames()
{
    const SqlDialect &d = *m_dialect;
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT ") + d.collate(QStringLiteral("o.name"))
        + QStringLiteral(" FROM (SELECT DISTINCT OrderPhoneType AS name FROM t_order_02 "
                         "UNION SELECT PhoneName FROM t_phone_01) o "
                         "LEFT JOIN t_filter_phone_01 f ON ")
        + d.collate(QStringLiteral("o.name"))
        + QStringLiteral(" = f.PhoneName WHERE f.PhoneName IS NULL GROUP BY 1 ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetBatteryTypeNames()
{
    QSqlQuery query = OpenQuery(
        QStringLiteral("SELECT DISTINCT ") + m_dialect->collate(QStringLiteral("name"))
        + QStringLiteral(" FROM (SELECT DISTINCT OrderBatteryType AS name FROM t_order_02) "
                         "ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetKnownPhoneNames()
{
    QSqlQuery query
        = OpenQuery(QStringLiteral("SELECT DISTINCT ") + m_dialect->collate(QStringLiteral("name"))
                    + QStringLiteral(" FROM (SELECT PhoneName AS name FROM t_phone_01 "
                                     "UNION SELECT PhoneName FROM t_filter_phone_01) "
                                     "ORDER BY 1"));
    return valuesOf(query);
}

QStringList TRpx2Data::GetEngineerListNames()
{
    // In the shop's language, as the other suggestion lists.
    QSqlQuery query
        = OpenQuery(QStringLiteral("SELECT EngineerName FROM t_filter_engineer_01 ORDER BY ")
                    + m_dialect->collate(QStringLiteral("EngineerName"))
                    + QStringLiteral(", FilterEngineerID"));
    return valuesOf(query);
}

void TRpx2Data::AddKnownPhone(const QString &name)
{
    ExecuteCommand(QStringLiteral("INSERT INTO t_phone_01 (PhoneName) VALUES (?)"), {name});
}

QSqlTableModel *TRpx2Data::createPhoneListModel(QObject *parent)
{
    ensureOpen();
    auto *model = new CollatedTableModel(parent, database(),
                                         QStringLiteral("ORDER BY ")
                                             + m_dialect->collate(QStringLiteral("PhoneName"))
                                             + QStringLiteral(", FilterPhoneID"));
    model->setTable(QStringLiteral("t_filter_phone_01"));
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model->select();
    return model;
}

QSqlTableModel *TRpx2Data::createEngineerListModel(QObject *parent)
{
    ensureOpen();
    auto *model = new QSqlTableModel(parent, database());
    model->setTable(QStringLiteral("t_filter_engineer_01"));
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model->select();
    return model;
}

int TRpx2Data::NextFilterPhoneID()
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT max(FilterPhoneID) FROM t_filter_phone_01"));
    return (query.next() ? query.value(0).toInt() : 0) + 1;
}

int TRpx2Data::NextFilterEngineerID()
{
    QSqlQuery query = OpenQuery(QStringLiteral("SELECT max(FilterEngineerID) FROM t_filter_engineer_01"));
    return (query.next() ? query.value(0).toInt() : 0) + 1;
}

void TRpx2Data::ClearPhoneList()
{
    ExecuteCommand(QStringLiteral("DELETE FROM t_filter_phone_01"));
}

void TRpx2Data::ClearEngineerList()
{
    ExecuteCommand(QStringLiteral("DELETE FROM t_filter_engineer_01"));
}
