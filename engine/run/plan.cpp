#include "engine/run/plan.h"

#include "engine/look/controllook.h"
#include "engine/model/chart.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/rowaccess.h"

#include <QImage>
#include <QPageSize>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace Orv::RunInternal {

namespace {

constexpr double TwipsPerPixel = 15.0;

QString controlWhere(const Control *control)
{
    const Section *s = control->section();
    return s ? QStringLiteral("%1.%2").arg(s->name(), control->name()) : control->name();
}

int addPicture(PlanContext &context, const QByteArray &bytes, const Control *control)
{
    if (bytes.isEmpty() || !context.pages)
        return -1;
    const QImage image = QImage::fromData(bytes);
    if (image.isNull()) {
        context.error(Status::failure(ErrBadFileFormat, QStringLiteral("The picture of %1 cannot be read").arg(control->name()),
                                      controlWhere(control)));
        return -1;
    }
    return context.pages->addImage(image);
}

void setBox(ControlPlan &plan, const BoxControl *box)
{
    plan.backColor = box->backStyle() == BackStyle::Opaque ? Look::color(box->backColor()) : 0;
    const Border *b = box->border();
    plan.sides[0] = Look::borderPen(b->topStyle(), b->topColor());
    plan.sides[1] = Look::borderPen(b->leftStyle(), b->leftColor());
    plan.sides[2] = Look::borderPen(b->rightStyle(), b->rightColor());
    plan.sides[3] = Look::borderPen(b->bottomStyle(), b->bottomColor());
    plan.hasBorder = false;
    for (const PagePen &p : plan.sides)
        plan.hasBorder = plan.hasBorder || p.style != Qt::NoPen;
    plan.shadow = b->shadow();
}

void setText(ControlPlan &plan, const TextControl *text, PlanContext &context)
{
    setBox(plan, text);
    plan.pageFont = Look::pageFont(*text->font());
    plan.font = fontId(*context.fonts, plan.pageFont);
    plan.foreColor = Look::color(text->foreColor());
    plan.alignment = Look::textAlignment(text->alignment(), text->verticalAlignment());
    plan.wrap = text->wordWrap();
}

} // namespace

int fontId(std::vector<PageFont> &fonts, const PageFont &font)
{
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == font)
            return int(i);
    }
    fonts.push_back(font);
    return int(fonts.size() - 1);
}

QSizeF paperSize(int size, double width, double height, int orientation)
{
    QSizeF paper(width, height);
    if (size > 0 && size != 256) {
        const QPageSize::PageSizeId id = QPageSize::id(size);
        if (id != QPageSize::Custom) {
            // The size as the standard defines it (millimetres for ISO, inches for US sizes).
            const QPageSize page(id);
            const QSizeF size = page.definitionSize();
            double scale = 20.0;
            if (page.definitionUnits() == QPageSize::Millimeter)
                scale = 1440.0 / 25.4;
            else if (page.definitionUnits() == QPageSize::Inch)
                scale = 1440.0;
            paper = QSizeF(std::round(size.width() * scale), std::round(size.height() * scale));
        }
    }
    if (paper.width() <= 0 || paper.height() <= 0)
        paper = QSizeF(12240, 15840);
    const bool landscape = paper.width() > paper.height();
    if ((orientation == 2 && !landscape) || (orientation == 1 && landscape))
        paper.transpose();
    return paper;
}

QString ControlPlan::textOf(const QVariant &v) const
{
    if (format)
        return format->apply(v);
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(v.toLongLong());
    default: {
        static const VbFormat::CompiledFormat general{QString()};
        return general.apply(v);
    }
    }
}

QStringList fieldControlNames(const Report &report)
{
    QStringList names;
    for (const Control *c : report.allControls()) {
        if (qobject_cast<const Field *>(c))
            names << c->name();
    }
    return names;
}

ValueSource compileValue(const QString &dataField, const QString &where, PlanContext &context)
{
    ValueSource source;
    source.text = dataField;
    const QString trimmed = dataField.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('\'')))
        return source;
    static const QRegularExpression bracket(QStringLiteral("^\\[([^\\]]+)\\]$"));
    static const QRegularExpression identifier(QStringLiteral("^[\\p{L}_][\\p{L}\\p{N}_.]*$"));
    const auto lookUp = [&](const QString &name) {
        int slot = context.row->slotOf(name);
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (slot < 0 && dot > 0)
            slot = context.row->slotOf(name.mid(dot + 1)); // Table.Field
        return slot;
    };
    const auto fail = [&](int number, const QString &text) {
        source.kind = ValueSource::Failed;
        context.error(Status::failure(number, text, where));
        return std::move(source);
    };
    QString name;
    bool plain = true;
    if (!trimmed.startsWith(QLatin1Char('='))) {
        name = trimmed;
    } else {
        const QString body = trimmed.mid(1).trimmed();
        if (auto m = bracket.match(body); m.hasMatch())
            name = m.captured(1);
        else if (identifier.match(body).hasMatch())
            name = body;
        else
            plain = false;
    }
    if (plain) {
        const int slot = lookUp(name);
        if (slot >= 0) {
            source.kind = ValueSource::Slot;
            source.slot = slot;
            return source;
        }
        if (!trimmed.startsWith(QLatin1Char('=')) || !context.scripting)
            return fail(ErrItemNotFound, QStringLiteral("The data field \"%1\" names no field of the data source").arg(name));
    }
    if (!context.scripting)
        return fail(ErrInvalidCall, QStringLiteral("The expression \"%1\" needs report scripting, which this run does not have")
                                        .arg(dataField));
    Status status;
    context.row->beginRecording();
    auto expression = context.scripting->compileExpression(trimmed.mid(1), *context.row, &status);
    source.slotsRead = context.row->endRecording();
    if (!expression || !status.ok())
        return fail(status.ok() ? ErrInvalidCall : status.number(),
                    QStringLiteral("The expression \"%1\" does not compile: %2").arg(dataField, status.description()));
    source.kind = ValueSource::Expression;
    source.expression = std::move(expression);
    for (int slot : source.slotsRead) {
        source.readsPageNumber = source.readsPageNumber || slot == RunRow::pageNumberSlot();
        source.readsPageCount = source.readsPageCount || slot == RunRow::pageCountSlot();
    }
    return source;
}

namespace {

class Builder
{
public:
    Builder(Report &report, PlanContext &context) : m_report(report), m_context(context) {}

    // "[!Name]" in a rich text names a field of the row (as the designer's
    // Insert Field writes it); a name the data source lacks is reported once
    // and the text stays as written.
    void planMergeFields(ControlPlan &cp, const QString &where)
    {
        static const QRegularExpression merge(QStringLiteral("\\[!([^\\]\\[{}\\\\]+)\\]"));
        for (auto it = merge.globalMatch(cp.staticText); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString name = m.captured(1).trimmed();
            if (std::any_of(cp.mergeFields.begin(), cp.mergeFields.end(),
                            [&](const auto &f) { return f.first == m.captured(0); }))
                continue;
            int slot = m_context.row->slotOf(name);
            if (slot < 0 && name.contains(u'.'))
                slot = m_context.row->slotOf(name.mid(name.lastIndexOf(u'.') + 1));
            if (slot < 0) {
                m_context.error(Status::failure(ErrItemNotFound, QStringLiteral("The merge field %1 names no field of the data source")
                                                          .arg(m.captured(0)),
                                                where));
                continue;
            }
            cp.mergeFields.emplace_back(m.captured(0), slot);
        }
    }

    std::unique_ptr<ReportPlan> build()
    {
        auto plan = std::make_unique<ReportPlan>();
        m_plan = plan.get();
        plan->report = &m_report;
        const PageSettings *ps = m_report.pageSettings();
        plan->paper = paperSize(ps->paperSize(), ps->paperWidth(), ps->paperHeight(), ps->orientation());
        plan->leftMargin = ps->leftMargin() + ps->gutter();
        plan->rightMargin = ps->rightMargin();
        plan->topMargin = ps->topMargin();
        plan->bottomMargin = ps->bottomMargin();
        plan->mirrorMargins = ps->mirrorMargins();
        plan->printWidth = m_report.printWidth();

        const Sections *sections = m_report.sections();
        // Roles first, so that summaries can find their group levels.
        for (Section *s : *sections) {
            auto sp = std::make_unique<SectionPlan>();
            sp->section = s;
            sp->type = s->type();
            sp->name = s->name();
            SectionPlan *raw = sp.get();
            plan->sections.push_back(std::move(sp));
            switch (s->type()) {
            case Section::ReportHeader: if (!plan->reportHeader) plan->reportHeader = raw; break;
            case Section::ReportFooter: if (!plan->reportFooter) plan->reportFooter = raw; break;
            case Section::PageHeader: if (!plan->pageHeader) plan->pageHeader = raw; break;
            case Section::PageFooter: if (!plan->pageFooter) plan->pageFooter = raw; break;
            case Section::Detail: if (!plan->detail) plan->detail = raw; break;
            case Section::GroupHeader:
                raw->level = int(plan->groupHeaders.size());
                plan->groupHeaders.push_back(raw);
                break;
            case Section::GroupFooter: break;
            }
        }
        plan->groupFooters.assign(plan->groupHeaders.size(), nullptr);
        for (auto &sp : plan->sections) {
            if (sp->type != Section::GroupFooter)
                continue;
            const Section *header = sections->groupHeaderFor(sp->section);
            for (SectionPlan *h : plan->groupHeaders) {
                if (h->section == header) {
                    sp->level = h->level;
                    plan->groupFooters[size_t(h->level)] = sp.get();
                }
            }
        }
        for (auto &sp : plan->sections)
            buildSection(*sp);
        // Pointers into the control vectors, now that they are complete.
        for (auto &sp : plan->sections) {
            for (ControlPlan &c : sp->controls) {
                if (qobject_cast<Field *>(c.control))
                    plan->fieldControls.push_back(&c);
                if (c.runningSum)
                    plan->runningFields.push_back(&c);
                if (c.summary >= 0)
                    plan->summaries[size_t(c.summary)].value = &c.value;
                if (c.pageSummary >= 0)
                    plan->pageSummaries[size_t(c.pageSummary)].value = &c.value;
            }
        }
        for (auto &sp : plan->sections)
            orderValues(*sp, *plan);
        return plan;
    }

private:
    // A field whose expression reads another field of the same section (as
    // Access reports do: ="VK" & [tbxRowNum]) is computed after that field,
    // so it shows this row's value rather than the last one. Fields reading
    // each other in a circle keep the order they are met in.
    static void orderValues(SectionPlan &sp, const ReportPlan &plan)
    {
        const int n = int(sp.controls.size());
        const ControlPlan *first = sp.controls.data();
        std::vector<std::vector<int>> reads(static_cast<size_t>(n));
        bool any = false;
        for (int i = 0; i < n; ++i) {
            for (int slot : sp.controls[size_t(i)].value.slotsRead) {
                const int field = RunRow::indexOf(slot);
                if (RunRow::kindOf(slot) != RunRow::Control || field < 0 || field >= int(plan.fieldControls.size()))
                    continue;
                const ControlPlan *target = plan.fieldControls[size_t(field)];
                if (target >= first && target < first + n && target != first + i) {
                    reads[size_t(i)].push_back(int(target - first));
                    any = true;
                }
            }
        }
        if (!any)
            return;
        std::vector<char> seen(static_cast<size_t>(n), 0);
        const std::function<void(int)> visit = [&](int i) {
            if (seen[size_t(i)])
                return;
            seen[size_t(i)] = 1;
            for (int r : reads[size_t(i)])
                visit(r);
            sp.valueOrder.push_back(i);
        };
        for (int i = 0; i < n; ++i)
            visit(i);
    }

    void buildSection(SectionPlan &sp)
    {
        const Section *s = sp.section;
        sp.visible = s->visible();
        sp.height = s->height();
        sp.canGrow = s->canGrow();
        sp.canShrink = s->canShrink();
        sp.keepTogether = s->keepTogether();
        sp.newPage = s->newPage();
        sp.newColumn = s->newColumn();
        sp.grpKeepTogether = s->grpKeepTogether();
        sp.repeatStyle = s->repeatStyle();
        sp.background = s->backStyle() == BackStyle::Opaque ? Look::color(s->backColor()) : 0;
        if (sp.type == Section::Detail) {
            sp.columnCount = std::max(1, s->columnCount());
            sp.columnSpacing = s->columnSpacing();
            sp.columnDirection = s->columnDirection();
        }
        if (m_context.scripting) {
            sp.hasFormat = m_context.scripting->hasHandler(sp.section, QStringLiteral("Format"));
            sp.hasBeforePrint = m_context.scripting->hasHandler(sp.section, QStringLiteral("BeforePrint"));
        }
        if (sp.type == Section::GroupHeader) {
            sp.groupKey = compileValue(s->dataField(), sp.name, m_context);
            sp.groupOn = s->groupOn();
            sp.groupInterval = std::max(1, s->groupInterval());
        }
        sp.controls.reserve(size_t(s->controls()->Count()));
        for (Control *c : *s->controls()) {
            ControlPlan cp;
            if (buildControl(cp, c, sp))
                sp.controls.push_back(std::move(cp));
        }
    }

    int groupLevel(const QString &name, const SectionPlan &sp) const
    {
        if (!name.trimmed().isEmpty()) {
            for (const SectionPlan *h : m_plan->groupHeaders) {
                if (h->name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
                    return h->level;
            }
        }
        if (sp.level >= 0)
            return sp.level;
        return int(m_plan->groupHeaders.size()) - 1;
    }

    void buildSummary(ControlPlan &cp, const Field *f, const SectionPlan &sp)
    {
        SummaryPlan sum;
        sum.function = f->summaryFunc();
        sum.type = f->summaryType();
        sum.running = f->summaryRunning();
        sum.accumulator = Accumulator(sum.function);
        if (sum.type == 3 || sum.running == 1)
            sum.level = groupLevel(f->summaryGroup(), sp);
        if (sum.running == 2)
            sum.level = -1;
        if (sum.accumulator.isDistinct() && !f->summaryDistinctField().trimmed().isEmpty())
            sum.distinct = compileValue(f->summaryDistinctField(), controlWhere(f), m_context);
        if (sum.type == 2) {
            cp.pageSummary = int(m_plan->pageSummaries.size());
            m_plan->pageSummaries.push_back(std::move(sum));
        } else {
            cp.summary = int(m_plan->summaries.size());
            m_plan->summaries.push_back(std::move(sum));
        }
    }

    std::shared_ptr<ChartPlan> chartPlan(const Chart *chart, const SectionPlan &sp, const QString &where)
    {
        auto plan = std::make_shared<ChartPlan>();
        plan->group = compileValue(chart->groupField().trimmed(), where, m_context);
        for (QString name : chart->valueFields().split(QRegularExpression(QStringLiteral("[;,]")))) {
            name = name.trimmed();
            if (name.isEmpty())
                continue;
            plan->values.push_back(compileValue(name, where, m_context));
            if (name.startsWith(QLatin1Char('=')))
                name = name.mid(1).trimmed();
            if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
                name = name.mid(1, name.size() - 2);
            plan->valueNames << name;
        }
        plan->function = chart->summaryFunc();
        // Group sections show their group's rows, the detail its innermost
        // group's; anywhere else the chart shows every row.
        if (sp.type == Section::GroupHeader || sp.type == Section::GroupFooter)
            plan->scopeLevel = sp.level;
        else if (sp.type == Section::Detail)
            plan->scopeLevel = int(m_plan->groupHeaders.size()) - 1;
        return plan;
    }

    bool buildControl(ControlPlan &cp, Control *c, SectionPlan &sp)
    {
        cp.control = c;
        cp.name = c->name();
        cp.visible = c->visible();
        cp.left = c->left();
        cp.top = c->top();
        cp.width = c->width();
        cp.height = c->height();
        const QString where = controlWhere(c);
        if (auto *f = qobject_cast<Field *>(c)) {
            cp.kind = ControlPlan::Field;
            setText(cp, f, m_context);
            cp.staticText = f->text();
            cp.canGrow = f->canGrow();
            cp.canShrink = f->canShrink();
            cp.hideDuplicates = f->hideDuplicates();
            if (f->runningSum() > 0 && f->summaryType() != 4) {
                // Over the group: the group around the section begins it
                // again (a detail's innermost group, the next outer group
                // for group headers and footers).
                cp.runningSum = f->runningSum();
                if (cp.runningSum == 1 && sp.type == Section::Detail)
                    cp.runningReset = int(m_plan->groupHeaders.size()) - 1;
                else if (cp.runningSum == 1 && sp.level > 0)
                    cp.runningReset = sp.level - 1;
            }
            if (!f->outputFormat().isEmpty())
                cp.format.emplace(f->outputFormat());
            if (f->summaryType() == 4) {
                cp.pageValue = f->summaryRunning() == 0 ? ControlPlan::PageCountValue : ControlPlan::PageNumberValue;
            } else {
                cp.value = compileValue(f->dataField(), where, m_context);
                if (cp.value.kind == ValueSource::Slot && cp.value.slot == RunRow::pageNumberSlot())
                    cp.pageValue = ControlPlan::PageNumberValue;
                else if (cp.value.kind == ValueSource::Slot && cp.value.slot == RunRow::pageCountSlot())
                    cp.pageValue = ControlPlan::PageCountValue;
                else if (f->summaryType() >= 1 && f->summaryType() <= 3)
                    buildSummary(cp, f, sp);
            }
            m_plan->usesPageCount = m_plan->usesPageCount || cp.pageValue == ControlPlan::PageCountValue
                || cp.value.readsPageCount;
        } else if (auto *l = qobject_cast<Label *>(c)) {
            cp.kind = ControlPlan::Label;
            setText(cp, l, m_context);
            cp.staticText = l->caption();
        } else if (auto *cb = qobject_cast<CheckBox *>(c)) {
            cp.kind = ControlPlan::CheckBox;
            setText(cp, cb, m_context);
            cp.staticText = cb->caption();
            cp.checked = cb->value();
            cp.value = compileValue(cb->dataField(), where, m_context);
        } else if (auto *im = qobject_cast<Image *>(c)) {
            cp.kind = ControlPlan::Image;
            setBox(cp, im);
            cp.image = addPicture(m_context, im->picture(), c);
            cp.sizeMode = im->sizeMode();
            cp.imageAlignment = Look::pictureAlignment(im->pictureAlignment());
            cp.value = compileValue(im->dataField(), where, m_context);
        } else if (auto *ole = qobject_cast<OleObject *>(c)) {
            cp.kind = ControlPlan::Image;
            setBox(cp, ole);
            cp.image = addPicture(m_context, ole->picture(), c);
            cp.sizeMode = ole->sizeMode();
            cp.value = compileValue(ole->dataField(), where, m_context);
        } else if (auto *line = qobject_cast<Line *>(c)) {
            cp.kind = ControlPlan::Line;
            cp.from = QPointF(line->x1(), line->y1());
            cp.to = QPointF(line->x2(), line->y2());
            cp.pen.style = Look::lineStyle(line->lineStyle());
            cp.pen.width = line->lineWeight() * TwipsPerPixel;
            cp.pen.color = Look::color(line->lineColor());
        } else if (auto *shape = qobject_cast<Shape *>(c)) {
            cp.kind = ControlPlan::Shape;
            setBox(cp, shape);
            cp.shape = shape->shape();
            cp.pen.style = Look::lineStyle(shape->lineStyle());
            cp.pen.width = shape->lineWeight() * TwipsPerPixel;
            cp.pen.color = Look::color(shape->lineColor());
        } else if (auto *rich = qobject_cast<RichEdit *>(c)) {
            cp.kind = ControlPlan::RichEdit;
            setText(cp, rich, m_context);
            cp.staticText = rich->text();
            cp.canGrow = rich->canGrow();
            cp.canShrink = rich->canShrink();
            cp.value = compileValue(rich->dataField(), where, m_context);
            planMergeFields(cp, where);
        } else if (auto *frame = qobject_cast<Frame *>(c)) {
            cp.kind = ControlPlan::Frame;
            setBox(cp, frame);
            cp.pen.color = Look::color(frame->lineColor());
        } else if (auto *bar = qobject_cast<Barcode *>(c)) {
            cp.kind = ControlPlan::Barcode;
            setText(cp, bar, m_context);
            cp.staticText = bar->caption();
            cp.symbology = bar->style() > 0 ? bar->style() : 20;
            cp.showText = bar->captionPosition() != 0;
            cp.value = compileValue(bar->dataField(), where, m_context);
        } else if (auto *sub = qobject_cast<SubReport *>(c)) {
            cp.kind = ControlPlan::SubReport;
            setBox(cp, sub);
            cp.canGrow = sub->canGrow();
            cp.canShrink = sub->canShrink();
            if (m_context.subreport)
                cp.subreport = m_context.subreport(c);
            if (!cp.subreport)
                cp.kind = ControlPlan::Skip;
        } else if (auto *pb = qobject_cast<PageBreak *>(c)) {
            cp.kind = pb->enabled() ? ControlPlan::PageBreak : ControlPlan::Skip;
        } else if (auto *chart = qobject_cast<Chart *>(c)) {
            cp.kind = ControlPlan::Chart;
            setBox(cp, chart);
            if (chart->rowSource().trimmed().isEmpty() && !chart->groupField().trimmed().isEmpty())
                cp.chart = chartPlan(chart, sp, where);
        } else {
            return false; // data controls draw nothing
        }
        return true;
    }

    Report &m_report;
    PlanContext &m_context;
    ReportPlan *m_plan = nullptr;
};

} // namespace

std::unique_ptr<ReportPlan> buildPlan(Report &report, PlanContext &context)
{
    return Builder(report, context).build();
}

} // namespace Orv::RunInternal
