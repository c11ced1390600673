#include "engine/export/exportutil.h"

#include "engine/pages/textmeasure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace Orv {

QString plainText(const TextOp &op)
{
    if (!op.richText)
        return op.text;
    QTextDocument document;
    document.setHtml(op.text);
    return document.toPlainText();
}

std::vector<TextLine> pageLines(const Page &page, double tolerance)
{
    struct Item
    {
        double top, height;
        TextLine::Piece piece;
    };
    std::vector<Item> items;
    items.reserve(page.ops.size());
    const auto fontOf = [&page](int index) {
        return index >= 0 && size_t(index) < page.fonts.size() ? page.fonts[size_t(index)] : PageFont();
    };
    const auto add = [&](const QRectF &rect, const QString &text, const PageFont &font, bool wrap,
                         Qt::Alignment alignment) {
        if (text.isEmpty())
            return;
        const bool simple = !wrap && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
        if (simple) {
            items.push_back({rect.top(), rect.height(), {rect.left(), rect.width(), text, alignment}});
            return;
        }
        const TextMeasurement m = measureText(font, rect.width(), wrap, text);
        const int lines = m.lineCount();
        if (lines == 0)
            return;
        const double lineHeight = m.height / lines;
        double top = rect.top();
        if (alignment & Qt::AlignBottom)
            top = rect.bottom() - m.height;
        else if (alignment & Qt::AlignVCenter)
            top = rect.top() + (rect.height() - m.height) / 2;
        for (int i = 0; i < lines; ++i) {
            const int start = m.lineStarts[i];
            const int end = i + 1 < lines ? m.lineStarts[i + 1] : int(text.size());
            QString line = text.mid(start, end - start);
            while (!line.isEmpty() && (line.back() == QLatin1Char('\n') || line.back() == QLatin1Char('\r')
                                       || line.back() == QLatin1Char(' ') || line.back() == QChar::LineSeparator))
                line.chop(1);
            items.push_back({top + i * lineHeight, lineHeight, {rect.left(), rect.width(), line, alignment}});
        }
    };
    for (const PageOp &op : page.ops) {
        if (const auto *t = std::get_if<TextOp>(&op))
            add(t->rect, plainText(*t), fontOf(t->font), t->wrap && !t->richText ? true : t->richText, t->alignment);
        else if (const auto *b = std::get_if<BarcodeOp>(&op); b && b->showText)
            add(b->rect, b->data, fontOf(b->font), false, Qt::AlignHCenter | Qt::AlignBottom);
    }
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) { return a.top < b.top; });
    std::vector<TextLine> lines;
    for (Item &item : items) {
        if (lines.empty() || item.top > lines.back().top + tolerance)
            lines.push_back(TextLine{item.top, item.height, {}});
        TextLine &line = lines.back();
        line.height = qMax(line.height, item.top + item.height - line.top);
        line.pieces.push_back(std::move(item.piece));
    }
    for (TextLine &line : lines)
        std::stable_sort(line.pieces.begin(), line.pieces.end(),
                         [](const TextLine::Piece &a, const TextLine::Piece &b) { return a.left < b.left; });
    return lines;
}

QString escapeXml(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

} // namespace Orv
