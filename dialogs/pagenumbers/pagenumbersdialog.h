#pragma once
// frmPageNumbers: the style and position of a page number; OK adds it to
// the report (PageNumbersModel) and closes, Cancel closes.
#include "dialogs/pagenumbers/pagenumbersmodel.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace Orv {

class Ui;

class frmPageNumbers : public QDialog
{
    Q_OBJECT

public:
    frmPageNumbers(Ui &ui, QWidget *parent = nullptr);

    void SetReport(Report *rpt, DesignerCore *designer = nullptr);
    PageNumbersModel &model() { return m_model; }

    QComboBox *cboStyle() const { return m_cboStyle; }
    QComboBox *cboLocation() const { return m_cboLocation; }
    QPushButton *btnOK() const { return m_btnOK; }
    QPushButton *btnCancel() const { return m_btnCancel; }

private:
    void ok();

    Ui &m_ui;
    PageNumbersModel m_model;
    QComboBox *m_cboStyle;
    QComboBox *m_cboLocation;
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
};

} // namespace Orv
