#pragma once

#include "engine/core/status.h"
#include "engine/widgets/propertylist/propertyedit.h"
#include "engine/widgets/propertylist/propertyinfo.h"
#include "engine/widgets/propertylist/propertytext.h"

#include <QObject>
#include <QPointer>
#include <QVariant>

#include <memory>
#include <vector>

class QFont;
class QUndoStack;

namespace Orv {

class Report;

// A property the shown objects have in common, with its value when they
// all agree. Parts (font, border) hold their own properties as children.
struct PropertyNode
{
    PropertyInfo info;
    QString path;          // "Font.Size"
    QVariant value;        // the common value; invalid when mixed or a part
    bool mixed = false;    // the objects disagree
    PropertyNode *parent = nullptr;
    std::vector<std::unique_ptr<PropertyNode>> children;

    const PropertyNode *child(const QString &name) const;
};

// The objects the property list shows and the properties they share. With
// several objects only the properties all have (same name, same kind) are
// listed, and a value only where all agree.
//
// The set follows the objects: when one is destroyed it leaves the set, and
// when a report an object belongs to reports a change the values are read
// again. Both happen from the event loop, once for a burst of changes;
// rebuild() and refreshValues() do it at once.
class PropertySet : public QObject
{
    Q_OBJECT

public:
    explicit PropertySet(QObject *parent = nullptr);
    ~PropertySet() override;

    void clear();
    void addObject(QObject *object);
    void setObjects(const QList<QObject *> &objects);
    QList<QObject *> objects() const;
    int objectCount() const { return int(m_objects.size()); }

    const std::vector<std::unique_ptr<PropertyNode>> &nodes() const { return m_nodes; }
    // A node by its path ("Font.Size"), without regard to case.
    const PropertyNode *node(const QString &path) const;

    void rebuild();
    // Reads the values again; returns whether any shown value changed.
    bool refreshValues();

    // Edits go through the stack as one undo step each when one is set.
    void setUndoStack(QUndoStack *stack);
    QUndoStack *undoStack() const { return m_stack; }
    void setUnit(LengthUnit unit) { m_unit = unit; }
    LengthUnit unit() const { return m_unit; }

    // Sets a property on every object from typed text, in the set's unit.
    Status setText(const QString &path, const QString &text);
    // Sets a property on every object to a value of its type (a bool, a
    // colour number, picture bytes, ...).
    Status setValue(const QString &path, const QVariant &value);
    // Sets a font part's name, size and styles from a chosen font.
    Status setFont(const QString &path, const QFont &font);
    // Several assignments as one edit.
    Status apply(const QList<PropertyAssignment> &assignments, const QString &text);

    // A font part's common values as a font (name, size, styles); mixed
    // values take the first object's.
    QFont font(const QString &path) const;
    // A short text for a font part: "Arial, 10 pt, Bold".
    QString fontSummary(const QString &path) const;

Q_SIGNALS:
    // The nodes are about to be replaced; pointers to them become invalid.
    void aboutToRebuild();
    // The list of properties was rebuilt (objects added, removed or gone).
    void rebuilt();
    // Values were read again and some changed.
    void valuesChanged();

private:
    void track(QObject *object);
    void objectDestroyed(QObject *object);
    void scheduleRebuild();
    void scheduleRefresh();
    void buildChildren(PropertyNode *parent, const QList<QObject *> &holders);
    bool readValues(PropertyNode *node, const QList<QObject *> &objects);

    QList<QPointer<QObject>> m_objects;
    QList<QObject *> m_raw; // same order, for identity checks in destroyed()
    QList<QPointer<Report>> m_reports;
    std::vector<std::unique_ptr<PropertyNode>> m_nodes;
    QPointer<QUndoStack> m_stack;
    LengthUnit m_unit = LengthUnit::Inches;
    bool m_rebuildPending = false;
    bool m_refreshPending = false;
};

} // namespace Orv
