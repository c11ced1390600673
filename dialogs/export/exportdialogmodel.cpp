#include "dialogs/export/exportdialogmodel.h"

#include "engine/pages/pagecollection.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>
#include <limits>

namespace Orv {

namespace {

QString t(const char *text)
{
    return QCoreApplication::translate("frmExport", text);
}

QString excelDefault(const char *name)
{
    static const QList<ExportSetting> list = [] {
        const auto excel = ExporterRegistry::instance().create(QStringLiteral("Excel"));
        return excel ? excel->settings() : QList<ExportSetting>();
    }();
    const ExportSetting *s = findSetting(list, QString::fromLatin1(name));
    return s ? s->defaultValue.toString() : QString();
}

} // namespace

ExportDialogModel::ExportDialogModel()
{
    // The Excel boxes start at the filter's own defaults.
    m_entries.excel.borderSpace = excelDefault("BorderSpace");
    m_entries.excel.minColumnWidth = excelDefault("MinColumnWidth");
    m_entries.excel.minRowHeight = excelDefault("MinRowHeight");
}

QStringList ExportDialogModel::formatNames()
{
    return {t(QT_TRANSLATE_NOOP("frmExport", "Rich文本文件 (RTF)")), t(QT_TRANSLATE_NOOP("frmExport", "PDF文件 (PDF)")),
            t(QT_TRANSLATE_NOOP("frmExport", "HTML网页")),           t(QT_TRANSLATE_NOOP("frmExport", "电子表格 (XLS)")),
            t(QT_TRANSLATE_NOOP("frmExport", "Tif图片 (TIF)")),       t(QT_TRANSLATE_NOOP("frmExport", "文本文件"))};
}

QString ExportDialogModel::filterName(ExportFormat format)
{
    static const char *const names[] = {"RTF", "PDF", "HTML", "Excel", "TIFF", "Text"};
    return QString::fromLatin1(names[int(format)]);
}

QStringList ExportDialogModel::acrobatVersions()
{
    return {QStringLiteral("0 - Acrobat 2.1"), QStringLiteral("1 - Acrobat 3.x"), QStringLiteral("2 - Acrobat 4.x")};
}

QStringList ExportDialogModel::jpegQualities()
{
    return {QStringLiteral("25"), QStringLiteral("50"), QStringLiteral("75"), QStringLiteral("100")};
}

QStringList ExportDialogModel::htmlVersions()
{
    return {QStringLiteral("0 - HTML 3.2"), QStringLiteral("1 - Dynamic HTML")};
}

QStringList ExportDialogModel::tocFormats()
{
    return {QStringLiteral("0 - None"), QStringLiteral("1 - Simple HTML"), QStringLiteral("2 - Dynamic HTML"),
            QStringLiteral("3 - XML")};
}

QStringList ExportDialogModel::excelVersions()
{
    return {QStringLiteral("2.x"), QStringLiteral("3.x"), QStringLiteral("4.x"),
            QStringLiteral("5.x"), QStringLiteral("7.x"), QStringLiteral("8.x")};
}

QString ExportDialogModel::browseFilter(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Rtf: return t(QT_TRANSLATE_NOOP("frmExport", "Rich Text Format (*.RTF)")).replace(QLatin1String("*.RTF"), QLatin1String("*.rtf *.RTF"));
    case ExportFormat::Pdf: return t(QT_TRANSLATE_NOOP("frmExport", "Portable Document Format (*.pdf)"));
    // The workbook is written as Office Open XML: .xlsx first.
    case ExportFormat::Excel:
        return t(QT_TRANSLATE_NOOP("frmExport", "Microsoft Excel Workbook (*.xlsx)")) + QStringLiteral(";;")
               + t(QT_TRANSLATE_NOOP("frmExport", "Microsoft Excel Document (*.xls)"));
    case ExportFormat::Tiff: return t(QT_TRANSLATE_NOOP("frmExport", "Tagged Image Format (*.tif)"));
    case ExportFormat::Text: return t(QT_TRANSLATE_NOOP("frmExport", "Text Document (*.txt)"));
    case ExportFormat::Html: break;
    }
    return QString();
}

void ExportDialogModel::setFormat(int format)
{
    m_format = format >= 0 && format < FormatCount ? format : -1;
}

bool ExportDialogModel::canExport() const
{
    return m_pages && m_format >= 0 && !m_entries.fileName[m_format].isEmpty();
}

Status ExportDialogModel::leadingLong(const QString &text, int *out)
{
    // The leading number, as Val reads it: blanks skipped, a sign, digits
    // with one decimal point, an exponent.
    const QString s = text.trimmed();
    qsizetype i = 0;
    QString number;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        number += s[i++];
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i].isDigit() && s[i].unicode() < 128) {
            digits = true;
            number += s[i];
        } else if (s[i] == QLatin1Char('.') && !point) {
            point = true;
            number += s[i];
        } else {
            break;
        }
    }
    if (digits && i + 1 < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += s[j++];
        const qsizetype first = j;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128)
            exponent += s[j++];
        if (j > first)
            number += exponent;
    }
    const double value = digits ? number.toDouble() : 0.0;
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<qint32>::min()
        || rounded > std::numeric_limits<qint32>::max())
        return Status::failure(ErrOverflow,
                               QCoreApplication::translate("Orv::ExportDialogModel", "溢出: %1 超出了 Long 的范围")
                                   .arg(text.trimmed()),
                               QStringLiteral("frmExport"));
    *out = int(rounded);
    return {};
}

Status ExportDialogModel::settings(QList<std::pair<QString, QVariant>> *out) const
{
    out->clear();
    if (m_format < 0)
        return {};
    const ExportEntries &e = m_entries;
    const auto put = [out](const char *name, const QVariant &value) { out->append({QString::fromLatin1(name), value}); };
    switch (ExportFormat(m_format)) {
    case ExportFormat::Rtf:
    case ExportFormat::Tiff:
        break;
    case ExportFormat::Pdf: {
        static const int qualities[] = {25, 50, 75, 100};
        put("AcrobatVersion", qBound(0, e.pdf.acrobatVersion, 2));
        put("JPEGQuality", qualities[qBound(0, e.pdf.jpegQuality, 3)]);
        QString fonts;
        for (const QString &font : e.pdf.fontsNotToEmbed)
            fonts += font + QLatin1Char(';');
        put("FontsNotToEmbed", fonts);
        break;
    }
    case ExportFormat::Html:
        put("FileNamePrefix", e.fileName[int(ExportFormat::Html)]);
        put("PagesFolder", e.html.pagesFolder.isEmpty() ? m_installFolder : e.html.pagesFolder);
        put("ImagesFolder", e.html.imagesFolder.isEmpty() ? m_installFolder : e.html.imagesFolder);
        // An empty box keeps the filter's own character set.
        if (!e.html.characterSet.isEmpty())
            put("CharacterSet", e.html.characterSet);
        put("Title", e.html.title);
        put("HTMLVersion", qBound(0, e.html.version, 1));
        put("TOCFormat", qBound(0, e.html.tocFormat, 3));
        put("CreateCSS", e.html.createCss);
        put("CreateFrameset", e.html.createFrameset);
        put("MHTOutput", e.html.mhtArchive);
        put("MultiPageOutput", !e.html.singlePage);
        break;
    case ExportFormat::Excel: {
        static const int versions[] = {2, 3, 4, 5, 7, 8};
        int border = 0, column = 0, row = 0;
        for (const auto &[text, target] : {std::pair{&e.excel.borderSpace, &border},
                                           std::pair{&e.excel.minColumnWidth, &column},
                                           std::pair{&e.excel.minRowHeight, &row}}) {
            if (const Status s = leadingLong(*text, target); !s.ok())
                return s;
        }
        put("FileVersion", versions[qBound(0, e.excel.version, 5)]);
        put("AutoRowHeight", e.excel.autoRowHeight);
        put("BorderSpace", border);
        put("DoubleBoundaries", e.excel.doubleBoundaries);
        put("GenPageBreaks", e.excel.genPageBreaks);
        put("MinColumnWidth", column);
        put("MinRowHeight", row);
        put("MultiSheet", e.excel.multiSheet);
        put("ShowMarginSpace", e.excel.showMarginSpace);
        put("TrimEmptySpace", e.excel.trimEmptySpace);
        break;
    }
    case ExportFormat::Text:
        put("TextDelimiter", e.text.delimiter);
        put("SuppressEmptyLines", e.text.suppressEmptyLines);
        put("Unicode", e.text.unicode);
        break;
    }
    return {};
}

QString ExportDialogModel::targetPath() const
{
    if (m_format < 0)
        return QString();
    const QString name = m_entries.fileName[m_format];
    if (ExportFormat(m_format) != ExportFormat::Html)
        return name;
    const QString folder = m_entries.html.pagesFolder.isEmpty() ? m_installFolder : m_entries.html.pagesFolder;
    return QDir(folder).filePath(name + (m_entries.html.mhtArchive ? QStringLiteral(".mht") : QStringLiteral(".html")));
}

Status ExportDialogModel::exportPages(const ExportProgress &progress) const
{
    if (!canExport())
        return {};
    QList<std::pair<QString, QVariant>> ordered;
    if (const Status s = settings(&ordered); !s.ok())
        return s;
    QVariantMap map;
    for (const auto &[name, value] : ordered)
        map.insert(name, value);
    const std::unique_ptr<Exporter> filter = ExporterRegistry::instance().create(filterName(ExportFormat(m_format)));
    if (!filter)
        return Status::failure(ErrInvalidCall,
                               QCoreApplication::translate("Orv::ExportDialogModel", "没有 %1 导出过滤器")
                                   .arg(filterName(ExportFormat(m_format))),
                               QStringLiteral("frmExport"));
    return filter->write(*m_pages, targetPath(), map, progress);
}

} // namespace Orv
