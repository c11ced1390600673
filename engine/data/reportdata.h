#pragma once
// What a report reads: the connection string and statement its data control
// names, and the open connection and recordset of a run.
#include "engine/core/status.h"
#include "engine/data/connection.h"

#include <QString>
#include <memory>

namespace Orv {
class Control;
class Report;
}

namespace Orv::Data {

struct ReportDataSource
{
    QString connectionString;
    QString sql;
};

// The report's data control: the first DataControl or DAODataControl in
// section order, or null when the report has none.
Control *findDataControl(const Report &report);

// The connection string and statement a data control names.
// - DataControl: ConnectionString and Source as they stand.
// - DAODataControl: the Access file DatabaseName through the Access
//   provider; a RecordSource that is not a statement is a table or query
//   name, read whole.
// Every "$fulldbpath$" becomes databasePath, and a relative database file
// name is taken relative to reportFolder when it exists there. A control
// that names no source gives error 3709 ("no connection or statement").
ReportDataSource dataSourceOf(const Control &dataControl, const QString &reportFolder,
                              const QString &databasePath, Status *status);

// "select * from [name]" unless text already reads rows (SELECT, WITH,
// TRANSFORM or a parenthesised statement).
QString statementFor(const QString &recordSource);

// An open connection with the recordset of its statement.
class ReportData
{
public:
    ReportData();
    ~ReportData();
    Status open(const ReportDataSource &source);
    void close();
    Connection &connection() { return m_connection; }
    Recordset *recordset() const { return m_recordset.get(); }

private:
    Connection m_connection;
    std::unique_ptr<Recordset> m_recordset;
};

} // namespace Orv::Data
