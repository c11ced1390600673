#pragma once
// Running a report: rows stream from the report's data control, bands are
// laid out and placed on pages, and pages arrive one at a time in the
// page collection while the run goes on. The run is a state machine:
// step() makes at most one page and returns, so a viewer can show page 1
// while later pages are made and Cancel takes effect within one page.
// Run(true) drives the steps from the event loop; Run(false) runs them to
// the end at once. Everything happens on the calling thread.
//
// The run works on the report it is given (scripts may change it while it
// runs): hand it a copy of a design that must stay as it is.
#include "engine/core/status.h"
#include "engine/pages/page.h"

#include <QObject>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

namespace Orv {

class PageCollection;
class Report;
class RunScripting;

class ReportRun : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int PageNumber READ pageNumber)
    Q_PROPERTY(int PageCount READ pageCount)
    Q_PROPERTY(bool Running READ isRunning)

public:
    explicit ReportRun(Report *report, QObject *parent = nullptr);
    ~ReportRun() override;

    Report *report() const;

    // Settings, read when the run starts.
    // The folder relative data sources and subreport layouts are found in.
    void setReportFolder(const QString &folder);
    // The file the report was loaded from, when there is one: a subreport
    // naming it is stopped at once (error 28) instead of nesting.
    void setLayoutPath(const QString &path);
    // What "$fulldbpath$" in a connection string stands for.
    void setDatabasePath(const QString &path);
    // Replaces the data control's connection string (and that of
    // subreports that use the same one).
    void setConnectionString(const QString &connectionString);
    // Values for ":name" in data statements and for names in expressions.
    void setParameters(const QVariantMap &parameters);
    // The script host; without one, events do nothing.
    void setScripting(RunScripting *scripting);
    // Confirms a layout's AllowWrites: only with both may the run's
    // statements and script connections change data. Off by default.
    void setAllowWrites(bool allow);
    // Whether this run's connections may write.
    bool writesAllowed() const;
    // The engine's own display of an error nobody cancelled the display
    // of (see Error); without one such errors are only kept in errors().
    void setErrorDisplay(std::function<void(const Status &)> display);
    // Pages that show values known only later (the page count, a total
    // above its group) are held until those are known, by default. With
    // provisional pages they go into Pages() at once with those texts
    // blank, and are put in place again (PageCollection::pageChanged) when
    // final: for viewers. Exporters keep the default and get final pages.
    void setProvisionalPages(bool provisional);
    bool provisionalPages() const;
    // The texts of provisional page index (in Pages()) still waiting for
    // their values; empty once the page is final.
    std::vector<LateText> lateTexts(int index) const;
    // With provisional pages: whether a page is put in place again in
    // Pages() when its late texts are known (the default), or only
    // announced with lateTextsKnown, for a writer that has the page
    // already (PDF written during the run); Pages() then keeps the
    // provisional versions.
    void setReplaceProvisionalPages(bool replace);
    // Pages go into this collection (the run's own one otherwise).
    void setPages(PageCollection *pages);

    PageCollection *Pages() const;

    // Starts the run. With async the steps run from the event loop and
    // this returns at once; otherwise it returns when the run has ended,
    // with its outcome.
    Q_INVOKABLE Orv::Status Run(bool async = false);
    // Stops the run after the page being made; the pages made stay.
    Q_INVOKABLE void Cancel();
    // One step: at most one page. False when the run has ended.
    bool step();

    bool isRunning() const;
    bool isFinished() const;
    bool wasCancelled() const;
    // The outcome once finished: ok, or the error that stopped the run.
    Status status() const;
    // Errors reported while running (each once), the stopping one included.
    QList<Status> errors() const;

    int pageNumber() const; // the page being made, 1-based
    int pageCount() const;  // pages made so far
    qint64 rowCount() const; // rows read so far

Q_SIGNALS:
    void ReportStart();
    // A page was made (0-based). It reaches Pages() once every value on it
    // is known (pages that show the page count arrive at the end), or at
    // once with provisional pages.
    void PageEnd(int index);
    // The late texts of provisional page index are known: each late text
    // of the page by its op, with its text.
    void lateTextsKnown(int index, const std::vector<Orv::LateText> &texts);
    void ReportEnd();
    // An error while running, each once: its number, description, the
    // error's code (0x800A0000 with the number for run-time errors), the
    // source, a help file and context (none here), and the cancel-display
    // flag. The report script's Report_Error runs
    // first and may set the flag; a listener that sets *cancelDisplay to
    // true keeps the engine from showing the error itself.
    void Error(int number, const QString &description, int code, const QString &source, const QString &helpFile,
               int helpContext, bool *cancelDisplay);
    void progress(qint64 rows, int pages);
    void finished(const Orv::Status &status);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Orv
