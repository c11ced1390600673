// The same questions put to every provider: the three schema rowsets with
// their columns and type numbers, the foreign keys, and a grouped query
// read to the end.

#include "pgtestserver.h"

#include "engine/data/accessdriver.h"
#include "engine/data/connection.h"
#include "engine/data/sampledatabase.h"

#include <QDir>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;
using namespace Orv::Data;

namespace {

QStringList column(Recordset *rs, const char *name)
{
    QStringList out;
    const int i = rs->fields()->indexOf(QString::fromLatin1(name));
    while (!rs->atEnd()) {
        out << rs->value(i).toString();
        rs->MoveNext();
    }
    return out;
}

} // namespace

class TestProviders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PgTestServer m_pg;
    QString m_sqlite;

private Q_SLOTS:
    void initTestCase()
    {
        m_sqlite = m_dir.filePath(QStringLiteral("tesserane.db"));
        QVERIFY(createSampleDatabase(m_sqlite, 1).ok());
        QString error;
        QVERIFY2(m_pg.start(&error), qPrintable(error));
        QVERIFY2(m_pg.createDatabase(QStringLiteral("tesserane"), QStringLiteral(ORV_TEST_DATA "/tesserane-pg.sql"), &error),
                 qPrintable(error));
    }

    void sameQuestions_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<int>("orders");
        QTest::addColumn<QList<int>>("dateTypes");
        QTest::newRow("SQLite") << QStringLiteral("Provider=SQLite;Data Source=") + m_sqlite << 4000 << QList<int>{adDate};
        QTest::newRow("PostgreSQL") << m_pg.connectionString(QStringLiteral("tesserane")) << 200 << QList<int>{adDBTimeStamp};
        QTest::newRow("ODBC SQLite") << QStringLiteral("Provider=MSDASQL;Driver={SQLite3};Database=") + m_sqlite << 4000
                                     << QList<int>{adDBTimeStamp, adDate};
        QTest::newRow("ODBC PostgreSQL")
            << QStringLiteral("Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=tesserane;UID=%2;PWD=%3")
                   .arg(m_pg.port())
                   .arg(QString::fromLatin1(PgTestServer::User), QString::fromLatin1(PgTestServer::Password))
            << 200 << QList<int>{adDBTimeStamp};
    }

    void sameQuestions()
    {
        QFETCH(QString, connection);
        QFETCH(int, orders);
        QFETCH(QList<int>, dateTypes);

        Connection c;
        Status status = c.Open(connection);
        QVERIFY2(status.ok(), qPrintable(status.description()));

        // Tables, without the views.
        auto rs = c.OpenSchema(Connection::adSchemaTables, {QVariant(), QVariant(), QVariant(), QStringLiteral("TABLE")}, &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QVERIFY(rs->fields()->indexOf(QStringLiteral("TABLE_TYPE")) >= 0);
        const QStringList tables = column(rs.get(), "TABLE_NAME");
        for (const char *t : {"Categories", "Customers", "Employees", "Order Details", "Orders", "Products", "Shippers", "Suppliers",
                              "地区", "销售目标"})
            QVERIFY2(tables.contains(QString::fromUtf8(t)), t);
        QVERIFY(!tables.contains(QStringLiteral("Product Sales")));
        rs = c.OpenSchema(Connection::adSchemaTables, {QVariant(), QVariant(), QVariant(), QStringLiteral("VIEW")}, &status);
        QCOMPARE(column(rs.get(), "TABLE_NAME"), QStringList{QStringLiteral("Product Sales")});

        // Foreign keys, with the column names the schema reader uses.
        rs = c.OpenSchema(Connection::adSchemaForeignKeys, {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}, &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QSet<QString> keys;
        const int fkName = rs->fields()->indexOf(QStringLiteral("FK_NAME"));
        while (!rs->atEnd()) {
            QVERIFY(!rs->value(fkName).toString().isEmpty());
            keys.insert(QStringList{rs->fields()->Item(QStringLiteral("FK_TABLE_NAME"))->value().toString(),
                                    rs->fields()->Item(QStringLiteral("FK_COLUMN_NAME"))->value().toString(),
                                    rs->fields()->Item(QStringLiteral("PK_TABLE_NAME"))->value().toString(),
                                    rs->fields()->Item(QStringLiteral("PK_COLUMN_NAME"))->value().toString()}
                            .join(u'.'));
            rs->MoveNext();
        }
        for (const char *k : {"Orders.CustomerID.Customers.CustomerID", "Order Details.OrderID.Orders.OrderID",
                              "Order Details.ProductID.Products.ProductID", "Employees.ReportsTo.Employees.EmployeeID",
                              "销售目标.地区编号.地区.地区编号"})
            QVERIFY2(keys.contains(QString::fromUtf8(k)), k);

        // Columns of one table: ADO type numbers and text lengths.
        rs = c.OpenSchema(Connection::adSchemaColumns, {QVariant(), QVariant(), QStringLiteral("Customers"), QVariant()}, &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QHash<QString, QPair<int, QVariant>> types;
        while (!rs->atEnd()) {
            types.insert(rs->fields()->Item(QStringLiteral("COLUMN_NAME"))->value().toString(),
                         {rs->fields()->Item(QStringLiteral("DATA_TYPE"))->value().toInt(),
                          rs->fields()->Item(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"))->value()});
            rs->MoveNext();
        }
        QCOMPARE(types.size(), 8);
        QCOMPARE(types[QStringLiteral("CustomerID")], (QPair<int, QVariant>(adChar, 5)));
        QCOMPARE(types[QStringLiteral("CompanyName")], (QPair<int, QVariant>(adVarWChar, 40)));
        QCOMPARE(types[QStringLiteral("Active")].first, int(adBoolean));
        QVERIFY(!types[QStringLiteral("Active")].second.isValid());
        rs = c.OpenSchema(Connection::adSchemaColumns, {QVariant(), QVariant(), QStringLiteral("Orders"), QStringLiteral("OrderDate")}, &status);
        QVERIFY(dateTypes.contains(rs->fields()->Item(QStringLiteral("DATA_TYPE"))->value().toInt()));
        rs = c.OpenSchema(Connection::adSchemaColumns, {QVariant(), QVariant(), QStringLiteral("Products"), QStringLiteral("UnitPrice")}, &status);
        QCOMPARE(rs->fields()->Item(QStringLiteral("DATA_TYPE"))->value().toInt(), int(adCurrency));
        rs = c.OpenSchema(Connection::adSchemaColumns, {QVariant(), QVariant(), QStringLiteral("Categories"), QStringLiteral("Description")}, &status);
        QCOMPARE(rs->fields()->Item(QStringLiteral("DATA_TYPE"))->value().toInt(), int(adLongVarWChar));

        // A grouped query in the Access style, read to the end.
        rs = c.Execute(QStringLiteral("SELECT [c].[Country], count(*) AS n, sum([o].[Freight]) AS freight FROM [Orders] o "
                                      "JOIN [Customers] c ON c.[CustomerID] = o.[CustomerID] "
                                      "WHERE o.[OrderDate] >= #1/1/2024# GROUP BY c.[Country] ORDER BY 1"),
                       &status);
        QVERIFY2(rs, qPrintable(status.description()));
        int total = 0;
        QString last;
        while (!rs->atEnd()) {
            const QString country = rs->value(0).toString();
            QVERIFY(country > last);
            last = country;
            total += rs->value(1).toInt();
            QCOMPARE(rs->value(2).metaType().id(), int(QMetaType::Double));
            rs->MoveNext();
        }
        QVERIFY(rs->lastError().ok());
        QCOMPARE(total, orders);

        // Typed values: money as numbers, dates as dates, blobs as bytes.
        rs = c.Execute(QStringLiteral("SELECT p.[UnitPrice], o.[OrderDate], cat.[Picture], p.[Discontinued] FROM [Products] p, "
                                      "[Orders] o, [Categories] cat WHERE p.[ProductID] = 4 AND o.[OrderID] = 10248 AND cat.[CategoryID] = 1"),
                       &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QCOMPARE(rs->value(0).metaType().id(), int(QMetaType::Double));
        QCOMPARE(rs->value(1).toDateTime().date(), QDate(2024, 1, 1));
        QVERIFY(rs->value(2).toByteArray().startsWith("\x89PNG"));
        QCOMPARE(rs->value(3).metaType().id(), int(QMetaType::Bool));

        // Access's TOP and DESCENDING in a statement that is otherwise plain.
        rs = c.Execute(QStringLiteral("SELECT TOP 3 [OrderID] FROM [Orders] ORDER BY [OrderID] DESCENDING"), &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QList<int> ids;
        for (; !rs->atEnd(); rs->MoveNext())
            ids << rs->value(0).toInt();
        QCOMPARE(ids.size(), 3);
        QVERIFY(ids[0] > ids[1] && ids[1] > ids[2]);
    }

    void postgresFailures()
    {
        Connection c;
        const QString wrong = QString(m_pg.connectionString(QStringLiteral("tesserane"))).replace(
            QString::fromLatin1(PgTestServer::Password), QStringLiteral("wrong"));
        Status status = c.Open(wrong);
        QVERIFY(!status.ok());
        QVERIFY2(status.description().contains(QStringLiteral("password authentication failed")), qPrintable(status.description()));
        QCOMPARE(c.state(), 0);

        // Nobody listens: the open fails rather than hangs.
        int port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        status = c.Open(QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1;Port=%1;User ID=orv;Password=x;Connect Timeout=2").arg(port));
        QVERIFY(!status.ok());
        QVERIFY(status.description().contains(QStringLiteral("127.0.0.1:%1").arg(port)));

        QVERIFY(c.Open(m_pg.connectionString(QStringLiteral("tesserane"))).ok());
        auto rs = c.Execute(QStringLiteral("SELECT 1 +"), &status);
        QVERIFY(!rs);
        QVERIFY(status.description().contains(QStringLiteral("syntax error")));
        QVERIFY(status.description().contains(QStringLiteral("Statement: SELECT 1 +")));
        // A run-time error after rows have come ends the stream with the error.
        rs = c.Execute(QStringLiteral("SELECT 1 / (3 - g) FROM generate_series(1, 5) g"), &status);
        QVERIFY(rs);
        while (!rs->atEnd())
            rs->MoveNext();
        QVERIFY(rs->lastError().description().contains(QStringLiteral("division by zero")));
        // A second statement while the first still streams ends the first.
        auto first = c.Execute(QStringLiteral("SELECT g FROM generate_series(1, 100000) g"), &status);
        auto second = c.Execute(QStringLiteral("SELECT 42"), &status);
        QVERIFY(first && second);
        QCOMPARE(second->value(0).toInt(), 42);
        first->MoveNext();
        QVERIFY(first->atEnd());
        QCOMPARE(first->lastError().number(), 3219);
    }

    void postgresReadsOnly()
    {
        Connection c;
        QVERIFY(c.Open(m_pg.connectionString(QStringLiteral("tesserane"))).ok());
        Status status;
        QVERIFY(!c.Execute(QStringLiteral("DELETE FROM \"Shippers\""), &status));
        QCOMPARE(status.number(), -2147217911);
        // Past the statement check the server refuses: a read-only
        // transaction, one statement per call; reading goes on after each.
        QVERIFY(!c.driver()->execute(QStringLiteral("CREATE TABLE evil (x int)"), &status));
        QVERIFY2(status.description().contains(QLatin1String("read-only transaction")), qPrintable(status.description()));
        QVERIFY(!c.driver()->execute(QStringLiteral("SELECT 1; DROP TABLE \"Shippers\""), &status));
        QVERIFY(!c.driver()->execute(QStringLiteral("COMMIT"), &status) || !c.driver()->execute(QStringLiteral("CREATE TABLE evil (x int)"), &status));
        auto rs = c.Execute(QStringLiteral("SELECT count(*) FROM [Shippers]"), &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QVERIFY(rs->value(0).toInt() > 0);

        Connection writer;
        writer.setAllowWrites(true);
        QVERIFY(writer.Open(m_pg.connectionString(QStringLiteral("tesserane"))).ok());
        QVERIFY(writer.Execute(QStringLiteral("CREATE TEMP TABLE scratch (x int)"), &status));

        // A server that accepts and never answers: a timeout of 0 or less
        // is the default, not "wait forever".
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        Connection stuck;
        status = stuck.Open(QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1;Port=%1;User ID=orv;Password=x;Connect Timeout=-1")
                                .arg(silent.serverPort()));
        QVERIFY(!status.ok());
        QVERIFY2(status.description().contains(QLatin1String("timeout")), qPrintable(status.description()));
    }

    void accessFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("orders");
        QTest::newRow("mdb") << QStringLiteral(ORV_TEST_DATA "/Northwind.mdb") << QStringLiteral("Microsoft.Jet.OLEDB.4.0")
                             << QStringLiteral("830");
        QTest::newRow("accdb") << QStringLiteral(ORV_TEST_DATA "/Northwind.accdb") << QStringLiteral("Microsoft.ACE.OLEDB.12.0")
                               << QStringLiteral("48");
    }

    void accessFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, provider);
        QFETCH(QString, orders);
        qputenv("ORVREPORT_CACHE_DIR", m_dir.filePath(QStringLiteral("cache")).toLocal8Bit());

        Connection c;
        Status status = c.Open(QStringLiteral("Provider=%1;Data Source=%2;Persist Security Info=False").arg(provider, file));
        QVERIFY2(status.ok(), qPrintable(status.description()));
        QCOMPARE(c.provider(), QStringLiteral("Access"));
        auto rs = c.OpenSchema(Connection::adSchemaTables, {QVariant(), QVariant(), QVariant(), QStringLiteral("TABLE")}, &status);
        QVERIFY2(rs, qPrintable(status.description()));
        const QStringList tables = column(rs.get(), "TABLE_NAME");
        for (const char *t : {"Customers", "Order Details", "Orders", "Products", "Shippers", "Suppliers"})
            QVERIFY2(tables.contains(QString::fromLatin1(t)), t);
        QVERIFY(!tables.contains(QStringLiteral("orv_relationships")));

        rs = c.OpenSchema(Connection::adSchemaForeignKeys, {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}, &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QSet<QString> keys;
        while (!rs->atEnd()) {
            keys.insert(QStringList{rs->fields()->Item(QStringLiteral("FK_TABLE_NAME"))->value().toString(),
                                    rs->fields()->Item(QStringLiteral("PK_TABLE_NAME"))->value().toString(),
                                    rs->fields()->Item(QStringLiteral("FK_NAME"))->value().toString()}
                            .join(u'.'));
            rs->MoveNext();
        }
        QVERIFY2(keys.size() >= 5, qPrintable(QStringList(keys.values()).join(u' ')));
        bool ordersToCustomers = false;
        for (const QString &k : keys)
            ordersToCustomers |= k.startsWith(QStringLiteral("Orders.Customers."));
        QVERIFY2(ordersToCustomers, qPrintable(QStringList(keys.values()).join(u' ')));

        rs = c.OpenSchema(Connection::adSchemaColumns, {QVariant(), QVariant(), QStringLiteral("Orders"), QVariant()}, &status);
        QHash<QString, QPair<int, QVariant>> types;
        while (!rs->atEnd()) {
            types.insert(rs->fields()->Item(QStringLiteral("COLUMN_NAME"))->value().toString(),
                         {rs->fields()->Item(QStringLiteral("DATA_TYPE"))->value().toInt(),
                          rs->fields()->Item(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"))->value()});
            rs->MoveNext();
        }
        QCOMPARE(types.value(QStringLiteral("OrderDate"), types.value(QStringLiteral("Order Date"))).first, int(adDate));
        QCOMPARE(types.value(QStringLiteral("Shipping Fee"), types.value(QStringLiteral("Freight"))).first, int(adCurrency));
        QCOMPARE(types.value(QStringLiteral("Ship City"), types.value(QStringLiteral("ShipCity"))),
                 (QPair<int, QVariant>(adVarWChar, provider.contains(QLatin1String("ACE")) ? 50 : 15)));

        // Jet SQL with its functions and literals runs on the snapshot.
        rs = c.Execute(QStringLiteral("SELECT count(*) AS n, Year(Min([Order Date])) FROM [Orders] WHERE [Order Date] > #1/1/1990#")
                           .replace(QStringLiteral("[Order Date]"),
                                    provider.contains(QLatin1String("ACE")) ? QStringLiteral("[Order Date]") : QStringLiteral("[OrderDate]")),
                       &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QCOMPARE(rs->value(0).toString(), orders);
        QVERIFY(rs->value(1).toInt() > 1990);

        // A second open uses the cached snapshot.
        const QFileInfoList before = QDir(m_dir.filePath(QStringLiteral("cache/access"))).entryInfoList(QDir::Files);
        QVERIFY(!before.isEmpty());
        Connection again;
        QVERIFY(again.Open(QStringLiteral("Provider=%1;Data Source=%2").arg(provider, file)).ok());
        const QFileInfoList after = QDir(m_dir.filePath(QStringLiteral("cache/access"))).entryInfoList(QDir::Files);
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i)
            QCOMPARE(after[i].lastModified(), before[i].lastModified());
    }

    void accessQueriesBecomeViews()
    {
        qputenv("ORVREPORT_CACHE_DIR", m_dir.filePath(QStringLiteral("cache")).toLocal8Bit());
        Connection c;
        QVERIFY(c.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" ORV_TEST_DATA "/Northwind.mdb")).ok());
        Status status;
        auto rs = c.Execute(QStringLiteral("SELECT count(*) FROM [Products Above Average Price]"), &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QCOMPARE(rs->value(0).toInt(), 25);
        rs = c.Execute(QStringLiteral("SELECT count(*) FROM [Ten Most Expensive Products]"), &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QCOMPARE(rs->value(0).toInt(), 10);
        // What did not translate is in the log, by name.
        const QStringList log = static_cast<AccessDriver *>(c.driver())->log();
        QVERIFY(!log.isEmpty());
        QVERIFY(log.first().startsWith(QStringLiteral("query ")));

        Connection missing;
        status = missing.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/no/such/file.mdb"));
        QVERIFY(status.description().contains(QStringLiteral("Could not find file '/no/such/file.mdb'")));
        // Damaged bytes are a clear error, not a crash or an empty database.
        const QString damaged = m_dir.filePath(QStringLiteral("damaged.mdb"));
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        status = missing.Open(QStringLiteral("Data Source=") + damaged);
        QVERIFY(!status.ok());
        QVERIFY2(status.description().contains(QStringLiteral("Cannot read the Access database")), qPrintable(status.description()));
        QCOMPARE(missing.state(), 0);
    }

    void cleanupTestCase() { m_pg.stop(); }
};

QTEST_GUILESS_MAIN(TestProviders)
#include "tst_providers.moc"
