// The built-in functions and constants of the language: strings,
// conversions, math, arrays, type inspection and the user prompts. Date
// and formatting functions are in builtindates.cpp.
#include "engine/script/builtins.h"

#include <QRandomGenerator>

#include <cmath>

namespace Orv::Script {

namespace {

#define ARGS [[maybe_unused]] Runtime &rt, [[maybe_unused]] Variant *a, [[maybe_unused]] int n, [[maybe_unused]] CallSiteCache &cache

bool anyNull(Variant *a, int n)
{
    for (int i = 0; i < n; ++i)
        if (valueOf(a[i]).isNull())
            return true;
    return false;
}

// The compare argument at i: 1 text, 0 binary; left out or -1
// (vbUseCompareOption), the module's Option Compare.
Qt::CaseSensitivity compareMode(const Runtime &rt, Variant *a, int n, int i)
{
    const int mode = has(a, n, i) ? int(a[i].toLong()) : -1;
    const bool text = mode == -1 ? rt.textCompare : mode == 1 || mode == 2; // 2: Access's database order
    return text ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

int countArg(const Variant &v)
{
    const int c = v.toLong();
    if (c < 0)
        raise(ErrInvalidCall);
    return c;
}

// ---- strings ----

Variant fLen(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    return Variant(int(v.toString().size()));
}

Variant fLeft(ARGS)
{
    const Variant v = valueOf(a[0]);
    const int c = countArg(a[1]);
    if (v.isNull())
        return v;
    return Variant(v.toString().left(c));
}

Variant fRight(ARGS)
{
    const Variant v = valueOf(a[0]);
    const int c = countArg(a[1]);
    if (v.isNull())
        return v;
    return Variant(v.toString().right(c));
}

Variant fMid(ARGS)
{
    const Variant v = valueOf(a[0]);
    const int start = a[1].toLong();
    if (start < 1)
        raise(ErrInvalidCall);
    const int length = has(a, n, 2) ? countArg(a[2]) : -1;
    if (v.isNull())
        return v;
    return Variant(v.toString().mid(start - 1, length));
}

template<typename F>
Variant nullOrString(Variant *a, F f)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    return Variant(f(v.toString()));
}

Variant fLCase(ARGS) { return nullOrString(a, [](const QString &s) { return s.toLower(); }); }
Variant fUCase(ARGS) { return nullOrString(a, [](const QString &s) { return s.toUpper(); }); }

QString trimSpaces(const QString &s, bool left, bool right)
{
    qsizetype b = 0, e = s.size();
    if (left)
        while (b < e && s[b] == QLatin1Char(' '))
            ++b;
    if (right)
        while (e > b && s[e - 1] == QLatin1Char(' '))
            --e;
    return s.mid(b, e - b);
}

Variant fTrim(ARGS) { return nullOrString(a, [](const QString &s) { return trimSpaces(s, true, true); }); }
Variant fLTrim(ARGS) { return nullOrString(a, [](const QString &s) { return trimSpaces(s, true, false); }); }
Variant fRTrim(ARGS) { return nullOrString(a, [](const QString &s) { return trimSpaces(s, false, true); }); }
Variant fStrReverse(ARGS)
{
    return Variant([&] {
        QString s = a[0].toString();
        std::reverse(s.begin(), s.end());
        return s;
    }());
}

// Escape leaves letters, digits and @*_+-./ as they are and writes other
// characters as %XX (below 256) or %uXXXX; Unescape reads both back and
// leaves a % that starts neither as it stands.
Variant fEscape(ARGS)
{
    return nullOrString(a, [](const QString &s) {
        static const QLatin1String safe("@*_+-./");
        QString out;
        out.reserve(s.size());
        for (const QChar c : s) {
            const char16_t u = c.unicode();
            if ((u < 128 && QChar(u).isLetterOrNumber()) || (u < 128 && safe.contains(QLatin1Char(char(u)))))
                out += c;
            else if (u < 256)
                out += u'%' + QString::number(uint(u), 16).rightJustified(2, u'0').toUpper();
            else
                out += QLatin1String("%u") + QString::number(uint(u), 16).rightJustified(4, u'0').toUpper();
        }
        return out;
    });
}

Variant fUnescape(ARGS)
{
    return nullOrString(a, [](const QString &s) {
        const auto hex = [&s](qsizetype from, int digits, uint *value) {
            if (from + digits > s.size())
                return false;
            bool ok = false;
            *value = s.mid(from, digits).toUInt(&ok, 16);
            return ok && !s.mid(from, digits).startsWith(u'+') && !s.mid(from, digits).startsWith(u'-');
        };
        QString out;
        out.reserve(s.size());
        for (qsizetype i = 0; i < s.size(); ++i) {
            uint v = 0;
            if (s[i] == u'%' && i + 1 < s.size() && (s[i + 1] == u'u' || s[i + 1] == u'U') && hex(i + 2, 4, &v)) {
                out += QChar(char16_t(v));
                i += 5;
            } else if (s[i] == u'%' && hex(i + 1, 2, &v)) {
                out += QChar(char16_t(v));
                i += 2;
            } else {
                out += s[i];
            }
        }
        return out;
    });
}

Variant fSpace(ARGS)
{
    const int c = countArg(a[0]);
    if (c > 64 * 1024 * 1024)
        raise(ErrOutOfStringSpace);
    return Variant(QString(c, QLatin1Char(' ')));
}

Variant fString(ARGS)
{
    const int c = countArg(a[0]);
    if (c > 64 * 1024 * 1024)
        raise(ErrOutOfStringSpace);
    const Variant ch = valueOf(a[1]);
    if (ch.isNull())
        return ch;
    QChar q;
    if (ch.isString()) {
        if (ch.rawString().isEmpty())
            raise(ErrInvalidCall);
        q = ch.rawString()[0];
    } else {
        q = QChar(ushort(ch.toLong() & 0xFFFF));
    }
    return Variant(QString(c, q));
}

Variant fAsc(ARGS)
{
    const QString s = a[0].toString();
    if (s.isEmpty())
        raise(ErrInvalidCall);
    return Variant(int(s[0].unicode()));
}

Variant fChr(ARGS)
{
    const int c = a[0].toLong();
    if (c < -32768 || c > 65535)
        raise(ErrInvalidCall);
    return Variant(QString(QChar(ushort(c & 0xFFFF))));
}

Variant fInStr(ARGS)
{
    int start = 1;
    int i = 0;
    if (n >= 3) {
        start = a[0].toLong();
        if (start < 1)
            raise(ErrInvalidCall);
        i = 1;
    }
    if (anyNull(a + i, 2))
        return Variant::null();
    const QString s1 = a[i].toString(), s2 = a[i + 1].toString();
    const Qt::CaseSensitivity cs = compareMode(rt, a, n, i + 2);
    if (start > s1.size())
        return Variant(s2.isEmpty() && start == s1.size() + 1 ? start : 0);
    if (s2.isEmpty())
        return Variant(start);
    return Variant(int(s1.indexOf(s2, start - 1, cs) + 1));
}

Variant fInStrRev(ARGS)
{
    if (anyNull(a, 2))
        return Variant::null();
    const QString s1 = a[0].toString(), s2 = a[1].toString();
    int start = has(a, n, 2) ? a[2].toLong() : -1;
    if (start == 0 || start < -1)
        raise(ErrInvalidCall);
    if (start == -1)
        start = int(s1.size());
    if (start > s1.size())
        return Variant(0);
    if (s2.isEmpty())
        return Variant(start);
    const qsizetype from = start - qsizetype(s2.size());
    if (from < 0)
        return Variant(0);
    return Variant(int(s1.lastIndexOf(s2, from, compareMode(rt, a, n, 3)) + 1));
}

Variant fReplace(ARGS)
{
    const Variant src = valueOf(a[0]);
    if (src.isNull())
        raise(ErrInvalidUseOfNull);
    const QString s = src.toString(), find = a[1].toString(), repl = a[2].toString();
    const int start = has(a, n, 3) ? a[3].toLong() : 1;
    int count = has(a, n, 4) ? a[4].toLong() : -1;
    if (start < 1 || count < -1)
        raise(ErrInvalidCall);
    const Qt::CaseSensitivity cs = compareMode(rt, a, n, 5);
    QString text = s.mid(start - 1);
    if (find.isEmpty() || count == 0)
        return Variant(text);
    QString out;
    qsizetype pos = 0;
    while (count != 0) {
        const qsizetype hit = text.indexOf(find, pos, cs);
        if (hit < 0)
            break;
        out += QStringView(text).mid(pos, hit - pos);
        out += repl;
        pos = hit + find.size();
        if (count > 0)
            --count;
    }
    out += QStringView(text).mid(pos);
    return Variant(out);
}

Variant fStrComp(ARGS)
{
    if (anyNull(a, 2))
        return Variant::null();
    const int c = a[0].toString().compare(a[1].toString(), compareMode(rt, a, n, 2));
    return Variant::integer(c < 0 ? -1 : c > 0 ? 1 : 0);
}

Variant fSplit(ARGS)
{
    const QString s = a[0].toString();
    const QString delim = has(a, n, 1) ? a[1].toString() : QStringLiteral(" ");
    const int limit = has(a, n, 2) ? a[2].toLong() : -1;
    const Qt::CaseSensitivity cs = compareMode(rt, a, n, 3);
    std::vector<Variant> parts;
    if (!s.isEmpty()) {
        if (delim.isEmpty()) {
            parts.push_back(Variant(s));
        } else {
            qsizetype pos = 0;
            for (;;) {
                if (limit > 0 && int(parts.size()) == limit - 1) {
                    parts.push_back(Variant(s.mid(pos)));
                    break;
                }
                const qsizetype hit = s.indexOf(delim, pos, cs);
                if (hit < 0) {
                    parts.push_back(Variant(s.mid(pos)));
                    break;
                }
                parts.push_back(Variant(s.mid(pos, hit - pos)));
                pos = hit + delim.size();
            }
        }
    }
    return Variant(Array::fromList(std::move(parts)));
}

Array *arrayArg(const Variant &v)
{
    Array *arr = v.array();
    if (!arr)
        raise(ErrTypeMismatch);
    return arr;
}

Variant fJoin(ARGS)
{
    Array *arr = arrayArg(a[0]);
    if (arr->dims() > 1)
        raise(ErrInvalidCall);
    const QString delim = has(a, n, 1) ? a[1].toString() : QStringLiteral(" ");
    QString out;
    for (size_t i = 0; i < arr->data.size(); ++i) {
        if (i)
            out += delim;
        const Variant v = valueOf(arr->data[i]);
        if (!v.isNull())
            out += v.toString();
    }
    return Variant(out);
}

Variant fFilter(ARGS)
{
    Array *arr = arrayArg(a[0]);
    const QString value = a[1].toString();
    const bool include = has(a, n, 2) ? a[2].toBool() : true;
    const Qt::CaseSensitivity cs = compareMode(rt, a, n, 3);
    std::vector<Variant> out;
    for (const Variant &v : arr->data) {
        const QString s = valueOf(v).toString();
        if (s.contains(value, cs) == include)
            out.push_back(Variant(s));
    }
    return Variant(Array::fromList(std::move(out)));
}

// ---- conversions ----

Variant fCBool(ARGS) { return Variant(valueOf(a[0]).toBool()); }
Variant fCByte(ARGS)
{
    const int v = a[0].toLong();
    if (v < 0 || v > 255)
        raise(ErrOverflow);
    return Variant::byte(v);
}
Variant fCCur(ARGS) { return Variant::currency(a[0].toCurrency()); }
Variant fCDate(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        raise(ErrInvalidUseOfNull);
    if (v.isString()) {
        double d;
        if (!parseDate(v.rawString(), &d))
            raise(ErrTypeMismatch);
        return Variant::date(d);
    }
    return Variant::date(v.toDate());
}
Variant fCDbl(ARGS) { return Variant(valueOf(a[0]).toDouble()); }
Variant fCInt(ARGS) { return Variant::integer(a[0].toInteger()); }
Variant fCLng(ARGS) { return Variant(a[0].toLong()); }
Variant fCSng(ARGS)
{
    const double d = a[0].toDouble();
    if (std::fabs(d) > 3.402823466e38)
        raise(ErrOverflow);
    return Variant::single(d);
}
Variant fCStr(ARGS) { return Variant(valueOf(a[0]).toString()); }

Variant radix(Variant *a, int base)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    if (v.isEmpty())
        return Variant(QStringLiteral("0"));
    const qint64 x = v.toLong();
    quint64 bits = quint64(x);
    if (x < 0)
        bits = (v.type() == VType::Integer || v.type() == VType::Byte) && x >= -32768 ? quint64(x) & 0xFFFF : quint64(x) & 0xFFFFFFFF;
    return Variant(QString::number(bits, base).toUpper());
}

Variant fHex(ARGS) { return radix(a, 16); }
Variant fOct(ARGS) { return radix(a, 8); }

Variant keepType(const Variant &v, double r)
{
    switch (v.type()) {
    case VType::Integer: case VType::Long: case VType::Byte: case VType::Boolean:
        return v.type() == VType::Boolean ? Variant::integer(int(r)) : v;
    case VType::Currency: return Variant::currencyFromDouble(r);
    case VType::Single: return Variant::single(r);
    case VType::Date: return Variant::date(r);
    default: return Variant(r);
    }
}

Variant fFix(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    return keepType(v.isString() ? Variant(v.toDouble()) : v, std::trunc(v.toDouble()));
}

Variant fInt(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    return keepType(v.isString() ? Variant(v.toDouble()) : v, std::floor(v.toDouble()));
}

Variant fAbs(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    if (v.isEmpty())
        return Variant::integer(0);
    if (v.isIntegral() && v.type() != VType::Boolean) {
        const qint64 x = std::llabs(v.rawInt());
        return v.type() == VType::Integer && x <= 32767 ? Variant::integer(int(x))
                                                        : Variant::number(double(x));
    }
    return keepType(v.isString() ? Variant(v.toDouble()) : v, std::fabs(v.toDouble()));
}

Variant fSgn(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    const double d = v.toDouble();
    return Variant::integer(d > 0 ? 1 : d < 0 ? -1 : 0);
}

Variant fRound(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (v.isNull())
        return v;
    const int digits = has(a, n, 1) ? a[1].toLong() : 0;
    if (digits < 0)
        raise(ErrInvalidCall);
    const double scale = std::pow(10.0, digits);
    const double x = v.toDouble();
    double r = std::nearbyint(x * scale) / scale;
    if (!std::isfinite(r))
        r = x;
    if (digits == 0 && (v.isIntegral() || v.type() == VType::Currency))
        return keepType(v, r);
    return keepType(v.isString() || v.isIntegral() ? Variant(r) : v, r);
}

Variant fVal(ARGS)
{
    // The leading number of a text, as Access and Visual Basic read it.
    const QString s = a[0].toString();
    QString digits;
    bool seenPoint = false, seenExp = false;
    for (QChar c : s) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('+')) && (digits.isEmpty() || digits.endsWith(QLatin1Char('E'))))) {
            digits += c;
        } else if (c == QLatin1Char('.') && !seenPoint && !seenExp) {
            seenPoint = true;
            digits += c;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && !seenExp && !digits.isEmpty()) {
            seenExp = true;
            digits += QLatin1Char('E');
        } else {
            break;
        }
    }
    bool ok = false;
    double v = digits.toDouble(&ok);
    while (!ok && !digits.isEmpty()) {
        digits.chop(1);
        v = digits.toDouble(&ok);
    }
    return Variant(ok ? v : 0.0);
}

// ---- math ----

double num(const Variant &v) { return valueOf(v).toDouble(); }
Variant fAtn(ARGS) { return Variant(std::atan(num(a[0]))); }
Variant fCos(ARGS) { return Variant(std::cos(num(a[0]))); }
Variant fSin(ARGS) { return Variant(std::sin(num(a[0]))); }
Variant fTan(ARGS) { return Variant(std::tan(num(a[0]))); }
Variant fExp(ARGS)
{
    const double v = std::exp(num(a[0]));
    if (std::isinf(v))
        raise(ErrOverflow);
    return Variant(v);
}
Variant fLog(ARGS)
{
    const double x = num(a[0]);
    if (x <= 0)
        raise(ErrInvalidCall);
    return Variant(std::log(x));
}
Variant fSqr(ARGS)
{
    const double x = num(a[0]);
    if (x < 0)
        raise(ErrInvalidCall);
    return Variant(std::sqrt(x));
}

QRandomGenerator &rng()
{
    static QRandomGenerator g(1);
    return g;
}
double &lastRandom()
{
    static double v = 0;
    return v;
}

Variant fRnd(ARGS)
{
    const double x = has(a, n, 0) ? num(a[0]) : 1;
    if (x == 0)
        return Variant::single(lastRandom());
    if (x < 0)
        rng().seed(quint32(qint64(x * 1000)));
    lastRandom() = double(float(rng().generateDouble()));
    return Variant::single(lastRandom());
}

Variant fRandomize(ARGS)
{
    if (has(a, n, 0))
        rng().seed(quint32(qint64(num(a[0]) * 1000)));
    else
        rng().seed(QRandomGenerator::global()->generate());
    return Variant();
}

// ---- arrays ----

Variant fArray(ARGS)
{
    std::vector<Variant> items;
    items.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        items.push_back(a[i].deepCopy());
    return Variant(Array::fromList(std::move(items)));
}

Variant bound(Variant *a, int n, bool upper)
{
    Array *arr = arrayArg(a[0]);
    const int dim = has(a, n, 1) ? a[1].toLong() : 1;
    if (dim < 1 || dim > arr->dims())
        raise(ErrSubscript);
    const Array::Bound &b = arr->bounds[size_t(dim - 1)];
    return Variant(upper ? b.lower + b.count - 1 : b.lower);
}

Variant fLBound(ARGS) { return bound(a, n, false); }
Variant fUBound(ARGS) { return bound(a, n, true); }

// ---- type inspection ----

Variant fIsArray(ARGS) { return Variant(a[0].isArray()); }
Variant fIsEmpty(ARGS) { return Variant(a[0].isEmpty()); }
Variant fIsNull(ARGS) { return Variant(valueOf(a[0]).isNull()); }
Variant fIsMissing(ARGS) { return Variant(isMissing(a[0])); }
Variant fIsObject(ARGS) { return Variant(a[0].isObject()); }
Variant fIsNumeric(ARGS)
{
    const Variant v = a[0].isObject() ? valueOf(a[0]) : a[0];
    switch (v.type()) {
    case VType::Date: case VType::Null: case VType::Array: case VType::Object: case VType::Error:
        return Variant(false);
    case VType::String: {
        double d;
        return Variant(parseNumber(v.rawString(), &d));
    }
    default:
        return Variant(true);
    }
}
Variant fIsDate(ARGS)
{
    const Variant v = a[0].isObject() ? valueOf(a[0]) : a[0];
    if (v.type() == VType::Date)
        return Variant(true);
    double d;
    return Variant(v.isString() && parseDate(v.rawString(), &d));
}
Variant fTypeName(ARGS) { return Variant(typeName(a[0])); }
Variant fVarType(ARGS)
{
    // An object with a default value reports its value's type, as
    // Visual Basic does.
    if (a[0].isObject() && a[0].object()) {
        try {
            return Variant::integer(varType(valueOf(a[0])));
        } catch (const ScriptError &) {
            return Variant::integer(int(VType::Object));
        }
    }
    return Variant::integer(varType(a[0]));
}

// ---- choices ----

Variant fIIf(ARGS) { return truthOf(a[0]) ? a[1] : a[2]; }

Variant fChoose(ARGS)
{
    const int i = int(std::floor(num(a[0])));
    if (i < 1 || i >= n)
        return Variant::null();
    return a[i];
}

Variant fSwitch(ARGS)
{
    if (n % 2 != 0)
        raise(ErrInvalidCall);
    for (int i = 0; i < n; i += 2)
        if (truthOf(a[i]))
            return a[i + 1];
    return Variant::null();
}

Variant fNz(ARGS)
{
    const Variant v = valueOf(a[0]);
    if (!v.isNull() && !v.isEmpty())
        return v;
    return has(a, n, 1) ? a[1] : Variant(QString());
}

Variant fRGB(ARGS)
{
    const auto part = [](const Variant &v) { return std::clamp(v.toLong(), 0, 255); };
    return Variant(part(a[0]) + part(a[1]) * 256 + part(a[2]) * 65536);
}

// ---- prompts and objects ----

Variant fMsgBox(ARGS)
{
    const QString prompt = valueOf(a[0]).isNull() ? QString() : valueOf(a[0]).toString();
    const int buttons = has(a, n, 1) ? a[1].toLong() : 0;
    const QString title = has(a, n, 2) ? a[2].toString() : QString();
    if (!rt.hooks.messageBox)
        return Variant::integer(1);
    return Variant::integer(rt.hooks.messageBox(prompt, buttons, title));
}

Variant fInputBox(ARGS)
{
    const QString prompt = a[0].toString();
    const QString title = has(a, n, 1) ? a[1].toString() : QString();
    const QString def = has(a, n, 2) ? a[2].toString() : QString();
    if (!rt.hooks.inputBox)
        return Variant(QString());
    const std::optional<QString> answer = rt.hooks.inputBox(prompt, title, def);
    return Variant(answer.value_or(QString()));
}

Variant fCreateObject(ARGS)
{
    const QString progId = a[0].toString();
    if (!rt.hooks.createObject)
        raise(ErrCannotCreateObject, QStringLiteral("ActiveX component can't create object: '%1'").arg(progId));
    return rt.hooks.createObject(rt, progId);
}

Variant fGetObject(ARGS)
{
    raise(ErrCannotCreateObject, QStringLiteral("ActiveX component can't create object: 'GetObject'"));
}

Variant fScriptEngine(ARGS) { return Variant(QStringLiteral("VBScript")); }
Variant fMajor(ARGS) { return Variant(5); }
Variant fMinor(ARGS) { return Variant(8); }
Variant fBuild(ARGS) { return Variant(0); }

constexpr int Many = 1 << 20;

const Builtin table[] = {
    {"Len", 1, 1, fLen}, {"Left", 2, 2, fLeft}, {"Right", 2, 2, fRight}, {"Mid", 2, 3, fMid},
    {"LCase", 1, 1, fLCase}, {"UCase", 1, 1, fUCase}, {"Trim", 1, 1, fTrim}, {"LTrim", 1, 1, fLTrim},
    {"RTrim", 1, 1, fRTrim}, {"StrReverse", 1, 1, fStrReverse}, {"Space", 1, 1, fSpace},
    {"Escape", 1, 1, fEscape}, {"Unescape", 1, 1, fUnescape},
    {"String", 2, 2, fString}, {"Asc", 1, 1, fAsc}, {"AscW", 1, 1, fAsc}, {"AscB", 1, 1, fAsc},
    {"Chr", 1, 1, fChr}, {"ChrW", 1, 1, fChr}, {"ChrB", 1, 1, fChr}, {"InStr", 2, 4, fInStr},
    {"InStrRev", 2, 4, fInStrRev}, {"Replace", 3, 6, fReplace}, {"StrComp", 2, 3, fStrComp},
    {"Split", 1, 4, fSplit}, {"Join", 1, 2, fJoin}, {"Filter", 2, 4, fFilter},
    {"CBool", 1, 1, fCBool}, {"CByte", 1, 1, fCByte}, {"CCur", 1, 1, fCCur}, {"CDate", 1, 1, fCDate},
    {"CDbl", 1, 1, fCDbl}, {"CInt", 1, 1, fCInt}, {"CLng", 1, 1, fCLng}, {"CSng", 1, 1, fCSng},
    {"CStr", 1, 1, fCStr}, {"Hex", 1, 1, fHex}, {"Oct", 1, 1, fOct}, {"Fix", 1, 1, fFix},
    {"Int", 1, 1, fInt}, {"Abs", 1, 1, fAbs}, {"Sgn", 1, 1, fSgn}, {"Round", 1, 2, fRound},
    {"Val", 1, 1, fVal}, {"Atn", 1, 1, fAtn}, {"Cos", 1, 1, fCos}, {"Sin", 1, 1, fSin},
    {"Tan", 1, 1, fTan}, {"Exp", 1, 1, fExp}, {"Log", 1, 1, fLog}, {"Sqr", 1, 1, fSqr},
    {"Rnd", 0, 1, fRnd}, {"Randomize", 0, 1, fRandomize}, {"Array", 0, Many, fArray},
    {"LBound", 1, 2, fLBound}, {"UBound", 1, 2, fUBound}, {"IsArray", 1, 1, fIsArray},
    {"IsEmpty", 1, 1, fIsEmpty}, {"IsNull", 1, 1, fIsNull}, {"IsObject", 1, 1, fIsObject},
    {"IsMissing", 1, 1, fIsMissing},
    {"IsNumeric", 1, 1, fIsNumeric}, {"IsDate", 1, 1, fIsDate}, {"TypeName", 1, 1, fTypeName},
    {"VarType", 1, 1, fVarType}, {"IIf", 3, 3, fIIf}, {"Choose", 2, Many, fChoose},
    {"Switch", 2, Many, fSwitch}, {"Nz", 1, 2, fNz}, {"RGB", 3, 3, fRGB}, {"MsgBox", 1, 5, fMsgBox},
    {"InputBox", 1, 7, fInputBox}, {"CreateObject", 1, 2, fCreateObject}, {"GetObject", 0, 2, fGetObject},
    {"ScriptEngine", 0, 0, fScriptEngine}, {"ScriptEngineMajorVersion", 0, 0, fMajor},
    {"ScriptEngineMinorVersion", 0, 0, fMinor}, {"ScriptEngineBuildVersion", 0, 0, fBuild},
};

#undef ARGS

} // namespace

bool truthOf(const Variant &v0)
{
    const Variant v = valueOf(v0);
    return !v.isNull() && v.toBool();
}

const Builtin *findBuiltin(const QString &name)
{
    static const QHash<QString, const Builtin *> index = [] {
        QHash<QString, const Builtin *> h;
        for (const Builtin &b : table)
            h.insert(QString::fromLatin1(b.name).toLower(), &b);
        for (const Builtin *b = dateBuiltins(); b->name; ++b)
            h.insert(QString::fromLatin1(b->name).toLower(), b);
        return h;
    }();
    return index.value(name.toLower());
}

QStringList builtinNames()
{
    QStringList names;
    for (const Builtin &b : table)
        names.append(QString::fromLatin1(b.name));
    for (const Builtin *b = dateBuiltins(); b->name; ++b)
        names.append(QString::fromLatin1(b->name));
    return names;
}

bool builtinConstant(const QString &name, Variant *value)
{
    static const QHash<QString, Variant> constants = [] {
        QHash<QString, Variant> c;
        const auto add = [&](const char *n, Variant v) { c.insert(QString::fromLatin1(n).toLower(), std::move(v)); };
        const auto i = [](int v) { return Variant::number(v); };
        add("vbCrLf", Variant(QStringLiteral("\r\n")));
        add("vbCr", Variant(QStringLiteral("\r")));
        add("vbLf", Variant(QStringLiteral("\n")));
        add("vbNewLine", Variant(QStringLiteral("\r\n")));
        add("vbTab", Variant(QStringLiteral("\t")));
        add("vbFormFeed", Variant(QStringLiteral("\f")));
        add("vbVerticalTab", Variant(QStringLiteral("\v")));
        add("vbNullChar", Variant(QString(QChar(0))));
        add("vbNullString", Variant(QString()));
        add("vbBack", Variant(QStringLiteral("\b")));
        add("vbTrue", i(-1)); add("vbFalse", i(0)); add("vbUseDefault", i(-2));
        add("vbBinaryCompare", i(0)); add("vbTextCompare", i(1)); add("vbDatabaseCompare", i(2));
        add("vbUseSystemDayOfWeek", i(0)); add("vbSunday", i(1)); add("vbMonday", i(2)); add("vbTuesday", i(3));
        add("vbWednesday", i(4)); add("vbThursday", i(5)); add("vbFriday", i(6)); add("vbSaturday", i(7));
        add("vbUseSystem", i(0)); add("vbFirstJan1", i(1)); add("vbFirstFourDays", i(2)); add("vbFirstFullWeek", i(3));
        add("vbGeneralDate", i(0)); add("vbLongDate", i(1)); add("vbShortDate", i(2)); add("vbLongTime", i(3)); add("vbShortTime", i(4));
        add("vbOKOnly", i(0)); add("vbOKCancel", i(1)); add("vbAbortRetryIgnore", i(2)); add("vbYesNoCancel", i(3));
        add("vbYesNo", i(4)); add("vbRetryCancel", i(5)); add("vbCritical", i(16)); add("vbQuestion", i(32));
        add("vbExclamation", i(48)); add("vbInformation", i(64)); add("vbDefaultButton1", i(0));
        add("vbDefaultButton2", i(256)); add("vbDefaultButton3", i(512)); add("vbDefaultButton4", i(768));
        add("vbApplicationModal", i(0)); add("vbSystemModal", i(4096));
        add("vbOK", i(1)); add("vbCancel", i(2)); add("vbAbort", i(3)); add("vbRetry", i(4)); add("vbIgnore", i(5));
        add("vbYes", i(6)); add("vbNo", i(7));
        add("vbEmpty", i(0)); add("vbNull", i(1)); add("vbInteger", i(2)); add("vbLong", i(3)); add("vbSingle", i(4));
        add("vbDouble", i(5)); add("vbCurrency", i(6)); add("vbDate", i(7)); add("vbString", i(8)); add("vbObject", i(9));
        add("vbError", i(10)); add("vbBoolean", i(11)); add("vbVariant", i(12)); add("vbDataObject", i(13));
        add("vbDecimal", i(14)); add("vbByte", i(17)); add("vbArray", i(8192));
        add("vbBlack", i(0)); add("vbRed", i(0xFF)); add("vbGreen", i(0xFF00)); add("vbYellow", i(0xFFFF));
        add("vbBlue", Variant(0xFF0000)); add("vbMagenta", Variant(0xFF00FF)); add("vbCyan", Variant(0xFFFF00));
        add("vbWhite", Variant(0xFFFFFF));
        add("vbObjectError", Variant(-2147221504));
        add("adOpenForwardOnly", i(0)); add("adOpenKeyset", i(1)); add("adOpenDynamic", i(2)); add("adOpenStatic", i(3));
        add("adLockReadOnly", i(1)); add("adLockPessimistic", i(2)); add("adLockOptimistic", i(3)); add("adLockBatchOptimistic", i(4));
        add("adCmdText", i(1)); add("adCmdTable", i(2)); add("adCmdStoredProc", i(4)); add("adCmdUnknown", i(8));
        add("adUseClient", i(3)); add("adUseServer", i(2)); add("adStateClosed", i(0)); add("adStateOpen", i(1));
        return c;
    }();
    const auto it = constants.find(name.toLower());
    if (it == constants.end())
        return false;
    *value = it.value();
    return true;
}

} // namespace Orv::Script
