// Archive files (rdf): a header, then chunks, each checksummed and most of
// them compressed. docs/archive-format.md describes the bytes.
#include "engine/pages/pagecollection_p.h"

#include "engine/pages/pageio.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>
#include <zlib.h>

namespace Orv {

namespace {

constexpr char Magic[8] = {'O', 'R', 'V', 'R', 'D', 'F', '\x1a', '\n'};
constexpr quint16 ArchiveVersion = 1;
constexpr qsizetype HeaderSize = 28;
constexpr qsizetype ChunkHeaderSize = 16;

enum ChunkType : quint8 { ChunkImage = 'I', ChunkFonts = 'F', ChunkPage = 'P', ChunkEnd = 'E' };
enum Encoding : quint8 { Stored = 0, Deflated = 1 };

// Caps that keep a hostile file from making us allocate much.
constexpr quint32 MaxPageBytes = 64u << 20;   // one decoded page
constexpr quint32 MaxImageBytes = 256u << 20; // one encoded image
constexpr quint32 MaxFontBytes = 16u << 20;
constexpr quint32 MaxFonts = 65536;
constexpr int MaxImageSide = 30000;
constexpr int ImageAllocationLimitMb = 256;
constexpr qint64 MaxTotalImageBytes = qint64(1) << 30; // decoded, all pictures together
// Level 3 compresses pages within 4% of level 6 at one and a half times the speed.
constexpr int CompressionLevel = 3;
// zlib cannot expand data by more than about 1032 to 1.
constexpr quint64 MaxDeflateRatio = 1040;

quint32 crc(const char *data, qsizetype size, quint32 start = 0)
{
    uLong c = start ? start : crc32(0L, Z_NULL, 0);
    return quint32(crc32(c, reinterpret_cast<const Bytef *>(data), uInt(size)));
}

Status formatError(const QString &name, const QString &what)
{
    const QString file = name.isEmpty() ? QString() : QFileInfo(name).fileName() + QStringLiteral(": ");
    return Status::failure(ErrBadFileFormat, QStringLiteral("Invalid archive %1%2").arg(file, what),
                           QStringLiteral("Pages.Load"));
}

class ChunkWriter
{
public:
    explicit ChunkWriter(QIODevice *device) : m_device(device)
    {
        // One deflate state for every chunk: setting one up costs more than
        // compressing a page.
        m_ready = deflateInit(&m_zip, CompressionLevel) == Z_OK;
    }
    ~ChunkWriter()
    {
        if (m_ready)
            deflateEnd(&m_zip);
    }
    ChunkWriter(const ChunkWriter &) = delete;
    ChunkWriter &operator=(const ChunkWriter &) = delete;

    bool write(ChunkType type, const QByteArray &data, bool compress)
    {
        const QByteArray *stored = &data;
        Encoding encoding = Stored;
        if (compress && !data.isEmpty()) {
            if (!m_ready || deflateReset(&m_zip) != Z_OK)
                return fail(QStringLiteral("compression failed"));
            m_buffer.resize(qsizetype(deflateBound(&m_zip, uLong(data.size()))));
            m_zip.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
            m_zip.avail_in = uInt(data.size());
            m_zip.next_out = reinterpret_cast<Bytef *>(m_buffer.data());
            m_zip.avail_out = uInt(m_buffer.size());
            if (deflate(&m_zip, Z_FINISH) != Z_STREAM_END)
                return fail(QStringLiteral("compression failed"));
            m_buffer.resize(qsizetype(m_zip.total_out));
            stored = &m_buffer;
            encoding = Deflated;
        }
        char header[ChunkHeaderSize];
        header[0] = char(type);
        header[1] = char(encoding);
        header[2] = header[3] = 0;
        qToLittleEndian(quint32(stored->size()), header + 4);
        qToLittleEndian(quint32(data.size()), header + 8);
        quint32 c = crc(header, 12);
        c = crc(stored->constData(), stored->size(), c);
        qToLittleEndian(c, header + 12);
        if (m_device->write(header, ChunkHeaderSize) != ChunkHeaderSize
            || m_device->write(*stored) != stored->size())
            return fail(m_device->errorString());
        return true;
    }

    bool fail(const QString &error)
    {
        m_error = error;
        return false;
    }
    const QString &error() const { return m_error; }

private:
    QIODevice *m_device;
    QString m_error;
    z_stream m_zip{};
    bool m_ready = false;
    QByteArray m_buffer;
};

class ChunkReader
{
public:
    ChunkReader(QIODevice *device, const QString &name) : m_device(device), m_name(name) {}

    // Reads the next chunk: its type and decoded data. where names the
    // expected item for error texts ("page 3").
    Status next(const QString &where, quint8 *type, QByteArray *data)
    {
        const qint64 left = m_device->size() - m_device->pos();
        if (left < ChunkHeaderSize)
            return formatError(m_name, where + QStringLiteral(": truncated"));
        char header[ChunkHeaderSize];
        if (m_device->read(header, ChunkHeaderSize) != ChunkHeaderSize)
            return formatError(m_name, where + QStringLiteral(": cannot read"));
        *type = quint8(header[0]);
        const quint8 encoding = quint8(header[1]);
        const quint32 storedSize = qFromLittleEndian<quint32>(header + 4);
        const quint32 dataSize = qFromLittleEndian<quint32>(header + 8);
        const quint32 storedCrc = qFromLittleEndian<quint32>(header + 12);
        if (header[2] || header[3] || encoding > Deflated)
            return formatError(m_name, where + QStringLiteral(": bad chunk header"));
        if (qint64(storedSize) > left - ChunkHeaderSize)
            return formatError(m_name, where + QStringLiteral(": truncated"));
        const quint32 cap = *type == ChunkImage ? MaxImageBytes : *type == ChunkFonts ? MaxFontBytes : MaxPageBytes;
        if (dataSize > cap)
            return formatError(m_name, where + QStringLiteral(": chunk of %1 bytes is too large").arg(dataSize));
        if (encoding == Stored ? dataSize != storedSize
                               : quint64(dataSize) > quint64(storedSize) * MaxDeflateRatio + 64)
            return formatError(m_name, where + QStringLiteral(": bad chunk size"));
        const QByteArray stored = m_device->read(storedSize);
        if (stored.size() != qsizetype(storedSize))
            return formatError(m_name, where + QStringLiteral(": truncated"));
        if (crc(stored.constData(), stored.size(), crc(header, 12)) != storedCrc)
            return formatError(m_name, where + QStringLiteral(": checksum mismatch"));
        if (encoding == Stored) {
            *data = stored;
            return {};
        }
        data->resize(qsizetype(dataSize));
        uLongf size = dataSize;
        if (uncompress(reinterpret_cast<Bytef *>(data->data()), &size,
                       reinterpret_cast<const Bytef *>(stored.constData()), uLong(stored.size()))
                != Z_OK
            || size != dataSize)
            return formatError(m_name, where + QStringLiteral(": compressed data damaged"));
        return {};
    }

private:
    QIODevice *m_device;
    QString m_name;
};

QByteArray encodeImage(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(1); // speed over size; PNG is compact anyway
    if (!image.isNull())
        writer.write(image);
    return png;
}

bool decodeImage(const QByteArray &bytes, QImage *image)
{
    if (bytes.isEmpty()) {
        *image = QImage();
        return true;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAllocationLimit(ImageAllocationLimitMb);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxImageSide || size.height() > MaxImageSide)
        return false;
    return reader.read(image);
}

} // namespace

Status PageCollection::saveTo(QIODevice *device) const
{
    const auto fail = [](const QString &what) {
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot write the archive: ") + what,
                               QStringLiteral("Pages.Save"));
    };
    char header[HeaderSize];
    std::memcpy(header, Magic, 8);
    qToLittleEndian(ArchiveVersion, header + 8);
    qToLittleEndian(PageIO::PageFormatVersion, header + 10);
    qToLittleEndian(quint32(0), header + 12); // flags
    qToLittleEndian(quint32(Count()), header + 16);
    qToLittleEndian(quint32(imageCount()), header + 20);
    qToLittleEndian(crc(header, 24), header + 24);
    if (device->write(header, HeaderSize) != HeaderSize)
        return fail(device->errorString());

    ChunkWriter chunks(device);
    for (int i = 0; i < imageCount(); ++i) {
        if (!chunks.write(ChunkImage, encodeImage(d->images[size_t(i)]), false))
            return fail(chunks.error());
    }
    PageIO::FontTable fonts;
    QByteArray bytes;
    for (int i = 0; i < Count(); ++i) {
        Status status;
        const std::shared_ptr<const Page> p = page(i, &status);
        if (!p)
            return status;
        // Fonts a page uses for the first time go in a font chunk before it.
        const size_t known = fonts.fonts.size();
        bytes.clear();
        PageIO::Writer w(bytes);
        PageIO::writePage(w, *p, &fonts);
        if (fonts.fonts.size() > known) {
            QByteArray fontBytes;
            PageIO::Writer fw(fontBytes);
            fw.u32(quint32(fonts.fonts.size() - known));
            for (size_t f = known; f < fonts.fonts.size(); ++f)
                PageIO::writeFont(fw, fonts.fonts[f]);
            if (!chunks.write(ChunkFonts, fontBytes, true))
                return fail(chunks.error());
        }
        if (!chunks.write(ChunkPage, bytes, true))
            return fail(chunks.error());
    }
    QByteArray end;
    PageIO::Writer ew(end);
    ew.u32(quint32(Count()));
    ew.u32(quint32(imageCount()));
    ew.u32(quint32(fonts.fonts.size()));
    if (!chunks.write(ChunkEnd, end, false))
        return fail(chunks.error());
    return {};
}

Status PageCollection::Save(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                               QStringLiteral("Pages.Save"));
    const Status status = saveTo(&file);
    if (!status.ok()) {
        file.cancelWriting();
        return status;
    }
    if (!file.commit())
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                               QStringLiteral("Pages.Save"));
    return {};
}

Status PageCollection::loadFrom(QIODevice *device, const QString &name)
{
    if (!device || !device->isOpen() || device->isSequential())
        return Status::failure(ErrInvalidCall, QStringLiteral("Archives load from an open file"),
                               QStringLiteral("Pages.Load"));
    char header[HeaderSize];
    const qint64 got = device->read(header, HeaderSize);
    if (got < 8 || std::memcmp(header, Magic, 8) != 0)
        return formatError(name, QStringLiteral("header: not an archive"));
    if (got < HeaderSize)
        return formatError(name, QStringLiteral("header: truncated"));
    if (crc(header, 24) != qFromLittleEndian<quint32>(header + 24))
        return formatError(name, QStringLiteral("header: checksum mismatch"));
    const quint16 version = qFromLittleEndian<quint16>(header + 8);
    const quint16 pageVersion = qFromLittleEndian<quint16>(header + 10);
    // Older page formats are subsets of the current one and read as they are.
    if (version != ArchiveVersion || pageVersion < PageIO::OldestPageFormatVersion
        || pageVersion > PageIO::PageFormatVersion)
        return formatError(name, QStringLiteral("header: version %1.%2 is not supported (this program reads %3.%4 to %3.%5)")
                                     .arg(version)
                                     .arg(pageVersion)
                                     .arg(ArchiveVersion)
                                     .arg(PageIO::OldestPageFormatVersion)
                                     .arg(PageIO::PageFormatVersion));
    if (qFromLittleEndian<quint32>(header + 12) != 0)
        return formatError(name, QStringLiteral("header: unknown flags"));
    const quint32 pageCount = qFromLittleEndian<quint32>(header + 16);
    const quint32 imageCount = qFromLittleEndian<quint32>(header + 20);
    const qint64 left = device->size() - device->pos();
    if (quint64(pageCount) + imageCount + 1 > quint64(left / ChunkHeaderSize))
        return formatError(name, QStringLiteral("header: %1 pages and %2 images cannot fit in the file")
                                     .arg(pageCount)
                                     .arg(imageCount));

    // Read into a fresh collection (which spills as usual), then take it over.
    PageCollection loaded;
    loaded.setMemoryPageLimit(memoryPageLimit());
    ChunkReader chunks(device, name);
    quint8 type = 0;
    QByteArray data;
    qint64 imageBytes = 0;
    for (quint32 i = 0; i < imageCount; ++i) {
        const QString where = QStringLiteral("image %1").arg(i + 1);
        Status status = chunks.next(where, &type, &data);
        if (!status.ok())
            return status;
        QImage image;
        if (type != ChunkImage)
            return formatError(name, where + QStringLiteral(": missing"));
        if (!decodeImage(data, &image))
            return formatError(name, where + QStringLiteral(": not a readable image"));
        imageBytes += image.sizeInBytes();
        if (imageBytes > MaxTotalImageBytes)
            return formatError(name, where + QStringLiteral(": the pictures are too large in total"));
        // Stored once each; identical pixels in two chunks still get two
        // indexes, so page references stay valid.
        loaded.d->images.push_back(image);
        loaded.d->imageByHash.insert(imageHash(image), int(i));
    }
    std::vector<PageFont> fonts;
    for (quint32 i = 0; i < pageCount;) {
        const QString where = QStringLiteral("page %1").arg(i + 1);
        Status status = chunks.next(where, &type, &data);
        if (!status.ok())
            return status;
        PageIO::Reader r(data);
        if (type == ChunkFonts) {
            const quint32 n = r.count(13, "font");
            if (r.ok() && fonts.size() + n > MaxFonts)
                r.fail(QStringLiteral("too many fonts"));
            for (quint32 f = 0; f < n && r.ok(); ++f) {
                PageFont font;
                if (PageIO::readFont(r, &font))
                    fonts.push_back(std::move(font));
            }
            if (r.ok() && !r.atEnd())
                r.fail(QStringLiteral("unexpected data after the fonts"));
            if (!r.ok())
                return formatError(name, where + QStringLiteral(": fonts: ") + r.error());
            continue;
        }
        if (type != ChunkPage)
            return formatError(name, where + QStringLiteral(": missing"));
        Page page;
        if (PageIO::readPage(r, &page, int(imageCount), &fonts) && !r.atEnd())
            r.fail(QStringLiteral("unexpected data after the page"));
        if (!r.ok())
            return formatError(name, where + QStringLiteral(": ") + r.error());
        loaded.append(std::move(page));
        ++i;
    }
    Status status = chunks.next(QStringLiteral("end"), &type, &data);
    if (!status.ok())
        return status;
    PageIO::Reader r(data);
    const quint32 endPages = r.u32();
    const quint32 endImages = r.u32();
    const quint32 endFonts = r.u32();
    if (type != ChunkEnd || !r.ok() || !r.atEnd() || endPages != pageCount || endImages != imageCount
        || endFonts != fonts.size())
        return formatError(name, QStringLiteral("end: missing or inconsistent"));
    if (device->pos() != device->size())
        return formatError(name, QStringLiteral("end: unexpected data after the end"));

    std::swap(d, loaded.d);
    Q_EMIT cleared();
    for (int i = 0; i < Count(); ++i)
        Q_EMIT pageAdded(i);
    return {};
}

Status PageCollection::Load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return Status::failure(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path),
                               QStringLiteral("Pages.Load"));
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()),
                               QStringLiteral("Pages.Load"));
    return loadFrom(&file, path);
}

} // namespace Orv
