#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "ui/recordingui.h"
#include "ui/uidesignerprompts.h"
#include "ui/uiscriptdialogs.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace Orv;

namespace {

// Detail: lblA, a label, and shpC, a shape; two groups.
const char *const Layout = R"(<?xml version="1.0" encoding="UTF-8"?>
<OrvReportLayout version="1">
  <Report>
    <Section Type="4" Name="ghOuter" Height="300"/>
    <Section Type="4" Name="ghInner" Height="300"/>
    <Section Type="6" Name="Detail" Height="2880">
      <Control Type="OrvEngine.Label" Name="lblA" Left="100" Top="100" Width="1000" Height="300" Caption="A"/>
      <Control Type="OrvEngine.Shape" Name="shpC" Left="900" Top="1500" Width="800" Height="400"/>
    </Section>
    <Section Type="5" Name="gfInner" Height="300"/>
    <Section Type="5" Name="gfOuter" Height="300"/>
  </Report>
</OrvReportLayout>
)";

Control *named(DesignerCore &core, const char *name)
{
    for (Control *c : core.DesignedReport()->allControls()) {
        if (c->name() == QLatin1String(name))
            return c;
    }
    return nullptr;
}

} // namespace

class TestUiSeam : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorTextHasLeadingBlankForNonNegativeNumbers()
    {
        QCOMPARE(errorText(53, QStringLiteral("File not found")), QStringLiteral(" 53 - File not found"));
        QCOMPARE(errorText(0, QStringLiteral("x")), QStringLiteral(" 0 - x"));
        QCOMPARE(errorText(-2147217843, QStringLiteral("Login failed")), QStringLiteral("-2147217843 - Login failed"));
        QCOMPARE(errorText(Status::failure(321, QStringLiteral("Invalid file format"))),
                 QStringLiteral(" 321 - Invalid file format"));
    }

    void showErrorIsAnOkOnlyBoxTitledByTheOperation()
    {
        RecordingUi ui;
        ui.showError(Status::failure(75, QStringLiteral("Path/File access error")), QStringLiteral("Error: FileSaveAs"));
        QCOMPARE(ui.requests().size(), 1);
        const auto r = ui.last();
        QCOMPARE(r.kind, RecordingUi::Kind::MessageBox);
        QCOMPARE(r.text, QStringLiteral(" 75 - Path/File access error"));
        QCOMPARE(r.title, QStringLiteral("Error: FileSaveAs"));
        QCOMPARE(r.buttons, MessageButtons::Ok);
    }

    void answersComeFromTheQueueInOrder()
    {
        RecordingUi ui;
        ui.answer(MessageResult::Yes);
        ui.answer(QStringLiteral("/tmp/a.rpx"));
        ui.answer(QStringLiteral("typed"));
        ui.answer(0x00FF00);
        QCOMPARE(ui.messageBox(QStringLiteral("Save changes to the report?"), QStringLiteral("Save"),
                               MessageButtons::YesNoCancel),
                 MessageResult::Yes);
        FileDialogRequest open;
        open.title = QStringLiteral("Open Report");
        open.filter = QStringLiteral("Layouts (*.rpx)");
        QCOMPARE(ui.openFileName(open), QStringLiteral("/tmp/a.rpx"));
        QCOMPARE(ui.inputBox(QStringLiteral("Name?"), QStringLiteral("Prompt"), QStringLiteral("def")),
                 std::optional<QString>(QStringLiteral("typed")));
        QCOMPARE(ui.chooseColor(0), std::optional<int>(0x00FF00));
        QCOMPARE(ui.pendingAnswers(), 0);
        QCOMPARE(ui.requests().at(1).file.filter, QStringLiteral("Layouts (*.rpx)"));
        QCOMPARE(ui.requests().at(2).file.fileName, QStringLiteral("def"));

        // With nothing queued the user closes the dialog: Cancel, No, or OK.
        QCOMPARE(ui.messageBox(QStringLiteral("?"), QString(), MessageButtons::YesNoCancel), MessageResult::Cancel);
        QCOMPARE(ui.messageBox(QStringLiteral("?"), QString(), MessageButtons::YesNo), MessageResult::No);
        QCOMPARE(ui.messageBox(QStringLiteral("!"), QString(), MessageButtons::Ok), MessageResult::Ok);
        QCOMPARE(ui.saveFileName({}), QString());
        QVERIFY(!ui.inputBox(QStringLiteral("p"), QStringLiteral("t"), QString()));
        // An answer of the wrong kind cancels rather than being misread.
        ui.answer(MessageResult::Ok);
        QCOMPARE(ui.browseFolder(QStringLiteral("Folder"), QStringLiteral("/")), QString());

        ui.setClipboardText(QStringLiteral("copied"));
        QCOMPARE(ui.clipboardText(), QStringLiteral("copied"));
    }

    void listsNumbersAndBordersAreRecordedAndAnswered()
    {
        RecordingUi ui;
        const QStringList items{QStringLiteral("Normal"), QStringLiteral("Heading 1")};
        ui.answer(QStringLiteral("Heading 1")); // by text
        ui.answer(0);                           // by position
        ui.answer(7);                           // not offered: cancels
        ui.answer(12);                          // an int does for a number
        ui.answer(5000.0);                      // out of range: cancels
        ui.answer(QList<int>{1, 0});
        BorderChoice border;
        border.style = 3;
        border.sides = BorderChoice::Top;
        ui.answer(border);
        QCOMPARE(ui.chooseItem(QStringLiteral("Style:"), QStringLiteral("Style"), items, 0), std::optional<int>(1));
        QCOMPARE(ui.chooseItem(QStringLiteral("Style:"), QStringLiteral("Style"), items, 1), std::optional<int>(0));
        QVERIFY(!ui.chooseItem(QStringLiteral("Style:"), QStringLiteral("Style"), items, 1));
        QCOMPARE(ui.inputNumber(QStringLiteral("Size:"), QStringLiteral("Font Size"), 10, 1, 1638, 1),
                 std::optional<double>(12));
        QVERIFY(!ui.inputNumber(QStringLiteral("Size:"), QStringLiteral("Font Size"), 10, 1, 1638, 1));
        QCOMPARE(ui.chooseOrder(QStringLiteral("Reorder"), items), std::optional<QList<int>>(QList<int>{1, 0}));
        const auto chosen = ui.chooseBorder(BorderChoice());
        QVERIFY(chosen && chosen->style == 3 && chosen->sides == BorderChoice::Top);
        QVERIFY(!ui.editText(QStringLiteral("Notes"), QStringLiteral("old"))); // nothing queued
        QCOMPARE(ui.requests().size(), 8);
        QCOMPARE(ui.requests().at(0).kind, RecordingUi::Kind::ChooseItem);
        QCOMPARE(ui.requests().at(0).items, items);
        QCOMPARE(ui.requests().at(3).kind, RecordingUi::Kind::InputNumber);
        QCOMPARE(ui.requests().at(3).initial, 10.0);
        QCOMPARE(ui.last().kind, RecordingUi::Kind::EditText);
        QCOMPARE(ui.last().text, QStringLiteral("old"));
    }

    void scriptBoxesMapOntoTheSeam()
    {
        RecordingUi ui;
        UiScriptDialogs dialogs(ui);
        ui.answer(MessageResult::Yes);
        QCOMPARE(dialogs.messageBox(QStringLiteral("Go on?"), 4 + 32, QStringLiteral("Run")), 6); // vbYesNo + vbQuestion
        QCOMPARE(ui.last().buttons, MessageButtons::YesNo);
        QCOMPARE(ui.last().icon, MessageIcon::Question);
        QCOMPARE(ui.last().title, QStringLiteral("Run"));
        // Numbers no box has show OK alone; closing it answers vbOK.
        QCOMPARE(dialogs.messageBox(QStringLiteral("?"), 7 + 112, QString()), 1);
        QCOMPARE(ui.last().buttons, MessageButtons::Ok);
        QCOMPARE(ui.last().icon, MessageIcon::None);
        ui.answer(QStringLiteral("Lyon"));
        QCOMPARE(dialogs.inputBox(QStringLiteral("City?"), QStringLiteral("Filter"), QStringLiteral("Paris")),
                 std::optional<QString>(QStringLiteral("Lyon")));
        QCOMPARE(ui.last().file.fileName, QStringLiteral("Paris"));
        QVERIFY(!dialogs.inputBox(QStringLiteral("City?"), QStringLiteral("Filter"), QString()));
    }

    // The designer's core alone, with its prompts answered through the seam.
    void designerPromptsGoThroughTheSeam()
    {
        DesignerCore core;
        RecordingUi ui;
        UiDesignerPrompts prompts(ui);
        QVERIFY(core.loadLayout(QString()).number() != 0); // no file: an error, nothing changed
        const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("tst_uiseam_prompts.rpx"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(Layout);
        }
        QVERIFY(core.loadLayout(path).ok());
        QFile::remove(path);
        QSignalSpy dirty(&core, &DesignerCore::dirtyChanged);
        auto *label = qobject_cast<Label *>(named(core, "lblA"));
        core.select(label);

        // Without prompts a prompted action does nothing.
        QVERIFY(!core.ExecuteAction(DesignerAction::FontSize));
        core.setPrompts(&prompts);

        // Cancelled (nothing queued): nothing changes, no step, still clean.
        const QByteArray before = layoutBytes(*core.DesignedReport());
        QVERIFY(!core.ExecuteAction(DesignerAction::FontSize));
        QCOMPARE(ui.last().kind, RecordingUi::Kind::InputNumber);
        QCOMPARE(ui.last().title, QStringLiteral("字号"));
        QCOMPARE(ui.last().initial, label->font()->size());
        QCOMPARE(layoutBytes(*core.DesignedReport()), before);
        QCOMPARE(core.undoStack()->count(), 0);
        QVERIFY(!core.IsDirty());

        // Answered: the report changes in one undo step, and undo takes it back.
        ui.answer(18.0);
        QVERIFY(core.ExecuteAction(DesignerAction::FontSize));
        QCOMPARE(label->font()->size(), 18.0);
        QCOMPARE(core.undoStack()->count(), 1);
        QVERIFY(core.IsDirty());
        QVERIFY(core.ExecuteAction(DesignerAction::Undo));
        QCOMPARE(layoutBytes(*core.DesignedReport()), before);
        QVERIFY(!core.IsDirty());
        QCOMPARE(dirty.count(), 2);

        // The line style list and the colour title say what is asked.
        core.select(named(core, "shpC"));
        ui.answer(QStringLiteral("点线"));
        QVERIFY(core.ExecuteAction(DesignerAction::LineStyle));
        QCOMPARE(named(core, "shpC")->property("LineStyle").toInt(), 3);
        QCOMPARE(ui.last().items, UiDesignerPrompts::lineStyleNames());
        ui.answer(0x0000FF);
        QVERIFY(core.ExecuteAction(DesignerAction::BackColor));
        QCOMPARE(ui.last().title, QStringLiteral("背景色"));
        QCOMPARE(qobject_cast<BoxControl *>(named(core, "shpC"))->backColor(), 0x0000FF);

        // Group order: the groups offered outermost first, one step.
        const int steps = core.undoStack()->count();
        ui.answer(QList<int>{1, 0});
        QVERIFY(core.ExecuteAction(DesignerAction::ReorderGroups));
        QCOMPARE(ui.last().items, (QStringList{QStringLiteral("ghOuter"), QStringLiteral("ghInner")}));
        QCOMPARE(core.DesignedReport()->sections()->Item(0)->name(), QStringLiteral("ghInner"));
        QCOMPARE(core.DesignedReport()->sections()->Item(4)->name(), QStringLiteral("gfInner"));
        QCOMPARE(core.undoStack()->count(), steps + 1);
        QVERIFY(!core.ExecuteAction(DesignerAction::ReorderGroups)); // cancelled
        QCOMPARE(core.undoStack()->count(), steps + 1);
    }
};

QTEST_MAIN(TestUiSeam)
#include "tst_uiseam.moc"
