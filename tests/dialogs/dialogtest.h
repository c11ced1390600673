#pragma once
// Shared by the dialog suites: the sample database, a report run exported
// to PDF and read back with poppler.
#include "engine/core/status.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

namespace Poppler {
class Document;
}

namespace Orv {
class Report;
}

namespace DialogTest {

// The sample database, written once per test program.
QString connection();
// Runs report against the sample database into a PDF in a temporary folder.
Orv::Status runToPdf(Orv::Report &report, const QString &name, QString *pdfPath);
std::unique_ptr<Poppler::Document> loadPdf(const QString &path);
// The text of each page.
QStringList pageTexts(const Poppler::Document &doc);
// Page size in points.
QSizeF pageSize(const Poppler::Document &doc, int page = 0);
// The left edge (points) of the first word on the page equal to word, -1 if none.
double wordLeft(const Poppler::Document &doc, int page, const QString &word);
// The left edge (points) of the leftmost text on the page, -1 if none.
double leftmostText(const Poppler::Document &doc, int page);

} // namespace DialogTest
