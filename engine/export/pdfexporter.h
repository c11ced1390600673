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

#include "engine/pages/page.h"

#include <functional>
#include <memory>
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

class StagedFiles;

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
    friend class PdfStream;
    Status writePdf(const PageCollection &pages, QIODevice *device, const PdfSettings &settings,
                    const ExportProgress &progress, std::vector<Bookmark> *bookmarks) const;
    // After the writer: the outline for Qt's file, qpdf's changes, then the
    // file takes its place.
    Status finishFile(StagedFiles &staged, const QString &draftName, const QString &path, const PdfSettings &options,
                      std::vector<Bookmark> bookmarks) const;
    Status postProcess(const QString &input, QIODevice *output, const PdfSettings &settings,
                       const std::vector<Bookmark> &bookmarks) const;
};

// A PDF written by our own writer page by page as a run makes the pages:
// pages go to the file at once, those with texts known only later (the
// page count) too, their late texts following when known. The file takes
// its place at finish(); until then, or when anything fails, the target
// stays as it was.
class PdfStream
{
public:
    PdfStream();
    ~PdfStream();
    PdfStream(const PdfStream &) = delete;
    PdfStream &operator=(const PdfStream &) = delete;

    // Whether a PDF with these settings can be written as pages come (our
    // own writer; Qt's needs the whole collection).
    static bool streams(const QVariantMap &settings);

    // images: the collection whose image store the pages' pictures are in.
    Status open(const QString &path, const QVariantMap &settings, const PageCollection *images,
                const ExportProgress &progress = {});
    // The page count progress reports against, when known (before open).
    void setTotal(int pages);
    // The next page; late: its texts still to come.
    Status addPage(std::shared_ptr<const Page> page, std::vector<LateText> late = {});
    // The late texts of page index are known (ReportRun::lateTextsKnown).
    void textsKnown(int index, const std::vector<LateText> &texts);
    // Takes pages as they go into pages (a run's collection with
    // provisional pages); lateTexts tells a page's late texts by index.
    // The first failure here or in textsKnown goes to failed (to stop the
    // run) and then to finish().
    void follow(PageCollection *pages, std::function<std::vector<LateText>(int)> lateTexts,
                std::function<void(const Status &)> failed = {});
    // Writes the rest and puts the file in place.
    Status finish();
    int pagesAdded() const;

private:
    Status stopped() const;
    void writeNext();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Orv
