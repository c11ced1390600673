// Feeds arbitrary text to the script compiler and runs what compiles, with
// a small step budget. Whatever the text, the host answers with a status:
// a failure carries an error number, and nothing crashes or runs away.

#include "engine/script/host.h"
#include "engine/script/scriptsupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orv::Script;
    Host host;
    auto debug = std::make_shared<DebugOutput>();
    debug->out = [](const QString &) {};
    host.addObject(QStringLiteral("dbg"), createDebugObject(debug));
    host.addObject(QStringLiteral("vbo"), createSupportObject());
    host.setStepBudget(200000);
    host.addCode(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    const Orv::Status status = host.compile();
    if (!status.ok() && status.number() == 0)
        std::abort();
    return 0;
}
