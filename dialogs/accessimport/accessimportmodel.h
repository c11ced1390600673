#pragma once
// The rules of frmAccessToOrv, the six-page Access import wizard, without
// its window: which page is shown and which buttons are enabled, what Next
// checks and does on each page, the report list with its check marks, the
// options, and the conversion, which runs on a thread of its own with its
// log lines arriving as they are written and Cancel taking effect between
// reports. The designer's report is changed only when a conversion
// succeeds, as one undo step when the designer's undo stack is given.
#include "accessimport/importdriver.h"

#include <QObject>
#include <QPointer>
#include <QUndoStack>
#include <QStringList>

#include <atomic>
#include <memory>

class QThread;


namespace Orv {

class Report;
class Ui;

class AccessImportModel : public QObject
{
    Q_OBJECT

public:
    enum Page { StartPage = 0, DatabasePage, ReportsPage, OptionsPage, ConvertingPage, FinishedPage, PageCount };

    struct Charset
    {
        const char *name;
        int value;
    };
    // The entries of cmbCharset, in order, with the numbers they store.
    static const QList<Charset> &charsets();
    // The open-file dialog's filter (the "description|pattern|..." form).
    static QString databaseFilter();

    explicit AccessImportModel(Ui &ui, QObject *parent = nullptr);
    // Waits for a conversion still running (it stops at the next report).
    ~AccessImportModel() override;

    void SetReport(Report *report) { m_report = report; }
    void setUndoStack(QUndoStack *stack) { m_undo = stack; }

    int currentPage() const { return m_page; }
    bool backEnabled() const { return m_page >= 1 && !m_running; }
    bool nextEnabled() const { return m_page < FinishedPage && !m_running; }
    bool finishEnabled() const { return m_page == FinishedPage; }
    bool cancelEnabled() const { return m_page < FinishedPage; }

    // Next: checks the page, does the next page's entry work, shows it and
    // what follows its showing (the conversion on the converting page).
    // False when the page's check refused.
    bool goNext();
    void goBack();
    // Cancel: true when the window may close now; during a conversion it
    // asks the conversion to stop and the window stays until it has.
    bool cancel();
    bool isRunning() const { return m_running; }
    bool cancelRequested() const { return m_cancel.load(); }

    // The database page.
    QString databaseText() const { return m_database; }
    void setDatabaseText(const QString &text) { m_database = text; }
    // Empty: beside the database, as the importer looks.
    QString exportsFolder() const { return m_exportsFolder; }
    void setExportsFolder(const QString &folder) { m_exportsFolder = folder; }
    // Where exports are looked for when the folder is left empty.
    QString defaultExportsFolder() const;
    // What the page says about the exports of the database named: how
    // many of its reports have one, or why it cannot tell. Lists the
    // reports again (mdbtools), so the window calls it once typing stops.
    QString exportsNote() const;
    // btnOpen and btnBrowseExports through the ui seam.
    void browseDatabase();
    void browseExportsFolder();
    // A message shown on the current page (empty when all is well).
    QString pageMessage() const { return m_message; }

    // The reports page: the reports with their check marks; entry 0 is
    // the master entry "(All reports)" when there are reports.
    struct Entry
    {
        QString name;
        bool hasExport = false;
        bool checked = false;
    };
    const QList<Entry> &entries() const { return m_entries; }
    // Sets one check mark and applies the master-entry rule: the master
    // sets every entry; another entry sets the master when all are set.
    void setChecked(int index, bool checked);
    int checkedCount() const;
    // The list's current entry (-1 none); in a single conversion it is the
    // report converted.
    int currentEntry() const { return m_currentEntry; }
    void setCurrentEntry(int index) { m_currentEntry = index; }

    // The options page.
    CAccessImportSettings &options() { return m_options; }
    int charsetIndex() const { return m_charsetIndex; }
    void setCharsetIndex(int index);
    bool saveAsBinary() const { return m_saveAsBinary; }
    void setSaveAsBinary(bool on) { m_saveAsBinary = on; }
    // Convert every checked report into a layout file in the reports path.
    bool convertAll() const { return m_convertAll; }
    // Ticking it proposes a folder beside the database when none is set.
    void setConvertAll(bool on);
    QString reportsPath() const { return m_options.msReportsPath; }
    void setReportsPath(const QString &path) { m_options.msReportsPath = path; }
    void browseReportsPath();

    // The converting and finished pages.
    const QStringList &statusLines() const { return m_status; }
    QString summary() const { return m_driver.summary(); }
    // Layouts written by the last conversion into a folder.
    const QStringList &writtenLayouts() const { return m_written; }
    // Whether the last conversion put a report into the designer's report.
    bool designChanged() const { return m_applied; }

    AccessImportDriver &driver() { return m_driver; }

Q_SIGNALS:
    void pageChanged(int page);
    // The buttons' states, the page message or the list changed.
    void stateChanged();
    // The list was filled afresh, or only its marks changed.
    void entriesChanged();
    void checksChanged();
    void statusLineAdded(const QString &line);
    void statusCleared();
    void conversionFinished();

private:
    void showStep(int page);
    bool validateStep(int page);
    void enterStep(int page);
    void afterStep(int page);
    void fillEntries();
    void startConversion();
    void conversionDone();
    void setMessage(const QString &message);

    Ui &m_ui;
    AccessImportDriver m_driver;
    Report *m_report = nullptr;
    QPointer<QUndoStack> m_undo;
    int m_page = -1;
    QString m_database;
    QString m_exportsFolder;
    QString m_message;
    QList<Entry> m_entries;
    int m_currentEntry = -1;
    bool m_inCheck = false;
    CAccessImportSettings m_options;
    int m_charsetIndex = 0;
    bool m_saveAsBinary = false;
    bool m_convertAll = false;
    QStringList m_status;
    QStringList m_written;
    bool m_applied = false;

    // The conversion: the driver belongs to the thread while it runs.
    QThread *m_thread = nullptr;
    bool m_running = false;
    std::atomic_bool m_cancel{false};
    std::unique_ptr<Report> m_result;
    bool m_resultOk = false;
    AccessImportDriver::BatchResult m_batch;
};

} // namespace Orv
