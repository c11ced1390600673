// The viewer control: pages streaming in from a real report run, find,
// printing to PDF, copy page, painting and keyboard and wheel input.

#include "viewerpages.h"

#include "../../run/runfixture.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/run/runpagesource.h"
#include "engine/widgets/viewer/pageview.h"
#include "engine/widgets/viewer/tocmodel.h"
#include "engine/widgets/viewer/viewer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <poppler-qt6.h>

using namespace Orv;

namespace {

QStringList pdfPageTexts(const QString &path)
{
    QStringList texts;
    const std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(path);
    for (int i = 0; doc && i < doc->numPages(); ++i)
        texts << std::unique_ptr<Poppler::Page>(doc->page(i))->text(QRectF()).simplified();
    return texts;
}

// The first word of each page text ("Page 3 Row ..." gives 3).
QList<int> pageNumbers(const QStringList &texts)
{
    QList<int> numbers;
    for (const QString &t : texts)
        numbers << t.section(QLatin1Char(' '), 1, 1).toInt();
    return numbers;
}

int inkPixels(const QImage &image, const QRect &area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++ink;
    return ink;
}

} // namespace

class TestViewerWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pagesArriveWhileTheReportRuns()
    {
        Report report;
        QVERIFY(LoadLayout(report, QStringLiteral(ORV_SOURCE_DIR "/examples/invoice.rpx")).ok());
        ReportRun run(&report);
        run.setReportFolder(QStringLiteral(ORV_SOURCE_DIR "/examples"));
        run.setConnectionString(RunTest::connection());
        Viewer viewer;
        viewer.resize(800, 600);
        viewer.setReportSource(new RunPageSource(&run));
        QCOMPARE(viewer.Pages(), run.Pages());
        int seenWhileRunning = 0;
        connect(&viewer, &Viewer::pageCountChanged, this, [&](int count) {
            if (run.isRunning())
                seenWhileRunning = qMax(seenWhileRunning, count);
        });
        QVERIFY(run.Run(true).ok());
        QTRY_VERIFY(seenWhileRunning >= 3);
        QVERIFY(run.isRunning());
        QVERIFY(viewer.setCanvas(2).ok());
        QCOMPARE(viewer.canvas(), 2);
        run.Cancel();
        QTRY_VERIFY(!run.isRunning());
        viewer.syncPages();
        QCOMPARE(viewer.navigator().pageCount(), run.Pages()->Count());
        QCOMPARE(viewer.canvas(), 2);
        QVERIFY(viewer.Back());
        QCOMPARE(viewer.canvas(), 0);

        // Detached, the viewer shows its own (empty) collection.
        viewer.setReportSource(nullptr);
        QVERIFY(viewer.Pages() != run.Pages());
        QCOMPARE(viewer.Pages()->Count(), 0);
        QCOMPARE(viewer.navigator().pageCount(), 0);
        QVERIFY(!viewer.CanGoBack());
        QVERIFY(run.Pages()->Count() > 2); // the run keeps its pages

        // A run that goes away detaches itself.
        {
            Report small;
            QVERIFY(LoadLayout(small, QStringLiteral(ORV_SOURCE_DIR "/examples/invoice.rpx")).ok());
            auto other = std::make_unique<ReportRun>(&small);
            other->setConnectionString(RunTest::connection());
            viewer.setReportSource(new RunPageSource(other.get()));
            other->step();
            other->step();
            other.reset();
            QCOMPARE(viewer.reportSource(), nullptr);
            QCOMPARE(viewer.Pages()->Count(), 0);
        }
    }

    void findHighlightsAndGoesOn()
    {
        Viewer viewer;
        viewer.resize(800, 600);
        ViewerPages::fill(*viewer.Pages(), 500, [](int n) {
            return n == 40 || n == 41 || n == 460 ? QStringLiteral("the Tesserane order") : QString();
        });
        viewer.syncPages();
        QSignalSpy finished(&viewer, &Viewer::findFinished);
        const std::pair<int, int> outside[] = {{3, 1}, {0, 1}, {2, 2}, {1, -1}}; // direction, scope
        for (const auto &[direction, scope] : outside)
            QCOMPARE(viewer.Find(direction, QStringLiteral("x"), scope, false, false).number(), int(ErrInvalidCall));
        QCOMPARE(viewer.Find(2, QString(), 1, false, false).number(), int(ErrInvalidCall));
        const auto find = [&](const QString &text) {
            finished.clear();
            [&] { QVERIFY(viewer.Find(2, text, 1, false, false).ok()); }();
            if (finished.isEmpty())
                finished.wait(5000);
            return finished.count() == 1 && finished.at(0).at(0).toBool();
        };
        QVERIFY(find(QStringLiteral("tesserane")));
        QCOMPARE(viewer.canvas(), 40);
        QCOMPARE(viewer.findMatch().page, 40);
        QVERIFY(find(QStringLiteral("tesserane")));
        QCOMPARE(viewer.canvas(), 41);
        QVERIFY(find(QStringLiteral("tesserane")));
        QCOMPARE(viewer.canvas(), 460);
        QVERIFY(find(QStringLiteral("tesserane")));
        QCOMPARE(viewer.canvas(), 40);
        QVERIFY(finished.at(0).at(1).toBool()); // went round
        // Moving elsewhere: the next search starts from there.
        QVERIFY(viewer.setCanvas(100).ok());
        QVERIFY(find(QStringLiteral("tesserane")));
        QCOMPARE(viewer.canvas(), 460);
        QVERIFY(viewer.Back());
        QCOMPARE(viewer.canvas(), 100);

        QVERIFY(!find(QStringLiteral("nowhere to be seen")));
        QCOMPARE(viewer.canvas(), 100);
        QVERIFY(!viewer.findMatch().valid());
    }

    void printsPagesToPdf()
    {
        Viewer viewer;
        QCOMPARE(viewer.PrintReport(false).number(), int(ErrInvalidCall)); // no pages
        ViewerPages::fill(*viewer.Pages(), 5);
        Page wide = ViewerPages::page(5);
        wide.size = QSizeF(15840, 12240);
        viewer.Pages()->append(wide);
        QTemporaryDir dir;
        const auto print = [&](int from, int to, int copies, bool collate) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            const QString path = dir.filePath(QStringLiteral("out-%1-%2-%3-%4.pdf").arg(from).arg(to).arg(copies).arg(collate));
            printer.setOutputFileName(path);
            if (from > 0) {
                printer.setPrintRange(QPrinter::PageRange);
                printer.setFromTo(from, to);
            }
            printer.setCopyCount(copies);
            printer.setCollateCopies(collate);
            const Status status = viewer.print(printer, false);
            return status.ok() ? path : status.description();
        };
        QCOMPARE(pageNumbers(pdfPageTexts(print(2, 4, 2, true))), QList<int>({2, 3, 4, 2, 3, 4}));
        QCOMPARE(pageNumbers(pdfPageTexts(print(2, 3, 2, false))), QList<int>({2, 2, 3, 3}));
        const QString all = print(0, 0, 1, true);
        QCOMPARE(pageNumbers(pdfPageTexts(all)), QList<int>({1, 2, 3, 4, 5, 6}));
        QVERIFY(pdfPageTexts(all).at(0).contains(QLatin1String("Row 0.4")));
        // Letter paper from the first page; the wide page is turned to fit it.
        const std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(all);
        QCOMPARE(std::unique_ptr<Poppler::Page>(doc->page(0))->pageSizeF().toSize(), QSize(612, 792));
        QCOMPARE(std::unique_ptr<Poppler::Page>(doc->page(5))->text(QRectF()).simplified().left(6),
                 QStringLiteral("Page 6"));
    }

    void copiesAPageImage()
    {
        Viewer viewer;
        ViewerPages::fill(*viewer.Pages(), 2);
        QCOMPARE(viewer.CopyPage(2).number(), int(ErrSubscript));
        QVERIFY(viewer.CopyPage(1).ok());
        const QImage image = QGuiApplication::clipboard()->image();
        QCOMPARE(image.size(), QSize(816, 1056)); // 8.5 x 11 inches at 96 dpi
        QVERIFY(inkPixels(image, QRect(96, 96, 200, 30)) > 20); // "Page 2"
        QCOMPARE(inkPixels(image, QRect(400, 600, 300, 300)), 0);
    }

    void paintsWhatIsVisibleAndFollowsInput()
    {
        // 2,000 pages from an archive: only those in view are rendered.
        QTemporaryDir dir;
        const QString archive = dir.filePath(QStringLiteral("long.rdf"));
        {
            PageCollection pages;
            ViewerPages::fill(pages, 2000);
            QVERIFY(pages.Save(archive).ok());
        }
        Viewer viewer;
        viewer.resize(900, 700);
        QSignalSpy counted(&viewer, &Viewer::pageCountChanged);
        QVERIFY(viewer.Load(archive).ok());
        QCOMPARE(viewer.navigator().pageCount(), 2000);
        QCOMPARE(viewer.Load(dir.filePath(QStringLiteral("missing.rdf"))).number(), int(ErrFileNotFound));
        QVERIFY(viewer.Load(archive).ok());
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        PageView *view = viewer.pageView();
        QTRY_VERIFY(view->lastPaintComplete() && view->rendersPending() == 0);
        QVERIFY(view->cache().count() <= 5); // the page in view and a few ahead
        const QImage shot = view->viewport()->grab().toImage();
        const QRect page = viewer.navigator().pageRect(0, QSizeF(12240, 15840));
        QVERIFY(inkPixels(shot, QRect(page.left() + 96, page.top() + 96, 150, 25)) > 20);

        const auto key = [&](int k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(view, Qt::Key(k), mods); };
        key(Qt::Key_PageDown);
        QCOMPARE(viewer.canvas(), 1);
        key(Qt::Key_End);
        QCOMPARE(viewer.canvas(), 1999);
        key(Qt::Key_Home);
        QCOMPARE(viewer.canvas(), 0);
        QVERIFY(viewer.Back());
        QCOMPARE(viewer.canvas(), 1999);
        key(Qt::Key_Home);

        QSignalSpy zoomed(&viewer, &Viewer::zoomChanged);
        const QPointF at(200, 200);
        QWheelEvent up(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &up);
        QCOMPARE(viewer.zoom(), 125);
        QCOMPARE(zoomed.count(), 1);
        QWheelEvent down(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120 * 40), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &down);
        QVERIFY(viewer.canvas() >= 2);

        // Multi-page: zoom keys do nothing, a click picks a page.
        QSignalSpy mode(&viewer, &Viewer::viewModeChanged);
        QVERIFY(viewer.MultiPage(2, 2, 3).ok());
        QCOMPARE(mode.count(), 1);
        key(Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(viewer.zoom(), 125);
        const int first = viewer.navigator().visiblePages().first;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, viewer.navigator().cellRect(first + 3).center());
        QCOMPARE(viewer.canvas(), first + 3);

        // The table of contents lists pages when there are no bookmarks.
        viewer.setTocVisible(true);
        QTRY_VERIFY(viewer.tocModel()->scanned());
        QCOMPARE(viewer.tocModel()->rowCount(), 2000);
        QVERIFY(counted.count() >= 1);
    }
};

QTEST_MAIN(TestViewerWidget)
#include "tst_viewerwidget.moc"
