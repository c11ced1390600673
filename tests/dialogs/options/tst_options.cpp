// The options dialog driven offscreen: the grid follows its boxes while it
// is open, OK keeps the grid and Cancel puts it back, rows that are no
// number are refused next to the box, and the style pages.
#include "../dialogclicks.h"

#include "dialogs/options/optionsdialog.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/propertylist/propertyset.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

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

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridFollowsTheDialog();
    void stylePages();
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

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
