// Reads about a million order-detail rows of six columns from the sample
// database: through a report data source (connection + recordset, touching
// every value as a run would), and with the sqlite3 shell writing to
// /dev/null as the floor. Also opens an Access file twice to show the cost
// of the first snapshot and of a cached open. Prints rows per second and
// peak memory.
#include "engine/core/processsetup.h"
#include "bench/support/benchsupport.h"
#include "engine/data/reportdata.h"
#include "engine/data/sampledatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char *const kQuery =
    "SELECT d.[OrderID], d.[ProductID], d.[UnitPrice], d.[Quantity], d.[Discount], o.[OrderDate] "
    "FROM [Order Details] d INNER JOIN [Orders] o ON o.[OrderID] = d.[OrderID] ORDER BY d.[OrderID]";

} // namespace

int main(int argc, char **argv)
{
    Orv::setUpProcess();
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("bench.db"));
    const int scale = qEnvironmentVariableIntValue("ORV_BENCH_DATA_SCALE") > 0
                          ? qEnvironmentVariableIntValue("ORV_BENCH_DATA_SCALE")
                          : 100;
    QElapsedTimer timer;
    timer.start();
    Orv::Status status = Orv::Data::createSampleDatabase(db, scale);
    if (!status.ok()) {
        std::fprintf(stderr, "sample database: %s\n", qPrintable(status.description()));
        return 1;
    }
    std::printf("data: sample database at scale %d made in %.1f s\n", scale, timer.nsecsElapsed() / 1e9);

    const double rssBefore = Orv::Bench::peakMiB();
    timer.restart();
    Orv::Data::ReportData data;
    status = data.open({QStringLiteral("Data Source=") + db, QString::fromLatin1(kQuery)});
    if (!status.ok()) {
        std::fprintf(stderr, "open: %s\n", qPrintable(status.description()));
        return 1;
    }
    Orv::Data::Recordset *rs = data.recordset();
    const int columns = rs->fields()->count();
    qint64 rows = 0;
    double checksum = 0;
    for (; !rs->atEnd(); rs->MoveNext()) {
        for (int c = 0; c < columns; ++c) {
            const QVariant v = rs->value(c);
            if (c == 3)
                checksum += v.toDouble();
        }
        ++rows;
    }
    const double recordsetS = timer.nsecsElapsed() / 1e9;
    data.close();
    std::printf("data: recordset %lld rows x %d columns in %.2f s: %.0f rows/s (quantity sum %.0f), "
                "peak memory %.0f MiB (%.0f MiB before)\n",
                rows, columns, recordsetS, rows / recordsetS, checksum, Orv::Bench::peakMiB(), rssBefore);

    timer.restart();
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.start(QStringLiteral("sqlite3"), {db, QString::fromLatin1(kQuery).replace(QLatin1Char('['), QLatin1Char('"')).replace(QLatin1Char(']'), QLatin1Char('"'))});
    if (shell.waitForFinished(-1) && shell.exitCode() == 0) {
        const double floorS = timer.nsecsElapsed() / 1e9;
        std::printf("data: sqlite3 shell to /dev/null in %.2f s: %.0f rows/s; recordset/shell time ratio %.2f\n",
                    floorS, rows / floorS, recordsetS / floorS);
    } else {
        std::printf("data: sqlite3 shell not available, no floor measured\n");
    }

    const QString mdb = QStringLiteral(ORV_SOURCE_DIR "/tests/data/Northwind.mdb");
    qputenv("ORVREPORT_CACHE_DIR", dir.filePath(QStringLiteral("cache")).toLocal8Bit());
    for (const char *pass : {"first open (snapshot)", "cached open"}) {
        timer.restart();
        Orv::Data::ReportData access;
        status = access.open({QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + mdb,
                              QStringLiteral("SELECT * FROM [Order Details]")});
        if (!status.ok()) {
            std::printf("data: Access %s failed: %s\n", pass, qPrintable(status.description()));
            break;
        }
        qint64 accessRows = 0;
        for (Orv::Data::Recordset *r = access.recordset(); !r->atEnd(); r->MoveNext())
            ++accessRows;
        std::printf("data: Access %s of Northwind.mdb and %lld order details in %.2f s\n", pass, accessRows,
                    timer.nsecsElapsed() / 1e9);
    }
    return 0;
}
