#include "engine/pages/pagecollection_p.h"

#include "engine/pages/pageio.h"

#include <QCryptographicHash>
#include <QDir>
#include <QtEndian>

namespace Orv {

QByteArray imageHash(const QImage &image)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const qint32 header[3] = {qToLittleEndian(qint32(image.width())), qToLittleEndian(qint32(image.height())),
                              qToLittleEndian(qint32(image.format()))};
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(header), sizeof header));
    // Only the pixels of each scan line count, not the padding after them.
    const qsizetype lineBytes = (qsizetype(image.width()) * image.depth() + 7) / 8;
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(image.constScanLine(y)), lineBytes));
    for (QRgb c : image.colorTable()) {
        const quint32 le = qToLittleEndian(quint32(c));
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(&le), 4));
    }
    return hash.result();
}

bool PageCollection::Private::openSpill() const
{
    if (spill)
        return true;
    spill = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/orvpages-XXXXXX.spill"));
    if (spill->open())
        return true;
    qWarning("PageCollection: cannot create a spill file: %s", qPrintable(spill->errorString()));
    spill.reset();
    return false;
}

void PageCollection::Private::spillOldest()
{
    const int index = resident.front();
    Slot &slot = slots[size_t(index)];
    QMutexLocker lock(&mutex);
    if (!openSpill()) {
        // Without a spill file the pages simply stay in memory.
        memoryLimit = std::numeric_limits<int>::max();
        return;
    }
    const QByteArray bytes = PageIO::pageBytes(*slot.page);
    const qint64 offset = spill->size();
    if (!spill->seek(offset) || spill->write(bytes) != bytes.size()) {
        qWarning("PageCollection: cannot write the spill file: %s", qPrintable(spill->errorString()));
        memoryLimit = std::numeric_limits<int>::max();
        return;
    }
    slot.offset = offset;
    slot.size = bytes.size();
    slot.page.reset();
    resident.pop_front();
}

std::shared_ptr<const Page> PageCollection::Private::readBack(int index, Status *status) const
{
    QMutexLocker lock(&mutex);
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->first == index) {
            cache.splice(cache.begin(), cache, it);
            return cache.front().second;
        }
    }
    const Slot &slot = slots[size_t(index)];
    auto page = std::make_shared<Page>();
    Status read;
    if (slot.inArchive) {
        read = readArchivePage(index, page.get());
    } else {
        QByteArray bytes;
        if (spill && spill->seek(slot.offset))
            bytes = spill->read(slot.size);
        QString error;
        if (bytes.size() != slot.size)
            error = QStringLiteral("cannot read the spill file");
        else if (!PageIO::pageFromBytes(bytes, page.get(), int(images.size()), &error))
            error = QStringLiteral("spill file damaged: ") + error;
        if (!error.isEmpty())
            read = Status::failure(ErrPathAccess, QStringLiteral("page %1: %2").arg(index + 1).arg(error),
                                   QStringLiteral("PageCollection"));
    }
    if (!read.ok()) {
        if (status)
            *status = read;
        return nullptr;
    }
    cache.emplace_front(index, page);
    if (cache.size() > CacheSize)
        cache.pop_back();
    return page;
}

PageCollection::PageCollection(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

PageCollection::~PageCollection() = default;

int PageCollection::Count() const
{
    return int(d->slots.size());
}

std::shared_ptr<const Page> PageCollection::page(int index, Status *status) const
{
    if (index < 0 || index >= Count()) {
        if (status)
            *status = Status::failure(ErrSubscript,
                                      QStringLiteral("page index %1 out of range (%2 pages)").arg(index).arg(Count()),
                                      QStringLiteral("PageCollection"));
        return nullptr;
    }
    if (status)
        *status = Status();
    const Private::Slot &slot = d->slots[size_t(index)];
    if (slot.page)
        return slot.page;
    return d->readBack(index, status);
}

void PageCollection::append(Page page)
{
    const int index = Count();
    d->slots.push_back({std::make_shared<const Page>(std::move(page)), -1, 0});
    d->resident.push_back(index);
    while (int(d->resident.size()) > d->memoryLimit)
        d->spillOldest();
    Q_EMIT pageAdded(index);
}

Status PageCollection::replace(int index, Page page)
{
    const QString source = QStringLiteral("PageCollection");
    if (index < 0 || index >= Count())
        return Status::failure(ErrSubscript,
                               QStringLiteral("page index %1 out of range (%2 pages)").arg(index).arg(Count()), source);
    Private::Slot &slot = d->slots[size_t(index)];
    if (slot.inArchive)
        return Status::failure(ErrInvalidCall, QStringLiteral("page %1 belongs to a loaded archive").arg(index + 1),
                               source);
    {
        QMutexLocker lock(&d->mutex);
        d->cache.remove_if([index](const auto &entry) { return entry.first == index; });
    }
    const bool wasResident = bool(slot.page);
    // A spilled page's old bytes stay in the spill file, unused.
    slot.page = std::make_shared<const Page>(std::move(page));
    slot.offset = -1;
    slot.size = 0;
    if (!wasResident) {
        d->resident.push_back(index);
        while (int(d->resident.size()) > d->memoryLimit)
            d->spillOldest();
    }
    Q_EMIT pageChanged(index);
    return {};
}

void PageCollection::clear()
{
    const int limit = d->memoryLimit;
    d = std::make_unique<Private>();
    d->memoryLimit = limit;
    Q_EMIT cleared();
}

int PageCollection::addImage(const QImage &image)
{
    const QByteArray hash = imageHash(image);
    const auto found = d->imageByHash.constFind(hash);
    if (found != d->imageByHash.cend())
        return *found;
    const int index = int(d->images.size());
    d->images.push_back(image);
    d->imageByHash.insert(hash, index);
    return index;
}

QImage PageCollection::image(int index) const
{
    if (index < 0 || index >= imageCount())
        return QImage();
    return d->images[size_t(index)];
}

int PageCollection::imageCount() const
{
    return int(d->images.size());
}

void PageCollection::setMemoryPageLimit(int pages)
{
    d->memoryLimit = qMax(1, pages);
    while (int(d->resident.size()) > d->memoryLimit)
        d->spillOldest();
}

int PageCollection::memoryPageLimit() const
{
    return d->memoryLimit;
}

int PageCollection::residentPageCount() const
{
    return int(d->resident.size());
}

} // namespace Orv
