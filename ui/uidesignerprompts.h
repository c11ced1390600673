#pragma once
// The designer's prompts on the program's Ui seam: each prompted action
// becomes one Ui request (a colour, a font, a number, a list to pick from
// or to put in order, a border, a text).
#include "engine/widgets/designer/designeractions.h"
#include "ui/uiseam.h"

#include <QCoreApplication>

namespace Orv {

class UiDesignerPrompts : public DesignerPrompts
{
    Q_DECLARE_TR_FUNCTIONS(UiDesignerPrompts)

public:
    explicit UiDesignerPrompts(Ui &ui) : m_ui(ui) {}

    std::optional<int> chooseColor(DesignerAction::Code code, int initial) override;
    std::optional<DesignerFont> chooseFont(const DesignerFont &initial) override;
    std::optional<double> chooseFontSize(double initial) override;
    std::optional<QString> chooseStyle(const QString &initial, const QStringList &styles) override;
    std::optional<int> chooseLineStyle(int initial) override;
    std::optional<DesignerBorder> chooseBorder(const DesignerBorder &initial) override;
    std::optional<std::vector<int>> chooseGroupOrder(const QStringList &groupNames) override;
    std::optional<QString> chooseFieldName() override;

    // The line styles as the line style prompt lists them, 0 to 5.
    static QStringList lineStyleNames();

private:
    Ui &m_ui;
};

} // namespace Orv
