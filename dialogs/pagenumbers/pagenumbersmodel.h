#pragma once
// The rules of the page numbers dialog: a text style and a position, and
// the one or two fields OK adds to the report's first page header or page
// footer (one undo step when the report is the designer's).
#include "engine/core/status.h"

#include "engine/model/report.h"
#include "engine/widgets/designer/designercore.h"

#include <QPointer>
#include <QStringList>

namespace Orv {

class DesignerCore;
class Field;
class Report;
class Section;

class PageNumbersModel
{
public:
    static constexpr int DefaultStyle = 2;    // "Page ## / ##"
    static constexpr int DefaultLocation = 4; // "PageFooter Center"
    static constexpr double NumberWidth = 2000;
    static constexpr double CountWidth = 720;
    static constexpr double FieldHeight = 285;

    static QStringList styles();
    static QStringList locations();
    // The page-number field's data field for a style; styles past the first
    // also get a page-count field after it.
    static QString expression(int style);
    static bool hasPageCount(int style) { return style >= 1; }

    // designer: the report's designer, so the addition is one undo step.
    void SetReport(Report *rpt, DesignerCore *designer = nullptr);
    Report *report() const { return m_report; }

    int style() const { return m_style; }
    void setStyle(int style);
    int location() const { return m_location; }
    void setLocation(int location);

    // The section the fields go into: the first page header (positions 0
    // to 2) or page footer (3 to 5); null when the report has none.
    Section *targetSection() const;

    struct Added
    {
        Section *section = nullptr;
        Field *number = nullptr;
        Field *count = nullptr; // null for "Page ##"
    };
    // Adds the fields; a report without the section gets nothing (and no
    // error). The section grows to hold them when it is lower.
    Status AddPageNumber(Added *added = nullptr);

private:
    QPointer<Report> m_report;
    QPointer<DesignerCore> m_designer;
    int m_style = DefaultStyle;
    int m_location = DefaultLocation;
};

} // namespace Orv
