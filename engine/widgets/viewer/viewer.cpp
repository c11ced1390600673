#include "engine/widgets/viewer/viewer.h"

#include "engine/core/units.h"
#include "engine/widgets/viewer/pageimagecache.h"
#include "engine/widgets/viewer/pageview.h"
#include "engine/widgets/viewer/tocmodel.h"
#include "engine/widgets/viewer/viewerprint.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPrinter>
#include <QProgressDialog>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace Orv {

namespace {

constexpr int FindSliceMs = 10;
constexpr int TocSliceMs = 8;

} // namespace

Viewer::Viewer(QWidget *parent)
    : QWidget(parent), m_splitter(new QSplitter(Qt::Horizontal, this)), m_tocView(new QTreeView),
      m_toc(new TocModel(this)), m_view(new PageView(&m_nav))
{
    m_tocView->setModel(m_toc);
    m_tocView->setHeaderHidden(true);
    m_tocView->setUniformRowHeights(true);
    m_tocView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tocView->hide();
    m_splitter->addWidget(m_tocView);
    m_splitter->addWidget(m_view);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setCollapsible(1, false);
    m_splitter->setSizes({200, 600});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    setFocusProxy(m_view);

    connect(&m_nav, &ViewerNavigator::pageChanged, this, &Viewer::pageChanged);
    connect(&m_nav, &ViewerNavigator::pageChanged, this, &Viewer::syncTocSelection);
    connect(&m_nav, &ViewerNavigator::zoomChanged, this, &Viewer::zoomChanged);
    connect(&m_nav, &ViewerNavigator::viewModeChanged, this, &Viewer::viewModeChanged);
    connect(&m_nav, &ViewerNavigator::historyChanged, this, &Viewer::historyChanged);
    // In a grid a click makes a page current; a double click opens it.
    connect(m_view, &PageView::pageClicked, this, [this](int page) {
        if (m_nav.isMultiPage())
            std::ignore = m_nav.goTo(page); // a page that was clicked exists
    });
    connect(m_view, &PageView::pageDoubleClicked, this, [this](int page) {
        if (!m_nav.isMultiPage())
            return;
        std::ignore = m_nav.goTo(page); // a page that was clicked exists
        std::ignore = m_nav.setSinglePage(m_nav.singlePageMode()); // the current mode
    });
    connect(m_view, &PageView::escapePressed, this, &Viewer::CancelFind);
    connect(m_tocView, &QTreeView::activated, this, &Viewer::tocActivated);
    connect(m_tocView, &QTreeView::clicked, this, &Viewer::tocActivated);

    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &Viewer::syncPages);
    m_findStep.setInterval(0);
    connect(&m_findStep, &QTimer::timeout, this, [this] {
        if (m_finder.step(FindSliceMs))
            m_findStep.stop();
    });
    connect(&m_finder, &PageFinder::finished, this, &Viewer::onFindFinished);
    m_tocScan.setInterval(0);
    connect(&m_tocScan, &QTimer::timeout, this, &Viewer::scanToc);

    attach(&m_ownSource);
}

Viewer::~Viewer()
{
    for (const QMetaObject::Connection &c : std::as_const(m_pageConnections))
        disconnect(c);
    disconnect(m_sourceGone);
    // The page area and the tree go first: they use the navigator and the
    // table of contents, which are members.
    delete m_splitter;
}

// ---- pages -------------------------------------------------------------------

void Viewer::setReportSource(PageSource *source)
{
    if (source == m_source && (source || m_shown == &m_ownSource))
        return;
    disconnect(m_sourceGone);
    m_source = source;
    if (source) {
        m_sourceGone = connect(source, &QObject::destroyed, this, [this] {
            m_source = nullptr;
            attach(&m_ownSource);
        });
        attach(source);
    } else {
        attach(&m_ownSource);
    }
}

Status Viewer::Load(const QString &path)
{
    setReportSource(nullptr);
    const Status status = m_own.Load(path);
    syncPages();
    return status;
}

void Viewer::attach(PageSource *source)
{
    for (const QMetaObject::Connection &c : std::as_const(m_pageConnections))
        disconnect(c);
    m_pageConnections.clear();
    CancelFind();
    m_shown = source;
    m_pages = source ? source->pages() : nullptr;
    const auto reset = [this] {
        CancelFind();
        m_match = FindMatch();
        m_nav.reset();
        m_pages = m_shown ? m_shown->pages() : nullptr;
        m_view->setPages(m_pages);
        m_toc->setPages(m_pages);
        Q_EMIT pageCountChanged(0);
    };
    if (source) {
        // Pages come one signal each (10,000 at once from an archive):
        // they are taken in together on the next event loop pass.
        m_pageConnections << connect(source, &PageSource::pagesAdded, this, [this] {
            if (!m_pending.isActive())
                m_pending.start();
        });
        // A page made again (a value on it became known): drawn anew.
        m_pageConnections << connect(source, &PageSource::pagesChanged, this,
                                     [this](int first, int last) { m_view->pagesChanged(first, last); });
        m_pageConnections << connect(source, &PageSource::reset, this, reset);
    }
    reset();
    syncPages();
}

void Viewer::syncPages()
{
    m_pending.stop();
    const int count = m_shown ? m_shown->count() : 0;
    if (count == m_nav.pageCount())
        return;
    // The first page sets the size pages are laid out at.
    if (m_nav.pageCount() == 0 && count > 0)
        if (const std::shared_ptr<const Page> first = m_shown->page(0))
            m_nav.setCellSize(first->size);
    m_nav.setPageCount(count);
    m_toc->setPageCount(count);
    if (m_tocVisible && !m_tocScan.isActive())
        m_tocScan.start();
    Q_EMIT pageCountChanged(count);
}

// ---- view ----------------------------------------------------------------------

Status Viewer::setZoom(int zoom)
{
    return m_nav.setZoom(zoom);
}

bool Viewer::rulerVisible() const
{
    return m_view->rulerVisible();
}

void Viewer::setRulerVisible(bool visible)
{
    m_view->setRulerVisible(visible);
}

void Viewer::setTocVisible(bool visible)
{
    if (visible == m_tocVisible)
        return;
    m_tocVisible = visible;
    m_tocView->setVisible(visible);
    if (visible) {
        m_tocScan.start();
        syncTocSelection();
    } else {
        m_tocScan.stop();
    }
}

void Viewer::scanToc()
{
    const bool done = !m_tocVisible || m_toc->scan(TocSliceMs);
    if (done)
        m_tocScan.stop();
    syncTocSelection();
}

void Viewer::syncTocSelection()
{
    if (!m_tocVisible)
        return;
    const QModelIndex entry = m_toc->entryFor(m_nav.current());
    if (entry.isValid() && entry != m_tocView->currentIndex()) {
        m_tocView->setCurrentIndex(entry);
        m_tocView->scrollTo(entry);
    }
}

void Viewer::tocActivated(const QModelIndex &index)
{
    const int page = m_toc->pageOf(index);
    if (page < 0)
        return;
    syncPages();
    const double top = m_toc->topOf(index);
    std::ignore = m_nav.goTo(page, top); // an entry past the pages made so far leaves the view where it is
}

Status Viewer::setCanvas(int index)
{
    syncPages();
    return m_nav.goTo(index);
}

bool Viewer::Back()
{
    syncPages();
    return m_nav.back();
}

bool Viewer::Forward()
{
    syncPages();
    return m_nav.forward();
}

Status Viewer::SinglePage(int mode)
{
    return m_nav.setSinglePage(mode);
}

Status Viewer::MultiPage(int rows, int columns, int gapMm)
{
    return m_nav.setGrid(rows, columns, gapMm);
}

// ---- find ----------------------------------------------------------------------

Status Viewer::Find(int direction, const QString &text, int scope, bool matchCase, bool wholeWord)
{
    if (direction != int(FindDirection::Back) && direction != int(FindDirection::Forward))
        return Status::failure(ErrInvalidCall,
                               QStringLiteral("Find takes direction 1 (back) or 2 (forward), not %1").arg(direction),
                               QStringLiteral("Viewer.Find"));
    if (scope != int(FindScope::ThisPage) && scope != int(FindScope::WholeDocument))
        return Status::failure(ErrInvalidCall,
                               QStringLiteral("Find takes scope 0 (this page) or 1 (whole document), not %1").arg(scope),
                               QStringLiteral("Viewer.Find"));
    return Find(FindDirection(direction), text, FindScope(scope), matchCase, wholeWord);
}

Status Viewer::Find(FindDirection direction, const QString &text, FindScope scope, bool matchCase, bool wholeWord)
{
    if (text.isEmpty())
        return Status::failure(ErrInvalidCall, QStringLiteral("Find needs a text to look for"), QStringLiteral("Viewer.Find"));
    syncPages();
    FindRequest request;
    request.text = text;
    request.forward = direction == FindDirection::Forward;
    request.wholeDocument = scope == FindScope::WholeDocument;
    request.matchCase = matchCase;
    request.wholeWord = wholeWord;
    if (m_finder.isSearching()) {
        // Pressing Find again while the same search runs changes nothing.
        if (request.sameSearch(m_finder.request()) && request.forward == m_finder.request().forward)
            return {};
        CancelFind();
    }
    // Find again on the page of the last match: the next one after it.
    const bool again = m_match.valid() && request.sameSearch(m_finder.request()) && m_match.page == canvas();
    if (!request.sameSearch(m_finder.request())) {
        m_match = FindMatch();
        m_view->setHighlight(-1, {});
    }
    m_finder.start(m_pages, request, canvas(), again ? m_match : FindMatch());
    // A match nearby shows at once; a long search goes on from the event loop.
    if (!m_finder.step(FindSliceMs))
        m_findStep.start();
    return {};
}

void Viewer::CancelFind()
{
    m_finder.cancel();
    m_findStep.stop();
}

void Viewer::onFindFinished(const FindMatch &match)
{
    m_findStep.stop();
    m_match = match;
    if (match.valid())
        showMatch(match);
    else
        m_view->setHighlight(-1, {});
    Q_EMIT findFinished(match.valid(), m_finder.wrapped());
}

void Viewer::showMatch(const FindMatch &match)
{
    const std::shared_ptr<const Page> page = m_pages ? m_pages->page(match.page) : nullptr;
    if (!page)
        return;
    const QList<QRectF> rects = PageFinder::matchRects(*page, match);
    QRectF area;
    for (const QRectF &r : rects)
        area = area.united(r);
    std::ignore = m_nav.goToArea(match.page, area); // the page of a match exists
    m_view->setHighlight(match.page, rects);
}

// ---- copy and print --------------------------------------------------------------

QImage Viewer::pageImage(const Page &page, const PageCollection *images)
{
    QImage image = renderPage(page, images, Units::ScreenDpi / Units::TwipsPerInch);
    // So that a document it is pasted into knows its size.
    const int dotsPerMeter = int(Units::ScreenDpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

Status Viewer::CopyPage(int index)
{
    syncPages();
    const int count = m_pages ? m_pages->Count() : 0;
    if (index < 0 || index >= count)
        return Status::failure(ErrSubscript,
                               QStringLiteral("Page index %1 is out of range (%2 pages)").arg(index).arg(count),
                               QStringLiteral("Viewer.CopyPage"));
    Status status;
    const std::shared_ptr<const Page> page = m_pages->page(index, &status);
    if (!page)
        return status;
    QGuiApplication::clipboard()->setImage(pageImage(*page, m_pages));
    return {};
}

Status Viewer::PrintReport(bool showDialog)
{
    QPrinter printer(QPrinter::HighResolution);
    return print(printer, showDialog);
}

Status Viewer::print(QPrinter &printer, bool showDialog)
{
    syncPages();
    const int count = m_pages ? m_pages->Count() : 0;
    if (count == 0)
        return Status::failure(ErrInvalidCall, QStringLiteral("There are no pages to print"),
                               QStringLiteral("Viewer.PrintReport"));
    if (showDialog) {
        if (const std::shared_ptr<const Page> page = m_pages->page(canvas()))
            setPaperFromPage(printer, *page);
        if (m_printDialog && !m_printDialog(printer, 1, count))
            return {};
    }
    const PrintSelection selection = selectionFromPrinter(printer, canvas(), count);
    if (!showDialog)
        if (const std::shared_ptr<const Page> page = m_pages->page(selection.from))
            setPaperFromPage(printer, *page);
    if (!showDialog)
        return printPages(*m_pages, printer, selection);
    QProgressDialog progress(tr("正在打印…"), tr("取消"), 0, 1, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    return printPages(*m_pages, printer, selection, [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        return !progress.wasCanceled();
    });
}

} // namespace Orv
