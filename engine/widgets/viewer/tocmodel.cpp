#include "engine/widgets/viewer/tocmodel.h"

#include "engine/pages/pagecollection.h"

#include <QElapsedTimer>

#include <algorithm>

namespace Orv {

TocModel::TocModel(QObject *parent) : QAbstractItemModel(parent) {}

TocModel::~TocModel() = default;

void TocModel::setPages(const PageCollection *pages)
{
    beginResetModel();
    m_pages = pages;
    m_count = pages ? pages->Count() : 0;
    m_scanned = 0;
    m_roots.clear();
    m_open.clear();
    m_order.clear();
    endResetModel();
}

void TocModel::setPageCount(int count)
{
    if (count <= m_count)
        return;
    if (hasBookmarks()) {
        m_count = count;
        return;
    }
    // The page list grows with the document.
    beginInsertRows(QModelIndex(), m_count, count - 1);
    m_count = count;
    endInsertRows();
}

bool TocModel::scanned() const
{
    return !m_pages || m_scanned >= m_pages->Count();
}

bool TocModel::scan(int budgetMs)
{
    if (!m_pages)
        return true;
    QElapsedTimer clock;
    clock.start();
    setPageCount(m_pages->Count());
    while (m_scanned < m_pages->Count()) {
        const int index = m_scanned++;
        if (const std::shared_ptr<const Page> page = m_pages->page(index))
            for (const Page::Bookmark &b : page->bookmarks)
                add(index, b.level, b.text, b.top);
        if (clock.elapsed() >= budgetMs)
            break;
    }
    return scanned();
}

void TocModel::add(int page, int level, const QString &text, double top)
{
    if (m_roots.empty()) {
        // The first bookmark: the page list gives way to the bookmarks.
        beginResetModel();
        auto node = std::make_unique<Node>();
        node->text = text;
        node->page = page;
        node->top = top;
        node->level = level;
        m_open.assign(1, node.get());
        m_order.push_back(node.get());
        m_roots.push_back(std::move(node));
        endResetModel();
        return;
    }
    // Under the nearest open entry of a lower level.
    while (!m_open.empty() && m_open.back()->level >= level)
        m_open.pop_back();
    Node *parent = m_open.empty() ? nullptr : m_open.back();
    auto &siblings = parent ? parent->children : m_roots;
    auto node = std::make_unique<Node>();
    node->text = text;
    node->page = page;
    node->top = top;
    node->level = level;
    node->parent = parent;
    node->row = int(siblings.size());
    beginInsertRows(indexOf(parent), node->row, node->row);
    m_open.push_back(node.get());
    m_order.push_back(node.get());
    siblings.push_back(std::move(node));
    endInsertRows();
}

int TocModel::pageOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return -1;
    if (!hasBookmarks())
        return index.row();
    return static_cast<const Node *>(index.internalPointer())->page;
}

double TocModel::topOf(const QModelIndex &index) const
{
    if (!index.isValid() || !hasBookmarks())
        return -1;
    return static_cast<const Node *>(index.internalPointer())->top;
}

QModelIndex TocModel::entryFor(int page) const
{
    if (!hasBookmarks())
        return page >= 0 && page < m_count ? index(page, 0) : QModelIndex();
    // Entries are in page order: the last that starts on or before the page.
    const auto after = std::upper_bound(m_order.begin(), m_order.end(), page,
                                        [](int p, const Node *n) { return p < n->page; });
    if (after == m_order.begin())
        return QModelIndex();
    return indexOf(*std::prev(after));
}

QModelIndex TocModel::indexOf(const Node *node) const
{
    return node ? createIndex(node->row, 0, const_cast<Node *>(node)) : QModelIndex();
}

QModelIndex TocModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    if (!hasBookmarks())
        return !parent.isValid() && row < m_count ? createIndex(row, 0, nullptr) : QModelIndex();
    const auto &siblings = parent.isValid() ? static_cast<const Node *>(parent.internalPointer())->children : m_roots;
    return size_t(row) < siblings.size() ? indexOf(siblings[size_t(row)].get()) : QModelIndex();
}

QModelIndex TocModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || !hasBookmarks())
        return QModelIndex();
    return indexOf(static_cast<const Node *>(child.internalPointer())->parent);
}

int TocModel::rowCount(const QModelIndex &parent) const
{
    if (!hasBookmarks())
        return parent.isValid() ? 0 : m_count;
    if (!parent.isValid())
        return int(m_roots.size());
    return int(static_cast<const Node *>(parent.internalPointer())->children.size());
}

int TocModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant TocModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int page = pageOf(index);
    switch (role) {
    case Qt::DisplayRole:
        if (!hasBookmarks())
            return tr("第 %1 页").arg(page + 1);
        return static_cast<const Node *>(index.internalPointer())->text;
    case Qt::ToolTipRole:
        return tr("第 %1 页").arg(page + 1);
    default:
        return {};
    }
}

} // namespace Orv
