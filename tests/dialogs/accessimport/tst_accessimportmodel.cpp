// The Access import wizard's rules without its window: pages and buttons,
// what Next checks and does, the report list, and the conversion on its
// own thread (into the design as one undo step, or every report into a
// folder), with Cancel and bad input.
#include "dialogs/accessimport/accessimportmodel.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "ui/recordingui.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using namespace Orv;

namespace {

const QString NorthwindMdb = QStringLiteral(ORV_TEST_DATA "/Northwind.mdb");
const QString NorthwindExports = QStringLiteral(ORV_TEST_DATA "/northwind-exports");

int entryOf(const AccessImportModel &m, const QString &name)
{
    for (int i = 0; i < m.entries().size(); ++i)
        if (m.entries()[i].name == name)
            return i;
    return -1;
}

void waitForConversion(AccessImportModel &m)
{
    QTRY_VERIFY_WITH_TIMEOUT(!m.isRunning(), 120000);
}

// From the start page to the reports page on a database.
bool toReports(AccessImportModel &m, const QString &db, const QString &exports)
{
    m.goNext();
    m.setDatabaseText(db);
    m.setExportsFolder(exports);
    return m.goNext() && m.currentPage() == AccessImportModel::ReportsPage;
}

} // namespace

class TestAccessImportModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pagesButtonsAndTheReportList()
    {
        RecordingUi ui;
        AccessImportModel m(ui);
        QCOMPARE(m.currentPage(), 0);
        QVERIFY(!m.backEnabled() && m.nextEnabled() && !m.finishEnabled() && m.cancelEnabled());
        QVERIFY(m.goNext());
        // A blank path stops silently; a file that is no database says so.
        m.setDatabaseText(QStringLiteral("   "));
        QVERIFY(!m.goNext());
        QCOMPARE(ui.requests().size(), 0);
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("notes.mdb"));
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("not a database") > 0);
        f.close();
        m.setDatabaseText(text);
        QVERIFY(!m.goNext());
        QCOMPARE(m.currentPage(), 1);
        QVERIFY(ui.last().text.startsWith(QStringLiteral("Error Starting Microsoft Access and Openning the selected database\r\n")));
        QCOMPARE(m.exportsNote(), QStringLiteral("无法将此文件作为Access数据库读取。"));
        m.setDatabaseText(NorthwindMdb);
        m.setExportsFolder(dir.filePath(QStringLiteral("missing")));
        QVERIFY(!m.goNext());
        QVERIFY(m.pageMessage().contains(QStringLiteral("不存在")));
        m.setExportsFolder(NorthwindExports);
        QCOMPARE(m.exportsNote(), QStringLiteral("共 14 个报表，其中 3 个在导出文件夹中有导出文件。"));
        QVERIFY(m.goNext());

        // The list: the master entry, then the reports in table order,
        // nothing checked and nothing current.
        QCOMPARE(m.entries().size(), 15);
        QCOMPARE(m.entries()[0].name, QStringLiteral("(全部报表)"));
        QCOMPARE(m.currentEntry(), -1);
        QCOMPARE(m.driver().currentReport(), -1);
        QVERIFY(m.entries()[entryOf(m, QStringLiteral("Catalog"))].hasExport);
        QVERIFY(!m.entries()[entryOf(m, QStringLiteral("Invoice"))].hasExport);
        QVERIFY(!m.goNext());
        m.setChecked(0, true);
        QCOMPARE(m.checkedCount(), 14);
        m.setChecked(3, false);
        QVERIFY(!m.entries()[0].checked);
        m.setChecked(3, true);
        QVERIFY(m.entries()[0].checked);

        // Back and forth: the list is read again (marks lost), the reports
        // path cleared on every entry of the options page.
        QVERIFY(m.goNext());
        m.setReportsPath(QStringLiteral("/somewhere"));
        m.goBack();
        m.goBack();
        QCOMPARE(m.currentPage(), 1);
        QVERIFY(m.goNext());
        QCOMPARE(m.checkedCount(), 0);
        m.setChecked(1, true);
        QVERIFY(m.goNext());
        QVERIFY(m.reportsPath().isEmpty());

        // Converting all needs a folder that can be written.
        m.setConvertAll(true);
        QCOMPARE(m.reportsPath(), QDir::toNativeSeparators(QStringLiteral(ORV_TEST_DATA "/Northwind 布局")));
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m.setReportsPath(dir.filePath(QStringLiteral("file/sub")));
        QVERIFY(!m.goNext());
        QVERIFY(m.pageMessage().contains(QStringLiteral("无法写入")));
        QCOMPARE(m.currentPage(), 3);
    }

    void convertsIntoTheDesignAsOneStep()
    {
        RecordingUi ui;
        DesignerCore core;
        Report *design = core.DesignedReport();
        AccessImportModel m(ui);
        m.SetReport(design);
        m.setUndoStack(core.undoStack());
        QVERIFY(toReports(m, NorthwindMdb, NorthwindExports));

        // Nothing current (checked, but not chosen): nothing is converted.
        m.setChecked(entryOf(m, QStringLiteral("Catalog")), true);
        QVERIFY(m.goNext());
        QVERIFY(m.goNext());
        waitForConversion(m);
        QCOMPARE(m.currentPage(), 5);
        QCOMPARE(m.statusLines(), QStringList{QStringLiteral("*** Starting conversion ***")});
        QCOMPARE(m.summary(), QStringLiteral("Access to OrvReport Wizard completed.\r\n"));
        QVERIFY(!m.designChanged() && !core.IsDirty());

        // Back to the list, the report chosen: its log lines arrive one by
        // one, the design changes in one undo step and reads as unsaved.
        m.goBack();
        m.goBack();
        m.goBack();
        QCOMPARE(m.currentPage(), 2);
        const int alpha = entryOf(m, QStringLiteral("Alphabetical List of Products"));
        m.setChecked(alpha, true);
        m.setCurrentEntry(alpha);
        QVERIFY(m.goNext());
        QSignalSpy lines(&m, &AccessImportModel::statusLineAdded);
        QVERIFY(m.goNext());
        QVERIFY(m.isRunning() && !m.backEnabled() && !m.nextEnabled() && m.cancelEnabled());
        waitForConversion(m);
        QCOMPARE(m.currentPage(), 5);
        QCOMPARE(lines.size(), m.statusLines().size());
        QCOMPARE(m.statusLines().first(), QStringLiteral("*** Starting conversion ***"));
        QCOMPARE(m.statusLines().last(), QStringLiteral("*** Conversion complete ***"));
        QVERIFY(m.designChanged());
        QCOMPARE(design->documentName(), QStringLiteral("AlphabeticalListofProducts"));
        QVERIFY(design->sections()->Count() > 3);
        QCOMPARE(core.undoStack()->count(), 1);
        QVERIFY(core.IsDirty());
        QVERIFY(m.summary().contains(QStringLiteral("converted from database \"") + NorthwindMdb + u'"'));
        core.undoStack()->undo();
        QCOMPARE(design->documentName(), Report().documentName());
        QCOMPARE(design->sections()->Count(), 3);
        QVERIFY(!core.IsDirty());
        core.undoStack()->redo();
        QCOMPARE(design->documentName(), QStringLiteral("AlphabeticalListofProducts"));

        // A damaged export and a form's export: told in the log, the
        // design as it was.
        QTemporaryDir dir;
        QFile damaged(dir.filePath(QStringLiteral("Catalog.txt")));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("Version =20\nBegin Report\n    Caption =\"cut") > 0);
        damaged.close();
        QFile form(dir.filePath(QStringLiteral("Invoice.txt")));
        QVERIFY(form.open(QIODevice::WriteOnly) && form.write("Version =20\nBegin Form\n    Caption =\"x\"\nEnd\n") > 0);
        form.close();
        for (const QString &name : {QStringLiteral("Catalog"), QStringLiteral("Invoice")}) {
            AccessImportModel again(ui);
            again.SetReport(design);
            again.setUndoStack(core.undoStack());
            QVERIFY(toReports(again, NorthwindMdb, dir.path()));
            again.setChecked(entryOf(again, name), true);
            again.setCurrentEntry(entryOf(again, name));
            QVERIFY(again.goNext() && again.goNext());
            waitForConversion(again);
            const QString error = again.statusLines().filter(QStringLiteral("Error: ")).value(0);
            QVERIFY2(name == u"Catalog" ? error.contains(QStringLiteral("line 3")) : error.contains(QStringLiteral("export of a form, not of a report")),
                     qPrintable(error));
            QVERIFY(!again.designChanged());
        }
        QCOMPARE(core.undoStack()->count(), 1);
        QCOMPARE(design->documentName(), QStringLiteral("AlphabeticalListofProducts"));
    }

    void convertsAllIntoAFolderSubreportsFirst()
    {
        RecordingUi ui;
        Report design;
        AccessImportModel m(ui);
        m.SetReport(&design);
        QVERIFY(toReports(m, NorthwindMdb, NorthwindExports));
        const QStringList chosen = {QStringLiteral("Catalog"), QStringLiteral("Invoice"), QStringLiteral("Catalog Subreport")};
        for (const QString &name : chosen)
            m.setChecked(entryOf(m, name), true);
        QVERIFY(m.goNext());
        QTemporaryDir dir;
        m.setConvertAll(true);
        m.setReportsPath(dir.filePath(QStringLiteral("layouts")));
        QVERIFY(m.goNext());
        waitForConversion(m);
        QCOMPARE(m.currentPage(), 5);
        // The subreport, listed after its parent in the database, first.
        QCOMPARE(m.statusLines().filter(QStringLiteral("Converting report")),
                 (QStringList{QStringLiteral("Converting report \"Catalog Subreport\" into CatalogSubreport.rpx"),
                              QStringLiteral("Converting report \"Catalog\" into Catalog.rpx"),
                              QStringLiteral("Converting report \"Invoice\" into Invoice.rpx")}));
        QCOMPARE(m.statusLines().filter(QStringLiteral("Error: No text export of report \"Invoice\"")).size(), 1);
        QCOMPARE(m.writtenLayouts(), (QStringList{dir.filePath(QStringLiteral("layouts/CatalogSubreport.rpx")),
                                                  dir.filePath(QStringLiteral("layouts/Catalog.rpx"))}));
        QVERIFY(m.summary().contains(QStringLiteral("2 converted, 1 without an export, 0 failed")));
        QVERIFY(!m.designChanged());
        QCOMPARE(design.sections()->Count(), 3);
    }

    void cancelStopsBetweenReports()
    {
        // A project lists the exports beside it: the seventeen samples.
        QTemporaryDir dir;
        QFile(dir.filePath(QStringLiteral("Samples.adp"))).open(QIODevice::WriteOnly);
        QDir(dir.path()).mkdir(QStringLiteral("Samples"));
        const QDir samples(QStringLiteral(ORV_TEST_DATA "/access-exports"));
        for (const QString &f : samples.entryList({QStringLiteral("*.bas"), QStringLiteral("*.report")}, QDir::Files))
            QVERIFY(QFile::copy(samples.filePath(f), dir.filePath(QStringLiteral("Samples/") + f.mid(f.lastIndexOf(QStringLiteral("__")) + 2))));
        RecordingUi ui;
        Report design;
        AccessImportModel m(ui);
        m.SetReport(&design);
        QVERIFY(toReports(m, dir.filePath(QStringLiteral("Samples.adp")), QString()));
        QCOMPARE(m.entries().size(), 18);
        m.setChecked(0, true);
        QVERIFY(m.goNext());
        m.setConvertAll(true);
        m.setReportsPath(dir.filePath(QStringLiteral("out")));
        QVERIFY(m.goNext());
        QVERIFY(!m.cancel());
        QVERIFY(m.cancelRequested());
        waitForConversion(m);
        QCOMPARE(m.currentPage(), 5);
        QVERIFY(m.statusLines().last().startsWith(QStringLiteral("*** Conversion cancelled: ")));
        QVERIFY(m.writtenLayouts().size() < 17);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList({QStringLiteral("*.rpx")}).size(), m.writtenLayouts().size());
        QVERIFY(m.summary().contains(QStringLiteral("not converted (cancelled)")));
        // Once stopped, Cancel closes.
        QVERIFY(m.cancel());
    }
};

QTEST_MAIN(TestAccessImportModel)
#include "tst_accessimportmodel.moc"
