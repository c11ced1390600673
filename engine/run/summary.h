#pragma once
// Running aggregates of report summaries: sum, average, count, minimum,
// maximum, variance and standard deviation, each also over distinct values.
#include <QVariant>

#include <unordered_set>

namespace Orv::RunInternal {

// The summary functions, numbered as Field.SummaryFunc: 0 sum, 1 avg,
// 2 count, 3 min, 4 max, 5 var, 6 varp, 7 stdev, 8 stdevp, and 9 to 15
// the same (sum to stdevp, without min and max) over distinct values.
class Accumulator
{
public:
    explicit Accumulator(int function = 0);

    void reset();
    // Adds one row's value. Null and Empty count for nothing (as SQL's
    // aggregates have it). For the distinct kinds a row counts only when
    // its key was not seen before. Returns false when a value that must be
    // a number is not one (it is then left out).
    bool add(const QVariant &value, const QVariant &distinctKey = QVariant());

    // Sum and count are 0 over no rows; the others are Null
    // (QVariant::fromValue(nullptr)) until they have rows enough (variance
    // needs two).
    QVariant result() const;

    int function() const { return m_function; }
    bool isDistinct() const { return m_function >= 9; }

private:
    int kind() const; // the function without its distinct flag
    void addNumber(double x);

    int m_function;
    qint64 m_count = 0;
    // Kahan-compensated sum, so money columns add up as SQL's do.
    double m_sum = 0;
    double m_carry = 0;
    double m_mean = 0; // Welford's running mean and squared deviations
    double m_m2 = 0;
    QVariant m_extreme = QVariant::fromValue(nullptr);
    std::unordered_set<size_t> m_seen;
};

// Orders two values for min and max: numbers as numbers, dates as dates,
// anything else as text.
int compareValues(const QVariant &a, const QVariant &b);
bool isNumeric(const QVariant &v);
// Null and Empty alike: SQL NULLs arrive as Null, missing values as Empty.
bool isNullValue(const QVariant &v);
// A number from a number or a numeric text ("12.5"); false otherwise.
bool toNumber(const QVariant &v, double *out);
inline QVariant nullValue() { return QVariant::fromValue(nullptr); }

} // namespace Orv::RunInternal
