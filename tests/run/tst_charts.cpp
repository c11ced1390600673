// Charts in report runs: values from the chart's own statement, from the
// report's rows grouped within the section's scope and from scripts; bad
// statements; charts kept whole across pages; the example report through
// orvreport-cli to PDF, read back with pdftotext.
#include "runfixture.h"

#include "engine/chart/chartrenderer.h"
#include "engine/run/reportrun.h"
#include "engine/script/host.h"
#include "engine/script/runhost.h"
#include "engine/script/scriptsupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;
using namespace RunTest;

namespace {

// The lines of every chart of a run (charts here are line charts), in order.
std::vector<std::vector<double>> chartLines(const Result &r)
{
    std::vector<std::vector<double>> out;
    for (const auto &page : r.pages)
        for (const PageOp &op : page->ops)
            if (const auto *p = std::get_if<PolygonOp>(&op); p && !p->closed) {
                std::vector<double> ys;
                for (const QPointF &pt : p->points)
                    ys.push_back(pt.y());
                out.push_back(ys);
            }
    return out;
}

// The drawn heights match the values: the same twips per unit throughout.
bool proportional(const std::vector<double> &ys, const QVariantList &values)
{
    if (ys.size() != size_t(values.size()) || ys.size() < 2)
        return false;
    const double perUnit = (ys[0] - ys[1]) / (values[1].toDouble() - values[0].toDouble());
    for (size_t i = 1; i < ys.size(); ++i)
        if (std::abs((ys[0] - ys[i]) - perUnit * (values[qsizetype(i)].toDouble() - values[0].toDouble())) > 0.01)
            return false;
    return true;
}

const QString Lines = QStringLiteral(" FROM [Order Details] d JOIN Products p ON p.ProductID = d.ProductID "
                                     "JOIN Categories c ON c.CategoryID = p.CategoryID WHERE d.OrderID < 10400");

} // namespace

class TestCharts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { databasePath(); }

    void valuesFollowTheirSourceAndScope()
    {
        const QString body = QStringLiteral(R"X(
<Section Type="0" Name="RH" Height="3000">
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT c.CategoryName, p.ProductName, d.Quantity %1 ORDER BY c.CategoryName, p.ProductName"/>
  <Control Type="OrvEngine.Chart" Name="chtAll" Width="9000" Height="2880" chartType="3" GroupField="CategoryName" ValueFields="Quantity"/>
</Section>
<Section Type="4" Name="gh" Height="2000" DataField="CategoryName">
  <Control Type="OrvEngine.Chart" Name="chtProducts" Width="9000" Height="1900" chartType="3" RowSource="SELECT p.ProductName, sum(d.Quantity) %1 AND c.CategoryName = :CategoryName GROUP BY p.ProductName ORDER BY p.ProductName"/>
</Section>
<Section Type="6" Name="Detail" Height="0" Visible="false"/>
<Section Type="5" Name="gf" Height="2000">
  <Control Type="OrvEngine.Chart" Name="chtCount" Width="9000" Height="1900" chartType="3" GroupField="=[ProductName]"/>
</Section>)X").arg(QString(Lines).replace(QLatin1String("<"), QLatin1String("&lt;")));
        const Result r = run(body);
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        QVERIFY(r.errors.isEmpty());
        const auto lines = chartLines(r);
        const QVariantList categories = sqlColumn(QStringLiteral("SELECT DISTINCT c.CategoryName") + Lines + QStringLiteral(" ORDER BY 1"));
        QCOMPARE(lines.size(), size_t(1 + 2 * categories.size()));
        QVERIFY(proportional(lines[0], sqlColumn(QStringLiteral("SELECT sum(d.Quantity)") + Lines + QStringLiteral(" GROUP BY c.CategoryName ORDER BY c.CategoryName"))));
        for (qsizetype i = 0; i < categories.size(); ++i) {
            const QString where = Lines + QStringLiteral(" AND c.CategoryName = '%1' GROUP BY p.ProductName ORDER BY p.ProductName").arg(categories[i].toString());
            QVERIFY(proportional(lines[size_t(1 + 2 * i)], sqlColumn(QStringLiteral("SELECT sum(d.Quantity)") + where)));
            QVERIFY(proportional(lines[size_t(2 + 2 * i)], sqlColumn(QStringLiteral("SELECT count(*)") + where)));
        }
        // Charts move to the next page whole: each page has as many charts
        // (their zero labels) as lines.
        QVERIFY(r.pages.size() > 1);
        for (const auto &page : r.pages) {
            int zeros = 0, polylines = 0;
            for (const PageOp &op : page->ops) {
                const auto *t = std::get_if<TextOp>(&op);
                zeros += t && t->text == QLatin1String("0");
                const auto *p = std::get_if<PolygonOp>(&op);
                polylines += p && !p->closed;
            }
            QCOMPARE(zeros, polylines);
        }
    }

    void scriptDataAndBadStatements()
    {
        // The script reads its rows through the data control's connection,
        // which the run fills in (here from its connection override).
        const QString script = QStringLiteral(
            "Sub RH_Format&#10;  Set rs = CreateObject(&quot;ADODB.Recordset&quot;)&#10;"
            "  rs.Open &quot;SELECT CategoryName, CategoryID FROM Categories ORDER BY CategoryID&quot;, rpt.dc.Connection, adOpenKeyset&#10;"
            "  rpt.chtScript.ChartData = getChartDataFromRecordset(rs)&#10;  rs.Close&#10;End Sub");
        const QString body = QStringLiteral(R"X(
<Section Type="0" Name="RH" Height="6000">
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="Data Source=nowhere.db" Source="SELECT 1 AS One"/>
  <Control Type="OrvEngine.Chart" Name="chtScript" Width="9000" Height="2880" chartType="3"/>
  <Control Type="OrvEngine.Chart" Name="chtBad" Top="3000" Width="9000" Height="2880" RowSource="SELECT nothing FROM nowhere"/>
</Section>)X");
        Script::Host host;
        host.addObject(QStringLiteral("vbo"), Script::createSupportObject({}));
        host.addCode(Script::scriptPrologue(QString()));
        Script::RunHost scripting(host);
        const Result r = run(body, QStringLiteral("Script=\"%1\"").arg(script), [&](ReportRun &run) {
            run.setScripting(&scripting);
            run.setConnectionString(connection());
        });
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        QCOMPARE(r.errors.size(), 1);
        QCOMPARE(r.errors[0].source(), QStringLiteral("chtBad"));
        const auto lines = chartLines(r);
        QCOMPARE(lines.size(), size_t(1));
        QVERIFY(proportional(lines[0], sqlColumn(QStringLiteral("SELECT CategoryID FROM Categories ORDER BY CategoryID"))));
        const QStringList t = textList(*r.pages[0]);
        QVERIFY(t.contains(sqlValue(QStringLiteral("SELECT CategoryName FROM Categories ORDER BY CategoryID")).toString()));
        QVERIFY(t.contains(Charts::noDataNote()));
    }

    void exampleRendersToPdf()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("charts.pdf"));
        QProcess p;
        p.start(QStringLiteral(ORV_CLI_PATH), {QStringLiteral("run"), QStringLiteral(ORV_SOURCE_DIR "/examples/sales-chart.rpx"),
                                               QStringLiteral("-o"), pdf, QStringLiteral("--connection"), connection()});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QVERIFY2(!p.readAllStandardError().contains("error"), "the example runs without errors");
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString all = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &s : {QStringLiteral("Sales by category"), QStringLiteral("Share of sales"), QStringLiteral("Sales per month"),
                                 QStringLiteral("2024-01"), QStringLiteral("2025-12"), QStringLiteral("All categories"), QStringLiteral("Page 2")})
            QVERIFY2(all.contains(s), qPrintable(s));
        for (const QVariant &c : sqlColumn(QStringLiteral("SELECT CategoryName FROM Categories")))
            QVERIFY2(all.count(c.toString()) >= 3, qPrintable(c.toString())); // bars, pie legend, group footer
        QVERIFY(!all.contains(Charts::noDataNote()));
    }
};

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
