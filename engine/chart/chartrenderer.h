#pragma once
// Chart drawing. A chart is laid out into page drawing operations (texts,
// lines, rectangles, polygons, pie slices in twips), so that it stays
// vector in PDF and every export filter sees its parts. The report run
// adds those operations to its pages; the designer paints a chart, or a
// sample chart of its kind, straight onto a QPainter with the same layout.
#include "engine/chart/chartvalues.h"

#include <QRectF>

class QPainter;

namespace Orv {
class Chart;
struct Page;
}

namespace Orv::Charts {

// chartType values; others draw as a 2-D bar chart.
enum Kind { Bar3D = 0, Bar2D = 1, Line3D = 2, Line2D = 3, Area3D = 4, Area2D = 5, Step3D = 6, Step2D = 7,
            Pie = 14, XY = 16 };
Kind kindOf(int chartType);

// The note an empty chart shows in its frame.
QString noDataNote();

// Appends the chart's drawing operations to page->ops, positioned in rect
// (twips); text operations index page->fonts, which gets the fonts they
// need. Empty values (or all Null) draw the frame with the note.
void renderChart(const Chart &chart, const ChartValues &values, const QRectF &rect, Page *page);

// Paints the chart into target (the painter's coordinates). It is laid out
// at the control's size in twips and scaled to target, so that texts keep
// their size relative to the chart at any zoom.
void paintChart(QPainter &painter, const QRectF &target, const Chart &chart, const ChartValues &values);

// The design-time picture: the chart with sample values of its kind.
void paintChartPreview(QPainter &painter, const QRectF &target, const Chart &chart);

} // namespace Orv::Charts
