// The report properties dialog: lengths in inches and centimetres without
// drift, the paper list, the checks that keep bad values out of the report,
// one undo step on OK, and every paper size and orientation reaching the
// PDF's page size; the real dialog driven offscreen.
#include "../dialogtest.h"
#include "../dialogclicks.h"

#include "dialogs/reportproperties/reportpropertiesdialog.h"
#include "engine/model/controls.h"
#include "engine/model/parts.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <poppler-qt6.h>

using namespace Orv;
using DialogTest::clickTopic;
using DialogTest::retype;
using DialogTest::toggle;

namespace {

const QString Layout = QStringLiteral(ORV_TEST_DATA "/dialogs/customers.rpx");

int indexOfNumber(const ReportPropertiesModel &model, int number)
{
    for (int i = 0; i < model.paperNames().size(); ++i) {
        if (model.paperNumber(i) == number)
            return i;
    }
    return -1;
}

} // namespace

class TestReportProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lengthsRoundTrip();
    void paperList();
    void badValuesWriteNothing();
    void okIsOneUndoStep();
    void everyPaperReachesThePdf();
    void dialogOffscreen();
};

void TestReportProperties::lengthsRoundTrip()
{
    using namespace DialogUnits;
    QCOMPARE(localeUnit(QLocale(QLocale::English, QLocale::UnitedStates)), LengthUnit::Inches);
    QCOMPARE(localeUnit(QLocale(QLocale::Chinese, QLocale::China)), LengthUnit::Centimetres);
    QCOMPARE(formatLength(1080, LengthUnit::Inches), QStringLiteral("0.75"));
    QCOMPARE(formatLength(1440, LengthUnit::Inches), QStringLiteral("1"));
    QCOMPARE(formatLength(1440, LengthUnit::Centimetres), QStringLiteral("2.54"));
    QCOMPARE(formatLength(11906, LengthUnit::Centimetres), QStringLiteral("21"));
    // Every whole twip shown in either unit reads back as itself.
    for (const LengthUnit unit : {LengthUnit::Inches, LengthUnit::Centimetres}) {
        for (double t = 0; t < 30000; t += 7) {
            double back = -1;
            QVERIFY(parseLength(formatLength(t, unit), unit, &back).ok());
            QCOMPARE(back, t);
        }
    }
    double t = 0;
    QVERIFY(parseLength(QStringLiteral("2 cm"), LengthUnit::Inches, &t).ok());
    QCOMPARE(t, 1134.0);
    QCOMPARE(parseLength(QStringLiteral("wide"), LengthUnit::Inches, &t).number(), 13);
    QCOMPARE(parseLength(QString(), LengthUnit::Inches, &t).number(), 13);
    // A box left as shown keeps even a fractional value exactly.
    LengthValue v(1000.4, LengthUnit::Centimetres);
    QVERIFY(v.twips(&t).ok());
    QCOMPARE(t, 1000.4);
    v.setText(QStringLiteral("1.764"));
    QVERIFY(v.twips(&t).ok());
    QCOMPARE(t, 1000.0);
}

void TestReportProperties::paperList()
{
    Report report;
    report.pageSettings()->setPaperSize(9);
    ReportPropertiesModel model(PaperCatalogue::standard(), LengthUnit::Inches);
    model.SetReport(&report);
    const QStringList names = model.paperNames();
    QCOMPARE(names.first(), QStringLiteral("默认"));
    QCOMPARE(names.last(), QStringLiteral("自定义"));
    QCOMPARE(model.paperNumber(0), -1);
    QCOMPARE(model.paperNumber(int(names.size()) - 1), 256);
    // A4 selected and shown in inches, not editable.
    QCOMPARE(model.paperIndex(), indexOfNumber(model, 9));
    QCOMPARE(model.paperWidth().text(), QStringLiteral("8.268"));
    QVERIFY(!model.paperSizeEditable());
    QCOMPARE(model.margin(ReportPropertiesModel::Left).text(), QStringLiteral("1"));
    // Custom edits the report's own size; Letter shows 8.5 by 11.
    model.setPaperIndex(int(names.size()) - 1);
    QVERIFY(model.paperSizeEditable());
    QCOMPARE(model.paperWidth().text(), QStringLiteral("8.5"));
    model.setPaperIndex(indexOfNumber(model, 1));
    QVERIFY(!model.paperSizeEditable());
    QCOMPARE(model.paperHeight().text(), QStringLiteral("11"));

    // A paper this printer lacks: nothing selected, a note, kept on OK.
    report.pageSettings()->setPaperSize(200);
    report.pageSettings()->setLeftMargin(1080);
    model.SetReport(&report);
    QCOMPARE(model.paperIndex(), -1);
    QVERIFY(model.paperNote().contains(QStringLiteral("200")));
    QCOMPARE(model.margin(ReportPropertiesModel::Left).text(), QStringLiteral("0.75"));
    QVERIFY(model.save().status.ok());
    QCOMPARE(report.pageSettings()->paperSize(), 200);
    QCOMPARE(report.pageSettings()->leftMargin(), 1080.0);
}

void TestReportProperties::badValuesWriteNothing()
{
    using Box = ReportPropertiesModel::Box;
    DesignerCore core;
    QVERIFY(core.loadLayout(Layout).ok());
    Report *report = core.DesignedReport();
    const int steps = core.undoStack()->count();
    ReportPropertiesModel model(PaperCatalogue::standard(), LengthUnit::Centimetres);
    const auto problem = [&](const std::function<void()> &edit) {
        model.SetReport(report, &core);
        edit();
        return model.save();
    };

    auto p = problem([&] { model.margin(ReportPropertiesModel::Top).setText(QStringLiteral("abc")); });
    QCOMPARE(p.box, Box::Margin);
    QCOMPARE(p.margin, int(ReportPropertiesModel::Top));
    QCOMPARE(p.status.number(), 13);
    p = problem([&] { model.margin(ReportPropertiesModel::Gutter).setText(QStringLiteral("-1")); });
    QCOMPARE(p.margin, int(ReportPropertiesModel::Gutter));
    QVERIFY(p.status.description().contains(QStringLiteral("负数")));
    // Letter is 21.59 cm wide: 11 + 11 leaves nothing.
    p = problem([&] {
        model.setPaperIndex(indexOfNumber(model, 1));
        model.margin(ReportPropertiesModel::Left).setText(QStringLiteral("11"));
        model.margin(ReportPropertiesModel::Right).setText(QStringLiteral("11"));
    });
    QCOMPARE(p.margin, int(ReportPropertiesModel::Left));
    QVERIFY2(p.status.description().contains(QStringLiteral("21.59")), qPrintable(p.status.description()));
    const int custom = int(model.paperNames().size()) - 1;
    for (const char *text : {"-3", "0", "abc", "9999"}) {
        p = problem([&] {
            model.setPaperIndex(custom);
            model.paperHeight().setText(QString::fromLatin1(text));
        });
        QVERIFY2(p.box == Box::PaperHeight, text);
        QVERIFY(!p.status.description().isEmpty());
    }
    QCOMPARE(core.undoStack()->count(), steps);
    QVERIFY(!core.IsDirty());
    QCOMPARE(report->pageSettings()->topMargin(), 1080.0);
}

void TestReportProperties::okIsOneUndoStep()
{
    DesignerCore core;
    QVERIFY(core.loadLayout(Layout).ok());
    Report *report = core.DesignedReport();
    const int steps = core.undoStack()->count();
    ReportPropertiesModel model(PaperCatalogue::standard(), LengthUnit::Inches);
    model.SetReport(report, &core);
    model.setPaperIndex(int(model.paperNames().size()) - 1);
    model.paperWidth().setText(QStringLiteral("5"));
    model.paperHeight().setText(QStringLiteral("20 cm"));
    model.margin(ReportPropertiesModel::Left).setText(QStringLiteral("0.5"));
    model.margin(ReportPropertiesModel::Gutter).setText(QStringLiteral("0.25"));
    model.setMirrorMargins(true);
    model.setOrientationIndex(0);
    model.setDocumentName(QStringLiteral("客户"));
    QVERIFY(model.save().status.ok());
    QCOMPARE(core.undoStack()->count(), steps + 1);
    const PageSettings *ps = report->pageSettings();
    QCOMPARE(ps->paperSize(), 256);
    QCOMPARE(ps->paperWidth(), 7200.0);
    QCOMPARE(ps->paperHeight(), 11339.0);
    QCOMPARE(ps->leftMargin(), 720.0);
    QCOMPARE(ps->rightMargin(), 1440.0); // untouched
    QCOMPARE(ps->gutter(), 360.0);
    QVERIFY(ps->mirrorMargins());
    QCOMPARE(ps->orientation(), -1);
    QCOMPARE(report->documentName(), QStringLiteral("客户"));
    core.undoStack()->undo();
    QCOMPARE(ps->paperSize(), -1);
    QCOMPARE(ps->leftMargin(), 1440.0);
    QCOMPARE(ps->orientation(), 1);
    QCOMPARE(report->documentName(), QStringLiteral("Customers"));
    QVERIFY(!core.IsDirty());
}

void TestReportProperties::everyPaperReachesThePdf()
{
    const PaperCatalogue papers = PaperCatalogue::standard();
    QVERIFY(papers.sizes().size() >= 20);
    for (const PaperEntry &paper : papers.sizes()) {
        for (const int orientation : {1, 2}) {
            Report report;
            auto *label = report.sections()->Item(0)->controls()->Add(QStringLiteral("OrvEngine.Label"));
            QVERIFY(label);
            report.setPrintWidth(1440);
            ReportPropertiesModel model(papers, LengthUnit::Inches);
            model.SetReport(&report);
            model.setPaperIndex(indexOfNumber(model, paper.number));
            model.setOrientationIndex(orientation);
            for (int m = 0; m < 4; ++m)
                model.margin(m).setText(QStringLiteral("0.25"));
            const auto saved = model.save();
            QVERIFY2(saved.status.ok(), qPrintable(paper.name + saved.status.description()));
            QString pdf;
            const Status ran = DialogTest::runToPdf(report, QStringLiteral("paper"), &pdf);
            QVERIFY2(ran.ok(), qPrintable(paper.name + QLatin1Char(' ') + ran.description()));
            const auto doc = DialogTest::loadPdf(pdf);
            QVERIFY(doc && doc->numPages() >= 1);
            // Points, portrait or landscape (Ledger is defined lying down).
            QSizeF expected = paper.size / 20;
            if ((orientation == 2) != (expected.width() > expected.height()))
                expected.transpose();
            const QSizeF got = DialogTest::pageSize(*doc);
            QVERIFY2(std::abs(got.width() - expected.width()) < 1 && std::abs(got.height() - expected.height()) < 1,
                     qPrintable(QStringLiteral("%1 orientation %2: %3 x %4, expected %5 x %6")
                                    .arg(paper.name)
                                    .arg(orientation)
                                    .arg(got.width())
                                    .arg(got.height())
                                    .arg(expected.width())
                                    .arg(expected.height())));
        }
    }
}

void TestReportProperties::dialogOffscreen()
{
    DesignerCore core;
    QVERIFY(core.loadLayout(Layout).ok());
    Report *report = core.DesignedReport();
    frmReportProperties dialog(PaperCatalogue::standard(), LengthUnit::Inches);
    dialog.SetReport(report, &core);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("报表属性"));
    QCOMPARE(dialog.currentPage(), 0);
    // Default is selected (the report's -1): its size shown, not editable.
    QCOMPARE(dialog.cboPaperSizes()->currentText(), QStringLiteral("默认"));
    QVERIFY(!dialog.txtPaperWidth()->isEnabled());
    QCOMPARE(dialog.txtPaperWidth()->text(), QStringLiteral("8.5")); // the size it keeps
    dialog.cboPaperSizes()->setFocus();
    QTest::keyClick(dialog.cboPaperSizes(), Qt::Key_End);
    QCOMPARE(dialog.cboPaperSizes()->currentText(), QStringLiteral("自定义"));
    QVERIFY(dialog.txtPaperWidth()->isEnabled());
    retype(dialog.txtPaperWidth(), QStringLiteral("6"));

    // Margins: letters are refused next to the box, nothing is written.
    clickTopic(dialog, QStringLiteral("RP2"));
    QCOMPARE(dialog.currentPage(), 1);
    QCOMPARE(dialog.txtMargin(0)->text(), QStringLiteral("1"));
    QCOMPARE(dialog.txtMargin(2)->text(), QStringLiteral("0.75"));
    retype(dialog.txtMargin(0), QStringLiteral("abc"));
    QTest::mouseClick(dialog.btnOK(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.lblMarginError()->isVisible());
    QVERIFY(dialog.lblMarginError()->text().contains(QStringLiteral("abc")));
    QVERIFY(dialog.txtMargin(0)->hasFocus());
    QCOMPARE(report->pageSettings()->paperSize(), -1);
    retype(dialog.txtMargin(0), QStringLiteral("0.5"));
    toggle(dialog.chkMirrorMargins());

    clickTopic(dialog, QStringLiteral("RP3"));
    toggle(dialog.optOrientation(2));
    clickTopic(dialog, QStringLiteral("RP5"));
    QCOMPARE(dialog.currentPage(), 4);
    retype(dialog.txtDocumentName(), QStringLiteral("Customers A-Z"));
    // Group topics stay open.
    dialog.topic(QStringLiteral("RS_PRT"))->setExpanded(false);
    QVERIFY(dialog.topic(QStringLiteral("RS_PRT"))->isExpanded());

    QTest::mouseClick(dialog.btnOK(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const PageSettings *ps = report->pageSettings();
    QCOMPARE(ps->paperSize(), 256);
    QCOMPARE(ps->paperWidth(), 8640.0);
    QCOMPARE(ps->paperHeight(), 15840.0);
    QCOMPARE(ps->leftMargin(), 720.0);
    QCOMPARE(ps->topMargin(), 1080.0);
    QVERIFY(ps->mirrorMargins());
    QCOMPARE(ps->orientation(), 2);
    QCOMPARE(report->documentName(), QStringLiteral("Customers A-Z"));

    // The preview follows: landscape 11 x 6 in.
    QString pdf;
    const Status ran = DialogTest::runToPdf(*report, QStringLiteral("custom"), &pdf);
    QVERIFY2(ran.ok(), qPrintable(ran.description()));
    const auto doc = DialogTest::loadPdf(pdf);
    QVERIFY(doc);
    QCOMPARE(DialogTest::pageSize(*doc).toSize(), QSize(792, 432));
    // The company names start at the 0.5 in left margin.
    const double left = DialogTest::leftmostText(*doc, 0);
    QVERIFY2(std::abs(left - 36) < 2, qPrintable(QString::number(left)));

    // Cancel writes nothing.
    frmReportProperties again(PaperCatalogue::standard(), LengthUnit::Inches);
    again.SetReport(report, &core);
    again.show();
    clickTopic(again, QStringLiteral("RP2"));
    retype(again.txtMargin(0), QStringLiteral("2"));
    QTest::mouseClick(again.btnCancel(), Qt::LeftButton);
    QCOMPARE(ps->leftMargin(), 720.0);
}

QTEST_MAIN(TestReportProperties)
#include "tst_reportproperties.moc"
