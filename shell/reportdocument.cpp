#include "shell/reportdocument.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/widgets/designer/designercore.h"
#include "shell/settingsstore.h"
#include "shell/startdialogmodel.h"
#include "ui/uiseam.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace Orv {

QString ReportDocument::layoutFilter()
{
    return tr("Orv自定义报表 (*.rpx)|*.rpx");
}

QString ReportDocument::archiveFilter()
{
    return tr("Orv自定义报表 (*.rdf)|*.rdf");
}

QString ReportDocument::startDialogFilter()
{
    return tr("Orv自定义报表 (*.rpx)|*.rpx|All Files (*.*)|*.*");
}

QString ReportDocument::qtFilter(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        // The description's own pattern list is replaced by the real one,
        // which is what Qt's dialog filters on.
        QString description = parts[i].trimmed();
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)$")));
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QLatin1String(";;"));
}

QString ReportDocument::folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString ReportDocument::pathLabelFor(const QString &path)
{
    return tr("报表路径[%1]").arg(path);
}

ReportDocument::ReportDocument(DesignerCore &designer, Ui &ui, SettingsStore &settings, DocumentHost &host,
                               const QString &programFolder, QObject *parent)
    : QObject(parent), m_designer(designer), m_ui(ui), m_settings(settings), m_host(host), m_folder(programFolder),
      m_label(pathLabelFor(QString()))
{
}

ReportDocument::~ReportDocument() = default;

bool ReportDocument::showStartDialog() const
{
    return m_settings.readNumber(SettingsStore::showFileDialogOnStartup(), 1) == 1;
}

void ReportDocument::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    Q_EMIT pathLabelChanged(label);
}

// Kept absolute, so that the recent files open from any working folder.
void ReportDocument::setPath(const QString &path)
{
    m_path = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    if (!m_path.isEmpty())
        m_folder = folderOf(m_path);
    Q_EMIT currentPathChanged(m_path);
}

bool ReportDocument::NewReport()
{
    if (m_designer.IsDirty()) {
        const MessageResult answer =
            m_ui.messageBox(tr("Save changes to the report?"), tr("Save"), MessageButtons::YesNoCancel);
        if (answer == MessageResult::Cancel)
            return false;
        // A save the user backs out of keeps the design as it is.
        if (answer == MessageResult::Yes && FileSave() == SaveResult::Cancelled)
            return false;
    }
    m_designer.NewLayout();
    m_path.clear();
    Q_EMIT currentPathChanged(m_path);
    m_designer.setIsDirty(false);
    return true;
}

FileDialogRequest ReportDocument::archiveRequest(const QString &title) const
{
    FileDialogRequest request;
    request.title = title;
    request.filter = qtFilter(archiveFilter());
    request.folder = m_folder;
    return request;
}

void ReportDocument::FileOpen()
{
    if (m_view == ViewMode::Preview) {
        const QString path = m_ui.openFileName(archiveRequest(tr("打开")));
        if (!path.isEmpty())
            OpenReportArchive(path);
        return;
    }
    if (m_designer.IsDirty()
        && m_ui.messageBox(tr("报表已修改，是否保存？"), tr("报表保存"), MessageButtons::YesNo, MessageIcon::Question)
               == MessageResult::Yes)
        FileSave();
    runStartDialog(false);
}

SaveResult ReportDocument::FileSave()
{
    if (m_view == ViewMode::Preview) {
        const QString path = m_ui.saveFileName(archiveRequest(tr("保存")));
        if (path.isEmpty())
            return SaveResult::Cancelled;
        return SaveReportArchive(path) ? SaveResult::Saved : SaveResult::Failed;
    }
    if (m_path.isEmpty())
        return FileSaveAs();
    return SaveReportLayout(m_path) ? SaveResult::Saved : SaveResult::Failed;
}

SaveResult ReportDocument::FileSaveAs()
{
    FileDialogRequest request;
    request.title = tr("另存为");
    request.filter = qtFilter(layoutFilter());
    request.folder = m_folder;
    if (!m_path.isEmpty())
        request.fileName = QFileInfo(m_path).fileName();
    QString path = m_ui.saveFileName(request);
    if (path.isEmpty())
        return SaveResult::Cancelled;
    // The dialog's default extension.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".rpx");
    return SaveReportLayout(path) ? SaveResult::Saved : SaveResult::Failed;
}

bool ReportDocument::OpenReportLayout(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    const QString oldLabel = m_label;
    setLabel(pathLabelFor(QFileInfo(path).absoluteFilePath()));
    const Status status = m_designer.loadLayout(path);
    if (!status.ok()) {
        // The design is as it was, and so is its label.
        setLabel(oldLabel);
        m_ui.showError(status, tr("Error Opening Report - OpenReportLayout(") + path + QLatin1Char(')'));
        return false;
    }
    setPath(path);
    return true;
}

bool ReportDocument::SaveReportLayout(const QString &path)
{
    const Status status = SaveLayout(*m_designer.DesignedReport(), path, LayoutFile::ToFile);
    if (!status.ok()) {
        m_ui.showError(status, tr("Error Saving Report Layout - File: ") + path);
        return false;
    }
    setPath(path);
    m_recent.add(m_path, RecentFiles::today());
    Q_EMIT recentFilesChanged();
    return true;
}

bool ReportDocument::OpenReportArchive(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    const Status status = m_host.loadArchive(path);
    if (!status.ok()) {
        m_ui.showError(status, tr("Error Opening Report Archive - OpenReportArchive(") + path + QLatin1Char(')'));
        return false;
    }
    return true;
}

bool ReportDocument::SaveReportArchive(const QString &path)
{
    const Status status = m_host.saveArchive(path);
    if (!status.ok()) {
        m_ui.showError(status, tr("Error Saving Report Archive - File: ") + path);
        return false;
    }
    return true;
}

void ReportDocument::StartReportWizard()
{
    if (!NewReport())
        return;
    const Status status = m_host.runReportWizard();
    if (!status.ok())
        m_ui.showError(status, tr("Error: 新建报表向导"));
}

void ReportDocument::StartAccessImport()
{
    if (!NewReport())
        return;
    std::ignore = m_host.runAccessImport(); // the import dialog shows its own errors
}

void ReportDocument::runStartDialog(bool showNew)
{
    StartDialogModel model;
    model.setShowNew(showNew);
    if (showNew) {
        model.addStandardNewTypes();
    }
    for (const RecentFile &entry : m_recent.list()) {
        const QString folder = folderOf(entry.path);
        model.AddExistItem(entry.path.mid(folder.size()), folder, entry.date, QStringLiteral("RPX"));
    }
    model.setInitialFolder(m_folder);
    m_host.runStartDialog(model);
    if (!model.Cancelled()) {
        const QString chosen = model.Filename();
        if (model.IsNew()) {
            if (chosen == StartDialogModel::blankReport())
                NewReport();
            else if (chosen == StartDialogModel::reportWizard())
                StartReportWizard();
            else if (chosen == StartDialogModel::importAccess())
                StartAccessImport();
        } else {
            OpenReportLayout(chosen);
        }
    }
    if (model.dontShowAgain())
        m_settings.writeNumber(SettingsStore::showFileDialogOnStartup(), 0);
}

bool ReportDocument::confirmClose()
{
    if (!m_designer.IsDirty())
        return true;
    switch (m_ui.messageBox(tr("报表已修改，是否保存？"), tr("报表保存"), MessageButtons::YesNoCancel,
                            MessageIcon::Question)) {
    case MessageResult::Yes:
        // A save that fails has been reported; the window closes all the same.
        return FileSave() != SaveResult::Cancelled;
    case MessageResult::No:
        return true;
    default:
        return false;
    }
}

void ReportDocument::LoadRecentFiles()
{
    m_recent.load(m_settings);
    Q_EMIT recentFilesChanged();
}

void ReportDocument::SaveRecentFiles()
{
    m_recent.save(m_settings);
}

} // namespace Orv
