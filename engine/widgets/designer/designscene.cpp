#include "engine/widgets/designer/designscene.h"
#include "engine/look/controllook.h"

#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designitempainter.h"

#include <QPainter>
#include <QSet>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>

namespace Orv {

namespace {

// Room around a control's box for its pen, border and shadow.
constexpr double PaintMargin = 90;
// How near a line (in twips) still counts as on it.
constexpr double LineGrab = 60;

const QColor OutsideColor(171, 171, 171);
const QColor BeyondWidthColor(200, 200, 200);
const QColor BarColor(218, 222, 230);
const QColor BarTextColor(40, 40, 60);

} // namespace

BandContainer::BandContainer()
{
    setFlag(ItemHasNoContents);
    setFlag(ItemClipsChildrenToShape);
}

void BandContainer::setSize(const QSizeF &size)
{
    if (size == m_size)
        return;
    prepareGeometryChange();
    m_size = size;
}

void BandContainer::setClipping(bool clip)
{
    setFlag(ItemClipsChildrenToShape, clip);
}

ControlItem::ControlItem(Control *control)
    : m_control(control)
    , m_isLine(qobject_cast<Line *>(control) != nullptr)
{
    setCacheMode(DeviceCoordinateCache);
    refresh();
}

void ControlItem::refresh(bool lookChanged)
{
    const QRectF box(0, 0, m_control->width(), m_control->height());
    QLineF line;
    if (auto *l = qobject_cast<Line *>(m_control)) {
        const QPointF origin(l->left(), l->top());
        line = QLineF(QPointF(l->x1(), l->y1()) - origin, QPointF(l->x2(), l->y2()) - origin);
    }
    const QPointF at(m_control->left(), m_control->top());
    if (box != m_box || line != m_line) {
        prepareGeometryChange();
        m_box = box;
        m_line = line;
        lookChanged = true;
    } else if (at != pos()) {
        // A move alone keeps the cached picture.
        lookChanged = false;
    }
    setPos(at);
    setVisible(true);
    if (lookChanged)
        update();
}

QRectF ControlItem::boundingRect() const
{
    return m_box.adjusted(-PaintMargin, -PaintMargin, PaintMargin, PaintMargin);
}

QPainterPath ControlItem::shape() const
{
    QPainterPath path;
    if (m_isLine) {
        QPainterPath line;
        line.moveTo(m_line.p1());
        line.lineTo(m_line.p2());
        QPainterPathStroker stroker;
        stroker.setWidth(2 * LineGrab);
        return stroker.createStroke(line);
    }
    // Zero-sized boxes (a page break) still need something to click.
    path.addRect(m_box.adjusted(0, m_box.height() < LineGrab ? -LineGrab / 2 : 0, 0,
                                m_box.height() < LineGrab ? LineGrab / 2 : 0));
    return path;
}

void ControlItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    DesignPainterRegistry::instance().painterFor(m_control->typeId()).paint(*painter, *m_control);
}

DesignScene::DesignScene(DesignerCore *core, QObject *parent)
    : QGraphicsScene(parent)
    , m_core(core)
{
    // Items move as the user drags; the index keeps hit tests and exposure
    // logarithmic with thousands of controls.
    setItemIndexMethod(BspTreeIndex);
    connect(core, &DesignerCore::structureChanged, this, &DesignScene::rebuild);
    connect(core, &DesignerCore::objectChanged, this, &DesignScene::onObjectChanged);
    connect(core, &DesignerCore::gridChanged, this, [this] { invalidate(sceneRect(), BackgroundLayer); });
    rebuild();
}

double DesignScene::printWidth() const
{
    return std::max(0.0, m_core->DesignedReport()->printWidth());
}

const BandGeometry *DesignScene::bandAt(double y) const
{
    for (const BandGeometry &b : m_bands) {
        if (y >= b.barTop && y < b.bodyBottom())
            return &b;
    }
    return nullptr;
}

const BandGeometry *DesignScene::bandOf(const Section *section) const
{
    for (const BandGeometry &b : m_bands) {
        if (b.section == section)
            return &b;
    }
    return nullptr;
}

QRectF DesignScene::sceneRectOf(const Control *control) const
{
    const BandGeometry *band = bandOf(control->section());
    const double top = band ? band->bodyTop : 0;
    return QRectF(control->left(), top + control->top(), control->width(), control->height());
}

void DesignScene::setClipping(bool clip)
{
    for (BandContainer *container : std::as_const(m_containers))
        container->setClipping(clip);
}

void DesignScene::rebuild()
{
    Report *report = m_core->DesignedReport();
    QSet<const Section *> sections;
    QSet<const Control *> seen;
    for (Section *s : *report->sections()) {
        sections.insert(s);
        BandContainer *&container = m_containers[s];
        if (!container) {
            container = new BandContainer;
            addItem(container);
        }
        int z = 0;
        for (Control *c : *s->controls()) {
            seen.insert(c);
            ControlItem *&item = m_items[c];
            if (!item) {
                item = new ControlItem(c);
                item->setParentItem(container);
            } else {
                if (item->parentItem() != container)
                    item->setParentItem(container);
                item->refresh(false);
            }
            item->setZValue(z++);
        }
    }
    // Items of controls and sections that left the report; their objects
    // may be gone, so they are only compared, never read.
    for (auto it = m_items.begin(); it != m_items.end();) {
        if (!seen.contains(it.key())) {
            delete it.value();
            it = m_items.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = m_containers.begin(); it != m_containers.end();) {
        if (!sections.contains(it.key())) {
            delete it.value();
            it = m_containers.erase(it);
        } else {
            ++it;
        }
    }
    layoutBands();
}

void DesignScene::layoutBands()
{
    m_bands.clear();
    double y = 0;
    for (Section *s : *m_core->DesignedReport()->sections()) {
        BandGeometry b;
        b.section = s;
        b.barTop = y;
        b.bodyTop = y + BarHeight;
        b.height = std::max(0.0, s->height());
        y = b.bodyBottom();
        m_bands.push_back(b);
        if (BandContainer *container = m_containers.value(s))
            container->setPos(0, b.bodyTop);
    }
    const double width = std::max(printWidth() + 2 * 1440, 4 * 1440.0);
    for (const BandGeometry &b : m_bands) {
        if (BandContainer *container = m_containers.value(b.section))
            container->setSize(QSizeF(width, b.height));
    }
    setSceneRect(0, 0, width, y + 1440);
    invalidate(sceneRect(), BackgroundLayer);
    Q_EMIT bandsChanged();
}

void DesignScene::onObjectChanged(ModelObject *object)
{
    for (QObject *o = object; o; o = o->parent()) {
        if (auto *c = qobject_cast<Control *>(o)) {
            if (ControlItem *item = m_items.value(c))
                item->refresh();
            return;
        }
        if (qobject_cast<Section *>(o) || qobject_cast<Report *>(o)) {
            layoutBands();
            return;
        }
    }
}

void DesignScene::drawBackground(QPainter *painter, const QRectF &rect)
{
    painter->fillRect(rect, OutsideColor);
    const double width = printWidth();
    const double right = sceneRect().right();
    QFont font = painter->font();
    font.setPixelSize(160); // 8 points
    painter->setFont(font);
    for (const BandGeometry &b : m_bands) {
        const QRectF bar(0, b.barTop, right, DesignScene::BarHeight);
        const QRectF body(0, b.bodyTop, width, b.height);
        if (bar.intersects(rect)) {
            painter->fillRect(bar, BarColor);
            QPen edge(QColor(150, 155, 170), 0);
            edge.setCosmetic(true);
            painter->setPen(edge);
            painter->drawLine(bar.topLeft(), bar.topRight());
            painter->setPen(BarTextColor);
            const Section *s = b.section;
            QString title = s->name();
            if (s->type() == Section::GroupHeader && !s->dataField().isEmpty())
                title += QStringLiteral("  (%1)").arg(s->dataField());
            if (!s->visible())
                title += QStringLiteral("  [hidden]");
            painter->drawText(bar.adjusted(90, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
        }
        const QRectF beyond(width, b.bodyTop, std::max(0.0, right - width), b.height);
        if (beyond.intersects(rect))
            painter->fillRect(beyond, BeyondWidthColor);
        if (body.intersects(rect) && !body.isEmpty()) {
            const QColor back = b.section->backStyle() == BackStyle::Opaque ? QColor::fromRgb(Look::color(b.section->backColor()))
                                                            : QColor(Qt::white);
            painter->fillRect(body, back);
            if (m_core->ShowGrid())
                drawGrid(painter, body & rect);
        }
    }
}

void DesignScene::drawGrid(QPainter *painter, const QRectF &area)
{
    if (area.isEmpty())
        return;
    const QTransform toDevice = painter->worldTransform();
    const double scale = toDevice.m11();
    if (scale <= 0)
        return;
    // Body coordinates start at each band's top; dots are thinned out
    // rather than drawn closer than four pixels apart.
    double step = m_core->gridStep();
    while (step * scale < 4)
        step *= 2;
    const BandGeometry *band = bandAt(area.top());
    if (!band)
        return;
    const double originY = band->bodyTop;
    QPolygon points;
    const double x0 = std::ceil(area.left() / step) * step;
    const double y0 = originY + std::ceil((area.top() - originY) / step) * step;
    const qsizetype columns = qsizetype((area.right() - x0) / step) + 1;
    const qsizetype rows = qsizetype((area.bottom() - y0) / step) + 1;
    if (columns <= 0 || rows <= 0 || columns * rows > 4'000'000)
        return;
    points.reserve(columns * rows);
    for (double y = y0; y < area.bottom(); y += step) {
        for (double x = x0; x < area.right(); x += step)
            points.append(toDevice.map(QPointF(x, y)).toPoint());
    }
    painter->save();
    painter->resetTransform();
    painter->setPen(QPen(QColor(140, 140, 140), 1));
    painter->drawPoints(points);
    painter->restore();
}

} // namespace Orv
