#include "layoutsamples.h"

#include "engine/layout/layoutfile.h"
#include "engine/model/controls.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The full state of a report as text, for comparing two reports.
QString dump(const QObject *object)
{
    QString out = QString::fromLatin1(object->metaObject()->className()) + QLatin1Char('{');
    for (const QMetaProperty &p : Reflection::properties(object->metaObject())) {
        if (Reflection::isPart(p)) {
            if (const QObject *part = Reflection::partOf(object, p))
                out += QString::fromLatin1(p.name()) + QLatin1Char('=') + dump(part);
        } else {
            out += QString::fromLatin1(p.name()) + QLatin1Char('=') + Reflection::toText(p.read(object)) + u';';
        }
    }
    return out + QLatin1Char('}');
}

QString dumpReport(const Report &r)
{
    QString out = dump(&r);
    for (const Section *s : *r.sections()) {
        out += QStringLiteral("\nSection ") + QString::number(s->typeCode()) + dump(s);
        for (const Control *c : *s->controls())
            out += QStringLiteral("\n  ") + c->typeId() + dump(c);
    }
    return out;
}

} // namespace

class TestLayoutFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyKindRoundTripsByteForByte()
    {
        Report original;
        LayoutSamples::fillWithEveryKind(original);
        const QByteArray first = layoutBytes(original);

        Report loaded;
        const Status status = LoadLayout(loaded, first, QStringLiteral("sample"));
        QVERIFY2(status.ok(), qPrintable(status.description()));
        QVERIFY(!loaded.IsDirty());
        QCOMPARE(dumpReport(loaded), dumpReport(original));
        QCOMPARE(layoutBytes(loaded), first);

        // Texts XML cannot carry travel as UTF-16 values; the rest as attributes.
        QVERIFY(first.contains("<Value Name="));
        QVERIFY(first.contains("&#13;&#10;"));
        QVERIFY(first.contains("报表已修改"));
        QVERIFY(first.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OrvReportLayout version=\"1\">"));
        // Default controls are written as their type and name only.
        QVERIFY(first.contains("<Control Type=\"OrvEngine.PageBreak\" Name=\"PageBreak1\"/>"));
    }

    void saveKindsAndAtomicWrite()
    {
        QTemporaryDir dir;
        Report r;
        LayoutSamples::fillWithEveryKind(r);
        const QString path = dir.filePath(QStringLiteral("every kind.rpx"));
        QVERIFY(r.IsDirty());
        QVERIFY(SaveLayout(r, path, LayoutFile::ToFile).ok());
        QVERIFY(!r.IsDirty());
        QByteArray bytes;
        QVERIFY(SaveLayout(r, QString(), LayoutFile::ToBytes, &bytes).ok());
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("every kind.rpx")});

        QCOMPARE(SaveLayout(r, path, LayoutFile::SaveKind(3)).number(), 5);
        QCOMPARE(SaveLayout(r, QString(), LayoutFile::ToFile).number(), 5);

        const QString nowhere = dir.filePath(QStringLiteral("no such folder/x.rpx"));
        QCOMPARE(SaveLayout(r, nowhere, LayoutFile::ToFile).number(), 75);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("no such folder"))));

        // A save that cannot finish leaves the old file as it was.
        const QString locked = dir.filePath(QStringLiteral("locked"));
        QDir().mkpath(locked);
        const QString old = locked + QStringLiteral("/old.rpx");
        writeFile(old, "old contents");
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(locked).isWritable())
            QSKIP("running as root: folder permissions are not enforced");
        const Status denied = SaveLayout(r, old, LayoutFile::ToFile);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(denied.number(), 75);
        QVERIFY(denied.description().contains(old));
        QCOMPARE(fileBytes(old), QByteArray("old contents"));
    }

    void examplesLoadAndRoundTrip()
    {
        QDirIterator it(QStringLiteral(ORV_SOURCE_DIR "/examples"), {QStringLiteral("*.rpx")});
        int count = 0;
        QSet<QString> kinds;
        QSet<int> sectionTypes;
        while (it.hasNext()) {
            const QString path = it.next();
            Report r;
            const Status status = LoadLayout(r, path);
            QVERIFY2(status.ok(), qPrintable(status.description()));
            QCOMPARE(layoutBytes(r), fileBytes(path));
            for (const Section *s : *r.sections())
                sectionTypes.insert(s->typeCode());
            for (const Control *c : r.allControls())
                kinds.insert(c->typeId());
            ++count;
        }
        QVERIFY(count >= 3);
        QCOMPARE(kinds.size(), 15);
        QCOMPARE(sectionTypes.size(), 7);
    }

    void loadErrorsNamePlaceAndKeepTheReport_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("words");

        const QByteArray head = "<?xml version=\"1.0\"?>\n<OrvReportLayout version=\"1\">\n<Report>\n";
        const QByteArray tail = "</Report>\n</OrvReportLayout>\n";
        QTest::newRow("empty") << QByteArray() << 1 << "too early";
        QTest::newRow("truncated") << head + "<Section Type=\"6\">" << 4 << "too early";
        QTest::newRow("not xml") << QByteArray("PK\x03\x04 zip bytes") << 1 << "";
        QTest::newRow("other root") << QByteArray("<html/>") << 1 << "not an OrvReport layout";
        QTest::newRow("no version") << QByteArray("<OrvReportLayout><Report/></OrvReportLayout>") << 1 << "no format version";
        QTest::newRow("newer version") << QByteArray("<OrvReportLayout version=\"7\"><Report/></OrvReportLayout>") << 1
                                       << "newer OrvReport";
        QTest::newRow("unknown property")
            << head + "<Section Type=\"6\">\n<Control Type=\"OrvEngine.Label\" Colour=\"5\"/>\n</Section>\n" + tail << 5
            << "Label has no property \"Colour\"";
        QTest::newRow("unknown control")
            << head + "<Section Type=\"6\">\n<Control Type=\"OrvEngine.Gauge\"/>\n</Section>\n" + tail << 5
            << "Unknown control type \"OrvEngine.Gauge\"";
        QTest::newRow("bad number") << head + "<Section Type=\"6\" Height=\"12O\"/>\n" + tail << 4 << "\"12O\" is not a valid value";
        QTest::newRow("huge number") << head + "<Section Type=\"6\" Height=\"1e300\"/>\n" + tail << 4 << "must lie between";
        QTest::newRow("negative size")
            << head + "<Section Type=\"6\">\n<Control Type=\"OrvEngine.Field\" Width=\"-10\"/>\n</Section>\n" + tail << 5
            << "Width must lie between";
        QTest::newRow("int overflow")
            << head + "<Section Type=\"6\">\n<Control Type=\"OrvEngine.Field\" ForeColor=\"99999999999\"/>\n</Section>\n" + tail
            << 5 << "a whole number";
        QTest::newRow("bad section type") << head + "<Section Type=\"9\"/>\n" + tail << 4 << "not a section type";
        QTest::newRow("unpaired group") << head + "<Section Type=\"4\"/>\n<Section Type=\"6\"/>\n" + tail << 6
                                        << "1 group headers but 0 group footers";
        QTest::newRow("two details") << head + "<Section Type=\"6\"/>\n<Section Type=\"6\"/>\n" + tail << 6 << "may hold one";
        QTest::newRow("stray text") << head + "hello\n" + tail << 4 << "unexpected text";
        QTest::newRow("unknown element") << head + "<Bogus/>\n" + tail << 4 << "unexpected element <Bogus>";
        QTest::newRow("bad base64")
            << head + "<Section Type=\"6\">\n<Control Type=\"OrvEngine.Image\" Picture=\"***\"/>\n</Section>\n" + tail << 5
            << "base64";
        QTest::newRow("value of a number")
            << head + "<Section Type=\"6\">\n<Control Type=\"OrvEngine.Field\">\n<Value Name=\"Left\" Utf16=\"AAA=\"/>\n</Control></Section>\n"
                   + tail
            << 6 << "no text property \"Left\"";
        QTest::newRow("part of a value")
            << head + "<Section Type=\"6\">\n<Control Type=\"OrvEngine.Line\">\n<Font/>\n</Control></Section>\n" + tail << 6
            << "unexpected element <Font>";
        QTest::newRow("billion laughs")
            << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 "
                          "\"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">]>\n<OrvReportLayout version=\"1\">"
                          "<Report DocumentName=\"&lol2;\"/></OrvReportLayout>")
            << 2 << "document type declarations";
        QByteArray deep = head + "<Section Type=\"6\"><Control Type=\"OrvEngine.Chart\">";
        for (int i = 0; i < 5000; ++i)
            deep += "<Title>";
        QTest::newRow("deep nesting") << deep << 4 << "";
        QTest::newRow("two roots") << QByteArray("<OrvReportLayout version=\"1\"><Report/></OrvReportLayout>\n<x/>") << 2 << "";
    }

    void loadErrorsNamePlaceAndKeepTheReport()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, words);

        Report r;
        r.setDocumentName(QStringLiteral("Kept"));
        r.sections()->Item(1)->controls()->Add(QStringLiteral("OrvEngine.Label"));
        r.setIsDirty(true);
        const QByteArray before = layoutBytes(r);

        const Status status = LoadLayout(r, bytes, QStringLiteral("damaged.rpx"));
        QVERIFY(!status.ok());
        QCOMPARE(status.number(), 321);
        QVERIFY2(status.description().startsWith(QStringLiteral("damaged.rpx, line %1, column ").arg(line)),
                 qPrintable(status.description()));
        QVERIFY2(status.description().contains(words), qPrintable(status.description()));
        QCOMPARE(layoutBytes(r), before);
        QVERIFY(r.IsDirty());
    }

    void fileErrors()
    {
        QTemporaryDir dir;
        Report r;
        const QString missing = dir.filePath(QStringLiteral("missing.rpx"));
        Status status = LoadLayout(r, missing);
        QCOMPARE(status.number(), 53);
        QVERIFY(status.description().contains(missing));
        QCOMPARE(LoadLayout(r, dir.path()).number(), 75);

        // Larger than the limit: refused before parsing.
        const QString big = dir.filePath(QStringLiteral("big.rpx"));
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(LayoutFile::MaxFileSize + 1));
        f.close();
        status = LoadLayout(r, big);
        QCOMPARE(status.number(), 321);
        QVERIFY(status.description().contains(QStringLiteral("larger than 64 MiB")));
    }

    void readsWhatPeopleWriteByHand()
    {
        // Any attribute order, comments, case-insensitive names, CRLF lines.
        const QByteArray hand = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- made by hand -->\r\n"
                                "<OrvReportLayout version=\"1\"><Report documentname=\"Hand\">\r\n"
                                "<Section Type=\"6\" Name=\"Detail\">"
                                "<Control top=\"100\" Type=\"orvengine.label\" Caption=\"Hi\"><font bold=\"TRUE\"/></Control>"
                                "</Section></Report></OrvReportLayout>";
        Report r;
        const Status status = LoadLayout(r, hand);
        QVERIFY2(status.ok(), qPrintable(status.description()));
        QCOMPARE(r.documentName(), QStringLiteral("Hand"));
        QCOMPARE(r.sections()->Count(), 1);
        auto *label = qobject_cast<Label *>(r.allControls().at(0));
        QVERIFY(label);
        QCOMPARE(label->top(), 100.0);
        QVERIFY(label->font()->bold());
        QCOMPARE(label->caption(), QStringLiteral("Hi"));
    }

    // Fragments carry controls as layout files do; bad ones are refused whole.
    void fragmentsRoundTrip()
    {
        Report report;
        Section *detail = report.sections()->Item(1);
        auto *label = static_cast<Label *>(detail->controls()->Add(QStringLiteral("OrvEngine.Label")));
        label->setCaption(QStringLiteral("Tab\there \x01"));
        label->font()->setBold(true);
        detail->controls()->Add(QStringLiteral("OrvEngine.Line"))->setTop(300);
        const QByteArray bytes = layoutFragmentBytes({detail->controls()->Item(0), detail->controls()->Item(1)});
        QVERIFY(looksLikeLayoutFragment(bytes));
        std::vector<std::unique_ptr<Control>> loaded;
        QVERIFY(LoadLayoutFragment(bytes, &loaded).ok());
        QCOMPARE(int(loaded.size()), 2);
        QCOMPARE(dump(loaded[0].get()), dump(label));
        QCOMPARE(loaded[1]->top(), 300.0);
        QVERIFY(!loaded[0]->parent());
        QCOMPARE(layoutFragmentBytes({loaded[0].get(), loaded[1].get()}), bytes);

        const char *const bad[] = {"", "<OrvReportLayout version=\"1\"/>", "<OrvReportFragment/>",
                                   "<OrvReportFragment version=\"1\"><Section Type=\"6\"/></OrvReportFragment>",
                                   "<OrvReportFragment version=\"1\"><Control Type=\"OrvEngine.Label\"/><Control Type=\"Nope\"/></OrvReportFragment>"};
        for (const char *text : bad) {
            std::vector<std::unique_ptr<Control>> none;
            const Status status = LoadLayoutFragment(QByteArray(text), &none, QStringLiteral("clip"));
            QCOMPARE(status.number(), int(ErrBadFileFormat));
            QVERIFY2(status.description().startsWith(QLatin1String("clip, line")), qPrintable(status.description()));
            QVERIFY(none.empty());
        }
    }
};

QTEST_GUILESS_MAIN(TestLayoutFile)
#include "tst_layoutfile.moc"
