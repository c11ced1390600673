#pragma once
// The report wizard's picture of one database: its tables, each table's
// columns with ADO type and character length, and the foreign-key
// relations. CDataSource opens the connection and fills the picture in the
// connection's ConnectComplete event, which arrives inside Open.

#include "engine/core/keyedcollection.h"
#include "engine/core/status.h"
#include "engine/data/connection.h"

#include <QObject>
#include <QString>

#include <memory>

namespace Orv {
class Ui;
}

namespace Orv::Wizard {

using ConnectionPtr = std::shared_ptr<Data::Connection>;

// The name the summary gives an ADO type number ("dbText" for 202), or
// empty text for a number without one.
QString fieldTypeName(int adoType);

// A keyed collection of shared records with Visual Basic's Collection
// interface: Item by 1-based position or by key, Count, Remove, and
// enumeration in insertion order.
template<typename T>
class WizCollection
{
public:
    using Pointer = std::shared_ptr<T>;

    explicit WizCollection(DuplicateKeys policy = DuplicateKeys::Error) : m_items(policy) {}

    int Count() const { return m_items.Count(); }
    Pointer Item(int position) const { return m_items.Item(position); }
    Pointer Item(const QString &key) const { return m_items.Item(key); }
    Status Remove(int position) { return m_items.Remove(position); }
    Status Remove(const QString &key) { return m_items.Remove(key); }
    bool Contains(const QString &key) const { return m_items.Contains(key); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    // Where message boxes of failed Adds go; none shows nothing.
    void setUi(Ui *ui) { m_ui = ui; }
    Ui *ui() const { return m_ui; }

protected:
    KeyedCollection<T> m_items;
    Ui *m_ui = nullptr;
};

struct WizFieldInfo
{
    QString NameOfField;
    qint32 TypeOfField = 0; // ADO type number
    qint32 SIZE = 0;        // maximum character length, 0 without one
    ConnectionPtr ADOConnection;
};

class WizFieldInfos : public WizCollection<WizFieldInfo>
{
public:
    // Adds under sKey (without a key when it is empty). A duplicate key
    // shows "Error: WizFieldInfos.Add" and adds nothing; null is returned.
    Pointer Add(const QString &NameOfField, qint32 TypeOfField, qint32 SIZE, const ConnectionPtr &ADOConnection,
                const QString &sKey = QString(), Status *status = nullptr);
};

struct WizTableDef
{
    QString NameOfTable;
    ConnectionPtr ADOConnection;
    bool isSystem = false;
    WizFieldInfos Fields;
};

class WizTableDefs : public WizCollection<WizTableDef>
{
public:
    // Reads the table's columns through the connection and adds the table
    // under its name. Any failure shows "TableDefs.Add", adds nothing and
    // returns null.
    Pointer Add(const QString &NameOfTable, const ConnectionPtr &ADOConnection, bool bIsSystemTable,
                Status *status = nullptr);
    void removeAll() { m_items.Clear(); }
};

struct WizRelation
{
    QString TablePrimary;
    QString TableForeign;
    QString ColumnPrimary;
    QString ColumnForeign;
    QString RelationshipName;

    // "[table].[column]" of each side, brackets inside names left alone.
    QString getPKFieldName() const;
    QString getFKFieldName() const;
};

class WizRelations : public WizCollection<WizRelation>
{
public:
    // Keyed only when sKey is not empty; a duplicate key is an error.
    Pointer Add(const QString &TablePrimary, const QString &TableForeign, const QString &ColumnPrimary,
                const QString &ColumnForeign, const QString &RelationshipName, const QString &sKey = QString(),
                Status *status = nullptr);
    void removeAll() { m_items.Clear(); }

    // The first relation joining the two tables in either direction, names
    // compared exactly; null when none does.
    Pointer getRelationForTables(const QString &sTable1, const QString &sTable2) const;
};

// The wizard's data source: the connection string, the connection, and
// the tables and relations read when the connection opens.
class CDataSource : public QObject
{
    Q_OBJECT

public:
    explicit CDataSource(Ui *ui = nullptr, QObject *parent = nullptr);
    ~CDataSource() override;

    QString ConnectionString;

    // Opens a fresh connection on ConnectionString; the schema is complete
    // when it returns true. A failure shows "Open Data Source" with the
    // error's description and returns false.
    bool OpenDataSource();
    // The failure of the last OpenDataSource (success when it opened).
    const Status &lastOpenStatus() const { return m_lastOpen; }
    bool isOpen() const { return m_open; }

    WizTableDefs &tableDefs();
    WizRelations &relations();
    void resetDataSource();

    const ConnectionPtr &ADOConnection() const { return m_ADOConnection; }
    void setADOConnection(ConnectionPtr connection);

    // Where messages go from now on, the collections' too (a data source
    // read on another thread collects them there and is then handed on).
    void setUi(Ui *ui);

private:
    void ConnectComplete(const Status &status);
    void PopTableDefs();
    void popRelations();
    void attach();
    void detach();

    Ui *m_ui;
    ConnectionPtr m_ADOConnection;
    bool m_open = false;
    Status m_lastOpen;
    std::unique_ptr<WizTableDefs> m_tableDefs;
    std::unique_ptr<WizRelations> m_relations;
};

} // namespace Orv::Wizard
