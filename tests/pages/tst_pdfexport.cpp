// PDF export, read back with poppler: pages, sizes, texts, fonts, metadata,
// ink; settings checks, cancellation and atomic replacement.

#include "pagesamples.h"

#include "engine/export/exporter.h"
#include "engine/export/pdfexporter.h"

#include <QTemporaryDir>
#include <QTest>

#include <poppler-qt6.h>

using namespace Orv;

namespace {

std::unique_ptr<Poppler::Document> open(const QString &path)
{
    std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(path);
    if (doc)
        doc->setRenderHint(Poppler::Document::TextAntialiasing, false);
    return doc;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPdfExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesPagesTextsFontsAndTitle()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        pages.append(PageSamples::page(1, pages));
        Page landscape = PageSamples::page(2, pages);
        landscape.size = QSizeF(16838, 11906); // A4 across
        pages.append(landscape);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sales.pdf"));
        const QVariantMap settings{{QStringLiteral("Title"), QStringLiteral("地区销售报表")},
                                   {QStringLiteral("author"), QStringLiteral("Tesserane Traders")},
                                   {QStringLiteral("Creator"), QStringLiteral("OrvReport tests")}};
        const Status status = exportPages(pages, path, settings);
        QVERIFY2(status.ok(), qPrintable(status.description()));

        const auto doc = open(path);
        QVERIFY(doc && !doc->isLocked());
        QCOMPARE(doc->numPages(), 3);
        QCOMPARE(doc->info(QStringLiteral("Title")), QStringLiteral("地区销售报表"));
        QCOMPARE(doc->info(QStringLiteral("Author")), QStringLiteral("Tesserane Traders"));
        QCOMPARE(doc->info(QStringLiteral("Creator")), QStringLiteral("OrvReport tests"));

        const std::unique_ptr<Poppler::Page> first(doc->page(0));
        QCOMPARE(first->pageSizeF(), QSizeF(612, 792));
        QCOMPARE(std::unique_ptr<Poppler::Page>(doc->page(2))->pageSizeF().toSize(), QSize(842, 595));

        // Texts read back in reading order, Chinese included, and can be searched.
        const QString text = first->text(QRectF());
        const qsizetype heading = text.indexOf(QLatin1String("Sales by region, page 1"));
        const qsizetype note = text.indexOf(QLatin1String("A longer note"));
        const qsizetype chinese = text.indexOf(QStringLiteral("地区 1 销售"));
        QVERIFY2(heading >= 0 && note > heading && chinese > heading, qPrintable(text));
        QVERIFY(text.contains(QLatin1String("ORV-1000"))); // the barcode's human-readable text
        QVERIFY(!first->search(QStringLiteral("地区")).isEmpty());
        QVERIFY(std::unique_ptr<Poppler::Page>(doc->page(1))->text(QRectF()).contains(QLatin1String("page 2")));

        const QList<Poppler::FontInfo> fonts = doc->fonts();
        QVERIFY(fonts.size() >= 3);
        QStringList names;
        for (const Poppler::FontInfo &font : fonts) {
            QVERIFY2(font.isEmbedded(), qPrintable(font.name()));
            names << font.name();
        }
        const QString all = names.join(QLatin1Char(' '));
        QVERIFY2(all.contains(QLatin1String("LiberationSans")) && all.contains(QLatin1String("LiberationSerif"))
                     && all.contains(QLatin1String("CJK")),
                 qPrintable(all));

        // Shapes are drawn: the filled rectangle and ellipse show their colours.
        const QImage image = first->renderToImage(96, 96);
        const QRgb green = image.pixel(448, 224);
        const QRgb orange = image.pixel(661, 224);
        QVERIFY(qGreen(green) > 200 && qRed(green) < 170 && qBlue(green) < 170);
        QVERIFY(qRed(orange) > 200 && qGreen(orange) > 90 && qGreen(orange) < 170 && qBlue(orange) < 60);
    }

    void refusesBadSettingsAndWritesNothing()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.pdf"));
        PdfExporter pdf;
        QCOMPARE(pdf.write(pages, path, {{QStringLiteral("Titel"), QStringLiteral("x")}}).number(),
                 int(ErrNoSuchMember));
        QCOMPARE(pdf.write(pages, path, {{QStringLiteral("Resolution"), QStringLiteral("high")}}).number(),
                 int(ErrTypeMismatch));
        QCOMPARE(pdf.write(pages, path, {{QStringLiteral("Resolution"), 10}}).number(), int(ErrInvalidPropertyValue));
        QCOMPARE(pdf.write(PageCollection(), path, {}).number(), int(ErrInvalidCall));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);

        // A low resolution still gives the same page size.
        QVERIFY(pdf.write(pages, path, {{QStringLiteral("Resolution"), 72}}).ok());
        QCOMPARE(std::unique_ptr<Poppler::Page>(open(path)->page(0))->pageSizeF(), QSizeF(612, 792));
    }

    void cancelledExportKeepsTheOldFile()
    {
        PageCollection pages;
        pages.setMemoryPageLimit(2); // most pages come back from the spill file
        for (int i = 0; i < 10; ++i)
            pages.append(PageSamples::page(i, pages));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old contents");
        }
        for (const bool withAuthor : {false, true}) {
            std::atomic_bool cancel = false;
            QList<int> done;
            ExportProgress progress;
            progress.cancel = &cancel;
            progress.onProgress = [&](int d, int total) {
                QCOMPARE(total, 10);
                done << d;
                if (d == 4)
                    cancel = true;
            };
            QVariantMap settings;
            if (withAuthor)
                settings.insert(QStringLiteral("Author"), QStringLiteral("Someone"));
            const Status status = exportPages(pages, path, settings, progress);
            QCOMPARE(status.number(), ErrExportCancelled);
            QCOMPARE(done, (QList<int>{0, 1, 2, 3, 4}));
            QCOMPARE(contents(path), QByteArray("old contents"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        }

        QList<int> done;
        ExportProgress progress;
        progress.onProgress = [&](int d, int) { done << d; };
        QVERIFY(exportPages(pages, path, {}, progress).ok());
        QCOMPARE(done.last(), 10);
        const auto doc = open(path);
        QVERIFY(doc);
        QCOMPARE(doc->numPages(), 10);
        QVERIFY(std::unique_ptr<Poppler::Page>(doc->page(9))->text(QRectF()).contains(QLatin1String("page 10")));
    }

    void registryFindsFiltersByNameAndExtension()
    {
        ExporterRegistry &registry = ExporterRegistry::instance();
        QVERIFY(registry.formats().contains(QStringLiteral("PDF")));
        QCOMPARE(registry.create(QStringLiteral("pdf"))->format(), QStringLiteral("PDF"));
        QVERIFY(registry.create(QStringLiteral(".PDF")));
        QVERIFY(registry.createForPath(QStringLiteral("/tmp/a.Pdf")));
        QVERIFY(!registry.create(QStringLiteral("xyz")));
        QVERIFY(!registry.createForPath(QStringLiteral("/tmp/noextension")));
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        QCOMPARE(exportPages(pages, QStringLiteral("/tmp/out.unknown")).number(), int(ErrInvalidCall));
    }

    void atomicFolderReplacesOnlyOnCommit()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("html"));
        QVERIFY(QDir().mkpath(target));
        QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/docs/architecture.md"), target + QStringLiteral("/old.txt"));
        {
            AtomicFolder folder(target);
            QVERIFY(folder.open().ok());
            QFile f(folder.path() + QStringLiteral("/new.txt"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        } // not committed: removed, target untouched
        QCOMPARE(QDir(target).entryList(QDir::Files), QStringList{QStringLiteral("old.txt")});
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);

        AtomicFolder folder(target);
        QVERIFY(folder.open().ok());
        QFile f(folder.path() + QStringLiteral("/new.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(folder.commit().ok());
        QCOMPARE(QDir(target).entryList(QDir::Files), QStringList{QStringLiteral("new.txt")});
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
    }
};

QTEST_MAIN(TestPdfExport)
#include "tst_pdfexport.moc"
