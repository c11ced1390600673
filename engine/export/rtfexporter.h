#pragma once
// Rich Text export: each page is a section of its own size; texts sit in
// frames placed on the page where they were drawn (fonts, sizes, styles,
// colours, alignment; rich text keeps bold, italic and underline), lines and
// shapes are drawing shapes, pictures and barcodes are PNG pictures in
// frames. The margins are the space around the first page's content.
// Rotated texts are set upright in their boxes.
#include "engine/export/exporter.h"

namespace Orv {

class RtfExporter : public Exporter
{
public:
    QString format() const override { return QStringLiteral("RTF"); }
    QStringList extensions() const override { return {QStringLiteral("rtf")}; }
    QList<ExportSetting> settings() const override { return {}; }
    Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                 const ExportProgress &progress = {}) override;
};

} // namespace Orv
