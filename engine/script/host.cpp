#include "engine/script/host.h"

#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/bridge.h"
#include "engine/script/interp.h"
#include "engine/script/scriptobjects.h"

#include <QRegularExpression>

namespace Orv::Script {

Status Error::toStatus() const
{
    return Status::failure(number, description, QStringLiteral("line %1, column %2").arg(line).arg(column));
}

namespace {

struct Source
{
    QString owner; // "" for the global module
    QString text;
};

struct NamedObject
{
    QString name;
    Variant value;
};

class HostExpression;

} // namespace

struct Host::Private
{
    std::unique_ptr<Runtime> rt = std::make_unique<Runtime>();
    std::vector<Source> sources;
    std::vector<NamedObject> objects;
    QHash<QString, size_t> objectIndex; // case-folded name -> objects: reports may hold 100,000 controls
    std::shared_ptr<BridgeContext> context = std::make_shared<BridgeContext>();
    bool compiled = false;
    qint64 budget = DefaultStepBudget;
    qint64 runBudget = DefaultRunStepBudget;
    qint64 memoryBudget = DefaultRunMemoryBudget;
    int maxDepth = 1000;
    std::atomic_bool *cancel = nullptr;
    std::function<void(const Error &)> onError;
    Dialogs *dialogs = nullptr;
    Error lastError;
    mutable QHash<QString, std::vector<Procedure *>> handlers;
    QHash<QString, QString> sourceLines; // not used for lookup; keeps texts alive
    bool running = false;

    void configure()
    {
        rt->stepBudget = budget;
        rt->runStepBudget = runBudget;
        rt->memoryBudget = memoryBudget;
        rt->startRun();
        rt->maxDepth = maxDepth;
        rt->cancel = cancel;
        rt->hooks.messageBox = [this](const QString &prompt, int buttons, const QString &title) {
            return dialogs ? dialogs->messageBox(prompt, buttons, title) : 1;
        };
        rt->hooks.inputBox = [this](const QString &prompt, const QString &title, const QString &def) -> std::optional<QString> {
            if (!dialogs)
                return std::nullopt;
            return dialogs->inputBox(prompt, title, def);
        };
        std::shared_ptr<BridgeContext> ctx = context;
        rt->hooks.createObject = [ctx](Runtime &r, const QString &progId) { return createObject(r, progId, ctx); };
    }

    Status fail(const ScriptError &e, const QString &fallbackText)
    {
        Error err;
        err.number = e.number;
        err.description = e.description;
        err.line = e.line;
        err.column = e.column;
        err.source = !e.source.isEmpty() ? e.source
                     : (e.number >= 1000 && e.number < 1100) ? QStringLiteral("Microsoft VBScript compilation error")
                                                              : QStringLiteral("Microsoft VBScript runtime error");
        QString text = fallbackText;
        for (const auto &m : rt->modules)
            if (m.get() == e.module)
                text = m->text;
        const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
        if (e.line >= 1 && e.line <= lines.size())
            err.code = lines[e.line - 1];
        lastError = err;
        if (onError)
            onError(err);
        return err.toStatus();
    }

    // Runs f with the runtime made current, a fresh step count and the
    // stack measured from here; script errors become a status.
    template<typename F>
    Status guarded(const QString &fallbackText, F &&f)
    {
        if (running && rt->depth > 0) {
            // Re-entered from a script (an event fired by a script's call):
            // share the running state.
            try {
                f();
                return Status();
            } catch (const ScriptError &e) {
                return fail(e, fallbackText);
            }
        }
        Runtime *previous = Runtime::current();
        Runtime::setCurrent(rt.get());
        const bool wasRunning = running;
        running = true;
        char base = 0;
        rt->stackBase = &base;
        rt->steps = 0;
        rt->depth = 0;
        Status status;
        try {
            f();
        } catch (const ScriptError &e) {
            status = fail(e, fallbackText);
        } catch (const std::bad_alloc &) {
            status = fail(scriptError(ErrOutOfMemory, errorDescription(7), 0, 0), fallbackText);
        }
        running = wasRunning;
        Runtime::setCurrent(previous);
        return status;
    }

    Variant *namedValue(const QString &name)
    {
        const auto it = objectIndex.constFind(name.toCaseFolded());
        return it == objectIndex.cend() ? nullptr : &objects[it.value()].value;
    }

    void setObject(const QString &name, Variant value)
    {
        if (Variant *v = namedValue(name))
            *v = value;
        else {
            objectIndex.insert(name.toCaseFolded(), objects.size());
            objects.push_back({name, value});
        }
        handlers.clear();
        if (compiled) {
            const int slot = rt->addGlobal(name);
            rt->globals[size_t(slot)] = value;
            rt->globalConstants.insert(name.toLower(), true);
        }
    }

    std::vector<Procedure *> findHandlers(const QString &objectName, const QString &event) const;
};

namespace {

class HostExpression : public Expression
{
public:
    HostExpression(Host::Private *d, ExprPtr expr, QString text) : m_d(d), m_expr(std::move(expr)), m_text(std::move(text)) {}

    Variant evaluateVariant(Status *status) override
    {
        Variant result;
        Runtime &rt = *m_d->rt;
        Frame frame{rt, nullptr, nullptr, false};
        if (m_d->running) {
            try {
                result = m_expr->eval(frame);
            } catch (const ScriptError &e) {
                ScriptError located = e;
                if (!located.line) {
                    located.line = m_expr->line;
                    located.column = m_expr->column;
                }
                const Status s = m_d->fail(located, m_text);
                if (status)
                    *status = s;
            }
            return result;
        }
        const Status s = m_d->guarded(m_text, [&] {
            try {
                result = m_expr->eval(frame);
            } catch (ScriptError &e) {
                if (!e.line) {
                    e.line = m_expr->line;
                    e.column = m_expr->column;
                }
                throw;
            }
        });
        if (status)
            *status = s;
        return result;
    }

    QVariant evaluate(Status *status) override
    {
        Status s;
        const Variant v = evaluateVariant(&s);
        if (status)
            *status = s;
        if (!s.ok())
            return QVariant();
        Runtime::setCurrent(m_d->rt.get());
        return v.toQVariant();
    }

private:
    Host::Private *m_d;
    ExprPtr m_expr;
    QString m_text;
};

} // namespace

Host::Host()
    : d(std::make_unique<Private>())
{
    d->configure();
}

Host::~Host()
{
    // Objects may refer back to the runtime; release them first.
    if (d->rt)
        d->rt->globals.clear();
}

Runtime &Host::runtime() { return *d->rt; }

void Host::reset()
{
    d->rt->globals.clear();
    d->rt = std::make_unique<Runtime>();
    d->configure();
    d->sources.clear();
    d->objects.clear();
    d->objectIndex.clear();
    d->handlers.clear();
    d->compiled = false;
    d->context->report = nullptr;
    d->context->row = nullptr;
    d->lastError = Error();
}

void Host::addObject(const QString &name, QObject *object)
{
    d->setObject(name, bridge(object, d->context));
}

void Host::addObject(const QString &name, std::shared_ptr<Object> object)
{
    d->setObject(name, Variant(std::move(object)));
}

void Host::addCode(const QString &text)
{
    d->sources.push_back({QString(), text});
    d->compiled = false;
}

void Host::addObjectCode(const QString &objectName, const QString &text)
{
    d->sources.push_back({objectName, text});
    d->compiled = false;
}

void Host::bindReport(Report *report, FieldResolver *row)
{
    d->context->report = report;
    d->context->row = row;
    if (!report)
        return;
    d->rt->startRun();
    const Variant rpt = bridge(report, d->context);
    d->setObject(QStringLiteral("rpt"), rpt);
    // Me of the report module in Access code pasted into the script.
    d->setObject(QStringLiteral("Me"), rpt);
    for (Section *s : *report->sections()) {
        if (!s->name().isEmpty() && !d->namedValue(s->name()))
            d->setObject(s->name(), bridge(s, d->context));
        for (Control *c : *s->controls())
            if (!c->name().isEmpty() && !d->namedValue(c->name()))
                d->setObject(c->name(), bridge(c, d->context));
        if (!s->script().trimmed().isEmpty())
            addObjectCode(s->name(), s->script());
    }
    if (!report->script().trimmed().isEmpty())
        addCode(report->script());
    if (row)
        d->setObject(QStringLiteral("Pages"), pagesObject(d->context));
}

Report *Host::boundReport() const { return d->context->report; }

bool Host::isCompiled() const { return d->compiled; }

Status Host::compile()
{
    const Status status = check();
    if (!status.ok())
        return status;
    Runtime &rt = *d->rt;
    for (auto &module : rt.modules) {
        const Status s = d->guarded(module->text, [&] {
            Frame frame{rt, nullptr, nullptr, false, module.get()};
            execBlock(frame, module->body);
        });
        if (!s.ok())
            return s;
    }
    return Status();
}

Status Host::check()
{
    if (d->running)
        return Status::failure(ErrInvalidCall, QStringLiteral("Scripts cannot be compiled while a script runs"));
    d->rt->globals.clear();
    d->rt = std::make_unique<Runtime>();
    d->configure();
    d->handlers.clear();
    d->compiled = false;
    Runtime &rt = *d->rt;
    // Named objects and Err first: code may use them anywhere.
    for (const NamedObject &o : d->objects) {
        const int slot = rt.addGlobal(o.name);
        rt.globals[size_t(slot)] = o.value;
        rt.globalConstants.insert(o.name.toLower(), true);
    }
    const int errSlot = rt.addGlobal(QStringLiteral("Err"));
    rt.globals[size_t(errSlot)] = Variant(std::shared_ptr<Object>(rt.err));
    rt.globalConstants.insert(QStringLiteral("err"), true);

    for (const Source &src : d->sources) {
        auto module = std::make_unique<Module>();
        module->owner = src.owner;
        try {
            module->text = src.text;
            parseModule(src.text, *module);
        } catch (const ScriptError &e) {
            return d->fail(e, src.text);
        }
        for (auto &p : module->procedures) {
            if (src.owner.isEmpty())
                rt.procedures.insert(procedureKey(*p), p.get());
            else
                module->ownProcedures.insert(procedureKey(*p), p.get());
        }
        for (const QString &name : module->declared)
            rt.addGlobal(name);
        for (const QString &name : module->constants)
            rt.globalConstants.insert(name.toLower(), true);
        rt.modules.push_back(std::move(module));
    }
    for (auto &module : rt.modules) {
        try {
            Binder top(rt, module.get(), nullptr);
            bindBlock(top, module->body);
            for (auto &p : module->procedures) {
                // Defaults of Optional parameters are constant expressions.
                for (Param &param : p->params)
                    bindExpr(top, param.defaultValue);
                Binder b(rt, module.get(), p.get());
                bindBlock(b, p->body);
            }
        } catch (ScriptError e) {
            e.module = module.get();
            return d->fail(e, module->text);
        }
    }
    d->compiled = true;
    return Status();
}

bool Host::hasProcedure(const QString &name) const
{
    return d->compiled && d->rt->procedures.contains(name.toLower());
}

namespace {

// Calls proc with QVariant arguments, filling parameters left out (the
// Cancel and count arguments of Access event procedures) and writing
// ByRef values back.
void callWith(Runtime &rt, Procedure *proc, QVariantList &args, Variant *result, bool *cancel, bool eventStyle)
{
    // Ordinary calls pass what they have (Optional parameters take their
    // defaults); events fill every parameter.
    const size_t n = eventStyle ? proc->params.size() : size_t(args.size());
    if (!eventStyle && (n > proc->params.size() || int(n) < proc->requiredCount))
        raise(ErrWrongArguments, QStringLiteral("Wrong number of arguments or invalid property assignment: '%1'").arg(proc->name));
    std::vector<Variant> values(n);
    std::vector<Variant *> ptrs(n);
    for (size_t i = 0; i < n; ++i) {
        if (i < size_t(args.size()))
            values[i] = Variant::fromQVariant(args[qsizetype(i)]);
        else
            values[i] = i == 0 ? Variant(false) : Variant::integer(1); // Cancel, then a count
        ptrs[i] = &values[i];
    }
    Variant r = rt.call(proc, ptrs.data(), int(n));
    for (size_t i = 0; i < n && i < size_t(args.size()); ++i)
        if (!proc->params[i].byVal)
            args[qsizetype(i)] = values[i].toQVariant();
    if (cancel && eventStyle && n > 0 && args.isEmpty()) {
        const Variant c = valueOf(values[0]);
        if (!c.isNull() && !c.isString() && c.toBool())
            *cancel = true;
    }
    if (result)
        *result = std::move(r);
}

} // namespace

Status Host::call(const QString &name, QVariantList &args, QVariant *result)
{
    if (!d->compiled)
        return Status::failure(ErrInvalidCall, QStringLiteral("The script is not compiled"));
    Procedure *proc = d->rt->procedures.value(name.toLower());
    if (!proc)
        return Status::failure(ErrProcedureNotDefined, QStringLiteral("Sub or Function not defined: '%1'").arg(name));
    Variant r;
    const Status s = d->guarded(QString(), [&] { callWith(*d->rt, proc, args, &r, nullptr, false); });
    if (result)
        *result = s.ok() ? r.toQVariant() : QVariant();
    return s;
}

Status Host::call(const QString &name, QVariant *result)
{
    QVariantList none;
    return call(name, none, result);
}

std::vector<Procedure *> Host::Private::findHandlers(const QString &objectName, const QString &event) const
{
    const QString key = objectName.toLower() + QLatin1Char('\x01') + event.toLower();
    const auto it = handlers.find(key);
    if (it != handlers.end())
        return it.value();
    std::vector<Procedure *> out;
    if (!compiled)
        return out;
    const auto add = [&](Procedure *p) {
        if (p && std::find(out.begin(), out.end(), p) == out.end())
            out.push_back(p);
    };
    const auto global = [&](const QString &name) { add(rt->procedures.value(name.toLower())); };
    QStringList events = {event};
    // Access names of the same events, as converted reports carry them.
    if (event.compare(QLatin1String("BeforePrint"), Qt::CaseInsensitive) == 0)
        events << QStringLiteral("Print");
    QStringList names = {objectName};
    if (objectName.endsWith(QLatin1String("_Ctl"), Qt::CaseInsensitive))
        names << objectName.left(objectName.size() - 4);
    const bool isReport = objectName.compare(Host::reportObjectName(), Qt::CaseInsensitive) == 0;
    for (const QString &n : names)
        for (const QString &e : events)
            global(n + QLatin1Char('_') + e);
    if (isReport) {
        // Besides Report_<Event>: On<Event> of the global code (the
        // importer's subreport code) and Access's report events, whose
        // Report_ prefix the importer removes.
        global(QStringLiteral("On") + event);
        static const QHash<QString, QStringList> access = {
            {QStringLiteral("reportstart"), {QStringLiteral("Open"), QStringLiteral("Activate")}},
            {QStringLiteral("reportend"), {QStringLiteral("Close"), QStringLiteral("Deactivate")}},
            {QStringLiteral("nodata"), {QStringLiteral("NoData")}},
            {QStringLiteral("pageend"), {QStringLiteral("Page")}},
        };
        for (const QString &name : access.value(event.toLower())) {
            global(name);
            global(QStringLiteral("Report_") + name); // code converted without stripping
        }
    }
    for (const auto &m : rt->modules) {
        if (m->owner.isEmpty() || m->owner.compare(objectName, Qt::CaseInsensitive) != 0)
            continue;
        for (const QString &e : events)
            add(m->ownProcedures.value(QStringLiteral("on") + e.toLower()));
    }
    handlers.insert(key, out);
    return out;
}

bool Host::hasHandler(const QString &objectName, const QString &event) const
{
    return !d->findHandlers(objectName, event).empty();
}

Status Host::fireEvent(const QString &objectName, const QString &event, QVariantList &args, bool *cancel)
{
    const std::vector<Procedure *> procs = d->findHandlers(objectName, event);
    for (Procedure *p : procs) {
        const Status s = d->guarded(QString(), [&] { callWith(*d->rt, p, args, nullptr, cancel, true); });
        if (!s.ok())
            return s;
    }
    return Status();
}

Status Host::fireEvent(const QString &objectName, const QString &event)
{
    QVariantList none;
    return fireEvent(objectName, event, none);
}

static QString objectNameOf(QObject *object, Report *report)
{
    if (!object)
        return QString();
    if (object == report || qobject_cast<Report *>(object))
        return Host::reportObjectName();
    if (auto *s = qobject_cast<Section *>(object))
        return s->name();
    if (auto *c = qobject_cast<Control *>(object))
        return c->name();
    return object->objectName();
}

bool Host::hasHandler(QObject *object, const QString &event) const
{
    return hasHandler(objectNameOf(object, d->context->report), event);
}

Status Host::fireEvent(QObject *object, const QString &event, QVariantList &args, bool *cancel)
{
    return fireEvent(objectNameOf(object, d->context->report), event, args, cancel);
}

std::unique_ptr<Expression> Host::compileExpression(const QString &text, FieldResolver *resolver, Status *status)
{
    ExprPtr e;
    try {
        e = parseExpression(text);
        Binder b(*d->rt, nullptr, nullptr, resolver);
        bindExpr(b, e);
    } catch (const ScriptError &err) {
        const Status s = d->fail(err, text);
        if (status)
            *status = s;
        return nullptr;
    }
    if (status)
        *status = Status();
    return std::make_unique<HostExpression>(d.get(), std::move(e), text);
}

QString Host::runBudgetSpent() const { return d->rt->runBudgetSpent; }

void Host::setRunBudget(qint64 steps, qint64 memoryBytes)
{
    d->runBudget = steps;
    d->memoryBudget = memoryBytes;
    d->rt->runStepBudget = steps;
    d->rt->memoryBudget = memoryBytes;
}

void Host::setStepBudget(qint64 steps)
{
    d->budget = steps;
    d->rt->stepBudget = steps;
}

void Host::setMaxDepth(int depth)
{
    d->maxDepth = depth;
    d->rt->maxDepth = depth;
}

void Host::setCancelFlag(std::atomic_bool *flag)
{
    d->cancel = flag;
    d->rt->cancel = flag;
}

void Host::setErrorHandler(std::function<void(const Error &)> handler) { d->onError = std::move(handler); }
void Host::setDialogs(Dialogs *dialogs) { d->dialogs = dialogs; }
void Host::setReportFolder(const QString &folder) { d->context->reportFolder = folder; }
void Host::setAllowWrites(bool allow) { d->context->allowWrites = allow; }
QString Host::reportFolder() const { return d->context->reportFolder; }
Error Host::lastError() const { return d->lastError; }

} // namespace Orv::Script
