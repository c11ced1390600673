#pragma once
// Process-wide settings the programs make first thing in main().
#include <QFile>
#include <QtGlobal>

#include <malloc.h>

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
}

} // namespace Orv
