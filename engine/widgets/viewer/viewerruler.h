#pragma once
// The viewer's rulers: inches along the top and left of the pages,
// counted from the current page's corner, eighths where there is room.
#include <QWidget>

namespace Orv {

class ViewerRuler : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Thickness = 20;

    explicit ViewerRuler(Qt::Orientation orientation, QWidget *parent = nullptr);

    // origin: where the page's edge is, in this ruler's pixels; extent:
    // the page's length there; scale: pixels per twip.
    void setMapping(double origin, double extent, double scale);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::Orientation m_orientation;
    double m_origin = 0;
    double m_extent = 0;
    double m_scale = 1.0 / 15;
};

} // namespace Orv
