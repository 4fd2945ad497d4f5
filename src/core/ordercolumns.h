#pragma once

#include "records.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <bitset>
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

constexpr size_t Count = 37;

// A choice of columns, by their place in the table.
using Choice = std::bitset<Count>;
// The columns with these names (every column for an empty list).
Choice choose(const QStringList &names);
inline Choice every()
{
    return Choice().set();
}

// "OrderID, OrderTypeID, ..." - with a table alias, "o.OrderID, o.OrderTypeID, ...". With a
// choice, only those columns, in the table's order.
QString selectList(const QString &alias = QString(), const Choice &choice = every());

// Fills an order from a row whose columns firstColumn onwards are selectList()'s (of the
// same choice), read by position; the fields of columns not chosen stay as in a new order.
COrder read(const QSqlQuery &query, const SqlDialect &dialect, int firstColumn = 0,
            const Choice &choice = every());

// The values to bind, in column order. Texts are bound as texts (an empty text is stored as
// an empty text, not NULL); a date that was never set is bound as NULL.
QVariantList values(const COrder &order, const SqlDialect &dialect);

// The column names among these that the table lacks (an empty list for a sound table).
QStringList missingFrom(const QStringList &presentColumns);

} // namespace OrderColumns
