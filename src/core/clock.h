#pragma once

#include <QDateTime>

// The program's clock. Tests fix it so that dates (deadlines, totals of the day, order
// numbers of the year) are predictable.
namespace Clock {
QDateTime now();
QDate today();
void setFixed(const QDateTime &fixed); // an invalid value returns to the system clock

// The local date-time of a wall-clock date and time. A time that the change to summer time
// skips (02:30 on the spring Sunday in Prague, or a midnight that some zones skip) becomes
// the first valid minute after it, never an invalid value; an invalid date or time gives
// an invalid value.
QDateTime localTime(const QDate &date, const QTime &time);
inline QDateTime startOfDay(const QDate &date)
{
    return localTime(date, QTime(0, 0));
}

// Where the TZ variable is not set (Linux), names the system's zone file in it, for this
// process: the C library then stops looking at that file again for every local time it
// converts (a summary converts hundreds of thousands). The zone stays the same. Called
// first thing in main().
void pinLocalZone();
} // namespace Clock
