#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace Orv::Cli {

// Exit codes of orvreport-cli.
enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

struct Streams
{
    QTextStream &out;
    QTextStream &err;
};

// A sub-command: its name, a one-line usage and summary for --help, and
// the function that runs it on the arguments after the name.
struct Command
{
    QString name;
    QString usage;
    QString summary;
    std::function<int(const QStringList &args, Streams &io)> run;
};

// The sub-commands, in the order --help lists them.
const QList<Command> &commands();

int runInfo(const QStringList &args, Streams &io);
int runProperties(const QStringList &args, Streams &io);
int runSampleDb(const QStringList &args, Streams &io);
int runQuery(const QStringList &args, Streams &io);
int runReport(const QStringList &args, Streams &io);
int runExportSettings(const QStringList &args, Streams &io);
int runScript(const QStringList &args, Streams &io);
int runWizard(const QStringList &args, Streams &io);

} // namespace Orv::Cli
