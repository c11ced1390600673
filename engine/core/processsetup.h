#pragma once
// Process-wide settings the programs make first thing in main().
#include <QFile>
#include <QtGlobal>

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Orv {

inline void setUpProcess()
{
    // glibc looks at /etc/localtime again on every local-time conversion
    // when TZ is unset: a file-system call per date value read. Naming the
    // file in TZ makes it read once.
    if (qEnvironmentVariableIsEmpty("TZ") && QFile::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
    // Grow the heap in 64 MiB steps: PDF writing allocates and frees many
    // small blocks, and the default step trims and regrows the heap all the
    // time (about half of QPdfWriter's time).
    mallopt(M_TOP_PAD, 64 * 1024 * 1024);
    // Qt warns on every start when there is no runtime folder (a command
    // run from cron, ssh or a container); give it a private one in /tmp.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/orvreport-runtime-" + QByteArray::number(uint(getuid()));
        struct stat info;
        if (mkdir(dir.constData(), 0700) == 0
            || (lstat(dir.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()
                && (info.st_mode & 0777) == 0700))
            qputenv("XDG_RUNTIME_DIR", dir);
    }
}

} // namespace Orv
