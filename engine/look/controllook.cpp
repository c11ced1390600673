#include "engine/look/controllook.h"

#include "engine/core/units.h"
#include "engine/model/parts.h"

#include <iterator>

namespace Orv::Look {

namespace {

struct SystemColor
{
    const char *name;
    QRgb rgb;
};

// Windows' system colour indexes with their names and classic defaults.
constexpr SystemColor systemColors[] = {
    {"Scroll Bars", 0xffc8c8c8},        {"Desktop", 0xff000000},
    {"Active Title Bar", 0xff99b4d1},   {"Inactive Title Bar", 0xffbfcddb},
    {"Menu Bar", 0xfff0f0f0},           {"Window Background", 0xffffffff},
    {"Window Frame", 0xff646464},       {"Menu Text", 0xff000000},
    {"Window Text", 0xff000000},        {"Active Title Bar Text", 0xff000000},
    {"Active Border", 0xffb4b4b4},      {"Inactive Border", 0xfff4f7fc},
    {"Application Workspace", 0xffababab}, {"Highlight", 0xff3399ff},
    {"Highlight Text", 0xffffffff},     {"Button Face", 0xfff0f0f0},
    {"Button Shadow", 0xffa0a0a0},      {"Disabled Text", 0xff6d6d6d},
    {"Button Text", 0xff000000},        {"Inactive Title Bar Text", 0xff434e54},
    {"Button Highlight", 0xffffffff},   {"Button Dark Shadow", 0xff696969},
    {"Button Light Shadow", 0xffe3e3e3}, {"ToolTip Text", 0xff000000},
    {"ToolTip", 0xffffffe1},
};

} // namespace

QRgb color(int c)
{
    if (c < 0) {
        const int index = c & 0xff;
        const bool system = (unsigned(c) & 0xFFFFFF00u) == 0x80000000u && index < systemColorCount();
        return system ? systemColors[index].rgb : 0xff000000;
    }
    return qRgb(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

int systemColorCount()
{
    return int(std::size(systemColors));
}

QString systemColorName(int index)
{
    return index >= 0 && index < systemColorCount() ? QString::fromLatin1(systemColors[index].name) : QString();
}

QRgb systemColorRgb(int index)
{
    return index >= 0 && index < systemColorCount() ? systemColors[index].rgb : 0xff000000;
}

Qt::PenStyle lineStyle(int style)
{
    switch (style) {
    case 1: return Qt::SolidLine;
    case 2: return Qt::DashLine;
    case 3: return Qt::DotLine;
    case 4: return Qt::DashDotLine;
    case 5: return Qt::DashDotDotLine;
    default: return Qt::NoPen;
    }
}

PagePen borderPen(int style, int colorNumber)
{
    constexpr double Pixel = Units::TwipsPerPixel;
    PagePen pen;
    pen.color = color(colorNumber);
    if (style <= 0 || style > 13) {
        pen.style = Qt::NoPen;
        return pen;
    }
    const int base = style == 13 ? 1 : (style > 6 ? style - 6 : style);
    pen.style = base == 6 ? Qt::SolidLine : lineStyle(base);
    pen.width = style == 13 ? 3 * Pixel : (style > 6 || base == 6 ? 2 * Pixel : Pixel);
    return pen;
}

Qt::Alignment textAlignment(int alignment, int verticalAlignment)
{
    Qt::Alignment a;
    switch (alignment) {
    case 1: a = Qt::AlignRight; break;
    case 2: a = Qt::AlignHCenter; break;
    case 3: a = Qt::AlignJustify; break;
    default: a = Qt::AlignLeft; break;
    }
    switch (verticalAlignment) {
    case 1: a |= Qt::AlignVCenter; break;
    case 2: a |= Qt::AlignBottom; break;
    default: a |= Qt::AlignTop; break;
    }
    return a;
}

Qt::Alignment pictureAlignment(int value)
{
    switch (value) {
    case 0: return Qt::AlignLeft | Qt::AlignTop;
    case 1: return Qt::AlignRight | Qt::AlignTop;
    case 3: return Qt::AlignLeft | Qt::AlignBottom;
    case 4: return Qt::AlignRight | Qt::AlignBottom;
    default: return Qt::AlignCenter;
    }
}

PageFont pageFont(const Font &font)
{
    PageFont f;
    f.family = font.name();
    f.pointSize = font.size();
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeOut = font.strikethrough();
    return f;
}

} // namespace Orv::Look
