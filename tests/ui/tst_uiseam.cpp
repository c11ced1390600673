#include "ui/recordingui.h"

#include <QTest>

using namespace Orv;

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
};

QTEST_GUILESS_MAIN(TestUiSeam)
#include "tst_uiseam.moc"
