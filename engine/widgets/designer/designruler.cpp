#include "engine/widgets/designer/designruler.h"

#include "engine/core/units.h"
#include "engine/model/control.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designscene.h"
#include "engine/widgets/designer/designview.h"

#include <QPainter>

#include <cmath>

namespace Orv {

DesignRuler::DesignRuler(Qt::Orientation orientation, DesignView *view)
    : QWidget(view)
    , m_orientation(orientation)
    , m_view(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Ticks for positions from..to (ruler pixels) of a scale starting at
// origin (ruler pixels) with scale pixels per twip.
void DesignRuler::drawScale(QPainter &p, double from, double to, double origin, double scale)
{
    const bool metric = m_view->core()->metricGrid();
    const double unit = metric ? Units::TwipsPerCm : Units::TwipsPerInch;
    const int parts = metric ? 10 : 8;
    const double unitPixels = unit * scale;
    // Fewer subdivisions when they would crowd together.
    int step = 1;
    while (step < parts && unitPixels * step / parts < 5)
        step *= 2;
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int extent = horizontal ? height() : width();
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    const int first = int(std::floor((from - origin) / unitPixels * parts));
    const int last = int(std::ceil((to - origin) / unitPixels * parts));
    for (int i = std::max(first, 0); i <= last; ++i) {
        if (i % step != 0 && i % parts != 0)
            continue;
        const double at = origin + i * unitPixels / parts;
        if (at < from || at > to)
            continue;
        const bool major = i % parts == 0;
        const bool half = !major && (2 * i) % parts == 0;
        const int length = major ? extent - 4 : half ? extent / 3 : extent / 5;
        const int pos = int(std::lround(at));
        if (horizontal)
            p.drawLine(pos, extent - 1, pos, extent - 1 - length);
        else
            p.drawLine(extent - 1, pos, extent - 1 - length, pos);
        if (major && i > 0 && unitPixels >= 18) {
            const QString label = QString::number(i / parts);
            if (horizontal)
                p.drawText(QPointF(pos + 2, 10), label);
            else
                p.drawText(QPointF(2, pos + 10), label);
        }
    }
}

void DesignRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(236, 236, 236));
    const DesignScene *scene = m_view->designScene();
    const double scale = m_view->zoom() / Units::TwipsPerPixel;
    const bool horizontal = m_orientation == Qt::Horizontal;

    // The selection's extent.
    QRectF selection;
    for (const Control *c : m_view->core()->selectedControls()) {
        const QRectF r = scene->sceneRectOf(c);
        selection = selection.isNull() ? r : selection.united(r);
    }
    p.setPen(QColor(90, 90, 90));
    if (horizontal) {
        const double origin = m_view->mapFromScene(QPointF(0, 0)).x();
        if (!selection.isNull()) {
            const double a = m_view->mapFromScene(selection.topLeft()).x();
            const double b = m_view->mapFromScene(selection.bottomRight()).x();
            p.fillRect(QRectF(a, 0, std::max(1.0, b - a), height()), QColor(200, 215, 240));
        }
        const double widthEnd = m_view->mapFromScene(QPointF(scene->printWidth(), 0)).x();
        p.fillRect(QRectF(origin, 0, widthEnd - origin, 2), QColor(255, 255, 255));
        drawScale(p, 0, width(), origin, scale);
    } else {
        for (const BandGeometry &band : scene->bands()) {
            const double barTop = m_view->mapFromScene(QPointF(0, band.barTop)).y();
            const double top = m_view->mapFromScene(QPointF(0, band.bodyTop)).y();
            const double bottom = m_view->mapFromScene(QPointF(0, band.bodyBottom())).y();
            if (bottom < 0 || barTop > height())
                continue;
            p.fillRect(QRectF(0, barTop, width(), top - barTop), QColor(210, 214, 222));
            if (!selection.isNull() && selection.top() >= band.bodyTop && selection.top() <= band.bodyBottom()) {
                const double a = m_view->mapFromScene(selection.topLeft()).y();
                const double b = m_view->mapFromScene(selection.bottomRight()).y();
                p.fillRect(QRectF(0, a, width(), std::max(1.0, b - a)), QColor(200, 215, 240));
            }
            p.setPen(QColor(90, 90, 90));
            drawScale(p, std::max(0.0, top), std::min<double>(height(), bottom), top, scale);
        }
    }
    p.setPen(QColor(160, 160, 160));
    if (horizontal)
        p.drawLine(0, height() - 1, width(), height() - 1);
    else
        p.drawLine(width() - 1, 0, width() - 1, height());
}

} // namespace Orv
