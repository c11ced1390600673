#pragma once
// Text measurement for the run: how tall a text is in a box of a given
// width, laid out exactly as the page painter draws it (same fonts, same
// line breaks, at the resolution-independent reference size of
// FontResolver). Wrapping breaks at word boundaries, and inside a word
// only when the word is wider than the box; CJK text may break between any
// two characters. Explicit line breaks ("\n", "\r\n", "\r") always start a
// new line, also without wrapping.
#include "engine/pages/page.h"

#include <QList>
#include <QString>
#include <QTextDocument>

class QTextLayout;

namespace Orv {

struct TextMeasurement
{
    double height = 0;     // twips
    double width = 0;      // the widest line, twips
    QList<int> lineStarts; // index in the text where each line starts
    int lineCount() const { return int(lineStarts.size()); }
};

// Plain text. Empty text needs no lines and no height.
TextMeasurement measureText(const PageFont &font, double width, bool wrap, const QString &text);
// Rich text (HTML from a rich-text control), wrapped to the width.
TextMeasurement measureRichText(const PageFont &font, double width, const QString &html);
// Just the height, plain or rich.
double textHeight(const PageFont &font, double width, bool wrap, const QString &text, bool richText = false);

// The shared layout steps, used by the measurement and the painter.
namespace TextLayout {

// The text with its line breaks turned into the separators QTextLayout breaks at.
QString prepare(const QString &text);
// Lays out a QTextLayout that already holds prepared text and the font:
// lines of the given width from y = 0 down, aligned horizontally as asked.
// Returns the total height; widest receives the widest line's width.
double layoutLines(QTextLayout &layout, double width, bool wrap, Qt::Alignment alignment, double *widest = nullptr);
// A document for rich text in a box of the given width (twips). It works in
// 96 dpi pixels (15 twips each): draw it under a 15 times scale. It loads
// no resources: pages come from files, and an <img src="/dev/zero"> in one
// must not read anything.
class RichTextDocument : public QTextDocument
{
public:
    RichTextDocument(const QString &html, const PageFont &font, double width);

protected:
    QVariant loadResource(int, const QUrl &) override { return {}; }
};
constexpr double RichTextTwipsPerUnit = 15.0;

} // namespace TextLayout

} // namespace Orv
