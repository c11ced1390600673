// Archive files: round trip of every operation kind, and damaged, truncated,
// wrong-version and hostile archives refused with a located message.

#include "pagesamples.h"

#include "engine/pages/pageio.h"
#include "engine/pages/pagepainter.h"

#include <QBuffer>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <atomic>
#include <random>
#include <thread>
#include <zlib.h>

using namespace Orv;

namespace {

// Archive pieces built independently of the writer, as the format describes them.
QByteArray header(quint32 pages, quint32 images, quint16 version = 1)
{
    QByteArray h("ORVRDF\x1a\n", 8);
    PageIO::Writer w(h);
    w.u16(version);
    w.u16(1);
    w.u32(0);
    w.u32(pages);
    w.u32(images);
    w.u32(quint32(crc32(0, reinterpret_cast<const Bytef *>(h.constData()), 24)));
    return h;
}

QByteArray chunk(char type, const QByteArray &data, bool deflate = true, qint64 declared = -1)
{
    QByteArray stored = data;
    if (deflate) {
        uLongf size = compressBound(uLong(data.size()));
        stored.resize(qsizetype(size));
        compress(reinterpret_cast<Bytef *>(stored.data()), &size, reinterpret_cast<const Bytef *>(data.constData()),
                 uLong(data.size()));
        stored.resize(qsizetype(size));
    }
    QByteArray c;
    c.append(type);
    c.append(char(deflate ? 1 : 0));
    c.append(2, '\0');
    PageIO::Writer w(c);
    w.u32(quint32(stored.size()));
    w.u32(quint32(declared >= 0 ? declared : data.size()));
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(c.constData()), 12);
    crc = crc32(crc, reinterpret_cast<const Bytef *>(stored.constData()), uInt(stored.size()));
    w.u32(quint32(crc));
    return c + stored;
}

QByteArray end(quint32 pages, quint32 images, quint32 fonts)
{
    QByteArray e;
    PageIO::Writer w(e);
    w.u32(pages);
    w.u32(images);
    w.u32(fonts);
    return chunk('E', e, false);
}

// A one-page archive whose page data is given raw.
QByteArray onePage(const QByteArray &pageData, int fonts = 0)
{
    QByteArray fontData;
    PageIO::Writer w(fontData);
    w.u32(quint32(fonts));
    for (int i = 0; i < fonts; ++i)
        PageIO::writeFont(w, PageFont{});
    return header(1, 0) + (fonts ? chunk('F', fontData) : QByteArray()) + chunk('P', pageData) + end(1, 0, quint32(fonts));
}

Status load(PageCollection &pages, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return pages.loadFrom(&buffer, QStringLiteral("test.rdf"));
}

QByteArray save(const PageCollection &pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const Status status = pages.saveTo(&buffer);
    return status.ok() ? buffer.data() : QByteArray();
}

// Loads damaged bytes: either a clean 321 with the target unchanged, or a
// collection whose every page either reads and draws or is refused with a
// clean 321 when first read (pages are decoded on demand).
bool loadsCleanly(PageCollection &target, const QByteArray &bytes, int *rejected)
{
    const int before = target.Count();
    const Status status = load(target, bytes);
    if (!status.ok()) {
        ++*rejected;
        if (status.number() != ErrBadFileFormat || !status.description().startsWith(QLatin1String("Invalid archive"))
            || target.Count() != before) {
            qWarning("%d %s", status.number(), qPrintable(status.description()));
            return false;
        }
        return true;
    }
    // Whatever reads can be drawn.
    QImage canvas(200, 260, QImage::Format_RGB32);
    QPainter painter(&canvas);
    bool refused = false;
    for (int i = 0; i < target.Count(); ++i) {
        Status pageStatus;
        const auto page = target.page(i, &pageStatus);
        if (!page) {
            if (pageStatus.number() != ErrBadFileFormat
                || !pageStatus.description().contains(QStringLiteral("page %1: ").arg(i + 1))) {
                qWarning("%d %s", pageStatus.number(), qPrintable(pageStatus.description()));
                return false;
            }
            refused = true;
            continue;
        }
        PagePainter(&target).paint(painter, *page, 0.2);
    }
    *rejected += refused ? 1 : 0;
    return true;
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsPagesImagesAndBookmarks()
    {
        PageCollection pages;
        pages.setMemoryPageLimit(3);
        for (int i = 0; i < 12; ++i)
            pages.append(PageSamples::page(i, pages));
        pages.addImage(QImage()); // an empty picture is kept too
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.rdf"));
        QVERIFY(pages.Save(path).ok());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("run.rdf")});

        PageCollection loaded;
        loaded.setMemoryPageLimit(5);
        loaded.append(PageSamples::page(99, loaded)); // replaced by the load
        QSignalSpy cleared(&loaded, &PageCollection::cleared);
        QSignalSpy added(&loaded, &PageCollection::pageAdded);
        const Status status = loaded.Load(path);
        QVERIFY2(status.ok(), qPrintable(status.description()));
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(added.count(), 12);
        QCOMPARE(loaded.Count(), 12);
        QVERIFY(loaded.residentPageCount() <= 5);
        for (int i = 0; i < 12; ++i)
            QVERIFY2(*loaded.page(i) == *pages.page(i), qPrintable(QString::number(i)));
        QCOMPARE(loaded.imageCount(), 4);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(loaded.image(i).convertToFormat(QImage::Format_ARGB32),
                     pages.image(i).convertToFormat(QImage::Format_ARGB32));
        QVERIFY(loaded.image(3).isNull());
        // Adding a known picture after a load still finds it.
        QCOMPARE(loaded.addImage(loaded.image(1)), 1);

        // Saving what was loaded writes the same bytes.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(save(loaded), file.readAll());
    }

    void pagesReadOnDemandFromFilesAndDevices()
    {
        PageCollection pages;
        for (int i = 0; i < 12; ++i)
            pages.append(PageSamples::page(i, pages));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.rdf"));
        QVERIFY(pages.Save(path).ok());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();

        // The three ways in: a path, a file the caller opened (and then
        // closes and removes), and a device that is not a file.
        PageCollection fromPath;
        PageCollection fromFile;
        PageCollection fromBuffer;
        QVERIFY(fromPath.Load(path).ok());
        {
            const QString copy = dir.filePath(QStringLiteral("copy.rdf"));
            QVERIFY(QFile::copy(path, copy));
            QFile opened(copy);
            QVERIFY(opened.open(QIODevice::ReadOnly));
            QVERIFY(fromFile.loadFrom(&opened, copy).ok());
            opened.close();
            QVERIFY(QFile::remove(copy));
        }
        QVERIFY(load(fromBuffer, bytes).ok());
        for (PageCollection *loaded : {&fromPath, &fromFile, &fromBuffer}) {
            QCOMPARE(loaded->Count(), 12);
            QCOMPARE(loaded->residentPageCount(), 0);
            // Backwards, so the small cache of decoded pages does not help.
            for (int i = 11; i >= 0; --i) {
                Status status;
                const auto page = loaded->page(i, &status);
                QVERIFY2(page && status.ok(), qPrintable(status.description()));
                QVERIFY2(*page == *pages.page(i), qPrintable(QString::number(i)));
            }
            QCOMPARE(save(*loaded), bytes);
        }

        // Viewer threads read pages at the same time.
        std::atomic<int> mismatches{0};
        std::vector<std::thread> readers;
        for (int t = 0; t < 4; ++t) {
            readers.emplace_back([&, t] {
                for (int round = 0; round < 5; ++round) {
                    for (int i = 0; i < 12; ++i) {
                        const int index = (i * 5 + t * 3 + round) % 12;
                        const auto page = fromBuffer.page(index);
                        if (!page || !(*page == *pages.page(index)))
                            ++mismatches;
                    }
                }
            });
        }
        for (std::thread &reader : readers)
            reader.join();
        QCOMPARE(mismatches.load(), 0);

        // Pages appended after a load go to memory and the spill file (here
        // behind the archive's copy) and save as if the run had made them
        // all, including a font the archive did not have.
        fromBuffer.setMemoryPageLimit(2);
        PageCollection whole;
        for (int i = 0; i < 12; ++i)
            whole.append(*pages.page(i));
        for (int i = 12; i < 16; ++i) {
            Page extra = PageSamples::page(i, fromBuffer);
            TextOp note;
            note.rect = QRectF(0, 0, 1440, 240);
            note.text = QStringLiteral("new font");
            note.font = extra.fontIndex(PageFont{QStringLiteral("Courier New"), 9, false, false, false, false});
            extra.ops.push_back(note);
            whole.append(extra);
            fromBuffer.append(std::move(extra));
        }
        for (int i = 0; i < fromBuffer.imageCount(); ++i)
            whole.addImage(fromBuffer.image(i));
        QVERIFY(fromBuffer.residentPageCount() <= 2);
        for (int i = 0; i < 16; ++i)
            QVERIFY2(*fromBuffer.page(i) == *whole.page(i), qPrintable(QString::number(i)));
        QCOMPARE(save(fromBuffer), save(whole));

        // The file damaged in place after the load: the page is refused
        // when read, and so is a save, rather than writing bad pages.
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qsizetype at = bytes.size() - 200; // inside the last page chunk
        QVERIFY(file.seek(at));
        QVERIFY(file.putChar(char(bytes[at] ^ 0x10)));
        file.close();
        Status status;
        QVERIFY(!fromPath.page(11, &status)); // last read before pages 7 to 0
        QCOMPARE(status.number(), int(ErrBadFileFormat));
        QVERIFY2(status.description().contains(QLatin1String("run.rdf: page 12: checksum mismatch")),
                 qPrintable(status.description()));
        QVERIFY(fromPath.page(3)); // others still read
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        const Status saved = fromPath.saveTo(&sink);
        QCOMPARE(saved.number(), int(ErrBadFileFormat));
        QVERIFY2(saved.description().contains(QLatin1String("page 12: checksum mismatch")),
                 qPrintable(saved.description()));
    }

    void refusesFilesThatAreNotArchivesOrOfAnotherVersion()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        const QByteArray good = save(pages);
        PageCollection target;
        Status status = load(target, QByteArray("<?xml version=\"1.0\"?><Report/>"));
        QCOMPARE(status.number(), int(ErrBadFileFormat));
        QVERIFY2(status.description().contains(QLatin1String("test.rdf: header: not an archive")),
                 qPrintable(status.description()));

        QByteArray newer = header(1, 1, 2) + good.mid(28);
        status = load(target, newer);
        QCOMPARE(status.number(), int(ErrBadFileFormat));
        QVERIFY2(status.description().contains(QLatin1String("version 2.1 is not supported")),
                 qPrintable(status.description()));
        QByteArray badHeader = good;
        badHeader[16] = char(badHeader[16] + 1); // page count without fixing the checksum
        QVERIFY(load(target, badHeader).description().contains(QLatin1String("header: checksum mismatch")));
        QCOMPARE(load(target, good + "x").number(), int(ErrBadFileFormat)); // data after the end

        QTemporaryDir dir;
        QCOMPARE(target.Load(dir.filePath(QStringLiteral("missing.rdf"))).number(), int(ErrFileNotFound));
        QCOMPARE(pages.Save(dir.filePath(QStringLiteral("no/such/folder/x.rdf"))).number(), int(ErrPathAccess));
        QCOMPARE(target.Count(), 0);
    }

    void everyTruncationIsRefusedAndLocated()
    {
        PageCollection pages;
        for (int i = 0; i < 3; ++i)
            pages.append(PageSamples::page(i, pages));
        const QByteArray good = save(pages);
        PageCollection target;
        QStringList places;
        for (qsizetype cut = 0; cut < good.size(); cut += (cut < 64 || good.size() - cut < 64) ? 1 : 7) {
            const Status status = load(target, good.left(cut));
            QVERIFY2(!status.ok(), qPrintable(QString::number(cut)));
            QCOMPARE(status.number(), int(ErrBadFileFormat));
            places << status.description();
        }
        QVERIFY(places.filter(QStringLiteral("page 3: truncated")).size() > 0);
        QVERIFY(places.filter(QStringLiteral("image 1: truncated")).size() > 0);
        QVERIFY(places.filter(QStringLiteral("end: truncated")).size() > 0);
        QCOMPARE(target.Count(), 0);
    }

    void hostileCountsSizesAndBombsAreRefused()
    {
        PageCollection target;
        const auto refused = [&](const QByteArray &bytes, const char *expected) {
            const Status status = load(target, bytes);
            if (status.number() != ErrBadFileFormat || !status.description().contains(QLatin1String(expected))) {
                qWarning("%s", qPrintable(status.description()));
                return false;
            }
            return true;
        };
        // Counts larger than the file can hold are refused before any allocation.
        QVERIFY(refused(header(0xffffffff, 0), "cannot fit"));
        QVERIFY(refused(header(0, 0x7fffffff) + end(0, 0, 0), "cannot fit"));

        // Page contents are decoded when a page is first read: the archive
        // loads, the page is refused with the same located message.
        const auto refusedOnRead = [&](const QByteArray &bytes, const char *expected) {
            PageCollection pages;
            const Status loaded = load(pages, bytes);
            Status status;
            const bool gone = loaded.ok() && pages.Count() == 1 && !pages.page(0, &status);
            if (!gone || status.number() != ErrBadFileFormat || !status.description().contains(QLatin1String(expected))) {
                qWarning("%s / %s", qPrintable(loaded.description()), qPrintable(status.description()));
                return false;
            }
            return true;
        };

        QByteArray page;
        PageIO::Writer w(page);
        w.f64(12240);
        w.f64(15840);
        w.u32(0);          // fonts
        w.u32(0x10000000); // operations
        QVERIFY(refusedOnRead(onePage(page), "page 1: operation count 268435456 exceeds the data"));

        // A string claiming more bytes than remain.
        QByteArray text;
        PageIO::Writer t(text);
        t.f64(12240);
        t.f64(15840);
        t.u32(1);
        t.u32(0); // font 0 of the table
        t.u32(1);
        t.u8(1); // text operation
        t.rect(QRectF(0, 0, 100, 100));
        t.u32(0x7ffffff0);
        QVERIFY(refusedOnRead(onePage(text + QByteArray(64, '\0'), 1), "page 1: operation 1: truncated"));

        // Coordinates beyond any page, font references outside the table.
        QByteArray far;
        PageIO::Writer f(far);
        f.f64(1e300);
        QVERIFY(refusedOnRead(onePage(far + QByteArray(64, '\0')), "page 1: coordinate out of range"));
        QByteArray badFont;
        PageIO::Writer b(badFont);
        b.f64(100);
        b.f64(100);
        b.u32(1);
        b.u32(5);
        QVERIFY(refusedOnRead(onePage(badFont + QByteArray(16, '\0'), 1), "page 1: font 5 out of range"));
        // A page may only use fonts listed before it.
        QByteArray usesSecond;
        PageIO::Writer u(usesSecond);
        u.f64(100);
        u.f64(100);
        u.u32(1);
        u.u32(1); // font 1 of the table
        u.u32(0);
        u.u32(0);
        QByteArray oneFont;
        PageIO::Writer of(oneFont);
        of.u32(1);
        PageIO::writeFont(of, PageFont{});
        {
            PageCollection pages;
            QVERIFY(load(pages, header(2, 0) + chunk('F', oneFont) + chunk('P', usesSecond) + chunk('F', oneFont)
                                    + chunk('P', usesSecond) + end(2, 0, 2))
                        .ok());
            Status status;
            QVERIFY(!pages.page(0, &status));
            QVERIFY2(status.description().endsWith(QLatin1String("page 1: font 1 out of range")),
                     qPrintable(status.description()));
            QVERIFY(pages.page(1, &status));
        }

        // A small chunk that claims to inflate hugely, or beyond the cap.
        const QByteArray zeros(1 << 20, '\0');
        QVERIFY(refused(header(1, 0) + chunk('P', zeros, true, 60 << 20) + end(1, 0, 0), "bad chunk size"));
        QVERIFY(refused(header(1, 0) + chunk('P', zeros, true, 1u << 31) + end(1, 0, 0), "too large"));
        // Right sizes, wrong contents.
        QVERIFY(refusedOnRead(header(1, 0) + chunk('P', zeros) + end(1, 0, 0), "page 1:"));
        QVERIFY(refused(header(0, 1) + chunk('I', QByteArray("\x89PNG\r\n\x1a\n garbage"), false) + end(0, 1, 0),
                        "image 1: not a readable image"));
        QCOMPARE(target.Count(), 0);
    }

    void damagedArchivesFailCleanlyOrLoadWhole()
    {
        PageCollection pages;
        for (int i = 0; i < 3; ++i)
            pages.append(PageSamples::page(i, pages));
        const QByteArray good = save(pages);
        PageCollection target;
        target.append(PageSamples::page(7, target));
        std::mt19937 rng(20240611);
        int rejected = 0;

        // Raw damage: the checksums catch it.
        for (int round = 0; round < 1500; ++round) {
            QByteArray bad = good;
            const qsizetype at = qsizetype(rng() % quint32(bad.size()));
            switch (rng() % 4) {
            case 0: bad[at] = char(bad[at] ^ char(1 << (rng() % 8))); break;
            case 1: bad.remove(at, 1 + rng() % 16); break;
            case 2: bad.insert(at, bad.mid(at, 1 + rng() % 32)); break;
            default: bad.replace(at, 4, QByteArray("\xff\xff\xff\x7f", 4)); break;
            }
            QVERIFY(loadsCleanly(target, bad, &rejected));
        }
        QCOMPARE(rejected, 1500);

        // Damage inside correctly checksummed page data reaches the page decoder.
        PageIO::FontTable table;
        QByteArray pageData;
        PageIO::Writer w(pageData);
        PageIO::writePage(w, *pages.page(0), &table);
        QByteArray fontData;
        PageIO::Writer fw(fontData);
        fw.u32(quint32(table.fonts.size()));
        for (const PageFont &font : table.fonts)
            PageIO::writeFont(fw, font);
        // The three image chunks follow the header as they are.
        qsizetype imagesEnd = 28;
        for (int i = 0; i < 3; ++i)
            imagesEnd += 16 + qFromLittleEndian<quint32>(good.constData() + imagesEnd + 4);
        const QByteArray images = good.mid(28, imagesEnd - 28);
        const quint32 fonts = quint32(table.fonts.size());
        const QByteArray intact = header(1, 3) + images + chunk('F', fontData) + chunk('P', pageData) + end(1, 3, fonts);
        QVERIFY(load(target, intact).ok());
        QVERIFY(*target.page(0) == *pages.page(0));
        rejected = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray bad = pageData;
            for (int e = 0; e < 1 + int(rng() % 3); ++e) {
                const qsizetype at = qsizetype(rng() % quint32(bad.size()));
                switch (rng() % 4) {
                case 0: bad[at] = char(bad[at] ^ char(1 << (rng() % 8))); break;
                case 1: bad.remove(at, 1 + rng() % 8); break;
                case 2: bad.insert(at, bad.mid(at, 1 + rng() % 16)); break;
                default: bad.replace(at, 4, QByteArray("\xff\xff\xff\x7f", 4)); break;
                }
            }
            QVERIFY(loadsCleanly(target, header(1, 3) + images + chunk('F', fontData) + chunk('P', bad)
                                             + end(1, 3, fonts),
                                 &rejected));
        }
        // Most damage is detected; the rest (a changed letter, colour or
        // position) loads as valid pages.
        QVERIFY(rejected > 1000 && rejected < 3000);
    }
};

QTEST_MAIN(TestArchive)
#include "tst_archive.moc"
