#pragma once
// The design surface as a graphics scene in twips: one band per section
// (a title bar with the section's name above its body), one item per
// control, drawn by the control type's design painter. Band backgrounds and
// the grid are drawn as the scene's background, which the view caches.
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHash>

#include <vector>

namespace Orv {

class Control;
class DesignerCore;
class ModelObject;
class Section;

class ControlItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    explicit ControlItem(Control *control);
    Control *control() const { return m_control; }
    // Takes position and size from the control again, and its look when
    // lookChanged (a change of size always redraws it).
    void refresh(bool lookChanged = true);

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    Control *m_control;
    QRectF m_box;    // the control's box in item coordinates
    QLineF m_line;   // a line's ends in item coordinates
    bool m_isLine;
};

// Holds a section's control items at the top of the section's body and
// clips them to it, as the section clips them when printed.
class BandContainer : public QGraphicsItem
{
public:
    BandContainer();
    void setSize(const QSizeF &size);
    void setClipping(bool clip);
    QRectF boundingRect() const override { return QRectF(QPointF(0, 0), m_size); }
    void paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *) override {}

private:
    QSizeF m_size;
};

struct BandGeometry
{
    Section *section = nullptr;
    double barTop = 0;
    double bodyTop = 0;
    double height = 0;
    double bodyBottom() const { return bodyTop + height; }
};

class DesignScene : public QGraphicsScene
{
    Q_OBJECT

public:
    static constexpr double BarHeight = 300; // twips: 20 pixels at full size

    explicit DesignScene(DesignerCore *core, QObject *parent = nullptr);

    DesignerCore *core() const { return m_core; }
    const std::vector<BandGeometry> &bands() const { return m_bands; }
    // The band whose bar or body holds y, or null below the last.
    const BandGeometry *bandAt(double y) const;
    const BandGeometry *bandOf(const Section *section) const;
    ControlItem *itemFor(const Control *control) const { return m_items.value(control); }
    double printWidth() const;
    // Scene position of a control's box.
    QRectF sceneRectOf(const Control *control) const;

    // Brings bands and items in line with the report.
    void rebuild();
    // Off while controls are dragged, so they stay visible between bands.
    void setClipping(bool clip);

Q_SIGNALS:
    // Band positions or sizes changed (the rulers follow them).
    void bandsChanged();

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;

private:
    void layoutBands();
    void onObjectChanged(ModelObject *object);
    void drawGrid(QPainter *painter, const QRectF &area);

    DesignerCore *m_core;
    std::vector<BandGeometry> m_bands;
    QHash<const Section *, BandContainer *> m_containers;
    QHash<const Control *, ControlItem *> m_items;
};

} // namespace Orv
