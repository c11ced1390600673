#include "dialogs/reportwizard/applylayout.h"

#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercommands.h"
#include "engine/widgets/designer/designercore.h"

namespace Orv {

void replaceLayoutAsOneStep(DesignerCore &designer, Report &source, const QString &text)
{
    Report *target = designer.DesignedReport();
    Sections *sections = target->sections();
    QUndoStack *stack = designer.undoStack();
    stack->beginMacro(text);

    std::vector<SectionsCommand::Entry> old;
    for (Section *section : *sections)
        old.push_back({section, -1});
    stack->push(new SectionsCommand(&designer, SectionsCommand::Remove, text, sections, std::move(old)));

    std::vector<SectionsCommand::Entry> added;
    int index = 0;
    while (source.sections()->Count() > 0)
        added.push_back({source.sections()->take(0), index++});
    stack->push(new SectionsCommand(&designer, SectionsCommand::Insert, text, sections, std::move(added)));

    // Report-wide values the generation may have set (print width, name).
    PropertySnapshot before;
    before.capture({target});
    {
        ChangeScope scope(&designer);
        target->setPrintWidth(source.printWidth());
        target->setDocumentName(source.documentName());
    }
    PropertySnapshot after;
    after.capture({target});
    auto *properties = new PropertyChangeCommand(&designer, text, before, after);
    if (properties->isEmpty())
        delete properties;
    else
        stack->push(properties);
    stack->endMacro();
}

} // namespace Orv
