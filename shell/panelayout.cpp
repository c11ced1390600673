#include "shell/panelayout.h"

#include <algorithm>

namespace Orv::PaneLayout {

int dragPosition(int splitterLeft, int mouseX, int windowWidth)
{
    const int left = splitterLeft + mouseX;
    const int high = windowWidth - pixels(DragMarginTwips);
    return std::max(pixels(DragMarginTwips), std::min(left, high));
}

int splitterPosition(int requested)
{
    return std::max(requested, pixels(MinDesignerTwips));
}

DesignPage designPage(const QSize &page, int coolbarHeight, int splitterPos, bool propertyListVisible)
{
    DesignPage out;
    const int top = coolbarHeight;
    const int height = std::max(0, page.height() - top);
    out.coolbar = QRect(0, 0, page.width(), coolbarHeight);
    if (!propertyListVisible) {
        out.designer = QRect(0, top, page.width(), height);
        return out;
    }
    const int pos = splitterPosition(splitterPos);
    out.designer = QRect(0, top, pos, height);
    out.splitter = QRect(pos, top, SplitterWidth, height);
    const int listLeft = pos + SplitterWidth;
    out.propertyList = QRect(listLeft, top, std::max(0, page.width() - listLeft), height);
    return out;
}

PreviewPage previewPage(const QSize &page, int coolbarHeight, int debugHeight)
{
    PreviewPage out;
    out.coolbar = QRect(0, 0, page.width(), coolbarHeight);
    const int gap = debugHeight > 0 ? pixels(DebugGapTwips) + debugHeight : 0;
    const int viewerHeight = std::max(0, page.height() - coolbarHeight - pixels(ViewerGapTwips) - gap);
    out.viewer = QRect(0, coolbarHeight, page.width(), viewerHeight);
    if (debugHeight > 0)
        out.debugList = QRect(0, out.viewer.bottom() + 1 + pixels(DebugGapTwips), page.width(), debugHeight);
    return out;
}

} // namespace Orv::PaneLayout
