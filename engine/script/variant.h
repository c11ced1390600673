#pragma once
// The script's value type: a small tagged union in the manner of a
// Visual Basic Variant. Numbers live inline; strings are implicitly shared
// QStrings; objects and arrays are reference counted.
#include "engine/core/errors.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

namespace Orv::Script {

class Object;
struct Array;

// VarType numbers.
enum class VType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Byte = 17,
    Array = 8204, // vbArray + vbVariant
};

// A run-time error inside the interpreter; turned into a status value at
// the host's boundary and never thrown across it.
struct ScriptError
{
    int number = 0;
    QString description;
    int line = 0;
    int column = 0;
    bool fatal = false; // On Error Resume Next does not catch it (cancel, budget)
    QString source;     // Err.Source when the script raised it
    const void *module = nullptr; // the module whose line it is
};

inline ScriptError scriptError(int number, const QString &description, int line = 0, int column = 0,
                               bool fatal = false)
{
    ScriptError e;
    e.number = number;
    e.description = description;
    e.line = line;
    e.column = column;
    e.fatal = fatal;
    return e;
}

[[noreturn]] void raise(int number, const QString &description = QString());
QString errorDescription(int number);

class Variant
{
public:
    Variant() = default;
    Variant(bool v) : m_type(VType::Boolean) { m_i = v ? -1 : 0; }
    Variant(int v) : m_type(VType::Long) { m_i = v; }
    Variant(double v) : m_type(VType::Double) { m_d = v; }
    Variant(const QString &s) : m_type(VType::String), m_s(s) {}
    Variant(QString &&s) : m_type(VType::String), m_s(std::move(s)) {}
    Variant(const char *s) : m_type(VType::String), m_s(QString::fromUtf8(s)) {}
    Variant(std::shared_ptr<Object> o) : m_type(VType::Object), m_o(std::move(o)) {}
    Variant(std::shared_ptr<Array> a);

    static Variant null() { Variant v; v.m_type = VType::Null; return v; }
    static Variant integer(int v) { Variant r; r.m_type = VType::Integer; r.m_i = v; return r; }
    static Variant byte(int v) { Variant r; r.m_type = VType::Byte; r.m_i = v; return r; }
    static Variant single(double v) { Variant r; r.m_type = VType::Single; r.m_d = double(float(v)); return r; }
    static Variant date(double v) { Variant r; r.m_type = VType::Date; r.m_d = v; return r; }
    static Variant currency(std::int64_t scaled) { Variant r; r.m_type = VType::Currency; r.m_i = scaled; return r; }
    static Variant currencyFromDouble(double v);
    static Variant errorValue(int code) { Variant r; r.m_type = VType::Error; r.m_i = code; return r; }
    static Variant nothing() { Variant r; r.m_type = VType::Object; return r; }
    // A whole number as the smallest of Integer, Long or Double.
    static Variant number(double v);

    VType type() const { return m_type; }
    bool isEmpty() const { return m_type == VType::Empty; }
    bool isNull() const { return m_type == VType::Null; }
    bool isString() const { return m_type == VType::String; }
    bool isObject() const { return m_type == VType::Object; }
    bool isArray() const { return m_type == VType::Array; }
    bool isNumeric() const;   // numeric types, Boolean and Date included
    bool isIntegral() const { return m_type == VType::Integer || m_type == VType::Long || m_type == VType::Byte || m_type == VType::Boolean; }

    // Raw access; only meaningful for the matching type.
    std::int64_t rawInt() const { return m_i; }
    double rawDouble() const { return m_d; }
    const QString &rawString() const { return m_s; }
    const std::shared_ptr<Object> &object() const { return m_o; }
    Array *array() const;
    std::shared_ptr<Array> arrayRef() const;

    // Conversions in Visual Basic's manner; they raise 13 (type mismatch)
    // or 6 (overflow) on failure.
    double toDouble() const;
    std::int32_t toLong() const;   // rounds half to even
    std::int32_t toInteger() const; // rounds, checks -32768..32767
    bool toBool() const;           // Null raises 94
    QString toString() const;      // Null raises 94
    double toDate() const;
    std::int64_t toCurrency() const;
    // Object or Nothing; anything else raises 424.
    std::shared_ptr<Object> toObject() const;

    // A copy that shares nothing mutable (arrays are copied).
    Variant deepCopy() const;

    QVariant toQVariant() const;
    static Variant fromQVariant(const QVariant &v);

private:
    VType m_type = VType::Empty;
    union {
        std::int64_t m_i = 0;
        double m_d;
    };
    QString m_s;
    std::shared_ptr<Object> m_o;
    std::shared_ptr<Array> m_a;
};

// A Visual Basic array: any number of dimensions, each with its own lower
// bound; elements stored with the first index varying fastest.
struct Array
{
    struct Bound
    {
        int lower = 0;
        int count = 0;
    };
    std::vector<Bound> bounds;
    std::vector<Variant> data;
    bool fixed = false; // declared with a size by Dim: cannot be ReDim'd
    int locks = 0;      // calls in progress hold references to elements

    static std::shared_ptr<Array> make(const std::vector<Bound> &bounds);
    static std::shared_ptr<Array> fromList(std::vector<Variant> items);
    int dims() const { return int(bounds.size()); }
    // Raises 9 when an index is out of range or the count of indexes is wrong.
    Variant &at(const Variant *indexes, int count);
    void redim(const std::vector<Bound> &newBounds, bool preserve);
};

// Numbers of Visual Basic dates: days since 30 December 1899, the time as
// the fraction of the day.
double dateFromParts(int year, int month, int day);
double timeFromParts(int hour, int minute, double second);
void dateToParts(double date, int *year, int *month, int *day);
void timeToParts(double date, int *hour, int *minute, int *second);
QDateTime dateToQDateTime(double date);
double dateFromQDateTime(const QDateTime &dt);
// Parses the date forms Visual Basic accepts (#1/31/2000#, "2000-01-31",
// "January 31, 2000", "31 Jan 2000 10:30 PM", "10:30"); false when it is
// not a date.
bool parseDate(const QString &text, double *date);
// Parses a number as Visual Basic reads strings: blanks around, sign,
// decimals, exponent, &H hex and &O octal; false when it is not one.
bool parseNumber(const QString &text, double *value);

QString typeName(const Variant &v);
int varType(const Variant &v);
QString numberText(double v); // CStr of a Double

} // namespace Orv::Script
