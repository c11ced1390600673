#pragma once
// PDF export: one PDF page per page at the page's own size, text as text
// (selectable, searchable) with its fonts embedded as subsets, barcodes and
// shapes as vectors. Two writers: our own (engine/export/pdfdocument.h),
// which writes the pages straight from their drawing lists with the
// document information, the outline and JPEG quality, or QPdfWriter
// through the page painter. What neither writes itself is done afterwards
// with qpdf: the PDF version of an Acrobat release, fonts left unembedded,
// encryption with passwords and permissions, and for Qt's file also the
// information Qt does not write (author, subject, keywords) and pictures
// re-encoded at a JPEG quality.
#include "engine/export/exporter.h"

#include <vector>

namespace Orv {

struct PdfSettings
{
    QString title;      // "Title": the document name
    QString author;     // "Author"
    QString creator = QStringLiteral("OrvReport"); // "Creator"
    QString subject;    // "Subject"
    QString keywords;   // "Keywords"
    int resolution = 1200; // "Resolution": dots per inch of the drawing, 72 to 9600
    int acrobatVersion = -1; // "AcrobatVersion": 0 Acrobat 2.1 (PDF 1.1), 1 3.x (1.2), 2 4.x (1.3); -1 keeps Qt's 1.4
    int jpegQuality = -1;    // "JPEGQuality": 1 to 100; -1 keeps Qt's pictures
    QString fontsNotToEmbed; // "FontsNotToEmbed": family names, each followed by ";"
    QString userPassword;    // "UserPassword": needed to open the file
    QString ownerPassword;   // "OwnerPassword": lifts the permissions
    bool allowPrint = true;  // "AllowPrint"
    bool allowCopy = true;   // "AllowCopy": copying and extracting text and pictures
    bool allowModify = true; // "AllowModify"
    bool allowAnnotate = true; // "AllowAnnotate": comments and form fields
    bool bookmarks = true;   // "Bookmarks": an outline from the pages' bookmarks
    enum Writer { OwnWriter = 0, QtWriter = 1 };
    int writer = OwnWriter;  // "Writer": which writer makes the file

    static QStringList writerNames() { return {QStringLiteral("OrvReport"), QStringLiteral("Qt")}; }

    QStringList fontsList() const;
    bool encrypted() const
    {
        return !userPassword.isEmpty() || !ownerPassword.isEmpty() || !allowPrint || !allowCopy || !allowModify
               || !allowAnnotate;
    }
    // True when the file needs changes after the writer has written it.
    bool needsPostProcessing() const
    {
        if (acrobatVersion >= 0 || !fontsList().isEmpty() || encrypted())
            return true;
        return writer == QtWriter && (!author.isEmpty() || !subject.isEmpty() || !keywords.isEmpty() || jpegQuality >= 0);
    }
};

class PdfExporter : public Exporter
{
public:
    QString format() const override { return QStringLiteral("PDF"); }
    QStringList extensions() const override { return {QStringLiteral("pdf")}; }
    QList<ExportSetting> settings() const override;
    Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                 const ExportProgress &progress = {}) override;

    // Reads and checks the settings map.
    Status parseSettings(const QVariantMap &settings, PdfSettings *out) const;

    struct Bookmark
    {
        int page;
        int level;
        QString text;
        double top; // twips from the page's top
        double pageHeight; // points
    };

private:
    Status writePdf(const PageCollection &pages, QIODevice *device, const PdfSettings &settings,
                    const ExportProgress &progress, std::vector<Bookmark> *bookmarks) const;
    Status writeOwnPdf(const PageCollection &pages, QIODevice *device, const PdfSettings &settings,
                       const ExportProgress &progress) const;
    Status postProcess(const QString &input, QIODevice *output, const PdfSettings &settings,
                       const std::vector<Bookmark> &bookmarks) const;
};

} // namespace Orv
