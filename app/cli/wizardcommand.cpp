// orvreport-cli wizard: the report wizard driven by arguments instead of
// its pages. Reads the schema, takes the chosen tables, fields, joins,
// group levels and sorts into the wizard's model and writes the generated
// layout.

#include "app/cli/clicommand.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "ui/uiseam.h"
#include "wizard/styles.h"
#include "wizard/wizardmodel.h"

namespace Orv::Cli {

namespace {

const char *const WizardUsage =
    "usage: orvreport-cli wizard --connection <string> [--table <name>]... --field <table.field|table.*>...\n"
    "         [--relation <table.column=table.column>]... [--no-relations]\n"
    "         [--group <field>]... [--sort <field> [desc]]... [--title <text>] [--style <0-5>] -o <report.rpx>\n";

// Message boxes of the wizard's model go to standard error; nothing is asked.
class StreamUi : public Ui
{
public:
    explicit StreamUi(QTextStream &err) : m_err(err) {}

    MessageResult messageBox(const QString &text, const QString &title, MessageButtons, MessageIcon) override
    {
        m_err << "orvreport-cli: " << title << ": " << text << '\n';
        return MessageResult::Ok;
    }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override { return std::nullopt; }
    QString openFileName(const FileDialogRequest &) override { return {}; }
    QString saveFileName(const FileDialogRequest &) override { return {}; }
    QString browseFolder(const QString &, const QString &) override { return {}; }
    std::optional<int> chooseColor(int, const QString & = QString()) override { return std::nullopt; }
    std::optional<FontChoice> chooseFont(const FontChoice &) override { return std::nullopt; }
    std::optional<double> inputNumber(const QString &, const QString &, double, double, double, int) override
    {
        return std::nullopt;
    }
    std::optional<int> chooseItem(const QString &, const QString &, const QStringList &, int) override
    {
        return std::nullopt;
    }
    std::optional<QList<int>> chooseOrder(const QString &, const QStringList &) override { return std::nullopt; }
    std::optional<BorderChoice> chooseBorder(const BorderChoice &) override { return std::nullopt; }
    std::optional<QString> editText(const QString &, const QString &) override { return std::nullopt; }
    bool printDialog(QPrinter &, int, int) override { return false; }
    bool pageSetupDialog(QPrinter &) override { return false; }
    QString clipboardText() const override { return {}; }
    void setClipboardText(const QString &) override {}

private:
    QTextStream &m_err;
};

struct Arguments
{
    QString connection, title, output;
    int style = 0;
    bool noRelations = false;
    QStringList tables, fields, relations, groups;
    QList<QPair<QString, int>> sorts;
};

bool parse(const QStringList &args, Arguments *a, QString *error)
{
    auto value = [&](int &i) -> std::optional<QString> {
        if (i + 1 >= args.size()) {
            *error = args[i] + QStringLiteral(" needs a value");
            return std::nullopt;
        }
        return args[++i];
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        std::optional<QString> v;
        if (arg == QLatin1String("--no-relations")) {
            a->noRelations = true;
            continue;
        }
        if (!(v = value(i)))
            return false;
        if (arg == QLatin1String("--connection")) {
            a->connection = *v;
        } else if (arg == QLatin1String("--table")) {
            a->tables << *v;
        } else if (arg == QLatin1String("--field")) {
            a->fields << *v;
        } else if (arg == QLatin1String("--relation")) {
            a->relations << *v;
        } else if (arg == QLatin1String("--group")) {
            a->groups << *v;
        } else if (arg == QLatin1String("--sort")) {
            int order = 0;
            if (i + 1 < args.size() && (args[i + 1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0
                                        || args[i + 1].compare(QLatin1String("asc"), Qt::CaseInsensitive) == 0))
                order = args[++i].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0 ? 1 : 0;
            a->sorts.append({*v, order});
        } else if (arg == QLatin1String("--title")) {
            a->title = *v;
        } else if (arg == QLatin1String("--style")) {
            bool ok = false;
            a->style = v->toInt(&ok);
            if (!ok || a->style < 0 || a->style >= Wizard::StyleCount) {
                *error = QStringLiteral("--style takes 0 to 5, not \"%1\"").arg(*v);
                return false;
            }
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            a->output = *v;
        } else {
            *error = QStringLiteral("unknown argument \"%1\"").arg(arg);
            return false;
        }
    }
    if (a->connection.isEmpty() || a->output.isEmpty() || a->fields.isEmpty()) {
        *error = QStringLiteral("--connection, --field and -o are required");
        return false;
    }
    return true;
}

// Splits "table.column" at the dot after the longest table name of the
// schema it starts with, so table names holding dots work too.
bool splitQualified(Wizard::CDataSource &ds, const QString &text, Wizard::WizTableDefs::Pointer *table, QString *rest)
{
    int best = -1;
    for (const auto &t : ds.tableDefs()) {
        const QString &name = t->NameOfTable;
        if (name.size() > best && text.size() > name.size() && text.at(name.size()) == QLatin1Char('.')
            && text.startsWith(name, Qt::CaseInsensitive)) {
            best = int(name.size());
            *table = t;
        }
    }
    if (best < 0)
        return false;
    *rest = text.mid(best + 1);
    return true;
}

// A selected field by "table.field" or by a field name chosen only once.
Wizard::SelectedFieldPtr findSelected(Wizard::Report &model, const QString &text, QString *error)
{
    if (auto f = model.SelectedFields().Item(text))
        return f;
    Wizard::SelectedFieldPtr found;
    for (const auto &f : model.SelectedFields()) {
        if (f->FieldName.compare(text, Qt::CaseInsensitive) != 0)
            continue;
        if (found) {
            *error = QStringLiteral("\"%1\" is a field of more than one chosen table; name it as table.field").arg(text);
            return nullptr;
        }
        found = f;
    }
    if (!found)
        *error = QStringLiteral("\"%1\" is not one of the chosen fields").arg(text);
    return found;
}

QString bracketed(Wizard::CDataSource &ds, const QString &side, QString *error)
{
    Wizard::WizTableDefs::Pointer table;
    QString column;
    if (!splitQualified(ds, side.trimmed(), &table, &column) || !table->Fields.Item(column)) {
        *error = QStringLiteral("\"%1\" names no column of the database").arg(side.trimmed());
        return QString();
    }
    return QLatin1Char('[') + table->NameOfTable + QLatin1String("].[") + table->Fields.Item(column)->NameOfField
        + QLatin1Char(']');
}

int choose(Wizard::Report &model, const Arguments &a, Streams &io)
{
    Wizard::CDataSource &ds = model.DataSource();
    auto fail = [&](const QString &message) {
        io.err << "orvreport-cli: " << message << '\n';
        return int(Failure);
    };
    for (const QString &name : a.tables) {
        const auto table = ds.tableDefs().Item(name);
        if (!table)
            return fail(QStringLiteral("the database has no table \"%1\"").arg(name));
        const Status added = model.SelectedTables().Add(table->NameOfTable);
        if (!added.ok())
            return fail(added.description());
    }
    for (const QString &text : a.fields) {
        Wizard::WizTableDefs::Pointer table;
        QString field;
        if (!splitQualified(ds, text, &table, &field))
            return fail(QStringLiteral("\"%1\" does not start with a table of the database and a dot").arg(text));
        if (field == QLatin1String("*")) {
            Wizard::ChoiceList chosen;
            const Status added = model.AddSelectAll(table->NameOfTable, QStringLiteral("1"), chosen);
            if (!added.ok())
                return fail(added.description());
            continue;
        }
        const auto info = table->Fields.Item(field);
        if (!info)
            return fail(QStringLiteral("table \"%1\" has no field \"%2\"").arg(table->NameOfTable, field));
        const Status s = model.AddSelectedField(info->NameOfField, table->NameOfTable, Wizard::SourceTable);
        if (!s.ok())
            return fail(QStringLiteral("field \"%1\" is chosen twice").arg(text));
    }

    QString error;
    for (const QString &text : a.relations) {
        const int equals = text.indexOf(QLatin1Char('='));
        const QString left = equals < 0 ? QString() : bracketed(ds, text.left(equals), &error);
        const QString right = left.isEmpty() ? QString() : bracketed(ds, text.mid(equals + 1), &error);
        if (right.isEmpty())
            return fail(error.isEmpty() ? QStringLiteral("a relation reads primary.column=foreign.column, not \"%1\"").arg(text)
                                        : error);
        const Status s = model.AddRelationText(left + QStringLiteral(" = ") + right);
        if (!s.ok())
            return fail(QStringLiteral("relation \"%1\" is given twice").arg(text));
    }
    if (a.relations.isEmpty() && !a.noRelations)
        model.FillSelectedRelations();
    if (model.SelectedTables().Count() > 1 && model.SelectedRelations().Count() == 0)
        io.err << "orvreport-cli: warning: no relation joins the chosen tables; every combination of their rows is listed\n";

    for (const QString &text : a.groups) {
        const auto f = findSelected(model, text, &error);
        if (!f)
            return fail(error);
        if (!model.GroupFields().Add(f, 0).ok())
            return fail(QStringLiteral("\"%1\" is a group level twice").arg(text));
    }
    for (const auto &[text, order] : a.sorts) {
        const auto f = findSelected(model, text, &error);
        if (!f)
            return fail(error);
        const Status added = model.SortFields().Add(f, qint16(order));
        if (!added.ok())
            return fail(added.description());
    }
    return Success;
}

} // namespace

int runWizard(const QStringList &args, Streams &io)
{
    Arguments a;
    QString error;
    if (!parse(args, &a, &error)) {
        io.err << "orvreport-cli: " << error << '\n' << WizardUsage;
        return Usage;
    }
    StreamUi ui(io.err);
    Wizard::Report model(&ui);
    model.DataSource().ConnectionString = a.connection;
    if (!model.DataSource().OpenDataSource())
        return Failure;
    if (const int code = choose(model, a, io); code != Success)
        return code;

    Orv::Report report;
    model.SetReport(&report);
    model.Title = a.title;
    model.Style = qint16(a.style);
    if (!model.CreateReportDesigner().ok())
        return Failure;
    const Status saved = SaveLayout(report, a.output, LayoutFile::ToFile);
    if (!saved.ok()) {
        io.err << "orvreport-cli: " << saved.description() << '\n';
        return Failure;
    }
    io.out << "Wrote " << a.output << ": " << model.SelectedFields().Count() << " fields, "
           << model.GroupFields().Count() << " group levels, style " << Wizard::buildStyleTable()[size_t(a.style)].name
           << '\n'
           << model.BuildQuery() << '\n';
    return Success;
}

} // namespace Orv::Cli
