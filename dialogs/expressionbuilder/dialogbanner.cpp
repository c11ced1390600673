#include "dialogs/expressionbuilder/dialogbanner.h"

#include <QLabel>
#include <QVBoxLayout>

namespace Orv {

DialogBanner::DialogBanner(const QString &title, const QString &subtitle, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("banner"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(2);
    auto *titleLabel = new QLabel(title, this);
    titleLabel->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    auto *subtitleLabel = new QLabel(subtitle, this);
    subtitleLabel->setObjectName(QStringLiteral("lblSubtitle"));
    subtitleLabel->setIndent(16);
    layout->addWidget(titleLabel);
    layout->addWidget(subtitleLabel);
}

} // namespace Orv
