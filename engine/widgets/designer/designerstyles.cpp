#include "engine/widgets/designer/designerstyles.h"

#include "engine/model/controls.h"
#include "engine/model/parts.h"
#include "engine/widgets/designer/designerutil.h"

namespace Orv {

namespace {

constexpr int White = 0xFFFFFF;

QString folded(const QString &name)
{
    QString out;
    for (QChar c : name) {
        if (!c.isSpace())
            out += c.toCaseFolded();
    }
    return out;
}

} // namespace

TextLook TextLook::of(const TextControl *c)
{
    TextLook look;
    look.readFont(c->font());
    look.foreColor = c->foreColor();
    look.backColor = c->backStyle() == BackStyle::Opaque ? c->backColor() : White;
    look.alignment = c->alignment();
    look.verticalAlignment = c->verticalAlignment();
    return look;
}

void TextLook::readFont(const Font *f)
{
    fontName = f->name();
    fontSize = f->size();
    bold = f->bold();
    italic = f->italic();
    underline = f->underline();
    strikethrough = f->strikethrough();
}

void TextLook::writeFont(Font *f) const
{
    f->setName(fontName);
    f->setSize(fontSize);
    f->setBold(bold);
    f->setItalic(italic);
    f->setUnderline(underline);
    f->setStrikethrough(strikethrough);
}

int TextLook::sharedParts(const TextControl *control) const
{
    const TextLook other = of(control);
    int parts = 0;
    const auto same = [&](bool equal, Part part) {
        if (equal)
            parts |= part;
    };
    same(other.fontName.compare(fontName, Qt::CaseInsensitive) == 0, FontName);
    same(other.fontSize == fontSize, FontSize);
    same(other.bold == bold, Bold);
    same(other.italic == italic, Italic);
    same(other.underline == underline, Underline);
    same(other.strikethrough == strikethrough, Strikethrough);
    same(other.foreColor == foreColor, ForeColor);
    same(other.backColor == backColor, Background);
    same(other.alignment == alignment, Alignment);
    same(other.verticalAlignment == verticalAlignment, VerticalAlignment);
    return parts;
}

void TextLook::applyTo(TextControl *c, int parts) const
{
    Font *f = c->font();
    if (parts & FontName)
        f->setName(fontName);
    if (parts & FontSize)
        f->setSize(fontSize);
    if (parts & Bold)
        f->setBold(bold);
    if (parts & Italic)
        f->setItalic(italic);
    if (parts & Underline)
        f->setUnderline(underline);
    if (parts & Strikethrough)
        f->setStrikethrough(strikethrough);
    if (parts & ForeColor)
        c->setForeColor(foreColor);
    if (parts & Background) {
        c->setBackColor(backColor);
        c->setBackStyle(backColor == White ? BackStyle::Transparent : BackStyle::Opaque);
    }
    if (parts & Alignment)
        c->setAlignment(alignment);
    if (parts & VerticalAlignment)
        c->setVerticalAlignment(verticalAlignment);
}

DesignerStyles::DesignerStyles()
{
    const double sizes[4] = {10, 16, 14, 12};
    const QStringList names = standardNames();
    for (int i = 0; i < names.size(); ++i) {
        Style s{names[i], {}};
        s.look.fontSize = sizes[i];
        s.look.bold = i > 0;
        m_styles.push_back(s);
    }
}

QStringList DesignerStyles::standardNames()
{
    return {QStringLiteral("Normal"), QStringLiteral("Heading1"), QStringLiteral("Heading2"), QStringLiteral("Heading3")};
}

QStringList DesignerStyles::names() const
{
    QStringList out;
    for (const Style &s : m_styles)
        out << s.name;
    return out;
}

const DesignerStyles::Style *DesignerStyles::find(const QString &name) const
{
    const QString key = folded(name);
    for (const Style &s : m_styles) {
        if (folded(s.name) == key)
            return &s;
    }
    return nullptr;
}

bool DesignerStyles::setLook(const QString &name, const TextLook &look)
{
    auto *s = const_cast<Style *>(find(name));
    if (!s || s->look == look)
        return false;
    s->look = look;
    return true;
}

TextControl *DesignerStyles::styled(Control *control)
{
    return DesignerUtil::fontBoxEligible(control) ? qobject_cast<TextControl *>(control) : nullptr;
}

} // namespace Orv
