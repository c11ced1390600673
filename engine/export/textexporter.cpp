#include "engine/export/textexporter.h"

#include "engine/export/exportutil.h"
#include "engine/pages/pagecollection.h"

#include <QFile>
#include <QStringEncoder>
#include <cmath>

namespace Orv {

namespace {

constexpr double TwipsPerColumn = 120; // 12 characters per inch
constexpr double TwipsPerLine = 240;   // 6 lines per inch

} // namespace

QList<ExportSetting> TextExporter::settings() const
{
    return {{QStringLiteral("TextDelimiter"), SettingType::Text, 0, 0, {}, {}, QString(), {},
             QStringLiteral("joins the texts of a line; empty places them at their columns")},
            {QStringLiteral("SuppressEmptyLines"), SettingType::Boolean, 0, 0, {}, {}, false, {},
             QStringLiteral("no blank lines")},
            {QStringLiteral("Unicode"), SettingType::Boolean, 0, 0, {}, {}, false, {},
             QStringLiteral("UTF-16 little-endian with a byte-order mark")},
            {QStringLiteral("Encoding"), SettingType::Text, 0, 0, {}, {}, QStringLiteral("UTF-8"), {},
             QStringLiteral("the character set when not Unicode")},
            {QStringLiteral("PageDelimiter"), SettingType::Text, 0, 0, {}, {}, QStringLiteral("\f"), {},
             QStringLiteral("written between pages")}};
}

Status TextExporter::parseSettings(const QVariantMap &settings, TextSettings *out) const
{
    Status status = checkSettingNames(settings);
    if (!status.ok())
        return status;
    TextSettings s;
    SettingReader r(format(), this->settings(), settings);
    r.text(QStringLiteral("TextDelimiter"), &s.textDelimiter);
    r.boolean(QStringLiteral("SuppressEmptyLines"), &s.suppressEmptyLines);
    r.boolean(QStringLiteral("Unicode"), &s.unicode);
    r.text(QStringLiteral("Encoding"), &s.encoding);
    r.text(QStringLiteral("PageDelimiter"), &s.pageDelimiter);
    if (!r.ok())
        return r.status();
    if (!s.unicode && !QStringEncoder(s.encoding.toLatin1().constData()).isValid())
        return failure(ErrInvalidPropertyValue, QStringLiteral("Text setting Encoding: unknown character set \"%1\"").arg(s.encoding));
    *out = s;
    return {};
}

QString TextExporter::pageText(const Page &page, const TextSettings &settings)
{
    QString out;
    const std::vector<TextLine> lines = pageLines(page);
    double previousBottom = -1;
    for (const TextLine &line : lines) {
        if (previousBottom >= 0 && !settings.suppressEmptyLines) {
            const int blanks = int(std::lround((line.top - previousBottom) / TwipsPerLine));
            for (int i = 0; i < blanks; ++i)
                out += QLatin1Char('\n');
        }
        previousBottom = line.top + qMax(line.height, TwipsPerLine);
        QString text;
        bool first = true;
        for (const TextLine::Piece &piece : line.pieces) {
            if (!settings.textDelimiter.isEmpty()) {
                if (!first)
                    text += settings.textDelimiter;
                text += piece.text;
            } else {
                // Right-aligned and centred texts keep their right edge or centre.
                qsizetype column = qsizetype(std::lround(piece.left / TwipsPerColumn));
                if (piece.alignment & Qt::AlignRight)
                    column = qsizetype(std::lround((piece.left + piece.width) / TwipsPerColumn)) - piece.text.size();
                else if (piece.alignment & Qt::AlignHCenter)
                    column = qsizetype(std::lround((piece.left + piece.width / 2) / TwipsPerColumn)) - piece.text.size() / 2;
                column = qMax(column, first ? qsizetype(0) : text.size() + 1);
                if (column > text.size())
                    text += QString(column - text.size(), QLatin1Char(' '));
                text += piece.text;
            }
            first = false;
        }
        if (settings.suppressEmptyLines && text.trimmed().isEmpty())
            continue;
        out += text;
        out += QLatin1Char('\n');
    }
    return out;
}

Status TextExporter::write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                           const ExportProgress &progress)
{
    TextSettings options;
    Status status = checkStart(parseSettings(settings, &options), pages);
    if (!status.ok())
        return status;
    const int count = pages.Count();
    StagedFiles staged(format());
    QFile file;
    status = staged.open(path, &file);
    if (!status.ok())
        return status;
    QStringEncoder encoder = options.unicode ? QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                                             : QStringEncoder(options.encoding.toLatin1().constData());
    progress.report(0, count);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled())
            return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
        const std::shared_ptr<const Page> page = pages.page(i, &status);
        if (!page)
            return status;
        QString text = pageText(*page, options);
        if (i + 1 < count)
            text += options.pageDelimiter;
        const QByteArray bytes = encoder.encode(text);
        status = staged.write(file, bytes, path);
        if (!status.ok())
            return status;
        progress.report(i + 1, count);
    }
    status = staged.checkWritten(file, path);
    if (!status.ok())
        return status;
    return staged.commit();
}

} // namespace Orv
