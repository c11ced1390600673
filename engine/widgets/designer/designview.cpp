#include "engine/widgets/designer/designview.h"

#include "engine/core/units.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designereditor.h"
#include "engine/widgets/designer/designruler.h"
#include "engine/widgets/designer/designscene.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUndoStack>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace Orv {

using namespace DesignerAction;

namespace {

constexpr int HandleSize = 7;  // pixels
constexpr int HandleGrab = 5;  // pixels either side of a handle's centre
constexpr int EdgeGrab = 3;    // pixels either side of a section's bottom edge
constexpr double FineStep = Units::TwipsPerPixel;

bool editableText(const Control *c)
{
    return qobject_cast<const Label *>(c) || qobject_cast<const CheckBox *>(c) || qobject_cast<const Field *>(c)
        || qobject_cast<const RichEdit *>(c);
}

Qt::CursorShape handleCursor(int handle)
{
    switch (handle) {
    case 0: case 4: return Qt::SizeFDiagCursor;
    case 2: case 6: return Qt::SizeBDiagCursor;
    case 1: case 5: return Qt::SizeVerCursor;
    default: return Qt::SizeHorCursor;
    }
}

} // namespace

DesignView::DesignView(DesignerCore *core, QWidget *parent)
    : QGraphicsView(parent)
    , m_core(core)
    , m_scene(new DesignScene(core, this))
    , m_hRuler(new DesignRuler(Qt::Horizontal, this))
    , m_vRuler(new DesignRuler(Qt::Vertical, this))
{
    setScene(m_scene);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCacheMode(CacheBackground);
    setViewportUpdateMode(SmartViewportUpdate);
    setOptimizationFlags(DontAdjustForAntialiasing);
    setTransformationAnchor(NoAnchor);
    setDragMode(NoDrag);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setViewportMargins(DesignRuler::Thickness, DesignRuler::Thickness, 0, 0);
    setZoom(1.0);
    connect(m_scene, &DesignScene::bandsChanged, this, [this] {
        m_hRuler->update();
        m_vRuler->update();
        viewport()->update();
    });
    connect(core, &DesignerCore::selectionChanged, this, &DesignView::onSelectionChanged);
    connect(core, &DesignerCore::structureChanged, this, [this] {
        if (m_editor && !m_scene->itemFor(m_editor->control()))
            endTextEdit(false);
        viewport()->update();
    });
    connect(core, &DesignerCore::insertControlTypeChanged, this, [this](const QString &type) {
        viewport()->setCursor(type.isEmpty() ? Qt::ArrowCursor : Qt::CrossCursor);
    });
}

DesignView::~DesignView()
{
    if (m_editor)
        m_core->setTextEditor(nullptr);
}

void DesignView::setZoom(double zoom)
{
    zoom = std::clamp(zoom, 0.1, 8.0);
    const bool changed = !qFuzzyCompare(zoom, m_zoom);
    m_zoom = zoom;
    const double s = zoom / Units::TwipsPerPixel;
    setTransform(QTransform::fromScale(s, s));
    m_hRuler->update();
    m_vRuler->update();
    if (changed)
        Q_EMIT zoomChanged(zoom);
}

QRect DesignView::viewportRectOf(const Control *control) const
{
    return mapFromScene(m_scene->sceneRectOf(control)).boundingRect();
}

void DesignView::placeRulers()
{
    const QRect vp = viewport()->geometry();
    m_hRuler->setGeometry(vp.x(), vp.y() - DesignRuler::Thickness, vp.width(), DesignRuler::Thickness);
    m_vRuler->setGeometry(vp.x() - DesignRuler::Thickness, vp.y(), DesignRuler::Thickness, vp.height());
}

void DesignView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    placeRulers();
}

void DesignView::scrollContentsBy(int dx, int dy)
{
    QGraphicsView::scrollContentsBy(dx, dy);
    if (dx)
        m_hRuler->update();
    if (dy)
        m_vRuler->update();
}

void DesignView::onSelectionChanged()
{
    if (m_editor && !(m_core->Selection()->Count() == 1 && m_core->isSelected(m_editor->control())))
        endTextEdit(true);
    viewport()->update();
    m_hRuler->update();
    m_vRuler->update();
}

// ---- hit testing ----

std::vector<QPointF> DesignView::handlePoints(const Control *control) const
{
    const ControlItem *item = m_scene->itemFor(control);
    if (!item)
        return {};
    if (auto *line = qobject_cast<const Line *>(control)) {
        const QPointF origin = item->mapToScene(QPointF(0, 0)) - QPointF(line->left(), line->top());
        return {origin + QPointF(line->x1(), line->y1()), origin + QPointF(line->x2(), line->y2())};
    }
    const QRectF r = item->mapRectToScene(QRectF(0, 0, control->width(), control->height()));
    const double cx = r.center().x();
    const double cy = r.center().y();
    return {r.topLeft(), {cx, r.top()}, r.topRight(), {r.right(), cy}, r.bottomRight(), {cx, r.bottom()},
            r.bottomLeft(), {r.left(), cy}};
}

DesignView::Hit DesignView::hitTest(const QPoint &pos) const
{
    Hit hit;
    const QPointF scenePos = mapToScene(pos);
    if (!m_core->controlsLocked()) {
        for (Control *c : m_core->selectedControls()) {
            const auto points = handlePoints(c);
            for (size_t i = 0; i < points.size(); ++i) {
                const QPoint p = mapFromScene(points[i]);
                if (std::abs(p.x() - pos.x()) <= HandleGrab && std::abs(p.y() - pos.y()) <= HandleGrab) {
                    hit.kind = points.size() == 2 ? Hit::LineEnd : Hit::Handle;
                    hit.control = c;
                    hit.handle = int(i);
                    return hit;
                }
            }
        }
    }
    for (const BandGeometry &band : m_scene->bands()) {
        const int edge = mapFromScene(QPointF(0, band.bodyBottom())).y();
        if (std::abs(edge - pos.y()) <= EdgeGrab && scenePos.x() >= 0) {
            hit.kind = Hit::BandEdge;
            hit.band = &band;
            return hit;
        }
    }
    // Items inside a clipping band answer collisions by their bounding
    // rectangle, so the shape is asked here.
    const QList<QGraphicsItem *> under = items(pos);
    for (QGraphicsItem *item : under) {
        if (item->type() == ControlItem::Type && item->shape().contains(item->mapFromScene(scenePos))) {
            hit.kind = Hit::Control;
            hit.control = static_cast<ControlItem *>(item)->control();
            hit.band = m_scene->bandOf(hit.control->section());
            return hit;
        }
    }
    if (const BandGeometry *band = m_scene->bandAt(scenePos.y()); band && scenePos.x() >= 0) {
        hit.kind = scenePos.y() < band->bodyTop ? Hit::Bar : Hit::Body;
        hit.band = band;
    }
    return hit;
}

// A scene point snapped to the grid of the band it falls in (or the
// band given); bars count as the top of the body below them.
QPointF DesignView::snappedInBand(const QPointF &scenePos, const BandGeometry **band) const
{
    if (!*band) {
        *band = m_scene->bandAt(scenePos.y());
        if (!*band && !m_scene->bands().empty())
            *band = scenePos.y() < 0 ? &m_scene->bands().front() : &m_scene->bands().back();
    }
    if (!*band)
        return scenePos;
    const double localY = std::max(0.0, scenePos.y() - (*band)->bodyTop);
    return QPointF(m_core->snapped(std::max(0.0, scenePos.x())), (*band)->bodyTop + m_core->snapped(localY));
}

// ---- mouse ----

void DesignView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_editor) {
        if (m_editor->sceneBoundingRect().contains(mapToScene(pos))) {
            QGraphicsView::mousePressEvent(event);
            return;
        }
        endTextEdit(true);
    }
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPos = pos;
    m_pressScene = mapToScene(pos);
    m_pressModifiers = event->modifiers();
    m_pressHit = hitTest(pos);
    m_selectOnRelease = false;
    const bool adding = m_pressModifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    const Hit &hit = m_pressHit;

    if (!m_core->InsertControlType().isEmpty()) {
        if (hit.band || (hit.control && hit.band)) {
            const BandGeometry *band = hit.band;
            m_pressScene = snappedInBand(m_pressScene, &band);
            m_pressHit.band = band;
            m_drag = Drag::Insert;
            m_feedbackRect = QRectF(m_pressScene, m_pressScene);
            updateFeedback();
        }
        return;
    }
    switch (hit.kind) {
    case Hit::Handle:
        m_drag = Drag::Resize;
        m_feedbackRect = m_scene->sceneRectOf(hit.control);
        break;
    case Hit::LineEnd: {
        m_drag = Drag::LineEnd;
        const auto points = handlePoints(hit.control);
        m_feedbackLine = QLineF(points[0], points[1]);
        break;
    }
    case Hit::BandEdge:
        m_drag = Drag::Band;
        m_core->setCurrentSection(hit.band->section);
        m_feedbackY = hit.band->bodyBottom();
        updateFeedback();
        break;
    case Hit::Control:
        if (adding) {
            m_core->select(hit.control, m_pressModifiers & Qt::ControlModifier ? DesignerCore::SelectMode::Toggle
                                                                              : DesignerCore::SelectMode::Add);
        } else if (!m_core->isSelected(hit.control)) {
            m_core->select(hit.control);
        } else {
            // A click on one of several selected controls picks it alone,
            // unless the click turns into a drag of them all.
            m_selectOnRelease = m_core->Selection()->Count() > 1;
        }
        m_drag = m_core->isSelected(hit.control) ? Drag::Pending : Drag::None;
        break;
    case Hit::Bar:
        m_core->select(hit.band->section);
        break;
    case Hit::Body:
        m_core->setCurrentSection(hit.band->section);
        m_drag = Drag::Rubber;
        m_feedbackRect = QRectF();
        break;
    case Hit::Nothing:
        m_core->select(m_core->DesignedReport());
        break;
    }
}

void DesignView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QPointF scenePos = mapToScene(pos);
    if (m_editor && m_drag == Drag::None) {
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton) || m_drag == Drag::None) {
        if (!m_core->InsertControlType().isEmpty())
            return;
        const Hit hit = hitTest(pos);
        Qt::CursorShape shape = Qt::ArrowCursor;
        if (hit.kind == Hit::Handle)
            shape = handleCursor(hit.handle);
        else if (hit.kind == Hit::LineEnd)
            shape = Qt::CrossCursor;
        else if (hit.kind == Hit::BandEdge)
            shape = Qt::SplitVCursor;
        else if (hit.kind == Hit::Control && !m_core->controlsLocked())
            shape = Qt::SizeAllCursor;
        viewport()->setCursor(shape);
        return;
    }
    const bool farEnough = (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance();
    switch (m_drag) {
    case Drag::Pending: {
        if (!farEnough || m_core->controlsLocked())
            return;
        m_selectOnRelease = false;
        m_moving = m_core->selectedControls();
        // The control under the mouse leads the snapping.
        auto lead = std::find(m_moving.begin(), m_moving.end(), m_pressHit.control);
        if (lead != m_moving.end())
            std::rotate(m_moving.begin(), lead, lead + 1);
        m_startPos.clear();
        for (Control *c : m_moving) {
            ControlItem *item = m_scene->itemFor(c);
            m_startPos.push_back(item ? item->pos() : QPointF());
        }
        m_drag = Drag::Move;
        m_scene->setClipping(false);
        [[fallthrough]];
    }
    case Drag::Move: {
        if (m_moving.empty())
            return;
        const QRectF lead = m_scene->sceneRectOf(m_moving.front());
        const BandGeometry *band = nullptr;
        const QPointF moved = snappedInBand(lead.topLeft() + (scenePos - m_pressScene), &band);
        m_moveDelta = moved - lead.topLeft();
        for (size_t i = 0; i < m_moving.size(); ++i) {
            if (ControlItem *item = m_scene->itemFor(m_moving[i]))
                item->setPos(m_startPos[i] + m_moveDelta);
        }
        updateFeedback();
        break;
    }
    case Drag::Resize: {
        const QRectF r = m_scene->sceneRectOf(m_pressHit.control);
        const BandGeometry *band = m_scene->bandOf(m_pressHit.control->section());
        const QPointF p = snappedInBand(scenePos, &band);
        double left = r.left(), top = r.top(), right = r.right(), bottom = r.bottom();
        const int h = m_pressHit.handle;
        if (h == 0 || h == 6 || h == 7)
            left = std::min(p.x(), right);
        if (h == 2 || h == 3 || h == 4)
            right = std::max(p.x(), left);
        if (h == 0 || h == 1 || h == 2)
            top = std::min(p.y(), bottom);
        if (h == 4 || h == 5 || h == 6)
            bottom = std::max(p.y(), top);
        m_feedbackRect = QRectF(QPointF(left, top), QPointF(right, bottom));
        updateFeedback();
        break;
    }
    case Drag::LineEnd: {
        const BandGeometry *band = m_scene->bandOf(m_pressHit.control->section());
        const QPointF p = snappedInBand(scenePos, &band);
        if (m_pressHit.handle == 0)
            m_feedbackLine.setP1(p);
        else
            m_feedbackLine.setP2(p);
        updateFeedback();
        break;
    }
    case Drag::Band: {
        const BandGeometry *band = m_pressHit.band;
        double lowest = 0;
        for (const Control *c : *band->section->controls())
            lowest = std::max(lowest, c->top() + c->height());
        const double local = m_core->snapped(std::max(0.0, scenePos.y() - band->bodyTop));
        m_feedbackY = band->bodyTop + std::max(local, lowest);
        updateFeedback();
        break;
    }
    case Drag::Rubber:
        if (!farEnough && m_feedbackRect.isNull())
            return;
        m_feedbackRect = QRectF(m_pressScene, scenePos).normalized();
        updateFeedback();
        break;
    case Drag::Insert: {
        const BandGeometry *band = m_pressHit.band;
        const QPointF p = snappedInBand(scenePos, &band);
        m_feedbackRect = QRectF(m_pressScene, p);
        updateFeedback();
        break;
    }
    case Drag::None:
        break;
    }
}

void DesignView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_editor && m_drag == Drag::None) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const Drag drag = std::exchange(m_drag, Drag::None);
    switch (drag) {
    case Drag::Pending:
        if (m_selectOnRelease)
            m_core->select(m_pressHit.control);
        break;
    case Drag::Move:
        finishMove();
        break;
    case Drag::Resize:
        finishResize();
        break;
    case Drag::LineEnd: {
        const BandGeometry *band = m_scene->bandOf(m_pressHit.control->section());
        if (band) {
            const QPointF origin(0, band->bodyTop);
            m_core->setLineEnds(m_pressHit.control, m_feedbackLine.p1() - origin, m_feedbackLine.p2() - origin);
        }
        break;
    }
    case Drag::Band: {
        Section *section = m_pressHit.band->section;
        const double height = m_feedbackY - m_pressHit.band->bodyTop;
        m_feedbackY = -1;
        m_core->setSectionHeight(section, height);
        break;
    }
    case Drag::Rubber: {
        const QRectF area = m_feedbackRect;
        const auto mode = m_pressModifiers & Qt::ControlModifier ? DesignerCore::SelectMode::Toggle
                        : m_pressModifiers & Qt::ShiftModifier   ? DesignerCore::SelectMode::Add
                                                                 : DesignerCore::SelectMode::Replace;
        if (area.isNull()) {
            // A plain click on a section's empty body selects the section.
            if (mode == DesignerCore::SelectMode::Replace)
                m_core->select(m_pressHit.band->section);
            break;
        }
        std::vector<QObject *> found;
        for (QGraphicsItem *item : m_scene->items(area, Qt::IntersectsItemShape)) {
            if (item->type() != ControlItem::Type)
                continue;
            QPainterPath local;
            local.addPolygon(item->mapFromScene(area));
            if (item->shape().intersects(local))
                found.push_back(static_cast<ControlItem *>(item)->control());
        }
        // In report order, so the first control leads alignment.
        std::vector<QObject *> ordered;
        for (Control *c : m_core->DesignedReport()->allControls()) {
            if (std::find(found.begin(), found.end(), c) != found.end())
                ordered.push_back(c);
        }
        m_core->setSelection(ordered, mode);
        break;
    }
    case Drag::Insert: {
        const BandGeometry *band = m_pressHit.band;
        if (band) {
            const QPointF origin(0, band->bodyTop);
            m_core->insertControl(m_core->InsertControlType(), band->section, m_feedbackRect.topLeft() - origin,
                                  m_feedbackRect.bottomRight() - origin);
        }
        break;
    }
    case Drag::None:
        break;
    }
    m_feedbackRect = QRectF();
    m_feedbackLine = QLineF();
    m_feedbackY = -1;
    viewport()->update();
}

void DesignView::finishMove()
{
    m_scene->setClipping(true);
    std::vector<Control *> moving = std::move(m_moving);
    m_moving.clear();
    if (moving.empty())
        return;
    // Controls that all come from one section may change section with the
    // lead; otherwise each stays in its own.
    Section *from = moving.front()->section();
    const bool oneSection = std::all_of(moving.begin(), moving.end(), [from](const Control *c) { return c->section() == from; });
    const QRectF lead = m_scene->sceneRectOf(moving.front());
    const BandGeometry *target = m_scene->bandAt(lead.top() + m_moveDelta.y());
    if (!target && !m_scene->bands().empty())
        target = &m_scene->bands().back();
    std::vector<DesignerCore::Placement> placements;
    for (Control *c : moving) {
        const QRectF scene = m_scene->sceneRectOf(c).translated(m_moveDelta);
        if (oneSection && target && target->section != from) {
            placements.push_back({c, target->section, scene.translated(0, -target->bodyTop)});
        } else {
            QRectF local(c->left() + m_moveDelta.x(), c->top() + m_moveDelta.y(), c->width(), c->height());
            placements.push_back({c, nullptr, local});
        }
    }
    m_core->placeControls(placements, QStringLiteral("Move"));
    // Whatever the model kept (or refused), the items show it.
    for (Control *c : moving) {
        if (ControlItem *item = m_scene->itemFor(c))
            item->refresh(false);
    }
}

void DesignView::finishResize()
{
    Control *c = m_pressHit.control;
    const BandGeometry *band = m_scene->bandOf(c->section());
    if (!band || m_feedbackRect.isNull())
        return;
    m_core->placeControls({{c, nullptr, m_feedbackRect.translated(0, -band->bodyTop)}}, QStringLiteral("Resize"));
}

void DesignView::cancelDrag()
{
    if (m_drag == Drag::Move) {
        m_scene->setClipping(true);
        for (size_t i = 0; i < m_moving.size(); ++i) {
            if (ControlItem *item = m_scene->itemFor(m_moving[i]))
                item->setPos(m_startPos[i]);
        }
    }
    m_moving.clear();
    m_drag = Drag::None;
    m_feedbackRect = QRectF();
    m_feedbackLine = QLineF();
    m_feedbackY = -1;
    viewport()->update();
}

void DesignView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_editor) {
        QGraphicsView::mouseDoubleClickEvent(event);
        return;
    }
    const Hit hit = hitTest(event->position().toPoint());
    if (hit.kind == Hit::Control && editableText(hit.control)) {
        m_drag = Drag::None;
        beginTextEdit(hit.control);
    }
}

ContextMenuKind DesignView::contextKindAt(const QPoint &pos, QString *typeName)
{
    if (m_editor && m_editor->sceneBoundingRect().contains(mapToScene(pos))) {
        *typeName = m_editor->control()->typeName();
        return m_editor->isRich() ? ContextMenuKind::RichTextEditing : ContextMenuKind::Control;
    }
    const Hit hit = hitTest(pos);
    switch (hit.kind) {
    case Hit::Handle:
    case Hit::LineEnd:
    case Hit::Control:
        if (!m_core->isSelected(hit.control))
            m_core->select(hit.control);
        *typeName = hit.control->typeName();
        return ContextMenuKind::Control;
    case Hit::Bar:
    case Hit::Body:
    case Hit::BandEdge:
        m_core->select(hit.band->section);
        *typeName = QStringLiteral("Section");
        return ContextMenuKind::Section;
    case Hit::Nothing:
        break;
    }
    m_core->select(m_core->DesignedReport());
    *typeName = QStringLiteral("Report");
    return ContextMenuKind::Report;
}

void DesignView::contextMenuEvent(QContextMenuEvent *event)
{
    QString typeName;
    ContextMenuKind kind;
    if (event->reason() == QContextMenuEvent::Keyboard) {
        if (m_editor) {
            kind = m_editor->isRich() ? ContextMenuKind::RichTextEditing : ContextMenuKind::Control;
            typeName = m_editor->control()->typeName();
        } else if (Control *c = m_core->primaryControl()) {
            kind = ContextMenuKind::Control;
            typeName = c->typeName();
        } else if (m_core->selectedSection()) {
            kind = ContextMenuKind::Section;
            typeName = QStringLiteral("Section");
        } else {
            kind = ContextMenuKind::Report;
            typeName = QStringLiteral("Report");
        }
    } else {
        kind = contextKindAt(event->pos(), &typeName); // viewport coordinates
    }
    event->accept();
    Q_EMIT contextMenuRequested(kind, typeName);
}

// ---- keys and wheel ----

void DesignView::keyPressEvent(QKeyEvent *event)
{
    if (m_editor) {
        QGraphicsView::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const double step = mods & Qt::ControlModifier ? FineStep : m_core->gridStep();
    double dx = 0;
    double dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    default: break;
    }
    if (dx != 0 || dy != 0) {
        m_core->nudgeSelection(dx, dy, mods & Qt::ShiftModifier);
        return;
    }
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        m_core->ExecuteAction(Delete);
    } else if (event->matches(QKeySequence::Copy)) {
        m_core->ExecuteAction(Copy);
    } else if (event->matches(QKeySequence::Cut)) {
        m_core->ExecuteAction(Cut);
    } else if (event->matches(QKeySequence::Paste)) {
        m_core->ExecuteAction(Paste);
    } else if (event->matches(QKeySequence::Undo)) {
        m_core->ExecuteAction(Undo);
    } else if (event->matches(QKeySequence::Redo)) {
        m_core->undoStack()->redo();
    } else if (event->matches(QKeySequence::SelectAll)) {
        const auto all = m_core->DesignedReport()->allControls();
        m_core->setSelection(std::vector<QObject *>(all.begin(), all.end()));
    } else if (event->key() == Qt::Key_Escape) {
        if (m_drag != Drag::None)
            cancelDrag();
        else if (!m_core->InsertControlType().isEmpty())
            m_core->setInsertControlType(QString());
        else
            m_core->clearSelection();
    } else if (event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (Control *c = m_core->primaryControl(); c && editableText(c))
            beginTextEdit(c);
    } else if (event->matches(QKeySequence::ZoomIn) || (mods & Qt::ControlModifier && event->key() == Qt::Key_Equal)) {
        setZoom(m_zoom * 1.25);
    } else if (event->matches(QKeySequence::ZoomOut)) {
        setZoom(m_zoom / 1.25);
    } else if (mods & Qt::ControlModifier && event->key() == Qt::Key_0) {
        setZoom(1.0);
    } else {
        QGraphicsView::keyPressEvent(event);
    }
}

bool DesignView::focusNextPrevChild(bool next)
{
    if (m_editor)
        return false;
    // Tab walks through the controls of the current section.
    Section *section = m_core->currentSection();
    if (!section || section->controls()->Count() == 0)
        return true;
    const int count = section->controls()->Count();
    const Control *primary = m_core->primaryControl();
    int index = primary && primary->section() == section ? section->controls()->indexOf(primary) : -1;
    index = index < 0 ? (next ? 0 : count - 1) : (index + (next ? 1 : count - 1)) % count;
    m_core->select(section->controls()->Item(index));
    return true;
}

void DesignView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const QPointF anchor = mapToScene(event->position().toPoint());
        const double factor = event->angleDelta().y() > 0 ? 1.25 : 1 / 1.25;
        setZoom(m_zoom * factor);
        // Keep the point under the mouse where it was.
        const QPointF now = mapToScene(event->position().toPoint());
        const QPointF shift = (anchor - now) * (m_zoom / Units::TwipsPerPixel);
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(shift.x()));
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(shift.y()));
        event->accept();
        return;
    }
    QGraphicsView::wheelEvent(event);
}

// ---- drawing ----

void DesignView::updateFeedback()
{
    viewport()->update();
}

void DesignView::drawForeground(QPainter *painter, const QRectF &rect)
{
    painter->save();
    painter->resetTransform();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QRect exposed = mapFromScene(rect).boundingRect().adjusted(-HandleSize, -HandleSize, HandleSize, HandleSize);

    if (Section *s = m_core->selectedSection()) {
        if (const BandGeometry *band = m_scene->bandOf(s)) {
            const QRect bar = mapFromScene(QRectF(0, band->barTop, m_scene->sceneRect().width(), DesignScene::BarHeight))
                                  .boundingRect();
            painter->setPen(QPen(QColor(40, 90, 200), 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(bar.adjusted(1, 1, -2, -2));
        }
    }

    const std::vector<Control *> selected = m_core->selectedControls();
    const bool locked = m_core->controlsLocked();
    for (size_t k = 0; k < selected.size(); ++k) {
        const Control *c = selected[k];
        const auto points = handlePoints(c);
        if (points.empty())
            continue;
        if (points.size() == 8) {
            const QRect box = QRect(mapFromScene(points[0]), mapFromScene(points[4]));
            if (!box.adjusted(-HandleSize, -HandleSize, HandleSize, HandleSize).intersects(exposed))
                continue;
            painter->setPen(QPen(QColor(40, 90, 200), 1, Qt::DashLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(box);
        }
        // The first selected control, which alignment follows, has filled handles.
        painter->setPen(QColor(20, 40, 120));
        painter->setBrush(locked ? QColor(160, 160, 160) : k == 0 ? QColor(40, 90, 200) : QColor(Qt::white));
        for (const QPointF &p : points) {
            const QPoint d = mapFromScene(p);
            painter->drawRect(d.x() - HandleSize / 2, d.y() - HandleSize / 2, HandleSize - 1, HandleSize - 1);
        }
    }

    QPen feedback(QColor(40, 90, 200), 1, Qt::DashLine);
    painter->setPen(feedback);
    painter->setBrush(Qt::NoBrush);
    if (!m_feedbackRect.isNull()) {
        if (m_drag == Drag::Insert && m_core->InsertControlType().contains(QLatin1String("line"), Qt::CaseInsensitive))
            painter->drawLine(mapFromScene(m_feedbackRect.topLeft()), mapFromScene(m_feedbackRect.bottomRight()));
        else
            painter->drawRect(mapFromScene(m_feedbackRect.normalized()).boundingRect());
    }
    if (!m_feedbackLine.isNull())
        painter->drawLine(mapFromScene(m_feedbackLine.p1()), mapFromScene(m_feedbackLine.p2()));
    if (m_feedbackY >= 0) {
        const int y = mapFromScene(QPointF(0, m_feedbackY)).y();
        painter->drawLine(0, y, viewport()->width(), y);
    }
    painter->restore();
}

// ---- in-place text ----

bool DesignView::beginTextEdit(Control *control)
{
    if (!control || !editableText(control))
        return false;
    ControlItem *item = m_scene->itemFor(control);
    if (!item)
        return false;
    endTextEdit(true);
    m_core->select(control);
    auto *editor = new InPlaceEditor(m_core, control);
    editor->setParentItem(item->parentItem());
    m_editor = editor;
    item->setVisible(false);
    connect(editor, &InPlaceEditor::finished, this, [this](bool keep) { endTextEdit(keep); }, Qt::QueuedConnection);
    m_core->setTextEditor(editor);
    setFocus(Qt::OtherFocusReason);
    m_scene->setFocusItem(editor);
    editor->setFocus();
    return true;
}

void DesignView::endTextEdit(bool keep)
{
    if (!m_editor)
        return;
    InPlaceEditor *editor = m_editor;
    m_editor = nullptr;
    m_core->setTextEditor(nullptr);
    Control *control = editor->control();
    const bool changed = keep && editor->changed();
    const QString text = changed ? editor->result() : QString();
    m_scene->removeItem(editor);
    editor->deleteLater();
    if (ControlItem *item = m_scene->itemFor(control)) {
        item->setVisible(true);
        if (changed)
            m_core->setControlText(control, text);
        item->refresh();
    }
    setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

} // namespace Orv
