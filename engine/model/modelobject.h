#pragma once

#include <QObject>

namespace Orv {

class Report;

// Base of every object of the report model (report, page settings,
// sections, controls and their font, border and chart parts). Properties are
// declared with Q_PROPERTY so that the layout file, the property list and the
// script host all reach them through one reflection. A change through a
// setter marks the owning report as modified.
class ModelObject : public QObject
{
    Q_OBJECT

public:
    explicit ModelObject(QObject *parent = nullptr);

    // The report this object belongs to, or null while it is detached.
    Report *report() const;

protected:
    void markModified();
};

} // namespace Orv

// Declares the storage, getter and setter of a plain property; the matching
// Q_PROPERTY line is written out in the class, since moc does not expand
// macros. The setter marks the report modified only on a real change.
#define ORV_VALUE(Type, getter, setter, initial)                                   \
public:                                                                            \
    Type getter() const { return m_##getter; }                                     \
    void setter(const Type &value)                                                 \
    {                                                                              \
        if (m_##getter == value)                                                   \
            return;                                                                \
        m_##getter = value;                                                        \
        markModified();                                                            \
    }                                                                              \
                                                                                   \
private:                                                                           \
    Type m_##getter = initial;

// The same for a property whose C++ type is an enum class: scripts, the
// layout file and the property list reach it as a number through
// codeGetter and codeSetter, which the Q_PROPERTY line names; the range
// declared for it is checked on writes by name before codeSetter runs.
#define ORV_CODED(Enum, getter, setter, codeGetter, codeSetter, initial)         \
public:                                                                            \
    Enum getter() const { return m_##getter; }                                     \
    void setter(Enum value)                                                        \
    {                                                                              \
        if (m_##getter == value)                                                   \
            return;                                                                \
        m_##getter = value;                                                        \
        markModified();                                                            \
    }                                                                              \
    int codeGetter() const { return int(m_##getter); }                             \
    void codeSetter(int value) { setter(Enum(value)); }                            \
                                                                                   \
private:                                                                           \
    Enum m_##getter = initial;

// A nested part object (font, border, ...) owned by its parent and reached
// through a read-only QObject* property.
#define ORV_PART(Type, getter)                                                     \
public:                                                                            \
    Type *getter() const { return m_##getter; }                                    \
                                                                                   \
private:                                                                           \
    Type *m_##getter = new Type(this);
