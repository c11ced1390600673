#include "engine/core/keyedcollection.h"

#include <QTest>

using namespace Orv;

namespace {
struct Record
{
    QString name;
    int size = 0;
};
using Records = KeyedCollection<Record>;
std::shared_ptr<Record> rec(const QString &name, int size = 0)
{
    return std::make_shared<Record>(Record{name, size});
}
} // namespace

class TestKeyedCollection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void positionsAreOneBasedAndKeysIgnoreCase()
    {
        Records c;
        QVERIFY(c.Add(rec(QStringLiteral("Orders")), QStringLiteral("Orders")).ok());
        QVERIFY(c.Add(rec(QStringLiteral("Customers")), QStringLiteral("Customers")).ok());
        QVERIFY(c.Add(rec(QStringLiteral("no key"))).ok());
        QCOMPARE(c.Count(), 3);
        QCOMPARE(c.Item(1)->name, QStringLiteral("Orders"));
        QCOMPARE(c.Item(3)->name, QStringLiteral("no key"));
        QVERIFY(!c.Item(0));
        QVERIFY(!c.Item(4));
        QCOMPARE(c.Item(QStringLiteral("CUSTOMERS"))->name, QStringLiteral("Customers"));
        QCOMPARE(c.Item(QStringLiteral("orders")), c.Item(1));
        QCOMPARE(c.keyAt(2), QStringLiteral("Customers"));
        QVERIFY(!c.Item(QStringLiteral("Shippers")));
        // Non-ASCII keys fold too.
        QVERIFY(c.Add(rec(QStringLiteral("Straße")), QStringLiteral("STRASSE")).ok());
        QVERIFY(c.Contains(QStringLiteral("strasse")));
    }

    void duplicatePolicies()
    {
        Records strict(DuplicateKeys::Error);
        QVERIFY(strict.Add(rec(QStringLiteral("a"), 1), QStringLiteral("Key")).ok());
        const Status dup = strict.Add(rec(QStringLiteral("b"), 2), QStringLiteral("KEY"));
        QCOMPARE(dup.number(), 457);
        QCOMPARE(strict.Count(), 1);
        QCOMPARE(strict.Item(QStringLiteral("key"))->size, 1);

        Records lenient(DuplicateKeys::Ignore);
        QVERIFY(lenient.Add(rec(QStringLiteral("a"), 1), QStringLiteral("Key")).ok());
        QVERIFY(lenient.Add(rec(QStringLiteral("b"), 2), QStringLiteral("key")).ok());
        QCOMPARE(lenient.Count(), 1);
        QCOMPARE(lenient.Item(1)->size, 1);

        QCOMPARE(strict.Add(nullptr, QStringLiteral("x")).number(), 5);
    }

    void removeKeepsKeysInStep()
    {
        Records c;
        for (const char *k : {"A", "B", "C", "D"})
            QVERIFY(c.Add(rec(QString::fromLatin1(k)), QString::fromLatin1(k)).ok());
        QVERIFY(c.Remove(2).ok());
        QVERIFY(c.Remove(QStringLiteral("c")).ok());
        QCOMPARE(c.Count(), 2);
        // Keys after a removed entry still find their own records.
        QCOMPARE(c.Item(QStringLiteral("D"))->name, QStringLiteral("D"));
        QCOMPARE(c.Item(2)->name, QStringLiteral("D"));
        QCOMPARE(c.Remove(5).number(), 9);
        QCOMPARE(c.Remove(QStringLiteral("B")).number(), 5);
        // The key of a removed entry can be used again.
        QVERIFY(c.Add(rec(QStringLiteral("B2")), QStringLiteral("b")).ok());

        QStringList order;
        for (const auto &r : c)
            order << r->name;
        QCOMPARE(order, (QStringList{QStringLiteral("A"), QStringLiteral("D"), QStringLiteral("B2")}));
        c.Clear();
        QCOMPARE(c.Count(), 0);
        QVERIFY(!c.Contains(QStringLiteral("a")));
    }
};

QTEST_GUILESS_MAIN(TestKeyedCollection)
#include "tst_keyedcollection.moc"
