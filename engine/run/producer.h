#pragma once
// The band producer: reads a report's rows one at a time, breaks them into
// groups, keeps the summaries and lays out each printed section as a band.
// It knows nothing of pages; a BandSink receives the bands in order, with
// marks where groups and keep-together blocks open and close.
#include "engine/chart/chartvalues.h"
#include "engine/core/status.h"
#include "engine/run/bands.h"
#include "engine/run/plan.h"
#include "engine/run/rowaccess.h"

#include <QHash>
#include <QVariantMap>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace Orv {
class PageCollection;
class Report;
class ReportRun;
namespace Data {
class Connection;
class Recordset;
}
}

namespace Orv::RunInternal {

class BandSink
{
public:
    virtual ~BandSink() = default;
    virtual void band(LaidBand &&band) = 0;
    // A group began (after its header band) or ended (after its footer).
    // header is the band to repeat on continued pages, or null.
    virtual void groupOpened(int level, const LaidBand *header) = 0;
    virtual void groupClosed(int level) = 0;
    // Bands between these marks stay on one page where they can.
    virtual void keepOpened() = 0;
    virtual void keepClosed() = 0;
};

// What every producer of one run shares: the run's services, fonts and
// connections, and the values that wait for the report's end.
struct RunShared
{
    ReportRun *run = nullptr;
    RunScripting *scripting = nullptr;
    PageCollection *pages = nullptr;
    std::vector<PageFont> fonts;
    QVariantMap parameters;
    QString connectionOverride;
    QString originalConnection; // the main report's own, which the override replaces
    QString databasePath;
    bool allowWrites = false; // the layout asks and the run confirms
    int currentPage = 0; // the page being filled
    int pageCount = 0;   // known at the report's end
    std::vector<std::shared_ptr<LateValue>> waitingForEnd;
    std::map<QString, std::unique_ptr<Data::Connection>> connections;
    std::function<void(const Status &)> error;
    qint64 rows = 0;

    Data::Connection *connection(int depth, const QString &connectionString, Status *status);
    ~RunShared();
};

class Producer
{
public:
    Producer(RunShared &shared, Report *report, const QString &folder, int depth);
    ~Producer();

    // The layout files of this report and the reports above it, so a
    // subreport that would run a layout already running stops at once.
    QStringList layoutChain;

    // Fires ReportStart (the main report only), opens the data, compiles
    // the layout and lays out the report header. parent is the parent row
    // of a subreport, whose fields the statement's ":name" parameters read.
    Status start(RowAccess *parent = nullptr);
    // Processes one row (or the report's end); false once finished.
    bool advance(BandSink &sink);
    bool finished() const { return m_phase == Phase::Done; }

    // A page header or footer for the placer, laid out on the current row.
    bool layoutPageSection(SectionPlan *section, LaidBand *out);
    // Runs the whole report at once (subreports), collecting its bands.
    std::vector<LaidBand> runAll(RowAccess *parent, Status *status);

    ReportPlan *plan() const { return m_plan.get(); }
    RunRow &row() { return m_row; }
    Report *report() const { return m_report; }
    void fire(QObject *object, const QString &event, QVariantList args = {}, bool *cancel = nullptr);

    // Resolves a late value whose needs are met (evaluating its expression
    // over the values it was laid out with).
    void complete(LateValue &late);

private:
    enum class Phase { Start, Rows, End, Done };

    Status openData(RowAccess *parent);
    void fetchRow();
    QVariant evaluate(const ValueSource &source, const QString &where);
    QVariant groupKey(int level);
    void openGroups(int from, BandSink &sink);
    void closeGroups(int from, BandSink &sink);
    void resolveScope(SummaryPlan &summary);
    QVariant addRunning(ControlPlan &control, const QVariant &value);
    void feedSummaries();
    void addPageInputs(LaidBand &detail);
    bool layoutSection(SectionPlan &section, LaidBand *out);
    void buildBand(SectionPlan &section, LaidBand *out);
    void computeValues(SectionPlan &section);
    bool refreshControls(SectionPlan &section);
    void exposeValues(SectionPlan &section);
    bool takeScriptChanges(SectionPlan &section);
    void restoreTexts(SectionPlan &section);
    void addControlItems(ControlPlan &control, const SectionPlan &section, LaidBand &band);
    void addTextItem(ControlPlan &control, const QString &text, bool rich, LaidBand &band);
    void addSubreportItem(ControlPlan &control, LaidBand &band);
    void applyGrowth(LaidBand &band, const SectionPlan &section, const std::vector<double> &designBottoms);
    bool isLate(const ControlPlan &control, const SectionPlan &section) const;
    std::shared_ptr<LateValue> lateFor(ControlPlan &control, const SectionPlan &section);
    bool scopeComplete(int level) const;
    int pageValueOf(int slot) const;
    int pictureFor(const QVariant &value, const ControlPlan &control);
    // Charts: the pass over the rows that grouping charts show, the values
    // a chart shows where it is laid out, and its drawing as band items.
    void gatherChartRows();
    Charts::ChartValues chartValues(const ControlPlan &control);
    Charts::ChartValues rowSourceValues(const ControlPlan &control, const QString &rowSource);
    QString chartScopeKey(int level, const std::function<QVariant(int)> &keyOf) const;
    void addChartItems(ControlPlan &control, LaidBand &band);
    std::shared_ptr<SubReportPlan> loadSubreport(Control *control);

    RunShared &m_shared;
    Report *m_report;
    QString m_folder;
    int m_depth;
    Phase m_phase = Phase::Start;

    std::unique_ptr<ReportPlan> m_plan;
    RunRow m_row;
    std::unique_ptr<Data::Recordset> m_recordset;
    Data::Connection *m_connection = nullptr; // the data control's, shared by the run
    QString m_dataSql;                        // its statement, parameters filled in
    bool m_haveData = false;    // a data control feeds the report
    bool m_singleDetail = false; // no data control: one detail
    bool m_fetchHandler = false;
    std::vector<QVariant> m_rows[2];
    int m_current = 0;
    bool m_hasRow = false;
    bool m_anyRow = false;
    bool m_headerDone = false;

    std::vector<QVariant> m_openKeys;
    int m_openLevels = 0;
    std::vector<bool> m_keepFirstDetail; // levels waiting for their first detail
    int m_closingLevel = -1;  // the footer being laid out, or -1
    bool m_atReportEnd = false;
    QHash<size_t, int> m_pictures;
    // While a band is laid out again after BeforePrint: the late values of
    // the first layout, so that they are not registered twice.
    std::vector<std::shared_ptr<LateValue>> m_reusedLates;
};

struct SubReportPlan
{
    std::unique_ptr<Report> report;
    std::unique_ptr<Producer> producer;
    QString folder;
    QString name;
};

} // namespace Orv::RunInternal
