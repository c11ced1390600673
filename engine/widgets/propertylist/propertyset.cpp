#include "engine/widgets/propertylist/propertyset.h"

#include "engine/model/reflection.h"
#include "engine/model/report.h"

#include <QFont>
#include <QUndoStack>

#include <algorithm>

namespace Orv {

const PropertyNode *PropertyNode::child(const QString &name) const
{
    for (const auto &c : children) {
        if (c->info.name.compare(name, Qt::CaseInsensitive) == 0)
            return c.get();
    }
    return nullptr;
}

PropertySet::PropertySet(QObject *parent)
    : QObject(parent)
{
}

PropertySet::~PropertySet() = default;

void PropertySet::clear()
{
    setObjects({});
}

void PropertySet::addObject(QObject *object)
{
    if (!object || m_raw.contains(object))
        return;
    track(object);
    rebuild();
}

void PropertySet::setObjects(const QList<QObject *> &objects)
{
    for (const QPointer<QObject> &o : std::as_const(m_objects)) {
        if (o)
            disconnect(o, nullptr, this, nullptr);
    }
    for (const QPointer<Report> &r : std::as_const(m_reports)) {
        if (r)
            disconnect(r, nullptr, this, nullptr);
    }
    m_objects.clear();
    m_raw.clear();
    m_reports.clear();
    for (QObject *o : objects) {
        if (o && !m_raw.contains(o))
            track(o);
    }
    rebuild();
}

QList<QObject *> PropertySet::objects() const
{
    QList<QObject *> out;
    out.reserve(m_objects.size());
    for (const QPointer<QObject> &o : m_objects) {
        if (o)
            out.append(o);
    }
    return out;
}

void PropertySet::track(QObject *object)
{
    m_objects.append(object);
    m_raw.append(object);
    connect(object, &QObject::destroyed, this, &PropertySet::objectDestroyed);
    auto *model = qobject_cast<ModelObject *>(object);
    Report *report = model ? model->report() : nullptr;
    if (report && !m_reports.contains(report)) {
        m_reports.append(report);
        connect(report, &Report::modified, this, &PropertySet::scheduleRefresh);
    }
}

void PropertySet::objectDestroyed(QObject *object)
{
    // The object is half gone: only its address is used here.
    const qsizetype index = m_raw.indexOf(object);
    if (index < 0)
        return;
    m_raw.removeAt(index);
    m_objects.removeAt(index);
    scheduleRebuild();
}

void PropertySet::scheduleRebuild()
{
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QMetaObject::invokeMethod(
        this, [this] {
            if (m_rebuildPending)
                rebuild();
        },
        Qt::QueuedConnection);
}

void PropertySet::scheduleRefresh()
{
    if (m_refreshPending || m_rebuildPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(
        this, [this] {
            if (m_refreshPending)
                refreshValues();
        },
        Qt::QueuedConnection);
}

void PropertySet::setUndoStack(QUndoStack *stack)
{
    if (m_stack)
        disconnect(m_stack, nullptr, this, nullptr);
    m_stack = stack;
    // Undo and redo of objects outside a report change nothing a report
    // would announce; the stack's moves are the sign for those.
    if (stack)
        connect(stack, &QUndoStack::indexChanged, this, &PropertySet::scheduleRefresh);
}

namespace {

// The most derived declaration of a property by name in a class, or an
// invalid one. Consecutive objects are mostly of one class, so the last
// lookup is kept.
struct PropertyLookup
{
    const QMetaObject *lastClass = nullptr;
    QMetaProperty last;

    QMetaProperty get(const QObject *object, const QByteArray &name)
    {
        const QMetaObject *mo = object->metaObject();
        if (mo != lastClass) {
            lastClass = mo;
            const int index = mo->indexOfProperty(name.constData());
            last = index >= QObject::staticMetaObject.propertyCount() ? mo->property(index) : QMetaProperty();
        }
        return last;
    }
};

} // namespace

void PropertySet::rebuild()
{
    m_rebuildPending = false;
    m_refreshPending = false;
    Q_EMIT aboutToRebuild();
    m_nodes.clear();
    const QList<QObject *> live = objects();
    if (!live.isEmpty()) {
        PropertyNode root;
        buildChildren(&root, live);
        m_nodes = std::move(root.children);
        for (auto &n : m_nodes) {
            n->parent = nullptr;
            readValues(n.get(), live);
        }
    }
    Q_EMIT rebuilt();
}

void PropertySet::buildChildren(PropertyNode *parent, const QList<QObject *> &holders)
{
    // Only distinct classes need comparing: objects of one class share
    // their properties.
    QList<const QMetaObject *> classes;
    for (const QObject *h : holders) {
        if (!classes.contains(h->metaObject()))
            classes.append(h->metaObject());
    }
    const QObject *first = holders.first();
    const QString prefix = parent->path.isEmpty() ? QString() : parent->path + QLatin1Char('.');
    for (const QMetaProperty &p : Reflection::properties(first->metaObject())) {
        PropertyInfo info;
        if (!describeProperty(first->metaObject(), p, &info))
            continue;
        bool common = true;
        for (qsizetype c = 1; c < classes.size() && common; ++c) {
            const int index = classes[c]->indexOfProperty(p.name());
            PropertyInfo other;
            common = index >= QObject::staticMetaObject.propertyCount()
                && describeProperty(classes[c], classes[c]->property(index), &other) && info.compatible(other);
            if (common) {
                info.minimum = std::max(info.minimum, other.minimum);
                info.maximum = std::min(info.maximum, other.maximum);
                info.readOnly = info.readOnly || other.readOnly;
            }
        }
        if (!common)
            continue;
        auto node = std::make_unique<PropertyNode>();
        node->info = info;
        node->info.kind = childKind(parent->info.kind, info);
        node->path = prefix + info.name;
        node->parent = parent;
        if (info.isPart()) {
            QList<QObject *> parts;
            PropertyLookup lookup;
            for (QObject *h : holders) {
                QObject *part = Reflection::partOf(h, lookup.get(h, p.name()));
                if (!part)
                    break;
                parts.append(part);
            }
            if (parts.size() != holders.size())
                continue;
            buildChildren(node.get(), parts);
            if (node->children.empty())
                continue;
        }
        parent->children.push_back(std::move(node));
    }
}

bool PropertySet::readValues(PropertyNode *node, const QList<QObject *> &holders)
{
    const QByteArray name = node->info.name.toLatin1();
    PropertyLookup lookup;
    bool changed = false;
    if (node->info.isPart()) {
        QList<QObject *> parts;
        parts.reserve(holders.size());
        for (QObject *h : holders) {
            if (QObject *part = Reflection::partOf(h, lookup.get(h, name)))
                parts.append(part);
        }
        for (auto &c : node->children)
            changed = readValues(c.get(), parts) || changed;
        return changed;
    }
    QVariant value;
    bool mixed = false;
    for (qsizetype i = 0; i < holders.size(); ++i) {
        const QMetaProperty meta = lookup.get(holders[i], name);
        const QVariant v = meta.isValid() ? meta.read(holders[i]) : QVariant();
        if (i == 0) {
            value = v;
        } else if (v != value) {
            mixed = true;
            value = QVariant();
            break;
        }
    }
    changed = mixed != node->mixed || value != node->value || value.metaType() != node->value.metaType();
    node->mixed = mixed;
    node->value = value;
    return changed;
}

bool PropertySet::refreshValues()
{
    m_refreshPending = false;
    const QList<QObject *> live = objects();
    bool changed = false;
    for (auto &n : m_nodes)
        changed = readValues(n.get(), live) || changed;
    if (changed)
        Q_EMIT valuesChanged();
    return changed;
}

const PropertyNode *PropertySet::node(const QString &path) const
{
    const QStringList names = path.split(QLatin1Char('.'));
    const PropertyNode *found = nullptr;
    const std::vector<std::unique_ptr<PropertyNode>> *level = &m_nodes;
    for (const QString &name : names) {
        found = nullptr;
        for (const auto &n : *level) {
            if (n->info.name.compare(name, Qt::CaseInsensitive) == 0) {
                found = n.get();
                break;
            }
        }
        if (!found)
            return nullptr;
        level = &found->children;
    }
    return found;
}

namespace {

Status missing(const QString &path)
{
    return Status::failure(ErrNoSuchMember,
                           QStringLiteral("The selected objects have no common property \"%1\"").arg(path));
}

Status readOnly(const PropertyNode &node)
{
    return Status::failure(ErrPropertyReadOnly, QStringLiteral("\"%1\" is read-only").arg(node.info.name));
}

} // namespace

Status PropertySet::setText(const QString &path, const QString &text)
{
    const PropertyNode *n = node(path);
    if (!n)
        return missing(path);
    if (n->info.readOnly)
        return readOnly(*n);
    QVariant value;
    if (Status s = PropertyText::parse(n->info, text, m_unit, &value); !s)
        return s;
    return apply({{n->path, value}}, QStringLiteral("Change %1").arg(n->info.name));
}

Status PropertySet::setValue(const QString &path, const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QString)
        return setText(path, value.toString());
    const PropertyNode *n = node(path);
    if (!n)
        return missing(path);
    if (n->info.readOnly)
        return readOnly(*n);
    if (Status s = PropertyText::check(n->info, value, m_unit); !s)
        return s;
    return apply({{n->path, value}}, QStringLiteral("Change %1").arg(n->info.name));
}

Status PropertySet::setFont(const QString &path, const QFont &font)
{
    const PropertyNode *n = node(path);
    if (!n || n->info.kind != PropertyKind::Font)
        return missing(path);
    QList<PropertyAssignment> assignments;
    const auto put = [&](const char *name, const QVariant &value) {
        if (const PropertyNode *c = n->child(QLatin1String(name)); c && !c->info.readOnly)
            assignments.append({c->path, value});
    };
    put("Name", font.family());
    if (font.pointSizeF() > 0)
        put("Size", font.pointSizeF());
    put("Bold", font.bold());
    put("Italic", font.italic());
    put("Underline", font.underline());
    put("Strikethrough", font.strikeOut());
    return apply(assignments, QStringLiteral("Change %1").arg(n->info.name));
}

Status PropertySet::apply(const QList<PropertyAssignment> &assignments, const QString &text)
{
    const Status status = applyPropertyEdit(objects(), assignments, m_stack, text);
    // Objects outside a report announce nothing: read the values now.
    refreshValues();
    return status;
}

QFont PropertySet::font(const QString &path) const
{
    QFont f;
    const QList<QObject *> live = objects();
    const PropertyNode *n = node(path);
    if (!n || live.isEmpty())
        return f;
    const auto value = [&](const char *name) -> QVariant {
        const PropertyNode *c = n->child(QLatin1String(name));
        if (!c)
            return {};
        return c->mixed ? Reflection::value(live.first(), c->path) : c->value;
    };
    if (const QVariant v = value("Name"); v.isValid())
        f.setFamily(v.toString());
    if (const QVariant v = value("Size"); v.isValid() && v.toDouble() > 0)
        f.setPointSizeF(v.toDouble());
    f.setBold(value("Bold").toBool());
    f.setItalic(value("Italic").toBool());
    f.setUnderline(value("Underline").toBool());
    f.setStrikeOut(value("Strikethrough").toBool());
    return f;
}

QString PropertySet::fontSummary(const QString &path) const
{
    const PropertyNode *n = node(path);
    if (!n)
        return {};
    QStringList parts;
    const PropertyNode *name = n->child(QStringLiteral("Name"));
    if (name && !name->mixed)
        parts << name->value.toString();
    const PropertyNode *size = n->child(QStringLiteral("Size"));
    if (size && !size->mixed)
        parts << Reflection::toText(size->value) + QStringLiteral(" pt");
    for (const char *style : {"Bold", "Italic", "Underline", "Strikethrough"}) {
        const PropertyNode *c = n->child(QLatin1String(style));
        if (c && !c->mixed && c->value.toBool())
            parts << QLatin1String(style);
    }
    return parts.join(QLatin1String(", "));
}

} // namespace Orv
