#include "wizard/wizardmodel.h"

#include "ui/uiseam.h"

namespace Orv::Wizard {

namespace {

QString fieldKey(const SelectedField &f)
{
    return f.TableName + QLatin1Char('.') + f.FieldName;
}

// Visual Basic's Str(): a blank before a number that is not negative.
QString number(qint64 n)
{
    return n >= 0 ? QLatin1Char(' ') + QString::number(n) : QString::number(n);
}

} // namespace

Status SelectedFields::Add(const QString &sFieldName, const QString &sTableName, qint32 iFieldType,
                           qint32 iFieldWidth, const QString &sDisplayAs)
{
    auto item = std::make_shared<SelectedField>();
    item->FieldName = sFieldName;
    item->TableName = sTableName;
    item->FieldType = iFieldType;
    item->FieldWidth = iFieldWidth;
    if (!sDisplayAs.isEmpty())
        item->DisplayAs = sDisplayAs;
    return m_items.Add(item, fieldKey(*item));
}

Status SelectedTables::Add(const QString &sTableName)
{
    return m_items.Add(std::make_shared<SelectedTable>(SelectedTable{sTableName}), sTableName);
}

Status SortFields::Add(const SelectedFieldPtr &oReportField, qint16 iSortOrder)
{
    Status s;
    if (!oReportField)
        s = Status::failure(ErrObjectNotSet, errorDescription(ErrObjectNotSet));
    else
        s = m_items.Add(std::make_shared<SortField>(SortField{oReportField, iSortOrder}), fieldKey(*oReportField));
    if (!s.ok() && m_ui)
        m_ui->showError(s, QStringLiteral("Error: SortFields.Add"));
    return s;
}

Status GroupFields::Add(const SelectedFieldPtr &oReportField, qint16 iGroupOption)
{
    if (!oReportField)
        return Status::failure(ErrObjectNotSet, errorDescription(ErrObjectNotSet));
    return m_items.Add(std::make_shared<GroupField>(GroupField{oReportField, iGroupOption}), fieldKey(*oReportField));
}

QStringList groupIntervals(int adoType)
{
    switch (adoType) {
    case 3: case 4: case 5: case 6: case 14: case 20: case 131:
        return {QStringLiteral("Normal"), QStringLiteral("10s"), QStringLiteral("50s"), QStringLiteral("100s"),
                QStringLiteral("500s"), QStringLiteral("1,000s"), QStringLiteral("5,000s"), QStringLiteral("10,000s")};
    case 17:
        return {QStringLiteral("Normal"), QStringLiteral("10s"), QStringLiteral("50s"), QStringLiteral("100s")};
    case 7: case 134: case 135:
        return {QStringLiteral("Normal"), QStringLiteral("Year"), QStringLiteral("Quarter"), QStringLiteral("Month"),
                QStringLiteral("Week"), QStringLiteral("Day"), QStringLiteral("Hour"), QStringLiteral("Minute")};
    case 129: case 202: case 203:
        return {QStringLiteral("Normal"), QStringLiteral("1st Letter"), QStringLiteral("2 Initial Letters"),
                QStringLiteral("3 Initial Letters"), QStringLiteral("4 Initial Letters"), QStringLiteral("5 Initial Letters")};
    default:
        return {};
    }
}

Report::Report(Ui *ui)
    : m_ui(ui)
{
}

Report::~Report() = default;

void Report::setDataSource(std::unique_ptr<CDataSource> dataSource)
{
    m_dataSource = std::move(dataSource);
    if (m_dataSource)
        m_dataSource->setUi(m_ui);
}

CDataSource &Report::DataSource()
{
    if (!m_dataSource)
        m_dataSource = std::make_unique<CDataSource>(m_ui);
    return *m_dataSource;
}

Wizard::SelectedFields &Report::SelectedFields()
{
    if (!m_selectedFields)
        m_selectedFields = std::make_shared<Wizard::SelectedFields>();
    return *m_selectedFields;
}

Wizard::SelectedTables &Report::SelectedTables()
{
    if (!m_selectedTables)
        m_selectedTables = std::make_shared<Wizard::SelectedTables>();
    return *m_selectedTables;
}

Wizard::GroupFields &Report::GroupFields()
{
    if (!m_groupFields)
        m_groupFields = std::make_shared<Wizard::GroupFields>();
    return *m_groupFields;
}

Wizard::SortFields &Report::SortFields()
{
    if (!m_sortFields) {
        m_sortFields = std::make_shared<Wizard::SortFields>();
        m_sortFields->setUi(m_ui);
    }
    return *m_sortFields;
}

WizRelations &Report::SelectedRelations()
{
    if (!m_selectedRelations)
        m_selectedRelations = std::make_unique<WizRelations>();
    return *m_selectedRelations;
}

Status Report::AddSelectedField(const QString &sFld, const QString &sSrc, int iSourceType)
{
    if (iSourceType != SourceTable)
        return {};
    const auto table = DataSource().tableDefs().Item(sSrc);
    const auto field = table ? table->Fields.Item(sFld) : nullptr;
    if (!field)
        return Status::failure(ErrItemNotFound,
                               QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."),
                               sSrc + QLatin1Char('.') + sFld);
    const Status s = SelectedFields().Add(sFld, sSrc, field->TypeOfField, field->SIZE);
    if (!s.ok())
        return s;
    return SelectedTables().Add(sSrc);
}

Status Report::AddSelectAll(const QString &sSrc, const QString &iSourceType, ChoiceList &lst)
{
    if (iSourceType.trimmed().toInt() != SourceTable)
        return {};
    const auto table = DataSource().tableDefs().Item(sSrc);
    if (!table)
        return Status::failure(ErrItemNotFound,
                               QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."),
                               sSrc);
    for (const auto &field : table->Fields) {
        if (SelectedFields().Contains(sSrc + QLatin1Char('.') + field->NameOfField))
            continue;
        lst.items.append(sSrc + QLatin1Char('.') + field->NameOfField);
        const Status s = SelectedFields().Add(field->NameOfField, sSrc, field->TypeOfField, field->SIZE);
        if (!s.ok())
            return s;
    }
    return SelectedTables().Add(sSrc);
}

void Report::FillTablesCombo(ChoiceList &cbo, bool bSystem)
{
    cbo.clear();
    for (const auto &table : DataSource().tableDefs()) {
        if (bSystem || !table->isSystem)
            cbo.items.append(QStringLiteral("Table: ") + table->NameOfTable);
    }
    if (!cbo.items.isEmpty())
        cbo.current = 0;
}

void Report::FillFieldsList(const QString &sName, int iType, ChoiceList &lst)
{
    lst.clear();
    if (iType != SourceTable)
        return;
    const auto table = DataSource().tableDefs().Item(sName);
    if (!table)
        return;
    for (const auto &field : table->Fields) {
        if (!SelectedFields().Contains(sName + QLatin1Char('.') + field->NameOfField))
            lst.items.append(field->NameOfField);
    }
}

void Report::RefreshFieldsList(const QString &sSrc, ChoiceList &lst)
{
    // Entries read "Table: name"; the name starts at the 8th character.
    const QString kind = sSrc.left(5);
    if (kind == QLatin1String("Table"))
        FillFieldsList(sSrc.mid(7), SourceTable, lst);
    else if (kind == QLatin1String("Query"))
        FillFieldsList(sSrc.mid(7), SourceQuery, lst);
}

QString Report::relationText(const WizRelation &relation)
{
    return relation.getPKFieldName() + QStringLiteral(" = ") + relation.getFKFieldName();
}

void Report::FillSelectedRelations()
{
    if (SelectedRelations().Count() > 0)
        return;
    const auto &tables = SelectedTables();
    for (int i = 1; i <= tables.Count(); ++i) {
        for (int j = i + 1; j <= tables.Count(); ++j) {
            const auto r = DataSource().relations().getRelationForTables(tables.Item(i)->TableName, tables.Item(j)->TableName);
            if (!r || SelectedRelations().getRelationForTables(r->TablePrimary, r->TableForeign))
                continue;
            const QString text = relationText(*r);
            SelectedRelations().Add(r->TablePrimary, r->TableForeign, r->ColumnPrimary, r->ColumnForeign, text, text);
        }
    }
}

Status Report::AddRelationText(const QString &text)
{
    const int equals = text.indexOf(QStringLiteral(" = "));
    // "[table].[column]": the table between the first "[" and the first
    // "]", the column after the second "[" without the final "]".
    auto parse = [](const QString &side, QString *table, QString *column) {
        const int open1 = side.indexOf(QLatin1Char('['));
        const int close1 = side.indexOf(QLatin1Char(']'));
        const int open2 = side.indexOf(QLatin1Char('['), close1 + 1);
        if (open1 < 0 || close1 < open1 || open2 < 0 || !side.endsWith(QLatin1Char(']')))
            return false;
        *table = side.mid(open1 + 1, close1 - open1 - 1);
        *column = side.mid(open2 + 1, side.size() - open2 - 2);
        return true;
    };
    QString pt, pc, ft, fc;
    if (equals < 0 || !parse(text.left(equals).trimmed(), &pt, &pc) || !parse(text.mid(equals + 3).trimmed(), &ft, &fc))
        return Status::failure(ErrInvalidCall, QStringLiteral("A join reads \"[table].[column] = [table].[column]\""), text);
    Status s;
    SelectedRelations().Add(pt, ft, pc, fc, text, text, &s);
    return s;
}

QString Report::GetSummary()
{
    const QString eol = QStringLiteral("\r\n");
    QString text = QStringLiteral("Report Title: ") + Title + eol;
    text += QStringLiteral("Connection String = ") + DataSource().ConnectionString + eol;
    text += eol + QStringLiteral("Selected Fields: ") + eol;
    for (const auto &f : SelectedFields()) {
        text += f->TableName + QLatin1Char('.') + f->FieldName + QStringLiteral(" Type = ") + fieldTypeName(f->FieldType)
            + QStringLiteral(" Width = ") + number(f->FieldWidth) + eol;
    }
    text += eol + QStringLiteral("From Tables: ") + eol;
    for (const auto &t : SelectedTables())
        text += t->TableName + eol;
    text += eol + QStringLiteral("Summary Group Levels: ") + eol;
    for (const auto &g : GroupFields()) {
        text += g->ReportField->TableName + QLatin1Char('.') + g->ReportField->FieldName
            + QStringLiteral(" Group Option = ") + number(g->GroupOption) + eol;
    }
    text += eol + QStringLiteral("Order By: ") + eol;
    for (const auto &s : SortFields()) {
        text += s->ReportField->TableName + QLatin1Char('.') + s->ReportField->FieldName + QStringLiteral(" Sort Order = ")
            + (s->SortOrder == 0 ? QStringLiteral("Asc") : QStringLiteral("Dec")) + eol;
    }
    return text;
}

QString Report::BuildQuery()
{
    if (SelectedFields().Count() == 0)
        return QString();
    const bool qualify = SelectedTables().Count() > 1;
    QString sql = QStringLiteral("SELECT ");
    QString sep;
    for (const auto &f : SelectedFields()) {
        sql += sep;
        if (qualify)
            sql += QLatin1Char('[') + f->TableName + QLatin1String("].");
        sql += QLatin1Char('[') + f->FieldName + QLatin1Char(']');
        sep = QStringLiteral(", ");
    }
    sql += QStringLiteral(" FROM ");
    sep.clear();
    for (const auto &t : SelectedTables()) {
        sql += sep + QLatin1Char('[') + t->TableName + QLatin1Char(']');
        sep = QStringLiteral(", ");
    }
    if (SelectedRelations().Count() > 0) {
        sep = QStringLiteral(" WHERE ");
        for (const auto &r : SelectedRelations()) {
            sql += sep + r->getPKFieldName() + QStringLiteral(" = ") + r->getFKFieldName();
            sep = QStringLiteral(" AND ");
        }
    }
    if (GroupFields().Count() > 0 || SortFields().Count() > 0) {
        sep = QStringLiteral(" ORDER BY ");
        auto qualified = [](const SelectedField &f) {
            return QLatin1Char('[') + f.TableName + QLatin1String("].[") + f.FieldName + QLatin1Char(']');
        };
        for (const auto &g : GroupFields()) {
            sql += sep + qualified(*g->ReportField);
            sep = QStringLiteral(", ");
        }
        for (const auto &s : SortFields()) {
            sql += sep + qualified(*s->ReportField);
            if (s->SortOrder == 1)
                sql += QStringLiteral(" DESC ");
            sep = QStringLiteral(", ");
        }
    }
    return sql;
}

} // namespace Orv::Wizard
