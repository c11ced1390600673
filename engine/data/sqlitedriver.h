#pragma once

#include "engine/data/driver.h"

struct sqlite3;

namespace Orv::Data {

// SQLite through its own C library: the embedded default. Opening never
// creates a database; a missing file is an error.
class SqliteDriver : public Driver
{
public:
    SqliteDriver() = default;
    ~SqliteDriver() override;

    QString providerName() const override { return QStringLiteral("SQLite"); }
    Status open(const ConnectionString &cs, const QString &user, const QString &password) override;
    // Opens a file directly; jetSql makes statements read as Access SQL
    // (the snapshots of Access databases).
    Status openFile(const QString &path, bool readOnly, bool jetSql);
    void close() override;

    std::unique_ptr<Cursor> execute(const QString &sql, Status *status) override;
    // Runs SQLite's own SQL as it stands, for the driver's catalog queries.
    std::unique_ptr<Cursor> executeNative(const QString &sql, Status *status);
    QList<Table> tables(Status *status) override;
    QList<ForeignKey> foreignKeys(Status *status) override;
    QList<Column> columns(const QString &table, Status *status) override;

    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
    bool m_jet = false;
};

// Registers the Jet functions Access queries and reports use (IIf, Nz,
// Left, Mid, Year, DateAdd, CLng, ...) on a SQLite connection.
void registerJetFunctions(sqlite3 *db);

} // namespace Orv::Data
