// The options dialog driven offscreen: the grid follows its boxes while it
// is open, OK keeps the grid and Cancel puts it back, rows that are no
// number are refused next to the box, and the style pages, whose changes
// the designer draws at once.
#include "../dialogclicks.h"

#include "dialogs/options/optionsdialog.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designer.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/designer/designview.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/propertylist/propertyset.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

using namespace Orv;
using DialogTest::clickTopic;
using DialogTest::retype;
using DialogTest::toggle;

namespace {

QStringList names(const PropertySet &set)
{
    QStringList out;
    for (const auto &node : set.nodes())
        out << node->info.name;
    return out;
}

// The red pixels of a picture and the rows they span.
struct Red
{
    int count = 0;
    int top = -1;
    int bottom = -1;
};

Red redIn(const QImage &image)
{
    Red red;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90) {
                ++red.count;
                red.top = red.top < 0 ? y : red.top;
                red.bottom = y;
            }
        }
    }
    return red;
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridFollowsTheDialog();
    void stylePages();
    void stylesShowInTheDesigner();
};

void TestOptions::gridFollowsTheDialog()
{
    DesignerCore core;
    QVERIFY(core.ShowGrid());
    QCOMPARE(core.gridRows(), 16);
    {
        frmOptions dialog(&core, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选项"));
        QCOMPARE(dialog.bannerTitle()->text(), QStringLiteral("报表选项"));
        QCOMPARE(dialog.currentPage(), 0);
        QCOMPARE(dialog.txtGridUnits(0)->text(), QStringLiteral("16"));
        QCOMPARE(dialog.txtGridUnits(1)->text(), QStringLiteral("16"));
        QVERIFY(dialog.chkShowGrid()->isChecked());
        QVERIFY(dialog.optRuler(0)->isChecked());
        // Each change shows in the designer at once.
        toggle(dialog.chkShowGrid());
        QVERIFY(!core.ShowGrid());
        toggle(dialog.chkSnapToGrid());
        QVERIFY(!core.snapToGrid());
        toggle(dialog.optRuler(1));
        QVERIFY(core.metricGrid());
        retype(dialog.txtGridUnits(1), QStringLiteral("5"));
        QCOMPARE(core.gridRows(), 5);
        QCOMPARE(core.gridStep(), 1440 / 2.54 / 5);
        QTest::mouseClick(dialog.btnCancel(), Qt::LeftButton);
    }
    // Cancel put it all back.
    QVERIFY(core.ShowGrid());
    QVERIFY(core.snapToGrid());
    QVERIFY(!core.metricGrid());
    QCOMPARE(core.gridRows(), 16);

    frmOptions dialog(&core, nullptr);
    dialog.show();
    QCOMPARE(dialog.txtGridUnits(0)->text(), QStringLiteral("16"));
    retype(dialog.txtGridUnits(0), QStringLiteral("abc"));
    QVERIFY(dialog.lblGridError()->isVisible());
    QVERIFY(dialog.lblGridError()->text().contains(QStringLiteral("abc")));
    QCOMPARE(core.gridRows(), 16);
    QTest::mouseClick(dialog.btnOK(), Qt::LeftButton);
    QVERIFY(dialog.isVisible()); // refused
    retype(dialog.txtGridUnits(0), QStringLiteral("101"));
    QVERIFY(dialog.lblGridError()->isVisible());
    retype(dialog.txtGridUnits(0), QStringLiteral("8"));
    QVERIFY(!dialog.lblGridError()->isVisible());
    QTest::mouseClick(dialog.btnOK(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(core.gridRows(), 8);
    QCOMPARE(core.gridStep(), 180.0);
}

void TestOptions::stylePages()
{
    DesignerCore core;
    frmOptions dialog(&core, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList expected{QStringLiteral("Font"), QStringLiteral("Backcolor"), QStringLiteral("Forecolor"),
                               QStringLiteral("Horizontal"), QStringLiteral("Vertical")};
    clickTopic(dialog, QStringLiteral("STY1"));
    QCOMPARE(dialog.currentPage(), 1);
    QCOMPARE(names(*dialog.plStyle()->propertySet()), expected);
    QCOMPARE(dialog.plStyle()->propertySet()->node(QStringLiteral("Backcolor"))->info.kind, PropertyKind::Color);
    // Heading 2 shows the same page with its own values: 14 pt bold.
    clickTopic(dialog, QStringLiteral("STY3"));
    QCOMPARE(dialog.currentPage(), 1);
    QCOMPARE(names(*dialog.plStyle()->propertySet()), expected);
    QCOMPARE(dialog.plStyle()->objects().first()->objectName(), QStringLiteral("Heading 2"));
    QCOMPARE(dialog.plStyle()->propertySet()->node(QStringLiteral("Font.Size"))->value.toDouble(), 14.0);
    // An edit lands in the style.
    QVERIFY(dialog.plStyle()->propertySet()->setText(QStringLiteral("Horizontal"), QStringLiteral("Center")).ok());
    QCOMPARE(dialog.model().styles()[2]->horizontal(), 2);
    // Collapsing the group is undone.
    dialog.topic(QStringLiteral("OPT_STYLES"))->setExpanded(false);
    QVERIFY(dialog.topic(QStringLiteral("OPT_STYLES"))->isExpanded());
}

void TestOptions::stylesShowInTheDesigner()
{
    Designer designer;
    designer.resize(900, 600);
    DesignerCore *core = designer.core();
    Section *detail = core->DesignedReport()->sections()->Item(QStringLiteral("Detail"));
    auto *heading = qobject_cast<Label *>(detail->controls()->Add(QStringLiteral("OrvEngine.Label")));
    heading->setCaption(QStringLiteral("Heading"));
    heading->setClassName(QStringLiteral("Heading1"));
    heading->font()->setSize(16);
    heading->font()->setBold(true);
    heading->setWidth(4000);
    heading->setHeight(1000);
    auto *plain = qobject_cast<Label *>(detail->controls()->Add(QStringLiteral("OrvEngine.Label")));
    plain->setCaption(QStringLiteral("Plain"));
    plain->setTop(1100);
    plain->setWidth(4000);
    plain->setHeight(1000);
    core->undoStack()->clear();
    core->setIsDirty(false);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    QWidget *viewport = designer.view()->viewport();
    const auto picture = [&](const Control *c) { return viewport->grab(designer.view()->viewportRectOf(c)).toImage(); };
    const QImage headingBefore = picture(heading);
    const QImage plainBefore = picture(plain);
    QCOMPARE(redIn(headingBefore).count, 0);

    {
        frmOptions dialog(core, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        clickTopic(dialog, QStringLiteral("STY2"));
        QCOMPARE(dialog.plStyle()->objects().first()->objectName(), QStringLiteral("Heading 1"));
        PropertySet *set = dialog.plStyle()->propertySet();
        QCOMPARE(set->node(QStringLiteral("Font.Size"))->value.toDouble(), 16.0);
        // Red, then larger: the heading is drawn so while the dialog is open.
        QVERIFY(set->setValue(QStringLiteral("Forecolor"), 0x0000ff).ok());
        QApplication::processEvents();
        const Red red = redIn(picture(heading));
        QVERIFY(red.count > 20);
        QVERIFY(set->setText(QStringLiteral("Font.Size"), QStringLiteral("32")).ok());
        QApplication::processEvents();
        QCOMPARE(heading->font()->size(), 32.0);
        const Red larger = redIn(picture(heading));
        QVERIFY2(larger.bottom - larger.top > (red.bottom - red.top) * 3 / 2,
                 qPrintable(QStringLiteral("%1 %2").arg(larger.bottom - larger.top).arg(red.bottom - red.top)));
        QCOMPARE(picture(plain), plainBefore); // Normal is as it was
        QTest::mouseClick(dialog.btnCancel(), Qt::LeftButton);
    }
    // Cancel: the heading is drawn as before, its style as it was.
    QApplication::processEvents();
    QCOMPARE(picture(heading), headingBefore);
    QCOMPARE(core->textStyles().find(QStringLiteral("Heading1"))->look.fontSize, 16.0);
    QCOMPARE(core->undoStack()->count(), 0);
    QVERIFY(!core->IsDirty());

    // OK keeps it: the next opening shows the style so, and Undo takes the
    // heading back.
    {
        frmOptions dialog(core, nullptr);
        dialog.show();
        clickTopic(dialog, QStringLiteral("STY2"));
        QVERIFY(dialog.plStyle()->propertySet()->setValue(QStringLiteral("Forecolor"), 0x0000ff).ok());
        QTest::mouseClick(dialog.btnOK(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
    QCOMPARE(heading->foreColor(), 0x0000ff);
    QCOMPARE(core->undoStack()->count(), 1);
    frmOptions again(core, nullptr);
    QCOMPARE(again.model().styles()[1]->foreColor(), 0x0000ff);
    QCOMPARE(again.model().styles()[0]->foreColor(), 0);
    again.reject();
    core->undoStack()->undo();
    QApplication::processEvents();
    QCOMPARE(picture(heading), headingBefore);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
