#pragma once
// TIFF export: every page drawn by the page painter into an image at the
// chosen resolution and colour depth, written as one page of a multi-page
// TIFF through libtiff. Compression: none, CCITT group 3 or 4 (black and
// white only), LZW (with the horizontal predictor for grey and colour) or
// PackBits. Pages are drawn and compressed on every core and written in
// page order; the file is the same for any number of threads.
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

    // Threads that draw pages (0, the default: one per core).
    void setThreadCount(int threads) { m_threads = qMax(0, threads); }
    int threadCount() const { return m_threads; }

    // The largest image of one page, in pixels; larger pages at the chosen
    // resolution are refused rather than allocated.
    static constexpr qint64 MaxPixels = 200'000'000;
    // Pages drawn ahead of the one being written: at most two per thread,
    // and no more than this many bytes of images at once (a large page at
    // a high resolution is drawn alone).
    static constexpr qint64 MaxBytesAhead = qint64(512) << 20;

private:
    int m_threads = 0;
};

} // namespace Orv
