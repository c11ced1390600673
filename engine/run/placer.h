#pragma once
// The page placer: puts the producer's bands on pages. It starts pages
// with the page header and the headers of groups that continue, ends them
// with the page footer at the bottom (nothing ever runs into it), flows
// details into columns, keeps blocks together where they fit, honours new
// page before and after, page breaks, and splits bands that do not fit.
#include "engine/run/bands.h"
#include "engine/run/producer.h"

#include <optional>
#include <unordered_map>

namespace Orv::RunInternal {

struct Patch
{
    int op = 0; // index of a TextOp whose text is late
    std::shared_ptr<LateValue> late;
};

class PageSink
{
public:
    virtual ~PageSink() = default;
    virtual void pageDone(Page &&page, std::vector<Patch> &&patches) = 0;
};

class Placer : public BandSink
{
public:
    Placer(RunShared &shared, Producer &producer, PageSink &sink);
    ~Placer() override;

    void band(LaidBand &&band) override;
    void groupOpened(int level, const LaidBand *header) override;
    void groupClosed(int level) override;
    void keepOpened() override;
    void keepClosed() override;

    // Places what is still held back and ends the last page.
    void finish();
    int pageNumber() const { return m_pageNumber; }
    // True when pages keep ending without room for anything.
    bool stuck() const { return m_emptyPages > 3; }

private:
    struct Block;
    struct Entry
    {
        enum Kind { Band, GroupOpen, GroupClose, Nested };
        Kind kind = Band;
        LaidBand band;
        int level = 0;
        std::optional<LaidBand> header;
        std::unique_ptr<Block> block;
    };
    struct Block
    {
        std::vector<Entry> entries;
        double height = 0;
        bool broken = false; // too tall to keep together: placed as it came
    };

    void submit(Entry &&entry, double height);
    void placeEntry(Entry &entry);
    void placeBlock(Block &block);
    const LaidBand *firstBand(const Block &block) const;
    void placeBand(LaidBand &&band);
    void placeFlow(LaidBand &&band);
    void placeInColumns(LaidBand &&band);
    void endColumns();
    void openPage(const LaidBand *first);
    void placePageTop();
    void endPage();
    void newPage();
    double freshCapacity() const;
    double entryHeight(const LaidBand &band) const;
    void emitBand(LaidBand &band, double x, double y, double width, bool body);
    void emitItem(Item &item, double dx, double dy);
    void addBookmark(const LaidBand &band, double y);
    int pageFont(int runFont);
    void bindLate(Item &item, int opIndex);

    RunShared &m_shared;
    Producer &m_producer;
    ReportPlan &m_plan;
    PageSink &m_sink;

    std::vector<Block> m_open; // keep-together blocks being collected, outermost first

    bool m_pageOpen = false;
    Page m_page;
    std::vector<Patch> m_patches;
    std::vector<int> m_fontMap;
    int m_pageNumber = 0;
    double m_y = 0;
    double m_left = 0; // where the bands start across this page
    double m_bodyBottom = 0;
    double m_pageHeaderHeight = 0;
    bool m_fresh = true;
    bool m_bodyPlaced = false;
    bool m_headerAfterFirst = false;
    bool m_breakPending = false;
    int m_emptyPages = 0;

    // Columns of the detail.
    bool m_inColumns = false;
    int m_column = 0;
    double m_columnTop = 0;
    double m_columnY = 0;
    double m_columnBottom = 0;
    double m_rowHeight = 0;

    std::vector<std::optional<LaidBand>> m_repeat; // by level, while the group is open
    int m_openGroups = 0;
    std::unordered_map<const ControlPlan *, QString> m_lastText; // hidden duplicates
};

} // namespace Orv::RunInternal
