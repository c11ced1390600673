// What controls look like on a page: colour numbers, borders, alignments,
// and rich text read from RTF for the page painter and the designer.
#include "engine/look/controllook.h"
#include "engine/look/richtext.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

using namespace Orv;

class TestLook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colorsAndBorders()
    {
        QCOMPARE(Look::color(0x0000ff), qRgb(255, 0, 0)); // stored as 0x00BBGGRR
        QCOMPARE(Look::color(int(0x80000005)), qRgb(255, 255, 255)); // window background
        QCOMPARE(Look::color(int(0x80000018)), qRgb(255, 255, 225)); // the last, tooltip
        QCOMPARE(Look::color(int(0x80000019)), qRgb(0, 0, 0));       // past the table
        QCOMPARE(Look::color(int(0x81000005)), qRgb(0, 0, 0));       // not a system colour
        QCOMPARE(Look::systemColorName(13), QStringLiteral("Highlight"));
        QVERIFY(Look::systemColorName(Look::systemColorCount()).isEmpty());
        // Thin, thick (7-12) and extra thick (13) borders; 6 is solid inside.
        QCOMPARE(Look::borderPen(2, 0).style, Qt::DashLine);
        QCOMPARE(Look::borderPen(2, 0).width, 15.0);
        QCOMPARE(Look::borderPen(8, 0).style, Qt::DashLine);
        QCOMPARE(Look::borderPen(8, 0).width, 30.0);
        QCOMPARE(Look::borderPen(6, 0).style, Qt::SolidLine);
        QCOMPARE(Look::borderPen(13, 0).width, 45.0);
        QCOMPARE(Look::borderPen(14, 0).style, Qt::NoPen);
        QCOMPARE(Look::borderPen(-1, 0).style, Qt::NoPen);
        QCOMPARE(Look::textAlignment(2, 2), Qt::AlignHCenter | Qt::AlignBottom);
        QCOMPARE(Look::pictureAlignment(4), Qt::AlignRight | Qt::AlignBottom);
        QCOMPARE(Look::pictureAlignment(9), Qt::Alignment(Qt::AlignCenter));
    }

    void rtfBecomesPageHtml()
    {
        const QString rtf = QStringLiteral(
            "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier New;}}{\\colortbl ;\\red255\\green0\\blue0;}"
            "{\\*\\generator Writer;}\\f0\\fs28\\b Tesserane Traders\\b0\\par"
            "\\qc\\fs18 Caf\\'e9 \\cf1 red\\cf0  \\u8364?5 \\{x\\}\\line next\\par}");
        QTextDocument doc;
        doc.setHtml(RichText::toHtml(rtf, PageFont{}));
        QCOMPARE(doc.toPlainText(), QStringLiteral("Tesserane Traders\nCafé red €5 {x}\nnext"));
        const QTextBlock first = doc.begin();
        QVERIFY(first.begin().fragment().charFormat().font().bold());
        QCOMPARE(first.begin().fragment().charFormat().font().pointSizeF(), 14.0);
        QCOMPARE(first.begin().fragment().charFormat().font().family(), QStringLiteral("Arial"));
        QCOMPARE(first.next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        bool red = false;
        for (auto it = first.next().begin(); !it.atEnd(); ++it)
            red = red || (it.fragment().text() == QLatin1String("red") && it.fragment().charFormat().foreground().color() == QColor(255, 0, 0));
        QVERIFY(red);
        QVERIFY(!RichText::isRtf(QStringLiteral("plain")));
        QTextDocument indented;
        indented.setHtml(RichText::toHtml(QStringLiteral("{\\rtf1 \\pard\\li720 in\\par\\pard out\\par}"), PageFont{}));
        QCOMPARE(indented.begin().blockFormat().leftMargin(), 48.0);
        QCOMPARE(indented.begin().next().blockFormat().leftMargin(), 0.0);

        // Damaged input ends without a crash or a runaway.
        QString deep = QStringLiteral("{\\rtf1 ");
        for (int i = 0; i < 100000; ++i)
            deep += QLatin1Char('{');
        QVERIFY(!RichText::toHtml(deep + QStringLiteral("text\\'"), PageFont{}).isNull());
        QVERIFY(RichText::toHtml(QStringLiteral("{\\rtf1 a}}}}\\u"), PageFont{}).contains(QLatin1Char('a')));
    }

    void richTextRoundTrip()
    {
        const QString rtf = QStringLiteral(
            "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
            "\\pard\\qc\\b Bold\\b0  {\\i\\cf1 red}\\par\\pard\\li720 {\\f1\\fs28 mono} caf\\'e9 \\u8364?\\par"
            "\\pard{\\pntext\\bullet\\tab}\\fi-360\\li360 item\\par}");
        QTextDocument doc;
        RichText::load(&doc, rtf);
        auto check = [](QTextDocument &d) {
            QCOMPARE(d.blockCount(), 3);
            const QTextBlock first = d.begin();
            QCOMPARE(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            QCOMPARE(first.text(), QStringLiteral("Bold red"));
            QCOMPARE(first.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
            const QTextBlock second = first.next();
            QCOMPARE(second.blockFormat().leftMargin(), 48.0);
            QCOMPARE(second.text(), QStringLiteral("mono café €"));
            QCOMPARE(second.begin().fragment().charFormat().fontPointSize(), 14.0);
            QVERIFY(second.next().textList());
            QCOMPARE(second.next().text(), QStringLiteral("item"));
        };
        check(doc);
        // Written and read again, the formatting is the same.
        const QString written = RichText::toRtf(&doc, PageFont{});
        QTextDocument again;
        RichText::load(&again, written);
        check(again);
        QCOMPARE(RichText::toRtf(&again, PageFont{}), written);
        // Broken input reads as far as it goes, never further.
        QTextDocument broken;
        RichText::load(&broken, QStringLiteral("{\\rtf1 {{{{ \\'zz text \\u99999999"));
        QVERIFY(broken.toPlainText().contains(QLatin1String("text")));
    }

};

QTEST_MAIN(TestLook)
#include "tst_look.moc"
