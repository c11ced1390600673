// Design commands on the real main window, offscreen: what each command
// group does to the designer's layout, tool states following the
// selection, the Edit menu's focus rule, the font boxes with bad input,
// the font dialog and colour buttons through the recording ui, insertion
// returning to Select, the pop-ups, Full Screen, and the field list read
// from a real SQLite file and dropped onto a section.
#include "engine/data/sampledatabase.h"
#include "engine/model/controls.h"
#include "engine/model/parts.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designscene.h"
#include "engine/widgets/designer/designview.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "shell/designformat.h"
#include "shell/window/fieldlistpane.h"
#include "shell/window/mainwindow.h"
#include "ui/recordingui.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>

using namespace Orv;

class TestDesignCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static bool clipboardHoldsControls()
    {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasFormat(QStringLiteral("application/x-orvreport-fragment"));
    }

    struct Fixture
    {
        RecordingUi ui;
        std::unique_ptr<SettingsStore> settings;
        std::unique_ptr<MainWindow> window;
        DesignerCore *core = nullptr;
        Section *detail = nullptr;

        Label *label(double left, double top)
        {
            auto *c = qobject_cast<Label *>(core->insertControl(QStringLiteral("OrvEngine.Label"), detail,
                                                                QPointF(left, top), QPointF(left + 1440, top + 300)));
            return c;
        }
        QAction *action(const char *name) const { return window->action(QString::fromLatin1(name)); }
        QComboBox *box(const char *name) const { return window->findChild<QComboBox *>(QString::fromLatin1(name)); }
    };

    std::unique_ptr<Fixture> open(const QString &settingsName)
    {
        auto f = std::make_unique<Fixture>();
        f->settings = std::make_unique<SettingsStore>(m_dir.filePath(settingsName));
        f->window = std::make_unique<MainWindow>(f->ui, f->settings.get());
        f->window->resize(1200, 800);
        f->window->show();
        f->window->activateWindow();
        if (!QTest::qWaitForWindowActive(f->window.get()))
            qWarning("window not active");
        f->core = f->window->designer()->core();
        f->detail = f->core->DesignedReport()->sections()->Item(QStringLiteral("Detail"));
        return f;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void formatRulesWithoutAWindow()
    {
        DesignerCore core;
        Section *detail = core.DesignedReport()->sections()->Item(QStringLiteral("Detail"));
        auto *a = core.insertControl(QStringLiteral("OrvEngine.Label"), detail, QPointF(0, 0), QPointF(1440, 300));
        auto *line = core.insertControl(QStringLiteral("OrvEngine.Line"), detail, QPointF(0, 600), QPointF(1440, 600));
        auto *shape = core.insertControl(QStringLiteral("OrvEngine.Shape"), detail, QPointF(0, 900), QPointF(900, 1500));
        QVERIFY(a && line && shape);
        using namespace DesignFormat;
        QVERIFY(isEligible(QStringLiteral("Label_Field_CheckBox"), a));
        QVERIFY(!isEligible(FontTypes, line));
        QVERIFY(isEligible(LineColorTypes, shape) && isEligible(LineColorTypes, line));
        QVERIFY(!isEligible(ColorTypes, line));
        QVERIFY(!isEligible(FontTypes, core.DesignedReport()));

        QString error;
        QVERIFY(!parseFontSize(QStringLiteral("big"), &error));
        QVERIFY(error.contains(QStringLiteral("big")));
        QVERIFY(!parseFontSize(QStringLiteral("0"), &error));
        QVERIFY(error.contains(QStringLiteral("1638")));
        QVERIFY(!parseFontSize(QStringLiteral("2000"), &error));
        QCOMPARE(*parseFontSize(QStringLiteral(" 12 "), &error), 12.0);

        // The font dialog cancelled changes nothing and leaves no step.
        RecordingUi ui;
        core.setSelection({a, shape});
        const int steps = core.undoStack()->count();
        QVERIFY(!fontDialog(core, ui));
        QCOMPARE(ui.last().kind, RecordingUi::Kind::ChooseFont);
        QCOMPARE(core.undoStack()->count(), steps);
        ui.answer(FontChoice{QStringLiteral("Serif"), 15, true, false, true, false});
        QVERIFY(fontDialog(core, ui));
        auto *text = qobject_cast<TextControl *>(a);
        QCOMPARE(text->font()->name(), QStringLiteral("Serif"));
        QCOMPARE(text->font()->size(), 15.0);
        QVERIFY(text->font()->bold() && text->font()->underline());
        QCOMPARE(core.undoStack()->count(), steps + 1);

        // Back colour: the label and the shape get it with an opaque back.
        ui.answer(0x00ff00);
        QVERIFY(colorButton(core, ui, ColorTarget::Back));
        QCOMPARE(a->property("BackColor").toInt(), 0x00ff00);
        QCOMPARE(shape->property("BackStyle").toInt(), 1);
        QCOMPARE(shape->property("BackColor").toInt(), 0x00ff00);
        // Fore colour only where there is one; line colour on the line.
        ui.answer(0x0000ff);
        QVERIFY(colorButton(core, ui, ColorTarget::Fore));
        QCOMPARE(a->property("ForeColor").toInt(), 0x0000ff);
        core.setSelection({line, a});
        ui.answer(0xff0000);
        QVERIFY(colorButton(core, ui, ColorTarget::Line));
        QCOMPARE(line->property("LineColor").toInt(), 0xff0000);
        // The first selected control decides: a line asks no fore colour.
        const int asked = int(ui.requests().size());
        QVERIFY(!colorButton(core, ui, ColorTarget::Fore));
        QCOMPARE(int(ui.requests().size()), asked);
    }

    void toolStatesFollowTheSelection()
    {
        auto f = open(QStringLiteral("a.ini"));
        QComboBox *name = f->box("cboFoFontName");
        QComboBox *size = f->box("cboFoFontSize");
        QComboBox *style = f->box("cboFoStyle");
        QVERIFY(name && size && style);
        // Filled at the first refresh, each style's entry in its font.
        QCOMPARE(style->count(), 4);
        const auto entryFont = [&](int i) { return style->itemData(i, Qt::FontRole).value<QFont>(); };
        QVERIFY(entryFont(1).bold());
        QVERIFY(!entryFont(0).bold());
        TextLook look = f->core->textStyles().find(QStringLiteral("Heading3"))->look;
        look.italic = true;
        QVERIFY(f->core->setTextStyle(QStringLiteral("Heading3"), look));
        QVERIFY(entryFont(3).italic());
        QVERIFY(!entryFont(2).italic());
        QCOMPARE(size->itemText(0), QStringLiteral(" 8"));
        QVERIFY(name->count() > 0);

        Label *a = f->label(0, 0);
        Label *b = f->label(200, 600);
        // Nothing selected: no font tools, no alignment.
        f->core->clearSelection();
        QVERIFY(!name->isEnabled() && !size->isEnabled());
        QVERIFY(!f->action("tFoFontDialog")->isEnabled());
        QVERIFY(!f->action("tFoALefts")->isEnabled());
        QVERIFY(!f->action("miECopy")->isEnabled());
        QCOMPARE(name->currentText(), QString());
        // One label: the boxes show its font and style.
        a->font()->setName(QStringLiteral("Serif"));
        a->font()->setSize(14);
        f->core->select(a);
        QVERIFY(name->isEnabled());
        QCOMPARE(name->currentText(), QStringLiteral("Serif"));
        QCOMPARE(size->currentText(), QStringLiteral("14"));
        QCOMPARE(style->currentText(), QStringLiteral("Normal"));
        QVERIFY(f->action("tFoBold")->isEnabled());
        QVERIFY(!f->action("tFoALefts")->isEnabled());
        // Two: blank boxes, alignment possible; a font name typed still
        // applies to both.
        f->core->setSelection({a, b});
        QCOMPARE(name->currentText(), QString());
        QCOMPARE(size->currentIndex(), -1);
        QVERIFY(f->action("tFoALefts")->isEnabled());
        name->lineEdit()->setText(QStringLiteral("Monospace"));
        QTest::keyClick(name->lineEdit(), Qt::Key_Return);
        QCOMPARE(a->font()->name(), QStringLiteral("Monospace"));
        QCOMPARE(b->font()->name(), QStringLiteral("Monospace"));
        // A style gives both its name and its whole look.
        style->activated(2);
        QCOMPARE(b->className(), QStringLiteral("Heading2"));
        QCOMPARE(a->className(), QStringLiteral("Heading2"));
        QCOMPARE(b->font()->name(), QStringLiteral("Arial"));
        QCOMPARE(a->font()->size(), 14.0);
        QVERIFY(f->action("tFoBold")->isChecked());

        // Toolbar commands change the layout: lefts aligned, then bold off.
        f->action("tFoALefts")->trigger();
        QCOMPARE(b->left(), a->left());
        f->action("tFoBold")->trigger();
        QVERIFY(!a->font()->bold() && !b->font()->bold());
        QVERIFY(!f->action("tFoBold")->isChecked());
        // Undo from the bar takes the change back.
        f->action("tEUndo")->trigger();
        QVERIFY(a->font()->bold());
        QVERIFY(f->action("tEReorderGroups")->isEnabled() == false);

        // A size typed as text or out of range: a message, no change.
        f->core->select(a);
        const double before = a->font()->size();
        const int steps = f->core->undoStack()->count();
        size->lineEdit()->setText(QStringLiteral("huge"));
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        QCOMPARE(f->ui.last().kind, RecordingUi::Kind::MessageBox);
        QVERIFY(f->ui.last().text.contains(QStringLiteral("huge")));
        size->lineEdit()->setText(QStringLiteral("5000"));
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        QVERIFY(f->ui.last().text.contains(QStringLiteral("5000")));
        QCOMPARE(a->font()->size(), before);
        QCOMPARE(f->core->undoStack()->count(), steps);
        size->lineEdit()->setText(QStringLiteral("20"));
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        QCOMPARE(a->font()->size(), 20.0);
        f->window->close();
    }

    void editMenuActsOnlyWithTheDesignerFocused()
    {
        auto f = open(QStringLiteral("b.ini"));
        Label *a = f->label(0, 0);
        f->core->select(a);
        QGuiApplication::clipboard()->clear();
        f->window->propertyList()->setFocus();
        QVERIFY(!f->window->propertyList()->isAncestorOf(f->window->designer()));
        f->action("miECopy")->trigger();
        QVERIFY(!clipboardHoldsControls());
        f->action("miEDelete")->trigger();
        QCOMPARE(f->detail->controls()->Count(), 1);
        // The button copies whatever has the focus.
        f->action("tECopy")->trigger();
        QVERIFY(clipboardHoldsControls());
        // With the designer focused the menu acts: delete, then redo
        // after an undo.
        f->window->designer()->view()->setFocus();
        QVERIFY(f->window->designer()->view()->hasFocus());
        f->action("miEDelete")->trigger();
        QCOMPARE(f->detail->controls()->Count(), 0);
        f->action("miEUndo")->trigger();
        QCOMPARE(f->detail->controls()->Count(), 1);
        QVERIFY(f->action("miERedo")->isEnabled());
        f->action("miERedo")->trigger();
        QCOMPARE(f->detail->controls()->Count(), 0);
        f->action("miEUndo")->trigger();
        f->action("miESelectAll")->trigger();
        QCOMPARE(f->core->Selection()->Count(), 1);
        // Sections from the Insert menu and the section pop-up's delete.
        f->action("miIReportHF")->trigger();
        QVERIFY(f->core->DesignedReport()->sections()->firstOfType(Section::ReportHeader));
        QVERIFY(!f->action("miIReportHF")->isEnabled());
        f->core->select(f->core->DesignedReport()->sections()->firstOfType(Section::ReportHeader));
        f->action("miCSDelete")->trigger();
        QVERIFY(!f->core->DesignedReport()->sections()->firstOfType(Section::ReportHeader));
        f->window->close();
    }

    void insertionReturnsToSelectAndPopUpsOpen()
    {
        auto f = open(QStringLiteral("c.ini"));
        // The chart tool sits after the barcode.
        QToolBar *toolbox = f->window->toolBar(QStringLiteral("tbToolbox"));
        const QList<QAction *> tools = toolbox->actions();
        QCOMPARE(tools.indexOf(f->action("tbxChart")), tools.indexOf(f->action("tbxBarcode")) + 1);
        f->action("tbxChart")->trigger();
        QCOMPARE(f->window->designer()->InsertControlType(), QStringLiteral("OrvEngine.Chart"));
        QVERIFY(f->action("tbxChart")->isChecked());
        QVERIFY(!f->action("tbxSelect")->isChecked());
        // Drawing it: the tool goes back to Select, the list shows the chart.
        Control *chart = f->core->insertControl(f->window->designer()->InsertControlType(), f->detail,
                                                QPointF(100, 100), QPointF(3000, 1500));
        QVERIFY(chart);
        QCOMPARE(chart->typeName(), QStringLiteral("Chart"));
        QVERIFY(f->window->designer()->InsertControlType().isEmpty());
        QVERIFY(f->action("tbxSelect")->isChecked());
        QVERIFY(!f->action("tbxChart")->isChecked());
        // The barcode's two spellings pick the same tool.
        f->action("miIBarcode")->trigger();
        QVERIFY(f->action("tbxBarcode")->isChecked());
        f->action("tbxSelect")->trigger();

        // The pop-up for a frame, a rich edit and a section.
        Q_EMIT f->window->designer()->contextMenuRequested(ContextMenuKind::Control, QStringLiteral("Frame"));
        QTRY_VERIFY(f->window->menu(QStringLiteral("mnuCFrameControl"))->isVisible());
        f->window->menu(QStringLiteral("mnuCFrameControl"))->hide();
        Q_EMIT f->window->designer()->contextMenuRequested(ContextMenuKind::Section, QString());
        QTRY_VERIFY(f->window->menu(QStringLiteral("mnuCSection"))->isVisible());
        f->window->menu(QStringLiteral("mnuCSection"))->hide();
        f->window->close();
    }

    void fullScreenShowsTheDesignAlone()
    {
        auto f = open(QStringLiteral("d.ini"));
        QWidget *coolbar = f->window->findChild<QWidget *>(QStringLiteral("cbDesign"));
        f->action("tVFullScreen")->trigger();
        QVERIFY(f->window->isFullScreenDesign());
        QVERIFY(f->window->menuBar()->isHidden());
        QVERIFY(coolbar->isHidden());
        QVERIFY(f->window->propertyList()->isHidden());
        QTRY_COMPARE(f->window->designer()->geometry().top(), 0);
        QTest::keyClick(f->window->designer()->view(), Qt::Key_Escape);
        QVERIFY(!f->window->isFullScreenDesign());
        QVERIFY(!f->window->menuBar()->isHidden());
        QVERIFY(!coolbar->isHidden());
        QVERIFY(!f->window->propertyList()->isHidden());
        f->window->close();
    }

    void fieldListReadsTheDataSourceAndDropsAPair()
    {
        const QString db = m_dir.filePath(QStringLiteral("sample.db"));
        QVERIFY(Data::createSampleDatabase(db, 1).ok());
        auto f = open(QStringLiteral("e.ini"));
        // Without a data control, a note.
        f->action("tVFieldsList")->trigger();
        auto *dock = f->window->findChild<QDockWidget *>(QStringLiteral("dockFieldList"));
        QVERIFY(dock && dock->isVisible());
        FieldListPane *pane = f->window->fieldList();
        QTRY_VERIFY(!pane->isReading());
        QVERIFY(pane->lblNote()->text().contains(QStringLiteral("数据控件")));
        QCOMPARE(pane->lstFields()->count(), 0);

        // An unreachable database: a note, and the window goes on.
        Section *header = f->core->DesignedReport()->sections()->Item(QStringLiteral("PageHeader"));
        Control *data = header->controls()->Add(QStringLiteral("OrvEngine.DataControl"));
        data->setProperty("ConnectionString", QStringLiteral("Provider=SQLite;Data Source=") + m_dir.filePath(QStringLiteral("none/missing.db")));
        data->setProperty("Source", QStringLiteral("SELECT * FROM Customers"));
        QSignalSpy read(pane, &FieldListPane::fieldsRead);
        f->window->execute(QStringLiteral("ViewFieldList"));
        f->window->execute(QStringLiteral("ViewFieldList"));
        QVERIFY(read.wait(20000));
        QVERIFY(pane->lblNote()->text().contains(QStringLiteral("无法读取数据库")));

        data->setProperty("ConnectionString", QStringLiteral("Provider=SQLite;Data Source=") + db);
        QTest::mouseClick(pane->findChild<QWidget *>(QStringLiteral("btnRefresh")), Qt::LeftButton);
        QVERIFY(read.wait(20000));
        const QList<QListWidgetItem *> found = pane->lstFields()->findItems(QStringLiteral("CompanyName"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);

        // Dropped onto the detail: a caption label and a bound field, one step.
        DesignView *view = f->window->designer()->view();
        const BandGeometry *band = view->designScene()->bandOf(f->detail);
        QVERIFY(band);
        const QPoint at = view->mapFromScene(QPointF(720, band->bodyTop + 150));
        auto *mime = new QMimeData;
        mime->setData(QString::fromLatin1(FieldList::MimeType), QByteArray("CompanyName"));
        const int steps = f->core->undoStack()->count();
        const int before = f->detail->controls()->Count();
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &drop);
        delete mime;
        QCOMPARE(f->detail->controls()->Count(), before + 2);
        auto *label = qobject_cast<Label *>(f->detail->controls()->Item(before));
        auto *field = qobject_cast<Field *>(f->detail->controls()->Item(before + 1));
        QVERIFY(label && field);
        QCOMPARE(label->caption(), QStringLiteral("CompanyName"));
        QCOMPARE(field->dataField(), QStringLiteral("CompanyName"));
        QVERIFY(std::abs(label->left() - 720) < 100);
        QVERIFY(field->left() > label->left() + label->width() - 1);
        QCOMPARE(f->core->undoStack()->count(), steps + 1);
        f->core->ExecuteAction(DesignerAction::Undo);
        QCOMPARE(f->detail->controls()->Count(), before);
        f->ui.answer(MessageResult::No);
        f->window->close();
    }
};

QTEST_MAIN(TestDesignCommands)
#include "tst_designcommands.moc"
