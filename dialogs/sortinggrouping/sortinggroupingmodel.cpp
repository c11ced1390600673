#include "dialogs/sortinggrouping/sortinggroupingmodel.h"

#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"

#include <QRegularExpression>

namespace Orv {

SortingGroupingModel::SortingGroupingModel(QObject *parent) : QObject(parent) {}

QStringList SortingGroupingModel::columnHeaders()
{
    return {tr("Group Name"), tr("FieldExpr"), tr("SortOrder"), tr("GroupOn"), tr("GroupInterval"),
            tr("GrpKeepTogether"), tr("PageBreak")};
}

QStringList SortingGroupingModel::sortOrderItems()
{
    return {tr("A - Ascending"), tr("D - Descending")};
}

// By the section's GroupOn number.
QStringList SortingGroupingModel::groupOnItems()
{
    return {tr("每一个值"), tr("前缀字符"), tr("Year"), tr("Quarter"), tr("Month"),
            tr("Week"),       tr("Day"),               tr("Hour"), tr("Minute"),  tr("Interval")};
}

QStringList SortingGroupingModel::keepTogetherItems()
{
    return {tr("0 - Do Not Keep Together"), tr("1 - With First Detail"), tr("2 - All Group Records")};
}

int SortingGroupingModel::leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?\\d+)"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return 0;
    bool ok = false;
    const qlonglong v = m.captured(1).toLongLong(&ok);
    if (!ok)
        return 0;
    return int(std::clamp<qlonglong>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString SortingGroupingModel::numberText(int value)
{
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

SortingGroupingModel::Row SortingGroupingModel::rowOf(Section *section) const
{
    Row r;
    r.name = section->name();
    r.fieldExpr = section->dataField();
    r.sortOrder = QStringLiteral("A");
    r.groupOn = groupOnItems().value(section->groupOn());
    r.groupInterval = QString::number(section->groupInterval());
    r.keepTogether = numberText(section->grpKeepTogether());
    r.pageBreak = numberText(section->newPage());
    r.section = section;
    return r;
}

void SortingGroupingModel::setReport(Report *report)
{
    m_report = report;
    m_rows.clear();
    if (report) {
        const Sections *sections = report->sections();
        for (int i = 0; i < sections->Count(); ++i) {
            Section *s = sections->Item(i);
            if (s && s->type() == Section::GroupHeader)
                m_rows.push_back(rowOf(s));
        }
    }
    m_original = m_rows;
}

SortingGroupingModel::Editor SortingGroupingModel::editorFor(int row) const
{
    Editor e;
    if (row < 0 || row >= int(m_rows.size()))
        return e;
    const Row &r = m_rows[size_t(row)];
    e.fieldExpr = r.fieldExpr;
    e.sortOrder = r.sortOrder == QLatin1String("A") ? 0 : r.sortOrder == QLatin1String("D") ? 1 : -1;
    e.groupOn = std::max(0, int(groupOnItems().indexOf(r.groupOn)));
    e.groupInterval = r.groupInterval;
    e.keepTogether = qint16(leadingNumber(r.keepTogether));
    const int p = leadingNumber(r.pageBreak);
    e.pageBefore = p == 1 || p == 3;
    e.pageAfter = p == 2 || p == 3;
    return e;
}

void SortingGroupingModel::setEditor(int row, const Editor &editor)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    Row &r = m_rows[size_t(row)];
    r.fieldExpr = editor.fieldExpr;
    r.groupOn = groupOnItems().value(editor.groupOn);
    r.groupInterval = editor.groupInterval;
    r.keepTogether = numberText(editor.keepTogether);
    r.pageBreak = numberText((editor.pageBefore ? 1 : 0) | (editor.pageAfter ? 2 : 0));
}

bool SortingGroupingModel::isModified() const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row &a = m_rows[i], &b = m_original[i];
        if (a.fieldExpr != b.fieldExpr || a.groupOn != b.groupOn || a.groupInterval != b.groupInterval
            || a.keepTogether != b.keepTogether || a.pageBreak != b.pageBreak)
            return true;
    }
    return false;
}

Status SortingGroupingModel::validate() const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row &r = m_rows[i];
        if (!r.section || !m_report || m_report->sections()->indexOf(r.section) < 0)
            return Status::failure(ErrInvalidCall, tr("分组“%1”已不在报表中。").arg(r.name));
        if (leadingNumber(r.groupInterval) < 1)
            return Status::failure(ErrInvalidPropertyValue,
                                   tr("分组“%1”的分组间隔必须是不小于 1 的整数。").arg(r.name));
    }
    return Status();
}

bool SortingGroupingModel::apply(DesignerCore *core, Status *status)
{
    *status = Status();
    if (!isModified())
        return false;
    *status = validate();
    if (!status->ok())
        return false;
    std::vector<QObject *> sections;
    for (const Row &r : m_rows)
        sections.push_back(r.section);
    const auto write = [&] {
        for (const Row &r : m_rows) {
            const Editor e = editorFor(int(&r - m_rows.data()));
            r.section->setDataField(r.fieldExpr);
            r.section->setGroupOn(e.groupOn);
            r.section->setGroupInterval(leadingNumber(r.groupInterval));
            r.section->setGrpKeepTogether(std::clamp(e.keepTogether, 0, 2));
            r.section->setNewPage((e.pageBefore ? 1 : 0) | (e.pageAfter ? 2 : 0));
        }
    };
    bool changed = true;
    if (core)
        changed = core->edit(tr("排序和分组"), sections, write);
    else
        write();
    m_original = m_rows;
    return changed;
}

} // namespace Orv
