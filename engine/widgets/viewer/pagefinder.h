#pragma once
// Text search over a page collection, a slice at a time so that a long
// document never blocks the window: start() sets up a search and step()
// searches for a while and says whether it has finished. Matches are
// ordered by page, then by the order texts are drawn on the page, then by
// position in the text. A search that continues from a match finds the
// next (or previous) one; wrapping searches go round the document once.
#include "engine/pages/page.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <memory>

namespace Orv {

class PageCollection;

struct FindMatch
{
    int page = -1;
    int op = -1;    // index into the page's operations
    int start = 0;  // in the text as laid out (line breaks made single)
    int length = 0;
    bool valid() const { return page >= 0; }
    friend bool operator==(const FindMatch &, const FindMatch &) = default;
};

struct FindRequest
{
    QString text;
    bool forward = true;
    bool wholeDocument = true; // false: the one page only, round it once
    bool matchCase = false;
    bool wholeWord = false;
    bool sameSearch(const FindRequest &other) const
    {
        return text == other.text && matchCase == other.matchCase && wholeWord == other.wholeWord
               && wholeDocument == other.wholeDocument;
    }
};

class PageFinder : public QObject
{
    Q_OBJECT

public:
    explicit PageFinder(QObject *parent = nullptr);
    ~PageFinder() override;

    // Sets up a search of pages for request, from just after (or before)
    // from when it is a match on page, else from the edge of page.
    void start(const PageCollection *pages, const FindRequest &request, int page, const FindMatch &from = {});
    // Searches for up to budgetMs (at least one page). True when the search
    // has ended: then match() is the result (invalid: not found).
    bool step(int budgetMs);
    // Steps until done (tests, small collections).
    FindMatch run();
    void cancel();

    bool isSearching() const { return m_searching; }
    const FindRequest &request() const { return m_request; }
    FindMatch match() const { return m_match; }
    // Pages looked at since start (progress).
    int pagesSearched() const { return m_searched; }
    // True when the last search went past the end (or start) and on
    // round from the other edge.
    bool wrapped() const { return m_wrapped; }

    // The text of an operation as the painter lays it out; empty for
    // operations without text.
    static QString searchableText(const PageOp &op);
    // Boxes around a match on its page, in twips.
    static QList<QRectF> matchRects(const Page &page, const FindMatch &match);

Q_SIGNALS:
    void finished(const Orv::FindMatch &match);

private:
    // Looks for a match on one page, after (forward) or before position
    // (op, pos); returns true and sets m_match when found.
    bool searchPage(const Page &page, int index, int op, int pos);
    int findIn(const QString &text, int from) const;
    int findLastIn(const QString &text, int before) const;
    bool wholeWordAt(const QString &text, int at) const;
    void finish(const FindMatch &match);

    QPointer<const PageCollection> m_pages;
    FindRequest m_request;
    FindMatch m_match;
    bool m_searching = false;
    bool m_wrapped = false;
    int m_startPage = 0;   // where the search began
    int m_page = 0;        // the page to search next
    int m_op = -1;         // resume point on m_page (-1: its edge)
    int m_pos = 0;
    bool m_fromEdge = true; // the start page is searched whole on the first pass
    int m_searched = 0;
    bool m_lapped = false; // has gone round past the last page
};

} // namespace Orv

Q_DECLARE_METATYPE(Orv::FindMatch)
