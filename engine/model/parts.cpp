#include "engine/model/parts.h"

namespace Orv {

void Border::setStyle(int style)
{
    setLeftStyle(style);
    setTopStyle(style);
    setRightStyle(style);
    setBottomStyle(style);
}

void Border::setColor(int color)
{
    setLeftColor(color);
    setTopColor(color);
    setRightColor(color);
    setBottomColor(color);
}

} // namespace Orv
