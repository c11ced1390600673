// orvreport [layout.rpx | archive.rdf]: the OrvReport designer.
//   --help, --version
//   --screenshot <file.png>: draw the main window once into a picture and
//     quit (made for the documentation; works without a display);
//   --start-dialog: with --screenshot, draw the start dialog instead;
//   --start-tab <key>: on that tab (New, Existing, Recent);
//   --command <name>: with --screenshot, draw the dialog the command opens.
// Every other argument is part of the path, joined with blanks, so that an
// unquoted path with blanks still opens.
#include "engine/core/processsetup.h"
#include "shell/startdialogmodel.h"
#include "shell/window/mainwindow.h"
#include "shell/window/startdialog.h"
#include "ui/widgetui.h"

#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QTranslator>

#include <cstdio>

namespace {

void usage()
{
    std::printf("Usage: orvreport [options] [layout.rpx | archive.rdf]\n"
                "The OrvReport banded-report designer.\n\n"
                "Options:\n"
                "  --help                  show this help and exit\n"
                "  --version               show the version and exit\n"
                "  --screenshot <file>     draw the window into a PNG file and exit\n"
                "  --start-dialog          with --screenshot: draw the start dialog\n"
                "  --start-tab <key>       the same on its tab New, Existing or Recent\n"
                "  --preview               with --screenshot: draw the preview page\n"
                "  --command <name>        with --screenshot: draw the dialog a command opens\n");
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
    bool startDialog = false;
    QString startTab;
    bool preview = false;
    QString command;
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
        if (arg == QLatin1String("--screenshot") && i + 1 < argc) {
            screenshot = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--start-dialog")) {
            startDialog = true;
        } else if (arg == QLatin1String("--start-tab") && i + 1 < argc) {
            startDialog = true;
            startTab = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--preview")) {
            preview = true;
        } else if (arg == QLatin1String("--command") && i + 1 < argc) {
            command = QString::fromLocal8Bit(argv[++i]);
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

    // The program speaks Chinese; Qt's own dialogs (the file browser, the
    // message box buttons) follow, in the traditional script where the
    // user's locale writes it.
    QTranslator qtTexts;
    const QLocale locale;
    const bool traditional = locale.language() == QLocale::Chinese && locale.script() == QLocale::TraditionalChineseScript;
    if (qtTexts.load(traditional ? QStringLiteral("qtbase_zh_TW") : QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    Orv::WidgetUi ui;
    Orv::MainWindow window(ui);
    ui.setParentWidget(&window);
    const QString path = words.join(QLatin1Char(' '));
    window.show();

    if (!screenshot.isEmpty()) {
        // Pictures for the documentation: the window (or the start dialog)
        // as the user sees it, drawn once the pages have settled.
        window.setStartDialogRunner([](Orv::StartDialogModel &) {});
        window.startUp(path);
        if (preview)
            window.setView(1);
        if (!command.isEmpty()) {
            // The dialog a command opens, once its contents have settled.
            QTimer::singleShot(400, &window, [&] {
                QTimer::singleShot(1200, &window, [&] {
                    QWidget *dialog = QApplication::activeModalWidget();
                    if (!dialog) {
                        std::fprintf(stderr, "The command %s opened no dialog\n", qPrintable(command));
                        QApplication::exit(1);
                        return;
                    }
                    showcase(dialog);
                    QApplication::processEvents();
                    const bool ok = dialog->grab().toImage().save(screenshot);
                    std::fprintf(ok ? stdout : stderr, ok ? "Wrote %s\n" : "Cannot write %s\n", qPrintable(screenshot));
                    QApplication::exit(ok ? 0 : 1);
                });
                window.execute(command);
            });
            return app.exec();
        }
        QTimer::singleShot(preview ? 1500 : 400, &window, [&] {
            QImage image;
            if (startDialog) {
                Orv::StartDialogModel model;
                model.setShowNew(true);
                model.addStandardNewTypes();
                model.setInitialFolder(Orv::ReportDocument::folderOf(path));
                // The layout shown stands in for the recent files.
                const QString folder = Orv::ReportDocument::folderOf(path);
                if (!path.isEmpty())
                    model.AddExistItem(path.mid(folder.size()), folder, Orv::RecentFiles::today(), QStringLiteral("RPX"));
                Orv::frmFileDialog dialog(model, &window);
                if (!startTab.isEmpty())
                    dialog.showTab(startTab);
                dialog.show();
                QApplication::processEvents();
                image = dialog.grab().toImage();
            } else {
                image = window.grab().toImage();
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
