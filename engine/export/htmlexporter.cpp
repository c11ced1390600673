#include "engine/export/htmlexporter.h"

#include "engine/core/units.h"
#include "engine/export/exportutil.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextDocument>
#include <QUrl>
#include <QUuid>
#include <QtMath>
#include <cmath>

namespace Orv {

namespace {

QString px(double twips)
{
    return QString::number(std::lround(twips / Units::TwipsPerPixel));
}

QString cssColour(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0'));
}

QString dashes(const PagePen &pen)
{
    switch (pen.style) {
    case Qt::DashLine: return QStringLiteral(" stroke-dasharray=\"%1 %2\"").arg(pen.width * 4 + 60).arg(pen.width * 2 + 30);
    case Qt::DotLine: return QStringLiteral(" stroke-dasharray=\"%1 %1\"").arg(pen.width + 15);
    case Qt::DashDotLine:
    case Qt::DashDotDotLine: return QStringLiteral(" stroke-dasharray=\"%1 %2 %3 %2\"").arg(pen.width * 4 + 60).arg(pen.width + 15).arg(pen.width + 15);
    default: return {};
    }
}

QString stroke(const PagePen &pen);

// A pie slice as an SVG path: centre, the arc's start, the arc, back to
// the centre. SVG's y axis points down, so angles turn the other way.
QString piePath(const PieOp &op)
{
    const QRectF &r = op.rect;
    const double rx = r.width() / 2, ry = r.height() / 2;
    const QPointF c = r.center();
    const auto at = [&](double degrees) {
        const double a = qDegreesToRadians(degrees);
        return QPointF(c.x() + rx * std::cos(a), c.y() - ry * std::sin(a));
    };
    const QString fill = qAlpha(op.fill) ? cssColour(op.fill) : QStringLiteral("none");
    if (std::fabs(op.spanAngle) >= 360)
        return QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"%6/>\n")
            .arg(c.x()).arg(c.y()).arg(rx).arg(ry).arg(fill, stroke(op.pen));
    const QPointF from = at(op.startAngle);
    const QPointF to = at(op.startAngle + op.spanAngle);
    return QStringLiteral("<path d=\"M %1 %2 L %3 %4 A %5 %6 0 %7 %8 %9 %10 Z\" fill=\"%11\"%12/>\n")
        .arg(c.x()).arg(c.y()).arg(from.x()).arg(from.y()).arg(rx).arg(ry)
        .arg(std::fabs(op.spanAngle) > 180 ? 1 : 0).arg(op.spanAngle > 0 ? 0 : 1)
        .arg(to.x()).arg(to.y()).arg(fill, stroke(op.pen));
}

QString stroke(const PagePen &pen)
{
    if (pen.style == Qt::NoPen || qAlpha(pen.color) == 0)
        return QStringLiteral(" stroke=\"none\"");
    return QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"%3").arg(cssColour(pen.color)).arg(pen.width > 0 ? pen.width : 15).arg(dashes(pen));
}

// The body of the HTML QTextDocument makes of a rich text: only the
// formatting it knows survives, so nothing active from the text gets through.
QString richBody(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    const QString full = document.toHtml();
    const qsizetype open = full.indexOf(QLatin1String("<body"));
    const qsizetype start = open < 0 ? -1 : full.indexOf(QLatin1Char('>'), open);
    const qsizetype end = full.lastIndexOf(QLatin1String("</body>"));
    return start >= 0 && end > start ? full.mid(start + 1, end - start - 1) : escapeXml(document.toPlainText());
}

struct OutFile
{
    QString name;       // relative to the pages folder (images: to the images folder)
    bool image = false;
    QByteArray bytes;
    QString mime;
};

class HtmlWriter
{
public:
    HtmlWriter(const PageCollection &pages, const HtmlSettings &s) : m_pages(pages), m_s(s), m_painter(&pages)
    {
        m_utf8 = s.characterSet.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0
                 || s.characterSet.compare(QLatin1String("utf8"), Qt::CaseInsensitive) == 0;
        m_encoder = QStringEncoder(s.characterSet.toLatin1().constData(), QStringConverter::Flag::Stateless);
        m_decoder = QStringDecoder(s.characterSet.toLatin1().constData(), QStringConverter::Flag::Stateless);
        m_dhtml = s.htmlVersion == 1;
        m_css = s.createCss && m_dhtml;
        m_imagePrefix = m_s.mhtOutput ? QString()
                                      : QDir(m_s.pagesFolder).relativeFilePath(m_s.imagesFolder);
        if (!m_imagePrefix.isEmpty() && m_imagePrefix != QLatin1String("."))
            m_imagePrefix += QLatin1Char('/');
        else
            m_imagePrefix.clear();
    }

    QString entryName() const { return m_s.fileNamePrefix + (m_s.mhtOutput ? QStringLiteral(".mht") : QStringLiteral(".html")); }
    QString mainName() const { return m_s.fileNamePrefix + QStringLiteral(".html"); }

    // The file showing page i (0-based).
    QString pageFile(int i) const
    {
        if (!m_s.multiPageOutput)
            return m_s.createFrameset ? m_s.fileNamePrefix + QStringLiteral("_pages.html") : mainName();
        if (i == 0 && !m_s.createFrameset)
            return mainName();
        return m_s.fileNamePrefix + QStringLiteral("_%1.html").arg(i + 1);
    }
    QString tocFile() const
    {
        return m_s.fileNamePrefix + (m_s.tocFormat == 3 ? QStringLiteral("_toc.xml") : QStringLiteral("_toc.html"));
    }
    QString navFile() const { return m_s.tocFormat == 0 || m_s.tocFormat == 3 ? m_s.fileNamePrefix + QStringLiteral("_nav.html") : tocFile(); }

    Status run(const ExportProgress &progress, std::vector<OutFile> *files)
    {
        const int count = m_pages.Count();
        Status status;
        QString body; // single-file output gathers every page
        progress.report(0, count);
        for (int i = 0; i < count; ++i) {
            if (progress.cancelled())
                return Status::failure(ErrExportCancelled, QStringLiteral("Export cancelled"), QStringLiteral("HTML export"));
            const std::shared_ptr<const Page> page = m_pages.page(i, &status);
            if (!page)
                return status;
            collectBookmarks(*page, i);
            QString html = m_dhtml ? dynamicPage(*page, i, files) : simplePage(*page, i, files);
            if (m_s.multiPageOutput) {
                files->push_back(textFile(pageFile(i), document(navigation(i, count) + html)));
            } else {
                body += html;
            }
            progress.report(i + 1, count);
        }
        if (!m_s.multiPageOutput)
            files->push_back(textFile(pageFile(0), document(body)));
        if (m_s.tocFormat == 1 || m_s.tocFormat == 2)
            files->push_back(textFile(tocFile(), document(tocHtml(m_s.tocFormat == 2))));
        else if (m_s.tocFormat == 3)
            files->push_back(xmlToc());
        if (m_s.createFrameset) {
            if (m_s.tocFormat == 0 || m_s.tocFormat == 3)
                files->push_back(textFile(navFile(), document(pageList(count))));
            files->push_back(textFile(mainName(), frameset()));
        }
        if (m_css)
            files->push_back(OutFile{m_s.fileNamePrefix + QStringLiteral(".css"), false, styleSheet().toUtf8(),
                                     QStringLiteral("text/css")});
        return {};
    }

private:
    OutFile textFile(const QString &name, const QString &text)
    {
        return OutFile{name, false, encode(text), QStringLiteral("text/html; charset=%1").arg(m_s.characterSet)};
    }

    // Text in the chosen character set; characters it cannot hold become
    // numeric character references.
    QByteArray encode(const QString &text)
    {
        if (m_utf8)
            return text.toUtf8();
        QString safe;
        safe.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.unicode() < 128) {
                safe += c;
                continue;
            }
            QString one(c);
            if (c.isHighSurrogate() && i + 1 < text.size())
                one += text[++i];
            const char32_t code = one.size() == 2 ? QChar::surrogateToUcs4(one[0], one[1]) : c.unicode();
            auto known = m_encodable.constFind(code);
            if (known == m_encodable.constEnd()) {
                const QByteArray bytes = m_encoder.encode(one);
                known = m_encodable.insert(code, !m_encoder.hasError() && m_decoder.decode(bytes) == one);
                m_encoder.resetState();
                m_decoder.resetState();
            }
            safe += *known ? one : QStringLiteral("&#%1;").arg(uint(code));
        }
        return m_encoder.encode(safe);
    }

    QString document(const QString &body) const
    {
        QString head = QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">\n<title>%2</title>\n")
                           .arg(escapeXml(m_s.characterSet), escapeXml(m_s.title));
        if (m_css)
            head += QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"%1.css\">\n").arg(escapeXml(m_s.fileNamePrefix));
        else if (m_dhtml)
            head += QStringLiteral("<style type=\"text/css\">\n") + baseStyles() + QStringLiteral("</style>\n");
        const QString doctype = m_dhtml ? QStringLiteral("<!DOCTYPE html>\n")
                                        : QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\n");
        return doctype + QStringLiteral("<html>\n<head>\n") + head + QStringLiteral("</head>\n<body>\n") + body
               + QStringLiteral("</body>\n</html>\n");
    }

    static QString baseStyles()
    {
        return QStringLiteral(
            "body { background: #808080; margin: 0; }\n"
            ".page { position: relative; background: #ffffff; margin: 8px auto; overflow: hidden; page-break-after: always; }\n"
            ".page > div { position: absolute; overflow: hidden; display: flex; flex-direction: column; }\n"
            ".page > svg, .page > img { position: absolute; }\n"
            ".nav { text-align: center; font: 10pt sans-serif; }\n"
            "details { margin-left: 1em; } .toc { font: 10pt sans-serif; }\n");
    }

    QString styleSheet() const
    {
        QString css = baseStyles();
        for (auto it = m_fontClasses.cbegin(); it != m_fontClasses.cend(); ++it)
            css += QStringLiteral(".%1 { %2 }\n").arg(it.value(), it.key());
        return css;
    }

    // Font and colours: a class in the style sheet, or inline.
    QString fontStyle(const PageFont &font, QRgb fore, QRgb back, QString *classAttr)
    {
        QString style = QStringLiteral("font-family: '%1'; font-size: %2pt;").arg(font.family, QString::number(font.pointSize));
        if (font.bold)
            style += QStringLiteral(" font-weight: bold;");
        if (font.italic)
            style += QStringLiteral(" font-style: italic;");
        if (font.underline || font.strikeOut)
            style += QStringLiteral(" text-decoration:%1%2;").arg(font.underline ? QStringLiteral(" underline") : QString(),
                                                                  font.strikeOut ? QStringLiteral(" line-through") : QString());
        style += QStringLiteral(" color: %1;").arg(cssColour(fore));
        if (qAlpha(back))
            style += QStringLiteral(" background: %1;").arg(cssColour(back));
        if (!m_css)
            return style;
        auto it = m_fontClasses.constFind(style);
        if (it == m_fontClasses.constEnd())
            it = m_fontClasses.insert(style, QStringLiteral("s%1").arg(m_fontClasses.size()));
        *classAttr = *it;
        return {};
    }

    static const PageFont &fontOf(const Page &page, int index)
    {
        static const PageFont fallback;
        return index >= 0 && size_t(index) < page.fonts.size() ? page.fonts[size_t(index)] : fallback;
    }

    QString imageName(int index, std::vector<OutFile> *files)
    {
        auto it = m_images.constFind(index);
        if (it != m_images.constEnd())
            return *it;
        const QString name = m_s.fileNamePrefix + QStringLiteral("_img%1.png").arg(index + 1);
        files->push_back(OutFile{name, true, png(m_pages.image(index)), QStringLiteral("image/png")});
        m_images.insert(index, name);
        return name;
    }

    static QByteArray png(const QImage &image)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    // A barcode drawn into a picture at 192 dpi by the page painter.
    QString barcodeImage(const BarcodeOp &op, const Page &page, int pageIndex, int n, std::vector<OutFile> *files)
    {
        Page one;
        one.fonts = page.fonts;
        BarcodeOp moved = op;
        moved.rect.moveTopLeft(QPointF(0, 0));
        one.ops.push_back(moved);
        const double scale = 192.0 / Units::TwipsPerInch;
        QImage image(qMax(1, int(std::ceil(op.rect.width() * scale))), qMax(1, int(std::ceil(op.rect.height() * scale))),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        image.setDotsPerMeterX(int(192 / 0.0254));
        image.setDotsPerMeterY(int(192 / 0.0254));
        {
            QPainter p(&image);
            m_painter.paint(p, one);
        }
        const QString name = m_s.fileNamePrefix + QStringLiteral("_code%1_%2.png").arg(pageIndex + 1).arg(n);
        files->push_back(OutFile{name, true, png(image), QStringLiteral("image/png")});
        return name;
    }

    QString anchors(int pageIndex) const
    {
        QString out;
        for (const Bookmark &b : m_bookmarks)
            if (b.page == pageIndex)
                out += QStringLiteral("<a name=\"%1\" id=\"%1\"></a>").arg(b.anchor);
        return out;
    }

    QString dynamicPage(const Page &page, int pageIndex, std::vector<OutFile> *files)
    {
        const double w = page.size.width() > 0 ? page.size.width() : 12240;
        const double h = page.size.height() > 0 ? page.size.height() : 15840;
        QString out = anchors(pageIndex);
        out += QStringLiteral("<div class=\"page\" id=\"page%1\" style=\"width: %2px; height: %3px;\">\n")
                   .arg(pageIndex + 1).arg(px(w), px(h));
        // Lines and shapes go into one drawing placed before the texts and
        // pictures, so that filled backgrounds (bands, charts) stay behind them.
        const qsizetype drawingAt = out.size();
        QString svg;
        int barcodes = 0;
        for (const PageOp &op : page.ops) {
            if (const auto *t = std::get_if<TextOp>(&op)) {
                QString cls;
                QString style = QStringLiteral("left: %1px; top: %2px; width: %3px; height: %4px; ")
                                    .arg(px(t->rect.left()), px(t->rect.top()), px(t->rect.width()), px(t->rect.height()));
                style += fontStyle(fontOf(page, t->font), t->foreColor, t->backColor, &cls);
                style += QStringLiteral(" text-align: %1;").arg((t->alignment & Qt::AlignRight) ? QStringLiteral("right")
                                                                 : (t->alignment & Qt::AlignHCenter) ? QStringLiteral("center")
                                                                                                      : QStringLiteral("left"));
                style += QStringLiteral(" justify-content: %1;").arg((t->alignment & Qt::AlignBottom) ? QStringLiteral("flex-end")
                                                                     : (t->alignment & Qt::AlignVCenter) ? QStringLiteral("center")
                                                                                                          : QStringLiteral("flex-start"));
                if (!t->richText)
                    style += t->wrap ? QStringLiteral(" white-space: pre-wrap;") : QStringLiteral(" white-space: pre;");
                if (t->angle % 3600)
                    style += QStringLiteral(" transform: rotate(%1deg);").arg(-t->angle / 10.0);
                out += QStringLiteral("<div%1 style=\"%2\"><span>%3</span></div>\n")
                           .arg(cls.isEmpty() ? QString() : QStringLiteral(" class=\"%1\"").arg(cls), style,
                                t->richText ? richBody(t->text) : escapeXml(t->text));
            } else if (const auto *l = std::get_if<LineOp>(&op)) {
                svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"%5/>\n")
                           .arg(l->from.x()).arg(l->from.y()).arg(l->to.x()).arg(l->to.y()).arg(stroke(l->pen));
            } else if (const auto *s = std::get_if<ShapeOp>(&op)) {
                const QString fill = qAlpha(s->fill) ? cssColour(s->fill) : QStringLiteral("none");
                if (s->kind == ShapeOp::Ellipse)
                    svg += QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"%6/>\n")
                               .arg(s->rect.center().x()).arg(s->rect.center().y()).arg(s->rect.width() / 2)
                               .arg(s->rect.height() / 2).arg(fill, stroke(s->pen));
                else
                    svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"%7/>\n")
                               .arg(s->rect.x()).arg(s->rect.y()).arg(s->rect.width()).arg(s->rect.height())
                               .arg(s->kind == ShapeOp::RoundRect ? s->cornerRadius : 0).arg(fill, stroke(s->pen));
            } else if (const auto *pg = std::get_if<PolygonOp>(&op)) {
                QString points;
                for (const QPointF &pt : pg->points)
                    points += QStringLiteral("%1,%2 ").arg(pt.x()).arg(pt.y());
                points.chop(1);
                svg += QStringLiteral("<%1 points=\"%2\" fill=\"%3\"%4/>\n")
                           .arg(pg->closed ? QStringLiteral("polygon") : QStringLiteral("polyline"), points,
                                pg->closed && qAlpha(pg->fill) ? cssColour(pg->fill) : QStringLiteral("none"), stroke(pg->pen));
            } else if (const auto *pie = std::get_if<PieOp>(&op)) {
                svg += piePath(*pie);
            } else if (const auto *c = std::get_if<CheckBoxOp>(&op)) {
                const QRectF &r = c->rect;
                svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"none\"%5/>\n")
                           .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(stroke(c->pen));
                if (c->checked)
                    svg += QStringLiteral("<polyline points=\"%1,%2 %3,%4 %5,%6\" fill=\"none\" stroke=\"#000000\" stroke-width=\"%7\"/>\n")
                               .arg(r.left() + r.width() * 0.2).arg(r.top() + r.height() * 0.52)
                               .arg(r.left() + r.width() * 0.42).arg(r.top() + r.height() * 0.75)
                               .arg(r.left() + r.width() * 0.8).arg(r.top() + r.height() * 0.25)
                               .arg(qMax(15.0, qMin(r.width(), r.height()) / 8));
            } else if (const auto *i = std::get_if<ImageOp>(&op)) {
                if (i->image < 0 || i->image >= m_pages.imageCount())
                    continue;
                const QSize natural = m_pages.image(i->image).size();
                QRectF target = i->rect;
                if (i->sizeMode == 2 && !natural.isEmpty()) {
                    const QSizeF fit = QSizeF(natural).scaled(i->rect.size(), Qt::KeepAspectRatio);
                    target = QRectF(i->rect.center() - QPointF(fit.width() / 2, fit.height() / 2), fit);
                }
                out += QStringLiteral("<img src=\"%1\" alt=\"\" style=\"left: %2px; top: %3px; width: %4px; height: %5px;\">\n")
                           .arg(escapeXml(m_imagePrefix + imageName(i->image, files)), px(target.left()), px(target.top()),
                                px(target.width()), px(target.height()));
            } else if (const auto *b = std::get_if<BarcodeOp>(&op)) {
                out += QStringLiteral("<img src=\"%1\" alt=\"%2\" style=\"left: %3px; top: %4px; width: %5px; height: %6px;\">\n")
                           .arg(escapeXml(m_imagePrefix + barcodeImage(*b, page, pageIndex, ++barcodes, files)),
                                escapeXml(b->data), px(b->rect.left()), px(b->rect.top()), px(b->rect.width()),
                                px(b->rect.height()));
            }
        }
        if (!svg.isEmpty())
            out.insert(drawingAt, QStringLiteral("<svg width=\"%1\" height=\"%2\" viewBox=\"0 0 %3 %4\" style=\"left: 0; top: 0;\">\n%5</svg>\n")
                                      .arg(px(w), px(h)).arg(w).arg(h).arg(svg));
        out += QStringLiteral("</div>\n");
        return out;
    }

    // HTML 3.2: the lines of the page as table rows, pictures after them.
    QString simplePage(const Page &page, int pageIndex, std::vector<OutFile> *files)
    {
        QString out = anchors(pageIndex);
        out += QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"2\">\n");
        for (const TextLine &line : pageLines(page)) {
            out += QStringLiteral("<tr>");
            for (const TextLine::Piece &piece : line.pieces) {
                const QString align = (piece.alignment & Qt::AlignRight) ? QStringLiteral(" align=\"right\"")
                                      : (piece.alignment & Qt::AlignHCenter) ? QStringLiteral(" align=\"center\"")
                                                                             : QString();
                out += QStringLiteral("<td width=\"%1\"%2><font face=\"Arial\">%3</font></td>")
                           .arg(px(piece.width), align, escapeXml(piece.text));
            }
            out += QStringLiteral("</tr>\n");
        }
        out += QStringLiteral("</table>\n");
        for (const PageOp &op : page.ops) {
            if (const auto *i = std::get_if<ImageOp>(&op); i && i->image >= 0 && i->image < m_pages.imageCount())
                out += QStringLiteral("<img src=\"%1\" alt=\"\" width=\"%2\" height=\"%3\">\n")
                           .arg(escapeXml(m_imagePrefix + imageName(i->image, files)), px(i->rect.width()), px(i->rect.height()));
        }
        out += QStringLiteral("<hr>\n");
        return out;
    }

    QString navigation(int i, int count) const
    {
        if (m_s.createFrameset)
            return {};
        QString out = QStringLiteral("<p class=\"nav\">");
        if (i > 0)
            out += QStringLiteral("<a href=\"%1\">&lt;</a> ").arg(escapeXml(pageFile(i - 1)));
        out += QStringLiteral("%1 / %2").arg(i + 1).arg(count);
        if (i + 1 < count)
            out += QStringLiteral(" <a href=\"%1\">&gt;</a>").arg(escapeXml(pageFile(i + 1)));
        if (m_s.tocFormat != 0)
            out += QStringLiteral(" <a href=\"%1\">Contents</a>").arg(escapeXml(tocFile()));
        return out + QStringLiteral("</p>\n");
    }

    struct Bookmark
    {
        int level;
        QString text;
        int page;
        QString anchor;
    };

    void collectBookmarks(const Page &page, int pageIndex)
    {
        for (const Page::Bookmark &b : page.bookmarks)
            m_bookmarks.push_back({qMax(0, b.level), b.text, pageIndex, QStringLiteral("bm%1").arg(m_bookmarks.size() + 1)});
    }

    QString link(const Bookmark &b) const
    {
        return QStringLiteral("<a href=\"%1#%2\"%3>%4</a>")
            .arg(escapeXml(pageFile(b.page)), b.anchor,
                 m_s.createFrameset ? QStringLiteral(" target=\"pages\"") : QString(), escapeXml(b.text));
    }

    QString tocHtml(bool tree) const
    {
        QString out = QStringLiteral("<div class=\"toc\">\n");
        if (!tree) {
            int depth = 0;
            for (const Bookmark &b : m_bookmarks) {
                for (; depth <= b.level; ++depth)
                    out += QStringLiteral("<ul>\n");
                for (; depth > b.level + 1; --depth)
                    out += QStringLiteral("</ul>\n");
                out += QStringLiteral("<li>") + link(b) + QStringLiteral("</li>\n");
            }
            for (; depth > 0; --depth)
                out += QStringLiteral("</ul>\n");
        } else {
            // Entries with entries under them open and close.
            int depth = 0;
            for (size_t i = 0; i < m_bookmarks.size(); ++i) {
                const Bookmark &b = m_bookmarks[i];
                for (; depth > b.level; --depth)
                    out += QStringLiteral("</details>\n");
                const bool parent = i + 1 < m_bookmarks.size() && m_bookmarks[i + 1].level > b.level;
                if (parent) {
                    out += QStringLiteral("<details open><summary>") + link(b) + QStringLiteral("</summary>\n");
                    depth = b.level + 1;
                } else {
                    out += QStringLiteral("<div>") + link(b) + QStringLiteral("</div>\n");
                }
            }
            for (; depth > 0; --depth)
                out += QStringLiteral("</details>\n");
        }
        return out + QStringLiteral("</div>\n");
    }

    OutFile xmlToc()
    {
        QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n<toc title=\"%2\">\n")
                          .arg(escapeXml(m_s.characterSet), escapeXml(m_s.title));
        int depth = 0;
        for (size_t i = 0; i < m_bookmarks.size(); ++i) {
            const Bookmark &b = m_bookmarks[i];
            for (; depth > b.level; --depth)
                out += QStringLiteral("</entry>\n");
            const bool parent = i + 1 < m_bookmarks.size() && m_bookmarks[i + 1].level > b.level;
            out += QStringLiteral("<entry text=\"%1\" page=\"%2\" href=\"%3#%4\"%5>\n")
                       .arg(escapeXml(b.text)).arg(b.page + 1).arg(escapeXml(pageFile(b.page)), b.anchor,
                                                                   parent ? QString() : QStringLiteral("/"));
            if (parent)
                depth = b.level + 1;
        }
        for (; depth > 0; --depth)
            out += QStringLiteral("</entry>\n");
        out += QStringLiteral("</toc>\n");
        return OutFile{tocFile(), false, encode(out), QStringLiteral("text/xml")};
    }

    QString pageList(int count) const
    {
        QString out = QStringLiteral("<div class=\"toc\">\n");
        int last = -1;
        for (int i = 0; i < count; ++i) {
            if (pageFile(i) == (last >= 0 ? pageFile(last) : QString()))
                continue;
            out += QStringLiteral("<div><a href=\"%1\" target=\"pages\">Page %2</a></div>\n").arg(escapeXml(pageFile(i))).arg(i + 1);
            last = i;
        }
        return out + QStringLiteral("</div>\n");
    }

    QString frameset() const
    {
        return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\">\n<html>\n<head>\n"
                              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">\n<title>%2</title>\n</head>\n"
                              "<frameset cols=\"25%,*\">\n<frame name=\"contents\" src=\"%3\">\n<frame name=\"pages\" src=\"%4\">\n"
                              "</frameset>\n</html>\n")
            .arg(escapeXml(m_s.characterSet), escapeXml(m_s.title), escapeXml(navFile()), escapeXml(pageFile(0)));
    }

    const PageCollection &m_pages;
    const HtmlSettings &m_s;
    PagePainter m_painter;
    bool m_utf8 = true, m_dhtml = true, m_css = false;
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
    QHash<char32_t, bool> m_encodable;
    QHash<QString, QString> m_fontClasses;
    QHash<int, QString> m_images;
    std::vector<Bookmark> m_bookmarks;
    QString m_imagePrefix;
};

// A MIME archive of the files: the main page first, every part base64.
QByteArray mimeArchive(const std::vector<OutFile> &files, const QString &main, const QString &title)
{
    const QByteArray boundary = "----=_OrvReport_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    QByteArray out = "From: <Saved by OrvReport>\r\nSubject: " + title.toUtf8()
                     + "\r\nMIME-Version: 1.0\r\nContent-Type: multipart/related; type=\"text/html\"; boundary=\"" + boundary
                     + "\"\r\n\r\nThis is a multi-part message in MIME format.\r\n";
    std::vector<const OutFile *> order;
    for (const OutFile &f : files)
        if (f.name == main)
            order.insert(order.begin(), &f);
        else
            order.push_back(&f);
    for (const OutFile *f : order) {
        out += "\r\n--" + boundary + "\r\nContent-Type: " + f->mime.toUtf8()
               + "\r\nContent-Transfer-Encoding: base64\r\nContent-Location: " + QUrl::toPercentEncoding(f->name)
               + "\r\n\r\n";
        const QByteArray encoded = f->bytes.toBase64();
        for (qsizetype i = 0; i < encoded.size(); i += 76)
            out += encoded.mid(i, 76) + "\r\n";
    }
    out += "\r\n--" + boundary + "--\r\n";
    return out;
}

} // namespace

QList<ExportSetting> HtmlExporter::settings() const
{
    const auto text = [](const char *name, const char *note, const char *summary) {
        return ExportSetting{QString::fromLatin1(name), SettingType::Text, 0, 0, {}, {}, {}, QString::fromLatin1(note),
                             QString::fromLatin1(summary)};
    };
    const auto flag = [](const char *name, const QVariant &def, const char *note, const char *summary) {
        return ExportSetting{QString::fromLatin1(name), SettingType::Boolean, 0, 0, {}, {}, def, QString::fromLatin1(note),
                             QString::fromLatin1(summary)};
    };
    return {text("FileNamePrefix", "the path's base name", "base name of every file"),
            text("PagesFolder", "the path's folder", "where the pages go"),
            text("ImagesFolder", "the pages folder", "where pictures go"),
            {QStringLiteral("CharacterSet"), SettingType::Text, 0, 0, {}, {}, QStringLiteral("UTF-8"), {},
             QStringLiteral("the pages' encoding")},
            {QStringLiteral("Title"), SettingType::Text, 0, 0, {}, {}, QString(), {}, QStringLiteral("title of every page")},
            {QStringLiteral("HTMLVersion"), SettingType::Integer, 0, 1, {}, {}, 1, {},
             QStringLiteral("0 HTML 3.2, 1 Dynamic HTML")},
            {QStringLiteral("TOCFormat"), SettingType::Integer, 0, 3, {}, {}, 0, {},
             QStringLiteral("contents: 0 none, 1 simple HTML, 2 Dynamic HTML, 3 XML")},
            flag("CreateCSS", false, {}, "styles in a shared style sheet"),
            flag("CreateFrameset", false, {}, "a frameset with the contents beside the pages"),
            flag("MHTOutput", {}, "true for a .mht path, else false", "everything in one MIME archive"),
            flag("MultiPageOutput", true, {}, "one file per page")};
}

Status HtmlExporter::parseSettings(const QVariantMap &settings, const QString &path, HtmlSettings *out) const
{
    Status status = checkSettingNames(settings);
    if (!status.ok())
        return status;
    HtmlSettings s;
    const QFileInfo info(path);
    if (!path.isEmpty()) {
        s.fileNamePrefix = info.completeBaseName();
        s.pagesFolder = info.absolutePath();
        s.mhtOutput = info.suffix().compare(QLatin1String("mht"), Qt::CaseInsensitive) == 0;
    }
    SettingReader r(format(), this->settings(), settings);
    r.text(QStringLiteral("FileNamePrefix"), &s.fileNamePrefix);
    r.text(QStringLiteral("PagesFolder"), &s.pagesFolder);
    r.text(QStringLiteral("ImagesFolder"), &s.imagesFolder);
    r.text(QStringLiteral("CharacterSet"), &s.characterSet);
    r.text(QStringLiteral("Title"), &s.title);
    r.integer(QStringLiteral("HTMLVersion"), &s.htmlVersion);
    r.integer(QStringLiteral("TOCFormat"), &s.tocFormat);
    r.boolean(QStringLiteral("CreateCSS"), &s.createCss);
    r.boolean(QStringLiteral("CreateFrameset"), &s.createFrameset);
    r.boolean(QStringLiteral("MHTOutput"), &s.mhtOutput);
    r.boolean(QStringLiteral("MultiPageOutput"), &s.multiPageOutput);
    if (!r.ok())
        return r.status();
    if (s.fileNamePrefix.isEmpty())
        return failure(ErrInvalidCall, QStringLiteral("No file name prefix given"));
    if (s.fileNamePrefix.contains(QLatin1Char('/')))
        return failure(ErrInvalidPropertyValue, QStringLiteral("The file name prefix \"%1\" names a folder").arg(s.fileNamePrefix));
    if (s.pagesFolder.isEmpty())
        s.pagesFolder = QDir::currentPath();
    if (s.imagesFolder.isEmpty())
        s.imagesFolder = s.pagesFolder;
    s.pagesFolder = QDir(s.pagesFolder).absolutePath();
    s.imagesFolder = QDir(s.imagesFolder).absolutePath();
    if (s.characterSet.trimmed().isEmpty())
        s.characterSet = QStringLiteral("UTF-8");
    if (!QStringEncoder(s.characterSet.toLatin1().constData()).isValid())
        return failure(ErrInvalidPropertyValue, QStringLiteral("HTML setting CharacterSet: unknown character set \"%1\"").arg(s.characterSet));
    *out = s;
    return {};
}

Status HtmlExporter::write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                           const ExportProgress &progress)
{
    HtmlSettings options;
    Status status = checkStart(parseSettings(settings, path, &options), pages);
    if (!status.ok())
        return status;
    if (!QFileInfo(options.pagesFolder).isDir())
        return failure(ErrPathAccess, QStringLiteral("The pages folder %1 does not exist").arg(displayName(options.pagesFolder)));
    if (!options.mhtOutput && !QFileInfo(options.imagesFolder).isDir() && !QDir().mkpath(options.imagesFolder))
        return failure(ErrPathAccess, QStringLiteral("Cannot create the images folder %1").arg(displayName(options.imagesFolder)));

    std::vector<OutFile> files;
    HtmlWriter writer(pages, options);
    status = writer.run(progress, &files);
    if (!status.ok())
        return status;

    StagedFiles staged(format());
    const auto put = [&](const QString &target, const QByteArray &bytes) {
        const QString temp = staged.stage(target, &status);
        if (temp.isEmpty())
            return false;
        QFile file(temp);
        if (!file.open(QIODevice::WriteOnly)) {
            status = failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(displayName(target), file.errorString()));
            return false;
        }
        status = staged.write(file, bytes, target);
        if (status.ok())
            status = staged.checkWritten(file, target);
        return status.ok();
    };
    if (options.mhtOutput) {
        if (!put(options.pagesFolder + QLatin1Char('/') + writer.entryName(),
                 mimeArchive(files, writer.mainName(), options.title)))
            return status;
    } else {
        for (const OutFile &f : files) {
            if (progress.cancelled())
                return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
            if (!put((f.image ? options.imagesFolder : options.pagesFolder) + QLatin1Char('/') + f.name, f.bytes))
                return status;
        }
    }
    return staged.commit();
}

} // namespace Orv
