// The main window's design commands that are the shell's own: the font,
// style and size boxes, the font dialog and colour buttons, the Edit menu's
// focus rule, the pop-up menus, Full Screen, the script editor and the
// field list with its drop onto a section.
#include "dialogs/scripteditor/scripteditor.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designscene.h"
#include "engine/widgets/designer/designview.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "shell/actioncatalogue.h"
#include "shell/designformat.h"
#include "shell/window/coolbar.h"
#include "shell/window/fieldlistpane.h"
#include "shell/window/mainwindow.h"
#include "ui/uiseam.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

namespace Orv {

namespace {

// Takes field list drags over the design surface.
class DropFilter : public QObject
{
public:
    DropFilter(QObject *parent, std::function<bool(QEvent *)> handle) : QObject(parent), m_handle(std::move(handle)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (m_handle(event))
                return true;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QEvent *)> m_handle;
};

void setBoxText(QComboBox *box, const QString &text)
{
    const QSignalBlocker block(box);
    if (text.isEmpty()) {
        box->setCurrentIndex(-1);
        if (box->isEditable())
            box->setEditText(QString());
        return;
    }
    int index = -1;
    for (int i = 0; i < box->count() && index < 0; ++i) {
        if (box->itemText(i).trimmed().compare(text, Qt::CaseInsensitive) == 0)
            index = i;
    }
    box->setCurrentIndex(index);
    if (box->isEditable() && index < 0)
        box->setEditText(text);
}

} // namespace

void MainWindow::buildFormatBoxes(QToolBar *bar, QAction *before)
{
    m_cboFoFontName = new QComboBox(bar);
    m_cboFoFontName->setObjectName(QStringLiteral("cboFoFontName"));
    m_cboFoFontName->setEditable(true);
    m_cboFoFontName->setInsertPolicy(QComboBox::NoInsert);
    m_cboFoFontName->setMinimumContentsLength(14);
    m_cboFoFontName->setToolTip(tr("字体"));
    m_cboFoStyle = new QComboBox(bar);
    m_cboFoStyle->setObjectName(QStringLiteral("cboFoStyle"));
    m_cboFoStyle->setMinimumContentsLength(8);
    m_cboFoStyle->setToolTip(tr("样式"));
    m_cboFoFontSize = new QComboBox(bar);
    m_cboFoFontSize->setObjectName(QStringLiteral("cboFoFontSize"));
    m_cboFoFontSize->setEditable(true);
    m_cboFoFontSize->setInsertPolicy(QComboBox::NoInsert);
    m_cboFoFontSize->setMinimumContentsLength(3);
    m_cboFoFontSize->setToolTip(tr("字号"));
    bar->insertWidget(before, m_cboFoStyle);
    bar->insertWidget(before, m_cboFoFontName);
    bar->insertWidget(before, m_cboFoFontSize);
    // An item picked from the list, or a text typed and Enter.
    connect(m_cboFoFontName, &QComboBox::activated, this,
            [this](int index) { chooseFontName(m_cboFoFontName->itemText(index)); });
    connect(m_cboFoFontName->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { chooseFontName(m_cboFoFontName->currentText()); });
    connect(m_cboFoFontSize, &QComboBox::activated, this,
            [this](int index) { chooseFontSize(m_cboFoFontSize->itemText(index)); });
    connect(m_cboFoFontSize->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { chooseFontSize(m_cboFoFontSize->currentText()); });
    connect(m_cboFoStyle, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || viewMode() != ViewMode::Design)
            return;
        DesignFormat::applyStyle(*m_dsg->core(), m_cboFoStyle->itemText(index));
        refreshTools();
        m_dsg->setFocus();
    });
}

void MainWindow::chooseFontName(const QString &name)
{
    if (viewMode() != ViewMode::Design || name.trimmed().isEmpty())
        return;
    DesignFormat::applyFontName(*m_dsg->core(), name.trimmed());
    refreshTools();
    m_dsg->setFocus();
}

void MainWindow::chooseFontSize(const QString &text)
{
    if (viewMode() != ViewMode::Design)
        return;
    QString error;
    const auto size = DesignFormat::parseFontSize(text, &error);
    if (!size) {
        m_ui.messageBox(error, tr("字号"), MessageButtons::Ok, MessageIcon::Exclamation);
        refreshTools(); // the box shows the size again
        m_cboFoFontSize->setFocus();
        return;
    }
    DesignFormat::applyFontSize(*m_dsg->core(), *size);
    refreshTools();
    m_dsg->setFocus();
}

void MainWindow::showFontState(bool enabled, bool showSize)
{
    if (!m_cboFoFontName)
        return;
    const DesignFormat::BoxTexts first = enabled ? DesignFormat::firstSelected(*m_dsg->core()) : DesignFormat::BoxTexts();
    if (showSize) {
        m_cboFoFontSize->setEnabled(enabled);
        if (enabled)
            setBoxText(m_cboFoFontSize, first.fontSize);
        return;
    }
    m_cboFoFontName->setEnabled(enabled);
    m_cboFoStyle->setEnabled(enabled);
    if (enabled) {
        setBoxText(m_cboFoFontName, first.fontName);
        setBoxText(m_cboFoStyle, first.style);
    }
}

void MainWindow::refreshFormatBoxes()
{
    if (!m_cboFoFontName)
        return;
    // Filled once, at the first refresh.
    if (m_cboFoStyle->count() == 0) {
        m_cboFoStyle->addItems(DesignFormat::styleItems());
        showStyleFonts();
        connect(m_dsg->core(), &DesignerCore::textStylesChanged, this, &MainWindow::showStyleFonts);
    }
    if (m_cboFoFontSize->count() == 0)
        m_cboFoFontSize->addItems(DesignFormat::sizeItems());
    if (m_cboFoFontName->count() == 0) {
        const QSignalBlocker block(m_cboFoFontName);
        m_cboFoFontName->addItems(QFontDatabase::families());
    }
    const DesignFormat::BoxTexts texts = DesignFormat::boxTexts(*m_dsg->core());
    setBoxText(m_cboFoStyle, texts.style);
    setBoxText(m_cboFoFontName, texts.fontName);
    setBoxText(m_cboFoFontSize, texts.fontSize);
}

void MainWindow::showStyleFonts()
{
    // Each entry in the font of its style, as the style is now.
    for (int i = 0; i < m_cboFoStyle->count(); ++i)
        m_cboFoStyle->setItemData(i, DesignFormat::styleFont(*m_dsg->core(), m_cboFoStyle->itemText(i)), Qt::FontRole);
}

bool MainWindow::designerHasFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == m_dsg || m_dsg->isAncestorOf(focus));
}

bool MainWindow::followsFocusRule(const QString &name)
{
    static const QSet<QString> names{QStringLiteral("miEUndo"),   QStringLiteral("miERedo"),
                                     QStringLiteral("miECut"),    QStringLiteral("miECopy"),
                                     QStringLiteral("miEPaste"),  QStringLiteral("miEDelete"),
                                     QStringLiteral("miESelectAll")};
    return names.contains(name);
}

bool MainWindow::executeDesignCommand(const QString &command)
{
    using namespace Command;
    DesignerCore &core = *m_dsg->core();
    if (command == Command::action(DesignerAction::FullScreen)) {
        setFullScreen(!m_fullScreen);
    } else if (command == FullScreenExit) {
        setFullScreen(false);
    } else if (viewMode() != ViewMode::Design) {
        return command == Command::action(DesignerAction::ScriptEditor) || command == FormatFontDialog || command == FormatBackColor
            || command == FormatForeColor || command == FormatLineColor || command == EditRedo || command == EditSelectAll;
    } else if (command == Command::action(DesignerAction::ScriptEditor)) {
        showScriptEditor();
    } else if (command == FormatFontDialog) {
        DesignFormat::fontDialog(core, m_ui);
    } else if (command == FormatBackColor) {
        // A section alone takes the designer's own back colour.
        if (core.selectedControls().empty())
            m_dsg->ExecuteAction(DesignerAction::BackColor);
        else
            DesignFormat::colorButton(core, m_ui, DesignFormat::ColorTarget::Back);
    } else if (command == FormatForeColor) {
        DesignFormat::colorButton(core, m_ui, DesignFormat::ColorTarget::Fore);
    } else if (command == FormatLineColor) {
        DesignFormat::colorButton(core, m_ui, DesignFormat::ColorTarget::Line);
    } else if (command == EditRedo) {
        core.undoStack()->redo();
    } else if (command == EditSelectAll) {
        const std::vector<Control *> all = core.DesignedReport()->allControls();
        core.setSelection(std::vector<QObject *>(all.begin(), all.end()));
    } else {
        return false;
    }
    return true;
}

void MainWindow::showContextMenu(ContextMenuKind kind, const QString &typeName)
{
    refreshTools();
    QString name;
    switch (kind) {
    case ContextMenuKind::Section: name = QStringLiteral("mnuCSection"); break;
    case ContextMenuKind::Control:
        name = typeName.compare(QLatin1String("Frame"), Qt::CaseInsensitive) == 0      ? QStringLiteral("mnuCFrameControl")
             : typeName.compare(QLatin1String("RichEdit"), Qt::CaseInsensitive) == 0 ? QStringLiteral("mnuCRichEdit")
                                                                                       : QStringLiteral("mnuCControl");
        break;
    case ContextMenuKind::Report: name = QStringLiteral("mnuCReport"); break;
    case ContextMenuKind::RichTextEditing: name = QStringLiteral("mnuCRichEdit"); break;
    }
    if (QMenu *m = menu(name))
        m->popup(QCursor::pos());
}

void MainWindow::setFullScreen(bool on)
{
    if (on == m_fullScreen)
        return;
    if (on && viewMode() != ViewMode::Design)
        setView(0);
    m_fullScreen = on;
    menuBar()->setVisible(!on);
    m_picBottom->setVisible(!on);
    m_cbDesign->setVisible(!on);
    if (on) {
        m_wasMaximized = isMaximized();
        m_statusWasVisible = !statusBar()->isHidden();
        statusBar()->hide();
        m_fieldDockWasVisible = !m_fieldDock->isHidden();
        m_fieldDock->hide();
        showFullScreen();
    } else {
        statusBar()->setVisible(m_statusWasVisible);
        if (m_fieldDockWasVisible)
            m_fieldDock->show();
        if (m_wasMaximized)
            showMaximized();
        else
            showNormal();
    }
    m_exitFullScreen->setEnabled(on);
    layoutClient();
    layoutDesignPage();
    m_dsg->setFocus();
    refreshTools();
}

void MainWindow::showScriptEditor()
{
    DesignerCore &core = *m_dsg->core();
    ScriptEditorModel model(core);
    // The script of the section in hand, else the report's.
    const Section *section = core.selectedSection();
    if (!section && core.primaryControl())
        section = core.primaryControl()->section();
    const int current = section ? std::max(0, model.indexOf(section)) : 0;
    frmScriptEditor editor(model, m_ui, current, this);
    editor.exec();
    refreshTools();
}

void MainWindow::setUpDesignCommands()
{
    connect(m_dsg, &Designer::contextMenuRequested, this, &MainWindow::showContextMenu);

    // Escape leaves Full Screen.
    m_exitFullScreen = new QAction(this);
    m_exitFullScreen->setObjectName(QStringLiteral("FullScreenExit"));
    m_exitFullScreen->setShortcut(QKeySequence(Qt::Key_Escape));
    m_exitFullScreen->setShortcutContext(Qt::WindowShortcut);
    m_exitFullScreen->setEnabled(false);
    connect(m_exitFullScreen, &QAction::triggered, this, [this] { execute(Command::FullScreenExit); });
    addAction(m_exitFullScreen);

    // The field list: a dock beside the pages.
    m_fieldDock = new QDockWidget(tr("字段列表"), this);
    m_fieldDock->setObjectName(QStringLiteral("dockFieldList"));
    m_fieldList = new FieldListPane(m_fieldDock);
    m_fieldDock->setWidget(m_fieldList);
    addDockWidget(Qt::RightDockWidgetArea, m_fieldDock);
    m_fieldDock->hide();
    connect(m_fieldList, &FieldListPane::refreshRequested, this,
            [this] { m_fieldList->refresh(*m_dsg->DesignedReport(), m_document->currentFolder()); });

    // Fields dragged from the list onto a section.
    DesignView *view = m_dsg->view();
    view->setAcceptDrops(true);
    view->viewport()->setAcceptDrops(true);
    view->viewport()->installEventFilter(new DropFilter(this, [this, view](QEvent *event) {
        auto *drag = static_cast<QDropEvent *>(event);
        const QMimeData *data = drag->mimeData();
        if (!data || !data->hasFormat(QString::fromLatin1(FieldList::MimeType)) || viewMode() != ViewMode::Design)
            return false;
        const QPointF scene = view->mapToScene(drag->position().toPoint());
        const BandGeometry *band = view->designScene()->bandAt(scene.y());
        if (!band || !band->section || scene.y() < band->bodyTop) {
            drag->ignore();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            const QString field = QString::fromUtf8(data->data(QString::fromLatin1(FieldList::MimeType)));
            FieldList::dropField(*m_dsg->core(), band->section, field, QPointF(scene.x(), scene.y() - band->bodyTop));
            m_dsg->setFocus();
        }
        drag->acceptProposedAction();
        return true;
    }));
}

} // namespace Orv
