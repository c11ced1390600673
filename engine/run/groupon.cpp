#include "engine/run/groupon.h"

#include "engine/run/summary.h"

#include <QDateTime>

#include <cmath>
#include <optional>

namespace Orv::RunInternal {

namespace {

// Visual Basic's day 0, where date serial numbers count from.
constexpr qint64 SerialEpoch = 2415019; // 30 December 1899 as a Julian day

struct DayAndTime
{
    QDate date;
    int msecs = 0;
};

std::optional<DayAndTime> dateOf(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return std::nullopt;
        return DayAndTime{dt.date(), dt.time().msecsSinceStartOfDay()};
    }
    case QMetaType::QDate:
        if (!v.toDate().isValid())
            return std::nullopt;
        return DayAndTime{v.toDate(), 0};
    case QMetaType::QTime:
        if (!v.toTime().isValid())
            return std::nullopt;
        return DayAndTime{QDate::fromJulianDay(SerialEpoch), v.toTime().msecsSinceStartOfDay()};
    case QMetaType::QString: {
        // Dates computed in SQL arrive as ISO text.
        const QString text = v.toString().trimmed();
        QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
        if (!dt.isValid())
            dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        if (dt.isValid())
            return DayAndTime{dt.date(), dt.time().msecsSinceStartOfDay()};
        const QDate d = QDate::fromString(text, Qt::ISODate);
        if (d.isValid())
            return DayAndTime{d, 0};
        return std::nullopt;
    }
    default:
        if (isNumeric(v)) {
            // A date serial number: days since day 0, the time as the fraction.
            const double serial = v.toDouble();
            if (!std::isfinite(serial) || std::abs(serial) > 3e6)
                return std::nullopt;
            const double day = std::floor(serial);
            return DayAndTime{QDate::fromJulianDay(SerialEpoch + qint64(day)), int(std::lround((serial - day) * 86400000.0)) % 86400000};
        }
        return std::nullopt;
    }
}

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if (a % b != 0 && (a < 0) != (b < 0))
        --q;
    return q;
}

} // namespace

bool groupValue(const QVariant &value, int groupOn, int interval, QVariant *key)
{
    *key = value;
    if (groupOn <= 0 || groupOn > 9 || isNullValue(value))
        return true;
    const qint64 step = std::max(1, interval);
    if (groupOn == 1) {
        *key = value.toString().left(qsizetype(std::min<qint64>(step, 1 << 30)));
        return true;
    }
    if (groupOn == 9) {
        double x = 0;
        if (!toNumber(value, &x) || !std::isfinite(x))
            return false;
        *key = std::floor(x / double(step));
        return true;
    }
    const std::optional<DayAndTime> d = dateOf(value);
    if (!d)
        return false;
    const qint64 day = d->date.toJulianDay();
    const qint64 year = d->date.year();
    const qint64 hour = day * 24 + d->msecs / 3600000;
    qint64 unit = 0;
    switch (groupOn) {
    case 2: unit = year; break;
    case 3: unit = year * 4 + (d->date.month() - 1) / 3; break;
    case 4: unit = year * 12 + d->date.month() - 1; break;
    case 5: unit = floorDiv(day + 1, 7); break; // weeks from Sunday to Saturday
    case 6: unit = day; break;
    case 7: unit = hour; break;
    default: unit = hour * 60 + (d->msecs / 60000) % 60; break;
    }
    *key = qlonglong(floorDiv(unit, step));
    return true;
}

} // namespace Orv::RunInternal
