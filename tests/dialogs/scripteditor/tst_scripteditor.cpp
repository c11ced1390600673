// The script editor: its model headless (colouring, find and replace, the
// interpreter's check, applying as one undo step) and the real window
// driven offscreen (typing, the check moving the cursor, OK and Cancel).
#include "dialogs/scripteditor/scripteditor.h"
#include "dialogs/scripteditor/scripteditormodel.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "ui/recordingui.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QUndoStack>

using namespace Orv;
using Model = ScriptEditorModel;

class TestScriptEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colouringSpans()
    {
        const QList<Model::Span> spans = Model::highlight(QStringLiteral("If x = \"a \"\"b\"\" c\" Then n = 12 ' done"));
        QCOMPARE(spans.size(), 5);
        QCOMPARE(spans[0].token, Model::Token::Keyword);
        QCOMPARE(spans[0].length, 2);
        QCOMPARE(spans[1].token, Model::Token::String);
        QCOMPARE(spans[1].length, 11); // "a ""b"" c" with its quotes
        QCOMPARE(spans[2].token, Model::Token::Keyword); // Then
        QCOMPARE(spans[3].token, Model::Token::Number);
        QCOMPARE(spans[4].token, Model::Token::Comment);
        QCOMPARE(spans[4].length, 6);
        // Rem comments, members named like keywords, an unclosed string.
        QCOMPARE(Model::highlight(QStringLiteral("Rem all of it")).first().token, Model::Token::Comment);
        QVERIFY(Model::highlight(QStringLiteral("rpt.End")).isEmpty());
        QCOMPARE(Model::highlight(QStringLiteral("x = \"open")).first().length, 5);
    }

    void findAndReplace()
    {
        const QString text = QStringLiteral("total = Total + subtotal");
        Model::FindOptions any;
        QCOMPARE(Model::find(text, QStringLiteral("total"), 0, any), 0);
        QCOMPARE(Model::find(text, QStringLiteral("total"), 1, any), 8);
        Model::FindOptions exact{true, true, false};
        QCOMPARE(Model::find(text, QStringLiteral("total"), 1, exact), 0); // wraps; subtotal is no whole word
        QCOMPARE(Model::find(text, QStringLiteral("Total"), 0, exact), 8);
        Model::FindOptions back{false, false, true};
        QCOMPARE(Model::find(text, QStringLiteral("total"), 8, back), 0);
        QCOMPARE(Model::find(text, QStringLiteral("missing"), 0, any), -1);
        QCOMPARE(Model::find(text, QString(), 0, any), -1);
        QString edited = text;
        QCOMPARE(Model::replaceAll(&edited, QStringLiteral("total"), QStringLiteral("sum"), Model::FindOptions{false, true, false}), 2);
        QCOMPARE(edited, QStringLiteral("sum = sum + subtotal"));
        // A replacement containing the text found does not loop.
        edited = QStringLiteral("a a");
        QCOMPARE(Model::replaceAll(&edited, QStringLiteral("a"), QStringLiteral("aa"), any), 2);
        QCOMPARE(edited, QStringLiteral("aa aa"));
    }

    void checkAndApply()
    {
        DesignerCore core;
        Report *report = core.DesignedReport();
        Model model(core);
        QCOMPARE(model.count(), 1 + report->sections()->Count());
        const int detail = model.indexOf(report->sections()->Item(QStringLiteral("Detail")));
        QVERIFY(detail > 0);
        QCOMPARE(model.title(detail), QStringLiteral("Detail"));

        // A section script naming controls and sections compiles; nothing runs.
        model.setText(detail, QStringLiteral("Sub OnFormat\r\n  Detail.Visible = True\r\nEnd Sub\r\nMsgBox \"never\"\r\n"));
        QVERIFY(model.check(detail).ok);
        // A broken one says where.
        model.setText(0, QStringLiteral("Sub Report_ReportStart\r\n  x = 1\r\n  y = (2 +\r\nEnd Sub\r\n"));
        const Model::CheckResult result = model.check(0);
        QVERIFY(!result.ok);
        QCOMPARE(result.line, 3);
        QVERIFY(result.column > 1);
        QVERIFY(!result.message.isEmpty());

        // Applying: one step for both scripts, the design unsaved; undo
        // brings both back.
        QVERIFY(!core.IsDirty());
        const int steps = core.undoStack()->count();
        QVERIFY(model.apply());
        QCOMPARE(core.undoStack()->count(), steps + 1);
        QVERIFY(core.IsDirty());
        QVERIFY(report->script().contains(QStringLiteral("y = (2 +")));
        QVERIFY(report->sections()->Item(QStringLiteral("Detail"))->script().contains(QStringLiteral("OnFormat")));
        QVERIFY(!model.anyModified());
        QVERIFY(!model.apply()); // nothing left to write
        core.undoStack()->undo();
        QVERIFY(report->script().isEmpty());
        QVERIFY(report->sections()->Item(QStringLiteral("Detail"))->script().isEmpty());
        QVERIFY(!core.IsDirty());
    }

    void windowEditsChecksAndApplies()
    {
        DesignerCore core;
        Report *report = core.DesignedReport();
        report->setScript(QStringLiteral("Sub Report_ReportStart\r\nEnd Sub\r\n"));
        core.setIsDirty(false);
        RecordingUi ui;
        Model model(core);
        frmScriptEditor editor(model, ui, 0);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.lstObjects()->count(), model.count());
        QCOMPARE(editor.txtScript()->toPlainText(), report->script().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        auto *apply = editor.findChild<QPushButton *>(QStringLiteral("btnApply"));
        QVERIFY(!apply->isEnabled());

        // Typed at the end: a statement that does not compile.
        editor.txtScript()->moveCursor(QTextCursor::End);
        for (const char *line : {"Sub Broken", "If Then", "End Sub"}) {
            QTest::keyClicks(editor.txtScript(), QString::fromLatin1(line));
            QTest::keyClick(editor.txtScript(), Qt::Key_Return);
        }
        QVERIFY(apply->isEnabled());
        QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("btnCheck")), Qt::LeftButton);
        QVERIFY(editor.lblStatus()->text().startsWith(QStringLiteral("Line 4")));
        QCOMPARE(editor.txtScript()->textCursor().blockNumber(), 3);

        // Find and replace in the window.
        editor.txtFind()->setText(QStringLiteral("Broken"));
        editor.txtReplace()->setText(QStringLiteral("Fixed"));
        editor.txtScript()->moveCursor(QTextCursor::Start);
        QVERIFY(editor.findNext());
        QCOMPARE(editor.txtScript()->textCursor().selectedText(), QStringLiteral("Broken"));
        QCOMPARE(editor.replaceAll(), 1);
        QVERIFY(editor.txtScript()->toPlainText().contains(QStringLiteral("Sub Fixed")));

        // Cancel with changes asks; No keeps the window open.
        ui.answer(MessageResult::No);
        editor.reject();
        QVERIFY(editor.isVisible());
        QCOMPARE(ui.last().kind, RecordingUi::Kind::MessageBox);
        // Another section's script, then OK: one step, the design unsaved.
        editor.lstObjects()->setCurrentRow(model.indexOf(report->sections()->Item(QStringLiteral("Detail"))));
        QTest::keyClicks(editor.txtScript(), QStringLiteral("' notes"));
        const int steps = core.undoStack()->count();
        QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        QVERIFY(!editor.isVisible());
        QCOMPARE(core.undoStack()->count(), steps + 1);
        QVERIFY(core.IsDirty());
        QVERIFY(report->script().contains(QStringLiteral("Sub Fixed")));
        QCOMPARE(report->sections()->Item(QStringLiteral("Detail"))->script(), QStringLiteral("' notes"));
    }
};

QTEST_MAIN(TestScriptEditor)
#include "tst_scripteditor.moc"
