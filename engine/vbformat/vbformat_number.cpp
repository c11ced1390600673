// Numeric formats: a number as its decimal digits, rounded as Visual Basic
// rounds them; number format sections parsed and written; numeric text
// read as a number.

#include "engine/vbformat/vbformat_p.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace Orv::VbFormat::Detail {

// ---------------------------------------------------------------- digits

namespace {

// The digits of a scientific text from to_chars.
Digits parseScientific(const char *p, const char *end)
{
    Digits x;
    x.d[x.n++] = *p++;
    if (*p == '.') {
        for (++p; *p != 'e'; ++p)
            x.d[x.n++] = *p;
    }
    ++p; // 'e'
    const bool negative = *p++ == '-';
    int e = 0;
    for (; p < end; ++p)
        e = e * 10 + (*p - '0');
    x.point = (negative ? -e : e) + 1;
    return x;
}

// The double rounded to `significant` digits: 15 as Visual Basic shows a
// Double, 7 for a Single.
Digits digitsOf(double v, int significant)
{
    Digits x;
    v = std::fabs(v);
    if (!(v > 0) || !std::isfinite(v))
        return x;
    // The shortest text that reads back as a double is quick to get. Cut
    // to 15 digits it is the value so rounded, since a double is precise to
    // better than half a unit of its 15th digit; unless that text ends in a
    // 5 just after them (the value may then lie on either side), or the
    // value is subnormal (less precise). A Single is not precise enough.
    char buf[48];
    if (significant == 15 && v >= std::numeric_limits<double>::min()) {
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
        x = parseScientific(buf, r.ptr);
        if (x.n != 16 || x.d[15] != '5') {
            if (x.n > 15) {
                const bool up = x.d[15] >= '5';
                x.n = 15;
                int i = 14;
                for (; up && i >= 0 && x.d[i] == '9'; --i)
                    x.d[i] = '0';
                if (up && i >= 0) {
                    ++x.d[i];
                } else if (up) {
                    x.d[0] = '1';
                    ++x.point;
                }
            }
            x.trim();
            return x;
        }
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1);
    x = parseScientific(buf, r.ptr);
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

} // namespace

// ---------------------------------------------------------------- parsing

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

// ---------------------------------------------------------------- numbers

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

// A number as CStr writes it: up to `significant` digits, scientific
// notation once the integer part or the decimals would need more.
QString generalNumber(const Digits &x, bool negative, int significant, const Locale &loc)
{
    if (x.isZero())
        return QStringLiteral("0");
    Out out;
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
        return out.take();
    }
    if (x.point <= 0) {
        out += u'0';
        out += loc.decimalSeparator;
        for (int i = x.point; i < 0; ++i)
            out += u'0';
        for (int i = 0; i < x.n; ++i)
            out += QLatin1Char(x.d[i]);
        return out.take();
    }
    for (int i = 0; i < x.point; ++i)
        out += QLatin1Char(x.at(i));
    if (x.n > x.point) {
        out += loc.decimalSeparator;
        for (int i = x.point; i < x.n; ++i)
            out += QLatin1Char(x.d[i]);
    }
    return out.take();
}

void renderNumber(const NumSection &s, Digits x, bool minus, const Locale &loc, Out &out)
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
    char expDigits[12];
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

} // namespace Orv::VbFormat::Detail
