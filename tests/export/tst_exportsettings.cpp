// The filters' described settings: names, values and defaults checked
// against the list, and docs/export.md showing the same list.
#include "exportcheck.h"

#include "engine/export/exporter.h"
#include "engine/export/tiffexporter.h"

#include <QFile>
#include <QTest>

using namespace Orv;

class TestExportSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesAreCheckedAgainstTheList()
    {
        const auto tiff = ExporterRegistry::instance().create(QStringLiteral("TIFF"));
        const QList<ExportSetting> list = tiff->settings();
        QVERIFY(checkSettings(tiff->format(), list, {{QStringLiteral("resolution"), QStringLiteral("300")},
                                                     {QStringLiteral("Compression"), QStringLiteral("packbits")}})
                    .ok());
        const Status unknown = checkSettings(tiff->format(), list, {{QStringLiteral("Quality"), 5}});
        QCOMPARE(unknown.number(), 438);
        QVERIFY(unknown.description().contains(QStringLiteral("Resolution, ColorDepth, Compression")));
        QCOMPARE(checkSettings(tiff->format(), list, {{QStringLiteral("Resolution"), QStringLiteral("high")}}).number(), 13);
        QCOMPARE(checkSettings(tiff->format(), list, {{QStringLiteral("Resolution"), 20}}).number(), 380);
        QCOMPARE(checkSettings(tiff->format(), list, {{QStringLiteral("ColorDepth"), 16}}).number(), 380);
        QCOMPARE(checkSettings(tiff->format(), list, {{QStringLiteral("Compression"), 5}}).number(), 380);

        // Defaults come from the list when a setting is left out.
        TiffSettings s;
        s.resolution = 1;
        QVERIFY(static_cast<TiffExporter *>(tiff.get())->parseSettings({}, &s).ok());
        QCOMPARE(s.resolution, findSetting(list, QStringLiteral("Resolution"))->defaultValue.toInt());
        QCOMPARE(s.compression, int(TiffSettings::Lzw));
    }

    void docsShowEveryFiltersList()
    {
        QFile file(QStringLiteral(ORV_SOURCE_DIR "/docs/export.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString docs = QString::fromUtf8(file.readAll());
        for (const QString &format : ExporterRegistry::instance().formats()) {
            const QList<ExportSetting> list = ExporterRegistry::instance().create(format)->settings();
            if (list.isEmpty())
                continue;
            const QString table = settingsTable(list);
            QVERIFY2(docs.contains(table), qPrintable(QStringLiteral("docs/export.md lacks the %1 table:\n%2").arg(format, table)));
        }
    }
};

QTEST_MAIN(TestExportSettings)
#include "tst_exportsettings.moc"
