// Every format on bad ground: a missing or unwritable folder, a read-only
// file, a full disk (a file-size limit in a child process) and a cancelled
// export each give a clear error and leave no partial file behind.

#include "exportcheck.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
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
        QTemporaryDir dir;
        for (const QString &ext : Extensions) {
            const QString path = dir.filePath(QStringLiteral("full.") + ext);
            const pid_t child = fork();
            if (child == 0) {
                // Writes past 1500 bytes fail with EFBIG instead of a signal.
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{1500, 1500};
                setrlimit(RLIMIT_FSIZE, &limit);
                const Status s = exportPages(pages, path, ext == QLatin1String("tif") ? QVariantMap{{QStringLiteral("Compression"), QStringLiteral("None")}} : QVariantMap{});
                _exit(s.ok() ? 0 : s.number());
            }
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QVERIFY2(WEXITSTATUS(status) == ErrPathAccess, qPrintable(QStringLiteral("%1: %2").arg(ext).arg(WEXITSTATUS(status))));
            QVERIFY2(entries(dir.path()).isEmpty(), qPrintable(ext + QLatin1Char(' ') + entries(dir.path()).join(' ')));
        }
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
