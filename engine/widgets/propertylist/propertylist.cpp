#include "engine/widgets/propertylist/propertylist.h"

#include "engine/model/control.h"
#include "engine/widgets/propertylist/propertydelegate.h"
#include "engine/widgets/propertylist/propertymodel.h"
#include "engine/widgets/propertylist/propertyset.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace Orv {

PropertyList::PropertyList(QWidget *parent)
    : QWidget(parent)
    , m_set(new PropertySet(this))
    , m_model(new PropertyModel(m_set, this))
    , m_view(new QTreeView(this))
{
    m_delegate = new PropertyDelegate(m_dialogs, this);

    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setMinimumWidth(40);
    m_grouped = new QToolButton(this);
    m_grouped->setText(tr("按分类"));
    m_grouped->setToolTip(tr("按分类列出属性"));
    m_sorted = new QToolButton(this);
    m_sorted->setText(tr("按字母"));
    m_sorted->setToolTip(tr("按名称排序属性"));
    auto *group = new QButtonGroup(this);
    for (QToolButton *b : {m_grouped, m_sorted}) {
        b->setCheckable(true);
        b->setAutoRaise(true);
        group->addButton(b);
    }
    m_grouped->setChecked(true);
    connect(m_sorted, &QToolButton::toggled, this, &PropertyList::setAlphabetic);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 2, 2);
    bar->addWidget(m_title, 1);
    bar->addWidget(m_grouped);
    bar->addWidget(m_sorted);

    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setAlternatingRowColors(true);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_view->setIndentation(14);
    m_view->header()->setStretchLastSection(true);
    m_view->header()->setSectionResizeMode(PropertyModel::NameColumn, QHeaderView::Interactive);
    // Room for the longer names ("VerticalAlignment") beside their indent.
    m_view->header()->resizeSection(PropertyModel::NameColumn,
                                    fontMetrics().horizontalAdvance(QStringLiteral("VerticalAlignment")) + 48);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);

    connect(m_model, &QAbstractItemModel::modelReset, this, &PropertyList::modelReset);
    connect(m_model, &PropertyModel::editFailed, this, &PropertyList::reportError);
    connect(m_set, &PropertySet::valuesChanged, this, &PropertyList::updateTitle);
    connect(m_view, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        const QString path = index.data(PropertyModel::PathRole).toString();
        if (path.isEmpty())
            m_collapsed.remove(index.data().toString());
        else
            m_expanded.insert(path.toCaseFolded());
    });
    connect(m_view, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        const QString path = index.data(PropertyModel::PathRole).toString();
        if (path.isEmpty())
            m_collapsed.insert(index.data().toString());
        else
            m_expanded.remove(path.toCaseFolded());
    });
    // A double click on a property's name edits its value.
    connect(m_view, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        const QModelIndex value = index.siblingAtColumn(PropertyModel::ValueColumn);
        if (index.column() == PropertyModel::NameColumn && (value.flags() & Qt::ItemIsEditable))
            m_view->edit(value);
    });
    modelReset();
}

PropertyList::~PropertyList()
{
    // The view goes before the model and the set it shows.
    delete m_view;
    m_view = nullptr;
}

void PropertyList::Clear()
{
    m_set->clear();
}

void PropertyList::AddObject(QObject *object)
{
    m_set->addObject(object);
}

void PropertyList::SetObjects(const QList<QObject *> &objects)
{
    m_set->setObjects(objects);
}

QList<QObject *> PropertyList::objects() const
{
    return m_set->objects();
}

void PropertyList::setUndoStack(QUndoStack *stack)
{
    m_set->setUndoStack(stack);
}

void PropertyList::setUnit(LengthUnit unit)
{
    m_model->setUnit(unit);
}

LengthUnit PropertyList::unit() const
{
    return m_model->unit();
}

void PropertyList::setAlphabetic(bool alphabetic)
{
    m_model->setAlphabetic(alphabetic);
    (alphabetic ? m_sorted : m_grouped)->setChecked(true);
}

bool PropertyList::alphabetic() const
{
    return m_model->alphabetic();
}

void PropertyList::setDialogs(PropertyDialogs *dialogs)
{
    m_dialogs = dialogs;
    m_delegate->setDialogs(m_dialogs);
}

void PropertyList::modelReset()
{
    if (!m_view)
        return;
    // Categories open unless the user closed them; parts as the user left them.
    std::vector<QModelIndex> pending;
    for (int r = 0; r < m_model->rowCount(); ++r)
        pending.push_back(m_model->index(r, 0));
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        if (index.data(PropertyModel::CategoryRole).toBool()) {
            m_view->setFirstColumnSpanned(index.row(), index.parent(), true);
            m_view->setExpanded(index, !m_collapsed.contains(index.data().toString()));
        } else if (m_model->rowCount(index) > 0) {
            m_view->setExpanded(index,
                                m_expanded.contains(index.data(PropertyModel::PathRole).toString().toCaseFolded()));
        }
        for (int r = 0; r < m_model->rowCount(index); ++r)
            pending.push_back(m_model->index(r, 0, index));
    }
    updateTitle();
}

void PropertyList::updateTitle()
{
    const QList<QObject *> shown = m_set->objects();
    QString title;
    if (shown.isEmpty()) {
        title = tr("未选定对象");
    } else if (shown.size() > 1) {
        title = tr("%1 个对象").arg(shown.size());
    } else {
        const QObject *o = shown.first();
        QString kind;
        if (const auto *control = qobject_cast<const Control *>(o)) {
            kind = control->typeName();
        } else {
            kind = QString::fromLatin1(o->metaObject()->className());
            kind = kind.mid(kind.lastIndexOf(QLatin1Char(':')) + 1);
        }
        const QString name = o->property("Name").toString();
        title = name.isEmpty() ? kind : QStringLiteral("%1  (%2)").arg(name, kind);
    }
    m_title->setText(title);
    m_title->setToolTip(title);
}

void PropertyList::reportError(const Status &status)
{
    Q_EMIT editFailed(status);
    // Shown once the editor has closed, not from inside its commit.
    QTimer::singleShot(0, this, [this, status] {
        if (m_dialogs)
            m_dialogs->showError(status);
    });
}

} // namespace Orv
