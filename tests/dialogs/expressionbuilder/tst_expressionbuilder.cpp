// frmExpressionBuilder: its model on the invoice example (tree, entries,
// composing, storing, the data source's fields) and the real dialog driven
// offscreen, down to the stored expression's value in an exported PDF.
#include "dialogs/expressionbuilder/expressionbuilderdialog.h"
#include "engine/data/connection.h"
#include "engine/data/sampledatabase.h"
#include "engine/export/exporter.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/scriptedrun.h"
#include "engine/widgets/designer/designercore.h"
#include "ui/recordingui.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <poppler-qt6.h>

using namespace Orv;

namespace {

using Model = ExpressionBuilderModel;

QStringList keysUnder(const Model &m, const QString &parent)
{
    QStringList keys;
    for (const Model::Node &n : m.nodes())
        if (n.parentKey == parent)
            keys << n.key;
    return keys;
}

QStringList captions(const Model &m)
{
    QStringList c;
    for (const Model::Entry &e : m.entries())
        c << e.caption;
    return c;
}

} // namespace

class TestExpressionBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void treeAndEntries();
    void composing();
    void storing();
    void fieldsOfTheDataSource();
    void dialogEndToEnd();

private:
    // The invoice example bound to the sample database.
    bool loadInvoices(Report &report);
    QTemporaryDir m_dir;
    QString m_db;
};

void TestExpressionBuilder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = m_dir.filePath(QStringLiteral("tesserane.db"));
    QVERIFY(Data::createSampleDatabase(m_db, 1).ok());
    // The example and its subreport beside the database they name.
    for (const char *name : {"invoices.rpx", "invoice-lines.rpx"})
        QVERIFY(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/") + QLatin1String(name), m_dir.filePath(QLatin1String(name))));
}

bool TestExpressionBuilder::loadInvoices(Report &report)
{
    return LoadLayout(report, m_dir.filePath(QStringLiteral("invoices.rpx"))).ok();
}

void TestExpressionBuilder::treeAndEntries()
{
    Report report;
    QVERIFY(loadInvoices(report));
    Model m;
    QCOMPARE(keysUnder(m, {}), (QStringList{"rpt", "fn", "const", "ops", "common"}));
    QCOMPARE(keysUnder(m, "const"), (QStringList{"constColors", "constDate", "constDateFormats", "constString",
                                                 "constTristate", "constVarType"}));
    QCOMPARE(m.nodes()[size_t(m.nodeIndex("opsArithmatic"))].caption, QStringLiteral("Arithmatic"));

    // An empty section still gets its node.
    report.sections()->Add(QStringLiteral("Empty"), 0, Section::ReportHeader, 100);
    m.setReport(&report);
    QStringList sections;
    for (Section *s : *report.sections())
        sections << QStringLiteral("sec") + s->name();
    QCOMPARE(keysUnder(m, "rpt"), sections + QStringList{Model::fieldsKey()});
    QVERIFY(keysUnder(m, "secEmpty").isEmpty());
    const Model::Node &ghOrder = m.nodes()[size_t(m.nodeIndex("secghOrder"))];
    QCOMPARE(ghOrder.caption, QStringLiteral("ghOrder"));
    QCOMPARE(ghOrder.tag.toInt(), 4);
    const Section *group = report.sections()->Item(QStringLiteral("ghOrder"));
    QCOMPARE(keysUnder(m, "secghOrder").size(), group->controls()->Count());
    const Control *first = group->controls()->Item(0);
    QCOMPARE(m.nodes()[size_t(m.nodeIndex("ctl" + first->name()))].tag.toString(), first->typeName());

    // Common expressions exactly as they are inserted.
    m.selectNode("common");
    QCOMPARE(captions(m), (QStringList{"Page Number", "Pages", "Page N of M", "Current Date", "Current Date/Time"}));
    QCOMPARE(m.entries()[0].expression, QStringLiteral("\"Page \"& rpt.PageNumber"));
    QCOMPARE(m.entries()[2].expression, QStringLiteral("\"Page \" & rpt.PageNumber & \" of \" "));
    m.selectNode("commonDate");
    QCOMPARE(captions(m), (QStringList{"Current Date", "Current Date/Time"}));
    // Report, section and control nodes leave the list as it was.
    m.selectNode("secghOrder");
    m.selectNode("rpt");
    QCOMPARE(captions(m), (QStringList{"Current Date", "Current Date/Time"}));
    // The language's nodes list the catalogue.
    m.selectNode("constColors");
    QVERIFY(captions(m).contains("vbRed"));
    QCOMPARE(m.entries().size(), size_t(8));
    m.selectNode("fnStr");
    QVERIFY(captions(m).contains("Left") && !captions(m).contains("Now"));
    m.selectNode("fn");
    QVERIFY(captions(m).contains("Left") && captions(m).contains("Now"));
    m.selectNode("opsLogical");
    QCOMPARE(captions(m).mid(0, 3), (QStringList{"And", "Or", "Not"}));
}

void TestExpressionBuilder::composing()
{
    Model m;
    m.setEdit({QStringLiteral("ab"), 1, 1});
    m.insertOperator(0);
    QCOMPARE(m.edit().text, QStringLiteral("a + b"));
    QCOMPARE(m.edit().start, 4);
    m.insertOperator(9);
    m.insertOperator(12);
    QCOMPARE(m.edit().text, QStringLiteral("a +  And  Like b")); // nothing trimmed

    // Over a selection (either direction), then paste and the entries.
    m.setEdit({QStringLiteral("x = 123"), 7, 4});
    m.paste(QStringLiteral("[Freight]"));
    QCOMPARE(m.edit().text, QStringLiteral("x = [Freight]"));
    m.selectNode("commonPage");
    m.setEdit({QString(), 0, 0});
    QVERIFY(m.insertEntry(1));
    QCOMPARE(m.edit().text, QStringLiteral(" Pages.Count "));
    QVERIFY(!m.insertEntry(7));

    // Undo: insertions one at a time, a run of typing as one step.
    m.undo();
    QCOMPARE(m.edit().text, QString());
    m.setEdit({QStringLiteral("a"), 1, 1});
    m.setEdit({QStringLiteral("ab"), 2, 2});
    m.insertOperator(3);
    m.undo();
    QCOMPARE(m.edit().text, QStringLiteral("ab"));
    m.undo();
    QCOMPARE(m.edit().text, QString());
    m.undo();
    QCOMPARE(m.edit().text, QStringLiteral("x = [Freight]"));

    QCOMPARE(Model::errorOffset(QStringLiteral("1 +\n(2 * "), {0, {}, 2, 3, {}, {}}), 6);
}

void TestExpressionBuilder::storing()
{
    DesignerCore core;
    Report *report = core.DesignedReport();
    QVERIFY(LoadLayout(*report, QStringLiteral(ORV_SOURCE_DIR "/examples/invoices.rpx")).ok());
    Section *group = report->sections()->Item(QStringLiteral("ghOrder"));
    Section *detail = report->sections()->Item(QStringLiteral("Detail"));
    auto *field = qobject_cast<Field *>(detail->controls()->Add(QStringLiteral("OrvEngine.Field")));
    QVERIFY(field);
    core.undoStack()->clear();
    Status status;

    {   // An empty expression on a control stores "=", as one undo step.
        Model m;
        m.setControl(field);
        m.setReport(report);
        QVERIFY(m.store(&core, &status));
        QCOMPARE(field->dataField(), QStringLiteral("="));
        QCOMPARE(core.undoStack()->count(), 1);
    }
    {   // A section that is no group header takes nothing, the control
        // given beside it is not considered.
        Model m;
        m.setControl(field);
        m.setSection(detail);
        m.setReport(report);
        m.setEdit({QStringLiteral("1"), 1, 1});
        QVERIFY(!m.store(&core, &status));
        QVERIFY(status.ok());
        QCOMPARE(field->dataField(), QStringLiteral("="));
    }
    {   // A group header: "=" is put in front even of "=".
        Model m;
        m.setSection(group);
        m.setReport(report);
        m.setEdit({QStringLiteral("=[OrderID] \\ 10"), 0, 0});
        QVERIFY(m.store(&core, &status));
        QCOMPARE(group->dataField(), QStringLiteral("==[OrderID] \\ 10"));
        core.undoStack()->undo();
        QCOMPARE(group->dataField(), QStringLiteral("OrderID"));
    }
    {   // Without a target nothing is stored.
        Model m;
        m.setReport(report);
        m.setEdit({QStringLiteral("1"), 1, 1});
        QVERIFY(!m.store(&core, &status));
        QVERIFY(status.ok());
    }
    {   // A target taken out of the report (by an undo) and a control
        // without a data field are refused with a message; too long a text too.
        Model m;
        m.setControl(field);
        m.setReport(report);
        core.select(field);
        QVERIFY(core.deleteSelection());
        QVERIFY(!m.store(&core, &status));
        QVERIFY(status.description().contains(field->name()));
        core.undoStack()->undo();
        QVERIFY(m.validateTarget().ok());
        m.setEdit({QString(Model::MaxExpressionLength + 1, QLatin1Char('1')), 0, 0});
        QVERIFY(!m.validateTarget().ok());
        Model line;
        line.setControl(detail->controls()->Add(QStringLiteral("OrvEngine.Line")));
        line.setReport(report);
        QCOMPARE(line.validateTarget().number(), int(ErrNoSuchMember));
    }
}

void TestExpressionBuilder::fieldsOfTheDataSource()
{
    Report report;
    QVERIFY(loadInvoices(report));
    Model m;
    QSignalSpy read(&m.fields(), &ReportFields::finished);
    m.setReport(&report, m_dir.path());
    QVERIFY(read.wait(20000));
    QCOMPARE(m.fields().state(), ReportFields::State::Ready);
    m.selectNode(Model::fieldsKey());
    QVERIFY(captions(m).contains("CompanyName"));
    QCOMPARE(m.entries()[size_t(captions(m).indexOf("Freight"))].expression, QStringLiteral("[Freight]"));
    // Known fields make the check strict.
    m.setEdit({QStringLiteral("[Freight] * 2"), 0, 0});
    QVERIFY(m.check().ok);
    m.setEdit({QStringLiteral("[Fraight] * 2"), 0, 0});
    QVERIFY(!m.check().ok);

    // An unreachable database: the dialog's model answers at once, then
    // shows a note; the check lets field names pass.
    for (Control *c : report.allControls())
        if (c->typeName() == QLatin1String("DataControl"))
            c->setProperty("ConnectionString",
                           QStringLiteral("Provider=PostgreSQL;Server=127.0.0.1;Port=1;Database=none;User ID=none"));
    Model far;
    QSignalSpy failed(&far.fields(), &ReportFields::finished);
    QElapsedTimer clock;
    clock.start();
    far.setReport(&report);
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(far.fields().state(), ReportFields::State::Reading);
    QVERIFY(failed.wait(20000));
    QCOMPARE(far.fields().state(), ReportFields::State::Failed);
    far.selectNode(Model::fieldsKey());
    QCOMPARE(far.entries().size(), size_t(1));
    QVERIFY(far.entries()[0].caption.startsWith(QStringLiteral("无法读取字段")));
    QVERIFY(!far.insertEntry(0));
    far.setEdit({QStringLiteral("[Fraight] * 2"), 0, 0});
    QVERIFY(far.check().ok);
}

void TestExpressionBuilder::dialogEndToEnd()
{
    DesignerCore core;
    Report *report = core.DesignedReport();
    QVERIFY(loadInvoices(*report));
    Section *group = report->sections()->Item(QStringLiteral("ghOrder"));
    Control *field = core.insertControl(QStringLiteral("OrvEngine.Field"), group, QPointF(6000, 900), QPointF(9000, 1200));
    QVERIFY(field);
    const int steps = core.undoStack()->count();

    RecordingUi ui;
    ui.setClipboardText(QStringLiteral("[OrderID]"));
    ExpressionBuilderDialog dialog(ui);
    dialog.setDesigner(&core);
    dialog.setReportFolder(m_dir.path());
    dialog.SetControl(field);
    dialog.SetReport(report);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("公式向导"));
    QTRY_COMPARE_WITH_TIMEOUT(dialog.model().fields().state(), ReportFields::State::Ready, 20000);

    auto *text = dialog.findChild<QPlainTextEdit *>("txtExpression");
    auto *tv = dialog.findChild<QTreeWidget *>("tv");
    auto *lv = dialog.findChild<QTreeWidget *>("lv");
    auto *undo = dialog.findChild<QPushButton *>("btnUndo");
    QVERIFY(text && tv && lv && undo);
    QVERIFY(!undo->isEnabled());

    // Typed text, the operator and paste buttons, an entry of the String
    // functions double-clicked.
    text->setFocus();
    QTest::keyClicks(text, "\"Twice:\" &");
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnOp13"), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnPaste"), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnOp2"), Qt::LeftButton);
    QTest::keyClicks(text, "2)");
    QCOMPARE(text->toPlainText(), QStringLiteral("\"Twice:\" & ( [OrderID] * 2)"));
    QVERIFY(undo->isEnabled());
    const QList<QTreeWidgetItem *> str = tv->findItems("String", Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(str.size(), 2); // the functions' and the constants'
    tv->setCurrentItem(str.first());
    const QList<QTreeWidgetItem *> ucase = lv->findItems("UCase(text)", Qt::MatchExactly);
    QCOMPARE(ucase.size(), 1);
    lv->setCurrentItem(ucase.first());
    QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, lv->visualItemRect(ucase.first()).center());
    QTest::mouseDClick(lv->viewport(), Qt::LeftButton, {}, lv->visualItemRect(ucase.first()).center());
    QCOMPARE(text->toPlainText(), QStringLiteral("\"Twice:\" & ( [OrderID] * 2) UCase(\"abc\") "));
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(text->toPlainText(), QStringLiteral("\"Twice:\" & ( [OrderID] * 2)"));

    // A wrong expression: OK shows the error with its place, the user says
    // No, nothing is stored and the dialog stays.
    QTest::keyClicks(text, " & [Nonesuch]");
    ui.answer(MessageResult::No);
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(ui.last().text.contains("Nonesuch"));
    QVERIFY(ui.last().text.contains(QStringLiteral("第 31 列")));
    QCOMPARE(text->textCursor().selectionStart(), 30);
    QVERIFY(field->property("DataField").toString().isEmpty());

    // The typing goes in one undo step.
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(text->toPlainText(), QStringLiteral("\"Twice:\" & ( [OrderID] * 2)"));
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(field->property("DataField").toString(), QStringLiteral("=\"Twice:\" & ( [OrderID] * 2)"));
    QCOMPARE(core.undoStack()->count(), steps + 1);

    // The run shows the value: each order's number doubled.
    Script::ScriptedRunOptions options;
    options.reportFolder = m_dir.path() + QLatin1Char('/');
    auto run = Script::ScriptedRun::copyOf(*report, options);
    QVERIFY(run->start(false).ok());
    for (const Status &e : run->run()->errors())
        qWarning() << e.number() << e.description() << e.source();
    QVERIFY(run->run()->errors().isEmpty());
    const QString pdf = m_dir.filePath(QStringLiteral("calculated.pdf"));
    QVERIFY(exportPages(*run->run()->Pages(), pdf).ok());
    Data::Connection db;
    QVERIFY(db.Open(QStringLiteral("Data Source=") + m_db).ok());
    Status s;
    auto first = db.Execute(QStringLiteral("SELECT min(OrderID) FROM Orders"), &s);
    QVERIFY(s.ok() && first);
    const qlonglong orderId = first->value(0).toLongLong();
    const std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(pdf);
    QVERIFY(doc);
    const QString page1 = std::unique_ptr<Poppler::Page>(doc->page(0))->text(QRectF()).simplified();
    QVERIFY2(page1.contains(QStringLiteral("Twice:%1").arg(orderId * 2)), qPrintable(page1.left(400)));
}

QTEST_MAIN(TestExpressionBuilder)
#include "tst_expressionbuilder.moc"
