#pragma once
// Visual Basic's formatting functions: Format, FormatNumber, FormatCurrency,
// FormatPercent and FormatDateTime. Field output formats, report scripts
// and the SQL Format function all format through here.
//
// Values come in as QVariant: an invalid QVariant is Empty, a null one
// (QVariant::fromValue(nullptr) or isNull() of a typed value) is Null,
// QMetaType::Bool/Int/LongLong/Double/QString/QDateTime/QDate/QTime as
// their Visual Basic counterparts. Currency arrives as double.
//
// Separators, currency, names of months and days and the named date and
// time formats come from a Locale. The process starts with English (United
// States) conventions so that results are the same on every machine;
// setLocale(Locale::system()) switches to the user's. docs/formatting.md
// describes the rules.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace Orv::VbFormat {

// vbUseSystemDayOfWeek = 0, vbSunday = 1 ... vbSaturday = 7.
enum FirstDayOfWeek { UseSystemDay = 0, Sunday = 1, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };
// vbUseSystem = 0, vbFirstJan1 = 1, vbFirstFourDays = 2, vbFirstFullWeek = 3.
enum FirstWeekOfYear { UseSystemWeek = 0, FirstJan1 = 1, FirstFourDays = 2, FirstFullWeek = 3 };
// vbTrue = -1, vbFalse = 0, vbUseDefault = -2.
enum Tristate { TriTrue = -1, TriFalse = 0, TriUseDefault = -2 };
// vbGeneralDate = 0, vbLongDate, vbShortDate, vbLongTime, vbShortTime.
enum NamedDateFormat { GeneralDate = 0, LongDate = 1, ShortDate = 2, LongTime = 3, ShortTime = 4 };

// The regional conventions formatting follows. Date patterns use Format's
// own date syntax ("m/d/yyyy", "h:nn:ss AMPM"); "/" and ":" in them stand
// for the date and time separators.
struct Locale
{
    QChar decimalSeparator = QLatin1Char('.');
    QChar groupSeparator = QLatin1Char(',');
    bool groupDigits = true;   // FormatNumber and friends group by default
    bool leadingZero = true;   // 0.5 rather than .5 by default
    int numberDigits = 2;      // decimals of "Fixed", "Standard", FormatNumber
    int currencyDigits = 2;
    // Negative numbers, as Windows numbers them: 0 "(1.1)", 1 "-1.1",
    // 2 "- 1.1", 3 "1.1-", 4 "1.1 -".
    int negativeNumber = 1;
    QString currencySymbol = QStringLiteral("$");
    // 0 "$1.1", 1 "1.1$", 2 "$ 1.1", 3 "1.1 $".
    int currencyPosition = 0;
    // 0 "($1.1)", 1 "-$1.1", 2 "$-1.1", 3 "$1.1-", 4 "(1.1$)", 5 "-1.1$",
    // 6 "1.1-$", 7 "1.1$-", 8 "-1.1 $", 9 "-$ 1.1", 10 "1.1 $-",
    // 11 "$ 1.1-", 12 "$ -1.1", 13 "1.1- $", 14 "($ 1.1)", 15 "(1.1 $)".
    int negativeCurrency = 0;
    QString dateSeparator = QStringLiteral("/");
    QString timeSeparator = QStringLiteral(":");
    QString amDesignator = QStringLiteral("AM");
    QString pmDesignator = QStringLiteral("PM");
    QStringList monthNames;          // 12, January first; empty: English
    QStringList monthAbbreviations;  // 12
    QStringList dayNames;            // 7, Sunday first
    QStringList dayAbbreviations;    // 7
    QString shortDate = QStringLiteral("m/d/yyyy");
    QString longDate = QStringLiteral("dddd, mmmm dd, yyyy");
    QString longTime = QStringLiteral("h:nn:ss AMPM");
    FirstDayOfWeek firstDayOfWeek = Sunday;
    FirstWeekOfYear firstWeekOfYear = FirstJan1;

    // English (United States): the default.
    static Locale english();
    // Built from QLocale::system().
    static Locale system();
};

// The locale used by formats compiled from now on (a CompiledFormat keeps
// the locale it was compiled with). Out-of-range fields fall back to the
// English values. Thread-safe.
void setLocale(const Locale &locale);
Locale locale();

// Format(expression, format, firstdayofweek, firstweekofyear). Null
// formats as "" unless the format has a section for it; Empty formats as 0
// with number and date formats and as "" otherwise. A value that cannot be
// formatted with the format (a word with a number format, a date outside
// the years 100 to 9999) is returned as its text. Out-of-range first day
// or first week arguments count as Sunday and FirstJan1.
QString format(const QVariant &value, const QString &fmt = QString(),
               FirstDayOfWeek firstDay = Sunday, FirstWeekOfYear firstWeek = FirstJan1);

// FormatNumber(expression, numdigitsafterdecimal = -1 (locale),
// includeleadingdigit, useparensfornegativenumbers, groupdigits).
// ok is false when the value is not numeric (VB raises 13 then) or the
// digits are out of range; formatNumberError tells which.
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

// The Visual Basic error number the call above would raise: 0 none,
// 5 invalid argument (digits below -1 or above MaxDigits, an unknown
// named format), 13 type mismatch (the value is not a number, or not a
// date), 6 overflow (a number outside the years 100 to 9999).
constexpr int MaxDigits = 255;
int formatNumberError(const QVariant &value, int digits);
int formatDateTimeError(const QVariant &value, int named);

// A format compiled once and applied to many values, as report fields do
// for every row. Copies share the compiled form; apply() is thread-safe.
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

    struct Data;

private:
    std::shared_ptr<const Data> d;
};

} // namespace Orv::VbFormat
