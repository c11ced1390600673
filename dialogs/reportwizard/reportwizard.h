#pragma once
// frmReportWizard: the eight pages of the report wizard over a WizardFlow,
// with frmRelateTables and frmGroupOptions. Finish writes the generated
// layout into the report given to SetReport; with a designer set, as one
// step of its undo history.
#include "dialogs/connection/promptconnectstring.h"
#include "dialogs/reportwizard/wizardflow.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace Orv {

class DesignerCore;
class Ui;

class frmReportWizard : public QDialog
{
    Q_OBJECT

public:
    frmReportWizard(Ui &ui, SortMemory *sortMemory = nullptr, QWidget *parent = nullptr);
    ~frmReportWizard() override;

    void SetReport(Orv::Report *report);
    // With a designer, Finish is one undo step of it and marks the design changed.
    void setDesigner(DesignerCore *designer) { m_designer = designer; }
    // What 连接向导 asks with; the connection dialog unless replaced.
    void setConnectionPrompt(ConnectionPrompt prompt) { m_prompt = std::move(prompt); }

    WizardFlow &flow() { return m_flow; }
    // Shows the flow's state again (after a test changed it).
    void refresh();

    QPushButton *btnBack() const { return m_btnBack; }
    QPushButton *btnNext() const { return m_btnNext; }
    QPushButton *btnFinish() const { return m_btnFinish; }
    QPushButton *btnCancel() const { return m_btnCancel; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    QWidget *buildIntro();
    QWidget *buildDatabase();
    QWidget *buildFields();
    QWidget *buildGroups();
    QWidget *buildSort();
    QWidget *buildStyle();
    QWidget *buildTitle();
    QWidget *buildSummary();
    void showPage();
    void next();
    void back();
    void finish();
    void openConnectionWizard();
    void showGroupOptions();
    void relateTables(Wizard::Report &model);
    bool openDataSource(Wizard::CDataSource &ds);
    bool applyToDesigner();

    Ui &m_ui;
    WizardFlow m_flow;
    DesignerCore *m_designer = nullptr;
    ConnectionPrompt m_prompt;
    bool m_updating = false;

    std::array<QLabel *, WizardFlow::PageCount> m_lblStep{};
    std::array<QLabel *, WizardFlow::PageCount> m_shpStepLight{};
    QStackedWidget *m_fraStep = nullptr;
    QLineEdit *m_txtConnectString = nullptr;
    QPushButton *m_btnOpenDB = nullptr;
    QLabel *m_lblBusy = nullptr;
    QComboBox *m_cboTables = nullptr;
    QCheckBox *m_chkShowSystem = nullptr;
    QListWidget *m_lstFields = nullptr;
    std::array<QPushButton *, 4> m_btnFldMove{};
    QListWidget *m_lstSelFields = nullptr;
    QListWidget *m_lstAvlGrpFields = nullptr;
    std::array<QPushButton *, 2> m_btnGrpFldMove{};
    std::array<QLabel *, WizardFlow::GroupSlots> m_lblGrpField{};
    std::array<QPushButton *, 2> m_btnGrpPriority{};
    QPushButton *m_btnGrpOptions = nullptr;
    QPlainTextEdit *m_txtRptFields = nullptr;
    std::array<QComboBox *, WizardFlow::SortLevels> m_cboSortFields{};
    std::array<QRadioButton *, WizardFlow::SortLevels> m_optAsc{};
    std::array<QRadioButton *, WizardFlow::SortLevels> m_optDesc{};
    std::array<QRadioButton *, 6> m_optStyle{};
    QLabel *m_picStyle = nullptr;
    QLineEdit *m_txtReportTitle = nullptr;
    QPlainTextEdit *m_txtRptSummary = nullptr;
    QPushButton *m_btnBack = nullptr;
    QPushButton *m_btnNext = nullptr;
    QPushButton *m_btnFinish = nullptr;
    QPushButton *m_btnCancel = nullptr;
};

class frmRelateTables : public QDialog
{
    Q_OBJECT

public:
    frmRelateTables(Wizard::Report &model, Ui &ui, QWidget *parent = nullptr);
    RelateTablesModel &model() { return m_model; }

private:
    void relist();
    RelateTablesModel m_model;
    QComboBox *m_cboPkFields;
    QComboBox *m_cboFKFields;
    QListWidget *m_lstRelations;
};

class frmGroupOptions : public QDialog
{
    Q_OBJECT

public:
    frmGroupOptions(GroupOptionsModel &model, QWidget *parent = nullptr);

private:
    GroupOptionsModel &m_model;
    std::vector<QComboBox *> m_cboGrpInterval;
};

// A small picture of a style: its title, rules, captions and rows.
QPixmap stylePreview(int style, const QSize &size);

} // namespace Orv
