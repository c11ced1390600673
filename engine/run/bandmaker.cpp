// Laying out one printed instance of a section: values, texts measured for
// CanGrow and CanShrink, controls moved down by those above that grew.
#include "engine/run/producer.h"

#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/textmeasure.h"
#include "engine/look/controllook.h"
#include "engine/look/richtext.h"

#include <QImage>

#include <algorithm>
#include <numeric>

namespace Orv::RunInternal {

namespace {

constexpr double Epsilon = 0.5;
constexpr double CheckBoxSize = 195; // 13 pixels

bool truthy(const QVariant &v)
{
    if (isNullValue(v))
        return false;
    if (v.metaType().id() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (ok)
            return d != 0;
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
            || s.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
    }
    return v.toDouble() != 0 || v.toBool();
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (isNullValue(a) || isNullValue(b))
        return isNullValue(a) && isNullValue(b) && a.isValid() == b.isValid();
    return a == b;
}

} // namespace

void Producer::computeValues(SectionPlan &section)
{
    const int count = int(section.controls.size());
    for (int k = 0; k < count; ++k) {
        ControlPlan &c = section.controls[size_t(section.valueOrder.empty() ? k : section.valueOrder[size_t(k)])];
        c.scriptText.reset();
        c.scriptValue = false;
        if (c.summary >= 0) {
            c.currentValue = m_plan->summaries[size_t(c.summary)].accumulator.result();
        } else if (c.pageSummary >= 0) {
            c.currentValue = m_plan->pageSummaries[size_t(c.pageSummary)].accumulator.result();
        } else if (c.pageValue == ControlPlan::PageNumberValue) {
            c.currentValue = m_shared.currentPage;
        } else if (c.value.kind == ValueSource::Slot
                   || (c.value.kind == ValueSource::Expression && !c.value.readsPageNumber && !c.value.readsPageCount)) {
            c.currentValue = evaluate(c.value, c.name);
        } else if (c.runningSum && c.value.kind == ValueSource::None) {
            c.currentValue = c.staticText; // a fixed "1" numbers the rows
        } else {
            c.currentValue = QVariant();
        }
        // A running sum adds what the field shows now; a total that waits
        // for its group adds when it is known.
        if (c.runningSum && c.pageSummary < 0 && c.pageValue == ControlPlan::NoPageValue
            && !c.value.readsPageNumber && !c.value.readsPageCount && !isLate(c, section))
            c.currentValue = addRunning(c, c.currentValue);
    }
}

bool Producer::refreshControls(SectionPlan &s)
{
    bool changed = false;
    const auto update = [&changed](auto &field, const auto &value) {
        if (!(field == value)) {
            field = value;
            changed = true;
        }
    };
    const Section *section = s.section;
    update(s.visible, section->visible());
    update(s.height, section->height());
    update(s.background, section->backStyle() == BackStyle::Opaque ? Look::color(section->backColor()) : 0);
    for (ControlPlan &c : s.controls) {
        const Control *control = c.control;
        update(c.visible, control->visible());
        update(c.left, control->left());
        update(c.top, control->top());
        update(c.width, control->width());
        update(c.height, control->height());
        if (auto *box = qobject_cast<const BoxControl *>(control))
            update(c.backColor, box->backStyle() == BackStyle::Opaque ? Look::color(box->backColor()) : 0);
        if (auto *text = qobject_cast<const TextControl *>(control)) {
            update(c.foreColor, Look::color(text->foreColor()));
            const PageFont font = Look::pageFont(*text->font());
            if (!(font == c.pageFont)) {
                c.pageFont = font;
                c.richHtml.clear();
                c.font = fontId(m_shared.fonts, font);
                changed = true;
            }
        }
        if (auto *label = qobject_cast<const Label *>(control))
            update(c.staticText, label->caption());
        else if (auto *field = qobject_cast<const Field *>(control); field && !c.showsValue())
            update(c.staticText, field->text());
    }
    return changed;
}

// Scripts read a field's value as its Value (DataValue in converted
// reports) and the text it is about to show as its Text.
void Producer::exposeValues(SectionPlan &s)
{
    for (ControlPlan &c : s.controls) {
        if (c.kind != ControlPlan::Field)
            continue;
        c.exposedValue = c.currentValue;
        c.control->setProperty("Value", c.currentValue);
        c.control->setProperty("DataValue", c.currentValue);
        if (c.showsValue()) {
            if (c.scriptText)
                c.exposedText = *c.scriptText;
            else if (!c.scriptValue && (isLate(c, s) || c.value.kind == ValueSource::Failed))
                c.exposedText = QString();
            else
                c.exposedText = c.textOf(c.currentValue);
            static_cast<Field *>(c.control)->setText(c.exposedText);
        }
    }
}

// What a script changed since exposeValues: properties of the section and
// its controls, and the values and texts of fields. True when anything the
// layout depends on changed.
bool Producer::takeScriptChanges(SectionPlan &s)
{
    bool changed = refreshControls(s);
    for (ControlPlan &c : s.controls) {
        if (c.kind != ControlPlan::Field)
            continue;
        const QVariant value = c.control->property("Value");
        const QVariant dataValue = c.control->property("DataValue");
        if (!sameValue(value, c.exposedValue) || !sameValue(dataValue, c.exposedValue)) {
            c.currentValue = sameValue(value, c.exposedValue) ? dataValue : value;
            c.scriptValue = true;
            c.scriptText.reset();
            changed = true;
        }
        if (c.showsValue()) {
            const QString text = static_cast<const Field *>(c.control)->text();
            if (text != c.exposedText) {
                c.scriptText = text;
                changed = true;
            }
        }
    }
    return changed;
}

// Fields that show values keep their designed Text between bands.
void Producer::restoreTexts(SectionPlan &s)
{
    for (ControlPlan &c : s.controls) {
        if (c.kind == ControlPlan::Field && c.showsValue())
            static_cast<Field *>(c.control)->setText(c.staticText);
    }
}

bool Producer::layoutSection(SectionPlan &s, LaidBand *out)
{
    computeValues(s);
    const bool scripted = s.hasFormat || s.hasBeforePrint;
    if (scripted)
        exposeValues(s);
    if (s.hasFormat) {
        bool cancel = false;
        fire(s.section, QStringLiteral("Format"), {}, &cancel);
        takeScriptChanges(s);
        if (cancel) {
            restoreTexts(s);
            return false;
        }
    }
    if (!s.visible) {
        if (scripted)
            restoreTexts(s);
        return false;
    }
    buildBand(s, out);
    if (s.hasBeforePrint) {
        exposeValues(s);
        fire(s.section, QStringLiteral("BeforePrint"));
        if (takeScriptChanges(s)) {
            // Measured again with what the script changed, so that CanGrow
            // and CanShrink follow a new text or a hidden control.
            for (Item &item : out->items) {
                if (item.late)
                    m_reusedLates.push_back(item.late);
            }
            *out = LaidBand();
            if (s.visible)
                buildBand(s, out);
            m_reusedLates.clear();
        }
    }
    if (scripted)
        restoreTexts(s);
    return s.visible;
}

void Producer::buildBand(SectionPlan &s, LaidBand *out)
{
    out->section = &s;
    out->height = s.height;
    out->background = s.background;
    out->keepTogether = s.keepTogether;
    out->items.reserve(s.controls.size());
    std::vector<double> designBottoms;
    designBottoms.reserve(s.controls.size());
    for (ControlPlan &c : s.controls) {
        if (!c.visible)
            continue;
        const size_t before = out->items.size();
        addControlItems(c, s, *out);
        for (size_t i = before; i < out->items.size(); ++i)
            designBottoms.push_back(c.kind == ControlPlan::Line ? out->items[i].bottom : c.top + c.height);
    }
    applyGrowth(*out, s, designBottoms);
}

bool Producer::layoutPageSection(SectionPlan *section, LaidBand *out)
{
    if (!section || !m_plan)
        return false;
    return layoutSection(*section, out);
}

bool Producer::isLate(const ControlPlan &c, const SectionPlan &section) const
{
    if (c.pageValue != ControlPlan::NoPageValue)
        return true;
    if (c.summary >= 0) {
        const SummaryPlan &s = m_plan->summaries[size_t(c.summary)];
        return s.running == 0 && !scopeComplete(s.level);
    }
    if (c.pageSummary >= 0)
        return section.type != Section::PageFooter;
    return c.value.kind == ValueSource::Expression && (c.value.readsPageNumber || c.value.readsPageCount);
}

std::shared_ptr<LateValue> Producer::lateFor(ControlPlan &c, const SectionPlan &section)
{
    if (!isLate(c, section))
        return nullptr;
    for (const auto &reused : m_reusedLates) {
        if (reused->plan == &c)
            return reused;
    }
    auto late = std::make_shared<LateValue>();
    late->plan = &c;
    late->owner = this;
    if (c.pageValue == ControlPlan::PageNumberValue) {
        late->needs = LateValue::PageNumber;
    } else if (c.pageValue == ControlPlan::PageCountValue) {
        late->needs = LateValue::PageCount;
        m_shared.waitingForEnd.push_back(late);
    } else if (c.summary >= 0) {
        SummaryPlan &s = m_plan->summaries[size_t(c.summary)];
        late->needs = LateValue::Scope;
        if (c.runningSum)
            late->running = &c;
        s.waiting.push_back(late);
    } else if (c.pageSummary >= 0) {
        SummaryPlan &s = m_plan->pageSummaries[size_t(c.pageSummary)];
        if (s.running != 0) {
            late->needs = LateValue::PageNumber; // the page's total so far, where it lands
        } else {
            late->needs = LateValue::Scope;
            s.waiting.push_back(late);
        }
    } else {
        late->evaluate = true;
        late->needs = (c.value.readsPageNumber ? LateValue::PageNumber : 0) | (c.value.readsPageCount ? LateValue::PageCount : 0);
        for (int slot : c.value.slotsRead) {
            if (pageValueOf(slot) == ControlPlan::NoPageValue)
                late->snapshot.emplace_back(slot, m_row.value(slot));
        }
        if (c.value.readsPageCount)
            m_shared.waitingForEnd.push_back(late);
    }
    return late;
}

void Producer::complete(LateValue &late)
{
    QVariant value = late.value;
    const ControlPlan *c = late.plan;
    if (late.evaluate) {
        const int savedNumber = m_row.pageNumber;
        const int savedCount = m_row.pageCount;
        m_row.pageNumber = late.pageNumber;
        m_row.pageCount = m_shared.pageCount;
        m_row.setOverlay(&late.snapshot);
        value = evaluate(c->value, c->name);
        m_row.setOverlay(nullptr);
        m_row.pageNumber = savedNumber;
        m_row.pageCount = savedCount;
    } else if (c->pageValue == ControlPlan::PageNumberValue) {
        value = late.pageNumber;
    } else if (c->pageValue == ControlPlan::PageCountValue) {
        value = m_shared.pageCount;
    }
    late.text = c->textOf(value);
    late.resolved = true;
}

void Producer::addTextItem(ControlPlan &c, const QString &text, bool rich, LaidBand &band)
{
    Item item;
    item.plan = &c;
    item.decorate = true;
    TextOp op;
    op.rect = QRectF(c.left, c.top, c.width, c.height);
    op.text = text;
    op.font = c.font;
    op.foreColor = c.foreColor;
    op.backColor = c.backColor;
    op.alignment = c.alignment;
    op.wrap = c.wrap;
    op.richText = rich;
    if (c.canGrow || c.canShrink) {
        double h = 0;
        if (rich)
            h = measureRichText(c.pageFont, c.width, text).height;
        else
            h = measureText(c.pageFont, c.width, c.wrap, text).height;
        if (c.canGrow && h > c.height + Epsilon) {
            op.rect.setHeight(h);
            item.splittable = !rich;
        } else if (c.canShrink && h < c.height) {
            op.rect.setHeight(h);
        }
    }
    item.top = op.rect.top();
    item.bottom = op.rect.bottom();
    item.op = std::move(op);
    band.items.push_back(std::move(item));
}

int Producer::pictureFor(const QVariant &value, const ControlPlan &c)
{
    const QByteArray bytes = value.toByteArray();
    if (bytes.isEmpty() || !m_shared.pages)
        return -1;
    const size_t key = qHash(bytes);
    if (auto it = m_pictures.constFind(key); it != m_pictures.cend())
        return *it;
    if (m_pictures.size() > 4096)
        m_pictures.clear();
    const QImage image = QImage::fromData(bytes);
    int index = -1;
    if (image.isNull())
        m_shared.error(Status::failure(ErrBadFileFormat, QStringLiteral("A picture of the data field \"%1\" cannot be read").arg(c.value.text), c.name));
    else
        index = m_shared.pages->addImage(image);
    m_pictures.insert(key, index);
    return index;
}

void Producer::addSubreportItem(ControlPlan &c, LaidBand &band)
{
    Status status;
    std::vector<LaidBand> bands = c.subreport->producer->runAll(&m_row, &status);
    if (!status.ok())
        m_shared.error(Status::failure(status.number(), status.description(), c.name));
    double content = 0;
    for (const LaidBand &b : bands)
        content += b.height;
    double h = c.height;
    if ((c.canGrow && content > h) || (c.canShrink && content < h))
        h = content;
    Item item;
    item.plan = &c;
    item.decorate = true;
    ShapeOp op;
    op.rect = QRectF(c.left, c.top, c.width, h);
    op.pen.style = Qt::NoPen;
    op.fill = c.backColor;
    item.op = op;
    item.top = c.top;
    item.bottom = c.top + h;
    item.children = std::move(bands);
    item.childLeft = c.left;
    band.items.push_back(std::move(item));
}

void Producer::addControlItems(ControlPlan &c, const SectionPlan &section, LaidBand &band)
{
    const QRectF rect(c.left, c.top, c.width, c.height);
    switch (c.kind) {
    case ControlPlan::Label:
        addTextItem(c, c.staticText, false, band);
        break;
    case ControlPlan::Field: {
        std::shared_ptr<LateValue> late = c.scriptText || c.scriptValue ? nullptr : lateFor(c, section);
        QString text;
        if (c.scriptText)
            text = *c.scriptText;
        else if (c.scriptValue)
            text = c.textOf(c.currentValue);
        else if (late || c.value.kind == ValueSource::Failed)
            text = QString();
        else if (c.showsValue())
            text = c.textOf(c.currentValue);
        else
            text = c.staticText;
        if (late) {
            // Late text cannot grow: the box keeps its designed size.
            const bool grow = c.canGrow;
            const bool shrink = c.canShrink;
            c.canGrow = c.canShrink = false;
            addTextItem(c, text, false, band);
            c.canGrow = grow;
            c.canShrink = shrink;
            band.items.back().late = std::move(late);
        } else {
            addTextItem(c, text, false, band);
        }
        band.items.back().hideDuplicate = c.hideDuplicates;
        break;
    }
    case ControlPlan::RichEdit: {
        QString text = c.value.kind != ValueSource::None ? c.currentValue.toString() : c.staticText;
        if (c.value.kind == ValueSource::None && !c.mergeFields.empty()) {
            const bool rtf = RichText::isRtf(text);
            for (const auto &[field, slot] : c.mergeFields) {
                const QString shown = c.textOf(m_row.value(slot));
                text.replace(field, rtf ? RichText::rtfEscaped(shown) : shown);
            }
        }
        if (text != c.richSource || c.richHtml.isNull()) {
            c.richHtml = RichText::toHtml(text, c.pageFont);
            c.richSource = text;
        }
        addTextItem(c, c.richHtml, true, band);
        break;
    }
    case ControlPlan::CheckBox: {
        const bool checked = c.value.kind != ValueSource::None ? truthy(c.currentValue) : c.checked;
        const double box = std::min(CheckBoxSize, c.height);
        Item item;
        item.plan = &c;
        CheckBoxOp op;
        op.rect = QRectF(c.left, c.top + (c.height - box) / 2, box, box);
        op.checked = checked;
        op.pen.color = c.foreColor;
        item.op = op;
        item.top = c.top;
        item.bottom = c.top + c.height;
        band.items.push_back(std::move(item));
        if (!c.staticText.isEmpty()) {
            Item caption;
            caption.plan = &c;
            TextOp text;
            text.rect = QRectF(c.left + box + 60, c.top, std::max(0.0, c.width - box - 60), c.height);
            text.text = c.staticText;
            text.font = c.font;
            text.foreColor = c.foreColor;
            text.alignment = (c.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
            caption.op = std::move(text);
            caption.top = c.top;
            caption.bottom = c.top + c.height;
            band.items.push_back(std::move(caption));
        }
        break;
    }
    case ControlPlan::Image: {
        const int image = c.value.kind != ValueSource::None ? pictureFor(c.currentValue, c) : c.image;
        Item item;
        item.plan = &c;
        item.decorate = true;
        item.top = rect.top();
        item.bottom = rect.bottom();
        if (c.backColor) {
            ShapeOp fill;
            fill.rect = rect;
            fill.pen.style = Qt::NoPen;
            fill.fill = c.backColor;
            Item back = item;
            back.decorate = false;
            back.op = fill;
            band.items.push_back(std::move(back));
        }
        if (image < 0) {
            if (!c.hasBorder)
                break;
            ShapeOp empty;
            empty.rect = rect;
            empty.pen.style = Qt::NoPen;
            item.op = empty;
        } else {
            ImageOp op;
            op.rect = rect;
            op.image = image;
            op.sizeMode = c.sizeMode;
            op.alignment = c.imageAlignment;
            item.op = op;
        }
        band.items.push_back(std::move(item));
        break;
    }
    case ControlPlan::Line: {
        if (c.pen.style == Qt::NoPen)
            break;
        Item item;
        item.plan = &c;
        LineOp op;
        op.from = c.from;
        op.to = c.to;
        op.pen = c.pen;
        item.op = op;
        item.top = std::min(c.from.y(), c.to.y());
        item.bottom = std::max(c.from.y(), c.to.y());
        band.items.push_back(std::move(item));
        break;
    }
    case ControlPlan::Shape:
    case ControlPlan::Frame: {
        Item item;
        item.plan = &c;
        item.decorate = true;
        ShapeOp op;
        op.rect = rect;
        op.fill = c.backColor;
        if (c.kind == ControlPlan::Shape) {
            op.kind = c.shape == 1 ? ShapeOp::Ellipse : (c.shape == 2 ? ShapeOp::RoundRect : ShapeOp::Rectangle);
            op.cornerRadius = std::min(c.width, c.height) / 6;
            op.pen = c.pen;
        } else {
            op.pen = c.hasBorder ? PagePen{0, 0, Qt::NoPen} : PagePen{c.pen.color, 15, Qt::SolidLine};
        }
        item.op = op;
        item.top = rect.top();
        item.bottom = rect.bottom();
        band.items.push_back(std::move(item));
        break;
    }
    case ControlPlan::Barcode: {
        Item item;
        item.plan = &c;
        item.decorate = true;
        BarcodeOp op;
        op.rect = rect;
        op.symbology = c.symbology;
        op.data = c.value.kind != ValueSource::None ? c.textOf(c.currentValue) : c.staticText;
        op.showText = c.showText;
        op.font = c.font;
        op.foreColor = c.foreColor;
        op.backColor = c.backColor;
        item.op = op;
        item.top = rect.top();
        item.bottom = rect.bottom();
        band.items.push_back(std::move(item));
        break;
    }
    case ControlPlan::SubReport:
        addSubreportItem(c, band);
        break;
    case ControlPlan::Chart:
        addChartItems(c, band);
        break;
    case ControlPlan::PageBreak:
        if (c.top > Epsilon && c.top < section.height)
            band.breaks.push_back(c.top);
        break;
    case ControlPlan::Skip:
        break;
    }
}

void Producer::applyGrowth(LaidBand &band, const SectionPlan &s, const std::vector<double> &designBottoms)
{
    const size_t n = band.items.size();
    bool changed = false;
    for (size_t i = 0; i < n; ++i)
        changed = changed || std::abs(band.items[i].bottom - designBottoms[i]) > Epsilon;
    double designMax = 0;
    double newMax = 0;
    if (changed) {
        // Items in order of their designed tops; each moves by the most
        // that any item wholly above it moved and grew.
        std::vector<double> designTops(n);
        for (size_t i = 0; i < n; ++i)
            designTops[i] = band.items[i].top;
        std::vector<size_t> order(n);
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return designTops[a] < designTops[b] || (designTops[a] == designTops[b] && designBottoms[a] < designBottoms[b]);
        });
        // An item wholly above j ends at or above j's top; such items come
        // before j in that order. They are taken in order of their designed
        // bottoms as j's top goes down, keeping the most any of them moved,
        // so every item is looked at once (sorting aside).
        std::vector<double> moved(n, 0.0); // how far each item's bottom moved
        std::vector<char> state(n, 0); // 1: placed, 2: reached before it was placed
        std::vector<size_t> byBottom(n);
        std::iota(byBottom.begin(), byBottom.end(), 0);
        std::stable_sort(byBottom.begin(), byBottom.end(), [&](size_t a, size_t b) { return designBottoms[a] < designBottoms[b]; });
        size_t next = 0; // the first of byBottom not yet reached
        bool above = false;
        double most = 0;
        const auto take = [&](size_t i) {
            most = above ? std::max(most, moved[i]) : moved[i];
            above = true;
        };
        for (size_t j : order) {
            const double reach = designTops[j] + Epsilon;
            for (; next < n && designBottoms[byBottom[next]] <= reach; ++next) {
                if (state[byBottom[next]] == 1)
                    take(byBottom[next]);
                else
                    state[byBottom[next]] = 2; // ends where j starts: counted once placed
            }
            const double shift = above ? most : 0;
            if (shift != 0)
                offsetItem(band.items[j], 0, shift);
            moved[j] = band.items[j].bottom - designBottoms[j];
            // An item that ends at the top it shares with j (a line, an
            // empty box) counts for the items after it once placed.
            if (state[j] == 2)
                take(j);
            state[j] = 1;
        }
        for (size_t i = 0; i < n; ++i) {
            designMax = std::max(designMax, designBottoms[i]);
            newMax = std::max(newMax, band.items[i].bottom);
        }
    } else if (s.canShrink) {
        for (size_t i = 0; i < n; ++i)
            newMax = std::max(newMax, band.items[i].bottom);
    }
    if (s.canShrink) {
        // Hidden controls count as gone, so the section closes up on them.
        for (const ControlPlan &c : s.controls)
            designMax = std::max(designMax, c.kind == ControlPlan::Line ? std::max(c.from.y(), c.to.y()) : c.top + c.height);
    }
    const double delta = newMax - designMax;
    if (delta > Epsilon && s.canGrow)
        band.height += delta;
    else if (delta < -Epsilon && s.canShrink)
        band.height = std::max(0.0, band.height + delta);
}

} // namespace Orv::RunInternal
