#pragma once
// The view of the design surface: rulers, zoom, selection handles, and the
// mouse and keys of designing (select, rubber band, move, resize, drag a
// section's bottom edge, draw a new control, edit a caption in place).
#include <QGraphicsView>
#include <QLineF>
#include <QPointer>
#include <QRectF>

#include "engine/widgets/designer/designeractions.h"
#include "engine/widgets/designer/designereditor.h"

#include <vector>

namespace Orv {

class Control;
class DesignerCore;
class DesignRuler;
class DesignScene;
class Section;
struct BandGeometry;

class DesignView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit DesignView(DesignerCore *core, QWidget *parent = nullptr);
    ~DesignView() override;

    DesignScene *designScene() const { return m_scene; }
    DesignerCore *core() const { return m_core; }

    // 1 is full size (96 dpi); kept between 0.1 and 8.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);

    bool beginTextEdit(Control *control);
    // Ends an open edit, keeping its text or not.
    void endTextEdit(bool keep);
    InPlaceEditor *textEditor() const { return m_editor; }

    // Viewport rectangle of a control's box (tests, tooltips).
    QRect viewportRectOf(const Control *control) const;

Q_SIGNALS:
    void contextMenuRequested(Orv::ContextMenuKind kind, const QString &typeName);
    void zoomChanged(double zoom);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Drag { None, Pending, Move, Resize, LineEnd, Band, Rubber, Insert };

    struct Hit
    {
        enum Kind { Nothing, Handle, LineEnd, BandEdge, Control, Bar, Body } kind = Nothing;
        Orv::Control *control = nullptr;
        int handle = -1; // 0-7 clockwise from top left; line ends 0 and 1
        const BandGeometry *band = nullptr;
    };

    Hit hitTest(const QPoint &viewportPos) const;
    std::vector<QPointF> handlePoints(const Control *control) const; // scene
    QPointF snappedInBand(const QPointF &scenePos, const BandGeometry **band) const;
    void updateFeedback();
    void finishMove();
    void finishResize();
    void cancelDrag();
    void placeRulers();
    void onSelectionChanged();
    ContextMenuKind contextKindAt(const QPoint &viewportPos, QString *typeName);

    DesignerCore *m_core;
    DesignScene *m_scene;
    DesignRuler *m_hRuler;
    DesignRuler *m_vRuler;
    double m_zoom = 1.0;
    QPointer<InPlaceEditor> m_editor;

    Drag m_drag = Drag::None;
    QPoint m_pressPos;
    QPointF m_pressScene;
    Hit m_pressHit;
    Qt::KeyboardModifiers m_pressModifiers;
    bool m_selectOnRelease = false;
    std::vector<Control *> m_moving;
    std::vector<QPointF> m_startPos; // item positions at the start of a move
    QPointF m_moveDelta;
    QRectF m_feedbackRect; // scene
    QLineF m_feedbackLine; // scene
    double m_feedbackY = -1;
    QRect m_feedbackDamage; // viewport

    friend class DesignRuler;
};

} // namespace Orv
