// Date and time formats: the calendar parts of a value, date format
// sections parsed and written, the week rules, and dates read from text.

#include "engine/vbformat/vbformat_p.h"

#include <QDate>

#include <cmath>

namespace Orv::VbFormat::Detail {

// ---------------------------------------------------------------- calendar

namespace {

constexpr qint64 OleBaseDay = 2415019; // Julian day of 30 December 1899
constexpr qint64 MinJulianDay = 1757585; // 1 January 100
constexpr qint64 MaxJulianDay = 5373484; // 31 December 9999

void civilFromJulian(qint64 jd, int &y, int &m, int &d)
{
    // Proleptic Gregorian calendar, as OLE dates use.
    const qint64 a = jd + 32044;
    const qint64 b = (4 * a + 3) / 146097;
    const qint64 c = a - 146097 * b / 4;
    const qint64 dd = (4 * c + 3) / 1461;
    const qint64 e = c - 1461 * dd / 4;
    const qint64 mm = (5 * e + 2) / 153;
    d = int(e - (153 * mm + 2) / 5 + 1);
    m = int(mm + 3 - 12 * (mm / 10));
    y = int(100 * b + dd - 4800 + mm / 10);
}

qint64 julianFromCivil(int y, int m, int d)
{
    const int a = (14 - m) / 12;
    const qint64 yy = qint64(y) + 4800 - a;
    const int mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

} // namespace

// A date as its OLE number: days since 30 December 1899, the time as the
// fraction; before the base day the fraction still counts forward.
double oleNumber(const Value &v)
{
    const double days = double(v.julianDay - OleBaseDay);
    const double frac = v.msecs / 86400000.0;
    return days >= 0 ? days + frac : days - frac;
}

bool makeParts(qint64 julianDay, qint64 msecs, DateParts &p)
{
    qint64 secs = (msecs + 500) / 1000;
    if (secs >= 86400) {
        secs -= 86400;
        ++julianDay;
    }
    if (julianDay < MinJulianDay || julianDay > MaxJulianDay)
        return false;
    p.julianDay = julianDay;
    p.seconds = int(secs);
    civilFromJulian(julianDay, p.year, p.month, p.day);
    return true;
}

namespace {

bool partsFromOle(double v, DateParts &p)
{
    if (!(v > -657435.0 && v < 2958466.0))
        return false;
    const double days = std::trunc(v);
    const double frac = std::fabs(v - days);
    return makeParts(OleBaseDay + qint64(days), qint64(std::llround(frac * 86400000.0)), p);
}

} // namespace

// ---------------------------------------------------------------- parsing

void parseDate(QStringView s, DateSection &out)
{
    using K = DateToken::Kind;
    Builder<DateToken> b{out.tokens, {}};
    bool afterHour = false; // m and mm right after h or hh mean minutes
    scan(s, [&](QStringView t) { b.literal(t); }, [&](qsizetype i) -> qsizetype {
        const char16_t c = lower(s[i].unicode());
        qsizetype run = 1;
        while (i + run < s.size() && lower(s[i + run].unicode()) == c)
            ++run;
        const auto token = [&](K kind, qsizetype used, QString a = {}, QString b2 = {}) {
            b.push({kind, std::move(a), std::move(b2)});
            afterHour = kind == K::Hour || kind == K::Hour2;
            return used;
        };
        switch (c) {
        case u'/': b.push({K::DateSep, {}, {}}); return 1;
        case u':': b.push({K::TimeSep, {}, {}}); return 1;
        case u'd': {
            static const K kinds[] = {K::Day, K::Day2, K::DayAbbr, K::DayName, K::ShortDate, K::LongDate};
            run = std::min<qsizetype>(run, 6);
            return token(kinds[run - 1], run);
        }
        case u'w': return run == 1 ? token(K::WeekDay, 1) : token(K::Week, 2);
        case u'm':
            run = std::min<qsizetype>(run, 4);
            if (run <= 2 && afterHour)
                return token(run == 1 ? K::Minute : K::Minute2, run);
            return token(K(K::Month + run - 1), run);
        case u'q': return token(K::Quarter, 1);
        case u'y': return run >= 4 ? token(K::Year4, 4) : run >= 2 ? token(K::Year2, 2) : token(K::DayOfYear, 1);
        case u'h': return run == 1 ? token(K::Hour, 1) : token(K::Hour2, 2);
        case u'n': return run == 1 ? token(K::Minute, 1) : token(K::Minute2, 2);
        case u's': return run == 1 ? token(K::Second, 1) : token(K::Second2, 2);
        case u't':
            if (run >= 5)
                return token(K::LongTime, 5);
            b.literal(s.mid(i, run));
            return run;
        case u'c': return token(K::General, 1);
        case u'a':
            if (matchesAt(s, i, "am/pm") || matchesAt(s, i, "a/p") || matchesAt(s, i, "ampm")) {
                out.twelveHour = true;
                if (s[i + 1] == u'/')
                    return token(K::AmPm, 3, s.mid(i, 1).toString(), s.mid(i + 2, 1).toString());
                if (s[i + 2] == u'/')
                    return token(K::AmPm, 5, s.mid(i, 2).toString(), s.mid(i + 3, 2).toString());
                return token(K::AmPmLocale, 4);
            }
            break;
        default:
            break;
        }
        b.literal(s.mid(i, 1));
        return 1;
    });
    b.flush();
}

// ---------------------------------------------------------------- text to value

namespace {

int monthFromName(QStringView word, const Locale &loc)
{
    for (int i = 0; i < 12; ++i) {
        if (word.compare(loc.monthNames[i], Qt::CaseInsensitive) == 0
            || word.compare(loc.monthAbbreviations[i], Qt::CaseInsensitive) == 0
            || word.compare(QLatin1String(englishMonths[i]), Qt::CaseInsensitive) == 0
            || (word.size() == 3 && QLatin1String(englishMonths[i]).startsWith(word, Qt::CaseInsensitive)))
            return i + 1;
    }
    return 0;
}

// A date or time in text: ISO ("1993-01-27 17:04:23"), the short date's
// order of day and month ("1/27/1993"), or with a month name
// ("January 27, 1993", "27-Jan-93"), each with an optional time and AM/PM.
bool parseDateText(QStringView s, const Env &env, qint64 *julianDay, int *msecs)
{
    const Locale &loc = env.loc;
    int nums[3], lens[3], count = 0;
    int timeParts[3] = {0, 0, 0}, timeCount = 0, millis = 0;
    int month = 0, ampm = 0; // 1 morning, 2 afternoon
    bool inTime = false;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const char16_t c = s[i].unicode();
        if (isDigit(c)) {
            qsizetype j = i;
            qint64 v = 0;
            while (j < n && isDigit(s[j].unicode()) && j - i < 9)
                v = v * 10 + (s[j++].unicode() - u'0');
            if (j < n && isDigit(s[j].unicode()))
                return false;
            const bool colon = j < n && s[j] == u':';
            if (colon || inTime) {
                if (timeCount == 3)
                    return false;
                timeParts[timeCount++] = int(v);
                inTime = colon;
                if (colon) {
                    ++j;
                } else if (timeCount == 3 && j < n && s[j] == u'.') {
                    // Fractions of a second.
                    int scale = 100;
                    for (++j; j < n && isDigit(s[j].unicode()); ++j, scale /= 10)
                        millis += (s[j].unicode() - u'0') * scale;
                }
            } else {
                if (count == 3)
                    return false;
                nums[count] = int(v);
                lens[count++] = int(j - i);
            }
            i = j;
        } else if (s[i].isLetter()) {
            qsizetype j = i;
            while (j < n && s[j].isLetter())
                ++j;
            const QStringView word = s.mid(i, j - i);
            auto is = [&](const QString &a, const char *b, const char *c) {
                return word.compare(a, Qt::CaseInsensitive) == 0 || word.compare(QLatin1String(b), Qt::CaseInsensitive) == 0
                    || word.compare(QLatin1String(c), Qt::CaseInsensitive) == 0;
            };
            if (is(loc.amDesignator, "am", "a")) {
                ampm = 1;
            } else if (is(loc.pmDesignator, "pm", "p")) {
                ampm = 2;
            } else if (word.compare(QLatin1String("t"), Qt::CaseInsensitive) == 0 && count == 3 && !month) {
                // ISO's separator of date and time
            } else if (month || (month = monthFromName(word, loc)) == 0) {
                return false;
            }
            i = j;
        } else if (c == u' ' || c == u',' || c == u'/' || c == u'-' || c == u'.' || c == u'\t') {
            if (inTime)
                return false;
            ++i;
        } else {
            return false;
        }
    }
    if (inTime || timeCount == 1)
        return false;
    int y = 1899, m = 12, d = 30, yearLen = 4;
    if (month) {
        m = month;
        if (count == 2) {
            const bool yearFirst = lens[0] >= 3 || nums[0] > 31;
            d = nums[yearFirst ? 1 : 0];
            y = nums[yearFirst ? 0 : 1];
            yearLen = lens[yearFirst ? 0 : 1];
        } else if (count == 1 && (lens[0] >= 3 || nums[0] > 31)) {
            d = 1;
            y = nums[0];
            yearLen = lens[0];
        } else {
            return false;
        }
    } else if (count == 3) {
        if (lens[0] >= 3 || nums[0] > 31) {
            y = nums[0], m = nums[1], d = nums[2];
            yearLen = lens[0];
        } else {
            m = nums[env.dayFirst ? 1 : 0];
            d = nums[env.dayFirst ? 0 : 1];
            y = nums[2];
            yearLen = lens[2];
        }
    } else if (count != 0 || timeCount == 0) {
        return false;
    }
    if (yearLen <= 2)
        y += y < 30 ? 2000 : 1900;
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > QDate(y, m, 1).daysInMonth())
        return false;
    int h = timeParts[0];
    if (ampm) {
        if (h < 1 || h > 12)
            return false;
        h = h % 12 + (ampm == 2 ? 12 : 0);
    }
    if (h > 23 || timeParts[1] > 59 || timeParts[2] > 59 || (ampm && timeCount == 0))
        return false;
    *julianDay = julianFromCivil(y, m, d);
    *msecs = ((h * 60 + timeParts[1]) * 60 + timeParts[2]) * 1000 + millis;
    return true;
}

} // namespace

// ---------------------------------------------------------------- dates

namespace {

// The day's place in the week, 0 for the first day of the week.
int weekdayIndex(qint64 julianDay, int firstDay)
{
    return int(((julianDay + 1) % 7 - (firstDay - 1) + 7) % 7);
}

// The first day of week 1 of a year under FirstFourDays or FirstFullWeek.
qint64 firstWeekStart(int year, int firstDay, int rule)
{
    const qint64 jan1 = julianFromCivil(year, 1, 1);
    const int w = weekdayIndex(jan1, firstDay);
    if (rule == FirstFullWeek)
        return w == 0 ? jan1 : jan1 + 7 - w;
    // The week holding 1 January has 7 - w days of the year.
    return w <= 3 ? jan1 - w : jan1 + 7 - w;
}

// Days before week 1 belong to the last week of the year before; under
// FirstFourDays the last days of December can belong to week 1 of the next.
int weekOfYear(const DateParts &p, int firstDay, int rule)
{
    if (rule == FirstJan1) {
        const qint64 jan1 = julianFromCivil(p.year, 1, 1);
        return int((p.julianDay - jan1 + weekdayIndex(jan1, firstDay)) / 7 + 1);
    }
    qint64 start = firstWeekStart(p.year, firstDay, rule);
    if (p.julianDay < start)
        start = firstWeekStart(p.year - 1, firstDay, rule);
    else if (rule == FirstFourDays && p.julianDay >= firstWeekStart(p.year + 1, firstDay, rule))
        return 1;
    return int((p.julianDay - start) / 7 + 1);
}

} // namespace

void renderDate(const DateSection &s, const DateParts &p, const Data &d, Out &out)
{
    using K = DateToken::Kind;
    const Locale &loc = d.env->loc;
    for (const DateToken &t : s.tokens) {
        switch (t.kind) {
        case K::Literal: out += t.text; break;
        case K::DateSep: out += loc.dateSeparator; break;
        case K::TimeSep: out += loc.timeSeparator; break;
        case K::Day: appendInt(out, p.day); break;
        case K::Day2: append2(out, p.day); break;
        case K::DayAbbr: out += loc.dayAbbreviations[p.dayOfWeek()]; break;
        case K::DayName: out += loc.dayNames[p.dayOfWeek()]; break;
        case K::ShortDate: renderDate(d.env->shortDate, p, d, out); break;
        case K::LongDate: renderDate(d.env->longDate, p, d, out); break;
        case K::LongTime: renderDate(d.env->longTime, p, d, out); break;
        case K::General: renderGeneral(p, d, out); break;
        case K::WeekDay: appendInt(out, weekdayIndex(p.julianDay, d.firstDay) + 1); break;
        case K::Week: appendInt(out, weekOfYear(p, d.firstDay, d.firstWeek)); break;
        case K::Month: appendInt(out, p.month); break;
        case K::Month2: append2(out, p.month); break;
        case K::MonthAbbr: out += loc.monthAbbreviations[p.month - 1]; break;
        case K::MonthName: out += loc.monthNames[p.month - 1]; break;
        case K::Quarter: appendInt(out, (p.month - 1) / 3 + 1); break;
        case K::DayOfYear: appendInt(out, p.julianDay - julianFromCivil(p.year, 1, 1) + 1); break;
        case K::Year2: append2(out, p.year % 100); break;
        case K::Year4: appendInt(out, p.year); break;
        case K::Hour: case K::Hour2: {
            int h = p.hour();
            if (s.twelveHour && (h %= 12) == 0)
                h = 12;
            if (t.kind == K::Hour)
                appendInt(out, h);
            else
                append2(out, h);
            break;
        }
        case K::Minute: appendInt(out, p.minute()); break;
        case K::Minute2: append2(out, p.minute()); break;
        case K::Second: appendInt(out, p.second()); break;
        case K::Second2: append2(out, p.second()); break;
        case K::AmPm: out += p.hour() < 12 ? t.text : t.text2; break;
        case K::AmPmLocale: out += p.hour() < 12 ? loc.amDesignator : loc.pmDesignator; break;
        }
    }
}

// The general date: the short date unless the day is 30 December 1899,
// the long time unless it is midnight; midnight of that day is a time.
void renderGeneral(const DateParts &p, const Data &d, Out &out)
{
    const bool hasDate = p.julianDay != OleBaseDay;
    if (hasDate)
        renderDate(d.env->shortDate, p, d, out);
    if (p.seconds != 0 || !hasDate) {
        if (hasDate)
            out += u' ';
        renderDate(d.env->longTime, p, d, out);
    }
}

// The calendar parts of a value for a date format: 0, or 13 when the value
// is no date, or 6 when it lies outside the years 100 to 9999.
int datePartsOf(const Value &v, const Env &env, DateParts &p)
{
    switch (v.kind) {
    case Value::Empty: return partsFromOle(0, p) ? 0 : 6;
    case Value::Bool: return partsFromOle(v.negative ? -1 : 0, p) ? 0 : 6;
    case Value::Number: {
        const double n = v.integral ? (v.negative ? -double(v.magnitude) : double(v.magnitude)) : v.number;
        return partsFromOle(n, p) ? 0 : 6;
    }
    case Value::Date: return makeParts(v.julianDay, v.msecs, p) ? 0 : 6;
    case Value::String: {
        double n = 0;
        qint64 jd = 0;
        int ms = 0;
        if (parseNumberText(v.text, env.loc, &n))
            return partsFromOle(n, p) ? 0 : 6;
        if (parseDateText(v.text, env, &jd, &ms))
            return makeParts(jd, ms, p) ? 0 : 6;
        return 13;
    }
    default: return 13;
    }
}

} // namespace Orv::VbFormat::Detail
