// frmSortingAndGrouping on a report with three group levels: the rows, the
// editing area of each, writing edits back as one undo step, the
// expression builder opened from "...", and the messages for bad input.
#include "dialogs/expressionbuilder/expressionbuilderdialog.h"
#include "dialogs/sortinggrouping/sortinggroupingdialog.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "ui/recordingui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

using namespace Orv;

namespace {

// Country, then city (each month of a date, new page before and after),
// then customer kept whole.
void buildThreeGroups(Report &report)
{
    Sections *s = report.sections();
    s->Add(QStringLiteral("Detail"), 0, Section::Detail, 360);
    Section *a = s->addGroupPair();
    Section *b = s->addGroupPair();
    Section *c = s->addGroupPair();
    a->setName(QStringLiteral("ghCountry"));
    a->setDataField(QStringLiteral("Country"));
    a->setNewPage(1);
    b->setName(QStringLiteral("ghMonth"));
    b->setDataField(QStringLiteral("=OrderDate"));
    b->setGroupOn(4);
    b->setGroupInterval(3);
    b->setNewPage(3);
    b->setGrpKeepTogether(1);
    c->setName(QStringLiteral("ghCustomer"));
    c->setDataField(QStringLiteral("CustomerID"));
    c->setGrpKeepTogether(2);
}

} // namespace

class TestSortingGrouping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsAndEditor();
    void dialogEditsAndStores();
};

void TestSortingGrouping::rowsAndEditor()
{
    Report report;
    buildThreeGroups(report);
    SortingGroupingModel m;
    m.setReport(&report);
    QCOMPARE(m.rows().size(), size_t(3));
    const SortingGroupingModel::Row &month = m.rows()[1];
    QCOMPARE(m.rows()[0].name, QStringLiteral("ghCountry"));
    QCOMPARE(month.name, QStringLiteral("ghMonth"));
    QCOMPARE(month.fieldExpr, QStringLiteral("=OrderDate"));
    QCOMPARE(month.sortOrder, QStringLiteral("A"));
    QCOMPARE(month.groupOn, QStringLiteral("Month"));
    QCOMPARE(month.groupInterval, QStringLiteral("3"));
    QCOMPARE(month.keepTogether, QStringLiteral(" 1"));
    QCOMPARE(month.pageBreak, QStringLiteral(" 3"));

    const SortingGroupingModel::Editor e = m.editorFor(1);
    QVERIFY(e.pageBefore && e.pageAfter);
    QCOMPARE(e.sortOrder, 0);
    QCOMPARE(m.editorFor(2).keepTogether, 2);
    QVERIFY(!m.editorFor(2).pageBefore && !m.editorFor(2).pageAfter);
    QVERIFY(m.editorFor(0).pageBefore && !m.editorFor(0).pageAfter);

    // Leading numbers as typed; an interval below 1 is refused on OK.
    QCOMPARE(SortingGroupingModel::leadingNumber(QStringLiteral(" 12abc")), 12);
    QCOMPARE(SortingGroupingModel::leadingNumber(QStringLiteral("x")), 0);
    SortingGroupingModel::Editor bad = m.editorFor(0);
    bad.groupInterval = QStringLiteral("");
    m.setEditor(0, bad);
    QVERIFY(m.isModified());
    Status status;
    QVERIFY(!m.apply(nullptr, &status));
    QVERIFY(status.description().contains(QLatin1String("ghCountry")));

    // A report without groups has no rows.
    Report plain;
    plain.sections()->Add(QStringLiteral("Detail"), 0, Section::Detail, 360);
    m.setReport(&plain);
    QVERIFY(m.rows().empty());
}

void TestSortingGrouping::dialogEditsAndStores()
{
    DesignerCore core;
    buildThreeGroups(*core.DesignedReport());
    core.undoStack()->clear();
    Report *report = core.DesignedReport();
    Section *customer = report->sections()->Item(QStringLiteral("ghCustomer"));

    RecordingUi ui;
    SortingGroupingDialog dialog(ui);
    dialog.setDesigner(&core);
    // "..." composes the expression in the builder, which stores nothing.
    dialog.setBuilderRunner([&ui](ExpressionBuilderDialog &builder) {
        auto *text = builder.findChild<QPlainTextEdit *>("txtExpression");
        if (text->toPlainText() != QLatin1String("[CustomerID]"))
            return int(QDialog::Rejected);
        text->selectAll();
        QTest::keyClicks(text, "Left([CustomerID], 1)");
        // No data source: [CustomerID] names no field, and the user insists.
        ui.answer(MessageResult::Yes);
        builder.accept();
        return builder.result();
    });
    dialog.SetReport(report);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("排序和分组"));

    auto *list = dialog.findChild<QTreeWidget *>("lvGroups");
    auto *keep = dialog.findChild<QComboBox *>("cboKeeptogether");
    auto *field = dialog.findChild<QComboBox *>("cboFieldExpr");
    auto *interval = dialog.findChild<QLineEdit *>("txtGroupInterval");
    auto *before = dialog.findChild<QCheckBox *>("chkPageBreak0");
    auto *after = dialog.findChild<QCheckBox *>("chkPageBreak1");
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Group Name"));
    QCOMPARE(list->topLevelItem(1)->text(6), QStringLiteral(" 3"));

    // Selecting a row shows it in the editing area.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(2)).center());
    QCOMPARE(keep->currentText(), QStringLiteral("2 - All Group Records"));
    QCOMPARE(field->currentText(), QStringLiteral("CustomerID"));
    QVERIFY(!before->isChecked() && !after->isChecked());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
    QVERIFY(before->isChecked() && after->isChecked());
    QCOMPARE(interval->text(), QStringLiteral("3"));

    // Edit the customer group: the builder's expression, a page break
    // after, keep with the first detail.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(2)).center());
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnExpressionBuilder"), Qt::LeftButton);
    QCOMPARE(field->currentText(), QStringLiteral("=Left([CustomerID], 1)"));
    after->click();
    keep->setCurrentIndex(1);
    QCOMPARE(list->topLevelItem(2)->text(6), QStringLiteral(" 2"));
    QCOMPARE(customer->newPage(), 0); // nothing written before OK

    // An interval of 0 is refused with the group's name; the dialog stays.
    interval->selectAll();
    QTest::keyClicks(interval, "0");
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(ui.last().text.contains("ghCustomer"));
    interval->selectAll();
    QTest::keyClicks(interval, "1");

    // The report has no data source, so [CustomerID] names no field: the
    // user is asked and insists.
    ui.answer(MessageResult::Yes);
    QTest::mouseClick(dialog.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QVERIFY(ui.last().text.contains(QStringLiteral("无法编译")));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(customer->dataField(), QStringLiteral("=Left([CustomerID], 1)"));
    QCOMPARE(customer->newPage(), 2);
    QCOMPARE(customer->grpKeepTogether(), 1);
    QCOMPARE(core.undoStack()->count(), 1);
    core.undoStack()->undo();
    QCOMPARE(customer->dataField(), QStringLiteral("CustomerID"));
    QCOMPARE(customer->grpKeepTogether(), 2);
}

QTEST_MAIN(TestSortingGrouping)
#include "tst_sortinggrouping.moc"
