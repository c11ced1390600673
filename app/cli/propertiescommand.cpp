#include "app/cli/clicommand.h"

#include "engine/model/controlregistry.h"
#include "engine/model/control.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <memory>

namespace Orv::Cli {

namespace {

QString typeName(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Bool: return QStringLiteral("Boolean");
    case QMetaType::Int: return QStringLiteral("Long");
    case QMetaType::Double: return QStringLiteral("Double");
    case QMetaType::QString: return QStringLiteral("String");
    case QMetaType::QByteArray: return QStringLiteral("bytes");
    default: return QStringLiteral("object");
    }
}

void writeRows(QTextStream &out, const QObject *object, const QString &prefix)
{
    for (const QMetaProperty &p : Reflection::properties(object->metaObject())) {
        const QString name = prefix + QString::fromLatin1(p.name());
        if (Reflection::isPart(p)) {
            if (const QObject *part = Reflection::partOf(object, p))
                writeRows(out, part, name + QLatin1Char('.'));
            continue;
        }
        QString value = Reflection::toText(p.read(object));
        if (p.metaType().id() == QMetaType::QString)
            value = QLatin1Char('"') + value + QLatin1Char('"');
        QString range;
        if (p.metaType().id() == QMetaType::Int || p.metaType().id() == QMetaType::Double) {
            double low = 0, high = 0;
            Reflection::range(p, &low, &high);
            range = high - low < 4e9 ? QString::number(low, 'f', 0) + QStringLiteral(" to ") + QString::number(high, 'f', 0)
                                     : QStringLiteral("any");
        }
        if (!p.isWritable())
            range = QStringLiteral("read-only");
        else if (!p.isStored())
            range += (range.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("not saved");
        out << "| " << name << " | " << typeName(p.metaType()) << " | " << (p.isWritable() ? value : QString()) << " | "
            << range << " |\n";
    }
}

void writeTable(QTextStream &out, const QString &title, const QObject *object)
{
    out << "\n### " << title << "\n\n| Property | Type | Default | Range |\n|---|---|---|---|\n";
    writeRows(out, object, QString());
}

} // namespace

int runProperties(const QStringList &args, Streams &io)
{
    if (!args.isEmpty()) {
        io.err << "usage: orvreport-cli properties\n";
        return Usage;
    }
    const Report report;
    writeTable(io.out, QStringLiteral("Report"), &report);
    const Section section(Section::Detail);
    writeTable(io.out, QStringLiteral("Section"), &section);
    for (const QString &id : ControlRegistry::builtIn().typeIds()) {
        const std::unique_ptr<Control> control(ControlRegistry::builtIn().create(id));
        writeTable(io.out, id, control.get());
    }
    return Success;
}

} // namespace Orv::Cli
