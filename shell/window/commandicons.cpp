#include "shell/window/commandicons.h"

#include <QDir>
#include <QStandardPaths>

// The report tools' own icons live in a resource of this static library.
static void initCommandIcons()
{
    Q_INIT_RESOURCE(commandicons);
}

namespace Orv {

namespace {

// Platforms without a desktop theme (offscreen, a bare X server) know no
// icon folders and no theme: use the system's icon folders and Adwaita.
void ensureTheme()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString icons = QDir(data).filePath(QStringLiteral("icons"));
        if (!paths.contains(icons) && QDir(icons).exists())
            paths << icons;
    }
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

} // namespace

QIcon commandIcon(const QString &name)
{
    if (name.isEmpty())
        return QIcon();
    // Report tools no icon theme has: bands, alignments, sizes, controls.
    if (name.startsWith(QLatin1String("orv:"))) {
        static const bool loaded = (initCommandIcons(), true);
        Q_UNUSED(loaded);
        return QIcon(QStringLiteral(":/orv/icons/%1.svg").arg(name.mid(4)));
    }
    ensureTheme();
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    const QString symbolic = name + QStringLiteral("-symbolic");
    if (QIcon::hasThemeIcon(symbolic))
        return QIcon::fromTheme(symbolic);
    return QIcon();
}

} // namespace Orv
