#pragma once
// The rulers beside the design surface, in inches (or centimetres with a
// metric grid). The vertical ruler starts again at 0 at the top of every
// section, as sections print independently of each other. The extent of
// the selection is shaded on both.
#include <QWidget>

namespace Orv {

class DesignView;

class DesignRuler : public QWidget
{
public:
    static constexpr int Thickness = 22;

    DesignRuler(Qt::Orientation orientation, DesignView *view);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawScale(QPainter &p, double from, double to, double origin, double scale);

    Qt::Orientation m_orientation;
    DesignView *m_view;
};

} // namespace Orv
