#include "engine/widgets/viewer/viewerruler.h"

#include "engine/core/units.h"

#include <QPainter>

#include <cmath>

namespace Orv {

ViewerRuler::ViewerRuler(Qt::Orientation orientation, QWidget *parent) : QWidget(parent), m_orientation(orientation)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ViewerRuler::setMapping(double origin, double extent, double scale)
{
    if (origin == m_origin && extent == m_extent && scale == m_scale)
        return;
    m_origin = origin;
    m_extent = extent;
    m_scale = scale;
    update();
}

void ViewerRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int length = horizontal ? width() : height();
    const QColor outside = palette().color(QPalette::Mid);
    const QColor paper = palette().color(QPalette::Base);
    const QColor ink = palette().color(QPalette::Text);
    p.fillRect(rect(), outside);
    // The page's own stretch is light.
    const double a = qMax(0.0, m_origin);
    const double b = qMin(double(length), m_origin + m_extent);
    if (b > a)
        p.fillRect(horizontal ? QRectF(a, 0, b - a, height()) : QRectF(0, a, width(), b - a), paper);

    const double inch = Units::TwipsPerInch * m_scale; // pixels per inch
    if (inch <= 0)
        return;
    // The finest division with at least 5 pixels between ticks.
    int divisions = 8;
    while (divisions > 1 && inch / divisions < 5)
        divisions /= 2;
    // Labels every inch, or every few when inches are narrow.
    int labelEvery = 1;
    while (inch * labelEvery < 28)
        labelEvery *= 2;
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    p.setPen(ink);
    const double step = inch / divisions;
    const long first = long(std::floor(-m_origin / step));
    const long last = long(std::ceil((length - m_origin) / step));
    const int thickness = horizontal ? height() : width();
    for (long i = first; i <= last; ++i) {
        const double at = m_origin + i * step;
        const long inches = i >= 0 ? i / divisions : -((-i + divisions - 1) / divisions);
        const bool whole = i % divisions == 0;
        const bool half = !whole && divisions >= 2 && (i % divisions) * 2 % divisions == 0;
        const int tick = whole ? thickness / 2 : half ? thickness / 3 : thickness / 5;
        if (horizontal)
            p.drawLine(QLineF(at, thickness - tick, at, thickness));
        else
            p.drawLine(QLineF(thickness - tick, at, thickness, at));
        if (whole && inches != 0 && inches % labelEvery == 0) {
            const QString label = QString::number(std::labs(inches));
            if (horizontal) {
                p.drawText(QRectF(at + 2, 0, 40, thickness / 2 + 2), Qt::AlignLeft | Qt::AlignVCenter, label);
            } else {
                p.drawText(QRectF(1, at + 1, thickness / 2 + 2, 12), Qt::AlignLeft | Qt::AlignTop, label);
            }
        }
    }
    p.setPen(outside.darker(130));
    if (horizontal)
        p.drawLine(0, height() - 1, width(), height() - 1);
    else
        p.drawLine(width() - 1, 0, width() - 1, height());
}

} // namespace Orv
