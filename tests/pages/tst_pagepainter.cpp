// The page painter on an image: ink where each kind of operation draws.

#include "pagesamples.h"

#include "engine/pages/barcode.h"
#include "engine/pages/pagepainter.h"
#include "engine/pages/textmeasure.h"

#include <QPainter>
#include <QTest>

using namespace Orv;

namespace {

// 96 dpi: 15 twips per pixel at scale 1.
QImage render(const Page &page, const PageCollection *images, double scale = 1.0)
{
    QImage image(int(page.size.width() / 15 * scale), int(page.size.height() / 15 * scale), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter(images).paint(painter, page, scale);
    return image;
}

QPoint px(double x, double y, double scale = 1.0)
{
    return QPoint(qRound(x / 15 * scale), qRound(y / 15 * scale));
}

bool near(QRgb a, QRgb b, int tolerance = 40)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Bounding box of the non-white pixels within a pixel rectangle.
QRect ink(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = qMax(area.top(), 0); y <= qMin(area.bottom(), image.height() - 1); ++y) {
        for (int x = qMax(area.left(), 0); x <= qMin(area.right(), image.width() - 1); ++x) {
            if (!near(image.pixel(x, y), qRgb(255, 255, 255), 60))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QRect pxRect(const QRectF &twips, double scale = 1.0)
{
    return QRect(px(twips.left(), twips.top(), scale), px(twips.right(), twips.bottom(), scale));
}

} // namespace

class TestPagePainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsLinesShapesImagesAndCheckBoxes()
    {
        PageCollection pages;
        PageSamples::page(0, pages);
        const Page page = PageSamples::page(1, pages); // its image is stretched
        const QImage image = render(page, &pages);

        QVERIFY(near(image.pixel(px(5000, 2900)), qRgb(255, 0, 0), 90)); // red hairline
        QVERIFY(!ink(image, pxRect(QRectF(1500, 2770, 8000, 60))).isNull()); // dashed line
        QVERIFY(near(image.pixel(px(6720, 3360)), qRgb(0x80, 0xff, 0x80))); // filled rectangle
        QVERIFY(near(image.pixel(px(6000, 3360)), qRgb(0, 0, 0), 100)); // its black border
        QVERIFY(near(image.pixel(px(9920, 3360)), qRgb(0xff, 0x80, 0x00))); // filled ellipse
        QVERIFY(near(image.pixel(px(9230, 3030)), qRgb(255, 255, 255), 5)); // outside its curve
        QVERIFY(near(image.pixel(px(8320, 3360)), qRgb(255, 255, 255), 5)); // round rect: no fill

        // The stretched image fills its box with the image's own pixels.
        const QImage source = pages.image(1);
        QVERIFY(near(image.pixel(px(1440 + 720, 4000 + 480)), source.pixel(12, 8), 30));
        QCOMPARE(ink(image, pxRect(QRectF(1440, 4000, 1440, 960))), pxRect(QRectF(1440, 4000, 1440, 960))
                 .adjusted(0, 0, -1, -1));

        // Checked box: tick inside; unchecked: empty inside.
        QVERIFY(!ink(image, pxRect(QRectF(3250, 4050, 100, 100))).isNull());
        QVERIFY(ink(image, pxRect(QRectF(3640, 4040, 120, 120))).isNull());
    }

    void imageSizeModesPlaceTheImage()
    {
        PageCollection pages;
        Page page;
        page.size = QSizeF(7200, 3000);
        const int index = pages.addImage(PageSamples::image(3, QSize(20, 10))); // 300 x 150 twips
        const QRectF box(300, 300, 1500, 1500);
        page.ops.push_back(ImageOp{box, index, 0, Qt::AlignRight | Qt::AlignBottom}); // clip
        page.ops.push_back(ImageOp{box.translated(2000, 0), index, 2, Qt::AlignCenter}); // zoom
        const QImage image = render(page, &pages);
        QCOMPARE(ink(image, pxRect(box)), QRect(px(1500, 1650), px(1800, 1800)).adjusted(0, 0, -1, -1));
        QCOMPARE(ink(image, pxRect(box.translated(2000, 0))), QRect(px(2300, 675), px(3800, 1425)).adjusted(0, 0, -1, -1));
    }

    void barcodesDrawBarsOrTheirError()
    {
        const auto code = encodeBarcode(20, QStringLiteral("ORV-1000"), true, 0);
        QVERIFY(code->error.isEmpty());
        QVERIFY(code->bars.size() > 10);
        QCOMPARE(code->texts.size(), size_t(1));
        QCOMPARE(code->texts[0].text, QStringLiteral("ORV-1000"));
        QVERIFY(!encodeBarcode(13, QStringLiteral("not digits"), true, 0)->error.isEmpty()); // EAN-13
        QVERIFY(!encodeBarcode(9999, QStringLiteral("1"), true, 0)->error.isEmpty());
        QVERIFY(encodeBarcode(58, QStringLiteral("QR"), false, 0)->fixedRatio);

        Page page;
        page.size = QSizeF(7200, 3000);
        page.fonts.push_back(PageFont{});
        BarcodeOp bars;
        bars.rect = QRectF(300, 300, 3000, 900);
        bars.data = QStringLiteral("ORV-1000");
        bars.showText = false;
        page.ops.push_back(bars);
        BarcodeOp bad = bars;
        bad.rect.translate(0, 1500);
        bad.symbology = 13;
        page.ops.push_back(bad);
        const QImage image = render(page, nullptr, 2);

        // Many dark/light changes along a row through the bars...
        const auto changes = [&](double yTwips) {
            int n = 0;
            bool dark = false;
            for (int x = px(300, 0, 2).x(); x < px(3300, 0, 2).x(); ++x) {
                const bool d = qGray(image.pixel(x, px(0, yTwips, 2).y())) < 128;
                n += d != dark;
                dark = d;
            }
            return n;
        };
        QVERIFY(changes(750) > 40);
        // ...the bars fill the box's height; the bad code shows its error text instead.
        QVERIFY(!ink(image, pxRect(QRectF(300, 300, 3000, 60), 2)).isNull());
        const QRect message = ink(image, pxRect(bad.rect, 2));
        QVERIFY(!message.isNull());
        QVERIFY(changes(2250) < 40);
    }

    void textStaysWithinItsMeasuredHeight()
    {
        // Measured height and painted lines agree: the last line's ink ends
        // inside the measured height and below the one-line-shorter height.
        const PageFont font{QStringLiteral("Times New Roman"), 12};
        const QString text = QStringLiteral("Quarterly figures for every region, wrapped in a narrow box. ").repeated(4);
        const TextMeasurement m = measureText(font, 2400, true, text);
        QVERIFY(m.lineCount() > 4);
        Page page;
        page.size = QSizeF(4000, 6000);
        page.fonts.push_back(font);
        TextOp op;
        op.rect = QRectF(300, 300, 2400, m.height);
        op.text = text;
        page.ops.push_back(op);
        const double scale = 4;
        const QImage image = render(page, nullptr, scale);
        const QRect box = ink(image, QRect(0, 0, image.width(), image.height()));
        const double line = m.height / m.lineCount();
        QVERIFY(box.bottom() <= px(0, 300 + m.height, scale).y());
        QVERIFY(box.bottom() > px(0, 300 + m.height - line, scale).y());
        QVERIFY(box.right() <= px(300 + 2400, 0, scale).x());

        // Right and bottom alignment move a short text to the box's corner.
        page.ops.clear();
        op.rect = QRectF(300, 300, 3000, 3000);
        op.text = QStringLiteral("Total");
        op.alignment = Qt::AlignRight | Qt::AlignBottom;
        page.ops.push_back(op);
        const QRect corner = ink(render(page, nullptr, scale), QRect(0, 0, 1000, 1000));
        QVERIFY(corner.right() > px(3200, 0, scale).x());
        QVERIFY(corner.bottom() > px(0, 3150, scale).y());
        QVERIFY(corner.left() > px(2000, 0, scale).x());
    }

    void rotatedAndClippedText()
    {
        Page page;
        page.size = QSizeF(6000, 6000);
        page.fonts.push_back(PageFont{QStringLiteral("Arial"), 14});
        TextOp up;
        up.rect = QRectF(600, 600, 500, 3000);
        up.text = QStringLiteral("Upwards text");
        up.wrap = false;
        up.angle = 900;
        up.alignment = Qt::AlignCenter;
        page.ops.push_back(up);
        TextOp clipped;
        clipped.rect = QRectF(2000, 600, 1000, 300);
        clipped.text = QStringLiteral("Much too long for the box, on one line");
        clipped.wrap = false;
        clipped.backColor = 0xffffff00;
        page.ops.push_back(clipped);
        const QImage image = render(page, nullptr, 2);

        const QRect turned = ink(image, pxRect(QRectF(0, 0, 1800, 6000), 2));
        QVERIFY(turned.height() > 2 * turned.width());
        const QRect cut = ink(image, pxRect(QRectF(1900, 0, 4000, 1500), 2));
        QCOMPARE(cut, pxRect(clipped.rect, 2).adjusted(0, 0, -1, -1)); // yellow box, text cut at its edge
    }
};

QTEST_MAIN(TestPagePainter)
#include "tst_pagepainter.moc"
