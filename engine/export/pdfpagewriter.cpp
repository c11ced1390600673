#include "engine/export/pdfpagewriter.h"

#include "engine/export/pdffonts.h"
#include "engine/export/pdfimages.h"
#include "engine/export/pdfobjects.h"
#include "engine/pages/barcode.h"
#include "engine/pages/fontresolver.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"
#include "engine/pages/textmeasure.h"

#include <QAbstractTextDocumentLayout>
#include <QGlyphRun>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTransform>
#include <QtMath>

#include <cmath>

namespace Orv::Pdf {

namespace {

constexpr double Tolerance = PagePainter::OverflowTolerance;

bool visible(QRgb rgba)
{
    return qAlpha(rgba) != 0;
}

// Where a block of the given height starts in a box, as the alignment says.
double topFor(double height, const QRectF &box, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignBottom)
        return box.top() + box.height() - height;
    if (alignment & Qt::AlignVCenter)
        return box.top() + (box.height() - height) / 2;
    return box.top();
}

// A stretch of one glyph run's glyphs.
struct Piece
{
    size_t run;
    qsizetype from, to;
};

// The runs' glyphs in reading order, line by line and left to right:
// QTextLayout groups the glyphs of a line by font, so a line with Chinese
// in Latin text comes as one run per font, which text extraction would
// otherwise read one after the other.
std::vector<Piece> pieces(const std::vector<QList<QPointF>> &positions)
{
    std::vector<Piece> out;
    if (positions.size() == 1) {
        out.push_back({0, 0, positions[0].size()});
        return out;
    }
    struct Glyph
    {
        double y, x;
        size_t run;
        qsizetype index;
    };
    std::vector<Glyph> all;
    for (size_t r = 0; r < positions.size(); ++r) {
        for (qsizetype i = 0; i < positions[r].size(); ++i)
            all.push_back({std::round(positions[r][i].y() * 4) / 4, positions[r][i].x(), r, i});
    }
    std::stable_sort(all.begin(), all.end(), [](const Glyph &a, const Glyph &b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    for (const Glyph &g : all) {
        if (!out.empty() && out.back().run == g.run && out.back().to == g.index)
            ++out.back().to;
        else
            out.push_back({g.run, g.index, g.index + 1});
    }
    return out;
}

class OpWriter
{
public:
    OpWriter(Content &content, const Page &page, FileWriter &file, FontSet &fonts, ImageSet &images,
             const PageCollection *collection, int resolution)
        : c(content), page(page), file(file), fonts(fonts), images(images), collection(collection),
          hairlineUnit(1440.0 / std::max(resolution, 1))
    {
        entries.reserve(page.fonts.size());
        for (const PageFont &font : page.fonts)
            entries.push_back(FontResolver::instance().resolve(font));
    }

    void operator()(const TextOp &op)
    {
        if (visible(op.backColor)) {
            c.fillColour(op.backColor);
            c.rect(op.rect);
            c.paint(true, false);
        }
        if (op.text.isEmpty())
            return;
        const int angle = ((op.angle % 3600) + 3600) % 3600;
        if (angle == 0) {
            drawText(op, op.rect);
            return;
        }
        // Turned text is laid out in the box turned with it: a quarter
        // turn swaps width and height.
        c.save();
        QTransform t;
        t.translate(op.rect.center().x(), op.rect.center().y());
        t.rotate(-angle / 10.0);
        transform(t);
        const bool sideways = (angle > 450 && angle < 1350) || (angle > 2250 && angle < 3150);
        const QSizeF size = sideways ? op.rect.size().transposed() : op.rect.size();
        drawText(op, QRectF(QPointF(-size.width() / 2, -size.height() / 2), size));
        c.restore();
    }

    void operator()(const LineOp &op)
    {
        if (!stroke(op.pen))
            return;
        c.moveTo(op.from);
        c.lineTo(op.to);
        c.paint(false, true);
    }

    void operator()(const ShapeOp &op)
    {
        const bool fill = brush(op.fill);
        const bool line = stroke(op.pen);
        if (!fill && !line)
            return;
        switch (op.kind) {
        case ShapeOp::Rectangle:
            c.rect(op.rect);
            break;
        case ShapeOp::RoundRect:
            c.roundedRect(op.rect, op.cornerRadius, op.cornerRadius);
            break;
        case ShapeOp::Ellipse:
            c.ellipse(op.rect);
            break;
        }
        c.paint(fill, line);
    }

    void operator()(const PolygonOp &op)
    {
        if (op.points.empty())
            return;
        const bool fill = op.closed && brush(op.fill);
        const bool line = stroke(op.pen);
        if (!fill && !line)
            return;
        c.polyline(op.points.data(), op.points.size(), op.closed);
        c.paint(fill, line, true);
    }

    void operator()(const PieOp &op)
    {
        const bool fill = brush(op.fill);
        const bool line = stroke(op.pen);
        if (!fill && !line)
            return;
        if (std::fabs(op.spanAngle) >= 360) {
            c.ellipse(op.rect);
        } else {
            c.moveTo(op.rect.center());
            c.arc(op.rect, op.startAngle, op.spanAngle);
            c.closePath();
        }
        c.paint(fill, line, true);
    }

    void operator()(const ImageOp &op)
    {
        if (!collection || op.rect.isEmpty())
            return;
        const QImage image = collection->image(op.image);
        if (image.isNull())
            return;
        const int id = images.object(op.image, image, file);
        if (!id)
            return;
        const QRectF target = PagePainter::imageTarget(op, image);
        if (op.rect.contains(target)) {
            c.image(id, target);
            return;
        }
        c.save();
        c.clipRect(op.rect);
        c.image(id, target);
        c.restore();
    }

    void operator()(const CheckBoxOp &op)
    {
        if (stroke(op.pen)) {
            c.rect(op.rect);
            c.paint(false, true);
        }
        if (!op.checked)
            return;
        const QRectF &r = op.rect;
        c.strokeColour(visible(op.pen.color) ? op.pen.color : 0xff000000);
        c.lineStyle(std::max(op.pen.width, std::min(r.width(), r.height()) / 8), {}, Content::Cap::Round,
                    Content::Join::Round);
        const QPointF points[3] = {{r.left() + r.width() * 0.2, r.top() + r.height() * 0.52},
                                   {r.left() + r.width() * 0.42, r.top() + r.height() * 0.75},
                                   {r.left() + r.width() * 0.8, r.top() + r.height() * 0.25}};
        c.polyline(points, 3, false);
        c.paint(false, true);
    }

    void operator()(const BarcodeOp &op)
    {
        if (visible(op.backColor)) {
            c.fillColour(op.backColor);
            c.rect(op.rect);
            c.paint(true, false);
        }
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
        const QRgb fore = op.foreColor;
        const QRgb back = visible(op.backColor) ? op.backColor : 0xffffffff;
        // Each bar a fill of its own, as the painter draws them.
        for (const BarcodeGraphic::Bar &bar : g->bars) {
            c.fillColour(bar.colour < 0 ? fore : PagePainter::barcodeColour(bar.colour, QColor::fromRgba(back)).rgba());
            c.rect(place.bar(bar));
            c.paint(true, false);
        }
        if (!g->hexagons.empty()) {
            c.fillColour(fore);
            for (const BarcodeGraphic::Hexagon &h : g->hexagons) {
                QPointF corners[6];
                place.hexagon(h, corners);
                c.polyline(corners, 6, true);
            }
            c.paint(true, false, true);
        }
        for (const BarcodeGraphic::Circle &circle : g->circles) {
            const QRgb colour = circle.background ? back : fore;
            if (circle.width > 0) {
                c.strokeColour(colour);
                c.lineStyle(circle.width * std::min(place.sx, place.sy), {}, Content::Cap::Square, Content::Join::Bevel);
                c.ellipse(place.circle(circle));
                c.paint(false, true);
            } else {
                c.fillColour(colour);
                c.ellipse(place.circle(circle));
                c.paint(true, false);
            }
        }
        if (g->texts.empty())
            return;
        QFont font = FontResolver::instance().resolve(fontOf(op.font))->font;
        for (const BarcodeGraphic::Text &t : g->texts) {
            const double dx = place.fitText(t, font);
            QTextLayout layout(t.text, font);
            TextLayout::layoutLines(layout, 1e7, false, Qt::AlignLeft);
            if (layout.lineCount() == 0)
                continue;
            c.save();
            QTransform m;
            m.translate(place.map(t.pos).x(), place.map(t.pos).y());
            m.rotate(t.rotation);
            transform(m);
            glyphs(layout.glyphRuns(), QPointF(dx, -layout.lineAt(0).ascent()), layout.text(), fore);
            c.restore();
        }
    }

private:
    PageFont fontOf(int index) const
    {
        return index >= 0 && size_t(index) < page.fonts.size() ? page.fonts[size_t(index)] : PageFont();
    }

    std::shared_ptr<const FontResolver::Entry> entryOf(int index)
    {
        if (index >= 0 && size_t(index) < entries.size())
            return entries[size_t(index)];
        return FontResolver::instance().resolve(PageFont());
    }

    void transform(const QTransform &t)
    {
        c.transform(t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
    }

    // Sets the stroke for a pen; false for no pen.
    bool stroke(const PagePen &pen)
    {
        if (pen.style == Qt::NoPen || !visible(pen.color))
            return false;
        c.strokeColour(pen.color);
        const double width = pen.width > 0 ? pen.width : 0;
        const double unit = width > 0 ? width : hairlineUnit;
        std::vector<double> dashes;
        switch (pen.style) {
        case Qt::DashLine: dashes = {4, 2}; break;
        case Qt::DotLine: dashes = {1, 2}; break;
        case Qt::DashDotLine: dashes = {4, 2, 1, 2}; break;
        case Qt::DashDotDotLine: dashes = {4, 2, 1, 2, 1, 2}; break;
        default: break;
        }
        for (double &d : dashes)
            d *= unit;
        c.lineStyle(width, dashes, Content::Cap::Flat, Content::Join::Miter);
        return true;
    }

    bool brush(QRgb fill)
    {
        if (!visible(fill))
            return false;
        c.fillColour(fill);
        return true;
    }

    void drawText(const TextOp &op, const QRectF &box)
    {
        if (op.richText) {
            drawRichText(op, box);
            return;
        }
        const auto entry = entryOf(op.font);
        QTextLayout layout(TextLayout::prepare(op.text), entry->font);
        double widest = 0;
        const double height = TextLayout::layoutLines(layout, box.width(), op.wrap, op.alignment, &widest);
        const QPointF at(box.left(), topFor(height, box, op.alignment));
        const bool clip = !(height <= box.height() + Tolerance && widest <= box.width() + Tolerance);
        if (clip) {
            c.save();
            c.clipRect(box);
        }
        glyphs(layout.glyphRuns(), at, layout.text(), op.foreColor);
        if (clip)
            c.restore();
    }

    void drawRichText(const TextOp &op, const QRectF &box)
    {
        TextLayout::RichTextDocument document(op.text, fontOf(op.font), box.width());
        const double unit = TextLayout::RichTextTwipsPerUnit;
        const double height = document.size().height() * unit;
        c.save();
        if (height > box.height() + Tolerance)
            c.clipRect(box);
        c.transform(unit, 0, 0, unit, box.left(), topFor(height, box, op.alignment));
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QTextLayout *layout = block.layout();
            if (!layout || !block.isVisible())
                continue;
            const QPointF at = layout->position();
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid())
                    continue;
                const QTextCharFormat format = fragment.charFormat();
                const QBrush fore = format.foreground();
                const QRgb colour = fore.style() != Qt::NoBrush ? fore.color().rgba() : op.foreColor;
                const QList<QGlyphRun> runs = fragment.glyphRuns();
                if (format.background().style() != Qt::NoBrush)
                    backgrounds(runs, at, format.background().color().rgba());
                glyphs(runs, at, fragment.text(), colour);
            }
        }
        c.restore();
    }

    // The extent of each line of a run: from its first glyph to the end
    // of its last, at the baseline.
    template<typename F>
    void eachLine(const QGlyphRun &run, const QPointF &at, F f)
    {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const QRawFont raw = run.rawFont();
        const auto advance = [&](qsizetype i) {
            const QList<QPointF> a = raw.advancesForGlyphIndexes(QList<quint32>{glyphs[i]});
            return a.isEmpty() ? 0.0 : a.first().x();
        };
        qsizetype start = 0;
        for (qsizetype i = 1; i <= positions.size(); ++i) {
            if (i < positions.size() && std::fabs(positions[i].y() - positions[start].y()) < 0.01)
                continue;
            const double left = positions[start].x();
            const double right = positions[i - 1].x() + advance(i - 1);
            f(raw, at.x() + left, at.x() + right, at.y() + positions[start].y());
            start = i;
        }
    }

    void backgrounds(const QList<QGlyphRun> &runs, const QPointF &at, QRgb colour)
    {
        c.fillColour(colour);
        for (const QGlyphRun &run : runs) {
            eachLine(run, at, [&](const QRawFont &raw, double left, double right, double baseline) {
                c.rect(QRectF(left, baseline - raw.ascent(), right - left, raw.ascent() + raw.descent()));
            });
        }
        c.paint(true, false);
    }

    // Writes glyph runs as text placed at `at`, then their underlines and
    // strike-outs.
    void glyphs(const QList<QGlyphRun> &runs, const QPointF &at, const QString &text, QRgb colour)
    {
        if (runs.isEmpty())
            return;
        c.fillColour(colour);
        std::string &d = c.data();
        bool inText = false;
        const FontSet::Face *lastFace = nullptr;
        double lastSize = -1;
        bool decorated = false;
        std::vector<QList<quint32>> indexes;
        std::vector<QList<QPointF>> positions;
        std::vector<FontSet::Face *> faces;
        for (const QGlyphRun &run : runs) {
            indexes.push_back(run.glyphIndexes());
            positions.push_back(run.positions());
            decorated |= run.underline() || run.strikeOut() || run.overline();
            FontSet::Face *face = indexes.back().isEmpty() ? nullptr : fonts.face(run.rawFont(), file);
            faces.push_back(face);
            if (face)
                fonts.use(face, indexes.back().constData(), int(indexes.back().size()), text);
            else if (!indexes.back().isEmpty())
                outlines(run.rawFont(), indexes.back(), positions.back(), at); // no outlines to embed: shapes
        }
        for (const Piece &piece : pieces(positions)) {
            FontSet::Face *face = faces[piece.run];
            if (!face)
                continue;
            const QList<quint32> &glyph = indexes[piece.run];
            const QList<QPointF> &place = positions[piece.run];
            const double size = runs[qsizetype(piece.run)].rawFont().pixelSize();
            if (!inText) {
                d += "BT\n";
                inText = true;
            }
            if (face != lastFace || size != lastSize) {
                d += "/F";
                appendInt(d, FontSet::objectId(face));
                d += ' ';
                appendNumber(d, size, 3);
                d += " Tf\n";
                c.resources().addFont(FontSet::objectId(face));
                lastFace = face;
                lastSize = size;
            }
            const double unit = size / 1000;
            double x = 0, y = 0;
            bool shown = false;
            bool hexOpen = false;
            for (qsizetype i = piece.from; i < piece.to; ++i) {
                const double gx = at.x() + place[i].x();
                const double gy = at.y() + place[i].y();
                if (!shown || std::fabs(gy - y) > 0.005) {
                    if (shown)
                        d += hexOpen ? ">]TJ\n" : "]TJ\n";
                    d += "1 0 0 -1 ";
                    appendNumber(d, gx);
                    d += ' ';
                    appendNumber(d, gy);
                    d += " Tm [<";
                    hexOpen = true;
                    x = gx;
                    y = gy;
                    shown = true;
                } else {
                    // TJ moves left by positive thousandths of the size.
                    const long adjust = std::lround((x - gx) / unit);
                    if (adjust != 0) {
                        d += hexOpen ? ">" : "";
                        appendInt(d, adjust);
                        d += '<';
                        hexOpen = true;
                        x -= adjust * unit;
                    }
                }
                appendHex4(d, glyph[i]);
                x += FontSet::width(face, glyph[i]) * unit;
            }
            d += hexOpen ? ">]TJ\n" : "]TJ\n";
        }
        if (inText)
            d += "ET\n";
        if (!decorated)
            return;
        for (const QGlyphRun &run : runs) {
            if (!run.underline() && !run.strikeOut() && !run.overline())
                continue;
            eachLine(run, at, [&](const QRawFont &raw, double left, double right, double baseline) {
                const double thickness = std::max(raw.lineThickness(), 0.0);
                const auto line = [&](double middle) {
                    c.rect(QRectF(left, middle - thickness / 2, right - left, thickness));
                };
                if (run.underline())
                    line(baseline + raw.underlinePosition());
                if (run.strikeOut())
                    line(baseline - raw.ascent() / 3);
                if (run.overline())
                    line(baseline - raw.ascent() + thickness / 2);
            });
        }
        c.paint(true, false);
    }

    void outlines(const QRawFont &raw, const QList<quint32> &indexes, const QList<QPointF> &positions, const QPointF &at)
    {
        QPainterPath all;
        for (qsizetype i = 0; i < indexes.size(); ++i)
            all.addPath(raw.pathForGlyph(indexes[i]).translated(at + positions[i]));
        for (int i = 0; i < all.elementCount(); ++i) {
            const QPainterPath::Element e = all.elementAt(i);
            if (e.isMoveTo()) {
                c.moveTo(e);
            } else if (e.isLineTo()) {
                c.lineTo(e);
            } else if (e.isCurveTo() && i + 2 < all.elementCount()) {
                c.curveTo(e, all.elementAt(i + 1), all.elementAt(i + 2));
                i += 2;
            }
        }
        c.paint(true, false, false);
    }

    Content &c;
    const Page &page;
    FileWriter &file;
    FontSet &fonts;
    ImageSet &images;
    const PageCollection *collection;
    double hairlineUnit;
    std::vector<std::shared_ptr<const FontResolver::Entry>> entries;
};

} // namespace

PageWriter::PageWriter(FileWriter &file, FontSet &fonts, ImageSet &images, const PageCollection *collection, int resolution)
    : m_file(file), m_fonts(fonts), m_images(images), m_collection(collection), m_resolution(resolution)
{
}

void PageWriter::paint(const Page &page, Content &content)
{
    OpWriter draw(content, page, m_file, m_fonts, m_images, m_collection, m_resolution);
    for (const PageOp &op : page.ops)
        std::visit(draw, op);
}

} // namespace Orv::Pdf
