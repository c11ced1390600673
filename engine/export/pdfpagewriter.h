#pragma once
// Turns a page's drawing list into a PDF content stream, drawing each
// operation as the page painter does: texts laid out with the same
// QTextLayout steps and written as their shaped glyphs (so lines break and
// align as on screen), rich text from its document's glyph runs, shapes as
// paths with Bézier curves, barcodes from zint's shapes, pictures as
// image XObjects. The content is in twips with y growing downwards.
#include "engine/export/pdfcontent.h"
#include "engine/pages/page.h"

#include <QtGlobal>

#include <QImage>

#include <memory>
#include <vector>

namespace Orv {
class PageCollection;
}

namespace Orv::Pdf {

class FileWriter;
class FontSet;
class ImageSet;

// A picture a page draws, written to the file before the page is drawn.
struct PlacedImage
{
    int index = 0; // in the page collection
    int id = 0;    // its image object
    QImage image;
};

class PageWriter
{
public:
    // resolution: dots per inch a hairline's dashes are measured in.
    PageWriter(FileWriter &file, FontSet &fonts, ImageSet &images, const PageCollection *collection, int resolution);
    ~PageWriter();
    PageWriter(const PageWriter &) = delete;
    PageWriter &operator=(const PageWriter &) = delete;

    // Writes the pictures the page draws that are not in the file yet, on
    // the writing thread, so the page can then be painted on any other.
    std::vector<PlacedImage> images(const Page &page);
    // Appends the page's drawing to content. With placed (from images())
    // it runs on any thread, several at once; without, pictures seen first
    // are written to the file on the way, on the writing thread.
    void paint(const Page &page, Content &content, const std::vector<PlacedImage> *placed = nullptr);

private:
    FileWriter &m_file;
    FontSet &m_fonts;
    ImageSet &m_images;
    const PageCollection *m_collection;
    int m_resolution;
    quint64 m_document; // tells the threads' text caches one document from the next
};

} // namespace Orv::Pdf
