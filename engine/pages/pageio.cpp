#include "engine/pages/pageio.h"

#include "engine/core/units.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace Orv::PageIO {

namespace {

// Polygons and pies came with page format version 2.
enum OpTag : quint8 { TagText = 1, TagLine, TagShape, TagImage, TagCheckBox, TagBarcode, TagPolygon, TagPie };

// Smallest encoded sizes, used to refuse counts the bytes cannot hold.
constexpr qsizetype MinOpSize = 42;
constexpr qsizetype MinInlineFontSize = 13;
constexpr qsizetype MinTableFontSize = 4;
constexpr qsizetype MinBookmarkSize = 16;
constexpr qsizetype PointSize = 16;

constexpr quint32 AlignmentMask = Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask;
constexpr double MaxPointSize = 2000.0;

} // namespace

void Writer::u16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    m_buffer.append(b, 2);
}

void Writer::u32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    m_buffer.append(b, 4);
}

void Writer::f64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    char b[8];
    qToLittleEndian(bits, b);
    m_buffer.append(b, 8);
}

void Writer::str(const QString &s)
{
    bytes(s.toUtf8());
}

void Writer::bytes(const QByteArray &b)
{
    u32(quint32(b.size()));
    m_buffer.append(b);
}

void Writer::rect(const QRectF &r)
{
    f64(r.x());
    f64(r.y());
    f64(r.width());
    f64(r.height());
}

void Writer::point(const QPointF &p)
{
    f64(p.x());
    f64(p.y());
}

void Reader::fail(const QString &error)
{
    if (m_error.isEmpty())
        m_error = error;
    m_pos = m_end; // every later read fails without touching memory
}

bool Reader::need(qsizetype n)
{
    if (!m_error.isEmpty())
        return false;
    if (n < 0 || m_end - m_pos < n) {
        fail(QStringLiteral("truncated"));
        return false;
    }
    return true;
}

quint8 Reader::u8()
{
    if (!need(1))
        return 0;
    return quint8(*m_pos++);
}

quint16 Reader::u16()
{
    if (!need(2))
        return 0;
    const quint16 v = qFromLittleEndian<quint16>(m_pos);
    m_pos += 2;
    return v;
}

quint32 Reader::u32()
{
    if (!need(4))
        return 0;
    const quint32 v = qFromLittleEndian<quint32>(m_pos);
    m_pos += 4;
    return v;
}

double Reader::f64()
{
    if (!need(8))
        return 0;
    const quint64 bits = qFromLittleEndian<quint64>(m_pos);
    m_pos += 8;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

double Reader::twips()
{
    const double v = f64();
    if (!std::isfinite(v) || std::fabs(v) > Units::MaxTwips) {
        fail(QStringLiteral("coordinate out of range"));
        return 0;
    }
    return v;
}

QByteArray Reader::bytes()
{
    const quint32 n = u32();
    if (!need(qsizetype(n)))
        return {};
    QByteArray b(m_pos, qsizetype(n));
    m_pos += n;
    return b;
}

QString Reader::str()
{
    const quint32 n = u32();
    if (!need(qsizetype(n)))
        return {};
    QString s = QString::fromUtf8(m_pos, qsizetype(n));
    m_pos += n;
    return s;
}

QRectF Reader::rect()
{
    const double x = twips();
    const double y = twips();
    const double w = twips();
    const double h = twips();
    return QRectF(x, y, w, h);
}

QPointF Reader::point()
{
    const double x = twips();
    const double y = twips();
    return QPointF(x, y);
}

quint32 Reader::count(qsizetype minItemSize, const char *what)
{
    const quint32 n = u32();
    if (ok() && qsizetype(n) > remaining() / minItemSize) {
        fail(QStringLiteral("%1 count %2 exceeds the data").arg(QLatin1String(what)).arg(n));
        return 0;
    }
    return n;
}

int FontTable::index(const PageFont &font)
{
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == font)
            return int(i);
    }
    fonts.push_back(font);
    return int(fonts.size() - 1);
}

void writeFont(Writer &w, const PageFont &font)
{
    w.str(font.family);
    w.f64(font.pointSize);
    w.u8(quint8((font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0)
                | (font.strikeOut ? 8 : 0)));
}

bool readFont(Reader &r, PageFont *font)
{
    font->family = r.str();
    font->pointSize = r.f64();
    const quint8 flags = r.u8();
    if (!r.ok())
        return false;
    if (!std::isfinite(font->pointSize) || font->pointSize < 0 || font->pointSize > MaxPointSize) {
        r.fail(QStringLiteral("font size out of range"));
        return false;
    }
    if (flags & ~0x0f) {
        r.fail(QStringLiteral("bad font flags"));
        return false;
    }
    font->bold = flags & 1;
    font->italic = flags & 2;
    font->underline = flags & 4;
    font->strikeOut = flags & 8;
    return true;
}

namespace {

void writePen(Writer &w, const PagePen &pen)
{
    w.u32(pen.color);
    w.f64(pen.width);
    w.u8(quint8(pen.style));
}

PagePen readPen(Reader &r)
{
    PagePen pen;
    pen.color = r.u32();
    pen.width = r.twips();
    const quint8 style = r.u8();
    if (r.ok() && (pen.width < 0 || style > Qt::DashDotDotLine))
        r.fail(QStringLiteral("bad pen"));
    pen.style = Qt::PenStyle(style);
    return pen;
}

Qt::Alignment readAlignment(Reader &r)
{
    const quint32 a = r.u32();
    if (r.ok() && (a & ~AlignmentMask))
        r.fail(QStringLiteral("bad alignment"));
    return Qt::Alignment(int(a));
}

struct OpWriter
{
    Writer &w;
    void operator()(const TextOp &op)
    {
        w.u8(TagText);
        w.rect(op.rect);
        w.str(op.text);
        w.u32(quint32(op.font));
        w.u32(op.foreColor);
        w.u32(op.backColor);
        w.u32(quint32(op.alignment.toInt()));
        w.u8(quint8((op.wrap ? 1 : 0) | (op.richText ? 2 : 0)));
        w.i32(op.angle);
    }
    void operator()(const LineOp &op)
    {
        w.u8(TagLine);
        w.point(op.from);
        w.point(op.to);
        writePen(w, op.pen);
    }
    void operator()(const ShapeOp &op)
    {
        w.u8(TagShape);
        w.rect(op.rect);
        w.u8(quint8(op.kind));
        writePen(w, op.pen);
        w.u32(op.fill);
        w.f64(op.cornerRadius);
    }
    void operator()(const ImageOp &op)
    {
        w.u8(TagImage);
        w.rect(op.rect);
        w.u32(quint32(op.image));
        w.u8(quint8(op.sizeMode));
        w.u32(quint32(op.alignment.toInt()));
    }
    void operator()(const CheckBoxOp &op)
    {
        w.u8(TagCheckBox);
        w.rect(op.rect);
        w.u8(op.checked ? 1 : 0);
        writePen(w, op.pen);
    }
    void operator()(const BarcodeOp &op)
    {
        w.u8(TagBarcode);
        w.rect(op.rect);
        w.i32(op.symbology);
        w.str(op.data);
        w.u8(op.showText ? 1 : 0);
        w.u32(quint32(op.font));
        w.u32(op.foreColor);
        w.u32(op.backColor);
        w.u16(quint16(op.rotation));
    }
    void operator()(const PolygonOp &op)
    {
        w.u8(TagPolygon);
        w.u8(op.closed ? 1 : 0);
        writePen(w, op.pen);
        w.u32(op.fill);
        w.u32(quint32(op.points.size()));
        for (const QPointF &p : op.points)
            w.point(p);
    }
    void operator()(const PieOp &op)
    {
        w.u8(TagPie);
        w.rect(op.rect);
        w.f64(op.startAngle);
        w.f64(op.spanAngle);
        writePen(w, op.pen);
        w.u32(op.fill);
    }
};

bool readOp(Reader &r, PageOp *out, size_t fontCount, int imageCount)
{
    const auto fontIndex = [&](quint32 i) {
        if (r.ok() && i >= fontCount)
            r.fail(QStringLiteral("font index %1 out of range").arg(i));
        return int(i);
    };
    const quint8 tag = r.u8();
    switch (tag) {
    case TagText: {
        TextOp op;
        op.rect = r.rect();
        op.text = r.str();
        op.font = fontIndex(r.u32());
        op.foreColor = r.u32();
        op.backColor = r.u32();
        op.alignment = readAlignment(r);
        const quint8 flags = r.u8();
        op.wrap = flags & 1;
        op.richText = flags & 2;
        op.angle = r.i32();
        if (r.ok() && ((flags & ~3) || op.angle < -36000 || op.angle > 36000))
            r.fail(QStringLiteral("bad text settings"));
        *out = std::move(op);
        break;
    }
    case TagLine: {
        LineOp op;
        op.from = r.point();
        op.to = r.point();
        op.pen = readPen(r);
        *out = op;
        break;
    }
    case TagShape: {
        ShapeOp op;
        op.rect = r.rect();
        const quint8 kind = r.u8();
        op.kind = ShapeOp::Kind(kind);
        op.pen = readPen(r);
        op.fill = r.u32();
        op.cornerRadius = r.twips();
        if (r.ok() && (kind > ShapeOp::Ellipse || op.cornerRadius < 0))
            r.fail(QStringLiteral("bad shape"));
        *out = op;
        break;
    }
    case TagImage: {
        ImageOp op;
        op.rect = r.rect();
        const quint32 image = r.u32();
        op.sizeMode = r.u8();
        op.alignment = readAlignment(r);
        if (r.ok() && image >= quint32(qMax(imageCount, 0)))
            r.fail(QStringLiteral("image index %1 out of range").arg(image));
        if (r.ok() && op.sizeMode > 2)
            r.fail(QStringLiteral("bad image size mode"));
        op.image = int(image);
        *out = op;
        break;
    }
    case TagCheckBox: {
        CheckBoxOp op;
        op.rect = r.rect();
        const quint8 checked = r.u8();
        op.checked = checked != 0;
        op.pen = readPen(r);
        if (r.ok() && checked > 1)
            r.fail(QStringLiteral("bad check box"));
        *out = op;
        break;
    }
    case TagBarcode: {
        BarcodeOp op;
        op.rect = r.rect();
        op.symbology = r.i32();
        op.data = r.str();
        const quint8 showText = r.u8();
        op.showText = showText != 0;
        op.font = fontIndex(r.u32());
        op.foreColor = r.u32();
        op.backColor = r.u32();
        op.rotation = r.u16();
        if (r.ok() && (showText > 1 || op.symbology < 0 || op.symbology > 1000 || op.rotation % 90 != 0
                       || op.rotation > 270))
            r.fail(QStringLiteral("bad barcode settings"));
        *out = std::move(op);
        break;
    }
    case TagPolygon: {
        PolygonOp op;
        const quint8 closed = r.u8();
        op.closed = closed != 0;
        op.pen = readPen(r);
        op.fill = r.u32();
        const quint32 n = r.count(PointSize, "point");
        if (r.ok() && (closed > 1 || n < 2))
            r.fail(QStringLiteral("bad polygon"));
        op.points.reserve(r.ok() ? n : 0);
        for (quint32 i = 0; i < n && r.ok(); ++i)
            op.points.push_back(r.point());
        *out = std::move(op);
        break;
    }
    case TagPie: {
        PieOp op;
        op.rect = r.rect();
        op.startAngle = r.f64();
        op.spanAngle = r.f64();
        op.pen = readPen(r);
        op.fill = r.u32();
        if (r.ok() && !(std::fabs(op.startAngle) <= 36000 && std::fabs(op.spanAngle) <= 360))
            r.fail(QStringLiteral("bad pie angles"));
        *out = op;
        break;
    }
    default:
        if (r.ok())
            r.fail(QStringLiteral("unknown operation kind %1").arg(tag));
        return false;
    }
    return r.ok();
}

} // namespace

void writePage(Writer &w, const Page &page, FontTable *table)
{
    w.f64(page.size.width());
    w.f64(page.size.height());
    w.u32(quint32(page.fonts.size()));
    for (const PageFont &font : page.fonts) {
        if (table)
            w.u32(quint32(table->index(font)));
        else
            writeFont(w, font);
    }
    w.u32(quint32(page.ops.size()));
    OpWriter writer{w};
    for (const PageOp &op : page.ops)
        std::visit(writer, op);
    w.u32(quint32(page.bookmarks.size()));
    for (const Page::Bookmark &b : page.bookmarks) {
        w.u32(quint32(b.level));
        w.str(b.text);
        w.f64(b.top);
    }
}

bool readPage(Reader &r, Page *page, int imageCount, const std::vector<PageFont> *table, size_t tableLimit)
{
    const size_t known = table ? std::min(table->size(), tableLimit) : 0;
    Page p;
    const double width = r.twips();
    const double height = r.twips();
    if (r.ok() && (width < 0 || height < 0))
        r.fail(QStringLiteral("negative page size"));
    p.size = QSizeF(width, height);

    const quint32 fontCount = r.count(table ? MinTableFontSize : MinInlineFontSize, "font");
    p.fonts.reserve(fontCount);
    for (quint32 i = 0; i < fontCount && r.ok(); ++i) {
        if (table) {
            const quint32 index = r.u32();
            if (r.ok() && index >= known) {
                r.fail(QStringLiteral("font %1 out of range").arg(index));
                break;
            }
            p.fonts.push_back((*table)[index]);
        } else {
            PageFont font;
            if (readFont(r, &font))
                p.fonts.push_back(std::move(font));
        }
    }

    const quint32 opCount = r.count(MinOpSize, "operation");
    p.ops.reserve(opCount);
    for (quint32 i = 0; i < opCount && r.ok(); ++i) {
        PageOp op;
        if (!readOp(r, &op, p.fonts.size(), imageCount)) {
            r.locate(QStringLiteral("operation %1").arg(i + 1));
            return false;
        }
        p.ops.push_back(std::move(op));
    }

    const quint32 bookmarkCount = r.count(MinBookmarkSize, "bookmark");
    p.bookmarks.reserve(bookmarkCount);
    for (quint32 i = 0; i < bookmarkCount && r.ok(); ++i) {
        Page::Bookmark b;
        const quint32 level = r.u32();
        b.text = r.str();
        b.top = r.twips();
        if (r.ok() && level > 1000)
            r.fail(QStringLiteral("bookmark level %1 out of range").arg(level));
        b.level = int(level);
        p.bookmarks.push_back(std::move(b));
    }
    if (!r.ok())
        return false;
    *page = std::move(p);
    return true;
}

QByteArray pageBytes(const Page &page)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(64 + page.ops.size() * 80));
    Writer w(bytes);
    writePage(w, page);
    return bytes;
}

bool pageFromBytes(const QByteArray &bytes, Page *page, int imageCount, QString *error)
{
    Reader r(bytes);
    if (readPage(r, page, imageCount) && !r.atEnd())
        r.fail(QStringLiteral("unexpected data after the page"));
    if (!r.ok() && error)
        *error = r.error();
    return r.ok();
}

} // namespace Orv::PageIO
