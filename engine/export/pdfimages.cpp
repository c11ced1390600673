#include "engine/export/pdfimages.h"

#include "engine/export/pdfobjects.h"

#include <QBuffer>

#include <cstring>

namespace Orv::Pdf {

namespace {

std::string dictionary(int width, int height, const char *space, int smask)
{
    std::string d = " /Type /XObject /Subtype /Image /Width ";
    appendInt(d, width);
    d += " /Height ";
    appendInt(d, height);
    d += " /ColorSpace ";
    d += space;
    d += " /BitsPerComponent 8";
    if (smask) {
        d += " /SMask ";
        appendInt(d, smask);
        d += " 0 R";
    }
    return d;
}

} // namespace

int ImageSet::object(int index, const QImage &source, FileWriter &writer)
{
    if (index < 0 || source.isNull())
        return 0;
    if (size_t(index) >= m_ids.size())
        m_ids.resize(size_t(index) + 1, 0);
    if (m_ids[size_t(index)])
        return m_ids[size_t(index)];

    bool alpha = false;
    bool partial = false; // alpha other than fully clear or opaque
    if (source.hasAlphaChannel()) {
        // Many pictures have an alpha channel they do not use.
        const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height() && !partial; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                const int a = qAlpha(line[x]);
                alpha |= a != 255;
                if (a != 255 && a != 0) {
                    partial = true;
                    break;
                }
            }
        }
    }
    const bool grey = source.isGrayscale();
    const QImage image = alpha ? source.convertToFormat(QImage::Format_ARGB32)
                               : source.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const int w = image.width(), h = image.height();
    std::string samples;
    std::string mask;
    if (alpha) {
        samples.resize(size_t(w) * size_t(h) * (grey ? 1 : 3));
        mask.resize(size_t(w) * size_t(h));
        char *s = samples.data();
        char *m = mask.data();
        for (int y = 0; y < h; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const QRgb c = line[x];
                if (grey) {
                    *s++ = char(qRed(c));
                } else {
                    *s++ = char(qRed(c));
                    *s++ = char(qGreen(c));
                    *s++ = char(qBlue(c));
                }
                *m++ = char(qAlpha(c));
            }
        }
    } else {
        const size_t row = size_t(w) * (grey ? 1 : 3);
        samples.resize(row * size_t(h));
        for (int y = 0; y < h; ++y)
            std::memcpy(samples.data() + row * size_t(y), image.constScanLine(y), row);
    }

    const char *space = grey ? "/DeviceGray" : "/DeviceRGB";
    int smask = 0;
    std::string stencil; // " /Mask n 0 R" for a picture whose pixels are clear or opaque
    if (partial) {
        smask = writer.reserve();
        writer.flateStream(smask, dictionary(w, h, "/DeviceGray", 0), mask);
    } else if (alpha) {
        const size_t row = (size_t(w) + 7) / 8;
        std::string bits(row * size_t(h), '\0');
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (mask[size_t(y) * size_t(w) + size_t(x)])
                    bits[row * size_t(y) + size_t(x) / 8] |= char(0x80 >> (x % 8));
            }
        }
        const int id = writer.reserve();
        std::string d = " /Type /XObject /Subtype /Image /Width ";
        appendInt(d, w);
        d += " /Height ";
        appendInt(d, h);
        d += " /ImageMask true /Decode [1 0]";
        writer.flateStream(id, d, bits);
        stencil = " /Mask ";
        appendInt(stencil, id);
        stencil += " 0 R";
    }
    const int id = writer.reserve();
    std::string lossless = deflate(samples);
    if (!partial) {
        // A photograph is much smaller as JPEG; a drawing is not.
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        if (image.save(&buffer, "JPEG", m_quality) && jpeg.size() < qsizetype(lossless.size())) {
            writer.stream(id, dictionary(w, h, space, 0) + stencil + " /Filter /DCTDecode",
                          std::string_view(jpeg.constData(), size_t(jpeg.size())));
            m_ids[size_t(index)] = id;
            return id;
        }
    }
    writer.stream(id, dictionary(w, h, space, smask) + stencil + " /Filter /FlateDecode", lossless);
    m_ids[size_t(index)] = id;
    return id;
}

} // namespace Orv::Pdf
