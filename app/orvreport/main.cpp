// orvreport [layout.rpx | archive.rdf]: the OrvReport designer.
//   --help, --version
//   --lang zh|en: the language of the program (else the locale's);
//   --screenshot <file.png>: draw the main window once into a picture and
//     quit (made for the documentation; works without a display);
//   --window <name>: with --screenshot, draw that window of the program's
//     list (shell/window/windowlist.h) instead;
//   --start-dialog, --start-tab <key>, --preview: the same for the start
//     dialog (on its tab New, Existing or Recent) and the preview page.
//   --command <name>: run that command of the menus (FileReportProperties,
//     EditOptions, ...) and draw the dialog it opens;
//   --select <control>: select that control first.
//   --bars: the design page's bars alone, with the first label selected;
//   --script-editor: the script editor on the layout's script.
//   --wizard <what> <connection>: draw a report wizard page (0-7) or
//     dialog (relate, groupoptions, connection, datasource) on a database.
//   --access-import <page> [--access-db <file>] [--access-exports <folder>]:
//     draw the Access import wizard on that page (0 to 5).
// Every other argument is part of the path, joined with blanks, so that an
// unquoted path with blanks still opens.
#include "dialogs/accessimport/accessimportmodel.h"
#include "dialogs/accessimport/frmaccesstoorv.h"
#include "dialogs/export/frmexport.h"
#include "dialogs/scripteditor/scripteditor.h"
#include "engine/core/processsetup.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designview.h"
#include "shell/actioncatalogue.h"
#include "shell/language.h"
#include "shell/startdialogmodel.h"
#include "shell/window/mainwindow.h"
#include "shell/window/startdialog.h"
#include "shell/window/windowlist.h"
#include "ui/widgetui.h"
#include "wizardshots.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

void usage()
{
    std::printf("Usage: orvreport [options] [layout.rpx | archive.rdf]\n"
                "The OrvReport banded-report designer.\n\n"
                "Options:\n"
                "  --help                  show this help and exit\n"
                "  --version               show the version and exit\n"
                "  --lang zh|en            show the program in Chinese or English\n"
                "                          (without it: Chinese in a Chinese locale)\n"
                "  --screenshot <file>     draw the window into a PNG file and exit\n"
                "  --window <name>         with --screenshot: draw that window (main,\n"
                "                          preview, start-dialog, ...)\n"
                "  --start-dialog          with --screenshot: draw the start dialog\n"
                "  --start-tab <key>       the same on its tab New, Existing or Recent\n"
                "  --preview               with --screenshot: draw the preview page\n"
                "  --command <name>        with --screenshot: run a command, draw its dialog\n"
                "  --select <control>      with --screenshot: select a control first\n"
                "  --export-dialog <n>     with --screenshot: draw the export dialog on format n (0-5)\n"
                "  --bars                  with --screenshot: draw the design bars\n"
                "  --script-editor         with --screenshot: draw the script editor\n"
                "  --wizard <what> <conn>  with --screenshot: draw a wizard page (0-7) or dialog\n"
                "                          (relate, groupoptions, connection, datasource)\n"
                "  --access-import <page>  with --screenshot: draw the Access import wizard on page 0 to 5\n"
                "  --access-db <file>      the database it opens, --access-exports <folder> its exports\n");
}

// --bench-first-paint: prints when the designer's surface is first painted
// with the layout, then quits (bench/shell reads it).
class FirstPaint : public QObject
{
public:
    FirstPaint(const QElapsedTimer &clock, qint64 openedAt) : m_clock(clock), m_openedAt(openedAt) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, [this] {
                std::printf("first paint %lld ms, open to paint %lld ms\n", (long long)m_clock.elapsed(),
                            (long long)(m_clock.elapsed() - m_openedAt));
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &m_clock;
    qint64 m_openedAt;
    bool m_done = false;
};

// The Access import wizard walked to a page as a user would: the database
// named, its first report with an export ticked and highlighted, converted.
void walkAccessImport(Orv::frmAccessToOrv &dialog, int page, const QString &database, const QString &exports)
{
    Orv::AccessImportModel &model = dialog.model();
    const auto tick = [&] {
        for (int i = 1; i < model.entries().size(); ++i)
            if (model.entries()[i].hasExport) {
                dialog.lstReports()->item(i)->setCheckState(Qt::Checked);
                dialog.lstReports()->setCurrentRow(i);
                return;
            }
    };
    for (int step = 0; step < page && step < 4; ++step) {
        if (step == 1) {
            dialog.txtDatabase()->setText(database);
            dialog.txtExportsFolder()->setText(exports);
            dialog.refreshExportsNote();
            if (page == 1)
                break;
        }
        if (step == 2)
            tick();
        dialog.btnNext()->click();
    }
    if (page == 2)
        tick();
    while (model.isRunning())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    if (page == 4)
        dialog.btnBack()->click();
}

// Fills a dialog opened for a picture with what a user would have chosen:
// a category of the expression builder with an expression, the first group
// of the sorting and grouping dialog.
void showcase(QWidget *dialog)
{
    if (auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("tv"))) {
        const QList<QTreeWidgetItem *> found = tree->findItems(QStringLiteral("String"), Qt::MatchExactly | Qt::MatchRecursive);
        if (!found.isEmpty()) {
            found.first()->parent()->setExpanded(true);
            tree->setCurrentItem(found.first());
        }
        if (auto *text = dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtExpression")))
            text->setPlainText(QStringLiteral("UCase([CompanyName]) & \" - \" & Format([OrderDate], \"yyyy-mm-dd\")"));
    }
    if (auto *groups = dialog->findChild<QTreeWidget *>(QStringLiteral("lvGroups")); groups && groups->topLevelItemCount() > 0)
        groups->setCurrentItem(groups->topLevelItem(0));
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    Orv::setUpProcess();
    QStringList words;
    bool benchPaint = false;
    QString screenshot;
    QString windowName;
    std::optional<Orv::UiLanguage> language;
    QString command;
    QString selectName;
    int exportFormat = -2; // the export dialog's format for its picture; -2 no dialog
    bool bars = false;
    bool scriptEditor = false;
    QString wizardShot;
    QString wizardConnection;
    int accessPage = -1;
    QString accessDb, accessExports;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            usage();
            return 0;
        }
        if (arg == QLatin1String("--version")) {
            std::printf("orvreport %s\n", ORV_VERSION);
            return 0;
        }
        if (arg == QLatin1String("--lang")) {
            const QString name = i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString();
            language = Orv::languageFromName(name);
            if (!language) {
                std::fprintf(stderr, "orvreport: --lang takes zh or en, not \"%s\"\n", qPrintable(name));
                return 2;
            }
        } else if (arg == QLatin1String("--screenshot") && i + 1 < argc) {
            screenshot = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--window") && i + 1 < argc) {
            windowName = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--start-dialog")) {
            windowName = QStringLiteral("start-dialog");
        } else if (arg == QLatin1String("--start-tab") && i + 1 < argc) {
            windowName = QStringLiteral("start-dialog-") + QString::fromLocal8Bit(argv[++i]).toLower();
            if (windowName == QLatin1String("start-dialog-new"))
                windowName = QStringLiteral("start-dialog");
        } else if (arg == QLatin1String("--preview")) {
            windowName = QStringLiteral("preview");
        } else if (arg == QLatin1String("--command") && i + 1 < argc) {
            command = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--select") && i + 1 < argc) {
            selectName = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--export-dialog") && i + 1 < argc) {
            windowName = QStringLiteral("preview");
            exportFormat = QString::fromLocal8Bit(argv[++i]).toInt();
        } else if (arg == QLatin1String("--wizard") && i + 2 < argc) {
            wizardShot = QString::fromLocal8Bit(argv[++i]);
            wizardConnection = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--access-import") && i + 1 < argc) {
            accessPage = std::clamp(QString::fromLocal8Bit(argv[++i]).toInt(), 0, 5);
        } else if (arg == QLatin1String("--access-db") && i + 1 < argc) {
            accessDb = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--access-exports") && i + 1 < argc) {
            accessExports = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--bars")) {
            bars = true;
        } else if (arg == QLatin1String("--script-editor")) {
            scriptEditor = true;
        } else if (arg == QLatin1String("--bench-first-paint")) {
            benchPaint = true;
        } else {
            words << arg;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OrvReport"));
    QApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Orv"));
    // The desktop matches the window to its menu entry and icon by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orv.OrvReport"));

    // Chinese source texts, or their English, before any window is made.
    Orv::Translations translations;
    QString translationError;
    if (!translations.install(language.value_or(Orv::defaultLanguage()), &translationError))
        std::fprintf(stderr, "orvreport: %s\n", qPrintable(translationError));

    Orv::WidgetUi ui;
    Orv::MainWindow window(ui);
    ui.setParentWidget(&window);
    const QString path = words.join(QLatin1Char(' '));
    window.show();

    if (!screenshot.isEmpty()) {
        // Pictures for the documentation: a window of the program as the
        // user sees it, drawn once the pages have settled.
        const Orv::WindowEntry *entry = Orv::programWindow(windowName.isEmpty() ? QStringLiteral("main") : windowName);
        if (!entry) {
            std::fprintf(stderr, "orvreport: no window \"%s\"; the windows are:", qPrintable(windowName));
            for (const Orv::WindowEntry &w : Orv::programWindows())
                std::fprintf(stderr, " %s", qPrintable(w.name));
            std::fprintf(stderr, "\n");
            return 2;
        }
        window.setStartDialogRunner([](Orv::StartDialogModel &) {});
        window.startUp(path);
        if (!selectName.isEmpty()) {
            for (Orv::Control *c : window.designer()->DesignedReport()->allControls()) {
                if (c->name() == selectName)
                    window.designer()->core()->select(c);
            }
        }
        if (!command.isEmpty()) {
            // The dialog the command opens, modal or not, drawn once it has settled.
            QTimer::singleShot(400, &window, [&] {
                QTimer::singleShot(1200, &window, [&] {
                    QWidget *dialog = QApplication::activeModalWidget();
                    for (QDialog *d : window.findChildren<QDialog *>()) {
                        if (!dialog && d->isVisible())
                            dialog = d;
                    }
                    if (dialog) {
                        showcase(dialog);
                        QApplication::processEvents();
                    }
                    const bool ok = dialog && dialog->grab().toImage().save(screenshot);
                    std::fprintf(ok ? stdout : stderr, ok ? "Wrote %s\n" : "Cannot write %s\n", qPrintable(screenshot));
                    if (dialog)
                        dialog->close();
                    QApplication::exit(ok ? 0 : 1);
                });
                window.execute(command);
            });
            return app.exec();
        }
        if (bars) {
            // A label selected, so that the font boxes show what they hold.
            Orv::DesignerCore *core = window.designer()->core();
            for (Orv::Control *c : core->DesignedReport()->allControls()) {
                if (c->typeName() == QLatin1String("Label")) {
                    core->select(c);
                    break;
                }
            }
        }
        QWidget *shown = entry->open(window, path);
        shown->show();
        QTimer::singleShot(windowName == QLatin1String("preview") ? 1500 : 400, &window, [&] {
            QApplication::processEvents();
            QImage image;
            if (!wizardShot.isEmpty()) {
                image = Orv::wizardScreenshot(ui, wizardShot, wizardConnection, &window);
            } else if (accessPage >= 0) {
                Orv::AccessImportModel model(ui);
                Orv::frmAccessToOrv dialog(model, &window);
                dialog.show();
                walkAccessImport(dialog, accessPage, accessDb, accessExports);
                image = dialog.grab().toImage();
            } else if (exportFormat > -2) {
                const std::unique_ptr<Orv::frmExport> dialog(
                    static_cast<Orv::frmExport *>(window.createDialog(Orv::Command::FileExport)));
                if (exportFormat >= 0)
                    dialog->chooseFormat(exportFormat);
                dialog->show();
                QApplication::processEvents();
                image = dialog->grab().toImage();
            } else if (scriptEditor) {
                Orv::ScriptEditorModel model(*window.designer()->core());
                Orv::frmScriptEditor editor(model, ui, 0, &window);
                editor.show();
                QApplication::processEvents();
                image = editor.grab().toImage();
            } else if (bars) {
                image = window.findChild<QWidget *>(QStringLiteral("cbDesign"))->grab().toImage();
            } else {
                image = shown->grab().toImage();
            }
            const bool ok = image.save(screenshot);
            std::fprintf(ok ? stdout : stderr, ok ? "Wrote %s\n" : "Cannot write %s\n", qPrintable(screenshot));
            QApplication::exit(ok ? 0 : 1);
        });
        return app.exec();
    }

    if (benchPaint) {
        window.setStartDialogRunner([](Orv::StartDialogModel &m) { m.cancel(); });
        const qint64 opened = clock.elapsed();
        window.startUp(path);
        FirstPaint watcher(clock, opened);
        window.designer()->view()->viewport()->installEventFilter(&watcher);
        return app.exec();
    }

    // The start dialog or the command line's file once the window is up.
    QTimer::singleShot(0, &window, [&] { window.startUp(path); });
    return app.exec();
}
