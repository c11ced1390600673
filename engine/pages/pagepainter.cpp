#include "engine/pages/pagepainter.h"

#include "engine/core/units.h"
#include "engine/pages/barcode.h"
#include "engine/pages/fontresolver.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/textmeasure.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

namespace Orv {

namespace {

constexpr double OverflowTolerance = PagePainter::OverflowTolerance;

QColor colour(QRgb rgba)
{
    return QColor::fromRgba(rgba);
}

bool visible(QRgb rgba)
{
    return qAlpha(rgba) != 0;
}

QPen pen(const PagePen &p)
{
    if (p.style == Qt::NoPen || !visible(p.color))
        return QPen(Qt::NoPen);
    QPen pen(colour(p.color), p.width > 0 ? p.width : 0, p.style, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

// Places a size inside a box as the alignment says.
QRectF aligned(const QSizeF &size, const QRectF &box, Qt::Alignment alignment)
{
    double x = box.left();
    double y = box.top();
    if (alignment & Qt::AlignRight)
        x = box.right() - size.width();
    else if (alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - size.width()) / 2;
    if (alignment & Qt::AlignBottom)
        y = box.bottom() - size.height();
    else if (alignment & Qt::AlignVCenter)
        y = box.top() + (box.height() - size.height()) / 2;
    return QRectF(QPointF(x, y), size);
}

class OpPainter
{
public:
    OpPainter(QPainter &painter, const Page &page, const PagePainter::ImageLookup &images)
        : p(painter), page(page), images(images)
    {
        fonts.reserve(page.fonts.size());
        for (const PageFont &font : page.fonts)
            fonts.push_back(FontResolver::instance().resolve(font));
    }

    void operator()(const TextOp &op)
    {
        if (visible(op.backColor))
            p.fillRect(op.rect, colour(op.backColor));
        if (op.text.isEmpty())
            return;
        const int angle = ((op.angle % 3600) + 3600) % 3600;
        if (angle == 0) {
            drawText(op, op.rect);
            return;
        }
        // Turned text is laid out in the box turned with it: a quarter turn
        // swaps width and height.
        p.save();
        p.translate(op.rect.center());
        p.rotate(-angle / 10.0);
        const bool sideways = (angle > 450 && angle < 1350) || (angle > 2250 && angle < 3150);
        const QSizeF size = sideways ? op.rect.size().transposed() : op.rect.size();
        drawText(op, QRectF(QPointF(-size.width() / 2, -size.height() / 2), size));
        p.restore();
        m_penKnown = false;
    }

    void operator()(const LineOp &op)
    {
        const QPen linePen = pen(op.pen);
        if (linePen.style() == Qt::NoPen)
            return;
        setPen(linePen);
        p.drawLine(op.from, op.to);
    }

    void operator()(const ShapeOp &op)
    {
        setPen(pen(op.pen));
        p.setBrush(visible(op.fill) ? QBrush(colour(op.fill)) : QBrush(Qt::NoBrush));
        switch (op.kind) {
        case ShapeOp::Rectangle:
            p.drawRect(op.rect);
            break;
        case ShapeOp::RoundRect:
            p.drawRoundedRect(op.rect, op.cornerRadius, op.cornerRadius);
            break;
        case ShapeOp::Ellipse:
            p.drawEllipse(op.rect);
            break;
        }
        p.setBrush(Qt::NoBrush);
    }

    void operator()(const PolygonOp &op)
    {
        setPen(pen(op.pen));
        if (op.closed) {
            p.setBrush(visible(op.fill) ? QBrush(colour(op.fill)) : QBrush(Qt::NoBrush));
            p.drawPolygon(op.points.data(), int(op.points.size()));
            p.setBrush(Qt::NoBrush);
        } else {
            p.drawPolyline(op.points.data(), int(op.points.size()));
        }
    }

    void operator()(const PieOp &op)
    {
        setPen(pen(op.pen));
        p.setBrush(visible(op.fill) ? QBrush(colour(op.fill)) : QBrush(Qt::NoBrush));
        if (std::fabs(op.spanAngle) >= 360) {
            p.drawEllipse(op.rect);
        } else {
            // A path keeps fractions of a degree that drawPie's sixteenths would round.
            QPainterPath path(op.rect.center());
            path.arcTo(op.rect, op.startAngle, op.spanAngle);
            path.closeSubpath();
            p.drawPath(path);
        }
        p.setBrush(Qt::NoBrush);
    }

    void operator()(const ImageOp &op)
    {
        if (!images)
            return;
        const QImage image = images(op.image);
        if (image.isNull() || op.rect.isEmpty())
            return;
        const QRectF target = PagePainter::imageTarget(op, image);
        if (op.rect.contains(target)) {
            p.drawImage(target, image);
        } else {
            p.save();
            p.setClipRect(op.rect, Qt::IntersectClip);
            p.drawImage(target, image);
            p.restore();
        }
    }

    void operator()(const CheckBoxOp &op)
    {
        setPen(pen(op.pen));
        p.setBrush(Qt::NoBrush);
        p.drawRect(op.rect);
        if (!op.checked)
            return;
        const QRectF &r = op.rect;
        const QRgb tickColour = visible(op.pen.color) ? op.pen.color : 0xff000000;
        QPen tick(colour(tickColour), qMax(op.pen.width, qMin(r.width(), r.height()) / 8), Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin);
        setPen(tick);
        const QPointF points[3] = {{r.left() + r.width() * 0.2, r.top() + r.height() * 0.52},
                                   {r.left() + r.width() * 0.42, r.top() + r.height() * 0.75},
                                   {r.left() + r.width() * 0.8, r.top() + r.height() * 0.25}};
        p.drawPolyline(points, 3);
    }

    void operator()(const BarcodeOp &op)
    {
        if (visible(op.backColor))
            p.fillRect(op.rect, colour(op.backColor));
        const auto g = encodeBarcode(op.symbology, op.data, op.showText, op.rotation);
        if (!g->error.isEmpty() || g->size.isEmpty()) {
            TextOp message;
            message.rect = op.rect;
            message.text = g->error.isEmpty() ? QStringLiteral("Empty barcode") : g->error;
            message.font = op.font;
            message.foreColor = op.foreColor;
            message.alignment = Qt::AlignCenter;
            drawText(message, op.rect);
            return;
        }
        const BarcodePlacement place(*g, op.rect);
        const QColor fore = colour(op.foreColor);
        const QColor back = visible(op.backColor) ? colour(op.backColor) : QColor(Qt::white);
        for (const BarcodeGraphic::Bar &bar : g->bars)
            p.fillRect(place.bar(bar), bar.colour < 0 ? fore : PagePainter::barcodeColour(bar.colour, back));
        p.setPen(Qt::NoPen);
        for (const BarcodeGraphic::Hexagon &h : g->hexagons) {
            QPointF corners[6];
            place.hexagon(h, corners);
            p.setBrush(fore);
            p.drawPolygon(corners, 6);
        }
        for (const BarcodeGraphic::Circle &c : g->circles) {
            const QColor col = c.background ? back : fore;
            if (c.width > 0) {
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(col, c.width * qMin(place.sx, place.sy)));
            } else {
                p.setPen(Qt::NoPen);
                p.setBrush(col);
            }
            p.drawEllipse(place.circle(c));
        }
        p.setBrush(Qt::NoBrush);
        m_penKnown = false;
        if (g->texts.empty())
            return;
        QFont font = FontResolver::instance().resolve(fontOf(op.font))->font;
        setPen(QPen(fore));
        for (const BarcodeGraphic::Text &t : g->texts) {
            const double dx = place.fitText(t, font);
            p.setFont(font);
            p.save();
            p.translate(place.map(t.pos));
            p.rotate(t.rotation);
            p.drawText(QPointF(dx, 0), t.text);
            p.restore();
        }
    }

private:
    PageFont fontOf(int index) const
    {
        return index >= 0 && size_t(index) < page.fonts.size() ? page.fonts[size_t(index)] : PageFont();
    }

    std::shared_ptr<const FontResolver::Entry> entryOf(int index)
    {
        if (index >= 0 && size_t(index) < fonts.size())
            return fonts[size_t(index)];
        return FontResolver::instance().resolve(PageFont());
    }

    // Rows of texts share a colour: set the pen only when it changes.
    void setPen(const QPen &pen)
    {
        if (!m_penKnown || m_pen != pen) {
            p.setPen(pen);
            m_pen = pen;
            m_penKnown = true;
        }
    }

    void drawText(const TextOp &op, const QRectF &box)
    {
        setPen(QPen(colour(op.foreColor)));
        if (op.richText) {
            drawRichText(op, box);
            return;
        }
        const auto entry = entryOf(op.font);
        QTextLayout layout(TextLayout::prepare(op.text), entry->font);
        layout.setCacheEnabled(true); // keep the shaped glyphs for drawing
        double widest = 0;
        const double height = TextLayout::layoutLines(layout, box.width(), op.wrap, op.alignment, &widest);
        QPointF at = box.topLeft();
        if (op.alignment & Qt::AlignBottom)
            at.ry() += box.height() - height;
        else if (op.alignment & Qt::AlignVCenter)
            at.ry() += (box.height() - height) / 2;
        if (height <= box.height() + OverflowTolerance && widest <= box.width() + OverflowTolerance) {
            layout.draw(&p, at);
            return;
        }
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
        layout.draw(&p, at);
        p.restore();
    }

    void drawRichText(const TextOp &op, const QRectF &box)
    {
        TextLayout::RichTextDocument document(op.text, fontOf(op.font), box.width());
        const double unit = TextLayout::RichTextTwipsPerUnit;
        const double height = document.size().height() * unit;
        QPointF at = box.topLeft();
        if (op.alignment & Qt::AlignBottom)
            at.ry() += box.height() - height;
        else if (op.alignment & Qt::AlignVCenter)
            at.ry() += (box.height() - height) / 2;
        p.save();
        if (height > box.height() + OverflowTolerance)
            p.setClipRect(box, Qt::IntersectClip);
        p.translate(at);
        p.scale(unit, unit);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, colour(op.foreColor));
        document.documentLayout()->draw(&p, context);
        p.restore();
    }

    QPainter &p;
    const Page &page;
    const PagePainter::ImageLookup &images;
    std::vector<std::shared_ptr<const FontResolver::Entry>> fonts;
    QPen m_pen;
    bool m_penKnown = false;
};

} // namespace

PagePainter::PagePainter(const PageCollection *images)
{
    if (images)
        m_images = [images](int index) { return images->image(index); };
}

PagePainter PagePainter::withImages(ImageLookup images)
{
    PagePainter painter;
    painter.m_images = std::move(images);
    return painter;
}

QRectF PagePainter::imageTarget(const ImageOp &op, const QImage &image)
{
    switch (op.sizeMode) {
    case 1: // stretch
        return op.rect;
    case 2: // zoom: as large as fits, aspect kept
        return aligned(QSizeF(image.size()).scaled(op.rect.size(), Qt::KeepAspectRatio), op.rect, op.alignment);
    default: { // clip: natural size, cut at the box
        const double dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : Units::ScreenDpi / 0.0254;
        const double dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : Units::ScreenDpi / 0.0254;
        const QSizeF natural(image.width() / dpmX / 0.0254 * Units::TwipsPerInch,
                             image.height() / dpmY / 0.0254 * Units::TwipsPerInch);
        return aligned(natural, op.rect, op.alignment);
    }
    }
}

QColor PagePainter::barcodeColour(int c, const QColor &back)
{
    switch (c) {
    case 1: return QColor(0, 255, 255);
    case 2: return QColor(0, 0, 255);
    case 3: return QColor(255, 0, 255);
    case 4: return QColor(255, 0, 0);
    case 5: return QColor(255, 255, 0);
    case 6: return QColor(0, 255, 0);
    case 7: return QColor(0, 0, 0);
    default: return back;
    }
}

QTransform PagePainter::twipsToDevice(const QPaintDevice *device, double scale, const QPointF &origin)
{
    const double dpiX = device ? device->logicalDpiX() : Units::ScreenDpi;
    const double dpiY = device ? device->logicalDpiY() : Units::ScreenDpi;
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.scale(scale * dpiX / Units::TwipsPerInch, scale * dpiY / Units::TwipsPerInch);
    return t;
}

void PagePainter::paint(QPainter &painter, const Page &page, double scale, const QPointF &origin) const
{
    painter.save();
    painter.setTransform(twipsToDevice(painter.device(), scale, origin), true);
    paintInTwips(painter, page);
    painter.restore();
}

void PagePainter::paintInTwips(QPainter &painter, const Page &page) const
{
    OpPainter draw(painter, page, m_images);
    for (const PageOp &op : page.ops)
        std::visit(draw, op);
}

} // namespace Orv
