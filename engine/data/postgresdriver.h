#pragma once

#include "engine/data/driver.h"

#include <QHash>

struct pg_conn;

namespace Orv::Data {

// PostgreSQL through libpq. Rows stream in single-row mode, so a result
// is never held whole. One statement runs at a time on a connection; a new
// one ends the stream of the one before.
class PostgresDriver : public Driver
{
public:
    PostgresDriver() = default;
    ~PostgresDriver() override;

    QString providerName() const override { return QStringLiteral("PostgreSQL"); }
    Status open(const ConnectionString &cs, const QString &user, const QString &password) override;
    void close() override;
    std::unique_ptr<Cursor> execute(const QString &sql, Status *status) override;
    QList<Table> tables(Status *status) override;
    QList<ForeignKey> foreignKeys(Status *status) override;
    QList<Column> columns(const QString &table, Status *status) override;

    // Ends the statement that is streaming, if any.
    void finishActive();
    quint64 generation() const { return m_generation; }

private:
    pg_conn *m_conn = nullptr;
    // Every table's columns, read in one catalogue query on the first
    // columns() call: a wizard reading a thousand tables asks once, not a
    // thousand times. Dropped when the connection closes.
    QHash<QString, QList<Column>> m_columns;
    bool m_columnsRead = false;
    quint64 m_generation = 0;
    bool m_active = false;
    friend class PostgresCursor;
};

} // namespace Orv::Data
