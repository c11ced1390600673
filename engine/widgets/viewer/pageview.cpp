#include "engine/widgets/viewer/pageview.h"

#include "engine/pages/pagecollection.h"
#include "engine/widgets/viewer/viewernavigator.h"
#include "engine/widgets/viewer/viewerruler.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace Orv {

namespace {

constexpr int ScrollStep = 40;      // arrow keys, pixels
constexpr int WheelNotch = 80;      // one wheel notch, pixels
constexpr int PagesAhead = 2;       // rendered ahead of the view when idle
constexpr int AheadDelayMs = 40;    // idle time before rendering ahead

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
    m_more.setSingleShot(true);
    m_more.setInterval(0);
    connect(&m_more, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
    m_ahead.setSingleShot(true);
    m_ahead.setInterval(AheadDelayMs);
    connect(&m_ahead, &QTimer::timeout, this, &PageView::prefetch);
    connect(m_nav, &ViewerNavigator::layoutChanged, this, [this] {
        syncScrollBars();
        updateRulers();
        viewport()->update();
    });
    connect(m_nav, &ViewerNavigator::pageChanged, this, &PageView::updateRulers);
    m_nav->setViewportSize(viewport()->size());
}

PageView::~PageView() = default;

void PageView::setPages(const PageCollection *pages)
{
    m_pages = pages;
    m_cache.clear();
    m_sizes.clear();
    m_highlightPage = -1;
    m_highlight.clear();
    viewport()->update();
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
    Frame frame;
    frame.clock.start();
    if (m_pages && m_nav->pageCount() > 0) {
        const auto [first, last] = m_nav->visiblePages();
        for (int i = first; i <= last; ++i)
            paintPage(p, i, frame);
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
    m_renderedLast = frame.rendered;
    m_completeLast = frame.complete;
    if (!frame.complete)
        m_more.start();
    else
        m_ahead.start();
}

void PageView::paintPage(QPainter &p, int index, Frame &frame)
{
    const QRect port = viewport()->rect();
    QRect rect = m_nav->pageRect(index, pageSize(index));
    if (!rect.intersects(port))
        return;
    const double dpr = devicePixelRatioF();
    const double scale = deviceScale();
    const qint64 key = PageImageCache::scaleKey(scale);
    std::shared_ptr<const Page> page;
    Status status;
    bool failed = false;
    const auto ensure = [&] {
        if (!page && !failed) {
            page = load(index, &status);
            failed = !page;
        }
        return bool(page);
    };
    p.fillRect(rect.translated(3, 3), QColor(0, 0, 0, 70));
    const QSizeF twips = pageSize(index);
    const QSize pixels(int(std::ceil(twips.width() * scale)), int(std::ceil(twips.height() * scale)));
    if (!PageImageCache::tiled(pixels)) {
        const TileKey tile{index, key, -1};
        const QImage *image = m_cache.find(tile);
        if (!image && frame.mayRender() && ensure()) {
            QImage made = renderPage(*page, m_pages, scale);
            made.setDevicePixelRatio(dpr);
            m_cache.insert(tile, made);
            image = m_cache.find(tile);
            ++frame.rendered;
            rect = m_nav->pageRect(index, pageSize(index));
        }
        if (image) {
            p.drawImage(rect.topLeft(), *image);
        } else if (!failed) {
            // Stand-in: the page at another zoom, or blank paper.
            if (const QImage *other = m_cache.anyWholePage(index))
                p.drawImage(QRectF(rect), *other);
            else
                p.fillRect(rect, Qt::white);
            frame.complete = false;
        }
    } else {
        const int side = PageImageCache::TileSize;
        const int columns = (pixels.width() + side - 1) / side;
        const QRect shown = rect.intersected(port).translated(-rect.topLeft());
        const QRect device(QPoint(int(shown.left() * dpr), int(shown.top() * dpr)),
                           QPoint(int(std::ceil((shown.right() + 1) * dpr)) - 1, int(std::ceil((shown.bottom() + 1) * dpr)) - 1));
        for (int ty = device.top() / side; ty <= device.bottom() / side && !failed; ++ty) {
            for (int tx = device.left() / side; tx <= device.right() / side && !failed; ++tx) {
                const TileKey tile{index, key, ty * columns + tx};
                const QImage *image = m_cache.find(tile);
                if (!image && frame.mayRender() && ensure()) {
                    QImage made = renderPage(*page, m_pages, scale, QRect(tx * side, ty * side, side, side));
                    made.setDevicePixelRatio(dpr);
                    m_cache.insert(tile, made);
                    image = m_cache.find(tile);
                    ++frame.rendered;
                }
                const QPointF at = QPointF(rect.topLeft()) + QPointF(tx * side, ty * side) / dpr;
                if (image) {
                    p.drawImage(at, *image);
                } else if (!failed) {
                    p.fillRect(QRectF(at, QSizeF(side, side) / dpr).intersected(QRectF(rect)), Qt::white);
                    frame.complete = false;
                }
            }
        }
    }
    if (failed) {
        p.fillRect(rect, Qt::white);
        p.setPen(QColor(160, 0, 0));
        p.drawText(rect.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                   tr("Page %1 cannot be shown: %2").arg(index + 1).arg(status.description()));
    }
    p.setPen(QColor(0, 0, 0, 100));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
}

// While idle, the pages just past the view in the direction of travel
// (and the one before it) are rendered, one per pass.
void PageView::prefetch()
{
    if (!isVisible() || !m_pages || m_nav->pageCount() == 0)
        return;
    const auto [first, last] = m_nav->visiblePages();
    const int count = m_nav->pageCount();
    const int step = m_nav->isMultiPage() ? m_nav->gridColumns() * m_nav->gridRows() : 1;
    std::vector<int> wanted;
    for (int k = 1; k <= PagesAhead * step; ++k)
        wanted.push_back(m_lastDirection > 0 ? last + k : first - k);
    wanted.push_back(m_lastDirection > 0 ? first - 1 : last + 1);
    const double scale = deviceScale();
    const qint64 key = PageImageCache::scaleKey(scale);
    for (int index : wanted) {
        if (index < 0 || index >= count)
            continue;
        const QSizeF twips = pageSize(index);
        if (PageImageCache::tiled(QSize(int(std::ceil(twips.width() * scale)), int(std::ceil(twips.height() * scale)))))
            return;
        const TileKey tile{index, key, -1};
        if (m_cache.find(tile))
            continue;
        const std::shared_ptr<const Page> page = load(index, nullptr);
        if (!page)
            continue;
        QImage made = renderPage(*page, m_pages, scale);
        made.setDevicePixelRatio(devicePixelRatioF());
        m_cache.insert(tile, made);
        // The visible pages must stay the most recent.
        for (int i = first; i <= last; ++i)
            m_cache.find({i, key, -1});
        m_ahead.start();
        return;
    }
}

// ---- input ---------------------------------------------------------------------

void PageView::zoomStep(int direction, const QPoint &at)
{
    if (m_nav->isMultiPage())
        return;
    const int zoom = direction > 0 ? ViewerNavigator::zoomedIn(m_nav->zoom()) : ViewerNavigator::zoomedOut(m_nav->zoom());
    m_nav->setZoomAt(zoom, at);
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
        m_nav->goTo(0);
        break;
    case Qt::Key_End:
        m_nav->goTo(m_nav->pageCount() - 1);
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
        m_nav->setZoomAt(100, centre);
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
