#pragma once

#include "ui/uiseam.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <variant>

namespace Orv {

// A Ui that shows nothing: it records every request and answers from
// queues the test fills beforehand. An empty queue gives the answer a user
// closing the window would give (Cancel, or OK for an OK-only box).
class RecordingUi : public Ui
{
public:
    enum class Kind { MessageBox, InputBox, OpenFile, SaveFile, BrowseFolder, ChooseColor, ChooseFont };

    struct Request
    {
        Kind kind;
        QString text;  // message, prompt or the dialog's proposed file name
        QString title;
        MessageButtons buttons = MessageButtons::Ok;
        MessageIcon icon = MessageIcon::None;
        FileDialogRequest file;
    };

    using Answer = std::variant<MessageResult, QString, std::nullopt_t, int, FontChoice>;

    void answer(Answer a) { m_answers.push_back(std::move(a)); }
    const QList<Request> &requests() const { return m_requests; }
    // The last request's text and title, for the common one-box case.
    Request last() const { return m_requests.isEmpty() ? Request{Kind::MessageBox, {}, {}, MessageButtons::Ok, MessageIcon::None, FileDialogRequest()} : m_requests.last(); }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear()
    {
        m_requests.clear();
        m_answers.clear();
    }

    MessageResult messageBox(const QString &text, const QString &title, MessageButtons buttons = MessageButtons::Ok,
                             MessageIcon icon = MessageIcon::None) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText = QString()) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    QString browseFolder(const QString &title, const QString &startFolder) override;
    std::optional<int> chooseColor(int initial) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;

    QString clipboardText() const override { return m_clipboard; }
    void setClipboardText(const QString &text) override { m_clipboard = text; }

private:
    template<typename T>
    std::optional<T> take();

    QList<Request> m_requests;
    std::deque<Answer> m_answers;
    QString m_clipboard;
};

} // namespace Orv
