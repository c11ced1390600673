#include "engine/run/producer.h"

#include "engine/data/connection.h"
#include "engine/data/recordset.h"
#include "engine/data/reportdata.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/run/groupon.h"
#include "engine/run/reportrun.h"
#include "engine/run/sqlparams.h"

#include <QDir>
#include <QFileInfo>

namespace Orv::RunInternal {

namespace {

constexpr int MaxSubreportDepth = 8;

bool sameKey(const QVariant &a, const QVariant &b)
{
    const bool an = isNullValue(a);
    const bool bn = isNullValue(b);
    if (an || bn)
        return an == bn;
    if (isNumeric(a) && isNumeric(b))
        return a.toDouble() == b.toDouble();
    if (a.metaType() == b.metaType())
        return a == b;
    return a.toString() == b.toString();
}

// Collects a subreport's bands; pages and groups mean nothing there.
class BandList : public BandSink
{
public:
    std::vector<LaidBand> bands;
    void band(LaidBand &&b) override { bands.push_back(std::move(b)); }
    void groupOpened(int, const LaidBand *) override {}
    void groupClosed(int) override {}
    void keepOpened() override {}
    void keepClosed() override {}
};

} // namespace

RunShared::~RunShared() = default;

Data::Connection *RunShared::connection(int depth, const QString &connectionString, Status *status)
{
    const QString key = QString::number(depth) + QLatin1Char('\n') + connectionString;
    auto it = connections.find(key);
    if (it != connections.end()) {
        *status = Status();
        return it->second.get();
    }
    auto c = std::make_unique<Data::Connection>();
    c->setAllowWrites(allowWrites);
    *status = c->Open(connectionString);
    if (!status->ok())
        return nullptr;
    return connections.emplace(key, std::move(c)).first->second.get();
}

Producer::Producer(RunShared &shared, Report *report, const QString &folder, int depth)
    : m_shared(shared)
    , m_report(report)
    , m_folder(folder)
    , m_depth(depth)
{
}

Producer::~Producer() = default;

void Producer::fire(QObject *object, const QString &event, QVariantList args, bool *cancel)
{
    if (m_depth > 0 || !m_shared.scripting || !m_shared.scripting->hasHandler(object, event))
        return;
    bool stop = false;
    const Status status = m_shared.scripting->fire(object, event, args, &stop);
    if (!status.ok())
        m_shared.error(status);
    if (cancel)
        *cancel = stop;
}

Status Producer::start(RowAccess *parent)
{
    m_phase = Phase::Start;
    m_openLevels = 0;
    m_closingLevel = -1;
    m_atReportEnd = false;
    m_hasRow = m_anyRow = false;
    m_headerDone = false;
    if (m_depth == 0)
        fire(m_report, QStringLiteral("ReportStart"));
    Status status = openData(parent);
    if (!status.ok())
        return status;
    if (!m_plan) {
        m_row.setParameters(m_shared.parameters);
        m_row.setControlNames(fieldControlNames(*m_report));
        PlanContext context;
        context.row = &m_row;
        context.scripting = m_shared.scripting;
        context.pages = m_shared.pages;
        context.fonts = &m_shared.fonts;
        context.error = m_shared.error;
        context.subreport = [this](Control *c) { return loadSubreport(c); };
        m_plan = buildPlan(*m_report, context);
        m_row.controlValue = [this](int index) -> QVariant {
            if (index < 0 || index >= int(m_plan->fieldControls.size()))
                return QVariant();
            const ControlPlan *c = m_plan->fieldControls[size_t(index)];
            if (c->runningSum || c->scriptValue)
                return c->currentValue;
            if (c->summary >= 0)
                return m_plan->summaries[size_t(c->summary)].accumulator.result();
            if (c->pageSummary >= 0)
                return m_plan->pageSummaries[size_t(c->pageSummary)].accumulator.result();
            if (c->pageValue == ControlPlan::PageNumberValue)
                return m_row.pageNumber;
            if (c->pageValue == ControlPlan::PageCountValue)
                return m_row.pageCount;
            return c->currentValue;
        };
        // Expressions that read a page number or page count field (as
        // converted reports read their hidden page count) wait for it too.
        for (auto &section : m_plan->sections) {
            for (ControlPlan &c : section->controls) {
                for (int slot : c.value.slotsRead) {
                    c.value.readsPageNumber = c.value.readsPageNumber || pageValueOf(slot) == ControlPlan::PageNumberValue;
                    c.value.readsPageCount = c.value.readsPageCount || pageValueOf(slot) == ControlPlan::PageCountValue;
                }
            }
        }
    }
    for (SummaryPlan &s : m_plan->summaries) {
        s.accumulator.reset();
        s.waiting.clear();
    }
    for (ControlPlan *c : m_plan->runningFields) {
        c->runningTotal = 0;
        c->runningStarted = false;
    }
    gatherChartRows();
    m_openKeys.assign(m_plan->groupHeaders.size(), QVariant());
    m_keepFirstDetail.assign(m_plan->groupHeaders.size(), false);
    m_fetchHandler = m_depth == 0 && m_shared.scripting
        && m_shared.scripting->hasHandler(m_report, QStringLiteral("FetchData"));
    m_current = 0;
    m_rows[0].assign(size_t(m_row.columnCount()), QVariant());
    m_rows[1] = m_rows[0];
    if (m_recordset) {
        fetchRow();
    } else {
        m_hasRow = m_singleDetail;
    }
    m_anyRow = m_hasRow;
    m_row.setRow(&m_rows[m_current]);
    if (m_depth == 0)
        fire(m_report, QStringLiteral("DataInitialize"));
    m_phase = Phase::Rows;
    return {};
}

Status Producer::openData(RowAccess *parent)
{
    m_recordset.reset();
    m_connection = nullptr;
    m_dataSql.clear();
    Control *dataControl = Data::findDataControl(*m_report);
    m_haveData = dataControl != nullptr;
    m_singleDetail = !m_haveData;
    if (!dataControl) {
        if (!m_plan)
            m_row.setColumns({});
        return {};
    }
    Status status;
    Data::ReportDataSource source = Data::dataSourceOf(*dataControl, m_folder, m_shared.databasePath, &status);
    if (!m_shared.connectionOverride.isEmpty()
        && (m_depth == 0 || source.connectionString == m_shared.originalConnection)) {
        source.connectionString = m_shared.connectionOverride;
        if (!source.sql.trimmed().isEmpty())
            status = Status();
    }
    if (!status.ok())
        return status;
    const ParameterLookup lookup = [&](const QString &name) -> std::optional<QVariant> {
        if (parent) {
            const int slot = parent->slotOf(name);
            if (slot >= 0)
                return parent->value(slot);
        }
        const auto it = m_shared.parameters.constFind(name);
        if (it != m_shared.parameters.cend())
            return *it;
        for (auto p = m_shared.parameters.cbegin(); p != m_shared.parameters.cend(); ++p) {
            if (p.key().compare(name, Qt::CaseInsensitive) == 0)
                return p.value();
        }
        return std::nullopt;
    };
    const QString sql = substituteParameters(source.sql, lookup);
    Data::Connection *connection = m_shared.connection(m_depth, source.connectionString, &status);
    if (!connection)
        return status;
    // Scripts reach the connection the run uses (a converted chart opens
    // its recordset on rpt.DataCtl.Connection).
    dataControl->setProperty("Connection", source.connectionString);
    m_connection = connection;
    m_dataSql = sql;
    m_recordset = connection->Execute(sql, &status);
    if (!m_recordset || !status.ok()) {
        m_recordset.reset();
        return status.ok() ? Status::failure(ErrConnectionUnusable, QStringLiteral("The statement returned no rows"), dataControl->name()) : status;
    }
    if (!m_plan) {
        QStringList names;
        for (int i = 0; i < m_recordset->fields()->count(); ++i)
            names << m_recordset->fields()->at(i)->name();
        m_row.setColumns(names);
    }
    return {};
}

void Producer::fetchRow()
{
    if (!m_recordset || m_recordset->atEnd()) {
        m_hasRow = false;
        if (m_recordset && !m_recordset->lastError().ok())
            m_shared.error(m_recordset->lastError());
        return;
    }
    std::vector<QVariant> &row = m_rows[m_current];
    const int n = int(row.size());
    for (int i = 0; i < n; ++i) {
        QVariant &v = row[size_t(i)];
        v = m_recordset->value(i);
        // SQL's NULL is Visual Basic's Null: IsNull sees it, formats take
        // their Null section.
        if (!v.isValid())
            v = nullValue();
    }
    m_hasRow = true;
}

QVariant Producer::evaluate(const ValueSource &source, const QString &where)
{
    switch (source.kind) {
    case ValueSource::Slot:
        return m_row.value(source.slot);
    case ValueSource::Expression: {
        Status status;
        QVariant v = source.expression->evaluate(&status);
        if (!status.ok()) {
            m_shared.error(Status::failure(status.number(), status.description(), where));
            return QVariant();
        }
        return v;
    }
    default:
        return QVariant();
    }
}

QVariant Producer::groupKey(int level)
{
    SectionPlan *h = m_plan->groupHeaders[size_t(level)];
    const QVariant value = evaluate(h->groupKey, h->name);
    if (h->groupOn == 0)
        return value;
    QVariant key;
    if (!groupValue(value, h->groupOn, h->groupInterval, &key) && !h->groupMismatch) {
        h->groupMismatch = true;
        m_shared.error(Status::failure(ErrTypeMismatch,
                                       QStringLiteral("Type mismatch: the group on \"%1\" needs %2, and \"%3\" is not one")
                                           .arg(h->groupKey.text, h->groupOn == 9 ? QStringLiteral("numbers") : QStringLiteral("dates"),
                                                value.toString()),
                                       h->name));
    }
    return key;
}

QVariant Producer::addRunning(ControlPlan &c, const QVariant &value)
{
    if (!isNullValue(value)) {
        double x = 0;
        if (toNumber(value, &x)) {
            c.runningTotal += x;
            c.runningStarted = true;
        } else if (!c.runningMismatch) {
            c.runningMismatch = true;
            m_shared.error(Status::failure(ErrTypeMismatch,
                                           QStringLiteral("Type mismatch: the running sum of \"%1\" needs numbers, and \"%2\" is not one")
                                               .arg(c.name, value.toString()),
                                           c.name));
        }
    }
    return c.runningStarted ? QVariant(c.runningTotal) : value;
}

int Producer::pageValueOf(int slot) const
{
    if (slot == RunRow::pageNumberSlot())
        return ControlPlan::PageNumberValue;
    if (slot == RunRow::pageCountSlot())
        return ControlPlan::PageCountValue;
    if (RunRow::kindOf(slot) == RunRow::Control) {
        const int index = RunRow::indexOf(slot);
        if (index < int(m_plan->fieldControls.size()))
            return m_plan->fieldControls[size_t(index)]->pageValue;
    }
    return ControlPlan::NoPageValue;
}

bool Producer::scopeComplete(int level) const
{
    if (m_atReportEnd)
        return true;
    return level >= 0 && m_closingLevel >= 0 && level >= m_closingLevel;
}

void Producer::openGroups(int from, BandSink &sink)
{
    const int n = int(m_plan->groupHeaders.size());
    for (int level = from; level < n; ++level) {
        for (SummaryPlan &s : m_plan->summaries) {
            if (s.level == level && s.running != 2)
                s.accumulator.reset();
        }
        for (ControlPlan *c : m_plan->runningFields) {
            if (c->runningReset == level) {
                c->runningTotal = 0;
                c->runningStarted = false;
            }
        }
        m_openKeys[size_t(level)] = groupKey(level);
        SectionPlan *header = m_plan->groupHeaders[size_t(level)];
        if (header->grpKeepTogether > 0) {
            sink.keepOpened();
            m_keepFirstDetail[size_t(level)] = header->grpKeepTogether == 1;
        }
        LaidBand copy;
        const bool repeat = header->repeatStyle != 0;
        LaidBand band;
        const bool printed = layoutSection(*header, &band);
        if (printed) {
            if (repeat)
                copy = band;
            sink.band(std::move(band));
        }
        sink.groupOpened(level, printed && repeat ? &copy : nullptr);
        m_openLevels = level + 1;
    }
}

void Producer::closeGroups(int from, BandSink &sink)
{
    for (int level = m_openLevels - 1; level >= from; --level) {
        m_closingLevel = level;
        if (SectionPlan *footer = m_plan->groupFooters[size_t(level)]) {
            LaidBand band;
            if (layoutSection(*footer, &band))
                sink.band(std::move(band));
        }
        for (SummaryPlan &s : m_plan->summaries) {
            if (s.level == level && s.running == 0)
                resolveScope(s);
        }
        m_closingLevel = -1;
        if (m_keepFirstDetail[size_t(level)]) {
            m_keepFirstDetail[size_t(level)] = false;
            sink.keepClosed();
        }
        sink.groupClosed(level);
        if (m_plan->groupHeaders[size_t(level)]->grpKeepTogether == 2)
            sink.keepClosed();
    }
    m_openLevels = std::min(m_openLevels, from);
}

void Producer::resolveScope(SummaryPlan &s)
{
    const QVariant total = s.accumulator.result();
    for (auto &late : s.waiting) {
        late->value = late->running ? addRunning(*late->running, total) : total;
        late->needs &= ~LateValue::Scope;
        if (!late->needs)
            complete(*late);
    }
    s.waiting.clear();
}

void Producer::feedSummaries()
{
    for (SummaryPlan &s : m_plan->summaries) {
        QVariant v = s.value ? evaluate(*s.value, QString()) : QVariant();
        if ((!s.value || s.value->kind == ValueSource::None) && s.accumulator.function() % 9 == 2)
            v = 1; // a count without a data field counts rows
        const QVariant key = s.distinct.kind == ValueSource::None ? QVariant() : evaluate(s.distinct, QString());
        if (!s.accumulator.add(v, key) && !s.mismatchReported) {
            s.mismatchReported = true;
            m_shared.error(Status::failure(ErrTypeMismatch,
                                           QStringLiteral("Type mismatch: the summary of \"%1\" needs numbers, and \"%2\" is not one")
                                               .arg(s.value ? s.value->text : QString(), v.toString())));
        }
    }
}

void Producer::addPageInputs(LaidBand &detail)
{
    if (m_plan->pageSummaries.empty())
        return;
    detail.pageInputs.reserve(m_plan->pageSummaries.size() * 2);
    for (SummaryPlan &s : m_plan->pageSummaries) {
        QVariant v = s.value ? evaluate(*s.value, QString()) : QVariant();
        if ((!s.value || s.value->kind == ValueSource::None) && s.accumulator.function() % 9 == 2)
            v = 1;
        detail.pageInputs.push_back(v);
        detail.pageInputs.push_back(s.distinct.kind == ValueSource::None ? QVariant() : evaluate(s.distinct, QString()));
    }
}

bool Producer::advance(BandSink &sink)
{
    if (m_phase == Phase::Done || m_phase == Phase::Start)
        return false;
    if (m_phase == Phase::Rows && !m_headerDone) {
        m_headerDone = true;
        if (m_plan->reportHeader) {
            LaidBand band;
            if (layoutSection(*m_plan->reportHeader, &band))
                sink.band(std::move(band));
        }
        if (!m_anyRow && m_depth == 0)
            fire(m_report, QStringLiteral("NoData"));
    }
    if (m_phase == Phase::Rows && m_hasRow && m_fetchHandler) {
        QVariantList args{false};
        bool cancel = false;
        fire(m_report, QStringLiteral("FetchData"), args, &cancel);
        if (cancel || (!args.isEmpty() && args.first().toBool()))
            m_hasRow = false;
    }
    if (m_phase == Phase::Rows && !m_hasRow)
        m_phase = Phase::End;

    if (m_phase == Phase::Rows) {
        std::vector<QVariant> &current = m_rows[m_current];
        std::vector<QVariant> &previous = m_rows[m_current ^ 1];
        m_row.setRow(&current);
        const int n = int(m_plan->groupHeaders.size());
        int breakLevel = m_openLevels;
        for (int level = 0; level < m_openLevels; ++level) {
            if (!sameKey(groupKey(level), m_openKeys[size_t(level)])) {
                breakLevel = level;
                break;
            }
        }
        if (breakLevel < m_openLevels) {
            m_row.setRow(&previous);
            closeGroups(breakLevel, sink);
            m_row.setRow(&current);
        }
        if (m_openLevels < n)
            openGroups(m_openLevels, sink);
        feedSummaries();
        LaidBand band;
        if (m_plan->detail && layoutSection(*m_plan->detail, &band)) {
            addPageInputs(band);
            sink.band(std::move(band));
        }
        for (int level = n - 1; level >= 0; --level) {
            if (m_keepFirstDetail[size_t(level)]) {
                m_keepFirstDetail[size_t(level)] = false;
                sink.keepClosed();
            }
        }
        if (m_depth == 0)
            ++m_shared.rows;
        // On to the next row; this one stays as the previous for footers.
        m_current ^= 1;
        if (m_recordset) {
            m_recordset->MoveNext();
            fetchRow();
        } else {
            m_hasRow = false;
        }
        m_row.setRow(&m_rows[m_current ^ 1]);
        return true;
    }

    // The end: close every group, then the report footer.
    m_row.setRow(&m_rows[m_current ^ 1]);
    closeGroups(0, sink);
    m_atReportEnd = true;
    for (SummaryPlan &s : m_plan->summaries)
        resolveScope(s);
    if (m_plan->reportFooter) {
        LaidBand band;
        if (layoutSection(*m_plan->reportFooter, &band))
            sink.band(std::move(band));
    }
    m_phase = Phase::Done;
    if (m_recordset)
        m_recordset->Close();
    return false;
}

std::vector<LaidBand> Producer::runAll(RowAccess *parent, Status *status)
{
    BandList list;
    *status = start(parent);
    if (!status->ok())
        return {};
    while (advance(list)) {
    }
    return std::move(list.bands);
}

std::shared_ptr<SubReportPlan> Producer::loadSubreport(Control *control)
{
    auto *sub = qobject_cast<SubReport *>(control);
    if (!sub)
        return nullptr;
    const QString where = QStringLiteral("%1.%2").arg(control->section() ? control->section()->name() : QString(), control->name());
    if (m_depth + 1 > MaxSubreportDepth) {
        m_shared.error(Status::failure(ErrInvalidCall,
                                       QStringLiteral("Subreports nest more than %1 deep (does a layout show itself?)").arg(MaxSubreportDepth),
                                       where));
        return nullptr;
    }
    auto plan = std::make_shared<SubReportPlan>();
    QStringList chain = layoutChain;
    plan->report = std::make_unique<Report>();
    plan->name = control->name();
    auto *object = qobject_cast<Report *>(control->property("Object").value<QObject *>());
    if (object) {
        object->CopyLayoutTo(plan->report.get());
        plan->folder = m_folder;
    } else {
        if (sub->reportName().trimmed().isEmpty()) {
            m_shared.error(Status::failure(ErrInvalidCall, QStringLiteral("The subreport names no layout"), where));
            return nullptr;
        }
        const QString path = QDir(m_folder).filePath(sub->reportName().trimmed());
        const QFileInfo info(path);
        const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
        if (layoutChain.contains(key)) {
            m_shared.error(Status::failure(ErrOutOfStack, QStringLiteral("Out of stack space: the subreport runs %1, which is already running (%2)")
                                                   .arg(sub->reportName().trimmed(), (layoutChain + QStringList{key}).join(QStringLiteral(" -> "))),
                                           where));
            return nullptr;
        }
        chain.append(key);
        const Status status = LoadLayout(*plan->report, path);
        if (!status.ok()) {
            m_shared.error(Status::failure(status.number(), status.description(), where));
            return nullptr;
        }
        plan->folder = QFileInfo(path).absolutePath();
    }
    plan->producer = std::make_unique<Producer>(m_shared, plan->report.get(), plan->folder, m_depth + 1);
    plan->producer->layoutChain = chain;
    return plan;
}

} // namespace Orv::RunInternal
