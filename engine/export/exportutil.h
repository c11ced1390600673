#pragma once
// Helpers shared by the export filters: staged output files
// (stagedfiles.h) and the page text grouped into lines in reading order.
#include "engine/core/status.h"
#include "engine/pages/page.h"
#include "engine/pages/stagedfiles.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace Orv {

class PageCollection;

// One line of page text: the texts whose boxes share a top edge (within a
// tolerance), left to right. Wrapped and multi-line texts give one line per
// text line, the lower lines placed under the first.
struct TextLine
{
    double top = 0;
    double height = 0;
    struct Piece
    {
        double left = 0;
        double width = 0;
        QString text;
        Qt::Alignment alignment;
    };
    std::vector<Piece> pieces;
};

// The plain texts of a page (rich text reduced to its plain text, barcode
// data as shown under the bars), grouped into lines from top to bottom.
std::vector<TextLine> pageLines(const Page &page, double tolerance = 60);

// The plain text of a text operation.
QString plainText(const TextOp &op);

// Escapes &, <, > and quotes for HTML and XML.
QString escapeXml(const QString &text);

} // namespace Orv
