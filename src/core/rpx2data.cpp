#include "rpx2data.h"

#include "apppaths.h"
#include "clock.h"
#include "config.h"
#include "customersearchmodel.h"
#include "ordercolumns.h"
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
#include <QSqlRecord>
#include <QSqlTableModel>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>

namespace {

TRpx2Data *g_instance = nullptr;
std::atomic<int> g_connectionCounter { 0 };

const QStringList &requiredTables()
{
    static const QStringList tables = {
        QStringLiteral("t_order_02"),           QStringLiteral("t_customer_02"),
        QStringLiteral("t_order_type_02"),      QStringLiteral("t_order_state_02"),
        QStringLiteral("t_phone_01"),           QStringLiteral("t_filter_phone_01"),
        QStringLiteral("t_filter_engineer_01"), QStringLiteral("t_config_01"),
    };
    return tables;
}

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

} // namespace

// The schema is a resource of this static library. Nothing references its registration
// object, so the linker drops it from the programs: register it explicitly before use.
// (Q_INIT_RESOURCE must stand outside any namespace.)
static void initCoreResources()
{
    Q_INIT_RESOURCE(core);
}

// The statements of the schema, comments left out.
static QStringList schemaStatements()
{
    initCoreResources();
    QFile schemaFile(QStringLiteral(":/repaxo/sql/sqlite_schema.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        throw RpxError(QStringLiteral("Chybí popis databáze v programu."));
    // Drop the comment lines first: a comment may itself contain a semicolon.
    QStringList lines = QString::fromUtf8(schemaFile.readAll()).split(QLatin1Char('\n'));
    lines.removeIf([](const QString &l) { return l.trimmed().startsWith(QLatin1String("--")); });
    QStringList statements;
    for (const QString &statement : lines.join(QLatin1Char('\n')).split(QLatin1Char(';'))) {
        if (!statement.trimmed().isEmpty())
            statements.append(statement.trimmed());
    }
    return statements;
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
    const QString notRepaxo
        = QStringLiteral("Soubor „%1“ není databází programu Repaxo.").arg(nativePath);
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
            // Every order column the program reads and writes.
            if (error.isEmpty()) {
                const QSqlRecord columns = db.record(QStringLiteral("t_order_02"));
                QStringList names;
                for (int i = 0; i < columns.count(); ++i)
                    names.append(columns.fieldName(i));
                const QStringList missing = OrderColumns::missingFrom(names);
                if (!missing.isEmpty())
                    error = notRepaxo
                        + QStringLiteral("\nV tabulce t_order_02 chybí sloupec %1.")
                              .arg(missing.first());
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
    upgradeIndexes();
    // Names compare and sort as the shop's language does from now on; a language that
    // cannot be read leaves the Czech order.
    try {
        QSqlDatabase db = database();
        m_dialect->setTextLanguage(db, m_config->GetLanguage());
    } catch (const RpxError &) { }
}

// A file made by an earlier version gets the indexes that the list, its filters and the
// totals read along (once; with a million orders that takes some seconds). A file that
// cannot be written to, or that another program holds, is used as it is.
void TRpx2Data::upgradeIndexes(bool throwing)
{
    QStringList statements;
    try {
        statements = schemaStatements();
    } catch (const RpxError &) {
        if (throwing)
            throw;
        return;
    }
    QSqlQuery query(database());
    // An index is dropped only once all that replace it are there.
    bool created = true;
    for (const QString &statement : std::as_const(statements)) {
        const QString simplified = statement.simplified();
        if (simplified.startsWith(QLatin1String("CREATE INDEX IF NOT EXISTS"))
            || simplified.startsWith(QLatin1String("CREATE UNIQUE INDEX IF NOT EXISTS"))) {
            if (!query.exec(statement)) {
                if (throwing)
                    throw statementError(query.lastError());
                created = false;
            }
        } else if (created && simplified.startsWith(QLatin1String("DROP INDEX IF EXISTS"))) {
            query.exec(statement);
        }
    }
}

void TRpx2Data::SuspendIndexes()
{
    ensureOpen();
    QSqlQuery query(database());
    for (const QString &statement : schemaStatements()) {
        const QString simplified = statement.simplified();
        if (!simplified.startsWith(QLatin1String("CREATE INDEX IF NOT EXISTS")))
            continue; // unique indexes keep order numbers unique
        const QString name = simplified.section(QLatin1Char(' '), 5, 5);
        if (name.startsWith(QLatin1String("ix_order_"))
            && !query.exec(QStringLiteral("DROP INDEX IF EXISTS ") + name))
            throw statementError(query.lastError());
    }
}

void TRpx2Data::RestoreIndexes()
{
    ensureOpen();
    upgradeIndexes(true);
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

void TRpx2Data::SetPageCache(int megabytes)
{
    ensureOpen();
    QSqlDatabase db = database();
    m_dialect->setPageCache(db, megabytes);
}

void TRpx2Data::SetDurableCommits(bool durable)
{
    ensureOpen();
    QSqlDatabase db = database();
    m_dialect->setDurableCommits(db, durable);
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
                                      "založit.")
                           .arg(absolute));
    const QString folder = QFileInfo(absolute).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw RpxError(QStringLiteral("Databázi „%1“ nelze založit: složka „%2“ neexistuje.")
                           .arg(absolute, QDir::toNativeSeparators(folder)));
    const QStringList statements = schemaStatements();

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
            for (const QString &statement : statements) {
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
    if (m_trace)
        m_trace(sql, values);
    QSqlQuery query(database());
    // Item models move freely through their rows; every other reader walks forward once.
    query.setForwardOnly(forwardOnly);
    if (!query.prepare(sql))
        throw statementError(query.lastError());
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    return query;
}

// Statements are prepared once per connection and kept: storing an order, reading a
// setting or a page of the list runs the same few statements again and again, and SQLite
// parses each text only once. A kept statement is finished after every use, so that an
// unfinished SELECT never holds the read lock that the other counter's write waits for.
TRpx2Data::CachedStatement &TRpx2Data::cachedStatement(const QString &sql)
{
    ensureOpen();
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        auto statement = std::make_unique<CachedStatement>(database());
        statement->query.setForwardOnly(true);
        if (!statement->query.prepare(sql))
            throw statementError(statement->query.lastError());
        found = m_statements.emplace(sql, std::move(statement)).first;
    }
    return *found->second;
}

QSqlQuery &TRpx2Data::run(const QString &sql, const QVariantList &values)
{
    CachedStatement &statement = cachedStatement(sql);
    QSqlQuery &query = statement.query;
    if (statement.inUse) // read further up the stack: a statement of its own
        return run(sql + QLatin1Char(' '), values);
    query.finish();
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    exec(query);
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
    QSqlQuery &query = run(sql, values);
    const int changed = query.numRowsAffected();
    query.finish();
    return changed;
}

TRpx2Data::Rows TRpx2Data::read(const QString &sql, const QVariantList &values)
{
    if (m_trace)
        m_trace(sql, values);
    CachedStatement *statement = &cachedStatement(sql);
    // The same text read further up the stack (a nested reading) gets a statement of its own.
    QString key = sql;
    while (statement->inUse) {
        key += QLatin1Char(' ');
        statement = &cachedStatement(key);
    }
    QSqlQuery &query = statement->query;
    query.finish();
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    exec(query);
    return Rows(statement);
}

TRpx2Data::Rows::Rows(CachedStatement *statement)
    : m_statement(statement)
{
    m_statement->inUse = true;
}

TRpx2Data::Rows::Rows(Rows &&other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr))
{ }

TRpx2Data::Rows::~Rows()
{
    if (!m_statement)
        return;
    m_statement->query.finish();
    m_statement->inUse = false;
}

// Transactions nest: only the outermost one talks to the database. An inner one that ends
// without commit() dooms the outer one, so a half-done write is never committed.
TRpx2Data::WriteTransaction::WriteTransaction(TRpx2Data &data)
    : m_data(data)
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
    m_data.m_log.reset();
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
        m_data.m_log.reset();
        m_data.ExecuteCommand(QStringLiteral("COMMIT"));
    }
    --m_data.m_transactionDepth;
    m_done = true;
}
