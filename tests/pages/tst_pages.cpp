// The page collection (spill file, read-back, images) and text measurement.

#include "pagesamples.h"

#include "engine/pages/fontresolver.h"
#include "engine/pages/pageio.h"
#include "engine/pages/textmeasure.h"

#include <QFontInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;

class TestPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontIndexAddsOnlyNewFonts()
    {
        Page page;
        const PageFont bold{QStringLiteral("Arial"), 10, true};
        QCOMPARE(page.fontIndex(PageFont{}), 0);
        QCOMPARE(page.fontIndex(bold), 1);
        QCOMPARE(page.fontIndex(PageFont{}), 0);
        QCOMPARE(page.fontIndex(bold), 1);
        QCOMPARE(page.fonts.size(), size_t(2));
    }

    void windowsFontNamesResolveToInstalledFaces()
    {
        FontResolver &fonts = FontResolver::instance();
        QCOMPARE(fonts.familyFor(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
        QCOMPARE(fonts.familyFor(QStringLiteral("times new roman")), QStringLiteral("Liberation Serif"));
        QCOMPARE(fonts.familyFor(QStringLiteral("Courier New")), QStringLiteral("Liberation Mono"));
        QCOMPARE(fonts.familyFor(QStringLiteral("宋体")), QStringLiteral("Noto Serif CJK SC"));
        QCOMPARE(fonts.familyFor(QStringLiteral("Liberation Serif")), QStringLiteral("Liberation Serif"));
        // Reference size: one pixel per twip, whatever the point size's fraction.
        QCOMPARE(fonts.resolve(PageFont{QStringLiteral("Arial"), 10.5})->font.pixelSize(), 210);
        QCOMPARE(fonts.resolve(PageFont{QStringLiteral("Arial"), -4})->font.pixelSize(), 20);
        QCOMPARE(QFontInfo(fonts.resolve(PageFont{})->font).family(), QStringLiteral("Liberation Sans"));
    }

    void spilledPagesReadBackAsAppended()
    {
        PageCollection expectedImages;
        std::vector<Page> expected;
        for (int i = 0; i < 40; ++i)
            expected.push_back(PageSamples::page(i, expectedImages));

        PageCollection pages;
        pages.setMemoryPageLimit(4);
        QSignalSpy added(&pages, &PageCollection::pageAdded);
        std::shared_ptr<const Page> first;
        for (int i = 0; i < 40; ++i) {
            pages.append(PageSamples::page(i, pages));
            if (i == 0)
                first = pages.page(0);
            QVERIFY(pages.residentPageCount() <= 4);
        }
        QCOMPARE(pages.Count(), 40);
        QCOMPARE(added.count(), 40);
        QCOMPARE(added.last().at(0).toInt(), 39);
        QCOMPARE(pages.imageCount(), 3);
        // A page held by a reader outlives its spilling.
        QVERIFY(*first == expected[0]);

        // Forwards, backwards and repeated reads, through the read-back cache.
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < 40; ++i) {
                const int index = pass ? 39 - i : i;
                Status status;
                const auto page = pages.page(index, &status);
                QVERIFY2(page, qPrintable(status.description()));
                QVERIFY2(*page == expected[size_t(index)], qPrintable(QString::number(index)));
            }
        }
        QVERIFY(*pages.page(17) == *pages.page(17));

        Status status;
        QVERIFY(!pages.page(40, &status));
        QCOMPARE(status.number(), int(ErrSubscript));
        QVERIFY(!pages.page(-1));

        // Lowering the limit spills at once; clearing empties everything.
        pages.setMemoryPageLimit(1);
        QCOMPARE(pages.residentPageCount(), 1);
        QVERIFY(*pages.page(38) == expected[38]);
        QSignalSpy cleared(&pages, &PageCollection::cleared);
        pages.clear();
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(pages.Count(), 0);
        QCOMPARE(pages.imageCount(), 0);
        QCOMPARE(pages.memoryPageLimit(), 1);
    }

    void imagesAreStoredOnceByContent()
    {
        PageCollection pages;
        const int a = pages.addImage(PageSamples::image(1));
        QCOMPARE(pages.addImage(PageSamples::image(2)), a + 1);
        QCOMPARE(pages.addImage(PageSamples::image(1)), a);
        QCOMPARE(pages.addImage(PageSamples::image(1, QSize(16, 24))), a + 2); // same bytes, other shape
        QCOMPARE(pages.image(a), PageSamples::image(1));
        QVERIFY(pages.image(99).isNull());

        // Scan-line padding is not content: 3 RGB pixels leave 3 padding bytes.
        uchar one[2 * 12];
        uchar two[2 * 12];
        std::memset(one, 0xaa, sizeof one);
        std::memset(two, 0x55, sizeof two);
        for (int i = 0; i < 9; ++i)
            one[i] = one[12 + i] = two[i] = two[12 + i] = uchar(i * 20);
        const QImage padA(one, 3, 2, 12, QImage::Format_RGB888);
        const QImage padB(two, 3, 2, 12, QImage::Format_RGB888);
        const int p = pages.addImage(padA.copy());
        QCOMPARE(pages.addImage(padB.copy()), p);
        QCOMPARE(pages.imageCount(), 4);
    }

    void damagedPageBytesAreRefused()
    {
        PageCollection images;
        const QByteArray good = PageIO::pageBytes(PageSamples::page(0, images));
        Page page;
        QString error;
        QVERIFY(PageIO::pageFromBytes(good, &page, images.imageCount(), &error));
        QVERIFY(!PageIO::pageFromBytes(good.left(good.size() - 3), &page, 1, &error));
        QVERIFY2(error.contains(QLatin1String("truncated")), qPrintable(error));
        // The page refers to image 0, which a collection without images lacks.
        QVERIFY(!PageIO::pageFromBytes(good, &page, 0, &error));
        QVERIFY2(error.contains(QLatin1String("image index 0")), qPrintable(error));
        QVERIFY(!PageIO::pageFromBytes(good + "x", &page, 1, &error));
    }

    void wrappedTextGrowsWithItsLength()
    {
        const PageFont font;
        const double one = measureText(font, 2880, true, QStringLiteral("Short")).height;
        QVERIFY(one > 150 && one < 300); // one line of 10 point text
        QString text;
        double previous = one;
        for (int words = 10; words <= 40; words += 10) {
            text = QStringLiteral("word ").repeated(words);
            const TextMeasurement m = measureText(font, 2880, true, text);
            QVERIFY(m.height > previous);
            QVERIFY(m.width <= 2880);
            QCOMPARE(m.height, one * m.lineCount()); // lines of one font stack evenly
            previous = m.height;
        }
        // A larger font needs more height for the same text.
        QVERIFY(measureText(PageFont{QStringLiteral("Arial"), 20}, 2880, true, text).height > previous);
    }

    void breaksCjkLongWordsAndExplicitLines()
    {
        const PageFont font{QStringLiteral("宋体"), 12};
        const QString chinese = QStringLiteral("地区销售额按季度汇总统计报表").repeated(3);
        const TextMeasurement cjk = measureText(font, 1440, true, chinese);
        QVERIFY(cjk.lineCount() > 3);
        QVERIFY(cjk.width <= 1440);

        const QString word = QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitän");
        const TextMeasurement broken = measureText(PageFont{}, 1000, true, QStringLiteral("A ") + word);
        QVERIFY(broken.lineCount() >= 3);
        QVERIFY(broken.width <= 1000);
        QCOMPARE(broken.lineStarts.at(1), 2); // the word starts its own line before breaking inside

        const TextMeasurement oneLine = measureText(PageFont{}, 1000, false, QStringLiteral("A ") + word);
        QCOMPARE(oneLine.lineCount(), 1);
        QVERIFY(oneLine.width > 1000);

        const TextMeasurement lines = measureText(PageFont{}, 5000, false, QStringLiteral("ab\r\ncd\nef\rgh"));
        QCOMPARE(lines.lineStarts, (QList<int>{0, 4, 7, 10}));

        const TextMeasurement empty = measureText(PageFont{}, 1000, true, QString());
        QCOMPARE(empty.height, 0.0);
        QCOMPARE(empty.lineCount(), 0);
        QCOMPARE(textHeight(PageFont{}, 1000, true, QString(), true), 0.0);
    }

    void richTextHeightFollowsItsContent()
    {
        const PageFont font;
        const double one = textHeight(font, 4320, true, QStringLiteral("<b>Bold</b> text"), true);
        const double three = textHeight(font, 4320, true, QStringLiteral("<p>one</p><p>two</p><p>three</p>"), true);
        QVERIFY(one > 150 && one < 400);
        QVERIFY(three > 2.5 * one);
        const double big = textHeight(font, 4320, true, QStringLiteral("<span style=\"font-size:30pt\">Big</span>"),
                                      true);
        QVERIFY(big > 2 * one);

        // Pictures named in the HTML are not read: pages come from files.
        QTemporaryDir dir;
        const QString tall = dir.filePath(QStringLiteral("tall.png"));
        QVERIFY(PageSamples::image(1, QSize(40, 400)).save(tall));
        const double withImage = textHeight(font, 4320, true, QStringLiteral("<img src=\"%1\">").arg(tall), true);
        QVERIFY(withImage < 100 * 15);
    }
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
