#include "sqldialect.h"

#include "rpxerror.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTimer>

#include <sqlite3.h>

namespace {

// rpx_contains(haystack, needle): true when needle is empty or haystack contains it,
// folding letter case for every alphabet (SQLite's own LIKE folds only ASCII letters).
void sqliteContains(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc != 2) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const auto *needleText = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
    const int needleBytes = sqlite3_value_bytes(argv[1]);
    if (!needleText || needleBytes == 0) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const auto *hayText = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int hayBytes = sqlite3_value_bytes(argv[0]);
    const QString hay = QString::fromUtf8(hayText, hayBytes);
    const QString needle = QString::fromUtf8(needleText, needleBytes);
    sqlite3_result_int(ctx, hay.contains(needle, Qt::CaseInsensitive) ? 1 : 0);
}

// How long a statement waits for another program's lock before it gives up.
constexpr int BusyTimeoutMs = 5000;
bool g_busyCursorShown = false;

// Called by SQLite while another connection holds the lock the statement needs: waits in
// short steps, showing the busy cursor from the first step, and gives up after about five
// seconds. The cursor is restored once control is back in the event loop.
int sqliteBusy(void *, int count)
{
    constexpr int step = 25;
    if (count == 0 && !g_busyCursorShown
        && qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        g_busyCursorShown = true;
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QTimer::singleShot(0, QCoreApplication::instance(), [] {
            g_busyCursorShown = false;
            QGuiApplication::restoreOverrideCursor();
        });
    }
    if (count * step >= BusyTimeoutMs)
        return 0;
    sqlite3_sleep(step);
    return 1;
}

class SqliteDialect final : public SqlDialect
{
public:
    void prepareConnection(QSqlDatabase &db) const override
    {
        const QVariant handle = db.driver()->handle();
        sqlite3 *raw = nullptr;
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            raw = *static_cast<sqlite3 *const *>(handle.data());
        if (!raw)
            throw RpxError(QStringLiteral("Databázový ovladač SQLite neposkytl spojení."));
        const int rc = sqlite3_create_function_v2(raw, "rpx_contains", 2,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                                  &sqliteContains, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw RpxError(QStringLiteral("Nelze připravit databázové spojení (%1).").arg(rc));
        sqlite3_busy_handler(raw, &sqliteBusy, nullptr);
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    }

    QString containsCondition(const QString &column, const QString &param) const override
    {
        return QStringLiteral("rpx_contains(%1, %2)").arg(column, param);
    }

    QString beginWriteStatement() const override { return QStringLiteral("BEGIN IMMEDIATE"); }

    // Dates are stored as ISO text "yyyy-MM-dd HH:mm:ss", which sorts and compares as dates.
    QVariant dateValue(const QDateTime &value) const override
    {
        if (!value.isValid())
            return QVariant(QMetaType(QMetaType::QString));
        return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

    QDateTime dateFromValue(const QVariant &value) const override
    {
        if (value.isNull())
            return {};
        const QString text = value.toString();
        QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dt.isValid())
            dt = QDateTime::fromString(text, Qt::ISODate);
        if (!dt.isValid())
            dt = QDateTime::fromString(text, Qt::ISODateWithMs);
        return dt;
    }
};

} // namespace

const SqlDialect &SqlDialect::sqlite()
{
    static const SqliteDialect dialect;
    return dialect;
}
