// Microsoft Graph charts from Access exports: the Graph settings read from
// the OLE data (the sample's and a chart built here with a title and a
// legend), damaged OLE data, the section script for row sources and link
// fields, and rptKomoriDetail's converted charts run against SQLite.
#include "convertexport.h"
#include "accessimport/accessimport.h"
#include "accessimport/graphchart.h"
#include "accessimport/importdriver.h"
#include "engine/model/chart.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/host.h"
#include "engine/script/scriptedrun.h"
#include "engine/script/scriptsupport.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sqlite3.h>

using namespace Orv;
using namespace Orv::AccessImport;

namespace {

const QString Komori = QStringLiteral(ORV_TEST_DATA "/access-exports/kallal__Control__reports__rptKomoriDetail.bas");

QByteArray record(quint16 type, const QByteArray &data = {})
{
    QByteArray r(4, '\0');
    qToLittleEndian(type, r.data());
    qToLittleEndian(quint16(data.size()), r.data() + 2);
    return r + data;
}

QByteArray text16(const QString &s)
{
    QByteArray b;
    b.append(char(s.size()));
    b.append('\1');
    b.append(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
    return b;
}

QByteArray words(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values) {
        b.append(char(v & 0xff));
        b.append(char((v >> 8) & 0xff));
    }
    return b;
}

// A Graph workbook: a line chart titled "Downtime" (Times 14, left, upward)
// with its legend at the top in font 6 (Courier 9).
QByteArray lineChartWorkbook()
{
    const QByteArray font = words({280, 0, 0x7fff, 400, 0, 0, 0}) + text16(QStringLiteral("Times"));
    const QByteArray small = words({180, 0, 0x7fff, 400, 0, 0, 0}) + text16(QStringLiteral("Courier"));
    const QByteArray begin = record(0x1033), end = record(0x1034);
    QByteArray title(32, '\0');
    title[0] = 1; // left
    title[1] = 3; // bottom
    title[30] = 90;
    QByteArray legend(20, '\0');
    legend[16] = 2; // top
    QByteArray book = record(0x0809, words({0x600, 5, 0, 0, 0, 0, 0, 0})) + record(0x31, font) + record(0x31, font)
                      + record(0x31, font) + record(0x31, font) + record(0x31, small) + record(0x000A);
    book += record(0x0809, words({0x600, 0x20, 0, 0, 0, 0, 0, 0})) + record(0x1002, QByteArray(16, '\0')) + begin;
    book += record(0x1003, QByteArray(12, '\0')) + begin + record(0x100D, words({0}) + text16(QStringLiteral("Hours"))) + end;
    book += record(0x1025, title) + begin + record(0x1026, words({0})) + record(0x100D, words({0}) + text16(QStringLiteral("Downtime")))
            + record(0x1027, words({1, 0, 0})) + end;
    book += record(0x1041, QByteArray(18, '\0')) + begin + record(0x1014, QByteArray(20, '\0')) + begin + record(0x1018, words({0}))
            + record(0x1015, legend) + begin + record(0x1025, QByteArray(32, '\0')) + begin + record(0x1026, words({5})) + end + end
            + end + end;
    book += end + record(0x000A);
    return book.leftJustified(5000, '\0');
}

// A compound file holding one stream, with the few bytes Access puts in front.
QByteArray compoundFile(const QString &name, const QByteArray &stream)
{
    const int sectors = int((stream.size() + 511) / 512);
    QByteArray header(512, '\0');
    header.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    const auto put32 = [](QByteArray &b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    qToLittleEndian(quint16(9), header.data() + 0x1E);
    qToLittleEndian(quint16(6), header.data() + 0x20);
    put32(header, 0x2C, 1);
    put32(header, 0x30, 1);
    put32(header, 0x38, 4096);
    put32(header, 0x3C, 0xFFFFFFFE);
    put32(header, 0x44, 0xFFFFFFFE);
    for (int i = 0; i < 109; ++i)
        put32(header, 0x4C + 4 * i, i == 0 ? 0 : 0xFFFFFFFF);
    QByteArray fat(512, '\xFF');
    put32(fat, 0, 0xFFFFFFFD);
    put32(fat, 4, 0xFFFFFFFE);
    for (int s = 0; s < sectors; ++s)
        put32(fat, 4 * (2 + s), s + 1 < sectors ? quint32(3 + s) : 0xFFFFFFFE);
    QByteArray dir(512, '\0');
    const auto entry = [&](int index, const QString &n, int type, quint32 start, quint32 size) {
        dir.replace(index * 128, n.size() * 2, QByteArray(reinterpret_cast<const char *>(n.utf16()), n.size() * 2));
        qToLittleEndian(quint16((n.size() + 1) * 2), dir.data() + index * 128 + 64);
        dir[index * 128 + 66] = char(type);
        put32(dir, index * 128 + 116, start);
        put32(dir, index * 128 + 120, size);
    };
    entry(0, QStringLiteral("Root Entry"), 5, 0xFFFFFFFE, 0);
    entry(1, name, 2, 2, quint32(stream.size()));
    return QByteArray("\0\0\0\0", 4) + header + fat + dir + stream.leftJustified(sectors * 512, '\0');
}

QByteArray hexLines(const QByteArray &bytes)
{
    QByteArray out;
    for (qsizetype at = 0; at < bytes.size(); at += 32)
        out += "                        0x" + bytes.mid(at, 32).toHex() + (at + 32 < bytes.size() ? " ,\n" : "\n");
    return out;
}

// Converts an export with one chart frame in the detail.
QStringList convertChart(const QByteArray &properties, Report *dst)
{
    const QByteArray text = "Version =20\nBegin Report\n    RecordSource =\"Orders\"\n    Begin\n        Begin Section\n"
                            "            Begin\n                Begin Chart\n                    Name =\"Graph 1\"\n"
                            "                    Class =\"MSGraph.Chart.8\"\n"
                            + properties + "                End\n            End\n        End\n    End\nEnd\n";
    return ImportTest::convertExportText(text, QStringLiteral("Charts"), dst);
}

Chart *chartOf(const Report &r)
{
    for (Control *c : r.allControls())
        if (auto *chart = qobject_cast<Chart *>(c))
            return chart;
    return nullptr;
}

} // namespace

class TestChartConversion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void graphSettingsFromOleData()
    {
        std::unique_ptr<AccessReport> src;
        QVERIFY(AccessReport::load(Komori, &src).ok());
        std::vector<GraphChart> charts;
        QByteArray ole;
        for (int s = 0; s < 5; ++s) {
            const AccessObject *section = src->section(s);
            if (!section)
                continue;
            for (const auto &c : section->controls()) {
                if (!c->value(QStringLiteral("OleData")).isValid())
                    continue;
                ole = c->value(QStringLiteral("OleData")).toByteArray();
                GraphChart g;
                QVERIFY(readGraphChart(ole, &g).ok());
                charts.push_back(g);
            }
        }
        QCOMPARE(charts.size(), size_t(2));
        QCOMPARE(*charts[0].chartType, -4102); // 3-D pie
        QCOMPARE(*charts[1].chartType, 57);    // clustered bars
        QVERIFY(!charts[0].hasTitle && !charts[0].hasLegend && !charts[1].hasLegend);

        // Damaged data is refused, never read beyond.
        for (qsizetype cut = 0; cut < ole.size(); cut += 211) {
            GraphChart g;
            std::ignore = readGraphChart(ole.left(cut), &g); // refused or read: never beyond the data
            QByteArray flipped = ole;
            flipped[cut] = char(~flipped[cut]);
            std::ignore = readGraphChart(flipped, &g);
        }
        GraphChart g;
        QCOMPARE(readGraphChart(QByteArray("nothing"), &g).number(), 321);
        QByteArray stream;
        QCOMPARE(compoundFileStream(ole.mid(4), QStringLiteral("Nope"), &stream).number(), 321);
    }

    void titleLegendAndKindConvert()
    {
        Report r;
        const QByteArray ole = compoundFile(QStringLiteral("Workbook"), lineChartWorkbook());
        QStringList log = convertChart("                    Left =100\n                    Width =5000\n                    Height =3000\n"
                                       "                    OleData = Begin\n" + hexLines(ole) + "                    End\n"
                                       "                    RowSource =\"Sales;\"\n", &r);
        QVERIFY2(log.isEmpty(), qPrintable(log.join(u'\n')));
        const Chart *chart = chartOf(r);
        QVERIFY(chart);
        QCOMPARE(chart->name(), QStringLiteral("Graph1"));
        QCOMPARE(chart->chartType(), 3);
        QCOMPARE(chart->width(), 5000.0);
        QVERIFY(chart->title()->location()->visible());
        QCOMPARE(chart->titleText(), QStringLiteral("Downtime"));
        QCOMPARE(chart->title()->vtFont()->name(), QStringLiteral("Times"));
        QCOMPARE(chart->title()->vtFont()->size(), 14.0);
        QCOMPARE(chart->title()->textLayout()->horzAlignment(), 0);
        QCOMPARE(chart->title()->textLayout()->vertAlignment(), 1);
        QCOMPARE(chart->title()->textLayout()->orientation(), 2);
        QVERIFY(chart->showLegend());
        QCOMPARE(chart->legend()->location()->locationType(), 1);
        QCOMPARE(chart->legend()->vtFont()->name(), QStringLiteral("Courier"));
        QCOMPARE(chart->legend()->vtFont()->size(), 9.0);
        const QString crlf = QStringLiteral("\r\n");
        QCOMPARE(r.sections()->firstOfType(Section::Detail)->script(),
                 QStringLiteral("Sub OnFormat()") + crlf + crlf + QStringLiteral("  Dim rsChart") + crlf
                     + QStringLiteral("  Set rsChart = CreateObject(\"ADODB.Recordset\")") + crlf + crlf
                     + QStringLiteral("' assume that DataControl exists and is named as DataCtl") + crlf
                     + QStringLiteral("' TODO: modify _where_ statement") + crlf
                     + QStringLiteral("  rsChart.Open \"select * from [Sales]\", _") + crlf
                     + QStringLiteral("    rpt.DataCtl.Connection , adOpenKeyset") + crlf
                     + QStringLiteral("  rpt.Graph1.ChartData = getChartDataFromRecordset(rsChart)") + crlf
                     + QStringLiteral("  rsChart.Close") + crlf + crlf + QStringLiteral("  Set rsChart = Nothing") + crlf
                     + QStringLiteral("End Sub") + crlf);

        // Without OLE data each Graph setting read costs a line; the
        // defaults stay, the script is still written.
        Report bare;
        log = convertChart("                    RowSource =\"SELECT a, Sum(b) FROM [T] Group By a ORDER BY a\"\n"
                           "                    LinkChildFields =\"DeviceID\"\n                    LinkMasterFields =\"DevID\"\n", &bare);
        QCOMPARE(log.size(), 3);
        QVERIFY(log[0].startsWith(QStringLiteral("ERROR #438 in copyControlChart(): The chart's chartType is not known")));
        QCOMPARE(chartOf(bare)->chartType(), 1);
        QVERIFY(!chartOf(bare)->showLegend());
        const QString script = bare.sections()->firstOfType(Section::Detail)->script();
        QVERIFY2(script.contains(QStringLiteral("  rsChart.Open \"SELECT a, Sum(b) FROM [T]  where DeviceID = \" & rpt.Fields(\"DevID\").Value & \"Group By a ORDER BY a\", _")),
                 qPrintable(script));
        Report ordered;
        convertChart("                    RowSource =\"Daily\"\n                    LinkChildFields =\"Day\"\n"
                     "                    LinkMasterFields =\"Day\"\n", &ordered);
        QVERIFY(ordered.sections()->firstOfType(Section::Detail)->script().contains(
            QStringLiteral("\"select * from [Daily] where Day = \" & rpt.Fields(\"Day\").Value & \"\", _")));
    }

    void komoriChartsDrawTheirRows()
    {
        Report report;
        AccessImportDriver driver;
        driver.SetReport(&report);
        driver.convertExport(Komori);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("komori.db"));
        sqlite3 *handle = nullptr;
        QCOMPARE(sqlite3_open(db.toUtf8().constData(), &handle), SQLITE_OK);
        const char *sql =
            "CREATE TABLE qryKomoriSumOfIntervals(DeviceID, CategoryID, CategoryDescription, ItemID, ItemDescription, SumOfInterval);"
            "INSERT INTO qryKomoriSumOfIntervals VALUES (7, 1, 'Make ready', 1, 'Plates', 1.5), (7, 1, 'Make ready', 2, 'Ink', 0.5),"
            " (7, 2, 'Printing', 3, 'Run', 6), (7, 3, 'Other', 4, 'Wash', 1);"
            "CREATE TABLE qryKomoriSumOfIntervals_PrepOnly(DeviceID, ItemDescription, Interval2);"
            "INSERT INTO qryKomoriSumOfIntervals_PrepOnly VALUES (7, 'Plates', 1.5), (7, 'Ink', 0.5), (8, 'Wash', 9);";
        QCOMPARE(sqlite3_exec(handle, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(handle);

        Script::ScriptedRunOptions options;
        options.reportFolder = dir.path() + u'/';
        options.connectionString = QStringLiteral("Provider=SQLite;Data Source=") + db;
        const auto scripted = Script::ScriptedRun::copyOf(report, options);
        ReportRun &run = *scripted->run();
        QVERIFY(run.Run(false).ok());
        std::vector<double> spans, bars;
        for (int p = 0; p < run.Pages()->Count(); ++p) {
            for (const PageOp &op : run.Pages()->page(p)->ops) {
                if (const auto *pie = std::get_if<PieOp>(&op))
                    spans.push_back(pie->spanAngle);
                if (const auto *s = std::get_if<ShapeOp>(&op); s && (s->fill == 0xff4472c4 || s->fill == 0xffed7d31))
                    bars.push_back(s->rect.height());
            }
        }
        // Device 7's categories (Make ready 2, Printing 6, Other 1) and preparation items (Plates 1.5, Ink 0.5).
        std::sort(spans.begin(), spans.end());
        QCOMPARE(spans.size(), size_t(3));
        QVERIFY(std::abs(spans[0] - -240) < 1e-9 && std::abs(spans[1] - -80) < 1e-9 && std::abs(spans[2] - -40) < 1e-9);
        QCOMPARE(bars.size(), size_t(2));
        QVERIFY(std::abs(std::max(bars[0], bars[1]) / std::min(bars[0], bars[1]) - 3) < 1e-6);
    }
};

QTEST_MAIN(TestChartConversion)
#include "tst_chartconversion.moc"
