#include "engine/run/summary.h"
#include "engine/core/variantkind.h"

#include <QDateTime>

#include <cmath>

namespace Orv::RunInternal {

bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

bool isNumeric(const QVariant &v)
{
    return isNumericVariant(v);
}

namespace {

bool isDate(const QVariant &v)
{
    const int id = v.metaType().id();
    return id == QMetaType::QDateTime || id == QMetaType::QDate || id == QMetaType::QTime;
}

} // namespace

bool toNumber(const QVariant &v, double *out)
{
    if (isNumeric(v)) {
        *out = v.toDouble();
        return true;
    }
    if (v.metaType().id() == QMetaType::QString) {
        bool ok = false;
        *out = v.toString().trimmed().toDouble(&ok);
        return ok;
    }
    return false;
}

namespace {

size_t keyHash(const QVariant &key)
{
    if (isNumeric(key)) {
        const double d = key.toDouble();
        return qHash(d == 0 ? 0.0 : d, 1);
    }
    if (isDate(key))
        return qHash(key.toDateTime().toMSecsSinceEpoch(), 2);
    if (key.metaType().id() == QMetaType::QByteArray)
        return qHash(key.toByteArray(), 3);
    return qHash(key.toString(), 4);
}

} // namespace

int compareValues(const QVariant &a, const QVariant &b)
{
    double x = 0;
    double y = 0;
    if (isNumeric(a) && isNumeric(b)) {
        x = a.toDouble();
        y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (isDate(a) && isDate(b)) {
        const QDateTime p = a.toDateTime();
        const QDateTime q = b.toDateTime();
        return p < q ? -1 : (p > q ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString());
}

Accumulator::Accumulator(int function)
    : m_function(function < 0 || function > 15 ? 0 : function)
{
}

int Accumulator::kind() const
{
    if (m_function < 9)
        return m_function;
    // dsum, davg, dcount, dvar, dvarp, dstdev, dstdevp
    static const int plain[] = {0, 1, 2, 5, 6, 7, 8};
    return plain[m_function - 9];
}

void Accumulator::reset()
{
    m_count = 0;
    m_sum = m_carry = m_mean = m_m2 = 0;
    m_extreme = nullValue();
    m_seen.clear();
}

void Accumulator::addNumber(double x)
{
    ++m_count;
    const double y = x - m_carry;
    const double t = m_sum + y;
    m_carry = (t - m_sum) - y;
    m_sum = t;
    const double delta = x - m_mean;
    m_mean += delta / double(m_count);
    m_m2 += delta * (x - m_mean);
}

bool Accumulator::add(const QVariant &value, const QVariant &distinctKey)
{
    if (isNullValue(value))
        return true;
    if (isDistinct() && !m_seen.insert(keyHash(isNullValue(distinctKey) ? value : distinctKey)).second)
        return true;
    switch (kind()) {
    case 2: // count
        ++m_count;
        return true;
    case 3: // min
    case 4: // max
        if (isNullValue(m_extreme) || compareValues(value, m_extreme) == (kind() == 3 ? -1 : 1))
            m_extreme = value;
        ++m_count;
        return true;
    default: {
        double x = 0;
        if (!toNumber(value, &x))
            return false;
        addNumber(x);
        return true;
    }
    }
}

QVariant Accumulator::result() const
{
    switch (kind()) {
    case 0: return m_sum;
    case 1: return m_count ? QVariant(m_sum / double(m_count)) : nullValue();
    case 2: return QVariant(qlonglong(m_count));
    case 3:
    case 4: return m_extreme;
    case 5: return m_count > 1 ? QVariant(m_m2 / double(m_count - 1)) : nullValue();
    case 6: return m_count > 0 ? QVariant(m_m2 / double(m_count)) : nullValue();
    case 7: return m_count > 1 ? QVariant(std::sqrt(m_m2 / double(m_count - 1))) : nullValue();
    case 8: return m_count > 0 ? QVariant(std::sqrt(m_m2 / double(m_count))) : nullValue();
    }
    return nullValue();
}

} // namespace Orv::RunInternal
