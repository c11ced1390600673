// The page numbers dialog: the fields it adds (where, how wide, with which
// expression) as one undo step, driven through the real dialog, and the
// numbers as they print in a PDF read back with poppler.
#include "../dialogtest.h"

#include "dialogs/pagenumbers/pagenumbersdialog.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "ui/recordingui.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <poppler-qt6.h>

using namespace Orv;

namespace {

const QString Layout = QStringLiteral(ORV_TEST_DATA "/dialogs/customers.rpx");

Section *section(Report *report, const QString &name)
{
    return report->sections()->Item(name);
}

} // namespace

class TestPageNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldsAndPlaces();
    void oneUndoStep();
    void dialogAddsNumbersThatPrint();
};

void TestPageNumbers::fieldsAndPlaces()
{
    DesignerCore core;
    QVERIFY(core.loadLayout(Layout).ok());
    Report *report = core.DesignedReport();
    QCOMPARE(report->printWidth(), 9000.0);
    // A second page footer: only the first one gets the fields.
    QVERIFY(report->sections()->Add(QStringLiteral("PageFooter2"), 4, Section::PageFooter, 300));
    PageNumbersModel model;
    model.SetReport(report, &core);

    // The defaults: "Page ## / ##", centred in the page footer.
    PageNumbersModel::Added added;
    QVERIFY(model.AddPageNumber(&added).ok());
    QCOMPARE(added.section, section(report, QStringLiteral("PageFooter")));
    QCOMPARE(section(report, QStringLiteral("PageFooter"))->controls()->Count(), 2);
    QCOMPARE(section(report, QStringLiteral("PageFooter2"))->controls()->Count(), 0);
    QCOMPARE(added.number->dataField(), QStringLiteral("=\"Page \" & rpt.PageNumber & \" / \""));
    QCOMPARE(added.number->left(), 3500.0);
    QCOMPARE(added.number->width(), 2000.0);
    QCOMPARE(added.number->height(), 285.0);
    QCOMPARE(added.number->alignment(), 1);
    QCOMPARE(added.number->text(), QStringLiteral("PageNumber"));
    QCOMPARE(added.count->left(), 5500.0);
    QCOMPARE(added.count->width(), 720.0);
    QCOMPARE(added.count->summaryType(), 4);
    QCOMPARE(added.count->summaryRunning(), 0);
    QCOMPARE(added.count->text(), QStringLiteral("PageCount"));
    // Names are the ones new controls get, never repeated.
    QVERIFY(added.number->name() != added.count->name());

    // Header right: the number ends at the print width, the count starts there.
    model.setLocation(2);
    model.setStyle(1);
    QVERIFY(model.AddPageNumber(&added).ok());
    QCOMPARE(added.section, section(report, QStringLiteral("PageHeader")));
    QCOMPARE(added.number->left(), 7000.0);
    QCOMPARE(added.count->left(), 9000.0);
    QCOMPARE(added.number->dataField(), QStringLiteral("=\"Page \" & rpt.PageNumber & \" of \""));
    // The 200-twip header grew to hold them.
    QCOMPARE(added.section->height(), 285.0);

    // "Page ##" at the left: one field only.
    model.setStyle(0);
    model.setLocation(0);
    QVERIFY(model.AddPageNumber(&added).ok());
    QVERIFY(!added.count);
    QCOMPARE(added.number->left(), 0.0);
    QCOMPARE(added.number->dataField(), QStringLiteral("=\"Page \" & rpt.PageNumber"));
    QCOMPARE(added.section->controls()->Count(), 3);

    // Without a page header nothing is added, and that is no error.
    Report bare;
    QVERIFY(bare.sections()->Remove(2).ok()); // the page footer
    QVERIFY(bare.sections()->Remove(0).ok()); // the page header
    model.SetReport(&bare);
    QVERIFY(model.AddPageNumber(&added).ok());
    QVERIFY(!model.targetSection());
}

void TestPageNumbers::oneUndoStep()
{
    DesignerCore core;
    QVERIFY(core.loadLayout(Layout).ok());
    Report *report = core.DesignedReport();
    Section *header = section(report, QStringLiteral("PageHeader"));
    PageNumbersModel model;
    model.SetReport(report, &core);
    model.setLocation(1);
    const int steps = core.undoStack()->count();
    QVERIFY(!core.IsDirty());
    QVERIFY(model.AddPageNumber().ok());
    QCOMPARE(core.undoStack()->count(), steps + 1);
    QCOMPARE(header->controls()->Count(), 2);
    QVERIFY(core.IsDirty());
    core.undoStack()->undo();
    QCOMPARE(header->controls()->Count(), 0);
    QCOMPARE(header->height(), 200.0);
    QVERIFY(!core.IsDirty());
    core.undoStack()->redo();
    QCOMPARE(header->controls()->Count(), 2);
}

void TestPageNumbers::dialogAddsNumbersThatPrint()
{
    DesignerCore core;
    QVERIFY(core.loadLayout(Layout).ok());
    Report *report = core.DesignedReport();
    RecordingUi ui;

    // Cancel adds nothing.
    {
        frmPageNumbers dialog(ui);
        dialog.SetReport(report, &core);
        dialog.show();
        QTest::mouseClick(dialog.btnCancel(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(section(report, QStringLiteral("PageFooter"))->controls()->Count(), 0);
    }

    frmPageNumbers dialog(ui);
    dialog.SetReport(report, &core);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("页码"));
    QCOMPARE(dialog.cboStyle()->currentText(), QStringLiteral("Page ## / ##"));
    QCOMPARE(dialog.cboLocation()->currentText(), QStringLiteral("PageFooter Center"));
    // "Page ## of ##", one up; "Page Header Right", two up.
    dialog.cboStyle()->setFocus();
    QTest::keyClick(dialog.cboStyle(), Qt::Key_Up);
    QTest::keyClick(dialog.cboLocation(), Qt::Key_Up);
    QTest::keyClick(dialog.cboLocation(), Qt::Key_Up);
    QCOMPARE(dialog.cboStyle()->currentText(), QStringLiteral("Page ## of ##"));
    QCOMPARE(dialog.cboLocation()->currentText(), QStringLiteral("Page Header Right"));
    QTest::mouseClick(dialog.btnOK(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(ui.requests().isEmpty());
    QCOMPARE(section(report, QStringLiteral("PageHeader"))->controls()->Count(), 2);

    // And the centred "Page ##" in the footer through the model's defaults.
    PageNumbersModel footer;
    footer.SetReport(report, &core);
    footer.setStyle(0);
    QVERIFY(footer.AddPageNumber().ok());

    QString pdf;
    const Status ran = DialogTest::runToPdf(*report, QStringLiteral("pagenumbers"), &pdf);
    QVERIFY2(ran.ok(), qPrintable(ran.description()));
    const auto doc = DialogTest::loadPdf(pdf);
    QVERIFY(doc);
    const QStringList pages = DialogTest::pageTexts(*doc);
    QVERIFY(pages.size() >= 2);
    const int n = int(pages.size());
    for (int i = 0; i < n; ++i) {
        QVERIFY2(pages[i].contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(n)), qPrintable(pages[i]));
        QVERIFY2(pages[i].contains(QStringLiteral("Page %1").arg(i + 1)), qPrintable(pages[i]));
    }
    // The header's count starts at the print width: 1 in margin + 9000 twips = 522 pt.
    const double countLeft = DialogTest::wordLeft(*doc, 0, QString::number(n));
    QVERIFY2(countLeft >= 521 && countLeft <= 524, qPrintable(QString::number(countLeft)));
}

QTEST_MAIN(TestPageNumbers)
#include "tst_pagenumbers.moc"
