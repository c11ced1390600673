#include "ui/recordingui.h"

#include <QPrinter>

namespace Orv {

template<typename T>
std::optional<T> RecordingUi::take()
{
    if (m_answers.empty())
        return std::nullopt;
    std::optional<T> result; // a nullopt or mismatched answer cancels
    if (const auto *value = std::get_if<T>(&m_answers.front()))
        result = *value;
    m_answers.pop_front();
    return result;
}

void RecordingUi::record(Kind kind, const QString &text, const QString &title, MessageButtons buttons,
                         MessageIcon icon, const FileDialogRequest &file, const QStringList &items, double initial)
{
    Request r;
    r.kind = kind;
    r.text = text;
    r.title = title;
    r.buttons = buttons;
    r.icon = icon;
    r.file = file;
    r.items = items;
    r.initial = initial;
    m_requests.append(r);
}

MessageResult RecordingUi::messageBox(const QString &text, const QString &title, MessageButtons buttons,
                                      MessageIcon icon)
{
    record(Kind::MessageBox, text, title, buttons, icon);
    if (auto result = take<MessageResult>())
        return *result;
    switch (buttons) {
    case MessageButtons::Ok: return MessageResult::Ok;
    case MessageButtons::YesNo: return MessageResult::No;
    case MessageButtons::AbortRetryIgnore: return MessageResult::Abort;
    default: return MessageResult::Cancel;
    }
}

std::optional<QString> RecordingUi::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    record(Kind::InputBox, prompt, title, MessageButtons::OkCancel, MessageIcon::None,
           FileDialogRequest{{}, {}, defaultText, {}, 0});
    return take<QString>();
}

QString RecordingUi::openFileName(const FileDialogRequest &request)
{
    record(Kind::OpenFile, request.fileName, request.title, MessageButtons::OkCancel, MessageIcon::None, request);
    return take<QString>().value_or(QString());
}

QString RecordingUi::saveFileName(const FileDialogRequest &request)
{
    record(Kind::SaveFile, request.fileName, request.title, MessageButtons::OkCancel, MessageIcon::None, request);
    return take<QString>().value_or(QString());
}

QString RecordingUi::browseFolder(const QString &title, const QString &startFolder)
{
    record(Kind::BrowseFolder, startFolder, title);
    return take<QString>().value_or(QString());
}

std::optional<int> RecordingUi::chooseColor(int initial, const QString &title)
{
    record(Kind::ChooseColor, QString::number(initial), title, MessageButtons::OkCancel, MessageIcon::None, {}, {},
           initial);
    return take<int>();
}

std::optional<FontChoice> RecordingUi::chooseFont(const FontChoice &initial)
{
    record(Kind::ChooseFont, initial.name, {}, MessageButtons::OkCancel, MessageIcon::None, {}, {}, initial.size);
    return take<FontChoice>();
}

std::optional<double> RecordingUi::inputNumber(const QString &prompt, const QString &title, double initial,
                                               double minimum, double maximum, int)
{
    record(Kind::InputNumber, prompt, title, MessageButtons::OkCancel, MessageIcon::None, {}, {}, initial);
    if (m_answers.empty())
        return std::nullopt;
    std::optional<double> result;
    if (const auto *d = std::get_if<double>(&m_answers.front()))
        result = *d;
    else if (const auto *i = std::get_if<int>(&m_answers.front()))
        result = *i;
    m_answers.pop_front();
    // A real box does not let a number out of range through.
    if (result && (*result < minimum || *result > maximum))
        return std::nullopt;
    return result;
}

std::optional<int> RecordingUi::chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                           int current)
{
    record(Kind::ChooseItem, prompt, title, MessageButtons::OkCancel, MessageIcon::None, {}, items, current);
    if (m_answers.empty())
        return std::nullopt;
    std::optional<int> result;
    if (const auto *i = std::get_if<int>(&m_answers.front()))
        result = *i;
    else if (const auto *text = std::get_if<QString>(&m_answers.front()))
        result = int(items.indexOf(*text));
    m_answers.pop_front();
    // Only an item offered can be picked.
    if (result && (*result < 0 || *result >= items.size()))
        return std::nullopt;
    return result;
}

std::optional<QList<int>> RecordingUi::chooseOrder(const QString &title, const QStringList &items)
{
    record(Kind::ChooseOrder, {}, title, MessageButtons::OkCancel, MessageIcon::None, {}, items);
    return take<QList<int>>();
}

std::optional<BorderChoice> RecordingUi::chooseBorder(const BorderChoice &initial)
{
    record(Kind::ChooseBorder, {}, {}, MessageButtons::OkCancel, MessageIcon::None, {}, {}, initial.style);
    return take<BorderChoice>();
}

std::optional<QString> RecordingUi::editText(const QString &title, const QString &text)
{
    record(Kind::EditText, text, title);
    return take<QString>();
}

bool RecordingUi::printDialog(QPrinter &printer, int minPage, int maxPage)
{
    record(Kind::PrintDialog, printer.outputFileName(), QStringLiteral("Print"), MessageButtons::OkCancel,
           MessageIcon::None, {}, {QString::number(minPage), QString::number(maxPage)}, maxPage);
    const std::optional<PrintChoice> choice = take<PrintChoice>();
    if (!choice)
        return false;
    if (choice->from > 0 || choice->to > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(choice->from, choice->to);
    } else {
        printer.setPrintRange(QPrinter::AllPages);
    }
    printer.setCopyCount(choice->copies);
    printer.setCollateCopies(choice->collate);
    if (!choice->outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice->outputFile);
    }
    return true;
}

bool RecordingUi::pageSetupDialog(QPrinter &printer)
{
    record(Kind::PageSetup, printer.pageLayout().pageSize().name(), QStringLiteral("Page Setup"));
    const std::optional<PageSetupChoice> choice = take<PageSetupChoice>();
    if (!choice)
        return false;
    printer.setPageLayout(choice->layout);
    return true;
}

} // namespace Orv
