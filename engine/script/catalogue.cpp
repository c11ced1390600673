#include "engine/script/catalogue.h"

#include "engine/script/builtins.h"
#include "engine/script/interp.h"

#include <algorithm>

namespace Orv::Script {

namespace {

using C = CatalogueCategory;

struct Row
{
    C category;
    const char *name;
    const char *arguments;
    const char *help;
    const char *example; // functions only
};

// Functions by category. Rows naming no builtin of the interpreter are
// dropped when the catalogue is built.
const Row functionRows[] = {
    {C::Array, "Array", "value, ...", "An array of the values given", "Array(1, 2, 3)"},
    {C::Array, "Filter", "array, match[, include[, compare]]", "The elements of an array of texts that contain a text", "Filter(Array(\"a\", \"b\"), \"a\")"},
    {C::Array, "IsArray", "value", "True when the value is an array", "IsArray(Array(1))"},
    {C::Array, "Join", "array[, delimiter]", "The elements of an array joined into one text", "Join(Array(\"a\", \"b\"), \", \")"},
    {C::Array, "LBound", "array[, dimension]", "The lowest index of an array", "LBound(Array(1, 2))"},
    {C::Array, "Split", "text[, delimiter[, count[, compare]]]", "A text cut into an array at a delimiter", "Split(\"a,b\", \",\")"},
    {C::Array, "UBound", "array[, dimension]", "The highest index of an array", "UBound(Array(1, 2))"},

    {C::Conversion, "Asc", "text", "The character code of the first character", "Asc(\"A\")"},
    {C::Conversion, "AscB", "text", "The character code of the first character", "AscB(\"A\")"},
    {C::Conversion, "AscW", "text", "The Unicode code of the first character", "AscW(\"A\")"},
    {C::Conversion, "CBool", "value", "The value as True or False", "CBool(1)"},
    {C::Conversion, "CByte", "value", "The value as a byte (0 to 255)", "CByte(12)"},
    {C::Conversion, "CCur", "value", "The value as a currency amount", "CCur(12.5)"},
    {C::Conversion, "CDate", "value", "The value as a date", "CDate(\"2024-01-31\")"},
    {C::Conversion, "CDbl", "value", "The value as a double-precision number", "CDbl(\"1.5\")"},
    {C::Conversion, "Chr", "code", "The character of a character code", "Chr(65)"},
    {C::Conversion, "ChrB", "code", "The character of a character code", "ChrB(65)"},
    {C::Conversion, "ChrW", "code", "The character of a Unicode code", "ChrW(65)"},
    {C::Conversion, "CInt", "value", "The value as an integer, rounded", "CInt(2.5)"},
    {C::Conversion, "CLng", "value", "The value as a long integer, rounded", "CLng(2.5)"},
    {C::Conversion, "CSng", "value", "The value as a single-precision number", "CSng(1.5)"},
    {C::Conversion, "CStr", "value", "The value as text", "CStr(12)"},
    {C::Conversion, "Choose", "index, value1, value2, ...", "The value at position index (from 1)", "Choose(2, \"a\", \"b\")"},
    {C::Conversion, "Hex", "number", "The number in hexadecimal digits", "Hex(255)"},
    {C::Conversion, "IIf", "condition, ifTrue, ifFalse", "One of two values, by a condition", "IIf(1 > 0, \"Yes\", \"No\")"},
    {C::Conversion, "IsDate", "value", "True when the value reads as a date", "IsDate(\"2024-01-31\")"},
    {C::Conversion, "IsEmpty", "value", "True when a variable holds nothing yet", "IsEmpty(Empty)"},
    {C::Conversion, "IsMissing", "argument", "True when an optional argument was left out", "IsMissing(Null)"},
    {C::Conversion, "IsNull", "value", "True when the value is Null", "IsNull(Null)"},
    {C::Conversion, "IsNumeric", "value", "True when the value reads as a number", "IsNumeric(\"12\")"},
    {C::Conversion, "IsObject", "value", "True when the value is an object", "IsObject(rpt)"},
    {C::Conversion, "Nz", "value[, ifNull]", "The value, or a replacement when it is Null", "Nz(Null, 0)"},
    {C::Conversion, "Oct", "number", "The number in octal digits", "Oct(8)"},
    {C::Conversion, "RGB", "red, green, blue", "A colour number from its parts (0 to 255 each)", "RGB(255, 0, 0)"},
    {C::Conversion, "Switch", "condition1, value1, ...", "The value of the first condition that is true", "Switch(1 > 2, \"a\", True, \"b\")"},
    {C::Conversion, "TypeName", "value", "The name of the value's type", "TypeName(12)"},
    {C::Conversion, "Val", "text", "The number at the start of a text", "Val(\"12 kg\")"},
    {C::Conversion, "VarType", "value", "The number of the value's type (see VarTypes)", "VarType(12)"},

    {C::DateTime, "Date", "", "Today's date", "Date()"},
    {C::DateTime, "DateAdd", "interval, number, date", "A date moved by a number of intervals (\"d\", \"m\", \"yyyy\" ...)", "DateAdd(\"m\", 1, Date())"},
    {C::DateTime, "DateDiff", "interval, date1, date2[, firstDay[, firstWeek]]", "The intervals between two dates", "DateDiff(\"d\", #1/1/2024#, Date())"},
    {C::DateTime, "DatePart", "interval, date[, firstDay[, firstWeek]]", "One part of a date (\"q\" the quarter ...)", "DatePart(\"q\", Date())"},
    {C::DateTime, "DateSerial", "year, month, day", "The date of a year, month and day", "DateSerial(2024, 1, 31)"},
    {C::DateTime, "DateValue", "text", "The date a text names", "DateValue(\"2024-01-31\")"},
    {C::DateTime, "Day", "date", "The day of the month (1 to 31)", "Day(Date())"},
    {C::DateTime, "FormatDateTime", "date[, format]", "A date as text in a named format (see Date Formats)", "FormatDateTime(Now(), vbLongDate)"},
    {C::DateTime, "Hour", "time", "The hour (0 to 23)", "Hour(Now())"},
    {C::DateTime, "Minute", "time", "The minute (0 to 59)", "Minute(Now())"},
    {C::DateTime, "Month", "date", "The month (1 to 12)", "Month(Date())"},
    {C::DateTime, "MonthName", "month[, abbreviate]", "The name of a month", "MonthName(1)"},
    {C::DateTime, "Now", "", "The date and time now", "Now()"},
    {C::DateTime, "Second", "time", "The second (0 to 59)", "Second(Now())"},
    {C::DateTime, "Time", "", "The time now", "Time()"},
    {C::DateTime, "Timer", "", "Seconds since midnight", "Timer()"},
    {C::DateTime, "TimeSerial", "hour, minute, second", "The time of an hour, minute and second", "TimeSerial(12, 30, 0)"},
    {C::DateTime, "TimeValue", "text", "The time a text names", "TimeValue(\"12:30\")"},
    {C::DateTime, "Weekday", "date[, firstDay]", "The day of the week (1 Sunday to 7 Saturday)", "Weekday(Date())"},
    {C::DateTime, "WeekdayName", "weekday[, abbreviate[, firstDay]]", "The name of a day of the week", "WeekdayName(1)"},
    {C::DateTime, "Year", "date", "The year", "Year(Date())"},

    {C::InputOutput, "CreateObject", "progId", "A new object of a class the report may create", "CreateObject(\"Scripting.Dictionary\")"},
    {C::InputOutput, "InputBox", "prompt[, title[, default]]", "Asks for a text while the report runs", "InputBox(\"Value?\")"},
    {C::InputOutput, "MsgBox", "prompt[, buttons[, title]]", "Shows a message while the report runs", "MsgBox(\"Text\")"},
    {C::InputOutput, "ScriptEngine", "", "The name of the script language", "ScriptEngine()"},
    {C::InputOutput, "ScriptEngineBuildVersion", "", "The script language's build number", "ScriptEngineBuildVersion()"},
    {C::InputOutput, "ScriptEngineMajorVersion", "", "The script language's major version", "ScriptEngineMajorVersion()"},
    {C::InputOutput, "ScriptEngineMinorVersion", "", "The script language's minor version", "ScriptEngineMinorVersion()"},

    {C::Math, "Abs", "number", "The number without its sign", "Abs(-3)"},
    {C::Math, "Atn", "number", "The arctangent, in radians", "Atn(1)"},
    {C::Math, "Cos", "angle", "The cosine of an angle in radians", "Cos(0)"},
    {C::Math, "Exp", "number", "e raised to a power", "Exp(1)"},
    {C::Math, "Fix", "number", "The whole part, toward zero", "Fix(-2.5)"},
    {C::Math, "Int", "number", "The whole part, downward", "Int(-2.5)"},
    {C::Math, "Log", "number", "The natural logarithm", "Log(10)"},
    {C::Math, "Randomize", "[seed]", "Starts the random numbers afresh", "Randomize()"},
    {C::Math, "Rnd", "[number]", "A random number from 0 up to 1", "Rnd()"},
    {C::Math, "Round", "number[, decimals]", "The number rounded (halves to even)", "Round(2.345, 2)"},
    {C::Math, "Sgn", "number", "-1, 0 or 1 by the number's sign", "Sgn(-3)"},
    {C::Math, "Sin", "angle", "The sine of an angle in radians", "Sin(0)"},
    {C::Math, "Sqr", "number", "The square root", "Sqr(16)"},
    {C::Math, "Tan", "angle", "The tangent of an angle in radians", "Tan(0)"},

    {C::String, "Escape", "text", "The text with special characters as %XX", "Escape(\"a b\")"},
    {C::String, "Format", "value[, format]", "A value as text in a format (\"0.00\", \"yyyy-mm-dd\" ...)", "Format(Now(), \"yyyy-mm-dd\")"},
    {C::String, "FormatCurrency", "value[, decimals]", "A number as a currency amount", "FormatCurrency(1234.5)"},
    {C::String, "FormatNumber", "value[, decimals]", "A number with grouped digits", "FormatNumber(1234.5, 2)"},
    {C::String, "FormatPercent", "value[, decimals]", "A number as a percentage", "FormatPercent(0.25)"},
    {C::String, "InStr", "[start, ]text, find[, compare]", "The position of one text in another (0 when absent)", "InStr(\"abc\", \"b\")"},
    {C::String, "InStrRev", "text, find[, start[, compare]]", "The last position of one text in another", "InStrRev(\"abcb\", \"b\")"},
    {C::String, "LCase", "text", "The text in lower case", "LCase(\"ABC\")"},
    {C::String, "Left", "text, length", "The first characters of a text", "Left(\"abc\", 2)"},
    {C::String, "Len", "text", "The number of characters", "Len(\"abc\")"},
    {C::String, "LTrim", "text", "The text without leading blanks", "LTrim(\"  a\")"},
    {C::String, "Mid", "text, start[, length]", "Characters from the middle of a text", "Mid(\"abcde\", 2, 3)"},
    {C::String, "Replace", "text, find, replaceWith[, start[, count[, compare]]]", "The text with one text replaced by another", "Replace(\"a-b\", \"-\", \"+\")"},
    {C::String, "Right", "text, length", "The last characters of a text", "Right(\"abc\", 2)"},
    {C::String, "RTrim", "text", "The text without trailing blanks", "RTrim(\"a  \")"},
    {C::String, "Space", "count", "A number of blanks", "Space(3)"},
    {C::String, "StrComp", "text1, text2[, compare]", "-1, 0 or 1 by how two texts compare", "StrComp(\"a\", \"b\")"},
    {C::String, "String", "count, character", "A character repeated", "String(3, \"*\")"},
    {C::String, "StrReverse", "text", "The text backwards", "StrReverse(\"abc\")"},
    {C::String, "Trim", "text", "The text without leading and trailing blanks", "Trim(\"  a  \")"},
    {C::String, "UCase", "text", "The text in upper case", "UCase(\"abc\")"},
    {C::String, "Unescape", "text", "The text with %XX turned back into characters", "Unescape(\"a%20b\")"},
};

const Row constantRows[] = {
    {C::Colors, "vbBlack", "", "Black (&H0)", nullptr},
    {C::Colors, "vbBlue", "", "Blue (&HFF0000)", nullptr},
    {C::Colors, "vbCyan", "", "Cyan (&HFFFF00)", nullptr},
    {C::Colors, "vbGreen", "", "Green (&HFF00)", nullptr},
    {C::Colors, "vbMagenta", "", "Magenta (&HFF00FF)", nullptr},
    {C::Colors, "vbRed", "", "Red (&HFF)", nullptr},
    {C::Colors, "vbWhite", "", "White (&HFFFFFF)", nullptr},
    {C::Colors, "vbYellow", "", "Yellow (&HFFFF)", nullptr},

    {C::DateConstants, "vbUseSystemDayOfWeek", "", "The first day of the week as the system has it (0)", nullptr},
    {C::DateConstants, "vbSunday", "", "Sunday (1)", nullptr},
    {C::DateConstants, "vbMonday", "", "Monday (2)", nullptr},
    {C::DateConstants, "vbTuesday", "", "Tuesday (3)", nullptr},
    {C::DateConstants, "vbWednesday", "", "Wednesday (4)", nullptr},
    {C::DateConstants, "vbThursday", "", "Thursday (5)", nullptr},
    {C::DateConstants, "vbFriday", "", "Friday (6)", nullptr},
    {C::DateConstants, "vbSaturday", "", "Saturday (7)", nullptr},
    {C::DateConstants, "vbUseSystem", "", "The first week of the year as the system has it (0)", nullptr},
    {C::DateConstants, "vbFirstJan1", "", "The week of January 1 is the first (1)", nullptr},
    {C::DateConstants, "vbFirstFourDays", "", "The first week with four days of the year (2)", nullptr},
    {C::DateConstants, "vbFirstFullWeek", "", "The first full week of the year (3)", nullptr},

    {C::DateFormats, "vbGeneralDate", "", "Date and time, as the locale shows them (0)", nullptr},
    {C::DateFormats, "vbLongDate", "", "The long date of the locale (1)", nullptr},
    {C::DateFormats, "vbShortDate", "", "The short date of the locale (2)", nullptr},
    {C::DateFormats, "vbLongTime", "", "The long time of the locale (3)", nullptr},
    {C::DateFormats, "vbShortTime", "", "Hours and minutes, 24-hour (4)", nullptr},

    {C::StringConstants, "vbCr", "", "Carriage return", nullptr},
    {C::StringConstants, "vbCrLf", "", "Carriage return and line feed", nullptr},
    {C::StringConstants, "vbFormFeed", "", "Form feed", nullptr},
    {C::StringConstants, "vbLf", "", "Line feed", nullptr},
    {C::StringConstants, "vbNewLine", "", "A line break", nullptr},
    {C::StringConstants, "vbNullChar", "", "The character of code 0", nullptr},
    {C::StringConstants, "vbNullString", "", "The empty text", nullptr},
    {C::StringConstants, "vbTab", "", "Tab", nullptr},
    {C::StringConstants, "vbVerticalTab", "", "Vertical tab", nullptr},

    {C::TriState, "vbTrue", "", "True (-1)", nullptr},
    {C::TriState, "vbFalse", "", "False (0)", nullptr},
    {C::TriState, "vbUseDefault", "", "The locale's setting (-2)", nullptr},

    {C::VarTypes, "vbEmpty", "", "Empty (0)", nullptr},
    {C::VarTypes, "vbNull", "", "Null (1)", nullptr},
    {C::VarTypes, "vbInteger", "", "Integer (2)", nullptr},
    {C::VarTypes, "vbLong", "", "Long integer (3)", nullptr},
    {C::VarTypes, "vbSingle", "", "Single-precision number (4)", nullptr},
    {C::VarTypes, "vbDouble", "", "Double-precision number (5)", nullptr},
    {C::VarTypes, "vbCurrency", "", "Currency (6)", nullptr},
    {C::VarTypes, "vbDate", "", "Date (7)", nullptr},
    {C::VarTypes, "vbString", "", "Text (8)", nullptr},
    {C::VarTypes, "vbObject", "", "Object (9)", nullptr},
    {C::VarTypes, "vbError", "", "Error (10)", nullptr},
    {C::VarTypes, "vbBoolean", "", "Boolean (11)", nullptr},
    {C::VarTypes, "vbVariant", "", "Variant (12)", nullptr},
    {C::VarTypes, "vbDataObject", "", "Data object (13)", nullptr},
    {C::VarTypes, "vbDecimal", "", "Decimal (14)", nullptr},
    {C::VarTypes, "vbByte", "", "Byte (17)", nullptr},
    {C::VarTypes, "vbArray", "", "Array (8192, added to the element type)", nullptr},
};

// The operators of the language's grammar.
const Row operatorRows[] = {
    {C::Arithmetic, "+", "a + b", "Sum (or joined texts when both are texts)", nullptr},
    {C::Arithmetic, "-", "a - b", "Difference, or the negative of a number", nullptr},
    {C::Arithmetic, "*", "a * b", "Product", nullptr},
    {C::Arithmetic, "/", "a / b", "Quotient", nullptr},
    {C::Arithmetic, "\\", "a \\ b", "Whole quotient", nullptr},
    {C::Arithmetic, "Mod", "a Mod b", "Remainder of the whole division", nullptr},
    {C::Arithmetic, "^", "a ^ b", "Power", nullptr},
    {C::Arithmetic, "&", "a & b", "The two values joined as text", nullptr},
    {C::Comparison, "=", "a = b", "Equal", nullptr},
    {C::Comparison, "<>", "a <> b", "Not equal", nullptr},
    {C::Comparison, "<", "a < b", "Less than", nullptr},
    {C::Comparison, ">", "a > b", "Greater than", nullptr},
    {C::Comparison, "<=", "a <= b", "Less than or equal", nullptr},
    {C::Comparison, ">=", "a >= b", "Greater than or equal", nullptr},
    {C::Comparison, "Is", "a Is b", "The same object", nullptr},
    {C::Logical, "And", "a And b", "Both are true", nullptr},
    {C::Logical, "Or", "a Or b", "Either is true", nullptr},
    {C::Logical, "Not", "Not a", "The opposite", nullptr},
    {C::Logical, "Xor", "a Xor b", "Exactly one is true", nullptr},
    {C::Logical, "Eqv", "a Eqv b", "Both true or both false", nullptr},
    {C::Logical, "Imp", "a Imp b", "If a then b", nullptr},
};

// Builtins left out: they reach outside the report.
const char *const leftOut[] = {"GetObject"};

std::vector<CatalogueEntry> build()
{
    std::vector<CatalogueEntry> entries;
    const auto add = [&](CatalogueKind kind, const Row &row, const QString &insert) {
        CatalogueEntry e;
        e.kind = kind;
        e.category = row.category;
        e.name = QString::fromLatin1(row.name);
        e.arguments = QString::fromLatin1(row.arguments);
        e.help = QString::fromLatin1(row.help);
        e.insertText = insert;
        entries.push_back(std::move(e));
    };
    for (const Row &row : functionRows)
        if (findBuiltin(QString::fromLatin1(row.name)))
            add(CatalogueKind::Function, row, QString::fromLatin1(row.example));
    for (const Row &row : constantRows) {
        Variant value;
        if (builtinConstant(QString::fromLatin1(row.name), &value))
            add(CatalogueKind::Constant, row, QString::fromLatin1(row.name));
    }
    for (const Row &row : operatorRows)
        add(CatalogueKind::Operator, row, QString::fromLatin1(row.name));
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CatalogueEntry &a, const CatalogueEntry &b) { return a.category < b.category; });
    return entries;
}

} // namespace

const std::vector<CatalogueEntry> &catalogue()
{
    static const std::vector<CatalogueEntry> entries = build();
    return entries;
}

std::vector<CatalogueEntry> catalogueEntries(CatalogueCategory category)
{
    std::vector<CatalogueEntry> result;
    for (const CatalogueEntry &e : catalogue())
        if (e.category == category)
            result.push_back(e);
    return result;
}

QStringList uncataloguedBuiltins()
{
    QStringList names;
    for (const char *name : leftOut)
        names << QString::fromLatin1(name);
    return names;
}

QStringList interpreterBuiltins()
{
    return builtinNames();
}

} // namespace Orv::Script
