// orvreport [layout.rpx | archive.rdf]: the OrvReport designer.
//   --help, --version
//   --lang zh|en: the language of the program (else the locale's);
//   --screenshot <file.png>: draw the main window once into a picture and
//     quit (made for the documentation; works without a display);
//   --window <name>: with --screenshot, draw that window of the program's
//     list (shell/window/windowlist.h) instead;
//   --start-dialog, --start-tab <key>, --preview: the same for the start
//     dialog (on its tab New, Existing or Recent) and the preview page.
// Every other argument is part of the path, joined with blanks, so that an
// unquoted path with blanks still opens.
#include "engine/core/processsetup.h"
#include "shell/language.h"
#include "shell/startdialogmodel.h"
#include "shell/window/mainwindow.h"
#include "shell/window/windowlist.h"
#include "ui/widgetui.h"

#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
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
                "  --preview               with --screenshot: draw the preview page\n");
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
        QWidget *shown = entry->open(window, path);
        shown->show();
        QTimer::singleShot(windowName == QLatin1String("preview") ? 1500 : 400, &window, [&] {
            QApplication::processEvents();
            const QImage image = shown->grab().toImage();
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
