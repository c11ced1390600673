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
        *note = tr("报表没有数据控件: 请添加一个，并设置它的连接和查询语句。");
        return false;
    }
    Status status;
    *source = Data::dataSourceOf(*control, reportFolder, QString(), &status);
    if (!status.ok()) {
        *note = tr("数据控件没有指明数据: %1").arg(status.description());
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
        result.note = tr("无法读取数据库: %1").arg(status.description());
        return result;
    }
    const Data::Fields *fields = data.recordset()->fields();
    for (int i = 0; i < fields->count(); ++i)
        result.fields << data.recordset()->column(i).name;
    if (result.fields.isEmpty())
        result.note = tr("查询语句没有返回字段。");
    data.close();
    return result;
}

bool dropField(DesignerCore &core, Section *section, const QString &field, const QPointF &at)
{
    if (!section || field.trimmed().isEmpty())
        return false;
    const QPointF where(std::max(0.0, at.x()), std::max(0.0, at.y()));
    QUndoStack *undo = core.undoStack();
    undo->beginMacro(tr("插入字段 %1").arg(field));
    auto *label = qobject_cast<Label *>(core.insertControl(QStringLiteral("OrvEngine.Label"), section, where, where));
    Control *bound = nullptr;
    if (label) {
        core.edit(tr("Caption"), {label}, [&] { label->setCaption(field); });
        const QPointF next(where.x() + label->width() + 60, where.y());
        bound = core.insertControl(QStringLiteral("OrvEngine.Field"), section, next, next);
        if (auto *f = qobject_cast<Field *>(bound))
            core.edit(tr("数据字段"), {f}, [&] { f->setDataField(field); });
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
