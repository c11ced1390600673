#pragma once
// Runs the command-line tool built with the tests (ORV_CLI_PATH, defined
// for every suite) and collects its exit code and output.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace TestSupport {

struct CliResult
{
    int code = -1; // -1 when it crashed or did not finish in time
    QString out;
    QString err;
};

inline CliResult runCli(const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    p.start(QStringLiteral(ORV_CLI_PATH), args);
    CliResult r;
    if (!p.waitForFinished(timeoutMs))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace TestSupport
