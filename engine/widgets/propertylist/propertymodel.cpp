#include "engine/widgets/propertylist/propertymodel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QRegularExpression>

#include <algorithm>

namespace Orv {

namespace {

// Category keys stay English (classes name them in Q_CLASSINFO); the list
// shows them in the user's language.
QString categoryTitle(const QString &category)
{
    using namespace PropertyCategories;
    if (category == Appearance)
        return PropertyModel::tr("外观");
    if (category == Behaviour)
        return PropertyModel::tr("行为");
    if (category == Data)
        return PropertyModel::tr("数据");
    if (category == Layout)
        return PropertyModel::tr("布局");
    if (category == Misc)
        return PropertyModel::tr("其他");
    return category;
}

} // namespace

struct PropertyModel::Row
{
    Row *parent = nullptr;
    int row = 0;
    QString category;                   // category rows only
    const PropertyNode *node = nullptr; // property rows only
    std::vector<std::unique_ptr<Row>> children;

    Row *add(std::unique_ptr<Row> child)
    {
        child->parent = this;
        child->row = int(children.size());
        children.push_back(std::move(child));
        return children.back().get();
    }
};

PropertyModel::PropertyModel(PropertySet *set, QObject *parent)
    : QAbstractItemModel(parent)
    , m_set(set)
    , m_root(std::make_unique<Row>())
{
    connect(set, &PropertySet::aboutToRebuild, this, [this] { beginResetModel(); });
    connect(set, &PropertySet::rebuilt, this, [this] {
        rebuildRows();
        endResetModel();
    });
    connect(set, &PropertySet::valuesChanged, this, &PropertyModel::valuesChanged);
    rebuildRows();
}

PropertyModel::~PropertyModel() = default;

void PropertyModel::setAlphabetic(bool alphabetic)
{
    if (m_alphabetic == alphabetic)
        return;
    beginResetModel();
    m_alphabetic = alphabetic;
    rebuildRows();
    endResetModel();
}

void PropertyModel::setUnit(LengthUnit unit)
{
    if (m_set->unit() == unit)
        return;
    m_set->setUnit(unit);
    valuesChanged();
}

void PropertyModel::rebuildRows()
{
    m_root = std::make_unique<Row>();
    const auto &nodes = m_set->nodes();
    if (m_alphabetic) {
        addRows(m_root.get(), nodes);
        return;
    }
    // Categories in their usual order; any a class names itself follow.
    QStringList categories = PropertyCategories::all();
    for (const auto &n : nodes) {
        if (!categories.contains(n->info.category))
            categories.append(n->info.category);
    }
    for (const QString &category : categories) {
        auto row = std::make_unique<Row>();
        row->category = category;
        Row *added = nullptr;
        for (const auto &n : nodes) {
            if (n->info.category != category)
                continue;
            if (!added)
                added = m_root->add(std::move(row));
            auto child = std::make_unique<Row>();
            child->node = n.get();
            addRows(added->add(std::move(child)), n->children);
        }
    }
}

void PropertyModel::addRows(Row *parent, const std::vector<std::unique_ptr<PropertyNode>> &nodes)
{
    std::vector<const PropertyNode *> order;
    for (const auto &n : nodes)
        order.push_back(n.get());
    if (m_alphabetic) {
        std::stable_sort(order.begin(), order.end(), [](const PropertyNode *a, const PropertyNode *b) {
            return a->info.name.compare(b->info.name, Qt::CaseInsensitive) < 0;
        });
    }
    for (const PropertyNode *n : order) {
        auto row = std::make_unique<Row>();
        row->node = n;
        addRows(parent->add(std::move(row)), n->children);
    }
}

void PropertyModel::valuesChanged()
{
    announceValues(QModelIndex());
}

void PropertyModel::announceValues(const QModelIndex &parent)
{
    const int rows = rowCount(parent);
    if (rows == 0)
        return;
    Q_EMIT dataChanged(index(0, NameColumn, parent), index(rows - 1, ValueColumn, parent));
    for (int r = 0; r < rows; ++r)
        announceValues(index(r, NameColumn, parent));
}

PropertyModel::Row *PropertyModel::rowAt(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Row *>(index.internalPointer()) : m_root.get();
}

const PropertyNode *PropertyModel::nodeAt(const QModelIndex &index) const
{
    return index.isValid() ? rowAt(index)->node : nullptr;
}

QModelIndex PropertyModel::indexOf(const QString &path, int column) const
{
    std::vector<const Row *> pending{m_root.get()};
    while (!pending.empty()) {
        const Row *r = pending.back();
        pending.pop_back();
        if (r->node && r->node->path.compare(path, Qt::CaseInsensitive) == 0)
            return createIndex(r->row, column, const_cast<Row *>(r));
        for (const auto &c : r->children)
            pending.push_back(c.get());
    }
    return {};
}

QModelIndex PropertyModel::index(int row, int column, const QModelIndex &parent) const
{
    const Row *p = rowAt(parent);
    if (row < 0 || row >= int(p->children.size()) || column < 0 || column > ValueColumn)
        return {};
    return createIndex(row, column, p->children[size_t(row)].get());
}

QModelIndex PropertyModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    Row *p = rowAt(child)->parent;
    if (!p || p == m_root.get())
        return {};
    return createIndex(p->row, NameColumn, p);
}

int PropertyModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != NameColumn)
        return 0;
    return int(rowAt(parent)->children.size());
}

int PropertyModel::columnCount(const QModelIndex &) const
{
    return 2;
}

QString PropertyModel::displayText(const PropertyNode &node) const
{
    if (node.mixed)
        return {};
    switch (node.info.kind) {
    case PropertyKind::Font:
        return m_set->fontSummary(node.path);
    case PropertyKind::Part:
        return {};
    case PropertyKind::LongText:
    case PropertyKind::Text: {
        // One line in the tree; the editor shows the rest.
        static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
        const QString text = node.value.toString();
        const qsizetype end = text.indexOf(lineBreak);
        return end < 0 ? text : text.left(end) + QStringLiteral(" …");
    }
    default:
        return PropertyText::format(node.info, node.value, m_set->unit());
    }
}

QVariant PropertyModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Row *r = rowAt(index);
    if (!r->node) {
        if (role == CategoryRole)
            return true;
        if (index.column() == NameColumn && role == Qt::DisplayRole)
            return categoryTitle(r->category);
        if (role == Qt::FontRole) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    }
    const PropertyNode &n = *r->node;
    switch (role) {
    case CategoryRole:
        return false;
    case KindRole:
        return int(n.info.kind);
    case PathRole:
        return n.path;
    case MixedRole:
        return n.mixed;
    case ValueRole:
        return n.value;
    case ChoicesRole: {
        QStringList names;
        for (const EnumValue &v : n.info.values)
            names << v.name;
        return names;
    }
    case ChoiceValuesRole: {
        QVariantList values;
        for (const EnumValue &v : n.info.values)
            values << v.value;
        return values;
    }
    case OpenChoicesRole:
        return n.info.openValues;
    case Qt::ForegroundRole:
        if (n.info.readOnly)
            return QBrush(QColor(0x80, 0x80, 0x80));
        return {};
    default:
        break;
    }
    if (index.column() == NameColumn) {
        if (role == Qt::DisplayRole)
            return n.info.name;
        if (role == Qt::ToolTipRole)
            return n.path;
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        if (n.info.kind == PropertyKind::Boolean)
            return n.mixed ? QString() : PropertyText::format(n.info, n.value, m_set->unit());
        return displayText(n);
    case Qt::EditRole:
        if (n.mixed)
            return n.info.kind == PropertyKind::Boolean ? QVariant() : QVariant(QString());
        if (n.info.kind == PropertyKind::Boolean)
            return n.value;
        if (n.info.kind == PropertyKind::Font)
            return m_set->font(n.path);
        return PropertyText::format(n.info, n.value, m_set->unit());
    case Qt::ToolTipRole:
        if (n.info.kind == PropertyKind::LongText || n.info.kind == PropertyKind::Text)
            return n.value.toString().left(1000);
        return displayText(n);
    case Qt::CheckStateRole:
        if (n.info.kind != PropertyKind::Boolean)
            return {};
        if (n.mixed)
            return Qt::PartiallyChecked;
        return n.value.toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        if (n.info.kind == PropertyKind::Color && !n.mixed && n.value.isValid())
            return QColor::fromRgb(PropertyText::colorRgb(n.value.toInt()));
        return {};
    default:
        return {};
    }
}

bool PropertyModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const PropertyNode *n = nodeAt(index);
    if (!n || index.column() != ValueColumn)
        return false;
    // The node goes away if the edit makes the set rebuild; keep its path.
    const QString path = n->path;
    if (role == Qt::CheckStateRole && n->info.kind == PropertyKind::Boolean)
        m_lastStatus = m_set->setValue(path, value.toInt() == Qt::Checked);
    else if (role != Qt::EditRole)
        return false;
    else if (n->info.kind == PropertyKind::Font && value.metaType().id() == QMetaType::QFont)
        m_lastStatus = m_set->setFont(path, value.value<QFont>());
    else
        m_lastStatus = m_set->setValue(path, value);
    if (!m_lastStatus)
        Q_EMIT editFailed(m_lastStatus);
    return m_lastStatus.ok();
}

Qt::ItemFlags PropertyModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const PropertyNode *n = nodeAt(index);
    if (!n || index.column() != ValueColumn || n->info.readOnly)
        return f;
    if (n->info.kind == PropertyKind::Boolean)
        return f | Qt::ItemIsUserCheckable;
    if (n->info.kind != PropertyKind::Part)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant PropertyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? tr("属性") : tr("值");
}

} // namespace Orv
