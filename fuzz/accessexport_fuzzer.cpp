// Feeds arbitrary bytes to the Access report export reader. A file that
// parses is converted into a report, which must save as a layout that loads
// back; a file that does not parse must fail with 321 and a line number.

#include "accessimport/accessexport.h"
#include "accessimport/accessimport.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orv::AccessImport;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ExportFile file;
    const Orv::Status parsed = parseExport(bytes, &file, QStringLiteral("fuzz"));
    std::unique_ptr<AccessReport> report;
    const Orv::Status built = parsed ? AccessReport::fromExport(std::move(file), QStringLiteral("fuzz"), &report) : parsed;
    if (!built) {
        if (built.number() != 321 || !built.description().contains(QStringLiteral("line ")))
            std::abort();
        return 0;
    }
    Orv::Report dst;
    Orv::CAccessImport converter;
    converter.setDatabasePath(QStringLiteral("/fuzz.mdb"));
    QStringList log;
    converter.importTemplate(*report, dst, Orv::CAccessImportSettings(), &log);
    Orv::Report again;
    if (!Orv::LoadLayout(again, Orv::layoutBytes(dst)).ok())
        std::abort();
    return 0;
}
