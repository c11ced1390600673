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
    "usage: orvreport-cli run <layout.rpx> -o <output> [--connection <string>]\n"
    "                         [--database <file>] [--param name=value]... [--option name=value]...\n"
    "  the output's extension picks the format: .rdf archive, .pdf, .rtf, .html/.htm/.mht,\n"
    "  .xlsx/.xls, .tif/.tiff, .txt; --option passes an export setting (see docs/export.md)\n";

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
    QVariantMap options;
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
        } else if (a == QLatin1String("--option") && hasValue) {
            const QString o = args[++i];
            const qsizetype eq = o.indexOf(QLatin1Char('='));
            if (eq <= 0) {
                io.err << "orvreport-cli: --option needs name=value, not \"" << o << "\"\n";
                return Usage;
            }
            options.insert(o.left(eq).trimmed(), o.mid(eq + 1));
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
    const std::unique_ptr<Exporter> exporter = archive ? nullptr : ExporterRegistry::instance().createForPath(output);
    if (!archive && !exporter) {
        io.err << "orvreport-cli: cannot write \"" << output << "\": the extension names no known format\n";
        return Usage;
    }
    if (archive && !options.isEmpty()) {
        io.err << "orvreport-cli: --option applies to exports, not to archives\n";
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
    if (!status.ok() && run.pageCount() == 0)
        return Failure; // the error is already printed; no progress to report
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
        // The document name is the title where the format has one and no option sets it.
        QVariantMap settings = options;
        const auto named = [&settings](const QString &name) {
            for (auto it = settings.cbegin(); it != settings.cend(); ++it)
                if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                    return true;
            return false;
        };
        if (exporter->settingNames().contains(QStringLiteral("Title")) && !named(QStringLiteral("Title")))
            settings.insert(QStringLiteral("Title"), report.documentName());
        status = exporter->write(*run.Pages(), output, settings, progress);
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
