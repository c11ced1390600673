#pragma once
// Rich-text controls hold RTF as word processors write it; pages draw
// HTML. This converts the character and paragraph formatting reports use
// (bold, italic, underline, strike, font, size, colour, alignment,
// paragraphs, line breaks, tabs, Unicode and code-page characters);
// pictures, tables and other destinations are left out.
#include <QString>

namespace Orv::RunInternal {

bool isRtf(const QString &text);
QString rtfToHtml(const QString &rtf);
// Plain text as HTML, line breaks kept.
QString plainToHtml(const QString &text);

} // namespace Orv::RunInternal
