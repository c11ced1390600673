#pragma once
// The designer without its window: the report being designed, the
// selection, the undo stack, the clipboard and every numbered action with
// its state. The designer widget draws this and turns mouse and keys into
// its calls; tests drive it directly.
#include "engine/core/status.h"
#include "engine/widgets/designer/designeractions.h"
#include "engine/widgets/designer/designercommands.h"
#include "engine/widgets/designer/designerstyles.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QUndoStack;

namespace Orv {

class Control;
class ModelObject;
class Report;
class Section;

class DesignerCore : public QObject, public CommandHost
{
    Q_OBJECT

public:
    explicit DesignerCore(QObject *parent = nullptr);
    ~DesignerCore() override;

    // The report being designed; it belongs to the designer.
    Report *DesignedReport() const { return m_report; }
    // Empties the design, the selection and the undo history.
    void NewLayout();
    // Loads a layout file into the design (undo history cleared).
    Status loadLayout(const QString &path);
    // The one answer to "are there unsaved changes": an edit since the
    // last save that undo has not taken back, or a change made around the
    // undo history. The report's own IsDirty follows it. A save (SaveLayout,
    // or IsDirty set false) marks the present state as the saved one;
    // setting it true marks the design changed until the next save.
    bool IsDirty() const { return m_dirty; }
    void setIsDirty(bool dirty);
    void CopyLayoutTo(Report *target) const;
    // Every edit of the design is a step here, the property list's too
    // (the stack is a CommandStack naming this core as its host).
    QUndoStack *undoStack() const { return m_undo; }

    int QueryActionState(DesignerAction::Code code) const;
    // Performs the action; false when it was not possible or was cancelled.
    bool ExecuteAction(DesignerAction::Code code);

    // The type identifier the next drag inserts ("" for selection). An
    // identifier the engine does not know is refused (false) and leaves
    // selection mode.
    QString InsertControlType() const { return m_insertType; }
    bool setInsertControlType(const QString &typeId);

    // Grid: rows per inch (or per centimetre when metric).
    bool ShowGrid() const { return m_showGrid; }
    void setShowGrid(bool show);
    bool snapToGrid() const { return m_snap; }
    void setSnapToGrid(bool snap);
    int gridRows() const { return m_gridRows; }
    void setGridRows(int rows);
    bool metricGrid() const { return m_metric; }
    void setMetricGrid(bool metric);
    double gridStep() const; // twips
    double snapped(double twips) const;
    // While locked, controls cannot be moved or resized.
    bool controlsLocked() const { return m_locked; }

    // Selection. Controls, or one section, or the report; mixing a section
    // with controls keeps the controls.
    DesignerSelection *Selection() const { return m_selection; }
    enum class SelectMode { Replace, Add, Toggle };
    void setSelection(const std::vector<QObject *> &objects, SelectMode mode = SelectMode::Replace);
    void select(QObject *object, SelectMode mode = SelectMode::Replace) { setSelection({object}, mode); }
    void clearSelection() { setSelection({}); }
    std::vector<Control *> selectedControls() const;
    Control *primaryControl() const; // the first selected control
    Section *selectedSection() const;
    bool isSelected(const QObject *object) const { return m_selection->contains(object); }
    // The section new sections, pastes and key commands refer to: the one
    // last clicked or holding the selection.
    Section *currentSection() const;
    void setCurrentSection(Section *section);

    // Edits made by the mouse and keys; each is one undo step.
    struct Placement
    {
        Control *control = nullptr;
        Section *section = nullptr; // where it goes (may differ from now)
        QRectF rect;                // twips in that section
    };
    bool placeControls(const std::vector<Placement> &placements, const QString &text, int mergeKey = 0);
    // Moves the selection (dx, dy twips) or, with resize, changes its size.
    bool nudgeSelection(double dx, double dy, bool resize);
    bool setLineEnds(Control *line, const QPointF &from, const QPointF &to);
    bool setSectionHeight(Section *section, double height);
    // A new control of typeId in section, from a drag between two points
    // (twips in the section); a click gives the kind's own size.
    Control *insertControl(const QString &typeId, Section *section, const QPointF &from, const QPointF &to);
    // The caption of a label or check box, or the text of a rich edit.
    bool setControlText(Control *control, const QString &text);
    // Any change to the given objects as one undo step: their properties
    // (and their parts') are compared before and after.
    bool edit(const QString &text, const std::vector<QObject *> &objects, const std::function<void()> &change,
              int mergeKey = 0);

    // What the prompted actions do with an answer; hosts with their own
    // boxes (font name, size, style) call these directly.
    bool applyFont(const DesignerFont &font);
    bool applyFontName(const QString &name);
    bool applyFontSize(double size);
    bool applyStyle(const QString &style);
    bool applyColor(DesignerAction::Code code, int color);
    bool applyLineStyle(int style);
    bool applyBorder(const DesignerBorder &border);
    // order: group positions, outermost first, in their new order.
    bool reorderGroups(const std::vector<int> &order);

    bool copySelection() const;
    bool paste();
    bool deleteSelection();
    bool deleteSection(Section *section);

    // Not owned; without prompts the prompted actions return false.
    void setPrompts(DesignerPrompts *prompts);
    DesignerPrompts *prompts() const { return m_prompts; }
    void setTextEditor(DesignerTextEditor *editor);
    DesignerTextEditor *textEditor() const { return m_editor; }

    // Recomputes every state word and reports the ones that changed.
    void refreshActionStates();

    // The text styles offered by the style action and the style box.
    static QStringList styleNames();
    // The styles' looks: what the style action gives a control, and what
    // a new label, field or check box starts with (Normal).
    const DesignerStyles &textStyles() const { return m_styles; }
    // Changes a style's look. The labels, fields and check boxes of that
    // style follow it in each part of their look that was the style's
    // (a part set on the control itself stays), as one undo step; false
    // when nothing changed. Within a style change (below) the controls
    // follow at once and the undo step waits for its end.
    bool setTextStyle(const QString &name, const TextLook &look);
    // A style change the user is trying out (the options dialog): begin
    // remembers the styles and the controls' looks; end keeps what was
    // set (one undo step for the controls) or puts everything back.
    void beginStyleChange();
    void endStyleChange(bool keep);
    bool inStyleChange() const { return m_styleChange.active; }

    void beginChange() override;
    void endChange() override;

Q_SIGNALS:
    // IsDirty changed.
    void dirtyChanged(bool dirty);
    void actionStateChanged(int code); // the Code's number
    void selectionChanged();
    // kind 7: a control just drawn by the user.
    void objectAdded(QObject *object, int kind);
    // Sections or controls came or went, or their order changed.
    void structureChanged();
    // A property of an object in the report changed.
    void objectChanged(Orv::ModelObject *object);
    void gridChanged();
    // A style's look changed (or was put back).
    void textStylesChanged();
    void insertControlTypeChanged(const QString &typeId);

private:
    int computeState(DesignerAction::Code code) const;
    bool execute(DesignerAction::Code code);
    void onModified(ModelObject *object);
    void onReportDirtyChanged(bool dirty);
    void markSaved();
    void updateDirty();
    void pruneSelection();
    bool containsObject(const QObject *object) const;
    Section *deletableSection() const;
    QRectF selectionBounds() const;

    bool alignSelection(DesignerAction::Code code);
    bool sizeSelection(DesignerAction::Code code);
    bool spaceSelection(DesignerAction::Code code);
    bool orderSelection(DesignerAction::Code code);
    bool toggleFontFlag(DesignerAction::Code code);
    bool setAlignment(DesignerAction::Code code);
    bool richParagraphAction(DesignerAction::Code code);
    bool promptedAction(DesignerAction::Code code);
    bool insertSectionPair(DesignerAction::Code code);
    bool cut();
    bool growSectionsFor(const std::vector<Control *> &controls);

    Report *m_report;
    CommandStack *m_undo;
    DesignerSelection *m_selection;
    QPointer<Section> m_currentSection;
    DesignerPrompts *m_prompts = nullptr;
    DesignerTextEditor *m_editor = nullptr;
    QString m_insertType;
    bool m_showGrid = true;
    bool m_snap = true;
    int m_gridRows = 16;
    bool m_metric = false;
    bool m_locked = false;
    int m_changeDepth = 0;
    bool m_structureDirty = false;
    bool m_externalChange = false; // a change outside the undo stack since the last save
    bool m_dirty = false;
    bool m_syncingReport = false; // while the report's flag is set to follow m_dirty
    bool m_clipboardHasFragment = false;
    std::array<int, DesignerAction::Count> m_states{};
    DesignerStyles m_styles;
    struct StyleChange
    {
        bool active = false;
        DesignerStyles before;
        // The styled controls when it began, the style each carries and
        // the parts of its look that follow that style.
        struct Follower
        {
            QPointer<QObject> control; // a TextControl
            QString style;
            int parts = 0;
        };
        std::vector<Follower> followers;
        std::vector<QObject *> objects;
        PropertySnapshot snapshot;
    } m_styleChange;
};

} // namespace Orv
