#include "engine/widgets/propertylist/propertyinfo.h"

#include "engine/model/reflection.h"

#include <QHash>
#include <QMetaClassInfo>

namespace Orv {

QString PropertyInfo::valueName(int value) const
{
    for (const EnumValue &v : values) {
        if (v.value == value)
            return v.name;
    }
    return {};
}

bool PropertyInfo::compatible(const PropertyInfo &other) const
{
    if (type != other.type || kind != other.kind)
        return false;
    if (kind != PropertyKind::Enumeration)
        return true;
    if (values.size() != other.values.size())
        return false;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (values[i].value != other.values[i].value)
            return false;
    }
    return true;
}

QStringList PropertyCategories::all()
{
    return {Appearance, Behaviour, Data, Layout, Misc};
}

namespace {

// Named values, in the class-info syntax: "value name|value name|...".
// Keys are "Class::Property" for names that mean different things in
// different classes, else the property name alone.
const QHash<QString, QString> &valueTables()
{
    static const QHash<QString, QString> tables = [] {
        const QString borderStyles = QStringLiteral(
            "0 None|1 Solid|2 Dash|3 Dot|4 Dash-Dot|5 Dash-Dot-Dot|6 Double|7 Thick Solid|8 Thick Dash|"
            "9 Thick Dot|10 Thick Dash-Dot|11 Thick Dash-Dot-Dot|12 Thick Double|13 Extra Thick Solid");
        const QString lineStyles = QStringLiteral("0 Transparent|1 Solid|2 Dash|3 Dot|4 Dash-Dot|5 Dash-Dot-Dot");
        const QString breaks = QStringLiteral("0 None|1 Before|2 After|3 Before and After");
        QHash<QString, QString> t;
        t.insert(QStringLiteral("Alignment"), QStringLiteral("0 Left|1 Right|2 Center|3 Justify"));
        t.insert(QStringLiteral("VerticalAlignment"), QStringLiteral("0 Top|1 Middle|2 Bottom"));
        t.insert(QStringLiteral("BackStyle"), QStringLiteral("0 Transparent|1 Opaque"));
        for (const char *side : {"Left", "Top", "Right", "Bottom"})
            t.insert(QStringLiteral("Border::%1Style").arg(QLatin1String(side)), borderStyles);
        t.insert(QStringLiteral("LineStyle"), lineStyles);
        t.insert(QStringLiteral("Shape::Shape"), QStringLiteral("0 Rectangle|1 Ellipse|2 Rounded Rectangle"));
        t.insert(QStringLiteral("SizeMode"), QStringLiteral("0 Clip|1 Stretch|2 Zoom"));
        t.insert(QStringLiteral("PictureAlignment"),
                 QStringLiteral("0 Top Left|1 Top Right|2 Center|3 Bottom Left|4 Bottom Right"));
        t.insert(QStringLiteral("NewPage"), breaks);
        t.insert(QStringLiteral("NewColumn"), breaks);
        t.insert(QStringLiteral("GrpKeepTogether"), QStringLiteral("0 None|1 First Detail|2 Whole Group"));
        t.insert(QStringLiteral("RepeatStyle"),
                 QStringLiteral("0 None|1 Every Page|2 Every Column|3 Every Page the Group Continues On"));
        t.insert(QStringLiteral("ColumnDirection"), QStringLiteral("0 Down then Across|1 Across then Down"));
        t.insert(QStringLiteral("Section::Type"),
                 QStringLiteral("0 Report Header|1 Report Footer|2 Page Header|3 Page Footer|4 Group Header|"
                                "5 Group Footer|6 Detail"));
        t.insert(QStringLiteral("SummaryFunc"),
                 QStringLiteral("0 Sum|1 Average|2 Count|3 Minimum|4 Maximum|5 Variance|6 Population Variance|"
                                "7 Standard Deviation|8 Population Standard Deviation|9 Distinct Sum|"
                                "10 Distinct Average|11 Distinct Count|12 Distinct Variance|"
                                "13 Distinct Population Variance|14 Distinct Standard Deviation|"
                                "15 Distinct Population Standard Deviation"));
        t.insert(QStringLiteral("SummaryType"),
                 QStringLiteral("0 None|1 Grand Total|2 Page Total|3 Sub-Total|4 Page Count"));
        t.insert(QStringLiteral("SummaryRunning"), QStringLiteral("0 None|1 Over the Group|2 Over the Report"));
        t.insert(QStringLiteral("CaptionPosition"), QStringLiteral("0 None|1 Above|2 Below"));
        // Barcode styles are zint symbology numbers; the common ones by name.
        t.insert(QStringLiteral("Barcode::Style"),
                 QStringLiteral("0 Code 128 (default)|1 Code 11|2 Standard 2 of 5|3 Interleaved 2 of 5|8 Code 39|"
                                "9 Extended Code 39|13 EAN|16 GS1-128|18 Codabar|20 Code 128|25 Code 93|"
                                "34 UPC-A|37 UPC-E|40 POSTNET|55 PDF417|57 MaxiCode|58 QR Code|71 Data Matrix|"
                                "84 MicroPDF417|89 ITF-14|92 Aztec|97 Micro QR|..."));
        t.insert(QStringLiteral("PageSettings::Orientation"),
                 QStringLiteral("-1 Printer Default|1 Portrait|2 Landscape"));
        t.insert(QStringLiteral("PageSettings::PaperSize"),
                 QStringLiteral("-1 Printer Default|1 Letter|3 Tabloid|4 Ledger|5 Legal|7 Executive|8 A3|9 A4|"
                                "11 A5|12 B4|13 B5|20 Envelope #10|27 Envelope DL|256 Custom|..."));
        t.insert(QStringLiteral("Font::Charset"),
                 QStringLiteral("0 Western|1 Default|2 Symbol|128 Japanese|129 Korean|134 Simplified Chinese|"
                                "136 Traditional Chinese|161 Greek|162 Turkish|177 Hebrew|178 Arabic|186 Baltic|"
                                "204 Cyrillic|222 Thai|238 Central European|255 OEM|..."));
        t.insert(QStringLiteral("DAODataControl::RecordsetType"), QStringLiteral("0 Table|1 Dynaset|2 Snapshot"));
        t.insert(QStringLiteral("Chart::chartType"),
                 QStringLiteral("0 3-D Bar|1 2-D Bar|2 3-D Line|3 2-D Line|4 3-D Area|5 2-D Area|6 3-D Step|"
                                "7 2-D Step|14 Pie|16 XY|..."));
        t.insert(QStringLiteral("ChartLocation::LocationType"),
                 QStringLiteral("0 Top Left|1 Top|2 Top Right|3 Left|4 Right|5 Bottom Left|6 Bottom|7 Bottom Right"));
        t.insert(QStringLiteral("ChartTextLayout::HorzAlignment"), QStringLiteral("0 Left|1 Right|2 Center|3 Justify"));
        t.insert(QStringLiteral("ChartTextLayout::VertAlignment"), QStringLiteral("0 Top|1 Bottom|2 Center"));
        t.insert(QStringLiteral("ChartTextLayout::Orientation"),
                 QStringLiteral("0 Horizontal|1 Vertical|2 Upward|3 Downward"));
        t.insert(QStringLiteral("ChartFill::Style"), QStringLiteral("0 No Fill|1 Solid"));
        return t;
    }();
    return tables;
}

const QHash<QString, QString> &categoryTable()
{
    using namespace PropertyCategories;
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        const auto put = [&t](const QString &category, std::initializer_list<const char *> names) {
            for (const char *n : names)
                t.insert(QString::fromLatin1(n).toCaseFolded(), category);
        };
        put(Appearance, {"BackColor", "BackStyle", "ForeColor", "Font", "Border", "Alignment", "VerticalAlignment",
                         "WordWrap", "ClassName", "LineColor", "LineStyle", "LineWeight", "Shape", "Picture",
                         "SizeMode", "PictureAlignment", "Style", "CaptionPosition", "chartType", "Title",
                         "Legend", "ShowLegend"});
        put(Behaviour, {"Visible", "CanGrow", "CanShrink", "Multiline", "HideDuplicates", "KeepTogether",
                        "NewPage", "NewColumn", "GrpKeepTogether", "RepeatStyle", "RepeatSection", "Enabled",
                        "CheckSum", "Exclusive", "ReadOnly"});
        put(Data, {"DataField", "Text", "Caption", "Value", "OutputFormat", "SummaryFunc", "SummaryType",
                   "SummaryRunning", "SummaryGroup", "SummaryDistinctField", "ConnectionString", "Source",
                   "Connect", "DatabaseName", "RecordSource", "RecordsetType", "Class", "ReportName",
                   "TitleText"});
        put(Layout, {"Left", "Top", "Width", "Height", "X1", "Y1", "X2", "Y2", "PrintWidth", "PageSettings",
                     "ColumnCount", "ColumnSpacing", "ColumnDirection"});
        put(Misc, {"Name", "Tag", "Type", "DocumentName", "Script"});
        return t;
    }();
    return table;
}

// Text properties that often hold more than a line: they get a
// multi-line editor besides the in-place one.
bool isLongText(const QString &name)
{
    static const QStringList names = {QStringLiteral("Script"),  QStringLiteral("Text"),
                                      QStringLiteral("DataField"), QStringLiteral("Source"),
                                      QStringLiteral("ConnectionString"), QStringLiteral("Caption"),
                                      QStringLiteral("RecordSource"), QStringLiteral("TitleText")};
    return names.contains(name, Qt::CaseInsensitive);
}

QString classInfo(const QMetaObject *mo, const char *prefix, const char *name)
{
    if (!mo)
        return {};
    const QByteArray key = QByteArray(prefix) + ':' + name;
    const int index = mo->indexOfClassInfo(key.constData());
    return index >= 0 ? QString::fromUtf8(mo->classInfo(index).value()) : QString();
}

QString shortClassName(const QMetaObject *mo)
{
    QString name = QString::fromLatin1(mo->className());
    const int colons = name.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

void parseValues(const QString &table, PropertyInfo *info)
{
    for (const QString &entry : table.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString e = entry.trimmed();
        if (e == QLatin1String("...")) {
            info->openValues = true;
            continue;
        }
        const int space = e.indexOf(QLatin1Char(' '));
        bool ok = false;
        const int value = e.left(space).toInt(&ok);
        if (ok && space > 0)
            info->values.append({value, e.mid(space + 1).trimmed()});
    }
}

bool kindFromName(const QString &text, PropertyKind *kind)
{
    static const QHash<QString, PropertyKind> kinds = {
        {QStringLiteral("text"), PropertyKind::Text},       {QStringLiteral("longtext"), PropertyKind::LongText},
        {QStringLiteral("integer"), PropertyKind::Integer}, {QStringLiteral("number"), PropertyKind::Number},
        {QStringLiteral("length"), PropertyKind::Length},   {QStringLiteral("boolean"), PropertyKind::Boolean},
        {QStringLiteral("enum"), PropertyKind::Enumeration}, {QStringLiteral("color"), PropertyKind::Color},
        {QStringLiteral("picture"), PropertyKind::Picture},  {QStringLiteral("font"), PropertyKind::Font},
    };
    const auto it = kinds.constFind(text.trimmed().toLower());
    if (it == kinds.cend())
        return false;
    *kind = *it;
    return true;
}

// The kind a type allows for an override, so that class info cannot ask
// for an editor the value cannot take.
bool kindFits(PropertyKind kind, int type)
{
    switch (kind) {
    case PropertyKind::Text:
    case PropertyKind::LongText:
    case PropertyKind::FontName:
        return type == QMetaType::QString;
    case PropertyKind::Integer:
    case PropertyKind::Enumeration:
    case PropertyKind::Color:
        return type == QMetaType::Int;
    case PropertyKind::Number:
    case PropertyKind::Length:
        return type == QMetaType::Double || type == QMetaType::Int;
    case PropertyKind::Boolean:
        return type == QMetaType::Bool;
    case PropertyKind::Picture:
        return type == QMetaType::QByteArray;
    case PropertyKind::Font:
    case PropertyKind::Part:
        return false;
    }
    return false;
}

bool looksLikeFont(const QMetaObject *part)
{
    return part && part->indexOfProperty("Name") >= 0 && part->indexOfProperty("Size") >= 0;
}

} // namespace

bool describeProperty(const QMetaObject *objectClass, const QMetaProperty &p, PropertyInfo *info)
{
    *info = PropertyInfo();
    info->name = QString::fromLatin1(p.name());
    info->type = p.metaType();
    info->readOnly = !p.isWritable();
    const QMetaObject *enclosing = p.enclosingMetaObject();
    const QString qualified = shortClassName(enclosing) + QLatin1String("::") + info->name;
    const int type = p.metaType().id();

    if (Reflection::isPart(p)) {
        // Collections (sections, controls) are not stored with their owner
        // and are not shown; a part without properties has nothing to show.
        const QMetaObject *part = p.metaType().metaObject();
        if (!p.isStored() || !part || part->propertyCount() <= QObject::staticMetaObject.propertyCount())
            return false;
        info->kind = looksLikeFont(part) ? PropertyKind::Font : PropertyKind::Part;
        info->readOnly = false;
    } else {
        switch (type) {
        case QMetaType::QString:
            info->kind = isLongText(info->name) ? PropertyKind::LongText : PropertyKind::Text;
            break;
        case QMetaType::Bool:
            info->kind = PropertyKind::Boolean;
            break;
        case QMetaType::QByteArray:
            info->kind = PropertyKind::Picture;
            break;
        case QMetaType::Int:
        case QMetaType::Double: {
            Reflection::range(p, &info->minimum, &info->maximum);
            QString table = classInfo(objectClass, "values", p.name());
            if (table.isEmpty())
                table = valueTables().value(qualified, valueTables().value(info->name));
            if (type == QMetaType::Int && !table.isEmpty()) {
                parseValues(table, info);
                info->kind = PropertyKind::Enumeration;
            } else if (type == QMetaType::Int && info->name.endsWith(QLatin1String("Color"), Qt::CaseInsensitive)) {
                info->kind = PropertyKind::Color;
            } else if (type == QMetaType::Int) {
                info->kind = PropertyKind::Integer;
            } else {
                // Doubles that reach the model's largest coordinate are
                // positions and sizes; the others (points, pixels) are not.
                info->kind = info->maximum >= Reflection::maxTwips() ? PropertyKind::Length : PropertyKind::Number;
            }
            break;
        }
        default:
            return false;
        }
        PropertyKind forced;
        if (kindFromName(classInfo(objectClass, "editor", p.name()), &forced) && kindFits(forced, type))
            info->kind = forced;
        if (info->kind == PropertyKind::Enumeration && info->values.isEmpty())
            info->kind = PropertyKind::Integer;
    }

    info->category = classInfo(objectClass, "category", p.name());
    if (info->category.isEmpty())
        info->category = categoryTable().value(info->name.toCaseFolded(), PropertyCategories::Misc);
    return true;
}

PropertyKind childKind(PropertyKind parentKind, const PropertyInfo &child)
{
    if (parentKind == PropertyKind::Font && child.type.id() == QMetaType::QString
        && child.name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        return PropertyKind::FontName;
    return child.kind;
}

} // namespace Orv
