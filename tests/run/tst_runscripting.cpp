// The run through a script host: events at the points users expect, Format
// cancelling bands and changing controls, data fields as expressions
// (including ones that read the page number and count), and compile errors.
// A small stand-in host understands the few expressions the tests use.

#include "runfixture.h"

#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/run/reportrun.h"
#include "engine/run/runscripting.h"
#include "engine/script/host.h"
#include "engine/script/runhost.h"

#include <QTest>

using namespace Orv;
using namespace RunTest;

namespace {

class Expression : public RunExpression
{
public:
    explicit Expression(std::function<QVariant()> f) : m_f(std::move(f)) {}
    QVariant evaluate(Status *) override { return m_f(); }

private:
    std::function<QVariant()> m_f;
};

class FakeHost : public RunScripting
{
public:
    QStringList log;
    QSet<QString> handlers; // "object.event"

    static QString nameOf(QObject *o)
    {
        if (auto *s = qobject_cast<Section *>(o))
            return s->name();
        return QStringLiteral("report");
    }
    Status prepare(Report *, ReportRun *) override
    {
        log << QStringLiteral("prepare");
        return {};
    }
    bool hasHandler(QObject *object, const QString &event) const override
    {
        return handlers.contains(nameOf(object) + QLatin1Char('.') + event);
    }
    Status fire(QObject *object, const QString &event, QVariantList &, bool *cancel) override
    {
        log << nameOf(object) + QLatin1Char('.') + event;
        if (auto *s = qobject_cast<Section *>(object); s && event == QLatin1String("Format")) {
            Control *quantity = s->controls()->Item(QStringLiteral("fldQty"));
            Control *discount = s->controls()->Item(QStringLiteral("fldDiscount"));
            *cancel = quantity->property("Value").toInt() < 10;
            discount->setVisible(discount->property("Value").toDouble() != 0);
        }
        return {};
    }
    std::unique_ptr<RunExpression> compileExpression(const QString &text, RowAccess &row, Status *status) override
    {
        if (text == QLatin1String("Quantity * UnitPrice")) {
            const int q = row.slotOf(QStringLiteral("Quantity"));
            const int p = row.slotOf(QStringLiteral("UnitPrice"));
            return std::make_unique<Expression>([&row, q, p] { return row.value(q).toDouble() * row.value(p).toDouble(); });
        }
        if (text == QLatin1String("\"Order \" & OrderID & \", page \" & PageNumber & \" of \" & PageCount")) {
            const int o = row.slotOf(QStringLiteral("OrderID"));
            const int n = row.slotOf(QStringLiteral("PageNumber"));
            const int c = row.slotOf(QStringLiteral("PageCount"));
            return std::make_unique<Expression>([&row, o, n, c] {
                return QStringLiteral("Order %1, page %2 of %3").arg(row.value(o).toString(), row.value(n).toString(), row.value(c).toString());
            });
        }
        *status = Status::failure(1002, QStringLiteral("Syntax error"));
        return nullptr;
    }
};

const QString layout = QStringLiteral(R"(
<Section Type="0" Name="RH" Height="0"><Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT OrderID, Quantity, UnitPrice, Discount FROM [Order Details] ORDER BY OrderID, ProductID LIMIT 400"/></Section>
<Section Type="6" Name="Detail" Height="300">
  <Control Type="OrvEngine.Field" Name="fldQty" Width="1000" DataField="Quantity"/>
  <Control Type="OrvEngine.Field" Name="fldDiscount" Left="1000" Width="1000" DataField="Discount" OutputFormat="0%"/>
  <Control Type="OrvEngine.Field" Name="fldAmount" Left="2000" Width="2000" DataField="=Quantity * UnitPrice" OutputFormat="0.00"/>
  <Control Type="OrvEngine.Field" Name="fldWhere" Left="4000" Width="4000" DataField="=&quot;Order &quot; &amp; OrderID &amp; &quot;, page &quot; &amp; PageNumber &amp; &quot; of &quot; &amp; PageCount"/>
  <Control Type="OrvEngine.Field" Name="fldBad" Left="8000" Width="1000" DataField="=1 +* 2"/>
</Section>
<Section Type="1" Name="RF" Height="300">
  <Control Type="OrvEngine.Field" Name="fldTotal" Left="2000" Width="2000" DataField="=Quantity * UnitPrice" OutputFormat="0.00" SummaryType="1"/>
</Section>)");

} // namespace

class TestRunScripting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { databasePath(); }

    void eventsExpressionsAndFormat()
    {
        FakeHost host;
        host.handlers = {QStringLiteral("report.ReportStart"), QStringLiteral("report.ReportEnd"),
                         QStringLiteral("report.PageStart"), QStringLiteral("report.PageEnd"),
                         QStringLiteral("Detail.Format"), QStringLiteral("report.DataInitialize")};
        const Result r = run(layout, QString(), [&](ReportRun &run) { run.setScripting(&host); });
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        QCOMPARE(r.errors.size(), 1);
        QCOMPARE(r.errors[0].number(), 1002);
        QCOMPARE(r.errors[0].source(), QStringLiteral("Detail.fldBad"));

        const int pages = int(r.pages.size());
        QCOMPARE(host.log.mid(0, 4), (QStringList{"prepare", "report.ReportStart", "report.DataInitialize", "report.PageStart"}));
        QCOMPARE(host.log.last(), QStringLiteral("report.ReportEnd"));
        QCOMPARE(host.log.count(QStringLiteral("Detail.Format")), 400);
        QCOMPARE(host.log.count(QStringLiteral("report.PageStart")), pages);
        QCOMPARE(host.log.count(QStringLiteral("report.PageEnd")), pages);

        // Format cancelled the small quantities and hid zero discounts.
        const QString kept = QStringLiteral(" FROM (SELECT * FROM [Order Details] ORDER BY OrderID, ProductID LIMIT 400) WHERE Quantity >= 10");
        const QVariantList quantities = sqlColumn(QStringLiteral("SELECT Quantity") + kept);
        QCOMPARE(column(r, 1440).size(), quantities.size());
        QCOMPARE(column(r, 2440).size(), sqlColumn(QStringLiteral("SELECT Discount") + kept + QStringLiteral(" AND Discount <> 0")).size());
        const QVariantList amounts = sqlColumn(QStringLiteral("SELECT printf('%.2f', Quantity * UnitPrice)") + kept);
        QStringList expected;
        for (const QVariant &v : amounts)
            expected << v.toString();
        expected << sqlValue(QStringLiteral("SELECT printf('%.2f', sum(Quantity * UnitPrice)) FROM (SELECT * FROM [Order Details] ORDER BY OrderID, ProductID LIMIT 400)")).toString();
        QCOMPARE(column(r, 3440), expected);

        // The expression reading the page number and count is right on every page.
        for (int p = 0; p < pages; ++p) {
            for (const Text &t : texts(*r.pages[size_t(p)])) {
                if (t.rect.left() == 5440)
                    QVERIFY2(t.text.endsWith(QStringLiteral(", page %1 of %2").arg(p + 1).arg(pages)), qPrintable(t.text));
            }
        }
    }
    // The real script host: report events reach the report's procedures,
    // script globals live through the run, and expressions mix row fields,
    // builtins and the script's own functions.
    void realScriptHost()
    {
        const QString script = QStringLiteral(
            "Dim rows, big&#10;"
            "Sub Report_ReportStart : rows = 0 : big = 0 : End Sub&#10;"
            "Sub Detail_Format&#10;  rows = rows + 1&#10;  If rpt.Sections(&quot;Detail&quot;).Controls(&quot;fldQty&quot;).Value &gt; 10 Then big = big + 1&#10;End Sub&#10;"
            "Function Counted() : Counted = rows &amp; &quot;/&quot; &amp; big : End Function");
        const QString body = QStringLiteral(R"X(
<Section Type="0" Name="RH" Height="0"><Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT OrderID, Quantity, UnitPrice FROM [Order Details] ORDER BY OrderID, ProductID LIMIT 50"/></Section>
<Section Type="6" Name="Detail" Height="300">
  <Control Type="OrvEngine.Field" Name="fldTwice" Left="5000" Width="1000" DataField="=rpt.Fields(&quot;fldLater&quot;).Value * 2"/>
  <Control Type="OrvEngine.Field" Name="fldQty" Width="1000" DataField="Quantity"/>
  <Control Type="OrvEngine.Field" Name="fldAmount" Left="1000" Width="2000" DataField="=IIf([Quantity] &gt; 10, Format([UnitPrice] * [Quantity], &quot;#,##0.00&quot;), &quot;-&quot;)"/>
  <Control Type="OrvEngine.Field" Name="fldLater" Left="7000" Width="1000" DataField="=[Quantity] + 0"/>
</Section>
<Section Type="1" Name="RF" Height="300">
  <Control Type="OrvEngine.Field" Name="fldCount" Left="3000" Width="2000" DataField="=Counted()"/>
</Section>)X");
        Script::Host host;
        Script::RunHost scripting(host);
        const Result r = run(body, QStringLiteral("Script=\"%1\"").arg(script), [&](ReportRun &run) { run.setScripting(&scripting); });
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        for (const Status &e : r.errors)
            QVERIFY2(e.ok(), qPrintable(e.description()));

        const QString rows = QStringLiteral(" FROM (SELECT * FROM [Order Details] ORDER BY OrderID, ProductID LIMIT 50)");
        QStringList expected;
        for (const QVariant &v : sqlColumn(QStringLiteral("SELECT CASE WHEN Quantity > 10 THEN printf('%.2f', UnitPrice * Quantity) ELSE '-' END") + rows))
            expected << v.toString();
        QStringList amounts = column(r, 2440);
        for (QString &a : amounts)
            a.remove(QLatin1Char(','));
        QCOMPARE(amounts, expected);
        const int big = sqlValue(QStringLiteral("SELECT count(*)") + rows + QStringLiteral(" WHERE Quantity > 10")).toInt();
        QCOMPARE(column(r, 4440), QStringList{QStringLiteral("50/%1").arg(big)});
        // A field reading a field placed after it shows this row's value.
        QStringList twice;
        for (const QVariant &v : sqlColumn(QStringLiteral("SELECT Quantity * 2") + rows))
            twice << v.toString();
        QCOMPARE(column(r, 6440), twice);
    }

    // SQL NULLs are Null to formats and IsNull. Texts and visibility that
    // Format and BeforePrint change are measured again: a longer text
    // grows the band, a hidden control lets it shrink.
    void nullsAndScriptChangesInTheLayout()
    {
        const QString script = QStringLiteral(
            "Sub Detail_Format&#10;  Set c = rpt.Sections(&quot;Detail&quot;).Controls&#10;"
            "  If c(&quot;fldQty&quot;).Value &gt; 100 Then c(&quot;fldQty&quot;).Text = &quot;many&quot;&#10;End Sub&#10;"
            "Sub Detail_BeforePrint&#10;  Set c = rpt.Sections(&quot;Detail&quot;).Controls&#10;"
            "  If c(&quot;fldQty&quot;).Value &gt; 100 Then c(&quot;fldNote&quot;).Text = &quot;a note long enough to wrap over several lines&quot;&#10;"
            "  c(&quot;fldHide&quot;).Visible = c(&quot;fldQty&quot;).Value &gt;= 10&#10;End Sub");
        const QString body = QStringLiteral(R"X(
<Section Type="6" Name="Detail" Height="600" CanShrink="true">
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="$DB$" Source="SELECT Quantity, ProductID, CASE WHEN ProductID % 3 = 0 THEN NULL ELSE Discount END AS Cut FROM [Order Details] ORDER BY OrderID, ProductID LIMIT 80"/>
  <Control Type="OrvEngine.Field" Name="fldQty" Width="1000" DataField="Quantity"/>
  <Control Type="OrvEngine.Field" Name="fldNote" Left="1000" Width="1500" DataField="ProductID" CanGrow="true"/>
  <Control Type="OrvEngine.Field" Name="fldCut" Left="2500" Width="1500" DataField="Cut" OutputFormat="0%;-0%;&quot;none&quot;;&quot;unknown&quot;"/>
  <Control Type="OrvEngine.Field" Name="fldNull" Left="4000" Width="1500" DataField="=IIf(IsNull([Cut]), &quot;null&quot;, &quot;set&quot;)"/>
  <Control Type="OrvEngine.Field" Name="fldHide" Left="6000" Top="300" Width="1000" DataField="ProductID"/>
</Section>)X");
        Script::Host host;
        Script::RunHost scripting(host);
        const Result r = run(body, QStringLiteral("Script=\"%1\"").arg(script), [&](ReportRun &run) { run.setScripting(&scripting); });
        QVERIFY2(r.status.ok(), qPrintable(r.status.description()));
        for (const Status &e : r.errors)
            QVERIFY2(e.ok(), qPrintable(e.description()));

        const QString rows = QStringLiteral(" FROM [Order Details] ORDER BY OrderID, ProductID LIMIT 80");
        const QVariantList quantities = sqlColumn(QStringLiteral("SELECT Quantity") + rows);
        QStringList cut, isNull, qty;
        for (const QVariant &v : sqlColumn(QStringLiteral("SELECT CASE WHEN ProductID % 3 = 0 THEN 'unknown' WHEN Discount = 0 THEN 'none' "
                                                          "ELSE CAST(round(Discount * 100) AS INTEGER) || '%' END") + rows))
            cut << v.toString();
        for (const QVariant &v : sqlColumn(QStringLiteral("SELECT CASE WHEN ProductID % 3 = 0 THEN 'null' ELSE 'set' END") + rows))
            isNull << v.toString();
        for (const QVariant &q : quantities)
            qty << (q.toInt() > 100 ? QStringLiteral("many") : q.toString());
        QCOMPARE(column(r, 3940), cut);
        QCOMPARE(column(r, 5440), isNull);
        QCOMPARE(column(r, 1440), qty);

        // Band heights from the tops of consecutive quantities on a page.
        int row = 0, grown = 0, shrunk = 0;
        for (const auto &page : r.pages) {
            double previousTop = -1;
            for (const Text &t : texts(*page)) {
                if (t.rect.left() != 1440)
                    continue;
                if (previousTop >= 0) {
                    const int q = quantities[row - 1].toInt();
                    const double height = t.rect.top() - previousTop;
                    if (q > 100) {
                        QVERIFY2(height > 600, qPrintable(QString::number(height)));
                        ++grown;
                    } else {
                        QCOMPARE(height, q < 10 ? 300.0 : 600.0);
                        shrunk += q < 10;
                    }
                }
                previousTop = t.rect.top();
                ++row;
            }
        }
        QCOMPARE(row, quantities.size());
        QVERIFY(grown > 0 && shrunk > 0);
    }
};

QTEST_MAIN(TestRunScripting)
#include "tst_runscripting.moc"
