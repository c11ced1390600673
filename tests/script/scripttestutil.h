#pragma once
// Runs a script and collects what it writes through dbg.Out, one line per
// call; a failure comes back as "error <number> at <line>:<column>".
#include "engine/script/fieldresolver.h"
#include "engine/script/host.h"
#include "engine/script/scriptsupport.h"

#include <QStringList>

#include <deque>

namespace Orv::Script::Test {

class ScriptedDialogs : public Dialogs
{
public:
    QStringList shown;                     // "title|prompt|buttons"
    std::deque<std::optional<QString>> answers;
    int messageBox(const QString &prompt, int buttons, const QString &title) override
    {
        shown << title + QLatin1Char('|') + prompt + QLatin1Char('|') + QString::number(buttons);
        return 1;
    }
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        shown << title + QLatin1Char('|') + prompt + QLatin1Char('|') + def;
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

struct ScriptRun
{
    Host host;
    std::shared_ptr<DebugOutput> debug = std::make_shared<DebugOutput>();
    QStringList lines;
    ScriptedDialogs dialogs;

    ScriptRun()
    {
        debug->out = [this](const QString &l) { lines << l; };
        host.addObject(QStringLiteral("dbg"), createDebugObject(debug));
        host.addObject(QStringLiteral("vbo"), createSupportObject());
        host.setDialogs(&dialogs);
    }

    QString run(const QString &code)
    {
        host.addCode(code);
        const Status s = host.compile();
        if (!s.ok())
            return failure();
        return lines.join(QLatin1Char('\n'));
    }

    QString failure() const
    {
        const Error e = host.lastError();
        return QStringLiteral("error %1 at %2:%3").arg(e.number).arg(e.line).arg(e.column);
    }
};

// A resolver over a row of named values, as the report run gives one.
class Row : public FieldResolver
{
public:
    QStringList names;
    QVariantList values;
    int slotOf(const QString &name) override
    {
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QVariant value(int slot) const override { return values.value(slot); }
};

} // namespace Orv::Script::Test
