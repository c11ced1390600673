// export-settings [format]: the settings each export filter takes, from the
// filters' own descriptions (the same list run --option is checked against).
#include "app/cli/clicommand.h"

#include "engine/export/exporter.h"

namespace Orv::Cli {

int runExportSettings(const QStringList &args, Streams &io)
{
    if (args.size() > 1 || (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')))) {
        io.err << "usage: orvreport-cli export-settings [RTF|PDF|HTML|Excel|TIFF|Text]\n";
        return Usage;
    }
    const ExporterRegistry &registry = ExporterRegistry::instance();
    QStringList formats = registry.formats();
    if (!args.isEmpty()) {
        const std::unique_ptr<Exporter> one = registry.create(args.first());
        if (!one) {
            io.err << "orvreport-cli: no export format \"" << args.first() << "\" (there are "
                   << formats.join(QStringLiteral(", ")) << ")\n";
            return Usage;
        }
        formats = {one->format()};
    }
    for (const QString &format : std::as_const(formats)) {
        const std::unique_ptr<Exporter> exporter = registry.create(format);
        io.out << format << " (." << exporter->extensions().join(QStringLiteral(", .")) << ")\n";
        const QList<ExportSetting> list = exporter->settings();
        if (list.isEmpty())
            io.out << "  no settings\n";
        for (const ExportSetting &s : list) {
            io.out << "  " << s.name.leftJustified(20) << ' ' << s.valuesText() << "; default " << s.defaultText()
                   << "\n      " << s.summary << '\n';
        }
    }
    return Success;
}

} // namespace Orv::Cli
