#pragma once
// What a report run needs of a script host. The run works without one:
// events then do nothing, and data fields that are plain references
// ("=[Field]", "=Field") still work. The script host implements this
// interface and is attached with ReportRun::setScripting.
#include "engine/core/status.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

class QObject;

namespace Orv {

class Report;
class ReportRun;

// The values an expression may read while a run goes on. A name is mapped
// to a slot once, when the expression is compiled; the value of a slot is
// read for every row. Names are, in this order: the recordset's fields,
// the run's parameters, the report's field controls (their current value,
// summaries included), and "PageNumber" and "PageCount".
class RowAccess
{
public:
    virtual ~RowAccess() = default;
    // -1 when nothing of that name exists (names compare without case).
    virtual int slotOf(const QString &name) = 0;
    virtual QVariant value(int slot) const = 0;
};

// An expression compiled once per run and evaluated for many rows.
class RunExpression
{
public:
    virtual ~RunExpression() = default;
    virtual QVariant evaluate(Status *status) = 0;
};

class RunScripting
{
public:
    virtual ~RunScripting() = default;

    // Called once when the run starts, before any event: compile the
    // report's script and bind its objects.
    virtual Status prepare(Report *report, ReportRun *run) = 0;

    // Events: object is the report for "ReportStart", "ReportEnd",
    // "DataInitialize", "FetchData" (args: eof, by reference), "NoData",
    // "PageStart" and "PageEnd"; a section for "Format" and "BeforePrint".
    // A handler may change args in place; *cancel set to true skips the
    // band ("Format") or stops the data ("FetchData").
    virtual bool hasHandler(QObject *object, const QString &event) const = 0;
    virtual Status fire(QObject *object, const QString &event, QVariantList &args, bool *cancel) = 0;

    // Compiles text (without its leading "="); null with *status set when
    // it does not compile. The expression keeps row for its evaluations.
    virtual std::unique_ptr<RunExpression> compileExpression(const QString &text, RowAccess &row,
                                                             Status *status) = 0;

    // The error that spent the whole run's script budget (steps or memory),
    // once it has happened; the run stops with it.
    virtual Status budgetSpent() const { return Status(); }
};

} // namespace Orv
