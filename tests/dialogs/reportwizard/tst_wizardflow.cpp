// The wizard's page rules without its window, on the sample database:
// what Next and Back allow, the field, group and sort pages' lists, and
// the relation and group options dialogs' models.

#include "dialogs/reportwizard/wizardflow.h"
#include "engine/data/sampledatabase.h"
#include "ui/recordingui.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;

class TestWizardFlow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

    // A flow on the field page of the sample database.
    bool toFields(WizardFlow &flow)
    {
        flow.showPage(0);
        if (!flow.next())
            return false;
        flow.connectString = QStringLiteral("Data Source=") + m_db;
        return flow.next() && flow.page() == 2;
    }

    static void pick(WizardFlow &flow, const QString &table, const QString &field)
    {
        flow.chooseTable(int(flow.tables.items.indexOf(QStringLiteral("Table: ") + table)));
        flow.fields.current = int(flow.fields.items.indexOf(field));
        flow.moveFields(0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = m_dir.filePath(QStringLiteral("t.db"));
        QVERIFY(Data::createSampleDatabase(m_db, 1).ok());
    }

    void connectionPage()
    {
        RecordingUi ui;
        WizardFlow flow(&ui);
        flow.showPage(0);
        QVERIFY(!flow.backEnabled());
        QVERIFY(flow.next());
        flow.connectString = QStringLiteral("   ");
        QVERIFY(!flow.next());
        QVERIFY(ui.requests().isEmpty());
        flow.connectString = QStringLiteral("Data Source=") + m_dir.filePath(QStringLiteral("nowhere/x.db"));
        QVERIFY(!flow.next());
        QCOMPARE(flow.page(), 1);
        QCOMPARE(ui.last().title, QStringLiteral("Open Data Source"));

        // A database without tables says so and stays.
        const QString empty = m_dir.filePath(QStringLiteral("empty.db"));
        {
            QFile f(empty);
            QVERIFY(f.open(QIODevice::WriteOnly)); // a zero-length file is an empty SQLite database
        }
        flow.connectString = QStringLiteral("Data Source=") + empty;
        QVERIFY(!flow.next());
        QVERIFY(ui.last().text.contains(QStringLiteral("没有可用于报表的表")));

        flow.connectString = QStringLiteral("Data Source=") + m_db;
        QVERIFY(flow.next());
        QCOMPARE(flow.page(), 2);
        QCOMPARE(flow.tables.current, 0);
        QVERIFY(!flow.fields.items.isEmpty()); // the first table's fields
    }

    void fieldsAndRelations()
    {
        RecordingUi ui;
        WizardFlow flow(&ui);
        int relateCalls = 0;
        flow.setRelateTables([&](Wizard::Report &model) {
            ++relateCalls;
            RelateTablesModel relate(model, &ui);
            QCOMPARE(relate.relations, QStringList{QStringLiteral("[Categories].[CategoryID] = [Products].[CategoryID]")});
            QVERIFY(!relate.add(QStringLiteral("[Categories].[CategoryID]"), QStringLiteral("[Products].[CategoryID]")));
            QVERIFY(relate.add(QStringLiteral("[Categories].[CategoryName]"), QStringLiteral("[Products].[ProductName]")));
            relate.remove(1);
            QCOMPARE(relate.relations.size(), 1);
        });
        QVERIFY(toFields(flow));
        QVERIFY(!flow.next()); // nothing chosen yet
        pick(flow, QStringLiteral("Products"), QStringLiteral("ProductName"));
        QCOMPARE(flow.selFields.items, QStringList{QStringLiteral("Products.ProductName")});
        QVERIFY(!flow.fields.items.contains(QStringLiteral("ProductName")));
        QVERIFY(flow.next()); // one table: no relation dialog
        QCOMPARE(relateCalls, 0);
        flow.back();

        flow.moveFields(1); // the rest of Products
        QCOMPARE(flow.selFields.items.size(), flow.model().DataSource().tableDefs().Item(QStringLiteral("Products"))->Fields.Count());
        flow.moveFields(3);
        QVERIFY(flow.selFields.items.isEmpty());
        pick(flow, QStringLiteral("Categories"), QStringLiteral("CategoryName"));
        pick(flow, QStringLiteral("Products"), QStringLiteral("ProductName"));
        pick(flow, QStringLiteral("Products"), QStringLiteral("UnitPrice"));
        flow.selFields.current = 1;
        flow.moveFields(2);
        QCOMPARE(flow.selFields.items, (QStringList{QStringLiteral("Categories.CategoryName"), QStringLiteral("Products.UnitPrice")}));
        QVERIFY(flow.next());
        QCOMPARE(relateCalls, 1);
        flow.back();
        QVERIFY(flow.next());
        QCOMPARE(relateCalls, 2);
        QCOMPARE(flow.model().SelectedRelations().Count(), 1); // filled only the first time
    }

    void groupsSortsStyleTitle()
    {
        RecordingUi ui;
        SortMemory memory;
        WizardFlow flow(&ui, &memory);
        QVERIFY(toFields(flow));
        for (const char *f : {"OrderID", "OrderDate", "CustomerID", "ShipCountry", "Freight"})
            pick(flow, QStringLiteral("Orders"), QString::fromLatin1(f));
        QVERIFY(flow.next());
        QCOMPARE(flow.page(), 3);
        QVERIFY(!flow.groupOptionsEnabled());
        QCOMPARE(flow.reportFields, QStringLiteral("Orders.OrderID, Orders.OrderDate, Orders.CustomerID, Orders.ShipCountry, Orders.Freight"));
        for (int i = 0; i < 5; ++i) {
            flow.availableGroupFields.current = 0;
            flow.addGroupLevel();
        }
        QCOMPARE(flow.usedSlots, 4); // a fifth level cannot be added
        QCOMPARE(flow.availableGroupFields.items, QStringList{QStringLiteral("Orders.Freight")});
        QCOMPARE(flow.selectedSlot, 3);
        QVERIFY(flow.canMoveSlotUp());
        QVERIFY(!flow.canMoveSlotDown());
        flow.moveSlot(true);
        QCOMPARE(flow.slots[2].caption, QStringLiteral("Orders.ShipCountry"));
        QCOMPARE(flow.model().GroupFields().Item(3)->ReportField->FieldName, QStringLiteral("CustomerID")); // nesting stays
        flow.selectSlot(0);
        flow.removeGroupLevel();
        QCOMPARE(flow.usedSlots, 3);
        QCOMPARE(flow.slots[0].caption, QStringLiteral("Orders.OrderDate"));
        QVERIFY(!flow.slots[3].visible);

        GroupOptionsModel options(flow.model());
        QCOMPARE(options.levels.size(), size_t(3));
        QCOMPARE(options.levels[0].entries.value(1), QStringLiteral("Year"));
        QCOMPARE(options.levels[1].entries.value(1), QStringLiteral("1st Letter"));
        options.levels[0].current = 3;
        options.apply(); // cancelled: nothing changes
        QCOMPARE(flow.model().GroupFields().Item(1)->GroupOption, qint16(0));
        options.cancelled = false;
        options.apply();
        QCOMPARE(flow.model().GroupFields().Item(1)->GroupOption, qint16(3));

        // Sort: "(None)" on level 2 of 3 moves level 3 up and disables level 4.
        QVERIFY(flow.next());
        QCOMPARE(flow.sortEnabled, (std::array<bool, 4>{true, false, false, false}));
        flow.chooseSort(0, 1);
        flow.chooseSort(1, 2);
        flow.setSortAscending(2, false);
        flow.chooseSort(2, 5);
        QCOMPARE(flow.sortEnabled, (std::array<bool, 4>{true, true, true, true}));
        flow.chooseSort(1, 0);
        QCOMPARE(flow.sortCombos[1].current, 5);
        QVERIFY(!flow.sortAscending[1]);
        QCOMPARE(flow.sortCombos[2].current, 0);
        QCOMPARE(flow.sortEnabled, (std::array<bool, 4>{true, true, true, false}));
        QVERIFY(flow.next());
        QCOMPARE(flow.model().SortFields().Count(), 2);
        QCOMPARE(flow.model().SortFields().Item(2)->SortOrder, qint16(1));

        // Style and title start over on entering their pages again.
        flow.style = 4;
        QVERIFY(flow.next());
        flow.titleEdited(QStringLiteral("Orders"));
        flow.back();
        flow.style = 3;
        QVERIFY(flow.next());
        QVERIFY(flow.title.isEmpty());
        flow.back();
        QVERIFY(flow.next());
        QCOMPARE(flow.style, 3); // kept: entering the title page does not touch it
        flow.back();
        flow.back();
        QVERIFY(flow.next());
        QCOMPARE(flow.style, 0);
        flow.style = 2;
        QVERIFY(flow.next());
        flow.titleEdited(QStringLiteral("Orders"));
        QVERIFY(flow.next());
        QVERIFY(flow.finishEnabled());
        QVERIFY(!flow.nextEnabled());
        QCOMPARE(flow.model().Style, qint16(2));
        QVERIFY(flow.summary.startsWith(QStringLiteral("Report Title: Orders\r\n")));
        QVERIFY(flow.summary.contains(QStringLiteral("Orders.ShipCountry Type = dbText Width =  15\r\n")));

        // A second run starts from the first run's sort choices.
        WizardFlow again(&ui, &memory);
        QVERIFY(toFields(again));
        for (const char *f : {"OrderID", "OrderDate", "CustomerID", "ShipCountry", "Freight"})
            pick(again, QStringLiteral("Orders"), QString::fromLatin1(f));
        QVERIFY(again.next());
        QVERIFY(again.next());
        QCOMPARE(again.sortCombos[1].current, 5);
        QVERIFY(!again.sortAscending[1]);
    }
};

int main(int argc, char **argv)
{
    // Generation measures text, which needs a GUI application.
    QGuiApplication app(argc, argv);
    TestWizardFlow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wizardflow.moc"
