#pragma once
// Property edits of the list go through the designer's own property-change
// command, so the list and the designer share one undo path.
#include "engine/core/status.h"
#include "engine/widgets/designer/designercommands.h"

#include <QList>
#include <QString>

class QUndoStack;

namespace Orv {

// Applies an edit: through the stack as one undo step when there is one,
// else directly. When the stack is the designer's (a CommandStack), the
// change is told to the designer like its own edits. text is the undo
// step's text ("Change Left").
Status applyPropertyEdit(const QList<QObject *> &objects, const QList<PropertyAssignment> &assignments,
                         QUndoStack *stack, const QString &text);

} // namespace Orv
