#pragma once
// Rendered page images for the viewer, kept within a memory budget (least
// recently used go first). A page up to a few million pixels is one image;
// a larger one (high zoom) is cut into square tiles and only the tiles in
// view are made, each from the operations that touch it.
#include "engine/pages/page.h"

#include <QImage>
#include <QRect>

#include <list>
#include <unordered_map>

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

    explicit PageImageCache(qint64 budgetBytes = qint64(192) << 20) : m_budget(budgetBytes) {}

    void setBudget(qint64 bytes);
    qint64 budget() const { return m_budget; }
    qint64 bytes() const { return m_bytes; }
    int count() const { return int(m_map.size()); }

    // Null when not cached; a hit makes the entry the most recent.
    const QImage *find(const TileKey &key);
    void insert(const TileKey &key, const QImage &image);
    // Any whole-page image of the page, at whatever scale (a stand-in
    // while the right one is made).
    const QImage *anyWholePage(int page) const;
    void clear();

    static qint64 scaleKey(double pixelsPerTwip) { return qint64(pixelsPerTwip * 1e6 + 0.5); }
    static bool tiled(const QSize &pagePixels) { return qint64(pagePixels.width()) * pagePixels.height() > WholePageLimit; }

private:
    void evictOldest();
    using Entry = std::pair<TileKey, QImage>;
    qint64 m_budget;
    qint64 m_bytes = 0;
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
