#include "dialogs/common/dialogbanner.h"

#include <QLabel>
#include <QVBoxLayout>

namespace Orv {

DialogBanner::DialogBanner(const QString &title, const QString &subtitle, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("picBanner"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(2);
    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_title->setFont(bold);
    m_subtitle = new QLabel(subtitle, this);
    m_subtitle->setObjectName(QStringLiteral("lblSubtitle"));
    m_subtitle->setIndent(16);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
}

} // namespace Orv
