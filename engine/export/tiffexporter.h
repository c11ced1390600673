#pragma once
// TIFF export: every page drawn by the page painter into an image at the
// chosen resolution and colour depth, written as one page of a multi-page
// TIFF through libtiff. Compression: none, CCITT group 3 or 4 (black and
// white only), LZW (with the horizontal predictor for grey and colour) or
// PackBits.
#include "engine/export/exporter.h"

namespace Orv {

struct TiffSettings
{
    enum Compression { None, CcittGroup3, CcittGroup4, Lzw, PackBits };
    int resolution = 200;     // "Resolution": dots per inch, 36 to 1200
    int colorDepth = 24;      // "ColorDepth": 1 (black and white), 8 (grey) or 24 (colour)
    int compression = Lzw;    // "Compression": index or name, see compressionNames()
    static QStringList compressionNames();
};

class TiffExporter : public Exporter
{
public:
    QString format() const override { return QStringLiteral("TIFF"); }
    QStringList extensions() const override { return {QStringLiteral("tif"), QStringLiteral("tiff")}; }
    QList<ExportSetting> settings() const override;
    Status write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                 const ExportProgress &progress = {}) override;

    Status parseSettings(const QVariantMap &settings, TiffSettings *out) const;

    // The largest image of one page, in pixels; larger pages at the chosen
    // resolution are refused rather than allocated.
    static constexpr qint64 MaxPixels = 200'000'000;
};

} // namespace Orv
