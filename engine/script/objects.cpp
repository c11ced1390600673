// Scripting.Dictionary, VBScript.RegExp with its match collections, the
// Pages object and the CreateObject whitelist.
#include "engine/script/scriptobjects.h"

#include "engine/model/report.h"
#include "engine/script/fieldresolver.h"
#include "engine/script/interp.h"

#include <QRegularExpression>

namespace Orv::Script {

namespace {

// ---- Scripting.Dictionary ----

class Dictionary : public NativeObject
{
public:
    QString typeName() const override { return QStringLiteral("Dictionary"); }

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
                raise(457);
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
                raise(32811);
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
                raise(383);
            return Variant(int(m_keys.size()));
        case CompareMode:
            if (put) {
                needArgs(n, 1, 1);
                if (!m_keys.empty())
                    raise(5);
                const int mode = a[0].toLong();
                if (mode < 0)
                    raise(5);
                m_textMode = mode == 1;
                return Variant();
            }
            return Variant(m_textMode ? 1 : 0);
        case Key: {
            if (!put)
                raise(450);
            needArgs(n, 2, 2);
            const int i = indexOf(a[0], false);
            if (i < 0)
                raise(32811);
            if (indexOf(a[1], false) >= 0)
                raise(457);
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
        case VType::Array: raise(13);
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

class SubMatches : public NativeObject
{
public:
    explicit SubMatches(std::vector<Variant> items) : m_items(std::move(items)) {}
    QString typeName() const override { return QStringLiteral("ISubMatches"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(383);
        if (id == 2)
            return Variant(int(m_items.size()));
        needArgs(n, 1, 1);
        const int i = a[0].toLong();
        if (i < 0 || i >= int(m_items.size()))
            raise(5);
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
            raise(383);
        switch (id) {
        case DefaultMember:
        case 1: return Variant(m_value);
        case 2: return Variant(m_first);
        case 3: return Variant(int(m_value.size()));
        case 4: {
            auto subs = std::make_shared<SubMatches>(m_subs);
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

class Matches : public NativeObject
{
public:
    explicit Matches(std::vector<Variant> items) : m_items(std::move(items)) {}
    QString typeName() const override { return QStringLiteral("IMatchCollection2"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(383);
        if (id == 2)
            return Variant(int(m_items.size()));
        needArgs(n, 1, 1);
        const int i = a[0].toLong();
        if (i < 0 || i >= int(m_items.size()))
            raise(5);
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
    std::vector<Variant> m_items;
};

class RegExp : public NativeObject
{
public:
    QString typeName() const override { return QStringLiteral("IRegExp2"); }

    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        const bool put = kind == Invoke::Put || kind == Invoke::PutRef;
        const auto flag = [&](bool &member) -> Variant {
            if (put) {
                needArgs(n, 1, 1);
                member = a[0].toBool();
                m_dirty = true;
                return Variant();
            }
            return Variant(member);
        };
        switch (id) {
        case DefaultMember:
        case Pattern:
            if (put) {
                needArgs(n, 1, 1);
                m_pattern = a[0].toString();
                m_dirty = true;
                return Variant();
            }
            return Variant(m_pattern);
        case Global: return flag(m_global);
        case IgnoreCase: return flag(m_ignoreCase);
        case Multiline: return flag(m_multiline);
        case Test: {
            needArgs(n, 1, 1);
            return Variant(regex().match(a[0].toString()).hasMatch());
        }
        case Execute: {
            needArgs(n, 1, 1);
            const QString s = a[0].toString();
            std::vector<Variant> items;
            auto it = regex().globalMatch(s);
            while (it.hasNext()) {
                const QRegularExpressionMatch m = it.next();
                std::vector<Variant> subs;
                for (int g = 1; g <= regex().captureCount(); ++g)
                    subs.push_back(m.capturedStart(g) < 0 ? Variant() : Variant(m.captured(g)));
                items.push_back(Variant(std::shared_ptr<Object>(
                    std::make_shared<Match>(m.captured(0), int(m.capturedStart(0)), std::move(subs)))));
                if (!m_global)
                    break;
                if (items.size() > 10'000'000)
                    raise(7);
            }
            return Variant(std::shared_ptr<Object>(std::make_shared<Matches>(std::move(items))));
        }
        case Replace: {
            needArgs(n, 2, 2);
            return Variant(replace(a[0].toString(), a[1].toString()));
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

    const QRegularExpression &regex()
    {
        if (m_dirty) {
            QRegularExpression::PatternOptions o = QRegularExpression::NoPatternOption;
            if (m_ignoreCase)
                o |= QRegularExpression::CaseInsensitiveOption;
            if (m_multiline)
                o |= QRegularExpression::MultilineOption;
            m_re = QRegularExpression(m_pattern, o);
            m_dirty = false;
        }
        if (!m_re.isValid())
            raise(5017, QStringLiteral("Syntax error in regular expression: %1").arg(m_re.errorString()));
        return m_re;
    }

    // $1..$99 captures, $& the match, $` before, $' after, $$ a dollar.
    QString expand(const QRegularExpressionMatch &m, const QString &subject, const QString &repl)
    {
        QString out;
        for (qsizetype i = 0; i < repl.size(); ++i) {
            const QChar c = repl[i];
            if (c != QLatin1Char('$') || i + 1 >= repl.size()) {
                out += c;
                continue;
            }
            const QChar nx = repl[i + 1];
            if (nx == QLatin1Char('$')) { out += QLatin1Char('$'); ++i; continue; }
            if (nx == QLatin1Char('&')) { out += m.captured(0); ++i; continue; }
            if (nx == QLatin1Char('`')) { out += subject.left(m.capturedStart(0)); ++i; continue; }
            if (nx == QLatin1Char('\'')) { out += subject.mid(m.capturedEnd(0)); ++i; continue; }
            if (nx.isDigit()) {
                int group = nx.digitValue();
                qsizetype used = 1;
                if (i + 2 < repl.size() && repl[i + 2].isDigit()) {
                    const int two = group * 10 + repl[i + 2].digitValue();
                    if (two <= m.regularExpression().captureCount()) {
                        group = two;
                        used = 2;
                    }
                }
                if (group >= 1 && group <= m.regularExpression().captureCount()) {
                    out += m.captured(group);
                    i += used;
                    continue;
                }
            }
            out += c;
        }
        return out;
    }

    QString replace(const QString &subject, const QString &repl)
    {
        const QRegularExpression &re = regex();
        QString out;
        qsizetype last = 0;
        auto it = re.globalMatch(subject);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            out += QStringView(subject).mid(last, m.capturedStart(0) - last);
            out += expand(m, subject, repl);
            last = m.capturedEnd(0);
            if (!m_global)
                break;
            if (out.size() > 256 * 1024 * 1024)
                raise(14);
        }
        out += QStringView(subject).mid(last);
        return out;
    }

    QString m_pattern;
    bool m_global = false;
    bool m_ignoreCase = false;
    bool m_multiline = false;
    bool m_dirty = true;
    QRegularExpression m_re;
};

class Pages : public NativeObject
{
public:
    explicit Pages(std::shared_ptr<BridgeContext> ctx) : m_ctx(std::move(ctx)) {}
    QString typeName() const override { return QStringLiteral("Pages"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *, int) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(383);
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

Variant createObject(Runtime &, const QString &progId, const std::shared_ptr<BridgeContext> &context)
{
    const QString id = progId.trimmed().toLower();
    if (id == QLatin1String("scripting.dictionary"))
        return Variant(makeDictionary());
    if (id == QLatin1String("vbscript.regexp"))
        return Variant(makeRegExp());
    if (id == QLatin1String("adodb.connection"))
        return Variant(makeAdoConnection(context));
    if (id == QLatin1String("adodb.recordset"))
        return Variant(makeAdoRecordset(context));
    if (id == QLatin1String("orvengine.report"))
        return bridge(new Report, context, true);
    // Files, processes, shells and anything unknown stay out of reach.
    raise(429, QStringLiteral("ActiveX component can't create object: '%1'").arg(progId));
}

} // namespace Orv::Script
