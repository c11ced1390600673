// frmAccessToOrv driven offscreen as a user would: the pages, their texts
// and buttons, a report picked and converted with its log and summary,
// then the design run against a SQLite database to a PDF read back; and
// the main window's File > New > Import Access Report reaching it.
#include "dialogs/accessimport/accessimportmodel.h"
#include "dialogs/accessimport/frmaccesstoorv.h"
#include "engine/export/exporter.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/run/reportrun.h"
#include "engine/script/scriptedrun.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "shell/settingsstore.h"
#include "shell/window/mainwindow.h"
#include "ui/recordingui.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <poppler-qt6.h>
#include <sqlite3.h>

using namespace Orv;

namespace {

const QString NorthwindExports = QStringLiteral(ORV_TEST_DATA "/northwind-exports");

// Picks a report as a user does: a click on its row, Space for its mark.
void pick(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    list->scrollToItem(found[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(found[0]->checkState(), Qt::Checked);
    QCOMPARE(list->currentItem(), found[0]);
}

// Types the database and goes to the reports page.
void toReports(frmAccessToOrv &d, const QString &db)
{
    QTest::mouseClick(d.btnNext(), Qt::LeftButton);
    d.txtDatabase()->clear();
    QTest::keyClicks(d.txtDatabase(), db);
    d.txtExportsFolder()->setText(NorthwindExports);
    QTest::mouseClick(d.btnNext(), Qt::LeftButton);
    QCOMPARE(d.model().currentPage(), 2);
}

QStringList items(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

Status makeDatabase(const QString &path)
{
    sqlite3 *db = nullptr;
    Status status;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        status = Status::failure(1, QString::fromUtf8(sqlite3_errmsg(db)));
    else if (sqlite3_exec(db,
                          "create table Categories (CategoryID, CategoryName);"
                          "create table Products (ProductName, CategoryID, QuantityPerUnit);"
                          "insert into Categories values (1, 'Beverages'), (2, 'Seafood');"
                          "insert into Products values ('Chai', 1, '10 boxes'), ('Ikura', 2, '12 jars'),"
                          " ('Boston Crab Meat', 2, '24 tins');",
                          nullptr, nullptr, nullptr)
             != SQLITE_OK)
        status = Status::failure(1, QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_close(db);
    return status;
}

} // namespace

class TestFrmAccessToOrv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pagesPickConvertAndRunToPdf()
    {
        RecordingUi ui;
        DesignerCore core;
        AccessImportModel model(ui);
        model.SetReport(core.DesignedReport());
        model.setUndoStack(core.undoStack());
        frmAccessToOrv d(model);
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("转换报表"));
        QVERIFY(d.picStep(0)->isEnabled() && !d.picStep(1)->isEnabled());
        QVERIFY(d.lblStep(0)->font().bold() && !d.lblStep(1)->font().bold());
        QVERIFY(!d.btnBack()->isEnabled() && d.btnNext()->isEnabled() && !d.btnFinish()->isEnabled());
        QCOMPARE(d.btnNext()->text(), QStringLiteral("前进 >[&F]"));

        // The database page: the note counts the reports with an export.
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QCOMPARE(d.focusWidget(), d.txtDatabase());
        QTest::keyClicks(d.txtDatabase(), QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"));
        QCOMPARE(d.txtExportsFolder()->placeholderText(), QStringLiteral(ORV_TEST_DATA "/Northwind"));
        QTest::keyClicks(d.txtExportsFolder(), NorthwindExports);
        QTRY_COMPARE(d.lblExportCount()->text(), QStringLiteral("共 14 个报表，其中 3 个在导出文件夹中有导出文件。"));
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);

        // The list marks the reports without an export; Next with no mark
        // stays and says why.
        QCOMPARE(d.lstReports()->count(), 15);
        QCOMPARE(d.lstReports()->item(0)->text(), QStringLiteral("(全部报表)"));
        QVERIFY(items(d.lstReports()).contains(QStringLiteral("Invoice (无导出文件)")));
        QVERIFY(items(d.lstReports()).contains(QStringLiteral("Catalog")));
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QCOMPARE(model.currentPage(), 2);
        QCOMPARE(d.pageMessage(), QStringLiteral("请勾选要转换的报表。"));
        pick(d.lstReports(), QStringLiteral("Alphabetical List of Products"));
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);

        // The options page with its defaults.
        QCOMPARE(d.focusWidget(), d.cmbCharset());
        QCOMPARE(d.cmbCharset()->currentText(), QStringLiteral("Default (ANSI)"));
        QCOMPARE(d.cmbCharset()->count(), 8);
        QVERIFY(d.txtReportsPath()->text().isEmpty());
        const auto box = [&](const char *name) { return d.findChild<QCheckBox *>(QLatin1StringView(name)); };
        QVERIFY(!box("chkCommentModuleText")->isChecked() && box("chkStripSrcCode")->isChecked());
        QVERIFY(box("chkUseADOInsteadDAO")->isChecked() && box("chkConvertChartCtls")->isChecked());
        QVERIFY(!box("cbSaveAsBinary")->isChecked() && !d.chkConvertAll()->isChecked());
        QCOMPARE(d.findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("Report Path is Not used in Tesserane Reports"));
        d.cmbCharset()->setCurrentIndex(6);
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);

        // Converting, then finished by itself.
        QTRY_COMPARE_WITH_TIMEOUT(model.currentPage(), 5, 120000);
        QVERIFY(!d.btnNext()->isEnabled() && !d.btnCancel()->isEnabled() && d.btnFinish()->isEnabled());
        const QStringList log = items(d.lstStatus());
        QCOMPARE(log.first(), QStringLiteral("*** Starting conversion ***"));
        QCOMPARE(log.last(), QStringLiteral("*** Conversion complete ***"));
        QVERIFY2(log.filter(QStringLiteral("Error")).isEmpty(), qPrintable(log.join(u'\n')));
        const QString summary = d.txtSummary()->toPlainText();
        QVERIFY(summary.startsWith(QStringLiteral("Access to OrvReport Wizard completed.\n\n") + QString(60, u'=')));
        QVERIFY(summary.contains(QStringLiteral("converted from database \"" ORV_TEST_DATA "/Northwind.mdb\"")));
        // Back shows the log again without converting.
        QTest::mouseClick(d.btnBack(), Qt::LeftButton);
        QCOMPARE(model.currentPage(), 4);
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QCOMPARE(model.currentPage(), 5);
        QCOMPARE(items(d.lstStatus()), log);
        QTest::mouseClick(d.btnFinish(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(core.undoStack()->count(), 1);
        QVERIFY(core.IsDirty());

        // The design runs on a SQLite database with Northwind's columns.
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("nw.db")), pdf = dir.filePath(QStringLiteral("a.pdf"));
        QVERIFY(makeDatabase(db));
        auto report = std::make_unique<Report>();
        core.DesignedReport()->CopyLayoutTo(report.get());
        Script::ScriptedRunOptions options;
        options.reportFolder = dir.path() + u'/';
        options.connectionString = QStringLiteral("Data Source=") + db;
        const auto scripted = Script::ScriptedRun::of(std::move(report), options);
        ReportRun &run = *scripted->run();
        QStringList errors;
        connect(&run, &ReportRun::Error, this, [&](int n, const QString &text, int, const QString &, const QString &, int, bool *) { errors << QStringLiteral("%1 %2").arg(n).arg(text); });
        QVERIFY(run.Run(false));
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        QVERIFY(ExporterRegistry::instance().createForPath(pdf)->write(*run.Pages(), pdf, {}));
        const auto doc = Poppler::Document::load(pdf);
        QVERIFY(doc && doc->numPages() == 1);
        const QString text = std::unique_ptr<Poppler::Page>(doc->page(0))->text(QRectF());
        for (const char *expected : {"Alphabetical List of Products", "Boston Crab Meat", "Seafood", "10 boxes", "Page 1 of 1"})
            QVERIFY2(text.contains(QLatin1StringView(expected)), qPrintable(expected + (u'\n' + text)));
        QVERIFY(text.indexOf(QStringLiteral("Boston")) < text.indexOf(QStringLiteral("Chai")));
    }

    void missingExportAndNoChoiceLeaveTheDesign()
    {
        RecordingUi ui;
        Report design;
        AccessImportModel model(ui);
        model.SetReport(&design);
        frmAccessToOrv d(model);
        d.show();
        // The .accdb's reports have no export here: listed, marked, and
        // converting one costs the importer's line.
        toReports(d, QStringLiteral(ORV_TEST_DATA "/Northwind.accdb"));
        QCOMPARE(d.lstReports()->count(), 16);
        QVERIFY(items(d.lstReports()).contains(QStringLiteral("Customer Address Book (无导出文件)")));
        QCOMPARE(d.pageMessage(), QStringLiteral("这些报表在导出文件夹中都没有导出文件，请查看数据库页。"));
        pick(d.lstReports(), QStringLiteral("Customer Address Book (无导出文件)"));
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(model.currentPage(), 5, 60000);
        const QStringList log = items(d.lstStatus());
        QCOMPARE(log.size(), 3);
        QVERIFY(log[1].startsWith(QStringLiteral("Error: No text export of report \"Customer Address Book\" was found")));
        QCOMPARE(design.sections()->Count(), 3);
        QVERIFY(!model.designChanged());

        // The master entry ticks every report but is none: nothing is
        // converted, only the start line.
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(d.btnBack(), Qt::LeftButton);
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QCOMPARE(model.currentPage(), 2);
        pick(d.lstReports(), QStringLiteral("(全部报表)"));
        QCOMPARE(model.checkedCount(), 15);
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QTest::mouseClick(d.btnNext(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(model.currentPage(), 5, 60000);
        QCOMPARE(items(d.lstStatus()), QStringList{QStringLiteral("*** Starting conversion ***")});
        QVERIFY(!model.designChanged());
        // Escape closes once nothing runs.
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    }

    void mainWindowImportsIntoTheDesign()
    {
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath(QStringLiteral("s.ini")));
        settings.writeNumber(SettingsStore::showFileDialogOnStartup(), 0);
        RecordingUi ui;
        MainWindow window(ui, &settings);
        window.show();
        window.startUp(QString());
        QAction *item = window.action(QStringLiteral("miFNImportAccessReport"));
        QVERIFY(item && item->isEnabled());
        QVERIFY(window.action(QStringLiteral("tFAccessImport"))->isEnabled());
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto *d = qobject_cast<frmAccessToOrv *>(QApplication::activeModalWidget());
            QVERIFY(d);
            toReports(*d, QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"));
            pick(d->lstReports(), QStringLiteral("Catalog Subreport"));
            QTest::mouseClick(d->btnNext(), Qt::LeftButton);
            QTest::mouseClick(d->btnNext(), Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(d->model().currentPage(), 5, 60000);
            QTest::mouseClick(d->btnFinish(), Qt::LeftButton);
            driven = true;
        });
        item->trigger();
        QVERIFY(driven);
        QCOMPARE(window.designer()->DesignedReport()->documentName(), QStringLiteral("CatalogSubreport"));
        QVERIFY(window.windowTitle().startsWith(u'*'));
        window.designer()->core()->undoStack()->undo();
        QCOMPARE(window.designer()->DesignedReport()->sections()->Count(), 3);
        QCOMPARE(ui.requests().size(), 0);
        window.designer()->core()->undoStack()->redo();
        ui.answer(MessageResult::No); // the close prompt
        window.close();
    }
};

QTEST_MAIN(TestFrmAccessToOrv)
#include "tst_frmaccesstoorv.moc"
