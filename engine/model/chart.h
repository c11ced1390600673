#pragma once

#include "engine/model/control.h"

#include <QVariant>

namespace Orv {

// The chart's parts are nested objects reached by path from layouts and
// scripts (Title.VtFont.Name, Legend.Location.LocationType,
// Title.Backdrop.Fill.Brush.FillColor.Set r, g, b): the paths converted
// Access reports write, so their scripts run unchanged.

class ChartFont : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name WRITE setName)
    Q_PROPERTY(double Size READ size WRITE setSize)
    Q_PROPERTY(bool Bold READ bold WRITE setBold)
    Q_CLASSINFO("range:Size", "1 1638")

public:
    using ModelObject::ModelObject;
    ORV_VALUE(QString, name, setName, QStringLiteral("Arial"))
    ORV_VALUE(double, size, setSize, 10.0)
    ORV_VALUE(bool, bold, setBold, false)
};

// LocationType: 0 top left, 1 top, 2 top right, 3 left, 4 right,
// 5 bottom left, 6 bottom, 7 bottom right.
class ChartLocation : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
    Q_PROPERTY(int LocationType READ locationType WRITE setLocationType)
    Q_CLASSINFO("range:LocationType", "0 7")

public:
    using ModelObject::ModelObject;
    ORV_VALUE(bool, visible, setVisible, true)
    ORV_VALUE(int, locationType, setLocationType, 4)
};

class ChartColor : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(int Red READ red WRITE setRed)
    Q_PROPERTY(int Green READ green WRITE setGreen)
    Q_PROPERTY(int Blue READ blue WRITE setBlue)
    Q_CLASSINFO("range:Red", "0 255")
    Q_CLASSINFO("range:Green", "0 255")
    Q_CLASSINFO("range:Blue", "0 255")

public:
    using ModelObject::ModelObject;
    Q_INVOKABLE void Set(int red, int green, int blue)
    {
        setRed(red);
        setGreen(green);
        setBlue(blue);
    }
    ORV_VALUE(int, red, setRed, 255)
    ORV_VALUE(int, green, setGreen, 255)
    ORV_VALUE(int, blue, setBlue, 255)
};

class ChartBrush : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(Orv::ChartColor *FillColor READ fillColor)

public:
    using ModelObject::ModelObject;
    ORV_PART(Orv::ChartColor, fillColor)
};

// Style: 0 no fill, 1 a solid brush.
class ChartFill : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(int Style READ style WRITE setStyle)
    Q_PROPERTY(Orv::ChartBrush *Brush READ brush)
    Q_CLASSINFO("range:Style", "0 1")

public:
    using ModelObject::ModelObject;
    ORV_VALUE(int, style, setStyle, 0)
    ORV_PART(Orv::ChartBrush, brush)
};

class ChartBackdrop : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(Orv::ChartFill *Fill READ fill)

public:
    using ModelObject::ModelObject;
    ORV_PART(Orv::ChartFill, fill)
};

// HorzAlignment: 0 left, 1 right, 2 centre, 3 justified; VertAlignment:
// 0 top, 1 bottom, 2 centre; Orientation: 0 horizontal, 1 vertical,
// 2 upward, 3 downward.
class ChartTextLayout : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(int HorzAlignment READ horzAlignment WRITE setHorzAlignment)
    Q_PROPERTY(int VertAlignment READ vertAlignment WRITE setVertAlignment)
    Q_PROPERTY(int Orientation READ orientation WRITE setOrientation)
    Q_CLASSINFO("range:HorzAlignment", "0 3")
    Q_CLASSINFO("range:VertAlignment", "0 2")
    Q_CLASSINFO("range:Orientation", "0 3")

public:
    using ModelObject::ModelObject;
    ORV_VALUE(int, horzAlignment, setHorzAlignment, 2)
    ORV_VALUE(int, vertAlignment, setVertAlignment, 2)
    ORV_VALUE(int, orientation, setOrientation, 0)
};

class ChartTitle : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(Orv::ChartLocation *Location READ location)
    Q_PROPERTY(Orv::ChartFont *VtFont READ vtFont)
    Q_PROPERTY(Orv::ChartBackdrop *Backdrop READ backdrop)
    Q_PROPERTY(Orv::ChartTextLayout *TextLayout READ textLayout)

public:
    explicit ChartTitle(QObject *parent = nullptr);
    ORV_PART(Orv::ChartLocation, location)
    ORV_PART(Orv::ChartFont, vtFont)
    ORV_PART(Orv::ChartBackdrop, backdrop)
    ORV_PART(Orv::ChartTextLayout, textLayout)
};

class ChartLegend : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(Orv::ChartFont *VtFont READ vtFont)
    Q_PROPERTY(Orv::ChartLocation *Location READ location)

public:
    using ModelObject::ModelObject;
    ORV_PART(Orv::ChartFont, vtFont)
    ORV_PART(Orv::ChartLocation, location)
};

// chartType: 0 3-D bar, 1 2-D bar, 2 3-D line, 3 2-D line, 4 3-D area,
// 5 2-D area, 6 3-D step, 7 2-D step, 14 pie, 16 XY.
//
// The values shown come, in this order of precedence, from ChartData (a
// two-dimensional array set by a script or by the program: records first,
// fields second; a text first field labels the record's category), from
// RowSource (a statement or table run through the report's data control
// connection; ":name" stands for the current row's field or a run
// parameter), or from the report's own rows grouped by GroupField, each of
// ValueFields (separated by semicolons or commas) totalled with SummaryFunc
// (0 sum, 1 average, 2 count, 3 minimum, 4 maximum, 5 var, 6 varp,
// 7 stdev, 8 stdevp). Without ValueFields the rows of each group are
// counted. SeriesNames and SeriesColors (colour numbers or #RRGGBB) are
// lists separated by semicolons; SeriesColors also takes commas.
class Chart : public BoxControl
{
    Q_OBJECT
    Q_PROPERTY(int chartType READ chartType WRITE setChartType)
    Q_PROPERTY(QString TitleText READ titleText WRITE setTitleText)
    Q_PROPERTY(bool ShowLegend READ showLegend WRITE setShowLegend)
    Q_PROPERTY(Orv::ChartTitle *Title READ title)
    Q_PROPERTY(Orv::ChartLegend *Legend READ legend)
    Q_PROPERTY(QString XAxisTitle READ xAxisTitle WRITE setXAxisTitle)
    Q_PROPERTY(QString YAxisTitle READ yAxisTitle WRITE setYAxisTitle)
    Q_PROPERTY(Orv::ChartFont *AxisFont READ axisFont)
    Q_PROPERTY(bool ShowGridLines READ showGridLines WRITE setShowGridLines)
    Q_PROPERTY(bool ShowDataLabels READ showDataLabels WRITE setShowDataLabels)
    Q_PROPERTY(QString ValueFormat READ valueFormat WRITE setValueFormat)
    Q_PROPERTY(QString SeriesNames READ seriesNames WRITE setSeriesNames)
    Q_PROPERTY(QString SeriesColors READ seriesColors WRITE setSeriesColors)
    Q_PROPERTY(QString RowSource READ rowSource WRITE setRowSource)
    Q_PROPERTY(QString GroupField READ groupField WRITE setGroupField)
    Q_PROPERTY(QString ValueFields READ valueFields WRITE setValueFields)
    Q_PROPERTY(int SummaryFunc READ summaryFunc WRITE setSummaryFunc)
    Q_CLASSINFO("range:chartType", "0 16")
    Q_CLASSINFO("range:SummaryFunc", "0 8")
    // For the property list: named values, groups and editors.
    Q_CLASSINFO("values:SummaryFunc", "0 Sum|1 Average|2 Count|3 Minimum|4 Maximum|5 Variance|"
                                      "6 Population Variance|7 Standard Deviation|8 Population Standard Deviation")
    Q_CLASSINFO("category:XAxisTitle", "Appearance")
    Q_CLASSINFO("category:YAxisTitle", "Appearance")
    Q_CLASSINFO("category:AxisFont", "Appearance")
    Q_CLASSINFO("category:ShowGridLines", "Appearance")
    Q_CLASSINFO("category:ShowDataLabels", "Appearance")
    Q_CLASSINFO("category:ValueFormat", "Appearance")
    Q_CLASSINFO("category:SeriesNames", "Appearance")
    Q_CLASSINFO("category:SeriesColors", "Appearance")
    Q_CLASSINFO("category:RowSource", "Data")
    Q_CLASSINFO("category:GroupField", "Data")
    Q_CLASSINFO("category:ValueFields", "Data")
    Q_CLASSINFO("category:SummaryFunc", "Data")
    Q_CLASSINFO("editor:RowSource", "longtext")
    ORV_CONTROL_TYPE("OrvEngine.Chart")

public:
    explicit Chart(QObject *parent = nullptr);
    ORV_VALUE(int, chartType, setChartType, 1)
    ORV_VALUE(QString, titleText, setTitleText, QString())
    ORV_VALUE(bool, showLegend, setShowLegend, false)
    ORV_PART(Orv::ChartTitle, title)
    ORV_PART(Orv::ChartLegend, legend)
    ORV_VALUE(QString, xAxisTitle, setXAxisTitle, QString())
    ORV_VALUE(QString, yAxisTitle, setYAxisTitle, QString())
    ORV_PART(Orv::ChartFont, axisFont)
    ORV_VALUE(bool, showGridLines, setShowGridLines, true)
    ORV_VALUE(bool, showDataLabels, setShowDataLabels, false)
    ORV_VALUE(QString, valueFormat, setValueFormat, QString())
    ORV_VALUE(QString, seriesNames, setSeriesNames, QString())
    ORV_VALUE(QString, seriesColors, setSeriesColors, QString())
    ORV_VALUE(QString, rowSource, setRowSource, QString())
    ORV_VALUE(QString, groupField, setGroupField, QString())
    ORV_VALUE(QString, valueFields, setValueFields, QString())
    ORV_VALUE(int, summaryFunc, setSummaryFunc, 0)

public:
    // ChartData is not a layout property: scripts and programs set it for
    // a run, and it stays on the control until set again. An invalid
    // QVariant means none was set.
    QVariant chartData() const { return property("ChartData"); }
    void setChartData(const QVariant &records) { setProperty("ChartData", records); }
};

} // namespace Orv
