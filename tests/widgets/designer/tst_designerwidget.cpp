#include "designertesting.h"

#include "engine/model/controlregistry.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designitempainter.h"
#include "engine/widgets/designer/designscene.h"
#include "engine/widgets/designer/designview.h"
#include "engine/widgets/propertylist/propertyset.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QWheelEvent>

using namespace Orv;
using namespace Orv::DesignerAction;
using namespace DesignerTesting;

namespace {

class CountingPainter : public DesignItemPainter
{
public:
    void paint(QPainter &, const Control &) const override { ++count; }
    mutable int count = 0;
};

} // namespace

class TestDesignerWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        designer = std::make_unique<Designer>();
        designer->core()->setPrompts(&prompts);
        designer->resize(900, 800);
        designer->show();
        QVERIFY(QTest::qWaitForWindowExposed(designer.get()));
        loadSample(*designer->core());
        view = designer->view();
        viewport = view->viewport();
        view->setFocus();
    }
    void cleanup() { designer.reset(); }

    // Edits typed into the property list and the designer's own go through
    // one command on one history, and IsDirty follows both.
    void propertyListAndDesignerShareOneHistory()
    {
        DesignerCore *core = designer->core();
        Report *report = designer->DesignedReport();
        QSignalSpy dirty(designer.get(), &Designer::dirtyChanged);
        PropertySet list;
        list.setUndoStack(designer->undoStack());
        auto *label = qobject_cast<Label *>(control(*core, "lblA"));
        list.setObjects({label});
        designer->setIsDirty(false);
        const QByteArray saved = bytes(*core);

        QVERIFY(list.setText(QStringLiteral("Caption"), QStringLiteral("Changed")).ok());
        QVERIFY(designer->IsDirty());
        QVERIFY(report->IsDirty());
        core->select(label);
        QVERIFY(designer->ExecuteAction(Bold));
        QCOMPARE(designer->undoStack()->count(), 2);
        QCOMPARE(dirty.count(), 1);

        QVERIFY(designer->ExecuteAction(Undo));
        QVERIFY(!label->font()->bold());
        QVERIFY(designer->IsDirty());
        QVERIFY(designer->ExecuteAction(Undo));
        QCOMPARE(label->caption(), QStringLiteral("A"));
        QCOMPARE(bytes(*core), saved);
        QVERIFY(!designer->IsDirty());
        QVERIFY(!report->IsDirty());
        QCOMPARE(dirty.count(), 2);

        // A save after the list's edit makes that the clean state; undo
        // leaves it, redo returns to it.
        designer->undoStack()->redo();
        QCOMPARE(label->caption(), QStringLiteral("Changed"));
        QVERIFY(designer->IsDirty());
        report->setIsDirty(false); // as SaveLayout does
        QVERIFY(!designer->IsDirty());
        designer->undoStack()->undo();
        QVERIFY(designer->IsDirty());
        designer->undoStack()->redo();
        QVERIFY(!designer->IsDirty());
        // A refused value changes nothing and leaves no step.
        QVERIFY(!list.setText(QStringLiteral("Font.Size"), QStringLiteral("5000")).ok());
        QCOMPARE(designer->undoStack()->index(), 1);
        QVERIFY(!designer->IsDirty());
    }

    void insertByDrag()
    {
        QSignalSpy added(designer.get(), &Designer::objectAdded);
        designer->setInsertControlType(QStringLiteral("orvengine.label"));
        QCOMPARE(designer->InsertControlType(), QStringLiteral("orvengine.label"));
        drag(at("Detail", 1440, 1440), at("Detail", 2880, 1800));
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(1).toInt(), 7);
        auto *label = qobject_cast<Label *>(added.at(0).at(0).value<QObject *>());
        QVERIFY(label);
        QCOMPARE(label->section(), section(*designer->core(), "Detail"));
        QCOMPARE(QRectF(label->left(), label->top(), label->width(), label->height()), QRectF(1440, 1440, 1440, 360));
        QCOMPARE(designer->InsertControlType(), QString());
        QCOMPARE(designer->Selection()->Count(), 1);
        QCOMPARE(designer->Selection()->Item(0), label);
        QVERIFY(view->designScene()->itemFor(label));

        designer->setInsertControlType(QStringLiteral("OrvEngine.Line"));
        drag(at("PageFooter", 0, 180), at("PageFooter", 2880, 180));
        auto *line = qobject_cast<Line *>(added.at(1).at(0).value<QObject *>());
        QVERIFY(line);
        QCOMPARE(QLineF(line->x1(), line->y1(), line->x2(), line->y2()), QLineF(0, 180, 2880, 180));
        QCOMPARE(designer->undoStack()->count(), 2);
    }

    void selection()
    {
        QSignalSpy changed(designer.get(), &Designer::selectionChanged);
        click(centre("lblA"));
        QCOMPARE(names(), QStringList{"lblA"});
        QCOMPARE(changed.count(), 1);
        click(centre("fldB"), Qt::ControlModifier);
        QCOMPARE(names(), (QStringList{"lblA", "fldB"}));
        click(centre("lblA"), Qt::ControlModifier);
        QCOMPARE(names(), QStringList{"fldB"});
        // A rubber band picks every control it touches.
        drag(at("Detail", 50, 50), at("Detail", 1000, 1000));
        QCOMPARE(names(), (QStringList{"lblA", "fldB"}));
        click(at("Detail", 6000, 2000));
        QCOMPARE(designer->Selection()->Item(0), section(*designer->core(), "Detail"));
        const BandGeometry *header = view->designScene()->bandOf(section(*designer->core(), "PageHeader"));
        click(view->mapFromScene(QPointF(300, header->barTop + 100)));
        QCOMPARE(designer->Selection()->Item(0), section(*designer->core(), "PageHeader"));
        click(view->mapFromScene(QPointF(300, view->designScene()->bands().back().bodyBottom() + 400)));
        QCOMPARE(designer->Selection()->Item(0), designer->DesignedReport());
    }

    void moveAndResize()
    {
        DesignerCore *core = designer->core();
        const QByteArray before = bytes(*core);
        Control *a = control(*core, "lblA");
        click(centre("lblA"));
        // Moved by an inch and a bit: its corner lands on the grid.
        drag(centre("lblA"), centre("lblA") + QPoint(96, 6));
        QCOMPARE(a->left(), 1530.0);
        QCOMPARE(a->top(), 180.0);
        QCOMPARE(core->undoStack()->count(), 1);
        core->undoStack()->undo();
        QCOMPARE(bytes(*core), before);

        // Into another section.
        const QPoint from = centre("lblA");
        drag(from, at("PageHeader", 600, 350));
        QCOMPARE(a->section(), section(*core, "PageHeader"));
        QCOMPARE(a->top(), 180.0);

        // The bottom right handle of the shape.
        click(centre("shpC"));
        const QRect box = view->viewportRectOf(control(*core, "shpC"));
        drag(box.bottomRight() + QPoint(1, 1), box.bottomRight() + QPoint(13, 7));
        QCOMPARE(control(*core, "shpC")->width(), 990.0);
        QCOMPARE(control(*core, "shpC")->height(), 480.0);

        // A section's bottom edge; never above its lowest control.
        Section *detail = section(*core, "Detail");
        const int edge = view->mapFromScene(QPointF(0, view->designScene()->bandOf(detail)->bodyBottom())).y();
        drag(QPoint(700, edge), QPoint(700, edge + 30));
        QCOMPARE(detail->height(), 3330.0);
        const int edge2 = view->mapFromScene(QPointF(0, view->designScene()->bandOf(detail)->bodyBottom())).y();
        drag(QPoint(700, edge2), QPoint(700, edge2 - 400));
        QCOMPARE(detail->height(), 2500.0);
        while (core->undoStack()->canUndo())
            core->undoStack()->undo();
        QCOMPARE(bytes(*core), before);

        // Locked controls stay where they are.
        core->ExecuteAction(Lock);
        drag(centre("fldB"), centre("fldB") + QPoint(60, 60));
        QCOMPARE(control(*core, "fldB")->left(), 400.0);
    }

    // Grid and snap: their actions, the host's properties, and what they do to a drag.
    void gridAndSnap()
    {
        QSignalSpy states(designer.get(), &Designer::actionStateChanged);
        QVERIFY(designer->setProperty("ShowGrid", false));
        QCOMPARE(designer->QueryActionState(Grid), Enabled);
        QVERIFY(states.contains(QVariantList{int(Grid)}));
        QVERIFY(designer->ExecuteAction(Grid));
        // Scripts' numbers: those that are no action do nothing.
        QCOMPARE(designer->QueryActionState(int(Grid)), Enabled | Checked);
        for (int number : {-1, 59, 1000}) {
            QCOMPARE(designer->QueryActionState(number), 0);
            QVERIFY(!designer->ExecuteAction(number));
        }
        QVERIFY(designer->property("ShowGrid").toBool());
        DesignerCore *core = designer->core();
        core->setMetricGrid(true);
        QCOMPARE(core->gridStep(), 1440 / 2.54 / 16);
        core->setMetricGrid(false);
        QVERIFY(designer->ExecuteAction(Snap));
        QCOMPARE(designer->QueryActionState(Snap), Enabled);
        // Without snapping a drag moves by what the mouse moved: 14 pixels.
        click(centre("fldB"));
        drag(centre("fldB"), centre("fldB") + QPoint(14, 0));
        QCOMPARE(control(*core, "fldB")->left(), 610.0);
        // Ctrl+wheel zooms.
        QWheelEvent wheel(QPointF(100, 100), viewport->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QCOMPARE(designer->zoom(), 1.25);
    }

    void keyboard()
    {
        DesignerCore *core = designer->core();
        Control *b = control(*core, "fldB");
        click(centre("fldB"));
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(b->left(), 490.0);
        QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(b->left(), 475.0);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(b->height(), 290.0);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(names(), QStringList{"shpC"});
        QTest::keyClick(view, Qt::Key_Delete);
        QVERIFY(!control(*core, "shpC"));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(control(*core, "shpC"));
        click(centre("lblA"));
        QTest::keyClick(view, Qt::Key_Escape);
        QCOMPARE(designer->Selection()->Count(), 0);
    }

    void inPlaceEditing()
    {
        DesignerCore *core = designer->core();
        auto *label = qobject_cast<Label *>(control(*core, "lblA"));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre("lblA"));
        QVERIFY(view->textEditor());
        QCOMPARE(core->textEditor(), view->textEditor());
        QTest::keyClicks(view, QStringLiteral("Total"));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->textEditor());
        QCOMPARE(label->caption(), QStringLiteral("Total"));
        QCOMPARE(core->undoStack()->count(), 1);
        QVERIFY(!core->textEditor());

        // Escape drops what was typed.
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre("lblA"));
        QTest::keyClicks(view, QStringLiteral("Nothing"));
        QTest::keyClick(view, Qt::Key_Escape);
        QTRY_VERIFY(!view->textEditor());
        QCOMPARE(label->caption(), QStringLiteral("Total"));

        // A text box edits its data field.
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre("fldB"));
        QTest::keyClicks(view, QStringLiteral("=[Price]*2"));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->textEditor());
        QCOMPARE(qobject_cast<Field *>(control(*core, "fldB"))->dataField(), QStringLiteral("=[Price]*2"));

        // Rich text: formatting commands go to the text being edited.
        auto *rich = qobject_cast<RichEdit *>(control(*core, "rtfE"));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre("rtfE"));
        QVERIFY(view->textEditor() && view->textEditor()->isRich());
        QCOMPARE(designer->QueryActionState(Bold), Enabled);
        QCOMPARE(designer->QueryActionState(Copy), Enabled); // all text starts selected
        QVERIFY(designer->ExecuteAction(Bold));
        QCOMPARE(designer->QueryActionState(Bold), Enabled | Checked);
        QVERIFY(designer->ExecuteAction(Bullet));
        prompts.fieldName = QStringLiteral("City");
        QTextCursor end = view->textEditor()->textCursor();
        end.movePosition(QTextCursor::End);
        view->textEditor()->setTextCursor(end);
        QVERIFY(designer->ExecuteAction(InsertField));
        QSignalSpy menu(designer.get(), &Designer::contextMenuRequested);
        QContextMenuEvent event(QContextMenuEvent::Mouse, centre("rtfE"), viewport->mapToGlobal(centre("rtfE")));
        QApplication::sendEvent(viewport, &event);
        QCOMPARE(menu.count(), 1);
        QCOMPARE(menu.at(0).at(0).toInt(), 3);
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!view->textEditor());
        QVERIFY(rich->text().startsWith(QLatin1String("{\\rtf1")));
        QVERIFY(rich->text().contains(QLatin1String("\\b ")));
        QVERIFY(rich->text().contains(QLatin1String("\\pntext")));
        QVERIFY(rich->text().contains(QLatin1String("[!City]")));
        QCOMPARE(core->QueryActionState(Bold), Enabled); // back to the control's own font

        // A section removed from outside takes an open editor with it.
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre("rtfE"));
        QVERIFY(core->textEditor());
        Sections *sections = core->DesignedReport()->sections();
        QVERIFY(sections->Remove(sections->indexOf(section(*core, "Detail"))).ok());
        QVERIFY(!core->textEditor());
        QVERIFY(!view->textEditor());
        QCOMPARE(core->QueryActionState(Bold), 0);
    }

    void contextMenus()
    {
        QSignalSpy menu(designer.get(), &Designer::contextMenuRequested);
        auto request = [&](const QPoint &p) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, p, viewport->mapToGlobal(p));
            QApplication::sendEvent(viewport, &event);
            return std::make_pair(menu.last().at(0).toInt(), menu.last().at(1).toString());
        };
        QCOMPARE(request(centre("shpC")), std::make_pair(1, QStringLiteral("Shape")));
        QCOMPARE(names(), QStringList{"shpC"});
        QCOMPARE(request(at("Detail", 6000, 2000)), std::make_pair(0, QStringLiteral("Section")));
        const double below = view->designScene()->bands().back().bodyBottom() + 400;
        QCOMPARE(request(view->mapFromScene(QPointF(300, below))), std::make_pair(2, QStringLiteral("Report")));
        QCOMPARE(menu.count(), 3);
    }

    void followsTheModel()
    {
        DesignerCore *core = designer->core();
        Control *a = control(*core, "lblA");
        const QRect before = view->viewportRectOf(a);
        a->setLeft(a->left() + 1440);
        QCOMPARE(view->designScene()->itemFor(a)->pos().x(), 1540.0);
        QCOMPARE(view->viewportRectOf(a).left(), before.left() + 96);
        Controls *footer = section(*core, "PageFooter")->controls();
        Control *added = footer->Add(QStringLiteral("OrvEngine.Field"));
        QVERIFY(view->designScene()->itemFor(added));
        QVERIFY(footer->Remove(footer->indexOf(added)).ok());
        QVERIFY(!view->designScene()->itemFor(added));
        // Taller sections move the ones below.
        const double footerTop = view->designScene()->bandOf(section(*core, "PageFooter"))->bodyTop;
        section(*core, "Detail")->setHeight(4000);
        QCOMPARE(view->designScene()->bandOf(section(*core, "PageFooter"))->bodyTop, footerTop + 1120);
        designer->setZoom(2.0);
        QVERIFY(qAbs(view->viewportRectOf(a).width() - 2 * before.width()) <= 2);
        designer->NewLayout();
        QCOMPARE(int(view->designScene()->bands().size()), 3);
    }

    // Every kind is drawn by its painter; a registered painter takes over.
    void painters()
    {
        DesignerCore *core = designer->core();
        Section *detail = section(*core, "Detail");
        for (const QString &id : ControlRegistry::builtIn().typeIds()) {
            Control *c = detail->controls()->Add(id);
            c->setLeft(5400);
            c->setTop(300);
        }
        auto *shape = qobject_cast<Shape *>(control(*core, "shpC"));
        shape->setBackStyle(BackStyle::Opaque);
        shape->setBackColor(0x0000ff); // red
        shape->setLineStyle(0);
        auto counting = std::make_shared<CountingPainter>();
        const auto chartPainter = DesignPainterRegistry::instance().add(QStringLiteral("orvengine.chart"), counting);
        QVERIFY(chartPainter);
        const QImage image = viewport->grab().toImage();
        QVERIFY(DesignPainterRegistry::instance().add(QStringLiteral("OrvEngine.Chart"), chartPainter) == counting);
        QVERIFY(counting->count > 0);
        QCOMPARE(image.pixelColor(centre("shpC")), QColor(255, 0, 0));
        // Grid dots and white bodies are there, outside is grey.
        QCOMPARE(image.pixelColor(at("Detail", 6000, 45)), QColor(Qt::white));
    }

private:
    QPoint at(const char *sectionName, double x, double y) const
    {
        const BandGeometry *band = view->designScene()->bandOf(section(*designer->core(), QString::fromLatin1(sectionName)));
        return view->mapFromScene(QPointF(x, band->bodyTop + y));
    }
    QPoint centre(const char *name) const
    {
        return view->viewportRectOf(control(*designer->core(), QString::fromLatin1(name))).center();
    }
    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i < designer->Selection()->Count(); ++i)
            out << designer->Selection()->Item(i)->property("Name").toString();
        return out;
    }
    void send(QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent e(type, QPointF(p), viewport->mapToGlobal(QPointF(p)), button, buttons, modifiers);
        QApplication::sendEvent(viewport, &e);
    }
    void click(const QPoint &p, Qt::KeyboardModifiers modifiers = {})
    {
        send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, modifiers);
        send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    void drag(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers modifiers = {})
    {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
        for (int i = 1; i <= 4; ++i)
            send(QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton, modifiers);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    }

    std::unique_ptr<Designer> designer;
    DesignView *view = nullptr;
    QWidget *viewport = nullptr;
    ScriptedPrompts prompts;
};

QTEST_MAIN(TestDesignerWidget)
#include "tst_designerwidget.moc"
