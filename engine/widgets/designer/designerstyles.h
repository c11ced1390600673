#pragma once
// The designer's text styles: Normal, Heading1, Heading2 and Heading3, the
// looks that labels, fields and check boxes take from the style their
// ClassName names. The look lives in each control's own properties (so a
// run and the layout file need no style table); the table is what the
// style box gives a control, what a new control starts with, and what
// controls of a style follow when the style changes.
#include <QString>
#include <QStringList>

#include <vector>

namespace Orv {

class Control;
class Font;
class TextControl;

struct TextLook
{
    // The parts of a look, as bits: a control follows its style part by part.
    enum Part {
        FontName = 1,
        FontSize = 2,
        Bold = 4,
        Italic = 8,
        Underline = 16,
        Strikethrough = 32,
        ForeColor = 64,
        Background = 128,
        Alignment = 256,
        VerticalAlignment = 512,
        AllParts = 1023
    };

    QString fontName = QStringLiteral("Arial");
    double fontSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int foreColor = 0;
    // White: the control keeps no background of its own (BackStyle 0), so
    // the section shows through; any other colour is an opaque background.
    int backColor = 0xFFFFFF;
    int alignment = 0;         // 0 left, 1 right, 2 centre, 3 justify
    int verticalAlignment = 0; // 0 top, 1 middle, 2 bottom

    bool operator==(const TextLook &) const = default;

    // The control's look as a style would state it.
    static TextLook of(const TextControl *control);
    // The parts of the control's look that equal this look's.
    int sharedParts(const TextControl *control) const;
    // Gives the control the given parts of this look (ClassName untouched).
    void applyTo(TextControl *control, int parts = AllParts) const;
    // The font parts alone, read from or written to a font object.
    void readFont(const Font *font);
    void writeFont(Font *font) const;
};

class DesignerStyles
{
public:
    struct Style
    {
        QString name;
        TextLook look;
        bool operator==(const Style &) const = default;
    };

    // The four styles with their first looks: Normal 10 pt, the headings
    // 16, 14 and 12 pt bold; all Arial, black, no background, top left.
    DesignerStyles();

    // Normal, Heading1, Heading2, Heading3: the style box's entries.
    static QStringList standardNames();
    QStringList names() const;
    const std::vector<Style> &styles() const { return m_styles; }
    // A style by name, without regard to case or blanks ("heading 1"
    // finds Heading1); null when there is none.
    const Style *find(const QString &name) const;
    // Replaces a style's look; false when there is no such style or the
    // look is the same.
    bool setLook(const QString &name, const TextLook &look);

    // Labels, fields and check boxes carry a style.
    static TextControl *styled(Control *control);

    bool operator==(const DesignerStyles &) const = default;

private:
    std::vector<Style> m_styles;
};

} // namespace Orv
