#pragma once
// The script host as a report run sees it: report and section events go to
// the script's procedures, and "=" data fields compile to script
// expressions over the run's current values.
#include "engine/run/runscripting.h"
#include "engine/script/host.h"

#include <memory>

namespace Orv::Script {

class RunHost : public RunScripting
{
public:
    // host holds the objects and code given before the run (the prologue,
    // vbo, dbg); the run adds the report's own scripts at prepare.
    explicit RunHost(Host &host);
    ~RunHost() override;

    Status prepare(Report *report, ReportRun *run) override;
    bool hasHandler(QObject *object, const QString &event) const override;
    Status fire(QObject *object, const QString &event, QVariantList &args, bool *cancel) override;
    std::unique_ptr<RunExpression> compileExpression(const QString &text, RowAccess &row, Status *status) override;
    Status budgetSpent() const override;

    class RowResolver;

private:
    Host &m_host;
    std::unique_ptr<RowResolver> m_row;
};

} // namespace Orv::Script
