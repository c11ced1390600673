// The Debian package as a user gets it: its desktop entry, metadata, MIME
// types and icons are valid and tell OrvReport's files from others, the
// package built from the release tree holds what it should with library
// dependencies found by dpkg-shlibdeps, lintian finds no error, the bash
// completion completes, and (as root on a throwaway machine, CI=true) it
// installs working programs and is removed without a trace.
#include "clirunner.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString Source = QStringLiteral(ORV_SOURCE_DIR);
const QString Packaging = QStringLiteral(ORV_SOURCE_DIR "/packaging/");

struct Run
{
    int code = -1;
    QString out;
};

Run run(const QString &program, const QStringList &args, int timeoutMs = 300000,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.out = QStringLiteral("%1 did not finish in %2 s").arg(program).arg(timeoutMs / 1000);
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAll());
    return r;
}

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_deb;
    QStringList m_contents; // the package's paths, without the leading "."

    // The package, built once for the functions that need it.
    bool package(QString *why)
    {
        if (!m_deb.isEmpty())
            return true;
        const QString build = QStringLiteral(ORV_PACKAGE_BUILD_DIR);
        if (!QFile::exists(build + QStringLiteral("/CMakeCache.txt"))) {
            *why = QStringLiteral("no release build in %1: run cmake --preset release first (scripts/test does)").arg(build);
            return false;
        }
        if (tool("dpkg-shlibdeps").isEmpty()) {
            *why = QStringLiteral("dpkg-shlibdeps is missing (apt-get install dpkg-dev)");
            return false;
        }
        for (const QString &old : QDir(build).entryList({QStringLiteral("orvreport_*.deb")}))
            QFile::remove(build + QLatin1Char('/') + old);
        const Run made = run(QStringLiteral("cmake"), {QStringLiteral("--build"), build, QStringLiteral("--target"), QStringLiteral("package")},
                             1200000);
        if (made.code != 0) {
            *why = QStringLiteral("FAIL:") + made.out.right(4000);
            return false;
        }
        const QStringList debs = QDir(build).entryList({QStringLiteral("orvreport_*.deb")});
        if (debs.size() != 1) {
            *why = QStringLiteral("FAIL:the package target made %1 packages").arg(debs.size());
            return false;
        }
        m_deb = build + QLatin1Char('/') + debs.first();
        const Run listing = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
        // "-rwxr-xr-x root/root 123 2026-12-07 12:00 ./usr/bin/orvreport"
        for (const QString &line : listing.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            m_contents << line.split(QRegularExpression(QStringLiteral("\\s+"))).value(5).mid(1);
        return true;
    }

#define NEED_PACKAGE()                                                                                                 \
    do {                                                                                                               \
        QString why;                                                                                                   \
        if (!package(&why)) {                                                                                          \
            if (why.startsWith(QLatin1String("FAIL:")))                                                                \
                QFAIL(qPrintable(why.mid(5)));                                                                         \
            QSKIP(qPrintable(why));                                                                                    \
        }                                                                                                              \
    } while (false)

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void desktopEntryAndMetadataAreValid()
    {
        const QString validate = tool("desktop-file-validate");
        const QString appstream = tool("appstreamcli");
        if (validate.isEmpty() || appstream.isEmpty())
            QSKIP("desktop-file-validate or appstreamcli is missing (apt-get install desktop-file-utils appstream)");
        const Run desktop = run(validate, {Packaging + QStringLiteral("org.orv.OrvReport.desktop")});
        QVERIFY2(desktop.code == 0 && desktop.out.trimmed().isEmpty(), qPrintable(desktop.out));

        QFile in(Packaging + QStringLiteral("org.orv.OrvReport.metainfo.xml"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QString metainfo = m_dir.filePath(QStringLiteral("org.orv.OrvReport.metainfo.xml"));
        QFile out(metainfo);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(in.readAll().replace("@PROJECT_VERSION@", ORV_VERSION_TEXT));
        out.close();
        const Run meta = run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--explain"), metainfo});
        QVERIFY2(meta.code == 0, qPrintable(meta.out));

        // The icons are drawable SVG.
        for (const char *icon : {"org.orv.OrvReport", "application-x-orvreport-layout", "application-x-orvreport-archive"}) {
            QSvgRenderer svg(Packaging + QStringLiteral("icons/") + QLatin1String(icon) + QStringLiteral(".svg"));
            QVERIFY2(svg.isValid() && svg.defaultSize() == QSize(64, 64), icon);
        }
    }

    // Layouts and archives are told apart from other files, RDF/XML's .rdf
    // included, with the types the desktop entry opens.
    void mimeTypesRecogniseOurFiles()
    {
        if (tool("update-mime-database").isEmpty())
            QSKIP("update-mime-database is missing (apt-get install shared-mime-info)");
        const QString data = m_dir.filePath(QStringLiteral("share"));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/mime/packages")));
        QVERIFY(QFile::copy(Packaging + QStringLiteral("org.orv.OrvReport.xml"), data + QStringLiteral("/mime/packages/org.orv.OrvReport.xml")));
        // The system's own types too, so that ours must win against them.
        QVERIFY(QFile::copy(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"),
                            data + QStringLiteral("/mime/packages/freedesktop.org.xml")));
        const Run update = run(tool("update-mime-database"), {data + QStringLiteral("/mime")});
        QVERIFY2(update.code == 0, qPrintable(update.out));

        const QString archive = m_dir.filePath(QStringLiteral("pages.rdf"));
        const QString db = m_dir.filePath(QStringLiteral("tesserane.db"));
        QCOMPARE(TestSupport::runCli({QStringLiteral("sample-db"), db}).code, 0);
        const auto made = TestSupport::runCli({QStringLiteral("run"), Source + QStringLiteral("/examples/customer-list.rpx"), QStringLiteral("-o"), archive,
                                               QStringLiteral("--connection"), QStringLiteral("Data Source=") + db});
        QVERIFY2(made.code == 0, qPrintable(made.err));
        const QString rdfXml = m_dir.filePath(QStringLiteral("ontology.rdf"));
        QFile x(rdfXml);
        QVERIFY(x.open(QIODevice::WriteOnly));
        x.write("<?xml version=\"1.0\"?>\n<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/>\n");
        x.close();

        // QMimeDatabase reads the folders named when the process starts.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_DIRS"), data);
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("ORV_MIME_CHECK"), QStringList{Source + QStringLiteral("/examples/invoices.rpx"), archive, rdfXml}.join(QLatin1Char('\n')));
        const Run types = run(QCoreApplication::applicationFilePath(), {QStringLiteral("mimeTypesOfChild")}, 60000, env);
        QVERIFY2(types.code == 0, qPrintable(types.out));
        QVERIFY2(types.out.contains(QStringLiteral("invoices.rpx=application/x-orvreport-layout\n")), qPrintable(types.out));
        QVERIFY2(types.out.contains(QStringLiteral("pages.rdf=application/x-orvreport-archive\n")), qPrintable(types.out));
        QVERIFY2(types.out.contains(QStringLiteral("ontology.rdf=application/rdf+xml\n")), qPrintable(types.out));

        QFile desktop(Packaging + QStringLiteral("org.orv.OrvReport.desktop"));
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QByteArray entry = desktop.readAll();
        QVERIFY(entry.contains("\nMimeType=application/x-orvreport-layout;application/x-orvreport-archive;\n"));
        QVERIFY(entry.contains("\nExec=orvreport %f\n"));
    }

    // Run by mimeTypesRecogniseOurFiles in a child process.
    void mimeTypesOfChild()
    {
        const QString files = qEnvironmentVariable("ORV_MIME_CHECK");
        if (files.isEmpty())
            QSKIP("run by mimeTypesRecogniseOurFiles");
        QMimeDatabase db;
        for (const QString &f : files.split(QLatin1Char('\n')))
            std::printf("%s=%s\n", qPrintable(QFileInfo(f).fileName()), qPrintable(db.mimeTypeForFile(f).name()));
        std::fflush(stdout);
    }

    void packageHoldsTheProgramsAndTheirFiles()
    {
        NEED_PACKAGE();
        for (const char *path : {"/usr/bin/orvreport", "/usr/bin/orvreport-cli", "/usr/share/applications/org.orv.OrvReport.desktop",
                                 "/usr/share/mime/packages/org.orv.OrvReport.xml", "/usr/share/metainfo/org.orv.OrvReport.metainfo.xml",
                                 "/usr/share/icons/hicolor/scalable/apps/org.orv.OrvReport.svg",
                                 "/usr/share/icons/hicolor/scalable/mimetypes/application-x-orvreport-layout.svg",
                                 "/usr/share/icons/hicolor/scalable/mimetypes/application-x-orvreport-archive.svg",
                                 "/usr/share/man/man1/orvreport.1.gz", "/usr/share/man/man1/orvreport-cli.1.gz",
                                 "/usr/share/bash-completion/completions/orvreport-cli", "/usr/share/orvreport/translations/orvreport_en.qm",
                                 "/usr/share/doc/orvreport/copyright", "/usr/share/doc/orvreport/docs/manual.md",
                                 "/usr/share/doc/orvreport/examples/invoices.rpx", "/usr/share/doc/orvreport/examples/README.md"})
            QVERIFY2(m_contents.contains(QString::fromLatin1(path)), path);
        // Only the two programs: no try-out windows, tests or benchmarks.
        QCOMPARE(m_contents.filter(QRegularExpression(QStringLiteral("^/usr/bin/."))).size(), 2);
        const Run depends = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, QStringLiteral("Depends")});
        for (const char *library : {"libc6", "libqt6widgets6", "libqt6printsupport6", "libsqlite3-0", "libxlsxwriter", "libtiff6", "libqpdf"})
            QVERIFY2(depends.out.contains(QLatin1String(library)), qPrintable(QLatin1String(library) + QLatin1String(" not in ") + depends.out));
    }

    void lintianFindsNoErrors()
    {
        if (tool("lintian").isEmpty())
            QSKIP("lintian is missing (apt-get install lintian)");
        NEED_PACKAGE();
        const Run lint = run(tool("lintian"), {QStringLiteral("--no-tag-display-limit"), m_deb}, 600000);
        const QStringList errors = lint.out.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^E: ")));
        QVERIFY2(errors.isEmpty(), qPrintable(lint.out));
        QVERIFY2(lint.code == 0 || lint.code == 2, qPrintable(lint.out));
    }

    void bashCompletionCompletes()
    {
        const QString framework = QStringLiteral("/usr/share/bash-completion/bash_completion");
        if (!QFile::exists(framework) || tool("bash").isEmpty())
            QSKIP("bash-completion is missing (apt-get install bash-completion)");
        const QString folder = m_dir.filePath(QStringLiteral("completion"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(Source + QStringLiteral("/examples/invoice.rpx"), folder + QStringLiteral("/a.rpx")));
        QVERIFY(QFile::copy(Source + QStringLiteral("/examples/invoice.rpx"), folder + QStringLiteral("/b.txt")));
        const QString script = QStringLiteral(
            "source %1; source %2; cd %3\n"
            "complete_line() { COMP_LINE=\"$1\"; COMP_POINT=${#COMP_LINE}; read -ra COMP_WORDS <<< \"$1\";"
            " [[ $1 == *' ' ]] && COMP_WORDS+=(''); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=();"
            " _orvreport_cli; echo \"$1 => ${COMPREPLY[*]}\"; }\n"
            "complete_line 'orvreport-cli ru'\n"
            "complete_line 'orvreport-cli run a.rpx --al'\n"
            "complete_line 'orvreport-cli wizard --sty'\n"
            "complete_line 'orvreport-cli wizard --style '\n"
            "complete_line 'orvreport-cli info '\n")
                                   .arg(framework, Packaging + QStringLiteral("completion/orvreport-cli"), folder);
        const Run r = run(tool("bash"), {QStringLiteral("-c"), script});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("orvreport-cli ru => run\n")), qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("--al => --allow-writes\n")), qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("--sty => --style\n")), qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("--style  => 0 1 2 3 4 5\n")), qPrintable(r.out));
        // info completes layouts only.
        QVERIFY2(r.out.contains(QStringLiteral("info  => a.rpx\n")), qPrintable(r.out));
    }

    void installsWorkingProgramsAndRemovesCleanly()
    {
        if (geteuid() != 0 || qEnvironmentVariable("CI") != QLatin1String("true"))
            QSKIP("installs into the system: runs only as root with CI=true");
        NEED_PACKAGE();
        QVERIFY2(!QFile::exists(QStringLiteral("/usr/bin/orvreport-cli")), "orvreport is installed already");
        const Run install = run(QStringLiteral("dpkg"), {QStringLiteral("--install"), m_deb});
        QVERIFY2(install.code == 0, qPrintable(install.out));

        const QString cli = QStandardPaths::findExecutable(QStringLiteral("orvreport-cli"));
        QCOMPARE(cli, QStringLiteral("/usr/bin/orvreport-cli"));
        QVERIFY(run(cli, {QStringLiteral("--version")}).out.startsWith(QStringLiteral("orvreport-cli " ORV_VERSION_TEXT)));
        QVERIFY(run(QStringLiteral("/usr/bin/orvreport"), {QStringLiteral("--version")}).out.startsWith(QStringLiteral("orvreport ")));
        const QString db = m_dir.filePath(QStringLiteral("installed.db"));
        const QString pdf = m_dir.filePath(QStringLiteral("invoices.pdf"));
        QCOMPARE(run(cli, {QStringLiteral("sample-db"), db}).code, 0);
        const Run report = run(cli, {QStringLiteral("run"), QStringLiteral("/usr/share/doc/orvreport/examples/invoices.rpx"), QStringLiteral("-o"), pdf,
                                     QStringLiteral("--connection"), QStringLiteral("Provider=SQLite;Data Source=") + db});
        QVERIFY2(report.code == 0, qPrintable(report.out));
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.read(5) == "%PDF-");
        // The file manager's view: layouts are ours, and they open in the
        // designer (the triggers of shared-mime-info and desktop-file-utils
        // have updated their caches).
        if (const QString gio = tool("gio"); !gio.isEmpty()) {
            const Run type = run(gio, {QStringLiteral("info"), QStringLiteral("-a"), QStringLiteral("standard::content-type"),
                                       QStringLiteral("/usr/share/doc/orvreport/examples/invoices.rpx")});
            QVERIFY2(type.out.contains(QStringLiteral("application/x-orvreport-layout")), qPrintable(type.out));
            const Run handler = run(gio, {QStringLiteral("mime"), QStringLiteral("application/x-orvreport-archive")});
            QVERIFY2(handler.out.contains(QStringLiteral("org.orv.OrvReport.desktop")), qPrintable(handler.out));
        }
        // The installed designer finds its English.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ORVREPORT_CONFIG_DIR"), m_dir.filePath(QStringLiteral("config")));
        const Run shot = run(QStringLiteral("/usr/bin/orvreport"), {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--screenshot"),
                                                                    m_dir.filePath(QStringLiteral("shot.png"))},
                             120000, env);
        QVERIFY2(shot.code == 0 && !shot.out.contains(QStringLiteral("translation")), qPrintable(shot.out));

        const Run remove = run(QStringLiteral("dpkg"), {QStringLiteral("--purge"), QStringLiteral("orvreport")});
        QVERIFY2(remove.code == 0, qPrintable(remove.out));
        QStringList left;
        for (const QString &path : m_contents) {
            const QFileInfo info(path);
            if (info.exists() && !info.isDir())
                left << path;
        }
        for (const char *dir : {"/usr/share/doc/orvreport", "/usr/share/orvreport"}) {
            if (QFileInfo::exists(QString::fromLatin1(dir)))
                left << QString::fromLatin1(dir);
        }
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestPackage)
#include "tst_package.moc"
