#pragma once
// Rich text as the designer edits it. A rich-text control holds RTF (or
// plain text); the designer reads it into a QTextDocument, lets the user
// format it, and writes RTF back. What survives the trip: bold, italic,
// underline, strike-through, font, size and colour of characters;
// alignment, left indent and bullets of paragraphs; line breaks and tabs.
//
// The document works in 96 dpi pixels (15 twips each), as the page
// painter's rich-text documents do.
#include "engine/pages/page.h"

#include <QString>
#include <QTextCursor>

class QTextDocument;

namespace Orv::RichText {

// One indent step, in twips.
constexpr double IndentStep = 360;

bool isRtf(const QString &text);
// Replaces doc's content by text (RTF or plain) with base as the default
// font. doc's default font and page size are the caller's.
void load(QTextDocument *doc, const QString &text);
QString toRtf(const QTextDocument *doc, const PageFont &base);
// The text as HTML for the page painter.
QString toHtml(const QString &text, const PageFont &base);
// Plain text as it stands in RTF: braces and backslashes escaped, line
// breaks as \line, characters past ASCII as \uN?.
QString rtfEscaped(const QString &text);

// Paragraph commands on the paragraphs the cursor's selection touches.
bool hasBullets(const QTextCursor &cursor);
void setBullets(const QTextCursor &cursor, bool on);
void toggleBullets(const QTextCursor &cursor);
bool isIndented(const QTextCursor &cursor);
// steps > 0 indents, < 0 outdents (never below the left edge).
void indent(const QTextCursor &cursor, int steps);

// The same over a whole control's text; the result is RTF.
QString withBullets(const QString &text, const PageFont &base, bool on);
QString withIndent(const QString &text, const PageFont &base, int steps);
bool textHasBullets(const QString &text);
bool textIndented(const QString &text);

} // namespace Orv::RichText
