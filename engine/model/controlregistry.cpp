#include "engine/model/controlregistry.h"

#include "engine/model/chart.h"
#include "engine/model/controls.h"

namespace Orv {

namespace {

template<typename T>
void addKind(ControlRegistry &registry)
{
    registry.add(T::staticTypeId(), [] { return new T; });
}

ControlRegistry makeBuiltIn()
{
    ControlRegistry r;
    addKind<Label>(r);
    addKind<Field>(r);
    addKind<CheckBox>(r);
    addKind<Image>(r);
    addKind<Line>(r);
    addKind<Shape>(r);
    addKind<RichEdit>(r);
    addKind<Frame>(r);
    addKind<SubReport>(r);
    addKind<PageBreak>(r);
    addKind<OleObject>(r);
    addKind<Barcode>(r);
    addKind<Chart>(r);
    addKind<DataControl>(r);
    addKind<DAODataControl>(r);
    return r;
}

} // namespace

const ControlRegistry &ControlRegistry::builtIn()
{
    static const ControlRegistry registry = makeBuiltIn();
    return registry;
}

void ControlRegistry::add(const QString &typeId, Factory factory)
{
    const QString key = typeId.toCaseFolded();
    if (!m_factories.contains(key))
        m_order.append(typeId);
    m_factories.insert(key, std::move(factory));
}

bool ControlRegistry::contains(const QString &typeId) const
{
    return m_factories.contains(typeId.trimmed().toCaseFolded());
}

Control *ControlRegistry::create(const QString &typeId, Status *status) const
{
    const auto it = m_factories.constFind(typeId.trimmed().toCaseFolded());
    if (it == m_factories.cend()) {
        if (status)
            *status = Status::failure(ErrCannotCreateObject,
                                      QStringLiteral("Unknown control type \"%1\"").arg(typeId));
        return nullptr;
    }
    if (status)
        *status = Status();
    return (*it)();
}

} // namespace Orv
