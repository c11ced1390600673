#pragma once

#include "engine/core/status.h"
#include "engine/data/connectionstring.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <atomic>
#include <memory>

namespace Orv::Data {

// ADO data type numbers, the common language of every provider here.
enum AdoType : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adVariant = 12,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adBigInt = 20,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

struct Column
{
    QString name;
    int type = adVarWChar;
    int size = 0;          // defined size: characters for text, 0 when unbounded or not text
    bool nullable = true;
    int ordinal = 0;       // 1-based
};

struct ForeignKey
{
    QString name;
    QString pkTable;
    QString pkColumn;
    QString fkTable;
    QString fkColumn;
    int ordinal = 1;       // position of the column pair within the key
};

struct Table
{
    QString name;
    QString type;          // "TABLE" or "VIEW"
};

// A forward-only stream of rows. next() moves to the next row; values of
// the current row are read by position. Nothing is held beyond the row.
class Cursor
{
public:
    virtual ~Cursor() = default;
    virtual int fieldCount() const = 0;
    virtual Column field(int index) const = 0;
    // False at the end, and on an error (then *status says why).
    virtual bool next(Status *status) = 0;
    virtual QVariant value(int index) const = 0;
};

// One provider's way to a database.
class Driver
{
public:
    virtual ~Driver() = default;

    virtual QString providerName() const = 0;
    virtual Status open(const ConnectionString &cs, const QString &user, const QString &password) = 0;
    virtual void close() = 0;

    // Runs a statement; SQL in the Access style ([names], #dates#) is
    // rewritten for the database first.
    virtual std::unique_ptr<Cursor> execute(const QString &sql, Status *status) = 0;

    virtual QList<Table> tables(Status *status) = 0;
    virtual QList<ForeignKey> foreignKeys(Status *status) = 0;
    virtual QList<Column> columns(const QString &table, Status *status) = 0;

    // Set from another thread to stop a long statement.
    void cancel() { m_cancelled = true; }

    // Read-only (the default) is set before open: the provider opens the
    // database in its own read-only mode where it has one.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool readOnly() const { return m_readOnly; }

protected:
    std::atomic<bool> m_cancelled{false};
    bool m_readOnly = true;
};

// The provider a connection string names: "SQLite", "PostgreSQL", "ODBC",
// "Access", or an empty text with *status set when none fits.
QString providerFor(const ConnectionString &cs, Status *status);
std::unique_ptr<Driver> createDriver(const ConnectionString &cs, Status *status);

// The ADO type and defined size for a column type as a database declares
// it ("VARCHAR(40)", "int8", "Long Integer", "Currency", ...).
int adoTypeFromDeclared(const QString &declared, int *size);

// An error that names the database's own message and the statement.
Status sqlError(const QString &message, const QString &sql);

// Calls f with each row of a cursor a statement opened (null when it
// failed, with status saying why); the outcome of the reads.
template<typename F>
Status forEachRow(std::unique_ptr<Cursor> cursor, Status status, F &&f)
{
    if (!cursor)
        return status;
    while (cursor->next(&status))
        f(*cursor);
    return status;
}

// A text as a single-quoted SQL literal.
inline QString sqlStringLiteral(QString text)
{
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}

} // namespace Orv::Data
