#pragma once
// What the viewer shows and where, without a widget: zoom and fit modes,
// the page layouts (continuous, one page at a time, a grid of pages), the
// scroll position, the current page and the back/forward history. The
// widget feeds it the viewport size, the page count and user scrolling,
// and paints what it says; tests drive it directly.
//
// Every page is laid out in a cell of one size (the largest page seen so
// far), so finding the pages under a scroll position is arithmetic and
// never reads a page: a report of 10,000 pages costs what one of 10 does.
// Positions are in device-independent pixels of content, 96 per inch at
// 100 percent.
#include "engine/core/status.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QSizeF>

#include <deque>

namespace Orv {

class ViewerNavigator : public QObject
{
    Q_OBJECT

public:
    enum Layout {
        Continuous, // pages follow each other down one strip
        OnePage,    // the current page alone; scrolling past its edge turns pages
        Grid        // rows x columns of pages fitted to the window
    };

    // Zoom property values besides percentages.
    static constexpr int PageWidth = -1;
    static constexpr int WholePage = -2;
    static constexpr int MinZoom = 25;
    static constexpr int MaxZoom = 800;
    static constexpr int ZoomStep = 25;
    static constexpr int Margin = 12;      // pixels around the pages
    static constexpr int PageGap = 12;     // pixels between pages (single page layouts)
    static constexpr int HistoryLimit = 100;

    explicit ViewerNavigator(QObject *parent = nullptr);

    // Inputs.
    void setViewportSize(const QSize &size);
    QSize viewportSize() const { return m_viewport; }
    void setPageCount(int count);
    int pageCount() const { return m_count; }
    // The cell every page is laid out in, in twips. notePageSize grows it
    // when a larger page turns up (true when the layout changed).
    void setCellSize(const QSizeF &twips);
    bool notePageSize(const QSizeF &twips);
    QSizeF cellSize() const { return m_cell; }
    // Forgets pages, history and position (a new page collection).
    void reset();

    // Zoom: 25 to 800 percent, or PageWidth / WholePage.
    int zoom() const { return m_zoom; }
    Status setZoom(int zoom);
    // The same, keeping the content under a viewport point in place.
    Status setZoomAt(int zoom, const QPoint &viewportPoint);
    // What the zoom buttons do: from a fit mode go to 100; else the next
    // multiple of 25 up or down, within 25..800.
    static int zoomedIn(int zoom);
    static int zoomedOut(int zoom);
    // Pixels per twip as shown, and the same as a percentage.
    double scale() const { return m_scale; }
    double effectiveZoom() const;

    // Layouts. singlePage: 1 one page at a time, 2 continuous.
    // grid: rows and columns 1..10, gap between pages 0..50 millimetres.
    Status setSinglePage(int mode);
    Status setGrid(int rows, int columns, int gapMm);
    Layout layout() const { return m_layout; }
    bool isMultiPage() const { return m_layout == Grid; }
    // The single page layout in use, or to go back to from the grid (1 or 2).
    int singlePageMode() const { return m_singleLayout == OnePage ? 1 : 2; }
    int gridRows() const { return m_rows; }
    int gridColumns() const { return m_columns; }

    // The current page (0-based; 0 when there are none).
    int current() const { return m_current; }
    // Goes to a page, recording the page left in the history. yTwips, when
    // not negative, scrolls that height of the page to the top.
    Status goTo(int index, double yTwips = -1);
    // The same, scrolling so that an area of the page (twips) is in view:
    // left as it is when the page's top shows it, else a third of the way
    // down the window.
    Status goToArea(int index, const QRectF &twips);
    bool canGoBack() const { return !m_back.empty(); }
    bool canGoForward() const { return !m_forward.empty(); }
    bool back();
    bool forward();
    // Next/previous screen of pages (PgDn/PgUp): one page, or one grid.
    void pageDown();
    void pageUp();

    // Geometry, in content pixels.
    QSize contentSize() const;
    qint64 contentHeight() const;
    QPoint scrollPosition() const { return QPoint(m_scrollX, int(qMin<qint64>(m_scrollY, INT_MAX))); }
    qint64 scrollY() const { return m_scrollY; }
    int scrollX() const { return m_scrollX; }
    qint64 maxScrollY() const;
    int maxScrollX() const;
    // The user scrolled (scroll bars, wheel, keys, dragging): the current
    // page follows what is shown.
    void scrollTo(int x, qint64 y);
    // Wheel and arrow keys: in the one-page layout, going on past the top
    // or bottom edge turns to the previous or next page.
    void scrollBy(int dx, int dy, bool turnPages);
    // Where page index lies (its cell, content coordinates), and its own
    // rectangle in that cell for a page of the given size.
    QRect cellRect(int index) const;
    QRect pageRect(int index, const QSizeF &pageTwips) const;
    // First and last page that touch the viewport (first > last: none).
    std::pair<int, int> visiblePages() const;
    // The page under a point of the viewport, or -1.
    int pageAt(const QPoint &viewportPoint) const;
    // Maps content to viewport coordinates.
    QPoint toViewport(const QPoint &content) const;

Q_SIGNALS:
    void pageChanged(int index);
    void zoomChanged(int zoom);
    void viewModeChanged(bool multiPage);
    void historyChanged();
    // Scale, content size or scroll position changed: repaint.
    void layoutChanged();

private:
    struct Anchor
    {
        int page = 0;
        double fx = 0.5; // where in the cell, as fractions
        double fy = 0;
        QPoint at;       // the viewport point it was under
    };
    Anchor anchorAt(const QPoint &viewportPoint) const;
    void restore(const Anchor &anchor);
    void relayout(const Anchor &anchor);
    double computeScale() const;
    int cellWidth() const;
    int cellHeight() const;
    int gap() const;
    int columns() const;
    qint64 rowPitch() const;
    int rowOf(int index) const;
    void clampScroll();
    void setCurrent(int index);
    void show(int index, double yTwips);
    void followScroll();
    void record(int left);

    QSize m_viewport{800, 600};
    int m_count = 0;
    QSizeF m_cell{12240, 15840};
    int m_zoom = 100;
    double m_scale = 0;
    Layout m_layout = Continuous;
    Layout m_singleLayout = Continuous;
    int m_rows = 2;
    int m_columns = 2;
    int m_gridGap = 12;
    int m_current = 0;
    int m_scrollX = 0;
    qint64 m_scrollY = 0;
    std::deque<int> m_back;
    std::deque<int> m_forward;
};

} // namespace Orv
