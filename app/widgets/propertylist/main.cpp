// orv-propertylist-window: a layout's report, sections and controls in a
// list (several may be selected) beside the property list, with undo and
// redo, to try the property list without the designer.
//
//   orv-propertylist-window <layout.rpx> [--cm] [--select name,name,...]
//                           [--expand Font,...] [--screenshot out.png]

#include "engine/core/processsetup.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/propertylist/propertymodel.h"
#include "ui/uipropertydialogs.h"
#include "ui/widgetui.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <cstdio>

namespace {

using namespace Orv;

QString labelOf(QObject *o)
{
    if (auto *c = qobject_cast<Control *>(o))
        return QStringLiteral("%1  (%2)").arg(c->name(), c->typeName());
    if (auto *s = qobject_cast<Section *>(o))
        return s->name();
    return QStringLiteral("Report");
}

class Window : public QWidget
{
public:
    explicit Window(Report *report, const QString &path)
        : m_report(report)
        , m_path(path)
    {
        setWindowTitle(QStringLiteral("Property list - %1").arg(QFileInfo(path).fileName()));
        m_stack.setUndoLimit(200);

        auto *bar = new QToolBar(this);
        QAction *undo = m_stack.createUndoAction(this, QStringLiteral("Undo"));
        QAction *redo = m_stack.createRedoAction(this, QStringLiteral("Redo"));
        undo->setShortcut(QKeySequence::Undo);
        redo->setShortcut(QKeySequence::Redo);
        bar->addAction(undo);
        bar->addAction(redo);
        bar->addSeparator();
        bar->addAction(QStringLiteral("Delete control"), this, [this] { deleteSelected(); });
        bar->addAction(QStringLiteral("Save as..."), this, [this] { saveAs(); });
        bar->addSeparator();
        bar->addWidget(new QLabel(QStringLiteral(" Unit "), bar));
        m_unit = new QComboBox(bar);
        m_unit->addItems({QStringLiteral("US (Inches)"), QStringLiteral("Metric (cm.)")});
        bar->addWidget(m_unit);

        m_objects = new QTreeWidget(this);
        m_objects->setHeaderHidden(true);
        m_objects->setSelectionMode(QAbstractItemView::ExtendedSelection);
        m_list = new PropertyList(this);
        m_list->setUndoStack(&m_stack);
        m_list->setDialogs(&m_dialogs);

        auto *split = new QSplitter(this);
        split->addWidget(m_objects);
        split->addWidget(m_list);
        split->setStretchFactor(0, 2);
        split->setStretchFactor(1, 3);

        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addWidget(split, 1);

        fill();
        connect(m_objects, &QTreeWidget::itemSelectionChanged, this, [this] { showSelection(); });
        connect(m_unit, &QComboBox::currentIndexChanged, this, [this](int i) {
            m_list->setUnit(i == 1 ? LengthUnit::Centimetres : LengthUnit::Inches);
        });
        // Names typed in the list show in the object list too.
        connect(report, &Report::modified, this, [this] { QTimer::singleShot(0, this, [this] { relabel(); }); });
    }

    void setCentimetres() { m_unit->setCurrentIndex(1); }

    void expand(const QStringList &paths)
    {
        for (const QString &path : paths)
            m_list->view()->expand(m_list->model()->indexOf(path));
    }

    // Selects the objects of these names (report "Report", sections and controls).
    void select(const QStringList &names)
    {
        for (QTreeWidgetItemIterator it(m_objects); *it; ++it) {
            QObject *o = objectOf(*it);
            const QString name = o ? o->property("Name").toString() : QString();
            (*it)->setSelected(names.contains(o == m_report ? QStringLiteral("Report") : name, Qt::CaseInsensitive));
        }
    }

private:
    static QObject *objectOf(QTreeWidgetItem *item) { return item->data(0, Qt::UserRole).value<QObject *>(); }

    void fill()
    {
        m_objects->clear();
        auto *top = new QTreeWidgetItem(m_objects, {labelOf(m_report)});
        top->setData(0, Qt::UserRole, QVariant::fromValue<QObject *>(m_report));
        for (Section *s : *m_report->sections()) {
            auto *si = new QTreeWidgetItem(top, {labelOf(s)});
            si->setData(0, Qt::UserRole, QVariant::fromValue<QObject *>(s));
            for (Control *c : *s->controls()) {
                auto *ci = new QTreeWidgetItem(si, {labelOf(c)});
                ci->setData(0, Qt::UserRole, QVariant::fromValue<QObject *>(c));
            }
        }
        m_objects->expandAll();
    }

    void relabel()
    {
        for (QTreeWidgetItemIterator it(m_objects); *it; ++it) {
            if (QObject *o = objectOf(*it))
                (*it)->setText(0, labelOf(o));
        }
    }

    void showSelection()
    {
        QList<QObject *> selected;
        for (QTreeWidgetItem *item : m_objects->selectedItems()) {
            if (QObject *o = objectOf(item))
                selected.append(o);
        }
        m_list->SetObjects(selected);
    }

    // Deletes the selected controls outright (no undo): the list lets go
    // of them as they go.
    void deleteSelected()
    {
        QList<QPointer<Control>> doomed;
        for (QTreeWidgetItem *item : m_objects->selectedItems()) {
            if (auto *c = qobject_cast<Control *>(objectOf(item)))
                doomed.append(c);
        }
        const QSignalBlocker block(m_objects);
        for (const QPointer<Control> &c : doomed) {
            if (c && c->section())
                std::ignore = c->section()->controls()->Remove(c->section()->controls()->indexOf(c)); // a control of that section
        }
        fill();
    }

    void saveAs()
    {
        const QString target = QFileDialog::getSaveFileName(this, QStringLiteral("Save Layout"), m_path,
                                                            QStringLiteral("Layouts (*.rpx)"));
        if (target.isEmpty())
            return;
        if (const Status s = SaveLayout(*m_report, target, LayoutFile::ToFile); !s)
            QMessageBox::warning(this, QStringLiteral("Error: Save Layout"), s.description());
    }

    Report *m_report;
    QString m_path;
    QUndoStack m_stack;
    WidgetUi m_ui{this};
    UiPropertyDialogs m_dialogs{m_ui};
    QTreeWidget *m_objects;
    PropertyList *m_list;
    QComboBox *m_unit;
};

} // namespace

int main(int argc, char *argv[])
{
    Orv::setUpProcess();
    QApplication app(argc, argv);
    QString path, screenshot;
    QStringList select, expand;
    bool cm = false;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--cm"))
            cm = true;
        else if (args[i] == QLatin1String("--select") && i + 1 < args.size())
            select = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (args[i] == QLatin1String("--expand") && i + 1 < args.size())
            expand = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (args[i] == QLatin1String("--screenshot") && i + 1 < args.size())
            screenshot = args[++i];
        else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            path = args[i];
        else
            path.clear(), i = args.size();
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: orv-propertylist-window <layout.rpx> [--cm] [--select name,name,...] "
                             "[--expand Font,...] [--screenshot out.png]\n");
        return 2;
    }
    Orv::Report report;
    if (const Orv::Status s = Orv::LoadLayout(report, path); !s) {
        std::fprintf(stderr, "%s\n", qPrintable(s.description()));
        return 1;
    }
    Window window(&report, path);
    if (cm)
        window.setCentimetres();
    window.select(select);
    window.expand(expand);
    window.resize(960, 760);
    window.show();
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, &window, [&] {
            const bool saved = window.grab().save(screenshot);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
