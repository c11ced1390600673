// Visual Basic's Format family. A format text is parsed once into tokens;
// applying it turns the value into decimal digits (or calendar parts) and
// walks the tokens, so the digits printed are exactly the rounded digits of
// the value and no floating-point arithmetic happens after the conversion.

#include "engine/script/vbformat.h"

#include <QDateTime>
#include <QLocale>

#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

namespace Orv::VbFormat {

namespace {

char16_t lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Case-insensitive ASCII comparison of s at i with a lower-case word.
bool matchesAt(QStringView s, qsizetype i, const char *word)
{
    for (; *word; ++word, ++i) {
        if (i >= s.size() || lower(s[i].unicode()) != char16_t(*word))
            return false;
    }
    return true;
}

// Access's colour codes ("[Red]") in number formats choose a colour this
// function cannot show; they are skipped. Returns the index of the ']'.
qsizetype colourCodeEnd(QStringView s, qsizetype i)
{
    static const char *const colours[] = {"black", "blue", "green", "cyan", "red", "magenta", "yellow", "white"};
    if (s[i] != u'[')
        return -1;
    for (const char *c : colours) {
        const qsizetype len = qsizetype(std::strlen(c));
        if (matchesAt(s, i + 1, c) && i + 1 + len < s.size() && s[i + 1 + len] == u']')
            return i + 1 + len;
    }
    return -1;
}

const char *const englishMonths[12] = {"January", "February", "March", "April", "May", "June", "July",
                                       "August", "September", "October", "November", "December"};
const char *const englishDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// ---------------------------------------------------------------- digits

// A non-negative decimal number as its significant digits: the value is
// 0.d[0]d[1]...d[n-1] times 10 to the power point; n == 0 is zero.
struct Digits
{
    char d[24];
    int n = 0;
    int point = 0;

    bool isZero() const { return n == 0; }
    // Digit i counted from the first significant one; zeros beyond.
    char at(int i) const { return i >= 0 && i < n ? d[i] : '0'; }
    void trim()
    {
        while (n > 0 && d[n - 1] == '0')
            --n;
        if (n == 0)
            point = 0;
    }
};

// The double rounded to `significant` digits (15 as Visual Basic shows a
// Double, 7 for a Single).
Digits digitsOf(double v, int significant)
{
    Digits x;
    v = std::fabs(v);
    if (!(v > 0) || !std::isfinite(v))
        return x;
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1);
    const char *p = buf;
    x.d[x.n++] = *p++;
    if (*p == '.') {
        for (++p; *p != 'e'; ++p)
            x.d[x.n++] = *p;
    }
    ++p; // 'e'
    const bool negative = *p++ == '-';
    int e = 0;
    for (; p < r.ptr; ++p)
        e = e * 10 + (*p - '0');
    x.point = (negative ? -e : e) + 1;
    x.trim();
    return x;
}

Digits digitsOf(quint64 u)
{
    Digits x;
    char tmp[24];
    int k = 0;
    do {
        tmp[k++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    for (int i = 0; i < k; ++i)
        x.d[i] = tmp[k - 1 - i];
    x.n = k;
    x.point = k;
    x.trim();
    return x;
}

// Rounds to `frac` digits after the decimal point, half away from zero.
void roundTo(Digits &x, int frac)
{
    const int keep = x.point + frac;
    if (keep >= x.n)
        return;
    if (keep < 0) {
        x.n = 0;
        x.point = 0;
        return;
    }
    const bool up = x.d[keep] >= '5';
    x.n = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && x.d[i] == '9')
            --i;
        if (i < 0) {
            x.d[0] = '1';
            x.n = 1;
            ++x.point;
        } else {
            ++x.d[i];
            x.n = i + 1;
        }
    }
    x.trim();
}

// ---------------------------------------------------------------- values

struct Value
{
    enum Kind { Empty, Null, Bool, Number, Date, String, Other };
    Kind kind = Empty;
    bool negative = false;
    bool integral = false;  // exact integer in magnitude
    bool single = false;    // a Single: 7 significant digits
    quint64 magnitude = 0;  // integral values
    double number = 0;      // other numbers; booleans -1/0
    qint64 julianDay = 0;   // dates
    int msecs = 0;          // milliseconds into the day
    QString text;           // strings
    QVariant other;
};

Value valueOf(const QVariant &v)
{
    Value r;
    if (!v.isValid())
        return r;
    if (v.isNull()) {
        r.kind = Value::Null;
        return r;
    }
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        r.kind = Value::Bool;
        r.negative = v.toBool();
        r.integral = true;
        r.magnitude = r.negative ? 1 : 0;
        break;
    case QMetaType::Int: case QMetaType::Short: case QMetaType::Long: case QMetaType::LongLong:
    case QMetaType::SChar: {
        const qint64 i = v.toLongLong();
        r.kind = Value::Number;
        r.integral = true;
        r.negative = i < 0;
        r.magnitude = i < 0 ? quint64(0) - quint64(i) : quint64(i);
        break;
    }
    case QMetaType::UInt: case QMetaType::UShort: case QMetaType::ULong: case QMetaType::ULongLong:
    case QMetaType::UChar:
        r.kind = Value::Number;
        r.integral = true;
        r.magnitude = v.toULongLong();
        break;
    case QMetaType::Float:
        r.single = true;
        [[fallthrough]];
    case QMetaType::Double:
        r.kind = Value::Number;
        r.number = v.toDouble();
        r.negative = r.number < 0;
        break;
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        r.kind = Value::Date;
        r.julianDay = dt.date().toJulianDay();
        r.msecs = dt.time().isValid() ? dt.time().msecsSinceStartOfDay() : 0;
        if (!dt.date().isValid())
            r.kind = Value::Null;
        break;
    }
    case QMetaType::QDate:
        r.kind = v.toDate().isValid() ? Value::Date : Value::Null;
        r.julianDay = v.toDate().toJulianDay();
        break;
    case QMetaType::QTime:
        r.kind = v.toTime().isValid() ? Value::Date : Value::Null;
        r.julianDay = 2415019; // 30 December 1899: date 0
        r.msecs = v.toTime().msecsSinceStartOfDay();
        break;
    case QMetaType::QString: case QMetaType::QByteArray: case QMetaType::QChar: case QMetaType::Char:
        r.kind = Value::String;
        r.text = v.toString();
        break;
    case QMetaType::Nullptr:
        r.kind = Value::Null;
        break;
    default:
        r.kind = Value::Other;
        r.other = v;
        break;
    }
    return r;
}

constexpr qint64 OleBaseDay = 2415019; // Julian day of 30 December 1899
constexpr qint64 MinJulianDay = 1757585; // 1 January 100
constexpr qint64 MaxJulianDay = 5373484; // 31 December 9999

// A date as its OLE number: days since 30 December 1899, the time as the
// fraction; before the base day the fraction still counts forward.
double oleNumber(const Value &v)
{
    const double days = double(v.julianDay - OleBaseDay);
    const double frac = v.msecs / 86400000.0;
    return days >= 0 ? days + frac : days - frac;
}

// A calendar date and time of day, rounded to the second.
struct DateParts
{
    qint64 julianDay = 0;
    int year = 0, month = 0, day = 0;
    int seconds = 0; // since midnight
    int hour() const { return seconds / 3600; }
    int minute() const { return seconds / 60 % 60; }
    int second() const { return seconds % 60; }
    int dayOfWeek() const { return int((julianDay + 1) % 7); } // 0 Sunday
};

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

bool partsFromOle(double v, DateParts &p)
{
    if (!(v > -657435.0 && v < 2958466.0))
        return false;
    const double days = std::trunc(v);
    const double frac = std::fabs(v - days);
    return makeParts(OleBaseDay + qint64(days), qint64(std::llround(frac * 86400000.0)), p);
}

// ---------------------------------------------------------------- tokens

struct NumToken
{
    enum Kind : quint8 { Literal, IntDigit, FracDigit, Point, Exponent, ExpDigit };
    Kind kind;
    bool zero;   // a '0' placeholder rather than '#'
    int index;   // among the placeholders of its kind, left to right
    QString text;
};

struct NumSection
{
    std::vector<NumToken> tokens;
    std::vector<char> fracZero; // per fraction placeholder: is it a '0'
    int intCount = 0, fracCount = 0, expCount = 0;
    int shift = 0; // powers of ten: +2 for each %, -3 for each scaling comma
    bool grouping = false, scientific = false, expPlus = false;
    bool blank = true; // the section's text is empty: the first one stands in
};

struct DateToken
{
    enum Kind : quint8 {
        Literal, DateSep, TimeSep,
        Day, Day2, DayAbbr, DayName, ShortDate, LongDate,
        WeekDay, Week,
        Month, Month2, MonthAbbr, MonthName,
        Quarter, DayOfYear, Year2, Year4,
        Hour, Hour2, Minute, Minute2, Second, Second2,
        LongTime, General, AmPm, AmPmLocale
    };
    Kind kind;
    QString text, text2; // literal; the morning and afternoon texts of AmPm
};

struct DateSection
{
    std::vector<DateToken> tokens;
    bool twelveHour = false;
};

struct TextToken
{
    enum Kind : quint8 { Literal, At, Amp };
    Kind kind;
    QString text;
};

struct TextSection
{
    std::vector<TextToken> tokens;
    int count = 0; // placeholders
    bool lower = false, upper = false, leftToRight = false;
};

// A locale with its date and time patterns parsed.
struct Env
{
    Locale loc;
    unsigned generation = 0;
    DateSection shortDate, longDate, longTime;
    bool dayFirst = false; // the short date names the day before the month
};

// ---------------------------------------------------------------- parsing

// Walks a format text: quoted text and backslash escapes go to `literal`,
// Access colour codes are skipped, every other character goes to
// `special`, which returns how many characters it used.
template <class Literal, class Special>
void scan(QStringView s, Literal &&literal, Special &&special)
{
    for (qsizetype i = 0; i < s.size();) {
        const char16_t c = s[i].unicode();
        qsizetype end = -1;
        if (c == u'"') {
            end = s.indexOf(u'"', i + 1);
            if (end < 0)
                end = s.size();
            literal(s.mid(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == u'\\') {
            literal(s.mid(i + 1, 1));
            i += 2;
        } else if ((end = colourCodeEnd(s, i)) >= 0) {
            i = end + 1;
        } else {
            i += special(i);
        }
    }
}

// Gathers a section's tokens, merging neighbouring literal characters.
template <class Token>
struct Builder
{
    std::vector<Token> &tokens;
    QString lit;
    void literal(QStringView s) { lit += s; }
    void push(Token t)
    {
        flush();
        tokens.push_back(std::move(t));
    }
    void flush()
    {
        if (!lit.isEmpty()) {
            Token t{};
            t.text = std::exchange(lit, QString());
            tokens.push_back(std::move(t));
        }
    }
};

// Splits a format at the semicolons outside quotes and escapes; a fifth
// section and what follows it are ignored.
int splitSections(QStringView s, QStringView out[4])
{
    int count = 0;
    qsizetype start = 0;
    scan(s, [](QStringView) {}, [&](qsizetype i) {
        if (s[i] == u';' && count < 4) {
            out[count++] = s.mid(start, i - start);
            start = count < 4 ? i + 1 : s.size();
        }
        return 1;
    });
    if (count < 4)
        out[count++] = s.mid(start);
    return count;
}

enum class Family { Number, Date, Text };

// What kind of format a text is: digit placeholders make it a number
// format, @ and & a string format, date and time letters a date format.
// Letters are literal in number formats, so "#,##0.00;;;Nil" stays one.
Family classify(QStringView s)
{
    bool digits = false, textPlaceholder = false, textFlag = false, date = false;
    scan(s, [](QStringView) {}, [&](qsizetype i) {
        switch (lower(s[i].unicode())) {
        case u'0': case u'#': digits = true; break;
        case u'@': case u'&': textPlaceholder = true; break;
        case u'<': case u'>': case u'!': textFlag = true; break;
        case u'd': case u'm': case u'y': case u'h': case u'n': case u's': case u'w': case u'q': case u'c':
            date = true;
            break;
        case u't': date = date || matchesAt(s, i, "ttttt"); break;
        case u'a': date = date || matchesAt(s, i, "am/pm") || matchesAt(s, i, "a/p") || matchesAt(s, i, "ampm"); break;
        default: break;
        }
        return 1;
    });
    if (digits)
        return Family::Number;
    if (textPlaceholder)
        return Family::Text;
    return date ? Family::Date : textFlag ? Family::Text : Family::Number;
}

void parseNumber(QStringView s, NumSection &out)
{
    out.blank = s.isEmpty();
    Builder<NumToken> b{out.tokens, {}};
    bool afterPoint = false, inExponent = false;
    int percent = 0;
    std::vector<int> commas; // integer placeholders before each comma of the integer part
    scan(s, [&](QStringView t) { b.literal(t); }, [&](qsizetype i) -> qsizetype {
        const QChar c = s[i];
        switch (c.unicode()) {
        case u'*': // a fill character needs a field width, which Format does not know
            return 2;
        case u'0': case u'#': {
            const bool zero = c == u'0';
            if (inExponent) {
                b.push({NumToken::ExpDigit, zero, out.expCount++, {}});
            } else if (afterPoint) {
                b.push({NumToken::FracDigit, zero, out.fracCount++, {}});
                out.fracZero.push_back(zero);
            } else {
                b.push({NumToken::IntDigit, zero, out.intCount++, {}});
            }
            return 1;
        }
        case u'.':
            if (afterPoint || inExponent)
                break;
            afterPoint = true;
            b.push({NumToken::Point, false, 0, {}});
            return 1;
        case u',':
            if (!afterPoint && !inExponent)
                commas.push_back(out.intCount);
            return 1;
        case u'%':
            ++percent;
            break;
        case u'E': case u'e':
            if (inExponent || i + 2 >= s.size() || (s[i + 1] != u'+' && s[i + 1] != u'-')
                || (s[i + 2] != u'0' && s[i + 2] != u'#'))
                break;
            inExponent = out.scientific = true;
            out.expPlus = s[i + 1] == u'+';
            b.push({NumToken::Exponent, false, 0, QString(c)});
            return 2;
        default:
            break;
        }
        b.literal(s.mid(i, 1));
        return 1;
    });
    b.flush();
    // Commas right after the last integer placeholder scale by 1000 each;
    // any other comma of the integer part asks for digit grouping.
    int scale = 0;
    for (int seen : commas) {
        if (out.intCount > 0 && seen == out.intCount)
            ++scale;
        else
            out.grouping = true;
    }
    out.shift = 2 * std::min(percent, 64) - 3 * std::min(scale, 64);
}

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

void parseText(QStringView s, TextSection &out)
{
    Builder<TextToken> b{out.tokens, {}};
    scan(s, [&](QStringView t) { b.literal(t); }, [&](qsizetype i) {
        switch (s[i].unicode()) {
        case u'@': case u'&':
            b.push({s[i] == u'@' ? TextToken::At : TextToken::Amp, {}});
            ++out.count;
            break;
        case u'<': out.lower = true; out.upper = false; break;
        case u'>': out.upper = true; out.lower = false; break;
        case u'!': out.leftToRight = true; break;
        default: b.literal(s.mid(i, 1)); break;
        }
        return 1;
    });
    b.flush();
}

// ---------------------------------------------------------------- locale

std::mutex envMutex;
std::shared_ptr<const Env> envSlot; // guarded by envMutex
std::atomic<unsigned> envGeneration{1};

// Parses a locale's date pattern; composite tokens (ddddd, ttttt, c) are
// dropped there, since they would refer back to the patterns themselves.
DateSection localePattern(const QString &pattern)
{
    DateSection s;
    parseDate(pattern, s);
    std::erase_if(s.tokens, [](const DateToken &t) {
        return t.kind == DateToken::ShortDate || t.kind == DateToken::LongDate
            || t.kind == DateToken::LongTime || t.kind == DateToken::General;
    });
    return s;
}

std::shared_ptr<const Env> makeEnv(Locale loc, unsigned generation)
{
    // Whatever is missing or out of range is taken from English.
    const Locale en = Locale::english();
    const auto keep = [](auto &field, const auto &fallback, bool good) {
        if (!good)
            field = fallback;
    };
    keep(loc.decimalSeparator, en.decimalSeparator, !loc.decimalSeparator.isNull());
    keep(loc.groupSeparator, en.groupSeparator, !loc.groupSeparator.isNull());
    keep(loc.monthNames, en.monthNames, loc.monthNames.size() == 12);
    keep(loc.monthAbbreviations, en.monthAbbreviations, loc.monthAbbreviations.size() == 12);
    keep(loc.dayNames, en.dayNames, loc.dayNames.size() == 7);
    keep(loc.dayAbbreviations, en.dayAbbreviations, loc.dayAbbreviations.size() == 7);
    keep(loc.shortDate, en.shortDate, !loc.shortDate.isEmpty());
    keep(loc.longDate, en.longDate, !loc.longDate.isEmpty());
    keep(loc.longTime, en.longTime, !loc.longTime.isEmpty());
    keep(loc.numberDigits, en.numberDigits, loc.numberDigits >= 0 && loc.numberDigits <= 9);
    keep(loc.currencyDigits, en.currencyDigits, loc.currencyDigits >= 0 && loc.currencyDigits <= 9);
    keep(loc.negativeNumber, en.negativeNumber, loc.negativeNumber >= 0 && loc.negativeNumber <= 4);
    keep(loc.currencyPosition, en.currencyPosition, loc.currencyPosition >= 0 && loc.currencyPosition <= 3);
    keep(loc.negativeCurrency, en.negativeCurrency, loc.negativeCurrency >= 0 && loc.negativeCurrency <= 15);
    keep(loc.firstDayOfWeek, en.firstDayOfWeek, loc.firstDayOfWeek >= Sunday && loc.firstDayOfWeek <= Saturday);
    keep(loc.firstWeekOfYear, en.firstWeekOfYear,
         loc.firstWeekOfYear >= FirstJan1 && loc.firstWeekOfYear <= FirstFullWeek);
    auto env = std::make_shared<Env>();
    env->shortDate = localePattern(loc.shortDate);
    env->longDate = localePattern(loc.longDate);
    env->longTime = localePattern(loc.longTime);
    const QString sd = loc.shortDate.toLower();
    const qsizetype d = sd.indexOf(u'd'), m = sd.indexOf(u'm');
    env->dayFirst = d >= 0 && (m < 0 || d < m);
    env->loc = std::move(loc);
    env->generation = generation;
    return env;
}

std::shared_ptr<const Env> currentEnv()
{
    std::lock_guard<std::mutex> lock(envMutex);
    if (!envSlot)
        envSlot = makeEnv(Locale::english(), envGeneration.load());
    return envSlot;
}

// ---------------------------------------------------------------- text to value

// A numeric string as Visual Basic reads one: blanks around, a sign before
// or after, the currency symbol, grouping separators in the integer part,
// an exponent, or parentheses for a negative amount.
bool parseNumberText(QStringView s, const Locale &loc, double *out)
{
    s = s.trimmed();
    bool negative = false;
    if (s.size() >= 2 && s.front() == u'(' && s.back() == u')') {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    bool signSeen = false;
    auto takeAffixes = [&](bool front) {
        for (bool again = true; again && !s.isEmpty();) {
            again = false;
            const QChar c = front ? s.front() : s.back();
            if (!signSeen && (c == u'-' || c == u'+')) {
                signSeen = true;
                negative = negative != (c == u'-');
                s = (front ? s.mid(1) : s.chopped(1)).trimmed();
                again = true;
            } else if (!loc.currencySymbol.isEmpty()
                       && (front ? s.startsWith(loc.currencySymbol) : s.endsWith(loc.currencySymbol))) {
                s = (front ? s.mid(loc.currencySymbol.size()) : s.chopped(loc.currencySymbol.size())).trimmed();
                again = true;
            }
        }
    };
    takeAffixes(true);
    takeAffixes(false);
    char buf[400];
    int n = 0;
    int digits = 0;
    int group = -1; // digits since the last grouping separator, -1 before the first
    bool point = false, exponent = false;
    const auto groupsOk = [&] { return group < 0 || group == 3; };
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (n >= int(sizeof buf) - 2)
            return false;
        const char16_t c = s[i].unicode();
        if (isDigit(c)) {
            buf[n++] = char(c);
            if (!exponent && !point) {
                ++digits;
                if (group >= 0)
                    ++group;
            }
        } else if (!point && !exponent && c == loc.decimalSeparator.unicode()) {
            if (!groupsOk())
                return false;
            buf[n++] = '.';
            point = true;
        } else if (!point && !exponent && c == loc.groupSeparator.unicode()) {
            // Grouping separators stand between groups of three digits.
            if (group < 0 ? digits < 1 || digits > 3 : group != 3)
                return false;
            group = 0;
        } else if (!exponent && digits > 0 && (c == u'e' || c == u'E' || c == u'd' || c == u'D')) {
            if (!point && !groupsOk())
                return false;
            buf[n++] = 'e';
            exponent = true;
            if (i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-'))
                buf[n++] = char(s[++i].unicode());
            if (i + 1 >= s.size() || !isDigit(s[i + 1].unicode()))
                return false;
        } else {
            return false;
        }
    }
    if (digits == 0 && !point)
        return false;
    if (!point && !exponent && !groupsOk())
        return false;
    double v = 0;
    const auto r = std::from_chars(buf, buf + n, v);
    if (r.ec != std::errc() || r.ptr != buf + n || !std::isfinite(v))
        return false;
    *out = negative ? -v : v;
    return true;
}

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

// ---------------------------------------------------------------- numbers

struct Number
{
    Digits x;
    bool negative = false;
    bool finite = true;
    int significant = 15;
    double raw = 0;
};

Number fromDouble(double v, int significant)
{
    Number r;
    r.raw = v;
    r.negative = v < 0;
    r.finite = std::isfinite(v);
    r.significant = significant;
    if (r.finite)
        r.x = digitsOf(v, significant);
    return r;
}

// The value as a number for a numeric format: Empty is 0, True -1, a date
// its OLE number, a numeric string its number. False when not numeric.
bool numberOf(const Value &v, const Locale &loc, Number &r)
{
    switch (v.kind) {
    case Value::Empty:
        r = Number();
        return true;
    case Value::Bool:
    case Value::Number:
        if (!v.integral) {
            r = fromDouble(v.number, v.single ? 7 : 15);
        } else {
            r = Number();
            r.x = digitsOf(v.magnitude);
            r.negative = v.negative;
            r.significant = 20;
        }
        return true;
    case Value::Date:
        r = fromDouble(oleNumber(v), 15);
        return true;
    case Value::String: {
        double d = 0;
        if (!parseNumberText(v.text, loc, &d))
            return false;
        r = fromDouble(d, 15);
        return true;
    }
    default:
        return false;
    }
}

QString nonFiniteText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    return v < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
}

void appendInt(QString &out, qint64 v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    for (const char *p = buf; p < r.ptr; ++p)
        out += QLatin1Char(*p);
}

void append2(QString &out, int v)
{
    out += QLatin1Char(char('0' + v / 10 % 10));
    out += QLatin1Char(char('0' + v % 10));
}

// A number as CStr writes it: up to `significant` digits, scientific
// notation once the integer part or the decimals would need more.
QString generalNumber(const Digits &x, bool negative, int significant, const Locale &loc)
{
    if (x.isZero())
        return QStringLiteral("0");
    QString out;
    out.reserve(x.n + 8);
    if (negative)
        out += u'-';
    if (x.point > significant || x.n - x.point > significant) {
        out += QLatin1Char(x.d[0]);
        if (x.n > 1) {
            out += loc.decimalSeparator;
            for (int i = 1; i < x.n; ++i)
                out += QLatin1Char(x.d[i]);
        }
        const int e = x.point - 1;
        out += e < 0 ? QLatin1String("E-") : QLatin1String("E+");
        if (std::abs(e) < 10)
            out += u'0';
        appendInt(out, std::abs(e));
        return out;
    }
    if (x.point <= 0) {
        out += u'0';
        out += loc.decimalSeparator;
        for (int i = x.point; i < 0; ++i)
            out += u'0';
        for (int i = 0; i < x.n; ++i)
            out += QLatin1Char(x.d[i]);
        return out;
    }
    for (int i = 0; i < x.point; ++i)
        out += QLatin1Char(x.at(i));
    if (x.n > x.point) {
        out += loc.decimalSeparator;
        for (int i = x.point; i < x.n; ++i)
            out += QLatin1Char(x.d[i]);
    }
    return out;
}

void renderNumber(const NumSection &s, Digits x, bool minus, const Locale &loc, QString &out)
{
    if (minus)
        out += u'-';
    const int places = s.intCount, decimals = s.fracCount;
    if (!x.isZero())
        x.point += s.shift;
    int exponent = 0;
    if (s.scientific && !x.isZero()) {
        exponent = x.point - places;
        x.point = places;
        roundTo(x, decimals);
        exponent += x.point - places;
        x.point = places;
    } else {
        roundTo(x, decimals);
    }
    const int intLen = std::max(x.point, 0);
    // '#' fraction places show no trailing zeros.
    int shownDecimals = 0;
    for (int j = decimals - 1; j >= 0; --j) {
        if (s.fracZero[size_t(j)] || x.at(x.point + j) != '0') {
            shownDecimals = j + 1;
            break;
        }
    }
    char expDigits[8];
    int expLen = 0;
    for (int e = std::abs(exponent); e || !expLen; e /= 10)
        expDigits[expLen++] = char('0' + e % 10); // least significant first
    auto intDigit = [&](int pos) { // pos counted from the right, from 0
        out += QLatin1Char(x.at(intLen - 1 - pos));
        if (s.grouping && pos > 0 && pos % 3 == 0)
            out += loc.groupSeparator;
    };
    for (const NumToken &t : s.tokens) {
        switch (t.kind) {
        case NumToken::Literal:
            out += t.text;
            break;
        case NumToken::IntDigit: {
            const int pos = places - 1 - t.index;
            if (t.index == 0) {
                for (int p = intLen - 1; p > pos; --p)
                    intDigit(p);
            }
            if (pos < intLen) {
                intDigit(pos);
            } else if (t.zero) {
                out += u'0';
                if (s.grouping && pos > 0 && pos % 3 == 0)
                    out += loc.groupSeparator;
            }
            break;
        }
        case NumToken::Point:
            if (places == 0) {
                for (int p = intLen - 1; p >= 0; --p)
                    out += QLatin1Char(x.at(intLen - 1 - p));
            }
            out += loc.decimalSeparator;
            break;
        case NumToken::FracDigit:
            if (t.index < shownDecimals)
                out += QLatin1Char(x.at(x.point + t.index));
            break;
        case NumToken::Exponent:
            out += t.text;
            if (exponent < 0)
                out += u'-';
            else if (s.expPlus)
                out += u'+';
            break;
        case NumToken::ExpDigit: {
            const int pos = s.expCount - 1 - t.index;
            if (t.index == 0) {
                for (int p = expLen - 1; p > pos; --p)
                    out += QLatin1Char(expDigits[p]);
            }
            if (pos < expLen)
                out += QLatin1Char(expDigits[pos]);
            else if (t.zero)
                out += u'0';
            break;
        }
        }
    }
}

// The Null section shows its literal text only.
QString renderLiterals(const NumSection &s)
{
    QString out;
    for (const NumToken &t : s.tokens) {
        if (t.kind == NumToken::Literal)
            out += t.text;
    }
    return out;
}

// ---------------------------------------------------------------- dates

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

enum class Kind { Plain, GeneralNumber, Boolean, Number, Date, Text };

} // namespace

struct CompiledFormat::Data
{
    QString text;
    Kind kind = Kind::Plain;
    std::shared_ptr<const Env> env;
    int firstDay = Sunday;
    int firstWeek = FirstJan1;
    NumSection number[4];
    int numberCount = 0;
    DateSection date;
    TextSection texts[2];
    int textCount = 0;
    QString yes, no;
};

namespace {

using Data = CompiledFormat::Data;

void renderGeneral(const DateParts &p, const Data &d, QString &out);

void renderDate(const DateSection &s, const DateParts &p, const Data &d, QString &out)
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
void renderGeneral(const DateParts &p, const Data &d, QString &out)
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

QString isoText(const Value &v)
{
    QString s = QDate::fromJulianDay(v.julianDay).toString(Qt::ISODate);
    if (v.msecs)
        s += u'T' + QTime::fromMSecsSinceStartOfDay(v.msecs).toString(Qt::ISODate);
    return s;
}

// Format without a format: CStr's text.
QString plainText(const Value &v, const Data &d)
{
    switch (v.kind) {
    case Value::Empty:
    case Value::Null:
        return QString();
    case Value::Bool:
        return v.negative ? QStringLiteral("True") : QStringLiteral("False");
    case Value::Number: {
        Number n;
        numberOf(v, d.env->loc, n);
        if (!n.finite)
            return nonFiniteText(n.raw);
        return generalNumber(n.x, n.negative, n.significant, d.env->loc);
    }
    case Value::Date: {
        DateParts p;
        if (!makeParts(v.julianDay, v.msecs, p))
            return isoText(v);
        QString out;
        renderGeneral(p, d, out);
        return out;
    }
    case Value::String:
        return v.text;
    case Value::Other:
        return v.other.toString();
    }
    return QString();
}

void renderText(const TextSection &s, const QString &text, QString &out)
{
    const QString value = s.lower ? text.toLower() : s.upper ? text.toUpper() : text;
    const qsizetype len = value.size();
    int k = 0;
    for (const TextToken &t : s.tokens) {
        if (t.kind == TextToken::Literal) {
            out += t.text;
            continue;
        }
        // Characters fill the placeholders from the right, or from the left
        // after '!'; those that do not fit go before the first placeholder
        // (after the last one).
        if (s.leftToRight) {
            if (k < len)
                out += value[k];
            else if (t.kind == TextToken::At)
                out += u' ';
            if (k == s.count - 1 && len > s.count)
                out += QStringView(value).mid(s.count);
        } else {
            if (k == 0 && len > s.count)
                out += QStringView(value).left(len - s.count);
            const qsizetype c = len - (s.count - k);
            if (c >= 0)
                out += value[c];
            else if (t.kind == TextToken::At)
                out += u' ';
        }
        ++k;
    }
    if (s.count == 0)
        out += value;
}

QString applyFormat(const Data &d, const Value &v)
{
    switch (d.kind) {
    case Kind::Plain:
        return plainText(v, d);
    case Kind::GeneralNumber:
    case Kind::Boolean: {
        if (v.kind == Value::Null)
            return QString();
        Number n;
        if (!numberOf(v, d.env->loc, n))
            return plainText(v, d);
        if (d.kind == Kind::Boolean)
            return n.finite && n.x.isZero() ? d.no : d.yes;
        if (!n.finite)
            return nonFiniteText(n.raw);
        return generalNumber(n.x, n.negative, n.significant, d.env->loc);
    }
    case Kind::Number: {
        if (v.kind == Value::Null)
            return d.numberCount == 4 ? renderLiterals(d.number[3]) : QString();
        Number n;
        if (!numberOf(v, d.env->loc, n))
            return plainText(v, d);
        if (!n.finite)
            return nonFiniteText(n.raw);
        // The sign chooses the section before rounding, so a negative
        // number that rounds to zero still shows as negative.
        const NumSection *s = &d.number[0];
        bool minus = false;
        if (n.negative && !n.x.isZero()) {
            if (d.numberCount >= 2 && !d.number[1].blank)
                s = &d.number[1];
            else
                minus = true;
        } else if (n.x.isZero() && d.numberCount >= 3 && !d.number[2].blank) {
            s = &d.number[2];
        }
        QString out;
        out.reserve(32);
        renderNumber(*s, n.x, minus, d.env->loc, out);
        return out;
    }
    case Kind::Date: {
        if (v.kind == Value::Null)
            return QString();
        DateParts p;
        if (datePartsOf(v, *d.env, p) != 0)
            return plainText(v, d);
        QString out;
        out.reserve(32);
        renderDate(d.date, p, d, out);
        return out;
    }
    case Kind::Text: {
        const QString text = plainText(v, d);
        const TextSection &s = text.isEmpty() && d.textCount == 2 ? d.texts[1] : d.texts[0];
        if (v.kind == Value::Null && d.textCount < 2)
            return QString();
        QString out;
        renderText(s, text, out);
        return out;
    }
    }
    return QString();
}

// ---------------------------------------------------------------- compiling

QString decimalsPattern(int digits)
{
    return digits > 0 ? QLatin1Char('.') + QString(digits, QLatin1Char('0')) : QString();
}

// Every character escaped, so that a currency symbol such as "Fr." stays
// literal inside a number format.
QString escaped(QStringView s)
{
    QString r;
    for (QChar c : s) {
        r += u'\\';
        r += c;
    }
    return r;
}

QString negativeNumberPattern(const QString &body, int style)
{
    switch (style) {
    case 0: return u'(' + body + u')';
    case 2: return QLatin1String("- ") + body;
    case 3: return body + u'-';
    case 4: return body + QLatin1String(" -");
    default: return u'-' + body;
    }
}

const char *const currencyPositiveForms[4] = {"$1", "1$", "$ 1", "1 $"};
const char *const currencyNegativeForms[16] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                               "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};

bool parenthesised(int negativeCurrency)
{
    return currencyNegativeForms[negativeCurrency][0] == '(';
}

// A form above with $ standing for the symbol and 1 for the amount.
QString expandForm(const char *form, const QString &symbol, const QString &amount)
{
    QString r;
    for (; *form; ++form) {
        if (*form == '$')
            r += symbol;
        else if (*form == '1')
            r += amount;
        else
            r += QLatin1Char(*form);
    }
    return r;
}

QString currencyPattern(const Locale &loc, const QString &symbol, const QString &body, Tristate parens)
{
    const QString sym = escaped(symbol);
    const QString positive = expandForm(currencyPositiveForms[loc.currencyPosition], sym, body);
    QString negative;
    if (parens == TriUseDefault)
        negative = expandForm(currencyNegativeForms[loc.negativeCurrency], sym, body);
    else if (parens != TriFalse)
        negative = u'(' + positive + u')';
    else if (parenthesised(loc.negativeCurrency))
        negative = u'-' + positive;
    else
        negative = expandForm(currencyNegativeForms[loc.negativeCurrency], sym, body);
    return positive + u';' + negative;
}

std::shared_ptr<const Data> compile(const QString &fmt, int firstDay, int firstWeek)
{
    auto d = std::make_shared<Data>();
    d->text = fmt;
    d->env = currentEnv();
    const Locale &loc = d->env->loc;
    d->firstDay = firstDay >= Sunday && firstDay <= Saturday ? firstDay
                  : firstDay == UseSystemDay                 ? int(loc.firstDayOfWeek)
                                                             : int(Sunday);
    d->firstWeek = firstWeek >= FirstJan1 && firstWeek <= FirstFullWeek ? firstWeek
                   : firstWeek == UseSystemWeek                          ? int(loc.firstWeekOfYear)
                                                                         : int(FirstJan1);
    if (fmt.isEmpty())
        return d;

    const QString key = fmt.toLower();
    const QString fixed = QLatin1Char('0') + decimalsPattern(loc.numberDigits);
    const QString standard = QLatin1String("#,##") + fixed;
    QString pattern;
    Family family = Family::Number;
    static const struct
    {
        const char *name;
        const char *pattern;
    } dateNames[] = {{"general date", "c"},         {"long date", "dddddd"},   {"medium date", "dd-mmm-yy"},
                     {"short date", "ddddd"},       {"long time", "ttttt"},    {"medium time", "hh:nn AMPM"},
                     {"short time", "hh:nn"}};
    static const char *const booleans[][3] = {{"yes/no", "Yes", "No"}, {"true/false", "True", "False"},
                                              {"on/off", "On", "Off"}};
    if (key == QLatin1String("general number")) {
        d->kind = Kind::GeneralNumber;
        return d;
    }
    for (const auto &b : booleans) {
        if (key == QLatin1String(b[0])) {
            d->kind = Kind::Boolean;
            d->yes = QLatin1String(b[1]);
            d->no = QLatin1String(b[2]);
            return d;
        }
    }
    for (const auto &n : dateNames) {
        if (key == QLatin1String(n.name)) {
            pattern = QLatin1String(n.pattern);
            family = Family::Date;
        }
    }
    if (!pattern.isEmpty()) {
        // a named date format
    } else if (key == QLatin1String("currency") || key == QLatin1String("euro")) {
        pattern = currencyPattern(loc, key == QLatin1String("euro") ? QStringLiteral("\u20ac") : loc.currencySymbol,
                                  QLatin1String("#,##0") + decimalsPattern(loc.currencyDigits), TriUseDefault);
    } else if (key == QLatin1String("fixed")) {
        pattern = fixed + u';' + negativeNumberPattern(fixed, loc.negativeNumber);
    } else if (key == QLatin1String("standard")) {
        pattern = standard + u';' + negativeNumberPattern(standard, loc.negativeNumber);
    } else if (key == QLatin1String("percent")) {
        pattern = QStringLiteral("0.00%");
    } else if (key == QLatin1String("scientific")) {
        pattern = QStringLiteral("0.00E+00");
    } else {
        pattern = fmt;
        family = classify(fmt);
    }

    QStringView sections[4];
    const int count = splitSections(pattern, sections);
    switch (family) {
    case Family::Number:
        d->kind = Kind::Number;
        d->numberCount = count;
        for (int i = 0; i < count; ++i)
            parseNumber(sections[i], d->number[i]);
        break;
    case Family::Date:
        // One section serves every date; Null formats as "".
        d->kind = Kind::Date;
        parseDate(sections[0], d->date);
        break;
    case Family::Text:
        d->kind = Kind::Text;
        d->textCount = std::min(count, 2);
        for (int i = 0; i < d->textCount; ++i)
            parseText(sections[i], d->texts[i]);
        break;
    }
    return d;
}

// Formats compiled for the free functions, a few per thread: scripts and
// SQL call Format with the same texts again and again.
struct CacheEntry
{
    QString text;
    int firstDay = 0, firstWeek = 0;
    unsigned generation = 0;
    std::shared_ptr<const Data> data;
};

std::shared_ptr<const Data> cached(const QString &fmt, int firstDay, int firstWeek)
{
    thread_local std::array<CacheEntry, 16> cache;
    thread_local unsigned next = 0;
    const unsigned generation = envGeneration.load(std::memory_order_acquire);
    for (const CacheEntry &e : cache) {
        if (e.data && e.generation == generation && e.firstDay == firstDay && e.firstWeek == firstWeek
            && e.text == fmt)
            return e.data;
    }
    CacheEntry &e = cache[next++ % cache.size()];
    e.data = compile(fmt, firstDay, firstWeek);
    e.text = fmt;
    e.firstDay = firstDay;
    e.firstWeek = firstWeek;
    e.generation = e.data->env->generation;
    return e.data;
}

std::shared_ptr<const Env> threadEnv()
{
    thread_local std::shared_ptr<const Env> env;
    if (!env || env->generation != envGeneration.load(std::memory_order_acquire))
        env = currentEnv();
    return env;
}

enum class NumberStyle { Number, Currency, Percent };

QString formatNumeric(const QVariant &value, NumberStyle style, int digits, Tristate leadingDigit,
                      Tristate parens, Tristate groupDigits, bool *ok)
{
    if (ok)
        *ok = false;
    const Value v = valueOf(value);
    const std::shared_ptr<const Env> env = threadEnv();
    const Locale &loc = env->loc;
    Number n;
    if (digits < -1 || digits > MaxDigits || v.kind == Value::Null || !numberOf(v, loc, n))
        return QString();
    if (ok)
        *ok = true;
    if (!n.finite)
        return nonFiniteText(n.raw);
    if (digits == -1)
        digits = style == NumberStyle::Currency ? loc.currencyDigits : loc.numberDigits;
    const bool leading = leadingDigit == TriUseDefault ? loc.leadingZero : leadingDigit != TriFalse;
    const bool grouping = groupDigits == TriUseDefault ? loc.groupDigits : groupDigits != TriFalse;
    QString body = grouping ? QStringLiteral("#,##") : QString();
    body += leading || digits == 0 ? u'0' : u'#';
    body += decimalsPattern(digits);
    QString pattern;
    if (style == NumberStyle::Currency) {
        pattern = currencyPattern(loc, loc.currencySymbol, body, parens);
    } else {
        if (style == NumberStyle::Percent)
            body += u'%';
        const int negative = parens == TriUseDefault ? loc.negativeNumber
                             : parens != TriFalse    ? 0
                             : loc.negativeNumber == 0 ? 1
                                                       : loc.negativeNumber;
        pattern = body + u';' + negativeNumberPattern(body, negative);
    }
    return applyFormat(*cached(pattern, Sunday, FirstJan1), v);
}

// Qt's date and time patterns in Format's syntax.
QString fromQtPattern(QStringView qt, QChar dateSep, QChar timeSep)
{
    QString out;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt[i];
        qsizetype run = 1;
        while (i + run < qt.size() && qt[i + run] == c)
            ++run;
        const char16_t u = c.unicode();
        if (u == u'\'') {
            if (run >= 2) {
                out += QLatin1String("\\'");
                i += 1;
                continue;
            }
            qsizetype j = i + 1;
            for (; j < qt.size() && qt[j] != u'\''; ++j)
                out += escaped(qt.mid(j, 1));
            i = j;
            continue;
        }
        QString piece;
        switch (u) {
        case u'd': piece = QString(std::min<qsizetype>(run, 4), u'd'); break;
        case u'M': case u'L': piece = QString(std::min<qsizetype>(run, 4), u'm'); break;
        case u'y': piece = run >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
        case u'h': case u'H': piece = QString(std::min<qsizetype>(run, 2), u'h'); break;
        case u'm': piece = QString(std::min<qsizetype>(run, 2), u'n'); break;
        case u's': piece = QString(std::min<qsizetype>(run, 2), u's'); break;
        case u'z': case u't': break;
        case u'a': case u'A':
            piece = QStringLiteral("AMPM");
            if (i + run < qt.size() && (qt[i + run] == u'p' || qt[i + run] == u'P'))
                ++run;
            break;
        default:
            for (qsizetype k = 0; k < run; ++k) {
                if (c == dateSep)
                    piece += u'/';
                else if (c == timeSep)
                    piece += u':';
                else if (c.isLetter() || u == u'/' || u == u':' || u == u'"' || u == u'\\')
                    piece += escaped(qt.mid(i, 1));
                else
                    piece += c;
            }
            break;
        }
        out += piece;
        i += run - 1;
    }
    return out.trimmed();
}

QChar separatorOf(const QString &qtPattern, QChar fallback)
{
    bool quoted = false;
    for (QChar c : qtPattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && !c.isLetterOrNumber() && !c.isSpace() && c != u',')
            return c;
    }
    return fallback;
}

} // namespace

// ---------------------------------------------------------------- public

Locale Locale::english()
{
    Locale l;
    for (const char *m : englishMonths) {
        l.monthNames << QLatin1String(m);
        l.monthAbbreviations << QString::fromLatin1(m, 3);
    }
    for (const char *d : englishDays) {
        l.dayNames << QLatin1String(d);
        l.dayAbbreviations << QString::fromLatin1(d, 3);
    }
    return l;
}

Locale Locale::system()
{
    const QLocale q = QLocale::system();
    Locale l = english();
    const auto first = [](const QString &s, QChar fallback) { return s.isEmpty() ? fallback : s.front(); };
    l.decimalSeparator = first(q.decimalPoint(), l.decimalSeparator);
    l.groupSeparator = first(q.groupSeparator(), l.groupSeparator);
    l.currencySymbol = q.currencySymbol();
    l.amDesignator = q.amText();
    l.pmDesignator = q.pmText();
    for (int i = 0; i < 12; ++i) {
        l.monthNames[i] = q.monthName(i + 1, QLocale::LongFormat);
        l.monthAbbreviations[i] = q.monthName(i + 1, QLocale::ShortFormat);
    }
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i; // Qt counts from Monday
        l.dayNames[i] = q.dayName(qtDay, QLocale::LongFormat);
        l.dayAbbreviations[i] = q.dayName(qtDay, QLocale::ShortFormat);
    }
    const QString shortDate = q.dateFormat(QLocale::ShortFormat);
    const QChar dateSep = separatorOf(shortDate, QLatin1Char('/'));
    const QChar timeSep = separatorOf(q.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    l.dateSeparator = dateSep;
    l.timeSeparator = timeSep;
    l.shortDate = fromQtPattern(shortDate, dateSep, timeSep);
    l.longDate = fromQtPattern(q.dateFormat(QLocale::LongFormat), dateSep, timeSep);
    l.longTime = fromQtPattern(q.timeFormat(QLocale::LongFormat), dateSep, timeSep);
    const Qt::DayOfWeek firstDay = q.firstDayOfWeek();
    l.firstDayOfWeek = firstDay == Qt::Sunday ? Sunday : FirstDayOfWeek(firstDay + 1);
    // Qt has no week rule; where weeks start on Monday, ISO's is usual.
    l.firstWeekOfYear = l.firstDayOfWeek == Monday ? FirstFourDays : FirstJan1;
    // The currency layout, recognised in Qt's own currency texts.
    const auto plain = [](QString s) {
        s.replace(QChar(0x00a0), u' ');
        s.replace(QChar(0x202f), u' ');
        return s;
    };
    const QString amount = QLatin1String("1") + l.decimalSeparator + QLatin1String("50");
    const QString positive = plain(q.toCurrencyString(1.5, l.currencySymbol, 2));
    const QString negative = plain(q.toCurrencyString(-1.5, l.currencySymbol, 2));
    for (int i = 0; i < 4; ++i) {
        if (expandForm(currencyPositiveForms[i], l.currencySymbol, amount) == positive)
            l.currencyPosition = i;
    }
    for (int i = 0; i < 16; ++i) {
        if (expandForm(currencyNegativeForms[i], l.currencySymbol, amount) == negative)
            l.negativeCurrency = i;
    }
    return l;
}

void setLocale(const Locale &locale)
{
    std::lock_guard<std::mutex> lock(envMutex);
    const unsigned generation = envGeneration.load() + 1;
    envSlot = makeEnv(locale, generation);
    envGeneration.store(generation, std::memory_order_release);
}

Locale locale()
{
    return currentEnv()->loc;
}

QString format(const QVariant &value, const QString &fmt, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek)
{
    return applyFormat(*cached(fmt, firstDay, firstWeek), valueOf(value));
}

QString formatNumber(const QVariant &value, int digits, Tristate leadingDigit, Tristate parensForNegative,
                     Tristate groupDigits, bool *ok)
{
    return formatNumeric(value, NumberStyle::Number, digits, leadingDigit, parensForNegative, groupDigits, ok);
}

QString formatCurrency(const QVariant &value, int digits, Tristate leadingDigit, Tristate parensForNegative,
                       Tristate groupDigits, bool *ok)
{
    return formatNumeric(value, NumberStyle::Currency, digits, leadingDigit, parensForNegative, groupDigits, ok);
}

QString formatPercent(const QVariant &value, int digits, Tristate leadingDigit, Tristate parensForNegative,
                      Tristate groupDigits, bool *ok)
{
    return formatNumeric(value, NumberStyle::Percent, digits, leadingDigit, parensForNegative, groupDigits, ok);
}

QString formatDateTime(const QVariant &value, NamedDateFormat named, bool *ok)
{
    static const char *const patterns[] = {"c", "dddddd", "ddddd", "ttttt", "hh:nn"};
    const bool good = formatDateTimeError(value, named) == 0;
    if (ok)
        *ok = good;
    return good ? format(value, QLatin1String(patterns[named])) : QString();
}

int formatNumberError(const QVariant &value, int digits)
{
    if (digits < -1 || digits > MaxDigits)
        return 5;
    const Value v = valueOf(value);
    Number n;
    return v.kind != Value::Null && numberOf(v, threadEnv()->loc, n) ? 0 : 13;
}

int formatDateTimeError(const QVariant &value, int named)
{
    if (named < GeneralDate || named > ShortTime)
        return 5;
    const Value v = valueOf(value);
    if (v.kind == Value::Null)
        return 13;
    DateParts p;
    return datePartsOf(v, *threadEnv(), p);
}

CompiledFormat::CompiledFormat()
    : d(compile(QString(), Sunday, FirstJan1))
{
}

CompiledFormat::CompiledFormat(const QString &fmt, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek)
    : d(compile(fmt, firstDay, firstWeek))
{
}

CompiledFormat::CompiledFormat(const CompiledFormat &) = default;
CompiledFormat &CompiledFormat::operator=(const CompiledFormat &) = default;
CompiledFormat::~CompiledFormat() = default;

QString CompiledFormat::apply(const QVariant &value) const
{
    return applyFormat(*d, valueOf(value));
}

QString CompiledFormat::text() const
{
    return d->text;
}

} // namespace Orv::VbFormat
