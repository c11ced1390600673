#pragma once
// frmOptions: the grid settings and the text styles, over an OptionsModel.
#include "dialogs/common/topicpages.h"
#include "dialogs/options/optionsmodel.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace Orv {

class PropertyDialogs;
class PropertyList;

class frmOptions : public TopicDialog
{
    Q_OBJECT

public:
    // dialogs: where the style list asks for fonts and colours (may be null).
    frmOptions(DesignerCore *designer, PropertyDialogs *dialogs, QWidget *parent = nullptr);

    OptionsModel &model() { return m_model; }
    QCheckBox *chkShowGrid() const { return m_chkShowGrid; }
    QCheckBox *chkSnapToGrid() const { return m_chkSnapToGrid; }
    QRadioButton *optRuler(int index) const { return m_optRuler[size_t(index)]; }
    QLineEdit *txtGridUnits(int index) const { return m_txtGridUnits[size_t(index)]; }
    QLabel *lblGridError() const { return m_lblGridError; }
    PropertyList *plStyle() const { return m_plStyle; }

    void done(int result) override;

private:
    void showStyle(QTreeWidgetItem *item);
    void showRowsProblem();

    OptionsModel m_model;
    QCheckBox *m_chkShowGrid;
    QCheckBox *m_chkSnapToGrid;
    std::array<QRadioButton *, 2> m_optRuler{};
    std::array<QLineEdit *, 2> m_txtGridUnits{};
    QLabel *m_lblGridError;
    PropertyList *m_plStyle;
};

} // namespace Orv
