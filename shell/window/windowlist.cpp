#include "shell/window/windowlist.h"

#include "dialogs/accessimport/accessimportmodel.h"
#include "dialogs/accessimport/frmaccesstoorv.h"
#include "dialogs/connection/connectiondialog.h"
#include "dialogs/expressionbuilder/expressionbuilderdialog.h"
#include "dialogs/scripteditor/scripteditor.h"
#include "dialogs/scripteditor/scripteditormodel.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "shell/actioncatalogue.h"
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

// A model that is not a QObject, kept as long as the dialog showing it.
template<class T>
class Owned : public QObject
{
public:
    template<class... Args>
    Owned(QObject *owner, Args &&...args) : QObject(owner), value(std::forward<Args>(args)...)
    {
    }
    T value;
};

DesignerCore *core(MainWindow &w) { return w.designer()->core(); }

// The dialogs the window makes for its commands, and those it runs
// another way (mainwindowdialogs.cpp, mainwindowdesign.cpp), not run.
QWidget *scriptEditor(MainWindow &w)
{
    auto *model = new Owned<ScriptEditorModel>(nullptr, *core(w));
    auto *dialog = new frmScriptEditor(model->value, w.ui(), 0, &w);
    model->setParent(dialog);
    return dialog;
}

QWidget *connection(MainWindow &w) { return new ConnectionDialog(w.ui(), QString(), &w); }

QWidget *accessImport(MainWindow &w)
{
    auto *model = new AccessImportModel(w.ui());
    model->SetReport(w.designer()->DesignedReport());
    auto *dialog = new frmAccessToOrv(*model, &w);
    model->setParent(dialog);
    return dialog;
}

QWidget *expressionBuilder(MainWindow &w)
{
    auto *dialog = new ExpressionBuilderDialog(w.ui(), &w);
    dialog->setDesigner(core(w));
    dialog->setReportFolder(w.document().currentFolder());
    dialog->SetReport(w.designer()->DesignedReport());
    return dialog;
}

} // namespace

const QList<WindowEntry> &programWindows()
{
    using Open = QWidget *(*)(MainWindow &);
    const auto entry = [](const char *name, Open open) {
        return WindowEntry{QString::fromLatin1(name), [open](MainWindow &w, const QString &) { return open(w); }};
    };
    const auto command = [](const char *name, const QString &command) {
        return WindowEntry{QString::fromLatin1(name), [command](MainWindow &w, const QString &) -> QWidget * {
                               if (command == Command::FileExport)
                                   w.setView(1);
                               return w.createDialog(command);
                           }};
    };
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
        command("export", Command::FileExport),
        command("page-numbers", Command::InsertPageNumbers),
        command("report-properties", Command::FileReportProperties),
        command("options", Command::EditOptions),
        command("object-properties", Command::ObjectProperties),
        entry("script-editor", scriptEditor),
        command("report-wizard", Command::FileNewWizard),
        command("data-source", Command::ViewDataSource),
        entry("connection", connection),
        entry("access-import", accessImport),
        entry("expression-builder", expressionBuilder),
        command("sorting-grouping", Command::ViewSortingAndGrouping),
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
