// The main window's preview, offscreen, on the sample database: the viewer
// bar at the first and last pages, the page and zoom boxes, the multi-page
// view mode, find, printing to a PDF file and page setup through the ui
// seam, the export dialog, run errors on the status bar, leaving the
// preview while a report runs, and VBPath's question.
#include "dialogs/export/frmexport.h"
#include "engine/data/sampledatabase.h"
#include "engine/model/parts.h"
#include "engine/model/report.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/scriptedrun.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/viewer/viewer.h"
#include "shell/window/mainwindow.h"
#include "ui/recordingui.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <poppler-qt6.h>

using namespace Orv;

class TestPreview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

    // Customers, a tall detail each, so a few to a page.
    QString writeLayout(const QString &name, const QString &sql, const QString &script = QString())
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        [&] { QVERIFY(file.open(QIODevice::WriteOnly)); }();
        file.write(QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<OrvReportLayout version="1"><Report DocumentName="Customers" Script="%3">
<Section Type="6" Name="Detail" Height="2400">
  <Control Type="OrvEngine.Field" Name="fldName" Width="4000" DataField="CompanyName"/>
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="%1" Source="%2"/>
</Section>
</Report></OrvReportLayout>
)")
                       .arg((QStringLiteral("Provider=SQLite;Data Source=") + m_db).toHtmlEscaped(), sql.toHtmlEscaped(),
                            script.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("&#10;")))
                       .toUtf8());
        return path;
    }

    struct Fixture
    {
        RecordingUi ui;
        SettingsStore settings;
        MainWindow window;
        explicit Fixture(const QString &ini) : settings(ini), window(ui, &settings)
        {
            window.resize(1100, 760);
            window.show();
        }
        void preview(const QString &layout)
        {
            window.startUp(layout);
            window.setView(1);
            QTRY_VERIFY_WITH_TIMEOUT(window.previewRun()->run()->isFinished(), 30000);
            window.viewer()->syncPages();
        }
        bool enabled(const char *key) { return window.action(QString::fromLatin1(key))->isEnabled(); }
        void press(const char *key) { window.action(QString::fromLatin1(key))->trigger(); }
        QLabel *status() { return window.findChild<QLabel *>(QStringLiteral("sbPanel1")); }
    };

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(QStringLiteral("tesserane.db"));
        QVERIFY(Data::createSampleDatabase(m_db, 1).ok());
    }

    void barAndBoxesFollowThePages()
    {
        Fixture f(m_dir.filePath(QStringLiteral("a.ini")));
        f.preview(writeLayout(QStringLiteral("list.rpx"), QStringLiteral("SELECT CompanyName FROM Customers ORDER BY CompanyName")));
        Viewer *viewer = f.window.viewer();
        const int count = viewer->Pages()->Count();
        QVERIFY(count >= 3);
        auto *box = f.window.findChild<QLineEdit *>(QStringLiteral("txtViewPageNumber"));
        QCOMPARE(box->text(), QStringLiteral("1/%1").arg(count));
        QVERIFY(!f.enabled("tvuPageFirst") && !f.enabled("tvuPageUp"));
        QVERIFY(f.enabled("tvuPageDown") && f.enabled("tvuPageLast"));
        QVERIFY(f.enabled("tvuExport") && f.enabled("tvuPrint") && f.enabled("tvuSave"));
        f.press("tvuPageUp");
        QCOMPARE(viewer->canvas(), 0);
        f.press("tvuPageLast");
        QCOMPARE(viewer->canvas(), count - 1);
        QVERIFY(!f.enabled("tvuPageDown") && !f.enabled("tvuPageLast") && f.enabled("tvuPageFirst"));
        f.press("tvuPageDown");
        QCOMPARE(viewer->canvas(), count - 1);
        QCOMPARE(box->text(), QStringLiteral("%1/%1").arg(count));

        // The page box refuses 0 and count + 1 and keeps the focus.
        for (const QString &refused : {QStringLiteral("0"), QString::number(count + 1)}) {
            box->setFocus();
            box->setText(refused);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(viewer->canvas(), count - 1);
            QVERIFY(box->hasFocus());
        }
        box->setText(QStringLiteral("1"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(viewer->canvas(), 0);

        // Zoom steps of 25 within 25 and 800; a fit mode zooms to 100.
        auto *zoom = f.window.findChild<QComboBox *>(QStringLiteral("cboViewZoom"));
        QVERIFY(viewer->setZoom(110).ok());
        f.press("tvuZoomIn");
        QCOMPARE(viewer->zoom(), 125);
        QVERIFY(viewer->setZoom(110).ok());
        f.press("tvuZoomOut");
        QCOMPARE(viewer->zoom(), 75);
        QCOMPARE(zoom->currentText(), QStringLiteral(" 75%"));
        QVERIFY(viewer->setZoom(25).ok());
        f.press("tvuZoomOut");
        QCOMPARE(viewer->zoom(), 25);
        QVERIFY(viewer->setZoom(800).ok());
        f.press("tvuZoomIn");
        QCOMPARE(viewer->zoom(), 800);
        Q_EMIT zoom->activated(8);
        QCOMPARE(viewer->zoom(), -1);
        QCOMPARE(zoom->currentIndex(), 8);
        f.press("tvuZoomIn");
        QCOMPARE(viewer->zoom(), 100);

        // A grid of pages has no zoom.
        f.press("tvuMultiPage");
        QVERIFY(f.window.action(QStringLiteral("tvuMultiPage"))->isChecked());
        QVERIFY(!f.enabled("tvuZoomIn") && !zoom->isEnabled());
        f.press("tvuSinglePage");
        QVERIFY(f.window.action(QStringLiteral("tvuSinglePage"))->isChecked());
        QVERIFY(f.enabled("tvuZoomIn") && zoom->isEnabled());

        // Find: a text not there says so on the status bar.
        auto *find = f.window.findChild<QLineEdit *>(QStringLiteral("txtViewFind"));
        find->setText(QStringLiteral("zzqq"));
        f.press("tvuFind");
        QTRY_COMPARE(f.status()->text(), QStringLiteral("找不到“zzqq”"));
        QVERIFY(f.ui.requests().isEmpty());
    }

    void printsAndSetsUpThePageThroughTheSeam()
    {
        Fixture f(m_dir.filePath(QStringLiteral("b.ini")));
        const QString layout = writeLayout(QStringLiteral("print.rpx"), QStringLiteral("SELECT CompanyName FROM Customers"));
        f.preview(layout);
        const int count = f.window.viewer()->Pages()->Count();
        const QString pdf = m_dir.filePath(QStringLiteral("printed.pdf"));
        RecordingUi::PrintChoice choice;
        choice.from = 2;
        choice.to = 3;
        choice.outputFile = pdf;
        f.ui.answer(choice);
        f.press("tvuPrint");
        QCOMPARE(f.ui.last().kind, RecordingUi::Kind::PrintDialog);
        QCOMPARE(f.ui.last().items, (QStringList{QStringLiteral("1"), QString::number(count)}));
        const auto doc = Poppler::Document::load(pdf);
        QVERIFY(doc);
        QCOMPARE(doc->numPages(), 2);
        // A cancelled dialog prints nothing and says nothing.
        QFile::remove(pdf);
        f.press("tvuPrint");
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(f.ui.requests().size(), 2);

        // Export: the dialog opens on the viewer's pages and writes the file.
        const QString exported = m_dir.filePath(QStringLiteral("exported.txt"));
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<frmExport *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *format = dialog->findChild<QComboBox *>(QStringLiteral("cboExportFormat"));
            Q_EMIT format->activated(5);
            dialog->findChild<QLineEdit *>(QStringLiteral("txtFilename_5"))->setText(exported);
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        f.window.execute(QStringLiteral("FileExport"));
        QVERIFY(QFile(exported).size() > 0);

        // Page setup in design view: one undo step on the report's paper.
        f.window.setView(0);
        PageSettings *page = f.window.designer()->DesignedReport()->pageSettings();
        const double left = page->leftMargin();
        f.ui.answer(RecordingUi::PageSetupChoice{QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                                             QMarginsF(36, 36, 36, 36), QPageLayout::Point)});
        f.window.execute(QStringLiteral("FilePrinterSetup"));
        QCOMPARE(f.ui.last().kind, RecordingUi::Kind::PageSetup);
        QCOMPARE(page->paperSize(), 9);
        QCOMPARE(page->orientation(), 2);
        QCOMPARE(page->leftMargin(), 720.0);
        QCOMPARE(page->paperWidth(), 11906.0);
        QVERIFY(f.window.designer()->IsDirty());
        f.window.designer()->undoStack()->undo();
        QCOMPARE(page->leftMargin(), left);
        QCOMPARE(page->orientation(), -1);
    }

    void runErrorsGoToTheStatusBarAndDesignCancelsTheRun()
    {
        Fixture f(m_dir.filePath(QStringLiteral("c.ini")));
        f.preview(writeLayout(QStringLiteral("bad.rpx"), QStringLiteral("SELECT Nothing FROM NoSuchTable")));
        QVERIFY(f.status()->text().startsWith(QStringLiteral("Error: ")));
        QVERIFY(f.status()->text().contains(QStringLiteral("NoSuchTable")));
        // A script error in a section event, and the report's own Error
        // handler sees the seven arguments first.
        f.window.setView(0);
        f.preview(writeLayout(QStringLiteral("script.rpx"), QStringLiteral("SELECT CompanyName FROM Customers"),
                              QStringLiteral("Sub Detail_Format\n  x = 1 / 0\nEnd Sub\n"
                                             "Sub Report_Error(n, d, c, s, f, h, cancel)\n  dbg.Out n & \"|\" & Hex(c)\nEnd Sub\n")));
        QVERIFY(f.status()->text().startsWith(QStringLiteral("Error: ")));
        QCOMPARE(f.window.debugList()->item(0)->text(), QStringLiteral("11|800A000B"));
        QVERIFY(f.ui.requests().isEmpty()); // no box

        // Back to design while a long report runs: the run stops at once.
        f.window.setView(0);
        f.window.startUp(writeLayout(QStringLiteral("long.rpx"), QStringLiteral(
            "SELECT p.ProductName AS CompanyName FROM [Order Details] d JOIN Products p ON p.ProductID = d.ProductID")));
        f.window.setView(1);
        ReportRun *run = f.window.previewRun()->run();
        QTRY_VERIFY(f.window.viewer()->Pages()->Count() >= 1);
        QVERIFY(run->isRunning());
        f.window.setView(0);
        QVERIFY(!run->isRunning());
        QVERIFY(run->wasCancelled());
        QVERIFY(!f.window.viewer()->reportSource());
    }

    void vbPathAsksWhenTheKeyHasNoValue()
    {
        QTemporaryDir system;
        QDir().mkpath(system.filePath(QStringLiteral("Orv")));
        QFile ini(system.filePath(QStringLiteral("Orv/OrvReport.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Software/Microsoft/VisualStudio/6.0/Setup/Microsoft%20Visual%20Basic]\n");
        ini.close();
        qputenv(SettingsStore::SystemConfigDirVariable, QFile::encodeName(system.path()));
        Fixture f(m_dir.filePath(QStringLiteral("d.ini")));
        f.ui.answer(QStringLiteral("/opt/vb98"));
        f.preview(writeLayout(QStringLiteral("vbpath.rpx"), QStringLiteral("SELECT CompanyName FROM Customers LIMIT 1"),
                              QStringLiteral("Sub Report_ReportStart\n  dbg.Out \"[\" & VBPath() & \"]\"\nEnd Sub\n")));
        qunsetenv(SettingsStore::SystemConfigDirVariable);
        QCOMPARE(f.ui.last().kind, RecordingUi::Kind::InputBox);
        QCOMPARE(f.ui.last().title, QStringLiteral("VB Path not found"));
        QCOMPARE(f.ui.last().text, QStringLiteral("Please enter a valid path to NWind.mdb"));
        QCOMPARE(f.window.debugList()->item(0)->text(), QStringLiteral("[/opt/vb98]"));
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
