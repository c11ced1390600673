// Summaries: every function over groups, pages and the report, running
// and not, compared with the same totals computed by SQL on the same rows.

#include "runfixture.h"

#include <QTest>

#include <cmath>

using namespace Orv;
using namespace RunTest;

namespace {

constexpr double Left = 1440;

QString field(const QString &name, int left, const QString &attributes)
{
    return QStringLiteral(R"(<Control Type="OrvEngine.Field" Name="%1" Left="%2" Width="900" %3 OutputFormat="0.000000"><Font Size="6"/></Control>)")
        .arg(name).arg(left).arg(attributes);
}

// Values at a left edge as numbers.
std::vector<double> numbers(const Result &r, double left)
{
    std::vector<double> out;
    for (const QString &t : column(r, left))
        out.push_back(t.toDouble());
    return out;
}

struct Moments
{
    double var = 0, varp = 0;
};

Moments moments(const QVariantList &values)
{
    double mean = 0;
    for (const QVariant &v : values)
        mean += v.toDouble();
    mean /= values.size();
    double m2 = 0;
    for (const QVariant &v : values)
        m2 += (v.toDouble() - mean) * (v.toDouble() - mean);
    return {values.size() > 1 ? m2 / (values.size() - 1) : 0, m2 / values.size()};
}

void compareNear(double actual, double expected, const char *what)
{
    QVERIFY2(std::abs(actual - expected) <= 1e-6 * std::max(1.0, std::abs(expected)),
             qPrintable(QStringLiteral("%1: %2 instead of %3").arg(QLatin1String(what)).arg(actual, 0, 'f', 6).arg(expected, 0, 'f', 6)));
}

} // namespace

class TestSummaries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { databasePath(); }

    void groupAndReportTotalsMatchSql()
    {
        QString footer;
        const char *kinds[] = {"sum", "avg", "count", "min", "max", "var", "varp", "stdev", "stdevp"};
        for (int f = 0; f < 9; ++f)
            footer += field(QStringLiteral("fld%1").arg(QLatin1String(kinds[f])), f * 1000,
                            QStringLiteral("DataField=\"Freight\" SummaryType=\"3\" SummaryFunc=\"%1\"").arg(f));
        footer += field(QStringLiteral("fldCustomers"), 9000, QStringLiteral("DataField=\"CustomerID\" SummaryType=\"3\" SummaryFunc=\"11\""));
        const QString layout = QStringLiteral(R"(
<Section Type="0" Name="RH" Height="300">%1</Section>
<Section Type="4" Name="ghCountry" Height="300" DataField="ShipCountry">%2</Section>
<Section Type="6" Name="Detail" Visible="false">
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT ShipCountry, CustomerID, Freight FROM Orders ORDER BY ShipCountry, OrderID"/></Section>
<Section Type="5" Name="gfCountry" Height="300">%3</Section>
<Section Type="1" Name="RF" Height="300">%4</Section>)")
                                   .arg(field(QStringLiteral("fldGrandFirst"), 0, QStringLiteral("DataField=\"Freight\" SummaryType=\"1\"")),
                                        field(QStringLiteral("fldGroupFirst"), 0, QStringLiteral("DataField=\"Freight\" SummaryType=\"3\"")), footer,
                                        field(QStringLiteral("fldGrand"), 0, QStringLiteral("DataField=\"Freight\" SummaryType=\"1\"")));
        const Result r = run(layout, QStringLiteral("PrintWidth=\"10000\""));
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        QVERIFY(r.errors.isEmpty());

        const QVariantList countries = sqlColumn(QStringLiteral("SELECT DISTINCT ShipCountry FROM Orders ORDER BY ShipCountry"));
        std::vector<std::vector<double>> columns;
        for (int f = 0; f < 10; ++f)
            columns.push_back(numbers(r, Left + f * 1000));
        // Column 0 holds the grand total (header and footer) and the group
        // totals (header, then footer) of every country.
        QCOMPARE(columns[0].size(), size_t(2 + 2 * countries.size()));
        QCOMPARE(columns[1].size(), size_t(countries.size()));
        const double grand = sqlValue(QStringLiteral("SELECT sum(Freight) FROM Orders")).toDouble();
        compareNear(columns[0].front(), grand, "grand total before the rows");
        compareNear(columns[0].back(), grand, "grand total");
        for (int i = 0; i < countries.size(); ++i) {
            const QString where = QStringLiteral(" FROM Orders WHERE ShipCountry = '%1'").arg(countries[i].toString());
            const QVariantList freights = sqlColumn(QStringLiteral("SELECT Freight") + where);
            const Moments m = moments(freights);
            const double sum = sqlValue(QStringLiteral("SELECT sum(Freight)") + where).toDouble();
            compareNear(columns[0][size_t(1 + 2 * i)], sum, "group total in the header");
            compareNear(columns[0][size_t(2 + 2 * i)], sum, "sum");
            compareNear(columns[1][size_t(i)], sqlValue(QStringLiteral("SELECT avg(Freight)") + where).toDouble(), "avg");
            compareNear(columns[2][size_t(i)], freights.size(), "count");
            compareNear(columns[3][size_t(i)], sqlValue(QStringLiteral("SELECT min(Freight)") + where).toDouble(), "min");
            compareNear(columns[4][size_t(i)], sqlValue(QStringLiteral("SELECT max(Freight)") + where).toDouble(), "max");
            compareNear(columns[5][size_t(i)], m.var, "var");
            compareNear(columns[6][size_t(i)], m.varp, "varp");
            compareNear(columns[7][size_t(i)], std::sqrt(m.var), "stdev");
            compareNear(columns[8][size_t(i)], std::sqrt(m.varp), "stdevp");
            compareNear(columns[9][size_t(i)], sqlValue(QStringLiteral("SELECT count(DISTINCT CustomerID)") + where).toDouble(), "dcount");
        }
    }

    void runningSumsAndPageTotals()
    {
        const QString layout = QStringLiteral(R"(
<Section Type="4" Name="ghCountry" Height="0" DataField="ShipCountry"/>
<Section Type="6" Name="Detail" Height="300">%1%2%3
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT ShipCountry, Freight FROM Orders ORDER BY ShipCountry, OrderID LIMIT 1200"/></Section>
<Section Type="5" Name="gfCountry" Height="0"/>
<Section Type="3" Name="PF" Height="300">%4%5</Section>)")
                                   .arg(field(QStringLiteral("fldFreight"), 0, QStringLiteral("DataField=\"Freight\"")),
                                        field(QStringLiteral("fldRunAll"), 1000, QStringLiteral("DataField=\"Freight\" SummaryType=\"1\" SummaryRunning=\"2\"")),
                                        field(QStringLiteral("fldRunGroup"), 2000, QStringLiteral("DataField=\"Freight\" SummaryType=\"3\" SummaryRunning=\"1\"")),
                                        field(QStringLiteral("fldPageSum"), 0, QStringLiteral("DataField=\"Freight\" SummaryType=\"2\"")),
                                        field(QStringLiteral("fldPageCount"), 1000, QStringLiteral("SummaryType=\"2\" SummaryFunc=\"2\"")));
        const Result r = run(layout);
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        const QVariantList freights = sqlColumn(QStringLiteral("SELECT Freight FROM Orders ORDER BY ShipCountry, OrderID LIMIT 1200"));
        const QVariantList countries = sqlColumn(QStringLiteral("SELECT ShipCountry FROM Orders ORDER BY ShipCountry, OrderID LIMIT 1200"));
        QVERIFY(r.pages.size() > 3);
        size_t row = 0;
        double all = 0;
        double group = 0;
        for (const auto &page : r.pages) {
            double pageSum = 0;
            int pageRows = 0;
            const auto items = texts(*page);
            for (size_t i = 0; i + 2 < items.size(); i += 3) {
                const double freight = freights[int(row)].toDouble();
                if (row == 0 || countries[int(row)] != countries[int(row) - 1])
                    group = 0;
                all += freight;
                group += freight;
                compareNear(items[i].text.toDouble(), freight, "detail");
                compareNear(items[i + 1].text.toDouble(), all, "running over the report");
                compareNear(items[i + 2].text.toDouble(), group, "running over the group");
                pageSum += freight;
                ++pageRows;
                ++row;
            }
            compareNear(items[items.size() - 2].text.toDouble(), pageSum, "page total");
            compareNear(items.back().text.toDouble(), pageRows, "page count");
        }
        QCOMPARE(row, size_t(freights.size()));
    }

    // Access's running sums: over the group starts again with the group
    // around the section (the innermost for a detail, the next outer one
    // for group sections); a total shown before its group ends adds up
    // once it is known.
    void runningSumsOverGroupsAndTheReport()
    {
        const QString layout = QStringLiteral(R"(
<Section Type="4" Name="ghCountry" Height="0" DataField="ShipCountry"/>
<Section Type="4" Name="ghCity" Height="300" DataField="ShipCity">%1</Section>
<Section Type="6" Name="Detail" Height="300">%2%3%4
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="%5"/></Section>
<Section Type="5" Name="gfCity" Height="300">%6</Section>
<Section Type="5" Name="gfCountry" Height="0"/>)")
                                   .arg(field(QStringLiteral("fldCities"), 4000, QStringLiteral("DataField=\"Freight\" SummaryType=\"3\" RunningSum=\"2\"")),
                                        field(QStringLiteral("fldInCity"), 0, QStringLiteral("DataField=\"Freight\" RunningSum=\"1\"")),
                                        field(QStringLiteral("fldAll"), 1000, QStringLiteral("DataField=\"Freight\" RunningSum=\"2\"")),
                                        field(QStringLiteral("fldLine"), 2000, QStringLiteral("Text=\"1\" RunningSum=\"1\"")))
                                   .arg(QStringLiteral("SELECT o.ShipCountry, c.City AS ShipCity, o.Freight FROM Orders o JOIN Customers c ON c.CustomerID = o.CustomerID "
                                                       "ORDER BY 1, 2, o.OrderID LIMIT 500"),
                                        field(QStringLiteral("fldCityRows"), 3000, QStringLiteral("SummaryType=\"3\" SummaryFunc=\"2\" RunningSum=\"1\"")));
        const Result r = run(layout);
        QVERIFY2(r.status.ok() && r.errors.isEmpty(), qPrintable(r.status.description()));

        const auto rows = [](const char *what) {
            return sqlColumn(QStringLiteral("SELECT %1 FROM Orders o JOIN Customers c ON c.CustomerID = o.CustomerID "
                                            "ORDER BY o.ShipCountry, c.City, o.OrderID LIMIT 500").arg(QLatin1String(what)));
        };
        const QVariantList countries = rows("o.ShipCountry"), cities = rows("c.City"), freights = rows("o.Freight");
        std::vector<double> inCity, all, line, cityRows, cityTotals;
        double runCity = 0, runAll = 0, rowsInCountry = 0;
        int rowsInCity = 0;
        for (int i = 0; i < freights.size(); ++i) {
            const bool newCountry = i == 0 || countries[i] != countries[i - 1];
            const bool newCity = newCountry || cities[i] != cities[i - 1];
            if (newCity) {
                runCity = 0;
                rowsInCity = 0;
            }
            if (newCountry)
                rowsInCountry = 0;
            runCity += freights[i].toDouble();
            runAll += freights[i].toDouble();
            inCity.push_back(runCity);
            all.push_back(runAll);
            line.push_back(++rowsInCity);
            ++rowsInCountry;
            const bool lastOfCity = i + 1 == freights.size() || countries[i + 1] != countries[i] || cities[i + 1] != cities[i];
            if (lastOfCity) {
                cityRows.push_back(rowsInCountry);
                cityTotals.push_back(runAll);
            }
        }
        const std::pair<double, const std::vector<double> *> expected[] = {
            {0, &inCity}, {1000, &all}, {2000, &line}, {3000, &cityRows}, {4000, &cityTotals}};
        for (const auto &[left, values] : expected) {
            const std::vector<double> shown = numbers(r, Left + left);
            QCOMPARE(shown.size(), values->size());
            for (size_t i = 0; i < shown.size(); ++i)
                compareNear(shown[i], (*values)[i], qPrintable(QStringLiteral("column %1, row %2").arg(left).arg(i)));
        }
    }
};

QTEST_MAIN(TestSummaries)
#include "tst_summaries.moc"
