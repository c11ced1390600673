#include "engine/widgets/viewer/pageview.h"

#include "engine/pages/pagecollection.h"
#include "engine/widgets/viewer/viewernavigator.h"
#include "engine/widgets/viewer/viewerruler.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThread>

#include <cmath>

#include <malloc.h>

namespace Orv {

namespace {

constexpr int ScrollStep = 40;      // arrow keys, pixels
constexpr int WheelNotch = 80;      // one wheel notch, pixels
constexpr int PagesAhead = 2;       // rendered ahead of the view when idle
constexpr int MaxThreads = 3;
constexpr int WindowsKept = 3;      // the cache holds at least this many windows full

// A page as a worker draws it: its images come along (image handles are
// shared, the collection itself is not), renumbered into a collection of
// the worker's own.
QImage renderDetached(const Page &page, const std::unordered_map<int, QImage> &images, double scale, const QRect &area)
{
    if (images.empty())
        return renderPage(page, nullptr, scale, area);
    PageCollection shelf;
    std::unordered_map<int, int> index;
    for (const auto &[original, image] : images)
        index[original] = shelf.addImage(image);
    Page copy = page;
    for (PageOp &op : copy.ops)
        if (ImageOp *i = std::get_if<ImageOp>(&op))
            i->image = index.count(i->image) ? index[i->image] : -1;
    return renderPage(copy, &shelf, scale, area);
}

} // namespace

PageView::PageView(ViewerNavigator *navigator, QWidget *parent)
    : QAbstractScrollArea(parent), m_nav(navigator), m_hRuler(new ViewerRuler(Qt::Horizontal, this)),
      m_vRuler(new ViewerRuler(Qt::Vertical, this)), m_corner(new QWidget(this))
{
    setFocusPolicy(Qt::StrongFocus);
    // Always there, so fit modes do not make it come and go.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_corner->setAutoFillBackground(true);
    m_corner->setBackgroundRole(QPalette::Mid);
    m_hRuler->hide();
    m_vRuler->hide();
    m_corner->hide();
    // One core stays for the window itself.
    m_pool.setMaxThreadCount(qBound(1, QThread::idealThreadCount() - 1, MaxThreads));
    connect(m_nav, &ViewerNavigator::layoutChanged, this, [this] {
        syncScrollBars();
        updateRulers();
        viewport()->update();
    });
    connect(m_nav, &ViewerNavigator::pageChanged, this, &PageView::updateRulers);
    m_nav->setViewportSize(viewport()->size());
}

PageView::~PageView()
{
    // No worker may deliver to a view that is gone.
    m_pool.clear();
    m_pool.waitForDone();
}

void PageView::setPages(const PageCollection *pages)
{
    m_pages = pages;
    m_cache.clear();
    m_sizes.clear();
    m_failed.clear();
    m_versions.clear();
    m_wanted.clear();
    // Renders under way are for the old pages: what they bring is dropped.
    m_inFlight.clear();
    ++m_generation;
    m_highlightPage = -1;
    m_highlight.clear();
    viewport()->update();
}

void PageView::pagesChanged(int first, int last)
{
    const auto [shownFirst, shownLast] = m_nav->visiblePages();
    for (int i = first; i <= last; ++i) {
        ++m_versions[i];
        m_cache.removePage(i);
        m_sizes.erase(i);
        m_failed.erase(i);
    }
    if (m_highlightPage >= first && m_highlightPage <= last)
        setHighlight(-1, {});
    if (first <= shownLast && last >= shownFirst)
        viewport()->update();
}

int PageView::versionOf(int page) const
{
    const auto found = m_versions.find(page);
    return found == m_versions.end() ? 0 : found->second;
}

void PageView::setCacheBudget(qint64 bytes)
{
    m_budget = qMax<qint64>(0, bytes);
    applyBudget();
}

void PageView::applyBudget()
{
    const double dpr = devicePixelRatioF();
    const qint64 window = qint64(viewport()->width() * dpr + PageImageCache::TileSize)
                          * qint64(viewport()->height() * dpr + PageImageCache::TileSize) * 4;
    m_cache.setBudget(qMax(m_budget, WindowsKept * window));
}

QSizeF PageView::pageSize(int index) const
{
    const auto found = m_sizes.find(index);
    return found != m_sizes.end() ? found->second : m_nav->cellSize();
}

void PageView::setHighlight(int page, const QList<QRectF> &rects)
{
    m_highlightPage = page;
    m_highlight = rects;
    viewport()->update();
}

double PageView::deviceScale() const
{
    return m_nav->scale() * devicePixelRatioF();
}

// ---- scroll bars and rulers -------------------------------------------------

void PageView::syncScrollBars()
{
    m_syncing = true;
    const QSize port = viewport()->size();
    // Scroll bars count in int: very tall documents scroll in coarser steps.
    m_unit = qMax<qint64>(1, m_nav->contentHeight() / 1000000000 + 1);
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, int(m_nav->maxScrollY() / m_unit));
    v->setPageStep(int(qMax<qint64>(1, port.height() / m_unit)));
    v->setSingleStep(int(qMax<qint64>(1, ScrollStep / m_unit)));
    v->setValue(int(m_nav->scrollY() / m_unit));
    QScrollBar *h = horizontalScrollBar();
    h->setRange(0, m_nav->maxScrollX());
    h->setPageStep(port.width());
    h->setSingleStep(ScrollStep);
    h->setValue(m_nav->scrollX());
    m_syncing = false;
}

void PageView::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    const QScrollBar *v = verticalScrollBar();
    const qint64 y = v->value() == v->maximum() ? m_nav->maxScrollY() : qint64(v->value()) * m_unit;
    m_lastDirection = y >= m_nav->scrollY() ? 1 : -1;
    m_nav->scrollTo(horizontalScrollBar()->value(), y);
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layoutRulers();
}

bool PageView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        applyBudget();
        m_nav->setViewportSize(viewport()->size());
        layoutRulers();
        syncScrollBars();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void PageView::setRulerVisible(bool visible)
{
    if (visible == m_rulerVisible)
        return;
    m_rulerVisible = visible;
    const int t = visible ? ViewerRuler::Thickness : 0;
    setViewportMargins(t, t, 0, 0);
    m_hRuler->setVisible(visible);
    m_vRuler->setVisible(visible);
    m_corner->setVisible(visible);
    layoutRulers();
    updateRulers();
}

void PageView::layoutRulers()
{
    if (!m_rulerVisible)
        return;
    const QRect port = viewport()->geometry();
    const int t = ViewerRuler::Thickness;
    m_hRuler->setGeometry(port.left(), port.top() - t, port.width(), t);
    m_vRuler->setGeometry(port.left() - t, port.top(), t, port.height());
    m_corner->setGeometry(port.left() - t, port.top() - t, t, t);
}

void PageView::updateRulers()
{
    if (!m_rulerVisible || m_nav->pageCount() == 0)
        return;
    const int current = m_nav->current();
    const QRect page = m_nav->pageRect(current, pageSize(current));
    m_hRuler->setMapping(page.left(), page.width(), m_nav->scale());
    m_vRuler->setMapping(page.top(), page.height(), m_nav->scale());
}

// ---- painting ----------------------------------------------------------------

std::shared_ptr<const Page> PageView::load(int index, Status *status)
{
    if (!m_pages)
        return nullptr;
    std::shared_ptr<const Page> page = m_pages->page(index, status);
    if (page && page->size != m_nav->cellSize() && !page->size.isEmpty()) {
        m_sizes[index] = page->size;
        m_nav->notePageSize(page->size);
    }
    return page;
}

void PageView::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().color(QPalette::Dark));
    bool complete = true;
    m_wanted.clear();
    m_shownTiles.clear();
    if (m_pages && m_nav->pageCount() > 0) {
        const auto [first, last] = m_nav->visiblePages();
        for (int i = first; i <= last; ++i)
            paintPage(p, i, &complete);
        // What is shown and the pages either side stay in the cache.
        m_cache.setPinned(first - 1, last + 1, PageImageCache::scaleKey(deviceScale()), std::move(m_shownTiles));
        m_shownTiles.clear();
        const double s = m_nav->scale();
        if (m_highlightPage >= first && m_highlightPage <= last) {
            const QRect page = m_nav->pageRect(m_highlightPage, pageSize(m_highlightPage));
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QColor(230, 120, 0));
            for (const QRectF &r : std::as_const(m_highlight)) {
                const QRectF box = QRectF(page.left() + r.left() * s, page.top() + r.top() * s, r.width() * s,
                                          r.height() * s).adjusted(-1, -1, 1, 1);
                p.fillRect(box, QColor(255, 190, 0, 110));
                p.drawRect(box);
            }
        }
        if (m_nav->isMultiPage()) {
            const int current = m_nav->current();
            if (current >= first && current <= last) {
                p.setPen(QPen(palette().color(QPalette::Highlight), 3));
                p.setBrush(Qt::NoBrush);
                p.drawRect(m_nav->pageRect(current, pageSize(current)).adjusted(-2, -2, 1, 1));
            }
        }
    }
    m_completeLast = complete;
    pump();
}

void PageView::paintPage(QPainter &p, int index, bool *complete)
{
    const QRect port = viewport()->rect();
    const QRect rect = m_nav->pageRect(index, pageSize(index));
    if (!rect.intersects(port))
        return;
    p.fillRect(rect.translated(3, 3), QColor(0, 0, 0, 70));
    const auto failed = m_failed.find(index);
    if (failed != m_failed.end()) {
        p.fillRect(rect, Qt::white);
        p.setPen(QColor(160, 0, 0));
        p.drawText(rect.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                   tr("第 %1 页无法显示：%2").arg(index + 1).arg(failed->second));
    } else {
        const double dpr = devicePixelRatioF();
        const double scale = deviceScale();
        const qint64 key = PageImageCache::scaleKey(scale);
        const QSizeF twips = pageSize(index);
        const QSize pixels(int(std::ceil(twips.width() * scale)), int(std::ceil(twips.height() * scale)));
        if (!PageImageCache::tiled(pixels)) {
            const TileKey tile{index, key, -1};
            if (const QImage *image = m_cache.find(tile)) {
                p.drawImage(rect.topLeft(), *image);
            } else {
                // Stand-in: the page at another zoom, or blank paper.
                if (const QImage *other = m_cache.anyWholePage(index))
                    p.drawImage(QRectF(rect), *other);
                else
                    p.fillRect(rect, Qt::white);
                m_wanted.push_back({tile, QRect()});
                *complete = false;
            }
        } else {
            const int side = PageImageCache::TileSize;
            const int columns = (pixels.width() + side - 1) / side;
            const QRect shown = rect.intersected(port).translated(-rect.topLeft());
            const int left = int(shown.left() * dpr) / side;
            const int right = int(std::ceil((shown.right() + 1) * dpr) - 1) / side;
            const int top = int(shown.top() * dpr) / side;
            const int bottom = int(std::ceil((shown.bottom() + 1) * dpr) - 1) / side;
            for (int ty = top; ty <= bottom; ++ty) {
                for (int tx = left; tx <= right; ++tx) {
                    const TileKey tile{index, key, ty * columns + tx};
                    m_shownTiles.push_back(tile);
                    const QPointF at = QPointF(rect.topLeft()) + QPointF(tx * side, ty * side) / dpr;
                    if (const QImage *image = m_cache.find(tile)) {
                        p.drawImage(at, *image);
                    } else {
                        p.fillRect(QRectF(at, QSizeF(side, side) / dpr).intersected(QRectF(rect)), Qt::white);
                        m_wanted.push_back({tile, QRect(tx * side, ty * side, side, side)});
                        *complete = false;
                    }
                }
            }
        }
    }
    p.setPen(QColor(0, 0, 0, 100));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
}

void PageView::pump()
{
    if (!m_pages)
        return;
    const int capacity = m_pool.maxThreadCount();
    for (const Wanted &w : m_wanted) {
        if (int(m_inFlight.size()) >= capacity)
            return;
        if (!m_inFlight.count(w.key))
            start(w);
    }
    if (!m_wanted.empty() || !m_inFlight.empty() || !isVisible() || m_nav->pageCount() == 0)
        return;
    // Nothing in view is missing: one page ahead at a time, in the
    // direction of travel (a grid's next screen), and the one behind.
    const auto [first, last] = m_nav->visiblePages();
    const int count = m_nav->pageCount();
    const int step = m_nav->isMultiPage() ? m_nav->gridColumns() * m_nav->gridRows() : 1;
    std::vector<int> ahead;
    for (int k = 1; k <= PagesAhead * step; ++k)
        ahead.push_back(m_lastDirection > 0 ? last + k : first - k);
    ahead.push_back(m_lastDirection > 0 ? first - 1 : last + 1);
    const double scale = deviceScale();
    const qint64 key = PageImageCache::scaleKey(scale);
    // Only when the pages ahead fit the cache beside those in view.
    const QSizeF cell = m_nav->cellSize() * scale;
    if (qint64(ahead.size()) * qint64(cell.width() * cell.height() * 4) > m_cache.budget() / 2)
        return;
    for (int index : ahead) {
        if (index < 0 || index >= count || m_failed.count(index))
            continue;
        const QSizeF twips = pageSize(index);
        if (PageImageCache::tiled(QSize(int(std::ceil(twips.width() * scale)), int(std::ceil(twips.height() * scale)))))
            return;
        const TileKey tile{index, key, -1};
        if (m_cache.find(tile))
            continue;
        if (start({tile, QRect()}))
            return;
    }
}

// Hands a render to a worker: the page is read here (the collection is
// not shared between threads), drawn there.
bool PageView::start(const Wanted &wanted)
{
    Status status;
    const std::shared_ptr<const Page> page = load(wanted.key.page, &status);
    if (!page) {
        m_failed[wanted.key.page] = status.description();
        viewport()->update();
        return false;
    }
    std::unordered_map<int, QImage> images;
    for (const PageOp &op : page->ops)
        if (const ImageOp *i = std::get_if<ImageOp>(&op))
            images.emplace(i->image, m_pages->image(i->image));
    const TileKey key = wanted.key;
    const QRect area = wanted.area;
    const double scale = deviceScale();
    const double dpr = devicePixelRatioF();
    const quint64 generation = m_generation;
    const int version = versionOf(key.page);
    // The image counts against the cache's budget while it is being made.
    const QSize full(int(std::ceil(page->size.width() * scale)), int(std::ceil(page->size.height() * scale)));
    const QSize pixels = area.isEmpty() ? full : area.intersected(QRect(QPoint(0, 0), full)).size();
    const qint64 bytes = qint64(pixels.width()) * pixels.height() * 4;
    m_cache.reserve(bytes);
    m_inFlight.insert(key);
    m_pool.start([this, key, area, scale, dpr, page, generation, version, bytes, images = std::move(images)] {
        QImage image = renderDetached(*page, images, scale, area);
        image.setDevicePixelRatio(dpr);
        // The heap grows in large steps (setUpProcess) and each worker
        // thread has a heap of its own: what a render freed goes back at
        // once, or every worker would keep tens of megabytes.
        malloc_trim(0);
        QMetaObject::invokeMethod(
            this,
            [this, key, image, generation, version, bytes] {
                m_cache.release(bytes);
                delivered(key, image, generation, version);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void PageView::delivered(const TileKey &key, const QImage &image, quint64 generation, int version)
{
    if (generation != m_generation)
        return;
    m_inFlight.erase(key);
    ++m_rendersDone;
    // Renders for a zoom left behind, or of a page made again since, are
    // dropped (a changed page in view is asked for again by the paint).
    if (version != versionOf(key.page))
        viewport()->update();
    else if (!image.isNull() && key.scale == PageImageCache::scaleKey(deviceScale()) && m_cache.insert(key, image)) {
        const auto [first, last] = m_nav->visiblePages();
        if (key.page >= first && key.page <= last) {
            viewport()->update();
            return;
        }
    }
    pump();
}

// ---- input ---------------------------------------------------------------------

void PageView::zoomStep(int direction, const QPoint &at)
{
    if (m_nav->isMultiPage())
        return;
    const int zoom = direction > 0 ? ViewerNavigator::zoomedIn(m_nav->zoom()) : ViewerNavigator::zoomedOut(m_nav->zoom());
    std::ignore = m_nav->setZoomAt(zoom, at); // the steps lie in range
}

void PageView::wheelEvent(QWheelEvent *event)
{
    const QPoint degrees = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (degrees.y() != 0)
            zoomStep(degrees.y() > 0 ? 1 : -1, event->position().toPoint());
        event->accept();
        return;
    }
    const QPoint pixels = event->pixelDelta();
    int dx = pixels.isNull() ? -degrees.x() * WheelNotch / 120 : -pixels.x();
    int dy = pixels.isNull() ? -degrees.y() * WheelNotch / 120 : -pixels.y();
    if ((event->modifiers() & Qt::ShiftModifier) && dx == 0)
        std::swap(dx, dy);
    if (dy != 0)
        m_lastDirection = dy > 0 ? 1 : -1;
    m_nav->scrollBy(dx, dy, true);
    event->accept();
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const QPoint centre(viewport()->width() / 2, viewport()->height() / 2);
    switch (event->key()) {
    case Qt::Key_PageDown:
        m_lastDirection = 1;
        m_nav->pageDown();
        break;
    case Qt::Key_PageUp:
        m_lastDirection = -1;
        m_nav->pageUp();
        break;
    case Qt::Key_Home:
        std::ignore = m_nav->goTo(0); // without pages there is nothing to go to
        break;
    case Qt::Key_End:
        std::ignore = m_nav->goTo(m_nav->pageCount() - 1); // without pages there is nothing to go to
        break;
    case Qt::Key_Down:
        m_lastDirection = 1;
        m_nav->scrollBy(0, ScrollStep, true);
        break;
    case Qt::Key_Up:
        m_lastDirection = -1;
        m_nav->scrollBy(0, -ScrollStep, true);
        break;
    case Qt::Key_Left:
        m_nav->scrollBy(-ScrollStep, 0, false);
        break;
    case Qt::Key_Right:
        m_nav->scrollBy(ScrollStep, 0, false);
        break;
    case Qt::Key_Space: {
        const int dy = qMax(ScrollStep, viewport()->height() - ScrollStep);
        m_lastDirection = event->modifiers() & Qt::ShiftModifier ? -1 : 1;
        m_nav->scrollBy(0, m_lastDirection * dy, true);
        break;
    }
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (!ctrl)
            return QAbstractScrollArea::keyPressEvent(event);
        zoomStep(1, centre);
        break;
    case Qt::Key_Minus:
        if (!ctrl)
            return QAbstractScrollArea::keyPressEvent(event);
        zoomStep(-1, centre);
        break;
    case Qt::Key_0:
        if (!ctrl || m_nav->isMultiPage())
            return QAbstractScrollArea::keyPressEvent(event);
        std::ignore = m_nav->setZoomAt(100, centre); // 100 lies in range
        break;
    case Qt::Key_Escape:
        Q_EMIT escapePressed();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_pressed = true;
    m_dragging = false;
    m_pressAt = event->position().toPoint();
    m_pressScroll = QPoint(m_nav->scrollX(), 0);
    m_pressScrollY = m_nav->scrollY();
}

void PageView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return QAbstractScrollArea::mouseMoveEvent(event);
    const QPoint moved = event->position().toPoint() - m_pressAt;
    if (!m_dragging && moved.manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    // Dragging moves the pages with the hand.
    if (m_dragging)
        m_nav->scrollTo(m_pressScroll.x() - moved.x(), m_pressScrollY - moved.y());
}

void PageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    m_pressed = false;
    if (m_dragging) {
        viewport()->unsetCursor();
        m_dragging = false;
        return;
    }
    const int page = m_nav->pageAt(event->position().toPoint());
    if (page >= 0)
        Q_EMIT pageClicked(page);
}

void PageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int page = m_nav->pageAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && page >= 0)
        Q_EMIT pageDoubleClicked(page);
}

} // namespace Orv
