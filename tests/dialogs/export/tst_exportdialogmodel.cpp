// The export dialog's rules without its window: when OK may export, how
// each page's entries become the filter's settings, the number boxes, and
// that every setting the dialog passes is one its filter describes.
#include "dialogs/export/exportdialogmodel.h"

#include "engine/pages/pagecollection.h"

#include <QTest>

using namespace Orv;

class TestExportDialogModel : public QObject
{
    Q_OBJECT

    static QVariantMap settingsOf(const ExportDialogModel &model)
    {
        QList<std::pair<QString, QVariant>> ordered;
        [&] { QVERIFY(model.settings(&ordered).ok()); }();
        QVariantMap map;
        for (const auto &[name, value] : ordered)
            map.insert(name, value);
        // Whatever the dialog passes, its filter describes and accepts.
        const auto filter = ExporterRegistry::instance().create(ExportDialogModel::filterName(ExportFormat(model.format())));
        const Status check = checkSettings(filter->format(), filter->settings(), map);
        [&] { QVERIFY2(check.ok(), qPrintable(check.description())); }();
        return map;
    }

private Q_SLOTS:
    void okNeedsPagesAFormatAndAName()
    {
        PageCollection pages;
        ExportDialogModel model;
        QCOMPARE(model.format(), -1);
        model.entries().fileName[1] = QStringLiteral("/tmp/x.pdf");
        QVERIFY(!model.canExport()); // no pages, no format
        model.setPages(&pages);
        QVERIFY(!model.canExport());
        model.setFormat(1);
        QVERIFY(model.canExport());
        model.setFormat(2); // the HTML page's prefix is still empty
        QVERIFY(!model.canExport());
        QVERIFY(model.exportPages().ok()); // does nothing
        // The Excel boxes start at the filter's defaults.
        QCOMPARE(model.entries().excel.borderSpace, QStringLiteral("59"));
        QCOMPARE(model.entries().excel.minColumnWidth, QStringLiteral("1011"));
        QCOMPARE(model.entries().excel.minRowHeight, QStringLiteral("128"));
    }

    void eachPageMapsOntoItsFilter()
    {
        ExportDialogModel model;
        model.setInstallFolder(QStringLiteral("/opt/orv"));
        ExportEntries &e = model.entries();

        model.setFormat(int(ExportFormat::Pdf));
        QCOMPARE(settingsOf(model).value(QStringLiteral("AcrobatVersion")).toInt(), 1);
        QCOMPARE(settingsOf(model).value(QStringLiteral("JPEGQuality")).toInt(), 75);
        QCOMPARE(settingsOf(model).value(QStringLiteral("FontsNotToEmbed")).toString(), QString());
        e.pdf = {0, 3, {QStringLiteral("A"), QStringLiteral("B")}};
        QCOMPARE(settingsOf(model).value(QStringLiteral("FontsNotToEmbed")).toString(), QStringLiteral("A;B;"));
        QCOMPARE(settingsOf(model).value(QStringLiteral("JPEGQuality")).toInt(), 100);

        model.setFormat(int(ExportFormat::Html));
        e.fileName[2] = QStringLiteral("sales");
        QVariantMap html = settingsOf(model);
        QCOMPARE(html.value(QStringLiteral("PagesFolder")).toString(), QStringLiteral("/opt/orv"));
        QCOMPARE(html.value(QStringLiteral("ImagesFolder")).toString(), QStringLiteral("/opt/orv"));
        QVERIFY(!html.contains(QStringLiteral("CharacterSet"))); // the filter keeps its own
        QVERIFY(html.contains(QStringLiteral("Title")));         // an empty title is passed
        QCOMPARE(html.value(QStringLiteral("MultiPageOutput")).toBool(), true);
        QCOMPARE(model.targetPath(), QStringLiteral("/opt/orv/sales.html"));
        e.html.singlePage = e.html.mhtArchive = true;
        e.html.characterSet = QStringLiteral("GB18030");
        e.html.pagesFolder = QStringLiteral("/out");
        e.html.tocFormat = 3;
        html = settingsOf(model);
        QCOMPARE(html.value(QStringLiteral("MultiPageOutput")).toBool(), false);
        QCOMPARE(html.value(QStringLiteral("CharacterSet")).toString(), QStringLiteral("GB18030"));
        QCOMPARE(html.value(QStringLiteral("TOCFormat")).toInt(), 3);
        QCOMPARE(model.targetPath(), QStringLiteral("/out/sales.mht"));

        model.setFormat(int(ExportFormat::Excel));
        e.excel.version = 0;
        e.excel.borderSpace = QStringLiteral("59.5");
        e.excel.minColumnWidth = QStringLiteral("58.5");
        e.excel.minRowHeight = QStringLiteral("wide");
        e.excel.multiSheet = true;
        QVariantMap excel = settingsOf(model);
        QCOMPARE(excel.value(QStringLiteral("FileVersion")).toInt(), 2);
        QCOMPARE(excel.value(QStringLiteral("BorderSpace")).toInt(), 60);
        QCOMPARE(excel.value(QStringLiteral("MinColumnWidth")).toInt(), 58);
        QCOMPARE(excel.value(QStringLiteral("MinRowHeight")).toInt(), 0);
        QCOMPARE(excel.value(QStringLiteral("MultiSheet")).toBool(), true);
        QCOMPARE(excel.value(QStringLiteral("TrimEmptySpace")).toBool(), false);

        model.setFormat(int(ExportFormat::Text));
        e.text = {QStringLiteral(";"), true, false};
        const QVariantMap text = settingsOf(model);
        QCOMPARE(text.value(QStringLiteral("TextDelimiter")).toString(), QStringLiteral(";"));
        QCOMPARE(text.value(QStringLiteral("SuppressEmptyLines")).toBool(), true);

        model.setFormat(int(ExportFormat::Tiff));
        QVERIFY(settingsOf(model).isEmpty());
    }

    void numberBoxesReadTheirLeadingNumber()
    {
        const auto read = [](const char *text) {
            int n = -1;
            const Status s = ExportDialogModel::leadingLong(QString::fromUtf8(text), &n);
            return s.ok() ? n : -s.number() * 1000000;
        };
        QCOMPARE(read(""), 0);
        QCOMPARE(read("  12px"), 12);
        QCOMPARE(read("-3.5"), -4);
        QCOMPARE(read("2.5"), 2);
        QCOMPARE(read("1e3x"), 1000);
        QCOMPARE(read("1.2.3"), 1);
        QCOMPARE(read("2147483647"), 2147483647);
        QCOMPARE(read("2147483648"), -6000000); // overflow, error 6
        ExportDialogModel model;
        model.setFormat(int(ExportFormat::Excel));
        model.entries().excel.borderSpace = QStringLiteral("9e99");
        QList<std::pair<QString, QVariant>> out;
        QCOMPARE(model.settings(&out).number(), 6);
    }
};

QTEST_MAIN(TestExportDialogModel)
#include "tst_exportdialogmodel.moc"
