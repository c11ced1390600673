#pragma once
// The designer's own small dialogs: what a prompted action asks the user
// (colour, font, size, style, line style, border, group order, field).
#include "engine/widgets/designer/designeractions.h"

#include <QPointer>
#include <QWidget>

namespace Orv {

class WidgetPrompts : public DesignerPrompts
{
public:
    explicit WidgetPrompts(QWidget *parent) : m_parent(parent) {}

    std::optional<int> chooseColor(int code, int initial) override;
    std::optional<DesignerFont> chooseFont(const DesignerFont &initial) override;
    std::optional<double> chooseFontSize(double initial) override;
    std::optional<QString> chooseStyle(const QString &initial, const QStringList &styles) override;
    std::optional<int> chooseLineStyle(int initial) override;
    std::optional<DesignerBorder> chooseBorder(const DesignerBorder &initial) override;
    std::optional<std::vector<int>> chooseGroupOrder(const QStringList &groupNames) override;
    std::optional<QString> chooseFieldName() override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace Orv
