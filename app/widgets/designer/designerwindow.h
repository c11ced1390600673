#pragma once
#include "ui/uidesignerprompts.h"
#include "ui/widgetui.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;

namespace Orv {

class Designer;

// The designer with a menu and toolbars of its actions. Every action's
// enabled and checked state comes from the designer.
class DesignerWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit DesignerWindow(QWidget *parent = nullptr);
    ~DesignerWindow() override;

    Designer *designer() const { return m_designer; }
    bool openLayout(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *actionFor(DesignerAction::Code code, const QString &text, const QKeySequence &shortcut = {});
    QAction *insertAction(const QString &text, const QString &typeId);
    void buildMenus();
    void buildToolbars();
    void refreshAction(DesignerAction::Code code);
    void refreshAll();
    void updateTitle();
    void showContextMenu(ContextMenuKind kind, const QString &typeName);
    bool save(bool askName);
    bool maybeSave();
    void preview();

    Designer *m_designer;
    WidgetUi m_ui;
    UiDesignerPrompts m_prompts;
    QHash<int, QList<QAction *>> m_actions; // by the action's number
    QList<QAction *> m_insertActions;
    QAction *m_selectTool = nullptr;
    QAction *m_redo = nullptr;
    QLabel *m_status = nullptr;
    QString m_path;
};

} // namespace Orv
