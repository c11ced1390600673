#include "engine/run/bands.h"

#include "engine/pages/textmeasure.h"
#include "engine/run/plan.h"

#include <algorithm>

namespace Orv::RunInternal {

namespace {

constexpr double Epsilon = 0.5;

template<class... Ts>
struct Overloaded : Ts...
{
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>; // clang before 17 does not deduce aggregates

TextOp &textOf(Item &item)
{
    return std::get<TextOp>(item.op);
}

// The line boundary of a wrapped text at or above limit: the number of
// whole lines that fit and where they end (the text's top when none does).
struct TextBreak
{
    int lines = 0;
    int start = 0; // text index of the first line left over
    double at = 0;
};

TextBreak textBreak(const Item &item, double limit, bool atLeastOne)
{
    const TextOp &op = std::get<TextOp>(item.op);
    TextBreak result;
    result.at = op.rect.top();
    const PageFont &font = item.plan->pageFont;
    const TextMeasurement m = measureText(font, op.rect.width(), op.wrap, op.text);
    const int count = m.lineCount();
    if (count < 2)
        return result;
    const double available = limit - op.rect.top();
    const double lineHeight = m.height / count;
    int k = std::clamp(int(available / lineHeight), 0, count - 1);
    double h = 0;
    // Lines may differ in height (fallback fonts): check the guess.
    while (k > 0) {
        h = measureText(font, op.rect.width(), op.wrap, op.text.left(m.lineStarts[k])).height;
        if (h <= available + Epsilon)
            break;
        --k;
    }
    if (k == 0 && atLeastOne) {
        k = 1;
        h = measureText(font, op.rect.width(), op.wrap, op.text.left(m.lineStarts[1])).height;
    }
    if (k == 0)
        return result;
    result.lines = k;
    result.start = m.lineStarts[k];
    result.at = op.rect.top() + h;
    return result;
}

double findCut(const LaidBand &band, double cut);

// Where a subreport can break at or above limit.
double compositeBreak(const Item &item, double limit)
{
    double y = item.top;
    for (const LaidBand &child : item.children) {
        if (y + child.height <= limit + Epsilon) {
            y += child.height;
            continue;
        }
        const double inner = findCut(child, limit - y);
        return y + std::max(0.0, inner);
    }
    return y;
}

// The highest cut at or above cut that goes through no item.
double findCut(const LaidBand &band, double cut)
{
    double c = cut;
    for (int pass = 0; pass < 64; ++pass) {
        bool lowered = false;
        for (const Item &item : band.items) {
            if (item.top >= c - Epsilon || item.bottom <= c + Epsilon)
                continue;
            double b = item.top;
            if (item.splittable)
                b = textBreak(item, c, false).at;
            else if (!item.children.empty())
                b = compositeBreak(item, c);
            if (b < c - Epsilon) {
                c = b;
                lowered = true;
            }
        }
        if (!lowered)
            break;
    }
    return c;
}

void splitItem(Item &item, double cut, bool force, LaidBand *head, LaidBand *tail)
{
    if (item.splittable) {
        const TextBreak b = textBreak(item, cut, force);
        if (b.lines > 0) {
            Item rest = item;
            TextOp &first = textOf(item);
            TextOp &second = textOf(rest);
            const QString text = first.text;
            first.text = text.left(b.start);
            first.rect.setBottom(b.at);
            item.bottom = b.at;
            second.text = text.mid(b.start);
            const double restHeight = std::max(0.0, rest.bottom - b.at);
            second.rect = QRectF(second.rect.left(), 0, second.rect.width(), restHeight);
            rest.top = 0;
            rest.bottom = restHeight;
            head->items.push_back(std::move(item));
            tail->items.push_back(std::move(rest));
            return;
        }
    } else if (!item.children.empty()) {
        Item rest = item;
        rest.children.clear();
        std::vector<LaidBand> children = std::move(item.children);
        item.children.clear();
        double y = item.top;
        size_t i = 0;
        for (; i < children.size() && y + children[i].height <= cut + Epsilon; ++i) {
            y += children[i].height;
            item.children.push_back(std::move(children[i]));
        }
        if (i < children.size()) {
            LaidBand part;
            double used = 0;
            LaidBand remainder = splitBand(children[i], cut - y, force && item.children.empty(), &part, &used);
            if (!part.items.empty() || used > Epsilon) {
                y += used;
                item.children.push_back(std::move(part));
            }
            if (!remainder.items.empty() || remainder.height > Epsilon)
                rest.children.push_back(std::move(remainder));
            for (++i; i < children.size(); ++i)
                rest.children.push_back(std::move(children[i]));
        }
        const double restHeight = std::max(0.0, item.bottom - y);
        item.bottom = y;
        if (auto *shape = std::get_if<ShapeOp>(&item.op))
            shape->rect.setBottom(y);
        rest.top = 0;
        rest.bottom = restHeight;
        if (auto *shape = std::get_if<ShapeOp>(&rest.op))
            shape->rect = QRectF(shape->rect.left(), 0, shape->rect.width(), restHeight);
        head->items.push_back(std::move(item));
        if (!rest.children.empty())
            tail->items.push_back(std::move(rest));
        return;
    }
    // Cannot be split: forced, it goes whole (and overflows); otherwise it
    // would not straddle the cut.
    head->items.push_back(std::move(item));
}

} // namespace

QRectF opRect(const PageOp &op)
{
    return std::visit(Overloaded{
                          [](const LineOp &l) { return QRectF(l.from, l.to).normalized(); },
                          [](const PolygonOp &p) { return p.bounds(); },
                          [](const auto &o) { return o.rect; },
                      },
                      op);
}

void offsetItem(Item &item, double dx, double dy)
{
    std::visit(Overloaded{
                   [&](LineOp &l) {
                       l.from += QPointF(dx, dy);
                       l.to += QPointF(dx, dy);
                   },
                   [&](PolygonOp &p) {
                       for (QPointF &point : p.points)
                           point += QPointF(dx, dy);
                   },
                   [&](auto &o) { o.rect.translate(dx, dy); },
               },
               item.op);
    item.top += dy;
    item.bottom += dy;
    item.childLeft += dx;
}

bool splitLeavesHead(const LaidBand &band, double cut)
{
    const double c = findCut(band, std::max(0.0, cut));
    for (const Item &item : band.items) {
        if (item.top < c - Epsilon)
            return true;
    }
    return false;
}

LaidBand splitBand(LaidBand &band, double cut, bool force, LaidBand *head, double *headHeight)
{
    head->section = band.section;
    head->background = band.background;
    head->keepTogether = band.keepTogether;
    head->pageInputs = std::move(band.pageInputs);
    LaidBand tail;
    tail.section = band.section;
    tail.background = band.background;
    tail.keepTogether = band.keepTogether;

    cut = std::max(0.0, cut);
    double c = findCut(band, cut);
    const bool forced = c <= Epsilon;
    if (forced) {
        if (!force) {
            // Nothing fits above the cut: the whole band is the tail.
            *headHeight = 0;
            tail.items = std::move(band.items);
            tail.height = band.height;
            tail.breaks = std::move(band.breaks);
            tail.pageInputs = std::move(head->pageInputs);
            head->pageInputs.clear();
            return tail;
        }
        c = std::max(cut, 1.0);
    }
    for (Item &item : band.items) {
        if (item.bottom <= c + Epsilon) {
            head->items.push_back(std::move(item));
        } else if (item.top >= c - Epsilon) {
            offsetItem(item, 0, -c);
            tail.items.push_back(std::move(item));
        } else {
            splitItem(item, c, forced, head, &tail);
        }
    }
    double headBottom = c;
    if (forced) {
        for (const Item &item : head->items)
            headBottom = std::max(headBottom, item.bottom);
    }
    head->height = headBottom;
    *headHeight = headBottom;
    double tailHeight = std::max(0.0, band.height - c);
    for (const Item &item : tail.items)
        tailHeight = std::max(tailHeight, item.bottom);
    tail.height = tailHeight;
    for (double b : band.breaks) {
        if (b > c + Epsilon)
            tail.breaks.push_back(b - c);
    }
    return tail;
}

} // namespace Orv::RunInternal
