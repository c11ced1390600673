#include "engine/data/odbcdriver.h"

#include "engine/data/sqldialect.h"

#include <QDateTime>

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC is built with 2-byte SQLWCHAR");

namespace Orv::Data {

struct OdbcDriver::Handles
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
};

namespace {

SQLWCHAR *wide(const QString &s)
{
    return reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(reinterpret_cast<const char16_t *>(s.utf16())));
}

QString diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    QStringList parts;
    for (SQLSMALLINT i = 1; i <= 5; ++i) {
        SQLWCHAR state[6];
        SQLWCHAR text[1024];
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, i, state, &native, text, 1024, &length)))
            break;
        parts << QString::fromUtf16(reinterpret_cast<const char16_t *>(text), qMin<int>(length, 1023));
    }
    return parts.isEmpty() ? QStringLiteral("unknown ODBC error") : parts.join(u'\n');
}

int adoType(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_INTEGER: return adInteger;
    case SQL_SMALLINT: return adSmallInt;
    case SQL_TINYINT: return adUnsignedTinyInt;
    case SQL_BIGINT: return adBigInt;
    case SQL_REAL: return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE: return adDouble;
    case SQL_DECIMAL: return adDecimal;
    case SQL_NUMERIC: return adNumeric;
    case SQL_BIT: return adBoolean;
    case SQL_CHAR:
    case SQL_WCHAR: return adChar;
    case SQL_VARCHAR:
    case SQL_WVARCHAR: return adVarWChar;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR: return adLongVarWChar;
    case SQL_TYPE_DATE:
    case SQL_DATE: return adDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME: return adDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return adDBTimeStamp;
    case SQL_BINARY:
    case SQL_LONGVARBINARY: return adBinary;
    case SQL_VARBINARY: return adVarBinary;
    case SQL_GUID: return adGUID;
    default: return adVarWChar;
    }
}

bool isText(int type)
{
    return type == adChar || type == adVarWChar || type == adLongVarWChar || type == adGUID;
}

// Reads column i of the current row as the value its type suggests.
QVariant readValue(SQLHSTMT stmt, SQLUSMALLINT i, int type)
{
    SQLLEN indicator = 0;
    switch (type) {
    case adInteger:
    case adSmallInt:
    case adUnsignedTinyInt:
    case adBigInt: {
        SQLBIGINT v = 0;
        if (!SQL_SUCCEEDED(SQLGetData(stmt, i, SQL_C_SBIGINT, &v, 0, &indicator)) || indicator == SQL_NULL_DATA)
            return QVariant();
        if (type == adBigInt)
            return qlonglong(v);
        return int(v);
    }
    case adSingle:
    case adDouble:
    case adDecimal:
    case adNumeric:
    case adCurrency: {
        double v = 0;
        if (!SQL_SUCCEEDED(SQLGetData(stmt, i, SQL_C_DOUBLE, &v, 0, &indicator)) || indicator == SQL_NULL_DATA)
            return QVariant();
        return v;
    }
    case adBoolean: {
        unsigned char v = 0;
        if (!SQL_SUCCEEDED(SQLGetData(stmt, i, SQL_C_BIT, &v, 0, &indicator)) || indicator == SQL_NULL_DATA)
            return QVariant();
        return v != 0;
    }
    case adDBDate:
    case adDBTimeStamp:
    case adDate: {
        SQL_TIMESTAMP_STRUCT ts{};
        if (!SQL_SUCCEEDED(SQLGetData(stmt, i, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator)) || indicator == SQL_NULL_DATA)
            return QVariant();
        return QDateTime(QDate(ts.year, ts.month, ts.day), QTime(ts.hour, ts.minute, ts.second, int(ts.fraction / 1000000)));
    }
    case adBinary:
    case adVarBinary: {
        QByteArray out;
        char buffer[8192];
        for (;;) {
            const SQLRETURN rc = SQLGetData(stmt, i, SQL_C_BINARY, buffer, sizeof buffer, &indicator);
            if (rc == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA)
                return QVariant();
            const SQLLEN got = (indicator == SQL_NO_TOTAL || indicator > SQLLEN(sizeof buffer)) ? SQLLEN(sizeof buffer) : indicator;
            out.append(buffer, got);
            if (rc == SQL_SUCCESS)
                break;
        }
        return out;
    }
    default: {
        QString out;
        SQLWCHAR buffer[4096];
        for (;;) {
            const SQLRETURN rc = SQLGetData(stmt, i, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
            if (rc == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA)
                return QVariant();
            const SQLLEN room = SQLLEN(sizeof buffer) - SQLLEN(sizeof(SQLWCHAR));
            const SQLLEN bytes = (indicator == SQL_NO_TOTAL || indicator > room) ? room : indicator;
            out += QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer), bytes / 2);
            if (rc == SQL_SUCCESS)
                break;
        }
        return out;
    }
    }
}

QString typeName(SQLHSTMT stmt, SQLUSMALLINT i)
{
    SQLWCHAR name[128] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLColAttributeW(stmt, i, SQL_DESC_TYPE_NAME, name, sizeof name, &length, nullptr)))
        return QString();
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(name), qMin<int>(length / 2, 127));
}

// The driver's own type name knows money, booleans and fixed-length text
// that some drivers fold into other ODBC type numbers.
int refined(int type, const QString &name)
{
    if (name.isEmpty())
        return type;
    const int byName = adoTypeFromDeclared(name, nullptr);
    if (byName == adCurrency || byName == adBoolean || byName == adChar)
        return byName;
    return type;
}

class OdbcCursor : public Cursor
{
public:
    OdbcCursor(SQLHSTMT stmt, const QString &sql, const std::atomic<bool> *cancelled)
        : m_stmt(stmt)
        , m_sql(sql)
        , m_cancelled(cancelled)
    {
        SQLSMALLINT n = 0;
        SQLNumResultCols(stmt, &n);
        for (SQLSMALLINT i = 1; i <= n; ++i) {
            SQLWCHAR name[256];
            SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
            SQLULEN size = 0;
            SQLDescribeColW(stmt, SQLUSMALLINT(i), name, 256, &nameLength, &type, &size, &digits, &nullable);
            Column c;
            c.name = QString::fromUtf16(reinterpret_cast<const char16_t *>(name), qMin<int>(nameLength, 255));
            c.type = refined(adoType(type), typeName(stmt, SQLUSMALLINT(i)));
            c.size = isText(c.type) && size < 1000000 ? int(size) : 0;
            c.nullable = nullable != SQL_NO_NULLS;
            c.ordinal = i;
            m_columns.push_back(c);
        }
    }
    ~OdbcCursor() override
    {
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
    }

    int fieldCount() const override { return int(m_columns.size()); }
    Column field(int index) const override { return m_columns.at(size_t(index)); }

    bool next(Status *status) override
    {
        if (m_done)
            return false;
        if (m_cancelled && *m_cancelled) {
            SQLCancel(m_stmt);
            m_done = true;
            if (status)
                *status = Status::failure(ErrInvalidCall, QStringLiteral("The query was cancelled"));
            return false;
        }
        const SQLRETURN rc = SQLFetch(m_stmt);
        if (rc == SQL_NO_DATA || (rc == SQL_ERROR && m_columns.empty())) {
            m_done = true;
            return false;
        }
        if (!SQL_SUCCEEDED(rc)) {
            m_done = true;
            if (status)
                *status = sqlError(diagnostics(SQL_HANDLE_STMT, m_stmt), m_sql);
            return false;
        }
        // Drivers let each column be read once, in order: read the row whole.
        m_row.resize(qsizetype(m_columns.size()));
        for (size_t i = 0; i < m_columns.size(); ++i)
            m_row[qsizetype(i)] = readValue(m_stmt, SQLUSMALLINT(i + 1), m_columns[i].type);
        return true;
    }

    QVariant value(int index) const override { return m_row.value(index); }

private:
    SQLHSTMT m_stmt;
    QString m_sql;
    const std::atomic<bool> *m_cancelled;
    std::vector<Column> m_columns;
    QVariantList m_row;
    bool m_done = false;
};

} // namespace

OdbcDriver::OdbcDriver()
    : m_h(std::make_unique<Handles>())
{
}

OdbcDriver::~OdbcDriver()
{
    close();
}

Status OdbcDriver::open(const ConnectionString &cs, const QString &user, const QString &password)
{
    close();
    ConnectionString odbc;
    for (const auto &e : cs.entries()) {
        const QString key = e.first.toLower();
        if (key == QLatin1String("provider") || key == QLatin1String("user id") || key == QLatin1String("password")
            || key == QLatin1String("persist security info"))
            continue;
        // ADO names the DSN "Data Source".
        odbc.setValue(key == QLatin1String("data source") ? QStringLiteral("DSN") : e.first, e.second);
    }
    if (!user.isEmpty())
        odbc.setValue(QStringLiteral("UID"), user);
    if (!password.isEmpty())
        odbc.setValue(QStringLiteral("PWD"), password);
    if (!odbc.contains(QStringLiteral("DSN")) && !odbc.contains(QStringLiteral("Driver")) && !odbc.contains(QStringLiteral("FILEDSN")))
        return Status::failure(ErrProviderFailed, QStringLiteral("An ODBC connection string needs a DSN or a Driver"));

    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_h->env);
    SQLSetEnvAttr(m_h->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, m_h->env, &m_h->dbc);
    SQLSetConnectAttr(m_h->dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(5), 0);
    // A hint the driver may ignore; the statement check stands either way.
    if (m_readOnly)
        SQLSetConnectAttr(m_h->dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    // ODBC values are written with braces when they hold separators.
    QStringList parts;
    for (const auto &e : odbc.entries()) {
        const QString v = e.second;
        parts << e.first + u'=' + ((v.contains(u';') || v.contains(u'=')) && !v.startsWith(u'{') ? u'{' + v + u'}' : v);
    }
    const QString text = parts.join(u';');
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(m_h->dbc, nullptr, wide(text), SQL_NTS, out, 1024, &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const QString why = diagnostics(SQL_HANDLE_DBC, m_h->dbc);
        close();
        return Status::failure(ErrProviderFailed, QStringLiteral("Cannot connect through ODBC (%1): %2").arg(odbc.value({"DSN", "Driver"}), why));
    }
    SQLWCHAR quote[8] = {};
    SQLSMALLINT quoteLength = 0;
    if (SQL_SUCCEEDED(SQLGetInfoW(m_h->dbc, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &quoteLength)) && quoteLength > 0
        && quote[0] != u' ')
        m_quote = QChar(char16_t(quote[0]));
    // Databases that write LIMIT get TOP n rewritten; others (SQL Server,
    // Access through ODBC) keep it.
    SQLWCHAR dbms[128] = {};
    SQLSMALLINT dbmsLength = 0;
    if (SQL_SUCCEEDED(SQLGetInfoW(m_h->dbc, SQL_DBMS_NAME, dbms, sizeof dbms, &dbmsLength))) {
        const QString name = QString::fromUtf16(reinterpret_cast<const char16_t *>(dbms)).toLower();
        m_limitClause = name.contains(QLatin1String("sqlite")) || name.contains(QLatin1String("postgres"))
                        || name.contains(QLatin1String("mysql")) || name.contains(QLatin1String("mariadb"));
    }
    return {};
}

void OdbcDriver::close()
{
    if (m_h->dbc != SQL_NULL_HDBC) {
        SQLDisconnect(m_h->dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_h->dbc);
    }
    if (m_h->env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, m_h->env);
    m_h->dbc = SQL_NULL_HDBC;
    m_h->env = SQL_NULL_HENV;
}

std::unique_ptr<Cursor> OdbcDriver::execute(const QString &sql, Status *status)
{
    if (m_h->dbc == SQL_NULL_HDBC) {
        *status = Status::failure(ErrObjectClosed, errorDescription(ErrObjectClosed));
        return nullptr;
    }
    m_cancelled = false;
    SqlDialect dialect;
    dialect.identifierOpen = dialect.identifierClose = m_quote;
    dialect.limitClause = m_limitClause;
    const QString text = rewriteSql(sql, dialect);
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, m_h->dbc, &stmt);
    const SQLRETURN rc = SQLExecDirectW(stmt, wide(text), SQL_NTS);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        *status = sqlError(diagnostics(SQL_HANDLE_STMT, stmt), sql);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        return nullptr;
    }
    *status = Status();
    return std::make_unique<OdbcCursor>(stmt, sql, &m_cancelled);
}

namespace {

// Runs a catalog function and reads its rows through the cursor.
template<typename Call, typename F>
Status catalog(OdbcDriver::Handles *h, Call &&call, F &&each)
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, h->dbc, &stmt);
    if (!SQL_SUCCEEDED(call(stmt))) {
        const Status s = Status::failure(ErrProviderFailed, diagnostics(SQL_HANDLE_STMT, stmt));
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        return s;
    }
    OdbcCursor cursor(stmt, QStringLiteral("(catalog)"), nullptr);
    Status status;
    while (cursor.next(&status))
        each(cursor);
    return status;
}

} // namespace

QList<Table> OdbcDriver::tables(Status *status)
{
    QList<Table> out;
    const QString types = QStringLiteral("TABLE,VIEW");
    *status = catalog(m_h.get(), [&](SQLHSTMT s) { return SQLTablesW(s, nullptr, 0, nullptr, 0, nullptr, 0, wide(types), SQL_NTS); },
                      [&](const Cursor &c) { out.append({c.value(2).toString(), c.value(3).toString().toUpper()}); });
    std::sort(out.begin(), out.end(), [](const Table &a, const Table &b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
    return out;
}

QList<ForeignKey> OdbcDriver::foreignKeys(Status *status)
{
    QList<ForeignKey> out;
    const QList<Table> all = tables(status);
    for (const Table &t : all) {
        if (!status->ok() || t.type != QLatin1String("TABLE"))
            continue;
        const QString name = t.name;
        *status = catalog(m_h.get(),
                          [&](SQLHSTMT s) {
                              return SQLForeignKeysW(s, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, wide(name), SQL_NTS);
                          },
                          [&](const Cursor &c) {
                              ForeignKey fk;
                              fk.pkTable = c.value(2).toString();
                              fk.pkColumn = c.value(3).toString();
                              fk.fkTable = c.value(6).toString();
                              fk.fkColumn = c.value(7).toString();
                              fk.ordinal = c.value(8).toInt();
                              fk.name = c.value(11).toString();
                              if (fk.name.isEmpty())
                                  fk.name = QStringLiteral("FK_%1_%2").arg(fk.fkTable, fk.pkTable);
                              out.append(fk);
                          });
    }
    return out;
}

QList<Column> OdbcDriver::columns(const QString &table, Status *status)
{
    QList<Column> out;
    *status = catalog(m_h.get(), [&](SQLHSTMT s) { return SQLColumnsW(s, nullptr, 0, nullptr, 0, wide(table), SQL_NTS, nullptr, 0); },
                      [&](const Cursor &c) {
                          Column col;
                          col.name = c.value(3).toString();
                          col.type = refined(adoType(SQLSMALLINT(c.value(4).toInt())), c.value(5).toString());
                          col.size = isText(col.type) && col.type != adLongVarWChar ? c.value(6).toInt() : 0;
                          if (col.size > 1000000)
                              col.size = 0;
                          col.nullable = c.value(10).toInt() != SQL_NO_NULLS;
                          col.ordinal = c.value(16).toInt();
                          out.append(col);
                      });
    return out;
}

} // namespace Orv::Data
