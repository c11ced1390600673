#pragma once
// Spreadsheet export (.xlsx through libxlsxwriter, whatever the file's
// extension). Text boxes become cells: the left and right edges of every
// text on a sheet give the column boundaries, their top and bottom edges
// the row boundaries; edges closer than the border space are one boundary,
// and columns and rows narrower than the minimum are joined to the one
// before. A text spanning several columns or rows is a merged cell. Texts
// that read as numbers, percentages, amounts or dates become typed cells
// with a matching number format; lines become cell borders.
#include "engine/export/exporter.h"

namespace Orv {

struct ExcelSettings
{
    int fileVersion = 8;          // "FileVersion": 2, 3, 4, 5, 7 or 8; .xlsx is written for each
    bool autoRowHeight = false;   // "AutoRowHeight": rows with text keep no fixed height
    int borderSpace = 59;         // "BorderSpace": twips within which edges are one boundary
    bool doubleBoundaries = false; // "DoubleBoundaries": lines become double borders
    bool genPageBreaks = false;   // "GenPageBreaks": a page break before each page's first row
    int minColumnWidth = 1011;    // "MinColumnWidth": twips
    int minRowHeight = 128;       // "MinRowHeight": twips
    bool multiSheet = false;      // "MultiSheet": one worksheet per page
    bool showMarginSpace = false; // "ShowMarginSpace": a column and row for the page margins
    bool trimEmptySpace = false;  // "TrimEmptySpace": drop rows and columns no text starts in
};

// A cell value read from a text: a number or date with the Excel number
// format that shows it as the text did, or nothing when the text is text.
struct CellValue
{
    enum Kind { Text, Number, Date };
    Kind kind = Text;
    double number = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    QString numberFormat;
};
CellValue cellValue(const QString &text);

class ExcelExporter : public Exporter
{
public:
    QString format() const override { return QStringLiteral("Excel"); }
    QStringList extensions() const override { return {QStringLiteral("xlsx"), QStringLiteral("xls")}; }
    QList<ExportSetting> settings() const override;
    Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                 const ExportProgress &progress = {}) override;

    Status parseSettings(const QVariantMap &settings, ExcelSettings *out) const;
};

} // namespace Orv
