#pragma once

#include "engine/core/status.h"
#include "engine/widgets/propertylist/propertytext.h"

#include <QList>
#include <QSet>
#include <QWidget>


class QLabel;
class QToolButton;
class QTreeView;
class QUndoStack;

namespace Orv {

class PropertyDelegate;
class PropertyDialogs;
class PropertyModel;
class PropertySet;

// The property list: the properties of the selected objects, grouped by
// category or sorted by name, with an editor for each kind of value. With
// several objects it shows what they have in common, blank where their
// values differ, and an edit changes them all as one undo step.
class PropertyList : public QWidget
{
    Q_OBJECT

public:
    explicit PropertyList(QWidget *parent = nullptr);
    ~PropertyList() override;

    // The operations the shell drives the list with.
    void Clear();
    void AddObject(QObject *object);
    void SetObjects(const QList<QObject *> &objects);
    bool Visible() const { return !isHidden(); }

    QList<QObject *> objects() const;

    // Edits become steps of this stack (the designer's); without one they
    // apply directly.
    void setUndoStack(QUndoStack *stack);
    void setUnit(LengthUnit unit);
    LengthUnit unit() const;
    // Sorted by name instead of grouped by category.
    void setAlphabetic(bool alphabetic);
    bool alphabetic() const;

    // Where the list asks for colours, fonts, pictures and long texts and
    // shows a refused edit; not owned. Without dialogs the "..." buttons
    // ask nothing and a refused edit is only signalled (editFailed).
    void setDialogs(PropertyDialogs *dialogs);
    PropertyDialogs *dialogs() const { return m_dialogs; }

    PropertySet *propertySet() const { return m_set; }
    PropertyModel *model() const { return m_model; }
    QTreeView *view() const { return m_view; }

Q_SIGNALS:
    // An edit was refused (the box has been or is about to be shown).
    void editFailed(const Orv::Status &status);

private:
    void modelAboutToReset();
    void modelReset();
    void updateTitle();
    void reportError(const Status &status);

    PropertySet *m_set;
    PropertyModel *m_model;
    QTreeView *m_view;
    PropertyDelegate *m_delegate;
    QLabel *m_title;
    QToolButton *m_grouped;
    QToolButton *m_sorted;
    PropertyDialogs *m_dialogs = nullptr;
    QSet<QString> m_expanded; // parts the user opened, by path
    QSet<QString> m_collapsed; // categories the user closed
};

} // namespace Orv
