#pragma once
// A dialog's changes to a report: through the designer, as one undo step,
// when the report is the designer's; straight into the report otherwise.
#include <QString>

#include <functional>
#include <vector>

class QObject;

namespace Orv {

class Control;
class DesignerCore;
class Report;
class Section;

class ReportEdit
{
public:
    // designer may be null, or design another report: then nothing is
    // undoable. With several calls to come (an insert at least, so the
    // step is never empty) they are gathered into one step named text;
    // without, the one change() call is the step.
    enum class Steps { One, Gathered };
    ReportEdit(Report *report, DesignerCore *designer, const QString &text, Steps steps);
    ~ReportEdit();
    ReportEdit(const ReportEdit &) = delete;
    ReportEdit &operator=(const ReportEdit &) = delete;

    // Property changes of these objects (and their parts).
    void change(const std::vector<QObject *> &objects, const std::function<void()> &change);
    // Puts a new control at the end of section and takes it over.
    void insert(Section *section, Control *control);

private:
    DesignerCore *m_designer;
    QString m_text;
    bool m_macro;
};

} // namespace Orv
