// Feeds arbitrary bytes to the layout loader. Whatever loads must save and
// load back to the same bytes; whatever does not must leave the report as
// it was.

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Orv::Report report;
    const QByteArray before = Orv::layoutBytes(report);
    const Orv::Status status = Orv::LoadLayout(report, bytes, QStringLiteral("fuzz"));
    if (!status.ok()) {
        if (Orv::layoutBytes(report) != before || status.number() != 321)
            std::abort();
        return 0;
    }
    const QByteArray saved = Orv::layoutBytes(report);
    Orv::Report again;
    if (!Orv::LoadLayout(again, saved).ok() || Orv::layoutBytes(again) != saved)
        std::abort();
    return 0;
}
