#pragma once

#include "records.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <span>
#include <variant>

class SqlDialect;

// The columns of t_order_02 in one place: each column's name and the COrder field it is
// read into and written from, in the table's column order. The schema check, the SELECT
// list, the reader and the writer all walk this table, so a column is added once.
namespace OrderColumns {

using Field = std::variant<QString COrder::*, int COrder::*, double COrder::*, bool COrder::*,
                           QDateTime COrder::*>;

struct Column
{
    const char *name;
    Field field;
};

std::span<const Column> all();

// "OrderID, OrderTypeID, ..." - with a table alias, "o.OrderID, o.OrderTypeID, ...".
QString selectList(const QString &alias = QString());

// Fills an order from a row whose columns firstColumn onwards are selectList()'s, read by
// position.
COrder read(const QSqlQuery &query, const SqlDialect &dialect, int firstColumn = 0);

// The values to bind, in column order. Texts are bound as texts (an empty text is stored as
// an empty text, not NULL); a date that was never set is bound as NULL.
QVariantList values(const COrder &order, const SqlDialect &dialect);

// The column names among these that the table lacks (an empty list for a sound table).
QStringList missingFrom(const QStringList &presentColumns);

} // namespace OrderColumns
