#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// Everything that differs between database engines: how a date is bound and read, how a
// case-folding substring condition is written, how names are compared and sorted, how a
// write transaction is begun. The data module writes all other SQL in the common dialect
// and asks this class for the rest.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;

    // Prepares a fresh connection (functions, the text collation, pragmas). Names compare
    // as in Czech until setTextLanguage() names the shop's language. A statement that meets
    // another program's lock waits about five seconds for it, with the busy cursor, and then
    // fails as busy. Throws RpxError.
    virtual void prepareConnection(QSqlDatabase &db) const = 0;

    // Makes the connection compare and sort names as the language does ("cs", "pl", "sk";
    // another code is taken as a locale name): letter case is ignored, accents are not, and
    // the alphabet's order holds (Czech: "ch" after "h", "Č" between "C" and "D").
    virtual void setTextLanguage(QSqlDatabase &db, const QString &languageCode) const = 0;

    // The expression with the text collation of the connection: for ORDER BY, DISTINCT,
    // GROUP BY and comparisons of names, engineers and device models. The collation lives on
    // the connection only, never in the schema, so that any tool can still open the file.
    virtual QString collate(const QString &expression) const = 0;

    // A condition that is true when the text parameter is empty or the column contains it,
    // regardless of letter case (Czech, Polish and Slovak letters included). The parameter
    // is bound as a plain value: % _ and ' in it match themselves. This calls a function of
    // the connection for every row; containsFilter() is the faster choice.
    virtual QString containsCondition(const QString &column, const QString &param) const = 0;

    // The same test for a text known beforehand, written with the engine's own operators
    // (any tool runs the statement, and no function is called per row): the condition's
    // parameters are to be bound to values, in order. % _ * ? [ ] and ' in the text match
    // themselves. The text must not be empty (an empty filter is left out, not written).
    struct TextFilter
    {
        QString condition;
        QVariantList values;
    };
    virtual TextFilter containsFilter(const QString &column, const QString &text) const = 0;

    // "WITH name AS (select)", the select computed once before the statement that follows
    // uses it, so that the planner cannot fold it into that statement.
    virtual QString materializedWith(const QString &name, const QString &select) const = 0;

    // Lets the connection keep up to this many megabytes of the file's pages in memory
    // (bulk writes into large indexes). Throws RpxError.
    virtual void setPageCache(QSqlDatabase &db, int megabytes) const = 0;

    // Whether a commit waits until the disk holds the data (the default), or only hands it
    // to the system (bulk loads of a file that can be made again). Throws RpxError.
    virtual void setDurableCommits(QSqlDatabase &db, bool durable) const = 0;

    // The column that names a row of any table and finds it directly (in every index).
    virtual QString rowKey() const = 0;

    // A statement giving about the number of rows of the table (at least the true number),
    // read without walking the table.
    virtual QString rowCountEstimate(const QString &table) const = 0;

    // Starts a transaction that holds the write lock from its first statement, so that two
    // programs sharing the database cannot draw the same order number.
    virtual QString beginWriteStatement() const = 0;

    // Dates are wall-clock times of the shop. An invalid value binds as NULL (a date that was
    // never set); reading never gives an invalid value for a stored text (see Clock::localTime).
    virtual QVariant dateValue(const QDateTime &value) const = 0;
    // The start of a day, as a bound of day ranges: midnight on the wall clock, also where
    // the zone skips that midnight.
    virtual QVariant dayValue(const QDate &day) const = 0;
    virtual QDateTime dateFromValue(const QVariant &value) const = 0;
    // The start of a day (midnight as a wall-clock time, also on a day whose midnight a
    // daylight-saving change skips), as a bound value that compares with stored dates.
    virtual QVariant dayStartValue(const QDate &day) const = 0;

    static const SqlDialect &sqlite();
};
