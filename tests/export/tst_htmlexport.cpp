// HTML export read back: the files written for each layout choice, the
// placed texts, pictures, style sheet, character sets, tables of contents,
// frameset and MIME archive.

#include "exportcheck.h"

#include "engine/export/htmlexporter.h"

#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Orv;
using namespace ExportCheck;

class TestHtmlExport : public QObject
{
    Q_OBJECT

private:
    PageCollection pages;
    int folder = 0;

    // Exports the sample pages into a new folder; returns it.
    QString exported(QVariantMap settings, const QString &name = QStringLiteral("sales.html"))
    {
        const QString out = root.filePath(QString::number(++folder));
        QDir().mkpath(out);
        const Status status = exportPages(pages, out + QLatin1Char('/') + name, settings);
        if (!status.ok())
            qWarning("%s", qPrintable(status.description()));
        return out;
    }
    QString text(const QString &path) { return QString::fromUtf8(contents(path)); }
    QTemporaryDir root;

private Q_SLOTS:
    void initTestCase()
    {
        pages.append(PageSamples::page(0, pages));
        pages.append(PageSamples::page(1, pages));
    }

    void pageFilesImagesAndPlacedTexts()
    {
        const QString out = exported({{QStringLiteral("Title"), QStringLiteral("地区销售")},
                                      {QStringLiteral("ImagesFolder"), root.filePath(QStringLiteral("pictures"))}});
        QCOMPARE(entries(out), (QStringList{QStringLiteral("sales.html"), QStringLiteral("sales_2.html")}));
        const QString first = text(out + QStringLiteral("/sales.html"));
        QVERIFY(first.contains(QStringLiteral("<title>地区销售</title>")));
        QVERIFY(first.contains(QLatin1String("charset=UTF-8")));
        // The heading at 1440, 720 twips is at 96, 48 pixels, centred, in its font.
        const QRegularExpression heading(QStringLiteral(
            "<div style=\"left: 96px; top: 48px; width: 624px; height: 32px; font-family: 'Times New Roman'; font-size: 16pt; "
            "font-weight: bold;[^\"]*text-align: center;[^\"]*\"><span>Sales by region, page 1</span></div>"));
        QVERIFY2(heading.match(first).hasMatch(), qPrintable(first));
        QVERIFY(first.contains(QStringLiteral("地区 1 销售")));
        QVERIFY(first.contains(QLatin1String("<b>")) || first.contains(QLatin1String("font-weight:700")) || first.contains(QLatin1String("font-weight:600")));
        QVERIFY(first.contains(QLatin1String("<svg")) && first.contains(QLatin1String("<ellipse")));
        QVERIFY(first.contains(QLatin1String("href=\"sales_2.html\"")));
        QVERIFY(text(out + QStringLiteral("/sales_2.html")).contains(QLatin1String("page 2")));
        // Pictures and barcodes in the images folder, linked relatively.
        const QStringList pictures = entries(root.filePath(QStringLiteral("pictures")));
        QVERIFY2(pictures.contains(QStringLiteral("sales_img1.png")) && pictures.contains(QStringLiteral("sales_code1_1.png")),
                 qPrintable(pictures.join(' ')));
        QVERIFY(first.contains(QLatin1String("src=\"../pictures/sales_img1.png\"")));
        QVERIFY(!QImage(root.filePath(QStringLiteral("pictures/sales_code1_1.png"))).isNull());
    }

    void singleFileStyleSheetAndVersion()
    {
        QString out = exported({{QStringLiteral("MultiPageOutput"), false}, {QStringLiteral("CreateCSS"), true}});
        QStringList files = entries(out);
        QVERIFY(files.contains(QStringLiteral("sales.html")) && files.contains(QStringLiteral("sales.css")));
        QVERIFY(!files.contains(QStringLiteral("sales_2.html")));
        const QString html = text(out + QStringLiteral("/sales.html"));
        QCOMPARE(html.count(QLatin1String("class=\"page\"")), 2);
        QVERIFY(html.contains(QLatin1String("<link rel=\"stylesheet\" type=\"text/css\" href=\"sales.css\">")));
        QVERIFY(!html.contains(QLatin1String("font-family")));
        const QString css = text(out + QStringLiteral("/sales.css"));
        QVERIFY(css.contains(QLatin1String("font-family: 'Times New Roman'")));

        out = exported({{QStringLiteral("HTMLVersion"), 0}});
        const QString old = text(out + QStringLiteral("/sales.html"));
        QVERIFY(old.startsWith(QLatin1String("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">")));
        QVERIFY(old.contains(QLatin1String("<td width=\"624\" align=\"center\"><font face=\"Arial\">Sales by region, page 1</font></td>")));
        QVERIFY(!old.contains(QLatin1String("position")) && !old.contains(QLatin1String("<svg")));
    }

    void characterSets()
    {
        QString out = exported({{QStringLiteral("CharacterSet"), QStringLiteral("ISO-8859-1")}});
        QByteArray bytes = contents(out + QStringLiteral("/sales.html"));
        QVERIFY(bytes.contains("charset=ISO-8859-1"));
        QVERIFY(bytes.contains("&#22320;&#21306; 1 &#38144;&#21806;")); // 地区 1 销售
        out = exported({{QStringLiteral("CharacterSet"), QStringLiteral("GB2312")}});
        bytes = contents(out + QStringLiteral("/sales.html"));
        QVERIFY(bytes.contains(QByteArray(QStringEncoder("GB2312").encode(QStringLiteral("地区 1 销售")))));
        QCOMPARE(HtmlExporter().write(pages, root.filePath(QStringLiteral("x.html")), {{QStringLiteral("CharacterSet"), QStringLiteral("klingon")}}).number(),
                 int(ErrInvalidPropertyValue));
    }

    void tablesOfContentsAndFrameset()
    {
        QString out = exported({{QStringLiteral("TOCFormat"), 1}});
        QString toc = text(out + QStringLiteral("/sales_toc.html"));
        QVERIFY2(toc.contains(QLatin1String("<ul>\n<li><a href=\"sales.html#bm1\">Region 1</a></li>\n<ul>\n<li><a href=\"sales.html#bm2\">")),
                 qPrintable(toc));
        QVERIFY(toc.contains(QLatin1String("<a href=\"sales_2.html#bm3\">Region 2</a>")));
        QVERIFY(text(out + QStringLiteral("/sales_2.html")).contains(QLatin1String("id=\"bm3\"")));

        out = exported({{QStringLiteral("TOCFormat"), 2}});
        toc = text(out + QStringLiteral("/sales_toc.html"));
        QCOMPARE(toc.count(QLatin1String("<details open><summary>")), 2);

        out = exported({{QStringLiteral("TOCFormat"), 3}});
        QXmlStreamReader xml(contents(out + QStringLiteral("/sales_toc.xml")));
        QStringList seen;
        int depth = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("entry"))
                seen << QStringLiteral("%1:%2:%3").arg(++depth).arg(xml.attributes().value(QLatin1String("text")), xml.attributes().value(QLatin1String("page")));
            else if (xml.isEndElement() && xml.name() == QLatin1String("entry"))
                --depth;
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(seen, (QStringList{QStringLiteral("1:Region 1:1"), QStringLiteral("2:城市 1:1"), QStringLiteral("1:Region 2:2"),
                                    QStringLiteral("2:城市 2:2")}));

        out = exported({{QStringLiteral("CreateFrameset"), true}, {QStringLiteral("TOCFormat"), 1}});
        const QString frames = text(out + QStringLiteral("/sales.html"));
        QVERIFY(frames.contains(QLatin1String("<frame name=\"contents\" src=\"sales_toc.html\">")));
        QVERIFY(frames.contains(QLatin1String("<frame name=\"pages\" src=\"sales_1.html\">")));
        QVERIFY(text(out + QStringLiteral("/sales_toc.html")).contains(QLatin1String("target=\"pages\"")));
        QVERIFY(QFile::exists(out + QStringLiteral("/sales_2.html")));
    }

    void mimeArchive()
    {
        const QString out = exported({{QStringLiteral("Title"), QStringLiteral("Sales")}}, QStringLiteral("sales.mht"));
        QCOMPARE(entries(out), QStringList{QStringLiteral("sales.mht")});
        const QByteArray mht = contents(out + QStringLiteral("/sales.mht"));
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("boundary=\"([^\"]+)\"")).match(QString::fromLatin1(mht));
        QVERIFY(m.hasMatch());
        const QByteArray boundary = QByteArray("--") + m.captured(1).toLatin1();
        QList<QByteArray> parts;
        for (qsizetype at = 0, next; (next = mht.indexOf(boundary, at)) >= 0; at = next + boundary.size())
            parts << mht.mid(at, next - at);
        parts << mht.mid(mht.lastIndexOf(boundary) + boundary.size());
        QStringList locations;
        QByteArray firstHtml;
        for (const QByteArray &part : parts.mid(1)) {
            const qsizetype split = part.indexOf("\r\n\r\n");
            if (split < 0)
                continue;
            const QByteArray head = part.left(split);
            const QByteArray body = QByteArray::fromBase64(part.mid(split + 4));
            const qsizetype at = head.indexOf("Content-Location: ");
            locations << QString::fromLatin1(head.mid(at + 18).split('\r').first());
            if (firstHtml.isEmpty())
                firstHtml = body;
            if (head.contains("image/png"))
                QVERIFY(!QImage::fromData(body).isNull());
        }
        QCOMPARE(locations.value(0), QStringLiteral("sales.html"));
        QVERIFY(locations.contains(QStringLiteral("sales_2.html")) && locations.contains(QStringLiteral("sales_img1.png")));
        QVERIFY(firstHtml.contains("Sales by region, page 1"));
        QVERIFY(firstHtml.contains("src=\"sales_img1.png\""));
    }
};

QTEST_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
