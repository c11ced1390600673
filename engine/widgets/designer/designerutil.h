#pragma once
// Which controls each formatting action applies to.
#include <vector>

namespace Orv {

class Control;
class RichEdit;
class TextControl;

namespace DesignerUtil {

// Labels, fields and check boxes: the ones the style, font name and font
// size boxes act on.
bool fontBoxEligible(const Control *control);
bool hasForeColor(const Control *control);
bool hasBackColor(const Control *control);
bool hasLineStyle(const Control *control);
bool hasLineColor(const Control *control);
bool hasBorder(const Control *control);

// The first control of the list that shows text in a font, or null.
const TextControl *firstText(const std::vector<Control *> &controls);
const RichEdit *firstRich(const std::vector<Control *> &controls);

bool richTextHasBullets(const RichEdit *rich);
bool richTextIndented(const RichEdit *rich);

} // namespace DesignerUtil
} // namespace Orv
