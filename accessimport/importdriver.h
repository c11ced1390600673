#pragma once

#include "accessimport/accessimport.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace Orv {

class Report;
class Ui;

// The import driver without Access: the database file is read with
// mdbtools (report list), each report's design from the text export Access
// writes of it, found beside the database. Holds what the import wizard
// holds: the open database, the report list with its current item, the
// designer's report, the log list and the summary text.
//
// The conversion may run on a thread of its own: the driver is then used
// by that thread alone until it is done, and the ui given must be null or
// usable from there (conversion problems go to the log, never to boxes).
class AccessImportDriver
{
public:
    // Told of every line added to the log, on the thread converting.
    using LogListener = std::function<void(const QString &line)>;

    // What a conversion of several reports into a folder did.
    struct BatchResult
    {
        int converted = 0;  // layouts written
        int missing = 0;    // no export found
        int failed = 0;     // the export could not be read or the layout not written
        int notStarted = 0; // left when the conversion was cancelled
        bool cancelled = false;
        QStringList written; // the layouts' paths, in the order converted
    };

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
    // the error box titled "Error Listing the Reports". No report is made
    // current: the choice is the user's.
    void listReports();
    // Without a database: the reports are the exports found in the
    // exports folder (and its reports/ folder), by name.
    void listExports();
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
    // How many of the listed reports have an export.
    int exportCount() const;
    // The file a report's layout is written to in a folder: the name the
    // converter gives subreports' ReportName, so parents find them.
    static QString layoutFileName(const QString &reportName);
    // names in the order to convert them: each report after the listed
    // reports it holds as subreports, otherwise as given.
    QStringList subreportsFirst(const QStringList &names) const;

    // The options page.
    CAccessImportSettings &options() { return m_options; }
    void setCodePage(const QString &codePage) { m_codePage = codePage; }

    // Converts the current report with the start and completion lines and
    // appends the framed summary; true when a report was current and its
    // export was read.
    bool convertReports();
    // Converts one report into the designer's report.
    void convertReport(const QString &reportName);
    // Converts one report into target; false (after the "Error: " line)
    // when its export is missing or cannot be read. Lines inside the
    // conversion ("ERROR #") do not make it fail.
    bool convertReportInto(const QString &reportName, Report &target);
    // Converts each report into a layout of its own in folder, subreports
    // first, between the start and completion lines, and appends a
    // summary counting each. Stops between reports once the cancel flag
    // is set.
    BatchResult convertAll(const QStringList &names, const QString &folder);
    // Converts a report from its export alone (no database at hand).
    void convertExport(const QString &exportPath, const QString &reportName = QString());

    const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    QString summary() const { return m_summary; }
    void setLogListener(LogListener listener) { m_listener = std::move(listener); }
    // Read between reports; not owned.
    void setCancelFlag(const std::atomic_bool *cancel) { m_cancel = cancel; }

private:
    bool convert(const QString &exportPath, const QString &reportName, Report &target);
    void addLog(const QString &line);
    void appendSummary(const QString &text);
    QStringList exportsFound() const;

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
    LogListener m_listener;
    const std::atomic_bool *m_cancel = nullptr;
    QString m_summary = QStringLiteral("Access to OrvReport Wizard completed.\r\n");
};

// The rows of type -32764 of MSysObjects, in table order.
Status listAccessReports(const QString &databasePath, QStringList *names);

} // namespace Orv
