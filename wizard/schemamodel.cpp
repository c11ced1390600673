#include "wizard/schemamodel.h"

#include "ui/uiseam.h"

namespace Orv::Wizard {

namespace {

Status notFound(const QString &what)
{
    return Status::failure(ErrItemNotFound,
                           QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."),
                           what);
}

// The positions of the named columns of a schema rowset, looked up once.
bool columnIndexes(const Data::Recordset &rs, std::initializer_list<const char *> names, std::vector<int> *out,
                   Status *status)
{
    out->clear();
    for (const char *name : names) {
        const int i = rs.fields()->indexOf(QString::fromLatin1(name));
        if (i < 0) {
            *status = notFound(QString::fromLatin1(name));
            return false;
        }
        out->push_back(i);
    }
    return true;
}

void report(Ui *ui, const Status &status, const QString &title)
{
    if (ui)
        ui->showError(status, title);
}

void setStatus(Status *target, const Status &status)
{
    if (target)
        *target = status;
}

} // namespace

QString fieldTypeName(int adoType)
{
    switch (adoType) {
    case 3: return QStringLiteral("dbInteger");
    case 131: return QStringLiteral("dbNumeric");
    case 4: return QStringLiteral("dbSingle");
    case 14: return QStringLiteral("dbDecimal");
    case 6: return QStringLiteral("dbCurrency");
    case 5: return QStringLiteral("dbDouble");
    case 20: return QStringLiteral("dbBigInt");
    case 11: return QStringLiteral("dbBoolean");
    case 17: return QStringLiteral("dbByte");
    case 7: return QStringLiteral("dbDate");
    case 134: return QStringLiteral("dbTime");
    case 135: return QStringLiteral("dbTimeStamp");
    case 129: return QStringLiteral("dbChar");
    case 203: return QStringLiteral("dbMemo");
    case 202: return QStringLiteral("dbText");
    case 204: return QStringLiteral("dbVarBinary");
    case 128: return QStringLiteral("dbLongBinary");
    default: return QString();
    }
}

WizFieldInfos::Pointer WizFieldInfos::Add(const QString &NameOfField, qint32 TypeOfField, qint32 SIZE,
                                          const ConnectionPtr &ADOConnection, const QString &sKey, Status *status)
{
    auto item = std::make_shared<WizFieldInfo>();
    item->NameOfField = NameOfField;
    item->TypeOfField = TypeOfField;
    item->SIZE = SIZE;
    item->ADOConnection = ADOConnection;
    const Status added = m_items.Add(item, sKey);
    setStatus(status, added);
    if (!added.ok()) {
        report(m_ui, added, QStringLiteral("Error: WizFieldInfos.Add"));
        return nullptr;
    }
    return item;
}

WizTableDefs::Pointer WizTableDefs::Add(const QString &NameOfTable, const ConnectionPtr &ADOConnection,
                                        bool bIsSystemTable, Status *status)
{
    auto fail = [&](const Status &s) -> Pointer {
        setStatus(status, s);
        report(m_ui, s, QStringLiteral("TableDefs.Add"));
        return nullptr;
    };
    if (!ADOConnection)
        return fail(Status::failure(ErrObjectNotSet, errorDescription(ErrObjectNotSet)));
    if (m_items.Contains(NameOfTable))
        return fail(Status::failure(ErrKeyExists,
                                    QStringLiteral("This key is already associated with an element of this collection")));

    auto table = std::make_shared<WizTableDef>();
    table->NameOfTable = NameOfTable;
    table->ADOConnection = ADOConnection;
    table->isSystem = bIsSystemTable;
    table->Fields.setUi(m_ui);

    Status s;
    auto rs = ADOConnection->OpenSchema(Data::Connection::adSchemaColumns, {QVariant(), QVariant(), NameOfTable, QVariant()}, &s);
    if (!rs)
        return fail(s);
    std::vector<int> col;
    if (!columnIndexes(*rs, {"COLUMN_NAME", "CHARACTER_MAXIMUM_LENGTH", "DATA_TYPE"}, &col, &s))
        return fail(s);
    for (; !rs->atEnd(); rs->MoveNext()) {
        const QString name = rs->value(col[0]).toString();
        const QVariant length = rs->value(col[1]);
        const qint32 size = length.isNull() ? 0 : qint32(length.toLongLong());
        const qint32 type = qint32(rs->value(col[2]).toLongLong());
        // A column that does not fit is reported by WizFieldInfos.Add; the
        // table keeps the others.
        table->Fields.Add(name, type, size, ADOConnection, name);
    }
    if (!rs->lastError().ok())
        return fail(rs->lastError());
    rs->Close();

    const Status added = m_items.Add(table, NameOfTable);
    if (!added.ok())
        return fail(added);
    setStatus(status, {});
    return table;
}

QString WizRelation::getPKFieldName() const
{
    return QLatin1Char('[') + TablePrimary + QLatin1String("].[") + ColumnPrimary + QLatin1Char(']');
}

QString WizRelation::getFKFieldName() const
{
    return QLatin1Char('[') + TableForeign + QLatin1String("].[") + ColumnForeign + QLatin1Char(']');
}

WizRelations::Pointer WizRelations::Add(const QString &TablePrimary, const QString &TableForeign,
                                        const QString &ColumnPrimary, const QString &ColumnForeign,
                                        const QString &RelationshipName, const QString &sKey, Status *status)
{
    auto item = std::make_shared<WizRelation>(
        WizRelation{TablePrimary, TableForeign, ColumnPrimary, ColumnForeign, RelationshipName});
    const Status added = m_items.Add(item, sKey);
    setStatus(status, added);
    return added.ok() ? item : nullptr;
}

WizRelations::Pointer WizRelations::getRelationForTables(const QString &sTable1, const QString &sTable2) const
{
    for (const Pointer &r : m_items) {
        if ((r->TableForeign == sTable1 && r->TablePrimary == sTable2)
            || (r->TableForeign == sTable2 && r->TablePrimary == sTable1))
            return r;
    }
    return nullptr;
}

CDataSource::CDataSource(Ui *ui, QObject *parent)
    : QObject(parent)
    , m_ui(ui)
{
}

CDataSource::~CDataSource()
{
    // Closing must not call back into a data source being destroyed.
    detach();
    if (m_ADOConnection)
        m_ADOConnection->Close();
}

WizTableDefs &CDataSource::tableDefs()
{
    if (!m_tableDefs) {
        m_tableDefs = std::make_unique<WizTableDefs>();
        m_tableDefs->setUi(m_ui);
    }
    return *m_tableDefs;
}

WizRelations &CDataSource::relations()
{
    if (!m_relations) {
        m_relations = std::make_unique<WizRelations>();
        m_relations->setUi(m_ui);
    }
    return *m_relations;
}

void CDataSource::resetDataSource()
{
    tableDefs().removeAll();
    relations().removeAll();
}

void CDataSource::setUi(Ui *ui)
{
    m_ui = ui;
    tableDefs().setUi(ui);
    relations().setUi(ui);
    for (const auto &table : tableDefs())
        table->Fields.setUi(ui);
}

void CDataSource::setADOConnection(ConnectionPtr connection)
{
    detach();
    m_ADOConnection = std::move(connection);
    attach();
}

void CDataSource::attach()
{
    if (!m_ADOConnection)
        return;
    connect(m_ADOConnection.get(), &Data::Connection::ConnectComplete, this, &CDataSource::ConnectComplete);
    connect(m_ADOConnection.get(), &Data::Connection::Disconnect, this, &CDataSource::resetDataSource);
}

void CDataSource::detach()
{
    if (m_ADOConnection)
        disconnect(m_ADOConnection.get(), nullptr, this, nullptr);
}

bool CDataSource::OpenDataSource()
{
    if (m_open) {
        m_ADOConnection->Close();
        m_open = false;
    }
    setADOConnection(std::make_shared<Data::Connection>());
    m_lastOpen = m_ADOConnection->Open(ConnectionString, QString(), QString(), -1);
    if (!m_lastOpen.ok()) {
        if (m_ui)
            m_ui->messageBox(m_lastOpen.description(), QStringLiteral("Open Data Source"));
        m_ADOConnection->Close();
        m_open = false;
        return false;
    }
    m_open = true;
    return true;
}

void CDataSource::ConnectComplete(const Status &)
{
    PopTableDefs();
    popRelations();
}

void CDataSource::PopTableDefs()
{
    if (!m_ADOConnection || m_ADOConnection->state() != Data::Connection::adStateOpen)
        return;
    tableDefs().removeAll();
    Status s;
    auto rs = m_ADOConnection->OpenSchema(Data::Connection::adSchemaTables,
                                          {QVariant(), QVariant(), QVariant(), QStringLiteral("TABLE")}, &s);
    std::vector<int> col;
    if (rs && columnIndexes(*rs, {"TABLE_NAME", "TABLE_TYPE"}, &col, &s)) {
        for (; !rs->atEnd(); rs->MoveNext()) {
            const bool system = rs->value(col[1]).toString().contains(QLatin1String("SYSTEM"), Qt::CaseInsensitive);
            tableDefs().Add(rs->value(col[0]).toString(), m_ADOConnection, system);
        }
        s = rs->lastError();
        rs->Close();
    }
    if (!s.ok())
        report(m_ui, s, QStringLiteral("Error Populating Tables Collections (PopTableDefs)"));
}

void CDataSource::popRelations()
{
    if (!m_ADOConnection || m_ADOConnection->state() != Data::Connection::adStateOpen)
        return;
    relations().removeAll();
    Status s;
    auto rs = m_ADOConnection->OpenSchema(Data::Connection::adSchemaForeignKeys,
                                          {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}, &s);
    std::vector<int> col;
    if (rs && columnIndexes(*rs, {"PK_TABLE_NAME", "FK_TABLE_NAME", "PK_COLUMN_NAME", "FK_COLUMN_NAME", "FK_NAME"}, &col, &s)) {
        for (; !rs->atEnd(); rs->MoveNext()) {
            relations().Add(rs->value(col[0]).toString(), rs->value(col[1]).toString(), rs->value(col[2]).toString(),
                            rs->value(col[3]).toString(), rs->value(col[4]).toString());
        }
        s = rs->lastError();
        rs->Close();
    }
    if (!s.ok())
        report(m_ui, s, QStringLiteral("Error Populating Relations Collection (popRelations)"));
}

} // namespace Orv::Wizard
