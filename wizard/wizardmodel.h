#pragma once
// The report wizard's model: what the user chose on the wizard's pages
// (tables, fields, join relations, group levels, sort fields, title and
// style), and what is made from it: the summary text, the SQL statement
// and the generated layout.

#include "wizard/schemamodel.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace Orv {
class Report;
class Ui;
} // namespace Orv

namespace Orv::Wizard {

// The entries of a combo box or list box of the wizard and the chosen
// one; the dialogs show it, the model fills it.
struct ChoiceList
{
    QStringList items;
    int current = -1; // 0-based, -1 for none

    void clear()
    {
        items.clear();
        current = -1;
    }
};

struct SelectedField
{
    QString FieldName;
    QString TableName;
    qint32 FieldType = 0;  // ADO type number
    qint32 FieldWidth = 0; // the column's SIZE
    QString DisplayAs;
};
using SelectedFieldPtr = std::shared_ptr<SelectedField>;

struct SelectedTable
{
    QString TableName;
};

struct SortField
{
    SelectedFieldPtr ReportField;
    qint16 SortOrder = 0; // 0 ascending, 1 descending
};

struct GroupField
{
    SelectedFieldPtr ReportField;
    qint16 GroupOption = 0; // the interval chosen in the group options dialog
};

// Keyed by TableName + "." + FieldName; a duplicate is an error.
class SelectedFields : public WizCollection<SelectedField>
{
public:
    Status Add(const QString &sFieldName, const QString &sTableName, qint32 iFieldType, qint32 iFieldWidth,
               const QString &sDisplayAs = QString());
};

// Keyed by table name; a duplicate is ignored. Never shrinks.
class SelectedTables : public WizCollection<SelectedTable>
{
public:
    SelectedTables() : WizCollection(DuplicateKeys::Ignore) {}
    Status Add(const QString &sTableName);
    Status Remove(int) = delete;
    Status Remove(const QString &) = delete;
};

// Keyed by the field's TableName + "." + FieldName; a duplicate is ignored.
// Any other failure shows "Error: SortFields.Add".
class SortFields : public WizCollection<SortField>
{
public:
    SortFields() : WizCollection(DuplicateKeys::Ignore) {}
    Status Add(const SelectedFieldPtr &oReportField, qint16 iSortOrder);
};

// Keyed by the field's TableName + "." + FieldName; a duplicate is an error.
class GroupFields : public WizCollection<GroupField>
{
public:
    Status Add(const SelectedFieldPtr &oReportField, qint16 iGroupOption);
};

// The entries of a group level's interval combo for a field type; empty
// for types that group only on whole values (booleans among them).
QStringList groupIntervals(int adoType);

// Source types of the field page: 1 a table, 2 a query.
constexpr int SourceTable = 1;
constexpr int SourceQuery = 2;

class Report
{
public:
    explicit Report(Ui *ui = nullptr);
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    QString Title;
    qint16 Style = 0; // 0 to 5, see styles.h

    CDataSource &DataSource();
    // Puts a data source opened elsewhere in the place of the current one.
    void setDataSource(std::unique_ptr<CDataSource> dataSource);

    // The engine report that CreateReportDesigner fills.
    void SetReport(Orv::Report *report) { m_report = report; }
    Orv::Report *report() const { return m_report; }

    Wizard::SelectedFields &SelectedFields();
    Wizard::SelectedTables &SelectedTables();
    Wizard::GroupFields &GroupFields();
    Wizard::SortFields &SortFields();
    WizRelations &SelectedRelations();
    void setSelectedFields(std::shared_ptr<Wizard::SelectedFields> fields) { m_selectedFields = std::move(fields); }
    void setSelectedTables(std::shared_ptr<Wizard::SelectedTables> tables) { m_selectedTables = std::move(tables); }
    void setGroupFields(std::shared_ptr<Wizard::GroupFields> groups) { m_groupFields = std::move(groups); }
    void setSortFields(std::shared_ptr<Wizard::SortFields> sorts) { m_sortFields = std::move(sorts); }

    // Adds field sFld of table sSrc (source type 1) with the schema's type
    // and size, and the table to SelectedTables. Fails with 457 when the
    // field is already selected, 3265 when the schema has no such field.
    Status AddSelectedField(const QString &sFld, const QString &sSrc, int iSourceType);
    // Adds every field of table sSrc not yet selected, in schema order,
    // appending "table.field" of each to lst.
    Status AddSelectAll(const QString &sSrc, const QString &iSourceType, ChoiceList &lst);

    // "Table: " + name of every table (system tables only with bSystem);
    // the first entry is chosen.
    void FillTablesCombo(ChoiceList &cbo, bool bSystem);
    // The fields of table sName not yet selected.
    void FillFieldsList(const QString &sName, int iType, ChoiceList &lst);
    // Fills lst from a combo entry ("Table: name" or "Query: name").
    void RefreshFieldsList(const QString &sSrc, ChoiceList &lst);

    // The relation dialog's first filling of SelectedRelations: for every
    // pair of selected tables in selection order, the schema's relation
    // between them, named and keyed "[pk table].[pk column] = [fk table].[fk column]".
    void FillSelectedRelations();
    // Adds a join typed as the dialog lists it, "[table].[column] = [table].[column]"
    // with the primary side first; the text is its name and key.
    Status AddRelationText(const QString &text);
    static QString relationText(const WizRelation &relation);

    QString GetSummary();
    // The SQL statement of the chosen fields, tables, relations, groups and
    // sorts; empty with no fields.
    QString BuildQuery();
    // Writes the layout into the report given to SetReport. A failure shows
    // "CreateReportDesigner" with the error's description and stops there.
    Status CreateReportDesigner();

    Ui *ui() const { return m_ui; }

private:
    Ui *m_ui;
    Orv::Report *m_report = nullptr;
    std::unique_ptr<CDataSource> m_dataSource;
    std::shared_ptr<Wizard::SelectedFields> m_selectedFields;
    std::shared_ptr<Wizard::SelectedTables> m_selectedTables;
    std::shared_ptr<Wizard::GroupFields> m_groupFields;
    std::shared_ptr<Wizard::SortFields> m_sortFields;
    std::unique_ptr<WizRelations> m_selectedRelations;
};

} // namespace Orv::Wizard
