#pragma once
// frmAccessToOrv: the Access import wizard's window over an
// AccessImportModel. A step rail on the left (the page names with their
// lights), the banner, the six pages (only the shown one enabled) and the
// Back, Next, Finish and Cancel buttons.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace Orv {

class AccessImportModel;

class frmAccessToOrv : public QDialog
{
    Q_OBJECT

public:
    explicit frmAccessToOrv(AccessImportModel &model, QWidget *parent = nullptr);

    AccessImportModel &model() const { return m_model; }
    QWidget *picStep(int page) const;
    QLabel *lblStep(int page) const { return m_lblStep[page]; }
    QLineEdit *txtDatabase() const { return m_txtDatabase; }
    QLineEdit *txtExportsFolder() const { return m_txtExportsFolder; }
    QLabel *lblExportCount() const { return m_lblExportCount; }
    QListWidget *lstReports() const { return m_lstReports; }
    QLineEdit *txtReportsPath() const { return m_txtReportsPath; }
    QComboBox *cmbCharset() const { return m_cmbCharset; }
    QCheckBox *chkConvertAll() const { return m_chkConvertAll; }
    QListWidget *lstStatus() const { return m_lstStatus; }
    QPlainTextEdit *txtSummary() const { return m_txtSummary; }
    QPushButton *btnBack() const { return m_btnBack; }
    QPushButton *btnNext() const { return m_btnNext; }
    QPushButton *btnFinish() const { return m_btnFinish; }
    QPushButton *btnCancel() const { return m_btnCancel; }
    // The message shown on the current page.
    QString pageMessage() const;
    // Updates the database page's note on the exports now (it otherwise
    // follows typing after a short pause).
    void refreshExportsNote();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildPage(int page);
    void showPage(int page);
    void updateState();
    void fillReports();
    void showChecks();
    void next();
    void cancelPressed();
    void readOptions();

    AccessImportModel &m_model;
    QStackedWidget *m_pages = nullptr;
    QLabel *m_lblStep[6] = {};
    QLabel *m_shpStepLight[6] = {};
    QLabel *m_lblMessage[6] = {};
    QLineEdit *m_txtDatabase = nullptr;
    QLineEdit *m_txtExportsFolder = nullptr;
    QLabel *m_lblExportCount = nullptr;
    QTimer *m_noteTimer = nullptr;
    QListWidget *m_lstReports = nullptr;
    QLineEdit *m_txtReportsPath = nullptr;
    QLabel *m_label2 = nullptr;
    QComboBox *m_cmbCharset = nullptr;
    QCheckBox *m_chkCommentModuleText = nullptr;
    QCheckBox *m_chkStripSrcCode = nullptr;
    QCheckBox *m_chkUseADOInsteadDAO = nullptr;
    QCheckBox *m_chkConvertChartCtls = nullptr;
    QCheckBox *m_cbSaveAsBinary = nullptr;
    QCheckBox *m_chkConvertAll = nullptr;
    QListWidget *m_lstStatus = nullptr;
    QPlainTextEdit *m_txtSummary = nullptr;
    QPushButton *m_btnBack = nullptr;
    QPushButton *m_btnNext = nullptr;
    QPushButton *m_btnFinish = nullptr;
    QPushButton *m_btnCancel = nullptr;
    bool m_filling = false;
    bool m_closeWhenStopped = false;
};

} // namespace Orv
