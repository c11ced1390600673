#include "designerwindow.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

namespace Orv {

using namespace DesignerAction;

DesignerWindow::DesignerWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_designer(new Designer(this))
    , m_ui(this)
    , m_prompts(m_ui)
{
    m_designer->setPrompts(&m_prompts);
    setCentralWidget(m_designer);
    m_status = new QLabel;
    statusBar()->addWidget(m_status, 1);
    buildMenus();
    buildToolbars();
    connect(m_designer, &Designer::actionStateChanged, this, [this](int code) { refreshAction(Code(code)); });
    connect(m_designer, &Designer::selectionChanged, this, &DesignerWindow::refreshAll);
    connect(m_designer, &Designer::objectAdded, this, [this](QObject *object, int kind) {
        if (kind == 7) {
            m_selectTool->setChecked(true);
            m_status->setText(tr("Added %1").arg(object->property("Name").toString()));
        }
        refreshAll();
    });
    connect(m_designer, &Designer::contextMenuRequested, this, &DesignerWindow::showContextMenu);
    connect(m_designer, &Designer::dirtyChanged, this, &DesignerWindow::updateTitle);
    connect(m_designer->undoStack(), &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    refreshAll();
    updateTitle();
    resize(1100, 780);
}

DesignerWindow::~DesignerWindow()
{
    // The prompts go before the designer, a child widget, does.
    m_designer->setPrompts(nullptr);
}

QAction *DesignerWindow::actionFor(Code code, const QString &text, const QKeySequence &shortcut)
{
    auto *action = new QAction(text.isEmpty() ? name(code) : text, this);
    action->setShortcut(shortcut);
    action->setData(int(code));
    connect(action, &QAction::triggered, this, [this, code] {
        m_designer->ExecuteAction(code);
        refreshAll();
    });
    m_actions[int(code)].append(action);
    return action;
}

QAction *DesignerWindow::insertAction(const QString &text, const QString &typeId)
{
    auto *action = new QAction(text, this);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, typeId] { m_designer->setInsertControlType(typeId); });
    m_insertActions.append(action);
    return action;
}

void DesignerWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), QKeySequence::New, this, [this] {
        if (maybeSave()) {
            m_designer->NewLayout();
            m_path.clear();
            updateTitle();
        }
    });
    file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
        if (!maybeSave())
            return;
        const QString path = QFileDialog::getOpenFileName(this, tr("Open Layout"), QString(), tr("Layouts (*.rpx);;All files (*)"));
        if (!path.isEmpty())
            openLayout(path);
    });
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { save(false); });
    file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] { save(true); });
    file->addSeparator();
    file->addAction(tr("&Preview"), QKeySequence(Qt::Key_F5), this, &DesignerWindow::preview);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(actionFor(Undo, tr("&Undo"), QKeySequence::Undo));
    m_redo = edit->addAction(tr("&Redo"), QKeySequence::Redo, m_designer->undoStack(), &QUndoStack::redo);
    m_redo->setEnabled(false);
    edit->addSeparator();
    edit->addAction(actionFor(Cut, tr("Cu&t"), QKeySequence::Cut));
    edit->addAction(actionFor(Copy, tr("&Copy"), QKeySequence::Copy));
    edit->addAction(actionFor(Paste, tr("&Paste"), QKeySequence::Paste));
    edit->addAction(actionFor(Delete, tr("&Delete")));
    edit->addAction(actionFor(DeleteSection, tr("Delete &Section")));
    edit->addSeparator();
    edit->addAction(actionFor(ReorderGroups, tr("&Reorder Groups...")));
    for (QAction *a : edit->actions()) {
        // The view handles its own keys; the shortcuts here are for show.
        if (a->data().isValid())
            a->setShortcutContext(Qt::WidgetShortcut);
    }

    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *grid = actionFor(Grid, tr("Show &Grid"));
    grid->setCheckable(true);
    view->addAction(grid);
    QAction *snap = actionFor(Snap, tr("&Snap to Grid"));
    snap->setCheckable(true);
    view->addAction(snap);
    view->addSeparator();
    view->addAction(tr("Zoom &In"), QKeySequence::ZoomIn, this, [this] { m_designer->setZoom(m_designer->zoom() * 1.25); });
    view->addAction(tr("Zoom &Out"), QKeySequence::ZoomOut, this, [this] { m_designer->setZoom(m_designer->zoom() / 1.25); });
    view->addAction(tr("&Actual Size"), this, [this] { m_designer->setZoom(1.0); });

    QMenu *insert = menuBar()->addMenu(tr("&Insert"));
    insert->addAction(actionFor(InsertReportHF, tr("&Report Header/Footer")));
    insert->addAction(actionFor(InsertPageHF, tr("&Page Header/Footer")));
    insert->addAction(actionFor(InsertGroupHF, tr("&Group Header/Footer")));
    insert->addSeparator();
    const std::pair<const char *, const char *> kinds[] = {
        {"Label", "OrvEngine.Label"},       {"Text Box", "OrvEngine.Field"},   {"Check Box", "OrvEngine.Checkbox"},
        {"Image", "OrvEngine.Image"},       {"Line", "OrvEngine.Line"},        {"Shape", "OrvEngine.Shape"},
        {"Rich Text", "OrvEngine.RichEdit"}, {"Frame", "OrvEngine.Frame"},     {"Subreport", "OrvEngine.Subreport"},
        {"Page Break", "OrvEngine.PageBreak"}, {"OLE Object", "OrvEngine.OLE"}, {"Barcode", "OrvEngine.Barcode"},
        {"Chart", "OrvEngine.Chart"}};
    auto *tools = new QActionGroup(this);
    m_selectTool = insertAction(tr("Select"), QString());
    m_selectTool->setChecked(true);
    tools->addAction(m_selectTool);
    for (const auto &[text, id] : kinds) {
        QAction *a = insertAction(tr(text), QString::fromLatin1(id));
        tools->addAction(a);
        insert->addAction(a);
    }

    QMenu *format = menuBar()->addMenu(tr("F&ormat"));
    QMenu *align = format->addMenu(tr("&Align"));
    for (Code code : {AlignLefts, AlignCenters, AlignRights, AlignTops, AlignMiddles, AlignBottoms, AlignToGrid, CenterInSection})
        align->addAction(actionFor(code, code == AlignRights ? tr("Align Rights") : QString()));
    QMenu *size = format->addMenu(tr("&Size"));
    for (Code code : {SameWidth, SameHeight, SameSize})
        size->addAction(actionFor(code, QString()));
    QMenu *hspace = format->addMenu(tr("&Horizontal Spacing"));
    for (Code code : {SpaceHEven, IncHSpace, DecHSpace})
        hspace->addAction(actionFor(code, QString()));
    QMenu *vspace = format->addMenu(tr("&Vertical Spacing"));
    for (Code code : {SpaceVEven, IncVSpace, DecVSpace})
        vspace->addAction(actionFor(code, QString()));
    format->addAction(actionFor(BringToFront, tr("Bring to &Front")));
    format->addAction(actionFor(SendToBack, tr("Send to &Back")));
    QAction *lock = actionFor(Lock, tr("&Lock Controls"));
    lock->setCheckable(true);
    format->addAction(lock);
    format->addSeparator();
    format->addAction(actionFor(Style, tr("St&yle...")));
    format->addAction(actionFor(FontName, tr("&Font...")));
    format->addAction(actionFor(FontSize, tr("Font Si&ze...")));
    format->addAction(actionFor(ForeColor, tr("Fore Colour...")));
    format->addAction(actionFor(BackColor, tr("Back Colour...")));
    format->addAction(actionFor(LineColor, tr("Line Colour...")));
    format->addAction(actionFor(LineStyle, tr("Line Style...")));
    format->addAction(actionFor(DesignerAction::Border, tr("Border...")));
    format->addAction(actionFor(InsertField, tr("Insert Merge Field...")));
}

void DesignerWindow::buildToolbars()
{
    QToolBar *toolbox = addToolBar(tr("Toolbox"));
    toolbox->addActions(m_insertActions);
    addToolBarBreak();
    QToolBar *formatBar = addToolBar(tr("Format"));
    for (Code code : {Bold, Italic, Underline}) {
        QAction *a = actionFor(code, code == Bold ? tr("B") : code == Italic ? tr("I") : tr("U"));
        a->setCheckable(true);
        formatBar->addAction(a);
    }
    formatBar->addSeparator();
    for (Code code : {AlignLeft, AlignCenter, AlignRight, Bullet, Outdent, Indent}) {
        QAction *a = actionFor(code, QString());
        a->setCheckable(code <= AlignRight || code == Bullet);
        formatBar->addAction(a);
    }
    QToolBar *alignBar = addToolBar(tr("Align"));
    for (Code code : {BringToFront, SendToBack, AlignLefts, AlignCenters, AlignRights, AlignTops, AlignMiddles,
                     AlignBottoms, AlignToGrid, SameWidth, SameHeight, SameSize}) {
        QAction *a = actionFor(code, code == AlignRights ? tr("Align Rights") : QString());
        alignBar->addAction(a);
    }
}

void DesignerWindow::refreshAction(Code code)
{
    const int state = m_designer->QueryActionState(code);
    for (QAction *a : m_actions.value(int(code))) {
        a->setEnabled(state & Enabled);
        if (a->isCheckable())
            a->setChecked(state & Checked);
    }
}

void DesignerWindow::refreshAll()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        refreshAction(Code(it.key()));
    const DesignerSelection *selection = m_designer->Selection();
    if (selection->Count() == 1) {
        QObject *o = selection->Item(0);
        m_status->setText(o->property("Name").toString().isEmpty() ? tr("Report") : o->property("Name").toString());
    } else if (selection->Count() > 1) {
        m_status->setText(tr("%1 controls").arg(selection->Count()));
    } else {
        m_status->clear();
    }
    if (m_designer->InsertControlType().isEmpty())
        m_selectTool->setChecked(true);
}

void DesignerWindow::showContextMenu(ContextMenuKind kind, const QString &typeName)
{
    QMenu menu(this);
    auto add = [&](Code code) { menu.addAction(m_actions.value(int(code)).value(0)); };
    refreshAll();
    switch (kind) {
    case ContextMenuKind::Section:
        add(Paste);
        menu.addSeparator();
        add(InsertReportHF);
        add(InsertPageHF);
        add(InsertGroupHF);
        add(DeleteSection);
        add(ReorderGroups);
        add(BackColor);
        break;
    case ContextMenuKind::Control:
        for (Code code : {Cut, Copy, Paste, Delete})
            add(code);
        menu.addSeparator();
        for (Code code : {BringToFront, SendToBack, FontName, ForeColor, BackColor, DesignerAction::Border})
            add(code);
        break;
    case ContextMenuKind::RichTextEditing:
        for (Code code : {Cut, Copy, Paste, Delete, InsertField, Bullet, Indent, Outdent})
            add(code);
        break;
    case ContextMenuKind::Report:
        menu.addAction(tr("Report: %1").arg(m_designer->DesignedReport()->documentName()))->setEnabled(false);
        break;
    }
    Q_UNUSED(typeName);
    menu.exec(QCursor::pos());
}

void DesignerWindow::updateTitle()
{
    const QString name = m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).fileName();
    setWindowTitle(tr("%1%2 - OrvReport Designer").arg(name, m_designer->IsDirty() ? QStringLiteral("*") : QString()));
}

bool DesignerWindow::openLayout(const QString &path)
{
    const Status status = m_designer->loadLayout(path);
    if (!status.ok()) {
        QMessageBox::warning(this, tr("Open Layout"), status.description());
        return false;
    }
    m_path = path;
    updateTitle();
    refreshAll();
    return true;
}

bool DesignerWindow::save(bool askName)
{
    QString path = m_path;
    if (askName || path.isEmpty()) {
        path = QFileDialog::getSaveFileName(this, tr("Save Layout"), m_path, tr("Layouts (*.rpx)"));
        if (path.isEmpty())
            return false;
    }
    const Status status = SaveLayout(*m_designer->DesignedReport(), path, LayoutFile::ToFile);
    if (!status.ok()) {
        QMessageBox::warning(this, tr("Save Layout"), status.description());
        return false;
    }
    m_path = path;
    updateTitle();
    return true;
}

// Runs the saved layout in the viewer window, a program of its own beside
// this one (in the build tree it sits in ../viewer).
void DesignerWindow::preview()
{
    if ((m_designer->IsDirty() || m_path.isEmpty()) && !save(false))
        return;
    const QString dir = QCoreApplication::applicationDirPath();
    QString viewer;
    for (const QString &candidate : {dir + QStringLiteral("/orv-viewer-window"), dir + QStringLiteral("/../viewer/orv-viewer-window")}) {
        if (QFileInfo(candidate).isExecutable()) {
            viewer = QFileInfo(candidate).canonicalFilePath();
            break;
        }
    }
    if (viewer.isEmpty())
        viewer = QStandardPaths::findExecutable(QStringLiteral("orv-viewer-window"));
    if (viewer.isEmpty()) {
        QMessageBox::warning(this, tr("Preview"), tr("The viewer program orv-viewer-window was not found next to %1.")
                                                      .arg(QDir::toNativeSeparators(dir)));
        return;
    }
    if (!QProcess::startDetached(viewer, {m_path}, QFileInfo(m_path).absolutePath()))
        QMessageBox::warning(this, tr("Preview"), tr("%1 could not be started.").arg(QDir::toNativeSeparators(viewer)));
}

bool DesignerWindow::maybeSave()
{
    if (!m_designer->IsDirty())
        return true;
    const auto answer = QMessageBox::question(this, tr("OrvReport Designer"), tr("Save the changes to the layout?"),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || save(false);
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

} // namespace Orv
