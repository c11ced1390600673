// The dialogs the main window's commands open, one call each. Each dialog
// keeps its rules in a model of its own under dialogs/; these calls only
// build it from the window's state, show it and apply what it returns.
#include "dialogs/accessimport/accessimportmodel.h"
#include "dialogs/accessimport/frmaccesstoorv.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "shell/actioncatalogue.h"
#include "shell/window/mainwindow.h"

namespace Orv {

QSet<QString> MainWindow::dialogCommands()
{
    // A command is listed once its dialog is built; the others stay disabled.
    return {Command::FileImportAccess};
}

bool MainWindow::openDialog(const QString &command)
{
    using namespace Command;
    if (command == FileImportAccess)
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

// File > New > Report Wizard, its button and the start dialog.
Status MainWindow::runReportWizard()
{
    return Status::failure(5, tr("The report wizard is not part of this build."));
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

// Insert > Calculated Field.
void MainWindow::showExpressionBuilder()
{
}

// View > Sorting and Grouping.
void MainWindow::showSortingAndGrouping()
{
}

} // namespace Orv
