#pragma once

// Helpers shared by the parts of the data module (rpx2data*.cpp); not for other callers.

#include "records.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace Rpx2DataDetail {

// An empty text as NULL: customers' empty texts are stored so.
QVariant textOrNull(const QString &text);

// "CustomerID, CustomerShowCode, CustomerCode, ..." in the field order of CCustomer; with a
// table alias, "c.CustomerID, ...".
QString customerSelectList(const QString &alias = QString());

// The customer of a row whose columns firstColumn onwards are customerSelectList()'s.
// NULL texts become empty texts.
CCustomer readCustomer(const QSqlQuery &query, int firstColumn = 0);

} // namespace Rpx2DataDetail
