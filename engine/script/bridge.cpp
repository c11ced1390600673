#include "engine/script/bridge.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/controls.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/fieldresolver.h"
#include "engine/script/interp.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMetaProperty>

#include <unordered_map>

namespace Orv::Script {

namespace {

// Members the bridge adds to model classes that declare no invokables.
enum Special {
    SNone = 0,
    SCount, SItem, SAdd, SRemove, // Sections and Controls
    SLoadLayout, SFields, SPageNumber, SPageCount, // Report
    SDataValue, // field controls during a run
    SConnection, // a data control's connection (its connection string until the run sets one)
};

struct MemberDesc
{
    enum Kind { Property, Method, SpecialMember, Dynamic, Child } kind = Property;
    int property = -1;
    QList<int> methods; // overloads by argument count
    Special special = SNone;
    QString name;
    QObject *child = nullptr; // sections and controls of a report, by name
};

struct ClassTable
{
    QHash<QString, int> ids;
    std::vector<MemberDesc> members; // id - 1
    QString defaultMember;
};

// Per meta-object tables, built on first use.
ClassTable &tableFor(const QMetaObject *mo)
{
    static std::unordered_map<const QMetaObject *, std::unique_ptr<ClassTable>> tables;
    std::unique_ptr<ClassTable> &t = tables[mo];
    if (t)
        return *t;
    t = std::make_unique<ClassTable>();
    const auto add = [&](const QString &name, MemberDesc desc) {
        const QString l = name.toLower();
        if (t->ids.contains(l)) {
            MemberDesc &existing = t->members[size_t(t->ids.value(l) - 1)];
            if (existing.kind == MemberDesc::Method && desc.kind == MemberDesc::Method)
                existing.methods += desc.methods;
            return;
        }
        desc.name = name;
        t->members.push_back(desc);
        t->ids.insert(l, int(t->members.size()));
    };
    for (int i = mo->propertyCount() - 1; i >= 0; --i) {
        // Most derived first, so a redeclared property wins.
        const QMetaProperty p = mo->property(i);
        if (QLatin1String(p.name()) == QLatin1String("objectName"))
            continue;
        MemberDesc d;
        d.kind = MemberDesc::Property;
        d.property = i;
        add(QString::fromLatin1(p.name()), d);
    }
    for (int i = mo->methodOffset() > 0 ? QObject::staticMetaObject.methodCount() : 0; i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.access() != QMetaMethod::Public)
            continue;
        if (m.methodType() != QMetaMethod::Method && m.methodType() != QMetaMethod::Slot)
            continue;
        MemberDesc d;
        d.kind = MemberDesc::Method;
        d.methods = {i};
        add(QString::fromLatin1(m.name()), d);
    }
    const auto special = [&](const char *name, Special s) {
        MemberDesc d;
        d.kind = MemberDesc::SpecialMember;
        d.special = s;
        add(QString::fromLatin1(name), d);
    };
    if (mo->inherits(&Sections::staticMetaObject) || mo->inherits(&Controls::staticMetaObject)) {
        special("Count", SCount);
        special("Item", SItem);
        special("Add", SAdd);
        special("Remove", SRemove);
        t->defaultMember = QStringLiteral("Item");
    }
    if (mo->inherits(&Report::staticMetaObject)) {
        special("LoadLayout", SLoadLayout);
        special("Fields", SFields);
        special("PageNumber", SPageNumber);
        special("PageCount", SPageCount);
    }
    if (mo->inherits(&Control::staticMetaObject))
        special("DataValue", SDataValue);
    if (mo->inherits(&DataControl::staticMetaObject))
        special("Connection", SConnection);
    const int ci = mo->indexOfClassInfo("DefaultMember");
    if (ci >= 0)
        t->defaultMember = QString::fromLatin1(mo->classInfo(ci).value());
    return *t;
}

// A report's current row fields (rpt.Fields("Name").Value).
class RowField : public NativeObject
{
public:
    RowField(FieldResolver *row, int slot, QString name) : m_row(row), m_slot(slot), m_name(std::move(name)) {}
    QString typeName() const override { return QStringLiteral("Field"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *, int count) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrPropertyReadOnly);
        if (count)
            raise(ErrWrongArguments);
        if (id == 2)
            return Variant(m_name);
        return Variant::fromQVariant(m_row->value(m_slot));
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Value"), QStringLiteral("Name")});
        return &t;
    }

private:
    FieldResolver *m_row;
    int m_slot;
    QString m_name;
};

class RowFields : public NativeObject
{
public:
    explicit RowFields(FieldResolver *row) : m_row(row) {}
    QString typeName() const override { return QStringLiteral("Fields"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *args, int count) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrPropertyReadOnly);
        if (id == DefaultMember || id == 1) {
            if (count != 1)
                raise(ErrWrongArguments);
            const QString name = valueOf(args[0]).toString();
            const int slot = m_row ? m_row->slotOf(name) : -1;
            if (slot < 0)
                raise(ErrSubscript, QStringLiteral("Subscript out of range: field '%1'").arg(name));
            return Variant(std::shared_ptr<Object>(std::make_shared<RowField>(m_row, slot, name)));
        }
        raiseNotSupported();
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Item")});
        return &t;
    }

private:
    FieldResolver *m_row;
};

class QtObject : public Object
{
public:
    QtObject(QObject *o, std::shared_ptr<BridgeContext> ctx, bool owned)
        : m_object(o)
        , m_ctx(std::move(ctx))
        , m_owned(owned)
        , m_table(&tableFor(o->metaObject()))
        , m_isReport(qobject_cast<Report *>(o) != nullptr)
    {
    }
    ~QtObject() override
    {
        if (m_owned && m_object && !m_object->parent())
            delete m_object.data();
    }

    QString typeName() const override
    {
        if (!m_object)
            return QStringLiteral("Nothing");
        QString n = QString::fromLatin1(m_object->metaObject()->className());
        const qsizetype colon = n.lastIndexOf(QLatin1Char(':'));
        return colon >= 0 ? n.mid(colon + 1) : n;
    }
    // A report's members include its sections and controls by name, so
    // each report numbers its own.
    const void *classKey() const override { return m_isReport ? static_cast<const void *>(this) : m_table; }
    QObject *qobject() const override { return m_object; }
    void release() { m_owned = false; }

    int memberId(const QString &name) override
    {
        const QString l = name.toLower();
        const int id = m_table->ids.value(l, NoMember);
        // A value name another report took (a Dynamic member of the class)
        // does not hide this report's section or control of that name.
        if (id != NoMember && !(m_isReport && m_table->members[size_t(id - 1)].kind == MemberDesc::Dynamic))
            return id;
        const int own = m_extra.value(l, NoMember);
        if (own != NoMember)
            return own;
        QObject *o = live();
        // Sections and controls of a report by name.
        if (auto *report = qobject_cast<Report *>(o)) {
            QObject *child = report->sections()->Item(name);
            if (!child)
                for (Control *c : report->allControls())
                    if (c->name().compare(name, Qt::CaseInsensitive) == 0) {
                        child = c;
                        break;
                    }
            if (child)
                return addExtra(l, MemberDesc{MemberDesc::Child, -1, {}, SNone, name, child});
        }
        if (id != NoMember)
            return id;
        // Model objects take further values as dynamic properties
        // (a subreport's Object, a chart's ChartData).
        // The name joins the class's table so call sites may keep it.
        if (qobject_cast<ModelObject *>(o)) {
            MemberDesc d;
            d.kind = MemberDesc::Dynamic;
            d.name = name;
            m_table->members.push_back(d);
            m_table->ids.insert(l, int(m_table->members.size()));
            return int(m_table->members.size());
        }
        return NoMember;
    }

    Variant invoke(Runtime &rt, int id, Invoke kind, Variant *args, int count) override
    {
        QObject *o = live();
        if (id == DefaultMember) {
            if (m_table->defaultMember.isEmpty())
                raise(ErrNoSuchMember, QStringLiteral("Object doesn't support this property or method: default member of '%1'").arg(typeName()));
            id = memberId(m_table->defaultMember);
            if (id == NoMember)
                raise(ErrNoSuchMember);
        }
        const MemberDesc &m = id > 0 && size_t(id) <= m_table->members.size() ? m_table->members[size_t(id - 1)]
                                                                               : m_extraMembers.at(size_t(id - ExtraBase));
        const bool put = kind == Invoke::Put || kind == Invoke::PutRef;
        switch (m.kind) {
        case MemberDesc::Property: {
            const QMetaProperty p = o->metaObject()->property(m.property);
            if (put) {
                if (count != 1)
                    raise(ErrWrongArguments);
                const QVariant value = toQt(args[0], p.metaType());
                const Status s = Reflection::setValue(Reflection::Property{o, p}, value);
                if (!s.ok())
                    raise(s.number(), s.description());
                return Variant();
            }
            Variant v = fromQt(p.read(o), m_ctx);
            if (count > 0)
                return indexInto(rt, v, args, count);
            return v;
        }
        case MemberDesc::Method:
            if (put)
                raise(ErrWrongArguments);
            return callMethod(o, m, args, count);
        case MemberDesc::SpecialMember:
            return special(rt, o, m.special, put, args, count);
        case MemberDesc::Child:
            if (put)
                raise(ErrWrongArguments);
            if (count > 0) {
                Variant v = bridge(m.child, m_ctx);
                return indexInto(rt, v, args, count);
            }
            return bridge(m.child, m_ctx);
        case MemberDesc::Dynamic: {
            const QByteArray key = m.name.toLatin1();
            if (put) {
                if (count != 1)
                    raise(ErrWrongArguments);
                if (args[0].isObject()) {
                    QObject *value = args[0].object() ? args[0].object()->qobject() : nullptr;
                    if (args[0].object() && !value)
                        raise(ErrTypeMismatch);
                    if (value && value->parent() == nullptr) {
                        // The holder keeps it from now on.
                        if (auto *q = dynamic_cast<QtObject *>(args[0].object().get()))
                            q->release();
                        value->setParent(o);
                    }
                    o->setProperty(key.constData(), QVariant::fromValue(value));
                } else {
                    o->setProperty(key.constData(), args[0].toQVariant());
                }
                return Variant();
            }
            const QVariant v = o->property(key.constData());
            if (!v.isValid())
                raise(ErrNoSuchMember, QStringLiteral("Object doesn't support this property or method: '%1'").arg(m.name));
            Variant r = fromQt(v, m_ctx);
            return count > 0 ? indexInto(rt, r, args, count) : r;
        }
        }
        raise(ErrNoSuchMember);
    }

    bool enumerate(Runtime &, std::vector<Variant> *items) override
    {
        QObject *o = live();
        if (auto *s = qobject_cast<Sections *>(o)) {
            for (Section *x : *s)
                items->push_back(bridge(x, m_ctx));
            return true;
        }
        if (auto *c = qobject_cast<Controls *>(o)) {
            for (Control *x : *c)
                items->push_back(bridge(x, m_ctx));
            return true;
        }
        // Any object with Count and Item(index).
        const int countId = memberId(QStringLiteral("Count"));
        const int itemId = memberId(QStringLiteral("Item"));
        if (countId == NoMember || itemId == NoMember)
            return false;
        Runtime *rt = Runtime::current();
        const int n = valueOf(invoke(*rt, countId, Invoke::Get, nullptr, 0)).toLong();
        for (int i = 0; i < n; ++i) {
            Variant index(i);
            items->push_back(invoke(*rt, itemId, Invoke::Get, &index, 1));
        }
        return true;
    }

private:
    static constexpr int ExtraBase = 1 << 20;

    QObject *live() const
    {
        if (!m_object)
            raise(ErrObjectRequired, QStringLiteral("Object required: the object has been deleted"));
        return m_object;
    }

    int addExtra(const QString &lower, MemberDesc desc)
    {
        m_extraMembers.push_back(std::move(desc));
        const int id = ExtraBase + int(m_extraMembers.size()) - 1;
        m_extra.insert(lower, id);
        return id;
    }

    static Variant indexInto(Runtime &rt, Variant &v, Variant *args, int count)
    {
        if (Array *a = v.array())
            return a->at(args, count);
        if (v.isObject() && v.object())
            return v.object()->invoke(rt, DefaultMember, Invoke::Get, args, count);
        raise(ErrWrongArguments);
    }

    Variant callMethod(QObject *o, const MemberDesc &m, Variant *args, int count)
    {
        const QMetaObject *mo = o->metaObject();
        for (int index : m.methods) {
            const QMetaMethod method = mo->method(index);
            if (method.parameterCount() != count)
                continue;
            if (count > 9)
                raise(ErrWrongArguments);
            std::vector<QVariant> values(static_cast<size_t>(count));
            QGenericArgument gargs[10];
            for (int i = 0; i < count; ++i) {
                values[size_t(i)] = toQt(isMissing(args[i]) ? Variant() : args[i], method.parameterMetaType(i));
                gargs[i] = QGenericArgument(method.parameterMetaType(i).name(), values[size_t(i)].data());
            }
            QVariant ret;
            QGenericReturnArgument gret;
            const QMetaType rtype = method.returnMetaType();
            if (rtype.isValid() && rtype.id() != QMetaType::Void) {
                ret = QVariant(rtype);
                gret = QGenericReturnArgument(rtype.name(), ret.data());
            }
            if (!method.invoke(o, Qt::DirectConnection, gret, gargs[0], gargs[1], gargs[2], gargs[3], gargs[4],
                               gargs[5], gargs[6], gargs[7], gargs[8], gargs[9]))
                raise(ErrAutomation, QStringLiteral("Automation error: %1 could not be called").arg(m.name));
            if (!ret.isValid())
                return Variant();
            if (ret.metaType() == QMetaType::fromType<Orv::Status>()) {
                const Status s = ret.value<Orv::Status>();
                if (!s.ok())
                    raise(s.number(), s.description());
                return Variant();
            }
            return fromQt(ret, m_ctx);
        }
        raise(ErrWrongArguments, QStringLiteral("Wrong number of arguments or invalid property assignment: '%1'").arg(m.name));
    }

    Variant special(Runtime &, QObject *o, Special s, bool put, Variant *args, int count)
    {
        if (put && s != SDataValue && s != SConnection)
            raise(ErrPropertyReadOnly);
        switch (s) {
        case SCount:
            if (auto *x = qobject_cast<Sections *>(o))
                return Variant(x->Count());
            return Variant(qobject_cast<Controls *>(o)->Count());
        case SItem: {
            if (count != 1)
                raise(ErrWrongArguments);
            const Variant key = valueOf(args[0]);
            QObject *item = nullptr;
            if (auto *x = qobject_cast<Sections *>(o))
                item = key.isString() ? static_cast<QObject *>(x->Item(key.rawString())) : x->Item(key.toLong());
            else if (auto *c = qobject_cast<Controls *>(o))
                item = key.isString() ? static_cast<QObject *>(c->Item(key.rawString())) : c->Item(key.toLong());
            if (!item)
                raise(ErrSubscript);
            return bridge(item, m_ctx);
        }
        case SAdd: {
            Status status;
            QObject *added = nullptr;
            if (auto *x = qobject_cast<Sections *>(o)) {
                if (count != 4)
                    raise(ErrWrongArguments);
                // Add refuses a type number outside 0 to 6.
                added = x->Add(args[0].toString(), args[1].toLong(), Section::Type(args[2].toLong()), args[3].toDouble(), &status);
            } else if (auto *c = qobject_cast<Controls *>(o)) {
                if (count != 1)
                    raise(ErrWrongArguments);
                added = c->Add(args[0].toString(), &status);
            }
            if (!added)
                raise(status.ok() ? 5 : status.number(), status.ok() ? QString() : status.description());
            return bridge(added, m_ctx);
        }
        case SRemove: {
            if (count != 1)
                raise(ErrWrongArguments);
            Status st;
            if (auto *x = qobject_cast<Sections *>(o))
                st = x->Remove(args[0].toLong());
            else if (auto *c = qobject_cast<Controls *>(o))
                st = c->Remove(args[0].toLong());
            if (!st.ok())
                raise(st.number(), st.description());
            return Variant();
        }
        case SLoadLayout: {
            if (count != 1)
                raise(ErrWrongArguments);
            QString path = args[0].toString();
            path.replace(QLatin1Char('\\'), QLatin1Char('/'));
            if (QFileInfo(path).isRelative() && !m_ctx->reportFolder.isEmpty())
                path = QDir(m_ctx->reportFolder).filePath(path);
            const Status st = LoadLayout(*qobject_cast<Report *>(o), path);
            if (!st.ok())
                raise(st.number(), st.description());
            return Variant();
        }
        case SFields:
            if (o != m_ctx->report || !m_ctx->row)
                raise(ErrInvalidCall, QStringLiteral("Invalid procedure call or argument: the report has no current row"));
            if (count > 0) {
                RowFields fields(m_ctx->row);
                return fields.invoke(*Runtime::current(), DefaultMember, Invoke::Get, args, count);
            }
            return Variant(std::shared_ptr<Object>(std::make_shared<RowFields>(m_ctx->row)));
        case SPageNumber:
        case SPageCount: {
            const int slot = m_ctx->row && o == m_ctx->report
                                 ? m_ctx->row->slotOf(s == SPageNumber ? QStringLiteral("PageNumber") : QStringLiteral("PageCount"))
                                 : -1;
            return slot >= 0 ? Variant::fromQVariant(m_ctx->row->value(slot)) : Variant(0);
        }
        case SDataValue: {
            auto *c = qobject_cast<Control *>(o);
            const QByteArray key("DataValue");
            if (put) {
                if (count != 1)
                    raise(ErrWrongArguments);
                o->setProperty(key.constData(), args[0].toQVariant());
                return Variant();
            }
            const QVariant own = o->property(key.constData());
            if (own.isValid())
                return fromQt(own, m_ctx);
            const int slot = m_ctx->row ? m_ctx->row->slotOf(c->name()) : -1;
            if (slot >= 0)
                return Variant::fromQVariant(m_ctx->row->value(slot));
            return Variant();
        }
        case SConnection: {
            const QByteArray key("Connection");
            if (put) {
                if (count != 1)
                    raise(ErrWrongArguments);
                QObject *value = args[0].isObject() && args[0].object() ? args[0].object()->qobject() : nullptr;
                o->setProperty(key.constData(), value ? QVariant::fromValue(value) : args[0].toQVariant());
                return Variant();
            }
            const QVariant own = o->property(key.constData());
            if (own.isValid())
                return fromQt(own, m_ctx);
            return Variant(qobject_cast<DataControl *>(o)->connectionString());
        }
        case SNone:
            break;
        }
        raise(ErrNoSuchMember);
    }

    QPointer<QObject> m_object;
    std::shared_ptr<BridgeContext> m_ctx;
    bool m_owned;
    ClassTable *m_table;
    bool m_isReport;
    QHash<QString, int> m_extra;
    std::vector<MemberDesc> m_extraMembers;
};

} // namespace

Variant bridge(QObject *object, const std::shared_ptr<BridgeContext> &context, bool owned)
{
    if (!object)
        return Variant::nothing();
    return Variant(std::shared_ptr<Object>(std::make_shared<QtObject>(object, context, owned)));
}

QVariant toQt(const Variant &v0, QMetaType type)
{
    if (type.flags().testFlag(QMetaType::PointerToQObject)) {
        if (!v0.isObject())
            raise(ErrObjectRequired);
        QObject *o = v0.object() ? v0.object()->qobject() : nullptr;
        if (v0.object() && !o)
            raise(ErrTypeMismatch);
        if (o && type.metaObject() && !o->metaObject()->inherits(type.metaObject()))
            raise(ErrTypeMismatch);
        return QVariant(type, &o);
    }
    if (type.id() == QMetaType::QVariant || !type.isValid())
        return v0.toQVariant();
    const Variant v = valueOf(v0);
    switch (type.id()) {
    case QMetaType::Bool: return QVariant(v.toBool());
    case QMetaType::Int: return QVariant(int(v.toLong()));
    case QMetaType::LongLong: return QVariant(qlonglong(std::llround(v.toDouble())));
    case QMetaType::Double: return QVariant(v.toDouble());
    case QMetaType::QString: return QVariant(v.isNull() ? QString() : v.toString());
    default: {
        QVariant q = v.toQVariant();
        if (!q.convert(type))
            raise(ErrTypeMismatch);
        return q;
    }
    }
}

Variant fromQt(const QVariant &v, const std::shared_ptr<BridgeContext> &context)
{
    if (v.metaType().flags().testFlag(QMetaType::PointerToQObject))
        return bridge(v.value<QObject *>(), context);
    return Variant::fromQVariant(v);
}

} // namespace Orv::Script
