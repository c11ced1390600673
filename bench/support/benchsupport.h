#pragma once
// What several benchmarks share: memory and file-size figures, the grouped
// order-lines report, and the
// table page (15 rows of four columns and two rules) that the page, export
// and widget benchmarks draw, with its floor drawn straight onto a
// QPdfWriter.
#include "engine/pages/page.h"

#include <QByteArray>
#include <QString>

namespace Orv::Bench {

// Peak resident memory of this process (VmHWM) in MiB; 0 when unknown.
double peakMiB();
// Starts a new peak measurement (clear_refs 5).
void resetPeak();
// Size of a file, or of the files directly in a folder, in MiB.
double fileMiB(const QString &path);

constexpr int TableRows = 15;
constexpr int TableColumns = 4;
// The texts of table page n.
QString tableCellText(int page, int row, int column);
// Table page n in twips on a Letter page.
Page tablePage(int n);
// Draws count table pages with QPainter onto a QPdfWriter at path; the
// seconds it took.
double tableFloorSeconds(const QString &path, int count);

// The grouped order-lines report of the sample database (grouped by order,
// page number in the header, totals per order and at the end), and its
// statement; with pageCount the footer also says "of M".
extern const char *const orderLinesStatement;
QByteArray orderLinesLayout(const QString &connection, bool pageCount);

} // namespace Orv::Bench
