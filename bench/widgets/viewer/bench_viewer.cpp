// The viewer on a long document: a 10,000-page archive (60 texts and two
// rules a page) is opened in the viewer; prints the time to the first
// complete paint and per-frame times while scrolling through many pages
// (smoothly, by page jumps, by far jumps, zoomed, as a 2 x 2 grid) and
// peak memory beside the page-image cache's budget (goal: peak RSS under
// 150 MiB). A frame is a scroll step and a full repaint, followed by 16 ms
// of event loop as a display would leave; pages render on worker
// threads meanwhile, and frames that had to show a page blank are
// counted. Goals: first paint under 300 ms, frames under 16 ms.
// ORV_BENCH_QUICK=1 uses 1,000 pages and fewer frames; ORV_BENCH_CACHE_MIB
// sets the image budget; ORV_BENCH_TRACE=1 prints the peak after each part.
// usage: bench_viewer [pages]

#include "engine/core/processsetup.h"
#include "engine/pages/pagecollection.h"
#include "engine/widgets/viewer/pageimagecache.h"
#include "engine/widgets/viewer/pageview.h"
#include "engine/widgets/viewer/viewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace Orv;

namespace {

constexpr int Rows = 15;
constexpr int Columns = 4;
const double ColumnLeft[Columns] = {1440, 3600, 6480, 9000};
const double ColumnWidth[Columns] = {2100, 2800, 2450, 1800};

QString cellText(int page, int row, int column)
{
    const int n = page * Rows + row;
    switch (column) {
    case 0: return QStringLiteral("%1").arg(10248 + n);
    case 1: return QStringLiteral("Customer %1 Trading").arg(n % 913);
    case 2: return QStringLiteral("%1 Main Street").arg(n % 97 + 1);
    default: return QStringLiteral("%1.%2").arg(n % 10000).arg(n % 100, 2, 10, QLatin1Char('0'));
    }
}

Page makePage(int n)
{
    Page page;
    page.size = QSizeF(12240, 15840);
    const int body = page.fontIndex(PageFont{});
    const int bold = page.fontIndex(PageFont{QStringLiteral("Arial"), 10, true});
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            TextOp op;
            op.rect = QRectF(ColumnLeft[column], 1440 + row * 300, ColumnWidth[column], 270);
            op.text = cellText(n, row, column);
            op.font = column == 0 ? bold : body;
            op.alignment = column == 3 ? (Qt::AlignRight | Qt::AlignTop) : (Qt::AlignLeft | Qt::AlignTop);
            op.wrap = false;
            page.ops.push_back(std::move(op));
        }
    }
    page.ops.push_back(LineOp{QPointF(1440, 1400), QPointF(10800, 1400), PagePen{}});
    page.ops.push_back(LineOp{QPointF(1440, 1440 + Rows * 300), QPointF(10800, 1440 + Rows * 300), PagePen{}});
    return page;
}

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// CPU time of the calling thread: what a frame costs the window's thread,
// apart from waiting for a core on a busy machine.
double threadMs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Frames
{
    std::vector<double> ms;
    std::vector<double> cpu;
    int incomplete = 0;
    qint64 rendered = 0;

    static std::pair<double, double> meanP95(std::vector<double> v)
    {
        std::sort(v.begin(), v.end());
        double sum = 0;
        for (double x : v)
            sum += x;
        return {sum / v.size(), v[std::min(v.size() - 1, size_t(v.size() * 0.95))]};
    }

    void print(const char *what, int pagesPassed) const
    {
        if (ms.empty())
            return;
        const auto [mean, p95] = meanP95(ms);
        const auto [cpuMean, cpuP95] = meanP95(cpu);
        const double worst = *std::max_element(ms.begin(), ms.end());
        const int over = int(std::count_if(ms.begin(), ms.end(), [](double v) { return v > 16.0; }));
        std::printf("%s: %zu frames over %d pages: mean %.2f ms, p95 %.2f ms, max %.2f ms, %d over 16 ms "
                    "(window thread CPU: mean %.2f ms, p95 %.2f ms); %lld renders, %d frames showed a page "
                    "not rendered yet\n",
                    what, ms.size(), pagesPassed, mean, p95, worst, over, cpuMean, cpuP95, (long long)rendered,
                    incomplete);
        if (qEnvironmentVariableIsSet("ORV_BENCH_TRACE"))
            std::printf("  peak RSS so far %.0f MiB\n", peakMiB());
    }
};

// One frame: a move, then a full synchronous repaint.
template <typename Move>
Frames frames(Viewer &viewer, int count, Move move)
{
    Frames f;
    PageView *view = viewer.pageView();
    const qint64 before = view->rendersDone();
    QElapsedTimer clock;
    for (int i = 0; i < count; ++i) {
        clock.start();
        const double cpu = threadMs();
        move(i);
        view->viewport()->repaint();
        f.ms.push_back(clock.nsecsElapsed() / 1e6);
        f.cpu.push_back(threadMs() - cpu);
        if (!view->lastPaintComplete())
            ++f.incomplete;
        idle(16);
    }
    f.rendered = view->rendersDone() - before;
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    Orv::setUpProcess();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool quick = qEnvironmentVariableIntValue("ORV_BENCH_QUICK") == 1;
    const int count = argc > 1 ? qMax(10, atoi(argv[1])) : quick ? 1000 : 10000;
    const int smoothFrames = quick ? 120 : 600;
    const int jumpFrames = quick ? 60 : 200;

    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("long.rdf"));
    QElapsedTimer timer;
    timer.start();
    {
        PageCollection pages;
        for (int i = 0; i < count; ++i)
            pages.append(makePage(i));
        if (const Status s = pages.Save(archive); !s.ok()) {
            std::fprintf(stderr, "cannot write the archive: %s\n", qPrintable(s.description()));
            return 1;
        }
    }
    std::printf("archive: %d pages written in %.2f s\n", count, timer.nsecsElapsed() / 1e9);

    // What one page costs a worker, at 100% and at 200%.
    for (double zoom : {1.0, 2.0}) {
        const int n = quick ? 20 : 100;
        timer.restart();
        for (int i = 0; i < n; ++i)
            renderPage(makePage(i), nullptr, zoom / 15);
        std::printf("render: %.2f ms a page at %.0f%%\n", timer.nsecsElapsed() / 1e6 / n, zoom * 100);
    }

    Viewer viewer;
    viewer.resize(1200, 900);
    viewer.show();
    QCoreApplication::processEvents();
    PageView *view = viewer.pageView();
    // ORV_BENCH_CACHE_MIB sets another image budget.
    if (const int mib = qEnvironmentVariableIntValue("ORV_BENCH_CACHE_MIB"); mib > 0)
        view->setCacheBudget(qint64(mib) << 20);

    // First paint: open the archive, then paint the first page.
    timer.restart();
    if (const Status s = viewer.Load(archive); !s.ok()) {
        std::fprintf(stderr, "cannot open the archive: %s\n", qPrintable(s.description()));
        return 1;
    }
    const double loadMs = timer.nsecsElapsed() / 1e6;
    // Paint until the page in view has arrived from its worker.
    view->viewport()->repaint();
    if (qEnvironmentVariableIsSet("ORV_BENCH_TRACE"))
        std::printf("  first repaint done at %.1f ms\n", timer.nsecsElapsed() / 1e6);
    while (!view->lastPaintComplete() && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        view->viewport()->repaint();
    }
    const double firstPaintMs = timer.nsecsElapsed() / 1e6;
    std::printf("first paint: %.1f ms (Pages.Load %.1f ms, then %.1f ms to a complete paint)\n", firstPaintMs,
                loadMs, firstPaintMs - loadMs);

    // Smooth scrolling at a fast fling's speed (120 pixels a frame, 7,200 a second).
    ViewerNavigator &nav = viewer.navigator();
    const int pitch = nav.cellRect(1).top() - nav.cellRect(0).top();
    Frames smooth = frames(viewer, smoothFrames, [&](int) { nav.scrollBy(0, 120, false); });
    smooth.print("scroll at 100%", int(qint64(smoothFrames) * 120 / pitch));

    // Page jumps: every frame shows a page not seen before.
    Frames jumps = frames(viewer, jumpFrames, [&](int) { nav.pageDown(); });
    jumps.print("page down at 100%", jumpFrames);

    // Dragging the scroll bar: far jumps into pages read back from the spill file.
    Frames far = frames(viewer, jumpFrames, [&](int i) { viewer.setCanvas(int((qint64(i) * 7919) % count)); });
    far.print("far jumps at 100%", jumpFrames);

    viewer.setZoom(200);
    Frames zoomed = frames(viewer, smoothFrames / 2, [&](int) { nav.scrollBy(0, 120, false); });
    zoomed.print("scroll at 200%", int(qint64(smoothFrames) * 60 / (2 * pitch)));

    viewer.setZoom(800);
    Frames tiled = frames(viewer, smoothFrames / 4, [&](int) { nav.scrollBy(0, 120, false); });
    tiled.print("scroll at 800% (tiles)", 0);

    viewer.setZoom(100);
    viewer.MultiPage(2, 2, 3);
    Frames grid = frames(viewer, jumpFrames / 2, [&](int) { nav.pageDown(); });
    grid.print("2 x 2 pages, page down", jumpFrames * 2);

    const PageImageCache &cache = view->cache();
    std::printf("cache: budget %.0f MiB, peak %.0f MiB held, now %d images in %.0f MiB; peak RSS %.0f MiB\n",
                cache.budget() / 1048576.0, cache.peakBytes() / 1048576.0, cache.count(), cache.bytes() / 1048576.0,
                peakMiB());
    return 0;
}
