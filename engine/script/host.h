#pragma once
// The script host of a report: the code added with AddScriptCode, the
// objects added with AddScriptObject, event procedures and data-field
// expressions. Errors come back as values (Status and Script::Error),
// never as exceptions.
#include "engine/core/status.h"
#include "engine/script/fieldresolver.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace Orv {
class Report;
}

namespace Orv::Script {

class Object;
class Runtime;
class Variant;

// A compile or run-time error of a script: Visual Basic's number and
// description, and where it happened (1-based line and column of the
// code it was added with; 0 when unknown).
struct Error
{
    int number = 0;
    QString description;
    int line = 0;
    int column = 0;
    QString source; // "Microsoft VBScript compilation error", Err.Source, ...
    QString code;   // the text of the line

    // Source of the status: "line L, column C".
    Status toStatus() const;
};

// Message and input boxes for MsgBox and InputBox; the program adapts its
// UI seam to this, tests answer directly.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // buttons as MsgBox takes them (vbYesNo + vbQuestion ...); returns
    // vbOK, vbCancel, vbYes ...
    virtual int messageBox(const QString &prompt, int buttons, const QString &title) = 0;
    // Nothing when cancelled.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
};

// An expression compiled once and evaluated for many rows. It reads the
// resolver it was compiled with and the host's script; it must not
// outlive the host.
class Expression
{
public:
    virtual ~Expression() = default;
    virtual QVariant evaluate(Status *status = nullptr) = 0;
    // The value without conversion to QVariant (the run's fast path).
    virtual Variant evaluateVariant(Status *status = nullptr) = 0;
};

class Host
{
public:
    // The name under which the report's events are looked up: the global
    // procedures Report_<Event> (Report_ReportStart), as in Access modules.
    static QString reportObjectName() { return QStringLiteral("Report"); }

    Host();
    ~Host();
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    // ResetScripts: forgets code, objects and state.
    void reset();
    // AddScriptObject: the object is reachable by name from then on.
    void addObject(const QString &name, QObject *object);
    void addObject(const QString &name, std::shared_ptr<Object> object);
    // AddScriptCode: code of the global module. Runs at the next compile.
    void addCode(const QString &text);
    // Code whose "On" + event procedures handle an object's events (a
    // section's script with Sub OnFormat).
    void addObjectCode(const QString &objectName, const QString &text);

    // Binds a report: "rpt" and "Me" name it, its sections and
    // controls are reachable by name, each section's script handles that
    // section's events and the report's script is added. row gives the
    // run's current values to rpt.Fields, rpt.PageNumber and field
    // controls' DataValue; it may be null outside a run.
    void bindReport(Report *report, FieldResolver *row = nullptr);
    Report *boundReport() const;

    // Parses and resolves every piece of code added, then runs the module
    // level statements in the order added.
    Status compile();
    bool isCompiled() const;
    // Parses and resolves the code as compile does, without running any of
    // it: the checks made at design time (script editor, expression builder).
    Status check();

    bool hasProcedure(const QString &name) const;
    // Calls a global procedure; ByRef arguments are written back to args.
    Status call(const QString &name, QVariantList &args, QVariant *result = nullptr);
    Status call(const QString &name, QVariant *result = nullptr);

    // Events: the procedures objectName_event (and the importer's names
    // for the same event, see docs/scripting.md) and, in the object's own
    // code, On + event. args are passed in order and written back;
    // *cancel becomes true when a handler sets its Cancel argument.
    bool hasHandler(const QString &objectName, const QString &event) const;
    Status fireEvent(const QString &objectName, const QString &event, QVariantList &args, bool *cancel = nullptr);
    Status fireEvent(const QString &objectName, const QString &event);
    // The same for the bound report or one of its sections.
    bool hasHandler(QObject *object, const QString &event) const;
    Status fireEvent(QObject *object, const QString &event, QVariantList &args, bool *cancel = nullptr);

    // A data-field expression (without its leading "="). Names in brackets
    // and bare names the resolver knows read the current row; everything
    // else is the script's. Null with *status set when it does not compile.
    std::unique_ptr<Expression> compileExpression(const QString &text, FieldResolver *resolver, Status *status);

    // Limits: steps per entry (compile, call, event, evaluation; 0 for no
    // limit), nesting of procedure calls, and a flag that stops the script.
    void setStepBudget(qint64 steps);
    // The whole run's limits (from bindReport on, over every entry): steps,
    // and bytes the scripts' values may grow the process by. 0 for none.
    void setRunBudget(qint64 steps, qint64 memoryBytes);
    // The description of the run budget's error once it is spent, else empty.
    QString runBudgetSpent() const;
    void setMaxDepth(int depth);
    void setCancelFlag(std::atomic_bool *flag);

    // Every error also reaches this callback (the run forwards it to the
    // report's Error event).
    void setErrorHandler(std::function<void(const Error &)> handler);
    void setDialogs(Dialogs *dialogs);
    // The folder relative layout paths are found in (LoadLayout).
    void setReportFolder(const QString &folder);
    // ADODB connections the scripts open only read unless this is set.
    void setAllowWrites(bool allow);
    QString reportFolder() const;

    Error lastError() const;

    // Internal: the runtime (for the objects of this library).
    Runtime &runtime();
    struct Private;

private:
    std::unique_ptr<Private> d;
};

// The default steps per entry, and of a whole run with the memory its
// values may take: far beyond any honest report, short of hours and swap.
constexpr qint64 DefaultStepBudget = 100'000'000;
constexpr qint64 DefaultRunStepBudget = 5'000'000'000;
constexpr qint64 DefaultRunMemoryBudget = qint64(1) << 30;

} // namespace Orv::Script
