// Evaluation of the syntax tree, name binding and procedure calls.
#include "engine/script/interp.h"

#include "engine/script/fieldresolver.h"

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace Orv::Script {

namespace {

thread_local Runtime *t_current = nullptr;

bool truth(const Variant &v0)
{
    const Variant v = valueOf(v0);
    if (v.isNull())
        return false;
    return v.toBool();
}

// Arguments evaluated onto the C++ stack for the common small counts;
// only as many values as needed are constructed.
struct ArgValues
{
    explicit ArgValues(size_t n)
        : count(n)
    {
        if (n > Inline) {
            heap.resize(n);
            values = heap.data();
        } else {
            values = reinterpret_cast<Variant *>(storage);
            for (size_t i = 0; i < n; ++i)
                new (values + i) Variant();
        }
    }
    ~ArgValues()
    {
        if (heap.empty())
            for (size_t i = 0; i < count; ++i)
                values[i].~Variant();
    }
    ArgValues(const ArgValues &) = delete;
    ArgValues &operator=(const ArgValues &) = delete;
    Variant *data() { return values; }
    static constexpr size_t Inline = 6;
    size_t count;
    Variant *values;
    alignas(Variant) unsigned char storage[Inline * sizeof(Variant)];
    std::vector<Variant> heap;
};

void evalArgs(Frame &f, ExprList &args, Variant *out)
{
    for (size_t i = 0; i < args.size(); ++i)
        out[i] = args[i]->eval(f);
}

Variant letValue(const Variant &value)
{
    if (value.isObject())
        return valueOf(value);
    if (value.isArray())
        return value.deepCopy();
    return value;
}

void storeInto(Variant &slot, const Variant &value, bool isSet)
{
    if (isSet) {
        if (!value.isObject())
            raise(ErrObjectRequired);
        slot = value;
    } else {
        slot = letValue(value);
    }
}

Variant indexValue(Runtime &rt, Variant &holder, Variant *args, int count)
{
    if (Array *a = holder.array())
        return a->at(args, count);
    if (holder.isObject()) {
        if (!holder.object())
            raise(ErrObjectNotSet);
        auto keep = holder.object();
        return keep->invoke(rt, DefaultMember, Invoke::Get, args, count);
    }
    raise(ErrTypeMismatch);
}

void indexAssign(Runtime &rt, Variant &holder, Variant *args, int count, const Variant &value, bool isSet)
{
    if (Array *a = holder.array()) {
        storeInto(a->at(args, count), value, isSet);
        return;
    }
    if (holder.isObject()) {
        if (!holder.object())
            raise(ErrObjectNotSet);
        auto keep = holder.object();
        std::vector<Variant> all(args, args + count);
        all.push_back(isSet ? value : letValue(value));
        keep->invoke(rt, DefaultMember, isSet ? Invoke::PutRef : Invoke::Put, all.data(), int(all.size()));
        return;
    }
    raise(ErrTypeMismatch);
}

} // namespace

Variant valueOf(const Variant &v)
{
    if (!v.isObject())
        return v;
    Variant cur = v;
    for (int i = 0; i < 8 && cur.isObject(); ++i) {
        const std::shared_ptr<Object> o = cur.object();
        if (!o)
            raise(ErrObjectNotSet);
        Runtime *rt = Runtime::current();
        if (!rt)
            raise(ErrNoSuchMember);
        cur = o->invoke(*rt, DefaultMember, Invoke::Get, nullptr, 0);
    }
    if (cur.isObject())
        raise(ErrNoSuchMember);
    return cur;
}

Runtime *Runtime::current() { return t_current; }
void Runtime::setCurrent(Runtime *rt) { t_current = rt; }

void Expr::assign(Frame &, const Variant &, bool)
{
    raise(501);
}

void bindExpr(Binder &b, ExprPtr &e)
{
    if (e)
        e->bind(b, e);
}

void bindBlock(Binder &b, Block &block)
{
    for (auto &s : block)
        s->bind(b);
}

namespace {

// An error caught by an On Error GoTo handler: the handler runs from its
// label (at the procedure's top level) with the error in Err. Its end
// (Resume, Exit, End Sub) says how the failed block goes on.
Flow runHandler(Frame &f, const ScriptError &e)
{
    f.rt.err->set(e);
    f.inHandler = true;
    Label *h = f.handler;
    const Flow flow = execBlock(f, *h->owner, h->index + 1);
    if (flow == Flow::Resume)
        return flow;
    return Flow::ExitProc; // Exit Sub or the end of the procedure
}

// An error raised without a place gets the one of the node that ran.
void placeError(ScriptError &e, const Node &at, const Frame &f)
{
    if (e.line != 0)
        return;
    e.line = at.line;
    e.column = at.column;
    e.module = f.proc ? f.proc->module : f.module;
}

} // namespace

Flow execBlock(Frame &f, Block &block, size_t start)
{
    size_t i = start;
    ScriptError caught; // outside the loop: statements that do not fail pay nothing for it
    while (i < block.size()) {
        Stmt *s = block[i].get();
        Flow flow = Flow::Normal;
        bool failed = false;
        try {
            f.rt.tick();
            flow = s->exec(f);
        } catch (ScriptError &e) {
            placeError(e, *s, f);
            if (e.fatal || f.inHandler || (!f.handler && !f.resumeNext))
                throw;
            if (f.handler) {
                failed = true;
                caught = e;
            } else {
                f.rt.err->set(e);
            }
        }
        if (failed) {
            // The handler runs outside the catch, so that its own errors
            // go to the caller as they are.
            flow = runHandler(f, caught);
            if (flow == Flow::Resume) {
                f.inHandler = false;
                f.rt.err->clear();
                if (f.resumeKind == Resume::Retry)
                    continue;
                if (f.resumeKind == Resume::Next)
                    flow = Flow::Normal;
                else
                    flow = Flow::GoTo;
            }
        }
        if (flow == Flow::GoTo && f.jump && f.jump->owner == &block) {
            i = f.jump->index + 1;
            f.jump = nullptr;
            continue;
        }
        if (flow != Flow::Normal)
            return flow;
        ++i;
    }
    return Flow::Normal;
}

// ---- expressions ----

Variant Unary::eval(Frame &f)
{
    const Variant v = operand->eval(f);
    return op == Neg ? negate(v) : logicalNot(v);
}

void Unary::bind(Binder &b, ExprPtr &self)
{
    bindExpr(b, operand);
    // Fold negative literals so that -32768 stays an Integer.
    if (op == Neg && operand->isConstant()) {
        auto *lit = static_cast<Literal *>(operand.get());
        if (lit->value.type() == VType::Long && lit->value.rawInt() == 32768) {
            self = std::make_unique<Literal>(Variant::integer(-32768));
            return;
        }
        if (lit->value.isNumeric() && lit->value.type() != VType::Date) {
            Variant v = negate(lit->value);
            auto l = std::make_unique<Literal>(v);
            l->line = line;
            l->column = column;
            self = std::move(l);
        }
    }
}

Variant Binary::eval(Frame &f)
{
    Variant a = left->eval(f);
    Variant b = right->eval(f);
    // Fast paths for the arithmetic of report expressions.
    if (a.type() == b.type()) {
        if (a.type() == VType::Double) {
            switch (op) {
            case BinOp::Mul: return Variant(a.rawDouble() * b.rawDouble());
            case BinOp::Add: return Variant(a.rawDouble() + b.rawDouble());
            case BinOp::Sub: return Variant(a.rawDouble() - b.rawDouble());
            case BinOp::Gt: return Variant(a.rawDouble() > b.rawDouble());
            case BinOp::Lt: return Variant(a.rawDouble() < b.rawDouble());
            default: break;
            }
        } else if (a.type() == VType::String && op == BinOp::Concat) {
            return concat(a.rawString(), b.rawString());
        }
    }
    return binary(op, a, b, flags);
}

void Binary::bind(Binder &b, ExprPtr &)
{
    bindExpr(b, left);
    bindExpr(b, right);
    flags = (left->isConstant() ? LeftHard : NoneHard) | (right->isConstant() ? RightHard : NoneHard)
            | (b.textCompare() ? TextCompare : NoneHard);
}

Variant Name::eval(Frame &)
{
    raise(ErrInternal, QStringLiteral("Internal error: unresolved name '%1'").arg(name));
}

void Name::bind(Binder &b, ExprPtr &self)
{
    b.resolveName(this, self);
}

Object *Member::target(Frame &f, std::shared_ptr<Object> *keep)
{
    const Variant v = object->eval(f);
    if (!v.isObject())
        raise(ErrObjectRequired, QStringLiteral("Object required: '%1'").arg(name));
    if (!v.object())
        raise(ErrObjectNotSet);
    *keep = v.object();
    return keep->get();
}

int Member::resolve(Object *o)
{
    const void *key = o->classKey();
    if (key && key == cacheKey)
        return cacheId;
    const int id = o->memberId(name);
    if (id == NoMember)
        raise(ErrNoSuchMember, QStringLiteral("Object doesn't support this property or method: '%1'").arg(name));
    if (key) {
        cacheKey = key;
        cacheId = id;
    }
    return id;
}

Variant Member::eval(Frame &f)
{
    std::shared_ptr<Object> keep;
    Object *o = target(f, &keep);
    const int id = resolve(o);
    ArgValues values(args.size());
    evalArgs(f, args, values.data());
    return o->invoke(f.rt, id, statementCall ? Invoke::Method : Invoke::Get, values.data(), int(args.size()));
}

void Member::assign(Frame &f, const Variant &value, bool isSet)
{
    std::shared_ptr<Object> keep;
    Object *o = target(f, &keep);
    const int id = resolve(o);
    ArgValues values(args.size() + 1);
    evalArgs(f, args, values.data());
    if (isSet && !value.isObject())
        raise(ErrObjectRequired);
    values.data()[args.size()] = isSet ? value : letValue(value);
    o->invoke(f.rt, id, isSet ? Invoke::PutRef : Invoke::Put, values.data(), int(args.size() + 1));
}

void Member::bind(Binder &b, ExprPtr &)
{
    // A control's name before binding replaces it: rpt.X.DataValue, X.DataValue.
    QString objectName;
    if (auto *m = dynamic_cast<Member *>(object.get()))
        objectName = m->name;
    else if (auto *n = dynamic_cast<Name *>(object.get()))
        objectName = n->name;
    if (!object) {
        bool global = false;
        const int slot = b.withSlot(&global);
        if (slot < 0)
            throw scriptError(ErrObjectRequired, QStringLiteral("Invalid or unqualified reference: '.%1'").arg(name), line, column);
        auto w = std::make_unique<WithRef>();
        w->slot = slot;
        w->global = global;
        w->line = line;
        w->column = column;
        object = std::move(w);
    } else {
        bindExpr(b, object);
    }
    for (auto &a : args)
        bindExpr(b, a);
    // What the report object reads of the run's row at evaluation: the
    // page number and count (rpt.PageNumber) and a control's value
    // (rpt.txtPageCount.DataValue). Asking the resolver at compile time
    // tells the run which values the expression waits for.
    if (name.compare(QLatin1String("PageNumber"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("PageCount"), Qt::CaseInsensitive) == 0) {
        b.noteRead(name);
    } else if (name.compare(QLatin1String("DataValue"), Qt::CaseInsensitive) == 0 && !objectName.isEmpty()) {
        b.noteRead(objectName);
    } else if (name.compare(QLatin1String("Fields"), Qt::CaseInsensitive) == 0 && args.size() == 1) {
        // rpt.Fields("name"): a column, or a field control the run computes
        // before this expression.
        if (auto *literal = dynamic_cast<const Literal *>(args.front().get()); literal && literal->value.isString())
            b.noteRead(literal->value.toString());
    }
}

Variant Index::eval(Frame &f)
{
    Variant holder = target->eval(f);
    ArgValues values(args.size());
    evalArgs(f, args, values.data());
    return indexValue(f.rt, holder, values.data(), int(args.size()));
}

void Index::assign(Frame &f, const Variant &value, bool isSet)
{
    Variant holder = target->eval(f);
    ArgValues values(args.size());
    evalArgs(f, args, values.data());
    indexAssign(f.rt, holder, values.data(), int(args.size()), value, isSet);
}

void Index::bind(Binder &b, ExprPtr &)
{
    bindExpr(b, target);
    for (auto &a : args)
        bindExpr(b, a);
}

Variant LocalVar::eval(Frame &f) { return *f.slots[slot]; }
Variant *LocalVar::ref(Frame &f) { return f.slots[slot]; }
void LocalVar::assign(Frame &f, const Variant &value, bool isSet)
{
    if (constant)
        raise(501);
    storeInto(*f.slots[slot], value, isSet);
}

Variant GlobalVar::eval(Frame &f) { return f.rt.globals[size_t(slot)]; }
Variant *GlobalVar::ref(Frame &f) { return &f.rt.globals[size_t(slot)]; }
void GlobalVar::assign(Frame &f, const Variant &value, bool isSet)
{
    if (constant)
        raise(501);
    storeInto(f.rt.globals[size_t(slot)], value, isSet);
}

Variant VarIndex::eval(Frame &f)
{
    ArgValues values(args.size());
    evalArgs(f, args, values.data());
    Variant *holder = var->ref(f);
    return indexValue(f.rt, *holder, values.data(), int(args.size()));
}

void VarIndex::assign(Frame &f, const Variant &value, bool isSet)
{
    ArgValues values(args.size());
    evalArgs(f, args, values.data());
    Variant *holder = var->ref(f);
    indexAssign(f.rt, *holder, values.data(), int(args.size()), value, isSet);
}

Variant *VarIndex::element(Frame &f, std::shared_ptr<Array> *keep, Variant *value)
{
    ArgValues values(args.size());
    evalArgs(f, args, values.data());
    Variant *holder = var->ref(f);
    if (!holder->array()) {
        *value = indexValue(f.rt, *holder, values.data(), int(args.size()));
        return nullptr;
    }
    *keep = holder->arrayRef();
    return &(*keep)->at(values.data(), int(args.size()));
}

namespace {

// Arrays whose elements are passed by reference stay locked for the
// call: ReDim of them is error 10, as in VBScript, so the references
// never point into freed storage.
struct ArrayLocks
{
    std::vector<std::shared_ptr<Array>> held;
    void add(std::shared_ptr<Array> a)
    {
        ++a->locks;
        held.push_back(std::move(a));
    }
    ~ArrayLocks()
    {
        for (auto &a : held)
            --a->locks;
    }
};

} // namespace

Variant ProcCall::eval(Frame &f)
{
    const size_t n = args.size();
    ArgValues temps(n);
    ArrayLocks locks;
    Variant *inlinePtrs[ArgValues::Inline];
    std::vector<Variant *> heapPtrs;
    Variant **ptrs = inlinePtrs;
    if (n > ArgValues::Inline) {
        heapPtrs.resize(n);
        ptrs = heapPtrs.data();
    }
    for (size_t i = 0; i < n; ++i) {
        if (dynamic_cast<Missing *>(args[i].get()) && (i >= proc->params.size() || !proc->params[i].optional))
            raise(ErrArgumentNotOptional, QStringLiteral("Argument not optional: '%1'").arg(proc->name));
        const bool byRef = i < proc->params.size() && !proc->params[i].byVal;
        auto *element = byRef ? dynamic_cast<VarIndex *>(args[i].get()) : nullptr;
        if (element) {
            std::shared_ptr<Array> keep;
            Variant *r = element->element(f, &keep, &temps.data()[i]);
            if (r)
                locks.add(std::move(keep));
            ptrs[i] = r ? r : &temps.data()[i];
            continue;
        }
        Variant *r = byRef && !args[i]->isNamedConstant() ? args[i]->ref(f) : nullptr;
        if (r) {
            ptrs[i] = r;
        } else {
            temps.data()[i] = args[i]->eval(f);
            ptrs[i] = &temps.data()[i];
        }
    }
    return f.rt.call(proc, ptrs, int(n));
}

Variant BuiltinCall::eval(Frame &f)
{
    const size_t n = args.size();
    if (int(n) < fn->minArgs || int(n) > fn->maxArgs)
        raise(ErrWrongArguments, QStringLiteral("Wrong number of arguments or invalid property assignment: '%1'").arg(QLatin1String(fn->name)));
    ArgValues values(n);
    evalArgs(f, args, values.data());
    if (!textCompare)
        return fn->fn(f.rt, values.data(), int(n), cache);
    // The module's Option Compare Text is the default of the call's compare argument.
    struct Restore
    {
        Runtime &rt;
        ~Restore() { rt.textCompare = false; }
    } restore{f.rt};
    f.rt.textCompare = true;
    return fn->fn(f.rt, values.data(), int(n), cache);
}

Variant FieldRef::eval(Frame &)
{
    return Variant::fromQVariant(resolver->value(slot));
}

Variant Undefined::eval(Frame &)
{
    if (call)
        raise(ErrTypeMismatch, QStringLiteral("Type mismatch: '%1'").arg(name));
    raise(500, QStringLiteral("Variable is undefined: '%1'").arg(name));
}

void Undefined::assign(Frame &, const Variant &, bool)
{
    raise(500, QStringLiteral("Variable is undefined: '%1'").arg(name));
}

Variant WithRef::eval(Frame &f)
{
    return global ? f.rt.globals[size_t(slot)] : *f.slots[slot];
}

// ---- statements ----

Flow ExprStmt::exec(Frame &f)
{
    expr->eval(f);
    return Flow::Normal;
}

void ExprStmt::bind(Binder &b) { bindExpr(b, expr); }

Flow Assign::exec(Frame &f)
{
    const Variant v = value->eval(f);
    if (isConst) {
        Variant *r = target->ref(f);
        if (r)
            *r = letValue(v);
        return Flow::Normal;
    }
    target->assign(f, v, isSet);
    return Flow::Normal;
}

void Assign::bind(Binder &b)
{
    bindExpr(b, value);
    if (auto *n = dynamic_cast<Name *>(target.get()); n && !isConst) {
        if (!n->hasArgs && b.isLocalConstant(n->name))
            throw scriptError(501, errorDescription(501) + QStringLiteral(": '%1'").arg(n->name), line, column);
        // P = v and P(i) = v call Property Let (Set P = o: Property Set)
        // unless P is a variable here or the result of the running Get.
        Procedure *own = b.procedure();
        const bool ownResult = own && own->isFunction && own->name.compare(n->name, Qt::CaseInsensitive) == 0;
        Procedure *setter = ownResult || b.variable(n->name, false)
                                ? nullptr
                                : b.findProcedure(procedureKey(n->name, isSet ? Procedure::PropertySet : Procedure::PropertyLet));
        if (setter) {
            auto call = std::make_unique<SetterCall>();
            call->line = n->line;
            call->column = n->column;
            call->proc = setter;
            call->args = std::move(n->args);
            for (auto &a : call->args)
                bindExpr(b, a);
            target = std::move(call);
            return;
        }
    }
    bindExpr(b, target);
}

Variant SetterCall::eval(Frame &)
{
    raise(ErrNotACollection); // only assigned to
}

void SetterCall::assign(Frame &f, const Variant &value, bool isSet)
{
    const size_t n = args.size();
    std::vector<Variant> values(n + 1);
    std::vector<Variant *> ptrs(n + 1);
    for (size_t i = 0; i < n; ++i) {
        values[i] = args[i]->eval(f);
        ptrs[i] = &values[i];
    }
    values[n] = isSet ? value : letValue(value);
    ptrs[n] = &values[n];
    f.rt.call(proc, ptrs.data(), int(n + 1));
}

static std::vector<Array::Bound> evalBounds(Frame &f, ExprList &bounds)
{
    std::vector<Array::Bound> out;
    for (auto &e : bounds) {
        const int upper = valueOf(e->eval(f)).toLong();
        if (upper < -1)
            raise(ErrSubscript);
        out.push_back({0, upper + 1});
    }
    return out;
}

Flow Dim::exec(Frame &f)
{
    for (DimItem &item : items) {
        Variant *r = item.target->ref(f);
        if (!r)
            continue;
        if (!item.bounds.empty()) {
            auto a = Array::make(evalBounds(f, item.bounds));
            a->fixed = true;
            *r = Variant(std::move(a));
        } else if (item.dynamic) {
            *r = Variant(std::make_shared<Array>());
        }
    }
    return Flow::Normal;
}

void Dim::bind(Binder &b)
{
    for (DimItem &item : items) {
        for (auto &e : item.bounds)
            bindExpr(b, e);
        auto *n = static_cast<Name *>(item.target.get());
        item.target = b.variable(n->name, true);
    }
}

Flow ReDim::exec(Frame &f)
{
    for (DimItem &item : items) {
        Variant *r = item.target->ref(f);
        const auto bounds = evalBounds(f, item.bounds);
        if (Array *a = r->array()) {
            a->redim(bounds, preserve);
        } else {
            *r = Variant(Array::make(bounds));
        }
    }
    return Flow::Normal;
}

void ReDim::bind(Binder &b)
{
    for (DimItem &item : items) {
        for (auto &e : item.bounds)
            bindExpr(b, e);
        auto *n = static_cast<Name *>(item.target.get());
        item.target = b.variable(n->name, true);
        if (!item.target)
            throw scriptError(500, QStringLiteral("Variable is undefined: '%1'").arg(n->name), line, column);
    }
}

Flow Erase::exec(Frame &f)
{
    for (auto &t : targets) {
        Variant *r = t->ref(f);
        Array *a = r ? r->array() : nullptr;
        if (!a)
            raise(ErrTypeMismatch);
        if (a->locks > 0)
            raise(ErrArrayLocked);
        if (a->fixed) {
            for (Variant &v : a->data)
                v = Variant();
        } else {
            *r = Variant(std::make_shared<Array>());
        }
    }
    return Flow::Normal;
}

void Erase::bind(Binder &b)
{
    for (auto &t : targets) {
        auto *n = static_cast<Name *>(t.get());
        ExprPtr v = b.variable(n->name, false);
        if (!v)
            throw scriptError(500, QStringLiteral("Variable is undefined: '%1'").arg(n->name), line, column);
        t = std::move(v);
    }
}

namespace {

// Under On Error Resume Next an error in a condition resumes at the next
// statement, which is the first one of the branch: VBScript enters it.
bool conditionHolds(Frame &f, Expr &condition)
{
    try {
        return truth(condition.eval(f));
    } catch (ScriptError &e) {
        if (e.fatal || f.inHandler || f.handler || !f.resumeNext)
            throw;
        placeError(e, condition, f);
        f.rt.err->set(e);
        return true;
    }
}

} // namespace

Flow If::exec(Frame &f)
{
    for (size_t i = 0; i < conditions.size(); ++i)
        if (conditionHolds(f, *conditions[i]))
            return execBlock(f, branches[i]);
    return execBlock(f, elseBlock);
}

void If::blocks(std::vector<Block *> &out)
{
    for (Block &b : branches)
        out.push_back(&b);
    out.push_back(&elseBlock);
}

void If::bind(Binder &b)
{
    for (auto &c : conditions)
        bindExpr(b, c);
    for (auto &bl : branches)
        bindBlock(b, bl);
    bindBlock(b, elseBlock);
}

namespace {

// A Case value written as a literal decides how the subject compares to it.
unsigned hardness(const ExprPtr &caseValue)
{
    return caseValue->isConstant() ? RightHard : NoneHard;
}

} // namespace

Flow Select::exec(Frame &f)
{
    const Variant subjectValue = valueOf(subject->eval(f));
    for (size_t i = 0; i < cases.size(); ++i) {
        for (CaseItem &item : cases[i]) {
            bool hit = false;
            switch (item.kind) {
            case CaseItem::Value:
                hit = compare(subjectValue, item.a->eval(f), textCompare, hardness(item.a)) == 0;
                break;
            case CaseItem::Range: {
                const int lo = compare(subjectValue, item.a->eval(f), textCompare, hardness(item.a));
                const int hi = compare(subjectValue, item.b->eval(f), textCompare, hardness(item.b));
                hit = lo != 2 && hi != 2 && lo >= 0 && hi <= 0;
                break;
            }
            case CaseItem::Compare:
                hit = truth(binary(item.op, subjectValue, item.a->eval(f),
                                   hardness(item.a) | (textCompare ? TextCompare : NoneHard)));
                break;
            }
            if (hit)
                return execBlock(f, branches[i]);
        }
    }
    return execBlock(f, elseBlock);
}

void Select::blocks(std::vector<Block *> &out)
{
    for (Block &b : branches)
        out.push_back(&b);
    out.push_back(&elseBlock);
}

void Select::bind(Binder &b)
{
    textCompare = b.textCompare();
    bindExpr(b, subject);
    for (auto &items : cases)
        for (CaseItem &item : items) {
            bindExpr(b, item.a);
            bindExpr(b, item.b);
        }
    for (auto &bl : branches)
        bindBlock(b, bl);
    bindBlock(b, elseBlock);
}

Flow For::exec(Frame &f)
{
    const Variant start = valueOf(from->eval(f));
    const Variant end = valueOf(to->eval(f));
    const Variant stepValue = step ? valueOf(step->eval(f)) : Variant::integer(1);
    if (!start.isNumeric() && !start.isString())
        raise(ErrTypeMismatch);
    const double direction = stepValue.toDouble();
    end.toDouble();
    var->assign(f, start, false);
    for (;;) {
        const int c = compare(var->eval(f), end);
        if (c == 2 || (direction >= 0 ? c > 0 : c < 0))
            break;
        const Flow flow = execBlock(f, body);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
        f.rt.tick();
        var->assign(f, binary(BinOp::Add, var->eval(f), stepValue), false);
    }
    return Flow::Normal;
}

void For::bind(Binder &b)
{
    bindExpr(b, from);
    bindExpr(b, to);
    bindExpr(b, step);
    bindExpr(b, var);
    bindBlock(b, body);
}

Flow ForEach::exec(Frame &f)
{
    const Variant c = collection->eval(f);
    std::vector<Variant> items;
    if (Array *a = c.array()) {
        items = a->data;
    } else if (c.isObject()) {
        if (!c.object())
            raise(ErrObjectNotSet);
        auto keep = c.object();
        if (!keep->enumerate(f.rt, &items))
            raise(ErrNotACollection);
    } else {
        raise(ErrNotACollection);
    }
    for (Variant &item : items) {
        var->assign(f, item, item.isObject());
        const Flow flow = execBlock(f, body);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
        f.rt.tick();
    }
    return Flow::Normal;
}

void ForEach::bind(Binder &b)
{
    bindExpr(b, collection);
    bindExpr(b, var);
    bindBlock(b, body);
}

Flow Do::exec(Frame &f)
{
    const auto test = [&] {
        const bool t = truth(condition->eval(f));
        return until ? !t : t;
    };
    for (;;) {
        if (condition && testFirst && !test())
            break;
        const Flow flow = execBlock(f, body);
        if (flow == Flow::ExitDo)
            break;
        if (flow != Flow::Normal)
            return flow;
        f.rt.tick();
        if (condition && !testFirst && !test())
            break;
    }
    return Flow::Normal;
}

void Do::bind(Binder &b)
{
    bindExpr(b, condition);
    bindBlock(b, body);
}

Flow With::exec(Frame &f)
{
    Variant v = object->eval(f);
    if (!v.isObject())
        raise(ErrObjectRequired);
    Variant &slotRef = global ? f.rt.globals[size_t(slot)] : *f.slots[slot];
    slotRef = v;
    struct Clear { Frame &f; bool global; int slot; ~Clear() { (global ? f.rt.globals[size_t(slot)] : *f.slots[slot]) = Variant(); } } clear{f, global, slot};
    return execBlock(f, body);
}

void With::bind(Binder &b)
{
    bindExpr(b, object);
    slot = b.pushWith(&global);
    bindBlock(b, body);
    b.popWith();
}

Flow OnError::exec(Frame &f)
{
    f.resumeNext = mode == ResumeNext;
    f.handler = mode == Handler ? target : nullptr;
    f.rt.err->clear();
    return Flow::Normal;
}

Flow GoTo::exec(Frame &f)
{
    f.jump = target;
    return Flow::GoTo;
}

Flow Resume::exec(Frame &f)
{
    if (!f.inHandler)
        raise(ErrResumeWithoutError);
    f.resumeKind = kind;
    f.jump = target;
    return Flow::Resume;
}

Flow RaiseEvent::exec(Frame &f)
{
    for (auto &a : args)
        a->eval(f);
    return Flow::Normal;
}

void RaiseEvent::bind(Binder &b)
{
    for (auto &a : args)
        bindExpr(b, a);
}

// ---- binder ----

bool Binder::textCompare() const
{
    return m_module && m_module->textCompare;
}

Binder::Binder(Runtime &rt, Module *module, Procedure *proc, FieldResolver *resolver)
    : m_rt(rt)
    , m_module(module)
    , m_proc(proc)
    , m_resolver(resolver)
{
    if (proc) {
        int slot = 1;
        for (const Param &p : proc->params)
            m_locals.insert(p.name.toLower(), slot++);
        for (const QString &d : proc->declared)
            m_locals.insert(d.toLower(), slot++);
        proc->slotCount = slot;
    }
}

bool Binder::isLocalConstant(const QString &name) const
{
    const QString l = name.toLower();
    if (m_proc) {
        for (const QString &c : m_proc->constants)
            if (c.toLower() == l)
                return true;
        if (m_locals.contains(l))
            return false;
    }
    return m_rt.globalConstants.value(l, false);
}

ExprPtr Binder::variable(const QString &name, bool declareImplicit)
{
    const QString l = name.toLower();
    if (m_proc) {
        const auto it = m_locals.find(l);
        if (it != m_locals.end()) {
            auto v = std::make_unique<LocalVar>(it.value());
            for (const QString &c : m_proc->constants)
                if (c.toLower() == l)
                    v->constant = true;
            return v;
        }
    }
    const auto g = m_rt.globalIndex.find(l);
    if (g != m_rt.globalIndex.end()) {
        auto v = std::make_unique<GlobalVar>(g.value());
        v->constant = m_rt.globalConstants.value(l, false);
        return v;
    }
    if (!declareImplicit)
        return nullptr;
    if (m_proc) {
        const int slot = m_proc->slotCount++;
        m_locals.insert(l, slot);
        return std::make_unique<LocalVar>(slot);
    }
    return std::make_unique<GlobalVar>(m_rt.addGlobal(name));
}

void Binder::noteRead(const QString &name)
{
    if (m_resolver)
        m_resolver->slotOf(name);
}

Procedure *Binder::findProcedure(const QString &key) const
{
    if (m_module) {
        if (Procedure *p = m_module->ownProcedures.value(key))
            return p;
    }
    return m_rt.procedures.value(key);
}

QString procedureKey(const QString &name, Procedure::Kind kind)
{
    const QString l = name.toLower();
    switch (kind) {
    case Procedure::PropertyLet: return QStringLiteral(" let ") + l;
    case Procedure::PropertySet: return QStringLiteral(" set ") + l;
    default: return l;
    }
}

int Binder::tempSlot(bool *global)
{
    if (m_proc) {
        *global = false;
        return m_proc->slotCount++;
    }
    *global = true;
    return m_rt.addGlobal(QStringLiteral(" with%1").arg(m_rt.globals.size()));
}

int Binder::pushWith(bool *global)
{
    const int slot = tempSlot(global);
    m_with.push_back({slot, *global});
    return slot;
}

int Binder::withSlot(bool *global)
{
    if (m_with.empty())
        return -1;
    *global = m_with.back().second;
    return m_with.back().first;
}

void Binder::resolveName(Name *n, ExprPtr &self)
{
    const QString l = n->name.toLower();
    const int line = n->line, column = n->column;
    const auto place = [&](ExprPtr e) {
        e->line = line;
        e->column = column;
        self = std::move(e);
    };
    if (m_resolver && (n->bracketed || !n->hasArgs)) {
        const int slot = m_resolver->slotOf(n->name);
        if (slot >= 0) {
            auto r = std::make_unique<FieldRef>();
            r->resolver = m_resolver;
            r->slot = slot;
            place(std::move(r));
            return;
        }
        if (n->bracketed)
            throw scriptError(500, QStringLiteral("Variable is undefined: '%1'").arg(n->name), line, column);
    }
    for (auto &a : n->args)
        bindExpr(*this, a);
    const auto findProc = [&]() -> Procedure * { return findProcedure(l); };
    const auto makeCall = [&](Procedure *p) {
        auto c = std::make_unique<ProcCall>();
        c->proc = p;
        c->args = std::move(n->args);
        return c;
    };
    const auto makeBuiltin = [&](const Builtin *b) {
        auto c = std::make_unique<BuiltinCall>();
        c->fn = b;
        c->args = std::move(n->args);
        c->textCompare = textCompare();
        return c;
    };
    if (!n->hasArgs) {
        if (m_proc && m_proc->isFunction && l == m_proc->name.toLower()) {
            place(std::make_unique<LocalVar>(0));
            return;
        }
        if (ExprPtr v = variable(n->name, false)) {
            place(std::move(v));
            return;
        }
        if (Procedure *p = findProc()) {
            place(makeCall(p));
            return;
        }
        Variant c;
        if (builtinConstant(n->name, &c)) {
            place(std::make_unique<Literal>(c));
            return;
        }
        if (const Builtin *b = findBuiltin(n->name)) {
            place(makeBuiltin(b));
            return;
        }
        if (!m_module)
            throw scriptError(500, QStringLiteral("Variable is undefined: '%1'").arg(n->name), line, column);
        if (n->bracketed || m_module->optionExplicit || n->statementCall) {
            auto u = std::make_unique<Undefined>();
            u->name = n->name;
            u->call = n->statementCall;
            place(std::move(u));
            return;
        }
        place(variable(n->name, true));
        return;
    }
    const bool ownName = m_proc && m_proc->isFunction && l == m_proc->name.toLower();
    if (!ownName) {
        if (ExprPtr v = variable(n->name, false)) {
            auto vi = std::make_unique<VarIndex>();
            vi->var = std::move(v);
            vi->args = std::move(n->args);
            place(std::move(vi));
            return;
        }
    }
    if (Procedure *p = findProc()) {
        place(makeCall(p));
        return;
    }
    if (const Builtin *b = findBuiltin(n->name)) {
        place(makeBuiltin(b));
        return;
    }
    if (!m_module)
        throw scriptError(ErrTypeMismatch, QStringLiteral("Type mismatch: '%1'").arg(n->name), line, column);
    auto u = std::make_unique<Undefined>();
    u->name = n->name;
    u->call = true;
    place(std::move(u));
}

// ---- runtime ----

Runtime::Runtime()
    : err(std::make_shared<ErrObject>())
{
}

Runtime::~Runtime()
{
    for (const auto &weak : m_containers)
        if (const auto container = weak.lock())
            container->releaseContents();
}

void Runtime::adopt(const std::shared_ptr<Object> &container)
{
    // Forget containers already gone once the list has doubled, so a
    // script that makes one per row keeps the list short.
    if (m_containers.size() == m_containers.capacity() && m_containers.size() >= 64)
        std::erase_if(m_containers, [](const std::weak_ptr<Object> &w) { return w.expired(); });
    m_containers.push_back(container);
}

int Runtime::addGlobal(const QString &name)
{
    const QString l = name.toLower();
    const auto it = globalIndex.find(l);
    if (it != globalIndex.end())
        return it.value();
    const int slot = int(globals.size());
    globals.emplace_back();
    globalIndex.insert(l, slot);
    return slot;
}

void Runtime::budgetExceeded()
{
    if (stepBudget > 0 && steps > stepBudget)
        throw scriptError(ErrInterrupted, QStringLiteral("The script was stopped after %1 steps (step budget)").arg(stepBudget), 0, 0, true);
    runBudgetSpent = QStringLiteral("The scripts were stopped after %1 steps in this run (the run's step budget)").arg(runStepBudget);
    throw scriptError(ErrInterrupted, runBudgetSpent, 0, 0, true);
}

namespace {

// The process's resident memory in bytes, 0 when unknown.
qint64 residentBytes()
{
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    long long size = 0, resident = 0;
    const int read = std::fscanf(f, "%lld %lld", &size, &resident);
    std::fclose(f);
    return read == 2 ? qint64(resident) * qint64(sysconf(_SC_PAGESIZE)) : 0;
}

} // namespace

void Runtime::startRun()
{
    runSteps = 0;
    runBudgetSpent.clear();
    memoryBase = residentBytes();
}

void Runtime::checkMemory()
{
    const qint64 now = residentBytes();
    if (now > 0 && memoryBase > 0 && now - memoryBase > memoryBudget) {
        runBudgetSpent = QStringLiteral("Out of memory: the scripts' values grew past the run's memory budget of %1 MB")
                             .arg(memoryBudget >> 20);
        throw scriptError(ErrOutOfMemory, runBudgetSpent, 0, 0, true);
    }
}

void Runtime::cancelled()
{
    throw scriptError(ErrInterrupted, QStringLiteral("User interrupt occurred: the script was cancelled"), 0, 0, true);
}

Variant Runtime::call(Procedure *proc, Variant **args, int count)
{
    if (count > int(proc->params.size()) || count < proc->requiredCount)
        raise(ErrWrongArguments, QStringLiteral("Wrong number of arguments or invalid property assignment: '%1'").arg(proc->name));
    char probe = 0;
    if (depth >= maxDepth || (stackBase && stackBase - &probe > stackLimit)) {
        ScriptError e = scriptError(ErrOutOfStack, QStringLiteral("Out of stack space: '%1'").arg(proc->name), 0, 0, true);
        throw e;
    }
    struct Depth { int &d; Depth(int &x) : d(x) { ++d; } ~Depth() { --d; } } guard(depth);
    const size_t n = size_t(std::max(proc->slotCount, 1));
    ArgValues locals(n);
    Variant *store = locals.data();
    Variant *inlineSlots[ArgValues::Inline];
    std::vector<Variant *> heapSlots;
    Variant **slots = inlineSlots;
    if (n > ArgValues::Inline) {
        heapSlots.resize(n);
        slots = heapSlots.data();
    }
    for (size_t i = 0; i < n; ++i)
        slots[i] = &store[i];
    Frame frame{*this, slots, proc, false, proc->module};
    for (size_t i = 0; i < proc->params.size(); ++i) {
        const Param &p = proc->params[i];
        if (int(i) >= count || (p.defaultValue && isMissing(*args[i]))) {
            // Left out: the default, or a value IsMissing recognises.
            store[i + 1] = p.defaultValue ? letValue(p.defaultValue->eval(frame)) : Variant::errorValue(-1);
        } else if (p.byVal) {
            store[i + 1] = args[i]->deepCopy();
        } else {
            slots[i + 1] = args[i];
        }
    }
    execBlock(frame, proc->body);
    if (frame.resumeNext || frame.inHandler)
        err->clear();
    return std::move(store[0]);
}

} // namespace Orv::Script
