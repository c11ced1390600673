#include "app/cli/clicommand.h"
#include "app/cli/consolescripthost.h"

#include "engine/script/runhost.h"
#include "engine/script/scriptsupport.h"
#include "engine/export/exporter.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace Orv::Cli {

namespace {

const char *const usage =
    "usage: orvreport-cli run <layout.rpx> -o <out.pdf|out.rdf> [--connection <string>]\n"
    "                         [--database <file>] [--param name=value]...\n";

// A parameter's text as the value a statement or expression expects:
// whole numbers and decimals as numbers, anything else as text.
QVariant parameterValue(const QString &text)
{
    bool ok = false;
    const qlonglong whole = text.toLongLong(&ok);
    if (ok)
        return whole;
    const double number = text.toDouble(&ok);
    if (ok)
        return number;
    return text;
}

} // namespace

int runReport(const QStringList &args, Streams &io)
{
    QString layout;
    QString output;
    QString connection;
    QString database;
    QVariantMap parameters;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == QLatin1String("-o") || a == QLatin1String("--output")) && hasValue) {
            output = args[++i];
        } else if (a == QLatin1String("--connection") && hasValue) {
            connection = args[++i];
        } else if (a == QLatin1String("--database") && hasValue) {
            database = args[++i];
        } else if (a == QLatin1String("--param") && hasValue) {
            const QString p = args[++i];
            const qsizetype eq = p.indexOf(QLatin1Char('='));
            if (eq <= 0) {
                io.err << "orvreport-cli: --param needs name=value, not \"" << p << "\"\n";
                return Usage;
            }
            parameters.insert(p.left(eq).trimmed(), parameterValue(p.mid(eq + 1)));
        } else if (layout.isEmpty() && !a.startsWith(QLatin1Char('-'))) {
            layout = a;
        } else {
            io.err << usage;
            return Usage;
        }
    }
    if (layout.isEmpty() || output.isEmpty()) {
        io.err << usage;
        return Usage;
    }
    const bool archive = output.endsWith(QLatin1String(".rdf"), Qt::CaseInsensitive);
    if (!archive && !ExporterRegistry::instance().createForPath(output)) {
        io.err << "orvreport-cli: cannot write \"" << output << "\": the extension names no known format\n";
        return Usage;
    }

    Report report;
    Status status = LoadLayout(report, layout);
    if (!status.ok()) {
        io.err << "orvreport-cli: " << status.description() << '\n';
        return Failure;
    }
    ReportRun run(&report);
    run.setReportFolder(QFileInfo(layout).absolutePath());
    // Report scripts run with vbo, dbg and the prologue, as in the designer's
    // preview; dbg.Out prints to standard output.
    const QString folder = QFileInfo(layout).absolutePath() + QLatin1Char('/');
    ConsoleScriptHost console(io, folder);
    console.host.addCode(Script::scriptPrologue(folder));
    Script::RunHost scripting(console.host);
    run.setScripting(&scripting);
    run.setConnectionString(connection);
    run.setDatabasePath(database);
    run.setParameters(parameters);
    QObject::connect(&run, &ReportRun::Error, [&io](int number, const QString &description, const QString &source) {
        io.err << "\rorvreport-cli: error " << number << ": " << description;
        if (!source.isEmpty())
            io.err << " (" << source << ')';
        io.err << '\n';
        io.err.flush();
    });
    QElapsedTimer clock;
    clock.start();
    qint64 shown = -1000;
    // The progress line is rewritten in place on a terminal only.
    const bool terminal = isatty(fileno(stderr));
    QObject::connect(&run, &ReportRun::PageEnd, [&](int index) {
        if (!terminal || clock.elapsed() - shown < 200)
            return;
        shown = clock.elapsed();
        io.err << "\rPage " << index + 1 << ", " << run.rowCount() << " rows";
        io.err.flush();
    });
    status = run.Run(false);
    const int pages = run.Pages()->Count();
    io.err << "\rPage " << run.pageCount() << ", " << run.rowCount() << " rows\n";
    if (!status.ok())
        return Failure;

    if (archive) {
        status = run.Pages()->Save(output);
    } else {
        ExportProgress progress;
        progress.onProgress = [&](int done, int total) {
            if (!terminal || (clock.elapsed() - shown < 200 && done != total))
                return;
            shown = clock.elapsed();
            io.err << "\rWriting page " << done << " of " << total;
            io.err.flush();
        };
        QVariantMap settings;
        settings.insert(QStringLiteral("Title"), report.documentName());
        status = exportPages(*run.Pages(), output, settings, progress);
        if (terminal)
            io.err << '\n';
    }
    if (!status.ok()) {
        io.err << "orvreport-cli: " << status.description() << '\n';
        return Failure;
    }
    io.out << "Wrote " << pages << (pages == 1 ? " page" : " pages") << " (" << run.rowCount() << " rows) to "
           << output << " in " << QString::number(clock.elapsed() / 1000.0, 'f', 2) << " s\n";
    return Success;
}

} // namespace Orv::Cli
