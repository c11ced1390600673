#pragma once

#include "engine/core/status.h"
#include "engine/widgets/propertylist/propertyinfo.h"

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <QVariant>

namespace Orv {

// The unit positions and sizes are shown in. The model keeps twips.
enum class LengthUnit { Inches, Centimetres };

// Text forms of property values as the list shows them, and the parsing
// of what users type. Numbers use '.' as the decimal point (',' is also
// read); lengths are in the list's unit unless the text names its own.
namespace PropertyText {

QString unitSuffix(LengthUnit unit); // "in", "cm"

// Twips as "1.5 in" or "2.54 cm", with enough decimals that every whole
// number of twips reads back unchanged.
QString formatLength(double twips, LengthUnit unit);
// Reads "1.25", "1.25 in", "3cm", "20 mm", "72pt", "1440 twips" into whole
// twips (rounded to the nearest); error 13 when the text is not a length.
Status parseLength(const QString &text, LengthUnit unit, double *twips);

// Colour numbers: "#RRGGBB" for plain colours, the system colour's name
// for system colours ("Button Face").
QString formatColor(int number);
// Reads "#RRGGBB", "#RGB", "R, G, B", a colour name ("navy"), a system
// colour's name, a colour number in decimal or as "&H00BBGGRR&".
Status parseColor(const QString &text, int *number);
// What a colour number looks like on paper (system colours take their
// classic defaults, as the report run draws them).
QRgb colorRgb(int number);
// The colour number of an RGB colour.
int colorNumber(QRgb rgb);

// A short description of picture bytes: "PNG image, 16 × 16 pixels" or
// "(none)".
QString describePicture(const QByteArray &bytes);
// Reads an image file for a picture property: error 53 when it does not
// exist, 75 when it cannot be read, 321 when it is not an image Qt can
// read, 380 beyond MaxPictureBytes.
constexpr qint64 MaxPictureBytes = 16 * 1024 * 1024;
Status loadPicture(const QString &path, QByteArray *bytes);

// The text shown for a value of a property (not for parts).
QString format(const PropertyInfo &info, const QVariant &value, LengthUnit unit);
// Parses typed text into a value the property accepts, checking its range;
// errors 13 (not a value of the kind) and 380 (out of range or not one of
// the named values) carry a description saying what was expected.
Status parse(const PropertyInfo &info, const QString &text, LengthUnit unit, QVariant *value);
// Checks a value of the right type against the property's range and table.
Status check(const PropertyInfo &info, const QVariant &value, LengthUnit unit);

} // namespace PropertyText

} // namespace Orv
