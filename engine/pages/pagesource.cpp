#include "engine/pages/pagesource.h"

#include "engine/pages/pagecollection.h"

namespace Orv {

CollectionPageSource::CollectionPageSource(PageCollection *pages, QObject *parent) : PageSource(parent), m_pages(pages)
{
    if (!pages)
        return;
    connect(pages, &PageCollection::pageAdded, this, [this](int index) { Q_EMIT pagesAdded(index, 1); });
    connect(pages, &PageCollection::pageChanged, this, [this](int index) { Q_EMIT pagesChanged(index, index); });
    connect(pages, &PageCollection::cleared, this, &PageSource::reset);
}

int CollectionPageSource::count() const
{
    return m_pages ? m_pages->Count() : 0;
}

std::shared_ptr<const Page> CollectionPageSource::page(int index, Status *status) const
{
    if (m_pages)
        return m_pages->page(index, status);
    if (status)
        *status = Status::failure(ErrSubscript, QStringLiteral("There are no pages"), QStringLiteral("PageSource"));
    return nullptr;
}

} // namespace Orv
