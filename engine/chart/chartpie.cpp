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
    QStringList labels;
    double labelW = 0;
    if (style.dataLabels) {
        for (int i = 0; i < n; ++i) {
            const double d = values.value(0, i);
            const QString text = std::isfinite(d) && d > 0
                                     ? QStringLiteral("%1 (%2%)").arg(style.formatValue(d), QString::number(100 * d / total, 'f', 1))
                                     : QString();
            labels << text;
            labelW = std::max(labelW, textSize(font, text).width());
        }
    }
    // Labels stand outside the pie: leave them room on every side.
    const double marginX = style.dataLabels ? std::min(labelW + fontH / 2, area.width() / 4) : 0;
    const double marginY = style.dataLabels ? fontH * 1.5 : 0;
    const double diameter = std::max(0.0, std::min(area.width() - 2 * marginX, area.height() - 2 * marginY));
    const QRectF pie(area.center().x() - diameter / 2, area.center().y() - diameter / 2, diameter, diameter);
    double start = 90;
    for (int i = 0; i < n; ++i) {
        const double d = values.value(0, i);
        if (!std::isfinite(d) || d <= 0)
            continue;
        const double span = -360 * d / total;
        const QRgb colour = style.colour(i);
        canvas.pie(pie, start, span, colour, Canvas::pen(0xffffffff, fontH / 20));
        if (style.dataLabels) {
            const double mid = qDegreesToRadians(start + span / 2);
            const double r = diameter / 2 + fontH / 2;
            const QPointF at(pie.center().x() + r * std::cos(mid), pie.center().y() - r * std::sin(mid));
            const QSizeF size = textSize(font, labels[i]);
            // Left of the pie the label ends at the point, right of it starts there.
            const double left = std::cos(mid) < -0.1 ? at.x() - size.width()
                                : std::cos(mid) > 0.1 ? at.x() : at.x() - size.width() / 2;
            const double top = std::sin(mid) > 0.1 ? at.y() - size.height()
                               : std::sin(mid) < -0.1 ? at.y() : at.y() - size.height() / 2;
            canvas.text(QRectF(left, top, size.width(), size.height()), labels[i], font, Qt::AlignCenter);
        }
        start += span;
    }
}

} // namespace Orv::Charts::Internal
