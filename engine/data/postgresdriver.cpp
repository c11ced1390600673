#include "engine/data/postgresdriver.h"

#include "engine/data/sqldialect.h"

#include <QDateTime>
#include <QUuid>

#include <libpq-fe.h>

namespace Orv::Data {

namespace {

// Type oids of pg_type.
enum Oid : unsigned {
    BoolOid = 16, ByteaOid = 17, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, TextOid = 25, OidOid = 26,
    Float4Oid = 700, Float8Oid = 701, MoneyOid = 790, BpcharOid = 1042, VarcharOid = 1043, DateOid = 1082,
    TimeOid = 1083, TimestampOid = 1114, TimestamptzOid = 1184, NumericOid = 1700, UuidOid = 2950,
};

int adoTypeOf(unsigned oid)
{
    switch (oid) {
    case BoolOid: return adBoolean;
    case ByteaOid: return adBinary;
    case Int8Oid: return adBigInt;
    case Int2Oid: return adSmallInt;
    case Int4Oid:
    case OidOid: return adInteger;
    case Float4Oid: return adSingle;
    case Float8Oid: return adDouble;
    case MoneyOid: return adCurrency;
    case NumericOid: return adNumeric;
    case BpcharOid: return adChar;
    case VarcharOid: return adVarWChar;
    case TextOid: return adLongVarWChar;
    case DateOid: return adDBDate;
    case TimeOid: return adDBTime;
    case TimestampOid:
    case TimestamptzOid: return adDBTimeStamp;
    case UuidOid: return adGUID;
    default: return adVarWChar;
    }
}

QString message(pg_conn *conn)
{
    return QString::fromUtf8(PQerrorMessage(conn)).trimmed();
}

} // namespace

class PostgresCursor : public Cursor
{
public:
    PostgresCursor(PostgresDriver *driver, PGresult *first, const QString &sql)
        : m_driver(driver)
        , m_generation(driver->generation())
        , m_sql(sql)
    {
        const int n = PQnfields(first);
        for (int i = 0; i < n; ++i) {
            Column c;
            c.name = QString::fromUtf8(PQfname(first, i));
            m_oids.push_back(PQftype(first, i));
            c.type = adoTypeOf(m_oids.back());
            const int mod = PQfmod(first, i);
            if ((m_oids.back() == VarcharOid || m_oids.back() == BpcharOid) && mod > 4)
                c.size = mod - 4;
            c.ordinal = i + 1;
            m_columns.push_back(c);
        }
        m_pending = first; // the first row, or the end
    }

    ~PostgresCursor() override
    {
        PQclear(m_row);
        PQclear(m_pending);
        if (!m_done && m_driver->generation() == m_generation)
            m_driver->finishActive();
    }

    int fieldCount() const override { return int(m_columns.size()); }
    Column field(int index) const override { return m_columns.at(size_t(index)); }

    bool next(Status *status) override
    {
        PQclear(m_row);
        m_row = nullptr;
        if (m_done)
            return false;
        if (m_driver->generation() != m_generation) {
            m_done = true;
            if (status)
                *status = Status::failure(ErrNotAllowedInContext, QStringLiteral("A later statement on the connection ended this recordset"));
            return false;
        }
        PGresult *r = m_pending ? m_pending : PQgetResult(m_driver->m_conn);
        m_pending = nullptr;
        if (r && PQresultStatus(r) == PGRES_SINGLE_TUPLE) {
            m_row = r;
            return true;
        }
        // The end of the rows, or an error: drain what is left.
        bool failed = false;
        QString error;
        for (; r; r = PQgetResult(m_driver->m_conn)) {
            if (PQresultStatus(r) == PGRES_FATAL_ERROR && !failed) {
                failed = true;
                error = QString::fromUtf8(PQresultErrorMessage(r));
            }
            PQclear(r);
        }
        m_done = true;
        m_driver->m_active = false;
        if (failed && status)
            *status = sqlError(error, m_sql);
        return false;
    }

    QVariant value(int index) const override
    {
        if (!m_row || PQgetisnull(m_row, 0, index))
            return QVariant();
        const char *text = PQgetvalue(m_row, 0, index);
        const int length = PQgetlength(m_row, 0, index);
        switch (m_oids[size_t(index)]) {
        case BoolOid: return text[0] == 't';
        case Int2Oid:
        case Int4Oid: return QByteArray::fromRawData(text, length).toInt();
        case Int8Oid: return QByteArray::fromRawData(text, length).toLongLong();
        case Float4Oid:
        case Float8Oid:
        case NumericOid: return QByteArray::fromRawData(text, length).toDouble();
        case MoneyOid: {
            QByteArray digits;
            for (int i = 0; i < length; ++i) {
                if ((text[i] >= '0' && text[i] <= '9') || text[i] == '.' || text[i] == '-')
                    digits.append(text[i]);
            }
            return digits.toDouble();
        }
        case ByteaOid: {
            size_t size = 0;
            unsigned char *raw = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size);
            QByteArray out(reinterpret_cast<const char *>(raw), qsizetype(size));
            PQfreemem(raw);
            return out;
        }
        case DateOid: return QDateTime(QDate::fromString(QString::fromLatin1(text, length), Qt::ISODate), QTime(0, 0));
        case TimestampOid:
        case TimestamptzOid: {
            QString t = QString::fromLatin1(text, length);
            t.replace(u' ', u'T');
            QDateTime dt = QDateTime::fromString(t, Qt::ISODateWithMs);
            return dt.isValid() ? QVariant(dt) : QVariant(QString::fromLatin1(text, length));
        }
        default:
            return QString::fromUtf8(text, length);
        }
    }

private:
    PostgresDriver *m_driver;
    quint64 m_generation;
    QString m_sql;
    std::vector<Column> m_columns;
    std::vector<unsigned> m_oids;
    PGresult *m_row = nullptr;
    PGresult *m_pending = nullptr;
    bool m_done = false;
};

PostgresDriver::~PostgresDriver()
{
    close();
}

Status PostgresDriver::open(const ConnectionString &cs, const QString &user, const QString &password)
{
    close();
    QString host = cs.value({"Host", "Server", "Data Source"});
    QString port = cs.value(QStringLiteral("Port"));
    if (host.contains(u':') && port.isEmpty()) {
        port = host.section(u':', 1);
        host = host.section(u':', 0, 0);
    }
    const QString database = cs.value({"Database", "Initial Catalog", "dbname"});
    QList<QByteArray> keys, values;
    const auto add = [&](const char *k, const QString &v) {
        if (!v.isEmpty()) {
            keys << k;
            values << v.toUtf8();
        }
    };
    add("host", host.isEmpty() ? QStringLiteral("127.0.0.1") : host);
    add("port", port);
    add("dbname", database);
    add("user", user);
    add("password", password);
    add("sslmode", cs.value(QStringLiteral("SSL Mode")).isEmpty() ? QStringLiteral("prefer") : cs.value(QStringLiteral("SSL Mode")));
    // 0 or less (libpq's "wait forever") and anything unreadable mean the default.
    const int timeout = cs.value({"Connect Timeout", "Timeout"}).trimmed().toInt();
    add("connect_timeout", QString::number(timeout > 0 ? timeout : 5));
    add("client_encoding", QStringLiteral("UTF8"));
    add("application_name", QStringLiteral("OrvReport"));
    std::vector<const char *> k, v;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        k.push_back(keys[i].constData());
        v.push_back(values[i].constData());
    }
    k.push_back(nullptr);
    v.push_back(nullptr);
    m_conn = PQconnectdbParams(k.data(), v.data(), 0);
    if (!m_conn || PQstatus(m_conn) != CONNECTION_OK) {
        const QString why = m_conn ? message(m_conn) : QStringLiteral("out of memory");
        close();
        return Status::failure(ErrProviderFailed, QStringLiteral("Cannot connect to PostgreSQL at %1%2: %3")
                                                .arg(host.isEmpty() ? QStringLiteral("127.0.0.1") : host,
                                                     port.isEmpty() ? QString() : u':' + port, why));
    }
    return {};
}

void PostgresDriver::close()
{
    if (m_conn) {
        finishActive();
        PQfinish(m_conn);
    }
    m_conn = nullptr;
    m_columns.clear();
    m_columnsRead = false;
}

void PostgresDriver::finishActive()
{
    if (!m_active || !m_conn)
        return;
    if (PGcancel *cancel = PQgetCancel(m_conn)) {
        char buffer[256];
        PQcancel(cancel, buffer, sizeof buffer);
        PQfreeCancel(cancel);
    }
    while (PGresult *r = PQgetResult(m_conn))
        PQclear(r);
    m_active = false;
    ++m_generation;
}

std::unique_ptr<Cursor> PostgresDriver::execute(const QString &sql, Status *status)
{
    if (!m_conn) {
        *status = Status::failure(ErrObjectClosed, errorDescription(ErrObjectClosed));
        return nullptr;
    }
    finishActive();
    ++m_generation;
    SqlDialect dialect; // [names] become "names"
    dialect.limitClause = true;
    const QByteArray text = rewriteSql(sql, dialect).toUtf8();
    if (m_readOnly) {
        // Every statement runs inside a read-only transaction, begun again
        // after an error or anything else that ended it.
        const PGTransactionStatusType ts = PQtransactionStatus(m_conn);
        if (ts == PQTRANS_INERROR)
            PQclear(PQexec(m_conn, "ROLLBACK"));
        if (ts != PQTRANS_INTRANS) {
            PGresult *begun = PQexec(m_conn, "BEGIN TRANSACTION READ ONLY");
            const bool ok = PQresultStatus(begun) == PGRES_COMMAND_OK;
            PQclear(begun);
            if (!ok) {
                *status = sqlError(message(m_conn), sql);
                return nullptr;
            }
        }
    }
    // The extended protocol (PQsendQueryParams) takes exactly one statement.
    const bool sent = m_readOnly ? PQsendQueryParams(m_conn, text.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0)
                                 : PQsendQuery(m_conn, text.constData());
    if (!sent || !PQsetSingleRowMode(m_conn)) {
        *status = sqlError(message(m_conn), sql);
        while (PGresult *r = PQgetResult(m_conn))
            PQclear(r);
        return nullptr;
    }
    m_active = true;
    PGresult *first = PQgetResult(m_conn);
    const ExecStatusType st = first ? PQresultStatus(first) : PGRES_FATAL_ERROR;
    if (st != PGRES_SINGLE_TUPLE && st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
        *status = sqlError(first ? QString::fromUtf8(PQresultErrorMessage(first)) : message(m_conn), sql);
        PQclear(first);
        while (PGresult *r = PQgetResult(m_conn))
            PQclear(r);
        m_active = false;
        return nullptr;
    }
    *status = Status();
    return std::make_unique<PostgresCursor>(this, first, sql);
}

namespace {

// The rows of a catalogue query.
template<typename F>
Status eachRow(Driver *driver, const QString &sql, F &&f)
{
    Status status;
    auto cursor = driver->execute(sql, &status);
    return forEachRow(std::move(cursor), status, std::forward<F>(f));
}

} // namespace

QList<Table> PostgresDriver::tables(Status *status)
{
    QList<Table> out;
    *status = eachRow(this, QStringLiteral(
        "SELECT table_name, table_type FROM information_schema.tables "
        "WHERE table_schema = ANY (current_schemas(false)) ORDER BY lower(table_name)"),
        [&](const Cursor &c) {
            out.append({c.value(0).toString(),
                        c.value(1).toString() == QLatin1String("VIEW") ? QStringLiteral("VIEW") : QStringLiteral("TABLE")});
        });
    return out;
}

QList<ForeignKey> PostgresDriver::foreignKeys(Status *status)
{
    QList<ForeignKey> out;
    *status = eachRow(this, QStringLiteral(
        "SELECT pk.relname, pa.attname, fk.relname, fa.attname, c.conname, k.n "
        "FROM pg_constraint c "
        "JOIN pg_class fk ON fk.oid = c.conrelid JOIN pg_class pk ON pk.oid = c.confrelid "
        "JOIN pg_namespace ns ON ns.oid = fk.relnamespace "
        "CROSS JOIN LATERAL unnest(c.conkey, c.confkey) WITH ORDINALITY AS k(fkcol, pkcol, n) "
        "JOIN pg_attribute fa ON fa.attrelid = c.conrelid AND fa.attnum = k.fkcol "
        "JOIN pg_attribute pa ON pa.attrelid = c.confrelid AND pa.attnum = k.pkcol "
        "WHERE c.contype = 'f' AND ns.nspname = ANY (current_schemas(false)) "
        "ORDER BY lower(fk.relname), c.conname, k.n"),
        [&](const Cursor &c) {
            ForeignKey fk;
            fk.pkTable = c.value(0).toString();
            fk.pkColumn = c.value(1).toString();
            fk.fkTable = c.value(2).toString();
            fk.fkColumn = c.value(3).toString();
            fk.name = c.value(4).toString();
            fk.ordinal = c.value(5).toInt();
            out.append(fk);
        });
    return out;
}

QList<Column> PostgresDriver::columns(const QString &table, Status *status)
{
    if (!m_columnsRead) {
        QHash<QString, QList<Column>> all;
        // Domains count as their base type, as information_schema has it.
        const Status read = eachRow(this, QStringLiteral(
            "SELECT c.relname, a.attname, CASE WHEN t.typtype = 'd' THEN bt.typname ELSE t.typname END, "
            "CASE WHEN t.typtype = 'd' THEN t.typtypmod ELSE a.atttypmod END, NOT a.attnotnull, a.attnum "
            "FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
            "JOIN pg_namespace n ON n.oid = c.relnamespace JOIN pg_type t ON t.oid = a.atttypid "
            "LEFT JOIN pg_type bt ON bt.oid = t.typbasetype "
            "WHERE a.attnum > 0 AND NOT a.attisdropped AND c.relkind IN ('r', 'v', 'm', 'p', 'f') "
            "AND n.nspname = ANY (current_schemas(false)) ORDER BY c.relname, a.attnum"),
            [&](const Cursor &c) {
                Column col;
                col.name = c.value(1).toString();
                const QString type = c.value(2).toString();
                col.type = type == QLatin1String("text") ? int(adLongVarWChar) : adoTypeFromDeclared(type, nullptr);
                const int mod = c.value(3).toInt();
                const bool sized = type == QLatin1String("varchar") || type == QLatin1String("bpchar");
                col.size = sized && mod > 4 ? mod - 4 : 0;
                col.nullable = c.value(4).toBool();
                col.ordinal = c.value(5).toInt();
                all[c.value(0).toString()].append(col);
            });
        if (!read.ok()) {
            *status = read;
            return {};
        }
        m_columns = std::move(all);
        m_columnsRead = true;
    }
    *status = Status();
    return m_columns.value(table);
}

} // namespace Orv::Data
