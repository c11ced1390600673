// The dialogs the main window's commands open, one call each. Each dialog
// keeps its rules in a model of its own under dialogs/; these calls only
// build it from the window's state, show it and apply what it returns.
#include "dialogs/accessimport/accessimportmodel.h"
#include "dialogs/accessimport/frmaccesstoorv.h"
#include "dialogs/common/dialogunits.h"
#include "dialogs/connection/promptconnectstring.h"
#include "dialogs/datasource/datasource.h"
#include "dialogs/export/frmexport.h"
#include "dialogs/expressionbuilder/expressionbuilderdialog.h"
#include "dialogs/options/optionsdialog.h"
#include "dialogs/pagenumbers/pagenumbersdialog.h"
#include "dialogs/properties/propertiesdialog.h"
#include "dialogs/reportproperties/reportpropertiesdialog.h"
#include "dialogs/reportwizard/reportwizard.h"
#include "dialogs/sortinggrouping/sortinggroupingdialog.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/viewer/viewer.h"
#include "shell/actioncatalogue.h"
#include "shell/window/fieldlistpane.h"
#include "shell/window/mainwindow.h"
#include "ui/uipropertydialogs.h"
#include "ui/uiseam.h"

#include <QCoreApplication>
#include <QDockWidget>
#include <QUndoStack>

#include <memory>

namespace Orv {

QSet<QString> MainWindow::dialogCommands()
{
    // A command is listed once its dialog is built; the others stay disabled.
    using namespace Command;
    return {InsertPageNumbers, FileReportProperties, EditOptions, ObjectProperties, FileExport,
            FilePrinterSetup, ViewFieldList, FileNewWizard, ViewDataSource, FileImportAccess,
            InsertCalculatedField, ViewSortingAndGrouping};
}

bool MainWindow::openDialog(const QString &command)
{
    using namespace Command;
    if (command == FileNewWizard)
        m_document->StartReportWizard();
    else if (command == FileImportAccess)
        m_document->StartAccessImport();
    else if (command == FileExport)
        showExportDialog();
    else if (command == FilePrinterSetup)
        showPrinterSetup();
    else if (command == FileReportProperties)
        showReportProperties();
    else if (command == EditOptions)
        showOptions();
    else if (command == ObjectProperties)
        showObjectProperties();
    else if (command == InsertPageNumbers)
        showPageNumbers();
    else if (command == ViewDataSource)
        showDataSource();
    else if (command == ViewFieldList)
        showFieldList();
    else if (command == InsertCalculatedField)
        showExpressionBuilder();
    else if (command == ViewSortingAndGrouping)
        showSortingAndGrouping();
    else
        return false;
    return true;
}

QDialog *MainWindow::createDialog(const QString &command)
{
    using namespace Command;
    DesignerCore *core = m_dsg->core();
    Report *report = core->DesignedReport();
    if (command == FileNewWizard) {
        if (!m_sortMemory)
            m_sortMemory = std::make_unique<SortMemory>();
        auto *wizard = new frmReportWizard(m_ui, m_sortMemory.get(), this);
        wizard->SetReport(report);
        wizard->setDesigner(core);
        return wizard;
    }
    if (command == FileExport) {
        auto *dialog = new frmExport(m_ui, this);
        dialog->setPages(m_vwr->Pages());
        dialog->setInstallFolder(QCoreApplication::applicationDirPath());
        return dialog;
    }
    if (command == FileReportProperties) {
        auto *dialog = new frmReportProperties(PaperCatalogue::system(), DialogUnits::localeUnit(), this);
        dialog->SetReport(report, core);
        return dialog;
    }
    if (command == EditOptions)
        return new frmOptions(core, m_propertyDialogs.get(), this);
    if (command == ObjectProperties) {
        auto *dialog = new frmProperties(core, m_propertyDialogs.get(), this);
        dialog->SetObject(PropertiesModel::objectFor(*core));
        return dialog;
    }
    if (command == InsertPageNumbers) {
        auto *dialog = new frmPageNumbers(m_ui, this);
        dialog->SetReport(report, core);
        return dialog;
    }
    if (command == ViewDataSource) {
        auto *dialog = new frmDataSource(m_ui, this);
        dialog->SetReport(report);
        return dialog;
    }
    if (command == ViewSortingAndGrouping) {
        auto *dialog = new SortingGroupingDialog(m_ui, this);
        dialog->setDesigner(core);
        dialog->setReportFolder(m_document->currentFolder());
        dialog->SetReport(report);
        return dialog;
    }
    return nullptr;
}

// Runs the dialog of a command modally and deletes it.
static void runDialog(QDialog *dialog)
{
    const std::unique_ptr<QDialog> owned(dialog);
    owned->exec();
}

// File > New > Report Wizard, its button and the start dialog.
Status MainWindow::runReportWizard()
{
    runDialog(createDialog(Command::FileNewWizard));
    return {};
}

// File > New > Import Access Report, its button and the start dialog.
// The conversion replaces the design as one undo step; converting all
// reports into a folder opens the one highlighted (or the first) from there,
// so its subreports are found beside it.
Status MainWindow::runAccessImport()
{
    AccessImportModel model(m_ui);
    model.SetReport(m_dsg->DesignedReport());
    model.setUndoStack(m_dsg->core()->undoStack());
    frmAccessToOrv dialog(model, this);
    dialog.exec();
    if (!model.designChanged() && !model.writtenLayouts().isEmpty()) {
        QString open = model.writtenLayouts().first();
        const int current = model.currentEntry();
        if (current >= 1 && current < model.entries().size()) {
            const QString wanted = AccessImportDriver::layoutFileName(model.entries()[current].name);
            for (const QString &path : model.writtenLayouts())
                if (path.endsWith(u'/' + wanted))
                    open = path;
        }
        m_document->OpenReportLayout(open);
    }
    refreshTools();
    return Status();
}

// File > Export and the viewer's export button (mainwindowpreview.cpp).
// File > Printer Setup (mainwindowpreview.cpp).

// File > Report Properties and the report pop-up.
void MainWindow::showReportProperties()
{
    if (viewMode() != ViewMode::Design)
        return;
    runDialog(createDialog(Command::FileReportProperties));
}

// Edit > Options.
void MainWindow::showOptions()
{
    runDialog(createDialog(Command::EditOptions));
}

// The pop-ups' Properties items: one window, not modal, that follows the
// designer's selection from then on.
void MainWindow::showObjectProperties()
{
    if (viewMode() != ViewMode::Design)
        return;
    auto *dialog = findChild<frmProperties *>(QStringLiteral("frmProperties"), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = static_cast<frmProperties *>(createDialog(Command::ObjectProperties));
    else
        dialog->SetObject(PropertiesModel::objectFor(*m_dsg->core()));
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

// The toolbox's page-number button.
void MainWindow::showPageNumbers()
{
    if (viewMode() != ViewMode::Design)
        return;
    runDialog(createDialog(Command::InsertPageNumbers));
}

// View > Data Source.
void MainWindow::showDataSource()
{
    runDialog(createDialog(Command::ViewDataSource));
}

// The property list's "..." of a data control's ConnectionString opens the
// connection dialog on the current text.
void MainWindow::installDialogHooks()
{
    m_propertyDialogs->setTextEditor(QStringLiteral("ConnectionString"), [this](const QString &text) -> std::optional<QString> {
        DialogDataLinks links(m_ui, this);
        const QString result = PromptConnectString(&links, m_ui, text, QString());
        if (result.isEmpty())
            return std::nullopt;
        return result;
    });
}

// View > Field List: the dock of the data source's fields, read afresh
// each time it is shown.
void MainWindow::showFieldList()
{
    if (!m_fieldDock->isHidden()) {
        m_fieldDock->hide();
        return;
    }
    m_fieldDock->show();
    m_fieldList->refresh(*designer()->DesignedReport(), m_document->currentFolder());
}

// Insert > Calculated Field: a new field in the detail, below its other
// controls, with the expression composed in the builder. Adding the field
// and storing its expression are one undo step; Cancel leaves no field.
void MainWindow::showExpressionBuilder()
{
    DesignerCore *core = m_dsg->core();
    Report *report = core->DesignedReport();
    Section *detail = report->sections()->Item(QStringLiteral("Detail"));
    if (!detail)
        detail = report->sections()->firstOfType(Section::Detail);
    if (!detail) {
        m_ui.showError(Status::failure(ErrInvalidCall, tr("报表没有可放置计算字段的明细扇区。")),
                       tr("插入计算字段"));
        return;
    }
    double top = 0;
    for (const Control *c : *detail->controls())
        top = std::max(top, c->top() + c->height());
    QUndoStack *undo = core->undoStack();
    undo->beginMacro(tr("插入计算字段"));
    Control *field = core->insertControl(QStringLiteral("OrvEngine.Field"), detail, QPointF(0, top), QPointF(0, top));
    bool stored = false;
    if (field) {
        ExpressionBuilderDialog dialog(m_ui, this);
        dialog.setDesigner(core);
        dialog.setReportFolder(m_document->currentFolder());
        dialog.SetControl(field);
        dialog.SetReport(report);
        stored = dialog.exec() == QDialog::Accepted;
    }
    undo->endMacro();
    if (field && !stored)
        undo->undo();
}

// View > Sorting and Grouping.
void MainWindow::showSortingAndGrouping()
{
    runDialog(createDialog(Command::ViewSortingAndGrouping));
}

} // namespace Orv
