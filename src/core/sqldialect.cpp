#include "sqldialect.h"

#include "clock.h"
#include "rpxerror.h"

#include <QCollator>
#include <QLocale>
#include <QCursor>
#include <QGuiApplication>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTimer>

#include <sqlite3.h>

namespace {

// The name of the text collation on every connection of the program.
const char *const TextCollation = "rpx_text";

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

// The collation compares UTF-16 texts (SQLite converts them) with the collator it owns.
int compareTexts(void *collator, int bytes1, const void *text1, int bytes2, const void *text2)
{
    const QStringView a(static_cast<const char16_t *>(text1), bytes1 / 2);
    const QStringView b(static_cast<const char16_t *>(text2), bytes2 / 2);
    return static_cast<const QCollator *>(collator)->compare(a, b);
}

void deleteCollator(void *collator)
{
    delete static_cast<QCollator *>(collator);
}

QLocale localeOf(const QString &languageCode)
{
    if (languageCode == QLatin1String("pl"))
        return QLocale(QLocale::Polish, QLocale::Poland);
    if (languageCode == QLatin1String("sk"))
        return QLocale(QLocale::Slovak, QLocale::Slovakia);
    const QLocale other(languageCode);
    if (languageCode != QLatin1String("cs") && other.language() != QLocale::C)
        return other;
    return QLocale(QLocale::Czech, QLocale::CzechRepublic);
}

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    sqlite3 *raw = nullptr;
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        raw = *static_cast<sqlite3 *const *>(handle.data());
    if (!raw)
        throw RpxError(QStringLiteral("Databázový ovladač SQLite neposkytl spojení."));
    return raw;
}

// "yyyy-MM-dd HH:mm:ss" (also with "T" and milliseconds) as a date and a time, read apart:
// the two together may name a local time that does not exist.
QDateTime parseWallClock(const QString &text)
{
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    QString timeText = text.mid(11);
    if (text.size() > 10 && text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T'))
        return {};
    if (timeText.isEmpty())
        return Clock::startOfDay(date);
    QTime time = QTime::fromString(timeText, QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(timeText, Qt::ISODateWithMs);
    return Clock::localTime(date, time);
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
        sqlite3 *raw = sqliteHandle(db);
        const int rc
            = sqlite3_create_function_v2(raw, "rpx_contains", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                         nullptr, &sqliteContains, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw RpxError(QStringLiteral("Nelze připravit databázové spojení (%1).").arg(rc));
        setTextLanguage(db, QStringLiteral("cs"));
        sqlite3_busy_handler(raw, &sqliteBusy, nullptr);
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    }

    void setTextLanguage(QSqlDatabase &db, const QString &languageCode) const override
    {
        auto *collator = new QCollator(localeOf(languageCode));
        collator->setCaseSensitivity(Qt::CaseInsensitive);
        // SQLite owns the collator from here on, also when registering fails.
        const int rc
            = sqlite3_create_collation_v2(sqliteHandle(db), TextCollation, SQLITE_UTF16_ALIGNED,
                                          collator, &compareTexts, &deleteCollator);
        if (rc != SQLITE_OK)
            throw RpxError(QStringLiteral("Nelze připravit databázové spojení (%1).").arg(rc));
    }

    QString collate(const QString &expression) const override
    {
        return expression + QStringLiteral(" COLLATE ") + QLatin1String(TextCollation);
    }

    QString containsCondition(const QString &column, const QString &param) const override
    {
        return QStringLiteral("rpx_contains(%1, %2)").arg(column, param);
    }

    QString beginWriteStatement() const override { return QStringLiteral("BEGIN IMMEDIATE"); }

    // Dates are stored as ISO text "yyyy-MM-dd HH:mm:ss", the shop's wall clock, which sorts
    // and compares as dates.
    QVariant dateValue(const QDateTime &value) const override
    {
        if (!value.isValid())
            return QVariant(QMetaType(QMetaType::QString));
        return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

    QVariant dayValue(const QDate &day) const override
    {
        return day.toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    }

    QDateTime dateFromValue(const QVariant &value) const override
    {
        if (value.isNull())
            return {};
        return parseWallClock(value.toString());
    }

    QVariant dayStartValue(const QDate &day) const override
    {
        if (!day.isValid())
            return QVariant(QMetaType(QMetaType::QString));
        return QString(day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"));
    }
};

} // namespace

const SqlDialect &SqlDialect::sqlite()
{
    static const SqliteDialect dialect;
    return dialect;
}
