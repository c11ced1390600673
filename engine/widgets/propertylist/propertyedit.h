#pragma once

#include "engine/core/status.h"

#include <QList>
#include <QMetaProperty>
#include <QPointer>
#include <QString>
#include <QUndoCommand>
#include <QVariant>

#include <memory>
#include <vector>

class QUndoStack;

namespace Orv {

// One value for one property path ("Left", "Font.Bold").
struct PropertyAssignment
{
    QString path;
    QVariant value;
};

// An edit of one or more properties on one or more objects, as one undo
// step. It keeps, per object, the stored values the edit changed, before
// and after, so undo puts back exactly what was there: for a property that
// is derived from others (a line's Left moves its end points) it keeps the
// stored properties of its holder, never a recomputed value.
class PropertyEditCommand : public QUndoCommand
{
public:
    // Sets every assignment on every object. All or nothing: when a write
    // fails, the values already written are put back and the failure is
    // returned with the object's name as its source. Returns null (and
    // success) when no value actually changed.
    static std::unique_ptr<PropertyEditCommand> apply(const QList<QObject *> &objects,
                                                      const QList<PropertyAssignment> &assignments,
                                                      Status *status);

    void undo() override;
    void redo() override;

    // The objects the command changes that still exist.
    QList<QObject *> objects() const;

private:
    PropertyEditCommand() = default;

    struct Saved
    {
        QPointer<QObject> holder; // the object or its part
        QMetaProperty meta;
        QVariant before;
        QVariant after;
    };
    static void restore(const Saved &saved, const QVariant &value);

    std::vector<Saved> m_saved;
    QList<QPointer<QObject>> m_objects;
};

// Applies an edit: through the stack as one undo step when there is one,
// else directly. text is the undo step's text ("Change Left").
Status applyPropertyEdit(const QList<QObject *> &objects, const QList<PropertyAssignment> &assignments,
                         QUndoStack *stack, const QString &text);

} // namespace Orv
