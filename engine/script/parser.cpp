// Parser of the script language: tokens to a syntax tree whose names are
// resolved later, once every module of the script is known.
#include "engine/script/interp.h"
#include "engine/script/lexer.h"

#include <QSet>

#include <cmath>

namespace Orv::Script {

namespace {

// The deepest expression tree accepted (error 28 beyond).
constexpr int MaxExprDepth = 3000;

class Parser
{
public:
    Parser(std::vector<Token> tokens, Module *module)
        : m_t(std::move(tokens))
        , m_module(module)
    {
    }

    void parseModule()
    {
        skipNewlines();
        while (!at(Tok::End)) {
            parseModuleStatement();
            skipNewlines();
        }
        resolveLabels(m_module->body, false);
    }

    ExprPtr parseWholeExpression()
    {
        skipNewlines();
        ExprPtr e = parseExpr();
        skipNewlines();
        if (!at(Tok::End))
            error(1025);
        return e;
    }

private:
    // ---- token helpers ----
    const Token &cur() const { return m_t[m_pos]; }
    const Token &peek(int n = 1) const { return m_t[std::min(m_pos + size_t(n), m_t.size() - 1)]; }
    bool at(Tok k) const { return cur().kind == k; }
    bool isWord(const Token &t, const char *w) const
    {
        return t.kind == Tok::Ident && !t.bracketed && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool atWord(const char *w) const { return isWord(cur(), w); }
    bool atOp(const char *op) const { return cur().kind == Tok::Op && cur().text == QLatin1String(op); }
    bool acceptWord(const char *w)
    {
        if (!atWord(w))
            return false;
        ++m_pos;
        return true;
    }
    bool acceptOp(const char *op)
    {
        if (!atOp(op))
            return false;
        ++m_pos;
        return true;
    }
    [[noreturn]] void error(int number) const { syntaxError(number, cur().line, cur().column); }
    void expectWord(const char *w, int number)
    {
        if (!acceptWord(w))
            error(number);
    }
    void expectOp(const char *op, int number)
    {
        if (!acceptOp(op))
            error(number);
    }
    bool atEndOfStatement() const
    {
        return at(Tok::Newline) || at(Tok::End) || (m_singleLineIf && atWord("else"));
    }
    void endStatement()
    {
        if (m_singleLineIf && atWord("else"))
            return;
        if (!at(Tok::Newline) && !at(Tok::End))
            error(1025);
        if (at(Tok::Newline))
            ++m_pos;
    }
    void skipNewlines()
    {
        while (at(Tok::Newline))
            ++m_pos;
    }
    static bool isReserved(const QString &w)
    {
        static const QStringList words = {
            QStringLiteral("and"), QStringLiteral("call"), QStringLiteral("case"), QStringLiteral("const"),
            QStringLiteral("dim"), QStringLiteral("do"), QStringLiteral("each"), QStringLiteral("else"),
            QStringLiteral("elseif"), QStringLiteral("empty"), QStringLiteral("end"), QStringLiteral("eqv"),
            QStringLiteral("exit"), QStringLiteral("false"), QStringLiteral("for"), QStringLiteral("function"),
            QStringLiteral("if"), QStringLiteral("imp"), QStringLiteral("in"), QStringLiteral("is"),
            QStringLiteral("loop"), QStringLiteral("mod"), QStringLiteral("next"), QStringLiteral("not"),
            QStringLiteral("nothing"), QStringLiteral("null"), QStringLiteral("on"), QStringLiteral("or"),
            QStringLiteral("redim"), QStringLiteral("select"), QStringLiteral("set"), QStringLiteral("sub"),
            QStringLiteral("then"), QStringLiteral("to"), QStringLiteral("true"), QStringLiteral("until"),
            QStringLiteral("wend"), QStringLiteral("while"), QStringLiteral("with"), QStringLiteral("xor"),
            QStringLiteral("option"), QStringLiteral("private"), QStringLiteral("public"), QStringLiteral("step"),
        };
        return words.contains(w.toLower());
    }
    QString identifier()
    {
        if (!at(Tok::Ident) || (!cur().bracketed && isReserved(cur().text)))
            error(1010);
        return m_t[m_pos++].text;
    }
    template<typename T>
    std::unique_ptr<T> node()
    {
        auto n = std::make_unique<T>();
        n->line = cur().line;
        n->column = cur().column;
        return n;
    }
    void declare(const QString &name, bool constant)
    {
        QStringList &list = m_proc ? m_proc->declared : m_module->declared;
        for (const QString &n : list)
            if (n.compare(name, Qt::CaseInsensitive) == 0) {
                if (m_proc || constant)
                    syntaxError(1041, cur().line, cur().column, name);
                return;
            }
        if (m_proc)
            for (const Param &p : m_proc->params)
                if (p.name.compare(name, Qt::CaseInsensitive) == 0)
                    syntaxError(1041, cur().line, cur().column, name);
        list.append(name);
        if (constant)
            (m_proc ? m_proc->constants : m_module->constants).append(name);
    }

    // ---- module level ----
    void parseModuleStatement()
    {
        if (atWord("option")) {
            ++m_pos;
            if (acceptWord("compare")) {
                // Option Compare of Visual Basic modules: Text, and Database
                // (Access's usual sort order), compare strings without
                // regard to case in this module's operators and Select Case.
                if (acceptWord("text") || acceptWord("database"))
                    m_module->textCompare = true;
                else if (acceptWord("binary"))
                    m_module->textCompare = false;
                else
                    error(1002);
            } else {
                expectWord("explicit", 1002);
                m_module->optionExplicit = true;
            }
            endStatement();
            return;
        }
        size_t save = m_pos;
        bool visibility = false;
        if (atWord("private") || atWord("public")) {
            ++m_pos;
            visibility = true;
            acceptWord("default");
        }
        if (atWord("sub") || atWord("function") || atWord("property")) {
            parseProcedure();
            return;
        }
        if (atWord("event")) {
            // Event Name(params): a declaration for RaiseEvent.
            ++m_pos;
            identifier();
            Procedure ignored;
            parseParams(ignored);
            endStatement();
            return;
        }
        if (atWord("class"))
            error(1002); // classes are not supported
        if (visibility) {
            if (atWord("const")) {
                parseStatementInto(m_module->body);
                return;
            }
            // Private x / Public x: declarations like Dim.
            m_pos = save;
            ++m_pos;
            m_module->body.push_back(parseDimList());
            endStatement();
            return;
        }
        parseStatementInto(m_module->body);
    }

    // "As type" of Visual Basic declarations, skipped: As Integer,
    // As ADODB.Recordset, As String * 10. As New is refused (no classes).
    void skipAsClause()
    {
        if (!acceptWord("as"))
            return;
        if (atWord("new"))
            error(1002);
        identifier();
        while (atOp(".") && peek().kind == Tok::Ident) {
            ++m_pos;
            ++m_pos;
        }
        if (acceptOp("*")) {
            if (!at(Tok::Number))
                error(1026);
            ++m_pos;
        }
    }

    // ([Optional] [ByVal|ByRef] name[()] [As type] [= default], ...)
    void parseParams(Procedure &proc)
    {
        if (!acceptOp("("))
            return;
        if (acceptOp(")"))
            return;
        bool optionalSeen = false;
        do {
            Param p;
            p.optional = acceptWord("optional");
            if (acceptWord("byval"))
                p.byVal = true;
            else
                acceptWord("byref");
            p.name = identifier();
            if (acceptOp("(")) // array parameter a()
                expectOp(")", 1006);
            skipAsClause();
            if (p.optional && acceptOp("="))
                p.defaultValue = parseExpr();
            if (optionalSeen && !p.optional)
                error(1002); // parameters after an Optional one are optional too
            optionalSeen = optionalSeen || p.optional;
            for (const Param &q : proc.params)
                if (q.name.compare(p.name, Qt::CaseInsensitive) == 0)
                    error(1041);
            proc.params.push_back(std::move(p));
        } while (acceptOp(","));
        expectOp(")", 1006);
        proc.requiredCount = 0;
        while (size_t(proc.requiredCount) < proc.params.size() && !proc.params[size_t(proc.requiredCount)].optional)
            ++proc.requiredCount;
    }

    void parseProcedure()
    {
        auto proc = std::make_unique<Procedure>();
        const char *endWord = "sub";
        int endError = 1016;
        if (acceptWord("property")) {
            if (acceptWord("get"))
                proc->kind = Procedure::PropertyGet;
            else if (acceptWord("let"))
                proc->kind = Procedure::PropertyLet;
            else if (acceptWord("set"))
                proc->kind = Procedure::PropertySet;
            else
                error(1049);
            endWord = "property";
            endError = 1002;
        } else if (acceptWord("function")) {
            proc->kind = Procedure::Function;
            endWord = "function";
            endError = 1015;
        } else {
            expectWord("sub", 1016);
        }
        proc->isFunction = proc->kind == Procedure::Function || proc->kind == Procedure::PropertyGet;
        proc->line = cur().line;
        proc->name = identifier();
        proc->module = m_module;
        parseParams(*proc);
        if (proc->kind == Procedure::PropertyLet || proc->kind == Procedure::PropertySet) {
            if (proc->params.empty() || proc->params.back().optional)
                error(1002); // the last parameter takes the value
        }
        if (proc->isFunction)
            skipAsClause();
        endStatement();
        m_proc = proc.get();
        m_labelRefs.clear();
        proc->body = parseBlock();
        expectWord("end", endError);
        expectWord(endWord, endError);
        endStatement();
        resolveLabels(proc->body, true);
        m_proc = nullptr;
        const QString key = procedureKey(*proc);
        for (const auto &p : m_module->procedures) {
            // A Property Get and its Let or Set share the name.
            const QString other = procedureKey(*p);
            if (other == key || (p->name.compare(proc->name, Qt::CaseInsensitive) == 0
                                 && ((p->kind < Procedure::PropertyGet) != (proc->kind < Procedure::PropertyGet))))
                syntaxError(1041, proc->line, 1, proc->name);
        }
        m_module->procedures.push_back(std::move(proc));
    }

    // ---- labels ----
    // Once a procedure is parsed: "Name:" candidates that no GoTo, Resume
    // or On Error GoTo names become the calls they are in VBScript; the
    // others and line numbers are labels. A jump goes to a label of its
    // own block or of a block around it; a handler stands at the top.
    void resolveLabels(Block &body, bool inProcedure)
    {
        QHash<QString, Label *> labels;
        std::function<void(Block &)> collect = [&](Block &block) {
            for (size_t i = 0; i < block.size(); ++i) {
                if (auto *l = dynamic_cast<Label *>(block[i].get())) {
                    if (l->fallback && (!inProcedure || !m_labelRefs.contains(l->name.toLower()))) {
                        block[i] = std::move(l->fallback);
                        continue;
                    }
                    l->owner = &block;
                    l->index = i;
                    if (labels.contains(l->name.toLower()))
                        syntaxError(1041, l->line, l->column, l->name);
                    labels.insert(l->name.toLower(), l);
                }
                std::vector<Block *> inner;
                block[i]->blocks(inner);
                for (Block *b : inner)
                    collect(*b);
            }
        };
        collect(body);
        std::vector<Block *> chain;
        std::function<void(Block &)> link = [&](Block &block) {
            chain.push_back(&block);
            for (auto &st : block) {
                QString name;
                Label **target = nullptr;
                bool handler = false;
                if (auto *g = dynamic_cast<GoTo *>(st.get())) {
                    name = g->name;
                    target = &g->target;
                } else if (auto *r = dynamic_cast<Resume *>(st.get()); r && r->kind == Resume::ToLabel) {
                    name = r->name;
                    target = &r->target;
                } else if (auto *o = dynamic_cast<OnError *>(st.get()); o && o->mode == OnError::Handler) {
                    name = o->name;
                    target = &o->target;
                    handler = true;
                }
                if (target) {
                    Label *l = labels.value(name.toLower());
                    if (!l)
                        throw scriptError(1002, QStringLiteral("Label not defined: '%1'").arg(name), st->line, st->column);
                    const bool reachable = handler ? l->owner == &body
                                                   : std::find(chain.begin(), chain.end(), l->owner) != chain.end();
                    if (!reachable)
                        throw scriptError(1002,
                                          handler ? QStringLiteral("An error handler's label must stand outside blocks: '%1'").arg(name)
                                                  : QStringLiteral("GoTo cannot jump into a block: '%1'").arg(name),
                                          st->line, st->column);
                    *target = l;
                }
                std::vector<Block *> inner;
                st->blocks(inner);
                for (Block *b : inner)
                    link(*b);
            }
            chain.pop_back();
        };
        link(body);
    }

    // ---- blocks ----
    bool atBlockEnd() const
    {
        if (at(Tok::End))
            return true;
        if (!at(Tok::Ident) || cur().bracketed)
            return false;
        if (atWord("end")) {
            // "End" alone is not a statement here; End If, End Sub, ...
            return true;
        }
        return atWord("else") || atWord("elseif") || atWord("loop") || atWord("next") || atWord("wend")
            || atWord("case");
    }

    Block parseBlock()
    {
        Block block;
        for (;;) {
            skipNewlines();
            if (atBlockEnd())
                break;
            parseStatementInto(block);
        }
        return block;
    }

    void parseStatementInto(Block &block)
    {
        StmtPtr s = parseStatement();
        if (s)
            block.push_back(std::move(s));
    }

    // ---- statements ----
    StmtPtr parseStatement()
    {
        if (++m_depth > 200)
            error(28);
        struct Leave { int &d; ~Leave() { --d; } } leave{m_depth};
        const Token &t = cur();
        if (t.kind == Tok::Op && t.text == QLatin1String("."))
            return parseSimpleStatement();
        if (t.kind == Tok::Number && atLineStart() && t.value.isNumeric() && t.value.toDouble() >= 0
            && t.value.toDouble() == std::floor(t.value.toDouble())) {
            // A line number: a label; the statement after it follows.
            auto l = node<Label>();
            l->name = QString::number(qint64(t.value.toDouble()));
            ++m_pos;
            if (at(Tok::Newline) && cur().text == QLatin1String(":"))
                ++m_pos;
            return l;
        }
        if (t.kind != Tok::Ident)
            error(1024);
        if (!t.bracketed) {
            if (atWord("dim")) {
                const int line = cur().line, column = cur().column;
                ++m_pos;
                auto d = parseDimList();
                d->line = line;
                d->column = column;
                endStatement();
                return d;
            }
            if (atWord("redim")) return parseReDim();
            if (atWord("const")) return parseConst();
            if (atWord("if")) return parseIf();
            if (atWord("for")) return peek().text.compare(QLatin1String("each"), Qt::CaseInsensitive) == 0 ? parseForEach() : parseFor();
            if (atWord("do")) return parseDo();
            if (atWord("while")) return parseWhile();
            if (atWord("select")) return parseSelect();
            if (atWord("with")) return parseWith();
            if (atWord("exit")) return parseExit();
            if (atWord("on")) return parseOnError();
            if (atWord("erase")) return parseErase();
            if (atWord("goto")) {
                auto g = node<GoTo>();
                ++m_pos;
                g->name = labelName();
                endStatement();
                return g;
            }
            if (atWord("resume")) return parseResume();
            if (atWord("raiseevent")) {
                auto r = node<RaiseEvent>();
                ++m_pos;
                r->name = identifier();
                if (acceptOp("(")) {
                    parseArgList(r->args, true);
                    expectOp(")", 1006);
                }
                endStatement();
                return r;
            }
            if (atWord("attribute") && peek().kind == Tok::Ident) {
                // Attribute Name.VB_Description = "..." of exported modules.
                while (!at(Tok::End) && !(at(Tok::Newline) && cur().text == QLatin1String("\n")))
                    ++m_pos;
                endStatement();
                return nullptr;
            }
            if (atWord("set") || atWord("let")) {
                const bool isSet = atWord("set");
                const int line = cur().line, column = cur().column;
                ++m_pos;
                StmtPtr s = parseAssignment(isSet);
                s->line = line;
                s->column = column;
                return s;
            }
            if (atWord("call")) {
                auto s = node<ExprStmt>();
                ++m_pos;
                s->expr = parsePostfix();
                markStatementCall(s->expr.get());
                endStatement();
                return s;
            }
            if (atWord("stop")) {
                ++m_pos;
                endStatement();
                return nullptr;
            }
            if (atWord("sub") || atWord("function") || atWord("private") || atWord("public") || atWord("option"))
                error(1024);
            if (isReserved(t.text))
                error(1024);
            if (atLineStart() && peek().kind == Tok::Newline && peek().text == QLatin1String(":")) {
                // "Name:" at the start of a line: a label when a jump names
                // it, else the call of Name (resolveLabels decides).
                auto l = node<Label>();
                l->name = t.text;
                l->fallback = parseSimpleStatement();
                return l;
            }
        }
        return parseSimpleStatement();
    }

    bool atLineStart() const
    {
        return m_pos == 0 || (m_t[m_pos - 1].kind == Tok::Newline && m_t[m_pos - 1].text == QLatin1String("\n"));
    }

    // The label a jump names: an identifier or a line number. Jumps are
    // for procedures; module code has no labels.
    QString labelName()
    {
        if (!m_proc)
            error(1002);
        QString name;
        if (at(Tok::Number)) {
            name = QString::number(qint64(cur().value.toDouble()));
            ++m_pos;
        } else {
            name = identifier();
        }
        m_labelRefs.insert(name.toLower());
        return name;
    }

    StmtPtr parseResume()
    {
        auto r = node<Resume>();
        ++m_pos;
        if (!m_proc)
            error(1002);
        if (acceptWord("next")) {
            r->kind = Resume::Next;
        } else if (at(Tok::Number) && cur().value.toDouble() == 0) {
            ++m_pos; // Resume 0 is Resume
        } else if (!atEndOfStatement()) {
            r->kind = Resume::ToLabel;
            r->name = labelName();
        }
        endStatement();
        return r;
    }

    void markStatementCall(Expr *e)
    {
        if (auto *n = dynamic_cast<Name *>(e))
            n->statementCall = true;
        else if (auto *m = dynamic_cast<Member *>(e))
            m->statementCall = true;
    }

    // Assignment or call: "a = 1", "a(1) = 2", "obj.x = 3", "foo 1, 2",
    // "foo(1)", "obj.Method a".
    StmtPtr parseSimpleStatement()
    {
        const int line = cur().line, column = cur().column;
        m_lastParen = 0;
        m_lastParenOwner = nullptr;
        ExprPtr target = parsePostfix();
        if (atOp("=")) {
            ++m_pos;
            auto a = std::make_unique<Assign>();
            a->line = line;
            a->column = column;
            a->target = std::move(target);
            a->value = parseExpr();
            endStatement();
            return a;
        }
        auto s = std::make_unique<ExprStmt>();
        s->line = line;
        s->column = column;
        if (!atEndOfStatement()) {
            // Arguments without parentheses. When the target ended with a
            // parenthesised group, that group was the first argument.
            ExprList *args = nullptr;
            bool *hasArgs = nullptr;
            Expr *owner = target.get();
            if (m_lastParenOwner == owner) {
                m_pos = m_lastParen;
            }
            if (auto *n = dynamic_cast<Name *>(owner)) {
                args = &n->args;
                hasArgs = &n->hasArgs;
            } else if (auto *m = dynamic_cast<Member *>(owner)) {
                args = &m->args;
                hasArgs = &m->hasArgs;
            } else {
                error(1025);
            }
            args->clear();
            *hasArgs = true;
            parseArgList(*args, false);
        } else if (m_lastParenOwner == target.get()) {
            // "Inc (v)" or "Inc(v)" without Call: the parentheses belong to
            // the argument, which is then passed by value.
            ExprList *args = nullptr;
            if (auto *n = dynamic_cast<Name *>(target.get()))
                args = &n->args;
            else if (auto *m = dynamic_cast<Member *>(target.get()))
                args = &m->args;
            if (args && args->size() == 1 && !dynamic_cast<Paren *>(args->front().get())
                && !dynamic_cast<Missing *>(args->front().get())) {
                auto p = std::make_unique<Paren>();
                p->line = args->front()->line;
                p->column = args->front()->column;
                p->depth = args->front()->depth + 1;
                p->inner = std::move(args->front());
                args->front() = std::move(p);
            }
        }
        markStatementCall(target.get());
        s->expr = std::move(target);
        endStatement();
        return s;
    }

    StmtPtr parseAssignment(bool isSet)
    {
        auto a = node<Assign>();
        a->isSet = isSet;
        a->target = parsePostfix();
        expectOp("=", 1011);
        if (isSet && atWord("new"))
            error(1002); // classes are not supported
        a->value = parseExpr();
        endStatement();
        return a;
    }

    std::unique_ptr<Dim> parseDimList()
    {
        auto d = node<Dim>();
        do {
            DimItem item;
            auto n = node<Name>();
            n->name = identifier();
            if (acceptOp("(")) {
                if (acceptOp(")")) {
                    item.dynamic = true;
                } else {
                    do {
                        item.bounds.push_back(parseExpr());
                    } while (acceptOp(","));
                    expectOp(")", 1006);
                }
            }
            skipAsClause();
            declare(n->name, false);
            item.target = std::move(n);
            d->items.push_back(std::move(item));
        } while (acceptOp(","));
        return d;
    }

    StmtPtr parseReDim()
    {
        auto r = node<ReDim>();
        ++m_pos;
        r->preserve = acceptWord("preserve");
        do {
            DimItem item;
            auto n = node<Name>();
            n->name = identifier();
            expectOp("(", 1005);
            do {
                item.bounds.push_back(parseExpr());
            } while (acceptOp(","));
            expectOp(")", 1006);
            skipAsClause();
            item.target = std::move(n);
            r->items.push_back(std::move(item));
        } while (acceptOp(","));
        endStatement();
        return r;
    }

    StmtPtr parseConst()
    {
        // Const a = 1, b = 2: each a declaration and an assignment.
        auto seq = node<Sequence>();
        ++m_pos;
        do {
            auto n = node<Name>();
            n->name = identifier();
            skipAsClause();
            expectOp("=", 1011);
            auto a = node<Assign>();
            a->value = parseExpr();
            a->isConst = true;
            declare(n->name, true);
            a->target = std::move(n);
            seq->body.push_back(std::move(a));
        } while (acceptOp(","));
        endStatement();
        return seq;
    }

    StmtPtr parseErase()
    {
        auto e = node<Erase>();
        ++m_pos;
        do {
            auto n = node<Name>();
            n->name = identifier();
            e->targets.push_back(std::move(n));
        } while (acceptOp(","));
        endStatement();
        return e;
    }

    StmtPtr parseIf()
    {
        auto s = node<If>();
        ++m_pos;
        s->conditions.push_back(parseExpr());
        expectWord("then", 1017);
        if (!at(Tok::Newline)) {
            // Single-line form: If c Then a: b Else c: d
            const bool outer = m_singleLineIf;
            m_singleLineIf = true;
            Block then;
            parseLineStatements(then);
            s->branches.push_back(std::move(then));
            if (acceptWord("else"))
                parseLineStatements(s->elseBlock);
            m_singleLineIf = outer;
            if (!outer) {
                if (acceptWord("end")) // tolerate a trailing End If on the line
                    expectWord("if", 1012);
                endStatement();
            }
            return s;
        }
        endStatement();
        s->branches.push_back(parseBlock());
        for (;;) {
            if (acceptWord("elseif")) {
                s->conditions.push_back(parseExpr());
                expectWord("then", 1017);
                if (!at(Tok::Newline)) {
                    // ElseIf c Then stmt on one line, still inside the block form.
                    Block b;
                    parseLineStatements(b);
                    Block rest = parseBlock();
                    for (auto &st : rest)
                        b.push_back(std::move(st));
                    s->branches.push_back(std::move(b));
                    continue;
                }
                endStatement();
                s->branches.push_back(parseBlock());
                continue;
            }
            if (acceptWord("else")) {
                if (!at(Tok::Newline)) {
                    parseLineStatements(s->elseBlock);
                    Block rest = parseBlock();
                    for (auto &st : rest)
                        s->elseBlock.push_back(std::move(st));
                } else {
                    endStatement();
                    s->elseBlock = parseBlock();
                }
            }
            break;
        }
        expectWord("end", 1014);
        expectWord("if", 1012);
        endStatement();
        return s;
    }

    // Statements up to the end of the line (or Else in a single-line If).
    void parseLineStatements(Block &block)
    {
        for (;;) {
            if (at(Tok::Newline) && cur().text == QLatin1String(":")) {
                ++m_pos;
                continue;
            }
            if (at(Tok::Newline) || at(Tok::End) || atWord("else") || atWord("end"))
                return;
            const size_t before = m_pos;
            StmtPtr st = parseStatementNoEnd();
            if (st)
                block.push_back(std::move(st));
            if (m_pos == before)
                error(1024);
        }
    }

    // A statement of a single-line If: it ends at ':' (consumed), at the
    // line end or at Else (both left for the caller).
    StmtPtr parseStatementNoEnd()
    {
        const bool outer = m_singleLineIf;
        m_singleLineIf = true;
        StmtPtr s = parseStatement();
        m_singleLineIf = outer;
        // If the statement consumed the line end, step back onto it so the
        // If sees where its line ended.
        if (m_pos > 0 && m_t[m_pos - 1].kind == Tok::Newline && m_t[m_pos - 1].text == QLatin1String("\n"))
            --m_pos;
        return s;
    }

    StmtPtr parseFor()
    {
        auto s = node<For>();
        ++m_pos;
        auto n = node<Name>();
        n->name = identifier();
        s->var = std::move(n);
        expectOp("=", 1011);
        s->from = parseExpr();
        expectWord("to", 1013);
        s->to = parseExpr();
        if (acceptWord("step"))
            s->step = parseExpr();
        endStatement();
        s->body = parseBlock();
        expectWord("next", 1020);
        if (at(Tok::Ident) && !atWord("else"))
            identifier();
        endStatement();
        return s;
    }

    StmtPtr parseForEach()
    {
        auto s = node<ForEach>();
        m_pos += 2;
        auto n = node<Name>();
        n->name = identifier();
        s->var = std::move(n);
        expectWord("in", 1046);
        s->collection = parseExpr();
        endStatement();
        s->body = parseBlock();
        expectWord("next", 1020);
        if (at(Tok::Ident) && !atWord("else"))
            identifier();
        endStatement();
        return s;
    }

    StmtPtr parseDo()
    {
        auto s = node<Do>();
        ++m_pos;
        if (atWord("while") || atWord("until")) {
            s->until = atWord("until");
            ++m_pos;
            s->condition = parseExpr();
            s->testFirst = true;
        }
        endStatement();
        s->body = parseBlock();
        expectWord("loop", 1019);
        if (atWord("while") || atWord("until")) {
            if (s->condition)
                error(1025);
            s->until = atWord("until");
            ++m_pos;
            s->condition = parseExpr();
            s->testFirst = false;
        }
        endStatement();
        return s;
    }

    StmtPtr parseWhile()
    {
        auto s = node<Do>();
        ++m_pos;
        s->condition = parseExpr();
        s->testFirst = true;
        endStatement();
        s->body = parseBlock();
        expectWord("wend", 1018);
        endStatement();
        return s;
    }

    StmtPtr parseSelect()
    {
        auto s = node<Select>();
        ++m_pos;
        expectWord("case", 1021);
        s->subject = parseExpr();
        endStatement();
        skipNewlines();
        while (acceptWord("case")) {
            if (acceptWord("else")) {
                if (at(Tok::Newline) && cur().text == QLatin1String(":"))
                    ++m_pos;
                s->hasElse = true;
                s->elseBlock = parseBlock();
                break;
            }
            std::vector<CaseItem> items;
            do {
                CaseItem item;
                if (acceptWord("is")) {
                    item.kind = CaseItem::Compare;
                    static const std::pair<const char *, BinOp> ops[] = {
                        {"=", BinOp::Eq}, {"<>", BinOp::Ne}, {"<", BinOp::Lt},
                        {"<=", BinOp::Le}, {">", BinOp::Gt}, {">=", BinOp::Ge}};
                    bool found = false;
                    for (const auto &[text, op] : ops)
                        if (acceptOp(text)) {
                            item.op = op;
                            found = true;
                            break;
                        }
                    if (!found)
                        error(1002);
                    item.a = parseConcat();
                } else {
                    item.a = parseExpr();
                    if (acceptWord("to")) {
                        item.kind = CaseItem::Range;
                        item.b = parseExpr();
                    }
                }
                items.push_back(std::move(item));
            } while (acceptOp(","));
            if (at(Tok::Newline))
                ++m_pos;
            s->cases.push_back(std::move(items));
            s->branches.push_back(parseBlock());
        }
        expectWord("end", 1014);
        expectWord("select", 1022);
        endStatement();
        return s;
    }

    StmtPtr parseWith()
    {
        auto s = node<With>();
        ++m_pos;
        s->object = parseExpr();
        endStatement();
        s->body = parseBlock();
        expectWord("end", 1014);
        expectWord("with", 1029);
        endStatement();
        return s;
    }

    StmtPtr parseExit()
    {
        ++m_pos;
        Flow flow;
        if (acceptWord("for"))
            flow = Flow::ExitFor;
        else if (acceptWord("do"))
            flow = Flow::ExitDo;
        else if ((m_proc && m_proc->kind == Procedure::Sub && acceptWord("sub"))
                 || (m_proc && m_proc->kind == Procedure::Function && acceptWord("function"))
                 || (m_proc && m_proc->kind >= Procedure::PropertyGet && acceptWord("property")))
            flow = Flow::ExitProc;
        else
            error(1002);
        auto s = std::make_unique<Exit>(flow);
        s->line = cur().line;
        endStatement();
        return s;
    }

    StmtPtr parseOnError()
    {
        auto s = node<OnError>();
        ++m_pos;
        expectWord("error", 1002);
        if (acceptWord("resume")) {
            expectWord("next", 1002);
            s->mode = OnError::ResumeNext;
        } else if (acceptWord("goto")) {
            if (at(Tok::Number) && cur().value.toDouble() == 0) {
                ++m_pos; // GoTo 0: errors stop the script again
            } else {
                s->mode = OnError::Handler;
                s->name = labelName();
            }
        } else {
            error(1002);
        }
        endStatement();
        return s;
    }

    // ---- expressions ----
    ExprPtr makeBinary(BinOp op, ExprPtr l, ExprPtr r, const Token &at)
    {
        auto b = std::make_unique<Binary>();
        b->line = at.line;
        b->column = at.column;
        b->op = op;
        b->depth = 1 + std::max(l->depth, r->depth);
        // Long operator chains nest to the left; evaluating them recurses
        // as deep, so the nesting is bounded here.
        if (b->depth > MaxExprDepth)
            syntaxError(28, at.line, at.column);
        b->left = std::move(l);
        b->right = std::move(r);
        return b;
    }

    template<typename Next>
    ExprPtr leftAssoc(Next next, std::initializer_list<std::pair<const char *, BinOp>> ops, bool words)
    {
        ExprPtr e = (this->*next)();
        for (;;) {
            bool found = false;
            for (const auto &[text, op] : ops) {
                if (words ? atWord(text) : atOp(text)) {
                    const Token t = cur();
                    ++m_pos;
                    e = makeBinary(op, std::move(e), (this->*next)(), t);
                    found = true;
                    break;
                }
            }
            if (!found)
                return e;
        }
    }

    ExprPtr parseExpr()
    {
        if (++m_depth > 200)
            error(28);
        struct Leave { int &d; ~Leave() { --d; } } leave{m_depth};
        return leftAssoc(&Parser::parseEqv, {{"imp", BinOp::Imp}}, true);
    }
    ExprPtr parseEqv() { return leftAssoc(&Parser::parseXor, {{"eqv", BinOp::Eqv}}, true); }
    ExprPtr parseXor() { return leftAssoc(&Parser::parseOr, {{"xor", BinOp::Xor}}, true); }
    ExprPtr parseOr() { return leftAssoc(&Parser::parseAnd, {{"or", BinOp::Or}}, true); }
    ExprPtr parseAnd() { return leftAssoc(&Parser::parseNot, {{"and", BinOp::And}}, true); }
    ExprPtr parseNot()
    {
        if (atWord("not")) {
            if (++m_depth > 200)
                error(28);
            struct Leave { int &d; ~Leave() { --d; } } leave{m_depth};
            auto u = node<Unary>();
            ++m_pos;
            u->op = Unary::Not;
            u->operand = parseNot();
            u->depth = u->operand->depth + 1;
            return u;
        }
        return parseCompare();
    }
    ExprPtr parseCompare()
    {
        ExprPtr e = parseConcat();
        static const std::pair<const char *, BinOp> ops[] = {
            {"=", BinOp::Eq}, {"<>", BinOp::Ne}, {"<", BinOp::Lt}, {"<=", BinOp::Le}, {">", BinOp::Gt}, {">=", BinOp::Ge}};
        for (;;) {
            bool found = false;
            if (atWord("is")) {
                const Token t = cur();
                ++m_pos;
                e = makeBinary(BinOp::Is, std::move(e), parseConcat(), t);
                continue;
            }
            for (const auto &[text, op] : ops)
                if (atOp(text)) {
                    const Token t = cur();
                    ++m_pos;
                    e = makeBinary(op, std::move(e), parseConcat(), t);
                    found = true;
                    break;
                }
            if (!found)
                return e;
        }
    }
    ExprPtr parseConcat() { return leftAssoc(&Parser::parseAdd, {{"&", BinOp::Concat}}, false); }
    ExprPtr parseAdd() { return leftAssoc(&Parser::parseMod, {{"+", BinOp::Add}, {"-", BinOp::Sub}}, false); }
    ExprPtr parseMod() { return leftAssoc(&Parser::parseIntDiv, {{"mod", BinOp::Mod}}, true); }
    ExprPtr parseIntDiv() { return leftAssoc(&Parser::parseMul, {{"\\", BinOp::IntDiv}}, false); }
    ExprPtr parseMul() { return leftAssoc(&Parser::parseUnary, {{"*", BinOp::Mul}, {"/", BinOp::Div}}, false); }
    ExprPtr parseUnary()
    {
        if (++m_depth > 200)
            error(28);
        struct Leave { int &d; ~Leave() { --d; } } leave{m_depth};
        if (atOp("-")) {
            auto u = node<Unary>();
            ++m_pos;
            u->op = Unary::Neg;
            u->operand = parseUnary();
            u->depth = u->operand->depth + 1;
            return u;
        }
        if (acceptOp("+"))
            return parseUnary();
        return parsePow();
    }
    ExprPtr parsePow()
    {
        ExprPtr e = parsePostfix();
        while (atOp("^")) {
            const Token t = cur();
            ++m_pos;
            ExprPtr rhs;
            if (atOp("-")) {
                auto u = node<Unary>();
                ++m_pos;
                u->op = Unary::Neg;
                u->operand = parsePostfix();
                u->depth = u->operand->depth + 1;
                rhs = std::move(u);
            } else {
                acceptOp("+");
                rhs = parsePostfix();
            }
            e = makeBinary(BinOp::Pow, std::move(e), std::move(rhs), t);
        }
        return e;
    }

    void parseArgList(ExprList &args, bool inParens)
    {
        if (inParens && atOp(")"))
            return;
        if (!inParens && atEndOfStatement())
            return;
        for (;;) {
            if (atOp(",") || (inParens && atOp(")")) || (!inParens && atEndOfStatement())) {
                auto m = node<Missing>();
                args.push_back(std::move(m));
            } else {
                args.push_back(parseExpr());
            }
            if (!acceptOp(","))
                break;
        }
    }

    ExprPtr parsePostfix()
    {
        ExprPtr e = parsePrimary();
        for (;;) {
            if (atOp("(")) {
                const size_t parenPos = m_pos;
                ++m_pos;
                ExprList args;
                parseArgList(args, true);
                expectOp(")", 1006);
                for (const auto &a : args)
                    e->depth = std::max(e->depth, a->depth + 1);
                Expr *raw = e.get();
                if (auto *n = dynamic_cast<Name *>(raw); n && !n->hasArgs) {
                    n->args = std::move(args);
                    n->hasArgs = true;
                    m_lastParen = parenPos;
                    m_lastParenOwner = raw;
                } else if (auto *m = dynamic_cast<Member *>(raw); m && !m->hasArgs) {
                    m->args = std::move(args);
                    m->hasArgs = true;
                    m_lastParen = parenPos;
                    m_lastParenOwner = raw;
                } else {
                    auto ix = std::make_unique<Index>();
                    ix->line = raw->line;
                    ix->column = raw->column;
                    ix->depth = e->depth + 1;
                    ix->target = std::move(e);
                    ix->args = std::move(args);
                    e = std::move(ix);
                    m_lastParenOwner = nullptr;
                }
                continue;
            }
            if (atOp("!") && !cur().spaceBefore && peek().kind == Tok::Ident) {
                // a!b is a("b"): the default member with the name as text.
                ++m_pos;
                auto name = std::make_unique<Literal>(Variant(cur().text));
                name->line = cur().line;
                name->column = cur().column;
                ++m_pos;
                ExprList args;
                args.push_back(std::move(name));
                Expr *raw = e.get();
                if (auto *n = dynamic_cast<Name *>(raw); n && !n->hasArgs) {
                    n->args = std::move(args);
                    n->hasArgs = true;
                } else if (auto *m = dynamic_cast<Member *>(raw); m && !m->hasArgs) {
                    m->args = std::move(args);
                    m->hasArgs = true;
                } else {
                    auto ix = std::make_unique<Index>();
                    ix->line = raw->line;
                    ix->column = raw->column;
                    ix->target = std::move(e);
                    ix->args = std::move(args);
                    e = std::move(ix);
                }
                m_lastParenOwner = nullptr;
                continue;
            }
            if (atOp(".") && !cur().spaceBefore) {
                ++m_pos;
                auto m = node<Member>();
                if (!at(Tok::Ident))
                    error(1010);
                m->name = m_t[m_pos++].text;
                m->depth = e->depth + 1;
                m->object = std::move(e);
                e = std::move(m);
                m_lastParenOwner = nullptr;
                continue;
            }
            return e;
        }
    }

    ExprPtr parsePrimary()
    {
        const Token &t = cur();
        switch (t.kind) {
        case Tok::Number:
        case Tok::Date: {
            auto l = std::make_unique<Literal>(t.value);
            l->line = t.line;
            l->column = t.column;
            ++m_pos;
            return l;
        }
        case Tok::String: {
            auto l = std::make_unique<Literal>(Variant(t.text));
            l->line = t.line;
            l->column = t.column;
            ++m_pos;
            return l;
        }
        case Tok::Op:
            if (t.text == QLatin1String("(")) {
                auto p = node<Paren>();
                ++m_pos;
                p->inner = parseExpr();
                p->depth = p->inner->depth + 1;
                expectOp(")", 1006);
                return p;
            }
            if (t.text == QLatin1String(".")) {
                // .Member inside With
                auto m = node<Member>();
                ++m_pos;
                if (!at(Tok::Ident))
                    error(1010);
                m->name = m_t[m_pos++].text;
                return m;
            }
            error(1023);
        case Tok::Ident: {
            if (!t.bracketed) {
                auto literal = [&](Variant v) {
                    auto l = std::make_unique<Literal>(std::move(v));
                    l->line = t.line;
                    l->column = t.column;
                    ++m_pos;
                    return l;
                };
                if (atWord("true")) return literal(Variant(true));
                if (atWord("false")) return literal(Variant(false));
                if (atWord("empty")) return literal(Variant());
                if (atWord("null")) return literal(Variant::null());
                if (atWord("nothing")) return literal(Variant::nothing());
                if (atWord("new"))
                    error(1002);
                if (isReserved(t.text))
                    error(1023);
            }
            auto n = node<Name>();
            n->name = t.text;
            n->bracketed = t.bracketed;
            ++m_pos;
            return n;
        }
        default:
            error(1023);
        }
    }

    std::vector<Token> m_t;
    size_t m_pos = 0;
    Module *m_module;
    Procedure *m_proc = nullptr;
    bool m_singleLineIf = false;
    int m_depth = 0;
    size_t m_lastParen = 0;
    Expr *m_lastParenOwner = nullptr;
    QSet<QString> m_labelRefs; // labels the current procedure's jumps name
};

} // namespace

void parseModule(const QString &text, Module &module)
{
    Parser parser(tokenize(text), &module);
    parser.parseModule();
}

ExprPtr parseExpression(const QString &text)
{
    Parser parser(tokenize(text), nullptr);
    return parser.parseWholeExpression();
}

} // namespace Orv::Script
