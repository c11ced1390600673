#include "ui/uidesignerprompts.h"

#include "engine/look/controllook.h"

#include <algorithm>

namespace Orv {

namespace {

// System colour numbers become the colour they stand for, as the chooser
// offers plain colours only.
int plainColor(int number)
{
    const QRgb rgb = Look::color(number);
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

} // namespace

QStringList UiDesignerPrompts::lineStyleNames()
{
    static const char *const names[] = {QT_TR_NOOP("透明"), QT_TR_NOOP("实线"),   QT_TR_NOOP("虚线"),
                                        QT_TR_NOOP("点线"), QT_TR_NOOP("点划线"), QT_TR_NOOP("双点划线")};
    QStringList list;
    for (const char *name : names)
        list << tr(name);
    return list;
}

std::optional<int> UiDesignerPrompts::chooseColor(DesignerAction::Code code, int initial)
{
    const QString title = code == DesignerAction::BackColor ? tr("背景色")
                        : code == DesignerAction::LineColor ? tr("线条颜色")
                                                            : tr("前景色");
    return m_ui.chooseColor(plainColor(initial), title);
}

std::optional<DesignerFont> UiDesignerPrompts::chooseFont(const DesignerFont &initial)
{
    const auto chosen = m_ui.chooseFont(
        {initial.name, initial.size, initial.bold, initial.italic, initial.underline, initial.strikethrough});
    if (!chosen)
        return std::nullopt;
    return DesignerFont{chosen->name, chosen->size, chosen->bold, chosen->italic, chosen->underline,
                        chosen->strikethrough};
}

std::optional<double> UiDesignerPrompts::chooseFontSize(double initial)
{
    return m_ui.inputNumber(tr("字号(磅):"), tr("字号"), initial, 1, 1638, 1);
}

std::optional<QString> UiDesignerPrompts::chooseStyle(const QString &initial, const QStringList &styles)
{
    const auto index = m_ui.chooseItem(tr("样式:"), tr("样式"), styles,
                                       std::max(0, int(styles.indexOf(initial))));
    if (!index || *index < 0 || *index >= styles.size())
        return std::nullopt;
    return styles[*index];
}

std::optional<int> UiDesignerPrompts::chooseLineStyle(int initial)
{
    const auto index = m_ui.chooseItem(tr("线型:"), tr("线型"), lineStyleNames(),
                                       std::clamp(initial, 0, 5));
    if (!index || *index < 0 || *index > 5)
        return std::nullopt;
    return *index;
}

std::optional<DesignerBorder> UiDesignerPrompts::chooseBorder(const DesignerBorder &initial)
{
    BorderChoice offered;
    offered.style = initial.style;
    offered.sides = initial.sides;
    offered.color = plainColor(initial.color);
    const auto chosen = m_ui.chooseBorder(offered);
    if (!chosen)
        return std::nullopt;
    DesignerBorder border;
    border.style = chosen->style;
    border.sides = chosen->sides & DesignerBorder::All;
    border.color = chosen->color;
    return border;
}

std::optional<std::vector<int>> UiDesignerPrompts::chooseGroupOrder(const QStringList &groupNames)
{
    const auto order = m_ui.chooseOrder(tr("调整分组顺序"), groupNames);
    if (!order)
        return std::nullopt;
    return std::vector<int>(order->begin(), order->end());
}

std::optional<QString> UiDesignerPrompts::chooseFieldName()
{
    const auto name = m_ui.inputBox(tr("数据字段:"), tr("插入字段"));
    if (!name || name->trimmed().isEmpty())
        return std::nullopt;
    return name->trimmed();
}

} // namespace Orv
