// Known outputs of Visual Basic's Format family. Most rows are the examples
// of Microsoft's documentation of Format and its user-defined numeric, date
// and string formats; the others follow from the documented rules (noted
// where the result is this engine's reading of them).

#include "engine/vbformat/vbformat.h"

#include <QDateTime>
#include <QSize>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Orv::VbFormat;

namespace {

const QVariant Empty;
const QVariant Null = QVariant::fromValue(nullptr);

QVariant dt(int y, int m, int d, int h = 0, int n = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, n, s));
}

QVariant day(int y, int m, int d)
{
    return QDate(y, m, d);
}

QVariant str(const char *s)
{
    return QString::fromUtf8(s);
}

// 27 January 1993, 17:04:23: a Wednesday, the documentation's example.
const QVariant Jan27 = dt(1993, 1, 27, 17, 4, 23);

int rowNumber = 0;

void row(const QVariant &value, const char *fmt, const char *expected, int firstDay = Sunday,
         int firstWeek = FirstJan1)
{
    QTest::addRow("%d: %s", ++rowNumber, fmt) << value << QString::fromUtf8(fmt) << firstDay << firstWeek
                                              << QString::fromUtf8(expected);
}

} // namespace

class TestVbFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownOutputs_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("fmt");
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<int>("firstWeek");
        QTest::addColumn<QString>("expected");

        // Named number formats.
        row(5459.4, "General Number", "5459.4");
        row(str("1,234,567.80"), "General Number", "1234567.8");
        row(-1234.5, "general number", "-1234.5");
        row(5459.4, "Currency", "$5,459.40");
        row(-5459.4, "Currency", "($5,459.40)");
        row(0, "CURRENCY", "$0.00");
        row(1234.5, "Euro", "\u20ac1,234.50");
        row(5459.4, "Fixed", "5459.40");
        row(-0.5, "Fixed", "-0.50");
        row(str("123456"), "Fixed", "123456.00");
        row(5459.4, "Standard", "5,459.40");
        row(-1234567.891, "Standard", "-1,234,567.89");
        row(0.8, "Percent", "80.00%");
        row(-0.12345, "Percent", "-12.35%");
        row(1234567, "Scientific", "1.23E+06");
        row(0.000123, "Scientific", "1.23E-04");
        row(0, "Scientific", "0.00E+00");
        row(-3.14, "Yes/No", "Yes");
        row(0, "Yes/No", "No");
        row(true, "True/False", "True");
        row(0.0, "True/False", "False");
        row(5, "On/Off", "On");
        row(0, "on/off", "Off");
        row(str("abc"), "Fixed", "abc");
        row(Null, "Standard", "");
        row(Empty, "Fixed", "0.00");

        // Named date formats.
        row(Jan27, "General Date", "1/27/1993 5:04:23 PM");
        row(Jan27, "Long Date", "Wednesday, January 27, 1993");
        row(Jan27, "Medium Date", "27-Jan-93");
        row(Jan27, "Short Date", "1/27/1993");
        row(Jan27, "short date", "1/27/1993");
        row(Jan27, "Long Time", "5:04:23 PM");
        row(Jan27, "Medium Time", "05:04 PM");
        row(Jan27, "Short Time", "17:04");
        row(day(1993, 1, 27), "General Date", "1/27/1993");
        row(QTime(17, 4, 23), "General Date", "5:04:23 PM");
        row(QTime(0, 0), "General Date", "12:00:00 AM");
        row(33996.5, "General Date", "1/27/1993 12:00:00 PM");
        row(str("1993-01-27 17:04:23"), "Long Date", "Wednesday, January 27, 1993");
        row(str("January 27, 1993"), "Short Date", "1/27/1993");
        row(str("27-Jan-93"), "yyyy-mm-dd", "1993-01-27");
        row(str("1/27/1993 5:04 PM"), "hh:nn", "17:04");
        row(str("not a date"), "Short Date", "not a date");
        row(Null, "Short Date", "");
        row(Empty, "Short Date", "12/30/1899");

        // The examples of the Format function's documentation.
        row(QTime(17, 4, 23), "h:m:s", "17:4:23");
        row(QTime(17, 4, 23), "hh:mm:ss AMPM", "05:04:23 PM");
        row(day(1993, 1, 27), "dddd, mmm d yyyy", "Wednesday, Jan 27 1993");
        row(23, "", "23");
        row(5459.4, "##,##0.00", "5,459.40");
        row(334.9, "###0.00", "334.90");
        row(5, "0.00%", "500.00%");
        row(str("HELLO"), "<", "hello");
        row(str("This is it"), ">", "THIS IS IT");

        // The table of the numeric formats' documentation: 5, -5, 0.5, Null.
        row(5, "0", "5");
        row(-5, "0", "-5");
        row(0.5, "0", "1");
        row(5, "0.00", "5.00");
        row(-5, "0.00", "-5.00");
        row(0.5, "0.00", "0.50");
        row(5, "#,##0", "5");
        row(-5, "#,##0", "-5");
        row(0.5, "#,##0", "1");
        row(5, "#,##0.00;;;Nil", "5.00");
        row(-5, "#,##0.00;;;Nil", "-5.00");
        row(0.5, "#,##0.00;;;Nil", "0.50");
        row(Null, "#,##0.00;;;Nil", "Nil");
        row(5, "$#,##0;($#,##0)", "$5");
        row(-5, "$#,##0;($#,##0)", "($5)");
        row(0.5, "$#,##0;($#,##0)", "$1");
        row(5, "$#,##0.00;($#,##0.00)", "$5.00");
        row(-5, "$#,##0.00;($#,##0.00)", "($5.00)");
        row(0.5, "$#,##0.00;($#,##0.00)", "$0.50");
        row(5, "0%", "500%");
        row(-5, "0%", "-500%");
        row(0.5, "0%", "50%");
        row(-5, "0.00%", "-500.00%");
        row(0.5, "0.00%", "50.00%");
        row(5, "0.00E+00", "5.00E+00");
        row(-5, "0.00E+00", "-5.00E+00");
        row(0.5, "0.00E+00", "5.00E-01");
        row(5, "0.00E-00", "5.00E00");
        row(-5, "0.00E-00", "-5.00E00");
        row(0.5, "0.00E-00", "5.00E-01");
        row(-5, "", "-5");
        row(0.5, "", "0.5");

        // Digit placeholders, literals and escapes.
        row(19, "###", "19");
        row(19, "#", "19");
        row(19, "000", "019");
        row(19.9, "###.00", "19.90");
        row(19.9, "###.##", "19.9");
        row(8.5, "#.##", "8.5");
        row(11, "#.##", "11.");
        row(0.5, "#.##", ".5");
        row(0, "#.##", ".");
        row(0, "#", "");
        row(1234.5, ".00", "1234.50");
        row(10, "$#", "$10");
        row(19, "\\####\\#", "#19#");
        row(19, "\"##\"###\"##\"", "##19##");
        row(12.34, "\\R\\M\\B .00", "RMB 12.34");
        row(1.23, "0.00%%", "12300.00%%");
        row(1234567890, "(###) ###-####", "(123) 456-7890");
        row(5, "(###) ###-####", "() -5");
        row(5, "0 days", "5 days"); // letters are literal in number formats
        row(1.5, "0.0 \"units\"", "1.5 units");
        row(1234.5, "$#,##0.00[Green];($#,##0.00)[Red]", "$1,234.50");
        row(-1234.5, "$#,##0.00[Green];($#,##0.00)[Red]", "($1,234.50)");
        row(QVariant::fromValue(qlonglong(123456789012345678)), "#,##0", "123,456,789,012,345,678");
        row(1e20, "0", "100000000000000000000");

        // Sections.
        row(123, "正;负;零", "正");
        row(-123, "正;负;零", "负");
        row(0, "正;负;零", "零");
        row(0, "0;-0;\"zero\"", "zero");
        row(0, "0;-0;", "0");
        row(-5, "0;", "-5");
        row(-5, "0;\"neg \"0", "neg 5");
        row(1234.5, "#,##0.00;(#,##0.00)", "1,234.50");
        row(-1234.5, "#,##0.00;(#,##0.00)", "(1,234.50)");
        row(Empty, "0;-0;\"z\"", "z");
        // The sign picks the section before rounding (this engine's reading).
        row(-0.001, "0.00", "-0.00");
        row(-0.001, "0.00;(0.00);\"zero\"", "(0.00)");
        row(0.001, "0.00;(0.00);\"zero\"", "0.00");

        // Rounding: half away from zero on the 15 digits VB shows of a Double.
        row(0.5, "0", "1");
        row(1.5, "0", "2");
        row(2.5, "0", "3");
        row(-0.5, "0", "-1");
        row(-2.5, "0", "-3");
        row(1234.5678, "#,##0.00", "1,234.57");
        row(0.005, "0.00", "0.01");
        row(1.005, "0.00", "1.01");
        row(2.145, "#.00", "2.15");
        row(999.999, "0.00", "1000.00");
        row(0.0000123, "0.000000", "0.000012");

        // Grouping and scaling commas.
        row(1234567890, "#,##0", "1,234,567,890");
        row(1234567, "#,##0,", "1,235");
        row(100000000, "##0,,", "100");
        row(999999, "##0,,", "1");
        row(1900000, "0,,", "2");
        row(1900000, "0,,.0", "1.9");
        row(5, "0,000", "0,005");

        // Scientific.
        row(1000, "0.00E+00", "1.00E+03");
        row(0.001, "0.00E+00", "1.00E-03");
        row(1234.5, "0.0E+0", "1.2E+3");
        row(1234.5, "00.0E+00", "12.3E+02");
        row(0.00012345, "0.00e-00", "1.23e-04");
        row(12345, "0.00e-00", "1.23e04");
        row(9.999, "0.00E+00", "1.00E+01");
        row(1234.5, "#.#E+#", "1.2E+3");
        row(1, "0.0E+#", "1.0E+0");
        row(-0.5, "0.0E+00", "-5.0E-01");

        // Values of other kinds.
        row(true, "0", "-1");
        row(false, "0", "0");
        row(true, "", "True");
        row(Empty, "", "");
        row(Empty, "0.00", "0.00");
        row(Null, "", "");
        row(Null, "0", "");
        row(str("1234.5"), "#,##0.00", "1,234.50");
        row(str("abc"), "0.00", "abc");
        row(str("  -12 "), "0.0", "-12.0");
        row(str("(5)"), "0", "-5");
        row(str("$1,234.50"), "0.0", "1234.5");
        row(dt(2000, 1, 1, 12), "0.00", "36526.50");
        row(day(1899, 12, 29), "0", "-1");

        // No format: CStr's text.
        row(1.0 / 3, "", "0.333333333333333");
        row(1e15, "", "1E+15");
        row(123456789012345.0, "", "123456789012345");
        row(0.1 + 0.2, "", "0.3");
        row(0.1 + 0.7, "", "0.8"); // 0.7999999999999999 rounds up through every 9
        // Its shortest text ends in a 5 after 15 digits; the double itself lies below.
        row(1.000000000000145, "", "1.00000000000014");
        row(std::pow(2.0, -20), "", "9.5367431640625E-07");
        row(-1.5e-10, "", "-0.00000000015");
        row(1e-12, "", "0.000000000001");
        row(0.1 + 0.2 - 0.3, "", "5.55111512312578E-17");
        row(QVariant::fromValue(1.1f), "", "1.1");
        row(QVariant::fromValue(qlonglong(1234567890123456789)), "", "1234567890123456789");
        row(Jan27, "", "1/27/1993 5:04:23 PM");

        // Date and time patterns.
        row(Jan27, "d dd ddd dddd", "27 27 Wed Wednesday");
        row(Jan27, "ddddd", "1/27/1993");
        row(Jan27, "dddddd", "Wednesday, January 27, 1993");
        row(day(2024, 3, 5), "d/m/yy", "5/3/24");
        row(day(2024, 3, 5), "dd/mm/yyyy", "05/03/2024");
        row(day(2024, 3, 5), "mmm mmmm q", "Mar March 1");
        row(day(2024, 3, 5), "y", "65");
        row(day(2024, 3, 5), "YYYY-MM-DD", "2024-03-05");
        row(Jan27, "h:mm:ss", "17:04:23");
        row(Jan27, "mm/dd hh:nn", "01/27 17:04");
        row(Jan27, "hh mm", "17 04");
        row(Jan27, "mm:ss", "01:23"); // m means minutes only after h or hh
        row(Jan27, "n nn s ss", "4 04 23 23");
        row(Jan27, "h:nn am/pm", "5:04 pm");
        row(Jan27, "h:nn AM/PM", "5:04 PM");
        row(Jan27, "h:nn a/p", "5:04 p");
        row(Jan27, "h:nn A/P", "5:04 P");
        row(Jan27, "hh:nn Am/Pm", "05:04 Pm");
        row(QTime(0, 30), "h:nn AM/PM", "12:30 AM");
        row(QTime(12, 0), "h:nn AMPM", "12:00 PM");
        row(Jan27, "ttttt", "5:04:23 PM");
        row(Jan27, "c", "1/27/1993 5:04:23 PM");
        row(Jan27, "yyyy-mm-dd\"T\"hh:nn:ss", "1993-01-27T17:04:23");
        row(Jan27, "d \"de\" mmmm", "27 de January");
        row(-1.25, "yyyy-mm-dd hh:nn", "1899-12-29 06:00");
        row(0.99999999, "yyyy-mm-dd hh:nn:ss", "1899-12-31 00:00:00");
        row(str("36526"), "yyyy", "2000");
        row(day(9999, 12, 31), "yyyy", "9999");

        // Weeks: firstdayofweek and firstweekofyear.
        row(day(2021, 1, 1), "ww", "1");
        row(day(2021, 1, 3), "ww", "2");
        row(day(2021, 1, 3), "ww", "1", Monday);
        row(day(2000, 12, 31), "ww", "54");
        row(day(2021, 1, 1), "ww", "53", Monday, FirstFourDays);
        row(day(2021, 1, 4), "ww", "1", Monday, FirstFourDays);
        row(day(2024, 12, 31), "ww", "1", Monday, FirstFourDays);
        row(day(2026, 1, 1), "ww", "53", Sunday, FirstFourDays);
        row(day(2021, 1, 1), "ww", "52", Sunday, FirstFullWeek);
        row(day(2021, 1, 3), "ww", "1", Sunday, FirstFullWeek);
        row(day(2021, 1, 1), "w", "6");
        row(day(2021, 1, 1), "w", "5", Monday);
        row(day(2021, 1, 1), "w", "7", Saturday);
        row(day(2021, 1, 3), "w", "1", UseSystemDay, UseSystemWeek);

        // String formats.
        row(str("abc"), "@@@@@", "  abc");
        row(str("abc"), "!@@@@@", "abc  ");
        row(str("abc"), "&&&&&", "abc");
        row(str("abcdef"), "@@@", "abcdef");
        row(str("5551234"), "@@@-@@@@", "555-1234");
        row(str("1234"), "@@@-@@@@", "   -1234");
        row(str("HeLLo"), ">@@@@@", "HELLO");
        row(str("HeLLo"), "<&&&&&", "hello");
        row(str("forms"), "@@@@@@\"data\"", " formsdata");
        row(str(""), "@;\"empty\"", "empty");
        row(Null, "@;\"null\"", "null");
        row(Null, "@@", "");
        row(str("x"), "@;\"empty\"", "x");
        row(123, "@@@@@", "  123");
        row(true, ">", "TRUE");
    }

    void knownOutputs()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, fmt);
        QFETCH(int, firstDay);
        QFETCH(int, firstWeek);
        QFETCH(QString, expected);
        const auto fd = FirstDayOfWeek(firstDay);
        const auto fw = FirstWeekOfYear(firstWeek);
        QCOMPARE(format(value, fmt, fd, fw), expected);
        // The compiled form gives the same text, applied twice.
        const CompiledFormat compiled(fmt, fd, fw);
        QCOMPARE(compiled.apply(value), expected);
        QCOMPARE(CompiledFormat(compiled).apply(value), expected);
    }

    void formatNumberFamily()
    {
        const Tristate D = TriUseDefault;
        QCOMPARE(formatNumber(8012.36), QStringLiteral("8,012.36"));
        QCOMPARE(formatNumber(-1234.5), QStringLiteral("-1,234.50"));
        QCOMPARE(formatNumber(-1234.5, -1, D, TriTrue), QStringLiteral("(1,234.50)"));
        QCOMPARE(formatNumber(0.5, -1, TriFalse), QStringLiteral(".50"));
        QCOMPARE(formatNumber(1234.5, -1, D, D, TriFalse), QStringLiteral("1234.50"));
        QCOMPARE(formatNumber(1234.5678, 0), QStringLiteral("1,235"));
        QCOMPARE(formatNumber(-0.5, 0), QStringLiteral("-1"));
        QCOMPARE(formatNumber(1.23456, 4), QStringLiteral("1.2346"));
        QCOMPARE(formatNumber(str("1234"), 1), QStringLiteral("1,234.0"));
        QCOMPARE(formatNumber(Empty), QStringLiteral("0.00"));
        QCOMPARE(formatNumber(true), QStringLiteral("-1.00"));

        QCOMPARE(formatCurrency(10456.45), QStringLiteral("$10,456.45"));
        QCOMPARE(formatCurrency(-1234.5), QStringLiteral("($1,234.50)"));
        QCOMPARE(formatCurrency(-1234.5, -1, D, TriFalse), QStringLiteral("-$1,234.50"));
        QCOMPARE(formatCurrency(1234.5, 0), QStringLiteral("$1,235"));
        QCOMPARE(formatCurrency(0.5, -1, TriFalse), QStringLiteral("$.50"));
        QCOMPARE(formatCurrency(1234.5, -1, D, D, TriFalse), QStringLiteral("$1234.50"));

        QCOMPARE(formatPercent(4.0 / 5), QStringLiteral("80.00%"));
        QCOMPARE(formatPercent(0.1234, 1), QStringLiteral("12.3%"));
        QCOMPARE(formatPercent(-0.5), QStringLiteral("-50.00%"));
        QCOMPARE(formatPercent(-0.5, 0, D, TriTrue), QStringLiteral("(50%)"));
        QCOMPARE(formatPercent(12.3456), QStringLiteral("1,234.56%"));
        QCOMPARE(formatPercent(12.3456, -1, D, D, TriFalse), QStringLiteral("1234.56%"));

        QCOMPARE(formatDateTime(Jan27), QStringLiteral("1/27/1993 5:04:23 PM"));
        QCOMPARE(formatDateTime(Jan27, LongDate), QStringLiteral("Wednesday, January 27, 1993"));
        QCOMPARE(formatDateTime(Jan27, ShortDate), QStringLiteral("1/27/1993"));
        QCOMPARE(formatDateTime(Jan27, LongTime), QStringLiteral("5:04:23 PM"));
        QCOMPARE(formatDateTime(Jan27, ShortTime), QStringLiteral("17:04"));
        QCOMPARE(formatDateTime(day(1993, 1, 27)), QStringLiteral("1/27/1993"));
        QCOMPARE(formatDateTime(str("1993-01-27")), QStringLiteral("1/27/1993"));
    }

    void errorsAreValues()
    {
        bool ok = true;
        QCOMPARE(formatNumber(str("abc"), -1, TriUseDefault, TriUseDefault, TriUseDefault, &ok), QString());
        QVERIFY(!ok);
        formatCurrency(Null, -1, TriUseDefault, TriUseDefault, TriUseDefault, &ok);
        QVERIFY(!ok);
        formatPercent(1, 2, TriUseDefault, TriUseDefault, TriUseDefault, &ok);
        QVERIFY(ok);
        QCOMPARE(formatNumberError(str("abc"), -1), 13);
        QCOMPARE(formatNumberError(Null, -1), 13);
        QCOMPARE(formatNumberError(1, -2), 5);
        QCOMPARE(formatNumberError(1, MaxDigits + 1), 5);
        QCOMPARE(formatNumberError(str("12"), 2), 0);
        QCOMPARE(formatDateTime(str("abc"), GeneralDate, &ok), QString());
        QVERIFY(!ok);
        QCOMPARE(formatDateTimeError(Jan27, 7), 5);
        QCOMPARE(formatDateTimeError(str("abc"), 0), 13);
        QCOMPARE(formatDateTimeError(1e10, 0), 6);
        QCOMPARE(formatDateTimeError(Jan27, 0), 0);
    }

    // Malformed formats and extreme values give text, never a crash, and
    // the text stays about as long as the format and the number need.
    void badInputGivesText()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QCOMPARE(format(nan, QStringLiteral("0.00")), QStringLiteral("NaN"));
        QCOMPARE(format(-inf, QStringLiteral("#,##0")), QStringLiteral("-Infinity"));
        QCOMPARE(format(inf, QString()), QStringLiteral("Infinity"));
        QCOMPARE(format(inf, QStringLiteral("yyyy")), QStringLiteral("Infinity"));
        QCOMPARE(format(1e10, QStringLiteral("yyyy")), QStringLiteral("10000000000"));
        QCOMPARE(format(-700000, QStringLiteral("Short Date")), QStringLiteral("-700000"));
        QCOMPARE(format(day(50, 1, 1), QStringLiteral("yyyy")), QStringLiteral("0050-01-01"));
        QCOMPARE(format(QVariant(QSize(1, 2)), QStringLiteral("0")), QString());
        QCOMPARE(format(5, QStringLiteral("0\\")), QStringLiteral("5"));
        QCOMPARE(format(5, QStringLiteral("0\"open")), QStringLiteral("5open"));
        QCOMPARE(format(5, QStringLiteral("0E+")), QStringLiteral("5E+"));
        QCOMPARE(format(5, QStringLiteral(";;;;;;")), QString());
        QCOMPARE(format(5, QStringLiteral("0[Red")), QStringLiteral("5[Red"));
        QCOMPARE(format(5, QStringLiteral("**0")), QStringLiteral("5"));
        QCOMPARE(format(1e308, QStringLiteral("0")).size(), 309);
        QCOMPARE(format(1e308, QStringLiteral("#,##0")).size(), 309 + 102);

        const QString formats[] = {
            QStringLiteral("%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%0"),
            QStringLiteral(",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,0,,,,,,,,,,,,,,,,,,,,,"),
            QStringLiteral("0.0000000000000000000000000000000000000000E+0000000000"), QStringLiteral("E-#E+0e-"),
            QStringLiteral("dddddddddd mmmmmmmm yyyyyyy hhhh nnnn ssss wwwww ttttttt"), QStringLiteral("a/pam/pmampm"),
            QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("@@@@!&&<>"), QStringLiteral(".;.;.;."),
            QString(300, QLatin1Char('#')), QStringLiteral("0.0.0.0"), QStringLiteral("#,#,#,#.#,#")};
        const QVariant values[] = {Empty, Null, 0, -1, 1e300, -1e-300, 4.9e-324, nan, inf,
                                   QVariant::fromValue(std::numeric_limits<qlonglong>::min()),
                                   QVariant::fromValue(std::numeric_limits<qulonglong>::max()),
                                   2958465.99999, -657434.0, str("x"), str(""), dt(100, 1, 1), true};
        for (const QString &f : formats) {
            for (const QVariant &v : values)
                QVERIFY2(format(v, f).size() < 2000, qPrintable(f));
        }
    }

    void localeIsSettable()
    {
        Locale de = Locale::english();
        de.decimalSeparator = QLatin1Char(',');
        de.groupSeparator = QLatin1Char('.');
        de.dateSeparator = QStringLiteral(".");
        de.currencySymbol = QStringLiteral("€");
        de.currencyPosition = 3;
        de.negativeCurrency = 8;
        de.monthNames[0] = QStringLiteral("Januar");
        de.dayNames[3] = QStringLiteral("Mittwoch");
        de.shortDate = QStringLiteral("dd/mm/yyyy");
        de.longDate = QStringLiteral("dddd, d. mmmm yyyy");
        de.longTime = QStringLiteral("hh:nn:ss");
        de.firstDayOfWeek = Monday;
        de.firstWeekOfYear = FirstFourDays;
        const CompiledFormat before(QStringLiteral("#,##0.00"));
        setLocale(de);
        QCOMPARE(format(1234.5, QStringLiteral("#,##0.00")), QStringLiteral("1.234,50"));
        QCOMPARE(format(str("1.234,5"), QStringLiteral("0.0")), QStringLiteral("1234,5"));
        QCOMPARE(format(Jan27, QStringLiteral("General Date")), QStringLiteral("27.01.1993 17:04:23"));
        QCOMPARE(format(Jan27, QStringLiteral("Long Date")), QStringLiteral("Mittwoch, 27. Januar 1993"));
        QCOMPARE(format(str("27.01.1993"), QStringLiteral("yyyy-mm-dd")), QStringLiteral("1993-01-27"));
        QCOMPARE(format(day(2021, 1, 1), QStringLiteral("ww"), UseSystemDay, UseSystemWeek), QStringLiteral("53"));
        QCOMPARE(formatCurrency(-1234.5), QStringLiteral("-1.234,50 €"));
        QCOMPARE(formatCurrency(-1234.5, -1, TriUseDefault, TriTrue), QStringLiteral("(1.234,50 €)"));
        QCOMPARE(format(1.5, QString()), QStringLiteral("1,5"));
        // A compiled format keeps the locale it was made with.
        QCOMPARE(before.apply(1234.5), QStringLiteral("1,234.50"));
        // Lists of the wrong length fall back to English.
        de.monthNames.clear();
        setLocale(de);
        QCOMPARE(format(Jan27, QStringLiteral("mmmm")), QStringLiteral("January"));
        setLocale(Locale::english());
        QCOMPARE(format(1234.5, QStringLiteral("#,##0.00")), QStringLiteral("1,234.50"));

        const Locale system = Locale::system();
        QCOMPARE(system.monthNames.size(), 12);
        QCOMPARE(system.dayNames.size(), 7);
        QVERIFY(!system.shortDate.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVbFormat)
#include "tst_vbformat.moc"
