#include "dialogs/scripteditor/scripteditormodel.h"

#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/host.h"
#include "engine/script/scriptsupport.h"
#include "engine/widgets/designer/designercore.h"

#include <QCoreApplication>
#include <QSet>

namespace Orv {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Orv::ScriptEditorModel", text);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

const QSet<QString> &keywords()
{
    static const QSet<QString> words = [] {
        QSet<QString> s;
        for (const char *w : {"and", "as", "byref", "byval", "call", "case", "class", "const", "dim", "do", "each",
                              "else", "elseif", "empty", "end", "eqv", "erase", "error", "exit", "explicit",
                              "false", "for", "function", "get", "goto", "if", "imp", "in", "is", "let", "loop",
                              "me", "mod", "new", "next", "not", "nothing", "null", "on", "option", "optional",
                              "or", "preserve", "private", "property", "public", "redim", "resume", "select",
                              "set", "step", "stop", "sub", "then", "to", "true", "until", "wend", "while",
                              "with", "xor"})
            s.insert(QString::fromLatin1(w));
        return s;
    }();
    return words;
}

} // namespace

ScriptEditorModel::ScriptEditorModel(DesignerCore &core) : m_core(core)
{
    Report *report = core.DesignedReport();
    m_entries.push_back({report, QString(), tr("Report"), report->script(), report->script()});
    for (Section *s : *report->sections())
        m_entries.push_back({s, s->name(), s->name(), s->script(), s->script()});
}

QString ScriptEditorModel::title(int index) const
{
    return index >= 0 && index < count() ? m_entries[size_t(index)].title : QString();
}

QString ScriptEditorModel::text(int index) const
{
    return index >= 0 && index < count() ? m_entries[size_t(index)].text : QString();
}

void ScriptEditorModel::setText(int index, const QString &text)
{
    if (index < 0 || index >= count())
        return;
    Entry &e = m_entries[size_t(index)];
    // The editor shows line ends as plain newlines; a script it only showed
    // keeps its own.
    e.text = QString(e.original).replace(QLatin1String("\r\n"), QLatin1String("\n")) == text ? e.original : text;
}

bool ScriptEditorModel::isModified(int index) const
{
    return index >= 0 && index < count() && m_entries[size_t(index)].text != m_entries[size_t(index)].original;
}

bool ScriptEditorModel::anyModified() const
{
    for (int i = 0; i < count(); ++i) {
        if (isModified(i))
            return true;
    }
    return false;
}

int ScriptEditorModel::indexOf(const QObject *owner) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_entries[size_t(i)].owner == owner)
            return i;
    }
    return -1;
}

bool ScriptEditorModel::apply()
{
    std::vector<QObject *> objects;
    std::vector<Entry *> changed;
    for (Entry &e : m_entries) {
        if (e.owner && e.text != e.original) {
            objects.push_back(e.owner);
            changed.push_back(&e);
        }
    }
    if (changed.empty())
        return false;
    const bool done = m_core.edit(tr("Edit Script"), objects, [&] {
        for (Entry *e : changed)
            e->owner->setProperty("Script", e->text);
    });
    for (Entry *e : changed)
        e->original = e->text;
    return done;
}

ScriptEditorModel::CheckResult ScriptEditorModel::check(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const Entry &e = m_entries[size_t(index)];
    // A copy of the design with only this script, so that its section and
    // control names resolve as they do in a run.
    Report copy;
    m_core.DesignedReport()->CopyLayoutTo(&copy);
    copy.setScript(QString());
    for (Section *s : *copy.sections())
        s->setScript(QString());
    if (e.name.isEmpty()) {
        copy.setScript(e.text);
    } else if (Section *s = copy.sections()->Item(e.name)) {
        s->setScript(e.text);
    } else {
        return checkText(e.text, e.name);
    }
    Script::Host host;
    auto debug = std::make_shared<Script::DebugOutput>();
    debug->out = [](const QString &) {};
    host.addObject(QStringLiteral("dbg"), Script::createDebugObject(debug));
    host.addObject(QStringLiteral("vbo"), Script::createSupportObject());
    host.bindReport(&copy);
    const Status status = host.check();
    if (status.ok())
        return {};
    const Script::Error error = host.lastError();
    return {false, std::max(1, error.line), std::max(1, error.column), status.description()};
}

ScriptEditorModel::CheckResult ScriptEditorModel::checkText(const QString &text, const QString &sectionName)
{
    Script::Host host;
    if (sectionName.isEmpty())
        host.addCode(text);
    else
        host.addObjectCode(sectionName, text);
    const Status status = host.check();
    if (status.ok())
        return {};
    const Script::Error error = host.lastError();
    return {false, std::max(1, error.line), std::max(1, error.column), status.description()};
}

int ScriptEditorModel::find(const QString &text, const QString &what, int from, const FindOptions &options)
{
    if (what.isEmpty() || text.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const auto whole = [&](int at) {
        if (!options.wholeWord)
            return true;
        const bool before = at > 0 && isWordChar(text[at - 1]);
        const int end = at + int(what.size());
        const bool after = end < text.size() && isWordChar(text[end]);
        return !before && !after;
    };
    from = std::clamp(from, 0, int(text.size()));
    // Two passes: from the position to the end (or start), then wrapped.
    for (int pass = 0; pass < 2; ++pass) {
        int at = options.backwards ? int(text.lastIndexOf(what, pass == 0 ? from - 1 : -1, cs))
                                   : int(text.indexOf(what, pass == 0 ? from : 0, cs));
        while (at >= 0 && !whole(at)) {
            at = options.backwards ? (at == 0 ? -1 : int(text.lastIndexOf(what, at - 1, cs)))
                                   : int(text.indexOf(what, at + 1, cs));
        }
        if (at >= 0)
            return at;
        if (pass == 0 && (options.backwards ? from == text.size() : from == 0))
            break; // the first pass already saw everything
    }
    return -1;
}

int ScriptEditorModel::replaceAll(QString *text, const QString &what, const QString &with, const FindOptions &options)
{
    if (!text || what.isEmpty())
        return 0;
    FindOptions forward = options;
    forward.backwards = false;
    QString out;
    int count = 0;
    int pos = 0;
    while (pos <= text->size()) {
        const int at = find(*text, what, pos, forward);
        if (at < pos)
            break; // none left after pos (find wraps)
        out += QStringView(*text).mid(pos, at - pos);
        out += with;
        pos = at + int(what.size());
        ++count;
    }
    if (count == 0)
        return 0;
    out += QStringView(*text).mid(pos);
    *text = out;
    return count;
}

QList<ScriptEditorModel::Span> ScriptEditorModel::highlight(const QString &line)
{
    QList<Span> spans;
    const int n = int(line.size());
    int i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (c == QLatin1Char('\'')) {
            spans.append({i, n - i, Token::Comment});
            break;
        }
        if (c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (line[j] == QLatin1Char('"')) {
                    if (j + 1 < n && line[j + 1] == QLatin1Char('"')) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            spans.append({i, j - i, Token::String});
            i = j;
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('&') && i + 1 < n && line[i + 1].toLower() == QLatin1Char('h'))) {
            int j = i + (c == QLatin1Char('&') ? 2 : 1);
            while (j < n && (line[j].isLetterOrNumber() || line[j] == QLatin1Char('.')))
                ++j;
            spans.append({i, j - i, Token::Number});
            i = j;
            continue;
        }
        if (isWordChar(c)) {
            int j = i + 1;
            while (j < n && isWordChar(line[j]))
                ++j;
            const QString word = line.mid(i, j - i).toLower();
            const bool wordStart = i == 0 || line[i - 1] != QLatin1Char('.');
            if (word == QLatin1String("rem") && wordStart) {
                spans.append({i, n - i, Token::Comment});
                break;
            }
            if (wordStart && keywords().contains(word))
                spans.append({i, j - i, Token::Keyword});
            i = j;
            continue;
        }
        ++i;
    }
    return spans;
}

} // namespace Orv
