#pragma once
// Our PDF writer's document: pages go out to the device as they are made
// (drawn and compressed on worker threads, written in page order), pictures
// when first drawn; at the end come the font subsets, the page tree, the
// outline, the document information, the catalog and the cross-reference
// table. All it keeps for the whole document are the fonts' glyph lists
// and one number for each object. Texts known only later (the page count)
// are form objects the pages draw, written when known; one form serves
// every page where the same text stands in the same box.
#include "engine/export/pdfoutline.h"
#include "engine/pages/page.h"

#include <QString>

#include <memory>
#include <vector>

class QIODevice;

namespace Orv {
class PageCollection;
}

namespace Orv::Pdf {

struct PagePlan;

struct DocumentInfo
{
    QString title, author, creator, subject, keywords;
};

class Document
{
public:
    // images: where the pages' pictures are; resolution: dots per inch
    // hairline dashes are measured in; jpegQuality 1-100 or -1.
    Document(QIODevice *device, const PageCollection *images, int resolution, int jpegQuality);
    ~Document();
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    // A page goes out in three steps. plan(), on the writing thread in page
    // order, numbers its objects, writes the pictures it draws first and
    // notes its late texts; render(), on any thread (several at once),
    // lays out, draws and compresses it; addPage(), on the writing thread
    // in the order planned, writes it. Late texts are drawn from form
    // objects that completePage writes once their texts are known; the
    // page itself goes out at once.
    std::shared_ptr<PagePlan> plan(std::shared_ptr<const Page> page, const std::vector<LateText> &late = {});
    void render(PagePlan &plan);
    void addPage(PagePlan &plan);
    // The late texts of page index (0-based, in the order added) are
    // known: their forms are written (texts by op; others are ignored).
    void completePage(int index, const std::vector<LateText> &texts);
    // Writes what remains; outline items refer to pages by index.
    void finish(const DocumentInfo &info, const PdfOutline::Items &outline);

    bool ok() const;
    QString error() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Orv::Pdf
