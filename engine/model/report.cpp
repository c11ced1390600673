#include "engine/model/report.h"

#include "engine/model/control.h"
#include "engine/model/controlregistry.h"
#include "engine/model/reflection.h"
#include "engine/model/section.h"

#include <QSet>

namespace Orv {

Sections::Sections(Report *report)
    : ModelObject(report)
{
}

Sections::~Sections()
{
    auto items = std::move(m_items);
    m_items.clear();
    qDeleteAll(items);
}

Section *Sections::Item(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[size_t(index)];
}

Section *Sections::Item(const QString &name) const
{
    for (Section *s : m_items) {
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            return s;
    }
    return nullptr;
}

int Sections::indexOf(const Section *section) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == section)
            return int(i);
    }
    return -1;
}

Section *Sections::Add(const QString &name, int position, Section::Type type, double height, Status *status)
{
    auto fail = [status](int number, const QString &text) -> Section * {
        if (status)
            *status = Status::failure(number, text);
        return nullptr;
    };
    if (!Section::isValidType(int(type)))
        return fail(ErrInvalidCall, QStringLiteral("Section type %1 is not 0 to 6").arg(int(type)));
    if (position < 0 || position > Count())
        return fail(ErrSubscript, QStringLiteral("Section position %1 is outside 0 to %2").arg(position).arg(Count()));
    if (!(height >= 0 && height <= Reflection::maxTwips()))
        return fail(ErrInvalidPropertyValue, QStringLiteral("Section height %1 is out of range").arg(height));
    auto *section = new Section(type);
    section->setName(name.isEmpty() ? defaultName(type) : name);
    section->setHeight(height);
    insert(position, section);
    if (status)
        *status = Status();
    return section;
}

Status Sections::Remove(int index)
{
    Section *section = take(index);
    if (!section)
        return Status::failure(ErrSubscript, errorDescription(ErrSubscript));
    delete section;
    return {};
}

void Sections::insert(int index, Section *section)
{
    if (index < 0 || index > Count())
        index = Count();
    section->setParent(this);
    m_items.insert(m_items.begin() + index, section);
    markModified();
}

Section *Sections::take(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    Section *section = m_items[size_t(index)];
    m_items.erase(m_items.begin() + index);
    markModified();
    section->setParent(nullptr);
    return section;
}

Section *Sections::firstOfType(Section::Type type) const
{
    for (Section *s : m_items) {
        if (s->type() == type)
            return s;
    }
    return nullptr;
}

int Sections::countOfType(Section::Type type) const
{
    int n = 0;
    for (const Section *s : m_items)
        n += s->type() == type;
    return n;
}

namespace {

std::vector<Section *> ofType(const std::vector<Section *> &items, Section::Type type)
{
    std::vector<Section *> out;
    for (Section *s : items) {
        if (s->type() == type)
            out.push_back(s);
    }
    return out;
}

} // namespace

Section *Sections::groupFooterFor(const Section *header) const
{
    const auto headers = ofType(m_items, Section::GroupHeader);
    const auto footers = ofType(m_items, Section::GroupFooter);
    for (size_t k = 0; k < headers.size(); ++k) {
        if (headers[k] == header)
            return k < footers.size() ? footers[footers.size() - 1 - k] : nullptr;
    }
    return nullptr;
}

Section *Sections::groupHeaderFor(const Section *footer) const
{
    const auto headers = ofType(m_items, Section::GroupHeader);
    const auto footers = ofType(m_items, Section::GroupFooter);
    for (size_t k = 0; k < footers.size(); ++k) {
        if (footers[k] == footer)
            return k < headers.size() ? headers[headers.size() - 1 - k] : nullptr;
    }
    return nullptr;
}

Section *Sections::addGroupPair(Status *status)
{
    // The new group is the innermost: its header goes right before the
    // detail (or after the last group header) and its footer right after.
    int headerAt = 0;
    for (int i = 0; i < Count(); ++i) {
        const Section::Type t = m_items[size_t(i)]->type();
        if (t == Section::ReportHeader || t == Section::PageHeader || t == Section::GroupHeader)
            headerAt = i + 1;
        if (t == Section::Detail)
            break;
    }
    int n = 1;
    while (Item(QStringLiteral("GroupHeader%1").arg(n)) || Item(QStringLiteral("GroupFooter%1").arg(n)))
        ++n;
    Section *header = Add(QStringLiteral("GroupHeader%1").arg(n), headerAt, Section::GroupHeader, 360, status);
    if (!header)
        return nullptr;
    const int detail = indexOf(firstOfType(Section::Detail));
    const int footerAt = detail >= 0 ? detail + 1 : headerAt + 1;
    if (!Add(QStringLiteral("GroupFooter%1").arg(n), footerAt, Section::GroupFooter, 360, status)) {
        std::ignore = Remove(indexOf(header)); // just added, so it is there to remove
        return nullptr;
    }
    return header;
}

Status Sections::removeGroupPair(Section *header)
{
    if (!header || header->type() != Section::GroupHeader || indexOf(header) < 0)
        return Status::failure(ErrInvalidCall, QStringLiteral("Not a group header of this report"));
    Section *footer = groupFooterFor(header);
    if (footer) {
        const Status removed = Remove(indexOf(footer));
        if (!removed.ok())
            return removed;
    }
    return Remove(indexOf(header));
}

Status Sections::addReportHeaderFooter()
{
    if (firstOfType(Section::ReportHeader) || firstOfType(Section::ReportFooter))
        return Status::failure(ErrInvalidCall, QStringLiteral("The report already has a report header or footer"));
    Add(QString(), 0, Section::ReportHeader, 360);
    Add(QString(), Count(), Section::ReportFooter, 360);
    return {};
}

Status Sections::addPageHeaderFooter()
{
    if (firstOfType(Section::PageHeader) || firstOfType(Section::PageFooter))
        return Status::failure(ErrInvalidCall, QStringLiteral("The report already has a page header or footer"));
    const int headerAt = firstOfType(Section::ReportHeader) ? indexOf(firstOfType(Section::ReportHeader)) + 1 : 0;
    Add(QString(), headerAt, Section::PageHeader, 360);
    const Section *reportFooter = firstOfType(Section::ReportFooter);
    Add(QString(), reportFooter ? indexOf(reportFooter) : Count(), Section::PageFooter, 360);
    return {};
}

Status Sections::validate() const
{
    const int headers = countOfType(Section::GroupHeader);
    const int footers = countOfType(Section::GroupFooter);
    if (headers != footers)
        return Status::failure(ErrBadFileFormat,
                               QStringLiteral("%1 group headers but %2 group footers: every group needs both")
                                   .arg(headers)
                                   .arg(footers));
    return {};
}

QString Sections::defaultName(Section::Type type) const
{
    switch (type) {
    case Section::ReportHeader: return QStringLiteral("ReportHeader");
    case Section::ReportFooter: return QStringLiteral("ReportFooter");
    case Section::PageHeader: return QStringLiteral("PageHeader");
    case Section::PageFooter: return QStringLiteral("PageFooter");
    case Section::Detail: return QStringLiteral("Detail");
    case Section::GroupHeader:
    case Section::GroupFooter: break;
    }
    const QString stem = type == Section::GroupHeader ? QStringLiteral("GroupHeader") : QStringLiteral("GroupFooter");
    int n = 1;
    while (Item(stem + QString::number(n)))
        ++n;
    return stem + QString::number(n);
}

Report::Report(QObject *parent)
    : ModelObject(parent)
    , m_sections(new Orv::Sections(this))
{
    addDefaultSections();
    m_dirty = false;
}

Report::~Report() = default;

void Report::addDefaultSections()
{
    m_sections->Add(QStringLiteral("PageHeader"), 0, Section::PageHeader, 360);
    m_sections->Add(QStringLiteral("Detail"), 1, Section::Detail, 1440);
    m_sections->Add(QStringLiteral("PageFooter"), 2, Section::PageFooter, 360);
}

void Report::NewLayout()
{
    Report fresh;
    takeContent(fresh);
    setIsDirty(false);
}

void Report::CopyLayoutTo(Report *target) const
{
    if (!target || target == this)
        return;
    Report copy;
    while (copy.sections()->Count() > 0)
        std::ignore = copy.sections()->Remove(0); // in range: the loop checks the count
    Reflection::copyProperties(this, &copy);
    for (const Section *s : *m_sections) {
        auto *section = new Section(s->type());
        Reflection::copyProperties(s, section);
        for (const Control *c : *s->controls()) {
            Control *clone = ControlRegistry::builtIn().create(c->typeId());
            Reflection::copyProperties(c, clone);
            section->controls()->insert(-1, clone);
        }
        copy.sections()->insert(-1, section);
    }
    target->takeContent(copy);
    target->setIsDirty(true);
}

void Report::takeContent(Report &source)
{
    while (m_sections->Count() > 0)
        std::ignore = m_sections->Remove(m_sections->Count() - 1); // in range: the loop checks the count
    Reflection::copyProperties(&source, this);
    while (source.sections()->Count() > 0)
        m_sections->insert(-1, source.sections()->take(0));
    markModified();
}

void Report::setIsDirty(bool dirty)
{
    if (m_dirty == dirty)
        return;
    m_dirty = dirty;
    Q_EMIT dirtyChanged(dirty);
}

QString Report::uniqueControlName(const QString &typeName) const
{
    QSet<QString> used;
    for (const Section *s : *m_sections) {
        for (const Control *c : *s->controls())
            used.insert(c->name().toCaseFolded());
    }
    for (int n = 1;; ++n) {
        const QString name = typeName + QString::number(n);
        if (!used.contains(name.toCaseFolded()))
            return name;
    }
}

std::vector<Control *> Report::allControls() const
{
    std::vector<Control *> out;
    for (const Section *s : *m_sections)
        out.insert(out.end(), s->controls()->begin(), s->controls()->end());
    return out;
}

void Report::noteModified(ModelObject *object)
{
    setIsDirty(true);
    Q_EMIT modified(object);
}

} // namespace Orv
