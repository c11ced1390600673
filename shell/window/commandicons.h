#pragma once
#include <QIcon>
#include <QString>

namespace Orv {

// A command's icon from the desktop's icon theme, its symbolic variant
// when the theme has only that; a null icon when neither exists (the
// button then shows its text).
QIcon commandIcon(const QString &name);

} // namespace Orv
