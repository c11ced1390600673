// Banding: pages, page headers and footers, groups, keep-together, new
// pages, columns, growing text, page numbers, cancelling. Runs read the
// sample database; assertions look at the operations on each page.

#include "runfixture.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/run/runpagesource.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <map>
#include <set>

using namespace Orv;
using namespace RunTest;

namespace {

const QString pageSections = QStringLiteral(R"(
<PageSettings TopMargin="720" BottomMargin="720"/>
<Section Type="2" Name="PH" Height="400"><Control Type="OrvEngine.Label" Name="lblH" Width="2000" Caption="HEADER"/></Section>
<Section Type="3" Name="PF" Height="400"><Control Type="OrvEngine.Label" Name="lblF" Width="2000" Caption="FOOTER"/></Section>
)");
constexpr double FooterTop = 15840 - 720 - 400;
constexpr double BodyTop = 720 + 400;
constexpr double Left = 1440; // the left margin

QString dataControl(const QString &sql)
{
    return QStringLiteral(R"(<Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="%1"/>)")
        .arg(sql.toHtmlEscaped());
}

// The country list report: groups by country, details with a growing name.
QString countryReport(const QString &headerAttributes, int limit)
{
    return pageSections + QStringLiteral(R"(
<Section Type="4" Name="ghCountry" Height="500" DataField="Country" %1>
  <Control Type="OrvEngine.Field" Name="fldGH" Left="100" Width="3000" DataField="Country"/></Section>
<Section Type="6" Name="Detail" Height="300">
  <Control Type="OrvEngine.Field" Name="fldName" Left="1000" Width="1300" DataField="CompanyName" CanGrow="true"/>
  <Control Type="OrvEngine.Field" Name="fldCountry" Left="6000" Width="2000" DataField="Country"/>
  %2</Section>
<Section Type="5" Name="gfCountry" Height="400"><Control Type="OrvEngine.Label" Name="lblGF" Left="100" Width="2000" Caption="END"/></Section>
)").arg(headerAttributes, dataControl(QStringLiteral("SELECT c.CompanyName, c.Country FROM Orders o JOIN Customers c ON c.CustomerID = o.CustomerID ORDER BY c.Country, o.OrderID LIMIT %1").arg(limit)));
}

std::vector<Text> body(const Page &page)
{
    std::vector<Text> out;
    for (const Text &t : texts(page)) {
        if (t.text != QLatin1String("HEADER") && t.text != QLatin1String("FOOTER"))
            out.push_back(t);
    }
    return out;
}

QStringList sqlTexts(const QString &sql)
{
    QStringList out;
    for (const QVariant &v : sqlColumn(sql))
        out << v.toString();
    return out;
}

} // namespace

class TestBanding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { databasePath(); }

    void footersAreNeverOverlappedAndNoRowIsLost()
    {
        const Result r = run(countryReport(QStringLiteral("RepeatStyle=\"3\""), 1500));
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        QVERIFY(r.errors.isEmpty());
        QVERIFY(r.pages.size() > 20);
        for (const auto &page : r.pages) {
            const auto all = texts(*page);
            QCOMPARE(all.front().text, QStringLiteral("HEADER"));
            QCOMPARE(all.front().rect.top(), 720.0);
            QCOMPARE(all.back().text, QStringLiteral("FOOTER"));
            QCOMPARE(all.back().rect.top(), FooterTop);
            for (const Text &t : body(*page)) {
                QVERIFY2(t.rect.bottom() <= FooterTop + 0.5, qPrintable(t.text));
                QVERIFY2(t.rect.top() >= BodyTop - 0.5, qPrintable(t.text));
            }
        }
        QCOMPARE(column(r, Left + 6000), sqlTexts(QStringLiteral("SELECT c.Country FROM Orders o JOIN Customers c ON c.CustomerID = o.CustomerID ORDER BY c.Country, o.OrderID LIMIT 1500")));
    }

    void groupHeadersRepeatOnContinuedPages()
    {
        const Result r = run(countryReport(QStringLiteral("RepeatStyle=\"3\""), 1500));
        QVERIFY(r.status.ok());
        int continued = 0;
        QString lastCountry;
        for (const auto &page : r.pages) {
            const auto items = body(*page);
            QString firstCountry;
            for (const Text &t : items) {
                if (t.rect.left() == Left + 6000) {
                    firstCountry = t.text;
                    break;
                }
            }
            if (!lastCountry.isEmpty() && firstCountry == lastCountry) {
                ++continued;
                QCOMPARE(items.front().text, firstCountry);
                QCOMPARE(items.front().rect.left(), Left + 100);
                QCOMPARE(items.front().rect.top(), BodyTop);
            }
            for (const Text &t : items) {
                if (t.rect.left() == Left + 6000)
                    lastCountry = t.text;
            }
        }
        QVERIFY(continued > 5);

        // Without RepeatStyle the header prints once per group.
        const Result once = run(countryReport(QString(), 1500));
        QCOMPARE(column(once, Left + 100).count(QStringLiteral("Austria")), 1);
    }

    void growingTextWrapsAndContinuesOverPages()
    {
        const QString sql = QStringLiteral("SELECT replace(hex(zeroblob(1500)), '00', 'lorem ipsum ') AS Body, "
                                           "replace(hex(zeroblob(40)), '00', '汉字排版测试') AS Cjk");
        const QString layout = pageSections + QStringLiteral(R"(
<Section Type="6" Name="Detail" Height="600">
  <Control Type="OrvEngine.Field" Name="fldCjk" Left="5000" Width="2000" DataField="Cjk" CanGrow="true"><Font Name="宋体"/></Control>
  <Control Type="OrvEngine.Field" Name="fldBody" Top="300" Width="3000" DataField="Body" CanGrow="true"/>
  <Control Type="OrvEngine.Label" Name="lblAfter" Top="320" Left="4000" Width="1000" Caption="beside"/>
  <Control Type="OrvEngine.Label" Name="lblBelow" Top="600" Width="1000" Caption="below"/>
  %1</Section>)").arg(dataControl(sql));
        const Result r = run(layout);
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        QVERIFY(r.pages.size() >= 3);
        const QString expected = sqlValue(sql).toString();
        QString joined;
        for (const auto &page : r.pages) {
            for (const Text &t : body(*page))
                joined += t.rect.left() == Left ? t.text : QString();
        }
        QCOMPARE(joined.chopped(5), expected); // and "below"

        const Text cjk = column(r, Left + 5000).size() == 1 ? body(*r.pages[0]).front() : Text();
        QCOMPARE(cjk.text, sqlValue(QStringLiteral("SELECT Cjk FROM (%1)").arg(sql)).toString());
        QCOMPARE(cjk.rect.width(), 2000.0);
        QVERIFY(cjk.rect.height() > 4 * 240); // wrapped onto many lines
        // The body text moved down by the growth of the text above it, the
        // label beside it did not; the label below comes after the text.
        const auto firstPage = body(*r.pages[0]);
        const auto bodyText = std::find_if(firstPage.begin(), firstPage.end(), [](const Text &t) { return t.text.startsWith(QLatin1String("lorem")); });
        QVERIFY(bodyText != firstPage.end());
        QVERIFY(bodyText->rect.top() >= cjk.rect.bottom());
        const auto last = body(*r.pages.back());
        QCOMPARE(last.back().text, QStringLiteral("below"));
        for (const auto &page : r.pages) {
            for (const Text &t : body(*page))
                QVERIFY(t.rect.bottom() <= FooterTop + 0.5);
        }
    }

    void richTextMergeFieldsShowTheRow()
    {
        // Values that RTF must escape and a name the rows lack.
        const QString sql = QStringLiteral("SELECT 'A{1}\\b' AS Name, 'Zoë' AS City UNION ALL SELECT 'B', 'Köln' ORDER BY 1");
        const QString rtf = QStringLiteral("{\\rtf1 Dear \\b [!Name]\\b0  of [!City] [!Missing]\\par}").toHtmlEscaped();
        const QString layout = pageSections + QStringLiteral(R"(
<Section Type="6" Name="Detail" Height="600">
  <Control Type="OrvEngine.RichEdit" Name="rtfLetter" Width="5000" Height="300" Text="%1"/>
  <Control Type="OrvEngine.RichEdit" Name="rtfPlain" Top="300" Width="5000" Height="300" Text="[!City], [!Name]"/>
  %2</Section>)").arg(rtf, dataControl(sql));
        const Result r = run(layout);
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        QStringList shown;
        for (const Text &t : body(*r.pages.at(0))) {
            QTextDocument doc;
            doc.setHtml(t.text);
            shown << doc.toPlainText();
        }
        QCOMPARE(shown, (QStringList{QStringLiteral("Dear A{1}\\b of Zoë [!Missing]"), QStringLiteral("Zoë, A{1}\\b"),
                                     QStringLiteral("Dear B of Köln [!Missing]"), QStringLiteral("Köln, B")}));
        QCOMPARE(r.errors.size(), 1);
        QCOMPARE(r.errors.front().number(), 3265);
        QVERIFY(r.errors.front().description().contains(QLatin1String("[!Missing]")));
    }

    void keepTogetherMovesAGroupToTheNextPage()
    {
        const auto layout = [](int keep) {
            return pageSections + QStringLiteral(R"(
<Section Type="4" Name="ghOrder" Height="400" DataField="OrderID" GrpKeepTogether="%1">
  <Control Type="OrvEngine.Field" Name="fldId" Left="100" Width="2000" DataField="OrderID"/></Section>
<Section Type="6" Name="Detail" Height="300">
  <Control Type="OrvEngine.Field" Name="fldProduct" Left="1000" Width="4000" DataField="ProductName"/>
  <Control Type="OrvEngine.Field" Name="fldOrder" Left="6000" Width="1000" DataField="OrderID"/>
  %2</Section>
<Section Type="5" Name="gfOrder" Height="300"/>)").arg(keep).arg(dataControl(QStringLiteral(
                "SELECT d.OrderID, p.ProductName FROM [Order Details] d JOIN Products p ON p.ProductID = d.ProductID "
                "WHERE d.OrderID < 10548 ORDER BY d.OrderID, p.ProductName")));
        };
        const auto pagesPerOrder = [](const Result &r) {
            std::map<QString, std::set<int>> pages;
            for (size_t p = 0; p < r.pages.size(); ++p) {
                for (const Text &t : texts(*r.pages[p])) {
                    if (t.rect.left() == Left + 6000)
                        pages[t.text].insert(int(p));
                }
            }
            return pages;
        };
        const Result loose = run(layout(0));
        const auto spread = pagesPerOrder(loose);
        QVERIFY(std::any_of(spread.begin(), spread.end(), [](const auto &e) { return e.second.size() > 1; }));

        for (int keep : {1, 2}) {
            const Result kept = run(layout(keep));
            QVERIFY(kept.status.ok());
            QCOMPARE(column(kept, Left + 6000), column(loose, Left + 6000));
            for (const auto &page : kept.pages) {
                // No header is left alone at the foot of a page.
                const auto items = body(*page);
                QVERIFY(items.back().rect.left() != Left + 100);
            }
            if (keep == 2) {
                for (const auto &[order, pages] : pagesPerOrder(kept))
                    QVERIFY2(pages.size() == 1, qPrintable(order));
            }
        }
    }

    void newPagesBeforeAndAfterAndPageBreaks()
    {
        const Result byCountry = run(pageSections + QStringLiteral(R"(
<Section Type="4" Name="gh" Height="400" DataField="Country" NewPage="1">
  <Control Type="OrvEngine.Field" Name="fldGH" Left="100" Width="3000" DataField="Country"/></Section>
<Section Type="6" Name="Detail" Height="300">
  <Control Type="OrvEngine.Field" Name="fldName" Left="1000" Width="3000" DataField="CompanyName"/>%1</Section>
<Section Type="5" Name="gf" Height="0"/>)").arg(dataControl(QStringLiteral("SELECT CompanyName, Country FROM Customers ORDER BY Country, CompanyName"))));
        const QStringList countries = sqlTexts(QStringLiteral("SELECT DISTINCT Country FROM Customers ORDER BY Country"));
        QCOMPARE(int(byCountry.pages.size()), int(countries.size()));
        for (size_t p = 0; p < byCountry.pages.size(); ++p)
            QCOMPARE(body(*byCountry.pages[p]).front().text, countries[int(p)]);

        const Result perRow = run(pageSections + QStringLiteral(R"(
<Section Type="6" Name="Detail" Height="300" NewPage="2">
  <Control Type="OrvEngine.Field" Name="fldName" Width="3000" DataField="CompanyName"/>%1</Section>)")
                                      .arg(dataControl(QStringLiteral("SELECT CompanyName FROM Customers LIMIT 5"))));
        QCOMPARE(int(perRow.pages.size()), 5); // no empty page after the last row

        // A page break inside the detail: A, break, B for three rows.
        const Result broken = run(pageSections + QStringLiteral(R"(
<Section Type="6" Name="Detail" Height="600">
  <Control Type="OrvEngine.Field" Name="fldA" Width="3000" DataField="A"/>
  <Control Type="OrvEngine.PageBreak" Name="pb" Top="300"/>
  <Control Type="OrvEngine.Field" Name="fldB" Top="300" Width="3000" DataField="B"/>%1</Section>)")
                                     .arg(dataControl(QStringLiteral("SELECT 'A' || n AS A, 'B' || n AS B FROM (SELECT 1 AS n UNION ALL SELECT 2 UNION ALL SELECT 3)"))));
        QCOMPARE(int(broken.pages.size()), 4);
        QCOMPARE(textList(*broken.pages[1]), (QStringList{"HEADER", "B1", "A2", "FOOTER"}));
        QCOMPARE(textList(*broken.pages[3]), (QStringList{"HEADER", "B3", "FOOTER"}));
    }

    void detailColumnsAcrossAndDown()
    {
        const auto layout = [](int direction) {
            return pageSections + QStringLiteral(R"(
<Section Type="6" Name="Detail" Height="600" ColumnCount="3" ColumnSpacing="180" ColumnDirection="%1">
  <Control Type="OrvEngine.Field" Name="fldName" Width="2800" DataField="ProductName"/>%2</Section>)")
                .arg(direction).arg(dataControl(QStringLiteral("SELECT ProductName FROM Products ORDER BY ProductID")));
        };
        const QStringList names = sqlTexts(QStringLiteral("SELECT ProductName FROM Products ORDER BY ProductID"));
        const double lefts[] = {1440, 1440 + 3060, 1440 + 2 * 3060};

        const Result across = run(layout(1), QStringLiteral("PrintWidth=\"9000\""));
        QVERIFY(across.status.ok());
        const auto first = body(*across.pages[0]);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(first[size_t(i)].text, names[i]);
            QCOMPARE(first[size_t(i)].rect.left(), lefts[i % 3]);
            QCOMPARE(first[size_t(i)].rect.top(), BodyTop + 600 * (i / 3));
        }

        const Result down = run(layout(0), QStringLiteral("PrintWidth=\"9000\""));
        const auto items = body(*down.pages[0]);
        const int perColumn = int((FooterTop - BodyTop) / 600);
        QCOMPARE(items[0].rect.left(), lefts[0]);
        QCOMPARE(items[size_t(perColumn - 1)].rect.left(), lefts[0]);
        QCOMPARE(items[size_t(perColumn)].rect.left(), lefts[1]);
        QCOMPARE(items[size_t(perColumn)].rect.top(), BodyTop);
        QCOMPARE(items[size_t(perColumn)].text, names[perColumn]);
        QStringList all;
        for (const auto &page : down.pages) {
            for (const Text &t : body(*page))
                all << t.text;
        }
        QCOMPARE(all, names);
    }

    void pageNumberOfCountOnEveryPage()
    {
        const QString footer = QStringLiteral(R"(
<Section Type="3" Name="PF2" Height="300">
  <Control Type="OrvEngine.Field" Name="fldN" Left="0" Width="1000" SummaryType="4" SummaryRunning="2"/>
  <Control Type="OrvEngine.Field" Name="fldM" Left="1000" Width="1000" SummaryType="4"/>
  <Control Type="OrvEngine.Field" Name="fldP" Left="2000" Width="2000" DataField="=PageNumber" OutputFormat="&quot;Page &quot;0"/>
</Section>)");
        QString layout = countryReport(QString(), 600);
        layout.replace(QRegularExpression(QStringLiteral("<Section Type=\"3\".*?</Section>")), footer);
        const Result r = run(layout);
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        const int count = int(r.pages.size());
        QVERIFY(count > 5);
        for (int p = 0; p < count; ++p) {
            const QStringList t = textList(*r.pages[size_t(p)]);
            QCOMPARE(t.mid(t.size() - 3), (QStringList{QString::number(p + 1), QString::number(count), QStringLiteral("Page %1").arg(p + 1)}));
        }
    }

    void pagesWithThePageCountWhileRunning_data()
    {
        QTest::addColumn<bool>("provisional");
        QTest::newRow("held until the end") << false;
        QTest::newRow("shown at once, made again") << true;
    }

    // "Page N of M" on every page: by default no page reaches the source
    // before the count is known; with provisional pages each arrives as it
    // is made with the count blank and is changed once it is known.
    void pagesWithThePageCountWhileRunning()
    {
        QFETCH(bool, provisional);
        const QString footer = QStringLiteral(R"(
<Section Type="3" Name="PF2" Height="300">
  <Control Type="OrvEngine.Field" Name="fldN" Left="0" Width="1000" SummaryType="4" SummaryRunning="2"/>
  <Control Type="OrvEngine.Field" Name="fldM" Left="1000" Width="1000" SummaryType="4"/>
</Section>)");
        QString layout = countryReport(QString(), 600);
        layout.replace(QRegularExpression(QStringLiteral("<Section Type=\"3\".*?</Section>")), footer);
        Report report;
        QVERIFY(LoadLayout(report, layoutXml(layout)).ok());
        ReportRun run(&report);
        run.setProvisionalPages(provisional);
        auto *source = new RunPageSource(&run);
        QSignalSpy finished(source, &PageSource::finished);
        // Pages that arrived with the count blank, and those made again.
        QList<int> blank;
        QList<int> changed;
        connect(source, &PageSource::pagesAdded, this, [&](int first, int n) {
            for (int p = first; p < first + n; ++p)
                if (textList(*source->page(p)).constLast().isEmpty())
                    blank << p;
        });
        connect(source, &PageSource::pagesChanged, this, [&](int first, int last) {
            for (int p = first; p <= last; ++p)
                changed << p;
        });
        int seenWhileRunning = 0;
        QStringList firstWhileRunning;
        while (run.step()) {
            if (source->count() > 0 && firstWhileRunning.isEmpty() && run.rowCount() < 600) {
                firstWhileRunning = textList(*source->page(0));
                seenWhileRunning = source->count();
            }
        }
        QVERIFY(source->isFinished());
        QCOMPARE(finished.count(), 1);
        const int count = source->count();
        QVERIFY(count > 5);
        if (provisional) {
            QVERIFY(seenWhileRunning >= 1);
            QCOMPARE(firstWhileRunning.mid(firstWhileRunning.size() - 2), (QStringList{QStringLiteral("1"), QString()}));
            // All but the pages made once the count was known.
            QVERIFY(blank.size() >= count - 1);
        } else {
            QCOMPARE(seenWhileRunning, 0);
        }
        QCOMPARE(changed, provisional ? blank : QList<int>());
        if (!provisional)
            QVERIFY(blank.isEmpty());
        for (int p = 0; p < count; ++p) {
            const QStringList t = textList(*source->page(p));
            QCOMPARE(t.mid(t.size() - 2), (QStringList{QString::number(p + 1), QString::number(count)}));
        }
    }

    void pagesArriveWhileRunningAndCancelStopsWithinAPage()
    {
        Report report;
        QVERIFY(LoadLayout(report, layoutXml(countryReport(QString(), 4000))).ok());
        ReportRun all(&report);
        QVERIFY(all.Run(false).ok());
        const int total = all.Pages()->Count();

        ReportRun run(&report);
        QSignalSpy added(run.Pages(), &PageCollection::pageAdded);
        QSignalSpy done(&run, &ReportRun::finished);
        QVERIFY(run.Run(true).ok());
        QTRY_VERIFY(added.count() >= 1);
        QVERIFY(run.isRunning());
        QVERIFY(run.rowCount() < 4000); // rows stream: page 1 came before the end
        const int at = added.count();
        run.Cancel();
        QTRY_COMPARE(done.count(), 1);
        QVERIFY(run.wasCancelled());
        QVERIFY(run.Pages()->Count() <= at + 1);
        QVERIFY(run.Pages()->Count() < total);

        // Stepping by hand: each step adds at most one page.
        ReportRun stepped(&report);
        int previous = 0;
        while (stepped.step()) {
            QVERIFY(stepped.Pages()->Count() - previous <= 1);
            previous = stepped.Pages()->Count();
        }
        QCOMPARE(stepped.Pages()->Count(), total);
    }

    // GroupOn breaks on a prefix, a date part counted in steps or a number
    // interval; the rows per group match the same grouping done in SQL.
    void groupOnPrefixesDatePartsAndIntervals()
    {
        const QString day = QStringLiteral("CAST(julianday(date(OrderDate)) + 0.5 AS INTEGER)");
        const QString hour = QStringLiteral("(%1 * 24 + CAST(strftime('%H', OrderDate) AS INTEGER))").arg(day);
        const QString year = QStringLiteral("CAST(strftime('%Y', OrderDate) AS INTEGER)");
        const QString month = QStringLiteral("CAST(strftime('%m', OrderDate) AS INTEGER)");
        struct Case
        {
            QString field;
            int groupOn, interval;
            QString order, key;
            int rows = 700;
        };
        const Case cases[] = {
            {"ShipCountry", 1, 2, "ShipCountry", "substr(ShipCountry, 1, 2)"},
            {"OrderDate", 2, 1, "OrderDate", year, 2000},
            {"OrderDate", 3, 1, "OrderDate", year + " * 4 + (" + month + " - 1) / 3"},
            {"OrderDate", 4, 2, "OrderDate", "(" + year + " * 12 + " + month + " - 1) / 2"},
            {"OrderDate", 5, 1, "OrderDate", "(" + day + " + 1) / 7"},
            {"OrderDate", 6, 10, "OrderDate", day + " / 10"},
            {"Stamp", 7, 3, "OrderDate", hour + " / 3"}, // dates as ISO text
            {"OrderDate", 8, 90, "OrderDate", hour + " * 60 / 90"},
            {"Freight", 9, 20, "Freight", "CAST(Freight / 20 AS INTEGER)"},
        };
        for (const Case &c : cases) {
            const QString rows = QStringLiteral("SELECT OrderDate, datetime(OrderDate) AS Stamp, Freight, ShipCountry FROM Orders "
                                                "ORDER BY %1, OrderID LIMIT %2").arg(c.order).arg(c.rows);
            const Result r = run(QStringLiteral(R"(
<Section Type="4" Name="gh" Height="0" DataField="%1" GroupOn="%2" GroupInterval="%3"/>
<Section Type="6" Name="Detail" Height="0" Visible="false">%4</Section>
<Section Type="5" Name="gf" Height="150"><Control Type="OrvEngine.Field" Name="fldCount" SummaryType="3" SummaryFunc="2"><Font Size="5"/></Control></Section>)")
                                     .arg(c.field).arg(c.groupOn).arg(c.interval).arg(dataControl(rows)));
            QVERIFY2(r.status.ok() && r.errors.isEmpty(), qPrintable(c.key));
            const QStringList expected = sqlTexts(QStringLiteral("SELECT count(*) FROM (%1) GROUP BY %2 ORDER BY %2").arg(rows, c.key));
            QVERIFY2(expected.size() > 2, qPrintable(c.key));
            QCOMPARE(column(r, Left), expected);
        }

        // A text where a date is needed: one type mismatch, then each value.
        const Result mismatch = run(QStringLiteral(R"(
<Section Type="4" Name="gh" Height="300" DataField="ShipCountry" GroupOn="2"><Control Type="OrvEngine.Field" Name="fld" DataField="ShipCountry"/></Section>
<Section Type="6" Name="Detail" Height="0" Visible="false">%1</Section>
<Section Type="5" Name="gf" Height="0"/>)").arg(dataControl(QStringLiteral("SELECT ShipCountry FROM Orders ORDER BY ShipCountry LIMIT 300"))));
        QCOMPARE(mismatch.errors.size(), 1);
        QCOMPARE(mismatch.errors[0].number(), 13);
        QCOMPARE(column(mismatch, Left), sqlTexts(QStringLiteral("SELECT DISTINCT ShipCountry FROM (SELECT ShipCountry FROM Orders ORDER BY ShipCountry LIMIT 300) ORDER BY 1")));
    }

    void badInputGivesErrorsNotCrashes()
    {
        const Result badSql = run(pageSections + QStringLiteral("<Section Type=\"6\" Name=\"Detail\">%1</Section>")
                                                     .arg(dataControl(QStringLiteral("SELECT nothing FROM nowhere"))));
        QVERIFY(!badSql.status.ok());
        QVERIFY(badSql.status.description().contains(QStringLiteral("nowhere")));
        QVERIFY(badSql.pages.empty());

        const Result fields = run(pageSections + QStringLiteral(R"x(
<Section Type="6" Name="Detail">
  <Control Type="OrvEngine.Field" Name="fldMissing" DataField="NoSuchColumn"/>
  <Control Type="OrvEngine.Field" Name="fldExpr" Left="2000" DataField="=Year([OrderDate])"/>
  <Control Type="OrvEngine.Field" Name="fldRef" Left="4000" DataField="=[CustomerID]"/>%1</Section>)x")
                                      .arg(dataControl(QStringLiteral("SELECT CustomerID, OrderDate FROM Orders ORDER BY OrderID LIMIT 200"))));
        QVERIFY(fields.status.ok());
        QCOMPARE(fields.errors.size(), 2); // once each, not once per row
        QCOMPARE(fields.errors[0].number(), 3265);
        QVERIFY(fields.errors[1].description().contains(QStringLiteral("scripting")));
        QCOMPARE(column(fields, Left + 4000).mid(0, 3), sqlTexts(QStringLiteral("SELECT CustomerID FROM Orders ORDER BY OrderID LIMIT 3")));

        // No rows: the report header and footer still print, on one page.
        const Result empty = run(pageSections + QStringLiteral(R"(
<Section Type="0" Name="RH"><Control Type="OrvEngine.Label" Name="lblRH" Caption="TOP"/></Section>
<Section Type="6" Name="Detail"><Control Type="OrvEngine.Field" Name="fld" DataField="CompanyName"/>%1</Section>
<Section Type="1" Name="RF"><Control Type="OrvEngine.Label" Name="lblRF" Caption="BOTTOM"/></Section>)")
                                     .arg(dataControl(QStringLiteral("SELECT CompanyName FROM Customers WHERE 0"))));
        QVERIFY(empty.status.ok());
        QCOMPARE(int(empty.pages.size()), 1);
        QCOMPARE(textList(*empty.pages[0]), (QStringList{"TOP", "HEADER", "BOTTOM", "FOOTER"}));
    }
};

QTEST_MAIN(TestBanding)
#include "tst_banding.moc"
