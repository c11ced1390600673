#include "dialogs/connection/connectionsettings.h"

#include "engine/data/connection.h"
#include "engine/data/connectionstring.h"
#include "engine/data/driver.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <sql.h>
#include <sqlext.h>

namespace Orv {

namespace {

bool isTrue(const QString &value)
{
    const QString v = value.trimmed().toLower();
    return v == QLatin1String("true") || v == QLatin1String("yes") || v == QLatin1String("1")
        || v == QLatin1String("-1");
}

// Keys each provider's fields stand for; the others go to extra.
bool knownKey(ConnectionProvider provider, const QString &key)
{
    static const QStringList common = {QStringLiteral("provider"), QStringLiteral("persist security info")};
    QStringList keys;
    switch (provider) {
    case ConnectionProvider::SQLite:
    case ConnectionProvider::Access:
        keys = {QStringLiteral("data source"), QStringLiteral("database"), QStringLiteral("dbq"),
                QStringLiteral("filename")};
        break;
    case ConnectionProvider::PostgreSQL:
        keys = {QStringLiteral("host"),     QStringLiteral("server"),          QStringLiteral("data source"),
                QStringLiteral("port"),     QStringLiteral("database"),        QStringLiteral("initial catalog"),
                QStringLiteral("user id"),  QStringLiteral("uid"),             QStringLiteral("user"),
                QStringLiteral("password"), QStringLiteral("pwd")};
        break;
    case ConnectionProvider::Odbc:
        keys = {QStringLiteral("dsn"), QStringLiteral("data source"), QStringLiteral("driver"),
                QStringLiteral("uid"), QStringLiteral("user id"), QStringLiteral("pwd"), QStringLiteral("password")};
        break;
    }
    const QString k = key.trimmed().toLower();
    return common.contains(k) || keys.contains(k);
}

QString odbcText(const SQLCHAR *text)
{
    return QString::fromLocal8Bit(reinterpret_cast<const char *>(text));
}

} // namespace

QStringList ConnectionSettings::providerNames()
{
    return {QCoreApplication::translate("ConnectionDialog", "SQLite"),
            QCoreApplication::translate("ConnectionDialog", "PostgreSQL"),
            QCoreApplication::translate("ConnectionDialog", "ODBC data source or driver"),
            QCoreApplication::translate("ConnectionDialog", "Microsoft Access file (.mdb, .accdb)")};
}

bool ConnectionSettings::parse(const QString &text, ConnectionSettings *out, Status *status)
{
    ConnectionString cs;
    if (!ConnectionString::parse(text, &cs, status))
        return false;
    ConnectionSettings s;
    const QString provider = Data::providerFor(cs, status);
    if (provider.isEmpty())
        return false;
    if (provider == QLatin1String("PostgreSQL"))
        s.provider = ConnectionProvider::PostgreSQL;
    else if (provider == QLatin1String("ODBC"))
        s.provider = ConnectionProvider::Odbc;
    else if (provider == QLatin1String("Access"))
        s.provider = ConnectionProvider::Access;
    else
        s.provider = ConnectionProvider::SQLite;

    switch (s.provider) {
    case ConnectionProvider::SQLite:
    case ConnectionProvider::Access:
        s.file = cs.value({"Data Source", "Database", "DBQ", "Filename"});
        break;
    case ConnectionProvider::PostgreSQL: {
        s.host = cs.value({"Host", "Server", "Data Source"});
        const qsizetype colon = s.host.lastIndexOf(QLatin1Char(':'));
        if (colon > 0 && !s.host.contains(QLatin1Char(']')) && s.host.count(QLatin1Char(':')) == 1) {
            s.port = s.host.mid(colon + 1).toInt();
            s.host.truncate(colon);
        }
        if (cs.contains(QStringLiteral("Port")))
            s.port = cs.value(QStringLiteral("Port")).toInt();
        s.database = cs.value({"Database", "Initial Catalog"});
        s.user = cs.value({"User ID", "UID", "User"});
        s.password = cs.value({"Password", "PWD"});
        break;
    }
    case ConnectionProvider::Odbc:
        s.dsn = cs.value({"DSN", "Data Source"});
        s.driver = cs.value(QStringLiteral("Driver"));
        if (s.driver.startsWith(QLatin1Char('{')) && s.driver.endsWith(QLatin1Char('}')))
            s.driver = s.driver.mid(1, s.driver.size() - 2);
        s.user = cs.value({"UID", "User ID"});
        s.password = cs.value({"PWD", "Password"});
        break;
    }
    s.savePassword = isTrue(cs.value(QStringLiteral("Persist Security Info")));
    for (const auto &[key, value] : cs.entries()) {
        if (!knownKey(s.provider, key))
            s.extra.append({key, value});
    }
    *out = s;
    return true;
}

QString ConnectionSettings::toString() const
{
    ConnectionString cs;
    // File databases have no login; fields left from another provider do not count.
    const bool hasPassword = !password.isEmpty()
                             && (provider == ConnectionProvider::PostgreSQL || provider == ConnectionProvider::Odbc);
    switch (provider) {
    case ConnectionProvider::SQLite:
        cs.setValue(QStringLiteral("Provider"), QStringLiteral("SQLite"));
        cs.setValue(QStringLiteral("Data Source"), file);
        break;
    case ConnectionProvider::Access: {
        const bool ace = file.endsWith(QLatin1String(".accdb"), Qt::CaseInsensitive);
        cs.setValue(QStringLiteral("Provider"),
                    ace ? QStringLiteral("Microsoft.ACE.OLEDB.12.0") : QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
        cs.setValue(QStringLiteral("Data Source"), file);
        break;
    }
    case ConnectionProvider::PostgreSQL:
        cs.setValue(QStringLiteral("Provider"), QStringLiteral("PostgreSQL"));
        cs.setValue(QStringLiteral("Host"), host.trimmed().isEmpty() ? QStringLiteral("127.0.0.1") : host.trimmed());
        cs.setValue(QStringLiteral("Port"), QString::number(port > 0 ? port : 5432));
        cs.setValue(QStringLiteral("Database"), database);
        if (!user.isEmpty())
            cs.setValue(QStringLiteral("User ID"), user);
        if (hasPassword)
            cs.setValue(QStringLiteral("Password"), password);
        break;
    case ConnectionProvider::Odbc:
        cs.setValue(QStringLiteral("Provider"), QStringLiteral("MSDASQL"));
        if (!dsn.isEmpty())
            cs.setValue(QStringLiteral("DSN"), dsn);
        else
            cs.setValue(QStringLiteral("Driver"), QLatin1Char('{') + driver + QLatin1Char('}'));
        if (!user.isEmpty())
            cs.setValue(QStringLiteral("UID"), user);
        if (hasPassword)
            cs.setValue(QStringLiteral("PWD"), password);
        break;
    }
    for (const auto &[key, value] : extra)
        cs.setValue(key, value);
    if (hasPassword)
        cs.setValue(QStringLiteral("Persist Security Info"),
                    savePassword ? QStringLiteral("True") : QStringLiteral("False"));
    return cs.toString();
}

QString ConnectionSettings::missing() const
{
    switch (provider) {
    case ConnectionProvider::SQLite:
    case ConnectionProvider::Access:
        return file.trimmed().isEmpty() ? QCoreApplication::translate("ConnectionDialog", "数据库文件") : QString();
    case ConnectionProvider::PostgreSQL:
        return database.trimmed().isEmpty() ? QCoreApplication::translate("ConnectionDialog", "数据库名称") : QString();
    case ConnectionProvider::Odbc:
        return dsn.isEmpty() && driver.isEmpty() ? QCoreApplication::translate("ConnectionDialog", "数据源或驱动程序") : QString();
    }
    return {};
}

Status ConnectionSettings::test() const
{
    if ((provider == ConnectionProvider::SQLite || provider == ConnectionProvider::Access)
        && !QFileInfo::exists(file))
        return Status::failure(ErrFileNotFound, QCoreApplication::translate("ConnectionDialog", "File not found: %1").arg(file));
    Data::Connection connection;
    const Status status = connection.Open(toString());
    connection.Close();
    return status;
}

OdbcCatalogue OdbcCatalogue::read()
{
    OdbcCatalogue catalogue;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return catalogue;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[512];
    SQLCHAR description[1024];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
         SQL_SUCCEEDED(SQLDataSources(env, direction, name, sizeof name, &nameLength, description, sizeof description,
                                      &descriptionLength));
         direction = SQL_FETCH_NEXT)
        catalogue.dataSources << odbcText(name);
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
         SQL_SUCCEEDED(SQLDrivers(env, direction, name, sizeof name, &nameLength, description, sizeof description,
                                  &descriptionLength));
         direction = SQL_FETCH_NEXT)
        catalogue.drivers << odbcText(name);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return catalogue;
}

} // namespace Orv
