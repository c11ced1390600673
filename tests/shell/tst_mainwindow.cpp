// The real main window, offscreen: the view tabs and the preview run, the
// splitter, the view toggles, the close prompt answered through the
// recording ui, and the start dialog's widget.
#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/viewer/viewer.h"
#include "engine/script/scriptedrun.h"
#include "engine/run/reportrun.h"
#include "shell/startdialogmodel.h"
#include "shell/window/mainwindow.h"
#include "shell/window/startdialog.h"
#include "ui/recordingui.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

using namespace Orv;

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_layout;

    std::unique_ptr<SettingsStore> freshSettings(const QString &name)
    {
        return std::make_unique<SettingsStore>(m_dir.filePath(name));
    }

    static void mouse(QWidget *w, QEvent::Type type, int x)
    {
        QMouseEvent e(type, QPointF(x, 5), w->mapToGlobal(QPointF(x, 5)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A one-page layout whose script writes to the debug list.
        Report report;
        report.setScript(QStringLiteral("Sub Report_ReportStart\r\n  dbg.Out \"folder \" & ReportPath()\r\nEnd Sub\r\n"));
        Section *header = report.sections()->Item(QStringLiteral("PageHeader"));
        QVERIFY(header);
        Control *label = header->controls()->Add(QStringLiteral("OrvEngine.Label"));
        QVERIFY(label);
        label->setProperty("Caption", QStringLiteral("Hello"));
        m_layout = m_dir.filePath(QStringLiteral("hello.rpx"));
        QVERIFY(SaveLayout(report, m_layout, LayoutFile::ToFile).ok());
    }

    void startUpOpensTheCommandLineOrShowsTheStartDialog()
    {
        auto settings = freshSettings(QStringLiteral("a.ini"));
        RecordingUi ui;
        int shown = 0;
        {
            MainWindow window(ui, settings.get());
            window.setStartDialogRunner([&](StartDialogModel &m) {
                ++shown;
                QCOMPARE(m.tabKeys().first(), QStringLiteral("New"));
                m.cancel();
            });
            window.startUp(m_layout);
            QCOMPARE(shown, 0);
            QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lbRptName"))->text(),
                     QStringLiteral("报表路径[") + m_layout + QLatin1Char(']'));
            QVERIFY(window.windowTitle().startsWith(QStringLiteral("hello.rpx - OrvReport")));
            window.startUp(QString());
            QCOMPARE(shown, 1);
        }
        settings->writeNumber(SettingsStore::showFileDialogOnStartup(), 0);
        MainWindow window(ui, settings.get());
        window.setStartDialogRunner([&](StartDialogModel &m) {
            ++shown;
            m.cancel();
        });
        window.startUp(QString());
        QCOMPARE(shown, 1);
        // The menus and bars come from the catalogue, with the texts as written.
        QCOMPARE(window.action(QStringLiteral("miFOpen"))->text(), QStringLiteral("打开...[&O]"));
        QCOMPARE(window.action(QStringLiteral("tFOpen"))->toolTip(), QStringLiteral("打开"));
        QCOMPARE(window.action(QStringLiteral("tVStatusBar"))->toolTip(), QStringLiteral("状态栏"));
        QVERIFY(window.toolBar(QStringLiteral("tbViewer")));
        // Keys: on the menu item where there is one, else on the button.
        QCOMPARE(window.action(QStringLiteral("miFOpen"))->shortcut(), QKeySequence(QKeySequence::Open));
        QVERIFY(window.action(QStringLiteral("tFOpen"))->shortcut().isEmpty());
        QCOMPARE(window.action(QStringLiteral("tvuPageDown"))->shortcut(), QKeySequence(Qt::Key_PageDown));
        QCOMPARE(ui.requests().size(), 0);
    }

    void tabsSwitchViewsAndEveryPreviewRunsAFreshReport()
    {
        auto settings = freshSettings(QStringLiteral("b.ini"));
        RecordingUi ui;
        MainWindow window(ui, settings.get());
        window.resize(1100, 760);
        window.show();
        window.startUp(m_layout);
        auto *tab1 = window.findChild<QLabel *>(QStringLiteral("lblTab_1"));
        auto *path = window.findChild<QLabel *>(QStringLiteral("lbRptName"));
        QTest::mouseClick(tab1, Qt::LeftButton);
        QCOMPARE(window.viewMode(), ViewMode::Preview);
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("picView"))->isVisible());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("picDesign"))->isVisible());
        QVERIFY(path->isHidden());
        QVERIFY(window.action(QStringLiteral("tVPreview"))->isChecked());
        QVERIFY(!window.action(QStringLiteral("tVDesign"))->isChecked());
        Script::ScriptedRun *first = window.previewRun();
        QVERIFY(first);
        QTRY_VERIFY(window.viewer()->Pages()->Count() >= 1);
        QTRY_COMPARE(window.debugList()->count(), 1);
        QCOMPARE(window.debugList()->item(0)->text(), QStringLiteral("folder ") + m_dir.path() + QLatin1Char('/'));
        QTRY_VERIFY(window.debugList()->isVisible());
        // The status bar counts the pages made; a page box entry past the
        // last page is refused.
        QTRY_VERIFY(window.findChild<QLabel *>(QStringLiteral("sbProgress"))->text().startsWith(QStringLiteral("1 页")));
        auto *box = window.findChild<QLineEdit *>(QStringLiteral("txtViewPageNumber"));
        QCOMPARE(box->text(), QStringLiteral("1/1"));
        box->setText(QStringLiteral("2"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(window.viewer()->canvas(), 0);
        // The design is untouched by the run.
        QVERIFY(!window.designer()->IsDirty());

        QTest::mouseClick(window.findChild<QLabel *>(QStringLiteral("lblTab_0")), Qt::LeftButton);
        QCOMPARE(window.viewMode(), ViewMode::Design);
        QVERIFY(!path->isHidden());
        QVERIFY(!window.viewer()->reportSource());
        window.execute(QStringLiteral("ViewPreview"));
        QVERIFY(window.previewRun());
        QVERIFY(window.previewRun()->run() != nullptr);
        QTRY_VERIFY(window.viewer()->Pages()->Count() >= 1);
        window.close();
    }

    void splitterAndTogglesFollowTheRules()
    {
        auto settings = freshSettings(QStringLiteral("c.ini"));
        RecordingUi ui;
        MainWindow window(ui, settings.get());
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *splitter = window.findChild<QWidget *>(QStringLiteral("imgSplitter"));
        auto *bar = window.findChild<QWidget *>(QStringLiteral("picSplitter"));
        QVERIFY(splitter && bar);
        // Dragged far to the left, the bar stops 500 twips from the edge
        // and the designer keeps 1500 twips.
        mouse(splitter, QEvent::MouseButtonPress, 2);
        QVERIFY(bar->isVisible());
        mouse(splitter, QEvent::MouseMove, -5000);
        QCOMPARE(bar->x(), 500 / 15);
        mouse(splitter, QEvent::MouseButtonRelease, -5000);
        QVERIFY(bar->isHidden());
        QCOMPARE(window.designer()->width(), 1500 / 15);
        QVERIFY(window.propertyList()->geometry().left() > window.designer()->geometry().right());
        // Dragged far right, it stops 500 twips before the window's edge.
        mouse(splitter, QEvent::MouseButtonPress, 2);
        mouse(splitter, QEvent::MouseMove, 5000);
        QCOMPARE(bar->x(), window.width() - 500 / 15);
        mouse(splitter, QEvent::MouseButtonRelease, 5000);
        QCOMPARE(window.designer()->width(), window.width() - 500 / 15);

        // Hiding the status bar gives its height to the pages.
        auto *design = window.findChild<QWidget *>(QStringLiteral("picDesign"));
        const int before = design->height();
        const int status = window.statusBar()->height();
        window.execute(QStringLiteral("ViewStatusBar"));
        QVERIFY(window.statusBar()->isHidden());
        QTRY_COMPARE(design->height(), before + status);
        QVERIFY(!window.action(QStringLiteral("miVStatusBar"))->isChecked());
        QVERIFY(!window.action(QStringLiteral("tVStatusBar"))->isChecked());

        // The property list toggle, menu and button alike.
        window.action(QStringLiteral("tVPropertiesList"))->trigger();
        QVERIFY(window.propertyList()->isHidden());
        QCOMPARE(window.designer()->width(), design->width());
        QVERIFY(!window.action(QStringLiteral("miVPropertiesList"))->isChecked());
        window.action(QStringLiteral("miVPropertiesList"))->trigger();
        QVERIFY(!window.propertyList()->isHidden());
        QVERIFY(window.action(QStringLiteral("tVPropertiesList"))->isChecked());

        // A band hidden from the View menu leaves the coolbar lower.
        QToolBar *format = window.toolBar(QStringLiteral("tbFormat"));
        window.action(QStringLiteral("miVTFormat"))->trigger();
        QVERIFY(format->isHidden());
        QVERIFY(!window.action(QStringLiteral("miVTFormat"))->isChecked());
        window.close();
    }

    void closePromptComesThroughTheSeam()
    {
        auto settings = freshSettings(QStringLiteral("d.ini"));
        RecordingUi ui;
        MainWindow window(ui, settings.get());
        window.show();
        window.startUp(m_layout);
        QVERIFY(window.close()); // nothing changed: no question
        QCOMPARE(ui.requests().size(), 0);
        window.show();
        Section *detail = window.designer()->DesignedReport()->sections()->Item(QStringLiteral("Detail"));
        QVERIFY(window.designer()->core()->insertControl(QStringLiteral("OrvEngine.Field"), detail, QPointF(), QPointF()));
        QVERIFY(window.windowTitle().startsWith(QLatin1Char('*')));
        ui.answer(MessageResult::Cancel);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(ui.last().text, QStringLiteral("报表已修改，是否保存？"));
        QCOMPARE(ui.last().title, QStringLiteral("报表保存"));
        ui.answer(MessageResult::Yes);
        QVERIFY(window.close());
        // Saved under its own name, and remembered with the window's size.
        Report back;
        QVERIFY(LoadLayout(back, m_layout).ok());
        QCOMPARE(settings->readText(QStringLiteral("MRU1"), QString()), m_layout);
        QVERIFY(!settings->readText(QStringLiteral("WindowGeometry"), QString()).isEmpty());
    }

    void startDialogWidget()
    {
        StartDialogModel model;
        model.setShowNew(false);
        model.AddExistItem(QStringLiteral("hello.rpx"), m_dir.path(), QStringLiteral("12/7/26"));
        frmFileDialog dialog(model);
        QCOMPARE(dialog.tabMain()->count(), 2);
        QCOMPARE(dialog.tabMain()->tabText(0), QStringLiteral("现存"));
        QCOMPARE(dialog.tabMain()->tabText(1), QStringLiteral("最近"));
        dialog.show();
        dialog.showTab(QStringLiteral("Recent"));
        QTreeWidgetItem *item = dialog.lvwRecent()->topLevelItem(0);
        QCOMPARE(item->text(1), m_dir.path());
        // Enter on the selected recent file opens it.
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.lvwRecent()->currentItem(), item);
        QTest::keyClick(dialog.lvwRecent(), Qt::Key_Return);
        QVERIFY(model.isDone());
        QVERIFY(!model.Cancelled());
        QCOMPARE(model.Filename(), m_layout);
        QTRY_VERIFY(dialog.isHidden());

        StartDialogModel withNew;
        withNew.AddNewType(StartDialogModel::blankReport(), QStringLiteral("New Report"));
        withNew.AddNewType(StartDialogModel::reportWizard(), QStringLiteral("Report Wizard"));
        frmFileDialog second(withNew);
        QCOMPARE(second.tabMain()->tabText(0), QStringLiteral("新建"));
        second.chkDont()->setChecked(true);
        QVERIFY(withNew.dontShowAgain());
        QCOMPARE(second.chkDont()->text(), QStringLiteral("不再显示这个对话框[&U]"));
        QTest::mouseClick(second.findChild<QPushButton *>(QStringLiteral("cmdNewOpen")), Qt::LeftButton);
        QVERIFY(withNew.IsNew());
        QCOMPARE(withNew.Filename(), StartDialogModel::blankReport());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
