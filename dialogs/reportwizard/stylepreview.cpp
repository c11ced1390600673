// The style page's picture: a small page drawn in the style's fonts and
// rules, so the six styles can be told apart before Finish.
#include "dialogs/reportwizard/reportwizard.h"

#include "wizard/styles.h"

#include <QPainter>
#include <QPixmap>

namespace Orv {

namespace {

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QFont fontOf(const Wizard::StyleFont &f, double scale)
{
    QFont font(f.name);
    font.setPointSizeF(f.size * scale);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    return font;
}

} // namespace

QPixmap stylePreview(int style, const QSize &size)
{
    QPixmap pixmap(size.isEmpty() ? QSize(380, 300) : size);
    pixmap.fill(Qt::white);
    const auto styles = Wizard::buildStyleTable();
    if (style < 0 || style >= Wizard::StyleCount)
        return pixmap;
    const Wizard::StyleType &s = styles[size_t(style)];
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int w = pixmap.width();
    const int margin = 14;
    const double scale = 0.75;
    int y = margin;

    const int titleHeight = 40;
    if (s.titleBackColor != -1)
        p.fillRect(QRect(margin, y, w - 2 * margin, titleHeight), fromBgr(s.titleBackColor));
    // A rule style of 0 draws nothing, as on the page.
    if (s.ruleStyle != 0) {
        QPen pen(fromBgr(s.ruleColor));
        pen.setStyle(s.ruleStyle == 5 ? Qt::DashDotDotLine : Qt::SolidLine);
        p.setPen(pen);
        for (int i = 0; i <= s.lastRuleIndex; ++i)
            p.drawLine(margin, y + i * 2, w - margin, y + i * 2);
    }
    const int below = s.ruleStyle != 0 ? (s.lastRuleIndex + 1) * 2 + 2 : 0;
    p.setPen(Qt::black);
    p.setFont(fontOf(s.titleFont, scale));
    p.drawText(QRect(margin, y + below + 2, w - 2 * margin, titleHeight), Qt::AlignHCenter | Qt::AlignTop,
               QObject::tr("Report Title"));
    y += titleHeight + below + 14;

    const int columns[] = {margin, margin + 110, margin + 250};
    p.setFont(fontOf(s.captionFont, scale * 1.1));
    const QStringList captions = {QObject::tr("Name"), QObject::tr("城市"), QObject::tr("Amount")};
    for (int c = 0; c < 3; ++c)
        p.drawText(QPoint(columns[c], y), captions[c]);
    y += 10;
    p.setPen(QColor(160, 160, 160));
    p.drawLine(margin, y, w - margin, y);
    y += 16;
    p.setPen(Qt::black);
    p.setFont(fontOf(s.detailFont, scale * 1.2));
    const char *rows[][3] = {{"Alfreds", "Berlin", "1,250.00"},  {"Bottom-Dollar", "Tsawassen", "980.50"},
                             {"Chop-suey", "Bern", "2,410.00"},   {"Ernst Handel", "Graz", "615.25"},
                             {"Folk och fä", "Bräcke", "1,034.00"}, {"Hanari", "Rio de Janeiro", "77.80"}};
    for (const auto &row : rows) {
        if (y > pixmap.height() - margin)
            break;
        for (int c = 0; c < 3; ++c)
            p.drawText(QPoint(columns[c], y), QString::fromUtf8(row[c]));
        y += 20;
    }
    return pixmap;
}

} // namespace Orv
