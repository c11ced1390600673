#include "engine/widgets/designer/designercore.h"

#include "engine/core/units.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/controlregistry.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designerutil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSet>
#include <QUndoStack>

#include <algorithm>

namespace Orv {

using namespace DesignerAction;

namespace {

const char *const FragmentMime = "application/x-orvreport-fragment";

bool clipboardHoldsFragment()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    if (data->hasFormat(QLatin1String(FragmentMime)))
        return true;
    return data->hasText() && looksLikeLayoutFragment(data->text().toUtf8());
}

QByteArray clipboardFragment()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    if (data->hasFormat(QLatin1String(FragmentMime)))
        return data->data(QLatin1String(FragmentMime));
    return data->hasText() ? data->text().toUtf8() : QByteArray();
}

} // namespace

QString DesignerAction::name(Code code)
{
    static const char *const names[Count] = {
        "", "Open", "Save", "Page Setup", "Cut", "Paste", "Copy", "Undo", "Delete", "Delete Section",
        "Insert RHF", "Insert PHF", "Insert GHF", "Reorder Groups", "Insert Field", "Report Explorer",
        "Field List", "Property Listbox", "Grid", "Snap", "Full Screen", "Script Editor", "Align Lefts",
        "Align Roghts", "Align Centers", "Align Tops", "Align Middles", "Align Bottoms", "Align to Grid",
        "Center in Section", "Size Same Width", "Size Same Height", "Size Same Both", "Space V Even",
        "Inc V Space", "Dec V Space", "Space H Even", "Inc H Space", "Decrease H Space", "to Front", "to Back",
        "Lock", "Style", "Font Name", "Font Size", "Bold", "Italic", "Left", "Center", "Right", "ForeColor",
        "BackColor", "LineStyle", "Line Color", "Border", "Bullet", "Indent", "Outdent", "Underline"};
    return isCode(int(code)) ? QString::fromLatin1(names[int(code)]) : QString();
}

DesignerCore::DesignerCore(QObject *parent)
    : QObject(parent)
    , m_report(new Report(this))
    , m_undo(new CommandStack(this, this))
    , m_selection(new DesignerSelection(this))
{
    m_report->setObjectName(QStringLiteral("DesignedReport"));
    connect(m_report, &Report::modified, this, &DesignerCore::onModified);
    connect(m_report, &Report::dirtyChanged, this, &DesignerCore::onReportDirtyChanged);
    connect(m_undo, &QUndoStack::indexChanged, this, [this] {
        updateDirty();
        refreshActionStates();
    });
    connect(m_undo, &QUndoStack::cleanChanged, this, &DesignerCore::updateDirty);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app->clipboard(), &QClipboard::dataChanged, this, [this] {
            m_clipboardHasFragment = clipboardHoldsFragment();
            refreshActionStates();
        });
        m_clipboardHasFragment = clipboardHoldsFragment();
    }
    m_states.fill(-1);
    refreshActionStates();
}

DesignerCore::~DesignerCore()
{
    // Commands may own detached objects of the report; they go first.
    disconnect(m_report, nullptr, this, nullptr);
    disconnect(m_undo, nullptr, this, nullptr);
    m_undo->clear();
}

void DesignerCore::NewLayout()
{
    setTextEditor(nullptr);
    {
        ChangeScope scope(this);
        m_report->NewLayout();
    }
    m_undo->clear();
    markSaved();
    m_currentSection = nullptr;
    clearSelection();
    refreshActionStates();
}

Status DesignerCore::loadLayout(const QString &path)
{
    setTextEditor(nullptr);
    Status status;
    {
        ChangeScope scope(this);
        status = LoadLayout(*m_report, path);
    }
    if (!status.ok())
        return status;
    m_undo->clear();
    markSaved();
    m_currentSection = nullptr;
    clearSelection();
    refreshActionStates();
    return status;
}

void DesignerCore::setIsDirty(bool dirty)
{
    if (dirty) {
        m_externalChange = true;
        updateDirty();
    } else {
        markSaved();
    }
}

void DesignerCore::markSaved()
{
    m_undo->setClean();
    m_externalChange = false;
    updateDirty();
}

void DesignerCore::onReportDirtyChanged(bool dirty)
{
    if (m_syncingReport)
        return;
    if (!dirty) {
        // Saved (SaveLayout clears the flag), or the host says so.
        markSaved();
    } else if (m_changeDepth == 0) {
        // Set by hand or by a change behind the designer's back.
        m_externalChange = true;
        updateDirty();
    }
    // Inside a change the history decides once the step is on the stack.
}

void DesignerCore::updateDirty()
{
    const bool dirty = m_externalChange || !m_undo->isClean();
    if (m_report->IsDirty() != dirty) {
        m_syncingReport = true;
        m_report->setIsDirty(dirty);
        m_syncingReport = false;
    }
    if (dirty == m_dirty)
        return;
    m_dirty = dirty;
    Q_EMIT dirtyChanged(dirty);
}

void DesignerCore::setPrompts(DesignerPrompts *prompts)
{
    if (m_prompts == prompts)
        return;
    m_prompts = prompts;
    refreshActionStates();
}

void DesignerCore::CopyLayoutTo(Report *target) const
{
    m_report->CopyLayoutTo(target);
}

bool DesignerCore::setInsertControlType(const QString &typeId)
{
    const QString wanted = typeId.trimmed();
    const bool known = wanted.isEmpty() || ControlRegistry::builtIn().contains(wanted);
    const QString next = known ? wanted : QString();
    if (next != m_insertType) {
        m_insertType = next;
        Q_EMIT insertControlTypeChanged(m_insertType);
    }
    return known;
}

void DesignerCore::setShowGrid(bool show)
{
    if (m_showGrid == show)
        return;
    m_showGrid = show;
    Q_EMIT gridChanged();
    refreshActionStates();
}

void DesignerCore::setSnapToGrid(bool snap)
{
    if (m_snap == snap)
        return;
    m_snap = snap;
    Q_EMIT gridChanged();
    refreshActionStates();
}

void DesignerCore::setGridRows(int rows)
{
    rows = std::clamp(rows, 1, 100);
    if (m_gridRows == rows)
        return;
    m_gridRows = rows;
    Q_EMIT gridChanged();
}

void DesignerCore::setMetricGrid(bool metric)
{
    if (m_metric == metric)
        return;
    m_metric = metric;
    Q_EMIT gridChanged();
}

double DesignerCore::gridStep() const
{
    return (m_metric ? Units::TwipsPerCm : Units::TwipsPerInch) / m_gridRows;
}

double DesignerCore::snapped(double twips) const
{
    if (!m_snap)
        return twips;
    const double step = gridStep();
    return std::round(twips / step) * step;
}

// ---- selection ----

void DesignerCore::setSelection(const std::vector<QObject *> &objects, SelectMode mode)
{
    std::vector<QObject *> next;
    if (mode != SelectMode::Replace)
        next = m_selection->items();
    QSet<const QObject *> present;
    if (objects.size() > 16) {
        const std::vector<Control *> all = m_report->allControls();
        present = QSet<const QObject *>(all.begin(), all.end());
    }
    for (QObject *o : objects) {
        const bool known = o && (present.isEmpty() || !qobject_cast<Control *>(o) ? containsObject(o) : present.contains(o));
        if (!known)
            continue;
        const auto it = std::find(next.begin(), next.end(), o);
        if (it != next.end()) {
            if (mode == SelectMode::Toggle)
                next.erase(it);
            continue;
        }
        next.push_back(o);
    }
    // Controls win over a section or the report; otherwise the last one.
    const bool hasControls = std::any_of(next.begin(), next.end(), [](QObject *o) { return qobject_cast<Control *>(o); });
    if (hasControls)
        std::erase_if(next, [](QObject *o) { return !qobject_cast<Control *>(o); });
    else if (next.size() > 1)
        next.erase(next.begin(), next.end() - 1);

    std::vector<QObject *> current = m_selection->items();
    if (next == current)
        return;
    m_selection->m_items.assign(next.begin(), next.end());
    if (Control *c = primaryControl())
        m_currentSection = c->section();
    else if (Section *s = selectedSection())
        m_currentSection = s;
    Q_EMIT selectionChanged();
    refreshActionStates();
}

std::vector<Control *> DesignerCore::selectedControls() const
{
    std::vector<Control *> out;
    for (QObject *o : m_selection->items()) {
        if (auto *c = qobject_cast<Control *>(o))
            out.push_back(c);
    }
    return out;
}

Control *DesignerCore::primaryControl() const
{
    return qobject_cast<Control *>(m_selection->Item(0));
}

Section *DesignerCore::selectedSection() const
{
    return m_selection->Count() == 1 ? qobject_cast<Section *>(m_selection->Item(0)) : nullptr;
}

Section *DesignerCore::currentSection() const
{
    if (m_currentSection && m_report->sections()->indexOf(m_currentSection) >= 0)
        return m_currentSection;
    if (Section *detail = m_report->sections()->firstOfType(Section::Detail))
        return detail;
    return m_report->sections()->Item(0);
}

void DesignerCore::setCurrentSection(Section *section)
{
    if (m_currentSection == section)
        return;
    m_currentSection = section;
    refreshActionStates();
}

bool DesignerCore::containsObject(const QObject *object) const
{
    if (object == m_report)
        return true;
    if (auto *s = qobject_cast<const Section *>(object))
        return m_report->sections()->indexOf(s) >= 0;
    if (auto *c = qobject_cast<const Control *>(object)) {
        // The section's list decides: a control being taken out still has
        // its parent for a moment.
        const Section *s = c->section();
        return s && m_report->sections()->indexOf(s) >= 0 && s->controls()->indexOf(c) >= 0;
    }
    return false;
}

void DesignerCore::pruneSelection()
{
    std::vector<QObject *> keep;
    bool dropped = false;
    const std::vector<Control *> all = m_report->allControls();
    const QSet<const QObject *> present(all.begin(), all.end());
    for (const auto &p : m_selection->m_items) {
        if (p && (qobject_cast<Control *>(p) ? present.contains(p) : containsObject(p)))
            keep.push_back(p);
        else
            dropped = true;
    }
    if (!dropped)
        return;
    m_selection->m_items.assign(keep.begin(), keep.end());
    Q_EMIT selectionChanged();
}

// ---- change tracking ----

void DesignerCore::beginChange()
{
    ++m_changeDepth;
}

void DesignerCore::endChange()
{
    if (--m_changeDepth > 0)
        return;
    // A change that left no step (refused, or nothing changed) leaves the
    // report's flag where the history says.
    updateDirty();
    if (m_structureDirty) {
        m_structureDirty = false;
        pruneSelection();
        Q_EMIT structureChanged();
    }
    refreshActionStates();
}

void DesignerCore::onModified(ModelObject *object)
{
    const bool structural = qobject_cast<Sections *>(object) || qobject_cast<Controls *>(object);
    if (m_changeDepth == 0) {
        // A change made behind the designer's back: undo cannot vouch for
        // objects it did not see come and go, so the history starts again.
        m_externalChange = true;
        updateDirty();
        if (structural) {
            m_undo->clear();
            pruneSelection();
            Q_EMIT structureChanged();
            refreshActionStates();
            return;
        }
    } else if (structural) {
        m_structureDirty = true;
        return;
    }
    Q_EMIT objectChanged(object);
}

bool DesignerCore::edit(const QString &text, const std::vector<QObject *> &objects,
                        const std::function<void()> &change, int mergeKey)
{
    PropertySnapshot before;
    before.capture(objects);
    {
        ChangeScope scope(this);
        change();
    }
    PropertySnapshot after;
    after.capture(objects);
    auto *command = new PropertyChangeCommand(this, text, before, after, mergeKey);
    if (command->isEmpty()) {
        delete command;
        return false;
    }
    m_undo->push(command);
    return true;
}

// ---- states ----

void DesignerCore::refreshActionStates()
{
    if (m_changeDepth > 0)
        return;
    for (int code = 0; code < Count; ++code) {
        const int state = QueryActionState(Code(code));
        if (state != m_states[size_t(code)]) {
            const bool first = m_states[size_t(code)] < 0;
            m_states[size_t(code)] = state;
            if (!first)
                Q_EMIT actionStateChanged(code);
        }
    }
}

void DesignerCore::setTextEditor(DesignerTextEditor *editor)
{
    if (m_editor == editor)
        return;
    m_editor = editor;
    refreshActionStates();
}

int DesignerCore::QueryActionState(DesignerAction::Code code) const
{
    if (!isCode(int(code)))
        return 0;
    if (m_editor) {
        const int state = m_editor->actionState(code);
        if (state >= 0)
            return state;
    }
    return computeState(code);
}

Section *DesignerCore::deletableSection() const
{
    Section *s = selectedSection();
    if (!s) {
        if (Control *c = primaryControl())
            s = c->section();
        else
            s = currentSection();
    }
    return s && s->type() != Section::Detail ? s : nullptr;
}

int DesignerCore::computeState(DesignerAction::Code code) const
{
    const std::vector<Control *> controls = selectedControls();
    const size_t n = controls.size();
    const bool movable = !m_locked;
    auto enabledIf = [](bool on, bool checked = false) { return (on ? Enabled : 0) | (checked ? Checked : 0); };
    auto any = [&](auto pred) { return std::any_of(controls.begin(), controls.end(), pred); };
    const Sections *sections = m_report->sections();

    switch (code) {
    case Open:
    case Save:
    case PageSetup:
    case ReportExplorer:
    case FieldList:
    case PropertyList:
    case FullScreen:
    case ScriptEditor:
        return Enabled; // the host's own commands
    case Cut:
    case Copy:
        return enabledIf(n > 0);
    case Paste:
        return enabledIf(m_clipboardHasFragment && currentSection());
    case Undo:
        return enabledIf(m_undo->canUndo());
    case Delete:
        return enabledIf(n > 0 || (selectedSection() && selectedSection()->type() != Section::Detail));
    case DeleteSection:
        return enabledIf(deletableSection());
    case InsertReportHF:
        return enabledIf(!sections->firstOfType(Section::ReportHeader) && !sections->firstOfType(Section::ReportFooter));
    case InsertPageHF:
        return enabledIf(!sections->firstOfType(Section::PageHeader) && !sections->firstOfType(Section::PageFooter));
    case InsertGroupHF:
        return enabledIf(sections->Count() < LayoutFile::MaxSections - 2);
    case ReorderGroups:
        return enabledIf(sections->countOfType(Section::GroupHeader) >= 2);
    case InsertField:
        return 0; // only inside rich text being edited
    case Grid:
        return enabledIf(true, m_showGrid);
    case Snap:
        return enabledIf(true, m_snap);
    case AlignLefts:
    case AlignRights:
    case AlignCenters:
    case AlignTops:
    case AlignMiddles:
    case AlignBottoms:
    case SameWidth:
    case SameHeight:
    case SameSize:
    case IncVSpace:
    case DecVSpace:
    case IncHSpace:
    case DecHSpace:
        return enabledIf(movable && n >= 2);
    case SpaceVEven:
    case SpaceHEven:
        return enabledIf(movable && n >= 3);
    case AlignToGrid:
    case CenterInSection:
        return enabledIf(movable && n >= 1);
    case BringToFront:
    case SendToBack:
        return enabledIf(n >= 1);
    case Lock:
        return enabledIf(true, m_locked);
    case Style:
    case FontName:
    case FontSize:
        return enabledIf(any(DesignerUtil::fontBoxEligible));
    case Bold:
    case Italic:
    case Underline: {
        const TextControl *text = DesignerUtil::firstText(controls);
        bool checked = false;
        if (text) {
            const Font *f = text->font();
            checked = code == Bold ? f->bold() : code == Italic ? f->italic() : f->underline();
        }
        return enabledIf(text, checked);
    }
    case AlignLeft:
    case AlignCenter:
    case AlignRight: {
        const TextControl *text = DesignerUtil::firstText(controls);
        const int wanted = code == AlignLeft ? 0 : code == AlignCenter ? 2 : 1;
        return enabledIf(text, text && text->alignment() == wanted);
    }
    case ForeColor:
        return enabledIf(any(DesignerUtil::hasForeColor));
    case BackColor:
        return enabledIf(any(DesignerUtil::hasBackColor) || (n == 0 && selectedSection()));
    case LineStyle:
        return enabledIf(any(DesignerUtil::hasLineStyle));
    case LineColor:
        return enabledIf(any(DesignerUtil::hasLineColor));
    case DesignerAction::Border:
        return enabledIf(any(DesignerUtil::hasBorder));
    case Bullet: {
        const RichEdit *rich = DesignerUtil::firstRich(controls);
        return enabledIf(rich, rich && DesignerUtil::richTextHasBullets(rich));
    }
    case Indent:
        return enabledIf(DesignerUtil::firstRich(controls));
    case Outdent: {
        const RichEdit *rich = DesignerUtil::firstRich(controls);
        return enabledIf(rich && DesignerUtil::richTextIndented(rich));
    }
    default:
        break;
    }
    return 0;
}

// ---- actions ----

bool DesignerCore::ExecuteAction(DesignerAction::Code code)
{
    if (!isCode(int(code)))
        return false;
    if (m_editor && m_editor->actionState(code) >= 0) {
        if (!(m_editor->actionState(code) & Enabled))
            return false;
        const bool done = m_editor->executeAction(code);
        refreshActionStates();
        return done;
    }
    if (!(computeState(code) & Enabled))
        return false;
    const bool done = execute(code);
    refreshActionStates();
    return done;
}

bool DesignerCore::execute(DesignerAction::Code code)
{
    switch (code) {
    case Cut:
        return cut();
    case Copy:
        return copySelection();
    case Paste:
        return paste();
    case Undo:
        m_undo->undo();
        return true;
    case Delete:
        if (selectedControls().empty())
            return deleteSection(selectedSection());
        return deleteSelection();
    case DeleteSection:
        return deleteSection(deletableSection());
    case InsertReportHF:
    case InsertPageHF:
    case InsertGroupHF:
        return insertSectionPair(code);
    case Grid:
        setShowGrid(!m_showGrid);
        return true;
    case Snap:
        setSnapToGrid(!m_snap);
        return true;
    case Lock:
        m_locked = !m_locked;
        return true;
    case AlignLefts:
    case AlignRights:
    case AlignCenters:
    case AlignTops:
    case AlignMiddles:
    case AlignBottoms:
    case AlignToGrid:
    case CenterInSection:
        return alignSelection(code);
    case SameWidth:
    case SameHeight:
    case SameSize:
        return sizeSelection(code);
    case SpaceVEven:
    case IncVSpace:
    case DecVSpace:
    case SpaceHEven:
    case IncHSpace:
    case DecHSpace:
        return spaceSelection(code);
    case BringToFront:
    case SendToBack:
        return orderSelection(code);
    case Bold:
    case Italic:
    case Underline:
        return toggleFontFlag(code);
    case AlignLeft:
    case AlignCenter:
    case AlignRight:
        return setAlignment(code);
    case Bullet:
    case Indent:
    case Outdent:
        return richParagraphAction(code);
    case ReorderGroups:
    case Style:
    case FontName:
    case FontSize:
    case ForeColor:
    case BackColor:
    case LineStyle:
    case LineColor:
    case DesignerAction::Border:
        return promptedAction(code);
    default:
        return false; // the host's own commands
    }
}

// ---- clipboard and deletion ----

bool DesignerCore::copySelection() const
{
    const std::vector<Control *> controls = selectedControls();
    if (controls.empty())
        return false;
    // In report order, so a paste keeps the drawing order.
    std::vector<const Control *> ordered;
    for (const Control *c : m_report->allControls()) {
        if (m_selection->contains(c))
            ordered.push_back(c);
    }
    const QByteArray bytes = layoutFragmentBytes(ordered);
    auto *data = new QMimeData;
    data->setData(QLatin1String(FragmentMime), bytes);
    data->setText(QString::fromUtf8(bytes));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool DesignerCore::cut()
{
    if (!copySelection())
        return false;
    m_undo->beginMacro(name(Cut));
    const bool done = deleteSelection();
    m_undo->endMacro();
    return done;
}

bool DesignerCore::deleteSelection()
{
    const std::vector<Control *> controls = selectedControls();
    if (controls.empty())
        return false;
    std::vector<ControlsCommand::Entry> entries;
    for (Control *c : controls)
        entries.push_back({c, nullptr, -1});
    clearSelection();
    m_undo->push(new ControlsCommand(this, ControlsCommand::Remove, name(Delete), std::move(entries)));
    return true;
}

bool DesignerCore::deleteSection(Section *section)
{
    if (!section || section->type() == Section::Detail || !containsObject(section))
        return false;
    Sections *sections = m_report->sections();
    // Headers and footers go in pairs.
    Section *other = nullptr;
    switch (section->type()) {
    case Section::ReportHeader: other = sections->firstOfType(Section::ReportFooter); break;
    case Section::ReportFooter: other = sections->firstOfType(Section::ReportHeader); break;
    case Section::PageHeader: other = sections->firstOfType(Section::PageFooter); break;
    case Section::PageFooter: other = sections->firstOfType(Section::PageHeader); break;
    case Section::GroupHeader: other = sections->groupFooterFor(section); break;
    case Section::GroupFooter: other = sections->groupHeaderFor(section); break;
    default: break;
    }
    std::vector<SectionsCommand::Entry> entries{{section, -1}};
    if (other)
        entries.push_back({other, -1});
    if (m_currentSection == section || m_currentSection == other)
        m_currentSection = nullptr;
    clearSelection();
    m_undo->push(new SectionsCommand(this, SectionsCommand::Remove, name(DeleteSection), sections, std::move(entries)));
    return true;
}

bool DesignerCore::paste()
{
    Section *target = currentSection();
    if (!target)
        return false;
    std::vector<std::unique_ptr<Control>> loaded;
    if (!LoadLayoutFragment(clipboardFragment(), &loaded, QStringLiteral("clipboard")).ok() || loaded.empty())
        return false;

    // Names stay as copied unless the report already uses them.
    QSet<QString> used;
    for (const Control *c : m_report->allControls())
        used.insert(c->name().toCaseFolded());
    for (auto &c : loaded) {
        if (c->name().isEmpty() || used.contains(c->name().toCaseFolded())) {
            for (int k = 1;; ++k) {
                const QString candidate = c->typeName() + QString::number(k);
                if (!used.contains(candidate.toCaseFolded())) {
                    c->setName(candidate);
                    break;
                }
            }
        }
        used.insert(c->name().toCaseFolded());
    }

    // A paste over its own originals moves down and right by a grid step,
    // so the copies can be seen and grabbed.
    auto coincides = [&](double dx, double dy) {
        for (const auto &c : loaded) {
            for (const Control *e : *target->controls()) {
                if (e->typeId() == c->typeId() && qFuzzyCompare(e->left() + 1, c->left() + dx + 1)
                    && qFuzzyCompare(e->top() + 1, c->top() + dy + 1) && qFuzzyCompare(e->width() + 1, c->width() + 1))
                    return true;
            }
        }
        return false;
    };
    double offset = 0;
    for (int k = 0; k < 100 && coincides(offset, offset); ++k)
        offset += gridStep();
    if (offset > 0) {
        for (auto &c : loaded) {
            c->setLeft(c->left() + offset);
            c->setTop(c->top() + offset);
        }
    }

    std::vector<ControlsCommand::Entry> entries;
    std::vector<Control *> added;
    int index = target->controls()->Count();
    for (auto &c : loaded) {
        added.push_back(c.get());
        entries.push_back({c.release(), target, index++});
    }
    m_undo->beginMacro(name(Paste));
    m_undo->push(new ControlsCommand(this, ControlsCommand::Insert, name(Paste), std::move(entries)));
    growSectionsFor(added);
    m_undo->endMacro();
    setSelection(std::vector<QObject *>(added.begin(), added.end()));
    return true;
}

// ---- sections ----

bool DesignerCore::insertSectionPair(DesignerAction::Code code)
{
    Sections *sections = m_report->sections();
    std::vector<Section *> before(sections->begin(), sections->end());
    std::vector<SectionsCommand::Entry> entries;
    {
        // Let the model place the pair, then hand it to a command that owns
        // putting it in and taking it out.
        ChangeScope scope(this);
        Status status;
        if (code == InsertReportHF)
            status = sections->addReportHeaderFooter();
        else if (code == InsertPageHF)
            status = sections->addPageHeaderFooter();
        else
            sections->addGroupPair(&status);
        if (!status.ok())
            return false;
        for (int i = 0; i < sections->Count(); ++i) {
            if (std::find(before.begin(), before.end(), sections->Item(i)) == before.end())
                entries.push_back({sections->Item(i), i});
        }
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            sections->take(it->index);
    }
    Section *first = entries.empty() ? nullptr : entries.front().section;
    m_undo->push(new SectionsCommand(this, SectionsCommand::Insert, name(code), sections, std::move(entries)));
    if (first)
        select(first);
    return true;
}

bool DesignerCore::reorderGroups(const std::vector<int> &order)
{
    Sections *sections = m_report->sections();
    std::vector<Section *> headers;
    std::vector<Section *> footers;
    for (Section *s : *sections) {
        if (s->type() == Section::GroupHeader)
            headers.push_back(s);
    }
    const size_t n = headers.size();
    if (order.size() != n || n < 2)
        return false;
    std::vector<bool> seen(n, false);
    for (int k : order) {
        if (k < 0 || size_t(k) >= n || seen[size_t(k)])
            return false;
        seen[size_t(k)] = true;
    }
    for (Section *h : headers) {
        Section *f = sections->groupFooterFor(h);
        if (!f)
            return false;
        footers.push_back(f);
    }
    // Header slots take the new order outermost first; footer slots, which
    // run innermost first, take it reversed.
    std::vector<Section *> before(sections->begin(), sections->end());
    std::vector<Section *> after = before;
    size_t h = 0;
    size_t f = 0;
    for (Section *&slot : after) {
        if (slot->type() == Section::GroupHeader)
            slot = headers[size_t(order[h++])];
        else if (slot->type() == Section::GroupFooter)
            slot = footers[size_t(order[n - 1 - f++])];
    }
    if (after == before)
        return false;
    m_undo->push(new SectionOrderCommand(this, name(ReorderGroups), sections, before, after));
    return true;
}

} // namespace Orv
