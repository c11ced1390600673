// Every format on bad ground: a missing or unwritable folder, a read-only
// file, a full disk (a file-size limit in a child process), a cancelled
// export and a signal each give a clear error and leave no partial file
// behind; symbolic links are written through.

#include "exportcheck.h"

#include "engine/pages/stagedfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Orv;
using namespace ExportCheck;

namespace {

const QStringList Extensions = {QStringLiteral("pdf"), QStringLiteral("rtf"), QStringLiteral("html"),
                                QStringLiteral("mht"), QStringLiteral("xlsx"), QStringLiteral("tif"),
                                QStringLiteral("txt")};

} // namespace

class TestExportFailures : public QObject
{
    Q_OBJECT

private:
    PageCollection pages;

private Q_SLOTS:
    void initTestCase()
    {
        for (int i = 0; i < 6; ++i)
            pages.append(PageSamples::page(i, pages));
    }

    void folderAndFileProblems()
    {
        QTemporaryDir dir;
        const bool root = geteuid() == 0; // folder permissions do not bind the superuser
        const QString locked = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(locked));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        for (const QString &ext : Extensions) {
            Status s = exportPages(pages, dir.filePath(QStringLiteral("missing/out.") + ext));
            QCOMPARE(s.number(), int(ErrPathAccess));
            if (!root) {
                s = exportPages(pages, locked + QStringLiteral("/out.") + ext);
                QVERIFY2(s.number() == ErrPathAccess && !s.description().isEmpty(), qPrintable(ext));
                QVERIFY(entries(locked).isEmpty());
            }

            const QString readOnly = dir.filePath(QStringLiteral("readonly.") + ext);
            QFile f(readOnly);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keep");
            f.close();
            QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
            s = exportPages(pages, readOnly);
            QVERIFY2(s.number() == ErrPathAccess, qPrintable(ext));
            QVERIFY2(s.description().contains(QLatin1String("read-only")), qPrintable(s.description()));
            QCOMPARE(contents(readOnly), QByteArray("keep"));
        }
        QCOMPARE(entries(dir.path()).size(), 1 + Extensions.size()); // locked/ and the read-only files; missing/ was never made
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void fullDisk()
    {
        // Every format and the archive: the old file stays whole, the error
        // gives the system's reason, and no staged file is left.
        QTemporaryDir dir;
        const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
        for (const QString &ext : Extensions + QStringList{QStringLiteral("rdf")}) {
            const QString path = dir.filePath(QStringLiteral("full.") + ext);
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            old.close();
            const pid_t child = fork();
            if (child == 0) {
                // Writes past 1500 bytes fail with EFBIG instead of a signal.
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{1500, 1500};
                setrlimit(RLIMIT_FSIZE, &limit);
                const Status s = ext == QLatin1String("rdf") ? pages.Save(path)
                                 : exportPages(pages, path, ext == QLatin1String("tif") ? QVariantMap{{QStringLiteral("Compression"), QStringLiteral("None")}} : QVariantMap{});
                const bool named = s.description().contains(reason) || ext == QLatin1String("tif") || ext == QLatin1String("xlsx")
                                   || ext == QLatin1String("pdf"); // their libraries keep the reason to themselves
                _exit(s.ok() ? 0 : named ? s.number() : 1);
            }
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QVERIFY2(WEXITSTATUS(status) == ErrPathAccess, qPrintable(QStringLiteral("%1: %2").arg(ext).arg(WEXITSTATUS(status))));
            QCOMPARE(entries(dir.path()), QStringList{QFileInfo(path).fileName()});
            QCOMPARE(contents(path), QByteArray("old"));
            QFile::remove(path);
        }
    }

    void signalsRemoveStagedFiles()
    {
        QTemporaryDir dir;
        for (const int sig : {SIGINT, SIGTERM}) {
            const pid_t child = fork();
            if (child == 0) {
                removeStagedFilesOnSignals();
                StagedFiles staged(QStringLiteral("Test"));
                QFile file;
                if (!staged.open(dir.filePath(QStringLiteral("out.pdf")), &file).ok() || file.write("partial") != 7 || !file.flush())
                    _exit(1);
                kill(getpid(), sig);
                _exit(2);
            }
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 128 + sig);
            QVERIFY2(entries(dir.path()).isEmpty(), qPrintable(entries(dir.path()).join(' ')));
        }
    }

    void symbolicLinksAreWrittenThrough()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
        const QString target = dir.filePath(QStringLiteral("real/report.txt"));
        const QString link = dir.filePath(QStringLiteral("link.txt"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QVERIFY(QFile::link(target, link));
        QVERIFY(exportPages(pages, link).ok());
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(contents(target).size() > 100);
        QCOMPARE(entries(dir.filePath(QStringLiteral("real"))), QStringList{QStringLiteral("report.txt")});
        QVERIFY(pages.Save(link).ok());
        QVERIFY(QFileInfo(link).isSymLink());
        PageCollection back;
        QVERIFY(back.Load(target).ok());
        QCOMPARE(back.Count(), pages.Count());

        const QString loop = dir.filePath(QStringLiteral("loop.txt"));
        QVERIFY(QFile::link(loop, loop));
        const Status s = exportPages(pages, loop);
        QCOMPARE(s.number(), int(ErrPathAccess));
        QVERIFY2(s.description().contains(QLatin1String("loop")), qPrintable(s.description()));
    }

    void cancelled()
    {
        QTemporaryDir dir;
        for (const QString &ext : Extensions) {
            std::atomic_bool cancel = false;
            ExportProgress progress;
            progress.cancel = &cancel;
            int last = -1;
            progress.onProgress = [&](int done, int total) {
                QCOMPARE(total, 6);
                last = done;
                if (done == 2)
                    cancel = true;
            };
            const Status s = exportPages(pages, dir.filePath(QStringLiteral("out.") + ext), {}, progress);
            QCOMPARE(s.number(), int(ErrExportCancelled));
            QCOMPARE(last, 2);
            QVERIFY2(entries(dir.path()).isEmpty(), qPrintable(ext));
        }
    }
};

QTEST_MAIN(TestExportFailures)
#include "tst_exportfailures.moc"
