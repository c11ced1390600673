// The main window's menus and bars, built from the action catalogue, and
// what each command does; the tool-state and menu refreshes.
#include "shell/actioncatalogue.h"
#include "shell/window/commandicons.h"
#include "shell/window/coolbar.h"
#include "shell/window/mainwindow.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/viewer/viewer.h"
#include "ui/uiseam.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

namespace Orv {

namespace {

// The zoom box's items and their data.
const std::pair<const char *, int> ZoomItems[] = {{" 25%", 25},   {" 50%", 50},   {"100%", 100}, {"125%", 125},
                                                   {"150%", 150},  {"175%", 175},  {"200%", 200}, {"400%", 400},
                                                   {QT_TRANSLATE_NOOP("Orv::MainWindow", "页面宽度"), -1},
                                                   {QT_TRANSLATE_NOOP("Orv::MainWindow", "整个页面"), -2}};

} // namespace

QAction *MainWindow::makeAction(const QString &name, const QString &caption, const QString &command, bool forButton)
{
    const CommandInfo info = ActionCatalogue::command(command);
    const QString text = ActionCatalogue::translated(name, caption);
    auto *a = new QAction(text, this);
    a->setObjectName(name);
    a->setIcon(commandIcon(info.icon));
    if (forButton)
        a->setToolTip(text);
    else
        a->setIconVisibleInMenu(false);
    // The first action of a command carries its shortcut: the menu item's
    // when there is one (menus are built first), else the button's.
    if (!info.shortcut.isEmpty() && !command.isEmpty() && m_byCommand.value(command).isEmpty())
        a->setShortcut(info.shortcut);
    a->setCheckable(info.checkable || command.startsWith(QLatin1String("insert:")));
    m_named.insert(name, a);
    if (!command.isEmpty()) {
        m_byCommand[command].append(a);
        connect(a, &QAction::triggered, this, [this, command, a, name] {
            if (followsFocusRule(name) && !designerHasFocus())
                return;
            // A checkable item shows the state the command gives it, not the click.
            if (a->isCheckable())
                a->setChecked(!a->isChecked());
            execute(command);
        });
    }
    a->setEnabled(!command.isEmpty());
    return a;
}

namespace {

void addEntries(MainWindow *window, QMenu *menu, const QList<MenuEntry> &entries,
                const std::function<QAction *(const MenuEntry &)> &make, QHash<QString, QMenu *> &menus)
{
    for (const MenuEntry &e : entries) {
        if (e.name.isEmpty()) {
            menu->addSeparator();
        } else if (!e.children.isEmpty()) {
            QMenu *sub = menu->addMenu(ActionCatalogue::translated(e.name, e.caption));
            sub->setObjectName(e.name);
            sub->menuAction()->setObjectName(e.name);
            menus.insert(e.name, sub);
            addEntries(window, sub, e.children, make, menus);
        } else {
            menu->addAction(make(e));
        }
    }
}

} // namespace

void MainWindow::buildMenus()
{
    // Commands carried out here; the others come with the dialogs and
    // windows still to be built and stay disabled.
    m_available = {Command::FileNewBlank, Command::FileOpen, Command::FileSave, Command::FileSaveAs,
                   Command::FilePrint, Command::FileExit, Command::ViewDesign, Command::ViewPreview,
                   Command::ViewPropertyList, Command::ViewGrid, Command::ViewStandardBar, Command::ViewFormatBar,
                   Command::ViewToolbox, Command::ViewRuler, Command::ViewToc, Command::ViewStatusBar,
                   Command::HelpAbout, Command::TestDynamicControls, Command::TestLoadByteArray,
                   Command::EditRedo, Command::EditSelectAll, Command::FormatFontDialog, Command::FormatBackColor,
                   Command::FormatForeColor, Command::FormatLineColor, Command::FullScreenExit};
    m_available.unite(dialogCommands());
    const auto make = [this](const MenuEntry &e) { return makeAction(e.name, e.caption, e.command, false); };
    for (const MenuInfo &info : ActionCatalogue::menus()) {
        auto *menu = new QMenu(ActionCatalogue::translated(info.name, info.caption), this);
        menu->setObjectName(info.name);
        m_menus.insert(info.name, menu);
        addEntries(this, menu, info.items, make, m_menus);
        // The context menus pop up on their own; their bar is never shown.
        if (info.name != QLatin1String("mnuContext"))
            menuBar()->addMenu(menu);
    }
}

QToolBar *MainWindow::toolBar(const QString &name) const
{
    if (QToolBar *bar = m_cbDesign->band(name))
        return bar;
    return m_cbView->band(name);
}

void MainWindow::buildBars()
{
    for (const ToolBarInfo &info : ActionCatalogue::toolBars()) {
        auto *bar = new QToolBar(ActionCatalogue::translated(info.name, info.caption));
        bar->setObjectName(info.name);
        bar->setIconSize(QSize(16, 16));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        for (const ToolButtonInfo &b : info.buttons) {
            if (b.key.isEmpty()) {
                bar->addSeparator();
                continue;
            }
            if (b.key == QLatin1String("tvuZoom")) {
                m_cboViewZoom = new QComboBox(bar);
                m_cboViewZoom->setObjectName(QStringLiteral("cboViewZoom"));
                m_cboViewZoom->setEditable(true);
                m_cboViewZoom->setToolTip(ActionCatalogue::translated(b.key, b.toolTip));
                for (const auto &[text, zoom] : ZoomItems)
                    m_cboViewZoom->addItem(tr(text), zoom);
                m_cboViewZoom->setMinimumContentsLength(6);
                connect(m_cboViewZoom, &QComboBox::activated, this, [this](int index) {
                    std::ignore = m_vwr->setZoom(m_cboViewZoom->itemData(index).toInt()); // the list holds zooms the viewer takes
                    refreshTools();
                });
                connect(m_cboViewZoom->lineEdit(), &QLineEdit::editingFinished, this, [this] {
                    const int zoom = m_cboViewZoom->currentText().remove(QLatin1Char('%')).trimmed().toInt();
                    if (zoom != 0)
                        std::ignore = m_vwr->setZoom(zoom); // out of range is refused by the viewer; the box shows the zoom kept
                    showZoom(m_vwr->zoom());
                });
                bar->addWidget(m_cboViewZoom);
                continue;
            }
            if (b.key == QLatin1String("tvuPageNumber")) {
                m_txtViewPageNumber = new QLineEdit(bar);
                m_txtViewPageNumber->setObjectName(QStringLiteral("txtViewPageNumber"));
                m_txtViewPageNumber->setToolTip(ActionCatalogue::translated(b.key, b.toolTip));
                m_txtViewPageNumber->setFixedWidth(80);
                m_txtViewPageNumber->setAlignment(Qt::AlignCenter);
                connect(m_txtViewPageNumber, &QLineEdit::returnPressed, this, [this] { validatePageBox(); });
                m_txtViewPageNumber->installEventFilter(this);
                bar->addWidget(m_txtViewPageNumber);
                continue;
            }
            QAction *a = makeAction(b.key, b.toolTip, b.command, true);
            if (b.tag != DesignerAction::None)
                a->setData(int(b.tag)); // the button's Tag, as its number
            bar->addAction(a);
            if (b.key == QLatin1String("tvuFind")) {
                m_txtViewFind = new QLineEdit(bar);
                m_txtViewFind->setObjectName(QStringLiteral("txtViewFind"));
                m_txtViewFind->setFixedWidth(120);
                m_txtViewFind->setPlaceholderText(ActionCatalogue::translated(b.key, b.toolTip));
                m_txtViewFind->installEventFilter(this);
                connect(m_txtViewFind, &QLineEdit::returnPressed, this, [this] { execute(Command::viewer(QStringLiteral("tvuFind"))); });
                bar->insertWidget(a, m_txtViewFind);
            }
            if (b.key == QLatin1String("tfoFont")) {
                buildFormatBoxes(bar, a); // the font boxes take its place
                bar->removeAction(a);
            }
        }
        // Buttons without an icon show their tooltip as text.
        for (QAction *a : bar->actions()) {
            if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a)); button && a->icon().isNull())
                button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        (info.name == QLatin1String("tbViewer") ? m_cbView : m_cbDesign)->addBand(bar);
    }
}

void MainWindow::execute(const QString &command)
{
    using namespace Command;
    if (!isCarriedOut(command))
        return;
    if (executeDesignCommand(command)) {
        refreshTools();
        return;
    }
    if (const auto code = Command::actionCode(command)) {
        if (viewMode() == ViewMode::Design)
            m_dsg->ExecuteAction(*code);
    } else if (command.startsWith(QLatin1String("insert:"))) {
        m_dsg->setInsertControlType(command.mid(7));
    } else if (command.startsWith(QLatin1String("viewer:"))) {
        viewerCommand(command.mid(7));
    } else if (openDialog(command)) {
        // done by the dialog
    } else if (command == FileNewBlank) {
        m_document->NewReport();
    } else if (command == FileOpen) {
        m_document->FileOpen();
    } else if (command == FileSave) {
        m_document->FileSave();
    } else if (command == FileSaveAs) {
        m_document->FileSaveAs();
    } else if (command == FilePrint) {
        PrintReport();
    } else if (command == FileExit) {
        close();
    } else if (command == Command::ViewDesign) {
        setView(0);
    } else if (command == Command::ViewPreview) {
        setView(1);
    } else if (command == ViewPropertyList) {
        togglePropertyList();
    } else if (command == ViewStatusBar) {
        toggleStatusBar();
    } else if (command == ViewStandardBar) {
        toggleBand(QStringLiteral("tbStandard"));
    } else if (command == ViewFormatBar) {
        toggleBand(QStringLiteral("tbFormat"));
    } else if (command == ViewToolbox) {
        toggleBand(QStringLiteral("tbToolbox"));
    } else if (command == ViewGrid) {
        m_dsg->setShowGrid(!m_dsg->ShowGrid());
    } else if (command == ViewRuler) {
        m_vwr->setRulerVisible(!m_vwr->rulerVisible());
    } else if (command == ViewToc) {
        m_vwr->setTocVisible(!m_vwr->tocVisible());
    } else if (command == HelpAbout) {
        m_ui.messageBox(tr("%1 %2\n带区式报表设计器。").arg(productName(), QStringLiteral(ORV_VERSION)),
                        tr("关于"), MessageButtons::Ok, MessageIcon::Information);
    } else if (command == TestDynamicControls) {
        // A bold Arial field named "Test" in the detail section.
        Report *report = m_dsg->DesignedReport();
        if (Section *detail = report->sections()->Item(QStringLiteral("Detail"))) {
            DesignerCore *core = m_dsg->core();
            auto *c = qobject_cast<TextControl *>(
                core->insertControl(QStringLiteral("OrvEngine.Field"), detail, QPointF(), QPointF()));
            if (c) {
                core->edit(tr("命名 Test"), {c}, [c] {
                    c->setProperty("Name", QStringLiteral("Test"));
                    c->font()->setProperty("Name", QStringLiteral("Arial"));
                    c->font()->setProperty("Bold", true);
                });
            }
        }
    } else if (command == TestLoadByteArray) {
        QByteArray bytes;
        Report *report = m_dsg->DesignedReport();
        const bool dirty = m_dsg->IsDirty();
        if (SaveLayout(*report, QString(), LayoutFile::ToBytes, &bytes).ok()) {
            m_dsg->NewLayout();
            const Status loaded = LoadLayout(*report, bytes);
            if (!loaded.ok())
                m_ui.showError(loaded, tr("Error Loading Report Layout - LoadLayout"));
            m_dsg->setIsDirty(dirty);
        }
    }
    refreshTools();
}

void MainWindow::viewerCommand(const QString &key)
{
    const int count = m_vwr->Pages()->Count();
    const int current = m_vwr->canvas();
    const int zoom = m_vwr->zoom();
    if (key == QLatin1String("tvuPrint")) {
        PrintReport();
    } else if (key == QLatin1String("tvuExport")) {
        showExportDialog();
    } else if (key == QLatin1String("tvuTOC")) {
        m_vwr->setTocVisible(!m_vwr->tocVisible());
    } else if (key == QLatin1String("tvuRuler")) {
        m_vwr->setRulerVisible(!m_vwr->rulerVisible());
    } else if (key == QLatin1String("tvuFind")) {
        if (m_txtViewFind && !m_txtViewFind->text().isEmpty())
            std::ignore = m_vwr->Find(FindDirection::Forward, m_txtViewFind->text(), FindScope::WholeDocument, false,
                                      false); // finding nothing is no error, and the text is not empty
    } else if (key == QLatin1String("tvuCopyPage")) {
        if (count >= 1) {
            const Status copied = m_vwr->CopyPage(current);
            if (!copied.ok())
                m_ui.showError(copied, tr("Error: CopyPage"));
        }
    // Below, the arguments are fixed or checked beside the call.
    } else if (key == QLatin1String("tvuSinglePage")) {
        std::ignore = m_vwr->SinglePage(2);
    } else if (key == QLatin1String("tvuMultiPage")) {
        std::ignore = m_vwr->MultiPage(2, 2, 3);
    } else if (key == QLatin1String("tvuZoomIn")) {
        std::ignore = m_vwr->setZoom(zoom < 0 ? 100 : std::min((zoom / 25 + 1) * 25, 800));
    } else if (key == QLatin1String("tvuZoomOut")) {
        std::ignore = m_vwr->setZoom(zoom < 0 ? 100 : std::max((zoom / 25 - 1) * 25, 25));
    } else if (key == QLatin1String("tvuPageFirst")) {
        if (count >= 1 && current >= 1)
            std::ignore = m_vwr->setCanvas(0);
    } else if (key == QLatin1String("tvuPageUp")) {
        if (current >= 1)
            std::ignore = m_vwr->setCanvas(current - 1);
    } else if (key == QLatin1String("tvuPageDown")) {
        if (current < count - 1)
            std::ignore = m_vwr->setCanvas(current + 1);
    } else if (key == QLatin1String("tvuPageLast")) {
        if (current < count - 1)
            std::ignore = m_vwr->setCanvas(count - 1);
    } else if (key == QLatin1String("tvuBack")) {
        m_vwr->Back();
    } else if (key == QLatin1String("tvuForward")) {
        m_vwr->Forward();
    }
}

void MainWindow::togglePropertyList()
{
    m_propertyListVisible = !m_propertyListVisible;
    layoutDesignPage();
}

void MainWindow::toggleStatusBar()
{
    statusBar()->setVisible(statusBar()->isHidden());
    layoutClient();
}

void MainWindow::toggleBand(const QString &band)
{
    m_cbDesign->setBandVisible(band, !m_cbDesign->isBandVisible(band));
    layoutDesignPage();
}

bool MainWindow::isCarriedOut(const QString &command) const
{
    if (command.startsWith(QLatin1String("viewer:")))
        return command != Command::viewer(QStringLiteral("tvuOptions"));
    return m_available.contains(command) || command.startsWith(QLatin1String("action:"))
           || command.startsWith(QLatin1String("insert:"));
}

void MainWindow::setCommandState(const QString &command, bool enabled, bool checked)
{
    for (QAction *a : m_byCommand.value(command)) {
        a->setEnabled(enabled);
        if (a->isCheckable())
            a->setChecked(checked);
    }
}

void MainWindow::setCommandEnabled(const QString &command, bool enabled)
{
    for (QAction *a : m_byCommand.value(command))
        a->setEnabled(enabled);
}

void MainWindow::refreshActionState(DesignerAction::Code code)
{
    const int state = m_dsg->QueryActionState(code);
    const bool design = viewMode() == ViewMode::Design;
    const bool enabled = design && (state & DesignerAction::Enabled);
    setCommandState(Command::action(code), enabled, state & DesignerAction::Checked);
    // Buttons whose command is the shell's own follow their action too.
    switch (code) {
    case DesignerAction::FontName:
        setCommandEnabled(Command::FormatFontDialog, enabled);
        showFontState(enabled, false);
        break;
    case DesignerAction::FontSize:
        showFontState(enabled, true);
        break;
    case DesignerAction::ForeColor:
        setCommandEnabled(Command::FormatForeColor, enabled);
        break;
    case DesignerAction::BackColor:
        setCommandEnabled(Command::FormatBackColor, enabled);
        break;
    case DesignerAction::LineColor:
        setCommandEnabled(Command::FormatLineColor, enabled);
        break;
    case DesignerAction::Undo:
        setCommandEnabled(Command::EditRedo, design && m_dsg->undoStack()->canRedo());
        break;
    default:
        break;
    }
}

void MainWindow::refreshTools()
{
    using namespace Command;
    const bool design = viewMode() == ViewMode::Design;
    const bool preview = !design;
    for (int code = 1; code < DesignerAction::Count; ++code)
        refreshActionState(DesignerAction::Code(code));
    refreshFormatBoxes();
    setCommandEnabled(EditSelectAll, design);
    const QString insertType = m_dsg->InsertControlType();
    for (auto it = m_byCommand.cbegin(); it != m_byCommand.cend(); ++it) {
        if (it.key().startsWith(QLatin1String("insert:")))
            setCommandState(it.key(), design, it.key().mid(7).compare(insertType, Qt::CaseInsensitive) == 0);
    }
    const int count = m_vwr->Pages()->Count();
    const int current = m_vwr->canvas();
    setCommandState(Command::ViewDesign, true, design);
    setCommandState(Command::ViewPreview, true, preview);
    setCommandState(ViewStatusBar, true, !statusBar()->isHidden());
    setCommandState(ViewGrid, design, m_dsg->ShowGrid());
    setCommandState(ViewPropertyList, design, m_propertyListVisible);
    setCommandState(ViewStandardBar, design, m_cbDesign->isBandVisible(QStringLiteral("tbStandard")));
    setCommandState(ViewFormatBar, design, m_cbDesign->isBandVisible(QStringLiteral("tbFormat")));
    setCommandState(ViewToolbox, design, m_cbDesign->isBandVisible(QStringLiteral("tbToolbox")));
    setCommandState(ViewRuler, preview, m_vwr->rulerVisible());
    setCommandState(ViewToc, preview, m_vwr->tocVisible());
    setCommandState(Command::viewer(QStringLiteral("tvuRuler")), true, m_vwr->rulerVisible());
    setCommandState(Command::viewer(QStringLiteral("tvuTOC")), true, m_vwr->tocVisible());
    setCommandEnabled(FileNewBlank, design);
    setCommandEnabled(FileSaveAs, design);
    setCommandEnabled(FileOpen, true);
    setCommandEnabled(FileSave, true);
    setCommandEnabled(FilePrint, count >= 1);
    setCommandEnabled(FileExport, preview && count >= 1);
    setCommandEnabled(FilePrinterSetup, design);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuPrint")), count >= 1);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuExport")), count >= 1);
    if (QAction *save = action(QStringLiteral("tvuSave")))
        save->setEnabled(count >= 1);
    // A grid of pages has no zoom of its own.
    setCommandState(Command::viewer(QStringLiteral("tvuSinglePage")), true, !m_multiPage);
    setCommandState(Command::viewer(QStringLiteral("tvuMultiPage")), true, m_multiPage);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuZoomIn")), !m_multiPage);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuZoomOut")), !m_multiPage);
    if (m_cboViewZoom)
        m_cboViewZoom->setEnabled(!m_multiPage);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuCopyPage")), count >= 1);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuPageFirst")), current >= 1);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuPageUp")), current >= 1);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuPageDown")), current < count - 1);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuPageLast")), current < count - 1);
    setCommandEnabled(Command::viewer(QStringLiteral("tvuBack")), m_vwr->CanGoBack());
    setCommandEnabled(Command::viewer(QStringLiteral("tvuForward")), m_vwr->CanGoForward());
    // Commands of dialogs and windows still to come stay off.
    for (auto it = m_byCommand.cbegin(); it != m_byCommand.cend(); ++it) {
        const QString &c = it.key();
        if (!isCarriedOut(c))
            setCommandEnabled(c, false);
    }
    refreshMenus();
    showPageBox();
    showZoom(m_vwr->zoom());
}

void MainWindow::refreshMenus()
{
    using namespace Command;
    const bool design = viewMode() == ViewMode::Design;
    for (const char *name : {"mnuInsert", "mnuFormat", "miVToolbars"}) {
        if (QMenu *m = menu(QString::fromLatin1(name)))
            m->menuAction()->setEnabled(design);
    }
    // Commands of dialogs still to come stay off whatever the view.
    const auto enable = [this](const QString &command, bool on) { setCommandEnabled(command, on && isCarriedOut(command)); };
    for (const QString &c : {FileNewBlank, FileImportAccess, FileNewWizard, FilePrinterSetup, FileReportProperties,
                             FileSaveAs, ViewDataSource, ViewFieldList, ViewSortingAndGrouping, ViewPropertyList,
                             ViewStandardBar, ViewFormatBar, ViewToolbox, ViewGrid, EditOptions, InsertCalculatedField})
        enable(c, design);
    enable(FileExport, !design);
    enable(Command::action(DesignerAction::ScriptEditor), design);
    enable(ViewRuler, !design);
    enable(ViewToc, !design);
    for (const char *name : {"miFPrintPreview", "miVFullScreen"}) {
        if (QAction *a = action(QString::fromLatin1(name)))
            a->setEnabled(design);
    }
    // Full Screen and the field list show no check in the menu; the
    // lock's check is the button's.
    for (const char *name : {"miVFullScreen", "miVFieldList", "miFoLockControls"}) {
        if (QAction *a = action(QString::fromLatin1(name)))
            a->setChecked(false);
    }
    enable(ObjectProperties, design);
}

void MainWindow::showZoom(int zoom)
{
    if (!m_cboViewZoom)
        return;
    const QSignalBlocker block(m_cboViewZoom);
    if (zoom == -1)
        m_cboViewZoom->setCurrentIndex(8);
    else if (zoom == -2)
        m_cboViewZoom->setCurrentIndex(9);
    else
        m_cboViewZoom->setEditText(QStringLiteral(" %1%").arg(zoom));
}

void MainWindow::showPageBox()
{
    if (m_txtViewPageNumber && !m_txtViewPageNumber->hasFocus())
        m_txtViewPageNumber->setText(QStringLiteral("%1/%2").arg(m_vwr->canvas() + 1).arg(m_vwr->Pages()->Count()));
}

void MainWindow::selectionChanged()
{
    m_plist->Clear();
    const std::vector<QObject *> selected = m_dsg->Selection()->items();
    if (!selected.empty())
        m_plist->SetObjects(QList<QObject *>(selected.begin(), selected.end()));
    refreshTools();
}

void MainWindow::objectAdded(QObject *object, int kind)
{
    if (kind == 7) {
        m_plist->Clear();
        m_plist->AddObject(object);
        m_dsg->setInsertControlType(QString());
    }
    refreshTools();
}

} // namespace Orv
