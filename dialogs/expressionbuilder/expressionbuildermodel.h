#pragma once
// The rules of frmExpressionBuilder without its window: the category tree
// with the report's sections, controls and fields, the entries of each
// node, the expression being composed with its selection and undo steps,
// the check with the script engine and the storing into the target.
#include "dialogs/expressionbuilder/reportfields.h"
#include "engine/core/status.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/expressioncheck.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace Orv {

class Control;
class DesignerCore;
class Report;
class Section;

class ExpressionBuilderModel : public QObject
{
    Q_OBJECT

public:
    struct Node
    {
        QString key;
        QString caption;
        QString parentKey; // empty for a root
        QVariant tag;      // a section's kind number, a control's type name
    };
    struct Entry
    {
        QString caption;
        QString expression; // what activating it inserts (blanks added); empty for a note
        QString arguments;
        QString help;
    };
    // The expression with its selection (start == end: the caret).
    struct Edit
    {
        QString text;
        int start = 0;
        int end = 0;
    };
    static constexpr int OperatorCount = 15;
    // Longer expressions are refused on OK.
    static constexpr int MaxExpressionLength = 32767;
    // The key of the node listing the data source's fields.
    static QString fieldsKey() { return QStringLiteral("rptFields"); }

    explicit ExpressionBuilderModel(QObject *parent = nullptr);
    ~ExpressionBuilderModel() override;

    // SetReport: keeps the report, adds its nodes under "rpt" and starts
    // reading the fields of its data source.
    void setReport(Report *report, const QString &reportFolder = QString());
    void setControl(Control *control);
    void setSection(Section *section);
    Report *report() const { return m_report; }

    const std::vector<Node> &nodes() const { return m_nodes; }
    int nodeIndex(const QString &key) const;
    // Selecting a node fills the entries as its key says; report, section
    // and control nodes leave them as they are.
    void selectNode(const QString &key);
    QString selectedNode() const { return m_selectedNode; }
    const std::vector<Entry> &entries() const { return m_entries; }
    ReportFields &fields() { return m_fields; }

    // Composing. Each insertion replaces the selection and is one undo step;
    // typing (setEdit) is one step per run of typing.
    const Edit &edit() const { return m_edit; }
    void setEdit(const Edit &edit);
    static QString operatorText(int index);
    void insertOperator(int index);
    // An entry of the list; false when it inserts nothing.
    bool insertEntry(int row);
    void paste(const QString &clipboardText);
    bool canUndo() const { return !m_undo.empty(); }
    void undo();

    // The expression compiled as a run would compile it.
    Script::ExpressionCheck check();
    // The position in the text of a check's error (its line and column).
    static int errorOffset(const QString &text, const Script::Error &error);
    // The status bar's text for a check.
    static QString checkText(const Script::ExpressionCheck &check);
    // What the status bar says of an entry.
    QString entryText(int row) const;
    // What is said of the fields while they are read or when they cannot be.
    QString fieldsNote() const;

    // Why OK cannot store (the target is gone or takes no expression), or
    // success. Checked before asking about a failed check.
    Status validateTarget() const;
    // OK: "=" and the text into the target (a group header section, else a
    // control), as one undo step of core when given. False when nothing
    // was stored.
    bool store(DesignerCore *core, Status *status);

Q_SIGNALS:
    void entriesChanged();
    void nodesChanged();
    void editChanged();

private:
    void addNode(const QString &key, const QString &caption, const QString &parentKey, const QVariant &tag = {});
    void addReportNodes();
    void fieldsRead();
    void fillEntries(const QString &key);
    void replaceSelection(const QString &piece);
    bool contains(const QObject *object) const;

    QPointer<Report> m_report;
    QPointer<Control> m_control;
    QPointer<Section> m_section;
    QString m_reportFolder;
    bool m_targetSet = false; // a target was given, even if it is gone now
    std::vector<Node> m_nodes;
    std::vector<Entry> m_entries;
    QString m_selectedNode;
    Edit m_edit;
    std::vector<Edit> m_undo;
    bool m_typing = false; // the last step was typing, which the next typing joins
    ReportFields m_fields;
    std::unique_ptr<Script::ExpressionChecker> m_checker;
};

} // namespace Orv
