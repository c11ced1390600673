// The designer's edits of controls: placing, moving and sizing them, the
// align, size, space and order commands, and character, paragraph, colour,
// line and border formatting.
#include "engine/core/units.h"
#include "engine/model/controlregistry.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/look/controllook.h"
#include "engine/look/richtext.h"
#include "engine/widgets/designer/designerutil.h"

#include <QHash>
#include <QUndoStack>

#include <algorithm>
#include <map>

namespace Orv {

using namespace DesignerAction;

namespace {

QRectF rectOf(const Control *c)
{
    return QRectF(c->left(), c->top(), c->width(), c->height());
}

void setRect(Control *c, const QRectF &r)
{
    // Moving first keeps a line's length; then its box may change size.
    if (c->left() != r.left())
        c->setLeft(r.left());
    if (c->top() != r.top())
        c->setTop(r.top());
    if (c->width() != r.width())
        c->setWidth(std::max(0.0, r.width()));
    if (c->height() != r.height())
        c->setHeight(std::max(0.0, r.height()));
}

template<typename T, typename Pred>
std::vector<T *> eligible(const std::vector<Control *> &controls, Pred pred)
{
    std::vector<T *> out;
    for (Control *c : controls) {
        if (pred(c)) {
            if (auto *t = qobject_cast<T *>(c))
                out.push_back(t);
        }
    }
    return out;
}

template<typename T>
std::vector<QObject *> asObjects(const std::vector<T *> &items)
{
    return std::vector<QObject *>(items.begin(), items.end());
}

int selectionKey(const std::vector<Control *> &controls, int salt)
{
    size_t h = size_t(salt) * 0x9e3779b9u;
    for (const Control *c : controls)
        h = h * 31 + qHash(quintptr(c));
    const int key = int(h & 0x7fffffff);
    return key ? key : 1;
}

} // namespace

QStringList DesignerCore::styleNames()
{
    return DesignerStyles::standardNames();
}

// ---- text styles ----

void DesignerCore::beginStyleChange()
{
    if (m_styleChange.active)
        return;
    StyleChange &sc = m_styleChange;
    sc = StyleChange();
    sc.active = true;
    sc.before = m_styles;
    for (Control *c : m_report->allControls()) {
        TextControl *t = DesignerStyles::styled(c);
        const DesignerStyles::Style *style = t ? m_styles.find(t->className()) : nullptr;
        if (!style)
            continue;
        sc.followers.push_back({t, style->name, style->look.sharedParts(t)});
        sc.objects.push_back(t);
    }
    sc.snapshot.capture(sc.objects);
}

bool DesignerCore::setTextStyle(const QString &name, const TextLook &look)
{
    const DesignerStyles::Style *style = m_styles.find(name);
    if (!style || style->look == look)
        return false;
    const bool own = !m_styleChange.active;
    if (own)
        beginStyleChange();
    m_styles.setLook(style->name, look);
    {
        ChangeScope scope(this);
        for (const auto &f : m_styleChange.followers) {
            if (f.style == style->name && f.control)
                look.applyTo(static_cast<TextControl *>(f.control.data()), f.parts);
        }
    }
    Q_EMIT textStylesChanged();
    if (own)
        endStyleChange(true);
    return true;
}

void DesignerCore::endStyleChange(bool keep)
{
    if (!m_styleChange.active)
        return;
    StyleChange sc = std::move(m_styleChange);
    m_styleChange = StyleChange();
    PropertySnapshot now;
    now.capture(sc.objects);
    auto *command = new PropertyChangeCommand(this, name(Style), sc.snapshot, now);
    if (keep && !command->isEmpty()) {
        m_undo->push(command);
        return;
    }
    if (!keep) {
        command->undo();
        if (!(m_styles == sc.before)) {
            m_styles = sc.before;
            Q_EMIT textStylesChanged();
        }
    }
    delete command;
}

QRectF DesignerCore::selectionBounds() const
{
    QRectF bounds;
    for (const Control *c : selectedControls())
        bounds = bounds.isNull() ? rectOf(c) : bounds.united(rectOf(c));
    return bounds;
}

bool DesignerCore::growSectionsFor(const std::vector<Control *> &controls)
{
    std::vector<QObject *> sections;
    for (const Control *c : controls) {
        if (Section *s = c->section(); s && std::find(sections.begin(), sections.end(), s) == sections.end())
            sections.push_back(s);
    }
    return edit(QString(), sections, [&] {
        for (const Control *c : controls) {
            Section *s = c->section();
            if (s && c->top() + c->height() > s->height())
                s->setHeight(c->top() + c->height());
        }
    });
}

bool DesignerCore::placeControls(const std::vector<Placement> &placements, const QString &text, int mergeKey)
{
    if (m_locked || placements.empty())
        return false;
    std::vector<ControlsCommand::Entry> moving;
    for (const Placement &p : placements) {
        if (p.section && p.section != p.control->section() && containsObject(p.section))
            moving.push_back({p.control, nullptr, -1});
    }
    const bool macro = !moving.empty();
    if (macro) {
        m_undo->beginMacro(text);
        m_undo->push(new ControlsCommand(this, ControlsCommand::Remove, text, moving));
        std::vector<ControlsCommand::Entry> inserts;
        std::map<Section *, int> next;
        for (const Placement &p : placements) {
            if (!p.section || p.section == p.control->section() || !containsObject(p.section))
                continue;
            auto it = next.try_emplace(p.section, p.section->controls()->Count()).first;
            inserts.push_back({p.control, p.section, it->second++});
        }
        m_undo->push(new ControlsCommand(this, ControlsCommand::Insert, text, std::move(inserts)));
    }
    std::vector<QObject *> objects;
    std::vector<Control *> controls;
    for (const Placement &p : placements) {
        objects.push_back(p.control);
        controls.push_back(p.control);
        if (Section *s = p.control->section(); s && std::find(objects.begin(), objects.end(), s) == objects.end())
            objects.push_back(s);
    }
    const bool changed = edit(text, objects, [&] {
        for (const Placement &p : placements) {
            QRectF r = p.rect;
            r.moveTo(std::max(0.0, r.left()), std::max(0.0, r.top()));
            setRect(p.control, r);
        }
        for (const Control *c : controls) {
            Section *s = c->section();
            if (s && c->top() + c->height() > s->height())
                s->setHeight(c->top() + c->height());
        }
    }, macro ? 0 : mergeKey);
    if (macro)
        m_undo->endMacro();
    return changed || macro;
}

bool DesignerCore::nudgeSelection(double dx, double dy, bool resize)
{
    const std::vector<Control *> controls = selectedControls();
    if (controls.empty() || m_locked)
        return false;
    std::vector<Placement> placements;
    for (Control *c : controls) {
        QRectF r = rectOf(c);
        if (resize) {
            r.setWidth(std::max(0.0, r.width() + dx));
            r.setHeight(std::max(0.0, r.height() + dy));
        } else {
            r.translate(dx, dy);
        }
        placements.push_back({c, nullptr, r});
    }
    return placeControls(placements, resize ? QStringLiteral("Resize") : QStringLiteral("Move"),
                         selectionKey(controls, resize ? 2 : 1));
}

bool DesignerCore::setLineEnds(Control *control, const QPointF &from, const QPointF &to)
{
    auto *line = qobject_cast<Line *>(control);
    if (!line || m_locked)
        return false;
    std::vector<QObject *> objects{line};
    if (line->section())
        objects.push_back(line->section());
    return edit(QStringLiteral("Resize"), objects, [&] {
        line->setX1(std::max(0.0, from.x()));
        line->setY1(std::max(0.0, from.y()));
        line->setX2(std::max(0.0, to.x()));
        line->setY2(std::max(0.0, to.y()));
        if (Section *s = line->section(); s && line->top() + line->height() > s->height())
            s->setHeight(line->top() + line->height());
    });
}

bool DesignerCore::setSectionHeight(Section *section, double height)
{
    if (!section || !containsObject(section))
        return false;
    height = std::clamp(height, 0.0, Units::MaxTwips);
    return edit(QStringLiteral("Section Height"), {section}, [&] { section->setHeight(height); });
}

Control *DesignerCore::insertControl(const QString &typeId, Section *section, const QPointF &from, const QPointF &to)
{
    if (!section)
        section = currentSection();
    if (!section || !containsObject(section))
        return nullptr;
    Control *c = ControlRegistry::builtIn().create(typeId);
    if (!c)
        return nullptr;
    c->setName(m_report->uniqueControlName(c->typeName()));
    // Anything smaller than this is a click, not a drag.
    constexpr double MinDrag = 45;
    const QPointF a(std::max(0.0, from.x()), std::max(0.0, from.y()));
    const QPointF b(std::max(0.0, to.x()), std::max(0.0, to.y()));
    if (auto *line = qobject_cast<Line *>(c)) {
        const bool click = std::abs(b.x() - a.x()) < MinDrag && std::abs(b.y() - a.y()) < MinDrag;
        line->setX1(a.x());
        line->setY1(a.y());
        line->setX2(click ? a.x() + Units::TwipsPerInch : b.x());
        line->setY2(click ? a.y() : b.y());
    } else {
        QRectF r = QRectF(a, b).normalized();
        if (r.width() < MinDrag && r.height() < MinDrag)
            r = QRectF(a, QSizeF(c->width(), c->height()));
        setRect(c, r);
    }
    // A new label, field or check box starts in the look of its style.
    if (TextControl *t = DesignerStyles::styled(c); t && m_styles.find(t->className()))
        m_styles.find(t->className())->look.applyTo(t);
    if (auto *label = qobject_cast<Label *>(c))
        label->setCaption(c->name());
    else if (auto *box = qobject_cast<CheckBox *>(c))
        box->setCaption(c->name());

    const QString text = QStringLiteral("Insert %1").arg(c->typeName());
    m_undo->beginMacro(text);
    m_undo->push(new ControlsCommand(this, ControlsCommand::Insert, text, {{c, section, section->controls()->Count()}}));
    growSectionsFor({c});
    m_undo->endMacro();
    select(c);
    setInsertControlType(QString());
    Q_EMIT objectAdded(c, 7);
    return c;
}

bool DesignerCore::setControlText(Control *control, const QString &text)
{
    if (!control || !containsObject(control))
        return false;
    return edit(QStringLiteral("Edit Text"), {control}, [&] {
        if (auto *l = qobject_cast<Label *>(control))
            l->setCaption(text);
        else if (auto *b = qobject_cast<CheckBox *>(control))
            b->setCaption(text);
        else if (auto *r = qobject_cast<RichEdit *>(control))
            r->setText(text);
        else if (auto *f = qobject_cast<Field *>(control))
            f->setDataField(text);
    });
}

// ---- align, size, space, order ----

bool DesignerCore::alignSelection(DesignerAction::Code code)
{
    const std::vector<Control *> controls = selectedControls();
    if (controls.empty())
        return false;
    const QRectF ref = rectOf(controls.front());
    const QRectF bounds = selectionBounds();
    const double step = gridStep();
    const double printWidth = m_report->printWidth();
    std::vector<Placement> placements;
    for (Control *c : controls) {
        QRectF r = rectOf(c);
        switch (code) {
        case AlignLefts: r.moveLeft(ref.left()); break;
        case AlignRights: r.moveRight(ref.right()); break;
        case AlignCenters: r.moveLeft(ref.center().x() - r.width() / 2); break;
        case AlignTops: r.moveTop(ref.top()); break;
        case AlignMiddles: r.moveTop(ref.center().y() - r.height() / 2); break;
        case AlignBottoms: r.moveBottom(ref.bottom()); break;
        case AlignToGrid:
            r.moveTo(std::round(r.left() / step) * step, std::round(r.top() / step) * step);
            break;
        case CenterInSection:
            r.translate((printWidth - bounds.width()) / 2 - bounds.left(), 0);
            break;
        default: break;
        }
        placements.push_back({c, nullptr, r});
    }
    return placeControls(placements, name(code));
}

bool DesignerCore::sizeSelection(DesignerAction::Code code)
{
    const std::vector<Control *> controls = selectedControls();
    if (controls.size() < 2)
        return false;
    const QRectF ref = rectOf(controls.front());
    std::vector<Placement> placements;
    for (Control *c : controls) {
        QRectF r = rectOf(c);
        if (code == SameWidth || code == SameSize)
            r.setWidth(ref.width());
        if (code == SameHeight || code == SameSize)
            r.setHeight(ref.height());
        placements.push_back({c, nullptr, r});
    }
    return placeControls(placements, name(code));
}

bool DesignerCore::spaceSelection(DesignerAction::Code code)
{
    std::vector<Control *> controls = selectedControls();
    const bool vertical = code == SpaceVEven || code == IncVSpace || code == DecVSpace;
    const size_t n = controls.size();
    if (n < 2 || ((code == SpaceVEven || code == SpaceHEven) && n < 3))
        return false;
    auto start = [vertical](const Control *c) { return vertical ? c->top() : c->left(); };
    auto extent = [vertical](const Control *c) { return vertical ? c->height() : c->width(); };
    std::stable_sort(controls.begin(), controls.end(), [&](const Control *a, const Control *b) { return start(a) < start(b); });

    std::vector<double> starts(n);
    if (code == SpaceVEven || code == SpaceHEven) {
        const double span = start(controls.back()) + extent(controls.back()) - start(controls.front());
        double total = 0;
        for (const Control *c : controls)
            total += extent(c);
        const double gap = (span - total) / double(n - 1);
        double at = start(controls.front());
        for (size_t i = 0; i < n; ++i) {
            starts[i] = at;
            at += extent(controls[i]) + gap;
        }
        starts[n - 1] = start(controls.back()); // the last one stays exactly
    } else {
        const bool increase = code == IncVSpace || code == IncHSpace;
        const double step = gridStep();
        starts[0] = start(controls[0]);
        for (size_t i = 1; i < n; ++i) {
            const double gap = start(controls[i]) - (start(controls[i - 1]) + extent(controls[i - 1]));
            const double newGap = increase ? gap + step : (gap > 0 ? std::max(0.0, gap - step) : gap);
            starts[i] = starts[i - 1] + extent(controls[i - 1]) + newGap;
        }
    }
    std::vector<Placement> placements;
    for (size_t i = 0; i < n; ++i) {
        QRectF r = rectOf(controls[i]);
        if (vertical)
            r.moveTop(starts[i]);
        else
            r.moveLeft(starts[i]);
        placements.push_back({controls[i], nullptr, r});
    }
    return placeControls(placements, name(code));
}

bool DesignerCore::orderSelection(DesignerAction::Code code)
{
    const std::vector<Control *> controls = selectedControls();
    std::vector<Section *> sections;
    for (const Control *c : controls) {
        if (std::find(sections.begin(), sections.end(), c->section()) == sections.end())
            sections.push_back(c->section());
    }
    std::vector<QUndoCommand *> commands;
    for (Section *s : sections) {
        std::vector<Control *> before(s->controls()->begin(), s->controls()->end());
        std::vector<Control *> chosen;
        std::vector<Control *> rest;
        for (Control *c : before)
            (m_selection->contains(c) ? chosen : rest).push_back(c);
        std::vector<Control *> after = code == BringToFront ? rest : chosen;
        const auto &tail = code == BringToFront ? chosen : rest;
        after.insert(after.end(), tail.begin(), tail.end());
        if (after != before)
            commands.push_back(new ControlOrderCommand(this, name(code), s, before, after));
    }
    if (commands.empty())
        return false;
    m_undo->beginMacro(name(code));
    for (QUndoCommand *c : commands)
        m_undo->push(c);
    m_undo->endMacro();
    return true;
}

// ---- character, paragraph and colour formatting ----

bool DesignerCore::toggleFontFlag(DesignerAction::Code code)
{
    const std::vector<Control *> controls = selectedControls();
    const TextControl *first = DesignerUtil::firstText(controls);
    if (!first)
        return false;
    const Font *f = first->font();
    const bool on = !(code == Bold ? f->bold() : code == Italic ? f->italic() : f->underline());
    const auto targets = eligible<TextControl>(controls, [](const Control *) { return true; });
    return edit(name(code), asObjects(targets), [&] {
        for (TextControl *t : targets) {
            if (code == Bold)
                t->font()->setBold(on);
            else if (code == Italic)
                t->font()->setItalic(on);
            else
                t->font()->setUnderline(on);
        }
    });
}

bool DesignerCore::setAlignment(DesignerAction::Code code)
{
    const int value = code == AlignLeft ? 0 : code == AlignCenter ? 2 : 1;
    const auto targets = eligible<TextControl>(selectedControls(), [](const Control *) { return true; });
    return edit(name(code), asObjects(targets), [&] {
        for (TextControl *t : targets)
            t->setAlignment(value);
    });
}

bool DesignerCore::richParagraphAction(DesignerAction::Code code)
{
    const auto targets = eligible<RichEdit>(selectedControls(), [](const Control *) { return true; });
    if (targets.empty())
        return false;
    const bool bulletsOn = code == Bullet && !RichText::textHasBullets(targets.front()->text());
    return edit(name(code), asObjects(targets), [&] {
        for (RichEdit *r : targets) {
            const PageFont base = Look::pageFont(*r->font());
            if (code == Bullet)
                r->setText(RichText::withBullets(r->text(), base, bulletsOn));
            else if (code == Indent || RichText::textIndented(r->text()))
                r->setText(RichText::withIndent(r->text(), base, code == Indent ? 1 : -1));
        }
    });
}

bool DesignerCore::applyFont(const DesignerFont &font)
{
    const auto targets = eligible<TextControl>(selectedControls(), DesignerUtil::fontBoxEligible);
    return edit(name(FontName), asObjects(targets), [&] {
        for (TextControl *t : targets) {
            Font *f = t->font();
            if (!font.name.isEmpty())
                f->setName(font.name);
            if (font.size >= 1 && font.size <= 1638)
                f->setSize(font.size);
            f->setBold(font.bold);
            f->setItalic(font.italic);
            f->setUnderline(font.underline);
            f->setStrikethrough(font.strikethrough);
        }
    });
}

bool DesignerCore::applyFontName(const QString &fontName)
{
    if (fontName.trimmed().isEmpty())
        return false;
    const auto targets = eligible<TextControl>(selectedControls(), DesignerUtil::fontBoxEligible);
    return edit(name(FontName), asObjects(targets), [&] {
        for (TextControl *t : targets)
            t->font()->setName(fontName.trimmed());
    });
}

bool DesignerCore::applyFontSize(double size)
{
    if (!(size >= 1 && size <= 1638))
        return false;
    const auto targets = eligible<TextControl>(selectedControls(), DesignerUtil::fontBoxEligible);
    return edit(name(FontSize), asObjects(targets), [&] {
        for (TextControl *t : targets)
            t->font()->setSize(size);
    });
}

bool DesignerCore::applyStyle(const QString &style)
{
    if (style.isEmpty())
        return false;
    const auto targets = eligible<TextControl>(selectedControls(), DesignerUtil::fontBoxEligible);
    // A known style gives the control its look as well as its name.
    const DesignerStyles::Style *known = m_styles.find(style);
    return edit(name(Style), asObjects(targets), [&] {
        for (TextControl *t : targets) {
            t->setClassName(known ? known->name : style);
            if (known)
                known->look.applyTo(t);
        }
    });
}

bool DesignerCore::applyColor(DesignerAction::Code code, int color)
{
    const std::vector<Control *> controls = selectedControls();
    if (code == ForeColor) {
        const auto targets = eligible<TextControl>(controls, DesignerUtil::hasForeColor);
        return edit(name(code), asObjects(targets), [&] {
            for (TextControl *t : targets)
                t->setForeColor(color);
        });
    }
    if (code == BackColor) {
        if (controls.empty()) {
            Section *s = selectedSection();
            return s && edit(name(code), {s}, [&] {
                s->setBackStyle(BackStyle::Opaque);
                s->setBackColor(color);
            });
        }
        const auto targets = eligible<BoxControl>(controls, DesignerUtil::hasBackColor);
        return edit(name(code), asObjects(targets), [&] {
            for (BoxControl *b : targets) {
                b->setBackStyle(BackStyle::Opaque);
                b->setBackColor(color);
            }
        });
    }
    if (code == LineColor) {
        const auto targets = eligible<Control>(controls, DesignerUtil::hasLineColor);
        return edit(name(code), asObjects(targets), [&] {
            for (Control *c : targets)
                c->setProperty("LineColor", color);
        });
    }
    return false;
}

bool DesignerCore::applyLineStyle(int style)
{
    if (style < 0 || style > 5)
        return false;
    const auto targets = eligible<Control>(selectedControls(), DesignerUtil::hasLineStyle);
    return edit(name(LineStyle), asObjects(targets), [&] {
        for (Control *c : targets)
            c->setProperty("LineStyle", style);
    });
}

bool DesignerCore::applyBorder(const DesignerBorder &border)
{
    if (border.style < 0 || border.style > 13)
        return false;
    const auto targets = eligible<BoxControl>(selectedControls(), DesignerUtil::hasBorder);
    auto side = [&](int mask) { return (border.sides & mask) ? border.style : 0; };
    return edit(name(DesignerAction::Border), asObjects(targets), [&] {
        for (BoxControl *b : targets) {
            Orv::Border *p = b->border();
            p->setLeftStyle(side(DesignerBorder::Left));
            p->setTopStyle(side(DesignerBorder::Top));
            p->setRightStyle(side(DesignerBorder::Right));
            p->setBottomStyle(side(DesignerBorder::Bottom));
            if (border.sides & DesignerBorder::Left) p->setLeftColor(border.color);
            if (border.sides & DesignerBorder::Top) p->setTopColor(border.color);
            if (border.sides & DesignerBorder::Right) p->setRightColor(border.color);
            if (border.sides & DesignerBorder::Bottom) p->setBottomColor(border.color);
        }
    });
}

bool DesignerCore::promptedAction(DesignerAction::Code code)
{
    if (!m_prompts)
        return false;
    const std::vector<Control *> controls = selectedControls();
    switch (code) {
    case ReorderGroups: {
        QStringList names;
        for (const Section *s : *m_report->sections()) {
            if (s->type() == Section::GroupHeader)
                names << s->name();
        }
        const auto order = m_prompts->chooseGroupOrder(names);
        return order && reorderGroups(*order);
    }
    case Style: {
        const auto targets = eligible<TextControl>(controls, DesignerUtil::fontBoxEligible);
        const auto style = m_prompts->chooseStyle(targets.empty() ? QString() : targets.front()->className(), styleNames());
        return style && applyStyle(*style);
    }
    case FontName:
    case FontSize: {
        const auto targets = eligible<TextControl>(controls, DesignerUtil::fontBoxEligible);
        if (targets.empty())
            return false;
        const Font *f = targets.front()->font();
        if (code == FontSize) {
            const auto size = m_prompts->chooseFontSize(f->size());
            return size && applyFontSize(*size);
        }
        const auto font = m_prompts->chooseFont(
            {f->name(), f->size(), f->bold(), f->italic(), f->underline(), f->strikethrough()});
        return font && applyFont(*font);
    }
    case ForeColor:
    case BackColor:
    case LineColor: {
        int initial = 0;
        if (code == ForeColor) {
            if (const TextControl *t = DesignerUtil::firstText(controls))
                initial = t->foreColor();
        } else if (code == BackColor) {
            const auto boxes = eligible<BoxControl>(controls, DesignerUtil::hasBackColor);
            if (!boxes.empty())
                initial = boxes.front()->backColor();
            else if (const Section *s = selectedSection())
                initial = s->backColor();
        } else {
            const auto lines = eligible<Control>(controls, DesignerUtil::hasLineColor);
            if (!lines.empty())
                initial = lines.front()->property("LineColor").toInt();
        }
        const auto color = m_prompts->chooseColor(code, initial);
        return color && applyColor(code, *color);
    }
    case LineStyle: {
        const auto lines = eligible<Control>(controls, DesignerUtil::hasLineStyle);
        const auto style = m_prompts->chooseLineStyle(lines.empty() ? 1 : lines.front()->property("LineStyle").toInt());
        return style && applyLineStyle(*style);
    }
    case DesignerAction::Border: {
        const auto boxes = eligible<BoxControl>(controls, DesignerUtil::hasBorder);
        DesignerBorder initial;
        if (!boxes.empty()) {
            const Orv::Border *b = boxes.front()->border();
            const int styles[4] = {b->leftStyle(), b->topStyle(), b->rightStyle(), b->bottomStyle()};
            const int masks[4] = {DesignerBorder::Left, DesignerBorder::Top, DesignerBorder::Right, DesignerBorder::Bottom};
            initial.sides = 0;
            initial.style = 0;
            for (int i = 0; i < 4; ++i) {
                if (styles[i] > 0) {
                    initial.sides |= masks[i];
                    initial.style = styles[i];
                }
            }
            if (!initial.sides) {
                initial.sides = DesignerBorder::All;
                initial.style = 1;
            }
            initial.color = b->leftColor();
        }
        const auto border = m_prompts->chooseBorder(initial);
        return border && applyBorder(*border);
    }
    default:
        return false;
    }
}

} // namespace Orv
