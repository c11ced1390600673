#include "shell/window/coolbar.h"

#include <QEvent>
#include <QResizeEvent>
#include <QToolBar>

#include <algorithm>

namespace Orv {

Coolbar::Coolbar(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void Coolbar::addBand(QToolBar *band)
{
    band->setParent(this);
    band->setMovable(false);
    band->setFloatable(false);
    band->installEventFilter(this);
    m_bands.append(band);
    relayout();
}

QToolBar *Coolbar::band(const QString &name) const
{
    for (QToolBar *b : m_bands) {
        if (b->objectName() == name)
            return b;
    }
    return nullptr;
}

void Coolbar::setBandVisible(const QString &name, bool visible)
{
    if (QToolBar *b = band(name)) {
        b->setVisible(visible);
        relayout();
    }
}

bool Coolbar::isBandVisible(const QString &name) const
{
    const QToolBar *b = band(name);
    return b && !b->isHidden();
}

// Rows of bands, each band at its preferred width (narrowed to the row
// when it alone is wider).
int Coolbar::arrange(int width, bool apply) const
{
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    for (QToolBar *b : m_bands) {
        if (b->isHidden())
            continue;
        const QSize hint = b->sizeHint();
        if (x > 0 && x + hint.width() > width) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        const int w = std::min(hint.width(), std::max(width - x, 1));
        if (apply)
            b->setGeometry(x, y, w, hint.height());
        x += w;
        rowHeight = std::max(rowHeight, hint.height());
    }
    return y + rowHeight;
}

int Coolbar::heightFor(int width) const
{
    return arrange(width, false);
}

QSize Coolbar::sizeHint() const
{
    return {400, heightFor(width() > 0 ? width() : 400)};
}

void Coolbar::relayout()
{
    const int h = arrange(width(), true);
    if (h != m_lastHeight) {
        m_lastHeight = h;
        Q_EMIT heightChanged(h);
    }
}

void Coolbar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

bool Coolbar::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest)
        relayout();
    return QWidget::event(event);
}

// A band that gains or loses buttons changes its width.
bool Coolbar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show || event->type() == QEvent::Hide)
        relayout();
    return QWidget::eventFilter(watched, event);
}

} // namespace Orv
