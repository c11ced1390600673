#include "engine/widgets/designer/designerutil.h"

#include "engine/model/controls.h"
#include "engine/look/richtext.h"

namespace Orv::DesignerUtil {

bool fontBoxEligible(const Control *control)
{
    return qobject_cast<const Label *>(control) || qobject_cast<const Field *>(control)
        || qobject_cast<const CheckBox *>(control);
}

bool hasForeColor(const Control *control)
{
    return qobject_cast<const TextControl *>(control);
}

bool hasBackColor(const Control *control)
{
    return qobject_cast<const BoxControl *>(control);
}

bool hasLineStyle(const Control *control)
{
    return qobject_cast<const Line *>(control) || qobject_cast<const Shape *>(control);
}

bool hasLineColor(const Control *control)
{
    return control && control->metaObject()->indexOfProperty("LineColor") >= 0;
}

bool hasBorder(const Control *control)
{
    return qobject_cast<const BoxControl *>(control);
}

const TextControl *firstText(const std::vector<Control *> &controls)
{
    for (const Control *c : controls) {
        if (auto *t = qobject_cast<const TextControl *>(c))
            return t;
    }
    return nullptr;
}

const RichEdit *firstRich(const std::vector<Control *> &controls)
{
    for (const Control *c : controls) {
        if (auto *r = qobject_cast<const RichEdit *>(c))
            return r;
    }
    return nullptr;
}

bool richTextHasBullets(const RichEdit *rich)
{
    return rich && RichText::textHasBullets(rich->text());
}

bool richTextIndented(const RichEdit *rich)
{
    return rich && RichText::textIndented(rich->text());
}

} // namespace Orv::DesignerUtil
