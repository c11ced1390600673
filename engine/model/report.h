#pragma once

#include "engine/core/status.h"
#include "engine/model/modelobject.h"
#include "engine/model/parts.h"
#include "engine/model/section.h"

#include <QString>

#include <vector>

namespace Orv {

class Control;
class Report;

// The sections of a report in band order. Items are reached by 0-based
// position or by name (compared without regard to case).
//
// Group headers and footers pair by nesting: the first group header pairs
// with the last group footer, the second with the one before it, and so on.
// Add and Remove work on single sections, since generators build a layout a
// section at a time; the pair operations keep pairs whole.
class Sections : public ModelObject
{
    Q_OBJECT

public:
    explicit Sections(Report *report);
    ~Sections() override;

    int Count() const { return int(m_items.size()); }
    Section *Item(int index) const;
    Section *Item(const QString &name) const;
    int indexOf(const Section *section) const;

    // Adds a section of a type at position (0 to Count). An empty name gets
    // the type's default name. Bad arguments (a type number outside 0 to 6
    // included) add nothing and return null.
    Section *Add(const QString &name, int position, Section::Type type, double height, Status *status = nullptr);
    Status Remove(int index);

    void insert(int index, Section *section);
    Section *take(int index);

    // The first section of a type, or null.
    Section *firstOfType(Section::Type type) const;
    int countOfType(Section::Type type) const;

    // Pairing of group headers and footers (null when unpaired).
    Section *groupFooterFor(const Section *header) const;
    Section *groupHeaderFor(const Section *footer) const;

    // Pair operations of the designer. A new group pair becomes the
    // innermost group, just outside the detail.
    Section *addGroupPair(Status *status = nullptr);
    Status removeGroupPair(Section *header);
    Status addReportHeaderFooter();
    Status addPageHeaderFooter();

    // Checks that every group header has a footer and vice versa.
    Status validate() const;

    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    QString defaultName(Section::Type type) const;
    std::vector<Section *> m_items;
};

// A report layout: its page settings, sections with their controls, print
// width, document name and script. A new report holds a page header, a
// detail and a page footer.
class Report : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(QString DocumentName READ documentName WRITE setDocumentName)
    Q_PROPERTY(double PrintWidth READ printWidth WRITE setPrintWidth)
    Q_PROPERTY(QString Script READ script WRITE setScript)
    Q_PROPERTY(bool AllowWrites READ allowWrites WRITE setAllowWrites)
    Q_PROPERTY(Orv::PageSettings *PageSettings READ pageSettings)
    Q_PROPERTY(Orv::Sections *Sections READ sections STORED false)
    Q_CLASSINFO("range:PrintWidth", "0 20000000")

public:
    explicit Report(QObject *parent = nullptr);
    ~Report() override;

    Orv::Sections *sections() const { return m_sections; }

    // Empties the design back to a new report (and clears IsDirty).
    void NewLayout();
    // Writes a copy of this design into target, replacing what it held.
    void CopyLayoutTo(Report *target) const;
    // Replaces this report's content by source's, emptying source.
    void takeContent(Report &source);

    bool IsDirty() const { return m_dirty; }
    void setIsDirty(bool dirty);

    // Type name + the first number that makes the name unique in the report.
    QString uniqueControlName(const QString &typeName) const;
    // Every control of the report, section by section.
    std::vector<Control *> allControls() const;

    void noteModified(ModelObject *object);

    ORV_VALUE(QString, documentName, setDocumentName, QStringLiteral("OrvReport Document"))
    ORV_VALUE(double, printWidth, setPrintWidth, 9360.0)
    ORV_VALUE(QString, script, setScript, QString())
    // The layout's request to change its data (statements and script
    // connections); it counts only when the run allows writes too.
    ORV_VALUE(bool, allowWrites, setAllowWrites, false)
    ORV_PART(Orv::PageSettings, pageSettings)

Q_SIGNALS:
    // Something in the design changed through a setter or a collection.
    void modified(Orv::ModelObject *object);
    void dirtyChanged(bool dirty);

private:
    void addDefaultSections();

    Orv::Sections *m_sections;
    bool m_dirty = false;
};

} // namespace Orv
