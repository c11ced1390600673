#include "engine/data/reportdata.h"

#include "engine/data/connectionstring.h"
#include "engine/data/driver.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace Orv::Data {

Control *findDataControl(const Report &report)
{
    for (Control *control : report.allControls()) {
        if (qobject_cast<DataControl *>(control) || qobject_cast<DAODataControl *>(control))
            return control;
    }
    return nullptr;
}

QString statementFor(const QString &recordSource)
{
    static const QRegularExpression reads(QStringLiteral("^\\s*(\\(|select\\b|with\\b|transform\\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = recordSource.trimmed();
    if (reads.match(trimmed).hasMatch())
        return recordSource;
    QString name = trimmed;
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    return QStringLiteral("select * from [%1]").arg(name);
}

namespace {

// A relative file name in the Data Source is found beside the report, or
// else in the working folder. When it is in neither, the name beside the
// report is kept, so the error names a full path.
QString resolveRelativeSource(const QString &connectionString, const QString &reportFolder)
{
    if (reportFolder.isEmpty())
        return connectionString;
    ConnectionString cs;
    Status ignored;
    if (!ConnectionString::parse(connectionString, &cs, &ignored))
        return connectionString; // Open reports the syntax error with its position
    // Only file databases have files to find; a server's Data Source is a host.
    const QString provider = providerFor(cs, nullptr);
    if (provider != QLatin1String("SQLite") && provider != QLatin1String("Access"))
        return connectionString;
    for (const char *key : {"Data Source", "Database", "DBQ"}) {
        const QString source = cs.value(QString::fromLatin1(key));
        if (source.isEmpty() || QDir::isAbsolutePath(source))
            continue;
        const QString candidate = QDir(reportFolder).filePath(source);
        if (QFileInfo::exists(candidate) || !QFileInfo::exists(source)) {
            cs.setValue(QString::fromLatin1(key), QDir::cleanPath(candidate));
            return cs.toString();
        }
    }
    return connectionString;
}

} // namespace

ReportDataSource dataSourceOf(const Control &dataControl, const QString &reportFolder,
                              const QString &databasePath, Status *status)
{
    ReportDataSource result;
    if (auto *ado = qobject_cast<const DataControl *>(&dataControl)) {
        result.connectionString = ado->connectionString();
        result.sql = ado->source();
    } else if (auto *dao = qobject_cast<const DAODataControl *>(&dataControl)) {
        QString file = dao->databaseName();
        if (!file.isEmpty()) {
            ConnectionString cs;
            cs.setValue(QStringLiteral("Provider"), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
            cs.setValue(QStringLiteral("Data Source"), file);
            result.connectionString = cs.toString();
        }
        if (!dao->recordSource().trimmed().isEmpty())
            result.sql = statementFor(dao->recordSource());
    }
    result.connectionString = resolveRelativeSource(
        resolveDatabasePathTemplate(result.connectionString, databasePath), reportFolder);
    if (status) {
        if (result.connectionString.trimmed().isEmpty())
            *status = Status::failure(ErrConnectionUnusable, QStringLiteral("The data control %1 names no connection").arg(dataControl.name()));
        else if (result.sql.trimmed().isEmpty())
            *status = Status::failure(ErrConnectionUnusable, QStringLiteral("The data control %1 names no statement or table").arg(dataControl.name()));
        else
            *status = Status();
    }
    return result;
}

ReportData::ReportData() = default;

ReportData::~ReportData()
{
    close();
}

Status ReportData::open(const ReportDataSource &source)
{
    close();
    Status status = m_connection.Open(source.connectionString);
    if (!status.ok())
        return status;
    m_recordset = m_connection.Execute(source.sql, &status);
    if (!status.ok())
        m_connection.Close();
    return status;
}

void ReportData::close()
{
    if (m_recordset)
        m_recordset->Close();
    m_recordset.reset();
    if (m_connection.state() == Connection::adStateOpen)
        m_connection.Close();
}

} // namespace Orv::Data
