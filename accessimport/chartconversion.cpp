// Microsoft Graph charts in object frames become the engine's chart
// control, with a piece of section script that feeds it the row source's
// rows at run time. The Graph chart's settings are read from the frame's
// OleData (what Access's automation offers as the frame's Object).
#include "accessimport/accessimport.h"
#include "accessimport/graphchart.h"

#include "engine/model/chart.h"
#include "engine/model/control.h"
#include "engine/model/section.h"

namespace Orv {

using AccessImport::AccessObject;

namespace ChartMap {

int chartType(int graph)
{
    switch (graph) {
    case -4100: case 54: case 60: return 0;
    case 51: case 57: return 1;
    case -4101: return 2;
    case 4: case 63: case 64: case 65: case 66: case 67: return 3;
    case -4098: case 78: case 79: return 4;
    case 1: case 76: case 77: return 5;
    case 55: case 56: case 61: case 62: return 6;
    case 52: case 53: case 58: case 59: case 93: case 94: case 96: case 97: case 100: case 101: case 103:
    case 104: case 107: case 108: case 110: case 111:
        return 7;
    case 5: case -4102: case -4120: case 68: case 69: case 70: case 71: case 80: return 14;
    case -4169: case 72: case 73: case 74: case 75: return 16;
    default: return 1;
    }
}

int orientation(int graph)
{
    return graph == -4128 ? 0 : graph == -4166 ? 1 : graph == -4171 ? 2 : 3;
}

int horzAlignment(int graph)
{
    return graph == -4131 ? 0 : graph == -4152 ? 1 : graph == 5 ? 3 : 2;
}

int vertAlignment(int graph)
{
    return graph == -4160 ? 0 : graph == -4107 ? 1 : 2;
}

int legendPosition(int graph)
{
    return graph == -4160 ? 1 : graph == 2 ? 2 : graph == -4152 ? 4 : graph == -4107 ? 6 : 3;
}

} // namespace ChartMap

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The row source as a statement, with the filter on the master field.
QString chartStatement(QString rs, const QString &childFields, const QString &masterFields)
{
    rs = rs.trimmed();
    if (rs.endsWith(QLatin1Char(';')))
        rs.chop(1);
    if (rs.left(6).compare(QLatin1String("select"), Qt::CaseInsensitive) != 0) {
        if (!rs.startsWith(QLatin1Char('[')))
            rs = QLatin1Char('[') + rs + QLatin1Char(']');
        rs = QStringLiteral("select * from ") + rs;
    }
    if (childFields.isEmpty())
        return rs;
    const QString quote(QLatin1Char('"'));
    const QString filter = QStringLiteral(" where ") + childFields + QStringLiteral(" = ") + quote + QStringLiteral(" & rpt.Fields(")
                           + quote + masterFields + quote + QStringLiteral(").Value & ") + quote;
    const QString lower = rs.toLower();
    qsizetype at = lower.indexOf(QLatin1String("group by"));
    if (at < 0)
        at = lower.indexOf(QLatin1String("order by"));
    if (at < 0)
        return rs + filter;
    return rs.left(at) + filter + rs.mid(at);
}

} // namespace

QString CAccessImport::copyControlChart(Section &section, const AccessObject &frame)
{
    const QString here = QStringLiteral("copyControlChart()");
    Control *control = addControl(section, QStringLiteral("OrvEngine.Chart"), here);
    auto *chart = qobject_cast<Chart *>(control);
    if (!chart)
        return QString();
    const QVariant name = get(frame, QStringLiteral("Name"), here);
    set(chart, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    for (const char *p : {"Visible", "Tag", "Top", "Left", "Width", "Height"})
        set(chart, QLatin1StringView(p), get(frame, QLatin1StringView(p), here), here);

    // The Graph chart, read from the frame's OLE data.
    AccessImport::GraphChart g;
    Status readable = Status::failure(ErrNoSuchMember, QStringLiteral("The object frame holds no OLE data"));
    const QVariant ole = frame.value(QStringLiteral("OleData"));
    if (ole.isValid())
        readable = AccessImport::readGraphChart(ole.toByteArray(), &g);
    const auto missing = [&](const char *property) {
        const QString why = readable ? QStringLiteral("the chart has no chart group") : readable.description();
        logError(QStringLiteral("The chart's %1 is not known: %2").arg(QLatin1String(property), why), here,
                 readable ? 438 : readable.number());
    };
    if (readable && g.chartType)
        set(chart, QStringLiteral("chartType"), ChartMap::chartType(*g.chartType), here);
    else
        missing("chartType");

    if (!readable) {
        missing("HasTitle");
    } else {
        set(chart, QStringLiteral("Title.Location.Visible"), g.hasTitle, here);
        if (g.hasTitle) {
            const AccessImport::GraphText &t = g.title;
            set(chart, QStringLiteral("TitleText"), t.caption, here);
            if (t.fontName)
                set(chart, QStringLiteral("Title.VtFont.Name"), *t.fontName, here);
            if (t.fontSize)
                set(chart, QStringLiteral("Title.VtFont.Size"), *t.fontSize, here);
            if (!t.fontName || !t.fontSize)
                logError(QStringLiteral("The chart title's font is not known"), here, ErrNoSuchMember);
            // An automatic fill (none) leaves the colour as it is.
            if (t.backColor) {
                const int rgb = *t.backColor;
                chart->title()->backdrop()->fill()->brush()->fillColor()->Set(rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff);
            }
            set(chart, QStringLiteral("Title.TextLayout.HorzAlignment"), ChartMap::horzAlignment(t.horizontalAlignment), here);
            set(chart, QStringLiteral("Title.TextLayout.VertAlignment"), ChartMap::vertAlignment(t.verticalAlignment), here);
            set(chart, QStringLiteral("Title.TextLayout.Orientation"), ChartMap::orientation(t.orientation), here);
        }
    }

    if (!readable) {
        missing("HasLegend");
    } else {
        set(chart, QStringLiteral("ShowLegend"), g.hasLegend, here);
        if (g.hasLegend) {
            if (g.legendFontName)
                set(chart, QStringLiteral("Legend.VtFont.Name"), *g.legendFontName, here);
            if (g.legendFontSize)
                set(chart, QStringLiteral("Legend.VtFont.Size"), *g.legendFontSize, here);
            if (!g.legendFontName || !g.legendFontSize)
                logError(QStringLiteral("The chart legend's font is not known"), here, ErrNoSuchMember);
            set(chart, QStringLiteral("Legend.Location.LocationType"), ChartMap::legendPosition(g.legendPosition), here);
        }
    }

    const QVariant rowSource = get(frame, QStringLiteral("RowSource"), here);
    const QVariant child = get(frame, QStringLiteral("LinkChildFields"), here);
    const QVariant master = get(frame, QStringLiteral("LinkMasterFields"), here);
    const QString rs = chartStatement(rowSource.toString(), child.toString(), master.toString());
    const QString quote(QLatin1Char('"'));
    return QStringList{
        QStringLiteral("' assume that DataControl exists and is named as DataCtl"),
        QStringLiteral("' TODO: modify _where_ statement"),
        QStringLiteral("  rsChart.Open ") + quote + rs + quote + QStringLiteral(", _"),
        QStringLiteral("    rpt.DataCtl.Connection , adOpenKeyset"),
        QStringLiteral("  rpt.") + chart->name() + QStringLiteral(".ChartData = getChartDataFromRecordset(rsChart)"),
        QStringLiteral("  rsChart.Close"),
    }.join(CrLf);
}

} // namespace Orv
