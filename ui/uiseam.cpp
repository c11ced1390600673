#include "ui/uiseam.h"

namespace Orv {

QString errorText(int number, const QString &description)
{
    // Visual Basic's Str() gives non-negative numbers a leading blank.
    const QString digits = number >= 0 ? QLatin1Char(' ') + QString::number(number) : QString::number(number);
    return digits + QLatin1String(" - ") + description;
}

QString errorText(const Status &status)
{
    return errorText(status.number(), status.description());
}

void Ui::showError(const Status &status, const QString &title)
{
    messageBox(errorText(status), title, MessageButtons::Ok, MessageIcon::None);
}

} // namespace Orv
