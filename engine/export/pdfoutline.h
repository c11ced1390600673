#pragma once
// The document outline of a PDF that QPdfWriter wrote, added as an
// incremental update: the outline items, a catalog that points to them and
// a cross-reference section are appended to the file, so the pages already
// written are neither read again nor rewritten and memory stays small
// however long the document is.
#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>
#include <string>
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

// Items in order, kept small: a long report has hundreds of thousands,
// most with a title of a few characters.
class Items
{
public:
    void append(const Item &item);
    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    Item at(size_t index) const;
    int page(size_t index) const { return m_entries[index].page; }
    int level(size_t index) const { return m_entries[index].level; }

private:
    struct Entry
    {
        qint32 page;
        qint32 level;
        double y;
        size_t end; // where its title ends in m_titles
    };
    std::deque<Entry> m_entries; // grows without copying what it holds
    std::string m_titles;        // UTF-8, one after another
};

// The outline's objects, numbered from firstId: the root ("/Type
// /Outlines") first, then the items in order; pages[i] is page i's object
// number. Each is handed to write as it is made (index from 0, the root),
// so a long outline is never held whole; returns how many there were, 0
// when no item is on a page.
qint64 objects(const Items &items, const std::vector<qint64> &pages, qint64 firstId,
               const std::function<void(qint64, const QByteArray &)> &write);

enum class Result { Done, NotRecognised, WriteFailed };

// Appends the items to file (open for reading and writing). NotRecognised
// when the file is not laid out as QPdfWriter writes PDFs (nothing is
// written then); WriteFailed with *error when writing fails.
Result append(QFile &file, const Items &items, QString *error);

} // namespace Orv::PdfOutline
