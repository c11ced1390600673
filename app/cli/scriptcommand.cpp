// orvreport-cli script: runs a script file outside any report, with vbo,
// dbg and the prologue, so users can try script code.
#include "app/cli/clicommand.h"

#include "engine/script/host.h"
#include "engine/script/scriptsupport.h"
#include "shell/settingsstore.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace Orv::Cli {

namespace {

// MsgBox prints its text; InputBox prints its prompt and reads a line
// (end of input cancels).
class ConsoleDialogs : public Script::Dialogs
{
public:
    explicit ConsoleDialogs(QTextStream &out) : m_out(out) {}
    int messageBox(const QString &prompt, int buttons, const QString &) override
    {
        m_out << prompt << '\n';
        m_out.flush();
        const int kind = buttons & 7;
        return kind == 4 || kind == 3 ? 6 : 1; // Yes, else OK
    }
    std::optional<QString> inputBox(const QString &prompt, const QString &, const QString &def) override
    {
        m_out << prompt << (def.isEmpty() ? QString() : QStringLiteral(" [") + def + QLatin1Char(']')) << ' ';
        m_out.flush();
        QTextStream in(stdin);
        const QString line = in.readLine();
        if (line.isNull())
            return std::nullopt;
        return line.isEmpty() ? def : line;
    }

private:
    QTextStream &m_out;
};

} // namespace

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
    Script::Host host;
    ConsoleDialogs dialogs(io.out);
    host.setDialogs(&dialogs);
    auto debug = std::make_shared<Script::DebugOutput>();
    debug->out = [&io](const QString &line) {
        io.out << line << '\n';
        io.out.flush();
    };
    host.addObject(QStringLiteral("vbo"), Script::createSupportObject([] {
        Script::InstallKeys keys;
        keys.installDir = SettingsStore::installDir();
        const QString product = SettingsStore::productDir();
        keys.productKeyExists = !product.isEmpty();
        if (!product.isEmpty())
            keys.productDir = product;
        return keys;
    }));
    host.addObject(QStringLiteral("dbg"), Script::createDebugObject(debug));
    const QString folder = QFileInfo(file).absolutePath() + QLatin1Char('/');
    host.setReportFolder(folder);
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
