#include "accessimport/importdriver.h"

#include "engine/model/report.h"
#include "ui/uiseam.h"

#include <QDir>
#include <QFileInfo>
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
        QStringList names;
        for (const QString &folder : exportFolders())
            for (const QFileInfo &f : QDir(folder).entryInfoList({QStringLiteral("*.txt"), QStringLiteral("*.report"), QStringLiteral("*.bas")},
                                                                QDir::Files, QDir::Name))
                if (!names.contains(f.completeBaseName(), Qt::CaseInsensitive))
                    names << f.completeBaseName();
        m_reports = names;
    } else {
        s = listAccessReports(m_databasePath, &m_reports);
    }
    if (!s && m_ui)
        m_ui->messageBox(errorText(s.number(), s.description()), QStringLiteral("Error Listing the Reports"));
    if (!m_reports.isEmpty())
        m_current = 0;
}

void AccessImportDriver::convertReports()
{
    m_log.append(QStringLiteral("*** Starting conversion ***"));
    if (m_current < 0 || m_current >= m_reports.size())
        return;
    convertReport(m_reports[m_current]);
    m_log.append(QStringLiteral("*** Conversion complete ***"));
    const QString text = QStringLiteral("The following reports were converted from database ") + u'"' + m_databasePath + u'"'
        + QStringLiteral(" and placed in the following directory:") + CrLf + QStringLiteral("- ") + m_options.msReportsPath;
    if (!m_summary.isEmpty())
        m_summary += CrLf;
    const QString rule(60, u'=');
    m_summary += rule + CrLf + text + CrLf + rule;
}

void AccessImportDriver::convertReport(const QString &reportName)
{
    const QString path = findExport(reportName);
    if (path.isEmpty()) {
        QStringList looked;
        for (const QString &f : exportFolders())
            looked << QDir::toNativeSeparators(f);
        m_log.append(QStringLiteral("Error: No text export of report \"%1\" was found; looked for %1.txt, %1.report and %1.bas in %2")
                         .arg(reportName, looked.isEmpty() ? QStringLiteral("no folder") : looked.join(QStringLiteral(", "))));
        return;
    }
    convert(path, reportName);
}

void AccessImportDriver::convertExport(const QString &exportPath, const QString &reportName)
{
    convert(exportPath, reportName);
}

void AccessImportDriver::convert(const QString &exportPath, const QString &reportName)
{
    if (!m_report) {
        m_log.append(QStringLiteral("Error: There is no report to convert into"));
        return;
    }
    std::unique_ptr<AccessImport::AccessReport> src;
    if (Status s = AccessImport::AccessReport::load(exportPath, &src, reportName, m_codePage); !s) {
        m_log.append(QStringLiteral("Error: ") + s.description());
        return;
    }
    CAccessImport converter(m_ui);
    converter.setDatabasePath(m_databasePath);
    converter.importTemplate(*src, *m_report, m_options, &m_log);
}

} // namespace Orv
