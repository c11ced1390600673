// Saves and loads a layout of 20,000 controls and prints the times.

#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QElapsedTimer>

#include <cstdio>

int main()
{
    Orv::Report report;
    Orv::Section *detail = report.sections()->Item(1);
    const char *const kinds[] = {"OrvEngine.Label", "OrvEngine.Field", "OrvEngine.Line", "OrvEngine.Shape"};
    for (int i = 0; i < 20000; ++i) {
        Orv::Control *c = detail->controls()->Add(QString::fromLatin1(kinds[i % 4]));
        c->setLeft(i % 100 * 90);
        c->setTop(i / 100 * 300);
    }
    QElapsedTimer timer;
    timer.start();
    const QByteArray bytes = Orv::layoutBytes(report);
    const double saveMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    Orv::Report loaded;
    const Orv::Status status = Orv::LoadLayout(loaded, bytes);
    const double loadMs = timer.nsecsElapsed() / 1e6;
    if (!status.ok()) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(status.description()));
        return 1;
    }
    std::printf("layout: 20000 controls, %.1f MiB: save %.1f ms, load %.1f ms (%.0f controls/s)\n",
                bytes.size() / 1048576.0, saveMs, loadMs, 20000 / (loadMs / 1000));
    return 0;
}
