#include "engine/run/reportrun.h"

#include "engine/data/reportdata.h"
#include "engine/model/report.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/placer.h"
#include "engine/run/producer.h"

#include <QFileInfo>
#include <QSet>
#include <QTimer>

#include <deque>

namespace Orv {

using namespace RunInternal;

struct ReportRun::Private : public PageSink
{
    enum class State { Idle, Running, Finished };

    ReportRun *q = nullptr;
    Report *report = nullptr;
    QString folder;
    QString layoutPath;
    QString databasePath;
    QString connectionString;
    QVariantMap parameters;
    bool allowWrites = false;
    RunScripting *scripting = nullptr;
    bool scriptingReady = false;
    bool inErrorEvent = false;
    std::function<void(const Status &)> errorDisplay;
    PageCollection *pages = nullptr;
    std::unique_ptr<PageCollection> ownPages;
    bool provisionalPages = false;
    bool replaceProvisional = true;

    State state = State::Idle;
    bool cancelRequested = false;
    bool cancelled = false;
    bool producerDone = false;
    Status outcome;
    QList<Status> errors;
    QSet<QString> reported;
    int pagesMade = 0;
    qint64 rowsRead = 0;

    std::unique_ptr<RunShared> shared;
    std::unique_ptr<Producer> producer;
    std::unique_ptr<Placer> placer;
    QTimer timer;

    // Pages wait here until every late text on them is known; held ones
    // wait in a spilling collection of their own, so memory stays bounded.
    struct Ready
    {
        Page page;
        std::vector<Patch> patches;
    };
    struct Held
    {
        int index = 0;
        std::vector<Patch> patches;
    };
    std::deque<Ready> ready;
    std::deque<Held> held;
    std::unique_ptr<PageCollection> holding;
    // Published with provisional texts, waiting for their late values (in
    // page order; index is the page's in the collection).
    std::deque<Held> provisional;

    void report_error(const Status &status)
    {
        const QString key = QStringLiteral("%1|%2|%3").arg(status.number()).arg(status.source(),
                                                                                   status.number() == ErrItemNotFound || status.number() == ErrInvalidCall
                                                                                       ? status.description()
                                                                                       : QString());
        if (reported.contains(key))
            return;
        reported.insert(key);
        errors.append(status);
        const int number = status.number();
        const int code = number > 0 && number <= 0xFFFF ? int(0x800A0000u | unsigned(number)) : number;
        bool cancelDisplay = false;
        // The report's own Error handler first; an error inside it is not
        // sent round again.
        if (scripting && scriptingReady && !inErrorEvent && scripting->hasHandler(report, QStringLiteral("Error"))) {
            inErrorEvent = true;
            QVariantList args{number, status.description(), code, status.source(), QString(), 0, false};
            bool ignored = false;
            const Status handled = scripting->fire(report, QStringLiteral("Error"), args, &ignored);
            inErrorEvent = false;
            cancelDisplay = args.size() > 6 && args[6].toBool();
            if (!handled.ok())
                report_error(handled);
        }
        Q_EMIT q->Error(number, status.description(), code, status.source(), QString(), 0, &cancelDisplay);
        if (!cancelDisplay && errorDisplay)
            errorDisplay(status);
    }

    static bool resolved(const std::vector<Patch> &patches)
    {
        return std::all_of(patches.begin(), patches.end(), [](const Patch &p) { return p.late->resolved; });
    }

    // Fills in the late texts known so far (those not known stay blank).
    static void apply(Page &page, const std::vector<Patch> &patches)
    {
        for (const Patch &p : patches) {
            if (!p.late->resolved)
                continue;
            if (auto *text = std::get_if<TextOp>(&page.ops[size_t(p.op)]))
                text->text = p.late->text;
        }
    }

    void pageDone(Page &&page, std::vector<Patch> &&patches) override
    {
        const int index = pagesMade++;
        if (provisionalPages || (held.empty() && resolved(patches))) {
            ready.push_back({std::move(page), std::move(patches)});
        } else {
            if (!holding) {
                holding = std::make_unique<PageCollection>();
                holding->setMemoryPageLimit(4);
            }
            held.push_back({holding->Count(), std::move(patches)});
            holding->append(std::move(page));
        }
        Q_EMIT q->PageEnd(index);
    }

    bool publishable() const
    {
        return !ready.empty() || (!held.empty() && resolved(held.front().patches))
            || (!provisional.empty() && resolved(provisional.front().patches));
    }

    // Moves one page into the collection, or puts the final version of a
    // provisional one in place; false when none is ready.
    bool publishOne()
    {
        if (!ready.empty()) {
            Ready r = std::move(ready.front());
            ready.pop_front();
            apply(r.page, r.patches);
            if (!resolved(r.patches))
                provisional.push_back({pages->Count(), std::move(r.patches)});
            pages->append(std::move(r.page));
            return true;
        }
        if (!provisional.empty() && resolved(provisional.front().patches)) {
            Held h = std::move(provisional.front());
            provisional.pop_front();
            std::vector<LateText> texts;
            texts.reserve(h.patches.size());
            for (const Patch &p : h.patches)
                texts.push_back({p.op, 0, p.late->text});
            Q_EMIT q->lateTextsKnown(h.index, texts);
            if (!replaceProvisional)
                return true;
            Status status;
            const std::shared_ptr<const Page> shown = pages->page(h.index, &status);
            if (shown) {
                Page page = *shown;
                apply(page, h.patches);
                status = pages->replace(h.index, std::move(page));
            }
            if (!status.ok())
                report_error(status);
            return true;
        }
        if (held.empty() || !resolved(held.front().patches))
            return false;
        Held h = std::move(held.front());
        held.pop_front();
        Status status;
        const std::shared_ptr<const Page> stored = holding->page(h.index, &status);
        if (!stored) {
            report_error(status);
            return true;
        }
        Page page = *stored;
        apply(page, h.patches);
        pages->append(std::move(page));
        return true;
    }

    void start()
    {
        state = State::Running;
        outcome = Status();
        errors.clear();
        reported.clear();
        pagesMade = 0;
        producerDone = false;
        cancelled = cancelRequested = false;
        ready.clear();
        held.clear();
        holding.reset();
        provisional.clear();
        pages->clear();

        shared = std::make_unique<RunShared>();
        shared->run = q;
        shared->scripting = scripting;
        shared->pages = pages;
        shared->parameters = parameters;
        shared->databasePath = databasePath;
        shared->connectionOverride = connectionString;
        shared->allowWrites = q->writesAllowed();
        shared->error = [this](const Status &s) { report_error(s); };
        if (Control *dc = Data::findDataControl(*report)) {
            Status ignored;
            shared->originalConnection = Data::dataSourceOf(*dc, folder, databasePath, &ignored).connectionString;
        }
        scriptingReady = false;
        if (scripting) {
            const Status s = scripting->prepare(report, q);
            if (!s.ok()) {
                stop(s);
                return;
            }
            scriptingReady = true;
        }
        Q_EMIT q->ReportStart();
        producer = std::make_unique<Producer>(*shared, report, folder, 0);
        if (!layoutPath.isEmpty()) {
            const QFileInfo info(layoutPath);
            producer->layoutChain = {info.exists() ? info.canonicalFilePath() : info.absoluteFilePath()};
        }
        const Status s = producer->start();
        if (!s.ok()) {
            stop(s);
            return;
        }
        if (const RunInternal::ReportPlan *plan = producer->plan()) {
            // Margins past the paper leave pages with nothing on them.
            const double height = plan->paper.height() - plan->topMargin - plan->bottomMargin;
            const double width = plan->paper.width() - plan->leftMargin - plan->rightMargin;
            if (height <= 0 || width <= 0) {
                stop(Status::failure(ErrInvalidPropertyValue,
                                     QStringLiteral("The margins leave no room on the page: %1 twips of the paper's %2 across and %3 of its %4 down")
                                         .arg(qMax(width, 0.0)).arg(plan->paper.width()).arg(qMax(height, 0.0)).arg(plan->paper.height()),
                                     report->documentName()));
                return;
            }
        }
        placer = std::make_unique<Placer>(*shared, *producer, *this);
    }

    void endOfData()
    {
        producerDone = true;
        placer->finish();
        shared->pageCount = placer->pageNumber();
        for (auto &late : shared->waitingForEnd) {
            late->needs &= ~LateValue::PageCount;
            if (!late->needs && !late->resolved)
                late->owner->complete(*late);
        }
        shared->waitingForEnd.clear();
        producer->fire(report, QStringLiteral("ReportEnd"));
        Q_EMIT q->ReportEnd();
    }

    void stop(const Status &status)
    {
        if (!status.ok())
            report_error(status);
        outcome = status;
        state = State::Finished;
        if (shared)
            rowsRead = shared->rows;
        timer.stop();
        placer.reset();
        producer.reset();
        shared.reset();
        ready.clear();
        held.clear();
        holding.reset();
        provisional.clear();
        Q_EMIT q->finished(outcome);
    }
};

ReportRun::ReportRun(Report *report, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
    d->report = report;
    d->ownPages = std::make_unique<PageCollection>();
    d->pages = d->ownPages.get();
    d->timer.setInterval(0);
    connect(&d->timer, &QTimer::timeout, this, [this] {
        if (!step())
            d->timer.stop();
    });
}

ReportRun::~ReportRun()
{
    d->timer.stop();
    d->placer.reset();
    d->producer.reset();
}

Report *ReportRun::report() const { return d->report; }
void ReportRun::setReportFolder(const QString &folder) { d->folder = folder; }
void ReportRun::setLayoutPath(const QString &path) { d->layoutPath = path; }
void ReportRun::setDatabasePath(const QString &path) { d->databasePath = path; }
void ReportRun::setConnectionString(const QString &connectionString) { d->connectionString = connectionString; }
void ReportRun::setParameters(const QVariantMap &parameters) { d->parameters = parameters; }
void ReportRun::setScripting(RunScripting *scripting) { d->scripting = scripting; }
void ReportRun::setAllowWrites(bool allow) { d->allowWrites = allow; }
void ReportRun::setErrorDisplay(std::function<void(const Status &)> display) { d->errorDisplay = std::move(display); }
bool ReportRun::writesAllowed() const { return d->allowWrites && d->report && d->report->allowWrites(); }
void ReportRun::setProvisionalPages(bool provisional) { d->provisionalPages = provisional; }
bool ReportRun::provisionalPages() const { return d->provisionalPages; }
void ReportRun::setReplaceProvisionalPages(bool replace) { d->replaceProvisional = replace; }

std::vector<LateText> ReportRun::lateTexts(int index) const
{
    std::vector<LateText> out;
    const auto &waiting = d->provisional;
    const auto it = std::lower_bound(waiting.begin(), waiting.end(), index,
                                     [](const Private::Held &h, int i) { return h.index < i; });
    if (it == waiting.end() || it->index != index)
        return out;
    for (const Patch &p : it->patches) {
        const LateValue &late = *p.late;
        if (late.resolved)
            continue;
        // Only the page count still to come, and nothing else read: the
        // same text wherever the control lands.
        const ControlPlan *c = late.plan;
        const bool same = late.needs == LateValue::PageCount
                          && (c->pageValue == ControlPlan::PageCountValue
                              || (late.evaluate && !c->value.readsPageNumber && late.snapshot.empty()));
        out.push_back({p.op, same ? quint64(quintptr(c)) : 0, QString()});
    }
    return out;
}
void ReportRun::setPages(PageCollection *pages) { d->pages = pages ? pages : d->ownPages.get(); }
PageCollection *ReportRun::Pages() const { return d->pages; }

Status ReportRun::Run(bool async)
{
    if (d->state == Private::State::Running)
        return Status::failure(ErrInvalidCall, QStringLiteral("The report is already running"));
    if (!d->report)
        return Status::failure(ErrInvalidCall, QStringLiteral("There is no report to run"));
    d->state = Private::State::Idle;
    if (async) {
        d->timer.start();
        return {};
    }
    while (step()) {
    }
    return d->outcome;
}

void ReportRun::Cancel()
{
    // Not started yet: it ends here, with no pages.
    if (d->state == Private::State::Idle && d->timer.isActive()) {
        d->timer.stop();
        d->cancelled = true;
        d->state = Private::State::Finished;
        Q_EMIT finished(Status());
        return;
    }
    if (d->state == Private::State::Running || d->timer.isActive())
        d->cancelRequested = true;
}

bool ReportRun::step()
{
    if (d->state == Private::State::Finished)
        return false;
    if (d->state == Private::State::Idle) {
        d->start();
        return d->state == Private::State::Running;
    }
    while (!d->publishable() && !d->producerDone && !d->cancelRequested) {
        if (!d->producer->advance(*d->placer))
            d->endOfData();
        if (d->scripting) {
            if (const Status spent = d->scripting->budgetSpent(); !spent.ok()) {
                d->stop(spent);
                return false;
            }
        }
        if (d->placer && d->placer->stuck()) {
            d->stop(Status::failure(ErrInvalidCall,
                                    QStringLiteral("The page header and footer leave no room for the report's bands"),
                                    d->report->documentName()));
            return false;
        }
    }
    if (d->cancelRequested) {
        d->cancelled = true;
        d->stop(Status());
        return false;
    }
    if (d->publishOne()) {
        Q_EMIT progress(d->shared->rows, d->pages->Count());
        return true;
    }
    if (d->producerDone) {
        d->stop(Status());
        return false;
    }
    return true;
}

bool ReportRun::isRunning() const { return d->state == Private::State::Running || d->timer.isActive(); }
bool ReportRun::isFinished() const { return d->state == Private::State::Finished; }
bool ReportRun::wasCancelled() const { return d->cancelled; }
Status ReportRun::status() const { return d->outcome; }
QList<Status> ReportRun::errors() const { return d->errors; }
int ReportRun::pageNumber() const { return d->shared ? d->shared->currentPage : d->pagesMade; }
int ReportRun::pageCount() const { return d->pagesMade; }
qint64 ReportRun::rowCount() const { return d->shared ? d->shared->rows : d->rowsRead; }

} // namespace Orv
