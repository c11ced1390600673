#pragma once
// The viewer control: shows the pages of a page source (a running
// report's while it is still adding them, or its own collection, filled
// from an archive) with zoom,
// fit modes, continuous, one-page and multi-page layouts, a browser-like
// page history, rulers, a table of contents, find, copy page and print.
// The logic lives in ViewerNavigator, PageFinder and TocModel; this class
// joins them to the page area and the table of contents.
#include "engine/core/status.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagesource.h"
#include "engine/widgets/viewer/pagefinder.h"
#include "engine/widgets/viewer/viewernavigator.h"

#include <QPointer>

#include <functional>
#include <QTimer>
#include <QWidget>

class QPrinter;
class QSplitter;
class QTreeView;

namespace Orv {

class PageView;
class TocModel;
struct PrintSelection;

// Which way Find goes and how far; the numbers are the ones scripts pass.
enum class FindDirection : int {
    Back = 1,
    Forward = 2,
};
enum class FindScope : int {
    ThisPage = 0,
    WholeDocument = 1, // going round past its end
};

class Viewer : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(Orv::PageSource *ReportSource READ reportSource WRITE setReportSource)
    Q_PROPERTY(Orv::PageCollection *Pages READ Pages)
    Q_PROPERTY(int Zoom READ zoom WRITE writeZoom NOTIFY zoomChanged)
    Q_PROPERTY(bool RulerVisible READ rulerVisible WRITE setRulerVisible)
    Q_PROPERTY(bool TOCVisible READ tocVisible WRITE setTocVisible)
    Q_PROPERTY(int Canvas READ canvas WRITE writeCanvas NOTIFY pageChanged)

public:
    explicit Viewer(QWidget *parent = nullptr);
    ~Viewer() override;

    // The source whose pages are shown (a run's RunPageSource), or null.
    // Pages appear as the source adds them and are drawn again when it
    // changes them; setting null (or the source going away) detaches it
    // and the viewer shows its own collection again.
    PageSource *reportSource() const { return m_source; }
    void setReportSource(PageSource *source);
    // The collection shown: the source's, else the viewer's own (which
    // Pages()->Load fills from an archive).
    PageCollection *Pages() const { return m_pages; }
    // Detaches any source and loads an archive into the viewer's own
    // collection.
    Q_INVOKABLE Orv::Status Load(const QString &path);

    // Percent 25..800, -1 page width, -2 whole page (error 380 otherwise).
    int zoom() const { return m_nav.zoom(); }
    Status setZoom(int zoom);
    bool rulerVisible() const;
    void setRulerVisible(bool visible);
    bool tocVisible() const { return m_tocVisible; }
    void setTocVisible(bool visible);

    // The current page, 0-based; writing it goes there (error 9 when out
    // of range) and records the page left for Back.
    int canvas() const { return m_nav.current(); }
    Status setCanvas(int index);
    // Property writes: a value out of range leaves the property as it was.
    void writeZoom(int zoom) { std::ignore = setZoom(zoom); }
    void writeCanvas(int index) { std::ignore = setCanvas(index); }
    Q_INVOKABLE bool Back();
    Q_INVOKABLE bool Forward();
    Q_INVOKABLE bool CanGoBack() const { return m_nav.canGoBack(); }
    Q_INVOKABLE bool CanGoForward() const { return m_nav.canGoForward(); }

    // SinglePage(mode): 1 one page at a time, 2 continuous (the pages
    // scroll as one strip). MultiPage(rows, columns, gap): rows x columns
    // pages fitted to the window, gap millimetres apart.
    Q_INVOKABLE Orv::Status SinglePage(int mode);
    Q_INVOKABLE Orv::Status MultiPage(int rows, int columns, int gapMm);

    // Looks for text from the current page. The same search again finds the
    // next match. The search runs in slices from the event loop and ends
    // with findFinished; Escape or CancelFind stops it. An empty text is
    // error 5.
    Status Find(FindDirection direction, const QString &text, FindScope scope, bool matchCase, bool wholeWord);
    // The same for scripts, with the numbers of FindDirection and
    // FindScope; others are error 5.
    Q_INVOKABLE Orv::Status Find(int direction, const QString &text, int scope, bool matchCase, bool wholeWord);
    Q_INVOKABLE void CancelFind();
    bool isFinding() const { return m_finder.isSearching(); }
    FindMatch findMatch() const { return m_match; }

    // The page at actual size (96 dpi) as an image on the clipboard.
    Q_INVOKABLE Orv::Status CopyPage(int index);
    static QImage pageImage(const Page &page, const PageCollection *images);
    // Prints on the default printer; with the dialog the user picks the
    // printer, the pages and the copies first (Cancel prints nothing).
    Q_INVOKABLE Orv::Status PrintReport(bool showDialog);
    // The print dialog the host shows (its ui seam): it sets the printer,
    // the pages (1-based, within the bounds given) and the copies on the
    // printer and says whether to print. Without one, PrintReport(true)
    // prints on the default printer as it is.
    using PrintDialog = std::function<bool(QPrinter &printer, int minPage, int maxPage)>;
    void setPrintDialog(PrintDialog dialog) { m_printDialog = std::move(dialog); }
    // The same on a given printer: its range, copies and collation as set
    // on it (tests print to a PDF file this way).
    Status print(QPrinter &printer, bool showDialog);

    ViewerNavigator &navigator() { return m_nav; }
    PageView *pageView() const { return m_view; }
    TocModel *tocModel() const { return m_toc; }
    // Takes in pages that arrived since the last event loop pass (done on
    // its own from the event loop; tests call it directly).
    void syncPages();

Q_SIGNALS:
    void pageChanged(int index);
    void zoomChanged(int zoom);
    void viewModeChanged(bool multiPage);
    void historyChanged();
    void pageCountChanged(int count);
    // found: a match is highlighted and shown; wrapped: the search went
    // round past the end (or start) of the document to find it.
    void findFinished(bool found, bool wrapped);

private:
    void attach(PageSource *source);
    void onFindFinished(const FindMatch &match);
    void showMatch(const FindMatch &match);
    void tocActivated(const QModelIndex &index);
    void syncTocSelection();
    void scanToc();

    ViewerNavigator m_nav;
    PageFinder m_finder;
    PageCollection m_own;
    CollectionPageSource m_ownSource{&m_own};
    QPointer<PageSource> m_source;  // the one set, null for the own pages
    QPointer<PageSource> m_shown;   // the one shown
    QPointer<PageCollection> m_pages;
    QMetaObject::Connection m_sourceGone;
    QList<QMetaObject::Connection> m_pageConnections;
    QSplitter *m_splitter;
    QTreeView *m_tocView;
    TocModel *m_toc;
    PageView *m_view;
    bool m_tocVisible = false;
    PrintDialog m_printDialog;
    FindMatch m_match;
    QTimer m_pending;  // pages arrived
    QTimer m_findStep; // a search in progress
    QTimer m_tocScan;  // bookmarks still to read
};

} // namespace Orv
