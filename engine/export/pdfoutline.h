#pragma once
// The document outline of a PDF that QPdfWriter wrote, added as an
// incremental update: the outline items, a catalog that points to them and
// a cross-reference section are appended to the file, so the pages already
// written are neither read again nor rewritten and memory stays small
// however long the document is.
#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QFile;

namespace Orv::PdfOutline {

struct Item
{
    int page = 0;        // 0-based
    int level = 0;       // 0 top level; deeper levels nest under the last shallower item
    QString title;
    double y = 0;        // points from the bottom of the page, where the view opens
};

// The outline's objects, numbered from firstId: the root ("/Type
// /Outlines") first, then the items in order; pages[i] is page i's object
// number. Empty when no item is on a page.
std::vector<QByteArray> objects(const std::vector<Item> &items, const std::vector<qint64> &pages, qint64 firstId);
// The same, handed to write one at a time (index from 0, the root) so a
// long outline is never held whole; returns how many there were.
qint64 objects(const std::vector<Item> &items, const std::vector<qint64> &pages, qint64 firstId,
               const std::function<void(qint64, const QByteArray &)> &write);

enum class Result { Done, NotRecognised, WriteFailed };

// Appends the items to file (open for reading and writing). NotRecognised
// when the file is not laid out as QPdfWriter writes PDFs (nothing is
// written then); WriteFailed with *error when writing fails.
Result append(QFile &file, const std::vector<Item> &items, QString *error);

} // namespace Orv::PdfOutline
