#include "runfixture.h"

#include "engine/data/connection.h"
#include "engine/data/sampledatabase.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"

#include <QTemporaryDir>

using namespace Orv;

namespace RunTest {

QString databasePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("tesserane.db"));
        const Status s = Data::createSampleDatabase(p, 1);
        if (!s.ok())
            qFatal("cannot write the sample database: %s", qPrintable(s.description()));
        return p;
    }();
    return path;
}

QString connection()
{
    return QStringLiteral("Provider=SQLite;Data Source=") + databasePath();
}

QVariantList sqlColumn(const QString &sql)
{
    Data::Connection c;
    Status status = c.Open(connection());
    if (!status.ok())
        qFatal("%s", qPrintable(status.description()));
    auto rs = c.Execute(sql, &status);
    if (!rs)
        qFatal("%s: %s", qPrintable(sql), qPrintable(status.description()));
    QVariantList values;
    for (; !rs->atEnd(); rs->MoveNext())
        values << rs->value(0);
    return values;
}

QVariant sqlValue(const QString &sql)
{
    return sqlColumn(sql).value(0);
}

QByteArray layoutXml(const QString &body, const QString &report)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OrvReportLayout version=\"1\">\n<Report %1>\n%2\n</Report>\n</OrvReportLayout>\n")
                      .arg(report, body);
    xml.replace(QLatin1String("$DB$"), connection().toHtmlEscaped());
    return xml.toUtf8();
}

Result run(const QString &body, const QString &reportAttributes, const std::function<void(ReportRun &)> &setup)
{
    Result result;
    Report report;
    result.status = LoadLayout(report, layoutXml(body, reportAttributes), QStringLiteral("test layout"));
    if (!result.status.ok())
        return result;
    ReportRun run(&report);
    if (setup)
        setup(run);
    result.status = run.Run(false);
    result.errors = run.errors();
    for (int i = 0; i < run.Pages()->Count(); ++i)
        result.pages.push_back(run.Pages()->page(i));
    return result;
}

std::vector<Text> texts(const Page &page)
{
    std::vector<Text> out;
    for (const PageOp &op : page.ops) {
        if (const auto *t = std::get_if<TextOp>(&op))
            out.push_back({t->rect, t->text});
    }
    return out;
}

QStringList textList(const Page &page)
{
    QStringList out;
    for (const Text &t : texts(page))
        out << t.text;
    return out;
}

QStringList column(const Result &result, double left)
{
    QStringList out;
    for (const auto &page : result.pages) {
        for (const Text &t : texts(*page)) {
            if (qAbs(t.rect.left() - left) < 1)
                out << t.text;
        }
    }
    return out;
}

namespace {

QString number(double v)
{
    return QString::number(qRound(v * 10) / 10.0);
}

QString rect(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(number(r.left()), number(r.top()), number(r.width()), number(r.height()));
}

QString color(QRgb c)
{
    return QStringLiteral("#%1").arg(c, 8, 16, QLatin1Char('0'));
}

} // namespace

QString dump(const Page &page)
{
    QStringList lines;
    lines << QStringLiteral("page %1x%2").arg(number(page.size.width()), number(page.size.height()));
    for (size_t i = 0; i < page.fonts.size(); ++i) {
        const PageFont &f = page.fonts[i];
        lines << QStringLiteral("font %1 %2 %3pt%4%5").arg(i).arg(f.family, number(f.pointSize),
                                                            f.bold ? QStringLiteral(" bold") : QString(),
                                                            f.italic ? QStringLiteral(" italic") : QString());
    }
    for (const PageOp &op : page.ops) {
        if (const auto *t = std::get_if<TextOp>(&op))
            lines << QStringLiteral("text %1 f%2 a%3 %4 \"%5\"").arg(rect(t->rect)).arg(t->font).arg(int(t->alignment))
                         .arg(color(t->foreColor), QString(t->text).replace(QLatin1Char('\n'), QLatin1String("\\n")));
        else if (const auto *l = std::get_if<LineOp>(&op))
            lines << QStringLiteral("line %1,%2 %3,%4 w%5").arg(number(l->from.x()), number(l->from.y()), number(l->to.x()),
                                                                number(l->to.y()), number(l->pen.width));
        else if (const auto *s = std::get_if<ShapeOp>(&op))
            lines << QStringLiteral("shape %1 k%2 fill %3").arg(rect(s->rect)).arg(int(s->kind)).arg(color(s->fill));
        else if (const auto *im = std::get_if<ImageOp>(&op))
            lines << QStringLiteral("image %1 #%2 mode%3").arg(rect(im->rect)).arg(im->image).arg(im->sizeMode);
        else if (const auto *c = std::get_if<CheckBoxOp>(&op))
            lines << QStringLiteral("check %1 %2").arg(rect(c->rect)).arg(c->checked ? 1 : 0);
        else if (const auto *b = std::get_if<BarcodeOp>(&op))
            lines << QStringLiteral("barcode %1 s%2 \"%3\"").arg(rect(b->rect)).arg(b->symbology).arg(b->data);
        else if (const auto *g = std::get_if<PolygonOp>(&op))
            lines << QStringLiteral("polygon %1 n%2%3 fill %4").arg(rect(g->bounds())).arg(g->points.size())
                         .arg(g->closed ? QString() : QStringLiteral(" open"), color(g->fill));
        else if (const auto *p = std::get_if<PieOp>(&op))
            lines << QStringLiteral("pie %1 %2+%3 fill %4").arg(rect(p->rect), number(p->startAngle), number(p->spanAngle), color(p->fill));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace RunTest
