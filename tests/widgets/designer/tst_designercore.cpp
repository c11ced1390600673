#include "designertesting.h"

#include "engine/look/richtext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

using namespace Orv;
using namespace Orv::DesignerAction;
using namespace DesignerTesting;

class TestDesignerCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QGuiApplication::clipboard()->clear();
        core = std::make_unique<DesignerCore>();
        core->setPrompts(&prompts);
        prompts = ScriptedPrompts();
        loadSample(*core);
    }
    void cleanup() { core.reset(); }

    void statesFollowSelection()
    {
        QSignalSpy changed(core.get(), &DesignerCore::actionStateChanged);
        QCOMPARE(core->QueryActionState(Cut), 0);
        QCOMPARE(core->QueryActionState(AlignToGrid), 0);
        QCOMPARE(core->QueryActionState(Grid), Enabled | Checked);
        QCOMPARE(core->QueryActionState(Snap), Enabled | Checked);
        QCOMPARE(core->QueryActionState(InsertReportHF), Enabled);
        QCOMPARE(core->QueryActionState(InsertPageHF), 0); // the sample has a page header
        QCOMPARE(core->QueryActionState(ReorderGroups), 0);
        QCOMPARE(core->QueryActionState(Open), Enabled);
        QCOMPARE(core->QueryActionState(None), 0);

        selectNames(*core, {"lblA"});
        QVERIFY(changed.contains(QVariantList{int(Cut)}));
        QCOMPARE(core->QueryActionState(Copy), Enabled);
        QCOMPARE(core->QueryActionState(AlignLefts), 0);
        QCOMPARE(core->QueryActionState(AlignToGrid), Enabled);
        QCOMPARE(core->QueryActionState(Bold), Enabled);
        QCOMPARE(core->QueryActionState(AlignLeft), Enabled | Checked);
        QCOMPARE(core->QueryActionState(FontName), Enabled);
        QCOMPARE(core->QueryActionState(LineColor), 0);
        QCOMPARE(core->QueryActionState(Bullet), 0);
        QCOMPARE(core->QueryActionState(DeleteSection), 0); // the detail stays

        selectNames(*core, {"shpC", "lnD"});
        QCOMPARE(core->QueryActionState(AlignLefts), Enabled);
        QCOMPARE(core->QueryActionState(SpaceVEven), 0);
        QCOMPARE(core->QueryActionState(FontName), 0);
        QCOMPARE(core->QueryActionState(LineStyle), Enabled);
        QCOMPARE(core->QueryActionState(DesignerAction::Border), Enabled); // the shape has one
        selectNames(*core, {"shpC", "lnD", "lblA"});
        QCOMPARE(core->QueryActionState(SpaceVEven), Enabled);

        QVERIFY(core->ExecuteAction(Lock));
        QCOMPARE(core->QueryActionState(Lock), Enabled | Checked);
        QCOMPARE(core->QueryActionState(AlignLefts), 0);
        QVERIFY(!core->nudgeSelection(90, 0, false));
        QVERIFY(core->ExecuteAction(Lock));
        QCOMPARE(core->QueryActionState(AlignLefts), Enabled);

        // A section selected: section commands, no control commands.
        core->select(section(*core, "PageHeader"));
        QCOMPARE(core->QueryActionState(Cut), 0);
        QCOMPARE(core->QueryActionState(DeleteSection), Enabled);
        QCOMPARE(core->QueryActionState(BackColor), Enabled);
        // Mixing a section into a control selection keeps the controls.
        core->setSelection({section(*core, "Detail"), control(*core, "lblA")});
        QCOMPARE(core->Selection()->Count(), 1);
        QCOMPARE(core->Selection()->Item(0), control(*core, "lblA"));
        QVERIFY(!core->Selection()->Item(1));
    }

    void layoutCommands_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QStringList>("expected");
        const QStringList abc{"lblA", "fldB", "shpC"};
        QTest::newRow("lefts") << int(AlignLefts) << abc << QStringList{"fldB.Left=100", "shpC.Left=100"};
        QTest::newRow("rights") << int(AlignRights) << abc << QStringList{"fldB.Left=600", "shpC.Left=300"};
        QTest::newRow("centers") << int(AlignCenters) << abc << QStringList{"fldB.Left=350", "shpC.Left=200"};
        QTest::newRow("tops") << int(AlignTops) << abc << QStringList{"fldB.Top=100", "shpC.Top=100"};
        QTest::newRow("middles") << int(AlignMiddles) << abc << QStringList{"fldB.Top=150", "shpC.Top=50"};
        QTest::newRow("bottoms") << int(AlignBottoms) << abc << QStringList{"fldB.Top=200", "shpC.Top=0"};
        QTest::newRow("grid") << int(AlignToGrid) << abc
                              << QStringList{"lblA.Left=90", "lblA.Top=90", "fldB.Left=360", "fldB.Top=720", "shpC.Top=1530"};
        QTest::newRow("centre in section") << int(CenterInSection) << abc
                                           << QStringList{"lblA.Left=3880", "fldB.Left=4180", "shpC.Left=4680"};
        QTest::newRow("same width") << int(SameWidth) << abc << QStringList{"fldB.Width=1000", "shpC.Width=1000", "shpC.Height=400"};
        QTest::newRow("same height") << int(SameHeight) << abc << QStringList{"fldB.Height=300", "shpC.Height=300", "shpC.Width=800"};
        QTest::newRow("same size") << int(SameSize) << abc << QStringList{"fldB.Width=1000", "shpC.Height=300"};
        QTest::newRow("v even") << int(SpaceVEven) << QStringList{"shpC", "lblA", "fldB"}
                                << QStringList{"lblA.Top=100", "fldB.Top=850", "shpC.Top=1500"};
        QTest::newRow("v more") << int(IncVSpace) << abc << QStringList{"lblA.Top=100", "fldB.Top=790", "shpC.Top=1680"};
        QTest::newRow("v less") << int(DecVSpace) << abc << QStringList{"fldB.Top=610", "shpC.Top=1320"};
        QTest::newRow("h even") << int(SpaceHEven) << abc << QStringList{"fldB.Left=750", "shpC.Left=900"};
        QTest::newRow("h more") << int(IncHSpace) << abc << QStringList{"fldB.Left=490", "shpC.Left=1080"};
        QTest::newRow("h less") << int(DecHSpace) << QStringList{"lblA", "rtfE"} << QStringList{"rtfE.Left=2910"};
        // A line's box moves with it: its end points follow.
        QTest::newRow("line") << int(AlignLefts) << QStringList{"shpC", "lnD"} << QStringList{"lnD.X1=900", "lnD.X2=2900"};
    }

    // Each layout command: its effect, one undo step, and undo giving the
    // layout back byte for byte.
    void layoutCommands()
    {
        QFETCH(int, code);
        QFETCH(QStringList, selection);
        QFETCH(QStringList, expected);
        const QByteArray before = bytes(*core);
        selectNames(*core, selection);
        QVERIFY(core->ExecuteAction(DesignerAction::Code(code)));
        for (const QString &e : expected) {
            const QString name = e.section(u'.', 0, 0);
            const QString prop = e.section(u'.', 1).section(u'=', 0, 0);
            const double value = e.section(u'=', 1).toDouble();
            QCOMPARE(control(*core, name)->property(prop.toLatin1()).toDouble(), value);
        }
        QCOMPARE(core->undoStack()->count(), 1);
        QVERIFY(core->IsDirty());
        QVERIFY(core->ExecuteAction(Undo));
        QCOMPARE(bytes(*core), before);
        QVERIFY(!core->IsDirty()); // back where it was saved
    }

    void zOrder()
    {
        const QByteArray before = bytes(*core);
        Controls *detail = section(*core, "Detail")->controls();
        selectNames(*core, {"lblA", "shpC"});
        QVERIFY(core->ExecuteAction(BringToFront));
        QCOMPARE(detail->indexOf(control(*core, "lblA")), 3);
        QCOMPARE(detail->indexOf(control(*core, "shpC")), 4);
        QVERIFY(!core->ExecuteAction(BringToFront)); // already there
        selectNames(*core, {"rtfE"});
        QVERIFY(core->ExecuteAction(SendToBack));
        QCOMPARE(detail->indexOf(control(*core, "rtfE")), 0);
        core->undoStack()->undo();
        core->undoStack()->undo();
        QCOMPARE(bytes(*core), before);
    }

    void formatting()
    {
        const QByteArray before = bytes(*core);
        auto *label = qobject_cast<Label *>(control(*core, "lblA"));
        auto *field = qobject_cast<Field *>(control(*core, "fldB"));
        auto *rich = qobject_cast<RichEdit *>(control(*core, "rtfE"));
        auto *shape = qobject_cast<Shape *>(control(*core, "shpC"));
        auto *line = qobject_cast<Line *>(control(*core, "lnD"));
        selectNames(*core, {"lblA", "fldB", "rtfE", "shpC", "lnD"});

        QVERIFY(core->ExecuteAction(Bold));
        QVERIFY(label->font()->bold() && field->font()->bold() && rich->font()->bold());
        QCOMPARE(core->QueryActionState(Bold), Enabled | Checked);
        QVERIFY(core->ExecuteAction(Bold));
        QVERIFY(!label->font()->bold());
        QVERIFY(core->ExecuteAction(Italic));
        QVERIFY(core->ExecuteAction(Underline));
        QVERIFY(field->font()->italic() && field->font()->underline());
        QVERIFY(core->ExecuteAction(AlignRight));
        QCOMPARE(label->alignment(), 1);
        QCOMPARE(core->QueryActionState(AlignRight), Enabled | Checked);
        QCOMPARE(core->QueryActionState(AlignLeft), Enabled);
        QVERIFY(core->ExecuteAction(AlignCenter));
        QCOMPARE(rich->alignment(), 2);

        // Font, size and style reach labels, fields and check boxes only.
        prompts.font = DesignerFont{"Times New Roman", 14, true, false, false, true};
        QVERIFY(core->ExecuteAction(FontName));
        QCOMPARE(label->font()->name(), QStringLiteral("Times New Roman"));
        QCOMPARE(field->font()->size(), 14.0);
        QVERIFY(field->font()->strikethrough());
        QCOMPARE(rich->font()->name(), QStringLiteral("Arial"));
        prompts.fontSize = 9;
        QVERIFY(core->ExecuteAction(FontSize));
        QCOMPARE(label->font()->size(), 9.0);
        prompts.style = QStringLiteral("Heading2");
        QVERIFY(core->ExecuteAction(Style));
        QCOMPARE(field->className(), QStringLiteral("Heading2"));
        QCOMPARE(rich->className(), QStringLiteral("Normal"));

        prompts.color = 0x0000ff;
        QVERIFY(core->ExecuteAction(ForeColor));
        QCOMPARE(prompts.lastColorCode, int(ForeColor));
        QCOMPARE(label->foreColor(), 0x0000ff);
        prompts.color = 0x00ff00;
        QVERIFY(core->ExecuteAction(BackColor));
        QCOMPARE(shape->backStyle(), BackStyle::Opaque);
        QCOMPARE(shape->backColor(), 0x00ff00);
        prompts.color = 0xff0000;
        QVERIFY(core->ExecuteAction(LineColor));
        QCOMPARE(line->lineColor(), 0xff0000);
        QCOMPARE(shape->lineColor(), 0xff0000);
        QCOMPARE(label->foreColor(), 0x0000ff);
        prompts.lineStyle = 2;
        QVERIFY(core->ExecuteAction(LineStyle));
        QCOMPARE(line->lineStyle(), 2);
        prompts.border = DesignerBorder{7, DesignerBorder::Top | DesignerBorder::Bottom, 0x808080};
        QVERIFY(core->ExecuteAction(DesignerAction::Border));
        QCOMPARE(label->border()->topStyle(), 7);
        QCOMPARE(label->border()->bottomColor(), 0x808080);
        QCOMPARE(label->border()->leftStyle(), 0);

        // Rich text paragraphs: bullets and indents on the whole text.
        QVERIFY(core->ExecuteAction(Bullet));
        QVERIFY(RichText::isRtf(rich->text()));
        QCOMPARE(core->QueryActionState(Bullet), Enabled | Checked);
        QCOMPARE(core->QueryActionState(Outdent), 0);
        QVERIFY(core->ExecuteAction(Indent));
        QCOMPARE(core->QueryActionState(Outdent), Enabled);
        QVERIFY(core->ExecuteAction(Outdent));
        QCOMPARE(core->QueryActionState(Outdent), 0);

        // A cancelled prompt changes nothing and leaves no undo step.
        prompts.color.reset();
        const int steps = core->undoStack()->count();
        QVERIFY(!core->ExecuteAction(ForeColor));
        QCOMPARE(core->undoStack()->count(), steps);

        while (core->undoStack()->canUndo())
            core->undoStack()->undo();
        QCOMPARE(bytes(*core), before);
    }

    void sections()
    {
        Sections *sections = core->DesignedReport()->sections();
        const QByteArray before = bytes(*core);
        QVERIFY(core->ExecuteAction(InsertReportHF));
        QCOMPARE(sections->Item(0)->type(), Section::ReportHeader);
        QCOMPARE(sections->Item(sections->Count() - 1)->type(), Section::ReportFooter);
        QCOMPARE(core->QueryActionState(InsertReportHF), 0);
        QVERIFY(!core->ExecuteAction(InsertReportHF));

        QVERIFY(core->ExecuteAction(InsertGroupHF));
        QVERIFY(core->ExecuteAction(InsertGroupHF));
        Section *outer = sections->Item(QStringLiteral("GroupHeader1"));
        Section *inner = sections->Item(QStringLiteral("GroupHeader2"));
        QVERIFY(outer && inner);
        QVERIFY(sections->indexOf(outer) < sections->indexOf(inner));
        QCOMPARE(core->QueryActionState(ReorderGroups), Enabled);
        prompts.groupOrder = std::vector<int>{1, 0};
        QVERIFY(core->ExecuteAction(ReorderGroups));
        QCOMPARE(prompts.lastGroupNames, (QStringList{"GroupHeader1", "GroupHeader2"}));
        QVERIFY(sections->indexOf(inner) < sections->indexOf(outer));
        // Pairs stay whole: the inner header's footer comes first after the detail.
        QCOMPARE(sections->groupFooterFor(inner)->name(), QStringLiteral("GroupFooter2"));
        QVERIFY(sections->validate().ok());
        prompts.groupOrder = std::vector<int>{0, 0};
        QVERIFY(!core->ExecuteAction(ReorderGroups));

        // Deleting a group header takes its footer along.
        core->select(outer);
        QVERIFY(core->ExecuteAction(DeleteSection));
        QVERIFY(!sections->Item(QStringLiteral("GroupHeader1")) && !sections->Item(QStringLiteral("GroupFooter1")));
        core->select(section(*core, "PageFooter"));
        QVERIFY(core->ExecuteAction(Delete));
        QVERIFY(!sections->firstOfType(Section::PageHeader));
        QCOMPARE(core->QueryActionState(InsertPageHF), Enabled);
        core->select(section(*core, "Detail"));
        QCOMPARE(core->QueryActionState(DeleteSection), 0);

        while (core->undoStack()->canUndo())
            core->undoStack()->undo();
        QCOMPARE(bytes(*core), before);
        while (core->undoStack()->canRedo())
            core->undoStack()->redo();
        QCOMPARE(sections->countOfType(Section::GroupHeader), 1);
        QVERIFY(!sections->firstOfType(Section::PageFooter));
    }

    void clipboard()
    {
        Section *header = section(*core, "PageHeader");
        const QByteArray before = bytes(*core);
        QCOMPARE(core->QueryActionState(Paste), 0);
        selectNames(*core, {"lblA", "shpC"});
        QVERIFY(core->ExecuteAction(Copy));
        QVERIFY(QGuiApplication::clipboard()->text().contains(QLatin1String("<OrvReportFragment")));
        QCOMPARE(core->QueryActionState(Paste), Enabled);

        // Into another section: same properties, names made unique.
        core->select(header);
        QVERIFY(core->ExecuteAction(Paste));
        QCOMPARE(header->controls()->Count(), 3);
        Control *copy = header->controls()->Item(1);
        QCOMPARE(copy->name(), QStringLiteral("Label1"));
        QCOMPARE(copy->property("Caption").toString(), QStringLiteral("A"));
        // The label lands on the header's own label, so both move a step.
        QCOMPARE(copy->left(), 190.0);
        QCOMPARE(header->controls()->Item(2)->left(), 990.0);
        QCOMPARE(core->Selection()->Count(), 2);
        QCOMPARE(header->height(), 1990.0); // grown to hold the shape
        QCOMPARE(core->undoStack()->count(), 1);

        // Over its originals a paste moves one grid step down and right.
        core->select(section(*core, "Detail"));
        QVERIFY(core->ExecuteAction(Paste));
        QCOMPARE(core->primaryControl()->left(), 190.0);
        QCOMPARE(core->primaryControl()->top(), 190.0);
        QCOMPARE(core->primaryControl()->name(), QStringLiteral("Label2"));

        // Cut is one step: the controls go and come back with undo.
        selectNames(*core, {"fldB"});
        QVERIFY(core->ExecuteAction(Cut));
        QVERIFY(!control(*core, "fldB"));
        QCOMPARE(core->Selection()->Count(), 0);
        core->undoStack()->undo();
        QVERIFY(control(*core, "fldB"));
        core->undoStack()->undo();
        core->undoStack()->undo();
        QCOMPARE(bytes(*core), before);

        // Text that is not a fragment is not pasted.
        QGuiApplication::clipboard()->setText(QStringLiteral("<OrvReportFragment version=\"1\"><Nonsense/>"));
        QVERIFY(!core->ExecuteAction(Paste));
        QGuiApplication::clipboard()->setText(QStringLiteral("plain words"));
        QCOMPARE(core->QueryActionState(Paste), 0);
        std::vector<std::unique_ptr<Control>> loaded;
        const Status bad = LoadLayoutFragment("<OrvReportFragment version=\"1\"><Control Type=\"Nope\"/></OrvReportFragment>", &loaded);
        QCOMPARE(bad.number(), int(ErrBadFileFormat));
        QVERIFY(bad.description().contains(QLatin1String("line 1")));
        QVERIFY(loaded.empty());
    }

    // Every kind of edit the mouse and keys make, undone and redone step by
    // step, each state compared byte for byte.
    void undoRedoEveryEdit()
    {
        Section *detail = section(*core, "Detail");
        Section *header = section(*core, "PageHeader");
        std::vector<QByteArray> states{bytes(*core)};
        auto step = [&](bool done) {
            QVERIFY(done);
            states.push_back(bytes(*core));
        };
        step(core->insertControl(QStringLiteral("OrvEngine.Label"), detail, {1440, 1440}, {2880, 1800}) != nullptr);
        step(core->insertControl(QStringLiteral("orvengine.line"), header, {0, 100}, {1000, 600}) != nullptr);
        step(core->placeControls({{control(*core, "lblA"), header, QRectF(200, 500, 1000, 300)}}, "Move"));
        selectNames(*core, {"fldB", "shpC"});
        step(core->nudgeSelection(90, 0, false));
        step(core->nudgeSelection(0, -15, true));
        step(core->setSectionHeight(detail, 4320));
        step(core->setLineEnds(control(*core, "lnD"), {100, 100}, {3000, 3000}));
        step(core->setControlText(control(*core, "rtfE"), QStringLiteral("{\\rtf1 new \\b text\\b0}")));
        step(core->setControlText(control(*core, "fldB"), QStringLiteral("Quantity")));
        selectNames(*core, {"rtfE"});
        step(core->ExecuteAction(Bullet));
        step(core->ExecuteAction(SendToBack));
        step(core->ExecuteAction(Delete));
        QCOMPARE(header->controls()->Count(), 3);
        QCOMPARE(control(*core, "lblA")->section(), header);
        QCOMPARE(detail->height(), 4320.0);
        QCOMPARE(core->undoStack()->count(), int(states.size()) - 1);

        for (size_t i = states.size() - 1; i > 0; --i) {
            core->undoStack()->undo();
            QCOMPARE(bytes(*core), states[i - 1]);
        }
        for (size_t i = 1; i < states.size(); ++i) {
            core->undoStack()->redo();
            QCOMPARE(bytes(*core), states[i]);
        }
    }

    void nudgesJoinAndGrowSections()
    {
        selectNames(*core, {"shpC"});
        QVERIFY(core->nudgeSelection(0, 90, false));
        QVERIFY(core->nudgeSelection(0, 90, false));
        QVERIFY(core->nudgeSelection(0, 90, false));
        QCOMPARE(core->undoStack()->count(), 1);
        QCOMPARE(control(*core, "shpC")->top(), 1770.0);
        // Moving past the bottom grows the section in the same step.
        QVERIFY(core->nudgeSelection(0, 1440, false));
        QCOMPARE(section(*core, "Detail")->height(), 3610.0);
        // Nothing goes above or left of the section.
        QVERIFY(core->nudgeSelection(-5000, -9000, false));
        QCOMPARE(control(*core, "shpC")->left(), 0.0);
        QCOMPARE(control(*core, "shpC")->top(), 0.0);
        // Resizing never goes below zero.
        QVERIFY(core->nudgeSelection(-9000, 0, true));
        QCOMPARE(control(*core, "shpC")->width(), 0.0);
        QCOMPARE(core->undoStack()->count(), 2);
        // A different selection starts a new step.
        selectNames(*core, {"lblA"});
        QVERIFY(core->nudgeSelection(15, 0, false));
        QCOMPARE(core->undoStack()->count(), 3);
    }

    void insertion()
    {
        QSignalSpy added(core.get(), &DesignerCore::objectAdded);
        QVERIFY(!core->setInsertControlType(QStringLiteral("OrvEngine.Nonsense")));
        QCOMPARE(core->InsertControlType(), QString());
        QVERIFY(core->setInsertControlType(QStringLiteral("orvengine.BARCODE")));
        Section *footer = section(*core, "PageFooter");
        // A click gives the kind's own size; the section grows to hold it.
        Control *c = core->insertControl(core->InsertControlType(), footer, {300, 200}, {310, 205});
        QVERIFY(qobject_cast<Barcode *>(c));
        QCOMPARE(c->width(), 2880.0);
        QCOMPARE(footer->height(), 920.0);
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).value<QObject *>(), c);
        QCOMPARE(added.at(0).at(1).toInt(), 7);
        QCOMPARE(core->InsertControlType(), QString());
        QCOMPARE(core->primaryControl(), c);
        Control *label = core->insertControl(QStringLiteral("OrvEngine.Label"), footer, {0, 0}, {900, 300});
        QCOMPARE(label->name(), QStringLiteral("Label1"));
        QCOMPARE(label->property("Caption").toString(), QStringLiteral("Label1"));
        core->undoStack()->undo();
        core->undoStack()->undo();
        QCOMPARE(footer->controls()->Count(), 0);
        QCOMPARE(footer->height(), 360.0);
    }

    // Text styles: the style action gives the style's look, a new control
    // starts in Normal's, and a changed style carries the controls of that
    // style along in every part the control did not set itself; a tried
    // change put back leaves the design exactly as it was.
    void textStyles()
    {
        auto *title = qobject_cast<Label *>(control(*core, "lblTitle"));
        auto *label = qobject_cast<Label *>(control(*core, "lblA"));
        auto *field = qobject_cast<Field *>(control(*core, "fldB"));
        auto *rich = qobject_cast<RichEdit *>(control(*core, "rtfE"));
        QCOMPARE(core->textStyles().names(), DesignerCore::styleNames());
        QVERIFY(core->textStyles().find(QStringLiteral("heading 1")));
        QVERIFY(!core->textStyles().find(QStringLiteral("Heading4")));

        selectNames(*core, {"lblTitle"});
        QVERIFY(core->applyStyle(QStringLiteral("heading 1")));
        QCOMPARE(title->className(), QStringLiteral("Heading1"));
        QCOMPARE(title->font()->size(), 16.0);
        QVERIFY(title->font()->bold());
        selectNames(*core, {"fldB"});
        QVERIFY(core->applyFontSize(9)); // the field's own size
        core->DesignedReport()->setIsDirty(false);
        const QByteArray saved = bytes(*core);
        const int steps = core->undoStack()->count();
        QSignalSpy stylesChanged(core.get(), &DesignerCore::textStylesChanged);

        // Tried out: Normal larger, red on yellow.
        core->beginStyleChange();
        TextLook normal = core->textStyles().find(QStringLiteral("Normal"))->look;
        normal.fontSize = 12;
        normal.foreColor = 0x0000ff;
        normal.backColor = 0x00ffff;
        QVERIFY(core->setTextStyle(QStringLiteral("Normal"), normal));
        QVERIFY(!core->setTextStyle(QStringLiteral("Normal"), normal));
        QCOMPARE(label->font()->size(), 12.0);
        QCOMPARE(label->foreColor(), 0x0000ff);
        QCOMPARE(label->backStyle(), BackStyle::Opaque);
        QCOMPARE(label->backColor(), 0x00ffff);
        QCOMPARE(field->font()->size(), 9.0); // its own
        QCOMPARE(field->foreColor(), 0x0000ff);
        QCOMPARE(title->foreColor(), 0); // Heading1
        QCOMPARE(rich->foreColor(), 0);  // no style of its own
        // Back through the field's size and on: the field keeps its 9.
        normal.fontSize = 9;
        QVERIFY(core->setTextStyle(QStringLiteral("Normal"), normal));
        normal.fontSize = 11;
        QVERIFY(core->setTextStyle(QStringLiteral("Normal"), normal));
        QCOMPARE(field->font()->size(), 9.0);
        QCOMPARE(label->font()->size(), 11.0);
        QCOMPARE(core->undoStack()->count(), steps);
        core->endStyleChange(false);
        QCOMPARE(bytes(*core), saved);
        QCOMPARE(core->textStyles().find(QStringLiteral("Normal"))->look, TextLook());
        QVERIFY(!core->IsDirty());
        QCOMPARE(core->undoStack()->count(), steps);
        QCOMPARE(stylesChanged.count(), 4);

        // Kept: one undo step for the controls; the style stays.
        TextLook heading = core->textStyles().find(QStringLiteral("Heading1"))->look;
        heading.italic = true;
        QVERIFY(core->setTextStyle(QStringLiteral("Heading1"), heading));
        QVERIFY(title->font()->italic());
        QCOMPARE(core->undoStack()->count(), steps + 1);
        QVERIFY(core->IsDirty());
        core->undoStack()->undo();
        QCOMPARE(bytes(*core), saved);
        QVERIFY(core->textStyles().find(QStringLiteral("Heading1"))->look.italic);

        // A new label takes Normal's look; a shape has none to take.
        normal = TextLook();
        normal.fontName = QStringLiteral("Courier New");
        normal.alignment = 2;
        QVERIFY(core->setTextStyle(QStringLiteral("normal"), normal));
        Control *added = core->insertControl(QStringLiteral("OrvEngine.Label"), section(*core, "Detail"), {0, 0}, {900, 300});
        auto *fresh = qobject_cast<Label *>(added);
        QCOMPARE(fresh->font()->name(), QStringLiteral("Courier New"));
        QCOMPARE(fresh->alignment(), 2);
        QCOMPARE(fresh->backStyle(), BackStyle::Transparent);
        QCOMPARE(field->font()->name(), QStringLiteral("Courier New"));
        QCOMPARE(field->alignment(), 2);
        QVERIFY(!core->setTextStyle(QStringLiteral("Heading4"), normal));
    }

    void changesFromOutside()
    {
        QSignalSpy structure(core.get(), &DesignerCore::structureChanged);
        QSignalSpy selection(core.get(), &DesignerCore::selectionChanged);
        QSignalSpy objects(core.get(), &DesignerCore::objectChanged);
        selectNames(*core, {"lblA", "fldB"});
        selection.clear();
        QVERIFY(core->ExecuteAction(AlignTops));
        QVERIFY(core->undoStack()->canUndo());
        // A property set directly is passed on, and undo stays.
        control(*core, "shpC")->setLeft(10);
        QVERIFY(objects.count() > 0);
        QVERIFY(core->undoStack()->canUndo());
        // Controls removed behind the designer's back leave the selection,
        // and the history, which cannot vouch for them, starts afresh.
        Controls *detail = section(*core, "Detail")->controls();
        QVERIFY(detail->Remove(detail->indexOf(control(*core, "fldB"))).ok());
        QCOMPARE(selection.count(), 1);
        QCOMPARE(core->Selection()->Count(), 1);
        QVERIFY(structure.count() > 0);
        QVERIFY(!core->undoStack()->canUndo());
        // A save marks the state clean; undoing to it does not, after such a change.
        QVERIFY(core->IsDirty());
        QByteArray saved;
        QVERIFY(SaveLayout(*core->DesignedReport(), QString(), LayoutFile::ToBytes, &saved).ok());
        core->DesignedReport()->setIsDirty(false);
        QVERIFY(core->ExecuteAction(Bold));
        QVERIFY(core->IsDirty());
        core->undoStack()->undo();
        QVERIFY(!core->IsDirty());

        core->NewLayout();
        QCOMPARE(core->Selection()->Count(), 0);
        QCOMPARE(core->DesignedReport()->sections()->Count(), 3);
        QVERIFY(!core->IsDirty());
        Report copy;
        core->CopyLayoutTo(&copy);
        QCOMPARE(layoutBytes(copy), bytes(*core));
    }

private:
    std::unique_ptr<DesignerCore> core;
    ScriptedPrompts prompts;
};

QTEST_MAIN(TestDesignerCore)
#include "tst_designercore.moc"
