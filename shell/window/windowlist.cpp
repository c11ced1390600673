#include "shell/window/windowlist.h"

#include "shell/recentfiles.h"
#include "shell/reportdocument.h"
#include "shell/startdialogmodel.h"
#include "shell/window/mainwindow.h"
#include "shell/window/startdialog.h"

namespace Orv {

namespace {

// The start dialog as File > Open shows it at start-up, with the layout
// shown standing in for the recent files; tab is New, Existing or Recent.
QWidget *startDialog(MainWindow &window, const QString &path, const QString &tab)
{
    auto *model = new StartDialogModel;
    model->setShowNew(true);
    model->addStandardNewTypes();
    const QString folder = ReportDocument::folderOf(path);
    model->setInitialFolder(folder);
    if (!path.isEmpty())
        model->AddExistItem(path.mid(folder.size()), folder, RecentFiles::today(), QStringLiteral("RPX"));
    auto *dialog = new frmFileDialog(*model, &window);
    model->setParent(dialog);
    dialog->showTab(tab);
    return dialog;
}

} // namespace

const QList<WindowEntry> &programWindows()
{
    static const QList<WindowEntry> windows = {
        {QStringLiteral("main"), [](MainWindow &w, const QString &) -> QWidget * { return &w; }},
        {QStringLiteral("preview"),
         [](MainWindow &w, const QString &) -> QWidget * {
             w.setView(1);
             return &w;
         }},
        {QStringLiteral("start-dialog"),
         [](MainWindow &w, const QString &path) { return startDialog(w, path, QStringLiteral("New")); }},
        {QStringLiteral("start-dialog-existing"),
         [](MainWindow &w, const QString &path) { return startDialog(w, path, QStringLiteral("Existing")); }},
        {QStringLiteral("start-dialog-recent"),
         [](MainWindow &w, const QString &path) { return startDialog(w, path, QStringLiteral("Recent")); }},
    };
    return windows;
}

const WindowEntry *programWindow(const QString &name)
{
    for (const WindowEntry &w : programWindows()) {
        if (w.name == name)
            return &w;
    }
    return nullptr;
}

} // namespace Orv
