#include "engine/model/modelobject.h"

#include "engine/model/report.h"

namespace Orv {

ModelObject::ModelObject(QObject *parent)
    : QObject(parent)
{
}

Report *ModelObject::report() const
{
    for (QObject *o = const_cast<ModelObject *>(this); o; o = o->parent()) {
        if (auto *r = qobject_cast<Report *>(o))
            return r;
    }
    return nullptr;
}

void ModelObject::markModified()
{
    if (Report *r = report())
        r->noteModified(this);
}

} // namespace Orv
