// Visual Basic's Format family. A format text is parsed once into tokens;
// applying it turns the value into decimal digits (or calendar parts) and
// walks the tokens, so the digits printed are exactly the rounded digits of
// the value and no floating-point arithmetic happens after the conversion.
//
// vbformat_number.cpp has the numeric formats, vbformat_date.cpp the date
// and time formats, vbformat_locale.cpp the locale and the patterns of
// named formats; vbformat_p.h holds what they share.

#include "engine/vbformat/vbformat_p.h"

#include <QDate>
#include <QTime>

#include <array>

namespace Orv::VbFormat {

using namespace Detail;

namespace {

// ---------------------------------------------------------------- values

Value valueOf(const QVariant &v)
{
    Value r;
    if (!v.isValid())
        return r;
    r.kind = Value::Null; // also for invalid dates and times
    if (v.isNull())
        return r;
    const auto integer = [&](bool negative, quint64 magnitude) {
        r.kind = Value::Number;
        r.integral = true;
        r.negative = negative;
        r.magnitude = magnitude;
    };
    const auto date = [&](QDate d, QTime t) {
        if (d.isValid()) {
            r.kind = Value::Date;
            r.julianDay = d.toJulianDay();
            r.msecs = t.isValid() ? t.msecsSinceStartOfDay() : 0;
        }
    };
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        integer(v.toBool(), v.toBool() ? 1 : 0);
        r.kind = Value::Bool;
        break;
    case QMetaType::Int: case QMetaType::Short: case QMetaType::Long: case QMetaType::LongLong:
    case QMetaType::SChar: {
        const qint64 i = v.toLongLong();
        integer(i < 0, i < 0 ? quint64(0) - quint64(i) : quint64(i));
        break;
    }
    case QMetaType::UInt: case QMetaType::UShort: case QMetaType::ULong: case QMetaType::ULongLong:
    case QMetaType::UChar:
        integer(false, v.toULongLong());
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
        date(dt.date(), dt.time());
        break;
    }
    case QMetaType::QDate: date(v.toDate(), QTime()); break;
    case QMetaType::QTime:
        if (v.toTime().isValid())
            date(QDate(1899, 12, 30), v.toTime()); // a time alone is on day 0
        break;
    case QMetaType::QString: case QMetaType::QByteArray: case QMetaType::QChar: case QMetaType::Char:
        r.kind = Value::String;
        r.text = v.toString();
        break;
    default:
        r.kind = Value::Other;
        r.other = v;
        break;
    }
    return r;
}

// ---------------------------------------------------------------- parsing

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
        Out out;
        renderGeneral(p, d, out);
        return out.take();
    }
    case Value::String:
        return v.text;
    case Value::Other:
        return v.other.toString();
    }
    return QString();
}

void renderText(const TextSection &s, const QString &text, Out &out)
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
        Out out;
        renderNumber(*s, n.x, minus, d.env->loc, out);
        return out.take();
    }
    case Kind::Date: {
        if (v.kind == Value::Null)
            return QString();
        DateParts p;
        if (datePartsOf(v, *d.env, p) != 0)
            return plainText(v, d);
        Out out;
        renderDate(d.date, p, d, out);
        return out.take();
    }
    case Kind::Text: {
        const QString text = plainText(v, d);
        const TextSection &s = text.isEmpty() && d.textCount == 2 ? d.texts[1] : d.texts[0];
        if (v.kind == Value::Null && d.textCount < 2)
            return QString();
        Out out;
        renderText(s, text, out);
        return out.take();
    }
    }
    return QString();
}

// ---------------------------------------------------------------- compiling

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

} // namespace

// ---------------------------------------------------------------- public

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
