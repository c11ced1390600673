#pragma once

#include "engine/core/status.h"
#include "engine/model/backstyle.h"
#include "engine/model/modelobject.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace Orv {

class Control;
class ControlRegistry;
class Section;

// The controls of one section, in drawing order (first drawn first).
// Items are reached by 0-based position or by name.
class Controls : public ModelObject
{
    Q_OBJECT

public:
    explicit Controls(Section *section);
    ~Controls() override;

    Section *section() const;

    int Count() const { return int(m_items.size()); }
    Control *Item(int index) const;
    Control *Item(const QString &name) const; // first control of that name
    int indexOf(const Control *control) const;

    // Adds a new control of the kind named by typeId ("OrvEngine.Field",
    // compared without regard to case) with a name unique in the report.
    // An unknown identifier adds nothing and returns null.
    Control *Add(const QString &typeId, Status *status = nullptr);
    Status Remove(int index);

    // Inserts an existing control at index (-1 appends) and takes it over.
    void insert(int index, Control *control);
    // Detaches a control without deleting it; the caller owns it.
    Control *take(int index);

    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    std::vector<Control *> m_items;
};

// A band of the report, of one Type (its numbers are the Type property's).
//
// NewPage and NewColumn: 0 none, 1 before, 2 after, 3 before and after.
// GrpKeepTogether (group headers): 0 none, 1 with the first detail,
// 2 the whole group. RepeatStyle (group headers): 0 none, 1 on each page,
// 2 on each column, 3 on each page the group continues on. DataField of a
// group header is the field or "=expression" the group breaks on.
// GroupOn (group headers) says which part of the DataField value breaks the
// group, as Access's grouping does: 0 each value, 1 the first GroupInterval
// characters, 2 year, 3 quarter, 4 month, 5 week, 6 day, 7 hour, 8 minute
// (each counted in steps of GroupInterval), 9 numbers in steps of
// GroupInterval.
// ColumnDirection (detail): 0 down then across, 1 across then down.
class Section : public ModelObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name WRITE setName)
    Q_PROPERTY(int Type READ typeCode)
    Q_PROPERTY(QString Tag READ tag WRITE setTag)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
    Q_PROPERTY(double Height READ height WRITE setHeight)
    Q_PROPERTY(int BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(int BackStyle READ backStyleCode WRITE setBackStyleCode)
    Q_PROPERTY(bool CanGrow READ canGrow WRITE setCanGrow)
    Q_PROPERTY(bool CanShrink READ canShrink WRITE setCanShrink)
    Q_PROPERTY(bool KeepTogether READ keepTogether WRITE setKeepTogether)
    Q_PROPERTY(int NewPage READ newPage WRITE setNewPage)
    Q_PROPERTY(int NewColumn READ newColumn WRITE setNewColumn)
    Q_PROPERTY(int GrpKeepTogether READ grpKeepTogether WRITE setGrpKeepTogether)
    Q_PROPERTY(int RepeatStyle READ repeatStyle WRITE setRepeatStyle)
    Q_PROPERTY(bool RepeatSection READ repeatSection WRITE setRepeatSection STORED false)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(int GroupOn READ groupOn WRITE setGroupOn)
    Q_PROPERTY(int GroupInterval READ groupInterval WRITE setGroupInterval)
    Q_PROPERTY(int ColumnCount READ columnCount WRITE setColumnCount)
    Q_PROPERTY(double ColumnSpacing READ columnSpacing WRITE setColumnSpacing)
    Q_PROPERTY(int ColumnDirection READ columnDirection WRITE setColumnDirection)
    Q_PROPERTY(QString Script READ script WRITE setScript)
    Q_PROPERTY(Orv::Controls *Controls READ controls STORED false)
    Q_CLASSINFO("range:Height", "0 20000000")
    Q_CLASSINFO("range:BackStyle", "0 1")
    Q_CLASSINFO("range:NewPage", "0 3")
    Q_CLASSINFO("range:NewColumn", "0 3")
    Q_CLASSINFO("range:GrpKeepTogether", "0 2")
    Q_CLASSINFO("range:RepeatStyle", "0 3")
    Q_CLASSINFO("range:GroupOn", "0 9")
    Q_CLASSINFO("range:GroupInterval", "1 2147483647")
    Q_CLASSINFO("range:ColumnCount", "1 1000")
    Q_CLASSINFO("range:ColumnSpacing", "0 20000000")
    Q_CLASSINFO("range:ColumnDirection", "0 1")

public:
    enum class Type : int {
        ReportHeader = 0,
        ReportFooter = 1,
        PageHeader = 2,
        PageFooter = 3,
        GroupHeader = 4,
        GroupFooter = 5,
        Detail = 6,
    };
    Q_ENUM(Type)
    using enum Type;

    // True for the number of a Type, as scripts and layout files give it.
    static bool isValidType(int code) { return code >= int(ReportHeader) && code <= int(Detail); }

    explicit Section(Type type, QObject *parent = nullptr);

    Type type() const { return m_type; }
    int typeCode() const { return int(m_type); }
    Orv::Controls *controls() const { return m_controls; }

    // Convenience view of RepeatStyle: true repeats on every page the group
    // continues on (RepeatStyle 3).
    bool repeatSection() const { return m_repeatStyle != 0; }
    void setRepeatSection(bool repeat) { setRepeatStyle(repeat ? 3 : 0); }

    ORV_VALUE(QString, name, setName, QString())
    ORV_VALUE(QString, tag, setTag, QString())
    ORV_VALUE(bool, visible, setVisible, true)
    ORV_VALUE(double, height, setHeight, 360.0)
    ORV_VALUE(int, backColor, setBackColor, 0xFFFFFF)
    ORV_CODED(Orv::BackStyle, backStyle, setBackStyle, backStyleCode, setBackStyleCode, Orv::BackStyle::Transparent)
    ORV_VALUE(bool, canGrow, setCanGrow, true)
    ORV_VALUE(bool, canShrink, setCanShrink, false)
    ORV_VALUE(bool, keepTogether, setKeepTogether, false)
    ORV_VALUE(int, newPage, setNewPage, 0)
    ORV_VALUE(int, newColumn, setNewColumn, 0)
    ORV_VALUE(int, grpKeepTogether, setGrpKeepTogether, 0)
    ORV_VALUE(int, repeatStyle, setRepeatStyle, 0)
    ORV_VALUE(QString, dataField, setDataField, QString())
    ORV_VALUE(int, groupOn, setGroupOn, 0)
    ORV_VALUE(int, groupInterval, setGroupInterval, 1)
    ORV_VALUE(int, columnCount, setColumnCount, 1)
    ORV_VALUE(double, columnSpacing, setColumnSpacing, 0.0)
    ORV_VALUE(int, columnDirection, setColumnDirection, 0)
    ORV_VALUE(QString, script, setScript, QString())

private:
    Type m_type;
    Orv::Controls *m_controls;
};

} // namespace Orv
