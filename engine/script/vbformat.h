#pragma once
// Visual Basic's formatting functions: Format, FormatNumber, FormatCurrency,
// FormatPercent and FormatDateTime. Field output formats, report scripts
// and the SQL Format function all format through here.
//
// Values come in as QVariant: an invalid QVariant is Empty, a null one
// (QVariant::fromValue(nullptr) or isNull() of a typed value) is Null,
// QMetaType::Bool/Int/LongLong/Double/QString/QDateTime/QDate/QTime as
// their Visual Basic counterparts. Currency arrives as double.
#include <QString>
#include <QVariant>

namespace Orv::VbFormat {

// vbUseSystemDayOfWeek = 0, vbSunday = 1 ... vbSaturday = 7.
enum FirstDayOfWeek { UseSystemDay = 0, Sunday = 1, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };
// vbUseSystem = 0, vbFirstJan1 = 1, vbFirstFourDays = 2, vbFirstFullWeek = 3.
enum FirstWeekOfYear { UseSystemWeek = 0, FirstJan1 = 1, FirstFourDays = 2, FirstFullWeek = 3 };
// vbTrue = -1, vbFalse = 0, vbUseDefault = -2.
enum Tristate { TriTrue = -1, TriFalse = 0, TriUseDefault = -2 };
// vbGeneralDate = 0, vbLongDate, vbShortDate, vbLongTime, vbShortTime.
enum NamedDateFormat { GeneralDate = 0, LongDate = 1, ShortDate = 2, LongTime = 3, ShortTime = 4 };

// Format(expression, format, firstdayofweek, firstweekofyear). Null and
// Empty format as "" unless the format has a section for them. A value
// that cannot be formatted with the format is returned as its text.
QString format(const QVariant &value, const QString &fmt = QString(),
               FirstDayOfWeek firstDay = Sunday, FirstWeekOfYear firstWeek = FirstJan1);

// FormatNumber(expression, numdigitsafterdecimal = -1 (locale),
// includeleadingdigit, useparensfornegativenumbers, groupdigits).
// ok is false when the value is not numeric (VB raises 13 then).
QString formatNumber(const QVariant &value, int digits = -1, Tristate leadingDigit = TriUseDefault,
                     Tristate parensForNegative = TriUseDefault, Tristate groupDigits = TriUseDefault,
                     bool *ok = nullptr);
QString formatCurrency(const QVariant &value, int digits = -1, Tristate leadingDigit = TriUseDefault,
                       Tristate parensForNegative = TriUseDefault, Tristate groupDigits = TriUseDefault,
                       bool *ok = nullptr);
QString formatPercent(const QVariant &value, int digits = -1, Tristate leadingDigit = TriUseDefault,
                      Tristate parensForNegative = TriUseDefault, Tristate groupDigits = TriUseDefault,
                      bool *ok = nullptr);
QString formatDateTime(const QVariant &value, NamedDateFormat named = GeneralDate, bool *ok = nullptr);

// A format compiled once and applied to many values, as report fields do
// for every row.
class CompiledFormat
{
public:
    CompiledFormat();
    explicit CompiledFormat(const QString &fmt, FirstDayOfWeek firstDay = Sunday,
                            FirstWeekOfYear firstWeek = FirstJan1);
    CompiledFormat(const CompiledFormat &);
    CompiledFormat &operator=(const CompiledFormat &);
    ~CompiledFormat();
    QString apply(const QVariant &value) const;
    QString text() const;

private:
    struct Data;
    Data *d;
};

} // namespace Orv::VbFormat
