#pragma once
// Every text a user can read in a widget and everything it holds: titles,
// labels, buttons, tabs, list and tree items, combo box items, menus and
// their actions, tooltips and placeholders, each with where it was found.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QWidget>

#include <QSet>
#include <algorithm>
#include <QString>
#include <QStringList>

namespace TestSupport {

struct FoundText
{
    QString where; // "QPushButton cmdNewOpen: text"
    QString text;
};

namespace detail {

inline QString nameOf(const QObject *o)
{
    return QString::fromLatin1(o->metaObject()->className()) + QLatin1Char(' ') + o->objectName();
}

inline void add(QList<FoundText> *out, const QObject *o, const char *what, const QString &text)
{
    if (!text.trimmed().isEmpty())
        out->append({nameOf(o) + QLatin1String(": ") + QLatin1String(what), text});
}

inline void collectAction(QAction *a, QList<FoundText> *out, QSet<const QObject *> *seen)
{
    if (seen->contains(a))
        return;
    seen->insert(a);
    add(out, a, "text", a->text());
    add(out, a, "tooltip", a->toolTip());
    add(out, a, "status tip", a->statusTip());
    if (QMenu *menu = a->menu()) {
        add(out, menu, "title", menu->title());
        for (QAction *child : menu->actions())
            collectAction(child, out, seen);
    }
}

// The rows of a model, two levels deep and at most 500 rows a level, so
// that a file system model does not walk the disk.
inline void collectModel(const QAbstractItemView *view, QList<FoundText> *out)
{
    const QAbstractItemModel *model = view->model();
    if (!model)
        return;
    const auto rows = [&](const QModelIndex &parent, int depth, const auto &self) -> void {
        const int count = std::min(model->rowCount(parent), 500);
        for (int r = 0; r < count; ++r) {
            for (int c = 0; c < model->columnCount(parent); ++c) {
                const QModelIndex index = model->index(r, c, parent);
                add(out, view, "item", index.data(Qt::DisplayRole).toString());
                add(out, view, "item tooltip", index.data(Qt::ToolTipRole).toString());
                if (depth < 2 && c == 0)
                    self(index, depth + 1, self);
            }
        }
    };
    rows(QModelIndex(), 1, rows);
    for (int c = 0; c < model->columnCount(); ++c)
        add(out, view, "header", model->headerData(c, Qt::Horizontal).toString());
}

} // namespace detail

inline QList<FoundText> widgetTexts(QWidget *top)
{
    QList<FoundText> out;
    QSet<const QObject *> seen;
    QList<QWidget *> widgets = top->findChildren<QWidget *>();
    widgets.prepend(top);
    for (QWidget *w : widgets) {
        using detail::add;
        if (w->isWindow())
            add(&out, w, "window title", w->windowTitle());
        add(&out, w, "tooltip", w->toolTip());
        add(&out, w, "status tip", w->statusTip());
        if (auto *l = qobject_cast<QLabel *>(w))
            add(&out, w, "text", l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(&out, w, "text", b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            add(&out, w, "title", g->title());
        if (auto *e = qobject_cast<QLineEdit *>(w))
            add(&out, w, "placeholder", e->placeholderText());
        if (auto *c = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < c->count(); ++i)
                add(&out, w, "item", c->itemText(i));
        }
        if (auto *t = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < t->count(); ++i) {
                add(&out, w, "tab", t->tabText(i));
                add(&out, w, "tab tooltip", t->tabToolTip(i));
            }
        }
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && !qobject_cast<QHeaderView *>(w))
            detail::collectModel(v, &out);
        if (auto *m = qobject_cast<QMenu *>(w))
            add(&out, w, "title", m->title());
        for (QAction *a : w->actions())
            detail::collectAction(a, &out, &seen);
    }
    for (QAction *a : top->findChildren<QAction *>())
        detail::collectAction(a, &out, &seen);
    return out;
}

// The texts that hold a Chinese character (CJK ideographs and punctuation).
inline QStringList chineseTexts(const QList<FoundText> &texts)
{
    QStringList out;
    for (const FoundText &t : texts) {
        for (const QChar ch : t.text) {
            const char16_t u = ch.unicode();
            if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x3000 && u <= 0x303F)
                || (u >= 0xFF00 && u <= 0xFFEF)) {
                out << t.where + QLatin1String(": \"") + t.text + QLatin1Char('"');
                break;
            }
        }
    }
    return out;
}

} // namespace TestSupport
