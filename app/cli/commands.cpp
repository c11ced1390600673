#include "app/cli/clicommand.h"

namespace Orv::Cli {

int runImportAccess(const QStringList &args, Streams &io);

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {QStringLiteral("info"), QStringLiteral("info <layout.rpx>"),
         QStringLiteral("Print the sections and controls of a layout"), runInfo},
        {QStringLiteral("properties"), QStringLiteral("properties"),
         QStringLiteral("List every property of the report, sections and controls"), runProperties},
        {QStringLiteral("sample-db"), QStringLiteral("sample-db <file.db> [--scale N]"),
         QStringLiteral("Write the sample database \"Tesserane Traders\""), runSampleDb},
        {QStringLiteral("query"), QStringLiteral("query --connection <string> <sql>"),
         QStringLiteral("Run a statement and print its rows, tab-separated"), runQuery},
        {QStringLiteral("run"), QStringLiteral("run <layout.rpx> -o <out.pdf|rtf|html|mht|xlsx|tiff|txt|rdf> [options]"),
         QStringLiteral("Run a report and export its pages (format by extension) or write an archive"), runReport},
        {QStringLiteral("export-settings"), QStringLiteral("export-settings [format]"),
         QStringLiteral("List the settings each export format takes (run --option name=value)"), runExportSettings},
        {QStringLiteral("script"), QStringLiteral("script <file.vbs>"),
         QStringLiteral("Run a report script outside a report (dbg.Out and MsgBox print)"), runScript},
        {QStringLiteral("wizard"), QStringLiteral("wizard --connection <s> --field <t.f>... -o <r.rpx>"),
         QStringLiteral("Generate a report layout from tables and fields of a database"), runWizard},
        {QStringLiteral("import-access"),
         QStringLiteral("import-access [<db.mdb>] (--report <name> -o <out.rpx> | --list | --all -o <folder>) [--exports <folder>] [--option name=value] [--log <file>]"),
         QStringLiteral("Convert an Access report (from its text export) into a layout; --list prints the reports, --export <file> converts an export alone, --all -o <folder> converts every report (the database may be left out when --exports names the folder)"),
         runImportAccess},
    };
    return list;
}

} // namespace Orv::Cli
