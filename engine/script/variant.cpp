#include "engine/script/variant.h"

#include "engine/script/object.h"
#include "engine/script/operators.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

#include <cmath>
#include <limits>

namespace Orv::Script {

namespace {

constexpr double CurrencyScale = 10000.0;
constexpr double MaxCurrency = 922337203685477.5807;

double roundHalfEven(double v)
{
    const double r = std::nearbyint(v); // default rounding mode is to nearest, ties to even
    return r;
}

} // namespace

void raise(int number, const QString &description)
{
    throw scriptError(number, description.isEmpty() ? errorDescription(number) : description, 0, 0);
}

QString errorDescription(int number)
{
    switch (number) {
    case ErrObjectNotSet: return QStringLiteral("Object variable not set");   // the script runtime words it shorter
    case 500: return QStringLiteral("Variable is undefined");
    case 501: return QStringLiteral("Illegal assignment");
    case 502: return QStringLiteral("Object not safe for scripting");
    case 5017: return QStringLiteral("Syntax error in regular expression");
    case 5018: return QStringLiteral("Unexpected quantifier");
    case 5019: return QStringLiteral("Expected ']' in regular expression");
    case 5020: return QStringLiteral("Expected ')' in regular expression");
    case 5021: return QStringLiteral("Invalid range in character set");
    case 1002: return QStringLiteral("Syntax error");
    case 1005: return QStringLiteral("Expected '('");
    case 1006: return QStringLiteral("Expected ')'");
    case 1010: return QStringLiteral("Expected identifier");
    case 1011: return QStringLiteral("Expected '='");
    case 1012: return QStringLiteral("Expected 'If'");
    case 1013: return QStringLiteral("Expected 'To'");
    case 1014: return QStringLiteral("Expected 'End'");
    case 1015: return QStringLiteral("Expected 'Function'");
    case 1016: return QStringLiteral("Expected 'Sub'");
    case 1017: return QStringLiteral("Expected 'Then'");
    case 1018: return QStringLiteral("Expected 'Wend'");
    case 1019: return QStringLiteral("Expected 'Loop'");
    case 1020: return QStringLiteral("Expected 'Next'");
    case 1021: return QStringLiteral("Expected 'Case'");
    case 1022: return QStringLiteral("Expected 'Select'");
    case 1023: return QStringLiteral("Expected expression");
    case 1024: return QStringLiteral("Expected statement");
    case 1025: return QStringLiteral("Expected end of statement");
    case 1026: return QStringLiteral("Expected integer constant");
    case 1027: return QStringLiteral("Expected 'While' or 'Until'");
    case 1028: return QStringLiteral("Expected 'While', 'Until' or end of statement");
    case 1029: return QStringLiteral("Expected 'With'");
    case 1030: return QStringLiteral("Identifier too long");
    case 1033: return QStringLiteral("Unterminated string constant");
    case 1041: return QStringLiteral("Name redefined");
    case 1042: return QStringLiteral("Must be first statement on the line");
    case 1045: return QStringLiteral("Expected literal constant");
    case 1046: return QStringLiteral("Expected 'In'");
    case 1048: return QStringLiteral("Must be defined inside a Class");
    case 1049: return QStringLiteral("Expected Let or Set or Get in property declaration");
    case 1053: return QStringLiteral("Class initialize or terminate do not have arguments");
    case 1055: return QStringLiteral("Unexpected 'Next'");
    case 1057: return QStringLiteral("'Default' must go with 'Public'");
    case 1058: return QStringLiteral("'Default' can only be on Property Get");
    default: {
        const QString shared = Orv::errorDescription(ErrorNumber(number));
        return shared.isEmpty() ? QStringLiteral("Unknown runtime error") : shared;
    }
    }
}

Variant::Variant(std::shared_ptr<Array> a)
    : m_type(VType::Array)
    , m_a(std::move(a))
{
}

Array *Variant::array() const { return m_type == VType::Array ? m_a.get() : nullptr; }
std::shared_ptr<Array> Variant::arrayRef() const { return m_type == VType::Array ? m_a : nullptr; }

Variant Variant::currencyFromDouble(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > MaxCurrency)
        raise(ErrOverflow);
    return currency(std::int64_t(roundHalfEven(v * CurrencyScale)));
}

Variant Variant::number(double v)
{
    if (v == std::floor(v) && std::fabs(v) <= 2147483647.0) {
        if (v >= -32768 && v <= 32767)
            return integer(int(v));
        return Variant(int(v));
    }
    return Variant(v);
}

bool Variant::isNumeric() const
{
    switch (m_type) {
    case VType::Integer: case VType::Long: case VType::Single: case VType::Double:
    case VType::Currency: case VType::Date: case VType::Boolean: case VType::Byte: case VType::Empty:
        return true;
    default:
        return false;
    }
}

double Variant::toDouble() const
{
    switch (m_type) {
    case VType::Empty: return 0;
    case VType::Integer: case VType::Long: case VType::Boolean: case VType::Byte: case VType::Error:
        return double(m_i);
    case VType::Single: case VType::Double: case VType::Date:
        return m_d;
    case VType::Currency: return double(m_i) / CurrencyScale;
    case VType::String: {
        double v;
        if (parseNumber(m_s, &v))
            return v;
        double d;
        if (parseDate(m_s, &d))
            return d;
        raise(ErrTypeMismatch);
    }
    case VType::Null: raise(ErrInvalidUseOfNull);
    case VType::Object: return valueOf(*this).toDouble();
    default: raise(ErrTypeMismatch);
    }
}

std::int32_t Variant::toLong() const
{
    if (m_type == VType::Object)
        return valueOf(*this).toLong();
    if (m_type == VType::Integer || m_type == VType::Long || m_type == VType::Boolean || m_type == VType::Byte)
        return std::int32_t(m_i);
    const double r = roundHalfEven(toDouble());
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        raise(ErrOverflow);
    return std::int32_t(r);
}

std::int32_t Variant::toInteger() const
{
    const std::int32_t v = toLong();
    if (v < -32768 || v > 32767)
        raise(ErrOverflow);
    return v;
}

bool Variant::toBool() const
{
    switch (m_type) {
    case VType::Boolean: case VType::Integer: case VType::Long: case VType::Byte: case VType::Currency:
        return m_i != 0;
    case VType::Single: case VType::Double: case VType::Date: return m_d != 0;
    case VType::Empty: return false;
    case VType::Null: raise(ErrInvalidUseOfNull);
    case VType::Object: return valueOf(*this).toBool();
    case VType::String: {
        if (m_s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (m_s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        double v;
        if (parseNumber(m_s, &v))
            return v != 0;
        raise(ErrTypeMismatch);
    }
    default: raise(ErrTypeMismatch);
    }
}

QString numberText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (v == 0)
        return QStringLiteral("0");
    QString s = QString::number(v, 'g', 15);
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    if (e >= 0)
        s[e] = QLatin1Char('E');
    return s;
}

static QString dateText(double d)
{
    // The general date: the date, the time, or both, in the locale's short
    // forms as Visual Basic prints them.
    int y, m, day, h, mi, s;
    dateToParts(d, &y, &m, &day);
    timeToParts(d, &h, &mi, &s);
    const bool hasTime = (h || mi || s);
    const bool hasDate = std::trunc(d) != 0;
    QString out;
    if (hasDate || !hasTime)
        out = QStringLiteral("%1/%2/%3").arg(m).arg(day).arg(y);
    if (hasTime) {
        const int h12 = h % 12 == 0 ? 12 : h % 12;
        const QString t = QStringLiteral("%1:%2:%3 %4").arg(h12).arg(mi, 2, 10, QLatin1Char('0'))
                              .arg(s, 2, 10, QLatin1Char('0')).arg(h < 12 ? QLatin1String("AM") : QLatin1String("PM"));
        out = out.isEmpty() ? t : out + QLatin1Char(' ') + t;
    }
    return out;
}

QString Variant::toString() const
{
    switch (m_type) {
    case VType::String: return m_s;
    case VType::Empty: return QString();
    case VType::Null: raise(ErrInvalidUseOfNull);
    case VType::Boolean: return m_i ? QStringLiteral("True") : QStringLiteral("False");
    case VType::Integer: case VType::Long: case VType::Byte: return QString::number(m_i);
    case VType::Single: return QString::number(m_d, 'g', 7).replace(QLatin1Char('e'), QLatin1Char('E'));
    case VType::Double: return numberText(m_d);
    case VType::Currency: return numberText(double(m_i) / CurrencyScale);
    case VType::Date: return dateText(m_d);
    case VType::Error: return QStringLiteral("Error %1").arg(m_i);
    case VType::Object: return valueOf(*this).toString();
    default: raise(ErrTypeMismatch);
    }
}

double Variant::toDate() const
{
    switch (m_type) {
    case VType::Date: return m_d;
    case VType::String: {
        double d;
        if (parseDate(m_s, &d))
            return d;
        double v;
        if (parseNumber(m_s, &v))
            return v;
        raise(ErrTypeMismatch);
    }
    default: {
        const double v = toDouble();
        if (v < -657434.0 || v >= 2958466.0)
            raise(ErrOverflow);
        return v;
    }
    }
}

std::int64_t Variant::toCurrency() const
{
    if (m_type == VType::Currency)
        return m_i;
    return currencyFromDouble(toDouble()).m_i;
}

std::shared_ptr<Object> Variant::toObject() const
{
    if (m_type != VType::Object)
        raise(ErrObjectRequired);
    return m_o;
}

Variant Variant::deepCopy() const
{
    if (m_type != VType::Array || !m_a)
        return *this;
    auto copy = std::make_shared<Array>(*m_a);
    copy->fixed = false;
    copy->locks = 0;
    for (Variant &v : copy->data)
        v = v.deepCopy();
    return Variant(std::move(copy));
}

QVariant Variant::toQVariant() const
{
    switch (m_type) {
    case VType::Empty: return QVariant();
    case VType::Null: return QVariant::fromValue(nullptr);
    case VType::Boolean: return QVariant(m_i != 0);
    case VType::Integer: case VType::Long: case VType::Byte: return QVariant(int(m_i));
    case VType::Single: case VType::Double: return QVariant(m_d);
    case VType::Currency: return QVariant(double(m_i) / CurrencyScale);
    case VType::Date: return QVariant(dateToQDateTime(m_d));
    case VType::String: return QVariant(m_s);
    case VType::Error: return QVariant(int(m_i));
    case VType::Object: {
        QObject *q = m_o ? m_o->qobject() : nullptr;
        return QVariant::fromValue(q);
    }
    case VType::Array: {
        QVariantList list;
        if (m_a && m_a->dims() == 1) {
            for (const Variant &v : m_a->data)
                list.append(v.toQVariant());
        } else if (m_a && m_a->dims() == 2) {
            // Rows of the first dimension, each a list over the second.
            const int rows = m_a->bounds[0].count, cols = m_a->bounds[1].count;
            for (int r = 0; r < rows; ++r) {
                QVariantList row;
                for (int c = 0; c < cols; ++c)
                    row.append(m_a->data[size_t(r + c * rows)].toQVariant());
                list.append(QVariant(row));
            }
        }
        return QVariant(list);
    }
    }
    return QVariant();
}

Variant Variant::fromQVariant(const QVariant &v)
{
    if (!v.isValid())
        return Variant();
    switch (v.typeId()) {
    case QMetaType::Nullptr: return null();
    case QMetaType::Bool: return Variant(v.toBool());
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::SChar: case QMetaType::UChar:
        return integer(v.toInt());
    case QMetaType::Int: return Variant(v.toInt());
    case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Long: case QMetaType::ULong: {
        const double d = v.toDouble();
        if (d >= -2147483648.0 && d <= 2147483647.0)
            return Variant(int(v.toLongLong()));
        return Variant(d);
    }
    case QMetaType::Float: return single(v.toDouble());
    case QMetaType::Double: return Variant(v.toDouble());
    case QMetaType::QString: return v.isNull() ? Variant(QString()) : Variant(v.toString());
    case QMetaType::QChar: return Variant(QString(v.toChar()));
    case QMetaType::QByteArray: return Variant(QString::fromUtf8(v.toByteArray()));
    case QMetaType::QDateTime: return v.isNull() ? null() : date(dateFromQDateTime(v.toDateTime()));
    case QMetaType::QDate: return v.isNull() ? null() : date(dateFromQDateTime(QDateTime(v.toDate(), QTime(0, 0))));
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        return t.isValid() ? date(timeFromParts(t.hour(), t.minute(), t.second() + t.msec() / 1000.0)) : null();
    }
    case QMetaType::QVariantList: {
        std::vector<Variant> items;
        for (const QVariant &item : v.toList())
            items.push_back(fromQVariant(item));
        return Variant(Array::fromList(std::move(items)));
    }
    case QMetaType::QStringList: {
        std::vector<Variant> items;
        for (const QString &item : v.toStringList())
            items.push_back(Variant(item));
        return Variant(Array::fromList(std::move(items)));
    }
    default:
        break;
    }
    if (v.isNull())
        return null();
    if (v.canConvert<double>() && v.metaType().flags().testFlag(QMetaType::IsEnumeration))
        return Variant(v.toInt());
    return Variant(v.toString());
}

// ---- arrays ----

std::shared_ptr<Array> Array::make(const std::vector<Bound> &bounds)
{
    auto a = std::make_shared<Array>();
    a->bounds = bounds;
    size_t total = 1;
    for (const Bound &b : bounds) {
        if (b.count < 0)
            raise(ErrSubscript);
        total *= size_t(b.count);
        // One array holds at most 1 GiB of values: out of memory beyond.
        if (total > (size_t(1) << 30) / sizeof(Variant))
            raise(ErrOutOfMemory);
    }
    a->data.resize(bounds.empty() ? 0 : total);
    return a;
}

std::shared_ptr<Array> Array::fromList(std::vector<Variant> items)
{
    auto a = std::make_shared<Array>();
    a->bounds = {Bound{0, int(items.size())}};
    a->data = std::move(items);
    return a;
}

Variant &Array::at(const Variant *indexes, int count)
{
    if (count != dims())
        raise(ErrSubscript);
    size_t offset = 0;
    size_t stride = 1;
    for (int i = 0; i < count; ++i) {
        const int index = indexes[i].toLong() - bounds[size_t(i)].lower;
        if (index < 0 || index >= bounds[size_t(i)].count)
            raise(ErrSubscript);
        offset += size_t(index) * stride;
        stride *= size_t(bounds[size_t(i)].count);
    }
    return data[offset];
}

void Array::redim(const std::vector<Bound> &newBounds, bool preserve)
{
    if (fixed || locks > 0)
        raise(ErrArrayLocked);
    if (!preserve || bounds.empty()) {
        *this = *make(newBounds);
        return;
    }
    // Preserve: only the last dimension may change.
    if (newBounds.size() != bounds.size())
        raise(ErrSubscript);
    for (size_t i = 0; i + 1 < bounds.size(); ++i)
        if (newBounds[i].count != bounds[i].count || newBounds[i].lower != bounds[i].lower)
            raise(ErrSubscript);
    auto fresh = make(newBounds);
    const size_t keep = std::min(fresh->data.size(), data.size());
    for (size_t i = 0; i < keep; ++i)
        fresh->data[i] = std::move(data[i]);
    bounds = fresh->bounds;
    data = std::move(fresh->data);
}

// ---- dates ----

double dateFromParts(int year, int month, int day)
{
    // Months outside 1..12 and days outside the month roll over, as
    // DateSerial does.
    year += (month - 1) / 12;
    month = (month - 1) % 12;
    if (month < 0) {
        month += 12;
        --year;
    }
    const QDate first(year, month + 1, 1);
    if (!first.isValid())
        raise(ErrInvalidCall);
    static const QDate epoch(1899, 12, 30);
    return double(epoch.daysTo(first) + (day - 1));
}

double timeFromParts(int hour, int minute, double second)
{
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

void dateToParts(double date, int *year, int *month, int *day)
{
    static const QDate epoch(1899, 12, 30);
    const QDate d = epoch.addDays(qint64(std::trunc(date)));
    *year = d.year();
    *month = d.month();
    *day = d.day();
}

void timeToParts(double date, int *hour, int *minute, int *second)
{
    double frac = std::fabs(date - std::trunc(date));
    qint64 secs = qint64(std::llround(frac * 86400.0));
    if (secs >= 86400)
        secs = 86399;
    *hour = int(secs / 3600);
    *minute = int(secs / 60 % 60);
    *second = int(secs % 60);
}

QDateTime dateToQDateTime(double date)
{
    int y, m, d, h, mi, s;
    dateToParts(date, &y, &m, &d);
    timeToParts(date, &h, &mi, &s);
    return QDateTime(QDate(y, m, d), QTime(h, mi, s));
}

double dateFromQDateTime(const QDateTime &dt)
{
    static const QDate epoch(1899, 12, 30);
    const double days = double(epoch.daysTo(dt.date()));
    const QTime t = dt.time();
    const double frac = (t.msecsSinceStartOfDay() / 1000.0) / 86400.0;
    return days >= 0 ? days + frac : days - frac;
}

static int monthFromName(const QString &name)
{
    static const char *const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() < 3)
        return 0;
    const QString lower = name.toLower();
    for (int i = 0; i < 12; ++i)
        if (lower.startsWith(QLatin1String(names[i])))
            return i + 1;
    return 0;
}

bool parseDate(const QString &input, double *result)
{
    QString text = input.trimmed();
    if (text.isEmpty())
        return false;
    // Time part: h:mm[:ss] [AM|PM] at the end.
    static const QRegularExpression timeRe(
        QStringLiteral("(?:^|\\s)(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm]?)?$"));
    static const QRegularExpression hourAmPm(QStringLiteral("(?:^|\\s)(\\d{1,2})\\s*([AaPp][Mm])$"));
    double time = 0;
    bool hasTime = false;
    QRegularExpressionMatch tm = timeRe.match(text);
    if (!tm.hasMatch())
        tm = hourAmPm.match(text);
    if (tm.hasMatch()) {
        int h = tm.captured(1).toInt();
        const int mi = tm.lastCapturedIndex() >= 2 && tm.captured(2).size() <= 2 && !tm.captured(2).startsWith(QLatin1Char('a'), Qt::CaseInsensitive)
                           && !tm.captured(2).startsWith(QLatin1Char('p'), Qt::CaseInsensitive)
                       ? tm.captured(2).toInt() : 0;
        const int s = tm.lastCapturedIndex() >= 3 ? tm.captured(3).toInt() : 0;
        const QString ampm = tm.captured(tm.lastCapturedIndex()).toUpper();
        if (ampm.startsWith(QLatin1Char('P')) || ampm.startsWith(QLatin1Char('A'))) {
            if (h < 1 || h > 12)
                return false;
            if (ampm.startsWith(QLatin1Char('P')) && h < 12)
                h += 12;
            if (ampm.startsWith(QLatin1Char('A')) && h == 12)
                h = 0;
        }
        if (h > 23 || mi > 59 || s > 59)
            return false;
        time = timeFromParts(h, mi, s);
        hasTime = true;
        text = text.left(tm.capturedStart()).trimmed();
        if (text.endsWith(QLatin1Char(',')))
            text.chop(1);
    }
    if (text.isEmpty()) {
        if (!hasTime)
            return false;
        *result = time;
        return true;
    }
    int y = 0, m = 0, d = 0;
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    static const QRegularExpression mdy(QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})(?:[-/.](\\d{1,4}))?$"));
    static const QRegularExpression named1(QStringLiteral("^([A-Za-z]+)\\.?\\s+(\\d{1,2}),?(?:\\s+(\\d{1,4}))?$"));
    static const QRegularExpression named2(QStringLiteral("^(\\d{1,2})[\\s-]+([A-Za-z]+)\\.?(?:[\\s,-]+(\\d{1,4}))?$"));
    static const QRegularExpression named3(QStringLiteral("^([A-Za-z]+)\\s+(\\d{4})$"));
    QRegularExpressionMatch mm;
    bool yearGiven = true;
    if ((mm = iso.match(text)).hasMatch()) {
        y = mm.captured(1).toInt(); m = mm.captured(2).toInt(); d = mm.captured(3).toInt();
    } else if ((mm = mdy.match(text)).hasMatch()) {
        m = mm.captured(1).toInt(); d = mm.captured(2).toInt();
        if (mm.captured(3).isEmpty()) {
            yearGiven = false;
        } else {
            y = mm.captured(3).toInt();
            if (mm.captured(3).size() <= 2)
                y += y < 30 ? 2000 : 1900;
        }
        if (m > 12 && d <= 12)
            std::swap(m, d); // 31/1/2000 reads as day/month, as Visual Basic does
    } else if ((mm = named1.match(text)).hasMatch()) {
        m = monthFromName(mm.captured(1)); d = mm.captured(2).toInt();
        if (mm.captured(3).isEmpty()) yearGiven = false; else y = mm.captured(3).toInt();
    } else if ((mm = named2.match(text)).hasMatch()) {
        d = mm.captured(1).toInt(); m = monthFromName(mm.captured(2));
        if (mm.captured(3).isEmpty()) yearGiven = false; else y = mm.captured(3).toInt();
    } else if ((mm = named3.match(text)).hasMatch()) {
        m = monthFromName(mm.captured(1)); d = 1; y = mm.captured(2).toInt();
    } else {
        return false;
    }
    if (!yearGiven)
        y = QDate::currentDate().year();
    else if (y < 100)
        y += y < 30 ? 2000 : 1900;
    if (!QDate(y, m, d).isValid())
        return false;
    const double day = dateFromParts(y, m, d);
    *result = day >= 0 ? day + time : day - time;
    return true;
}

bool parseNumber(const QString &input, double *value)
{
    const QString t = input.trimmed();
    if (t.isEmpty())
        return false;
    if (t.startsWith(QLatin1Char('&'))) {
        bool ok = false;
        qint64 v = 0;
        if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
            v = t.mid(2).toLongLong(&ok, 16);
        else if (t.startsWith(QLatin1String("&O"), Qt::CaseInsensitive))
            v = t.mid(2).toLongLong(&ok, 8);
        if (!ok)
            return false;
        if (v >= 0x8000 && v <= 0xFFFF && t.size() <= 6)
            v -= 0x10000;
        else if (v >= 0x80000000LL && v <= 0xFFFFFFFFLL)
            v -= 0x100000000LL;
        *value = double(v);
        return true;
    }
    // Digits with an optional sign, decimals and exponent; thousands
    // separators are accepted as Visual Basic accepts them.
    QString s = t;
    s.remove(QLatin1Char(','));
    if (s.startsWith(QLatin1Char('$')))
        s.remove(0, 1);
    for (QChar c : s)
        if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+')
              || c == QLatin1Char('e') || c == QLatin1Char('E') || c == QLatin1Char(' ')))
            return false;
    s.remove(QLatin1Char(' '));
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok)
        return false;
    *value = v;
    return true;
}

QString typeName(const Variant &v)
{
    switch (v.type()) {
    case VType::Empty: return QStringLiteral("Empty");
    case VType::Null: return QStringLiteral("Null");
    case VType::Integer: return QStringLiteral("Integer");
    case VType::Long: return QStringLiteral("Long");
    case VType::Single: return QStringLiteral("Single");
    case VType::Double: return QStringLiteral("Double");
    case VType::Currency: return QStringLiteral("Currency");
    case VType::Date: return QStringLiteral("Date");
    case VType::String: return QStringLiteral("String");
    case VType::Boolean: return QStringLiteral("Boolean");
    case VType::Byte: return QStringLiteral("Byte");
    case VType::Error: return QStringLiteral("Error");
    case VType::Array: return QStringLiteral("Variant()");
    case VType::Object: return v.object() ? v.object()->typeName() : QStringLiteral("Nothing");
    }
    return QStringLiteral("Unknown");
}

int varType(const Variant &v)
{
    return int(v.type());
}

} // namespace Orv::Script
