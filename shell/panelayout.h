#pragma once
// Where the main window's panes go, in pixels, by the window's rules in
// twips: the designer at least 1500 twips wide, the splitter dragged no
// closer than 500 twips to either window edge, the viewer 120 twips above
// the page bottom and the debug list 60 twips below the viewer.
#include <QRect>

namespace Orv::PaneLayout {

constexpr int TwipsPerPixel = 15; // 96 dpi
constexpr int MinDesignerTwips = 1500;
constexpr int DragMarginTwips = 500;
constexpr int ViewerGapTwips = 120;
constexpr int DebugGapTwips = 60;
constexpr int SplitterWidth = 5; // pixels

constexpr int pixels(int twips) { return twips / TwipsPerPixel; }

// The bar's left edge while it is dragged to mouseX (relative to the
// splitter's left edge), in a window windowWidth wide.
int dragPosition(int splitterLeft, int mouseX, int windowWidth);
// The splitter position the design page is laid out with.
int splitterPosition(int requested);

struct DesignPage
{
    QRect coolbar, designer, splitter, propertyList;
};
DesignPage designPage(const QSize &page, int coolbarHeight, int splitterPos, bool propertyListVisible);

struct PreviewPage
{
    QRect coolbar, viewer, debugList;
};
// debugHeight 0 hides the debug list.
PreviewPage previewPage(const QSize &page, int coolbarHeight, int debugHeight);

} // namespace Orv::PaneLayout
