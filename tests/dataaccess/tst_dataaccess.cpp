#include "engine/data/connection.h"
#include "engine/data/connectionstring.h"
#include "engine/data/reportdata.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/data/sampledatabase.h"
#include "engine/data/sqldialect.h"
#include "engine/data/sqlitedriver.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;
using namespace Orv::Data;

class TestDataAccess : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = m_dir.filePath(QStringLiteral("tesserane.db"));
        const Status s = createSampleDatabase(m_db, 1);
        QVERIFY2(s.ok(), qPrintable(s.description()));
    }

    void connectionStringSyntax()
    {
        ConnectionString cs;
        Status status;
        QVERIFY(ConnectionString::parse(QStringLiteral(" provider = SQLite ; Data Source=\"C:\\a;b.db\";Extended Properties='x=''1'''; "
                                                       "Driver={SQLite3 ODBC; Driver};Empty=;Key==Name=v"),
                                        &cs, &status));
        QCOMPARE(cs.value(QStringLiteral("PROVIDER")), QStringLiteral("SQLite"));
        QCOMPARE(cs.value(QStringLiteral("data source")), QStringLiteral("C:\\a;b.db"));
        QCOMPARE(cs.value(QStringLiteral("Extended Properties")), QStringLiteral("x='1'"));
        QCOMPARE(cs.value(QStringLiteral("Driver")), QStringLiteral("{SQLite3 ODBC; Driver}"));
        QVERIFY(cs.contains(QStringLiteral("empty")));
        QCOMPARE(cs.value(QStringLiteral("Key=Name")), QStringLiteral("v"));
        // What toString writes reads back the same.
        ConnectionString again;
        QVERIFY(ConnectionString::parse(cs.toString(), &again, &status));
        QCOMPARE(again.entries(), cs.entries());

        // Later keys win, as OLE DB has it.
        QVERIFY(ConnectionString::parse(QStringLiteral("User ID=a;user id=b"), &cs, &status));
        QCOMPARE(cs.value(QStringLiteral("User ID")), QStringLiteral("b"));
        QCOMPARE(cs.entries().size(), 1);

        const struct {
            const char *text;
            int at;
        } bad[] = {{"Provider", 1}, {"Data Source='x.db", 13}, {"A=\"b\"c", 6}, {"=x", 1}, {"A=1;B", 5}};
        for (const auto &b : bad) {
            QVERIFY2(!ConnectionString::parse(QString::fromLatin1(b.text), &cs, &status), b.text);
            QCOMPARE(status.number(), 5);
            QVERIFY2(status.description().contains(QStringLiteral("at character %1").arg(b.at)), qPrintable(status.description()));
        }
        QCOMPARE(resolveDatabasePathTemplate(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=$FullDbPath$;X=$fulldbpath$"),
                                             QStringLiteral("/d/n.mdb")),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/d/n.mdb;X=/d/n.mdb"));
    }

    void providersByConnectionString()
    {
        const struct {
            const char *text;
            const char *provider;
        } cases[] = {
            {"Data Source=x.db", "SQLite"},
            {"Provider=SQLite;Data Source=x", "SQLite"},
            {"Provider=PostgreSQL;Data Source=localhost", "PostgreSQL"},
            {"Provider=MSDASQL;DSN=Sales", "ODBC"},
            {"Driver={SQLite3};Database=x.db", "ODBC"},
            {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=n.mdb", "Access"},
            {"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=n.accdb", "Access"},
            {"Data Source=C:\\db\\Northwind.MDB", "Access"},
        };
        for (const auto &c : cases) {
            ConnectionString cs;
            Status status;
            QVERIFY(ConnectionString::parse(QString::fromLatin1(c.text), &cs, &status));
            QCOMPARE(providerFor(cs, &status), QString::fromLatin1(c.provider));
        }
        ConnectionString cs;
        Status status;
        ConnectionString::parse(QStringLiteral("Provider=SQLOLEDB;Data Source=srv"), &cs, &status);
        QVERIFY(providerFor(cs, &status).isEmpty());
        QCOMPARE(status.number(), 3706);
        QVERIFY(status.description().contains(QStringLiteral("SQLOLEDB")));
    }

    void accessStyleSqlIsRewritten()
    {
        SqlDialect pg;
        QCOMPARE(rewriteSql(QStringLiteral("SELECT [Order Details].[Unit \"Price\"] FROM [Order Details] WHERE d > #12/31/2024# "
                                           "AND n = '[not a name]' -- [comment]"),
                            pg),
                 QStringLiteral("SELECT \"Order Details\".\"Unit \"\"Price\"\"\" FROM \"Order Details\" WHERE d > '2024-12-31' "
                                "AND n = '[not a name]' -- [comment]"));
        SqlDialect jet;
        jet.jet = true;
        QCOMPARE(rewriteSql(QStringLiteral("SELECT DISTINCTROW [A] & \" x\" FROM T WHERE N Like \"Sm?th*\" AND B = True "
                                           "AND d = #1/2/2003 14:05:00#"),
                            jet),
                 QStringLiteral("SELECT DISTINCT \"A\" || ' x' FROM T WHERE N Like 'Sm_th%' AND B = 1 AND d = '2003-01-02 14:05:00'"));
        // A # that does not open a date stays.
        QCOMPARE(rewriteSql(QStringLiteral("SELECT '#' || x # 3"), pg), QStringLiteral("SELECT '#' || x # 3"));
    }

    void connectionEventsAndErrors()
    {
        Connection c;
        QSignalSpy complete(&c, &Connection::ConnectComplete);
        QSignalSpy disconnect(&c, &Connection::Disconnect);
        const QString missing = m_dir.filePath(QStringLiteral("missing.db"));
        Status status = c.Open(QStringLiteral("Data Source=") + missing);
        QVERIFY(!status.ok());
        QVERIFY(status.description().contains(missing));
        QVERIFY(!QFile::exists(missing)); // never creates an empty database
        QCOMPARE(c.state(), 0);
        QCOMPARE(complete.count(), 1); // the event comes with failures too

        const QString notADatabase = m_dir.filePath(QStringLiteral("notes.db"));
        QFile f(notADatabase);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("just some text, not SQLite");
        f.close();
        QVERIFY(!c.Open(QStringLiteral("Data Source=") + notADatabase).ok());
        QCOMPARE(c.state(), 0);

        QVERIFY(!c.Open(QStringLiteral("Provider=Oracle;Data Source=x")).ok());
        QVERIFY(c.Open(QStringLiteral("Provider=SQLite;Data Source=\"%1\"").arg(m_db)).ok());
        QCOMPARE(c.state(), 1);
        QCOMPARE(complete.count(), 4);
        QVERIFY(complete.last().at(0).value<Status>().ok());
        QCOMPARE(c.Open(QStringLiteral("Data Source=x.db")).number(), 3705); // already open

        auto rs = c.Execute(QStringLiteral("SELECT CompanyName FROM Custmers"), &status);
        QVERIFY(!rs);
        QVERIFY(status.description().contains(QStringLiteral("no such table: Custmers")));
        QVERIFY(status.description().contains(QStringLiteral("Statement: SELECT CompanyName FROM Custmers")));
        c.Close();
        QCOMPARE(disconnect.count(), 1);
        QCOMPARE(c.state(), 0);
        QCOMPARE(c.Execute(QStringLiteral("SELECT 1"), &status), nullptr);
        QCOMPARE(status.number(), 3704);
    }

    void readOnlyUnlessWritesAreAllowed()
    {
        // Every way a statement could change the file or reach another one:
        // the bytes stay the same and no file appears.
        const QString db = m_dir.filePath(QStringLiteral("guarded.db"));
        QVERIFY(QFile::copy(m_db, db));
        const auto digest = [&db] {
            QFile f(db);
            return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
        };
        const QByteArray before = digest();
        const QString copy = m_dir.filePath(QStringLiteral("stolen.db"));
        Connection c;
        QVERIFY(c.Open(QStringLiteral("Data Source=") + db).ok());
        const QStringList writing = {
            QStringLiteral("DROP TABLE Customers"),
            QStringLiteral("UPDATE Products SET UnitPrice = 0 RETURNING ProductName"),
            QStringLiteral("VACUUM INTO '%1'").arg(copy),
            QStringLiteral("PRAGMA user_version = 7"),
            QStringLiteral("ATTACH '%1' AS other").arg(copy),
            QStringLiteral("SELECT 1; DELETE FROM Shippers"),
            QStringLiteral("WITH x AS (SELECT 1) DELETE FROM Shippers"),
            QStringLiteral("SELECT * INTO Copy FROM Shippers"),
            QStringLiteral("BEGIN IMMEDIATE"),
        };
        for (const QString &sql : writing) {
            Status status;
            QVERIFY2(!c.Execute(sql, &status), qPrintable(sql));
            QCOMPARE(status.number(), -2147217911);
            QVERIFY2(status.description().contains(QLatin1String("read-only")) && status.description().contains(sql),
                     qPrintable(status.description()));
        }
        // Reads stay free, words inside literals, names and comments too.
        Status status;
        auto rs = c.Execute(QStringLiteral("SELECT 'DROP TABLE x; DELETE' AS [Update], count(*) FROM Shippers -- delete\n;"), &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QCOMPARE(rs->value(0).toString(), QStringLiteral("DROP TABLE x; DELETE"));
        rs.reset();

        // Past the statement check, SQLite's own read-only mode refuses.
        auto *driver = static_cast<SqliteDriver *>(c.driver());
        for (const char *sql : {"DELETE FROM Shippers", "ATTACH 'x.db' AS x", "PRAGMA journal_mode = DELETE", "VACUUM"})
            QVERIFY2(!driver->executeNative(QString::fromLatin1(sql), &status), sql);
        c.Close();
        QCOMPARE(digest(), before);
        QVERIFY(!QFile::exists(copy));

        // A connection allowed to write does.
        Connection writer;
        writer.setAllowWrites(true);
        QVERIFY(writer.Open(QStringLiteral("Data Source=") + db).ok());
        QVERIFY(writer.Execute(QStringLiteral("DELETE FROM Shippers"), &status));
        QVERIFY(digest() != before);

        QCOMPARE(writingPartOf(QStringLiteral("  /* x */ (SELECT 1) UNION SELECT \"delete\" FROM `drop` ;  -- done")), QString());
        QVERIFY(!writingPartOf(QStringLiteral("SELECT * FROM t FOR UPDATE")).isEmpty());
        QVERIFY(writingPartOf(QStringLiteral("SELECT * FROM t FOR SHARE")).contains(QLatin1String("FOR SHARE")));
        QVERIFY(writingPartOf(QStringLiteral("SELECT $$ ; $$; DROP TABLE t")).contains(QLatin1String("more than one")));
        QVERIFY(!writingPartOf(QStringLiteral("   ")).isEmpty());
        // A literal that ends elsewhere where backslashes escape.
        QVERIFY(!writingPartOf(QStringLiteral("SELECT 'a\\'' ; DROP TABLE t -- '")).isEmpty());
        QCOMPARE(writingPartOf(QStringLiteral("SELECT 'C:\\data\\', 'it''s'")), QString());
    }

    void recordsetMoves()
    {
        Connection c;
        QVERIFY(c.Open(QStringLiteral("Data Source=") + m_db).ok());
        Status status;
        auto rs = c.Execute(QStringLiteral("SELECT ShipperID, CompanyName FROM Shippers ORDER BY ShipperID"), &status);
        QVERIFY(rs);
        QVERIFY(!rs->atEnd());
        QCOMPARE(rs->fields()->count(), 2);
        QCOMPARE(rs->fields()->Item(QStringLiteral("companyname"))->value().toString(), QStringLiteral("Speedy Express"));
        QCOMPARE(rs->fields()->Item(0)->value().toInt(), 1);
        QVERIFY(!rs->fields()->Item(QStringLiteral("Nope")));
        rs->MoveNext();
        const auto rows = rs->getRows(-1); // the rest, from the current row
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[0].at(1).toString(), QStringLiteral("United Package"));
        QVERIFY(rs->atEnd());
        rs->MoveNext();
        QCOMPARE(rs->lastError().number(), 3021);
        rs->MoveFirst(); // runs the statement again
        QVERIFY(!rs->atEnd());
        QCOMPARE(rs->value(0).toInt(), 1);
        QCOMPARE(rs->getRows(2).size(), size_t(2));

        auto none = c.Execute(QStringLiteral("SELECT * FROM Shippers WHERE 0"), &status);
        QVERIFY(none && none->atEnd());
        QCOMPARE(none->fields()->count(), 3);
        // A run-time error while stepping reaches the caller.
        auto bad = c.Execute(QStringLiteral("SELECT abs(-9223372036854775807 - 1)"), &status);
        QVERIFY(!bad);
        QVERIFY(status.description().contains(QStringLiteral("integer overflow")));
    }

    void jetFunctionsInSql()
    {
        Connection c;
        QVERIFY(c.Open(QStringLiteral("Data Source=") + m_db).ok());
        Status status;
        auto rs = c.Execute(QStringLiteral("SELECT Left('Tesserane', 4), Right('Tesserane', 3), Mid('Tesserane', 3, 4), Mid('ab', 5), "
                                           "Len('报表'), InStr('abcabc', 'C'), InStr(4, 'abcabc', 'c'), UCase('a'), Nz(NULL, 'z'), "
                                           "Year('2024-03-05 10:00:00'), DatePart('q', '2024-08-01'), "
                                           "DateAdd('m', 1, '2024-01-31'), DateDiff('d', '2024-01-01', '2024-03-01'), "
                                           "CInt(2.5), CInt(3.5), CLng(-2.5), CCur(1.23456), Val('12.5 kg'), Left(NULL, 2), "
                                           "Format(1234.5, '#,##0.00'), Format('2024-03-05 10:00:00', 'mmmm yyyy'), "
                                           "Format(NULL, '0'), Format(0.25, 'Percent')"),
                            &status);
        QVERIFY2(rs, qPrintable(status.description()));
        const QVariantList expected = {QStringLiteral("Tess"), QStringLiteral("ane"), QStringLiteral("sser"), QString(), 2, 3, 6,
                                       QStringLiteral("A"), QStringLiteral("z"), 2024, 3, QStringLiteral("2024-02-29 00:00:00"),
                                       60, 2, 4, -2, 1.2346, 12.5, QVariant(),
                                       QStringLiteral("1,234.50"), QStringLiteral("March 2024"), QVariant(),
                                       QStringLiteral("25.00%")};
        for (int i = 0; i < int(expected.size()); ++i)
            QVERIFY2(expected[i].isValid() ? rs->value(i) == expected[i] || rs->value(i).toString() == expected[i].toString()
                                           : !rs->value(i).isValid(),
                     qPrintable(QStringLiteral("%1: %2").arg(i).arg(rs->value(i).toString())));
    }

    void sampleDatabaseIsDeterministic()
    {
        const QString second = m_dir.filePath(QStringLiteral("again.db"));
        QVERIFY(createSampleDatabase(second, 1).ok());
        const auto digest = [](const QString &path) {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        };
        QCOMPARE(digest(second), digest(m_db));

        Connection c;
        QVERIFY(c.Open(QStringLiteral("Data Source=") + m_db).ok());
        Status status;
        auto rs = c.Execute(QStringLiteral("SELECT (SELECT count(*) FROM Orders), (SELECT count(*) FROM [Order Details]), "
                                           "(SELECT count(*) FROM Customers WHERE Region IS NULL), "
                                           "(SELECT count(*) FROM Orders WHERE ShippedDate IS NULL), "
                                           "(SELECT hex(substr(Picture, 1, 4)) FROM Products LIMIT 1), "
                                           "(SELECT 地区名称 FROM 地区 WHERE 地区编号 = 1), "
                                           "(SELECT count(*) FROM [Order Details] d LEFT JOIN Orders o ON o.OrderID = d.OrderID "
                                           " WHERE o.OrderID IS NULL)"),
                            &status);
        QVERIFY2(rs, qPrintable(status.description()));
        QCOMPARE(rs->value(0).toInt(), 4000);
        QVERIFY(rs->value(1).toInt() > 8000 && rs->value(1).toInt() < 12000);
        QVERIFY(rs->value(2).toInt() > 0);
        QVERIFY(rs->value(3).toInt() > 0);
        QCOMPARE(rs->value(4).toString(), QStringLiteral("89504E47")); // PNG pictures
        QCOMPARE(rs->value(5).toString(), QStringLiteral("华东"));
        QCOMPARE(rs->value(6).toInt(), 0); // every line belongs to an order

        QCOMPARE(createSampleDatabase(second, 0).number(), 380);
        QCOMPARE(createSampleDatabase(m_dir.filePath(QStringLiteral("no/such/dir.db")), 1).number(), 75);
        // A cancelled generation leaves neither the file nor its temporary.
        const QString cancelled = m_dir.filePath(QStringLiteral("cancelled.db"));
        QVERIFY(!createSampleDatabase(cancelled, 1, [](int percent) { return percent < 20; }).ok());
        QVERIFY(!QFile::exists(cancelled));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral(".cancelled.db.part"))));
    }

    // A report's data control, found in section order, names what the run
    // reads; relative files resolve beside the report, DAO controls read
    // Access files, and missing pieces are reported, not guessed.
    void reportDataControls()
    {
        Report report;
        QVERIFY(!findDataControl(report));
        Section *detail = report.sections()->Item(QStringLiteral("Detail"));
        QVERIFY(detail);
        auto *dc = qobject_cast<DataControl *>(detail->controls()->Add(QStringLiteral("OrvEngine.DataControl")));
        QVERIFY(dc);
        QCOMPARE(findDataControl(report), dc);

        Status status;
        dataSourceOf(*dc, m_dir.path(), QString(), &status);
        QCOMPARE(status.number(), 3709);

        dc->setConnectionString(QStringLiteral("Data Source=tesserane.db"));
        dc->setSource(QStringLiteral("SELECT [CompanyName] FROM [Customers] WHERE [Country] = 'Germany' ORDER BY 1"));
        ReportDataSource source = dataSourceOf(*dc, m_dir.path(), QString(), &status);
        QVERIFY2(status.ok(), qPrintable(status.description()));
        QVERIFY(source.connectionString.contains(m_db));
        ReportData data;
        status = data.open(source);
        QVERIFY2(status.ok(), qPrintable(status.description()));
        int rows = 0;
        for (; !data.recordset()->atEnd(); data.recordset()->MoveNext())
            ++rows;
        QVERIFY(rows > 0);
        data.close();
        QCOMPARE(data.connection().state(), int(Connection::adStateClosed));

        // A relative file that is nowhere is reported with the path beside the report.
        dc->setConnectionString(QStringLiteral("Data Source=missing.db"));
        status = data.open(dataSourceOf(*dc, m_dir.path(), QString(), nullptr));
        QVERIFY(status.description().contains(QStringLiteral("'") + m_dir.filePath(QStringLiteral("missing.db")) + QStringLiteral("'")));
        // A server's Data Source is a host name, never a file beside the report.
        const QString server = QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1;Initial Catalog=sales");
        dc->setConnectionString(server);
        QCOMPARE(dataSourceOf(*dc, m_dir.path(), QString(), nullptr).connectionString, server);

        // The converted-report template points at whatever database the run names.
        dc->setConnectionString(QStringLiteral("Provider=SQLite;Data Source=$fulldbpath$"));
        source = dataSourceOf(*dc, QString(), m_db, &status);
        QCOMPARE(source.connectionString, QStringLiteral("Provider=SQLite;Data Source=") + m_db);

        // A broken statement fails the open with the statement in the message.
        dc->setSource(QStringLiteral("SELECT nothing FROM nowhere"));
        status = data.open(dataSourceOf(*dc, QString(), m_db, nullptr));
        QVERIFY(!status.ok());
        QVERIFY(status.description().contains(QStringLiteral("nowhere")));

        QCOMPARE(statementFor(QStringLiteral("Order Details")), QStringLiteral("select * from [Order Details]"));
        QCOMPARE(statementFor(QStringLiteral("[Order Details]")), QStringLiteral("select * from [Order Details]"));
        QCOMPARE(statementFor(QStringLiteral("  Select 1")), QStringLiteral("  Select 1"));
        QCOMPARE(statementFor(QStringLiteral("Selections")), QStringLiteral("select * from [Selections]"));

        auto *dao = qobject_cast<DAODataControl *>(detail->controls()->Add(QStringLiteral("OrvEngine.DAODataControl")));
        dao->setDatabaseName(QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"));
        dao->setRecordSource(QStringLiteral("Shippers"));
        source = dataSourceOf(*dao, QString(), QString(), &status);
        QVERIFY(status.ok());
        qputenv("ORVREPORT_CACHE_DIR", m_dir.filePath(QStringLiteral("cache")).toLocal8Bit());
        status = data.open(source);
        QVERIFY2(status.ok(), qPrintable(status.description()));
        QVERIFY(data.recordset()->fields()->Item(QStringLiteral("CompanyName")));
        QVERIFY(!data.recordset()->atEnd());
    }
};

QTEST_GUILESS_MAIN(TestDataAccess)
#include "tst_dataaccess.moc"
