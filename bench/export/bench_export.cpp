// A 1,000-page collection (15 rows of four texts and two rules per page)
// exported to every format; prints seconds and MB per format beside the
// PDF floor (the same texts drawn by QPainter straight onto a QPdfWriter).
// usage: bench_export [pages]

#include "engine/export/exporter.h"
#include "engine/pages/pagecollection.h"

#include <QDir>
#include <QElapsedTimer>
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

double floorSeconds(const QString &path, int count)
{
    QElapsedTimer timer;
    timer.start();
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont body(QStringLiteral("Arial"));
    body.setPointSizeF(10);
    QFont bold = body;
    bold.setBold(true);
    const double k = writer.resolution() / 1440.0;
    painter.setPen(QPen(Qt::black, 15 * k));
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            writer.newPage();
        for (int row = 0; row < Rows; ++row) {
            for (int column = 0; column < Columns; ++column) {
                painter.setFont(column == 0 ? bold : body);
                painter.drawText(QRectF(ColumnLeft[column] * k, (1440 + row * 300) * k, ColumnWidth[column] * k, 270 * k),
                                 column == 3 ? (Qt::AlignRight | Qt::AlignTop) : (Qt::AlignLeft | Qt::AlignTop),
                                 cellText(i, row, column));
            }
        }
        painter.drawLine(QPointF(1440 * k, 1400 * k), QPointF(10800 * k, 1400 * k));
        painter.drawLine(QPointF(1440 * k, (1440 + Rows * 300) * k), QPointF(10800 * k, (1440 + Rows * 300) * k));
    }
    painter.end();
    return timer.nsecsElapsed() / 1e9;
}

double megabytes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return info.size() / 1e6;
    qint64 total = 0;
    for (const QFileInfo &f : QDir(path).entryInfoList(QDir::Files))
        total += f.size();
    return total / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? qMax(1, atoi(argv[1])) : 1000;
    QTemporaryDir dir;
    PageCollection pages;
    for (int i = 0; i < count; ++i)
        pages.append(makePage(i));

    // The PDF and its floor take turns three times; the best of each counts.
    double floorS = 1e9, pdfS = 1e9;
    const QString floorPath = dir.filePath(QStringLiteral("floor.pdf"));
    const QString pdfPath = dir.filePath(QStringLiteral("bench.pdf"));
    for (int round = 0; round < 3; ++round) {
        floorS = qMin(floorS, floorSeconds(floorPath, count));
        QElapsedTimer timer;
        timer.start();
        const Status s = exportPages(pages, pdfPath);
        if (!s.ok()) {
            std::fprintf(stderr, "pdf: %s\n", qPrintable(s.description()));
            return 1;
        }
        pdfS = qMin(pdfS, timer.nsecsElapsed() / 1e9);
    }
    std::printf("%-6s %5d pages %7.2f s %8.2f MB\n", "floor", count, floorS, megabytes(floorPath));
    std::printf("%-6s %5d pages %7.2f s %8.2f MB  (%.2f x floor)\n", "PDF", count, pdfS, megabytes(pdfPath), pdfS / floorS);

    const struct
    {
        const char *name;
        const char *file;
        QVariantMap settings;
    } formats[] = {{"RTF", "bench.rtf", {}},
                   {"HTML", "html/bench.html", {}},
                   {"MHT", "bench.mht", {}},
                   {"Excel", "bench.xlsx", {}},
                   {"Text", "bench.txt", {}},
                   {"TIFF", "bench.tif", {{QStringLiteral("Resolution"), 100}, {QStringLiteral("Compression"), QStringLiteral("CCITT4")}}}};
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
        std::printf("%-6s %5d pages %7.2f s %8.2f MB\n", f.name, count, seconds, megabytes(measured));
    }
    return 0;
}
