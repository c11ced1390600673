// The dialogs the main window's commands open, one call each. Each dialog
// keeps its rules in a model of its own under dialogs/; these calls only
// build it from the window's state, show it and apply what it returns.
#include "dialogs/connection/promptconnectstring.h"
#include "dialogs/datasource/datasource.h"
#include "dialogs/reportwizard/reportwizard.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "shell/actioncatalogue.h"
#include "shell/window/mainwindow.h"
#include "ui/uipropertydialogs.h"

namespace Orv {

QSet<QString> MainWindow::dialogCommands()
{
    // A command is listed once its dialog is built; the others stay disabled.
    return {Command::FileNewWizard, Command::ViewDataSource};
}

bool MainWindow::openDialog(const QString &command)
{
    using namespace Command;
    if (command == FileNewWizard)
        m_document->StartReportWizard();
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
    if (!m_sortMemory)
        m_sortMemory = std::make_unique<SortMemory>();
    frmReportWizard wizard(m_ui, m_sortMemory.get(), this);
    wizard.SetReport(m_dsg->core()->DesignedReport());
    wizard.setDesigner(m_dsg->core());
    wizard.exec();
    return {};
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
    frmDataSource dialog(m_ui, this);
    dialog.SetReport(m_dsg->core()->DesignedReport());
    dialog.exec();
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
