#pragma once
// MsgBox and InputBox of report scripts, asked through the ui seam.
#include "engine/script/host.h"

namespace Orv {

class Ui;

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
