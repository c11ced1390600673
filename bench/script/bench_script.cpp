// Script speed: a typical data-field expression evaluated a million times
// over in-memory values, and an empty Detail_Format event fired a million
// times. Prints the rates; never fails for being slow.
#include "engine/script/host.h"
#include "engine/script/scriptsupport.h"
#include "engine/script/variant.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>

using namespace Orv::Script;

namespace {

class Row : public FieldResolver
{
public:
    QVariant values[2];
    int slotOf(const QString &name) override
    {
        if (name.compare(QLatin1String("Quantity"), Qt::CaseInsensitive) == 0)
            return 0;
        if (name.compare(QLatin1String("UnitPrice"), Qt::CaseInsensitive) == 0)
            return 1;
        return -1;
    }
    QVariant value(int slot) const override { return values[slot]; }
};

constexpr int N = 1'000'000;

void expression(QTextStream &out, const QString &title, const QString &text, bool prologue)
{
    Host host;
    if (prologue) {
        host.addObject(QStringLiteral("vbo"), createSupportObject());
        host.addCode(scriptPrologue(QStringLiteral("/tmp/")));
    }
    if (!host.compile().ok())
        return;
    Row row;
    Orv::Status status;
    auto e = host.compileExpression(text, &row, &status);
    if (!e) {
        out << title << ": does not compile: " << status.description() << '\n';
        return;
    }
    QElapsedTimer t;
    t.start();
    qint64 length = 0;
    for (int i = 0; i < N; ++i) {
        row.values[0] = i % 20;
        row.values[1] = 1.25 + (i % 7);
        const Variant v = e->evaluateVariant(&status);
        length += v.isString() ? v.rawString().size() : 1;
    }
    const double s = t.nsecsElapsed() / 1e9;
    out << title << ": " << qRound64(N / s) << " evaluations/s (" << QString::number(s * 1e9 / N, 'f', 0)
        << " ns each; checksum " << length << ")\n";
}

void events(QTextStream &out)
{
    Host host;
    host.addCode(QStringLiteral("Sub Detail_Format()\nEnd Sub\n"));
    if (!host.compile().ok())
        return;
    QVariantList args;
    bool cancel = false;
    QElapsedTimer t;
    t.start();
    Orv::Status last;
    for (int i = 0; i < N; ++i)
        last = host.fireEvent(QStringLiteral("Detail"), QStringLiteral("Format"), args, &cancel);
    const double s = t.nsecsElapsed() / 1e9;
    if (!last.ok())
        out << "Detail_Format failed: " << last.description() << '\n';
    out << "empty Detail_Format: " << qRound64(N / s) << " events/s (" << QString::number(s * 1e6 / N, 'f', 3)
        << " us per detail row)\n";
}

} // namespace

int main()
{
    QTextStream out(stdout);
    expression(out, QStringLiteral("IIf([Quantity] > 10, [UnitPrice] * [Quantity], 0)"),
               QStringLiteral("IIf([Quantity] > 10, [UnitPrice] * [Quantity], 0)"), false);
    expression(out, QStringLiteral("IIf with Format (builtins)"),
               QStringLiteral("IIf([Quantity] > 10, Format([UnitPrice] * [Quantity], \"#,##0.00\"), \"-\")"), false);
    expression(out, QStringLiteral("IIf with Format (through the prologue and vbo)"),
               QStringLiteral("IIf([Quantity] > 10, Format([UnitPrice] * [Quantity], \"#,##0.00\"), \"-\")"), true);
    events(out);
    return 0;
}
