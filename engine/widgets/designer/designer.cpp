#include "engine/widgets/designer/designer.h"

#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designview.h"

#include <QPixmapCache>
#include <QVBoxLayout>

namespace Orv {

Designer::Designer(QWidget *parent)
    : QWidget(parent)
    , m_core(new DesignerCore(this))
    , m_view(new DesignView(m_core, this))
{
    setObjectName(QStringLiteral("dsg"));
    // Every control keeps its picture in the pixmap cache; thousands of
    // them need more room than Qt's default.
    if (QPixmapCache::cacheLimit() < 64 * 1024)
        QPixmapCache::setCacheLimit(64 * 1024);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    connect(m_core, &DesignerCore::dirtyChanged, this, &Designer::dirtyChanged);
    connect(m_core, &DesignerCore::actionStateChanged, this, &Designer::actionStateChanged);
    connect(m_core, &DesignerCore::selectionChanged, this, &Designer::selectionChanged);
    connect(m_core, &DesignerCore::objectAdded, this, &Designer::objectAdded);
    connect(m_view, &DesignView::contextMenuRequested, this, &Designer::contextMenuRequested);
}

Designer::~Designer()
{
    // Nothing is passed on while the parts go; the view goes first, as it
    // refers to the core.
    disconnect(m_core, nullptr, this, nullptr);
    disconnect(m_view, nullptr, this, nullptr);
    delete m_view;
    m_core->setPrompts(nullptr);
}

Report *Designer::DesignedReport() const { return m_core->DesignedReport(); }
void Designer::NewLayout()
{
    m_view->endTextEdit(false);
    m_core->NewLayout();
}
bool Designer::IsDirty() const { return m_core->IsDirty(); }
void Designer::setIsDirty(bool dirty) { m_core->setIsDirty(dirty); }
bool Designer::ExecuteAction(DesignerAction::Code code) { return m_core->ExecuteAction(code); }
int Designer::QueryActionState(DesignerAction::Code code) const { return m_core->QueryActionState(code); }
bool Designer::ExecuteAction(int code) { return DesignerAction::isCode(code) && ExecuteAction(DesignerAction::Code(code)); }
int Designer::QueryActionState(int code) const { return DesignerAction::isCode(code) ? QueryActionState(DesignerAction::Code(code)) : 0; }
QString Designer::InsertControlType() const { return m_core->InsertControlType(); }
void Designer::setInsertControlType(const QString &typeId) { m_core->setInsertControlType(typeId); }
DesignerSelection *Designer::Selection() const { return m_core->Selection(); }
bool Designer::ShowGrid() const { return m_core->ShowGrid(); }
void Designer::setShowGrid(bool show) { m_core->setShowGrid(show); }
void Designer::CopyLayoutTo(Report *target) const { m_core->CopyLayoutTo(target); }
QUndoStack *Designer::undoStack() const { return m_core->undoStack(); }
void Designer::setPrompts(DesignerPrompts *prompts) { m_core->setPrompts(prompts); }
DesignerPrompts *Designer::prompts() const { return m_core->prompts(); }
double Designer::zoom() const { return m_view->zoom(); }
void Designer::setZoom(double zoom) { m_view->setZoom(zoom); }

Status Designer::loadLayout(const QString &path)
{
    m_view->endTextEdit(false);
    return m_core->loadLayout(path);
}

} // namespace Orv
