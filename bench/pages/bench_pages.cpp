// Pages of a long report: 10,000 pages of 60 texts each (a 15-row table of
// four columns) plus rules. Appends them to a page collection, saves,
// loads and saves again an archive, writes a PDF, and writes the same texts
// straight to a QPdfWriter with QPainter as the floor. Prints pages per
// second, file sizes, peak memory and the PDF's ratio to the floor.
// usage: bench_pages [pages]

#include "bench/support/benchsupport.h"
#include "engine/core/processsetup.h"
#include "engine/export/pdfexporter.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/textmeasure.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

using namespace Orv;

using namespace Orv::Bench;

int main(int argc, char **argv)
{
    Orv::setUpProcess();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? qMax(1, atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    QElapsedTimer timer;

    // Text measurement, as the run does for growing fields.
    timer.start();
    double total = 0;
    constexpr int Measures = 100000;
    for (int i = 0; i < Measures; ++i)
        total += measureText(PageFont{}, 2800, true, tableCellText(i, 0, 1 + i % 3)).height;
    const double measureS = timer.nsecsElapsed() / 1e9;
    std::printf("measure: %d texts in %.2f s (%.0f per second)%s\n", Measures, measureS, Measures / measureS,
                total > 0 ? "" : " (no height?)");

    PageCollection pages;
    const double baseline = peakMiB();
    timer.restart();
    for (int i = 0; i < count; ++i)
        pages.append(tablePage(i));
    const double appendS = timer.nsecsElapsed() / 1e9;
    std::printf("append: %d pages of %d operations in %.2f s (%.0f pages/s), %d in memory, peak RSS %.0f MiB "
                "(%.0f MiB before)\n",
                count, TableRows * TableColumns + 2, appendS, count / appendS, pages.residentPageCount(), peakMiB(), baseline);

    const QString archive = dir.filePath(QStringLiteral("bench.rdf"));
    timer.restart();
    Status status = pages.Save(archive);
    const double saveS = timer.nsecsElapsed() / 1e9;
    if (!status.ok()) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(status.description()));
        return 1;
    }
    std::printf("archive save: %.2f s (%.0f pages/s), %.2f MiB\n", saveS, count / saveS, fileMiB(archive));

    PageCollection loaded;
    timer.restart();
    status = loaded.Load(archive);
    const double loadS = timer.nsecsElapsed() / 1e9;
    if (!status.ok()) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(status.description()));
        return 1;
    }
    std::printf("archive load: %.2f s (%.0f pages/s), peak RSS %.0f MiB\n", loadS, count / loadS, peakMiB());

    // Saving what was loaded copies the stored pages across.
    const QString again = dir.filePath(QStringLiteral("again.rdf"));
    timer.restart();
    status = loaded.Save(again);
    const double resaveS = timer.nsecsElapsed() / 1e9;
    if (!status.ok()) {
        std::fprintf(stderr, "save after load failed: %s\n", qPrintable(status.description()));
        return 1;
    }
    std::printf("archive save after load: %.2f s (%.0f pages/s)\n", resaveS, count / resaveS);

    // Reading every page back, as an exporter does (they are decoded from the archive).
    timer.restart();
    qsizetype ops = 0;
    for (int i = 0; i < loaded.Count(); ++i)
        ops += qsizetype(loaded.page(i)->ops.size());
    const double readS = timer.nsecsElapsed() / 1e9;
    std::printf("read back: %.2f s (%.0f pages/s, %lld operations)\n", readS, count / readS, qlonglong(ops));

    // The export and the floor take turns, three times each; the best time
    // of each counts, which keeps other work on the machine out of the ratio.
    const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));
    const QString floor = dir.filePath(QStringLiteral("floor.pdf"));
    double pdfS = 1e9;
    double floorS = 1e9;
    for (int round = 0; round < 3; ++round) {
        timer.restart();
        status = PdfExporter().write(loaded, pdf, {{QStringLiteral("Title"), QStringLiteral("Benchmark")}});
        pdfS = qMin(pdfS, timer.nsecsElapsed() / 1e9);

        if (!status.ok()) {
            std::fprintf(stderr, "pdf failed: %s\n", qPrintable(status.description()));
            return 1;
        }
        floorS = qMin(floorS, tableFloorSeconds(floor, count));
    }
    std::printf("pdf export: %.2f s (%.0f pages/s), %.2f MiB, peak RSS %.0f MiB\n", pdfS, count / pdfS, fileMiB(pdf),
                peakMiB());
    std::printf("floor (QPainter on QPdfWriter): %.2f s (%.0f pages/s), %.2f MiB\n", floorS, count / floorS,
                fileMiB(floor));
    std::printf("pdf export / floor: %.2f\n", pdfS / floorS);
    return 0;
}
