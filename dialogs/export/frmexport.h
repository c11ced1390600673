#pragma once
// frmExport: writes the preview's pages to a file in one of six formats.
// Choosing a format shows its option page; OK builds the filter's settings
// through ExportDialogModel and exports with progress and Cancel. Every
// file and folder dialog and every message goes through the ui seam.
#include "dialogs/export/exportdialogmodel.h"

#include <QDialog>

#include <atomic>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QWidget;

namespace Orv {

class PageCollection;
class Ui;

class frmExport : public QDialog
{
    Q_OBJECT

public:
    explicit frmExport(Ui &ui, QWidget *parent = nullptr);
    ~frmExport() override;

    // The pages to export; while unset OK does nothing.
    void setPages(const PageCollection *pages) { m_model.setPages(pages); }
    void setInstallFolder(const QString &folder) { m_model.setInstallFolder(folder); }
    ExportDialogModel &model() { return m_model; }
    bool isExporting() const { return m_exporting; }

    // Shows the page of a format as choosing it in the list does.
    void chooseFormat(int index);
    // Reads the entries into the model (done before every export).
    void readEntries();

    void reject() override;

private:
    QWidget *buildRtfOrTiffPage(int index);
    QWidget *buildPdfPage();
    QWidget *buildHtmlPage();
    QWidget *buildExcelPage();
    QWidget *buildTextPage();
    QLineEdit *fileRow(QWidget *page, int index, const QString &label, QGridLayout *grid, int row);
    void formatChosen(int index);
    void browseFile(int index);
    void browseFolder(QLineEdit *box, const QString &title, const QString &errorTitle);
    void exportClicked();
    void setBusy(bool busy);

    Ui &m_ui;
    ExportDialogModel m_model;
    std::atomic_bool m_cancel = false;
    bool m_exporting = false;

    QComboBox *m_cboExportFormat = nullptr;
    QWidget *m_optionArea = nullptr;
    QWidget *m_picOptions[6] = {};
    QLineEdit *m_txtFilename[6] = {};
    QPushButton *m_btnBrowse[6] = {};
    QComboBox *m_cboAcrobatVersion = nullptr;
    QComboBox *m_cboPDFJPGQuality = nullptr;
    QListWidget *m_lstPDFFonts = nullptr;
    QLineEdit *m_txtHTMLFolder = nullptr;
    QLineEdit *m_txtAuxFolder = nullptr;
    QLineEdit *m_txtHTMLCharset = nullptr;
    QLineEdit *m_txtHTMLTitle = nullptr;
    QComboBox *m_cboHTMLVersion = nullptr;
    QComboBox *m_cboTOCFormat = nullptr;
    QCheckBox *m_chkCreateCSS = nullptr;
    QCheckBox *m_chkCreateFrameset = nullptr;
    QCheckBox *m_chkMHTArchive = nullptr;
    QCheckBox *m_chkSinglePage = nullptr;
    QComboBox *m_cboXLSVersion = nullptr;
    QLineEdit *m_txtXLSBorderSpace = nullptr;
    QLineEdit *m_txtXLSMinColWidth = nullptr;
    QLineEdit *m_txtXLSMinRowHeight = nullptr;
    QCheckBox *m_chkXLS[6] = {};
    QLineEdit *m_txtTXTTextDelimiter = nullptr;
    QCheckBox *m_chkTXTSupressEmptyLines = nullptr;
    QCheckBox *m_chkTXTUnicode = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_note = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
};

} // namespace Orv
