#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// Everything that differs between database engines: how a date is bound and read, how a
// case-folding substring condition is written, how a write transaction is begun. The data
// module writes all other SQL in the common dialect and asks this class for the rest.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;

    // Prepares a fresh connection (functions, pragmas). A statement that meets another
    // program's lock waits about five seconds for it, with the busy cursor, and then fails
    // as busy. Throws RpxError.
    virtual void prepareConnection(QSqlDatabase &db) const = 0;

    // A condition that is true when the text parameter is empty or the column contains it,
    // regardless of letter case (Czech, Polish and Slovak letters included). The parameter
    // is bound as a plain value: % _ and ' in it match themselves.
    virtual QString containsCondition(const QString &column, const QString &param) const = 0;

    // Starts a transaction that holds the write lock from its first statement, so that two
    // programs sharing the database cannot draw the same order number.
    virtual QString beginWriteStatement() const = 0;

    virtual QVariant dateValue(const QDateTime &value) const = 0;
    virtual QDateTime dateFromValue(const QVariant &value) const = 0;

    static const SqlDialect &sqlite();
};
