// Chart layouts checked on their drawing operations (bar heights against
// values, pie angles, legend and axis texts), empty data, the values
// scripts hand over, layout files and page encoding of the chart parts,
// one rendering against a reference image, and data labels of every kind
// kept inside the chart's box.
#include "engine/chart/chartrenderer.h"
#include "engine/export/exporter.h"
#include "engine/pages/pagecollection.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/chart.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/fontresolver.h"
#include "engine/pages/pageio.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Orv;
using namespace Orv::Charts;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const QRectF Area(1000, 500, 6000, 4000);
constexpr QRgb Red = 0xffff0000;
constexpr QRgb Green = 0xff00ff00;

ChartValues values(const QStringList &categories, const std::vector<std::vector<double>> &series)
{
    ChartValues v;
    v.categories = categories;
    v.series = series;
    for (size_t s = 0; s < series.size(); ++s)
        v.seriesNames << QStringLiteral("S%1").arg(s + 1);
    return v;
}

// A chart of a kind with red and green series and a legend.
std::unique_ptr<Chart> chartOf(int kind)
{
    auto chart = std::make_unique<Chart>();
    chart->setChartType(kind);
    chart->setSeriesColors(QStringLiteral("255;#00ff00"));
    chart->setShowLegend(true);
    return chart;
}

Page render(const Chart &chart, const ChartValues &v)
{
    Page page;
    renderChart(chart, v, Area, &page);
    return page;
}

template<class T>
std::vector<T> opsOf(const Page &page, QRgb fill = 0)
{
    std::vector<T> out;
    for (const PageOp &op : page.ops) {
        if (const T *t = std::get_if<T>(&op)) {
            if constexpr (requires { t->fill; })
                if (fill && t->fill != fill)
                    continue;
            out.push_back(*t);
        }
    }
    return out;
}

QStringList texts(const Page &page)
{
    QStringList out;
    for (const TextOp &t : opsOf<TextOp>(page))
        out << t.text;
    return out;
}

bool inside(const QRectF &r, const QRectF &area)
{
    return area.adjusted(-1, -1, 1, 1).contains(r);
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void barsAndStepsStandInProportion()
    {
        const ChartValues v = values({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, {{10, 20, 40}, {5, 0, 15}});
        for (int kind : {Bar2D, Bar3D}) {
            const Page page = render(*chartOf(kind), v);
            const auto red = opsOf<ShapeOp>(page, Red);
            QCOMPARE(red.size(), size_t(3 + 1)); // the bars and the legend's box
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(red[size_t(i)].rect.bottom(), red[0].rect.bottom()); // one baseline
                QVERIFY(std::abs(red[size_t(i)].rect.height() / v.series[0][size_t(i)] - red[0].rect.height() / 10) < 0.01);
                QVERIFY(inside(red[size_t(i)].rect, Area));
            }
            const auto green = opsOf<ShapeOp>(page, Green);
            QVERIFY(std::abs(green[2].rect.height() / 15 - red[0].rect.height() / 10) < 0.01);
            QCOMPARE(green[1].rect.height(), 0.0);
            // 3-D bars get a top and a side each.
            QCOMPARE(opsOf<PolygonOp>(page).size() >= 12, kind == Bar3D);
            const QStringList t = texts(page);
            for (const char *s : {"A", "B", "C", "S1", "S2", "0", "40"})
                QVERIFY2(t.contains(QLatin1String(s)), s);
        }
        // Steps stack their series across the whole slot.
        const Page steps = render(*chartOf(Step2D), v);
        const auto low = opsOf<ShapeOp>(steps, Red);
        const auto high = opsOf<ShapeOp>(steps, Green);
        QCOMPARE(low[0].rect.top(), high[0].rect.bottom());
        QCOMPARE(low[1].rect.left(), low[0].rect.right());
        QCOMPARE(high[2].rect.top(), opsOf<ShapeOp>(steps, Red)[2].rect.top() - high[2].rect.height());
        // One series: a colour per category, and the legend lists the categories.
        auto single = chartOf(Bar2D);
        const Page one = render(*single, values({QStringLiteral("A"), QStringLiteral("B")}, {{1, 2}}));
        QCOMPARE(opsOf<ShapeOp>(one, Green).size(), size_t(2));
        QVERIFY(!texts(one).contains(QStringLiteral("S1")));
    }

    void linesAreasAndPoints()
    {
        const QStringList cats{QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr")};
        const ChartValues v = values(cats, {{10, 30, 20, 40}, {5, 5, 10, 10}});
        const Page line = render(*chartOf(Line2D), v);
        const auto lines = opsOf<PolygonOp>(line);
        QCOMPARE(lines.size(), size_t(2));
        const PolygonOp &first = lines[1]; // the first series is drawn last, on top
        QCOMPARE(first.pen.color, Red);
        QVERIFY(!first.closed);
        QCOMPARE(first.points.size(), size_t(4));
        const double perUnit = (first.points[0].y() - first.points[1].y()) / 20;
        QVERIFY(std::abs((first.points[0].y() - first.points[3].y()) / 30 - perUnit) < 1e-6);
        QVERIFY(first.points[1].x() > first.points[0].x());
        // A gap in the data breaks the line.
        const Page gapped = render(*chartOf(Line2D), values(cats, {{1, NaN, 2, 3}}));
        QCOMPARE(opsOf<PolygonOp>(gapped).size(), size_t(1));
        QCOMPARE(opsOf<PolygonOp>(gapped)[0].points.size(), size_t(2));
        QCOMPARE(opsOf<PolygonOp>(render(*chartOf(Line3D), v)).size() >= 2 * 3, true);

        // Areas stack: the second series' top is the sum.
        const auto areas = opsOf<PolygonOp>(render(*chartOf(Area2D), v));
        QCOMPARE(areas.size(), size_t(2));
        const double zero = areas[0].points[4].y(); // the first area's baseline, back from the right
        const double scale = (zero - areas[0].points[0].y()) / 10;
        QVERIFY(std::abs((zero - areas[1].points[3].y()) / scale - 50) < 1e-6);
        QVERIFY(opsOf<PolygonOp>(render(*chartOf(Area3D), v)).size() > 2);

        // XY: the first series is x; a marker per point, placed by x.
        const ChartValues xy = values(cats, {{1, 4, 2, 8}, {3, 3, 3, 3}});
        const auto markers = opsOf<ShapeOp>(render(*chartOf(XY), xy), Red);
        QCOMPARE(markers.size(), size_t(4 + 1));
        QVERIFY(std::abs((markers[1].rect.center().x() - markers[0].rect.center().x()) * 2
                         - (markers[3].rect.center().x() - markers[1].rect.center().x()) * 3 / 2) < 1e-6);
    }

    void pieSlicesShareTheCircle()
    {
        auto chart = chartOf(Pie);
        chart->setShowDataLabels(true);
        const ChartValues v = values({QStringLiteral("North"), QStringLiteral("South"), QStringLiteral("None"), QStringLiteral("East")},
                                     {{50, 30, -4, 20}});
        const Page page = render(*chart, v);
        const auto slices = opsOf<PieOp>(page);
        QCOMPARE(slices.size(), size_t(3)); // nothing for a negative value
        QCOMPARE(slices[0].startAngle, 90.0);
        double sum = 0;
        for (const PieOp &s : slices)
            sum += -s.spanAngle;
        QVERIFY(std::abs(sum - 360) < 1e-9);
        QVERIFY(std::abs(slices[1].spanAngle - -108) < 1e-9);
        QCOMPARE(slices[1].startAngle, slices[0].startAngle + slices[0].spanAngle);
        QCOMPARE(slices[0].fill, Red);
        const QStringList t = texts(page);
        for (const char *s : {"North", "South", "East", "50 (50.0%)", "20 (20.0%)"})
            QVERIFY2(t.contains(QLatin1String(s)), s);
    }

    void dataLabelsStayInsideTheChart_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("fontSize");
        // The example's charts: 4560 x 3780 twips, 7 point labels.
        for (int kind : {Bar3D, Bar2D, Line3D, Line2D, Area3D, Area2D, Step3D, Step2D, Pie, XY})
            QTest::addRow("kind %d", kind) << kind << 4560.0 << 3780.0 << 7.0;
        // Labels too wide for the room: moved in, never out.
        QTest::addRow("small pie") << int(Pie) << 2400.0 << 1800.0 << 10.0;
        QTest::addRow("small bars") << int(Bar3D) << 2400.0 << 1800.0 << 10.0;
    }

    void dataLabelsStayInsideTheChart()
    {
        QFETCH(int, kind);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, fontSize);
        auto chart = chartOf(kind);
        chart->setTitleText(QStringLiteral("Share of sales"));
        chart->setShowDataLabels(true);
        chart->setValueFormat(QStringLiteral("#,##0"));
        chart->axisFont()->setSize(fontSize);
        chart->legend()->vtFont()->setSize(7);
        chart->legend()->location()->setLocationType(6);
        chart->setSeriesColors(QString());
        const QRectF box(4800, 600, width, height);
        // The example pie's figures (the sample database's sales by
        // category), and values whose highest stack meets the scale's top
        // with a negative bar among them.
        const ChartValues sales = values({QStringLiteral("Produce"), QStringLiteral("Meat/Poultry"), QStringLiteral("Dairy Products"),
                                          QStringLiteral("Grains/Cereals"), QStringLiteral("Seafood"), QStringLiteral("Beverages"),
                                          QStringLiteral("Condiments"), QStringLiteral("Confections")},
                                         {{3278784, 3274810, 2151162, 2020890, 1933797, 1831513, 1826087, 1611235}});
        const ChartValues edges = kind == XY ? values({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                                                      {{0, 4, 10}, {6123, 3877, 10000}})
                                             : values({QStringLiteral("North"), QStringLiteral("South-East region"), QStringLiteral("West")},
                                                      {{6123, 3877, 10000}, {3877, 6123, -2345}});
        const QStringList edgeLabels{QStringLiteral("6,123"), QStringLiteral("3,877")};
        for (const ChartValues *v : {&sales, &edges}) {
            Page page;
            renderChart(*chart, *v, box, &page);
            int dataLabels = 0;
            for (const TextOp &t : opsOf<TextOp>(page)) {
                const QString where = QStringLiteral("\"%1\" at %2, %3 size %4 x %5")
                                          .arg(t.text).arg(t.rect.x()).arg(t.rect.y()).arg(t.rect.width()).arg(t.rect.height());
                QVERIFY2(inside(t.rect, box), qPrintable(where));
                if (!t.text.contains(QLatin1Char('%')) && !edgeLabels.contains(t.text))
                    continue;
                ++dataLabels;
                // A data label is not cut at its box either: the painter clips there.
                const auto font = FontResolver::instance().resolve(page.fonts[size_t(t.font)]);
                QVERIFY2(font->metrics.horizontalAdvance(t.text) <= t.rect.width() + 1, qPrintable(where));
            }
            if (kind != Pie) {
                if (v == &edges) // on every kind's bars, points or segments
                    QVERIFY2(dataLabels >= 2, qPrintable(QString::number(dataLabels)));
                continue;
            }
            if (v != &sales)
                continue;
            QCOMPARE(dataLabels, 8);
            if (width < 4000)
                continue;
            // At the example's size the pie keeps a fair size, and its
            // labels stand clear of it, each whole.
            const PieOp slice = opsOf<PieOp>(page).front();
            const double r = slice.rect.width() / 2;
            QVERIFY2(r * 2 >= std::min(box.width(), box.height()) / 3, qPrintable(QString::number(r)));
            for (const TextOp &t : opsOf<TextOp>(page)) {
                if (!t.text.contains(QLatin1Char('%')))
                    continue;
                QVERIFY2(!t.text.contains(QChar(0x2026)), qPrintable(t.text));
                const QPointF c = slice.rect.center();
                const QPointF nearest(std::clamp(c.x(), t.rect.left(), t.rect.right()), std::clamp(c.y(), t.rect.top(), t.rect.bottom()));
                QVERIFY2(std::hypot(nearest.x() - c.x(), nearest.y() - c.y()) >= r - 1, qPrintable(t.text));
            }
        }
    }

    void emptyOrNullDataDrawsTheFrameWithANote()
    {
        Chart chart;
        chart.setTitleText(QStringLiteral("Sales"));
        for (const ChartValues &v : {ChartValues(), values({QStringLiteral("A")}, {{NaN}}), valuesFromRecords(QVariant())}) {
            for (int kind : {Bar2D, Pie, XY}) {
                chart.setChartType(kind);
                const Page page = render(chart, v);
                QCOMPARE(texts(page), (QStringList{QStringLiteral("Sales"), noDataNote()}));
                QCOMPARE(opsOf<ShapeOp>(page).size(), size_t(1));
            }
        }
        Chart pie;
        pie.setChartType(Pie);
        QCOMPARE(texts(render(pie, values({QStringLiteral("A")}, {{0}}))), QStringList{noDataNote()});
        // A chart too small to hold anything draws nothing, without failing.
        Page tiny;
        renderChart(chart, values({QStringLiteral("A")}, {{1}}), QRectF(0, 0, 30, 30), &tiny);
        renderChart(chart, values({QStringLiteral("A")}, {{1}}), QRectF(0, 0, 0, 0), &tiny);
    }

    void valuesFromScriptArrays()
    {
        // Records first, fields second; a text first field labels them.
        const QVariantList records{QVariantList{QStringLiteral("West"), 20, QStringLiteral("1.5")},
                                   QVariantList{QVariant::fromValue(nullptr), QVariant(), QStringLiteral("x")},
                                   QVariantList{QStringLiteral("East"), 7.5}};
        const ChartValues v = valuesFromRecords(records, {QStringLiteral("Region"), QStringLiteral("Amount"), QStringLiteral("Rate")});
        QCOMPARE(v.categories, (QStringList{QStringLiteral("West"), QString(), QStringLiteral("East")}));
        QCOMPARE(v.seriesNames, (QStringList{QStringLiteral("Amount"), QStringLiteral("Rate")}));
        QCOMPARE(v.value(0, 0), 20.0);
        QCOMPARE(v.value(1, 0), 1.5);
        QVERIFY(std::isnan(v.value(0, 1)) && std::isnan(v.value(1, 1)) && std::isnan(v.value(1, 2)));
        // Numbers only: every field is a series, records are numbered.
        const ChartValues n = valuesFromRecords(QVariantList{QVariantList{1, 2}, QVariantList{3, 4}});
        QCOMPARE(n.categories, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        QCOMPARE(n.seriesCount(), 2);
        QCOMPARE(n.seriesNames.front(), QStringLiteral("Series 1"));
        // A one-dimensional array is one value per record.
        const ChartValues flat = valuesFromRecords(QVariantList{4, 5, 6});
        QCOMPARE(flat.seriesCount(), 1);
        QCOMPARE(flat.value(0, 2), 6.0);
        QVERIFY(valuesFromRecords(QVariant(42)).isEmpty());
    }

    void titleAndLegendGoWhereSet()
    {
        auto chart = chartOf(Bar2D);
        chart->setTitleText(QStringLiteral("Title"));
        chart->legend()->location()->setLocationType(3); // left
        const ChartValues v = values({QStringLiteral("A"), QStringLiteral("B")}, {{1, 2}, {2, 1}});
        const auto titleOf = [](const Page &page) {
            for (const TextOp &t : opsOf<TextOp>(page))
                if (t.text.contains(QLatin1String("Title")) || t.text.startsWith(QLatin1Char('T')))
                    return t;
            return TextOp();
        };
        Page page = render(*chart, v);
        TextOp title = titleOf(page);
        QVERIFY(title.rect.top() < Area.top() + 200);
        QVERIFY(std::abs(title.rect.center().x() - Area.center().x()) < 1);
        const ShapeOp legendBox = opsOf<ShapeOp>(page, 0xffffffff).front();
        QVERIFY(legendBox.rect.left() < Area.left() + 200);
        QVERIFY(opsOf<ShapeOp>(page, Red).front().rect.left() > legendBox.rect.right());

        chart->title()->location()->setLocationType(6); // bottom
        chart->title()->textLayout()->setHorzAlignment(0);
        chart->legend()->location()->setLocationType(4); // right
        page = render(*chart, v);
        title = titleOf(page);
        QVERIFY(title.rect.bottom() > Area.bottom() - 200);
        QVERIFY(title.rect.left() < Area.left() + 200);
        QVERIFY(opsOf<ShapeOp>(page, 0xffffffff).front().rect.right() > Area.right() - 200);

        chart->title()->location()->setLocationType(3);
        chart->title()->textLayout()->setOrientation(2); // upward
        title = titleOf(render(*chart, v));
        QCOMPARE(title.angle, 900);
        QVERIFY(title.rect.height() > title.rect.width());
        chart->title()->textLayout()->setOrientation(1); // stacked letters
        QCOMPARE(titleOf(render(*chart, v)).text, QStringLiteral("T\ni\nt\nl\ne"));
        chart->title()->location()->setVisible(false);
        QVERIFY(!texts(render(*chart, v)).join(QString()).contains(QLatin1String("Title")));
    }

    void layoutFileAndPagesKeepChartParts()
    {
        Report report;
        auto *chart = static_cast<Chart *>(report.sections()->firstOfType(Section::Detail)->controls()->Add(QStringLiteral("OrvEngine.Chart")));
        chart->setChartType(Line3D);
        chart->setXAxisTitle(QStringLiteral("Month"));
        chart->setYAxisTitle(QStringLiteral("Sales"));
        chart->axisFont()->setBold(true);
        chart->setShowGridLines(false);
        chart->setShowDataLabels(true);
        chart->setValueFormat(QStringLiteral("#,##0"));
        chart->setSeriesNames(QStringLiteral("A;B"));
        chart->setSeriesColors(QStringLiteral("255;65280"));
        chart->setRowSource(QStringLiteral("select x, y from t where k = :k"));
        chart->setGroupField(QStringLiteral("Month"));
        chart->setValueFields(QStringLiteral("Sales;Cost"));
        chart->setSummaryFunc(4);
        chart->title()->vtFont()->setBold(false);
        chart->setChartData(QVariantList{1, 2}); // not a layout property
        const QByteArray saved = layoutBytes(report);
        Report back;
        QVERIFY(LoadLayout(back, saved).ok());
        QCOMPARE(layoutBytes(back), saved);
        const auto *copy = qobject_cast<Chart *>(back.allControls().front());
        QCOMPARE(copy->valueFields(), QStringLiteral("Sales;Cost"));
        QVERIFY(!copy->title()->vtFont()->bold() && copy->axisFont()->bold());
        QVERIFY(!copy->chartData().isValid());
        QVERIFY(!saved.contains("ChartData"));

        Page page;
        page.size = QSizeF(12240, 15840);
        renderChart(*chart, values({QStringLiteral("a"), QStringLiteral("b")}, {{1, 2}}), Area, &page);
        PolygonOp open;
        open.points = {{1, 2}, {3, 4}, {5, 0}};
        open.closed = false;
        page.ops.push_back(open);
        Page read;
        QString error;
        QVERIFY2(PageIO::pageFromBytes(PageIO::pageBytes(page), &read, 0, &error), qPrintable(error));
        QVERIFY(read == page);
        PolygonOp lonely;
        lonely.points = {{1, 1}};
        Page bad;
        bad.size = QSizeF(100, 100);
        bad.ops.push_back(lonely);
        QVERIFY(!PageIO::pageFromBytes(PageIO::pageBytes(bad), &read, 0, &error));
        QVERIFY2(error.contains(QLatin1String("bad polygon")), qPrintable(error));
    }

    void everyExportTakesChartParts()
    {
        auto chart = chartOf(Pie);
        chart->setTitleText(QStringLiteral("Share"));
        Page page;
        page.size = QSizeF(12240, 15840);
        renderChart(*chart, values({QStringLiteral("North"), QStringLiteral("South")}, {{3, 1}}), Area, &page);
        renderChart(*chartOf(Area3D), values({QStringLiteral("a"), QStringLiteral("b")}, {{3, 1}}), Area.translated(0, 5000), &page);
        PageCollection pages;
        pages.append(page);
        QTemporaryDir dir;
        const auto read = [&](const char *name) {
            QFile f(dir.filePath(QLatin1String(name)));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        for (const char *name : {"c.pdf", "c.html", "c.rtf", "c.txt", "c.xlsx", "c.tiff"}) {
            const Status s = exportPages(pages, dir.filePath(QLatin1String(name)));
            QVERIFY2(s.ok(), qPrintable(s.description()));
            QVERIFY(!read(name).isEmpty());
        }
        // HTML draws them in its drawing, placed under the texts; RTF as free-form shapes.
        const QByteArray html = read("c.html");
        QVERIFY(html.contains("<path d=\"M ") && html.contains("<polygon points="));
        QVERIFY(html.indexOf("<svg") < html.indexOf(">Share<"));
        const QByteArray rtf = read("c.rtf");
        QVERIFY(rtf.contains("{\\sp{\\sn pVerticies}{\\sv 8;") && rtf.contains("{\\sn pSegmentInfo}{\\sv 2;"));
        QVERIFY(read("c.txt").contains("North"));
    }

    void rendersLikeTheReference()
    {
        auto chart = chartOf(Bar3D);
        chart->setTitleText(QStringLiteral("Quarters"));
        chart->setWidth(4800);
        chart->setHeight(3000);
        QImage image(320, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            paintChart(p, QRectF(0, 0, 320, 200), *chart, values({QStringLiteral("Q1"), QStringLiteral("Q2"), QStringLiteral("Q3")},
                                                                 {{3, 5, 4}, {2, 1, 3}}));
        }
        // The designer's sample of every kind draws something.
        for (int kind : {Bar3D, Bar2D, Line3D, Line2D, Area3D, Area2D, Step3D, Step2D, Pie, XY}) {
            chart->setChartType(kind);
            QImage sample(160, 100, QImage::Format_RGB32);
            sample.fill(Qt::white);
            QPainter p(&sample);
            paintChartPreview(p, QRectF(0, 0, 160, 100), *chart);
            p.end();
            int coloured = 0;
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 160; ++x)
                    coloured += qRed(sample.pixel(x, y)) != qGreen(sample.pixel(x, y));
            QVERIFY2(coloured > 20, qPrintable(QString::number(kind)));
        }
        const QString path = QStringLiteral(ORV_TEST_DATA "/charts/bar3d.png");
        if (qEnvironmentVariableIsSet("ORV_UPDATE_REFERENCES"))
            QVERIFY(image.save(path));
        const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(reference.size(), image.size());
        // Glyph rasterising differs a little between font versions: count
        // only pixels that differ clearly, and allow a few of them.
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb a = image.pixel(x, y), b = reference.pixel(x, y);
                differing += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))}) > 80;
            }
        QVERIFY2(differing < image.width() * image.height() / 50, qPrintable(QString::number(differing)));
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
