#include "accessimport/accessexport.h"
#include "accessimport/accessreport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>
#include <QtEndian>

using namespace Orv;
using namespace Orv::AccessImport;

namespace {

QString samples() { return QStringLiteral(ORV_TEST_DATA "/access-exports"); }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

std::unique_ptr<AccessReport> parse(const QByteArray &text, Status *status = nullptr)
{
    ExportFile file;
    Status s = parseExport(text, &file, QStringLiteral("test"));
    std::unique_ptr<AccessReport> report;
    if (s)
        s = AccessReport::fromExport(std::move(file), QStringLiteral("rpt"), &report);
    if (status)
        *status = s;
    return report;
}

// Reads every property the converter asks for on every object of the report.
int touchEverything(const AccessReport &report)
{
    static const char *const names[] = {"Name", "Visible", "Tag", "Left", "Top", "Width", "Height", "BackColor",
                                        "BackStyle", "ForeColor", "FontName", "FontSize", "FontBold", "FontItalic",
                                        "BorderStyle", "BorderWidth", "BorderColor", "SpecialEffect", "TextAlign",
                                        "ControlSource", "Format", "RunningSum", "CanGrow", "Caption", "LineSlant",
                                        "PictureType", "SizeMode", "OLEClass", "SourceObject", "Class"};
    int readable = 0;
    for (const char *n : {"Name", "Width", "RecordSource", "PrtMip", "HasModule"})
        readable += report.value(QLatin1StringView(n)).isValid();
    for (int i = 0; i < 5 + 2 * report.groupLevelCount() + 2; ++i)
        if (AccessObject *s = report.section(i)) {
            readable += s->value(QStringLiteral("Visible")).isValid();
            for (const auto &c : s->controls()) {
                readable += !c->typeName().isEmpty();
                for (const char *n : names)
                    readable += c->value(QLatin1StringView(n)).isValid();
            }
        }
    for (int k = 0; k < report.groupLevelCount(); ++k)
        readable += report.groupLevel(k)->value(QStringLiteral("SortOrder")).isValid();
    return readable;
}

} // namespace

class TestAccessExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySampleLoads();
    void knownSampleValues();
    void encodings();
    void valuesAndDefaults();
    void damageNamesTheLine_data();
    void damageNamesTheLine();
    void mutationsLoadOrFailCleanly();
};

void TestAccessExport::everySampleLoads()
{
    const QStringList files = QDir(samples()).entryList({QStringLiteral("*.bas"), QStringLiteral("*.report")}, QDir::Files);
    QCOMPARE(files.size(), 17);
    for (const QString &f : files) {
        std::unique_ptr<AccessReport> report;
        const Status s = AccessReport::load(samples() + u'/' + f, &report);
        QVERIFY2(s.ok(), qPrintable(f + QStringLiteral(": ") + s.description()));
        QVERIFY2(report->section(0), qPrintable(f)); // every report has a detail
        QVERIFY(report->value(QStringLiteral("Width")).toInt() > 0);
        QCOMPARE(report->prtMip().size(), 56);
        QVERIFY(touchEverything(*report) > 0);
    }
}

void TestAccessExport::knownSampleValues()
{
    std::unique_ptr<AccessReport> r;
    QVERIFY(AccessReport::load(samples() + QStringLiteral("/Turiba-University__MSAcc-Viesnica__reports__MZAkts_sub.bas"), &r));
    QCOMPARE(r->version(), 19);
    QCOMPARE(r->name(), QStringLiteral("Turiba-University__MSAcc-Viesnica__reports__MZAkts_sub"));
    // Four continued pieces joined without separators, \" decoded.
    const QString source = r->value(QStringLiteral("RecordSource")).toString();
    QVERIFY(source.startsWith(u"SELECT dbo_Viesn_MZAkts_saturs.*, IIf([Inv_Stat]=-10,\"nav nodevis\",IIf([Inv_Stat]=-11,\"bojāts\""));
    QVERIFY(source.endsWith(u"(dbo_Viesn_MZAkts_saturs.Stat)=0));"));
    AccessObject *detail = r->section(0);
    QCOMPARE(detail->value(QStringLiteral("Name")).toString(), QStringLiteral("Detail1"));
    QCOMPARE(detail->value(QStringLiteral("KeepTogether")).toBool(), true);
    QCOMPARE(int(detail->controls().size()), 6);
    const AccessObject *first = detail->controls()[0].get();
    QCOMPARE(first->value(QStringLiteral("ControlSource")).toString(), QStringLiteral("Inv_Nos"));
    QCOMPARE(first->value(QStringLiteral("FontName")).toString(), QStringLiteral("Arial")); // from the default block
    QCOMPARE(first->value(QStringLiteral("BorderStyle")).toInt(), 0);                    // OldBorderStyle =0 there
    QCOMPARE(detail->controls()[2]->value(QStringLiteral("Visible")).toBool(), false);
    QVERIFY(r->section(3) && r->section(4) && !r->section(1));
    QVERIFY(!r->hasModule()); // only the pointer to a .cls that is not there

    // PrtMip from the blob: margins 720/480/360/360, one column, across.
    QVERIFY(AccessReport::load(samples() + QStringLiteral("/kallal__Control__reports__rptCostVsSell.bas"), &r));
    const QByteArray mip = r->prtMip();
    const auto at = [&](int i) { return qFromLittleEndian<qint32>(mip.constData() + 4 * i); };
    QCOMPARE((QList<int>{at(0), at(1), at(2), at(3), at(8), at(11)}), (QList<int>{720, 480, 360, 360, 1, 1953}));
    QVERIFY(!r->hasModule());
    QVERIFY(AccessReport::load(samples() + QStringLiteral("/NCRN__ForestVeg__source__reports__rpt_QA_Results.bas"), &r));
    QVERIFY(r->moduleText().startsWith(u"Option Compare Database\r\nOption Explicit\r\n"));

    // Print settings and module kept beside the export.
    QVERIFY(AccessReport::load(samples() + QStringLiteral("/arpm-awv__maintREQ.accdb.src__reports__rptAppliances.bas"), &r));
    QCOMPARE(qFromLittleEndian<qint32>(r->prtMip().constData()), 504); // 0.35 inch
    QCOMPARE(qFromLittleEndian<qint32>(r->prtMip().constData() + 4), 1080);
    QVERIFY(AccessReport::load(samples() + QStringLiteral("/joyfullservice__msaccess-vcs-addin__Testing__Testing.accdb.src__reports__rptNavigationPaneGroups.report"), &r));
    QCOMPARE(r->moduleText(), QStringLiteral("Option Compare Database\r\nOption Explicit"));
}

void TestAccessExport::encodings()
{
    const QByteArray utf8 = readFile(samples() + QStringLiteral("/Turiba-University__MSAcc-Viesnica__reports__MZAkts_sub.bas"));
    QString text = QString::fromUtf8(utf8.mid(3));
    std::unique_ptr<AccessReport> reference = parse(utf8);
    QVERIFY(reference);
    const QString source = reference->value(QStringLiteral("RecordSource")).toString();

    QString crlf = text;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    QStringEncoder toUtf16(QStringConverter::Utf16LE);
    const QByteArray utf16 = QByteArray("\xFF\xFE") + QByteArray(toUtf16(crlf));
    QStringEncoder toBaltic("windows-1257");
    const QByteArray baltic = toBaltic(crlf);

    struct Case { QByteArray bytes; QString codePage; QString encoding; };
    const Case cases[] = {
        {utf16, {}, QStringLiteral("UTF-16LE")},
        {QByteArray(toUtf16(crlf)), {}, QStringLiteral("UTF-16LE")},
        {text.toUtf8(), {}, QStringLiteral("UTF-8")},
        {baltic, QStringLiteral("windows-1257"), QStringLiteral("windows-1257")},
    };
    for (const Case &c : cases) {
        ExportFile file;
        QVERIFY(parseExport(c.bytes, &file, QString(), c.codePage));
        QCOMPARE(file.encoding.toLower(), c.encoding.toLower());
        std::unique_ptr<AccessReport> r;
        QVERIFY(AccessReport::fromExport(std::move(file), QStringLiteral("x"), &r));
        QCOMPARE(r->value(QStringLiteral("RecordSource")).toString(), source);
        QCOMPARE(int(r->section(0)->controls().size()), 6);
    }
    // Without the right code page the 8-bit file still loads (as Windows-1252).
    ExportFile file;
    QVERIFY(parseExport(baltic, &file));
    QCOMPARE(file.encoding.toLower(), QStringLiteral("windows-1252"));
}

void TestAccessExport::valuesAndDefaults()
{
    const QByteArray text =
        "Version =21\nVersionRequired =20\n"
        "Begin Report\n"
        "    Width =5000\n"
        "    Caption =\"A \\\"q\\\" \\\\ b\\015\\012c\"\n"
        "    PrtMip = Begin\n        0x0102 ,\n        0xff\n    End\n"
        "    OnOpenEmMacro = Begin\n        Version =196611\n        Begin\n            Action =\"Beep\"\n        End\n    End\n"
        "    Filter =\"x\"\n    Filter =\"y\"\n"
        "    Begin\n"
        "        Begin TextBox\n            FontWeight =700\n            OldBorderStyle =1\n            BorderLineStyle =3\n        End\n"
        "        Begin BreakLevel\n            ControlSource =\"Cat\"\n        End\n"
        "        Begin BreakLevel\n            SortOrder = NotDefault\n            GroupOn =2\n        End\n"
        "        Begin BreakFooter\n            BreakLevel =1\n            Name =\"F1\"\n        End\n"
        "        Begin Section\n            Name =\"Detail\"\n            BackColor =-2147483633\n"
        "            Begin\n"
        "                Begin TextBox\n                    Name =\"T\"\n                    Visible = NotDefault\n"
        "                    ForeColor =4294967295\n"
        "                    Begin\n                        Begin Label\n                            Name =\"L\"\n                        End\n                    End\n"
        "                End\n"
        "                Begin Chart\n                    Class =\"MSGraph.Chart.8\"\n                End\n"
        "                Begin Line\n                End\n"
        "            End\n"
        "        End\n"
        "    End\n"
        "End\n"
        "CodeBehindForm\n"
        "Attribute VB_GlobalNameSpace = False\nOption Compare Database\n\nSub X()\nEnd Sub\n";
    Status s;
    std::unique_ptr<AccessReport> r = parse(text, &s);
    QVERIFY2(r, qPrintable(s.description()));
    QCOMPARE(r->version(), 21);
    QCOMPARE(r->value(QStringLiteral("Caption")).toString(), QStringLiteral("A \"q\" \\ b\r\nc"));
    QCOMPARE(r->file().report->property(u"PrtMip")->bytes, QByteArray("\x01\x02\xff"));
    QCOMPARE(r->file().report->property(u"OnOpenEmMacro")->kind, ExportValue::Macro);
    QCOMPARE(r->value(QStringLiteral("Filter")).toString(), QStringLiteral("y")); // the last one wins
    QCOMPARE(r->moduleText(), QStringLiteral("Option Compare Database\r\n\r\nSub X()\r\nEnd Sub"));

    QCOMPARE(r->groupLevelCount(), 2);
    QCOMPARE(r->groupLevel(0)->value(QStringLiteral("SortOrder")).toBool(), false);
    QCOMPARE(r->groupLevel(1)->value(QStringLiteral("SortOrder")).toBool(), true);
    QCOMPARE(r->groupLevel(0)->value(QStringLiteral("GroupInterval")).toInt(), 1);
    QVERIFY(!r->section(7) && r->section(8)); // the footer of level 1
    QCOMPARE(r->section(8)->value(QStringLiteral("Name")).toString(), QStringLiteral("F1"));

    AccessObject *d = r->section(0);
    QCOMPARE(d->value(QStringLiteral("BackColor")).toInt(), int(0x8000000F));
    QCOMPARE(int(d->controls().size()), 4); // the attached label follows its text box
    const AccessObject *t = d->controls()[0].get();
    QCOMPARE(t->value(QStringLiteral("Visible")).toBool(), false);
    QCOMPARE(t->value(QStringLiteral("ForeColor")).toInt(), -1);
    QCOMPARE(t->value(QStringLiteral("FontBold")).toBool(), true);
    QCOMPARE(t->value(QStringLiteral("BorderStyle")).toInt(), 3);
    QCOMPARE(t->value(QStringLiteral("FontName")).toString(), QStringLiteral("Calibri"));
    QCOMPARE(d->controls()[1]->typeName(), QStringLiteral("Label"));
    QCOMPARE(d->controls()[1]->value(QStringLiteral("BackStyle")).toInt(), 0);
    QCOMPARE(d->controls()[1]->value(QStringLiteral("FontBold")).toBool(), false);
    QCOMPARE(d->controls()[2]->typeName(), QStringLiteral("ObjectFrame"));
    Status missing;
    QVERIFY(!d->controls()[3]->value(QStringLiteral("Caption"), &missing).isValid());
    QCOMPARE(missing.number(), 438);
    QCOMPARE(d->controls()[3]->value(QStringLiteral("BorderStyle")).toInt(), 1);
}

void TestAccessExport::damageNamesTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    const QByteArray head = "Version =20\nBegin Report\n    Width =1\n";
    QTest::newRow("open string") << head + "    Caption =\"abc\nEnd\n" << 4;
    QTest::newRow("text after quote") << head + "    Caption =\"abc\" x\nEnd\n" << 4;
    QTest::newRow("bad hex") << head + "    PrtMip = Begin\n        0x0g\n    End\nEnd\n" << 5;
    QTest::newRow("odd hex") << head + "    PrtMip = Begin\n        0x012\n    End\nEnd\n" << 5;
    QTest::newRow("blob without End") << head + "    PrtMip = Begin\n        0x01\n" << 4;
    QTest::newRow("truncated") << head + "    Begin\n        Begin Section\n" << 5;
    QTest::newRow("bad value") << head + "    Width =12a\nEnd\n" << 4;
    QTest::newRow("no equals") << head + "    Width 12\nEnd\n" << 4;
    QTest::newRow("stray continuation") << head + "    \"abc\"\nEnd\n" << 4;
    QTest::newRow("property in list") << head + "    Begin\n        Width =3\n    End\nEnd\n" << 5;
    QTest::newRow("block outside list") << head + "    Begin Section\n    End\nEnd\n" << 4;
    QTest::newRow("after the end") << head + "End\nWidth =3\n" << 5;
    QTest::newRow("not a report") << QByteArray("Version =20\nBegin Module\n") << 2;
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("two details") << head + "    Begin\n        Begin Section\n        End\n        Begin Section\n        End\n    End\nEnd\n" << 7;
    QTest::newRow("level out of range") << head + "    Begin\n        Begin BreakHeader\n            BreakLevel =10\n        End\n    End\nEnd\n" << 5;
}

void TestAccessExport::damageNamesTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    Status s;
    QVERIFY(!parse(text, &s));
    QCOMPARE(s.number(), 321);
    QVERIFY2(s.description().contains(QStringLiteral("line %1)").arg(line)) || s.description().contains(QStringLiteral("line %1:").arg(line)),
             qPrintable(s.description()));
}

void TestAccessExport::mutationsLoadOrFailCleanly()
{
    // Every mutation of a real file either loads or fails with 321 and a
    // line number; under the sanitizers nothing may crash or leak.
    const char *const files[] = {"Turiba-University__MSAcc-Viesnica__reports__MZAkts_sub.bas",
                                 "joyfullservice__msaccess-vcs-addin__Testing__Testing.accdb.src__reports__rptNavigationPaneGroups.report",
                                 "NCRN__ForestVeg__source__reports__rpt_QA_Results.bas"};
    static const QRegularExpression lineNo(QStringLiteral("line [1-9][0-9]*"));
    QRandomGenerator random(20240611);
    int loaded = 0, failed = 0;
    for (const char *name : files) {
        const QByteArray original = readFile(samples() + u'/' + QLatin1StringView(name));
        QList<QByteArray> lines = original.split('\n');
        for (int round = 0; round < 300; ++round) {
            QByteArray m;
            const int kind = round % 5;
            if (kind == 0) { // flip a byte
                m = original;
                m[random.bounded(int(m.size()))] = char(random.bounded(256));
            } else if (kind == 1) { // cut the file
                m = original.left(random.bounded(int(original.size())));
            } else { // delete, repeat or swap a line
                QList<QByteArray> l = lines;
                const int i = random.bounded(int(l.size()));
                if (kind == 2)
                    l.removeAt(i);
                else if (kind == 3)
                    l.insert(i, l[i]);
                else
                    l.swapItemsAt(i, random.bounded(int(l.size())));
                m = l.join('\n');
            }
            Status s;
            std::unique_ptr<AccessReport> r = parse(m, &s);
            if (r) {
                ++loaded;
                touchEverything(*r);
            } else {
                ++failed;
                QCOMPARE(s.number(), 321);
                QVERIFY2(lineNo.match(s.description()).hasMatch(), qPrintable(s.description()));
            }
        }
    }
    QVERIFY(loaded > 0 && failed > 0);
}

QTEST_GUILESS_MAIN(TestAccessExport)
#include "tst_accessexport.moc"
