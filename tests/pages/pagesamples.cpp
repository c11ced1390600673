#include "pagesamples.h"

#include <QPainter>

using namespace Orv;

namespace PageSamples {

QImage image(int seed, QSize size)
{
    QImage img(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgba((x * 10 + seed * 37) & 255, (y * 15 + seed) & 255, (seed * 91) & 255, 255));
    }
    return img;
}

Page page(int n, PageCollection &collection)
{
    Page p;
    p.size = QSizeF(12240, 15840);
    const int body = p.fontIndex(PageFont{});
    const int title = p.fontIndex(PageFont{QStringLiteral("Times New Roman"), 16, true, false, false, false});
    const int cjk = p.fontIndex(PageFont{QStringLiteral("宋体"), 12, false, true, true, true});

    TextOp heading;
    heading.rect = QRectF(1440, 720, 9360, 480);
    heading.text = QStringLiteral("Sales by region, page %1").arg(n + 1);
    heading.font = title;
    heading.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    heading.backColor = 0xffe0e0ff;
    p.ops.push_back(heading);

    TextOp wrapped;
    wrapped.rect = QRectF(1440, 1440, 2880, 1200);
    wrapped.text = QStringLiteral("A longer note that wraps over several lines of the box\nand a second paragraph.");
    wrapped.font = body;
    wrapped.foreColor = 0xff202080;
    p.ops.push_back(wrapped);

    TextOp chinese;
    chinese.rect = QRectF(4600, 1440, 2880, 400);
    chinese.text = QStringLiteral("地区 %1 销售").arg(n + 1);
    chinese.font = cjk;
    chinese.alignment = Qt::AlignRight | Qt::AlignBottom;
    chinese.wrap = false;
    p.ops.push_back(chinese);

    TextOp rotated;
    rotated.rect = QRectF(8000, 1440, 400, 2000);
    rotated.text = QStringLiteral("Rotated");
    rotated.angle = 900;
    p.ops.push_back(rotated);

    TextOp rich;
    rich.rect = QRectF(1440, 3000, 4320, 600);
    rich.text = QStringLiteral("<b>Bold</b> and <i>italic</i> rich text");
    rich.richText = true;
    p.ops.push_back(rich);

    p.ops.push_back(LineOp{QPointF(1440, 2800), QPointF(10800, 2800), PagePen{0xff000000, 30, Qt::DashLine}});
    p.ops.push_back(LineOp{QPointF(1440, 2900), QPointF(10800, 2900), PagePen{0xffff0000, 0, Qt::SolidLine}});
    p.ops.push_back(ShapeOp{QRectF(6000, 3000, 1440, 720), ShapeOp::Rectangle, PagePen{}, 0xff80ff80, 0});
    p.ops.push_back(ShapeOp{QRectF(7600, 3000, 1440, 720), ShapeOp::RoundRect, PagePen{0xff0000ff, 15, Qt::DotLine},
                            0, 120});
    p.ops.push_back(ShapeOp{QRectF(9200, 3000, 1440, 720), ShapeOp::Ellipse, PagePen{0xff000000, 15, Qt::NoPen},
                            0xffff8000, 0});

    ImageOp picture;
    picture.rect = QRectF(1440, 4000, 1440, 960);
    picture.image = collection.addImage(image(n % 3));
    picture.sizeMode = n % 3;
    picture.alignment = Qt::AlignCenter;
    p.ops.push_back(picture);

    p.ops.push_back(CheckBoxOp{QRectF(3200, 4000, 200, 200), true, PagePen{}});
    p.ops.push_back(CheckBoxOp{QRectF(3600, 4000, 200, 200), false, PagePen{0xff404040, 15, Qt::SolidLine}});

    BarcodeOp code;
    code.rect = QRectF(4200, 4000, 2880, 900);
    code.data = QStringLiteral("ORV-%1").arg(n + 1000);
    code.font = body;
    p.ops.push_back(code);

    p.bookmarks.push_back(Page::Bookmark{0, QStringLiteral("Region %1").arg(n + 1), 720});
    p.bookmarks.push_back(Page::Bookmark{1, QStringLiteral("城市 %1").arg(n + 1), 1440});
    return p;
}

} // namespace PageSamples
