#include "app/cli/clicommand.h"

#include "accessimport/importdriver.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "ui/recordingui.h"

#include <QFile>
#include <QSaveFile>

namespace Orv::Cli {

namespace {

const char *const usage =
    "usage: orvreport-cli import-access <db.mdb> --report <name> [--exports <folder>] [--option name=value]...\n"
    "                                   [--codepage <name>] -o <out.rpx> [--log <file>]\n"
    "       orvreport-cli import-access <db.mdb> --list [--exports <folder>]\n"
    "       orvreport-cli import-access --export <file> [--report <name>] [--option name=value]... -o <out.rpx> [--log <file>]\n"
    "       orvreport-cli import-access [<db.mdb>] [--exports <folder>] --all [--option name=value]... -o <folder> [--log <file>]\n"
    "options: CommentModule, StripSrcCode, UseADOInsteadDAO, ConvertChartCtls (true/false), Charset (number), ReportsPath\n";

bool readBool(const QString &text, bool *value)
{
    const QString t = text.toLower();
    if (t == u"true" || t == u"1" || t == u"yes" || t == u"on")
        *value = true;
    else if (t == u"false" || t == u"0" || t == u"no" || t == u"off")
        *value = false;
    else
        return false;
    return true;
}

// Sets one option by its name, with or without the type prefix.
bool setOption(CAccessImportSettings *s, const QString &assignment, QString *error)
{
    const qsizetype eq = assignment.indexOf(u'=');
    if (eq <= 0) {
        *error = QStringLiteral("--option needs name=value, not \"%1\"").arg(assignment);
        return false;
    }
    QString name = assignment.left(eq).toLower();
    const QString value = assignment.mid(eq + 1);
    for (const char *prefix : {"mb", "mi", "ms"})
        if (name.startsWith(QLatin1StringView(prefix)) && name.size() > 2)
            name = name.mid(2);
    bool ok = true;
    if (name == u"commentmodule")
        ok = readBool(value, &s->mbCommentModule);
    else if (name == u"stripsrccode")
        ok = readBool(value, &s->mbStripSrcCode);
    else if (name == u"useadoinsteaddao")
        ok = readBool(value, &s->mbUseADOInsteadDAO);
    else if (name == u"convertchartctls")
        ok = readBool(value, &s->mbConvertChartCtls);
    else if (name == u"reportspath")
        s->msReportsPath = value;
    else if (name == u"charset") {
        const int n = value.toInt(&ok);
        ok = ok && n >= 0 && n <= 255;
        if (ok)
            s->miCharset = qint16(n);
    } else {
        *error = QStringLiteral("unknown option \"%1\"").arg(assignment.left(eq));
        return false;
    }
    if (!ok)
        *error = QStringLiteral("option %1 does not take the value \"%2\"").arg(assignment.left(eq), value);
    return ok;
}

} // namespace

int runImportAccess(const QStringList &args, Streams &io)
{
    QString database, report, exports, exportFile, output, logPath, codePage;
    bool list = false, all = false;
    CAccessImportSettings settings;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        QString error;
        if (a == u"--list") {
            list = true;
        } else if (a == u"--all") {
            all = true;
        } else if (hasValue && a == u"--report") {
            report = args[++i];
        } else if (hasValue && a == u"--exports") {
            exports = args[++i];
        } else if (hasValue && a == u"--export") {
            exportFile = args[++i];
        } else if (hasValue && (a == u"-o" || a == u"--output")) {
            output = args[++i];
        } else if (hasValue && a == u"--log") {
            logPath = args[++i];
        } else if (hasValue && a == u"--codepage") {
            codePage = args[++i];
        } else if (hasValue && a == u"--option") {
            if (!setOption(&settings, args[++i], &error)) {
                io.err << "orvreport-cli: " << error << '\n' << usage;
                return Usage;
            }
        } else if (database.isEmpty() && !a.startsWith(u'-')) {
            database = a;
        } else {
            io.err << usage;
            return Usage;
        }
    }
    const bool fromExport = !exportFile.isEmpty();
    // --all takes the database or the exports folder (or both) and no
    // single report.
    const bool badAll = all && (list || fromExport || !report.isEmpty() || (database.isEmpty() && exports.isEmpty()));
    if (badAll || (!all && !fromExport && database.isEmpty()) || (!list && output.isEmpty())
        || (!all && !list && !fromExport && report.isEmpty()) || (list && fromExport)) {
        io.err << usage;
        return Usage;
    }

    RecordingUi ui;
    AccessImportDriver driver(&ui);
    const auto showMessages = [&] {
        for (const RecordingUi::Request &r : ui.requests())
            io.err << "orvreport-cli: " << (r.title.isEmpty() ? QString() : r.title + QStringLiteral(": ")) << r.text << '\n';
        ui.clear();
    };
    driver.setExportsFolder(exports);
    driver.setCodePage(codePage);
    driver.options() = settings;
    if (!database.isEmpty() && !driver.openDatabase(database)) {
        showMessages();
        return Failure;
    }
    if (list) {
        driver.listReports();
        showMessages();
        for (const QString &name : driver.reports())
            io.out << name << (driver.findExport(name).isEmpty() ? "" : "\t(export found)") << '\n';
        return ui.requests().isEmpty() ? Success : Failure;
    }

    const auto writeLog = [&](const QStringList &log) {
        if (logPath.isEmpty())
            return true;
        QSaveFile f(logPath);
        if (!f.open(QIODevice::WriteOnly) || (f.write((log.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8()), !f.commit())) {
            io.err << "orvreport-cli: cannot write the log " << logPath << '\n';
            return false;
        }
        return true;
    };
    if (all) {
        if (database.isEmpty())
            driver.listExports();
        else
            driver.listReports();
        showMessages();
        if (driver.reports().isEmpty()) {
            io.err << "orvreport-cli: " << (database.isEmpty() ? QStringLiteral("no report export was found in ") + exports
                                                               : QStringLiteral("the database has no reports: ") + database)
                   << '\n';
            return Failure;
        }
        if (logPath.isEmpty()) {
            // Lines as they come: a long conversion shows where it is.
            driver.setLogListener([&io](const QString &line) {
                io.err << line << '\n';
                io.err.flush();
            });
        }
        const AccessImportDriver::BatchResult result = driver.convertAll(driver.reports(), output);
        if (!writeLog(driver.log()))
            return Failure;
        io.out << "Converted " << result.converted << " of " << driver.reports().size() << " reports into " << output;
        if (result.missing || result.failed)
            io.out << " (" << result.missing << " without an export, " << result.failed << " failed)";
        io.out << '\n';
        return result.converted == driver.reports().size() ? Success : Failure;
    }

    Report design;
    driver.SetReport(&design);
    if (fromExport)
        driver.convertExport(exportFile, report);
    else
        driver.convertReport(report);
    showMessages();
    const QStringList &log = driver.log();
    if (logPath.isEmpty()) {
        for (const QString &line : log)
            io.err << line << '\n';
    } else if (!writeLog(log)) {
        return Failure;
    }
    for (const QString &line : log)
        if (line.startsWith(u"Error: "))
            return Failure; // the report could not be read at all
    if (const Status s = SaveLayout(design, output, LayoutFile::ToFile); !s) {
        io.err << "orvreport-cli: " << s.description() << '\n';
        return Failure;
    }
    io.out << "Converted " << (report.isEmpty() ? exportFile : report) << " to " << output << " (" << log.size()
           << " log line" << (log.size() == 1 ? "" : "s") << ")\n";
    return Success;
}

} // namespace Orv::Cli
