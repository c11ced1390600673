#pragma once
// What a viewer reads pages from: a report that is still running or has
// finished, or a finished collection such as an archive. Pages are
// published in order; a published page may be announced again
// (pagesChanged) when values on it become known later, so a reader that
// keeps anything drawn from it makes it again.
#include "engine/core/status.h"
#include "engine/pages/page.h"
#include "engine/pages/pagecollection.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace Orv {

class PageSource : public QObject
{
    Q_OBJECT

public:
    explicit PageSource(QObject *parent = nullptr) : QObject(parent) {}

    // Pages published so far.
    virtual int count() const = 0;
    // True once no page will be added any more.
    virtual bool isFinished() const = 0;
    // The outcome once finished: ok (cancelled included) or the error
    // that stopped it.
    virtual Status status() const = 0;
    // A published page (0-based), or null with the reason.
    virtual std::shared_ptr<const Page> page(int index, Status *status = nullptr) const = 0;
    // The collection the pages live in, with the images they refer to.
    virtual PageCollection *pages() const = 0;
    // Stops making pages as soon as possible; the pages made stay.
    virtual void cancel() = 0;

Q_SIGNALS:
    void pagesAdded(int first, int count);
    void pagesChanged(int first, int last);
    // Every page is gone (a new run started, another archive loaded).
    void reset();
    // No more pages: the end was reached or the run was cancelled.
    void finished();
    // An error stopped the pages; comes instead of finished.
    void failed(const Orv::Status &status);
};

// A collection already made (an archive, or pages put together by hand):
// always finished; its changes are passed on.
class CollectionPageSource : public PageSource
{
    Q_OBJECT

public:
    explicit CollectionPageSource(PageCollection *pages, QObject *parent = nullptr);

    int count() const override;
    bool isFinished() const override { return true; }
    Status status() const override { return {}; }
    std::shared_ptr<const Page> page(int index, Status *status = nullptr) const override;
    PageCollection *pages() const override { return m_pages; }
    void cancel() override {}

private:
    QPointer<PageCollection> m_pages;
};

} // namespace Orv
