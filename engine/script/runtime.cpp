// The pieces shared by every script object: member tables and Err.
#include "engine/script/interp.h"

namespace Orv::Script {

int NativeObject::memberId(const QString &name)
{
    return memberTable()->value(name.toLower(), NoMember);
}

QHash<QString, int> NativeObject::makeTable(const QStringList &names)
{
    QHash<QString, int> table;
    for (int i = 0; i < names.size(); ++i)
        table.insert(names[i].toLower(), i + 1);
    return table;
}

void NativeObject::needArgs(int count, int minimum, int maximum)
{
    if (count < minimum || count > maximum)
        raise(ErrWrongArguments);
}

void raiseNotSupported(const QString &member)
{
    if (member.isEmpty())
        raise(ErrNoSuchMember);
    raise(ErrNoSuchMember, QStringLiteral("Object doesn't support this property or method: '%1'").arg(member));
}

// ---- Err ----

namespace {
enum ErrMember { ENumber = 1, EDescription, ESource, EHelpFile, EHelpContext, EClear, ERaise };
}

const QHash<QString, int> *ErrObject::memberTable() const
{
    static const QHash<QString, int> table = makeTable({QStringLiteral("Number"), QStringLiteral("Description"),
                                                        QStringLiteral("Source"), QStringLiteral("HelpFile"),
                                                        QStringLiteral("HelpContext"), QStringLiteral("Clear"),
                                                        QStringLiteral("Raise")});
    return &table;
}

void ErrObject::set(const ScriptError &e, const QString &src)
{
    number = e.number;
    description = e.description;
    source = !src.isEmpty() ? src : !e.source.isEmpty() ? e.source : QStringLiteral("Microsoft VBScript runtime error");
    if (e.number >= 1000 && e.number < 1100 && src.isEmpty() && e.source.isEmpty())
        source = QStringLiteral("Microsoft VBScript compilation error");
    helpFile.clear();
    helpContext = 0;
}

void ErrObject::clear()
{
    number = 0;
    description.clear();
    source.clear();
    helpFile.clear();
    helpContext = 0;
}

Variant ErrObject::invoke(Runtime &, int id, Invoke kind, Variant *args, int count)
{
    const bool put = kind == Invoke::Put;
    if (put && count != 1)
        raise(ErrWrongArguments);
    switch (id) {
    case DefaultMember:
    case ENumber:
        if (put) {
            number = args[0].toLong();
            if (description.isEmpty())
                description = errorDescription(number);
            return Variant();
        }
        return Variant(number);
    case EDescription:
        if (put) { description = args[0].toString(); return Variant(); }
        return Variant(description);
    case ESource:
        if (put) { source = args[0].toString(); return Variant(); }
        return Variant(source);
    case EHelpFile:
        if (put) { helpFile = args[0].toString(); return Variant(); }
        return Variant(helpFile);
    case EHelpContext:
        if (put) { helpContext = args[0].toLong(); return Variant(); }
        return Variant(helpContext);
    case EClear:
        needArgs(count, 0, 0);
        clear();
        return Variant();
    case ERaise: {
        needArgs(count, 1, 5);
        ScriptError e;
        e.number = args[0].toLong();
        if (e.number == 0)
            raise(ErrInvalidCall);
        e.description = count > 2 && !isMissing(args[2]) ? args[2].toString() : errorDescription(e.number);
        e.source = count > 1 && !isMissing(args[1]) ? args[1].toString() : QString();
        throw e;
    }
    default:
        raiseNotSupported();
    }
}

} // namespace Orv::Script
