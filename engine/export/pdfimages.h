#pragma once
// The pictures of a PDF: each image of the page collection becomes one
// image XObject, written the first time a page draws it and shared by every
// page after. Opaque pictures are stored as JPEG when that is smaller than
// the lossless Flate form (drawings stay lossless); pixels that are only
// clear or opaque become a stencil mask, other transparency a soft mask;
// grey pictures are stored as grey.
#include <QImage>

#include <vector>

namespace Orv::Pdf {

class FileWriter;

class ImageSet
{
public:
    // jpegQuality 1-100; negative uses the default quality.
    explicit ImageSet(int jpegQuality) : m_quality(jpegQuality < 0 ? DefaultQuality : jpegQuality) {}

    // The object number of image index, writing it on first use; 0 for a null image.
    int object(int index, const QImage &image, FileWriter &writer);
    // Whether index has been written already (its pixels need not be read again).
    int known(int index) const
    {
        return index >= 0 && size_t(index) < m_ids.size() ? m_ids[size_t(index)] : 0;
    }

    static constexpr int DefaultQuality = 94;

private:
    int m_quality;
    std::vector<int> m_ids; // by image index; 0 not written yet
};

} // namespace Orv::Pdf
