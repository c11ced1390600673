#include "engine/run/placer.h"

#include "engine/model/report.h"
#include "engine/model/section.h"

#include <algorithm>

namespace Orv::RunInternal {

namespace {

constexpr double Epsilon = 0.5;
constexpr double ShadowOffset = 45;

bool isEmpty(const LaidBand &band)
{
    return band.items.empty() && band.height <= Epsilon;
}

} // namespace

Placer::Placer(RunShared &shared, Producer &producer, PageSink &sink)
    : m_shared(shared)
    , m_producer(producer)
    , m_plan(*producer.plan())
    , m_sink(sink)
{
    m_repeat.resize(m_plan.groupHeaders.size());
}

Placer::~Placer() = default;

double Placer::entryHeight(const LaidBand &band) const
{
    const SectionPlan *s = band.section;
    if (s && s->type == Section::Detail && s->columnCount > 1)
        return band.height / s->columnCount;
    return band.height;
}

// Body height of a new page: below the page header and the headers that
// would repeat there.
double Placer::freshCapacity() const
{
    double used = m_pageHeaderHeight;
    for (int level = 0; level < m_openGroups && level < int(m_repeat.size()); ++level) {
        if (m_repeat[size_t(level)])
            used += m_repeat[size_t(level)]->height;
    }
    const double footer = m_plan.pageFooter && m_plan.pageFooter->visible ? m_plan.pageFooter->height : 0;
    return m_plan.paper.height() - m_plan.topMargin - m_plan.bottomMargin - footer - used;
}

// ---- keep-together blocks -------------------------------------------------

void Placer::band(LaidBand &&b)
{
    Entry e;
    e.kind = Entry::Band;
    const double h = entryHeight(b);
    e.band = std::move(b);
    submit(std::move(e), h);
}

void Placer::groupOpened(int level, const LaidBand *header)
{
    Entry e;
    e.kind = Entry::GroupOpen;
    e.level = level;
    if (header)
        e.header = *header;
    submit(std::move(e), 0);
}

void Placer::groupClosed(int level)
{
    Entry e;
    e.kind = Entry::GroupClose;
    e.level = level;
    submit(std::move(e), 0);
}

void Placer::keepOpened()
{
    m_open.emplace_back();
}

void Placer::keepClosed()
{
    if (m_open.empty())
        return;
    Block block = std::move(m_open.back());
    m_open.pop_back();
    if (block.broken)
        return;
    // Into the nearest block still collecting, or onto the page.
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
        if (!it->broken) {
            Entry e;
            e.kind = Entry::Nested;
            it->height += block.height;
            e.block = std::make_unique<Block>(std::move(block));
            it->entries.push_back(std::move(e));
            return;
        }
    }
    placeBlock(block);
}

void Placer::submit(Entry &&entry, double height)
{
    Block *target = nullptr;
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
        if (!it->broken) {
            target = &*it;
            break;
        }
    }
    if (!target) {
        placeEntry(entry);
        return;
    }
    target->entries.push_back(std::move(entry));
    for (Block &b : m_open) {
        if (!b.broken)
            b.height += height;
    }
    // A block taller than a page cannot be kept together: what it holds
    // goes onto the pages now, and its inner blocks still try.
    const double capacity = std::max(freshCapacity(), 1.0);
    for (Block &b : m_open) {
        if (b.broken)
            continue;
        if (b.height <= capacity)
            break;
        b.broken = true;
        std::vector<Entry> entries = std::move(b.entries);
        b.entries.clear();
        for (Entry &e : entries)
            placeEntry(e);
    }
}

void Placer::placeEntry(Entry &e)
{
    switch (e.kind) {
    case Entry::Band:
        placeBand(std::move(e.band));
        break;
    case Entry::GroupOpen:
        if (e.level < int(m_repeat.size())) {
            m_repeat[size_t(e.level)] = std::move(e.header);
            m_openGroups = e.level + 1;
        }
        m_lastText.clear();
        break;
    case Entry::GroupClose:
        if (e.level < int(m_repeat.size())) {
            m_repeat[size_t(e.level)].reset();
            m_openGroups = std::min(m_openGroups, e.level);
        }
        break;
    case Entry::Nested:
        placeBlock(*e.block);
        break;
    }
}

const LaidBand *Placer::firstBand(const Block &block) const
{
    for (const Entry &e : block.entries) {
        if (e.kind == Entry::Band)
            return &e.band;
        if (e.kind == Entry::Nested) {
            if (const LaidBand *b = firstBand(*e.block))
                return b;
        }
    }
    return nullptr;
}

void Placer::placeBlock(Block &block)
{
    const LaidBand *first = firstBand(block);
    if (first && m_pageOpen && !m_fresh && (m_breakPending || (first->section->newPage & 1))) {
        m_breakPending = false;
        newPage();
    }
    if (m_pageOpen && !m_fresh) {
        endColumns();
        const double remaining = m_bodyBottom - m_y;
        if (block.height > remaining + Epsilon && block.height <= freshCapacity() + Epsilon)
            newPage();
    }
    for (Entry &e : block.entries)
        placeEntry(e);
}

// ---- pages ----------------------------------------------------------------

void Placer::openPage(const LaidBand *first)
{
    ++m_pageNumber;
    m_shared.currentPage = m_pageNumber;
    m_page = Page();
    m_page.size = m_plan.paper;
    m_patches.clear();
    m_fontMap.assign(m_shared.fonts.size(), -1);
    m_lastText.clear();
    m_pageOpen = true;
    m_bodyPlaced = false;
    m_fresh = true;
    m_inColumns = false;
    for (SummaryPlan &s : m_plan.pageSummaries) {
        if (s.running != 2)
            s.accumulator.reset();
    }
    m_producer.fire(m_plan.report, QStringLiteral("PageStart"));
    const double footer = m_plan.pageFooter && m_plan.pageFooter->visible ? m_plan.pageFooter->height : 0;
    m_bodyBottom = m_plan.paper.height() - m_plan.bottomMargin - footer;
    m_y = m_plan.topMargin;
    m_left = m_plan.bodyLeft(m_pageNumber);
    // The report header stands above the page header on the first page.
    m_headerAfterFirst = m_pageNumber == 1 && first && first->section == m_plan.reportHeader;
    if (!m_headerAfterFirst)
        placePageTop();
}

void Placer::placePageTop()
{
    LaidBand header;
    m_pageHeaderHeight = 0;
    if (m_producer.layoutPageSection(m_plan.pageHeader, &header)) {
        emitBand(header, m_left, m_y, m_plan.printWidth, false);
        m_y += header.height;
        m_pageHeaderHeight = header.height;
    }
    for (int level = 0; level < m_openGroups && level < int(m_repeat.size()); ++level) {
        if (!m_repeat[size_t(level)])
            continue;
        LaidBand copy = *m_repeat[size_t(level)];
        if (m_y + copy.height > m_bodyBottom + Epsilon)
            break;
        // Each copy shows its own page number.
        for (Item &item : copy.items) {
            if (item.late && (item.late->needs & LateValue::PageNumber) && !(item.late->needs & LateValue::Scope)) {
                item.late = std::make_shared<LateValue>(*item.late);
                if (item.late->needs & LateValue::PageCount)
                    m_shared.waitingForEnd.push_back(item.late);
            }
        }
        emitBand(copy, m_left, m_y, m_plan.printWidth, false);
        m_y += copy.height;
    }
}

void Placer::endPage()
{
    if (!m_pageOpen)
        return;
    endColumns();
    if (m_headerAfterFirst) {
        m_headerAfterFirst = false;
        placePageTop();
    }
    for (SummaryPlan &s : m_plan.pageSummaries) {
        const QVariant total = s.accumulator.result();
        for (auto &late : s.waiting) {
            late->value = total;
            late->needs &= ~LateValue::Scope;
            if (!late->needs)
                late->owner->complete(*late);
        }
        s.waiting.clear();
    }
    LaidBand footer;
    if (m_producer.layoutPageSection(m_plan.pageFooter, &footer))
        emitBand(footer, m_left, m_bodyBottom, m_plan.printWidth, false);
    m_producer.fire(m_plan.report, QStringLiteral("PageEnd"));
    m_emptyPages = m_bodyPlaced ? 0 : m_emptyPages + 1;
    m_pageOpen = false;
    m_sink.pageDone(std::move(m_page), std::move(m_patches));
    m_page = Page();
    m_patches.clear();
}

void Placer::newPage()
{
    endPage();
    openPage(nullptr);
}

void Placer::finish()
{
    while (!m_open.empty())
        keepClosed();
    if (!m_pageOpen && m_pageNumber == 0)
        openPage(nullptr); // a report with nothing to print still has a page
    endPage();
}

// ---- bands ----------------------------------------------------------------

void Placer::placeBand(LaidBand &&band)
{
    const SectionPlan *s = band.section;
    const bool breakBefore = m_breakPending || (s->newPage & 1);
    m_breakPending = false;
    if (breakBefore && m_pageOpen && !m_fresh)
        newPage();
    if (!m_pageOpen)
        openPage(&band);
    const bool isReportHeader = s == m_plan.reportHeader;
    if (s->type == Section::Detail && s->columnCount > 1) {
        placeInColumns(std::move(band));
    } else {
        endColumns();
        if (s->type == Section::GroupHeader)
            addBookmark(band, m_y);
        placeFlow(std::move(band));
    }
    if (isReportHeader && m_headerAfterFirst) {
        m_headerAfterFirst = false;
        placePageTop();
    }
    if (s->newPage & 2)
        m_breakPending = true;
}

void Placer::placeFlow(LaidBand &&input)
{
    LaidBand band = std::move(input);
    // The left edge is the page's: a band split onto a new page moves with it.
    const double width = m_plan.printWidth;
    for (int guard = 0; guard < 1000000; ++guard) {
        const double avail = m_bodyBottom - m_y;
        const bool hasBreak = !band.breaks.empty() && band.breaks.front() < band.height;
        if (!hasBreak && band.height <= avail + Epsilon) {
            emitBand(band, m_left, m_y, width, true);
            m_y += band.height;
            return;
        }
        if (!hasBreak && band.keepTogether && !m_fresh && band.height <= freshCapacity() + Epsilon) {
            newPage();
            continue;
        }
        if (m_fresh && avail <= Epsilon) {
            // The page header leaves no room: the band overflows rather
            // than waiting forever for a page with room.
            emitBand(band, m_left, m_y, width, true);
            m_y += band.height;
            return;
        }
        const double cut = hasBreak ? std::min(band.breaks.front(), avail) : avail;
        if (!m_fresh && !splitLeavesHead(band, cut)) {
            // Nothing of the band would show here: all of it goes on.
            newPage();
            continue;
        }
        LaidBand head;
        double used = 0;
        LaidBand tail = splitBand(band, cut, m_fresh, &head, &used);
        if (head.items.empty() && used <= Epsilon) {
            if (m_fresh) {
                emitBand(tail, m_left, m_y, width, true);
                m_y += tail.height;
                return;
            }
            newPage();
            band = std::move(tail);
            continue;
        }
        emitBand(head, m_left, m_y, width, true);
        m_y += used;
        const bool breakHere = hasBreak && band.breaks.front() <= avail + Epsilon;
        if (isEmpty(tail) && !breakHere)
            return;
        newPage();
        if (isEmpty(tail))
            return;
        band = std::move(tail);
    }
}

void Placer::placeInColumns(LaidBand &&band)
{
    const SectionPlan *s = band.section;
    const int n = s->columnCount;
    const double columnWidth = std::max(0.0, (m_plan.printWidth - (n - 1) * s->columnSpacing) / n);
    const double pitch = columnWidth + s->columnSpacing;
    const bool across = s->columnDirection == 1;
    if (!m_inColumns) {
        m_inColumns = true;
        m_column = 0;
        m_columnTop = m_columnY = m_columnBottom = m_y;
        m_rowHeight = 0;
    }
    if ((s->newColumn & 1) && (across ? m_column > 0 : m_columnY > m_columnTop + Epsilon)) {
        if (across) {
            m_column = 0;
            m_columnTop += m_rowHeight;
            m_rowHeight = 0;
        } else if (++m_column >= n) {
            newPage();
            return placeInColumns(std::move(band));
        } else {
            m_columnY = m_columnTop;
        }
    }
    for (int guard = 0; guard < 4; ++guard) {
        const double y = across ? m_columnTop : m_columnY;
        if (y + band.height <= m_bodyBottom + Epsilon || m_fresh)
            break;
        if (!across && m_column + 1 < n) {
            ++m_column;
            m_columnY = m_columnTop;
            continue;
        }
        newPage();
        m_inColumns = true;
        m_column = 0;
        m_columnTop = m_columnY = m_columnBottom = m_y;
        m_rowHeight = 0;
    }
    const double x = m_left + m_column * pitch;
    const double h = band.height;
    const bool breakAfter = s->newColumn & 2;
    if (across) {
        emitBand(band, x, m_columnTop, columnWidth, true);
        m_rowHeight = std::max(m_rowHeight, h);
        m_columnBottom = std::max(m_columnBottom, m_columnTop + m_rowHeight);
        if (++m_column >= n || breakAfter) {
            m_column = 0;
            m_columnTop += m_rowHeight;
            m_rowHeight = 0;
        }
    } else {
        emitBand(band, x, m_columnY, columnWidth, true);
        m_columnY += h;
        m_columnBottom = std::max(m_columnBottom, m_columnY);
        if (breakAfter && m_column + 1 < n) {
            ++m_column;
            m_columnY = m_columnTop;
        }
    }
    m_y = m_columnBottom;
}

void Placer::endColumns()
{
    if (!m_inColumns)
        return;
    m_inColumns = false;
    m_y = std::max(m_y, m_columnBottom);
}

void Placer::addBookmark(const LaidBand &band, double y)
{
    for (const Item &item : band.items) {
        if (const auto *t = std::get_if<TextOp>(&item.op); t && !t->text.isEmpty() && !item.late) {
            m_page.bookmarks.push_back({band.section->level, t->text, y});
            return;
        }
    }
}

int Placer::pageFont(int runFont)
{
    if (runFont < 0 || runFont >= int(m_shared.fonts.size()))
        return m_page.fontIndex(PageFont());
    if (runFont >= int(m_fontMap.size()))
        m_fontMap.resize(m_shared.fonts.size(), -1);
    int &index = m_fontMap[size_t(runFont)];
    if (index < 0)
        index = m_page.fontIndex(m_shared.fonts[size_t(runFont)]);
    return index;
}

void Placer::bindLate(Item &item, int opIndex)
{
    LateValue &late = *item.late;
    if (!late.resolved && (late.needs & LateValue::PageNumber)) {
        late.pageNumber = m_pageNumber;
        if (late.plan->pageSummary >= 0)
            late.value = m_plan.pageSummaries[size_t(late.plan->pageSummary)].accumulator.result();
        late.needs &= ~LateValue::PageNumber;
        if (!late.needs)
            late.owner->complete(late);
    }
    auto &op = std::get<TextOp>(m_page.ops[size_t(opIndex)]);
    if (late.resolved)
        op.text = late.text;
    else
        m_patches.push_back({opIndex, item.late});
}

void Placer::emitBand(LaidBand &band, double x, double y, double width, bool body)
{
    if (body) {
        m_bodyPlaced = true;
        m_fresh = false;
    }
    if (qAlpha(band.background) && band.height > 0) {
        ShapeOp fill;
        fill.rect = QRectF(x, y, width, band.height);
        fill.pen.style = Qt::NoPen;
        fill.fill = band.background;
        m_page.ops.push_back(fill);
    }
    if (body && !band.pageInputs.empty()) {
        for (size_t i = 0; i < m_plan.pageSummaries.size() && 2 * i + 1 < band.pageInputs.size(); ++i)
            m_plan.pageSummaries[i].accumulator.add(band.pageInputs[2 * i], band.pageInputs[2 * i + 1]);
    }
    for (Item &item : band.items)
        emitItem(item, x, y);
}

void Placer::emitItem(Item &item, double dx, double dy)
{
    const ControlPlan *plan = item.plan;
    if (item.decorate && plan && plan->shadow) {
        ShapeOp shadow;
        shadow.rect = opRect(item.op).translated(dx + ShadowOffset, dy + ShadowOffset);
        shadow.pen.style = Qt::NoPen;
        shadow.fill = 0xff808080;
        m_page.ops.push_back(shadow);
    }
    offsetItem(item, dx, dy);
    const QRectF rect = opRect(item.op);
    if (auto *text = std::get_if<TextOp>(&item.op)) {
        text->font = pageFont(text->font);
        if (item.hideDuplicate && plan && !item.late) {
            auto [it, inserted] = m_lastText.try_emplace(plan, text->text);
            if (!inserted) {
                if (it->second == text->text)
                    text->text.clear();
                else
                    it->second = text->text;
            }
        }
    } else if (auto *bar = std::get_if<BarcodeOp>(&item.op)) {
        bar->font = pageFont(bar->font);
    }
    const bool skip = [&] {
        if (const auto *shape = std::get_if<ShapeOp>(&item.op))
            return shape->pen.style == Qt::NoPen && !qAlpha(shape->fill);
        return false;
    }();
    if (!skip) {
        const int opIndex = int(m_page.ops.size());
        m_page.ops.push_back(std::move(item.op));
        if (item.late)
            bindLate(item, opIndex);
    }
    if (item.decorate && plan && plan->hasBorder) {
        const QPointF corners[4] = {rect.topLeft(), rect.topRight(), rect.bottomRight(), rect.bottomLeft()};
        // top, left, right, bottom
        const std::pair<int, int> ends[4] = {{0, 1}, {0, 3}, {1, 2}, {3, 2}};
        for (int side = 0; side < 4; ++side) {
            if (plan->sides[side].style == Qt::NoPen)
                continue;
            LineOp line;
            line.from = corners[ends[side].first];
            line.to = corners[ends[side].second];
            line.pen = plan->sides[side];
            m_page.ops.push_back(line);
        }
    }
    if (!item.children.empty()) {
        double y = item.top;
        for (LaidBand &child : item.children) {
            emitBand(child, item.childLeft, y, rect.width(), false);
            y += child.height;
        }
    }
}

} // namespace Orv::RunInternal
