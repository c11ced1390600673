#include "engine/widgets/designer/designercommands.h"

#include "engine/model/control.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace Orv {

void PropertySnapshot::capture(const std::vector<QObject *> &objects)
{
    m_values.clear();
    for (QObject *o : objects) {
        if (o)
            captureObject(o);
    }
}

namespace {

// The stored properties of a class: values first, then parts. Looked up
// once per class, as snapshots of thousands of controls ask again and again.
struct ClassProperties
{
    QList<QMetaProperty> values;
    QList<QMetaProperty> parts;
};

const ClassProperties &classProperties(const QMetaObject *meta)
{
    static QHash<const QMetaObject *, ClassProperties> cache;
    auto it = cache.find(meta);
    if (it == cache.end()) {
        ClassProperties c;
        for (const QMetaProperty &p : Reflection::properties(meta)) {
            if (!p.isStored())
                continue;
            if (Reflection::isPart(p))
                c.parts.append(p);
            else if (p.isWritable())
                c.values.append(p);
        }
        it = cache.insert(meta, c);
    }
    return *it;
}

} // namespace

void PropertySnapshot::captureObject(QObject *object)
{
    const ClassProperties &c = classProperties(object->metaObject());
    for (const QMetaProperty &p : c.values)
        m_values.push_back({object, p, p.read(object)});
    for (const QMetaProperty &p : c.parts) {
        if (QObject *part = Reflection::partOf(object, p))
            captureObject(part);
    }
}

PropertyChangeCommand::PropertyChangeCommand(CommandHost *host, const QString &text, const PropertySnapshot &before,
                                             const PropertySnapshot &after, int mergeKey, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_host(host)
    , m_mergeKey(mergeKey)
{
    // Both snapshots list the same objects in the same order.
    const auto &b = before.values();
    const auto &a = after.values();
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        if (b[i].object == a[i].object && b[i].property.propertyIndex() == a[i].property.propertyIndex()
            && b[i].value != a[i].value)
            m_changes.push_back({b[i].object, b[i].property, b[i].value, a[i].value});
    }
}

PropertyChangeCommand::PropertyChangeCommand(CommandHost *host, const QString &text)
    : QUndoCommand(text)
    , m_host(host)
{
}

namespace {

QString objectLabel(const QObject *object)
{
    const QVariant name = object->property("Name");
    if (name.isValid() && !name.toString().isEmpty())
        return name.toString();
    QString cls = QString::fromLatin1(object->metaObject()->className());
    return cls.mid(cls.lastIndexOf(QLatin1Char(':')) + 1);
}

} // namespace

std::unique_ptr<PropertyChangeCommand> PropertyChangeCommand::apply(CommandHost *host, const QString &text,
                                                                    const QList<QObject *> &objects,
                                                                    const QList<PropertyAssignment> &assignments,
                                                                    Status *status)
{
    *status = Status();
    std::unique_ptr<PropertyChangeCommand> command(new PropertyChangeCommand(host, text));
    std::vector<Change> &saved = command->m_changes;
    QSet<QPair<const QObject *, int>> seen;
    const auto save = [&](QObject *holder, const QMetaProperty &meta) {
        if (seen.contains({holder, meta.propertyIndex()}))
            return;
        seen.insert({holder, meta.propertyIndex()});
        saved.push_back({holder, meta, meta.read(holder), QVariant()});
    };

    // Everything an assignment may change is saved before anything is
    // written, so a failure part way can put every object back.
    std::vector<std::pair<QObject *, std::vector<Reflection::Property>>> targets;
    for (QObject *object : objects) {
        if (!object)
            continue;
        std::vector<Reflection::Property> found;
        for (const PropertyAssignment &a : assignments) {
            Status s;
            const Reflection::Property p = Reflection::find(object, a.path, &s);
            if (!p.isValid()) {
                *status = Status::failure(s.number(), s.description(), objectLabel(object));
                return nullptr;
            }
            if (p.meta.isStored()) {
                save(p.object, p.meta);
            } else {
                for (const QMetaProperty &m : Reflection::properties(p.object->metaObject())) {
                    if (m.isStored() && m.isWritable() && !Reflection::isPart(m))
                        save(p.object, m);
                }
            }
            found.push_back(p);
        }
        targets.emplace_back(object, std::move(found));
    }

    ChangeScope scope(host);
    for (const auto &[object, found] : targets) {
        for (size_t i = 0; i < found.size(); ++i) {
            const Status s = Reflection::setValue(found[i], assignments[qsizetype(i)].value);
            if (!s) {
                for (auto it = saved.rbegin(); it != saved.rend(); ++it)
                    write(*it, it->before);
                *status = Status::failure(s.number(), s.description(), objectLabel(object));
                return nullptr;
            }
        }
    }

    for (Change &c : saved)
        c.after = c.property.read(c.object);
    // Keep only what changed: undo and redo then touch nothing else.
    std::erase_if(saved, [](const Change &c) { return c.after == c.before; });
    if (saved.empty())
        return nullptr;
    return command;
}

void PropertyChangeCommand::write(const Change &change, const QVariant &value)
{
    if (change.object && change.property.read(change.object) != value)
        change.property.write(change.object, value);
}

void PropertyChangeCommand::redo()
{
    if (m_applied) {
        m_applied = false;
        return;
    }
    ChangeScope scope(m_host);
    for (const Change &c : m_changes)
        write(c, c.after);
}

void PropertyChangeCommand::undo()
{
    ChangeScope scope(m_host);
    for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it)
        write(*it, it->before);
}

bool PropertyChangeCommand::mergeWith(const QUndoCommand *other)
{
    const auto *o = dynamic_cast<const PropertyChangeCommand *>(other);
    if (!o || o->m_mergeKey != m_mergeKey || m_mergeKey == 0)
        return false;
    for (const Change &c : o->m_changes) {
        auto same = std::find_if(m_changes.begin(), m_changes.end(), [&](const Change &mine) {
            return mine.object == c.object && mine.property.propertyIndex() == c.property.propertyIndex();
        });
        if (same != m_changes.end())
            same->after = c.after;
        else
            m_changes.push_back(c);
    }
    return true;
}

namespace {

template<typename Entry>
void sortEntries(std::vector<Entry> &entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.index < b.index; });
}

} // namespace

ControlsCommand::ControlsCommand(CommandHost *host, Kind kind, const QString &text, std::vector<Entry> entries,
                                 QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_host(host)
    , m_kind(kind)
    , m_entries(std::move(entries))
{
    if (m_kind == Remove) {
        for (Entry &e : m_entries) {
            e.section = e.control->section();
            e.index = e.section ? e.section->controls()->indexOf(e.control) : -1;
        }
        std::erase_if(m_entries, [](const Entry &e) { return e.index < 0; });
    }
    sortEntries(m_entries);
}

ControlsCommand::~ControlsCommand()
{
    // An insertion not in force, or a removal in force, holds the objects.
    if ((m_kind == Insert) == m_applied)
        return;
    for (const Entry &e : m_entries) {
        if (!e.control->parent())
            delete e.control;
    }
}

void ControlsCommand::insertAll()
{
    ChangeScope scope(m_host);
    // Ascending positions, so each lands where it was.
    for (const Entry &e : m_entries)
        e.section->controls()->insert(e.index, e.control);
}

void ControlsCommand::removeAll()
{
    ChangeScope scope(m_host);
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        Controls *controls = it->section->controls();
        controls->take(controls->indexOf(it->control));
    }
}

void ControlsCommand::redo()
{
    m_applied = true;
    if (m_kind == Insert)
        insertAll();
    else
        removeAll();
}

void ControlsCommand::undo()
{
    m_applied = false;
    if (m_kind == Insert)
        removeAll();
    else
        insertAll();
}

SectionsCommand::SectionsCommand(CommandHost *host, Kind kind, const QString &text, Sections *sections,
                                 std::vector<Entry> entries, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_host(host)
    , m_kind(kind)
    , m_sections(sections)
    , m_entries(std::move(entries))
{
    if (m_kind == Remove) {
        for (Entry &e : m_entries)
            e.index = m_sections->indexOf(e.section);
        std::erase_if(m_entries, [](const Entry &e) { return e.index < 0; });
    }
    sortEntries(m_entries);
}

SectionsCommand::~SectionsCommand()
{
    // An insertion not in force, or a removal in force, holds the objects.
    if ((m_kind == Insert) == m_applied)
        return;
    for (const Entry &e : m_entries) {
        if (!e.section->parent())
            delete e.section;
    }
}

void SectionsCommand::insertAll()
{
    ChangeScope scope(m_host);
    for (const Entry &e : m_entries)
        m_sections->insert(e.index, e.section);
}

void SectionsCommand::removeAll()
{
    ChangeScope scope(m_host);
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
        m_sections->take(m_sections->indexOf(it->section));
}

void SectionsCommand::redo()
{
    m_applied = true;
    if (m_kind == Insert)
        insertAll();
    else
        removeAll();
}

void SectionsCommand::undo()
{
    m_applied = false;
    if (m_kind == Insert)
        removeAll();
    else
        insertAll();
}

ControlOrderCommand::ControlOrderCommand(CommandHost *host, const QString &text, Section *section,
                                         std::vector<Control *> before, std::vector<Control *> after,
                                         QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_host(host)
    , m_section(section)
    , m_before(std::move(before))
    , m_after(std::move(after))
{
}

void ControlOrderCommand::apply(const std::vector<Control *> &order)
{
    ChangeScope scope(m_host);
    Controls *controls = m_section->controls();
    while (controls->Count() > 0)
        controls->take(controls->Count() - 1);
    for (Control *c : order)
        controls->insert(-1, c);
}

void ControlOrderCommand::redo() { apply(m_after); }
void ControlOrderCommand::undo() { apply(m_before); }

SectionOrderCommand::SectionOrderCommand(CommandHost *host, const QString &text, Sections *sections,
                                         std::vector<Section *> before, std::vector<Section *> after,
                                         QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_host(host)
    , m_sections(sections)
    , m_before(std::move(before))
    , m_after(std::move(after))
{
}

void SectionOrderCommand::apply(const std::vector<Section *> &order)
{
    ChangeScope scope(m_host);
    while (m_sections->Count() > 0)
        m_sections->take(m_sections->Count() - 1);
    for (Section *s : order)
        m_sections->insert(-1, s);
}

void SectionOrderCommand::redo() { apply(m_after); }
void SectionOrderCommand::undo() { apply(m_before); }

ReportContentCommand::ReportContentCommand(CommandHost *host, const QString &text, Report *design, Report &content,
                                           QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_host(host)
    , m_design(design)
    , m_other(std::make_unique<Report>())
{
    m_other->takeContent(content);
}

ReportContentCommand::~ReportContentCommand() = default;

void ReportContentCommand::swap()
{
    // Sections move between the reports, never deleted, so the pointers
    // other commands hold stay good.
    ChangeScope scope(m_host);
    Report held;
    held.takeContent(*m_design);
    m_design->takeContent(*m_other);
    m_other->takeContent(held);
}

void ReportContentCommand::redo()
{
    swap();
}

void ReportContentCommand::undo()
{
    swap();
}

} // namespace Orv
