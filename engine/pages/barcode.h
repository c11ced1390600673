#pragma once
// Barcodes encoded with zint into vector shapes (bars, hexagons, circles and
// texts in zint's own units), so painters can draw them at any size and PDF
// keeps them as vectors. Encodings are cached per thread.
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

namespace Orv {

struct BarcodeGraphic
{
    QSizeF size; // zint units; everything below is within it
    bool fixedRatio = false; // 2D symbols keep their aspect ratio
    struct Bar { QRectF rect; int colour = -1; }; // -1 foreground, else zint's colour 1-8
    struct Hexagon { QPointF centre; double diameter = 0; int rotation = 0; };
    struct Circle { QPointF centre; double diameter = 0; double width = 0; bool background = false; };
    struct Text { QPointF pos; double size = 0; double width = 0; int halign = 0; int rotation = 0; QString text; };
    std::vector<Bar> bars;
    std::vector<Hexagon> hexagons;
    std::vector<Circle> circles;
    std::vector<Text> texts;
    QString error; // set when the data cannot be encoded
};

// symbology: zint's number; rotation 0, 90, 180 or 270.
std::shared_ptr<const BarcodeGraphic> encodeBarcode(int symbology, const QString &data, bool showText, int rotation);

// Where a barcode's shapes land in a box (2D symbols centred, aspect kept).
// The page painter and the PDF writer both place barcodes through it, so
// their pages agree.
struct BarcodePlacement
{
    BarcodePlacement(const BarcodeGraphic &graphic, const QRectF &box);
    double sx = 1;
    double sy = 1;
    QPointF origin;

    QPointF map(const QPointF &pt) const { return QPointF(origin.x() + pt.x() * sx, origin.y() + pt.y() * sy); }
    QRectF bar(const BarcodeGraphic::Bar &bar) const;
    void hexagon(const BarcodeGraphic::Hexagon &hexagon, QPointF corners[6]) const;
    QRectF circle(const BarcodeGraphic::Circle &circle) const;
    // Sizes font for the text, shrunk to fit its room, and returns the
    // text's horizontal offset from its anchor.
    double fitText(const BarcodeGraphic::Text &text, QFont &font) const;
};

} // namespace Orv
