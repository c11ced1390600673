#pragma once
// HTML export. Pages are written as positioned blocks (Dynamic HTML: each
// text placed where it is on the page, lines and shapes as inline SVG) or,
// for HTML 3.2, as a table of the page's lines in reading order. One file
// holds every page, or each page has its own file with links between them.
// Pictures and barcodes go to the images folder as PNG files. A table of
// contents from the pages' bookmarks can be written as simple HTML, as a
// collapsible tree, or as XML; a frameset shows it beside the pages; a
// style sheet file can carry the fonts and colours; and the whole output can
// instead be one MIME archive (.mht).
#include "engine/export/exporter.h"

namespace Orv {

struct HtmlSettings
{
    QString fileNamePrefix;                       // "FileNamePrefix": base name of the files
    QString pagesFolder;                          // "PagesFolder"
    QString imagesFolder;                         // "ImagesFolder"
    QString characterSet = QStringLiteral("UTF-8"); // "CharacterSet"
    QString title;                                // "Title"
    int htmlVersion = 1;                          // "HTMLVersion": 0 HTML 3.2, 1 Dynamic HTML
    int tocFormat = 0;                            // "TOCFormat": 0 none, 1 simple HTML, 2 Dynamic HTML, 3 XML
    bool createCss = false;                       // "CreateCSS": styles in a shared .css file
    bool createFrameset = false;                  // "CreateFrameset"
    bool mhtOutput = false;                       // "MHTOutput": one .mht file instead of many
    bool multiPageOutput = true;                  // "MultiPageOutput": one file per page
};

class HtmlExporter : public Exporter
{
public:
    QString format() const override { return QStringLiteral("HTML"); }
    QStringList extensions() const override
    {
        return {QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("mht")};
    }
    bool writesFolder() const override { return true; }
    QList<ExportSetting> settings() const override;
    // path names the main file: its folder and base name stand in for
    // PagesFolder and FileNamePrefix when those are not set, and a .mht
    // name asks for a MIME archive. path may be empty when both are set.
    Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                 const ExportProgress &progress = {}) override;

    Status parseSettings(const QVariantMap &settings, const QString &path, HtmlSettings *out) const;
};

} // namespace Orv
