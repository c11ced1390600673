#include "shell/window/scriptdialogs.h"

#include "ui/uiseam.h"

namespace Orv {

// MsgBox's button and icon numbers are the seam's own.
int UiScriptDialogs::messageBox(const QString &prompt, int buttons, const QString &title)
{
    const int kind = buttons & 7;
    const int icon = buttons & 0x70;
    const auto boxButtons = kind <= 5 ? MessageButtons(kind) : MessageButtons::Ok;
    const auto boxIcon = (icon == 16 || icon == 32 || icon == 48 || icon == 64) ? MessageIcon(icon) : MessageIcon::None;
    return int(m_ui.messageBox(prompt, title, boxButtons, boxIcon));
}

std::optional<QString> UiScriptDialogs::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    return m_ui.inputBox(prompt, title, defaultText);
}

} // namespace Orv
