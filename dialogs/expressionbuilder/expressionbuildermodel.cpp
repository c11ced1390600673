#include "dialogs/expressionbuilder/expressionbuildermodel.h"

#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/catalogue.h"
#include "engine/widgets/designer/designercore.h"

#include <QMetaProperty>

#include <algorithm>

namespace Orv {

namespace {

using Script::CatalogueCategory;
using Script::CatalogueKind;

struct CategoryKey
{
    const char *key;
    CatalogueCategory category;
};

const CategoryKey categoryKeys[] = {
    {"fnArr", CatalogueCategory::Array},
    {"fnCnv", CatalogueCategory::Conversion},
    {"fnDT", CatalogueCategory::DateTime},
    {"fnIO", CatalogueCategory::InputOutput},
    {"fnMath", CatalogueCategory::Math},
    {"fnStr", CatalogueCategory::String},
    {"constColors", CatalogueCategory::Colors},
    {"constDate", CatalogueCategory::DateConstants},
    {"constDateFormats", CatalogueCategory::DateFormats},
    {"constString", CatalogueCategory::StringConstants},
    {"constTristate", CatalogueCategory::TriState},
    {"constVarType", CatalogueCategory::VarTypes},
    {"opsArithmatic", CatalogueCategory::Arithmetic},
    {"opsComparison", CatalogueCategory::Comparison},
    {"opsLogical", CatalogueCategory::Logical},
};

const char *const operators[ExpressionBuilderModel::OperatorCount] = {
    "+", "-", "*", "/", "&", "=", ">", "<", "<>", "And", "Or", "Not", "Like", "(", ")",
};

bool hasDataField(const QObject *object)
{
    const int index = object->metaObject()->indexOfProperty("DataField");
    return index >= 0 && object->metaObject()->property(index).isWritable();
}

} // namespace

ExpressionBuilderModel::ExpressionBuilderModel(QObject *parent) : QObject(parent)
{
    addNode(QStringLiteral("rpt"), tr("Report"), {});
    addNode(QStringLiteral("fn"), tr("Functions"), {});
    addNode(QStringLiteral("fnArr"), tr("Array"), QStringLiteral("fn"));
    addNode(QStringLiteral("fnCnv"), tr("Conversion"), QStringLiteral("fn"));
    addNode(QStringLiteral("fnDT"), tr("Date/Time"), QStringLiteral("fn"));
    addNode(QStringLiteral("fnIO"), tr("Input/Output"), QStringLiteral("fn"));
    addNode(QStringLiteral("fnMath"), tr("Math"), QStringLiteral("fn"));
    addNode(QStringLiteral("fnStr"), tr("String"), QStringLiteral("fn"));
    addNode(QStringLiteral("const"), tr("Constants"), {});
    addNode(QStringLiteral("constColors"), tr("Colors"), QStringLiteral("const"));
    addNode(QStringLiteral("constDate"), tr("Date Constants"), QStringLiteral("const"));
    addNode(QStringLiteral("constDateFormats"), tr("Date Formats"), QStringLiteral("const"));
    addNode(QStringLiteral("constString"), tr("String"), QStringLiteral("const"));
    addNode(QStringLiteral("constTristate"), tr("TriState"), QStringLiteral("const"));
    addNode(QStringLiteral("constVarType"), tr("VarTypes"), QStringLiteral("const"));
    addNode(QStringLiteral("ops"), tr("Operators"), {});
    addNode(QStringLiteral("opsArithmatic"), tr("Arithmatic"), QStringLiteral("ops"));
    addNode(QStringLiteral("opsComparison"), tr("Comparison"), QStringLiteral("ops"));
    addNode(QStringLiteral("opsLogical"), tr("Logical"), QStringLiteral("ops"));
    addNode(QStringLiteral("common"), tr("Common Expressions"), {});
    addNode(QStringLiteral("commonPage"), tr("Page"), QStringLiteral("common"));
    addNode(QStringLiteral("commonDate"), tr("Date/Time"), QStringLiteral("common"));
    connect(&m_fields, &ReportFields::finished, this, &ExpressionBuilderModel::fieldsRead);
}

ExpressionBuilderModel::~ExpressionBuilderModel() = default;

void ExpressionBuilderModel::addNode(const QString &key, const QString &caption, const QString &parentKey,
                                     const QVariant &tag)
{
    m_nodes.push_back({key, caption, parentKey, tag});
}

int ExpressionBuilderModel::nodeIndex(const QString &key) const
{
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].key == key)
            return int(i);
    return -1;
}

void ExpressionBuilderModel::setReport(Report *report, const QString &reportFolder)
{
    m_report = report;
    m_reportFolder = reportFolder;
    m_checker.reset();
    if (!report)
        return;
    addReportNodes();
    m_fields.start(*report, reportFolder);
}

void ExpressionBuilderModel::addReportNodes()
{
    const QString rpt = QStringLiteral("rpt");
    for (Section *s : *m_report->sections()) {
        const QString sectionKey = QStringLiteral("sec") + s->name();
        addNode(sectionKey, s->name(), rpt, s->typeCode()); // the tag is the type number
        for (Control *c : *s->controls())
            addNode(QStringLiteral("ctl") + c->name(), c->name(), sectionKey, c->typeName());
    }
    addNode(fieldsKey(), tr("Fields"), rpt);
    Q_EMIT nodesChanged();
}

void ExpressionBuilderModel::setControl(Control *control)
{
    m_control = control;
    m_targetSet = m_targetSet || control;
}

void ExpressionBuilderModel::setSection(Section *section)
{
    m_section = section;
    m_targetSet = m_targetSet || section;
}

void ExpressionBuilderModel::fieldsRead()
{
    m_checker.reset(); // the next check knows the fields
    if (m_selectedNode == fieldsKey())
        fillEntries(m_selectedNode);
}

void ExpressionBuilderModel::selectNode(const QString &key)
{
    m_selectedNode = key;
    fillEntries(key);
}

void ExpressionBuilderModel::fillEntries(const QString &key)
{
    std::vector<Entry> entries;
    if (key == fieldsKey()) {
        for (const QString &f : m_fields.fields())
            entries.push_back({f, QLatin1Char('[') + f + QLatin1Char(']'), QString(), tr("数据源的字段")});
        if (entries.empty())
            entries.push_back({fieldsNote(), QString(), QString(), QString()});
    } else if (key.startsWith(QLatin1String("co"))) {
        if (key == QLatin1String("commonPage") || key == QLatin1String("common")) {
            entries.push_back({tr("Page Number"), QStringLiteral("\"Page \"& rpt.PageNumber"), {}, {}});
            entries.push_back({tr("Pages"), QStringLiteral("Pages.Count"), {}, {}});
            entries.push_back({tr("Page N of M"), QStringLiteral("\"Page \" & rpt.PageNumber & \" of \" "), {}, {}});
        }
        if (key == QLatin1String("commonDate") || key == QLatin1String("common")) {
            entries.push_back({tr("Current Date"), QStringLiteral("FormatDateTime(Now(), 1)"), {}, {}});
            entries.push_back({tr("Current Date/Time"), QStringLiteral("Now()"), {}, {}});
        }
    }
    // The language's own names: a category, or all of a kind under its root.
    std::optional<CatalogueKind> kind;
    if (key == QLatin1String("fn"))
        kind = CatalogueKind::Function;
    else if (key == QLatin1String("const"))
        kind = CatalogueKind::Constant;
    else if (key == QLatin1String("ops"))
        kind = CatalogueKind::Operator;
    std::optional<CatalogueCategory> category;
    for (const CategoryKey &c : categoryKeys)
        if (key == QLatin1String(c.key))
            category = c.category;
    if (kind || category) {
        for (const Script::CatalogueEntry &e : Script::catalogue()) {
            if ((kind && e.kind == *kind) || (category && e.category == *category))
                entries.push_back({e.name, e.insertText, e.arguments, e.help});
        }
    } else if (!key.startsWith(QLatin1String("co")) && key != fieldsKey()) {
        return; // report, section and control nodes keep the list as it is
    }
    m_entries = std::move(entries);
    Q_EMIT entriesChanged();
}

QString ExpressionBuilderModel::fieldsNote() const
{
    switch (m_fields.state()) {
    case ReportFields::State::NoDataSource:
        return tr("报表没有数据源。");
    case ReportFields::State::Reading:
        return tr("正在读取数据源的字段…");
    case ReportFields::State::Failed:
        return tr("无法读取字段: %1").arg(m_fields.error().description());
    case ReportFields::State::Ready:
        break;
    }
    return m_fields.fields().isEmpty() ? tr("数据源没有字段。") : QString();
}

void ExpressionBuilderModel::setEdit(const Edit &edit)
{
    if (edit.text == m_edit.text && edit.start == m_edit.start && edit.end == m_edit.end)
        return;
    if (edit.text != m_edit.text) {
        if (!m_typing)
            m_undo.push_back(m_edit);
        m_typing = true;
    }
    m_edit = edit;
}

QString ExpressionBuilderModel::operatorText(int index)
{
    return index >= 0 && index < OperatorCount ? QString::fromLatin1(operators[index]) : QString();
}

void ExpressionBuilderModel::replaceSelection(const QString &piece)
{
    m_undo.push_back(m_edit);
    m_typing = false;
    const int from = std::clamp(std::min(m_edit.start, m_edit.end), 0, int(m_edit.text.size()));
    const int to = std::clamp(std::max(m_edit.start, m_edit.end), 0, int(m_edit.text.size()));
    m_edit.text.replace(from, to - from, piece);
    m_edit.start = m_edit.end = from + int(piece.size());
    Q_EMIT editChanged();
}

void ExpressionBuilderModel::insertOperator(int index)
{
    const QString op = operatorText(index);
    if (!op.isEmpty())
        replaceSelection(QLatin1Char(' ') + op + QLatin1Char(' '));
}

bool ExpressionBuilderModel::insertEntry(int row)
{
    if (row < 0 || row >= int(m_entries.size()) || m_entries[size_t(row)].expression.isEmpty())
        return false;
    replaceSelection(QLatin1Char(' ') + m_entries[size_t(row)].expression + QLatin1Char(' '));
    return true;
}

void ExpressionBuilderModel::paste(const QString &clipboardText)
{
    if (!clipboardText.isEmpty())
        replaceSelection(clipboardText);
}

void ExpressionBuilderModel::undo()
{
    if (m_undo.empty())
        return;
    m_edit = m_undo.back();
    m_undo.pop_back();
    m_typing = false;
    Q_EMIT editChanged();
}

Script::ExpressionCheck ExpressionBuilderModel::check()
{
    if (!m_report) {
        Script::ExpressionCheck none;
        none.ok = false;
        none.error.number = 5;
        none.error.description = tr("没有可用来检查表达式的报表。");
        return none;
    }
    if (!m_checker) {
        std::optional<QStringList> names;
        if (m_fields.state() == ReportFields::State::Ready || m_fields.state() == ReportFields::State::NoDataSource)
            names = m_fields.fields();
        m_checker = std::make_unique<Script::ExpressionChecker>(*m_report, names);
    }
    return m_checker->check(m_edit.text);
}

int ExpressionBuilderModel::errorOffset(const QString &text, const Script::Error &error)
{
    int offset = 0;
    for (int line = 1; line < error.line; ++line) {
        const qsizetype next = text.indexOf(QLatin1Char('\n'), offset);
        if (next < 0)
            return int(text.size());
        offset = int(next) + 1;
    }
    return std::clamp(offset + std::max(error.column, 1) - 1, 0, int(text.size()));
}

QString ExpressionBuilderModel::checkText(const Script::ExpressionCheck &check)
{
    if (check.ok)
        return tr("表达式编译通过。");
    const Script::Error &e = check.error;
    if (check.inReportScript)
        return tr("报表的脚本无法编译(第 %1 行第 %2 列): %3")
            .arg(e.line)
            .arg(e.column)
            .arg(e.description);
    return tr("错误 %1，第 %2 行第 %3 列: %4").arg(e.number).arg(e.line).arg(e.column).arg(e.description);
}

QString ExpressionBuilderModel::entryText(int row) const
{
    if (row < 0 || row >= int(m_entries.size()))
        return QString();
    const Entry &e = m_entries[size_t(row)];
    if (e.expression.isEmpty())
        return e.caption;
    QString head = e.caption;
    if (!e.arguments.isEmpty())
        head += QStringLiteral(" (%1)").arg(e.arguments);
    return e.help.isEmpty() ? head + QStringLiteral(": ") + e.expression : head + QStringLiteral(": ") + e.help;
}

bool ExpressionBuilderModel::contains(const QObject *object) const
{
    if (!m_report || !object)
        return false;
    if (const auto *section = qobject_cast<const Section *>(object))
        return m_report->sections()->indexOf(section) >= 0;
    if (const auto *control = qobject_cast<const Control *>(object))
        return control->section() && contains(control->section()) && control->section()->controls()->indexOf(control) >= 0;
    return false;
}

Status ExpressionBuilderModel::validateTarget() const
{
    QObject *target = m_section ? static_cast<QObject *>(m_section.data()) : m_control.data();
    if (!target)
        return m_targetSet ? Status::failure(ErrInvalidCall, tr("表达式的目标已不存在，无法保存。"))
                           : Status();
    if (!contains(target))
        return Status::failure(ErrInvalidCall, tr("“%1”已不在报表中，无法保存表达式。")
                                                   .arg(target->property("Name").toString()));
    if (!m_section && !hasDataField(target))
        return Status::failure(ErrNoSuchMember, tr("控件“%1”没有数据字段。").arg(m_control->name()));
    if (m_edit.text.size() > MaxExpressionLength)
        return Status::failure(ErrInvalidPropertyValue, tr("表达式长 %1 个字符，最多只能保存 %2 个。")
                                                            .arg(m_edit.text.size())
                                                            .arg(MaxExpressionLength));
    return Status();
}

bool ExpressionBuilderModel::store(DesignerCore *core, Status *status)
{
    *status = validateTarget();
    if (!status->ok())
        return false;
    QObject *target = nullptr;
    if (m_section) {
        if (m_section->type() != Section::GroupHeader)
            return false; // only a group header takes an expression
        target = m_section;
    } else if (m_control) {
        target = m_control;
    }
    if (!target)
        return false;
    const QString value = QLatin1Char('=') + m_edit.text;
    if (target->property("DataField").toString() == value)
        return false;
    const auto write = [&] { target->setProperty("DataField", value); };
    if (core)
        return core->edit(tr("设置数据字段"), {target}, write);
    write();
    return true;
}

} // namespace Orv
