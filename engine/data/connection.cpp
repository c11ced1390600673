#include "engine/data/connection.h"

#include "engine/data/sqldialect.h"

namespace Orv::Data {

namespace {

Column col(const char *name, int type, int size = 0)
{
    Column c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.size = size;
    return c;
}

std::vector<Column> numbered(std::vector<Column> columns)
{
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i].ordinal = int(i) + 1;
    return columns;
}

// A restriction matches when it is empty or null, or equal without regard to case.
bool matches(const QVariantList &restrictions, int index, const QString &value)
{
    const QVariant r = restrictions.value(index);
    if (!r.isValid() || r.isNull() || r.toString().isEmpty())
        return true;
    return r.toString().compare(value, Qt::CaseInsensitive) == 0;
}

} // namespace

Status readOnlyError(const QString &why, const QString &sql)
{
    return Status::failure(ErrPermissionDeniedByData, QStringLiteral("The report's data is read-only and the statement could change it: %1.\n"
                                                       "Statement: %2\n(A layout that must write says so with its "
                                                       "AllowWrites setting, and the run must allow it: --allow-writes.)")
                                            .arg(why, sql));
}

Connection::Connection(QObject *parent)
    : QObject(parent)
{
}

Connection::~Connection()
{
    Close();
}

Status Connection::Open(const QString &connectionString, const QString &user, const QString &password, int)
{
    if (m_driver) {
        const Status busy = Status::failure(ErrObjectOpen, errorDescription(ErrObjectOpen));
        Q_EMIT ConnectComplete(busy);
        return busy;
    }
    if (!connectionString.isEmpty())
        m_connectionString = connectionString;
    Status status;
    ConnectionString cs;
    if (ConnectionString::parse(m_connectionString, &cs, &status)) {
        auto driver = createDriver(cs, &status);
        if (driver) {
            driver->setReadOnly(!m_allowWrites);
            status = driver->open(cs, user.isEmpty() ? cs.value({"User ID", "UID", "User"}) : user,
                                  password.isEmpty() ? cs.value({"Password", "PWD"}) : password);
            if (status.ok())
                m_driver = std::move(driver);
        }
    }
    Q_EMIT ConnectComplete(status);
    return status;
}

void Connection::Close()
{
    if (!m_driver)
        return;
    m_driver->close();
    m_driver.reset();
    Q_EMIT Disconnect();
}

std::unique_ptr<Recordset> Connection::Execute(const QString &sql, Status *status)
{
    if (!m_driver) {
        *status = Status::failure(ErrObjectClosed, errorDescription(ErrObjectClosed));
        return nullptr;
    }
    if (!m_allowWrites) {
        const QString why = writingPartOf(sql);
        if (!why.isEmpty()) {
            *status = readOnlyError(why, sql);
            return nullptr;
        }
    }
    auto cursor = m_driver->execute(sql, status);
    if (!cursor)
        return nullptr;
    Driver *driver = m_driver.get();
    auto rs = std::make_unique<Recordset>(std::move(cursor), [driver, sql](Status *s) { return driver->execute(sql, s); });
    if (!rs->lastError().ok()) {
        *status = rs->lastError();
        return nullptr;
    }
    return rs;
}

std::unique_ptr<Recordset> Connection::OpenSchema(int kind, const QVariantList &restrictions, Status *status)
{
    if (!m_driver) {
        *status = Status::failure(ErrObjectClosed, errorDescription(ErrObjectClosed));
        return nullptr;
    }
    std::vector<QVariantList> rows;
    std::vector<Column> columns;
    const QVariant null;
    switch (kind) {
    case adSchemaTables: {
        columns = {col("TABLE_CATALOG", adVarWChar), col("TABLE_SCHEMA", adVarWChar), col("TABLE_NAME", adVarWChar),
                   col("TABLE_TYPE", adVarWChar), col("TABLE_GUID", adGUID), col("DESCRIPTION", adVarWChar),
                   col("TABLE_PROPID", adInteger), col("DATE_CREATED", adDate), col("DATE_MODIFIED", adDate)};
        for (const Table &t : m_driver->tables(status)) {
            if (matches(restrictions, 2, t.name) && matches(restrictions, 3, t.type))
                rows.push_back({null, null, t.name, t.type, null, null, null, null, null});
        }
        break;
    }
    case adSchemaForeignKeys: {
        columns = {col("PK_TABLE_CATALOG", adVarWChar), col("PK_TABLE_SCHEMA", adVarWChar), col("PK_TABLE_NAME", adVarWChar),
                   col("PK_COLUMN_NAME", adVarWChar),   col("PK_COLUMN_GUID", adGUID),      col("PK_COLUMN_PROPID", adInteger),
                   col("FK_TABLE_CATALOG", adVarWChar), col("FK_TABLE_SCHEMA", adVarWChar), col("FK_TABLE_NAME", adVarWChar),
                   col("FK_COLUMN_NAME", adVarWChar),   col("FK_COLUMN_GUID", adGUID),      col("FK_COLUMN_PROPID", adInteger),
                   col("ORDINAL", adInteger),           col("UPDATE_RULE", adVarWChar),     col("DELETE_RULE", adVarWChar),
                   col("PK_NAME", adVarWChar),          col("FK_NAME", adVarWChar),         col("DEFERRABILITY", adSmallInt)};
        for (const ForeignKey &k : m_driver->foreignKeys(status)) {
            if (matches(restrictions, 2, k.pkTable) && matches(restrictions, 5, k.fkTable))
                rows.push_back({null, null, k.pkTable, k.pkColumn, null, null, null, null, k.fkTable, k.fkColumn, null, null,
                                k.ordinal, QStringLiteral("NO ACTION"), QStringLiteral("NO ACTION"), null, k.name, null});
        }
        break;
    }
    case adSchemaColumns: {
        columns = {col("TABLE_CATALOG", adVarWChar), col("TABLE_SCHEMA", adVarWChar), col("TABLE_NAME", adVarWChar),
                   col("COLUMN_NAME", adVarWChar), col("COLUMN_GUID", adGUID), col("COLUMN_PROPID", adInteger),
                   col("ORDINAL_POSITION", adInteger), col("COLUMN_HASDEFAULT", adBoolean), col("COLUMN_DEFAULT", adVarWChar),
                   col("COLUMN_FLAGS", adInteger), col("IS_NULLABLE", adBoolean), col("DATA_TYPE", adSmallInt),
                   col("TYPE_GUID", adGUID), col("CHARACTER_MAXIMUM_LENGTH", adInteger),
                   col("CHARACTER_OCTET_LENGTH", adInteger), col("NUMERIC_PRECISION", adSmallInt),
                   col("NUMERIC_SCALE", adSmallInt), col("DATETIME_PRECISION", adInteger), col("DESCRIPTION", adVarWChar)};
        QStringList names;
        const QString wanted = restrictions.value(2).toString();
        if (!wanted.isEmpty()) {
            names << wanted;
        } else {
            for (const Table &t : m_driver->tables(status))
                names << t.name;
        }
        for (const QString &table : names) {
            if (!status->ok())
                break;
            for (const Column &c : m_driver->columns(table, status)) {
                if (!matches(restrictions, 3, c.name))
                    continue;
                const bool isText = c.type == adVarWChar || c.type == adChar || c.type == adWChar || c.type == adLongVarWChar;
                const QVariant length = c.size > 0 ? QVariant(c.size)
                                        : c.type == adLongVarWChar ? QVariant(1073741823) : QVariant();
                rows.push_back({null, null, table, c.name, null, null, c.ordinal, false, null, null, c.nullable, c.type, null,
                                isText ? length : null, isText && length.isValid() ? QVariant(length.toInt() * 2) : null,
                                null, null, null, null});
            }
        }
        break;
    }
    default:
        *status = Status::failure(ErrNotCapable, errorDescription(ErrNotCapable));
        return nullptr;
    }
    if (!status->ok())
        return nullptr;
    return std::make_unique<Recordset>(std::make_unique<MemoryCursor>(numbered(columns), std::move(rows)));
}

} // namespace Orv::Data
