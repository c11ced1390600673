// Text export compared with the expected text: columns, delimiters, blank
// lines, page delimiters, encodings, wrapped texts.

#include "exportcheck.h"

#include "engine/export/textexporter.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Orv;
using namespace ExportCheck;

namespace {

const QList<QPair<QString, QString>> Rows = {{QStringLiteral("Alice"), QStringLiteral("12.50")},
                                             {QStringLiteral("Bob"), QStringLiteral("7.25")}};

QString pad(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

class TestTextExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QByteArray exported(const PageCollection &pages, const QVariantMap &settings)
    {
        const QString path = dir.filePath(QStringLiteral("out.txt"));
        const Status status = exportPages(pages, path, settings);
        if (!status.ok())
            qWarning("%s", qPrintable(status.description()));
        return contents(path);
    }

private Q_SLOTS:
    void placesTextsAtTheirColumns()
    {
        PageCollection pages;
        pages.append(tablePage(QStringLiteral("Orders"), Rows));
        // Left edges at 1440 twips are column 12; the amounts end at column 62.
        const QString expected = pad(12) + QStringLiteral("Orders\n") + QStringLiteral("\n\n")
                                 + pad(12) + QStringLiteral("Alice") + pad(62 - 5 - 17) + QStringLiteral("12.50\n")
                                 + pad(12) + QStringLiteral("Bob") + pad(62 - 4 - 15) + QStringLiteral("7.25\n")
                                 + QStringLiteral("\n\n\n\n\n") + pad(12) + QStringLiteral("Total\n");
        QCOMPARE(QString::fromUtf8(exported(pages, {})), expected);
    }

    void delimiterAndEmptyLines()
    {
        PageCollection pages;
        pages.append(tablePage(QStringLiteral("Orders"), Rows));
        QCOMPARE(QString::fromUtf8(exported(pages, {{QStringLiteral("TextDelimiter"), QStringLiteral(";")}})),
                 QStringLiteral("Orders\n\n\nAlice;12.50\nBob;7.25\n\n\n\n\n\nTotal\n"));
        QCOMPARE(QString::fromUtf8(exported(pages, {{QStringLiteral("textdelimiter"), QStringLiteral("\t")},
                                                    {QStringLiteral("SuppressEmptyLines"), true}})),
                 QStringLiteral("Orders\nAlice\t12.50\nBob\t7.25\nTotal\n"));
    }

    void pagesAreSeparated()
    {
        PageCollection pages;
        pages.append(tablePage(QStringLiteral("One"), {}));
        pages.append(tablePage(QStringLiteral("Two"), {}));
        const QVariantMap base{{QStringLiteral("TextDelimiter"), QStringLiteral(",")},
                               {QStringLiteral("SuppressEmptyLines"), true}};
        QCOMPARE(exported(pages, base), QByteArray("One\nTotal\n\fTwo\nTotal\n"));
        QVariantMap dashes = base;
        dashes.insert(QStringLiteral("PageDelimiter"), QStringLiteral("----\n"));
        QCOMPARE(exported(pages, dashes), QByteArray("One\nTotal\n----\nTwo\nTotal\n"));
    }

    void encodings()
    {
        PageCollection pages;
        pages.append(tablePage(QStringLiteral("地区销售"), {{QStringLiteral("北京"), QStringLiteral("1")}}));
        QVariantMap settings{{QStringLiteral("TextDelimiter"), QStringLiteral("|")},
                             {QStringLiteral("SuppressEmptyLines"), true}};
        const QString expected = QStringLiteral("地区销售\n北京|1\nTotal\n");
        QCOMPARE(QString::fromUtf8(exported(pages, settings)), expected);

        settings.insert(QStringLiteral("Unicode"), true);
        const QByteArray utf16 = exported(pages, settings);
        QVERIFY(utf16.startsWith("\xff\xfe"));
        QCOMPARE(QStringDecoder(QStringDecoder::Utf16LE).decode(utf16.mid(2)), expected);

        settings.insert(QStringLiteral("Unicode"), false);
        settings.insert(QStringLiteral("Encoding"), QStringLiteral("GB18030"));
        const QByteArray gb = exported(pages, settings);
        QCOMPARE(gb, QByteArray(QStringEncoder("GB18030").encode(expected)));
        QVERIFY(gb != expected.toUtf8());

        TextExporter filter;
        const QString path = dir.filePath(QStringLiteral("bad.txt"));
        QCOMPARE(filter.write(pages, path, {{QStringLiteral("Encoding"), QStringLiteral("no-such-set")}}).number(),
                 int(ErrInvalidPropertyValue));
        QCOMPARE(filter.write(pages, path, {{QStringLiteral("Unicode"), QStringLiteral("maybe")}}).number(),
                 int(ErrTypeMismatch));
        QCOMPARE(filter.write(pages, path, {{QStringLiteral("Delimiter"), QStringLiteral(",")}}).number(),
                 int(ErrNoSuchMember));
        QVERIFY(!QFile::exists(path));
    }

    void wrappedTextsGiveOneLineEach()
    {
        PageCollection pages;
        pages.append(PageSamples::page(0, pages));
        const QString text = QString::fromUtf8(exported(pages, {{QStringLiteral("TextDelimiter"), QStringLiteral("|")},
                                                                {QStringLiteral("SuppressEmptyLines"), true}}));
        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Sales by region, page 1"));
        // The note wraps in its box: its words arrive over several lines, in order.
        const qsizetype note = lines.indexOf(QRegularExpression(QStringLiteral("^A longer note.*")));
        QVERIFY2(note > 0, qPrintable(text));
        QVERIFY(!lines[note].contains(QLatin1String("second paragraph")));
        QVERIFY(text.indexOf(QLatin1String("and a second paragraph.")) > text.indexOf(QLatin1String("A longer note")));
        QVERIFY(text.contains(QStringLiteral("地区 1 销售")));
        QVERIFY(text.contains(QLatin1String("Bold and italic rich text")));
        QVERIFY(text.contains(QLatin1String("ORV-1000")));
    }
};

QTEST_MAIN(TestTextExport)
#include "tst_textexport.moc"
