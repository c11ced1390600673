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
#include <QCache>
#include <QGlyphRun>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <atomic>
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

// One glyph run, taken out of Qt's layout as plain data: the face it
// embeds (found through the thread-safe FontSet), its glyphs and places,
// and what its decorations need. Nothing of the thread's font engine is
// kept, so texts laid out on a worker thread are written on another.
struct ShapedRun
{
    FontSet::Face *face = nullptr;
    double size = 0;
    QList<quint32> indexes;
    QList<QPointF> positions;
    QPainterPath outline; // the glyphs' shapes, for a font with none to embed
    bool underline = false, strikeOut = false, overline = false;
    double ascent = 0, descent = 0, thickness = 0, underlinePosition = 0;
    struct Line
    {
        double left, right, baseline; // from the first glyph to the end of the last
    };
    std::vector<Line> lines; // only where decorations or backgrounds need them
};

struct ShapedText
{
    ShapedText(const QList<QGlyphRun> &runs, const QString &shapedFrom, FontSet &fonts, bool withLines = false)
        : text(shapedFrom)
    {
        std::vector<QList<QPointF>> places;
        for (const QGlyphRun &run : runs) {
            ShapedRun r;
            r.indexes = run.glyphIndexes();
            r.positions = run.positions();
            const QRawFont raw = run.rawFont();
            r.size = raw.pixelSize();
            r.underline = run.underline();
            r.strikeOut = run.strikeOut();
            r.overline = run.overline();
            const bool decoratedRun = r.underline || r.strikeOut || r.overline;
            decorated |= decoratedRun;
            if (!r.indexes.isEmpty()) {
                r.face = fonts.face(raw);
                if (!r.face) {
                    for (qsizetype i = 0; i < r.indexes.size(); ++i)
                        r.outline.addPath(raw.pathForGlyph(r.indexes[i]).translated(r.positions[i]));
                }
            }
            if (decoratedRun || withLines) {
                r.ascent = raw.ascent();
                r.descent = raw.descent();
                r.thickness = std::max(raw.lineThickness(), 0.0);
                r.underlinePosition = raw.underlinePosition();
                measureLines(raw, r);
            }
            places.push_back(r.positions);
            this->runs.push_back(std::move(r));
        }
        if (!this->runs.empty())
            order = pieces(places);
    }

    std::vector<ShapedRun> runs;
    QString text;
    std::vector<Piece> order;
    bool decorated = false;

private:
    static void measureLines(const QRawFont &raw, ShapedRun &r)
    {
        const auto advance = [&](qsizetype i) {
            const QList<QPointF> a = raw.advancesForGlyphIndexes(QList<quint32>{r.indexes[i]});
            return a.isEmpty() ? 0.0 : a.first().x();
        };
        qsizetype start = 0;
        for (qsizetype i = 1; i <= r.positions.size(); ++i) {
            if (i < r.positions.size() && std::fabs(r.positions[i].y() - r.positions[start].y()) < 0.01)
                continue;
            r.lines.push_back({r.positions[start].x(), r.positions[i - 1].x() + advance(i - 1), r.positions[start].y()});
            start = i;
        }
    }
};

// A plain text laid out in a box: what it is keyed by, and what it gave.
struct TextKey
{
    const FontResolver::Entry *font;
    QString text;
    double width;
    int flags;

    bool operator==(const TextKey &o) const
    {
        return font == o.font && width == o.width && flags == o.flags && text == o.text;
    }
};

size_t qHash(const TextKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.font, key.text, key.width, key.flags);
}

struct LaidOutText
{
    ShapedText shaped;
    double height = 0;
    double widest = 0;
};

// Texts laid out before, one cache for each thread (as fonts are) and
// document: a report repeats its labels, names and numbers on page after
// page, and laying out is the costly part. A few thousand texts cover
// the repeated values; the rest come and go.
class TextShaper
{
public:
    static TextShaper &forThisThread(FontSet &fonts, quint64 document)
    {
        std::unique_ptr<TextShaper> &shaper = slot();
        if (!shaper || shaper->m_document != document)
            shaper = std::make_unique<TextShaper>(fonts, document);
        return *shaper;
    }
    // Lets this thread's texts of the document go.
    static void release(quint64 document)
    {
        std::unique_ptr<TextShaper> &shaper = slot();
        if (shaper && shaper->m_document == document)
            shaper.reset();
    }

    TextShaper(FontSet &fonts, quint64 document) : m_fonts(fonts), m_document(document) {}

    std::shared_ptr<const LaidOutText> plain(const TextOp &op, double width,
                                             std::shared_ptr<const FontResolver::Entry> entry)
    {
        const TextKey key{entry.get(), op.text, width, int(op.alignment) << 1 | int(op.wrap)};
        if (const Cached *known = m_cache.object(key))
            return known->text;
        QTextLayout layout(TextLayout::prepare(op.text), entry->font);
        double widest = 0;
        const double height = TextLayout::layoutLines(layout, width, op.wrap, op.alignment, &widest);
        auto laid = std::make_shared<const LaidOutText>(
            LaidOutText{ShapedText(layout.glyphRuns(), layout.text(), m_fonts), height, widest});
        // A text is kept from the second time it is seen: values that never
        // come again (amounts, numbers) do not push the repeated ones out,
        // nor cost an entry each.
        const size_t hash = qHash(key);
        quint32 &seen = m_seen[hash % m_seen.size()];
        const quint32 tag = quint32(hash >> 15) | 1; // the bits the slot did not use
        if (seen != tag) {
            seen = tag;
            return laid;
        }
        m_cache.insert(key, new Cached{std::move(entry), laid});
        return laid;
    }

private:
    static std::unique_ptr<TextShaper> &slot()
    {
        thread_local std::unique_ptr<TextShaper> shaper;
        return shaper;
    }

    struct Cached
    {
        std::shared_ptr<const FontResolver::Entry> font; // keeps the key's font alive, on this thread
        std::shared_ptr<const LaidOutText> text;
    };
    FontSet &m_fonts;
    quint64 m_document;
    QCache<TextKey, Cached> m_cache{8192};
    std::vector<quint32> m_seen = std::vector<quint32>(32768, 0); // texts seen once, by hash
};

std::vector<std::shared_ptr<const FontResolver::Entry>> resolveFonts(const Page &page)
{
    std::vector<std::shared_ptr<const FontResolver::Entry>> entries;
    entries.reserve(page.fonts.size());
    for (const PageFont &font : page.fonts)
        entries.push_back(FontResolver::instance().resolve(font));
    return entries;
}

std::shared_ptr<const FontResolver::Entry> entryIn(const std::vector<std::shared_ptr<const FontResolver::Entry>> &entries,
                                                   int index)
{
    if (index >= 0 && size_t(index) < entries.size())
        return entries[size_t(index)];
    return FontResolver::instance().resolve(PageFont());
}

class OpWriter
{
public:
    OpWriter(Content &content, const Page &page, FileWriter &file, FontSet &fonts, ImageSet &images,
             const PageCollection *collection, int resolution, TextShaper &shaper,
             const std::vector<PlacedImage> *placed)
        : c(content), page(page), file(file), fonts(fonts), images(images), collection(collection),
          hairlineUnit(1440.0 / std::max(resolution, 1)), shaper(shaper), placed(placed)
    {
        entries = resolveFonts(page);
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
        if (op.rect.isEmpty())
            return;
        QImage image;
        int id = 0;
        if (placed) {
            const auto it = std::find_if(placed->begin(), placed->end(),
                                         [&](const PlacedImage &p) { return p.index == op.image; });
            if (it != placed->end()) {
                image = it->image;
                id = it->id;
            }
        } else if (collection) {
            image = collection->image(op.image);
            if (!image.isNull())
                id = images.object(op.image, image, file);
        }
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
            glyphs(ShapedText(layout.glyphRuns(), layout.text(), fonts), QPointF(dx, -layout.lineAt(0).ascent()), fore);
            c.restore();
        }
    }

private:
    PageFont fontOf(int index) const
    {
        return index >= 0 && size_t(index) < page.fonts.size() ? page.fonts[size_t(index)] : PageFont();
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
        const std::shared_ptr<const LaidOutText> laid = shaper.plain(op, box.width(), entryIn(entries, op.font));
        const QPointF at(box.left(), topFor(laid->height, box, op.alignment));
        const bool clip = !(laid->height <= box.height() + Tolerance && laid->widest <= box.width() + Tolerance);
        if (clip) {
            c.save();
            c.clipRect(box);
        }
        glyphs(laid->shaped, at, op.foreColor);
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
                const bool background = format.background().style() != Qt::NoBrush;
                const ShapedText shaped(fragment.glyphRuns(), fragment.text(), fonts, background);
                if (background)
                    backgrounds(shaped, at, format.background().color().rgba());
                glyphs(shaped, at, colour);
            }
        }
        c.restore();
    }

    void backgrounds(const ShapedText &shaped, const QPointF &at, QRgb colour)
    {
        c.fillColour(colour);
        for (const ShapedRun &run : shaped.runs) {
            for (const ShapedRun::Line &l : run.lines)
                c.rect(QRectF(at.x() + l.left, at.y() + l.baseline - run.ascent, l.right - l.left, run.ascent + run.descent));
        }
        c.paint(true, false);
    }

    // Writes glyph runs as text placed at `at`, then their underlines and
    // strike-outs.
    void glyphs(const ShapedText &shaped, const QPointF &at, QRgb colour)
    {
        const std::vector<ShapedRun> &runs = shaped.runs;
        if (runs.empty())
            return;
        c.fillColour(colour);
        std::string &d = c.data();
        bool inText = false;
        const FontSet::Face *lastFace = nullptr;
        double lastSize = -1;
        for (const ShapedRun &run : runs) {
            if (run.face)
                fonts.use(run.face, run.indexes.constData(), int(run.indexes.size()), shaped.text);
            else if (!run.outline.isEmpty())
                outlines(run.outline.translated(at)); // no outlines to embed: shapes
        }
        for (const Piece &piece : shaped.order) {
            const ShapedRun &run = runs[piece.run];
            FontSet::Face *face = run.face;
            if (!face)
                continue;
            const QList<quint32> &glyph = run.indexes;
            const QList<QPointF> &place = run.positions;
            const double size = run.size;
            if (!inText) {
                d += "BT\n";
                inText = true;
            }
            if (face != lastFace || size != lastSize) {
                d += "/F";
                const int id = FontSet::objectId(face, file);
                appendInt(d, id);
                d += ' ';
                appendNumber(d, size, 3);
                d += " Tf\n";
                c.resources().addFont(id);
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
        if (!shaped.decorated)
            return;
        for (const ShapedRun &run : runs) {
            if (!run.underline && !run.strikeOut && !run.overline)
                continue;
            for (const ShapedRun::Line &l : run.lines) {
                const double left = at.x() + l.left, right = at.x() + l.right, baseline = at.y() + l.baseline;
                const auto line = [&](double middle) {
                    c.rect(QRectF(left, middle - run.thickness / 2, right - left, run.thickness));
                };
                if (run.underline)
                    line(baseline + run.underlinePosition);
                if (run.strikeOut)
                    line(baseline - run.ascent / 3);
                if (run.overline)
                    line(baseline - run.ascent + run.thickness / 2);
            }
        }
        c.paint(true, false);
    }

    void outlines(const QPainterPath &all)
    {
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
    TextShaper &shaper;
    const std::vector<PlacedImage> *placed;
    std::vector<std::shared_ptr<const FontResolver::Entry>> entries;
};

} // namespace

namespace {
std::atomic<quint64> documents{0};
}

PageWriter::PageWriter(FileWriter &file, FontSet &fonts, ImageSet &images, const PageCollection *collection, int resolution)
    : m_file(file), m_fonts(fonts), m_images(images), m_collection(collection), m_resolution(resolution),
      m_document(++documents)
{
}

PageWriter::~PageWriter()
{
    TextShaper::release(m_document);
}

std::vector<PlacedImage> PageWriter::images(const Page &page)
{
    std::vector<PlacedImage> placed;
    if (!m_collection)
        return placed;
    for (const PageOp &op : page.ops) {
        const auto *image = std::get_if<ImageOp>(&op);
        if (!image || std::any_of(placed.begin(), placed.end(), [&](const PlacedImage &p) { return p.index == image->image; }))
            continue;
        PlacedImage p{image->image, 0, m_collection->image(image->image)};
        if (!p.image.isNull())
            p.id = m_images.object(p.index, p.image, m_file);
        if (p.id)
            placed.push_back(std::move(p));
    }
    return placed;
}

void PageWriter::paint(const Page &page, Content &content, const std::vector<PlacedImage> *placed)
{
    OpWriter draw(content, page, m_file, m_fonts, m_images, m_collection, m_resolution,
                  TextShaper::forThisThread(m_fonts, m_document), placed);
    for (const PageOp &op : page.ops)
        std::visit(draw, op);
}

} // namespace Orv::Pdf
