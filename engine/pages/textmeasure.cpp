#include "engine/pages/textmeasure.h"

#include "engine/pages/fontresolver.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>


namespace Orv {

namespace TextLayout {

namespace {

class NoImages : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        const QTextImageFormat image = format.toImageFormat();
        return QSizeF(qBound(0.0, image.width(), 10000.0), qBound(0.0, image.height(), 10000.0));
    }
    void drawObject(QPainter *, const QRectF &, QTextDocument *, int, const QTextFormat &) override {}
};

} // namespace

QString prepare(const QString &text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text; // shared, not copied
    QString s = text;
    bool pendingCr = false;
    qsizetype out = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\n') && pendingCr) {
            pendingCr = false;
            continue; // the \r already broke the line
        }
        pendingCr = c == QLatin1Char('\r');
        s[out++] = (c == QLatin1Char('\n') || c == QLatin1Char('\r')) ? QChar::LineSeparator : c;
    }
    s.truncate(out);
    return s;
}

double layoutLines(QTextLayout &layout, double width, bool wrap, Qt::Alignment alignment, double *widest)
{
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    // Tab stops every eight spaces, as in a plain text box.
    if (layout.text().contains(QLatin1Char('\t')))
        option.setTabStopDistance(8 * QFontMetricsF(layout.font()).horizontalAdvance(QLatin1Char(' ')));
    layout.setTextOption(option);
    const double lineWidth = qMax(width, 0.0);
    double y = 0;
    double wide = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
        wide = qMax(wide, line.naturalTextWidth());
    }
    layout.endLayout();
    if (widest)
        *widest = wide;
    return y;
}

RichTextDocument::RichTextDocument(const QString &html, const PageFont &font, double width)
{
    // Point sizes in the HTML convert at 96 dpi whatever the screen says.
    thread_local QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    documentLayout()->setPaintDevice(&device);
    // Qt's own image handler reads files itself when a resource is not
    // found; ours takes the HTML's size for a picture and draws nothing.
    thread_local NoImages noImages;
    documentLayout()->registerHandler(QTextFormat::ImageObject, &noImages);
    QFont f(FontResolver::instance().familyFor(font.family));
    f.setPointSizeF(std::clamp(font.pointSize, FontResolver::MinPointSize, FontResolver::MaxPointSize));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setHintingPreference(QFont::PreferNoHinting);
    setDefaultFont(f);
    setDocumentMargin(0);
    setTextWidth(qMax(width, 0.0) / RichTextTwipsPerUnit);
    setHtml(html);
}

} // namespace TextLayout

TextMeasurement measureText(const PageFont &font, double width, bool wrap, const QString &text)
{
    TextMeasurement m;
    if (text.isEmpty())
        return m;
    const auto entry = FontResolver::instance().resolve(font);
    QTextLayout layout(TextLayout::prepare(text), entry->font);
    m.height = TextLayout::layoutLines(layout, width, wrap, Qt::AlignLeft, &m.width);
    // Line starts in the caller's text: each "\r\n" became one separator.
    m.lineStarts.reserve(layout.lineCount());
    qsizetype original = 0;
    int prepared = 0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const int start = layout.lineAt(i).textStart();
        for (; prepared < start; ++prepared, ++original) {
            if (text.at(original) == QLatin1Char('\r') && original + 1 < text.size()
                && text.at(original + 1) == QLatin1Char('\n'))
                ++original;
        }
        m.lineStarts.append(int(original));
    }
    return m;
}

TextMeasurement measureRichText(const PageFont &font, double width, const QString &html)
{
    TextMeasurement m;
    if (html.isEmpty())
        return m;
    TextLayout::RichTextDocument document(html, font, width);
    m.height = document.size().height() * TextLayout::RichTextTwipsPerUnit;
    m.width = document.idealWidth() * TextLayout::RichTextTwipsPerUnit;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i)
            m.lineStarts.append(block.position() + layout->lineAt(i).textStart());
    }
    return m;
}

double textHeight(const PageFont &font, double width, bool wrap, const QString &text, bool richText)
{
    return richText ? measureRichText(font, width, text).height : measureText(font, width, wrap, text).height;
}

} // namespace Orv

#include "textmeasure.moc"
