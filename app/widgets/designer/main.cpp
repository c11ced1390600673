// orv-designer-window [layout.rpx] [--screenshot out.png]: the designer on
// its own, to try it by hand. With --screenshot the window is drawn once
// into a PNG file and the program ends.
#include "designerwindow.h"

#include "engine/core/processsetup.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    Orv::setUpProcess();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orv-designer-window"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The OrvReport designer surface on its own."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("layout"), QStringLiteral("A layout file (.rpx) to open."));
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QStringLiteral("Draw the window into <file> and quit."),
                                  QStringLiteral("file"));
    QCommandLineOption select(QStringLiteral("select"), QStringLiteral("Select the controls named <names>, comma separated."),
                              QStringLiteral("names"));
    parser.addOption(screenshot);
    parser.addOption(select);
    parser.process(app);

    Orv::DesignerWindow window;
    if (!parser.positionalArguments().isEmpty() && !window.openLayout(parser.positionalArguments().front()))
        return 1;
    if (parser.isSet(select)) {
        std::vector<QObject *> chosen;
        for (const QString &name : parser.value(select).split(QLatin1Char(','))) {
            for (QObject *c : window.designer()->DesignedReport()->findChildren<QObject *>()) {
                if (c->property("Name").toString() == name && c->inherits("Orv::Control"))
                    chosen.push_back(c);
            }
        }
        window.designer()->core()->setSelection(chosen);
    }
    window.show();
    if (parser.isSet(screenshot)) {
        QTimer::singleShot(300, &window, [&] {
            const bool ok = window.grab().save(parser.value(screenshot));
            std::fprintf(ok ? stdout : stderr, ok ? "Wrote %s\n" : "Cannot write %s\n",
                         qPrintable(parser.value(screenshot)));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
