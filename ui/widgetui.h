#pragma once

#include "ui/uiseam.h"

class QWidget;

namespace Orv {

// The Ui of the running program: Qt's standard dialogs, parented to a
// window so they stay in front of it.
class WidgetUi : public Ui
{
public:
    explicit WidgetUi(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    MessageResult messageBox(const QString &text, const QString &title, MessageButtons buttons = MessageButtons::Ok,
                             MessageIcon icon = MessageIcon::None) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText = QString()) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    QString browseFolder(const QString &title, const QString &startFolder) override;
    std::optional<int> chooseColor(int initial) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    QString clipboardText() const override;
    void setClipboardText(const QString &text) override;

private:
    QWidget *m_parent;
};

} // namespace Orv
