#include "convertexport.h"
#include "accessimport/accessimport.h"
#include "accessimport/importdriver.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/host.h"
#include "engine/script/scriptsupport.h"
#include "ui/recordingui.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Orv;
using namespace Orv::AccessImport;

namespace {

QString samples() { return QStringLiteral(ORV_TEST_DATA "/access-exports"); }

// Converts a small export written for the case.
QStringList convert(const QByteArray &body, Report *dst, CAccessImportSettings settings = {}, const QByteArray &mip = {})
{
    QByteArray text = "Version =20\nBegin Report\n    Width =4000\n    RecordSource =\"Orders\"\n";
    if (!mip.isEmpty())
        text += "    PrtMip = Begin\n        0x" + mip.toHex() + "\n    End\n";
    text += "    Begin\n" + body + "    End\nEnd\n";
    return ImportTest::convertExportText(text, QStringLiteral("Sales Report"), dst, settings);
}

QByteArray section(const char *kind, const QByteArray &props, const QByteArray &controls = {})
{
    QByteArray s = QByteArray("        Begin ") + kind + "\n" + props;
    if (!controls.isEmpty())
        s += "            Begin\n" + controls + "            End\n";
    return s + "        End\n";
}

QByteArray control(const char *kind, const QByteArray &props)
{
    return QByteArray("                Begin ") + kind + "\n" + props + "                End\n";
}

// Compiles a converted report's script the way a run does: bound to the
// report, with vbo, dbg and the prologue.
Status compileScript(Report &report)
{
    Script::Host host;
    host.addObject(QStringLiteral("vbo"), Script::createSupportObject());
    host.addObject(QStringLiteral("dbg"), Script::createDebugObject(std::make_shared<Script::DebugOutput>()));
    host.addCode(Script::scriptPrologue(QStringLiteral("/tmp/")));
    host.bindReport(&report);
    return host.compile();
}

QStringList sectionNames(const Report &r)
{
    QStringList names;
    for (const Section *s : *r.sections())
        names << QStringLiteral("%1:%2%3").arg(s->name()).arg(s->typeCode()).arg(s->visible() ? "" : "-");
    return names;
}

} // namespace

class TestAccessConvert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void northwindReportsByName();
    void openingAndMissingExports();
    void sectionsAndGroups();
    void dataControlAndPageSetup();
    void textControls();
    void shapesPicturesAndOthers();
    void patternServicesAndModuleCode();
    void everySampleConvertsAndSaves();
    void commandLine();
};

void TestAccessConvert::northwindReportsByName()
{
    QStringList mdb, accdb;
    QVERIFY(listAccessReports(QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"), &mdb));
    QVERIFY(listAccessReports(QStringLiteral(ORV_TEST_DATA "/Northwind.accdb"), &accdb));
    // Table order, not sorted: the subreports come last in the .mdb.
    QCOMPARE(mdb.size(), 14);
    QCOMPARE(mdb.first(), QStringLiteral("Alphabetical List of Products"));
    QCOMPARE(mdb.mid(11), (QStringList{QStringLiteral("Summary of Sales by Year"), QStringLiteral("Catalog Subreport"),
                                       QStringLiteral("Sales by Year Subreport")}));
    QCOMPARE(accdb.size(), 15);
    QCOMPARE(accdb.first(), QStringLiteral("Customer Address Book"));
    QCOMPARE(accdb.last(), QStringLiteral("Quarterly Sales Report"));

    // By name: no export of them is at hand, so each costs the one line
    // and leaves the designer's report as it was.
    for (const QString &db : {QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"), QStringLiteral(ORV_TEST_DATA "/Northwind.accdb")}) {
        AccessImportDriver driver;
        Report report;
        driver.SetReport(&report);
        QVERIFY(driver.openDatabase(db));
        driver.listReports();
        QCOMPARE(driver.reports(), db.endsWith(u"mdb") ? mdb : accdb);
        const QString folder = db.left(db.lastIndexOf(u'.'));
        for (const QString &name : driver.reports()) {
            driver.clearLog();
            driver.convertReport(name);
            QCOMPARE(driver.log().size(), 1);
            QCOMPARE(driver.log()[0], QStringLiteral("Error: No text export of report \"%1\" was found; looked for %1.txt, %1.report and %1.bas in ")
                                          .arg(name) + folder + QStringLiteral(", ") + folder + QStringLiteral("/reports, ") + db
                                          + QStringLiteral(".src, ") + db + QStringLiteral(".src/reports"));
        }
        QCOMPARE(report.sections()->Count(), 3);
    }

    // With an export beside it, a report converts by name and runs on the
    // database itself through the Jet provider.
    QTemporaryDir dir;
    const QByteArray text =
        "Version =20\nBegin Report\n    Width =9000\n"
        "    RecordSource =\"SELECT Products.ProductName, Categories.CategoryName FROM Categories INNER JOIN Products"
        " ON Categories.CategoryID = Products.CategoryID ORDER BY Products.ProductName\"\n    Begin\n"
        "        Begin BreakLevel\n            ControlSource =\"ProductName\"\n            GroupOn =1\n        End\n"
        + section("BreakHeader", "            Name =\"Letter Header\"\n",
                  control("TextBox", "                    Name =\"Letter\"\n                    ControlSource =\"=Left([ProductName],1)\"\n"))
        + section("Section", "            Name =\"Detail\"\n",
                  control("TextBox", "                    Name =\"ProductName\"\n                    ControlSource =\"ProductName\"\n"
                                     "                    Left =700\n                    Width =3000\n")
                      + control("TextBox", "                    Name =\"CategoryName\"\n                    ControlSource =\"CategoryName\"\n"
                                           "                    Left =3800\n                    Width =2000\n"))
        + section("PageFooter", "            Name =\"PageFooter\"\n",
                  control("TextBox", "                    Name =\"PageNo\"\n                    ControlSource =\"=\\\"Page \\\" & [Page] & \\\" of \\\" & [Pages]\"\n"
                                     "                    Width =3000\n"))
        + "    End\nEnd\n";
    QFile exportFile(dir.filePath(QStringLiteral("Alphabetical List of Products.txt")));
    QVERIFY(exportFile.open(QIODevice::WriteOnly) && exportFile.write(text) == text.size());
    exportFile.close();
    const auto cli = [](const QStringList &args) {
        QProcess p;
        p.start(QStringLiteral(ORV_CLI_PATH), args);
        p.waitForFinished(120000);
        return p.exitCode();
    };
    const QString rpx = dir.filePath(QStringLiteral("a.rpx")), pdf = dir.filePath(QStringLiteral("a.pdf"));
    QCOMPARE(cli({QStringLiteral("import-access"), QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"), QStringLiteral("--report"),
                  QStringLiteral("Alphabetical List of Products"), QStringLiteral("--exports"), dir.path(), QStringLiteral("-o"), rpx}),
             0);
    QCOMPARE(cli({QStringLiteral("run"), rpx, QStringLiteral("-o"), pdf}), 0);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n');
    const auto at = [&](const QString &pattern) {
        const QRegularExpression re(pattern);
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (re.match(lines[i]).hasMatch())
                return i;
        return qsizetype(-1);
    };
    // Grouped by first letter, in the statement's order, page n of 2.
    QVERIFY(at(QStringLiteral("^A$")) == 0 && at(QStringLiteral("Alice Mutton +Meat/Poultry")) == 1);
    QVERIFY(at(QStringLiteral("Aniseed Syrup +Condiments")) < at(QStringLiteral("^B$")));
    QVERIFY2(at(QStringLiteral("^Page 2 of 2")) > at(QStringLiteral("^Page 1 of 2")), qPrintable(lines.filter(QStringLiteral("Page")).join(u'|')));
}

void TestAccessConvert::openingAndMissingExports()
{
    RecordingUi ui;
    AccessImportDriver driver(&ui);
    Report report;
    driver.SetReport(&report);

    QVERIFY(!driver.openDatabase(QStringLiteral("/nonexistent/x.mdb")));
    QVERIFY(ui.last().text.startsWith(QStringLiteral("Error Starting Microsoft Access and Openning the selected database\r\n")));

    // A project is told by its last three letters in any case, and lists
    // the exports beside it.
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("Shop.aDp"));
    QFile(project).open(QIODevice::WriteOnly);
    QDir(dir.path()).mkdir(QStringLiteral("Shop"));
    QFile::copy(samples() + QStringLiteral("/Turiba-University__MSAcc-Viesnica__reports__MZAkts_sub.bas"),
                dir.filePath(QStringLiteral("Shop/Akts.bas")));
    QVERIFY(driver.openDatabase(project));
    QVERIFY(driver.isProject());
    driver.listReports();
    QCOMPARE(driver.reports(), QStringList{QStringLiteral("Akts")});

    // Listing chooses no report; with no current item only the start
    // line is logged and the design is left alone.
    QCOMPARE(driver.currentReport(), -1);
    QVERIFY(!driver.convertReports());
    QCOMPARE(report.sections()->Count(), 3);
    QCOMPARE(driver.log(), QStringList{QStringLiteral("*** Starting conversion ***")});
    driver.clearLog();
    driver.setCurrentReport(0);
    driver.options().msReportsPath = QStringLiteral("/out");
    driver.convertReports();
    driver.convertReports();
    QCOMPARE(driver.log().first(), QStringLiteral("*** Starting conversion ***"));
    QCOMPARE(driver.log().last(), QStringLiteral("*** Conversion complete ***"));
    QCOMPARE(report.documentName(), QStringLiteral("Akts"));
    const QString rule(60, u'=');
    const QString framed = rule + QStringLiteral("\r\nThe following reports were converted from database \"") + project
        + QStringLiteral("\" and placed in the following directory:\r\n- /out\r\n") + rule;
    QCOMPARE(driver.summary(), QStringLiteral("Access to OrvReport Wizard completed.\r\n\r\n") + framed + QStringLiteral("\r\n") + framed);

    // Northwind has reports but no exports beside it.
    QVERIFY(driver.openDatabase(QStringLiteral(ORV_TEST_DATA "/Northwind.mdb")));
    QVERIFY(!driver.isProject());
    driver.listReports();
    QCOMPARE(driver.reports().size(), 14);
    driver.clearLog();
    driver.convertReport(QStringLiteral("Invoice"));
    QCOMPARE(driver.log().size(), 1);
    QVERIFY2(driver.log()[0].startsWith(QStringLiteral("Error: No text export of report \"Invoice\" was found; looked for Invoice.txt, Invoice.report and Invoice.bas in ")),
             qPrintable(driver.log()[0]));
    QVERIFY(driver.log()[0].contains(QStringLiteral("Northwind.mdb.src")));
}

void TestAccessConvert::sectionsAndGroups()
{
    Report r;
    const QByteArray body =
        "        Begin BreakLevel\n            ControlSource =\"Region\"\n        End\n"
        "        Begin BreakLevel\n            ControlSource =\"OrderDate\"\n            GroupOn =2\n            KeepTogether =2\n        End\n"
        "        Begin BreakLevel\n            ControlSource =\"=[A] & [B]\"\n        End\n"
        + section("FormHeader", "            Name =\"Report Header\"\n")
        + section("PageHeader", "            Name =\"Page\"\n            CanShrink = NotDefault\n")
        + section("BreakHeader", "            BreakLevel =1\n            Name =\"ByYear\"\n            RepeatSection = NotDefault\n            ForceNewPage =1\n            KeepTogether = NotDefault\n")
        + section("BreakHeader", "            BreakLevel =2\n            Name =\"ByAB\"\n            ForceNewPage =5\n")
        + section("Section", "            Name =\"Detail\"\n            BackColor =-2147483643\n",
                  control("TextBox", "                    Name =\"Qty\"\n                    Top =100\n                    Height =300\n                    OldBorderStyle =0\n"
                                     "                    ControlSource =\"Qty\"\n                    RunningSum =1\n")
                      + control("TextBox", "                    Name =\"Hidden\"\n                    Top =2000\n                    Visible = NotDefault\n"))
        + section("BreakFooter", "            Name =\"Total Region\"\n",
                  control("TextBox", "                    Name =\"SumAmt\"\n                    ControlSource =\"=Sum([Amount])\"\n                    RunningSum =2\n"
                                     "                    Top =50\n                    Height =200\n                    OldBorderStyle =0\n"))
        + section("PageFooter", "            Name =\"PageFooterSection\"\n",
                  control("TextBox", "                    Name =\"PageNo\"\n                    ControlSource =\"=[Page] & \\\" of \\\" & [Pages]\"\n"));
    const QStringList log = convert(body, &r);
    QCOMPARE(sectionNames(r), (QStringList{
                                  QStringLiteral("ReportHeader:0"), QStringLiteral("Page_Ctl:2"), QStringLiteral("hiddenGroup2:4-"),
                                  QStringLiteral("ByYear:4"), QStringLiteral("ByAB:4"), QStringLiteral("Detail_Ctl:6"),
                                  QStringLiteral("hiddenGroup4footer:5-"), QStringLiteral("hiddenGroup3footer:5-"),
                                  QStringLiteral("TotalRegion:5"), QStringLiteral("PageFooterSection:3"), QStringLiteral("hiddenGroup0footer:1-")}));
    QVERIFY(r.sections()->validate());
    const Section *byYear = r.sections()->Item(QStringLiteral("ByYear"));
    QCOMPARE(byYear->dataField(), QStringLiteral("=DatePart(\"yyyy\", rpt.Fields(\"OrderDate\").Value)"));
    QCOMPARE(byYear->grpKeepTogether(), 1);
    QCOMPARE(byYear->repeatStyle(), 3);
    QCOMPARE(byYear->newPage(), 1);
    QVERIFY(byYear->keepTogether());
    const Section *byAB = r.sections()->Item(QStringLiteral("ByAB"));
    QCOMPARE(byAB->dataField(), QStringLiteral("=rpt.Fields(\"A\").Value & rpt.Fields(\"B\").Value"));
    QCOMPARE(byAB->newPage(), 0);
    QCOMPARE(r.sections()->Item(QStringLiteral("hiddenGroup2"))->dataField(), QString());
    QVERIFY(!r.sections()->Item(QStringLiteral("Page_Ctl"))->canShrink()); // not copied to page sections
    const Section *detail = r.sections()->Item(QStringLiteral("Detail_Ctl"));
    QCOMPARE(detail->backColor(), int(0x80000005));
    QCOMPARE(detail->backStyle(), BackStyle::Opaque);
    QCOMPARE(detail->height(), 400.0); // the hidden control and the data control do not count
    QCOMPARE(r.sections()->Item(QStringLiteral("ReportHeader"))->height(), 0.0);

    const Field *sum = qobject_cast<const Field *>(r.sections()->Item(QStringLiteral("TotalRegion"))->controls()->Item(0));
    QCOMPARE(sum->summaryType(), 3);
    QCOMPARE(sum->summaryFunc(), 0);
    QCOMPARE(sum->summaryRunning(), 2);
    QCOMPARE(sum->summaryGroup(), QStringLiteral("hiddenGroup2"));
    QCOMPARE(sum->text(), QStringLiteral("'=Sum([Amount])"));
    QCOMPARE(sum->dataField(), QStringLiteral("Amount"));
    // A plain text box's running sum is its own; a total keeps its summary running.
    QCOMPARE(sum->runningSum(), 0);
    QCOMPARE(qobject_cast<const Field *>(detail->controls()->Item(QStringLiteral("Qty")))->runningSum(), 1);

    // [Pages] adds the hidden page count to the page footer.
    const Section *pageFooter = r.sections()->Item(QStringLiteral("PageFooterSection"));
    const Field *count = qobject_cast<const Field *>(pageFooter->controls()->Item(QStringLiteral("txtPageCount")));
    QVERIFY(count && !count->visible());
    QCOMPARE(count->summaryType(), 4);
    QCOMPARE(count->summaryFunc(), 2);
    QCOMPARE(count->tag(), QStringLiteral("[Pages]"));
    const Field *pageNo = qobject_cast<const Field *>(pageFooter->controls()->Item(0));
    QCOMPARE(pageNo->dataField(), QStringLiteral("=rpt.PageNumber & \" of \" & rpt.txtPageCount.DataValue"));
    QCOMPARE(r.documentName(), QStringLiteral("SalesReport"));
    QCOMPARE(r.printWidth(), 4000.0);
    QVERIFY2(log.isEmpty(), qPrintable(log.join(u'\n')));

    // Without a page footer the page count cannot be placed.
    Report r2;
    const QStringList log2 = convert(section("Section", "", control("TextBox", "                    ControlSource =\"=[Pages]\"\n")), &r2);
    QCOMPARE(log2, QStringList{QStringLiteral("ERROR #0 in importReport(): failed to add txtPageCount control")});
    QCOMPARE(sectionNames(r2), QStringList{QStringLiteral("_Ctl:6")});

    // A damaged export without a detail still pairs every header with its footer.
    Report r3;
    convert("        Begin BreakLevel\n            ControlSource =\"Region\"\n        End\n"
                + section("FormHeader", "            Name =\"Top\"\n") + section("BreakHeader", "            Name =\"ByRegion\"\n"),
            &r3);
    QCOMPARE(sectionNames(r3), (QStringList{QStringLiteral("Top:0"), QStringLiteral("ByRegion:4"),
                                            QStringLiteral("hiddenGroup2footer:5-"), QStringLiteral("hiddenGroup0footer:1-")}));
    QVERIFY(r3.sections()->validate());

    QCOMPARE(CAccessImport::sanitizeName(QStringLiteral("Total Pages")), QStringLiteral("TotalPages"));
    QCOMPARE(CAccessImport::sanitizeName(QStringLiteral("Text12")), QStringLiteral("Text12"));
    QCOMPARE(CAccessImport::sanitizeName(QStringLiteral("zoom")), QStringLiteral("zoom_Ctl"));
    QCOMPARE(CAccessImport::sanitizeName(QStringLiteral("A.GE")), QStringLiteral("AGE_Ctl"));
}

void TestAccessConvert::dataControlAndPageSetup()
{
    const QByteArray detail = section("Section", "            Name =\"D\"\n");
    QByteArray mip(56, '\0');
    const qint32 values[14] = {100, 200, 300, 400, 0, 2000, 500, 0, 3, 250, 0, 1954, 0, 0};
    for (int i = 0; i < 14; ++i)
        qToLittleEndian<qint32>(values[i], mip.data() + 4 * i);
    Report r;
    QVERIFY(convert(detail, &r, {}, mip).isEmpty());
    const DataControl *data = qobject_cast<const DataControl *>(r.sections()->Item(0)->controls()->Item(QStringLiteral("DataCtl")));
    QVERIFY(data);
    QCOMPARE(data->source(), QStringLiteral("select * from [Orders]"));
    QCOMPARE(data->connectionString(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/shop.mdb;Persist Security Info=False"));
    const PageSettings *page = r.pageSettings();
    QCOMPARE((QList<double>{page->leftMargin(), page->topMargin(), page->rightMargin(), page->bottomMargin()}),
             (QList<double>{100, 200, 300, 400}));
    QCOMPARE(r.sections()->Item(0)->columnCount(), 3);
    QCOMPARE(r.sections()->Item(0)->columnSpacing(), 250.0);
    QCOMPARE(r.sections()->Item(0)->columnDirection(), 0);
    QCOMPARE(r.printWidth(), 12000.0);

    // DAO data control; an unknown item layout keeps the direction.
    qToLittleEndian<qint32>(1, mip.data() + 32);
    qToLittleEndian<qint32>(7, mip.data() + 44);
    CAccessImportSettings dao;
    dao.mbUseADOInsteadDAO = false;
    Report r2;
    QCOMPARE(convert(detail, &r2, dao, mip), QStringList{QStringLiteral("ERROR #-1 in importMip(): unknown PrtMip.ItemLayout value")});
    const DAODataControl *d = qobject_cast<const DAODataControl *>(r2.sections()->Item(0)->controls()->Item(0));
    QVERIFY(d);
    QCOMPARE((QList<QVariant>{d->databaseName(), d->recordSource(), d->recordsetType(), d->exclusive(), d->readOnly()}),
             (QList<QVariant>{QStringLiteral("/data/shop.mdb"), QStringLiteral("Orders"), 2, false, true}));
    QCOMPARE(r2.printWidth(), 4000.0);
}

void TestAccessConvert::textControls()
{
    const QByteArray detail =
        control("TextBox", "                    Name =\"Amount\"\n                    ControlSource =\"Amount\"\n                    Top =0\n                    Height =300\n"
                           "                    OldBorderStyle =1\n                    BorderWidth =2\n                    BorderColor =255\n                    TextAlign =3\n"
                           "                    FontWeight =700\n                    FontName =\"Tahoma\"\n                    FontSize =9\n                    Format =\"Currency\"\n")
        + control("TextBox", "                    Name =\"Shadowed\"\n                    OldBorderStyle =0\n                    SpecialEffect =4\n                    BorderWidth =5\n"
                             "                    Height =300\n                    TextAlign =2\n")
        + control("ComboBox", "                    Name =\"Cbo\"\n                    ControlSource =\"=[A]+1\"\n")
        + control("Label", "                    Name =\"Lbl\"\n                    Caption =\"Total\"\n                    OldBorderStyle =1\n                    BorderLineStyle =6\n"
                           "                    BorderWidth =3\n                    Height =240\n                    BackStyle =1\n")
        + control("OptionGroup", "                    Name =\"Frame1\"\n")
        + control("CommandButton", "                    Name =\"Cmd\"\n");
    const QByteArray footer = control("TextBox", "                    Name =\"Ext\"\n                    ControlSource =\"=Sum([Price]*[Qty])\"\n"
                                                 "                    OldBorderStyle =0\n");
    CAccessImportSettings settings;
    settings.miCharset = 186;
    Report r;
    const QStringList log = convert(section("Section", "            Name =\"Detail\"\n", detail)
                                        + section("FormFooter", "            Name =\"RF\"\n", footer),
                                    &r, settings);
    QCOMPARE(log, (QStringList{
                      QStringLiteral("ERROR #0 in copyControl(Detail_Ctl): OptionGroup control importing isn't supported, control name is \"Frame1\""),
                      QStringLiteral("ERROR #0 in copyControl(Detail_Ctl): CommandButton control importing isn't supported, control name is \"Cmd\"")}));
    const Controls *c = r.sections()->Item(QStringLiteral("Detail_Ctl"))->controls();
    QCOMPARE(c->Count(), 5); // four controls and the data control
    const Field *amount = qobject_cast<const Field *>(c->Item(QStringLiteral("Amount")));
    QCOMPARE(amount->text(), QStringLiteral("Amount"));
    QCOMPARE(amount->dataField(), QStringLiteral("Amount"));
    QCOMPARE(amount->summaryType(), 0);
    QCOMPARE(amount->height(), 270.0); // 300 - 15 x 2
    QCOMPARE(amount->border()->topStyle(), 7);
    QCOMPARE(amount->border()->leftColor(), 255);
    QCOMPARE(amount->alignment(), 1);
    QCOMPARE(amount->font()->name(), QStringLiteral("Tahoma"));
    QVERIFY(amount->font()->bold());
    QCOMPARE(amount->font()->charset(), 186);
    QCOMPARE(amount->outputFormat(), QStringLiteral("Currency"));
    QCOMPARE(amount->backStyle(), BackStyle::Opaque);
    const Field *shadowed = qobject_cast<const Field *>(c->Item(QStringLiteral("Shadowed")));
    QVERIFY(shadowed->border()->shadow());
    QCOMPARE(shadowed->border()->topStyle(), 0); // transparent leaves the styles as they were
    QCOMPARE(shadowed->height(), 255.0);        // shadowed: 300 - 15 x min(5, 3)
    QCOMPARE(shadowed->alignment(), 2);
    const Field *combo = qobject_cast<const Field *>(c->Item(QStringLiteral("Cbo")));
    QCOMPARE(combo->text(), QStringLiteral("=[A]+1"));
    QCOMPARE(combo->dataField(), QString());
    const Label *label = qobject_cast<const Label *>(c->Item(QStringLiteral("Lbl")));
    QCOMPARE(label->caption(), QStringLiteral("Total"));
    QCOMPARE(label->border()->bottomStyle(), 10);
    QCOMPARE(label->height(), 195.0);

    const Field *ext = qobject_cast<const Field *>(r.sections()->Item(QStringLiteral("RF"))->controls()->Item(0));
    QCOMPARE(ext->summaryType(), 1);
    QCOMPARE(ext->summaryRunning(), 2);
    QCOMPARE(ext->dataField(), QStringLiteral("'=Sum([Price]*[Qty])"));
}

void TestAccessConvert::shapesPicturesAndOthers()
{
    // A 2x1 24-bit DIB as Access embeds it.
    QByteArray dib(40, '\0');
    qToLittleEndian<quint32>(40, dib.data());
    qToLittleEndian<qint32>(2, dib.data() + 4);
    qToLittleEndian<qint32>(1, dib.data() + 8);
    qToLittleEndian<quint16>(1, dib.data() + 12);
    qToLittleEndian<quint16>(24, dib.data() + 14);
    dib += QByteArray(8, '\x7f');
    const QByteArray controls =
        control("Line", "                    Name =\"Ln\"\n                    LineSlant = NotDefault\n                    Left =100\n                    Top =50\n"
                        "                    Width =1000\n                    Height =500\n                    BorderLineStyle =6\n                    BorderWidth =2\n                    BorderColor =65280\n")
        + control("Rectangle", "                    Name =\"Box\"\n                    Height =600\n                    BorderWidth =1\n                    BackStyle =1\n")
        + control("PageBreak", "                    Name =\"Brk\"\n                    Top =3000\n")
        + control("CheckBox", "                    Name =\"Chk\"\n                    ControlSource =\"Paid\"\n")
        + control("Image", "                    Name =\"Logo\"\n                    SizeMode =3\n                    PictureAlignment =4\n"
                           "                    PictureData = Begin\n                        0x" + dib.toHex() + "\n                    End\n")
        + control("Subform", "                    Name =\"Sub Orders\"\n                    SourceObject =\"Report.Order Lines\"\n")
        + control("Chart", "                    Name =\"Graph\"\n                    Class =\"MSGraph.Chart.8\"\n")
        + control("CustomControl", "                    Name =\"Cal\"\n                    OLEClass =\"MSCAL.Calendar\"\n");
    CAccessImportSettings settings;
    settings.mbConvertChartCtls = false;
    Report r;
    const QStringList log = convert(section("Section", "", controls), &r, settings);
    // The unknown custom control class: one line for the Add, one per statement after it.
    QCOMPARE(log.size(), 16);
    QVERIFY(log[0].startsWith(QStringLiteral("ERROR #429 in copyCustomControl(): ")));
    QCOMPARE(log[1], QStringLiteral("ERROR #91 in copyCustomControl(): Object variable or With block variable not set"));

    const Controls *c = r.sections()->Item(0)->controls();
    const Line *line = qobject_cast<const Line *>(c->Item(QStringLiteral("Ln")));
    QCOMPARE((QList<double>{line->x1(), line->y1(), line->x2(), line->y2()}), (QList<double>{1100, 50, 100, 550}));
    QCOMPARE(line->lineStyle(), 4);
    QCOMPARE(line->lineWeight(), 4.0);
    QCOMPARE(line->lineColor(), 65280);
    const Shape *box = qobject_cast<const Shape *>(c->Item(QStringLiteral("Box")));
    QCOMPARE(box->height(), 585.0);
    QCOMPARE(box->lineStyle(), 0);
    QCOMPARE(box->border()->rightStyle(), 1);
    QCOMPARE(box->backStyle(), BackStyle::Opaque);
    QCOMPARE(c->Item(QStringLiteral("Brk"))->top(), 3000.0);
    const CheckBox *check = qobject_cast<const CheckBox *>(c->Item(QStringLiteral("Chk")));
    QCOMPARE(check->dataField(), QStringLiteral("Paid"));
    QCOMPARE(check->height(), 220.0);
    const Image *logo = qobject_cast<const Image *>(c->Item(QStringLiteral("Logo")));
    QVERIFY(logo->picture().startsWith("BM"));
    QCOMPARE(logo->picture().size(), 14 + 48);
    QCOMPARE(logo->sizeMode(), 2);
    QCOMPARE(logo->pictureAlignment(), 4);
    const SubReport *sub = qobject_cast<const SubReport *>(c->Item(QStringLiteral("SubOrders")));
    QCOMPARE(sub->reportName(), QStringLiteral("OrderLines.rpx"));
    QVERIFY(!c->Item(QStringLiteral("Graph"))); // charts not asked for: nothing added
    QCOMPARE(r.sections()->Item(0)->height(), 3000.0);    // the page break counts
    QVERIFY2(r.script().startsWith(QStringLiteral("Option Explicit\r\n\r\nSub OnReportStart()\r\n\tDim srpt\r\n\r\n"
                                                 "\tSet srpt = CreateObject(\"OrvEngine.Report\")\r\n\tsrpt.LoadLayout \"OrderLines.rpx\"\r\n"
                                                 "\tSet rpt.SubOrders.Object = srpt\r\n\tSet srpt = Nothing\r\n\r\nEnd Sub\r\n\r\n"
                                                 "Sub OnReportEnd()\r\n\r\n\tSet rpt.SubOrders.Object = Nothing\r\nEnd Sub\r\n")),
             qPrintable(r.script()));
}

void TestAccessConvert::patternServicesAndModuleCode()
{
    CAccessImport c;
    QCOMPARE(c.translateExpression(QStringLiteral("=Date()")), QStringLiteral("=Date()"));
    QCOMPARE(c.translateExpression(QStringLiteral("=[Forms]![Main]![Total]")),
             QStringLiteral("=rpt.Fields(\"Forms\").Value!rpt.Fields(\"Main\").Value!rpt.Fields(\"Total\").Value"));
    QCOMPARE(c.translateExpression(QStringLiteral("=[PAGE] & [page] & [Qty]*[Qty]")),
             QStringLiteral("=rpt.PageNumber & rpt.PageNumber & rpt.Fields(\"Qty\").Value*rpt.Fields(\"Qty\").Value"));
    QVERIFY(!c.pageCountUsed());
    QCOMPARE(c.aggregateFunction(QStringLiteral("=Sum([A])+Count([B])")), 0);
    QCOMPARE(c.aggregateFunction(QStringLiteral("=Round(Sum([A]),2)")), -1);
    QCOMPARE(c.aggregateFunction(QStringLiteral(" = DStDevP ([x])")), 15);
    QCOMPARE(c.aggregateFunction(QStringLiteral("=Var([x])")), -1);
    QCOMPARE(c.aggregateField(QStringLiteral("=Sum([A])/[A]")), QStringLiteral("A"));
    QCOMPARE(c.aggregateField(QStringLiteral("=Count(*)")), QString());
    // Without a group the first capture is the literal "$1".
    QCOMPARE(c.findMatch(QStringLiteral("ab"), QStringLiteral("\\w")), QStringLiteral("$1"));
    QCOMPARE(c.findMatch(QStringLiteral("SELECT a\r\nFROM t"), QStringLiteral("\\b(from)\\b.+")), QStringLiteral("FROM"));

    // The module: type declarations go (also in comments, not after ")"
    // or two blanks), report procedures lose Report_, and the script the
    // run compiles takes the rest as Visual Basic wrote it.
    const QByteArray text =
        "Version =20\nBegin Report\n    RecordSource =\"T\"\n    HasModule = NotDefault\n    Begin\n"
        "        Begin Section\n            Name =\"Detail\"\n        End\n    End\nEnd\nCodeBehindForm\n"
        "Option Compare Database\nOption Explicit\nDim total As Currency\n' this is as good\n"
        "Private Sub Report_Open(Cancel As Integer)\nOn Error GoTo Err_Handler\n    Dim x  As Integer\n    total = F(2) / 0\n"
        "Exit_Handler:\n    Exit Sub\nErr_Handler:\n    dbg.Out \"Error #\" & Err.Number\n    Resume Exit_Handler\nEnd Sub\n"
        "Public Function F(Optional n = 1) As Long\n    F = n * 2\nEnd Function\n"
        "Private Sub Detail_Format(Cancel As Integer, FormatCount As Integer)\n    Me.Detail_Ctl.Visible = Not Me!Hidden\nEnd Sub\n";
    ExportFile file;
    QVERIFY(parseExport(text, &file));
    std::unique_ptr<AccessReport> src;
    QVERIFY(AccessReport::fromExport(std::move(file), QStringLiteral("M"), &src));
    const auto convertModule = [&](bool comment) {
        CAccessImportSettings settings;
        settings.mbCommentModule = comment;
        auto r = std::make_unique<Report>();
        CAccessImport converter;
        QStringList log;
        converter.importTemplate(*src, *r, settings, &log);
        return r;
    };
    std::unique_ptr<Report> r = convertModule(false);
    const QString script = r->script();
    QVERIFY2(script.startsWith(QStringLiteral("Option Explicit\r\n\r\nOption Compare Database\r\n")), qPrintable(script));
    for (const char *kept : {"Dim total\r\n", "' this is\r\n", "Sub Open(Cancel)\r\n", "    Dim x  As Integer\r\n",
                             "Public Function F(Optional n = 1) As Long\r\n", "Private Sub Detail_Format(Cancel, FormatCount)\r\n"})
        QVERIFY2(script.contains(QLatin1StringView(kept)), kept);
    Script::Host host;
    auto out = std::make_shared<Script::DebugOutput>();
    QStringList lines;
    out->out = [&](const QString &l) { lines << l; };
    host.addObject(QStringLiteral("dbg"), Script::createDebugObject(out));
    host.bindReport(r.get());
    QVERIFY2(host.compile().ok(), qPrintable(host.lastError().description));
    QVERIFY(host.fireEvent(host.reportObjectName(), QStringLiteral("ReportStart")).ok());
    QCOMPARE(lines, QStringList{QStringLiteral("Error #11")});

    // Commented, every line is a comment and the script still compiles.
    r = convertModule(true);
    const QStringList commented = r->script().split(QStringLiteral("\r\n")).mid(2);
    QVERIFY(commented.size() > 10);
    for (const QString &line : commented)
        QVERIFY2(line.startsWith(u'\''), qPrintable(line));
    QVERIFY(compileScript(*r).ok());
}

void TestAccessConvert::everySampleConvertsAndSaves()
{
    QTemporaryDir out;
    int i = 0;
    for (const QString &f : QDir(samples()).entryList({QStringLiteral("*.bas"), QStringLiteral("*.report")}, QDir::Files)) {
        AccessImportDriver driver;
        Report report;
        driver.SetReport(&report);
        // The script compiles stripped or not, commented or not.
        driver.options().mbStripSrcCode = i % 2 == 0;
        driver.options().mbCommentModule = i++ % 3 == 2;
        driver.convertExport(samples() + u'/' + f);
        QVERIFY2(!driver.log().join(u'\n').contains(QStringLiteral("Error: ")), qPrintable(f + driver.log().join(u'\n')));
        QVERIFY2(report.sections()->firstOfType(Section::Detail), qPrintable(f));
        QVERIFY(report.sections()->validate());
        const Status compiled = compileScript(report);
        QVERIFY2(compiled.ok(), qPrintable(f + u' ' + compiled.description() + u' ' + compiled.source()));
        const QString path = out.filePath(QStringLiteral("r.rpx"));
        const Status saved = SaveLayout(report, path, LayoutFile::ToFile);
        QVERIFY2(saved.ok(), qPrintable(f + saved.description()));
        Report back;
        QVERIFY2(LoadLayout(back, path), qPrintable(f));
        QCOMPARE(back.sections()->Count(), report.sections()->Count());
        QCOMPARE(back.allControls().size(), report.allControls().size());
    }
}

void TestAccessConvert::commandLine()
{
    QTemporaryDir dir;
    const auto run = [](const QStringList &args, QString *out = nullptr) {
        QProcess p;
        p.start(QStringLiteral(ORV_CLI_PATH), QStringList{QStringLiteral("import-access")} + args);
        p.waitForFinished(120000);
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    };
    QString out;
    QCOMPARE(run({QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"), QStringLiteral("--list")}, &out), 0);
    QCOMPARE(out.split(u'\n', Qt::SkipEmptyParts).size(), 14);
    // The database's folder has no exports: the report cannot be read.
    const QString rpx = dir.filePath(QStringLiteral("out.rpx"));
    QCOMPARE(run({QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"), QStringLiteral("--report"), QStringLiteral("Invoice"),
                  QStringLiteral("-o"), rpx}), 1);
    QVERIFY(!QFile::exists(rpx));
    const QString log = dir.filePath(QStringLiteral("log.txt"));
    QCOMPARE(run({QStringLiteral("--export"), samples() + QStringLiteral("/kallal__Control__reports__rptCostVsSell.bas"),
                  QStringLiteral("--report"), QStringLiteral("Cost Vs Sell"), QStringLiteral("--option"), QStringLiteral("UseADOInsteadDAO=false"),
                  QStringLiteral("-o"), rpx, QStringLiteral("--log"), log}), 0);
    Report back;
    QVERIFY(LoadLayout(back, rpx));
    QCOMPARE(back.documentName(), QStringLiteral("CostVsSell"));
    QVERIFY(qobject_cast<DAODataControl *>(back.sections()->firstOfType(Section::Detail)->controls()->Item(QStringLiteral("DataCtl"))));
    QVERIFY(QFile::exists(log));
    QCOMPARE(run({QStringLiteral("--export"), rpx, QStringLiteral("--option"), QStringLiteral("Colour=1"), QStringLiteral("-o"), rpx}), 2);

    // --all: from the exports folder alone, subreports first, one layout each.
    const QString exports = QStringLiteral(ORV_TEST_DATA "/northwind-exports"), folder = dir.filePath(QStringLiteral("all"));
    QCOMPARE(run({QStringLiteral("--exports"), exports, QStringLiteral("--all"), QStringLiteral("-o"), folder, QStringLiteral("--log"), log}, &out), 0);
    QCOMPARE(out, QStringLiteral("Converted 3 of 3 reports into ") + folder + u'\n');
    QFile logFile(log);
    QVERIFY(logFile.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(logFile.readAll()).split(QStringLiteral("\r\n")).filter(QStringLiteral("Converting report")),
             (QStringList{QStringLiteral("Converting report \"Alphabetical List of Products\" into AlphabeticalListofProducts.rpx"),
                          QStringLiteral("Converting report \"Catalog Subreport\" into CatalogSubreport.rpx"),
                          QStringLiteral("Converting report \"Catalog\" into Catalog.rpx")}));
    Report catalog;
    QVERIFY(LoadLayout(catalog, folder + QStringLiteral("/Catalog.rpx")));
    QVERIFY(catalog.script().contains(QStringLiteral("srpt.LoadLayout \"CatalogSubreport.rpx\"")));
    // With the database: every report counted, those without an export fail the run.
    QCOMPARE(run({QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"), QStringLiteral("--exports"), exports, QStringLiteral("--all"),
                  QStringLiteral("-o"), folder, QStringLiteral("--log"), log}, &out), 1);
    QCOMPARE(out, QStringLiteral("Converted 3 of 14 reports into ") + folder + QStringLiteral(" (11 without an export, 0 failed)\n"));
    QCOMPARE(run({QStringLiteral("--all"), QStringLiteral("-o"), folder}), 2);
    QCOMPARE(run({QStringLiteral("--exports"), exports, QStringLiteral("--all"), QStringLiteral("--report"), QStringLiteral("Catalog"),
                  QStringLiteral("-o"), folder}), 2);
}

QTEST_GUILESS_MAIN(TestAccessConvert)
#include "tst_accessconvert.moc"
