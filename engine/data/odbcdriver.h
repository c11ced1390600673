#pragma once

#include "engine/data/driver.h"

namespace Orv::Data {

// Any ODBC data source through unixODBC ("Provider=MSDASQL;DSN=..." or
// "Driver={...};..."). Text is exchanged as UTF-16, so every driver's
// Unicode entry points are used.
class OdbcDriver : public Driver
{
public:
    OdbcDriver();
    ~OdbcDriver() override;

    QString providerName() const override { return QStringLiteral("ODBC"); }
    Status open(const ConnectionString &cs, const QString &user, const QString &password) override;
    void close() override;
    std::unique_ptr<Cursor> execute(const QString &sql, Status *status) override;
    QList<Table> tables(Status *status) override;
    QList<ForeignKey> foreignKeys(Status *status) override;
    QList<Column> columns(const QString &table, Status *status) override;

    struct Handles;

private:
    std::unique_ptr<Handles> m_h;
    QChar m_quote = u'"';
    bool m_limitClause = false;
};

} // namespace Orv::Data
