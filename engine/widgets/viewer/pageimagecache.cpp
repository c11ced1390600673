#include "engine/widgets/viewer/pageimagecache.h"

#include "engine/pages/pagepainter.h"

#include <QPainter>

#include <cmath>

namespace Orv {

void PageImageCache::erase(std::list<Entry>::iterator entry)
{
    m_bytes -= cost(entry->second);
    if (entry->first.tile < 0) {
        auto [it, end] = m_wholePages.equal_range(entry->first.page);
        for (; it != end; ++it) {
            if (it->second == entry) {
                m_wholePages.erase(it);
                break;
            }
        }
    }
    m_map.erase(entry->first);
    m_entries.erase(entry);
}

void PageImageCache::shrink(std::list<Entry>::const_iterator keep)
{
    auto it = m_entries.end();
    while (m_bytes + m_reserved > m_budget && it != m_entries.begin()) {
        const auto victim = std::prev(it);
        if (victim == keep || pinned(victim->first))
            it = victim;
        else
            erase(victim);
    }
}

void PageImageCache::setBudget(qint64 bytes)
{
    m_budget = qMax<qint64>(0, bytes);
    shrink(m_entries.cend());
}

void PageImageCache::setPinned(int first, int last, qint64 scale, std::vector<TileKey> tiles)
{
    m_pinFirst = first;
    m_pinLast = last;
    m_pinScale = scale;
    m_pinTiles = std::unordered_set<TileKey, TileKeyHash>(tiles.begin(), tiles.end());
}

const QImage *PageImageCache::find(const TileKey &key)
{
    const auto found = m_map.find(key);
    if (found == m_map.end())
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return &found->second->second;
}

bool PageImageCache::insert(const TileKey &key, const QImage &image)
{
    const auto found = m_map.find(key);
    if (found != m_map.end()) {
        m_bytes += cost(image) - cost(found->second->second);
        found->second->second = image;
        m_entries.splice(m_entries.begin(), m_entries, found->second);
    } else {
        m_entries.emplace_front(key, image);
        m_map.emplace(key, m_entries.begin());
        if (key.tile < 0)
            m_wholePages.emplace(key.page, m_entries.begin());
        m_bytes += cost(image);
    }
    shrink(m_entries.cbegin());
    if (m_bytes + m_reserved > m_budget && !pinned(key)) {
        erase(m_entries.begin());
        return false;
    }
    m_peak = qMax(m_peak, m_bytes + m_reserved);
    return true;
}

void PageImageCache::reserve(qint64 bytes)
{
    m_reserved += qMax<qint64>(0, bytes);
    shrink(m_entries.cend());
    m_peak = qMax(m_peak, m_bytes + m_reserved);
}

void PageImageCache::release(qint64 bytes)
{
    m_reserved = qMax<qint64>(0, m_reserved - qMax<qint64>(0, bytes));
}

void PageImageCache::removePage(int page)
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->first.page == page)
            erase(it++);
        else
            ++it;
    }
}

const QImage *PageImageCache::anyWholePage(int page) const
{
    const auto found = m_wholePages.find(page);
    return found == m_wholePages.end() ? nullptr : &found->second->second;
}

void PageImageCache::clear()
{
    // Reservations stay: their images are still being made.
    m_entries.clear();
    m_map.clear();
    m_wholePages.clear();
    m_bytes = 0;
}

namespace {

// Slack around boxes for what may stick out of them: italic overhang, pen
// widths drawn centred on an edge, antialiasing.
constexpr double Slack = 120;

QRectF reach(const PageOp &op)
{
    return std::visit(
        [](const auto &o) -> QRectF {
            using T = std::decay_t<decltype(o)>;
            if constexpr (std::is_same_v<T, LineOp>) {
                const double w = o.pen.width;
                return QRectF(o.from, o.to).normalized().adjusted(-w, -w, w, w);
            } else if constexpr (std::is_same_v<T, TextOp>) {
                if (o.angle % 3600 == 0)
                    return o.rect;
                // A turned box stays within the circle around its centre.
                const double r = std::hypot(o.rect.width(), o.rect.height()) / 2;
                return QRectF(o.rect.center() - QPointF(r, r), QSizeF(2 * r, 2 * r));
            } else if constexpr (std::is_same_v<T, ShapeOp> || std::is_same_v<T, CheckBoxOp> || std::is_same_v<T, PieOp>) {
                const double w = o.pen.width;
                return o.rect.adjusted(-w, -w, w, w);
            } else if constexpr (std::is_same_v<T, PolygonOp>) {
                const double w = o.pen.width;
                return o.bounds().adjusted(-w, -w, w, w);
            } else {
                return o.rect;
            }
        },
        op);
}

} // namespace

Page pagePart(const Page &page, const QRectF &twips)
{
    Page part;
    part.size = page.size;
    part.fonts = page.fonts;
    for (const PageOp &op : page.ops)
        if (reach(op).adjusted(-Slack, -Slack, Slack, Slack).intersects(twips))
            part.ops.push_back(op);
    return part;
}

QImage renderPage(const Page &page, const PageCollection *images, double scale, const QRect &area)
{
    const QSize full(qMax(1, int(std::ceil(page.size.width() * scale))), qMax(1, int(std::ceil(page.size.height() * scale))));
    const QRect wanted = area.isEmpty() ? QRect(QPoint(0, 0), full) : area.intersected(QRect(QPoint(0, 0), full));
    if (wanted.isEmpty())
        return QImage();
    QImage image(wanted.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(-wanted.topLeft());
    painter.scale(scale, scale);
    const PagePainter draw(images);
    if (area.isEmpty()) {
        draw.paintInTwips(painter, page);
    } else {
        const QRectF twips(wanted.left() / scale, wanted.top() / scale, wanted.width() / scale, wanted.height() / scale);
        painter.setClipRect(twips);
        draw.paintInTwips(painter, pagePart(page, twips));
    }
    return image;
}

} // namespace Orv
