// orvreport-cli: OrvReport without a window.

#include "app/cli/clicommand.h"
#include "engine/core/processsetup.h"
#include "engine/pages/stagedfiles.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

using namespace Orv::Cli;

void printUsage(QTextStream &s)
{
    s << "usage: orvreport-cli <command> [arguments]\n"
         "       orvreport-cli --help | --version\n\n"
         "commands:\n";
    for (const Command &c : commands())
        s << "  " << c.usage.leftJustified(34) << ' ' << c.summary << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    Orv::setUpProcess();
    // An interrupted run or export leaves no hidden partial output behind.
    Orv::removeStagedFilesOnSignals();
    // Runs and exports measure and draw text, which takes a GUI application;
    // the command line never shows a window, so it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt takes options such as --style and -platform out of argv; the
    // commands get every argument as typed.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvreport-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));

    QTextStream out(stdout);
    QTextStream err(stderr);
    Streams io{out, err};

    if (args.isEmpty()) {
        printUsage(err);
        return Usage;
    }
    const QString first = args.takeFirst();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        printUsage(out);
        return Success;
    }
    if (first == QLatin1String("--version")) {
        out << "orvreport-cli " << ORV_VERSION << '\n';
        return Success;
    }
    for (const Command &c : commands()) {
        if (c.name == first) {
            if (args.contains(QLatin1String("--help"))) {
                out << "usage: orvreport-cli " << c.usage << '\n' << c.summary << '\n';
                return Success;
            }
            return c.run(args, io);
        }
    }
    err << "orvreport-cli: unknown command \"" << first << "\"\n\n";
    printUsage(err);
    return Usage;
}
