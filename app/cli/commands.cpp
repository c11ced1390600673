#include "app/cli/clicommand.h"

namespace Orv::Cli {

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {QStringLiteral("info"), QStringLiteral("info <layout.rpx>"),
         QStringLiteral("Print the sections and controls of a layout"), runInfo},
    };
    return list;
}

} // namespace Orv::Cli
