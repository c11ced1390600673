// PDF settings read back with poppler: version, encryption and
// permissions, fonts left unembedded, JPEG quality, and the outline.

#include "exportcheck.h"

#include "engine/export/pdfexporter.h"
#include "engine/export/pdfoutline.h"

#include <QTemporaryDir>
#include <QTest>

#include <poppler-qt6.h>

using namespace Orv;
using namespace ExportCheck;

class TestPdfOptions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    PageCollection pages;
    int n = 0;

    QString exported(const QVariantMap &settings, const PageCollection &from)
    {
        const QString path = dir.filePath(QStringLiteral("%1.pdf").arg(++n));
        const Status status = exportPages(from, path, settings);
        if (!status.ok())
            qWarning("%s", qPrintable(status.description()));
        return path;
    }
    QString exported(const QVariantMap &settings) { return exported(settings, pages); }

    static QString firstPageText(Poppler::Document &doc)
    {
        return std::unique_ptr<Poppler::Page>(doc.page(0))->text(QRectF());
    }

private Q_SLOTS:
    void initTestCase()
    {
        pages.append(PageSamples::page(0, pages));
        pages.append(PageSamples::page(1, pages));
    }

    void versions()
    {
        QVERIFY(contents(exported({})).startsWith("%PDF-1.4"));
        const char *headers[] = {"%PDF-1.1", "%PDF-1.2", "%PDF-1.3"};
        for (int v = 0; v < 3; ++v) {
            const QString path = exported({{QStringLiteral("AcrobatVersion"), v}});
            QVERIFY2(contents(path).startsWith(headers[v]), headers[v]);
            const auto doc = Poppler::Document::load(path);
            QVERIFY(doc && firstPageText(*doc).contains(QLatin1String("Sales by region")));
        }
        QCOMPARE(PdfExporter().write(pages, dir.filePath(QStringLiteral("bad.pdf")), {{QStringLiteral("AcrobatVersion"), 3}}).number(),
                 int(ErrInvalidPropertyValue));
        QCOMPARE(PdfExporter().write(pages, dir.filePath(QStringLiteral("bad.pdf")), {{QStringLiteral("JPEGQuality"), QStringLiteral("best")}}).number(),
                 int(ErrTypeMismatch));
    }

    void encryptionAndPermissions()
    {
        for (const int version : {-1, 0, 2}) { // AES-256, and the 40-bit RC4 of PDF 1.1 and 1.3
            QVariantMap settings{{QStringLiteral("UserPassword"), QStringLiteral("open sesame")},
                                 {QStringLiteral("OwnerPassword"), QStringLiteral("owner")},
                                 {QStringLiteral("AllowPrint"), false},
                                 {QStringLiteral("AllowCopy"), false}};
            if (version >= 0)
                settings.insert(QStringLiteral("AcrobatVersion"), version);
            const QString path = exported(settings);
            auto doc = Poppler::Document::load(path);
            QVERIFY(doc && doc->isLocked());
            doc = Poppler::Document::load(path, QByteArray(), QByteArray("open sesame"));
            QVERIFY(doc && !doc->isLocked() && doc->isEncrypted());
            QVERIFY(!doc->okToPrint() && !doc->okToCopy() && doc->okToChange());
            QVERIFY(firstPageText(*doc).contains(QLatin1String("Sales by region")));
            if (version < 0)
                QVERIFY(contents(path).contains("/V 5"));
            if (version == 0)
                QVERIFY(contents(path).startsWith("%PDF-1.1"));
        }
        // Permissions alone: the file opens without a password but keeps them.
        const auto doc = Poppler::Document::load(exported({{QStringLiteral("AllowModify"), false}}));
        QVERIFY(doc && !doc->isLocked() && doc->isEncrypted());
        QVERIFY(doc->okToPrint() && !doc->okToChange());
    }

    void fontsNotToEmbed()
    {
        const auto doc = Poppler::Document::load(exported({{QStringLiteral("FontsNotToEmbed"), QStringLiteral("Times New Roman;")}}));
        QVERIFY(doc);
        int serif = 0, sans = 0;
        for (const Poppler::FontInfo &font : doc->fonts()) {
            if (font.name().contains(QLatin1String("LiberationSerif"))) {
                ++serif;
                QVERIFY2(!font.isEmbedded(), qPrintable(font.name()));
                QVERIFY(!font.name().contains(QLatin1Char('+')));
            } else if (font.name().contains(QLatin1String("LiberationSans"))) {
                ++sans;
                QVERIFY(font.isEmbedded());
            }
        }
        QVERIFY(serif > 0 && sans > 0);
        QVERIFY(firstPageText(*doc).contains(QLatin1String("Sales by region, page 1"))); // text still reads back
    }

    void jpegQuality()
    {
        // A smooth colour picture: Qt stores it as JPEG.
        QImage photo(400, 300, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y)
            for (int x = 0; x < photo.width(); ++x)
                photo.setPixel(x, y, qRgb((x * 255) / 400, (y * 255) / 300, ((x + y) * 3 + (x * y) % 17) & 255));
        PageCollection one;
        Page page;
        page.size = QSizeF(12240, 15840);
        ImageOp op;
        op.rect = QRectF(1440, 1440, 6000, 4500);
        op.image = one.addImage(photo);
        op.sizeMode = 1;
        page.ops.push_back(op);
        one.append(page);
        const qint64 low = QFileInfo(exported({{QStringLiteral("JPEGQuality"), 25}}, one)).size();
        const qint64 high = QFileInfo(exported({{QStringLiteral("JPEGQuality"), 100}}, one)).size();
        QVERIFY2(low * 2 < high, qPrintable(QStringLiteral("%1 %2").arg(low).arg(high)));
        const auto doc = Poppler::Document::load(dir.filePath(QStringLiteral("%1.pdf").arg(n - 1)));
        const QImage shown = std::unique_ptr<Poppler::Page>(doc->page(0))->renderToImage(72, 72);
        const QRgb centre = shown.pixel(72 + 150, 72 + 112); // the picture's middle
        QVERIFY(qAbs(qRed(centre) - 127) < 30 && qAbs(qGreen(centre) - 127) < 30);
    }

    void outlineFromBookmarks()
    {
        // Appended to Qt's file as an update, and written by qpdf when the
        // file is rewritten anyway (here for the author): the same outline.
        for (const QVariantMap &settings : {QVariantMap(), QVariantMap{{QStringLiteral("Author"), QStringLiteral("A")}}}) {
            const auto doc = Poppler::Document::load(exported(settings));
            QVERIFY(doc && !doc->isLocked());
            const QVector<Poppler::OutlineItem> outline = doc->outline();
            QCOMPARE(outline.size(), 2);
            QCOMPARE(outline[0].name(), QStringLiteral("Region 1"));
            QCOMPARE(outline[1].name(), QStringLiteral("Region 2"));
            QCOMPARE(outline[1].destination()->pageNumber(), 2);
            QCOMPARE(outline[0].children().size(), 1);
            QCOMPARE(outline[0].children()[0].name(), QStringLiteral("城市 1"));
            QCOMPARE(doc->numPages(), 2);
            QVERIFY(firstPageText(*doc).contains(QLatin1String("Sales by region, page 1")));
        }
        // A file laid out otherwise, or cut short, is left as it is.
        QFile qt(exported({}));
        QVERIFY(qt.open(QIODevice::ReadOnly));
        const QByteArray whole = qt.readAll();
        PdfOutline::Items items;
        items.append({0, 0, QStringLiteral("x"), 100});
        for (const QByteArray &bytes : {whole.left(whole.size() / 2), QByteArray("%PDF-1.4\ntrailer << /Root 9 0 R >>\n%%EOF\n"),
                                        whole.left(whole.lastIndexOf("xref")) + "xref\n0 3\nbroken"}) {
            QFile f(dir.filePath(QStringLiteral("other.pdf")));
            QVERIFY(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
            f.write(bytes);
            QString error;
            QCOMPARE(PdfOutline::append(f, items, &error), PdfOutline::Result::NotRecognised);
            QVERIFY(!error.isEmpty());
            f.seek(0);
            QCOMPARE(f.readAll(), bytes);
        }
        const QString bare = exported({{QStringLiteral("Bookmarks"), false}});
        auto doc = Poppler::Document::load(bare);
        QVERIFY(doc->outline().isEmpty());

        // A long outline goes out in pieces; items on no page are left out.
        PdfOutline::Items many;
        for (int i = 0; i < 3000; ++i)
            many.append({i % 2, i % 3 == 2 ? 1 : 0, QStringLiteral("第 %1").arg(i), 700});
        many.append({7, 0, QStringLiteral("nowhere"), 0});
        QFile f(bare);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QString error;
        QCOMPARE(PdfOutline::append(f, many, &error), PdfOutline::Result::Done);
        f.close();
        doc = Poppler::Document::load(bare);
        const QVector<Poppler::OutlineItem> outline = doc->outline();
        QCOMPARE(outline.size(), 2000);
        QCOMPARE(outline.last().name(), QStringLiteral("第 2998"));
        QCOMPARE(outline.last().children().first().name(), QStringLiteral("第 2999"));
        QCOMPARE(outline.last().destination()->pageNumber(), 1);
    }
};

QTEST_MAIN(TestPdfOptions)
#include "tst_pdfoptions.moc"
