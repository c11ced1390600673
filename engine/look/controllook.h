#pragma once
// How the model's numbers for colours, borders, lines, fonts and
// alignments look on a page. The report run and the designer both draw
// controls through these, so a control looks the same in both.
#include "engine/pages/page.h"

#include <QRgb>
#include <QString>

namespace Orv {
class Font;
}

namespace Orv::Look {

// Colour numbers as stored: 0x00BBGGRR, or negative for a system colour
// (0x800000nn, nn its index), drawn with Windows' classic defaults.
QRgb color(int colorNumber);
int systemColorCount();
// Index 0 to systemColorCount() - 1; the name as colour pickers show it.
QString systemColorName(int index);
QRgb systemColorRgb(int index);

// Line styles 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot; other
// values draw nothing.
Qt::PenStyle lineStyle(int style);
// Border styles: 1-6 thin (6 solid inside), 7-12 the same thick, 13 extra
// thick solid; other values draw nothing.
PagePen borderPen(int style, int colorNumber);

// Alignment 0 left, 1 right, 2 centre, 3 justified; vertical 0 top,
// 1 middle, 2 bottom.
Qt::Alignment textAlignment(int alignment, int verticalAlignment);
// Picture alignment 0 top left, 1 top right, 3 bottom left, 4 bottom
// right, anything else centred.
Qt::Alignment pictureAlignment(int value);

PageFont pageFont(const Font &font);

} // namespace Orv::Look
