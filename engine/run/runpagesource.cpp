#include "engine/run/runpagesource.h"

#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"

namespace Orv {

RunPageSource::RunPageSource(ReportRun *run) : PageSource(run), m_run(run)
{
    if (!run)
        return;
    follow(run->Pages());
    // The run may have been given another collection since.
    connect(run, &ReportRun::ReportStart, this, [this] {
        if (m_run && m_run->Pages() != m_followed)
            follow(m_run->Pages());
    });
    connect(run, &ReportRun::finished, this, [this](const Status &outcome) {
        if (outcome.ok())
            Q_EMIT finished();
        else
            Q_EMIT failed(outcome);
    });
}

void RunPageSource::follow(PageCollection *pages)
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    const bool changed = m_followed && m_followed != pages;
    m_followed = pages;
    if (pages) {
        m_connections << connect(pages, &PageCollection::pageAdded, this, [this](int i) { Q_EMIT pagesAdded(i, 1); });
        m_connections << connect(pages, &PageCollection::pageChanged, this,
                                 [this](int i) { Q_EMIT pagesChanged(i, i); });
        m_connections << connect(pages, &PageCollection::cleared, this, &PageSource::reset);
    }
    if (changed)
        Q_EMIT reset();
}

int RunPageSource::count() const
{
    return m_followed ? m_followed->Count() : 0;
}

bool RunPageSource::isFinished() const
{
    return !m_run || m_run->isFinished();
}

Status RunPageSource::status() const
{
    return m_run ? m_run->status() : Status();
}

std::shared_ptr<const Page> RunPageSource::page(int index, Status *status) const
{
    if (m_followed)
        return m_followed->page(index, status);
    if (status)
        *status = Status::failure(ErrSubscript, QStringLiteral("The run has no pages"), QStringLiteral("PageSource"));
    return nullptr;
}

PageCollection *RunPageSource::pages() const
{
    return m_followed;
}

void RunPageSource::cancel()
{
    if (!m_run)
        return;
    m_run->Cancel();
    if (m_run->isRunning())
        m_run->step();
}

} // namespace Orv
