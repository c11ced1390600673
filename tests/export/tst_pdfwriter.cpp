// Our PDF writer against QPdfWriter: every example layout and pages with
// every kind of operation (Chinese, rich and turned text, shapes, charts'
// polygons and pie slices, transparency, pictures, barcodes) exported with
// both writers must look alike (pdftoppm at 100 dpi) and read alike
// (pdftotext); our fonts are embedded subsets with Unicode maps (pdffonts),
// and the settings qpdf applies afterwards still apply. Pages written while
// the run goes on match those written after it.

#include "../run/runfixture.h"
#include "exportcheck.h"

#include "engine/export/pdfexporter.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/pages/pagecollection.h"
#include "engine/run/reportrun.h"
#include "engine/script/host.h"
#include "engine/script/runhost.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <poppler-qt6.h>

using namespace Orv;

namespace {

QString tool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<QImage> rendered(const QString &pdf)
{
    const QString prefix = pdf + QStringLiteral(".page");
    tool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), pdf, prefix});
    const QFileInfo info(prefix);
    QStringList names = QDir(info.path()).entryList({info.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    QList<QImage> pages;
    for (const QString &name : names)
        pages << QImage(QDir(info.path()).filePath(name)).convertToFormat(QImage::Format_RGB32);
    return pages;
}

// Pages alike: the mean difference of all samples and the share of pixels
// that differ clearly (glyph edges may move by a fraction of a pixel).
void compareRenderings(const QString &qt, const QString &own, const QString &what)
{
    const QList<QImage> a = rendered(qt);
    const QList<QImage> b = rendered(own);
    QVERIFY2(!a.isEmpty(), qPrintable(what));
    QCOMPARE(b.size(), a.size());
    for (qsizetype p = 0; p < a.size(); ++p) {
        QCOMPARE(b[p].size(), a[p].size());
        double sum = 0;
        qint64 differing = 0;
        for (int y = 0; y < a[p].height(); ++y) {
            const QRgb *l = reinterpret_cast<const QRgb *>(a[p].constScanLine(y));
            const QRgb *r = reinterpret_cast<const QRgb *>(b[p].constScanLine(y));
            for (int x = 0; x < a[p].width(); ++x) {
                const int dr = std::abs(qRed(l[x]) - qRed(r[x]));
                const int dg = std::abs(qGreen(l[x]) - qGreen(r[x]));
                const int db = std::abs(qBlue(l[x]) - qBlue(r[x]));
                sum += dr + dg + db;
                if (std::max({dr, dg, db}) > 100)
                    ++differing;
            }
        }
        const double pixels = double(a[p].width()) * a[p].height();
        const double mean = sum / (3 * pixels);
        QVERIFY2(mean < 1.0 && differing < pixels * 0.004,
                 qPrintable(QStringLiteral("%1 page %2: mean difference %3, %4 of %5 pixels differ")
                                .arg(what).arg(p + 1).arg(mean).arg(differing).arg(pixels)));
    }
}

void compareWriters(const PageCollection &pages, const QString &folder, const QString &name)
{
    const QString qt = QDir(folder).filePath(name + QStringLiteral("-qt.pdf"));
    const QString own = QDir(folder).filePath(name + QStringLiteral("-own.pdf"));
    Status s = exportPages(pages, qt, {{QStringLiteral("Writer"), QStringLiteral("qt")}});
    QVERIFY2(s.ok(), qPrintable(s.description()));
    s = exportPages(pages, own, {{QStringLiteral("Writer"), QStringLiteral("OrvReport")}});
    QVERIFY2(s.ok(), qPrintable(s.description()));
    // Text in drawing order. Qt's Unicode maps give some CJK glyphs as
    // other characters of the same shape (目 as the radical ⽬, 户 as 戶),
    // ours the character itself: CJK may differ there, nothing else.
    const auto lines = [](const QString &pdf) {
        return tool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}).split(QLatin1Char('\n'));
    };
    const auto cjk = [](QChar c) { return c.unicode() >= 0x2e80 && c.unicode() < 0xa000; };
    const auto alike = [&](const QString &a, const QString &b) {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (a[i] != b[i] && !(cjk(a[i]) && cjk(b[i])))
                return false;
        }
        return true;
    };
    const QStringList ours = lines(own), theirs = lines(qt);
    for (qsizetype i = 0; i < std::min(ours.size(), theirs.size()); ++i)
        QVERIFY2(alike(ours[i], theirs[i]), qPrintable(QStringLiteral("%1 line %2:\n  Qt's  %3\n  ours  %4").arg(name).arg(i + 1).arg(theirs[i], ours[i])));
    QCOMPARE(ours.size(), theirs.size());
    compareRenderings(qt, own, name);
}

// The first pages and the last of a run: enough to compare, quick to write.
void keepSome(const PageCollection &from, PageCollection &to)
{
    for (int i = 0; i < from.imageCount(); ++i)
        to.addImage(from.image(i));
    for (int i = 0; i < from.Count(); ++i) {
        if (i < 3 || i == from.Count() - 1)
            to.append(*from.page(i));
    }
}

// Operations the sample pages do not have: charts' shapes, transparency,
// decorated, turned and rich Chinese text, dashes and a hairline.
Page extraPage(PageCollection &collection)
{
    Page p;
    p.size = QSizeF(11906, 16838); // A4
    const int plain = p.fontIndex(PageFont{});
    const int underlined = p.fontIndex(PageFont{QStringLiteral("Arial"), 14, false, false, true, false});
    const int struck = p.fontIndex(PageFont{QStringLiteral("Courier New"), 11, true, true, false, true});
    const int hei = p.fontIndex(PageFont{QStringLiteral("黑体"), 18, true});
    TextOp t = ExportCheck::text(1000, 800, 5000, QStringLiteral("Underlined heading"));
    t.font = underlined;
    t.rect.setHeight(400);
    p.ops.push_back(t);
    t = ExportCheck::text(1000, 1300, 5000, QStringLiteral("Struck out, bold italic"));
    t.font = struck;
    t.foreColor = 0xffc00000;
    t.backColor = 0x8000ff00;
    p.ops.push_back(t);
    t = ExportCheck::text(1000, 1800, 3000, QStringLiteral("中文报表：客户、订单与发票，以及 mixed Latin text"));
    t.font = hei;
    t.wrap = true;
    t.rect.setHeight(1600);
    t.alignment = Qt::AlignHCenter | Qt::AlignTop;
    p.ops.push_back(t);
    t = ExportCheck::text(7000, 800, 3000, QStringLiteral("Turned 45°"));
    t.font = plain;
    t.angle = 450;
    t.rect.setHeight(300);
    p.ops.push_back(t);
    t = ExportCheck::text(7000, 2000, 3000, QStringLiteral("Upside down"));
    t.angle = 1800;
    p.ops.push_back(t);
    t = ExportCheck::text(1000, 3600, 4000, QStringLiteral("<p><span style=\"color:#0000c0\">蓝色</span> and "
                                                           "<u>underlined</u> <span style=\"background:#ffff00\">marked</span></p>"
                                                           "<p align=\"right\">A second paragraph, right</p>"));
    t.richText = true;
    t.rect.setHeight(800);
    p.ops.push_back(t);
    t = ExportCheck::text(6000, 3600, 800, QStringLiteral("This text overflows its narrow box"));
    p.ops.push_back(t);

    p.ops.push_back(PolygonOp{{{1000, 5000}, {3000, 5000}, {2000, 6500}}, true, PagePen{0xff000080, 20}, 0x800000ff});
    p.ops.push_back(PolygonOp{{{3500, 5000}, {4500, 6000}, {5500, 5200}, {6500, 6400}}, false,
                              PagePen{0xff008000, 40, Qt::DashDotLine}, 0});
    p.ops.push_back(PieOp{QRectF(7000, 5000, 2400, 1600), 30, 100, PagePen{0xff000000, 15}, 0xffffc000});
    p.ops.push_back(PieOp{QRectF(7000, 5000, 2400, 1600), 130, 230.5, PagePen{0xff000000, 15}, 0xc04080ff});
    p.ops.push_back(ShapeOp{QRectF(1000, 7000, 3000, 1500), ShapeOp::RoundRect, PagePen{0xff800080, 45, Qt::DashDotDotLine},
                            0x40ff00ff, 300});
    p.ops.push_back(LineOp{{1000, 9000}, {10000, 9000}, PagePen{0xff000000, 0, Qt::SolidLine}});
    p.ops.push_back(LineOp{{1000, 9300}, {10000, 9300}, PagePen{0x80ff0000, 60, Qt::DotLine}});
    QImage transparent(40, 30, QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    for (int y = 5; y < 25; ++y)
        for (int x = 5; x < 35; ++x)
            transparent.setPixel(x, y, qRgba(200, 40 + x * 4, 40, 255));
    ImageOp picture;
    picture.rect = QRectF(5000, 7000, 2000, 1500);
    picture.image = collection.addImage(transparent);
    picture.sizeMode = 1;
    p.ops.push_back(picture);
    BarcodeOp qr;
    qr.rect = QRectF(7500, 7000, 1500, 1500);
    qr.symbology = 58; // QR Code
    qr.data = QStringLiteral("https://example.invalid/orv");
    qr.showText = false;
    p.ops.push_back(qr);
    BarcodeOp turned;
    turned.rect = QRectF(9300, 7000, 900, 2800);
    turned.data = QStringLiteral("TT00042");
    turned.rotation = 90;
    p.ops.push_back(turned);
    return p;
}

QStringList fontLines(const QString &pdf)
{
    QStringList lines = tool(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.mid(2); // the heading and its rule
}

// Customers with the page count twice in the page footer: alone (the same
// text on every page) and as "Page N of M".
QByteArray countedLayout()
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<OrvReportLayout version="1"><Report>
<Section Type="6" Name="Detail" Height="1500">
  <Control Type="OrvEngine.Field" Name="fldName" Width="4000" DataField="CompanyName"/>
  <Control Type="OrvEngine.DataControl" Name="dc" ConnectionString="%1" Source="SELECT CompanyName FROM Customers ORDER BY CustomerID"/>
</Section>
<Section Type="3" Name="PageFooter" Height="300">
  <Control Type="OrvEngine.Field" Name="fldCount" Left="2000" Width="1500" SummaryType="4" OutputFormat="&quot;of &quot;0" ForeColor="255"/>
  <Control Type="OrvEngine.Field" Name="fldPageOf" Left="6000" Width="3000" Alignment="1" DataField="=&quot;Page &quot; &amp; PageNumber &amp; &quot; of &quot; &amp; PageCount"/>
</Section>
</Report></OrvReportLayout>
)").arg(RunTest::connection().toHtmlEscaped()).toUtf8();
}

int forms(const QString &pdf)
{
    return int(ExportCheck::contents(pdf).count("/Subtype /Form"));
}

} // namespace

class TestPdfWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { RunTest::databasePath(); }

    void examplesLookAndReadAlike_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &file : QDir(QStringLiteral(ORV_SOURCE_DIR "/examples")).entryList({QStringLiteral("*.rpx")}))
            QTest::newRow(qPrintable(file)) << QFileInfo(file).completeBaseName();
    }

    void examplesLookAndReadAlike()
    {
        QFETCH(QString, name);
        Report report;
        Status s = LoadLayout(report, QStringLiteral(ORV_SOURCE_DIR "/examples/%1.rpx").arg(name));
        QVERIFY2(s.ok(), qPrintable(s.description()));
        ReportRun run(&report);
        run.setReportFolder(QStringLiteral(ORV_SOURCE_DIR "/examples"));
        if (name.endsWith(QLatin1String("-access"))) {
            // Its database is the user's own Access copy of the sample.
            if (!QFile::exists(QStringLiteral(ORV_SOURCE_DIR "/examples/tesserane.mdb")))
                QSKIP("no tesserane.mdb beside the examples");
        } else {
            run.setConnectionString(RunTest::connection());
        }
        s = run.Run(false);
        QVERIFY2(s.ok(), qPrintable(s.description()));
        QVERIFY(run.Pages()->Count() > 0);
        QTemporaryDir dir;
        PageCollection some;
        keepSome(*run.Pages(), some);
        compareWriters(some, dir.path(), name);
    }

    // Written while the run goes on, pages with the page count included, the
    // file must look and read as the one written from the finished pages;
    // the count alone is one form all pages draw, "Page N of M" one a page.
    void pagesWrittenDuringTheRunMatchTheFinishedOnes()
    {
        QTemporaryDir dir;
        const QString after = dir.filePath(QStringLiteral("after.pdf"));
        const QString during = dir.filePath(QStringLiteral("during.pdf"));
        Report finished;
        Status s = LoadLayout(finished, countedLayout());
        QVERIFY2(s.ok(), qPrintable(s.description()));
        // "Page N of M" is an expression: it needs the script host.
        Script::Host host;
        Script::RunHost scripting(host);
        ReportRun first(&finished);
        first.setScripting(&scripting);
        s = first.Run(false);
        QVERIFY2(s.ok(), qPrintable(s.description()));
        const int pages = first.Pages()->Count();
        QVERIFY(pages > 3);
        s = exportPages(*first.Pages(), after);
        QVERIFY2(s.ok(), qPrintable(s.description()));

        Report report;
        s = LoadLayout(report, countedLayout());
        QVERIFY2(s.ok(), qPrintable(s.description()));
        Script::Host runHost;
        Script::RunHost runScripting(runHost);
        ReportRun run(&report);
        run.setScripting(&runScripting);
        run.setProvisionalPages(true);
        PdfStream stream;
        QVERIFY(PdfStream::streams({}));
        QVERIFY(!PdfStream::streams({{QStringLiteral("Writer"), QStringLiteral("Qt")}}));
        s = stream.open(during, {}, run.Pages());
        QVERIFY2(s.ok(), qPrintable(s.description()));
        run.setReplaceProvisionalPages(false);
        int lateSeen = 0;
        stream.follow(run.Pages(), [&](int index) {
            const std::vector<LateText> late = run.lateTexts(index);
            lateSeen += int(late.size());
            return late;
        });
        QObject::connect(&run, &ReportRun::lateTextsKnown,
                         [&](int index, const std::vector<LateText> &texts) { stream.textsKnown(index, texts); });
        s = run.Run(false);
        QVERIFY2(s.ok(), qPrintable(s.description()));
        // Every page went to the file before the count was known, but the
        // last, made once it was.
        QCOMPARE(stream.pagesAdded(), pages);
        QCOMPARE(lateSeen, 2 * (pages - 1));
        QVERIFY(!QFile::exists(during));
        // The run's own pages stay provisional: the file has the texts.
        QVERIFY(std::get<TextOp>(run.Pages()->page(0)->ops.back()).text.isEmpty());
        s = stream.finish();
        QVERIFY2(s.ok(), qPrintable(s.description()));

        const QString text = tool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), during, QStringLiteral("-")});
        QCOMPARE(text, tool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), after, QStringLiteral("-")}));
        for (int i = 1; i <= pages; ++i)
            QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(i).arg(pages)), qPrintable(text));
        QCOMPARE(forms(during), (pages - 1) + 1);
        QCOMPARE(forms(after), 0);
        compareRenderings(after, during, QStringLiteral("written during the run"));

        // Not finished: nothing is left behind.
        {
            PdfStream left;
            s = left.open(dir.filePath(QStringLiteral("left.pdf")), {}, first.Pages());
            QVERIFY2(s.ok(), qPrintable(s.description()));
            QVERIFY(left.addPage(first.Pages()->page(0)).ok());
        }
        QCOMPARE(ExportCheck::entries(dir.path()).filter(QStringLiteral("left")), QStringList());
    }

    void everyKindOfOperationLooksAndReadsAlike()
    {
        PageCollection pages;
        for (int i = 0; i < 3; ++i)
            pages.append(PageSamples::page(i, pages));
        pages.append(extraPage(pages));
        QTemporaryDir dir;
        compareWriters(pages, dir.path(), QStringLiteral("samples"));

        // Each picture is stored once however many pages show it.
        const QString own = dir.filePath(QStringLiteral("samples-own.pdf"));
        const QStringList images = tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), own}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        QSet<QString> objects;
        for (const QString &line : images)
            objects << line.simplified().section(QLatin1Char(' '), 10, 10);
        QCOMPARE(objects.size(), pages.imageCount());
        QCOMPARE(images.size(), pages.imageCount() + 1); // the transparent one has its mask

        // Every face embedded as a subset with a Unicode map, Chinese included.
        const QStringList fonts = fontLines(own);
        QVERIFY(fonts.size() >= 5);
        bool cjk = false;
        for (const QString &line : fonts) {
            const QStringList f = line.simplified().split(QLatin1Char(' '));
            QVERIFY2(f.size() >= 7 && f[f.size() - 5] == QLatin1String("yes") && f[f.size() - 4] == QLatin1String("yes")
                         && f[f.size() - 3] == QLatin1String("yes") && f[0].at(6) == QLatin1Char('+'),
                     qPrintable(line));
            cjk |= line.contains(QLatin1String("NotoSansCJK")) || line.contains(QLatin1String("NotoSerifCJK"));
        }
        QVERIFY(cjk);
        const QString text = tool(QStringLiteral("pdftotext"), {own, QStringLiteral("-")});
        QVERIFY(text.contains(QStringLiteral("中文报表：客户、\n订单与发票，以及\nmixed Latin text")));
        QVERIFY(text.contains(QStringLiteral("地区 3 销售")));
    }

    void settingsApplyToOurFile()
    {
        PageCollection pages;
        for (int i = 0; i < 2; ++i)
            pages.append(PageSamples::page(i, pages));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.pdf"));
        const QVariantMap own{{QStringLiteral("Writer"), QStringLiteral("OrvReport")}};
        QVariantMap info = own;
        info.insert({{QStringLiteral("Title"), QStringLiteral("地区")}, {QStringLiteral("Author"), QStringLiteral("Tesserane")},
                     {QStringLiteral("Subject"), QStringLiteral("Sales")}, {QStringLiteral("Keywords"), QStringLiteral("a b")}});
        QVERIFY(exportPages(pages, path, info).ok());
        std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(path);
        QVERIFY(doc);
        QCOMPARE(doc->info(QStringLiteral("Title")), QStringLiteral("地区"));
        QCOMPARE(doc->info(QStringLiteral("Author")), QStringLiteral("Tesserane"));
        QCOMPARE(doc->info(QStringLiteral("Keywords")), QStringLiteral("a b"));
        QCOMPARE(doc->info(QStringLiteral("Creator")), QStringLiteral("OrvReport"));
        const QVector<Poppler::OutlineItem> outline = doc->outline();
        QCOMPARE(outline.size(), 2);
        QCOMPARE(outline[1].name(), QStringLiteral("Region 2"));
        QCOMPARE(outline[1].children().first().name(), QStringLiteral("城市 2"));
        QCOMPARE(outline[1].destination()->pageNumber(), 2);

        // Encryption and the version go through qpdf afterwards.
        QVariantMap locked = own;
        locked.insert({{QStringLiteral("UserPassword"), QStringLiteral("secret")}, {QStringLiteral("AcrobatVersion"), 2}});
        QVERIFY(exportPages(pages, path, locked).ok());
        doc = Poppler::Document::load(path);
        QVERIFY(doc && doc->isLocked());
        doc = Poppler::Document::load(path, "secret", "secret");
        QVERIFY(doc && !doc->isLocked());
        Poppler::Document::PdfVersion version = doc->getPdfVersion();
        QCOMPARE(version.major * 10 + version.minor, 13);
        QVERIFY(doc->numPages() == 2 && !doc->outline().isEmpty());

        // Unembedded fonts keep their names and lose their programs.
        QVariantMap bare = own;
        bare.insert(QStringLiteral("FontsNotToEmbed"), QStringLiteral("Arial;"));
        QVERIFY(exportPages(pages, path, bare).ok());
        bool sans = false;
        for (const QString &line : fontLines(path)) {
            if (line.startsWith(QLatin1String("LiberationSans"))) {
                sans = true;
                QVERIFY2(line.contains(QLatin1String(" no ")), qPrintable(line));
            }
        }
        QVERIFY(sans);

        // A lower JPEG quality makes a photograph smaller.
        PageCollection photo;
        Page page;
        page.size = QSizeF(12240, 15840);
        QImage noise(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                noise.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, int(128 + 100 * std::sin(x / 9.0)), (x ^ y) & 255));
        page.ops.push_back(ImageOp{QRectF(1440, 1440, 4500, 3000), photo.addImage(noise), 1, Qt::AlignLeft});
        photo.append(page);
        QVariantMap fine = own, coarse = own;
        fine.insert(QStringLiteral("JPEGQuality"), 100);
        coarse.insert(QStringLiteral("JPEGQuality"), 25);
        const QString finePath = dir.filePath(QStringLiteral("fine.pdf")), coarsePath = dir.filePath(QStringLiteral("coarse.pdf"));
        QVERIFY(exportPages(photo, finePath, fine).ok() && exportPages(photo, coarsePath, coarse).ok());
        QVERIFY(QFileInfo(coarsePath).size() * 2 < QFileInfo(finePath).size());
        QVERIFY(tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), coarsePath}).contains(QLatin1String("jpeg")));
    }
};

QTEST_MAIN(TestPdfWriter)
#include "tst_pdfwriter.moc"
