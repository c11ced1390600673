#include "viewerpages.h"

using namespace Orv;

namespace ViewerPages {

TextOp text(double left, double top, const QString &s, double width)
{
    TextOp op;
    op.rect = QRectF(left, top, width, 300);
    op.text = s;
    op.wrap = false;
    return op;
}

Page page(int n, const std::function<QString(int)> &extra)
{
    Page p;
    p.size = QSizeF(12240, 15840);
    p.fontIndex(PageFont{});
    p.ops.push_back(text(1440, 1440, QStringLiteral("Page %1").arg(n + 1)));
    for (int r = 0; r < 5; ++r)
        p.ops.push_back(text(1440, 2160 + r * 360, QStringLiteral("Row %1.%2").arg(n).arg(r)));
    if (extra) {
        const QString more = extra(n);
        if (!more.isEmpty())
            p.ops.push_back(text(1440, 4680, more, 9000));
    }
    return p;
}

void fill(PageCollection &pages, int count, const std::function<QString(int)> &extra)
{
    pages.setMemoryPageLimit(8);
    for (int n = 0; n < count; ++n)
        pages.append(page(n, extra));
}

} // namespace ViewerPages
