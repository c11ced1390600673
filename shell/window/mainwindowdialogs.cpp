// The dialogs the main window's commands open, one call each. Each dialog
// keeps its rules in a model of its own under dialogs/; these calls only
// build it from the window's state, show it and apply what it returns.
#include "dialogs/expressionbuilder/expressionbuilderdialog.h"
#include "dialogs/sortinggrouping/sortinggroupingdialog.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "shell/actioncatalogue.h"
#include "shell/window/mainwindow.h"
#include "ui/uiseam.h"

#include <QUndoStack>

namespace Orv {

QSet<QString> MainWindow::dialogCommands()
{
    // A command is listed once its dialog is built; the others stay disabled.
    return {Command::InsertCalculatedField, Command::ViewSortingAndGrouping};
}

bool MainWindow::openDialog(const QString &command)
{
    using namespace Command;
    if (command == FileExport)
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

// File > New > Report Wizard, its button and the start dialog.
Status MainWindow::runReportWizard()
{
    return Status::failure(5, tr("The report wizard is not part of this build."));
}

// File > New > Import Access Report, its button and the start dialog.
Status MainWindow::runAccessImport()
{
    return Status::failure(5, tr("The Access import is not part of this build."));
}

// File > Export and the viewer's export button.
void MainWindow::showExportDialog()
{
}

// File > Printer Setup.
void MainWindow::showPrinterSetup()
{
}

// File > Report Properties and the report pop-up.
void MainWindow::showReportProperties()
{
}

// Edit > Options.
void MainWindow::showOptions()
{
}

// The pop-ups' Properties items.
void MainWindow::showObjectProperties()
{
}

// The toolbox's page-number button.
void MainWindow::showPageNumbers()
{
}

// View > Data Source.
void MainWindow::showDataSource()
{
}

// View > Field List.
void MainWindow::showFieldList()
{
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
        m_ui.showError(Status::failure(ErrInvalidCall, tr("The report has no detail section for the calculated field.")),
                       tr("Insert Calculated Field"));
        return;
    }
    double top = 0;
    for (const Control *c : *detail->controls())
        top = std::max(top, c->top() + c->height());
    QUndoStack *undo = core->undoStack();
    undo->beginMacro(tr("Insert Calculated Field"));
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
    SortingGroupingDialog dialog(m_ui, this);
    dialog.setDesigner(m_dsg->core());
    dialog.setReportFolder(m_document->currentFolder());
    dialog.SetReport(m_dsg->core()->DesignedReport());
    dialog.exec();
}

} // namespace Orv
