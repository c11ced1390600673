#include "engine/script/operators.h"

#include "engine/script/interp.h"
#include "engine/script/object.h"

#include <cmath>

namespace Orv::Script {

namespace {

// Numeric ranks of the arithmetic result types.
enum Rank { RInt16 = 0, RInt32 = 1, RSingle = 2, RDouble = 3, RCurrency = 4, RDate = 5 };

Rank rankOf(const Variant &v)
{
    switch (v.type()) {
    case VType::Empty: case VType::Integer: case VType::Boolean: case VType::Byte: return RInt16;
    case VType::Long: case VType::Error: return RInt32;
    case VType::Single: return RSingle;
    case VType::Currency: return RCurrency;
    case VType::Date: return RDate;
    case VType::Null: case VType::Object: case VType::Array: raise(ErrTypeMismatch);
    default: return RDouble; // Double, String
    }
}

Variant integral(qint64 v, Rank rank)
{
    if (rank == RInt16 && v >= -32768 && v <= 32767)
        return Variant::integer(int(v));
    if (v >= -2147483648LL && v <= 2147483647LL)
        return Variant(int(v));
    return Variant(double(v));
}

Variant floating(double v, Rank rank)
{
    if (rank == RSingle)
        return Variant::single(v);
    return Variant(v);
}

Variant arith(BinOp op, const Variant &a, const Variant &b)
{
    const Rank ra = rankOf(a), rb = rankOf(b);
    Rank r = std::max(ra, rb);
    if ((ra == RSingle && rb == RInt32) || (rb == RSingle && ra == RInt32))
        r = RDouble;
    if (r == RDate) {
        if (op == BinOp::Mul)
            return Variant(a.toDouble() * b.toDouble());
        if (op == BinOp::Sub && ra == RDate && rb == RDate)
            return Variant(a.toDouble() - b.toDouble());
        const double v = op == BinOp::Add ? a.toDouble() + b.toDouble() : a.toDouble() - b.toDouble();
        return Variant::date(v);
    }
    if (r == RCurrency) {
        if (ra == RDouble || rb == RDouble || ra == RSingle || rb == RSingle) {
            r = RDouble;
        } else if (op == BinOp::Mul) {
            return Variant::currencyFromDouble(a.toDouble() * b.toDouble());
        } else {
            const qint64 x = a.toCurrency(), y = b.toCurrency();
            qint64 out;
            if (op == BinOp::Add ? __builtin_add_overflow(x, y, &out) : __builtin_sub_overflow(x, y, &out))
                raise(ErrOverflow);
            return Variant::currency(out);
        }
    }
    if (r <= RInt32) {
        const qint64 x = a.toLong(), y = b.toLong();
        const qint64 v = op == BinOp::Add ? x + y : op == BinOp::Sub ? x - y : x * y;
        return integral(v, r);
    }
    const double x = a.toDouble(), y = b.toDouble();
    const double v = op == BinOp::Add ? x + y : op == BinOp::Sub ? x - y : x * y;
    if (std::isinf(v))
        raise(ErrOverflow);
    return floating(v, r);
}

bool isStringLike(const Variant &v) { return v.isString(); }

Variant logical(BinOp op, const Variant &a, const Variant &b)
{
    // Null follows the three-valued rules: Null And False is False, Null
    // Or True is True, otherwise Null.
    if (a.isNull() || b.isNull()) {
        const Variant &other = a.isNull() ? b : a;
        if (a.isNull() && b.isNull())
            return Variant::null();
        const qint64 o = other.toLong();
        switch (op) {
        case BinOp::And:
            return o == 0 ? (other.type() == VType::Boolean ? Variant(false) : integral(0, rankOf(other))) : Variant::null();
        case BinOp::Or:
            return o == -1 ? (other.type() == VType::Boolean ? Variant(true) : integral(-1, rankOf(other))) : Variant::null();
        case BinOp::Imp:
            if (a.isNull())
                return o == -1 ? Variant(true) : Variant::null();
            return o == 0 ? Variant(true) : Variant::null();
        default:
            return Variant::null();
        }
    }
    const bool boolean = a.type() == VType::Boolean && b.type() == VType::Boolean;
    const qint64 x = a.toLong(), y = b.toLong();
    qint64 v = 0;
    switch (op) {
    case BinOp::And: v = x & y; break;
    case BinOp::Or: v = x | y; break;
    case BinOp::Xor: v = x ^ y; break;
    case BinOp::Eqv: v = ~(x ^ y); break;
    case BinOp::Imp: v = (~x) | y; break;
    default: break;
    }
    if (boolean)
        return Variant(v != 0);
    const Rank r = std::max(rankOf(a), rankOf(b)) <= RInt16 ? RInt16 : RInt32;
    return integral(qint32(v), r);
}

} // namespace

Variant concat(const QString &a, const QString &b)
{
    // Doubling a string in a loop must end in an error, not in all memory.
    if (a.size() + b.size() > MaxStringLength)
        raise(ErrOutOfStringSpace);
    // Joining copies both texts: long results count as steps of their
    // own, so a loop that grows a text by a little is bounded by the step
    // budgets in time, not only in turns.
    const qsizetype size = a.size() + b.size();
    if (size >= 4096)
        if (Runtime *rt = Runtime::current())
            rt->charge(size / 64);
    return Variant(a + b);
}

int compare(const Variant &a0, const Variant &b0, bool textCompare, unsigned hard)
{
    const Variant a = valueOf(a0), b = valueOf(b0);
    if (a.isNull() || b.isNull())
        return 2;
    const bool as = a.isString(), bs = b.isString();
    if (as && bs)
        return std::clamp(a.rawString().compare(b.rawString(), textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive), -1, 1);
    if (as || bs) {
        const Variant &other = as ? b : a;
        if (other.isEmpty()) {
            const QString &s = as ? a.rawString() : b.rawString();
            const int c = s.isEmpty() ? 0 : 1;
            return as ? c : -c;
        }
        if (other.type() == VType::Array || other.isObject())
            raise(ErrTypeMismatch);
        const bool numberHard = hard & (as ? RightHard : LeftHard);
        const bool stringHard = hard & (as ? LeftHard : RightHard);
        if (numberHard) {
            // The string is read as a number; text that is none is a mismatch.
            double x = 0;
            if (!parseNumber(as ? a.rawString() : b.rawString(), &x))
                raise(ErrTypeMismatch);
            const double y = other.toDouble();
            const int c = x < y ? -1 : x > y ? 1 : 0;
            return as ? c : -c;
        }
        if (stringHard) // the number is read as its text
            return std::clamp(a.toString().compare(b.toString(), textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive), -1, 1);
        // Between two computed values a number is less than any string.
        return as ? 1 : -1;
    }
    if (a.type() == VType::Array || b.type() == VType::Array || a.isObject() || b.isObject())
        raise(ErrTypeMismatch);
    if (a.type() == VType::Currency && b.type() == VType::Currency)
        return a.rawInt() < b.rawInt() ? -1 : a.rawInt() > b.rawInt() ? 1 : 0;
    if (a.isIntegral() && b.isIntegral())
        return a.rawInt() < b.rawInt() ? -1 : a.rawInt() > b.rawInt() ? 1 : 0;
    const double x = a.toDouble(), y = b.toDouble();
    return x < y ? -1 : x > y ? 1 : 0;
}

Variant binary(BinOp op, const Variant &a0, const Variant &b0, unsigned flags)
{
    if (op == BinOp::Is) {
        if (!a0.isObject() || !b0.isObject())
            raise(ErrObjectRequired);
        const QObject *qa = a0.object() ? a0.object()->qobject() : nullptr;
        const QObject *qb = b0.object() ? b0.object()->qobject() : nullptr;
        if (qa || qb)
            return Variant(qa == qb);
        return Variant(a0.object() == b0.object());
    }
    const Variant a = valueOf(a0), b = valueOf(b0);
    switch (op) {
    case BinOp::Concat:
        if (a.isNull() && b.isNull())
            return Variant::null();
        return concat(a.isNull() ? QString() : a.toString(), b.isNull() ? QString() : b.toString());
    case BinOp::Add:
        if (a.isNull() || b.isNull())
            return Variant::null();
        if (isStringLike(a) && isStringLike(b))
            return concat(a.rawString(), b.rawString());
        if (isStringLike(a) && b.isEmpty())
            return a;
        if (isStringLike(b) && a.isEmpty())
            return b;
        if (a.isEmpty() && b.isEmpty())
            return Variant::integer(0);
        return arith(op, a, b);
    case BinOp::Sub:
    case BinOp::Mul:
        if (a.isNull() || b.isNull())
            return Variant::null();
        return arith(op, a, b);
    case BinOp::Div: {
        if (a.isNull() || b.isNull())
            return Variant::null();
        const double y = b.toDouble();
        const double x = a.toDouble();
        if (y == 0)
            raise(x == 0 ? 6 : 11);
        const Rank r = std::max(rankOf(a), rankOf(b));
        return floating(x / y, r == RSingle && rankOf(a) != RInt32 && rankOf(b) != RInt32 ? RSingle : RDouble);
    }
    case BinOp::IntDiv:
    case BinOp::Mod: {
        if (a.isNull() || b.isNull())
            return Variant::null();
        const qint64 x = a.toLong(), y = b.toLong();
        if (y == 0)
            raise(ErrDivisionByZero);
        const Rank r = std::max(rankOf(a), rankOf(b)) <= RInt16 ? RInt16 : RInt32;
        return integral(op == BinOp::IntDiv ? x / y : x % y, r);
    }
    case BinOp::Pow: {
        if (a.isNull() || b.isNull())
            return Variant::null();
        const double x = a.toDouble(), y = b.toDouble();
        if (x < 0 && y != std::floor(y))
            raise(ErrInvalidCall);
        if (x == 0 && y < 0)
            raise(ErrInvalidCall);
        const double v = std::pow(x, y);
        if (std::isinf(v))
            raise(ErrOverflow);
        return Variant(v);
    }
    case BinOp::Eq: case BinOp::Ne: case BinOp::Lt: case BinOp::Le: case BinOp::Gt: case BinOp::Ge: {
        const int c = compare(a, b, flags & TextCompare, flags);
        if (c == 2)
            return Variant::null();
        switch (op) {
        case BinOp::Eq: return Variant(c == 0);
        case BinOp::Ne: return Variant(c != 0);
        case BinOp::Lt: return Variant(c < 0);
        case BinOp::Le: return Variant(c <= 0);
        case BinOp::Gt: return Variant(c > 0);
        default: return Variant(c >= 0);
        }
    }
    case BinOp::And: case BinOp::Or: case BinOp::Xor: case BinOp::Eqv: case BinOp::Imp:
        return logical(op, a, b);
    case BinOp::Is:
        break;
    }
    return Variant();
}

Variant negate(const Variant &a0)
{
    const Variant a = valueOf(a0);
    switch (a.type()) {
    case VType::Null: return a;
    case VType::Empty: return Variant::integer(0);
    case VType::Integer: case VType::Boolean: case VType::Byte: return integral(-a.rawInt(), RInt16);
    case VType::Long: return integral(-a.rawInt(), RInt32);
    case VType::Single: return Variant::single(-a.rawDouble());
    case VType::Currency: return Variant::currency(-a.rawInt());
    case VType::Date: return Variant::date(-a.rawDouble());
    default: return Variant(-a.toDouble());
    }
}

Variant logicalNot(const Variant &a0)
{
    const Variant a = valueOf(a0);
    switch (a.type()) {
    case VType::Null: return a;
    case VType::Boolean: return Variant(a.rawInt() == 0);
    case VType::Empty: return Variant::integer(-1);
    case VType::Integer: case VType::Byte: return Variant::integer(int(~a.rawInt()));
    default: return Variant(int(~qint64(a.toLong())));
    }
}

} // namespace Orv::Script
