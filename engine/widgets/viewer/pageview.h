#pragma once
// The scrolling page area of the viewer. It paints what the navigator
// lays out: only the pages in view, from cached images; a page not yet
// rendered is made during the paint while the frame has time, else shown
// blank (or from an image at another zoom) and made on the next pass.
// Pages next to the view are rendered ahead while the window is idle.
#include "engine/core/status.h"
#include "engine/pages/page.h"
#include "engine/widgets/viewer/pageimagecache.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <unordered_map>

namespace Orv {

class PageCollection;
class ViewerNavigator;
class ViewerRuler;

class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Time a paint may spend rendering pages before it leaves the rest
    // for the next pass.
    static constexpr int FrameBudgetMs = 8;

    PageView(ViewerNavigator *navigator, QWidget *parent = nullptr);
    ~PageView() override;

    // A new collection (or the same one cleared): forgets every image.
    void setPages(const PageCollection *pages);
    void setRulerVisible(bool visible);
    bool rulerVisible() const { return m_rulerVisible; }
    // Marks a found text: boxes in twips on a page (page -1: none).
    void setHighlight(int page, const QList<QRectF> &rects);

    PageImageCache &cache() { return m_cache; }
    // The last paint: pages rendered in it, and whether everything in view
    // was ready by its end.
    int renderedInLastPaint() const { return m_renderedLast; }
    bool lastPaintComplete() const { return m_completeLast; }
    // The size of a page as far as the view knows it (twips).
    QSizeF pageSize(int index) const;

Q_SIGNALS:
    void pageClicked(int index);
    void pageDoubleClicked(int index);
    void escapePressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct Frame
    {
        QElapsedTimer clock;
        int rendered = 0;
        bool complete = true;
        bool mayRender() const { return rendered == 0 || clock.elapsed() < FrameBudgetMs; }
    };
    void syncScrollBars();
    void layoutRulers();
    void updateRulers();
    void paintPage(QPainter &p, int index, Frame &frame);
    std::shared_ptr<const Page> load(int index, Status *status);
    void prefetch();
    void zoomStep(int direction, const QPoint &at);
    double deviceScale() const;

    ViewerNavigator *m_nav;
    QPointer<const PageCollection> m_pages;
    PageImageCache m_cache;
    // Sizes of pages that differ from the navigator's cell.
    std::unordered_map<int, QSizeF> m_sizes;
    ViewerRuler *m_hRuler;
    ViewerRuler *m_vRuler;
    QWidget *m_corner;
    bool m_rulerVisible = false;
    bool m_syncing = false;
    qint64 m_unit = 1; // content pixels per vertical scroll bar step
    int m_highlightPage = -1;
    QList<QRectF> m_highlight;
    QTimer m_more;     // a paint left pages blank
    QTimer m_ahead;    // idle: render neighbouring pages
    int m_lastDirection = 1;
    int m_renderedLast = 0;
    bool m_completeLast = true;
    QPoint m_pressAt;
    QPoint m_pressScroll;
    qint64 m_pressScrollY = 0;
    bool m_dragging = false;
    bool m_pressed = false;
};

} // namespace Orv
