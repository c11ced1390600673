#include "ui/recordingui.h"

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

MessageResult RecordingUi::messageBox(const QString &text, const QString &title, MessageButtons buttons,
                                      MessageIcon icon)
{
    m_requests.append({Kind::MessageBox, text, title, buttons, icon, FileDialogRequest()});
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
    m_requests.append({Kind::InputBox, prompt, title, MessageButtons::OkCancel, MessageIcon::None,
                       FileDialogRequest{{}, {}, defaultText, {}, 0}});
    return take<QString>();
}

QString RecordingUi::openFileName(const FileDialogRequest &request)
{
    m_requests.append({Kind::OpenFile, request.fileName, request.title, MessageButtons::OkCancel, MessageIcon::None, request});
    return take<QString>().value_or(QString());
}

QString RecordingUi::saveFileName(const FileDialogRequest &request)
{
    m_requests.append({Kind::SaveFile, request.fileName, request.title, MessageButtons::OkCancel, MessageIcon::None, request});
    return take<QString>().value_or(QString());
}

QString RecordingUi::browseFolder(const QString &title, const QString &startFolder)
{
    m_requests.append({Kind::BrowseFolder, startFolder, title, MessageButtons::OkCancel, MessageIcon::None, FileDialogRequest()});
    return take<QString>().value_or(QString());
}

std::optional<int> RecordingUi::chooseColor(int initial)
{
    m_requests.append({Kind::ChooseColor, QString::number(initial), {}, MessageButtons::OkCancel, MessageIcon::None, FileDialogRequest()});
    return take<int>();
}

std::optional<FontChoice> RecordingUi::chooseFont(const FontChoice &initial)
{
    m_requests.append({Kind::ChooseFont, initial.name, {}, MessageButtons::OkCancel, MessageIcon::None, FileDialogRequest()});
    return take<FontChoice>();
}

} // namespace Orv
