#pragma once
// Lengths as the dialogs show them: inches or centimetres, as the user's
// locale measures, while the model keeps twips. A value shown and not
// touched keeps its exact twips; a value typed is rounded to whole twips,
// and shown again it reads back the same in either unit.
#include "engine/core/status.h"
#include "engine/widgets/propertylist/propertytext.h"

#include <QLocale>
#include <QString>

namespace Orv::DialogUnits {

// Inches where the locale measures in them (US, UK), centimetres elsewhere.
LengthUnit localeUnit(const QLocale &locale = QLocale());
// "英寸" or "厘米", translated.
QString unitName(LengthUnit unit);
// The number alone, with the fewest decimals (at most 4 of an inch or 3
// of a centimetre) that read back as the same twips: "0.75", "8.5", "21".
QString formatLength(double twips, LengthUnit unit);
// A number in unit, or with a unit of its own ("2 cm", "0.5 in", "20 mm");
// error 13 naming the text when it is not a length.
Status parseLength(const QString &text, LengthUnit unit, double *twips);

// One length box: the value it was loaded with and the text it holds now.
class LengthValue
{
public:
    LengthValue() = default;
    LengthValue(double twips, LengthUnit unit) { load(twips, unit); }

    void load(double twips, LengthUnit unit);
    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    // The twips the text stands for: the loaded value itself while the text
    // is as it was shown, so an untouched box never drifts.
    Status twips(double *value) const;

private:
    double m_twips = 0;
    LengthUnit m_unit = LengthUnit::Inches;
    QString m_shown;
    QString m_text;
};

} // namespace Orv::DialogUnits
