#pragma once
// Undo commands of the designer. Every user action becomes one command (or
// one macro of commands) on the designer's QUndoStack, so undoing it gives
// back the layout as it was, byte for byte.
//
// Objects taken out of the report are not deleted: the command whose
// present state keeps them out (a removal done, an insertion undone) owns
// them, and deletes them only when it is itself deleted. So the pointers
// other commands hold stay valid for as long as those commands can run.
#include "engine/core/status.h"

#include <QList>
#include <QMetaProperty>
#include <QPointer>
#include <QString>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVariant>

#include <memory>
#include <vector>

namespace Orv {

class Control;
class Report;
class Section;
class Sections;

// Told around every change a command makes, so the designer can bring its
// view up to date once per command rather than once per property.
class CommandHost
{
public:
    virtual ~CommandHost() = default;
    virtual void beginChange() = 0;
    virtual void endChange() = 0;
};

// The designer's undo stack: it knows the host its commands report their
// changes to, so an edit pushed from outside the designer (the property
// list) is told around its changes like the designer's own.
class CommandStack : public QUndoStack
{
    Q_OBJECT

public:
    explicit CommandStack(CommandHost *host, QObject *parent = nullptr) : QUndoStack(parent), m_host(host) {}
    CommandHost *host() const { return m_host; }

    // The host of stack when it is a CommandStack, else null.
    static CommandHost *hostOf(const QUndoStack *stack)
    {
        const auto *commands = qobject_cast<const CommandStack *>(stack);
        return commands ? commands->m_host : nullptr;
    }

private:
    CommandHost *m_host;
};

class ChangeScope
{
public:
    explicit ChangeScope(CommandHost *host) : m_host(host)
    {
        if (m_host)
            m_host->beginChange();
    }
    ~ChangeScope()
    {
        if (m_host)
            m_host->endChange();
    }
    ChangeScope(const ChangeScope &) = delete;
    ChangeScope &operator=(const ChangeScope &) = delete;

private:
    CommandHost *m_host;
};

// The stored, writable property values of some objects and their parts,
// taken before and after an edit; the difference becomes a command.
class PropertySnapshot
{
public:
    struct Value
    {
        QPointer<QObject> object;
        QMetaProperty property;
        QVariant value;
    };

    void capture(const std::vector<QObject *> &objects);
    const std::vector<Value> &values() const { return m_values; }

private:
    void captureObject(QObject *object);
    std::vector<Value> m_values;
};

// One value for one property path ("Left", "Font.Bold").
struct PropertyAssignment
{
    QString path;
    QVariant value;
};

// Property changes, the one undo step of every property edit, whether made
// by the designer's actions and mouse or typed into the property list:
// each entry's stored value before and after. Undo puts back exactly what
// was there: for a property derived from others (a line's Left moves its
// end points) the stored properties of its holder are kept, never a
// recomputed value. Commands with the same non-zero merge key join into
// one (repeated arrow-key moves).
class PropertyChangeCommand : public QUndoCommand
{
public:
    struct Change
    {
        QPointer<QObject> object; // the object or its part
        QMetaProperty property;
        QVariant before;
        QVariant after;
    };

    // The changes between two snapshots of the same objects; the edit has
    // already been made, so the first redo does nothing.
    PropertyChangeCommand(CommandHost *host, const QString &text, const PropertySnapshot &before,
                          const PropertySnapshot &after, int mergeKey = 0, QUndoCommand *parent = nullptr);

    // Sets every assignment on every object, told to host. All or nothing:
    // when a write fails, the values already written are put back and the
    // failure is returned with the object's name as its source. Returns
    // null (and success) when no value actually changed. The values are in
    // place when it returns, so the first redo does nothing.
    static std::unique_ptr<PropertyChangeCommand> apply(CommandHost *host, const QString &text,
                                                        const QList<QObject *> &objects,
                                                        const QList<PropertyAssignment> &assignments,
                                                        Status *status);

    bool isEmpty() const { return m_changes.empty(); }
    const std::vector<Change> &changes() const { return m_changes; }

    void redo() override;
    void undo() override;
    int id() const override { return m_mergeKey ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    PropertyChangeCommand(CommandHost *host, const QString &text);
    static void write(const Change &change, const QVariant &value);

    CommandHost *m_host;
    std::vector<Change> m_changes;
    int m_mergeKey = 0;
    bool m_applied = true;
};

// Puts controls into sections or takes them out. Entries are kept in the
// order they were given; positions are the controls' indexes in their
// section when inserted.
class ControlsCommand : public QUndoCommand
{
public:
    enum Kind { Insert, Remove };
    struct Entry
    {
        Control *control = nullptr;
        Section *section = nullptr;
        int index = -1;
    };

    // For Remove the entries are taken from the report as they stand now.
    ControlsCommand(CommandHost *host, Kind kind, const QString &text, std::vector<Entry> entries,
                    QUndoCommand *parent = nullptr);
    ~ControlsCommand() override;

    void redo() override;
    void undo() override;

private:
    void insertAll();
    void removeAll();

    CommandHost *m_host;
    Kind m_kind;
    bool m_applied = false;
    std::vector<Entry> m_entries; // by ascending index
};

// Puts sections into the report or takes them out, with their controls.
class SectionsCommand : public QUndoCommand
{
public:
    enum Kind { Insert, Remove };
    struct Entry
    {
        Section *section = nullptr;
        int index = -1;
    };

    SectionsCommand(CommandHost *host, Kind kind, const QString &text, Sections *sections, std::vector<Entry> entries,
                    QUndoCommand *parent = nullptr);
    ~SectionsCommand() override;

    void redo() override;
    void undo() override;

private:
    void insertAll();
    void removeAll();

    CommandHost *m_host;
    Kind m_kind;
    bool m_applied = false;
    Sections *m_sections;
    std::vector<Entry> m_entries;
};

// A new order of a section's controls (z-order) or of the report's
// sections (group order).
class ControlOrderCommand : public QUndoCommand
{
public:
    ControlOrderCommand(CommandHost *host, const QString &text, Section *section, std::vector<Control *> before,
                        std::vector<Control *> after, QUndoCommand *parent = nullptr);
    void redo() override;
    void undo() override;

private:
    void apply(const std::vector<Control *> &order);
    CommandHost *m_host;
    Section *m_section;
    std::vector<Control *> m_before;
    std::vector<Control *> m_after;
};

class SectionOrderCommand : public QUndoCommand
{
public:
    SectionOrderCommand(CommandHost *host, const QString &text, Sections *sections, std::vector<Section *> before,
                        std::vector<Section *> after, QUndoCommand *parent = nullptr);
    void redo() override;
    void undo() override;

private:
    void apply(const std::vector<Section *> &order);
    CommandHost *m_host;
    Sections *m_sections;
    std::vector<Section *> m_before;
    std::vector<Section *> m_after;
};

// Replaces the whole design by a report made elsewhere (an import, a
// generated layout): one step that undo takes back to the design as it was.
// The command holds whichever content is out of the report.
class ReportContentCommand : public QUndoCommand
{
public:
    // Takes content's sections and properties; the design is replaced on
    // the first redo (QUndoStack::push).
    ReportContentCommand(CommandHost *host, const QString &text, Report *design, Report &content,
                         QUndoCommand *parent = nullptr);
    ~ReportContentCommand() override;

    void redo() override;
    void undo() override;

private:
    void swap();
    CommandHost *m_host;
    Report *m_design;
    std::unique_ptr<Report> m_other;
};

} // namespace Orv
