#pragma once
// frmSortingAndGrouping: the report's groups at a glance, one row per group
// header, with an editing area for the selected group. OK writes the
// edited groups back as one undo step.
#include "dialogs/expressionbuilder/reportfields.h"
#include "dialogs/sortinggrouping/sortinggroupingmodel.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace Orv {

class ExpressionBuilderDialog;
class Ui;

class SortingGroupingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SortingGroupingDialog(Ui &ui, QWidget *parent = nullptr);
    ~SortingGroupingDialog() override;

    void setReportFolder(const QString &folder) { m_reportFolder = folder; }
    void setDesigner(DesignerCore *core) { m_core = core; }
    void SetReport(Report *rpt);

    // Shows the expression builder opened by "..."; tests answer it here.
    using BuilderRunner = std::function<int(ExpressionBuilderDialog &)>;
    void setBuilderRunner(BuilderRunner runner) { m_builderRunner = std::move(runner); }

    SortingGroupingModel &model() { return m_model; }
    void accept() override;

private:
    void fillList();
    void showRow();
    void editorChanged();
    void openExpressionBuilder();
    int currentRow() const;

    Ui &m_ui;
    SortingGroupingModel m_model;
    ReportFields m_fields;
    DesignerCore *m_core = nullptr;
    QString m_reportFolder;
    BuilderRunner m_builderRunner;
    QTreeWidget *m_lvGroups = nullptr;
    QComboBox *m_cboFieldExpr = nullptr;
    QPushButton *m_btnExpressionBuilder = nullptr;
    QComboBox *m_cboSortOrder = nullptr;
    QComboBox *m_cboGroupOn = nullptr;
    QLineEdit *m_txtGroupInterval = nullptr;
    QComboBox *m_cboKeeptogether = nullptr;
    QCheckBox *m_chkPageBreak[2] = {nullptr, nullptr};
    bool m_showing = false;
};

} // namespace Orv
