#pragma once
// A report compiled for one run: every section and control with the
// properties the run reads, fonts and colours converted, data fields
// resolved to slots, expressions and output formats compiled once.
#include "engine/core/status.h"
#include "engine/model/section.h"
#include "engine/pages/page.h"
#include "engine/run/runscripting.h"
#include "engine/run/summary.h"
#include "engine/vbformat/vbformat.h"

#include <QHash>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Orv {
class Control;
class PageCollection;
class Report;
}

namespace Orv::RunInternal {

class RunRow;
struct SubReportPlan;

// Where a shown value comes from.
struct ValueSource
{
    enum Kind { None, Slot, Expression, Failed };
    Kind kind = None;
    int slot = -1;
    std::unique_ptr<RunExpression> expression;
    std::vector<int> slotsRead; // what the expression reads
    bool readsPageNumber = false;
    bool readsPageCount = false;
    QString text; // as written, for messages
};

struct SummaryPlan
{
    int function = 0;
    int type = 0;    // 1 grand total, 2 page total, 3 sub-total
    int running = 0; // 0 none, 1 over the group, 2 over the report
    int level = -1;  // the group level it totals or resets at; -1 the report
    const ValueSource *value = nullptr;
    ValueSource distinct;
    Accumulator accumulator;
    bool mismatchReported = false;
    // Values shown before their group or report ended.
    std::vector<std::shared_ptr<struct LateValue>> waiting;
};

// A chart fed by the report's own rows: each row adds its values to the
// category its group value names, within the scope of the rows the chart
// shows (the group of the section it stands in, or the whole report). The
// rows are read in one pass before the run, so headers show them too.
struct ChartPlan
{
    ValueSource group;
    std::vector<ValueSource> values; // none: the rows are counted
    QStringList valueNames;
    int function = 0;
    int scopeLevel = -1; // the group level whose rows it shows; -1 all

    struct Scope
    {
        QStringList categories; // in the order rows first named them
        QHash<QString, int> index;
        std::vector<std::vector<Accumulator>> cells; // [category][value]
    };
    QHash<QString, Scope> scopes; // by the group keys of the scope
    qint64 cells = 0;
    bool full = false; // too many categories: later ones are left out
};

struct ControlPlan
{
    enum Kind { Label, Field, CheckBox, Image, Line, Shape, RichEdit, Frame, SubReport, PageBreak, Barcode, Chart, Skip };
    Control *control = nullptr;
    Kind kind = Skip;
    QString name;
    bool visible = true;
    double left = 0, top = 0, width = 0, height = 0;

    // Text
    int font = -1; // run font id
    PageFont pageFont;
    QRgb foreColor = 0xff000000;
    QRgb backColor = 0; // alpha 0: transparent
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wrap = true;
    bool canGrow = false;
    bool canShrink = false;
    QString staticText;
    bool hideDuplicates = false;
    // Merge fields of rich text: "[!Name]" and the row slot whose value
    // replaces it when the band prints.
    std::vector<std::pair<QString, int>> mergeFields;
    // The page HTML of the last rich text shown, which most rows repeat.
    QString richSource, richHtml;

    // Border sides (top, left, right, bottom), style NoPen when absent.
    PagePen sides[4];
    bool hasBorder = false;
    bool shadow = false;

    // Data
    ValueSource value;
    std::optional<VbFormat::CompiledFormat> format;
    int summary = -1;       // index into ReportPlan::summaries
    int pageSummary = -1;   // index into ReportPlan::pageSummaries
    enum PageValue { NoPageValue, PageNumberValue, PageCountValue };
    PageValue pageValue = NoPageValue;
    QVariant currentValue;
    // What a Format or BeforePrint script made of this band's field: a text
    // shown as it stands, or a value shown through the output format.
    std::optional<QString> scriptText;
    bool scriptValue = false;
    QVariant exposedValue; // as handed to the script, to see what it changed
    QString exposedText;

    // Field.RunningSum: 1 over the group, 2 over the report.
    int runningSum = 0;
    int runningReset = -1; // the group level whose start begins it again; -1 never
    double runningTotal = 0;
    bool runningStarted = false;
    bool runningMismatch = false;

    // Lines and shapes
    QPointF from, to;
    PagePen pen;
    int shape = 0;

    // Pictures: a fixed image's index in the page collection, or -1.
    int image = -1;
    int sizeMode = 0;
    Qt::Alignment imageAlignment = Qt::AlignCenter;

    // Check boxes and bar codes
    bool checked = false;
    int symbology = 20;
    bool showText = true;

    std::shared_ptr<SubReportPlan> subreport;
    std::shared_ptr<ChartPlan> chart; // charts grouping the report's rows

    QString textOf(const QVariant &value) const;
    // A field that shows a value (data, total, page number or running sum)
    // rather than its Text.
    bool showsValue() const
    {
        return value.kind != ValueSource::None || summary >= 0 || pageSummary >= 0 || pageValue != NoPageValue || runningSum;
    }
};

struct SectionPlan
{
    Section *section = nullptr;
    Section::Type type = Section::ReportHeader;
    int level = -1; // group level of group headers and footers
    QString name;
    bool visible = true;
    double height = 0;
    bool canGrow = true;
    bool canShrink = false;
    bool keepTogether = false;
    int newPage = 0;
    int newColumn = 0;
    int grpKeepTogether = 0;
    int repeatStyle = 0;
    QRgb background = 0;
    int columnCount = 1;
    double columnSpacing = 0;
    int columnDirection = 0;
    bool hasFormat = false;
    bool hasBeforePrint = false;
    ValueSource groupKey;
    int groupOn = 0;
    int groupInterval = 1;
    bool groupMismatch = false; // reported once
    std::vector<ControlPlan> controls;
    // The order in which the controls' values are computed, when it is not
    // the designed order: a field reading another field of the section
    // comes after it. Empty: the designed order.
    std::vector<int> valueOrder;
};

struct ReportPlan
{
    Report *report = nullptr;
    std::vector<std::unique_ptr<SectionPlan>> sections;
    SectionPlan *reportHeader = nullptr;
    SectionPlan *reportFooter = nullptr;
    SectionPlan *pageHeader = nullptr;
    SectionPlan *pageFooter = nullptr;
    SectionPlan *detail = nullptr;
    std::vector<SectionPlan *> groupHeaders; // outermost first
    std::vector<SectionPlan *> groupFooters; // by level, may hold null
    std::vector<SummaryPlan> summaries;      // group and report totals
    std::vector<SummaryPlan> pageSummaries;  // page totals, fed where details land
    std::vector<ControlPlan *> fieldControls; // by RunRow control slot
    std::vector<ControlPlan *> runningFields;
    bool usesPageCount = false;

    // Page geometry in twips.
    QSizeF paper;
    double leftMargin = 0, rightMargin = 0, topMargin = 0, bottomMargin = 0;
    double printWidth = 0;
    // Mirrored margins: even pages swap the left margin (with the gutter,
    // the inside of a bound page) and the right one.
    bool mirrorMargins = false;
    double bodyLeft(int pageNumber) const
    {
        return mirrorMargins && pageNumber % 2 == 0 ? rightMargin : leftMargin;
    }
};

// What building a plan needs from the run.
struct PlanContext
{
    RunRow *row = nullptr;
    RunScripting *scripting = nullptr;
    PageCollection *pages = nullptr;      // images are stored here
    std::vector<PageFont> *fonts = nullptr; // run font table
    std::function<void(const Status &)> error;
    // Loads the layout a subreport control shows; null when it cannot.
    std::function<std::shared_ptr<SubReportPlan>(Control *)> subreport;
};

// Compiles report for a run whose row already knows its columns. Problems
// with single controls are reported through context.error and leave that
// control showing nothing; the plan is always usable.
std::unique_ptr<ReportPlan> buildPlan(Report &report, PlanContext &context);

// The field control names a plan will resolve (set on the row before
// compiling, since expressions may read them).
QStringList fieldControlNames(const Report &report);

// Compiles one value: "" nothing, "name" a column, "=[name]" or "=name" a
// plain reference, "=expression" through scripting.
ValueSource compileValue(const QString &dataField, const QString &where, PlanContext &context);

int fontId(std::vector<PageFont> &fonts, const PageFont &font);
QSizeF paperSize(int paperSize, double width, double height, int orientation);

} // namespace Orv::RunInternal
