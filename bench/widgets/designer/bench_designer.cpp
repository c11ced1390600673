// Opens a layout of 2,000 controls in the designer and prints the time to
// the first paint and the time per frame while scrolling, at full size and
// zoomed out, then the time of editing all of them at once. Run with
// QT_QPA_PLATFORM=offscreen; ORV_BENCH_QUICK=1 makes it shorter.

#include "engine/core/processsetup.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int ControlCount = 2000;

// Sections of a grouped report with rows of six controls of every common
// kind; most of them in the detail.
QString writeLayout(const QTemporaryDir &dir)
{
    Orv::Report report;
    Orv::Sections *sections = report.sections();
    sections->addGroupPair();
    const char *const kinds[] = {"OrvEngine.Label", "OrvEngine.Field", "OrvEngine.Field",
                                 "OrvEngine.Shape", "OrvEngine.Line",  "OrvEngine.CheckBox"};
    const int share[] = {150, 250, 1300, 200, 100}; // page header, group header, detail, group footer, page footer
    const int order[] = {0, 1, 2, 3, 4};
    int made = 0;
    for (int k = 0; k < 5; ++k) {
        Orv::Section *s = sections->Item(order[k]);
        for (int i = 0; i < share[k] && made < ControlCount; ++i, ++made) {
            Orv::Control *c = s->controls()->Add(QString::fromLatin1(kinds[made % 6]));
            c->setLeft(90 + (i % 6) * 1530);
            c->setTop(90 + (i / 6) * 360);
            c->setWidth(1440);
            c->setHeight(300);
            if (auto *label = qobject_cast<Orv::Label *>(c))
                label->setCaption(QStringLiteral("Caption %1").arg(made));
            else if (auto *field = qobject_cast<Orv::Field *>(c))
                field->setDataField(QStringLiteral("Column%1").arg(made % 40));
        }
        s->setHeight(180 + (share[k] + 5) / 6 * 360);
    }
    const QString path = dir.filePath(QStringLiteral("bench.rpx"));
    const Orv::Status status = Orv::SaveLayout(report, path, Orv::LayoutFile::ToFile);
    if (!status.ok()) {
        std::fprintf(stderr, "cannot write the layout: %s\n", qPrintable(status.description()));
        std::exit(1);
    }
    return path;
}

struct Frames
{
    double median = 0, p95 = 0, worst = 0;
};

Frames scroll(Orv::DesignView *view, int frames)
{
    QScrollBar *bar = view->verticalScrollBar();
    bar->setValue(0);
    QApplication::processEvents();
    std::vector<double> times;
    const int step = std::max(1, (bar->maximum() - bar->minimum()) / std::max(1, frames));
    QElapsedTimer timer;
    for (int i = 0; i < frames; ++i) {
        timer.start();
        bar->setValue(bar->value() + (i % 40 < 20 ? step : -step / 2));
        view->viewport()->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    Frames f;
    f.median = times[times.size() / 2];
    f.p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    f.worst = times.back();
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    Orv::setUpProcess();
    QApplication app(argc, argv);
    const bool quick = qEnvironmentVariableIntValue("ORV_BENCH_QUICK") == 1;
    const int frames = quick ? 40 : 400;
    QTemporaryDir dir;
    const QString path = writeLayout(dir);

    QElapsedTimer timer;
    timer.start();
    Orv::Designer designer;
    designer.resize(1280, 900);
    const Orv::Status status = designer.loadLayout(path);
    if (!status.ok()) {
        std::fprintf(stderr, "cannot load: %s\n", qPrintable(status.description()));
        return 1;
    }
    const double loaded = timer.nsecsElapsed() / 1e6;
    designer.show();
    const QPixmap first = designer.grab();
    const double firstPaint = timer.nsecsElapsed() / 1e6;
    std::printf("designer: %d controls, window %dx%d\n", int(designer.DesignedReport()->allControls().size()),
                first.width(), first.height());
    std::printf("  first paint: %.1f ms (goal < 300 ms): load and build %.1f ms, draw %.1f ms\n", firstPaint, loaded,
                firstPaint - loaded);

    Orv::DesignView *view = designer.view();
    for (double zoom : {1.0, 0.5}) {
        designer.setZoom(zoom);
        scroll(view, 4); // the first pass fills the item caches
        const Frames f = scroll(view, frames);
        std::printf("  scrolling at %3.0f%%: %d frames, median %.2f ms, 95%% %.2f ms, worst %.2f ms (goal < 16 ms)\n",
                    zoom * 100, frames, f.median, f.p95, f.worst);
    }

    // One edit of every control, its undo and its redo.
    designer.setZoom(1.0);
    const auto all = designer.DesignedReport()->allControls();
    designer.core()->setSelection(std::vector<QObject *>(all.begin(), all.end()));
    timer.restart();
    designer.core()->nudgeSelection(90, 0, false);
    view->viewport()->repaint();
    const double move = timer.nsecsElapsed() / 1e6;
    timer.restart();
    designer.undoStack()->undo();
    view->viewport()->repaint();
    const double undo = timer.nsecsElapsed() / 1e6;
    timer.restart();
    designer.ExecuteAction(Orv::DesignerAction::Bold);
    view->viewport()->repaint();
    const double bold = timer.nsecsElapsed() / 1e6;
    std::printf("  all %d selected: move %.1f ms, undo %.1f ms, bold %.1f ms\n", int(all.size()), move, undo, bold);
    return 0;
}
