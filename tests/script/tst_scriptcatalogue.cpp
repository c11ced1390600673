// The catalogue of the language's builtins, constants and operators, and
// the design-time check of data field expressions.
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/catalogue.h"
#include "engine/script/expressioncheck.h"

#include <QSet>
#include <QTest>

using namespace Orv;
using namespace Orv::Script;

class TestScriptCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogueMatchesTheInterpreter();
    void everyEntryCompiles();
    void checkReportsErrorsWithPosition();
    void checkSeesTheReport();
};

void TestScriptCatalogue::catalogueMatchesTheInterpreter()
{
    // Every builtin is offered, except the ones left out on purpose; a row
    // misspelt in the catalogue's table would drop out and fail here.
    QSet<QString> offered;
    for (const CatalogueEntry &e : catalogue())
        if (e.kind == CatalogueKind::Function) {
            QVERIFY2(!offered.contains(e.name.toLower()), qPrintable(e.name));
            offered.insert(e.name.toLower());
            QVERIFY2(!e.help.isEmpty(), qPrintable(e.name));
        }
    QSet<QString> builtins;
    for (const QString &n : interpreterBuiltins())
        builtins.insert(n.toLower());
    for (const QString &n : uncataloguedBuiltins())
        builtins.remove(n.toLower());
    QCOMPARE(offered, builtins);

    // Categories come together, in their order.
    for (size_t i = 1; i < catalogue().size(); ++i)
        QVERIFY(catalogue()[i - 1].category <= catalogue()[i].category);
    QCOMPARE(catalogueEntries(CatalogueCategory::Colors).size(), size_t(8));
    QVERIFY(!catalogueEntries(CatalogueCategory::VarTypes).empty());
}

void TestScriptCatalogue::everyEntryCompiles()
{
    Report report;
    ExpressionChecker checker(report, QStringList());
    for (const CatalogueEntry &e : catalogue()) {
        QString text = e.insertText;
        if (e.kind == CatalogueKind::Operator)
            text = e.name == QLatin1String("Not") ? QStringLiteral("Not 1")
                   : e.name == QLatin1String("Is") ? QStringLiteral("rpt Is rpt")
                                                   : QStringLiteral("1 %1 2").arg(e.name);
        const ExpressionCheck check = checker.check(text);
        QVERIFY2(check.ok, qPrintable(text + QStringLiteral(": ") + check.error.description));
    }
}

void TestScriptCatalogue::checkReportsErrorsWithPosition()
{
    Report report;
    ExpressionChecker checker(report, QStringList{QStringLiteral("Freight")});
    QVERIFY(checker.check(QStringLiteral("Freight * 2 & [freight]")).ok);

    ExpressionCheck c = checker.check(QStringLiteral("Left(\"abc\", 2) & Nonesuch"));
    QVERIFY(!c.ok);
    QCOMPARE(c.error.number, 500);
    QCOMPARE(c.error.line, 1);
    QCOMPARE(c.error.column, 18);
    QVERIFY(c.error.description.contains(QLatin1String("Nonesuch")));

    c = checker.check(QStringLiteral("Len(\"a\") + (2 * )"));
    QVERIFY(!c.ok);
    QCOMPARE(c.error.line, 1);
    QCOMPARE(c.error.column, 17); // the ")" with nothing before it
    QVERIFY(!c.inReportScript);

    // A function that does not exist.
    QVERIFY(!checker.check(QStringLiteral("NoSuchFunction(1)")).ok);

    // Without the fields (the database could not be read) names pass.
    ExpressionChecker open(report, std::nullopt);
    QVERIFY(open.check(QStringLiteral("Nonesuch & Freight")).ok);
    QVERIFY(!open.check(QStringLiteral("Nonesuch(")).ok);
}

void TestScriptCatalogue::checkSeesTheReport()
{
    Report report;
    report.setScript(QStringLiteral("MsgBox \"never shown at design time\"\n"
                                    "Function Twice(x)\n  Twice = x * 2\nEnd Function\n"));
    Section *detail = report.sections()->Add(QString(), 0, Section::Detail, 720);
    Control *total = detail->controls()->Add(QStringLiteral("OrvEngine.Field"));
    total->setName(QStringLiteral("fldTotal"));
    const QString design = report.script();

    // The report's procedures, its field controls and objects, the prologue.
    QVERIFY(checkExpression(QStringLiteral("Twice(fldTotal) & rpt.PageNumber & PageCount"), report, QStringList()).ok);
    QVERIFY(checkExpression(QStringLiteral("Pages.Count & Detail.Height"), report, QStringList()).ok);
    QCOMPARE(report.script(), design);

    report.setScript(QStringLiteral("Function Broken(\n"));
    const ExpressionCheck c = checkExpression(QStringLiteral("1"), report, QStringList());
    QVERIFY(!c.ok);
    QVERIFY(c.inReportScript);
}

QTEST_GUILESS_MAIN(TestScriptCatalogue)
#include "tst_scriptcatalogue.moc"
