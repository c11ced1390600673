#include "app/widgets/viewer/viewerwindow.h"

#include "engine/layout/layoutfile.h"
#include "engine/run/runpagesource.h"
#include "engine/script/scriptsupport.h"
#include "engine/widgets/viewer/viewer.h"
#include "shell/settingsstore.h"
#include "ui/uiscriptdialogs.h"
#include "ui/widgetui.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace Orv {

ViewerWindow::ViewerWindow(QWidget *parent)
    : QMainWindow(parent), m_viewer(new Viewer), m_ui(std::make_unique<WidgetUi>(this)), m_dialogs(std::make_unique<UiScriptDialogs>(*m_ui))
{
    setWindowTitle(tr("OrvReport viewer"));
    m_viewer->setPrintDialog([this](QPrinter &printer, int minPage, int maxPage) {
        return m_ui->printDialog(printer, minPage, maxPage);
    });
    setCentralWidget(m_viewer);
    QToolBar *bar = addToolBar(tr("Viewer"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto action = [&](const QString &text, auto slot, bool checkable = false) {
        QAction *a = bar->addAction(text);
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, [this, slot] {
            slot();
            refresh();
        });
        return a;
    };
    action(tr("Open"), [this] { openFile(); })->setToolTip(tr("Open an archive or a layout"));
    m_save = action(tr("Save"), [this] { saveArchive(); });
    m_print = action(tr("Print"), [this] {
        finishRun();
        report(m_viewer->PrintReport(true), QStringLiteral("Print"));
    });
    bar->addSeparator();
    m_toc = action(tr("Contents"), [this] { m_viewer->setTocVisible(!m_viewer->tocVisible()); }, true);
    m_ruler = action(tr("Ruler"), [this] { m_viewer->setRulerVisible(!m_viewer->rulerVisible()); }, true);
    m_findText = new QLineEdit;
    m_findText->setPlaceholderText(tr("Find"));
    m_findText->setMaximumWidth(140);
    bar->addWidget(m_findText);
    connect(m_findText, &QLineEdit::returnPressed, this, &ViewerWindow::find);
    action(tr("Find"), [this] { find(); });
    m_copy = action(tr("Copy"), [this] { report(m_viewer->CopyPage(m_viewer->canvas()), QStringLiteral("CopyPage")); });
    bar->addSeparator();
    m_single = action(tr("Single"), [this] { report(m_viewer->SinglePage(2), QStringLiteral("SinglePage")); }, true);
    m_multi = action(tr("Multiple"), [this] { report(m_viewer->MultiPage(2, 2, 3), QStringLiteral("MultiPage")); }, true);
    m_zoomIn = action(tr("Zoom in"), [this] { report(m_viewer->setZoom(ViewerNavigator::zoomedIn(m_viewer->zoom())), QStringLiteral("Zoom")); });
    m_zoom = new QComboBox;
    m_zoom->setEditable(true);
    for (int z : {25, 50, 100, 125, 150, 175, 200, 400})
        m_zoom->addItem(QStringLiteral("%1%").arg(z, 3), z);
    m_zoom->addItem(tr("Page width"), ViewerNavigator::PageWidth);
    m_zoom->addItem(tr("Whole page"), ViewerNavigator::WholePage);
    bar->addWidget(m_zoom);
    connect(m_zoom, &QComboBox::activated, this, [this](int item) {
        report(m_viewer->setZoom(m_zoom->itemData(item).toInt()), QStringLiteral("Zoom"));
        refresh();
    });
    connect(m_zoom->lineEdit(), &QLineEdit::returnPressed, this, &ViewerWindow::zoomTyped);
    m_zoomOut = action(tr("Zoom out"), [this] { report(m_viewer->setZoom(ViewerNavigator::zoomedOut(m_viewer->zoom())), QStringLiteral("Zoom")); });
    m_pageWidth = action(tr("Width"), [this] { report(m_viewer->setZoom(ViewerNavigator::PageWidth), QStringLiteral("Zoom")); });
    m_wholePage = action(tr("Whole"), [this] { report(m_viewer->setZoom(ViewerNavigator::WholePage), QStringLiteral("Zoom")); });
    bar->addSeparator();
    // Past either end the page buttons do nothing.
    m_first = action(tr("First"), [this] { std::ignore = m_viewer->setCanvas(0); });
    m_previous = action(tr("Previous"), [this] { std::ignore = m_viewer->setCanvas(m_viewer->canvas() - 1); });
    m_page = new QLineEdit;
    m_page->setMaximumWidth(90);
    m_page->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_page);
    connect(m_page, &QLineEdit::returnPressed, this, &ViewerWindow::pageTyped);
    m_next = action(tr("Next"), [this] { std::ignore = m_viewer->setCanvas(m_viewer->canvas() + 1); });
    m_last = action(tr("Last"), [this] { std::ignore = m_viewer->setCanvas(m_viewer->Pages()->Count() - 1); });
    m_back = action(tr("Back"), [this] { m_viewer->Back(); });
    m_forward = action(tr("Forward"), [this] { m_viewer->Forward(); });

    m_status = new QLabel;
    statusBar()->addWidget(m_status, 1);
    connect(m_viewer, &Viewer::pageChanged, this, &ViewerWindow::refresh);
    connect(m_viewer, &Viewer::pageCountChanged, this, &ViewerWindow::refresh);
    connect(m_viewer, &Viewer::historyChanged, this, &ViewerWindow::refresh);
    connect(m_viewer, &Viewer::viewModeChanged, this, &ViewerWindow::refresh);
    connect(m_viewer, &Viewer::zoomChanged, this, &ViewerWindow::showZoom);
    connect(m_viewer, &Viewer::findFinished, this, [this](bool found, bool wrapped) {
        m_status->setText(!found ? tr("\"%1\" was not found").arg(m_findText->text())
                          : wrapped ? tr("Found on page %1, going on from the start").arg(m_viewer->canvas() + 1)
                                    : tr("Found on page %1").arg(m_viewer->canvas() + 1));
    });
    showZoom(m_viewer->zoom());
    refresh();
    resize(1280, 900);
}

ViewerWindow::~ViewerWindow()
{
    m_viewer->setReportSource(nullptr);
}

Status ViewerWindow::open(const QString &path, const QString &connection)
{
    m_viewer->setReportSource(nullptr);
    m_scripted.reset();
    if (!path.endsWith(QLatin1String(".rpx"), Qt::CaseInsensitive)) {
        const Status status = m_viewer->Load(path);
        if (status.ok())
            setWindowTitle(tr("%1 - OrvReport viewer").arg(QFileInfo(path).fileName()));
        refresh();
        return status;
    }
    auto report = std::make_unique<Report>();
    Status status = LoadLayout(*report, path);
    if (!status.ok())
        return status;
    // Scripts get vbo, dbg (to the status bar) and the prologue.
    Script::ScriptedRunOptions options;
    options.reportFolder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    options.dialogs = m_dialogs.get();
    options.debug = std::make_shared<Script::DebugOutput>();
    options.debug->out = [this](const QString &line) { m_status->setText(line); };
    options.connectionString = connection;
    options.layoutPath = path;
    options.installKeys = &SettingsStore::installKeys;
    m_scripted = Script::ScriptedRun::of(std::move(report), options);
    ReportRun *run = m_scripted->run();
    // Pages with "page N of M" show at once, the count filled in at the end.
    run->setProvisionalPages(true);
    connect(run, &ReportRun::Error, this, [this](int, const QString &description, int, const QString &, const QString &,
                                                 int, bool *cancelDisplay) {
        *cancelDisplay = true;
        m_status->setText(tr("Error: %1").arg(description));
    });
    connect(run, &ReportRun::PageEnd, this, [this](int index) {
        m_status->setText(tr("Making page %1...").arg(index + 2));
    });
    connect(run, &ReportRun::finished, this, [this, run](const Status &outcome) {
        if (outcome.ok())
            m_status->setText(tr("%n page(s)", nullptr, run->Pages()->Count()));
        refresh();
    });
    m_viewer->setReportSource(new RunPageSource(run));
    setWindowTitle(tr("%1 - OrvReport viewer").arg(QFileInfo(path).fileName()));
    return m_scripted->start(true);
}

void ViewerWindow::openFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open"), QString(),
                                                      tr("Reports (*.rdf *.rpx);;Archives (*.rdf);;Layouts (*.rpx)"));
    if (!path.isEmpty())
        report(open(path), QStringLiteral("FileOpen"));
}

void ViewerWindow::saveArchive()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save"), QString(), tr("Archives (*.rdf)"));
    if (path.isEmpty())
        return;
    finishRun();
    report(m_viewer->Pages()->Save(path), QStringLiteral("FileSave"));
}

void ViewerWindow::finishRun()
{
    if (ReportRun *r = run(); r && r->isRunning())
        while (r->step()) {
        }
}

void ViewerWindow::report(const Status &status, const QString &title)
{
    if (status.ok())
        return;
    const QString number = status.number() >= 0 ? QStringLiteral(" %1").arg(status.number()) : QString::number(status.number());
    QMessageBox::warning(this, QStringLiteral("Error: ") + title, number + QStringLiteral(" - ") + status.description());
}

void ViewerWindow::find()
{
    if (!m_findText->text().isEmpty())
        report(m_viewer->Find(FindDirection::Forward, m_findText->text(), FindScope::WholeDocument, false, false), QStringLiteral("Find"));
}

void ViewerWindow::showZoom(int zoom)
{
    if (zoom == ViewerNavigator::PageWidth)
        m_zoom->setCurrentIndex(8);
    else if (zoom == ViewerNavigator::WholePage)
        m_zoom->setCurrentIndex(9);
    else
        m_zoom->setEditText(QStringLiteral(" %1%").arg(zoom));
}

void ViewerWindow::zoomTyped()
{
    bool ok = false;
    const int zoom = m_zoom->currentText().remove(QLatin1Char('%')).trimmed().toInt(&ok);
    if (ok)
        std::ignore = m_viewer->setZoom(zoom); // out of range is refused; the box shows the zoom kept
    showZoom(m_viewer->zoom());
}

void ViewerWindow::pageTyped()
{
    const int n = m_page->text().section(QLatin1Char('/'), 0, 0).trimmed().toInt() - 1;
    if (n < 0 || n > m_viewer->Pages()->Count() - 1) {
        m_page->selectAll();
        refresh();
        return;
    }
    std::ignore = m_viewer->setCanvas(n); // checked against the page count above
    m_viewer->setFocus();
    refresh();
}

void ViewerWindow::refresh()
{
    const int count = m_viewer->Pages()->Count();
    const int current = m_viewer->canvas();
    const bool multi = m_viewer->navigator().isMultiPage();
    m_first->setEnabled(current >= 1);
    m_previous->setEnabled(current >= 1);
    m_next->setEnabled(current < count - 1);
    m_last->setEnabled(current < count - 1);
    m_back->setEnabled(m_viewer->CanGoBack());
    m_forward->setEnabled(m_viewer->CanGoForward());
    m_save->setEnabled(count >= 1);
    m_print->setEnabled(count >= 1);
    m_copy->setEnabled(count >= 1);
    m_toc->setChecked(m_viewer->tocVisible());
    m_ruler->setChecked(m_viewer->rulerVisible());
    m_single->setChecked(!multi);
    m_multi->setChecked(multi);
    m_zoomIn->setEnabled(!multi);
    m_zoomOut->setEnabled(!multi);
    m_pageWidth->setEnabled(!multi);
    m_wholePage->setEnabled(!multi);
    m_zoom->setEnabled(!multi);
    if (!m_page->hasFocus())
        m_page->setText(QStringLiteral("%1/%2").arg(count ? current + 1 : 0).arg(count));
}

} // namespace Orv
