#include "dialogs/common/topicpages.h"

#include "dialogs/common/dialogbanner.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Orv {

namespace {
constexpr int PageRole = Qt::UserRole;
constexpr int KeyRole = Qt::UserRole + 1;
} // namespace

TopicDialog::TopicDialog(QWidget *parent) : QDialog(parent)
{
    auto *banner = new DialogBanner(QString(), QString(), this);
    m_title = banner->title();
    m_subtitle = banner->subtitle();

    m_tv = new QTreeWidget(this);
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setHeaderHidden(true);
    m_tv->setRootIsDecorated(true);
    m_tv->setFixedWidth(150);
    connect(m_tv, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { topicChanged(item); });
    // Group topics stay open.
    connect(m_tv, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem *item) { item->setExpanded(true); });

    m_pages = new QStackedWidget(this);
    m_blank = new QWidget(m_pages);
    m_pages->addWidget(m_blank);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(tr("确定[&O]"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = buttons->addButton(tr("取消[&C]"), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_tv);
    middle->addWidget(m_pages, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(banner);
    layout->addWidget(rule);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 4, 10, 0);
    body->addLayout(middle, 1);
    body->addWidget(buttons);
    layout->addLayout(body, 1);
}

void TopicDialog::setBanner(const QString &title, const QString &subtitle)
{
    m_title->setText(title);
    m_subtitle->setText(subtitle);
}

QVBoxLayout *TopicDialog::addPage(const QString &title)
{
    auto *page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("picPage%1").arg(m_pages->count() - 1));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 0, 0, 0);
    auto *heading = new QLabel(title, page);
    heading->setObjectName(QStringLiteral("lblPageTitle"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAutoFillBackground(true);
    QPalette pal = heading->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Dark));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::BrightText));
    heading->setPalette(pal);
    heading->setMinimumHeight(22);
    layout->addWidget(heading);
    m_pages->addWidget(page);
    return layout;
}

QWidget *TopicDialog::page(int index) const
{
    return index >= 0 && index + 1 < m_pages->count() ? m_pages->widget(index + 1) : nullptr;
}

QTreeWidgetItem *TopicDialog::addTopic(const QString &key, const QString &caption, QTreeWidgetItem *parent, int page,
                                       bool group)
{
    auto *item = parent ? new QTreeWidgetItem(parent, {caption}) : new QTreeWidgetItem(m_tv, {caption});
    item->setData(0, PageRole, page);
    item->setData(0, KeyRole, key);
    if (group) {
        QFont bold = item->font(0);
        bold.setBold(true);
        item->setFont(0, bold);
    }
    if (parent)
        parent->setExpanded(true);
    return item;
}

QTreeWidgetItem *TopicDialog::topic(const QString &key) const
{
    for (QTreeWidgetItemIterator it(m_tv); *it; ++it) {
        if ((*it)->data(0, KeyRole).toString() == key)
            return *it;
    }
    return nullptr;
}

QString TopicDialog::keyOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, KeyRole).toString() : QString();
}

void TopicDialog::selectTopic(const QString &key)
{
    if (QTreeWidgetItem *item = topic(key))
        m_tv->setCurrentItem(item);
}

void TopicDialog::topicChanged(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const int index = item->data(0, PageRole).toInt();
    if (index < 0 || index == m_current || !page(index))
        return;
    m_current = index;
    m_pages->setCurrentIndex(index + 1);
}

} // namespace Orv
