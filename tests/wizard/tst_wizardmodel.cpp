// The wizard's selection model: adding fields from the schema, the table
// and field lists, the summary text and the generated SQL.

#include "engine/data/sampledatabase.h"
#include "ui/recordingui.h"
#include "wizard/wizardmodel.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Orv;
using namespace Orv::Wizard;

class TestWizardModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_connection;

    void open(Wizard::Report &model)
    {
        model.DataSource().ConnectionString = m_connection;
        QVERIFY(model.DataSource().OpenDataSource());
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("tesserane.db"));
        QVERIFY(Data::createSampleDatabase(path, 1).ok());
        m_connection = QStringLiteral("Data Source=") + path;
    }

    void selecting()
    {
        RecordingUi ui;
        Wizard::Report model(&ui);
        open(model);

        ChoiceList tables;
        model.FillTablesCombo(tables, false);
        QCOMPARE(tables.current, 0);
        QVERIFY(tables.items.contains(QStringLiteral("Table: Order Details")));

        QVERIFY(model.AddSelectedField(QStringLiteral("OrderID"), QStringLiteral("Orders"), SourceTable).ok());
        QCOMPARE(model.AddSelectedField(QStringLiteral("OrderID"), QStringLiteral("Orders"), SourceTable).number(), 457);
        QCOMPARE(model.AddSelectedField(QStringLiteral("Nothing"), QStringLiteral("Orders"), SourceTable).number(), 3265);
        QCOMPARE(model.SelectedFields().Count(), 1);

        ChoiceList fields;
        model.RefreshFieldsList(QStringLiteral("Table: Orders"), fields);
        QCOMPARE(fields.items.size(), 8);
        QVERIFY(!fields.items.contains(QStringLiteral("OrderID")));

        ChoiceList chosen;
        chosen.items << QStringLiteral("Orders.OrderID");
        QVERIFY(model.AddSelectAll(QStringLiteral("Orders"), QStringLiteral("1"), chosen).ok());
        QCOMPARE(chosen.items.size(), 9);
        QCOMPARE(chosen.items.at(1), QStringLiteral("Orders.CustomerID"));
        QCOMPARE(model.SelectedFields().Count(), 9);
        QCOMPARE(model.SelectedTables().Count(), 1);
        QCOMPARE(model.SelectedFields().Item(QStringLiteral("ORDERS.shipcountry"))->FieldWidth, 15);

        // Sorts ignore a second add of one field, groups refuse it.
        auto date = model.SelectedFields().Item(QStringLiteral("Orders.OrderDate"));
        QVERIFY(model.SortFields().Add(date, 1).ok());
        QVERIFY(model.SortFields().Add(date, 0).ok());
        QCOMPARE(model.SortFields().Count(), 1);
        QCOMPARE(model.SortFields().Item(1)->SortOrder, 1);
        QVERIFY(model.GroupFields().Add(date, 3).ok());
        QCOMPARE(model.GroupFields().Add(date, 0).number(), 457);

        // System tables are listed only when asked for.
        CDataSource &ds = model.DataSource();
        ds.tableDefs().removeAll();
        QVERIFY(ds.tableDefs().Add(QStringLiteral("Shippers"), ds.ADOConnection(), true));
        model.FillTablesCombo(tables, false);
        QVERIFY(tables.items.isEmpty());
        QCOMPARE(tables.current, -1);
        model.FillTablesCombo(tables, true);
        QCOMPARE(tables.items, QStringList{QStringLiteral("Table: Shippers")});
    }

    void summary()
    {
        Wizard::Report model;
        open(model);
        model.Title = QStringLiteral("Orders");
        QVERIFY(model.AddSelectedField(QStringLiteral("ShipCountry"), QStringLiteral("Orders"), SourceTable).ok());
        QVERIFY(model.AddSelectedField(QStringLiteral("Quantity"), QStringLiteral("Order Details"), SourceTable).ok());
        QVERIFY(model.GroupFields().Add(model.SelectedFields().Item(1), -1).ok());
        QVERIFY(model.SortFields().Add(model.SelectedFields().Item(2), 1).ok());
        QCOMPARE(model.GetSummary(),
                 QStringLiteral("Report Title: Orders\r\nConnection String = ") + m_connection
                     + QStringLiteral("\r\n\r\nSelected Fields: \r\n"
                                      "Orders.ShipCountry Type = dbText Width =  15\r\n"
                                      "Order Details.Quantity Type =  Width =  0\r\n"
                                      "\r\nFrom Tables: \r\nOrders\r\nOrder Details\r\n"
                                      "\r\nSummary Group Levels: \r\nOrders.ShipCountry Group Option = -1\r\n"
                                      "\r\nOrder By: \r\nOrder Details.Quantity Sort Order = Dec\r\n"));
        QCOMPARE(fieldTypeName(135), QStringLiteral("dbTimeStamp"));
        QCOMPARE(groupIntervals(11), QStringList());
        QCOMPARE(groupIntervals(17).size(), 4);
    }

    void queries()
    {
        Wizard::Report two;
        QCOMPARE(two.BuildQuery(), QString());
        auto &f = two.SelectedFields();
        QVERIFY(f.Add(QStringLiteral("title"), QStringLiteral("titles"), 202, 80).ok());
        QVERIFY(f.Add(QStringLiteral("pub_name"), QStringLiteral("publishers"), 202, 40).ok());
        QVERIFY(f.Add(QStringLiteral("type"), QStringLiteral("titles"), 129, 12).ok());
        QVERIFY(f.Add(QStringLiteral("price"), QStringLiteral("titles"), 6, 0).ok());
        QVERIFY(two.SelectedTables().Add(QStringLiteral("titles")).ok());
        QVERIFY(two.SelectedTables().Add(QStringLiteral("publishers")).ok());
        QCOMPARE(two.BuildQuery(), QStringLiteral("SELECT [titles].[title], [publishers].[pub_name], [titles].[type], "
                                                  "[titles].[price] FROM [titles], [publishers]"));
        QVERIFY(two.AddRelationText(QStringLiteral("[publishers].[pub_id] = [titles].[pub_id]")).ok());
        QCOMPARE(two.AddRelationText(QStringLiteral("[publishers].[pub_id] = [titles].[pub_id]")).number(), 457);
        QCOMPARE(two.AddRelationText(QStringLiteral("publishers.pub_id")).number(), 5);
        QCOMPARE(two.SelectedRelations().Item(1)->ColumnForeign, QStringLiteral("pub_id"));
        QVERIFY(two.GroupFields().Add(f.Item(QStringLiteral("titles.type")), 0).ok());
        QVERIFY(two.SortFields().Add(f.Item(QStringLiteral("titles.price")), 1).ok());
        // Removed fields leave their table in FROM.
        QVERIFY(f.Remove(QStringLiteral("publishers.pub_name")).ok());
        QVERIFY(f.Remove(QStringLiteral("titles.type")).ok());
        QVERIFY(f.Remove(QStringLiteral("titles.price")).ok());
        QCOMPARE(two.BuildQuery(), QStringLiteral("SELECT [titles].[title] FROM [titles], [publishers] "
                                                  "WHERE [publishers].[pub_id] = [titles].[pub_id] "
                                                  "ORDER BY [titles].[type], [titles].[price] DESC "));
        QVERIFY(two.SortFields().Add(f.Item(QStringLiteral("titles.title")), 0).ok());
        QVERIFY(two.BuildQuery().endsWith(QStringLiteral("[titles].[price] DESC , [titles].[title]")));
    }
};

QTEST_MAIN(TestWizardModel)
#include "tst_wizardmodel.moc"
