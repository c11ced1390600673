#include "engine/pages/barcode.h"

#include <list>
#include <zint.h>

namespace Orv {

namespace {

struct Key
{
    int symbology;
    QString data;
    bool showText;
    int rotation;
    bool operator==(const Key &) const = default;
};

std::shared_ptr<BarcodeGraphic> encode(const Key &key)
{
    auto g = std::make_shared<BarcodeGraphic>();
    if (!ZBarcode_ValidID(key.symbology)) {
        g->error = QStringLiteral("Unknown barcode type %1").arg(key.symbology);
        return g;
    }
    const QByteArray data = key.data.toUtf8();
    if (data.isEmpty()) {
        g->error = QStringLiteral("No barcode data");
        return g;
    }
    if (data.size() > ZINT_MAX_DATA_LEN) {
        g->error = QStringLiteral("Barcode data too long");
        return g;
    }
    zint_symbol *symbol = ZBarcode_Create();
    if (!symbol) {
        g->error = QStringLiteral("Out of memory");
        return g;
    }
    symbol->symbology = key.symbology;
    symbol->input_mode = UNICODE_MODE;
    symbol->show_hrt = key.showText ? 1 : 0;
    int result = ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char *>(data.constData()), int(data.size()));
    if (result < ZINT_ERROR)
        result = ZBarcode_Buffer_Vector(symbol, key.rotation);
    if (result >= ZINT_ERROR || !symbol->vector) {
        g->error = QString::fromUtf8(symbol->errtxt);
        if (g->error.isEmpty())
            g->error = QStringLiteral("Barcode cannot be encoded");
        ZBarcode_Delete(symbol);
        return g;
    }
    const zint_vector *v = symbol->vector;
    g->size = QSizeF(v->width, v->height);
    g->fixedRatio = ZBarcode_Cap(key.symbology, ZINT_CAP_FIXED_RATIO) != 0;
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next)
        g->bars.push_back({QRectF(r->x, r->y, r->width, r->height), r->colour});
    for (const zint_vector_hexagon *h = v->hexagons; h; h = h->next)
        g->hexagons.push_back({QPointF(h->x, h->y), h->diameter, h->rotation});
    for (const zint_vector_circle *c = v->circles; c; c = c->next)
        g->circles.push_back({QPointF(c->x, c->y), c->diameter, c->width, c->colour != 0});
    for (const zint_vector_string *s = v->strings; s; s = s->next) {
        g->texts.push_back({QPointF(s->x, s->y), s->fsize, s->width, s->halign, s->rotation,
                            QString::fromUtf8(reinterpret_cast<const char *>(s->text), s->length)});
    }
    ZBarcode_Delete(symbol);
    return g;
}

} // namespace

std::shared_ptr<const BarcodeGraphic> encodeBarcode(int symbology, const QString &data, bool showText, int rotation)
{
    // Reports repeat the same codes while repainting: keep the latest ones.
    thread_local std::list<std::pair<Key, std::shared_ptr<const BarcodeGraphic>>> cache;
    constexpr size_t CacheSize = 128;
    const int angle = (rotation % 360 + 360) % 360 / 90 * 90;
    Key key{symbology, data, showText, angle};
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->first == key) {
            cache.splice(cache.begin(), cache, it);
            return it->second;
        }
    }
    std::shared_ptr<const BarcodeGraphic> g = encode(key);
    cache.emplace_front(std::move(key), g);
    if (cache.size() > CacheSize)
        cache.pop_back();
    return g;
}

} // namespace Orv
