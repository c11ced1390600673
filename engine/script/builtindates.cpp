// Date functions and the formatting functions (through VbFormat).
#include "engine/script/builtins.h"

#include "engine/vbformat/vbformat.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

namespace Orv::Script {

namespace {

#define ARGS [[maybe_unused]] Runtime &rt, [[maybe_unused]] Variant *a, [[maybe_unused]] int n, [[maybe_unused]] CallSiteCache &cache

double now() { return dateFromQDateTime(QDateTime::currentDateTime()); }

// A date argument; false (and Null returned by the caller) for Null.
bool dateArg(const Variant &v0, double *d)
{
    const Variant v = valueOf(v0);
    if (v.isNull())
        return false;
    *d = v.toDate();
    return true;
}

Variant fNow(ARGS) { return Variant::date(now()); }
Variant fDate(ARGS) { return Variant::date(std::floor(now())); }
Variant fTime(ARGS)
{
    const double d = now();
    return Variant::date(d - std::floor(d));
}
Variant fTimer(ARGS)
{
    return Variant::single(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

template<int Part>
Variant datePart(Variant *a)
{
    double d;
    if (!dateArg(a[0], &d))
        return Variant::null();
    int y, m, day, h, mi, s;
    dateToParts(d, &y, &m, &day);
    timeToParts(d, &h, &mi, &s);
    const int parts[] = {y, m, day, h, mi, s};
    return Variant::number(parts[Part]);
}

Variant fYear(ARGS) { return datePart<0>(a); }
Variant fMonth(ARGS) { return datePart<1>(a); }
Variant fDay(ARGS) { return datePart<2>(a); }
Variant fHour(ARGS) { return datePart<3>(a); }
Variant fMinute(ARGS) { return datePart<4>(a); }
Variant fSecond(ARGS) { return datePart<5>(a); }

int firstDayArg(Variant *a, int n, int i)
{
    int f = has(a, n, i) ? a[i].toLong() : 1;
    if (f < 0 || f > 7)
        raise(ErrInvalidCall);
    return f == 0 ? 1 : f;
}

// 1 = the first day of the week.
int weekday(double d, int firstDay)
{
    const QDate date = dateToQDateTime(d).date();
    const int vbDay = date.dayOfWeek() % 7 + 1; // Sunday 1 .. Saturday 7
    return (vbDay - firstDay + 7) % 7 + 1;
}

Variant fWeekday(ARGS)
{
    double d;
    if (!dateArg(a[0], &d))
        return Variant::null();
    return Variant::integer(weekday(d, firstDayArg(a, n, 1)));
}

const char *const dayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char *const monthNames[] = {"January", "February", "March", "April", "May", "June", "July",
                                  "August", "September", "October", "November", "December"};

Variant fWeekdayName(ARGS)
{
    const int w = a[0].toLong();
    if (w < 1 || w > 7)
        raise(ErrInvalidCall);
    const bool abbreviate = has(a, n, 1) && a[1].toBool();
    const int first = firstDayArg(a, n, 2);
    const QString name = QString::fromLatin1(dayNames[(w - 1 + first - 1) % 7]);
    return Variant(abbreviate ? name.left(3) : name);
}

Variant fMonthName(ARGS)
{
    const int m = a[0].toLong();
    if (m < 1 || m > 12)
        raise(ErrInvalidCall);
    const QString name = QString::fromLatin1(monthNames[m - 1]);
    return Variant(has(a, n, 1) && a[1].toBool() ? name.left(3) : name);
}

Variant fDateSerial(ARGS)
{
    int y = a[0].toLong();
    if (y >= 0 && y < 100)
        y += 1900;
    const int m = a[1].toLong(), d = a[2].toLong();
    if (y < 100 || y > 9999)
        raise(ErrInvalidCall);
    return Variant::date(dateFromParts(y, m, d));
}

Variant fTimeSerial(ARGS)
{
    const double t = timeFromParts(a[0].toLong(), a[1].toLong(), a[2].toLong());
    return Variant::date(t);
}

Variant fDateValue(ARGS)
{
    double d;
    if (!dateArg(a[0], &d))
        return Variant::null();
    return Variant::date(std::trunc(d));
}

Variant fTimeValue(ARGS)
{
    double d;
    if (!dateArg(a[0], &d))
        return Variant::null();
    return Variant::date(std::fabs(d - std::trunc(d)));
}

QString intervalArg(const Variant &v)
{
    const QString s = v.toString().toLower();
    static const QStringList known = {QStringLiteral("yyyy"), QStringLiteral("q"), QStringLiteral("m"),
                                      QStringLiteral("y"), QStringLiteral("d"), QStringLiteral("w"),
                                      QStringLiteral("ww"), QStringLiteral("h"), QStringLiteral("n"),
                                      QStringLiteral("s")};
    if (!known.contains(s))
        raise(ErrInvalidCall);
    return s;
}

double addMonths(double d, int months)
{
    int y, m, day;
    dateToParts(d, &y, &m, &day);
    const double time = d - std::trunc(d);
    const int total = y * 12 + (m - 1) + months;
    const int ny = total / 12, nm = total % 12 + 1;
    if (ny < 100 || ny > 9999)
        raise(ErrInvalidCall);
    const int last = QDate(ny, nm, 1).daysInMonth();
    return dateFromParts(ny, nm, std::min(day, last)) + time;
}

Variant fDateAdd(ARGS)
{
    const QString interval = intervalArg(a[0]);
    const double number = std::trunc(valueOf(a[1]).toDouble());
    double d;
    if (!dateArg(a[2], &d))
        return Variant::null();
    double r = d;
    if (interval == QLatin1String("yyyy"))
        r = addMonths(d, int(number) * 12);
    else if (interval == QLatin1String("q"))
        r = addMonths(d, int(number) * 3);
    else if (interval == QLatin1String("m"))
        r = addMonths(d, int(number));
    else if (interval == QLatin1String("y") || interval == QLatin1String("d") || interval == QLatin1String("w"))
        r = d + number;
    else if (interval == QLatin1String("ww"))
        r = d + number * 7;
    else if (interval == QLatin1String("h"))
        r = d + number / 24.0;
    else if (interval == QLatin1String("n"))
        r = d + number / 1440.0;
    else
        r = d + number / 86400.0;
    if (r < -657434.0 || r >= 2958466.0)
        raise(ErrInvalidCall);
    return Variant::date(r);
}

qint64 absoluteSeconds(double d)
{
    const double day = std::trunc(d);
    const double frac = std::fabs(d - day);
    return qint64(day) * 86400 + qint64(std::llround(frac * 86400.0));
}

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

Variant fDateDiff(ARGS)
{
    const QString interval = intervalArg(a[0]);
    double d1, d2;
    if (!dateArg(a[1], &d1) || !dateArg(a[2], &d2))
        return Variant::null();
    const int first = firstDayArg(a, n, 3);
    int y1, m1, dd1, y2, m2, dd2;
    dateToParts(d1, &y1, &m1, &dd1);
    dateToParts(d2, &y2, &m2, &dd2);
    const qint64 s1 = absoluteSeconds(d1), s2 = absoluteSeconds(d2);
    qint64 r = 0;
    if (interval == QLatin1String("yyyy"))
        r = y2 - y1;
    else if (interval == QLatin1String("q"))
        r = (y2 * 4 + (m2 - 1) / 3) - (y1 * 4 + (m1 - 1) / 3);
    else if (interval == QLatin1String("m"))
        r = (y2 * 12 + m2) - (y1 * 12 + m1);
    else if (interval == QLatin1String("y") || interval == QLatin1String("d"))
        r = floorDiv(s2, 86400) - floorDiv(s1, 86400);
    else if (interval == QLatin1String("w"))
        r = (floorDiv(s2, 86400) - floorDiv(s1, 86400)) / 7;
    else if (interval == QLatin1String("ww")) {
        // Count of first days of the week between the two dates.
        const qint64 day1 = floorDiv(s1, 86400), day2 = floorDiv(s2, 86400);
        const qint64 start1 = day1 - (weekday(double(day1), first) - 1);
        const qint64 start2 = day2 - (weekday(double(day2), first) - 1);
        r = (start2 - start1) / 7;
    } else if (interval == QLatin1String("h"))
        r = floorDiv(s2, 3600) - floorDiv(s1, 3600);
    else if (interval == QLatin1String("n"))
        r = floorDiv(s2, 60) - floorDiv(s1, 60);
    else
        r = s2 - s1;
    return Variant::number(double(r));
}

// Week of the year: 1 January's week is week 1 (FirstJan1); the other
// rules count from the first week with four days or the first full week.
int weekOfYear(double d, int firstDay, int firstWeek)
{
    int y, m, day;
    dateToParts(d, &y, &m, &day);
    const double jan1 = dateFromParts(y, 1, 1);
    const int offset = weekday(jan1, firstDay) - 1; // days of week 1 before 1 January
    const int dayOfYear = int(std::trunc(d) - jan1);
    int week = (dayOfYear + offset) / 7 + 1;
    if (firstWeek == 2 && offset >= 4)
        --week;
    else if (firstWeek == 3 && offset > 0)
        --week;
    if (week == 0)
        return weekOfYear(jan1 - 1, firstDay, firstWeek);
    return week;
}

Variant fDatePart(ARGS)
{
    const QString interval = intervalArg(a[0]);
    double d;
    if (!dateArg(a[1], &d))
        return Variant::null();
    const int first = firstDayArg(a, n, 2);
    int firstWeek = has(a, n, 3) ? a[3].toLong() : 1;
    if (firstWeek < 0 || firstWeek > 3)
        raise(ErrInvalidCall);
    if (firstWeek == 0)
        firstWeek = 1;
    int y, m, day, h, mi, s;
    dateToParts(d, &y, &m, &day);
    timeToParts(d, &h, &mi, &s);
    int r = 0;
    if (interval == QLatin1String("yyyy")) r = y;
    else if (interval == QLatin1String("q")) r = (m - 1) / 3 + 1;
    else if (interval == QLatin1String("m")) r = m;
    else if (interval == QLatin1String("y")) r = int(std::trunc(d) - dateFromParts(y, 1, 1)) + 1;
    else if (interval == QLatin1String("d")) r = day;
    else if (interval == QLatin1String("w")) r = weekday(d, first);
    else if (interval == QLatin1String("ww")) r = weekOfYear(d, first, firstWeek);
    else if (interval == QLatin1String("h")) r = h;
    else if (interval == QLatin1String("n")) r = mi;
    else r = s;
    return Variant::integer(r);
}

// ---- formatting ----

VbFormat::Tristate tristate(Variant *a, int n, int i)
{
    if (!has(a, n, i))
        return VbFormat::TriUseDefault;
    const int v = a[i].toLong();
    return v == -1 ? VbFormat::TriTrue : v == 0 ? VbFormat::TriFalse : VbFormat::TriUseDefault;
}

struct FormatCache
{
    VbFormat::CompiledFormat compiled;
    explicit FormatCache(const QString &f) : compiled(f) {}
};

Variant fFormat(ARGS)
{
    const Variant v = valueOf(a[0]);
    const QString fmt = has(a, n, 1) ? a[1].toString() : QString();
    if (has(a, n, 2) || has(a, n, 3)) {
        int fd = has(a, n, 2) ? a[2].toLong() : 1;
        int fw = has(a, n, 3) ? a[3].toLong() : 1;
        if (fd < 0 || fd > 7 || fw < 0 || fw > 3)
            raise(ErrInvalidCall);
        return Variant(VbFormat::format(v.toQVariant(), fmt, VbFormat::FirstDayOfWeek(fd), VbFormat::FirstWeekOfYear(fw)));
    }
    // The format compiled once per call site and text.
    if (!cache.data || cache.key != fmt) {
        cache.key = fmt;
        cache.data = std::make_shared<FormatCache>(fmt);
    }
    return Variant(static_cast<FormatCache *>(cache.data.get())->compiled.apply(v.toQVariant()));
}

using NumberFormatter = QString (*)(const QVariant &, int, VbFormat::Tristate, VbFormat::Tristate,
                                    VbFormat::Tristate, bool *);

Variant formatNumberLike(Variant *a, int n, NumberFormatter f)
{
    const Variant v = valueOf(a[0]);
    const int digits = has(a, n, 1) ? a[1].toLong() : -1;
    if (digits < -1 || digits > 99)
        raise(ErrInvalidCall);
    bool ok = true;
    const QString s = f(v.toQVariant(), digits, tristate(a, n, 2), tristate(a, n, 3), tristate(a, n, 4), &ok);
    if (!ok)
        raise(ErrTypeMismatch);
    return Variant(s);
}

Variant fFormatNumber(ARGS) { return formatNumberLike(a, n, VbFormat::formatNumber); }
Variant fFormatCurrency(ARGS) { return formatNumberLike(a, n, VbFormat::formatCurrency); }
Variant fFormatPercent(ARGS) { return formatNumberLike(a, n, VbFormat::formatPercent); }

Variant fFormatDateTime(ARGS)
{
    const Variant v = valueOf(a[0]);
    const int named = has(a, n, 1) ? a[1].toLong() : 0;
    if (named < 0 || named > 4)
        raise(ErrInvalidCall);
    bool ok = true;
    const QString s = VbFormat::formatDateTime(v.toQVariant(), VbFormat::NamedDateFormat(named), &ok);
    if (!ok)
        raise(ErrTypeMismatch);
    return Variant(s);
}

const Builtin table[] = {
    {"Now", 0, 0, fNow}, {"Date", 0, 0, fDate}, {"Time", 0, 0, fTime}, {"Timer", 0, 0, fTimer},
    {"Year", 1, 1, fYear}, {"Month", 1, 1, fMonth}, {"Day", 1, 1, fDay}, {"Hour", 1, 1, fHour},
    {"Minute", 1, 1, fMinute}, {"Second", 1, 1, fSecond}, {"Weekday", 1, 2, fWeekday},
    {"WeekdayName", 1, 3, fWeekdayName}, {"MonthName", 1, 2, fMonthName}, {"DateSerial", 3, 3, fDateSerial},
    {"TimeSerial", 3, 3, fTimeSerial}, {"DateValue", 1, 1, fDateValue}, {"TimeValue", 1, 1, fTimeValue},
    {"DateAdd", 3, 3, fDateAdd}, {"DateDiff", 3, 5, fDateDiff}, {"DatePart", 2, 4, fDatePart},
    {"Format", 1, 4, fFormat}, {"FormatNumber", 1, 5, fFormatNumber}, {"FormatCurrency", 1, 5, fFormatCurrency},
    {"FormatPercent", 1, 5, fFormatPercent}, {"FormatDateTime", 1, 2, fFormatDateTime},
    {nullptr, 0, 0, nullptr},
};

#undef ARGS

} // namespace

const Builtin *dateBuiltins() { return table; }

} // namespace Orv::Script
