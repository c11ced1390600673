#include "app/cli/clicommand.h"

#include "engine/data/connection.h"
#include "engine/data/sampledatabase.h"

namespace Orv::Cli {

int runSampleDb(const QStringList &args, Streams &io)
{
    QString path;
    int scale = 1;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--scale") && i + 1 < args.size()) {
            bool ok = false;
            scale = args[++i].toInt(&ok);
            if (!ok) {
                io.err << "orvreport-cli: --scale needs a whole number, not \"" << args[i] << "\"\n";
                return Usage;
            }
        } else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            path = args[i];
        } else {
            io.err << "usage: orvreport-cli sample-db <file.db> [--scale N]\n";
            return Usage;
        }
    }
    if (path.isEmpty()) {
        io.err << "usage: orvreport-cli sample-db <file.db> [--scale N]\n";
        return Usage;
    }
    const Status status = Data::createSampleDatabase(path, scale);
    if (!status.ok()) {
        io.err << "orvreport-cli: " << status.description() << '\n';
        return Failure;
    }
    io.out << "Wrote the sample database \"Tesserane Traders\" (scale " << scale << ") to " << path << '\n';
    return Success;
}

int runQuery(const QStringList &args, Streams &io)
{
    if (args.size() != 3 || args[0] != QLatin1String("--connection")) {
        io.err << "usage: orvreport-cli query --connection <string> <sql>\n";
        return Usage;
    }
    Data::Connection connection;
    Status status = connection.Open(args[1]);
    if (!status.ok()) {
        io.err << "orvreport-cli: " << status.description() << '\n';
        return Failure;
    }
    auto rs = connection.Execute(args[2], &status);
    if (!rs) {
        io.err << "orvreport-cli: " << status.description() << '\n';
        return Failure;
    }
    QStringList names;
    for (int i = 0; i < rs->fields()->count(); ++i)
        names << rs->fields()->at(i)->name();
    io.out << names.join(u'\t') << '\n';
    qint64 rows = 0;
    while (!rs->atEnd()) {
        QStringList values;
        for (int i = 0; i < names.size(); ++i) {
            const QVariant v = rs->value(i);
            values << (v.isValid() ? v.toString() : QStringLiteral("NULL"));
        }
        io.out << values.join(u'\t') << '\n';
        ++rows;
        rs->MoveNext();
    }
    if (!rs->lastError().ok()) {
        io.err << "orvreport-cli: " << rs->lastError().description() << '\n';
        return Failure;
    }
    io.err << rows << " rows\n";
    return Success;
}

} // namespace Orv::Cli
