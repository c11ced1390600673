#include "engine/export/rtfexporter.h"

#include "engine/core/units.h"
#include "engine/export/exportutil.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QtMath>
#include <cmath>

namespace Orv {

namespace {

constexpr double DefaultPageWidth = 12240;
constexpr double DefaultPageHeight = 15840;
constexpr int EmuPerTwip = 635;

int twips(double t)
{
    return int(std::lround(t));
}

// Text with RTF's specials escaped and everything beyond ASCII as \uN?.
void appendText(QByteArray &out, const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n' || u == QChar::LineSeparator || u == QChar::ParagraphSeparator) {
            out += "\\line ";
        } else if (u == '\r' || u == '\t') {
            out += u == '\t' ? "\\tab " : "";
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
}

QByteArray pngHex(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray hex = bytes.toHex();
    QByteArray out;
    out.reserve(hex.size() + hex.size() / 128 + 2);
    for (qsizetype i = 0; i < hex.size(); i += 128)
        out += hex.mid(i, 128) + '\n';
    return out;
}

class RtfWriter
{
public:
    explicit RtfWriter(const PageCollection &pages) : m_pages(pages), m_painter(&pages) {}

    int font(const QString &family)
    {
        auto it = m_fonts.constFind(family);
        if (it == m_fonts.constEnd())
            it = m_fonts.insert(family, int(m_fontOrder.size()));
        if (int(m_fontOrder.size()) == *it)
            m_fontOrder.push_back(family);
        return *it;
    }

    int colour(QRgb c)
    {
        c &= 0xffffff;
        auto it = m_colours.constFind(c);
        if (it == m_colours.constEnd()) {
            it = m_colours.insert(c, int(m_colourOrder.size()) + 1); // 0 is "auto"
            m_colourOrder.push_back(c);
        }
        return *it;
    }

    void page(const Page &page, int index)
    {
        const double w = page.size.width() > 0 ? page.size.width() : DefaultPageWidth;
        const double h = page.size.height() > 0 ? page.size.height() : DefaultPageHeight;
        if (index == 0)
            margins(page, w, h);
        else
            m_body += "\\sect";
        m_body += "\\sectd\\pgwsxn" + QByteArray::number(twips(w)) + "\\pghsxn" + QByteArray::number(twips(h)) + "\n";
        int z = 0;
        int barcodes = 0;
        for (const PageOp &op : page.ops) {
            if (const auto *t = std::get_if<TextOp>(&op))
                text(page, *t);
            else if (const auto *l = std::get_if<LineOp>(&op))
                line(*l, ++z);
            else if (const auto *s = std::get_if<ShapeOp>(&op))
                shape(*s, ++z);
            else if (const auto *i = std::get_if<ImageOp>(&op))
                image(*i);
            else if (const auto *c = std::get_if<CheckBoxOp>(&op))
                checkBox(*c);
            else if (const auto *b = std::get_if<BarcodeOp>(&op))
                barcode(page, *b, ++barcodes);
            else if (const auto *pg = std::get_if<PolygonOp>(&op))
                freeform(pg->points, pg->closed, pg->pen, pg->closed ? pg->fill : 0, ++z);
            else if (const auto *pie = std::get_if<PieOp>(&op))
                freeform(pieOutline(*pie), true, pie->pen, pie->fill, ++z);
        }
        m_body += "\\pard\\plain\\fs2\\par\n";
    }

    QByteArray document() const
    {
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
        for (size_t i = 0; i < m_fontOrder.size(); ++i) {
            out += "{\\f" + QByteArray::number(int(i)) + "\\fnil\\fcharset0 ";
            appendText(out, m_fontOrder[i]);
            out += ";}";
        }
        out += "}\n{\\colortbl;";
        for (QRgb c : m_colourOrder)
            out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue"
                   + QByteArray::number(qBlue(c)) + ';';
        out += "}\n" + m_header + m_body + "}\n";
        return out;
    }

private:
    void margins(const Page &page, double w, double h)
    {
        QRectF content;
        for (const PageOp &op : page.ops) {
            std::visit([&](const auto &o) {
                using T = std::decay_t<decltype(o)>;
                if constexpr (std::is_same_v<T, LineOp>)
                    content |= QRectF(o.from, o.to).normalized();
                else if constexpr (std::is_same_v<T, PolygonOp>)
                    content |= o.bounds();
                else
                    content |= o.rect;
            }, op);
        }
        const auto clamp = [](double v) { return QByteArray::number(twips(qBound(0.0, v, 14400.0))); };
        m_header = "\\paperw" + QByteArray::number(twips(w)) + "\\paperh" + QByteArray::number(twips(h));
        if (!content.isEmpty())
            m_header += "\\margl" + clamp(content.left()) + "\\margr" + clamp(w - content.right()) + "\\margt"
                        + clamp(content.top()) + "\\margb" + clamp(h - content.bottom());
        m_header += "\\viewkind1\n";
    }

    void frame(const QRectF &r, Qt::Alignment alignment)
    {
        m_body += "{\\pard\\plain\\pvpg\\phpg\\posx" + QByteArray::number(twips(r.left())) + "\\posy"
                  + QByteArray::number(twips(r.top())) + "\\absw" + QByteArray::number(qMax(1, twips(r.width())))
                  + "\\absh-" + QByteArray::number(qMax(1, twips(r.height()))) + "\\nowrap";
        m_body += (alignment & Qt::AlignRight) ? "\\qr" : (alignment & Qt::AlignHCenter) ? "\\qc" : "\\ql";
    }

    void characterFormat(const PageFont &f, QRgb fore)
    {
        m_body += "\\f" + QByteArray::number(font(f.family)) + "\\fs" + QByteArray::number(qMax(2, int(std::lround(f.pointSize * 2))));
        if (f.bold)
            m_body += "\\b";
        if (f.italic)
            m_body += "\\i";
        if (f.underline)
            m_body += "\\ul";
        if (f.strikeOut)
            m_body += "\\strike";
        m_body += "\\cf" + QByteArray::number(colour(fore)) + ' ';
    }

    void text(const Page &page, const TextOp &op)
    {
        const bool back = qAlpha(op.backColor) != 0;
        if (op.text.isEmpty() && !back)
            return;
        const PageFont f = op.font >= 0 && size_t(op.font) < page.fonts.size() ? page.fonts[size_t(op.font)] : PageFont();
        frame(op.rect, op.alignment);
        if (back)
            m_body += "\\cbpat" + QByteArray::number(colour(op.backColor)) + "\\shading10000";
        characterFormat(f, op.foreColor);
        if (op.richText)
            richText(op.text, f);
        else
            appendText(m_body, op.text);
        m_body += "\\par}\n";
    }

    // Rich text: its fragments with their bold, italic and underline.
    void richText(const QString &html, const PageFont &base)
    {
        QTextDocument document;
        document.setHtml(html);
        bool firstBlock = true;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (!firstBlock)
                m_body += "\\line ";
            firstBlock = false;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const QTextCharFormat cf = fragment.charFormat();
                QByteArray words = cf.fontWeight() > QFont::Normal ? "\\b" : (base.bold ? "\\b0" : "");
                if (cf.fontItalic())
                    words += "\\i";
                if (cf.fontUnderline())
                    words += "\\ul";
                m_body += '{' + words + (words.isEmpty() ? "" : " ");
                appendText(m_body, fragment.text());
                m_body += '}';
            }
        }
    }

    void shapeStart(const QRectF &r, int z, int type)
    {
        m_body += "{\\shp{\\*\\shpinst\\shpleft" + QByteArray::number(twips(r.left())) + "\\shptop"
                  + QByteArray::number(twips(r.top())) + "\\shpright" + QByteArray::number(twips(r.right()))
                  + "\\shpbottom" + QByteArray::number(twips(r.bottom()))
                  + "\\shpfhdr0\\shpbxpage\\shpbxignore\\shpbypage\\shpbyignore\\shpwr3\\shpwrk0\\shpfblwtxt1\\shpz"
                  + QByteArray::number(z) + "\\shplid" + QByteArray::number(1024 + z);
        property("shapeType", QByteArray::number(type));
    }

    void property(const char *name, const QByteArray &value)
    {
        m_body += QByteArray("{\\sp{\\sn ") + name + "}{\\sv " + value + "}}";
    }

    // Colours in drawing properties are 0x00BBGGRR numbers.
    static QByteArray bgr(QRgb c)
    {
        return QByteArray::number(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
    }

    void pen(const PagePen &p)
    {
        if (p.style == Qt::NoPen || qAlpha(p.color) == 0) {
            property("fLine", "0");
            return;
        }
        property("lineColor", bgr(p.color));
        property("lineWidth", QByteArray::number(qMax(1, int(std::lround((p.width > 0 ? p.width : 1) * EmuPerTwip)))));
        const int dash = p.style == Qt::DashLine ? 2 : p.style == Qt::DotLine ? 1 : p.style == Qt::DashDotLine ? 4
                         : p.style == Qt::DashDotDotLine ? 5 : 0;
        if (dash)
            property("lineDashing", QByteArray::number(dash));
    }

    void line(const LineOp &op, int z)
    {
        shapeStart(QRectF(op.from, op.to).normalized(), z, 20);
        if ((op.to.x() < op.from.x()) != (op.to.y() < op.from.y()) && op.to.x() != op.from.x() && op.to.y() != op.from.y())
            property("fFlipH", "1");
        pen(op.pen);
        m_body += "}}\n";
    }

    void shape(const ShapeOp &op, int z)
    {
        shapeStart(op.rect, z, op.kind == ShapeOp::Ellipse ? 3 : op.kind == ShapeOp::RoundRect ? 2 : 1);
        pen(op.pen);
        if (qAlpha(op.fill)) {
            property("fFilled", "1");
            property("fillColor", bgr(op.fill));
        } else {
            property("fFilled", "0");
        }
        m_body += "}}\n";
    }

    // A slice as the polygon of its centre and points along the arc, at
    // most three degrees apart.
    static std::vector<QPointF> pieOutline(const PieOp &op)
    {
        const QPointF c = op.rect.center();
        const double span = qBound(-360.0, op.spanAngle, 360.0);
        const int steps = qMax(1, int(std::ceil(std::fabs(span) / 3)));
        std::vector<QPointF> points;
        if (std::fabs(span) < 360)
            points.push_back(c);
        for (int i = 0; i <= steps; ++i) {
            const double a = qDegreesToRadians(op.startAngle + span * i / steps);
            points.emplace_back(c.x() + op.rect.width() / 2 * std::cos(a), c.y() - op.rect.height() / 2 * std::sin(a));
        }
        return points;
    }

    // A free-form drawing shape: the vertices in twips from the shape's top
    // left, one move, a line to each further vertex, a close when closed.
    void freeform(const std::vector<QPointF> &points, bool closed, const PagePen &p, QRgb fill, int z)
    {
        if (points.size() < 2)
            return;
        QRectF box;
        for (const QPointF &pt : points)
            box |= QRectF(pt, QSizeF(0.001, 0.001));
        shapeStart(box, z, 0);
        property("geoLeft", "0");
        property("geoTop", "0");
        property("geoRight", QByteArray::number(qMax(1, twips(box.width()))));
        property("geoBottom", QByteArray::number(qMax(1, twips(box.height()))));
        QByteArray vertices = "8;" + QByteArray::number(qsizetype(points.size()));
        for (const QPointF &pt : points)
            vertices += ";(" + QByteArray::number(twips(pt.x() - box.left())) + ','
                        + QByteArray::number(twips(pt.y() - box.top())) + ')';
        property("pVerticies", vertices);
        const qsizetype segments = 1 + qsizetype(points.size()) - 1 + (closed ? 1 : 0) + 1;
        QByteArray info = "2;" + QByteArray::number(segments) + ";16384";
        for (size_t i = 1; i < points.size(); ++i)
            info += ";1";
        if (closed)
            info += ";24577";
        info += ";32768";
        property("pSegmentInfo", info);
        pen(p);
        if (qAlpha(fill)) {
            property("fFilled", "1");
            property("fillColor", bgr(fill));
        } else {
            property("fFilled", "0");
        }
        m_body += "}}\n";
    }

    void picture(const QRectF &r, const QByteArray &hex, QSize pixels)
    {
        frame(r, Qt::AlignLeft);
        m_body += "{\\pict\\pngblip\\picw" + QByteArray::number(pixels.width()) + "\\pich"
                  + QByteArray::number(pixels.height()) + "\\picwgoal" + QByteArray::number(qMax(1, twips(r.width())))
                  + "\\pichgoal" + QByteArray::number(qMax(1, twips(r.height()))) + "\n" + hex + "}\\par}\n";
    }

    void image(const ImageOp &op)
    {
        if (op.image < 0 || op.image >= m_pages.imageCount() || op.rect.isEmpty())
            return;
        auto it = m_pictures.constFind(op.image);
        if (it == m_pictures.constEnd())
            it = m_pictures.insert(op.image, pngHex(m_pages.image(op.image)));
        QRectF target = op.rect;
        const QSize natural = m_pages.image(op.image).size();
        if (op.sizeMode == 2 && !natural.isEmpty()) {
            const QSizeF fit = QSizeF(natural).scaled(op.rect.size(), Qt::KeepAspectRatio);
            target = QRectF(op.rect.center() - QPointF(fit.width() / 2, fit.height() / 2), fit);
        }
        picture(target, *it, natural);
    }

    void checkBox(const CheckBoxOp &op)
    {
        frame(op.rect, Qt::AlignHCenter);
        characterFormat(PageFont{QStringLiteral("DejaVu Sans"), qMax(4.0, op.rect.height() / 20 * 0.8)}, op.pen.color);
        appendText(m_body, op.checked ? QStringLiteral("\u2611") : QStringLiteral("\u2610"));
        m_body += "\\par}\n";
    }

    void barcode(const Page &page, const BarcodeOp &op, int)
    {
        Page one;
        one.fonts = page.fonts;
        BarcodeOp moved = op;
        moved.rect.moveTopLeft(QPointF(0, 0));
        one.ops.push_back(moved);
        const double dpi = 192;
        QImage img(qMax(1, int(std::ceil(op.rect.width() * dpi / Units::TwipsPerInch))),
                   qMax(1, int(std::ceil(op.rect.height() * dpi / Units::TwipsPerInch))), QImage::Format_RGB32);
        img.fill(Qt::white);
        img.setDotsPerMeterX(int(dpi / 0.0254));
        img.setDotsPerMeterY(int(dpi / 0.0254));
        {
            QPainter p(&img);
            m_painter.paint(p, one);
        }
        picture(op.rect, pngHex(img), img.size());
    }

    const PageCollection &m_pages;
    PagePainter m_painter;
    QHash<QString, int> m_fonts;
    std::vector<QString> m_fontOrder;
    QHash<QRgb, int> m_colours;
    std::vector<QRgb> m_colourOrder;
    QHash<int, QByteArray> m_pictures;
    QByteArray m_header;
    QByteArray m_body;
};

} // namespace

Status RtfExporter::write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                          const ExportProgress &progress)
{
    Status status = checkStart(checkSettingNames(settings), pages);
    if (!status.ok())
        return status;
    const int count = pages.Count();
    StagedFiles staged(format());
    const QString temp = staged.stage(path, &status);
    if (temp.isEmpty())
        return status;
    RtfWriter writer(pages);
    progress.report(0, count);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled())
            return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
        const std::shared_ptr<const Page> page = pages.page(i, &status);
        if (!page)
            return status;
        writer.page(*page, i);
        progress.report(i + 1, count);
    }
    const QByteArray bytes = writer.document();
    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly))
        return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(displayName(path), file.errorString()));
    status = staged.write(file, bytes, path);
    if (status.ok())
        status = staged.checkWritten(file, path);
    if (!status.ok())
        return status;
    return staged.commit();
}

} // namespace Orv
