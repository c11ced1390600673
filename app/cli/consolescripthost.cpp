#include "app/cli/consolescripthost.h"

#include "engine/script/scriptsupport.h"
#include "shell/settingsstore.h"

#include <cstdio>

namespace Orv::Cli {

int ConsoleDialogs::messageBox(const QString &prompt, int buttons, const QString &)
{
    m_out << prompt << '\n';
    m_out.flush();
    const int kind = buttons & 7;
    return kind == 4 || kind == 3 ? 6 : 1; // Yes, else OK
}

// End of input cancels.
std::optional<QString> ConsoleDialogs::inputBox(const QString &prompt, const QString &, const QString &def)
{
    m_out << prompt << (def.isEmpty() ? QString() : QStringLiteral(" [") + def + QLatin1Char(']')) << ' ';
    m_out.flush();
    QTextStream in(stdin);
    const QString line = in.readLine();
    if (line.isNull())
        return std::nullopt;
    return line.isEmpty() ? def : line;
}

ConsoleScriptHost::ConsoleScriptHost(Streams &io, const QString &folder)
    : dialogs(io.out), debug(std::make_shared<Script::DebugOutput>()), folder(folder)
{
    host.setDialogs(&dialogs);
    debug->out = [&io](const QString &line) {
        io.out << line << '\n';
        io.out.flush();
    };
    host.addObject(QStringLiteral("vbo"), Script::createSupportObject(&SettingsStore::installKeys));
    host.addObject(QStringLiteral("dbg"), Script::createDebugObject(debug));
    host.setReportFolder(folder);
}

Script::ScriptedRunOptions ConsoleScriptHost::runOptions()
{
    Script::ScriptedRunOptions options;
    options.reportFolder = folder;
    options.dialogs = &dialogs;
    options.debug = debug;
    options.installKeys = &SettingsStore::installKeys;
    return options;
}

} // namespace Orv::Cli
