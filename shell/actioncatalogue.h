#pragma once
// Every command of the main window as data: which command a menu item or a
// toolbar button runs, its caption or tooltip, icon and shortcut, and the
// order of the menus and bars. The window builds its menus and toolbars
// from this and dispatches by command; tests read it without a window.
#include <QKeySequence>
#include <QList>
#include <QString>

#include "engine/widgets/designer/designeractions.h"

#include <optional>

namespace Orv {

// Commands that are the shell's own. Designer actions are "action:<code>",
// control insertion "insert:<type identifier>".
namespace Command {
inline const QString FileNewBlank = QStringLiteral("FileNewBlank");
inline const QString FileNewWizard = QStringLiteral("FileNewWizard");
inline const QString FileImportAccess = QStringLiteral("FileImportAccess");
inline const QString FileOpen = QStringLiteral("FileOpen");
inline const QString FileSave = QStringLiteral("FileSave");
inline const QString FileSaveAs = QStringLiteral("FileSaveAs");
inline const QString FileExport = QStringLiteral("FileExport");
inline const QString FilePrint = QStringLiteral("FilePrint");
inline const QString FilePrinterSetup = QStringLiteral("FilePrinterSetup");
inline const QString FileReportProperties = QStringLiteral("FileReportProperties");
inline const QString FileExit = QStringLiteral("FileExit");
inline const QString ViewDesign = QStringLiteral("ViewDesign");
inline const QString ViewPreview = QStringLiteral("ViewPreview");
inline const QString ViewPropertyList = QStringLiteral("ViewPropertyList");
inline const QString ViewDataSource = QStringLiteral("ViewDataSource");
inline const QString ViewFieldList = QStringLiteral("ViewFieldList");
inline const QString ViewSortingAndGrouping = QStringLiteral("ViewSortingAndGrouping");
inline const QString ViewGrid = QStringLiteral("ViewGrid");
inline const QString ViewStandardBar = QStringLiteral("ViewStandardBar");
inline const QString ViewFormatBar = QStringLiteral("ViewFormatBar");
inline const QString ViewToolbox = QStringLiteral("ViewToolbox");
inline const QString ViewRuler = QStringLiteral("ViewRuler");
inline const QString ViewToc = QStringLiteral("ViewToc");
inline const QString ViewStatusBar = QStringLiteral("ViewStatusBar");
inline const QString EditOptions = QStringLiteral("EditOptions");
inline const QString EditRedo = QStringLiteral("EditRedo");
inline const QString EditSelectAll = QStringLiteral("EditSelectAll");
inline const QString FormatFontDialog = QStringLiteral("FormatFontDialog");
inline const QString FormatBackColor = QStringLiteral("FormatBackColor");
inline const QString FormatForeColor = QStringLiteral("FormatForeColor");
inline const QString FormatLineColor = QStringLiteral("FormatLineColor");
inline const QString FullScreenExit = QStringLiteral("FullScreenExit");
inline const QString InsertCalculatedField = QStringLiteral("InsertCalculatedField");
inline const QString InsertPageNumbers = QStringLiteral("InsertPageNumbers");
inline const QString ObjectProperties = QStringLiteral("ObjectProperties");
inline const QString HelpAbout = QStringLiteral("HelpAbout");
inline const QString TestDynamicControls = QStringLiteral("TestDynamicControls");
inline const QString TestLoadByteArray = QStringLiteral("TestLoadByteArray");
// Viewer toolbar commands carry the button key: "viewer:tvuZoomIn".
QString action(DesignerAction::Code code);
QString insert(const QString &typeId);
QString viewer(const QString &key);
// The designer action of an "action:" command; none for other commands
// and for numbers that are no action.
std::optional<DesignerAction::Code> actionCode(const QString &command);
} // namespace Command

struct CommandInfo
{
    QString command;
    QString icon; // icon theme name, empty for none
    QKeySequence shortcut;
    bool checkable = false;
};

// A menu item, a submenu (with children) or a separator (empty name).
struct MenuEntry
{
    QString name;    // miFOpen, miFNew ...
    QString caption; // "打开...[&O]": Qt shows the letter after & underlined, as it is
    QString command; // empty for submenus, separators and items without a command
    QList<MenuEntry> children;
};

struct MenuInfo
{
    QString name; // mnuFile
    QString caption;
    QList<MenuEntry> items;
};

struct ToolButtonInfo
{
    QString key;     // tFOpen; empty for a separator
    QString toolTip;
    QString command; // empty for buttons without a command of their own
    DesignerAction::Code tag = DesignerAction::None; // the action carried in the button's Tag
};

struct ToolBarInfo
{
    QString name; // tbStandard
    QString caption;
    QList<ToolButtonInfo> buttons;
};

class ActionCatalogue
{
public:
    // The 59 action names, indexed by code.
    static QString actionName(DesignerAction::Code code);
    // The menus in menu-bar order, mnuContext (never shown itself) and
    // mnuTest included.
    static const QList<MenuInfo> &menus();
    // tbStandard, tbFormat, tbAlign, tbToolbox, tbView, tbViewer.
    static const QList<ToolBarInfo> &toolBars();
    static const MenuInfo *menu(const QString &name);
    static const ToolBarInfo *toolBar(const QString &name);
    // Icon, shortcut and checkability of a command (a blank info for
    // commands without any).
    static CommandInfo command(const QString &command);
    // Every menu item and button that runs command, by name or key.
    static QStringList sources(const QString &command);
    // A caption or tooltip in the user's language. The texts above are the
    // source texts; each is translated in the context of its menu, item, bar
    // or button name (translations/catalogue.cmake lists them for lupdate).
    static QString translated(const QString &name, const QString &sourceText);
};

} // namespace Orv
