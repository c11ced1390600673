// The object-properties window: not modal, it shows the first selected
// control, else the section, else the report, follows the selection, and
// its edits are the designer's undo steps.
#include "dialogs/properties/propertiesdialog.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"
#include "engine/widgets/propertylist/propertylist.h"
#include "engine/widgets/propertylist/propertyset.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

using namespace Orv;

class TestProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsTheSelection();
};

void TestProperties::followsTheSelection()
{
    DesignerCore core;
    QVERIFY(core.loadLayout(QStringLiteral(ORV_TEST_DATA "/dialogs/customers.rpx")).ok());
    Report *report = core.DesignedReport();
    Section *detail = report->sections()->Item(QStringLiteral("Detail"));
    Control *field = detail->controls()->Item(QStringLiteral("fldCompany"));
    QVERIFY(field);

    frmProperties dialog(&core, nullptr);
    dialog.SetObject(PropertiesModel::objectFor(core));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("属性"));
    QCOMPARE(dialog.bannerTitle()->text(), QStringLiteral("Report属性"));
    QCOMPARE(dialog.bannerSubtitle()->text(), QStringLiteral("填充属性设置"));
    QCOMPARE(dialog.propertyList()->objects(), QList<QObject *>{report});

    core.select(detail);
    QCOMPARE(dialog.bannerTitle()->text(), QStringLiteral("Section属性"));
    QCOMPARE(dialog.propertyList()->objects(), QList<QObject *>{detail});

    Control *second = detail->controls()->Add(QStringLiteral("OrvEngine.Label"));
    core.setSelection({field, second});
    QCOMPARE(dialog.bannerTitle()->text(), QStringLiteral("Field属性"));
    QCOMPARE(dialog.propertyList()->objects(), QList<QObject *>{field});

    // An edit in the window is one step of the designer's history.
    const int steps = core.undoStack()->count();
    QVERIFY(dialog.propertyList()->propertySet()->setText(QStringLiteral("Left"), QStringLiteral("1 in")).ok());
    QCOMPARE(field->left(), 1440.0);
    QCOMPARE(core.undoStack()->count(), steps + 1);
    core.undoStack()->undo();
    QCOMPARE(field->left(), 0.0);

    core.clearSelection();
    QCOMPARE(dialog.bannerTitle()->text(), QStringLiteral("Report属性"));
    QTest::mouseClick(dialog.btnOK(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(PropertiesModel::typeName(second), QStringLiteral("Label"));
}

QTEST_MAIN(TestProperties)
#include "tst_properties.moc"
