#pragma once
// The script host's MsgBox and InputBox on the program's Ui seam. MsgBox's
// button and icon numbers and its answers are the seam's own numbers.
#include "engine/script/host.h"
#include "ui/uiseam.h"

namespace Orv {

class UiScriptDialogs : public Script::Dialogs
{
public:
    explicit UiScriptDialogs(Ui &ui) : m_ui(ui) {}

    int messageBox(const QString &prompt, int buttons, const QString &title) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText) override;

private:
    Ui &m_ui;
};

} // namespace Orv
