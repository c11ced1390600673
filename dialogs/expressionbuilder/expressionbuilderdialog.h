#pragma once
// frmExpressionBuilder: composes a report expression from the category
// tree, its entries and the operator buttons, checks it with the script
// engine and, when given a target, stores it as the target's data field.
#include "dialogs/expressionbuilder/expressionbuildermodel.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace Orv {

class Ui;

class ExpressionBuilderDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ExpressionBuilderDialog(Ui &ui, QWidget *parent = nullptr);
    ~ExpressionBuilderDialog() override;

    // The folder a relative database of the report is found in; before
    // SetReport.
    void setReportFolder(const QString &folder) { m_reportFolder = folder; }
    // Stores through the designer's undo history; without it the target is
    // written directly.
    void setDesigner(DesignerCore *core) { m_core = core; }
    void SetReport(Report *rpt);
    void SetControl(Control *ctl);
    void SetSEction(Section *sec);
    // The expression to start with (without "=").
    void setExpression(const QString &text);
    // The expression composed (without "=").
    QString expression() const { return m_model.edit().text; }

    ExpressionBuilderModel &model() { return m_model; }

    void accept() override;

private:
    void rebuildTree();
    void showEntries();
    void showEdit();
    void textEdited();
    void nodeSelected();
    void entryActivated();
    void runCheck();
    void showHelp();

    Ui &m_ui;
    ExpressionBuilderModel m_model;
    DesignerCore *m_core = nullptr;
    QString m_reportFolder;
    QPlainTextEdit *m_txtExpression = nullptr;
    QPushButton *m_btnOp[ExpressionBuilderModel::OperatorCount] = {};
    QPushButton *m_btnPaste = nullptr;
    QPushButton *m_btnUndo = nullptr;
    QTreeWidget *m_tv = nullptr;
    QTreeWidget *m_lv = nullptr;
    QStatusBar *m_sb = nullptr;
    QTimer *m_checkTimer = nullptr;
    bool m_showing = false; // while the model's edit is put into the text box
};

} // namespace Orv
