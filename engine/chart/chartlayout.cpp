// The frame of a chart: background, title, legend and the plot area the
// kinds draw into; the settings read off the control; painting onto a
// QPainter for the designer.
#include "engine/chart/chart_p.h"

#include "engine/core/units.h"
#include "engine/model/chart.h"
#include "engine/pages/fontresolver.h"
#include "engine/pages/pagepainter.h"

#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace Orv::Charts {

using namespace Internal;

namespace {

// Colours for series (or categories) that the control does not name.
constexpr QRgb Palette[] = {0xff4472c4, 0xffed7d31, 0xffa5a5a5, 0xffffc000, 0xff5b9bd5, 0xff70ad47,
                            0xff264478, 0xff9e480e, 0xff636363, 0xff997300, 0xff255e91, 0xff43682b};

PageFont pageFont(const ChartFont *f)
{
    PageFont font;
    font.family = f->name().isEmpty() ? QStringLiteral("Arial") : f->name();
    font.pointSize = f->size();
    font.bold = f->bold();
    return font;
}

// The size a text takes turned by an orientation.
QSizeF orientedSize(const QString &text, const PageFont &font, int orientation)
{
    if (orientation == 1) {
        // Stacked letters: one per line.
        double width = 0;
        for (const QChar ch : text)
            width = std::max(width, textSize(font, QString(ch)).width());
        return QSizeF(width, lineHeight(font) * text.size());
    }
    const QSizeF s = textSize(font, text);
    return orientation == 2 || orientation == 3 ? s.transposed() : s;
}

// Places the title in area and takes its room.
void drawTitle(Canvas &canvas, const Style &style, QRectF *area)
{
    if (!style.showTitle)
        return;
    const int location = style.titleLocation;
    const bool side = location == 3 || location == 4;
    const int orientation = style.titleOrientation;
    QString text = style.title;
    if (orientation == 1) {
        QString stacked;
        for (const QChar ch : style.title)
            stacked += stacked.isEmpty() ? QString(ch) : QStringLiteral("\n") + ch;
        text = stacked;
    }
    const QSizeF natural = orientedSize(style.title, style.titleFont, orientation);
    const double gap = lineHeight(style.titleFont) / 3;
    QRectF band;
    if (side) {
        const double w = std::min(natural.width(), area->width() / 3);
        band = location == 3 ? QRectF(area->left(), area->top(), w, area->height())
                             : QRectF(area->right() - w, area->top(), w, area->height());
        if (location == 3)
            area->setLeft(band.right() + gap);
        else
            area->setRight(band.left() - gap);
    } else {
        const double h = std::min(natural.height(), area->height() / 3);
        const bool bottom = location >= 5;
        band = bottom ? QRectF(area->left(), area->bottom() - h, area->width(), h)
                      : QRectF(area->left(), area->top(), area->width(), h);
        if (bottom)
            area->setBottom(band.top() - gap);
        else
            area->setTop(band.bottom() + gap);
    }
    // Corners put the title at their end; otherwise the text layout says.
    int horz = style.titleHorz;
    if (location == 0 || location == 5)
        horz = 0;
    else if (location == 2 || location == 7)
        horz = 1;
    const double w = std::min(natural.width(), band.width());
    const double h = std::min(natural.height(), band.height());
    double x = band.left() + (band.width() - w) / 2;
    if (horz == 0)
        x = band.left();
    else if (horz == 1)
        x = band.right() - w;
    double y = band.top() + (band.height() - h) / 2;
    if (side && style.titleVert == 0)
        y = band.top();
    else if (side && style.titleVert == 1)
        y = band.bottom() - h;
    const QRectF box(x, y, w, h);
    if (qAlpha(style.titleBack))
        canvas.rect(box.adjusted(-gap / 2, -gap / 4, gap / 2, gap / 4), style.titleBack);
    const int angle = orientation == 2 ? 900 : orientation == 3 ? -900 : 0;
    canvas.text(box, text, style.titleFont, Qt::AlignCenter, angle);
}

void drawEmpty(Canvas &canvas, const Style &style, const QRectF &area)
{
    canvas.rect(area, 0, Canvas::pen(0xffa0a0a0));
    canvas.text(area, noDataNote(), style.axisFont, Qt::AlignCenter, 0, 0xff808080);
}

} // namespace

namespace Internal {

QRgb Style::colour(int index) const
{
    if (index < 0)
        index = 0;
    if (size_t(index) < colours.size())
        return colours[size_t(index)];
    return Palette[size_t(index) % std::size(Palette)];
}

QString Style::formatValue(double value) const
{
    if (!std::isfinite(value))
        return QString();
    // Whole numbers as integers, so that an empty format does not print 1E+15 style text for counts.
    if (valueFormat.text().isEmpty() && value == std::round(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return valueFormat.apply(QVariant(value));
}

QRgb colourOf(int c)
{
    if (c < 0)
        return 0xffffffff;
    return qRgb(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

std::vector<QRgb> parseColours(const QString &list)
{
    std::vector<QRgb> out;
    for (QString item : list.split(QRegularExpression(QStringLiteral("[;,]")))) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        if (item.startsWith(QLatin1Char('#'))) {
            const QColor c = QColor::fromString(item);
            out.push_back(c.isValid() ? c.rgb() : Palette[out.size() % std::size(Palette)]);
            continue;
        }
        bool ok = false;
        qint64 n = item.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) ? item.mid(2).toLongLong(&ok, 16)
                                                                              : item.toLongLong(&ok);
        out.push_back(ok && n >= 0 && n <= 0xffffff ? colourOf(int(n)) : Palette[out.size() % std::size(Palette)]);
    }
    return out;
}

QRgb lighter(QRgb c, int percent)
{
    return QColor::fromRgba(c).lighter(percent).rgba();
}

QRgb darker(QRgb c, int percent)
{
    return QColor::fromRgba(c).darker(percent).rgba();
}

Style styleOf(const Chart &chart)
{
    Style s;
    s.kind = kindOf(chart.chartType());
    s.back = chart.backStyle() == BackStyle::Opaque ? colourOf(chart.backColor()) : 0;
    const ChartTitle *t = chart.title();
    s.title = chart.titleText();
    s.showTitle = t->location()->visible() && !s.title.trimmed().isEmpty();
    s.titleFont = pageFont(t->vtFont());
    s.titleLocation = t->location()->locationType();
    s.titleHorz = t->textLayout()->horzAlignment();
    s.titleVert = t->textLayout()->vertAlignment();
    s.titleOrientation = t->textLayout()->orientation();
    const ChartFill *fill = t->backdrop()->fill();
    if (fill->style() == 1) {
        const ChartColor *c = fill->brush()->fillColor();
        s.titleBack = qRgb(c->red(), c->green(), c->blue());
    }
    s.showLegend = chart.showLegend() && chart.legend()->location()->visible();
    s.legendFont = pageFont(chart.legend()->vtFont());
    s.legendLocation = chart.legend()->location()->locationType();
    s.axisFont = pageFont(chart.axisFont());
    s.xTitle = chart.xAxisTitle();
    s.yTitle = chart.yAxisTitle();
    s.gridLines = chart.showGridLines();
    s.dataLabels = chart.showDataLabels();
    s.valueFormat = VbFormat::CompiledFormat(chart.valueFormat());
    s.colours = parseColours(chart.seriesColors());
    if (!chart.seriesNames().trimmed().isEmpty()) {
        for (const QString &name : chart.seriesNames().split(QLatin1Char(';')))
            s.seriesNames << name.trimmed();
    }
    return s;
}

void Canvas::rect(const QRectF &r, QRgb fill, const PagePen &pen)
{
    ShapeOp op;
    op.rect = r;
    op.fill = fill;
    op.pen = pen;
    m_page.ops.push_back(op);
}

void Canvas::line(const QPointF &a, const QPointF &b, const PagePen &pen)
{
    LineOp op;
    op.from = a;
    op.to = b;
    op.pen = pen;
    m_page.ops.push_back(op);
}

void Canvas::polygon(std::vector<QPointF> points, QRgb fill, const PagePen &pen)
{
    if (points.size() < 2)
        return;
    PolygonOp op;
    op.points = std::move(points);
    op.fill = fill;
    op.pen = pen;
    m_page.ops.push_back(std::move(op));
}

void Canvas::polyline(std::vector<QPointF> points, const PagePen &pen)
{
    const size_t before = m_page.ops.size();
    polygon(std::move(points), 0, pen);
    if (m_page.ops.size() > before)
        std::get<PolygonOp>(m_page.ops.back()).closed = false;
}

void Canvas::ellipse(const QRectF &r, QRgb fill, const PagePen &pen)
{
    ShapeOp op;
    op.kind = ShapeOp::Ellipse;
    op.rect = r;
    op.fill = fill;
    op.pen = pen;
    m_page.ops.push_back(op);
}

void Canvas::pie(const QRectF &r, double start, double span, QRgb fill, const PagePen &pen)
{
    PieOp op;
    op.rect = r;
    op.startAngle = start;
    op.spanAngle = span;
    op.fill = fill;
    op.pen = pen;
    m_page.ops.push_back(op);
}

void Canvas::text(const QRectF &box, const QString &text, const PageFont &font, Qt::Alignment alignment, int angle,
                  QRgb colour)
{
    if (text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    TextOp op;
    op.rect = box;
    op.text = text;
    op.font = m_page.fontIndex(font);
    op.foreColor = colour;
    op.alignment = alignment;
    op.wrap = false;
    op.angle = angle;
    m_page.ops.push_back(std::move(op));
}

QSizeF textSize(const PageFont &font, const QString &text)
{
    const auto entry = FontResolver::instance().resolve(font);
    double width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        width = std::max(width, entry->metrics.horizontalAdvance(line));
    // A little slack, so that a box measured here never clips its text.
    return QSizeF(std::ceil(width + font.pointSize), entry->metrics.height() * lines.size());
}

double lineHeight(const PageFont &font)
{
    return FontResolver::instance().resolve(font)->metrics.height();
}

QString fitText(const PageFont &font, const QString &text, double width)
{
    if (textSize(font, text).width() <= width)
        return text;
    // textSize adds a point of slack; elide within the same margin.
    const auto entry = FontResolver::instance().resolve(font);
    return entry->metrics.elidedText(text, Qt::ElideRight, std::max(0.0, width - font.pointSize - 1));
}

QRectF keepInside(const QRectF &box, const QRectF &bounds)
{
    QRectF r = box;
    r.setWidth(std::min(r.width(), bounds.width()));
    r.setHeight(std::min(r.height(), bounds.height()));
    r.moveLeft(std::clamp(r.left(), bounds.left(), bounds.right() - r.width()));
    r.moveTop(std::clamp(r.top(), bounds.top(), bounds.bottom() - r.height()));
    return r;
}

bool coloursByCategory(Kind kind, const ChartValues &values)
{
    if (kind == Pie)
        return true;
    const bool columns = kind == Bar2D || kind == Bar3D || kind == Step2D || kind == Step3D;
    return columns && values.seriesCount() == 1;
}

Legend legendFor(const Style &style, const ChartValues &values)
{
    Legend legend;
    if (coloursByCategory(style.kind, values)) {
        legend.labels = values.categories;
        for (int c = 0; c < values.categoryCount(); ++c)
            legend.colours.push_back(style.colour(c));
        return legend;
    }
    const int first = style.kind == XY && values.seriesCount() > 1 ? 1 : 0;
    legend.lines = style.kind == Line2D || style.kind == Line3D;
    for (int s = first; s < values.seriesCount(); ++s) {
        const int index = s - first;
        legend.labels << (index < style.seriesNames.size() && !style.seriesNames[index].isEmpty()
                              ? style.seriesNames[index]
                              : values.seriesNames.value(s));
        legend.colours.push_back(style.colour(index));
    }
    return legend;
}

void drawLegend(Canvas &canvas, const Style &style, const Legend &legend, QRectF *area)
{
    const int n = int(legend.labels.size());
    if (!style.showLegend || n == 0)
        return;
    const PageFont &font = style.legendFont;
    const double line = lineHeight(font);
    const double swatch = line * 0.6;
    const double pad = line / 3;
    const int location = style.legendLocation;
    const bool row = location == 1 || location == 6;
    double widest = 0;
    std::vector<double> widths;
    for (const QString &label : legend.labels) {
        widths.push_back(textSize(font, label).width());
        widest = std::max(widest, widths.back());
    }
    const double entryExtra = swatch + pad;
    QRectF box;
    std::vector<QRectF> entries;
    if (row) {
        // Entries left to right, wrapping onto further rows.
        const double room = area->width() - 2 * pad;
        std::vector<std::vector<int>> rows(1);
        double x = 0;
        for (int i = 0; i < n; ++i) {
            const double w = std::min(widths[size_t(i)] + entryExtra, room);
            if (x > 0 && x + w > room) {
                rows.emplace_back();
                x = 0;
            }
            rows.back().push_back(i);
            x += w + pad * 2;
        }
        const double height = std::min(rows.size() * line + 2 * pad, area->height() / 2);
        const int shownRows = std::max(1, int((height - 2 * pad) / line));
        double boxWidth = 0;
        for (int r = 0; r < shownRows && r < int(rows.size()); ++r) {
            double w = 0;
            for (int i : rows[size_t(r)])
                w += std::min(widths[size_t(i)] + entryExtra, room) + pad * 2;
            boxWidth = std::max(boxWidth, w);
        }
        boxWidth = std::min(boxWidth + pad, area->width());
        const double top = location == 1 ? area->top() : area->bottom() - height;
        box = QRectF(area->center().x() - boxWidth / 2, top, boxWidth, height);
        entries.assign(size_t(n), QRectF());
        for (int r = 0; r < shownRows && r < int(rows.size()); ++r) {
            double ex = box.left() + pad;
            for (int i : rows[size_t(r)]) {
                const double w = std::min(widths[size_t(i)] + entryExtra, room);
                entries[size_t(i)] = QRectF(ex, box.top() + pad + r * line, w, line);
                ex += w + pad * 2;
            }
        }
        if (location == 1)
            area->setTop(box.bottom() + pad);
        else
            area->setBottom(box.top() - pad);
    } else {
        const double width = std::min(widest + entryExtra + 2 * pad, area->width() * 0.4);
        const double height = std::min(n * line + 2 * pad, area->height());
        const bool left = location == 0 || location == 3 || location == 5;
        const double x = left ? area->left() : area->right() - width;
        double y = area->top() + (area->height() - height) / 2;
        if (location == 0 || location == 2)
            y = area->top();
        else if (location == 5 || location == 7)
            y = area->bottom() - height;
        box = QRectF(x, y, width, height);
        const int shown = std::max(0, int((height - 2 * pad) / line));
        for (int i = 0; i < n; ++i)
            entries.push_back(i < shown ? QRectF(x + pad, y + pad + i * line, width - 2 * pad, line) : QRectF());
        if (left)
            area->setLeft(box.right() + pad);
        else
            area->setRight(box.left() - pad);
    }
    canvas.rect(box, 0xffffffff, Canvas::pen(0xffa0a0a0));
    for (int i = 0; i < n; ++i) {
        const QRectF &e = entries[size_t(i)];
        if (e.isEmpty())
            continue; // no room left
        const QRgb colour = legend.colours[size_t(i)];
        const double cy = e.center().y();
        if (legend.lines)
            canvas.line(QPointF(e.left(), cy), QPointF(e.left() + swatch, cy), Canvas::pen(colour, line / 8));
        else
            canvas.rect(QRectF(e.left(), cy - swatch / 2, swatch, swatch), colour, Canvas::pen(darker(colour, 130)));
        canvas.text(QRectF(e.left() + entryExtra, e.top(), std::max(0.0, e.width() - entryExtra), e.height()),
                    legend.labels[i], font, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

} // namespace Internal

Kind kindOf(int chartType)
{
    switch (chartType) {
    case Bar3D: case Bar2D: case Line3D: case Line2D: case Area3D: case Area2D: case Step3D: case Step2D:
    case Pie: case XY:
        return Kind(chartType);
    default:
        return Bar2D;
    }
}

QString noDataNote()
{
    return QStringLiteral("No chart data");
}

void renderChart(const Chart &chart, const ChartValues &values, const QRectF &rect, Page *page)
{
    if (!page || rect.width() <= 0 || rect.height() <= 0)
        return;
    const Style style = styleOf(chart);
    Canvas canvas(*page);
    if (qAlpha(style.back))
        canvas.rect(rect, style.back);
    const double pad = std::min({90.0, rect.width() / 20, rect.height() / 20});
    QRectF area = rect.adjusted(pad, pad, -pad, -pad);
    drawTitle(canvas, style, &area);
    if (values.isEmpty()) {
        drawEmpty(canvas, style, area);
        return;
    }
    // The legend takes its room first but is drawn last, over the plot.
    const size_t legendStart = page->ops.size();
    drawLegend(canvas, style, legendFor(style, values), &area);
    const size_t legendEnd = page->ops.size();
    if (area.width() >= 60 && area.height() >= 60) { // else nothing legible fits
        if (style.kind == Pie)
            drawPieChart(canvas, style, values, area);
        else
            drawAxisChart(canvas, style, values, area);
    }
    std::rotate(page->ops.begin() + qsizetype(legendStart), page->ops.begin() + qsizetype(legendEnd), page->ops.end());
}

void paintChart(QPainter &painter, const QRectF &target, const Chart &chart, const ChartValues &values)
{
    if (target.isEmpty())
        return;
    QSizeF size(chart.width(), chart.height());
    if (size.width() <= 0 || size.height() <= 0)
        size = target.size() * Units::TwipsPerPixel;
    Page page;
    page.size = size;
    renderChart(chart, values, QRectF(QPointF(0, 0), size), &page);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    PagePainter().paintInTwips(painter, page);
    painter.restore();
}

void paintChartPreview(QPainter &painter, const QRectF &target, const Chart &chart)
{
    paintChart(painter, target, chart, sampleValues(chart.chartType()));
}

} // namespace Orv::Charts
