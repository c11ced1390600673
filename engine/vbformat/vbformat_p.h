#pragma once
// What the files of the Visual Basic formats share: the parsed form of a
// format, values and their digits, the text being written, and the
// functions one file calls in another. Not part of the interface.
#include "engine/vbformat/vbformat.h"

#include <QString>
#include <QStringView>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace Orv::VbFormat {

namespace Detail {

inline char16_t lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

inline bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Case-insensitive ASCII comparison of s at i with a lower-case word.
inline bool matchesAt(QStringView s, qsizetype i, const char *word)
{
    for (; *word; ++word, ++i) {
        if (i >= s.size() || lower(s[i].unicode()) != char16_t(*word))
            return false;
    }
    return true;
}

// Access's colour codes ("[Red]") in number formats choose a colour this
// function cannot show; they are skipped. Returns the index of the ']'.
inline qsizetype colourCodeEnd(QStringView s, qsizetype i)
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

inline constexpr const char *englishMonths[12] = {"January", "February", "March", "April", "May", "June",
                                                  "July", "August", "September", "October", "November", "December"};
inline constexpr const char *englishDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};

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

struct Number
{
    Digits x;
    bool negative = false;
    bool finite = true;
    int significant = 15;
    double raw = 0;
};

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

// ---------------------------------------------------------------- output

// The text being written: on the stack while it is short, as most
// formatted values are, so that a result costs one allocation.
class Out
{
public:
    Out &operator+=(QChar c)
    {
        const char16_t u = c.unicode();
        return append(&u, 1);
    }
    Out &operator+=(QStringView s) { return append(s.utf16(), s.size()); }
    Out &operator+=(QLatin1String s)
    {
        for (char c : s)
            *this += QLatin1Char(c);
        return *this;
    }
    QString take() const { return m_spilled ? m_big : QString(reinterpret_cast<const QChar *>(m_small), m_n); }

private:
    Out &append(const char16_t *p, qsizetype n)
    {
        if (!m_spilled && m_n + n <= qsizetype(std::size(m_small))) {
            std::copy(p, p + n, m_small + m_n);
            m_n += n;
        } else {
            if (!m_spilled) {
                m_big = QString(reinterpret_cast<const QChar *>(m_small), m_n);
                m_spilled = true;
            }
            m_big.append(reinterpret_cast<const QChar *>(p), n);
        }
        return *this;
    }

    char16_t m_small[96];
    qsizetype m_n = 0;
    bool m_spilled = false;
    QString m_big;
};

inline void appendInt(Out &out, qint64 v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    for (const char *p = buf; p < r.ptr; ++p)
        out += QLatin1Char(*p);
}

inline void append2(Out &out, int v)
{
    out += QLatin1Char(char('0' + v / 10 % 10));
    out += QLatin1Char(char('0' + v % 10));
}

// What a compiled format does with a value.
enum class Kind { Plain, GeneralNumber, Boolean, Number, Date, Text };

} // namespace Detail

struct CompiledFormat::Data
{
    QString text;
    Detail::Kind kind = Detail::Kind::Plain;
    std::shared_ptr<const Detail::Env> env;
    int firstDay = Sunday;
    int firstWeek = FirstJan1;
    Detail::NumSection number[4];
    int numberCount = 0;
    Detail::DateSection date;
    Detail::TextSection texts[2];
    int textCount = 0;
    QString yes, no;
};

namespace Detail {

using Data = CompiledFormat::Data;

// vbformat_number.cpp
void parseNumber(QStringView s, NumSection &out);
bool parseNumberText(QStringView s, const Locale &loc, double *out);
bool numberOf(const Value &v, const Locale &loc, Number &r);
QString nonFiniteText(double v);
QString generalNumber(const Digits &x, bool negative, int significant, const Locale &loc);
void renderNumber(const NumSection &s, Digits x, bool minus, const Locale &loc, Out &out);
QString renderLiterals(const NumSection &s);

// vbformat_date.cpp
double oleNumber(const Value &v);
bool makeParts(qint64 julianDay, qint64 msecs, DateParts &p);
void parseDate(QStringView s, DateSection &out);
int datePartsOf(const Value &v, const Env &env, DateParts &p);
void renderDate(const DateSection &s, const DateParts &p, const Data &d, Out &out);
void renderGeneral(const DateParts &p, const Data &d, Out &out);

// vbformat_locale.cpp
extern std::atomic<unsigned> envGeneration; // counts the locales set
std::shared_ptr<const Env> currentEnv();
QString decimalsPattern(int digits);
QString negativeNumberPattern(const QString &body, int style);
QString currencyPattern(const Locale &loc, const QString &symbol, const QString &body, Tristate parens);

} // namespace Detail

} // namespace Orv::VbFormat
