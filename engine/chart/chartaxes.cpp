// Charts with axes: bars, lines, areas and steps over categories, in two
// dimensions or drawn with depth, and XY charts over a numeric x axis.
// Areas and steps stack their series; bars stand side by side.
#include "engine/chart/chart_p.h"

#include <algorithm>
#include <cmath>

namespace Orv::Charts::Internal {

namespace {

constexpr QRgb AxisColour = 0xff808080;
constexpr QRgb GridColour = 0xffd9d9d9;
constexpr QRgb WallColour = 0xfff2f2f2;
constexpr QRgb FloorColour = 0xffe4e4e4;

double finiteOr(double v, double fallback)
{
    return std::isfinite(v) ? v : fallback;
}

// A linear value scale with round tick steps.
struct Scale
{
    double min = 0;
    double max = 1;
    double step = 1;

    // Where v goes between the coordinates of min (from) and max (to).
    double at(double v, double from, double to) const
    {
        return from + (v - min) / (max - min) * (to - from);
    }
    std::vector<double> ticks() const
    {
        std::vector<double> t;
        for (int i = 0; i <= 1000; ++i) {
            const double v = min + i * step;
            if (v > max + step / 1000)
                break;
            t.push_back(std::fabs(v) < step / 1e9 ? 0 : v);
        }
        return t;
    }
};

Scale niceScale(double lo, double hi, int ticks, bool withZero)
{
    if (withZero) {
        lo = std::min(lo, 0.0);
        hi = std::max(hi, 0.0);
    }
    if (!(hi > lo)) {
        const double d = lo == 0 ? 1 : std::fabs(lo) / 2;
        lo -= withZero && lo >= 0 ? 0 : d;
        hi += d;
    }
    const double raw = (hi - lo) / std::max(1, ticks);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 2.5 ? 2.5 : f <= 5 ? 5 : 10;
    Scale s;
    s.step = nice * magnitude;
    s.min = std::floor(lo / s.step + 1e-9) * s.step;
    s.max = std::ceil(hi / s.step - 1e-9) * s.step;
    if (s.max <= s.min)
        s.max = s.min + s.step;
    return s;
}

bool stacked(Kind k)
{
    return k == Area2D || k == Area3D || k == Step2D || k == Step3D;
}

bool threeD(Kind k)
{
    return k == Bar3D || k == Line3D || k == Area3D || k == Step3D;
}

// Kinds whose data labels stand above their bar or point rather than in it.
bool labelsAbove(Kind k)
{
    return k == Bar2D || k == Bar3D || k == Line2D || k == Line3D || k == XY;
}

class AxisChart
{
public:
    AxisChart(Canvas &canvas, const Style &style, const ChartValues &values)
        : c(canvas), st(style), v(values), kind(style.kind), byCategory(coloursByCategory(style.kind, values))
    {
        n = v.categoryCount();
        if (kind == XY) {
            xSeries = v.seriesCount() > 1 ? 0 : -1;
            firstY = v.seriesCount() > 1 ? 1 : 0;
        }
        font = st.axisFont;
        fontH = lineHeight(font);
        gap = fontH / 3;
    }

    void draw(const QRectF &area)
    {
        layout(area);
        if (front.width() <= 0 || front.height() <= 0)
            return;
        drawWalls();
        switch (kind) {
        case Bar2D: case Bar3D: drawBars(); break;
        case Step2D: case Step3D: drawSteps(); break;
        case Line2D: case Line3D: drawLines(); break;
        case Area2D: case Area3D: drawAreas(); break;
        case XY: drawPoints(); break;
        default: break;
        }
        drawAxes();
    }

private:
    double value(int s, int i) const { return v.value(s, i); }

    QRgb seriesColour(int s, int i) const
    {
        return byCategory ? st.colour(i) : st.colour(s - firstY);
    }

    double x(int i) const { return front.left() + (i + 0.5) * slot; }
    double y(double value) const { return yScale.at(value, front.bottom(), front.top()); }
    QPointF back(const QPointF &p) const { return p + QPointF(dx, -dy); }

    // The range of what is drawn: stacked sums for areas and steps.
    void valueRange(double *lo, double *hi) const
    {
        *lo = INFINITY;
        *hi = -INFINITY;
        for (int i = 0; i < n; ++i) {
            double sum = 0;
            for (int s = firstY; s < v.seriesCount(); ++s) {
                const double d = value(s, i);
                if (!std::isfinite(d))
                    continue;
                sum = stacked(kind) ? sum + d : d;
                *lo = std::min(*lo, sum);
                *hi = std::max(*hi, sum);
            }
        }
        if (!std::isfinite(*lo)) {
            *lo = 0;
            *hi = 1;
        }
    }

    void layout(const QRectF &area)
    {
        const double yTitleW = st.yTitle.isEmpty() ? 0 : fontH * 1.3;
        const double xTitleH = st.xTitle.isEmpty() ? 0 : fontH * 1.3;
        double lo = 0, hi = 0;
        valueRange(&lo, &hi);
        const int maxTicks = std::clamp(int(area.height() / (fontH * 2.2)), 2, 10);
        yScale = niceScale(lo, hi, maxTicks, kind != XY);
        double labelW = 0;
        for (double t : yScale.ticks())
            labelW = std::max(labelW, textSize(font, st.formatValue(t)).width());
        labelW = std::min(labelW, area.width() / 3);

        // Room above the plot for half a tick label, or for a whole data
        // label over the highest bar or point.
        const double headroom = st.dataLabels && labelsAbove(kind) ? fontH + gap / 2 : fontH / 2;
        bounds = area;
        QRectF plot(area.left() + yTitleW + labelW + gap, area.top() + headroom, 0, 0);
        plot.setRight(area.right() - fontH / 2);
        depth = threeD(kind) ? std::min(plot.width(), area.height()) * 0.1 : 0;
        dx = depth;
        dy = depth * 0.6;
        const double frontWidth = plot.width() - dx;
        slot = n > 0 ? frontWidth / n : frontWidth;

        // Category labels lie flat when they fit their slot, else turn up.
        double labelH = fontH;
        turned = false;
        labelEvery = 1;
        if (kind == XY) {
            double lx = INFINITY, hx = -INFINITY;
            for (int i = 0; i < n; ++i) {
                const double px = xOf(i);
                if (std::isfinite(px)) {
                    lx = std::min(lx, px);
                    hx = std::max(hx, px);
                }
            }
            if (!std::isfinite(lx))
                lx = 0, hx = 1;
            xScale = niceScale(lx, hx, std::clamp(int(frontWidth / (fontH * 5)), 2, 10), false);
        } else {
            double widest = 0;
            for (const QString &label : v.categories)
                widest = std::max(widest, textSize(font, label).width());
            if (widest > slot * 0.95) {
                turned = true;
                labelH = std::min(widest, area.height() * 0.4);
                labelEvery = std::max(1, int(std::ceil(fontH * 1.1 / std::max(slot, 1.0))));
            }
        }
        plot.setBottom(area.bottom() - xTitleH - labelH - gap);
        front = QRectF(plot.left(), plot.top() + dy, frontWidth, plot.height() - dy);
        labelsTop = front.bottom() + gap;
        xTitleBox = QRectF(front.left(), area.bottom() - xTitleH, front.width(), xTitleH);
        yTitleBox = QRectF(area.left(), front.top(), yTitleW, front.height());
        yLabelBox = QRectF(area.left() + yTitleW, 0, labelW, 0);
    }

    double xOf(int i) const
    {
        return xSeries >= 0 ? value(xSeries, i) : double(i + 1);
    }

    void drawWalls()
    {
        const auto ticks = yScale.ticks();
        if (depth > 0) {
            c.polygon({front.topLeft(), back(front.topLeft()), back(front.bottomLeft()), front.bottomLeft()}, WallColour,
                      Canvas::pen(GridColour));
            c.polygon({back(front.topLeft()), back(front.topRight()), back(front.bottomRight()), back(front.bottomLeft())},
                      WallColour, Canvas::pen(GridColour));
            c.polygon({front.bottomLeft(), front.bottomRight(), back(front.bottomRight()), back(front.bottomLeft())},
                      FloorColour, Canvas::pen(GridColour));
        }
        if (st.gridLines) {
            for (double t : ticks) {
                const QPointF a(front.left(), y(t));
                const QPointF b(front.right(), y(t));
                if (depth > 0) {
                    c.line(a, back(a), Canvas::pen(GridColour));
                    c.line(back(a), back(b), Canvas::pen(GridColour));
                } else {
                    c.line(a, b, Canvas::pen(GridColour));
                }
            }
            if (kind == XY) {
                for (double t : xScale.ticks()) {
                    const double px = xScale.at(t, front.left(), front.right());
                    c.line(QPointF(px, front.top()), QPointF(px, front.bottom()), Canvas::pen(GridColour));
                }
            }
        }
    }

    void drawAxes()
    {
        const PagePen axis = Canvas::pen(AxisColour);
        c.line(front.topLeft(), front.bottomLeft(), axis);
        const double base = kind == XY ? front.bottom() : y(std::clamp(0.0, yScale.min, yScale.max));
        c.line(QPointF(front.left(), base), QPointF(front.right(), base), axis);
        if (depth > 0 && base < front.bottom())
            c.line(front.bottomLeft(), front.bottomRight(), axis);
        for (double t : yScale.ticks()) {
            const double ty = y(t);
            c.line(QPointF(front.left() - gap / 2, ty), QPointF(front.left(), ty), axis);
            c.text(QRectF(yLabelBox.left(), ty - fontH / 2, yLabelBox.width(), fontH), st.formatValue(t), font,
                   Qt::AlignRight | Qt::AlignVCenter);
        }
        if (kind == XY) {
            for (double t : xScale.ticks()) {
                const double px = xScale.at(t, front.left(), front.right());
                c.line(QPointF(px, front.bottom()), QPointF(px, front.bottom() + gap / 2), axis);
                const QString text = st.formatValue(t);
                const double w = std::min(textSize(font, text).width(), fontH * 5);
                // The outer ticks' labels move in rather than leave the chart.
                const QRectF box = keepInside(QRectF(px - w / 2, labelsTop, w, fontH), bounds);
                c.text(box, fitText(font, text, box.width()), font, Qt::AlignHCenter | Qt::AlignTop);
            }
        } else {
            for (int i = 0; i < n; i += labelEvery) {
                const QString &label = v.categories[i];
                if (turned) {
                    const double h = std::max(0.0, xTitleBox.top() - labelsTop);
                    c.text(QRectF(x(i) - fontH / 2, labelsTop, fontH, h), label, font, Qt::AlignRight | Qt::AlignVCenter, 900);
                } else {
                    c.text(QRectF(x(i) - slot / 2, labelsTop, slot, fontH), label, font, Qt::AlignHCenter | Qt::AlignTop);
                }
            }
        }
        c.text(xTitleBox, st.xTitle, font, Qt::AlignCenter);
        c.text(yTitleBox, st.yTitle, font, Qt::AlignCenter, 900);
    }

    // A box with depth: front, top and right side.
    void block(const QRectF &r, QRgb colour)
    {
        const PagePen edge = Canvas::pen(darker(colour, 140));
        c.rect(r, colour, edge);
        if (depth <= 0)
            return;
        c.polygon({r.topLeft(), r.topRight(), back(r.topRight()), back(r.topLeft())}, lighter(colour, 125), edge);
        c.polygon({r.topRight(), r.bottomRight(), back(r.bottomRight()), back(r.topRight())}, darker(colour, 125), edge);
    }

    void label(const QPointF &at, double value, bool below)
    {
        if (!st.dataLabels)
            return;
        const QString text = st.formatValue(value);
        const double w = textSize(font, text).width();
        // Labels of the outer bars and points move in rather than leave the chart.
        const QRectF box = keepInside(QRectF(at.x() - w / 2, below ? at.y() + gap / 2 : at.y() - fontH - gap / 2, w, fontH), bounds);
        c.text(box, fitText(font, text, box.width()), font, Qt::AlignCenter);
    }

    void drawBars()
    {
        const int first = firstY;
        const int count = std::max(1, v.seriesCount() - first);
        const double group = slot * 0.7;
        const double width = group / count;
        const double zero = y(std::clamp(0.0, yScale.min, yScale.max));
        for (int i = 0; i < n; ++i) {
            for (int s = first; s < v.seriesCount(); ++s) {
                const double d = value(s, i);
                if (!std::isfinite(d))
                    continue;
                const double left = x(i) - group / 2 + (s - first) * width;
                const double top = std::min(zero, y(d));
                const QRectF r(left, top, width, std::fabs(y(d) - zero));
                block(r, seriesColour(s, i));
                label(QPointF(r.center().x() + dx / 2, d >= 0 ? r.top() - dy : r.bottom()), d, d < 0);
            }
        }
    }

    void drawSteps()
    {
        for (int i = 0; i < n; ++i) {
            double sum = 0;
            for (int s = firstY; s < v.seriesCount(); ++s) {
                const double d = value(s, i);
                if (!std::isfinite(d))
                    continue;
                const double a = y(sum), b = y(sum + d);
                const QRectF r(front.left() + i * slot, std::min(a, b), slot, std::fabs(a - b));
                block(r, seriesColour(s, i));
                sum += d;
                // A label only where it fits inside its segment.
                if (st.dataLabels && r.height() > fontH && textSize(font, st.formatValue(d)).width() <= r.width())
                    c.text(r, st.formatValue(d), font, Qt::AlignCenter);
            }
        }
    }

    // Runs of consecutive finite points of a series.
    std::vector<std::vector<int>> runs(int s) const
    {
        std::vector<std::vector<int>> out(1);
        for (int i = 0; i < n; ++i) {
            if (std::isfinite(value(s, i)))
                out.back().push_back(i);
            else if (!out.back().empty())
                out.emplace_back();
        }
        return out;
    }

    void marker(const QPointF &p, QRgb colour)
    {
        const double r = fontH * 0.18;
        c.ellipse(QRectF(p.x() - r, p.y() - r, 2 * r, 2 * r), colour, Canvas::pen(darker(colour, 140)));
    }

    void drawLines()
    {
        const double width = fontH * 0.12;
        for (int s = v.seriesCount() - 1; s >= 0; --s) {
            const QRgb colour = st.colour(s);
            for (const std::vector<int> &run : runs(s)) {
                std::vector<QPointF> points;
                for (int i : run)
                    points.emplace_back(x(i), y(value(s, i)));
                if (depth > 0) {
                    // A ribbon: one face per segment, then its front edge.
                    for (size_t k = 0; k + 1 < points.size(); ++k)
                        c.polygon({points[k], points[k + 1], back(points[k + 1]), back(points[k])}, lighter(colour, 115),
                                  Canvas::pen(darker(colour, 130)));
                    c.polyline(points, Canvas::pen(darker(colour, 130), width / 2));
                } else {
                    c.polyline(points, Canvas::pen(colour, width));
                    if (n <= 40)
                        for (const QPointF &p : points)
                            marker(p, colour);
                }
                for (size_t k = 0; k < points.size(); ++k)
                    label(points[k], value(s, run[k]), false);
            }
        }
    }

    void drawAreas()
    {
        std::vector<double> below(size_t(n), 0.0);
        for (int s = 0; s < v.seriesCount(); ++s) {
            std::vector<double> above(below);
            for (int i = 0; i < n; ++i)
                above[size_t(i)] += finiteOr(value(s, i), 0);
            const QRgb colour = st.colour(s);
            const PagePen edge = Canvas::pen(darker(colour, 140));
            std::vector<QPointF> outline;
            for (int i = 0; i < n; ++i)
                outline.emplace_back(x(i), y(above[size_t(i)]));
            if (n == 1) {
                // One category: a block across its slot.
                block(QRectF(QPointF(front.left() + slot * 0.15, y(above[0])), QPointF(front.left() + slot * 0.85, y(below[0]))).normalized(),
                      colour);
            } else {
                if (depth > 0) {
                    const QPointF end(x(n - 1), y(below[size_t(n - 1)]));
                    c.polygon({outline.back(), end, back(end), back(outline.back())}, darker(colour, 125), edge);
                    for (int i = 0; i + 1 < n; ++i)
                        c.polygon({outline[size_t(i)], outline[size_t(i + 1)], back(outline[size_t(i + 1)]), back(outline[size_t(i)])},
                                  lighter(colour, 125), edge);
                }
                std::vector<QPointF> shape = outline;
                for (int i = n - 1; i >= 0; --i)
                    shape.emplace_back(x(i), y(below[size_t(i)]));
                c.polygon(std::move(shape), colour, edge);
            }
            for (int i = 0; i < n; ++i) {
                // A label only where it fits between this series' line and the one below.
                const QString text = st.dataLabels && std::isfinite(value(s, i)) ? st.formatValue(value(s, i)) : QString();
                if (!text.isEmpty() && std::fabs(y(above[size_t(i)]) - y(below[size_t(i)])) > fontH
                    && textSize(font, text).width() <= slot)
                    c.text(QRectF(x(i) - slot / 2, (y(above[size_t(i)]) + y(below[size_t(i)])) / 2 - fontH / 2, slot, fontH), text,
                           font, Qt::AlignCenter);
            }
            below = std::move(above);
        }
    }

    void drawPoints()
    {
        for (int s = firstY; s < v.seriesCount(); ++s) {
            const QRgb colour = st.colour(s - firstY);
            for (int i = 0; i < n; ++i) {
                const double px = xOf(i), py = value(s, i);
                if (!std::isfinite(px) || !std::isfinite(py))
                    continue;
                const QPointF p(xScale.at(px, front.left(), front.right()), y(py));
                marker(p, colour);
                label(p, py, false);
            }
        }
    }

    Canvas &c;
    const Style &st;
    const ChartValues &v;
    Kind kind;
    bool byCategory;
    int n = 0;
    int xSeries = -1;
    int firstY = 0;
    PageFont font;
    double fontH = 0;
    double gap = 0;
    Scale yScale;
    Scale xScale;
    QRectF front;
    double depth = 0, dx = 0, dy = 0;
    double slot = 0;
    bool turned = false;
    int labelEvery = 1;
    double labelsTop = 0;
    QRectF xTitleBox, yTitleBox, yLabelBox;
    QRectF bounds; // the area given: nothing is drawn outside it
};

} // namespace

void drawAxisChart(Canvas &canvas, const Style &style, const ChartValues &values, const QRectF &area)
{
    AxisChart(canvas, style, values).draw(area);
}

} // namespace Orv::Charts::Internal
