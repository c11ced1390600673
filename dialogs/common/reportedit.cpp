#include "dialogs/common/reportedit.h"

#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercommands.h"
#include "engine/widgets/designer/designercore.h"

#include <QUndoStack>

namespace Orv {

ReportEdit::ReportEdit(Report *report, DesignerCore *designer, const QString &text, Steps steps)
    : m_designer(designer && designer->DesignedReport() == report ? designer : nullptr),
      m_text(text), m_macro(m_designer && steps == Steps::Gathered)
{
    if (m_macro)
        m_designer->undoStack()->beginMacro(text);
}

ReportEdit::~ReportEdit()
{
    if (m_macro)
        m_designer->undoStack()->endMacro();
    if (m_designer)
        m_designer->refreshActionStates();
}

void ReportEdit::change(const std::vector<QObject *> &objects, const std::function<void()> &change)
{
    if (m_designer)
        m_designer->edit(m_text, objects, change);
    else
        change();
}

void ReportEdit::insert(Section *section, Control *control)
{
    if (m_designer) {
        m_designer->undoStack()->push(new ControlsCommand(m_designer, ControlsCommand::Insert, QString(),
                                                          {{control, section, section->controls()->Count()}}));
    } else {
        section->controls()->insert(-1, control);
    }
}

} // namespace Orv
