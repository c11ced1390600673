#include "app/cli/clicommand.h"
#include "app/cli/consolescripthost.h"

#include "engine/script/scriptedrun.h"
#include "engine/script/scriptsupport.h"
#include "engine/data/connectionstring.h"
#include "engine/data/driver.h"
#include "engine/data/reportdata.h"
#include "engine/export/exporter.h"
#include "engine/export/pdfexporter.h"
#include "engine/model/controls.h"
#include "engine/pages/stagedfiles.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace Orv::Cli {

namespace {

const char *const usage =
    "usage: orvreport-cli run <layout.rpx> -o <output> [--connection <string>]\n"
    "                         [--database <file>] [--param name=value]... [--option name=value]...\n"
    "                         [--allow-writes] [--script-steps N] [--script-memory MB]\n"
    "  the output's extension picks the format: .rdf archive, .pdf, .rtf, .html/.htm/.mht,\n"
    "  .xlsx/.xls, .tif/.tiff, .txt; --option passes an export setting\n"
    "  (orvreport-cli export-settings [format] lists them)\n"
    "  --allow-writes lets a layout whose AllowWrites is set change its data;\n"
    "  --script-steps and --script-memory bound the scripts of the whole run (0: no bound)\n";

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

// The database file a connection string names, for providers that read files.
QString databaseFileOf(const QString &connectionString)
{
    ConnectionString cs;
    Status status;
    if (!ConnectionString::parse(connectionString, &cs, &status))
        return {};
    const QString provider = Data::providerFor(cs, &status);
    if (provider != QLatin1String("SQLite") && provider != QLatin1String("Access"))
        return {};
    return cs.value({"Data Source", "Database", "DBQ", "Filename"});
}

// The files a run reads that its output must not replace: the layout, the
// subreport layouts it names (and theirs) and their database files.
QList<QPair<QString, QString>> inputsOf(const QString &layoutPath, const Report &report, const QString &connection,
                                        const QString &database)
{
    QList<QPair<QString, QString>> inputs; // path, what it is
    inputs.append({layoutPath, QStringLiteral("the layout being run")});
    if (!database.isEmpty())
        inputs.append({database, QStringLiteral("the report's database")});
    if (const QString file = databaseFileOf(connection); !file.isEmpty())
        inputs.append({file, QStringLiteral("the report's database")});
    std::vector<std::unique_ptr<Report>> loaded;
    QSet<QString> seen{QFileInfo(layoutPath).absoluteFilePath()};
    std::vector<std::pair<const Report *, QString>> queue{{&report, QFileInfo(layoutPath).absolutePath()}};
    while (!queue.empty()) {
        const auto [r, folder] = queue.back();
        queue.pop_back();
        if (Control *dc = Data::findDataControl(*r)) {
            Status ignored;
            const QString file = databaseFileOf(Data::dataSourceOf(*dc, folder, database, &ignored).connectionString);
            if (!file.isEmpty())
                inputs.append({QDir(folder).filePath(file), QStringLiteral("the report's database")});
        }
        for (Control *c : r->allControls()) {
            auto *sub = qobject_cast<SubReport *>(c);
            if (!sub || sub->reportName().trimmed().isEmpty())
                continue;
            const QString path = QFileInfo(QDir(folder).filePath(sub->reportName().trimmed())).absoluteFilePath();
            if (seen.contains(path) || !QFileInfo(path).isFile())
                continue;
            seen.insert(path);
            inputs.append({path, QStringLiteral("a subreport layout of the report")});
            auto child = std::make_unique<Report>();
            if (LoadLayout(*child, path).ok()) {
                queue.emplace_back(child.get(), QFileInfo(path).absolutePath());
                loaded.push_back(std::move(child));
            }
        }
    }
    return inputs;
}

// The same file: one inode when both exist (hard links and symbolic links
// included), else the same path once links are followed.
bool sameFile(const QString &a, const QString &b)
{
    const QString ra = StagedFiles::resolvedTarget(a);
    const QString rb = StagedFiles::resolvedTarget(b);
    struct stat sa, sb;
    if (::stat(QFile::encodeName(ra).constData(), &sa) == 0 && ::stat(QFile::encodeName(rb).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return !ra.isEmpty() && QDir::cleanPath(ra) == QDir::cleanPath(rb);
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
    bool allowWrites = false;
    qint64 scriptSteps = Script::DefaultRunStepBudget;
    qint64 scriptMemory = Script::DefaultRunMemoryBudget;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == QLatin1String("-o") || a == QLatin1String("--output")) && hasValue) {
            output = args[++i];
        } else if (a == QLatin1String("--connection") && hasValue) {
            connection = args[++i];
        } else if (a == QLatin1String("--allow-writes")) {
            allowWrites = true;
        } else if ((a == QLatin1String("--script-steps") || a == QLatin1String("--script-memory")) && hasValue) {
            bool ok = false;
            const qint64 n = args[++i].toLongLong(&ok);
            if (!ok || n < 0 || (a == QLatin1String("--script-memory") && n > (qint64(1) << 40))) {
                io.err << "orvreport-cli: " << a << " needs a whole number of at least 0, not \"" << args[i] << "\"\n";
                return Usage;
            }
            if (a == QLatin1String("--script-steps"))
                scriptSteps = n;
            else
                scriptMemory = n << 20; // given in MB
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
    auto loaded = std::make_unique<Report>();
    Report &report = *loaded;
    Status status = LoadLayout(report, layout);
    if (!status.ok()) {
        io.err << "orvreport-cli: " << status.description() << '\n';
        return Failure;
    }
    for (const auto &[input, what] : inputsOf(layout, report, connection, database)) {
        if (sameFile(output, input)) {
            io.err << "orvreport-cli: refusing to write \"" << output << "\": it is " << what << " (" << input << ")\n";
            return Usage;
        }
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
    // Options are checked against the filter's described settings before
    // anything runs.
    if (exporter) {
        if (const Status s = checkSettings(exporter->format(), exporter->settings(), options); !s.ok()) {
            io.err << "orvreport-cli: --option: " << s.description()
                   << "\n  (orvreport-cli export-settings " << exporter->format() << " lists them)\n";
            return Usage;
        }
    }
    if (report.allowWrites() && !allowWrites)
        io.err << "orvreport-cli: the layout asks to change its data (AllowWrites); it runs read-only without --allow-writes\n";
    else if (allowWrites && !report.allowWrites())
        io.err << "orvreport-cli: --allow-writes has no effect: the layout does not set AllowWrites\n";
    // Report scripts run with vbo, dbg and the prologue, as in the designer's
    // preview; dbg.Out prints to standard output.
    ConsoleScriptHost console(io, QFileInfo(layout).absolutePath() + QLatin1Char('/'));
    Script::ScriptedRunOptions runOptions = console.runOptions();
    runOptions.layoutPath = layout;
    runOptions.allowWrites = allowWrites;
    runOptions.scriptSteps = scriptSteps;
    runOptions.scriptMemory = scriptMemory;
    runOptions.connectionString = connection;
    runOptions.databasePath = database;
    runOptions.parameters = parameters;
    const auto scripted = Script::ScriptedRun::of(std::move(loaded), runOptions);
    ReportRun &run = *scripted->run();
    QObject::connect(&run, &ReportRun::Error, [&io](int number, const QString &description, int, const QString &source,
                                                    const QString &, int, bool *cancelDisplay) {
        *cancelDisplay = true; // printed here, once
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
    ExportProgress progress;
    progress.onProgress = [&](int done, int total) {
        if (!terminal || (clock.elapsed() - shown < 200 && done != total))
            return;
        shown = clock.elapsed();
        if (total > 0)
            io.err << "\rWriting page " << done << " of " << total;
        else
            io.err << "\rPage " << run.pageCount() << ", " << run.rowCount() << " rows, " << done << " written";
        io.err.flush();
    };
    // The document name is the title where the format has one and no option sets it.
    QVariantMap settings = options;
    if (exporter) {
        const auto named = [&settings](const QString &name) {
            for (auto it = settings.cbegin(); it != settings.cend(); ++it)
                if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                    return true;
            return false;
        };
        if (exporter->settingNames().contains(QStringLiteral("Title")) && !named(QStringLiteral("Title")))
            settings.insert(QStringLiteral("Title"), report.documentName());
    }
    // PDF from our own writer is written while the run goes on, pages with
    // the page count included; other formats take the finished pages.
    std::unique_ptr<PdfStream> stream;
    if (exporter && exporter->format() == QLatin1String("PDF") && PdfStream::streams(settings)) {
        stream = std::make_unique<PdfStream>();
        status = stream->open(output, settings, run.Pages(), progress);
        if (!status.ok()) {
            io.err << "orvreport-cli: " << status.description() << '\n';
            return Failure;
        }
        // Pages go to the file as made; the count follows when known.
        run.setProvisionalPages(true);
        run.setReplaceProvisionalPages(false);
        stream->follow(run.Pages(), [&run](int index) { return run.lateTexts(index); },
                       [&run](const Status &) { run.Cancel(); });
        QObject::connect(&run, &ReportRun::lateTextsKnown, [&stream](int index, const std::vector<LateText> &texts) {
            stream->textsKnown(index, texts);
        });
    }
    status = run.Run(false);
    const int pages = run.Pages()->Count();
    // Any error of the run (printed already) may have left pages short or
    // missing: nothing is written then.
    if (!status.ok() || !run.errors().isEmpty()) {
        io.err << "\rorvreport-cli: the run ended with " << (status.ok() ? "errors" : "an error") << " after "
               << run.pageCount() << (run.pageCount() == 1 ? " page" : " pages") << "; nothing was written to "
               << output << '\n';
        return Failure;
    }
    io.err << "\rPage " << pages << ", " << run.rowCount() << " rows\n";
    if (stream) {
        status = stream->finish();
    } else {
        if (archive) {
            status = run.Pages()->Save(output);
        } else {
            status = exporter->write(*run.Pages(), output, settings, progress);
            if (terminal)
                io.err << '\n';
        }
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
