#pragma once

#include <QDateTime>

// The program's clock. Tests fix it so that dates (deadlines, totals of the day, order
// numbers of the year) are predictable.
namespace Clock {
QDateTime now();
QDate today();
void setFixed(const QDateTime &fixed); // an invalid value returns to the system clock
} // namespace Clock
