#include "engine/pages/page.h"

#include <algorithm>

namespace Orv {

int Page::fontIndex(const PageFont &font)
{
    // Pages hold a handful of fonts, so a linear search beats hashing.
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == font)
            return int(i);
    }
    fonts.push_back(font);
    return int(fonts.size() - 1);
}

QRectF PolygonOp::bounds() const
{
    if (points.empty())
        return QRectF();
    double left = points.front().x(), right = left, top = points.front().y(), bottom = top;
    for (const QPointF &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace Orv
