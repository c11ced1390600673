#include "accessimport/accessimport.h"

#include "engine/model/control.h"
#include "engine/model/controls.h"
#include "engine/model/section.h"

#include <QFile>
#include <QtEndian>

namespace Orv {

using AccessImport::AccessObject;

namespace AccessMap {

int textAlign(int access)
{
    return access == 2 ? 2 : access == 3 ? 1 : 0;
}

int lineStyle(int s)
{
    switch (s) {
    case 1: return 1;
    case 2: case 3: return 2;
    case 4: case 5: return 3;
    case 6: return 4;
    case 7: return 5;
    default: return 0;
    }
}

int borderStyle(int s, int w)
{
    int thin = 0;
    switch (s) {
    case 1: return w < 2 ? 1 : w == 2 ? 7 : 13;
    case 2: case 3: thin = 2; break;
    case 4: case 5: thin = 3; break;
    case 6: thin = 4; break;
    case 7: thin = 5; break;
    default: return 0;
    }
    return w < 2 ? thin : thin + 6;
}

int sizeMode(int access)
{
    return access == 1 ? 1 : access == 3 ? 2 : 0;
}

int pictureAlignment(int access)
{
    return (access == 0 || access == 1 || access == 3 || access == 4) ? access : 2;
}

int runningSum(int access)
{
    return (access == 1 || access == 2) ? access : 0;
}

int newPage(int access)
{
    return (access >= 1 && access <= 3) ? access : 0;
}

int groupKeepTogether(int access)
{
    return access == 1 ? 2 : access == 2 ? 1 : 0;
}

} // namespace AccessMap

namespace {

// An embedded picture as the file bytes the engine's image holds: PNG,
// JPEG, GIF and BMP as they are, a bare DIB with a BMP file header put in
// front. Anything else (metafiles) gives an empty result.
QByteArray pictureFile(const QByteArray &data)
{
    if (data.startsWith("\x89PNG") || data.startsWith("\xFF\xD8") || data.startsWith("GIF8") || data.startsWith("BM"))
        return data;
    if (data.size() >= 40 && qFromLittleEndian<quint32>(data.constData()) == 40) {
        const quint16 bits = qFromLittleEndian<quint16>(data.constData() + 14);
        quint32 colours = qFromLittleEndian<quint32>(data.constData() + 32);
        if (colours == 0 && bits <= 8)
            colours = 1u << bits;
        const quint32 compression = qFromLittleEndian<quint32>(data.constData() + 16);
        const quint32 masks = compression == 3 ? 12 : 0;
        QByteArray header(14, '\0');
        header[0] = 'B';
        header[1] = 'M';
        qToLittleEndian<quint32>(quint32(14 + data.size()), header.data() + 2);
        qToLittleEndian<quint32>(14 + 40 + masks + 4 * std::min<quint32>(colours, 256), header.data() + 10);
        return header + data;
    }
    return QByteArray();
}

} // namespace

void CAccessImport::copyControl(Section &section, const AccessObject &control, const QString &groupName, QString *chartSnippet)
{
    chartSnippet->clear();
    const QString type = control.typeName();
    const QString kind = type.toLower();
    if (kind == u"textbox")
        copyTextBox(section, control, groupName);
    else if (kind == u"label")
        copyLabel(section, control);
    else if (kind == u"line")
        copyLine(section, control);
    else if (kind == u"rectangle")
        copyRect(section, control);
    else if (kind == u"pagebreak")
        copyPageBreak(section, control);
    else if (kind == u"image")
        copyImage(section, control);
    else if (kind == u"checkbox")
        copyCheckBox(section, control);
    else if (kind == u"customcontrol")
        copyCustomControl(section, control);
    else if (kind == u"objectframe") {
        const QString here = QStringLiteral("copyControl()");
        const QVariant cls = get(control, QStringLiteral("Class"), here);
        if (m_settings.mbConvertChartCtls && !findMatch(cls.toString(), QStringLiteral("^MSGraph.Chart")).isEmpty()) {
            *chartSnippet = m_chartConverter ? m_chartConverter(*this, section, control) : copyControlChart(section, control);
        }
    } else if (kind == u"boundobjectframe")
        copyControlBoundObjectFrame(section, control);
    else if (kind == u"combobox")
        copyComboBox(section, control);
    else if (kind == u"subform")
        copyControlSubReport(section, control);
    else
        logError(type + QStringLiteral(" control importing isn't supported, control name is \"")
                     + control.value(QStringLiteral("Name")).toString() + u'"',
                 QStringLiteral("copyControl(") + section.name() + u')', 0);
}

void CAccessImport::copyCommon(Control *c, const AccessObject &a, const QString &here, bool withHeight)
{
    const QVariant name = get(a, QStringLiteral("Name"), here);
    set(c, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    for (const char *p : {"Visible", "Tag", "Left", "Top", "Width"})
        set(c, QLatin1StringView(p), get(a, QLatin1StringView(p), here), here);
    if (withHeight)
        set(c, QStringLiteral("Height"), borderedHeight(a, here), here);
}

QVariant CAccessImport::borderedHeight(const AccessObject &a, const QString &here)
{
    const QVariant height = get(a, QStringLiteral("Height"), here);
    const QVariant style = get(a, QStringLiteral("BorderStyle"), here);
    const QVariant effect = get(a, QStringLiteral("SpecialEffect"), here);
    if (!height.isValid())
        return QVariant();
    if (style.toInt() != 0 || effect.toInt() == 4)
        return height.toDouble() - 15.0 * std::min(get(a, QStringLiteral("BorderWidth"), here).toInt(), 3);
    return height;
}

void CAccessImport::setFont(Control *c, const AccessObject &a, const QString &here)
{
    set(c, QStringLiteral("Font.Name"), get(a, QStringLiteral("FontName"), here), here);
    set(c, QStringLiteral("Font.Size"), get(a, QStringLiteral("FontSize"), here), here);
    set(c, QStringLiteral("Font.Bold"), get(a, QStringLiteral("FontBold"), here), here);
    set(c, QStringLiteral("Font.Italic"), get(a, QStringLiteral("FontItalic"), here), here);
    set(c, QStringLiteral("Font.Underline"), get(a, QStringLiteral("FontUnderline"), here), here);
    set(c, QStringLiteral("Font.Charset"), int(m_settings.miCharset), here);
}

void CAccessImport::setBorder(Control *c, const AccessObject &a, const QString &here)
{
    int w = get(a, QStringLiteral("BorderWidth"), here).toInt();
    const QVariant colour = get(a, QStringLiteral("BorderColor"), here);
    if (get(a, QStringLiteral("SpecialEffect"), here).toInt() == 4) {
        set(c, QStringLiteral("Border.Shadow"), true, here);
        w = 1;
    }
    const int style = AccessMap::borderStyle(get(a, QStringLiteral("BorderStyle"), here).toInt(), w);
    for (const char *side : {"Top", "Left", "Right", "Bottom"})
        set(c, QStringLiteral("Border.") + QLatin1StringView(side) + QStringLiteral("Color"), colour, here);
    if (style != 0)
        for (const char *side : {"Top", "Left", "Right", "Bottom"})
            set(c, QStringLiteral("Border.") + QLatin1StringView(side) + QStringLiteral("Style"), style, here);
}

void CAccessImport::copyBoxAndText(Control *c, const AccessObject &a, const QString &here)
{
    set(c, QStringLiteral("BackColor"), get(a, QStringLiteral("BackColor"), here), here);
    const QVariant backStyle = get(a, QStringLiteral("BackStyle"), here);
    set(c, QStringLiteral("BackStyle"), backStyle.isValid() ? QVariant(int(backStyle.toInt() != 0 ? BackStyle::Opaque : BackStyle::Transparent)) : QVariant(), here);
    set(c, QStringLiteral("ForeColor"), get(a, QStringLiteral("ForeColor"), here), here);
    setFont(c, a, here);
    setBorder(c, a, here);
    const QVariant align = get(a, QStringLiteral("TextAlign"), here);
    set(c, QStringLiteral("Alignment"), align.isValid() ? QVariant(AccessMap::textAlign(align.toInt())) : QVariant(), here);
}

void CAccessImport::copyTextBox(Section &section, const AccessObject &a, const QString &groupName)
{
    const QString here = QStringLiteral("copyTextBox()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.Field"), here);
    copyCommon(c, a, here);
    copyBoxAndText(c, a, here);
    const QVariant source = get(a, QStringLiteral("ControlSource"), here);
    const QString cs = source.toString();
    if (source.isValid()) {
        if (cs.startsWith(u'=')) {
            if (set(c, QStringLiteral("DataField"), translateExpression(cs), here))
                set(c, QStringLiteral("Text"), c->property("DataField"), here);
        } else {
            set(c, QStringLiteral("Text"), cs, here);
            set(c, QStringLiteral("DataField"), cs, here);
        }
    }
    set(c, QStringLiteral("OutputFormat"), get(a, QStringLiteral("Format"), here), here);
    const Section::Type type = section.type();
    bool summary = false;
    if (type != Section::Detail && source.isValid()) {
        const int f = aggregateFunction(cs);
        summary = f >= 0;
        if (f >= 0) {
            set(c, QStringLiteral("SummaryFunc"), f, here);
            if (type == Section::ReportHeader || type == Section::ReportFooter) {
                set(c, QStringLiteral("SummaryType"), 1, here);
                set(c, QStringLiteral("SummaryRunning"), 2, here);
            } else if (type == Section::PageHeader || type == Section::PageFooter) {
                set(c, QStringLiteral("SummaryType"), 2, here);
                set(c, QStringLiteral("SummaryRunning"), 0, here);
            } else {
                set(c, QStringLiteral("SummaryType"), 3, here);
                const QVariant running = get(a, QStringLiteral("RunningSum"), here);
                set(c, QStringLiteral("SummaryRunning"), running.isValid() ? QVariant(AccessMap::runningSum(running.toInt())) : QVariant(), here);
                set(c, QStringLiteral("SummaryGroup"), groupName, here);
            }
            set(c, QStringLiteral("Text"), u'\'' + cs, here);
            if (set(c, QStringLiteral("DataField"), aggregateField(cs), here) && c->property("DataField").toString().isEmpty())
                set(c, QStringLiteral("DataField"), u'\'' + cs, here);
        }
    }
    if (!summary) {
        // A running sum on a plain text box (=1 numbering the rows, a field
        // added up as it prints) is the field's own running sum.
        const QVariant running = get(a, QStringLiteral("RunningSum"), here);
        if (running.isValid() && AccessMap::runningSum(running.toInt()) != 0)
            set(c, QStringLiteral("RunningSum"), AccessMap::runningSum(running.toInt()), here);
    }
    set(c, QStringLiteral("CanGrow"), get(a, QStringLiteral("CanGrow"), here), here);
    set(c, QStringLiteral("CanShrink"), get(a, QStringLiteral("CanShrink"), here), here);
}

void CAccessImport::copyComboBox(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyComboBox()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.Field"), here);
    copyCommon(c, a, here);
    copyBoxAndText(c, a, here);
    const QVariant source = get(a, QStringLiteral("ControlSource"), here);
    if (source.isValid()) {
        const QString cs = source.toString();
        const QString trimmed = cs.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(u'='))
            set(c, QStringLiteral("DataField"), cs, here);
        else
            set(c, QStringLiteral("Text"), cs, here);
    }
    set(c, QStringLiteral("OutputFormat"), get(a, QStringLiteral("Format"), here), here);
}

void CAccessImport::copyLabel(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyLabel()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.Label"), here);
    copyCommon(c, a, here);
    copyBoxAndText(c, a, here);
    set(c, QStringLiteral("Caption"), get(a, QStringLiteral("Caption"), here), here);
}

void CAccessImport::copyLine(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyLine()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.Line"), here);
    const QVariant name = get(a, QStringLiteral("Name"), here);
    set(c, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    set(c, QStringLiteral("Visible"), get(a, QStringLiteral("Visible"), here), here);
    set(c, QStringLiteral("Tag"), get(a, QStringLiteral("Tag"), here), here);
    const double l = get(a, QStringLiteral("Left"), here).toDouble(), t = get(a, QStringLiteral("Top"), here).toDouble();
    const double w = get(a, QStringLiteral("Width"), here).toDouble(), h = get(a, QStringLiteral("Height"), here).toDouble();
    const bool slant = get(a, QStringLiteral("LineSlant"), here).toBool();
    set(c, QStringLiteral("X1"), l + (slant ? w : 0), here);
    set(c, QStringLiteral("Y1"), t, here);
    set(c, QStringLiteral("X2"), l + (slant ? 0 : w), here);
    set(c, QStringLiteral("Y2"), t + h, here);
    const QVariant style = get(a, QStringLiteral("BorderStyle"), here);
    set(c, QStringLiteral("LineStyle"), style.isValid() ? QVariant(AccessMap::lineStyle(style.toInt())) : QVariant(), here);
    const QVariant width = get(a, QStringLiteral("BorderWidth"), here);
    set(c, QStringLiteral("LineWeight"), width.isValid() ? QVariant(2 * qRound(width.toDouble())) : QVariant(), here);
    set(c, QStringLiteral("LineColor"), get(a, QStringLiteral("BorderColor"), here), here);
}

void CAccessImport::copyRect(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyRect()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.Shape"), here);
    copyCommon(c, a, here);
    set(c, QStringLiteral("LineColor"), get(a, QStringLiteral("BorderColor"), here), here);
    set(c, QStringLiteral("BackColor"), get(a, QStringLiteral("BackColor"), here), here);
    const QVariant backStyle = get(a, QStringLiteral("BackStyle"), here);
    set(c, QStringLiteral("BackStyle"), backStyle.isValid() ? QVariant(int(backStyle.toInt() != 0 ? BackStyle::Opaque : BackStyle::Transparent)) : QVariant(), here);
    set(c, QStringLiteral("Shape"), 0, here);
    set(c, QStringLiteral("LineStyle"), 0, here);
    setBorder(c, a, here);
}

void CAccessImport::copyPageBreak(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyPageBreak()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.PageBreak"), here);
    const QVariant name = get(a, QStringLiteral("Name"), here);
    set(c, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    set(c, QStringLiteral("Tag"), get(a, QStringLiteral("Tag"), here), here);
    set(c, QStringLiteral("Top"), get(a, QStringLiteral("Top"), here), here);
}

void CAccessImport::copyImage(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyImage()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.Image"), here);
    copyCommon(c, a, here, false);
    set(c, QStringLiteral("Height"), get(a, QStringLiteral("Height"), here), here);
    const QVariant backStyle = get(a, QStringLiteral("BackStyle"), here);
    set(c, QStringLiteral("BackStyle"), backStyle.isValid() ? QVariant(int(backStyle.toInt() != 0 ? BackStyle::Opaque : BackStyle::Transparent)) : QVariant(), here);
    set(c, QStringLiteral("BackColor"), get(a, QStringLiteral("BackColor"), here), here);
    setBorder(c, a, here);
    // Without Access's copy command the picture is read from the export:
    // a linked file, or the embedded PictureData.
    const QVariant type = get(a, QStringLiteral("PictureType"), here);
    if (type.toInt() == 1) {
        const QString path = get(a, QStringLiteral("Picture"), here).toString();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.size() <= 64 * 1024 * 1024)
            set(c, QStringLiteral("Picture"), f.readAll(), here);
        else
            logError(QStringLiteral("File not found: %1").arg(path), here, ErrFileNotFound);
    } else if (type.toInt() == 2) {
        logError(QStringLiteral("the picture \"%1\" of \"%2\" is an image shared in the database, which cannot be read here")
                     .arg(get(a, QStringLiteral("Picture"), here).toString(), a.value(QStringLiteral("Name")).toString()),
                 here, ErrBadFileFormat);
    } else if (type.isValid()) {
        const QVariant data = get(a, QStringLiteral("PictureData"), here);
        if (data.isValid()) {
            const QByteArray file = pictureFile(data.toByteArray());
            if (file.isEmpty())
                logError(QStringLiteral("the embedded picture of \"%1\" is in a format that cannot be read")
                             .arg(a.value(QStringLiteral("Name")).toString()),
                         here, ErrBadFileFormat);
            else
                set(c, QStringLiteral("Picture"), file, here);
        }
    }
    const QVariant sizeMode = get(a, QStringLiteral("SizeMode"), here);
    set(c, QStringLiteral("SizeMode"), sizeMode.isValid() ? QVariant(AccessMap::sizeMode(sizeMode.toInt())) : QVariant(), here);
    const QVariant align = get(a, QStringLiteral("PictureAlignment"), here);
    set(c, QStringLiteral("PictureAlignment"), align.isValid() ? QVariant(AccessMap::pictureAlignment(align.toInt())) : QVariant(), here);
}

void CAccessImport::copyCheckBox(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyCheckBox()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.Checkbox"), here);
    const QVariant name = get(a, QStringLiteral("Name"), here);
    set(c, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    set(c, QStringLiteral("DataField"), get(a, QStringLiteral("ControlSource"), here), here);
    for (const char *p : {"Visible", "Tag", "Top", "Left", "Width"})
        set(c, QLatin1StringView(p), get(a, QLatin1StringView(p), here), here);
    set(c, QStringLiteral("Height"), 220, here);
    set(c, QStringLiteral("Caption"), QString(), here);
}

void CAccessImport::copyCustomControl(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyCustomControl()");
    Control *c = addControl(section, get(a, QStringLiteral("OLEClass"), here).toString(), here);
    const QVariant name = get(a, QStringLiteral("Name"), here);
    set(c, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    for (const char *p : {"Visible", "Tag", "Top", "Left", "Width", "Height"})
        set(c, QLatin1StringView(p), get(a, QLatin1StringView(p), here), here);
    setBorder(c, a, here);
}

void CAccessImport::copyControlBoundObjectFrame(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyControlBoundObjectFrame()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.OLE"), here);
    const QVariant name = get(a, QStringLiteral("Name"), here);
    set(c, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    set(c, QStringLiteral("DataField"), get(a, QStringLiteral("ControlSource"), here), here);
    for (const char *p : {"Visible", "Tag", "Top", "Left", "Width", "Height"})
        set(c, QLatin1StringView(p), get(a, QLatin1StringView(p), here), here);
    setBorder(c, a, here);
}

void CAccessImport::copyControlSubReport(Section &section, const AccessObject &a)
{
    const QString here = QStringLiteral("copyControlSubReport()");
    Control *c = addControl(section, QStringLiteral("OrvEngine.SubReport"), here);
    const QVariant name = get(a, QStringLiteral("Name"), here);
    set(c, QStringLiteral("Name"), name.isValid() ? QVariant(sanitizeName(name.toString())) : QVariant(), here);
    for (const char *p : {"Visible", "Tag", "Top", "Left", "Width", "Height"})
        set(c, QLatin1StringView(p), get(a, QLatin1StringView(p), here), here);
    setBorder(c, a, here);
    const QVariant source = get(a, QStringLiteral("SourceObject"), here);
    if (!source.isValid())
        return;
    QString r = source.toString();
    if (const qsizetype dot = r.indexOf(u'.'); dot >= 0)
        r = r.mid(dot + 1);
    r = sanitizeName(r);
    set(c, QStringLiteral("ReportName"), r + QStringLiteral(".rpx"), here);
    // The script reaches the control by the name it has in the engine.
    const QString controlName = c ? c->name() : sanitizeName(name.toString());
    const QString crlf = QStringLiteral("\r\n");
    m_startScript += crlf + QStringLiteral("\tSet srpt = CreateObject(\"OrvEngine.Report\")") + crlf
        + QStringLiteral("\tsrpt.LoadLayout \"") + r + QStringLiteral(".rpx\"") + crlf
        + QStringLiteral("\tSet rpt.") + controlName + QStringLiteral(".Object = srpt") + crlf
        + QStringLiteral("\tSet srpt = Nothing") + crlf;
    m_endScript += crlf + QStringLiteral("\tSet rpt.") + controlName + QStringLiteral(".Object = Nothing");
}

} // namespace Orv
