// The viewer's logic without its widget: zoom and fit modes, navigation
// and history, page layouts, find over many pages, the table of contents,
// the page-image cache.

#include "viewerpages.h"

#include "engine/widgets/viewer/pagefinder.h"
#include "engine/widgets/viewer/pageimagecache.h"
#include "engine/widgets/viewer/tocmodel.h"
#include "engine/widgets/viewer/viewernavigator.h"

#include <QSignalSpy>
#include <QTest>

using namespace Orv;

namespace {

constexpr int M = ViewerNavigator::Margin;

// A navigator over count letter pages in a 1000 x 700 window.
void setUp(ViewerNavigator &nav, int count)
{
    nav.setViewportSize(QSize(1000, 700));
    nav.setCellSize(QSizeF(12240, 15840));
    nav.setPageCount(count);
}

QList<int> pagesFound(PageCollection &pages, FindRequest request, int startPage, int times, QList<bool> *wrapped = nullptr)
{
    PageFinder finder;
    QList<int> found;
    FindMatch match;
    int page = startPage;
    for (int i = 0; i < times; ++i) {
        finder.start(&pages, request, page, match);
        match = finder.run();
        found << match.page;
        if (wrapped)
            *wrapped << finder.wrapped();
        if (match.valid())
            page = match.page;
    }
    return found;
}

// Whole pages at 96 dpi through a cache, the way the page view uses it:
// a miss renders the page and offers the image.
struct CachedPages
{
    PageCollection pages;
    PageImageCache cache;
    double scale = 1.0 / 15;
    int renders = 0;

    TileKey key(int page) const { return {page, PageImageCache::scaleKey(scale), -1}; }
    QImage get(int page)
    {
        if (const QImage *image = cache.find(key(page)))
            return *image;
        ++renders;
        const QImage image = renderPage(*pages.page(page), &pages, scale);
        cache.insert(key(page), image);
        return image;
    }
};

} // namespace

class TestViewerLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void zoomStepsAndLimits()
    {
        QCOMPARE(ViewerNavigator::zoomedIn(110), 125);
        QCOMPARE(ViewerNavigator::zoomedOut(110), 75);
        QCOMPARE(ViewerNavigator::zoomedOut(25), 25);
        QCOMPARE(ViewerNavigator::zoomedOut(50), 25);
        QCOMPARE(ViewerNavigator::zoomedIn(800), 800);
        QCOMPARE(ViewerNavigator::zoomedIn(790), 800);
        QCOMPARE(ViewerNavigator::zoomedIn(ViewerNavigator::PageWidth), 100);
        QCOMPARE(ViewerNavigator::zoomedOut(ViewerNavigator::WholePage), 100);

        ViewerNavigator nav;
        setUp(nav, 3);
        QSignalSpy changed(&nav, &ViewerNavigator::zoomChanged);
        for (int bad : {24, 801, 0, -3}) {
            const Status s = nav.setZoom(bad);
            QCOMPARE(s.number(), int(ErrInvalidPropertyValue));
        }
        QCOMPARE(nav.zoom(), 100);
        QVERIFY(nav.setZoom(200).ok());
        QVERIFY(nav.setZoom(200).ok());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 200);
        QCOMPARE(nav.scale(), 2.0 / 15);
        QCOMPARE(nav.effectiveZoom(), 200.0);
    }

    void fitModesFollowTheWindow()
    {
        ViewerNavigator nav;
        setUp(nav, 3);
        QVERIFY(nav.setZoom(ViewerNavigator::PageWidth).ok());
        QCOMPARE(nav.scale(), (1000.0 - 2 * M) / 12240);
        QSignalSpy changed(&nav, &ViewerNavigator::zoomChanged);
        nav.setViewportSize(QSize(1500, 700));
        QCOMPARE(nav.scale(), (1500.0 - 2 * M) / 12240);
        QCOMPARE(nav.maxScrollX(), 0); // no sideways scrolling at page width

        QVERIFY(nav.setZoom(ViewerNavigator::WholePage).ok());
        QCOMPARE(nav.scale(), (700.0 - 2 * M) / 15840);
        QVERIFY(nav.cellRect(0).height() <= 700 - 2 * M + 1);
        nav.setViewportSize(QSize(500, 900)); // now the width limits
        QCOMPARE(nav.scale(), (500.0 - 2 * M) / 12240);
        QCOMPARE(nav.zoom(), int(ViewerNavigator::WholePage));
        QCOMPARE(changed.count(), 1); // resizing is not a zoom change

        QVERIFY(nav.setZoom(100).ok());
        nav.setViewportSize(QSize(1200, 800));
        QCOMPARE(nav.scale(), 1.0 / 15);
    }

    void zoomKeepsThePageInView()
    {
        ViewerNavigator nav;
        setUp(nav, 10);
        QVERIFY(nav.goTo(6).ok());
        QSignalSpy moved(&nav, &ViewerNavigator::pageChanged);
        QVERIFY(nav.setZoom(400).ok());
        QVERIFY(nav.setZoom(25).ok());
        QCOMPARE(nav.current(), 6);
        QVERIFY(nav.cellRect(6).top() <= M + 1 && nav.cellRect(6).bottom() > 0);
        QCOMPARE(moved.count(), 0);
    }

    void canvasAndHistory()
    {
        ViewerNavigator nav;
        setUp(nav, 10);
        QSignalSpy changed(&nav, &ViewerNavigator::pageChanged);
        QVERIFY(!nav.canGoBack());
        QVERIFY(nav.goTo(3).ok());
        QCOMPARE(nav.cellRect(3).top(), M); // the page's top at the top
        QVERIFY(nav.goTo(7).ok());
        QVERIFY(nav.back());
        QCOMPARE(nav.current(), 3);
        QVERIFY(nav.back());
        QCOMPARE(nav.current(), 0);
        QVERIFY(!nav.canGoBack() && !nav.back());
        QVERIFY(nav.forward());
        QCOMPARE(nav.current(), 3);
        QVERIFY(nav.canGoForward());
        QVERIFY(nav.goTo(5).ok()); // a new visit drops what lay ahead
        QVERIFY(!nav.canGoForward());
        QVERIFY(nav.back());
        QCOMPARE(nav.current(), 3);
        QCOMPARE(changed.count(), 7);

        for (int bad : {10, -1}) {
            QCOMPARE(nav.goTo(bad).number(), int(ErrSubscript));
            QCOMPARE(nav.current(), 3);
        }
        // Next on the last page and previous on the first do nothing.
        QVERIFY(nav.goTo(9).ok());
        nav.pageDown();
        QCOMPARE(nav.current(), 9);
        QVERIFY(nav.goTo(0).ok());
        nav.pageUp();
        QCOMPARE(nav.current(), 0);
        nav.pageDown();
        QCOMPARE(nav.current(), 1);

        // Scrolling moves the current page along without history.
        const bool couldGoBack = nav.canGoBack();
        const qint64 pitch = nav.cellRect(1).top() - nav.cellRect(0).top();
        nav.scrollTo(0, 4 * pitch + 10);
        QCOMPARE(nav.current(), 4);
        QCOMPARE(nav.visiblePages(), std::make_pair(4, 4));
        nav.scrollTo(0, nav.contentHeight() * 2);
        QCOMPARE(nav.scrollY(), nav.maxScrollY());
        QCOMPARE(nav.current(), 9);
        QCOMPARE(nav.canGoBack(), couldGoBack);

        nav.setPageCount(0);
        QVERIFY(!nav.canGoBack());
        QCOMPARE(nav.current(), 0);
        QCOMPARE(nav.goTo(0).number(), int(ErrSubscript));
    }

    void onePageAndGridLayouts()
    {
        ViewerNavigator nav;
        setUp(nav, 10);
        QSignalSpy mode(&nav, &ViewerNavigator::viewModeChanged);
        QCOMPARE(nav.setSinglePage(3).number(), int(ErrInvalidCall));
        QCOMPARE(nav.setGrid(0, 2, 3).number(), int(ErrInvalidCall));
        QCOMPARE(nav.setGrid(2, 2, 51).number(), int(ErrInvalidCall));
        QCOMPARE(mode.count(), 0);

        // One page at a time: scrolling on past its bottom turns the page.
        QVERIFY(nav.setSinglePage(1).ok());
        QVERIFY(nav.goTo(2).ok());
        QCOMPARE(nav.visiblePages(), std::make_pair(2, 2));
        nav.scrollBy(0, 5000, true);
        QCOMPARE(nav.current(), 2);
        QCOMPARE(nav.scrollY(), nav.maxScrollY());
        nav.scrollBy(0, 40, true);
        QCOMPARE(nav.current(), 3);
        QCOMPARE(nav.scrollY(), 0);
        nav.scrollBy(0, -40, true);
        QCOMPARE(nav.current(), 2);
        QCOMPARE(nav.scrollY(), nav.maxScrollY());
        QCOMPARE(mode.count(), 0);

        // A 2 x 2 grid fits the window; PgDn moves a whole grid on.
        QVERIFY(nav.goTo(0).ok());
        QVERIFY(nav.setGrid(2, 2, 3).ok());
        QVERIFY(nav.setGrid(2, 2, 3).ok());
        QCOMPARE(mode.count(), 1);
        QCOMPARE(mode.at(0).at(0).toBool(), true);
        const QRect window(0, 0, 1000, 700);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(window.contains(nav.cellRect(i)), qPrintable(QString::number(i)));
        QCOMPARE(nav.cellRect(1).top(), nav.cellRect(0).top());
        QCOMPARE(nav.cellRect(1).left() - nav.cellRect(0).right() - 1, 11); // 3 mm
        QCOMPARE(nav.cellRect(2).left(), nav.cellRect(0).left());
        QCOMPARE(nav.pageAt(nav.cellRect(3).center()), 3);
        nav.pageDown();
        QCOMPARE(nav.current(), 4);
        QVERIFY(nav.goTo(8).ok());
        nav.pageDown();
        QCOMPARE(nav.current(), 9);

        // Back to the single layout last chosen.
        QCOMPARE(nav.singlePageMode(), 1);
        QVERIFY(nav.setSinglePage(2).ok());
        QCOMPARE(mode.count(), 2);
        QCOMPARE(mode.at(1).at(0).toBool(), false);
        QCOMPARE(nav.current(), 9);
    }

    void findOverManyPages()
    {
        PageCollection pages;
        ViewerPages::fill(pages, 500, [](int n) {
            switch (n) {
            case 10: return QStringLiteral("a needle in the hay");
            case 20: return QStringLiteral("needle and needle");
            case 300: return QStringLiteral("needles everywhere");
            case 400: return QStringLiteral("NEEDLE upper");
            case 499: return QStringLiteral("last needle");
            default: return QString();
            }
        });
        FindRequest request;
        request.text = QStringLiteral("needle");
        QList<bool> wrapped;
        QCOMPARE(pagesFound(pages, request, 0, 8, &wrapped), QList<int>({10, 20, 20, 300, 400, 499, 10, 20}));
        QCOMPARE(wrapped, QList<bool>({false, false, false, false, false, false, true, false}));

        request.wholeWord = true;
        QCOMPARE(pagesFound(pages, request, 0, 5), QList<int>({10, 20, 20, 400, 499}));
        request.wholeWord = false;
        request.matchCase = true;
        QCOMPARE(pagesFound(pages, request, 250, 3), QList<int>({300, 499, 10}));
        request.matchCase = false;
        request.forward = false;
        wrapped.clear();
        QCOMPARE(pagesFound(pages, request, 0, 3, &wrapped), QList<int>({499, 400, 300}));
        QCOMPARE(wrapped.first(), true);

        // Not found: the whole document, once.
        PageFinder finder;
        request.forward = true;
        request.text = QStringLiteral("haystack");
        finder.start(&pages, request, 123);
        QVERIFY(!finder.run().valid());
        QCOMPARE(finder.pagesSearched(), 500);

        // The current page only.
        request.text = QStringLiteral("needle");
        request.wholeDocument = false;
        finder.start(&pages, request, 5);
        QVERIFY(!finder.run().valid());
        finder.start(&pages, request, 20);
        const FindMatch first = finder.run();
        finder.start(&pages, request, 20, first);
        const FindMatch second = finder.run();
        finder.start(&pages, request, 20, second);
        QCOMPARE(finder.run(), first); // round the page again

        // Slices: a far match takes several steps, one page at least each.
        request.wholeDocument = true;
        finder.start(&pages, request, 30);
        QVERIFY(!finder.step(0));
        QCOMPARE(finder.pagesSearched(), 1);
        QVERIFY(finder.isSearching());
        QCOMPARE(finder.run().page, 300);

        // The marks cover the word, not its whole box.
        const auto page20 = pages.page(20);
        const QList<QRectF> a = PageFinder::matchRects(*page20, first);
        const QList<QRectF> b = PageFinder::matchRects(*page20, second);
        QCOMPARE(a.size(), 1);
        QCOMPARE(b.size(), 1);
        const QRectF box = std::get<TextOp>(page20->ops[size_t(first.op)]).rect;
        QVERIFY(box.contains(a[0]) && box.contains(b[0]));
        QVERIFY(a[0].width() > 200 && a[0].width() < box.width() / 4);
        QVERIFY(b[0].left() > a[0].right());
    }

    void pageImageCacheKeepsToItsBudget_data()
    {
        QTest::addColumn<double>("pagesInBudget"); // the budget in page images
        QTest::addColumn<int>("pinFirst");
        QTest::addColumn<int>("pinLast");
        QTest::addColumn<bool>("pinAtShownScale");
        QTest::newRow("four pages, nothing pinned") << 4.5 << 0 << -1 << true;
        QTest::newRow("the first pages pinned") << 4.5 << 0 << 2 << true;
        QTest::newRow("pinned at another zoom") << 4.5 << 0 << 2 << false;
        QTest::newRow("budget under one page") << 0.5 << 0 << -1 << true;
    }

    void pageImageCacheKeepsToItsBudget()
    {
        QFETCH(double, pagesInBudget);
        QFETCH(int, pinFirst);
        QFETCH(int, pinLast);
        QFETCH(bool, pinAtShownScale);
        CachedPages c;
        ViewerPages::fill(c.pages, 40);
        const qint64 pageBytes = PageImageCache::cost(renderPage(*c.pages.page(0), nullptr, c.scale));
        QCOMPARE(pageBytes, qint64(816) * 1056 * 4);
        const qint64 budget = qint64(pagesInBudget * pageBytes);
        c.cache.setBudget(budget);
        const qint64 pinScale = PageImageCache::scaleKey(pinAtShownScale ? c.scale : c.scale * 2);
        c.cache.setPinned(pinFirst, pinLast, pinScale);
        const bool pinning = pinAtShownScale && pinLast >= pinFirst;
        // The pinned pages are the least recently used from here on.
        for (int page = 0; page < 40; ++page) {
            c.get(page);
            QVERIFY2(c.cache.bytes() <= budget, qPrintable(QString::number(page)));
            // (Looked at without making them recent.)
            for (int pinned = pinFirst; pinning && pinned <= qMin(page, pinLast); ++pinned)
                QVERIFY(c.cache.anyWholePage(pinned));
        }
        QCOMPARE(c.renders, 40);
        QVERIFY(c.cache.peakBytes() <= budget);
        QCOMPARE(c.cache.count(), int(c.cache.bytes() / pageBytes));
        QCOMPARE(c.cache.count(), budget < pageBytes ? 0 : int(pagesInBudget));

        // A page let go is made again when asked for, the same as before;
        // one still held is not.
        const QImage again = c.get(10);
        QCOMPARE(c.renders, 41);
        QCOMPARE(again, renderPage(*c.pages.page(10), nullptr, c.scale));
        QVERIFY(c.cache.bytes() <= budget);
        c.get(10);
        QCOMPARE(c.renders, budget < pageBytes ? 42 : 41);
        c.get(0);
        QCOMPARE(c.renders, (budget < pageBytes ? 43 : 42) - (pinning ? 1 : 0));

        // Images being made count too: making room drops an older one.
        if (budget >= pageBytes) {
            const int held = c.cache.count();
            c.cache.reserve(pageBytes);
            QVERIFY(c.cache.bytes() + c.cache.reserved() <= budget);
            QCOMPARE(c.cache.count(), held - 1);
            c.cache.release(pageBytes);
            QCOMPARE(c.cache.reserved(), 0);
        }

        // A page made again loses its images.
        c.cache.setPinned(0, -1, 0);
        c.cache.removePage(10);
        QVERIFY(!c.cache.find(c.key(10)));
        c.cache.setBudget(0);
        QCOMPARE(c.cache.bytes(), 0);
        QCOMPARE(c.cache.count(), 0);
    }

    // Of a tiled page only the tiles listed stay, not all its tiles.
    void pageImageCachePinsTilesOneByOne()
    {
        const qint64 scale = PageImageCache::scaleKey(0.5);
        QImage tile(PageImageCache::TileSize, PageImageCache::TileSize, QImage::Format_RGB32);
        tile.fill(Qt::white);
        const qint64 tileBytes = PageImageCache::cost(tile);
        PageImageCache cache(3 * tileBytes);
        cache.setPinned(0, 0, scale, {TileKey{0, scale, 1}});
        for (int t = 0; t < 8; ++t) {
            QVERIFY(cache.insert(TileKey{0, scale, t}, tile));
            QVERIFY(cache.bytes() <= cache.budget());
        }
        QCOMPARE(cache.count(), 3);
        QVERIFY(cache.find(TileKey{0, scale, 1}));
        QVERIFY(cache.find(TileKey{0, scale, 7}));
        QVERIFY(!cache.find(TileKey{0, scale, 2}));
    }

    void tableOfContents()
    {
        PageCollection pages;
        const auto mark = [](Page &p, int level, const char *text, double top) {
            p.bookmarks.push_back({level, QString::fromLatin1(text), top});
        };
        Page p0 = ViewerPages::page(0), p1 = ViewerPages::page(1), p2 = ViewerPages::page(2);
        mark(p0, 0, "Austria", 0);
        mark(p0, 1, "Graz", 600);
        mark(p1, 1, "Salzburg", 300);
        mark(p2, 2, "Mozartplatz", 100); // deeper than the last level: nests under it
        mark(p2, 0, "Belgium", 900);
        pages.append(p0);
        pages.append(p1);
        pages.append(p2);
        pages.append(ViewerPages::page(3));

        TocModel toc;
        toc.setPages(&pages);
        QCOMPARE(toc.rowCount(), 4); // pages, until bookmarks are read
        QCOMPARE(toc.data(toc.index(3, 0)).toString(), QStringLiteral("第 4 页"));
        QVERIFY(toc.scan(1000));
        QVERIFY(toc.hasBookmarks());
        QCOMPARE(toc.rowCount(), 2);
        const QModelIndex austria = toc.index(0, 0);
        QCOMPARE(toc.rowCount(austria), 2);
        const QModelIndex salzburg = toc.index(1, 0, austria);
        QCOMPARE(toc.data(salzburg).toString(), QStringLiteral("Salzburg"));
        QCOMPARE(toc.pageOf(salzburg), 1);
        QCOMPARE(toc.topOf(salzburg), 300.0);
        QCOMPARE(toc.data(toc.index(0, 0, salzburg)).toString(), QStringLiteral("Mozartplatz"));
        QCOMPARE(toc.parent(salzburg), austria);
        QCOMPARE(toc.entryFor(1), salzburg);
        QCOMPARE(toc.data(toc.entryFor(3)).toString(), QStringLiteral("Belgium"));

        // Without bookmarks: a page list that grows with the document.
        PageCollection plain;
        ViewerPages::fill(plain, 30);
        toc.setPages(&plain);
        QVERIFY(toc.scan(1000));
        QVERIFY(!toc.hasBookmarks());
        QCOMPARE(toc.rowCount(), 30);
        plain.append(ViewerPages::page(30));
        toc.setPageCount(plain.Count());
        QCOMPARE(toc.rowCount(), 31);
        QCOMPARE(toc.pageOf(toc.entryFor(30)), 30);
    }
};

QTEST_MAIN(TestViewerLogic)
#include "tst_viewerlogic.moc"
