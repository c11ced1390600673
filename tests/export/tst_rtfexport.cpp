// RTF export read back with a small RTF reader: balanced groups, font and
// colour tables, page sizes and sections, framed texts at their places,
// shapes, pictures and Unicode text.

#include "exportcheck.h"

#include "engine/export/rtfexporter.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;

namespace {

// What a reader sees in the file: control words with their values, in
// order, and for each frame the text it holds (a negative height is exact).
struct Rtf
{
    bool balanced = false;
    QList<QPair<QString, int>> words;
    QStringList fonts;
    QStringList frames; // "x,y,w,h:text"
    QString text;       // all body text
    QList<QByteArray> pictures;

    int count(const QString &word) const
    {
        int n = 0;
        for (const auto &w : words)
            n += w.first == word;
        return n;
    }
    QList<int> values(const QString &word) const
    {
        QList<int> out;
        for (const auto &w : words)
            if (w.first == word)
                out << w.second;
        return out;
    }
};

Rtf readRtf(const QByteArray &data)
{
    Rtf rtf;
    struct State
    {
        QString destination;
    };
    QList<State> stack{State{}};
    QString frameText;
    int posx = -1, posy = -1, absw = 0, absh = 0;
    QByteArray pict;
    const auto addText = [&](const QString &t) {
        const QString &d = stack.last().destination;
        if (d == QLatin1String("fonttbl"))
            rtf.fonts.last() += t;
        else if (d == QLatin1String("pict"))
            pict += t.toLatin1();
        else if (d.isEmpty()) {
            rtf.text += t;
            frameText += t;
        }
    };
    int depth = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '{') {
            stack.append(stack.last());
            ++depth;
        } else if (c == '}') {
            if (stack.last().destination == QLatin1String("pict") && stack[stack.size() - 2].destination != QLatin1String("pict")) {
                rtf.pictures << QByteArray::fromHex(pict);
                pict.clear();
            }
            stack.removeLast();
            if (--depth < 0)
                return rtf;
        } else if (c == '\\') {
            const char n = i + 1 < data.size() ? data[i + 1] : 0;
            if (n == '\\' || n == '{' || n == '}') {
                addText(QString(QLatin1Char(n)));
                ++i;
                continue;
            }
            if (n == '*') {
                stack.last().destination = QStringLiteral("*");
                ++i;
                continue;
            }
            qsizetype j = i + 1;
            while (j < data.size() && std::isalpha(uchar(data[j])))
                ++j;
            const QString word = QString::fromLatin1(data.mid(i + 1, j - i - 1));
            qsizetype k = j;
            if (k < data.size() && (data[k] == '-' || std::isdigit(uchar(data[k]))))
                ++k;
            while (k < data.size() && std::isdigit(uchar(data[k])))
                ++k;
            const int value = data.mid(j, k - j).toInt();
            if (k < data.size() && data[k] == ' ')
                ++k;
            i = k - 1;
            rtf.words << qMakePair(word, value);
            if (word == QLatin1String("fonttbl") || word == QLatin1String("colortbl") || word == QLatin1String("pict")
                || word == QLatin1String("shpinst"))
                stack.last().destination = word;
            if (word == QLatin1String("f") && stack.last().destination == QLatin1String("fonttbl"))
                rtf.fonts << QString();
            if (word == QLatin1String("u")) {
                addText(QString(QChar(ushort(value))));
                ++i; // the replacement character
            }
            if (word == QLatin1String("line"))
                addText(QStringLiteral("\n"));
            if (word == QLatin1String("posx"))
                posx = value, frameText.clear();
            if (word == QLatin1String("posy"))
                posy = value;
            if (word == QLatin1String("absw"))
                absw = value;
            if (word == QLatin1String("absh"))
                absh = value;
            if (word == QLatin1String("par") && posx >= 0) {
                rtf.frames << QStringLiteral("%1,%2,%3,%4:%5").arg(posx).arg(posy).arg(absw).arg(absh).arg(frameText);
                posx = -1;
            }
        } else if (c != '\n' && c != '\r') {
            addText(QString(QLatin1Char(c)));
        }
    }
    rtf.balanced = depth == 0;
    return rtf;
}

} // namespace

class TestRtfExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesPlacedTextsShapesAndPictures()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        Page landscape = PageSamples::page(1, pages);
        landscape.size = QSizeF(15840, 12240);
        pages.append(landscape);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sales.rtf"));
        const Status status = exportPages(pages, path);
        QVERIFY2(status.ok(), qPrintable(status.description()));
        const QByteArray data = ExportCheck::contents(path);
        QVERIFY(data.startsWith("{\\rtf1"));
        const Rtf rtf = readRtf(data);
        QVERIFY(rtf.balanced);

        QCOMPARE(rtf.values(QStringLiteral("paperw")), QList<int>{12240});
        QCOMPARE(rtf.values(QStringLiteral("pgwsxn")), (QList<int>{12240, 15840}));
        QCOMPARE(rtf.values(QStringLiteral("pghsxn")), (QList<int>{15840, 12240}));
        QCOMPARE(rtf.count(QStringLiteral("sect")), 1);
        // Margins: the first page's content starts at 1440, 720 twips.
        QCOMPARE(rtf.values(QStringLiteral("margl")), QList<int>{1440});
        QCOMPARE(rtf.values(QStringLiteral("margt")), QList<int>{720});

        QVERIFY(rtf.fonts.contains(QStringLiteral("Times New Roman;")));
        QVERIFY(rtf.fonts.contains(QStringLiteral("宋体;")));
        QVERIFY2(rtf.frames.contains(QStringLiteral("1440,720,9360,-480:Sales by region, page 1")), qPrintable(rtf.frames.join('\n')));
        QVERIFY(rtf.frames.contains(QStringLiteral("4600,1440,2880,-400:地区 1 销售")));
        QVERIFY(rtf.frames.contains(QStringLiteral("1440,1440,2880,-1200:A longer note that wraps over several lines of the box\nand a second paragraph.")));
        QVERIFY(rtf.text.contains(QLatin1String("Bold and italic rich text")));
        QVERIFY(rtf.text.contains(QLatin1String("page 2")));
        QVERIFY(rtf.count(QStringLiteral("b")) >= 2); // the bold title and the rich text's bold word
        QVERIFY(rtf.values(QStringLiteral("fs")).contains(32)); // 16 point title

        // Shapes: two lines, rectangle, rounded rectangle and ellipse per page.
        QCOMPARE(rtf.count(QStringLiteral("shpinst")), 10);
        QVERIFY(data.contains("{\\sn shapeType}{\\sv 3}"));
        QVERIFY(data.contains("{\\sn lineColor}{\\sv 255}")); // red line, as 0x00BBGGRR
        // Pictures: the image at its pixel size and the barcode.
        QCOMPARE(rtf.pictures.size(), 4);
        QCOMPARE(QImage::fromData(rtf.pictures[0]).size(), QSize(24, 16));
        QVERIFY(!QImage::fromData(rtf.pictures[1]).isNull());
        QVERIFY(rtf.text.contains(QStringLiteral("\u2611")) && rtf.text.contains(QStringLiteral("\u2610")));

        QCOMPARE(RtfExporter().write(pages, dir.filePath(QStringLiteral("x.rtf")), {{QStringLiteral("Margins"), 1}}).number(),
                 int(ErrNoSuchMember));
    }
};

QTEST_MAIN(TestRtfExport)
#include "tst_rtfexport.moc"
