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

// The customer of a row that carries the customer columns by name.
CCustomer customerFromQuery(const QSqlQuery &query);

} // namespace Rpx2DataDetail
