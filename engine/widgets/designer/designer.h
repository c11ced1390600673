#pragma once
// The designer control: the design surface of one report, with rulers,
// grid, selection, in-place editing and every numbered design action.
// The host (the main window, a try-out window) gives it commands through
// ExecuteAction and InsertControlType and mirrors QueryActionState into its
// menus whenever actionStateChanged or selectionChanged is signalled.
#include "engine/core/status.h"
#include "engine/model/report.h"
#include "engine/widgets/designer/designeractions.h"

#include <QWidget>

class QUndoStack;

namespace Orv {

class DesignerCore;
class DesignView;

class Designer : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool IsDirty READ IsDirty WRITE setIsDirty)
    Q_PROPERTY(bool ShowGrid READ ShowGrid WRITE setShowGrid)
    Q_PROPERTY(QString InsertControlType READ InsertControlType WRITE setInsertControlType)
    Q_PROPERTY(Orv::Report *DesignedReport READ DesignedReport)
    Q_PROPERTY(Orv::DesignerSelection *Selection READ Selection)

public:
    explicit Designer(QWidget *parent = nullptr);
    ~Designer() override;

    Report *DesignedReport() const;
    Q_INVOKABLE void NewLayout();
    bool IsDirty() const;
    void setIsDirty(bool dirty);
    bool ExecuteAction(DesignerAction::Code code);
    int QueryActionState(DesignerAction::Code code) const;
    // The same for scripts, by the Code's number: one that is no code
    // does nothing and returns false, or the state 0.
    Q_INVOKABLE bool ExecuteAction(int code);
    Q_INVOKABLE int QueryActionState(int code) const;
    QString InsertControlType() const;
    void setInsertControlType(const QString &typeId);
    DesignerSelection *Selection() const;
    bool ShowGrid() const;
    void setShowGrid(bool show);
    Q_INVOKABLE void CopyLayoutTo(Orv::Report *target) const;

    // Other widgets (the property list) push their edits here, so that one
    // undo history covers the design.
    QUndoStack *undoStack() const;

    // Where prompted actions (colours, fonts, styles, borders, group order,
    // merge fields) ask the user; the designer does not own it. Without
    // prompts those actions do nothing and return false.
    void setPrompts(DesignerPrompts *prompts);
    DesignerPrompts *prompts() const;

    // Loads a layout file (the history starts afresh).
    Status loadLayout(const QString &path);
    double zoom() const;
    void setZoom(double zoom);

    DesignerCore *core() const { return m_core; }
    DesignView *view() const { return m_view; }

Q_SIGNALS:
    // IsDirty changed: an edit after a save, an undo back to it, a save.
    void dirtyChanged(bool dirty);
    void actionStateChanged(int code);
    void selectionChanged();
    // kind 7: a control the user has just drawn.
    void objectAdded(QObject *object, int kind);
    void contextMenuRequested(Orv::ContextMenuKind kind, const QString &typeName);

private:
    DesignerCore *m_core;
    DesignView *m_view;
};

} // namespace Orv
