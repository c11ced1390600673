#pragma once
// Turns a page's drawing list into a PDF content stream, drawing each
// operation as the page painter does: texts laid out with the same
// QTextLayout steps and written as their shaped glyphs (so lines break and
// align as on screen), rich text from its document's glyph runs, shapes as
// paths with Bézier curves, barcodes from zint's shapes, pictures as
// image XObjects. The content is in twips with y growing downwards.
#include "engine/export/pdfcontent.h"
#include "engine/pages/page.h"

namespace Orv {
class PageCollection;
}

namespace Orv::Pdf {

class FileWriter;
class FontSet;
class ImageSet;

class PageWriter
{
public:
    // resolution: dots per inch a hairline's dashes are measured in.
    PageWriter(FileWriter &file, FontSet &fonts, ImageSet &images, const PageCollection *collection, int resolution);

    // Appends the page's drawing to content (pictures seen first are
    // written to the file on the way).
    void paint(const Page &page, Content &content);

private:
    FileWriter &m_file;
    FontSet &m_fonts;
    ImageSet &m_images;
    const PageCollection *m_collection;
    int m_resolution;
};

} // namespace Orv::Pdf
