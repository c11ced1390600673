// The wizard's schema model and generated SQL on each provider: SQLite
// (the sample database), PostgreSQL (a throwaway server) and an Access
// file.

#include "pgtestserver.h"

#include "engine/data/sampledatabase.h"
#include "ui/recordingui.h"
#include "wizard/wizardmodel.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Orv;
using namespace Orv::Wizard;

class TestWizardSchema : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PgTestServer m_pg;
    QString m_sqlite;

    // Rows of a statement run on the data source's own connection.
    static int rowCount(CDataSource &ds, const QString &sql, QString *first = nullptr)
    {
        Status s;
        auto rs = ds.ADOConnection()->Execute(sql, &s);
        if (!rs) {
            qWarning("%s: %s", qPrintable(sql), qPrintable(s.description()));
            return -1;
        }
        int n = 0;
        for (; !rs->atEnd(); rs->MoveNext()) {
            if (n++ == 0 && first)
                *first = rs->value(0).toString();
        }
        return rs->lastError().ok() ? n : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("ORVREPORT_CACHE_DIR", m_dir.filePath(QStringLiteral("cache")).toUtf8());
        m_sqlite = m_dir.filePath(QStringLiteral("tesserane.db"));
        QVERIFY(Data::createSampleDatabase(m_sqlite, 1).ok());
        QString error;
        QVERIFY2(m_pg.start(&error), qPrintable(error));
        QVERIFY2(m_pg.createDatabase(QStringLiteral("tesserane"), QStringLiteral(ORV_TEST_DATA "/tesserane-pg.sql"), &error),
                 qPrintable(error));
        // Keys over two columns, and names that differ only in case.
        const QString edge = m_dir.filePath(QStringLiteral("edge.sql"));
        QFile f(edge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("CREATE TABLE \"Pair\" (a integer, b integer, PRIMARY KEY (a, b));\n"
                "CREATE TABLE \"Child\" (id integer PRIMARY KEY, a integer, b integer,\n"
                "  CONSTRAINT child_pair FOREIGN KEY (a, b) REFERENCES \"Pair\" (a, b));\n"
                "CREATE TABLE \"Mixed\" (x integer);\nCREATE TABLE \"mixed\" (x integer);\n"
                "CREATE TABLE \"Cols\" (\"Name\" integer, \"NAME\" integer, other integer);\n");
        f.close();
        QVERIFY2(m_pg.createDatabase(QStringLiteral("edge"), edge, &error), qPrintable(error));
    }
    void cleanupTestCase() { m_pg.stop(); }

    void providers_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<int>("orders");
        QTest::newRow("SQLite") << QStringLiteral("Provider=SQLite;Data Source=") + m_sqlite << 4000;
        QTest::newRow("PostgreSQL") << m_pg.connectionString(QStringLiteral("tesserane")) << 200;
        QTest::newRow("Access") << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" ORV_TEST_DATA "/Northwind.mdb")
                                << 830;
    }

    void providers()
    {
        QFETCH(QString, connection);
        QFETCH(int, orders);
        RecordingUi ui;
        Wizard::Report model(&ui);
        CDataSource &ds = model.DataSource();
        ds.ConnectionString = connection;
        QVERIFY(ds.OpenDataSource());
        QVERIFY2(ui.requests().isEmpty(), qPrintable(ui.last().title + QStringLiteral(": ") + ui.last().text));

        auto orderTable = ds.tableDefs().Item(QStringLiteral("orders")); // keys ignore case
        QVERIFY(orderTable);
        QCOMPARE(orderTable->NameOfTable, QStringLiteral("Orders"));
        QVERIFY(!orderTable->isSystem);
        QVERIFY(ds.tableDefs().Item(QStringLiteral("Customers")));
        QVERIFY(!ds.tableDefs().Item(QStringLiteral("Product Sales"))); // views are not tables
        auto company = ds.tableDefs().Item(QStringLiteral("Customers"))->Fields.Item(QStringLiteral("CompanyName"));
        QCOMPARE(company->TypeOfField, 202);
        QCOMPARE(company->SIZE, 40);
        QCOMPARE(orderTable->Fields.Item(QStringLiteral("OrderID"))->SIZE, 0);
        QCOMPARE(orderTable->Fields.Item(1)->NameOfField, QStringLiteral("OrderID")); // schema order

        // Foreign keys, found in either direction with exact names.
        auto rel = ds.relations().getRelationForTables(QStringLiteral("Orders"), QStringLiteral("Customers"));
        QVERIFY(rel);
        QCOMPARE(rel->TableForeign, QStringLiteral("Orders"));
        QCOMPARE(rel->getPKFieldName(), QStringLiteral("[Customers].[CustomerID]"));
        QCOMPARE(ds.relations().getRelationForTables(QStringLiteral("Customers"), QStringLiteral("Orders")), rel);
        QVERIFY(!ds.relations().getRelationForTables(QStringLiteral("orders"), QStringLiteral("Customers")));

        // Opening again refills without duplicates.
        const int tables = ds.tableDefs().Count(), relations = ds.relations().Count();
        QVERIFY(ds.OpenDataSource());
        QCOMPARE(ds.tableDefs().Count(), tables);
        QCOMPARE(ds.relations().Count(), relations);

        // A grouped, sorted join over two tables runs and returns every order.
        QVERIFY(model.AddSelectedField(QStringLiteral("Country"), QStringLiteral("Customers"), SourceTable).ok());
        QVERIFY(model.AddSelectedField(QStringLiteral("CompanyName"), QStringLiteral("Customers"), SourceTable).ok());
        QVERIFY(model.AddSelectedField(QStringLiteral("OrderID"), QStringLiteral("Orders"), SourceTable).ok());
        model.FillSelectedRelations();
        model.FillSelectedRelations(); // only the first time adds
        QCOMPARE(model.SelectedRelations().Count(), 1);
        QCOMPARE(model.SelectedRelations().Item(1)->RelationshipName,
                 QStringLiteral("[Customers].[CustomerID] = [Orders].[CustomerID]"));
        QVERIFY(model.GroupFields().Add(model.SelectedFields().Item(QStringLiteral("Customers.Country")), 0).ok());
        QVERIFY(model.SortFields().Add(model.SelectedFields().Item(QStringLiteral("Orders.OrderID")), 1).ok());
        const QString sql = model.BuildQuery();
        QCOMPARE(sql, QStringLiteral("SELECT [Customers].[Country], [Customers].[CompanyName], [Orders].[OrderID] "
                                     "FROM [Customers], [Orders] WHERE [Customers].[CustomerID] = [Orders].[CustomerID] "
                                     "ORDER BY [Customers].[Country], [Orders].[OrderID] DESC "));
        QString firstCountry;
        QCOMPARE(rowCount(ds, sql, &firstCountry), orders);
        QString least;
        QCOMPARE(rowCount(ds, QStringLiteral("SELECT MIN([Country]) FROM [Customers], [Orders] "
                                             "WHERE [Customers].[CustomerID] = [Orders].[CustomerID]"), &least), 1);
        QCOMPARE(firstCountry, least);
    }

    void failures()
    {
        RecordingUi ui;
        CDataSource ds(&ui);
        ds.ConnectionString = QStringLiteral("Provider=NoSuchThing");
        QVERIFY(!ds.OpenDataSource());
        QCOMPARE(ui.last().title, QStringLiteral("Open Data Source"));
        QVERIFY(ui.last().text.startsWith(QStringLiteral("Provider cannot be found")));
        QVERIFY(!ds.isOpen());
        QCOMPARE(ds.tableDefs().Count(), 0);

        // A reachable database after an unreachable one; then a bad one
        // again leaves nothing behind.
        ds.ConnectionString = QStringLiteral("Data Source=") + m_sqlite;
        QVERIFY(ds.OpenDataSource());
        QVERIFY(ds.tableDefs().Count() >= 10);
        ds.ConnectionString = QStringLiteral("Data Source=") + m_dir.filePath(QStringLiteral("missing/none.db"));
        QVERIFY(!ds.OpenDataSource());
        QCOMPARE(ds.tableDefs().Count(), 0);
        QCOMPARE(ds.relations().Count(), 0);
    }

    void keysAndCollisions()
    {
        RecordingUi ui;
        CDataSource ds(&ui);
        ds.ConnectionString = m_pg.connectionString(QStringLiteral("edge"));
        QVERIFY(ds.OpenDataSource());

        // One relation per column pair, under the key's one name.
        QCOMPARE(ds.relations().Count(), 2);
        QCOMPARE(ds.relations().Item(1)->RelationshipName, ds.relations().Item(2)->RelationshipName);
        QCOMPARE(ds.relations().getRelationForTables(QStringLiteral("Pair"), QStringLiteral("Child")), ds.relations().Item(1));

        // "Mixed" and "mixed" collide: the second is refused with the
        // common error text; "Name" and "NAME" collide inside one table.
        QVERIFY(ds.tableDefs().Item(QStringLiteral("MIXED")));
        QStringList titles;
        for (const auto &r : ui.requests())
            titles << r.title + u'|' + r.text;
        const QString duplicate = QStringLiteral(" 457 - This key is already associated with an element of this collection");
        QVERIFY2(titles.contains(QStringLiteral("TableDefs.Add|") + duplicate), qPrintable(titles.join(u'\n')));
        QVERIFY2(titles.contains(QStringLiteral("Error: WizFieldInfos.Add|") + duplicate), qPrintable(titles.join(u'\n')));
        QCOMPARE(ds.tableDefs().Item(QStringLiteral("Cols"))->Fields.Count(), 2);
    }
};

QTEST_MAIN(TestWizardSchema)
#include "tst_wizardschema.moc"
