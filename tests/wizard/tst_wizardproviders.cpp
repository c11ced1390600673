// The wizard on each provider: SQLite (the sample database), PostgreSQL (a
// throwaway server) and an Access file. Schema and foreign keys read, the
// generated SQL run, and orvreport-cli wizard then run rendering every
// style to a PDF whose text shows the groups and fields in order.

#include "pgtestserver.h"

#include "engine/data/connection.h"
#include "engine/data/sampledatabase.h"
#include "ui/recordingui.h"
#include "wizard/wizardmodel.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <poppler-qt6.h>

#include <algorithm>

using namespace Orv;
using namespace Orv::Wizard;

class TestWizardProviders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PgTestServer m_pg;
    QString m_sqlite;

    static int cli(const QStringList &args, QString *err)
    {
        QProcess p;
        p.start(QStringLiteral(ORV_CLI_PATH), args);
        if (!p.waitForFinished(300000))
            return -1;
        *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }

    // The rows of a statement, each row's columns joined by a tab.
    static QStringList rows(const QString &connection, const QString &sql)
    {
        Data::Connection c;
        Status s = c.Open(connection);
        std::unique_ptr<Data::Recordset> rs;
        if (s.ok())
            rs = c.Execute(sql, &s);
        if (!rs) {
            qWarning("%s: %s", qPrintable(sql), qPrintable(s.description()));
            return {};
        }
        QStringList out;
        for (; !rs->atEnd(); rs->MoveNext()) {
            QStringList row;
            for (int i = 0; i < rs->fields()->count(); ++i)
                row << rs->value(i).toString();
            out << row.join(u'\t');
        }
        return out;
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

    void schema_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::newRow("SQLite") << QStringLiteral("Provider=SQLite;Data Source=") + m_sqlite;
        QTest::newRow("PostgreSQL") << m_pg.connectionString(QStringLiteral("tesserane"));
        QTest::newRow("Access") << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" ORV_TEST_DATA "/Northwind.mdb");
    }

    void schema()
    {
        QFETCH(QString, connection);
        RecordingUi ui;
        CDataSource ds(&ui);
        ds.ConnectionString = connection;
        QVERIFY(ds.OpenDataSource());
        QVERIFY2(ui.requests().isEmpty(), qPrintable(ui.last().title + QStringLiteral(": ") + ui.last().text));

        auto orderTable = ds.tableDefs().Item(QStringLiteral("orders")); // keys ignore case
        QVERIFY(orderTable);
        QCOMPARE(orderTable->NameOfTable, QStringLiteral("Orders"));
        QVERIFY(!ds.tableDefs().Item(QStringLiteral("Product Sales"))); // views are not tables
        auto company = ds.tableDefs().Item(QStringLiteral("Customers"))->Fields.Item(QStringLiteral("CompanyName"));
        QCOMPARE(company->TypeOfField, 202);
        QCOMPARE(company->SIZE, 40);
        QCOMPARE(orderTable->Fields.Item(1)->NameOfField, QStringLiteral("OrderID")); // schema order

        // Foreign keys, found in either direction with exact names.
        auto rel = ds.relations().getRelationForTables(QStringLiteral("Orders"), QStringLiteral("Customers"));
        QVERIFY(rel);
        QCOMPARE(rel->getPKFieldName(), QStringLiteral("[Customers].[CustomerID]"));
        QCOMPARE(ds.relations().getRelationForTables(QStringLiteral("Customers"), QStringLiteral("Orders")), rel);
        QVERIFY(!ds.relations().getRelationForTables(QStringLiteral("orders"), QStringLiteral("Customers")));

        // Opening again refills without duplicates.
        const int tables = ds.tableDefs().Count(), relations = ds.relations().Count();
        QVERIFY(ds.OpenDataSource());
        QCOMPARE(ds.tableDefs().Count(), tables);
        QCOMPARE(ds.relations().Count(), relations);
    }

    void render_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<int>("style");
        for (int style = 0; style < 6; ++style) {
            QTest::addRow("SQLite %d", style) << QStringLiteral("Data Source=") + m_sqlite << style;
            QTest::addRow("PostgreSQL %d", style) << m_pg.connectionString(QStringLiteral("tesserane")) << style;
            QTest::addRow("Access %d", style) << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" ORV_TEST_DATA "/Northwind.mdb")
                                              << style;
        }
    }

    // From a database to a grouped PDF in two commands: every category
    // heads its group with the captions under it, its products follow from
    // Z to A with their prices as money.
    void render()
    {
        QFETCH(QString, connection);
        QFETCH(int, style);
        const QString rpx = m_dir.filePath(QStringLiteral("products.rpx"));
        const QString pdf = m_dir.filePath(QStringLiteral("products.pdf"));
        QString err;
        QCOMPARE(cli({"wizard", "--connection", connection, "--field", "Categories.CategoryName", "--field", "Products.ProductName",
                      "--field", "products.unitprice", "--group", "CategoryName", "--sort", "ProductName", "desc", "--title",
                      "Products by Category", "--style", QString::number(style), "-o", rpx},
                     &err),
                 0);
        QCOMPARE(cli({"run", rpx, "-o", pdf}, &err), 0);

        const std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(pdf);
        QVERIFY(doc);
        QString text;
        for (int i = 0; i < doc->numPages(); ++i)
            text += std::unique_ptr<Poppler::Page>(doc->page(i))->text(QRectF()).simplified() + u' ';
        // Poppler reads some CJK glyphs back as their radicals; compatibility
        // normalisation undoes most of that.
        text = text.normalized(QString::NormalizationForm_KC);
        QVERIFY(text.startsWith(QStringLiteral("Products by Category")));

        const QStringList expected = rows(connection, QStringLiteral(
            "SELECT [Categories].[CategoryName], [Products].[ProductName], [Products].[UnitPrice] FROM [Categories], [Products] "
            "WHERE [Categories].[CategoryID] = [Products].[CategoryID] ORDER BY 1, 2 DESC"));
        QVERIFY(expected.size() >= 20);
        qsizetype at = 0;
        QString group;
        for (const QString &row : expected) {
            const QStringList v = row.split(u'\t');
            if (v[0] != group) {
                group = v[0];
                at = text.indexOf(group + QStringLiteral(" CategoryName ProductName UnitPrice"), at);
                QVERIFY2(at >= 0, qPrintable(group));
            }
            // Names with CJK glyphs no normalisation maps back (龙 as ⻰)
            // are passed over, their prices not.
            const bool latin = std::all_of(v[1].begin(), v[1].end(), [](QChar ch) { return ch.unicode() < 0x2E80; });
            if (latin) {
                at = text.indexOf(v[1], at);
                QVERIFY2(at >= 0, qPrintable(v[1]));
            }
            const QString price = u'$' + QLocale(QLocale::English).toString(v[2].toDouble(), 'f', 2);
            const qsizetype priceAt = text.indexOf(price, at);
            QVERIFY2(priceAt >= at, qPrintable(row));
            if (!latin)
                at = priceAt;
        }
    }

    void failures()
    {
        RecordingUi ui;
        CDataSource ds(&ui);
        ds.ConnectionString = QStringLiteral("Provider=NoSuchThing");
        QVERIFY(!ds.OpenDataSource());
        QCOMPARE(ui.last().title, QStringLiteral("Open Data Source"));
        QVERIFY(ui.last().text.startsWith(QStringLiteral("Provider cannot be found")));
        QCOMPARE(ds.tableDefs().Count(), 0);
        // A reachable database, then a missing one leaves nothing behind.
        ds.ConnectionString = QStringLiteral("Data Source=") + m_sqlite;
        QVERIFY(ds.OpenDataSource());
        ds.ConnectionString = QStringLiteral("Data Source=") + m_dir.filePath(QStringLiteral("missing/none.db"));
        QVERIFY(!ds.OpenDataSource());
        QCOMPARE(ds.tableDefs().Count(), 0);
        QCOMPARE(ds.relations().Count(), 0);

        // The command line's errors and exit codes.
        const QString db = QStringLiteral("Data Source=") + m_sqlite;
        const QString rpx = m_dir.filePath(QStringLiteral("bad.rpx"));
        QString err;
        QCOMPARE(cli({"wizard", "--connection", db, "--field", "Orders.OrderID", "--style", "6", "-o", rpx}, &err), 2);
        QVERIFY(err.contains(QStringLiteral("--style takes 0 to 5")));
        QCOMPARE(cli({"wizard", "--connection", db, "--field", "Nowhere.x", "-o", rpx}, &err), 1);
        QVERIFY(err.contains(QStringLiteral("\"Nowhere.x\" does not start with a table")));
        QCOMPARE(cli({"wizard", "--connection", db, "--field", "Orders.CustomerID", "--field", "Customers.CustomerID", "--group",
                      "CustomerID", "-o", rpx},
                     &err),
                 1);
        QVERIFY(err.contains(QStringLiteral("more than one chosen table")));
        QVERIFY(!QFile::exists(rpx));
        QCOMPARE(cli({"wizard", "--connection", db, "--field", "Shippers.CompanyName", "--field", "Suppliers.CompanyName", "-o", rpx},
                     &err),
                 0);
        QVERIFY(err.contains(QStringLiteral("no relation joins")));
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
        std::transform(ui.requests().begin(), ui.requests().end(), std::back_inserter(titles), [](const auto &r) { return r.title + u'|' + r.text; });
        const QString duplicate = QStringLiteral(" 457 - This key is already associated with an element of this collection");
        QVERIFY2(titles.contains(QStringLiteral("TableDefs.Add|") + duplicate), qPrintable(titles.join(u'\n')));
        QVERIFY2(titles.contains(QStringLiteral("Error: WizFieldInfos.Add|") + duplicate), qPrintable(titles.join(u'\n')));
        QCOMPARE(ds.tableDefs().Item(QStringLiteral("Cols"))->Fields.Count(), 2);
    }
};

QTEST_MAIN(TestWizardProviders)
#include "tst_wizardproviders.moc"
