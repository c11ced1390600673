#pragma once
// Laid-out bands: one printed instance of a section, its items already
// measured and positioned relative to the band's top-left corner, ready to
// be placed on a page (or split across two).
#include "engine/pages/page.h"

#include <QVariant>

#include <memory>
#include <vector>

namespace Orv::RunInternal {

struct ControlPlan;
struct SectionPlan;
class Producer;

// A value whose text is only known later than the band is laid out: page
// numbers (known when the band is placed), the page count (at the end of
// the report), totals shown before their group, page or report ends, and
// expressions that read any of these.
struct LateValue
{
    enum Need { PageNumber = 1, PageCount = 2, Scope = 4 };
    const ControlPlan *plan = nullptr;
    Producer *owner = nullptr; // whose row and expressions it was laid out with
    ControlPlan *running = nullptr; // a running sum the total adds to when known
    int needs = 0;
    QVariant value;
    int pageNumber = 0;
    // Values an expression read when the band was laid out, by slot.
    std::vector<std::pair<int, QVariant>> snapshot;
    bool evaluate = false; // the plan's expression gives the value
    bool resolved = false;
    QString text;
};

struct LaidBand;

struct Item
{
    PageOp op;          // rectangles relative to the band; TextOp::font is a run font id
    double top = 0;     // vertical extent within the band
    double bottom = 0;
    // The control it shows: its font when split, and with decorate set
    // its border and shadow.
    const ControlPlan *plan = nullptr;
    bool decorate = false;
    // Text that may continue on the next page (wrapped plain text).
    bool splittable = false;
    // Left blank when the control printed the same text just before.
    bool hideDuplicate = false;
    std::shared_ptr<LateValue> late;
    // A subreport: its bands stacked from the item's top, at the item's left.
    std::vector<LaidBand> children;
    double childLeft = 0;
};

struct LaidBand
{
    const SectionPlan *section = nullptr;
    double height = 0;
    QRgb background = 0;
    bool keepTogether = false;
    std::vector<Item> items;
    std::vector<double> breaks;          // page breaks inside the band, ascending
    // Details: value and distinct key of each page summary, in pairs.
    std::vector<QVariant> pageInputs;
};

// Splits band at cut (twips from its top): items wholly above stay in
// *head, items below move to the returned tail, text crossing the cut
// breaks between lines and subreports between their bands. The cut moves
// up so that nothing is cut through; with force set the head always takes
// something (a line, or a clipped item), so that a band taller than any
// page still makes progress. *headHeight is the height the head uses.
LaidBand splitBand(LaidBand &band, double cut, bool force, LaidBand *head, double *headHeight);

// True when splitting at cut would leave some item (or part of one) above it.
bool splitLeavesHead(const LaidBand &band, double cut);

// Moves an item (and a subreport's bands with it) by dx, dy.
void offsetItem(Item &item, double dx, double dy);
QRectF opRect(const PageOp &op);

} // namespace Orv::RunInternal
