#include "engine/export/tiffexporter.h"

#include "engine/core/units.h"
#include "engine/export/exportutil.h"
#include "engine/export/orderedwork.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"

#include <QImage>
#include <QPainter>
#include <QScopeGuard>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <tiffio.h>
#include <unordered_map>
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

// A TIFF in memory: a worker compresses its page into one, and the strips
// the codec made are copied from it into the file.
struct MemoryFile
{
    std::vector<uint8_t> data;
    uint64_t pos = 0;

    static tmsize_t read(thandle_t h, void *buffer, tmsize_t size)
    {
        auto *f = static_cast<MemoryFile *>(h);
        const uint64_t n = f->pos >= f->data.size() ? 0 : std::min<uint64_t>(uint64_t(size), f->data.size() - f->pos);
        if (n)
            std::memcpy(buffer, f->data.data() + f->pos, size_t(n));
        f->pos += n;
        return tmsize_t(n);
    }
    static tmsize_t write(thandle_t h, void *buffer, tmsize_t size)
    {
        auto *f = static_cast<MemoryFile *>(h);
        if (f->data.size() < f->pos + uint64_t(size))
            f->data.resize(size_t(f->pos + uint64_t(size)));
        std::memcpy(f->data.data() + f->pos, buffer, size_t(size));
        f->pos += uint64_t(size);
        return size;
    }
    static toff_t seek(thandle_t h, toff_t offset, int whence)
    {
        auto *f = static_cast<MemoryFile *>(h);
        const int64_t base = whence == SEEK_CUR ? int64_t(f->pos) : whence == SEEK_END ? int64_t(f->data.size()) : 0;
        const int64_t to = base + int64_t(offset);
        if (to < 0)
            return toff_t(-1);
        f->pos = uint64_t(to);
        return f->pos;
    }
    static int close(thandle_t) { return 0; }
    static toff_t size(thandle_t h) { return static_cast<MemoryFile *>(h)->data.size(); }
    static int map(thandle_t, void **, toff_t *) { return 0; }
    static void unmap(thandle_t, void *, toff_t) {}
};

// A page drawn and compressed, ready to go into the file as it is.
struct EncodedPage
{
    static EncodedPage failure(const Status &status)
    {
        EncodedPage page;
        page.failed = status;
        return page;
    }
    Status failed; // on failure nothing else is set
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t rowsPerStrip = 0;
    std::vector<std::vector<uint8_t>> strips;
};

// The tags of a page, the same in a worker's memory TIFF and in the file
// (the strip layout comes from the worker).
void setPageTags(TIFF *t, const TiffSettings &o, uint32_t width, uint32_t height, int index, int count)
{
    TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, uint16_t(o.colorDepth == 1 ? 1 : 8));
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, uint16_t(o.colorDepth == 24 ? 3 : 1));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                 o.colorDepth == 24  ? PHOTOMETRIC_RGB
                 : o.colorDepth == 8 ? PHOTOMETRIC_MINISBLACK
                                     : PHOTOMETRIC_MINISWHITE);
    TIFFSetField(t, TIFFTAG_COMPRESSION, codec(o.compression));
    if (o.compression == TiffSettings::Lzw && o.colorDepth != 1)
        TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (o.compression == TiffSettings::CcittGroup3)
        TIFFSetField(t, TIFFTAG_GROUP3OPTIONS, uint32_t(GROUP3OPT_2DENCODING | GROUP3OPT_FILLBITS));
    TIFFSetField(t, TIFFTAG_XRESOLUTION, float(o.resolution));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, float(o.resolution));
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_PAGENUMBER, uint16_t(index), uint16_t(count));
    TIFFSetField(t, TIFFTAG_SOFTWARE, "OrvReport");
}

// Draws page index at its size in pixels and compresses it; runs on a
// worker, so it touches nothing shared: the page and its pictures come
// along.
EncodedPage encodePage(const Page &page, const std::unordered_map<int, QImage> &images, const TiffSettings &options,
                       uint32_t width, uint32_t height, int index, int count, const QString &fileName)
{
    EncodedPage out;
    // On the writing thread (one thread) the writer's last libtiff message
    // stays as it was.
    const QString writerMessage = std::exchange(tiffMessage, QString());
    const auto restore = qScopeGuard([&] { tiffMessage = writerMessage; });
    const auto fail = [&](int error, const QString &what) {
        QString text = tiffMessage.isEmpty() ? what : QStringLiteral("%1 (%2)").arg(what, tiffMessage);
        if (error == ErrPathAccess)
            text = QStringLiteral("Cannot write %1: %2").arg(fileName, text);
        return EncodedPage::failure(Status::failure(error, text, QStringLiteral("TIFF export")));
    };
    const auto notCompressed = [&] {
        return fail(ErrPathAccess, QStringLiteral("page %1 could not be compressed").arg(index + 1));
    };
    const double dpi = options.resolution;
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return fail(ErrInvalidPropertyValue,
                    QStringLiteral("Not enough memory for page %1 at %2 dpi").arg(index + 1).arg(options.resolution));
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    {
        const PagePainter painter = PagePainter::withImages([&images](int i) {
            const auto found = images.find(i);
            return found == images.end() ? QImage() : found->second;
        });
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, options.colorDepth != 1);
        p.setRenderHint(QPainter::TextAntialiasing, options.colorDepth != 1);
        painter.paint(p, page);
    }
    image = image.convertToFormat(options.colorDepth == 24 ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
    if (image.isNull())
        return fail(ErrInvalidPropertyValue,
                    QStringLiteral("Not enough memory for page %1 at %2 dpi").arg(index + 1).arg(options.resolution));

    MemoryFile memory;
    std::unique_ptr<TIFF, TiffCloser> tif(TIFFClientOpen("page", "w", &memory, MemoryFile::read, MemoryFile::write,
                                                         MemoryFile::seek, MemoryFile::close, MemoryFile::size,
                                                         MemoryFile::map, MemoryFile::unmap));
    if (!tif)
        return notCompressed();
    TIFF *t = tif.get();
    setPageTags(t, options, width, height, index, count);
    // Whole pages as one strip compress CCITT best; other codecs take
    // strips of about 64 KB.
    out.rowsPerStrip = options.colorDepth == 1 ? height : TIFFDefaultStripSize(t, 0);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, out.rowsPerStrip);
    std::vector<uint8_t> row(size_t((width + 7) / 8), 0);
    for (uint32_t y = 0; y < height; ++y) {
        const uchar *line = image.constScanLine(int(y));
        void *data = const_cast<uchar *>(line);
        if (options.colorDepth == 1) {
            // Black where darker than mid grey; 1 bits are black.
            std::fill(row.begin(), row.end(), 0);
            for (uint32_t x = 0; x < width; ++x) {
                if (line[x] < 128)
                    row[size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
            }
            data = row.data();
        }
        if (TIFFWriteScanline(t, data, y, 0) < 0)
            return notCompressed();
    }
    if (!TIFFFlushData(t))
        return notCompressed();
    const uint32_t strips = TIFFNumberOfStrips(t);
    uint64_t *offsets = nullptr;
    uint64_t *sizes = nullptr;
    if (!TIFFGetField(t, TIFFTAG_STRIPOFFSETS, &offsets) || !TIFFGetField(t, TIFFTAG_STRIPBYTECOUNTS, &sizes))
        return notCompressed();
    out.strips.reserve(strips);
    for (uint32_t s = 0; s < strips; ++s) {
        if (offsets[s] + sizes[s] > memory.data.size())
            return notCompressed();
        const auto from = memory.data.begin() + std::ptrdiff_t(offsets[s]);
        out.strips.emplace_back(from, from + std::ptrdiff_t(sizes[s]));
    }
    // The memory file needs no directory: freed without writing one.
    TIFFCleanup(tif.release());
    out.width = width;
    out.height = height;
    return out;
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

    // Pages are read here (the collection may grow meanwhile: a preview
    // still running) and drawn on the workers, each with its own copy of
    // the page and its pictures.
    OrderedWork<EncodedPage> work(m_threads);
    const int depth = 2 * work.threads();
    std::deque<qint64> bytesOut; // image bytes of each page handed out
    qint64 bytesAhead = 0;
    int next = 0;
    const double dpi = options.resolution;
    const auto handOut = [&]() -> bool {
        if (next >= count || work.pending() >= depth)
            return false;
        const int index = next;
        Status read;
        const std::shared_ptr<const Page> page = pages.page(index, &read);
        if (!page) {
            work.done(EncodedPage::failure(read));
            bytesOut.push_back(0);
            next = count; // nothing after a page that cannot be read
            return true;
        }
        const bool sized = page->size.width() > 0 && page->size.height() > 0;
        const double w = sized ? page->size.width() : DefaultPageWidth;
        const double h = sized ? page->size.height() : DefaultPageHeight;
        const int width = qMax(1, int(std::lround(w * dpi / Units::TwipsPerInch)));
        const int height = qMax(1, int(std::lround(h * dpi / Units::TwipsPerInch)));
        if (qint64(width) * height > MaxPixels) {
            work.done(EncodedPage::failure(failure(ErrInvalidPropertyValue,
                                                   QStringLiteral("Page %1 is too large for a TIFF image at %2 dpi")
                                                       .arg(index + 1)
                                                       .arg(options.resolution))));
            bytesOut.push_back(0);
            next = count;
            return true;
        }
        // The drawn image and its converted copy.
        const qint64 bytes = qint64(width) * height * (options.colorDepth == 24 ? 7 : 5);
        if (work.pending() > 0 && bytesAhead + bytes > MaxBytesAhead)
            return false;
        std::unordered_map<int, QImage> images;
        for (const PageOp &op : page->ops)
            if (const ImageOp *i = std::get_if<ImageOp>(&op))
                images.emplace(i->image, pages.image(i->image));
        ++next;
        bytesAhead += bytes;
        bytesOut.push_back(bytes);
        work.submit([page, images = std::move(images), options, width, height, index, count, name = displayName(path)] {
            return encodePage(*page, images, options, uint32_t(width), uint32_t(height), index, count, name);
        });
        return true;
    };

    progress.report(0, count);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled())
            return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
        while (handOut()) {
        }
        EncodedPage encoded = work.takeNext();
        bytesAhead -= bytesOut.front();
        bytesOut.pop_front();
        if (!encoded.failed.ok())
            return encoded.failed;

        TIFF *t = tif.get();
        setPageTags(t, options, encoded.width, encoded.height, i, count);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, encoded.rowsPerStrip);
        for (size_t s = 0; s < encoded.strips.size(); ++s) {
            std::vector<uint8_t> &strip = encoded.strips[s];
            if (TIFFWriteRawStrip(t, uint32_t(s), strip.data(), tmsize_t(strip.size())) < 0)
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
