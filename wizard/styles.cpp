#include "wizard/styles.h"

namespace Orv::Wizard {

std::array<StyleType, StyleCount> buildStyleTable()
{
    const QString times = QStringLiteral("Times New Roman");
    const QString arial = QStringLiteral("Arial");
    const QString haettenschweiler = QStringLiteral("Haettenschweiler");
    // Name, bold, italic, size.
    const StyleFont boldTitle{times, true, false, 20};
    const StyleFont arialTitle{arial, true, false, 20};
    const StyleFont arialCaption{arial, true, false, 10};
    const StyleFont timesDetail{times, false, false, 9};
    const StyleFont arialDetail{arial, false, false, 9};

    return {{
        {QStringLiteral("Bold"), boldTitle, arialCaption, timesDetail, -1, 1, 0x000000, 3},
        {QStringLiteral("Casual"), arialTitle, arialCaption, arialDetail, -1, 5, 0xC0C000, 3},
        {QStringLiteral("Compact"), {haettenschweiler, false, false, 28}, {haettenschweiler, true, false, 10}, arialDetail,
         -1, 1, 0x000000, 1},
        {QStringLiteral("Corporate"), {times, true, true, 20}, {times, true, true, 10}, arialDetail, -1, 1, 0xC0C0C0, 5},
        {QStringLiteral("Formal"), boldTitle, {QStringLiteral("Time New Roman"), true, false, 10}, timesDetail, -1, 1,
         0x000000, 1},
        {QStringLiteral("Soft Gray"), arialTitle, arialCaption, timesDetail, 0xC0C0C0, 0, 0x000000, 1},
    }};
}

} // namespace Orv::Wizard
