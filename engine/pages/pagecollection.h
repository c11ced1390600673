#pragma once
// The pages of a run (the report's and viewer's `Pages`). Pages arrive one
// at a time while a run goes on; readers may ask for any page at any time.
// Only the most recent pages stay in memory: older ones are written to a
// temporary file and read back on demand, so memory stays bounded for any
// page count. Images are stored once and shared by every page using them.
#include "engine/core/status.h"
#include "engine/pages/page.h"

#include <QObject>
#include <memory>

class QFile;
class QIODevice;

namespace Orv {

class PageCollection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Count READ Count)

public:
    explicit PageCollection(QObject *parent = nullptr);
    ~PageCollection() override;

    int Count() const;
    // The page at 0-based index, or null when out of range (or when a
    // spilled or archived page cannot be read back; status says why).
    std::shared_ptr<const Page> page(int index, Status *status = nullptr) const;
    void append(Page page);
    // Puts a new version of a page in place (a run filling in values that
    // became known later) and emits pageChanged. Pages of a loaded archive
    // cannot be replaced (error 5), nor pages out of range (error 9).
    Status replace(int index, Page page);
    void clear();

    // Images are kept by content: adding the same pixels twice gives the
    // same index.
    int addImage(const QImage &image);
    QImage image(int index) const;
    int imageCount() const;

    // Archive files (rdf). Save writes atomically; Load replaces the
    // collection's content only when the file's structure and checksums
    // are valid. Pages are decoded when first read: page() refuses one
    // whose content is malformed (error 321), and the archive stays open
    // until the collection is cleared or loaded again.
    Q_INVOKABLE Orv::Status Save(const QString &path) const;
    Q_INVOKABLE Orv::Status Load(const QString &path);
    // The same on an open, random-access device; name is the file name
    // used in error texts.
    Orv::Status saveTo(QIODevice *device) const;
    Orv::Status loadFrom(QIODevice *device, const QString &name = QString());

    // How many pages stay in memory before older ones go to the spill file.
    void setMemoryPageLimit(int pages);
    int memoryPageLimit() const;
    // Pages currently held in memory (the rest are in the spill file).
    int residentPageCount() const;

Q_SIGNALS:
    void pageAdded(int index);
    void pageChanged(int index);
    void cleared();

private:
    Orv::Status loadArchive(QIODevice *device, const QString &name, std::unique_ptr<QFile> *file);

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Orv
