// Pieces of the run on their own: statement parameters and
// the summary accumulator's edges.

#include "engine/run/sqlparams.h"
#include "engine/run/summary.h"

#include <QDateTime>
#include <QTest>

using namespace Orv::RunInternal;

class TestRunParts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parametersBecomeLiterals()
    {
        const ParameterLookup lookup = [](const QString &name) -> std::optional<QVariant> {
            if (name == QLatin1String("id"))
                return 10248;
            if (name == QLatin1String("name"))
                return QStringLiteral("O'Brien");
            if (name == QLatin1String("when"))
                return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
            if (name == QLatin1String("none"))
                return QVariant();
            return std::nullopt;
        };
        QCOMPARE(substituteParameters(QStringLiteral("SELECT * FROM [a:id] WHERE x = :id AND n = :name AND d > :when AND z IS :none"), lookup),
                 QStringLiteral("SELECT * FROM [a:id] WHERE x = 10248 AND n = 'O''Brien' AND d > '2024-01-02 03:04:05' AND z IS NULL"));
        // Quotes, comments, casts and unknown names stay as written.
        const QString untouched = QStringLiteral("SELECT ':id', \":id\", a::id, :other -- :id\n/* :id */");
        QCOMPARE(substituteParameters(untouched, lookup), untouched);
    }

    void accumulatorEdges()
    {
        Accumulator sum(0), avg(1), count(2), min(3), var(5), dcount(11);
        QCOMPARE(sum.result().toDouble(), 0.0);
        QCOMPARE(avg.result().typeId(), int(QMetaType::Nullptr)); // Null, as SQL's AVG of nothing
        QCOMPARE(var.result().typeId(), int(QMetaType::Nullptr));
        for (Accumulator *a : {&sum, &avg, &count, &var, &dcount}) {
            QVERIFY(a->add(QVariant::fromValue(nullptr))); // Null and Empty count for nothing
            QVERIFY(a->add(QVariant()));
            QVERIFY(a->add(QStringLiteral("2"))); // numeric text is a number
            QVERIFY(a->add(4));
        }
        QCOMPARE(sum.result().toDouble(), 6.0);
        QCOMPARE(avg.result().toDouble(), 3.0);
        QCOMPARE(count.result().toLongLong(), 2);
        QCOMPARE(var.result().toDouble(), 2.0);
        QVERIFY(!sum.add(QStringLiteral("abc")));
        QVERIFY(dcount.add(4));
        QCOMPARE(dcount.result().toLongLong(), 2);
        // 0.1 added ten times is 1, as a careful SUM gives it.
        Accumulator money(0);
        for (int i = 0; i < 10; ++i)
            money.add(0.1);
        QCOMPARE(money.result().toDouble(), 1.0);
        min.add(QDate(2024, 5, 1));
        min.add(QDate(2023, 5, 1));
        QCOMPARE(min.result().toDate(), QDate(2023, 5, 1));
    }
};

QTEST_MAIN(TestRunParts)
#include "tst_runparts.moc"
