#pragma once
// glibc looks at /etc/localtime again on every local-time conversion when
// TZ is unset, a file-system call per date value read. Naming the file in
// TZ makes it read once. Programs call this first thing in main().
#include <QFile>
#include <QtGlobal>

namespace Orv {

inline void readLocalTimeZoneOnce()
{
    if (qEnvironmentVariableIsEmpty("TZ") && QFile::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
}

} // namespace Orv
