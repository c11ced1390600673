// The language: a corpus of small scripts with the output they must give,
// grouped by area, and the errors with their numbers and places.
#include "scripttestutil.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Orv::Script;
using Orv::Script::Test::ScriptRun;

class TestScriptLanguage : public QObject
{
    Q_OBJECT

private:
    // P writes a value; T writes its type name and value.
    static QString prelude()
    {
        return QStringLiteral("Sub P(x)\n dbg.Out x\nEnd Sub\nSub T(x)\n dbg.Out TypeName(x) & \" \" & x\nEnd Sub\n");
    }

    void corpus()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *script, const char *expected) {
            QTest::newRow(name) << QString::fromUtf8(script) << QString::fromUtf8(expected);
        };
        // Values, literals and types.
        row("literal types", "T 1: T 40000: T 3000000000: T 1.5: T \"s\": T True: T #1/31/2000#: T &HFF: T &HFFFF: T -32768",
            "Integer 1\nLong 40000\nDouble 3000000000\nDouble 1.5\nString s\nBoolean True\nDate 1/31/2000\nInteger 255\nInteger -1\nInteger -32768");
        row("empty and null", "Dim x\nT x: P IsEmpty(x): P IsNull(Null): P VarType(Null): P TypeName(Nothing)",
            "Empty \nTrue\nTrue\n1\nNothing");
        row("date literal with time", "P #2000-01-31 10:30 PM#: P Hour(#10:30:15 PM#)", "1/31/2000 10:30:00 PM\n22");
        row("string escapes", "P \"say \"\"hi\"\"\": P Len(\"\")", "say \"hi\"\n0");
        // Operators and precedence.
        row("arithmetic precedence", "P 2 + 3 * 4: P -2 ^ 2: P 2 ^ 3 ^ 2: P 7 \\ 2: P 7 Mod 3: P -7 Mod 3: P 10 / 4: P 2 ^ -1",
            "14\n-4\n64\n3\n1\n-1\n2.5\n0.5");
        row("integer overflow widens", "T 32767 + 1: T 2147483647 + 1: T 200 * 200: T CInt(2) * CInt(3)",
            "Long 32768\nDouble 2147483648\nLong 40000\nInteger 6");
        row("banker's rounding in integer division", "P 2.5 \\ 1: P 3.5 \\ 1: P CInt(2.5): P CInt(3.5): P CLng(-2.5)", "2\n4\n2\n4\n-2");
        row("strings and plus", "P \"a\" + \"b\": P \"1\" + 2: P \"a\" & 1: P 1 & 2: T \"3\" * \"4\"", "ab\n3\na1\n12\nDouble 12");
        row("null propagation", "P IsNull(Null + 1): P IsNull(Null & Null): P \"a\" & Null: P IsNull(Null = 1): P Null And False: P IsNull(Null Or False): P Null Or True",
            "True\nTrue\na\nTrue\nFalse\nTrue\nTrue");
        row("comparisons", "P 1 < 2: P \"a\" < \"b\": P \"a\" = \"A\": P Empty = 0: P Empty = \"\": P 2 >= 2 And 3 <> 4",
            "True\nTrue\nFalse\nTrue\nTrue\nTrue");
        // A literal decides how a number and a string compare; between two
        // variables the number is the smaller.
        row("numbers against strings", "n = 9: s = \"10\"\nP n < s: P s < n: P n < \"10\": P 9 < s: P 1 < \"0\": P n = \"9\": P n = \"9.0\"\n"
            "Select Case n\n Case \"9\": P \"case text\"\n Case Else: P \"else\"\nEnd Select",
            "True\nFalse\nFalse\nTrue\nFalse\nTrue\nFalse\ncase text");
        row("option compare text ignores case in the module", "Option Compare Database\nP \"abc\" = \"ABC\": P \"b\" > \"A\"\nSelect Case \"X\"\n Case \"x\": P \"hit\"\nEnd Select\nP StrComp(\"a\", \"A\"): P InStr(\"Hello\", \"LL\") & InStr(1, \"Hello\", \"LL\", 0)",
            "True\nTrue\nhit\n0\n30");
        row("resume next enters the branch whose condition failed", "On Error Resume Next\nIf 1 / 0 > 2 Then\n P \"then \" & Err.Number\nElse\n P \"else\"\nEnd If\n"
            "Err.Clear\nIf False Then\nElseIf CInt(\"x\") Then P \"elseif \" & Err.Number\nEnd If",
            "then 11\nelseif 13");
        row("logic and bits", "P Not True: P Not 0: P 5 And 3: P 5 Or 3: P 5 Xor 3: P True Eqv False: P False Imp False: P Not 1 = 2",
            "False\n-1\n1\n7\n6\nFalse\nTrue\nTrue");
        row("is and nothing", "Dim a, b: Set a = CreateObject(\"Scripting.Dictionary\"): Set b = a\nP a Is b: P a Is Nothing: Set b = Nothing: P b Is Nothing",
            "True\nFalse\nTrue");
        // Statements.
        row("if forms", "x = 5\nIf x > 3 Then P \"big\" Else P \"small\"\nIf x = 1 Then\n P 1\nElseIf x = 5 Then\n P 5\nElse\n P 0\nEnd If\nIf x Then P \"a\": P \"b\"",
            "big\n5\na\nb");
        row("single-line if else with colons", "If False Then P 1: P 2 Else P 3: P 4\nP 5", "3\n4\n5");
        row("select case", "For Each v In Array(1, 4, 7, 12, \"x\")\nSelect Case v\nCase \"x\": P \"ex\"\nCase 1, 2: P \"one-two\"\nCase 3 To 5\n P \"3-5\"\nCase Is > 10: P \"big\"\nCase Else: P \"other\"\nEnd Select\nNext",
            "one-two\n3-5\nother\nbig\nex");
        row("for next with step", "For i = 10 To 1 Step -3: s = s & i & \" \": Next: P s: For i = 1 To 0: P \"never\": Next: P i\nFor j = 1 To 3\nIf j = 2 Then Exit For\nNext\nP j",
            "10 7 4 1 \n1\n2");
        row("do loops", "i = 0\nDo While i < 3: i = i + 1: Loop: P i\nDo: i = i - 1: Loop Until i = 0: P i\nDo\n i = i + 1\n If i = 5 Then Exit Do\nLoop\nP i\nWhile i < 7: i = i + 1: Wend: P i",
            "3\n0\n5\n7");
        row("exit function and byref", "Function F(ByRef a, ByVal b)\n a = a + 1: b = b + 1\n F = a + b\n Exit Function\n F = 0\nEnd Function\nx = 1: y = 1: P F(x, y): P x: P y\nCall F(x, y): P x\nF (x), y\nP x\n"
            "Sub G(a)\n a = a + 1\nEnd Sub\nG (x): P x\nG(x): P x\nG x: P x",
            "4\n2\n1\n3\n3\n3\n3\n4");
        row("recursion", "Function Fact(n)\nIf n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\nEnd Function\nP Fact(10)", "3628800");
        // Run under the leak checker: the cycles must come apart when the script ends.
        row("dictionaries holding each other", "Set d = CreateObject(\"Scripting.Dictionary\"): d.Add \"me\", d\nSub S\n Set a = CreateObject(\"Scripting.Dictionary\"): Set b = CreateObject(\"Scripting.Dictionary\")\n a.Add \"b\", Array(b): b.Add a, 1\nEnd Sub\nS: S\nP d(\"me\")(\"me\").Count",
            "1");
        row("with blocks", "Set d = CreateObject(\"Scripting.Dictionary\")\nWith d\n .Add \"a\", 1\n .Item(\"b\") = 2\n P .Count\nEnd With", "2");
        row("arrays and redim preserve", "Dim a(2): a(0) = \"x\": a(2) = \"z\": P UBound(a): P a(2)\nDim b(): ReDim b(1): b(1) = 5: ReDim Preserve b(3): P b(1): P UBound(b)\nDim m(1, 2): m(1, 2) = 7: P m(1, 2): P UBound(m, 2)\nc = a: c(0) = \"changed\": P a(0)",
            "2\nz\n5\n3\n7\n2\nx");
        row("array functions", "a = Array(3, \"b\", 1.5): P LBound(a) & \",\" & UBound(a): P Join(a, \"-\"): s = Split(\"a,b,,c\", \",\"): P UBound(s): P Join(Filter(Split(\"ab cd ae\"), \"a\"), \"|\"): P IsArray(a): P UBound(Split(\"\"))",
            "0,2\n3-b-1.5\n3\nab|ae\nTrue\n-1");
        row("const and option explicit", "Option Explicit\nConst Rate = 0.5, Name = \"n\"\nDim x\nx = Rate * 4: P x: P Name", "2\nn");
        row("case-insensitive names and continuation", "dim TOTAL\ntotal = 1 + _\n  2\nP ToTaL ' comment\nRem a remark\nP LCASE(\"AB\")", "3\nab");
        row("on error resume next and err", "On Error Resume Next\nx = 1 / 0\nP Err.Number: P Err.Description\nErr.Clear: P Err.Number\nErr.Raise 1234, \"src\", \"custom\"\nP Err.Number & \" \" & Err.Source & \" \" & Err.Description\nOn Error GoTo 0\nP Err.Number",
            "11\nDivision by zero\n0\n1234 src custom\n0");
        row("error inside a called procedure resumes in the caller", "Sub Bad()\n x = CInt(\"abc\")\n P \"not here\"\nEnd Sub\nOn Error Resume Next\nBad\nP Err.Number",
            "13");
        row("nested loops and exits", "Do\n For i = 1 To 10\n  If i = 3 Then Exit Do\n Next\nLoop\nP i\nFor Each a In Array(1, 2)\n For Each b In Array(10, 20)\n  If b = 20 Then Exit For\n  s = s & a * b & \" \"\n Next\nNext\nP s",
            "3\n10 20 ");
        row("nested with and byref arrays", "Set d = CreateObject(\"Scripting.Dictionary\"): d.Add \"k\", CreateObject(\"Scripting.Dictionary\")\nWith d\n With .Item(\"k\")\n  .Add 1, 2\n End With\n P .Item(\"k\").Count\nEnd With\nSub Grow(arr)\n ReDim Preserve arr(5)\n arr(5) = \"new\"\nEnd Sub\nDim x(): ReDim x(1): Grow x: P UBound(x) & x(5)",
            "1\n5new");
        row("date comparisons and negative differences", "P #1/2/2000# > #1/1/2000#: P DateDiff(\"d\", #1/10/2000#, #1/1/2000#): P DateDiff(\"yyyy\", #12/31/1999#, #1/1/2000#): P CDate(\"10:30 PM\") = TimeSerial(22, 30, 0)",
            "True\n-9\n1\nTrue");
        // Builtins: strings.
        row("string functions", "P Left(\"hello\", 2) & Right(\"hello\", 2) & Mid(\"hello\", 2, 3) & Mid(\"hello\", 4): P InStr(\"abcabc\", \"c\") & InStr(4, \"abcabc\", \"c\") & InStr(1, \"ABC\", \"b\", 1): P InStrRev(\"abcabc\", \"b\"): P Replace(\"aXbXc\", \"X\", \"-\"): P Replace(\"aXbXc\", \"x\", \"\", 1, 1, vbTextCompare): P \"[\" & Trim(\"  a  \") & \"][\" & LTrim(\" a\") & \"][\" & RTrim(\"a \") & \"]\"",
            "heloelllo\n362\n5\na-b-c\nabXc\n[a][a][a]");
        row("more string functions", "P UCase(\"ab\") & LCase(\"CD\") & Space(2) & String(3, \"z\") & StrReverse(\"abc\"): P Asc(\"A\") & Chr(66) & ChrW(67): P StrComp(\"a\", \"B\") & StrComp(\"a\", \"A\", 1): P Len(\"abc\"): P IsNull(Left(Null, 1))",
            "ABcd  zzzcba\n65BC\n10\n3\nTrue");
        row("array elements by reference", "Dim arr(2): arr(1) = 5\nSub Twice(ByRef y): y = y * 2: End Sub\nTwice arr(1): P arr(1): Call Twice(arr(1)): P arr(1): Twice (arr(1)): P arr(1)\n"
            "Set o = CreateObject(\"Scripting.Dictionary\"): o.Add 1, 5: Twice o(1): P o(1)\nDim m(1, 1): Twice m(1, 1): P TypeName(m(1, 1))",
            "10\n20\n20\n5\nInteger");
        row("escape and unescape", "P Escape(\"a b+ü€/%\"): P Unescape(\"a%20b%FC%u20AC%zz%u12\"): P Unescape(Escape(\"x;y\")) = \"x;y\": P IsNull(Escape(Null))",
            "a%20b+%FC%u20AC/%25\na b\u00fc\u20ac%zz%u12\nTrue\nTrue");
        // Builtins: conversions and math.
        row("conversions", "T CBool(\"True\"): T CDbl(\"1.25\"): T CStr(12): T CCur(1.23456): T CLng(\"&H10\"): P Hex(255) & \" \" & Hex(-1) & \" \" & Oct(8): T CDate(\"2000-02-29\"): T CSng(1.5): T CByte(200)",
            "Boolean True\nDouble 1.25\nString 12\nCurrency 1.2346\nLong 16\nFF FFFF 10\nDate 2/29/2000\nSingle 1.5\nByte 200");
        row("math", "P Abs(-3) & Sgn(-2) & Int(-1.5) & Fix(-1.5): P Round(2.5) & Round(3.5) & Round(1.2345, 2): P Sqr(16) & Exp(0) & Log(1): P Int(Atn(1) * 4 * 1000)",
            "3-1-2-1\n241.23\n410\n3141");
        row("type inspection", "P IsNumeric(\"12.5\") & IsNumeric(\"abc\") & IsNumeric(Empty) & IsDate(\"1/2/2000\") & IsDate(\"x\"): P VarType(1) & VarType(\"\") & VarType(Array()): Set o = CreateObject(\"VBScript.RegExp\"): P IsObject(o) & TypeName(o)",
            "TrueFalseTrueTrueFalse\n288204\nTrueIRegExp2");
        // Builtins: dates.
        row("date parts and arithmetic", "d = DateSerial(2024, 2, 29)\nP Year(d) & \"-\" & Month(d) & \"-\" & Day(d): P Weekday(d): P WeekdayName(Weekday(d)): P MonthName(2, True): P DateAdd(\"m\", 1, #1/31/2024#): P DateAdd(\"d\", 1, d): P DateDiff(\"d\", #1/1/2024#, #3/1/2024#): P DateDiff(\"m\", #12/31/2023#, #1/1/2024#): P DatePart(\"q\", d): P DatePart(\"ww\", #1/7/2024#): P TimeSerial(13, 5, 0): P d + 1",
            "2024-2-29\n5\nThursday\nFeb\n2/29/2024\n3/1/2024\n60\n1\n1\n2\n1:05:00 PM\n3/1/2024");
        row("choices", "P IIf(1 > 2, \"a\", \"b\"): P Choose(2, \"x\", \"y\"): P IsNull(Choose(5, 1)): P Switch(False, 1, True, 2): P Nz(Null, \"dflt\"): P RGB(1, 2, 3)",
            "b\ny\nTrue\n2\ndflt\n197121");
        row("format functions", "P Format(1234.5, \"#,##0.00\"): P Format(#1/2/2003#, \"yyyy-mm-dd\"): P FormatNumber(1234.567, 1): P FormatPercent(0.25, 0): P FormatDateTime(#1/2/2003#, vbShortDate)",
            "1,234.50\n2003-01-02\n1,234.6\n25%\n1/2/2003");
        // Real-world report script constructs.
        row("counter in detail format", "Dim count\nSub Detail_Format()\n count = count + 1\n If count Mod 2 = 0 Then P \"even \" & count\nEnd Sub\nFor k = 1 To 4: Detail_Format: Next",
            "even 2\neven 4");
        row("string building and iif chain", "Function Grade(s)\n Grade = IIf(s >= 90, \"A\", IIf(s >= 80, \"B\", IIf(s >= 70, \"C\", \"F\")))\nEnd Function\nout = \"\"\nFor Each s In Array(95, 85, 72, 10)\n out = out & Grade(s) & \";\"\nNext\nP out",
            "A;B;C;F;");
        row("select case on field values", "Function Region(code)\n Select Case UCase(code)\n Case \"N\", \"NE\": Region = \"North\"\n Case \"S\": Region = \"South\"\n Case Else: Region = \"?\"\n End Select\nEnd Function\nP Region(\"ne\") & Region(\"s\") & Region(\"w\")",
            "NorthSouth?");
        // Visual Basic module code pasted from Access.
        row("declarations with types and optional parameters",
            "Option Compare Database\nAttribute VB_Name = \"Module1\"\nDim total  As Currency, names(2) As String\nConst Rate As Double = 0.5\n"
            "Function F(ByVal n As Integer, Optional ByVal k As Long = 2) As Long\n Attribute F.VB_Description = \"twice\"\n F = n * k\nEnd Function\n"
            "Function G(Optional x, Optional y = \"d\") As Boolean\n G = IsMissing(x) & y\nEnd Function\n"
            "Sub H(a, Optional b)\n P IsMissing(b) & G(b)\nEnd Sub\n"
            "P F(3) & \" \" & F(3, 5) & \" \" & G() & \" \" & G(1, ) & \" \" & Left$(\"abc\", 1) & Rate: H 1",
            "6 15 Trued Falsed a0.5\nTrueTrued");
        row("error handler with resume, resume next and resume label",
            "Sub S(d)\nOn Error GoTo Err_Handler\n P \"start\"\n x = 1 / d\n P \"after \" & x\nExit_Handler:\n P \"exit \" & Err.Number\n Exit Sub\n"
            "Err_Handler:\n P \"Error #\" & Err.Number & \": \" & Err.Description\n If d = 0 Then d = 4: Resume\n Resume Exit_Handler\nEnd Sub\nS 0\n"
            "Function Total(a)\n On Error GoTo Bad\n For Each v In a\n  Total = Total + CInt(v)\n Next\n Exit Function\nBad:\n P \"skip \" & v\n Resume Next\nEnd Function\nP Total(Array(\"1\", \"x\", \"3\"))",
            "start\nError #11: Division by zero\nafter 0.25\nexit 0\nskip x\n4");
        row("goto, line numbers and calls that look like labels",
            "Sub Count3()\n i = 0\nAgain:\n i = i + 1\n If i < 3 Then GoTo Again\n For j = 1 To 5\n  If j = 2 Then GoTo Done\n Next\nDone:\n P i & j\n GoTo 100\n P \"skipped\"\n100 P \"line 100\"\nEnd Sub\n"
            "Count3\nSub Hello\n P \"hello\"\nEnd Sub\nHello: P \"called\"",
            "32\nline 100\nhello\ncalled");
        row("raised numbers keep their source", "On Error Resume Next\nErr.Raise 1001, \"Mine\", \"text\"\nP Err.Source & \" \" & Err.Number",
            "Mine 1001");
        row("an error in the handler goes to the caller",
            "Sub Inner()\n On Error GoTo H\n x = 1 / 0\n Exit Sub\nH:\n y = CInt(\"abc\")\n P \"not here\"\nEnd Sub\nOn Error Resume Next\nInner\nP Err.Number",
            "13");
        row("property procedures and events",
            "Private m_Title\nPublic Event Changed(Value As String)\nPublic Property Let Title(Value As String)\n If Len(Value) = 0 Then Exit Property\n m_Title = Value\n RaiseEvent Changed(Value)\nEnd Property\n"
            "Public Property Get Title() As String\n Title = \"[\" & m_Title & \"]\"\nEnd Property\nTitle = \"abc\": Title = \"\"\nP Title\n"
            "Set d = CreateObject(\"Scripting.Dictionary\"): d.Add \"k\", 5: P d!k",
            "[abc]\n5");
        row("resume next with err checks", "On Error Resume Next\nSet o = CreateObject(\"WScript.Shell\")\nIf Err.Number <> 0 Then P \"no shell \" & Err.Number: Err.Clear\nv = CLng(\"x\")\nIf Err Then P \"bad number\"",
            "no shell 429\nbad number");
    }

private Q_SLOTS:
    // Longer scripts by area in tests/script/corpus: each .vbs with the
    // lines it must write in the .out beside it.
    void files_data()
    {
        QTest::addColumn<QString>("script");
        const QDir dir(QStringLiteral(ORV_SOURCE_DIR "/tests/script/corpus"));
        const QStringList files = dir.entryList({QStringLiteral("*.vbs")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 9);
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << dir.filePath(f);
    }

    void files()
    {
        QFETCH(QString, script);
        QFile in(script), expected(script.chopped(4) + QStringLiteral(".out"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        ScriptRun r;
        QCOMPARE(r.run(QString::fromUtf8(in.readAll())), QString::fromUtf8(expected.readAll()).chopped(1));
    }

    void scripts_data() { corpus(); }

    void scripts()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        ScriptRun r;
        QCOMPARE(r.run(prelude() + script), expected);
    }

    void errors_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *script, const char *expected) {
            QTest::newRow(name) << QString::fromUtf8(script) << QString::fromUtf8(expected);
        };
        row("syntax error", "x = 1\ny = (2 +\n", "error 1023 at 2:9");
        row("expected end of statement", "x = 1 2", "error 1025 at 1:7");
        row("unterminated string", "x = \"abc", "error 1033 at 1:5");
        row("missing end if", "If x Then\n y = 1\n", "error 1014 at 3:1");
        row("missing next", "For i = 1 To 2\n", "error 1020 at 2:1");
        row("type mismatch", "x = 1\ny = \"a\" * 2", "error 13 at 2:1");
        row("array passed element by reference is locked", "Dim d(): ReDim d(1)\nSub Grow(x)\n ReDim d(5)\nEnd Sub\nGrow d(0)", "error 10 at 3:2");
        row("number literal against text that is no number", "x = 1\ny = 5 < \"x\"", "error 13 at 2:1");
        row("undefined variable", "Option Explicit\nDim a\na = 1\nb = 2", "error 500 at 4:1");
        row("subscript out of range", "Dim a(2)\n  a(3) = 1", "error 9 at 2:3");
        row("division by zero", "x = 0\nSub S\n y = 1 / x\nEnd Sub\nS", "error 11 at 3:2");
        row("object required", "x = 5\nx.Foo", "error 424 at 2:1");
        row("no such member", "Set d = CreateObject(\"Scripting.Dictionary\")\nd.Frobnicate", "error 438 at 2:1");
        row("overflow", "x = CInt(40000)", "error 6 at 1:1");
        row("wrong argument count", "Sub S(a)\nEnd Sub\nS 1, 2", "error 450 at 3:1");
        row("redefined name", "Dim a\nSub S(b)\nDim b\nEnd Sub", "error 1041 at 3:6");
        row("assignment to a constant", "Const c = 1\nc = 2", "error 501 at 2:1");
        row("undefined function", "x = NoSuchThing(1)", "error 13 at 1:1");
        row("cannot create file system object", "Set f = CreateObject(\"Scripting.FileSystemObject\")", "error 429 at 1:1");
        row("cannot create shell", "Set f = CreateObject(\"WScript.Shell\")", "error 429 at 1:1");
        row("invalid use of null", "x = CLng(Null)", "error 94 at 1:1");
        row("runaway recursion", "Sub R\n R\nEnd Sub\nR", "error 28 at 2:2");
        row("redim of a fixed array", "Dim a(3)\nReDim a(5)", "error 10 at 2:1");
        row("redim preserve of the first dimension", "Dim m()\nReDim m(2, 2)\nReDim Preserve m(3, 2)", "error 9 at 3:1");
        row("undeclared inside a procedure", "Option Explicit\nSub S\n y = 1\nEnd Sub\nS", "error 500 at 3:2");
        row("uncaught raise", "x = 1\nErr.Raise vbObjectError + 1, \"mine\", \"custom text\"", "error -2147221503 at 2:1");
        row("exit sub inside a function", "Function F\n Exit Sub\nEnd Function", "error 1002 at 2:7");
        row("label not defined", "Sub S\n GoTo Nowhere\nEnd Sub", "error 1002 at 2:2");
        row("goto into a block", "Sub S\n GoTo L\n If True Then\nL:\n End If\nEnd Sub", "error 1002 at 2:2");
        row("resume without error", "Sub S\n x = 1\n Resume Next\nEnd Sub\nS", "error 20 at 3:2");
        row("argument not optional", "Sub S(a, Optional b)\nEnd Sub\nS , 1", "error 449 at 3:1");
        row("required after optional", "Sub S(Optional a, b)\nEnd Sub", "error 1002 at 1:20");
        row("as new needs classes", "Dim c As New Collection", "error 1002 at 1:10");
    }

    void errors()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        ScriptRun r;
        QCOMPARE(r.run(script), expected);
    }

    void deepExpressionsAreRefused()
    {
        // A chain of operators this long would exhaust the native stack
        // when evaluated; it is refused when compiled.
        ScriptRun r;
        QString chain = QStringLiteral("x = 1");
        for (int i = 0; i < 20000; ++i)
            chain += QStringLiteral(" + 1");
        QCOMPARE(r.run(chain), QStringLiteral("error 28 at 1:%1").arg(7 + 4 * 3000));
        ScriptRun ok;
        QCOMPARE(ok.run(QStringLiteral("x = 0") + QStringLiteral(" + 1").repeated(2000) + QStringLiteral("\ndbg.Out x")), QStringLiteral("2000"));
    }

    void errorCallbackAndText()
    {
        ScriptRun r;
        QList<Error> seen;
        r.host.setErrorHandler([&](const Error &e) { seen << e; });
        r.host.addCode(QStringLiteral("x = 1\r\n  y = x / 0\r\n"));
        const Orv::Status s = r.host.compile();
        QCOMPARE(s.number(), 11);
        QCOMPARE(s.description(), QStringLiteral("Division by zero"));
        QCOMPARE(s.source(), QStringLiteral("line 2, column 3"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].code, QStringLiteral("  y = x / 0"));
        QCOMPARE(seen[0].source, QStringLiteral("Microsoft VBScript runtime error"));
    }

    void modulesAndReset()
    {
        ScriptRun r;
        r.host.addCode(QStringLiteral("Function One()\nOne = 1\nEnd Function\n"));
        r.host.addCode(QStringLiteral("x = One()\n\ny = (x +"));
        QVERIFY(!r.host.compile().ok());
        // The place and text are the second piece's own.
        QCOMPARE(r.host.lastError().line, 3);
        QCOMPARE(r.host.lastError().code, QStringLiteral("y = (x +"));
        r.host.reset();
        r.host.addCode(QStringLiteral("Function Two()\nTwo = 2\nEnd Function\n"));
        QVERIFY(r.host.compile().ok());
        QVERIFY(!r.host.hasProcedure(QStringLiteral("One")));
        QVERIFY(r.host.hasProcedure(QStringLiteral("Two")));
        // A smaller nesting limit stops recursion sooner.
        r.host.setMaxDepth(50);
        r.host.addCode(QStringLiteral("Dim depth\nSub R\n depth = depth + 1\n R\nEnd Sub\nOn Error Resume Next\nR\n"));
        QCOMPARE(r.host.compile().number(), 28);
        QVariant depth;
        QVERIFY(r.host.call(QStringLiteral("Two"), &depth).ok());
        QCOMPARE(depth.toInt(), 2);
    }

    void stepBudgetStopsEndlessLoop()
    {
        ScriptRun r;
        r.host.setStepBudget(10000);
        QCOMPARE(r.run(QStringLiteral("On Error Resume Next\nDo : Loop\n")), QStringLiteral("error 18 at 2:1"));
        QVERIFY(r.host.lastError().description.contains(QLatin1String("step budget")));
    }

    void cancelFlagStopsScript()
    {
        ScriptRun r;
        std::atomic_bool cancel{false};
        r.host.setCancelFlag(&cancel);
        // The script sets the flag through dbg.Out; the next step stops it.
        r.debug->out = [&](const QString &) { cancel = true; };
        QCOMPARE(r.run(QStringLiteral("On Error Resume Next\nDo\n dbg.Out 1\nLoop")), QStringLiteral("error 18 at 2:1"));
    }

    void proceduresAndEvents()
    {
        ScriptRun r;
        QCOMPARE(r.run(QStringLiteral("Function Twice(x)\nTwice = x * 2\nEnd Function\nSub Detail_Format(Cancel, n)\n Cancel = n > 1\nEnd Sub\nSub Swap(a, b)\n t = a: a = b: b = t\nEnd Sub")),
                 QString());
        QVERIFY(r.host.hasProcedure(QStringLiteral("twice")));
        QVariant result;
        QVariantList args{21};
        QVERIFY(r.host.call(QStringLiteral("Twice"), args, &result).ok());
        QCOMPARE(result.toInt(), 42);
        QVariantList swap{1, QStringLiteral("b")};
        QVERIFY(r.host.call(QStringLiteral("Swap"), swap).ok());
        QCOMPARE(swap, (QVariantList{QStringLiteral("b"), 1}));
        QCOMPARE(r.host.call(QStringLiteral("Nope")).number(), 35);
        // Event handlers get Cancel and a count filled in.
        QVERIFY(r.host.hasHandler(QStringLiteral("Detail"), QStringLiteral("Format")));
        bool cancel = false;
        QVariantList none;
        QVERIFY(r.host.fireEvent(QStringLiteral("Detail"), QStringLiteral("Format"), none, &cancel).ok());
        QVERIFY(!cancel);
    }
};

QTEST_GUILESS_MAIN(TestScriptLanguage)
#include "tst_scriptlanguage.moc"
