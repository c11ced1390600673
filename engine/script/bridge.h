#pragma once
// Qt objects as script objects: Q_PROPERTY members (names compared without
// regard to case), Q_INVOKABLE methods and slots, the default member named
// by Q_CLASSINFO("DefaultMember"), and the report model's collections.
// Member lookups are cached per (meta-object, name).
#include "engine/script/object.h"

#include <QPointer>

namespace Orv {
class Report;
}

namespace Orv::Script {

class FieldResolver;

// What bridged report objects need of their host.
struct BridgeContext
{
    Report *report = nullptr;
    FieldResolver *row = nullptr; // current values during a run
    QString reportFolder;
    bool allowWrites = false; // connections the script opens may write
};

// The script object for a Qt object (Nothing for null). With owned the
// script deletes the object when the last reference goes, unless it has
// been given a parent by then.
Variant bridge(QObject *object, const std::shared_ptr<BridgeContext> &context, bool owned = false);

// Script values to and from Qt values for properties and arguments of a
// given meta type.
QVariant toQt(const Variant &v, QMetaType type);
Variant fromQt(const QVariant &v, const std::shared_ptr<BridgeContext> &context);

} // namespace Orv::Script
