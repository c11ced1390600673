// Objects as scripts reach them: the report model through the bridge, the
// whitelisted CreateObject objects over a real SQLite file, vbo, dbg, the
// prologue, the importer's scripts, events and data-field expressions.
#include "scripttestutil.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/variant.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace Orv;
using namespace Orv::Script;
using Orv::Script::Test::Row;
using Orv::Script::Test::ScriptRun;

namespace {


QString makeDatabase(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("t.db"));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "create table Sales (Region text, Amount real);"
                     "insert into Sales values ('North', 10.5), ('South', 20), ('West', 7);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return QStringLiteral("Provider=SQLite;Data Source=") + path;
}

} // namespace

class TestScriptObjects : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void prologueBytes()
    {
        const QString crlf = QStringLiteral("\r\n");
        const QString p = scriptPrologue(QStringLiteral("C:\\R\\"));
        const QString expected =
            QStringLiteral("Function getChartDataFromRecordset(rs) ") + crlf
            + QStringLiteral("getChartDataFromRecordset = vbo.getChartDataFromRecordset(rs) ") + crlf + crlf
            + QStringLiteral("End Function") + crlf + crlf
            + QStringLiteral("Function IIf(Expression, TruePart, FalsePart) ") + crlf
            + QStringLiteral("IIf = vbo.IIf(Expression, TruePart, FalsePart)") + crlf + crlf + QStringLiteral("End Function") + crlf + crlf
            + QStringLiteral("Function Format(expr, fmt) ") + crlf + QStringLiteral(" Format = vbo.Format(expr, fmt)") + crlf + crlf
            + QStringLiteral("End Function") + crlf + crlf
            + QStringLiteral("Function ReportPath() ") + crlf + QStringLiteral("ReportPath = \"C:\\R\\\"") + crlf + crlf
            + QStringLiteral("End Function") + crlf + crlf
            + QStringLiteral("Function CreateNewReport(sReport) ") + crlf
            + QStringLiteral("Set CreateNewReport = vbo.CreateNewReport(sReport) ") + crlf + crlf
            + QStringLiteral("End Function") + crlf + crlf
            + QStringLiteral("Function VBPath() ") + crlf + QStringLiteral("VBPath = vbo.VBPath() ") + crlf + crlf
            + QStringLiteral("End Function") + crlf + crlf;
        QCOMPARE(p, expected);
    }

    void prologueFunctionsWork()
    {
        ScriptRun r;
        r.host.addCode(scriptPrologue(QStringLiteral("C:\\R\\")));
        QCOMPARE(r.run(QStringLiteral(
                     "dbg.Out ReportPath()\n"
                     "dbg.Out IIf(2 > 1, \"yes\", \"no\")\n"
                     "dbg.Out Format(#3/4/2021#, \"ww dddd\")\n"
                     "dbg.Out Format(1234.5, \"#,##0.00\")\n"
                     "dbg.Out vbo.Choose(3, \"a\", \"b\", \"c\") & vbo.Switch(False, 1, True, 2)\n"
                     "Set r = CreateNewReport(\"/no/such/file.rpx\")\n"
                     "dbg.Out TypeName(r) & \" \" & r.Sections.Count\n"
                     "dbg.Out \"[\" & VBPath() & \"]\"\n"
                     "dbg.Cls\n")),
                 QStringLiteral("C:\\R\\\nyes\n10 Thursday\n1,234.50\nc2\nReport 3\n[]"));
        // Neither install key exists: no question is asked.
        QVERIFY(r.dialogs.shown.isEmpty());
    }

    void vbPathAsksWhenProductDirCannotBeRead()
    {
        ScriptRun r;
        InstallKeys keys;
        keys.productKeyExists = true;
        r.host.addObject(QStringLiteral("vbo"), createSupportObject([keys] { return keys; }));
        r.dialogs.answers.push_back(QStringLiteral("/opt/vb"));
        QCOMPARE(r.run(QStringLiteral("dbg.Out vbo.VBPath()")), QStringLiteral("/opt/vb"));
        QCOMPARE(r.dialogs.shown, QStringList{QStringLiteral("VB Path not found|Please enter a valid path to NWind.mdb|E:\\Microsoft Visual Studio\\VB98")});
        InstallKeys installed;
        installed.installDir = QStringLiteral("/vb5");
        ScriptRun r2;
        r2.host.addObject(QStringLiteral("vbo"), createSupportObject([installed] { return installed; }));
        QCOMPARE(r2.run(QStringLiteral("dbg.Out vbo.VBPath()")), QStringLiteral("/vb5"));
    }

    void chartDataAndAdoOverSqlite()
    {
        QTemporaryDir dir;
        const QString cs = makeDatabase(dir);
        ScriptRun r;
        r.host.addCode(scriptPrologue(dir.path() + QLatin1Char('/')));
        const QString script = QStringLiteral(
            "Dim rs, a, cn\n"
            "Set rs = CreateObject(\"ADODB.Recordset\")\n"
            "rs.Open \"select Region, Amount from Sales order by Amount\", \"%1\", adOpenKeyset\n"
            "a = getChartDataFromRecordset(rs)\n"
            "dbg.Out LBound(a, 1) & \" \" & UBound(a, 1) & \" \" & LBound(a, 2) & \" \" & UBound(a, 2)\n"
            "dbg.Out a(0, 0) & \" \" & a(2, 1)\n"
            "rs.Close\n"
            "Set cn = CreateObject(\"ADODB.Connection\")\n"
            "cn.Open \"%1\"\n"
            "rs.Open \"Sales\", cn, adOpenForwardOnly, adLockReadOnly, adCmdTable\n"
            "Do While Not rs.EOF\n"
            " total = total + rs(\"amount\") + rs.Fields(1).Value - rs.Fields(\"Amount\")\n"
            " rs.MoveNext\n"
            "Loop\n"
            "dbg.Out total & \" \" & rs.Fields.Count & \" \" & rs.Fields(0).Name\n"
            "rs.MoveFirst\n"
            "g = rs.GetRows()\n"
            "dbg.Out UBound(g, 1) & \" \" & UBound(g, 2)\n"
            "On Error Resume Next\n"
            "rs.Close: rs.Open \"select nope from nothing\", cn\n"
            "dbg.Out Err.Number <> 0\n").arg(cs);
        QCOMPARE(r.run(script), QStringLiteral("0 2 0 1\nWest 20\n37.5 2 Region\n1 2\nTrue"));
    }

    void dictionaryAndRegExp()
    {
        ScriptRun r;
        QCOMPARE(r.run(QStringLiteral(
                     "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                     "d.CompareMode = 1\n"
                     "d.Add \"a\", 1: d(\"B\") = 2: d.Add 3, \"three\"\n"
                     "dbg.Out d.Count & d.Exists(\"A\") & d.Exists(\"z\") & d(\"b\")\n"
                     "For Each k In d: s = s & k & \"=\" & d.Item(k) & \";\": Next: dbg.Out s\n"
                     "d.Key(\"a\") = \"aa\": d.Remove \"B\": dbg.Out Join(d.Keys, \",\") & \"|\" & Join(d.Items, \",\")\n"
                     "On Error Resume Next\n"
                     "d.Add \"AA\", 0: dbg.Out Err.Number: Err.Clear\n"
                     "d.Remove \"zz\": dbg.Out Err.Number: Err.Clear\n"
                     "d.RemoveAll: dbg.Out d.Count\n"
                     "Set re = CreateObject(\"VBScript.RegExp\")\n"
                     "re.Pattern = \"(\\w+)@(\\w+)\\.com\": re.Global = True: re.IgnoreCase = True\n"
                     "Set ms = re.Execute(\"Mail ann@x.com, BOB@Y.COM\")\n"
                     "dbg.Out ms.Count & \" \" & ms(1).Value & \" \" & ms(1).FirstIndex & \" \" & ms(0).SubMatches(1) & \" \" & ms.Item(0).Length\n"
                     "dbg.Out re.Replace(\"ann@x.com bob@y.com\", \"$2:$1\")\n"
                     "re.Global = False: dbg.Out re.Replace(\"ann@x.com bob@y.com\", \"[$&]\")\n"
                     "dbg.Out re.Test(\"none here\")\n"
                     "re.Pattern = \"^b\": re.Multiline = True: dbg.Out re.Test(\"a\" & vbLf & \"b\")\n"
                     "re.Pattern = \"(\": x = re.Test(\"a\"): dbg.Out Err.Number\n")).split(QLatin1Char('\n')),
                 QStringLiteral("3TrueFalse2\na=1;B=2;3=three;\naa,3|1,three\n457\n32811\n0\n"
                                "2 BOB@Y.COM 16 x 9\nx:ann y:bob\n[ann@x.com] bob@y.com\nFalse\nTrue\n5020").split(QLatin1Char('\n')));
    }

    void controlNamesOfOneReportAreNotAnother()
    {
        // A name one report lacks becomes a value name of reports (for
        // values stored on them); another report's control of that name
        // still answers to it.
        Report without;
        ScriptRun first;
        first.host.bindReport(&without);
        QCOMPARE(first.run(QStringLiteral("On Error Resume Next\nx = rpt.txtLater.Name\ndbg.Out Err.Number")), QStringLiteral("438"));
        Report with;
        auto *c = with.sections()->firstOfType(Section::Detail)->controls()->Add(QStringLiteral("OrvEngine.Field"));
        c->setName(QStringLiteral("txtLater"));
        ScriptRun second;
        second.host.bindReport(&with);
        QCOMPARE(second.run(QStringLiteral("dbg.Out rpt.txtLater.Name")), QStringLiteral("txtLater"));
    }

    void bridgeOverTheReportModel()
    {
        Report report;
        Section *detail = report.sections()->firstOfType(Section::Detail);
        detail->setName(QStringLiteral("Detail"));
        auto *field = static_cast<Orv::Field *>(detail->controls()->Add(QStringLiteral("OrvEngine.Field")));
        field->setName(QStringLiteral("txtName"));
        ScriptRun r;
        r.host.bindReport(&report);
        QCOMPARE(r.run(QStringLiteral(
                     "dbg.Out rpt.sections.count & \" \" & rpt.Sections(1).Name & \" \" & rpt.Sections(\"detail\").Type\n"
                     "rpt.Sections(\"Detail\").Controls(\"txtName\").DataField = \"=[Name]\"\n"
                     "txtName.Font.Bold = True\n"
                     "rpt.txtName.Text = \"x\" & 1\n"
                     "Detail.Height = 720\n"
                     "For Each c In Detail.Controls: dbg.Out TypeName(c) & \" \" & c.Name: Next\n"
                     "rpt.documentname = \"Doc\"\n"
                     "Set added = Detail.Controls.Add(\"OrvEngine.Label\")\n"
                     "added.Caption = \"Hi\"\n"
                     "dbg.Out Detail.Controls.Count\n"
                     "On Error Resume Next\n"
                     "Detail.Height = -5: dbg.Out Err.Number: Err.Clear\n"
                     "rpt.Sections(\"Detail\").Type = 1: dbg.Out Err.Number: Err.Clear\n"
                     "x = rpt.NoSuchThing: dbg.Out Err.Number: Err.Clear\n"
                     "Set rpt.txtName.Tag2 = CreateObject(\"OrvEngine.Report\"): dbg.Out TypeName(rpt.txtName.Tag2)\n")),
                 QStringLiteral("3 Detail 6\nField txtName\n2\n380\n383\n438\nReport"));
        QCOMPARE(field->dataField(), QStringLiteral("=[Name]"));
        QVERIFY(field->font()->bold());
        QCOMPARE(field->text(), QStringLiteral("x1"));
        QCOMPARE(detail->height(), 720.0);
        QCOMPARE(report.documentName(), QStringLiteral("Doc"));
    }

    void importerScriptsRun()
    {
        // The module translation with a subreport, a section's chart script
        // and Access event procedures with their Report_ prefix removed.
        QTemporaryDir dir;
        const QString cs = makeDatabase(dir);
        Report sub;
        QVERIFY(SaveLayout(sub, dir.filePath(QStringLiteral("Orders.rpx")), LayoutFile::ToFile).ok());
        Report report;
        Section *detail = report.sections()->firstOfType(Section::Detail);
        detail->setName(QStringLiteral("Detail_Ctl"));
        auto *data = static_cast<DataControl *>(detail->controls()->Add(QStringLiteral("OrvEngine.DataControl")));
        data->setName(QStringLiteral("DataCtl"));
        data->setConnectionString(cs);
        detail->controls()->Add(QStringLiteral("OrvEngine.SubReport"))->setName(QStringLiteral("Sub1"));
        detail->controls()->Add(QStringLiteral("OrvEngine.Chart"))->setName(QStringLiteral("Chart1"));
        const QString crlf = QStringLiteral("\r\n");
        detail->setScript(QStringLiteral("Sub OnFormat()") + crlf + crlf + QStringLiteral("  Dim rsChart") + crlf
                          + QStringLiteral("  Set rsChart = CreateObject(\"ADODB.Recordset\")") + crlf + crlf
                          + QStringLiteral("' assume that DataControl exists and is named as DataCtl") + crlf
                          + QStringLiteral("' TODO: modify _where_ statement") + crlf
                          + QStringLiteral("  rsChart.Open \"select Region, Amount from Sales where Region = \" & \"'North'\" & \" order by Amount\", _") + crlf
                          + QStringLiteral("    rpt.DataCtl.Connection , adOpenKeyset") + crlf
                          + QStringLiteral("  rpt.Chart1.ChartData = getChartDataFromRecordset(rsChart)") + crlf
                          + QStringLiteral("  rsChart.Close") + crlf + crlf + QStringLiteral("  Set rsChart = Nothing") + crlf
                          + QStringLiteral("End Sub") + crlf);
        report.setScript(QStringLiteral("Option Explicit") + crlf + crlf + QStringLiteral("Sub OnReportStart()") + crlf
                         + QStringLiteral("\tDim srpt") + crlf + crlf
                         + QStringLiteral("\tSet srpt = CreateObject(\"OrvEngine.Report\")") + crlf
                         + QStringLiteral("\tsrpt.LoadLayout \"Orders.rpx\"") + crlf
                         + QStringLiteral("\tSet rpt.Sub1.Object = srpt") + crlf + QStringLiteral("\tSet srpt = Nothing") + crlf + crlf
                         + QStringLiteral("End Sub") + crlf + crlf + QStringLiteral("Sub OnReportEnd()") + crlf + crlf
                         + QStringLiteral("\tSet rpt.Sub1.Object = Nothing") + crlf + QStringLiteral("End Sub") + crlf + crlf
                         + QStringLiteral("Dim total") + crlf
                         + QStringLiteral("Sub Open(Cancel)") + crlf + QStringLiteral("  total = 0") + crlf + QStringLiteral("End Sub") + crlf
                         + QStringLiteral("Private Sub Report_Close()") + crlf + QStringLiteral("  dbg.Out \"closed\"") + crlf + QStringLiteral("End Sub") + crlf
                         + QStringLiteral("Sub Detail_Format(Cancel, FormatCount)") + crlf
                         + QStringLiteral("  total = total + rpt.Fields(\"Amount\").Value") + crlf
                         + QStringLiteral("  If total > 25 Then Cancel = True") + crlf
                         + QStringLiteral("  dbg.Out \"page \" & rpt.PageNumber & \" total \" & total") + crlf
                         + QStringLiteral("End Sub") + crlf);
        Row row;
        row.names = {QStringLiteral("Amount"), QStringLiteral("PageNumber")};
        row.values = {10.5, 1};
        ScriptRun r;
        r.host.setReportFolder(dir.path());
        r.host.addCode(scriptPrologue(dir.path() + QLatin1Char('/')));
        r.host.bindReport(&report, &row);
        QCOMPARE(r.run(QString()), QString());
        QVariantList none;
        QVERIFY(r.host.hasHandler(&report, QStringLiteral("ReportStart")));
        QVERIFY(r.host.fireEvent(&report, QStringLiteral("ReportStart"), none).ok());
        QObject *subObject = report.allControls()[1]->property("Object").value<QObject *>();
        QVERIFY(qobject_cast<Report *>(subObject));
        QVERIFY(r.host.hasHandler(detail, QStringLiteral("Format")));
        bool cancel = false;
        QVERIFY(r.host.fireEvent(detail, QStringLiteral("Format"), none, &cancel).ok());
        QVERIFY(!cancel);
        row.values = {20, 2};
        QVERIFY(r.host.fireEvent(detail, QStringLiteral("Format"), none, &cancel).ok());
        QVERIFY(cancel);
        QCOMPARE(r.lines, (QStringList{QStringLiteral("page 1 total 10.5"), QStringLiteral("page 2 total 30.5")}));
        const QVariantList chart = report.allControls()[2]->property("ChartData").toList();
        QCOMPARE(chart.size(), 1);
        QCOMPARE(chart[0].toList(), (QVariantList{QStringLiteral("North"), 10.5}));
        QVERIFY(r.host.fireEvent(&report, QStringLiteral("ReportEnd"), none).ok());
        QVERIFY(!report.allControls()[1]->property("Object").value<QObject *>());
        QCOMPARE(r.lines.last(), QStringLiteral("closed"));
    }

    void expressions()
    {
        ScriptRun r;
        Row row;
        row.names = {QStringLiteral("Quantity"), QStringLiteral("Unit Price"), QStringLiteral("Name"), QStringLiteral("PageNumber")};
        row.values = {12, 2.5, QStringLiteral("ann"), 3};
        r.host.addCode(QStringLiteral("Function Twice(x)\nTwice = x * 2\nEnd Function\nDim seen\nseen = 5"));
        QVERIFY(r.host.compile().ok());
        Status s;
        auto e = r.host.compileExpression(
            QStringLiteral("IIf([Quantity] > 10, Format([Unit Price] * Quantity, \"#,##0.00\"), \"-\") & \" \" & UCase(name) & Twice(seen)"),
            &row, &s);
        QVERIFY2(e, qPrintable(s.description()));
        QCOMPARE(e->evaluate(&s).toString(), QStringLiteral("30.00 ANN10"));
        row.values[0] = 3;
        QCOMPARE(e->evaluate(&s).toString(), QStringLiteral("- ANN10"));
        row.values[0] = QVariant::fromValue(nullptr);
        QCOMPARE(e->evaluate(&s).toString(), QStringLiteral("- ANN10"));
        // Evaluation errors come back as a status with the expression's place.
        auto bad = r.host.compileExpression(QStringLiteral("1 / ([Quantity] - 3)"), &row, &s);
        row.values[0] = 3;
        QVERIFY(!bad->evaluate(&s).isValid());
        QCOMPARE(s.number(), 11);
        // Unknown names fail at compile time with their column.
        QVERIFY(!r.host.compileExpression(QStringLiteral("[Nope] + 1"), &row, &s));
        QCOMPARE(s.number(), 500);
        QCOMPARE(r.host.lastError().column, 1);
        QVERIFY(!r.host.compileExpression(QStringLiteral("1 +"), &row, &s));
        QCOMPARE(s.number(), 1023);
        // The expression builder's texts.
        Report report;
        r.host.bindReport(&report, &row);
        row.names << QStringLiteral("PageCount");
        row.values << 9;
        auto page = r.host.compileExpression(QStringLiteral("\"Page \"& rpt.PageNumber & \" of \" & Pages.Count"), &row, &s);
        QVERIFY2(page, qPrintable(s.description()));
        QCOMPARE(page->evaluate(&s).toString(), QStringLiteral("Page 3 of 9"));
        auto now = r.host.compileExpression(QStringLiteral("FormatDateTime(Now(), 1)"), &row, &s);
        QVERIFY(!now->evaluate(&s).toString().isEmpty());
    }

    void eventNamesAndArguments()
    {
        Report report;
        report.sections()->firstOfType(Section::Detail)->setName(QStringLiteral("Detail"));
        ScriptRun r;
        r.host.bindReport(&report);
        QCOMPARE(r.run(QStringLiteral(
                     "Sub Report_ReportStart: dbg.Out \"start\": End Sub\n"
                     "Sub Report_FetchData(eof)\n eof = True\nEnd Sub\n"
                     "Sub Detail_BeforePrint: dbg.Out \"before\": End Sub\n"
                     "Sub Detail_Print(Cancel, PrintCount): dbg.Out \"print \" & PrintCount: End Sub\n")),
                 QString());
        QVariantList none;
        QVERIFY(r.host.fireEvent(Host::reportObjectName(), QStringLiteral("ReportStart"), none).ok());
        QVariantList eof{false};
        QVERIFY(r.host.fireEvent(&report, QStringLiteral("FetchData"), eof).ok());
        QCOMPARE(eof[0].toBool(), true);
        QVERIFY(r.host.fireEvent(QStringLiteral("Detail"), QStringLiteral("BeforePrint"), none).ok());
        QVERIFY(!r.host.hasHandler(QStringLiteral("Detail"), QStringLiteral("AfterPrint")));
        // A section's own code handles only that section's events and its
        // procedures are not global.
        Section *header = report.sections()->firstOfType(Section::PageHeader);
        header->setName(QStringLiteral("PH"));
        header->setScript(QStringLiteral("Sub OnBeforePrint\n dbg.Out \"ph \" & rpt.Sections(\"PH\").Name\nEnd Sub"));
        ScriptRun own;
        own.host.bindReport(&report);
        QCOMPARE(own.run(QStringLiteral("On Error Resume Next\nOnBeforePrint\ndbg.Out Err.Number")), QStringLiteral("13"));
        QVERIFY(own.host.hasHandler(header, QStringLiteral("BeforePrint")));
        QVERIFY(!own.host.hasHandler(QStringLiteral("Detail"), QStringLiteral("Format")));
        QVERIFY(own.host.fireEvent(header, QStringLiteral("BeforePrint"), none).ok());
        QCOMPARE(own.lines.last(), QStringLiteral("ph PH"));
        QCOMPARE(r.lines, (QStringList{QStringLiteral("start"), QStringLiteral("before"), QStringLiteral("print 1")}));
    }

    void commandLine()
    {
        QTemporaryDir dir;
        const auto run = [&](const QString &code, QString *out, QString *err) {
            QFile f(dir.filePath(QStringLiteral("s.vbs")));
            f.open(QIODevice::WriteOnly);
            f.write(code.toUtf8());
            f.close();
            QProcess p;
            p.start(QStringLiteral(ORV_CLI_PATH), {QStringLiteral("script"), f.fileName()});
            p.closeWriteChannel();
            p.waitForFinished(60000);
            *out = QString::fromUtf8(p.readAllStandardOutput());
            *err = QString::fromUtf8(p.readAllStandardError());
            return p.exitCode();
        };
        QString out, err;
        QCOMPARE(run(QStringLiteral("dbg.Out IIf(True, \"a\", \"b\") & Right(ReportPath(), 1)\nMsgBox \"shown\"\n"), &out, &err), 0);
        QCOMPARE(out, QStringLiteral("a/\nshown\n"));
        QCOMPARE(run(QStringLiteral("dbg.Out 1\n\nx = 1 / 0\n"), &out, &err), 1);
        QCOMPARE(out, QStringLiteral("1\n"));
        QVERIFY2(err.contains(QLatin1String("s.vbs:3:1: error 11: Division by zero")), qPrintable(err));
    }

    void messageAndInputBoxes()
    {
        ScriptRun r;
        r.dialogs.answers.push_back(QStringLiteral("42"));
        QCOMPARE(r.run(QStringLiteral("dbg.Out MsgBox(\"hello\", vbOKCancel + vbQuestion, \"T\")\n"
                                      "dbg.Out InputBox(\"Value?\", \"Ask\", \"7\") + 1\n"
                                      "dbg.Out \"[\" & InputBox(\"Again?\") & \"]\"")),
                 QStringLiteral("1\n43\n[]"));
        QCOMPARE(r.dialogs.shown.first(), QStringLiteral("T|hello|33"));
    }
};

QTEST_GUILESS_MAIN(TestScriptObjects)
#include "tst_scriptobjects.moc"
