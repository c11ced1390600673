#pragma once
// The rules of the report properties dialog: the paper list (Default,
// the printer's sizes, Custom), the custom size, the margins and gutter,
// mirror margins, orientation and the document name, loaded from the
// report, checked, and written back on OK as one undo step.
#include "dialogs/common/dialogunits.h"
#include "dialogs/reportproperties/papercatalogue.h"
#include "engine/core/status.h"

#include "engine/model/report.h"
#include "engine/widgets/designer/designercore.h"

#include <QPointer>
#include <QStringList>

#include <array>

namespace Orv {

class DesignerCore;
class Report;

class ReportPropertiesModel
{
public:
    static constexpr int DefaultNumber = -1;
    static constexpr int CustomNumber = 256;
    // A paper larger than 200 inches is a typing error, not a page.
    static constexpr double MaxPaperTwips = 200 * 1440.0;

    enum Margin { Left, Right, Top, Bottom, Gutter, MarginCount };
    // The box a problem is about.
    enum class Box { None, PaperWidth, PaperHeight, Margin };

    ReportPropertiesModel(PaperCatalogue papers, LengthUnit unit);

    // Keeps the report and loads the values from it.
    void SetReport(Report *rpt, DesignerCore *designer = nullptr);
    Report *report() const { return m_report; }
    LengthUnit unit() const { return m_unit; }
    const PaperCatalogue &papers() const { return m_papers; }

    // The paper list: "Default" (-1), the printer's sizes, "Custom" (256).
    QStringList paperNames() const;
    int paperNumber(int index) const;
    // -1 when none is selected (the report's size is not offered).
    int paperIndex() const { return m_paperIndex; }
    // Choosing a size shows its width and height; only Custom edits them.
    void setPaperIndex(int index);
    bool paperSizeEditable() const { return m_printerPaper == CustomNumber; }
    // Said next to the list when the report's paper is not offered.
    QString paperNote() const { return m_paperNote; }

    DialogUnits::LengthValue &paperWidth() { return m_width; }
    DialogUnits::LengthValue &paperHeight() { return m_height; }
    DialogUnits::LengthValue &margin(int which) { return m_margins[size_t(which)]; }

    bool mirrorMargins() const { return m_mirror; }
    void setMirrorMargins(bool mirror) { m_mirror = mirror; }
    // 0 printer default, 1 portrait, 2 landscape; -1 none set.
    int orientationIndex() const { return m_orientation; }
    void setOrientationIndex(int index) { m_orientation = index; }
    QString documentName() const { return m_documentName; }
    void setDocumentName(const QString &name) { m_documentName = name; }

    // What is wrong with the values, and which box it is about; none when
    // they can be saved.
    struct Problem
    {
        Box box = Box::None;
        int margin = -1; // for Box::Margin
        Status status;
    };
    Problem check() const;
    // Checks, then writes the values into the report's page settings and
    // document name as one undo step. Nothing is written when a check fails.
    Problem save();

private:
    QSizeF chosenPaper(Problem *problem) const;

    PaperCatalogue m_papers;
    LengthUnit m_unit;
    QPointer<Report> m_report;
    QPointer<DesignerCore> m_designer;
    int m_paperIndex = -1;
    int m_printerPaper = DefaultNumber; // the number the printer reads back
    QString m_paperNote;
    QSizeF m_customSize;                // the report's own width and height
    DialogUnits::LengthValue m_width;
    DialogUnits::LengthValue m_height;
    std::array<DialogUnits::LengthValue, MarginCount> m_margins;
    bool m_mirror = false;
    int m_orientation = -1;
    QString m_documentName;
};

} // namespace Orv
