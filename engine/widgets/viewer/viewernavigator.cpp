#include "engine/widgets/viewer/viewernavigator.h"

#include "engine/core/units.h"

#include <cmath>

namespace Orv {

namespace {

constexpr double PixelsPerTwip = Units::ScreenDpi / Units::TwipsPerInch;
// Fit modes never go below or above these, however small the window.
constexpr double MinFitScale = PixelsPerTwip * 0.05;
constexpr double MaxFitScale = PixelsPerTwip * ViewerNavigator::MaxZoom / 100.0;

Status invalid(const QString &what, const QString &source)
{
    return Status::failure(ErrInvalidCall, what, source);
}

} // namespace

ViewerNavigator::ViewerNavigator(QObject *parent) : QObject(parent)
{
    m_scale = computeScale();
}

// ---- inputs ----------------------------------------------------------------

void ViewerNavigator::setViewportSize(const QSize &size)
{
    const QSize bounded(qMax(1, size.width()), qMax(1, size.height()));
    if (bounded == m_viewport)
        return;
    // The content at the top of the window stays there.
    const Anchor anchor = anchorAt(QPoint(0, 0));
    m_viewport = bounded;
    relayout(anchor);
}

void ViewerNavigator::setPageCount(int count)
{
    count = qMax(0, count);
    if (count == m_count)
        return;
    if (count == 0) {
        reset();
        return;
    }
    m_count = count;
    if (m_current >= m_count)
        setCurrent(m_count - 1);
    clampScroll();
    Q_EMIT layoutChanged();
}

void ViewerNavigator::setCellSize(const QSizeF &twips)
{
    if (twips.width() <= 0 || twips.height() <= 0 || twips == m_cell)
        return;
    const Anchor anchor = anchorAt(QPoint(0, 0));
    m_cell = twips;
    relayout(anchor);
}

bool ViewerNavigator::notePageSize(const QSizeF &twips)
{
    const QSizeF grown(qMax(m_cell.width(), twips.width()), qMax(m_cell.height(), twips.height()));
    if (grown == m_cell)
        return false;
    setCellSize(grown);
    return true;
}

void ViewerNavigator::reset()
{
    const bool moved = m_current != 0;
    const bool hadHistory = canGoBack() || canGoForward();
    m_count = 0;
    m_current = 0;
    m_scrollX = 0;
    m_scrollY = 0;
    m_back.clear();
    m_forward.clear();
    m_scale = computeScale();
    if (moved)
        Q_EMIT pageChanged(0);
    if (hadHistory)
        Q_EMIT historyChanged();
    Q_EMIT layoutChanged();
}

// ---- zoom ------------------------------------------------------------------

Status ViewerNavigator::setZoom(int zoom)
{
    return setZoomAt(zoom, QPoint(m_viewport.width() / 2, 0));
}

Status ViewerNavigator::setZoomAt(int zoom, const QPoint &viewportPoint)
{
    if (zoom != PageWidth && zoom != WholePage && (zoom < MinZoom || zoom > MaxZoom))
        return Status::failure(ErrInvalidPropertyValue,
                               QStringLiteral("Zoom must be %1 to %2 percent, -1 (page width) or -2 (whole page), not %3")
                                   .arg(MinZoom)
                                   .arg(MaxZoom)
                                   .arg(zoom),
                               QStringLiteral("Viewer.Zoom"));
    if (zoom == m_zoom)
        return {};
    const Anchor anchor = anchorAt(viewportPoint);
    m_zoom = zoom;
    relayout(anchor);
    Q_EMIT zoomChanged(zoom);
    return {};
}

int ViewerNavigator::zoomedIn(int zoom)
{
    if (zoom < 0)
        return 100;
    return qMin(MaxZoom, (zoom / ZoomStep + 1) * ZoomStep);
}

int ViewerNavigator::zoomedOut(int zoom)
{
    if (zoom < 0)
        return 100;
    return qMax(MinZoom, (zoom / ZoomStep - 1) * ZoomStep);
}

double ViewerNavigator::effectiveZoom() const
{
    return m_scale / PixelsPerTwip * 100.0;
}

double ViewerNavigator::computeScale() const
{
    const double w = qMax(1.0, m_cell.width());
    const double h = qMax(1.0, m_cell.height());
    if (m_layout == Grid) {
        const double roomX = m_viewport.width() - 2 * Margin - (m_columns - 1) * m_gridGap;
        const double roomY = m_viewport.height() - 2 * Margin - (m_rows - 1) * m_gridGap;
        return qBound(MinFitScale, qMin(roomX / (m_columns * w), roomY / (m_rows * h)), MaxFitScale);
    }
    const double roomX = m_viewport.width() - 2 * Margin;
    const double roomY = m_viewport.height() - 2 * Margin;
    if (m_zoom == PageWidth)
        return qBound(MinFitScale, roomX / w, MaxFitScale);
    if (m_zoom == WholePage)
        return qBound(MinFitScale, qMin(roomX / w, roomY / h), MaxFitScale);
    return PixelsPerTwip * m_zoom / 100.0;
}

// ---- layouts ---------------------------------------------------------------

Status ViewerNavigator::setSinglePage(int mode)
{
    if (mode != 1 && mode != 2)
        return invalid(QStringLiteral("SinglePage takes 1 (one page at a time) or 2 (continuous), not %1").arg(mode),
                       QStringLiteral("Viewer.SinglePage"));
    const Layout wanted = mode == 1 ? OnePage : Continuous;
    const bool wasGrid = m_layout == Grid;
    m_singleLayout = wanted;
    if (m_layout != wanted) {
        m_layout = wanted;
        m_scale = computeScale();
        show(m_current, -1);
    }
    if (wasGrid)
        Q_EMIT viewModeChanged(false);
    return {};
}

Status ViewerNavigator::setGrid(int rows, int columns, int gapMm)
{
    if (rows < 1 || rows > 10 || columns < 1 || columns > 10)
        return invalid(QStringLiteral("MultiPage takes 1 to 10 rows and columns, not %1 x %2").arg(rows).arg(columns),
                       QStringLiteral("Viewer.MultiPage"));
    if (gapMm < 0 || gapMm > 50)
        return invalid(QStringLiteral("MultiPage takes a gap of 0 to 50 millimetres, not %1").arg(gapMm),
                       QStringLiteral("Viewer.MultiPage"));
    const bool wasGrid = m_layout == Grid;
    m_layout = Grid;
    m_rows = rows;
    m_columns = columns;
    m_gridGap = int(std::lround(gapMm * Units::ScreenDpi / 25.4));
    m_scale = computeScale();
    show(m_current, -1);
    if (!wasGrid)
        Q_EMIT viewModeChanged(true);
    return {};
}

// ---- navigation ------------------------------------------------------------

Status ViewerNavigator::goTo(int index, double yTwips)
{
    if (index < 0 || index >= m_count)
        return Status::failure(ErrSubscript,
                               m_count == 0 ? QStringLiteral("There are no pages")
                                            : QStringLiteral("Page index %1 is out of range (0 to %2)").arg(index).arg(m_count - 1),
                               QStringLiteral("Viewer.Canvas"));
    if (index != m_current)
        record(m_current);
    show(index, yTwips);
    setCurrent(index);
    return {};
}

Status ViewerNavigator::goToArea(int index, const QRectF &twips)
{
    const Status status = goTo(index);
    if (!status.ok())
        return status;
    const QRect cell = cellRect(index);
    const QRectF area(cell.left() + twips.left() * m_scale, cell.top() + twips.top() * m_scale,
                      twips.width() * m_scale, twips.height() * m_scale);
    if (m_layout != Grid && (area.bottom() > m_viewport.height() - Margin || area.top() < 0))
        m_scrollY += qint64(area.top() - m_viewport.height() / 3.0);
    if (area.right() > m_viewport.width() || area.left() < 0)
        m_scrollX += int(area.center().x() - m_viewport.width() / 2.0);
    clampScroll();
    Q_EMIT layoutChanged();
    return {};
}

void ViewerNavigator::record(int left)
{
    m_back.push_back(left);
    while (int(m_back.size()) > HistoryLimit)
        m_back.pop_front();
    m_forward.clear();
    Q_EMIT historyChanged();
}

bool ViewerNavigator::back()
{
    if (m_back.empty())
        return false;
    const int target = qMin(m_back.back(), m_count - 1);
    m_back.pop_back();
    m_forward.push_back(m_current);
    show(target, -1);
    setCurrent(target);
    Q_EMIT historyChanged();
    return true;
}

bool ViewerNavigator::forward()
{
    if (m_forward.empty())
        return false;
    const int target = qMin(m_forward.back(), m_count - 1);
    m_forward.pop_back();
    m_back.push_back(m_current);
    show(target, -1);
    setCurrent(target);
    Q_EMIT historyChanged();
    return true;
}

void ViewerNavigator::pageDown()
{
    if (m_count == 0 || m_current >= m_count - 1)
        return;
    if (m_layout != Grid) {
        std::ignore = goTo(m_current + 1); // checked above
        return;
    }
    const int next = (rowOf(m_current) + m_rows) * m_columns;
    std::ignore = goTo(qMin(next, m_count - 1)); // clamped to the last page
}

void ViewerNavigator::pageUp()
{
    if (m_current <= 0)
        return;
    if (m_layout != Grid) {
        std::ignore = goTo(m_current - 1); // checked above
        return;
    }
    std::ignore = goTo(qMax(0, (rowOf(m_current) - m_rows) * m_columns)); // clamped to the first page
}

void ViewerNavigator::setCurrent(int index)
{
    if (index == m_current)
        return;
    m_current = index;
    Q_EMIT pageChanged(index);
}

// Scrolls page index into view (its top, or yTwips of it, at the top).
void ViewerNavigator::show(int index, double yTwips)
{
    if (m_count == 0) {
        Q_EMIT layoutChanged();
        return;
    }
    index = qBound(0, index, m_count - 1);
    const qint64 offset = yTwips >= 0 ? qint64(std::floor(yTwips * m_scale)) : 0;
    if (m_layout == OnePage) {
        m_current = index; // the caller announces the change
        m_scrollY = offset;
    } else {
        m_scrollY = Margin + qint64(rowOf(index)) * rowPitch() + offset - (yTwips >= 0 ? 0 : Margin);
    }
    clampScroll();
    Q_EMIT layoutChanged();
}

// ---- geometry --------------------------------------------------------------

int ViewerNavigator::cellWidth() const
{
    return qMax(1, int(std::ceil(m_cell.width() * m_scale)));
}

int ViewerNavigator::cellHeight() const
{
    return qMax(1, int(std::ceil(m_cell.height() * m_scale)));
}

int ViewerNavigator::gap() const
{
    return m_layout == Grid ? m_gridGap : PageGap;
}

int ViewerNavigator::columns() const
{
    return m_layout == Grid ? m_columns : 1;
}

qint64 ViewerNavigator::rowPitch() const
{
    return qint64(cellHeight()) + gap();
}

int ViewerNavigator::rowOf(int index) const
{
    return m_layout == OnePage ? 0 : index / columns();
}

qint64 ViewerNavigator::contentHeight() const
{
    if (m_count == 0)
        return 0;
    const qint64 rows = m_layout == OnePage ? 1 : (m_count + columns() - 1) / columns();
    return 2 * Margin + rows * rowPitch() - gap();
}

QSize ViewerNavigator::contentSize() const
{
    if (m_count == 0)
        return QSize(0, 0);
    const int cols = m_layout == Grid ? qMin(m_columns, m_count) : 1;
    const int width = 2 * Margin + cols * cellWidth() + (cols - 1) * gap();
    return QSize(width, int(qMin<qint64>(contentHeight(), INT_MAX)));
}

qint64 ViewerNavigator::maxScrollY() const
{
    return qMax<qint64>(0, contentHeight() - m_viewport.height());
}

int ViewerNavigator::maxScrollX() const
{
    return qMax(0, contentSize().width() - m_viewport.width());
}

void ViewerNavigator::clampScroll()
{
    m_scrollX = qBound(0, m_scrollX, maxScrollX());
    m_scrollY = qBound<qint64>(0, m_scrollY, maxScrollY());
}

QRect ViewerNavigator::cellRect(int index) const
{
    if (index < 0 || index >= m_count || (m_layout == OnePage && index != m_current))
        return QRect();
    const int cols = columns();
    const int blockWidth = contentSize().width();
    const int offsetX = qMax(0, (m_viewport.width() - blockWidth) / 2);
    const int column = m_layout == Grid ? index % cols : 0;
    const int x = offsetX + Margin + column * (cellWidth() + gap()) - m_scrollX;
    const qint64 y = Margin + qint64(rowOf(index)) * rowPitch() - m_scrollY;
    // Far away pages are clamped; only nearby ones are ever painted.
    const qint64 bounded = qBound<qint64>(-(qint64(1) << 30), y, qint64(1) << 30);
    return QRect(x, int(bounded), cellWidth(), cellHeight());
}

QRect ViewerNavigator::pageRect(int index, const QSizeF &pageTwips) const
{
    const QRect cell = cellRect(index);
    if (cell.isNull() || pageTwips.isEmpty())
        return cell;
    const int w = qMin(cell.width(), qMax(1, int(std::ceil(pageTwips.width() * m_scale))));
    const int h = qMin(cell.height(), qMax(1, int(std::ceil(pageTwips.height() * m_scale))));
    return QRect(cell.left() + (cell.width() - w) / 2, cell.top(), w, h);
}

std::pair<int, int> ViewerNavigator::visiblePages() const
{
    if (m_count == 0)
        return {0, -1};
    if (m_layout == OnePage)
        return {m_current, m_current};
    const qint64 pitch = rowPitch();
    const qint64 rows = (m_count + columns() - 1) / columns();
    // The first row whose bottom is below the top of the window.
    const qint64 firstRow = qBound<qint64>(0, (m_scrollY - Margin + gap()) / pitch, rows - 1);
    const qint64 lastRow = qBound<qint64>(0, (m_scrollY + m_viewport.height() - Margin) / pitch, rows - 1);
    const int first = int(firstRow * columns());
    const int last = int(qMin<qint64>(m_count - 1, lastRow * columns() + columns() - 1));
    return {first, last};
}

int ViewerNavigator::pageAt(const QPoint &viewportPoint) const
{
    const auto [first, last] = visiblePages();
    for (int i = first; i <= last; ++i)
        if (cellRect(i).contains(viewportPoint))
            return i;
    return -1;
}

QPoint ViewerNavigator::toViewport(const QPoint &content) const
{
    return QPoint(content.x() - m_scrollX, int(content.y() - m_scrollY));
}

// ---- scrolling -------------------------------------------------------------

void ViewerNavigator::scrollTo(int x, qint64 y)
{
    const int oldX = m_scrollX;
    const qint64 oldY = m_scrollY;
    m_scrollX = x;
    m_scrollY = y;
    clampScroll();
    if (m_scrollX == oldX && m_scrollY == oldY)
        return;
    followScroll();
    Q_EMIT layoutChanged();
}

void ViewerNavigator::scrollBy(int dx, int dy, bool turnPages)
{
    if (turnPages && m_layout == OnePage && dy != 0) {
        if (dy > 0 && m_scrollY >= maxScrollY() && m_current < m_count - 1) {
            setCurrent(m_current + 1);
            m_scrollY = 0;
            Q_EMIT layoutChanged();
            return;
        }
        if (dy < 0 && m_scrollY <= 0 && m_current > 0) {
            setCurrent(m_current - 1);
            m_scrollY = maxScrollY();
            Q_EMIT layoutChanged();
            return;
        }
    }
    scrollTo(m_scrollX + dx, m_scrollY + dy);
}

// After user scrolling: in a strip the current page is the one showing the
// most of itself (the first of equals); in a grid it stays while its row
// is wholly in view, else becomes the first page of the row most in view.
void ViewerNavigator::followScroll()
{
    if (m_count == 0 || m_layout == OnePage)
        return;
    const qint64 pitch = rowPitch();
    const qint64 top = m_scrollY;
    const qint64 bottom = m_scrollY + m_viewport.height();
    const auto shown = [&](qint64 row) {
        const qint64 rowTop = Margin + row * pitch;
        return qMin(bottom, rowTop + cellHeight()) - qMax(top, rowTop);
    };
    const auto [first, last] = visiblePages();
    if (m_layout == Grid && m_current >= first && m_current <= last && shown(rowOf(m_current)) >= cellHeight())
        return;
    qint64 bestRow = rowOf(first);
    qint64 bestShown = shown(bestRow);
    for (qint64 row = bestRow + 1; row <= rowOf(last); ++row) {
        const qint64 s = shown(row);
        if (s > bestShown) {
            bestShown = s;
            bestRow = row;
        }
    }
    setCurrent(int(bestRow * columns()));
}

ViewerNavigator::Anchor ViewerNavigator::anchorAt(const QPoint &viewportPoint) const
{
    Anchor a;
    a.at = viewportPoint;
    const QSize content = contentSize();
    a.fx = content.width() > 0 ? double(m_scrollX + viewportPoint.x()) / content.width() : 0.5;
    if (m_count == 0)
        return a;
    const qint64 y = m_scrollY + viewportPoint.y();
    const qint64 rows = m_layout == OnePage ? 1 : (m_count + columns() - 1) / columns();
    const qint64 row = qBound<qint64>(0, (y - Margin) / rowPitch(), rows - 1);
    a.page = m_layout == OnePage ? m_current : int(row * columns());
    a.fy = double(y - Margin - row * rowPitch()) / cellHeight();
    return a;
}

void ViewerNavigator::restore(const Anchor &anchor)
{
    if (m_count == 0)
        return;
    const QSize content = contentSize();
    m_scrollX = int(std::lround(anchor.fx * content.width())) - anchor.at.x();
    const qint64 rowTop = Margin + qint64(rowOf(qBound(0, anchor.page, m_count - 1))) * rowPitch();
    m_scrollY = rowTop + qint64(std::llround(anchor.fy * cellHeight())) - anchor.at.y();
    clampScroll();
}

void ViewerNavigator::relayout(const Anchor &anchor)
{
    m_scale = computeScale();
    restore(anchor);
    const auto [first, last] = visiblePages();
    if (m_current < first || m_current > last)
        followScroll();
    Q_EMIT layoutChanged();
}

} // namespace Orv
