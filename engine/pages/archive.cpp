// Archive files (rdf): a header, then chunks, each checksummed and most of
// them compressed. docs/archive-format.md describes the bytes.
#include "engine/pages/pagecollection_p.h"

#include "engine/pages/pageio.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include "engine/pages/stagedfiles.h"

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

Status formatError(const QString &name, const QString &what, const QString &source = QStringLiteral("Pages.Load"))
{
    const QString file = name.isEmpty() ? QString() : QFileInfo(name).fileName() + QStringLiteral(": ");
    return Status::failure(ErrBadFileFormat, QStringLiteral("Invalid archive %1%2").arg(file, what), source);
}

// Writes all of data; a write cut short (a full disk) is tried again for
// the rest, so the device's error names the system's reason.
bool writeAll(QIODevice *device, const char *data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 n = device->write(data + done, size - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool writeAll(QIODevice *device, const QByteArray &data)
{
    return writeAll(device, data.constData(), data.size());
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
        if (!writeAll(m_device, header, ChunkHeaderSize) || !writeAll(m_device, *stored))
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

// One chunk as stored: its header, fields and stored bytes.
struct Chunk
{
    char header[ChunkHeaderSize];
    quint8 type = 0;
    quint8 encoding = Stored;
    quint32 storedSize = 0;
    quint32 dataSize = 0;
    quint32 crc = 0;
    QByteArray stored;
};

// Reads the chunk at the device's position, which must end by end: checks
// its header against the caps and its checksum, but does not decode it.
// where names the expected item for error texts ("page 3").
Status readChunk(QIODevice *device, qint64 end, const QString &name, const QString &where, Chunk *chunk,
                 const QString &source = QStringLiteral("Pages.Load"))
{
    const auto fail = [&](const QString &what) { return formatError(name, where + what, source); };
    const qint64 left = end - device->pos();
    if (left < ChunkHeaderSize)
        return fail(QStringLiteral(": truncated"));
    char *header = chunk->header;
    if (device->read(header, ChunkHeaderSize) != ChunkHeaderSize)
        return fail(QStringLiteral(": cannot read"));
    chunk->type = quint8(header[0]);
    chunk->encoding = quint8(header[1]);
    chunk->storedSize = qFromLittleEndian<quint32>(header + 4);
    chunk->dataSize = qFromLittleEndian<quint32>(header + 8);
    chunk->crc = qFromLittleEndian<quint32>(header + 12);
    if (header[2] || header[3] || chunk->encoding > Deflated)
        return fail(QStringLiteral(": bad chunk header"));
    if (qint64(chunk->storedSize) > left - ChunkHeaderSize)
        return fail(QStringLiteral(": truncated"));
    const quint32 cap = chunk->type == ChunkImage ? MaxImageBytes
                        : chunk->type == ChunkFonts ? MaxFontBytes
                                                    : MaxPageBytes;
    if (chunk->dataSize > cap)
        return fail(QStringLiteral(": chunk of %1 bytes is too large").arg(chunk->dataSize));
    if (chunk->encoding == Stored ? chunk->dataSize != chunk->storedSize
                                  : quint64(chunk->dataSize) > quint64(chunk->storedSize) * MaxDeflateRatio + 64)
        return fail(QStringLiteral(": bad chunk size"));
    chunk->stored.resize(qsizetype(chunk->storedSize));
    if (device->read(chunk->stored.data(), chunk->storedSize) != qint64(chunk->storedSize))
        return fail(QStringLiteral(": truncated"));
    if (crc(chunk->stored.constData(), chunk->stored.size(), crc(header, 12)) != chunk->crc)
        return fail(QStringLiteral(": checksum mismatch"));
    return {};
}

// The decoded data of a chunk read by readChunk.
Status decodeChunk(const Chunk &chunk, QByteArray *data, const QString &name, const QString &where,
                   const QString &source = QStringLiteral("Pages.Load"))
{
    if (chunk.encoding == Stored) {
        *data = chunk.stored;
        return {};
    }
    data->resize(qsizetype(chunk.dataSize));
    uLongf size = chunk.dataSize;
    if (uncompress(reinterpret_cast<Bytef *>(data->data()), &size,
                   reinterpret_cast<const Bytef *>(chunk.stored.constData()), uLong(chunk.stored.size()))
            != Z_OK
        || size != chunk.dataSize)
        return formatError(name, where + QStringLiteral(": compressed data damaged"), source);
    return {};
}

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

Status PageCollection::Private::keepArchive(QIODevice *device, qint64 start, qint64 end,
                                            std::unique_ptr<QFile> *file)
{
    if (file) {
        archive = std::move(*file);
        return {};
    }
    // A file opened by the caller: a handle of our own on the same file
    // (through /proc, so a file renamed or removed since still works).
    if (auto *fileDevice = qobject_cast<QFileDevice *>(device)) {
        QStringList paths;
        if (fileDevice->handle() >= 0)
            paths << QStringLiteral("/proc/self/fd/%1").arg(fileDevice->handle());
        if (!fileDevice->fileName().isEmpty())
            paths << fileDevice->fileName();
        for (const QString &path : std::as_const(paths)) {
            auto own = std::make_unique<QFile>(path);
            if (own->open(QIODevice::ReadOnly) && own->size() == end) {
                archive = std::move(own);
                return {};
            }
        }
    }
    // Anything else is copied to the start of the spill file.
    const auto fail = [](const QString &what) {
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot keep the archive: ") + what,
                               QStringLiteral("Pages.Load"));
    };
    if (!openSpill())
        return fail(QStringLiteral("cannot create a temporary file"));
    if (!device->seek(start))
        return fail(device->errorString());
    QByteArray block;
    for (qint64 at = start; at < end;) {
        block.resize(qsizetype(qMin<qint64>(end - at, 1 << 20)));
        if (device->read(block.data(), block.size()) != block.size() || spill->write(block) != block.size())
            return fail(spill->errorString());
        at += block.size();
    }
    for (Slot &slot : slots)
        slot.offset -= start;
    return {};
}

Status PageCollection::Private::readArchivePage(int index, Page *page) const
{
    const Slot &slot = slots[size_t(index)];
    const QString where = QStringLiteral("page %1").arg(index + 1);
    const QString source = QStringLiteral("PageCollection");
    QIODevice *device = archiveDevice();
    if (!device || !device->seek(slot.offset))
        return formatError(archiveName, where + QStringLiteral(": cannot read"), source);
    Chunk chunk;
    Status status = readChunk(device, slot.offset + ChunkHeaderSize + slot.size, archiveName, where, &chunk, source);
    if (status.ok() && (chunk.type != ChunkPage || chunk.crc != slot.crc))
        status = formatError(archiveName, where + QStringLiteral(": the file changed since it was loaded"), source);
    QByteArray data;
    if (status.ok())
        status = decodeChunk(chunk, &data, archiveName, where, source);
    if (!status.ok())
        return status;
    PageIO::Reader r(data);
    if (PageIO::readPage(r, page, archiveImages, &archiveFonts, slot.fontCount) && !r.atEnd())
        r.fail(QStringLiteral("unexpected data after the page"));
    if (!r.ok())
        return formatError(archiveName, where + QStringLiteral(": ") + r.error(), source);
    return {};
}

Status PageCollection::Private::copyArchivePage(int index, QIODevice *out) const
{
    const Slot &slot = slots[size_t(index)];
    const QString where = QStringLiteral("page %1").arg(index + 1);
    const QString source = QStringLiteral("Pages.Save");
    const qint64 end = slot.offset + ChunkHeaderSize + slot.size;
    QIODevice *device = archiveDevice();
    if (!device || !device->seek(slot.offset - slot.fontBytes))
        return formatError(archiveName, where + QStringLiteral(": cannot read"), source);
    Chunk chunk;
    while (device->pos() < end) {
        if (Status status = readChunk(device, end, archiveName, where, &chunk, source); !status.ok())
            return status;
        if (!writeAll(out, chunk.header, ChunkHeaderSize) || !writeAll(out, chunk.stored))
            return Status::failure(ErrPathAccess, QStringLiteral("Cannot write the archive: ") + out->errorString(),
                                   source);
    }
    if (chunk.type != ChunkPage || chunk.crc != slot.crc)
        return formatError(archiveName, where + QStringLiteral(": the file changed since it was loaded"), source);
    return {};
}

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
    if (!writeAll(device, header, HeaderSize))
        return fail(device->errorString());

    ChunkWriter chunks(device);
    for (int i = 0; i < imageCount(); ++i) {
        if (!chunks.write(ChunkImage, encodeImage(d->images[size_t(i)]), false))
            return fail(chunks.error());
    }
    // Pages of a loaded archive go across as stored, with their font
    // chunks; pages appended since continue its font table.
    PageIO::FontTable fonts;
    fonts.fonts = d->archiveFonts;
    for (int i = 0; i < d->archivePages; ++i) {
        QMutexLocker lock(&d->mutex);
        if (const Status status = d->copyArchivePage(i, device); !status.ok())
            return status;
    }
    QByteArray bytes;
    for (int i = d->archivePages; i < Count(); ++i) {
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
    // Staged beside the target and renamed over it only when every write,
    // the flush and the close worked: a failed save keeps the old archive.
    StagedFiles staged(QStringLiteral("Pages.Save"), false);
    QFile file;
    Status status = staged.open(path, &file);
    if (!status.ok())
        return status;
    status = saveTo(&file);
    if (!status.ok()) {
        QString why = status.description();
        why.remove(QLatin1String("Cannot write the archive: "));
        return Status::failure(status.number(), QStringLiteral("Cannot write %1: %2").arg(displayName(path), why),
                               status.source());
    }
    status = staged.checkWritten(file, path);
    if (!status.ok())
        return status;
    return staged.commit();
}

Status PageCollection::loadFrom(QIODevice *device, const QString &name)
{
    return loadArchive(device, name, nullptr);
}

// Indexes the archive: every chunk's header and checksum are checked and
// the pictures and fonts decoded, but pages are only located; page() decodes
// them when first asked. file, when given, is the open device itself and
// is kept for those reads.
Status PageCollection::loadArchive(QIODevice *device, const QString &name, std::unique_ptr<QFile> *file)
{
    if (!device || !device->isOpen() || device->isSequential())
        return Status::failure(ErrInvalidCall, QStringLiteral("Archives load from an open file"),
                               QStringLiteral("Pages.Load"));
    const qint64 start = device->pos();
    const qint64 end = device->size();
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
    const qint64 left = end - device->pos();
    if (quint64(pageCount) + imageCount + 1 > quint64(left / ChunkHeaderSize))
        return formatError(name, QStringLiteral("header: %1 pages and %2 images cannot fit in the file")
                                     .arg(pageCount)
                                     .arg(imageCount));

    // Built aside, then taken over whole.
    auto loaded = std::make_unique<Private>();
    loaded->memoryLimit = d->memoryLimit;
    loaded->archiveName = name;
    loaded->archiveImages = int(imageCount);
    Chunk chunk;
    QByteArray data;
    qint64 imageBytes = 0;
    for (quint32 i = 0; i < imageCount; ++i) {
        const QString where = QStringLiteral("image %1").arg(i + 1);
        Status status = readChunk(device, end, name, where, &chunk);
        if (status.ok() && chunk.type != ChunkImage)
            status = formatError(name, where + QStringLiteral(": missing"));
        if (status.ok())
            status = decodeChunk(chunk, &data, name, where);
        if (!status.ok())
            return status;
        QImage image;
        if (!decodeImage(data, &image))
            return formatError(name, where + QStringLiteral(": not a readable image"));
        imageBytes += image.sizeInBytes();
        if (imageBytes > MaxTotalImageBytes)
            return formatError(name, where + QStringLiteral(": the pictures are too large in total"));
        // Stored once each; identical pixels in two chunks still get two
        // indexes, so page references stay valid.
        loaded->images.push_back(image);
        loaded->imageByHash.insert(imageHash(image), int(i));
    }
    std::vector<PageFont> &fonts = loaded->archiveFonts;
    loaded->slots.reserve(pageCount);
    qint64 pageStart = device->pos(); // where the current page's chunks begin
    for (quint32 i = 0; i < pageCount;) {
        const QString where = QStringLiteral("page %1").arg(i + 1);
        const qint64 at = device->pos();
        if (Status status = readChunk(device, end, name, where, &chunk); !status.ok())
            return status;
        if (chunk.type == ChunkFonts) {
            if (Status status = decodeChunk(chunk, &data, name, where); !status.ok())
                return status;
            PageIO::Reader r(data);
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
        if (chunk.type != ChunkPage)
            return formatError(name, where + QStringLiteral(": missing"));
        Private::Slot slot;
        slot.offset = at;
        slot.size = chunk.storedSize;
        slot.fontBytes = at - pageStart;
        slot.fontCount = quint32(fonts.size());
        slot.crc = chunk.crc;
        slot.inArchive = true;
        loaded->slots.push_back(std::move(slot));
        pageStart = device->pos();
        ++i;
    }
    Status status = readChunk(device, end, name, QStringLiteral("end"), &chunk);
    if (status.ok())
        status = decodeChunk(chunk, &data, name, QStringLiteral("end"));
    if (!status.ok())
        return status;
    PageIO::Reader r(data);
    const quint32 endPages = r.u32();
    const quint32 endImages = r.u32();
    const quint32 endFonts = r.u32();
    if (chunk.type != ChunkEnd || !r.ok() || !r.atEnd() || endPages != pageCount || endImages != imageCount
        || endFonts != fonts.size())
        return formatError(name, QStringLiteral("end: missing or inconsistent"));
    if (device->pos() != end)
        return formatError(name, QStringLiteral("end: unexpected data after the end"));

    if (pageCount > 0) {
        status = loaded->keepArchive(device, start, end, file);
        if (!status.ok())
            return status;
    }
    loaded->archivePages = int(pageCount);
    std::swap(d, loaded);
    Q_EMIT cleared();
    for (int i = 0; i < Count(); ++i)
        Q_EMIT pageAdded(i);
    return {};
}

Status PageCollection::Load(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->exists())
        return Status::failure(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path),
                               QStringLiteral("Pages.Load"));
    if (!file->open(QIODevice::ReadOnly))
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot read %1: %2").arg(path, file->errorString()),
                               QStringLiteral("Pages.Load"));
    QFile *device = file.get();
    return loadArchive(device, path, &file);
}

} // namespace Orv
