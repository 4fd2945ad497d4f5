#include "clock.h"

#include <QFileInfo>
#include <QHash>

#include <ctime>

#include <optional>

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

namespace {

// The offset from UTC in seconds that the local zone has all day long, or nullopt when the
// day has a change of time (or no valid midnight). Asking the zone for every date read
// (a yearly summary reads a quarter of a million) costs a system call each; the days asked
// are kept, and forgotten when the zone (the TZ variable) changes.
std::optional<int> steadyOffsetOf(const QDate &date)
{
    static QByteArray zone;
    static QHash<qint64, std::optional<int>> offsets;
    const QByteArray currentZone = qgetenv("TZ");
    if (currentZone != zone || currentZone.isNull() != zone.isNull()) {
        zone = currentZone;
        offsets.clear();
    }
    const auto found = offsets.constFind(date.toJulianDay());
    if (found != offsets.cend())
        return *found;
    const QDateTime start(date, QTime(0, 0));
    const QDateTime end(date, QTime(23, 59, 59, 999));
    std::optional<int> offset;
    if (start.isValid() && end.isValid() && start.offsetFromUtc() == end.offsetFromUtc()
        && start.msecsTo(end) == 24 * 3600 * 1000 - 1)
        offset = start.offsetFromUtc();
    if (offsets.size() > 10000)
        offsets.clear();
    offsets.insert(date.toJulianDay(), offset);
    return offset;
}

} // namespace

QDateTime Clock::localTime(const QDate &date, const QTime &time)
{
    if (date.isValid() && time.isValid()) {
        if (const std::optional<int> offset = steadyOffsetOf(date)) {
            constexpr qint64 UnixEpochJulianDay = 2440588;
            const qint64 wall = (date.toJulianDay() - UnixEpochJulianDay) * 86400000
                + time.msecsSinceStartOfDay();
            return QDateTime::fromMSecsSinceEpoch(wall - qint64(*offset) * 1000, Qt::LocalTime);
        }
    }
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

void Clock::pinLocalZone()
{
#if defined(Q_OS_LINUX)
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QStringLiteral("/etc/localtime")))
        return;
    qputenv("TZ", ":/etc/localtime");
    tzset();
#endif
}
