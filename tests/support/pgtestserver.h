#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A throwaway PostgreSQL cluster for tests: initdb into a temporary
// folder, a server on 127.0.0.1 and a free port, password login for one
// user. When the tests run as root (as CI does) the server runs as the
// "postgres" system user, since PostgreSQL refuses to run as root.
class PgTestServer
{
public:
    static constexpr const char *User = "orv";
    static constexpr const char *Password = "orv-secret";

    PgTestServer() = default;
    ~PgTestServer();

    // Starts the server; false with *error when it cannot.
    bool start(QString *error);
    void stop();

    int port() const { return m_port; }
    // Creates a database and runs an SQL script file in it.
    bool createDatabase(const QString &name, const QString &scriptPath, QString *error);
    QString connectionString(const QString &database) const;

private:
    bool run(const QString &program, const QStringList &args, QString *error, const QByteArray &input = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
    QString m_data;
    int m_port = 0;
    bool m_asPostgres = false;
    bool m_running = false;
};
