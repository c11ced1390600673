#pragma once
// frmReportProperties: the topic tree and its pages over a
// ReportPropertiesModel. OK checks and saves, then closes; a value that
// cannot be taken is said next to its box and the dialog stays open.
#include "dialogs/common/topicpages.h"
#include "dialogs/reportproperties/reportpropertiesmodel.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace Orv {

class frmReportProperties : public TopicDialog
{
    Q_OBJECT

public:
    frmReportProperties(PaperCatalogue papers, LengthUnit unit, QWidget *parent = nullptr);

    void SetReport(Report *rpt, DesignerCore *designer = nullptr);
    ReportPropertiesModel &model() { return m_model; }

    QComboBox *cboPaperSizes() const { return m_cboPaperSizes; }
    QLineEdit *txtPaperWidth() const { return m_txtPaperWidth; }
    QLineEdit *txtPaperHeight() const { return m_txtPaperHeight; }
    QLineEdit *txtMargin(int index) const { return m_txtMargin[size_t(index)]; }
    QCheckBox *chkMirrorMargins() const { return m_chkMirrorMargins; }
    QRadioButton *optOrientation(int index) const { return m_optOrientation[size_t(index)]; }
    QLineEdit *txtDocumentName() const { return m_txtDocumentName; }
    // The message shown next to the boxes of the paper or margins page.
    QLabel *lblPaperError() const { return m_lblPaperError; }
    QLabel *lblMarginError() const { return m_lblMarginError; }

private:
    void buildPages();
    void loadValues();
    void showPaper();
    void ok();

    ReportPropertiesModel m_model;
    bool m_loading = false;
    QComboBox *m_cboPaperSizes = nullptr;
    QLineEdit *m_txtPaperWidth = nullptr;
    QLineEdit *m_txtPaperHeight = nullptr;
    QLabel *m_lblPaperNote = nullptr;
    QLabel *m_lblPaperError = nullptr;
    std::array<QLineEdit *, ReportPropertiesModel::MarginCount> m_txtMargin{};
    QCheckBox *m_chkMirrorMargins = nullptr;
    QLabel *m_lblMarginError = nullptr;
    std::array<QRadioButton *, 3> m_optOrientation{};
    QLineEdit *m_txtDocumentName = nullptr;
};

} // namespace Orv
