// Feeds arbitrary bytes to the archive loader. Whatever loads must save and
// load back to the same pages, every page read or refused as an invalid
// file format; whatever does not load must be refused as an invalid file
// format, leaving the collection empty.
//
// Checksums and compression would stop most mutations at the first chunk,
// so the first input byte picks a mode: even, the rest of the input is the
// archive as is; odd, it is an archive in "open form", whose chunk payloads
// are plain data and whose checksums need not be right: the harness
// compresses the payloads of chunks marked compressed and fixes every size
// and checksum, so mutations reach the page decoder.
//
// With ORV_FUZZ_WRITE_SEEDS=<folder> in the environment the program writes
// seed archives of both modes there and exits.

#include "engine/pages/pagecollection.h"
#include "tests/pages/pagesamples.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtEndian>

#include <cstdlib>
#include <zlib.h>

namespace {

constexpr int HeaderSize = 28;
constexpr int ChunkHeaderSize = 16;

void putU32(QByteArray &b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

quint32 crcOf(const char *data, qsizetype size, quint32 start)
{
    return quint32(crc32(start, reinterpret_cast<const Bytef *>(data), uInt(size)));
}

// Open form to archive: compress marked payloads, fix sizes and checksums.
QByteArray repaired(const QByteArray &open)
{
    if (open.size() < HeaderSize)
        return open;
    QByteArray out = open.left(HeaderSize);
    putU32(out, 24, crcOf(out.constData(), 24, 0));
    qsizetype pos = HeaderSize;
    while (pos + ChunkHeaderSize <= open.size()) {
        QByteArray header = open.mid(pos, ChunkHeaderSize);
        const qsizetype declared = qFromLittleEndian<quint32>(header.constData() + 4);
        pos += ChunkHeaderSize;
        const QByteArray data = open.mid(pos, qMin(declared, open.size() - pos));
        pos += data.size();
        QByteArray stored = data;
        if (header[1] == 1) {
            uLongf size = compressBound(uLong(data.size()));
            stored.resize(qsizetype(size));
            compress2(reinterpret_cast<Bytef *>(stored.data()), &size, reinterpret_cast<const Bytef *>(data.constData()),
                      uLong(data.size()), 1);
            stored.resize(qsizetype(size));
        }
        putU32(header, 4, quint32(stored.size()));
        putU32(header, 8, quint32(data.size()));
        putU32(header, 12, crcOf(stored.constData(), stored.size(), crcOf(header.constData(), 12, 0)));
        out += header + stored;
    }
    return out + open.mid(pos);
}

// Archive to open form: payloads uncompressed, marks kept.
QByteArray opened(const QByteArray &archive)
{
    QByteArray out = archive.left(HeaderSize);
    qsizetype pos = HeaderSize;
    while (pos + ChunkHeaderSize <= archive.size()) {
        QByteArray header = archive.mid(pos, ChunkHeaderSize);
        const quint32 storedSize = qFromLittleEndian<quint32>(header.constData() + 4);
        const quint32 dataSize = qFromLittleEndian<quint32>(header.constData() + 8);
        QByteArray data = archive.mid(pos + ChunkHeaderSize, storedSize);
        pos += ChunkHeaderSize + storedSize;
        if (header[1] == 1) {
            QByteArray plain(dataSize, '\0');
            uLongf size = dataSize;
            uncompress(reinterpret_cast<Bytef *>(plain.data()), &size, reinterpret_cast<const Bytef *>(data.constData()),
                       uLong(data.size()));
            data = plain;
        }
        putU32(header, 4, quint32(data.size()));
        out += header + data;
    }
    return out;
}

void writeSeeds(const QString &folder)
{
    QDir().mkpath(folder);
    for (int pages = 1; pages <= 3; pages += 2) {
        Orv::PageCollection collection;
        for (int i = 0; i < pages; ++i)
            collection.append(PageSamples::page(i, collection));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!collection.saveTo(&buffer).ok())
            std::abort();
        const QByteArray archive = buffer.data();
        for (const auto &[mode, bytes] : {std::pair{'\0', archive}, std::pair{'\1', opened(archive)}}) {
            QFile file(QStringLiteral("%1/seed-%2-%3.bin").arg(folder).arg(pages).arg(int(mode)));
            if (!file.open(QIODevice::WriteOnly))
                std::abort();
            file.write(QByteArray(1, mode) + bytes);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QGuiApplication app(*argc, *argv); // fonts for the seed pages
    const QByteArray seeds = qgetenv("ORV_FUZZ_WRITE_SEEDS");
    if (!seeds.isEmpty()) {
        writeSeeds(QString::fromLocal8Bit(seeds));
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    if (data[0] & 1)
        bytes = repaired(bytes);

    QBuffer input;
    input.setData(bytes);
    input.open(QIODevice::ReadOnly);
    Orv::PageCollection pages;
    const Orv::Status status = pages.loadFrom(&input, QStringLiteral("fuzz.rdf"));
    if (!status.ok()) {
        if (status.number() != Orv::ErrBadFileFormat || pages.Count() != 0)
            std::abort();
        return 0;
    }
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    if (!pages.saveTo(&output).ok())
        std::abort();
    QBuffer again;
    again.setData(output.data());
    again.open(QIODevice::ReadOnly);
    Orv::PageCollection reloaded;
    if (!reloaded.loadFrom(&again).ok() || reloaded.Count() != pages.Count()
        || reloaded.imageCount() != pages.imageCount())
        std::abort();
    // Pages are decoded when first read: each either reads, the same after
    // the round trip, or is refused the same way both times.
    for (int i = 0; i < pages.Count(); ++i) {
        Orv::Status first;
        Orv::Status second;
        const auto page = pages.page(i, &first);
        const auto again = reloaded.page(i, &second);
        if (!page) {
            if (again || first.number() != Orv::ErrBadFileFormat || second.number() != Orv::ErrBadFileFormat)
                std::abort();
        } else if (!again || !(*again == *page)) {
            std::abort();
        }
    }
    return 0;
}
