#pragma once
// The scrolling page area of the viewer. It paints what the navigator
// lays out: only the pages in view, from cached images. Pages are
// rendered on worker threads, never while painting: a page not ready yet
// shows as blank paper (or as its image at the last zoom) and is painted
// when its image arrives. When nothing in view is missing, the pages just
// ahead in the direction of travel are rendered in advance.
#include "engine/core/status.h"
#include "engine/pages/page.h"
#include "engine/widgets/viewer/pageimagecache.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QThreadPool>

#include <unordered_map>
#include <unordered_set>

namespace Orv {

class PageCollection;
class ViewerNavigator;
class ViewerRuler;

class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    PageView(ViewerNavigator *navigator, QWidget *parent = nullptr);
    ~PageView() override;

    // A new collection (or the same one cleared): forgets every image.
    void setPages(const PageCollection *pages);
    void setRulerVisible(bool visible);
    bool rulerVisible() const { return m_rulerVisible; }
    // Marks a found text: boxes in twips on a page (page -1: none).
    void setHighlight(int page, const QList<QRectF> &rects);

    // Pages made again by their source: their images are made anew.
    void pagesChanged(int first, int last);

    PageImageCache &cache() { return m_cache; }
    // The most bytes of page images kept (at least a few windows full, so
    // the pages in view do not push each other out).
    void setCacheBudget(qint64 bytes);
    qint64 cacheBudget() const { return m_budget; }
    // Whether the last paint found every page in view rendered, and how
    // many images the workers have delivered so far.
    bool lastPaintComplete() const { return m_completeLast; }
    int rendersPending() const { return int(m_inFlight.size()); }
    qint64 rendersDone() const { return m_rendersDone; }
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
    struct Wanted
    {
        TileKey key;
        QRect area; // device pixels of the page; empty: the whole page
    };
    void syncScrollBars();
    void layoutRulers();
    void updateRulers();
    void paintPage(QPainter &p, int index, bool *complete);
    std::shared_ptr<const Page> load(int index, Status *status);
    // Starts renders: what the last paint missed first, then pages ahead.
    void pump();
    bool start(const Wanted &wanted);
    void delivered(const TileKey &key, const QImage &image, quint64 generation, int version);
    void applyBudget();
    int versionOf(int page) const;
    void zoomStep(int direction, const QPoint &at);
    double deviceScale() const;

    ViewerNavigator *m_nav;
    QPointer<const PageCollection> m_pages;
    PageImageCache m_cache;
    qint64 m_budget = PageImageCache::DefaultBudget;
    // How often a page was made again (pages never changed are not here):
    // a render of an older version is dropped.
    std::unordered_map<int, int> m_versions;
    // Sizes of pages that differ from the navigator's cell.
    std::unordered_map<int, QSizeF> m_sizes;
    // Pages that could not be read, with the reason.
    std::unordered_map<int, QString> m_failed;
    QThreadPool m_pool;
    std::unordered_set<TileKey, TileKeyHash> m_inFlight;
    std::vector<Wanted> m_wanted; // missing in the last paint, in paint order
    std::vector<TileKey> m_shownTiles; // tiles in view in the last paint
    qint64 m_rendersDone = 0;
    quint64 m_generation = 0; // counts setPages calls
    ViewerRuler *m_hRuler;
    ViewerRuler *m_vRuler;
    QWidget *m_corner;
    bool m_rulerVisible = false;
    bool m_syncing = false;
    qint64 m_unit = 1; // content pixels per vertical scroll bar step
    int m_highlightPage = -1;
    QList<QRectF> m_highlight;
    int m_lastDirection = 1;
    bool m_completeLast = true;
    QPoint m_pressAt;
    QPoint m_pressScroll;
    qint64 m_pressScrollY = 0;
    bool m_dragging = false;
    bool m_pressed = false;
};

} // namespace Orv
