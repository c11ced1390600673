#pragma once
// A report run as the program starts one: a copy of the layout (or the
// report itself), the script objects vbo and dbg, the script prologue with
// the report folder, and the script host that carries the report's events.
// The preview, the command line and the tests all build their runs here,
// so that a report behaves the same wherever it runs.
#include "engine/core/status.h"
#include "engine/script/host.h"
#include "engine/script/scriptsupport.h"

#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace Orv {

class Report;
class ReportRun;

namespace Script {


struct ScriptedRunOptions
{
    // Where relative data sources and subreports are found; ends with a
    // separator once a report has been opened or saved (ReportPath shows it
    // as given).
    QString reportFolder;
    // MsgBox and InputBox; without them MsgBox answers OK and InputBox its
    // default.
    Dialogs *dialogs = nullptr;
    // dbg.Out and dbg.Cls; without it they do nothing.
    std::shared_ptr<DebugOutput> debug;
    // The install keys vbo.VBPath reads.
    std::function<InstallKeys()> installKeys;
    // Replaces the data control's connection string when not empty.
    QString connectionString;
    // What "$fulldbpath$" stands for.
    QString databasePath;
    QVariantMap parameters;
    // The layout file being run, so that a subreport naming it again is
    // caught at once; empty for a design that has no file yet.
    QString layoutPath;
    // Statements that change data run only when the layout asks for it and
    // this confirms it.
    bool allowWrites = false;
    // Whole-run script budgets (0 for none).
    qint64 scriptSteps = DefaultRunStepBudget;
    qint64 scriptMemory = DefaultRunMemoryBudget;
};

class ScriptedRun
{
public:
    // Runs a copy of design: the design itself stays as it is, whatever
    // the report's scripts do to the running copy.
    static std::unique_ptr<ScriptedRun> copyOf(const Report &design, const ScriptedRunOptions &options);
    // Runs report itself (a layout just loaded for this run).
    static std::unique_ptr<ScriptedRun> of(std::unique_ptr<Report> report, const ScriptedRunOptions &options);
    ~ScriptedRun();

    Report *report() const { return m_report.get(); }
    ReportRun *run() const { return m_run.get(); }
    Host &host() const { return *m_host; }
    // Starts the run (Run(async)).
    Status start(bool async);

private:
    ScriptedRun(std::unique_ptr<Report> report, const ScriptedRunOptions &options);
    struct Scripting;

    std::unique_ptr<Report> m_report;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<Scripting> m_scripting;
    std::unique_ptr<ReportRun> m_run;
};

} // namespace Script
} // namespace Orv
