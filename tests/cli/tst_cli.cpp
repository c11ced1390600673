#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "clirunner.h"

namespace {

using Result = TestSupport::CliResult;

Result cli(const QStringList &args)
{
    return TestSupport::runCli(args);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpVersionAndUsage()
    {
        Result r = cli({QStringLiteral("--help")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains(QStringLiteral("info <layout.rpx>")));
        r = cli({QStringLiteral("--version")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("orvreport-cli " ORV_VERSION)));

        for (const QStringList &bad : {QStringList{}, QStringList{QStringLiteral("frobnicate")},
                                       QStringList{QStringLiteral("info")},
                                       QStringList{QStringLiteral("info"), QStringLiteral("a"), QStringLiteral("b")}}) {
            r = cli(bad);
            QVERIFY2(r.code == 2, qPrintable(bad.join(u' ')));
            QVERIFY(r.err.contains(QStringLiteral("usage: orvreport-cli")));
            QVERIFY(r.out.isEmpty());
        }
    }

    void infoListsSectionsAndControls()
    {
        const Result r = cli({QStringLiteral("info"), QStringLiteral(ORV_SOURCE_DIR "/examples/customer-list.rpx")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains(QStringLiteral("Document name: Customers by Country")));
        QVERIFY(r.out.contains(QStringLiteral("Sections: 7, controls: 18")));
        QVERIFY(r.out.contains(QStringLiteral("  ghCountry (group header), height 480, group on Country\n")));
        QVERIFY(r.out.contains(QStringLiteral("    lnTitle  Line  at 0, 780 size 10080 x 0  from (0, 780) to (10080, 780)\n")));
        QVERIFY(r.out.contains(QStringLiteral("    fldCity  Field  at 7440, 15 size 1800 x 300  data City\n")));
    }

    void propertyTablesMatchTheDocumentation()
    {
        const Result r = cli({QStringLiteral("properties")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains(QStringLiteral("| Font.Bold | Boolean | false |  |")));
        QFile doc(QStringLiteral(ORV_SOURCE_DIR "/docs/model.md"));
        QVERIFY(doc.open(QIODevice::ReadOnly));
        // docs/model.md ends with this output; regenerate it when properties change.
        QVERIFY2(QString::fromUtf8(doc.readAll()).endsWith(r.out), "docs/model.md is out of date");
    }

    void infoOnABadFileSaysWhereAndFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.rpx"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<OrvReportLayout version=\"1\">\n<Report>\n<Section Type=\"6\" Height=\"tall\"/>");
        f.close();
        Result r = cli({QStringLiteral("info"), path});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(path + QStringLiteral(", line 3, column ")), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("\"tall\"")));

        r = cli({QStringLiteral("info"), dir.filePath(QStringLiteral("none.rpx"))});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("file not found")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
