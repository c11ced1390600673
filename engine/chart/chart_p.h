#pragma once
// Shared by the chart drawing files: the settings read off the control, the
// operations being written, text measuring and the parts every kind uses.
#include "engine/chart/chartrenderer.h"
#include "engine/pages/page.h"
#include "engine/vbformat/vbformat.h"

#include <QColor>

#include <vector>

namespace Orv::Charts::Internal {

// Everything the layout needs of a Chart, converted once.
struct Style
{
    Kind kind = Bar2D;
    QRgb back = 0; // alpha 0: transparent

    QString title;
    bool showTitle = false;
    PageFont titleFont;
    int titleLocation = 1; // LocationType: 0 top left ... 7 bottom right
    int titleHorz = 2;     // 0 left, 1 right, 2 centre, 3 justified
    int titleVert = 2;     // 0 top, 1 bottom, 2 centre
    int titleOrientation = 0; // 0 horizontal, 1 vertical, 2 upward, 3 downward
    QRgb titleBack = 0;

    bool showLegend = false;
    PageFont legendFont;
    int legendLocation = 4;

    PageFont axisFont;
    QString xTitle;
    QString yTitle;
    bool gridLines = true;
    bool dataLabels = false;
    VbFormat::CompiledFormat valueFormat;
    std::vector<QRgb> colours; // given series colours; the palette after them
    QStringList seriesNames;   // names given in place of the data's

    QRgb colour(int index) const;
    QString formatValue(double value) const;
};

Style styleOf(const Chart &chart);
QRgb colourOf(int colourNumber);
// Colour numbers or #RRGGBB, separated by semicolons or commas.
std::vector<QRgb> parseColours(const QString &list);

QRgb lighter(QRgb c, int percent);
QRgb darker(QRgb c, int percent);

// Writes drawing operations into a page.
class Canvas
{
public:
    explicit Canvas(Page &page) : m_page(page) {}

    void rect(const QRectF &r, QRgb fill, const PagePen &pen = noPen());
    void line(const QPointF &a, const QPointF &b, const PagePen &pen);
    void polygon(std::vector<QPointF> points, QRgb fill, const PagePen &pen = noPen());
    void polyline(std::vector<QPointF> points, const PagePen &pen);
    void ellipse(const QRectF &r, QRgb fill, const PagePen &pen = noPen());
    void pie(const QRectF &r, double start, double span, QRgb fill, const PagePen &pen);
    // angle in tenths of a degree, counter-clockwise; box is where the
    // text stands on the page (for a quarter turn, tall and narrow).
    void text(const QRectF &box, const QString &text, const PageFont &font, Qt::Alignment alignment,
              int angle = 0, QRgb colour = 0xff000000);

    static PagePen noPen() { return PagePen{0, 0, Qt::NoPen}; }
    static PagePen pen(QRgb colour, double width = 0) { return PagePen{colour, width, Qt::SolidLine}; }

private:
    Page &m_page;
};

// The natural size of a text on one line (twips).
QSizeF textSize(const PageFont &font, const QString &text);
double lineHeight(const PageFont &font);
// The text as it fits a width: whole when it does, else cut with an ellipsis.
QString fitText(const PageFont &font, const QString &text, double width);
// The box moved (and, when larger, shrunk) to lie within bounds.
QRectF keepInside(const QRectF &box, const QRectF &bounds);

// Where each part of a chart goes.
struct Legend
{
    QStringList labels;
    std::vector<QRgb> colours;
    bool lines = false; // entries show a line rather than a box
};

// Takes the legend's room from area (by the location) and draws it.
void drawLegend(Canvas &canvas, const Style &style, const Legend &legend, QRectF *area);

// Whether bars, steps and pies take a colour per category (a pie, or one
// series of bars or steps) rather than one per series.
bool coloursByCategory(Kind kind, const ChartValues &values);
// The legend a chart shows: categories when coloured by category, else
// the series (for XY, the series after the first, which holds x).
Legend legendFor(const Style &style, const ChartValues &values);

// The kinds, drawn into the plot area left after the title and legend.
void drawAxisChart(Canvas &canvas, const Style &style, const ChartValues &values, const QRectF &area);
void drawPieChart(Canvas &canvas, const Style &style, const ChartValues &values, const QRectF &area);

} // namespace Orv::Charts::Internal
