// orvreport-cli run: outputs, exit codes and messages.

#include "runfixture.h"

#include "engine/pages/pagecollection.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "clirunner.h"

#include <poppler-qt6.h>

using namespace RunTest;

namespace {

using Outcome = TestSupport::CliResult;

Outcome cli(const QStringList &args)
{
    return TestSupport::runCli(args);
}

const QString example = QStringLiteral(ORV_SOURCE_DIR "/examples/invoices.rpx");

} // namespace

class TestRunCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesPdfAndArchive()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("invoices.pdf"));
        const Outcome r = cli({QStringLiteral("run"), example, QStringLiteral("-o"), pdf, QStringLiteral("--connection"), connection()});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.startsWith(QStringLiteral("Wrote 40 pages (40 rows) to ") + pdf));
        QVERIFY(r.err.contains(QStringLiteral("Page 40, 40 rows")));
        const auto doc = Poppler::Document::load(pdf);
        QVERIFY(doc);
        QCOMPARE(doc->numPages(), 40);

        const QString rdf = dir.filePath(QStringLiteral("invoices.rdf"));
        QCOMPARE(cli({QStringLiteral("run"), example, QStringLiteral("-o"), rdf, QStringLiteral("--connection"), connection()}).code, 0);
        Orv::PageCollection pages;
        QVERIFY(pages.Load(rdf).ok());
        QCOMPARE(pages.Count(), 40);
    }

    void parametersReachTheStatement()
    {
        QTemporaryDir dir;
        QFile layout(dir.filePath(QStringLiteral("one.rpx")));
        QVERIFY(layout.open(QIODevice::WriteOnly));
        layout.write(layoutXml(QStringLiteral(R"(<Section Type="6" Name="Detail">
  <Control Type="OrvEngine.Field" Name="fldName" DataField="CompanyName"/>
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT CompanyName FROM Customers WHERE Country = :country AND Active = :active"/></Section>)")));
        layout.close();
        const QString out = dir.filePath(QStringLiteral("one.rdf"));
        const Outcome r = cli({QStringLiteral("run"), layout.fileName(), QStringLiteral("-o"), out, QStringLiteral("--param"),
                               QStringLiteral("country=France"), QStringLiteral("--param"), QStringLiteral("active=1")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const int rows = sqlValue(QStringLiteral("SELECT count(*) FROM Customers WHERE Country = 'France' AND Active = 1")).toInt();
        QVERIFY(rows > 0);
        QVERIFY(r.out.contains(QStringLiteral("(%1 rows)").arg(rows)));
    }

    // Mirrored margins: a 2 inch left and half inch right margin swap on
    // even pages, read back from the PDF with pdftotext's word boxes.
    void mirrorMarginsSwapOnEvenPages()
    {
        QTemporaryDir dir;
        const auto markerLefts = [&](bool mirror) {
            const QString name = mirror ? QStringLiteral("on") : QStringLiteral("off");
            QFile layout(dir.filePath(name + QStringLiteral(".rpx")));
            if (!layout.open(QIODevice::WriteOnly))
                return QList<double>();
            layout.write(layoutXml(QStringLiteral(R"(<PageSettings LeftMargin="2880" RightMargin="720" MirrorMargins="%1"/>
<Section Type="2" Name="PH" Height="400"><Control Type="OrvEngine.Label" Name="lblMark" Width="2000" Caption="Marker"/></Section>
<Section Type="6" Name="Detail" Height="300" NewPage="2">
  <Control Type="OrvEngine.Field" Name="fldName" Left="200" Width="3000" DataField="CompanyName"/>
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT CompanyName FROM Customers ORDER BY CustomerID LIMIT 3"/></Section>)")
                                       .arg(mirror ? QStringLiteral("true") : QStringLiteral("false")),
                                   QStringLiteral("PrintWidth=\"8000\"")));
            layout.close();
            const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
            const Outcome r = cli({QStringLiteral("run"), layout.fileName(), QStringLiteral("-o"), pdf});
            if (r.code != 0)
                qWarning("%s", qPrintable(r.err));
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
            text.waitForFinished(60000);
            // One <page> element per page; the marker's xMin on each.
            QList<double> lefts;
            const QString html = QString::fromUtf8(text.readAllStandardOutput());
            static const QRegularExpression page(QStringLiteral("<page [^>]*>(.*?)</page>"),
                                                 QRegularExpression::DotMatchesEverythingOption);
            static const QRegularExpression marker(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>Marker</word>"));
            for (auto it = page.globalMatch(html); it.hasNext();) {
                const auto m = marker.match(it.next().captured(1));
                lefts << (m.hasMatch() ? m.captured(1).toDouble() : -1);
            }
            return lefts;
        };
        // Points: the margins differ by 1.5 inches.
        const QList<double> on = markerLefts(true);
        QCOMPARE(on.size(), 3);
        QVERIFY2(std::abs(on[0] - 144) < 2, qPrintable(QString::number(on[0])));
        QVERIFY2(std::abs((on[0] - on[1]) - 108) < 0.5, qPrintable(QStringLiteral("%1 %2").arg(on[0]).arg(on[1])));
        QCOMPARE(on[2], on[0]);
        const QList<double> off = markerLefts(false);
        QCOMPARE(off.size(), 3);
        QCOMPARE(off[0], on[0]);
        QCOMPARE(off[1], off[0]);
        QCOMPARE(off[2], off[0]);
    }

    void exitCodesSayWhatWentWrong()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("x.pdf"));
        // Usage: 2, and nothing is written.
        for (const QStringList &args : {QStringList{QStringLiteral("run")}, QStringList{QStringLiteral("run"), example},
                                        QStringList{QStringLiteral("run"), example, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.docz"))},
                                        QStringList{QStringLiteral("run"), example, QStringLiteral("-o"), out, QStringLiteral("--param"), QStringLiteral("novalue")}}) {
            const Outcome r = cli(args);
            QCOMPARE(r.code, 2);
            QVERIFY(!r.err.isEmpty());
        }
        // Failures: 1, with the reason.
        const Outcome missing = cli({QStringLiteral("run"), dir.filePath(QStringLiteral("none.rpx")), QStringLiteral("-o"), out});
        QCOMPARE(missing.code, 1);
        QVERIFY(missing.err.contains(QStringLiteral("none.rpx")));
        const Outcome noData = cli({QStringLiteral("run"), example, QStringLiteral("-o"), out, QStringLiteral("--connection"),
                                    QStringLiteral("Provider=SQLite;Data Source=") + dir.filePath(QStringLiteral("absent/nothing.db"))});
        QCOMPARE(noData.code, 1);
        QVERIFY(noData.err.contains(QStringLiteral("nothing.db")));
        QVERIFY(!QFile::exists(out));
    }

    void optionsAreCheckedAgainstTheFiltersList()
    {
        QTemporaryDir dir;
        const QString tif = dir.filePath(QStringLiteral("x.tif"));
        // Before the report runs: an unknown name, then a value out of range.
        Outcome r = cli({QStringLiteral("run"), example, QStringLiteral("-o"), tif, QStringLiteral("--option"), QStringLiteral("Quality=9")});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(QStringLiteral("no setting \"Quality\" (it has Resolution, ColorDepth, Compression)")), qPrintable(r.err));
        QVERIFY(!r.err.contains(QStringLiteral("Page ")));
        r = cli({QStringLiteral("run"), example, QStringLiteral("-o"), tif, QStringLiteral("--option"), QStringLiteral("ColorDepth=16")});
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("not one of 1, 8, 24")));
        QVERIFY(!QFile::exists(tif));
        // The same list, printed.
        r = cli({QStringLiteral("export-settings"), QStringLiteral("tiff")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("TIFF (.tif, .tiff)")));
        QVERIFY(r.out.contains(QStringLiteral("Compression")));
        QVERIFY(r.out.contains(QStringLiteral("None, CCITT3, CCITT4, LZW, PackBits, or 0-4; default LZW")));
        QCOMPARE(cli({QStringLiteral("export-settings"), QStringLiteral("docx")}).code, 2);
    }
};

QTEST_MAIN(TestRunCommand)
#include "tst_runcommand.moc"
