#pragma once
// Objects as scripts see them: late-bound members found by name once and
// then reached by number. Members compare without regard to case.
#include "engine/script/variant.h"

#include <QHash>
#include <QStringList>

class QObject;

namespace Orv::Script {

class Runtime;

enum class Invoke { Get, Put, PutRef, Method };

// Member number 0 is the default member (Item of a collection, Value of a
// field); -1 means "no such member".
constexpr int DefaultMember = 0;
constexpr int NoMember = -1;

class Object : public std::enable_shared_from_this<Object>
{
public:
    virtual ~Object() = default;
    virtual QString typeName() const = 0;
    // Objects with the same key number their members alike, so a call
    // site may keep the number it found (null: do not keep).
    virtual const void *classKey() const = 0;
    virtual int memberId(const QString &name) = 0;
    // Get and Method return the result; Put and PutRef take the value as
    // the last argument. Errors are raised with raise().
    virtual Variant invoke(Runtime &rt, int id, Invoke kind, Variant *args, int count) = 0;
    // The items For Each walks; false when the object is not a collection.
    virtual bool enumerate(Runtime &, std::vector<Variant> *) { return false; }
    // The Qt object behind a bridged object, or null.
    virtual QObject *qobject() const { return nullptr; }
    // Drops the values the object holds. Called on the containers a script
    // made when its run-time ends, so that reference cycles through them
    // (a dictionary holding itself) come apart instead of leaking.
    virtual void releaseContents() {}
};

// A script object implemented in C++ with a fixed list of members. The
// names are given once per class; member n of the list has number n + 1.
class NativeObject : public Object
{
public:
    const void *classKey() const override { return memberTable(); }
    int memberId(const QString &name) override;

protected:
    // Names in member-number order, without regard to case.
    virtual const QHash<QString, int> *memberTable() const = 0;
    static QHash<QString, int> makeTable(const QStringList &names);
    // Shorthands for member implementations.
    static void needArgs(int count, int minimum, int maximum);
};

// Rejects assignment to a read-only member or a call of a property.
[[noreturn]] void raiseNotSupported(const QString &member = QString());

} // namespace Orv::Script
