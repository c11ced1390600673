#pragma once
// Every window and dialog of the program in one list, by name: the tests
// that open them all (every text translated, sharp at high DPI) and
// `orvreport --screenshot <png> --window <name>` take them from here, so a
// new dialog joins them all by adding its entry in windowlist.cpp.
#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace Orv {

class MainWindow;

struct WindowEntry
{
    QString name; // "main", "start-dialog", ...
    // Opens the window without running it modally, over a main window
    // that shows a layout (path, which may be empty), and returns it: the
    // main window itself or a widget it owns, not yet shown.
    std::function<QWidget *(MainWindow &window, const QString &path)> open;
};

const QList<WindowEntry> &programWindows();
const WindowEntry *programWindow(const QString &name);

} // namespace Orv
