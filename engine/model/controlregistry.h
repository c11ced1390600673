#pragma once

#include "engine/core/status.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace Orv {

class Control;

// Maps control type identifiers ("OrvEngine.Label") to the kinds that make
// them. Identifiers compare without regard to case, since layouts and
// callers spell some of them two ways ("OrvEngine.CheckBox", "Checkbox").
class ControlRegistry
{
public:
    using Factory = std::function<Control *()>;

    // The kinds the engine itself provides. Built once; never changes.
    static const ControlRegistry &builtIn();

    void add(const QString &typeId, Factory factory);

    bool contains(const QString &typeId) const;
    // A new, detached control; null with error 429 for an unknown identifier.
    Control *create(const QString &typeId, Status *status = nullptr) const;
    // The identifiers as registered, in registration order.
    QStringList typeIds() const { return m_order; }

private:
    QHash<QString, Factory> m_factories; // by case-folded identifier
    QStringList m_order;
};

} // namespace Orv
