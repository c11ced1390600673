#pragma once
// The rules of frmSortingAndGrouping without its window: one row per group
// header of the report, the editing area's values for the selected row,
// and writing the edited rows back to their group headers.
#include "engine/core/status.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Orv {

class DesignerCore;
class Report;
class Section;

class SortingGroupingModel : public QObject
{
    Q_OBJECT

public:
    // One group header as the list shows it; every value is text.
    struct Row
    {
        QString name;          // key and text
        QString fieldExpr;     // "FieldExpr"
        QString sortOrder;     // "SortOrder": always "A"
        QString groupOn;       // "GroupOn"
        QString groupInterval; // "GroupInterval"
        QString keepTogether;  // "GrpKeeptogether": " 1"
        QString pageBreak;     // "PageBreak": " 3"
        QPointer<Section> section;
    };
    // The editing area.
    struct Editor
    {
        QString fieldExpr;
        int sortOrder = -1;    // 0 ascending, 1 descending, -1 none
        int groupOn = 0;       // the section's GroupOn number
        QString groupInterval; // as typed
        int keepTogether = 0;
        bool pageBefore = false;
        bool pageAfter = false;
    };

    explicit SortingGroupingModel(QObject *parent = nullptr);

    // SetReport: keeps the report and makes one row per group header, in
    // the report's section order.
    void setReport(Report *report);
    Report *report() const { return m_report; }

    const std::vector<Row> &rows() const { return m_rows; }
    static QStringList columnHeaders();
    static QStringList sortOrderItems();
    static QStringList groupOnItems();
    static QStringList keepTogetherItems();

    // The editing area for a row, as selecting it shows it.
    Editor editorFor(int row) const;
    // The user changed the editing area of a row: its list values follow.
    void setEditor(int row, const Editor &editor);
    // Rows whose values differ from their group header.
    bool isModified() const;

    // What OK would write, row by row: the first problem (a group header no
    // longer in the report, an interval below 1), or success.
    Status validate() const;
    // Writes every changed row into its group header, as one undo step of
    // core when given. False when nothing changed.
    bool apply(DesignerCore *core, Status *status);

    // The leading number of a text (empty or not a number reads as 0).
    static int leadingNumber(const QString &text);
    // A number as the list shows it: a leading blank when not negative.
    static QString numberText(int value);

private:
    Row rowOf(Section *section) const;

    QPointer<Report> m_report;
    std::vector<Row> m_rows;
    std::vector<Row> m_original;
};

} // namespace Orv
