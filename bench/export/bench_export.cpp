// A 1,000-page collection (15 rows of four texts and two rules per page)
// exported to every format; prints seconds and MB per format (PDF with our
// writer and with Qt's) beside the PDF floor (the same texts drawn by QPainter
// straight onto a QPdfWriter). TIFF is written twice, on one thread and on
// every core, side by side (the two files must be the same).
// usage: bench_export [pages]

#include "bench/support/benchsupport.h"
#include "engine/core/processsetup.h"
#include "engine/export/exporter.h"
#include "engine/export/tiffexporter.h"
#include "engine/pages/pagecollection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace Orv;

using namespace Orv::Bench;

int main(int argc, char **argv)
{
    Orv::setUpProcess();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? qMax(1, atoi(argv[1])) : 1000;
    QTemporaryDir dir;
    PageCollection pages;
    for (int i = 0; i < count; ++i)
        pages.append(tablePage(i));

    // The PDF with each writer and the floor take turns three times; the
    // best of each counts.
    double floorS = 1e9, pdfS = 1e9, qtS = 1e9;
    const QString qtPath = dir.filePath(QStringLiteral("bench-qt.pdf"));
    const QString floorPath = dir.filePath(QStringLiteral("floor.pdf"));
    const QString pdfPath = dir.filePath(QStringLiteral("bench.pdf"));
    for (int round = 0; round < 3; ++round) {
        floorS = qMin(floorS, tableFloorSeconds(floorPath, count));
        QElapsedTimer timer;
        timer.start();
        const Status s = exportPages(pages, pdfPath);
        if (!s.ok()) {
            std::fprintf(stderr, "pdf: %s\n", qPrintable(s.description()));
            return 1;
        }
        pdfS = qMin(pdfS, timer.nsecsElapsed() / 1e9);
        timer.restart();
        if (!exportPages(pages, qtPath, {{QStringLiteral("Writer"), QStringLiteral("Qt")}}).ok())
            return 1;
        qtS = qMin(qtS, timer.nsecsElapsed() / 1e9);
    }
    std::printf("%-6s %5d pages %7.2f s %8.2f MiB\n", "floor", count, floorS, fileMiB(floorPath));
    std::printf("%-6s %5d pages %7.2f s %8.2f MiB  (%.2f x floor)\n", "PDF", count, pdfS, fileMiB(pdfPath), pdfS / floorS);
    std::printf("%-6s %5d pages %7.2f s %8.2f MiB  (%.2f x floor, Qt's writer)\n", "PDF-Qt", count, qtS, fileMiB(qtPath),
                qtS / floorS);

    const struct
    {
        const char *name;
        const char *file;
        QVariantMap settings;
    } formats[] = {{"RTF", "bench.rtf", {}},
                   {"HTML", "html/bench.html", {}},
                   {"MHT", "bench.mht", {}},
                   {"Excel", "bench.xlsx", {}},
                   {"Text", "bench.txt", {}}};
    QDir().mkpath(dir.filePath(QStringLiteral("html")));
    for (const auto &f : formats) {
        const QString path = dir.filePath(QString::fromLatin1(f.file));
        QElapsedTimer timer;
        timer.start();
        const Status s = exportPages(pages, path, f.settings);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (!s.ok()) {
            std::fprintf(stderr, "%s: %s\n", f.name, qPrintable(s.description()));
            return 1;
        }
        const QString measured = QString::fromLatin1(f.name) == QLatin1String("HTML") ? dir.filePath(QStringLiteral("html")) : path;
        std::printf("%-6s %5d pages %7.2f s %8.2f MiB\n", f.name, count, seconds, fileMiB(measured));
    }

    // TIFF at 100 dpi, black and white (CCITT 4), and in colour (LZW).
    const struct
    {
        const char *name;
        QVariantMap settings;
    } tiffs[] = {{"TIFF", {{QStringLiteral("Resolution"), 100}, {QStringLiteral("Compression"), QStringLiteral("CCITT4")}}},
                 {"TIFF24", {{QStringLiteral("Resolution"), 100}}}};
    const int cores = QThread::idealThreadCount();
    for (const auto &t : tiffs) {
        double seconds[2] = {0, 0};
        QByteArray bytes[2];
        for (int run = 0; run < 2; ++run) {
            TiffExporter tiff;
            tiff.setThreadCount(run == 0 ? 1 : 0);
            const QString path = dir.filePath(QStringLiteral("bench%1.tif").arg(run));
            QElapsedTimer timer;
            timer.start();
            const Status s = tiff.write(pages, path, t.settings);
            seconds[run] = timer.nsecsElapsed() / 1e9;
            if (!s.ok()) {
                std::fprintf(stderr, "%s: %s\n", t.name, qPrintable(s.description()));
                return 1;
            }
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                bytes[run] = file.readAll();
        }
        std::printf("%-6s %5d pages %7.2f s on 1 thread, %7.2f s on %d (%.2f x) %8.2f MiB%s\n", t.name, count,
                    seconds[0], seconds[1], cores, seconds[0] / seconds[1], bytes[0].size() / 1048576.0,
                    bytes[0] == bytes[1] ? "" : "  FILES DIFFER");
    }
    return 0;
}
