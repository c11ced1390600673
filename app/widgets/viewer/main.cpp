// orv-viewer-window: the viewer control on its own.
// usage: orv-viewer-window <archive.rdf | layout.rpx [--connection <string>]>
//        [--zoom <percent|-1|-2>] [--ruler] [--contents] [--screenshot <file.png>]
// With --screenshot the window is drawn once the first pages are in and
// written to the file, and the program ends.
#include "app/widgets/viewer/viewerwindow.h"
#include "engine/core/processsetup.h"
#include "engine/widgets/viewer/pageview.h"
#include "engine/widgets/viewer/viewer.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    Orv::setUpProcess();
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString path;
    QString connection;
    QString screenshot;
    int zoom = 0;
    bool ruler = false;
    bool contents = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--connection") && hasValue) {
            connection = args[++i];
        } else if (a == QLatin1String("--screenshot") && hasValue) {
            screenshot = args[++i];
        } else if (a == QLatin1String("--zoom") && hasValue) {
            zoom = args[++i].toInt();
        } else if (a == QLatin1String("--ruler")) {
            ruler = true;
        } else if (a == QLatin1String("--contents")) {
            contents = true;
        } else if (path.isEmpty() && !a.startsWith(QLatin1Char('-'))) {
            path = a;
        } else {
            std::fprintf(stderr, "usage: orv-viewer-window <archive.rdf | layout.rpx [--connection <string>]>"
                                 " [--zoom <percent|-1|-2>] [--ruler] [--contents] [--screenshot <file.png>]\n");
            return 2;
        }
    }
    Orv::ViewerWindow window;
    if (zoom != 0) {
        const Orv::Status zoomed = window.viewer()->setZoom(zoom);
        if (!zoomed.ok()) {
            std::fprintf(stderr, "orv-viewer-window: %s\n", qPrintable(zoomed.description()));
            return 2;
        }
    }
    window.viewer()->setRulerVisible(ruler);
    window.viewer()->setTocVisible(contents);
    window.refresh();
    window.show();
    if (!path.isEmpty()) {
        const Orv::Status status = window.open(path, connection);
        if (!status.ok()) {
            if (!screenshot.isEmpty()) {
                std::fprintf(stderr, "orv-viewer-window: %s\n", qPrintable(status.description()));
                return 1;
            }
            QMessageBox::warning(&window, QStringLiteral("Error: FileOpen"),
                                 QStringLiteral(" %1 - %2").arg(status.number()).arg(status.description()));
        }
    }
    if (screenshot.isEmpty())
        return app.exec();

    // Wait for a few pages (or the end of the run) and a complete paint.
    QTimer poll;
    poll.setInterval(50);
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        const Orv::ReportRun *run = window.run();
        const int pages = window.viewer()->Pages()->Count();
        const bool enough = pages >= 3 || (pages > 0 && (!run || !run->isRunning()));
        Orv::PageView *view = window.viewer()->pageView();
        const bool drawn = view->rendersDone() > 0 && view->rendersPending() == 0 && view->lastPaintComplete();
        if ((!enough || !drawn) && ++ticks < 400)
            return;
        poll.stop();
        const bool saved = window.grab().save(screenshot);
        if (!saved)
            std::fprintf(stderr, "orv-viewer-window: cannot write %s\n", qPrintable(screenshot));
        app.exit(saved ? 0 : 1);
    });
    poll.start();
    return app.exec();
}
