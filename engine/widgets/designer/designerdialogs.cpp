#include "engine/widgets/designer/designerdialogs.h"
#include "engine/look/controllook.h"

#include "engine/widgets/designer/designitempainter.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orv {

namespace {

int colorNumber(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

const QStringList &lineStyleNames()
{
    static const QStringList names{QStringLiteral("Transparent"), QStringLiteral("Solid"), QStringLiteral("Dash"),
                                   QStringLiteral("Dot"), QStringLiteral("Dash-Dot"), QStringLiteral("Dash-Dot-Dot")};
    return names;
}

const QStringList &borderStyleNames()
{
    static const QStringList names{
        QStringLiteral("None"), QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dot"),
        QStringLiteral("Dash-Dot"), QStringLiteral("Dash-Dot-Dot"), QStringLiteral("Double"),
        QStringLiteral("Thick Solid"), QStringLiteral("Thick Dash"), QStringLiteral("Thick Dot"),
        QStringLiteral("Thick Dash-Dot"), QStringLiteral("Thick Dash-Dot-Dot"), QStringLiteral("Thick Double"),
        QStringLiteral("Extra Thick Solid")};
    return names;
}

} // namespace

std::optional<int> WidgetPrompts::chooseColor(int code, int initial)
{
    const QString title = code == DesignerAction::BackColor ? QStringLiteral("Back Colour")
                        : code == DesignerAction::LineColor ? QStringLiteral("Line Colour")
                                                            : QStringLiteral("Fore Colour");
    const QColor c = QColorDialog::getColor(QColor::fromRgb(Look::color(initial)), m_parent, title);
    if (!c.isValid())
        return std::nullopt;
    return colorNumber(c);
}

std::optional<DesignerFont> WidgetPrompts::chooseFont(const DesignerFont &initial)
{
    QFont f(initial.name);
    f.setPointSizeF(initial.size);
    f.setBold(initial.bold);
    f.setItalic(initial.italic);
    f.setUnderline(initial.underline);
    f.setStrikeOut(initial.strikethrough);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, f, m_parent, QStringLiteral("Font"));
    if (!ok)
        return std::nullopt;
    return DesignerFont{chosen.family(), chosen.pointSizeF(), chosen.bold(), chosen.italic(), chosen.underline(),
                        chosen.strikeOut()};
}

std::optional<double> WidgetPrompts::chooseFontSize(double initial)
{
    bool ok = false;
    const double size = QInputDialog::getDouble(m_parent, QStringLiteral("Font Size"), QStringLiteral("Size (points):"),
                                                initial, 1, 1638, 1, &ok);
    if (!ok)
        return std::nullopt;
    return size;
}

std::optional<QString> WidgetPrompts::chooseStyle(const QString &initial, const QStringList &styles)
{
    bool ok = false;
    const QString style = QInputDialog::getItem(m_parent, QStringLiteral("Style"), QStringLiteral("Style:"), styles,
                                                std::max(0, int(styles.indexOf(initial))), false, &ok);
    if (!ok)
        return std::nullopt;
    return style;
}

std::optional<int> WidgetPrompts::chooseLineStyle(int initial)
{
    bool ok = false;
    const QString style = QInputDialog::getItem(m_parent, QStringLiteral("Line Style"), QStringLiteral("Line style:"),
                                                lineStyleNames(), std::clamp(initial, 0, 5), false, &ok);
    if (!ok)
        return std::nullopt;
    return int(lineStyleNames().indexOf(style));
}

std::optional<DesignerBorder> WidgetPrompts::chooseBorder(const DesignerBorder &initial)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(QStringLiteral("Border"));
    auto *form = new QFormLayout;
    auto *sides = new QHBoxLayout;
    QCheckBox *boxes[4];
    const char *names[4] = {"Left", "Top", "Right", "Bottom"};
    const int masks[4] = {DesignerBorder::Left, DesignerBorder::Top, DesignerBorder::Right, DesignerBorder::Bottom};
    for (int i = 0; i < 4; ++i) {
        boxes[i] = new QCheckBox(QString::fromLatin1(names[i]));
        boxes[i]->setChecked(initial.sides & masks[i]);
        sides->addWidget(boxes[i]);
    }
    form->addRow(QStringLiteral("Sides:"), sides);
    auto *style = new QComboBox;
    style->addItems(borderStyleNames());
    style->setCurrentIndex(std::clamp(initial.style, 0, 13));
    form->addRow(QStringLiteral("Style:"), style);
    int color = initial.color;
    auto *colorButton = new QPushButton(QStringLiteral("Colour..."));
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
        const QColor c = QColorDialog::getColor(QColor::fromRgb(Look::color(color)), &dialog);
        if (c.isValid())
            color = colorNumber(c);
    });
    form->addRow(QStringLiteral("Colour:"), colorButton);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    DesignerBorder result;
    result.style = style->currentIndex();
    result.sides = 0;
    for (int i = 0; i < 4; ++i)
        result.sides |= boxes[i]->isChecked() ? masks[i] : 0;
    result.color = color;
    return result;
}

std::optional<std::vector<int>> WidgetPrompts::chooseGroupOrder(const QStringList &groupNames)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(QStringLiteral("Reorder Groups"));
    auto *list = new QListWidget;
    for (int i = 0; i < groupNames.size(); ++i) {
        auto *item = new QListWidgetItem(groupNames[i], list);
        item->setData(Qt::UserRole, i);
    }
    list->setCurrentRow(0);
    auto move = [list](int by) {
        const int row = list->currentRow();
        const int to = row + by;
        if (row < 0 || to < 0 || to >= list->count())
            return;
        QListWidgetItem *item = list->takeItem(row);
        list->insertItem(to, item);
        list->setCurrentRow(to);
    };
    auto *up = new QPushButton(QStringLiteral("Move Up"));
    auto *down = new QPushButton(QStringLiteral("Move Down"));
    QObject::connect(up, &QPushButton::clicked, &dialog, [move] { move(-1); });
    QObject::connect(down, &QPushButton::clicked, &dialog, [move] { move(1); });
    auto *side = new QVBoxLayout;
    side->addWidget(up);
    side->addWidget(down);
    side->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(list);
    row->addLayout(side);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<int> order;
    for (int i = 0; i < list->count(); ++i)
        order.push_back(list->item(i)->data(Qt::UserRole).toInt());
    return order;
}

std::optional<QString> WidgetPrompts::chooseFieldName()
{
    bool ok = false;
    const QString name = QInputDialog::getText(m_parent, QStringLiteral("Insert Field"), QStringLiteral("Data field:"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok || name.trimmed().isEmpty())
        return std::nullopt;
    return name.trimmed();
}

} // namespace Orv
