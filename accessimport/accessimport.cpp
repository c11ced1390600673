#include "accessimport/accessimport.h"

#include "engine/model/control.h"
#include "engine/model/controls.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "ui/uiseam.h"

#include <QtEndian>

namespace Orv {

using AccessImport::AccessObject;
using AccessImport::AccessReport;

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

CAccessImport::CAccessImport(Ui *ui) : m_ui(ui) {}

void CAccessImport::logError(const QString &description, const QString &location, int number)
{
    if (m_log) {
        m_log->append(QStringLiteral("ERROR #%1 in %2: %3").arg(number).arg(location, description));
        if (m_listener)
            m_listener(m_log->last());
    } else if (m_ui) {
        m_ui->messageBox(description, QStringLiteral("Error #%1 in %2").arg(number).arg(location), MessageButtons::Ok,
                         MessageIcon::Critical);
    }
}

QVariant CAccessImport::get(const AccessObject &object, const QString &name, const QString &location)
{
    Status s;
    QVariant v = object.value(name, &s);
    if (!s)
        logError(s.description(), location, s.number());
    return v;
}

bool CAccessImport::set(QObject *target, const QString &path, const QVariant &value, const QString &location)
{
    if (!value.isValid())
        return false; // the read already cost its log line
    if (!target) {
        logError(errorDescription(ErrObjectNotSet), location, ErrObjectNotSet);
        return false;
    }
    const Status s = Reflection::setValue(target, path, value);
    if (!s) {
        logError(s.description(), location, s.number());
        return false;
    }
    return true;
}

Control *CAccessImport::addControl(Section &section, const QString &typeId, const QString &location)
{
    Status s;
    Control *c = section.controls()->Add(typeId, &s);
    if (!c)
        logError(s.ok() ? QStringLiteral("Cannot create a control of type %1").arg(typeId) : s.description(), location,
                 s.ok() ? int(ErrCannotCreateObject) : s.number());
    return c;
}

QString CAccessImport::sanitizeName(const QString &name)
{
    static const QString reserved = QStringLiteral("PAGENUMBER_DOCUMENTNAME_CANVAS_MAXPAGES_PAGES_SCRIPT_STATUS_PRINTER"
                                                   "_PRINTWIDTH_TOC_TOOLBAR"
                                                   "_FIELDS_USERDATA_VERSION_WATERMARK_ZOOM_DETAIL");
    QString n = name;
    n.remove(u' ');
    n.remove(u'.');
    if (reserved.contains(n.toUpper()))
        n += QStringLiteral("_Ctl");
    return n;
}

// --- pattern services ------------------------------------------------------

// Every pattern operation runs global and without regard to case, the
// settings Access's own conversion code gave its regular-expression
// object on each call.
QString CAccessImport::replacePattern(const QString &sSrc, const QString &sPattern, const QString &sReplStr) const
{
    m_regExp.setGlobal(true);
    m_regExp.setPattern(sPattern);
    m_regExp.setIgnoreCase(true);
    Status s;
    QString out = m_regExp.replace(sSrc, sReplStr, &s);
    return s ? out : sSrc;
}

QString CAccessImport::findMatch(const QString &sSrc, const QString &sPattern) const
{
    m_regExp.setGlobal(true);
    m_regExp.setPattern(sPattern);
    m_regExp.setIgnoreCase(true);
    const std::vector<VbRegExp::Match> matches = m_regExp.execute(sSrc);
    if (matches.empty())
        return QString();
    return replacePattern(matches.front().value, sPattern, QStringLiteral("$1"));
}

QString CAccessImport::translateExpression(const QString &expression)
{
    m_regExp.setGlobal(true);
    m_regExp.setPattern(QStringLiteral("(\\[[^\\]]*\\])"));
    m_regExp.setIgnoreCase(true);
    QString w = expression;
    for (const VbRegExp::Match &match : m_regExp.execute(expression)) {
        const QString &m = match.value;
        const QString inner = m.mid(1, m.size() - 2);
        const QString lower = inner.toLower();
        if (lower == u"page") {
            w.replace(m, QStringLiteral("rpt.PageNumber"));
        } else if (lower == u"pages") {
            w.replace(m, QStringLiteral("rpt.txtPageCount.DataValue"));
            m_pageCount = true;
        } else {
            w.replace(m, QStringLiteral("rpt.Fields(\"") + inner + QStringLiteral("\").Value"));
        }
    }
    if (m_settings.mbCommentModule)
        w.prepend(u'\'');
    return w;
}

int CAccessImport::aggregateFunction(const QString &controlSource) const
{
    static const std::pair<const char *, int> functions[] = {
        {"sum", 0},    {"avg", 1},    {"count", 2},   {"min", 3},   {"max", 4},    {"stdev", 7},   {"stdevp", 8},
        {"dsum", 9},   {"davg", 10},  {"dcount", 11}, {"dvar", 12}, {"dvarp", 13}, {"dstdev", 14}, {"dstdevp", 15},
    };
    const QString name = findMatch(controlSource, QStringLiteral("\\s*=\\s*(\\w+)\\s*\\(")).toLower();
    for (const auto &[n, number] : functions)
        if (name == QLatin1StringView(n))
            return number;
    return -1;
}

QString CAccessImport::aggregateField(const QString &controlSource) const
{
    const QString pattern = QStringLiteral("(\\[[^\\]]*\\])");
    const QString m = findMatch(controlSource, pattern);
    if (m.isEmpty())
        return QString();
    QString rest = controlSource;
    rest.remove(m);
    if (!findMatch(rest, pattern).isEmpty())
        return QString();
    return m.mid(1, m.size() - 2);
}

// --- the report --------------------------------------------------------------

void CAccessImport::importTemplate(const AccessReport &src, Report &dst, const CAccessImportSettings &settings,
                                   QStringList *ctlLog)
{
    m_settings = settings;
    m_log = ctlLog;
    m_startScript.clear();
    m_endScript.clear();
    m_pageCount = false;
    importReport(src, dst);
    ImportSourceCode(src, dst);
    m_settings = CAccessImportSettings();
    m_log = nullptr;
}

bool CAccessImport::sectionExists(const AccessReport &src, int index) const
{
    const AccessObject *s = src.section(index);
    return s && s->value(QStringLiteral("Visible")).isValid();
}

bool CAccessImport::groupLevelExists(const AccessReport &src, int level) const
{
    const AccessObject *g = src.groupLevel(level);
    return g && g->value(QStringLiteral("SortOrder")).isValid();
}

void CAccessImport::importReport(const AccessReport &src, Report &dst)
{
    const QString here = QStringLiteral("importReport()");
    Sections *sections = dst.sections();
    for (int i = sections->Count() - 1; i >= 0; --i)
        std::ignore = sections->Remove(i); // in range: counting down from the last
    m_pageCount = false;
    m_detailName.clear();

    if (sectionExists(src, 0)) {
        Status s;
        if (Section *detail = sections->Add(QStringLiteral("dtl"), 0, Section::Detail, 1000, &s)) {
            copySection(src, *src.section(0), *detail, -1, false, QString());
            m_detailName = detail->name();
            importDataControl(*detail, src);
        } else {
            logError(s.description(), here, s.number());
        }
    }

    // Header and footer pairs: report, page, then each group level, each
    // pair inserted directly about the detail (or about each other when
    // the export has no detail).
    int inserted = 0;
    const int detailCount = sections->Count();
    std::vector<std::pair<int, int>> pairs{{1, -1}, {3, -1}}; // Access header index, group level
    for (int k = 0; groupLevelExists(src, k); ++k)
        pairs.push_back({2 * k + 5, k});
    for (const auto &[h, level] : pairs) {
        const Section::Type headerType = h == 1 ? Section::ReportHeader : h == 3 ? Section::PageHeader : Section::GroupHeader;
        const Section::Type footerType = h == 1 ? Section::ReportFooter : h == 3 ? Section::PageFooter : Section::GroupFooter;
        const bool hasHeader = sectionExists(src, h), hasFooter = sectionExists(src, h + 1);
        if (!hasHeader && !hasFooter)
            continue;
        const QString hidden = QStringLiteral("hiddenGroup") + QString::number(h / 2);
        Status s;
        Section *header = sections->Add(hidden, inserted, headerType, 1, &s);
        if (!header) {
            logError(s.description(), here, s.number());
            continue;
        }
        ++inserted;
        QString groupName = hidden;
        if (hasHeader) {
            const QVariant name = get(*src.section(h), QStringLiteral("Name"), here);
            groupName = sanitizeName(name.toString());
            copySection(src, *src.section(h), *header, level, true, groupName);
        } else {
            header->setVisible(false);
        }
        Section *footer = sections->Add(hidden + QStringLiteral("footer"), inserted + detailCount, footerType, 1, &s);
        if (!footer) {
            // A header alone would not load: take it out again.
            logError(s.description(), here, s.number());
            std::ignore = sections->Remove(--inserted); // the header just inserted
            continue;
        }
        if (hasFooter)
            copySection(src, *src.section(h + 1), *footer, level, false, groupName);
        else
            footer->setVisible(false);
    }

    if (m_pageCount) {
        Section *pageFooter = sections->firstOfType(Section::PageFooter);
        if (!pageFooter) {
            logError(QStringLiteral("failed to add txtPageCount control"), here, 0);
        } else if (Control *c = addControl(*pageFooter, QStringLiteral("OrvEngine.Field"), here)) {
            const std::pair<const char *, QVariant> values[] = {
                {"Name", QStringLiteral("txtPageCount")}, {"Text", QStringLiteral("txtPageCount")}, {"Visible", false},
                {"Tag", QStringLiteral("[Pages]")},      {"SummaryFunc", 2},                        {"SummaryType", 4},
                {"Top", 0},                              {"Left", 0},                               {"Width", 1300},
                {"Height", 360}};
            for (const auto &[path, v] : values)
                set(c, QLatin1StringView(path), v, here);
        }
    }

    set(&dst, QStringLiteral("PrintWidth"), get(*src.object(), QStringLiteral("Width"), here), here);
    set(&dst, QStringLiteral("DocumentName"), sanitizeName(src.name()), here);
    importMip(src, dst);
}

void CAccessImport::copySection(const AccessReport &src, const AccessObject &from, Section &to, int groupLevel,
                                bool header, const QString &groupName)
{
    Q_UNUSED(header)
    // Statements are not numbered, so failures report line 0.
    const QString here = QStringLiteral("copySection(), line 0");
    const Section::Type type = to.type();
    const QVariant name = get(from, QStringLiteral("Name"), here);
    if (name.isValid())
        set(&to, QStringLiteral("Name"), sanitizeName(name.toString()), here);
    set(&to, QStringLiteral("Visible"), get(from, QStringLiteral("Visible"), here), here);
    set(&to, QStringLiteral("BackColor"), get(from, QStringLiteral("BackColor"), here), here);
    to.setBackStyle(BackStyle::Opaque);
    if (type != Section::PageHeader && type != Section::PageFooter) {
        set(&to, QStringLiteral("CanGrow"), get(from, QStringLiteral("CanGrow"), here), here);
        set(&to, QStringLiteral("CanShrink"), get(from, QStringLiteral("CanShrink"), here), here);
    }
    if (type == Section::GroupHeader || type == Section::GroupFooter || type == Section::Detail) {
        const QVariant forceNewPage = get(from, QStringLiteral("ForceNewPage"), here);
        if (forceNewPage.isValid())
            set(&to, QStringLiteral("NewPage"), AccessMap::newPage(forceNewPage.toInt()), here);
        const QVariant newRow = get(from, QStringLiteral("NewRowOrCol"), here);
        if (newRow.isValid())
            set(&to, QStringLiteral("NewColumn"), AccessMap::newPage(newRow.toInt()), here);
    }
    if (type == Section::GroupHeader) {
        Status s;
        const AccessObject *group = src.groupLevel(groupLevel, &s);
        if (!group)
            logError(s.description(), here, s.number());
        if (group) {
            const QVariant keep = get(*group, QStringLiteral("KeepTogether"), here);
            if (keep.isValid())
                set(&to, QStringLiteral("GrpKeepTogether"), AccessMap::groupKeepTogether(keep.toInt()), here);
        }
        set(&to, QStringLiteral("KeepTogether"), get(from, QStringLiteral("KeepTogether"), here), here);
        const QVariant repeat = get(from, QStringLiteral("RepeatSection"), here);
        if (repeat.isValid() && repeat.toBool())
            set(&to, QStringLiteral("RepeatStyle"), 3, here);
        if (group) {
            const QVariant cs = get(*group, QStringLiteral("ControlSource"), here);
            if (cs.isValid() && !cs.toString().trimmed().isEmpty())
                set(&to, QStringLiteral("DataField"), groupingExpression(*group, here), here);
        }
    }

    QString chartCode;
    for (const auto &control : from.controls()) {
        QString snippet;
        copyControl(to, *control, groupName, &snippet);
        if (!snippet.isEmpty())
            chartCode += CrLf + snippet;
    }
    if (!chartCode.isEmpty())
        set(&to, QStringLiteral("Script"),
            QStringLiteral("Sub OnFormat()") + CrLf + CrLf + QStringLiteral("  Dim rsChart") + CrLf
                + QStringLiteral("  Set rsChart = CreateObject(\"ADODB.Recordset\")") + CrLf + chartCode + CrLf + CrLf
                + QStringLiteral("  Set rsChart = Nothing") + CrLf + QStringLiteral("End Sub") + CrLf,
            here);

    // Height: the lowest bottom edge of the visible controls.
    double bottom = 0;
    for (const Control *c : *to.controls()) {
        if (c->typeName().contains(u"datacontrol", Qt::CaseInsensitive))
            continue;
        if (c->typeId().compare(u"OrvEngine.PageBreak", Qt::CaseInsensitive) == 0) {
            bottom = std::max(bottom, c->top());
        } else if (c->visible()) {
            bottom = std::max(bottom, c->top() + c->height()); // a line's box covers both end points
        }
    }
    set(&to, QStringLiteral("Height"), bottom, here);
}

QString CAccessImport::groupingExpression(const AccessObject &group, const QString &location)
{
    const QString cs = get(group, QStringLiteral("ControlSource"), location).toString();
    const int groupOn = get(group, QStringLiteral("GroupOn"), location).toInt();
    const QString n = QString::number(get(group, QStringLiteral("GroupInterval"), location).toInt());
    QString trimmedStart = cs;
    while (!trimmedStart.isEmpty() && trimmedStart[0].isSpace())
        trimmedStart.remove(0, 1);
    if (groupOn == 0 && !trimmedStart.startsWith(u'='))
        return cs;
    QString t;
    switch (groupOn) {
    case 1: t = QStringLiteral("Left($field$, ") + n + u')'; break;
    case 2: t = QStringLiteral("DatePart(\"yyyy\", $field$)"); break;
    case 3: t = QStringLiteral("DatePart(\"q\", $field$)"); break;
    case 4: t = QStringLiteral("DatePart(\"m\", $field$)"); break;
    case 5: t = QStringLiteral("DatePart(\"ww\", $field$)"); break;
    case 6: t = QStringLiteral("DatePart(\"d\", $field$)"); break;
    case 7: t = QStringLiteral("DatePart(\"h\", $field$)"); break;
    case 8: t = QStringLiteral("DatePart(\"n\", $field$)"); break;
    case 9: t = QStringLiteral("$field$ \\ ") + n; break;
    default: t = QStringLiteral("$field$"); break;
    }
    const QString field = cs.startsWith(u'=') ? cs.mid(1) : QStringLiteral("rpt.Fields(\"") + cs + QStringLiteral("\").Value");
    t.replace(QStringLiteral("$field$"), field);
    return translateExpression(u'=' + t);
}

void CAccessImport::importDataControl(Section &section, const AccessReport &src)
{
    const QString here = QStringLiteral("importDataControl()");
    QVariant path;
    if (m_databasePath.isEmpty())
        logError(QStringLiteral("No database is open for report %1").arg(src.name()), here, ErrObjectNotSet);
    else
        path = m_databasePath;
    const QVariant recordSource = get(*src.object(), QStringLiteral("RecordSource"), here);
    if (m_settings.mbUseADOInsteadDAO) {
        Control *c = addControl(section, QStringLiteral("OrvEngine.DataControl"), here);
        QString source = recordSource.toString();
        if (findMatch(source, QStringLiteral("\\b(from)\\b.+")).isEmpty())
            source = QStringLiteral("select * from [") + source + u']';
        set(c, QStringLiteral("Name"), QStringLiteral("DataCtl"), here);
        if (path.isValid()) {
            QString connection = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=$fulldbpath$;Persist Security Info=False");
            set(c, QStringLiteral("ConnectionString"), connection.replace(QStringLiteral("$fulldbpath$"), path.toString()), here);
        }
        set(c, QStringLiteral("Source"), recordSource.isValid() ? QVariant(source) : QVariant(), here);
    } else {
        Control *c = addControl(section, QStringLiteral("OrvEngine.DAODataControl"), here);
        set(c, QStringLiteral("Name"), QStringLiteral("DataCtl"), here);
        set(c, QStringLiteral("Connect"), QStringLiteral("Access"), here);
        set(c, QStringLiteral("DatabaseName"), path, here);
        set(c, QStringLiteral("RecordSource"), recordSource, here);
        set(c, QStringLiteral("RecordsetType"), 2, here);
        set(c, QStringLiteral("Exclusive"), false, here);
        set(c, QStringLiteral("ReadOnly"), true, here);
    }
}

void CAccessImport::importMip(const AccessReport &src, Report &dst)
{
    const QString here = QStringLiteral("importMip()");
    QByteArray mip = get(*src.object(), QStringLiteral("PrtMip"), here).toByteArray().left(56);
    while (mip.size() < 56)
        mip.append(mip.size() % 2 == 0 ? ' ' : '\0'); // padded with blank two-byte characters
    qint32 v[14];
    for (int i = 0; i < 14; ++i)
        v[i] = qFromLittleEndian<qint32>(mip.constData() + 4 * i);
    PageSettings *page = dst.pageSettings();
    set(page, QStringLiteral("LeftMargin"), v[0], here);
    set(page, QStringLiteral("TopMargin"), v[1], here);
    set(page, QStringLiteral("RightMargin"), v[2], here);
    set(page, QStringLiteral("BottomMargin"), v[3], here);
    Section *detail = dst.sections()->Item(m_detailName);
    set(detail, QStringLiteral("ColumnCount"), v[8], here);
    set(detail, QStringLiteral("ColumnSpacing"), v[9], here);
    if (detail && detail->columnCount() > 1)
        set(&dst, QStringLiteral("PrintWidth"), dst.printWidth() * detail->columnCount(), here);
    if (v[11] == 1953)
        set(detail, QStringLiteral("ColumnDirection"), 1, here);
    else if (v[11] == 1954)
        set(detail, QStringLiteral("ColumnDirection"), 0, here);
    else
        logError(QStringLiteral("unknown PrtMip.ItemLayout value"), here, -1);
}

void CAccessImport::ImportSourceCode(const AccessReport &src, Report &dst)
{
    const QString here = QStringLiteral("ImportSourceCode()");
    QString code;
    if (get(*src.object(), QStringLiteral("HasModule"), here).toBool()) {
        code = src.moduleText() + CrLf;
        if (m_settings.mbCommentModule)
            code = u'\'' + code.replace(CrLf, CrLf + u'\'');
    }
    if (m_settings.mbStripSrcCode) {
        code = replacePattern(code, QStringLiteral("(\\w)\\sas\\s(\\w|[.])+"), QStringLiteral("$1"));
        code = replacePattern(code, QStringLiteral("(private[ \\t]+|public[ \\t]+)?Sub[ \\t]+Report_\\B"), QStringLiteral("Sub "));
    }
    QString head = QStringLiteral("Option Explicit") + CrLf;
    if (!m_startScript.isEmpty())
        head += CrLf + QStringLiteral("Sub OnReportStart()") + CrLf + QStringLiteral("\tDim srpt") + CrLf + m_startScript + CrLf
            + QStringLiteral("End Sub") + CrLf;
    if (!m_endScript.isEmpty())
        head += CrLf + QStringLiteral("Sub OnReportEnd()") + CrLf + m_endScript + CrLf + QStringLiteral("End Sub") + CrLf;
    set(&dst, QStringLiteral("Script"), head + CrLf + code, here);
}

} // namespace Orv
