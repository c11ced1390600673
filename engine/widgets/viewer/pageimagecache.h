#pragma once
// Rendered page images for the viewer, kept within a memory budget in
// bytes (width * height * 4 an image; least recently used go first). The
// pages on screen and their neighbours can be pinned: their images at the
// scale shown are never dropped while pinned. A page up to a few million
// pixels is one image;
// a larger one (high zoom) is cut into square tiles and only the tiles in
// view are made, each from the operations that touch it.
#include "engine/pages/page.h"

#include <QImage>
#include <QRect>

#include <list>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Orv {

class PageCollection;

struct TileKey
{
    int page = 0;
    qint64 scale = 0; // pixels per twip times 1e6, device pixels
    int tile = -1;    // -1: the whole page; else row * columns + column
    friend bool operator==(const TileKey &, const TileKey &) = default;
};

struct TileKeyHash
{
    size_t operator()(const TileKey &k) const
    {
        return std::hash<qint64>()(k.scale * 1000003 + k.page) ^ (size_t(k.tile + 1) << 20);
    }
};

class PageImageCache
{
public:
    // Pages larger than this many pixels are tiled.
    static constexpr qint64 WholePageLimit = 2560 * 2560;
    static constexpr int TileSize = 1024;

    static constexpr qint64 DefaultBudget = qint64(96) << 20;

    explicit PageImageCache(qint64 budgetBytes = DefaultBudget) : m_budget(qMax<qint64>(0, budgetBytes)) {}

    void setBudget(qint64 bytes);
    qint64 budget() const { return m_budget; }
    qint64 bytes() const { return m_bytes; }
    // The most bytes held (reserved ones included) at any time since the
    // cache was made.
    qint64 peakBytes() const { return m_peak; }
    // Bytes of images being made that count against the budget before
    // they arrive: reserving drops older images to make room.
    void reserve(qint64 bytes);
    void release(qint64 bytes);
    qint64 reserved() const { return m_reserved; }
    int count() const { return int(m_map.size()); }
    static qint64 cost(const QImage &image) { return qint64(image.width()) * image.height() * 4; }

    // The whole-page images of pages first..last (at the scale given) and
    // the tiles listed stay while pinned; an empty range (last < first)
    // pins no whole page. Tiles of a page are pinned one by one, as only
    // those in view matter.
    void setPinned(int first, int last, qint64 scale, std::vector<TileKey> tiles = {});
    bool pinned(const TileKey &key) const
    {
        if (key.tile >= 0)
            return m_pinTiles.count(key) > 0;
        return key.page >= m_pinFirst && key.page <= m_pinLast && key.scale == m_pinScale;
    }

    // Null when not cached; a hit makes the entry the most recent.
    const QImage *find(const TileKey &key);
    // Adds (or replaces) an image, dropping the least recently used
    // unpinned ones to stay within the budget. An image that does not fit
    // beside the pinned ones is not kept (false), unless it is pinned
    // itself.
    bool insert(const TileKey &key, const QImage &image);
    // Forgets every image of a page (it was made again).
    void removePage(int page);
    // Any whole-page image of the page, at whatever scale (a stand-in
    // while the right one is made).
    const QImage *anyWholePage(int page) const;
    void clear();

    static qint64 scaleKey(double pixelsPerTwip) { return qint64(pixelsPerTwip * 1e6 + 0.5); }
    static bool tiled(const QSize &pagePixels) { return qint64(pagePixels.width()) * pagePixels.height() > WholePageLimit; }

private:
    using Entry = std::pair<TileKey, QImage>;
    void erase(std::list<Entry>::iterator entry);
    // Drops unpinned entries, oldest first, apart from keep, until within
    // the budget.
    void shrink(std::list<Entry>::const_iterator keep);
    qint64 m_budget;
    qint64 m_bytes = 0;
    qint64 m_peak = 0;
    qint64 m_reserved = 0;
    int m_pinFirst = 0;
    int m_pinLast = -1;
    qint64 m_pinScale = 0;
    std::unordered_set<TileKey, TileKeyHash> m_pinTiles;
    std::list<Entry> m_entries; // most recent first
    std::unordered_map<TileKey, std::list<Entry>::iterator, TileKeyHash> m_map;
    std::unordered_multimap<int, std::list<Entry>::iterator> m_wholePages;
};

// Draws a page (or the part of it in a tile) into a new image, white
// paper under the page's operations. scale is device pixels per twip;
// area is the part of the page wanted, in device pixels of the page at
// that scale (empty: the whole page).
QImage renderPage(const Page &page, const PageCollection *images, double scale, const QRect &area = QRect());

// The operations of a page that may draw inside a rectangle (twips).
Page pagePart(const Page &page, const QRectF &twips);

} // namespace Orv
