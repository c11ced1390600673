#pragma once
// PDF export through QPdfWriter: one PDF page per page at the page's own
// size, text as text (selectable, searchable) with its fonts embedded as
// subsets, barcodes and shapes as vectors. Document information Qt cannot
// write itself (author, subject, keywords) is added afterwards with qpdf;
// later settings that change the file after writing join that step.
#include "engine/export/exporter.h"

namespace Orv {

struct PdfSettings
{
    QString title;      // "Title": the document name
    QString author;     // "Author"
    QString creator = QStringLiteral("OrvReport"); // "Creator"
    QString subject;    // "Subject"
    QString keywords;   // "Keywords"
    int resolution = 1200; // "Resolution": dots per inch of the drawing, 72 to 9600

    // True when the file needs changes after QPdfWriter has written it.
    bool needsPostProcessing() const { return !author.isEmpty() || !subject.isEmpty() || !keywords.isEmpty(); }
};

class PdfExporter : public Exporter
{
public:
    QString format() const override { return QStringLiteral("PDF"); }
    QStringList extensions() const override { return {QStringLiteral("pdf")}; }
    QStringList settingNames() const override;
    Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                 const ExportProgress &progress = {}) override;

    // Reads and checks the settings map.
    Status parseSettings(const QVariantMap &settings, PdfSettings *out) const;

private:
    Status writePdf(const PageCollection &pages, QIODevice *device, const PdfSettings &settings,
                    const ExportProgress &progress) const;
    Status postProcess(const QString &input, QIODevice *output, const PdfSettings &settings) const;
};

} // namespace Orv
