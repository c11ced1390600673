// TIFF export read back with libtiff: pages, sizes, resolution, depth,
// codecs and the drawn pixels; the same file from one thread and from
// several.

#include "exportcheck.h"

#include "engine/export/tiffexporter.h"

#include <QTemporaryDir>
#include <QTest>
#include <tiffio.h>

using namespace Orv;

namespace {

struct Directory
{
    uint32_t width = 0, height = 0;
    uint16_t bits = 0, samples = 0, compression = 0, photometric = 0;
    float xres = 0;
    uint16_t pageNumber = 0;
    QImage image; // RGBA as libtiff decodes it
};

QList<Directory> readTiff(const QString &path)
{
    QList<Directory> out;
    TIFF *tif = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tif)
        return out;
    do {
        Directory d;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &d.width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &d.height);
        TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &d.bits);
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &d.samples);
        TIFFGetField(tif, TIFFTAG_COMPRESSION, &d.compression);
        TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &d.photometric);
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &d.xres);
        uint16_t pages = 0;
        TIFFGetField(tif, TIFFTAG_PAGENUMBER, &d.pageNumber, &pages);
        d.image = QImage(int(d.width), int(d.height), QImage::Format_RGBA8888);
        if (!TIFFReadRGBAImageOriented(tif, d.width, d.height, reinterpret_cast<uint32_t *>(d.image.bits()),
                                       ORIENTATION_TOPLEFT, 0))
            d.image = QImage();
        out << d;
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return out;
}

} // namespace

class TestTiffExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private Q_SLOTS:
    void writesEveryPageInColour()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        Page small = PageSamples::page(1, pages);
        small.size = QSizeF(7200, 4320); // 5 by 3 inches
        pages.append(small);
        const QString path = dir.filePath(QStringLiteral("pages.tif"));
        const Status status = exportPages(pages, path, {{QStringLiteral("Resolution"), 100}});
        QVERIFY2(status.ok(), qPrintable(status.description()));

        const QList<Directory> tiff = readTiff(path);
        QCOMPARE(tiff.size(), 2);
        QCOMPARE(tiff[0].width, 850u); // 8.5 by 11 inches at 100 dpi
        QCOMPARE(tiff[0].height, 1100u);
        QCOMPARE(tiff[1].width, 500u);
        QCOMPARE(tiff[1].height, 300u);
        QCOMPARE(tiff[0].xres, 100.0f);
        QCOMPARE(tiff[0].samples, uint16_t(3));
        QCOMPARE(tiff[0].compression, uint16_t(COMPRESSION_LZW));
        // The green rectangle at 6000, 3000 twips, and white paper beside it.
        const QRgb green = tiff[0].image.pixel(6720 / 14.4, 3360 / 14.4);
        QVERIFY(qGreen(green) > 200 && qRed(green) < 170 && qBlue(green) < 170);
        QCOMPARE(tiff[0].image.pixel(20, 20), qRgb(255, 255, 255));
    }

    void depthsAndCodecs()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        pages.append(PageSamples::page(1, pages));
        const struct
        {
            const char *compression;
            int depth;
            uint16_t codec;
        } cases[] = {{"None", 24, COMPRESSION_NONE},       {"PackBits", 8, COMPRESSION_PACKBITS},
                     {"LZW", 1, COMPRESSION_LZW},          {"CCITT3", 1, COMPRESSION_CCITTFAX3},
                     {"ccitt4", 0, COMPRESSION_CCITTFAX4}, {"4", 1, COMPRESSION_PACKBITS}};
        qint64 uncompressed = 0;
        for (const auto &c : cases) {
            QVariantMap settings{{QStringLiteral("Resolution"), 72},
                                 {QStringLiteral("Compression"), QString::fromLatin1(c.compression)}};
            if (c.depth)
                settings.insert(QStringLiteral("ColorDepth"), c.depth);
            const QString path = dir.filePath(QStringLiteral("%1.tif").arg(QLatin1String(c.compression)));
            const Status status = exportPages(pages, path, settings);
            QVERIFY2(status.ok(), qPrintable(status.description()));
            const QList<Directory> tiff = readTiff(path);
            QCOMPARE(tiff.size(), 2);
            QCOMPARE(tiff[1].compression, c.codec);
            const int depth = c.depth ? c.depth : 1;
            QCOMPARE(int(tiff[1].bits * tiff[1].samples), depth);
            QCOMPARE(tiff[1].photometric, uint16_t(depth == 24 ? PHOTOMETRIC_RGB
                                                   : depth == 8 ? PHOTOMETRIC_MINISBLACK
                                                                : PHOTOMETRIC_MINISWHITE));
            QVERIFY(!tiff[1].image.isNull());
            // The heading is drawn in black ink in every depth; the paper is white.
            const QImage heading = tiff[1].image.copy(QRect(100, 36, 450, 20));
            int dark = 0;
            for (int y = 0; y < heading.height(); ++y)
                for (int x = 0; x < heading.width(); ++x)
                    dark += qGray(heading.pixel(x, y)) < 100;
            QVERIFY2(dark > 50, c.compression);
            QCOMPARE(tiff[1].image.pixel(5, 5), qRgb(255, 255, 255));
            const qint64 size = QFileInfo(path).size();
            if (c.codec == COMPRESSION_NONE)
                uncompressed = size;
            else
                QVERIFY(size < uncompressed / 4);
        }
    }

    void sameFileFromEveryThread()
    {
        // Pages of different widths, so a page written out of order shows.
        PageCollection pages;
        constexpr int Count = 13;
        for (int i = 0; i < Count; ++i) {
            Page page = PageSamples::page(i, pages);
            page.size.setWidth(7200 + 144 * i);
            pages.append(page);
        }
        const QVariantMap cases[] = {
            {{QStringLiteral("Resolution"), 60}},
            {{QStringLiteral("Resolution"), 72}, {QStringLiteral("Compression"), QStringLiteral("CCITT4")}},
            {{QStringLiteral("Resolution"), 50}, {QStringLiteral("ColorDepth"), 8},
             {QStringLiteral("Compression"), QStringLiteral("PackBits")}}};
        for (const QVariantMap &settings : cases) {
            const QString name = settings.value(QStringLiteral("Compression"), QStringLiteral("LZW")).toString();
            QList<QByteArray> files;
            for (int threads : {1, 4}) {
                TiffExporter tiff;
                tiff.setThreadCount(threads);
                const QString path = dir.filePath(QStringLiteral("threads%1-%2.tif").arg(threads).arg(name));
                const Status status = tiff.write(pages, path, settings);
                QVERIFY2(status.ok(), qPrintable(status.description()));
                files << ExportCheck::contents(path);
            }
            QVERIFY2(files[0] == files[1], qPrintable(name));

            const QList<Directory> one = readTiff(dir.filePath(QStringLiteral("threads1-%1.tif").arg(name)));
            const QList<Directory> four = readTiff(dir.filePath(QStringLiteral("threads4-%1.tif").arg(name)));
            QCOMPARE(four.size(), Count);
            QCOMPARE(one.size(), Count);
            const int dpi = settings.value(QStringLiteral("Resolution")).toInt();
            for (int i = 0; i < Count; ++i) {
                QCOMPARE(four[i].pageNumber, uint16_t(i));
                QCOMPARE(four[i].width, uint32_t(std::lround((7200 + 144 * i) * dpi / 1440.0)));
                QCOMPARE(four[i].height, uint32_t(11 * dpi));
                QVERIFY(!four[i].image.isNull());
                QCOMPARE(four[i].image, one[i].image);
            }
            // Each page carries its own drawing (its page number text differs).
            QVERIFY(four[3].image.copy(0, 0, 300, four[3].image.height())
                    != four[4].image.copy(0, 0, 300, four[4].image.height()));
        }
    }

    void cancelledOnManyThreadsLeavesNoFile()
    {
        QTemporaryDir folder;
        PageCollection pages;
        for (int i = 0; i < 40; ++i)
            pages.append(PageSamples::page(i, pages));
        std::atomic_bool cancel = false;
        ExportProgress progress;
        progress.cancel = &cancel;
        int last = -1;
        progress.onProgress = [&](int done, int) {
            last = done;
            if (done == 5)
                cancel = true;
        };
        TiffExporter tiff;
        tiff.setThreadCount(4);
        const QString path = folder.filePath(QStringLiteral("cancelled.tif"));
        QCOMPARE(tiff.write(pages, path, {{QStringLiteral("Resolution"), 72}}, progress).number(), int(ErrExportCancelled));
        QCOMPARE(last, 5);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(ExportCheck::entries(folder.path()), QStringList());
    }

    void refusesBadSettings()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        const QString path = dir.filePath(QStringLiteral("bad.tif"));
        TiffExporter tiff;
        QCOMPARE(tiff.write(pages, path, {{QStringLiteral("Compression"), QStringLiteral("JPEG2000")}}).number(),
                 int(ErrInvalidPropertyValue));
        QCOMPARE(tiff.write(pages, path, {{QStringLiteral("Compression"), QStringLiteral("CCITT4")},
                                          {QStringLiteral("ColorDepth"), 24}}).number(),
                 int(ErrInvalidPropertyValue));
        QCOMPARE(tiff.write(pages, path, {{QStringLiteral("ColorDepth"), 16}}).number(), int(ErrInvalidPropertyValue));
        QCOMPARE(tiff.write(pages, path, {{QStringLiteral("Resolution"), 5000}}).number(), int(ErrInvalidPropertyValue));
        Page huge;
        huge.size = QSizeF(2e6, 2e6);
        PageCollection hugePages;
        hugePages.append(huge);
        QCOMPARE(tiff.write(hugePages, path, {{QStringLiteral("Resolution"), 1200}}).number(), int(ErrInvalidPropertyValue));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(ExportCheck::entries(dir.path()).filter(QStringLiteral("bad")).size(), 0);
    }
};

QTEST_MAIN(TestTiffExport)
#include "tst_tiffexport.moc"
