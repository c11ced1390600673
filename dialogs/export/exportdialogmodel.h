#pragma once
// The export dialog's rules without its window: the six formats, what
// each option page holds and starts with, the browse filters, when OK may
// export, and how the entries become the chosen filter's settings.
#include "engine/core/status.h"
#include "engine/export/exporter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

namespace Orv {

class PageCollection;

enum class ExportFormat { Rtf = 0, Pdf = 1, Html = 2, Excel = 3, Tiff = 4, Text = 5 };

// What the option pages hold. Numbers in the Excel boxes stay the text
// typed; indexes are positions in the pages' lists.
struct ExportEntries
{
    QString fileName[6]; // txtFilename by format; the HTML page's is the file prefix
    struct Pdf
    {
        int acrobatVersion = 1; // "1 - Acrobat 3.x"
        int jpegQuality = 2;    // "75"
        QStringList fontsNotToEmbed; // the selected fonts, top to bottom
    } pdf;
    struct Html
    {
        QString pagesFolder;
        QString imagesFolder;
        QString characterSet;
        QString title;
        int version = 1;   // "1 - Dynamic HTML"
        int tocFormat = 0; // "0 - None"
        bool createCss = false;
        bool createFrameset = false;
        bool mhtArchive = false;
        bool singlePage = false;
    } html;
    struct Excel
    {
        int version = 5; // "8.x"
        QString borderSpace;
        QString minColumnWidth;
        QString minRowHeight;
        bool autoRowHeight = false;
        bool doubleBoundaries = false;
        bool genPageBreaks = false;
        bool multiSheet = false;
        bool showMarginSpace = false;
        bool trimEmptySpace = false;
    } excel;
    struct Text
    {
        QString delimiter;
        bool suppressEmptyLines = false;
        bool unicode = false;
    } text;
};

class ExportDialogModel
{
public:
    static constexpr int FormatCount = 6;

    ExportDialogModel();

    // The list entries, the engine's filter names and each page's lists.
    static QStringList formatNames();
    static QString filterName(ExportFormat format);
    static QStringList acrobatVersions();
    static QStringList jpegQualities();
    static QStringList htmlVersions();
    static QStringList tocFormats();
    static QStringList excelVersions();
    // The file dialog's filter for a page with a browse button.
    static QString browseFilter(ExportFormat format);
    static bool hasBrowseButton(ExportFormat format) { return format != ExportFormat::Html; }

    // The pages to export, set by the caller; while unset OK does nothing.
    void setPages(const PageCollection *pages) { m_pages = pages; }
    const PageCollection *pages() const { return m_pages; }
    // The program's folder: where HTML pages and images go when their
    // boxes are empty.
    void setInstallFolder(const QString &folder) { m_installFolder = folder; }
    QString installFolder() const { return m_installFolder; }

    // -1 while no format is chosen.
    int format() const { return m_format; }
    void setFormat(int format);

    ExportEntries &entries() { return m_entries; }
    const ExportEntries &entries() const { return m_entries; }

    // Pages set, a format chosen and its file name (or prefix) not empty.
    bool canExport() const;
    // The chosen filter's settings in the order they are written. Fails
    // (6, overflow) when an Excel number does not fit 32 bits.
    Status settings(QList<std::pair<QString, QVariant>> *out) const;
    // The file the filter writes: the file name, or for HTML the prefix in
    // the pages folder (.html, or .mht for a MIME archive).
    QString targetPath() const;
    // Writes the pages with the chosen filter; nothing when !canExport().
    Status exportPages(const ExportProgress &progress = {}) const;

    // A text box's number: its leading number (empty or non-numeric text
    // reads as 0), as a 32-bit integer, ties to even.
    static Status leadingLong(const QString &text, int *out);

private:
    const PageCollection *m_pages = nullptr;
    QString m_installFolder;
    int m_format = -1;
    ExportEntries m_entries;
};

} // namespace Orv
