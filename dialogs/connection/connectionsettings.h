#pragma once
// What the connection dialog edits: a provider and the fields it needs,
// read from and written to the OLE DB style connection string the data
// layer opens. Keys the dialog does not show are kept as they were.
#include "engine/core/status.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace Orv {

enum class ConnectionProvider { SQLite, PostgreSQL, Odbc, Access };

class ConnectionSettings
{
public:
    ConnectionProvider provider = ConnectionProvider::SQLite;
    QString file;       // SQLite and Access files
    QString host;       // PostgreSQL
    int port = 5432;
    QString database;
    QString user;       // PostgreSQL and ODBC
    QString password;
    QString dsn;        // ODBC: a data source, or else a driver
    QString driver;
    // Persist Security Info: whether a saved layout keeps the password.
    bool savePassword = false;
    // Keys the fields do not cover, in their order.
    QList<QPair<QString, QString>> extra;

    // The provider list's entries, in ConnectionProvider's order.
    static QStringList providerNames();

    // Reads a connection string; a syntax error or an unknown provider
    // fails with the data layer's message and leaves *out alone.
    static bool parse(const QString &text, ConnectionSettings *out, Status *status);
    QString toString() const;

    // What is missing before the string can be tried ("the database
    // file"), or empty text when nothing is.
    QString missing() const;

    // Opens the database with the string and closes it again; the failure
    // carries the database's own message. PostgreSQL gives up after its
    // connect timeout (5 s by default).
    Status test() const;
};

// The data sources and drivers unixODBC knows, read through its API.
struct OdbcCatalogue
{
    QStringList dataSources;
    QStringList drivers;
    static OdbcCatalogue read();
};

} // namespace Orv
