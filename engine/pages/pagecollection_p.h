#pragma once
// Inside of PageCollection, shared by the collection and the archive code.
#include "engine/pages/pagecollection.h"

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
        std::shared_ptr<const Page> page; // null once spilled
        qint64 offset = -1;               // in the spill file
        qint64 size = 0;
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

    std::vector<QImage> images;
    QHash<QByteArray, int> imageByHash;

    void spillOldest();
    std::shared_ptr<const Page> readBack(int index, Status *status) const;
};

// A content hash of an image's pixels, size and format.
QByteArray imageHash(const QImage &image);

} // namespace Orv
