#include "engine/widgets/designer/designitempainter.h"

#include "engine/chart/chartrenderer.h"
#include "engine/core/units.h"
#include "engine/look/controllook.h"
#include "engine/model/chart.h"
#include "engine/model/controls.h"
#include "engine/pages/pagepainter.h"
#include "engine/look/richtext.h"

#include <QCache>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace Orv {

namespace {

constexpr double Pixel = Units::TwipsPerPixel;
constexpr double CheckBoxSize = 195;
constexpr double ShadowOffset = 60;

QRectF boxOf(const Control &c)
{
    return QRectF(0, 0, c.width(), c.height());
}

// The outline every control shows at design time, so an empty,
// borderless one can still be found and grabbed.
void drawOutline(QPainter &p, const QRectF &r)
{
    QPen pen(QColor(150, 150, 150), 0, Qt::DotLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// Background, shadow and border of a box control, as printed.
struct BoxLook
{
    QRgb back = 0;
    PagePen sides[4]; // top, left, right, bottom
    bool hasBorder = false;
    bool shadow = false;

    explicit BoxLook(const BoxControl &b)
    {
        back = b.backStyle() == BackStyle::Opaque ? Look::color(b.backColor()) : 0;
        const Border *border = b.border();
        sides[0] = Look::borderPen(border->topStyle(), border->topColor());
        sides[1] = Look::borderPen(border->leftStyle(), border->leftColor());
        sides[2] = Look::borderPen(border->rightStyle(), border->rightColor());
        sides[3] = Look::borderPen(border->bottomStyle(), border->bottomColor());
        for (const PagePen &s : sides)
            hasBorder = hasBorder || s.style != Qt::NoPen;
        shadow = border->shadow();
    }

    void addShadow(Page &page, const QRectF &r) const
    {
        if (shadow) {
            ShapeOp s;
            s.rect = r.translated(ShadowOffset, ShadowOffset);
            s.pen.style = Qt::NoPen;
            s.fill = 0xff808080;
            page.ops.push_back(s);
        }
    }

    void addBack(Page &page, const QRectF &r) const
    {
        addShadow(page, r);
        if (qAlpha(back)) {
            ShapeOp s;
            s.rect = r;
            s.pen.style = Qt::NoPen;
            s.fill = back;
            page.ops.push_back(s);
        }
    }

    void addBorder(Page &page, const QRectF &r) const
    {
        const QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
        const std::pair<int, int> ends[4] = {{0, 1}, {0, 3}, {1, 2}, {3, 2}};
        for (int side = 0; side < 4; ++side) {
            if (sides[side].style == Qt::NoPen)
                continue;
            LineOp line;
            line.from = corners[ends[side].first];
            line.to = corners[ends[side].second];
            line.pen = sides[side];
            page.ops.push_back(line);
        }
    }
};

void paintPage(QPainter &p, const Page &page)
{
    PagePainter().paintInTwips(p, page);
}

// Text controls: labels, fields, rich text.
class TextPainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const auto &t = static_cast<const TextControl &>(control);
        const QRectF r = boxOf(control);
        const BoxLook look(t);
        Page page;
        look.addBack(page, r);
        TextOp op;
        op.rect = r;
        op.font = page.fontIndex(Look::pageFont(*t.font()));
        op.foreColor = Look::color(t.foreColor());
        op.alignment = Look::textAlignment(t.alignment(), t.verticalAlignment());
        op.wrap = t.wordWrap();
        bool placeholder = false;
        if (auto *label = qobject_cast<const Label *>(&control)) {
            op.text = label->caption();
        } else if (auto *field = qobject_cast<const Field *>(&control)) {
            op.text = field->text();
            if (op.text.isEmpty()) {
                // A bound field shows what it is bound to.
                op.text = field->dataField().isEmpty() ? field->name() : field->dataField();
                placeholder = true;
            }
        } else if (auto *rich = qobject_cast<const RichEdit *>(&control)) {
            if (!rich->text().isEmpty()) {
                op.text = RichText::toHtml(rich->text(), Look::pageFont(*t.font()));
                op.richText = true;
            } else {
                op.text = rich->dataField().isEmpty() ? rich->name() : rich->dataField();
                placeholder = true;
            }
        }
        if (placeholder && t.foreColor() == 0)
            op.foreColor = 0xff404040;
        page.ops.push_back(op);
        look.addBorder(page, r);
        paintPage(p, page);
        if (!look.hasBorder)
            drawOutline(p, r);
    }
};

class CheckBoxPainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const auto &c = static_cast<const CheckBox &>(control);
        const QRectF r = boxOf(control);
        const BoxLook look(c);
        Page page;
        look.addBack(page, r);
        const double box = std::min(CheckBoxSize, r.height());
        CheckBoxOp op;
        op.rect = QRectF(0, (r.height() - box) / 2, box, box);
        op.checked = c.value();
        op.pen.color = Look::color(c.foreColor());
        page.ops.push_back(op);
        if (!c.caption().isEmpty()) {
            TextOp text;
            text.rect = QRectF(box + 60, 0, std::max(0.0, r.width() - box - 60), r.height());
            text.text = c.caption();
            text.font = page.fontIndex(Look::pageFont(*c.font()));
            text.foreColor = Look::color(c.foreColor());
            text.alignment = (Look::textAlignment(c.alignment(), c.verticalAlignment()) & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
            page.ops.push_back(text);
        }
        look.addBorder(page, r);
        paintPage(p, page);
        if (!look.hasBorder)
            drawOutline(p, r);
    }
};

class BarcodePainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const auto &b = static_cast<const Barcode &>(control);
        const QRectF r = boxOf(control);
        const BoxLook look(b);
        Page page;
        BarcodeOp op;
        op.rect = r;
        op.symbology = b.style() > 0 ? b.style() : 20;
        // Bound barcodes show sample digits, as the data is not known yet.
        op.data = b.caption().isEmpty() ? QStringLiteral("0123456789") : b.caption();
        op.showText = b.captionPosition() != 0;
        op.font = page.fontIndex(Look::pageFont(*b.font()));
        op.foreColor = Look::color(b.foreColor());
        op.backColor = b.backStyle() == BackStyle::Opaque ? Look::color(b.backColor()) : 0xffffffff;
        page.ops.push_back(op);
        look.addBorder(page, r);
        paintPage(p, page);
        if (!look.hasBorder)
            drawOutline(p, r);
    }
};

class LinePainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const auto &l = static_cast<const Line &>(control);
        Page page;
        LineOp op;
        const QPointF origin(l.left(), l.top());
        op.from = QPointF(l.x1(), l.y1()) - origin;
        op.to = QPointF(l.x2(), l.y2()) - origin;
        op.pen.style = Look::lineStyle(l.lineStyle());
        op.pen.width = l.lineWeight() * Pixel;
        op.pen.color = Look::color(l.lineColor());
        if (op.pen.style == Qt::NoPen) {
            // A transparent line is still there to grab.
            QPen pen(QColor(150, 150, 150), 0, Qt::DotLine);
            pen.setCosmetic(true);
            p.setPen(pen);
            p.drawLine(op.from, op.to);
            return;
        }
        page.ops.push_back(op);
        paintPage(p, page);
    }
};

class ShapePainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const QRectF r = boxOf(control);
        Page page;
        ShapeOp op;
        op.rect = r;
        if (auto *shape = qobject_cast<const Shape *>(&control)) {
            const BoxLook look(*shape);
            look.addShadow(page, r);
            op.fill = look.back;
            op.kind = shape->shape() == 1 ? ShapeOp::Ellipse : (shape->shape() == 2 ? ShapeOp::RoundRect : ShapeOp::Rectangle);
            op.cornerRadius = std::min(r.width(), r.height()) / 6;
            op.pen.style = Look::lineStyle(shape->lineStyle());
            op.pen.width = shape->lineWeight() * Pixel;
            op.pen.color = Look::color(shape->lineColor());
            const bool outlined = op.pen.style != Qt::NoPen || look.hasBorder;
            page.ops.push_back(op);
            look.addBorder(page, r);
            paintPage(p, page);
            if (!outlined)
                drawOutline(p, r);
            return;
        } else if (auto *frame = qobject_cast<const Frame *>(&control)) {
            const BoxLook look(*frame);
            look.addBack(page, r);
            op.fill = 0;
            op.pen = look.hasBorder ? PagePen{0, 0, Qt::NoPen} : PagePen{Look::color(frame->lineColor()), Pixel, Qt::SolidLine};
            page.ops.push_back(op);
            look.addBorder(page, r);
            paintPage(p, page);
            return;
        }
    }
};

// A decoded picture per distinct byte array, so repaints do not decode.
QImage pictureOf(const QByteArray &bytes)
{
    static QCache<size_t, QImage> cache(64 * 1024); // cost: kilobytes
    const size_t key = qHash(bytes);
    if (QImage *cached = cache.object(key))
        return *cached;
    auto *image = new QImage(QImage::fromData(bytes));
    const QImage copy = *image;
    cache.insert(key, image, int(std::max<qint64>(1, image->sizeInBytes() / 1024)));
    return copy;
}

class PicturePainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const auto &box = static_cast<const BoxControl &>(control);
        const QRectF r = boxOf(control);
        const BoxLook look(box);
        Page page;
        look.addBack(page, r);
        paintPage(p, page);
        QByteArray bytes;
        int sizeMode = 0;
        Qt::Alignment alignment = Qt::AlignCenter;
        QString caption;
        if (auto *image = qobject_cast<const Image *>(&control)) {
            bytes = image->picture();
            sizeMode = image->sizeMode();
            alignment = Look::pictureAlignment(image->pictureAlignment());
            caption = image->dataField().isEmpty() ? image->name() : image->dataField();
        } else if (auto *ole = qobject_cast<const OleObject *>(&control)) {
            bytes = ole->picture();
            sizeMode = ole->sizeMode();
            caption = ole->oleClass().isEmpty() ? ole->name() : ole->oleClass();
        }
        const QImage image = bytes.isEmpty() ? QImage() : pictureOf(bytes);
        if (!image.isNull() && !r.isEmpty()) {
            QRectF target = r;
            if (sizeMode == 2 || sizeMode == 0) {
                QSizeF size = QSizeF(image.size()) * Pixel;
                if (sizeMode == 2)
                    size = QSizeF(image.size()).scaled(r.size(), Qt::KeepAspectRatio);
                double x = r.left();
                double y = r.top();
                if (alignment & Qt::AlignRight)
                    x = r.right() - size.width();
                else if (alignment & Qt::AlignHCenter)
                    x = r.left() + (r.width() - size.width()) / 2;
                if (alignment & Qt::AlignBottom)
                    y = r.bottom() - size.height();
                else if (alignment & Qt::AlignVCenter)
                    y = r.top() + (r.height() - size.height()) / 2;
                target = QRectF(QPointF(x, y), size);
            }
            p.save();
            p.setClipRect(r, Qt::IntersectClip);
            p.drawImage(target, image);
            p.restore();
        } else {
            p.setPen(QColor(120, 120, 120));
            QFont f = p.font();
            f.setPixelSize(int(8 * Units::TwipsPerPoint));
            p.setFont(f);
            p.drawText(r.adjusted(30, 30, -30, -30), Qt::AlignCenter | Qt::TextWordWrap, caption);
        }
        Page border;
        look.addBorder(border, r);
        paintPage(p, border);
        if (!look.hasBorder)
            drawOutline(p, r);
    }
};

// A chart with sample values of its kind, so its type, title and legend show.
class ChartPainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const QRectF r = boxOf(control);
        if (auto *chart = qobject_cast<const Chart *>(&control); chart && r.width() > 0 && r.height() > 0)
            Charts::paintChartPreview(p, r, *chart);
        drawOutline(p, r);
    }
};

// Controls that print nothing of their own: a labelled, tinted box.
class PlaceholderPainter : public DesignItemPainter
{
public:
    void paint(QPainter &p, const Control &control) const override
    {
        const QRectF r = boxOf(control);
        QString text = control.name();
        QColor tint(235, 240, 250);
        if (auto *sub = qobject_cast<const SubReport *>(&control)) {
            text = QStringLiteral("%1\n%2").arg(control.name(), sub->reportName());
            tint = QColor(240, 244, 235);
        } else if (auto *data = qobject_cast<const DataControl *>(&control)) {
            text = QStringLiteral("%1\n%2").arg(control.name(), data->source());
            tint = QColor(250, 244, 225);
        } else if (qobject_cast<const PageBreak *>(&control)) {
            QPen pen(QColor(80, 80, 200), 0, Qt::DashLine);
            pen.setCosmetic(true);
            p.setPen(pen);
            p.drawLine(QPointF(0, 0), QPointF(std::max(r.width(), 1440.0), 0));
            return;
        } else {
            text = QStringLiteral("%1\n%2").arg(control.name(), control.typeName());
        }
        p.fillRect(r, tint);
        QPen pen(QColor(120, 120, 140), 0, Qt::SolidLine);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.drawRect(r);
        QFont f = p.font();
        f.setPixelSize(int(8 * Units::TwipsPerPoint));
        p.setFont(f);
        p.setPen(QColor(70, 70, 90));
        p.drawText(r.adjusted(45, 30, -45, -30), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    }
};

} // namespace

DesignPainterRegistry::DesignPainterRegistry()
    : m_fallback(std::make_shared<PlaceholderPainter>())
{
    auto text = std::make_shared<TextPainter>();
    auto shape = std::make_shared<ShapePainter>();
    auto picture = std::make_shared<PicturePainter>();
    add(Label::staticTypeId(), text);
    add(Field::staticTypeId(), text);
    add(RichEdit::staticTypeId(), text);
    add(CheckBox::staticTypeId(), std::make_shared<CheckBoxPainter>());
    add(Barcode::staticTypeId(), std::make_shared<BarcodePainter>());
    add(Line::staticTypeId(), std::make_shared<LinePainter>());
    add(Shape::staticTypeId(), shape);
    add(Frame::staticTypeId(), shape);
    add(Image::staticTypeId(), picture);
    add(OleObject::staticTypeId(), picture);
    add(Chart::staticTypeId(), std::make_shared<ChartPainter>());
}

DesignPainterRegistry &DesignPainterRegistry::instance()
{
    static DesignPainterRegistry registry;
    return registry;
}

std::shared_ptr<const DesignItemPainter> DesignPainterRegistry::add(const QString &typeId,
                                                                    std::shared_ptr<const DesignItemPainter> painter)
{
    const QString key = typeId.trimmed().toCaseFolded();
    std::shared_ptr<const DesignItemPainter> previous = m_painters.take(key);
    if (painter)
        m_painters.insert(key, std::move(painter));
    return previous;
}

const DesignItemPainter &DesignPainterRegistry::painterFor(const QString &typeId) const
{
    const auto it = m_painters.constFind(typeId.toCaseFolded());
    return it != m_painters.cend() ? **it : *m_fallback;
}

} // namespace Orv
