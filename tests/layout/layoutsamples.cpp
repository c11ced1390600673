#include "layoutsamples.h"

#include "engine/model/control.h"
#include "engine/model/controlregistry.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <cmath>

using namespace Orv;

namespace {

QString sampleText(int seed)
{
    static const QString texts[] = {
        QStringLiteral("Plain text"),
        QStringLiteral("Quotes \" ' and <markup> & ampersands"),
        QStringLiteral("Line one\r\nLine two\r\n\tindented"),
        QStringLiteral("报表已修改，是否保存？"),
        QStringLiteral("Outside the BMP: \U0001F600 and trailing space "),
        QStringLiteral("Bell\x07 and vertical tab\x0B cannot be XML"),
        QStringLiteral("=Sum([Freight]) & \"!\""),
    };
    return texts[seed % 7];
}

// Sets every stored, writable property of object (and of its parts) to a
// value different from its default and inside its range.
void perturb(QObject *object, int seed)
{
    for (const QMetaProperty &p : Reflection::properties(object->metaObject())) {
        ++seed;
        if (Reflection::isPart(p)) {
            perturb(Reflection::partOf(object, p), seed * 7);
            continue;
        }
        if (!p.isStored() || !p.isWritable())
            continue;
        const QVariant old = p.read(object);
        double low = 0, high = 0;
        Reflection::range(p, &low, &high);
        QVariant value;
        switch (p.metaType().id()) {
        case QMetaType::Bool:
            value = !old.toBool();
            break;
        case QMetaType::Int: {
            if (high - low > 100000 && low < 0) {
                // Colours and other wide numbers: a system colour or a negative one.
                value = seed % 2 ? int(0x80000000u | unsigned(seed % 25)) : -seed * 1000 - 7;
            } else if (high - low > 100000) {
                value = int(low) + 1000 + seed;
            } else {
                int v = int(low) + seed % int(high - low + 1);
                if (v == old.toInt())
                    v = v == int(high) ? int(low) : v + 1;
                value = v;
            }
            break;
        }
        case QMetaType::Double: {
            double v = std::fmod(123.25 + seed * 17.125, high - low) + low;
            if (v == old.toDouble())
                v = (v + low) / 2 + 0.5;
            if (seed % 5 == 0)
                v = v / 3; // a value with a long decimal expansion
            value = v;
            break;
        }
        case QMetaType::QString:
            value = sampleText(seed) + QString::number(seed);
            break;
        case QMetaType::QByteArray: {
            QByteArray bytes;
            for (int i = 0; i < 300; ++i)
                bytes.append(char((i * 31 + seed) & 0xFF));
            value = bytes;
            break;
        }
        default:
            continue;
        }
        p.write(object, value);
    }
}

} // namespace

namespace LayoutSamples {

void fillWithEveryKind(Report &report)
{
    perturb(&report, 1);
    Sections *sections = report.sections();
    if (!sections->addReportHeaderFooter().ok())
        qFatal("the sample report already had a report header");
    sections->addGroupPair()->setDataField(QStringLiteral("Country"));
    sections->addGroupPair()->setDataField(QStringLiteral("=Left([CompanyName], 1)"));
    int seed = 100;
    for (Section *s : *sections) {
        const QString name = s->name();
        perturb(s, seed += 13);
        s->setName(name);
    }
    Section *detail = sections->firstOfType(Section::Detail);
    for (const QString &id : ControlRegistry::builtIn().typeIds()) {
        Control *c = detail->controls()->Add(id);
        perturb(c, seed += 29);
    }
    // A second, default control of each kind checks that defaults stay out
    // of the file and come back as defaults.
    Section *header = sections->firstOfType(Section::PageHeader);
    for (const QString &id : ControlRegistry::builtIn().typeIds())
        header->controls()->Add(id);
}

} // namespace LayoutSamples
