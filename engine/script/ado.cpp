// ADODB.Connection and ADODB.Recordset over engine/data's connection and
// forward-only recordset.
#include "engine/script/scriptobjects.h"

#include "engine/data/connection.h"
#include "engine/data/recordset.h"
#include "engine/script/interp.h"

namespace Orv::Script {

namespace {

[[noreturn]] void raiseStatus(const Status &s)
{
    raise(s.number() ? s.number() : 5, s.description());
}

class AdoConnection : public NativeObject
{
public:
    QString typeName() const override { return QStringLiteral("Connection"); }
    QObject *qobject() const override { return m_connection.get(); }
    std::shared_ptr<Data::Connection> connection() const { return m_connection; }

    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override;

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable(
            {QStringLiteral("ConnectionString"), QStringLiteral("Open"), QStringLiteral("Close"),
             QStringLiteral("State"), QStringLiteral("Execute"), QStringLiteral("Provider")});
        return &t;
    }

public:
    std::shared_ptr<BridgeContext> ctx;

private:
    enum { ConnectionString = 1, Open, Close, State, Execute, Provider };
    std::shared_ptr<Data::Connection> m_connection = std::make_shared<Data::Connection>();
};

class AdoField : public NativeObject
{
public:
    AdoField(std::shared_ptr<Object> owner, Data::Recordset *rs, int index)
        : m_owner(std::move(owner)), m_rs(rs), m_index(index) {}
    QString typeName() const override { return QStringLiteral("Field"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *, int) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrNotCapable, QStringLiteral("Current Recordset does not support updating."));
        const Data::Field *f = m_rs->fields()->at(m_index);
        switch (id) {
        case DefaultMember:
        case 1:
            if (m_rs->atEnd())
                raise(ErrNoCurrentRecord);
            return Variant::fromQVariant(f->value());
        case 2: return Variant(f->name());
        case 3: return Variant(f->type());
        case 4: return Variant(f->definedSize());
        default: raiseNotSupported();
        }
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Value"), QStringLiteral("Name"),
                                                        QStringLiteral("Type"), QStringLiteral("DefinedSize")});
        return &t;
    }

private:
    std::shared_ptr<Object> m_owner; // keeps the recordset alive
    Data::Recordset *m_rs;
    int m_index;
};

class AdoRecordset;

class AdoFields : public NativeObject
{
public:
    AdoFields(std::shared_ptr<Object> owner, Data::Recordset *rs) : m_owner(std::move(owner)), m_rs(rs) {}
    QString typeName() const override { return QStringLiteral("Fields"); }
    Variant item(const Variant &key0)
    {
        const Variant key = valueOf(key0);
        int index = key.isString() ? m_rs->fields()->indexOf(key.rawString()) : key.toLong();
        if (index < 0 || index >= m_rs->fields()->count())
            raise(ErrItemNotFound);
        return Variant(std::shared_ptr<Object>(std::make_shared<AdoField>(m_owner, m_rs, index)));
    }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrPropertyReadOnly);
        if (id == 2)
            return Variant(m_rs->fields()->count());
        needArgs(n, 1, 1);
        return item(a[0]);
    }
    bool enumerate(Runtime &, std::vector<Variant> *items) override
    {
        for (int i = 0; i < m_rs->fields()->count(); ++i)
            items->push_back(item(Variant(i)));
        return true;
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Item"), QStringLiteral("Count")});
        return &t;
    }

private:
    std::shared_ptr<Object> m_owner;
    Data::Recordset *m_rs;
};

class AdoRecordset : public NativeObject
{
public:
    explicit AdoRecordset(std::shared_ptr<BridgeContext> ctx) : m_ctx(std::move(ctx)) {}
    QString typeName() const override { return QStringLiteral("Recordset"); }
    QObject *qobject() const override { return m_rs.get(); }

    Variant invoke(Runtime &rt, int id, Invoke kind, Variant *a, int n) override
    {
        const bool put = kind == Invoke::Put || kind == Invoke::PutRef;
        switch (id) {
        case DefaultMember:
            // rs("Name") is rs.Fields("Name").
            needArgs(n, 1, 1);
            return fields().item(a[0]);
        case Open: return open(rt, a, n);
        case Close:
            m_rs.reset();
            m_connection.reset();
            m_connectionObject.reset();
            return Variant();
        case Eof: return Variant(open().atEnd());
        case Bof: return Variant(open().atStart());
        case MoveNext:
            if (open().atEnd())
                raise(ErrNoCurrentRecord);
            m_rs->MoveNext();
            check();
            return Variant();
        case MoveFirst:
            open().MoveFirst();
            check();
            return Variant();
        case MoveLast: case MovePrevious:
            raise(ErrNotAllowedInContext);
        case GetRows: return getRows(n > 0 && !isMissing(a[0]) ? a[0].toLong() : -1);
        case Fields:
            if (n > 0)
                return fields().item(a[0]);
            return Variant(std::shared_ptr<Object>(std::make_shared<AdoFields>(shared_from_this(), &open())));
        case State: return Variant(m_rs ? 1 : 0);
        case RecordCount: return Variant(-1);
        case CursorType:
            if (put) { m_cursorType = a[0].toLong(); return Variant(); }
            return Variant(m_cursorType);
        case LockType:
            if (put) { m_lockType = a[0].toLong(); return Variant(); }
            return Variant(m_lockType);
        default:
            raiseNotSupported();
        }
    }

    AdoFields fields() { return AdoFields(shared_from_this(), &open()); }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable(
            {QStringLiteral("Open"), QStringLiteral("Close"), QStringLiteral("EOF"), QStringLiteral("BOF"),
             QStringLiteral("MoveNext"), QStringLiteral("MoveFirst"), QStringLiteral("MoveLast"),
             QStringLiteral("MovePrevious"), QStringLiteral("GetRows"), QStringLiteral("Fields"),
             QStringLiteral("State"), QStringLiteral("RecordCount"), QStringLiteral("CursorType"),
             QStringLiteral("LockType")});
        return &t;
    }

private:
    enum { Open = 1, Close, Eof, Bof, MoveNext, MoveFirst, MoveLast, MovePrevious, GetRows, Fields, State,
           RecordCount, CursorType, LockType };

    Data::Recordset &open()
    {
        if (!m_rs)
            raise(ErrObjectClosed);
        return *m_rs;
    }

    void check()
    {
        if (!m_rs->lastError().ok())
            raiseStatus(m_rs->lastError());
    }

    // Open(source, connection, cursor type, lock type, options): the
    // connection is a connection string or a Connection object.
    Variant open(Runtime &, Variant *a, int n)
    {
        needArgs(n, 1, 5);
        if (m_rs)
            raise(ErrObjectOpen);
        QString source = valueOf(a[0]).toString();
        if (n > 2 && !isMissing(a[2]))
            m_cursorType = a[2].toLong();
        if (n > 3 && !isMissing(a[3]))
            m_lockType = a[3].toLong();
        const int options = n > 4 && !isMissing(a[4]) ? a[4].toLong() : -1;
        if (options == 2 || (options == -1 && !source.contains(QLatin1Char(' ')) && !source.isEmpty()))
            source = QStringLiteral("select * from [%1]").arg(source);
        Data::Connection *connection = nullptr;
        if (n < 2 || isMissing(a[1]) || a[1].isEmpty())
            raise(ErrConnectionUnusable);
        if (a[1].isObject()) {
            if (!a[1].object())
                raise(ErrObjectNotSet);
            m_connectionObject = a[1].object();
            if (auto *ado = dynamic_cast<AdoConnection *>(a[1].object().get()))
                m_connection = ado->connection();
            connection = qobject_cast<Data::Connection *>(a[1].object()->qobject());
            if (!connection) {
                // A data control or anything with a connection string.
                const Variant cs = valueOf(a[1]);
                m_connectionObject.reset();
                connection = openString(cs.toString());
            }
        } else {
            connection = openString(a[1].toString());
        }
        if (connection->state() != Data::Connection::adStateOpen)
            raise(ErrObjectClosed);
        Status status;
        m_rs = connection->Execute(source, &status);
        if (!m_rs)
            raiseStatus(status);
        return Variant();
    }

    Data::Connection *openString(const QString &cs)
    {
        auto c = std::make_shared<Data::Connection>();
        c->setAllowWrites(m_ctx && m_ctx->allowWrites);
        const Status s = c->Open(cs);
        if (!s.ok())
            raiseStatus(s);
        m_connection = c;
        return c.get();
    }

    // ADO's GetRows: a two-dimensional array, fields first, rows second.
    Variant getRows(int rows)
    {
        Data::Recordset &rs = open();
        const std::vector<QVariantList> data = rs.getRows(rows);
        check();
        const int fieldCount = rs.fields()->count();
        auto arr = Array::make({{0, fieldCount}, {0, int(data.size())}});
        for (size_t r = 0; r < data.size(); ++r)
            for (int f = 0; f < fieldCount; ++f)
                arr->data[size_t(f) + r * size_t(fieldCount)] = Variant::fromQVariant(data[r].value(f));
        return Variant(std::move(arr));
    }

    std::shared_ptr<BridgeContext> m_ctx;
    std::shared_ptr<Data::Connection> m_connection;
    std::shared_ptr<Object> m_connectionObject;
    std::unique_ptr<Data::Recordset> m_rs;
    int m_cursorType = 0;
    int m_lockType = 1;
};

Variant AdoConnection::invoke(Runtime &, int id, Invoke kind, Variant *a, int n)
{
    const bool put = kind == Invoke::Put || kind == Invoke::PutRef;
    switch (id) {
    case DefaultMember:
    case ConnectionString:
        if (put) {
            needArgs(n, 1, 1);
            m_connection->setConnectionString(a[0].toString());
            return Variant();
        }
        return Variant(m_connection->connectionString());
    case Open: {
        needArgs(n, 0, 4);
        if (m_connection->state() == Data::Connection::adStateClosed)
            m_connection->setAllowWrites(ctx && ctx->allowWrites);
        const QString cs = n > 0 && !isMissing(a[0]) ? a[0].toString() : QString();
        const Status s = m_connection->Open(cs, n > 1 && !isMissing(a[1]) ? a[1].toString() : QString(),
                                            n > 2 && !isMissing(a[2]) ? a[2].toString() : QString());
        if (!s.ok())
            raiseStatus(s);
        return Variant();
    }
    case Close:
        m_connection->Close();
        return Variant();
    case State:
        return Variant(m_connection->state());
    case Provider:
        return Variant(m_connection->provider());
    case Execute: {
        needArgs(n, 1, 3);
        auto rs = std::make_shared<AdoRecordset>(ctx);
        Variant args[2] = {a[0], Variant(shared_from_this())};
        Runtime *rt = Runtime::current();
        rs->invoke(*rt, 1, Invoke::Method, args, 2);
        return Variant(std::shared_ptr<Object>(rs));
    }
    default:
        raiseNotSupported();
    }
}

} // namespace

std::shared_ptr<Object> makeAdoConnection(const std::shared_ptr<BridgeContext> &context)
{
    auto c = std::make_shared<AdoConnection>();
    c->ctx = context;
    return c;
}

std::shared_ptr<Object> makeAdoRecordset(const std::shared_ptr<BridgeContext> &context)
{
    return std::make_shared<AdoRecordset>(context);
}

} // namespace Orv::Script
