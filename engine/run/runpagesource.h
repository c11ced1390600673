#pragma once
// A report run as a viewer's page source. It belongs to the run (made its
// child) and goes with it. Pages the run holds back until values on them
// are known reach the source only then, unless the run publishes them
// early (ReportRun::setProvisionalPages), in which case they are announced
// again with pagesChanged when final.
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagesource.h"
#include "engine/run/reportrun.h"

#include <QPointer>

namespace Orv {

class RunPageSource : public PageSource
{
    Q_OBJECT

public:
    explicit RunPageSource(ReportRun *run);

    ReportRun *run() const { return m_run; }

    int count() const override;
    bool isFinished() const override;
    Status status() const override;
    std::shared_ptr<const Page> page(int index, Status *status = nullptr) const override;
    PageCollection *pages() const override;
    // Cancels the run and ends it at once rather than at its next step.
    void cancel() override;

private:
    void follow(PageCollection *pages);

    QPointer<ReportRun> m_run;
    QPointer<PageCollection> m_followed;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace Orv
