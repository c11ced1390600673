// The four commands in the running main window: the toolbox's page-number
// button, File > Report Properties, Edit > Options and the pop-ups'
// Properties items open their dialogs, and what the dialogs change shows
// in the preview.
#include "dialogs/options/optionsdialog.h"
#include "dialogs/pagenumbers/pagenumbersdialog.h"
#include "dialogs/properties/propertiesdialog.h"
#include "dialogs/reportproperties/reportpropertiesdialog.h"
#include "engine/data/sampledatabase.h"
#include "engine/model/controls.h"
#include "engine/model/parts.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/viewer/viewer.h"
#include "shell/actioncatalogue.h"
#include "shell/settingsstore.h"
#include "shell/window/mainwindow.h"
#include "ui/recordingui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Orv;

namespace {

// Runs answer on the modal dialog command opens, then lets it close.
template<typename Dialog>
bool runModal(MainWindow &window, const QString &command, const std::function<void(Dialog &)> &answer)
{
    bool seen = false;
    QTimer::singleShot(0, &window, [&] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            seen = true;
            answer(*dialog);
        } else if (QWidget *other = QApplication::activeModalWidget()) {
            other->close();
        }
    });
    window.execute(command);
    return seen;
}

} // namespace

class TestPropertyDialogCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsOpenTheirDialogs();
};

void TestPropertyDialogCommands::commandsOpenTheirDialogs()
{
    QTemporaryDir dir;
    const QString layout = dir.filePath(QStringLiteral("customers.rpx"));
    QVERIFY(QFile::copy(QStringLiteral(ORV_TEST_DATA "/dialogs/customers.rpx"), layout));
    QVERIFY(Data::createSampleDatabase(dir.filePath(QStringLiteral("tesserane.db")), 1).ok());
    SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    RecordingUi ui;
    MainWindow window(ui, &settings);
    window.resize(1100, 760);
    window.show();
    window.startUp(layout);
    Report *report = window.designer()->DesignedReport();
    DesignerCore *core = window.designer()->core();

    for (const char *name : {"tbxPagenumber", "miFReportProperties", "miCRProperties", "miEOptions", "miCCProperties",
                             "miCSProperties", "miCFProperties"})
        QVERIFY2(window.action(QString::fromLatin1(name))->isEnabled(), name);

    // The toolbox's page-number button, with the dialog's defaults.
    QVERIFY(runModal<frmPageNumbers>(window, Command::InsertPageNumbers,
                                     [](frmPageNumbers &d) { QTest::mouseClick(d.btnOK(), Qt::LeftButton); }));
    Section *footer = report->sections()->Item(QStringLiteral("PageFooter"));
    QCOMPARE(footer->controls()->Count(), 2);
    QVERIFY(window.action(QStringLiteral("tEUndo"))->isEnabled());

    // File > Report Properties: landscape.
    QVERIFY(runModal<frmReportProperties>(window, Command::FileReportProperties, [](frmReportProperties &d) {
        const QRect r = d.tv()->visualItemRect(d.topic(QStringLiteral("RP3")));
        QTest::mouseClick(d.tv()->viewport(), Qt::LeftButton, {}, r.center());
        d.optOrientation(2)->setFocus();
        QTest::keyClick(d.optOrientation(2), Qt::Key_Space);
        QTest::mouseClick(d.btnOK(), Qt::LeftButton);
    }));
    QCOMPARE(report->pageSettings()->orientation(), 2);

    // Edit > Options: the grid off.
    QVERIFY(runModal<frmOptions>(window, Command::EditOptions, [](frmOptions &d) {
        d.chkShowGrid()->setFocus();
        QTest::keyClick(d.chkShowGrid(), Qt::Key_Space);
        QTest::mouseClick(d.btnOK(), Qt::LeftButton);
    }));
    QVERIFY(!window.designer()->ShowGrid());
    QVERIFY(!window.action(QStringLiteral("tVGrid"))->isChecked());

    // Properties: a window of its own that follows the selection.
    Control *field = report->sections()->Item(QStringLiteral("Detail"))->controls()->Item(0);
    core->select(field);
    window.execute(Command::ObjectProperties);
    auto *props = window.findChild<frmProperties *>(QStringLiteral("frmProperties"));
    QVERIFY(props && props->isVisible());
    QCOMPARE(props->propertyList()->objects(), QList<QObject *>{field});
    window.execute(Command::ObjectProperties);
    QCOMPARE(window.findChildren<frmProperties *>().size(), 1);
    props->close();

    // The preview shows it: landscape Letter pages with their numbers.
    window.setView(1);
    QTRY_VERIFY_WITH_TIMEOUT(window.viewer()->Pages()->Count() >= 1, 20000);
    const auto page = window.viewer()->Pages()->page(0);
    QVERIFY(page);
    QVERIFY2(page->size.width() > page->size.height(), "landscape");
    QVERIFY(ui.requests().isEmpty());
}

QTEST_MAIN(TestPropertyDialogCommands)
#include "tst_propertydialogcommands.moc"
