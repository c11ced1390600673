// The grouped order-lines report of 100,000 and 1,000,000 rows (the sample
// database at scale 10 and 100), run to PDF and to an archive, beside a
// floor: a bare program that reads the same rows and draws the same texts
// on as many pages straight onto QPdfWriter. Prints pages and rows per
// second, the time to the first page and peak memory (VmHWM) of each, and
// the same report with "page N of M" to an archive (its pages wait for the
// count, so its first page comes at the end), and both written to PDF during
// the run, as the command line does (pages with the count go out at once). First, one band of 10,000 and
// of 100,000 labels, loaded and run.
// ORV_BENCH_QUICK=1 runs the 100,000-row size only; ORV_BENCH_DIR keeps
// the databases between runs.

#include "bench/support/benchsupport.h"
#include "engine/core/processsetup.h"
#include "engine/data/connection.h"
#include "engine/data/sampledatabase.h"
#include "engine/export/exporter.h"
#include "engine/export/pdfexporter.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/pages/fontresolver.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/run/runpagesource.h"
#include "engine/widgets/viewer/pageview.h"
#include "engine/widgets/viewer/viewer.h"
#include "engine/script/host.h"
#include "engine/script/runhost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace Orv;
using namespace Orv::Bench;

namespace {

struct Figures
{
    int pages = 0;
    qint64 rows = 0;
    double firstPage = 0;
    double run = 0;
    double write = 0;
    double peak = 0;
};

bool loadOrderLines(Report &report, const QString &connection, bool pageCount)
{
    const Status loaded = LoadLayout(report, orderLinesLayout(connection, pageCount));
    if (!loaded.ok())
        std::fprintf(stderr, "%s\n", qPrintable(loaded.description()));
    return loaded.ok();
}

Figures runReport(const QString &connection, const QString &output, bool pageCount = false, const QVariantMap &settings = {})
{
    Figures f;
    resetPeak();
    QElapsedTimer clock;
    clock.start();
    Report report;
    if (!loadOrderLines(report, connection, pageCount))
        return f;
    ReportRun run(&report);
    while (run.step()) {
        if (!f.firstPage && run.Pages()->Count() > 0)
            f.firstPage = clock.nsecsElapsed() / 1e9;
    }
    if (!run.status().ok())
        std::fprintf(stderr, "run: %s\n", qPrintable(run.status().description()));
    f.run = clock.nsecsElapsed() / 1e9;
    f.pages = run.Pages()->Count();
    f.rows = run.rowCount();
    clock.restart();
    const Status written = output.endsWith(QLatin1String(".rdf")) ? run.Pages()->Save(output) : exportPages(*run.Pages(), output, settings);
    if (!written.ok())
        std::fprintf(stderr, "write: %s\n", qPrintable(written.description()));
    f.write = clock.nsecsElapsed() / 1e9;
    f.peak = peakMiB();
    return f;
}

// The same run written to PDF as the command line does it: pages go to the
// file while the run makes them (those with the page count too). The first
// page is when page 1 went to the writer; write is what remains after the run.
Figures streamReport(const QString &connection, const QString &output, bool pageCount)
{
    Figures f;
    resetPeak();
    QElapsedTimer clock;
    clock.start();
    Report report;
    if (!loadOrderLines(report, connection, pageCount))
        return f;
    ReportRun run(&report);
    run.setProvisionalPages(true);
    PdfStream stream;
    ExportProgress progress;
    progress.onProgress = [&](int done, int) {
        if (done > 0 && !f.firstPage)
            f.firstPage = clock.nsecsElapsed() / 1e9;
    };
    Status status = stream.open(output, {}, run.Pages(), progress);
    if (!status.ok()) {
        std::fprintf(stderr, "stream: %s\n", qPrintable(status.description()));
        return f;
    }
    run.setReplaceProvisionalPages(false);
    stream.follow(run.Pages(), [&run](int index) { return run.lateTexts(index); }, [&run](const Status &) { run.Cancel(); });
    QObject::connect(&run, &ReportRun::lateTextsKnown,
                     [&stream](int index, const std::vector<LateText> &texts) { stream.textsKnown(index, texts); });
    double dataEnd = 0;
    QObject::connect(&run, &ReportRun::ReportEnd, [&] { dataEnd = clock.nsecsElapsed() / 1e9; });
    status = run.Run(false);
    if (!status.ok())
        std::fprintf(stderr, "run: %s\n", qPrintable(status.description()));
    f.run = clock.nsecsElapsed() / 1e9;
    if (qEnvironmentVariableIsSet("ORV_BENCH_TRACE"))
        std::fprintf(stderr, "rows read by %.2f s, run ended %.2f s\n", dataEnd, f.run);
    f.pages = run.Pages()->Count();
    f.rows = run.rowCount();
    clock.restart();
    status = stream.finish();
    if (!status.ok())
        std::fprintf(stderr, "write: %s\n", qPrintable(status.description()));
    f.write = clock.nsecsElapsed() / 1e9;
    f.peak = peakMiB();
    return f;
}

// The preview as the designer shows it: the run made in steps from the
// event loop, pages shown as they come (with the count blank until known);
// the time until the first page is painted complete.
double viewerFirstPage(const QString &connection, bool pageCount)
{
    QElapsedTimer clock;
    clock.start();
    Report report;
    if (!loadOrderLines(report, connection, pageCount))
        return 0;
    auto *run = new ReportRun(&report);
    run->setProvisionalPages(true);
    Viewer viewer;
    viewer.resize(1000, 800);
    viewer.show();
    if (!run->Run(true).ok())
        return 0;
    viewer.setReportSource(new RunPageSource(run));
    PageView *view = viewer.pageView();
    double first = 0;
    while (clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (run->Pages()->Count() == 0)
            continue;
        view->viewport()->repaint();
        if (view->lastPaintComplete()) {
            first = clock.nsecsElapsed() / 1e9;
            break;
        }
    }
    viewer.setReportSource(nullptr);
    run->Cancel();
    delete run;
    return first;
}

// The bare program: the same rows, texts and geometry, drawn directly.
Figures floor(const QString &connection, const QString &output)
{
    Figures f;
    resetPeak();
    QElapsedTimer clock;
    clock.start();
    Data::Connection c;
    Status status = c.Open(connection);
    auto rs = status.ok() ? c.Execute(QString::fromLatin1(orderLinesStatement), &status) : nullptr;
    if (!rs) {
        std::fprintf(stderr, "floor: %s\n", qPrintable(status.description()));
        return f;
    }
    QPdfWriter pdf(output);
    pdf.setResolution(1200);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    pdf.setPageMargins(QMarginsF());
    QPainter p(&pdf);
    p.scale(1200.0 / 1440, 1200.0 / 1440); // twips
    FontResolver &fonts = FontResolver::instance();
    const QFont plain = fonts.resolve(PageFont{})->font;
    const QFont bold = fonts.resolve(PageFont{QStringLiteral("Arial"), 10, true})->font;
    const QFont small = fonts.resolve(PageFont{QStringLiteral("Arial"), 8})->font;
    const double left = 1440, top = 1440, bottom = 15840 - 1440 - 300;
    double y = 0;
    int page = 0;
    const auto text = [&](const QFont &font, double x, double w, double h, Qt::Alignment a, const QString &s) {
        p.setFont(font);
        p.drawText(QRectF(left + x, y, w, h), int(a | Qt::AlignTop | Qt::TextWordWrap), s);
    };
    const auto startPage = [&] {
        if (page++)
            pdf.newPage();
        y = top;
        text(bold, 0, 4000, 360, Qt::AlignLeft, QStringLiteral("Order lines"));
        text(plain, 7360, 2000, 360, Qt::AlignRight, QStringLiteral("Page %1").arg(page));
        y += 360;
    };
    const auto endPage = [&] {
        const double keep = y;
        y = bottom;
        text(small, 0, 4000, 300, Qt::AlignLeft, QStringLiteral("Tesserane Traders"));
        y = keep;
    };
    const auto room = [&](double h) {
        if (y + h > bottom) {
            endPage();
            startPage();
        }
    };
    startPage();
    QVariant order;
    double total = 0, grand = 0;
    const auto footer = [&] {
        room(300);
        text(bold, 7300, 2060, 300, Qt::AlignRight, QString::number(total, 'f', 2));
        y += 300;
    };
    for (; !rs->atEnd(); rs->MoveNext(), ++f.rows) {
        const QVariant id = rs->value(0);
        if (id != order) {
            if (order.isValid())
                footer();
            order = id;
            total = 0;
            room(330);
            text(bold, 0, 1500, 330, Qt::AlignLeft, id.toString());
            text(plain, 1600, 2000, 330, Qt::AlignLeft, rs->value(1).toDate().toString(QStringLiteral("yyyy-MM-dd")));
            text(plain, 3700, 2000, 330, Qt::AlignLeft, rs->value(2).toString());
            y += 330;
        }
        const double amount = rs->value(6).toDouble();
        total += amount;
        grand += amount;
        room(270);
        text(plain, 300, 4000, 270, Qt::AlignLeft, rs->value(3).toString());
        text(plain, 4400, 1000, 270, Qt::AlignRight, rs->value(4).toString());
        text(plain, 5500, 1700, 270, Qt::AlignRight, QString::number(rs->value(5).toDouble(), 'f', 2));
        text(plain, 7300, 2060, 270, Qt::AlignRight, QString::number(amount, 'f', 2));
        y += 270;
    }
    footer();
    room(300);
    text(plain, 7300, 2060, 300, Qt::AlignRight, QString::number(grand, 'f', 2));
    endPage();
    p.end();
    f.pages = page;
    f.run = clock.nsecsElapsed() / 1e9;
    f.peak = peakMiB();
    return f;
}

// One band of many labels, run with a script host as the command line runs
// it (binding every control's name to the scripts is part of the run).
void manyControls(int count)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OrvReportLayout version=\"1\"><Report>"
                                 "<Section Type=\"0\" Name=\"RH\" Height=\"15000\">");
    for (int i = 0; i < count; ++i)
        xml += QStringLiteral("<Control Type=\"OrvEngine.Label\" Name=\"l%1\" Left=\"%2\" Top=\"%3\" Width=\"300\" Height=\"90\" Caption=\"c%1\"/>")
                   .arg(i).arg((i / 150) % 30 * 300).arg((i % 150) * 100);
    xml += QStringLiteral("</Section><Section Type=\"6\" Name=\"Detail\" Height=\"0\"/></Report></OrvReportLayout>");
    QElapsedTimer t;
    t.start();
    Report report;
    const Status loaded = LoadLayout(report, xml.toUtf8());
    const double load = t.nsecsElapsed() / 1e9;
    if (!loaded.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(loaded.description()));
        return;
    }
    t.restart();
    ReportRun run(&report);
    Script::Host host;
    Script::RunHost scripting(host);
    run.setScripting(&scripting);
    const Status status = run.Run(false);
    const double ran = t.nsecsElapsed() / 1e9;
    std::printf("one band of %d controls: load %.2f s, run %.2f s (goal under 2 s), %d pages%s\n", count, load, ran,
                run.Pages()->Count(), status.ok() ? "" : " (failed)");
}

// The sqlite3 shell reading the same rows: what reading alone costs.
double sqliteShellSeconds(const QString &db)
{
    QElapsedTimer clock;
    clock.start();
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.start(QStringLiteral("sqlite3"), {db, QString::fromLatin1(orderLinesStatement)});
    if (!shell.waitForFinished(600000) || shell.exitCode() != 0) {
        std::fprintf(stderr, "sqlite3: %s\n", shell.readAllStandardError().constData());
        return 0;
    }
    return clock.nsecsElapsed() / 1e9;
}

// The figures above share one process, whose heap keeps what earlier
// runs freed; a run in a process of its own shows its true peak.
double alonePeak(const QString &connection, const QString &what, const QString &output)
{
    QProcess alone;
    alone.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--alone"), what, connection, output});
    if (!alone.waitForFinished(1200000) || alone.exitCode() != 0) {
        std::fprintf(stderr, "%s alone: %s\n", qPrintable(what), alone.readAllStandardError().constData());
        return 0;
    }
    return alone.readAllStandardOutput().trimmed().toDouble();
}

int runAlone(const QString &what, const QString &connection, const QString &output)
{
    Figures f;
    if (what == QLatin1String("floor"))
        f = floor(connection, output);
    else
        f = streamReport(connection, output, what == QLatin1String("counted"));
    std::printf("%.1f\n", f.peak);
    return f.pages > 0 ? 0 : 1;
}

void print(const char *what, const Figures &f, double total)
{
    std::printf("  %-18s %8lld rows %6d pages  %7.2f s  %8.0f pages/s %9.0f rows/s  peak %6.1f MB", what, f.rows, f.pages,
                total, f.pages / total, f.rows / total, f.peak);
    if (f.firstPage > 0)
        std::printf("  first page %.3f s, run %.2f s + write %.2f s", f.firstPage, f.run, f.write);
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    Orv::setUpProcess();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 5 && QByteArray(argv[1]) == "--alone")
        return runAlone(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    QTemporaryDir temporary;
    const QString dir = qEnvironmentVariableIsSet("ORV_BENCH_DIR") ? qEnvironmentVariable("ORV_BENCH_DIR") : temporary.path();
    QDir().mkpath(dir);
    for (int count : {10000, 100000})
        manyControls(count);
    std::vector<int> scales{10};
    if (!qEnvironmentVariableIsSet("ORV_BENCH_QUICK"))
        scales.push_back(100);
    for (int scale : scales) {
        const QString db = QDir(dir).filePath(QStringLiteral("tesserane-%1.db").arg(scale));
        if (!QFile::exists(db)) {
            QElapsedTimer t;
            t.start();
            const Status s = Data::createSampleDatabase(db, scale);
            if (!s.ok()) {
                std::fprintf(stderr, "%s\n", qPrintable(s.description()));
                return 1;
            }
            std::printf("sample database at scale %d written in %.1f s\n", scale, t.nsecsElapsed() / 1e9);
        }
        const QString connection = QStringLiteral("Provider=SQLite;Data Source=") + db;
        const Figures base = floor(connection, QDir(dir).filePath(QStringLiteral("floor.pdf")));
        const QVariantMap qt{{QStringLiteral("Writer"), QStringLiteral("Qt")}};
        const double shell = sqliteShellSeconds(db);
        const Figures pdf = runReport(connection, QDir(dir).filePath(QStringLiteral("run.pdf")));
        const Figures pdfQt = runReport(connection, QDir(dir).filePath(QStringLiteral("run-qt.pdf")), false, qt);
        const Figures rdf = runReport(connection, QDir(dir).filePath(QStringLiteral("run.rdf")));
        // With "of M" in the page footer every page waits for the count.
        const Figures counted = runReport(connection, QDir(dir).filePath(QStringLiteral("counted.rdf")), true);
        const Figures countedPdf = runReport(connection, QDir(dir).filePath(QStringLiteral("counted.pdf")), true);
        const Figures countedQt = runReport(connection, QDir(dir).filePath(QStringLiteral("counted-qt.pdf")), true, qt);
        const Figures streamed = streamReport(connection, QDir(dir).filePath(QStringLiteral("streamed.pdf")), false);
        const Figures streamedCount = streamReport(connection, QDir(dir).filePath(QStringLiteral("streamed-count.pdf")), true);
        const double viewerFirst = viewerFirstPage(connection, false);
        const double viewerFirstCounted = viewerFirstPage(connection, true);
        std::printf("grouped order lines, scale %d:\n", scale);
        std::printf("  %-18s %8lld rows                 %7.2f s\n", "sqlite3 shell", pdf.rows, shell);
        print("floor (QPdfWriter)", base, base.run);
        print("run to PDF", pdf, pdf.run + pdf.write);
        print("  with Qt's writer", pdfQt, pdfQt.run + pdfQt.write);
        print("run to archive", rdf, rdf.run + rdf.write);
        print("with page count", counted, counted.run + counted.write);
        print("  to PDF", countedPdf, countedPdf.run + countedPdf.write);
        print("  to PDF, Qt's", countedQt, countedQt.run + countedQt.write);
        print("PDF during the run", streamed, streamed.run + streamed.write);
        print("  with page count", streamedCount, streamedCount.run + streamedCount.write);
        std::printf("  run to PDF takes %.2f times the floor's time (goal 1.3), written during the run %.2f\n",
                    (pdf.run + pdf.write) / base.run, (streamed.run + streamed.write) / base.run);
        std::printf("  our writer writes in %.2f times the floor's time (goal 0.5), Qt's in %.2f\n", pdf.write / base.run,
                    pdfQt.write / base.run);
        std::printf("  first page in the viewer: %.3f s, with page count %.3f s (goal 0.5 s)\n", viewerFirst,
                    viewerFirstCounted);
        const QString alone = QDir(dir).filePath(QStringLiteral("alone.pdf"));
        std::printf("  peak in a process of its own: floor %.1f MB, PDF during the run %.1f MB, with page count %.1f MB (goal 150 MB)\n",
                    alonePeak(connection, QStringLiteral("floor"), alone), alonePeak(connection, QStringLiteral("pdf"), alone),
                    alonePeak(connection, QStringLiteral("counted"), alone));
    }
    return 0;
}
