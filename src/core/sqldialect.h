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
    // is bound as a plain value: % _ and ' in it match themselves.
    virtual QString containsCondition(const QString &column, const QString &param) const = 0;

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
