#include "engine/data/sqlitedriver.h"

#include "engine/data/connection.h"
#include "engine/data/sqldialect.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstring>

#include <sqlite3.h>

namespace Orv::Data {

namespace {

QString fromUtf8(const unsigned char *text, int bytes)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(text), bytes);
}

QVariant dateFromText(const QString &text)
{
    QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
    if (!dt.isValid())
        dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (dt.isValid())
        return dt;
    const QDate d = QDate::fromString(text, Qt::ISODate);
    if (d.isValid())
        return QDateTime(d, QTime(0, 0));
    return text;
}

// The common stored forms "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" (or with
// 'T'), read straight from the column's bytes: date columns are read for
// every row, and the general parser is many times slower.
QVariant dateFromBytes(const unsigned char *p, int n)
{
    const auto digits = [p](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return -1;
            v = v * 10 + (p[i] - '0');
        }
        return v;
    };
    if ((n == 10 || n == 19) && p[4] == '-' && p[7] == '-') {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        if (n == 10 && date.isValid())
            return QDateTime(date, QTime(0, 0));
        if (n == 19 && date.isValid() && (p[10] == ' ' || p[10] == 'T') && p[13] == ':' && p[16] == ':') {
            const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
            if (time.isValid())
                return QDateTime(date, time);
        }
    }
    return dateFromText(QString::fromUtf8(reinterpret_cast<const char *>(p), n));
}

class SqliteCursor : public Cursor
{
public:
    SqliteCursor(sqlite3 *db, sqlite3_stmt *stmt, const std::atomic<bool> *cancelled)
        : m_db(db)
        , m_stmt(stmt)
        , m_cancelled(cancelled)
    {
        const int n = sqlite3_column_count(stmt);
        m_columns.reserve(n);
        m_lastDates.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            Column c;
            c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
            const char *decl = sqlite3_column_decltype(stmt, i);
            c.type = decl ? adoTypeFromDeclared(QString::fromUtf8(decl), &c.size) : adVariant;
            c.ordinal = i + 1;
            m_columns.push_back(c);
        }
    }
    ~SqliteCursor() override { sqlite3_finalize(m_stmt); }

    int fieldCount() const override { return int(m_columns.size()); }
    Column field(int index) const override { return m_columns.at(size_t(index)); }

    bool next(Status *status) override
    {
        if (m_done)
            return false;
        if (m_cancelled && *m_cancelled) {
            m_done = true;
            if (status)
                *status = Status::failure(ErrInvalidCall, QStringLiteral("The query was cancelled"));
            return false;
        }
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) {
            if (!m_typed)
                settleTypes();
            return true;
        }
        m_done = true;
        if (rc != SQLITE_DONE && status)
            *status = sqlError(QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(sqlite3_sql(m_stmt)));
        return false;
    }

    QVariant value(int index) const override
    {
        sqlite3_stmt *s = m_stmt;
        switch (sqlite3_column_type(s, index)) {
        case SQLITE_NULL:
            return QVariant();
        case SQLITE_INTEGER: {
            const sqlite3_int64 v = sqlite3_column_int64(s, index);
            switch (m_columns[size_t(index)].type) {
            case adBoolean: return v != 0;
            case adDouble:
            case adSingle:
            case adCurrency:
            case adNumeric:
            case adDecimal: return double(v);
            case adBigInt: return qlonglong(v);
            default: return v >= INT_MIN && v <= INT_MAX ? QVariant(int(v)) : QVariant(qlonglong(v));
            }
        }
        case SQLITE_FLOAT:
            return sqlite3_column_double(s, index);
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char *>(sqlite3_column_blob(s, index)), sqlite3_column_bytes(s, index));
        default: {
            const unsigned char *bytes = sqlite3_column_text(s, index);
            const int size = sqlite3_column_bytes(s, index);
            const int type = m_columns[size_t(index)].type;
            if (type == adDate || type == adDBTimeStamp || type == adDBDate) {
                // Sorted reports repeat the same date row after row.
                LastDate &last = m_lastDates[size_t(index)];
                if (last.text.size() != size || memcmp(last.text.constData(), bytes, size_t(size)) != 0) {
                    last.text = QByteArray(reinterpret_cast<const char *>(bytes), size);
                    last.value = dateFromBytes(bytes, size);
                }
                return last.value;
            }
            return fromUtf8(bytes, size);
        }
        }
    }

private:
    // Columns without a declared type (expressions) take the type of their
    // first value.
    void settleTypes()
    {
        m_typed = true;
        for (int i = 0; i < fieldCount(); ++i) {
            Column &c = m_columns[size_t(i)];
            if (c.type != adVariant)
                continue;
            switch (sqlite3_column_type(m_stmt, i)) {
            case SQLITE_INTEGER: c.type = adInteger; break;
            case SQLITE_FLOAT: c.type = adDouble; break;
            case SQLITE_BLOB: c.type = adBinary; break;
            case SQLITE_TEXT: c.type = adVarWChar; break;
            default: break;
            }
        }
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt;
    const std::atomic<bool> *m_cancelled;
    std::vector<Column> m_columns;
    struct LastDate { QByteArray text; QVariant value; };
    mutable std::vector<LastDate> m_lastDates;
    bool m_done = false;
    bool m_typed = false;
};

int progressHandler(void *cancelled)
{
    return static_cast<std::atomic<bool> *>(cancelled)->load() ? 1 : 0;
}

// A read-only connection may read tables and call functions, and nothing
// else: no ATTACH (which would reach other files), no PRAGMA beyond the
// catalogue's, no transactions, no writes of any kind.
int readOnlyAuthorizer(void *, int action, const char *arg1, const char *, const char *, const char *)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_UPDATE:
        // Asked about sqlite_master while SQLite sets up a table-valued
        // pragma; nothing is written (the file is open read-only, with
        // query_only, and only statements SQLite calls read-only run).
        return arg1 && sqlite3_stricmp(arg1, "sqlite_master") == 0 ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_PRAGMA: {
        // The catalogue's own, which only read (their argument is a table).
        static const char *const catalogue[] = {"table_info", "table_xinfo", "foreign_key_list", "index_list", "index_info"};
        for (const char *name : catalogue) {
            if (arg1 && sqlite3_stricmp(arg1, name) == 0)
                return SQLITE_OK;
        }
        return SQLITE_DENY;
    }
    default:
        return SQLITE_DENY;
    }
}

} // namespace

SqliteDriver::~SqliteDriver()
{
    close();
}

Status SqliteDriver::open(const ConnectionString &cs, const QString &, const QString &)
{
    const QString path = cs.value({"Data Source", "Database", "DBQ", "Filename"});
    const QString mode = cs.value(QStringLiteral("Mode"));
    return openFile(path, m_readOnly || (mode.contains(QLatin1String("read"), Qt::CaseInsensitive)
                                         && !mode.contains(QLatin1String("write"), Qt::CaseInsensitive)),
                    false);
}

Status SqliteDriver::openFile(const QString &path, bool readOnly, bool jetSql)
{
    close();
    if (path.isEmpty())
        return Status::failure(ErrProviderFailed, QStringLiteral("The connection string names no database (Data Source is empty)"));
    if (!QFileInfo(path).isFile())
        return Status::failure(ErrProviderFailed, QStringLiteral("Could not find file '%1'").arg(path));
    m_readOnly = readOnly;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        close();
        return Status::failure(ErrProviderFailed, QStringLiteral("Cannot open '%1': %2").arg(path, message));
    }
    // A file that is not a database fails at its first read; find out now.
    char *error = nullptr;
    if (sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        close();
        return Status::failure(ErrProviderFailed, QStringLiteral("Cannot open '%1': %2").arg(path, message));
    }
    if (readOnly) {
        sqlite3_exec(m_db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
        sqlite3_set_authorizer(m_db, readOnlyAuthorizer, nullptr);
    }
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_progress_handler(m_db, 10000, progressHandler, &m_cancelled);
    registerJetFunctions(m_db);
    m_jet = jetSql;
    return {};
}

void SqliteDriver::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

std::unique_ptr<Cursor> SqliteDriver::execute(const QString &sql, Status *status)
{
    SqlDialect dialect;
    dialect.jet = m_jet;
    dialect.renameLeftRight = true;
    dialect.limitClause = true;
    auto cursor = executeNative(rewriteSql(sql, dialect), status);
    if (!cursor && status->description().contains(QLatin1String("\nStatement: ")))
        *status = sqlError(status->description().section(QLatin1String("\nStatement: "), 0, 0), sql);
    return cursor;
}

std::unique_ptr<Cursor> SqliteDriver::executeNative(const QString &sql, Status *status)
{
    if (!m_db) {
        *status = Status::failure(ErrObjectClosed, errorDescription(ErrObjectClosed));
        return nullptr;
    }
    m_cancelled = false;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, &tail) != SQLITE_OK) {
        *status = sqlError(QString::fromUtf8(sqlite3_errmsg(m_db)), sql);
        return nullptr;
    }
    if (!stmt) {
        *status = sqlError(QStringLiteral("The statement is empty"), sql);
        return nullptr;
    }
    if (m_readOnly) {
        // SQLite's own verdict, and nothing may follow the statement.
        sqlite3_stmt *next = nullptr;
        const bool more = tail && *tail
                          && (sqlite3_prepare_v2(m_db, tail, -1, &next, nullptr) != SQLITE_OK || next);
        sqlite3_finalize(next);
        if (!sqlite3_stmt_readonly(stmt) || more) {
            sqlite3_finalize(stmt);
            *status = readOnlyError(more ? QStringLiteral("it holds more than one statement")
                                         : QStringLiteral("SQLite reads it as a statement that writes"),
                                    sql);
            return nullptr;
        }
    }
    *status = Status();
    return std::make_unique<SqliteCursor>(m_db, stmt, &m_cancelled);
}

namespace {

// The rows of a catalogue query.
template<typename F>
Status eachRow(SqliteDriver *driver, const QString &sql, F &&f)
{
    Status status;
    auto cursor = driver->executeNative(sql, &status);
    return forEachRow(std::move(cursor), status, std::forward<F>(f));
}

} // namespace

QList<Table> SqliteDriver::tables(Status *status)
{
    QList<Table> out;
    *status = eachRow(this,
                      QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view') "
                                     "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND name NOT LIKE 'orv\\_%' ESCAPE '\\' "
                                     "ORDER BY name COLLATE NOCASE"),
                      [&](const Cursor &c) {
                          out.append({c.value(0).toString(), c.value(1).toString().toUpper()});
                      });
    return out;
}

QList<ForeignKey> SqliteDriver::foreignKeys(Status *status)
{
    QList<ForeignKey> out;
    const QList<Table> all = tables(status);
    if (!status->ok())
        return out;
    // Snapshots of Access files keep the relationships' own names.
    QHash<QString, QString> names;
    // Without them (an older snapshot) the keys get names made up below.
    if (m_jet)
        std::ignore = eachRow(this, QStringLiteral("SELECT fk_table, pk_table, fk_column, name FROM orv_relationships"),
                [&](const Cursor &c) {
                    names.insert((c.value(0).toString() + u'\x1f' + c.value(1).toString() + u'\x1f' + c.value(2).toString())
                                     .toCaseFolded(),
                                 c.value(3).toString());
                });
    for (const Table &t : all) {
        if (t.type != QLatin1String("TABLE"))
            continue;
        *status = eachRow(this, QStringLiteral("SELECT id, seq, \"table\", \"from\", \"to\" FROM pragma_foreign_key_list(%1)")
                                    .arg(sqlStringLiteral(t.name)),
                          [&](const Cursor &c) {
                              ForeignKey fk;
                              const int id = c.value(0).toInt();
                              fk.fkTable = t.name;
                              fk.pkTable = c.value(2).toString();
                              fk.fkColumn = c.value(3).toString();
                              fk.pkColumn = c.value(4).toString();
                              fk.ordinal = c.value(1).toInt() + 1;
                              fk.name = names.value((fk.fkTable + u'\x1f' + fk.pkTable + u'\x1f' + fk.fkColumn).toCaseFolded());
                              if (fk.name.isEmpty())
                                  fk.name = QStringLiteral("FK_%1_%2%3").arg(fk.fkTable, fk.pkTable,
                                                                             id > 0 ? u'_' + QString::number(id) : QString());
                              out.append(fk);
                          });
        if (!status->ok())
            return out;
    }
    // A reference without a column names the other table's primary key.
    for (ForeignKey &fk : out) {
        if (!fk.pkColumn.isEmpty())
            continue;
        *status = eachRow(this, QStringLiteral("SELECT name FROM pragma_table_info(%1) WHERE pk = %2").arg(sqlStringLiteral(fk.pkTable)).arg(fk.ordinal),
                          [&](const Cursor &c) { fk.pkColumn = c.value(0).toString(); });
        if (!status->ok())
            return out;
    }
    return out;
}

QList<Column> SqliteDriver::columns(const QString &table, Status *status)
{
    QList<Column> out;
    *status = eachRow(this, QStringLiteral("SELECT cid, name, type, \"notnull\" FROM pragma_table_info(%1)").arg(sqlStringLiteral(table)),
                      [&](const Cursor &c) {
                          Column col;
                          col.ordinal = c.value(0).toInt() + 1;
                          col.name = c.value(1).toString();
                          col.type = adoTypeFromDeclared(c.value(2).toString(), &col.size);
                          if (col.type == adVariant)
                              col.type = adVarWChar;
                          col.nullable = c.value(3).toInt() == 0;
                          out.append(col);
                      });
    return out;
}

} // namespace Orv::Data
