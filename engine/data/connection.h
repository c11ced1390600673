#pragma once

#include "engine/core/status.h"
#include "engine/data/driver.h"
#include "engine/data/recordset.h"

#include <QObject>
#include <QVariantList>

#include <memory>

namespace Orv::Data {

// A database connection in the ADO manner: Open with an OLE DB connection
// string, then OpenSchema and Execute. ConnectComplete is emitted inside
// Open, before it returns, whether or not the open worked.
class Connection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ConnectionString READ connectionString WRITE setConnectionString)
    Q_PROPERTY(int State READ state)
    Q_PROPERTY(QString Provider READ provider)

public:
    enum SchemaKind { adSchemaColumns = 4, adSchemaTables = 20, adSchemaForeignKeys = 27 };
    enum State { adStateClosed = 0, adStateOpen = 1 };

    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    QString connectionString() const { return m_connectionString; }
    void setConnectionString(const QString &text) { m_connectionString = text; }
    int state() const { return m_driver ? adStateOpen : adStateClosed; }
    QString provider() const { return m_driver ? m_driver->providerName() : QString(); }

    // Connections only read unless writes are allowed before Open: every
    // statement must be a single read (writingPartOf), and the provider
    // runs in its read-only mode.
    void setAllowWrites(bool allow) { m_allowWrites = allow; }
    bool allowWrites() const { return m_allowWrites; }

    // An empty connection string uses the ConnectionString property.
    Status Open(const QString &connectionString = QString(), const QString &user = QString(),
                const QString &password = QString(), int options = -1);
    void Close();

    // Schema rowsets 20 (tables), 27 (foreign keys) and 4 (columns) with
    // the ADO column names; empty or null restrictions match everything.
    std::unique_ptr<Recordset> OpenSchema(int kind, const QVariantList &restrictions, Status *status);
    std::unique_ptr<Recordset> Execute(const QString &sql, Status *status);

    Driver *driver() const { return m_driver.get(); }

Q_SIGNALS:
    void ConnectComplete(const Orv::Status &status);
    void Disconnect();

private:
    std::unique_ptr<Driver> m_driver;
    QString m_connectionString;
    bool m_allowWrites = false;
};

// The error for a statement a read-only connection refuses.
Status readOnlyError(const QString &why, const QString &sql);

} // namespace Orv::Data
