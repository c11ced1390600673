#include "engine/pages/barcode.h"

#include <QFontMetricsF>
#include <QtMath>

#include <cmath>
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

BarcodePlacement::BarcodePlacement(const BarcodeGraphic &g, const QRectF &box)
{
    sx = box.width() / g.size.width();
    sy = box.height() / g.size.height();
    origin = box.topLeft();
    if (g.fixedRatio) {
        sx = sy = std::min(sx, sy);
        QRectF centred(QPointF(), g.size * sx);
        centred.moveCenter(box.center());
        origin = centred.topLeft();
    }
}

QRectF BarcodePlacement::bar(const BarcodeGraphic::Bar &bar) const
{
    return QRectF(map(bar.rect.topLeft()), QSizeF(bar.rect.width() * sx, bar.rect.height() * sy));
}

void BarcodePlacement::hexagon(const BarcodeGraphic::Hexagon &h, QPointF corners[6]) const
{
    const double start = (h.rotation == 90 || h.rotation == 270) ? 0 : 30;
    for (int i = 0; i < 6; ++i) {
        const double a = qDegreesToRadians(start + 60 * i);
        corners[i] = map(h.centre + QPointF(std::cos(a), std::sin(a)) * (h.diameter / 2));
    }
}

QRectF BarcodePlacement::circle(const BarcodeGraphic::Circle &c) const
{
    return QRectF(map(c.centre - QPointF(c.diameter / 2, c.diameter / 2)), QSizeF(c.diameter * sx, c.diameter * sy));
}

double BarcodePlacement::fitText(const BarcodeGraphic::Text &t, QFont &font) const
{
    font.setPixelSize(std::max(1, int(std::lround(t.size * std::min(sx, sy)))));
    double width = QFontMetricsF(font).horizontalAdvance(t.text);
    const double room = t.width > 0 ? t.width * (t.rotation % 180 ? sy : sx) : 0;
    if (room > 0 && width > room) {
        font.setPixelSize(std::max(1, int(font.pixelSize() * room / width)));
        width = QFontMetricsF(font).horizontalAdvance(t.text);
    }
    return t.halign == 1 ? 0 : t.halign == 2 ? -width : -width / 2;
}

} // namespace Orv
