#pragma once

#include "engine/core/status.h"

#include <QMetaProperty>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// One reflection over the model's Q_PROPERTY declarations, shared by the
// layout file, the property list and the script host. Property names
// compare without regard to case; a dotted path ("Font.Bold") reaches the
// properties of a nested part.
namespace Orv::Reflection {

// The largest position or size accepted, in twips (about 350 metres).
double maxTwips();

// A property found on an object: the object that holds it (a part for
// dotted paths) and its meta-property.
struct Property
{
    QObject *object = nullptr;
    QMetaProperty meta;
    bool isValid() const { return object && meta.isValid(); }
};

// The model's own properties of a class in declaration order: QObject's
// objectName is left out, and a property redeclared by a subclass is
// listed once, where the subclass declares it.
QList<QMetaProperty> properties(const QMetaObject *metaObject);

// True for a property that holds a nested part (font, border, ...).
bool isPart(const QMetaProperty &property);
QObject *partOf(const QObject *object, const QMetaProperty &property);

Property find(QObject *object, const QString &path, Status *status = nullptr);

// The allowed range of a numeric property. Doubles default to positions
// (-maxTwips to maxTwips), integers to their full range.
void range(const QMetaProperty &property, double *minimum, double *maximum);

// Reads and writes through a path. A write converts the value to the
// property's type (13 type mismatch when it cannot), checks the range
// (380 invalid property value) and refuses read-only properties (383).
QVariant value(QObject *object, const QString &path, Status *status = nullptr);
Status setValue(QObject *object, const QString &path, const QVariant &value);
Status setValue(const Property &property, const QVariant &value);

// The text form used by the layout file: booleans "true"/"false", numbers
// in the shortest form that reads back exactly, byte arrays in base64.
QString toText(const QVariant &value);
// Parses text for a property of the given meta type; false when it does
// not read as one.
bool fromText(const QString &text, QMetaType type, QVariant *value);

// Copies every stored, writable property of source onto target (same
// class or a base of it), descending into parts.
void copyProperties(const QObject *source, QObject *target);

} // namespace Orv::Reflection
