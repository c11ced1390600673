#include "accessimport/importdriver.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "ui/uiseam.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QProcess>

namespace Orv {

namespace {

const QString CrLf = QStringLiteral("\r\n");
constexpr int ErrCannotOpenDatabase = 3024; // Jet's "Could not find file"

// Runs an mdbtools program; a damaged file must not hang the caller.
Status runTool(const QString &program, const QStringList &args, QByteArray *out)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return Status::failure(ErrCannotCreateObject, QStringLiteral("%1 cannot be started; is mdbtools installed?").arg(program));
    QByteArray data;
    int waited = 0;
    while (!p.waitForFinished(200)) {
        data += p.readAllStandardOutput();
        if (p.state() == QProcess::NotRunning)
            break;
        if ((waited += 200) > 120000 || data.size() > 256 * 1024 * 1024) {
            p.kill();
            p.waitForFinished(5000);
            return Status::failure(ErrPathAccess, QStringLiteral("%1 did not finish reading the database").arg(program));
        }
    }
    data += p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return Status::failure(ErrCannotOpenDatabase, QStringLiteral("Cannot read the database %1%2")
                                                          .arg(args.value(args.size() - 2, args.value(0)),
                                                               why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }
    *out = data;
    return Status();
}

// One CSV record as mdb-export writes it: quoted fields with doubled
// quotes, line breaks allowed inside quotes.
bool nextRecord(const QByteArray &data, qsizetype *pos, QList<QByteArray> *fields)
{
    fields->clear();
    if (*pos >= data.size())
        return false;
    QByteArray field;
    bool quoted = false;
    while (*pos < data.size()) {
        const char c = data[(*pos)++];
        if (quoted) {
            if (c == '"') {
                if (*pos < data.size() && data[*pos] == '"') {
                    field += '"';
                    ++*pos;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields->append(field);
            field.clear();
        } else if (c == '\n') {
            break;
        } else if (c != '\r') {
            field += c;
        }
    }
    fields->append(field);
    return true;
}

} // namespace

Status listAccessReports(const QString &databasePath, QStringList *names)
{
    QByteArray csv;
    if (Status s = runTool(QStringLiteral("mdb-export"), {QStringLiteral("-b"), QStringLiteral("strip"), databasePath,
                                                          QStringLiteral("MSysObjects")}, &csv); !s)
        return s;
    qsizetype pos = 0;
    QList<QByteArray> fields;
    if (!nextRecord(csv, &pos, &fields))
        return Status::failure(ErrBadFileFormat, QStringLiteral("MSysObjects of %1 is empty").arg(databasePath));
    const qsizetype name = fields.indexOf("Name"), type = fields.indexOf("Type");
    if (name < 0 || type < 0)
        return Status::failure(ErrBadFileFormat, QStringLiteral("MSysObjects of %1 has no Name and Type columns").arg(databasePath));
    while (nextRecord(csv, &pos, &fields))
        if (fields.size() > std::max(name, type) && fields[type].trimmed() == "-32764")
            names->append(QString::fromUtf8(fields[name]));
    return Status();
}

AccessImportDriver::AccessImportDriver(Ui *ui) : m_ui(ui) {}

bool AccessImportDriver::openDatabase(const QString &path)
{
    closeAccess();
    m_databasePath = path;
    m_project = path.right(3).compare(u"ADP", Qt::CaseInsensitive) == 0;
    Status s;
    const QFileInfo info(path);
    if (!info.isFile()) {
        s = Status::failure(ErrCannotOpenDatabase, QStringLiteral("Could not find file '%1'.").arg(path));
    } else if (!m_project) {
        QByteArray version;
        s = runTool(QStringLiteral("mdb-ver"), {path}, &version);
    }
    if (!s) {
        if (m_ui)
            m_ui->messageBox(QStringLiteral("Error Starting Microsoft Access and Openning the selected database") + CrLf
                                 + s.description(),
                             QString());
        m_databasePath.clear();
        return false;
    }
    m_open = true;
    return true;
}

void AccessImportDriver::closeAccess()
{
    m_open = false;
}

QStringList AccessImportDriver::exportFolders() const
{
    QStringList folders;
    if (!m_exportsFolder.isEmpty())
        folders << m_exportsFolder << m_exportsFolder + QStringLiteral("/reports");
    if (!m_databasePath.isEmpty()) {
        const QFileInfo db(m_databasePath);
        for (const QString &name : {db.completeBaseName(), db.fileName() + QStringLiteral(".src")}) {
            const QString folder = db.path() + u'/' + name;
            folders << folder << folder + QStringLiteral("/reports");
        }
    }
    return folders;
}

QString AccessImportDriver::findExport(const QString &reportName) const
{
    for (const QString &folder : exportFolders())
        for (const char *ext : {".txt", ".report", ".bas"}) {
            const QString path = folder + u'/' + reportName + QLatin1StringView(ext);
            if (QFileInfo(path).isFile())
                return path;
        }
    return QString();
}

QStringList AccessImportDriver::exportsFound() const
{
    QStringList names;
    for (const QString &folder : exportFolders())
        for (const QFileInfo &f : QDir(folder).entryInfoList({QStringLiteral("*.txt"), QStringLiteral("*.report"), QStringLiteral("*.bas")},
                                                            QDir::Files, QDir::Name))
            if (!names.contains(f.completeBaseName(), Qt::CaseInsensitive))
                names << f.completeBaseName();
    return names;
}

int AccessImportDriver::exportCount() const
{
    int n = 0;
    for (const QString &name : m_reports)
        n += findExport(name).isEmpty() ? 0 : 1;
    return n;
}

void AccessImportDriver::listReports()
{
    m_reports.clear();
    m_current = -1;
    if (!m_open)
        return;
    Status s;
    if (m_project) {
        // A project's objects are not readable here: its reports are the
        // exports found beside it, by name.
        m_reports = exportsFound();
    } else {
        s = listAccessReports(m_databasePath, &m_reports);
    }
    if (!s && m_ui)
        m_ui->messageBox(errorText(s.number(), s.description()), QStringLiteral("Error Listing the Reports"));
}

void AccessImportDriver::listExports()
{
    m_reports = exportsFound();
    m_current = -1;
}

void AccessImportDriver::addLog(const QString &line)
{
    m_log.append(line);
    if (m_listener)
        m_listener(line);
}

void AccessImportDriver::appendSummary(const QString &text)
{
    if (!m_summary.isEmpty())
        m_summary += CrLf;
    const QString rule(60, u'=');
    m_summary += rule + CrLf + text + CrLf + rule;
}

bool AccessImportDriver::convertReports()
{
    addLog(QStringLiteral("*** Starting conversion ***"));
    if (m_current < 0 || m_current >= m_reports.size())
        return false;
    const bool converted = m_report && convertReportInto(m_reports[m_current], *m_report);
    if (!m_report)
        addLog(QStringLiteral("Error: There is no report to convert into"));
    addLog(QStringLiteral("*** Conversion complete ***"));
    appendSummary(QStringLiteral("The following reports were converted from database ") + u'"' + m_databasePath + u'"'
                  + QStringLiteral(" and placed in the following directory:") + CrLf + QStringLiteral("- ")
                  + m_options.msReportsPath);
    return converted;
}

void AccessImportDriver::convertReport(const QString &reportName)
{
    if (!m_report) {
        addLog(QStringLiteral("Error: There is no report to convert into"));
        return;
    }
    convertReportInto(reportName, *m_report);
}

bool AccessImportDriver::convertReportInto(const QString &reportName, Report &target)
{
    const QString path = findExport(reportName);
    if (path.isEmpty()) {
        QStringList looked;
        for (const QString &f : exportFolders())
            looked << QDir::toNativeSeparators(f);
        addLog(QStringLiteral("Error: No text export of report \"%1\" was found; looked for %1.txt, %1.report and %1.bas in %2")
                   .arg(reportName, looked.isEmpty() ? QStringLiteral("no folder") : looked.join(QStringLiteral(", "))));
        return false;
    }
    return convert(path, reportName, target);
}

void AccessImportDriver::convertExport(const QString &exportPath, const QString &reportName)
{
    if (!m_report) {
        addLog(QStringLiteral("Error: There is no report to convert into"));
        return;
    }
    convert(exportPath, reportName, *m_report);
}

QString AccessImportDriver::layoutFileName(const QString &reportName)
{
    QString name = CAccessImport::sanitizeName(reportName);
    name.replace(u'/', u'_');
    name.replace(u'\\', u'_');
    if (name.isEmpty())
        name = QStringLiteral("_");
    return name + QStringLiteral(".rpx");
}

namespace {

// The reports an export holds as subreports: the SourceObject of its
// subreport controls, without the "Report." prefix.
void collectSubreports(const AccessImport::ExportNode &node, QStringList *out)
{
    const QString kind = node.kind.toLower();
    if (kind == u"subform" || kind == u"subreport") {
        if (const AccessImport::ExportValue *v = node.property(u"SourceObject");
            v && v->kind == AccessImport::ExportValue::String) {
            QString name = v->text;
            if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
                name = name.mid(dot + 1);
            out->append(name);
        }
    }
    for (const auto &child : node.children)
        collectSubreports(*child, out);
}

} // namespace

QStringList AccessImportDriver::subreportsFirst(const QStringList &names) const
{
    // Each export is read once for its subreports and let go, so memory
    // stays that of one export however many reports there are.
    QHash<QString, QStringList> children;
    for (const QString &name : names) {
        const QString path = findExport(name);
        AccessImport::ExportFile file;
        if (path.isEmpty() || !AccessImport::readExportFile(path, &file, m_codePage) || !file.report)
            continue;
        QStringList subs;
        collectSubreports(*file.report, &subs);
        children.insert(name.toLower(), subs);
    }
    QStringList order;
    QSet<QString> placed, visiting;
    // Depth first, children before parents; a report that holds itself
    // (directly or not) is placed where the cycle is found.
    std::function<void(const QString &)> place = [&](const QString &name) {
        const QString key = name.toLower();
        if (placed.contains(key) || visiting.contains(key))
            return;
        visiting.insert(key);
        for (const QString &child : children.value(key))
            for (const QString &candidate : names)
                if (candidate.compare(child, Qt::CaseInsensitive) == 0)
                    place(candidate);
        visiting.remove(key);
        placed.insert(key);
        order << name;
    };
    for (const QString &name : names)
        place(name);
    return order;
}

AccessImportDriver::BatchResult AccessImportDriver::convertAll(const QStringList &names, const QString &folder)
{
    BatchResult result;
    addLog(QStringLiteral("*** Starting conversion ***"));
    const QFileInfo dir(folder);
    if (folder.isEmpty() || (!dir.isDir() && !QDir().mkpath(folder)) || !QFileInfo(folder).isWritable()) {
        addLog(QStringLiteral("Error: The folder \"%1\" cannot be written; no report was converted")
                   .arg(QDir::toNativeSeparators(folder)));
        result.failed = int(names.size());
        return result;
    }
    const QStringList order = subreportsFirst(names);
    QStringList lines;
    QSet<QString> files;
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (m_cancel && m_cancel->load()) {
            result.cancelled = true;
            result.notStarted = int(order.size() - i);
            addLog(QStringLiteral("*** Conversion cancelled: %1 of %2 reports not converted ***")
                       .arg(result.notStarted)
                       .arg(order.size()));
            break;
        }
        const QString &name = order[i];
        const QString file = layoutFileName(name);
        const QString path = QDir(folder).filePath(file);
        addLog(QStringLiteral("Converting report \"%1\" into %2").arg(name, file));
        if (files.contains(file.toLower())) {
            addLog(QStringLiteral("Error: Report \"%1\" would be written to %2, which another report of this conversion was written to")
                       .arg(name, file));
            ++result.failed;
            lines << QStringLiteral("  %1: not converted, its file name is taken").arg(name);
            continue;
        }
        const bool exported = !findExport(name).isEmpty();
        Report design;
        if (!convertReportInto(name, design)) {
            ++(exported ? result.failed : result.missing);
            lines << (exported ? QStringLiteral("  %1: could not be read") : QStringLiteral("  %1: no export")).arg(name);
            continue;
        }
        if (const Status s = SaveLayout(design, path, LayoutFile::ToFile); !s) {
            addLog(QStringLiteral("Error: Cannot write %1: %2").arg(QDir::toNativeSeparators(path), s.description()));
            ++result.failed;
            lines << QStringLiteral("  %1: could not be written").arg(name);
            continue;
        }
        files.insert(file.toLower());
        ++result.converted;
        result.written << path;
        lines << QStringLiteral("  %1 -> %2").arg(name, file);
    }
    if (!result.cancelled)
        addLog(QStringLiteral("*** Conversion complete ***"));
    QString text = QStringLiteral("The following reports were converted from database ") + u'"' + m_databasePath + u'"'
        + QStringLiteral(" and placed in the following directory:") + CrLf + QStringLiteral("- ")
        + QDir::toNativeSeparators(folder);
    for (const QString &line : lines)
        text += CrLf + line;
    text += CrLf + QStringLiteral("%1 converted, %2 without an export, %3 failed").arg(result.converted).arg(result.missing).arg(result.failed);
    if (result.cancelled)
        text += QStringLiteral(", %1 not converted (cancelled)").arg(result.notStarted);
    appendSummary(text);
    return result;
}

bool AccessImportDriver::convert(const QString &exportPath, const QString &reportName, Report &target)
{
    std::unique_ptr<AccessImport::AccessReport> src;
    if (Status s = AccessImport::AccessReport::load(exportPath, &src, reportName, m_codePage); !s) {
        addLog(QStringLiteral("Error: ") + s.description());
        return false;
    }
    if (src->file().report && src->file().report->kind.compare(u"Report", Qt::CaseInsensitive) != 0) {
        addLog(QStringLiteral("Error: %1 is the export of a %2, not of a report")
                   .arg(QDir::toNativeSeparators(exportPath), src->file().report->kind.toLower()));
        return false;
    }
    CAccessImport converter(m_ui);
    converter.setDatabasePath(m_databasePath);
    converter.setLogListener(m_listener);
    converter.importTemplate(*src, target, m_options, &m_log);
    return true;
}

} // namespace Orv
