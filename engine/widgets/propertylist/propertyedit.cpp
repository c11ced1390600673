#include "engine/widgets/propertylist/propertyedit.h"

#include <QUndoStack>

namespace Orv {

Status applyPropertyEdit(const QList<QObject *> &objects, const QList<PropertyAssignment> &assignments,
                         QUndoStack *stack, const QString &text)
{
    Status status;
    std::unique_ptr<PropertyChangeCommand> command
        = PropertyChangeCommand::apply(CommandStack::hostOf(stack), text, objects, assignments, &status);
    // The values are in place already; push runs redo, which finds
    // nothing to write.
    if (command && stack)
        stack->push(command.release());
    return status;
}

} // namespace Orv
