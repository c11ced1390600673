#include "engine/model/chart.h"
#include "engine/model/controls.h"

#include <algorithm>
#include <cmath>

namespace Orv {

double Line::left() const { return std::min(x1(), x2()); }
double Line::top() const { return std::min(y1(), y2()); }
double Line::width() const { return std::abs(x2() - x1()); }
double Line::height() const { return std::abs(y2() - y1()); }

void Line::setLeft(double value)
{
    const double shift = value - left();
    setX1(x1() + shift);
    setX2(x2() + shift);
}

void Line::setTop(double value)
{
    const double shift = value - top();
    setY1(y1() + shift);
    setY2(y2() + shift);
}

// Resizing keeps the left (top) end where it is and moves the other.
void Line::setWidth(double value)
{
    if (x2() >= x1())
        setX2(x1() + value);
    else
        setX1(x2() + value);
}

void Line::setHeight(double value)
{
    if (y2() >= y1())
        setY2(y1() + value);
    else
        setY1(y2() + value);
}

ChartTitle::ChartTitle(QObject *parent)
    : ModelObject(parent)
{
    m_location->setLocationType(1); // a title stands at the top
    m_vtFont->setSize(12);
    m_vtFont->setBold(true);
}

Chart::Chart(QObject *parent)
    : BoxControl(4320, 2880, parent)
{
    m_axisFont->setSize(8);
}

} // namespace Orv
