#pragma once
// The field list's work without a window: the fields of the report's data
// source, read through the data layer, and what a field dropped onto a
// section becomes (a caption label and a bound field, one undo step).
#include "engine/data/reportdata.h"

#include <QPointF>
#include <QString>
#include <QStringList>

namespace Orv {

class DesignerCore;
class Report;
class Section;

namespace FieldList {

// The fields read, or a note saying why there are none.
struct Result
{
    QStringList fields;
    QString note;
};

// The data source of the report's data control (a note when there is none).
bool sourceOf(const Report &report, const QString &reportFolder, Data::ReportDataSource *source, QString *note);
// Opens the source and lists its statement's columns; never throws. Slow
// databases are read off the window's thread.
Result readFields(const Data::ReportDataSource &source);

// A label captioned with the field's name and a field bound to it, side by
// side at at (twips in section), as one undo step; the field is selected.
bool dropField(DesignerCore &core, Section *section, const QString &field, const QPointF &at);

// The drag's data type.
inline const char *const MimeType = "application/x-orvreport-field";

} // namespace FieldList
} // namespace Orv
