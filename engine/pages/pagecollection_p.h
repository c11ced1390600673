#pragma once
// Inside of PageCollection, shared by the collection and the archive code.
#include "engine/pages/pagecollection.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QTemporaryFile>
#include <limits>
#include <deque>
#include <list>

namespace Orv {

struct PageCollection::Private
{
    struct Slot
    {
        std::shared_ptr<const Page> page; // null once spilled or while still in the archive
        qint64 offset = -1;               // in the spill file, or of the page chunk in the archive
        qint64 size = 0;                  // bytes in the spill file, or the chunk's stored bytes
        // Pages of a loaded archive, decoded when first read:
        qint64 fontBytes = 0;   // font chunks right before the page chunk
        quint32 fontCount = 0;  // fonts of the table the page may use
        quint32 crc = 0;        // the page chunk's checksum, as checked at load
        bool inArchive = false;
    };

    std::vector<Slot> slots;
    std::deque<int> resident; // pages held in memory, oldest first
    int memoryLimit = 64;

    // Spill file and a few recently read-back pages. Reads are const but
    // move the file position and the cache, hence the lock.
    mutable QMutex mutex;
    mutable std::unique_ptr<QTemporaryFile> spill;
    mutable std::list<std::pair<int, std::shared_ptr<const Page>>> cache; // most recent first
    static constexpr size_t CacheSize = 8;

    // A loaded archive whose pages are read on demand: the first
    // archivePages slots. It is read through a private handle on the file,
    // or, when it came from a device that is not a file, from a copy at the
    // start of the spill file. Reads go under the mutex.
    mutable std::unique_ptr<QFile> archive;
    QString archiveName; // for error texts
    std::vector<PageFont> archiveFonts;
    int archivePages = 0;
    int archiveImages = 0; // pictures the archive's pages may refer to

    std::vector<QImage> images;
    QHash<QByteArray, int> imageByHash;

    bool openSpill() const;
    void spillOldest();
    std::shared_ptr<const Page> readBack(int index, Status *status) const;
    QIODevice *archiveDevice() const { return archive ? static_cast<QIODevice *>(archive.get()) : spill.get(); }
    // Keeps the indexed archive readable: takes file over when given,
    // else opens the device's file again or copies [start, end) of it.
    Status keepArchive(QIODevice *device, qint64 start, qint64 end, std::unique_ptr<QFile> *file);
    // Decodes an archive page (mutex held).
    Status readArchivePage(int index, Page *page) const;
    // Copies an archive page's chunks, fonts first, to device (mutex held).
    Status copyArchivePage(int index, QIODevice *device) const;
};

// A content hash of an image's pixels, size and format.
QByteArray imageHash(const QImage &image);

} // namespace Orv
