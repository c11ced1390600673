// Pie charts: the first series, one slice per category with a positive
// value, starting at twelve o'clock and going clockwise.
#include "engine/chart/chart_p.h"

#include <QtMath>

#include <cmath>

namespace Orv::Charts::Internal {

void drawPieChart(Canvas &canvas, const Style &style, const ChartValues &values, const QRectF &area)
{
    const int n = values.categoryCount();
    double total = 0;
    for (int i = 0; i < n; ++i) {
        const double d = values.value(0, i);
        if (std::isfinite(d) && d > 0)
            total += d;
    }
    if (!(total > 0)) {
        canvas.rect(area, 0, Canvas::pen(0xffa0a0a0));
        canvas.text(area, noDataNote(), style.axisFont, Qt::AlignCenter, 0, 0xff808080);
        return;
    }
    const PageFont &font = style.axisFont;
    const double fontH = lineHeight(font);
    const double fullDiameter = std::max(0.0, std::min(area.width(), area.height()));

    // Data labels stand outside the pie, each at the middle of its slice:
    // the pie shrinks until every label's box lies within the area.
    struct Label
    {
        QString text;
        QSizeF size;
        double mid = 0; // radians, counter-clockwise from three o'clock
    };
    std::vector<Label> labels(size_t(std::max(0, n)));
    {
        double start = 90;
        for (int i = 0; i < n; ++i) {
            const double d = values.value(0, i);
            if (!std::isfinite(d) || d <= 0)
                continue;
            const double span = -360 * d / total;
            Label &l = labels[size_t(i)];
            l.mid = qDegreesToRadians(start + span / 2);
            if (style.dataLabels) {
                l.text = QStringLiteral("%1 (%2%)").arg(style.formatValue(d), QString::number(100 * d / total, 'f', 1));
                l.size = textSize(font, l.text);
            }
            start += span;
        }
    }
    const QPointF centre = area.center();
    const auto boxAt = [&](const Label &l, double diameter) {
        const double r = diameter / 2 + fontH / 2;
        const double c = std::cos(l.mid), s = std::sin(l.mid);
        const QPointF at(centre.x() + r * c, centre.y() - r * s);
        // Left of the pie the label ends at the point, right of it starts there.
        const double left = c < -0.1 ? at.x() - l.size.width() : c > 0.1 ? at.x() : at.x() - l.size.width() / 2;
        const double top = s > 0.1 ? at.y() - l.size.height() : s < -0.1 ? at.y() : at.y() - l.size.height() / 2;
        return QRectF(QPointF(left, top), l.size);
    };
    const QRectF room = area.adjusted(-0.5, -0.5, 0.5, 0.5);
    const auto labelsFit = [&](double diameter) {
        for (const Label &l : labels)
            if (!l.text.isEmpty() && !room.contains(boxAt(l, diameter)))
                return false;
        return true;
    };
    double diameter = fullDiameter;
    if (style.dataLabels && !labelsFit(diameter)) {
        // Each box moves inwards as the pie shrinks, so the largest pie
        // that fits is found by halving; it keeps at least a third of the
        // area, and labels too wide even then are moved in below.
        double lo = 0, hi = fullDiameter;
        for (int k = 0; k < 24 && hi - lo > 1; ++k) {
            const double m = (lo + hi) / 2;
            (labelsFit(m) ? lo : hi) = m;
        }
        diameter = std::max(lo, fullDiameter / 3);
    }
    const QRectF pie(centre.x() - diameter / 2, centre.y() - diameter / 2, diameter, diameter);
    double start = 90;
    for (int i = 0; i < n; ++i) {
        const double d = values.value(0, i);
        if (!std::isfinite(d) || d <= 0)
            continue;
        const double span = -360 * d / total;
        canvas.pie(pie, start, span, style.colour(i), Canvas::pen(0xffffffff, fontH / 20));
        start += span;
    }
    // Labels after the slices, so that one moved in over the pie stays readable.
    for (const Label &l : labels) {
        if (l.text.isEmpty())
            continue;
        const QRectF box = keepInside(boxAt(l, diameter), area);
        canvas.text(box, fitText(font, l.text, box.width()), font, Qt::AlignCenter);
    }
}

} // namespace Orv::Charts::Internal
