#include "shell/designformat.h"

#include "engine/look/controllook.h"
#include "engine/model/control.h"
#include "engine/model/parts.h"
#include "engine/widgets/designer/designercore.h"
#include "ui/uiseam.h"

#include <QCoreApplication>
#include <QFont>
#include <QLocale>

#include <algorithm>

namespace Orv::DesignFormat {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Orv::DesignFormat", text);
}

std::vector<Control *> eligibleSelection(const DesignerCore &core, const QString &typeList)
{
    std::vector<Control *> out;
    for (Control *c : core.selectedControls()) {
        if (isEligible(typeList, c))
            out.push_back(c);
    }
    return out;
}

BoxTexts textsOf(const Control *control)
{
    BoxTexts t;
    auto *text = qobject_cast<const TextControl *>(control);
    if (!text)
        return t;
    t.shown = true;
    t.style = text->className();
    t.fontName = text->font()->name();
    t.fontSize = QString::number(text->font()->size());
    return t;
}

// System colour numbers become the colour they stand for: the chooser
// offers plain colours.
int plainColor(int number)
{
    const QRgb rgb = Look::color(number);
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

} // namespace

bool isEligible(const QString &typeList, const QObject *object)
{
    auto *control = qobject_cast<const Control *>(object);
    if (!control)
        return false;
    const QString type = control->typeName();
    const QStringList names = typeList.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    return std::any_of(names.begin(), names.end(),
                       [&](const QString &n) { return n.compare(type, Qt::CaseInsensitive) == 0; });
}

QStringList styleItems()
{
    return DesignerCore::styleNames();
}

QFont styleFont(const DesignerCore &core, const QString &style)
{
    QFont font;
    const DesignerStyles::Style *s = core.textStyles().find(style);
    if (!s)
        return font;
    font.setFamily(s->look.fontName);
    font.setPointSizeF(std::clamp(s->look.fontSize, 8.0, 14.0));
    font.setBold(s->look.bold);
    font.setItalic(s->look.italic);
    font.setUnderline(s->look.underline);
    font.setStrikeOut(s->look.strikethrough);
    return font;
}

QStringList sizeItems()
{
    return {QStringLiteral(" 8"), QStringLiteral(" 9"), QStringLiteral("10"), QStringLiteral("11"),
            QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
            QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"),
            QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72")};
}

BoxTexts boxTexts(const DesignerCore &core)
{
    const std::vector<Control *> controls = core.selectedControls();
    if (controls.size() != 1 || !isEligible(FontTypes, controls.front()))
        return {};
    return textsOf(controls.front());
}

BoxTexts firstSelected(const DesignerCore &core)
{
    return textsOf(core.primaryControl());
}

std::optional<double> parseFontSize(const QString &text, QString *error)
{
    bool ok = false;
    const double size = QLocale().toDouble(text.trimmed(), &ok);
    const double plain = ok ? size : text.trimmed().toDouble(&ok);
    if (!ok) {
        if (error)
            *error = tr("字号“%1”不是数字。").arg(text.trimmed());
        return std::nullopt;
    }
    if (plain < 1 || plain > 1638) {
        if (error)
            *error = tr("字号必须在 1 到 1638 磅之间，%1 超出了范围。").arg(text.trimmed());
        return std::nullopt;
    }
    return plain;
}

bool applyFontName(DesignerCore &core, const QString &name)
{
    return core.applyFontName(name);
}

bool applyFontSize(DesignerCore &core, double size)
{
    return core.applyFontSize(size);
}

bool applyStyle(DesignerCore &core, const QString &style)
{
    return core.applyStyle(style);
}

bool fontDialog(DesignerCore &core, Ui &ui)
{
    auto *first = qobject_cast<TextControl *>(core.primaryControl());
    if (!first || !isEligible(FontTypes, first))
        return false;
    const Font *f = first->font();
    const auto chosen = ui.chooseFont({f->name(), f->size(), f->bold(), f->italic(), f->underline(), f->strikethrough()});
    if (!chosen)
        return false;
    return core.applyFont({chosen->name, chosen->size, chosen->bold, chosen->italic, chosen->underline,
                           chosen->strikethrough});
}

bool colorButton(DesignerCore &core, Ui &ui, ColorTarget target)
{
    const QString &list = target == ColorTarget::Line ? LineColorTypes : ColorTypes;
    Control *first = core.primaryControl();
    if (!first || !isEligible(list, first))
        return false;
    const char *property = target == ColorTarget::Back ? "BackColor" : target == ColorTarget::Fore ? "ForeColor" : "LineColor";
    std::vector<Control *> targets;
    for (Control *c : eligibleSelection(core, list)) {
        if (c->metaObject()->indexOfProperty(property) >= 0)
            targets.push_back(c);
    }
    if (targets.empty())
        return false;
    const QString title = target == ColorTarget::Back ? tr("背景色") : target == ColorTarget::Fore ? tr("前景色") : tr("线条颜色");
    const auto color = ui.chooseColor(plainColor(targets.front()->property(property).toInt()), title);
    if (!color)
        return false;
    const int value = *color;
    return core.edit(title, std::vector<QObject *>(targets.begin(), targets.end()), [&] {
        for (Control *c : targets) {
            if (target == ColorTarget::Back)
                c->setProperty("BackStyle", int(BackStyle::Opaque));
            c->setProperty(property, value);
        }
    });
}

} // namespace Orv::DesignFormat
