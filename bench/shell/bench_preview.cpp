// The preview in the main window on the invoice lines of the sample
// database at scale 10 (about 100,000 order lines; scale 1 when CI=true):
// from the switch to preview to the first page painted, the longest frame
// while pages arrive, and the time to go back to design (which cancels the
// run). Goals: first page under 300 ms, no frame over 16 ms, cancel under
// 100 ms. Runs offscreen; prints its figures and never fails for being slow.
#include "bench/support/benchsupport.h"
#include "engine/data/sampledatabase.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/scriptedrun.h"
#include "engine/widgets/viewer/viewer.h"
#include "shell/window/mainwindow.h"
#include "ui/recordingui.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace Orv;
using namespace Orv::Bench;

namespace {

// Notes when anything inside the viewer paints with a page to show.
class PaintWatch : public QObject
{
public:
    PaintWatch(Viewer *viewer, QElapsedTimer &clock) : m_viewer(viewer), m_clock(clock) {}
    qint64 firstPagePainted = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && firstPagePainted < 0 && m_viewer->Pages()->Count() > 0) {
            for (QObject *o = watched; o; o = o->parent()) {
                if (o == m_viewer) {
                    firstPagePainted = m_clock.elapsed();
                    break;
                }
            }
        }
        return false;
    }

private:
    Viewer *m_viewer;
    QElapsedTimer &m_clock;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool ci = qEnvironmentVariable("CI") == QLatin1String("true");
    const int scale = ci ? 1 : 10;
    QTemporaryDir dir;
    qputenv("ORVREPORT_CONFIG_DIR", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    const QString db = dir.filePath(QStringLiteral("tesserane.db"));
    if (const Status s = Data::createSampleDatabase(db, scale); !s.ok()) {
        std::fprintf(stderr, "sample database: %s\n", qPrintable(s.description()));
        return 1;
    }
    const QString layout = dir.filePath(QStringLiteral("order-lines.rpx"));
    {
        QFile file(layout);
        if (!file.open(QIODevice::WriteOnly) || file.write(orderLinesLayout(QStringLiteral("Provider=SQLite;Data Source=") + db, false)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(layout));
            return 1;
        }
    }

    RecordingUi ui;
    MainWindow window(ui);
    window.resize(1280, 860);
    window.show();
    window.startUp(layout);
    QApplication::processEvents();

    QElapsedTimer clock;
    PaintWatch watch(window.viewer(), clock);
    app.installEventFilter(&watch);
    clock.start();
    window.setView(1);
    const qint64 switched = clock.elapsed();

    // Frames: the gaps between passes of a timer that fires as often as it can.
    qint64 longest = 0;
    qint64 last = clock.elapsed();
    QTimer frames;
    frames.setInterval(0);
    QObject::connect(&frames, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    frames.start();
    // Pages arrive for two seconds (or until the run ends), then back to design.
    QEventLoop wait;
    QTimer::singleShot(2000, &wait, &QEventLoop::quit);
    ReportRun *run = window.previewRun() ? window.previewRun()->run() : nullptr;
    if (run)
        QObject::connect(run, &ReportRun::finished, &wait, &QEventLoop::quit);
    wait.exec();
    frames.stop();
    const int pages = window.viewer()->Pages()->Count();
    const bool stillRunning = run && run->isRunning();
    QElapsedTimer cancel;
    cancel.start();
    window.setView(0);
    QApplication::processEvents();
    const double cancelMs = cancel.nsecsElapsed() / 1e6;
    const bool stopped = !run || !run->isRunning();

    std::printf("preview of the order lines at scale %d\n", scale);
    std::printf("  switch returned after %lld ms, first page painted at %lld ms (goal 300)\n", (long long)switched,
                (long long)watch.firstPagePainted);
    std::printf("  longest frame while pages arrive %lld ms (goal 16); %d pages in %s\n", (long long)longest, pages,
                stillRunning ? "2 s, still running" : "the whole run");
    std::printf("  back to design in %.1f ms (goal 100), run %s\n", cancelMs, stopped ? "stopped" : "STILL RUNNING");
    window.close();
    return 0;
}
