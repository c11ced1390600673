#include "engine/script/runhost.h"

#include "engine/run/reportrun.h"

namespace Orv::Script {

// The run's values as the script host reads them. The run hands its row
// access with the first expression it compiles; until then (and in runs
// without expressions) script code sees no row values.
class RunHost::RowResolver : public FieldResolver
{
public:
    explicit RowResolver(RowAccess *access = nullptr) : row(access) {}
    RowAccess *row = nullptr;
    int slotOf(const QString &name) override { return row ? row->slotOf(name) : -1; }
    QVariant value(int slot) const override { return row ? row->value(slot) : QVariant(); }
};

// Each expression reads the row access it was compiled for: a subreport's
// fields are not its parent's.
class ScriptExpression : public RunExpression
{
public:
    explicit ScriptExpression(RowAccess &row) : resolver(std::make_unique<RunHost::RowResolver>(&row)) {}
    QVariant evaluate(Status *status) override { return expression->evaluate(status); }

    std::unique_ptr<RunHost::RowResolver> resolver; // declared first: outlives the expression
    std::unique_ptr<Expression> expression;
};

RunHost::RunHost(Host &host) : m_host(host), m_row(std::make_unique<RowResolver>()) {}

RunHost::~RunHost() = default;

Status RunHost::prepare(Report *report, ReportRun *run)
{
    m_host.setAllowWrites(run && run->writesAllowed());
    m_host.bindReport(report, m_row.get());
    return m_host.compile();
}

Status RunHost::budgetSpent() const
{
    const QString why = m_host.runBudgetSpent();
    return why.isEmpty() ? Status() : Status::failure(why.startsWith(QLatin1String("Out of memory")) ? 7 : 18, why);
}

bool RunHost::hasHandler(QObject *object, const QString &event) const
{
    return m_host.hasHandler(object, event);
}

Status RunHost::fire(QObject *object, const QString &event, QVariantList &args, bool *cancel)
{
    return m_host.fireEvent(object, event, args, cancel);
}

std::unique_ptr<RunExpression> RunHost::compileExpression(const QString &text, RowAccess &row, Status *status)
{
    if (!m_row->row)
        m_row->row = &row; // the report's own row, for rpt.Fields in event code
    auto result = std::make_unique<ScriptExpression>(row);
    result->expression = m_host.compileExpression(text, result->resolver.get(), status);
    if (!result->expression)
        return nullptr;
    return result;
}

} // namespace Orv::Script
