#include "engine/script/expressioncheck.h"

#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/script/scriptsupport.h"

#include <QSet>

namespace Orv::Script {

namespace {

// The names a run's row knows: the data source's columns, the report's
// field controls, PageNumber and PageCount. Values are never read here.
class CheckResolver : public FieldResolver
{
public:
    CheckResolver(const Report &report, const std::optional<QStringList> &fields) : m_open(!fields)
    {
        if (fields)
            for (const QString &f : *fields)
                m_names.insert(f.trimmed().toCaseFolded());
        for (const Control *c : report.allControls())
            if (qobject_cast<const Field *>(c))
                m_names.insert(c->name().toCaseFolded());
        m_names.insert(QStringLiteral("pagenumber"));
        m_names.insert(QStringLiteral("pagecount"));
        if (m_open) {
            // The script's own objects stay the script's.
            for (const char *n : {"rpt", "OrvReport", "Me", "Pages", "vbo", "dbg", "Err"})
                m_scriptNames.insert(QString::fromLatin1(n).toCaseFolded());
            for (const Section *s : *report.sections()) {
                m_scriptNames.insert(s->name().toCaseFolded());
                for (const Control *c : *s->controls())
                    m_scriptNames.insert(c->name().toCaseFolded());
            }
        }
    }
    int slotOf(const QString &name) override
    {
        const QString key = name.trimmed().toCaseFolded();
        if (m_names.contains(key))
            return 0;
        // Without the columns, any other name might be one.
        return m_open && !m_scriptNames.contains(key) ? 0 : -1;
    }
    QVariant value(int) const override { return QVariant(); }

private:
    bool m_open;
    QSet<QString> m_names;
    QSet<QString> m_scriptNames;
};

} // namespace

struct ExpressionChecker::Private
{
    Report copy;
    std::unique_ptr<CheckResolver> resolver;
    Host host;
    ExpressionCheck scriptFailure; // ok unless the report's script does not compile
};

ExpressionChecker::ExpressionChecker(const Report &report, const std::optional<QStringList> &fieldNames)
    : d(std::make_unique<Private>())
{
    // A copy: binding gives the report's objects to the script, and the
    // check must leave the design as it is.
    report.CopyLayoutTo(&d->copy);
    d->resolver = std::make_unique<CheckResolver>(d->copy, fieldNames);
    d->host.addObject(QStringLiteral("vbo"), createSupportObject());
    d->host.addObject(QStringLiteral("dbg"), createDebugObject(nullptr));
    d->host.addCode(scriptPrologue(QString()));
    d->host.bindReport(&d->copy, d->resolver.get());
    if (!d->host.check().ok()) {
        d->scriptFailure.ok = false;
        d->scriptFailure.inReportScript = true;
        d->scriptFailure.error = d->host.lastError();
    }
}

ExpressionChecker::~ExpressionChecker() = default;

ExpressionCheck ExpressionChecker::check(const QString &text)
{
    if (!d->scriptFailure.ok)
        return d->scriptFailure;
    ExpressionCheck result;
    Status status;
    if (!d->host.compileExpression(text, d->resolver.get(), &status)) {
        result.ok = false;
        result.error = d->host.lastError();
    }
    return result;
}

ExpressionCheck checkExpression(const QString &text, const Report &report,
                                const std::optional<QStringList> &fieldNames)
{
    return ExpressionChecker(report, fieldNames).check(text);
}

} // namespace Orv::Script
