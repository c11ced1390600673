#include "pgtestserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>

#include <unistd.h>

PgTestServer::~PgTestServer()
{
    stop();
}

bool PgTestServer::run(const QString &program, const QStringList &args, QString *error, const QByteArray &input)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), QString::fromLatin1(Password));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    if (m_asPostgres)
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} + args);
    else
        p.start(program, args);
    if (!p.waitForStarted(10000)) {
        *error = program + QStringLiteral(": cannot start");
        return false;
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

bool PgTestServer::start(QString *error)
{
    m_bin = QStringLiteral("/usr/lib/postgresql/15/bin");
    if (!QFile::exists(m_bin + QStringLiteral("/initdb"))) {
        *error = QStringLiteral("PostgreSQL 15 is not installed (run scripts/setup)");
        return false;
    }
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/orv-pg-XXXXXX"));
    if (!m_dir->isValid()) {
        *error = QStringLiteral("cannot make a temporary folder");
        return false;
    }
    m_data = m_dir->filePath(QStringLiteral("data"));
    m_asPostgres = geteuid() == 0;
    const QString pwfile = m_dir->filePath(QStringLiteral("pw"));
    QFile pw(pwfile);
    if (!pw.open(QIODevice::WriteOnly))
        return false;
    pw.write(Password);
    pw.close();
    if (m_asPostgres) {
        m_asPostgres = false; // chown itself runs as root
        if (!run(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("postgres"), m_dir->path()}, error))
            return false;
        m_asPostgres = true;
    }
    if (!run(m_bin + QStringLiteral("/initdb"),
             {QStringLiteral("-D"), m_data, QStringLiteral("-U"), QString::fromLatin1(User), QStringLiteral("--pwfile"), pwfile,
              QStringLiteral("--auth"), QStringLiteral("scram-sha-256"), QStringLiteral("-E"), QStringLiteral("UTF8"),
              QStringLiteral("--no-sync")},
             error))
        return false;
    {
        QTcpServer probe; // a port nobody listens on now
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            *error = QStringLiteral("no free port");
            return false;
        }
        m_port = probe.serverPort();
    }
    const QString options = QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -k %2 -c fsync=off").arg(m_port).arg(m_dir->path());
    if (!run(m_bin + QStringLiteral("/pg_ctl"),
             {QStringLiteral("-D"), m_data, QStringLiteral("-o"), options, QStringLiteral("-l"), m_dir->filePath(QStringLiteral("log")),
              QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("start")},
             error))
        return false;
    m_running = true;
    return true;
}

void PgTestServer::stop()
{
    if (!m_running)
        return;
    QString ignored;
    run(m_bin + QStringLiteral("/pg_ctl"),
        {QStringLiteral("-D"), m_data, QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")},
        &ignored);
    m_running = false;
}

bool PgTestServer::createDatabase(const QString &name, const QString &scriptPath, QString *error)
{
    const QStringList conn = {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(m_port),
                              QStringLiteral("-U"), QString::fromLatin1(User)};
    if (!run(QStringLiteral("psql"), conn + QStringList{QStringLiteral("-d"), QStringLiteral("postgres"), QStringLiteral("-v"),
                                                         QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-c"),
                                                         QStringLiteral("CREATE DATABASE \"%1\"").arg(name)},
             error))
        return false;
    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly)) {
        *error = scriptPath + QStringLiteral(": cannot read");
        return false;
    }
    return run(QStringLiteral("psql"), conn + QStringList{QStringLiteral("-d"), name, QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                                           QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("-")},
               error, script.readAll());
}

QString PgTestServer::connectionString(const QString &database) const
{
    return QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1;Port=%1;Initial Catalog=%2;User ID=%3;Password=%4")
        .arg(m_port)
        .arg(database, QString::fromLatin1(User), QString::fromLatin1(Password));
}
