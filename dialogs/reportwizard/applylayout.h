#pragma once
// Puts a layout made elsewhere (the wizard's, generated into a copy) into
// the designer's report as one step of its undo history.
#include <QString>

namespace Orv {

class DesignerCore;
class Report;

// Moves source's sections into the designed report in place of its own,
// and copies its report-wide properties, as one undo step named text.
// source is left without sections.
void replaceLayoutAsOneStep(DesignerCore &designer, Report &source, const QString &text);

} // namespace Orv
