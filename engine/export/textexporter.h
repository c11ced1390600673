#pragma once
// Plain-text export: the page texts in reading order, one output line per
// line of the page. Texts of a line are joined by the delimiter, or, with no
// delimiter, placed at the character column of their position (12 per inch,
// 6 lines per inch for the blank lines between rows). Pages are separated by
// the page delimiter, a form feed unless set.
#include "engine/export/exporter.h"
#include "engine/pages/page.h"

namespace Orv {

struct TextSettings
{
    QString textDelimiter;                     // "TextDelimiter"
    bool suppressEmptyLines = false;           // "SuppressEmptyLines"
    bool unicode = false;                      // "Unicode": UTF-16 with a byte-order mark
    QString encoding = QStringLiteral("UTF-8"); // "Encoding": the character set when not Unicode
    QString pageDelimiter = QStringLiteral("\f"); // "PageDelimiter"
};

class TextExporter : public Exporter
{
public:
    QString format() const override { return QStringLiteral("Text"); }
    QStringList extensions() const override { return {QStringLiteral("txt")}; }
    QList<ExportSetting> settings() const override;
    Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                 const ExportProgress &progress = {}) override;

    Status parseSettings(const QVariantMap &settings, TextSettings *out) const;
    // The text of one page, lines ended by "\n".
    static QString pageText(const Page &page, const TextSettings &settings);
};

} // namespace Orv
