// The preview's part of the main window beyond view switching: the
// viewer's events, printing and page setup through the ui seam, the page
// box's validation and the export dialog.
#include "shell/actioncatalogue.h"
#include "shell/window/mainwindow.h"

#include "engine/model/parts.h"
#include "engine/model/report.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/viewer/viewer.h"
#include "ui/uiseam.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QTimer>

#include <cmath>

namespace Orv {

namespace {

constexpr double TwipsPerPoint = 20.0;

// The report's paper and margins as a page layout (points), and back. Paper
// sizes are the printer's paper-size numbers, which QPageSize knows as
// Windows ids; the default and custom papers keep their width and height.
QPageLayout pageLayoutOf(const PageSettings &page)
{
    QPageSize size;
    if (page.paperSize() != PageSettings::DefaultPaper && page.paperSize() != PageSettings::CustomPaper)
        size = QPageSize(QPageSize::id(page.paperSize()));
    if (!size.isValid() || size.id() == QPageSize::Custom)
        size = QPageSize(QSizeF(page.paperWidth(), page.paperHeight()) / TwipsPerPoint, QPageSize::Point, QString(),
                         QPageSize::FuzzyMatch);
    const QMarginsF margins(page.leftMargin(), page.topMargin(), page.rightMargin(), page.bottomMargin());
    return QPageLayout(size, page.orientation() == 2 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       margins / TwipsPerPoint, QPageLayout::Point);
}

void applyPageLayout(const QPageLayout &layout, PageSettings &page)
{
    const QPageSize size = layout.pageSize();
    const int windowsId = size.windowsId();
    page.setPaperSize(size.id() == QPageSize::Custom || windowsId <= 0 ? PageSettings::CustomPaper : windowsId);
    // From the size as the paper is defined (A4 in millimetres, Letter in
    // inches), so that it comes out to the twip.
    const QSizeF defined = size.definitionSize();
    double twipsPerUnit = 0;
    switch (size.definitionUnits()) {
    case QPageSize::Millimeter: twipsPerUnit = 1440 / 25.4; break;
    case QPageSize::Inch: twipsPerUnit = 1440; break;
    case QPageSize::Point: twipsPerUnit = TwipsPerPoint; break;
    default: break;
    }
    const QSizeF twips = twipsPerUnit > 0 ? defined * twipsPerUnit : size.size(QPageSize::Point) * TwipsPerPoint;
    page.setPaperWidth(std::round(twips.width()));
    page.setPaperHeight(std::round(twips.height()));
    page.setOrientation(layout.orientation() == QPageLayout::Landscape ? 2 : 1);
    const QMarginsF margins = layout.margins(QPageLayout::Point) * TwipsPerPoint;
    page.setLeftMargin(std::round(margins.left()));
    page.setTopMargin(std::round(margins.top()));
    page.setRightMargin(std::round(margins.right()));
    page.setBottomMargin(std::round(margins.bottom()));
}

} // namespace

void MainWindow::connectPreview()
{
    // The viewer's print dialog is the seam's.
    m_vwr->setPrintDialog([this](QPrinter &printer, int minPage, int maxPage) {
        return m_ui.printDialog(printer, minPage, maxPage);
    });
    connect(m_vwr, &Viewer::viewModeChanged, this, &MainWindow::viewModeChanged);
    connect(m_vwr, &Viewer::historyChanged, this, &MainWindow::refreshTools);
    // A search that finds nothing says so where run errors go.
    connect(m_vwr, &Viewer::findFinished, this, [this](bool found, bool wrapped) {
        const QString text = m_txtViewFind ? m_txtViewFind->text() : QString();
        if (!found)
            m_status->setText(tr("找不到“%1”").arg(text));
        else if (wrapped)
            m_status->setText(tr("已从头继续查找，“%1”在第 %2 页").arg(text).arg(m_vwr->canvas() + 1));
        else
            m_status->clear();
        refreshTools();
    });
    // Leaving the page box validates it; a refused entry keeps the focus.
    connect(m_txtViewPageNumber, &QLineEdit::editingFinished, this, [this] {
        if (!m_txtViewPageNumber->hasFocus() && !validatePageBox())
            QTimer::singleShot(0, m_txtViewPageNumber, [box = m_txtViewPageNumber] { box->setFocus(); });
    });
}

void MainWindow::viewModeChanged(bool multiPage)
{
    m_multiPage = multiPage;
    refreshTools();
}

bool MainWindow::validatePageBox()
{
    const int n = m_txtViewPageNumber->text().section(QLatin1Char('/'), 0, 0).trimmed().toInt() - 1;
    const bool ok = n >= 0 && n <= m_vwr->Pages()->Count() - 1;
    if (ok) {
        std::ignore = m_vwr->setCanvas(n); // checked against the page count above
    } else {
        m_txtViewPageNumber->setFocus();
        m_txtViewPageNumber->selectAll();
    }
    refreshTools();
    if (ok && !m_txtViewPageNumber->hasFocus())
        showPageBox();
    return ok;
}

// File > Print, its button and the viewer's print button.
void MainWindow::PrintReport()
{
    if (m_vwr->Pages()->Count() < 1)
        return;
    finishPreview();
    const Status status = m_vwr->PrintReport(true);
    if (!status.ok() && status.number() != ErrInterrupted)
        m_ui.showError(status, tr("错误: PrintReport"));
}

// File > Export and the viewer's export button.
void MainWindow::showExportDialog()
{
    if (m_vwr->Pages()->Count() == 0)
        return;
    finishPreview();
    const std::unique_ptr<QDialog> dialog(createDialog(Command::FileExport));
    dialog->exec();
}

// File > Printer Setup: the designed report's paper, orientation and
// margins in the page-setup dialog, written back as one undo step.
void MainWindow::showPrinterSetup()
{
    Report *report = m_dsg->DesignedReport();
    PageSettings *page = report->pageSettings();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayoutOf(*page));
    if (!m_ui.pageSetupDialog(printer))
        return;
    const QPageLayout chosen = printer.pageLayout();
    m_dsg->core()->edit(tr("打印设置"), {page}, [&] { applyPageLayout(chosen, *page); });
}

} // namespace Orv
