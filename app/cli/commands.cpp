#include "app/cli/clicommand.h"

namespace Orv::Cli {

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {QStringLiteral("info"), QStringLiteral("info <layout.rpx>"),
         QStringLiteral("Print the sections and controls of a layout"), runInfo},
        {QStringLiteral("properties"), QStringLiteral("properties"),
         QStringLiteral("List every property of the report, sections and controls"), runProperties},
    };
    return list;
}

} // namespace Orv::Cli
