#include "ui/uiscriptdialogs.h"

namespace Orv {

int UiScriptDialogs::messageBox(const QString &prompt, int buttons, const QString &title)
{
    // The low three bits choose the buttons, the next three the icon;
    // numbers no box has fall back to OK and no icon.
    const int kind = buttons & 7;
    const MessageButtons shown = kind <= int(MessageButtons::RetryCancel) ? MessageButtons(kind) : MessageButtons::Ok;
    const int iconBits = buttons & 0x70;
    const MessageIcon icon = iconBits == 16 || iconBits == 32 || iconBits == 48 || iconBits == 64 ? MessageIcon(iconBits)
                                                                                                  : MessageIcon::None;
    return int(m_ui.messageBox(prompt, title, shown, icon));
}

std::optional<QString> UiScriptDialogs::inputBox(const QString &prompt, const QString &title,
                                                 const QString &defaultText)
{
    return m_ui.inputBox(prompt, title, defaultText);
}

} // namespace Orv
