#pragma once
// What kind of value a QVariant holds, as reports see values.
#include <QVariant>

namespace Orv {

// Numbers (of any width) and booleans, which count as numbers in sums and
// comparisons.
inline bool isNumericVariant(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

} // namespace Orv
