#pragma once
// The format bar's own work, without a window: which selected controls the
// font, style and colour tools act on, what the three boxes show, and the
// font dialog and colour buttons asked through the ui seam. Every change
// is one undo step of the designer.
#include <QString>
#include <QStringList>

#include <optional>

class QFont;
class QObject;

namespace Orv {

class DesignerCore;
class Ui;

namespace DesignFormat {

// Control type lists: a control is eligible when its type name is one of
// the names between the underscores, in any letter case.
inline const QString FontTypes = QStringLiteral("Label_Field_Checkbox");
inline const QString ColorTypes = QStringLiteral("Label_Field_RichEdit_Shape_Frame_Image_Checkbox");
inline const QString LineColorTypes = QStringLiteral("Line_Shape");

bool isEligible(const QString &typeList, const QObject *object);

// The style and size boxes' items.
QStringList styleItems();
QStringList sizeItems();
// How the style box shows a style's entry: in the style's font name and
// styles, its size kept from 8 to 14 points so the list stays readable.
QFont styleFont(const DesignerCore &core, const QString &style);

// What the style, font name and size boxes show: the only selected
// control's when exactly one eligible control is selected, else nothing.
struct BoxTexts
{
    bool shown = false;
    QString style;
    QString fontName;
    QString fontSize;
};
BoxTexts boxTexts(const DesignerCore &core);
// The first selected control's style, font name and size, for the boxes
// while the font action is enabled.
BoxTexts firstSelected(const DesignerCore &core);

// A size typed into the size box: a number from 1 to 1638, else nothing
// with *error saying what was wrong.
std::optional<double> parseFontSize(const QString &text, QString *error);

// The box choices, applied to every eligible selected control.
bool applyFontName(DesignerCore &core, const QString &name);
bool applyFontSize(DesignerCore &core, double size);
bool applyStyle(DesignerCore &core, const QString &style);

// The font dialog: only when the first selected control is eligible for
// FontTypes; the dialog starts from its font; cancelled changes nothing.
bool fontDialog(DesignerCore &core, Ui &ui);

enum class ColorTarget { Back, Fore, Line };
// A colour button: only when the first selected control is eligible for
// the button's list. Back sets BackStyle 1 and BackColor, Fore ForeColor,
// Line LineColor on every eligible selected control that has them.
bool colorButton(DesignerCore &core, Ui &ui, ColorTarget target);

} // namespace DesignFormat
} // namespace Orv
