#include "engine/data/driver.h"

#include "engine/data/accessdriver.h"
#include "engine/data/odbcdriver.h"
#include "engine/data/postgresdriver.h"
#include "engine/data/sqlitedriver.h"

namespace Orv::Data {

QString providerFor(const ConnectionString &cs, Status *status)
{
    const QString provider = cs.value(QStringLiteral("Provider")).trimmed().toLower();
    const QString source = cs.value({"Data Source", "Database", "DBQ"}).toLower();
    const auto accessFile = [&] { return source.endsWith(QLatin1String(".mdb")) || source.endsWith(QLatin1String(".accdb")); };
    if (status)
        *status = Status();
    if (provider.startsWith(QLatin1String("microsoft.jet.oledb")) || provider.startsWith(QLatin1String("microsoft.ace.oledb"))
        || provider == QLatin1String("access"))
        return QStringLiteral("Access");
    if (provider == QLatin1String("sqlite") || provider.startsWith(QLatin1String("sqlite")))
        return QStringLiteral("SQLite");
    if (provider == QLatin1String("postgresql") || provider == QLatin1String("postgres") || provider == QLatin1String("pgsql"))
        return QStringLiteral("PostgreSQL");
    if (provider == QLatin1String("msdasql") || provider == QLatin1String("odbc"))
        return QStringLiteral("ODBC");
    if (provider.isEmpty()) {
        if (cs.contains(QStringLiteral("DSN")) || cs.contains(QStringLiteral("Driver")))
            return QStringLiteral("ODBC");
        if (accessFile())
            return QStringLiteral("Access");
        if (!source.isEmpty())
            return QStringLiteral("SQLite"); // the embedded default
    }
    if (status)
        *status = Status::failure(ErrProviderNotFound, provider.isEmpty()
                                            ? QStringLiteral("Provider cannot be found: the connection string names neither a provider nor a database")
                                            : QStringLiteral("Provider cannot be found. It may not be properly installed. (Provider=%1)")
                                                  .arg(cs.value(QStringLiteral("Provider"))));
    return QString();
}

std::unique_ptr<Driver> createDriver(const ConnectionString &cs, Status *status)
{
    const QString provider = providerFor(cs, status);
    if (provider == QLatin1String("SQLite"))
        return std::make_unique<SqliteDriver>();
    if (provider == QLatin1String("PostgreSQL"))
        return std::make_unique<PostgresDriver>();
    if (provider == QLatin1String("ODBC"))
        return std::make_unique<OdbcDriver>();
    if (provider == QLatin1String("Access"))
        return std::make_unique<AccessDriver>();
    if (!provider.isEmpty() && status)
        *status = Status::failure(ErrProviderNotFound, QStringLiteral("Provider cannot be found. It may not be properly installed. (Provider=%1)")
                                            .arg(provider));
    return nullptr;
}

} // namespace Orv::Data
