#pragma once
// A script host for the command line: vbo and dbg present, dbg.Out and
// MsgBox print to standard output, InputBox reads a line.
#include "app/cli/clicommand.h"
#include "engine/script/host.h"
#include "engine/script/scriptedrun.h"

#include <memory>

namespace Orv::Cli {

class ConsoleDialogs : public Script::Dialogs
{
public:
    explicit ConsoleDialogs(QTextStream &out) : m_out(out) {}
    int messageBox(const QString &prompt, int buttons, const QString &title) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &def) override;

private:
    QTextStream &m_out;
};

struct ConsoleScriptHost
{
    // folder ends with a separator, as the prologue's ReportPath has it.
    ConsoleScriptHost(Streams &io, const QString &folder);
    ConsoleDialogs dialogs;
    Script::Host host;
    std::shared_ptr<Script::DebugOutput> debug;
    // The same objects for a report run that builds its own host.
    Script::ScriptedRunOptions runOptions();
    QString folder;
};

} // namespace Orv::Cli
