#include "engine/widgets/propertylist/propertyedit.h"

#include "engine/model/reflection.h"

#include <QSet>
#include <QUndoStack>

namespace Orv {

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

std::unique_ptr<PropertyEditCommand> PropertyEditCommand::apply(const QList<QObject *> &objects,
                                                                const QList<PropertyAssignment> &assignments,
                                                                Status *status)
{
    *status = Status();
    std::unique_ptr<PropertyEditCommand> command(new PropertyEditCommand);
    QSet<QPair<const QObject *, int>> seen;
    const auto save = [&](QObject *holder, const QMetaProperty &meta) {
        if (seen.contains({holder, meta.propertyIndex()}))
            return;
        seen.insert({holder, meta.propertyIndex()});
        command->m_saved.push_back({holder, meta, meta.read(holder), QVariant()});
    };

    // Everything an assignment may change is saved before anything is
    // written, so a failure part way can put every object back.
    std::vector<std::pair<QObject *, std::vector<Reflection::Property>>> targets;
    for (QObject *object : objects) {
        if (!object)
            continue;
        command->m_objects.append(object);
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

    for (const auto &[object, found] : targets) {
        for (size_t i = 0; i < found.size(); ++i) {
            const Status s = Reflection::setValue(found[i], assignments[qsizetype(i)].value);
            if (!s) {
                for (auto it = command->m_saved.rbegin(); it != command->m_saved.rend(); ++it)
                    restore(*it, it->before);
                *status = Status::failure(s.number(), s.description(), objectLabel(object));
                return nullptr;
            }
        }
    }

    bool changed = false;
    for (Saved &saved : command->m_saved) {
        saved.after = saved.meta.read(saved.holder);
        changed = changed || saved.after != saved.before;
    }
    if (!changed)
        return nullptr;
    // Keep only what changed: undo and redo then touch nothing else.
    std::erase_if(command->m_saved, [](const Saved &s) { return s.after == s.before; });
    return command;
}

void PropertyEditCommand::restore(const Saved &saved, const QVariant &value)
{
    if (saved.holder && saved.meta.read(saved.holder) != value)
        saved.meta.write(saved.holder, value);
}

void PropertyEditCommand::undo()
{
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
        restore(*it, it->before);
}

void PropertyEditCommand::redo()
{
    for (const Saved &saved : m_saved)
        restore(saved, saved.after);
}

QList<QObject *> PropertyEditCommand::objects() const
{
    QList<QObject *> out;
    for (const QPointer<QObject> &o : m_objects) {
        if (o)
            out.append(o);
    }
    return out;
}

Status applyPropertyEdit(const QList<QObject *> &objects, const QList<PropertyAssignment> &assignments,
                         QUndoStack *stack, const QString &text)
{
    Status status;
    std::unique_ptr<PropertyEditCommand> command = PropertyEditCommand::apply(objects, assignments, &status);
    if (command && stack) {
        command->setText(text);
        // The values are in place already; push runs redo, which finds
        // nothing to write.
        stack->push(command.release());
    }
    return status;
}

} // namespace Orv
