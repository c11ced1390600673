#include "shell/fieldlist.h"

#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"

#include <QCoreApplication>
#include <QUndoStack>

namespace Orv::FieldList {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Orv::FieldList", text);
}

} // namespace

bool sourceOf(const Report &report, const QString &reportFolder, Data::ReportDataSource *source, QString *note)
{
    const Control *control = Data::findDataControl(report);
    if (!control) {
        *note = tr("The report has no data control: add one and set its connection and statement.");
        return false;
    }
    Status status;
    *source = Data::dataSourceOf(*control, reportFolder, QString(), &status);
    if (!status.ok()) {
        *note = tr("The data control names no data: %1").arg(status.description());
        return false;
    }
    return true;
}

Result readFields(const Data::ReportDataSource &source)
{
    Result result;
    Data::ReportData data;
    const Status status = data.open(source);
    if (!status.ok() || !data.recordset()) {
        result.note = tr("The database cannot be read: %1").arg(status.description());
        return result;
    }
    const Data::Fields *fields = data.recordset()->fields();
    for (int i = 0; i < fields->count(); ++i)
        result.fields << data.recordset()->column(i).name;
    if (result.fields.isEmpty())
        result.note = tr("The statement returns no fields.");
    data.close();
    return result;
}

bool dropField(DesignerCore &core, Section *section, const QString &field, const QPointF &at)
{
    if (!section || field.trimmed().isEmpty())
        return false;
    const QPointF where(std::max(0.0, at.x()), std::max(0.0, at.y()));
    QUndoStack *undo = core.undoStack();
    undo->beginMacro(tr("Insert Field %1").arg(field));
    auto *label = qobject_cast<Label *>(core.insertControl(QStringLiteral("OrvEngine.Label"), section, where, where));
    Control *bound = nullptr;
    if (label) {
        core.edit(tr("Caption"), {label}, [&] { label->setCaption(field); });
        const QPointF next(where.x() + label->width() + 60, where.y());
        bound = core.insertControl(QStringLiteral("OrvEngine.Field"), section, next, next);
        if (auto *f = qobject_cast<Field *>(bound))
            core.edit(tr("Data Field"), {f}, [&] { f->setDataField(field); });
    }
    undo->endMacro();
    if (!bound) {
        if (undo->canUndo() && label)
            undo->undo(); // the half-made pair goes
        return false;
    }
    return true;
}

} // namespace Orv::FieldList
