#pragma once
// A rendered page: a list of drawing operations in twips, measured from the
// page's top-left corner (margins are already applied by the run). The same
// page painter draws a page on screen, printer, PDF and TIFF; exporters that
// need structure (text, spreadsheet cells) read the operations directly.
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>
#include <cstdint>
#include <variant>
#include <vector>

namespace Orv {

// A font as drawn: family as the layout names it ("Arial" resolves to a
// metric-compatible face when painted), size in points.
struct PageFont
{
    QString family = QStringLiteral("Arial");
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const PageFont &, const PageFont &) = default;
};

struct PagePen
{
    QRgb color = 0xff000000;
    double width = 15; // twips; 0 draws a hairline
    Qt::PenStyle style = Qt::SolidLine; // Qt::NoPen draws nothing
    friend bool operator==(const PagePen &, const PagePen &) = default;
};

// Text in a box. Alignment is Qt's; wrap breaks at word boundaries (and
// anywhere in words too long for the box, as CJK text needs). The run has
// already measured and sized the box, so drawing never changes layout.
struct TextOp
{
    QRectF rect;
    QString text;
    int font = 0; // index into Page::fonts
    QRgb foreColor = 0xff000000;
    QRgb backColor = 0; // alpha 0: transparent
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wrap = true;
    bool richText = false; // text is HTML from a rich-text control
    int angle = 0; // tenths of a degree, counter-clockwise
    friend bool operator==(const TextOp &, const TextOp &) = default;
};

struct LineOp
{
    QPointF from;
    QPointF to;
    PagePen pen;
    friend bool operator==(const LineOp &, const LineOp &) = default;
};

// Rectangle, rounded rectangle or ellipse, with optional pen and fill.
struct ShapeOp
{
    enum Kind { Rectangle, RoundRect, Ellipse };
    QRectF rect;
    Kind kind = Rectangle;
    PagePen pen;
    QRgb fill = 0; // alpha 0: no fill
    double cornerRadius = 0; // twips, RoundRect only
    friend bool operator==(const ShapeOp &, const ShapeOp &) = default;
};

// An image from the page collection's image store, drawn into rect.
// sizeMode: 0 clip, 1 stretch, 2 zoom (keep aspect ratio).
struct ImageOp
{
    QRectF rect;
    int image = 0; // index into PageCollection's images
    int sizeMode = 0;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    friend bool operator==(const ImageOp &, const ImageOp &) = default;
};

struct CheckBoxOp
{
    QRectF rect; // the box itself
    bool checked = false;
    PagePen pen;
    friend bool operator==(const CheckBoxOp &, const CheckBoxOp &) = default;
};

// A barcode drawn with zint at paint time, so it stays vector in PDF.
struct BarcodeOp
{
    QRectF rect;
    int symbology = 20; // zint symbology number (20: Code 128)
    QString data;
    bool showText = true;
    int font = 0;
    QRgb foreColor = 0xff000000;
    QRgb backColor = 0xffffffff;
    int rotation = 0; // 0, 90, 180, 270
    friend bool operator==(const BarcodeOp &, const BarcodeOp &) = default;
};

// A polygon (closed) or polyline (open) through at least two points, with
// optional pen and, when closed, fill. Charts draw lines, areas and the
// faces of their 3-D kinds with it.
struct PolygonOp
{
    std::vector<QPointF> points;
    bool closed = true;
    PagePen pen;
    QRgb fill = 0; // alpha 0: no fill; ignored when open
    // The bounding box of the points.
    QRectF bounds() const;
    friend bool operator==(const PolygonOp &, const PolygonOp &) = default;
};

// A pie slice of the ellipse in rect: angles in degrees, counter-clockwise
// from three o'clock, as QPainter::drawPie takes them (the angle is the
// ellipse's parametric one, so slices of a flattened pie keep their share
// of its area).
struct PieOp
{
    QRectF rect;
    double startAngle = 0;
    double spanAngle = 0; // -360 to 360
    PagePen pen;
    QRgb fill = 0;
    friend bool operator==(const PieOp &, const PieOp &) = default;
};

// A text of a provisional page that is filled in later (a page count, a
// total above its group): op is its TextOp's index in Page::ops. Late
// texts with the same non-zero key and box size show the same text once
// known (the page count of one control on every page), so a writer may
// draw them all from one object. text is the final text, once known.
struct LateText
{
    int op = 0;
    quint64 key = 0;
    QString text;
    friend bool operator==(const LateText &, const LateText &) = default;
};

using PageOp = std::variant<TextOp, LineOp, ShapeOp, ImageOp, CheckBoxOp, BarcodeOp, PolygonOp, PieOp>;

struct Page
{
    QSizeF size; // twips
    std::vector<PageFont> fonts;
    std::vector<PageOp> ops;
    // Table-of-contents entries that start on this page (group headers):
    // level 0 is outermost.
    struct Bookmark
    {
        int level = 0;
        QString text;
        double top = 0;
        friend bool operator==(const Bookmark &, const Bookmark &) = default;
    };
    std::vector<Bookmark> bookmarks;

    int fontIndex(const PageFont &font); // adds the font when new
    friend bool operator==(const Page &, const Page &) = default;
};

} // namespace Orv
