#include "shell/window/windowlist.h"

#include "dialogs/accessimport/accessimportmodel.h"
#include "dialogs/accessimport/frmaccesstoorv.h"
#include "dialogs/common/dialogunits.h"
#include "dialogs/connection/connectiondialog.h"
#include "dialogs/datasource/datasource.h"
#include "dialogs/export/frmexport.h"
#include "dialogs/expressionbuilder/expressionbuilderdialog.h"
#include "dialogs/options/optionsdialog.h"
#include "dialogs/pagenumbers/pagenumbersdialog.h"
#include "dialogs/properties/propertiesdialog.h"
#include "dialogs/reportproperties/reportpropertiesdialog.h"
#include "dialogs/reportwizard/reportwizard.h"
#include "dialogs/scripteditor/scripteditor.h"
#include "dialogs/scripteditor/scripteditormodel.h"
#include "dialogs/sortinggrouping/sortinggroupingdialog.h"
#include "engine/model/report.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/viewer/viewer.h"
#include "shell/recentfiles.h"
#include "shell/reportdocument.h"
#include "shell/startdialogmodel.h"
#include "shell/window/mainwindow.h"
#include "shell/window/startdialog.h"
#include "ui/uipropertydialogs.h"

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

Report *designed(MainWindow &w) { return w.designer()->DesignedReport(); }
DesignerCore *core(MainWindow &w) { return w.designer()->core(); }

// The dialogs as their commands open them (mainwindowdialogs.cpp), not run.
QWidget *exportDialog(MainWindow &w)
{
    w.setView(1);
    auto *dialog = new frmExport(w.ui(), &w);
    dialog->setPages(w.viewer()->Pages());
    return dialog;
}

QWidget *pageNumbers(MainWindow &w)
{
    auto *dialog = new frmPageNumbers(w.ui(), &w);
    dialog->SetReport(designed(w), core(w));
    return dialog;
}

QWidget *reportProperties(MainWindow &w)
{
    auto *dialog = new frmReportProperties(PaperCatalogue::system(), DialogUnits::localeUnit(), &w);
    dialog->SetReport(designed(w), core(w));
    return dialog;
}

QWidget *options(MainWindow &w) { return new frmOptions(core(w), w.propertyDialogs(), &w); }

QWidget *objectProperties(MainWindow &w)
{
    auto *dialog = new frmProperties(core(w), w.propertyDialogs(), &w);
    dialog->SetObject(PropertiesModel::objectFor(*core(w)));
    return dialog;
}

QWidget *scriptEditor(MainWindow &w)
{
    auto *model = new Owned<ScriptEditorModel>(nullptr, *core(w));
    auto *dialog = new frmScriptEditor(model->value, w.ui(), 0, &w);
    model->setParent(dialog);
    return dialog;
}

QWidget *reportWizard(MainWindow &w)
{
    auto *wizard = new frmReportWizard(w.ui(), nullptr, &w);
    wizard->SetReport(designed(w));
    wizard->setDesigner(core(w));
    return wizard;
}

QWidget *dataSource(MainWindow &w)
{
    auto *dialog = new frmDataSource(w.ui(), &w);
    dialog->SetReport(designed(w));
    return dialog;
}

QWidget *connection(MainWindow &w) { return new ConnectionDialog(w.ui(), QString(), &w); }

QWidget *accessImport(MainWindow &w)
{
    auto *model = new AccessImportModel(w.ui());
    model->SetReport(designed(w));
    auto *dialog = new frmAccessToOrv(*model, &w);
    model->setParent(dialog);
    return dialog;
}

QWidget *expressionBuilder(MainWindow &w)
{
    auto *dialog = new ExpressionBuilderDialog(w.ui(), &w);
    dialog->setDesigner(core(w));
    dialog->setReportFolder(w.document().currentFolder());
    dialog->SetReport(designed(w));
    return dialog;
}

QWidget *sortingGrouping(MainWindow &w)
{
    auto *dialog = new SortingGroupingDialog(w.ui(), &w);
    dialog->setDesigner(core(w));
    dialog->setReportFolder(w.document().currentFolder());
    dialog->SetReport(designed(w));
    return dialog;
}

} // namespace

const QList<WindowEntry> &programWindows()
{
    using Open = QWidget *(*)(MainWindow &);
    const auto entry = [](const char *name, Open open) {
        return WindowEntry{QString::fromLatin1(name), [open](MainWindow &w, const QString &) { return open(w); }};
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
        entry("export", exportDialog),
        entry("page-numbers", pageNumbers),
        entry("report-properties", reportProperties),
        entry("options", options),
        entry("object-properties", objectProperties),
        entry("script-editor", scriptEditor),
        entry("report-wizard", reportWizard),
        entry("data-source", dataSource),
        entry("connection", connection),
        entry("access-import", accessImport),
        entry("expression-builder", expressionBuilder),
        entry("sorting-grouping", sortingGrouping),
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
