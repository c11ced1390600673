// Applies compiled Visual Basic formats to many values and prints the rates:
// a number, a date and a string format, and Format called with the format
// text each time as scripts do.

#include "engine/vbformat/vbformat.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Orv::VbFormat;

namespace {

// Runs fn over the values `rounds` times; returns applies per second.
double rate(const std::vector<QVariant> &values, int rounds, const std::function<qsizetype(const QVariant &)> &fn)
{
    qsizetype sink = 0;
    QElapsedTimer timer;
    timer.start();
    for (int r = 0; r < rounds; ++r) {
        for (const QVariant &v : values)
            sink += fn(v);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (sink == 0)
        std::printf("(no output)\n");
    return double(values.size()) * rounds / seconds;
}

void report(const char *what, double perSecond)
{
    std::printf("%-44s %6.2f million/s (%.0f ns each)\n", what, perSecond / 1e6, 1e9 / perSecond);
}

} // namespace

int main()
{
    const int count = 100000, rounds = 20;
    std::vector<QVariant> numbers, computed, dates, texts;
    for (int i = 0; i < count; ++i) {
        // Amounts as a database holds them, and results of arithmetic,
        // which need all 17 digits to read back.
        numbers.emplace_back(std::round((i * 37.1234 - 1.5e5) * 100) / 100);
        computed.emplace_back(i * 37.1234 / 3 - 1.5e5);
        dates.emplace_back(QDateTime(QDate(1990, 1, 1).addDays(i % 12000), QTime(0, 0).addSecs(i * 7 % 86400)));
        texts.emplace_back(QString::number(5550000 + i));
    }
    const CompiledFormat number(QStringLiteral("#,##0.00"));
    const CompiledFormat date(QStringLiteral("dd/mm/yyyy hh:nn:ss"));
    const CompiledFormat text(QStringLiteral("@@@-@@@@"));
    const QString numberText = QStringLiteral("#,##0.00");

    report("CompiledFormat \"#,##0.00\" on a Double", rate(numbers, rounds, [&](const QVariant &v) {
        return number.apply(v).size();
    }));
    report("CompiledFormat \"#,##0.00\" on a computed Double", rate(computed, rounds, [&](const QVariant &v) {
        return number.apply(v).size();
    }));
    report("CompiledFormat \"dd/mm/yyyy hh:nn:ss\" on a Date", rate(dates, rounds, [&](const QVariant &v) {
        return date.apply(v).size();
    }));
    report("CompiledFormat \"@@@-@@@@\" on a String", rate(texts, rounds, [&](const QVariant &v) {
        return text.apply(v).size();
    }));
    report("Format(x, \"#,##0.00\") with the text each call", rate(numbers, rounds, [&](const QVariant &v) {
        return format(v, numberText).size();
    }));
    report("FormatNumber(x, 2)", rate(numbers, rounds / 2, [&](const QVariant &v) {
        return formatNumber(v, 2).size();
    }));
    report("Format(x) without a format", rate(numbers, rounds, [&](const QVariant &v) {
        return format(v).size();
    }));
    QElapsedTimer timer;
    timer.start();
    qsizetype sink = 0;
    for (int i = 0; i < count; ++i)
        sink += CompiledFormat(QStringLiteral("$#,##0.00;($#,##0.00);\"zero\"")).text().size();
    report("compiling \"$#,##0.00;($#,##0.00);\\\"zero\\\"\"", count / (timer.nsecsElapsed() / 1e9));
    return sink > 0 ? 0 : 1;
}
