#pragma once
// Draws pages on any QPainter: the viewer's widget, a printer, a PDF writer,
// an image. Operations are drawn plainly in twips under one transform per
// page; only rotated text, overflowing content and clipped images save and
// restore the painter.
#include "engine/pages/page.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QTransform>

#include <functional>

class QPainter;
class QPaintDevice;

namespace Orv {

class PageCollection;

class PagePainter
{
public:
    // Where ImageOp indexes point: a null image is skipped.
    using ImageLookup = std::function<QImage(int index)>;

    // images: the collection the page's images are in; without it images
    // are skipped.
    explicit PagePainter(const PageCollection *images = nullptr);
    // Images from a lookup of the caller's, e.g. pictures copied out of
    // the collection for a worker thread that must not read it.
    static PagePainter withImages(ImageLookup images);

    // Draws the page with its top-left corner at origin (device units),
    // scale 1 being actual size at the device's logical resolution. The
    // page background is left to the caller (paper colour, shadow, ...).
    void paint(QPainter &painter, const Page &page, double scale = 1.0, const QPointF &origin = QPointF()) const;

    // Draws in the painter's current coordinates, taken to be twips.
    void paintInTwips(QPainter &painter, const Page &page) const;

    // Where an image op draws its picture (in clip mode it may reach past
    // op.rect, and is cut there).
    static QRectF imageTarget(const ImageOp &op, const QImage &image);
    // zint's colour numbers 1-8; others give back.
    static QColor barcodeColour(int colour, const QColor &back);
    // Content that overflows its box by less than this (twips) is rounding,
    // not overflow, and is drawn unclipped.
    static constexpr double OverflowTolerance = 0.5;

    // Twips to device units for a device at a zoom scale.
    static QTransform twipsToDevice(const QPaintDevice *device, double scale = 1.0,
                                    const QPointF &origin = QPointF());

private:
    ImageLookup m_images;
};

} // namespace Orv
