// The programs on a desktop: what they write goes to the XDG folders (the
// settings under the config folder, the Access snapshots under the cache
// folder) and nowhere else, neither beside the program nor in the working
// folder; and the window drawn at device pixel ratio 2 has twice the pixels
// with detail of its own, not a picture scaled up.
#include "clirunner.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList filesUnder(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

// The share of 2x2 blocks whose pixels are not all alike.
double detail(const QImage &image)
{
    qint64 blocks = 0, mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        const auto *a = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(image.constScanLine(y + 1));
        for (int x = 0; x + 1 < image.width(); x += 2) {
            ++blocks;
            if (a[x] != a[x + 1] || a[x] != b[x] || a[x] != b[x + 1])
                ++mixed;
        }
    }
    return blocks ? double(mixed) / double(blocks) : 0;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QProcessEnvironment desktopEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("ORVREPORT_CONFIG_DIR"));
        env.remove(QStringLiteral("ORVREPORT_CACHE_DIR"));
        env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_dir.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    int runIn(const QString &program, const QStringList &args, const QProcessEnvironment &env, QString *output = nullptr)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir.filePath(QStringLiteral("work")));
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        if (!p.waitForFinished(180000))
            return -1;
        if (output)
            *output = QString::fromUtf8(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char *d : {"home", "work", "data"})
            QVERIFY(QDir(m_dir.path()).mkpath(QLatin1String(d)));
    }

    void writesOnlyToTheXdgFolders()
    {
        const QString mdb = m_dir.filePath(QStringLiteral("data/Northwind.mdb"));
        QVERIFY(QFile::copy(QStringLiteral(ORV_TEST_DATA "/Northwind.mdb"), mdb));
        const QString layout = m_dir.filePath(QStringLiteral("data/invoice.rpx"));
        QVERIFY(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/invoice.rpx"), layout));
        const QString programs = QFileInfo(QStringLiteral(ORVREPORT_PATH)).absolutePath();
        const QString cliFolder = QFileInfo(QStringLiteral(ORV_CLI_PATH)).absolutePath();
        const QStringList besideProgram = QDir(programs).entryList(QDir::Files | QDir::Hidden);
        const QStringList besideCli = QDir(cliFolder).entryList(QDir::Files | QDir::Hidden);

        const QProcessEnvironment env = desktopEnvironment();
        QString out;
        QCOMPARE(runIn(QStringLiteral(ORV_CLI_PATH),
                       {QStringLiteral("query"), QStringLiteral("--connection"),
                        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + mdb,
                        QStringLiteral("SELECT [CompanyName] FROM [Shippers]")},
                       env, &out),
                 0);
        QVERIFY2(out.contains(QStringLiteral("Speedy Express")), qPrintable(out));
        QCOMPARE(runIn(QStringLiteral(ORVREPORT_PATH),
                       {QStringLiteral("--screenshot"), m_dir.filePath(QStringLiteral("data/shot.png")), layout}, env, &out),
                 0);

        QVERIFY(filesUnder(m_dir.filePath(QStringLiteral("config"))).contains(QStringLiteral("Orv/OrvReport.ini")));
        QVERIFY(!filesUnder(m_dir.filePath(QStringLiteral("cache"))).filter(QStringLiteral("OrvReport/access/")).isEmpty());
        QCOMPARE(filesUnder(m_dir.filePath(QStringLiteral("home"))), QStringList());
        QCOMPARE(filesUnder(m_dir.filePath(QStringLiteral("work"))), QStringList());
        QCOMPARE(filesUnder(m_dir.filePath(QStringLiteral("data"))),
                 QStringList({QStringLiteral("Northwind.mdb"), QStringLiteral("invoice.rpx"), QStringLiteral("shot.png")}));
        QCOMPARE(QDir(programs).entryList(QDir::Files | QDir::Hidden), besideProgram);
        QCOMPARE(QDir(cliFolder).entryList(QDir::Files | QDir::Hidden), besideCli);
    }

    void drawsSharplyAtDevicePixelRatioTwo()
    {
        const QString layout = QStringLiteral(ORV_SOURCE_DIR "/examples/invoice.rpx");
        QImage images[2];
        for (int scale : {1, 2}) {
            // One screen of the same size in device-independent pixels.
            const QString screen = m_dir.filePath(QStringLiteral("screen%1.json").arg(scale));
            QFile json(screen);
            QVERIFY(json.open(QIODevice::WriteOnly));
            json.write(QStringLiteral("{\"screens\": [{\"name\": \"s\", \"x\": 0, \"y\": 0, \"width\": 1400, \"height\": 1000, "
                                      "\"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": %1}]}").arg(scale).toUtf8());
            json.close();
            QProcessEnvironment env = desktopEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + screen);
            const QString png = m_dir.filePath(QStringLiteral("dpr%1.png").arg(scale));
            QString out;
            QCOMPARE(runIn(QStringLiteral(ORVREPORT_PATH), {QStringLiteral("--screenshot"), png, layout}, env, &out), 0);
            QVERIFY(images[scale - 1].load(png));
            images[scale - 1] = images[scale - 1].convertToFormat(QImage::Format_RGB32);
        }
        QCOMPARE(images[1].size(), images[0].size() * 2);
        // A window drawn small and scaled up has next to no 2x2 block with
        // two colours; one drawn at ratio 2 has them wherever there is text,
        // lines or icons.
        const double sharp = detail(images[1]);
        QVERIFY2(sharp > 0.02, qPrintable(QStringLiteral("%1 of the blocks have detail").arg(sharp)));
        QImage doubled = images[0].scaled(images[0].size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QCOMPARE(detail(doubled), 0.0);
        QVERIFY(images[1] != doubled);
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
