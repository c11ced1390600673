#pragma once

#include "engine/core/status.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;

namespace Orv {

// Buttons, icons and answers of a message box, numbered as Visual Basic
// numbers them, so that scripts and callers can pass them through.
enum class MessageButtons { Ok = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum class MessageIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class MessageResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct FileDialogRequest
{
    QString title;
    QString folder;   // where the dialog starts
    QString fileName; // proposed name
    QString filter;   // "Layouts (*.rpx);;All files (*)"
    int filterIndex = 0;
};

struct FontChoice
{
    QString name;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};

// The sides, style and colour of a border. Styles are the report's border
// style numbers, 0 none to 13 extra thick solid.
struct BorderChoice
{
    enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8, All = 15 };
    int style = 1;
    int sides = All;
    int color = 0; // 0x00BBGGRR
};

// The text of the common error box: the error number, with a leading blank
// when it is not negative, then " - ", then the description.
QString errorText(int number, const QString &description);
QString errorText(const Status &status);

// Everything the program asks of the user or the desktop goes through this
// seam: message boxes, prompts, file and folder dialogs, the colour, font
// and border choosers, lists to pick from or put in order, and the
// clipboard. The engine's widgets open no dialogs themselves; adapters
// in ui/ put their prompts on this seam. The program uses the widget version; tests use
// RecordingUi to read exact texts and titles and to answer prompts.
class Ui
{
public:
    virtual ~Ui() = default;

    virtual MessageResult messageBox(const QString &text, const QString &title,
                                     MessageButtons buttons = MessageButtons::Ok,
                                     MessageIcon icon = MessageIcon::None) = 0;
    // The text entered, or nothing when the prompt was cancelled.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText = QString()) = 0;
    // The chosen path, or an empty text when the dialog was cancelled.
    virtual QString openFileName(const FileDialogRequest &request) = 0;
    virtual QString saveFileName(const FileDialogRequest &request) = 0;
    virtual QString browseFolder(const QString &title, const QString &startFolder) = 0;
    // Colour numbers 0x00BBGGRR; title names what is coloured.
    virtual std::optional<int> chooseColor(int initial, const QString &title = QString()) = 0;
    virtual std::optional<FontChoice> chooseFont(const FontChoice &initial) = 0;
    // A number from minimum to maximum with the given decimals.
    virtual std::optional<double> inputNumber(const QString &prompt, const QString &title, double initial,
                                              double minimum, double maximum, int decimals) = 0;
    // One of items, by its position; current is the one offered.
    virtual std::optional<int> chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                          int current) = 0;
    // The items put in the order the user wants: their positions in the
    // new order.
    virtual std::optional<QList<int>> chooseOrder(const QString &title, const QStringList &items) = 0;
    virtual std::optional<BorderChoice> chooseBorder(const BorderChoice &initial) = 0;
    // A longer text in a multi-line editor.
    virtual std::optional<QString> editText(const QString &title, const QString &text) = 0;
    // The system print dialog on printer: the printer, the pages (1-based,
    // from minPage to maxPage), copies and collation are set on it. False
    // when the user cancelled.
    virtual bool printDialog(QPrinter &printer, int minPage, int maxPage) = 0;
    // The page-setup dialog on printer: paper, orientation and margins.
    // False when the user cancelled.
    virtual bool pageSetupDialog(QPrinter &printer) = 0;

    virtual QString clipboardText() const = 0;
    virtual void setClipboardText(const QString &text) = 0;

    // The common error report: an OK-only box with errorText and a title
    // naming the operation.
    void showError(const Status &status, const QString &title);
};

} // namespace Orv
