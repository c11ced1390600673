// Pages of a long report: 10,000 pages of 60 texts each (a 15-row table of
// four columns) plus rules. Appends them to a page collection, saves and
// loads an archive, writes a PDF, and writes the same texts straight to a
// QPdfWriter with QPainter as the floor. Prints pages per second, file
// sizes, peak memory and the PDF's ratio to the floor.
// usage: bench_pages [pages]

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

double rowTop(int row)
{
    return 1440 + row * 300;
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
            op.rect = QRectF(ColumnLeft[column], rowTop(row), ColumnWidth[column], 270);
            op.text = cellText(n, row, column);
            op.font = column == 0 ? bold : body;
            op.alignment = column == 3 ? (Qt::AlignRight | Qt::AlignTop) : (Qt::AlignLeft | Qt::AlignTop);
            op.wrap = false;
            page.ops.push_back(std::move(op));
        }
    }
    page.ops.push_back(LineOp{QPointF(1440, 1400), QPointF(10800, 1400), PagePen{}});
    page.ops.push_back(LineOp{QPointF(1440, rowTop(Rows)), QPointF(10800, rowTop(Rows)), PagePen{}});
    return page;
}

// The same texts and rules, drawn directly.
void drawFloorPage(QPainter &painter, QPdfWriter &writer, int n, const QFont &body, const QFont &bold)
{
    const double k = writer.resolution() / 1440.0;
    QPen pen(Qt::black, 15 * k);
    painter.setPen(pen);
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            painter.setFont(column == 0 ? bold : body);
            const QRectF rect(ColumnLeft[column] * k, rowTop(row) * k, ColumnWidth[column] * k, 270 * k);
            painter.drawText(rect, column == 3 ? (Qt::AlignRight | Qt::AlignTop) : (Qt::AlignLeft | Qt::AlignTop),
                             cellText(n, row, column));
        }
    }
    painter.drawLine(QPointF(1440 * k, 1400 * k), QPointF(10800 * k, 1400 * k));
    painter.drawLine(QPointF(1440 * k, rowTop(Rows) * k), QPointF(10800 * k, rowTop(Rows) * k));
}

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

double mib(const QString &path)
{
    return QFileInfo(path).size() / 1048576.0;
}

} // namespace

int main(int argc, char **argv)
{
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
        total += measureText(PageFont{}, 2800, true, cellText(i, 0, 1 + i % 3)).height;
    const double measureS = timer.nsecsElapsed() / 1e9;
    std::printf("measure: %d texts in %.2f s (%.0f per second)%s\n", Measures, measureS, Measures / measureS,
                total > 0 ? "" : " (no height?)");

    PageCollection pages;
    const double baseline = peakMiB();
    timer.restart();
    for (int i = 0; i < count; ++i)
        pages.append(makePage(i));
    const double appendS = timer.nsecsElapsed() / 1e9;
    std::printf("append: %d pages of %d operations in %.2f s (%.0f pages/s), %d in memory, peak RSS %.0f MiB "
                "(%.0f MiB before)\n",
                count, Rows * Columns + 2, appendS, count / appendS, pages.residentPageCount(), peakMiB(), baseline);

    const QString archive = dir.filePath(QStringLiteral("bench.rdf"));
    timer.restart();
    Status status = pages.Save(archive);
    const double saveS = timer.nsecsElapsed() / 1e9;
    if (!status.ok()) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(status.description()));
        return 1;
    }
    std::printf("archive save: %.2f s (%.0f pages/s), %.2f MiB\n", saveS, count / saveS, mib(archive));

    PageCollection loaded;
    timer.restart();
    status = loaded.Load(archive);
    const double loadS = timer.nsecsElapsed() / 1e9;
    if (!status.ok()) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(status.description()));
        return 1;
    }
    std::printf("archive load: %.2f s (%.0f pages/s), peak RSS %.0f MiB\n", loadS, count / loadS, peakMiB());

    // Reading every page back, as an exporter does (most come from the spill file).
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
        timer.restart();
        {
            QPdfWriter writer(floor);
            writer.setPageSize(QPageSize(QPageSize::Letter));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter(&writer);
            QFont body(QStringLiteral("Arial"));
            body.setPointSizeF(10);
            QFont bold = body;
            bold.setBold(true);
            for (int i = 0; i < count; ++i) {
                if (i > 0)
                    writer.newPage();
                drawFloorPage(painter, writer, i, body, bold);
            }
        }
        floorS = qMin(floorS, timer.nsecsElapsed() / 1e9);
    }
    std::printf("pdf export: %.2f s (%.0f pages/s), %.2f MiB, peak RSS %.0f MiB\n", pdfS, count / pdfS, mib(pdf),
                peakMiB());
    std::printf("floor (QPainter on QPdfWriter): %.2f s (%.0f pages/s), %.2f MiB\n", floorS, count / floorS,
                mib(floor));
    std::printf("pdf export / floor: %.2f\n", pdfS / floorS);
    return 0;
}
