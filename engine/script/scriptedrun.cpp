#include "engine/script/scriptedrun.h"

#include "engine/model/report.h"
#include "engine/run/reportrun.h"
#include "engine/script/host.h"
#include "engine/script/runhost.h"

namespace Orv::Script {

struct ScriptedRun::Scripting
{
    explicit Scripting(Host &host) : runHost(host) {}
    RunHost runHost;
};

std::unique_ptr<ScriptedRun> ScriptedRun::copyOf(const Report &design, const ScriptedRunOptions &options)
{
    auto copy = std::make_unique<Report>();
    design.CopyLayoutTo(copy.get());
    return of(std::move(copy), options);
}

std::unique_ptr<ScriptedRun> ScriptedRun::of(std::unique_ptr<Report> report, const ScriptedRunOptions &options)
{
    return std::unique_ptr<ScriptedRun>(new ScriptedRun(std::move(report), options));
}

ScriptedRun::ScriptedRun(std::unique_ptr<Report> report, const ScriptedRunOptions &options)
    : m_report(std::move(report)), m_host(std::make_unique<Host>())
{
    m_host->setDialogs(options.dialogs);
    m_host->addObject(QStringLiteral("vbo"), createSupportObject(options.installKeys));
    m_host->addObject(QStringLiteral("dbg"), createDebugObject(options.debug));
    m_host->setReportFolder(options.reportFolder);
    m_host->addCode(scriptPrologue(options.reportFolder));
    m_host->setRunBudget(options.scriptSteps, options.scriptMemory);
    m_scripting = std::make_unique<Scripting>(*m_host);
    m_run = std::make_unique<ReportRun>(m_report.get());
    m_run->setReportFolder(options.reportFolder);
    m_run->setAllowWrites(options.allowWrites);
    if (!options.layoutPath.isEmpty())
        m_run->setLayoutPath(options.layoutPath);
    m_run->setScripting(&m_scripting->runHost);
    // An error no listener took is shown in a message box, as MsgBox shows one.
    if (Dialogs *dialogs = options.dialogs) {
        m_run->setErrorDisplay([dialogs, this](const Status &status) {
            const QString number = status.number() >= 0 ? QStringLiteral(" %1").arg(status.number())
                                                         : QString::number(status.number());
            const QString title = m_report->documentName().isEmpty() ? QStringLiteral("OrvReport") : m_report->documentName();
            dialogs->messageBox(number + QStringLiteral(" - ") + status.description(), 16, title);
        });
    }
    if (!options.connectionString.isEmpty())
        m_run->setConnectionString(options.connectionString);
    if (!options.databasePath.isEmpty())
        m_run->setDatabasePath(options.databasePath);
    if (!options.parameters.isEmpty())
        m_run->setParameters(options.parameters);
}

ScriptedRun::~ScriptedRun()
{
    // The run goes first: it may still call into the scripting.
    m_run.reset();
    m_scripting.reset();
    m_host.reset();
}

Status ScriptedRun::start(bool async)
{
    return m_run->Run(async);
}

} // namespace Orv::Script
