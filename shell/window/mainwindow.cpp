#include "shell/window/mainwindow.h"

#include "engine/model/report.h"
#include "engine/run/runpagesource.h"
#include "engine/script/scriptedrun.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/viewer/viewer.h"
#include "shell/panelayout.h"
#include "shell/startdialogmodel.h"
#include "shell/window/coolbar.h"
#include "shell/window/startdialog.h"
#include "ui/uidesignerprompts.h"
#include "ui/uipropertydialogs.h"
#include "ui/uiscriptdialogs.h"
#include "ui/uiseam.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace Orv {

namespace {

// Lays its page out again whenever the page is resized.
class PaneWidget : public QWidget
{
public:
    PaneWidget(QWidget *parent, std::function<void()> layout) : QWidget(parent), m_layout(std::move(layout)) {}

protected:
    void resizeEvent(QResizeEvent *) override
    {
        if (m_layout)
            m_layout();
    }

private:
    std::function<void()> m_layout;
};

QString windowGeometryName()
{
    return QStringLiteral("WindowGeometry");
}

} // namespace

MainWindow::MainWindow(Ui &ui, SettingsStore *settings, QWidget *parent)
    : QMainWindow(parent), m_ui(ui), m_scriptDialogs(std::make_unique<UiScriptDialogs>(ui)),
      m_designerPrompts(std::make_unique<UiDesignerPrompts>(ui)),
      m_propertyDialogs(std::make_unique<UiPropertyDialogs>(ui))
{
    // The caption, then the settings store.
    setWindowTitle(productName());
    setObjectName(QStringLiteral("frmOrvReport"));
    if (!settings) {
        m_ownSettings = std::make_unique<SettingsStore>();
        settings = m_ownSettings.get();
    }
    m_settings = settings;

    buildPages();
    // No report yet: the program's folder is the current one.
    m_document = std::make_unique<ReportDocument>(*m_dsg->core(), m_ui, *m_settings, static_cast<DocumentHost &>(*this),
                                                  QCoreApplication::applicationDirPath());
    // The recent files.
    m_document->LoadRecentFiles();
    buildMenus();
    buildBars();
    setUpDesignCommands();

    // The designer's and the property list's start-up settings.
    m_dsg->setZoom(1.0);
    m_plist->setUndoStack(m_dsg->undoStack());
    // Every question the designer and the property list ask goes through the seam.
    m_dsg->setPrompts(m_designerPrompts.get());
    m_plist->setDialogs(m_propertyDialogs.get());
    installDialogHooks();

    connect(m_document.get(), &ReportDocument::pathLabelChanged, m_lbRptName, &QLabel::setText);
    connect(m_document.get(), &ReportDocument::currentPathChanged, this, &MainWindow::updateTitle);
    connect(m_dsg, &Designer::dirtyChanged, this, &MainWindow::updateTitle);
    connect(m_dsg, &Designer::actionStateChanged, this, [this](int code) { refreshActionState(DesignerAction::Code(code)); });
    connect(m_dsg, &Designer::selectionChanged, this, &MainWindow::selectionChanged);
    connect(m_dsg, &Designer::objectAdded, this, &MainWindow::objectAdded);
    connect(m_vwr, &Viewer::zoomChanged, this, &MainWindow::showZoom);
    connect(m_vwr, &Viewer::pageChanged, this, [this] { showPageBox(); refreshTools(); });
    connect(m_vwr, &Viewer::pageCountChanged, this, [this] { showPageBox(); refreshTools(); });
    connectPreview();

    if (const QString problem = m_settings->problem(); !problem.isEmpty())
        m_status->setText(problem);

    // Design view, which refreshes every tool.
    setView(0);
    restoreWindowState();
    updateTitle();
}

MainWindow::~MainWindow()
{
    m_dsg->setPrompts(nullptr);
    m_plist->setDialogs(nullptr);
    m_vwr->setReportSource(nullptr);
    m_preview.reset();
}

void MainWindow::buildPages()
{
    m_client = new PaneWidget(this, [this] { layoutClient(); });
    setCentralWidget(m_client);

    // The design page.
    m_picDesign = new PaneWidget(m_client, [this] { layoutDesignPage(); });
    m_picDesign->setObjectName(QStringLiteral("picDesign"));
    m_cbDesign = new Coolbar(m_picDesign);
    m_cbDesign->setObjectName(QStringLiteral("cbDesign"));
    m_dsg = new Designer(m_picDesign);
    m_dsg->setObjectName(QStringLiteral("dsg"));
    m_imgSplitter = new QWidget(m_picDesign);
    m_imgSplitter->setObjectName(QStringLiteral("imgSplitter"));
    m_imgSplitter->setCursor(Qt::SplitHCursor);
    m_imgSplitter->installEventFilter(this);
    m_picSplitter = new QWidget(m_picDesign);
    m_picSplitter->setObjectName(QStringLiteral("picSplitter"));
    m_picSplitter->setAutoFillBackground(true);
    QPalette bar = m_picSplitter->palette();
    bar.setColor(QPalette::Window, palette().color(QPalette::Dark));
    m_picSplitter->setPalette(bar);
    m_picSplitter->hide();
    m_plist = new PropertyList(m_picDesign);
    m_plist->setObjectName(QStringLiteral("plist"));
    m_splitterPos = 900;
    connect(m_cbDesign, &Coolbar::heightChanged, this, &MainWindow::layoutDesignPage);

    // The preview page.
    m_picView = new PaneWidget(m_client, [this] { layoutPreviewPage(); });
    m_picView->setObjectName(QStringLiteral("picView"));
    m_cbView = new Coolbar(m_picView);
    m_cbView->setObjectName(QStringLiteral("cbView"));
    m_vwr = new Viewer(m_picView);
    m_vwr->setObjectName(QStringLiteral("vwr"));
    m_lstDebug = new QListWidget(m_picView);
    m_lstDebug->setObjectName(QStringLiteral("lstDebug"));
    m_lstDebug->hide();
    connect(m_cbView, &Coolbar::heightChanged, this, &MainWindow::layoutPreviewPage);

    // The bottom strip: the report path and the two view tabs.
    m_picBottom = new QWidget(m_client);
    m_picBottom->setObjectName(QStringLiteral("picBottom"));
    m_picBottom->setAutoFillBackground(true);
    QPalette strip = m_picBottom->palette();
    strip.setColor(QPalette::Window, QColor(0x5a, 0x5a, 0x5a));
    strip.setColor(QPalette::WindowText, Qt::white);
    m_picBottom->setPalette(strip);
    auto *row = new QHBoxLayout(m_picBottom);
    row->setContentsMargins(2, 0, 6, 0);
    row->setSpacing(0);
    const QString tabs[2] = {tr("设计"), tr("预览")};
    for (int i = 0; i < 2; ++i) {
        m_lblTab[i] = new QLabel(tabs[i], m_picBottom);
        m_lblTab[i]->setObjectName(QStringLiteral("lblTab_%1").arg(i));
        m_lblTab[i]->setAutoFillBackground(true);
        m_lblTab[i]->setAlignment(Qt::AlignCenter);
        m_lblTab[i]->setMinimumWidth(64);
        m_lblTab[i]->setContentsMargins(10, 3, 10, 3);
        m_lblTab[i]->setCursor(Qt::PointingHandCursor);
        m_lblTab[i]->installEventFilter(this);
        row->addWidget(m_lblTab[i]);
    }
    row->addSpacing(16);
    m_lbRptName = new QLabel(ReportDocument::pathLabelFor(QString()), m_picBottom);
    m_lbRptName->setObjectName(QStringLiteral("lbRptName"));
    m_lbRptName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(m_lbRptName);
    row->addStretch(1);

    // The status bar.
    statusBar()->setObjectName(QStringLiteral("sb"));
    m_status = new QLabel(statusBar());
    m_status->setObjectName(QStringLiteral("sbPanel1"));
    statusBar()->addWidget(m_status, 1);
    m_progress = new QLabel(statusBar());
    m_progress->setObjectName(QStringLiteral("sbProgress"));
    statusBar()->addPermanentWidget(m_progress);
}

void MainWindow::layoutClient()
{
    const int bottom = m_fullScreen ? 0 : m_picBottom->sizeHint().height();
    const QSize pages(m_client->width(), std::max(0, m_client->height() - bottom));
    m_picDesign->setGeometry(QRect(QPoint(0, 0), pages));
    m_picView->setGeometry(QRect(QPoint(0, 0), pages));
    m_picBottom->setGeometry(0, pages.height(), m_client->width(), bottom);
}

void MainWindow::layoutDesignPage()
{
    const QSize page = m_picDesign->size();
    // Full Screen shows the design surface alone.
    const int coolbar = m_fullScreen ? 0 : m_cbDesign->heightFor(page.width());
    const bool list = m_propertyListVisible && !m_fullScreen;
    m_splitterPos = std::max(PaneLayout::splitterPosition(0), page.width() - m_listWidth);
    const auto rects = PaneLayout::designPage(page, coolbar, m_splitterPos, list);
    m_cbDesign->setGeometry(rects.coolbar);
    m_dsg->setGeometry(rects.designer);
    m_imgSplitter->setVisible(list);
    m_plist->setVisible(list);
    if (list) {
        m_imgSplitter->setGeometry(rects.splitter);
        m_plist->setGeometry(rects.propertyList);
    }
}

void MainWindow::layoutPreviewPage()
{
    const QSize page = m_picView->size();
    const int coolbar = m_cbView->isHidden() ? 0 : m_cbView->heightFor(page.width());
    // The debug list takes room only once a script has written to it.
    const int debug = m_lstDebug->count() > 0 ? m_lstDebug->fontMetrics().height() * 6 : 0;
    const auto rects = PaneLayout::previewPage(page, coolbar, debug);
    m_cbView->setGeometry(rects.coolbar);
    m_vwr->setGeometry(rects.viewer);
    m_lstDebug->setVisible(debug > 0);
    if (debug > 0)
        m_lstDebug->setGeometry(rects.debugList);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_imgSplitter && dynamic_cast<QMouseEvent *>(event)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (mouse->button() == Qt::LeftButton) {
                m_dragStart = m_imgSplitter->x();
                m_picSplitter->setGeometry(m_imgSplitter->geometry());
                m_picSplitter->show();
                m_picSplitter->raise();
                return true;
            }
            break;
        case QEvent::MouseMove:
            if (m_dragStart >= 0) {
                const int x = int(mouse->position().x());
                m_picSplitter->move(PaneLayout::dragPosition(m_imgSplitter->x(), x, width()), m_picSplitter->y());
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (m_dragStart >= 0) {
                m_listWidth = m_picDesign->width() - m_picSplitter->x();
                m_picSplitter->hide();
                m_dragStart = -1;
                layoutDesignPage();
                return true;
            }
            break;
        default:
            break;
        }
    }
    // The page and find boxes select their whole text when they gain the focus.
    if (event->type() == QEvent::FocusIn && (watched == m_txtViewPageNumber || watched == m_txtViewFind)) {
        auto *box = static_cast<QLineEdit *>(watched);
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    for (int i = 0; i < 2; ++i) {
        if (watched == m_lblTab[i] && event->type() == QEvent::MouseButtonPress) {
            setView(i);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::updateTabs()
{
    const int index = int(viewMode());
    for (int i = 0; i < 2; ++i) {
        QPalette p = m_lblTab[i]->palette();
        if (i == index) {
            p.setColor(QPalette::Window, palette().color(QPalette::Button));
            p.setColor(QPalette::WindowText, palette().color(QPalette::ButtonText));
        } else {
            p.setColor(QPalette::Window, m_picBottom->palette().color(QPalette::Window));
            p.setColor(QPalette::WindowText, Qt::white);
        }
        m_lblTab[i]->setPalette(p);
    }
}

void MainWindow::setView(int index)
{
    const ViewMode view = index == 1 ? ViewMode::Preview : ViewMode::Design;
    m_document->setViewMode(view);
    updateTabs();
    m_picDesign->setVisible(view == ViewMode::Design);
    m_picView->setVisible(view == ViewMode::Preview);
    if (view == ViewMode::Preview) {
        ViewPreview();
        layoutPreviewPage();
        m_lbRptName->hide();
    } else {
        ViewDesign();
        layoutDesignPage();
        m_lbRptName->show();
        m_dsg->setFocus();
    }
    refreshTools();
}

void MainWindow::ViewPreview()
{
    m_vwr->setReportSource(nullptr);
    m_preview.reset();
    m_lstDebug->clear();
    Script::ScriptedRunOptions options;
    options.reportFolder = m_document->currentFolder();
    options.layoutPath = m_document->currentPath();
    options.dialogs = m_scriptDialogs.get();
    options.installKeys = &SettingsStore::installKeys;
    // The run belongs to the window and goes before the list does.
    auto debug = std::make_shared<Script::DebugOutput>();
    debug->out = [this](const QString &line) {
        m_lstDebug->addItem(line);
        m_lstDebug->scrollToBottom();
        if (m_lstDebug->count() == 1)
            layoutPreviewPage();
    };
    debug->clear = [this] {
        m_lstDebug->clear();
        layoutPreviewPage();
    };
    options.debug = debug;
    m_preview = Script::ScriptedRun::copyOf(*m_dsg->DesignedReport(), options);
    ReportRun *run = m_preview->run();
    // Pages with "page N of M" show at once, the count filled in at the end.
    run->setProvisionalPages(true);
    // Errors of the run show on the status bar only, never in a box.
    connect(run, &ReportRun::Error, this, [this](int, const QString &description, int, const QString &, const QString &,
                                                 int, bool *cancelDisplay) {
        *cancelDisplay = true;
        m_status->setText(tr("Error: ") + description);
    });
    connect(run, &ReportRun::PageEnd, this, [this, run] {
        m_txtViewPageNumber->setText(QStringLiteral(" %1/ %2").arg(m_vwr->canvas() + 1).arg(run->pageCount()));
    });
    // Pages and rows so far while the run goes on, then the totals.
    connect(run, &ReportRun::progress, this, [this](qint64 rows, int pages) {
        m_progress->setText(tr("正在生成：%1 页，%2 行").arg(pages).arg(rows));
    });
    connect(run, &ReportRun::finished, this, [this, run] {
        m_progress->setText(tr("%1 页，%2 行").arg(run->pageCount()).arg(run->rowCount()));
        showPageBox();
        refreshTools();
    });
    m_status->clear();
    m_progress->clear();
    const Status status = m_preview->start(true);
    m_vwr->setReportSource(new RunPageSource(run));
    if (!status.ok())
        m_ui.showError(status, tr("Error: ViewPreview"));
}

void MainWindow::ViewDesign()
{
    if (PageSource *source = m_vwr->reportSource()) {
        source->cancel();
        m_vwr->setReportSource(nullptr);
    }
}

void MainWindow::startUp(const QString &commandLine)
{
    if (!commandLine.isEmpty()) {
        if (commandLine.endsWith(QLatin1String(".rdf"), Qt::CaseInsensitive)) {
            setView(1);
            m_document->OpenReportArchive(commandLine);
        } else {
            m_document->OpenReportLayout(commandLine);
        }
        refreshTools();
        return;
    }
    if (m_document->showStartDialog())
        m_document->runStartDialog(true);
    refreshTools();
}

void MainWindow::updateTitle()
{
    const QString path = m_document->currentPath();
    QString title = productName();
    if (!path.isEmpty())
        title = QFileInfo(path).fileName() + QStringLiteral(" - ") + title;
    setWindowTitle(m_dsg->IsDirty() ? QStringLiteral("*") + title : title);
}

Status MainWindow::loadArchive(const QString &path)
{
    m_vwr->setReportSource(nullptr);
    m_preview.reset();
    const Status status = m_vwr->Load(path);
    refreshTools();
    return status;
}

void MainWindow::finishPreview()
{
    if (ReportRun *run = m_preview ? m_preview->run() : nullptr; run && run->isRunning())
        while (run->step()) {
        }
}

Status MainWindow::saveArchive(const QString &path)
{
    finishPreview();
    return m_vwr->Pages()->Save(path);
}

void MainWindow::runStartDialog(StartDialogModel &model)
{
    if (m_startRunner) {
        m_startRunner(model);
        return;
    }
    frmFileDialog dialog(model, this);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_document->confirmClose()) {
        event->ignore();
        return;
    }
    m_document->SaveRecentFiles();
    saveWindowState();
    m_vwr->setReportSource(nullptr);
    m_preview.reset();
    event->accept();
}

void MainWindow::saveWindowState()
{
    m_settings->writeText(windowGeometryName(), QString::fromLatin1(saveGeometry().toBase64()));
}

void MainWindow::restoreWindowState()
{
    const QByteArray saved = QByteArray::fromBase64(m_settings->readText(windowGeometryName(), QString()).toLatin1());
    if (saved.isEmpty() || !restoreGeometry(saved)) {
        const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                              : QRect(0, 0, 1280, 900);
        resize(std::min(1280, screen.width()), std::min(860, screen.height()));
    }
}

} // namespace Orv
