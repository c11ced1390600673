#pragma once
// The interpreter's inner parts: the syntax tree with names resolved to
// slots, procedures, modules and the run-time state. Used by the parser,
// the builtins, the objects and the host; not part of the public API.
#include "engine/script/object.h"
#include "engine/script/operators.h"

#include <QHash>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace Orv::Script {

class Binder;
class Runtime;
struct Frame;
struct Procedure;
class FieldResolver;

// GoTo: a jump to Frame::jump in flight; Resume: the end of an error
// handler, with Frame::resumeKind saying where to go on.
enum class Flow { Normal, ExitFor, ExitDo, ExitProc, GoTo, Resume };

struct Node
{
    int line = 0;
    int column = 0;
    int depth = 0; // of an expression tree, for the parser's bound
};

struct Expr : Node
{
    virtual ~Expr() = default;
    virtual Variant eval(Frame &f) = 0;
    // The variable itself, for ByRef arguments; null for values.
    virtual Variant *ref(Frame &) { return nullptr; }
    // A name declared Const: passed ByRef it still goes by value.
    virtual bool isNamedConstant() const { return false; }
    virtual void assign(Frame &f, const Variant &value, bool isSet);
    // Resolves names; may replace itself through self.
    virtual void bind(Binder &, std::unique_ptr<Expr> &) {}
    virtual bool isConstant() const { return false; }
};
using ExprPtr = std::unique_ptr<Expr>;
using ExprList = std::vector<ExprPtr>;

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct Stmt : Node
{
    virtual ~Stmt() = default;
    virtual Flow exec(Frame &f) = 0;
    virtual void bind(Binder &) {}
    // The blocks this statement holds (the branches of an If, a loop's body).
    virtual void blocks(std::vector<Block *> &) {}
};

// Runs the statements of a block from start; jumps to labels of this
// block are taken here, others go on to the enclosing block.
Flow execBlock(Frame &f, Block &block, size_t start = 0);
void bindBlock(Binder &b, Block &block);
void bindExpr(Binder &b, ExprPtr &e);

// ---- expressions produced by the parser ----

struct Literal : Expr
{
    Variant value;
    explicit Literal(Variant v) : value(std::move(v)) {}
    Variant eval(Frame &) override { return value; }
    bool isConstant() const override { return true; }
};

// An argument left out: f(a, , c).
struct Missing : Expr
{
    Variant eval(Frame &) override { return Variant::errorValue(-1); }
};

struct Paren : Expr
{
    ExprPtr inner;
    Variant eval(Frame &f) override { return inner->eval(f); }
    void bind(Binder &b, ExprPtr &) override { bindExpr(b, inner); }
};

struct Unary : Expr
{
    enum Op { Neg, Not } op;
    ExprPtr operand;
    Variant eval(Frame &f) override;
    void bind(Binder &b, ExprPtr &self) override;
};

struct Binary : Expr
{
    BinOp op;
    ExprPtr left, right;
    unsigned flags = NoneHard; // CompareFlag: literal sides and text compare, set when bound
    Variant eval(Frame &f) override;
    void bind(Binder &b, ExprPtr &self) override;
};

// A name, with arguments when followed by parentheses or, as a statement,
// by an argument list. Replaced by a resolved node when bound.
struct Name : Expr
{
    QString name;
    ExprList args;
    bool hasArgs = false;
    bool bracketed = false; // [Field Name]
    bool statementCall = false;
    Variant eval(Frame &) override;
    void bind(Binder &b, ExprPtr &self) override;
};

// object.member(args); object is null inside With for ".member".
struct Member : Expr
{
    ExprPtr object;
    QString name;
    ExprList args;
    bool hasArgs = false;
    bool statementCall = false;
    const void *cacheKey = nullptr;
    int cacheId = NoMember;
    Variant eval(Frame &f) override;
    void assign(Frame &f, const Variant &value, bool isSet) override;
    void bind(Binder &b, ExprPtr &self) override;
    Object *target(Frame &f, std::shared_ptr<Object> *keep);
    int resolve(Object *o);
};

// value(args) applied to the result of another call: f(1)(2).
struct Index : Expr
{
    ExprPtr target;
    ExprList args;
    Variant eval(Frame &f) override;
    void assign(Frame &f, const Variant &value, bool isSet) override;
    void bind(Binder &b, ExprPtr &self) override;
};

// ---- resolved expressions ----

struct LocalVar : Expr
{
    int slot;
    bool constant = false;
    explicit LocalVar(int s) : slot(s) {}
    Variant eval(Frame &f) override;
    Variant *ref(Frame &f) override;
    bool isNamedConstant() const override { return constant; }
    void assign(Frame &f, const Variant &value, bool isSet) override;
};

struct GlobalVar : Expr
{
    int slot;
    bool constant = false;
    explicit GlobalVar(int s) : slot(s) {}
    Variant eval(Frame &f) override;
    Variant *ref(Frame &f) override;
    bool isNamedConstant() const override { return constant; }
    void assign(Frame &f, const Variant &value, bool isSet) override;
};

// var(args): an array element, or the default member of an object.
struct VarIndex : Expr
{
    ExprPtr var;
    ExprList args;
    Variant eval(Frame &f) override;
    void assign(Frame &f, const Variant &value, bool isSet) override;
    // The element itself, for a ByRef argument, with its array kept alive
    // in keep. When var holds no array (an object's default member) the
    // value goes to *value and the result is null.
    Variant *element(Frame &f, std::shared_ptr<Array> *keep, Variant *value);
};

struct ProcCall : Expr
{
    Procedure *proc = nullptr;
    ExprList args;
    Variant eval(Frame &f) override;
};

struct CallSiteCache
{
    QString key;
    std::shared_ptr<void> data;
};

using BuiltinFn = Variant (*)(Runtime &rt, Variant *args, int count, CallSiteCache &cache);

struct Builtin
{
    const char *name;
    int minArgs;
    int maxArgs;
    BuiltinFn fn;
};

// The target of an assignment that calls Property Let or Set with the
// arguments and the value.
struct SetterCall : Expr
{
    Procedure *proc = nullptr;
    ExprList args;
    Variant eval(Frame &f) override;
    void assign(Frame &f, const Variant &value, bool isSet) override;
};

struct BuiltinCall : Expr
{
    const Builtin *fn = nullptr;
    ExprList args;
    CallSiteCache cache;
    bool textCompare = false; // Option Compare Text of the module
    Variant eval(Frame &f) override;
};

struct FieldRef : Expr
{
    FieldResolver *resolver = nullptr;
    int slot = -1;
    Variant eval(Frame &f) override;
};

struct Undefined : Expr
{
    QString name;
    bool call = false;
    Variant eval(Frame &f) override;
    void assign(Frame &f, const Variant &value, bool isSet) override;
};

struct WithRef : Expr
{
    int slot;
    bool global;
    Variant eval(Frame &f) override;
};

// ---- statements ----

struct ExprStmt : Stmt
{
    ExprPtr expr;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
};

struct Assign : Stmt
{
    ExprPtr target, value;
    bool isSet = false;
    bool isConst = false;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
};

// Statements run in order (Const a = 1, b = 2).
struct Sequence : Stmt
{
    Block body;
    Flow exec(Frame &f) override { return execBlock(f, body); }
    void bind(Binder &b) override { bindBlock(b, body); }
    void blocks(std::vector<Block *> &out) override { out.push_back(&body); }
};

struct DimItem
{
    ExprPtr target; // a Name until bound
    ExprList bounds; // upper bounds; empty for a scalar
    bool dynamic = false; // Dim a()
};

struct Dim : Stmt
{
    std::vector<DimItem> items;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
};

struct ReDim : Stmt
{
    bool preserve = false;
    std::vector<DimItem> items;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
};

struct Erase : Stmt
{
    ExprList targets;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
};

struct If : Stmt
{
    ExprList conditions;
    std::vector<Block> branches;
    Block elseBlock;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
    void blocks(std::vector<Block *> &out) override;
};

struct CaseItem
{
    enum Kind { Value, Range, Compare } kind = Value;
    BinOp op = BinOp::Eq;
    ExprPtr a, b;
};

struct Select : Stmt
{
    ExprPtr subject;
    std::vector<std::vector<CaseItem>> cases;
    std::vector<Block> branches;
    Block elseBlock;
    bool hasElse = false;
    bool textCompare = false; // Option Compare Text of the module
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
    void blocks(std::vector<Block *> &out) override;
};

struct For : Stmt
{
    ExprPtr var, from, to, step;
    Block body;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
    void blocks(std::vector<Block *> &out) override { out.push_back(&body); }
};

struct ForEach : Stmt
{
    ExprPtr var, collection;
    Block body;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
    void blocks(std::vector<Block *> &out) override { out.push_back(&body); }
};

struct Do : Stmt
{
    ExprPtr condition; // may be null
    bool until = false;
    bool testFirst = true;
    Block body;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
    void blocks(std::vector<Block *> &out) override { out.push_back(&body); }
};

struct Exit : Stmt
{
    Flow flow;
    explicit Exit(Flow f) : flow(f) {}
    Flow exec(Frame &) override { return flow; }
};

struct With : Stmt
{
    ExprPtr object;
    int slot = -1;
    bool global = false;
    Block body;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
    void blocks(std::vector<Block *> &out) override { out.push_back(&body); }
};

// A line label ("Name:" or a line number at the start of a line). A
// "Name:" that no jump of its procedure names stays the call of Name it
// is in VBScript (fallback).
struct Label : Stmt
{
    QString name;
    StmtPtr fallback;
    Block *owner = nullptr; // where it stands, set once parsed
    size_t index = 0;
    Flow exec(Frame &) override { return Flow::Normal; }
};

struct GoTo : Stmt
{
    QString name;
    Label *target = nullptr;
    Flow exec(Frame &f) override;
};

struct OnError : Stmt
{
    enum Mode { Off, ResumeNext, Handler } mode = Off;
    QString name; // the handler's label
    Label *target = nullptr;
    Flow exec(Frame &f) override;
};

struct Resume : Stmt
{
    enum Kind { Retry, Next, ToLabel } kind = Retry;
    QString name;
    Label *target = nullptr;
    Flow exec(Frame &f) override;
};

// RaiseEvent: the arguments are evaluated; no object listens to a
// module's events (there is no WithEvents), so nothing else happens.
struct RaiseEvent : Stmt
{
    QString name;
    ExprList args;
    Flow exec(Frame &f) override;
    void bind(Binder &b) override;
};

// ---- procedures and modules ----

struct Param
{
    QString name;
    bool byVal = false;
    bool optional = false;
    ExprPtr defaultValue; // Optional x = value; none: IsMissing(x) tells
};

struct Procedure
{
    enum Kind { Sub, Function, PropertyGet, PropertyLet, PropertySet };
    QString name;
    Kind kind = Sub;
    bool isFunction = false; // Function and Property Get: a result
    std::vector<Param> params;
    int requiredCount = 0; // the parameters before the first Optional one
    QStringList declared; // Dim and Const in the body
    QStringList constants;
    Block body;
    int line = 0;
    int slotCount = 0; // result + params + locals
    struct Module *module = nullptr;
};

struct Module
{
    QString text;
    QString owner; // the object whose events its procedures handle ("" = global)
    bool optionExplicit = false;
    bool textCompare = false; // Option Compare Text or Database
    Block body;
    QStringList declared;
    QStringList constants;
    std::vector<std::unique_ptr<Procedure>> procedures;
    QHash<QString, Procedure *> ownProcedures; // lower-cased; for owned modules
};

// The key of a procedure in the procedure tables: the lower-cased name;
// Property Let and Set carry a prefix no name can have, so that they sit
// beside the Property Get of the same name.
QString procedureKey(const QString &name, Procedure::Kind kind);
inline QString procedureKey(const Procedure &p) { return procedureKey(p.name, p.kind); }

// Fills modules from source text; raises compile errors (1002, 1025...)
// with line and column. firstLine offsets line numbers of the text.
void parseModule(const QString &text, Module &module);
// An expression for compileExpression.
ExprPtr parseExpression(const QString &text);

// Resolves names against the run-time's scopes.
class Binder
{
public:
    Binder(Runtime &rt, Module *module, Procedure *proc, FieldResolver *resolver = nullptr);
    void resolveName(Name *name, ExprPtr &self);
    int withSlot(bool *global);
    int pushWith(bool *global);
    void popWith() { m_with.pop_back(); }
    bool isLocalConstant(const QString &name) const;
    ExprPtr variable(const QString &name, bool declareImplicit);
    // A procedure of this module or a global one, by procedureKey.
    Procedure *findProcedure(const QString &key) const;
    Procedure *procedure() const { return m_proc; }
    bool textCompare() const;
    // Asks the field resolver for a name the code reads at run time.
    void noteRead(const QString &name);

private:
    int tempSlot(bool *global);
    Runtime &m_rt;
    Module *m_module;
    Procedure *m_proc;
    FieldResolver *m_resolver;
    QHash<QString, int> m_locals;
    std::vector<std::pair<int, bool>> m_with;
};

// Callbacks the runtime needs from its host.
struct HostHooks
{
    std::function<int(const QString &prompt, int buttons, const QString &title)> messageBox;
    std::function<std::optional<QString>(const QString &prompt, const QString &title, const QString &def)> inputBox;
    std::function<Variant(Runtime &rt, const QString &progId)> createObject;
};

class ErrObject;

class Runtime
{
public:
    Runtime();
    ~Runtime();

    std::vector<Variant> globals;
    QHash<QString, int> globalIndex; // lower-cased name -> slot
    QHash<QString, bool> globalConstants;
    QHash<QString, Procedure *> procedures; // global procedures, lower-cased
    std::vector<std::unique_ptr<Module>> modules;
    std::shared_ptr<ErrObject> err;
    HostHooks hooks;

    std::atomic_bool *cancel = nullptr;
    qint64 stepBudget = 0; // 0: none
    qint64 steps = 0;
    // Across every entry since startRun: steps, and the growth of the
    // process's memory while scripts run (their values: strings, arrays,
    // dictionaries), looked at every few hundred thousand steps. 0: none.
    qint64 runStepBudget = 0;
    qint64 runSteps = 0;
    qint64 memoryBudget = 0;
    qint64 memoryBase = 0;
    QString runBudgetSpent; // the error once a run budget is spent
    void startRun();
    int depth = 0;
    int maxDepth = 1000;
    // Set while a builtin called from an Option Compare Text module runs:
    // the default of its compare argument.
    bool textCompare = false;
    const char *stackBase = nullptr;
    qint64 stackLimit = 3 * 1024 * 1024;

    int addGlobal(const QString &name);
    // A container the script made; emptied when the run-time ends.
    void adopt(const std::shared_ptr<Object> &container);
    Variant call(Procedure *proc, Variant **args, int count);

    void tick()
    {
        ++steps;
        ++runSteps;
        if ((stepBudget > 0 && steps > stepBudget) || (runStepBudget > 0 && runSteps > runStepBudget))
            budgetExceeded();
        if (memoryBudget > 0 && (runSteps & 0x3ffff) == 0)
            checkMemory();
        if (cancel && cancel->load(std::memory_order_relaxed))
            cancelled();
    }

    // Counts n steps of work at once (long texts copied).
    void charge(qint64 n)
    {
        steps += n;
        runSteps += n;
        if ((stepBudget > 0 && steps > stepBudget) || (runStepBudget > 0 && runSteps > runStepBudget))
            budgetExceeded();
    }

    static Runtime *current();
    static void setCurrent(Runtime *rt);

private:
    std::vector<std::weak_ptr<Object>> m_containers;
    [[noreturn]] void budgetExceeded();
    void checkMemory();
    [[noreturn]] void cancelled();
};

// The frame of a running procedure or of module code.
struct Frame
{
    Runtime &rt;
    Variant **slots = nullptr; // locals; null for module code
    Procedure *proc = nullptr;
    bool resumeNext = false;
    struct Module *module = nullptr; // for module code
    Label *handler = nullptr;        // On Error GoTo label
    bool inHandler = false;          // the handler runs: errors go to the caller
    Label *jump = nullptr;           // the target of a GoTo in flight
    Resume::Kind resumeKind = Resume::Retry;
};

const Builtin *findBuiltin(const QString &name);
bool builtinConstant(const QString &name, Variant *value);
inline bool isMissing(const Variant &v) { return v.type() == VType::Error && v.rawInt() == -1; }

// Err, the error object.
class ErrObject : public NativeObject
{
public:
    QString typeName() const override { return QStringLiteral("ErrObject"); }
    Variant invoke(Runtime &rt, int id, Invoke kind, Variant *args, int count) override;
    void set(const ScriptError &e, const QString &source = QString());
    void clear();
    int number = 0;
    QString description;
    QString source;
    QString helpFile;
    int helpContext = 0;

protected:
    const QHash<QString, int> *memberTable() const override;
};

} // namespace Orv::Script
