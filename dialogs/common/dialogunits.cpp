#include "dialogs/common/dialogunits.h"

#include "engine/core/units.h"

#include <QCoreApplication>

#include <cmath>

namespace Orv::DialogUnits {

LengthUnit localeUnit(const QLocale &locale)
{
    return locale.measurementSystem() == QLocale::MetricSystem ? LengthUnit::Centimetres : LengthUnit::Inches;
}

QString unitName(LengthUnit unit)
{
    return unit == LengthUnit::Centimetres ? QCoreApplication::translate("DialogUnits", "厘米")
                                           : QCoreApplication::translate("DialogUnits", "英寸");
}

QString formatLength(double twips, LengthUnit unit)
{
    const bool cm = unit == LengthUnit::Centimetres;
    const double factor = cm ? Units::TwipsPerCm : Units::TwipsPerInch;
    const double value = twips / factor;
    // The fewest decimals that still read back as the same whole twips
    // (A4's 11906 twips show as 21 cm, not 21.001).
    const int most = cm ? 3 : 4;
    QString text;
    for (int decimals = 0; decimals <= most; ++decimals) {
        text = QString::number(value, 'f', decimals);
        if (twips == std::round(twips) && std::round(text.toDouble() * factor) == twips)
            break;
    }
    while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

Status parseLength(const QString &text, LengthUnit unit, double *twips)
{
    if (text.trimmed().isEmpty())
        return Status::failure(ErrTypeMismatch, QCoreApplication::translate("DialogUnits", "Type a number of %1.").arg(unitName(unit)));
    return PropertyText::parseLength(text, unit, twips);
}

void LengthValue::load(double twips, LengthUnit unit)
{
    m_twips = twips;
    m_unit = unit;
    m_shown = formatLength(twips, unit);
    m_text = m_shown;
}

Status LengthValue::twips(double *value) const
{
    if (m_text.trimmed() == m_shown) {
        *value = m_twips;
        return Status();
    }
    return parseLength(m_text, m_unit, value);
}

} // namespace Orv::DialogUnits
