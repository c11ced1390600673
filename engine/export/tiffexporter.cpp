#include "engine/export/tiffexporter.h"

#include "engine/core/units.h"
#include "engine/export/exportutil.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdarg>
#include <tiffio.h>
#include <vector>

namespace Orv {

namespace {

constexpr double DefaultPageWidth = 12240;
constexpr double DefaultPageHeight = 15840;

// libtiff reports errors through a process-wide handler; the last message
// of this thread goes into the export's error text.
thread_local QString tiffMessage;

void tiffError(const char *module, const char *fmt, va_list args)
{
    char buffer[512];
    std::vsnprintf(buffer, sizeof buffer, fmt, args);
    tiffMessage = module ? QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(module), QString::fromLocal8Bit(buffer))
                         : QString::fromLocal8Bit(buffer);
}

void tiffWarning(const char *, const char *, va_list) {}

struct TiffCloser
{
    void operator()(TIFF *tif) const { TIFFClose(tif); }
};

uint16_t codec(int compression)
{
    switch (compression) {
    case TiffSettings::CcittGroup3: return COMPRESSION_CCITTFAX3;
    case TiffSettings::CcittGroup4: return COMPRESSION_CCITTFAX4;
    case TiffSettings::Lzw: return COMPRESSION_LZW;
    case TiffSettings::PackBits: return COMPRESSION_PACKBITS;
    default: return COMPRESSION_NONE;
    }
}

} // namespace

QStringList TiffSettings::compressionNames()
{
    return {QStringLiteral("None"), QStringLiteral("CCITT3"), QStringLiteral("CCITT4"), QStringLiteral("LZW"),
            QStringLiteral("PackBits")};
}

QList<ExportSetting> TiffExporter::settings() const
{
    return {{QStringLiteral("Resolution"), SettingType::Integer, 36, 1200, {}, {}, 200, {},
             QStringLiteral("dots per inch")},
            {QStringLiteral("ColorDepth"), SettingType::Integer, 0, 0, {1, 8, 24}, {}, 24, {},
             QStringLiteral("1 black and white, 8 grey, 24 colour (1 with CCITT)")},
            {QStringLiteral("Compression"), SettingType::Choice, 0, 0, {}, TiffSettings::compressionNames(),
             int(TiffSettings::Lzw), {}, QStringLiteral("the libtiff codec")}};
}

Status TiffExporter::parseSettings(const QVariantMap &settings, TiffSettings *out) const
{
    Status status = checkSettingNames(settings);
    if (!status.ok())
        return status;
    TiffSettings s;
    SettingReader r(format(), this->settings(), settings);
    r.integer(QStringLiteral("Resolution"), &s.resolution);
    r.integer(QStringLiteral("ColorDepth"), &s.colorDepth);
    r.choice(QStringLiteral("Compression"), &s.compression);
    if (!r.ok())
        return r.status();
    const bool ccitt = s.compression == TiffSettings::CcittGroup3 || s.compression == TiffSettings::CcittGroup4;
    if (ccitt && !r.has(QStringLiteral("ColorDepth")))
        s.colorDepth = 1;
    if (ccitt && s.colorDepth != 1)
        return failure(ErrInvalidPropertyValue,
                       QStringLiteral("TIFF compression %1 needs ColorDepth 1 (black and white), not %2")
                           .arg(TiffSettings::compressionNames()[s.compression])
                           .arg(s.colorDepth));
    *out = s;
    return {};
}

Status TiffExporter::write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                           const ExportProgress &progress)
{
    TiffSettings options;
    Status status = checkStart(parseSettings(settings, &options), pages);
    if (!status.ok())
        return status;
    const int count = pages.Count();
    StagedFiles staged(format());
    const QString temp = staged.stage(path, &status);
    if (temp.isEmpty())
        return status;

    static const bool handlersSet = [] {
        TIFFSetErrorHandler(tiffError);
        TIFFSetWarningHandler(tiffWarning);
        return true;
    }();
    Q_UNUSED(handlersSet);
    tiffMessage.clear();
    const auto tiffFailure = [&](const QString &what) {
        return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2%3")
                                          .arg(displayName(path), what,
                                               tiffMessage.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(tiffMessage)));
    };
    std::unique_ptr<TIFF, TiffCloser> tif(TIFFOpen(QFile::encodeName(temp).constData(), "w"));
    if (!tif)
        return tiffFailure(QStringLiteral("cannot open the file"));

    const PagePainter painter(&pages);
    const double dpi = options.resolution;
    std::vector<uint8_t> row;
    progress.report(0, count);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled())
            return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
        const std::shared_ptr<const Page> page = pages.page(i, &status);
        if (!page)
            return status;
        const bool sized = page->size.width() > 0 && page->size.height() > 0;
        const double w = sized ? page->size.width() : DefaultPageWidth;
        const double h = sized ? page->size.height() : DefaultPageHeight;
        const int width = qMax(1, int(std::lround(w * dpi / Units::TwipsPerInch)));
        const int height = qMax(1, int(std::lround(h * dpi / Units::TwipsPerInch)));
        if (qint64(width) * height > MaxPixels)
            return failure(ErrInvalidPropertyValue, QStringLiteral("Page %1 is too large for a TIFF image at %2 dpi")
                                                        .arg(i + 1)
                                                        .arg(options.resolution));

        QImage image(width, height, QImage::Format_RGB32);
        if (image.isNull())
            return failure(ErrInvalidPropertyValue, QStringLiteral("Not enough memory for page %1 at %2 dpi").arg(i + 1).arg(options.resolution));
        image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, options.colorDepth != 1);
            p.setRenderHint(QPainter::TextAntialiasing, options.colorDepth != 1);
            painter.paint(p, *page);
        }
        image = image.convertToFormat(options.colorDepth == 24 ? QImage::Format_RGB888 : QImage::Format_Grayscale8);

        TIFF *t = tif.get();
        const int samples = options.colorDepth == 24 ? 3 : 1;
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, uint32_t(width));
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, uint32_t(height));
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, uint16_t(options.colorDepth == 1 ? 1 : 8));
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples));
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                     options.colorDepth == 24 ? PHOTOMETRIC_RGB
                     : options.colorDepth == 8 ? PHOTOMETRIC_MINISBLACK
                                               : PHOTOMETRIC_MINISWHITE);
        TIFFSetField(t, TIFFTAG_COMPRESSION, codec(options.compression));
        if (options.compression == TiffSettings::Lzw && options.colorDepth != 1)
            TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
        if (options.compression == TiffSettings::CcittGroup3)
            TIFFSetField(t, TIFFTAG_GROUP3OPTIONS, uint32_t(GROUP3OPT_2DENCODING | GROUP3OPT_FILLBITS));
        TIFFSetField(t, TIFFTAG_XRESOLUTION, float(dpi));
        TIFFSetField(t, TIFFTAG_YRESOLUTION, float(dpi));
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(t, TIFFTAG_PAGENUMBER, uint16_t(i), uint16_t(count));
        TIFFSetField(t, TIFFTAG_SOFTWARE, "OrvReport");
        // Whole pages as one strip compress CCITT best; other codecs take
        // strips of about 64 KB.
        const uint32_t rowsPerStrip = options.colorDepth == 1 ? uint32_t(height) : TIFFDefaultStripSize(t, 0);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

        row.assign(size_t((width + 7) / 8), 0);
        for (int y = 0; y < height; ++y) {
            const uchar *line = image.constScanLine(y);
            void *data = const_cast<uchar *>(line);
            if (options.colorDepth == 1) {
                // Black where darker than mid grey; 1 bits are black.
                std::fill(row.begin(), row.end(), 0);
                for (int x = 0; x < width; ++x) {
                    if (line[x] < 128)
                        row[size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
                }
                data = row.data();
            }
            if (TIFFWriteScanline(t, data, uint32_t(y), 0) < 0)
                return tiffFailure(QStringLiteral("page %1 could not be written").arg(i + 1));
        }
        if (!TIFFWriteDirectory(t))
            return tiffFailure(QStringLiteral("page %1 could not be written").arg(i + 1));
        progress.report(i + 1, count);
    }
    if (!TIFFFlush(tif.get()))
        return tiffFailure(QStringLiteral("the file could not be finished"));
    tif.reset();
    if (!tiffMessage.isEmpty())
        return tiffFailure(QStringLiteral("the file could not be finished"));
    return staged.commit();
}

} // namespace Orv
