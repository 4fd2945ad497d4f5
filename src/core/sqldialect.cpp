#include "sqldialect.h"

#include "clock.h"
#include "rpxerror.h"

#include <QCollator>
#include <QCursor>
#include <QGuiApplication>
#include <QLocale>
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

// The collator of a connection. In Czech, Slovak and Polish the letters a to z of ASCII
// keep their order among themselves, and only "c" and "d" begin letters of two characters
// ("ch", and "dz" in Slovak): two names whose first letters are other ASCII letters that
// differ compare by those letters alone. Sorting a register of customers decides most
// comparisons so, without asking the collator.
struct TextCollator
{
    QCollator collator;
    bool asciiLetterOrder = false;
};

int asciiLetter(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 'a';
    return c >= 'a' && c <= 'z' ? c : 0;
}

// The collation gets the texts as SQLite stores them (UTF-8): most comparisons of a sort
// end at the first letters, before any text is converted for the collator.
int compareTexts(void *data, int bytes1, const void *text1, int bytes2, const void *text2)
{
    const auto *text = static_cast<const TextCollator *>(data);
    const auto *a = static_cast<const unsigned char *>(text1);
    const auto *b = static_cast<const unsigned char *>(text2);
    if (text->asciiLetterOrder && bytes1 > 0 && bytes2 > 0) {
        const int first = asciiLetter(a[0]);
        const int second = asciiLetter(b[0]);
        if (first && second && first != second && first != 'c' && first != 'd' && second != 'c'
            && second != 'd')
            return first < second ? -1 : 1;
    }
    return text->collator.compare(QString::fromUtf8(reinterpret_cast<const char *>(a), bytes1),
                                  QString::fromUtf8(reinterpret_cast<const char *>(b), bytes2));
}

void deleteCollator(void *collator)
{
    delete static_cast<TextCollator *>(collator);
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
    // The form the program stores, "yyyy-MM-dd HH:mm:ss", read digit by digit: a report
    // reads three dates of every order.
    if (text.size() == 19) {
        const auto digits = [&](int from, int count) {
            int value = 0;
            for (int i = from; i < from + count; ++i) {
                const char16_t c = text.at(i).unicode();
                if (c < u'0' || c > u'9')
                    return -1;
                value = value * 10 + (c - u'0');
            }
            return value;
        };
        const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
        const int hour = digits(11, 2), minute = digits(14, 2), second = digits(17, 2);
        if (text.at(4) == u'-' && text.at(7) == u'-' && text.at(10) == u' ' && text.at(13) == u':'
            && text.at(16) == u':' && year >= 0 && month >= 0 && day >= 0 && hour >= 0
            && minute >= 0 && second >= 0) {
            const QDate date(year, month, day);
            const QTime time(hour, minute, second);
            if (date.isValid() && time.isValid())
                return Clock::localTime(date, time);
            return {};
        }
    }
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

// The letters equal to c when letter case is ignored, as a GLOB class ("[Čč]"), or c itself
// when it has no other case: the cases of c and of its case-folded form. (Like LIKE, it
// leaves out the few symbols that fold to an ASCII letter, such as the Kelvin sign.)
QString caseClass(QChar c)
{
    QString members;
    auto add = [&](QChar member) {
        if (!members.contains(member))
            members += member;
    };
    for (QChar base : { c, c.toCaseFolded() }) {
        add(base);
        add(base.toUpper());
        add(base.toLower());
        add(base.toTitleCase());
    }
    if (members.size() == 1)
        return members;
    // "]" or "^" first, or a "-" inside, would change the class: none of them has cases.
    return QLatin1Char('[') + members + QLatin1Char(']');
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
        // Years of orders: a page cache of 8 MB (SQLite's default is 2 MB) keeps the upper
        // levels of the indexes and the list's recent pages. Not more: a count reads the
        // whole of an index of a million orders (40 MB) once, and a cache that large only
        // spends its time taking in pages that are not read again; the system keeps the
        // file in its own cache anyway. No memory mapping: every page of the file read
        // through it would count towards the program's memory.
        pragma.exec(QStringLiteral("PRAGMA cache_size = -8192"));
    }

    void setTextLanguage(QSqlDatabase &db, const QString &languageCode) const override
    {
        const QLocale locale = localeOf(languageCode);
        auto *collator = new TextCollator { QCollator(locale) };
        collator->collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator->asciiLetterOrder = locale.language() == QLocale::Czech
            || locale.language() == QLocale::Slovak || locale.language() == QLocale::Polish;
        // SQLite owns the collator from here on, also when registering fails.
        const int rc = sqlite3_create_collation_v2(sqliteHandle(db), TextCollation, SQLITE_UTF8,
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

    // Texts of plain ASCII go to LIKE, which folds ASCII letters itself; other texts to
    // GLOB with each letter as the class of its cases ("č" as "[Čč]"), since LIKE folds no
    // other letters. Both are SQLite's own operators. GLOB with classes is the slower one:
    // a LIKE on the text's longest ASCII part goes first and lets it test only the rows
    // that have that part.
    TextFilter containsFilter(const QString &column, const QString &text) const override
    {
        auto likePattern = [](QStringView part) -> QString {
            QString pattern = QStringLiteral("%");
            for (QChar c : part) {
                if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
                    pattern += QLatin1Char('\\');
                pattern += c;
            }
            return pattern + QLatin1Char('%');
        };
        const QString like = column + QStringLiteral(" LIKE ? ESCAPE '\\'");
        // The longest run of ASCII characters.
        qsizetype runStart = 0, runLength = 0;
        for (qsizetype i = 0, start = 0; i <= text.size(); ++i) {
            if (i == text.size() || text.at(i).unicode() >= 0x80) {
                if (i - start > runLength) {
                    runStart = start;
                    runLength = i - start;
                }
                start = i + 1;
            }
        }
        if (runLength == text.size())
            return { like, { likePattern(text) } };

        QString pattern = QStringLiteral("*");
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && i + 1 < text.size()) {
                pattern += c;
                pattern += text.at(++i);
            } else if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[')) {
                pattern += QLatin1Char('[') + c + QLatin1Char(']');
            } else {
                pattern += caseClass(c);
            }
        }
        pattern += QLatin1Char('*');
        const QString glob = column + QStringLiteral(" GLOB ?");
        if (runLength < 2)
            return { glob, { pattern } };
        const QString both
            = QLatin1Char('(') + like + QStringLiteral(" AND ") + glob + QLatin1Char(')');
        return { both, { likePattern(QStringView(text).mid(runStart, runLength)), pattern } };
    }

    QString materializedWith(const QString &name, const QString &select) const override
    {
        return QStringLiteral("WITH ") + name + QStringLiteral(" AS MATERIALIZED (") + select
            + QStringLiteral(") ");
    }

    QString rowKey() const override { return QStringLiteral("rowid"); }

    void setPageCache(QSqlDatabase &db, int megabytes) const override
    {
        QSqlQuery pragma(db);
        if (!pragma.exec(QStringLiteral("PRAGMA cache_size = %1").arg(-1024 * qMax(1, megabytes))))
            throw RpxError(QStringLiteral("Nelze připravit databázové spojení."));
    }

    void setDurableCommits(QSqlDatabase &db, bool durable) const override
    {
        QSqlQuery pragma(db);
        if (!pragma.exec(durable ? QStringLiteral("PRAGMA synchronous = FULL")
                                 : QStringLiteral("PRAGMA synchronous = OFF")))
            throw RpxError(QStringLiteral("Nelze připravit databázové spojení."));
    }

    // The largest rowid: rows are never fewer, and the index answers at once.
    QString rowCountEstimate(const QString &table) const override
    {
        return QStringLiteral("SELECT max(rowid) FROM ") + table;
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
