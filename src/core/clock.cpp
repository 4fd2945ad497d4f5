#include "clock.h"

namespace {
QDateTime g_fixed;
}

QDateTime Clock::now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

QDate Clock::today()
{
    return now().date();
}

void Clock::setFixed(const QDateTime &fixed)
{
    g_fixed = fixed;
}

QDateTime Clock::localTime(const QDate &date, const QTime &time)
{
    const QDateTime value(date, time);
    if (value.isValid() || !date.isValid() || !time.isValid())
        return value;
    // Inside a gap: walk the wall clock forward minute by minute. Gaps last an hour or two;
    // the bound covers even a zone that skipped a whole day.
    constexpr int MinutesPerDay = 24 * 60;
    const int start = time.hour() * 60 + time.minute();
    for (int minute = start + 1; minute <= start + 3 * MinutesPerDay; ++minute) {
        const QDateTime later(date.addDays(minute / MinutesPerDay),
                              QTime(minute % MinutesPerDay / 60, minute % 60));
        if (later.isValid())
            return later;
    }
    return value;
}
