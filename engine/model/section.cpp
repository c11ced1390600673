#include "engine/model/section.h"

#include "engine/model/control.h"
#include "engine/model/controlregistry.h"
#include "engine/model/report.h"

namespace Orv {

Controls::Controls(Section *section)
    : ModelObject(section)
{
}

Controls::~Controls()
{
    // Children would be deleted by QObject anyway; clearing the list first
    // keeps Item() from seeing half-destroyed controls meanwhile.
    auto items = std::move(m_items);
    m_items.clear();
    qDeleteAll(items);
}

Section *Controls::section() const
{
    return static_cast<Section *>(parent());
}

Control *Controls::Item(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[size_t(index)];
}

Control *Controls::Item(const QString &name) const
{
    for (Control *c : m_items) {
        if (c->name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return nullptr;
}

int Controls::indexOf(const Control *control) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == control)
            return int(i);
    }
    return -1;
}

Control *Controls::Add(const QString &typeId, Status *status)
{
    Control *control = ControlRegistry::builtIn().create(typeId, status);
    if (!control)
        return nullptr;
    const Report *r = report();
    control->setName(r ? r->uniqueControlName(control->typeName()) : control->typeName() + QLatin1Char('1'));
    insert(-1, control);
    return control;
}

Status Controls::Remove(int index)
{
    Control *control = take(index);
    if (!control)
        return Status::failure(ErrSubscript, errorDescription(ErrSubscript));
    delete control;
    return {};
}

void Controls::insert(int index, Control *control)
{
    if (index < 0 || index > Count())
        index = Count();
    control->setParent(this);
    m_items.insert(m_items.begin() + index, control);
    markModified();
}

Control *Controls::take(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    Control *control = m_items[size_t(index)];
    m_items.erase(m_items.begin() + index);
    markModified();
    control->setParent(nullptr);
    return control;
}

Section::Section(Type type, QObject *parent)
    : ModelObject(parent)
    , m_type(type)
    , m_controls(new Orv::Controls(this))
{
}

} // namespace Orv
