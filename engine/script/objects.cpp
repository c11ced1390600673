// Scripting.Dictionary, VBScript.RegExp with its match collections, the
// Pages object and the CreateObject whitelist.
#include "engine/script/scriptobjects.h"

#include "engine/model/report.h"
#include "engine/script/fieldresolver.h"
#include "engine/script/interp.h"
#include "engine/vbregexp/vbregexp.h"

namespace Orv::Script {

namespace {

// ---- Scripting.Dictionary ----

class Dictionary : public NativeObject
{
public:
    QString typeName() const override { return QStringLiteral("Dictionary"); }
    void releaseContents() override
    {
        // Moved out first: destroying a value may come back to this object.
        auto keys = std::move(m_keys);
        auto values = std::move(m_values);
        m_keys.clear();
        m_values.clear();
        m_index.clear();
    }

    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        const bool put = kind == Invoke::Put || kind == Invoke::PutRef;
        switch (id) {
        case DefaultMember:
        case Item: {
            if (put) {
                needArgs(n, 2, 2);
                const int i = indexOf(a[0], true);
                m_values[size_t(i)] = a[1];
                return Variant();
            }
            needArgs(n, 1, 1);
            // Reading a missing key adds it, as the original object does.
            return m_values[size_t(indexOf(a[0], true))];
        }
        case Add: {
            needArgs(n, 2, 2);
            if (indexOf(a[0], false) >= 0)
                raise(ErrKeyExists);
            indexOf(a[0], true);
            m_values.back() = a[1];
            return Variant();
        }
        case Exists:
            needArgs(n, 1, 1);
            return Variant(indexOf(a[0], false) >= 0);
        case Keys:
            return Variant(Array::fromList(m_keys));
        case Items:
            return Variant(Array::fromList(m_values));
        case Remove: {
            needArgs(n, 1, 1);
            const int i = indexOf(a[0], false);
            if (i < 0)
                raise(ErrElementNotFound);
            m_keys.erase(m_keys.begin() + i);
            m_values.erase(m_values.begin() + i);
            reindex();
            return Variant();
        }
        case RemoveAll:
            m_keys.clear();
            m_values.clear();
            m_index.clear();
            return Variant();
        case Count:
            if (put)
                raise(ErrPropertyReadOnly);
            return Variant(int(m_keys.size()));
        case CompareMode:
            if (put) {
                needArgs(n, 1, 1);
                if (!m_keys.empty())
                    raise(ErrInvalidCall);
                const int mode = a[0].toLong();
                if (mode < 0)
                    raise(ErrInvalidCall);
                m_textMode = mode == 1;
                return Variant();
            }
            return Variant(m_textMode ? 1 : 0);
        case Key: {
            if (!put)
                raise(ErrWrongArguments);
            needArgs(n, 2, 2);
            const int i = indexOf(a[0], false);
            if (i < 0)
                raise(ErrElementNotFound);
            if (indexOf(a[1], false) >= 0)
                raise(ErrKeyExists);
            m_keys[size_t(i)] = valueOf(a[1]);
            reindex();
            return Variant();
        }
        default:
            raiseNotSupported();
        }
    }

    bool enumerate(Runtime &, std::vector<Variant> *items) override
    {
        *items = m_keys;
        return true;
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable(
            {QStringLiteral("Item"), QStringLiteral("Add"), QStringLiteral("Exists"), QStringLiteral("Keys"),
             QStringLiteral("Items"), QStringLiteral("Remove"), QStringLiteral("RemoveAll"), QStringLiteral("Count"),
             QStringLiteral("CompareMode"), QStringLiteral("Key")});
        return &t;
    }

private:
    enum { Item = 1, Add, Exists, Keys, Items, Remove, RemoveAll, Count, CompareMode, Key };

    QString keyText(const Variant &k0) const
    {
        const Variant k = k0.isObject() ? k0 : valueOf(k0);
        switch (k.type()) {
        case VType::String: return QLatin1Char('s') + (m_textMode ? k.rawString().toLower() : k.rawString());
        case VType::Object: return QStringLiteral("o%1").arg(quintptr(k.object().get()));
        case VType::Empty: return QStringLiteral("e");
        case VType::Null: return QStringLiteral("z");
        case VType::Array: raise(ErrTypeMismatch);
        default: return QLatin1Char('n') + numberText(k.toDouble());
        }
    }
    int indexOf(const Variant &key, bool add)
    {
        const QString t = keyText(key);
        const auto it = m_index.find(t);
        if (it != m_index.end())
            return it.value();
        if (!add)
            return -1;
        m_keys.push_back(key.isObject() ? key : valueOf(key));
        m_values.emplace_back();
        m_index.insert(t, int(m_keys.size()) - 1);
        return int(m_keys.size()) - 1;
    }
    void reindex()
    {
        m_index.clear();
        for (size_t i = 0; i < m_keys.size(); ++i)
            m_index.insert(keyText(m_keys[i]), int(i));
    }

    std::vector<Variant> m_keys, m_values;
    QHash<QString, int> m_index;
    bool m_textMode = false;
};

// ---- VBScript.RegExp ----

// A read-only collection with Item and Count, as the regular expression
// objects hand out (the SubMatches of a match, the Matches of Execute).
class ItemCollection : public NativeObject
{
public:
    ItemCollection(QString typeName, std::vector<Variant> items) : m_typeName(std::move(typeName)), m_items(std::move(items)) {}
    QString typeName() const override { return m_typeName; }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrPropertyReadOnly);
        if (id == 2)
            return Variant(int(m_items.size()));
        needArgs(n, 1, 1);
        const int i = a[0].toLong();
        if (i < 0 || i >= int(m_items.size()))
            raise(ErrInvalidCall);
        return m_items[size_t(i)];
    }
    bool enumerate(Runtime &, std::vector<Variant> *items) override
    {
        *items = m_items;
        return true;
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Item"), QStringLiteral("Count")});
        return &t;
    }

private:
    QString m_typeName;
    std::vector<Variant> m_items;
};

class Match : public NativeObject
{
public:
    Match(QString value, int first, std::vector<Variant> subs)
        : m_value(std::move(value)), m_first(first), m_subs(std::move(subs)) {}
    QString typeName() const override { return QStringLiteral("IMatch2"); }
    Variant invoke(Runtime &rt, int id, Invoke kind, Variant *a, int n) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrPropertyReadOnly);
        switch (id) {
        case DefaultMember:
        case 1: return Variant(m_value);
        case 2: return Variant(m_first);
        case 3: return Variant(int(m_value.size()));
        case 4: {
            auto subs = std::make_shared<ItemCollection>(QStringLiteral("ISubMatches"), m_subs);
            if (n > 0) // SubMatches(i)
                return subs->invoke(rt, DefaultMember, Invoke::Get, a, n);
            return Variant(std::shared_ptr<Object>(subs));
        }
        default: raiseNotSupported();
        }
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Value"), QStringLiteral("FirstIndex"),
                                                        QStringLiteral("Length"), QStringLiteral("SubMatches")});
        return &t;
    }

private:
    QString m_value;
    int m_first;
    std::vector<Variant> m_subs;
};

class RegExp : public NativeObject
{
public:
    QString typeName() const override { return QStringLiteral("IRegExp2"); }

    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        const bool put = kind == Invoke::Put || kind == Invoke::PutRef;
        const auto flag = [&](bool value, void (VbRegExp::*setter)(bool)) -> Variant {
            if (put) {
                needArgs(n, 1, 1);
                (m_re.*setter)(a[0].toBool());
                return Variant();
            }
            return Variant(value);
        };
        switch (id) {
        case DefaultMember:
        case Pattern:
            if (put) {
                needArgs(n, 1, 1);
                m_re.setPattern(a[0].toString());
                return Variant();
            }
            return Variant(m_re.pattern());
        case Global: return flag(m_re.global(), &VbRegExp::setGlobal);
        case IgnoreCase: return flag(m_re.ignoreCase(), &VbRegExp::setIgnoreCase);
        case Multiline: return flag(m_re.multiline(), &VbRegExp::setMultiline);
        case Test: {
            needArgs(n, 1, 1);
            Status s;
            const bool hit = m_re.test(a[0].toString(), &s);
            check(s);
            return Variant(hit);
        }
        case Execute: {
            needArgs(n, 1, 1);
            Status s;
            std::vector<VbRegExp::Match> matches = m_re.execute(a[0].toString(), &s);
            check(s);
            std::vector<Variant> items;
            items.reserve(matches.size());
            for (VbRegExp::Match &m : matches) {
                std::vector<Variant> subs;
                for (const std::optional<QString> &sub : m.subMatches)
                    subs.push_back(sub ? Variant(*sub) : Variant());
                items.push_back(Variant(std::shared_ptr<Object>(
                    std::make_shared<Match>(std::move(m.value), m.firstIndex, std::move(subs)))));
            }
            return Variant(std::shared_ptr<Object>(std::make_shared<ItemCollection>(QStringLiteral("IMatchCollection2"), std::move(items))));
        }
        case Replace: {
            needArgs(n, 2, 2);
            Status s;
            QString out = m_re.replace(a[0].toString(), a[1].toString(), &s);
            check(s);
            return Variant(std::move(out));
        }
        default:
            raiseNotSupported();
        }
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable(
            {QStringLiteral("Pattern"), QStringLiteral("Global"), QStringLiteral("IgnoreCase"),
             QStringLiteral("Multiline"), QStringLiteral("Test"), QStringLiteral("Execute"), QStringLiteral("Replace")});
        return &t;
    }

private:
    enum { Pattern = 1, Global, IgnoreCase, Multiline, Test, Execute, Replace };

    static void check(const Status &s)
    {
        if (!s.ok())
            raise(s.number(), s.description());
    }

    VbRegExp m_re;
};

class Pages : public NativeObject
{
public:
    explicit Pages(std::shared_ptr<BridgeContext> ctx) : m_ctx(std::move(ctx)) {}
    QString typeName() const override { return QStringLiteral("Pages"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *, int) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrPropertyReadOnly);
        if (id != 1 && id != DefaultMember)
            raiseNotSupported();
        const int slot = m_ctx->row ? m_ctx->row->slotOf(QStringLiteral("PageCount")) : -1;
        return slot >= 0 ? Variant::fromQVariant(m_ctx->row->value(slot)) : Variant(0);
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Count")});
        return &t;
    }

private:
    std::shared_ptr<BridgeContext> m_ctx;
};

} // namespace

std::shared_ptr<Object> makeDictionary() { return std::make_shared<Dictionary>(); }
std::shared_ptr<Object> makeRegExp() { return std::make_shared<RegExp>(); }
std::shared_ptr<Object> pagesObject(const std::shared_ptr<BridgeContext> &context)
{
    return std::make_shared<Pages>(context);
}

QStringList creatableObjects()
{
    return {QStringLiteral("Scripting.Dictionary"), QStringLiteral("VBScript.RegExp"),
            QStringLiteral("ADODB.Connection"), QStringLiteral("ADODB.Recordset"), QStringLiteral("OrvEngine.Report")};
}

Variant createObject(Runtime &rt, const QString &progId, const std::shared_ptr<BridgeContext> &context)
{
    const QString id = progId.trimmed().toLower();
    if (id == QLatin1String("scripting.dictionary")) {
        auto d = makeDictionary();
        rt.adopt(d);
        return Variant(std::move(d));
    }
    if (id == QLatin1String("vbscript.regexp"))
        return Variant(makeRegExp());
    if (id == QLatin1String("adodb.connection"))
        return Variant(makeAdoConnection(context));
    if (id == QLatin1String("adodb.recordset"))
        return Variant(makeAdoRecordset(context));
    if (id == QLatin1String("orvengine.report"))
        return bridge(new Report, context, true);
    // Files, processes, shells and anything unknown stay out of reach.
    raise(ErrCannotCreateObject, QStringLiteral("ActiveX component can't create object: '%1'").arg(progId));
}

} // namespace Orv::Script
