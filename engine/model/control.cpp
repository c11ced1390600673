#include "engine/model/control.h"

#include "engine/model/section.h"

namespace Orv {

Control::Control(double width, double height, QObject *parent)
    : ModelObject(parent)
    , m_width(width)
    , m_height(height)
{
}

QString Control::typeName() const
{
    const QString id = typeId();
    const int dot = id.indexOf(QLatin1Char('.'));
    return dot < 0 ? id : id.mid(dot + 1);
}

Section *Control::section() const
{
    // A control's parent is its section's control collection.
    return parent() ? qobject_cast<Section *>(parent()->parent()) : nullptr;
}

#define ORV_SET_GEOMETRY(member, value)                                           \
    if (member == value)                                                           \
        return;                                                                    \
    member = value;                                                                \
    markModified();

void Control::setLeft(double value) { ORV_SET_GEOMETRY(m_left, value) }
void Control::setTop(double value) { ORV_SET_GEOMETRY(m_top, value) }
void Control::setWidth(double value) { ORV_SET_GEOMETRY(m_width, value) }
void Control::setHeight(double value) { ORV_SET_GEOMETRY(m_height, value) }

#undef ORV_SET_GEOMETRY

} // namespace Orv
