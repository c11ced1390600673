#include "accessimport/accessreport.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtEndian>

namespace Orv::AccessImport {

namespace {

// Error Access gives for a section or group level that does not exist.
constexpr int ErrNoSuchSection = 2462;

// What a control kind offers, for the table of Access's defaults.
enum Trait : unsigned {
    AnyControl = 1u << 0,
    Boxed = 1u << 1,     // back colour and back style
    Text = 1u << 2,      // font, fore colour, alignment
    Bound = 1u << 3,     // control source
    Formatted = 1u << 4, // Format, DecimalPlaces
    TextBoxOnly = 1u << 5,
    Captioned = 1u << 6,
    LineOnly = 1u << 7,
    Picture = 1u << 8,
    OleObject = 1u << 9,
    SubReport = 1u << 10,
    Growing = 1u << 11,
    RowSourced = 1u << 12,
};

unsigned traitsOf(const QString &kind)
{
    const QString k = kind.toLower();
    const unsigned base = AnyControl | Boxed;
    if (k == u"textbox")
        return base | Text | Bound | Formatted | TextBoxOnly | Growing;
    if (k == u"label")
        return base | Text | Captioned;
    if (k == u"combobox" || k == u"listbox")
        return base | Text | Bound | Formatted | RowSourced;
    if (k == u"commandbutton" || k == u"togglebutton")
        return base | Text | Captioned | Bound;
    if (k == u"checkbox" || k == u"optionbutton" || k == u"optiongroup")
        return base | Bound;
    if (k == u"line")
        return AnyControl | LineOnly;
    if (k == u"pagebreak")
        return AnyControl;
    if (k == u"image")
        return base | Picture;
    if (k == u"boundobjectframe")
        return base | Bound | OleObject;
    if (k == u"unboundobjectframe" || k == u"chart" || k == u"customcontrol")
        return base | OleObject | RowSourced | SubReport;
    if (k == u"subform")
        return base | SubReport | Growing;
    return base;
}

struct Default
{
    const char *name;
    unsigned traits;
    QVariant (*value)(const QString &kind, int version);
};

QVariant v0(const QString &, int) { return 0; }
QVariant vFalse(const QString &, int) { return false; }
QVariant vTrue(const QString &, int) { return true; }
QVariant vEmpty(const QString &, int) { return QString(); }
QVariant vWhite(const QString &, int) { return 0xFFFFFF; }

const Default controlDefaults[] = {
    {"Name", AnyControl, vEmpty},
    {"Visible", AnyControl, vTrue},
    {"Tag", AnyControl, vEmpty},
    {"Left", AnyControl, v0},
    {"Top", AnyControl, v0},
    {"Width", AnyControl, [](const QString &k, int) -> QVariant { return k.compare(u"PageBreak", Qt::CaseInsensitive) ? 1440 : 0; }},
    {"Height", AnyControl, [](const QString &k, int) -> QVariant {
         if (k.compare(u"Line", Qt::CaseInsensitive) == 0 || k.compare(u"PageBreak", Qt::CaseInsensitive) == 0)
             return 0;
         return (traitsOf(k) & Text) ? 240 : 1440;
     }},
    {"InSelection", AnyControl, vFalse},
    {"OldBorderStyle", AnyControl, [](const QString &k, int) -> QVariant {
         const QString l = k.toLower();
         return (l == u"label" || l == u"image" || l == u"pagebreak") ? 0 : 1;
     }},
    {"BorderWidth", AnyControl, v0},
    {"BorderColor", AnyControl, v0},
    {"SpecialEffect", AnyControl, v0},
    {"BackStyle", Boxed, [](const QString &k, int) -> QVariant {
         const QString l = k.toLower();
         return (l == u"label" || l == u"rectangle" || l == u"image" || l == u"optiongroup") ? 0 : 1;
     }},
    {"BackColor", Boxed, vWhite},
    {"ForeColor", Text, v0},
    {"FontName", Text, [](const QString &, int version) -> QVariant {
         return version >= 20 ? QStringLiteral("Calibri") : QStringLiteral("Arial");
     }},
    {"FontSize", Text, [](const QString &, int version) -> QVariant { return version >= 20 ? 11 : 8; }},
    {"FontWeight", Text, [](const QString &, int) -> QVariant { return 400; }},
    {"FontItalic", Text, vFalse},
    {"FontUnderline", Text, vFalse},
    {"TextAlign", Text, v0},
    {"TextFontCharSet", Text, v0},
    {"ControlSource", Bound, vEmpty},
    {"Format", Formatted, vEmpty},
    {"DecimalPlaces", Formatted, [](const QString &, int) -> QVariant { return 255; }},
    {"RunningSum", TextBoxOnly, v0},
    {"HideDuplicates", TextBoxOnly, vFalse},
    {"CanGrow", Growing, vFalse},
    {"CanShrink", Growing, vFalse},
    {"Caption", Captioned, vEmpty},
    {"LineSlant", LineOnly, vFalse},
    {"PictureType", Picture, v0},
    {"Picture", Picture, vEmpty},
    {"SizeMode", Picture | OleObject, v0},
    {"PictureAlignment", Picture, [](const QString &, int) -> QVariant { return 2; }},
    {"OLEClass", OleObject, vEmpty},
    {"Class", OleObject, vEmpty},
    {"RowSource", RowSourced, vEmpty},
    {"SourceObject", SubReport, vEmpty},
    {"LinkChildFields", SubReport, vEmpty},
    {"LinkMasterFields", SubReport, vEmpty},
};

const Default sectionDefaults[] = {
    {"Name", 0, vEmpty},           {"Visible", 0, vTrue},          {"BackColor", 0, vWhite},
    {"CanGrow", 0, vFalse},        {"CanShrink", 0, vFalse},       {"ForceNewPage", 0, v0},
    {"NewRowOrCol", 0, v0},        {"KeepTogether", 0, vFalse},    {"RepeatSection", 0, vFalse},
    {"Height", 0, v0},             {"DisplayWhen", 0, v0},         {"BreakLevel", 0, v0},
    {"OnFormat", 0, vEmpty},       {"OnPrint", 0, vEmpty},         {"Tag", 0, vEmpty},
};

const Default groupDefaults[] = {
    {"ControlSource", 0, vEmpty}, {"SortOrder", 0, vFalse},   {"GroupOn", 0, v0},
    {"GroupInterval", 0, [](const QString &, int) -> QVariant { return 1; }},
    {"KeepTogether", 0, v0},      {"GroupHeader", 0, vFalse}, {"GroupFooter", 0, vFalse},
};

const Default reportDefaults[] = {
    {"Width", 0, v0},          {"RecordSource", 0, vEmpty}, {"Caption", 0, vEmpty}, {"Filter", 0, vEmpty},
    {"OrderBy", 0, vEmpty},    {"Tag", 0, vEmpty},          {"PageHeader", 0, v0},  {"PageFooter", 0, v0},
    {"GrpKeepTogether", 0, v0}, {"OnOpen", 0, vEmpty},
};

template<size_t N>
bool builtin(const Default (&table)[N], const QString &name, const QString &kind, int version, unsigned traits, QVariant *out)
{
    for (const Default &d : table)
        if (name.compare(QLatin1StringView(d.name), Qt::CaseInsensitive) == 0 && (d.traits == 0 || (d.traits & traits))) {
            *out = d.value(kind, version);
            return true;
        }
    return false;
}

bool isSectionKind(const QString &k)
{
    return k == u"Section" || k == u"FormHeader" || k == u"FormFooter" || k == u"PageHeader" || k == u"PageFooter"
        || k == u"BreakHeader" || k == u"BreakFooter";
}

int toColourOrInt(qint64 v, bool *fits)
{
    *fits = true;
    if (v >= INT32_MIN && v <= INT32_MAX)
        return int(v);
    if (v >= 0 && v <= qint64(UINT32_MAX))
        return int(quint32(v)); // a colour written unsigned: the same 32 bits
    *fits = false;
    return 0;
}

} // namespace

AccessObject::AccessObject(Class cls, const ExportNode *node, AccessReport *report)
    : m_class(cls), m_node(node), m_report(report)
{
}

QString AccessObject::typeName() const
{
    switch (m_class) {
    case ReportObject: return QStringLiteral("Report");
    case SectionObject: return QStringLiteral("Section");
    case GroupLevelObject: return QStringLiteral("GroupLevel");
    case ControlObject: break;
    }
    const QString k = kind();
    static const std::pair<const char *, const char *> names[] = {
        {"UnboundObjectFrame", "ObjectFrame"}, {"Subform", "SubForm"}, {"Tab", "TabControl"},
        {"WebBrowser", "WebBrowserControl"},
    };
    for (const auto &[from, to] : names)
        if (k.compare(QLatin1StringView(from), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(to);
    if (k.compare(u"Chart", Qt::CaseInsensitive) == 0) {
        // A legacy Microsoft Graph chart is an object frame to Access.
        const QVariant cls = value(QStringLiteral("Class"));
        return cls.toString().startsWith(u"MSGraph", Qt::CaseInsensitive) ? QStringLiteral("ObjectFrame") : QStringLiteral("Chart");
    }
    return k;
}

QVariant AccessObject::convert(const ExportValue &v, const QVariant &fallback) const
{
    const bool isBool = fallback.typeId() == QMetaType::Bool;
    switch (v.kind) {
    case ExportValue::NotDefault:
        return isBool ? QVariant(!fallback.toBool()) : QVariant(true);
    case ExportValue::Integer: {
        if (isBool)
            return v.integer != 0;
        bool fits = false;
        const int i = toColourOrInt(v.integer, &fits);
        return fits ? QVariant(i) : QVariant(v.integer);
    }
    case ExportValue::Float: return v.number;
    case ExportValue::String:
    case ExportValue::Word:
    case ExportValue::Macro: return v.text;
    case ExportValue::Blob: return v.bytes;
    }
    return QVariant();
}

bool AccessObject::lookup(const QString &name, QVariant *value) const
{
    const int version = m_report ? m_report->version() : 0;
    const QString k = kind();
    const unsigned traits = m_class == ControlObject ? traitsOf(k) : 0;
    QVariant fallback;
    bool known = false;
    switch (m_class) {
    case ControlObject: known = builtin(controlDefaults, name, k, version, traits, &fallback); break;
    case SectionObject: known = builtin(sectionDefaults, name, k, version, 0, &fallback); break;
    case GroupLevelObject: known = builtin(groupDefaults, name, k, version, 0, &fallback); break;
    case ReportObject: known = builtin(reportDefaults, name, k, version, 0, &fallback); break;
    }
    if (const ExportValue *own = m_node ? m_node->property(name) : nullptr) {
        *value = convert(*own, fallback);
        return true;
    }
    if (const ExportValue *def = m_defaults ? m_defaults->property(name) : nullptr) {
        *value = convert(*def, fallback);
        return true;
    }
    if (known)
        *value = fallback;
    return known;
}

bool AccessObject::has(const QString &name) const
{
    return value(name).isValid();
}

QVariant AccessObject::value(const QString &name, Status *status) const
{
    QVariant v;
    bool found = false;
    if (m_class == ReportObject && name.compare(u"Name", Qt::CaseInsensitive) == 0) {
        v = m_report->name();
        found = true;
    } else if (m_class == ReportObject && name.compare(u"HasModule", Qt::CaseInsensitive) == 0) {
        v = m_report->hasModule();
        found = true;
    } else if (m_class == ReportObject && name.compare(u"PrtMip", Qt::CaseInsensitive) == 0) {
        v = m_report->prtMip();
        found = true;
    } else if (m_class == ControlObject && name.compare(u"BorderStyle", Qt::CaseInsensitive) == 0) {
        // Exports write the border as OldBorderStyle (0 transparent, else
        // drawn) and BorderLineStyle (the dash kind, 0 or 1 solid).
        if (lookup(name, &v)) {
            found = true;
        } else {
            QVariant old, dash;
            found = lookup(QStringLiteral("OldBorderStyle"), &old);
            if (found) {
                lookup(QStringLiteral("BorderLineStyle"), &dash);
                v = old.toInt() == 0 ? 0 : std::max(1, dash.toInt());
            }
        }
    } else if (m_class == ControlObject && name.compare(u"FontBold", Qt::CaseInsensitive) == 0) {
        QVariant weight;
        if (lookup(name, &v)) {
            found = true;
            if (v.typeId() != QMetaType::Bool)
                v = v.toInt() != 0;
        } else if (lookup(QStringLiteral("FontWeight"), &weight)) {
            v = weight.toInt() >= 700;
            found = true;
        }
    } else {
        found = lookup(name, &v);
    }
    if (!found) {
        if (status) {
            const QString objectName = m_class == ReportObject ? m_report->name() : lookupName();
            *status = Status::failure(ErrNoSuchMember, QStringLiteral("%1 %2 has no property %3")
                                                            .arg(typeName(), objectName.isEmpty() ? QStringLiteral("(unnamed)") : QLatin1Char('"') + objectName + QLatin1Char('"'), name));
        }
        return QVariant();
    }
    if (status)
        *status = Status();
    return v;
}

QString AccessObject::lookupName() const
{
    QVariant v;
    return lookup(QStringLiteral("Name"), &v) ? v.toString() : QString();
}

// --- the report ------------------------------------------------------------

Status AccessReport::fromExport(ExportFile file, const QString &name, std::unique_ptr<AccessReport> *out)
{
    std::unique_ptr<AccessReport> r(new AccessReport);
    r->m_file = std::move(file);
    r->m_name = name;
    if (Status s = r->build(); !s)
        return s;
    *out = std::move(r);
    return Status();
}

void AccessReport::setModuleText(const QString &text)
{
    // Drop the class header and Attribute lines that exports and .cls
    // files carry but Access's module does not show.
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.size() == 1)
        lines = text.split(u'\n');
    qsizetype first = 0;
    bool inClassHeader = false;
    for (; first < lines.size(); ++first) {
        const QString t = lines[first].trimmed();
        if (t.startsWith(u"VERSION ") && t.contains(u"CLASS")) {
            inClassHeader = true;
            continue;
        }
        if (inClassHeader) {
            if (t == u"END")
                inClassHeader = false;
            continue;
        }
        if (!t.startsWith(u"Attribute VB_"))
            break;
    }
    for (QString &l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    while (lines.size() > first && lines.last().trimmed().isEmpty())
        lines.removeLast();
    m_module = lines.mid(first).join(QStringLiteral("\r\n"));
    if (m_module.trimmed().isEmpty())
        m_module.clear();
}

Status AccessReport::build()
{
    m_reportObject = std::make_unique<AccessObject>(AccessObject::ReportObject, m_file.report.get(), this);
    if (m_file.hasCode)
        setModuleText(m_file.code);
    for (const auto &child : m_file.report->children) {
        const QString &k = child->kind;
        if (k == u"BreakLevel") {
            m_groupLevels.push_back(std::make_unique<AccessObject>(AccessObject::GroupLevelObject, child.get(), this));
        } else if (isSectionKind(k)) {
            int index = 0;
            if (k == u"FormHeader")
                index = 1;
            else if (k == u"FormFooter")
                index = 2;
            else if (k == u"PageHeader")
                index = 3;
            else if (k == u"PageFooter")
                index = 4;
            else if (k == u"BreakHeader" || k == u"BreakFooter") {
                const ExportValue *level = child->property(u"BreakLevel");
                const qint64 n = level ? level->integer : 0;
                if (level && level->kind != ExportValue::Integer)
                    return Status::failure(ErrBadFileFormat, QStringLiteral("Invalid Access report export (line %1): BreakLevel is not a number").arg(child->line));
                if (n < 0 || n > 9)
                    return Status::failure(ErrBadFileFormat, QStringLiteral("Invalid Access report export (line %1): group level %2 is out of range").arg(child->line).arg(n));
                index = int(5 + 2 * n + (k == u"BreakFooter" ? 1 : 0));
            }
            if (m_sections.count(index))
                return Status::failure(ErrBadFileFormat, QStringLiteral("Invalid Access report export (line %1): a second %2 for the same place").arg(child->line).arg(k));
            auto section = std::make_unique<AccessObject>(AccessObject::SectionObject, child.get(), this);
            // The section's controls, each followed by the ones it holds.
            std::vector<const ExportNode *> pending;
            for (auto it = child->children.rbegin(); it != child->children.rend(); ++it)
                pending.push_back(it->get());
            while (!pending.empty()) {
                const ExportNode *n = pending.back();
                pending.pop_back();
                auto control = std::make_unique<AccessObject>(AccessObject::ControlObject, n, this);
                section->m_controls.push_back(std::move(control));
                for (auto it = n->children.rbegin(); it != n->children.rend(); ++it)
                    pending.push_back(it->get());
            }
            m_sections[index] = std::move(section);
        } else {
            m_defaults[k.toLower()] = child.get(); // a default-control block
        }
    }
    for (auto &[index, section] : m_sections)
        for (auto &control : section->m_controls)
            control->m_defaults = defaultsFor(control->kind());
    return Status();
}

const ExportNode *AccessReport::defaultsFor(const QString &kind) const
{
    const auto it = m_defaults.find(kind.toLower());
    return it == m_defaults.end() ? nullptr : it->second;
}

AccessObject *AccessReport::section(int index, Status *status) const
{
    const auto it = m_sections.find(index);
    if (it == m_sections.end()) {
        if (status)
            *status = Status::failure(ErrNoSuchSection, QStringLiteral("The section number %1 you entered is invalid").arg(index));
        return nullptr;
    }
    return it->second.get();
}

AccessObject *AccessReport::groupLevel(int index, Status *status) const
{
    if (index < 0 || index >= int(m_groupLevels.size())) {
        if (status)
            *status = Status::failure(ErrNoSuchSection, QStringLiteral("The group level %1 you entered is invalid").arg(index));
        return nullptr;
    }
    return m_groupLevels[size_t(index)].get();
}

QByteArray makePrtMip(int left, int top, int right, int bottom, int width, int height, int columns, int columnSpacing,
                      int rowSpacing, int itemLayout, bool defaultSize)
{
    const qint32 values[14] = {left, top, right, bottom, 0, width, height, defaultSize ? 1 : 0, columns,
                               columnSpacing, rowSpacing, itemLayout, 0, 0};
    QByteArray bytes(56, '\0');
    for (int i = 0; i < 14; ++i)
        qToLittleEndian<qint32>(values[i], bytes.data() + 4 * i);
    return bytes;
}

QByteArray AccessReport::prtMip() const
{
    if (const ExportValue *v = m_file.report->property(u"PrtMip"); v && v->kind == ExportValue::Blob)
        return v->bytes;
    if (!m_sidecarMip.isEmpty())
        return m_sidecarMip;
    const int width = value(QStringLiteral("Width")).toInt();
    return makePrtMip(1440, 1440, 1440, 1440, width, 0, 1, 360, 0, 1953);
}

// Print settings as the version-control add-ins keep them beside the export.
static QByteArray prtMipFromJson(const QByteArray &json, int reportWidth)
{
    const QByteArray text = json.startsWith("\xEF\xBB\xBF") ? json.mid(3) : json;
    const QJsonObject margins = QJsonDocument::fromJson(text).object().value(u"Items").toObject().value(u"Margins").toObject();
    if (margins.isEmpty())
        return QByteArray();
    const auto twips = [&](const char *key, double fallback) {
        const double inches = margins.value(QLatin1StringView(key)).toDouble(fallback);
        return int(std::clamp(inches * 1440.0 + 0.5, 0.0, 20000000.0));
    };
    const QString layout = margins.value(u"ItemLayout").toString();
    const int item = layout.contains(u"Vertical", Qt::CaseInsensitive) ? 1954 : 1953;
    const int columns = std::clamp(margins.value(u"Columns").toInt(1), 1, 1000);
    return makePrtMip(twips("LeftMargin", 1), twips("TopMargin", 1), twips("RightMargin", 1), twips("BotMargin", 1),
                      margins.contains(u"Width") ? twips("Width", 0) : reportWidth, twips("Height", 0), columns,
                      twips("ColumnSpacing", 0.25), twips("RowSpacing", 0), item, margins.value(u"DefaultSize").toBool(true));
}

Status AccessReport::load(const QString &path, std::unique_ptr<AccessReport> *out, const QString &name, const QString &codePage)
{
    ExportFile file;
    if (Status s = readExportFile(path, &file, codePage); !s)
        return s;
    const QFileInfo info(path);
    std::unique_ptr<AccessReport> report;
    if (Status s = fromExport(std::move(file), name.isEmpty() ? info.completeBaseName() : name, &report); !s)
        return s;
    const QString base = info.path() + u'/' + info.completeBaseName();
    // The add-ins replace the module by a pointer to a .cls file.
    static const QRegularExpression pointer(QStringLiteral("^'\\s*See \"[^\"]*\\.cls\"\\s*$"));
    if (!report->hasModule() || pointer.match(report->moduleText().trimmed()).hasMatch()) {
        QFile cls(base + QStringLiteral(".cls"));
        if (cls.size() <= MaxExportSize && cls.open(QIODevice::ReadOnly)) {
            QString encoding;
            report->setModuleText(decodeExport(cls.readAll(), codePage, &encoding));
        } else if (report->hasModule()) {
            report->m_module.clear();
        }
    }
    QFile json(base + QStringLiteral(".json"));
    if (json.size() <= 1024 * 1024 && json.open(QIODevice::ReadOnly))
        report->setPrintSettings(prtMipFromJson(json.readAll(), report->value(QStringLiteral("Width")).toInt()));
    *out = std::move(report);
    return Status();
}

} // namespace Orv::AccessImport
