// orvreport-cli script: runs a script file outside any report, with vbo,
// dbg and the prologue, so users can try script code.
#include "app/cli/clicommand.h"

#include "app/cli/consolescripthost.h"
#include "engine/script/scriptsupport.h"

#include <QFile>
#include <QFileInfo>


namespace Orv::Cli {

int runScript(const QStringList &args, Streams &io)
{
    if (args.size() != 1) {
        io.err << "usage: orvreport-cli script <file.vbs>\n";
        return Usage;
    }
    QFile file(args.first());
    if (!file.open(QIODevice::ReadOnly)) {
        io.err << "orvreport-cli: cannot read " << args.first() << ": " << file.errorString() << '\n';
        return Failure;
    }
    const QString code = QString::fromUtf8(file.readAll());
    const QString folder = QFileInfo(file).absolutePath() + QLatin1Char('/');
    ConsoleScriptHost console(io, folder);
    Script::Host &host = console.host;
    // The prologue first, then the file, as its own piece so that line
    // numbers are the file's.
    host.addCode(Script::scriptPrologue(folder));
    host.addCode(code);
    const Status status = host.compile();
    io.out.flush();
    if (!status.ok()) {
        const Script::Error e = host.lastError();
        io.err << args.first() << ':' << e.line << ':' << e.column << ": error " << e.number << ": "
               << e.description << '\n';
        if (!e.code.isEmpty())
            io.err << "    " << e.code.trimmed() << '\n';
        return Failure;
    }
    return Success;
}

} // namespace Orv::Cli
