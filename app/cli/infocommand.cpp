#include "app/cli/clicommand.h"

#include "engine/core/units.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/controls.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

namespace Orv::Cli {

namespace {

QString number(double v)
{
    return Reflection::toText(v);
}

QString inches(double twips)
{
    return QString::number(Units::twipsToInches(twips), 'f', 2) + QStringLiteral(" in");
}

const char *sectionKind(Section::Type type)
{
    switch (type) {
    case Section::ReportHeader: return "report header";
    case Section::ReportFooter: return "report footer";
    case Section::PageHeader: return "page header";
    case Section::PageFooter: return "page footer";
    case Section::GroupHeader: return "group header";
    case Section::GroupFooter: return "group footer";
    case Section::Detail: return "detail";
    }
    return "?";
}

// What a reader of the listing wants to know of a control besides its box.
QString detail(const Control *c)
{
    const auto quoted = [](const QString &s) { return QLatin1Char('"') + s.left(60) + QLatin1Char('"'); };
    if (auto *label = qobject_cast<const Label *>(c))
        return quoted(label->caption());
    if (auto *field = qobject_cast<const Field *>(c)) {
        QString s = field->dataField().isEmpty() ? quoted(field->text()) : QStringLiteral("data ") + field->dataField();
        if (!field->outputFormat().isEmpty())
            s += QStringLiteral(" format ") + quoted(field->outputFormat());
        if (field->summaryType() != 0)
            s += QStringLiteral(" summary %1/%2").arg(field->summaryType()).arg(field->summaryFunc());
        return s;
    }
    if (auto *line = qobject_cast<const Line *>(c))
        return QStringLiteral("from (%1, %2) to (%3, %4)")
            .arg(number(line->x1()), number(line->y1()), number(line->x2()), number(line->y2()));
    if (auto *sub = qobject_cast<const SubReport *>(c))
        return quoted(sub->reportName());
    if (auto *data = qobject_cast<const DataControl *>(c))
        return quoted(data->source());
    return QString();
}

} // namespace

int runInfo(const QStringList &args, Streams &io)
{
    if (args.size() != 1) {
        io.err << "usage: orvreport-cli info <layout.rpx>\n";
        return Usage;
    }
    Report report;
    const Status status = LoadLayout(report, args.first());
    if (!status.ok()) {
        io.err << "orvreport-cli: " << status.description() << '\n';
        return Failure;
    }
    QTextStream &out = io.out;
    const PageSettings *page = report.pageSettings();
    out << "Layout: " << args.first() << '\n'
       << "Document name: " << report.documentName() << '\n'
       << "Print width: " << number(report.printWidth()) << " twips (" << inches(report.printWidth()) << ")\n"
       << "Paper: " << number(page->paperWidth()) << " x " << number(page->paperHeight()) << " twips, margins "
       << number(page->leftMargin()) << ' ' << number(page->topMargin()) << ' ' << number(page->rightMargin()) << ' '
       << number(page->bottomMargin()) << '\n';
    const auto controls = report.allControls();
    out << "Sections: " << report.sections()->Count() << ", controls: " << controls.size() << '\n';
    for (const Section *s : *report.sections()) {
        out << "  " << s->name() << " (" << sectionKind(s->type()) << "), height " << number(s->height());
        if (!s->dataField().isEmpty())
            out << ", group on " << s->dataField();
        out << '\n';
        for (const Control *c : *s->controls()) {
            out << "    " << c->name() << "  " << c->typeName() << "  at " << number(c->left()) << ", "
               << number(c->top()) << " size " << number(c->width()) << " x " << number(c->height());
            const QString more = detail(c);
            if (!more.isEmpty())
                out << "  " << more;
            out << '\n';
        }
    }
    if (!report.script().isEmpty())
        out << "Script: " << report.script().count(QLatin1Char('\n')) + 1 << " lines\n";
    return Success;
}

} // namespace Orv::Cli
