#pragma once
// How data-field expressions reach the current row. The report run maps
// each name to a slot once, when an expression is compiled, and hands
// out the slot's current value at every evaluation.
#include <QString>
#include <QVariant>

namespace Orv::Script {

class FieldResolver
{
public:
    virtual ~FieldResolver() = default;
    // -1 when nothing of that name exists (names compare without case).
    virtual int slotOf(const QString &name) = 0;
    virtual QVariant value(int slot) const = 0;
};

} // namespace Orv::Script
