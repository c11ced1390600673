#pragma once

#include <QList>
#include <QMetaProperty>
#include <QMetaType>
#include <QString>

namespace Orv {

// How the property list shows and edits a property.
enum class PropertyKind {
    Text,        // one line of text
    LongText,    // scripts, expressions, rich text, SQL: also a multi-line editor
    FontName,    // the name of a font part: a font family
    Integer,     // a Long within its range
    Number,      // a Double within its range that is not a length (font sizes, line weights)
    Length,      // a position or size in twips, shown in the user's unit
    Boolean,
    Enumeration, // a Long with named values
    Color,       // a colour number 0x00BBGGRR (system colours negative)
    Picture,     // the bytes of an image file
    Font,        // a font part: expandable, with the font dialog
    Part,        // any other nested part (border, page settings, ...): expandable
};

struct EnumValue
{
    int value = 0;
    QString name;
};

// Everything the list needs to know about one property, taken from its
// meta-property, the class's Q_CLASSINFO and the list's own tables.
struct PropertyInfo
{
    QString name;
    QMetaType type;
    PropertyKind kind = PropertyKind::Text;
    QString category;
    bool readOnly = false;
    double minimum = 0;
    double maximum = 0;
    QList<EnumValue> values; // Enumeration: the named values in display order
    bool openValues = false; // Enumeration: other numbers in range are fine too

    bool isPart() const { return kind == PropertyKind::Font || kind == PropertyKind::Part; }
    // The name of value, or an empty text when the table has none.
    QString valueName(int value) const;
    // True when both describe the same kind of property, so one editor can
    // serve objects of both classes.
    bool compatible(const PropertyInfo &other) const;
};

namespace PropertyCategories {
inline const QString Appearance = QStringLiteral("Appearance");
inline const QString Behaviour = QStringLiteral("Behaviour");
inline const QString Data = QStringLiteral("Data");
inline const QString Layout = QStringLiteral("Layout");
inline const QString Misc = QStringLiteral("Misc");
// The categories in the order the list shows them.
QStringList all();
} // namespace PropertyCategories

// Describes property p of objects of class objectClass. Besides the
// built-in tables, a class can steer its own properties with class info:
//   Q_CLASSINFO("category:Backcolor", "Color")
//   Q_CLASSINFO("editor:Backcolor", "color")   (text, longtext, integer,
//                 number, length, boolean, enum, color, picture)
//   Q_CLASSINFO("values:Horizontal", "0 Left|1 Right|2 Center")
// A values table ending in "|..." also accepts numbers not in the table.
// Returns false for properties the list does not show: collections and
// types it cannot edit.
bool describeProperty(const QMetaObject *objectClass, const QMetaProperty &p, PropertyInfo *info);

// The kind a nested text property gets inside a part of the given kind
// (the name of a font is a font family).
PropertyKind childKind(PropertyKind parentKind, const PropertyInfo &child);

} // namespace Orv
