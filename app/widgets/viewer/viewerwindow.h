#pragma once
// A window to try the viewer control on its own: an archive, or a layout
// run against its data with the pages streaming in, and a toolbar with
// every viewer operation.
#include "engine/model/report.h"
#include "engine/run/reportrun.h"
#include "engine/script/host.h"
#include "engine/script/scriptedrun.h"

#include <QMainWindow>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace Orv {

class Ui;
class Viewer;

class ViewerWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ViewerWindow(QWidget *parent = nullptr);
    ~ViewerWindow() override;

    // An archive (.rdf) or a layout (.rpx, run at once; connection, when
    // given, replaces the layout's connection string).
    Status open(const QString &path, const QString &connection = QString());
    Viewer *viewer() const { return m_viewer; }
    ReportRun *run() const { return m_scripted ? m_scripted->run() : nullptr; }
    // Brings the toolbar up to date with the viewer.
    void refresh();

private:
    void openFile();
    void saveArchive();
    // Runs the report to its end at once, so what is printed or saved has
    // its final page numbers and counts.
    void finishRun();
    void showZoom(int zoom);
    void zoomTyped();
    void pageTyped();
    void find();
    void report(const Status &status, const QString &title);

    Viewer *m_viewer;
    QAction *m_save = nullptr;
    QAction *m_print = nullptr;
    QAction *m_toc = nullptr;
    QAction *m_ruler = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_single = nullptr;
    QAction *m_multi = nullptr;
    QAction *m_zoomIn = nullptr;
    QAction *m_zoomOut = nullptr;
    QAction *m_pageWidth = nullptr;
    QAction *m_wholePage = nullptr;
    QAction *m_first = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_next = nullptr;
    QAction *m_last = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
    QComboBox *m_zoom = nullptr;
    QLineEdit *m_page = nullptr;
    QLineEdit *m_findText = nullptr;
    QLabel *m_status = nullptr;

    // Report scripts' message and input boxes, on the widget seam.
    std::unique_ptr<Ui> m_ui;
    std::unique_ptr<Script::Dialogs> m_dialogs;
    // The layout being run, with its script host.
    std::unique_ptr<Script::ScriptedRun> m_scripted;
};

} // namespace Orv
