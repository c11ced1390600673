#pragma once

#include "accessimport/accessimport.h"

#include <QString>
#include <QStringList>

namespace Orv {

class Report;
class Ui;

// The import driver without Access: the database file is read with
// mdbtools (report list), each report's design from the text export Access
// writes of it, found beside the database. Holds what the import wizard
// holds: the open database, the report list with its current item, the
// designer's report, the log list and the summary text.
class AccessImportDriver
{
public:
    explicit AccessImportDriver(Ui *ui = nullptr);

    void SetReport(Report *report) { m_report = report; }

    // Opens a database (.mdb, .accdb) or, for a path ending in "adp" in any
    // case, a project. False, after the error box, when it cannot be read.
    bool openDatabase(const QString &path);
    void closeAccess();
    bool isProject() const { return m_project; }
    QString databasePath() const { return m_databasePath; }

    // Fills the report list: the Name of every MSysObjects row of type
    // -32764 in table order; for a project, the exports found. On failure
    // the error box titled "Error Listing the Reports".
    void listReports();
    const QStringList &reports() const { return m_reports; }
    int currentReport() const { return m_current; }
    void setCurrentReport(int index) { m_current = index; }

    // Where exports are looked for: the folder the user picked, then the
    // folders beside the database named like it (Northwind/ or
    // Northwind.mdb.src/, each also with a reports/ folder in it).
    void setExportsFolder(const QString &folder) { m_exportsFolder = folder; }
    QStringList exportFolders() const;
    // The export of a report (<name>.txt, .report or .bas), or empty.
    QString findExport(const QString &reportName) const;

    // The options page.
    CAccessImportSettings &options() { return m_options; }
    void setCodePage(const QString &codePage) { m_codePage = codePage; }

    // Converts the current report with the start and completion lines and
    // appends the framed summary.
    void convertReports();
    // Converts one report into the designer's report.
    void convertReport(const QString &reportName);
    // Converts a report from its export alone (no database at hand).
    void convertExport(const QString &exportPath, const QString &reportName = QString());

    const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    QString summary() const { return m_summary; }

private:
    void convert(const QString &exportPath, const QString &reportName);

    Ui *m_ui;
    Report *m_report = nullptr;
    QString m_databasePath;
    bool m_open = false;
    bool m_project = false;
    QStringList m_reports;
    int m_current = -1;
    QString m_exportsFolder;
    QString m_codePage;
    CAccessImportSettings m_options;
    QStringList m_log;
    QString m_summary = QStringLiteral("Access to OrvReport Wizard completed.\r\n");
};

// The rows of type -32764 of MSysObjects, in table order.
Status listAccessReports(const QString &databasePath, QStringList *names);

} // namespace Orv
