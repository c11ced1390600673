#pragma once
// The report the main window works on, without the window: the current
// path and folder, the path label, the view that decides which file kind
// Open and Save address, the recent files, and the flows new, open, save,
// save as, archives, the start dialog and the close prompt. Every question
// to the user goes through the ui seam, so tests drive the flows headless.
#include "engine/core/status.h"
#include "shell/recentfiles.h"

#include <QObject>
#include <QString>

namespace Orv {

class DesignerCore;
struct FileDialogRequest;
class SettingsStore;
class StartDialogModel;
class Ui;

enum class ViewMode { Design = 0, Preview = 1 };
// How a save ended: Cancelled when the user closed the file dialog.
enum class SaveResult { Saved, Cancelled, Failed };

// What the window does for the flows: the viewer's archive, the start
// dialog, and the two wizards that fill the emptied design.
class DocumentHost
{
public:
    virtual ~DocumentHost() = default;
    virtual Status loadArchive(const QString &path) = 0;
    virtual Status saveArchive(const QString &path) = 0;
    // Shows the start dialog modally; its answer is in the model afterwards.
    virtual void runStartDialog(StartDialogModel &model) = 0;
    virtual Status runReportWizard() = 0;
    virtual Status runAccessImport() = 0;
};

class ReportDocument : public QObject
{
    Q_OBJECT

public:
    // File dialog filters, in the "description|pattern|..." form.
    static QString layoutFilter();
    static QString archiveFilter();
    static QString startDialogFilter();
    // "a (*.x)|*.x|b|*.*" as a Qt filter, "a (*.x);;b (*)": "*.*" matches
    // every file, with or without a dot.
    static QString qtFilter(const QString &pipeFilter);
    // The path up to and including its last separator ("" without one).
    static QString folderOf(const QString &path);
    static QString pathLabelFor(const QString &path);

    ReportDocument(DesignerCore &designer, Ui &ui, SettingsStore &settings, DocumentHost &host,
                   const QString &programFolder, QObject *parent = nullptr);
    ~ReportDocument() override;

    ViewMode viewMode() const { return m_view; }
    void setViewMode(ViewMode view) { m_view = view; }
    QString currentPath() const { return m_path; }
    QString currentFolder() const { return m_folder; }
    QString pathLabel() const { return m_label; }
    RecentFiles &recentFiles() { return m_recent; }
    const RecentFiles &recentFiles() const { return m_recent; }
    // "ShowFileDialogOnStartup" is exactly 1 (missing reads as 1).
    bool showStartDialog() const;

    // Empties the design after asking to save unsaved changes; false when
    // the user cancelled.
    bool NewReport();
    void FileOpen();
    SaveResult FileSave();
    SaveResult FileSaveAs();
    // Each reports its failure and returns false; a missing file to open
    // is ignored (false, no message).
    bool OpenReportLayout(const QString &path);
    bool SaveReportLayout(const QString &path);
    bool OpenReportArchive(const QString &path);
    bool SaveReportArchive(const QString &path);
    void StartReportWizard();
    void StartAccessImport();
    // The start dialog, with or without its New tab, and what its answer
    // asks for.
    void runStartDialog(bool showNew);

    // The close request: true when the window may close (the user saved,
    // declined, or there was nothing to save). A save whose file dialog is
    // cancelled keeps the window open; one that fails has been reported
    // and the window closes.
    bool confirmClose();

    void LoadRecentFiles();
    void SaveRecentFiles();

Q_SIGNALS:
    void pathLabelChanged(const QString &label);
    void currentPathChanged(const QString &path);
    void recentFilesChanged();

private:
    FileDialogRequest archiveRequest(const QString &title) const;
    void setLabel(const QString &label);
    void setPath(const QString &path);

    DesignerCore &m_designer;
    Ui &m_ui;
    SettingsStore &m_settings;
    DocumentHost &m_host;
    ViewMode m_view = ViewMode::Design;
    QString m_path;
    QString m_folder;
    QString m_label;
    RecentFiles m_recent;
};

} // namespace Orv
