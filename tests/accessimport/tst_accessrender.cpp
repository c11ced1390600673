// The real exports converted and run with data: these applications'
// databases are not public, so each report gets a small SQLite database
// with the columns its record source needs, runs with it as the
// connection to a PDF, and the page text must show the bound values.
#include "accessimport/importdriver.h"
#include "engine/export/exporter.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/control.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/host.h"
#include "engine/script/scriptedrun.h"
#include "engine/script/scriptsupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace Orv;

namespace {

QString samples() { return QStringLiteral(ORV_TEST_DATA "/access-exports"); }

struct Sample
{
    const char *name;       // the export's file name ends in __<name>.<extension>
    const char *setup;      // the tables and rows; null: one table with every bound name, and
                            // extra statements after "+"
    const char *expect;     // texts the pages show besides the bound values, "|" between;
                            // "!" before a text that must not show
    const char *cannotRun;  // why the report cannot run here
};

// Where Access applications hand values to a report in other ways, the
// databases stand in: an Access parameter ([Sākot no:]) reads as a column
// of the same name; an unbound report gets a table named "" of one row.
const Sample samplesTable[] = {
    {"Photo", "+create table \"\" (x); insert into \"\" values (1);", "Data entered by|Photo Type|Direction Facing", nullptr},
    {"PhotoKey", "create table \"\" (x); insert into \"\" values (1);", "Jan-Sep = 1-9, Oct-Dec = A-C|4-digit Camera Photo Sequence #", nullptr},
    {"VersionTable", nullptr, "SOP Version Table|VK1", nullptr},
    {"rpt_Event_Summary", nullptr, nullptr, nullptr},
    {"rpt_Field_Sheets_Saplings_Blank", "create table \"\" (x); insert into \"\" values (1);", "Sapling", nullptr},
    {"rpt_QA_Results", nullptr, "Quality Assurance", nullptr},
    {"rpt_Tag_History", nullptr, nullptr, nullptr},
    {"rpt_Tgt_Species_List_By_Park", nullptr, "Page 1 of 1", nullptr},
    {"MZAkts_sub",
     "create table dbo_Viesn_MZAkts_saturs (MZA_ID, Inv_Nos, Inv_Skaits, Inv_Cena, Inv_Summa, Inv_Stat, Stat);"
     "insert into dbo_Viesn_MZAkts_saturs values (1, 'Dvielis', 2, 3.5, 7, -10, null), (2, 'Lampa', 1, 20, 20, 0, 0),"
     " (3, 'Hidden', 1, 1, 1, 0, 5);",
     "Dvielis|Lampa|3.50|20.00|!Hidden", nullptr},
    {"Viesa_ligums_DS",
     "create table dbo_viesn_Ligumi (Ligums, Maksatajs_PID); create table dbo_Personas (Vards, Personas_ID);"
     "insert into dbo_viesn_Ligumi values (1, 1); insert into dbo_Personas values ('Anna', 1);", nullptr,
     "its record source selects the contract [forms]![LigumsViesn]![ligums] shown on an open Access form"},
    {"Viesi_sub", nullptr, nullptr, nullptr},
    {"Viesn_caurlaide",
     "create table dbo_viesn_Caurlaides (Vards, Uzvards, Stavoklis, IstNr, Derigums, IzdDat, CaurlNr, Administ,"
     " \"Sākot no:\", \"Līdz:\");"
     "insert into dbo_viesn_Caurlaides values ('Anna', 'Ozola', 'Viesis', 12, '2024-05-01', '2024-04-01', 7, 'Kalns', 1, 10),"
     " ('Outside', 'Range', 'x', 1, '2024-05-01', '2024-04-01', 70, 'x', 1, 10);",
     "Anna|Ozola|Viesis|Kalns|01.05.2024|!Outside", nullptr},
    {"rptAppliances", nullptr, nullptr, nullptr},
    {"rptPaint", nullptr, "Charge To", nullptr},
    {"rptCostVsSell", nullptr, "1 OF 1", nullptr},
    {"rptKomoriDetail", nullptr, "KOMORI K-STATION JOB REPORT|Total Time for This Project", nullptr},
    {"rptNavigationPaneGroups", nullptr, "Page 1 of 1", nullptr},
};

QString exportOf(const QString &name)
{
    const QStringList files = QDir(samples()).entryList({QStringLiteral("*__") + name + QStringLiteral(".*")}, QDir::Files);
    for (const QString &f : files)
        if (f.endsWith(u".bas") || f.endsWith(u".report"))
            return samples() + u'/' + f;
    return QString();
}

// A value no other one contains.
QString valueFor(int row, int column) { return QStringLiteral("R%1C%2X").arg(row).arg(column, 2, 10, QLatin1Char('0')); }

struct Bindings
{
    QString table;
    QStringList columns;  // every name the report reads from its rows
    QStringList shown;    // the plain bound fields that show their value as it is
};

Bindings bindingsOf(const Report &report)
{
    Bindings b;
    // Access prints what lies beyond the paper's width on further pages;
    // the engine's page ends at its margin.
    const PageSettings *page = report.pageSettings();
    const double printable = page->paperWidth() - page->leftMargin() - page->rightMargin();
    static const QRegularExpression fieldRef(QStringLiteral("rpt\\.Fields\\(\"([^\"]+)\"\\)"));
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+\\[?([^\\]\\s;,()]+)"), QRegularExpression::CaseInsensitiveOption);
    // rpt.Fields("x") names a column, or another text box of the report
    // when no control is bound to a column of that name.
    QStringList fields, bound;
    for (const Control *c : report.allControls()) {
        if (qobject_cast<const Field *>(c))
            fields << c->name();
        bound << c->property("DataField").toString();
    }
    for (const QString &name : bound)
        fields.removeAll(name);
    const auto add = [&](const QString &name) {
        if (!name.isEmpty() && !b.columns.contains(name, Qt::CaseInsensitive) && !fields.contains(name, Qt::CaseInsensitive))
            b.columns << name;
    };
    for (const Section *s : *report.sections()) {
        const bool plainGroup = !s->dataField().isEmpty() && !s->dataField().startsWith(u'=');
        if (plainGroup)
            add(s->dataField());
        for (auto it = fieldRef.globalMatch(s->dataField()); it.hasNext();)
            add(it.next().captured(1));
        for (const Control *c : *s->controls()) {
            if (const auto *data = qobject_cast<const DataControl *>(c)) {
                b.table = from.match(data->source()).captured(1);
                continue;
            }
            const QString df = c->property("DataField").toString();
            for (auto it = fieldRef.globalMatch(df); it.hasNext();)
                add(it.next().captured(1));
            if (df.isEmpty() || df.startsWith(u'=') || df.startsWith(u'\''))
                continue;
            add(df);
            const auto *f = qobject_cast<const Field *>(c);
            if (f && f->visible() && s->visible() && f->outputFormat().isEmpty() && f->summaryType() == 0
                && f->left() + f->width() <= printable)
                b.shown << df;
        }
    }
    return b;
}

Status fillDatabase(const QString &path, const Sample &sample, const Bindings &b)
{
    QString script;
    if (sample.setup) {
        script = QString::fromUtf8(sample.setup);
    }
    if (!sample.setup || script.startsWith(u'+')) {
        QStringList columns, rows[2];
        for (int k = 0; k < b.columns.size(); ++k) {
            columns << u'"' + b.columns[k] + u'"';
            for (int r = 0; r < 2; ++r)
                rows[r] << u'\'' + valueFor(r + 1, k) + u'\'';
        }
        script = QStringLiteral("create table \"%1\" (%2);").arg(b.table, columns.join(u',')) + script.mid(1);
        for (const QStringList &row : rows)
            script += QStringLiteral("insert into \"%1\" values (%2);").arg(b.table, row.join(u','));
    }
    sqlite3 *db = nullptr;
    Status status;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        status = Status::failure(1, QString::fromUtf8(sqlite3_errmsg(db)));
    } else {
        char *message = nullptr;
        if (sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
            status = Status::failure(1, QString::fromUtf8(message) + QStringLiteral(": ") + script);
        sqlite3_free(message);
    }
    sqlite3_close(db);
    return status;
}

// Runs a layout as the program's preview does (vbo, dbg, the prologue)
// and exports the pages to a PDF.
Status runToPdf(const QString &layout, const QString &connection, const QString &pdf, QStringList *errors)
{
    auto report = std::make_unique<Report>();
    if (Status s = LoadLayout(*report, layout); !s)
        return s;
    Script::ScriptedRunOptions options;
    options.reportFolder = QFileInfo(layout).absolutePath() + u'/';
    options.connectionString = connection;
    const auto scripted = Script::ScriptedRun::of(std::move(report), options);
    ReportRun &run = *scripted->run();
    QObject::connect(&run, &ReportRun::Error, [errors](int number, const QString &description, int, const QString &,
                                                       const QString &, int, bool *) {
        *errors << QStringLiteral("%1 %2").arg(number).arg(description);
    });
    if (Status s = run.Run(false); !s)
        return s;
    return ExporterRegistry::instance().createForPath(pdf)->write(*run.Pages(), pdf, {});
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    // In drawing order and without blanks, so that a value wrapped in a
    // narrow box reads as one.
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    text.remove(QRegularExpression(QStringLiteral("\\s+")));
    return text;
}

} // namespace

class TestAccessRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void samplesRenderTheirData_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(samplesTable)); ++i)
            QTest::newRow(samplesTable[i].name) << i;
    }

    void samplesRenderTheirData()
    {
        QFETCH(int, index);
        const Sample &sample = samplesTable[index];
        const QString name = QString::fromLatin1(sample.name);
        const QString exportPath = exportOf(name);
        QVERIFY2(!exportPath.isEmpty(), sample.name);
        // Each report under its own name in one folder, so that the
        // subreports of the sample applications find one another.
        static QTemporaryDir dir;
        for (const Sample &s : samplesTable) {
            const QString layout = dir.filePath(QString::fromLatin1(s.name) + QStringLiteral(".rpx"));
            if (QFile::exists(layout))
                continue;
            AccessImportDriver driver;
            Report converted;
            driver.SetReport(&converted);
            driver.convertExport(exportOf(QString::fromLatin1(s.name)), QString::fromLatin1(s.name));
            QVERIFY(SaveLayout(converted, layout, LayoutFile::ToFile).ok());
        }
        const QString layout = dir.filePath(name + QStringLiteral(".rpx"));
        Report report;
        QVERIFY(LoadLayout(report, layout).ok());
        const Bindings bindings = bindingsOf(report);

        const QString database = dir.filePath(name + QStringLiteral(".db"));
        const Status filled = fillDatabase(database, sample, bindings);
        QVERIFY2(filled.ok(), qPrintable(filled.description()));
        const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
        QStringList errors;
        const Status ran = runToPdf(layout, QStringLiteral("Data Source=") + database, pdf, &errors);
        if (sample.cannotRun) {
            // It fails as a value, naming the statement, and writes nothing.
            QVERIFY(!ran.ok());
            QVERIFY2(ran.description().contains(QStringLiteral("[forms]![LigumsViesn]![ligums]")), qPrintable(ran.description()));
            QVERIFY(!QFile::exists(pdf));
            qInfo("%s cannot run: %s", sample.name, sample.cannotRun);
            return;
        }
        QVERIFY2(ran.ok(), qPrintable(ran.description() + u'\n' + errors.join(u'\n')));
        const QString text = pdfText(pdf);
        QVERIFY2(!text.trimmed().isEmpty(), sample.name);
        QStringList missing;
        const bool derived = !sample.setup || sample.setup[0] == '+';
        QVERIFY2((derived && !bindings.shown.isEmpty()) || sample.expect, "nothing to look for");
        if (derived) {
            for (const QString &field : bindings.shown) {
                const int k = int(bindings.columns.indexOf(field));
                if (!text.contains(valueFor(1, k)) && !text.contains(valueFor(2, k)))
                    missing << field;
            }
        }
        if (sample.expect)
            for (QString t : QString::fromUtf8(sample.expect).split(u'|')) {
                const bool absent = t.startsWith(u'!');
                if (text.contains(t.remove(u' ').remove(0, absent ? 1 : 0)) == absent)
                    missing << (absent ? QStringLiteral("(absent) ") : QString()) + t;
            }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not as expected on the pages: ") + missing.join(QStringLiteral(", ")) + u'\n' + text.left(3000)));
        if (!errors.isEmpty())
            qInfo("%s: %s", sample.name, qPrintable(errors.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(TestAccessRender)
#include "tst_accessrender.moc"
