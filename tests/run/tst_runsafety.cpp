// Layouts from other people run without harm: their data stays as it is,
// outputs never destroy files, subreports and scripts stay within bounds,
// and a run that went wrong writes nothing and says so.

#include "runfixture.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/run/reportrun.h"
#include "engine/script/host.h"
#include "engine/script/runhost.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "clirunner.h"

#include <csignal>
#include <sys/resource.h>

using namespace RunTest;

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

// A layout on the database db: a detail of one field over statement sql,
// with the report's attributes and an optional subreport.
QString layout(const QString &db, const QString &sql, const QString &report = {}, const QString &subreport = {})
{
    const QString sub = subreport.isEmpty() ? QString()
                                            : QStringLiteral(R"(<Control Type="OrvEngine.SubReport" Name="sub" Top="300" Width="4000" Height="300" ReportName="%1"/>)")
                                                  .arg(subreport);
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<OrvReportLayout version="1"><Report %1>
<Section Type="0" Name="RH" Height="0"><Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="%2" Source="%3"/></Section>
<Section Type="6" Name="Detail" Height="600"><Control Type="OrvEngine.Field" Name="fld" Width="3000" DataField="CompanyName"/>%4</Section>
</Report></OrvReportLayout>
)").arg(report, (QStringLiteral("Data Source=") + db).toHtmlEscaped(), sql.toHtmlEscaped(), sub);
}

QString script(const QString &code)
{
    QString attribute = code.toHtmlEscaped();
    attribute.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    return QStringLiteral("Script=\"%1\"").arg(attribute);
}

const QString customers = QStringLiteral("SELECT CompanyName FROM Customers ORDER BY CustomerID LIMIT 3");

} // namespace

class TestRunSafety : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

    TestSupport::CliResult cli(QStringList args) { return TestSupport::runCli(args); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = path(QStringLiteral("data.db"));
        QVERIFY(QFile::copy(databasePath(), m_db));
        QFile::setPermissions(m_db, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void dataIsReadOnlyUnlessTheLayoutAndTheRunAllowWrites()
    {
        const QByteArray before = digest(m_db);
        const QString out = path(QStringLiteral("out.pdf"));
        writeFile(path(QStringLiteral("drop.rpx")), layout(m_db, QStringLiteral("DROP TABLE Customers")));
        auto r = cli({QStringLiteral("run"), path(QStringLiteral("drop.rpx")), QStringLiteral("-o"), out});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("read-only")), qPrintable(r.err));

        // Scripts that open the report's connection, or any other, read only too.
        const QString deleting = script(QStringLiteral(
            "Sub Report_ReportStart\n"
            "  Set cn = CreateObject(\"ADODB.Connection\")\n"
            "  cn.Open rpt.dc.Connection\n"
            "  cn.Execute \"DELETE FROM Products\"\n"
            "  Set rs = CreateObject(\"ADODB.Recordset\")\n"
            "  rs.Open \"VACUUM INTO '%1'\", rpt.dc\n"
            "End Sub").arg(path(QStringLiteral("copy.db"))));
        writeFile(path(QStringLiteral("script.rpx")), layout(m_db, customers, deleting));
        r = cli({QStringLiteral("run"), path(QStringLiteral("script.rpx")), QStringLiteral("-o"), out});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("-2147217911")), qPrintable(r.err));
        // Asking in the layout alone, or on the command line alone, is not enough.
        writeFile(path(QStringLiteral("asks.rpx")), layout(m_db, customers, deleting + QStringLiteral(" AllowWrites=\"true\"")));
        r = cli({QStringLiteral("run"), path(QStringLiteral("asks.rpx")), QStringLiteral("-o"), out});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QLatin1String("--allow-writes")));
        r = cli({QStringLiteral("run"), path(QStringLiteral("script.rpx")), QStringLiteral("-o"), out, QStringLiteral("--allow-writes")});
        QCOMPARE(r.code, 1);
        QCOMPARE(digest(m_db), before);
        QVERIFY(!QFile::exists(out) && !QFile::exists(path(QStringLiteral("copy.db"))));

        // Both: the script deletes (on a copy of the database).
        const QString scratch = path(QStringLiteral("scratch.db"));
        QVERIFY(QFile::copy(m_db, scratch));
        writeFile(path(QStringLiteral("writes.rpx")),
                  layout(scratch, customers, QStringLiteral("AllowWrites=\"true\" ") + script(QStringLiteral(
                      "Sub Report_ReportStart\n  Set cn = CreateObject(\"ADODB.Connection\")\n"
                      "  cn.Open rpt.dc.Connection\n  cn.Execute \"DELETE FROM Products\"\nEnd Sub"))));
        r = cli({QStringLiteral("run"), path(QStringLiteral("writes.rpx")), QStringLiteral("-o"), out, QStringLiteral("--allow-writes")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(digest(scratch) != digest(m_db));
        QFile::remove(out);
    }

    void outputsNeverReplaceInputsOrOldFiles()
    {
        writeFile(path(QStringLiteral("inner.rpx")), layout(m_db, customers));
        const QString main = path(QStringLiteral("main.rpx"));
        writeFile(main, layout(m_db, customers, {}, QStringLiteral("inner.rpx")));
        const QString link = path(QStringLiteral("link.pdf"));
        QVERIFY(QFile::link(main, link));
        const QByteArray layoutBefore = digest(main), dbBefore = digest(m_db);
        for (const QString &target : {main, path(QStringLiteral("inner.rpx")), m_db, link}) {
            const auto r = cli({QStringLiteral("run"), main, QStringLiteral("-o"), target});
            QCOMPARE(r.code, 2);
            QVERIFY2(r.err.contains(QLatin1String("refusing")), qPrintable(r.err));
        }
        QCOMPARE(digest(main), layoutBefore);
        QCOMPARE(digest(m_db), dbBefore);
        QVERIFY(QFileInfo(link).isSymLink());

        // A full disk while the archive is saved: the old archive stays.
        const QString old = path(QStringLiteral("old.rdf"));
        writeFile(old, QStringLiteral("old"));
        QProcess p;
        p.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{1000, 1000};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        writeFile(path(QStringLiteral("big.rpx")), layout(m_db, QStringLiteral("SELECT CompanyName FROM Customers"), {}, QStringLiteral("inner.rpx")));
        p.start(QStringLiteral(ORV_CLI_PATH), {QStringLiteral("run"), path(QStringLiteral("big.rpx")), QStringLiteral("-o"), old});
        QVERIFY(p.waitForFinished(120000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), 1);
        QVERIFY2(err.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(err));
        QVERIFY(!p.readAllStandardOutput().contains("Wrote"));
        QCOMPARE(QFile(old).size(), 3);
        const QStringList hidden = QDir(m_dir.path()).entryList({QStringLiteral(".*.tmp")}, QDir::Hidden | QDir::Files);
        QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(' ')));
    }

    void subreportsAndScriptsStayWithinBounds()
    {
        const QString out = path(QStringLiteral("bounded.rdf"));
        // A layout showing itself, and a -> b -> a: error 28 at once.
        writeFile(path(QStringLiteral("self.rpx")), layout(m_db, customers, {}, QStringLiteral("self.rpx")));
        writeFile(path(QStringLiteral("a.rpx")), layout(m_db, customers, {}, QStringLiteral("b.rpx")));
        writeFile(path(QStringLiteral("b.rpx")), layout(m_db, customers, {}, QStringLiteral("a.rpx")));
        for (const char *name : {"self.rpx", "a.rpx"}) {
            const auto r = cli({QStringLiteral("run"), path(QString::fromLatin1(name)), QStringLiteral("-o"), out});
            QCOMPARE(r.code, 1);
            QVERIFY2(r.err.contains(QLatin1String("error 28")) && r.err.contains(QLatin1String("already running")), qPrintable(r.err));
            QVERIFY(!r.err.contains(QLatin1String("nest more than")));
            QVERIFY(!QFile::exists(out));
        }

        // The run's budgets end loops spread over events and dictionaries
        // that fill memory, and On Error Resume Next cannot hold them.
        writeFile(path(QStringLiteral("loop.rpx")),
                  layout(m_db, QStringLiteral("SELECT CompanyName FROM Customers"),
                         script(QStringLiteral("Sub Detail_Format\n On Error Resume Next\n n = 0\n Do While n < 50000 : n = n + 1 : Loop\nEnd Sub"))));
        auto r = cli({QStringLiteral("run"), path(QStringLiteral("loop.rpx")), QStringLiteral("-o"), out, QStringLiteral("--script-steps"),
                      QStringLiteral("400000")});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("run's step budget")), qPrintable(r.err));
        writeFile(path(QStringLiteral("dictionary.rpx")),
                  layout(m_db, customers, script(QStringLiteral(
                      "Sub Report_ReportStart\n On Error Resume Next\n Set d = CreateObject(\"Scripting.Dictionary\")\n"
                      " For i = 1 To 100000000 : d.Add i, String(50, \"x\") : Next\nEnd Sub"))));
        r = cli({QStringLiteral("run"), path(QStringLiteral("dictionary.rpx")), QStringLiteral("-o"), out, QStringLiteral("--script-memory"),
                 QStringLiteral("64")});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("memory budget")), qPrintable(r.err));
        QVERIFY(!QFile::exists(out));
    }

    void incompleteRunsWriteNothing()
    {
        // Margins no page holds: the run reports an error, exit 1, no file,
        // and no progress line that claims pages.
        const QString out = path(QStringLiteral("margins.pdf"));
        QString text = layout(m_db, customers);
        text.replace(QLatin1String("<Section Type=\"0\""),
                     QLatin1String("<PageSettings TopMargin=\"20000000\" BottomMargin=\"20000000\"/><Section Type=\"0\""));
        writeFile(path(QStringLiteral("margins.rpx")), text);
        const auto r = cli({QStringLiteral("run"), path(QStringLiteral("margins.rpx")), QStringLiteral("-o"), out});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("nothing was written")), qPrintable(r.err));
        QVERIFY(!r.out.contains(QLatin1String("Wrote")));
        QVERIFY(!QFile::exists(out));
    }

    // Layouts made of hostile parts in random mixes: every run ends within
    // its budgets and leaves the database as it was.
    void hostileMixesDoNoHarm()
    {
        const QStringList statements = {customers, QStringLiteral("DELETE FROM Customers RETURNING CompanyName"),
                                        QStringLiteral("SELECT CompanyName FROM Customers; DROP TABLE Orders"),
                                        QStringLiteral("PRAGMA writable_schema = 1"), QStringLiteral("ATTACH 'x.db' AS x"),
                                        QStringLiteral("SELECT CompanyName FROM Customers WHERE CustomerID IN (SELECT CustomerID FROM Orders)")};
        const QStringList subreports = {{}, QStringLiteral("m0.rpx"), QStringLiteral("m1.rpx"), QStringLiteral("missing.rpx"),
                                        QStringLiteral("../") + QFileInfo(m_dir.path()).fileName() + QStringLiteral("/m0.rpx")};
        const QStringList scripts = {
            {},
            QStringLiteral("Sub Detail_Format : Do : Loop : End Sub"),
            QStringLiteral("Sub Report_ReportStart\n Set d = CreateObject(\"Scripting.Dictionary\")\n Do : d.Add d.Count, Space(200) : Loop\nEnd Sub"),
            QStringLiteral("Sub F(n) : F n + 1 : End Sub\nSub Report_ReportStart : F 0 : End Sub"),
            QStringLiteral("Sub Report_ReportStart\n On Error Resume Next\n Set c = CreateObject(\"ADODB.Connection\")\n"
                           " c.Open rpt.dc.Connection\n c.Execute \"UPDATE Customers SET CompanyName = 'x'\"\n c.Execute \"VACUUM INTO 'v.db'\"\nEnd Sub"),
            QStringLiteral("Sub Detail_Format\n Do : s = s & \"xxxxxxxxxx\" : Loop\nEnd Sub"),
        };
        const QByteArray before = digest(m_db);
        QRandomGenerator random(29);
        const auto pick = [&random](const QStringList &list) { return list[int(random.bounded(quint32(list.size())))]; };
        for (int round = 0; round < 24; ++round) {
            for (int i = 0; i < 2; ++i) {
                const QString code = pick(scripts);
                writeFile(path(QStringLiteral("m%1.rpx").arg(i)),
                          layout(m_db, pick(statements), code.isEmpty() ? QString() : script(code), pick(subreports)));
            }
            Orv::Report report;
            QVERIFY(Orv::LoadLayout(report, path(QStringLiteral("m0.rpx"))).ok());
            Orv::ReportRun run(&report);
            run.setReportFolder(m_dir.path());
            run.setLayoutPath(path(QStringLiteral("m0.rpx")));
            Orv::Script::Host host;
            host.setStepBudget(200000);
            host.setRunBudget(1000000, qint64(256) << 20);
            Orv::Script::RunHost scripting(host);
            run.setScripting(&scripting);
            std::ignore = run.Run(false); // the budget stops it: what it made is checked below
            QVERIFY(run.isFinished());
            QVERIFY2(run.pageCount() < 50, qPrintable(QString::number(run.pageCount())));
        }
        QCOMPARE(digest(m_db), before);
        QVERIFY(!QFile::exists(path(QStringLiteral("v.db"))) && !QFile::exists(QStringLiteral("v.db")));
    }
};

QTEST_MAIN(TestRunSafety)
#include "tst_runsafety.moc"
