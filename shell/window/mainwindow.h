#pragma once
// frmOrvReport: the program's main window. A design page (the design
// coolbar, the designer, the splitter, the property list) and a preview
// page (the viewer coolbar, the viewer, the debug list) share the client
// area; the bottom strip holds the report path and the two view tabs. The
// document flows live in ReportDocument; this class shows them and routes
// every menu item and button to its command.
#include "dialogs/reportwizard/sortmemory.h"
#include "engine/widgets/designer/designeractions.h"
#include "shell/reportdocument.h"
#include "shell/settingsstore.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QMainWindow>

#include <memory>

class QAction;
class QComboBox;
class QDialog;
class QDockWidget;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QToolBar;

namespace Orv {

class Coolbar;
class FieldListPane;
class Designer;
class PropertyList;
class Ui;
class UiDesignerPrompts;
class UiPropertyDialogs;
class UiScriptDialogs;
class Viewer;
namespace Script {
class ScriptedRun;
}

class MainWindow : public QMainWindow, private DocumentHost
{
    Q_OBJECT

public:
    static QString productName() { return QStringLiteral("OrvReport"); }

    // ui answers every prompt of the window and what it runs (tests pass
    // a RecordingUi); settings may be null for the user's own store.
    explicit MainWindow(Ui &ui, SettingsStore *settings = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The last start-up step: open the layout named on the command line
    // (an archive opens in preview), or show the start dialog when the
    // setting allows.
    void startUp(const QString &commandLine);

    ReportDocument &document() { return *m_document; }
    Designer *designer() const { return m_dsg; }
    Viewer *viewer() const { return m_vwr; }
    // The dialog a command opens, made as the command makes it but neither
    // shown nor run; the caller owns it. Null for a command without one of
    // its own (see openDialog). windowlist.cpp opens the program's dialogs
    // through this too.
    QDialog *createDialog(const QString &command);
    // What the other dialogs are built with.
    Ui &ui() const { return m_ui; }
    UiPropertyDialogs *propertyDialogs() const { return m_propertyDialogs.get(); }
    PropertyList *propertyList() const { return m_plist; }
    QListWidget *debugList() const { return m_lstDebug; }
    Script::ScriptedRun *previewRun() const { return m_preview.get(); }
    ViewMode viewMode() const { return m_document->viewMode(); }
    int splitterPosition() const { return m_splitterPos; }

    // The view tabs: 0 design, 1 preview.
    void setView(int index);
    // Runs a command of the catalogue (what a menu item or button does).
    void execute(const QString &command);
    // The menu item or toolbar button of that name or key.
    QAction *action(const QString &name) const { return m_named.value(name); }
    QMenu *menu(const QString &name) const { return m_menus.value(name); }
    QToolBar *toolBar(const QString &name) const;

    // Full tool-state and menu refresh.
    void refreshTools();
    // Full Screen (action 20): the design surface alone; Escape returns.
    void setFullScreen(bool on);
    bool isFullScreenDesign() const { return m_fullScreen; }
    // The field list dock (View > Field List).
    FieldListPane *fieldList() const { return m_fieldList; }

    // Shows the start dialog; tests put their own answer in its place.
    using StartDialogRunner = std::function<void(StartDialogModel &)>;
    void setStartDialogRunner(StartDialogRunner runner) { m_startRunner = std::move(runner); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // DocumentHost
    Status loadArchive(const QString &path) override;
    Status saveArchive(const QString &path) override;
    void runStartDialog(StartDialogModel &model) override;
    Status runReportWizard() override;
    Status runAccessImport() override;

    void buildPages();
    void buildMenus();
    void buildBars();
    QAction *makeAction(const QString &name, const QString &caption, const QString &command, bool forButton);
    void layoutDesignPage();
    void layoutPreviewPage();
    void layoutClient();
    void ViewPreview();
    void ViewDesign();
    void viewerCommand(const QString &key);
    // The preview's events, printing and the page box's validation
    // (mainwindowpreview.cpp).
    void connectPreview();
    void PrintReport();
    bool validatePageBox();
    void viewModeChanged(bool multiPage);
    // The dialogs the commands open, one call each (mainwindowdialogs.cpp).
    // openDialog runs the one behind a command and says whether it had one.
    bool openDialog(const QString &command);
    // The dialog commands this build carries out.
    static QSet<QString> dialogCommands();
    void showExportDialog();
    // Runs the preview to its end at once, so what is printed, exported or
    // saved has its final page numbers and counts.
    void finishPreview();
    void showPrinterSetup();
    void showReportProperties();
    void showOptions();
    void showObjectProperties();
    void showPageNumbers();
    void showDataSource();
    void showFieldList();
    void showExpressionBuilder();
    void showSortingAndGrouping();
    // Hooks of the dialogs into the window's parts, set once at start.
    void installDialogHooks();
    // Whether this build carries the command out (the others come with
    // dialogs and windows still to be built, and stay disabled).
    bool isCarriedOut(const QString &command) const;
    void setCommandState(const QString &command, bool enabled, bool checked);
    void setCommandEnabled(const QString &command, bool enabled);
    void refreshActionState(DesignerAction::Code code);
    void refreshMenus();
    void updateTitle();
    void updateTabs();
    void showZoom(int zoom);
    void showPageBox();
    void selectionChanged();
    void objectAdded(QObject *object, int kind);
    void togglePropertyList();
    void toggleStatusBar();
    void toggleBand(const QString &band);
    void saveWindowState();
    void restoreWindowState();

    // Design commands (mainwindowdesign.cpp).
    // The font name, style and size boxes in place of the bar's tfoFont.
    void buildFormatBoxes(QToolBar *bar, QAction *before);
    void refreshFormatBoxes();
    void showStyleFonts();
    void showFontState(bool enabled, bool showSize);
    void chooseFontName(const QString &name);
    void chooseFontSize(const QString &text);
    // Commands the shell does itself rather than the designer: true when
    // command was one of them.
    bool executeDesignCommand(const QString &command);
    // The Edit menu's clipboard, undo and delete items act only while the
    // designer has the keyboard focus.
    bool designerHasFocus() const;
    static bool followsFocusRule(const QString &name);
    void showContextMenu(ContextMenuKind kind, const QString &typeName);
    void showScriptEditor();
    void setUpDesignCommands();
    Ui &m_ui;
    std::unique_ptr<SettingsStore> m_ownSettings;
    SettingsStore *m_settings;
    std::unique_ptr<UiScriptDialogs> m_scriptDialogs;
    std::unique_ptr<UiDesignerPrompts> m_designerPrompts;
    std::unique_ptr<UiPropertyDialogs> m_propertyDialogs;
    std::unique_ptr<ReportDocument> m_document;
    StartDialogRunner m_startRunner;

    QWidget *m_client = nullptr;
    QWidget *m_picDesign = nullptr;
    Coolbar *m_cbDesign = nullptr;
    Designer *m_dsg = nullptr;
    QWidget *m_imgSplitter = nullptr;
    QWidget *m_picSplitter = nullptr;
    PropertyList *m_plist = nullptr;
    QWidget *m_picView = nullptr;
    Coolbar *m_cbView = nullptr;
    Viewer *m_vwr = nullptr;
    QListWidget *m_lstDebug = nullptr;
    QWidget *m_picBottom = nullptr;
    QLabel *m_lbRptName = nullptr;
    QLabel *m_lblTab[2] = {nullptr, nullptr};
    QLabel *m_status = nullptr;   // panel 1: errors of the run, notes
    QLabel *m_progress = nullptr; // pages and rows of the run
    QComboBox *m_cboViewZoom = nullptr;
    QLineEdit *m_txtViewPageNumber = nullptr;
    QLineEdit *m_txtViewFind = nullptr;

    QComboBox *m_cboFoFontName = nullptr;
    QComboBox *m_cboFoStyle = nullptr;
    QComboBox *m_cboFoFontSize = nullptr;
    bool m_fullScreen = false;
    bool m_wasMaximized = false;
    bool m_statusWasVisible = true;
    bool m_fieldDockWasVisible = false;
    QAction *m_exitFullScreen = nullptr;
    QDockWidget *m_fieldDock = nullptr;
    FieldListPane *m_fieldList = nullptr;

    QHash<QString, QAction *> m_named;            // by menu item name or button key
    QHash<QString, QList<QAction *>> m_byCommand; // every action running a command
    QHash<QString, QMenu *> m_menus;
    QSet<QString> m_available;                    // commands this build carries out

    int m_splitterPos = 0;
    int m_listWidth = 320; // the property list keeps its width when the window is resized
    int m_dragStart = -1;
    bool m_propertyListVisible = true;
    bool m_multiPage = false; // the viewer shows a grid of pages
    std::unique_ptr<Script::ScriptedRun> m_preview;
    std::unique_ptr<SortMemory> m_sortMemory; // the wizard's sort page, kept between runs
};

} // namespace Orv
